// Tests of the record-view dialog in a program that links the edit and rich-text libraries: the
// dialog makes their controls by registered class name (the data-aware edit, the date and time
// picker, the rich edit), shows the record in them and posts what is typed.
#include "RecordViewTestSupport.h"

#include "ScrollBox.h"
#include "qvdbdatetimepicker.h"
#include "qvdbedit.h"
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

}  // namespace
