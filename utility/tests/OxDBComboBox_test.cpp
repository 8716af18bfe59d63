// Tests of the data-aware combo box with stored values, on the virtual desktop over a query of a
// temporary SQLite file: the item shown for each stored value, the value written for the item
// chosen with real keys and clicks, values missing on either side, datasets that may not be
// edited, Escape, a value the field refuses on leaving, the style and EnableValues rules, and
// the published properties.
#include "SqliteQueryData.h"
#include "TestFolder.h"

#include "ADODB.h"
#include "Filer.h"
#include "OxDBComboBox.h"
#include "SqliteSession.h"
#include "StdCtrlsTestSupport.h"

namespace {

class OxDBComboBoxTest : public TestFolder, public SqliteQueryData, public TObject {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    OpenQueryData(PathOf("combo.db"),
                  {"CREATE TABLE Z (ID INTEGER PRIMARY KEY, ETAT VARCHAR(1), CODE VARCHAR(1), QTY INTEGER)",
                   "INSERT INTO Z VALUES (1, 'A', '0', 10)",
                   "INSERT INTO Z VALUES (2, 'G', 'X', 20)",
                   "INSERT INTO Z VALUES (3, 'Q', '9', 30)",
                   "INSERT INTO Z VALUES (4, NULL, NULL, 40)"},
                  "SELECT ID, ETAT, CODE, QTY FROM Z ORDER BY ID");

    Form.reset(CreateForm<TForm>(nullptr));
    Form->SetBounds(100, 100, 420, 320);
    Other = new TEdit(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(10, 250, 100, 21);
    Combo = new TOxDBComboBox(Form.get());
    Combo->SetParent(Form.get());
    Combo->SetBounds(10, 10, 150, 21);
    // The choices are filled before the binding, as a form description sets them.
    Combo->Items()->SetText("Active\r\nGel\xE9" "e");
    Combo->Values()->SetText("A\r\nG");
    Combo->SetDataSource(Source.get());
    Combo->SetDataField("ETAT");
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    CloseQueryData();
    TestFolder::TearDown();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  void ShowAndFocus() {
    Form->Show();
    Activate(Form.get());
    ASSERT_TRUE(GiveFocus(Combo));
  }
  void GoTo(int Id) {
    ASSERT_TRUE(Query->Locate("ID", Id, {}));
  }
  String FileValue(const String& Sql) {
    SqliteSession Session(DatabasePath);
    SqliteStatement Statement = Session.Prepare(Sql);
    return Statement.Step() ? Statement.ColumnValue(0).AsString() : String("<none>");
  }
  String Etat() { return Query->FieldByName("ETAT")->AsString(); }
  // Drops the list with a click on the combo, then clicks the item at Index in it.
  void ClickItem(int Index) {
    ClickControl(Combo);
    ASSERT_TRUE(Combo->DroppedDown());
    RECT list{};
    SendMessageA(Combo->Handle(), CB_GETDROPPEDCONTROLRECT, 0, LPARAM(&list));
    int height = int(SendMessageA(Combo->Handle(), CB_GETITEMHEIGHT, 0, 0));
    TPoint at(list.left + 20, Combo->ClientToScreen(TPoint(0, Combo->Height())).Y + 2 + Index * height + height / 2);
    ClickAt(at);
  }

  // Public: the tables of cases reach them.
 public:
  TModalScript Script;
  TFormPtr<TForm> Form;
  TEdit* Other = nullptr;
  TOxDBComboBox* Combo = nullptr;
};

TEST_F(OxDBComboBoxTest, ShowsTheItemWhoseValueTheFieldHolds) {
  Form->Show();
  PumpPending();
  struct Case {
    int Id;
    int Index;
    const char* Text;
  } const cases[] = {
      {2, 1, "Gel\xE9" "e"},
      {1, 0, "Active"},
      {3, -1, ""},  // a value that is not in Values shows no selection
      {4, -1, ""},  // nor does a null field
      {1, 0, "Active"},
  };
  for (const Case& c : cases) {
    GoTo(c.Id);
    EXPECT_EQ(Combo->ItemIndex(), c.Index) << c.Id;
    EXPECT_EQ(Combo->Text(), c.Text) << c.Id;
  }
}

TEST_F(OxDBComboBoxTest, TheChosenItemsValueIsWrittenOnLeavingAndPosted) {
  ShowAndFocus();
  EXPECT_EQ(Query->State(), dsBrowse);
  Press(VK_DOWN);
  EXPECT_EQ(Combo->ItemIndex(), 1) << "the choice survives the start of editing";
  EXPECT_EQ(Query->State(), dsEdit);
  EXPECT_EQ(Etat(), "A") << "the field waits for the control to be left";
  Press(VK_TAB);
  EXPECT_TRUE(Other->Focused());
  EXPECT_EQ(Etat(), "G");
  EXPECT_EQ(FileValue("SELECT ETAT FROM Z WHERE ID = 1"), "A");
  Query->Post();
  EXPECT_EQ(FileValue("SELECT ETAT FROM Z WHERE ID = 1"), "G");

  // With the mouse, from the dropped list.
  GoTo(2);
  EXPECT_EQ(Combo->ItemIndex(), 1);
  ClickItem(0);
  EXPECT_FALSE(Combo->DroppedDown());
  EXPECT_EQ(Combo->ItemIndex(), 0);
  ASSERT_TRUE(GiveFocus(Other));
  EXPECT_EQ(Etat(), "A");
  Query->Post();
  EXPECT_EQ(FileValue("SELECT ETAT FROM Z WHERE ID = 2"), "A");
}

TEST_F(OxDBComboBoxTest, MissingValuesOnEitherSide) {
  Combo->Items()->SetText("Inconnu\r\nRattach\xE9\r\nSans Objet\r\nAutre");
  Combo->Values()->SetText("0\r\n1\r\nX");
  Combo->SetDataField("CODE");
  GoTo(3);  // CODE '9': in no Values entry
  ShowAndFocus();
  EXPECT_EQ(Combo->ItemIndex(), -1);
  // Passing through the control without choosing leaves the unknown code alone.
  Press(VK_TAB);
  EXPECT_EQ(Query->FieldByName("CODE")->AsString(), "9");
  EXPECT_EQ(Query->State(), dsBrowse);

  // An item past the last value stores an empty text.
  GoTo(2);
  EXPECT_EQ(Combo->ItemIndex(), 2);
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_DOWN);
  EXPECT_EQ(Combo->Text(), "Autre");
  Press(VK_TAB);
  EXPECT_EQ(Query->FieldByName("CODE")->AsString(), "");
  Query->Post();
  EXPECT_EQ(FileValue("SELECT COALESCE(CODE, 'null') FROM Z WHERE ID = 2"), "");
}

TEST_F(OxDBComboBoxTest, NoChangeReachesADatasetThatMayNotBeEdited) {
  struct Case {
    const char* Why;
    void (*Prepare)(OxDBComboBoxTest* T);
  } const cases[] = {
      {"read-only control", [](OxDBComboBoxTest* T) { T->Combo->SetReadOnly(true); }},
      {"read-only query",
       [](OxDBComboBoxTest* T) {
         T->Query->Close();
         T->Query->SetLockType(ltReadOnly);
         T->Query->Open();
       }},
      {"no automatic editing", [](OxDBComboBoxTest* T) { T->Source->AutoEdit = false; }},
  };
  ShowAndFocus();
  for (const Case& c : cases) {
    Combo->SetReadOnly(false);
    Source->AutoEdit = true;
    if (Query->LockType() != ltOptimistic) {
      Query->Close();
      Query->SetLockType(ltOptimistic);
      Query->Open();
    }
    c.Prepare(this);
    GoTo(1);
    ASSERT_TRUE(GiveFocus(Combo));
    ASSERT_EQ(Combo->ItemIndex(), 0) << c.Why;
    Press(VK_DOWN);
    EXPECT_EQ(Combo->ItemIndex(), 0) << c.Why << ": arrow";
    TypeText("G");
    EXPECT_EQ(Combo->ItemIndex(), 0) << c.Why << ": typed";
    ClickItem(1);
    EXPECT_EQ(Combo->ItemIndex(), 0) << c.Why << ": list";
    EXPECT_FALSE(Combo->DroppedDown()) << c.Why << ": the refused list closes";
    EXPECT_EQ(Query->State(), dsBrowse) << c.Why;
    Press(VK_TAB);
    EXPECT_EQ(Etat(), "A") << c.Why;
    EXPECT_TRUE(Script.Asked.empty()) << c.Why << ": " << Script.Asked.front().Text;
  }
  // Without automatic editing, a dataset the program put in edit mode takes the choice.
  Query->Edit();
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_DOWN);
  EXPECT_EQ(Combo->ItemIndex(), 1);
  Press(VK_TAB);
  EXPECT_EQ(Etat(), "G");
}

TEST_F(OxDBComboBoxTest, EscapeShowsTheFieldAgain) {
  ShowAndFocus();
  Press(VK_DOWN);
  ASSERT_EQ(Combo->ItemIndex(), 1);
  Press(VK_ESCAPE);
  EXPECT_EQ(Combo->ItemIndex(), 0);
  Press(VK_TAB);
  EXPECT_EQ(Etat(), "A");
}

TEST_F(OxDBComboBoxTest, AValueTheFieldRefusesKeepsTheFocus) {
  Combo->Items()->SetText("Dix\r\nBeaucoup");
  Combo->Values()->SetText("10\r\nbeaucoup");
  Combo->SetDataField("QTY");
  ShowAndFocus();
  ASSERT_EQ(Combo->ItemIndex(), 0);
  Press(VK_DOWN);
  Script.Push(mrOk);
  Press(VK_TAB);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_NE(Script.Asked[0].Text.find("beaucoup"), String::npos) << Script.Asked[0].Text;
  EXPECT_TRUE(Combo->Focused()) << "the user stays to choose again";
  EXPECT_EQ(Query->FieldByName("QTY")->AsInteger(), 10);
}

TEST_F(OxDBComboBoxTest, StyleAndEnableValuesFollowEachOther) {
  GoTo(2);  // ETAT 'G'
  Form->Show();
  PumpPending();
  Combo->SetStyle(csDropDown);
  EXPECT_FALSE(Combo->EnableValues());
  EXPECT_EQ(Combo->Text(), "G") << "without values the field's own text is shown";
  Combo->SetEnableValues(true);
  EXPECT_EQ(Combo->Style(), csDropDownList);
  EXPECT_EQ(Combo->ItemIndex(), 1);
  Combo->SetStyle(csSimple);
  EXPECT_FALSE(Combo->EnableValues());
  Combo->SetStyle(csDropDownList);
  Combo->SetEnableValues(true);
  // New values or new items show the field again.
  Combo->Values()->SetText("G\r\nA");
  EXPECT_EQ(Combo->ItemIndex(), 0);
  TStringList items;
  items.SetText("Gel\xE9" "e\r\nActive\r\nAutre");
  Combo->SetItems(&items);
  EXPECT_EQ(Combo->Text(), "Gel\xE9" "e");
  // Off on a list style: the field stores the item's text, and 'G' is no item.
  Combo->SetEnableValues(false);
  EXPECT_EQ(Combo->ItemIndex(), -1);
}

TEST_F(OxDBComboBoxTest, ThePanelGridCopyShowsTheItemOfTheValue) {
  GoTo(2);
  EXPECT_EQ(Combo->GetFieldText(), "Gel\xE9" "e");
  GoTo(3);
  EXPECT_EQ(Combo->GetFieldText(), "");
  Combo->SetEnableValues(false);
  EXPECT_EQ(Combo->GetFieldText(), "Q");
}

TEST(OxDBComboBoxForm, ReadsItsChoicesAndStoredValuesFromADescription) {
  RegisterOxDBComboBox();
  TFormPtr<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentFromText(form.get(),
                        "object Fiche: TForm\n"
                        "  object cbEtat: TOxDBComboBox\n"
                        "    Items = (\n"
                        "      'Active'\n"
                        "      'Gel\xE9" "e')\n"
                        "    Values = (\n"
                        "      'A'\n"
                        "      'G')\n"
                        "  end\n"
                        "  object cbLibre: TOxDBComboBox\n"
                        "    Style = csDropDown\n"
                        "    ReadOnly = True\n"
                        "  end\n"
                        "end\n",
                        "fiche");
  auto* etat = dynamic_cast<TOxDBComboBox*>(form->FindComponent("cbEtat"));
  auto* libre = dynamic_cast<TOxDBComboBox*>(form->FindComponent("cbLibre"));
  ASSERT_NE(etat, nullptr);
  ASSERT_NE(libre, nullptr);
  EXPECT_EQ(etat->Style(), csDropDownList);
  EXPECT_TRUE(etat->EnableValues());
  EXPECT_EQ(etat->Items()->Strings(1), "Gel\xE9" "e");
  EXPECT_EQ(etat->Values()->Strings(1), "G");
  EXPECT_FALSE(libre->EnableValues());
  EXPECT_TRUE(libre->ReadOnly());
  String text = WriteComponentToText(etat);
  EXPECT_EQ(text.find("Style"), String::npos) << text;
  EXPECT_EQ(text.find("EnableValues"), String::npos) << text;
  EXPECT_NE(text.find("'G'"), String::npos) << text;
  text = WriteComponentToText(libre);
  EXPECT_NE(text.find("Style = csDropDown"), String::npos) << text;
  EXPECT_NE(text.find("EnableValues = False"), String::npos) << text;
}

}  // namespace
