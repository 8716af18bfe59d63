// This file implements the button item and its control: TkwBarButton, the ordinary command (a
// push button, a check button that may belong to a radio group, or a button with a drop-down arrow
// that opens a popup menu), and TkwBarButtonControl, its view in a tool bar or a menu, which sizes
// itself from the link's paint style, draws glyph, caption, shortcut and arrow through the painter,
// opens and closes the drop-down menu and toggles check buttons when clicked.
#pragma once

#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwCustomBarControl.h"

class TkwBarPopupMenu;
class TkwBarButtonControl;

enum TkwBarButtonStyle { bsDefault, bsChecked, bsDropDown };
VELBOR_ENUM(TkwBarButtonStyle, "bsDefault", "bsChecked", "bsDropDown")

class TkwBarButton : public TkwBarItem {
  VELBOR_DECLARE_CLASS(TkwBarButton, TkwBarItem)
 public:
  explicit TkwBarButton(TComponent* AOwner);

  // Properties.
  bool AllowAllUp() const { return FAllowAllUp; }
  // Copied to every button of the manager with the same group.
  void SetAllowAllUp(bool Value);
  TkwBarButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TkwBarButtonStyle Value);
  bool CloseSubMenuOnClick() const { return FCloseSubMenuOnClick; }
  void SetCloseSubMenuOnClick(bool Value) { FCloseSubMenuOnClick = Value; }
  bool Down() const { return FDown; }
  // Only a check button goes down; a grouped one releases the group's other button, and stays down
  // unless AllowAllUp.
  void SetDown(bool Value);
  bool DropDownEnabled() const { return FDropDownEnabled; }
  void SetDropDownEnabled(bool Value);
  TkwBarPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TkwBarPopupMenu* Value);
  int GroupIndex() const { return FGroupIndex; }
  // Kept for check buttons only (0 for the others).
  void SetGroupIndex(int Value);
  bool Lowered() const { return FLowered; }
  void SetLowered(bool Value);
  TkwBarPaintStyle PaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TkwBarPaintStyle Value);

  // What the item answers the links and the action.
  TkwBarItemLinks* GetDropDownLinks() const override;
  bool GetLinkPaintStyle(TkwBarPaintStyle& Style) const override {
    Style = FPaintStyle;
    return true;
  }
  bool AcceptsAccelerator(TkwBarItemLink* Link) const override;
  bool HasDownState() const override { return true; }
  bool GetDownState() const override { return FDown; }
  void SetDownState(bool Value) override { SetDown(Value); }
  // An enabled check button toggles first.
  void DirectClick() override;

  // Overridables, in slot order.
  virtual void ButtonStyleChanged();
  virtual bool IsButtonItem() const { return true; }
  virtual void DownChanged();
  virtual void DropDownEnabledChanged();
  virtual void PaintStyleChanged();
  // Opens the drop-down menu for Control at the screen point (X, Y): beside a control in a menu or
  // a vertical tool bar, below it elsewhere.
  virtual void DropDown(TkwBarButtonControl* Control, int X, bool ByMouse, int Y);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool FAllowAllUp = false;
  TkwBarButtonStyle FButtonStyle = bsDefault;
  bool FCloseSubMenuOnClick = true;
  bool FDown = false;
  bool FDropDownEnabled = true;
  TkwBarPopupMenu* FDropDownMenu = nullptr;  // not owned: forgotten when freed
  int FGroupIndex = 0;
  bool FLowered = false;
  TkwBarPaintStyle FPaintStyle = psStandard;
};

class TkwBarButtonControl : public TkwBarItemControl, public IkwButtonControl {
  VELBOR_DECLARE_CLASS(TkwBarButtonControl, TkwBarItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarButtonControl(TkwBarItemLink* ALink) : TkwBarItemControl(ALink) {}
  // Closes a drop-down menu that is still open.
  ~TkwBarButtonControl() override;

  // The button this control shows (nullptr for another kind of item shown as a button: an edit on
  // a turned bar).
  TkwBarButton* Button() const { return dynamic_cast<TkwBarButton*>(GetItem()); }
  TCustomkwBarControl* Window() const { return ControlWindow(this); }
  // The link's paint style; on a tool bar a glyph-only button without glyph shows its caption.
  TkwBarPaintStyle GetPaintStyle() const;
  bool ShowsCaption() const;
  bool GetDown() const;
  bool GetDropDownEnabled() const;
  // The window of the drop-down menu while it is open.
  TkwBarWindow* GetDropDownMenuControl() const;
  bool IsDropDownMenuOpen() const;
  bool IsArrowPressed() const;
  bool IsLowered() const;
  bool IsDropDownButton() const;

  // What the windows ask of buttons.
  void SetPressedByMouse(bool Value) override { FArrowPressed = Value && IsArrowHot(); }
  bool IsDroppedDown() const override { return FDroppedDown; }
  void ResetDropDown() override;
  bool IsArrowHot() const override;

  // Overridables, in slot order.
  virtual int GetArrowWidth() const;
  virtual void ButtonStyleChanged() { Changed(); }
  virtual void DownChanged() { Repaint(); }
  virtual void DropDownEnabledChanged() { Repaint(); }
  virtual int CalcButtonHeight();
  virtual int CalcButtonWidth();
  virtual void PaintStyleChanged() { Changed(); }
  virtual void DropDown(bool ByMouse);

  // Overrides of the control base.
  void GlyphChanged() override;
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
  TkwBarWindow* GetSubMenuControl() const override { return GetDropDownMenuControl(); }
  void Draw(const TRect& Rect, int Kind) override;

 protected:
  // The width of a caption in the window's font ("&" not counted).
  int TextWidth(const String& Text) const;
  // Drawn pressed: the mouse is held over it (not over its arrow) in an active window, or its
  // command runs.
  bool DrawnPressed() const;
  // The cell states of the button as drawn now.
  TkwCellStates CellStates() const;
  // The drop-down part at the right of a drop-down button (Rect keeps the rest).
  TRect CutArrowPart(TRect& Rect) const;
  void DrawArrowPart(const TRect& Arrow, int Kind, bool Selected);

 private:
  friend class TkwBarButton;
  // The drop-down menu's window tells the popup menu's events through these.
  void MenuCloseUp(TObject* Sender);
  void MenuPopup(TObject* Sender);

  bool FDroppedDown = false;
  bool FArrowPressed = false;
};

// The painter a control draws with (the window's).
const TkwBarItemControlPainter* PainterOf(const TkwBarItemControl* Control);
