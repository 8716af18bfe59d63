// Tests of the window-message hook: real messages through the before handlers, the control's own
// procedure and the after handlers in order; handlers that consume a message; chains changed while
// a message runs through them; other WindowProc hooks chained around the record, removed in any
// order; a control destroyed while hooked; the releaser; the component and its description.
#include "Component.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "Filer.h"
#include "Forms.h"
#include "OxWindowHook.h"
#include "UiTestSupport.h"

namespace {

using TLog = std::vector<std::string>;

constexpr UINT WM_PROBE = WM_USER + 1;
constexpr UINT WM_SELFDESTRUCT = WM_USER + 2;

// A windowed control that logs the probe messages its own procedure receives, answers them with
// 7, and frees itself on WM_SELFDESTRUCT.
class TProbeControl : public TCustomControl {
 public:
  TProbeControl(TComponent* AOwner, TLog* ALog) : TCustomControl(AOwner), Log(ALog) {}
  TLog* Log;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_PROBE) {
      Log->push_back("own");
      Message.Result = 7;
      return;
    }
    if (Message.Msg == WM_SELFDESTRUCT) {
      Log->push_back("own destroys");
      delete this;
      return;
    }
    TCustomControl::WndProc(Message);
  }
};

// Handlers for the registry: each logs its name for probe messages and may act on the chains.
class THandlers : public TObject {
 public:
  explicit THandlers(TLog* ALog) : Log(ALog) {}
  TLog* Log;
  TControl* Control = nullptr;
  bool ConsumeInA = false;
  std::function<void()> InA;

  bool A(TMessage& M) { return Note("A", M, ConsumeInA, InA); }
  bool B(TMessage& M) { return Note("B", M, false, nullptr); }
  bool C(TMessage& M) { return Note("C", M, false, nullptr); }
  TOxHookMethod MA() { return TOxHookMethod(this, &THandlers::A); }
  TOxHookMethod MB() { return TOxHookMethod(this, &THandlers::B); }
  TOxHookMethod MC() { return TOxHookMethod(this, &THandlers::C); }

 private:
  bool Note(const char* Name, TMessage& M, bool Consume, const std::function<void()>& Action) {
    if (M.Msg != WM_PROBE && M.Msg != WM_SELFDESTRUCT) return false;
    Log->push_back(Name);
    if (Action) Action();
    if (Consume) M.Result = 42;
    return Consume;
  }
};

class OxWindowHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = CreateForm<TForm>(nullptr);
    Form->SetBounds(50, 50, 300, 200);
    Probe = new TProbeControl(Form, &Log);
    Probe->SetParent(Form);
    Probe->SetBounds(10, 10, 100, 50);
    Form->Show();
    Handlers = std::make_unique<THandlers>(&Log);
  }
  void TearDown() override {
    Form->Free();
    PumpPending();
  }
  LRESULT Send(UINT Msg) { return SendMessageA(Probe->Handle(), Msg, 0, 0); }
  TLog Run() {
    Log.clear();
    Send(WM_PROBE);
    return Log;
  }

  TLog Log;
  TForm* Form = nullptr;
  TProbeControl* Probe = nullptr;
  std::unique_ptr<THandlers> Handlers;
};

// --- Order and consumption ------------------------------------------------------------------------

TEST_F(OxWindowHookTest, BeforeHandlersThenTheControlThenAfterHandlers) {
  TOxWndProcHook* registry = HookRegistry();
  ASSERT_TRUE(registry->AttachHandler(Probe, hoAfterMsg, Handlers->MC()));
  ASSERT_TRUE(registry->AttachHandler(Probe, hoBeforeMsg, Handlers->MA()));
  ASSERT_TRUE(registry->AttachHandler(Probe, hoBeforeMsg, Handlers->MB()));
  Log.clear();
  EXPECT_EQ(Send(WM_PROBE), 7);  // the control's own answer comes back through the hook
  EXPECT_EQ(Log, (TLog{"A", "B", "own", "C"}));
  // The same handler twice runs twice; removing it takes the first entry only.
  registry->AttachHandler(Probe, hoBeforeMsg, Handlers->MA());
  EXPECT_EQ(Run(), (TLog{"A", "B", "A", "own", "C"}));
  registry->DetachHandler(Probe, hoBeforeMsg, Handlers->MA());
  EXPECT_EQ(Run(), (TLog{"B", "A", "own", "C"}));
  // Detaching a handler that was never attached changes nothing and is not refused.
  EXPECT_TRUE(registry->DetachHandler(Probe, hoAfterMsg, Handlers->MA()));
  EXPECT_EQ(Run(), (TLog{"B", "A", "own", "C"}));
  for (auto [order, hook] : {std::pair{hoBeforeMsg, Handlers->MA()}, {hoBeforeMsg, Handlers->MB()},
                             {hoAfterMsg, Handlers->MC()}})
    registry->DetachHandler(Probe, order, hook);
  EXPECT_FALSE(registry->FindRecord(Probe)->Installed());
  EXPECT_EQ(Run(), (TLog{"own"}));
}

TEST_F(OxWindowHookTest, RefusedRegistrations) {
  TOxWndProcHook* registry = HookRegistry();
  TProbeControl unhooked(nullptr, &Log);
  EXPECT_FALSE(registry->AttachHandler(nullptr, hoBeforeMsg, Handlers->MA()));
  EXPECT_FALSE(registry->AttachHandler(Probe, hoBeforeMsg, TOxHookMethod()));
  EXPECT_FALSE(registry->DetachHandler(nullptr, hoBeforeMsg, Handlers->MA()));
  EXPECT_FALSE(registry->DetachHandler(&unhooked, hoBeforeMsg, Handlers->MA()));  // no record
  EXPECT_EQ(registry->FindRecord(&unhooked), nullptr);
}

TEST_F(OxWindowHookTest, AHandlerThatConsumesTheMessageEndsIt) {
  HookRegistry()->AttachHandler(Probe, hoBeforeMsg, Handlers->MA());
  HookRegistry()->AttachHandler(Probe, hoBeforeMsg, Handlers->MB());
  HookRegistry()->AttachHandler(Probe, hoAfterMsg, Handlers->MC());
  Handlers->ConsumeInA = true;
  Log.clear();
  EXPECT_EQ(Send(WM_PROBE), 42);
  EXPECT_EQ(Log, (TLog{"A"}));
  // Consumed by an after handler: the control has answered, the later after handlers do not run.
  HookRegistry()->DetachHandler(Probe, hoBeforeMsg, Handlers->MA());
  HookRegistry()->AttachHandler(Probe, hoAfterMsg, Handlers->MA());
  HookRegistry()->AttachHandler(Probe, hoAfterMsg, Handlers->MB());
  HookRegistry()->DetachHandler(Probe, hoAfterMsg, Handlers->MC());
  Log.clear();
  EXPECT_EQ(Send(WM_PROBE), 42);
  EXPECT_EQ(Log, (TLog{"B", "own", "A"}));
}

// --- Chains changed during a dispatch -------------------------------------------------------------

TEST_F(OxWindowHookTest, ChainsChangedByARunningHandler) {
  struct Case {
    const char* Name;
    std::function<void(THandlers*, TControl*)> InA;
    TLog First;   // the dispatch during which A acts
    TLog Second;  // the next one
  };
  const Case cases[] = {
      {"A removes the next handler", [](THandlers* h, TControl* c) { HookRegistry()->DetachHandler(c, hoBeforeMsg, h->MB()); },
       {"A", "C", "own"}, {"A", "C", "own"}},
      {"A removes itself", [](THandlers* h, TControl* c) { HookRegistry()->DetachHandler(c, hoBeforeMsg, h->MA()); },
       {"A", "B", "C", "own"}, {"B", "C", "own"}},
      {"A appends a handler", [](THandlers* h, TControl* c) { HookRegistry()->AttachHandler(c, hoBeforeMsg, h->MB()); },
       {"A", "B", "C", "B", "own"}, {"A", "B", "C", "B", "own"}},
      {"A removes every handler", [](THandlers* h, TControl* c) {
         HookRegistry()->DetachHandler(c, hoBeforeMsg, h->MA());
         HookRegistry()->DetachHandler(c, hoBeforeMsg, h->MB());
         HookRegistry()->DetachHandler(c, hoBeforeMsg, h->MC());
       },
       {"A", "own"}, {"own"}},
  };
  for (const Case& c : cases) {
    THandlers handlers(&Log);
    bool once = true;
    handlers.InA = [&] {
      if (once) c.InA(&handlers, Probe);
      once = false;
    };
    HookRegistry()->AttachHandler(Probe, hoBeforeMsg, handlers.MA());
    HookRegistry()->AttachHandler(Probe, hoBeforeMsg, handlers.MB());
    HookRegistry()->AttachHandler(Probe, hoBeforeMsg, handlers.MC());
    EXPECT_EQ(Run(), c.First) << c.Name;
    EXPECT_EQ(Run(), c.Second) << c.Name;
    // Whatever is left goes before the next case.
    for (int i = 0; i < 4; ++i)
      for (const TOxHookMethod& m : {handlers.MA(), handlers.MB(), handlers.MC()})
        HookRegistry()->DetachHandler(Probe, hoBeforeMsg, m);
    EXPECT_EQ(Run(), (TLog{"own"})) << c.Name;
  }
}

TEST_F(OxWindowHookTest, NestedMessagesWalkTheChainsWithTheirOwnPlace) {
  // A sends the probe again once; the inner dispatch's A removes B, and the outer dispatch, which
  // was about to call B, skips it as well.
  int depth = 0;
  Handlers->InA = [&] {
    if (depth++ > 0) {
      HookRegistry()->DetachHandler(Probe, hoBeforeMsg, Handlers->MB());
      return;
    }
    Log.push_back("inner:");
    Send(WM_PROBE);
    Log.push_back(":inner");
  };
  HookRegistry()->AttachHandler(Probe, hoBeforeMsg, Handlers->MA());
  HookRegistry()->AttachHandler(Probe, hoBeforeMsg, Handlers->MB());
  HookRegistry()->AttachHandler(Probe, hoAfterMsg, Handlers->MC());
  EXPECT_EQ(Run(), (TLog{"A", "inner:", "A", "own", "C", ":inner", "own", "C"}));
  EXPECT_EQ(HookRegistry()->FindRecord(Probe)->Depth(), 0);
}

// --- Other hooks in the WindowProc chain ---------------------------------------------------------

// A hook of another kind that chains itself in front of the control's WindowProc.
class TForeignHook : public TObject {
 public:
  TForeignHook(TControl* Control, TLog* ALog) : FControl(Control), FLog(ALog) {
    FPrevious = Control->WindowProc;
    Control->WindowProc = TWndMethod(this, &TForeignHook::Hook);
  }
  // Leaves the chain; only possible while it is on top.
  void Remove() {
    ASSERT_TRUE(FControl->WindowProc == TWndMethod(this, &TForeignHook::Hook));
    FControl->WindowProc = FPrevious;
  }

 private:
  void Hook(TMessage& Message) {
    if (Message.Msg == WM_PROBE) FLog->push_back("foreign");
    FPrevious(Message);
  }
  TControl* FControl;
  TLog* FLog;
  TWndMethod FPrevious;
};

TEST_F(OxWindowHookTest, HooksRemovedInAnyOrderLeaveTheChainIntact) {
  enum Step { RecordOn, RecordOff, ForeignOn, ForeignOff };
  struct Case {
    const char* Name;
    std::vector<Step> Steps;
    std::vector<TLog> Seen;  // after each step
  };
  const Case cases[] = {
      {"record first, removed first",
       {RecordOn, ForeignOn, RecordOff, ForeignOff},
       {{"A", "own"}, {"foreign", "A", "own"}, {"foreign", "own"}, {"own"}}},
      {"record first, removed last",
       {RecordOn, ForeignOn, ForeignOff, RecordOff},
       {{"A", "own"}, {"foreign", "A", "own"}, {"A", "own"}, {"own"}}},
      {"foreign first",
       {ForeignOn, RecordOn, RecordOff, ForeignOff},
       {{"foreign", "own"}, {"A", "foreign", "own"}, {"foreign", "own"}, {"own"}}},
      {"record left and taken again under the foreign hook",
       {RecordOn, ForeignOn, RecordOff, RecordOn, ForeignOff, RecordOff},
       {{"A", "own"}, {"foreign", "A", "own"}, {"foreign", "own"}, {"foreign", "A", "own"}, {"A", "own"}, {"own"}}},
  };
  for (const Case& c : cases) {
    TWndMethod original = Probe->WindowProc;
    std::unique_ptr<TForeignHook> foreign;
    for (std::size_t i = 0; i < c.Steps.size(); ++i) {
      switch (c.Steps[i]) {
        case RecordOn: HookRegistry()->AttachHandler(Probe, hoBeforeMsg, Handlers->MA()); break;
        case RecordOff: HookRegistry()->DetachHandler(Probe, hoBeforeMsg, Handlers->MA()); break;
        case ForeignOn: foreign = std::make_unique<TForeignHook>(Probe, &Log); break;
        case ForeignOff: foreign->Remove(); break;
      }
      EXPECT_EQ(Run(), c.Seen[i]) << c.Name << ", step " << i;
    }
    EXPECT_TRUE(Probe->WindowProc == original) << c.Name;
  }
}

// --- Destruction ---------------------------------------------------------------------------------

TEST_F(OxWindowHookTest, AControlDestroyedByAMessageEndsTheDispatch) {
  HookRegistry()->AttachHandler(Probe, hoBeforeMsg, Handlers->MA());
  HookRegistry()->AttachHandler(Probe, hoAfterMsg, Handlers->MB());
  TOxWindowHook hook(nullptr);
  hook.SetControl(Probe);
  TOxHookInfos* record = HookRegistry()->FindRecord(Probe);
  ASSERT_NE(record, nullptr);
  HWND handle = Probe->Handle();
  Log.clear();
  SendMessageA(handle, WM_SELFDESTRUCT, 0, 0);
  EXPECT_EQ(Log, (TLog{"A", "own destroys"}));
  EXPECT_EQ(HookRegistry()->FindRecord(Probe), nullptr);
  EXPECT_EQ(hook.Control(), nullptr);
  // The record waits for the release message; asking twice frees it once.
  EXPECT_TRUE(record->ControlDestroyed());
  EXPECT_TRUE(TOxReleaser::Shared()->IsPending(record));
  TOxReleaser::Shared()->FreeLater(record);
  PumpPending();
  EXPECT_FALSE(TOxReleaser::Shared()->IsPending(record));
  Probe = nullptr;
}

TEST_F(OxWindowHookTest, ARecordIsNotFreedUnderADispatchThatRunsAMessageLoop) {
  // A destroys the control, then handles messages (as a message box would) before returning:
  // the release message arrives while the dispatch is still on the stack.
  TOxHookInfos* record = nullptr;
  Handlers->InA = [&] {
    delete Probe;
    Probe = nullptr;
    PumpPending();
    EXPECT_EQ(record->Depth(), 1);
    EXPECT_FALSE(TOxReleaser::Shared()->IsPending(record));
  };
  HookRegistry()->AttachHandler(Probe, hoBeforeMsg, Handlers->MA());
  HookRegistry()->AttachHandler(Probe, hoBeforeMsg, Handlers->MB());
  record = HookRegistry()->FindRecord(Probe);
  Log.clear();
  SendMessageA(Probe->Handle(), WM_PROBE, 0, 0);
  EXPECT_EQ(Log, (TLog{"A"}));
  // Handed back to the releaser once the dispatch has returned.
  EXPECT_TRUE(TOxReleaser::Shared()->IsPending(record));
  PumpPending();
  EXPECT_FALSE(TOxReleaser::Shared()->IsPending(record));
}

TEST(OxReleaser, FreesEachObjectOnceWhenTheMessageArrives) {
  static int freed = 0;
  struct TCounted : TObject {
    ~TCounted() override { ++freed; }
  };
  freed = 0;
  auto* first = new TCounted;
  auto* second = new TCounted;
  TOxReleaser::Shared()->FreeLater(first);
  TOxReleaser::Shared()->FreeLater(second);
  TOxReleaser::Shared()->FreeLater(first);
  EXPECT_EQ(freed, 0);
  EXPECT_TRUE(TOxReleaser::Shared()->IsPending(first));
  PumpPending();
  EXPECT_EQ(freed, 2);
  EXPECT_FALSE(TOxReleaser::Shared()->IsPending(first));
}

// --- The component ----------------------------------------------------------------------------------

class THookEvents : public TObject {
 public:
  explicit THookEvents(TLog* ALog) : Log(ALog) {}
  TLog* Log;
  bool Consume = false;
  void Before(TObject* Sender, TMessage& Msg, bool& Handled) {
    if (Msg.Msg != WM_PROBE) return;
    Log->push_back("before " + static_cast<TComponent*>(Sender)->Name());
    Handled = Consume;
  }
  void After(TObject* Sender, TMessage& Msg, bool&) {
    if (Msg.Msg == WM_PROBE) Log->push_back("after " + static_cast<TComponent*>(Sender)->Name());
  }
  TOxHookMessageEvent EB() { return TOxHookMessageEvent(this, &THookEvents::Before); }
  TOxHookMessageEvent EA() { return TOxHookMessageEvent(this, &THookEvents::After); }
};

TEST_F(OxWindowHookTest, ComponentRegistersExactlyWhenActiveWithAControlAndAnEvent) {
  THookEvents events(&Log);
  TOxWindowHook* first = new TOxWindowHook(Form);
  first->SetName("Hook1");
  EXPECT_TRUE(first->Active());
  first->SetBeforeMessage(events.EB());  // active, but no control yet
  EXPECT_EQ(Run(), (TLog{"own"}));
  first->SetControl(Probe);
  EXPECT_EQ(Run(), (TLog{"before Hook1", "own"}));
  first->SetAfterMessage(events.EA());
  TOxWindowHook* second = new TOxWindowHook(Form);
  second->SetName("Hook2");
  second->SetBeforeMessage(events.EB());
  second->SetControl(Probe);
  // One record for both, handlers in the order they were registered.
  EXPECT_EQ(Run(), (TLog{"before Hook1", "before Hook2", "own", "after Hook1"}));
  first->SetActive(false);
  EXPECT_EQ(Run(), (TLog{"before Hook2", "own"}));
  first->SetActive(true);  // registered again: now after the second
  EXPECT_EQ(Run(), (TLog{"before Hook2", "before Hook1", "own", "after Hook1"}));
  // Replacing one assigned event by another registers nothing more.
  first->SetBeforeMessage(events.EA());
  EXPECT_EQ(Run(), (TLog{"before Hook2", "after Hook1", "own", "after Hook1"}));
  first->SetBeforeMessage(nullptr);
  events.Consume = true;
  Log.clear();
  EXPECT_EQ(Send(WM_PROBE), 0);  // consumed, nothing set the result
  EXPECT_EQ(Log, (TLog{"before Hook2"}));
  events.Consume = false;
  // Freeing a hook takes it off the control.
  delete second;
  EXPECT_EQ(Run(), (TLog{"own", "after Hook1"}));
  // A control being destroyed is not taken: the hook is left without control and inactive.
  TProbeControl* doomed = new TProbeControl(nullptr, &Log);
  {
    struct TDoomedSetter : TComponent {
      TOxWindowHook* Hook;
      TControl* Target;
      TDoomedSetter(TOxWindowHook* H, TControl* T) : TComponent(nullptr), Hook(H), Target(T) { T->FreeNotification(this); }
      void Notification(TComponent* C, TOperation Op) override {
        TComponent::Notification(C, Op);
        if (Op == opRemove && C == Target) Hook->SetControl(Target);
      }
    } setter(first, doomed);
    delete doomed;
  }
  EXPECT_EQ(first->Control(), nullptr);
  EXPECT_FALSE(first->Active());
}

// A hook that nobody owns lets go of its control when any component it hears of goes away; one
// owned by the form keeps it.
TEST_F(OxWindowHookTest, AHookWithoutOwnerLetsGoOfItsControlOnAnyRemoval) {
  THookEvents events(&Log);
  std::unique_ptr<TOxWindowHook> loose(new TOxWindowHook(nullptr));
  TOxWindowHook* owned = new TOxWindowHook(Form);
  loose->SetName("Loose");
  owned->SetName("Owned");
  for (TOxWindowHook* hook : {loose.get(), owned}) {
    hook->SetBeforeMessage(events.EB());
    hook->SetControl(Probe);
  }
  EXPECT_EQ(Run(), (TLog{"before Loose", "before Owned", "own"}));
  {
    TComponent other(nullptr);
    other.FreeNotification(loose.get());
    other.FreeNotification(owned);
  }
  EXPECT_EQ(loose->Control(), nullptr);
  EXPECT_EQ(owned->Control(), Probe);
  EXPECT_EQ(Run(), (TLog{"before Owned", "own"}));
}

class THookForm : public TForm {
  VELBOR_DECLARE_CLASS(THookForm, TForm)
 public:
  explicit THookForm(TComponent* AOwner) : TForm(AOwner, true) {}
  TLog Log;
  void PanelBefore(TObject*, TMessage& Msg, bool&) {
    if (Msg.Msg == WM_PROBE) Log.push_back("panel");
  }
  void FormBefore(TObject*, TMessage& Msg, bool&) {
    if (Msg.Msg == WM_PROBE) Log.push_back("form");
  }
};
VELBOR_IMPLEMENT_CLASS(THookForm)
VELBOR_HANDLERS(THookForm, VELBOR_HANDLER(PanelBefore), VELBOR_HANDLER(FormBefore))

const char* const kHookForm =
    "object HookForm: THookForm\n"
    "  object Panel1: TPanel\n"
    "    Left = 8\n"
    "    Top = 8\n"
    "  end\n"
    "  object HookPanel: TOxWindowHook\n"
    "    Active = False\n"
    "    Control = Panel1\n"
    "    BeforeMessage = PanelBefore\n"
    "  end\n"
    "  object FormHook: TOxWindowHook\n"
    "    BeforeMessage = FormBefore\n"
    "    IsForm = True\n"
    "  end\n"
    "end\n";

TEST(OxWindowHookForm, DescriptionReadAndWrittenBack) {
  RegisterOxWindowHook();
  RegisterClass(TPanel::StaticClass());
  THookForm* form = new THookForm(nullptr);
  struct Free {
    TForm* Form;
    ~Free() { Form->Free(); }
  } owner{form};
  ReadComponentFromText(form, kHookForm, "hooks");
  auto* panelHook = dynamic_cast<TOxWindowHook*>(form->FindComponent("HookPanel"));
  auto* formHook = dynamic_cast<TOxWindowHook*>(form->FindComponent("FormHook"));
  auto* panel = dynamic_cast<TControl*>(form->FindComponent("Panel1"));
  ASSERT_TRUE(panelHook && formHook && panel);
  EXPECT_EQ(panelHook->Control(), panel);
  EXPECT_FALSE(panelHook->Active());
  EXPECT_EQ(formHook->Control(), form);
  EXPECT_TRUE(formHook->Active());
  SendMessageA(form->Handle(), WM_PROBE, 0, 0);
  SendMessageA(static_cast<TWinControl*>(panel)->Handle(), WM_PROBE, 0, 0);
  EXPECT_EQ(form->Log, (TLog{"form"}));
  // Switched on from code, as the record window does.
  panelHook->SetActive(true);
  SendMessageA(static_cast<TWinControl*>(panel)->Handle(), WM_PROBE, 0, 0);
  EXPECT_EQ(form->Log, (TLog{"form", "panel"}));

  String text = WriteComponentToText(form);
  EXPECT_NE(text.find("Control = Panel1"), String::npos) << text;
  EXPECT_NE(text.find("IsForm = True"), String::npos) << text;
  EXPECT_EQ(text.find("Control = HookForm"), String::npos) << text;
  EXPECT_EQ(text.find("IsForm = False"), String::npos) << text;
  EXPECT_NE(text.find("BeforeMessage = FormBefore"), String::npos) << text;
}

}  // namespace
