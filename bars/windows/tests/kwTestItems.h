// This file implements the least of the bar items the bar windows' tests need, behind the
// interfaces of the bar items: a button (push, check or with a drop-down menu) and its control, a
// sub-item that opens a menu of its own links and its control, and a large button with a large
// glyph and a caption placed by a layout. They measure and draw through the painter as the bar
// items library's do.
#pragma once

#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarSubMenuControl.h"
#include "kwBars.h"
#include "kwCustomBarControl.h"

enum TkwBarButtonStyle { bsDefault, bsChecked, bsDropDown };

class TkwBarButton : public TkwBarItem {
  VELBOR_DECLARE_CLASS(TkwBarButton, TkwBarItem)
 public:
  explicit TkwBarButton(TComponent* AOwner);
  ~TkwBarButton() override;
  TkwBarButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TkwBarButtonStyle Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  TkwBarPaintStyle PaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TkwBarPaintStyle Value);
  bool DropDownEnabled = true;
  // The links of the drop-down menu (made on first use).
  TkwBarItemLinks* DropDownLinks();
  TkwBarItemLinks* GetDropDownLinks() const override { return FDropDownLinks; }
  bool GetLinkPaintStyle(TkwBarPaintStyle& Style) const override {
    Style = FPaintStyle;
    return true;
  }
  bool AcceptsAccelerator(TkwBarItemLink* Link) const override;
  int Clicks = 0;

 protected:
  void DoClick() override;

 private:
  TkwBarButtonStyle FButtonStyle = bsDefault;
  bool FDown = false;
  TkwBarPaintStyle FPaintStyle = psStandard;
  TkwBarItemLinks* FDropDownLinks = nullptr;
};

class TkwBarButtonControl : public TkwBarItemControl, public IkwButtonControl {
  VELBOR_DECLARE_CLASS(TkwBarButtonControl, TkwBarItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarButtonControl(TkwBarItemLink* ALink) : TkwBarItemControl(ALink) {}
  ~TkwBarButtonControl() override;
  TkwBarButton* Button() const { return dynamic_cast<TkwBarButton*>(GetItem()); }
  TkwBarPaintStyle GetPaintStyle() const;
  bool ShowsCaption() const;
  int GetArrowWidth() const;
  void DropDown(bool ByMouse);

  // The window's questions.
  void SetPressedByMouse(bool Value) override { FArrowPressed = Value && IsArrowHot(); }
  bool IsDroppedDown() const override { return FDroppedDown; }
  void ResetDropDown() override;
  bool IsArrowHot() const override;
  bool IsButtonControl() const override { return true; }
  int CalcHeight() override;
  int CalcWidth() override;
  void BeforeClick(bool ByMouse) override;
  void Click(bool ByMouse) override;
  void ControlInactivate(bool Now) override;
  bool IsSelected() const override;
  bool WantsMouseTracking() const override { return !FDroppedDown; }
  bool WantsKey(WORD Key) const override;
  void KeyDown(WORD& Key) override;
  TkwBarWindow* GetSubMenuControl() const override;
  void Draw(const TRect& Rect, int Kind) override;

 protected:
  // The cell states of the button as drawn now.
  TkwCellStates CellStates(int Kind) const;
  bool DrawnPressed() const;

 private:
  bool FDroppedDown = false;
  bool FArrowPressed = false;
};

class TkwBarSubItem : public TkwBarItem, public IkwMenuOwner {
  VELBOR_DECLARE_CLASS(TkwBarSubItem, TkwBarItem)
 public:
  explicit TkwBarSubItem(TComponent* AOwner);
  ~TkwBarSubItem() override;
  TkwBarItemLinks* ItemLinks() const { return FLinks; }
  TkwBarItemLinks* GetSubItemLinks() const override { return FLinks; }
  bool IsClickable() const override { return false; }
  bool ShowCaption = true;
  int BarSize = 0;
  // Paints the side strip of the menu.
  TEvent<void(TObject* Sender, TCanvas* Canvas, const TRect& R)> OnPaintBar;
  int Popups = 0;
  int CloseUps = 0;

  // The menu's questions.
  int MenuBarSize() const override { return BarSize; }
  void PaintMenuBar(TCanvas* Canvas, const TRect& R) override;
  void MenuPopup() override { ++Popups; }
  void MenuCloseUp() override { ++CloseUps; }
  bool MenuAllowsCustomizing() const override { return true; }

 private:
  TkwBarItemLinks* FLinks;
};

class TkwBarSubItemControl : public TkwBarItemControl, public IkwSubItemControl {
  VELBOR_DECLARE_CLASS(TkwBarSubItemControl, TkwBarItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarSubItemControl(TkwBarItemLink* ALink) : TkwBarItemControl(ALink) {}
  ~TkwBarSubItemControl() override;
  TkwBarSubItem* SubItem() const { return dynamic_cast<TkwBarSubItem*>(GetItem()); }
  TkwBarSubMenuControl* GetSubMenuWindow() const;

  void SetOpenedByMouse(bool Value) override { FOpenedByMouse = Value; }
  bool CanClick() const override { return false; }
  bool ClosesMenusOnClick() const override { return false; }
  bool HasSubMenu() const override { return true; }
  TkwBarWindow* GetSubMenuControl() const override { return GetSubMenuWindow(); }
  void ControlActivate(bool Now) override;
  void ControlInactivate(bool Now) override;
  void BeforeClick(bool ByMouse) override;
  bool WantsKey(WORD Key) const override;
  void KeyDown(WORD& Key) override;
  int CalcHeight() override;
  int CalcWidth() override;
  void Draw(const TRect& Rect, int Kind) override;
  // The pending delayed open or close runs now (the timer's work).
  static void RunPending();

 private:
  bool FOpenedByMouse = false;
};

enum TkwBarGlyphLayout { glLeft, glRight, glTop, glBottom };

class TkwBarLargeButton : public TkwBarButton {
  VELBOR_DECLARE_CLASS(TkwBarLargeButton, TkwBarButton)
 public:
  explicit TkwBarLargeButton(TComponent* AOwner);
  ~TkwBarLargeButton() override;
  TBitmap* LargeGlyph() const { return FLargeGlyph; }
  TkwBarGlyphLayout GlyphLayout = glTop;
  bool AutoGrayScale = true;
  bool ShowCaption = true;
  int Width = 0;
  int Height = 0;

 private:
  TBitmap* FLargeGlyph;
};

class TkwBarLargeButtonControl : public TkwBarButtonControl {
  VELBOR_DECLARE_CLASS(TkwBarLargeButtonControl, TkwBarButtonControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarLargeButtonControl(TkwBarItemLink* ALink) : TkwBarButtonControl(ALink) {}
  TkwBarLargeButton* Large() const { return dynamic_cast<TkwBarLargeButton*>(GetItem()); }
  int CalcHeight() override;
  int CalcWidth() override;
  void Draw(const TRect& Rect, int Kind) override;
};

// Registers the item classes with their controls (once).
void RegisterTestItems();
