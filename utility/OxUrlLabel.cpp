// This file implements TmUrlLabel.
#include "OxUrlLabel.h"

#include "ShellLaunch.h"
#include "StrUtils.h"

VELBOR_IMPLEMENT_CLASS(TmUrlLabel)
VELBOR_PUBLISHED(TmUrlLabel,
  Prop("URL", &Self::URL, &Self::SetURL),
  Prop("ActiveColor", &Self::ActiveColor, &Self::SetActiveColor).Idents(ColorIdents).Default(clPurple))

void RegisterOxUrlLabel() { RegisterClass(TmUrlLabel::StaticClass()); }

TmUrlLabel::TmUrlLabel(TComponent* AOwner) : TLabel(AOwner) {
  SetLayout(tlCenter);
  SetCursor(crHandPoint);
  Font()->SetColor(clBlue);
  Font()->SetStyle(TFontStyles{fsBold, fsUnderline});
}

void TmUrlLabel::SetURL(const String& Value) {
  FURL = Value;
  if (Caption() == Name()) SetCaption(Value);
}

String TmUrlLabel::Target() const {
  String target = Trim(FURL);
  return target.empty() ? Trim(Caption()) : target;
}

void TmUrlLabel::Click() {
  TLabel::Click();
  String target = Target();
  if (!target.empty()) OpenShellTarget(target, GetDesktopWindow());
}

void TmUrlLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: TLabel::Dispatch(Message); break;
  }
}

void TmUrlLabel::CMMouseEnter(TMessage& Message) {
  TLabel::Dispatch(Message);
  // A second entry without a leave keeps the colour saved first: saving the active colour would
  // leave the label in it for good.
  if (!FMouseInside) FSavedColor = Font()->Color();
  FMouseInside = true;
  Font()->SetColor(FActiveColor);
}

void TmUrlLabel::CMMouseLeave(TMessage& Message) {
  TLabel::Dispatch(Message);
  if (!FMouseInside) return;
  FMouseInside = false;
  Font()->SetColor(FSavedColor);
}
