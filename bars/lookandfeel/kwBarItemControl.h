// This file implements TkwBarItemControl, the root of the item controls: the view of one item
// link inside one bar or menu window, a plain object made by the link when it is shown and freed
// when it is no longer shown. It answers the window's questions (size, selectable, clickable,
// caption, glyph, images, shortcut, hint), keeps the per-link state (active, selected by mouse,
// pressed) and performs the click. The controls of each kind of item derive from it in the bar
// items library; their drawing goes through the painter of the bar windows library.
#pragma once

#include "ActnList.h"
#include "Graphics.h"
#include "ImageList.h"
#include "kwBarTypes.h"

class TkwBarItemControl : public TObject {
  VELBOR_DECLARE_CLASS(TkwBarItemControl, TObject)
 public:
  // Controls are made by class reference with their link.
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarItemControl(TkwBarItemLink* ALink);
  // The manager and the window forget it; the link no longer shows it.
  ~TkwBarItemControl() override;

  TkwBarItemLink* Link() const { return FLink; }
  TkwBarWindow* BarWindow() const { return FWindow; }
  TkwBarManager* GetBarManager() const;
  TkwBarItem* GetItem() const;
  const TkwBarPainter* GetPainter() const;

  // State kept for the window's layout and selection.
  TRect ExtraRect;
  bool WrapBefore = false;
  bool RecentBlockEdge = false;
  bool IsWindowControl = false;
  bool RowEnd = false;
  bool ExpandedOnly = false;
  bool SelectedByMouse = false;
  bool Active() const { return FActive; }
  bool ClickState() const { return FClickState; }
  void SetClickState(bool Value);

  // Overridables, in the order of the control's slots.
  virtual void WindowDestroying() {}
  virtual void Changed();
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void GlyphChanged() { Repaint(); }
  virtual void ClickStateChanged();
  virtual void ShortCutChanged();
  virtual void VisibilityChanged();
  virtual bool CanClick() const { return true; }
  virtual bool IsOwnManagerItem() const;
  virtual bool CanHover() const { return IsSelectable(); }
  virtual bool IsSelectable() const;
  virtual void ControlClick(bool ByMouse);
  virtual void ControlActivate(bool) { FActive = true; }
  virtual void ControlInactivate(bool) { FActive = false; }
  virtual void BeforeClick(bool) {}
  virtual void Click(bool ByMouse);
  virtual bool IsSelected() const;
  virtual void KeyDown(WORD&) {}
  virtual bool WantsKey(WORD) const { return false; }
  virtual String GetCaption() const;
  virtual bool GetEnabled() const;
  virtual TBitmap* GetGlyph() const;
  virtual int GetImageIndex() const;
  virtual TCustomImageList* GetImages() const;
  virtual String GetHint() const;
  virtual TCustomImageList* GetHotImages() const;
  virtual bool HasStateImages() const;
  virtual TCustomImageList* GetLargeImages() const;
  virtual TShortCut GetShortCut() const;
  virtual int CalcHeight() { return 0; }
  virtual int GetMinHeight() { return 1; }
  virtual int GetMinWidth() { return 1; }
  virtual TkwBarWindow* GetSubMenuControl() const { return nullptr; }
  virtual int CalcWidth() { return 0; }
  virtual bool CanShowHint() const;
  virtual bool IsFlatLook() const;
  virtual bool ClosesMenusOnClick() const { return true; }
  virtual bool HasSubMenu() const { return false; }
  virtual bool ShowsInPlace() const { return false; }
  virtual bool WantsMouseTracking() const { return false; }
  // Kind: 0 plain, 1 in a menu, 2 rotated.
  virtual void Draw(const TRect&, int) {}
  virtual void Repaint();
  // The button controls play the menu sound when clicked in a menu.
  virtual bool IsButtonControl() const { return false; }
  // A button releases after its click unless it keeps the pressed look while the command runs.
  virtual bool GetUnclickAfterDoing() const;
  // An edit whose editor is open: the keyboard hook leaves its keys to the edit window.
  virtual bool IsEditing() const { return false; }
  // The window a control has dropped down (a combo's list), or nullptr: a click there keeps the
  // menus open.
  virtual HWND GetDropDownWindow() const { return nullptr; }

  // Operations.
  TkwBarItemAlign GetActualAlign() const;
  int GetHeight();
  int GetWidth();
  bool IsWindowNotMenu() const;
  bool HasGlyph() const;
  bool HasImage() const;
  bool IsPressedUnderMouse() const;
  bool HandlesMouse() const { return CanHover() || CanClick(); }
  // Whether the window is a quick-customizing window: none exists yet, so never.
  bool IsInQuickControl() const { return false; }
  // In a menu, the painter reads the expanded-only flag of the item whose background it draws:
  // the pair sets it in the window around that drawing.
  void BeginMenuBackgroundPaint();
  void EndMenuBackgroundPaint();
  // The window's denominator of glyph scaling (0: none).
  int GetGlyphScaleBase() const;

  // Double clicks: the window passes them on only when the control wants them (in design mode,
  // or with a sub-menu, which a double click shows whole); others are a second press.
  virtual bool WantsDblClick() const;
  virtual void DblClick() {}

  // Painter forwarding: the arguments reach the painter of the manager unchanged. (Defined with the
  // painters, in the bar windows library, which every control library links.)
  void DrawCaption(HDC DC, const String& Text, const TRect& Rect, int Alignment, bool Enabled, bool Selected,
                   bool Rotated, bool Clip, bool Plain);
  void DrawGlyph(const TRect& Cell, TkwCellStates States, int Location, int ImageIndex, TCustomImageList* Images,
                 TBitmap* Glyph, const TRect* GivenGlyphRect = nullptr);
  void DrawGlyphCell(const TRect& Cell, TkwCellStates States, int ImageIndex, TCustomImageList* Images,
                     TBitmap* Glyph, int Location, const TRect& GlyphRect);
  void DrawGlyphAndCaption(HDC DC, bool Down, bool Selected, bool ShowGlyph, const TRect& Rect);
  void DrawLoweredFrame(HDC DC, TRect& Rect);

 private:
  TkwBarItemLink* FLink;   // not owned
  TkwBarWindow* FWindow;   // not owned
  bool FActive = false;
  bool FClickState = false;
};
