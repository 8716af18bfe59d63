// This file implements the items edited in place and their controls: TkwBarWindowItem, the base of
// the items the user types into (the committed text, the editing events); TkwBarEdit, the one-line
// text entry; TkwBarWinControl, the control that owns one platform edit window, shows it over its
// rectangle while the user edits and subclasses it so that keys, focus changes and clicks reach
// the item and the bar window; TkwBarEditControl, the view of an edit item, which measures and
// draws its caption, frame and value through the painter and makes the "EDIT" window.
#pragma once

#include "Controls.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwCustomBarControl.h"

class TkwBarWinControl;

class TkwBarWindowItem : public TkwBarItem {
  VELBOR_DECLARE_CLASS(TkwBarWindowItem, TkwBarItem)
 public:
  explicit TkwBarWindowItem(TComponent* AOwner) : TkwBarItem(AOwner) {}

  // Properties.
  // The value is drawn, but no edit window shows over it.
  bool EditorHidden() const { return FEditorHidden; }
  void SetEditorHidden(bool Value) { FEditorHidden = Value; }
  // The committed text.
  const String& Text() const { return FText; }
  // Nothing for the same text (case counts); otherwise stored, the links repainted, OnChange.
  virtual void SetText(const String& Value);
  TNotifyEvent OnChange;
  TNotifyEvent OnCurChange;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Operations.
  // The text being typed in an open editor, else Text.
  String GetCurrentText() const;
  // Into the open editor only, else SetText.
  void SetCurrentText(const String& Value);
  // The link whose editor is open (nullptr: none).
  TkwBarItemLink* GetFocusedLink() const;
  // The control of the active link: an edit control, or nullptr.
  TkwBarWinControl* GetActiveWinControl() const;
  // Whether the active link's control is a combo with its list open.
  bool GetDroppedDown() const;
  // Opens the editor of the first link shown in a window (VisibleOnly: a visible one), as a
  // keyboard click: a tool bar enters menu mode with it, a menu selects it.
  virtual void FocusEditor(bool VisibleOnly);

  // Overrides of the item.
  bool IsClickable() const override { return false; }
  bool HasOwnWindow() const override { return true; }
  // A control laid out of sight closes its editor.
  void HideItemControl(TkwBarItemControl* Control) override;

  // Overridables that fire the events (a key handler that sets the key to 0 consumes it).
  virtual void Change();
  virtual void CurChange();
  virtual void DoEnter();
  virtual void DoExit();
  virtual void DoKeyDown(WORD& Key, TShiftState Shift);
  virtual void DoKeyPress(char& Key);
  virtual void DoKeyUp(WORD& Key, TShiftState Shift);

 protected:
  void StoreText(const String& Value) { FText = Value; }

 private:
  bool FEditorHidden = false;
  String FText;
};

class TkwBarEdit : public TkwBarWindowItem {
  VELBOR_DECLARE_CLASS(TkwBarEdit, TkwBarWindowItem)
 public:
  explicit TkwBarEdit(TComponent* AOwner) : TkwBarWindowItem(AOwner) {}

  // Properties.
  int MaxLength() const { return FMaxLength; }
  // 0 or below: no limit (stored as 0); an edit window takes it when it is made.
  void SetMaxLength(int Value) { FMaxLength = Value < 0 ? 0 : Value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  int Width() const { return FWidth; }
  // Never below 20 pixels.
  void SetWidth(int Value);

  // Overridables.
  // The value inside a control that is not editing (the painter writes the text).
  virtual void DrawValue(TkwBarWinControl* Control, TkwBarItemLink* Link, TCanvas* Canvas, const TRect& Rect);
  virtual void WidthChanged();

  bool GetLinkWidth(int& Width) const override {
    Width = FWidth;
    return true;
  }
  // A tool bar takes the accelerator only when the caption shows (a menu always shows it).
  bool AcceptsAccelerator(TkwBarItemLink* Link) const override;

 private:
  int FMaxLength = 0;
  bool FReadOnly = false;
  bool FShowCaption = false;
  int FWidth = 100;
};

class TkwBarWinControl : public TkwBarItemControl, public IkwInPlaceEditor {
  VELBOR_DECLARE_CLASS(TkwBarWinControl, TkwBarItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  // The edit window is made by the control that knows its kind (see TkwBarEditControl).
  explicit TkwBarWinControl(TkwBarItemLink* ALink);
  ~TkwBarWinControl() override;

  TkwBarWindowItem* WindowItem() const { return dynamic_cast<TkwBarWindowItem*>(GetItem()); }
  TCustomkwBarControl* Window() const { return ControlWindow(this); }
  bool Focused() const { return FFocused; }
  bool SettingText() const { return FSettingText; }
  // The rectangle the edit window takes (client coordinates of the bar window); empty when the
  // control is disabled, of no width when the editor is hidden.
  TRect GetEditRect() const;

  // What the windows ask of an editor.
  bool IsEditing() const override { return FFocused; }
  TRect EditRect() const override { return GetEditRect(); }
  HWND EditWindow() const override { return FEditWindow; }

  // Overridables, in slot order.
  virtual void CreateEditWindow();
  virtual void DestroyEditWindow();
  // The text of the edit window (all of it).
  virtual String GetText() const;
  // Opens (true) or closes the editor.
  virtual void SetFocused(bool Value);
  virtual void SetText(const String& Value);
  // The edit window's procedure.
  virtual void EditWndProc(TMessage& Message);

  // Overrides of the control base.
  void WindowDestroying() override;
  bool CanClick() const override;
  void ControlInactivate(bool Now) override;
  void BeforeClick(bool ByMouse) override;
  bool ClosesMenusOnClick() const override { return false; }

 protected:
  // Runs the edit window's own procedure.
  void DefaultEditProc(TMessage& Message);
  // Takes the pending characters of the edit window from the queue.
  void RemovePendingChars();
  void SetEditRectField(const TRect& Value) { FEditRect = Value; }
  // Set while the control loads a text into its edit window (no change reaches the item).
  void SetSettingText(bool Value) { FSettingText = Value; }
  // The window procedure of subclassed edit windows (finds the control by a window property).
  static LRESULT CALLBACK SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void Subclass();
  void Unsubclass();

  HWND FEditWindow = nullptr;

 private:
  bool FFocused = false;
  bool FSettingText = false;
  int FSysKeyCount = 0;
  WNDPROC FPreviousProc = nullptr;
  HWND FFocusBefore = nullptr;
  TRect FEditRect;
};

class TkwBarEditControl : public TkwBarWinControl {
  VELBOR_DECLARE_CLASS(TkwBarEditControl, TkwBarWinControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  // Makes its edit window, hidden, unless the tool bar is being moved (it makes its controls
  // again afterwards).
  explicit TkwBarEditControl(TkwBarItemLink* ALink);

  TkwBarEdit* Edit() const { return dynamic_cast<TkwBarEdit*>(GetItem()); }
  // The width of the caption part (0 when the caption does not show).
  int GetCaptionWidth() const;
  // In a menu always; on a tool bar with the item's ShowCaption.
  bool ShowsCaption() const;

  // Overridables.
  virtual void WidthChanged();

  // Overrides.
  void BeforeClick(bool ByMouse) override;
  bool IsSelected() const override;
  int CalcHeight() override;
  int GetMinWidth() override;
  int CalcWidth() override;
  void Draw(const TRect& Rect, int Kind) override;
  void CreateEditWindow() override;
  void SetFocused(bool Value) override;
  void SetText(const String& Value) override;
  void EditWndProc(TMessage& Message) override;

 protected:
  // The value drawn while the editor is closed (combos draw theirs through the item).
  virtual void DrawValuePart(HDC DC, const TRect& Rect);
  // The inner rectangle of Rect after the caption and the frame, drawn.
  TRect DrawCaptionAndFrame(const TRect& Rect, int Kind, bool Selected);
};
