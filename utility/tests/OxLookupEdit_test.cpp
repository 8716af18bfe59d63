// Tests of the lookup edit on real windows, set up as the search window sets its region criterion
// (an SQLite query of regions, the name shown, the code as the key, a delimited list): completion
// of the typed text, the drop-down opened by Alt+Down and by its button, rows picked by keyboard
// and by mouse, Enter and Esc, the key of the text, the lookup data freed under the edit, and the
// edit read from a form description.
#include "OsPort.h"

#include <gtest/gtest.h>

#include <memory>

#include "Field.h"
#include "Filer.h"
#include "LookupTestSupport.h"
#include "OxLookupEdit.h"

namespace {

struct TRegion {
  const char* Code;
  const char* Name;
};

// In the order of their names, which is the order of the query.
const TRegion Regions[] = {
    {"84", "Auvergne-Rhône-Alpes"_a},  {"27", "Bourgogne-Franche-Comté"_a}, {"53", "Bretagne"},
    {"24", "Centre-Val de Loire"},      {"94", "Corse"},                      {"44", "Grand Est"},
    {"32", "Hauts-de-France"},          {"11", "Île-de-France"_a},           {"28", "Normandie"},
    {"75", "Nouvelle-Aquitaine"},       {"76", "Occitanie"},                  {"52", "Pays de la Loire"},
    {"93", "Provence-Alpes-Côte d'Azur"_a}};

// The table of regions, read by a query in the order of their names.
class TRegionDatabase : public lookup_test::QueryDatabase {
 public:
  TRegionDatabase() : QueryDatabase(Script(), "select REG_CODE, REG_LIB from D_REGION order by REG_LIB") {}

  // The code of the row the query stands on.
  String CurrentCode() const { return Query->FieldByName("REG_CODE")->AsString(); }

 private:
  static String Script() {
    String script = "CREATE TABLE D_REGION (REG_CODE VARCHAR(2) COLLATE VELBOR NOT NULL PRIMARY KEY, "
                    "REG_LIB VARCHAR(50) COLLATE VELBOR);\n";
    for (const TRegion& r : Regions)
      script += "insert into D_REGION (REG_CODE, REG_LIB) values (" + QuotedStr(r.Code) + ", " + QuotedStr(r.Name) + ");\n";
    return script;
  }
};

class LookupEdits : public StdFormTest {
 public:
  // The handlers of the edit's events.
  void Changed(TObject*) { ++Changes; }
  void DroppedDown(TObject*) { ++DropDowns; }
  void ClosedUp(TObject*) { ++CloseUps; }
  void GetImage(TObject* Sender, bool, TGraphic*&, int&) { ImageSenders.push_back(Sender); }

 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Database = std::make_unique<TRegionDatabase>();
    Edit = Add<TOxLookupEdit>(16, 24, 200);
    Edit->SetLookupSource(Database->Source);
    Edit->SetLookupField("REG_CODE");
    Edit->SetLookupDisplay("REG_LIB; REG_CODE");
    Edit->SetListStyle(lsDelimited);
    Edit->DropDownWidth = 300;
    Edit->SetMaxLength(40);
    Edit->OnChange = TNotifyEvent(this, &LookupEdits::Changed);
    Edit->OnDropDown = TNotifyEvent(this, &LookupEdits::DroppedDown);
    Edit->OnCloseUp = TNotifyEvent(this, &LookupEdits::ClosedUp);
    Other = Add<TTestEdit>(16, 200, 120);
    ShowForm();
    Focus();
  }
  void TearDown() override {
    StdFormTest::TearDown();
    Database.reset();
  }
  void Focus() {
    ASSERT_TRUE(GiveFocus(Edit));
  }

  bool PopupShown() { return Edit->PopupVisible() && IsWindowVisible(Edit->PopupWindow()->Handle()); }
  void OpenWithAltDown() {
    PressCombo(VK_MENU, VK_DOWN);
    ASSERT_TRUE(PumpUntil([this] { return PopupShown(); }));
  }
  // Types Text and waits until the edit shows Shown.
  void TypeUntil(const String& Text, const String& Shown) {
    TypeText(Text);
    EXPECT_TRUE(PumpUntil([&] { return Edit->Text() == Shown; })) << "typed " << Text << ", shows " << Edit->Text();
  }
  void PressUntil(WORD Key, const std::function<bool()>& Done) {
    Press(Key);
    EXPECT_TRUE(PumpUntil(Done)) << "key " << Key;
  }
  // The middle of a row of the open drop-down, on the screen.
  TPoint PopupRow(int Index) {
    TOxPopupDataWindow* popup = Edit->PopupWindow();
    int h = popup->ItemHeight();
    return popup->ClientToScreen(TPoint(40, Index * h + h / 2));
  }
  String Selected() { return Edit->SelText(); }

  std::unique_ptr<TRegionDatabase> Database;
  TOxLookupEdit* Edit = nullptr;
  TTestEdit* Other = nullptr;
  int Changes = 0;
  int DropDowns = 0;
  int CloseUps = 0;
  std::vector<TObject*> ImageSenders;
};

TEST_F(LookupEdits, TypingCompletesWhileTheListShowsOrAlwaysWithoutPopupOnlyLocate) {
  struct Case {
    bool PopupOnlyLocate;
    bool Open;
    const char* Shown;
    const char* Selected;
    bool ChangeFired;
  } cases[] = {
      // By default a closed edit only reports the change.
      {true, false, "bre", "", true},
      // Shown, the completed tail is selected and OnChange waits for the close.
      {true, true, "Bretagne", "tagne", false},
      {false, false, "Bretagne", "tagne", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.PopupOnlyLocate) + " " + std::to_string(c.Open));
    Edit->SetText("");
    Edit->PopupOnlyLocate = c.PopupOnlyLocate;
    Focus();
    if (c.Open) OpenWithAltDown();
    Changes = 0;
    TypeUntil("bre", c.Shown);
    EXPECT_EQ(Selected(), c.Selected);
    EXPECT_EQ(Changes > 0, c.ChangeFired);
    EXPECT_EQ(Edit->PopupVisible(), c.Open);
    if (c.Open) {
      EXPECT_EQ(Edit->PopupWindow()->Value(), "53");
      PressUntil(VK_ESCAPE, [this] { return !Edit->PopupVisible(); });
    }
  }
}

TEST_F(LookupEdits, EachTypedCharacterGoesOnCompletingAndDeletingDoesNot) {
  OpenWithAltDown();
  // "B" completes to the first B; "r" typed over its tail completes to the next row that fits.
  TypeUntil("B", "Bourgogne-Franche-Comté"_a);
  TypeUntil("r", "Bretagne");
  EXPECT_EQ(Selected(), "etagne");
  // Backspace removes the completed tail and the completion does not bring it back.
  PressUntil(VK_BACK, [this] { return Edit->Text() == "Br"; });
  EXPECT_EQ(Edit->Text(), "Br");
  TypeUntil("e", "Bretagne");
  PressUntil(VK_DELETE, [this] { return Edit->Text() == "Bre"; });
  EXPECT_EQ(Edit->Text(), "Bre");
  // A text no row begins with clears the list's key: Enter keeps what was typed.
  TypeUntil("x", "Brex");
  EXPECT_EQ(Edit->PopupWindow()->Value(), "");
  PressUntil(VK_RETURN, [this] { return !Edit->PopupVisible(); });
  EXPECT_EQ(Edit->Text(), "Brex");
  EXPECT_EQ(Edit->GetLookupValue(), "");
}

TEST_F(LookupEdits, AltDownOpensTheListOnTheTextsRowAndRowsPickedByKeyboardAreWrittenAtOnce) {
  Edit->SetOnGetImage(TGetImageEvent(static_cast<LookupEdits*>(this), &LookupEdits::GetImage));
  Edit->SetText("Bretagne");
  OpenWithAltDown();
  TOxPopupDataWindow* popup = Edit->PopupWindow();
  EXPECT_EQ(DropDowns, 1);
  // Under the edit, its right edge on the edit's, DropDownWidth wide, eight rows tall.
  TPoint below = Form->ClientToScreen(TPoint(Edit->Left() + Edit->Width(), Edit->Top() + Edit->Height()));
  EXPECT_EQ(popup->Left() + popup->Width(), below.X);
  EXPECT_EQ(popup->Top(), below.Y);
  EXPECT_EQ(popup->Width(), 300);
  EXPECT_EQ(popup->RowCount(), 8);
  EXPECT_EQ(popup->Value(), "53");
  EXPECT_TRUE(Edit->Focused());
  // The rows ask for their pictures with the edit as the sender.
  popup->Repaint();
  ASSERT_FALSE(ImageSenders.empty());
  EXPECT_EQ(ImageSenders.front(), Edit);

  PressUntil(VK_DOWN, [this] { return Edit->Text() == "Centre-Val de Loire"; });
  EXPECT_TRUE(PopupShown());
  EXPECT_EQ(CloseUps, 0);
  PressUntil(VK_RETURN, [this] { return !Edit->PopupVisible(); });
  EXPECT_FALSE(IsWindowVisible(popup->Handle()));
  EXPECT_EQ(Edit->Text(), "Centre-Val de Loire");
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(Edit->GetLookupValue(), "24");
  EXPECT_TRUE(Edit->Focused());

  // Esc closes without OnCloseUp; the row picked meanwhile stays in the text.
  OpenWithAltDown();
  EXPECT_EQ(popup->Value(), "24");
  // A page is the eight rows less one.
  PressUntil(VK_NEXT, [this] { return Edit->Text() == "Occitanie"; });
  PressUntil(VK_UP, [this] { return Edit->Text() == "Nouvelle-Aquitaine"; });
  PressUntil(VK_ESCAPE, [this] { return !Edit->PopupVisible(); });
  EXPECT_EQ(Edit->Text(), "Nouvelle-Aquitaine");
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(Edit->GetLookupValue(), "75");
}

TEST_F(LookupEdits, UpAndDownStepThroughTheRowsOfAClosedEdit) {
  PressUntil(VK_DOWN, [this] { return Edit->Text() == "Auvergne-Rhône-Alpes"_a; });
  PressUntil(VK_DOWN, [this] { return Edit->Text() == "Bourgogne-Franche-Comté"_a; });
  PressUntil(VK_DOWN, [this] { return Edit->Text() == "Bretagne"; });
  PressUntil(VK_UP, [this] { return Edit->Text() == "Bourgogne-Franche-Comté"_a; });
  // Each step is a change of the closed edit.
  EXPECT_EQ(Changes, 4);
  EXPECT_FALSE(Edit->PopupVisible());
  EXPECT_EQ(Edit->GetLookupValue(), "27");
  // A read-only edit neither steps nor opens.
  Edit->SetReadOnly(true);
  Press(VK_DOWN);
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_EQ(Edit->Text(), "Bourgogne-Franche-Comté"_a);
  EXPECT_FALSE(Edit->PopupVisible());
  EXPECT_EQ(DropDowns, 0);
}

TEST_F(LookupEdits, ARowClickedInTheListIsTakenAndClosesIt) {
  // The button opens the list too.
  ClickAt(Edit->Button()->ClientToScreen(TPoint(Edit->Button()->Width() / 2, Edit->Button()->Height() / 2)));
  ASSERT_TRUE(PumpUntil([this] { return PopupShown(); }));
  EXPECT_EQ(DropDowns, 1);
  ClickAt(PopupRow(4));
  ASSERT_TRUE(PumpUntil([this] { return !Edit->PopupVisible(); }));
  EXPECT_EQ(Edit->Text(), "Corse");
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(Edit->GetLookupValue(), "94");
  EXPECT_TRUE(Edit->Focused());
  // A click in the edit closes an open list without taking anything more.
  OpenWithAltDown();
  PressUntil(VK_DOWN, [this] { return Edit->Text() == "Grand Est"; });
  ClickAt(Edit->ClientToScreen(TPoint(20, Edit->Height() / 2)));
  EXPECT_TRUE(PumpUntil([this] { return !Edit->PopupVisible(); }));
  EXPECT_EQ(Edit->Text(), "Grand Est");
  EXPECT_EQ(CloseUps, 1);
}

TEST_F(LookupEdits, TheLookupValueIsTheKeyOfTheRowWhoseNameIsTheWholeText) {
  struct Case {
    const char* Text;
    const char* Key;
  } cases[] = {
      {"Bretagne", "53"},
      {"BRETAGNE", "53"},  // case aside
      {"Île-de-France"_a, "11"},
      {"Ile-de-France", ""},  // accents count
      {"Bret", ""},           // the whole text, not a beginning
      {"53", ""},             // the shown field, not the key
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    // Stand somewhere else first: a miss goes back to the first row.
    Database->Query->Last();
    Edit->SetText(c.Text);
    EXPECT_EQ(Edit->GetLookupValue(), c.Key);
    EXPECT_EQ(Database->CurrentCode(), *c.Key ? c.Key : "84");
  }
}

TEST_F(LookupEdits, TheLookupValueIsFoundAgainAfterAFailedCompletionAndAfterTheRowsChange) {
  OpenWithAltDown();
  TypeUntil("Bretagne", "Bretagne");
  EXPECT_EQ(Edit->GetLookupValue(), "53");
  // No row begins with "Bretagnex": the list's key goes; Backspace gives back the row's name.
  TypeUntil("x", "Bretagnex");
  PressUntil(VK_BACK, [this] { return Edit->Text() == "Bretagne"; });
  PressUntil(VK_ESCAPE, [this] { return !Edit->PopupVisible(); });
  EXPECT_EQ(Edit->GetLookupValue(), "53");
  // The same text asked again once the query no longer holds its row.
  Database->Query->Close();
  Database->Query->SQL()->SetText("select REG_CODE, REG_LIB from D_REGION where REG_CODE <> '53' order by REG_LIB");
  Database->Query->Open();
  EXPECT_EQ(Edit->GetLookupValue(), "");
  EXPECT_EQ(Database->CurrentCode(), "84");
}

TEST_F(LookupEdits, TheLookupDataFreedFirstLeavesAWorkingEdit) {
  Edit->SetText("Bretagne");
  OpenWithAltDown();
  // The query goes while the list is open.
  delete Database->Query;
  Database->Query = nullptr;
  EXPECT_FALSE(Edit->PopupWindow()->ListActive());
  Edit->PopupWindow()->Repaint();
  Press(VK_DOWN);
  Press(VK_END);
  TypeText("x");
  PressUntil(VK_ESCAPE, [this] { return !Edit->PopupVisible(); });
  EXPECT_EQ(Edit->Text(), "Bretagnex");
  EXPECT_EQ(Edit->GetLookupValue(), "");
  OpenWithAltDown();
  PressUntil(VK_RETURN, [this] { return !Edit->PopupVisible(); });
  EXPECT_EQ(Edit->Text(), "Bretagnex");
  // Then its source: the edit forgets it.
  EXPECT_EQ(Edit->LookupSource(), Database->Source);
  delete Database->Source;
  Database->Source = nullptr;
  EXPECT_EQ(Edit->LookupSource(), nullptr);
  Press(VK_UP);
  Press(VK_END);
  TypeText("y");
  OpenWithAltDown();
  PressUntil(VK_ESCAPE, [this] { return !Edit->PopupVisible(); });
  EXPECT_EQ(Edit->Text(), "Bretagnexy");
  EXPECT_EQ(Edit->GetLookupValue(), "");
}

TEST_F(LookupEdits, ACriterionReadFromAFormDescription) {
  RegisterOxLookupEdit();
  RegisterClass(TDataSource::StaticClass());
  TFormPtr<TForm> search(new TForm(nullptr));
  ReadComponentFromText(search.get(),
                        "object frmRecherche: TForm\n"
                        "  object qRegion: TDataSource\n"
                        "  end\n"
                        "  object OxLkeRegion: TOxLookupEdit\n"
                        "    Left = 8\n"
                        "    Top = 40\n"
                        "    Width = 180\n"
                        "    LookupSource = qRegion\n"
                        "    LookupField = 'REG_CODE'\n"
                        "    LookupDisplay = 'REG_LIB'\n"
                        "    ListStyle = lsDelimited\n"
                        "    DropDownWidth = 500\n"
                        "    MaxLength = 30\n"
                        "    Text = 'Corse'\n"
                        "  end\n"
                        "end\n",
                        "recherche");
  auto* edit = dynamic_cast<TOxLookupEdit*>(search->FindComponent("OxLkeRegion"));
  auto* source = dynamic_cast<TDataSource*>(search->FindComponent("qRegion"));
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(edit->LookupSource(), source);
  EXPECT_EQ(edit->LookupField(), "REG_CODE");
  EXPECT_EQ(edit->LookupDisplay(), "REG_LIB");
  EXPECT_EQ(edit->ListStyle(), lsDelimited);
  EXPECT_EQ(edit->DropDownWidth, 500);
  EXPECT_EQ(edit->MaxLength(), 30);
  EXPECT_EQ(edit->Text(), "Corse");
  EXPECT_EQ(edit->GetLookupValue(), "");
  // The window points its source at the query once it exists.
  source->SetDataSet(Database->Query);
  EXPECT_EQ(edit->GetLookupValue(), "94");
  // The drop-down arrow is the lookup edit's own: a description leaves it out.
  EXPECT_EQ(edit->GlyphKind(), gkDropDown);
  EXPECT_EQ(edit->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL));
  auto written = [](TObject* Instance, const char* Name) {
    const TPropInfo* p = GetPropInfo(Instance, Name);
    return p->IsStored(Instance) && !IsDefaultPropValue(Instance, p);
  };
  EXPECT_FALSE(written(edit, "GlyphKind"));
  EXPECT_FALSE(written(edit, "ButtonWidth"));
  EXPECT_TRUE(written(edit, "DropDownWidth"));
  EXPECT_TRUE(written(edit, "ListStyle"));
  search.reset();
}

}  // namespace
