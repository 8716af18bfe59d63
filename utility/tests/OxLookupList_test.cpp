// Tests of the lookup list on real windows: the keys and the mouse choose rows, the empty entry,
// the incremental search with its pause and length limits, scrolling by bar, wheel and dragging,
// the configuration errors, and lookup datasets freed under the list.
#include <gtest/gtest.h>

#include "Field.h"
#include "LookupTestSupport.h"
#include "OxLookupList.h"

namespace {

using namespace lookup_test;

const std::vector<String> Labels = {
    "Aulne",   "Bouleau", "Canal",  "Carex", "Chenal",  "Digue",   "Étang"_a,    "Fossé"_a,     "Gravière"_a, "Haie",
    "Île"_a,   "Jonc",    "Lagune", "Marais", "Noue",   "Oseraie", "Prairie", "Roselière"_a, "Saulaie",     "Tourbière"_a};

class OxLookupListTest : public LookupFormTest {
 protected:
  void SetUp() override {
    LookupFormTest::SetUp();
    Dictionary = MakeDictionary(Labels);
    Source = new TDataSource(nullptr);
    Source->SetDataSet(Dictionary.get());
    List = Add<TOxDBLookupList>(10, 10, 220, 0);
    List->SetRowCount(7);
    List->SetLookupSource(Source);
    List->SetLookupField("CODE");
    List->SetLookupDisplay("LIB");
    List->OnClick = TNotifyEvent(&Log, &TLookupLog::Clicked);
    PumpPending();
  }
  void TearDown() override {
    LookupFormTest::TearDown();
    delete Source;
    Dictionary.reset();
  }
  // The middle of a row, on the screen.
  TPoint Row(int Index) { return OnScreen(List, 60, Index * List->ItemHeight() + List->ItemHeight() / 2); }
  void Focus() {
    ASSERT_TRUE(GiveFocus(List));
  }

  std::unique_ptr<TVectorDataSet> Dictionary;
  TDataSource* Source = nullptr;
  TOxDBLookupList* List = nullptr;
};

TEST_F(OxLookupListTest, KeysMoveTheChoiceThroughTheRows) {
  Focus();
  EXPECT_EQ(List->Value(), "");
  struct Step {
    WORD Key;
    const char* Value;
  };
  // Seven rows: a page moves by six.
  const Step steps[] = {{VK_DOWN, "C01"}, {VK_DOWN, "C02"}, {VK_RIGHT, "C03"}, {VK_UP, "C02"}, {VK_END, "C20"},
                        {VK_HOME, "C01"}, {VK_NEXT, "C07"}, {VK_NEXT, "C13"}, {VK_PRIOR, "C07"}, {VK_HOME, "C01"},
                        {VK_UP, "C01"},   {VK_LEFT, "C01"}};
  int clicks = 0;
  for (const Step& step : steps) {
    Press(step.Key);
    EXPECT_EQ(List->Value(), step.Value) << "after key " << step.Key;
    EXPECT_EQ(Log.Clicks, ++clicks);
  }
  EXPECT_EQ(List->DisplayValue(), "Aulne");
}

TEST_F(OxLookupListTest, AClickChoosesTheRowUnderThePointer) {
  ClickAt(Row(4));
  EXPECT_TRUE(List->Focused());
  EXPECT_EQ(List->Value(), "C05");
  EXPECT_EQ(List->DisplayValue(), "Chenal");
  ClickAt(Row(6));
  EXPECT_EQ(List->Value(), "C07");
  ClickAt(Row(0));
  EXPECT_EQ(List->Value(), "C01");
  // Press and release both choose the row under the pointer, and a move while the button is down
  // may choose once more: at least one OnClick per click, never none.
  EXPECT_GE(Log.Clicks, 3);
}

// A data-aware list over the code of a record, with an empty entry on top.
class OxLookupListEmptyEntryTest : public OxLookupListTest {
 protected:
  void SetUp() override {
    OxLookupListTest::SetUp();
    Record = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"ID", ftInteger}, {"CODE", ftString, 6}});
    Record->AddRow({Variant(1), Variant("C03")});
    Record->Open();
    RecordSource = new TDataSource(nullptr);
    RecordSource->SetDataSet(Record.get());
    List->SetDisplayEmpty("(aucun)");
    List->SetEmptyItemColor(clYellow);
    List->SetDataSource(RecordSource);
    List->SetDataField("CODE");
    PumpPending();
  }
  void TearDown() override {
    OxLookupListTest::TearDown();
    delete RecordSource;
    Record.reset();
  }
  TField* Code() { return Record->FieldByName("CODE"); }
  COLORREF PixelOfRow(int Index) {
    List->Repaint();
    return GetPixel(TWindowDC(List->Handle()), List->ClientWidth() - 4, Index * List->ItemHeight() + List->ItemHeight() / 2);
  }

  std::unique_ptr<TVectorDataSet> Record;
  TDataSource* RecordSource = nullptr;
};

TEST_F(OxLookupListEmptyEntryTest, TheEmptyRowTakesTheTopAndWritesTheEmptyValue) {
  EXPECT_EQ(List->Value(), "C03");
  EXPECT_EQ(PixelOfRow(0), ColorToRGB(clYellow));
  // Row six of seven is the sixth record: the empty row took the first place.
  ClickAt(Row(6));
  EXPECT_EQ(List->Value(), "C06");
  EXPECT_EQ(Record->State(), dsEdit);
  EXPECT_EQ(Code()->AsString(), "C06");

  struct Case {
    bool EmptyStrIsNull;
    String EmptyValue;
    bool Null;
    const char* Written;
  };
  const Case cases[] = {{true, "", true, ""}, {false, "", false, ""}, {true, "-", false, "-"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.EmptyValue + (c.EmptyStrIsNull ? " null" : " text"));
    List->SetEmptyStrIsNull(c.EmptyStrIsNull);
    List->SetEmptyValue(c.EmptyValue);
    Focus();
    Press(VK_HOME);
    EXPECT_EQ(List->Value(), "C01");
    // Up from the first record reaches the empty entry.
    Press(VK_UP);
    EXPECT_EQ(List->Value(), c.EmptyValue);
    EXPECT_EQ(Code()->IsNull(), c.Null);
    EXPECT_EQ(Code()->AsString(), c.Written);
    EXPECT_EQ(PixelOfRow(0), ColorToRGB(clHighlight));
    // Up again stays there; Down goes to the first record.
    Press(VK_UP);
    EXPECT_EQ(List->Value(), c.EmptyValue);
    Press(VK_DOWN);
    EXPECT_EQ(List->Value(), "C01");
  }
  // The record's own changes show in the list.
  Record->Cancel();
  EXPECT_EQ(List->Value(), "C03");
}

TEST_F(OxLookupListTest, TypingSearchesTheShownTexts) {
  Focus();
  struct Step {
    String Typed;
    bool Pause;  // more than 2 s since the previous key
    const char* Value;
  };
  const Step steps[] = {
      {"c", false, "C03"},   {"h", false, "C05"},  // "ch": Chenal
      {"x", false, "C05"},                         // "chx" matches nothing: the search stays "ch"
      {"m", true, "C14"},                          // after a pause "m" starts a new search: Marais
      {"\b", false, "C01"},                        // Backspace on one character: the first row
      {"É"_a, false, "C07"},  {"t", false, "C07"}, // "Ét": Étang
  };
  for (const Step& step : steps) {
    if (step.Pause) TOxLookupControl::SearchTick -= 2500;
    if (step.Typed == "\b") Press(VK_BACK);
    else TypeText(step.Typed);
    EXPECT_EQ(List->Value(), step.Value) << "after '" << step.Typed << "'";
  }
}

TEST_F(OxLookupListTest, AThirtyThirdSearchCharacterStartsOver) {
  String name = "zone humide de la vallee du fleuve";
  Dictionary->Close();
  Dictionary->AddRow({Variant("Z99"), Variant(name)});
  Dictionary->Open();
  Focus();
  // The search follows the long name up to 32 characters; the 33rd starts over from the top.
  TypeText(name.substr(0, 32));
  EXPECT_EQ(List->Value(), "Z99");
  TypeText(name.substr(32, 1));
  EXPECT_EQ(List->Value(), "C01");
}

TEST_F(OxLookupListTest, TheBarTheWheelAndDraggingScrollTheRows) {
  Focus();
  Press(VK_HOME);
  // A line down: the first row shown is the second record; the choice stays.
  SendMessageA(List->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(List->Value(), "C01");
  ClickAt(Row(0));
  EXPECT_EQ(List->Value(), "C02");
  SendMessageA(List->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  ClickAt(Row(0));
  EXPECT_EQ(List->Value(), "C08");
  SendMessageA(List->Handle(), WM_VSCROLL, SB_TOP, 0);
  ClickAt(Row(0));
  EXPECT_EQ(List->Value(), "C01");
  // The wheel turned down by one notch moves the rows by half a page and more.
  TPoint middle = Row(3);
  SendMessageA(List->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WORD(-WHEEL_DELTA)), MAKELPARAM(middle.X, middle.Y));
  PumpPending();
  ClickAt(Row(0));
  EXPECT_EQ(List->Value(), "C04");

  // Pressed on a row and dragged below the list: it scrolls to the end on its timer.
  AwaitNoDoubleClick(Row(1));
  MoveMouseTo(Row(1));
  PressButton(Row(1));
  MoveMouseTo(TPoint(Row(1).X, OnScreen(List, 0, List->ClientHeight()).Y + 20));
  EXPECT_TRUE(WaitFor("the list to scroll to its last row", [&] { return List->Value() == "C20"; }));
  ReleaseButton();
  EXPECT_EQ(List->Value(), "C20");
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(OxLookupListTest, ItsHeightIsAWholeNumberOfRows) {
  int rowHeight = List->ItemHeight();
  int border = List->Height() - 7 * rowHeight;
  EXPECT_GT(border, 0);
  List->SetHeight(border + 4 * rowHeight + rowHeight / 2);
  EXPECT_EQ(List->RowCount(), 4);
  EXPECT_EQ(List->Height(), border + 4 * rowHeight);
  List->SetHeight(2);
  EXPECT_EQ(List->RowCount(), 1);
  EXPECT_EQ(List->Height(), border + rowHeight);
  List->SetRowCount(80);
  EXPECT_EQ(List->RowCount(), 50);
  // A taller item height makes taller rows.
  List->SetItemHeight(rowHeight + 6);
  List->SetRowCount(3);
  EXPECT_EQ(List->Height(), border + 3 * (rowHeight + 6));
}

TEST_F(OxLookupListTest, MisconfigurationsAreRefusedWhenSet) {
  // A data source over the lookup dataset itself.
  TDataSource same(nullptr);
  same.SetDataSet(Dictionary.get());
  List->SetDataSource(&same);
  try {
    List->SetDataField("CODE");
    ADD_FAILURE() << "no error for a circular link";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message, "Liaisons de données circulaires non autorisées"_a);
  }
  EXPECT_EQ(List->Field(), nullptr);
  List->SetDataSource(nullptr);

  EXPECT_THROW(List->SetLookupDisplay("LIB;NOPE"), EDatabaseError);
  EXPECT_FALSE(List->ListActive());
  List->SetLookupDisplay("LIB");
  EXPECT_TRUE(List->ListActive());

  struct Case {
    String Format;
    const char* Error;  // nullptr when accepted
  };
  const Case cases[] = {{"%s (%%)", nullptr},
                        {"%d", "Invalid format: '%d' not allowed"},
                        {"50%", "Invalid format: % not allowed"},
                        {"%s %x", "Invalid format: '%x' not allowed"}};
  for (const Case& c : cases) {
    try {
      List->SetLookupFormat(c.Format);
      EXPECT_EQ(c.Error, nullptr) << c.Format;
      EXPECT_EQ(List->LookupFormat(), c.Format);
    } catch (const Exception& e) {
      ASSERT_NE(c.Error, nullptr) << c.Format << ": " << e.Message;
      EXPECT_EQ(e.Message, c.Error);
    }
  }
  // More fields asked than shown: the format is dropped when the fields are resolved.
  List->SetLookupFormat("%s - %s");
  EXPECT_EQ(List->LookupFormat(), "");
  List->SetLookupDisplay("CODE;LIB");
  List->SetLookupFormat("%s - %s");
  EXPECT_EQ(List->LookupFormat(), "%s - %s");
}

TEST_F(OxLookupListTest, FreeingTheLookupDatasetOrItsSourceLeavesNothingBehind) {
  Focus();
  Press(VK_DOWN);
  EXPECT_EQ(List->Value(), "C01");
  Dictionary.reset();
  EXPECT_FALSE(List->ListActive());
  // Keys, painting, a new value and searches find nothing and touch nothing.
  Press(VK_DOWN);
  TypeText("ca");
  List->Repaint();
  List->SetValue("C02");
  EXPECT_EQ(List->Value(), "C02");
  EXPECT_EQ(List->LookupSource(), Source);
  delete Source;
  Source = nullptr;
  EXPECT_EQ(List->LookupSource(), nullptr);
  List->Repaint();

  // The other order: the source first, the dataset afterwards.
  auto other = MakeDictionary(Labels);
  auto* otherSource = new TDataSource(nullptr);
  otherSource->SetDataSet(other.get());
  List->SetLookupSource(otherSource);
  EXPECT_TRUE(List->ListActive());
  delete otherSource;
  EXPECT_FALSE(List->ListActive());
  other.reset();
  Press(VK_DOWN);
  List->Repaint();
}

}  // namespace
