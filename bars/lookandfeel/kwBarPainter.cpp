// This file implements the root of the item-control painters and their table by style.
#include "kwBarPainter.h"

#include "kwBarManager.h"

int TkwBarPainter::GetButtonArrowWidth(const TkwBarManager* Manager) const {
  int width = Manager->ButtonArrowWidth() * (Manager->LargeIcons() ? 2 : 1);
  return width % 2 == 0 ? width + 1 : width;
}

int TkwBarPainter::GetLargeButtonArrowWidth(const TkwBarManager* Manager) const {
  return Manager->LargeButtonArrowWidth();
}

int TkwBarPainter::GetSizingBorderWidth() const { return GetSystemMetrics(SM_CXFRAME); }
int TkwBarPainter::GetSizingBorderHeight() const { return GetSystemMetrics(SM_CYFRAME); }
int TkwBarPainter::GetSmallCaptionHeight() const { return GetSystemMetrics(SM_CYSMCAPTION); }

TSize TkwBarPainter::GetSizeGripSize(const TkwBarManager*) const {
  return TSize{GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
}

namespace {
const TkwBarPainter Base{};
const TkwBarPainter* Painters[bpkCount] = {};
}  // namespace

const TkwBarPainter* BaseBarPainter() { return &Base; }

const TkwBarPainter* BarPainter(TkwBarPainterKind Kind) {
  const TkwBarPainter* painter = Kind >= 0 && Kind < bpkCount ? Painters[Kind] : nullptr;
  return painter ? painter : &Base;
}

void RegisterBarPainter(TkwBarPainterKind Kind, const TkwBarPainter* Painter) {
  if (Kind >= 0 && Kind < bpkCount) Painters[Kind] = Painter;
}
