// Tests of the record-view dialog in a program that links the edit and rich-text libraries: the
// dialog makes their controls by registered class name (the data-aware edit, the date and time
// picker, the rich edit), shows the record in them and posts what is typed; controls of the
// owner's form named in ControlType lines are lent to the window and given back.
#include "RecordViewTestSupport.h"

#include "Qvmemo.h"
#include "ScrollBox.h"
#include "qvDBEditMemo.h"
#include "qvMemoDialogPopup.h"
#include "qvdbdatetimepicker.h"
#include "qvdbedit.h"
#include "qvdblook.h"
#include "qvframe.h"
#include "qvriched.h"

namespace {

// The classes the dialog asks for by name are linked into this program.
const TClass kLinked[] = {TqvDBEdit::StaticClass(),     TqvDBDateTimePicker::StaticClass(),
                          TqvDBRichEdit::StaticClass(), TqvEditFrame::StaticClass(),
                          TqvDBEditMemo::StaticClass(), TqvMemoDialogPopup::StaticClass()};

TEST_F(RecordViewTest, TheUpperLibrariesControlsShowTheRecord) {
  for (TClass Class : kLinked) ASSERT_NE(GetClass(Class->Name), nullptr) << Class->Name;
  // The second wetland's notes are rich text.
  Query->Next();
  Query->Edit();
  Query->FieldByName("NOTES")->SetAsString("{\\rtf1\\ansi Texte {\\b gras}\\par}");
  Query->Post();
  WhenShown([&](TqvRecordViewForm* Window) {
    ASSERT_EQ(Dialog->Controls().size(), 9u);
    EXPECT_EQ(ControlOf("NOM")->ClassName(), "TqvDBEdit");
    EXPECT_EQ(ControlOf("NB")->ClassName(), "TqvDBEdit");
    EXPECT_EQ(ControlOf("DATE_OBS")->ClassName(), "TqvDBDateTimePicker");
    EXPECT_EQ(ControlOf("NOTES")->ClassName(), "TqvDBRichEdit");
    EXPECT_EQ(ControlOf("NOM")->Text(), "Tourbière"_a);
    EXPECT_EQ(ControlOf("DATE_OBS")->Text(), "09/01/2024");
    EXPECT_EQ(ControlOf("COMMUNE")->Text(), "Abergement-Clémenciat"_a);
    // The rich edit and the picker sit in the control column, inside the box.
    int Right = Window->ScrollBox->ClientWidth();
    for (TWinControl* Control : Dialog->Controls()) {
      SCOPED_TRACE(Control->ClassName());
      EXPECT_EQ(Control->Left(), Dialog->ControlColumn());
      EXPECT_LE(Control->Left() + Control->Width(), Right);
    }
    TPixelArea Shot = CaptureArea(Window, Window->ClientRect());
    EXPECT_TRUE(WritePng(Shot, std::string(VELBOR_SCREENSHOT_DIR) + "/recordview-controls.png"));
    ClickControl(Dialog->CancelButton());
  });
  EXPECT_FALSE(Dialog->Execute());
}

TEST_F(RecordViewTest, TextTypedInTheLibrarysEditIsPosted) {
  WhenShown([&](TqvRecordViewForm*) {
    Retype(ControlOf("NOM"), "Étang d'Aulnes"_a);
    ClickControl(Dialog->OKButton());
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(FileValue(1, "NOM"), "Étang d'Aulnes"_a);
}

// The owner's form lends its edit, lookup combo and rich edit for the fields its ControlType lines
// name: they show and edit the record in the window, the combo with the commune's name read again,
// and each goes back to its place, size and visibility when the window closes.
TEST_F(RecordViewTest, ControlsOfTheOwnersFormAreLentAndGivenBack) {
  auto Make = [&](TWinControl* Control, const char* Name, int Top, bool Visible) {
    Control->SetName(Name);
    Control->SetParent(Owner.get());
    Control->SetBounds(10, Top, 120, Top == 130 ? 50 : 21);
    Control->SetVisible(Visible);
    return Control;
  };
  auto* Nom = static_cast<TqvDBEdit*>(Make(new TqvDBEdit(Owner.get()), "EditNom", 10, true));
  auto* Commune = static_cast<TqvDBLookupCombo*>(Make(new TqvDBLookupCombo(Owner.get()), "ComboCommune", 40, false));
  auto* Notes = static_cast<TqvDBRichEdit*>(Make(new TqvDBRichEdit(Owner.get()), "RichNotes", 130, true));
  Commune->SetLookupTable(Communes.get());
  Commune->SetLookupField("COM_CODE");
  Commune->Selected()->Add("COM_LIB\t30\tCommune");
  Commune->SetDataSource(Source.get());
  Commune->SetDataField("COM_CODE");
  ASSERT_EQ(Commune->Text(), "L'Abergement-de-Varey");
  Dialog->ControlType()->Add("NOM;CustomEdit;EditNom");
  Dialog->ControlType()->Add("COM_CODE;LookupCombo;ComboCommune");
  Dialog->ControlType()->Add("NOTES;RichEdit;RichNotes");
  Dialog->Selected()->Add("NOM\t20\tNom");
  Dialog->Selected()->Add("COM_CODE\t34\tCommune");
  Dialog->Selected()->Add("NOTES\t20\tNotes");
  // The commune's name changed in the dictionary since the combo last read it.
  Communes->Close();
  Communes->SQL()->SetText("SELECT COM_CODE, 'Commune de ' || COM_LIB AS COM_LIB FROM COMMUNE ORDER BY COM_CODE");
  Communes->Open();
  WhenShown([&](TqvRecordViewForm* Window) {
    ASSERT_EQ(Dialog->Controls().size(), 3u);
    EXPECT_EQ(Dialog->Controls()[0], Nom);
    EXPECT_EQ(Dialog->Controls()[1], Commune);
    EXPECT_EQ(Dialog->Controls()[2], Notes);
    for (TWinControl* Control : Dialog->Controls()) {
      SCOPED_TRACE(Control->Name());
      EXPECT_EQ(Control->Parent(), Window->ScrollBox);
      EXPECT_TRUE(Control->Showing());
      EXPECT_EQ(Control->Left(), Dialog->ControlColumn());
      EXPECT_LE(Control->Left() + Control->Width(), Window->ScrollBox->ClientWidth());
    }
    // Each label points at its lent control.
    EXPECT_EQ(static_cast<TLabel*>(Dialog->Labels()[1])->FocusControl(), Commune);
    EXPECT_EQ(Nom->Text(), "Marais de l'Étang"_a);
    EXPECT_EQ(Commune->Text(), "Commune de L'Abergement-de-Varey");
    // The rich edit takes the width left beside the labels.
    EXPECT_GT(Notes->Width(), Nom->Width());
    TPixelArea Shot = CaptureArea(Window, Window->ClientRect());
    EXPECT_TRUE(WritePng(Shot, std::string(VELBOR_SCREENSHOT_DIR) + "/recordview-lent.png"));
    Retype(Nom, "Marais du Bas");
    ClickControl(Dialog->OKButton());
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(FileValue(1, "NOM"), "Marais du Bas");
  struct TPlace {
    TWinControl* Control;
    int Top, Height;
    bool Visible;
  };
  for (const TPlace& Place : {TPlace{Nom, 10, 21, true}, TPlace{Commune, 40, 21, false}, TPlace{Notes, 130, 50, true}}) {
    SCOPED_TRACE(Place.Control->Name());
    EXPECT_EQ(Place.Control->Parent(), Owner.get());
    EXPECT_EQ(Place.Control->Left(), 10);
    EXPECT_EQ(Place.Control->Top(), Place.Top);
    EXPECT_EQ(Place.Control->Width(), 120);
    EXPECT_EQ(Place.Control->Height(), Place.Height);
    EXPECT_EQ(Place.Control->Visible(), Place.Visible);
  }
}

// F2 in the record view's memo controls opens the memo window over the record. The window has a
// modal loop of its own, opened from inside the record view's: what the tests do in it, and in the
// record view once it has closed, is polled for from whichever loop is running.
class RecordViewMemoTest : public RecordViewTest {
 protected:
  // Runs Work from the running message loop once Ready holds; fails after the deadline.
  void WhenReady(const char* What, std::function<bool()> Ready, std::function<void()> Work) {
    Poll(What, std::move(Ready), std::move(Work), GetTickCount());
  }
  static TqvMemoDlg* MemoWindow() { return dynamic_cast<TqvMemoDlg*>(Screen->ActiveForm()); }

  // Runs Work in the memo window once it is shown and painted; a window Work left open is ended
  // (its text unchanged) so that a fault fails the test instead of hanging it.
  void WhenMemoShown(std::function<void(TqvMemoDlg*)> Work) {
    WhenReady("the memo window", [] { return MemoWindow() != nullptr && MemoWindow()->Showing(); }, [Work] {
      TqvMemoDlg* Window = MemoWindow();
      EXPECT_TRUE(Painted(Window));
      Work(Window);
      if (Window->ModalResult() != mrNone) return;
      ADD_FAILURE() << "the memo window was still open";
      Window->Memo->SetModified(false);
      Window->SetModalResult(mrCancel);
    });
  }
  // Runs Work in the record view once the memo window has been freed (the text it took is then
  // written back) and the record view is active; asked for from inside the memo window.
  void WhenBackInRecordView(std::function<void(TqvRecordViewForm*)> Work) {
    WhenReady("the record view after the memo window",
              [this] {
                for (int i = 0; i < Screen->FormCount(); ++i)
                  if (dynamic_cast<TqvMemoDlg*>(Screen->Forms(i)) != nullptr) return false;
                return Dialog->Form() != nullptr && Screen->ActiveForm() == Dialog->Form();
              },
              [this, Work] { Work(Dialog->Form()); });
  }
  // Focuses the control of NOTES, puts the caret at Caret and presses F2 (not waited for: the
  // memo window's loop takes over).
  void PressF2InNotes(int Caret) {
    auto* Edit = dynamic_cast<TCustomEdit*>(ControlOf("NOTES"));
    ASSERT_NE(Edit, nullptr);
    ASSERT_TRUE(GiveFocus(Edit));
    Edit->SetSelStart(Caret);
    Edit->SetSelLength(0);
    PressKey(VK_F2);
  }

 private:
  void Poll(const char* What, std::function<bool()> Ready, std::function<void()> Work, DWORD Start) {
    if (Ready()) {
      Work();
    } else if (GetTickCount() - Start >= DWORD(kWaitLimit)) {
      ADD_FAILURE() << "waited " << kWaitLimit << " ms for " << What;
    } else {
      Later([this, What, Ready, Work, Start] { Poll(What, Ready, Work, Start); }, 10);
    }
  }
};

// Both memo controls (the plain memo, and the framed edit while the edit frame is on): the text
// typed in the control reaches the window, which opens over the record with the field's label as
// caption, the control's caret and font; the text confirmed there is in the control and is posted.
TEST_F(RecordViewMemoTest, F2EditsTheFieldInTheMemoWindow) {
  struct TCase {
    bool Frame;
    const char* ControlClass;
    String Confirmed;
  };
  const TCase Cases[] = {{false, "TqvDBMemo", "Roselière brûlée"_a}, {true, "TqvDBEditMemo", "Saulaie inondée"_a}};
  Query->FieldByName("NOTES")->SetDisplayLabel("Notes du site");
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.ControlClass);
    ASSERT_TRUE(Query->Locate("ID", 1, {}));
    SetOrdProp(Dialog->EditFrame(), "Enabled", Case.Frame ? 1 : 0);
    Dialog->Font()->SetSize(9);
    String Caption, Text, Shown;
    int Caret = -1, FontSize = 0;
    bool ReadOnly = true, Over = false;
    WhenShown([&](TqvRecordViewForm* Window) {
      TWinControl* Notes = ControlOf("NOTES");
      ASSERT_NE(Notes, nullptr);
      ASSERT_EQ(Notes->ClassName(), Case.ControlClass);
      Notes->Font()->SetSize(13);
      // Typed, not yet in the field: F2 writes it there before the window reads it.
      ASSERT_TRUE(GiveFocus(Notes));
      static_cast<TCustomEdit*>(Notes)->SetSelStart(int(Notes->Text().size()));
      TypeText(" (nord)");
      WhenMemoShown([&, Window](TqvMemoDlg* Memo) {
        Caption = Memo->Caption();
        Text = Memo->Memo->Text();
        Caret = Memo->Memo->SelStart();
        FontSize = Memo->Memo->Font()->Size();
        ReadOnly = Memo->Memo->ReadOnly();
        RECT Box{};
        GetWindowRect(Memo->Handle(), &Box);
        RECT Record{};
        GetWindowRect(Window->Handle(), &Record);
        RECT Common{};
        Over = IntersectRect(&Common, &Box, &Record) && GetForegroundWindow() == Memo->Handle();
        ASSERT_TRUE(GiveFocus(Memo->Memo));
        Memo->Memo->SelectAll();
        TypeText(Case.Confirmed);
        PressCombo(VK_CONTROL, VK_RETURN);
        WhenBackInRecordView([&](TqvRecordViewForm*) {
          Shown = ControlOf("NOTES")->Text();
          ClickControl(Dialog->OKButton());
        });
      });
      PressF2InNotes(4);
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Caption, "Notes du site");
    EXPECT_EQ(Text, "Roselière à l'est (nord)"_a);
    EXPECT_EQ(Caret, 4);
    EXPECT_EQ(FontSize, 13);
    EXPECT_FALSE(ReadOnly);
    EXPECT_TRUE(Over);
    EXPECT_EQ(Shown, Case.Confirmed);
    EXPECT_EQ(FileValue(1, "NOTES"), Case.Confirmed);
    // Put the first note back for the next case.
    Query->Edit();
    Query->FieldByName("NOTES")->SetAsString("Roselière à l'est"_a);
    Query->Post();
  }
}

// Text typed in the window and dropped with Cancel (the question answered Yes) leaves the field.
TEST_F(RecordViewMemoTest, CancelInTheMemoWindowLeavesTheField) {
  String Shown;
  bool Opened = false;
  WhenShown([&](TqvRecordViewForm*) {
    WhenMemoShown([&](TqvMemoDlg* Memo) {
      Opened = true;
      ASSERT_TRUE(GiveFocus(Memo->Memo));
      TypeText("brouillon");
      Script.Push(mrYes);
      ClickControl(Memo->CancelBtn);
      WhenBackInRecordView([&](TqvRecordViewForm*) {
        Shown = ControlOf("NOTES")->Text();
        ClickControl(Dialog->OKButton());
      });
    });
    PressF2InNotes(0);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_TRUE(Opened);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Shown, "Roselière à l'est"_a);
  EXPECT_EQ(FileValue(1, "NOTES"), "Roselière à l'est"_a);
}

// A field that cannot be changed opens the window view-only: no Cancel, the memo read-only, and
// the field unchanged after OK.
TEST_F(RecordViewMemoTest, AReadOnlyFieldOpensTheWindowViewOnly) {
  bool ReadOnly = false, CancelVisible = true;
  WhenShown([&](TqvRecordViewForm*) {
    // Made read-only once its control is in place (a field read-only from the start gets a
    // disabled control, which takes no key).
    Query->FieldByName("NOTES")->SetReadOnly(true);
    WhenMemoShown([&](TqvMemoDlg* Memo) {
      ReadOnly = Memo->Memo->ReadOnly();
      CancelVisible = Memo->CancelBtn->Visible();
      ASSERT_TRUE(GiveFocus(Memo->Memo));
      TypeText("x");
      ClickControl(Memo->OKBtn);
      WhenBackInRecordView([&](TqvRecordViewForm*) { ClickControl(Dialog->OKButton()); });
    });
    PressF2InNotes(0);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_TRUE(ReadOnly);
  EXPECT_FALSE(CancelVisible);
  EXPECT_EQ(FileValue(1, "NOTES"), "Roselière à l'est"_a);
}

}  // namespace
