// Tests of the locate dialog driven as a user would: the value typed, the buttons clicked, the
// messages when nothing (more) matches, what the dialog keeps for the next time, the window's texts
// and field list, and the failure without an open dataset.
#include "NavTestSupport.h"

#include "ListControls.h"
#include "Qvintl.h"
#include "Qvlocate.h"
#include "StdCtrls.h"

namespace {

class LocateTest : public DataFormTest {
 protected:
  void SetUp() override {
    DataFormTest::SetUp();
    qvFreeGlobalIntl();
    Dialog = new TqvLocateDialog(Form.get());
    Dialog->SetDataSource(Source);
    ShowForm();
  }
  void TearDown() override {
    DataFormTest::TearDown();
    qvFreeGlobalIntl();
  }
  // Runs Work once the dialog's window is the active window.
  void WhenShown(std::function<void(TqvLocateDlg*)> Work) {
    Later([this, Work] {
      ASSERT_TRUE(WaitFor("the locate window", [&] {
        return Dialog->Form() != nullptr && Screen->ActiveForm() == Dialog->Form() && Dialog->Form()->Showing();
      }));
      ASSERT_TRUE(Painted(Dialog->Form()));
      Work(Dialog->Form());
      EndModalIfStillOpen(Dialog->Form());
    });
  }
  TqvLocateDialog* Dialog = nullptr;
};

TEST_F(LocateTest, AMatchFoundFromTheFirstRecordClosesTheWindowAndTheSearchIsKept) {
  Dialog->SearchField = "LIB";
  WhenShown([](TqvLocateDlg* Window) {
    EXPECT_EQ(Window->ActiveControl(), Window->SearchValue);
    EXPECT_TRUE(Window->PartialMatchStartBtn->Checked());
    TypeText("ligne 12");
    ClickControl(Window->FirstButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Code(), 12);
  EXPECT_EQ(Dialog->Form(), nullptr);
  EXPECT_EQ(Dialog->SearchText, "ligne 12");
  EXPECT_EQ(Dialog->SearchField, "LIB");
  EXPECT_EQ(Dialog->MatchType, mtPartialMatchStart);
  EXPECT_FALSE(Dialog->CaseSensitive);

  // The next time the window shows the last search; an exact search with case finds nothing.
  DataSet->First();
  Script.Push(mrOk);
  WhenShown([](TqvLocateDlg* Window) {
    EXPECT_EQ(Window->SearchValue->Text(), "ligne 12");
    EXPECT_EQ(Window->FieldNameComboBox->Items()->Strings(Window->FieldNameComboBox->ItemIndex()), "LIB");
    ClickControl(Window->ExactMatchBtn);
    ClickControl(Window->CaseSensitiveCheckBox);
    ClickControl(Window->FirstButton);
    // The message came and went; the window stays.
    EXPECT_TRUE(Window->Showing());
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "No matches found");
  EXPECT_EQ(Script.Asked[0].DlgType, mtInformation);
  EXPECT_EQ(Code(), 1);
  EXPECT_EQ(Dialog->MatchType, mtExactMatch);
  EXPECT_TRUE(Dialog->CaseSensitive);
}

TEST_F(LocateTest, WithoutCloseOnMatchTheNextButtonGoesOnUntilNoMoreMatch) {
  Dialog->Options = {};
  Dialog->SearchField = "LIB";
  Dialog->SearchText = "Ligne 2";
  ASSERT_TRUE(DataSet->Locate("CODE", Variant(20), TLocateOptions{}));
  Script.Push(mrOk);
  std::vector<int> Found;
  WhenShown([&](TqvLocateDlg* Window) {
    EXPECT_EQ(Window->CancelBtn->Caption(), "Close");
    for (int i = 0; i < 6; ++i) {
      ClickControl(Window->NextButton);
      Found.push_back(Code());
    }
    ClickControl(Window->FirstButton);
    Found.push_back(Code());
    ClickControl(Window->CancelBtn);
  });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(Found, (std::vector<int>{21, 22, 23, 24, 25, 25, 2}));
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "No more matches found");
}

TEST_F(LocateTest, TheWindowShowsTheLibraryTextsAndTheSearchableFields) {
  DataSet->Close();
  auto Fields = std::make_unique<TVectorDataSet>(std::vector<TColumn>{
      {"ZH_NOM", ftString, 30}, {"PHOTO", ftBlob}, {"CACHE", ftString, 5}, {"CODE", ftInteger}});
  Fields->AddRow({Variant("Marais"), Variant(), Variant("x"), Variant(1)});
  Fields->Open();
  Fields->FieldByName("ZH_NOM")->SetDisplayLabel("Nom~du~site");
  Fields->FieldByName("CACHE")->SetVisible(false);
  Source->SetDataSet(Fields.get());
  qvIntl->LocateDialog()->FieldValueLabel = "&Valeur";
  qvIntl->LocateDialog()->BtnFirst = "&Premier";
  qvIntl->LocateDialog()->BtnCancel = "Annuler";
  Dialog->Caption = "Rechercher";
  Dialog->SearchField = "ZH_NOM";
  Dialog->SortFields = fsSortByFieldNo;
  Dialog->FieldSelection = fsVisibleFields;
  Dialog->Options = {ldoCloseOnMatch, ldoCaseSensitiveBelow};
  struct TInit : TObject {
    TqvLocateDlg* Seen = nullptr;
    void Init(TqvLocateDlg* Window) { Seen = Window; }
  } Init;
  Dialog->OnInitDialog = TqvOnInitLocateDlgEvent(&Init, &TInit::Init);
  WhenShown([&](TqvLocateDlg* Window) {
    EXPECT_EQ(Init.Seen, Window);
    EXPECT_EQ(Window->Caption(), "Rechercher");
    EXPECT_EQ(Window->FieldValueGroup->Caption(), "&Valeur");
    EXPECT_EQ(Window->FirstButton->Caption(), "&Premier");
    EXPECT_EQ(Window->CancelBtn->Caption(), "Annuler");
    EXPECT_EQ(Window->SearchValue->Hint, "Enter field's search value");
    // Labels with "~" read as blanks; no blob, no hidden field; in field order.
    TStrings* Items = Window->FieldNameComboBox->Items();
    ASSERT_EQ(Items->Count(), 2);
    EXPECT_EQ(Items->Strings(0), "Nom du site");
    EXPECT_EQ(Items->Strings(1), "CODE");
    // The case box below the match kinds.
    EXPECT_EQ(Window->ExactMatchBtn->Top(), 16);
    EXPECT_EQ(Window->PartialMatchAnyBtn->Top(), 52);
    EXPECT_EQ(Window->CaseSensitiveCheckBox->Top(), 75);
    // The cancel button beside the find buttons, inside the field group's right edge.
    EXPECT_EQ(Window->CancelBtn->Top(), Window->NextButton->Top());
    EXPECT_EQ(Window->CancelBtn->Width(), MulDiv(72, Screen->PixelsPerInch(), 96));
    EXPECT_EQ(Window->CancelBtn->Left() + Window->CancelBtn->Width(),
              Window->FieldsGroup->Left() + Window->FieldsGroup->Width() - 1);
    // Choosing a field empties the value and says which field was chosen.
    Window->SearchValue->SetText("abc");
    Window->FieldNameComboBox->SetFocus();
    Press(VK_DOWN);
    EXPECT_EQ(Window->SearchValue->Text(), "");
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(Dialog->SearchField, "CODE");
  Source->SetDataSet(DataSet.get());
}

TEST_F(LocateTest, WithoutAnOpenDataSetExecuteFailsWithAnError) {
  DataSet->Close();
  Script.Push(mrOk);
  EXPECT_FALSE(Dialog->Execute());
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "DataSource does not reference an active DataSet");
  EXPECT_EQ(Script.Asked[0].DlgType, mtError);
  EXPECT_EQ(Dialog->GetPrimaryDataSet(), DataSet.get());
  // A data source freed is forgotten.
  delete Source;
  Source = nullptr;
  EXPECT_EQ(Dialog->DataSource(), nullptr);
  EXPECT_EQ(Dialog->GetPrimaryDataSet(), nullptr);
}

}  // namespace
