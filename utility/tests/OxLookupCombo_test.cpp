// Tests of the lookup combo on real windows: set up as the export's range dialog sets it (codes of
// an SQLite query, an empty entry " "), its list opened by Alt+Down and F4 and a code chosen by
// keyboard, by mouse and by typing; Esc and Enter; the data-aware combo writing its key; where the
// list opens; every display field shown at once; lookup data freed under the combo; and the combo
// read from a form description.
#include "OsPort.h"

#include <gtest/gtest.h>

#include <random>

#include "Field.h"
#include "Filer.h"
#include "LookupTestSupport.h"
#include "OxLookupCombo.h"

namespace {

using namespace lookup_test;

const std::vector<String> Codes = {"01A0001", "01A0002", "02B0001", "02B0010", "13C0001",
                                   "13C0002", "69D0001", "69D0002", "69D0003", "75E0001"};

// Takes the keys the form hands on to its buttons (Enter for the default one, Esc for cancel).
class TDialogKeyCatcher : public TWinControl {
 public:
  explicit TDialogKeyCatcher(TComponent* AOwner) : TWinControl(AOwner) {}
  std::vector<WPARAM> Keys;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_DIALOGKEY) {
      Keys.push_back(Message.WParam);
      Message.Result = 1;
      return;
    }
    TWinControl::Dispatch(Message);
  }
};

class OxLookupComboTest : public LookupFormTest {
 protected:
  void SetUp() override {
    LookupFormTest::SetUp();
    Database = MakeCodeDatabase(Codes);
    Catcher = Add<TDialogKeyCatcher>(300, 260, 20, 20);
    Catcher->SetTabStop(true);
    Combo = Add<TOxDBLookupCombo>(16, 24, 145, 21);
    Combo->SetLookupSource(Database->Source);
    Combo->SetLookupField("zh_code");
    Combo->SetLookupDisplay("zh_code");
    Combo->DropDownCount = 8;
    Combo->SetDisplayEmpty(" ");
    Combo->OnChange = TNotifyEvent(&Log, &TLookupLog::Changed);
    Combo->OnDropDown = TNotifyEvent(&Log, &TLookupLog::DroppedDown);
    Combo->OnCloseUp = TNotifyEvent(&Log, &TLookupLog::ClosedUp);
    PumpPending();
  }
  void TearDown() override {
    LookupFormTest::TearDown();
    Database.reset();
  }
  void Focus() {
    ASSERT_TRUE(GiveFocus(Combo));
  }
  // The middle of a row of the open list, on the screen.
  TPoint ListRow(int Index) {
    TOxDBLookupList* list = Combo->List();
    return OnScreen(list, 40, Index * list->ItemHeight() + list->ItemHeight() / 2);
  }
  TPoint ComboMiddle() { return OnScreen(Combo, Combo->Width() / 2, Combo->Height() / 2); }
  bool ListShown() { return Combo->ListVisible() && IsWindowVisible(Combo->List()->Handle()); }

  std::unique_ptr<QueryDatabase> Database;
  TDialogKeyCatcher* Catcher = nullptr;
  TOxDBLookupCombo* Combo = nullptr;
};

TEST_F(OxLookupComboTest, TheEmptyEntryShowsUntilACodeIsChosenByKeyboard) {
  EXPECT_TRUE(Combo->ListActive());
  EXPECT_EQ(Combo->Value(), "");
  EXPECT_EQ(Combo->Text(), " ");
  Focus();

  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown());
  EXPECT_EQ(Log.DropDowns, 1);
  // Under the combo, as wide, eight rows tall.
  TPoint below = Combo->Parent()->ClientToScreen(TPoint(Combo->Left(), Combo->Top() + Combo->Height()));
  EXPECT_EQ(Combo->List()->Left(), below.X);
  EXPECT_EQ(Combo->List()->Top(), below.Y);
  EXPECT_EQ(Combo->List()->Width(), 145);
  EXPECT_EQ(Combo->List()->RowCount(), 8);
  // The list's rows change nothing until it closes with Enter.
  Press(VK_DOWN);
  Press(VK_DOWN);
  EXPECT_EQ(Combo->Value(), "");
  EXPECT_EQ(Combo->List()->Value(), "01A0002");
  Press(VK_RETURN);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Combo->Value(), "01A0002");
  EXPECT_EQ(Combo->Text(), "01A0002");
  EXPECT_EQ(Log.CloseUps, 1);
  EXPECT_GE(Log.Changes, 1);
  EXPECT_TRUE(Combo->Focused());

  // F4 opens it too; Esc closes it and keeps the value.
  Press(VK_F4);
  ASSERT_TRUE(ListShown());
  Press(VK_END);
  EXPECT_EQ(Combo->List()->Value(), "75E0001");
  Press(VK_ESCAPE);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Combo->Value(), "01A0002");
  // Alt+Down a second time closes the list, taking its row.
  PressCombo(VK_MENU, VK_DOWN);
  Press(VK_DOWN);
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Combo->Value(), "02B0001");
  // Up and Down on the closed combo step through the codes.
  Press(VK_DOWN);
  EXPECT_EQ(Combo->Value(), "02B0010");
  Press(VK_UP);
  Press(VK_UP);
  EXPECT_EQ(Combo->Value(), "01A0002");
  EXPECT_TRUE(Catcher->Keys.empty());

  // Tab leaves the combo with its list open: the list closes and the focus goes on.
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown());
  Press(VK_TAB);
  EXPECT_FALSE(ListShown());
  EXPECT_TRUE(Catcher->Focused());
  EXPECT_EQ(Combo->Value(), "01A0002");
}

TEST_F(OxLookupComboTest, AClickOpensTheListAndAClickOnARowChoosesIt) {
  ClickAt(ComboMiddle());
  ASSERT_TRUE(ListShown());
  EXPECT_TRUE(Combo->Focused());
  // Row 0 is the empty entry: row 3 is the third code.
  ClickAt(ListRow(3));
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Combo->Value(), "02B0001");
  EXPECT_EQ(Combo->Text(), "02B0001");
  EXPECT_TRUE(Combo->Focused());

  ClickAt(ComboMiddle());
  ASSERT_TRUE(ListShown());
  ClickAt(ListRow(0));
  EXPECT_EQ(Combo->Value(), "");
  EXPECT_EQ(Combo->Text(), " ");

  // Pressed on the combo, dragged into the list and released on a row.
  MoveMouseTo(ComboMiddle());
  PressButton(ComboMiddle());
  ASSERT_TRUE(ListShown());
  MoveMouseTo(ListRow(2));
  PumpPending();
  ReleaseButton(ListRow(2));
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Combo->Value(), "01A0002");

  // Esc while the button is still held on the combo: the list closes once and lets the mouse go.
  int closeUps = Log.CloseUps;
  MoveMouseTo(ComboMiddle());
  PressButton(ComboMiddle());
  ASSERT_TRUE(ListShown());
  EXPECT_EQ(GetCapture(), Combo->Handle());
  Press(VK_ESCAPE);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Log.CloseUps, closeUps + 1);
  EXPECT_EQ(GetCapture(), nullptr);
  ReleaseButton(ComboMiddle());
  EXPECT_EQ(Combo->Value(), "01A0002");

  // A click on the combo while the list is open closes it and changes nothing; so does a click
  // elsewhere on the form.
  ClickAt(ComboMiddle());
  ASSERT_TRUE(ListShown());
  ClickAt(ComboMiddle());
  EXPECT_FALSE(ListShown());
  ClickAt(ComboMiddle());
  ASSERT_TRUE(ListShown());
  ClickAt(OnScreen(Form.get(), 300, 150));
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Combo->Value(), "01A0002");
}

TEST_F(OxLookupComboTest, TypingACodeOpensTheListOnIt) {
  Focus();
  TypeText("13");
  ASSERT_TRUE(ListShown());
  EXPECT_EQ(Combo->List()->Value(), "13C0001");
  Press(VK_RETURN);
  EXPECT_EQ(Combo->Value(), "13C0001");

  TypeText("69D0002");
  Press(VK_RETURN);
  EXPECT_EQ(Combo->Value(), "69D0002");

  // A code that does not exist leaves the choice as it was.
  TypeText("99");
  EXPECT_EQ(Combo->List()->Value(), "69D0002");
  Press(VK_RETURN);
  EXPECT_EQ(Combo->Value(), "69D0002");
  EXPECT_TRUE(Catcher->Keys.empty());
  // The form goes with the list still open.
  TypeText("0");
  EXPECT_TRUE(ListShown());
}

TEST_F(OxLookupComboTest, EscClearsAChosenCodeThenGoesOnToTheForm) {
  Combo->SetValue("02B0010");
  EXPECT_EQ(Combo->Text(), "02B0010");
  Focus();
  Press(VK_ESCAPE);
  EXPECT_EQ(Combo->Value(), "");
  EXPECT_EQ(Combo->Text(), " ");
  EXPECT_TRUE(Catcher->Keys.empty());
  Press(VK_ESCAPE);
  EXPECT_EQ(Catcher->Keys, std::vector<WPARAM>{VK_ESCAPE});
  Press(VK_RETURN);
  EXPECT_EQ(Catcher->Keys, (std::vector<WPARAM>{VK_ESCAPE, VK_RETURN}));
  // Without EscapeClear, Esc goes to the form at once.
  Combo->SetValue("02B0010");
  Combo->EscapeClear = false;
  Press(VK_ESCAPE);
  EXPECT_EQ(Combo->Value(), "02B0010");
  EXPECT_EQ(Catcher->Keys.size(), 3u);
}

TEST_F(OxLookupComboTest, TheListOpensWhereTheScreenLeavesRoom) {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  struct Case {
    int FormTop;
    TDropDownAlign Align;
    int Width;
    bool Above;
  };
  const Case cases[] = {{100, daLeft, 0, false},         {100, daRight, 250, false}, {100, daCenter, 245, false},
                        {screenHeight - 90, daLeft, -1, true}, {100, daRight, 100, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Align * 1000 + c.Width);
    Form->SetTop(c.FormTop);
    PumpPending();
    Combo->DropDownAlign = c.Align;
    Combo->DropDownWidth = c.Width;
    Focus();
    PressCombo(VK_MENU, VK_DOWN);
    ASSERT_TRUE(ListShown());
    TRect combo(Combo->Parent()->ClientToScreen(TPoint(Combo->Left(), Combo->Top())),
                Combo->Parent()->ClientToScreen(TPoint(Combo->Left() + Combo->Width(), Combo->Top() + Combo->Height())));
    TOxDBLookupList* list = Combo->List();
    int width = c.Width > 0 ? c.Width : c.Width < 0 ? std::max(145, Combo->NaturalListWidth()) : 145;
    EXPECT_EQ(list->Width(), width);
    if (c.Above) EXPECT_EQ(list->Top() + list->Height(), combo.Top);
    else EXPECT_EQ(list->Top(), combo.Bottom);
    // Aligned as asked, then kept on the screen.
    int left = c.Align == daLeft ? combo.Left : c.Align == daRight ? combo.Right - width : combo.Left - (width - 145) / 2;
    if (left + width > screenWidth) left = screenWidth - width;
    EXPECT_EQ(list->Left(), std::max(left, 0));
    Press(VK_ESCAPE);
  }
}

// A combo over the code of a record, choosing among the labels of a dictionary.
class OxLookupComboDataTest : public LookupFormTest {
 protected:
  void SetUp() override {
    LookupFormTest::SetUp();
    Dictionary = MakeDictionary({"Aulne", "Bouleau", "Canal", "Carex", "Chenal", "Digue"});
    DictionarySource = new TDataSource(nullptr);
    DictionarySource->SetDataSet(Dictionary.get());
    Record = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"ID", ftInteger}, {"CODE", ftString, 6}});
    Record->AddRow({Variant(1), Variant("C02")});
    Record->AddRow({Variant(2), Variant("C05")});
    Record->Open();
    RecordSource = new TDataSource(nullptr);
    RecordSource->SetDataSet(Record.get());
    Combo = Add<TOxDBLookupCombo>(16, 24, 200, 21);
    Combo->SetDataSource(RecordSource);
    Combo->SetDataField("CODE");
    Combo->SetLookupSource(DictionarySource);
    Combo->SetLookupField("CODE");
    Combo->SetLookupDisplay("LIB");
    PumpPending();
  }
  void TearDown() override {
    LookupFormTest::TearDown();
    delete RecordSource;
    delete DictionarySource;
    Record.reset();
    Dictionary.reset();
  }
  TField* Code() { return Record->FieldByName("CODE"); }

  std::unique_ptr<TVectorDataSet> Dictionary;
  std::unique_ptr<TVectorDataSet> Record;
  TDataSource* DictionarySource = nullptr;
  TDataSource* RecordSource = nullptr;
  TOxDBLookupCombo* Combo = nullptr;
};

TEST_F(OxLookupComboDataTest, TheChosenKeyIsWrittenIntoTheField) {
  EXPECT_EQ(Combo->Field(), Code());
  EXPECT_EQ(Combo->Value(), "C02");
  EXPECT_EQ(Combo->Text(), "Bouleau");
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_DOWN);
  EXPECT_EQ(Record->State(), dsEdit);
  EXPECT_EQ(Code()->AsString(), "C03");
  EXPECT_EQ(Combo->Text(), "Canal");
  PressCombo(VK_MENU, VK_DOWN);
  Press(VK_END);
  Press(VK_RETURN);
  EXPECT_EQ(Code()->AsString(), "C06");
  EXPECT_EQ(Combo->DisplayValue(), "Digue");
  Record->Post();

  // The record's moves show in the combo.
  Record->Next();
  EXPECT_EQ(Combo->Value(), "C05");
  EXPECT_EQ(Combo->Text(), "Chenal");
  Code()->DataSet()->Edit();
  Code()->SetAsString("C01");
  EXPECT_EQ(Combo->Text(), "Aulne");
  // A code the dictionary lacks shows as nothing chosen.
  Code()->SetAsString("X99");
  EXPECT_EQ(Combo->Value(), "");
  EXPECT_EQ(Combo->Text(), "");
  Record->Cancel();

  // Esc empties the field: a null, the empty value being empty.
  Press(VK_ESCAPE);
  EXPECT_TRUE(Code()->IsNull());
  EXPECT_EQ(Combo->Value(), "");

  // Read-only: the list does not open and the keys change nothing.
  Record->Cancel();
  Combo->SetReadOnly(true);
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_FALSE(Combo->ListVisible());
  Press(VK_DOWN);
  EXPECT_EQ(Code()->AsString(), "C05");
  EXPECT_EQ(Record->State(), dsBrowse);
}

TEST_F(OxLookupComboDataTest, EveryDisplayFieldShowsInTheClosedCombo) {
  Combo->SetLookupDisplay("CODE;LIB");
  Combo->SetLookupDisplayIndex(1);
  EXPECT_EQ(Combo->Text(), "Bouleau");
  Combo->SetDisplayAllFields(true);
  struct Case {
    TLookupListStyle Style;
    char Delimiter;
    String Format;
    String Text;
  };
  const Case cases[] = {{lsFixed, ',', "", "C02, Bouleau"},
                        {lsDelimited, ';', "", "C02; Bouleau"},
                        {lsDelimited, ';', "%s (%s)", "C02 (Bouleau)"},
                        {lsFixed, ',', "%%%s", "%C02"}};
  for (const Case& c : cases) {
    Combo->SetListStyle(c.Style);
    Combo->SetFieldsDelimiter(c.Delimiter);
    Combo->SetLookupFormat(c.Format);
    EXPECT_EQ(Combo->Text(), c.Text);
  }
  // In columns, like a row of the list: a separator line after the code's column.
  Combo->SetLookupFormat("");
  Combo->SetListStyle(lsFixed);
  Combo->Repaint();
  TWindowDC dc(Combo->Handle());
  TSelectedObject font(dc, Combo->Font()->Handle());
  SIZE m{};
  GetTextExtentPoint32A(dc, "M", 1, &m);
  int separator = 1 + Code()->DisplayWidth() * m.cx + 4;
  EXPECT_EQ(GetPixel(dc, separator, Combo->ClientHeight() / 2), ColorToRGB(clBtnFace));
  EXPECT_EQ(GetPixel(dc, separator - 2, Combo->ClientHeight() / 2), ColorToRGB(clWindow));
}

// Gives every row the same picture: red with a transparent corner, 12 pixels wide, in a margin
// of 16; notes which rows asked for it.
class TPictureGiver : public TObject {
 public:
  TPictureGiver() {
    Picture.SetSize(12, 12);
    Picture.Canvas()->Brush()->SetColor(clRed);
    Picture.Canvas()->FillRect(TRect(0, 0, 12, 12));
    Picture.Canvas()->SetPixels(0, 11, clLime);
  }
  void GetImage(TObject*, bool IsEmpty, TGraphic*& Graphic, int& TextMargin) {
    (IsEmpty ? EmptyAsks : RowAsks)++;
    Graphic = &Picture;
    TextMargin = 16;
  }
  TBitmap Picture;
  int EmptyAsks = 0;
  int RowAsks = 0;
};

TEST_F(OxLookupComboDataTest, ARowsPictureIsDrawnBesideItsText) {
  TPictureGiver giver;
  Combo->OnGetImage = TGetImageEvent(&giver, &TPictureGiver::GetImage);
  Combo->SetDisplayEmpty("-");
  Combo->SetValue("C03");
  Combo->Repaint();
  EXPECT_EQ(giver.RowAsks, 1);
  // In the closed combo: centred in the margin, with the text after it.
  EXPECT_EQ(PixelOf(Combo, 10, Combo->ClientHeight() / 2), ColorToRGB(clRed));
  EXPECT_EQ(PixelOf(Combo, 4, 1 + (Combo->ClientHeight() - 2 - 12) / 2 + 11), ColorToRGB(clWindow));
  EXPECT_EQ(Combo->Text(), "Canal");

  // In the list: the empty row asks as the empty entry, every row gets its picture.
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(Combo->ListVisible());
  TOxDBLookupList* list = Combo->List();
  list->Repaint();
  EXPECT_GE(giver.EmptyAsks, 1);
  int itemHeight = list->ItemHeight();
  EXPECT_EQ(PixelOf(list, 8, 2 * itemHeight + itemHeight / 2), ColorToRGB(clRed));
  EXPECT_EQ(PixelOf(list, 8, 6 * itemHeight + itemHeight / 2), ColorToRGB(clRed));
  Press(VK_ESCAPE);
}

TEST_F(OxLookupComboDataTest, ALookupFieldBringsItsOwnRows) {
  Record->Close();
  for (const TColumn& column : Record->Columns) {
    auto* field = static_cast<TField*>(DefaultFieldClasses(column.Type)->Create(Record.get()));
    if (column.Type == ftString) field->SetSize(column.Size);
    field->SetFieldName(column.Name);
    field->SetDataSet(Record.get());
  }
  auto* label = new TStringField(Record.get());
  label->SetSize(40);
  label->SetFieldName("LIBELLE");
  label->SetFieldKind(fkLookup);
  label->SetKeyFields("CODE");
  label->SetLookupDataSet(Dictionary.get());
  label->SetLookupKeyFields("CODE");
  label->SetLookupResultField("LIB");
  label->SetDataSet(Record.get());
  Record->Open();

  Combo->SetLookupSource(nullptr);
  Combo->SetLookupField("");
  Combo->SetLookupDisplay("");
  Combo->SetDataField("LIBELLE");
  // The field names the rows, their key and the text shown.
  EXPECT_TRUE(Combo->ListActive());
  EXPECT_EQ(Combo->LookupSource(), nullptr);
  EXPECT_EQ(Combo->LookupField(), "");
  EXPECT_EQ(Combo->Value(), "C02");
  EXPECT_EQ(Combo->Text(), "Bouleau");
  Combo->SetDisplayAllFields(true);
  EXPECT_FALSE(Combo->DisplayAllFields());
  try {
    Combo->SetLookupField("CODE");
    ADD_FAILURE() << "the lookup field's key was replaced";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message, "Propriété déjà définie dans un DBCtrlGrid"_a);
  }
  EXPECT_THROW(Combo->SetLookupSource(DictionarySource), EDatabaseError);

  // The key goes into the key field, and the lookup field follows.
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_DOWN);
  EXPECT_EQ(Code()->AsString(), "C03");
  EXPECT_EQ(label->AsString(), "Canal");
  EXPECT_EQ(Combo->Text(), "Canal");

  // Back to a plain field: the rows borrowed from the lookup field go.
  Record->Cancel();
  Combo->SetDataField("CODE");
  EXPECT_FALSE(Combo->ListActive());
  EXPECT_EQ(Combo->LookupSource(), nullptr);
}

TEST_F(OxLookupComboTest, FreeingTheLookupDataLeavesNoDanglingPointer) {
  Focus();
  PressCombo(VK_MENU, VK_DOWN);
  Press(VK_DOWN);
  ASSERT_TRUE(ListShown());
  // Freed while the list is open.
  delete Database->Query;
  Database->Query = nullptr;
  EXPECT_FALSE(Combo->ListActive());
  Combo->Repaint();
  Press(VK_DOWN);
  Press(VK_ESCAPE);
  EXPECT_FALSE(ListShown());
  EXPECT_EQ(Combo->Text(), "");
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_FALSE(Combo->ListVisible());
  TypeText("01");
  Combo->SetValue("01A0001");
  EXPECT_EQ(Combo->Value(), "01A0001");
  EXPECT_EQ(Combo->LookupSource(), Database->Source);
  delete Database->Source;
  Database->Source = nullptr;
  EXPECT_EQ(Combo->LookupSource(), nullptr);
  Combo->Repaint();
  ClickAt(ComboMiddle());
  EXPECT_FALSE(Combo->ListVisible());
}

TEST_F(OxLookupComboTest, ARangeComboReadFromAFormDescription) {
  RegisterOxLookupControls();
  RegisterClass(TDataSource::StaticClass());
  TFormPtr<TForm> dialog(new TForm(nullptr));
  ReadComponentFromText(dialog.get(),
                        "object frmRequete: TForm\n"
                        "  Left = 200\n"
                        "  Top = 150\n"
                        "  object DataSource: TDataSource\n"
                        "  end\n"
                        "  object OxDBLkcboDebut: TOxDBLookupCombo\n"
                        "    Left = 16\n"
                        "    Top = 24\n"
                        "    Width = 145\n"
                        "    LookupSource = DataSource\n"
                        "    LookupField = 'zh_code'\n"
                        "    LookupDisplay = 'zh_code'\n"
                        "    DropDownCount = 8\n"
                        "    DropDownWidth = 180\n"
                        "    DropDownAlign = daRight\n"
                        "    DisplayEmpty = ' '\n"
                        "    Value = '13C0002'\n"
                        "  end\n"
                        "end\n",
                        "range");
  auto* combo = dynamic_cast<TOxDBLookupCombo*>(dialog->FindComponent("OxDBLkcboDebut"));
  auto* source = dynamic_cast<TDataSource*>(dialog->FindComponent("DataSource"));
  ASSERT_NE(combo, nullptr);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(combo->LookupSource(), source);
  EXPECT_EQ(combo->LookupField(), "zh_code");
  EXPECT_EQ(combo->DropDownCount, 8);
  EXPECT_EQ(combo->DropDownWidth, 180);
  EXPECT_EQ(combo->DropDownAlign, daRight);
  EXPECT_EQ(combo->DisplayEmpty(), " ");
  EXPECT_EQ(combo->Parent(), dialog.get());
  EXPECT_FALSE(combo->ListActive());
  // The dialog points its source at the query once it exists.
  source->SetDataSet(Database->Query);
  EXPECT_TRUE(combo->ListActive());
  EXPECT_EQ(combo->Value(), "13C0002");
  EXPECT_EQ(combo->Text(), "13C0002");
  EXPECT_EQ(WriteComponentToText(dialog.get()).find("Value"), String::npos);
}

}  // namespace
