// This file implements the scene the painter tests look at, for one style: a main-menu bar with
// two sub-items, a tool bar across its own row with a plain, a disabled, a checked and a drop-down
// button (a separator before the checked one), and the first sub-item's menu with a side strip, a
// plain, a disabled and a separated entry. The XP style is drawn through a stand-in visual style
// whose parts are solid rectangles in a colour made from their class, part and state.
#pragma once

#include <memory>

#include "BarWindowsTestSupport.h"
#include "StandInTheme.h"

// The styles the tests draw with, one painter each.
enum TPainterUnderTest { putStandard, putEnhanced, putFlat, putOffice11, putXP };
const char* PainterName(TPainterUnderTest Painter);

class PainterScene : public BarWindowsTest {
 protected:
  void Build(TPainterUnderTest Painter);
  void TearDown() override;
  // Opens the first sub-item's menu with the mouse and waits until it is painted.
  TkwBarSubMenuControl* OpenFileMenu();
  // Points the mouse at a link (its window selects it) and waits until it is painted.
  void Hover(TkwBarItemLink* Link);
  // Moves the mouse away from every bar.
  void MoveAway();

  TPainterUnderTest Painter = putFlat;
  std::unique_ptr<TFakeVisualStyle> Style;
  TkwBar* Menu = nullptr;
  TkwBar* Tools = nullptr;
  TkwBarSubItem* File = nullptr;
  TkwBarSubItem* Edit = nullptr;
  TkwBarItemLink* Plain = nullptr;
  TkwBarItemLink* Disabled = nullptr;
  TkwBarItemLink* Checked = nullptr;
  TkwBarItemLink* DropDown = nullptr;
  TkwBarItemLink* Open = nullptr;
  TkwBarItemLink* Save = nullptr;
  TkwBarItemLink* Quit = nullptr;
  // The side strip's colour.
  static constexpr COLORREF StripColor = RGB(0, 128, 64);

 private:
  void PaintStrip(TObject*, TCanvas* Canvas, const TRect& R);
};
