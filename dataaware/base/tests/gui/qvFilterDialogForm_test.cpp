// Tests of the filter dialog's windows driven as an operator would, over a query on an SQLite
// file: criteria built by choosing fields, match kinds, values and ranges, OK applying them and
// Cancel leaving everything as it was, values the field cannot hold refused with the focus kept,
// the summary window and the events that replace or feed the windows, and the window's texts.
#include "NavTestSupport.h"

#include <random>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "ListControls.h"
#include "OsPort.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "ScreenshotFiles.h"
#include "SqliteQueryData.h"
#include "StdCtrls.h"
#include "qvFilterDialog.h"
#include "qvFilterDialogForm.h"
#include "qvFilterSummaryForm.h"
#include "qvStrUtils.h"

namespace {

class FilterWindow : public StdFormTest, public SqliteQueryData {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    qvFreeGlobalIntl();
    Folder = OsPort::TempFolder() + "velbor-filtre-" + std::to_string(std::random_device()());
    ASSERT_TRUE(OsPort::CreateDirectory(Folder));
    OpenQueryData(Folder + "\\sites.db",
                  {"CREATE TABLE Site (Code INTEGER PRIMARY KEY, Nom VARCHAR(40) COLLATE VELBOR,"
                   " Dept VARCHAR(5) COLLATE VELBOR, Surface REAL)",
                   "INSERT INTO Site VALUES (1, 'Lagune', '34', 12.5), (2, 'étang', '30', 3.0),"
                   " (3, 'Marais', '34', 40.0), (4, 'Étang d''eau', '13', 3.5), (5, 'Baie', '30', NULL),"
                   " (6, 'L''Anse', '34', 7.0)"_a},
                  "select * from Site order by Code");
    Query->FieldByName("Nom")->SetDisplayLabel("Nom~du~site");
    Dialog = new TqvFilterDialog(Form.get());
    Dialog->SetDataSource(Source.get());
    ShowForm();
  }
  void TearDown() override {
    delete Dialog;
    CloseQueryData();
    for (const String& Name : OsPort::ListFolder(Folder, "*")) OsPort::DeleteFile(Folder + "\\" + Name);
    OsPort::RemoveDirectory(Folder);
    StdFormTest::TearDown();
    qvFreeGlobalIntl();
  }
  String Codes() {
    String Result;
    for (Query->First(); !Query->Eof(); Query->Next())
      Result += (Result.empty() ? "" : ",") + Query->FieldByName("Code")->AsString();
    return Result;
  }
  TqvFilterDlg* Window() { return dynamic_cast<TqvFilterDlg*>(Dialog->FilterDlg()); }
  // Runs Work once the criteria window is the active window, painted; a window the work leaves
  // open is ended, so that a fault fails the test instead of hanging it.
  void WhenShown(std::function<void(TqvFilterDlg*)> Work) {
    Later([this, Work] {
      ASSERT_TRUE(WaitFor("the criteria window", [&] {
        return Window() != nullptr && Screen->ActiveForm() == Window() && Window()->Showing();
      }));
      ASSERT_TRUE(Painted(Window()));
      TqvFilterDlg* W = Window();
      Work(W);
      EndModalIfStillOpen(W);
    });
  }
  // Runs Work once the window's modal loop has answered the OK pressed before (polled on a
  // timer, so that the loop has its turns), the window still open; ends it after Work when it
  // stays open.
  void AfterThat(TqvFilterDlg* W, std::function<void()> Work, DWORD Start = GetTickCount()) {
    Later(
        [this, W, Work, Start] {
          if (Window() != W) {
            ADD_FAILURE() << "the criteria window closed";
            return;
          }
          if (W->ModalResult() != mrNone && GetTickCount() - Start < DWORD(kWaitLimit)) {
            AfterThat(W, Work, Start);
            return;
          }
          Work();
          EndModalIfStillOpen(W);
        },
        10);
  }
  // The shown form of that class, if any.
  template <class T>
  static T* ShownForm() {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* Form = dynamic_cast<T*>(Screen->Forms(i)); Form != nullptr && Form->Showing()) return Form;
    return nullptr;
  }
  // Runs Work on the summary window once it shows, from inside its own loop: looked for on a
  // timer, whose messages come after the input that opens the window; a window the work leaves
  // open is ended.
  static void WhenSummaryShown(std::function<void(TqvFilterDialogView*)> Work, DWORD Start = GetTickCount()) {
    Later(
        [Work, Start] {
          TqvFilterDialogView* View = ShownForm<TqvFilterDialogView>();
          if (View == nullptr) {
            if (GetTickCount() - Start < DWORD(kWaitLimit)) WhenSummaryShown(Work, Start);
            else ADD_FAILURE() << "waited " << kWaitLimit << " ms for the summary window";
            return;
          }
          EXPECT_TRUE(Painted(View));
          Work(View);
          EndModalIfStillOpen(View);
        },
        10);
  }
  // Clicks the field of that label in the list.
  static void ClickField(TqvFilterDlg* W, const String& Label) {
    int Index = W->FieldsListBox->Items()->IndexOf(Label);
    ASSERT_GE(Index, 0) << Label;
    RECT Item{};
    SendMessageA(W->FieldsListBox->Handle(), LB_GETITEMRECT, WPARAM(Index), LPARAM(&Item));
    ClickAt(OnScreen(W->FieldsListBox, (Item.left + Item.right) / 2, (Item.top + Item.bottom) / 2));
  }
  // The same, the field then shown.
  static void ChooseField(TqvFilterDlg* W, const String& Label) {
    ClickField(W, Label);
    ASSERT_EQ(W->FieldCriteria->Caption(), Label);
  }
  static void ClickTab(TCustomTabControl* Tabs, int Index) {
    TRect R = Tabs->TabRect(Index);
    ClickAt(OnScreen(Tabs, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
  }
  // Types into a control after clicking it, its text replaced.
  static void TypeInto(TWinControl* Control, const String& Text) {
    ClickControl(Control);
    if (auto* Edit = dynamic_cast<TCustomEdit*>(Control)) Edit->SelectAll();
    TypeText(Text);
  }
  static void SaveShot(TCustomForm* W, const String& Name) {
    RECT R{};
    GetWindowRect(W->Handle(), &R);
    HDC ScreenDC = GetDC(nullptr);
    SaveScreenshotOf(ScreenDC, R.left, R.top, R.right - R.left, R.bottom - R.top, Name);
    ReleaseDC(nullptr, ScreenDC);
  }

  String Folder;
  TqvFilterDialog* Dialog = nullptr;
};

TqvFieldInfo Criterion(const char* Label, const char* Value, TqvFilterMatchType Match = fdMatchStart) {
  TqvFieldInfo C;
  C.DisplayLabel = Label;
  C.FilterValue = Value;
  C.MatchType = Match;
  return C;
}

TEST_F(FilterWindow, CriteriaChosenInTheWindowFilterTheRowsOnOK) {
  Dialog->Options.Include(fdShowNonMatching);
  WhenShown([&](TqvFilterDlg* W) {
    // Every field in field order, labels with blanks for tildes; the first one shown.
    TStrings* Items = W->FieldsListBox->Items();
    ASSERT_EQ(Items->Count(), 4);
    EXPECT_EQ(Items->Strings(1), "Nom du site");
    EXPECT_FALSE(W->OKButton->Enabled());
    ChooseField(W, "Nom du site");
    EXPECT_EQ(W->SelectNotebook->ActivePage(), W->TabSheet1);
    ClickControl(W->MatchTypeGroup->Buttons(2));
    TypeInto(W->ValueControl, "ÉTANG"_a);
    EXPECT_TRUE(W->OKButton->Enabled());
    EXPECT_TRUE(W->FilterValueClearButton->Enabled());
    // A number field opens on its range page; a value typed there is matched exactly.
    ChooseField(W, "Surface");
    EXPECT_EQ(W->SelectNotebook->ActivePage(), W->TabSheet2);
    TypeInto(W->MinValueEdit, "3,2");
    TypeInto(W->MaxValueEdit, "20");
    ChooseField(W, "Dept");
    TypeInto(W->ValueControl, "13 or 30");
    ClickControl(W->MatchTypeGroup->Buttons(0));
    ClickControl(W->OKButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "4");
  ASSERT_EQ(Dialog->FieldInfos.size(), 3u);
  const TqvFieldInfo& Name = Dialog->FieldInfos[0];
  EXPECT_EQ(Name.FieldName, "Nom");
  EXPECT_EQ(Name.DisplayLabel, "Nom du site");
  EXPECT_EQ(Name.MatchType, fdMatchAny);
  EXPECT_EQ(Name.FilterValue, "ÉTANG"_a);
  EXPECT_EQ(Dialog->FieldInfos[1].MatchType, fdMatchRange);
  EXPECT_EQ(Dialog->FieldInfos[1].MinValue, "3,2");
  EXPECT_EQ(Dialog->FieldInfos[1].MaxValue, "20");
  EXPECT_EQ(Dialog->FieldInfos[2].MatchType, fdMatchExact);

  // Opened again, the window shows only the searched fields, the first one loaded; inverting the
  // name and dropping the range keeps the rows of department 13 or 30 not named "étang".
  WhenShown([&](TqvFilterDlg* W) {
    EXPECT_EQ(W->FieldTabSet->TabIndex(), 1);
    ASSERT_EQ(W->FieldsListBox->Items()->Count(), 3);
    EXPECT_EQ(W->FieldCriteria->Caption(), "Nom du site");
    EXPECT_EQ(W->ValueControl->Text(), "ÉTANG"_a);
    EXPECT_EQ(W->MatchTypeGroup->ItemIndex(), 2);
    EXPECT_TRUE(W->OKButton->Enabled());
    ClickControl(W->Nonmatching);
    ChooseField(W, "Surface");
    ClickControl(W->MinValueClearButton);
    ClickControl(W->MaxValueClearButton);
    ClickControl(W->OKButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  ASSERT_EQ(Dialog->FieldInfos.size(), 2u);
  EXPECT_TRUE(Dialog->FieldInfos[0].NonMatching);
  EXPECT_EQ(Codes(), "5");
}

TEST_F(FilterWindow, CancelLeavesTheCriteriaAndTheRowsAsTheyWere) {
  Dialog->FieldInfos = {Criterion("Dept", "34", fdMatchExact)};
  Dialog->ShowDialog = false;
  ASSERT_TRUE(Dialog->Execute());
  ASSERT_EQ(Codes(), "1,3,6");
  Dialog->ShowDialog = true;
  WhenShown([&](TqvFilterDlg* W) {
    EXPECT_EQ(W->ValueControl->Text(), "34");
    TypeInto(W->ValueControl, "30");
    ChooseField(W, "Dept");
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
  ASSERT_EQ(Dialog->FieldInfos.size(), 1u);
  EXPECT_EQ(Dialog->FieldInfos[0].FilterValue, "34");
  EXPECT_EQ(Codes(), "1,3,6");

  // OK without any change on the filtered rows closes without filtering again; the criterion
  // deleted from the searched list and OK bring every row back.
  WhenShown([&](TqvFilterDlg* W) { ClickControl(W->OKButton); });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "1,3,6");
  WhenShown([&](TqvFilterDlg* W) {
    ASSERT_TRUE(GiveFocus(W->FieldsListBox));
    Press(VK_DELETE);
    EXPECT_EQ(W->FieldsListBox->Items()->Count(), 0);
    ClickControl(W->OKButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_TRUE(Dialog->FieldInfos.empty());
  EXPECT_EQ(Codes(), "1,2,3,4,5,6");
}

TEST_F(FilterWindow, AValueTheFieldCannotHoldKeepsTheWindowOpenOnIt) {
  for (int i = 0; i < 3; ++i) Script.Push(mrOk);
  WhenShown([&](TqvFilterDlg* W) {
    ChooseField(W, "Code");
    // An integer typed on the value page: letters are refused when OK is pressed.
    ClickTab(W->SelectNotebook, 0);
    TypeInto(W->ValueControl, "4 or x");
    ClickControl(W->OKButton);
    // The window answers OK once this work is over.
    AfterThat(W, [this, W] {
      EXPECT_EQ(W->ModalResult(), mrNone);
      EXPECT_EQ(W->SelectNotebook->ActivePage(), W->TabSheet1);
      EXPECT_EQ(Screen->ActiveControl(), W->ValueControl);
      auto* Edit = dynamic_cast<TCustomEdit*>(W->ValueControl);
      ASSERT_NE(Edit, nullptr);
      EXPECT_EQ(Edit->SelLength(), 6);
      // Choosing another field is refused the same way.
      ClickField(W, "Dept");
      EXPECT_EQ(W->FieldCriteria->Caption(), "Code");
      EXPECT_EQ(W->FieldsListBox->ItemIndex(), 0);
      TypeInto(W->ValueControl, "4 or 6");
      // A range end: the range page comes forward with the faulty end selected.
      ChooseField(W, "Surface");
      TypeInto(W->MaxValueEdit, "2,5,");
      ClickField(W, "Dept");
      EXPECT_EQ(W->FieldCriteria->Caption(), "Surface");
      EXPECT_EQ(W->SelectNotebook->ActivePage(), W->TabSheet2);
      EXPECT_EQ(Screen->ActiveControl(), W->MaxValueEdit);
      TypeInto(W->MaxValueEdit, "7");
      ClickControl(W->OKButton);
    });
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "4,6");
  // Each refusal told the operator which field and which value.
  const char* const Expected[] = {"Invalid value for Code: x", "Invalid value for Code: x",
                                  "Invalid value for Surface: 2,5,"};
  ASSERT_EQ(Script.Asked.size(), std::size(Expected));
  for (std::size_t i = 0; i < std::size(Expected); ++i) {
    EXPECT_EQ(Script.Asked[i].Text, Expected[i]);
    EXPECT_EQ(Script.Asked[i].DlgType, mtError);
  }
}

TEST_F(FilterWindow, TheSummaryShowsEveryCriterionAndOnDialogSummaryMayReplaceIt) {
  TqvFieldInfo Range;
  Range.DisplayLabel = "Surface";
  Range.MatchType = fdMatchRange;
  Range.MinValue = "3";
  Range.MaxValue = "20";
  TqvFieldInfo Inverted = Criterion("Dept", "13 or 30", fdMatchExact);
  Inverted.NonMatching = true;
  Dialog->FieldInfos = {Criterion("Nom~du~site", "l'", fdMatchStart), Range, Inverted};
  TqvFilterDialogView* Seen = nullptr;
  std::vector<std::vector<String>> Cells;
  WhenShown([&](TqvFilterDlg* W) {
    WhenSummaryShown([&](TqvFilterDialogView* View) {
      Seen = View;
      for (int Row = 0; Row < Seen->StringGrid1->RowCount(); ++Row)
        Cells.push_back({Seen->StringGrid1->Cells(0, Row), Seen->StringGrid1->Cells(1, Row), Seen->StringGrid1->Cells(2, Row)});
      EXPECT_EQ(Seen->Caption(), "Show Search Summary");
      // The field column is the first one shown.
      EXPECT_EQ(Seen->StringGrid1->LeftCol(), 0);
      SaveShot(Seen, "filtre-sommaire");
      // The cells cannot be changed.
      ClickAt(OnScreen(Seen->StringGrid1, 5, 25));
      TypeText("x");
      EXPECT_EQ(Seen->StringGrid1->Cells(0, 1), "Nom du site");
      ClickControl(Seen->OKButton);
    });
    ClickControl(W->ViewButton);
    ASSERT_TRUE(PumpUntil([&] { return Screen->ActiveForm() == W; }));
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
  ASSERT_NE(Seen, nullptr);
  std::vector<std::vector<String>> Expected = {
      {"Field", "Search Type", "Value"},
      {"Nom du site", "Partial Match at Beginning", "l'"},
      {"Surface", "By Range", ">=3, <=20"},
      {"Dept", "Exact Match", "NOT (13 or 30)"},
  };
  EXPECT_EQ(Cells, Expected);

  // A handler in its place: the window shows only when it says so.
  struct TSummaryHandler : TObject {
    int Calls = 0;
    size_t Count = 0;
    bool Default = false;
    void Summary(TObject*, const std::vector<TqvFieldInfo>& Criteria, bool& DoDefault) {
      ++Calls;
      Count = Criteria.size();
      DoDefault = Default;
    }
  } Handler;
  Dialog->OnDialogSummary = TqvFilterDialogSummaryEvent(&Handler, &TSummaryHandler::Summary);
  bool OtherWindow = false;
  WhenShown([&](TqvFilterDlg* W) {
    ClickControl(W->ViewButton);
    EXPECT_EQ(Handler.Calls, 1);
    EXPECT_EQ(Screen->ActiveForm(), W);
    EXPECT_EQ(ShownForm<TqvFilterDialogView>(), nullptr);
    Handler.Default = true;
    WhenSummaryShown([&](TqvFilterDialogView*) {
      OtherWindow = true;
      PressKey(VK_ESCAPE);
    });
    ClickControl(W->ViewButton);
    ASSERT_TRUE(PumpUntil([&] { return Screen->ActiveForm() == W; }));
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(Handler.Calls, 2);
  EXPECT_EQ(Handler.Count, 3u);
  EXPECT_TRUE(OtherWindow);
}

TEST_F(FilterWindow, WithoutCriteriaTheSummaryAndTheSearchedTabAreRefusedWithAMessage) {
  Script.Push(mrOk);
  Script.Push(mrOk);
  WhenShown([&](TqvFilterDlg* W) {
    ClickControl(W->ViewButton);
    ClickTab(W->FieldTabSet, 1);
    EXPECT_EQ(W->FieldTabSet->TabIndex(), 0);
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
  ASSERT_EQ(Script.Asked.size(), 2u);
  for (const auto& Asked : Script.Asked) {
    EXPECT_EQ(Asked.Text, "You have not selected any search criteria");
    EXPECT_EQ(Asked.DlgType, mtInformation);
  }
}

TEST_F(FilterWindow, OnSelectFieldOffersValuesExceptForAnywhereMatches) {
  struct TSelectHandler : TObject {
    std::vector<String> Asked;
    void Select(TObject*, const String& FieldName, String& Mask, TStrings* List) {
      Asked.push_back(FieldName);
      if (FieldName != "Dept") return;
      Mask = "###";
      List->Add("13");
      List->Add("30");
      List->Add("34");
    }
  } Handler;
  Dialog->OnSelectField = TqvOnSelectFilterField(&Handler, &TSelectHandler::Select);
  Dialog->DefaultField = "Dept";
  WhenShown([&](TqvFilterDlg* W) {
    EXPECT_EQ(W->FieldCriteria->Caption(), "Dept");
    EXPECT_EQ(W->ValueControl, W->FilterValueCombo);
    EXPECT_TRUE(W->FilterValueCombo->Showing());
    EXPECT_FALSE(W->FilterValueEdit->Visible());
    auto* Combo = dynamic_cast<TCustomComboBox*>(W->FilterValueCombo);
    ASSERT_NE(Combo, nullptr);
    EXPECT_EQ(Combo->Items()->Text(), "13\r\n30\r\n34\r\n");
    TypeInto(W->ValueControl, "4");
    // Anywhere: the plain edit takes over with the text.
    ClickControl(W->MatchTypeGroup->Buttons(2));
    EXPECT_EQ(W->ValueControl, W->FilterValueEdit);
    EXPECT_EQ(W->FilterValueEdit->Text(), "4");
    EXPECT_FALSE(W->FilterValueCombo->Visible());
    // Another field has no list: the edit stays.
    ChooseField(W, "Nom du site");
    EXPECT_EQ(W->ValueControl, W->FilterValueEdit);
    ClickControl(W->OKButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "1,3,6");
  ASSERT_GE(Handler.Asked.size(), 2u);
  EXPECT_EQ(Handler.Asked[0], "Dept");
  EXPECT_EQ(Handler.Asked.back(), "Nom");
}

// The French texts of the library, as the program's strings component gives them.
void FrenchTexts() {
  TqvFilterDialogIntl* T = qvIntl->FilterDialog();
  T->BtnViewSummary = "Vue so&mmaire";
  T->BtnNewSearch = "&Nouvelle recherche";
  T->FieldOrderLabel = "Ordre de champ";
  T->AlphabeticLabel = "&Alphabétique"_a;
  T->LogicalLabel = "&Logique";
  T->AllFieldsLabel = "&Tous";
  T->SearchedFieldsLabel = "&Recherchés"_a;
  T->StartingRangeLabel = "&Début d'intervalle"_a;
  T->EndingRangeLabel = "&Fin d'intervalle";
  T->BtnClearMin = "&Efface";
  T->BtnClearMax = "&Efface";
  T->BtnClearFilterValue = "&Efface";
  T->ByValueLabel = "Par &valeur";
  T->ByRangeLabel = "Par &intervalle";
  T->FieldValueLabel = "&Valeur de champ";
  T->SearchTypeLabel = "Type de recherche";
  T->MatchExactLabel = "Correspondance e&xacte";
  T->MatchStartLabel = "Correspondance &partielle au début"_a;
  T->MatchAnyLabel = "Correspon&dance partielle partout";
  T->CaseSensitiveLabel = "Casse sensi&ble";
  T->NonMatchingLabel = "Enregistrements n&on-correspondants";
  T->SummaryFieldLabel = "Champ";
  T->SummarySearchLabel = "Type de recherche";
  T->SummaryValueLabel = "Valeur";
  T->FieldsLabel = "&Champs";
  T->ViewSummaryNotText = "NON";
  qvIntl->BtnCancelCaption = "Annuler";
}

TEST_F(FilterWindow, TheWindowsShowTheLibraryTextsAndTheDialogsOptions) {
  FrenchTexts();
  Dialog->Options.Include(fdShowNonMatching);
  Dialog->Caption = "Filtrer les sites";
  Dialog->FieldInfos = {Criterion("Dept", "34", fdMatchExact)};
  Dialog->FieldInfos[0].NonMatching = true;
  struct TInit : TObject {
    TObject* Seen = nullptr;
    void Init(TObject* Window) { Seen = Window; }
  } Init;
  Dialog->OnInitDialog = TqvOnInitFilterDlgEvent(&Init, &TInit::Init);
  std::vector<std::vector<String>> Summary;
  WhenShown([&](TqvFilterDlg* W) {
    EXPECT_EQ(Init.Seen, W);
    EXPECT_EQ(W->Caption(), "Filtrer les sites");
    EXPECT_EQ(W->ViewButton->Caption(), "Vue so&mmaire");
    EXPECT_EQ(W->ClearSearchButton->Caption(), "&Nouvelle recherche");
    EXPECT_EQ(W->FieldOrder->Caption(), "Ordre de champ");
    EXPECT_EQ(W->FieldOrder->Buttons(0)->Caption(), "&Alphabétique"_a);
    EXPECT_EQ(W->FieldTabSet->Tabs()->Strings(1), "&Recherchés"_a);
    EXPECT_EQ(W->TabSheet2->Caption(), "Par &intervalle");
    EXPECT_EQ(W->MatchTypeGroup->Buttons(1)->Caption(), "Correspondance &partielle au début"_a);
    EXPECT_EQ(W->Nonmatching->Caption(), "Enregistrements n&on-correspondants");
    EXPECT_TRUE(W->Nonmatching->Checked());
    EXPECT_EQ(W->FieldsLbl->Caption(), "&Champs");
    EXPECT_EQ(W->CancelButton->Caption(), "Annuler");
    // The buttons keep to their panel and the page control to its column.
    EXPECT_LE(W->OKButton->Left() + W->OKButton->Width(), W->OKCancelPanel->ClientWidth());
    EXPECT_LE(W->SelectNotebook->Left() + W->SelectNotebook->Width(), W->FieldCriteriaPanel->ClientWidth());
    // No text cut: each match kind fits its button beside the round mark, and the value page
    // shows its check boxes whole.
    TCanvas* Measure = W->Canvas();
    Measure->Font()->Assign(W->Font());
    for (int i = 0; i < W->MatchTypeGroup->ButtonCount(); ++i) {
      TRadioButton* Button = W->MatchTypeGroup->Buttons(i);
      EXPECT_LE(Measure->TextWidth(qvRemoveChar(Button->Caption(), '&')) + 16, Button->Width()) << i;
    }
    EXPECT_LE(W->Nonmatching->Top() + W->Nonmatching->Height(), W->Panel1->ClientHeight());
    EXPECT_LE(W->Panel1->Top() + W->Panel1->Height(), W->TabSheet1->ClientHeight());
    EXPECT_LE(W->ClearSearchButton->Left() + W->ClearSearchButton->Width(), W->ButtonPanel->ClientWidth());
    SaveShot(W, "filtre-criteres");
    ClickTab(W->SelectNotebook, 1);
    ASSERT_TRUE(Painted(W));
    SaveShot(W, "filtre-intervalle");
    // The value page again: the page shown says which kind of criterion the field has.
    ClickTab(W->SelectNotebook, 0);
    WhenSummaryShown([&](TqvFilterDialogView* View) {
      for (int Row = 0; Row < View->StringGrid1->RowCount(); ++Row)
        Summary.push_back({View->StringGrid1->Cells(0, Row), View->StringGrid1->Cells(1, Row), View->StringGrid1->Cells(2, Row)});
      SaveShot(View, "filtre-sommaire-francais");
      PressKey(VK_ESCAPE);
    });
    ClickControl(W->ViewButton);
    ASSERT_TRUE(PumpUntil([&] { return Screen->ActiveForm() == W; }));
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
  std::vector<std::vector<String>> Expected = {{"Champ", "Type de recherche", "Valeur"},
                                               {"Dept", "Correspondance exacte", "NON 34"}};
  EXPECT_EQ(Summary, Expected);
}

TEST_F(FilterWindow, WithoutOKAndCancelTheWindowIsNarrower) {
  int Wide = 0;
  WhenShown([&](TqvFilterDlg* W) {
    Wide = W->Width();
    PressKey(VK_ESCAPE);
  });
  Dialog->Execute();
  Dialog->Options.Exclude(fdShowOKCancel);
  Dialog->Options.Include(fdHidePartialAnywhere);
  WhenShown([&](TqvFilterDlg* W) {
    EXPECT_EQ(W->Width(), Wide - W->OKButton->Width() - 8);
    EXPECT_EQ(W->OKButton->Top(), 1000);
    EXPECT_EQ(W->MatchTypeGroup->Items()->Count(), 2);
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
}

TEST_F(FilterWindow, QueryModificationRunsTheCriteriaOfTheWindowAsSQL) {
  Dialog->SetFilterMethod(fdByQueryModify);
  WhenShown([&](TqvFilterDlg* W) {
    ChooseField(W, "Nom du site");
    TypeInto(W->ValueControl, "l'");
    ClickControl(W->OKButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "6");
  EXPECT_EQ(Query->SQL()->Text().find("l'"), String::npos);
}

}  // namespace
