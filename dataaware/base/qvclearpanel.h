// This file implements TqvCustomTransparentPanel, a panel that can let its parent show through:
// transparent, it paints only its frames, erases nothing and invalidates what lies under it on its
// parent. A panel being designed always paints opaque.
#pragma once

#include "ExtCtrls.h"

class TqvCustomTransparentPanel : public TCustomPanel {
  VELBOR_DECLARE_CLASS(TqvCustomTransparentPanel, TCustomPanel)
 public:
  explicit TqvCustomTransparentPanel(TComponent* AOwner);

  // Properties.
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  // Transparent and not being designed: what every transparent behaviour tests.
  virtual bool IsTransparent() const;

  // Transparent: the parent repaints the panel's place, and the children repaint.
  void Invalidate() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMEraseBkgnd(TMessage& Message);
  void WMMove(TMessage& Message);

 private:
  bool FTransparent = false;
};
