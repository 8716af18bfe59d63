// Tests of dock sites and the tool bar window's places: a floating bar docked and floated again
// (by its docking style and by double clicks), its position written back into the bar, two bars
// sharing a row or taking a row each, a crowded row that hides links behind the mark, and where a
// dragged bar would land.
#include <atomic>

#include "BarWindowsTestSupport.h"
#include "StrUtils.h"
#include "kwBarUtils.h"
#include "kwDockControl.h"

namespace {

TRect WindowRect(HWND Wnd) {
  RECT r;
  GetWindowRect(Wnd, &r);
  return r;
}

// A double click at a screen point, through the input queue.
void DoubleClickAt(TPoint Point) {
  MoveMouseTo(Point);
  std::vector<INPUT> inputs = {MouseInput(Point, MOUSEEVENTF_LEFTDOWN), MouseInput(Point, MOUSEEVENTF_LEFTUP),
                               MouseInput(Point, MOUSEEVENTF_LEFTDOWN), MouseInput(Point, MOUSEEVENTF_LEFTUP)};
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

class Docking : public BarWindowsTest {
 protected:
  TkwBar* AddToolbar(const String& Caption, int Buttons) {
    TkwBar* bar = AddBar(Caption, false);
    for (int i = 0; i < Buttons; ++i) Link(bar, AddButton(Caption + IntToStr(i + 1)));
    return bar;
  }
  TkwDockControl* Top() const { return dynamic_cast<TkwDockControl*>(Manager->Bars()->EdgeDockSite(dsTop)); }
  TkwDockControl* Left() const { return dynamic_cast<TkwDockControl*>(Manager->Bars()->EdgeDockSite(dsLeft)); }
};

TEST_F(Docking, AFloatingBarDocksAndFloatsAgain) {
  TkwBar* bar = AddToolbar("Outils", 3);
  bar->SetDockingStyle(dsNone);
  bar->SetFloatLeft(Form->Left() + 150);
  bar->SetFloatTop(Form->Top() + 150);
  ShowForm();
  bar->SetVisible(true);
  TkwBarControl* window = WindowOf(bar);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitFor("the floating bar shown", [&] { return IsWindowVisible(window->Handle()); }));
  EXPECT_TRUE(window->IsFloating());
  EXPECT_EQ(window->Parent(), nullptr);
  EXPECT_EQ(GetWindowLongA(window->Handle(), GWL_STYLE) & WS_CHILD, 0);
  EXPECT_EQ(WindowRect(window->Handle()).Left, Form->Left() + 150);
  EXPECT_EQ(Top()->Height(), 0) << "nothing docked yet";
  ASSERT_TRUE(Painted(window));
  SaveScreenshot(window->Handle(), "floating-toolbar");

  bar->SetDockingStyle(dsTop);
  TkwBarControl* docked = WindowOf(bar);
  ASSERT_NE(docked, nullptr);
  ASSERT_TRUE(WaitFor("the docked bar shown", [&] { return IsWindowVisible(docked->Handle()); }));
  EXPECT_FALSE(docked->IsFloating());
  EXPECT_EQ(docked->DockSite(), Top());
  EXPECT_EQ(docked->Parent(), Top());
  EXPECT_EQ(Top()->Height(), docked->Height());
  EXPECT_EQ(Top()->GetRowCount(), 1);

  bar->SetDockingStyle(dsNone);
  TkwBarControl* floating = WindowOf(bar);
  ASSERT_NE(floating, nullptr);
  ASSERT_TRUE(WaitFor("floating again", [&] { return IsWindowVisible(floating->Handle()); }));
  EXPECT_EQ(Top()->GetRowCount(), 0);
  EXPECT_EQ(Top()->Height(), 0);
  EXPECT_EQ(WindowRect(floating->Handle()).Left, bar->FloatLeft());
}

// Turning a dock's drawing off takes its visible flag away: a lock taken while the bar shows (an
// item hidden, as an action's update does) must give it back, however deep the locks nest.
TEST_F(Docking, ADockedBarStaysShownThroughRedrawLocks) {
  TkwBar* bar = AddToolbar("Outils", 2);
  TkwBarButton* extra = AddButton("Plus");
  Link(bar, extra);
  ShowForm();
  bar->SetVisible(true);
  ASSERT_TRUE(WaitFor("the docked bar shown", [&] { return IsWindowVisible(WindowOf(bar)->Handle()); }));
  ASSERT_TRUE(IsWindowVisible(Top()->Handle()));
  Manager->SetRedrawLocked(true);
  Manager->SetRedrawLocked(true);
  Manager->SetRedrawLocked(false);
  EXPECT_TRUE(IsWindowVisible(Top()->Handle())) << "after a lock and its release";
  extra->SetVisible(ivNever);
  PumpPending();
  EXPECT_TRUE(IsWindowVisible(Top()->Handle())) << "after an item was hidden";
  EXPECT_TRUE(IsWindowVisible(WindowOf(bar)->Handle()));
  EXPECT_TRUE(Painted(WindowOf(bar)));
}

TEST_F(Docking, DoubleClicksToggleBetweenFloatingAndTheDockedPlace) {
  TkwBar* bar = AddToolbar("Outils", 3);
  bar->SetVisible(true);
  ShowForm();
  TkwBarControl* window = WindowOf(bar);
  ASSERT_TRUE(Painted(window));
  // The grip left of the items is the drag area of a docked bar.
  TRect rect = WindowRect(window->Handle());
  DoubleClickAt(TPoint(rect.Left + 4, (rect.Top + rect.Bottom) / 2));
  ASSERT_TRUE(WaitFor("the bar floating", [&] { return bar->DockingStyle() == dsNone && WindowOf(bar); }));
  TkwBarControl* floating = WindowOf(bar);
  ASSERT_TRUE(WaitFor("the floating window shown", [&] { return IsWindowVisible(floating->Handle()); }));
  EXPECT_EQ(bar->DockedDockingStyle(), dsTop);
  ASSERT_TRUE(Painted(floating));
  // Its caption takes it back.
  TRect caption = floating->GetCaptionRect();
  TRect frame = WindowRect(floating->Handle());
  DoubleClickAt(TPoint(frame.Left + caption.Left + 6, frame.Top + (caption.Top + caption.Bottom) / 2));
  ASSERT_TRUE(WaitFor("the bar docked", [&] { return bar->DockingStyle() == dsTop && WindowOf(bar); }));
  EXPECT_EQ(WindowOf(bar)->DockSite(), Top());
}

TEST_F(Docking, DraggingTheFloatingCaptionMovesTheBar) {
  TkwBar* bar = AddToolbar("Outils", 2);
  bar->SetDockingStyle(dsNone);
  bar->SetFloatLeft(Form->Left() + 100);
  bar->SetFloatTop(Form->Top() + 100);
  ShowForm();
  bar->SetVisible(true);
  TkwBarControl* window = WindowOf(bar);
  ASSERT_TRUE(WaitFor("shown", [&] { return IsWindowVisible(window->Handle()); }));
  ASSERT_TRUE(Painted(window));
  TRect frame = WindowRect(window->Handle());
  TRect caption = window->GetCaptionRect();
  TPoint grab(frame.Left + caption.Left + 6, frame.Top + (caption.Top + caption.Bottom) / 2);
  // The system moves the frame in a modal loop on this thread, so another thread feeds the input:
  // it presses, leaves the drag rectangle, waits until the loop runs, moves on and releases.
  MoveMouseTo(grab);
  struct Feeder {
    DWORD Gui;
    TPoint Grab;
    std::atomic<bool> Looped{false};
    static DWORD WINAPI Run(void* Param) {
      Feeder& f = *static_cast<Feeder*>(Param);
      MouseEventAt(f.Grab, MOUSEEVENTF_LEFTDOWN);
      MouseEventAt(TPoint(f.Grab.X + 10, f.Grab.Y + 5), 0);
      GUITHREADINFO info{};
      info.cbSize = sizeof(info);
      for (DWORD until = GetTickCount() + kWaitLimit; GetTickCount() < until; Sleep(5)) {
        if (GetGUIThreadInfo(f.Gui, &info) && (info.flags & GUI_INMOVESIZE)) {
          f.Looped = true;
          break;
        }
      }
      for (int step = 2; step <= 4; ++step) MouseEventAt(TPoint(f.Grab.X + 10 * step, f.Grab.Y + 5 * step), 0);
      MouseEventAt(TPoint(f.Grab.X + 40, f.Grab.Y + 20), MOUSEEVENTF_LEFTUP);
      return 0;
    }
  } feeder{GetCurrentThreadId(), grab};
  HANDLE thread = CreateThread(nullptr, 0, &Feeder::Run, &feeder, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  bool moved = WaitFor("the bar moved", [&] { return bar->FloatLeft() == frame.Left + 40; });
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  EXPECT_TRUE(feeder.Looped) << "the system's move loop never ran";
  ASSERT_TRUE(moved);
  EXPECT_EQ(bar->FloatTop(), frame.Top + 20);
  EXPECT_EQ(bar->DockingStyle(), dsNone);
}

TEST_F(Docking, AMovedFloatingBarWritesItsPositionBack) {
  TkwBar* bar = AddToolbar("Outils", 2);
  bar->SetDockingStyle(dsNone);
  bar->SetFloatLeft(Form->Left() + 100);
  bar->SetFloatTop(Form->Top() + 100);
  ShowForm();
  bar->SetVisible(true);
  TkwBarControl* window = WindowOf(bar);
  ASSERT_TRUE(WaitFor("shown", [&] { return IsWindowVisible(window->Handle()); }));
  SetWindowPos(window->Handle(), nullptr, 300, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(bar->FloatLeft(), 300);
  EXPECT_EQ(bar->FloatTop(), 420);
  EXPECT_EQ(bar->FloatClientWidth(), window->ClientRect().Width());
}

TEST_F(Docking, AFloatingBarDraggedOffTheWorkAreaStaysReachable) {
  TkwBar* bar = AddToolbar("Outils", 2);
  bar->SetDockingStyle(dsNone);
  bar->SetFloatLeft(Form->Left() + 100);
  bar->SetFloatTop(Form->Top() + 100);
  ShowForm();
  bar->SetVisible(true);
  TkwBarControl* window = WindowOf(bar);
  ASSERT_TRUE(WaitFor("shown", [&] { return IsWindowVisible(window->Handle()); }));
  TRect area = GetMonitorWorkArea(TPoint(100, 100));
  SetWindowPos(window->Handle(), nullptr, area.Right + 500, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  TRect r = WindowRect(window->Handle());
  EXPECT_EQ(r.Right, area.Right);
  SetWindowPos(window->Handle(), nullptr, 200, area.Top - 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_GE(WindowRect(window->Handle()).Bottom, area.Top + 1);
}

TEST_F(Docking, TwoBarsShareARowSideBySide) {
  TkwBar* first = AddToolbar("Un", 2);
  TkwBar* second = AddToolbar("Deux", 3);
  second->SetDockedLeft(300);
  first->SetVisible(true);
  second->SetVisible(true);
  ShowForm();
  TkwBarControl* a = WindowOf(first);
  TkwBarControl* b = WindowOf(second);
  ASSERT_TRUE(Painted(b));
  EXPECT_EQ(Top()->GetRowCount(), 1);
  ASSERT_EQ(Top()->GetRow(0)->GetColCount(), 2);
  EXPECT_EQ(a->Top(), b->Top());
  EXPECT_EQ(a->Left(), 0);
  EXPECT_EQ(b->Left(), 300) << "a bar with room stays where it was put";
  EXPECT_EQ(Top()->Height(), std::max(a->Height(), b->Height()));
  EXPECT_EQ(a->Height(), b->Height()) << "the bars of a row take its thickness";
  EXPECT_FALSE(a->LinksHidden());
  EXPECT_FALSE(b->LinksHidden());
  SaveScreenshot(Top()->Handle(), "dock-two-bars-one-row");
}

TEST_F(Docking, AWholeRowBarTakesARowOfItsOwnAcrossTheDock) {
  TkwBar* menu = AddBar("Menu", true);
  Link(menu, AddSubItem("&Fichier"));
  TkwBar* tools = AddToolbar("Outils", 2);
  tools->SetDockedTop(40);
  menu->SetVisible(true);
  tools->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted(WindowOf(tools)));
  ASSERT_EQ(Top()->GetRowCount(), 2);
  EXPECT_EQ(Top()->GetRow(0)->GetCol(0)->BarControl, WindowOf(menu));
  EXPECT_EQ(Top()->GetRow(1)->GetCol(0)->BarControl, WindowOf(tools));
  EXPECT_EQ(WindowOf(menu)->Width(), Top()->ClientRect().Width());
  EXPECT_EQ(WindowOf(tools)->Top(), WindowOf(menu)->Height());
  EXPECT_EQ(Top()->Height(), WindowOf(menu)->Height() + WindowOf(tools)->Height());
  // A bar dropped on the main menu's row gets a row of its own: the main menu is alone on its.
  TkwBar* more = AddToolbar("Plus", 1);
  more->SetDockedLeft(200);
  more->SetVisible(true);
  ASSERT_EQ(Top()->GetRowCount(), 3);
  for (int i = 0; i < Top()->GetRowCount(); ++i) EXPECT_EQ(Top()->GetRow(i)->GetColCount(), 1) << i;
}

TEST_F(Docking, ACrowdedRowSqueezesTheLaterBarBehindItsMark) {
  Form->SetWidth(400);
  TkwBar* first = AddToolbar("Premier", 4);
  TkwBar* second = AddToolbar("Second", 6);
  second->SetDockedLeft(250);
  first->SetVisible(true);
  second->SetVisible(true);
  ShowForm();
  TkwBarControl* a = WindowOf(first);
  TkwBarControl* b = WindowOf(second);
  ASSERT_TRUE(Painted(b));
  ASSERT_EQ(Top()->GetRowCount(), 1);
  EXPECT_EQ(a->Left(), 0);
  int length = Top()->ClientRect().Width();
  ASSERT_LT(a->DockNaturalLength + b->DockMinLength, length) << "the scene leaves the first bar its length";
  ASSERT_GT(a->DockNaturalLength + b->DockNaturalLength, length) << "the scene crowds the row";
  EXPECT_EQ(a->Width(), a->DockNaturalLength) << "the first bar keeps its natural length";
  EXPECT_EQ(b->Left(), a->Width());
  EXPECT_EQ(b->Left() + b->Width(), length) << "the squeezed last bar reaches the end of the row";
  EXPECT_TRUE(b->LinksHidden());
  EXPECT_TRUE(b->MarkExists());
  // The links that do not fit have no place; those before them lie within the bar.
  TkwBarItemLinks* links = second->ItemLinks();
  bool hidden = false;
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    const TRect& r = links->GetShownItem(i)->ItemRect;
    if (r.IsEmpty()) {
      hidden = true;
    } else {
      EXPECT_FALSE(hidden) << "a placed link after a hidden one";
      EXPECT_LE(r.Right, b->GetMarkRect().Left);
    }
  }
  EXPECT_TRUE(hidden);
  SaveScreenshot(Top()->Handle(), "dock-crowded-row");
}

TEST_F(Docking, ABarInALeftDockStandsInAColumn) {
  TkwBar* bar = AddToolbar("Outils", 3);
  bar->SetDockingStyle(dsLeft);
  bar->SetVisible(true);
  ShowForm();
  TkwBarControl* window = WindowOf(bar);
  ASSERT_TRUE(Painted(window));
  EXPECT_TRUE(window->IsVertical());
  EXPECT_EQ(window->DockSite(), Left());
  EXPECT_EQ(Left()->Width(), window->Width());
  EXPECT_GT(window->Height(), window->Width());
  TkwBarItemLinks* links = bar->ItemLinks();
  for (int i = 1; i < links->GetShownItemCount(); ++i)
    EXPECT_GE(links->GetShownItem(i)->ItemRect.Top, links->GetShownItem(i - 1)->ItemRect.Bottom);
}

TEST_F(Docking, WhereADraggedBarLands) {
  TkwBar* bar = AddToolbar("Outils", 2);
  bar->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted(WindowOf(bar)));
  int thickness = Top()->RowThickness(0);
  ASSERT_GT(thickness, 14);
  TPoint origin(0, 0);
  ClientToScreen(Top()->Handle(), AsPOINT(&origin));
  // Boundary zones of one row: before the row, the row itself with its band of 5 pixels that
  // makes a new row, and the rest of the row, which lands after it.
  struct Case {
    int Y;
    int Row;
    bool NewRow;
  } cases[] = {{-20, 0, false}, {-12, 0, true}, {-7, 0, false}, {0, 0, false},
               {8, 0, false},   {9, 1, true},   {13, 1, true}, {14, 1, true}};
  for (const Case& c : cases) {
    bool newRow = false;
    int row = Top()->GetRowAtPoint(TPoint(origin.X + 10, origin.Y + c.Y), newRow);
    EXPECT_EQ(row, c.Row) << "y " << c.Y;
    EXPECT_EQ(newRow, c.NewRow) << "y " << c.Y;
  }
  TRect zone = Top()->GetDockingZone();
  TRect dock = WindowRect(Top()->Handle());
  EXPECT_EQ(zone.Top, dock.Top - 23);
  EXPECT_EQ(zone.Left, dock.Left - 23);
}

}  // namespace
