// This file implements the Items list shared by the list controls (TNativeListStrings) and
// TCustomListBox/TListBox over the native LISTBOX control.
#include "ListControls.h"

#include <algorithm>

#include "Format.h"
#include "ScopeGuard.h"
#include "TextOrder.h"

namespace {

// Child windows get an identifier of their own: WM_MEASUREITEM names its control by it only.
int NextControlID = 0x4000;

}  // namespace

int AllocateControlID() {
  if (++NextControlID > 0x7FFF) NextControlID = 0x4001;
  return NextControlID;
}

// --- TNativeListStrings ---------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TNativeListStrings)

TNativeListStrings::TNativeListStrings(TWinControl* Control, const TMessages& Msgs)
    : FControl(Control), FMsgs(Msgs), FSaved(new TStringList()) {
  FSaved->Duplicates = dupAccept;
}

TNativeListStrings::~TNativeListStrings() { delete FSaved; }

LRESULT TNativeListStrings::Send(UINT Msg, WPARAM W, LPARAM L) const {
  return SendMessageA(FControl->Handle(), Msg, W, L);
}

String TNativeListStrings::Get(int Index) const {
  if (!Live()) return FSaved->Get(Index);
  LRESULT length = Send(FMsgs.GetTextLen, WPARAM(Index));
  if (length == FMsgs.ErrorResult) ListIndexError(Index);
  String text(std::size_t(length) + 1, '\0');
  length = Send(FMsgs.GetText, WPARAM(Index), LPARAM(text.data()));
  text.resize(std::size_t(std::max<LRESULT>(length, 0)));
  return text;
}

TObject* TNativeListStrings::GetObject(int Index) const {
  if (!Live()) return FSaved->GetObject(Index);
  LRESULT data = Send(FMsgs.GetItemData, WPARAM(Index));
  if (data == FMsgs.ErrorResult) ListIndexError(Index);
  return reinterpret_cast<TObject*>(data);
}

void TNativeListStrings::PutObject(int Index, TObject* AObject) {
  if (!Live()) {
    FSaved->PutObject(Index, AObject);
    return;
  }
  if (Send(FMsgs.SetItemData, WPARAM(Index), LPARAM(AObject)) == FMsgs.ErrorResult) ListIndexError(Index);
}

int TNativeListStrings::GetCount() const { return Live() ? int(Send(FMsgs.GetCount)) : FSaved->Count(); }

int TNativeListStrings::Add(const String& S) {
  if (!Live()) {
    int i = FSaved->Count();
    if (FSorted) {
      // After the last line that does not sort after it, as the native sorted list adds.
      while (i > 0 && CompareText(FSaved->Get(i - 1), S) > 0) --i;
    }
    FSaved->Insert(i, S);
    Changed();
    return i;
  }
  LRESULT i = Send(FMsgs.AddString, 0, LPARAM(S.c_str()));
  if (i < 0) throw EOutOfResources(Format("Impossible d'insérer une ligne (%s)"_a, {S}));
  Changed();
  return int(i);
}

void TNativeListStrings::Insert(int Index, const String& S) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  if (!Live()) {
    FSaved->Insert(Index, S);
    Changed();
    return;
  }
  if (Send(FMsgs.InsertString, WPARAM(Index), LPARAM(S.c_str())) < 0) {
    throw EOutOfResources(Format("Impossible d'insérer une ligne (%s)"_a, {S}));
  }
  Changed();
}

void TNativeListStrings::Delete(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  if (!Live()) FSaved->Delete(Index);
  else Send(FMsgs.DeleteString, WPARAM(Index));
  Changed();
}

void TNativeListStrings::Clear() {
  if (!Live()) FSaved->Clear();
  else Send(FMsgs.ResetContent);
  Changed();
}

void TNativeListStrings::Exchange(int Index1, int Index2) {
  if (Index1 == Index2) return;
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  String s1 = Get(Index1), s2 = Get(Index2);
  TObject* o1 = GetObject(Index1);
  TObject* o2 = GetObject(Index2);
  if (!Live()) {
    FSaved->Exchange(Index1, Index2);
  } else {
    Delete(Index1);
    Insert(Index1, s2);
    PutObject(Index1, o2);
    Delete(Index2);
    Insert(Index2, s1);
    PutObject(Index2, o1);
  }
}

int TNativeListStrings::IndexOf(const String& S) const {
  if (!Live()) return FSaved->IndexOf(S);
  // The native search is case-insensitive and whole-line, as the platform's lists answer.
  LRESULT i = Send(FMsgs.FindStringExact, WPARAM(-1), LPARAM(S.c_str()));
  return i < 0 ? -1 : int(i);
}

void TNativeListStrings::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (!Live() && Value) {
    std::vector<std::pair<String, TObject*>> lines;
    for (int i = 0; i < FSaved->Count(); ++i) lines.emplace_back(FSaved->Get(i), FSaved->GetObject(i));
    std::stable_sort(lines.begin(), lines.end(), [](auto& a, auto& b) { return CompareText(a.first, b.first) < 0; });
    FSaved->Clear();
    for (auto& [line, object] : lines) FSaved->AddObject(line, object);
  }
}

void TNativeListStrings::SetUpdateState(bool Updating) {
  if (Live()) {
    SendMessageA(FControl->Handle(), WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
    if (!Updating) FControl->Refresh();
  }
}

void TNativeListStrings::WindowCreated() {
  FLive = true;
  for (int i = 0; i < FSaved->Count(); ++i) {
    LRESULT at = Send(FMsgs.AddString, 0, LPARAM(FSaved->Get(i).c_str()));
    if (at >= 0 && FSaved->GetObject(i)) Send(FMsgs.SetItemData, WPARAM(at), LPARAM(FSaved->GetObject(i)));
  }
  FSaved->Clear();
}

void TNativeListStrings::WindowDestroying() {
  if (!Live()) return;
  FSaved->Clear();
  int n = GetCount();
  for (int i = 0; i < n; ++i) FSaved->AddObject(Get(i), GetObject(i));
  FLive = false;
}

// --- TCustomListBox -------------------------------------------------------------------------

namespace {
const TNativeListStrings::TMessages ListBoxMessages = {
    LB_GETCOUNT,    LB_GETTEXTLEN,   LB_GETTEXT,      LB_ADDSTRING,       LB_INSERTSTRING, LB_DELETESTRING,
    LB_RESETCONTENT, LB_GETITEMDATA, LB_SETITEMDATA, LB_FINDSTRINGEXACT, LB_ERR};
}  // namespace

VELBOR_IMPLEMENT_CLASS(TCustomListBox)
VELBOR_PUBLISHED(TCustomListBox,
  Prop("Items", &Self::Items, &Self::SetItems),
  Prop("ItemIndex", &Self::ItemIndex, &Self::SetItemIndex).Stored(false),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(lbStandard),
  Prop("ItemHeight", &Self::ItemHeight, &Self::SetItemHeight),
  Prop("Sorted", &Self::Sorted, &Self::SetSorted).Default(false),
  Prop("MultiSelect", &Self::MultiSelect, &Self::SetMultiSelect).Default(false),
  Prop("ExtendedSelect", &Self::ExtendedSelect, &Self::SetExtendedSelect).Default(true),
  Prop("IntegralHeight", &Self::IntegralHeight, &Self::SetIntegralHeight).Default(false),
  Prop("Columns", &Self::Columns, &Self::SetColumns).Default(0),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSingle),
  Prop("OnDrawItem", &Self::OnDrawItem),
  Prop("OnMeasureItem", &Self::OnMeasureItem))

VELBOR_IMPLEMENT_CLASS(TListBox)

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csSetCaption, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FItems = new TNativeListStrings(this, ListBoxMessages);
  FCanvas = new TCanvas();
}

TCustomListBox::~TCustomListBox() {
  Destroying();
  DestroyHandle();
  delete FCanvas;
  delete FItems;
}

LRESULT TCustomListBox::Send(UINT Msg, WPARAM W, LPARAM L) const {
  return SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), Msg, W, L);
}

int TCustomListBox::ItemIndex() const {
  if (!HandleAllocated()) return FSavedIndex;
  return int(FMultiSelect ? Send(LB_GETCARETINDEX) : Send(LB_GETCURSEL));
}

void TCustomListBox::SetItemIndex(int Value) {
  if (!HandleAllocated()) {
    FSavedIndex = Value;
    return;
  }
  if (FMultiSelect) Send(LB_SETCARETINDEX, WPARAM(Value), 0);
  else Send(LB_SETCURSEL, WPARAM(Value));
}

bool TCustomListBox::Selected(int Index) const {
  LRESULT r = Send(LB_GETSEL, WPARAM(Index));
  if (r == LB_ERR) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return r != 0;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= Count()) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  if (FMultiSelect) {
    Send(LB_SETSEL, Value, LPARAM(Index));
  } else if (Value) {
    Send(LB_SETCURSEL, WPARAM(Index));
  } else if (ItemIndex() == Index) {
    Send(LB_SETCURSEL, WPARAM(-1));
  }
}

int TCustomListBox::SelCount() const { return FMultiSelect ? int(Send(LB_GETSELCOUNT)) : -1; }

int TCustomListBox::TopIndex() const { return HandleAllocated() ? int(Send(LB_GETTOPINDEX)) : FSavedTop; }

void TCustomListBox::SetTopIndex(int Value) {
  if (HandleAllocated()) Send(LB_SETTOPINDEX, WPARAM(Value));
  else FSavedTop = Value;
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

int TCustomListBox::ItemHeight() const {
  if (HandleAllocated() && FStyle == lbStandard) return int(Send(LB_GETITEMHEIGHT, 0));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  if (HandleAllocated() && FStyle == lbOwnerDrawFixed) RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  FItems->SetSorted(Value);
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  RecreateWnd();
}

void TCustomListBox::SetColumns(int Value) {
  if (FColumns == Value) return;
  // One column more or less keeps the list multi-column: the column width alone changes.
  bool recreate = (FColumns == 0) != (Value == 0);
  FColumns = Value;
  if (recreate) RecreateWnd();
  else if (HandleAllocated() && Value > 0) Send(LB_SETCOLUMNWIDTH, WPARAM(Width() / Value));
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomListBox::ClearSelection() {
  if (FMultiSelect) Send(LB_SETSEL, FALSE, -1);
  else Send(LB_SETCURSEL, WPARAM(-1));
}

void TCustomListBox::SelectAll() {
  if (FMultiSelect) Send(LB_SETSEL, TRUE, -1);
}

void TCustomListBox::DeleteSelected() {
  if (!FMultiSelect) {
    if (int i = ItemIndex(); i >= 0) FItems->Delete(i);
    return;
  }
  FItems->BeginUpdate();
  for (int i = Count() - 1; i >= 0; --i) {
    if (Selected(i)) FItems->Delete(i);
  }
  FItems->EndUpdate();
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
  int count = Count();
  int top = TopIndex();
  for (int i = top; i < count; ++i) {
    TRect r = ItemRect(i);
    if (r.Top > ClientHeight()) break;
    if (r.Contains(Pos)) return i;
  }
  return Existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int Index) const {
  RECT r{};
  if (Index >= 0 && Index < Count()) {
    Send(LB_GETITEMRECT, WPARAM(Index), LPARAM(&r));
  } else if (Index == Count()) {
    // The place a new last item would take.
    int h = ItemHeight();
    if (Index > 0) Send(LB_GETITEMRECT, WPARAM(Index - 1), LPARAM(&r));
    r = RECT{r.left, r.bottom, Index > 0 ? r.right : ClientWidth(), r.bottom + h};
  }
  return r;
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "LISTBOX");
  Params.Style |= WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_WANTKEYBOARDINPUT;
  if (FSorted) Params.Style |= LBS_SORT;
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FColumns > 0) Params.Style |= LBS_MULTICOLUMN;
  if (FStyle == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  if (FStyle == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWindowHandle(const TCreateParams& Params) {
  CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                  Params.Y, Params.Width, Params.Height, Params.WndParent,
                  reinterpret_cast<HMENU>(INT_PTR(AllocateControlID())), Params.WindowClass.hInstance, Params.Param);
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (FColumns > 0) Send(LB_SETCOLUMNWIDTH, WPARAM(Width() / FColumns));
  FItems->WindowCreated();
  if (FMultiSelect) {
    for (int i : FSavedSelection) Send(LB_SETSEL, TRUE, LPARAM(i));
  }
  FSavedSelection.clear();
  SetItemIndex(FSavedIndex);
  Send(LB_SETTOPINDEX, WPARAM(std::max(FSavedTop, 0)));
  FSavedIndex = -1;
}

void TCustomListBox::DestroyWnd() {
  FSavedIndex = ItemIndex();
  FSavedTop = TopIndex();
  FSavedSelection.clear();
  if (FMultiSelect) {
    for (int i = 0, n = Count(); i < n; ++i) {
      if (Selected(i)) FSavedSelection.push_back(i);
    }
  }
  FItems->WindowDestroying();
  TWinControl::DestroyWnd();
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TCustomListBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    default: break;
  }
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
  PaintOwnerDrawnRow(FCanvas, Font(), Brush(), *reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam),
                     [this](int Index, const TRect& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
  Message.Result = 1;
}

void TCustomListBox::CNMeasureItem(TMessage& Message) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  int height = FItemHeight;
  if (FStyle == lbOwnerDrawVariable) MeasureItem(int(mis->itemID), height);
  mis->itemHeight = UINT(std::max(height, 1));
  Message.Result = 1;
}
