// Tests of the dataset and field services: text tests by type, the picture check before posting,
// the filter switch and its Escape probe, display labels, joined texts, SQL tokens, rich text,
// and the engine-table paths that answer "not found".
#include <gtest/gtest.h>

#include <vector>

#include "Dialogs.h"
#include "Field.h"
#include "FormatSettings.h"
#include "Qvintl.h"
#include "qvDataSetUtils.h"
#include "qvTestDataSet.h"

namespace {

TEST(TextForType, TableOfTypesAndTexts) {
  FormatSettings = TFormatSettings::French();
  struct {
    TFieldType Type;
    String Text;
    bool Ok;
  } Cases[] = {
      {ftInteger, "-12", true},       {ftSmallint, "1a", false},          {ftAutoInc, "7", true},
      {ftWord, "", true},             {ftFloat, "1,5", true},             {ftCurrency, "1.5", false},
      {ftBCD, "2", true},             {ftFMTBcd, "x", false},             {ftDate, "3/4/2024", true},
      {ftDate, "3/4/2024 10:00", false}, {ftTime, "10:00", true},         {ftTime, "10", false},
      {ftDateTime, "3/4/2024 10:00", true}, {ftDateTime, "3/4/2024", true}, {ftTimeStamp, "10:00", false},
      {ftString, "anything", true},   {ftLargeint, "not checked", true},  {ftBoolean, "?", true},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(qvIsValidTextForType(C.Type, C.Text), C.Ok) << GetEnumName(&EnumTypeInfo((TFieldType*)nullptr), C.Type)
                                                          << " '" << C.Text << "'";
}

TEST(TextForType, FieldTypeFamilies) {
  EXPECT_TRUE(qvIsNumericFieldType(ftAutoInc));
  EXPECT_TRUE(qvIsNumericFieldType(ftCurrency));
  EXPECT_FALSE(qvIsNumericFieldType(ftBCD));
  EXPECT_FALSE(qvIsNumericFieldType(ftString));
  for (TFieldType Raw : {ftBytes, ftVarBytes, ftBlob, ftGraphic}) EXPECT_FALSE(qvIsSearchableFieldType(Raw));
  EXPECT_TRUE(qvIsSearchableFieldType(ftMemo));
  EXPECT_TRUE(qvIsSearchableFieldType(ftString));
}

class DataSetServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    Set.AddRow({"Etang", 12, Variant(), 1.5, "Arles", Variant()});
    Set.AddRow({"Marais", 12345, Variant(), 2.5, "Nîmes"_a, Variant()});
    Set.Open();
  }
  TSettingsDataSet Set{SettingsColumns()};
};

TEST_F(DataSetServicesTest, SearchTextIsRefusedEmptyForNumbersAndDates) {
  EXPECT_FALSE(qvIsValidSearchText(nullptr, "x"));
  EXPECT_FALSE(qvIsValidSearchText(Set.FieldByName("DATE_OBS"), ""));
  EXPECT_FALSE(qvIsValidSearchText(Set.FieldByName("CODE"), ""));
  EXPECT_FALSE(qvIsValidSearchText(Set.FieldByName("SURFACE"), ""));
  EXPECT_TRUE(qvIsValidSearchText(Set.FieldByName("NOM"), ""));
  EXPECT_FALSE(qvIsValidSearchText(Set.FieldByName("CODE"), "abc"));
  EXPECT_TRUE(qvIsValidSearchText(Set.FieldByName("CODE"), "42"));
  EXPECT_TRUE(qvIsValidTextForField(Set.FieldByName("DATE_OBS"), "1/2/2003"));
}

TEST_F(DataSetServicesTest, FieldKindsAndRecordScan) {
  TField* Nom = Set.FieldByName("NOM");
  EXPECT_FALSE(qvIsCalcOrLookupField(Nom));
  // No dataset here descends from the engine-based datasets: every search scans records.
  EXPECT_TRUE(qvNeedsRecordScan(Nom));
  EXPECT_TRUE(qvIsCompatibleDataSet(&Set));
  EXPECT_FALSE(qvIsCompatibleDataSet(nullptr));
  TBookmark First = Set.GetBookmark();
  Set.Next();
  TBookmark Second = Set.GetBookmark();
  EXPECT_LT(qvCompareBookmarks(&Set, First, Second), 0);
  EXPECT_EQ(qvCompareBookmarks(&Set, Second, Second), 0);
}

class TInvalidValueLog : public TObject {
 public:
  void Report(TDataSet*, TField* Field) { Fields.push_back(Field->FieldName()); }
  std::vector<String> Fields;
};

TEST_F(DataSetServicesTest, PicturesCheckStopsAtTheFirstInvalidWritableField) {
  Set.PictureMasks()->Clear();
  Set.PictureMasks()->Add("NOM\t###");   // "Marais": invalid, but read-only below
  Set.PictureMasks()->Add("CODE\t###");  // 12345: one digit too many
  Set.PictureMasks()->Add("SURFACE\t#;,#");  // "," escaped: it separates alternatives
  Set.Last();
  Set.FieldByName("NOM")->SetReadOnly(true);
  TInvalidValueLog Log;
  try {
    qvValidateDataSetPictures(&Set, TqvInvalidValueEvent(&Log, &TInvalidValueLog::Report));
    FAIL() << "no error raised";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Invalid characters. Field : CODE");
  }
  EXPECT_EQ(Log.Fields, (std::vector<String>{"CODE"}));

  // The first record fits ("12" is a beginning of "###", and an incomplete text does not fit).
  Set.First();
  EXPECT_THROW(qvValidateDataSetPictures(&Set, nullptr), EDatabaseError);
  Set.PictureMasks()->Put(1, "CODE\t##");
  EXPECT_NO_THROW(qvValidateDataSetPictures(&Set, nullptr));
}

TEST(PictureText, EmptyTextAlwaysMatches) {
  EXPECT_TRUE(qvTextMatchesPicture("###", ""));
  EXPECT_TRUE(qvTextMatchesPicture("##[-##]", "12"));
  EXPECT_FALSE(qvTextMatchesPicture("##/##", "12"));
  EXPECT_FALSE(qvTextMatchesPicture("", "12"));
}

TEST_F(DataSetServicesTest, FilterOptionsThroughThePublishedSetOrFiltered) {
  Set.OnFilterOptions = {ofoCancelOnEscape};
  EXPECT_EQ(qvGetFilterOptions(&Set), TqvOnFilterOptions{ofoCancelOnEscape});
  qvSetFilterEnabled(&Set, true);
  EXPECT_EQ(Set.OnFilterOptions, (TqvOnFilterOptions{ofoEnabled, ofoCancelOnEscape}));
  qvSetFilterEnabled(&Set, false);
  EXPECT_EQ(Set.OnFilterOptions, TqvOnFilterOptions{ofoCancelOnEscape});

  TVectorDataSet Plain({{"ID", ftInteger}});
  EXPECT_EQ(qvGetFilterOptions(&Plain), TqvOnFilterOptions{});
  Plain.SetFiltered(true);
  EXPECT_EQ(qvGetFilterOptions(&Plain), TqvOnFilterOptions{ofoEnabled});
  qvSetFilterEnabled(&Plain, false);  // nothing to switch
  EXPECT_TRUE(Plain.Filtered());
}

// A keyboard message of the thread's queue.
struct TKey {
  UINT Message;
  WPARAM Key;
  bool operator==(const TKey&) const = default;
};

// Empties the thread's queue; the keyboard messages it held, in order.
std::vector<TKey> DrainKeys() {
  std::vector<TKey> Keys;
  MSG Msg;
  while (PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
    if (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) Keys.push_back({Msg.message, Msg.wParam});
  }
  return Keys;
}

TEST_F(DataSetServicesTest, EscapeProbeTakesTheFirstEscapeKeyDownAndKeepsEveryOtherKey) {
  const TKey EscDown{WM_KEYDOWN, VK_ESCAPE}, EscUp{WM_KEYUP, VK_ESCAPE}, ReturnUp{WM_KEYUP, VK_RETURN};
  const TKey ADown{WM_KEYDOWN, 'A'}, AUp{WM_KEYUP, 'A'}, BChar{WM_CHAR, 'b'};
  struct {
    const char* What;
    std::vector<TKey> Queued;
    bool Pressed;
    std::vector<TKey> Left;
  } Cases[] = {
      {"empty queue", {}, false, {}},
      {"another key", {ADown}, false, {ADown}},
      {"Escape alone", {EscDown}, true, {}},
      {"behind the key-up of Enter", {ReturnUp, EscDown}, true, {ReturnUp}},
      {"behind typing", {ADown, AUp, BChar, EscDown, EscUp}, true, {ADown, AUp, BChar, EscUp}},
      {"a key-up of Escape is no press", {EscUp, ADown}, false, {EscUp, ADown}},
      {"two presses, one taken", {ADown, EscDown, EscDown}, true, {ADown, EscDown}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    DrainKeys();
    Set.OnFilterOptions = {ofoEnabled, ofoCancelOnEscape};
    for (const TKey& K : C.Queued) ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), K.Message, K.Key, 0));
    EXPECT_EQ(qvFilterEscapePressed(&Set), C.Pressed);
    EXPECT_EQ(Set.OnFilterOptions.Contains(ofoEnabled), !C.Pressed);
    EXPECT_EQ(DrainKeys(), C.Left);
  }
}

TEST_F(DataSetServicesTest, FieldOfADisplayLabel) {
  Set.FieldByName("LIB_COMMUNE")->SetDisplayLabel("Commune~du site");
  Set.FieldByName("SURFACE")->SetDisplayLabel("Surface (ha)");
  EXPECT_EQ(qvFieldNameFromDisplayLabel(&Set, "commune du~site"), "LIB_COMMUNE");
  EXPECT_EQ(qvFieldNameFromDisplayLabel(&Set, "SURFACE (HA)"), "SURFACE");
  EXPECT_EQ(qvFieldNameFromDisplayLabel(&Set, "CODE"), "CODE");  // the label falls back on the name
  EXPECT_EQ(qvFieldNameFromDisplayLabel(&Set, "Surface"), "");
}

TEST(JoinedTexts, IndexOfTextAndStringsToText) {
  TStringList List;
  List.Add("select *");
  List.Add("FROM T");
  EXPECT_EQ(qvIndexOfText(&List, "from t"), 1);
  EXPECT_EQ(qvIndexOfText(&List, "where"), -1);
  EXPECT_STREQ(qvStringsToText(&List, true).get(), "select * FROM T");
  EXPECT_STREQ(qvStringsToText(&List, false).get(), "select *\r\nFROM T");
  TStringList Empty;
  EXPECT_STREQ(qvStringsToText(&Empty, false).get(), "");
}

TEST(SqlToken, TokensInTurn) {
  struct {
    String Text;
    std::vector<std::pair<String, int>> Steps;
  } Cases[] = {
      {"SELECT T.NOM FROM T", {{"SELECT", 7}, {"T.NOM", 13}, {"FROM", 18}, {"T", 21}, {"", 21}}},
      {"A='x y'", {{"A", 3}, {"'x y'", 8}}},
      {"X >= $1", {{"X", 3}, {">", 4}, {"=", 5}, {"$1", 8}}},
      {"N \"abc", {{"N", 3}, {"", 3}, {"", 3}}},  // an unterminated quote does not advance
      {"lower", {{"l", 2}}},                      // lower case ends a word: callers upper-case first
  };
  for (const auto& C : Cases) {
    int Pos = 1;
    for (std::size_t i = 0; i < C.Steps.size(); ++i) {
      String Token = "junk";
      qvGetSqlToken(C.Text, Pos, Token);
      EXPECT_EQ(Token, C.Steps[i].first) << C.Text << " step " << i;
      EXPECT_EQ(Pos, C.Steps[i].second) << C.Text << " step " << i;
    }
  }
}

TEST_F(DataSetServicesTest, RichTextByControlTypeOrByData) {
  TField* Note = Set.FieldByName("NOTE");
  Set.SetMemo(0, "NOTE", "{\\rtf1\\ansi texte}");
  Set.SetMemo(1, "NOTE", "texte simple");
  Set.First();
  EXPECT_FALSE(qvIsRichTextField(Note, false));
  EXPECT_TRUE(qvIsRichTextField(Note, true));
  Set.Next();
  EXPECT_FALSE(qvIsRichTextField(Note, true));
  // The control type says so without reading the data.
  Set.ControlType()->Add("NOTE;RichEdit");
  EXPECT_TRUE(qvIsRichTextField(Note, false));
  // Only blob fields qualify.
  Set.ControlType()->Add("NOM;RichEdit");
  EXPECT_FALSE(qvIsRichTextField(Set.FieldByName("NOM"), true));
}

TEST_F(DataSetServicesTest, EngineTablePathsAnswerNotFound) {
  EXPECT_FALSE(qvFindNearestInIndex(&Set, "Et", 0));
  EXPECT_EQ(Set.RecNo(), 1);
  EXPECT_FALSE(qvTableHasIndex(&Set));
  EXPECT_FALSE(qvTableHasQuery(&Set));
  EXPECT_EQ(qvGetTableFieldPicture(&Set, "NOM"), "");
  EXPECT_EQ(qvGetAliasPath("VELBOR"), "");
  TModalScript Script;
  EXPECT_FALSE(qvPrepareAnswerTable(&Set, nullptr, ""));
  EXPECT_TRUE(Script.Asked.empty());
  EXPECT_FALSE(qvPrepareAnswerTable(&Set, nullptr, ":VELBOR:ANSWER.DB"));
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Invalid Alias in QBE");
  EXPECT_EQ(Script.Asked[0].DlgType, mtError);
}

}  // namespace
