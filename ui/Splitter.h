// This file implements TSplitter: a bar between two aligned controls that the user drags to
// resize the one it is aligned against.
#pragma once

#include "Object.h"

#include "Controls.h"

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
VELBOR_ENUM(TResizeStyle, "rsNone", "rsLine", "rsUpdate", "rsPattern")

using TCanResizeEvent = TEvent<void(TObject* Sender, int& NewSize, bool& Accept)>;

class TSplitter : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TSplitter, TGraphicControl)
 public:
  explicit TSplitter(TComponent* AOwner);
  ~TSplitter() override;

  // Properties.
  bool Beveled() const { return FBeveled; }
  void SetBeveled(bool Value);
  // The smallest size the resized control keeps (and the room left for the others).
  int MinSize() const { return FMinSize; }
  void SetMinSize(int Value);
  TResizeStyle ResizeStyle = rsPattern;
  // Whether a drag below MinSize / 2 hides the resized control.
  bool AutoSnap = true;
  // The control the splitter resizes: the one aligned the same way just before it.
  TControl* ResizeControl() const;

  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;
  TNotifyEvent OnPaint;

 protected:
  // Overridables.
  virtual bool CanResize(int& NewSize);
  virtual void StopSizing();
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Loaded() override;

 private:
  bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
  // The new size of the resized control for the mouse at Pos (parent coordinates), within limits.
  int SizeFor(TPoint Pos) const;
  void DrawLine();
  void UpdateSize(int NewSize);
  void UpdateCursor();

  bool FBeveled = false;
  int FMinSize = 30;
  TControl* FControl = nullptr;  // the control being resized, during a drag
  TPoint FDownPos;
  int FOldSize = 0;
  int FNewSize = 0;
  int FMaxSize = 0;
  bool FLineVisible = false;
};

void RegisterSplitter();
