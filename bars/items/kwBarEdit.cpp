// This file implements the items edited in place and their controls.
#include "kwBarEdit.h"

#include <algorithm>

#include "Forms.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "kwBarButton.h"
#include "kwBarControl.h"
#include "kwBarHooks.h"
#include "kwBarManager.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"

// --- TkwBarWindowItem --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarWindowItem)
VELBOR_PUBLISHED(TkwBarWindowItem,
  Prop("Text", &Self::Text, &Self::SetText),
  Prop("OnChange", &Self::OnChange),
  Prop("OnCurChange", &Self::OnCurChange),
  Prop("OnEnter", &Self::OnEnter),
  Prop("OnExit", &Self::OnExit),
  Prop("OnKeyDown", &Self::OnKeyDown),
  Prop("OnKeyPress", &Self::OnKeyPress),
  Prop("OnKeyUp", &Self::OnKeyUp))

void TkwBarWindowItem::SetText(const String& Value) {
  if (Value == FText) return;
  FText = Value;
  RepaintLinks();
  Change();
  RepaintLinks();
}

TkwBarWinControl* TkwBarWindowItem::GetActiveWinControl() const {
  TkwBarItemLink* link = GetActiveLink();
  return link ? dynamic_cast<TkwBarWinControl*>(link->Control()) : nullptr;
}

String TkwBarWindowItem::GetCurrentText() const {
  TkwBarWinControl* control = GetActiveWinControl();
  return control ? control->GetText() : FText;
}

void TkwBarWindowItem::SetCurrentText(const String& Value) {
  if (TkwBarWinControl* control = GetActiveWinControl())
    control->SetText(Value);
  else
    SetText(Value);
}

TkwBarItemLink* TkwBarWindowItem::GetFocusedLink() const {
  TkwBarWinControl* control = GetActiveWinControl();
  return control && control->Focused() ? control->Link() : nullptr;
}

bool TkwBarWindowItem::GetDroppedDown() const {
  TkwBarWinControl* control = GetActiveWinControl();
  return control && control->GetDropDownWindow() != nullptr;
}

void TkwBarWindowItem::FocusEditor(bool VisibleOnly) {
  for (int i = 0; i < GetLinkCount(); ++i) {
    auto* control = dynamic_cast<TkwBarWinControl*>(GetLink(i)->Control());
    TCustomkwBarControl* window = control ? control->Window() : nullptr;
    if (!window || !window->HandleAllocated()) continue;
    if (VisibleOnly && !IsWindowVisible(window->Handle())) continue;
    // A tool bar enters menu mode with the control; in a menu (which is in menu mode already) the
    // control is selected by the keyboard.
    if (auto* toolbar = dynamic_cast<TkwBarControl*>(window))
      toolbar->BeginMenuMode(control);
    else
      window->ActivateItem(control);
    if (IsLiveBarControl(window) && window->HasItemControl(control)) control->ControlClick(false);
    return;
  }
}

void TkwBarWindowItem::HideItemControl(TkwBarItemControl* Control) {
  if (auto* control = dynamic_cast<TkwBarWinControl*>(Control)) control->SetFocused(false);
}

void TkwBarWindowItem::Change() {
  if (!IsLoading() && OnChange) OnChange(this);
}

void TkwBarWindowItem::CurChange() {
  if (OnCurChange) OnCurChange(this);
}

void TkwBarWindowItem::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TkwBarWindowItem::DoExit() {
  if (OnExit) OnExit(this);
}

void TkwBarWindowItem::DoKeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TkwBarWindowItem::DoKeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TkwBarWindowItem::DoKeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

// --- TkwBarEdit ---------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarEdit)
VELBOR_PUBLISHED(TkwBarEdit,
  Prop("Glyph", &Self::Glyph, &Self::SetGlyph),
  Prop("ImageIndex", &Self::ImageIndex, &Self::SetImageIndex).Default(-1).Stored(&Self::IsImageIndexStored),
  Prop("MaxLength", &Self::MaxLength, &Self::SetMaxLength).Default(0),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("ShowCaption", &Self::ShowCaption, &Self::SetShowCaption).Default(false),
  Prop("Width", &Self::Width, &Self::SetWidth).Default(100),
  Prop("OnClick", &Self::OnClick).Stored(&Self::IsOnClickStored))

void TkwBarEdit::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  if (!IsLoading()) RebuildLinkBars();
}

void TkwBarEdit::SetWidth(int Value) {
  EnsureMinItemWidth(Value);
  if (Value == FWidth) return;
  FWidth = Value;
  if (!IsLoading()) WidthChanged();
}

void TkwBarEdit::WidthChanged() {
  for (int i = 0; i < GetLinkCount(); ++i) {
    TkwBarItemLink* link = GetLink(i);
    if (link->UserDefine().Contains(udWidth)) continue;
    if (auto* control = dynamic_cast<TkwBarEditControl*>(link->Control())) control->WidthChanged();
  }
}

bool TkwBarEdit::AcceptsAccelerator(TkwBarItemLink* Link) const {
  if (!TkwBarWindowItem::AcceptsAccelerator(Link)) return false;
  TkwBarWindow* window = Link ? Link->GetBarControl() : nullptr;
  return FShowCaption || (window && window->IsSubMenu());
}

void TkwBarEdit::DrawValue(TkwBarWinControl* Control, TkwBarItemLink*, TCanvas* Canvas, const TRect& Rect) {
  String text = Control && Control->Focused() ? Control->GetText() : Text();
  if (const TkwBarItemControlPainter* painter = ItemPainterOf(BarManager()))
    painter->DrawEditText(Control, Canvas, Rect, text);
}

// --- TkwBarWinControl --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarWinControl)

namespace {
// The window property that leads a subclassed edit window to its control.
const char* const kControlProp = "VelborBarWinControl";

bool IsMoving(TkwBarWindow* Window) {
  auto* toolbar = dynamic_cast<TkwBarControl*>(Window);
  return toolbar && toolbar->IsMoving();
}

bool IsKeyHeld(int Key) { return GetKeyState(Key) < 0; }
}  // namespace

TkwBarWinControl::TkwBarWinControl(TkwBarItemLink* ALink) : TkwBarItemControl(ALink) { IsWindowControl = true; }

TkwBarWinControl::~TkwBarWinControl() {
  if (!IsMoving(BarWindow())) DestroyEditWindow();
  Unsubclass();
}

LRESULT CALLBACK TkwBarWinControl::SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* control = static_cast<TkwBarWinControl*>(GetPropA(Wnd, kControlProp));
  if (!control) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  TMessage message;
  message.Msg = Msg;
  message.WParam = WParam;
  message.LParam = LParam;
  try {
    control->EditWndProc(message);
  } catch (...) {
    HandleApplicationException(nullptr);
  }
  return message.Result;
}

void TkwBarWinControl::Subclass() {
  if (!FEditWindow || FPreviousProc) return;
  SetPropA(FEditWindow, kControlProp, this);
  FPreviousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(FEditWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TkwBarWinControl::SubclassProc)));
}

void TkwBarWinControl::Unsubclass() {
  if (!FEditWindow || !FPreviousProc) return;
  SetWindowLongPtrA(FEditWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPreviousProc));
  RemovePropA(FEditWindow, kControlProp);
  FPreviousProc = nullptr;
}

void TkwBarWinControl::DefaultEditProc(TMessage& Message) {
  if (FPreviousProc && FEditWindow)
    Message.Result = CallWindowProcA(FPreviousProc, FEditWindow, Message.Msg, Message.WParam, Message.LParam);
}

void TkwBarWinControl::RemovePendingChars() {
  MSG pending;
  while (FEditWindow && PeekMessageA(&pending, FEditWindow, WM_CHAR, WM_CHAR, PM_REMOVE)) {
  }
}

void TkwBarWinControl::CreateEditWindow() { Subclass(); }

void TkwBarWinControl::DestroyEditWindow() {
  if (!FEditWindow) return;
  SetFocused(false);
  HWND edit = FEditWindow;
  Unsubclass();
  FEditWindow = nullptr;
  DestroyWindow(edit);
}

void TkwBarWinControl::WindowDestroying() { DestroyEditWindow(); }

String TkwBarWinControl::GetText() const {
  if (!FEditWindow) return String();
  // All of the text, however long.
  int length = GetWindowTextLengthA(FEditWindow);
  if (length <= 0) return String();
  String text(std::size_t(length) + 1, '\0');
  int got = GetWindowTextA(FEditWindow, text.data(), length + 1);
  text.resize(std::size_t(std::max(got, 0)));
  return text;
}

void TkwBarWinControl::SetText(const String& Value) {
  if (!FEditWindow) return;
  SetWindowTextA(FEditWindow, Value.c_str());
  TkwBarWindowItem* item = WindowItem();
  if (item && item->EditorHidden()) Repaint();
}

TRect TkwBarWinControl::GetEditRect() const {
  if (!GetEnabled()) return TRect();
  TRect r = FEditRect;
  TkwBarWindowItem* item = WindowItem();
  if (item && item->EditorHidden()) r.Right = r.Left;
  return r;
}

bool TkwBarWinControl::CanClick() const { return IsRotatedBarControl(BarWindow()); }

void TkwBarWinControl::ControlInactivate(bool Now) {
  TkwBarItemControl::ControlInactivate(Now);
  SetFocused(false);
}

void TkwBarWinControl::BeforeClick(bool ByMouse) {
  SetFocused(true);
  TkwBarItemControl::BeforeClick(ByMouse);
}

void TkwBarWinControl::SetFocused(bool Value) {
  if (Value == FFocused) return;
  TCustomkwBarControl* window = Window();
  TkwBarManager* manager = GetBarManager();
  if (Value) {
    // A control made before its bar window had a handle makes its edit window now.
    if (!FEditWindow) CreateEditWindow();
    if (!FEditWindow || !window) return;
    FFocused = true;
    HWND focus = GetFocus();
    if (!focus || !IsWindowVisible(focus)) {
      TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
      focus = form && form->HandleAllocated() ? form->Handle() : nullptr;
    }
    FFocusBefore = focus;
    SendMessageA(FEditWindow, WM_SETFONT, reinterpret_cast<WPARAM>(window->GetFont()), FALSE);
    if (!Active()) ControlActivate(true);
    if (!FEditWindow) return;
    TRect r = GetEditRect();
    SetWindowPos(FEditWindow, HWND_TOP, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW);
    window->Painter()->AdjustEditWindow(this, FEditWindow, r);
    {
      FSettingText = true;
      TScopeGuard guard([&] { FSettingText = false; });
      if (TkwBarWindowItem* item = WindowItem()) SetText(item->Text());
    }
    ::SetFocus(FEditWindow);
    return;
  }
  FFocused = false;
  if (FEditWindow) ShowWindow(FEditWindow, SW_HIDE);
  if (!manager || !manager->ActivationGuard()) {
    TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
    if (FFocusBefore && IsWindow(FFocusBefore) && IsWindowVisible(FFocusBefore))
      ::SetFocus(FFocusBefore);
    else if (form && form->HandleAllocated() && IsWindowVisible(form->Handle()))
      ::SetFocus(form->Handle());
    else if (form && form->HandleAllocated())
      ::SetFocus(GetNextWindow(form->Handle(), GW_HWNDNEXT));
    FFocusBefore = nullptr;
  }
  // Leaving the editor commits what was typed, unless it was left with Escape.
  bool escape = IsKeyHeld(VK_ESCAPE) && !IsKeyHeld(VK_CONTROL) && !IsKeyHeld(VK_MENU);
  if (manager && manager->AlwaysSaveText && !escape)
    if (TkwBarWindowItem* item = WindowItem()) item->SetText(GetText());
}

void TkwBarWinControl::EditWndProc(TMessage& Message) {
  TCustomkwBarControl* window = Window();
  TkwBarWindowItem* item = WindowItem();
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (item) item->DoEnter();
      DefaultEditProc(Message);
      return;
    case WM_KILLFOCUS: {
          TScopeGuard exit([&] {
        if (item) item->DoExit();
      });
      if (FFocused) {
        DefaultEditProc(Message);
        if (window && IsLiveBarControl(window)) window->HideAll();
        return;
      }
      if (dynamic_cast<TkwBarControl*>(window)) {
        HWND to = reinterpret_cast<HWND>(Message.WParam);
        if (to && !dynamic_cast<TkwBarControl*>(FindControl(to))) to = GetParent(to);
        if (!window->HandleAllocated() || to != window->Handle()) {
          // The focus left the bar.
          DefaultEditProc(Message);
          RemovePendingChars();
          if (IsLiveBarControl(window)) window->HideAll();
          return;
        }
      }
      break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: {
      if (item) {
        if (Message.Msg == WM_CHAR) {
          char key = char(Message.WParam);
          item->DoKeyPress(key);
          if (key == 0) return;
          Message.WParam = WPARAM(BYTE(key));
        } else {
          WORD key = WORD(Message.WParam);
          TShiftState shift = KeyDataToShiftState(Message.LParam);
          if (Message.Msg == WM_KEYDOWN)
            item->DoKeyDown(key, shift);
          else
            item->DoKeyUp(key, shift);
          if (key == 0) return;
          Message.WParam = key;
        }
      }
      if (Message.Msg != WM_KEYDOWN) break;
      WORD key = WORD(Message.WParam);
      if (key == VK_TAB && window) {
        RemovePendingChars();
        SendMessageA(window->Handle(), WM_KEYDOWN, Message.WParam, Message.LParam);
        return;
      }
      if ((key == VK_RETURN || key == VK_ESCAPE) && window) {
        // Deselecting closes this editor.
        window->ActivateItem(nullptr);
        RemovePendingChars();
        if (!IsLiveBarControl(window)) return;
        if (key == VK_ESCAPE) {
          if (window->HasItemControl(this)) {
            SelectedByMouse = false;
            window->SetSelectedItem(this);
          }
        } else {
          window->HideAll();
        }
        return;
      }
      DefaultEditProc(Message);
      return;
    }
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
      if (Message.Msg == WM_SYSKEYDOWN) {
        ++FSysKeyCount;
      } else if (FSysKeyCount == 0) {
        return;
      } else {
        --FSysKeyCount;
      }
      if (Message.Msg == WM_SYSKEYDOWN && Message.WParam == VK_MENU) break;
      FSysKeyCount = 0;
      WPARAM key = Message.WParam;
      LPARAM data = Message.LParam;
      bool shiftF10 = key == VK_F10 && IsKeyHeld(VK_SHIFT);
      if (window && IsLiveBarControl(window)) window->HideAll();
      if (shiftF10) return;
      // The bar library takes the key as its keyboard hook would: an Alt released alone opens the
      // main menu, Alt with a letter runs the accelerator.
      bool altAlone = key == VK_MENU && Message.Msg == WM_SYSKEYUP;
      HandBarKey(key, data | (Message.Msg == WM_SYSKEYUP ? LPARAM(0xC0000000) : 0), altAlone);
      if (!FEditWindow) return;
      break;
    }
    case WM_RBUTTONDOWN:
      if (window && window->HandleAllocated()) {
        POINT p = {short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
        MapWindowPoints(FEditWindow, window->Handle(), &p, 1);
        SendMessageA(window->Handle(), WM_RBUTTONDOWN, Message.WParam, MAKELPARAM(p.x, p.y));
      }
      return;
    default:
      break;
  }
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSEWHEEL && window && window->HandleAllocated() &&
      GetCapture() != FEditWindow && Link()) {
    POINT p = {short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
    MapWindowPoints(FEditWindow, window->Handle(), &p, 1);
    TPoint point(p.x, p.y);
    // A press beside the edit part of the item (on a combo's button) is the bar's.
    if (!GetEditRect().Contains(point) && Link()->ItemRect.Contains(point)) return;
  }
  if (Message.Msg == WM_DESTROY) {
      SetFocused(false);
    HWND edit = FEditWindow;
    DefaultEditProc(Message);
    if (edit == FEditWindow) {
      Unsubclass();
      FEditWindow = nullptr;
    }
    return;
  }
  DefaultEditProc(Message);
}

// --- TkwBarEditControl -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarEditControl)

TkwBarEditControl::TkwBarEditControl(TkwBarItemLink* ALink) : TkwBarWinControl(ALink) {
  // A tool bar being moved makes its controls again when the move ends.
  if (!IsMoving(BarWindow())) CreateEditWindow();
}

bool TkwBarEditControl::ShowsCaption() const {
  TkwBarEdit* item = Edit();
  TkwBarWindow* window = BarWindow();
  return (window && window->IsSubMenu()) || (item && item->ShowCaption());
}

int TkwBarEditControl::GetCaptionWidth() const {
  TCustomkwBarControl* window = Window();
  if (!ShowsCaption() || !window) return 0;
  int width = window->Canvas()->TextWidth(RemoveAmpersands(GetCaption()));
  return window->Painter()->GetEditCaptionWidth(const_cast<TkwBarEditControl*>(this), width);
}

int TkwBarEditControl::CalcHeight() {
  TCustomkwBarControl* window = Window();
  if (!window) return 0;
  int height = window->RowHeight();
  if (ShowsCaption()) height = std::max(height, window->RowUnit());
  return height;
}

int TkwBarEditControl::GetMinWidth() { return GetCaptionWidth() + 20; }

int TkwBarEditControl::CalcWidth() { return GetCaptionWidth() + (Link() ? Link()->GetWidth() : 100); }

bool TkwBarEditControl::IsSelected() const {
  TkwBarWindow* window = BarWindow();
  return TkwBarWinControl::IsSelected() && !(window && window->IsCustomizing());
}

void TkwBarEditControl::BeforeClick(bool ByMouse) {
  TkwBarWinControl::BeforeClick(ByMouse);
  if (Focused() && FEditWindow) SendMessageA(FEditWindow, EM_SETSEL, 0, -1);
}

void TkwBarEditControl::WidthChanged() {
  if (TkwBarWindow* window = BarWindow()) window->RepaintBar();
}

void TkwBarEditControl::CreateEditWindow() {
  TCustomkwBarControl* window = Window();
  if (!window || !window->HandleAllocated() || FEditWindow) return;
  DWORD style = window->Painter()->GetEditWindowStyle() | WS_CHILD;
  FEditWindow = CreateWindowExA(0, "EDIT", "", style, 0, 0, 100, 100, window->Handle(), nullptr, MainInstance(),
                                nullptr);
  if (!FEditWindow) return;
  if (TkwBarEdit* item = Edit()) {
    SetWindowTextA(FEditWindow, item->Text().c_str());
    SendMessageA(FEditWindow, EM_LIMITTEXT, WPARAM(item->MaxLength()), 0);
  }
  TkwBarWinControl::CreateEditWindow();
}

void TkwBarEditControl::SetFocused(bool Value) {
  if (Value == Focused()) return;
  if (Value && FEditWindow) {
    TkwBarEdit* item = Edit();
    bool readOnly = item && (item->ReadOnly() || item->EditorHidden());
    SendMessageA(FEditWindow, EM_SETREADONLY, readOnly, 0);
  }
  TkwBarWinControl::SetFocused(Value);
}

void TkwBarEditControl::SetText(const String& Value) {
  String before = GetText();
  TkwBarWinControl::SetText(Value);
  if (FEditWindow) PainterOf(this)->SelectEditText(this, FEditWindow, before != Value);
}

void TkwBarEditControl::EditWndProc(TMessage& Message) {
  TkwBarEdit* item = Edit();
  if (Message.Msg == WM_KEYDOWN && (Message.WParam == VK_RETURN || Message.WParam == VK_TAB) && item) {
    // Enter and Tab commit what was typed.
    if (Message.WParam == VK_RETURN && Link()) {
      TkwBarItemLink* original = Link()->GetOriginalLink();
      original->MarkUsed(true);
    }
    HWND edit = FEditWindow;
    item->SetText(GetText());
    // A handler closed the editor (or rebuilt the bar): nothing more is done with the window.
    if (!edit || edit != FEditWindow || !IsWindowVisible(edit)) return;
  } else if (Message.Msg == WM_COMMAND && HIWORD(Message.WParam) == EN_CHANGE) {
    if (!SettingText() && item) item->CurChange();
    return;
  }
  TkwBarWinControl::EditWndProc(Message);
}

TRect TkwBarEditControl::DrawCaptionAndFrame(const TRect& Rect, int Kind, bool Selected) {
  TCustomkwBarControl* window = Window();
  HDC dc = window->Canvas()->Handle();
  const TkwBarItemControlPainter* painter = window->Painter();
  TRect r = Rect;
  if (ShowsCaption()) painter->DrawEditCaption(this, dc, Selected, Kind, r);
  painter->DrawEditFrame(this, dc, Selected, Kind, r);
  return r;
}

void TkwBarEditControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = Window();
  if (!window || Rect.Width() == 0) return;
  TRect inner = DrawCaptionAndFrame(Rect, Kind, IsSelected());
  if (GetEnabled()) SetEditRectField(inner);
  // While the editor is open the edit window shows the value.
  if (!(Focused() && GetEnabled())) DrawValuePart(window->Canvas()->Handle(), inner);
}

void TkwBarEditControl::DrawValuePart(HDC DC, const TRect& Rect) {
  TkwBarEdit* item = Edit();
  PainterOf(this)->DrawEditValue(this, DC, false, Rect, item ? item->Text() : String(), false);
}
