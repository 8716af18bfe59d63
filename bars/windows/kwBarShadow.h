// This file implements TkwBarShadow, the drop shadow of a bar or menu window: up to five small
// popup windows (TkwBarShadowPart), one per straight stretch of shadow below and to the right of
// the window, and around the union of a menu and the item that opened it when they are joined.
// With layered windows and more than 256 colours the parts are alpha blended and 4 pixels wide,
// otherwise opaque strips of the button-shadow colour, 2 pixels wide. The blend is made by the
// part itself: when it appears it takes what the screen shows beneath it and darkens that by its
// alpha image (per-pixel alpha windows show black on X servers that do not compose windows).
#pragma once

#include <vector>

#include "Controls.h"

class TCustomkwBarControl;
class TkwBarShadow;

// Corner flags of a part: which ends fade.
inline constexpr int kwscLeft = 1;
inline constexpr int kwscRight = 2;
inline constexpr int kwscTop = 4;

class TkwBarShadowPart : public TCustomControl {
  VELBOR_DECLARE_CLASS(TkwBarShadowPart, TCustomControl)
 public:
  // Kind: 0 a strip below something, 1 a strip to the right of something.
  TkwBarShadowPart(TkwBarShadow* Shadow, int Kind, int Corners, const TRect& Bounds);
  ~TkwBarShadowPart() override;
  int Kind() const { return FKind; }
  int Corners() const { return FCorners; }
  TBitmap* Image() const { return FImage; }
  // Builds the image: the alpha of each pixel falls with its distance from the shadowed edge, and
  // the flagged ends fade (black, with the alpha in the top byte of each pixel).
  void BuildImage();
  // The alpha of a pixel of the image.
  int AlphaAt(int X, int Y) const;
  // Places the part right behind its window and shows it without activation.
  void ShowPart();
  void HidePart();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;

 private:
  TkwBarShadow* FShadow;
  int FKind;
  int FCorners;
  TBitmap* FImage;
  std::vector<unsigned> FAlpha;
  // The image blended over what the screen showed beneath the part when it appeared.
  TBitmap* FComposed;
};

class TkwBarShadow {
 public:
  explicit TkwBarShadow(TCustomkwBarControl* Owner) : FOwner(Owner) {}
  ~TkwBarShadow();
  TkwBarShadow(const TkwBarShadow&) = delete;
  TkwBarShadow& operator=(const TkwBarShadow&) = delete;

  TCustomkwBarControl* Owner() const { return FOwner; }
  int GetShadowSize() const { return GetTransparent() ? 4 : 2; }
  static bool GetTransparent();
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The owner item's rectangle (empty: none) and the window's, both in screen coordinates.
  void SetBounds(const TRect& OwnerRect, const TRect& WindowRect);
  void Refresh();
  int PartCount() const;
  TkwBarShadowPart* Part(int Index) const { return FParts[Index]; }

 private:
  void FreeParts();
  void AddPart(int Kind, const TRect& Bounds, int Corners);

  TCustomkwBarControl* FOwner;  // not owned
  TkwBarShadowPart* FParts[5] = {};
  TRect FOwnerRect;
  TRect FWindowRect;
  bool FHorizontalJunction = true;
  bool FVisible = false;
};
