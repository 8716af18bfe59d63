// This file implements what the bar windows' tests share.
#include "BarWindowsTestSupport.h"

#include "kwBarItemControlPainter.h"
#include "kwBarUtils.h"
#include "kwBarWindows.h"

void BarWindowsTest::SetUp() {
  RegisterBarWindowClasses();
  RegisterTestItems();
  Form.reset(CreateForm<TForm>(nullptr));
  Form->SetBounds(60, 60, 520, 300);
  Form->SetCaption("Barres"_a);
  Manager = new TkwBarManager(Form.get());
  Manager->SetStyle(bmsFlat);
}

void BarWindowsTest::TearDown() {
  Form.reset();
  Manager = nullptr;
  RunPendingBarCommands();
}

void BarWindowsTest::ShowForm() {
  Form->Show();
  Activate(Form.get());
}

TkwBar* BarWindowsTest::AddBar(const String& Caption, bool MainMenu, TkwBarDockingStyle Style) {
  TkwBar* bar = Manager->Bars()->Add();
  bar->SetCaption(Caption);
  bar->SetIsMainMenu(MainMenu);
  bar->SetDockingStyle(Style);
  return bar;
}

TkwBarButton* BarWindowsTest::AddButton(const String& Caption, TkwBarButtonStyle Style) {
  auto* item = new TkwBarButton(Form.get());
  item->SetCaption(Caption);
  item->SetCategory(0);
  item->SetButtonStyle(Style);
  return item;
}

TkwBarSubItem* BarWindowsTest::AddSubItem(const String& Caption) {
  auto* item = new TkwBarSubItem(Form.get());
  item->SetCaption(Caption);
  item->SetCategory(0);
  return item;
}

TkwBarLargeButton* BarWindowsTest::AddLargeButton(const String& Caption, TColor GlyphColor) {
  auto* item = new TkwBarLargeButton(Form.get());
  item->SetCaption(Caption);
  item->SetCategory(0);
  if (GlyphColor != clNone) {
    TBitmap* glyph = item->LargeGlyph();
    glyph->SetSize(32, 32);
    TCanvas* canvas = glyph->Canvas();
    canvas->Brush()->SetColor(clFuchsia);
    canvas->FillRect(TRect(0, 0, 32, 32));
    canvas->Brush()->SetColor(GlyphColor);
    canvas->FillRect(TRect(6, 4, 26, 28));
  }
  return item;
}

TkwBarItemLink* BarWindowsTest::Link(TkwBarItemLinks* Links, TkwBarItem* Item, bool BeginGroup) {
  TkwBarItemLink* link = Links->Add();
  link->SetItem(Item);
  link->SetBeginGroup(BeginGroup);
  return link;
}

TRect BarWindowsTest::ScreenRectOf(TkwBarItemLink* Link) const {
  TRect r = Link->ItemRect;
  TkwBarWindow* window = Link->GetBarControl();
  if (window && window->HandleAllocated()) MapWindowPoints(window->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TPoint BarWindowsTest::CentreOf(TkwBarItemLink* Link) const {
  TRect r = ScreenRectOf(Link);
  return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

testing::AssertionResult BarWindowsTest::Painted(TCustomkwBarControl* Window) {
  if (!Window || !Window->HandleAllocated()) return testing::AssertionFailure() << "no window";
  return WaitFor("the bar windows painted", [&] {
    // Every bar window of the manager, the form and its children have nothing left to paint.
    for (int i = 0; i < LiveBarControlCount(); ++i) {
      TkwBarWindow* w = LiveBarControl(i);
      if (w->GetBarManager() != Manager || !w->HandleAllocated()) continue;
      if (GetUpdateRect(w->Handle(), nullptr, FALSE)) return false;
      // What waits in the frame is painted now (a pending frame has no update rectangle to see).
      RedrawWindow(w->Handle(), nullptr, nullptr, RDW_UPDATENOW);
    }
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return !GetUpdateRect(Form->Handle(), nullptr, FALSE);
  });
}

COLORREF ScreenPixel(TPoint Point) {
  TWindowDC screen;
  return GetPixel(screen, Point.X, Point.Y);
}

testing::AssertionResult PixelIs(TPoint Point, COLORREF Color) {
  COLORREF seen = 0;
  if (PumpUntil([&] { return (seen = ScreenPixel(Point)) == Color; }, 3000)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "at (" << Point.X << ", " << Point.Y << ") the screen shows " << std::hex
                                     << seen << ", not " << Color;
}

COLORREF ColorOf(HBRUSH Brush) { return BrushColor(Brush); }

bool ScreenRectHas(const TRect& Rect, COLORREF Color) {
  TWindowDC screen;
  for (int y = Rect.Top; y < Rect.Bottom; ++y)
    for (int x = Rect.Left; x < Rect.Right; ++x)
      if (GetPixel(screen, x, y) == Color) return true;
  return false;
}
