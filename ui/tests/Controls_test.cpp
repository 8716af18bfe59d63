// Tests of controls: the WindowProc chain and its hooks, alignment and anchors, re-parenting,
// painting into another device context, a child's Invalidate leaving its parent valid, inherited
// font and colour, free notification of the popup menu.
#include <gtest/gtest.h>

#include <memory>

#include "TestForms.h"

namespace {

// A hook that chains itself in front of a control's WindowProc, as window-message hooks do, and
// that can leave the chain whatever its place in it.
class TChainHook : public TObject {
 public:
  TChainHook(TControl* Control, const char* Name, std::vector<String>* Log) : FControl(Control), FName(Name), FLog(Log) {
    FPrevious = Control->WindowProc;
    if (auto* below = dynamic_cast<TChainHook*>(FPrevious.Object())) below->FAbove = this;
    FBelow = dynamic_cast<TChainHook*>(FPrevious.Object());
    Control->WindowProc = TWndMethod(this, &TChainHook::Hook);
  }
  void Remove() {
    if (FControl->WindowProc == TWndMethod(this, &TChainHook::Hook)) {
      FControl->WindowProc = FPrevious;
    } else if (FAbove) {
      FAbove->FPrevious = FPrevious;
    }
    if (FAbove) FAbove->FBelow = FBelow;
    if (FBelow) FBelow->FAbove = FAbove;
  }

 private:
  void Hook(TMessage& Message) {
    if (Message.Msg == WM_SETTEXT) FLog->push_back(FName);
    FPrevious(Message);
  }
  TControl* FControl;
  String FName;
  std::vector<String>* FLog;
  TWndMethod FPrevious;
  TChainHook* FAbove = nullptr;
  TChainHook* FBelow = nullptr;
};

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Layout.reset(CreateForm<TTestLayout>(nullptr));
    Layout->Show();
    PumpPending();
  }
  void TearDown() override {
    Layout.reset();
    EXPECT_TRUE(Script.Unexpected.empty());
  }
  TModalScript Script;
  TFormPtr<TTestLayout> Layout;
};

TEST_F(ControlTest, WindowProcHooksChainAndRestoreInEitherOrder) {
  for (bool topFirst : {true, false}) {
    auto* edit = new TTestEdit(Layout.get());
    edit->SetParent(Layout->Client1);
    TWndMethod original = edit->WindowProc;
    std::vector<String> log;
    TChainHook a(edit, "A", &log);
    TChainHook b(edit, "B", &log);
    // Messages sent to the window, and messages performed on the object, go through the chain.
    SendMessageA(edit->Handle(), WM_SETTEXT, 0, LPARAM("premier"));
    edit->Perform(WM_SETTEXT, 0, LPARAM("second"));
    EXPECT_EQ(log, (std::vector<String>{"B", "A", "B", "A"}));
    EXPECT_EQ(edit->Text(), "second");
    log.clear();
    (topFirst ? b : a).Remove();
    SendMessageA(edit->Handle(), WM_SETTEXT, 0, LPARAM("trois"));
    EXPECT_EQ(log, (std::vector<String>{topFirst ? "A" : "B"}));
    EXPECT_EQ(edit->Text(), "trois");
    log.clear();
    (topFirst ? a : b).Remove();
    EXPECT_TRUE(edit->WindowProc == original);
    SendMessageA(edit->Handle(), WM_SETTEXT, 0, LPARAM("quatre"));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(edit->Text(), "quatre");
    delete edit;
  }
}

TEST_F(ControlTest, HookCanSwallowAMessageAndChangeItsParameters) {
  struct TKeyFilter : TObject {
    TWndMethod Previous;
    void Hook(TMessage& Message) {
      // Tab taken away before the control sees it, as the record pages' hooks do.
      if (Message.Msg == CM_CHILDKEY && Message.WParam == VK_TAB) {
        Message.WParam = 0;
        Message.Result = 1;
        return;
      }
      Previous(Message);
    }
  } filter;
  TTestEdit* edit = new TTestEdit(Layout.get());
  edit->SetParent(Layout->Client1);
  filter.Previous = edit->WindowProc;
  edit->WindowProc = TWndMethod(&filter, &TKeyFilter::Hook);
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_TAB, 0), 1);
  edit->WindowProc = filter.Previous;
  delete edit;
}

struct AlignCase {
  const char* Control;
  TRect Before;  // form client 400 x 300
  TRect After;   // form client 500 x 400
};

const AlignCase AlignCases[] = {
    {"Top1", Bounds(0, 0, 400, 30), Bounds(0, 0, 500, 30)},
    {"Top2", Bounds(0, 30, 400, 20), Bounds(0, 30, 500, 20)},
    {"Bottom1", Bounds(0, 260, 400, 40), Bounds(0, 360, 500, 40)},
    {"Left1", Bounds(0, 50, 60, 210), Bounds(0, 50, 60, 310)},
    {"Right1", Bounds(350, 50, 50, 210), Bounds(450, 50, 50, 310)},
    {"Client1", Bounds(60, 50, 290, 210), Bounds(60, 50, 390, 310)},
    // Inside Client1: right and bottom anchored keeps the distances; left and right stretches.
    {"Corner", Bounds(200, 150, 60, 20), Bounds(300, 250, 60, 20)},
    {"Stretch", Bounds(10, 10, 100, 20), Bounds(10, 10, 200, 20)},
};

TEST_F(ControlTest, AlignmentAndAnchorsFollowTheParentsSize) {
  for (const AlignCase& c : AlignCases) {
    auto* control = static_cast<TControl*>(Layout->FindComponent(c.Control));
    ASSERT_NE(control, nullptr) << c.Control;
    EXPECT_EQ(control->BoundsRect(), c.Before) << c.Control;
  }
  Layout->SetClientWidth(500);
  Layout->SetClientHeight(400);
  PumpPending();
  for (const AlignCase& c : AlignCases) {
    auto* control = static_cast<TControl*>(Layout->FindComponent(c.Control));
    EXPECT_EQ(control->BoundsRect(), c.After) << c.Control;
    // The windows are where the objects say.
    RECT r;
    GetWindowRect(static_cast<TWinControl*>(control)->Handle(), &r);
    MapWindowPoints(nullptr, GetParent(static_cast<TWinControl*>(control)->Handle()), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(TRect(r), c.After) << c.Control;
  }
}

TEST_F(ControlTest, HidingAnAlignedControlGivesItsSpaceBack) {
  Layout->Top1->Hide();
  EXPECT_EQ(Layout->Top2->Top(), 0);
  EXPECT_EQ(Layout->Left1->BoundsRect(), Bounds(0, 20, 60, 240));
  Layout->Top1->Show();
  EXPECT_EQ(Layout->Top2->Top(), 30);
  // Constraints hold against the alignment: the rest goes to the client.
  Layout->Left1->Constraints()->SetMaxWidth(40);
  EXPECT_EQ(Layout->Left1->Width(), 40);
  EXPECT_EQ(Layout->Client1->BoundsRect(), Bounds(40, 50, 310, 210));
}

TEST_F(ControlTest, ReparentingKeepsTheWindowAndItsContent) {
  auto* edit = new TTestEdit(Layout.get());
  edit->SetParent(Layout->Client1);
  HWND h = edit->Handle();
  SetWindowTextA(h, "saisi à la main"_a);
  SendMessageA(h, EM_SETMODIFY, TRUE, 0);
  edit->SetParent(Layout->Left1);
  EXPECT_EQ(edit->Handle(), h);
  EXPECT_EQ(GetParent(h), Layout->Left1->Handle());
  EXPECT_EQ(edit->Text(), "saisi à la main"_a);
  EXPECT_TRUE(SendMessageA(h, EM_GETMODIFY, 0, 0));
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(Layout->Client1->ControlCount(), 2);
  EXPECT_EQ(Layout->Left1->Controls(0), edit);
  // Without a parent the window goes; the text is kept for the next one.
  edit->SetParent(nullptr);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(edit->HandleAllocated());
  EXPECT_EQ(edit->Text(), "saisi à la main"_a);
  delete edit;
}

// Every message of every window looks up the window's control: the table is the program's own,
// so the lookup asks the wine server nothing (no window property), and it forgets a window when
// the window goes, whoever destroys it.
TEST_F(ControlTest, AWindowsControlIsFoundWithoutAWindowPropertyAndForgottenWithTheWindow) {
  auto* form = CreateForm<TTestLayout>(nullptr);
  HWND formHandle = form->Handle();
  HWND panelHandle = form->Client1->Handle();
  HWND buttonHandle = form->Corner->Handle();
  EXPECT_EQ(FindControl(formHandle), form);
  EXPECT_EQ(FindControl(panelHandle), form->Client1);
  EXPECT_EQ(FindControl(buttonHandle), form->Corner);
  EXPECT_EQ(GetPropA(panelHandle, "VelborControl"), nullptr);
  // The messages still reach the control through the table.
  SendMessageA(panelHandle, WM_SETTEXT, 0, LPARAM("par le tableau"));
  EXPECT_EQ(form->Client1->Caption(), "par le tableau");

  // Windows the library did not make find nothing.
  EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
  HWND plain = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, formHandle, nullptr, nullptr, nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(FindControl(plain), nullptr);

  // Destroyed by the system with their parent, the children's windows are forgotten too.
  DestroyWindow(formHandle);
  EXPECT_FALSE(IsWindow(panelHandle));
  EXPECT_EQ(FindControl(formHandle), nullptr);
  EXPECT_EQ(FindControl(panelHandle), nullptr);
  EXPECT_EQ(FindControl(buttonHandle), nullptr);
  EXPECT_FALSE(form->Client1->HandleAllocated());
  // A new window of the same control is found again.
  HWND again = form->Client1->Handle();
  EXPECT_EQ(FindControl(again), form->Client1);
  delete form;
  EXPECT_EQ(FindControl(again), nullptr);
}

TEST_F(ControlTest, PaintToDrawsTheControlIntoAnotherContext) {
  Layout->Top1->SetColor(clRed);
  Layout->Top1->SawPaintCopy = false;
  TOwnedBitmap bitmap(CreateCompatibleBitmap(TWindowDC(), 400, 30));
  TBitmapDC memory(bitmap);
  RECT all{0, 0, 400, 30};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  Layout->Top1->PaintTo(memory, 0, 0);
  EXPECT_EQ(GetPixel(memory, 5, 5), RGB(255, 0, 0));
  EXPECT_TRUE(Layout->Top1->SawPaintCopy);
  EXPECT_FALSE(Layout->Top1->ControlState.Contains(csPaintCopy));
}

// A child's Invalidate repaints the child alone; its parent hears of it without being repainted,
// except, under a transparent child, the part of the parent that shows through it.
TEST_F(ControlTest, AChildsInvalidateLeavesItsParentValid) {
  TTestPanel* Parent = Layout->Client1;
  auto* Child = new TTestPanel(Layout.get());
  Child->SetParent(Parent);
  Child->SetBounds(10, 10, 60, 30);
  RECT Update;
  auto Painted = [&] {
    return !GetUpdateRect(Parent->Handle(), &Update, FALSE) && !GetUpdateRect(Child->Handle(), &Update, FALSE) &&
           !GetUpdateRect(Layout->Handle(), &Update, FALSE);
  };
  ASSERT_TRUE(WaitFor("everything painted", Painted));
  int ParentPaints = Parent->PaintCount;
  int ChildPaints = Child->PaintCount;
  Child->Invalidate();
  EXPECT_TRUE(GetUpdateRect(Child->Handle(), &Update, FALSE));
  EXPECT_FALSE(GetUpdateRect(Parent->Handle(), &Update, FALSE)) << "the parent is left valid";
  EXPECT_FALSE(GetUpdateRect(Layout->Handle(), &Update, FALSE)) << "and so is the form";
  ASSERT_TRUE(WaitFor("the child repainted", [&] { return Child->PaintCount > ChildPaints && Painted(); }));
  EXPECT_EQ(Parent->PaintCount, ParentPaints);

  SetWindowLongA(Child->Handle(), GWL_EXSTYLE, GetWindowLongA(Child->Handle(), GWL_EXSTYLE) | WS_EX_TRANSPARENT);
  ASSERT_TRUE(WaitFor("everything painted", Painted));
  Child->Invalidate();
  ASSERT_TRUE(GetUpdateRect(Parent->Handle(), &Update, FALSE)) << "the parent shows through a transparent child";
  EXPECT_EQ(TRect(Update), Child->BoundsRect()) << "only the part under the child";
  EXPECT_FALSE(GetUpdateRect(Layout->Handle(), &Update, FALSE));
  ASSERT_TRUE(WaitFor("everything painted", Painted));
  delete Child;
}

TEST_F(ControlTest, FontAndColourComeFromTheParentUntilSet) {
  Layout->Client1->Font()->SetName("Arial");
  EXPECT_EQ(Layout->Corner->Font()->Name(), "Arial");
  EXPECT_TRUE(Layout->Corner->ParentFont());
  Layout->Corner->Font()->SetHeight(-20);
  EXPECT_FALSE(Layout->Corner->ParentFont());
  Layout->Client1->Font()->SetName("Courier New");
  EXPECT_EQ(Layout->Corner->Font()->Name(), "Arial");
  EXPECT_EQ(Layout->Stretch->Font()->Name(), "Courier New");
  // The window uses the control's font.
  EXPECT_EQ(HFONT(SendMessageA(Layout->Stretch->Handle(), WM_GETFONT, 0, 0)), Layout->Stretch->Font()->Handle());
  Layout->Client1->SetColor(clYellow);
  EXPECT_EQ(Layout->Corner->Color(), clYellow);
  EXPECT_EQ(Layout->Corner->Brush()->Color(), clYellow);
}

TEST_F(ControlTest, PopupMenuReferenceIsClearedWhenTheMenuGoes) {
  auto* menu = new TComponent(nullptr);
  Layout->Corner->SetPopupMenu(menu);
  EXPECT_EQ(Layout->Corner->PopupMenu(), menu);
  delete menu;
  EXPECT_EQ(Layout->Corner->PopupMenu(), nullptr);
}

TEST_F(ControlTest, BroadcastStopsAtTheFirstAnswer) {
  struct TAnswer : TObject {
    int Calls = 0;
    LRESULT Result = 0;
    TWndMethod Previous;
    void Hook(TMessage& Message) {
      if (Message.Msg == CM_SYSCOLORCHANGE + 0x100) {
        ++Calls;
        Message.Result = Result;
        return;
      }
      Previous(Message);
    }
  } first, second;
  first.Result = 1;
  first.Previous = Layout->Corner->WindowProc;
  second.Previous = Layout->Stretch->WindowProc;
  Layout->Corner->WindowProc = TWndMethod(&first, &TAnswer::Hook);
  Layout->Stretch->WindowProc = TWndMethod(&second, &TAnswer::Hook);
  TMessage m{CM_SYSCOLORCHANGE + 0x100, 0, 0, 0};
  Layout->Client1->Broadcast(m);
  EXPECT_EQ(m.Result, 1);
  EXPECT_EQ(first.Calls, 1);
  EXPECT_EQ(second.Calls, 0);
  Layout->Corner->WindowProc = first.Previous;
  Layout->Stretch->WindowProc = second.Previous;
}

TEST_F(ControlTest, ClientAndScreenCoordinates) {
  TPoint origin = Layout->Client1->ClientToScreen(TPoint(0, 0));
  POINT p{0, 0};
  ClientToScreen(Layout->Client1->Handle(), &p);
  EXPECT_EQ(origin, TPoint(p.x, p.y));
  EXPECT_EQ(Layout->Corner->ScreenToClient(Layout->Corner->ClientToScreen(TPoint(3, 4))), TPoint(3, 4));
  EXPECT_EQ(Layout->Client1->ControlAtPos(TPoint(205, 155), false, true), Layout->Corner);
  EXPECT_EQ(Layout->Client1->ControlAtPos(TPoint(5, 200), false, true), nullptr);
}

}  // namespace
