// This file implements the scrolling containers: TControlScrollBar (the range, position and
// increment of one of a container's own scroll bars), TScrollingWinControl (a control whose
// children scroll, with the range taken from them when AutoScroll is set) and TScrollBox.
#pragma once

#include "StdCtrls.h"

class TScrollingWinControl;

class TControlScrollBar : public TPersistent {
  VELBOR_DECLARE_CLASS(TControlScrollBar, TPersistent)
 public:
  TControlScrollBar(TScrollingWinControl* AControl = nullptr, TScrollBarKind AKind = sbHorizontal)
      : FControl(AControl), FKind(AKind) {}

  TScrollBarKind Kind() const { return FKind; }
  // The extent of what scrolls, in pixels (the children's extent with AutoScroll).
  int Range() const { return FRange; }
  void SetRange(int Value);
  // How far the content is scrolled.
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  // The step of the arrows.
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value);
  // Kept clear of the last child with AutoScroll.
  int Margin = 0;
  bool Tracking = false;
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Whether the bar shows: visible and the range larger than the client.
  bool IsScrollBarVisible() const;
  // The client extent along the bar.
  int ControlSize() const;
  void Assign(TPersistent* Source) override;

 private:
  friend class TScrollingWinControl;
  void Update();
  void ScrollMessage(TMessage& Message);
  int MaxPosition() const;
  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  int FRange = 0;
  int FPosition = 0;
  int FIncrement = 8;
  bool FVisible = true;
};

class TScrollingWinControl : public TWinControl {
  VELBOR_DECLARE_CLASS(TScrollingWinControl, TWinControl)
  friend class TControlScrollBar;

 public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;

  TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar; }
  void SetHorzScrollBar(TControlScrollBar* Value) { FHorzScrollBar->Assign(Value); }
  TControlScrollBar* VertScrollBar() const { return FVertScrollBar; }
  void SetVertScrollBar(TControlScrollBar* Value) { FVertScrollBar->Assign(Value); }
  // The ranges follow the children.
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value);
  // Scrolls so that AControl shows whole (its top-left first).
  void ScrollInView(TControl* AControl);
  // Moves every child by (DeltaX, DeltaY).
  void ScrollBy(int DeltaX, int DeltaY);

 protected:
  void CreateWnd() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void CalcAutoRange();
  void UpdateScrollBars();
  void Dispatch(TMessage& Message) override;
  // protected messages
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMSize(TMessage& Message);

 private:
  TControlScrollBar* FHorzScrollBar;
  TControlScrollBar* FVertScrollBar;
  bool FAutoScroll = true;
  bool FUpdatingScrollBars = false;
};

class TScrollBox : public TScrollingWinControl {
  VELBOR_DECLARE_CLASS(TScrollBox, TScrollingWinControl)
 public:
  explicit TScrollBox(TComponent* AOwner);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TBorderStyle FBorderStyle = bsSingle;
};
