// Tests of dragging bars between dock sites with the mouse: from one site to another, floating,
// docking only after resting over a site, Ctrl keeping a bar floating, Escape ending the drag where
// the bar is, a bar that may dock nowhere staying put; and the choice of a site for a point.
#include "BarTestSupport.h"
#include "StrUtils.h"
#include "kwBarUtils.h"

namespace {

// Runs Action from the message loop once Ready holds (checked every few milliseconds), or when
// the wait limit has gone by: for work inside the drag's own loop.
void WhenReady(std::function<bool()> Ready, std::function<void()> Action, DWORD Deadline = 0) {
  if (!Deadline) Deadline = GetTickCount() + kWaitLimit;
  Later(
      [=] {
        if (Ready() || GetTickCount() > Deadline)
          Action();
        else
          WhenReady(Ready, Action, Deadline);
      },
      10);
}

class BarDrag : public BarFormTest {
 protected:
  void SetUp() override {
    BarFormTest::SetUp();
    Form->SetBounds(60, 60, 600, 420);
    Other = AddBar("Outils", false);
    Link(Other, AddButton("&Copier"));
    Other->SetVisible(true);
    Bar = AddBar("Standard", false);
    Link(Bar, AddButton("&Ouvrir"));
    Link(Bar, AddButton("&Enregistrer"));
    Bar->SetVisible(true);
    ShowForm();
  }
  TPoint Grip() { return WindowOf(Bar)->ClientToScreen(TPoint(3, 10)); }
  // A point of the form's client area near an edge, inside that edge's docking zone.
  TPoint NearEdge(TkwBarDockingStyle Style) {
    TRect client = Form->ClientRect();
    switch (Style) {
      case dsTop: return Form->ClientToScreen(TPoint(200, 2));
      case dsBottom: return Form->ClientToScreen(TPoint(200, client.Bottom - 2));
      case dsLeft: return Form->ClientToScreen(TPoint(2, 200));
      default: return Form->ClientToScreen(TPoint(client.Right - 2, 200));
    }
  }
  TPoint Middle() { return Form->ClientToScreen(TPoint(300, 180)); }
  void Float(TPoint At) {
    Bar->SetVisible(false);
    Bar->SetDockingStyle(dsNone);
    Bar->SetFloatLeft(At.X);
    Bar->SetFloatTop(At.Y);
    Bar->SetVisible(true);
    ASSERT_TRUE(WaitFor("the bar floating", [&] { return IsWindowVisible(WindowOf(Bar)->Handle()); }));
  }
  // Presses the grip, moves to each point in turn and, unless Keep, releases at the last one.
  void Drag(std::vector<TPoint> Points, bool Release = true) {
    TPoint grip = Grip();
    MoveMouseTo(grip);
    // The press must be one, not the second of a double click with an earlier one.
    AwaitNoDoubleClick(grip);
    MouseButton(true, grip);
    std::vector<INPUT> inputs;
    for (TPoint p : Points) inputs.push_back(MouseInput(p, 0));
    if (Release) inputs.push_back(MouseInput(Points.back(), MOUSEEVENTF_LEFTUP));
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
  }
  bool DragOver() { return !Manager->Bars()->Dragging; }
  // What a failed wait reports.
  String State() {
    POINT c;
    GetCursorPos(&c);
    RECT r;
    GetWindowRect(WindowOf(Bar)->Handle(), &r);
    return "style " + IntToStr(Bar->DockingStyle()) + " dragging " + IntToStr(Manager->Bars()->Dragging) + " cursor " +
           IntToStr(c.x) + "," + IntToStr(c.y) + " window " + IntToStr(r.left) + "," + IntToStr(r.top) + "," +
           IntToStr(r.right) + "," + IntToStr(r.bottom) + " grip " + IntToStr(Grip().X) + "," + IntToStr(Grip().Y) +
           " moving " + IntToStr(WindowOf(Bar)->Moving);
  }
  TkwBar* Bar = nullptr;
  TkwBar* Other = nullptr;
};

TEST_F(BarDrag, ABarIsMovedByItsGripFromTheTopSiteToTheBottomOne) {
  TkwDockSite* top = Manager->Bars()->EdgeDockSite(dsTop);
  TkwDockSite* bottom = Manager->Bars()->EdgeDockSite(dsBottom);
  ASSERT_EQ(WindowOf(Bar)->DockSite(), top);
  Drag({NearEdge(dsBottom)});
  ASSERT_TRUE(WaitFor("the bar docked at the bottom", [&] { return Bar->DockingStyle() == dsBottom && DragOver(); })) << State();
  TTestBarWindow* window = WindowOf(Bar);
  EXPECT_EQ(window->DockSite(), bottom);
  EXPECT_EQ(window->Parent(), bottom);
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  EXPECT_FALSE(window->Moving);
  EXPECT_EQ(static_cast<TTestDockSite*>(top)->WindowCount(), 1);
  EXPECT_EQ(static_cast<TTestDockSite*>(bottom)->WindowCount(), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  RedrawNow(Form->Handle());
  SaveScreenshot(Form->Handle(), "bar-dragged-to-the-bottom");
  // And back.
  Drag({NearEdge(dsTop)});
  ASSERT_TRUE(WaitFor("the bar docked at the top", [&] { return Bar->DockingStyle() == dsTop && DragOver(); }));
  EXPECT_EQ(WindowOf(Bar)->DockSite(), top);
}

TEST_F(BarDrag, ABarDraggedOffItsSiteFloatsWhereTheCursorIs) {
  Drag({Middle()});
  ASSERT_TRUE(WaitFor("the bar floating", [&] { return Bar->DockingStyle() == dsNone && DragOver(); })) << State();
  TTestBarWindow* window = WindowOf(Bar);
  EXPECT_FALSE(GetWindowLongA(window->Handle(), GWL_STYLE) & WS_CHILD);
  RECT r;
  GetWindowRect(window->Handle(), &r);
  // The cursor keeps its hold of the window where it took it.
  EXPECT_TRUE(PtInRect(&r, POINT{Middle().X, Middle().Y}));
  EXPECT_EQ(static_cast<TTestDockSite*>(Manager->Bars()->EdgeDockSite(dsTop))->WindowCount(), 1);
}

// Released over a site before the docking delay, a floating bar stays floating; resting there, it
// docks.
TEST_F(BarDrag, AFloatingBarDocksOnlyAfterRestingOverASite) {
  Manager->SetWaitForDockingTime(200);
  Float(Middle());
  Drag({NearEdge(dsLeft)});
  ASSERT_TRUE(WaitFor("the drag over", [&] { return DragOver(); }));
  EXPECT_EQ(Bar->DockingStyle(), dsNone);
  // (Further along the edge: the grip is where the first drag left the cursor.)
  TPoint along(NearEdge(dsLeft).X, NearEdge(dsLeft).Y + 40);
  Drag({along}, false);
  WhenReady([&] { return Bar->DockingStyle() == dsLeft; }, [&] { MouseEventAt(along, MOUSEEVENTF_LEFTUP); });
  ASSERT_TRUE(WaitFor("the bar docked at the left", [&] { return Bar->DockingStyle() == dsLeft && DragOver(); }));
  EXPECT_EQ(WindowOf(Bar)->DockSite(), Manager->Bars()->EdgeDockSite(dsLeft));
}

TEST_F(BarDrag, CtrlFloatsTheBarAtOnceAndReleasingItDocksItAgain) {
  Manager->SetWaitForDockingTime(50);
  TPoint within = NearEdge(dsTop);
  Drag({within}, false);
  std::vector<TkwBarDockingStyle> seen;
  WhenReady([&] { return Manager->Bars()->Dragging; },
            [&] {
              SendKey(VK_CONTROL, false);
              WhenReady([&] { return Bar->DockingStyle() == dsNone; },
                        [&] {
                          seen.push_back(Bar->DockingStyle());
                          SendKey(VK_CONTROL, true);
                          WhenReady([&] { return Bar->DockingStyle() == dsTop; },
                                    [&] {
                                      seen.push_back(Bar->DockingStyle());
                                      MouseEventAt(within, MOUSEEVENTF_LEFTUP);
                                    });
                        });
            });
  ASSERT_TRUE(WaitFor("the drag over", [&] { return DragOver() && seen.size() == 2; }));
  EXPECT_EQ(seen, (std::vector<TkwBarDockingStyle>{dsNone, dsTop}));
  EXPECT_EQ(Bar->DockingStyle(), dsTop);
}

// Escape ends the drag where the bar is; it does not go back.
TEST_F(BarDrag, EscapeEndsTheDragWhereTheBarIs) {
  Drag({Middle()}, false);
  WhenReady([&] { return Bar->DockingStyle() == dsNone; }, [] { SendKey(VK_ESCAPE, false); });
  ASSERT_TRUE(WaitFor("the drag over", [&] { return DragOver() && Bar->DockingStyle() == dsNone; }));
  MouseEventAt(Middle(), MOUSEEVENTF_LEFTUP);
  SendKey(VK_ESCAPE, true);
  PumpPending();
  EXPECT_EQ(Bar->DockingStyle(), dsNone);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(BarDrag, ABarThatMayDockNowhereStaysPut) {
  Bar->NotDocking = {dsNone, dsLeft, dsTop, dsRight, dsBottom};
  Drag({Middle()}, false);
  ReleaseButton(Middle());
  EXPECT_FALSE(WindowOf(Bar)->Moving);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Bar->DockingStyle(), dsTop);
  EXPECT_EQ(WindowOf(Bar)->DockSite(), Manager->Bars()->EdgeDockSite(dsTop));
}

TEST_F(BarDrag, ASiteIsChosenByStyleInTheirOrderSkippingRefusedOnes) {
  struct TRefuse : TObject {
    TkwBarDockingStyles Refused;
    void Docking(TkwBar*, TkwBarDockingStyle Style, TkwDockSite*, bool& CanDocking) {
      if (Refused.Contains(Style)) CanDocking = false;
    }
  } refuse;
  Manager->OnDocking = TkwBarDockingEvent(&refuse, &TRefuse::Docking);
  // Where the top site ends at the left edge, the zones of the left and top sites meet.
  TPoint corner = Form->ClientToScreen(TPoint(2, Manager->Bars()->EdgeDockSite(dsTop)->GetDockSize() - 2));
  struct Case {
    const char* Name;
    TPoint Point;
    TkwBarDockingStyles Refused;
    TkwBarDockingStyles BarRefuses;
    TkwBarDockingStyle Expected;
  } cases[] = {{"left before top", corner, {}, {}, dsLeft},
               {"the event refuses the left", corner, {dsLeft}, {}, dsTop},
               {"the bar refuses the left", corner, {}, {dsLeft}, dsTop},
               {"nothing there", Middle(), {}, {}, dsNone},
               {"the right edge", NearEdge(dsRight), {}, {}, dsRight}};
  for (const Case& c : cases) {
    refuse.Refused = c.Refused;
    Bar->NotDocking = c.BarRefuses;
    TkwDockSite* site = nullptr;
    EXPECT_EQ(Manager->Bars()->FindDockTarget(Bar, c.Point, site), c.Expected) << c.Name;
    EXPECT_EQ(site, Manager->Bars()->EdgeDockSite(c.Expected)) << c.Name;
  }
  Manager->OnDocking = nullptr;
}

}  // namespace
