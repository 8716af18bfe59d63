// Tests of the record-view dialog in a program that links neither the edit nor the rich-text
// library: the class library's data-aware edit and the dialog's memo stand in for their controls.
// The window is driven as a user would over a SQLite file: the rows shown, an edit typed and
// posted, Cancel, Escape and the frame's close, read-only fields and datasets, a refused value,
// the horizontal style, the non-modal window, the failures of Execute and the navigator's button.
#include "RecordViewTestSupport.h"

#include "ExtCtrls.h"
#include "Menus.h"
#include "Qvintl.h"
#include "ScrollBox.h"

namespace {

const char* const kFrenchExitWarning = "Des changements ont été effectués !  Voulez-vous sauvegarder les changements ?"_a;

TEST_F(RecordViewTest, EveryFieldGetsARightAlignedLabelAndAControlInFieldOrder) {
  WhenShown([&](TqvRecordViewForm* Window) {
    EXPECT_EQ(Window->Caption(), "Record View");
    const std::vector<TWinControl*>& Controls = Dialog->Controls();
    ASSERT_EQ(Controls.size(), 9u);
    ASSERT_EQ(Dialog->Labels().size(), 9u);
    const char* Fields[] = {"ID", "NOM", "SURFACE", "NB", "DATE_OBS", "ACTIF", "NOTES", "COM_CODE", "COMMUNE"};
    const char* Titles[] = {"ID", "Nom du site", "SURFACE", "NB", "Date d'observation", "ACTIF", "NOTES",
                            "COM_CODE", "COMMUNE"};
    int X = Dialog->ControlColumn();
    int ClientRight = Window->ScrollBox->ClientWidth();
    int PreviousTop = -1;
    for (std::size_t i = 0; i < Controls.size(); ++i) {
      SCOPED_TRACE(Fields[i]);
      TWinControl* Control = Controls[i];
      auto* Label = dynamic_cast<TLabel*>(Dialog->Labels()[i]);
      ASSERT_NE(Label, nullptr);
      EXPECT_EQ(qvGetControlDataField(Control), Fields[i]);
      EXPECT_EQ(Label->Caption(), Titles[i]);
      EXPECT_EQ(Label->FocusControl(), Control);
      EXPECT_EQ(Label->Alignment(), taRightJustify);
      // Labels end where the control column begins, less the spacing; nothing runs off the box.
      EXPECT_EQ(Label->Left() + Label->Width(), X - 5);
      EXPECT_GE(Label->Left(), 5);
      EXPECT_EQ(Control->Left(), X);
      EXPECT_LE(Control->Left() + Control->Width(), ClientRight);
      EXPECT_GT(Control->Top(), PreviousTop);
      PreviousTop = Control->Top() + Control->Height();
    }
    // The class library's edit in place of the edit library's, the dialog's memo for the memo.
    EXPECT_EQ(ControlOf("NOM")->ClassName(), "TDBEdit");
    EXPECT_EQ(ControlOf("DATE_OBS")->ClassName(), "TDBEdit");
    EXPECT_EQ(ControlOf("NOTES")->ClassName(), "TqvDBMemo");
    // The record's values, accents and apostrophes included; the lookup shows the commune.
    EXPECT_EQ(ControlOf("NOM")->Text(), "Marais de l'Étang"_a);
    EXPECT_EQ(ControlOf("NB")->Text(), "7");
    EXPECT_EQ(ControlOf("DATE_OBS")->Text(), "01/01/2024");
    EXPECT_EQ(static_cast<TCustomMemo*>(ControlOf("NOTES"))->Lines()->Text(), "Roselière à l'est"_a);
    EXPECT_EQ(ControlOf("COMMUNE")->Text(), "L'Abergement-de-Varey");
    EXPECT_EQ(static_cast<TCustomEdit*>(ControlOf("NOM"))->MaxLength(), 40);
    // OK and Cancel at the bottom right, side by side.
    TButton* OK = Dialog->OKButton();
    TButton* Cancel = Dialog->CancelButton();
    ASSERT_NE(OK, nullptr);
    EXPECT_EQ(OK->Parent(), Window->UserPanel);
    EXPECT_LT(OK->Left() + OK->Width(), Cancel->Left());
    EXPECT_LE(Cancel->Left() + Cancel->Width(), Window->UserPanel->ClientWidth());
    EXPECT_TRUE(OK->Default());
    TPixelArea Shot = CaptureArea(Window, Window->ClientRect());
    EXPECT_TRUE(WritePng(Shot, std::string(VELBOR_SCREENSHOT_DIR) + "/recordview-vertical.png"));
    ClickControl(Cancel);
  });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(Dialog->Form(), nullptr);
  EXPECT_EQ(Query->State(), dsBrowse);
}

TEST_F(RecordViewTest, TextTypedAndConfirmedWithOKIsPostedToTheFile) {
  WhenShown([&](TqvRecordViewForm*) {
    Retype(ControlOf("NOM"), "Étang d'Or"_a);
    Retype(ControlOf("NB"), "42");
    ClickControl(Dialog->OKButton());
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Dialog->CloseReason(), rvcrOK);
  EXPECT_EQ(Query->State(), dsBrowse);
  EXPECT_EQ(FileValue(1, "NOM"), "Étang d'Or"_a);
  EXPECT_EQ(FileValue(1, "NB"), "42");
  EXPECT_EQ(FileValue(2, "NOM"), "Tourbière"_a);
}

// This program does not link the memo window: F2 in the memo leaves the typed text in place, the
// record view stays the active window, and OK posts the text.
TEST_F(RecordViewTest, F2InTheMemoWithoutTheMemoWindowDoesNoHarm) {
  ASSERT_FALSE(qvMemoPopupAvailable());
  String Shown;
  WhenShown([&](TqvRecordViewForm* Window) {
    auto* Notes = static_cast<TCustomMemo*>(ControlOf("NOTES"));
    ASSERT_TRUE(GiveFocus(Notes));
    Notes->SetSelStart(int(Notes->Text().size()));
    TypeText(" (sud)");
    Press(VK_F2);
    EXPECT_EQ(Screen->ActiveForm(), Window);
    Shown = Notes->Text();
    ClickControl(Dialog->OKButton());
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Shown, "Roselière à l'est (sud)"_a);
  EXPECT_EQ(FileValue(1, "NOTES"), "Roselière à l'est (sud)"_a);
}

// Leaving with changes asks (in the application's French), and the answer decides.
TEST_F(RecordViewTest, LeavingWithChangesAsksAndTheAnswerDecides) {
  qvIntl->UserMessages()->RecordViewExitWarning = kFrenchExitWarning;
  struct TCase {
    const char* Name;
    bool ByFrame;       // the window's close box, else the Cancel button
    int Answer;         // to the question
    bool Result;        // of Execute
    const char* Typed;  // into the name
  } Cases[] = {
      {"Cancel, then No", false, mrNo, false, "Bouchon 1"},
      {"frame, then No", true, mrNo, false, "Bouchon 2"},
      {"Cancel, then Yes", false, mrYes, true, "Bouchon 3"},
      {"frame, then Yes", true, mrYes, true, "Bouchon 4"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Query->First();
    String Before = FileValue(1, "NOM");
    Script.Asked.clear();
    Script.Push(mrCancel);  // the first question: the window stays
    Script.Push(Case.Answer);
    bool StayedOpen = false;
    auto Leave = [&](TqvRecordViewForm* Window) {
      if (Case.ByFrame) PostMessageA(Window->Handle(), WM_CLOSE, 0, 0);
      else ClickControl(Dialog->CancelButton());
    };
    WhenShownSteps({[&](TqvRecordViewForm* Window) {
                      Retype(ControlOf("NOM"), Case.Typed);
                      Leave(Window);
                    },
                    [&](TqvRecordViewForm* Window) {
                      EXPECT_EQ(Script.Asked.size(), 1u);
                      StayedOpen = Window->Showing() && Window->ModalResult() == mrNone;
                      Leave(Window);
                    }});
    EXPECT_EQ(Dialog->Execute(), Case.Result);
    EXPECT_TRUE(StayedOpen);
    ASSERT_EQ(Script.Asked.size(), 2u);
    EXPECT_EQ(Script.Asked[1].Text, kFrenchExitWarning);
    EXPECT_EQ(Query->State(), dsBrowse);
    EXPECT_EQ(FileValue(1, "NOM"), Case.Result ? String(Case.Typed) : Before);
  }
  EXPECT_EQ(FileValue(1, "NOM"), "Bouchon 4");
}

TEST_F(RecordViewTest, UnchangedRecordClosesWithoutAQuestion) {
  for (bool ByFrame : {false, true}) {
    WhenShown([&](TqvRecordViewForm* Window) {
      if (ByFrame) PostMessageA(Window->Handle(), WM_CLOSE, 0, 0);
      else ClickControl(Dialog->CancelButton());
    });
    EXPECT_FALSE(Dialog->Execute());
  }
  EXPECT_TRUE(Script.Asked.empty());
}

// The first Escape gives the edit its field's value back and keeps the window; the next closes it
// with Cancel, after the question, since the record is still being edited.
TEST_F(RecordViewTest, EscapeFirstGivesTheFieldBackThenCloses) {
  bool OpenAfterFirst = false;
  String TextAfterFirst;
  Script.Push(mrNo);
  WhenShownSteps({[&](TqvRecordViewForm*) {
                    TWinControl* Nom = ControlOf("NOM");
                    Retype(Nom, "Bouchon");
                    Press(VK_ESCAPE);
                    TextAfterFirst = Nom->Text();
                  },
                  [&](TqvRecordViewForm* Window) {
                    OpenAfterFirst = Window->Showing() && Window->ModalResult() == mrNone;
                    PressKey(VK_ESCAPE);
                  }});
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_TRUE(OpenAfterFirst);
  EXPECT_EQ(TextAfterFirst, "Marais de l'Étang"_a);
  EXPECT_EQ(Dialog->CloseReason(), rvcrCancel);
  EXPECT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Query->State(), dsBrowse);
  EXPECT_EQ(FileValue(1, "NOM"), "Marais de l'Étang"_a);
}

TEST_F(RecordViewTest, ReadOnlyFieldsAreDisabledInTheirColourOrHidden) {
  Query->FieldByName("ID")->SetReadOnly(true);
  Dialog->ReadOnlyColor = clYellow;
  WhenShown([&](TqvRecordViewForm*) {
    TWinControl* Id = ControlOf("ID");
    ASSERT_NE(Id, nullptr);
    EXPECT_FALSE(Id->Enabled());
    EXPECT_FALSE(Id->TabStop());
    EXPECT_EQ(Id->Color(), clYellow);
    EXPECT_TRUE(ControlOf("NOM")->Enabled());
    ClickControl(Dialog->CancelButton());
  });
  Dialog->Execute();

  Dialog->Options.Include(rvoHideReadOnly);
  WhenShown([&](TqvRecordViewForm*) {
    EXPECT_EQ(ControlOf("ID"), nullptr);
    EXPECT_EQ(Dialog->Controls().size(), 8u);
    EXPECT_EQ(qvGetControlDataField(Dialog->Controls()[0]), "NOM");
    ClickControl(Dialog->CancelButton());
  });
  Dialog->Execute();
}

TEST_F(RecordViewTest, ADataSetThatCannotChangeShowsEveryRowReadOnly) {
  Query->Close();
  Query->SetLockType(ltReadOnly);
  Query->Open();
  WhenShown([&](TqvRecordViewForm*) {
    ASSERT_EQ(Dialog->Controls().size(), 9u);
    for (TWinControl* Control : Dialog->Controls()) {
      SCOPED_TRACE(qvGetControlDataField(Control));
      EXPECT_FALSE(Control->Enabled());
    }
    ClickControl(Dialog->OKButton());
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(FileValue(1, "NOM"), "Marais de l'Étang"_a);
}

// A value the dataset refuses on posting keeps the window open with the message, the record still
// being edited; once corrected, OK posts it.
TEST_F(RecordViewTest, ARefusedValueKeepsTheWindowOpenWithTheMessage) {
  struct TCheck : TObject {
    void BeforePost(TDataSet* DataSet) {
      if (DataSet->FieldByName("NOM")->AsString().empty()) throw EDatabaseError("Le champ NOM doit avoir une valeur");
    }
  } Check;
  Query->BeforePost = TDataSetNotifyEvent(&Check, &TCheck::BeforePost);
  Script.Push(mrOk);
  bool StayedOpen = false;
  WhenShownSteps({[&](TqvRecordViewForm*) {
                    TWinControl* Nom = ControlOf("NOM");
                    Retype(Nom, "x");
                    Press(VK_BACK);
                    ASSERT_TRUE(WaitFor("the erased name", [&] { return Nom->Text().empty(); }));
                    ClickControl(Dialog->OKButton());
                  },
                  [&](TqvRecordViewForm* Window) {
                    EXPECT_EQ(Script.Asked.size(), 1u);
                    StayedOpen = Window->Showing() && Window->ModalResult() == mrNone;
                    EXPECT_EQ(Query->State(), dsEdit);
                    Retype(ControlOf("NOM"), "Lagune");
                    ClickControl(Dialog->OKButton());
                  }});
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_TRUE(StayedOpen);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_NE(Script.Asked[0].Text.find("NOM"), String::npos) << Script.Asked[0].Text;
  EXPECT_EQ(FileValue(1, "NOM"), "Lagune");
}

TEST_F(RecordViewTest, SelectedLinesChooseTheRowsAndAMissingFieldBreaksAHorizontalRow) {
  Dialog->Selected()->Add("NOM\t20\tNom~du~site\tF");
  Dialog->Selected()->Add("ABSENT\t10\tNulle part");
  Dialog->Selected()->Add("NB\t4\tNombre\tT");
  // Without a title, or with an empty one, the row shows the field's own label.
  Dialog->Selected()->Add("DATE_OBS\t10\t\tF");
  Dialog->Selected()->Add("SURFACE\t8");
  Query->FieldByName("SURFACE")->SetDisplayLabel("Surface (ha)");
  WhenShown([&](TqvRecordViewForm*) {
    ASSERT_EQ(Dialog->Controls().size(), 4u);
    EXPECT_EQ(static_cast<TLabel*>(Dialog->Labels()[0])->Caption(), "Nom du site");
    EXPECT_EQ(static_cast<TLabel*>(Dialog->Labels()[1])->Caption(), "Nombre");
    EXPECT_EQ(static_cast<TLabel*>(Dialog->Labels()[2])->Caption(), "Date d'observation");
    EXPECT_EQ(static_cast<TLabel*>(Dialog->Labels()[3])->Caption(), "Surface (ha)");
    EXPECT_TRUE(Dialog->Controls()[2]->Enabled());
    // The fourth part "T" makes the row read-only.
    EXPECT_FALSE(Dialog->Controls()[1]->Enabled());
    ClickControl(Dialog->CancelButton());
  });
  Dialog->Execute();

  Dialog->Style = rvsHorizontal;
  WhenShown([&](TqvRecordViewForm* Window) {
    ASSERT_EQ(Dialog->Controls().size(), 4u);
    TWinControl* Nom = Dialog->Controls()[0];
    TWinControl* Nb = Dialog->Controls()[1];
    TControl* NomLabel = Dialog->Labels()[0];
    TControl* NbLabel = Dialog->Labels()[1];
    // Labels above their controls; the missing field sent "Nombre" to a row of its own.
    EXPECT_EQ(Nom->Top(), NomLabel->Top() + NomLabel->Height() + 1);
    EXPECT_GT(NbLabel->Top(), Nom->Top() + Nom->Height());
    EXPECT_EQ(Nb->Left(), Nom->Left());
    EXPECT_EQ(Nb->Top(), NbLabel->Top() + NbLabel->Height() + 1);
    // Never narrower than 400 pixels: the navigator and the buttons keep their room.
    EXPECT_GE(Window->Width(), 400);
    EXPECT_LE(Dialog->CancelButton()->Left() + Dialog->CancelButton()->Width(), Window->UserPanel->ClientWidth());
    TPixelArea Shot = CaptureArea(Window, Window->ClientRect());
    EXPECT_TRUE(WritePng(Shot, std::string(VELBOR_SCREENSHOT_DIR) + "/recordview-horizontal.png"));
    ClickControl(Dialog->CancelButton());
  });
  Dialog->Execute();
}

// A menu given to the dialog is the window's while it is open: its commands reach their handlers,
// the window is made higher by the menu bar, and the menu is taken back when the window closes.
TEST_F(RecordViewTest, TheMenuIsTheWindowsWhileItIsOpen) {
  int PlainHeight = 0;
  WhenShown([&](TqvRecordViewForm* Window) {
    EXPECT_EQ(GetMenu(Window->Handle()), HMENU(nullptr));
    PlainHeight = Dialog->ComputedHeight();
    ClickControl(Dialog->CancelButton());
  });
  Dialog->Execute();

  // A menu without items is not given.
  auto* Menu = new TMainMenu(Owner.get());
  Dialog->SetMenu(Menu);
  WhenShown([&](TqvRecordViewForm* Window) {
    EXPECT_EQ(GetMenu(Window->Handle()), HMENU(nullptr));
    EXPECT_EQ(Dialog->ComputedHeight(), PlainHeight);
    ClickControl(Dialog->CancelButton());
  });
  Dialog->Execute();

  struct TCommands : TObject {
    int Clicks = 0;
    void Click(TObject*) { ++Clicks; }
  } Commands;
  auto* Record = new TMenuItem(Menu);
  Record->SetCaption("&Fiche");
  auto* Copy = new TMenuItem(Menu);
  Copy->SetCaption("&Copier");
  Copy->OnClick = TNotifyEvent(&Commands, &TCommands::Click);
  Record->Add(Copy);
  Menu->Items()->Add(Record);
  WhenShown([&](TqvRecordViewForm* Window) {
    EXPECT_EQ(GetMenu(Window->Handle()), Menu->Handle());
    EXPECT_EQ(Dialog->ComputedHeight(), PlainHeight + GetSystemMetrics(SM_CYMENU));
    // The command of a chosen item, as the menu sends it.
    SendMessageA(Window->Handle(), WM_COMMAND, MAKEWPARAM(Copy->Command(), 0), 0);
    EXPECT_EQ(Commands.Clicks, 1);
    ClickControl(Dialog->CancelButton());
  });
  Dialog->Execute();
  EXPECT_EQ(Dialog->Menu(), Menu);
  // The menu outlives the window, and its handle was not destroyed with it.
  EXPECT_TRUE(IsMenu(Menu->Handle()));

  // A menu freed while the dialog names it is forgotten.
  delete Menu;
  EXPECT_EQ(Dialog->Menu(), nullptr);
  WhenShown([&](TqvRecordViewForm* Window) {
    EXPECT_EQ(GetMenu(Window->Handle()), HMENU(nullptr));
    ClickControl(Dialog->CancelButton());
  });
  Dialog->Execute();
}

// The dialog is listed with its controller's controls while it names it, and takes its frame.
TEST_F(RecordViewTest, TheDialogRegistersWithItsController) {
  auto* First = new TqvController(Owner.get());
  auto* Second = new TqvController(Owner.get());
  Dialog->SetController(First);
  EXPECT_EQ(First->ControlList()->IndexOf(Dialog), 0);
  Dialog->SetController(Second);
  EXPECT_EQ(First->ControlList()->IndexOf(Dialog), -1);
  EXPECT_EQ(Second->ControlList()->IndexOf(Dialog), 0);
  // Freeing the controller clears the dialog's reference.
  delete Second;
  EXPECT_EQ(Dialog->Controller(), nullptr);
  // Freeing the dialog takes it off the list.
  Dialog->SetController(First);
  ASSERT_EQ(First->ControlList()->Count(), 1);
  delete Dialog;
  Dialog = nullptr;
  EXPECT_EQ(First->ControlList()->Count(), 0);
}

TEST_F(RecordViewTest, ExecuteRefusesWithoutAnOpenDataSet) {
  Query->Close();
  Script.Push(mrOk);
  EXPECT_FALSE(Dialog->Execute());
  Dialog->SetDataSource(nullptr);
  Script.Push(mrOk);
  EXPECT_FALSE(Dialog->Execute());
  ASSERT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(Script.Asked[0].Text, "DataSet must be active.");
  EXPECT_EQ(Script.Asked[1].Text, "DataSource or DataSource.DataSet not defined.");
  EXPECT_EQ(Script.Asked[1].DlgType, mtWarning);
}

TEST_F(RecordViewTest, ANonModalWindowOpensOnceAndFreesItselfWhenClosed) {
  Dialog->Options.Exclude(rvoModalForm);
  ASSERT_TRUE(Dialog->Execute());
  TqvRecordViewForm* Window = Dialog->Form();
  ASSERT_NE(Window, nullptr);
  ASSERT_TRUE(WaitFor("the window shown", [&] { return Window->Showing(); }));
  // A second Execute only brings it forward.
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(Dialog->Form(), Window);
  Retype(ControlOf("NB"), "9");
  ClickControl(Dialog->OKButton());
  ASSERT_TRUE(WaitFor("the window gone", [&] { return Dialog->Form() == nullptr; }));
  PumpPending();
  EXPECT_EQ(FileValue(1, "NB"), "9");
}

// The navigator's record-view button finds the dialog's class by name and shows the window on the
// navigator's data source.
TEST_F(RecordViewTest, TheNavigatorButtonOpensTheDialog) {
  auto* Navigator = new TqvDBNavigator(Owner.get());
  Navigator->SetParent(Owner.get());
  Navigator->SetBounds(8, 8, 40, 25);
  Navigator->SetDataSource(Source.get());
  TqvNavButton* Button = Navigator->Buttons()->AddButton(nbsRecordViewDialog);
  ASSERT_TRUE(Painted(Owner.get()));
  Query->Next();
  String Shown;
  TqvRecordViewDialog* Opened = nullptr;
  Later([&] {
    ASSERT_TRUE(WaitFor("the record-view window", [&] {
      auto* Window = dynamic_cast<TqvRecordViewForm*>(Screen->ActiveForm());
      return Window != nullptr && Window->Showing();
    }));
    auto* Window = static_cast<TqvRecordViewForm*>(Screen->ActiveForm());
    Opened = Window->Dialog;
    for (TWinControl* Control : Opened->Controls())
      if (qvGetControlDataField(Control) == "NOM") Shown = Control->Text();
    ClickControl(Opened->CancelButton());
    EndModalIfStillOpen(Window);
  });
  // The click runs the window's modal loop, where the work above runs.
  Button->Click();
  EXPECT_EQ(Shown, "Tourbière"_a);
  ASSERT_NE(Opened, nullptr);
  EXPECT_EQ(Opened->Owner(), Navigator);
  EXPECT_EQ(Opened->DataSource(), Source.get());
}

}  // namespace
