// This file implements the lookup list and its drop-down form.
#include "OxLookupList.h"

#include <algorithm>

#include "Colors.h"
#include "DataSet.h"
#include "Field.h"
#include "OxLookupCombo.h"
#include "OxRealSizeIcons.h"
#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TOxDBLookupList)
VELBOR_PUBLISHED(TOxDBLookupList,
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSingle))

VELBOR_IMPLEMENT_CLASS(TOxPopupDataList)

namespace {
constexpr UINT_PTR ScrollTimer = 1;
constexpr int MaxRows = 50;
}  // namespace

TOxDBLookupList::TOxDBLookupList(TComponent* AOwner) : TOxLookupControl(AOwner) {
  ControlStyle = {csOpaque, csDoubleClicks};
  SetWidth(121);
  SetRowCount(7);
}

TOxDBLookupList::~TOxDBLookupList() { Destroying(); }

// --- Geometry -------------------------------------------------------------------------------------

void TOxDBLookupList::GetBorderStyles(DWORD& Style, DWORD& ExStyle) const {
  Style = WS_CHILD | WS_VSCROLL;
  ExStyle = 0;
  if (FBorderStyle != bsSingle) return;
  if (FCtl3D) ExStyle |= WS_EX_CLIENTEDGE;
  else Style |= WS_BORDER;
}

int TOxDBLookupList::BorderSize() {
  DWORD style = 0, exStyle = 0;
  GetBorderStyles(style, exStyle);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return r.bottom - r.top;
}

void TOxDBLookupList::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  int border = BorderSize();
  int itemHeight = ItemHeight();
  int rows = std::max(1, (AHeight - border) / itemHeight);
  FRowCount = rows;
  FLookupLink->SetBufferCount(std::max(1, rows - EmptyRows()));
  if (!Reading()) AHeight = border + itemHeight * rows;
  TOxLookupControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TOxDBLookupList::SetRowCount(int Value) {
  Value = std::clamp(Value, 1, MaxRows);
  SetHeight(Value * ItemHeight() + BorderSize());
}

void TOxDBLookupList::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  RecreateWnd();
  SetRowCount(FRowCount);
}

void TOxDBLookupList::CreateParams(TCreateParams& Params) {
  TOxLookupControl::CreateParams(Params);
  DWORD style = 0, exStyle = 0;
  GetBorderStyles(style, exStyle);
  Params.Style |= style;
  Params.ExStyle |= exStyle;
}

void TOxDBLookupList::CreateWnd() {
  TOxLookupControl::CreateWnd();
  UpdateScrollBar();
}

void TOxDBLookupList::Loaded() {
  TOxLookupControl::Loaded();
  SetBounds(Left(), Top(), Width(), Height());
  Recount();
}

// --- Rows -----------------------------------------------------------------------------------------

void TOxDBLookupList::Recount() {
  if (FListActive) {
    FRecordIndex = FLookupLink->ActiveRecord();
    FRecordCount = FLookupLink->RecordCount();
    FKeySelected = !ValueIsEmpty() || !LookupDataSet()->Bof();
  } else {
    FRecordIndex = 0;
    FRecordCount = 0;
    FKeySelected = false;
  }
  UpdateScrollBar();
  Invalidate();
}

void TOxDBLookupList::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  int position = 0, maximum = 0;
  // The bar shows only where the window stands: at the start, at the end or in between.
  if (FListActive && FRecordCount == FRowCount - EmptyRows()) {
    maximum = 4;
    TDataSet* dataSet = LookupDataSet();
    if (!dataSet->Bof()) position = dataSet->Eof() ? 4 : 2;
  }
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_POS;
  info.nMin = 0;
  info.nMax = maximum;
  info.nPos = position;
  SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

int TOxDBLookupList::KeyIndex() {
  if (!FListActive || ValueIsEmpty()) return -1;
  int saved = FLookupLink->ActiveRecord();
  int result = -1;
  for (int i = 0; i < FLookupLink->RecordCount() && result < 0; ++i) {
    FLookupLink->SetActiveRecord(i);
    if (FKeyField->AsString() == FValue) result = i;
  }
  FLookupLink->SetActiveRecord(saved);
  return result;
}

void TOxDBLookupList::ShowValueRow() {
  if (FListActive && !FLockPosition && !LocateKey()) LookupDataSet()->First();
  Recount();
}

void TOxDBLookupList::ShowDisplayRow() {
  if (FListActive && !FLockPosition && !LocateDisplay()) LookupDataSet()->First();
  Recount();
}

void TOxDBLookupList::RebuildLookupFields() {
  auto afterwards = [this] {
    if (!FListActive || FLockPosition) {
      Recount();
      return;
    }
    if (FMasterField != nullptr) FValue = FMasterField->AsString();
    ShowValueRow();
  };
  TScopeGuard restore([&] { afterwards(); });
  TOxLookupControl::RebuildLookupFields();
}

void TOxDBLookupList::LookupDataChanged() { Recount(); }

void TOxDBLookupList::EmptyTextChanged(const String& NewText) {
  FLookupLink->SetBufferCount(std::max(1, NewText.empty() ? FRowCount : FRowCount - 1));
}

void TOxDBLookupList::ChooseCurrent() {
  FLockPosition = true;
  {
    TScopeGuard restore([&] { FLockPosition = false; });
    if (FSelectEmpty) ClearToEmpty();
    else ChooseKey(FKeyField->AsString());
  }
  Recount();
}

// --- Painting -------------------------------------------------------------------------------------

void TOxDBLookupList::Paint() {
  TCanvas* canvas = Canvas();
  int itemHeight = ItemHeight();
  int emptyRows = EmptyRows();
  int width = ClientWidth();
  canvas->Font()->Assign(Font());
  canvas->Pen()->SetColor(Color() == clBtnFace ? clBtnShadow : clBtnFace);
  for (int i = 0; i < FRowCount; ++i) {
    TRect r(0, i * itemHeight, width, (i + 1) * itemHeight);
    canvas->Font()->SetColor(Font()->Color());
    canvas->Brush()->SetColor(Color());
    bool selected = !FKeySelected && i == 0 && emptyRows == 0;
    if (i < emptyRows + FRecordCount) {
      bool isEmpty = emptyRows == 1 && i == 0;
      if (isEmpty) {
        if (ValueIsEmpty()) selected = true;
        else canvas->Brush()->SetColor(FEmptyItemColor);
      } else {
        FLookupLink->SetActiveRecord(i - emptyRows);
        if (!ValueIsEmpty() && FKeyField->AsString() == FValue) selected = true;
      }
      if (selected) {
        canvas->Font()->SetColor(clHighlightText);
        canvas->Brush()->SetColor(clHighlight);
      }
      int margin = 0;
      TGraphic* image = FetchRowImage(false, isEmpty, margin);
      if (margin <= 0) {
        DrawRowFields(canvas, r, isEmpty, selected);
      } else {
        TBitmap row;
        row.SetSize(r.Width(), r.Height());
        TCanvas* rowCanvas = row.Canvas();
        rowCanvas->Font()->Assign(canvas->Font());
        rowCanvas->Brush()->Assign(canvas->Brush());
        rowCanvas->Pen()->Assign(canvas->Pen());
        rowCanvas->FillRect(TRect(0, 0, r.Width(), r.Height()));
        DrawRowImage(rowCanvas, TRect(0, 0, margin, r.Height()), image);
        DrawRowFields(rowCanvas, TRect(margin, 0, r.Width(), r.Height()), isEmpty, selected);
        canvas->Draw(r.Left, r.Top, &row);
      }
    } else {
      canvas->FillRect(r);
    }
    if (selected && (FFocused || FPopup)) canvas->DrawFocusRect(r);
  }
  if (FRowCount * itemHeight < ClientHeight()) {
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(TRect(0, FRowCount * itemHeight, width, ClientHeight()));
  }
  if (FListActive) FLookupLink->SetActiveRecord(FRecordIndex);
}

void TOxDBLookupList::DrawRowFields(TCanvas* Canvas, const TRect& Rect, bool IsEmpty, bool) {
  int textTop = (Rect.Top + Rect.Bottom - Canvas->TextHeight("Xy")) / 2;
  if (FListStyle == lsDelimited || FListFields.empty()) {
    Canvas->TextRect(Rect, Rect.Left + 2, textTop, IsEmpty ? FDisplayEmpty : FListFields.empty() ? String() : RowText());
    return;
  }
  int m = Canvas->TextWidth("M");
  TRect r = Rect;
  for (std::size_t j = 0; j < FListFields.size(); ++j) {
    TField* field = FListFields[j];
    bool last = j + 1 == FListFields.size();
    int width = last ? Rect.Right - r.Left : field->DisplayWidth() * m + 4;
    String text = IsEmpty ? (j == 0 ? FDisplayEmpty : String()) : field->DisplayText();
    int x = 2;
    if (field->Alignment() == taRightJustify) x = width - Canvas->TextWidth(text) - 3;
    else if (field->Alignment() == taCenter) x = (width - Canvas->TextWidth(text)) / 2;
    r.Right = r.Left + width;
    Canvas->TextRect(r, r.Left + x, textTop, text);
    if (!last) {
      Canvas->MoveTo(r.Right, r.Top);
      Canvas->LineTo(r.Right, r.Bottom);
      ++r.Right;
      if (r.Right >= Rect.Right) break;
    }
    r.Left = r.Right;
  }
}

// --- Keyboard and mouse ---------------------------------------------------------------------------

void TOxDBLookupList::KeyDown(WORD& Key, TShiftState Shift) {
  TOxLookupControl::KeyDown(Key, Shift);
  if (!CanModify()) return;
  int emptyRows = EmptyRows();
  int delta = 0;
  bool home = false, end = false;
  switch (Key) {
    case VK_UP:
    case VK_LEFT: delta = -1; break;
    case VK_DOWN:
    case VK_RIGHT: delta = 1; break;
    case VK_PRIOR: delta = -(FRowCount - 1 - emptyRows); break;
    case VK_NEXT: delta = FRowCount - emptyRows - 1; break;
    case VK_HOME: home = true; break;
    case VK_END: end = true; break;
    default: return;
  }
  FSearchText.clear();
  FSelectEmpty = ValueIsEmpty() && emptyRows == 1 && (delta < 0 || home);
  TDataSet* dataSet = LookupDataSet();
  if (home) {
    dataSet->First();
  } else if (end) {
    dataSet->Last();
  } else {
    int index = KeyIndex();
    if (index >= 0) {
      dataSet->MoveBy(index - FRecordIndex);
    } else {
      // The key's row is not in view: find it again and stay there.
      if (!LocateKey()) dataSet->First();
      delta = 0;
    }
    dataSet->MoveBy(delta);
    if (dataSet->Bof() && delta < 0 && emptyRows == 1) FSelectEmpty = true;
  }
  ChooseCurrent();
}

void TOxDBLookupList::KeyPress(char& Key) {
  TOxLookupControl::KeyPress(Key);
  ProcessSearchKey(Key);
}

void TOxDBLookupList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FSearchText.clear();
    if (!FPopup) {
      SetFocus();
      if (!Focused()) return;
    }
    if (CanModify()) {
      if (Shift.Contains(ssDouble)) {
        if (Y / ItemHeight() == FRecordIndex + EmptyRows()) DblClick();
      } else {
        SetMouseCapture(true);
        FTracking = true;
        ChooseRowAt(X, Y);
      }
    }
  }
  TOxLookupControl::MouseDown(Button, Shift, X, Y);
}

void TOxDBLookupList::MouseMove(TShiftState Shift, int X, int Y) {
  if (FTracking) {
    ChooseRowAt(X, Y);
    FMousePos = Y;
    TimerScroll();
  }
  TOxLookupControl::MouseMove(Shift, X, Y);
}

void TOxDBLookupList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FTracking) {
    StopTracking();
    ChooseRowAt(X, Y);
  }
  TOxLookupControl::MouseUp(Button, Shift, X, Y);
}

void TOxDBLookupList::ChooseRowAt(int, int Y) {
  if (!FListActive) return;
  Y = std::clamp(Y, 0, std::max(0, ClientHeight() - 1));
  int row = Y / ItemHeight();
  if (row == 0 && EmptyRows() == 1) {
    FSelectEmpty = true;
  } else {
    LookupDataSet()->MoveBy(row - EmptyRows() - FRecordIndex);
    FSelectEmpty = false;
  }
  ChooseCurrent();
}

void TOxDBLookupList::StopTracking() {
  if (!FTracking) return;
  StopTimer();
  FTracking = false;
  SetMouseCapture(false);
}

void TOxDBLookupList::StopTimer() {
  if (!FTimerActive) return;
  if (HandleAllocated()) KillTimer(Handle(), ScrollTimer);
  FTimerActive = false;
}

// Dragging outside the list scrolls it a row per tick, faster the farther the pointer is.
void TOxDBLookupList::TimerScroll() {
  int delta = 0, distance = 0;
  if (FMousePos < 0) {
    delta = -1;
    distance = -FMousePos;
  } else if (FMousePos >= ClientHeight()) {
    delta = 1;
    distance = FMousePos - ClientHeight() + 1;
  }
  if (delta == 0 || !FListActive) {
    StopTimer();
    return;
  }
  if (LookupDataSet()->MoveBy(delta) != 0) ChooseCurrent();
  SetTimer(Handle(), ScrollTimer, UINT(std::max(0, 200 - 15 * distance)), nullptr);
  FTimerActive = true;
}

bool TOxDBLookupList::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TOxLookupControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  TDataSet* dataSet = LookupDataSet();
  if (dataSet == nullptr || !FListActive) return false;
  bool down = WheelDelta < 0;
  if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl)) {
    dataSet->MoveBy(down ? FRecordCount - FRecordIndex : -(FRecordIndex + 1));
  } else {
    dataSet->MoveBy(down ? FRecordCount - FRecordIndex + FRecordCount / 2 - 1 : -(FRecordIndex + FRecordCount / 2));
  }
  return true;
}

// --- Messages -------------------------------------------------------------------------------------

void TOxDBLookupList::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_CANCELMODE:
    case CM_CANCELMODE: WMCancelMode(Message); break;
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    default: TOxLookupControl::Dispatch(Message); break;
  }
}

void TOxDBLookupList::WMVScroll(TMessage& Message) {
  FSearchText.clear();
  TDataSet* dataSet = LookupDataSet();
  if (dataSet == nullptr || !FListActive) return;
  auto pageUp = [&] { dataSet->MoveBy(1 - FRecordIndex - FRecordCount); };
  auto pageDown = [&] { dataSet->MoveBy(2 * FRecordCount - FRecordIndex - 2); };
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: dataSet->MoveBy(-(FRecordIndex + 1)); break;
    case SB_LINEDOWN: dataSet->MoveBy(FRecordCount - FRecordIndex); break;
    case SB_PAGEUP: pageUp(); break;
    case SB_PAGEDOWN: pageDown(); break;
    case SB_THUMBPOSITION:
      switch (HIWORD(Message.WParam)) {
        case 0: dataSet->First(); break;
        case 1: pageUp(); break;
        case 3: pageDown(); break;
        case 4: dataSet->Last(); break;
        default: break;
      }
      break;
    case SB_TOP: dataSet->First(); break;
    case SB_BOTTOM: dataSet->Last(); break;
    default: break;
  }
}

void TOxDBLookupList::WMTimer(TMessage& Message) {
  if (Message.WParam == ScrollTimer) TimerScroll();
  else TOxLookupControl::Dispatch(Message);
}

void TOxDBLookupList::WMCancelMode(TMessage& Message) {
  StopTracking();
  TOxLookupControl::Dispatch(Message);
}

void TOxDBLookupList::CMCtl3DChanged(TMessage& Message) {
  RecreateWnd();
  SetRowCount(FRowCount);
  TOxLookupControl::Dispatch(Message);
}

void TOxDBLookupList::CMFontChanged(TMessage& Message) {
  TOxLookupControl::Dispatch(Message);
  SetBounds(Left(), Top(), Width(), Height());
}

// --- TOxPopupDataList -----------------------------------------------------------------------------

TOxPopupDataList::TOxPopupDataList(TComponent* AOwner) : TOxDBLookupList(AOwner) {
  ControlStyle.Include(csNoDesignVisible);
  ControlStyle.Include(csReplicatable);
  FPopup = true;
  FCtl3D = false;
  SetTabStop(false);
  SetVisible(false);
}

void TOxPopupDataList::GetBorderStyles(DWORD& Style, DWORD& ExStyle) const {
  Style = WS_POPUP | WS_BORDER;
  ExStyle = WS_EX_TOOLWINDOW;
}

void TOxPopupDataList::CreateParams(TCreateParams& Params) {
  TOxDBLookupList::CreateParams(Params);
  GetBorderStyles(Params.Style, Params.ExStyle);
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TOxPopupDataList::Click() {
  TOxDBLookupList::Click();
  RefreshCombo();
}

void TOxPopupDataList::KeyPress(char& Key) {
  TOxDBLookupList::KeyPress(Key);
  RefreshCombo();
}

void TOxPopupDataList::RefreshCombo() {
  if (FCombo != nullptr && FCombo->ListVisible()) FCombo->RepaintTextArea();
}

void TOxPopupDataList::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE: WMMouseActivate(Message); break;
    default: TOxDBLookupList::Dispatch(Message); break;
  }
}

// The list drops down over its combo's form: the form keeps the activation and the combo the focus.
void TOxPopupDataList::WMMouseActivate(TMessage& Message) { Message.Result = MA_NOACTIVATE; }
