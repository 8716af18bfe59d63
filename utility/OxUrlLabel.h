// This file implements TmUrlLabel, a label drawn as a hyperlink that opens its target (a web
// address, a mail address or a file) with the shell when clicked.
#pragma once

#include "Component.h"
#include "StdCtrls.h"

class TmUrlLabel : public TLabel {
  VELBOR_DECLARE_CLASS(TmUrlLabel, TLabel)
 public:
  explicit TmUrlLabel(TComponent* AOwner);

  // Properties.
  // The target; when it is blank the caption is the target. Set while the caption is still the
  // component's name (the default caption), it becomes the caption too.
  String URL() const { return FURL; }
  void SetURL(const String& Value);
  // The font colour while the mouse is over the label.
  TColor ActiveColor() const { return FActiveColor; }
  void SetActiveColor(TColor Value) { FActiveColor = Value; }

  // Operations.
  // What a click opens: the trimmed URL, or the trimmed caption when the URL is blank.
  String Target() const;
  // The click: OnClick first, then the target handed to the shell (nothing for a blank target).
  void Click() override;

 protected:
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

 private:
  String FURL;
  TColor FSavedColor = clBlue;
  TColor FActiveColor = clPurple;
  bool FMouseInside = false;
};

// Makes the hyperlink label known to the form reader.
void RegisterOxUrlLabel();
