// This file implements TCustomComboBox/TComboBox over the native COMBOBOX control: its styles,
// Items, selection, drop-down state, owner drawing and the keys of its inner edit.
#include "ListControls.h"

#include <algorithm>

#include "Format.h"
#include "Forms.h"

namespace {
const TNativeListStrings::TMessages ComboBoxMessages = {
    CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,    CB_ADDSTRING,       CB_INSERTSTRING, CB_DELETESTRING,
    CB_RESETCONTENT, CB_GETITEMDATA,  CB_SETITEMDATA, CB_FINDSTRINGEXACT, CB_ERR};

// The property that joins a combo's inner edit to its control.
const char* const ComboEditProp = "VelborComboEdit";
}  // namespace

VELBOR_IMPLEMENT_CLASS(TCustomComboBox)
VELBOR_PUBLISHED(TCustomComboBox,
  Prop("Style", &Self::Style, &Self::SetStyle).Default(csDropDown),
  Prop("Items", &Self::Items, &Self::SetItems),
  Prop("ItemIndex", &Self::ItemIndex, &Self::SetItemIndex).Default(-1),
  Prop("Sorted", &Self::Sorted, &Self::SetSorted).Default(false),
  Prop("DropDownCount", &Self::DropDownCount, &Self::SetDropDownCount).Default(8),
  Prop("ItemHeight", &Self::ItemHeight, &Self::SetItemHeight),
  Prop("MaxLength", &Self::MaxLength, &Self::SetMaxLength).Default(0),
  Prop("Text", &Self::Text, &Self::SetText),
  Prop("OnChange", &Self::OnChange),
  Prop("OnSelect", &Self::OnSelect),
  Prop("OnDropDown", &Self::OnDropDown),
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnDrawItem", &Self::OnDrawItem),
  Prop("OnMeasureItem", &Self::OnMeasureItem))

VELBOR_IMPLEMENT_CLASS(TComboBox)

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FItems = new TNativeListStrings(this, ComboBoxMessages);
  FCanvas = new TCanvas();
}

TCustomComboBox::~TCustomComboBox() {
  Destroying();
  DestroyHandle();
  delete FCanvas;
  delete FItems;
}

LRESULT TCustomComboBox::Send(UINT Msg, WPARAM W, LPARAM L) const {
  return SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), Msg, W, L);
}

int TCustomComboBox::ItemIndex() const { return HandleAllocated() ? int(Send(CB_GETCURSEL)) : FSavedIndex; }

void TCustomComboBox::SetItemIndex(int Value) {
  if (!HandleAllocated()) {
    FSavedIndex = Value;
    return;
  }
  Send(CB_SETCURSEL, WPARAM(Value));
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  // A simple combo is as high as its list; the others show their edit only.
  if (Value == csSimple) ControlStyle.Exclude(csFixedHeight);
  else ControlStyle.Include(csFixedHeight);
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  FItems->SetSorted(Value);
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int Value) {
  if (Value < 1 || FDropDownCount == Value) return;
  FDropDownCount = Value;
  FixDroppedHeight();
}

int TCustomComboBox::ItemHeight() const {
  if (HandleAllocated() && FStyle != csOwnerDrawFixed && FStyle != csOwnerDrawVariable) {
    return int(Send(CB_GETITEMHEIGHT, 0));
  }
  return FItemHeight;
}

void TCustomComboBox::SetItemHeight(int Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  if (HandleAllocated() && FStyle == csOwnerDrawFixed) RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int Value) {
  FMaxLength = std::max(Value, 0);
  if (HandleAllocated()) Send(CB_LIMITTEXT, WPARAM(FMaxLength));
}

bool TCustomComboBox::DroppedDown() const { return HandleAllocated() && Send(CB_GETDROPPEDSTATE) != 0; }

void TCustomComboBox::SetDroppedDown(bool Value) { Send(CB_SHOWDROPDOWN, Value ? TRUE : FALSE); }

int TCustomComboBox::SelStart() const {
  DWORD start = 0, end = 0;
  Send(CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
  return int(start);
}

void TCustomComboBox::SetSelStart(int Value) { Send(CB_SETEDITSEL, 0, MAKELPARAM(Value, Value)); }

int TCustomComboBox::SelLength() const {
  DWORD start = 0, end = 0;
  Send(CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
  return int(end) - int(start);
}

void TCustomComboBox::SetSelLength(int Value) {
  int start = SelStart();
  Send(CB_SETEDITSEL, 0, MAKELPARAM(start, start + Value));
}

String TCustomComboBox::SelText() const {
  String text = Text();
  std::size_t start = std::min<std::size_t>(std::size_t(SelStart()), text.size());
  return text.substr(start, std::size_t(std::max(SelLength(), 0)));
}

bool TCustomComboBox::Focused() const {
  HWND focus = GetFocus();
  return focus && (focus == FHandle || (FEditHandle && focus == FEditHandle));
}

void TCustomComboBox::Clear() {
  SetText("");
  FItems->Clear();
}

void TCustomComboBox::SelectAll() { Send(CB_SETEDITSEL, 0, MAKELPARAM(0, -1)); }

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

// A choice from the list: OnSelect when assigned, otherwise it counts as a change of the text.
void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
  else Change();
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < FItems->Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "COMBOBOX");
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  switch (FStyle) {
    case csDropDown: Params.Style |= CBS_DROPDOWN; break;
    case csSimple: Params.Style |= CBS_SIMPLE; break;
    case csDropDownList: Params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
  }
  if (FSorted) Params.Style |= CBS_SORT;
  if (FStyle != csSimple) Params.Height = FHeight + FItemHeight * FDropDownCount + 2;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateWindowHandle(const TCreateParams& Params) {
  CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                  Params.Y, Params.Width, Params.Height, Params.WndParent,
                  reinterpret_cast<HMENU>(INT_PTR(AllocateControlID())), Params.WindowClass.hInstance, Params.Param);
}

LRESULT CALLBACK ComboEditWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* combo = static_cast<TCustomComboBox*>(GetPropA(Wnd, ComboEditProp));
  if (!combo) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  WNDPROC original = combo->FEditDefProc;
  if (Msg == WM_NCDESTROY) {
    RemovePropA(Wnd, ComboEditProp);
    SetWindowLongPtrA(Wnd, GWLP_WNDPROC, LONG_PTR(original));
    if (combo->FEditHandle == Wnd) combo->FEditHandle = nullptr;
    return CallWindowProcA(original, Wnd, Msg, WParam, LParam);
  }
  TMessage m{Msg, WParam, LParam, 0};
  try {
    combo->EditWndProc(Wnd, m);
  } catch (...) {
    try {
      HandleApplicationException(combo);
    } catch (...) {
      // Nothing more can be done inside a callback.
    }
  }
  return m.Result;
}

void TCustomComboBox::EditWndProc(HWND Wnd, TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(Message)) return;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoKeyUp(Message)) return;
      break;
    case WM_CHAR:
      if (DoKeyPress(Message)) return;
      break;
    case WM_SETFOCUS:
      // The edit holds the focus for the combo: the form sees the combo as its active control.
      if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this)) return;
      break;
    default:
      break;
  }
  Message.Result = CallWindowProcA(FEditDefProc, Wnd, Message.Msg, Message.WParam, Message.LParam);
}

void TCustomComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateBounds();
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if ((FStyle == csDropDown || FStyle == csSimple) && GetComboBoxInfo(FHandle, &info) && info.hwndItem &&
      info.hwndItem != FHandle) {
    FEditHandle = info.hwndItem;
    SetPropA(FEditHandle, ComboEditProp, this);
    FEditDefProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(FEditHandle, GWLP_WNDPROC, LONG_PTR(&ComboEditWndProc)));
  }
  if (FMaxLength > 0) Send(CB_LIMITTEXT, WPARAM(FMaxLength));
  String text = FText;
  FItems->WindowCreated();
  if (FSavedIndex >= 0) Send(CB_SETCURSEL, WPARAM(FSavedIndex));
  else if (!text.empty() && FEditHandle) SetWindowTextA(FHandle, text.c_str());
  FSavedIndex = -1;
}

void TCustomComboBox::DestroyWnd() {
  FSavedIndex = ItemIndex();
  FItems->WindowDestroying();
  if (FEditHandle) {
    RemovePropA(FEditHandle, ComboEditProp);
    SetWindowLongPtrA(FEditHandle, GWLP_WNDPROC, LONG_PTR(FEditDefProc));
    FEditHandle = nullptr;
  }
  TWinControl::DestroyWnd();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  FixDroppedHeight();
}

void TCustomComboBox::FixDroppedHeight() {
  if (!HandleAllocated() || FStyle == csSimple) return;
  int listHeight = ItemHeight() * FDropDownCount + 2;
  SetWindowPos(FHandle, nullptr, 0, 0, FWidth, FHeight + listHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateBounds();
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case CBN_SELCHANGE: {
      // The native edit shows the choice only after this notification; the text follows now.
      int i = ItemIndex();
      if (i >= 0 && FEditHandle) SetWindowTextA(FHandle, FItems->Get(i).c_str());
      Click();
      Select();
      break;
    }
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_CLOSEUP: CloseUp(); break;
    default: break;
  }
}

void TCustomComboBox::CNDrawItem(TMessage& Message) {
  PaintOwnerDrawnRow(FCanvas, Font(), Brush(), *reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam),
                     [this](int Index, const TRect& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
  Message.Result = 1;
}

void TCustomComboBox::CNMeasureItem(TMessage& Message) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  int height = FItemHeight;
  // The edit part (item -1) keeps the fixed height; list rows of the variable style ask.
  if (FStyle == csOwnerDrawVariable && int(mis->itemID) >= 0) MeasureItem(int(mis->itemID), height);
  mis->itemHeight = UINT(std::max(height, 1));
  Message.Result = 1;
}

void RegisterListControls() {
  RegisterClass(TListBox::StaticClass());
  RegisterClass(TComboBox::StaticClass());
}
