// Tests of actions: what linked menu items and controls take from their action, the idle update,
// shortcuts typed on a form and on an MDI child, lists read from a description, and the edit
// actions on the focused edit.
#include <gtest/gtest.h>

#include "ActionTestSupport.h"
#include "Filer.h"
#include "Menus.h"
#include "TestForms.h"

namespace {

class ActionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterTestClasses();
    RegisterMenuClasses();
    RegisterActionClasses();
    Application->Initialize();
  }
  void TearDown() override {
    PumpPending();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  static TAction* NewAction(TCustomActionList* List, const String& Caption, TClickRecorder* Recorder) {
    auto* action = new TAction(List->Owner());
    action->SetCaption(Caption);
    if (Recorder) action->OnExecute = TNotifyEvent(Recorder, &TClickRecorder::Clicked);
    action->SetActionList(List);
    return action;
  }
  static TMenuItem* NewItem(TMenuItem* Parent, TBasicAction* Action) {
    auto* item = new TMenuItem(nullptr);
    Parent->Add(item);
    item->SetAction(Action);
    return item;
  }
  static UINT NativeState(TMenuItem* Item) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    GetMenuItemInfoA(Item->Parent()->Handle(), Item->Command(), FALSE, &info);
    return info.fState;
  }
  TModalScript Script;
};

TEST_F(ActionTest, ALinkedMenuItemFollowsItsAction) {
  TClickRecorder executed;
  TActionList list(nullptr);
  auto* action = new TAction(nullptr);
  action->SetActionList(&list);
  action->SetCaption("&Fermer");
  action->SetShortCut(TextToShortCut("Ctrl+F4"));
  action->SetHint("Fermer|Fermer la fiche active");
  action->OnExecute = TNotifyEvent(&executed, &TClickRecorder::Clicked);
  TMainMenu menu(nullptr);
  TMenuItem* file = NewItem(menu.Items(), nullptr);
  file->SetCaption("&Fichier");
  TMenuItem* item = NewItem(file, action);
  EXPECT_EQ(item->Caption(), "&Fermer");
  EXPECT_EQ(item->ShortCut(), TextToShortCut("Ctrl+F4"));
  EXPECT_EQ(item->Hint, "Fermer|Fermer la fiche active");

  action->SetEnabled(false);
  EXPECT_FALSE(item->Enabled());
  EXPECT_TRUE(NativeState(item) & MFS_GRAYED);
  action->SetChecked(true);
  EXPECT_TRUE(item->Checked());
  EXPECT_TRUE(NativeState(item) & MFS_CHECKED);
  action->SetCaption("&Fermer la fiche");
  EXPECT_EQ(item->Caption(), "&Fermer la fiche");

  // A disabled action does not run from its item.
  item->Click();
  EXPECT_EQ(executed.Count(), 0);
  action->SetEnabled(true);
  item->Click();
  ASSERT_EQ(executed.Count(), 1);
  EXPECT_EQ(executed.Senders[0], action);
  EXPECT_EQ(action->ActionComponent(), nullptr) << "only while it runs";

  // An OnClick of the item's own replaces the action's.
  TClickRecorder own;
  item->OnClick = TNotifyEvent(&own, &TClickRecorder::Clicked);
  item->Click();
  EXPECT_EQ(own.Count(), 1);
  EXPECT_EQ(executed.Count(), 1);

  // The action that goes leaves the item as it was.
  delete action;
  EXPECT_EQ(item->Action(), nullptr);
  EXPECT_EQ(item->Caption(), "&Fermer la fiche");
  EXPECT_EQ(list.ActionCount(), 0);
}

TEST_F(ActionTest, AControlActionLinkFollowsItsActionAndAddsTheShortCutToTheHint) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  TActionList list(nullptr);
  TClickRecorder executed;
  TAction* action = NewAction(&list, "Couper", &executed);
  action->SetHint("Couper|Couper la sélection"_a);
  action->SetShortCut(TextToShortCut("Ctrl+X"));
  TControlActionLink link(f->OkButton);
  link.SetAction(action);
  link.ActionChange(false);
  EXPECT_EQ(f->OkButton->Caption(), "Couper");
  EXPECT_EQ(f->OkButton->Hint, "Couper|Couper la sélection"_a);
  EXPECT_TRUE(f->OkButton->OnClick == action->OnExecute);
  action->SetVisible(false);
  EXPECT_FALSE(f->OkButton->Visible());
  action->SetEnabled(false);
  EXPECT_FALSE(f->OkButton->Enabled());
  // A caption the control changed itself is no longer linked.
  f->OkButton->SetCaption("Autre");
  action->SetCaption("Couper la ligne");
  EXPECT_EQ(f->OkButton->Caption(), "Autre");

  String hint = "Couper";
  EXPECT_TRUE(link.DoShowHint(hint));
  EXPECT_EQ(hint, "Couper (Ctrl+X)");
  Application->HintShortCuts = false;
  hint = "Couper";
  EXPECT_TRUE(link.DoShowHint(hint));
  Application->HintShortCuts = true;
  EXPECT_EQ(hint, "Couper");
  struct TNoHint : TObject {
    void Hint(String&, bool& CanShow) { CanShow = false; }
  } noHint;
  action->OnHint = THintEvent(&noHint, &TNoHint::Hint);
  EXPECT_FALSE(link.DoShowHint(hint));
}

TEST_F(ActionTest, TheIdleUpdateRunsOnUpdateAndDisablesActionsWithoutHandler) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  auto* list = new TActionList(f.get());
  TClickRecorder executed;
  TAction* close = NewAction(list, "Fermer", &executed);
  TAction* orphan = NewAction(list, "Sans effet", nullptr);
  struct TUpdater : TObject {
    bool Allow = false;
    int Calls = 0;
    void Update(TObject* Sender) {
      ++Calls;
      static_cast<TCustomAction*>(Sender)->SetEnabled(Allow);
    }
  } updater;
  close->OnUpdate = TNotifyEvent(&updater, &TUpdater::Update);
  auto* menu = new TMainMenu(f.get());
  TMenuItem* top = NewItem(menu->Items(), nullptr);
  top->SetCaption("&Fichier");
  TMenuItem* item = NewItem(top, close);
  f->SetMenu(menu);
  f->Show();
  Activate(f.get());

  RunIdle();
  EXPECT_GE(updater.Calls, 1);
  EXPECT_FALSE(close->Enabled());
  EXPECT_FALSE(item->Enabled());
  EXPECT_TRUE(NativeState(item) & MFS_GRAYED);
  EXPECT_FALSE(orphan->Enabled()) << "no OnExecute, no target";
  updater.Allow = true;
  RunIdle();
  EXPECT_TRUE(close->Enabled());
  EXPECT_FALSE(NativeState(item) & MFS_GRAYED);
  // A hidden form's actions wait.
  int calls = updater.Calls;
  f->Hide();
  RunIdle();
  EXPECT_EQ(updater.Calls, calls);
}

TEST_F(ActionTest, AShortCutTypedOnTheFormRunsTheActionOnce) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  auto* list = new TActionList(f.get());
  TClickRecorder executed;
  TAction* action = NewAction(list, "&Nouveau", &executed);
  action->SetShortCut(ShortCut('N', {ssCtrl}));
  // The menu item has the same shortcut through the action: still one run.
  auto* menu = new TMainMenu(f.get());
  TMenuItem* top = NewItem(menu->Items(), nullptr);
  top->SetCaption("&Fichier");
  NewItem(top, action);
  f->SetMenu(menu);
  f->Show();
  Activate(f.get());
  ASSERT_EQ(GetFocus(), f->Edit1->Handle());
  SetWindowTextA(f->Edit1->Handle(), "");

  PressChord({VK_CONTROL}, 'N');
  EXPECT_EQ(executed.Count(), 1);
  // The key was taken: the edit received no character.
  EXPECT_EQ(f->Edit1->Text(), "");
  // Without Ctrl the key is the edit's.
  Press('N');
  EXPECT_EQ(executed.Count(), 1);
  EXPECT_EQ(f->Edit1->Text(), "n");
  // A disabled action takes the shortcut but does not run.
  struct TDisabler : TObject {
    void Update(TObject* Sender) { static_cast<TCustomAction*>(Sender)->SetEnabled(false); }
  } disabler;
  action->OnUpdate = TNotifyEvent(&disabler, &TDisabler::Update);
  PressChord({VK_CONTROL}, 'N');
  EXPECT_EQ(executed.Count(), 1);
}

TEST_F(ActionTest, ShortCutsInAnMDIChildGoToItsListsThenToTheFrame) {
  TTestFrameForm* frame = nullptr;
  Application->CreateForm(frame);
  auto* frameList = new TActionList(frame);
  TClickRecorder onFrame, onChild;
  TAction* frameAction = NewAction(frameList, "Cadre", &onFrame);
  frameAction->SetShortCut(ShortCut('K', {ssCtrl}));
  TAction* shared = NewAction(frameList, "Commun", &onFrame);
  shared->SetShortCut(ShortCut('J', {ssCtrl}));
  frame->Show();
  Activate(frame);
  auto* child = CreateForm<TTestChildForm>(Application);
  auto* childList = new TActionList(child);
  TAction* childAction = NewAction(childList, "Enfant", &onChild);
  childAction->SetShortCut(ShortCut('J', {ssCtrl}));
  ASSERT_TRUE(WaitFor("the child's edit to have the focus", [&] { return GetFocus() == child->ChildEdit->Handle(); }));

  PressChord({VK_CONTROL}, 'K');
  ASSERT_EQ(onFrame.Count(), 1) << "the frame serves its child";
  EXPECT_EQ(onFrame.Senders[0], frameAction);
  PressChord({VK_CONTROL}, 'J');
  EXPECT_EQ(onChild.Count(), 1) << "the child's own list comes first";
  EXPECT_EQ(onFrame.Count(), 1);

  child->Free();
  frame->Free();
}

TEST_F(ActionTest, ListsAndMenusAreReadFromADescription) {
  TComponent root(nullptr);
  // Descriptions are UTF-8 on disk; the reader takes them in the program's code page.
  ReadComponentFromText(&root, Utf8ToAnsi(
                        "object Root: TComponent\n"
                        "  object ActionList1: TActionList\n"
                        "    object actFermer: TAction\n"
                        "      Category = 'Fichier'\n"
                        "      Caption = 'Fermer'\n"
                        "      ShortCut = 16499\n"
                        "    end\n"
                        "    object EditCut1: TEditCut\n"
                        "      Category = 'Edition'\n"
                        "      Caption = 'Cou&per'\n"
                        "      Hint = 'Couper|Couper la sélection'\n"
                        "      ShortCut = 16472\n"
                        "    end\n"
                        "  end\n"
                        "  object MainMenu1: TMainMenu\n"
                        "    object mnuFichier: TMenuItem\n"
                        "      Caption = '&Fichier'\n"
                        "      object mnuFermer: TMenuItem\n"
                        "        Action = actFermer\n"
                        "      end\n"
                        "      object N1: TMenuItem\n"
                        "        Caption = '-'\n"
                        "      end\n"
                        "      object mnuCouper: TMenuItem\n"
                        "        Action = EditCut1\n"
                        "        Caption = 'Couper tout'\n"
                        "      end\n"
                        "    end\n"
                        "  end\n"
                        "end\n"),
                        "test");
  auto* list = dynamic_cast<TActionList*>(root.FindComponent("ActionList1"));
  auto* menu = dynamic_cast<TMainMenu*>(root.FindComponent("MainMenu1"));
  ASSERT_NE(list, nullptr);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(list->ActionCount(), 2);
  auto* close = dynamic_cast<TAction*>(list->Actions(0));
  auto* cut = dynamic_cast<TEditCut*>(list->Actions(1));
  ASSERT_NE(close, nullptr);
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(close->Category(), "Fichier");
  EXPECT_EQ(ShortCutToText(close->ShortCut()), "Ctrl+F4");
  EXPECT_EQ(ShortCutToText(cut->ShortCut()), "Ctrl+X");
  EXPECT_EQ(cut->Hint(), "Couper|Couper la sélection"_a);

  ASSERT_EQ(menu->Items()->Count(), 1);
  TMenuItem* file = menu->Items()->Items(0);
  ASSERT_EQ(file->Count(), 3);
  EXPECT_EQ(file->Items(0)->Action(), close);
  // Read before its action was applied, the item took the action's values where it had none.
  EXPECT_EQ(file->Items(0)->Caption(), "Fermer");
  EXPECT_EQ(file->Items(0)->ShortCut(), close->ShortCut());
  EXPECT_TRUE(file->Items(1)->IsLine());
  EXPECT_EQ(file->Items(2)->Caption(), "Couper tout");
  EXPECT_EQ(file->Items(2)->ShortCut(), cut->ShortCut());
  // Written back, the same tree.
  String text = WriteComponentToText(&root);
  EXPECT_NE(text.find("object mnuFermer: TMenuItem"), String::npos) << text;
  EXPECT_NE(text.find("Action = actFermer"), String::npos) << text;
  EXPECT_NE(text.find("object EditCut1: TEditCut"), String::npos) << text;
}

// --- Edit actions -------------------------------------------------------------------------------

class EditActionTest : public ActionTest {
 protected:
  void SetUp() override {
    Form.reset(CreateForm<TTestDialog>(nullptr));
    List = new TActionList(Form.get());
    Cut = MakeAction<TEditCut>();
    Copy = MakeAction<TEditCopy>();
    Paste = MakeAction<TEditPaste>();
    SelectAll = MakeAction<TEditSelectAll>();
    Undo = MakeAction<TEditUndo>();
    Delete = MakeAction<TEditDelete>();
    Form->Show();
    Activate(Form.get());
  }
  template <class T>
  T* MakeAction() {
    auto* a = new T(Form.get());
    a->SetActionList(List);
    return a;
  }
  HWND Edit() { return Form->Edit1->Handle(); }
  String Text() { return Form->Edit1->Text(); }
  void Select(int Start, int End) {
    SendMessageA(Edit(), EM_SETSEL, WPARAM(Start), LPARAM(End));
    RunIdle();
  }
  TFormPtr<TTestDialog> Form;
  TActionList* List = nullptr;
  TEditCut* Cut = nullptr;
  TEditCopy* Copy = nullptr;
  TEditPaste* Paste = nullptr;
  TEditSelectAll* SelectAll = nullptr;
  TEditUndo* Undo = nullptr;
  TEditDelete* Delete = nullptr;
};

TEST_F(EditActionTest, ActOnTheFocusedEdit) {
  ASSERT_EQ(GetFocus(), Edit());
  SetWindowTextA(Edit(), "bonjour");
  Select(0, 0);
  EXPECT_FALSE(Cut->Enabled()) << "nothing selected";
  EXPECT_FALSE(Copy->Enabled());
  EXPECT_FALSE(Delete->Enabled());
  EXPECT_TRUE(SelectAll->Enabled());

  EXPECT_TRUE(SelectAll->Execute());
  DWORD start = 0, end = 0;
  SendMessageA(Edit(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 7u);

  Select(0, 3);
  EXPECT_TRUE(Cut->Enabled());
  EXPECT_TRUE(Cut->Execute());
  EXPECT_EQ(Text(), "jour");
  Select(4, 4);
  EXPECT_TRUE(Paste->Enabled());
  EXPECT_TRUE(Paste->Execute());
  EXPECT_EQ(Text(), "jourbon");
  RunIdle();
  EXPECT_TRUE(Undo->Enabled());
  EXPECT_TRUE(Undo->Execute());
  EXPECT_EQ(Text(), "jour");
  Select(1, 3);
  EXPECT_TRUE(Copy->Execute());
  EXPECT_TRUE(Delete->Execute());
  EXPECT_EQ(Text(), "jr");
  Select(1, 1);
  EXPECT_TRUE(Paste->Execute());
  EXPECT_EQ(Text(), "jour");
}

TEST_F(EditActionTest, WithoutAFocusedEditTheyAreDisabledAndDoNothing) {
  SetWindowTextA(Edit(), "bonjour");
  Select(0, 7);
  EXPECT_TRUE(Cut->Enabled());
  // The focus on a button: no edit to act on.
  Form->OkButton->SetFocus();
  RunIdle();
  for (TCustomAction* a : std::initializer_list<TCustomAction*>{Cut, Copy, Paste, SelectAll, Undo, Delete}) {
    EXPECT_FALSE(a->Enabled()) << a->ClassName();
    EXPECT_FALSE(a->Execute()) << a->ClassName();
  }
  EXPECT_EQ(Text(), "bonjour");
  // Bound to one edit, an action ignores the others.
  Cut->SetControl(Form->Edit2);
  Form->Edit1->SetFocus();
  Select(0, 3);
  EXPECT_FALSE(Cut->Enabled());
  EXPECT_TRUE(Copy->Enabled());
  // The bound edit that goes is forgotten.
  delete Form->Edit2;
  Form->Edit2 = nullptr;
  EXPECT_EQ(Cut->Control(), nullptr);
}

TEST_F(EditActionTest, ReadOnlyEditsRefuseCutPasteAndDelete) {
  SetWindowTextA(Edit(), "fixe");
  SendMessageA(Edit(), EM_SETREADONLY, TRUE, 0);
  Select(0, 4);
  EXPECT_FALSE(Cut->Enabled());
  EXPECT_FALSE(Delete->Enabled());
  EXPECT_FALSE(Paste->Enabled());
  EXPECT_TRUE(Copy->Enabled());
}

}  // namespace
