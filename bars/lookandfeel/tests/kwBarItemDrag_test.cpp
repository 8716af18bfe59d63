// Tests of the customizing drag of links with the mouse: moved to another bar, copied with Ctrl,
// deleted when dropped outside every bar (the cursor saying so meanwhile), a group started or
// ended by a small drag along the bar, and a command dropped on an empty bar.
#include "BarTestSupport.h"
#include "kwBarUtils.h"

namespace {

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

std::vector<String> Captions(TkwBar* Bar) {
  std::vector<String> captions;
  for (int i = 0; i < Bar->ItemLinks()->Count(); ++i) captions.push_back(Bar->ItemLinks()->Items(i)->GetCaption());
  return captions;
}

class LinkDrag : public BarFormTest {
 protected:
  void SetUp() override {
    BarFormTest::SetUp();
    Form->SetBounds(60, 60, 600, 360);
    Standard = AddBar("Standard", false);
    for (const char* caption : {"Ouvrir", "Enregistrer", "Imprimer"}) Link(Standard, AddButton(caption));
    Standard->SetVisible(true);
    Tools = AddBar("Outils", false);
    Link(Tools, AddButton("Copier"));
    Tools->SetVisible(true);
    ShowForm();
    Manager->SetCustomizing(true);
  }
  void TearDown() override {
    Manager->SetCustomizing(false);
    BarFormTest::TearDown();
  }
  // A point of a link: its middle, moved by DX.
  TPoint At(TkwBar* Bar, int Index, int DX = 0) {
    const TRect& r = Bar->ItemLinks()->Items(Index)->ItemRect;
    return WindowOf(Bar)->ClientToScreen(TPoint((r.Left + r.Right) / 2 + DX, (r.Top + r.Bottom) / 2));
  }
  // Presses at From, moves to each point and, with Release, lets go at the last one; with Ctrl,
  // Ctrl goes down before the release (after the moves: the display resets the keys the program
  // was given when the pointer crosses windows) and up once the drag is over.
  void Drag(TPoint From, std::vector<TPoint> Points, bool Release = true, bool Ctrl = false) {
    MoveMouseTo(From);
    AwaitNoDoubleClick(From);
    MouseButton(true, From);
    std::vector<INPUT> inputs;
    for (TPoint p : Points) inputs.push_back(MouseInput(p, 0));
    if (Ctrl) inputs.push_back(KeyInput(VK_CONTROL, false));
    if (Release) inputs.push_back(MouseInput(Points.back(), MOUSEEVENTF_LEFTUP));
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    if (!Ctrl) return;
    EXPECT_TRUE(WaitFor("the drag over", [&] { return Done(); }));
    SendKey(VK_CONTROL, true);
  }
  bool Done() { return !Manager->DraggingItem && Manager->DragLink == nullptr; }
  TkwBar* Standard = nullptr;
  TkwBar* Tools = nullptr;
};

TEST_F(LinkDrag, ALinkDroppedOnAnotherBarMovesThere) {
  TPoint target = At(Tools, 0, 8);
  Drag(At(Standard, 1), {At(Tools, 0), target});
  ASSERT_TRUE(WaitFor("the link moved", [&] { return Done() && Tools->ItemLinks()->Count() == 2; }));
  EXPECT_EQ(Captions(Tools), (std::vector<String>{"Copier", "Enregistrer"}));
  EXPECT_EQ(Captions(Standard), (std::vector<String>{"Ouvrir", "Imprimer"}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_TRUE(Manager->Modified());
}

TEST_F(LinkDrag, WithCtrlHeldItIsCopied) {
  Drag(At(Standard, 0), {At(Tools, 0), At(Tools, 0, -8)}, true, true);
  ASSERT_TRUE(WaitFor("the link copied", [&] { return Done() && Tools->ItemLinks()->Count() == 2; }));
  // Dropped on the first half: before the hovered link.
  EXPECT_EQ(Captions(Tools), (std::vector<String>{"Ouvrir", "Copier"}));
  EXPECT_EQ(Captions(Standard), (std::vector<String>{"Ouvrir", "Enregistrer", "Imprimer"}));
}

TEST_F(LinkDrag, ALinkDroppedOutsideEveryBarGoesAndTheCursorSaysSo) {
  TPoint outside = Form->ClientToScreen(TPoint(300, 250));
  Drag(At(Standard, 2), {outside}, false);
  TCursor shown = crDefault;
  WhenReady([&] { return Screen->Cursor() == crkwBarDragNoDrop; },
            [&] {
              shown = Screen->Cursor();
              MouseButton(false, outside);
            });
  ASSERT_TRUE(WaitFor("the link gone", [&] { return Done() && Standard->ItemLinks()->Count() == 2; }));
  EXPECT_EQ(shown, crkwBarDragNoDrop);
  EXPECT_EQ(Captions(Standard), (std::vector<String>{"Ouvrir", "Enregistrer"}));
  EXPECT_EQ(Screen->Cursor(), crDefault);
  // With Ctrl held nothing goes.
  Drag(At(Standard, 1), {outside}, true, true);
  EXPECT_EQ(Captions(Standard), (std::vector<String>{"Ouvrir", "Enregistrer"}));
}

// Moved along its bar on itself, a link starts a group beyond 3 pixels to the right and ends one
// beyond 3 to the left.
TEST_F(LinkDrag, ASmallDragAlongItsBarStartsOrEndsAGroup) {
  TkwBarItemLink* link = Standard->ItemLinks()->Items(2);
  struct Case {
    int DX;
    bool Group;
  } cases[] = {{2, false}, {4, true}, {2, true}, {-4, false}};
  for (const Case& c : cases) {
    TPoint from = At(Standard, 2);
    Drag(from, {TPoint(from.X + c.DX, from.Y)});
    ASSERT_TRUE(WaitFor("the drag over", [&] { return Done(); })) << c.DX;
    EXPECT_EQ(link->BeginGroup(), c.Group) << c.DX;
    EXPECT_EQ(Standard->ItemLinks()->Items(2), link);
  }
}

// A command of the customizing window's lists dragged onto a bar without links.
TEST_F(LinkDrag, ACommandDroppedOnAnEmptyBarMakesItsFirstLink) {
  TkwBar* empty = AddBar("Vide", false);
  empty->SetVisible(true);
  TTestBarButton* command = AddButton("Rechercher");
  TPoint into = WindowOf(empty)->ClientToScreen(TPoint(40, 12));
  MoveMouseTo(into);
  std::vector<INPUT> inputs{MouseInput(TPoint(into.X + 2, into.Y), 0), MouseInput(into, 0),
                            MouseInput(into, MOUSEEVENTF_LEFTUP)};
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
  Manager->DragItemLink(command, nullptr);
  ASSERT_EQ(empty->ItemLinks()->Count(), 1);
  EXPECT_EQ(empty->ItemLinks()->Items(0)->Item(), command);
  EXPECT_EQ(command->GetLinkCount(), 1);
}

}  // namespace
