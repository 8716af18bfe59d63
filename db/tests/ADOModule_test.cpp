// Tests that a data module's description declares the connection and dataset classes: a
// connection given its string by its BeforeConnect handler, a read-only query with persistent
// fields, and a master/detail pair with a batch-cached detail and its parameter.
#include <gtest/gtest.h>

#include "ADOTestDatabase.h"
#include "DataSource.h"
#include "Filer.h"
#include "StrUtils.h"

namespace {

class TADOTestModule : public TComponent {
  VELBOR_DECLARE_CLASS(TADOTestModule, TComponent)
 public:
  using TComponent::TComponent;
  static String DatabaseFile;
  TADOConnection* ADOConnection = nullptr;
  TADOQuery* qListe = nullptr;
  TADODataSet* qDetail = nullptr;
  TADODataSet* qCorineBio = nullptr;
  int Connections = 0;

  void ADOConnectionBeforeConnect(TObject* Sender) {
    ++Connections;
    auto* Connection = static_cast<TADOConnection*>(Sender);
    if (Connection->Tag == 0) {
      Connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + DatabaseFile + ";Mode=ReadWrite");
      Connection->Tag = 1;
    }
  }
  void qCorineBioPostError(TDataSet*, EDatabaseError* E, TDataAction&) {
    if (E->Message.find("doit avoir une valeur") != String::npos) E->Message = "Le code Corine BIOTOPE doit avoir une valeur";
  }
};
String TADOTestModule::DatabaseFile;
VELBOR_IMPLEMENT_CLASS(TADOTestModule)
VELBOR_HANDLERS(TADOTestModule, VELBOR_HANDLER(ADOConnectionBeforeConnect), VELBOR_HANDLER(qCorineBioPostError))
VELBOR_FIELDS(TADOTestModule, VELBOR_FIELD(ADOConnection), VELBOR_FIELD(qListe), VELBOR_FIELD(qDetail),
              VELBOR_FIELD(qCorineBio))

const char* const kModule =
    "object ADOTestModule: TADOTestModule\n"
    "  object ADOConnection: TADOConnection\n"
    "    Connected = True\n"
    "    LoginPrompt = False\n"
    "    Mode = cmReadWrite\n"
    "    CursorLocation = clUseServer\n"
    "    BeforeConnect = ADOConnectionBeforeConnect\n"
    "  end\n"
    "  object qListe: TADOQuery\n"
    "    Connection = ADOConnection\n"
    "    CursorType = ctStatic\n"
    "    LockType = ltReadOnly\n"
    "    SQL = (\n"
    "      'select zh_code,zh_nom from T_Zone_Humide ORDER BY ZH_CODE')\n"
    "    Active = True\n"
    "    object qListezh_code: TStringField\n"
    "      DisplayLabel = 'Code'\n"
    "      FieldName = 'zh_code'\n"
    "      Size = 13\n"
    "    end\n"
    "    object qListezh_nom: TStringField\n"
    "      DisplayLabel = 'Nom'\n"
    "      FieldName = 'zh_nom'\n"
    "      Size = 100\n"
    "    end\n"
    "  end\n"
    "  object qDetail: TADODataSet\n"
    "    Connection = ADOConnection\n"
    "    CursorType = ctStatic\n"
    "    CommandText = 'select * from T_ZONE_HUMIDE where ZH_CODE = ''073ASTERS0001'''\n"
    "    EnableBCD = False\n"
    "    Active = True\n"
    "  end\n"
    "  object dsQZoneHumide: TDataSource\n"
    "    AutoEdit = False\n"
    "    DataSet = qDetail\n"
    "  end\n"
    "  object qCorineBio: TADODataSet\n"
    "    Tag = 6\n"
    "    Connection = ADOConnection\n"
    "    CursorType = ctStatic\n"
    "    LockType = ltBatchOptimistic\n"
    "    OnPostError = qCorineBioPostError\n"
    "    CommandText = 'select * from T_CORINE_BIO_ZH  where ZH_CODE = :ZH_CODE ORDER BY TCB_CODE'\n"
    "    DataSource = dsQZoneHumide\n"
    "    IndexFieldNames = 'ZH_CODE'\n"
    "    MasterFields = 'ZH_CODE'\n"
    "    Parameters = <\n"
    "      item\n"
    "        Name = 'ZH_CODE'\n"
    "        Attributes = [paNullable]\n"
    "        DataType = ftWideString\n"
    "        NumericScale = 255\n"
    "        Precision = 255\n"
    "        Size = 510\n"
    "        Value = Null\n"
    "      end>\n"
    "    Active = True\n"
    "    object qCorineBioTCB_CODE: TStringField\n"
    "      DisplayLabel = 'Code'\n"
    "      FieldName = 'TCB_CODE'\n"
    "      Required = True\n"
    "      Tag = 3\n"
    "      Size = 10\n"
    "    end\n"
    "    object qCorineBioTCB_FLG: TBooleanField\n"
    "      FieldName = 'TCB_FLG'\n"
    "    end\n"
    "    object qCorineBioZH_CODE: TStringField\n"
    "      FieldName = 'ZH_CODE'\n"
    "      Visible = False\n"
    "      Size = 13\n"
    "    end\n"
    "  end\n"
    "end\n";

using ADOModuleTest = ADOTest;

TEST_F(ADOModuleTest, ADataModuleDescriptionDeclaresConnectionQueriesAndDetails) {
  TADOTestModule::DatabaseFile = DatabasePath;
  TADOTestModule Module(nullptr);
  ReadComponentFromText(&Module, kModule, "ADOTestModule.dfm");

  ASSERT_NE(Module.ADOConnection, nullptr);
  EXPECT_TRUE(Module.ADOConnection->Connected());
  EXPECT_EQ(Module.Connections, 1);
  EXPECT_EQ(Module.ADOConnection->Mode, cmReadWrite);
  EXPECT_EQ(Module.ADOConnection->DatabaseFile(), DatabasePath);
  EXPECT_EQ(Module.ADOConnection->DataSetCount(), 3);

  ASSERT_NE(Module.qListe, nullptr);
  EXPECT_TRUE(Module.qListe->Active());
  EXPECT_EQ(Module.qListe->LockType(), ltReadOnly);
  EXPECT_EQ(Module.qListe->FieldCount(), 2);
  EXPECT_EQ(Module.qListe->FieldByName("zh_nom")->DisplayLabel(), "Nom");
  EXPECT_EQ(Module.qListe->RecordCount(), 3);

  TADODataSet* Detail = Module.qCorineBio;
  ASSERT_NE(Detail, nullptr);
  EXPECT_EQ(Detail->Tag, 6);
  EXPECT_EQ(Detail->LockType(), ltBatchOptimistic);
  ASSERT_EQ(Detail->Parameters()->Count(), 1);
  TParameter* Param = Detail->Parameters()->Items(0);
  EXPECT_EQ(Param->DataType, ftWideString);
  EXPECT_EQ(Param->Size, 510);
  EXPECT_TRUE(Param->Attributes.Contains(paNullable));
  // Opened with the master's current code, whatever the description gave.
  EXPECT_EQ(Param->Value().AsString(), "073ASTERS0001");
  EXPECT_EQ(Detail->RecordCount(), 2);
  EXPECT_EQ(Detail->FieldCount(), 3);

  // Re-pointing the record re-selects the detail.
  Module.qDetail->Close();
  Module.qDetail->SetCommandText("select * from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0002'");
  Module.qDetail->Open();
  EXPECT_TRUE(Detail->IsEmpty());

  // The handler bound by name rewrites the missing-value message.
  Detail->Append();
  try {
    Detail->Post();
    ADD_FAILURE() << "posted";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Le code Corine BIOTOPE doit avoir une valeur");
  }
  Detail->FieldByName("TCB_CODE")->SetAsString("53.1");
  Detail->Post();
  EXPECT_EQ(Detail->FieldByName("ZH_CODE")->AsString(), "073ASTERS0002");
  Detail->UpdateBatch(arAll);
  EXPECT_EQ(CountOf("select count(*) from T_CORINE_BIO_ZH where ZH_CODE = '073ASTERS0002'"), 1);
}

TEST_F(ADOModuleTest, AWrittenDescriptionKeepsTheParametersAndReferences) {
  TADOTestModule::DatabaseFile = DatabasePath;
  TADOTestModule Module(nullptr);
  ReadComponentFromText(&Module, kModule, "ADOTestModule.dfm");
  String Text = WriteComponentToText(&Module);
  EXPECT_NE(Text.find("Connection = ADOConnection"), String::npos) << Text;
  EXPECT_NE(Text.find("LockType = ltBatchOptimistic"), String::npos) << Text;
  EXPECT_NE(Text.find("DataSource = dsQZoneHumide"), String::npos) << Text;
  EXPECT_NE(Text.find("Value = '073ASTERS0001'"), String::npos) << Text;
  EXPECT_NE(Text.find("'select zh_code,zh_nom from T_Zone_Humide ORDER BY ZH_CODE'"), String::npos) << Text;
}

}  // namespace
