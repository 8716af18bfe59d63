// Tests of TADOConnection: the property list of its connection string, connecting with its events,
// the refusal of a file that is not a database, transactions, and statements run directly or by
// TADOCommand and TADOQuery.
#include <gtest/gtest.h>

#include "ADOTestDatabase.h"
#include "StrUtils.h"
#include "Strings.h"

namespace {

struct TPropertyCase {
  const char* Name;
  const char* Expected;
};

struct TConnectionStringCase {
  const char* Text;
  const char* Name;
  const char* Expected;
};

TEST(ConnectionStringTest, ReadsEachPropertyOfTheList) {
  // The program's list: properties ended by ';' except the last, empty values written "".
  const String Program =
      "Provider=Some.Provider.4.0;User ID=Admin;Data Source=Z:\\velbor\\base\\velbor.mdb;Mode=ReadWrite;"
      "Extended Properties=\"\";System database=\"\";Registry Path=\"\";Database Password=\"\";"
      "Engine Type=5;Database Locking Mode=1;Global Partial Bulk Ops=2;Global Bulk Transactions=1;"
      "New Database Password=\"\";Create System Database=False;Encrypt Database=False;"
      "Don't Copy Locale on Compact=False;Compact Without Replica Repair=False;SFP=False";
  const TPropertyCase Cases[] = {
      {"Data Source", "Z:\\velbor\\base\\velbor.mdb"},
      {"data source", "Z:\\velbor\\base\\velbor.mdb"},  // names ignore case
      {"Provider", "Some.Provider.4.0"},
      {"Extended Properties", ""},
      {"Engine Type", "5"},
      {"Don't Copy Locale on Compact", "False"},
      {"SFP", "False"},  // the last one, without ';'
      {"Password", ""},  // absent
  };
  for (const auto& Case : Cases) EXPECT_EQ(ConnectionStringValue(Program, Case.Name), Case.Expected) << Case.Name;
  EXPECT_EQ(ParseConnectionString(Program).size(), 18u);
}

TEST(ConnectionStringTest, QuotedValuesKeepSeparatorsAndBlanksAreTrimmed) {
  const TConnectionStringCase Cases[] = {
      {" Data Source = C:\\a b\\x.mdb ;", "Data Source", "C:\\a b\\x.mdb"},
      {"Data Source=\"C:\\a;b\\x.mdb\";Mode=Read", "Data Source", "C:\\a;b\\x.mdb"},
      {"Data Source='it''s.mdb'", "Data Source", "it's.mdb"},
      {"Password=\"say \"\"hi\"\"\";", "Password", "say \"hi\""},
      {";;Mode=Read;;", "Mode", "Read"},
      {"Persist Security Info;Mode=Write", "Mode", "Write"},
  };
  for (const auto& Case : Cases) EXPECT_EQ(ConnectionStringValue(Case.Text, Case.Name), Case.Expected) << Case.Text;
}

// --- Connecting -----------------------------------------------------------------------------------------

class TConnectionEvents : public TObject {
 public:
  String File;
  std::vector<String> Log;
  void BeforeConnect(TObject* Sender) {
    Log.push_back("BeforeConnect");
    // What the program's set-up does: the string is given just before connecting.
    static_cast<TADOConnection*>(Sender)->SetConnectionString("Data Source=" + File);
  }
  void AfterConnect(TObject* Sender) {
    Log.push_back(static_cast<TADOConnection*>(Sender)->Connected() ? "AfterConnect(open)" : "AfterConnect(closed)");
  }
  void BeforeDisconnect(TObject*) { Log.push_back("BeforeDisconnect"); }
  void AfterDisconnect(TObject*) { Log.push_back("AfterDisconnect"); }
};

using ADOConnectionTest = ADOTest;

TEST_F(ADOConnectionTest, BeforeConnectMayGiveTheStringAndClosingClosesTheDataSets) {
  TConnectionEvents Events;
  Events.File = DatabasePath;
  TADOConnection Own(nullptr);
  Own.BeforeConnect = TNotifyEvent(&Events, &TConnectionEvents::BeforeConnect);
  Own.AfterConnect = TNotifyEvent(&Events, &TConnectionEvents::AfterConnect);
  Own.BeforeDisconnect = TNotifyEvent(&Events, &TConnectionEvents::BeforeDisconnect);
  Own.AfterDisconnect = TNotifyEvent(&Events, &TConnectionEvents::AfterDisconnect);
  Own.SetConnected(true);
  EXPECT_TRUE(Own.Connected());
  EXPECT_EQ(Own.DatabaseFile(), DatabasePath);

  TADOQuery Query(nullptr);
  Query.SetConnection(&Own);
  Query.SQL()->SetText("select ZH_CODE from T_ZONE_HUMIDE");
  Query.Open();
  EXPECT_EQ(Own.DataSetCount(), 1);
  EXPECT_THROW(Own.SetConnectionString("Data Source=ailleurs.mdb"), EDatabaseError);

  Own.Close();
  EXPECT_FALSE(Query.Active());
  EXPECT_EQ(Events.Log, (std::vector<String>{"BeforeConnect", "AfterConnect(open)", "BeforeDisconnect", "AfterDisconnect"}));
  // A dataset opened on a closed connection opens it first.
  Query.Open();
  EXPECT_TRUE(Own.Connected());
  EXPECT_EQ(Query.RecordCount(), 3);
}

TEST_F(ADOConnectionTest, AFileThatIsNotADatabaseIsRefusedAndLeftUntouched) {
  const String Other = PathOf("ancien.mdb");
  const std::string Bytes = std::string("\x00\x01\x00\x00", 4) + "Another engine's file, page 1" + std::string(4, '\0');
  WriteRaw(Other, Bytes);
  TADOConnection Own(nullptr);
  Own.SetConnectionString(ConnectionStringFor(Other));
  try {
    Own.Open();
    ADD_FAILURE() << "opened";
  } catch (EDatabaseError& E) {
    EXPECT_NE(E.Message.find(Other), String::npos) << E.Message;
    EXPECT_NE(E.Message.find("n'est pas une base de données"_a), String::npos) << E.Message;
  }
  EXPECT_FALSE(Own.Connected());
  EXPECT_EQ(ReadRaw(Other), Bytes);

  // Without a file name, and with a missing file.
  Own.SetConnectionString("Provider=Velbor.SQLite;Mode=Read");
  EXPECT_THROW(Own.Open(), EDatabaseError);
  Own.SetConnectionString(ConnectionStringFor(PathOf("absent.mdb")));
  EXPECT_THROW(Own.Open(), EDatabaseError);
  EXPECT_EQ(ReadRaw(PathOf("absent.mdb")), "<missing>");
}

TEST_F(ADOConnectionTest, TransactionsCoverStatementsAndPostsAlike) {
  auto Zone = OpenDataSet("select * from T_ZONE_HUMIDE where ZH_CODE = ''");
  TADOQuery Delete(nullptr);
  Delete.SetConnection(Connection.get());
  Delete.SQL()->SetText("DELETE T_ALIAS.* FROM T_ALIAS WHERE ZH_CODE = '073ASTERS0002';");

  for (bool Commit : {false, true}) {
    EXPECT_EQ(Connection->BeginTrans(), 1);
    EXPECT_TRUE(Connection->InTransaction());
    EXPECT_EQ(Delete.ExecSQL(), 2);
    EXPECT_EQ(Delete.RowsAffected(), 2);
    Zone->Append();
    Zone->FieldByName("ZH_CODE")->SetAsString("074TEST");
    Zone->FieldByName("ZH_NOM")->SetAsString("Essai");
    Zone->Post();
    if (Commit)
      Connection->CommitTrans();
    else
      Connection->RollbackTrans();
    EXPECT_FALSE(Connection->InTransaction());
    EXPECT_EQ(CountOf("select count(*) from T_ALIAS where ZH_CODE = '073ASTERS0002'"), Commit ? 0 : 2);
    EXPECT_EQ(CountOf("select count(*) from T_ZONE_HUMIDE where ZH_CODE = '074TEST'"), Commit ? 1 : 0);
    // The cursor keeps what was posted to it; reading again drops the rolled-back row.
    Zone->Requery();
  }
}

TEST_F(ADOConnectionTest, CommandsBindTheirParameters) {
  TADOCommand Command(nullptr);
  Command.SetConnection(Connection.get());
  Command.SetCommandText("update T_ZONE_HUMIDE set ZH_NOM = :NOM where ZH_CODE = :CODE or ZH_CODE = :Code2");
  ASSERT_EQ(Command.Parameters()->Count(), 3);
  EXPECT_EQ(Command.Parameters()->Items(0)->Name(), "NOM");
  Command.Parameters()->ParamByName("nom")->SetValue("Marais d'Œuf"_a);
  Command.Parameters()->ParamByName("CODE")->SetValue("073asters0002");  // the collation ignores case
  EXPECT_EQ(Command.Execute(), 1);
  EXPECT_EQ(ReadBack("select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0002'").AsString(),
            "Marais d'Œuf"_a);
  EXPECT_THROW(Command.Parameters()->ParamByName("ABSENT"), EDatabaseError);

  // Deleting the connection leaves the command without one.
  Connection.reset();
  EXPECT_EQ(Command.Connection(), nullptr);
  EXPECT_THROW(Command.Execute(), EDatabaseError);
}

TEST_F(ADOConnectionTest, DirectStatementsUseTheProgramsDialect) {
  EXPECT_EQ(Connection->Execute("DELETE T_COMMUNE_ZH.* FROM T_COMMUNE_ZH WHERE [ZH_CODE] = '073ASTERS0001'"), 2);
  EXPECT_EQ(CountOf("select count(*) from T_COMMUNE_ZH"), 1);
  EXPECT_THROW(Connection->Execute("select from nowhere"), EDatabaseError);
}

}  // namespace
