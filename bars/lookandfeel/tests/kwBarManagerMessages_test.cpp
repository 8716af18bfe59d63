// Tests of the owner form's messages: MDI children merging their main menus into the frame's main
// menu bar and leaving it when restored, switched, closed or freed in any order; floating bars
// following minimize, restore, close and activation; floating bars kept on the screen.
#include "BarTestForms.h"
#include "kwBarUtils.h"

namespace {

std::vector<String> ShownCaptions(TkwBar* Bar) {
  std::vector<String> captions;
  TkwBarItemLinks* links = Bar->ItemLinks();
  for (int i = 0; i < links->GetShownItemCount(); ++i) captions.push_back(links->GetShownItem(i)->GetCaption());
  return captions;
}

TkwBar* MainMenuOf(TCustomForm* Form) {
  TkwBarManager* manager = FindManagerOfForm(Form);
  return manager ? manager->MainMenuBar() : nullptr;
}

class MDIMenuMerge : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallTestBarForms();
    ASSERT_EQ(Application->MainForm(), nullptr);
    Application->CreateForm(Frame);
    Frame->Show();
    Activate(Frame);
    Manager = FindManagerOfForm(Frame);
    ASSERT_NE(Manager, nullptr);
    ASSERT_NE(Manager->MainMenuBar(), nullptr);
  }
  void TearDown() override {
    for (TTestBarChild* child : LiveChildren()) child->Free();
    if (Frame) Frame->Free();
    Frame = nullptr;
  }
  static std::vector<TTestBarChild*> LiveChildren() {
    std::vector<TTestBarChild*> children;
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* child = dynamic_cast<TTestBarChild*>(Screen->Forms(i))) children.push_back(child);
    return children;
  }
  TTestBarChild* NewChild() {
    auto* child = CreateForm<TTestBarChild>(Application);
    EXPECT_TRUE(WaitFor("the new child to be the active one", [&] { return Frame->ActiveMDIChild() == child; }));
    return child;
  }
  std::vector<String> FrameMenu() { return ShownCaptions(Manager->MainMenuBar()); }
  // What the frame's main menu shows with Active the active child (nullptr: none).
  std::vector<String> Expected(TCustomForm* Active) {
    std::vector<String> captions;
    bool zoomed = Active && Active->HandleAllocated() && IsZoomed(Active->Handle());
    if (zoomed) captions.push_back("-");
    captions.push_back("&Fichier");
    captions.push_back("Fe&nêtre"_a);
    if (zoomed)
      for (const char* caption : {"F&iche", "&Outils"}) captions.push_back(caption);
    return captions;
  }
  // Every entry of the frame's menu is the frame's own, the active child's, or its system menu.
  void ExpectNoStrayEntries(TCustomForm* Active) {
    TkwBarManager* childManager = FindManagerOfForm(Active);
    TkwBarItemLinks* links = Manager->MainMenuBar()->ItemLinks();
    for (int i = 0; i < links->Count(); ++i) {
      TkwBarItem* item = links->Items(i)->Item();
      ASSERT_NE(item, nullptr) << i;
      bool own = item->BarManager() == Manager || (childManager && item->BarManager() == childManager) ||
                 IsMDISystemMenuLink(links->Items(i));
      EXPECT_TRUE(own) << "entry " << i << " " << item->Caption();
    }
  }
  TTestBarFrame* Frame = nullptr;
  TkwBarManager* Manager = nullptr;
};

// The frame's description stores the category flags after their names; they are read back.
TEST_F(MDIMenuMerge, TheFramesManagerIsReadWithItsCategoryFlags) {
  EXPECT_EQ(Manager->Categories()->Count(), 1);
  EXPECT_EQ(Manager->Categories()->Strings(0), "Default");
  EXPECT_EQ(Manager->GetCategoryItemsVisible(0), ivAlways);
  EXPECT_TRUE(Manager->GetCategoryVisible(0));
  EXPECT_EQ(Manager->GetEffectiveStyle(), bmsFlat);
  EXPECT_EQ(FrameMenu(), Expected(nullptr));
}

TEST_F(MDIMenuMerge, AMaximizedChildMergesItsMenuAndARestoredOneTakesItBack) {
  TTestBarChild* child = NewChild();
  TkwBar* childMenu = MainMenuOf(child);
  ASSERT_NE(childMenu, nullptr);
  // Restored, the child keeps its own menu.
  EXPECT_EQ(FrameMenu(), Expected(nullptr));
  EXPECT_TRUE(childMenu->Visible());
  child->SetWindowState(wsMaximized);
  ASSERT_TRUE(WaitFor("the child's menu in the frame's", [&] { return FrameMenu().size() == 5; }));
  EXPECT_EQ(FrameMenu(), Expected(child));
  EXPECT_FALSE(childMenu->Visible());
  EXPECT_EQ(Manager->LastMDIChild(), child);
  EXPECT_EQ(TemporaryItemCount(), 1);
  RedrawNow(Frame->Handle());
  SaveScreenshot(Frame->Handle(), "mdi-child-menu-merged");
  child->SetWindowState(wsNormal);
  ASSERT_TRUE(WaitFor("the frame's own menu", [&] { return FrameMenu().size() == 2; }));
  EXPECT_EQ(FrameMenu(), Expected(nullptr));
  EXPECT_TRUE(childMenu->Visible());
  EXPECT_EQ(TemporaryItemCount(), 0);
}

TEST_F(MDIMenuMerge, WithAlwaysMergeARestoredChildMergesToo) {
  Manager->AlwaysMerge = true;
  TTestBarChild* child = NewChild();
  std::vector<String> expected{"&Fichier", "Fe&nêtre"_a, "F&iche", "&Outils"};
  EXPECT_EQ(FrameMenu(), expected);
  EXPECT_FALSE(MainMenuOf(child)->Visible());
  // Maximized, only the system menu comes first.
  child->SetWindowState(wsMaximized);
  ASSERT_TRUE(WaitFor("the system menu first", [&] { return FrameMenu().size() == 5; }));
  EXPECT_EQ(FrameMenu().front(), "-");
  child->SetWindowState(wsNormal);
  ASSERT_TRUE(WaitFor("the system menu gone", [&] { return FrameMenu().size() == 4; }));
  EXPECT_EQ(FrameMenu(), expected);
}

TEST_F(MDIMenuMerge, SwitchingMaximizedChildrenRemovesTheFirstsEntriesBeforeAddingTheSeconds) {
  // A link is made without item, then given one: it counts as added when it first has one.
  struct TLog : TObject {
    std::vector<String> Entries;
    std::vector<TkwBarItemLink*> Seen;
    void Changed(TkwBarManager*, TkwBarItemLink* Link) {
      if (std::find(Seen.begin(), Seen.end(), Link) != Seen.end()) return;
      Seen.push_back(Link);
      Record("add", Link);
    }
    void Deleted(TkwBarManager*, TkwBarItemLink* Link) { Record("delete", Link); }
    void Record(const char* What, TkwBarItemLink* Link) {
      TkwBarItem* item = Link->Item();
      if (!item || !item->Owner()) return;
      Entries.push_back(String(What) + " " + item->Owner()->Name());
    }
  } log;
  TTestBarChild* first = NewChild();
  first->SetWindowState(wsMaximized);
  TTestBarChild* second = NewChild();
  second->SetWindowState(wsMaximized);
  ASSERT_TRUE(WaitFor("the second child merged", [&] {
    return Manager->LastMDIChild() == second && FrameMenu().size() == 5;
  }));
  Manager->OnItemLinkChange = TkwBarManagerLinkEvent(&log, &TLog::Changed);
  Manager->OnItemLinkDelete = TkwBarManagerLinkEvent(&log, &TLog::Deleted);
  Frame->Next();
  ASSERT_TRUE(WaitFor("the first child active again", [&] { return Frame->ActiveMDIChild() == first; }));
  ASSERT_TRUE(WaitFor("the first child merged", [&] {
    return Manager->LastMDIChild() == first && FrameMenu().size() == 5;
  }));
  // The system keeps a maximized frame's children maximized as they take their turn.
  EXPECT_TRUE(IsZoomed(first->Handle()));
  Manager->OnItemLinkChange = nullptr;
  Manager->OnItemLinkDelete = nullptr;
  EXPECT_EQ(FrameMenu(), Expected(first));
  ExpectNoStrayEntries(first);
  String secondName = second->Name();
  String firstName = first->Name();
  std::vector<String> expected{"delete " + secondName, "delete " + secondName, "add " + firstName, "add " + firstName};
  // Links added and deleted in passing (the system menu's) are not the children's.
  EXPECT_EQ(log.Entries, expected);
}

// Each way a child can go: closed (freed once the close is over) or freed at once, active or not.
TEST_F(MDIMenuMerge, ChildrenClosedOrFreedInAnyOrderLeaveTheFramesMenuClean) {
  enum TEnd { kCloseActive, kCloseOther, kFreeActive, kFreeOther };
  struct Case {
    const char* Name;
    TEnd First;
    TEnd Second;
  } cases[] = {{"close the active, then the other", kCloseActive, kCloseActive},
               {"free the other, then the active", kFreeOther, kFreeActive},
               {"free the active, then close the other", kFreeActive, kCloseActive},
               {"close the other, then free the active", kCloseOther, kFreeActive}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    NewChild();
    TTestBarChild* active = NewChild();
    active->SetWindowState(wsMaximized);
    ASSERT_TRUE(WaitFor("the active child merged", [&] { return FrameMenu() == Expected(active); }));
    for (TEnd end : {c.First, c.Second}) {
      std::vector<TTestBarChild*> children = LiveChildren();
      ASSERT_FALSE(children.empty());
      TCustomForm* current = Frame->ActiveMDIChild();
      TTestBarChild* target = nullptr;
      for (TTestBarChild* child : children) {
        bool isActive = child == current;
        if ((end == kCloseActive || end == kFreeActive) == isActive) target = child;
      }
      if (!target) target = children.front();
      std::size_t before = children.size();
      if (end == kCloseActive || end == kCloseOther)
        target->Close();
      else
        target->Free();
      ASSERT_TRUE(WaitFor("the child gone", [&] { return LiveChildren().size() == before - 1; }));
      TCustomForm* now = Frame->ActiveMDIChild();
      ASSERT_TRUE(WaitFor("the frame's menu to follow", [&] { return FrameMenu() == Expected(now); }));
      ExpectNoStrayEntries(now);
      EXPECT_EQ(Manager->LastMDIChild(), now);
    }
    EXPECT_TRUE(LiveChildren().empty());
    EXPECT_EQ(FrameMenu(), Expected(nullptr));
    EXPECT_EQ(Manager->LastMDIChild(), nullptr);
    EXPECT_EQ(TemporaryItemCount(), 0);
  }
}

// The merged child forgets no entry when its manager goes before the form.
TEST_F(MDIMenuMerge, AChildWhoseManagerGoesTakesItsEntriesAlong) {
  TTestBarChild* child = NewChild();
  child->SetWindowState(wsMaximized);
  ASSERT_TRUE(WaitFor("the child merged", [&] { return FrameMenu() == Expected(child); }));
  delete FindManagerOfForm(child);
  std::vector<String> expected{"-", "&Fichier", "Fe&nêtre"_a};
  EXPECT_EQ(FrameMenu(), expected);
  child->Free();
  ASSERT_TRUE(WaitFor("the frame's own menu", [&] { return FrameMenu() == Expected(nullptr); }));
  EXPECT_EQ(Manager->LastMDIChild(), nullptr);
}

// --- Floating bars --------------------------------------------------------------------------------

class FloatingBars : public BarFormTest {
 protected:
  void SetUp() override {
    BarFormTest::SetUp();
    ShowForm();
    Bar = Manager->Bars()->Add();
    Bar->SetCaption("Flottante");
    Bar->SetDockingStyle(dsNone);
    Bar->SetFloatLeft(600);
    Bar->SetFloatTop(120);
    Link(Bar, AddButton("&Ouvrir"));
    Bar->SetVisible(true);
    ASSERT_NE(WindowOf(Bar), nullptr);
    ASSERT_TRUE(WaitFor("the floating bar shown", [&] { return BarShows(); }));
  }
  bool BarShows() {
    TTestBarWindow* window = WindowOf(Bar);
    return window && window->HandleAllocated() && IsWindowVisible(window->Handle());
  }
  TkwBar* Bar = nullptr;
};

TEST_F(FloatingBars, FloatOutsideTheForm) {
  TTestBarWindow* window = WindowOf(Bar);
  EXPECT_FALSE(GetWindowLongA(window->Handle(), GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetWindow(window->Handle(), GW_OWNER), Form->Handle());
  RECT r;
  GetWindowRect(window->Handle(), &r);
  EXPECT_EQ(r.left, 600);
  EXPECT_EQ(r.top, 120);
}

// The system keeps the low four bits of a command for itself: a command is what remains.
TEST_F(FloatingBars, FollowMinimizeAndRestoreWhateverTheLowBitsOfTheCommand) {
  struct Case {
    WPARAM Command;
    bool Shown;
  } cases[] = {{SC_MINIMIZE, false}, {SC_RESTORE, true}, {SC_MINIMIZE | 0x2, false}, {SC_RESTORE | 0x2, true},
               {SC_MAXIMIZE | HTCAPTION, true}, {SC_RESTORE | HTCAPTION, true}};
  for (const Case& c : cases) {
    SendMessageA(Form->Handle(), WM_SYSCOMMAND, c.Command, 0);
    ASSERT_TRUE(WaitFor("the bar to follow the form", [&] { return BarShows() == c.Shown; }))
        << std::hex << c.Command;
  }
  // Shown again, the bar did not take the activation from the form.
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
}

TEST_F(FloatingBars, StayWhileACloseIsRefusedAndGoWithTheForm) {
  struct TQuery : TObject {
    bool Allow = false;
    void CloseQuery(TObject*, bool& CanClose) { CanClose = Allow; }
  } query;
  Form->OnCloseQuery = TCloseQueryEvent(&query, &TQuery::CloseQuery);
  SendMessageA(Form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpPending();
  EXPECT_TRUE(Form->Visible());
  EXPECT_TRUE(BarShows());
  query.Allow = true;
  SendMessageA(Form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitFor("the form hidden", [&] { return !IsWindowVisible(Form->Handle()); }));
  EXPECT_FALSE(BarShows());
  Form->OnCloseQuery = nullptr;
}

TEST_F(FloatingBars, HideWhileAnotherFormIsActiveUnlessAskedNotTo) {
  TFormPtr<TForm> other(CreateForm<TForm>(nullptr));
  other->SetBounds(200, 500, 200, 100);
  other->Show();
  Activate(other.get());
  ASSERT_TRUE(WaitFor("the bar hidden", [&] { return !BarShows(); }));
  Activate(Form.get());
  ASSERT_TRUE(WaitFor("the bar back", [&] { return BarShows(); }));
  Manager->SetHideFloatingBarsWhenInactive(false);
  Activate(other.get());
  PumpPending();
  EXPECT_TRUE(BarShows());
}

TEST_F(FloatingBars, AreKeptOnTheScreenWhenTheDisplayChanges) {
  TRect work = GetMonitorWorkArea(TPoint(300, 300));
  TTestBarWindow* window = WindowOf(Bar);
  struct Case {
    int X;
    int Y;
  } cases[] = {{work.Right + 50, 100}, {100, work.Bottom + 40}, {work.Left - 500, work.Top - 300}};
  for (const Case& c : cases) {
    SetWindowPos(window->Handle(), nullptr, c.X, c.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(Form->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    RECT r;
    GetWindowRect(window->Handle(), &r);
    EXPECT_GE(r.left, work.Left) << c.X << "," << c.Y;
    EXPECT_GE(r.top, work.Top) << c.X << "," << c.Y;
    EXPECT_LE(r.right, work.Right) << c.X << "," << c.Y;
    EXPECT_LE(r.bottom, work.Bottom) << c.X << "," << c.Y;
  }
}

}  // namespace
