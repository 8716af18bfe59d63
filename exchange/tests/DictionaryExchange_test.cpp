// Tests of the dictionary transfers over a fixture database: golden records, the import's
// additions and changes, refused rows and cancels.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "DictionaryExchange.h"
#include "ExchangeFile.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "StrUtils.h"
#include "TestDatabase.h"

using namespace Exchange;

namespace {

class TScriptedHost : public IExchangeHost {
 public:
  int Maximum = -1, Steps = 0, CancelAfter = -1;
  void ProgressStart(int Max, const String&) override { Maximum = Max; }
  void ProgressStep() override { ++Steps; }
  bool CancelRequested() override { return CancelAfter >= 0 && Steps >= CancelAfter; }
};

class DictionaryExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = OsPort::TempFolder() + "velbor_dict_test\\";
    OsPort::CreateDirectory(Folder);
    for (const char* f : {"base.db", "out.rzh", "out.rzh2", "in.rzh", "erreur.log"}) OsPort::DeleteFile(Folder + f);
    Session = std::make_unique<SqliteSession>(Folder + "base.db", TSqliteOpenMode::CreateIfMissing);
    TestDatabase::CreateSchema(*Session);
    TestDatabase::LoadFixture(*Session);
  }
  void TearDown() override { Session.reset(); }

  String Query(const String& Sql) {
    SqliteStatement s = Session->Prepare(Sql);
    return s.Step() ? (s.ColumnIsNull(0) ? String("<null>") : s.ColumnText(0)) : String("<none>");
  }
  String Export() {
    TScriptedHost host;
    TExchangeResult r = ExportDictionnaires(*Session, Folder + "out.rzh", EncodeDate(2026, 12, 10), host);
    EXPECT_EQ(r.Outcome, TExchangeResult::Done) << r.Message;
    EXPECT_EQ(host.Steps, host.Maximum);
    return ReadFileBytes(Folder + "out.rzh");
  }
  TExchangeResult Import(const String& Bytes, TScriptedHost& Host) {
    WriteFileBytes(Folder + "in.rzh", Bytes);
    return ImportDictionnaires(*Session, Folder + "in.rzh", Host);
  }
  // A dictionary file holding Records (CR LF after each) with its header and trailer.
  String FileOf(const std::vector<std::pair<String, std::vector<String>>>& Records) {
    TExchangeWriter w(KindDictionary, "in.rzh", EncodeDate(2026, 12, 10));
    for (const auto& r : Records) w.AddRecord(r.first, r.second);
    return w.Contents();
  }

  String Folder;
  std::unique_ptr<SqliteSession> Session;
};

TEST_F(DictionaryExchangeTest, ExportWritesGoldenRecords) {
  String all = Export();
  std::vector<String> lines = SplitLines(all);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[3], "DEB|REFZH|" + Folder + "out.rzh|2026/12/10||1.0||||||||2002-1|");
  EXPECT_TRUE(TrailerMatches(lines, KindDictionary));
  EXPECT_EQ(all.substr(all.size() - lines.back().size() - 2), "\r\n" + lines.back());
  const char* expected[] = {
      "RGN|84||Auvergne-Rh\xF4ne-Alpes||",
      "DEP|971||Guadeloupe|01|",
      "COM|73065|CHAMB\xE9RY||||||",  // only a-z are raised: the é stays
      "002|TYPE_ACTION|D_TYPE_ACTIONS|||ZHI|2002-1|",
      "003|ACTI_HUM|10|Tourisme et loisirs|||",
      "003|TYPO_CB|22.1|Eaux douces||2|",
  };
  for (const char* e : expected)
    EXPECT_NE(std::find(lines.begin(), lines.end(), String(e)), lines.end()) << e;
  EXPECT_LT(all.find("\r\nRGN|"), all.find("\r\nDEP|"));
  EXPECT_LT(all.find("\r\nIVZ|"), all.find("\r\n002|TYPE_ACTION"));
}

TEST_F(DictionaryExchangeTest, RoundTripKeepsRowsAndCapitalisesLabels) {
  String before = Query("select count(*) from D_COMMUNE");
  Session->Execute("update D_COMMUNE set DEP_CODE = 'xx' where COM_CODE = '97101'");
  String file = Export();
  TScriptedHost host;
  TExchangeResult r = Import(file, host);
  EXPECT_EQ(r.Outcome, TExchangeResult::Done) << r.Message;
  EXPECT_EQ(r.Message, "Fin de l'importation");
  EXPECT_EQ(Query("select count(*) from D_COMMUNE"), before);
  EXPECT_EQ(Query("select COM_LIB from D_COMMUNE where COM_CODE = '73008'"), "AIX-LES-BAINS");
  EXPECT_EQ(Query("select DEP_CODE from D_COMMUNE where COM_CODE = '97101'"), "971");
  EXPECT_EQ(Query("select DEP_CODE from D_COMMUNE where COM_CODE = '73008'"), "73");
}

TEST_F(DictionaryExchangeTest, ImportAddsAndChangesButNeverDeletes) {
  String regions = Query("select count(*) from D_REGION");
  TScriptedHost host;
  TExchangeResult r = Import(FileOf({{"RGN", {"99", "", "Nouvelle", ""}},
                                     {"RGN", {"84", "", "auvergne-rh\xF4ne-alpes", ""}},
                                     {"003", {"TYPE_ES", "Z1", "Zone", "", "ES"}},
                                     {"003", {"TYPE_ES", "Z2", "Zone", "", ""}},
                                     {"003", {"TYPE_ESX", "Z3", "Zone", "", ""}},
                                     {"IVZ", {"", "ZICO", "R01", "", "", "Lac", "", "", ""}}}),
                             host);
  EXPECT_EQ(r.Outcome, TExchangeResult::Done) << r.Message;
  EXPECT_EQ(Query("select count(*) from D_REGION"), IntToStr(StrToInt(regions) + 1));
  EXPECT_EQ(Query("select REG_LIB from D_REGION where REG_CODE = '84'"), "auvergne-rh\xF4ne-alpes");
  EXPECT_EQ(Query("select TYPE_ES_FLGENTREE || TYPE_ES_FLGSORTIE from D_TYPE_ES where TYPE_ES_CODE = 'Z1'"), "11");
  EXPECT_EQ(Query("select TYPE_ES_FLGENTREE || TYPE_ES_FLGSORTIE from D_TYPE_ES where TYPE_ES_CODE = 'Z2'"), "00");
  EXPECT_EQ(Query("select count(*) from D_TYPE_ES where TYPE_ES_CODE = 'Z3'"), "0");
  EXPECT_EQ(Query("select INV_LIB_ZICO from D_ZICO where INV_NATIONAL = 'R01'"), "Lac");
}

TEST_F(DictionaryExchangeTest, RefusedRowsAreLoggedAndReported) {
  TScriptedHost host;
  TExchangeResult r = Import(FileOf({{"003", {"TYPO_CB", "99.9", "Mauvais rang", "", "pas un nombre"}},
                                     {"RGN", {"12345678901", "", "Trop long", ""}},
                                     {"RGN", {"98", "", "Bonne", ""}}}),
                             host);
  EXPECT_EQ(r.Outcome, TExchangeResult::Failed);
  EXPECT_NE(r.Message.find("2 ligne"), String::npos) << r.Message;
  std::vector<String> log = SplitLines(ReadFileBytes(Folder + "erreur.log"));
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].substr(0, 29), "Trame : 003|TYPO_CB|99.9|Mauv");
  EXPECT_EQ(Query("select REG_LIB from D_REGION where REG_CODE = '98'"), "Bonne");

  TScriptedHost again;
  EXPECT_EQ(Import(FileOf({{"RGN", {"97", "", "Autre", ""}}}), again).Outcome, TExchangeResult::Done);
  EXPECT_FALSE(OsPort::FileExists(Folder + "erreur.log")) << "a clean run deletes the old log";
}

TEST_F(DictionaryExchangeTest, BrokenFilesAreRefusedWithoutChange) {
  String good = FileOf({{"RGN", {"99", "", "Nouvelle", ""}}});
  TExchangeWriter inventory(KindInventory, "x", EncodeDate(2026, 12, 10));
  const std::pair<String, const char*> cases[] = {
      {good.substr(0, good.size() - 2), "cut last line"},
      {"RGN|99||Nouvelle||\r\n" + good, "wrong count"},
      {inventory.Contents(), "other kind"},
      {"", "empty file"},
  };
  for (const auto& c : cases) {
    TScriptedHost host;
    TExchangeResult r = Import(c.first, host);
    EXPECT_EQ(r.Outcome, TExchangeResult::Refused) << c.second;
    EXPECT_EQ(Query("select count(*) from D_REGION where REG_CODE = '99'"), "0") << c.second;
  }
}

TEST_F(DictionaryExchangeTest, CancelledExportKeepsOldFileAndSaysSo) {
  WriteFileBytes(Folder + "out.rzh", "ancien");
  TScriptedHost host;
  host.CancelAfter = 3;
  TExchangeResult r = ExportDictionnaires(*Session, Folder + "out.rzh", EncodeDate(2026, 12, 10), host);
  EXPECT_EQ(r.Outcome, TExchangeResult::Cancelled);
  EXPECT_EQ(r.Message.find("Fin de"), String::npos);
  EXPECT_EQ(ReadFileBytes(Folder + "out.rzh"), "ancien");
  EXPECT_FALSE(OsPort::FileExists(Folder + "out.rzh2"));
}

TEST_F(DictionaryExchangeTest, CancelledImportKeepsRowsAlreadyWritten) {
  TScriptedHost host;
  host.CancelAfter = 5;  // four header lines, then one record
  TExchangeResult r = Import(FileOf({{"RGN", {"91", "", "Un", ""}}, {"RGN", {"92", "", "Deux", ""}}}), host);
  EXPECT_EQ(r.Outcome, TExchangeResult::Cancelled);
  EXPECT_EQ(Query("select REG_LIB from D_REGION where REG_CODE = '91'"), "Un");
  EXPECT_EQ(Query("select count(*) from D_REGION where REG_CODE = '92'"), "0");
}

}  // namespace
