// This file implements what the bar items' tests share: a form with a bar manager drawing in a
// chosen style, with the bar windows and the bar items installed; helpers to add bars, items and
// links; the screen rectangles of links; and waits for what the bar windows show.
#pragma once

#include <gtest/gtest.h>

#include "BarTestSupport.h"
#include "kwBarButton.h"
#include "kwBarControl.h"
#include "kwBarEdit.h"
#include "kwBarItems.h"
#include "kwBarSubItem.h"
#include "kwBarSubMenuControl.h"

class BarItemsTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Shows the form, active, at 60, 60, 560 x 320.
  void ShowForm();
  TkwBar* AddBar(const String& Caption, bool MainMenu, TkwBarDockingStyle Style = dsTop);
  template <class T>
  T* AddItem(const String& Caption) {
    auto* item = new T(Form.get());
    item->SetCaption(Caption);
    item->SetCategory(0);
    return item;
  }
  TkwBarItemLink* Link(TkwBarItemLinks* Links, TkwBarItem* Item, bool BeginGroup = false);
  TkwBarItemLink* Link(TkwBar* Bar, TkwBarItem* Item, bool BeginGroup = false) {
    return Link(Bar->ItemLinks(), Item, BeginGroup);
  }
  TkwBarControl* WindowOf(TkwBar* Bar) const { return dynamic_cast<TkwBarControl*>(Bar->GetControl()); }
  TkwBarSubMenuControl* MenuOf(TCustomkwBarSubItem* Item) const {
    return dynamic_cast<TkwBarSubMenuControl*>(Item->ItemLinks()->BarControl());
  }
  // The screen rectangle of a link in its window, and its middle.
  TRect ScreenRectOf(TkwBarItemLink* Link) const;
  TPoint CentreOf(TkwBarItemLink* Link) const;
  // Waits until the bar windows of the manager and the form have nothing left to paint.
  [[nodiscard]] testing::AssertionResult Painted();
  // Clicks a link's entry and waits until its menu shows (a sub-item in a bar or a menu).
  [[nodiscard]] testing::AssertionResult OpenMenu(TkwBarItemLink* Link, TCustomkwBarSubItem* Item);
  // Counts the clicks of the items it is given as OnClick handler.
  void CountClick(TObject* Sender);
  TNotifyEvent Counting() { return TNotifyEvent(static_cast<BarItemsTest*>(this), &BarItemsTest::CountClick); }
  std::map<TObject*, int> Clicks;
  TFormPtr<TForm> Form;
  TkwBarManager* Manager = nullptr;
};

// The lines of one object of a written form description, from its "object Name:" line to its own
// "end" (empty when the object is not there). For objects holding no other object.
String ObjectText(const String& Description, const String& Name);

// The colour on screen at a point.
COLORREF ScreenPixel(TPoint Point);
// Whether some pixel of a screen rectangle has the colour.
bool ScreenRectHas(const TRect& Rect, COLORREF Color);
// A solid square glyph of Size on a magenta (transparent) ground, Inset pixels from its edges.
void MakeGlyph(TBitmap* Glyph, int Size, TColor Color, int Inset = 3);
// A screen area as a PNG picture beside the test program (screenshots/NAME.png).
void SaveScreenArea(const TRect& Area, const String& Name);
