// This file implements the dock sites and their rows and columns.
#include "kwDockControl.h"

#include <algorithm>

#include "Forms.h"
#include "kwBarControl.h"
#include "kwBarItemControlPainter.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBars.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwDockControl)

namespace {
// The margin round a dock site within which a dragged bar docks there.
const int DockingMargin = 23;
}  // namespace

TkwDockRow::~TkwDockRow() {
  for (TkwDockCol* col : Cols) delete col;
}

// --- Creation and destruction ------------------------------------------------------------------------

TkwDockControl::TkwDockControl(TComponent* AOwner, TkwBarDockingStyle FixedStyle)
    : TkwDockSite(AOwner, FixedStyle) {
  FBackgroundBitmap = new TBitmap();
  FBackgroundBitmap->OnChange = TNotifyEvent(this, &TkwDockControl::BackgroundChanged);
  FOffscreen = new TBitmap();
  SetParentColor(true);
  AllowDocking = true;
}

TkwDockControl* TkwDockControl::CreateForManager(TComponent* AOwner, TkwBarDockingStyle Style, TkwBarManager* Manager) {
  // The manager's bars own the edge sites (they free them); the form only holds them as child
  // controls. Owned by the form they would be written with its description, and a description
  // read back would make them a second time beside those the manager makes.
  auto* dock = new TkwDockControl(nullptr, Style);
  static const TAlign aligns[5] = {alNone, alLeft, alTop, alRight, alBottom};
  dock->ControlStyle.Include(csNoDesignVisible);
  if (Style == dsTop) dock->ControlStyle.Include(csActionClient);
  dock->SetAlign(aligns[Style]);
  dock->SetBounds(0, 0, 0, 0);
  if (auto* parent = dynamic_cast<TWinControl*>(AOwner)) dock->SetParent(parent);
  dock->SetBarManager(Manager);
  return dock;
}

TkwDockControl::~TkwDockControl() {
  Destroying();
  if (TkwBarManager* manager = BarManager())
    if (TkwBars* bars = manager->Bars()) bars->ForgetEdgeDockSite(this);
  SetBarManager(nullptr);
  for (TkwDockRow* row : FRows)
    for (TkwDockCol* col : row->Cols)
      if (col->BarControl && IsLiveBarControl(col->BarControl)) col->BarControl->SetDockSite(nullptr);
  for (TkwDockRow* row : FRows) delete row;
  FRows.clear();
  delete FBackgroundBitmap;
  delete FOffscreen;
}

void TkwDockControl::CreateParams(TCreateParams& Params) {
  TkwDockSite::CreateParams(Params);
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = 0;
  Params.WindowClass.style = CS_DBLCLKS;
}

TkwBarDockingStyle TkwDockControl::DockingStyle() const {
  switch (Align()) {
    case alLeft: return dsLeft;
    case alRight: return dsRight;
    case alBottom: return dsBottom;
    default: return dsTop;
  }
}

TkwBars* TkwDockControl::GetBars() const { return BarManager() ? BarManager()->Bars() : nullptr; }

void TkwDockControl::ManagerChanged() {
  ResetBackgroundBitmap();
  UpdateColor();
}

void TkwDockControl::UpdateColor() {
  TkwBarManager* manager = BarManager();
  if (!manager || manager->AutoDockColor())
    SetParentColor(true);
  else
    SetColor(manager->DockColor());
}

bool TkwDockControl::GetSunkenBorder() const { return BarManager() && BarManager()->SunkenBorder(); }

int TkwDockControl::GetDockSize() const {
  int size = 0;
  for (int i = 0; i < GetRowCount(); ++i) size += RowThickness(i);
  return size;
}

int TkwDockControl::GetTotalSize() {
  int size = GetDockSize();
  return size > 0 && GetSunkenBorder() ? size + 2 : size;
}

void TkwDockControl::SetDockSize(int Value) {
  if (IsVerticalDock())
    SetWidth(Value);
  else
    SetHeight(Value);
}

int TkwDockControl::RowThickness(int Row) const {
  TkwDockRow* row = GetRow(Row);
  int thickness = 0;
  for (TkwDockCol* col : row->Cols) {
    if (!col->BarControl) continue;
    thickness = std::max(thickness, IsVerticalDock() ? col->BarControl->Width() : col->BarControl->Height());
  }
  return thickness;
}

TkwDockCol* TkwDockControl::FindCol(const TkwBarControl* Window) const {
  for (TkwDockRow* row : FRows)
    for (TkwDockCol* col : row->Cols)
      if (col->BarControl == Window) return col;
  return nullptr;
}

// --- Background ---------------------------------------------------------------------------------------

void TkwDockControl::BackgroundChanged(TObject*) {
  Invalidate();
  UpdateDoubleBuffered();
  RepaintBars();
}

bool TkwDockControl::NeedsDoubleBuffer() const {
  TkwBarManager* manager = BarManager();
  return !FBackgroundBitmap->Empty() || ItemPainterOf(manager)->PaintsOwnBackgrounds() ||
         (manager && !manager->Backgrounds()->Bar()->Empty());
}

void TkwDockControl::ResetBackgroundBitmap() {
  if (FOffscreen) FOffscreen->SetSize(0, 0);
}

void TkwDockControl::DrawBackground(HDC DC, const TRect& Rect, TColor Color, HBRUSH Brush, const TRect& OriginRect) {
  TkwBarManager* manager = BarManager();
  TBitmap* bitmap = !FBackgroundBitmap->Empty() ? FBackgroundBitmap
                    : manager && !manager->Backgrounds()->Bar()->Empty() ? manager->Backgrounds()->Bar()
                                                                         : nullptr;
  if (bitmap) {
    FillRectOrBitmap(DC, Rect, OriginRect, bitmap, Color, Brush);
    return;
  }
  if (ClientRect().IsEmpty()) return;
  ItemPainterOf(manager)->DrawDockBackground(this, DC, Color, Brush, OriginRect, Rect, Rect);
}

void TkwDockControl::RepaintBars() {
  for (TkwDockRow* row : FRows)
    for (TkwDockCol* col : row->Cols)
      if (col->BarControl && col->BarControl->HandleAllocated()) {
        SendMessageA(col->BarControl->Handle(), WM_NCPAINT, 1, 0);
        col->BarControl->Invalidate();
      }
}

void TkwDockControl::RepaintBackground() {
  ResetBackgroundBitmap();
  Invalidate();
  RepaintBars();
}

void TkwDockControl::Paint() {
  TRect client = ClientRect();
  DrawBackground(Canvas()->Handle(), client, Color(), nullptr, client);
}

// --- Docking ------------------------------------------------------------------------------------------

void TkwDockControl::DockBarWindow(TkwBarWindow* Window, TPoint ScreenPoint) {
  if (auto* bar = dynamic_cast<TkwBarControl*>(Window)) DockBarControl(bar, ScreenPoint, true);
}

void TkwDockControl::UndockBarWindow(TkwBarWindow* Window) {
  if (auto* bar = dynamic_cast<TkwBarControl*>(Window)) UndockBarControl(bar, nullptr, true);
}

void TkwDockControl::DockBarControl(TkwBarControl* Window, TPoint ScreenPoint, bool Reposition) {
  TkwBarManager* manager = BarManager();
  if (!manager || !Window) return;
  TkwBars* bars = manager->Bars();
  TkwBar* bar = Window->Bar();
  bool locked = Window->IsPositionLocked();
  bool loading = bars && bars->Busy;
  int rowIndex;
  bool newRow;
  if (locked) {
    rowIndex = bar->Row();
    newRow = bar->OneOnRow;
  } else {
    rowIndex = GetRowAtPoint(ScreenPoint, newRow);
  }
  if (bar->WholeRow()) newRow = true;
  if (locked && loading) {
    // Rows loaded later get their places now, empty.
    while (GetRowCount() < rowIndex) FRows.push_back(new TkwDockRow(this));
  } else {
    rowIndex = std::clamp(rowIndex, 0, newRow ? GetRowCount() : std::max(GetRowCount() - 1, 0));
  }
  if (rowIndex >= GetRowCount()) newRow = true;
  if (!newRow) {
    TkwDockRow* row = GetRow(rowIndex);
    for (TkwDockCol* col : row->Cols)
      if (col->BarControl && col->BarControl != Window && col->BarControl->Bar()->WholeRow()) newRow = true;
  }
  TkwDockRow* row;
  TkwDockCol* col;
  if (newRow) {
    if (locked && loading && rowIndex < GetRowCount() && GetRow(rowIndex)->Cols.empty()) {
      row = GetRow(rowIndex);
    } else {
      row = new TkwDockRow(this);
      FRows.insert(FRows.begin() + std::min(rowIndex, GetRowCount()), row);
    }
    col = new TkwDockCol(row, Window);
    row->Cols.push_back(col);
  } else {
    row = GetRow(rowIndex);
    int index = GetColIndexAtPoint(row, ScreenPoint);
    col = new TkwDockCol(row, Window);
    row->Cols.insert(row->Cols.begin() + index, col);
  }
  TPoint point = ScreenPoint;
  if (!locked && bars && bars->Dragging) {
    TPoint offset = Window->GetDragOffset(DockingStyle());
    point.X -= offset.X;
    point.Y -= offset.Y;
  }
  if (HandleAllocated()) ::ScreenToClient(Handle(), AsPOINT(&point));
  if (IsHorizontal())
    point.X = std::max(point.X, 0);
  else
    point.Y = std::max(point.Y, 0);
  col->Position = point;
  Window->SetDockingStyle(DockingStyle());
  Window->SetDockSite(this);
  if (Window->Parent() != this) Window->SetParent(this);
  if (Reposition) {
    if (!Window->IsMoving()) Window->SetBounds(point.X, point.Y, Window->Width(), Window->Height());
    UpdateLayout();
    if (!bars || !bars->Busy) col->Position = TPoint(Window->Left(), Window->Top());
  }
}

void TkwDockControl::UndockBarControl(TkwBarControl* Window, TkwDockCol* Col, bool Relayout) {
  if (!Col) Col = FindCol(Window);
  if (!Col) return;
  TkwDockRow* row = Col->Row;
  row->Cols.erase(std::remove(row->Cols.begin(), row->Cols.end(), Col), row->Cols.end());
  delete Col;
  if (row->Cols.empty()) {
    FRows.erase(std::remove(FRows.begin(), FRows.end(), row), FRows.end());
    delete row;
  }
  if (Window && Window->DockSite() == this) Window->SetDockSite(nullptr);
  if (Relayout) UpdateLayout();
}

void TkwDockControl::MoveBarControl(TkwBarControl* Window, TPoint ScreenPoint) {
  TkwDockCol* col = FindCol(Window);
  if (col) UndockBarControl(Window, col, false);
  DockBarControl(Window, ScreenPoint, true);
  if (DoubleBuffered) {
    ResetBackgroundBitmap();
    RepaintBars();
  }
}

void TkwDockControl::SaveColumnPositions() {
  for (TkwDockRow* row : FRows)
    for (TkwDockCol* col : row->Cols)
      if (col->BarControl) col->Position = TPoint(col->BarControl->Left(), col->BarControl->Top());
}

// --- Where a dragged bar lands ---------------------------------------------------------------------

TRect TkwDockControl::GetRowRect(int Row) {
  TRect client = ClientRect();
  int offset = 0;
  TkwBars* bars = GetBars();
  bool fromFar = bars && bars->Dragging && !IsNearEdge();
  int total = GetDockSize();
  for (int i = 0; i < Row; ++i) offset += RowThickness(i);
  int thickness = RowThickness(Row);
  if (fromFar) offset = (IsVerticalDock() ? client.Width() : client.Height()) - total + offset;
  if (IsVerticalDock()) return TRect(offset, 0, offset + thickness, client.Height());
  return TRect(0, offset, client.Width(), offset + thickness);
}

void TkwDockControl::GetRowZone(int Boundary, int Part, int& Lo, int& Hi) {
  TRect client = ClientRect();
  int size = IsVerticalDock() ? client.Width() : client.Height();
  int lo, hi;
  if (Boundary < 0) {
    if (IsNearEdge()) {
      lo = -DockingMargin;
      hi = 0;
    } else {
      lo = size - GetDockSize() - DockingMargin;
      hi = size - GetDockSize();
    }
  } else {
    TRect r = GetRowRect(Boundary);
    lo = IsVerticalDock() ? r.Left : r.Top;
    hi = IsVerticalDock() ? r.Right : r.Bottom;
  }
  int band = IsNearEdge() ? lo + (DockingMargin - 5) / 2 : hi - (DockingMargin - 5) / 2 - 5;
  band = std::clamp(band, lo, std::max(lo, hi - 5));
  switch (Part) {
    case 0:
      Lo = lo;
      Hi = band;
      break;
    case 1:
      Lo = band;
      Hi = std::min(band + 5, hi);
      break;
    default:
      Lo = std::min(band + 5, hi);
      Hi = hi;
      break;
  }
}

int TkwDockControl::GetRowAtPoint(TPoint ScreenPoint, bool& NewRow) {
  NewRow = false;
  if (GetRowCount() == 0) {
    NewRow = true;
    return 0;
  }
  TPoint point = ScreenPoint;
  if (HandleAllocated()) ::ScreenToClient(Handle(), AsPOINT(&point));
  int across = IsVerticalDock() ? point.X : point.Y;
  for (int b = -1; b < GetRowCount(); ++b)
    for (int part = 0; part < 3; ++part) {
      int lo, hi;
      GetRowZone(b, part, lo, hi);
      if (across < lo || across >= hi) continue;
      int row = part == 0 ? b : b + 1;
      NewRow = part == 1;
      if (row < 0) row = 0;
      if (row >= GetRowCount()) NewRow = true;
      return row;
    }
  NewRow = true;
  return across < GetDockSize() ? 0 : GetRowCount();
}

int TkwDockControl::GetColIndexAtPoint(TkwDockRow* Row, TPoint ScreenPoint) {
  TPoint point = ScreenPoint;
  if (HandleAllocated()) ::ScreenToClient(Handle(), AsPOINT(&point));
  for (int i = 0; i < Row->GetColCount(); ++i) {
    TkwBarControl* window = Row->GetCol(i)->BarControl;
    if (!window) continue;
    int at = IsHorizontal() ? window->Bar()->DockedLeft() : window->Bar()->DockedTop();
    if (at >= (IsHorizontal() ? point.X : point.Y)) return i;
  }
  return Row->GetColCount();
}

void TkwDockControl::GetRowSeparatorPoint(int Row, bool AfterRow, TPoint& ScreenPoint) {
  int lo, hi;
  GetRowZone(AfterRow ? Row : Row - 1, 1, lo, hi);
  TPoint origin(0, 0);
  if (HandleAllocated()) ::ClientToScreen(Handle(), AsPOINT(&origin));
  if (IsVerticalDock())
    ScreenPoint.X = origin.X + (lo + hi) / 2;
  else
    ScreenPoint.Y = origin.Y + (lo + hi) / 2;
}

TRect TkwDockControl::GetDockingZone() {
  if (!HandleAllocated()) return TRect();
  RECT r;
  GetWindowRect(Handle(), &r);
  TRect zone = r;
  if (IsHorizontal())
    InflateBy(zone, DockingMargin, DockingMargin);
  else
    InflateBy(zone, DockingMargin, 0);
  return zone;
}

// --- Layout -------------------------------------------------------------------------------------------

void TkwDockControl::AlignControls(TControl*, TRect&) {
  TkwBarManager* manager = BarManager();
  if (!manager || !manager->IsLoading()) UpdateLayout();
}

void TkwDockControl::UpdateLayout() {
  TkwBarManager* manager = BarManager();
  if (!manager || FLayingOut) return;
  TCustomForm* form = manager->OwnerForm();
  if ((form && form->ComponentState().Contains(csDestroying)) || manager->RedrawLocked()) return;
  FLayingOut = true;
  try {
    LayoutRows();
    AdjustSizeToRows();
  } catch (...) {
    FLayingOut = false;
    throw;
  }
  FLayingOut = false;
}

void TkwDockControl::LayoutRows() {
  TkwBars* bars = GetBars();
  if (bars && bars->Busy) return;
  TkwBarManager* manager = BarManager();
  if (manager && !manager->IsDesigning() && HandleAllocated())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  DisableAlign();
  bool vertical = IsVerticalDock();
  TkwBarDockingStyle style = DockingStyle();
  TRect client = ClientRect();
  int L = vertical ? client.Height() : client.Width();
  int rowTop = 0;
  for (TkwDockRow* row : FRows) {
    std::vector<TkwBarControl*> windows;
    for (TkwDockCol* col : row->Cols)
      if (col->BarControl) windows.push_back(col->BarControl);
    if (windows.empty()) continue;
    int naturalSum = 0;
    // 1. The bars' minimal and natural lengths.
    for (TkwBarControl* w : windows) {
      w->FLinksHidden = false;
      w->Bar()->ItemLinks()->SetRecentItemCount(-1);
      int nonClient = vertical ? w->Bar()->GetNonClientHeight(style) : w->Bar()->GetNonClientWidth(style);
      w->DockMinLength = w->GetMinimalLength(style) + nonClient;
      TSize natural = w->GetSizeForDockingStyle(style);
      w->DockNaturalLength = vertical ? natural.cy : natural.cx;
      if (w->Bar()->WholeRow()) w->DockNaturalLength = vertical ? natural.cy : natural.cx;
      if (!w->MarkExists() && w->DockMinLength != w->DockNaturalLength) w->DockMinLength += 11;
      w->DockMinLength = std::min(w->DockMinLength, w->DockNaturalLength);
      naturalSum += w->DockNaturalLength;
    }
    auto thicknessFor = [&](TkwBarControl* W, int Length) {
      TSize size = vertical ? W->CalcSizeForHeight(style, Length) : W->CalcSizeForLength(style, Length);
      int nonClient = vertical ? W->Bar()->GetNonClientWidth(style) : W->Bar()->GetNonClientHeight(style);
      return (vertical ? size.cx : size.cy) + nonClient;
    };
    auto lengthWithout = [&](TkwBarControl* W, int Length) {
      int nonClient = vertical ? W->Bar()->GetNonClientHeight(style) : W->Bar()->GetNonClientWidth(style);
      return Length - nonClient;
    };
    TkwBarControl* first = windows.front();
    if (first->Bar()->WholeRow()) {
      // 2. A bar that takes the whole row.
      int length = std::max(L, first->DockMinLength);
      first->DockLeft = 0;
      first->DockTop = rowTop;
      first->DockLength = length;
      first->FLinksHidden = !first->CanWrap() && length < first->DockNaturalLength;
      first->DockThickness = thicknessFor(first, lengthWithout(first, length));
    } else if (L < naturalSum) {
      // 3. A crowded row: placed from the last bar to the first within the remaining length.
      int remaining = L;
      for (int k = int(windows.size()) - 1; k >= 0; --k) {
        TkwBarControl* w = windows[std::size_t(k)];
        int minBefore = 0, naturalBefore = 0;
        for (int j = 0; j < k; ++j) {
          minBefore += windows[std::size_t(j)]->DockMinLength;
          naturalBefore += windows[std::size_t(j)]->DockNaturalLength;
        }
        TkwDockCol* col = FindCol(w);
        int position = col ? (vertical ? col->Position.Y : col->Position.X) : 0;
        int wanted = std::clamp(position, minBefore, std::max(minBefore, naturalBefore));
        int available = remaining - wanted;
        if (k == 0) available = remaining;
        int length;
        if (available < w->DockNaturalLength) {
          length = std::max(w->DockMinLength, available);
          w->FLinksHidden = !w->CanWrap() && w->DockMinLength != w->DockNaturalLength;
        } else {
          length = w->DockNaturalLength;
        }
        if (k == 0) length = std::max(length, remaining);
        w->DockThickness = thicknessFor(w, lengthWithout(w, length));
        int left = std::clamp(remaining - length, minBefore, std::max(minBefore, naturalBefore));
        if (k == 0) left = 0;
        w->DockLeft = left;
        w->DockTop = rowTop;
        w->DockLength = length;
        remaining = left;
      }
    } else {
      // 4. A row with room: every bar at its natural length, at its place when it fits.
      int limit = L;
      for (int k = int(windows.size()) - 1; k >= 0; --k) {
        TkwBarControl* w = windows[std::size_t(k)];
        int naturalBefore = 0;
        for (int j = 0; j < k; ++j) naturalBefore += windows[std::size_t(j)]->DockNaturalLength;
        TkwDockCol* col = FindCol(w);
        int length = w->DockNaturalLength;
        int left = col ? (vertical ? col->Position.Y : col->Position.X) : 0;
        if (left + length > limit) left = limit - length;
        left = std::max(left, naturalBefore);
        w->DockLeft = left;
        w->DockTop = rowTop;
        w->DockLength = length;
        w->DockThickness = thicknessFor(w, lengthWithout(w, length));
        limit = left;
      }
    }
    // 5. Bars that use the rest of the space reach the next bar.
    for (std::size_t k = 0; k < windows.size(); ++k) {
      TkwBarControl* w = windows[k];
      if (!w->Bar()->UseRestSpace()) continue;
      int start = k == 0 ? 0 : windows[k - 1]->DockLeft + windows[k - 1]->DockLength;
      int end = k + 1 < windows.size() ? windows[k + 1]->DockLeft : L;
      w->DockLeft = start;
      w->DockLength = std::max(end - start, w->DockMinLength);
    }
    // 6. The last bar with hidden links stretches; every bar takes the row's thickness.
    TkwBarControl* last = windows.back();
    if (last->FLinksHidden) last->DockLength = std::max(L - last->DockLeft, last->DockMinLength);
    int thickness = 0;
    for (TkwBarControl* w : windows) thickness = std::max(thickness, w->DockThickness);
    for (TkwBarControl* w : windows) {
      if (vertical)
        w->CalcSizeForHeight(style, lengthWithout(w, w->DockLength));
      else
        w->CalcSizeForLength(style, lengthWithout(w, w->DockLength));
      TRect bounds = vertical ? Bounds(w->DockTop, w->DockLeft, thickness, w->DockLength)
                              : Bounds(w->DockLeft, w->DockTop, w->DockLength, thickness);
      if (!(bounds == w->BoundsRect())) {
        w->LockPositionUpdate();
        try {
          w->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        } catch (...) {
          w->UnlockPositionUpdate();
          throw;
        }
        w->UnlockPositionUpdate();
      }
      w->CalcControlsPositions();
      w->Invalidate();
    }
    rowTop += thickness;
  }
  EnableAlign();
  Invalidate();
}

void TkwDockControl::AdjustSizeToRows() {
  int size = GetTotalSize();
  int current = IsVerticalDock() ? Width() : Height();
  if (size == current) return;
  TWinControl* parent = Parent();
  if (parent) parent->DisableAlign();
  if (IsVerticalDock()) {
    int right = Left() + Width();
    SetBounds(DockingStyle() == dsRight ? right - size : Left(), Top(), size, Height());
  } else {
    int bottom = Top() + Height();
    SetBounds(Left(), DockingStyle() == dsBottom ? bottom - size : Top(), Width(), size);
  }
  if (parent) parent->EnableAlign();
  auto* active = dynamic_cast<TCustomkwBarControl*>(GetActiveBarControl());
  if (active && !active->HandleAllocated()) return;
  if (active && GetCapture() != active->Handle() && !active->IsQuickCustomizingMenu()) {
    TkwBarWindow* root = GetRootBarControl(active);
    auto* rootDock = root ? dynamic_cast<TkwDockControl*>(root->DockSite()) : nullptr;
    bool freeStanding = rootDock && !rootDock->IsManagerDock();
    if (!freeStanding || !IsManagerDock()) active->HideAll();
  }
}

void TkwDockControl::UpdateFrames() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (TkwDockRow* row : FRows)
    for (TkwDockCol* col : row->Cols)
      if (col->BarControl) col->BarControl->UpdateFrame();
  UpdateLayout();
}

// --- Messages -----------------------------------------------------------------------------------------

void TkwDockControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_MOUSEACTIVATE: WMMouseActivate(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_RBUTTONDOWN: WMRButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    default: TkwDockSite::Dispatch(Message); break;
  }
}

void TkwDockControl::WMEraseBkgnd(TMessage& Message) {
  TRect client = ClientRect();
  DrawBackground(reinterpret_cast<HDC>(Message.WParam), client, Color(), nullptr, client);
  Message.Result = 1;
}

void TkwDockControl::WMMouseActivate(TMessage& Message) {
  TkwBarManager* manager = BarManager();
  if (!manager || manager->IsDesigning()) {
    TkwDockSite::Dispatch(Message);
    return;
  }
  Message.Result = MA_NOACTIVATE;
  if (TCustomForm* form = manager->OwnerForm(); form && form->HandleAllocated())
    SetWindowPos(form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TkwDockControl::WMNCCalcSize(TMessage& Message) {
  TkwDockSite::Dispatch(Message);
  if (!GetSunkenBorder()) return;
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  InflateRect(r, -1, -1);
}

void TkwDockControl::WMNCPaint(TMessage& Message) {
  TkwDockSite::Dispatch(Message);
  if (!GetSunkenBorder() || !HandleAllocated()) return;
  TWindowDC dc(Handle(), TWindowDC::WholeWindow);
  RECT r;
  GetWindowRect(Handle(), &r);
  RECT all = {0, 0, r.right - r.left, r.bottom - r.top};
  DrawEdge(dc, &all, BDR_SUNKENOUTER, BF_RECT);
}

void TkwDockControl::WMSize(TMessage& Message) {
  ResetBackgroundBitmap();
  TkwDockSite::Dispatch(Message);
}

void TkwDockControl::WMRButtonDown(TMessage& Message) {
  TkwBarManager* manager = BarManager();
  if (manager && !manager->IsCustomizing()) {
    // The tool bars popup is the manager's (built from its bars).
    TkwDockSite::Dispatch(Message);
    return;
  }
  TkwDockSite::Dispatch(Message);
}

void TkwDockControl::WMLButtonDblClk(TMessage& Message) {
  TkwBarManager* manager = BarManager();
  if (manager && manager->CanCustomize) {
    manager->SetCustomizing(true);
    return;
  }
  TkwDockSite::Dispatch(Message);
}

void TkwDockControl::WMWindowPosChanged(TMessage& Message) {
  TkwDockSite::Dispatch(Message);
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (!pos || (pos->flags & SWP_NOMOVE && pos->flags & SWP_NOSIZE)) return;
  TkwBarManager* manager = BarManager();
  if (manager && DockingStyle() == dsBottom) {
    bool locked = manager->RedrawLocked();
    manager->SetRedrawLocked(true);
    for (TkwDockRow* row : FRows)
      for (TkwDockCol* col : row->Cols)
        if (col->BarControl && col->BarControl->Bar()->IsStatusBarStyle()) col->BarControl->Rebuild();
    manager->SetRedrawLocked(locked);
  }
  if (DoubleBuffered) RepaintBars();
}

// --- TkwBarDockControl --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarDockControl)
VELBOR_PUBLISHED(TkwBarDockControl,
  Prop("Align", &Self::DockAlign, &Self::SetDockAlign).Default(dalTop),
  Prop("AllowDocking", &Self::AllowDockingProperty, &Self::SetAllowDockingProperty).Default(true),
  Prop("AllowZeroSizeInDesignTime", &Self::AllowZeroSizeInDesignTime, &Self::SetAllowZeroSizeInDesignTime)
      .Default(false),
  Prop("BarManager", &Self::BarManagerProperty, &Self::SetBarManagerProperty),
  Prop("BackgroundBitmap", &Self::BackgroundBitmap, &Self::SetBackgroundBitmap),
  Prop("Color", &Self::DockColor, &Self::SetDockColor).Idents(ColorIdents).NoDefault().Stored(&Self::StoresColor),
  Prop("ParentColor", &Self::DockParentColor, &Self::SetDockParentColor).Default(true),
  Prop("SunkenBorder", &Self::SunkenBorder, &Self::SetSunkenBorder).Default(false),
  Prop("UseOwnColor", &Self::UseOwnColor, &Self::SetUseOwnColor).Default(false),
  Prop("UseOwnSunkenBorder", &Self::UseOwnSunkenBorder, &Self::SetUseOwnSunkenBorder).Default(false))

TkwBarDockControl::TkwBarDockControl(TComponent* AOwner) : TkwDockControl(AOwner, dsNone) {
  SetAlign(alTop);
  SetBounds(0, 0, 185, 3);
}

TkwBarDockingStyle TkwBarDockControl::DockingStyle() const {
  switch (FDockAlign) {
    case dalBottom: return dsBottom;
    case dalLeft: return dsLeft;
    case dalRight: return dsRight;
    default: return dsTop;
  }
}

void TkwBarDockControl::SetDockAlign(TkwBarDockAlign Value) {
  if (Value == FDockAlign) return;
  TkwBarManager* manager = BarManager();
  bool locked = manager && manager->RedrawLocked();
  if (manager) manager->SetRedrawLocked(true);
  try {
    FDockAlign = Value;
    TkwBarDockingStyle style = DockingStyle();
    for (TkwDockRow* row : FRows)
      for (TkwDockCol* col : row->Cols)
        if (col->BarControl) col->BarControl->SetDockingStyle(style);
    static const TAlign aligns[5] = {alNone, alTop, alBottom, alLeft, alRight};
    SetAlign(aligns[Value]);
  } catch (...) {
    if (manager) manager->SetRedrawLocked(locked);
    throw;
  }
  if (manager) manager->SetRedrawLocked(locked);
  for (TkwDockRow* row : FRows)
    for (TkwDockCol* col : row->Cols)
      if (col->BarControl) col->BarControl->Rebuild();
  if (Parent()) Parent()->Invalidate();
}

void TkwBarDockControl::SetAllowZeroSizeInDesignTime(bool Value) {
  if (Value == FAllowZeroSizeInDesignTime) return;
  FAllowZeroSizeInDesignTime = Value;
  if (HandleAllocated()) Perform(WM_SIZE);
}

void TkwBarDockControl::SetSunkenBorder(bool Value) {
  FSunkenBorder = Value;
  FUseOwnSunkenBorder = true;
  UpdateFrames();
}

void TkwBarDockControl::SetUseOwnSunkenBorder(bool Value) {
  if (Value == FUseOwnSunkenBorder) return;
  bool before = GetSunkenBorder();
  FUseOwnSunkenBorder = Value;
  if (!Value) FSunkenBorder = BarManager() && BarManager()->SunkenBorder();
  if (GetSunkenBorder() != before) UpdateFrames();
}

void TkwBarDockControl::SetUseOwnColor(bool Value) {
  if (Value == FUseOwnColor) return;
  FUseOwnColor = Value;
  if (!Value) UpdateColor();
}

void TkwBarDockControl::SetDockColor(TColor Value) {
  SetColor(Value);
  TkwBars* bars = GetBars();
  if (!ComponentState().Contains(csLoading) && !(bars && bars->Busy)) FUseOwnColor = true;
}

void TkwBarDockControl::SetDockParentColor(bool Value) {
  SetParentColor(Value);
  TkwBars* bars = GetBars();
  if (!ComponentState().Contains(csLoading) && !(bars && bars->Busy)) FUseOwnColor = true;
}

void TkwBarDockControl::ManagerChanged() {
  TkwDockControl::ManagerChanged();
  if (!ComponentState().Contains(csDestroying)) UpdateFrames();
}

bool TkwBarDockControl::CanDock(TkwBar* Bar) {
  if (!AllowDocking) return false;
  TkwBarWindow* window = Bar ? Bar->GetControl() : nullptr;
  if (window && window->HandleAllocated() && HandleAllocated() && IsChildWindowOf(Handle(), window->Handle()))
    return false;
  return true;
}

void TkwBarDockControl::UpdateColor() {
  if (!FUseOwnColor) TkwDockControl::UpdateColor();
}

int TkwBarDockControl::GetDockSize() const {
  TkwBars* bars = GetBars();
  if (ComponentState().Contains(csLoading) || (bars && bars->Busy))
    return IsHorizontal() ? ClientRect().Height() : ClientRect().Width();
  if (FRows.empty() && IsDesigning() && !FAllowZeroSizeInDesignTime) return FDesignMinimum;
  return TkwDockControl::GetDockSize();
}

bool TkwBarDockControl::GetSunkenBorder() const {
  return FUseOwnSunkenBorder ? FSunkenBorder : TkwDockControl::GetSunkenBorder();
}

void TkwBarDockControl::CreateParams(TCreateParams& Params) {
  TkwDockControl::CreateParams(Params);
  if (IsDesigning()) Params.WindowClass.style |= CS_VREDRAW | CS_HREDRAW;
}

void TkwBarDockControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SIZE && FRows.empty() && !ComponentState().Contains(csLoading)) {
    TkwDockControl::Dispatch(Message);
    int size = IsDesigning() && !FAllowZeroSizeInDesignTime ? FDesignMinimum : 0;
    if ((IsHorizontal() ? Height() : Width()) != size) SetDockSize(size);
    return;
  }
  if (Message.Msg == WM_CREATE) {
    TkwDockControl::Dispatch(Message);
    // Bars whose windows were destroyed with the site's come back once it exists again.
    if (TkwBars* bars = GetBars())
      for (int i = 0; i < bars->Count(); ++i) {
        TkwBar* bar = bars->Items(i);
        if (bar->DockControl() == this && bar->Visible() && !bar->GetControl()) {
          bar->SetVisible(false);
          bar->SetVisible(true);
        }
      }
    return;
  }
  TkwDockControl::Dispatch(Message);
}

void TkwBarDockControl::Paint() {
  TkwDockControl::Paint();
  if (!IsDesigning()) return;
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetStyle(psDot);
  canvas->Brush()->SetStyle(bsClear);
  TRect client = ClientRect();
  canvas->Rectangle(client);
}

void TkwBarDockControl::Loaded() {
  TkwDockControl::Loaded();
  UpdateColor();
}
