// This file implements the in-place editor of the grids (TInplaceEdit, the masked edit the grid
// places over its current cell) and the grid's side of the editor protocol: EditorMode,
// ShowEditor/HideEditor, CreateEditor, CanEditShow/CanEditModify, and the text passing through
// GetEditText/SetEditText.
#include <algorithm>

#include "Forms.h"
#include "Grids.h"
#include "ScopeGuard.h"

// --- TInplaceEdit -----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TInplaceEdit)

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  // The grid gives the editor the cell's bounds exactly.
  SetAutoSize(false);
  SetBorderStyle(bsNone);
  SetTabStop(false);
  SetParentColor(false);
  SetColor(clWindow);
  AutoSelect = false;
}

void TInplaceEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  // Multi-line so that the native control neither beeps at Return nor hands it to a dialog.
  Params.Style |= ES_MULTILINE;
}

bool TInplaceEdit::Visible() const { return FHandle && IsWindowVisible(FHandle); }

void TInplaceEdit::Deselect() {
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETSEL, 0x7FFFFFFF, LPARAM(-1));
}

void TInplaceEdit::Hide() {
  if (!HandleAllocated() || !IsWindowVisible(FHandle)) return;
  bool hadFocus = GetFocus() == FHandle;
  Invalidate();
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW);
  if (hadFocus && FGrid && FGrid->HandleAllocated()) ::SetFocus(FGrid->Handle());
}

void TInplaceEdit::Move(const TRect& Loc) { InternalMove(Loc, true); }

void TInplaceEdit::UpdateLoc(const TRect& Loc) { InternalMove(Loc, false); }

void TInplaceEdit::InternalMove(const TRect& Loc, bool Redraw) {
  if (Loc.IsEmpty()) {
    Hide();
    return;
  }
  HandleNeeded();
  Redraw = Redraw || !IsWindowVisible(FHandle);
  Invalidate();
  SetWindowPos(FHandle, HWND_TOP, Loc.Left, Loc.Top, Loc.Width(), Loc.Height(), SWP_SHOWWINDOW | SWP_NOREDRAW);
  BoundsChanged();
  if (Redraw) Invalidate();
  if (FGrid && FGrid->Focused()) ::SetFocus(FHandle);
}

bool TInplaceEdit::PosEqual(const TRect& Rect) const {
  if (!HandleAllocated()) return false;
  RECT r;
  GetWindowRect(FHandle, &r);
  MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
  return TRect(r) == Rect;
}

void TInplaceEdit::SetFocus() {
  if (HandleAllocated() && IsWindowVisible(FHandle)) ::SetFocus(FHandle);
}

void TInplaceEdit::Invalidate() {
  if (!HandleAllocated()) return;
  ::InvalidateRect(FHandle, nullptr, TRUE);
  // The grid's cell shows through where the editor leaves it.
  if (FGrid && FGrid->HandleAllocated()) {
    RECT r;
    GetWindowRect(FHandle, &r);
    MapWindowPoints(nullptr, FGrid->Handle(), reinterpret_cast<POINT*>(&r), 2);
    ::InvalidateRect(FGrid->Handle(), &r, FALSE);
  }
}

void TInplaceEdit::BoundsChanged() {
  if (!HandleAllocated()) return;
  RECT r{2, 2, Width() - 2, Height()};
  SendMessageA(FHandle, EM_SETRECTNP, 0, LPARAM(&r));
  SendMessageA(FHandle, EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::UpdateContents() {
  if (!FGrid) return;
  FLoading = true;
  {
    TScopeGuard restore([&] { FLoading = false; });
    SetText(String());
    SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
    FLoadedText = FGrid->GetEditText(FGrid->Col(), FGrid->Row());
    SetText(FLoadedText);
    // A mask sets its own length.
    int limit = FGrid->GetEditLimit();
    if (!IsMasked() || limit > 0) SetMaxLength(std::max(limit, 0));
  }
  SetModified(false);
}

void TInplaceEdit::Change() {
  TCustomMaskEdit::Change();
  // The grid follows every change of the text, as the cell's value.
  if (FGrid && !FLoading) FGrid->UpdateText();
}

void TInplaceEdit::Reset() {
  FLoading = true;
  {
    TScopeGuard restore([&] { FLoading = false; });
    SetText(FLoadedText);
  }
  SetModified(false);
  SelectAll();
  if (FGrid) FGrid->UpdateText();
}

bool TInplaceEdit::EditCanModify() { return FGrid ? FGrid->CanEditModify() : true; }

void TInplaceEdit::DblClick() {
  if (FGrid) FGrid->DblClick();
}

bool TInplaceEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  return FGrid ? FGrid->DoMouseWheel(Shift, WheelDelta, MousePos) : false;
}

void TInplaceEdit::SendToParent(WORD& Key, TShiftState Shift) {
  FGrid->KeyDown(Key, Shift);
  Key = 0;
}

void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (!FGrid) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    return;
  }
  bool forward = FGrid->Options().Contains(goAlwaysShowEditor);
  bool ctrl = Shift.Contains(ssCtrl);
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
  int length = GetWindowTextLengthA(FHandle);
  bool leftSide = start == 0 && (end == 0 || int(end) == length);
  bool rightSide = (start == 0 || end == start) && int(end) == length;
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      SendToParent(Key, Shift);
      break;
    case VK_ESCAPE:
      // Handled in KeyPress, with the character.
      Key = 0;
      break;
    case VK_INSERT:
      if (Shift.Empty()) SendToParent(Key, Shift);
      else if (Shift == TShiftState{ssShift} && !FGrid->CanEditModify()) Key = 0;
      break;
    case VK_LEFT:
    case VK_HOME:
      if (forward && (ctrl || leftSide)) SendToParent(Key, Shift);
      break;
    case VK_RIGHT:
    case VK_END:
      if (forward && (ctrl || rightSide)) SendToParent(Key, Shift);
      break;
    case VK_F2:
      if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
      if (Key == VK_F2) {
        Deselect();
        return;
      }
      break;
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) SendToParent(Key, Shift);
      break;
    case VK_DELETE:
      if (ctrl) SendToParent(Key, Shift);
      else if (!FGrid->CanEditModify()) Key = 0;
      break;
    default: break;
  }
  if (Key != 0) {
    // The grid's OnKeyDown sees the editor's keys too.
    if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
    if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
  }
}

void TInplaceEdit::KeyPress(char& Key) {
  if (!FGrid) {
    TCustomMaskEdit::KeyPress(Key);
    return;
  }
  FGrid->KeyPress(Key);
  auto ch = static_cast<unsigned char>(Key);
  if (ch >= 32 && !FGrid->CanEditAcceptKey(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  switch (static_cast<unsigned char>(Key)) {
    case '\t': Key = 0; break;
    case 27:
      // Escape gives the cell its text back and ends editing.
      Key = 0;
      Reset();
      if (!FGrid->Options().Contains(goAlwaysShowEditor)) FGrid->HideEditor();
      break;
    case '\r': {
      // Still here: the editor always shows; Return toggles between selected text and caret.
      DWORD start = 0, end = 0;
      SendMessageA(FHandle, EM_GETSEL, WPARAM(&start), LPARAM(&end));
      if (start == 0 && int(end) == GetWindowTextLengthA(FHandle)) Deselect();
      else SelectAll();
      Key = 0;
      break;
    }
    case 0: break;
    default:
      if ((ch == 8 || ch == 22 || ch == 24 || ch >= 32) && !FGrid->CanEditModify()) Key = 0;
      break;
  }
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(WORD& Key, TShiftState Shift) {
  if (FGrid && FGrid->OnKeyUp) FGrid->OnKeyUp(FGrid, Key, Shift);
  if (Key != 0) TCustomMaskEdit::KeyUp(Key, Shift);
}

void TInplaceEdit::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETFOCUS && FGrid) {
    // The grid stays its form's active control while its editor has the focus.
    TCustomForm* form = GetParentForm(this);
    if (form && !form->SetFocusedControl(FGrid)) return;
    Dispatch(Message);
    return;
  }
  TCustomMaskEdit::WndProc(Message);
}

void TInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    default: TCustomMaskEdit::Dispatch(Message); break;
  }
}

void TInplaceEdit::WMGetDlgCode(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  if (FGrid && FGrid->Options().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
  else Message.Result &= ~LRESULT(DLGC_WANTTAB);
}

// Handled: the grid shows and hides its editor itself, whatever Visible says.
void TInplaceEdit::CMShowingChanged(TMessage&) {}

// --- The grid's side --------------------------------------------------------------------------

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditAcceptKey(char) { return true; }

bool TCustomGrid::CanEditModify() { return FCanEditModify; }

bool TCustomGrid::CanEditShow() {
  TGridOptions editing = FOptions * TGridOptions{goRowSelect, goEditing};
  return editing == TGridOptions{goEditing} && FEditorMode && !ComponentState().Contains(csDesigning) &&
         HandleAllocated() && (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

String TCustomGrid::GetEditText(int, int) { return String(); }

void TCustomGrid::SetEditText(int, int, const String&) {}

String TCustomGrid::GetEditMask(int, int) { return String(); }

int TCustomGrid::GetEditLimit() { return 0; }

void TCustomGrid::SetEditorMode(bool Value) {
  if (!Value) {
    HideEditor();
  } else {
    ShowEditor();
    if (FInplaceEdit) FInplaceEdit->Deselect();
  }
}

void TCustomGrid::ShowEditor() {
  FEditorMode = true;
  UpdateEdit();
}

void TCustomGrid::HideEditor() {
  FEditorMode = false;
  HideEdit();
}

void TCustomGrid::UpdateEdit() {
  if (!CanEditShow()) return;
  auto load = [this] {
    FInplaceCol = Col();
    FInplaceRow = Row();
    FInplaceEdit->UpdateContents();
    // A limit of -1 makes the cell read-only.
    FCanEditModify = GetEditLimit() != -1;
    FInplaceEdit->SelectAll();
  };
  if (!FInplaceEdit) {
    FInplaceEdit = CreateEditor();
    FInplaceEdit->SetGrid(this);
    FInplaceEdit->SetParent(this);
    FInplaceEdit->SetFont(Font());
    FInplaceEdit->HandleNeeded();
    load();
  } else if (Col() != FInplaceCol || Row() != FInplaceRow) {
    HideEdit();
    load();
  }
  if (CanEditShow()) FInplaceEdit->Move(CellRect(Col(), Row()));
}

void TCustomGrid::UpdateText() {
  if (FInplaceEdit && FInplaceCol != -1 && FInplaceRow != -1) SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TCustomGrid::HideEdit() {
  if (!FInplaceEdit) return;
  TScopeGuard restore([&] {
    FInplaceCol = -1;
    FInplaceRow = -1;
    FInplaceEdit->Hide();
  });
  UpdateText();
}

void TCustomGrid::InvalidateEditor() {
  FInplaceCol = -1;
  FInplaceRow = -1;
  UpdateEdit();
}
