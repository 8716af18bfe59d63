// This file implements the layout of a tool bar window: the item rectangles in rows, the natural
// and length-limited sizes, row wrapping and the size for each docking style.
#include <algorithm>

#include "kwBarControl.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBars.h"
#include "kwDockControl.h"

namespace {
// The mark takes 11 pixels at the end of a docked bar.
const int MarkSpace = 11;

int AlongOf(TkwBarItemControl* Control, bool Vertical) {
  return Vertical ? Control->GetHeight() : Control->GetWidth();
}
int AcrossOf(TkwBarItemControl* Control, bool Vertical) {
  return Vertical ? Control->GetWidth() : Control->GetHeight();
}
}  // namespace

int TkwBarControl::DockThicknessOf(const TkwBarItemControl* Control) const {
  if (!Control || !Control->Link()) return 0;
  int index = Control->Link()->GetShownIndex();
  return index >= 0 && index < int(FRowThickness.size()) ? FRowThickness[std::size_t(index)] : 0;
}

int TkwBarControl::AvailableLength(bool Wrapping) const {
  TRect client = ClientRect();
  bool vertical = IsVertical();
  int length = vertical ? client.Height() : client.Width();
  if (Wrapping) return length - (!IsFloating() && MarkExists() ? MarkSpace : 0);
  length -= MarkExists() ? MarkSpace : 0;
  if (HasCaptionButtons()) length -= vertical ? GetCaptionButtonsHeight() : GetCaptionButtonsWidth();
  return length;
}

void TkwBarControl::CenterRow(int First, int Last, int Thickness) {
  TkwBarItemLinks* links = ItemLinks();
  bool vertical = IsVertical();
  for (int i = First; i <= Last; ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    if (link->ItemRect.IsEmpty()) continue;
    int across = vertical ? link->ItemRect.Width() : link->ItemRect.Height();
    int shift = (Thickness - across) / 2;
    if (vertical)
      OffsetBy(link->ItemRect, -shift, 0);
    else
      OffsetBy(link->ItemRect, 0, shift);
    FRowThickness[std::size_t(i)] = Thickness;
  }
}

void TkwBarControl::CalcControlsPositions() {
  TkwBarItemLinks* links = ItemLinks();
  if (!links) return;
  links->ClearItemRects();
  int count = links->GetShownItemCount();
  FRowThickness.assign(std::size_t(count), 0);
  bool wrapping = CanWrap();
  bool vertical = IsVertical();
  TRect client = ClientRect();
  int available = AvailableLength(wrapping);
  int acrossWindow = wrapping ? client.Width() : (vertical ? client.Width() : client.Height());
  int captionButtons = HasCaptionButtons() ? (vertical ? GetCaptionButtonsHeight() : GetCaptionButtonsWidth()) : 0;
  int position = 0, rowOffset = 0, rowThickness = 0, rowStart = 0, lastPlaced = -1;
  int beginGroup = GetBeginGroupSize();
  for (int i = 0; i < count; ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    if (!link->Control()) link->CreateItemControl();
    TkwBarItemControl* control = link->Control();
    if (!control) continue;
    control->RowEnd = false;
    int along = AlongOf(control, vertical);
    int across = AcrossOf(control, vertical);
    int gap = link->BeginGroup() && position > 0 ? beginGroup : 0;
    bool overflow = position > 0 && position + gap + along > available;
    if (overflow || (wrapping && control->WrapBefore && position > 0)) {
      if (!wrapping) break;
      if (lastPlaced >= 0) links->GetShownItem(lastPlaced)->Control()->RowEnd = true;
      CenterRow(rowStart, i - 1, rowThickness);
      rowOffset += rowThickness + (link->BeginGroup() ? beginGroup : 0);
      position = 0;
      gap = 0;
      rowThickness = 0;
      rowStart = i;
    }
    TRect r;
    if (wrapping) {
      if (vertical)
        r = Bounds(acrossWindow - rowOffset - control->GetWidth(), position + gap, control->GetWidth(),
                   control->GetHeight());
      else
        r = Bounds(position + gap, rowOffset, control->GetWidth(), control->GetHeight());
    } else if (vertical) {
      r = Bounds((client.Width() - control->GetWidth()) / 2, position + gap, control->GetWidth(), control->GetHeight());
    } else {
      r = Bounds(position + gap, (client.Height() - control->GetHeight()) / 2, control->GetWidth(),
                 control->GetHeight());
    }
    bool moved = false;
    TkwBarItemAlign align = control->GetActualAlign();
    if (align != iaLeft) {
      int limit = available;
      if (wrapping && captionButtons > 0 && position + gap + along + captionButtons <= limit) limit -= captionButtons;
      int end = vertical ? r.Bottom : r.Right;
      int shift = 0;
      if (align == iaCenter) shift = (limit - end) / 2;
      if (align == iaRight) shift = limit - end;
      if (align == iaClient) {
        int minimum = control->GetMinWidth();
        int start = vertical ? r.Top : r.Left;
        int newEnd = std::max(limit, start + minimum);
        (vertical ? r.Bottom : r.Right) = newEnd;
      } else if (vertical) {
        OffsetBy(r, 0, shift);
      } else {
        OffsetBy(r, shift, 0);
      }
      position = limit;
      moved = true;
      if (i + 1 < count) FLinksHidden = true;
    }
    link->ItemRect = r;
    if (!moved) position += gap + along;
    rowThickness = std::max(rowThickness, across);
    FRowThickness[std::size_t(i)] = wrapping ? rowThickness : acrossWindow;
    lastPlaced = i;
  }
  if (lastPlaced >= 0) links->GetShownItem(lastPlaced)->Control()->RowEnd = true;
  if (wrapping && lastPlaced >= 0) CenterRow(rowStart, lastPlaced, rowThickness);
}

// --- Sizes ------------------------------------------------------------------------------------------------

int TkwBarControl::Thickness(bool Vertical) {
  TkwBarItemLinks* links = ItemLinks();
  int thickness = 0;
  for (int i = 0; i < links->GetVisibleItemCount(); ++i) {
    TkwBarItemLink* link = links->GetVisibleItem(i);
    if (!link->Control()) link->CreateItemControl();
    if (link->Control()) thickness = std::max(thickness, AcrossOf(link->Control(), Vertical));
  }
  TkwBarManager* manager = GetBarManager();
  if (thickness == 0 && manager) thickness = Vertical ? manager->ButtonSize() : manager->ButtonWidth();
  if (HasCaptionButtons()) thickness = std::max(thickness, Vertical ? GetCaptionButtonsWidth() : GetCaptionButtonsHeight());
  return thickness;
}

TSize TkwBarControl::NaturalSize(bool Vertical) {
  TkwBarItemLinks* links = ItemLinks();
  int length = 0;
  int beginGroup = GetBeginGroupSize();
  for (int i = 0; i < links->GetVisibleItemCount(); ++i) {
    TkwBarItemLink* link = links->GetVisibleItem(i);
    if (!link->Control()) link->CreateItemControl();
    TkwBarItemControl* control = link->Control();
    if (!control) continue;
    if (link->BeginGroup() && length > 0) length += beginGroup;
    length += AlongOf(control, Vertical);
  }
  if (HasCaptionButtons()) length += Vertical ? GetCaptionButtonsHeight() : GetCaptionButtonsWidth();
  bool dockedThisWay = !IsFloating() && IsVertical() == Vertical;
  if (dockedThisWay && MarkExists()) length += MarkSpace;
  TSize size;
  (Vertical ? size.cy : size.cx) = length;
  (Vertical ? size.cx : size.cy) = Thickness(Vertical);
  return size;
}

int TkwBarControl::GetMinimalLength(TkwBarDockingStyle Style) {
  bool vertical = Style == dsLeft || Style == dsRight;
  TkwBarItemLinks* links = ItemLinks();
  int length = 0;
  if (links->GetVisibleItemCount() > 0) {
    TkwBarItemLink* link = links->GetVisibleItem(0);
    if (!link->Control()) link->CreateItemControl();
    if (link->Control()) length = AlongOf(link->Control(), vertical);
  }
  if (FBar->ShowMark()) length += MarkSpace;
  if (HasCaptionButtons()) length += vertical ? GetCaptionButtonsHeight() : GetCaptionButtonsWidth();
  return length;
}

void TkwBarControl::WrapByLength(int Length, int Minimum, TSize& Size) {
  // Size comes back as (along, across) of the orientation of the window's docking style.
  bool vertical = IsVertical();
  TkwBarItemLinks* links = ItemLinks();
  int length = Length - (!IsFloating() && MarkExists() ? MarkSpace : 0);
  int beginGroup = GetBeginGroupSize();
  int c = 0, g = 0, f = 0, s = 0;
  int rowStart = 0, group = -1, groupC = 0, groupG = 0;
  bool replacing = false;
  int count = links->GetShownItemCount();
  for (int i = 0; i < count; ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    if (!link->Control()) link->CreateItemControl();
    TkwBarItemControl* control = link->Control();
    if (!control) continue;
    control->WrapBefore = false;
    int along = AlongOf(control, vertical);
    int across = AcrossOf(control, vertical);
    int gap = link->BeginGroup() && c > 0 ? beginGroup : 0;
    bool overflow = c > 0 && c + gap + along > length;
    if (overflow && group > rowStart && !replacing) {
      // The row breaks at its last group boundary: the walk goes back to that link.
      for (int k = group; k <= i; ++k)
        if (TkwBarItemControl* other = links->GetShownItem(k)->Control()) other->WrapBefore = false;
      i = group;
      link = links->GetShownItem(i);
      control = link->Control();
      along = AlongOf(control, vertical);
      across = AcrossOf(control, vertical);
      c = groupC;
      g = groupG;
      gap = beginGroup;
      replacing = true;
    }
    if (overflow || replacing) {
      control->WrapBefore = true;
      f = std::max(f, c);
      s += g + (link->BeginGroup() ? beginGroup : 0);
      c = 0;
      g = 0;
      gap = 0;
      rowStart = i;
      group = -1;
      replacing = false;
    } else if (gap > 0) {
      group = i;
      groupC = c;
      groupG = g;
    }
    c += gap + along;
    g = std::max(g, across);
  }
  if (HasCaptionButtons()) {
    int buttons = vertical ? GetCaptionButtonsHeight() : GetCaptionButtonsWidth();
    int buttonsAcross = vertical ? GetCaptionButtonsWidth() : GetCaptionButtonsHeight();
    if (c + buttons <= length) {
      c += buttons;
      g = std::max(g, buttonsAcross);
    } else {
      f = std::max(f, c);
      s += g;
      c = buttons;
      g = buttonsAcross;
    }
  }
  f = std::max(f, c);
  if (g == 0 && s == 0) g = Thickness(vertical);
  Size.cx = std::max(f, Minimum);
  Size.cy = g + s;
  CalcControlsPositions();
}

TSize TkwBarControl::CalcSizeForLength(TkwBarDockingStyle Style, int Length) {
  bool vertical = Style == dsLeft || Style == dsRight;
  TSize natural = NaturalSize(vertical);
  int naturalLength = vertical ? natural.cy : natural.cx;
  if (Length <= 0) Length = naturalLength;
  if (Style == dsNone || FBar->MultiLine()) {
    TSize wrapped;
    WrapByLength(Length, 0, wrapped);
    return vertical ? TSize{wrapped.cy, wrapped.cx} : wrapped;
  }
  int buttons = HasCaptionButtons() ? (vertical ? GetCaptionButtonsHeight() : GetCaptionButtonsWidth()) : 0;
  int mark = MarkExists() ? MarkSpace : 0;
  int available = std::max(Length, GetMinimalLength(Style)) - buttons - mark;
  TkwBarItemLinks* links = ItemLinks();
  TkwBarManager* manager = GetBarManager();
  bool mayHide = FBar->ShowMark() && !(manager && manager->IsDesigning());
  int sum = 0;
  int beginGroup = GetBeginGroupSize();
  for (int i = 0; i < links->GetVisibleItemCount(); ++i) {
    TkwBarItemLink* link = links->GetVisibleItem(i);
    if (!link->Control()) link->CreateItemControl();
    if (!link->Control()) continue;
    int part = AlongOf(link->Control(), vertical) + (link->BeginGroup() && sum > 0 ? beginGroup : 0);
    // The links that do not fit go behind the mark (the first always shows).
    if (mayHide && sum > 0 && sum + part > available) break;
    sum += part;
  }
  int length = sum + buttons + mark;
  int thickness = Thickness(vertical);
  return vertical ? TSize{thickness, length} : TSize{length, thickness};
}

TSize TkwBarControl::CalcSizeForHeight(TkwBarDockingStyle Style, int Height) {
  if (Style == dsLeft || Style == dsRight) return CalcSizeForLength(Style, Height);
  // A horizontal bar limited in height: the narrowest width whose rows fit the height.
  TSize natural = NaturalSize(false);
  if (!CanWrap()) return natural;
  int width = natural.cx;
  TSize size = CalcSizeForLength(Style, width);
  while (width > 1) {
    TSize narrower = CalcSizeForLength(Style, width - 1);
    if (narrower.cy > Height || narrower.cx >= size.cx) break;
    size = narrower;
    width = narrower.cx;
  }
  return size;
}

TSize TkwBarControl::GetSizeForDockingStyle(TkwBarDockingStyle Style) {
  TSize size;
  auto* dock = dynamic_cast<TkwDockControl*>(FBar->GetCurrentDockSite());
  TRect dockClient = dock ? dock->ClientRect() : TRect();
  int nonClientWidth = FBar->GetNonClientWidth(Style);
  int nonClientHeight = FBar->GetNonClientHeight(Style);
  switch (Style) {
    case dsNone:
      size = CalcSizeForLength(dsNone, FBar->FloatClientWidth());
      size.cx += nonClientWidth;
      break;
    case dsLeft:
    case dsRight: {
      int height = FBar->WholeRow() ? dockClient.Height() - nonClientHeight : NaturalSize(true).cy;
      size = CalcSizeForLength(Style, height);
      size.cx += nonClientWidth;
      if (FBar->UseRestSpace()) size.cy = dockClient.Height() - nonClientHeight;
      break;
    }
    default: {
      int width = FBar->WholeRow() ? dockClient.Width() - nonClientWidth : NaturalSize(false).cx;
      size = CalcSizeForLength(Style, width);
      size.cx = FBar->WholeRow() ? dockClient.Width() : size.cx + nonClientWidth;
      break;
    }
  }
  size.cy += nonClientHeight;
  CalcControlsPositions();
  return size;
}

TSize TkwBarControl::CalcFloatingSize() {
  bool created = HandleAllocated();
  if (!created) HandleNeeded();
  return GetSizeForDockingStyle(dsNone);
}

TkwBarItemControl* TkwBarControl::HitTestItem(TPoint Point, bool& Outside, bool& FirstHalf, bool& Vertical) {
  TkwBarItemControl* control = TCustomkwBarControl::HitTestItem(Point, Outside, FirstHalf, Vertical);
  if (control || !CanWrap()) return control;
  // The gap after the last control of a wrapped row belongs to that control.
  TkwBarItemLinks* links = ItemLinks();
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemControl* candidate = links->GetShownItem(i)->Control();
    if (!candidate || !candidate->RowEnd || !candidate->IsOwnManagerItem()) continue;
    TRect row = GetItemRectEx(candidate);
    bool inRow = IsVertical() ? Point.X >= row.Left && Point.X < row.Right && Point.Y >= row.Bottom
                              : Point.Y >= row.Top && Point.Y < row.Bottom && Point.X >= row.Right;
    if (!inRow) continue;
    Outside = true;
    FirstHalf = false;
    return candidate;
  }
  return nullptr;
}
