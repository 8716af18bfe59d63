// Tests of the reset to the form's design: the design copy read from the form's description (its
// manager named on the description's second line, with event bindings and references to the
// form's other components left out), a bar's links or the whole bar restored, OneOnRow included,
// the usage data restored, the questions asked first, and nothing for a form built in code.
#include "BarTestForms.h"
#include "kwBarUtils.h"

namespace {

std::vector<String> LinkNames(TkwBarItemLinks* Links) {
  std::vector<String> names;
  for (int i = 0; i < Links->Count(); ++i)
    names.push_back(Links->Items(i)->Item() ? Links->Items(i)->Item()->Name() : String("-"));
  return names;
}

class ResetToDesign : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallTestBarForms();
    Form.reset(CreateForm<TTestResetForm>(nullptr));
    Form->SetBounds(60, 60, 520, 260);
    Form->Show();
    Activate(Form.get());
    Manager = FindManagerOfForm(Form.get());
    ASSERT_NE(Manager, nullptr);
    Standard = Manager->Bars()->Items(0);
    Edition = dynamic_cast<TTestSubItem*>(Form->FindComponent("mnuEdition"));
    ASSERT_NE(Edition, nullptr);
  }
  TkwBarItem* Item(const char* Name) { return dynamic_cast<TkwBarItem*>(Form->FindComponent(Name)); }
  // The bar as the user left it: links moved and gone, another row and place.
  void Rearrange() {
    delete Standard->ItemLinks()->Items(0);
    Standard->ItemLinks()->Add()->SetItem(Item("btnImprimer"));
    Standard->OneOnRow = false;
    Standard->SetRow(4);
    Standard->SetDockingStyle(dsBottom);
    Edition->ItemLinks()->Items(1)->SetItem(nullptr);
  }
  TFormPtr<TTestResetForm> Form;
  TkwBarManager* Manager = nullptr;
  TkwBar* Standard = nullptr;
  TTestSubItem* Edition = nullptr;
};

TEST_F(ResetToDesign, TheDesignCopyHoldsTheManagerAsDesigned) {
  ASSERT_TRUE(Manager->CanReset());
  Manager->StoreInRegistry = true;
  TFormPtr<TCustomForm> copy(Manager->LoadDesignCopy());
  ASSERT_NE(copy, nullptr);
  auto* designed = dynamic_cast<TkwBarManager*>(copy->FindComponent("kwBarManager1"));
  ASSERT_NE(designed, nullptr);
  EXPECT_FALSE(designed->StoreInRegistry);
  EXPECT_FALSE(designed->StoreInIniFile);
  ASSERT_EQ(designed->Bars()->Count(), 2);
  EXPECT_TRUE(designed->Bars()->Items(0)->OneOnRow);
  EXPECT_EQ(designed->Bars()->Items(0)->Row(), 1);
  EXPECT_EQ(LinkNames(designed->Bars()->Items(0)->ItemLinks()),
            (std::vector<String>{"btnOuvrir", "btnEnregistrer", "mnuEdition"}));
  // What the copy could not hold is left out: the handlers and the form's image list.
  EXPECT_FALSE(designed->OnBarAfterReset);
  EXPECT_EQ(designed->Images(), nullptr);
  // The copy shows nothing and the running form is untouched.
  EXPECT_EQ(designed->Bars()->Items(0)->GetControl(), nullptr);
  EXPECT_NE(Manager->Images(), nullptr);
  EXPECT_EQ(Form->Resets, 0);
}

TEST_F(ResetToDesign, ABarGetsItsLinksBackAndKeepsItsPlace) {
  int goneBefore = TTestResetForm::ItemsGone;
  Rearrange();
  ASSERT_TRUE(Standard->CanReset());
  Standard->Reset();
  EXPECT_EQ(LinkNames(Standard->ItemLinks()), (std::vector<String>{"btnOuvrir", "btnEnregistrer", "mnuEdition"}));
  // The links are the running form's items.
  EXPECT_EQ(Standard->ItemLinks()->Items(0)->Item(), Item("btnOuvrir"));
  EXPECT_TRUE(Standard->ItemLinks()->Items(1)->BeginGroup());
  EXPECT_EQ(LinkNames(Edition->ItemLinks()), (std::vector<String>{"btnCopier", "btnColler"}));
  EXPECT_EQ(Edition->ItemLinks()->Items(0)->Item(), Item("btnCopier"));
  // Without a full reset the bar stays where it is.
  EXPECT_EQ(Standard->DockingStyle(), dsBottom);
  EXPECT_EQ(Standard->Row(), 4);
  EXPECT_FALSE(Standard->OneOnRow);
  EXPECT_EQ(Form->Resets, 1);
  // The copy's items went with it, without running the running form's handlers.
  EXPECT_EQ(TTestResetForm::ItemsGone, goneBefore);
  ASSERT_NE(Standard->GetControl(), nullptr);
  EXPECT_EQ(Standard->GetControl()->DockSite(), Manager->Bars()->EdgeDockSite(dsBottom));
}

TEST_F(ResetToDesign, AFullResetRestoresTheWholeBarOneOnRowIncluded) {
  Manager->UseFullReset = true;
  Rearrange();
  Standard->Reset();
  EXPECT_EQ(LinkNames(Standard->ItemLinks()), (std::vector<String>{"btnOuvrir", "btnEnregistrer", "mnuEdition"}));
  EXPECT_TRUE(Standard->OneOnRow);
  EXPECT_EQ(Standard->Row(), 1);
  EXPECT_EQ(Standard->DockingStyle(), dsTop);
  EXPECT_TRUE(Standard->Visible());
  ASSERT_NE(Standard->GetControl(), nullptr);
  EXPECT_EQ(Standard->GetControl()->DockSite(), Manager->Bars()->EdgeDockSite(dsTop));
}

TEST_F(ResetToDesign, ABarBeyondTheDesignIsNotResetAndNothingIsTold) {
  TkwBar* extra = Manager->Bars()->Add();
  extra->SetCaption("Mes commandes");
  extra->ItemLinks()->Add()->SetItem(Item("btnImprimer"));
  EXPECT_FALSE(extra->CanReset());
  extra->Reset();
  EXPECT_EQ(LinkNames(extra->ItemLinks()), std::vector<String>{"btnImprimer"});
  EXPECT_EQ(Form->Resets, 0);
}

TEST_F(ResetToDesign, UsageDataComesBackAndNothingElseChanges) {
  TkwBar* tools = Manager->Bars()->Items(1);
  tools->ItemLinks()->Items(0)->SetMostRecentlyUsed(true);
  tools->ItemLinks()->Items(1)->SetMostRecentlyUsed(false);
  Standard->ItemLinks()->Items(1)->SetUserCaption("Sauver");
  Standard->SetDockingStyle(dsLeft);
  Manager->ResetUsageData();
  EXPECT_FALSE(tools->ItemLinks()->Items(0)->MostRecentlyUsed());
  EXPECT_TRUE(tools->ItemLinks()->Items(1)->MostRecentlyUsed());
  EXPECT_EQ(Standard->ItemLinks()->Items(1)->GetCaption(), "Sauver");
  EXPECT_EQ(Standard->DockingStyle(), dsLeft);
}

TEST_F(ResetToDesign, IsAskedForFirst) {
  TModalScript script;
  Rearrange();
  script.Push(IDCANCEL);
  Standard->ConfirmReset();
  ASSERT_EQ(script.Asked.size(), 1u);
  EXPECT_EQ(script.Asked[0].Text, "Are you sure you want to reset the changes made to the 'Standard' toolbar?");
  EXPECT_EQ(script.Asked[0].Flags, unsigned(MB_OKCANCEL | MB_ICONEXCLAMATION));
  EXPECT_EQ(Standard->ItemLinks()->Items(0)->Item(), Item("btnEnregistrer"));
  script.Push(IDOK);
  Standard->ConfirmReset();
  EXPECT_EQ(Standard->ItemLinks()->Items(0)->Item(), Item("btnOuvrir"));
  script.Push(IDNO);
  Manager->ConfirmResetUsageData();
  ASSERT_EQ(script.Asked.size(), 3u);
  EXPECT_EQ(script.Asked[2].Flags, unsigned(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
  EXPECT_EQ(script.Asked[2].Text.substr(0, 37), "This will delete the record of the co");
  EXPECT_TRUE(script.Unexpected.empty());
}

TEST(ResetWithoutDescription, DoesNothingForAFormBuiltInCode) {
  InstallTestBarClasses();
  TFormPtr<TForm> form(CreateForm<TForm>(nullptr));
  auto* manager = new TkwBarManager(form.get());
  TkwBar* bar = manager->Bars()->Add();
  bar->SetCaption("Seule");
  EXPECT_EQ(manager->LoadDesignCopy(), nullptr);
  bar->Reset();
  manager->ResetUsageData();
  EXPECT_EQ(manager->Bars()->Count(), 1);
}

}  // namespace
