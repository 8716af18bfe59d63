// Tests of the application, the screen, resources and timers.
#include <gtest/gtest.h>

#include <memory>

#include "FileUtils.h"
#include "TextOrder.h"
#include "Resources.h"
#include "Strings.h"
#include "TestForms.h"
#include "Timer.h"

namespace {

TEST(Resources, FormDescriptionsAreFoundByClassName) {
  EXPECT_TRUE(ResourceExists("TTESTDIALOG"));
  EXPECT_TRUE(ResourceExists("ttestdialog"));
  EXPECT_TRUE(HasFormResource(TTestLayout::StaticClass()));
  EXPECT_FALSE(HasFormResource(TForm::StaticClass()));
  std::string bytes = LoadResourceBytes("TTESTLAYOUT");
  EXPECT_EQ(bytes.rfind("object TestLayout: TTestLayout", 0), 0u);
  TResourceStream stream(MainInstance(), "TTESTLAYOUT", RT_RCDATA);
  EXPECT_EQ(stream.Size(), std::int64_t(bytes.size()));
  EXPECT_THROW(LoadResourceBytes("TNOSUCHFORM"), EResNotFound);
  EXPECT_THROW(TResourceStream(MainInstance(), "TNOSUCHFORM", RT_RCDATA), EResNotFound);
}

TEST(Application, TitleDefaultsToTheProgramName) {
  EXPECT_TRUE(SameText(ExtractFileName(Application->ExeName()), "ui_tests.exe"));
  EXPECT_EQ(Application->Title(), "ui_tests");
  EXPECT_NE(Application->Handle(), nullptr);
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  Application->SetTitle("Inventaire");
  char text[32];
  GetWindowTextA(Application->Handle(), text, sizeof(text));
  EXPECT_EQ(String(text), "Inventaire");
  Application->SetTitle("ui_tests");
}

TEST(Application, HandleExceptionOutsideAnyWindow) {
  TModalScript script;
  try {
    throw EDatabaseError("Table absente");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  try {
    throw std::runtime_error("natif");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  ASSERT_EQ(script.Asked.size(), 2u);
  EXPECT_EQ(script.Asked[0].Text, "Table absente.");
  EXPECT_EQ(script.Asked[1].Text, "natif.");
}

TEST(Application, IdleRunsOnIdleAndTheActionUpdatesOfVisibleForms) {
  struct TCounter : TObject {
    int Idle = 0;
    void OnIdle(TObject*, bool& Done) {
      ++Idle;
      Done = true;
    }
  } counter;
  static int updates = 0;
  static TCustomForm* updated = nullptr;
  updates = 0;
  FormHooks.UpdateActions = [](TCustomForm* Form) {
    ++updates;
    updated = Form;
  };
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  f->Show();
  Application->OnIdle = TIdleEvent(&counter, &TCounter::OnIdle);
  // HandleMessage goes idle when the queue is empty, then waits for the next message: a thread
  // timer wakes it.
  PumpPending();
  UINT_PTR wake = SetTimer(nullptr, 0, 30, nullptr);
  for (int i = 0; i < 20 && counter.Idle == 0; ++i) Application->HandleMessage();
  KillTimer(nullptr, wake);
  Application->OnIdle = nullptr;
  FormHooks.UpdateActions = nullptr;
  EXPECT_GE(counter.Idle, 1);
  EXPECT_GE(updates, 1);
  EXPECT_NE(updated, nullptr);
}

TEST(Screen, CursorsStandardAndRegistered) {
  EXPECT_EQ(Screen->Cursors(crHourGlass), LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(Screen->Cursors(crIBeam), LoadCursorA(nullptr, IDC_IBEAM));
  EXPECT_EQ(Screen->Cursors(crHandPoint), LoadCursorA(nullptr, IDC_HAND));
  HCURSOR own = CopyCursor(LoadCursorA(nullptr, IDC_CROSS));
  Screen->SetCursors(5, own);
  EXPECT_EQ(Screen->Cursors(5), own);
  Screen->SetCursors(5, nullptr);
  EXPECT_EQ(Screen->Cursors(5), LoadCursorA(nullptr, IDC_ARROW));
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  Screen->SetCursor(crDefault);
}

TEST(Screen, DesktopFontsAndMetrics) {
  EXPECT_EQ(Screen->Width(), GetSystemMetrics(SM_CXSCREEN));
  TRect area = Screen->WorkAreaRect();
  EXPECT_GT(area.Width(), 0);
  EXPECT_LE(area.Width(), Screen->Width());
  EXPECT_GT(Screen->PixelsPerInch(), 0);
  EXPECT_GT(Screen->Fonts()->Count(), 0);
  EXPECT_FALSE(Screen->HintFont()->Name().empty());
  EXPECT_FALSE(Screen->MenuFont()->Name().empty());
}

TEST(Timer, FiresWhileEnabledAndStopsWhenDisabled) {
  struct TTicks : TObject {
    int Count = 0;
    void Tick(TObject*) { ++Count; }
  } ticks;
  TTimer timer(nullptr);
  timer.SetInterval(20);
  timer.SetOnTimer(TNotifyEvent(&ticks, &TTicks::Tick));
  EXPECT_TRUE(WaitFor("two ticks of the timer", [&] { return ticks.Count >= 2; }));
  timer.SetEnabled(false);
  PumpPending();
  int stopped = ticks.Count;
  // Nothing must happen: seven intervals from the moment the timer was stopped and the queue empty.
  PumpFor(150);
  EXPECT_EQ(ticks.Count, stopped);
}

TEST(Timer, ExceptionInOnTimerGoesToTheApplication) {
  struct TFailing : TObject {
    TTimer* Timer = nullptr;
    void Tick(TObject*) {
      Timer->SetEnabled(false);
      throw Exception("minuterie");
    }
  } failing;
  TModalScript script;
  TTimer timer(nullptr);
  failing.Timer = &timer;
  timer.SetInterval(10);
  timer.SetOnTimer(TNotifyEvent(&failing, &TFailing::Tick));
  ASSERT_TRUE(WaitFor("the exception to be shown", [&] { return !script.Asked.empty(); }));
  // The handler stopped the timer before it threw: no second tick.
  PumpFor(50);
  ASSERT_EQ(script.Asked.size(), 1u);
  EXPECT_EQ(script.Asked[0].Text, "minuterie.");
}

}  // namespace
