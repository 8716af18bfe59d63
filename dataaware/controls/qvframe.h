// This file implements the frame and button settings every edit control of the data-aware library
// shares: TqvEditFrame (which borders of an edit are drawn, in which edge style, focused and
// unfocused, with colours and a transparent mode), TqvButtonEffects (the flat or transparent look
// of a control's embedded button), and the routines that draw a frame and bring back a
// transparent control's background.
#pragma once

#include "WinApi.h"

#include "Colors.h"
#include "Controls.h"
#include "Persistent.h"
#include "TypInfo.h"

enum TqvEditFrameEnabledType { efLeftBorder, efTopBorder, efRightBorder, efBottomBorder };
VELBOR_ENUM(TqvEditFrameEnabledType, "efLeftBorder", "efTopBorder", "efRightBorder", "efBottomBorder")
// Bit n of the set is BF_LEFT, BF_TOP, BF_RIGHT, BF_BOTTOM in that order: a set is a DrawEdge flag
// word as it is.
using TqvEditFrameEnabledSet = TSet<TqvEditFrameEnabledType>;
inline constexpr TqvEditFrameEnabledSet qvAllBorders = {efLeftBorder, efTopBorder, efRightBorder, efBottomBorder};

enum TqvEditFocusStyle { efsFrameBox, efsFrameSunken, efsFrameRaised, efsFrameEtched, efsFrameBump, efsFrameSingle };
VELBOR_ENUM(TqvEditFocusStyle, "efsFrameBox", "efsFrameSunken", "efsFrameRaised", "efsFrameEtched", "efsFrameBump",
            "efsFrameSingle")

// The frame colours' "none": the control's own colour applies.
inline constexpr TColor qvFrameNoColor = clNone;

class TqvEditFrame : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvEditFrame, TPersistent)
 public:
  using TOwnerClass = TComponent;
  // The owner becomes the frame's control when it is a windowed control (a controller passes
  // itself: its frame has no control).
  explicit TqvEditFrame(TComponent* AOwner = nullptr);

  // Properties.
  bool Enabled() const { return FEnabled; }
  // Enabling takes the edit's border away; an auto-sized control gets its height again.
  void SetEnabled(bool Value);
  // The control lets its parent show through while unfocused.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  int AutoSizeHeightAdjust = 0;
  TqvEditFrameEnabledSet FocusBorders() const { return FFocusBorders; }
  void SetFocusBorders(TqvEditFrameEnabledSet Value);
  TqvEditFrameEnabledSet NonFocusBorders() const { return FNonFocusBorders; }
  void SetNonFocusBorders(TqvEditFrameEnabledSet Value);
  TqvEditFocusStyle FocusStyle = efsFrameBox;
  TqvEditFocusStyle NonFocusStyle() const { return FNonFocusStyle; }
  void SetNonFocusStyle(TqvEditFocusStyle Value);
  int NonFocusTextOffsetX = 0;
  int NonFocusTextOffsetY = 0;
  TColor NonFocusTransparentFontColor = qvFrameNoColor;
  TColor NonFocusColor = qvFrameNoColor;
  TColor NonFocusFontColor = qvFrameNoColor;
  bool MouseEnterSameAsFocus = false;
  // Not published. Every parent invalidation of the frame erases with this flag; nothing in the
  // program sets it.
  bool EraseParentBackground = false;
  // The control's window is to be made with WS_EX_TRANSPARENT: set with Transparent, cleared by
  // the control while it has the focus.
  bool UseTransparentStyle = false;
  TWinControl* Control() const { return FControl; }

  // Operations.
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;
  // Enabled, with a control that does not sit in a grid (where the cell painting rules).
  bool IsFrameActive() const;
  // The one-pixel styles.
  static bool IsThinStyle(TqvEditFocusStyle Style) { return Style == efsFrameBox || Style == efsFrameSingle; }
  // The left and top text margins of an edit's formatting rectangle for the focus style and
  // borders; R.Right and R.Bottom come preset from the caller.
  void AdjustEditRect(TRect& R) const;
  // Where the control paints its own text, for the focus state asked for.
  virtual void GetTextOffsets(int& X, int& Y, bool Focused);
  // The height the framed edit takes automatically, and setting it.
  int AutoHeight() const;
  void AdjustHeight();
  void RefreshFrameArea();
  // A transparent framed control gets its window again, with or without WS_EX_TRANSPARENT.
  void ApplyTransparency();
  // Brings back the parent's background behind an unfocused transparent control whose text
  // changed: the whole client, or (Flag) the text rectangle only.
  void RefreshTransparentBackground(bool WholeClient, bool Flag, bool Erase);

  // The frame a control publishes as "Frame", else "EditFrame"; null when none.
  static TqvEditFrame* FromControl(TObject* Control);

 private:
  void RepaintControl();

  TWinControl* FControl = nullptr;
  bool FEnabled = false;
  bool FTransparent = false;
  TqvEditFrameEnabledSet FFocusBorders = qvAllBorders;
  TqvEditFrameEnabledSet FNonFocusBorders = {efBottomBorder};
  TqvEditFocusStyle FNonFocusStyle = efsFrameBox;
};

class TqvButtonEffects : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvButtonEffects, TPersistent)
 public:
  using TOwnerClass = TComponent;
  // Button may be null (a controller's settings have none).
  explicit TqvButtonEffects(TComponent* AControl = nullptr, TControl* AButton = nullptr);

  // Properties. Each sets the button's own "Transparent" and "Flat" by name (skipped when the
  // button publishes no such property), then Changed, then repaints the button.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TComponent* Control() const { return FControl; }
  TControl* Button() const { return FButton; }

  // Operations.
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override { return FControl; }
  // The settings a control publishes as "ButtonEffects"; null when none.
  static TqvButtonEffects* FromControl(TObject* Control);

 protected:
  // The look changed (the dialog edit loads its flat glyph here).
  virtual void Changed() {}

 private:
  TComponent* FControl;
  TControl* FButton;
  bool FTransparent = false;
  bool FFlat = false;
};

// The control's parent has a window whose extended style holds WS_EX_TRANSPARENT.
bool ParentIsTransparent(TControl* Control);
// Draws the frame along the edit's client rectangle, with the focused or unfocused borders and
// style.
void PaintEditFrame(TWinControl* Edit, TqvEditFrame* Frame, TCanvas* Canvas, bool Focused);
// Invalidates the control's rectangle in its parent, and in the next ancestor up while the window
// just handled is itself transparent.
void InvalidateTransparentParents(TControl* Control, bool Erase);
// The same, erasing as the control's frame says (not when it has none).
void InvalidateFrameBackground(TControl* Control);
