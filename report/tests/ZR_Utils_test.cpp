// Tests of the report utilities: the stream encodings with their bounds on damaged streams, the
// font-style number, references by text over components, modules and fields, the enabling and
// hit-testing of dialog controls, and text helpers.
#include "ZR_Utils.h"

#include <gtest/gtest.h>

#include "../../db/tests/VectorDataSet.h"
#include "Component.h"
#include "FormatSettings.h"
#include "Modules.h"
#include "Streams.h"
#include "Strings.h"
#include "ZR_ClassGlobals.h"
#include "StdCtrls.h"

namespace {

String Bytes(std::initializer_list<int> Values) {
  String s;
  for (int v : Values) s += static_cast<char>(v);
  return s;
}

std::vector<String> ToVector(TStrings* List) {
  std::vector<String> v;
  for (int i = 0; i < List->Count(); ++i) v.push_back(List->Strings(i));
  return v;
}

// ---- Counted forms: golden bytes and round trips

TEST(ZrStreamEncoding, CountedStringBytesAndRoundTrip) {
  struct Case {
    String Text;
    String Expected;
  } cases[] = {
      {"abc", Bytes({3, 0, 'a', 'b', 'c', 0})},
      {"", Bytes({0, 0, 0})},
      {"déjà"_a, Bytes({4, 0, 'd', 0xE9, 'j', 0xE0, 0})},
      {String(300, 'x'), Bytes({0x2C, 0x01}) + String(300, 'x') + Bytes({0})},
  };
  for (const Case& c : cases) {
    TStringStream stream;
    WriteCountedString(&stream, c.Text);
    EXPECT_EQ(stream.DataString(), c.Expected) << c.Text;
    stream.SetPosition(0);
    EXPECT_EQ(ReadCountedString(&stream), c.Text);
    EXPECT_EQ(stream.Position(), stream.Size()) << "the terminator is consumed";
  }
}

TEST(ZrStreamEncoding, CountedLinesBytesAndRoundTrip) {
  struct Case {
    std::vector<const char*> Items;
    String Expected;
  } cases[] = {
      {{"a", "bc"}, Bytes({2, 0, 1, 0, 'a', 13, 2, 0, 'b', 'c', 0})},
      {{}, Bytes({0, 0, 0})},
      {{""}, Bytes({1, 0, 0, 0, 0})},
      {{"", "x", ""}, Bytes({3, 0, 0, 0, 13, 1, 0, 'x', 13, 0, 0, 0})},
  };
  for (const Case& c : cases) {
    TStringList list;
    for (const char* item : c.Items) list.Add(item);
    TStringStream stream;
    WriteCountedLines(&stream, &list);
    EXPECT_EQ(stream.DataString(), c.Expected);
    stream.SetPosition(0);
    TStringList back;
    back.Add("stale");
    ReadCountedLines(&stream, &back);
    EXPECT_EQ(ToVector(&back), ToVector(&list));
    EXPECT_EQ(stream.Position(), stream.Size());
  }
}

TEST(ZrStreamEncoding, CountedListEndsAtItsZeroSeparatorBeforeItsCount) {
  // The count says 5, the second separator is 0: two lines, and the stream stays after that 0.
  TStringStream stream(Bytes({5, 0, 1, 0, 'a', 13, 1, 0, 'b', 0, 'Z'}));
  TStringList list;
  ReadCountedLines(&stream, &list);
  EXPECT_EQ(ToVector(&list), (std::vector<String>{"a", "b"}));
  EXPECT_EQ(stream.Position(), 10);
}

TEST(ZrStreamEncoding, DamagedCountedFormsRaiseAndNeverReadPastTheEnd) {
  struct Case {
    const char* What;
    String Data;
    bool List;
  } cases[] = {
      {"string longer than the stream", Bytes({200, 0, 'a', 'b'}), false},
      {"string without terminator", Bytes({2, 0, 'a', 'b'}), false},
      {"length cut in half", Bytes({2}), false},
      {"empty stream", String(), false},
      {"line count beyond the stream", Bytes({0xFF, 0xFF, 1, 0, 'a', 13, 1, 0, 'b', 13}), true},
      {"line longer than the stream", Bytes({1, 0, 0x10, 0, 'a', 0}), true},
      {"separator missing", Bytes({1, 0, 1, 0, 'a'}), true},
      {"more lines than counted", Bytes({1, 0, 1, 0, 'a', 13, 1, 0, 'b', 0}), true},
      {"separators never end the list", Bytes({2, 0, 1, 0, 'a', 13, 1, 0, 'b', 13}), true},
      {"line length cut in half", Bytes({2, 0, 1, 0, 'a', 13, 1}), true},
      {"empty list without its byte", Bytes({0, 0}), true},
  };
  for (const Case& c : cases) {
    TStringStream stream(c.Data);
    TStringList list;
    if (c.List)
      EXPECT_THROW(ReadCountedLines(&stream, &list), EReadError) << c.What;
    else
      EXPECT_THROW(ReadCountedString(&stream), EReadError) << c.What;
    EXPECT_LE(stream.Position(), stream.Size()) << c.What;
  }
}

TEST(ZrStreamEncoding, WritersRefuseWhatSixteenBitsCannotCount) {
  TStringStream stream;
  EXPECT_THROW(WriteCountedString(&stream, String(70000, 'x')), EWriteError);
  TStringList list;
  list.Add(String(70000, 'y'));
  EXPECT_THROW(WriteCountedLines(&stream, &list), EWriteError);
}

// ---- Legacy forms

TEST(ZrStreamEncoding, LegacyStrings) {
  struct Case {
    String Data;
    String Expected;
    int EndPosition;
  } cases[] = {
      {Bytes({'a', 'b', 0, 'c'}), "ab", 3},
      {Bytes({0}), "", 1},
      {Bytes({'a', 'b'}), "ab", 2},  // no terminator: the end of the stream ends it
      {String(), "", 0},
  };
  for (const Case& c : cases) {
    TStringStream stream(c.Data);
    EXPECT_EQ(ReadZeroString(&stream), c.Expected);
    EXPECT_EQ(stream.Position(), c.EndPosition);
  }
}

TEST(ZrStreamEncoding, LegacyLines) {
  struct Case {
    String Data;
    std::vector<String> Expected;
  } cases[] = {
      {Bytes({'a', 13, 13, 'b', 0}), {"a", "", "b"}},
      {Bytes({'a', 13, 0}), {"a"}},
      {Bytes({'a', 10, 'b', 0}), {Bytes({'a', 10, 'b'})}},
      {Bytes({0}), {}},
      {Bytes({'x', 13, 'y'}), {"x", "y"}},  // no terminator
  };
  for (const Case& c : cases) {
    // Bytes after the terminator are not part of the list.
    TStringStream stream(c.Data.back() == 0 ? c.Data + "rest" : c.Data);
    TStringList list;
    list.Add("stale");
    ReadZeroLines(&stream, &list);
    EXPECT_EQ(ToVector(&list), c.Expected);
  }
}

TEST(ZrStreamEncoding, SmallIntegers) {
  TStringStream stream;
  WriteU16(&stream, 0x1234);
  WriteU32(&stream, 0xA1B2C3D4u);
  EXPECT_EQ(stream.DataString(), Bytes({0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1}));
  stream.SetPosition(0);
  EXPECT_EQ(ReadU16(&stream), 0x1234);
  stream.SetPosition(5);
  EXPECT_THROW(ReadU16(&stream), EReadError);
}

// ---- Font styles: report number 1 italic, 2 bold, 4 underline, 8 strike-out; the platform set
// has bold, italic, underline, strike-out as bits 0 to 3.

TEST(ZrFontStyle, CodesAndPlatformBits) {
  struct Case {
    int Code;
    unsigned Bits;
  } cases[] = {{0, 0}, {2, 1}, {1, 2}, {4, 4}, {8, 8}, {5, 6}, {3, 3}, {15, 15}, {10, 9}};
  for (const Case& c : cases) {
    EXPECT_EQ(FontStyleBitsFromCode(c.Code), c.Bits) << c.Code;
    EXPECT_EQ(FontStyleCodeFromBits(c.Bits), c.Code) << c.Bits;
  }
}

// ---- References by text

// A module holding a data set with the fields Nom, "a.b" and Taille, and a plain component.
class ZrReferences : public ::testing::Test {
 protected:
  ZrReferences() {
    Module = new TComponent(nullptr);
    Module->SetName("dmTest");
    RegisterModule(Module);
    Data = new TVectorDataSet({{"Nom", ftString, 20}, {"a.b", ftInteger}, {"Taille", ftFloat}}, Module);
    Data->SetName("qZones");
    Data->AddRow({Variant("Lac"), Variant(1), Variant::Null()});
    Plain = new TComponent(Module);
    Plain->SetName("Other");
    Inner = new TComponent(Module);
    Inner->SetName("Inner");
    InnerData = new TVectorDataSet({{"Code", ftInteger}}, Inner);
    InnerData->SetName("qCodes");
    Form = new TComponent(nullptr);
    Form->SetName("frmReport");
    zrEngine.Host = &Host;
  }
  ~ZrReferences() override {
    zrEngine.Host = nullptr;
    delete Form;
    delete Module;
  }

  // A report owned by a form that holds its own data set.
  class TOwnerHost : public TzrEngineHost {
   public:
    TComponent* Owner = nullptr;
    TComponent* ReportOwner() override { return Owner; }
    String ReportName() override { return "zrTest"; }
    bool UseDefaultDataSetName() override { return false; }
    TzrDataset* ReportDataSource() override { return nullptr; }
    void Terminate() override {}
    int PrintingBandType() override { return -1; }
    bool PageDataBandSource(int, TzrDataset*&) override { return false; }
    bool CurrentObject(String&, TStrings*) override { return false; }
    TzrAggregateBand* AggregateCurrentBand() override { return nullptr; }
    TzrAggregateBand* AggregateTargetBand() override { return nullptr; }
    int ColumnPosition() override { return 0; }
  };

  TComponent* Module;
  TVectorDataSet* Data;
  TComponent* Plain;
  TComponent* Inner;
  TVectorDataSet* InnerData;
  TComponent* Form;
  TOwnerHost Host;
};

TEST_F(ZrReferences, FindComponentPathOverOwnerAndModules) {
  auto* local = new TComponent(Form);
  local->SetName("zrDataSet1");
  struct Case {
    const char* Name;
    TComponent* Expected;
  } cases[] = {
      {"zrDataSet1", local},
      {"ZRDATASET1", local},
      {"missing", nullptr},
      {"dmTest.qZones", Data},
      {"DMTEST.Other", Plain},
      {"dmTest.missing", nullptr},
      {"nomodule.qZones", nullptr},
      {"dmTest.Inner.qCodes", InnerData},
      {"dmTest.Inner.missing", nullptr},
      {"dmTest", nullptr},  // a plain name is looked up in the owner only
  };
  for (const Case& c : cases) EXPECT_EQ(FindComponentPath(Form, c.Name), c.Expected) << c.Name;
}

TEST_F(ZrReferences, FindComponentPathWithoutOwnerRaisesMissing) {
  try {
    FindComponentPath(nullptr, "zrDataSet1");
    FAIL() << "no exception";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message, "Missing zrDataSet1");
  }
  // A dotted name does not need the owner.
  EXPECT_EQ(FindComponentPath(nullptr, "dmTest.qZones"), Data);
}

TEST_F(ZrReferences, ResolveFieldReference) {
  Host.Owner = Module;  // the report's owner holds qZones
  struct Case {
    const char* Reference;
    TDataSet* Given;
    TDataSet* ExpectedSet;
    const char* ExpectedField;
  } cases[] = {
      {"qZones.Nom", nullptr, Data, "Nom"},
      {"qZones.nom", nullptr, Data, "nom"},
      {"qZones.\"a.b\"", nullptr, Data, "a.b"},
      {"qZones.Absent", nullptr, Data, ""},
      {"qMissing.Nom", nullptr, nullptr, ""},
      {"dmTest.qZones.Taille", nullptr, Data, "Taille"},
      {"dmTest.qZones.\"a.b\"", nullptr, Data, "a.b"},
      {"nomodule.qZones.Nom", nullptr, nullptr, ""},
      {"dmTest.Inner.qCodes.Code", nullptr, InnerData, "Code"},
      {"dmTest.Inner.qCodes.Nom", nullptr, InnerData, ""},
      {"Nom", Data, Data, "Nom"},
      {"\"Taille\"", Data, Data, "Taille"},
      {"Nom", nullptr, nullptr, ""},
      {"dmTest.Other.Nom", nullptr, nullptr, ""},  // not a data set
  };
  for (const Case& c : cases) {
    TDataSet* dataSet = c.Given;
    String field = "stale";
    ResolveFieldReference(c.Reference, dataSet, field);
    EXPECT_EQ(dataSet, c.ExpectedSet) << c.Reference;
    EXPECT_EQ(field, c.ExpectedField) << c.Reference;
  }
}

TEST_F(ZrReferences, FieldNameIfPresentListsClosedDataSetsToo) {
  EXPECT_FALSE(Data->Active());
  EXPECT_EQ(FieldNameIfPresent(Data, "TAILLE"), "TAILLE");
  EXPECT_EQ(FieldNameIfPresent(Data, "Surface"), "");
  EXPECT_EQ(FieldNameIfPresent(nullptr, "Nom"), "");
}

TEST_F(ZrReferences, GetFieldValueTypesNullValues) {
  auto* typed = new TVectorDataSet({{"S", ftString, 10}, {"B", ftBoolean}, {"I", ftInteger}, {"F", ftFloat},
                                    {"L", ftLargeint}},
                                   Module);
  typed->AddRow({Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), Variant(123456789012LL)});
  typed->Open();
  struct Case {
    const char* Field;
    TVarType Type;
    const char* Text;
  } cases[] = {
      {"S", varString, ""},
      {"B", varBoolean, "False"},
      {"I", varInteger, "0"},
      {"F", varInteger, "0"},
      {"L", varString, "123456789012"},  // 64-bit integers come as their display text
  };
  for (const Case& c : cases) {
    Variant v;
    GetFieldValue(typed->FieldByName(c.Field), v);
    EXPECT_EQ(VarType(v), c.Type) << c.Field;
    EXPECT_EQ(VarToStr(v), c.Text) << c.Field;
  }
}

TEST_F(ZrReferences, GetFieldValueOpensTheDataSetOfAPersistentField) {
  auto* field = new TStringField(Module);
  field->SetFieldName("Nom");
  field->SetSize(20);
  field->SetDataSet(Data);
  ASSERT_FALSE(Data->Active());
  Variant v;
  GetFieldValue(field, v);
  EXPECT_TRUE(Data->Active());
  EXPECT_EQ(v.AsString(), "Lac");
}

class TTextHandler : public TObject {
 public:
  void GetText(TField*, String& Text, bool) { Text = "shown"; }
};

TEST_F(ZrReferences, GetFieldValueUsesTheTextHandler) {
  Data->Open();
  TField* name = Data->FieldByName("Nom");
  Variant v;
  GetFieldValue(name, v);
  EXPECT_EQ(v.AsString(), "Lac");
  TTextHandler handler;
  name->OnGetText = TFieldGetTextEvent(&handler, &TTextHandler::GetText);
  GetFieldValue(name, v);
  EXPECT_EQ(v.AsString(), "shown");
}

TEST_F(ZrReferences, ListComponentsOfClass) {
  auto* mine = new TVectorDataSet({{"X", ftInteger}}, Form);
  mine->SetName("qLocal");
  RegisterModule(Form);
  TStringList list;
  ListComponentsOfClass(Form, TDataSet::StaticClass(), &list, nullptr);
  std::vector<String> names = ToVector(&list);
  EXPECT_EQ(names, (std::vector<String>{"dmTest.qZones", "qLocal"}));
  EXPECT_EQ(list.Objects(0), Data);
  ListComponentsOfClass(Module, TDataSet::StaticClass(), &list, Data);
  EXPECT_EQ(ToVector(&list), (std::vector<String>{"frmReport.qLocal"}));
}

// ---- Dialog helpers

TEST(ZrDialogHelpers, EnableControlsGreysLabelsAndFillsWindowedControls) {
  TLabel label(nullptr);
  TWinControl edit(nullptr);
  TGraphicControl image(nullptr);
  for (TControl* c : std::vector<TControl*>{&label, &edit, &image}) {
    c->SetColor(clAqua);
    c->Font()->SetColor(clMaroon);
  }
  struct Case {
    bool Enabled;
    TColor LabelText;
    TColor EditBackground;
  } cases[] = {{false, clGrayText, clBtnFace}, {true, clWindowText, clWindow}, {false, clGrayText, clBtnFace}};
  for (const Case& c : cases) {
    EnableControls({&label, &edit, &image}, c.Enabled);
    EXPECT_EQ(label.Font()->Color(), c.LabelText) << c.Enabled;
    EXPECT_EQ(label.Color(), clAqua) << "a label keeps its background";
    EXPECT_EQ(edit.Color(), c.EditBackground) << c.Enabled;
    EXPECT_EQ(edit.Font()->Color(), clMaroon) << "a windowed control keeps its text colour";
    EXPECT_EQ(image.Color(), clAqua) << "other window-less controls keep their colours";
    EXPECT_EQ(image.Font()->Color(), clMaroon);
    for (TControl* control : std::vector<TControl*>{&label, &edit, &image})
      EXPECT_EQ(control->Enabled(), c.Enabled) << control->ClassName();
  }
}

// A dialog page: Image at the bottom, Panel over it holding Inner, an empty Group, a Box that
// takes no controls but holds one, and a hidden Cover over everything.
class ZrControlAtPoint : public ::testing::Test {
 protected:
  ZrControlAtPoint() {
    Page.SetBounds(0, 0, 400, 300);
    Image = Add(new TGraphicControl(nullptr), &Page, 0, 0, 50, 50, "Image");
    Panel = Add(new TWinControl(nullptr), &Page, 40, 40, 60, 60, "Panel");
    Panel->ControlStyle.Include(csAcceptsControls);
    Inner = Add(new TGraphicControl(nullptr), Panel, 10, 10, 20, 20, "Inner");
    Group = Add(new TWinControl(nullptr), &Page, 200, 0, 20, 20, "Group");
    Group->ControlStyle.Include(csAcceptsControls);
    Box = Add(new TWinControl(nullptr), &Page, 300, 0, 50, 50, "Box");
    Box->ControlStyle.Exclude(csAcceptsControls);
    Add(new TGraphicControl(nullptr), Box, 0, 0, 50, 50, "InBox");
    Cover = Add(new TGraphicControl(nullptr), &Page, 0, 0, 400, 300, "Cover");
    Cover->SetVisible(false);
  }
  template <class T>
  T* Add(T* Control, TWinControl* Parent, int Left, int Top, int Width, int Height, const String& Name) {
    Owned.emplace_back(Control);
    Control->SetName(Name);
    Control->SetBounds(Left, Top, Width, Height);
    Control->SetParent(Parent);
    return Control;
  }
  ~ZrControlAtPoint() override {
    // Children leave their parents first.
    for (auto it = Owned.rbegin(); it != Owned.rend(); ++it) it->reset();
  }

  TWinControl Page{nullptr};
  std::vector<std::unique_ptr<TControl>> Owned;
  TGraphicControl* Image;
  TWinControl* Panel;
  TGraphicControl* Inner;
  TWinControl* Group;
  TWinControl* Box;
  TGraphicControl* Cover;
};

TEST_F(ZrControlAtPoint, TopmostVisibleChildSearchingContainersFirst) {
  struct Case {
    TPoint P;
    const char* Hit;  // nullptr: nothing
  } cases[] = {
      {{5, 5}, "Image"},      // the hidden cover is skipped
      {{55, 55}, "Inner"},    // found inside the panel, relative to it
      {{50, 50}, "Inner"},    // the panel's child includes its top-left edge
      {{45, 45}, "Image"},    // in the panel, on none of its children: the scan goes on below it
      {{90, 90}, nullptr},    // a container with children is never the answer itself
      {{205, 5}, "Group"},    // a container without children is
      {{310, 10}, "Box"},     // a windowed child that takes no controls is not searched
      {{49, 0}, "Image"},
      {{50, 0}, nullptr},     // bounds exclude their right edge
      {{399, 299}, nullptr},
  };
  for (const Case& c : cases) {
    TControl* hit = ControlAtPoint(&Page, c.P);
    EXPECT_EQ(hit ? hit->Name() : String("(none)"), c.Hit ? c.Hit : "(none)") << c.P.X << "," << c.P.Y;
  }
  Cover->SetVisible(true);
  EXPECT_EQ(ControlAtPoint(&Page, TPoint(55, 55)), Cover) << "the topmost visible child wins";
}

// ---- Text helpers

TEST(ZrTextHelpers, TextToFloatReadsBothSeparators) {
  for (char separator : {',', '.'}) {
    FormatSettings.DecimalSeparator = separator;
    EXPECT_DOUBLE_EQ(TextToFloat(" 12,5 "), 12.5);
    EXPECT_DOUBLE_EQ(TextToFloat("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(TextToFloat("-3"), -3);
    EXPECT_THROW(TextToFloat("1,2,3x"), EConvertError);
    EXPECT_THROW(TextToFloat(""), EConvertError);
  }
  FormatSettings = TFormatSettings::French();
}

TEST(ZrTextHelpers, RemoveQuotes) {
  struct Case {
    const char* In;
    const char* Out;
  } cases[] = {{"\"ab\"", "ab"}, {"\"\"", "\"\""}, {"\"a\"", "a"}, {"\"ab", "\"ab"}, {"ab", "ab"}, {"", ""},
               {"\"a.b\"", "a.b"}};
  for (const Case& c : cases) EXPECT_EQ(RemoveQuotes(c.In), c.Out) << c.In;
}

TEST(ZrTextHelpers, SemicolonLists) {
  struct Case {
    const char* In;
    std::vector<String> Items;
  } cases[] = {
      {"a;b;c", {"a", "b", "c"}},
      {"a;;c", {"a", "", "c"}},
      {"a;b;", {"a", "b"}},
      {";a", {"", "a"}},
      {"", {}},
      {";", {""}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.Add("stale");
    SplitSemicolonList(c.In, &list);
    EXPECT_EQ(ToVector(&list), c.Items) << c.In;
  }
  int pos = 3;
  EXPECT_EQ(NextListItem("ab;cd;e", pos), "");
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(NextListItem("ab;cd;e", pos), "cd");
  EXPECT_EQ(pos, 7);
}

TEST(ZrTextHelpers, EngineStringComesFromTheTable) {
  EXPECT_EQ(EngineString(55206), "Erreur");
  EXPECT_EQ(EngineString(55209), "Sans_nom");
  EXPECT_EQ(EngineString(55190), "") << "numbers without text give the empty text";
}

}  // namespace
