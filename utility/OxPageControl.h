// This file implements TOxPageControl, a page control whose tabs can be hidden at run time, with a
// narrower client border, disabled sheets refused, its own hint colour and Ctrl+Tab from anywhere
// on the form.
#pragma once

#include "Component.h"
#include "OxBase.h"

#include "ComCtrls.h"

class TOxPageControl : public TPageControl {
  VELBOR_DECLARE_CLASS(TOxPageControl, TPageControl)
 public:
  explicit TOxPageControl(TComponent* AOwner);

  // Properties.
  String AboutNorvix() const { return String(); }
  void SetAboutNorvix(const String&) {}
  // The frame between the control's edge and the sheets (the native frame is 4 pixels).
  int ClientBorderWidth() const { return FClientBorderWidth; }
  void SetClientBorderWidth(int Value);
  // Hides every sheet's tab (shows them all again when switched off); the active page stays.
  bool HideAllTabs() const { return FHideAllTabs; }
  void SetHideAllTabs(bool Value);
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  bool DrawTabShadow() const { return FDrawTabShadow; }
  void SetDrawTabShadow(bool Value);
  // Ctrl+Tab turns the pages wherever the focus is on the form.
  bool HandleGlobalTab = false;
  TNotifyEvent OnParentColorChange;

 protected:
  void CreateWnd() override;
  void Loaded() override;
  void DrawTab(int TabIndex, const TRect& Rect, bool Active) override;
  virtual void DoParentColorChange();
  void Dispatch(TMessage& Message) override;

  // protected messages
  void TCMAdjustRect(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);

 private:
  void ApplyHideAllTabs();
  TTabSheet* PageForTabIndex(int TabIndex) const;
  bool Designing() const { return ComponentState().Contains(csDesigning); }

  int FClientBorderWidth = 4;
  bool FHideAllTabs = false;
  TColor FHintColor = clInfoBk;
  TColor FSavedHintColor = clInfoBk;
  bool FDrawTabShadow = false;
};

// Makes the page control known to the form reader.
void RegisterOxPageControl();
