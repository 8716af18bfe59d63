// This file implements TqvTrackIcon: a small bitmap the user drags along its parent with the
// mouse, within bounds, which tells when a drag ends (the rich-text editor's ruler markers).
#pragma once

#include "Controls.h"
#include "Graphics.h"

class TqvTrackIcon : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TqvTrackIcon, TGraphicControl)
 public:
  explicit TqvTrackIcon(TComponent* AOwner);
  ~TqvTrackIcon() override;

  // Properties.
  TBitmap* Bitmap() const { return FBitmap; }
  // A bitmap resource of the program: the control takes its size.
  String BitmapName() const { return FBitmapName; }
  void SetBitmapName(const String& Value);
  // The range of Left while dragged; 0 leaves that side free.
  int MinValue = 0;
  int MaxValue = 0;
  // After a drag that moved the icon.
  TNotifyEvent OnEndDrag;

 protected:
  void Paint() override;
  // The press starts a drag (the control has the mouse captured until the release), the moves
  // take the icon along within its range, the release ends the drag.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  int Clamp(int Value) const;
  bool FTracking = false;
  // Where the press was within the icon, and where the icon was.
  int FGrabX = 0;
  int FStartLeft = 0;
  TBitmap* FBitmap;
  String FBitmapName;
};
