// Tests of local filtering: the record test of every match type on a fixture dataset, and Escape
// stopping a long pass while other keystrokes stay queued.
#include <gtest/gtest.h>

#include <windows.h>

#include "DateTime.h"
#include "FormatSettings.h"
#include "VectorDataSet.h"
#include "qvRecordFilter.h"

namespace {
TqvFieldInfo Value(const String& Field, TqvFilterMatchType Match, const String& V, bool Case = false, bool Not = false) {
  TqvFieldInfo C;
  C.FieldName = Field;
  C.MatchType = Match;
  C.FilterValue = V;
  C.CaseSensitive = Case;
  C.NonMatching = Not;
  return C;
}
TqvFieldInfo Range(const String& Field, const String& Min, const String& Max, bool Case = false, bool Not = false) {
  TqvFieldInfo C;
  C.FieldName = Field;
  C.MatchType = fdMatchRange;
  C.MinValue = Min;
  C.MaxValue = Max;
  C.CaseSensitive = Case;
  C.NonMatching = Not;
  return C;
}

class RecordFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    Variant N = Variant::Null();
    Table.AddRow({"Czzz", 1, 2.00005, EncodeDateTime(2024, 3, 15, 23, 59, 0, 0), "Lagune"});
    Table.AddRow({"D", 2, 2.001, EncodeDateTime(2024, 3, 16, 0, 0, 0, 0), "Mare"});
    Table.AddRow({"Boue", 3, 1.0, EncodeDateTime(2024, 3, 15, 12, 0, 0, 0), "étang bleu"_a});
    Table.AddRow({"c", 4, 0.5, EncodeDateTime(2024, 3, 15, 12, 1, 0, 0), N});
    Table.AddRow({"Bz", 5, N, N, "Lagune bleue"});
    Table.Open();
  }

  // The codes of the rows the criteria keep.
  String Codes(const std::vector<TqvFieldInfo>& Criteria) {
    Filter.Criteria = Criteria;
    Filter.Install(&Table);
    String Result;
    for (Table.First(); !Table.Eof(); Table.Next()) Result += (Result.empty() ? "" : ",") + Table.FieldByName("Code")->AsString();
    return Result;
  }

  TVectorDataSet Table{{{"Nom", ftString, 5}, {"Code", ftInteger}, {"Surface", ftFloat}, {"Releve", ftDateTime}, {"Note", ftString, 40}}};
  TqvRecordFilter Filter;
};

TEST_F(RecordFilter, KeepsTheRecordsOfEachCriterion) {
  struct TCase {
    const char* What;
    std::vector<TqvFieldInfo> Criteria;
    const char* Codes;
  };
  const TCase Cases[] = {
      {"or-word, exact", {Value("Note", fdMatchExact, "lagune OR Mare")}, "1,2"},
      {"and-word, anywhere", {Value("Note", fdMatchAny, "ta and BLE")}, "3"},
      {"start", {Value("Nom", fdMatchStart, "b")}, "3,5"},
      {"start, case counts", {Value("Nom", fdMatchStart, "c", true)}, "4"},
      {"end", {Value("Note", fdMatchEnd, "UNE")}, "1"},
      {"null-word", {Value("Note", fdMatchExact, "Null")}, "4"},
      {"inverted value", {Value("Note", fdMatchExact, "Mare", false, true)}, "1,3,4,5"},
      {"integers or-ed", {Value("Code", fdMatchExact, "2 or 04")}, "2,4"},
      {"float exact", {Value("Surface", fdMatchExact, "1,0")}, "3"},
      {"float range widened by epsilon", {Range("Surface", "1", "2")}, "1,3"},
      {"a range is never inverted", {Range("Surface", "1", "2", false, true)}, "1,3"},
      {"date-time end as a day", {Range("Releve", "", "15/03/2024")}, "1,3,4"},
      {"date-time end at noon", {Range("Releve", "", "15/03/2024 12:00")}, "3"},
      {"date-time start", {Range("Releve", "15/03/2024 12:01", "")}, "1,2,4"},
      {"text range, case counts, end padded", {Range("Nom", "B", "C", true)}, "1,3,5"},
      {"text range, any case", {Range("Nom", "B", "C")}, "1,3,4,5"},
      {"criteria all hold", {Value("Nom", fdMatchStart, "b"), Range("Code", "4", "5")}, "5"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.What);
    EXPECT_EQ(Codes(Case.Criteria), Case.Codes);
  }
}

TEST_F(RecordFilter, NoCriteriaLeaveTheDatasetUnfiltered) {
  EXPECT_EQ(Codes({Value("Code", fdMatchExact, "2")}), "2");
  EXPECT_EQ(Codes({}), "1,2,3,4,5");
  EXPECT_FALSE(Table.Filtered());
}

TEST_F(RecordFilter, AMissingFieldIsNamedInTheError) {
  try {
    Filter.MatchCriterion(&Table, Value("Commune", fdMatchExact, "x"));
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Champ 'Commune' non trouvé"_a);
  }
}

TEST(FilterValuesEqual, ComparesByTheFieldsType) {
  struct TCase {
    const char* Part;
    const char* Text;
    TFieldType Type;
    bool Equal;
  };
  const TCase Cases[] = {
      {"abc", "abc", ftString, true},   {"abc", "ABC", ftString, false}, {"07", "7", ftInteger, true},
      {"7", "", ftInteger, false},      {"null", "", ftInteger, false}, {"1,50", "1,5", ftFloat, true},
      {"1/3/2024", "01/03/2024", ftDate, true}, {"9:05", "09:05:00", ftTime, true}, {"x", "y", ftBlob, false},
  };
  FormatSettings = TFormatSettings::French();
  for (const TCase& C : Cases) EXPECT_EQ(qvFilterValuesEqual(C.Part, C.Text, C.Type, "null"), C.Equal) << C.Part << " / " << C.Text;
}

class EscapeLog : public TObject {
 public:
  int Count = 0;
  void Escaped(TDataSet*) { ++Count; }
};

std::vector<WPARAM> QueuedKeyDowns() {
  std::vector<WPARAM> Keys;
  MSG Msg;
  while (PeekMessageA(&Msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) Keys.push_back(Msg.wParam);
  return Keys;
}

// A pass that rejects every record stops within a hundred records of the Escape; the key typed
// before it stays queued.
TEST(RecordFilterEscape, StopsALongPassAndKeepsOtherKeys) {
  TVectorDataSet Table{{{"Code", ftInteger}}};
  for (int i = 1; i <= 1000; ++i) Table.AddRow({i});
  Table.Open();
  QueuedKeyDowns();
  TqvRecordFilter Filter;
  EscapeLog Log;
  Filter.OnFilterEscape = TqvFilterEscapeEvent(&Log, &EscapeLog::Escaped);
  Filter.Criteria = {Value("Code", fdMatchExact, "-1")};
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, 'A', 0));
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0));
  Filter.Install(&Table);
  Table.First();
  EXPECT_TRUE(Filter.Cancelled());
  EXPECT_EQ(Log.Count, 1);
  ASSERT_FALSE(Table.Eof());
  EXPECT_LE(Table.FieldByName("Code")->AsInteger(), 101);
  EXPECT_EQ(QueuedKeyDowns(), std::vector<WPARAM>{'A'});

  // Without Escape the same pass keeps nothing.
  Filter.Install(&Table);
  Table.First();
  EXPECT_FALSE(Filter.Cancelled());
  EXPECT_TRUE(Table.Eof());
}
}  // namespace
