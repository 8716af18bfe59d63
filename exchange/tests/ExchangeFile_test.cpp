// Tests of the exchange file format: golden bytes of the writer, the trailer check, field taking
// and the value encodings.
#include <gtest/gtest.h>

#include "ExchangeFile.h"
#include "FormatSettings.h"
#include "OsPort.h"

using namespace Exchange;

namespace {

const char* const Header =
    "DEC|,5  11 \r\n"
    "EMT|27419035500048|1|VIRQ|||||Lyon|69|Service des zones humides|\r\n"
    "DES|27419035500048|1|||||||||\r\n"
    "DEB|INVZH|C:\\x\\a.uzh|2004/03/12||1.0||||||||2002-1|\r\n";

TEST(ExchangeWriter, WritesHeaderRecordsAndTrailerWithoutLineEnd) {
  TExchangeWriter w(KindInventory, "C:\\x\\a.uzh", EncodeDate(2004, 3, 12));
  w.AddRecord("AZH", {"073ASTERS0001", "Lac \xE9t\xE9"});
  w.AddRecord("CMZ", {"073ASTERS0001", ""});
  EXPECT_EQ(w.Contents(), String(Header) +
                              "AZH|073ASTERS0001|Lac \xE9t\xE9|\r\n"
                              "CMZ|073ASTERS0001||\r\n"
                              "FIN|INVZH|7|");
}

TEST(ExchangeWriter, MultiLineValueCountsEachPhysicalLineWithCrLf) {
  TExchangeWriter w(KindDictionary, "p", EncodeDate(2004, 3, 12));
  w.AddRecord("ZHI", {"A", "un\ndeux\rtrois\r\nquatre"});
  String all = w.Contents();
  EXPECT_NE(all.find("ZHI|A|un\r\ndeux\r\ntrois\r\nquatre|\r\nFIN|REFZH|9|"), String::npos) << all;
  std::vector<String> lines = SplitLines(all);
  EXPECT_EQ(lines.size(), 9u);
  EXPECT_TRUE(TrailerMatches(lines, KindDictionary));
}

TEST(ExchangeWriter, DateSeparatorComesFromTheLocale) {
  FormatSettings.DateSeparator = '-';
  TExchangeWriter w(KindInventory, "p", EncodeDate(2004, 3, 12));
  FormatSettings = TFormatSettings::French();
  EXPECT_NE(w.Contents().find("|p|2004-03-12||1.0|"), String::npos);
}

TEST(ExchangeWriter, RefusesValuesTheFormatCannotCarry) {
  struct Case { const char* Value; const char* Expected; };
  const Case cases[] = {
      {"a|b", "champ 2"},
      {"ligne\r\nZHI|faux", "ZHI|"},
      {"ligne\nzhi|faux", "zhi|"},
      {"ligne\r\nAZH|faux", "AZH|"},
      {"ligne\r\nfin|INVZH", "fin|"},
      {"ligne\r\n003|x", "003|"},
  };
  for (const Case& c : cases) {
    TExchangeWriter w(KindInventory, "p", EncodeDate(2004, 3, 12));
    try {
      w.AddRecord("ZHI", {"073X", c.Value}, "Zone humide 073X, ZH_NOM");
      ADD_FAILURE() << "accepted " << c.Value;
    } catch (const EExchangeValue& E) {
      EXPECT_NE(E.Message.find("Zone humide 073X, ZH_NOM"), String::npos) << E.Message;
      EXPECT_NE(E.Message.find(c.Expected), String::npos) << AnsiToUtf8(E.Message);
    }
  }
  TExchangeWriter w(KindInventory, "p", EncodeDate(2004, 3, 12));
  EXPECT_NO_THROW(w.AddRecord("ZHI", {"073X", "ligne\r\nZHIX suite"}));
}

TEST(ExchangeWriter, SaveReplacesTargetOnlyAtTheEnd) {
  String folder = OsPort::TempFolder();
  String target = folder + "velbor_exchange_save.uzh";
  WriteFileBytes(target, "ancien");
  TExchangeWriter w(KindInventory, target, EncodeDate(2004, 3, 12));
  w.SaveToFile(target);
  EXPECT_EQ(ReadFileBytes(target), w.Contents());
  EXPECT_FALSE(OsPort::FileExists(target + "2"));
  OsPort::DeleteFile(target);
}

TEST(ExchangeReader, SplitLinesAcceptsEveryBreakAndNoEmptyLastLine) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<String>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<String>{"a"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<String>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(ExchangeReader, TrailerCheck) {
  TExchangeWriter w(KindInventory, "p", EncodeDate(2004, 3, 12));
  w.AddRecord("AZH", {"A", "B"});
  String good = w.Contents();
  struct Case { String Bytes; String Kind; bool Ok; const char* What; };
  const Case cases[] = {
      {good, KindInventory, true, "as written"},
      {good + "\r\n", KindInventory, true, "CR LF after the trailer"},
      {good, KindDictionary, false, "other kind"},
      {good.substr(0, good.size() - 3), KindInventory, false, "cut last line"},
      {"AZH|A|B|\r\n" + good, KindInventory, false, "one line more than announced"},
      {String(Header) + "FIN|INVZH|x|", KindInventory, false, "count not a number"},
      {"", KindInventory, false, "empty file"},
  };
  for (const Case& c : cases) EXPECT_EQ(TrailerMatches(SplitLines(c.Bytes), c.Kind), c.Ok) << c.What;
}

TEST(ExchangeReader, FieldsAreTakenLeftToRightMissingOnesEmpty) {
  const String record = "HFZ|073A|2004/03/12|ligne1\x1Bligne2|dernier";
  TExchangeFields f(record);
  EXPECT_EQ(f.Next(), "073A");
  EXPECT_EQ(f.Next(), "2004/03/12");
  EXPECT_EQ(f.Next(), "ligne1\x1Bligne2");
  EXPECT_EQ(f.Next(), "dernier");
  EXPECT_EQ(f.Next(), "");

  const String main = "ZHI|a\x1B" "b|c\x1B" "d|";
  TExchangeFields g(main, true);
  EXPECT_EQ(g.Next(), "a\x1B" "b") << "the code keeps its ESC";
  EXPECT_EQ(g.Next(), "c\r\nd");
  EXPECT_EQ(g.Next(), "");
  EXPECT_EQ(g.Next(), "");

  const String bare = "ZHI";  // no field at all
  TExchangeFields h(bare);
  EXPECT_EQ(h.Next(), "");
}

TEST(ExchangeValues, Booleans) {
  for (const char* t : {"vrai", "True", "1", "VRAI"}) EXPECT_TRUE(TexteVersBooleen(t)) << t;
  for (const char* t : {"oui", "0", "2", "", "1 "}) EXPECT_FALSE(TexteVersBooleen(t)) << t;
  EXPECT_EQ(BooleenVersTexte(true), "1");
  EXPECT_EQ(BooleenVersTexte(false), "0");
}

TEST(ExchangeValues, DatesAndNumbers) {
  EXPECT_EQ(DateVersTexte(EncodeDate(2004, 3, 12)), "2004/03/12");
  EXPECT_EQ(TexteVersDate("2004/03/12"), EncodeDate(2004, 3, 12));
  EXPECT_EQ(TexteVersDate("2004-03-12"), EncodeDate(2004, 3, 12));
  EXPECT_THROW(TexteVersDate("2004/13/12"), EConvertError);
  EXPECT_THROW(TexteVersDate("20x4/03/12"), EConvertError);
  EXPECT_EQ(NombreVersTexte(12), "12");
  EXPECT_EQ(NombreVersTexte(0.25), "0,25");
  EXPECT_EQ(NombreVersTexte(Arrondi(1.23455, 4)), "1,2346");
  EXPECT_EQ(NombreVersTexte(Arrondi(2.5, 0)), "2");
}

// Every record start ignores letter case, the main record's too: a line in small letters is a
// record of its own, which the import then refuses, never a line of the record before it.
TEST(ExchangeValues, RecordStartsIgnoreCase) {
  EXPECT_TRUE(IsDataStart("azh|"));
  EXPECT_TRUE(IsHeaderStart("Fin|"));
  EXPECT_FALSE(IsDataStart("ZHI|"));
  EXPECT_FALSE(IsDataStart("AZH "));
  EXPECT_TRUE(IsMainStart("ZHI|"));
  EXPECT_TRUE(IsMainStart("zhI|"));
  EXPECT_FALSE(IsMainStart("ZHI "));
  EXPECT_FALSE(IsMainStart("ZH"));
  EXPECT_TRUE(IsRecordStart("ZHI|x"));
  EXPECT_TRUE(IsRecordStart("zhi|x"));
}

}  // namespace
