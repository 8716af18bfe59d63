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
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  int Clamp(int Value) const;
  // Follows the mouse from the press at (X0, Y0) until the button goes up.
  void Track(int X0, int Y0);
  TBitmap* FBitmap;
  String FBitmapName;
};
