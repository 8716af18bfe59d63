// This file implements how the grid engine takes keys and mouse buttons: record and column
// navigation, insert and delete, Tab and Enter between columns and records, Escape, F2; the
// keyboard hook every grid shares, which forwards navigation keys from a control embedded in a
// cell to its grid; the ditto shortcuts; presses on cells, title buttons, URL cells and column
// boundaries; fitting a column on a double click; and the loop that drags a column.
#include "Qvdbigrd.h"

#include <algorithm>

#include "Dialogs.h"
#include "Field.h"
#include "Forms.h"
#include "Menus.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "ShellLaunch.h"
#include "StdCtrls.h"
#include "qvControlUtils.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"

extern TCustomImageList* qvGridArrowGlyphs;

namespace {

HHOOK GKeyboardHook = nullptr;
int GKeyboardHookUsers = 0;
constexpr UINT_PTR DragTimerId = 1;

bool IsPublishedGrid(const TControl* Control) {
  return Control != nullptr && qvClassInheritsFrom(Control->ClassType(), "TqvDBGrid");
}

// The nearest grid engine among Control and its parents.
TqvCustomDBGrid* GridOf(TControl* Control) {
  for (TControl* C = Control; C != nullptr; C = C->Parent()) {
    if (C->InheritsFrom(TCustomGrid::StaticClass()))
      return qvClassInheritsFrom(C->ClassType(), "TqvCustomDBGrid") ? static_cast<TqvCustomDBGrid*>(C) : nullptr;
  }
  return nullptr;
}

}  // namespace

LRESULT CALLBACK qvGridKeyboardHook(int Code, WPARAM WParam, LPARAM LParam);

bool qvGridKeyboardHookInstalled() { return GKeyboardHook != nullptr; }
int qvGridKeyboardHookUsers() { return GKeyboardHookUsers; }

// --- The keyboard hook ------------------------------------------------------------------------

// Every grid that took the focus holds the hook until it leaves (at the top level) or goes: the
// hook stays installed while one grid still holds it.
void TqvCustomDBGrid::HoldKeyboardHook() {
  if (FHoldsHook) return;
  FHoldsHook = true;
  if (GKeyboardHookUsers++ == 0 && GKeyboardHook == nullptr)
    GKeyboardHook = SetWindowsHookExA(WH_KEYBOARD, qvGridKeyboardHook, MainInstance(), GetCurrentThreadId());
}

void TqvCustomDBGrid::ReleaseKeyboardHook() {
  if (!FHoldsHook) return;
  FHoldsHook = false;
  if (--GKeyboardHookUsers == 0 && GKeyboardHook != nullptr) {
    UnhookWindowsHookEx(GKeyboardHook);
    GKeyboardHook = nullptr;
  }
}

LRESULT CALLBACK qvGridKeyboardHook(int Code, WPARAM WParam, LPARAM LParam) {
  LRESULT Next = CallNextHookEx(GKeyboardHook, Code, WParam, LParam);
  if (Code != HC_ACTION || Screen == nullptr) return Next;
  try {
    TWinControl* Control = Screen->ActiveControl();
    if (auto* AsGrid = dynamic_cast<TqvCustomDBGrid*>(Control)) {
      TInplaceEdit* Editor = AsGrid->InplaceEditor();
      if (Editor != nullptr && Editor->HandleAllocated() && GetFocus() == Editor->Handle()) Control = Editor;
    }
    if (Control == nullptr || !Control->HandleAllocated()) return Next;
    TqvCustomDBGrid* Grid = GridOf(Control);
    WORD Key = WORD(WParam);
    bool Released = (LParam & 0x80000000) != 0;
    bool Ctrl = GetKeyState(VK_CONTROL) < 0;
    bool Alt = (LParam & 0x20000000) != 0;
    auto Post = [&]() -> LRESULT {
      PostMessageA(Grid->Handle(), WM_KEYDOWN, Key, 0);
      return 1;
    };
    bool HasFocus = GetFocus() == Control->Handle();
    // Tab and Enter of the control that has the focus.
    if ((Key == VK_TAB || Key == VK_RETURN) && !Ctrl && !Alt && HasFocus) {
      if (Released) return 0;
      if (Grid != nullptr && (Grid->KeyOptions.Contains(dgEnterToTab) || Key == VK_TAB)) return Post();
      return Next;
    }
    // The ditto shortcuts.
    if (Grid != nullptr && !Released && Grid->HandleDittoKey(Key, LParam)) return 1;
    if (Released && Grid != nullptr) {
      // Releases pass on (the ditto's and every other).
    }
    bool Navigation = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_LEFT ||
                      Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN;
    if (Ctrl && (Navigation || Key == VK_DELETE)) {
      if (qvHasChildOutsideClient(Control)) return Next;
      if (Grid != nullptr && Control != Grid && !Released) return Post();
      return Next;
    }
    bool Forwarded = (Navigation && Key != VK_END) || Key == VK_INSERT;
    if (!Forwarded || Ctrl || Alt || qvHasChildOutsideClient(Control)) return Next;
    if (Released) return 0;
    if (Grid == nullptr) return Next;
    HWND Focus = GetFocus();
    if (Focus == nullptr || (Focus != Grid->Handle() && !IsChild(Grid->Handle(), Focus))) return Next;
    bool Arrow = Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN;
    if (Arrow && (Control->Parent() == nullptr || !Control->Parent()->InheritsFrom(TCustomGrid::StaticClass())) &&
        Screen->ActiveControl() != Grid)
      return Next;
    if (auto* Edit = dynamic_cast<TCustomEdit*>(Control); Edit != nullptr && Key != VK_PRIOR && Key != VK_NEXT &&
                                                          Key != VK_INSERT) {
      DWORD Start = 0, End = 0;
      SendMessageA(Edit->Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
      int Length = GetWindowTextLengthA(Edit->Handle());
      bool Masked = qvClassInheritsFrom(Control->ClassType(), "TqvDBCustomEdit");
      bool AtEdge = false;
      switch (Key) {
        case VK_HOME:
        case VK_LEFT: AtEdge = Start == 0 && (End == 0 || int(End) == Length || (Masked && End == 1)); break;
        case VK_RIGHT: AtEdge = (Start == 0 || Start == End) && int(End) == Length; break;
        case VK_UP:
        case VK_DOWN: AtEdge = Start == 0 && int(End) == Length; break;
        default: break;
      }
      if (!AtEdge) return Next;
    }
    if (Focus == Grid->Handle()) return Next;
    return Post();
  } catch (...) {
    return Next;
  }
}

// --- Ditto ------------------------------------------------------------------------------------

bool TqvCustomDBGrid::HandleDittoKey(WORD Key, LPARAM KeyData) {
  TShortCut Pressed = ShortCut(Key, KeyDataToShiftState(KeyData));
  if (Pressed == 0 || !FDataLink->Active()) return false;
  TDataSet* Set = FDataLink->DataSet();
  TqvDittoDirection Direction = FDittoAttributes->DittoDirection;
  if (FDittoAttributes->ShortCutDittoRecord != 0 && Pressed == TShortCut(FDittoAttributes->ShortCutDittoRecord)) {
    if (FDittoAttributes->Options.Contains(qvdoSkipHiddenFields)) {
      for (int i = 0; i < GetFieldCount(); ++i) DittoField(GetFields(i), Direction);
    } else {
      for (int i = 0; i < Set->Fields()->Count(); ++i) DittoField(Set->Fields()->Fields(i), Direction);
    }
    return true;
  }
  if (FDittoAttributes->ShortCutDittoField != 0 && Pressed == TShortCut(FDittoAttributes->ShortCutDittoField))
    return DittoField(SelectedField(), Direction);
  return false;
}

bool TqvCustomDBGrid::DittoField(TField* Field, TqvDittoDirection Direction) {
  if (Field == nullptr) return false;
  if (FDittoAttributes->Options.Contains(qvdoSkipReadOnlyFields) &&
      (Field->ReadOnly() || ColumnByName(Field->FieldName())->ReadOnly()))
    return false;
  if (FDittoAttributes->Options.Contains(qvdoSkipBlobFields) && Field->InheritsFrom(TBlobField::StaticClass())) return false;
  String Value;
  bool Got = false;
  switch (Direction) {
    case qvDittoPrior: Got = GetPriorRecordValue(Field->FieldName(), Value); break;
    case qvDittoNext: Got = GetNextRecordValue(Field->FieldName(), Value); break;
    case qvDittoPriorOrNext:
      Got = GetPriorRecordValue(Field->FieldName(), Value) || GetNextRecordValue(Field->FieldName(), Value);
      break;
  }
  if (!Got) return false;
  bool Allow = true;
  if (OnDitto) OnDitto(this, FDataLink->DataSet(), Field, Value, Allow);
  if (!Allow) return false;
  if (CanEditModify()) Field->SetText(Value);
  return true;
}

// --- Keys -------------------------------------------------------------------------------------

bool TqvCustomDBGrid::ConfirmDelete() {
  if (!FOptions.Contains(dgConfirmDelete)) return true;
  return MessageDlg(qvGridDeleteRecordQuestion, mtConfirmation, mbOKCancel, 0) != mrCancel;
}

void TqvCustomDBGrid::PreviousRecord() {
  TDataSet* Set = FDataLink->DataSet();
  if (Set->State() == dsInsert && !Set->Modified() && !FDataLink->Modified() && Set->Eof()) {
    Set->Cancel();
  } else if (Set->Bof() && FDataLink->ActiveRecord() > 0) {
    Set->MoveBy(-1);
  } else {
    Set->Prior();
  }
}

void TqvCustomDBGrid::NextRecord() {
  TDataSet* Set = FDataLink->DataSet();
  if (Set->State() == dsInsert && !Set->Modified() && !FDataLink->Modified()) {
    if (!Set->Eof()) Set->Cancel();
  } else if (Set->Eof() && FDataLink->ActiveRecord() < FDataLink->RecordCount() - 1 && Set->State() != dsInsert) {
    Set->MoveBy(1);
  } else {
    Set->Next();
  }
  if (Set->Eof() && Set->CanModify() && FOptions.Contains(dgEditing) && KeyOptions.Contains(dgAllowInsert) &&
      !ReadOnly && Set->State() == dsBrowse) {
    HideCustomControl();
    Set->Append();
  }
}

void TqvCustomDBGrid::TabToNextColumn(bool Forward) {
  int B = SelectedIndex();
  int N = B;
  int Last = ColCount() - 1 - FIndicatorOffset;
  int FirstEditable = FOptions.Contains(dgFixedEditable) ? 0 : FixedCols() - FIndicatorOffset;
  TCustomForm* Form = GetParentForm(this);
  for (int Guard = 0; Guard <= 2 * (Last + 2); ++Guard) {
    N += Forward ? 1 : -1;
    if (!Forward && N < FirstEditable) {
      HideCustomControl();
      if (FOptions.Contains(dgTabExitsOnLastCol)) {
        if (Form != nullptr) Form->SelectNext(this, false, true);
        return;
      }
      if (TabStops(Last + FIndicatorOffset)) FSuppressEditorOnMove = true;
      PreviousRecord();
      N = Last;
    } else if (Forward && N > Last) {
      HideCustomControl();
      if (FOptions.Contains(dgTabExitsOnLastCol)) {
        if (Form != nullptr) Form->SelectNext(this, true, true);
        return;
      }
      if (B == 0 && TabStops(FIndicatorOffset)) FSuppressEditorOnMove = true;
      NextRecord();
      N = FirstEditable;
    }
    if (N == B) return;
    if (TabStops(N + FIndicatorOffset)) {
      FSuppressEditorOnMove = false;
      int Target = N;
      if (FOptions.Contains(dgFixedEditable) && Forward && N == FixedCols() - FIndicatorOffset)
        Target = std::max(LeftCol() - FIndicatorOffset, N);
      if (!FOptions.Contains(dgFixedEditable) || Target + FIndicatorOffset >= FixedCols()) {
        SetSelectedIndex(Target);
      } else {
        FDataLink->UpdateRecord();
        HideCustomControl();
        MoveColRow(Target + FIndicatorOffset, Row(), true, false);
        DoColEnter();
        InvalidateEditor();
        SetLeftCol(FixedCols());
      }
      return;
    }
    FSuppressEditorOnMove = false;
  }
}

void TqvCustomDBGrid::KeyDown(WORD& Key, TShiftState Shift) {
  // The program's handler first; an exception it raises passes before any grid action.
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0 || !FDataLink->Active() || !CanGridAcceptKey(Key, Shift)) return;
  TDataSet* Set = FDataLink->DataSet();
  if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN) {
    Update();
    if (FCellControl != nullptr) FCellControl->SetLeft(ClientWidth() + 10);
    if (!AcquireFocus()) return;
  }
  if (Shift.Contains(ssCtrl)) {
    switch (Key) {
      case VK_UP:
      case VK_PRIOR: Set->MoveBy(-FDataLink->ActiveRecord()); break;
      case VK_DOWN:
      case VK_NEXT: Set->MoveBy(FDataLink->BufferCount() - FDataLink->ActiveRecord() - 1); break;
      case VK_HOME: Set->First(); break;
      case VK_END: Set->Last(); break;
      case VK_LEFT:
        if (!IsPublishedGrid(Parent())) SetSelectedIndex(0);
        break;
      case VK_RIGHT: SetSelectedIndex(Set->FieldCount() - 1); break;
      case VK_DELETE:
        if (KeyOptions.Contains(dgAllowDelete) && !ReadOnly && Set->CanModify() && FOptions.Contains(dgEditing) &&
            !Set->IsEmpty() && ConfirmDelete()) {
          Set->Delete();
          HideEditor();
        }
        Key = 0;
        break;
      default: break;
    }
    return;
  }
  switch (Key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
      if (FCellControl != nullptr && Screen != nullptr && Screen->ActiveControl() != nullptr &&
          (Screen->ActiveControl() == FCellControl || Screen->ActiveControl()->Parent() == FCellControl)) {
        if (!AcquireFocus()) return;
      }
      break;
    default: break;
  }
  switch (Key) {
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) TabToNextColumn(!Shift.Contains(ssShift));
      break;
    case VK_RETURN:
      if (KeyOptions.Contains(dgEnterToTab)) TabToNextColumn(!Shift.Contains(ssShift));
      break;
    case VK_ESCAPE:
      FDataLink->Reset();
      if (!FOptions.Contains(dgAlwaysShowEditor)) {
        HideEditor();
      } else if (OnCheckValue) {
        if (auto* Editor = dynamic_cast<TqvInplaceEdit*>(InplaceEditor())) Editor->ValidateText(Editor->Text());
      }
      break;
    case VK_PRIOR: Set->MoveBy(-VisibleRowCount()); break;
    case VK_NEXT: Set->MoveBy(VisibleRowCount()); break;
    case VK_HOME:
      if (Set->FieldCount() == 1 || FOptions.Contains(dgRowSelect)) Set->First();
      else SetSelectedIndex(0);
      break;
    case VK_END:
      if (Set->FieldCount() == 1 || FOptions.Contains(dgRowSelect)) Set->Last();
      else SetSelectedIndex(Set->FieldCount() - 1);
      break;
    case VK_LEFT:
      if (FOptions.Contains(dgRowSelect)) PreviousRecord();
      else if (SelectedIndex() > 0) SetSelectedIndex(SelectedIndex() - 1);
      break;
    case VK_RIGHT:
      if (FOptions.Contains(dgRowSelect)) {
        NextRecord();
      } else if (FOptions.Contains(dgFixedEditable) && Col() == FixedCols() - 1 && Col() >= FIndicatorOffset) {
        SetSelectedIndex(LeftCol() - FIndicatorOffset);
      } else {
        SetSelectedIndex(SelectedIndex() + 1);
      }
      break;
    case VK_UP: PreviousRecord(); break;
    case VK_DOWN: NextRecord(); break;
    case VK_INSERT:
      if (!ReadOnly && FOptions.Contains(dgEditing) && KeyOptions.Contains(dgAllowInsert) && Set->CanModify()) Set->Insert();
      break;
    case VK_F2:
      if (TField* Field = SelectedField();
          Field != nullptr && !Field->InheritsFrom(TBlobField::StaticClass()) && !HasEmbeddedControl(Col(), Row()))
        SetEditorMode(true);
      break;
    default: break;
  }
}

void TqvCustomDBGrid::KeyPress(char& Key) {
  char Received = Key;
  if (KeyOptions.Contains(dgEnterToTab) && Key == '\r') Key = '\t';
  bool AlwaysShow = FOptions.Contains(dgAlwaysShowEditor);
  if (!AlwaysShow && Received == '\r') FDataLink->UpdateRecord();
  TCustomGrid::KeyPress(Key);
  if (AlwaysShow || Received != '\r') return;
  bool CanShow = CanEditShow();
  if (!CanShow && EditorMode()) HideEditor();
  if (CanShow) {
    if (FCellControl != nullptr && qvGetWantReturns(FCellControl)) Key = '\r';
  } else {
    Key = '\r';
  }
}

bool TqvCustomDBGrid::DoMouseWheelDown(TShiftState, TPoint) {
  if (FDataLink->Active() && FDataLink->DataSet() != nullptr) FDataLink->DataSet()->Next();
  return true;
}

bool TqvCustomDBGrid::DoMouseWheelUp(TShiftState, TPoint) {
  if (FDataLink->Active() && FDataLink->DataSet() != nullptr) FDataLink->DataSet()->Prior();
  return true;
}

// --- Mouse buttons ----------------------------------------------------------------------------

void TqvCustomDBGrid::ResetTitlePress() {
  FPressedCol = -1;
  FPressedRow = -1;
  FPressedOnGroup = false;
}

void TqvCustomDBGrid::PressTitleButton(int ACol, int ARow, int Y) {
  if (!FTitleButtons || ComponentState().Contains(csDesigning) || ACol < FIndicatorOffset) return;
  FPressedCol = ACol;
  FPressedRow = ARow;
  FPressedOnGroup = false;
  InvalidateCell(ACol, ARow);
  if (!GetColumn(DataColOf(ACol))->GroupName().empty()) {
    TRect Header;
    int Last = ACol, First = ACol;
    GetGroupHeaderRect(ACol, ARow, Header, true, Last, First);
    TRect Chosen;
    if (Y >= Header.Bottom) GetTitleTextRect(ACol, ARow, Chosen);
    else {
      Chosen = Header;
      FPressedOnGroup = true;
    }
    Chosen.Right += 1;
    Chosen.Bottom += 1;
    if (HandleAllocated()) ::InvalidateRect(FHandle, AsRECT(Chosen), FALSE);
  }
}

void TqvCustomDBGrid::SplitURLLink(const String& Value, String& Display, String& Address) {
  std::size_t Hash = Value.find('#');
  Display = Value.substr(0, Hash);
  Address = Hash == String::npos ? String() : Value.substr(Hash + 1);
  if (Address.empty()) Address = Display;
}

void TqvCustomDBGrid::DoURLOpen(String& URLLink, TField* Field, bool& UseDefault) {
  if (OnURLOpen) OnURLOpen(this, URLLink, Field, UseDefault);
}

void TqvCustomDBGrid::OpenURLCell(int ACol) {
  String Name = GetColumnFieldName(ACol);
  TField* Field = Name.empty() ? nullptr : FDataLink->DataSet()->FindField(Name);
  if (Field == nullptr) return;
  String Display, Address;
  SplitURLLink(Field->AsString(), Display, Address);
  bool UseDefault = true;
  DoURLOpen(Address, Field, UseDefault);
  if (!UseDefault || Address.empty()) return;
  String Upper = Address;
  for (char& C : Upper) C = char(std::toupper(static_cast<unsigned char>(C)));
  std::size_t At = Address.find('@');
  std::size_t Dot = Address.find('.');
  if (Upper.find("MAILTO:") == String::npos && At != String::npos && At > 0 && (Dot == String::npos || At < Dot))
    Address = "MailTo:" + Address;
  TCursor Saved = Screen != nullptr ? Screen->Cursor() : crDefault;
  if (Screen != nullptr) Screen->SetCursor(crHourGlass);
  TScopeGuard Restore([&] {
    if (Screen != nullptr) Screen->SetCursor(Saved == crHourGlass ? crDefault : Saved);
  });
  // Only web and mail addresses read from data reach the shell.
  OpenDataAddress(Address, FHandle);
}

void TqvCustomDBGrid::PassClickToControl(int X, int Y) {
  if (FCellControl == nullptr || !FCellControl->HandleAllocated()) return;
  POINT Point{X, Y};
  MapWindowPoints(FHandle, FCellControl->Handle(), &Point, 1);
  HWND Child = ChildWindowFromPointEx(FCellControl->Handle(), Point, CWP_SKIPINVISIBLE);
  if (Child != nullptr && Child != FCellControl->Handle()) {
    POINT Inner{X, Y};
    MapWindowPoints(FHandle, Child, &Inner, 1);
    SendMessageA(Child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Inner.x, Inner.y));
    SendMessageA(Child, WM_LBUTTONUP, 0, MAKELPARAM(Inner.x, Inner.y));
  } else {
    SendMessageA(FCellControl->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Point.x, Point.y));
  }
}

void TqvCustomDBGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // 1.
  FSizingCol = -1;
  FSizingColWidth = 0;
  HideCellHint();
  int OldRow = Row();
  // 2. A double click: fit the column, or the program's double click.
  if (Shift.Contains(ssDouble) && Button == mbLeft) {
    if (!AcquireFocus()) return;
    if (FOptions.Contains(dgDblClickColSizing)) {
      int C, R;
      CellAtPoint(X - 5, Y, C, R);
      if (C >= FIndicatorOffset && R == 0 && FOptions.Contains(dgTitles)) {
        TRect Title;
        GetTitleTextRect(C, 0, Title);
        if (X - 5 >= Title.Right - 8) {
          FitColumnToContents(C);
          return;
        }
      }
    }
    DblClick();
    return;
  }
  // 3. A sizing boundary.
  if (Sizing(X, Y)) {
    if (FOptions.Contains(dgRowResize) || UsesProportionalColResize()) {
      TGridState State;
      int Index = -1, Pos = 0, Ofs = 0;
      TGridDrawInfo Fixed;
      CalcSizingState(X, Y, State, Index, Pos, Ofs, Fixed);
      if (State == gsColSizing && Index >= 0) {
        FSizingCol = Index;
        FSizingColWidth = ColWidths(Index);
      }
    }
    int C, R;
    CellAtPoint(X - 8, Y, C, R);
    PatchFlags.SizingColumn = C;
    if (FDataLink->Active()) FDataLink->UpdateRecord();
    TCustomGrid::MouseDown(Button, Shift, X, Y);
    return;
  }
  // 4. A cell.
  int C, R;
  CellAtPoint(X, Y, C, R);
  bool CellChanged = (C != Col() || R != Row()) && C >= FIndicatorOffset;
  if (C < 0) {
    AcquireFocus();
    Update();
    TControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  bool TitleCell = R < FTitleOffset;
  bool ColumnMoving = FOptions.Contains(dgColumnResize);
  if (TitleCell && (ComponentState().Contains(csDesigning) || ColumnMoving)) {
    if (C >= FixedCols()) {
      if (!AcquireFocus()) return;
      if (Button == mbLeft) {
        PressTitleButton(C, R, Y);
        // The drag loop may see the grid freed: nothing of it is touched then.
        std::shared_ptr<bool> Alive = FAlive;
        DragColumn(X, Y);
        if (!*Alive) return;
      }
      Update();
      TControl::MouseDown(Button, Shift, X, Y);
    } else {
      TCustomGrid::MouseDown(Button, Shift, X, Y);
    }
    return;
  }
  if ((!TitleCell || ColumnMoving) && FDataLink->Active() && !TitleCell) {
    // 4.1. The current cell pressed again opens its editor.
    if (!CellChanged && C == Col() && R == Row() && !HasEmbeddedControl(C, R) && !IsMemoCell(C, R) && Button != mbRight)
      ShowEditorIfAllowed();
    // 4.2.
    bool RowChanged = R >= FTitleOffset && R != OldRow;
    FSuppressEditorOnMove = RowChanged;
    FSuppressCellChanged = true;
    if (CellChanged && FCellControl != nullptr) FCellControl->SetLeft(ClientWidth() + 10);
    int OldLeft = LeftCol();
    if (!AcquireFocus()) {
      FSuppressCellChanged = false;
      return;
    }
    // 4.3.
    if (!FOptions.Contains(dgRowSelect) && (C >= FixedCols() || FOptions.Contains(dgFixedEditable)) && C >= FIndicatorOffset)
      SetSelectedIndex(DataColOf(C));
    // 4.4.
    FSuppressEditorOnMove = false;
    if (RowChanged && R >= FTitleOffset) FDataLink->DataSet()->MoveBy(R - OldRow);
    FSuppressCellChanged = false;
    if (CellChanged) DoCellChanged();
    // 4.5. URL cells.
    if (Button == mbLeft && C < int(FCache.size()) && FCache[std::size_t(C)]->ControlKind == "URL-Link") OpenURLCell(C);
    // 4.6. Multi-selection.
    if (FOptions.Contains(dgMultiSelect) && !IsSelectedCheckColumn(C)) {
      if (Shift.Contains(ssCtrl) || Shift.Contains(ssShift)) {
        if (IsCurrentRowSelected()) UnselectCurrentRecord();
        else SelectCurrentRecord();
      } else if (MultiSelectOptions.Contains(msoAutoUnselect) && Button == mbLeft) {
        UnselectAllRecords();
        SelectCurrentRecord();
      }
    }
    // The current cell repainted at once; the rest of the pending region stays pending.
    if (HandleAllocated()) {
      TOwnedRegion Pending(CreateRectRgn(0, 0, 0, 0));
      int Kind = GetUpdateRgn(FHandle, Pending, FALSE);
      ValidateRect(FHandle, nullptr);
      InvalidateCell(Col(), Row());
      UpdateWindow(FHandle);
      if (Kind != NULLREGION && Kind != ERROR) InvalidateRgn(FHandle, Pending, FALSE);
    }
    // A click passed on to an embedded control that is not an edit.
    if (CellChanged && FCellControl != nullptr && !qvClassInheritsFrom(FCellControl->ClassType(), "TCustomEdit") &&
        LeftCol() == OldLeft && !Shift.Contains(ssCtrl))
      PassClickToControl(X, Y);
  } else if (TitleCell) {
    if (!AcquireFocus()) return;
    if (Button == mbLeft) PressTitleButton(C, R, Y);
  }
  Update();
  TControl::MouseDown(Button, Shift, X, Y);
}

void TqvCustomDBGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGridState State = GridState();
  TCustomGrid::MouseUp(Button, Shift, X, Y);
  if (State == gsColSizing && OnColWidthChanged && IsPublishedGrid(this))
    OnColWidthChanged(this, PatchFlags.SizingColumn);
  if (State == gsRowSizing && IsPublishedGrid(this) && FOptions.Contains(dgRowResize) && RowCount() > FTitleOffset) {
    TWindowDC Screen;
    TSelectedObject Selected(Screen, Font()->Handle());
    SIZE Size{};
    GetTextExtentPoint32A(Screen, "W", 1, &Size);
    int Base = Size.cy + 2 + (DrawsFixedRowLines() ? 1 : 0);
    int Sized = RowHeights(std::min(FTitleOffset, RowCount() - 1));
    int H = std::min(Sized, ClientHeight() - (FTitleOffset > 0 ? RowHeights(0) : 0) - 1);
    int Percent = std::max(int(std::lround(H * 100.0 / std::max(Base, 1))), FDesignRowHeightPercent);
    FRowHeightPercent = Percent;
    RebuildLayout();
  }
  if (FPressedCol >= 0) {
    int C, R;
    CellAtPoint(X, Y, C, R);
    int PressedCol = FPressedCol, PressedRow = FPressedRow;
    bool OnGroup = FPressedOnGroup;
    ResetTitlePress();
    InvalidateTitleRow();
    if (C == PressedCol && R == PressedRow && Y >= 0 && !FDragTookPlace) {
      TField* Field = GetFieldByDataCol(DataColOf(C));
      if (Field != nullptr) {
        String Group = GetColumn(DataColOf(C))->GroupName();
        if (!Group.empty()) {
          TRect Header;
          int Last = C, First = C;
          GetGroupHeaderRect(C, 0, Header, true, Last, First);
          DoTitleButtonClick(Header.Contains(TPoint(X, Y)) || OnGroup ? Group : Field->FieldName());
        } else {
          DoTitleButtonClick(Field->FieldName());
        }
      }
    }
  }
  ResetTitlePress();
  FDragTookPlace = false;
  FSizingCol = -1;
}

void TqvCustomDBGrid::DoTitleButtonClick(const String& Name) {
  if (OnTitleButtonClick) OnTitleButtonClick(this, Name);
}

void TqvCustomDBGrid::WMButtonDown(TMessage& Message) {
  if (!ComponentState().Contains(csDesigning)) {
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form->FormStyle() == fsMDIChild && Screen != nullptr) {
      TWinControl* Active = Screen->ActiveControl();
      if (Active == nullptr || GetParentForm(Active) != Form) {
        TWinControl::SetFocus();
        if (GetFocus() != FHandle) return;
      }
    }
  }
  TCustomGrid::Dispatch(Message);
}

// --- The column drag --------------------------------------------------------------------------

void TqvCustomDBGrid::DragColumn(int X, int Y) {
  if (!HandleAllocated()) return;
  // The loop below dispatches messages: any of them may free the grid. It stops at once then,
  // touching nothing of it.
  std::shared_ptr<bool> Alive = FAlive;
  HWND Window = FHandle;
  SetCapture(Window);
  FGroupDrag = false;
  FInGroupDrag = false;
  FDragTookPlace = false;
  int RightLimit = Width();
  bool Started = false;
  bool TimerOn = false;
  int Source = -1, Target = -1, DrawnTarget = -1, GrabOffset = 0, Direction = 0;
  TRect SourceRect, ImageRect;
  int LastX = X;
  auto Cleanup = [&] {
    if (!*Alive) return;
    if (TimerOn) KillTimer(Window, DragTimerId);
    if (GetCapture() == Window) ReleaseCapture();
  };
  TScopeGuard Finish(Cleanup);
  auto TargetAt = [&](int PX) {
    int C, R;
    CellAtPoint(std::max(PX, 0), std::max(std::min(SourceRect.Top + 1, ClientHeight() - 1), 0), C, R);
    TRect Last = CellRect(ColCount() - 1, 0);
    if (C < 0 && !Last.IsEmpty() && PX >= Last.Right) C = ColCount() - 1;
    if (C < 0) C = Target;
    if (C < 0) C = Source;
    C = std::clamp(C, std::max(FixedCols(), 0), ColCount() - 1);
    String Group = GetColumn(DataColOf(C))->GroupName();
    String SourceGroup = GetColumn(DataColOf(Source))->GroupName();
    if (FInGroupDrag) {
      if (Group != SourceGroup) C = Target >= 0 ? Target : Source;
    } else if (!Group.empty() && C != Source) {
      TRect Header;
      int GLast = C, GFirst = C;
      GetGroupHeaderRect(C, 0, Header, false, GLast, GFirst);
      C = Direction == 1 ? GLast : GFirst;
    }
    return C;
  };
  auto DrawMarker = [&] {
    if (Target == DrawnTarget) return;
    DrawnTarget = Target;
    InvalidateTitleRow();
    UpdateWindow(Window);
    if (Target == Source || qvGridArrowGlyphs == nullptr || qvGridArrowGlyphs->Count() < 2) return;
    TRect T = CellRect(Target, 0);
    if (T.IsEmpty()) return;
    bool Left = Target < Source;
    int Edge = Left ? T.Left : T.Right;
    int GW = qvGridArrowGlyphs->Width();
    int GY = std::max(0, (RowHeights(0) - qvGridArrowGlyphs->Height()) / 2);
    TControlCanvas Screen;
    Screen.SetControl(this);
    if (!(Left && Target == FIndicatorOffset)) qvGridArrowGlyphs->Draw(&Screen, Edge - GW, GY, 0);
    qvGridArrowGlyphs->Draw(&Screen, Edge + 1, GY, 1);
  };
  auto PlaceImage = [&](int PX) {
    if (!FDragImage) return;
    TRect Old = ImageRect;
    ImageRect = Bounds(PX - GrabOffset, SourceRect.Top + DragVertOffset, FDragImage->Width(), FDragImage->Height());
    ::InvalidateRect(Window, AsRECT(Old), FALSE);
    ValidateRect(Window, AsRECT(ImageRect));
    UpdateWindow(Window);
    DrawnTarget = -1;
    TWindowDC DC(Window);
    BitBlt(DC, ImageRect.Left, ImageRect.Top, ImageRect.Width(), ImageRect.Height(), FDragImage->Canvas()->Handle(), 0,
           0, SRCCOPY);
  };
  MSG Msg;
  while (*Alive && GetCapture() == Window) {
    POINT Cursor;
    GetCursorPos(&Cursor);
    ::ScreenToClient(Window, &Cursor);
    Cursor.x = std::clamp(int(Cursor.x), 0, std::max(ClientWidth() - 1, 0));
    Cursor.y = std::clamp(int(Cursor.y), 0, std::max(ClientHeight() - 1, 0));
    BOOL Got = GetMessageA(&Msg, nullptr, 0, 0);
    if (Got == 0) {
      PostQuitMessage(int(Msg.wParam));
      break;
    }
    if (Got < 0) break;
    if (Msg.message == WM_TIMER && Msg.hwnd == Window && Msg.wParam == DragTimerId) {
      if (!Started) continue;
      bool Moved = false;
      TGridDrawInfo Info;
      CalcDrawInfo(Info);
      if (Cursor.x >= RightLimit - 10 && Direction == 1 && Info.Horz.LastFullVisibleCell < ColCount() - 1) {
        BeginPaintLock();
        SetLeftCol(LeftCol() + 1);
        EndPaintLock(true);
        Moved = true;
      } else if (Cursor.x <= Info.Horz.FixedBoundary + 10 && Direction == 2 && LeftCol() > FixedCols()) {
        BeginPaintLock();
        SetLeftCol(LeftCol() - 1);
        EndPaintLock(true);
        Moved = true;
      }
      if (Moved) {
        UpdateWindow(Window);
        PlaceImage(Cursor.x);
        Target = TargetAt(Cursor.x);
        DrawMarker();
      }
      continue;
    }
    if (Msg.message == WM_MOUSEMOVE && Msg.hwnd == Window) {
      int MX = short(LOWORD(Msg.lParam)), MY = short(HIWORD(Msg.lParam));
      if (!Started) {
        if (std::abs(MX - X) <= 2 && std::abs(MY - Y) < 3) continue;
        Started = true;
        int PressedCol = FPressedCol;
        ResetTitlePress();
        if (PressedCol >= 0) InvalidateTitleRow();
        FDragTookPlace = true;
        int C, R;
        CellAtPoint(X, Y, C, R);
        Source = std::max(C, FixedCols());
        Target = Source;
        GetTitleRectAt(Source, SourceRect, Y);
        String Group = GetColumn(DataColOf(Source))->GroupName();
        if (!Group.empty()) {
          TRect Cell = CellRect(Source, 0);
          if (Y >= Cell.Top + Cell.Height() / 2) FInGroupDrag = true;
          else FGroupDrag = true;
        }
        int Allowance = FShowVertScrollBar ? GetSystemMetrics(SM_CXVSCROLL) + 9 : 10;
        int IW = std::max(SourceRect.Width(), ColWidths(Source));
        IW = std::min(IW, Width() - Allowance - (FOptions.Contains(dgIndicator) ? FIndicatorWidth + 2 : 0));
        IW = std::max(IW, 1);
        int IH = std::max(SourceRect.Height(), 1);
        FDragImage = std::make_unique<TBitmap>();
        FDragImage->SetPixelFormat(pf24bit);
        FDragImage->SetSize(IW, IH);
        {
          FDrawingDragImage = true;
          TScopeGuard Done([&] { FDrawingDragImage = false; });
          TCanvas* Canvas = FDragImage->Canvas();
          Canvas->Brush()->SetColor(FTitleColor);
          Canvas->FillRect(Rect(0, 0, IW, IH));
          if (FGroupDrag) {
            TRect Header;
            int GLast = Source, GFirst = Source;
            GetGroupHeaderRect(Source, 0, Header, false, GLast, GFirst);
            DrawCell(Source, 0, Rect(0, 0, IW, IH / 2), {gdFixed});
            int XX = 0;
            for (int G = GFirst; G <= GLast; ++G) {
              DrawCell(G, 0, Rect(XX, IH / 2, XX + ColWidths(G), IH), {gdFixed});
              XX += ColWidths(G);
              Canvas->Pen()->SetColor(clBlack);
              Canvas->MoveTo(XX, IH / 2);
              Canvas->LineTo(XX, IH);
              Canvas->Pen()->SetColor(clBtnHighlight);
              Canvas->MoveTo(XX + 1, IH / 2);
              Canvas->LineTo(XX + 1, IH);
              XX += 2;
            }
          } else {
            DrawCell(Source, 0, Rect(0, 0, IW, IH), {gdFixed});
          }
          Canvas->Brush()->SetColor(clBlack);
          Canvas->FrameRect(Rect(0, 0, IW, IH));
        }
        GrabOffset = X - SourceRect.Left;
        SetTimer(Window, DragTimerId, 100, nullptr);
        TimerOn = true;
        TGridDrawInfo Info;
        CalcDrawInfo(Info);
        RightLimit = Width() - (Info.Horz.GridBoundary >= Info.Horz.GridExtent ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        ImageRect = TRect();
      }
      if (MX > LastX) Direction = 1;
      else if (MX < LastX) Direction = 2;
      LastX = MX;
      PlaceImage(MX);
      Target = TargetAt(MX);
      DrawMarker();
      continue;
    }
    if (Msg.message == WM_LBUTTONUP && Msg.hwnd == Window) {
      if (Started) {
        KillTimer(Window, DragTimerId);
        TimerOn = false;
        ::InvalidateRect(Window, AsRECT(ImageRect), FALSE);
        FDragImage.reset();
        int MX = short(LOWORD(Msg.lParam));
        int Drop = TargetAt(MX);
        Drop = std::clamp(Drop, FixedCols(), ColCount() - 1);
        ResetTitlePress();
        if (Drop != Source) {
          if (FGroupDrag) {
            TRect Header;
            int GLast = Source, GFirst = Source;
            GetGroupHeaderRect(Source, 0, Header, false, GLast, GFirst);
            if (Drop > Source) {
              for (int G = GFirst; G <= GLast && Drop < ColCount(); ++G) MoveColumn(GFirst, Drop);
            } else {
              for (int G = GFirst; G <= GLast; ++G) MoveColumn(G, Drop + (G - GFirst));
            }
          } else {
            MoveColumn(Source, Drop);
          }
        }
        if (*Alive) InvalidateTitleRow();
      }
      if (*Alive && GetCapture() == Window) ReleaseCapture();
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
      break;
    }
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  if (*Alive) FDragImage.reset();
}
