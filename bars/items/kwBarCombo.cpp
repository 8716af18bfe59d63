// This file implements the combo items, their controls and the drop-down list.
#include "kwBarCombo.h"

#include <algorithm>

#include "Forms.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "UtilityWindow.h"
#include "kwBarButton.h"
#include "kwBarControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {
TPoint PointOf(LPARAM LParam) { return TPoint(short(LOWORD(LParam)), short(HIWORD(LParam))); }
}  // namespace

// --- TCustomkwBarCombo --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomkwBarCombo)
VELBOR_PUBLISHED(TCustomkwBarCombo,
  Prop("ShowEditor", &Self::ShowEditor, &Self::SetShowEditor).Default(true),
  Prop("OnCheckKeyForDropDownWindow", &Self::OnCheckKeyForDropDownWindow),
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnDropDown", &Self::OnDropDown),
  Prop("OnGetDropDownWindow", &Self::OnGetDropDownWindow))

bool TCustomkwBarCombo::CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) {
  bool accept = Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE;
  if (OnCheckKeyForDropDownWindow) OnCheckKeyForDropDownWindow(this, Key, Shift, accept);
  return accept;
}

HWND TCustomkwBarCombo::GetDropDownWindow() {
  HWND window = nullptr;
  if (OnGetDropDownWindow) OnGetDropDownWindow(this, window);
  return window;
}

void TCustomkwBarCombo::CloseUp() {
  if (HWND window = GetDropDownWindow()) ShowWindow(window, SW_HIDE);
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomkwBarCombo::DropDown(int X, int Y) {
  if (OnDropDown) OnDropDown(this);
  HWND window = GetDropDownWindow();
  if (!window) return;
  PrepareDropDownWindow();
  PlaceDropDownWindow(X, Y);
  SetWindowPos(window, nullptr, X, Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  DroppedDown();
}

void TCustomkwBarCombo::PlaceDropDownWindow(int& X, int& Y) {
  HWND window = GetDropDownWindow();
  if (!window) return;
  TkwBarItemLink* link = GetActiveLink();
  int lw = link ? link->ItemRect.Width() : 0;
  int lh = link ? link->ItemRect.Height() : 0;
  RECT r;
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  TRect area = GetMonitorWorkArea(TPoint(X, Y));
  TkwBarWindow* bar = link ? link->GetBarControl() : nullptr;
  if (bar && (bar->IsSubMenu() || IsVerticalBarControl(bar))) {
    // The point is the control's top-right corner.
    if (X + w > area.Right && X - lw - area.Left > area.Right - X) X = X - w - lw;
    if (Y + h > area.Bottom) Y = area.Bottom - h;
  } else {
    // The point is the bottom-left corner of the value part.
    if (X + w > area.Right) X = area.Right - w;
    if (Y + h > area.Bottom && Y - lh - area.Top > area.Bottom - Y) Y = Y - lh - h;
  }
  X = std::max(X, area.Left);
  Y = std::max(Y, area.Top);
}

// --- TkwBarDropDownListBox ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarDropDownListBox)

TkwBarDropDownListBox::TkwBarDropDownListBox(TComponent* AOwner, TkwBarCustomCombo* Combo)
    : TCustomListBox(AOwner), FCombo(Combo) {
  SetStyle(lbOwnerDrawVariable);
  SetBorderStyle(bsNone);
  SetVisible(false);
  // The list is a top-level window: its rows are drawn and measured through a hidden owner.
  FOwnerWindow = AllocateHWnd(TWndMethod(this, &TkwBarDropDownListBox::OwnerWndProc));
  SetParentWindow(FOwnerWindow);
}

TkwBarDropDownListBox::~TkwBarDropDownListBox() {
  if (HandleAllocated()) DestroyHandle();
  if (FOwnerWindow) DeallocateHWnd(FOwnerWindow);
  FOwnerWindow = nullptr;
}

void TkwBarDropDownListBox::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  Params.Style = (Params.Style & ~(WS_CHILD | WS_HSCROLL | LBS_WANTKEYBOARDINPUT)) | WS_POPUP;
  Params.ExStyle = (Params.ExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = FOwnerWindow;
}

void TkwBarDropDownListBox::CreateWindowHandle(const TCreateParams& Params) {
  CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                  Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, Params.WindowClass.hInstance,
                  Params.Param);
}

void TkwBarDropDownListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  // The selection shows as focused although the focus stays in the combo's editor.
  // (Straight to the list box's own procedure: the window class's is the control library's.)
  TMessage focus;
  focus.Msg = WM_SETFOCUS;
  DefaultHandler(focus);
}

void TkwBarDropDownListBox::OwnerWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_COMMAND:
    case WM_CTLCOLORLISTBOX:
      if (HandleAllocated()) {
        Message.Result = Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    default:
      break;
  }
  Message.Result = DefWindowProcA(FOwnerWindow, Message.Msg, Message.WParam, Message.LParam);
}

int TkwBarDropDownListBox::BorderWidth() const {
  const TkwBarItemControlPainter* painter = ItemPainterOf(FCombo ? FCombo->BarManager() : nullptr);
  return painter ? painter->GetDropDownListBorderWidth() : 0;
}

void TkwBarDropDownListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  // The row painter draws the focus rectangle itself.
  State.Exclude(odFocused);
  if (FCombo) FCombo->DrawItem(Index, Rect, State);
}

void TkwBarDropDownListBox::MeasureItem(int Index, int& Height) {
  if (FCombo) FCombo->MeasureItem(Index, Height);
}

void TkwBarDropDownListBox::Click() {
  if (!FCombo) return;
  TkwBarItemLink* link = FCombo->GetActiveLink();
  if (auto* control = link ? dynamic_cast<TkwBarComboControl*>(link->Control()) : nullptr)
    control->SetItemIndex(ItemIndex());
}

int TkwBarDropDownListBox::RowAt(TPoint Point) const {
  TRect client = ClientRect();
  if (!client.Contains(Point)) return -1;
  return ItemAtPos(Point, true);
}

void TkwBarDropDownListBox::TrackRow(int Row) {
  if (Row < 0 || Row == ItemIndex()) return;
  SetItemIndex(Row);
  Click();
}

void TkwBarDropDownListBox::Choose() {
  if (!FCombo) return;
  int index = ItemIndex();
  if (TkwBarItemLink* link = FCombo->GetActiveLink(); link && link->OriginalLink) link->OriginalLink->MarkUsed(true);
  if (TkwBarManager* manager = FCombo->BarManager()) manager->HideAllMenus();
  if (index >= 0) FCombo->SetItemIndex(index);
}

void TkwBarDropDownListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_ERASEBKGND: Message.Result = 1; break;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_CAPTURECHANGED:
      Tracking = false;
      TCustomListBox::Dispatch(Message);
      break;
    default: TCustomListBox::Dispatch(Message); break;
  }
}

void TkwBarDropDownListBox::WMNCCalcSize(TMessage& Message) {
  TCustomListBox::Dispatch(Message);
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  int border = BorderWidth();
  InflateRect(r, -border, -border);
}

void TkwBarDropDownListBox::WMNCPaint(TMessage& Message) {
  TCustomListBox::Dispatch(Message);
  const TkwBarItemControlPainter* painter = ItemPainterOf(FCombo ? FCombo->BarManager() : nullptr);
  if (!painter || BorderWidth() == 0) return;
  HDC dc = GetWindowDC(Handle());
  RECT w;
  GetWindowRect(Handle(), &w);
  painter->DrawDropDownListBorder(dc, TRect(0, 0, w.right - w.left, w.bottom - w.top));
  ReleaseDC(Handle(), dc);
}

void TkwBarDropDownListBox::WMLButtonDown(TMessage& Message) {
  // The list follows the mouse itself: the native list would take the focus from the editor.
  Tracking = false;
  TrackRow(RowAt(PointOf(Message.LParam)));
  SetCapture(Handle());
}

void TkwBarDropDownListBox::WMLButtonUp(TMessage&) {
  if (Tracking) {
    ReleaseCapture();
    return;
  }
  if (GetCapture() == Handle()) ReleaseCapture();
  Choose();
}

void TkwBarDropDownListBox::WMMouseMove(TMessage& Message) {
  TPoint point = PointOf(Message.LParam);
  int row = RowAt(point);
  if (row >= 0) Tracking = false;
  TrackRow(row);
}

void TkwBarDropDownListBox::WMKeyDown(TMessage& Message) {
  if (ItemIndex() < 0 && Count() > 0) SetItemIndex(TopIndex());
  TCustomListBox::Dispatch(Message);
}

// --- TkwBarCustomCombo -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarCustomCombo)
VELBOR_PUBLISHED(TkwBarCustomCombo,
  Prop("DropDownCount", &Self::DropDownCount, &Self::SetDropDownCount).Default(8),
  Prop("DropDownWidth", &Self::DropDownWidth, &Self::SetDropDownWidth).Default(0),
  Prop("OnDrawItem", &Self::OnDrawItem),
  Prop("OnMeasureItem", &Self::OnMeasureItem))

TkwBarCustomCombo::TkwBarCustomCombo(TComponent* AOwner) : TCustomkwBarCombo(AOwner) {
  FItems = new TStringList();
  FItems->OnChange = TNotifyEvent(this, &TkwBarCustomCombo::ItemsChangedHandler);
  FList = new TkwBarDropDownListBox(nullptr, this);
}

TkwBarCustomCombo::~TkwBarCustomCombo() {
  delete FList;
  FList = nullptr;
  delete FItems;
  FItems = nullptr;
}

String TkwBarCustomCombo::RowText(int Index) const {
  return Index >= 0 && Index < FItems->Count() ? FItems->Strings(Index) : Text();
}

void TkwBarCustomCombo::SetItemIndex(int Value) {
  if (Value == FItemIndex) return;
  if (Value < 0 || Value >= FItems->Count()) Value = -1;
  FItemIndex = Value;
  String text = Value >= 0 ? FItems->Strings(Value) : String();
  if (text != Text()) {
    SetText(text);
    return;
  }
  RepaintLinks();
  Change();
  RepaintLinks();
}

void TkwBarCustomCombo::SetSorted(bool Value) {
  if (Value == FSorted) return;
  FSorted = Value;
  FItems->SetSorted(Value);
  FItemIndex = FItems->IndexOf(Text());
}

void TkwBarCustomCombo::SetText(const String& Value) {
  if (FItemIndex == -1 || FItemIndex >= FItems->Count() || FItems->Strings(FItemIndex) != Value)
    FItemIndex = FItems->IndexOf(Value);
  TCustomkwBarCombo::SetText(Value);
}

void TkwBarCustomCombo::ItemsChanged() {
  if (FItemIndex >= FItems->Count())
    SetItemIndex(-1);
  else
    RepaintLinks();
}

int TkwBarCustomCombo::GetCurrentItemIndex() const {
  TkwBarItemLink* link = GetFocusedLink();
  if (auto* control = link ? dynamic_cast<TkwBarComboControl*>(link->Control()) : nullptr) return control->ItemIndex();
  return FItemIndex;
}

bool TkwBarCustomCombo::CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) {
  return (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) && Shift.Empty();
}

HWND TkwBarCustomCombo::GetDropDownWindow() {
  if (HWND window = TCustomkwBarCombo::GetDropDownWindow()) return window;
  // What the making of the list sets off (the form losing its activation closes the menus) finds
  // no list yet rather than making a second one.
  if (FList->ControlState.Contains(csCreating)) return nullptr;
  FList->HandleNeeded();
  return FList->Handle();
}

TCanvas* TkwBarCustomCombo::GetCanvas() const {
  if (FDrawingCanvas) return FDrawingCanvas;
  if (FList->Canvas()->HandleAllocated()) return FList->Canvas();
  // The list's canvas has a device context only while a row is drawn: measuring (the rows' heights
  // asked for while strings are added) goes through a bitmap's, in the list's font.
  if (!FMeasureBitmap) {
    auto* self = const_cast<TkwBarCustomCombo*>(this);
    self->FMeasureBitmap = std::make_unique<TBitmap>();
    self->FMeasureBitmap->SetSize(1, 1);
  }
  FMeasureBitmap->Canvas()->Font()->Assign(FList->Font());
  return FMeasureBitmap->Canvas();
}

void TkwBarCustomCombo::MeasureItem(int Index, int& Height) {
  Height = FItemHeight > 0 ? FItemHeight : GetCanvas()->TextHeight("Qq");
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TkwBarCustomCombo::GetItemWidth(int Index, int& Width) { Width = GetCanvas()->TextWidth(RowText(Index)) + 2; }

int TkwBarCustomCombo::GetDropDownWidth() {
  int count = FItems->Count();
  int scroll = count > FDropDownCount ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  int w = FDropDownWidth;
  if (FDropDownWidth < 1) {
    if (TkwBarItemLink* link = GetActiveLink()) {
      auto* control = dynamic_cast<TkwBarEditControl*>(link->Control());
      w = link->ItemRect.Width() - (control ? control->GetCaptionWidth() : 0) - 4;
    }
    w -= scroll;
    for (int i = 0; i < count; ++i) {
      int itemWidth = 0;
      GetItemWidth(i, itemWidth);
      w = std::max(w, itemWidth);
    }
  }
  return w + 4 + scroll;
}

void TkwBarCustomCombo::PrepareDropDownWindow() {
  // The list takes the font of the window the combo shows in.
  TkwBarItemLink* link = GetActiveLink();
  if (auto* window = link ? dynamic_cast<TCustomkwBarControl*>(link->GetBarControl()) : nullptr) {
    TOwnedFont font(CloneFontHandle(window->GetFont()));
    FList->Font()->SetHandle(font.Release());
    FList->Font()->SetColor(clWindowText);
  }
  FList->HandleNeeded();
  FList->Items()->Assign(FItems);
  int height = 4;
  int rows = std::min(FItems->Count(), FDropDownCount);
  for (int i = 0; i < rows; ++i) {
    int h = 0;
    MeasureItem(i, h);
    height += h;
  }
  SetWindowPos(FList->Handle(), nullptr, 0, 0, GetDropDownWidth(), height,
               SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
}

void TkwBarCustomCombo::DroppedDown() {
  if (IsPrimaryMouseButtonDown()) {
    SetCapture(FList->Handle());
    FList->Tracking = true;
  } else {
    FList->Tracking = false;
  }
}

void TkwBarCustomCombo::DropDown(int X, int Y) {
  TCustomkwBarCombo::DropDown(X, Y);
  SyncListWithText();
}

void TkwBarCustomCombo::CloseUp() {
  if (FList->HandleAllocated() && GetCapture() == FList->Handle()) ReleaseCapture();
  // A list never made has nothing to hide.
  if (!FList->HandleAllocated()) {
    if (OnCloseUp) OnCloseUp(this);
    return;
  }
  TCustomkwBarCombo::CloseUp();
}

void TkwBarCustomCombo::CurChange() {
  TCustomkwBarCombo::CurChange();
  SyncListWithText();
}

int TkwBarCustomCombo::FindItemByPrefix(const String& Text) const {
  String text = AnsiUpperCase(Text);
  if (text.empty()) return -1;
  std::size_t best = 0;
  int result = -1;
  for (int i = 0; i < FItems->Count(); ++i) {
    String s = AnsiUpperCase(FItems->Strings(i));
    if (s.compare(0, best, text, 0, best) != 0 || s.size() < best) continue;
    std::size_t k = best;
    while (k < s.size() && k < text.size() && s[k] == text[k]) {
      ++k;
      best = k;
      result = i;
    }
    if (best == text.size()) return result;
  }
  return result;
}

void TkwBarCustomCombo::SyncListWithText() {
  TkwBarItemLink* link = GetActiveLink();
  auto* control = link ? dynamic_cast<TkwBarComboControl*>(link->Control()) : nullptr;
  if (!control) return;
  String text = control->GetText();
  int i = control->ItemIndex();
  if (i < 0 || FItems->Count() == 0 || i >= FItems->Count() || FItems->Strings(i) != text) i = FindItemByPrefix(text);
  control->SetItemIndexOnly(i);
  if (!GetDroppedDown() || !FList->HandleAllocated()) return;
  if (i >= 0 && AnsiUpperCase(FItems->Strings(i)) == AnsiUpperCase(text)) {
    FList->SetItemIndex(i);
  } else {
    FList->SetItemIndex(-1);
    if (i >= 0) FList->SetTopIndex(i);
  }
}

void TkwBarCustomCombo::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
  } else if (const TkwBarItemControlPainter* painter = ItemPainterOf(BarManager())) {
    painter->DrawComboListItem(GetCanvas(), Rect, RowText(Index), State.Contains(odSelected),
                               State.Contains(odFocused), FDrawingInControl);
  }
  if (State.Contains(odFocused)) DrawFocusRect(GetCanvas()->Handle(), AsRECT(Rect));
}

void TkwBarCustomCombo::DrawValue(TkwBarWinControl* Control, TkwBarItemLink* Link, TCanvas* Canvas, const TRect& Rect) {
  FDrawingCanvas = Canvas;
  FDrawingInControl = true;
  TScopeGuard reset([&] {
    FDrawingCanvas = nullptr;
    FDrawingInControl = false;
  });
  auto* control = dynamic_cast<TkwBarComboControl*>(Control);
  int index = Link && Link == GetFocusedLink() && control ? control->ItemIndex() : FItemIndex;
  DrawItem(index, Rect, TOwnerDrawState());
}

VELBOR_IMPLEMENT_CLASS(TkwBarCombo)
VELBOR_PUBLISHED(TkwBarCombo,
  Prop("ItemHeight", &Self::ItemHeight, &Self::SetItemHeight).Default(0),
  Prop("Items", &Self::Items, &Self::SetItems),
  Prop("Sorted", &Self::Sorted, &Self::SetSorted).Default(false),
  Prop("ItemIndex", &Self::ItemIndex, &Self::SetItemIndex).Default(-1))

// --- TCustomkwBarComboControl ------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomkwBarComboControl)

TCustomkwBarComboControl::~TCustomkwBarComboControl() {
  if (FDroppedDown) {
    FDroppedDown = false;
    if (TCustomkwBarCombo* combo = Combo(); combo && !combo->IsDestroying()) combo->CloseUp();
  }
}

HWND TCustomkwBarComboControl::GetDropDownWindow() const {
  TCustomkwBarCombo* combo = Combo();
  return FDroppedDown && combo ? combo->GetDropDownWindow() : nullptr;
}

void TCustomkwBarComboControl::SetDroppedDown(bool Value) {
  TCustomkwBarCombo* combo = Combo();
  if (Value == FDroppedDown || !combo || combo->ReadOnly()) return;
  FDroppedDown = Value;
  Repaint();
  if (!Value) {
    combo->CloseUp();
    return;
  }
  TCustomkwBarControl* window = Window();
  if (!window || !window->HandleAllocated()) {
    FDroppedDown = false;
    return;
  }
  TRect r = window->GetItemRect(this);
  TPoint point = window->IsSubMenu() || IsVerticalBarControl(window) ? TPoint(r.Right, r.Top)
                                                                      : TPoint(r.Left + GetCaptionWidth(), r.Bottom);
  ::ClientToScreen(window->Handle(), AsPOINT(&point));
  combo->DropDown(point.X, point.Y);
  // Without a drop-down window nothing is open: the control is not dropped down either.
  if (FDroppedDown && !combo->GetDropDownWindow()) {
    FDroppedDown = false;
    if (IsLiveBarControl(window) && window->HasItemControl(this)) Repaint();
  }
}

void TCustomkwBarComboControl::ControlInactivate(bool Now) {
  SetDroppedDown(false);
  TkwBarEditControl::ControlInactivate(Now);
}

TRect TCustomkwBarComboControl::DropDownTarget() const {
  TRect r = FButtonRect;
  TCustomkwBarCombo* combo = Combo();
  if (combo && !combo->ShowEditor()) r.Left = std::min(r.Left, GetEditRect().Left);
  TCustomkwBarControl* window = Window();
  if (window && window->HandleAllocated() && FEditWindow)
    MapWindowPoints(window->Handle(), FEditWindow, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void TCustomkwBarComboControl::EditWndProc(TMessage& Message) {
  TCustomkwBarCombo* combo = Combo();
  if (!combo) {
    TkwBarEditControl::EditWndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: {
      WORD key = WORD(Message.WParam);
      if (Message.Msg == WM_KEYDOWN && key == VK_F4) {
        SetDroppedDown(!FDroppedDown);
        return;
      }
      HWND dropDown = FDroppedDown ? combo->GetDropDownWindow() : nullptr;
      if (dropDown) {
        bool route = Message.Msg == WM_CHAR ? FKeyRouted
                                            : combo->CheckKeyForDropDownWindow(key, KeyDataToShiftState(Message.LParam));
        if (Message.Msg == WM_KEYDOWN) FKeyRouted = route;
        if (route) {
          Message.Result = SendMessageA(dropDown, Message.Msg, Message.WParam, Message.LParam);
          return;
        }
      }
      break;
    }
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
      WORD key = WORD(Message.WParam);
      bool alt = (Message.LParam & (1 << 29)) != 0;
      if ((key == VK_UP || key == VK_DOWN) && alt) {
        if (Message.Msg == WM_SYSKEYDOWN) SetDroppedDown(!FDroppedDown);
        return;
      }
      break;
    }
    default:
      break;
  }
  HWND edit = FEditWindow;
  TkwBarEditControl::EditWndProc(Message);
  if (!edit || edit != FEditWindow || !IsWindowVisible(edit)) return;
  UINT msg = Message.Msg;
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) FPressedWhileDropped = FDroppedDown;
  if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK && msg != WM_LBUTTONUP) return;
  if (!DropDownTarget().Contains(PointOf(Message.LParam))) return;
  bool press = msg != WM_LBUTTONUP;
  if ((!FPressedWhileDropped && press) || (FPressedWhileDropped && !press)) SetDroppedDown(!FDroppedDown);
}

void TCustomkwBarComboControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = Window();
  TCustomkwBarCombo* combo = Combo();
  if (!window || !combo || Rect.Width() == 0) return;
  const TkwBarItemControlPainter* painter = window->Painter();
  bool selected = IsSelected();
  bool enabled = GetEnabled();
  TRect inner = DrawCaptionAndFrame(Rect, Kind, selected);
  TRect edit = inner;
  edit.Right -= painter->GetComboButtonGap() + window->ComboButtonWidth();
  if (enabled) SetEditRectField(edit);
  HDC dc = window->Canvas()->Handle();
  if (!(enabled && Focused() && combo->ShowEditor())) DrawValuePart(dc, edit);
  TRect button;
  painter->DrawComboButton(this, dc, Kind, selected, enabled, FDroppedDown, inner, button);
  FButtonRect = button;
}

void TCustomkwBarComboControl::DrawValuePart(HDC DC, const TRect& Rect) {
  TCustomkwBarCombo* combo = Combo();
  TCustomkwBarControl* window = Window();
  if (!combo || !window) return;
  COLORREF text, back;
  window->Painter()->GetEditColors(this, text, back);
  TSavedDC saved(DC);
  IntersectClipRect(DC, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  TCanvas canvas;
  canvas.SetHandle(DC);
  canvas.Font()->Assign(window->Canvas()->Font());
  canvas.Font()->SetColor(TColor(text));
  canvas.Brush()->SetColor(TColor(back));
  combo->DrawValue(this, Link(), &canvas, Rect);
  canvas.SetHandle(nullptr);
}

// --- TkwBarComboControl -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarComboControl)

void TkwBarComboControl::SetItemIndexOnly(int Index) { FItemIndex = Index; }

void TkwBarComboControl::SetItemIndex(int Index) {
  FItemIndex = Index;
  TkwBarCustomCombo* combo = StringCombo();
  if (!combo) return;
  if (Index >= 0 && Index < combo->Items()->Count())
    SetText(combo->Items()->Strings(Index));
  else
    SetText(combo->Text());
  if (combo->EditorHidden()) Repaint();
}

void TkwBarComboControl::SetFocused(bool Value) {
  if (Value && !Focused()) {
    SetSettingText(true);
    TScopeGuard guard([&] { SetSettingText(false); });
    if (TkwBarCustomCombo* combo = StringCombo()) SetItemIndex(combo->ItemIndex());
  }
  TCustomkwBarComboControl::SetFocused(Value);
}

void TkwBarComboControl::EditWndProc(TMessage& Message) {
  TkwBarCustomCombo* combo = StringCombo();
  if (Message.Msg != WM_KEYDOWN || !combo) {
    TCustomkwBarComboControl::EditWndProc(Message);
    return;
  }
  WORD key = WORD(Message.WParam);
  if (key == VK_RETURN || key == VK_TAB) {
    if (FItemIndex == -1 || FItemIndex >= combo->Items()->Count() ||
        GetText() != combo->Items()->Strings(FItemIndex)) {
      TCustomkwBarComboControl::EditWndProc(Message);
      return;
    }
    HWND edit = FEditWindow;
    combo->SetItemIndex(FItemIndex);
    if (edit && edit == FEditWindow && IsWindowVisible(edit)) TCustomkwBarComboControl::EditWndProc(Message);
    return;
  }
  TShiftState shift = KeyDataToShiftState(Message.LParam);
  if (IsDroppedDown() || (key != VK_UP && key != VK_DOWN) || !shift.Empty() || GetKeyState(VK_SHIFT) < 0 ||
      GetKeyState(VK_CONTROL) < 0) {
    TCustomkwBarComboControl::EditWndProc(Message);
    return;
  }
  // Up and Down step through the strings; the key never reaches the edit window.
  if (key == VK_UP && FItemIndex > 0) SetItemIndex(FItemIndex - 1);
  if (key == VK_DOWN && FItemIndex < combo->Items()->Count() - 1) SetItemIndex(FItemIndex + 1);
}
