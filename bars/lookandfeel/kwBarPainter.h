// This file implements the root of the item-control painters as the bar manager knows it:
// TkwBarPainter, a stateless object whose virtual operations give the sizes that the manager and
// the bars cache (with the base painter's values), and the table of painters by style, which the
// bar windows library fills with its standard, enhanced, flat, Office-2003 and XP painters.
#pragma once

#include "Graphics.h"
#include "kwBarTypes.h"

enum TkwBarPainterKind { bpkStandard, bpkEnhanced, bpkFlat, bpkOffice11, bpkXP, bpkCount };

class TkwBarPainter {
 public:
  virtual ~TkwBarPainter() = default;
  virtual TkwBarPainterKind Kind() const { return bpkStandard; }

  // Sizes kept by the manager and the dock sites.
  virtual int GetGripOffset() const { return 0; }
  virtual int GetGripAreaSize() const { return 0; }
  virtual int GetGripLineWidth() const { return 3; }
  virtual int GetMenuSeparatorIndent() const { return 0; }
  virtual int GetButtonExtraWidth() const { return 7; }
  virtual int GetButtonExtraHeight() const { return 6; }
  // ButtonArrowWidth, doubled with LargeIcons, made odd.
  virtual int GetButtonArrowWidth(const TkwBarManager* Manager) const;
  virtual int GetLargeButtonArrowWidth(const TkwBarManager* Manager) const;
  virtual int GetSizingBorderWidth() const;
  virtual int GetSizingBorderHeight() const;

  // Sizes of bar windows.
  virtual int GetBorderWidth() const { return 1; }
  // Border widths of a docked bar, on each side; the same for a given bar docked in a style (some
  // styles give tool bars other borders than the main menu).
  virtual TRect GetDockedBorderRect() const { return TRect(2, 2, 2, 2); }
  virtual TRect GetBarDockedBorderRect(const TkwBar*, TkwBarDockingStyle) const { return GetDockedBorderRect(); }
  virtual int GetSmallCaptionHeight() const;
  virtual int GetFloatingCaptionHeight() const { return GetSmallCaptionHeight() + 1; }
  virtual TSize GetSizeGripSize(const TkwBarManager* Manager) const;
  // Item controls of the flat painters look flat.
  virtual bool IsFlatLook() const { return false; }
};

// The painter of a kind: the one the bar windows library registered, else the base painter.
const TkwBarPainter* BarPainter(TkwBarPainterKind Kind);
void RegisterBarPainter(TkwBarPainterKind Kind, const TkwBarPainter* Painter);
const TkwBarPainter* BaseBarPainter();
