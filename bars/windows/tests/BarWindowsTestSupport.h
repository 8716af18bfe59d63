// This file implements what the bar windows' tests share: a form with a bar manager drawing in a
// chosen style, with the bar windows library and the test items installed; helpers to add bars,
// buttons, sub-items and links; and the screen's pixels and rectangles of bar windows.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "BarTestSupport.h"
#include "kwBarControl.h"
#include "kwBarSubMenuControl.h"
#include "kwTestItems.h"

class BarWindowsTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Shows the form, active, at 60, 60, 520 x 300.
  void ShowForm();
  TkwBar* AddBar(const String& Caption, bool MainMenu, TkwBarDockingStyle Style = dsTop);
  TkwBarButton* AddButton(const String& Caption, TkwBarButtonStyle Style = bsDefault);
  TkwBarSubItem* AddSubItem(const String& Caption);
  TkwBarLargeButton* AddLargeButton(const String& Caption, TColor GlyphColor);
  TkwBarItemLink* Link(TkwBarItemLinks* Links, TkwBarItem* Item, bool BeginGroup = false);
  TkwBarItemLink* Link(TkwBar* Bar, TkwBarItem* Item, bool BeginGroup = false) {
    return Link(Bar->ItemLinks(), Item, BeginGroup);
  }
  TkwBarControl* WindowOf(TkwBar* Bar) const { return dynamic_cast<TkwBarControl*>(Bar->GetControl()); }
  TkwBarSubMenuControl* MenuOf(TkwBarSubItem* Item) const {
    return dynamic_cast<TkwBarSubMenuControl*>(Item->ItemLinks()->BarControl());
  }
  // The screen rectangle of a link in its window.
  TRect ScreenRectOf(TkwBarItemLink* Link) const;
  TPoint CentreOf(TkwBarItemLink* Link) const;
  // Waits until the window has painted everything (no update region left, nor in its frame).
  [[nodiscard]] testing::AssertionResult Painted(TCustomkwBarControl* Window);
  TFormPtr<TForm> Form;
  TkwBarManager* Manager = nullptr;
};

// The colour on screen at a point of the screen.
COLORREF ScreenPixel(TPoint Point);
// Whether the screen shows Color at a point, waiting for it a while: a window the test has just
// shown may still be exposed by the display server after it has painted everything it knew of.
[[nodiscard]] testing::AssertionResult PixelIs(TPoint Point, COLORREF Color);
// The colour a brush paints.
COLORREF ColorOf(HBRUSH Brush);
// Whether some pixel of a screen rectangle has the colour.
bool ScreenRectHas(const TRect& Rect, COLORREF Color);
