// This file implements the panel grid TDBCtrlGrid and the panel TDBCtrlPanel that holds its
// controls: layout of the panels, the record window of the data link, paint-copies of the other
// panels, keys and the scroll bar.
#include "DBCGrids.h"

#include <cassert>

#include "Colors.h"
#include "DataSet.h"
#include "ScopeGuard.h"

// The grid's view of the dataset: one buffer per panel.
class TDBCtrlGridLink : public TDataLink {
 public:
  explicit TDBCtrlGridLink(TDBCtrlGrid* Grid) : FGrid(Grid) {}

 protected:
  void ActiveChanged() override { FGrid->DataChanged(); }
  void DataSetChanged() override { FGrid->DataChanged(); }
  void DataSetScrolled(int) override { FGrid->DataChanged(); }
  void LayoutChanged() override { FGrid->DataChanged(); }
  // The current panel is painted again too: OnPaintPanel may set its editors by the new values.
  void RecordChanged(TField*) override {
    FGrid->Invalidate();
    FGrid->Panel()->Invalidate();
  }

 private:
  TDBCtrlGrid* FGrid;
};

// --- TDBCtrlPanel -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TDBCtrlPanel)

TDBCtrlPanel::TDBCtrlPanel(TComponent* AOwner)
    : TCustomControl(AOwner), FGrid(dynamic_cast<TDBCtrlGrid*>(AOwner)) {
  assert(FGrid != nullptr);
  ControlStyle = {csAcceptsControls, csOpaque};
  SetParent(FGrid);
}

void TDBCtrlPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TDBCtrlPanel::Paint() {
  TCanvas* canvas = Canvas();
  bool selected = FGrid->FFocused && !ControlState.Contains(csPaintCopy);
  canvas->Brush()->SetColor(selected ? FGrid->SelectedColor() : FGrid->Color());
  canvas->FillRect(ClientRect());
  // The current panel is drawn through OnPaintPanel too, on its own canvas.
  if (!ControlState.Contains(csPaintCopy)) {
    TCanvas* saved = FGrid->FPaintCanvas;
    FGrid->FPaintCanvas = canvas;
    FGrid->PaintPanel(FGrid->PanelIndex());
    FGrid->FPaintCanvas = saved;
  }
}

void TDBCtrlPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

// Handled: Paint fills the whole panel.
void TDBCtrlPanel::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

// --- TDBCtrlGrid --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TDBCtrlGrid)
VELBOR_PUBLISHED(TDBCtrlGrid,
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("PanelCount", &Self::PanelCount, &Self::SetPanelCount).Default(3),
  Prop("PanelHeight", &Self::PanelHeight, &Self::SetPanelHeight).Default(72),
  Prop("PanelWidth", &Self::PanelWidth, &Self::SetPanelWidth).Default(200),
  Prop("Orientation", &Self::Orientation, &Self::SetOrientation).Default(goVertical),
  Prop("SelectedColor", &Self::SelectedColor, &Self::SetSelectedColor),
  Prop("AllowInsert", &Self::AllowInsert).Default(true),
  Prop("AllowDelete", &Self::AllowDelete).Default(true),
  Prop("OnPaintPanel", &Self::OnPaintPanel))

TDBCtrlGrid::TDBCtrlGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csOpaque, csDoubleClicks};
  SetTabStop(true);
  FDataLink = new TDBCtrlGridLink(this);
  FDataLink->SetBufferCount(FPanelCount);
  FPanel = new TDBCtrlPanel(this);
  UpdateLayout();
}

TDBCtrlGrid::~TDBCtrlGrid() {
  delete FDataLink;
  FDataLink = nullptr;
}

TDataSource* TDBCtrlGrid::DataSource() const { return FDataLink->DataSource(); }

void TDBCtrlGrid::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
  DataChanged();
}

TComponent* TDBCtrlGrid::GetChildParent() { return FPanel; }

TDataSet* TDBCtrlGrid::DataSet() const { return FDataLink->Active() ? FDataLink->DataSet() : nullptr; }

void TDBCtrlGrid::SetPanelCount(int Value) {
  if (Value < 1) Value = 1;
  if (FPanelCount == Value) return;
  FPanelCount = Value;
  FDataLink->SetBufferCount(Value);
  UpdateLayout();
}

void TDBCtrlGrid::SetPanelHeight(int Value) {
  if (Value < 1) Value = 1;
  if (FPanelHeight == Value) return;
  FPanelHeight = Value;
  UpdateLayout();
}

void TDBCtrlGrid::SetPanelWidth(int Value) {
  if (Value < 1) Value = 1;
  if (FPanelWidth == Value) return;
  FPanelWidth = Value;
  UpdateLayout();
}

void TDBCtrlGrid::SetOrientation(TDBCtrlGridOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  RecreateWnd();
  UpdateLayout();
}

void TDBCtrlGrid::SetSelectedColor(TColor Value) {
  if (FSelectedColor == Value) return;
  FSelectedColor = Value;
  FPanel->Invalidate();
}

int TDBCtrlGrid::PanelIndex() const { return DataSet() != nullptr ? FDataLink->ActiveRecord() : 0; }

TCanvas* TDBCtrlGrid::Canvas() const { return FPaintCanvas != nullptr ? FPaintCanvas : TCustomControl::Canvas(); }

TRect TDBCtrlGrid::PanelBounds(int Index) const {
  if (FOrientation == goVertical) return Bounds(0, Index * FPanelHeight, FPanelWidth, FPanelHeight);
  return Bounds(Index * FPanelWidth, 0, FPanelWidth, FPanelHeight);
}

void TDBCtrlGrid::UpdateLayout() {
  // The grid's client area is exactly the panels; the scroll bar comes on top of it.
  int scroll = FOrientation == goVertical ? GetSystemMetrics(SM_CXVSCROLL) : GetSystemMetrics(SM_CYHSCROLL);
  int w = FOrientation == goVertical ? FPanelWidth + scroll : FPanelWidth * FPanelCount;
  int h = FOrientation == goVertical ? FPanelHeight * FPanelCount : FPanelHeight + scroll;
  SetBounds(Left(), Top(), w, h);
  FPanel->SetBoundsRect(PanelBounds(PanelIndex()));
  Invalidate();
}

void TDBCtrlGrid::DataChanged() {
  if (FDataLink == nullptr) return;
  FPanel->SetBoundsRect(PanelBounds(PanelIndex()));
  FPanel->SetVisible(DataSet() == nullptr || FDataLink->RecordCount() > 0);
  UpdateScrollBar();
  Invalidate();
  FPanel->Invalidate();
}

void TDBCtrlGrid::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  TDataSet* set = DataSet();
  if (set != nullptr && set->RecordCount() > 0) {
    // One scroll unit per record; the thumb covers the panels shown.
    si.nMin = 0;
    si.nMax = set->RecordCount() - 1;
    si.nPage = UINT(FPanelCount);
    int recNo = set->RecNo() - 1;
    si.nPos = recNo < 0 ? 0 : recNo - PanelIndex();
  }
  SetScrollInfo(FHandle, FOrientation == goVertical ? SB_VERT : SB_HORZ, &si, TRUE);
}

void TDBCtrlGrid::DoKey(TDBCtrlGridKey Key) {
  TDataSet* set = DataSet();
  if (set == nullptr) return;
  switch (Key) {
    case gkUp:
    case gkScrollUp:
    case gkLeft:
      set->Prior();
      break;
    case gkDown:
    case gkScrollDown:
    case gkRight:
      set->Next();
      break;
    case gkPageUp: set->MoveBy(-FPanelCount); break;
    case gkPageDown: set->MoveBy(FPanelCount); break;
    case gkHome: set->First(); break;
    case gkEnd: set->Last(); break;
    case gkEditMode:
      if (set->State() == dsBrowse && DataSource()->AutoEdit) set->Edit();
      break;
    case gkInsert:
      if (AllowInsert) set->Insert();
      break;
    case gkAppend:
      if (AllowInsert) set->Append();
      break;
    case gkDelete:
      if (AllowDelete && !set->IsEmpty()) set->Delete();
      break;
    case gkCancel: set->Cancel(); break;
    case gkPriorTab: SelectNext(nullptr, false, true); break;
    case gkNextTab: SelectNext(nullptr, true, true); break;
    case gkNull: break;
  }
}

void TDBCtrlGrid::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  TDBCtrlGridKey gk = gkNull;
  switch (Key) {
    case VK_UP: gk = gkUp; break;
    case VK_DOWN: gk = gkDown; break;
    case VK_LEFT: gk = FOrientation == goHorizontal ? gkLeft : gkNull; break;
    case VK_RIGHT: gk = FOrientation == goHorizontal ? gkRight : gkNull; break;
    case VK_PRIOR: gk = gkPageUp; break;
    case VK_NEXT: gk = gkPageDown; break;
    case VK_HOME: gk = gkHome; break;
    case VK_END: gk = gkEnd; break;
    case VK_ESCAPE: gk = gkCancel; break;
    case VK_F2: gk = gkEditMode; break;
    default: break;
  }
  if (gk != gkNull) {
    DoKey(gk);
    Key = 0;
  }
}

void TDBCtrlGrid::PaintPanel(int Index) {
  if (OnPaintPanel) OnPaintPanel(this, Index);
}

void TDBCtrlGrid::DrawPanelCopy(HDC DC, int Index) {
  TRect r = PanelBounds(Index);
  // The panel is drawn off-screen with record Index active, then copied into place.
  TBitmap bitmap;
  bitmap.SetSize(r.Width(), r.Height());
  HDC bitmapDC = bitmap.Canvas()->Handle();
  int saved = FDataLink->ActiveRecord();
  FDataLink->SetActiveRecord(Index);
  {
    TScopeGuard restoreRecord([&] { FDataLink->SetActiveRecord(saved); });
    FPanel->PaintTo(bitmapDC, 0, 0);
    TCanvas* canvasSaved = FPaintCanvas;
    FPaintCanvas = bitmap.Canvas();
    TScopeGuard restoreCanvas([&] { FPaintCanvas = canvasSaved; });
    PaintPanel(Index);
  }
  BitBlt(DC, r.Left, r.Top, r.Width(), r.Height(), bitmapDC, 0, 0, SRCCOPY);
}

void TDBCtrlGrid::Paint() {
  HDC dc = TCustomControl::Canvas()->Handle();
  TCustomControl::Canvas()->Brush()->SetColor(Color());
  TCustomControl::Canvas()->FillRect(ClientRect());
  TDataSet* set = DataSet();
  if (set == nullptr) return;
  int count = FDataLink->RecordCount();
  int current = PanelIndex();
  for (int i = 0; i < count; ++i) {
    if (i != current) DrawPanelCopy(dc, i);
  }
}

void TDBCtrlGrid::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN | (FOrientation == goVertical ? WS_VSCROLL : WS_HSCROLL);
}

void TDBCtrlGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBar();
}

void TDBCtrlGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) SetDataSource(nullptr);
}

void TDBCtrlGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

void TDBCtrlGrid::ScrollMessage(TMessage& Message) {
  TDataSet* set = DataSet();
  if (set == nullptr) return;
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: DoKey(gkScrollUp); break;
    case SB_LINEDOWN: DoKey(gkScrollDown); break;
    case SB_PAGEUP: DoKey(gkPageUp); break;
    case SB_PAGEDOWN: DoKey(gkPageDown); break;
    case SB_TOP: DoKey(gkHome); break;
    case SB_BOTTOM: DoKey(gkEnd); break;
    case SB_THUMBPOSITION: {
      int target = int(HIWORD(Message.WParam));
      set->MoveBy(target - (set->RecNo() - 1 - PanelIndex()));
      break;
    }
    default: break;
  }
}

void TDBCtrlGrid::WMVScroll(TMessage& Message) { ScrollMessage(Message); }

void TDBCtrlGrid::WMHScroll(TMessage& Message) { ScrollMessage(Message); }

// Handled: Paint fills the whole client area.
void TDBCtrlGrid::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TDBCtrlGrid::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TDBCtrlGrid::CMEnter(TMessage& Message) {
  FFocused = true;
  FPanel->Invalidate();
  TCustomControl::Dispatch(Message);
}

void TDBCtrlGrid::CMExit(TMessage& Message) {
  FFocused = false;
  FPanel->Invalidate();
  TCustomControl::Dispatch(Message);
}

void TDBCtrlGrid::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }

void RegisterDBCtrlGrid() { RegisterClass(TDBCtrlGrid::StaticClass()); }
