// Tests of the record-view dialog in a program that links the edit and rich-text libraries: the
// dialog makes their controls by registered class name (the data-aware edit, the date and time
// picker, the rich edit), shows the record in them and posts what is typed; controls of the
// owner's form named in ControlType lines are lent to the window and given back.
#include "RecordViewTestSupport.h"

#include "ScrollBox.h"
#include "qvdbdatetimepicker.h"
#include "qvdbedit.h"
#include "qvdblook.h"
#include "qvframe.h"
#include "qvriched.h"

namespace {

// The classes the dialog asks for by name are linked into this program.
const TClass kLinked[] = {TqvDBEdit::StaticClass(), TqvDBDateTimePicker::StaticClass(),
                          TqvDBRichEdit::StaticClass(), TqvEditFrame::StaticClass()};

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

}  // namespace
