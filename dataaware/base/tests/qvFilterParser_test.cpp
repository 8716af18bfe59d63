// Tests of the filter-expression parser: the descriptor bytes it writes, checked against bytes
// worked out by hand from the layout, and the same expressions applied to a fixture table.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "DateTime.h"
#include "Dialogs.h"
#include "FilterDescriptor.h"
#include "FormatSettings.h"
#include "Forms.h"
#include "VectorDataSet.h"
#include "qvFilterParser.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

// "01 00 3D 00": bytes written as hex pairs.
Bytes Hex(const char* Text) {
  Bytes Result;
  std::istringstream In(Text);
  unsigned Value;
  while (In >> std::hex >> Value) Result.push_back(std::uint8_t(Value));
  return Result;
}
Bytes operator+(Bytes A, const Bytes& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}
Bytes Text(const char* S) { return Bytes(S, S + std::strlen(S) + 1); }
Bytes Double(double V) {
  Bytes B(8);
  std::memcpy(B.data(), &V, 8);
  return B;
}

// Applies a descriptor as the dataset's record filter.
class TDescriptorFilter : public TObject {
 public:
  std::unique_ptr<TFilterDescriptor> Filter;
  void FilterRecord(TDataSet* DataSet, bool& Accept) { Accept = Filter->Accept(*DataSet); }
};

class FilterParser : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    Table.AddRow({"Dupont", 3, 12.5, EncodeDate(2024, 3, 15), EncodeDateTime(2024, 3, 15, 10, 0, 0, 0), true, "Dupont", 1});
    Table.AddRow({"Durand", 3, 8.0, EncodeDate(2024, 3, 14), EncodeDateTime(2024, 3, 15, 13, 0, 0, 0), false, "Durant", 2});
    Table.AddRow({"Martin", 5, 20.0, EncodeDate(2024, 3, 16), EncodeDateTime(2024, 3, 16, 0, 0, 0, 0), true, "martin", 3});
    Table.AddRow({"Petit", 7, Variant::Null(), Variant::Null(), Variant::Null(), false, "Grand", 4});
    Table.Open();
  }

  // The names of the rows the descriptor keeps, in table order.
  String Kept(const Bytes& Descriptor) {
    Handler.Filter = std::make_unique<TFilterDescriptor>(Descriptor);
    Table.SetOnFilterRecord(TFilterRecordEvent(&Handler, &TDescriptorFilter::FilterRecord));
    Table.SetFiltered(true);
    String Names;
    for (Table.First(); !Table.Eof(); Table.Next()) Names += (Names.empty() ? "" : ",") + Table.FieldByName("Nom")->AsString();
    Table.SetFiltered(false);
    return Names;
  }
  TDescriptorFilter Handler;
  TVectorDataSet Table{{{"Nom", ftString, 20},
                        {"Code", ftInteger},
                        {"Surface", ftFloat},
                        {"Visite", ftDate},
                        {"Releve", ftDateTime},
                        {"Actif", ftBoolean},
                        {"Nom Usuel", ftString, 20},
                        {"Rang", ftSmallint}}};
};

// Header, node slots and literal area of each expression, worked out from the layout: nodes in
// post-order from the last slot down, so the root lies at offset 0.
TEST_F(FilterParser, WritesTheDescriptorBytes) {
  struct TCase {
    const char* Expression;
    Bytes Expected;
  };
  const TCase Cases[] = {
      {"Code = 3",
       Hex("01 00 3D 00 03 00 0A 00 34 00"
           " 02 00 00 00 03 00 00 00 1C 00 0E 00 00 00"
           " 05 00 00 00 0E 00 00 00 06 00 04 00 05 00"
           " 04 00 00 00 0D 00 00 00 01 00 00 00 00 00") +
           Text("Code") + Hex("03 00 00 00")},
      {"Nom = \"Dupont\" AND Code = 3",
       Hex("01 00 80 00 07 00 0A 00 6C 00"
           " 02 00 00 00 0A 00 00 00 38 00 0E 00 00 00"
           " 02 00 00 00 03 00 00 00 2A 00 1C 00 00 00"
           " 05 00 00 00 0E 00 00 00 06 00 04 00 10 00"
           " 04 00 00 00 0D 00 00 00 02 00 0B 00 00 00"
           " 02 00 00 00 03 00 00 00 54 00 46 00 00 00"
           " 05 00 00 00 0E 00 00 00 01 00 07 00 04 00"
           " 04 00 00 00 0D 00 00 00 01 00 00 00 00 00") +
           Text("Nom") + Text("Dupont") + Text("Code") + Hex("03 00 00 00")},
      // A date: day 738960 of the time stamp (0001-01-01 is day 1).
      {"Visite >= \"15/03/2024\"",
       Hex("01 00 3F 00 03 00 0A 00 34 00"
           " 02 00 00 00 07 00 00 00 1C 00 0E 00 00 00"
           " 05 00 00 00 0E 00 00 00 02 00 04 00 07 00"
           " 04 00 00 00 0D 00 00 00 01 00 00 00 00 00") +
           Text("Visite") + Hex("90 46 0B 00")},
      // A date-time: milliseconds of the time stamp, 738960 days and 12:30.
      {"Releve < \"15/03/2024 12:30\"",
       Hex("01 00 43 00 03 00 0A 00 34 00"
           " 02 00 00 00 06 00 00 00 1C 00 0E 00 00 00"
           " 05 00 00 00 0E 00 00 00 0B 00 08 00 07 00"
           " 04 00 00 00 0D 00 00 00 01 00 00 00 00 00") +
           Text("Releve") + Double(738960.0 * 86400000.0 + 45000000.0)},
      {"Actif = tout",
       Hex("01 00 3C 00 03 00 0A 00 34 00"
           " 02 00 00 00 03 00 00 00 1C 00 0E 00 00 00"
           " 05 00 00 00 0E 00 00 00 04 00 02 00 06 00"
           " 04 00 00 00 0D 00 00 00 01 00 00 00 00 00") +
           Text("Actif") + Hex("FF FF")},
      {"Actif <> Faux",
       Hex("01 00 3C 00 03 00 0A 00 34 00"
           " 02 00 00 00 04 00 00 00 1C 00 0E 00 00 00"
           " 05 00 00 00 0E 00 00 00 04 00 02 00 06 00"
           " 04 00 00 00 0D 00 00 00 01 00 00 00 00 00") +
           Text("Actif") + Hex("00 00")},
      {"Surface > 12,5",
       Hex("01 00 44 00 03 00 0A 00 34 00"
           " 02 00 00 00 05 00 00 00 1C 00 0E 00 00 00"
           " 05 00 00 00 0E 00 00 00 07 00 08 00 08 00"
           " 04 00 00 00 0D 00 00 00 01 00 00 00 00 00") +
           Text("Surface") + Double(12.5)},
      {"Rang <= -2",
       Hex("01 00 3B 00 03 00 0A 00 34 00"
           " 02 00 00 00 08 00 00 00 1C 00 0E 00 00 00"
           " 05 00 00 00 0E 00 00 00 05 00 02 00 05 00"
           " 04 00 00 00 0D 00 00 00 01 00 00 00 00 00") +
           Text("Rang") + Hex("FE FF")},
      // Two fields: the right side is a field node of its own, numbered 2.
      {"nom = Nom Usuel",
       Hex("01 00 42 00 03 00 0A 00 34 00"
           " 02 00 00 00 03 00 00 00 1C 00 0E 00 00 00"
           " 04 00 00 00 0D 00 00 00 02 00 04 00 00 00"
           " 04 00 00 00 0D 00 00 00 01 00 00 00 00 00") +
           Text("Nom") + Text("Nom Usuel")},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Expression);
    Bytes Got = qvBuildFilterDescriptor(Case.Expression, &Table);
    int Nodes = (Case.Expected[8] - 10) / 14;
    ASSERT_EQ(Got.size(), std::size_t(14 * Nodes + 1010));
    Bytes Head(Got.begin(), Got.begin() + std::ptrdiff_t(Case.Expected.size()));
    EXPECT_EQ(Head, Case.Expected);
    for (std::size_t i = Case.Expected.size(); i < Got.size(); ++i) ASSERT_EQ(Got[i], 0) << "byte " << i;
  }
}

// The same kind of expressions, applied to the fixture's four rows.
TEST_F(FilterParser, KeepsTheRowsTheExpressionSelects) {
  struct TCase {
    const char* Expression;
    const char* Kept;
  };
  const TCase Cases[] = {
      {"Nom = \"Dupont\" AND Code = 3", "Dupont"},
      {"Nom = \"Dupont\" OR Code = 5", "Dupont,Martin"},
      {"(Code = 5 OR Code = 7) AND Actif = T", "Martin"},
      // AND and OR group from the left: (3 or 5) and not active.
      {"Code = 3 OR Code = 5 AND Actif = F", "Durand"},
      {"Code = 3 OR (Code = 5 AND Actif = F)", "Dupont,Durand"},
      {"Visite >= \"15/03/2024\"", "Dupont,Martin"},
      {"Releve < \"15/03/2024 12:30\"", "Dupont"},
      {"Releve <= \"16/03/2024\"", "Dupont,Durand,Martin"},
      {"Surface <= 12,5", "Dupont,Durand"},
      {"Nom > \"dupont\"", "Durand,Martin,Petit"},
      {"Nom Usuel = \"grand\"", "Petit"},
      {"Rang <> 2", "Dupont,Martin,Petit"},
      // Field against field, in the text order (case never counts).
      {"Nom = Nom Usuel", "Dupont,Martin"},
      {"Nom <> Nom Usuel", "Durand,Petit"},
      // "OR" is read off the front of ORDER; whatever follows a complete expression is ignored.
      {"Code = 7 ORCode = 5", "Martin,Petit"},
      {"Code = 5 )", "Martin"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Expression);
    TModalScript Script;
    Bytes Descriptor = qvBuildFilterDescriptor(Case.Expression, &Table);
    ASSERT_FALSE(Descriptor.empty());
    EXPECT_EQ(Kept(Descriptor), Case.Kept);
    EXPECT_TRUE(Script.Asked.empty());
  }
}

TEST_F(FilterParser, RefusesWhatDoesNotParseOrConvert) {
  const char* Cases[] = {
      "",                              // nothing to read
      "Code = 3 AND (Nom = \"a\"",     // missing ")"
      "Code",                          // a name tests nothing
      "Code = abc",                    // not an integer
      "Visite = 15/03/2024",           // unquoted, the date ends at "/": "15" is no date
      "Rang = 40000",                  // beyond a small integer
      "Code == 3",                     // no such comparison
      "(Code = 3) = 4",                // only a field is compared
      "Code = 3 AND",                  // no relation after AND
      "Nom = \"Dupont",                // unterminated text
  };
  for (const char* Expression : Cases) {
    SCOPED_TRACE(Expression);
    TModalScript Script;
    EXPECT_TRUE(qvBuildFilterDescriptor(Expression, &Table).empty());
    EXPECT_TRUE(Script.Asked.empty());
  }
}

TEST_F(FilterParser, WarnsOfANameThatIsNoField) {
  const char* Cases[][2] = {
      {"\"Nom\" = \"x\"", "\"Nom\"\rField not found in Table. "},  // quoted, so not the field
      {"Code = 3 OR Comune = \"x\"", "Comune\rField not found in Table. "},
      // OR is read off the front of ORDER, and DER is no field.
      {"Code = 7 ORDER = 3", "DER\rField not found in Table. "},
  };
  for (auto& Case : Cases) {
    SCOPED_TRACE(Case[0]);
    TModalScript Script;
    Script.Push(mrOk);
    EXPECT_TRUE(qvBuildFilterDescriptor(Case[0], &Table).empty());
    ASSERT_EQ(Script.Asked.size(), 1u);
    EXPECT_EQ(Script.Asked[0].Text, Case[1]);
    EXPECT_EQ(Script.Asked[0].DlgType, mtWarning);
  }
}

// Forty comparisons of 20-letter texts fill the 1000 literal bytes exactly; one more is refused.
TEST_F(FilterParser, RefusesMoreLiteralsThanTheAreaHolds) {
  auto Chain = [](int Count) {
    String Text;
    for (int i = 0; i < Count; ++i) Text += String(i ? " OR " : "") + "Nom = \"abcdefghijklmnopqrst\"";
    return Text;
  };
  TModalScript Script;
  Bytes Full = qvBuildFilterDescriptor(Chain(40), &Table);
  ASSERT_FALSE(Full.empty());
  int Nodes = Full[4] | Full[5] << 8;
  EXPECT_EQ(Nodes, 40 * 3 + 39);
  EXPECT_EQ(Full[2] | Full[3] << 8, 10 + 14 * Nodes + 1000);
  EXPECT_EQ(Kept(Full), "");
  EXPECT_TRUE(qvBuildFilterDescriptor(Chain(41), &Table).empty());
}

// The engine's BCD: digit count, sign and decimals, then the digits two to a byte.
TEST(FilterBCD, WritesAndReadsDigits) {
  struct TCase {
    double Value;
    int Decimals;
    const char* Bytes;
  };
  const TCase Cases[] = {
      {12.5, 2, "04 02 12 50"},
      {-0.5, 1, "01 81 50"},
      {0.05, 2, "02 02 05"},
      {0, 0, "01 00 00"},
      {1234.567, 2, "06 02 12 34 57"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Value);
    std::uint8_t Out[FilterDescriptor::BCDSize];
    FilterDescriptor::DoubleToBCD(Case.Value, 32, Case.Decimals, Out);
    Bytes Expected = Hex(Case.Bytes);
    Expected.resize(FilterDescriptor::BCDSize, 0);
    EXPECT_EQ(Bytes(Out, Out + FilterDescriptor::BCDSize), Expected);
    double Back = 0;
    ASSERT_TRUE(FilterDescriptor::BCDToDouble(Out, Back));
    EXPECT_NEAR(Back, Case.Value, 0.006);
  }
}

// Bytes that do not hold together are refused before any record is read.
TEST_F(FilterParser, DescriptorCheckRefusesDamagedBytes) {
  TModalScript Script;
  Bytes Good = qvBuildFilterDescriptor("Nom = \"Dupont\" AND Code = 3", &Table);
  ASSERT_FALSE(Good.empty());
  EXPECT_NO_THROW(TFilterDescriptor{Good});
  struct TDamage {
    const char* What;
    std::size_t At;
    std::uint8_t Value;
  };
  const TDamage Damages[] = {
      {"version", 0, 2},
      {"total size past the literal area", 3, 0x10},
      {"child pointing back at its parent", 10 + 8, 0},
      {"child offset inside a slot", 10 + 8, 0x39},
      {"unknown node class", 10 + 14, 9},
      {"literal offset outside the area", 10 + 14 * 6 + 10, 0xF0},
      {"text constant size past the area", 10 + 14 * 5 + 10, 0x60},
  };
  for (const TDamage& Damage : Damages) {
    SCOPED_TRACE(Damage.What);
    Bytes Bad = Good;
    Bad[Damage.At] = Damage.Value;
    EXPECT_THROW(TFilterDescriptor{Bad}, EDatabaseError);
  }
}
}  // namespace
