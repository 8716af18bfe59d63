// This file implements TOxPageControl.
#include "OxPageControl.h"

#include "Forms.h"

VELBOR_IMPLEMENT_CLASS(TOxPageControl)
VELBOR_PUBLISHED(TOxPageControl,
  VELBOR_OX_ABOUT_PROPERTY,
  Prop("ClientBorderWidth", &Self::ClientBorderWidth, &Self::SetClientBorderWidth).Default(4),
  Prop("HideAllTabs", &Self::HideAllTabs, &Self::SetHideAllTabs).Default(false),
  Prop("HintColor", &Self::HintColor, &Self::SetHintColor).Idents(ColorIdents).Default(clInfoBk),
  Prop("OnMouseEnter", &Self::OnMouseEnter),
  Prop("OnMouseLeave", &Self::OnMouseLeave),
  Prop("OnParentColorChange", &Self::OnParentColorChange),
  Prop("DrawTabShadow", &Self::DrawTabShadow, &Self::SetDrawTabShadow).Default(false),
  Prop("HandleGlobalTab", &Self::HandleGlobalTab).Default(false),
  Prop("Color", &Self::Color, &Self::SetColor))

void RegisterOxPageControl() { RegisterClass(TOxPageControl::StaticClass()); }

TOxPageControl::TOxPageControl(TComponent* AOwner) : TPageControl(AOwner) {
  FHintColor = clInfoBk;
  FClientBorderWidth = 4;
}

void TOxPageControl::SetClientBorderWidth(int Value) {
  if (Value == FClientBorderWidth) return;
  FClientBorderWidth = Value;
  RecreateWnd();
}

void TOxPageControl::SetHideAllTabs(bool Value) {
  FHideAllTabs = Value;
  ApplyHideAllTabs();
}

void TOxPageControl::ApplyHideAllTabs() {
  if (Designing() || !HandleAllocated()) return;
  TTabSheet* active = ActivePage();
  for (int i = 0; i < PageCount(); ++i) Pages(i)->SetTabVisible(!FHideAllTabs);
  SetActivePage(active);
  if (FHideAllTabs) SetTabStop(false);
}

void TOxPageControl::SetDrawTabShadow(bool Value) {
  if (Value == FDrawTabShadow) return;
  FDrawTabShadow = Value;
  Invalidate();
}

// Hidden tabs read from a description are hidden for good once the window is made: the window
// usually does not exist yet when loading ends.
void TOxPageControl::CreateWnd() {
  TPageControl::CreateWnd();
  if (FHideAllTabs) ApplyHideAllTabs();
}

void TOxPageControl::Loaded() {
  TPageControl::Loaded();
  ApplyHideAllTabs();
}

TTabSheet* TOxPageControl::PageForTabIndex(int TabIndex) const {
  for (int i = 0; i < PageCount(); ++i) {
    if (Pages(i)->TabIndex() == TabIndex) return Pages(i);
  }
  return nullptr;
}

void TOxPageControl::DrawTab(int TabIndex, const TRect& Rect, bool Active) {
  TTabSheet* page = PageForTabIndex(TabIndex);
  TCanvas* canvas = Canvas();
  if (page) canvas->Font()->Assign(page->Font());
  if (page && !page->Enabled()) canvas->Font()->SetColor(clGrayText);
  if (!FDrawTabShadow) {
    if (Active) {
      TFontStyles style = canvas->Font()->Style();
      style.Include(fsBold);
      canvas->Font()->SetStyle(style);
    }
  } else if (!Active) {
    canvas->Brush()->SetColor(clInactiveCaption);
    canvas->Font()->SetColor(clInactiveCaptionText);
  }
  if (OnDrawTab) {
    OnDrawTab(this, TabIndex, Rect, Active);
    return;
  }
  canvas->FillRect(Rect);
  TRect text = Rect;
  if (Images() && page && page->ImageIndex() >= 0) {
    Images()->Draw(canvas, Rect.Left + 4, Rect.Top + 2, page->ImageIndex(), page->Enabled());
    text.Left += Images()->Width() + 4;
  }
  if (!page) return;
  TRect inner(text.Left + 2, text.Top + 2, text.Right - 2, text.Bottom - 2);
  canvas->Brush()->SetStyle(bsClear);
  String caption = page->Caption();
  DrawTextA(canvas->Handle(), caption.c_str(), int(caption.size()), AsRECT(inner),
            DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  canvas->Brush()->SetStyle(bsSolid);
}

void TOxPageControl::DoParentColorChange() {
  if (OnParentColorChange) OnParentColorChange(this);
}

// --- Messages -------------------------------------------------------------------------------------

void TOxPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case TCM_ADJUSTRECT: TCMAdjustRect(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    default: TPageControl::Dispatch(Message); break;
  }
}

void TOxPageControl::TCMAdjustRect(TMessage& Message) {
  TPageControl::Dispatch(Message);
  // Window to display area only: the sheets grow into the frame they do not need.
  if (Message.WParam == FALSE && FClientBorderWidth != 4) {
    auto* r = reinterpret_cast<RECT*>(Message.LParam);
    int grow = 4 - FClientBorderWidth;
    InflateRect(r, grow, grow);
  }
}

void TOxPageControl::WMLButtonDown(TMessage& Message) {
  if (!Designing()) {
    TCHITTESTINFO info{};
    info.pt = POINT{short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
    int tab = int(SendMessageA(Handle(), TCM_HITTEST, 0, LPARAM(&info)));
    if (tab >= 0 && (info.flags & (TCHT_ONITEMICON | TCHT_ONITEMLABEL))) {
      TTabSheet* page = PageForTabIndex(tab);
      if (page && !page->Enabled()) {
        Message.Result = 0;
        return;
      }
    }
  }
  TPageControl::Dispatch(Message);
}

void TOxPageControl::CMDialogKey(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (HandleGlobalTab && !(form && form->KeyPreview) && Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
    bool forward = GetKeyState(VK_SHIFT) >= 0;
    TTabSheet* start = ActivePage();
    TTabSheet* page = start;
    do {
      page = FindNextPage(page, forward, true);
    } while (page && page != start && !page->Enabled());
    if (page != start) {
      if (!CanChange()) {
        Message.Result = 0;
        return;
      }
      SetActivePage(page);
      Message.Result = 1;
      Change();
      return;
    }
  }
  TPageControl::Dispatch(Message);
}

void TOxPageControl::CMMouseEnter(TMessage& Message) {
  FSavedHintColor = Application->HintColor;
  if (!Designing()) {
    Application->HintColor = FHintColor;
    // The platform's handling fires OnMouseEnter.
    TPageControl::Dispatch(Message);
  }
}

void TOxPageControl::CMMouseLeave(TMessage& Message) {
  Application->HintColor = FSavedHintColor;
  TPageControl::Dispatch(Message);
}

void TOxPageControl::CMParentColorChanged(TMessage& Message) {
  TPageControl::Dispatch(Message);
  DoParentColorChange();
}
