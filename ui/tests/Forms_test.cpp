// Tests of forms on the virtual desktop: building from a description, focus and Tab navigation,
// activation, modal results, MDI children, exceptions raised in handlers, and a form with nested
// controls written to a description and read back.
#include "Component.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "ExtCtrls.h"
#include "Filer.h"
#include "Format.h"
#include "ImageList.h"
#include "StdCtrls.h"
#include "TestForms.h"

namespace {

// Every test runs with a modal script in place, so that a message box nobody expected is recorded
// instead of waiting for a user.
class TUiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    RegisterTestClasses();
    Application->Initialize();
  }
};
const auto* const UiEnvironment = ::testing::AddGlobalTestEnvironment(new TUiEnvironment);

class FormTest : public ::testing::Test {
 protected:
  void TearDown() override {
    PumpPending();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  TModalScript Script;
};

TEST_F(FormTest, IsBuiltFromItsDescription) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  EXPECT_EQ(f->Created, 1);
  ASSERT_NE(f->Edit1, nullptr);
  ASSERT_NE(f->Edit2, nullptr);
  ASSERT_NE(f->Edit3, nullptr);
  ASSERT_NE(f->OkButton, nullptr);
  EXPECT_EQ(f->Caption(), "Fiche d'essai é"_a);
  EXPECT_EQ(f->OkButton->Parent(), f.get());
  EXPECT_TRUE(f->OkButton->Default);
  EXPECT_EQ(f->CancelButton->ModalResult, mrCancel);
  EXPECT_EQ(f->ActiveControl(), f->Edit1);
  // Edit3 is described before Edit2; the Tab order follows TabOrder, not the reading order.
  EXPECT_EQ(f->Edit1->TabOrder(), 0);
  EXPECT_EQ(f->Edit2->TabOrder(), 1);
  EXPECT_EQ(f->Edit3->TabOrder(), 2);

  HWND h = f->Handle();
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 260);
  EXPECT_EQ(client.bottom, 120);
  char text[64];
  GetWindowTextA(h, text, sizeof(text));
  EXPECT_EQ(String(text), "Fiche d'essai é"_a);
  EXPECT_EQ(GetParent(f->Edit1->Handle()), h);
  EXPECT_EQ(f->Edit3->Text(), "trois");
  // What the user types in the native edit is the control's text.
  SetWindowTextA(f->Edit2->Handle(), "modifié"_a);
  EXPECT_EQ(f->Edit2->Text(), "modifié"_a);
}

TEST_F(FormTest, TabAndShiftTabMoveTheFocusInTabOrder) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  f->Show();
  Activate(f.get());
  EXPECT_EQ(f->Shown, 1);
  ASSERT_EQ(GetFocus(), f->Edit1->Handle());
  EXPECT_TRUE(f->Active());
  EXPECT_EQ(Screen->ActiveForm(), f.get());
  EXPECT_EQ(Screen->ActiveControl(), f->Edit1);
  f->FocusLog.clear();

  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), f->Edit2->Handle());
  {
    // The key reaches the focused edit as a reflected key-down, which asks the control before the
    // form moves the focus.
    TMessageRecorder recorder(f->Edit2, {CN_KEYDOWN, CM_CHILDKEY, CM_WANTSPECIALKEY, CM_EXIT, WM_KEYDOWN});
    Press(VK_TAB);
    EXPECT_EQ(recorder.Seen, (std::vector<UINT>{CN_KEYDOWN, CM_CHILDKEY, CM_WANTSPECIALKEY, CM_EXIT}));
  }
  EXPECT_EQ(GetFocus(), f->Edit3->Handle());
  Press(VK_TAB, true);
  EXPECT_EQ(GetFocus(), f->Edit2->Handle());
  EXPECT_EQ(f->ActiveControl(), f->Edit2);
  EXPECT_EQ(Screen->ActiveControl(), f->Edit2);
  EXPECT_EQ(f->FocusLog, (std::vector<String>{"exit Edit1", "enter Edit2", "exit Edit2", "enter Edit3", "exit Edit3",
                                               "enter Edit2"}));
  // An edit takes the arrow keys itself: the focus stays.
  Press(VK_DOWN);
  EXPECT_EQ(GetFocus(), f->Edit2->Handle());
}

TEST_F(FormTest, SetFocusAndHidingTheFocusedControl) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  f->Show();
  Activate(f.get());
  f->Edit3->SetFocus();
  EXPECT_TRUE(f->Edit3->Focused());
  EXPECT_EQ(f->ActiveControl(), f->Edit3);
  // A hidden or disabled control cannot take the focus.
  f->Edit2->SetEnabled(false);
  EXPECT_FALSE(f->Edit2->CanFocus());
  EXPECT_THROW(f->SetActiveControl(f->Edit2), EInvalidOperation);
  // Hiding the focused control gives the focus back to its form.
  f->Edit3->Hide();
  EXPECT_EQ(f->ActiveControl(), nullptr);
  EXPECT_FALSE(IsWindowVisible(f->Edit3->Handle()));
}

TEST_F(FormTest, ActivationMovesBetweenForms) {
  TFormPtr<TTestDialog> a(CreateForm<TTestDialog>(nullptr));
  TFormPtr<TTestDialog> b(CreateForm<TTestDialog>(nullptr));
  // A second live instance keeps its class's name with a suffix.
  EXPECT_NE(a->Name(), b->Name());
  for (TTestDialog* f : {a.get(), b.get()}) {
    f->OnActivate = TNotifyEvent(f, &TTestDialog::FormActivate);
    f->OnDeactivate = TNotifyEvent(f, &TTestDialog::FormDeactivate);
  }
  a->Show();
  Activate(a.get());
  EXPECT_EQ(a->Activations, 1);
  b->Show();
  Activate(b.get());
  EXPECT_TRUE(b->Active());
  EXPECT_FALSE(a->Active());
  EXPECT_EQ(a->Deactivations, 1);
  EXPECT_EQ(b->Activations, 1);
  EXPECT_EQ(Screen->ActiveForm(), b.get());
  EXPECT_EQ(Screen->Forms(0), b.get());
  EXPECT_EQ(GetFocus(), b->Edit1->Handle());
  Activate(a.get());
  EXPECT_EQ(a->Activations, 2);
  EXPECT_EQ(Screen->Forms(0), a.get());
  EXPECT_EQ(GetFocus(), a->Edit1->Handle());
}

TEST_F(FormTest, LiveFormsAreListedByTheScreen) {
  int before = Screen->FormCount();
  auto* f = CreateForm<TTestDialog>(nullptr);
  EXPECT_EQ(Screen->FormCount(), before + 1);
  bool listed = false;
  for (int i = 0; i < Screen->FormCount(); ++i) listed = listed || Screen->Forms(i) == f;
  EXPECT_TRUE(listed);
  f->Free();
  EXPECT_EQ(Screen->FormCount(), before);
  EXPECT_THROW(Screen->Forms(Screen->FormCount()), EListError);
}

struct ModalCase {
  const char* Name;
  void (*Act)(TTestDialog* Form);
  TModalResult Expected;
};

const ModalCase ModalCases[] = {
    {"Escape presses the cancel button", [](TTestDialog*) { PressKey(VK_ESCAPE); }, mrCancel},
    {"Return presses the default button", [](TTestDialog*) { PressKey(VK_RETURN); }, mrOk},
    {"a click on OK", [](TTestDialog* f) { ClickAt(f->OkButton->ClientToScreen(TPoint(10, 10))); }, mrOk},
    {"a result set by code", [](TTestDialog* f) { f->SetModalResult(mrNo); }, mrNo},
    {"closing the form", [](TTestDialog* f) { f->Close(); }, mrCancel},
};

class ModalTest : public FormTest, public ::testing::WithParamInterface<ModalCase> {};

TEST_P(ModalTest, EndsWithTheResultOfWhatEndedIt) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  TTestDialog* form = f.get();
  const ModalCase& c = GetParam();
  Later([form, &c] {
    Activate(form);
    c.Act(form);
  });
  TModalResult result = f->ShowModal();
  EXPECT_EQ(result, c.Expected);
  EXPECT_FALSE(f->Visible());
  EXPECT_FALSE(IsWindowVisible(f->Handle()));
  EXPECT_FALSE(f->FormState().Contains(fsModal));
}

INSTANTIATE_TEST_SUITE_P(Forms, ModalTest, ::testing::ValuesIn(ModalCases),
                         [](const ::testing::TestParamInfo<ModalCase>& Info) { return "Case" + std::to_string(Info.index); });

TEST_F(FormTest, ModalFormDisablesTheOthersAndRefusesWhenVisible) {
  TFormPtr<TTestDialog> owner(CreateForm<TTestDialog>(nullptr));
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  owner->Show();
  Activate(owner.get());
  bool ownerEnabledDuringModal = true;
  TTestDialog* form = f.get();
  TTestDialog* other = owner.get();
  Later([&ownerEnabledDuringModal, form, other] {
    ownerEnabledDuringModal = IsWindowEnabled(other->Handle()) != 0;
    form->SetModalResult(mrOk);
  });
  EXPECT_EQ(f->ShowModal(), mrOk);
  EXPECT_FALSE(ownerEnabledDuringModal);
  EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
  // A visible form cannot become modal.
  EXPECT_THROW(owner->ShowModal(), EInvalidOperation);
}

TEST_F(FormTest, CloseQueryCanRefuseAndCloseActionsApply) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  struct TVeto : TObject {
    bool Allow = false;
    TCloseAction Action = caHide;
    void Query(TObject*, bool& CanClose) { CanClose = Allow; }
    void Close(TObject*, TCloseAction& A) { A = Action; }
  } veto;
  f->OnCloseQuery = TEvent<void(TObject*, bool&)>(&veto, &TVeto::Query);
  f->OnClose = TCloseEvent(&veto, &TVeto::Close);
  f->Show();
  f->Close();
  EXPECT_TRUE(f->Visible());
  veto.Allow = true;
  veto.Action = caNone;
  f->Close();
  EXPECT_TRUE(f->Visible());
  veto.Action = caHide;
  f->Close();
  EXPECT_FALSE(f->Visible());
  // caFree releases the form after the message that closed it.
  TTestDialog* released = f.release();
  bool gone = true;
  veto.Action = caFree;
  released->Show();
  int before = Screen->FormCount();
  released->Close();
  EXPECT_EQ(Screen->FormCount(), before);
  PumpPending();
  EXPECT_EQ(Screen->FormCount(), before - 1);
  for (int i = 0; i < Screen->FormCount(); ++i) gone = gone && Screen->Forms(i) != released;
  EXPECT_TRUE(gone);
}

struct RaisedCase {
  const char* Name;
  void (*Raise)();
  int Questions;
  const char* Text;
};

const RaisedCase RaisedCases[] = {
    {"an error", [] { throw EConvertError("Valeur refusée"_a); }, 1, "Valeur refusée."},
    {"an error ending with a dot", [] { throw Exception("Fin."); }, 1, "Fin."},
    {"Abort", [] { Abort(); }, 0, ""},
};

class RaisedInHandler : public TObject {
 public:
  explicit RaisedInHandler(void (*R)()) : Raise(R) {}
  void Click(TObject*) { Raise(); }
  void Report(TObject* Sender, Exception* E) {
    Reported = E->Message;
    ReportedSender = Sender;
  }
  void (*Raise)();
  String Reported;
  TObject* ReportedSender = nullptr;
};

class HandlerExceptionTest : public FormTest, public ::testing::WithParamInterface<RaisedCase> {};

TEST_P(HandlerExceptionTest, ReachesTheApplicationNotTheCaller) {
  const RaisedCase& c = GetParam();
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  RaisedInHandler handler(c.Raise);
  f->OkButton->OnClick = TNotifyEvent(&handler, &RaisedInHandler::Click);
  f->Show();
  // The click comes back from the native button as a notification to the form, reflected to
  // the button; the exception leaves through the window procedure.
  EXPECT_NO_THROW(SendMessageA(f->OkButton->Handle(), BM_CLICK, 0, 0));
  ASSERT_EQ(int(Script.Asked.size()), c.Questions);
  if (c.Questions) {
    EXPECT_EQ(Script.Asked[0].Kind, TModalKind::MessageBox);
    EXPECT_EQ(Script.Asked[0].Text, Utf8ToAnsi(c.Text));
    EXPECT_EQ(Script.Asked[0].Caption, Application->Title());
    EXPECT_EQ(Script.Asked[0].Flags, unsigned(MB_OK | MB_ICONSTOP));
    Script.Unexpected.clear();
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, HandlerExceptionTest, ::testing::ValuesIn(RaisedCases),
                         [](const ::testing::TestParamInfo<RaisedCase>& Info) { return "Case" + std::to_string(Info.index); });

TEST_F(FormTest, OnExceptionReplacesTheMessageBox) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  RaisedInHandler handler([] { throw EConvertError("x"); });
  f->OkButton->OnClick = TNotifyEvent(&handler, &RaisedInHandler::Click);
  Application->OnException = TExceptionEvent(&handler, &RaisedInHandler::Report);
  f->Show();
  SendMessageA(f->OkButton->Handle(), BM_CLICK, 0, 0);
  Application->OnException = nullptr;
  EXPECT_EQ(handler.Reported, "x");
  EXPECT_EQ(handler.ReportedSender, f.get());
  EXPECT_TRUE(Script.Asked.empty());
}

TEST_F(FormTest, MDIChildrenAreCreatedActivatedArrangedAndFreed) {
  TTestFrameForm* frame = nullptr;
  Application->CreateForm(frame);
  ASSERT_EQ(Application->MainForm(), frame);
  ASSERT_NE(frame->ClientHandle(), nullptr);
  frame->Show();
  Activate(frame);
  TTestChildForm::Destroyed = 0;
  auto* c1 = CreateForm<TTestChildForm>(Application);
  auto* c2 = CreateForm<TTestChildForm>(Application);
  EXPECT_TRUE(WaitFor("the second child's edit to have the focus",
                      [&] { return GetFocus() == c2->ChildEdit->Handle(); }));
  EXPECT_TRUE(c1->Visible());
  EXPECT_EQ(GetParent(c1->Handle()), frame->ClientHandle());
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->ActiveMDIChild(), c2);
  EXPECT_EQ(frame->MDIChildren(0), c2);
  EXPECT_EQ(GetFocus(), c2->ChildEdit->Handle()) << "DEBUG " << (FindControl(GetFocus()) ? FindControl(GetFocus())->Name() : String("?")) << " fg=" << (FindControl(GetForegroundWindow()) ? FindControl(GetForegroundWindow())->Name() : String("?")) << " client=" << (GetFocus() == frame->ClientHandle()) << " ac=" << (c2->ActiveControl() ? c2->ActiveControl()->Name() : String("none")) << " active=" << c2->Active();

  frame->Next();
  EXPECT_TRUE(WaitFor("the first child's edit to have the focus",
                      [&] { return GetFocus() == c1->ChildEdit->Handle(); }));
  EXPECT_EQ(frame->ActiveMDIChild(), c1);
  EXPECT_EQ(GetFocus(), c1->ChildEdit->Handle());
  EXPECT_EQ(Screen->ActiveForm(), c1);

  frame->Cascade();
  PumpPending();
  RECT r1, r2;
  GetWindowRect(c1->Handle(), &r1);
  GetWindowRect(c2->Handle(), &r2);
  EXPECT_NE(r1.left, r2.left);
  EXPECT_NE(r1.top, r2.top);
  EXPECT_EQ(c1->Left(), int(r1.left - [&] {
              POINT p{0, 0};
              ClientToScreen(frame->ClientHandle(), &p);
              return p.x;
            }()));

  // Closing with caFree frees the child once the close is over.
  c1->Close();
  EXPECT_EQ(TTestChildForm::Destroyed, 0);
  PumpPending();
  EXPECT_EQ(TTestChildForm::Destroyed, 1);
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->ActiveMDIChild(), c2);
  // An MDI child cannot be hidden.
  EXPECT_THROW(c2->Hide(), EInvalidOperation);

  c2->Free();
  EXPECT_EQ(TTestChildForm::Destroyed, 2);
  EXPECT_EQ(frame->MDIChildCount(), 0);
  frame->Free();
  EXPECT_EQ(Application->MainForm(), nullptr);
}

// Where an MDI frame's client window stood, in its parent's coordinates, each time it was moved or
// sized and each time it erased its background, recorded by a procedure put in front of its own.
struct TClientPlaces {
  static inline WNDPROC Previous = nullptr;
  static inline std::vector<TRect> Moved, Erased;
  static TRect Place(HWND Wnd) {
    RECT r;
    GetWindowRect(Wnd, &r);
    MapWindowPoints(nullptr, GetParent(Wnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static LRESULT CALLBACK Record(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_WINDOWPOSCHANGED) {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(LParam);
      if ((pos->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) Moved.push_back(Place(Wnd));
    } else if (Msg == WM_ERASEBKGND) {
      Erased.push_back(Place(Wnd));
    }
    return CallWindowProcA(Previous, Wnd, Msg, WParam, LParam);
  }
};

String PlacesBelow(const std::vector<TRect>& Places, int Top) {
  String out;
  for (const TRect& r : Places)
    if (r.Top != Top) out += Format("(%d,%d %dx%d) ", {r.Left, r.Top, r.Width(), r.Height()});
  return out;
}

// The frame places its client window under its aligned controls: the client is never stretched
// over the whole frame first (and erased there) when the frame is shown maximized, restored or
// resized.
TEST_F(FormTest, AnMDIFramesClientOnlyEverTakesTheRoomItsAlignedControlsLeave) {
  TFormPtr<TForm> frame(CreateForm<TForm>(nullptr));
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(40, 40, 400, 300);
  auto* bar = new TPanel(frame.get());
  bar->SetParent(frame.get());
  bar->SetAlign(alTop);
  bar->SetHeight(30);
  frame->HandleNeeded();
  HWND client = frame->ClientHandle();
  ASSERT_NE(client, nullptr);
  TClientPlaces::Moved.clear();
  TClientPlaces::Erased.clear();
  TClientPlaces::Previous =
      WNDPROC(SetWindowLongPtrA(client, GWLP_WNDPROC, LONG_PTR(&TClientPlaces::Record)));

  frame->SetWindowState(wsMaximized);
  frame->Show();
  ASSERT_TRUE(Painted(frame.get()));
  frame->SetWindowState(wsNormal);
  PumpPending();
  frame->SetBounds(40, 40, 500, 350);
  PumpPending();

  EXPECT_FALSE(TClientPlaces::Moved.empty());
  EXPECT_FALSE(TClientPlaces::Erased.empty());
  EXPECT_EQ(PlacesBelow(TClientPlaces::Moved, 30), "");
  EXPECT_EQ(PlacesBelow(TClientPlaces::Erased, 30), "");
  // And it fills what is left.
  TRect room = frame->ClientRect();
  EXPECT_EQ(TClientPlaces::Place(client), Rect(0, 30, room.Right, room.Bottom));
  SetWindowLongPtrA(client, GWLP_WNDPROC, LONG_PTR(TClientPlaces::Previous));
}

// An MDI client is made without its scroll bars showing: the system hides them at the frame's
// first layout anyway, and drawing them at the client's first paint only to hide them again costs
// more than the rest of that paint.
TEST_F(FormTest, AnMDIClientHasNoScrollBarsShowingFromItsCreation) {
  TFormPtr<TForm> frame(CreateForm<TForm>(nullptr));
  frame->SetFormStyle(fsMDIForm);
  frame->HandleNeeded();
  HWND client = frame->ClientHandle();
  ASSERT_NE(client, nullptr);
  auto Bars = [client] { return GetWindowLongA(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL); };
  EXPECT_EQ(Bars(), 0);
  frame->Show();
  ASSERT_TRUE(Painted(frame.get()));
  EXPECT_EQ(Bars(), 0);
}

// The client makes a child hidden and restored, then the child shows in the state its description
// gives: maximised, it fills the client area; normal, it keeps its designed size.
TEST_F(FormTest, AnMDIChildOpensInTheWindowStateOfItsDescription) {
  TTestFrameForm* frame = nullptr;
  Application->CreateForm(frame);
  frame->Show();
  Activate(frame);
  const struct {
    const char* Name;
    std::function<TForm*()> Create;
    bool Maximized;
  } Cases[] = {
      {"wsMaximized", [] { return CreateForm<TTestMaximizedChildForm>(Application); }, true},
      {"wsNormal", [] { return CreateForm<TTestChildForm>(Application); }, false},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Name);
    TForm* child = c.Create();
    ASSERT_TRUE(Painted(child));
    EXPECT_EQ(IsZoomed(child->Handle()) != 0, c.Maximized);
    EXPECT_EQ(child->WindowState(), c.Maximized ? wsMaximized : wsNormal);
    RECT area, client;
    GetClientRect(frame->ClientHandle(), &area);
    GetClientRect(child->Handle(), &client);
    if (c.Maximized) {
      EXPECT_EQ(client.right, area.right);
      EXPECT_EQ(client.bottom, area.bottom);
    } else {
      EXPECT_LT(client.right, area.right);
      RECT window;
      GetWindowRect(child->Handle(), &window);
      EXPECT_EQ(window.right - window.left, 200);
      EXPECT_EQ(window.bottom - window.top, 150);
    }
    child->Free();
    PumpPending();
  }
  frame->Free();
}

TEST_F(FormTest, MDIChildNeedsAFrame) {
  TTestChildForm* child = nullptr;
  EXPECT_THROW(
      {
        child = CreateForm<TTestChildForm>(nullptr);
      },
      EInvalidOperation);
  EXPECT_EQ(child, nullptr);
}

// A window's description holds its controls under their parents: written, read into another
// window and written again, it comes back the same, with each control in its place.
TEST_F(FormTest, AFormWithNestedPanelsIsWrittenWholeAndReadBackTheSame) {
  for (TClass c : {TPanel::StaticClass(), TEdit::StaticClass(), TLabel::StaticClass(), TImageList::StaticClass()})
    RegisterClass(c);
  TFormPtr<TForm> form(CreateForm<TForm>(nullptr));
  form->SetName("frmPanneaux");
  auto* outer = new TPanel(form.get());
  outer->SetName("Exterieur");
  outer->SetParent(form.get());
  outer->SetBounds(8, 8, 300, 200);
  auto* inner = new TPanel(form.get());
  inner->SetName("Interieur");
  inner->SetParent(outer);
  inner->SetBounds(10, 10, 200, 120);
  auto* edit = new TEdit(form.get());
  edit->SetName("Saisie");
  edit->SetParent(inner);
  edit->SetBounds(4, 40, 150, 21);
  auto* label = new TLabel(form.get());
  label->SetName("Titre");
  label->SetParent(inner);
  label->SetCaption("Nom du site");
  auto* images = new TImageList(form.get());
  images->SetName("Images");
  auto* side = new TPanel(form.get());
  side->SetName("Cote");
  side->SetParent(form.get());

  String text = WriteComponentToText(form.get());
  for (const char* line : {"\r\n  object Exterieur: TPanel\r\n", "\r\n    object Interieur: TPanel\r\n",
                           "\r\n      object Saisie: TEdit\r\n", "\r\n      object Titre: TLabel\r\n",
                           "\r\n  object Cote: TPanel\r\n", "\r\n  object Images: TImageList\r\n"}) {
    EXPECT_NE(text.find(line), String::npos) << line << text;
  }

  form.reset();  // its name is free again
  TFormPtr<TForm> copy(CreateForm<TForm>(nullptr));
  ReadComponentFromText(copy.get(), text, "panneaux");
  auto* copiedInner = dynamic_cast<TPanel*>(copy->FindComponent("Interieur"));
  auto* copiedEdit = dynamic_cast<TEdit*>(copy->FindComponent("Saisie"));
  ASSERT_TRUE(copiedInner && copiedEdit);
  EXPECT_EQ(copiedInner->Parent(), copy->FindComponent("Exterieur"));
  EXPECT_EQ(copiedEdit->Parent(), copiedInner);
  EXPECT_EQ(copiedEdit->Top(), 40);
  EXPECT_EQ(static_cast<TControl*>(copy->FindComponent("Titre"))->Parent(), copiedInner);
  EXPECT_EQ(static_cast<TControl*>(copy->FindComponent("Cote"))->Parent(), copy.get());
  EXPECT_EQ(WriteComponentToText(copy.get()), text);
}

}  // namespace
