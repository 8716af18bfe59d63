// This file implements the data-aware combo box's values and items, its data link, the drop-down
// and close-up of its list with the thread mouse hook, its keys and its history (see Qvdbcomb.h).
#include "Qvdbcomb.h"

#include <algorithm>

#include "Forms.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "qvControlUtils.h"
#include "qvDataSetUtils.h"
#include "qvMouseHook.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvDBCustomComboBox)

namespace {
bool IsComboGlyphStored(TObject* Instance) {
  return static_cast<TqvDBCustomComboBox*>(Instance)->IsButtonGlyphStored();
}
}  // namespace

VELBOR_IMPLEMENT_CLASS(TqvDBComboBox)
VELBOR_PUBLISHED(TqvDBComboBox,
  Prop("Controller", &Self::Controller, &Self::SetController),
  Prop("DisableThemes", &Self::DisableThemes).Default(false),
  Prop("AutoEnableEdit", &Self::AutoEnableEdit).Default(true),
  Prop("ButtonStyle", &Self::ButtonStyle, &Self::SetButtonStyle).Default(cbsDownArrow),
  Prop("ButtonEffects", &Self::ButtonEffects, &Self::SetButtonEffects),
  Prop("ButtonWidth", &Self::ButtonWidth, &Self::SetButtonWidth).Default(0),
  Prop("ButtonGlyph", &Self::ButtonGlyph, &Self::SetButtonGlyph).Stored(&IsComboGlyphStored),
  Prop("Frame", &Self::Frame, &Self::SetFrame),
  Prop("Picture", &Self::GetPicture, &Self::SetPicture),
  Prop("ShowButton", &Self::ShowButton, &Self::SetShowButton),
  // The setter is virtual: the combo box's runs.
  Prop("Style", &Self::Style, &TqvDBCustomCombo::SetStyle),
  Prop("MapList", &Self::MapList, &Self::SetMapList),
  Prop("AllowClearKey", &Self::AllowClearKey),
  Prop("AutoDropDown", &Self::AutoDropDown).Default(false),
  Prop("ShowMatchText", &Self::ShowMatchText).Default(false),
  Prop("Column1Width", &Self::Column1Width).Default(0),
  Prop("DisableDropDownList", &Self::DisableDropDownList).Default(false),
  Prop("DropDownCount", &Self::DropDownCount).Default(8),
  Prop("DropDownWidth", &Self::DropDownWidth).Default(0),
  Prop("HistoryList", &Self::HistoryList, &Self::SetHistoryList),
  Prop("ItemHeight", &Self::ItemHeight).Default(0),
  Prop("Items", &Self::Items, &Self::SetItems),
  Prop("ItemIndex", &Self::GetItemIndex, &Self::SetItemIndex).Default(-1).Stored(false),
  Prop("Sorted", &Self::Sorted, &Self::SetSorted).Default(false),
  Prop("TwoColumnDisplay", &Self::TwoColumnDisplay).Default(false),
  Prop("EditAlignment", &Self::EditAlignment, &Self::SetEditAlignment).Default(eaLeftAlignEditing),
  Prop("UsePictureMask", &Self::UsePictureMask, &Self::SetUsePictureMask).Default(true),
  Prop("UnboundAlignment", &Self::UnboundAlignment, &Self::SetUnboundAlignment).Default(taLeftJustify),
  Prop("OnAddHistoryItem", &Self::OnAddHistoryItem),
  Prop("OnDropDown", &Self::OnDropDown),
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnDrawItem", &Self::OnDrawItem),
  Prop("OnMeasureItem", &Self::OnMeasureItem))

namespace {

struct TComboBoxClassRegistration {
  TComboBoxClassRegistration() { RegisterClass(TqvDBComboBox::StaticClass()); }
} ComboBoxClassRegistration;

LRESULT CALLBACK ComboBoxMouseHookProc(int Code, WPARAM WParam, LPARAM LParam);

// One hook for every combo box of the program; each combo whose list is open is one of its users.
TqvThreadMouseHook ComboBoxMouseHook(&ComboBoxMouseHookProc);

// A press outside both the open list and its combo closes the list (taking the highlighted entry).
LRESULT CALLBACK ComboBoxMouseHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  LRESULT Result = CallNextHookEx(nullptr, Code, WParam, LParam);
  if (Code < 0 || (WParam != WM_LBUTTONDOWN && WParam != WM_NCLBUTTONDOWN)) return Result;
  try {
    auto* Combo = Screen.Exists() ? dynamic_cast<TqvDBCustomComboBox*>(Screen->ActiveControl()) : nullptr;
    if (Combo == nullptr || !Combo->IsDroppedDown() || !Combo->HandleAllocated()) return Result;
    POINT Point = reinterpret_cast<MOUSEHOOKSTRUCT*>(LParam)->pt;
    RECT ListRect{}, ComboRect{};
    if (Combo->ListBox() != nullptr && Combo->ListBox()->HandleAllocated())
      GetWindowRect(Combo->ListBox()->Handle(), &ListRect);
    GetWindowRect(Combo->Handle(), &ComboRect);
    if (!PtInRect(&ListRect, Point) && !PtInRect(&ComboRect, Point)) PostMessageA(Combo->Handle(), CM_CANCELMODE, 0, 0);
  } catch (...) {
  }
  return Result;
}

bool StartsWithNoCase(const String& Text, const String& Prefix) {
  return Prefix.size() <= Text.size() && qvSameText(Text.substr(0, Prefix.size()), Prefix);
}

}  // namespace

String qvComboLineToken(const String& Line, int Index) {
  std::size_t Tab = Line.find('\t');
  if (Index <= 1) return Tab == String::npos ? Line : Line.substr(0, Tab);
  if (Tab == String::npos) return String();
  std::size_t Next = Line.find('\t', Tab + 1);
  return Line.substr(Tab + 1, Next == String::npos ? String::npos : Next - Tab - 1);
}

int qvComboBoxMouseHookUsers() { return ComboBoxMouseHook.UserCount(); }
bool qvComboBoxMouseHookInstalled() { return ComboBoxMouseHook.Installed(); }

// --- TqvDBCustomComboBox: settings ------------------------------------------------------------------

TqvDBCustomComboBox::TqvDBCustomComboBox(TComponent* AOwner)
    : TqvDBCustomCombo(AOwner), FItems(new TqvComboStringList(this)), FHistoryList(new TqvHistoryList(this)) {
  SetButtonStyle(cbsDownArrow);
}

TqvDBCustomComboBox::~TqvDBCustomComboBox() {
  // This combo stops being a user of the hook; another combo's open list keeps it.
  ComboBoxMouseHook.RemoveUser(this);
  delete FHistoryList;
  FHistoryList = nullptr;
  delete FItems;
  FItems = nullptr;
  delete FListBox;
  FListBox = nullptr;
}

void TqvDBCustomComboBox::SetMapList(bool Value) {
  if (FMapList == Value) return;
  FMapList = Value;
  FItemsChanged = true;
}

void TqvDBCustomComboBox::SetItems(TStrings* Value) {
  FItems->Assign(Value);
  DataChange();
}

void TqvDBCustomComboBox::SetSorted(bool Value) {
  FItems->SetSorted(Value);
  FItemsChanged = true;
}

void TqvDBCustomComboBox::SetStyle(TqvDBLookupComboStyle Value) {
  if (Value == Style()) return;
  if (Value == csSimple) SetShowButton(false);
  else if (Style() == csSimple) SetShowButton(true);
  TqvDBCustomCombo::SetStyle(Value);
}

bool TqvDBCustomComboBox::CanEditText() {
  return !IsOwnerDrawnStyle() && !(Style() == csDropDownList && !ShowMatchText);
}

bool TqvDBCustomComboBox::AllowsTyping() { return !IsOwnerDrawnStyle() && Style() != csDropDownList; }

// --- Values -----------------------------------------------------------------------------------------

String TqvDBCustomComboBox::GetDisplayForValue(const String& Value) {
  if (!FMapList && !TwoColumnDisplay) return Value;
  for (int i = 0; i < FItems->Count(); ++i) {
    const String& Line = FItems->Strings(i);
    if (qvComboLineToken(Line, 2) == Value) return qvComboLineToken(Line, 1);
  }
  return String();
}

String TqvDBCustomComboBox::GetValueForDisplay(const String& Text) {
  if (!FMapList && !TwoColumnDisplay) return Text;
  for (int i = 0; i < FItems->Count(); ++i) {
    const String& Line = FItems->Strings(i);
    if (!qvSameText(qvComboLineToken(Line, 1), Text)) continue;
    // Two columns show a line without a value as its text, and store that text.
    String Value = qvComboLineToken(Line, 2);
    return Value.empty() && TwoColumnDisplay ? Text : Value;
  }
  return TwoColumnDisplay ? Text : String();
}

String TqvDBCustomComboBox::GetFieldText() {
  String Shown = Text();
  if (Style() == csDropDown && Shown.empty()) return String();
  return GetValueForDisplay(Shown);
}

bool TqvDBCustomComboBox::MapValueToDisplay(const String& Value, String& Display) {
  if (!FMapList) return false;
  Display = GetDisplayForValue(Value);
  return true;
}

int TqvDBCustomComboBox::FindItemIndex(const String& Text, int StartIndex) {
  if (FListBox == nullptr || FListBox->Count() == 0) return FItems->IndexOf(Text);
  TStrings* Entries = FListBox->Items();
  if (StartIndex == 0) return Entries->IndexOf(Text);
  int Count = Entries->Count();
  for (int n = 0; n < Count; ++n) {
    int i = (StartIndex + n) % Count;
    if (qvSameText(Entries->Strings(i), Text)) return i;
  }
  return -1;
}

int TqvDBCustomComboBox::RecomputedIndex() {
  String Shown = Text();
  if (Shown.empty() && !FMapList) return -1;
  for (int i = 0; i < FItems->Count(); ++i) {
    String First = qvComboLineToken(FItems->Strings(i), 1);
    if (First == Shown) return FindItemIndex(First, 0);
  }
  return -1;
}

int TqvDBCustomComboBox::GetItemIndex() {
  if (FListVisible && FListBox != nullptr) return FListBox->ItemIndex();
  if (FItemIndexStale) FItemIndexCache = RecomputedIndex();
  return FItemIndexCache;
}

void TqvDBCustomComboBox::SetItemIndex(int Value) {
  FItemIndexCache = Value;
  EnsureListFilled();
  FListBox->SetItemIndex(Value);
  if (Value >= 0 && Value < FListBox->Count()) SetText(FListBox->Items()->Strings(Value));
  else if (Value == -1) SetText(String());
}

void TqvDBCustomComboBox::SetDisplayFromValue(const String& Value) {
  if (Value == GetFieldText() && !(Value.empty() && FMapList)) return;
  if (Style() == csDropDown && !FMapList) {
    SetText(Value);
    FItemIndexCache = FindItemIndex(Value, 0);
    return;
  }
  int I = -1;
  if (FMapList) {
    for (int i = 0; i < FItems->Count(); ++i) {
      const String& Line = FItems->Strings(i);
      if (qvComboLineToken(Line, 2) == Value) {
        String First = qvComboLineToken(Line, 1);
        SetText(First);
        I = FindItemIndex(First, 0);
        break;
      }
    }
  } else if (!Value.empty()) {
    I = FindItemIndex(Value, 0);
  }
  if (FListBox != nullptr && FListBox->HandleAllocated()) FListBox->SetItemIndex(I);
  FItemIndexCache = I;
  if (I < 0 && GetItemIndex() < 0) SetText(String());
}

// --- The drop-down list -----------------------------------------------------------------------------

bool TqvDBCustomComboBox::CanCreateListWindow() {
  for (TWinControl* Control = this; Control != nullptr; Control = Control->Parent()) {
    if (Control->HandleAllocated() || Control->ParentWindow() != nullptr) return true;
    if (Control->Parent() == nullptr) return dynamic_cast<TCustomForm*>(Control) != nullptr;
  }
  return false;
}

void TqvDBCustomComboBox::FillDropDownList() {
  if (FListBox == nullptr) {
    FListBox = new TqvPopupListbox(nullptr);
    FListBox->SetCombo(this);
    FListBox->SetIntegralHeight(true);
    FListBox->SetItemHeight(11);
    FListBox->SetParent(this);
    FListBox->SetShowHint(false);
    FListBox->OnMouseUp = TMouseEvent(this, &TqvDBCustomComboBox::ListMouseUp);
  }
  if (!FListBox->HandleAllocated() && CanCreateListWindow()) {
    FListBox->HandleNeeded();
    SetWindowPos(FListBox->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  }
  TStrings* Entries = FListBox->Items();
  Entries->BeginUpdate();
  TScopeGuard EndUpdate([&] { Entries->EndUpdate(); });
  Entries->Clear();
  for (int i = 0; i < FItems->Count(); ++i) {
    const String& Line = FItems->Strings(i);
    String Second = qvComboLineToken(Line, 2);
    Entries->Add(FMapList || Second.empty() ? qvComboLineToken(Line, 1) : Second);
  }
  if (FHistoryList->Enabled) FHistoryList->LoadInto(Entries);
  if (FHistoryList->Enabled && FHistoryList->MRUEnabled) {
    TStringList Copy;
    Copy.SetSorted(Sorted());
    Copy.Duplicates = dupAccept;
    for (int i = 0; i < Entries->Count(); ++i) Copy.Add(Entries->Strings(i));
    if (FListBox->Sorted()) FListBox->SetSorted(false);
    Entries = FListBox->Items();
    Entries->Clear();
    for (int i = 0; i < Copy.Count(); ++i) Entries->Add(Copy.Strings(i));
    // The most recent entry ends up first.
    TStringList* History = FHistoryList->Items();
    int MRU = FHistoryList->GetMRUCount();
    for (int i = History->Count() - MRU; i < History->Count(); ++i) Entries->Insert(0, History->Strings(i));
  }
  FItemsChanged = false;
}

void TqvDBCustomComboBox::EnsureListFilled() {
  bool Missing = FListBox == nullptr || (!FListBox->HandleAllocated() && CanCreateListWindow());
  if (Missing || FListBox->Count() == 0 || FItemsChanged) FillDropDownList();
  FItemsChanged = false;
}

void TqvDBCustomComboBox::PlaceList(int Width, int Height) {
  TRect Work;
  qvGetWorkArea(Work);
  if (Work.IsEmpty()) Work = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  TPoint TopLeft = Parent() != nullptr ? Parent()->ClientToScreen(TPoint(Left(), Top())) : ClientOrigin();
  int Bottom = TopLeft.Y + this->Height() - (BorderStyle() == bsSingle ? 1 : 0);
  int Y = Bottom;
  if (Y + Height > Work.Bottom) Y = TopLeft.Y - Height;
  int X = TopLeft.X;
  if (X + Width > Work.Right) X = TopLeft.X + this->Width() - Width - 1;
  // Never outside the work area, wherever the task bar is.
  X = std::max(Work.Left, std::min(X, Work.Right - Width));
  Y = std::max(Work.Top, Y);
  FListBox->SetBounds(X, Y, Width, Height);
  SetWindowPos(FListBox->Handle(), HWND_TOPMOST, X, Y, Width, Height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TqvDBCustomComboBox::DropDown() {
  if (FListVisible || Style() == csSimple) return;
  Invalidate();
  FillDropDownList();
  if (!FListBox->HandleAllocated()) return;
  FListBox->SetColor(Color());
  FListBox->Font()->Assign(Font());
  if (OnDropDown) OnDropDown(this);
  if (DisableDropDownList) return;
  FillDropDownList();

  bool MRU = FHistoryList->GetMRUCount() > 0;
  TListBoxStyle ListStyle = lbStandard;
  if (Style() == csOwnerDrawFixed) ListStyle = lbOwnerDrawFixed;
  else if (Style() == csOwnerDrawVariable) ListStyle = lbOwnerDrawVariable;
  else if (MRU || TwoColumnDisplay) ListStyle = lbOwnerDrawFixed;
  FListBox->SetStyle(ListStyle);
  bool ListSorted = !MRU && Sorted();
  if (FListBox->Sorted() != ListSorted) FListBox->SetSorted(ListSorted);

  int RowHeight = ItemHeight;
  if (RowHeight <= 0) {
    TWindowDC DC(FListBox->Handle());
    TSelectedObject Selected(DC, FListBox->Font()->Handle());
    SIZE Size{};
    GetTextExtentPoint32A(DC, "A", 1, &Size);
    RowHeight = Size.cy + 2;
  }
  SendMessageA(FListBox->Handle(), LB_SETITEMHEIGHT, 0, RowHeight);
  int Rows = std::min(FListBox->Count(), DropDownCount);
  int ListHeight = Rows * RowHeight + 4;
  int ListWidth = DropDownWidth > 0 ? DropDownWidth : Column1Width > 0 ? Column1Width * 3 / 2 : Width();

  FListBox->SetItemIndex(Text().empty() ? -1 : FindItemIndex(Text(), 0));
  PlaceList(ListWidth, ListHeight);

  FListVisible = true;
  FFirstKeyAfterDropDown = true;
  if (CanEditText()) {
    if (!FKeyboardDropDown) SelectAll();
    if (HandleAllocated()) ShowCaret(FHandle);
  }
  FSavedShowHint = ShowHint();
  SetShowHint(false);
  Invalidate();
  ComboBoxMouseHook.AddUser(this);
  FTextAtDropDown = Text();
}

void TqvDBCustomComboBox::CloseUp(bool Accept) {
  if (FListVisible) {
    if (HWND Capture = GetCapture()) SendMessageA(Capture, WM_CANCELMODE, 0, 0);
    bool Writable = Bound() || !TqvDBCustomEdit::ReadOnly();
    int Selected = FListBox->ItemIndex();
    String Chosen;
    if (Accept && Writable && Selected >= 0) Chosen = FListBox->Items()->Strings(Selected);
    else if (Style() == csDropDown || (Style() == csDropDownList && Selected < 0)) Chosen = Text();
    SetWindowPos(FListBox->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    FListVisible = false;
    if (Accept && (Bound() || !TqvDBCustomEdit::ReadOnly())) {
      FCloseUpInProgress = true;
      TScopeGuard Done([&] { FCloseUpInProgress = false; });
      if (Chosen != FTextAtDropDown && EditCanModify()) {
        FItemIndexCache = Selected;
        if (Chosen.empty() && (Style() == csDropDownList || FMapList)) SetText(String());
        else SetText(Chosen);
        MarkModified(true);
        if (FHistoryList->Enabled && Modified()) {
          AddHistoryItem(Text(), true);
          FHistoryList->Save();
        }
      }
    }
    if (!CanEditText() && HandleAllocated()) HideCaret(FHandle);
    Invalidate();
    if (CanEditText()) SelectAll();
    if (OnCloseUp) OnCloseUp(this, Accept);
    SetShowHint(FSavedShowHint);
  } else if (Accept && !FMapList && Text().empty()) {
    FItemIndexCache = -1;
  }
  ComboBoxMouseHook.RemoveUser(this);
}

void TqvDBCustomComboBox::SetDroppedDown(bool Value) {
  if (Value) DropDown();
  else CloseUp(true);
}

void TqvDBCustomComboBox::ListMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button == mbLeft && FListBox->ClientRect().Contains(TPoint(X, Y))) CloseUp(true);
}

void TqvDBCustomComboBox::CopyListSelection() {
  int Selected = FListBox->ItemIndex();
  if (Selected < 0) return;
  bool MayChange = DataSource() == nullptr || FDataLink->Editing();
  bool Writable = Bound() || !TqvDBCustomEdit::ReadOnly();
  if (!MayChange || !Writable) return;
  SetText(FListBox->Items()->Strings(Selected));
  if (CanEditText()) SelectAll();
}

void TqvDBCustomComboBox::SelectEntry(int Index) {
  if (FListBox == nullptr || Index < 0 || Index >= FListBox->Count()) return;
  if (Bound()) {
    FDataLink->Edit();
    if (!FDataLink->Editing()) {
      TField* F = Field();
      if (!(F->Calculated() && EditCanModify())) return;
      if (F->DataSet() != nullptr) F->DataSet()->Edit();
    }
  }
  SetItemIndex(Index);
  MarkModified(true);
}

// --- Data link --------------------------------------------------------------------------------------

void TqvDBCustomComboBox::DataChange() {
  if (FCloseUpInProgress || ComponentState().Contains(csDestroying)) return;
  FShowingField = true;
  TScopeGuard Restore([&] { FShowingField = false; });
  if (FMapList || FHistoryList->Enabled) EnsureListFilled();
  TField* F = Field();
  if (FMapList) {
    String Value = F != nullptr ? F->AsString() : ComponentState().Contains(csDesigning) ? Name() : String();
    SetDisplayFromValue(Value);
    return;
  }
  if (F != nullptr) {
    SetDisplayFromValue(F->DisplayText());
    if (IsOwnerDrawnStyle()) {
      FItemIndexCache = FindItemIndex(F->AsString(), 0);
      Invalidate();
    }
  }
  TqvDBCustomCombo::DataChange();
}

// A typed text that no line shows would be stored as nothing: it is refused with a message
// instead, and the user stays in the combo.
void TqvDBCustomComboBox::UpdateData() {
  String Shown = Text();
  if (FMapList && !TwoColumnDisplay && !Shown.empty() && Modified() && !TCustomEdit::ReadOnly()) {
    bool Listed = false;
    for (int i = 0; i < FItems->Count() && !Listed; ++i) Listed = qvSameText(qvComboLineToken(FItems->Strings(i), 1), Shown);
    if (!Listed) {
      MessageBeep(0);
      throw EInvalidOperation("'" + Shown + "' n'est pas une valeur de la liste");
    }
  }
  TqvDBCustomCombo::UpdateData();
}

void TqvDBCustomComboBox::Reset() {
  FItemIndexStale = true;
  {
    TScopeGuard Restore([&] { FItemIndexStale = false; });
    TqvDBCustomCombo::Reset();
  }
  if (DataSource() == nullptr) FItemIndexCache = RecomputedIndex();
}

void TqvDBCustomComboBox::Loaded() {
  TqvDBCustomCombo::Loaded();
  FItemsChanged = true;
}

// --- Owner drawing ----------------------------------------------------------------------------------

void TqvDBCustomComboBox::DrawTextInRect(TCanvas* Canvas, const TRect& R, const String& Text, int X, int Y) {
  if (IsOwnerDrawnStyle() && OnDrawItem) {
    if (FListVisible) {
      Canvas->Brush()->SetColor(Color());
      Canvas->Font()->SetColor(Font()->Color());
    }
    Canvas->FillRect(R);
    try {
      OnDrawItem(this, FItemIndexCache, R, TOwnerDrawState{odFocused});
    } catch (...) {
    }
    return;
  }
  TqvDBCustomCombo::DrawTextInRect(Canvas, R, Text, X, Y);
}

void TqvDBCustomComboBox::DrawListItem(TCanvas* Canvas, int Index, const TRect& Rect, TOwnerDrawState State) {
  bool Drawn = false;
  if (OnDrawItem && IsOwnerDrawnStyle()) {
    if (!State.Contains(odSelected)) {
      Canvas->Brush()->SetColor(FListBox->Color());
      Canvas->Font()->SetColor(FListBox->Font()->Color());
    }
    Canvas->FillRect(Rect);
    try {
      OnDrawItem(FListBox, Index, Rect, State);
    } catch (...) {
    }
    Drawn = true;
  }
  String Entry = Index >= 0 && Index < FListBox->Count() ? FListBox->Items()->Strings(Index) : String();
  if (!Drawn) {
    Canvas->FillRect(Rect);
    if (TwoColumnDisplay) {
      int First = Column1Width > 0 ? Column1Width : FListBox->ClientWidth() / 2;
      String Second = FMapList ? GetValueForDisplay(Entry) : GetDisplayForValue(Entry);
      TRect Left(Rect.Left, Rect.Top, Rect.Left + First, Rect.Bottom);
      TRect Right(Rect.Left + First, Rect.Top, Rect.Right, Rect.Bottom);
      Canvas->TextRect(Left, Left.Left + 1, Left.Top + 1, Entry);
      Canvas->TextRect(Right, Right.Left + 1, Right.Top + 1, Second);
    } else {
      Canvas->TextRect(Rect, Rect.Left + 2, Rect.Top, Entry);
    }
  }
  int MRU = FHistoryList->GetMRUCount();
  if (MRU > 0 && Index == MRU - 1) {
    // The line between the most recent entries and the others, in the last recent row (which
    // repaints it with itself).
    TOwnedPen Shadow(CreatePen(PS_SOLID, 1, ColorToRGB(clBtnShadow)));
    HDC DC = Canvas->Handle();
    TSelectedObject Pen(DC, Shadow);
    int Y = Rect.Bottom - 1;
    MoveToEx(DC, Rect.Left, Y, nullptr);
    LineTo(DC, Rect.Right, Y);
  }
}

// --- Keys -------------------------------------------------------------------------------------------

void TqvDBCustomComboBox::WndProc(TMessage& Message) {
  bool KeyMessage = Message.Msg == WM_KEYDOWN || Message.Msg == WM_CHAR || Message.Msg == WM_SYSKEYDOWN;
  if (!FListVisible || !KeyMessage || ComponentState().Contains(csDesigning) || FListBox == nullptr) {
    TqvDBCustomCombo::WndProc(Message);
    return;
  }
  WORD Key = WORD(Message.WParam);
  if (Message.Msg == WM_KEYDOWN && (Key == VK_HOME || Key == VK_END || Key == VK_LEFT || Key == VK_RIGHT)) {
    TqvDBCustomCombo::WndProc(Message);
    return;
  }
  if (Message.Msg != WM_CHAR && Key != VK_F4) {
    HandleDropDownKeys(Key, KeyDataToShiftState(Message.LParam));
    if (Key == 0) return;
  }
  if (FListVisible && FListBox->HandleAllocated()) {
    int Before = FListBox->ItemIndex();
    bool Navigation = Message.Msg == WM_KEYDOWN &&
                      (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN);
    FListKeyNavigation = Navigation;
    {
      TScopeGuard Restore([&] { FListKeyNavigation = false; });
      SendMessageA(FListBox->Handle(), Message.Msg, Message.WParam, Message.LParam);
    }
    if (Navigation && FListBox->ItemIndex() != Before) CopyListSelection();
  }
  bool Shift = GetKeyState(VK_SHIFT) < 0;
  if (!Shift && (Key == 38 || Key == 40)) return;
  TqvDBCustomCombo::WndProc(Message);
}

void TqvDBCustomComboBox::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_RETURN && FHistoryList->Enabled) AddHistoryItem(Text(), true);
  bool Alt = GetKeyState(VK_MENU) < 0 || Shift.Contains(ssAlt);
  if (!FListVisible && AutoDropDown && qvIsEditKey(Key) && Key != VK_BACK && Key != VK_DELETE && !Alt) {
    FKeyboardDropDown = true;
    TScopeGuard Restore([&] { FKeyboardDropDown = false; });
    DropDown();
  }
  if (Alt) Shift.Include(ssAlt);
  bool Writable = Bound() || !TqvDBCustomEdit::ReadOnly();
  if (ShowMatchText && Style() == csDropDownList &&
      (Key == VK_DELETE || Key == VK_BACK || (Key == 'X' && Shift.Contains(ssCtrl)))) {
    if (AllowClearKey && IsWholeTextSelected() && Writable) {
      bool MayEdit = true;
      if (Bound()) {
        FDataLink->Edit();
        MayEdit = FDataLink->Editing() || (Field()->Calculated() && EditCanModify());
      }
      if (MayEdit) {
        SetItemIndex(-1);
        MarkModified(true);
      }
    }
    Key = 0;
    return;
  }
  bool InGrid = Parent() != nullptr && qvIsInGrid(this);
  if (!FListVisible && !InGrid && !Alt && (Key == VK_UP || Key == VK_DOWN)) {
    if (Writable) {
      EnsureListFilled();
      SelectEntry(FItemIndexCache + (Key == VK_UP ? -1 : 1));
    }
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    Key = 0;
    return;
  }
  if (FListVisible && (Style() != csDropDown || AutoDropDown) && FFirstKeyAfterDropDown && qvIsEditKey(Key)) {
    StartEditing();
    FFirstKeyAfterDropDown = false;
  }
  TqvDBCustomCombo::KeyDown(Key, Shift);
}

void TqvDBCustomComboBox::KeyPress(char& Key) {
  EnsureListFilled();
  unsigned char Code = static_cast<unsigned char>(Key);
  if (Code == VK_BACK || Code == 24) {
    if (FListVisible) {
      Key = 0;
      return;
    }
    if (Style() == csDropDownList) {
      FillDropDownList();
      FListBox->SearchKey(Key);
      Key = 0;
      return;
    }
  }
  String Old = Text();
  int Caret = SelStart();
  int Selected = SelLength();
  if (ShowMatchText && Code >= 32 && Code <= 254) {
    String New = Old.substr(0, std::size_t(Caret)) + Key + Old.substr(std::size_t(Caret + Selected));
    if (New != Old) {
      if (Caret >= int(New.size()) - 1) {
        int Count = FListBox->Count();
        int First = FHistoryList->GetMRUCount();
        int Found = -1;
        for (int n = 0; n < Count && Found < 0; ++n) {
          int i = First + n < Count ? First + n : (First + n) % Count;
          if (StartsWithNoCase(FListBox->Items()->Strings(i), New)) Found = i;
        }
        if (Found >= 0) {
          SelectEntry(Found);
          if (DataSource() == nullptr || FDataLink->Editing()) {
            SetSelStart(int(New.size()));
            SetSelLength(int(Text().size()) - int(New.size()));
          }
          Key = 0;
          return;
        }
      }
      if (Style() == csDropDownList) {
        Key = 0;
        return;
      }
    }
  } else if (!CanEditText() && Code >= 32 && Code <= 254) {
    int Count = FListBox->Count();
    for (int n = 1; n <= Count; ++n) {
      int i = ((FItemIndexCache < 0 ? -1 : FItemIndexCache) + n + Count) % Count;
      String Entry = FListBox->Items()->Strings(i);
      if (!Entry.empty() && AnsiUpperChar(Entry[0]) == AnsiUpperChar(Key)) {
        SelectEntry(i);
        break;
      }
    }
    if (Style() == csDropDownList) {
      Key = 0;
      return;
    }
  }
  bool Mapped = FMapList;
  bool SavedFill = AutoFillDate;
  if (Mapped) AutoFillDate = false;
  {
    TScopeGuard Restore([&] { AutoFillDate = SavedFill; });
    TqvDBCustomCombo::KeyPress(Key);
  }
  TField* F = Field();
  if (!Mapped && F != nullptr && DataSource() != nullptr && DataSource()->State() == dsBrowse &&
      F->AsString() != F->DisplayText() && SelStart() == 0 && Caret != 0) {
    SetSelStart(Caret);
    SetSelLength(Selected);
  }
  if (Key == char(VK_RETURN)) Key = 0;
}

void TqvDBCustomComboBox::KeyUp(WORD& Key, TShiftState Shift) {
  if (AllowClearKey && (Key == VK_DELETE || Key == VK_BACK)) {
    if (FListVisible) {
      if (Text().empty()) SetItemIndex(-1);
    } else if (Style() == csDropDownList && !ShowMatchText) {
      StartEditing();
      SetText(String());
      SetItemIndex(-1);
      MarkModified(true);
    }
  }
  TqvDBCustomCombo::KeyUp(Key, Shift);
}

// --- History ----------------------------------------------------------------------------------------

void TqvDBCustomComboBox::AddHistoryItem(const String& Value, bool ToHistory) {
  String Entry = Value;
  qvTrimRightChars(Entry, qvCharSet("\t "));
  if (Entry.empty()) return;
  TStringList* History = FHistoryList->Items();
  if (History->IndexOf(Entry) < 0 && OnAddHistoryItem) {
    bool Accept = true;
    OnAddHistoryItem(this, Entry, Accept);
    if (!Accept) return;
  }
  if (ToHistory) {
    int At = History->IndexOf(Entry);
    if (At >= 0) History->Delete(At);
    History->Add(Entry);
  }
  if (FListBox != nullptr && FListBox->HandleAllocated() && FListBox->Items()->IndexOf(Entry) < 0)
    FListBox->Items()->Add(Entry);
}

void TqvDBCustomComboBox::RemoveHistoryItem(const String& Value, bool FromHistory) {
  if (FromHistory) {
    int At = FHistoryList->Items()->IndexOf(Value);
    if (At >= 0) FHistoryList->Items()->Delete(At);
  }
  if (FListBox == nullptr || !FListBox->HandleAllocated()) return;
  for (int i = FListBox->Count() - 1; i >= 0; --i) {
    if (qvSameText(FListBox->Items()->Strings(i), Value)) FListBox->Items()->Delete(i);
  }
}

void TqvDBCustomComboBox::ClearHistory() {
  FHistoryList->Items()->Clear();
  FHistoryList->Save();
}

// --- Messages ---------------------------------------------------------------------------------------

void TqvDBCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_CANCELMODE: CMCancelMode(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case WM_CUT:
    case WM_CLEAR: WMCutOrClear(Message); break;
    case WM_PASTE: WMPaste(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    default: TqvDBCustomCombo::Dispatch(Message); break;
  }
}

void TqvDBCustomComboBox::CMCancelMode(TMessage& Message) {
  auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
  if (Sender == this || (Sender != nullptr && (Sender == FListBox || Sender == FButton))) return;
  CloseUp(true);
}

void TqvDBCustomComboBox::WMKillFocus(TMessage& Message) {
  TqvDBCustomCombo::Dispatch(Message);
  if (FListVisible) CloseUp(true);
  if (FHistoryList->Enabled && Modified()) {
    AddHistoryItem(Text(), true);
    FHistoryList->Save();
  }
}

void TqvDBCustomComboBox::CNKeyDown(TMessage& Message) {
  if (FListVisible) {
    WORD Key = WORD(Message.WParam);
    if (Key == VK_TAB) CloseUp(true);
    else if (Key == VK_RETURN || Key == VK_ESCAPE) {
      // Not a dialog key while the list is down: the combo closes its list with it.
      Message.Result = 0;
      return;
    }
  }
  TqvDBCustomCombo::Dispatch(Message);
}

void TqvDBCustomComboBox::WMCutOrClear(TMessage& Message) {
  if (Style() == csDropDownList && ShowMatchText && !AllowClearKey) return;
  TqvDBCustomCombo::Dispatch(Message);
}

void TqvDBCustomComboBox::WMPaste(TMessage& Message) {
  if (Style() == csDropDownList) return;
  TqvDBCustomCombo::Dispatch(Message);
}

void TqvDBCustomComboBox::CMEnter(TMessage& Message) {
  if (FHistoryList->Enabled) FillDropDownList();
  TqvDBCustomCombo::Dispatch(Message);
}

void TqvDBCustomComboBox::CMExit(TMessage& Message) { TqvDBCustomCombo::Dispatch(Message); }
