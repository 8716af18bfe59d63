// Tests of the data module: loading on a test database, record selection, the record's rounding
// and picture, the defaults and texts of detail rows, the duplicate and existence checks with
// their notice and its repair, and the messages of refused posts.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "AppTestSupport.h"
#include "DateTime.h"
#include "DateTimeFormat.h"
#include "Dialogs.h"
#include "FileUtils.h"
#include "FormatSettings.h"
#include "OsPort.h"
#include "Streams.h"
#include "SqliteStatement.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmAttention.h"

namespace {

// The record window as the module reaches it: records what the module asks of it.
class TFakeZoneHumide : public TfrmZoneHumideBase {
  VELBOR_DECLARE_CLASS(TFakeZoneHumide, TfrmZoneHumideBase)
 public:
  explicit TFakeZoneHumide(TComponent* AOwner) : TfrmZoneHumideBase(AOwner, true) {}
  int ModifTag = 0;
  TColor PageColor = clNone;
  int ValidationTag = -1;
  int Enters = 0;
  int DbeTypeRepaints = 0;
  TDataSet* CodeLookupTable = nullptr;
  int FreeEntry = -1;
  int RetoursListe = 0;

  int OxExBtnModifTag() override { return ModifTag; }
  void SetOxExBtnModifTag(int Value) override { ModifTag = Value; }
  TColor OxLookOutActivePageColor() override { return PageColor; }
  void SetOxLookOutActivePageColor(TColor Value) override { PageColor = Value; }
  void SetBbtnValidationTag(int Value) override { ValidationTag = Value; }
  void ts1_1EnterActivePage() override {
    ++Enters;
    throw EInvalidOperation("Impossible de focaliser une fenêtre invisible"_a);
  }
  void RepaintDbeType() override { ++DbeTypeRepaints; }
  void SetLkCboCodeInventaireLookupTable(TDataSet* Table) override { CodeLookupTable = Table; }
  void SetLkCboCodeInventaireFreeEntry(bool Value) override { FreeEntry = Value ? 1 : 0; }
  void lopGeneraleClick(TObject*) override { ++RetoursListe; }
};
VELBOR_IMPLEMENT_CLASS(TFakeZoneHumide)

// The record window's lookup combo of a detail row.
class TFakeCombo : public ILookupComboActif {
 public:
  TFakeCombo(TDataSource* Source, const String& Field) : Source(Source), Field(Field) {}
  TDataSource* Source;
  String Field;
  int DropDowns = 0;
  int Clears = 0;
  int Refreshes = 0;
  TDataSource* GetDataSource() override { return Source; }
  String GetDataField() override { return Field; }
  void DropDown() override { ++DropDowns; }
  void ClearEditText() override { ++Clears; }
  void RefreshLookupDisplay() override { ++Refreshes; }
};

class DataModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    AppTest::MakeModuleDatabase();
    Arrange();
    Application->CreateForm(Main);
    Application->CreateForm(dmVelbor);
    Application->CreateForm(frmAttention);
    dm = dmVelbor;
  }
  void TearDown() override {
    if (dmVelbor != nullptr) dmVelbor->SetComboActif(nullptr);
    if (frmZoneHumide != nullptr) {
      frmZoneHumide->Free();
      frmZoneHumide = nullptr;
    }
    if (frmAttention != nullptr) {
      frmAttention->Free();
      frmAttention = nullptr;
    }
    if (dmVelbor != nullptr) dmVelbor->Free();
    if (Main != nullptr) Main->Free();
    NomUtilisateur.clear();
    Organisme.clear();
    FormatSettings = TFormatSettings::French();
  }
  // Rows a test adds to the database before the module loads.
  virtual void Arrange() {}

  void Execute(const String& Sql) { AppTest::OpenModuleDatabase()->Execute(Sql); }

  // The record of Code selected through the list, opened with its details, as the record window
  // does when it enters a record page.
  void OuvrirFiche(const String& Code) {
    ASSERT_TRUE(dm->qListeZoneHumide->Locate("zh_code", Code, {})) << Code;
    dm->qDetailZoneHumide->Open();
    for (int i = 0; i < dm->ComponentCount(); ++i)
      if (auto* Detail = dynamic_cast<TDataSet*>(dm->Components(i)); Detail != nullptr && Detail->Tag == 6)
        Detail->Open();
  }

  TFakeZoneHumide* OuvrirFenetreFiche() {
    auto* Window = new TFakeZoneHumide(Application);
    frmZoneHumide = Window;
    return Window;
  }

  bool NoticeMontree(const String& Text) {
    return frmAttention->Visible() && frmAttention->Label1->Caption() == Text;
  }

  AppTest::TTestMainForm* Main = nullptr;
  TdmVelbor* dm = nullptr;
};

// --- Loading ----------------------------------------------------------------------------------------

TEST_F(DataModuleTest, LoadingConnectsToTheBaseFolderBesideTheProgramAndOpensTheStoredDatasets) {
  EXPECT_TRUE(dm->ADOConnection->Connected());
  EXPECT_EQ(dm->ADOConnection->Tag, 1);
  EXPECT_EQ(dm->ADOConnection->DatabaseFile(), AppTest::ModuleDatabasePath());
  EXPECT_EQ(CheminBase, AppTest::ProgramFolder() + "base\\");
  EXPECT_EQ(FormatSettings.DecimalSeparator, ',');

  int Details = 0;
  for (int i = 0; i < dm->ComponentCount(); ++i) {
    auto* DataSet = dynamic_cast<TDataSet*>(dm->Components(i));
    if (DataSet == nullptr) continue;
    String Name = DataSet->Name();
    bool Stored = Name.starts_with("D_") || Name.starts_with("T_") || Name.starts_with("qType") ||
                  Name.starts_with("qINT_FONCT") || Name == "qListeZoneHumide" || Name == "qmtMemTableImage";
    if (DataSet->Tag == 6) {
      ++Details;
      auto* Detail = dynamic_cast<TADODataSet*>(DataSet);
      ASSERT_NE(Detail, nullptr) << Name;
      EXPECT_EQ(Detail->LockType(), ltBatchOptimistic) << Name;
      EXPECT_EQ(Detail->GetDataSource(), dm->dsQZoneHumide) << Name;
      EXPECT_EQ(Detail->Parameters()->ParamByName("ZH_CODE")->Size, 510) << Name;
    }
    EXPECT_EQ(DataSet->Active(), Stored) << Name;
  }
  EXPECT_EQ(Details, 34);
  EXPECT_FALSE(dm->qDetailZoneHumide->Active());
  EXPECT_EQ(dm->qListeZoneHumide->RecordCount(), 3);
  EXPECT_EQ(dm->qType7->RecordCount(), 1);
  EXPECT_EQ(dm->qType7->FieldByName("code")->AsString(), "0");
  EXPECT_EQ(dm->dsInventaire->ClassName(), "TqvDataSource");
}

TEST_F(DataModuleTest, TheConnectionStringListsTheProviderPropertiesInOrder) {
  String Folder = ExtractFileDir(OsPort::ProgramPath());
  const std::pair<const char*, String> Expected[] = {
      {"Provider", "Microsoft.Jet.OLEDB.4.0"},
      {"User ID", "Admin"},
      {"Data Source", Folder + "\\base\\velbor.mdb"},
      {"Mode", "ReadWrite"},
      {"Extended Properties", ""},
      {"Jet OLEDB:System database", ""},
      {"Jet OLEDB:Registry Path", ""},
      {"Jet OLEDB:Database Password", ""},
      {"Jet OLEDB:Engine Type", "5"},
      {"Jet OLEDB:Database Locking Mode", "1"},
      {"Jet OLEDB:Global Partial Bulk Ops", "2"},
      {"Jet OLEDB:Global Bulk Transactions", "1"},
      {"Jet OLEDB:New Database Password", ""},
      {"Jet OLEDB:Create System Database", "False"},
      {"Jet OLEDB:Encrypt Database", "False"},
      {"Jet OLEDB:Don't Copy Locale on Compact", "False"},
      {"Jet OLEDB:Compact Without Replica Repair", "False"},
      {"Jet OLEDB:SFP", "False"},
  };
  String Text = dm->ADOConnection->ConnectionString();
  std::vector<TConnectionProperty> Properties = ParseConnectionString(Text);
  ASSERT_EQ(Properties.size(), std::size(Expected)) << Text;
  for (std::size_t i = 0; i < Properties.size(); ++i) {
    EXPECT_EQ(Properties[i].Name, Expected[i].first);
    EXPECT_EQ(Properties[i].Value, Expected[i].second) << Expected[i].first;
  }
  EXPECT_FALSE(Text.ends_with(";"));
  EXPECT_NE(Text.find("Extended Properties=\"\";"), String::npos);
}

TEST_F(DataModuleTest, LookupsReachRegionLabelsThroughTheDepartment) {
  ASSERT_TRUE(dm->D_COMMUNE->Locate("COM_CODE", "73065", {}));
  EXPECT_EQ(dm->D_COMMUNE->FieldByName("LIBDEP")->AsString(), "Savoie");
  EXPECT_EQ(dm->D_COMMUNE->FieldByName("LIBREG")->AsString(), "Auvergne-Rhône-Alpes"_a);
  // The dictionary keeps commune names longer than the 35 characters of old.
  EXPECT_EQ(dm->D_COMMUNE->FieldByName("COM_LIB")->Size(), 50);
}

// --- Record selection -------------------------------------------------------------------------------

TEST_F(DataModuleTest, ScrollingTheListRepointsTheClosedRecord) {
  auto* Window = OuvrirFenetreFiche();
  Window->ModifTag = 1;
  ASSERT_TRUE(dm->qListeZoneHumide->Locate("zh_code", "073ASTERS0002", {}));
  EXPECT_EQ(dm->qDetailZoneHumide->CommandText(), "select * from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0002'");
  EXPECT_FALSE(dm->qDetailZoneHumide->Active());
  EXPECT_EQ(Window->ModifTag, 0);

  dm->qDetailZoneHumide->Open();
  EXPECT_EQ(Window->Caption(), "Zone humide - 073ASTERS0002 Tourbière du Col"_a);
  EXPECT_EQ(dm->qDetailZoneHumide->FieldByName("libType")->AsString(), "Enveloppe de référence"_a);
  // An open record is closed by the next scroll and left for the record window to open.
  ASSERT_TRUE(dm->qListeZoneHumide->Locate("zh_code", "073ASTERS0001", {}));
  EXPECT_FALSE(dm->qDetailZoneHumide->Active());
}

class ApostropheCodeTest : public DataModuleTest {
  void Arrange() override {
    Execute("INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT) VALUES ('073L''ILE01', 'Marais de l''Île', 'A')"_a);
    Execute("INSERT INTO T_COMMUNE_ZH VALUES ('073L''ILE01', '73008')");
  }
};

TEST_F(ApostropheCodeTest, ACodeHoldingAnApostropheSelectsItsOwnRecord) {
  OuvrirFiche("073L'ILE01");
  ASSERT_TRUE(dm->qDetailZoneHumide->Active());
  EXPECT_EQ(dm->qDetailZoneHumide->RecordCount(), 1);
  EXPECT_EQ(dm->qDetailZoneHumide->FieldByName("ZH_NOM")->AsString(), "Marais de l'Île"_a);
  EXPECT_EQ(dm->qCommune->RecordCount(), 1);
  EXPECT_EQ(dm->qCommune->FieldByName("LIBELLE")->AsString(), "Aix-les-Bains");
}

TEST_F(DataModuleTest, AReportReselectionReopensTheRecordAndEveryDetailThenClearsTheFlag) {
  OuvrirFiche("073ASTERS0002");
  Main->ActionList1->Tag = 1;
  ASSERT_TRUE(dm->qListeZoneHumide->Locate("zh_code", "073ASTERS0001", {}));
  EXPECT_TRUE(dm->qDetailZoneHumide->Active());
  EXPECT_EQ(dm->qDetailZoneHumide->FieldByName("ZH_CODE")->AsString(), "073ASTERS0001");
  EXPECT_EQ(dm->qCorineBio->RecordCount(), 2);
  EXPECT_EQ(dm->qHistorique->RecordCount(), 2);
  EXPECT_EQ(Main->ActionList1->Tag, 0);
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(DataModuleTest, TheRecordWindowIsColouredWhileTheRecordIsEdited) {
  auto* Window = OuvrirFenetreFiche();
  OuvrirFiche("073ASTERS0002");
  dm->qDetailZoneHumide->Edit();
  EXPECT_EQ(Window->PageColor, clSkyBlue);
  EXPECT_EQ(Window->ValidationTag, 1);
  dm->qDetailZoneHumide->Cancel();
  EXPECT_EQ(Window->PageColor, clMedGray);
  EXPECT_EQ(Window->ValidationTag, 0);
  int Enters = Window->Enters;
  EXPECT_GT(Enters, 0);  // its error is ignored
  // The modification flag keeps the colour; a report re-selection does not place the buttons.
  Window->ModifTag = 1;
  Main->ActionList1->Tag = 1;
  dm->qDetailZoneHumide->Edit();
  dm->qDetailZoneHumide->Cancel();
  EXPECT_EQ(Window->PageColor, clSkyBlue);
  EXPECT_EQ(Window->Enters, Enters + 0);
}

// --- Rounding of the measures -----------------------------------------------------------------------

struct TArrondi {
  const char* Field;
  double Typed;
  double Stored;
};

class RoundingTest : public DataModuleTest, public ::testing::WithParamInterface<TArrondi> {};

TEST_P(RoundingTest, ATypedMeasureIsStoredRounded) {
  OuvrirFiche("073ASTERS0002");
  dm->qDetailZoneHumide->Edit();
  dm->qDetailZoneHumide->FieldByName(GetParam().Field)->SetAsFloat(GetParam().Typed);
  EXPECT_DOUBLE_EQ(dm->qDetailZoneHumide->FieldByName(GetParam().Field)->AsFloat(), GetParam().Stored);
}

// Showing a record never writes it, whatever its stored measures.
TEST_P(RoundingTest, ShowingARecordLeavesItsStoredMeasureAsItIs) {
  char Value[64];
  std::snprintf(Value, sizeof Value, "%.6f", GetParam().Typed);
  Execute(Format("UPDATE T_ZONE_HUMIDE SET %s = %s WHERE ZH_CODE = '073ASTERS0002'", {GetParam().Field, String(Value)}));
  OuvrirFiche("073ASTERS0002");
  EXPECT_EQ(dm->qDetailZoneHumide->State(), dsBrowse);
  EXPECT_FALSE(dm->ArrondiEnCours());
  EXPECT_FALSE(dm->qDetailZoneHumide->Modified());
  double Stored =
      AppTest::ReadNumber(Format("SELECT %s FROM T_ZONE_HUMIDE WHERE ZH_CODE = '073ASTERS0002'", {GetParam().Field}));
  EXPECT_DOUBLE_EQ(Stored, GetParam().Typed);
}

INSTANTIATE_TEST_SUITE_P(Measures, RoundingTest,
                         ::testing::Values(TArrondi{"ZH_SUPERFICIE", 12.345678, 12.3457},
                                           TArrondi{"ZH_LONGUEUR", 1.23456, 1.235},
                                           TArrondi{"ZH_ALTITUDE", 245.5, 246},
                                           TArrondi{"ZH_ALTITUDE", 244.5, 244}));

// --- Connection picture -----------------------------------------------------------------------------

TEST_F(DataModuleTest, TheConnectionPictureFollowsTheRecordAndAMissingOneLeavesItEmpty) {
  String Picture = AppTest::ProgramFolder() + "base\\connexion1.bmp";
  {
    TFileStream File(Picture, fmCreate);
    File.Write("BMimage", 7);
  }
  Execute("UPDATE T_ZONE_HUMIDE SET ZH_CONNEXION = '1' WHERE ZH_CODE = '073ASTERS0002'");
  Execute("UPDATE T_ZONE_HUMIDE SET ZH_CONNEXION = '2' WHERE ZH_CODE = '971PNG   0001'");
  OuvrirFiche("073ASTERS0002");
  EXPECT_EQ(dm->qmtMemTableImage->RecordCount(), 1);
  EXPECT_EQ(dm->qmtMemTableImage->FieldByName("image")->AsString(), "BMimage");

  // connexion2.bmp does not exist: the record is shown all the same, without a picture.
  dm->qDetailZoneHumide->Close();
  ASSERT_TRUE(dm->qListeZoneHumide->Locate("zh_code", "971PNG   0001", {}));
  EXPECT_NO_THROW(dm->qDetailZoneHumide->Open());
  EXPECT_TRUE(dm->qDetailZoneHumide->Active());
  EXPECT_EQ(dm->qmtMemTableImage->RecordCount(), 1);
  EXPECT_TRUE(dm->qmtMemTableImage->FieldByName("image")->IsNull());
  ::DeleteFileA(Picture.c_str());
}

// --- Defaults and texts of detail rows --------------------------------------------------------------

TEST_F(DataModuleTest, AHistoryRowCarriesTodayAndTheOperator) {
  NomUtilisateur = "Lefèvre"_a;
  Organisme = "Conservatoire d'espaces naturels";
  OuvrirFiche("073ASTERS0002");
  dm->qHistorique->Append();
  EXPECT_EQ(dm->qHistorique->FieldByName("HISTO_DATE")->AsDateTime(), Date());
  EXPECT_EQ(dm->qHistorique->FieldByName("HISTO_AUTEUR")->AsString(), NomUtilisateur);
  EXPECT_EQ(dm->qHistorique->FieldByName("HISTO_ORGANISME")->AsString(), Organisme);
  EXPECT_EQ(dm->qHistorique->FieldByName("ACTION_CODE")->AsString(), "M");
  EXPECT_EQ(dm->qHistorique->FieldByName("ZH_CODE")->AsString(), "073ASTERS0002");
  EXPECT_EQ(dm->qHistorique->FieldByName("libDate")->AsString(), FormatDateTime("dd/mm/yyyy", Date()));
}

TEST_F(DataModuleTest, InventoryLabelsComeFromTheType) {
  OuvrirFiche("073ASTERS0001");
  std::map<String, String> Labels;
  for (dm->qInventaire->First(); !dm->qInventaire->Eof(); dm->qInventaire->Next())
    Labels[dm->qInventaire->FieldByName("INV_TYPE")->AsString()] = dm->qInventaire->FieldByName("libCode")->AsString();
  EXPECT_EQ(Labels["1"], "ZNIEFF 1ère génération"_a);
  EXPECT_EQ(Labels["6"], "ZPS");
}

struct TMoisSaisi {
  const char* Text;
  bool Accepted;
};

TEST_F(DataModuleTest, AContractMonthIsTypedAsMonthAndYear) {
  OuvrirFiche("073ASTERS0001");
  TField* Month = dm->qInstContFinacier->FieldByName("ICZ_DATE");
  EXPECT_EQ(Month->DisplayText(), "02/2004");
  dm->qInstContFinacier->Edit();
  Month->SetText("");
  EXPECT_EQ(Month->AsDateTime(), EncodeDate(2004, 2, 1));
  for (const TMoisSaisi& Case : {TMoisSaisi{"13/2004", false}, TMoisSaisi{"1/2004", false},
                                 TMoisSaisi{"01-2004", false}, TMoisSaisi{"11/2005", true}}) {
    if (Case.Accepted) {
      Month->SetText(Case.Text);
      EXPECT_EQ(Month->AsDateTime(), EncodeDate(2005, 11, 1));
      EXPECT_EQ(Month->Text(), "11/2005");
    } else {
      try {
        Month->SetText(Case.Text);
        ADD_FAILURE() << Case.Text;
      } catch (EDatabaseError& E) {
        EXPECT_EQ(E.Message, "format de date incorrect, saisir MM/AAAA") << Case.Text;
      }
    }
  }
}

TEST_F(DataModuleTest, ABibliographyYearBefore1900IsRefusedSilentlyThenWithAWarning) {
  TModalScript Script;
  OuvrirFiche("073ASTERS0001");
  TField* Year = dm->qRefBiblio->FieldByName("REF_ANNEE");
  dm->qRefBiblio->Edit();
  Year->SetText("850");
  EXPECT_TRUE(Year->IsNull());
  Year->SetText("2003");
  EXPECT_EQ(Year->DisplayText(), "2003");
  Year->SetText("1850");
  EXPECT_TRUE(Year->IsNull());
  EXPECT_TRUE(Script.Asked.empty());
  Year->SetText("1851");
  EXPECT_TRUE(Year->IsNull());
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "L'année doit être supérieur à 1900 !"_a);
  EXPECT_EQ(Script.Asked[0].Caption, "Attention");
}

// An older database whose rows already break one of the newer keys: the module opens it, adds the
// other keys and tells the operator which tables are left unprotected.
class OlderDatabaseTest : public DataModuleTest {
 protected:
  TModalScript Script;
  void Arrange() override {
    auto Base = AppTest::OpenModuleDatabase();
    for (const char* Index : {"T_ENT_EAU_ZH_CLE", "T_INVENTAIRE_CLE", "T_REF_BIBLIO_CLE", "T_SDAGE_ZH_CLE",
                              "T_SORTIE_EAU_ZH_CLE"})
      Base->ExecuteScript("DROP INDEX " + String(Index));
    Base->ExecuteScript("PRAGMA user_version = 1");
    Base->ExecuteScript("INSERT INTO T_ENT_EAU_ZH VALUES ('073ASTERS0001', NULL, '03')");
    Base->ExecuteScript("INSERT INTO T_ENT_EAU_ZH VALUES ('073ASTERS0001', NULL, '03')");
  }
};

TEST_F(OlderDatabaseTest, OpeningItAddsTheKeysItCanAndTellsOfTheOthers) {
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Caption, "Attention");
  EXPECT_NE(Script.Asked[0].Text.find("T_ENT_EAU_ZH."), String::npos) << Script.Asked[0].Text;
  auto Base = AppTest::OpenModuleDatabase();
  auto Nombre = [&](const char* Sql) {
    SqliteStatement Statement = Base->PrepareNative(Sql);
    return Statement.Step() ? Statement.ColumnInt64(0) : -1;
  };
  EXPECT_EQ(Nombre("PRAGMA user_version"), 1);
  EXPECT_EQ(Nombre("SELECT count(*) FROM sqlite_master WHERE name = 'T_SORTIE_EAU_ZH_CLE'"), 1);
  EXPECT_EQ(Nombre("SELECT count(*) FROM T_ENT_EAU_ZH WHERE TYPE_ES_CODE = '03'"), 2);
}

// --- Duplicate and existence checks -----------------------------------------------------------------

TEST_F(DataModuleTest, ARepeatedCodeIsEmptiedAndNoticed) {
  OuvrirFiche("073ASTERS0001");
  dm->qCorineBio->Append();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("22.1");
  EXPECT_TRUE(dm->qCorineBio->FieldByName("TCB_CODE")->IsNull());
  EXPECT_TRUE(NoticeMontree("Information déjà existante !"_a));
  ASSERT_NE(dm->CopieControle(), nullptr);
  EXPECT_EQ(dm->CopieControle()->Tag, 0);
  EXPECT_EQ(dm->qCorineBio->State(), dsInsert);
}

TEST_F(DataModuleTest, AFreshCodeIsPostedIntoTheCacheAndTheSnapshotHoldsIt) {
  OuvrirFiche("073ASTERS0001");
  dm->qCorineBio->Append();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("53.1");  // the module's fixture has 22.1 and 53.1
  EXPECT_TRUE(NoticeMontree("Information déjà existante !"_a));
  frmAttention->Hide();
  dm->qCorineBio->Cancel();
  Execute("INSERT INTO D_CORINE_BIO VALUES ('44.9', 'Saulaies', 2)");
  dm->D_CORINE_BIO->Requery();
  dm->qCorineBio->Append();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("44.9");
  EXPECT_FALSE(frmAttention->Visible());
  EXPECT_EQ(dm->qCorineBio->State(), dsBrowse);
  EXPECT_TRUE(dm->qCorineBio->HasPendingChanges());
  EXPECT_EQ(dm->CopieControle()->RecordCount(), 3);
}

class ApostropheDuplicateTest : public DataModuleTest {
  void Arrange() override {
    Execute("INSERT INTO D_CORINE_BIO VALUES ('a''b', 'Code d''essai', 2)");
    Execute("INSERT INTO T_CORINE_BIO_ZH VALUES ('073ASTERS0001', 'a''b', 0)");
  }
};

TEST_F(ApostropheDuplicateTest, ACodeHoldingAnApostropheIsStillFoundTwice) {
  OuvrirFiche("073ASTERS0001");
  dm->qCorineBio->Append();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("a'b");
  EXPECT_TRUE(dm->qCorineBio->FieldByName("TCB_CODE")->IsNull());
  EXPECT_TRUE(NoticeMontree("Information déjà existante !"_a));
  // A trailing star is part of the code, not a prefix of "22.1".
  frmAttention->Hide();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("22*");
  EXPECT_TRUE(NoticeMontree("Code inexistant !"));
}

TEST_F(DataModuleTest, AnUnknownCodeIsNoticedAndDoesNotStayInTheRow) {
  OuvrirFiche("073ASTERS0001");
  dm->qCorineBio->Append();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("99.9");
  EXPECT_TRUE(NoticeMontree("Code inexistant !"));
  EXPECT_TRUE(dm->qCorineBio->FieldByName("TCB_CODE")->IsNull());
  EXPECT_EQ(dm->qCorineBio->State(), dsInsert);
  EXPECT_FALSE(dm->qCorineBio->HasPendingChanges());
  EXPECT_EQ(dm->CopieControle()->Tag, 0);
}

TEST_F(DataModuleTest, AnErrorInsideACheckLeavesTheChecksOn) {
  OuvrirFiche("073ASTERS0001");
  dm->qCorineBio->Append();
  // The existence test is not protected: its error reaches the typing.
  dm->D_CORINE_BIO->Close();
  EXPECT_THROW(dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("44.9"), EDatabaseError);
  EXPECT_EQ(dm->CopieControle()->Tag, 0);
  dm->D_CORINE_BIO->Open();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("22.1");
  EXPECT_TRUE(NoticeMontree("Information déjà existante !"_a));
}

TEST_F(DataModuleTest, ANewOrderedRowTakesTheNextNumberUnlessOneWasTyped) {
  OuvrirFiche("073ASTERS0001");
  ASSERT_EQ(dm->qFactInf->RecordCount(), 1);
  dm->qFactInf->Append();
  dm->qFactInf->FieldByName("FAI_CODE")->SetAsString("20");
  dm->qFactInf->Last();
  EXPECT_EQ(dm->qFactInf->FieldByName("FSZ_ORDRE")->AsInteger(), 2);

  ASSERT_EQ(dm->qFactInf2->RecordCount(), 1);
  dm->qFactInf2->Append();
  dm->qFactInf2->FieldByName("FSZ_ORDRE")->SetAsInteger(7);
  dm->qFactInf2->FieldByName("FAI_CODE")->SetAsString("10");
  EXPECT_EQ(dm->qFactInf2->Lookup("FAI_CODE", "10", "FSZ_ORDRE").AsInteger(), 7);
}

struct TEntree {
  const char* Type;
  const char* Permanence;  // null: left empty
  bool Doublon;
};

class WaterInletTest : public DataModuleTest, public ::testing::WithParamInterface<TEntree> {
  // A second inlet of type 01 without permanence, beside those of the fixture (02/2 and 01/1).
  void Arrange() override { Execute("INSERT INTO T_ENT_EAU_ZH VALUES ('073ASTERS0001', NULL, '02')"); }
};

TEST_P(WaterInletTest, AnInletIsIdentifiedByItsTypeAndPermanence) {
  OuvrirFiche("073ASTERS0001");
  dm->qEntEau->Append();
  dm->qEntEau->FieldByName("TYPE_ES_CODE")->SetAsString(GetParam().Type);
  if (GetParam().Permanence != nullptr) {
    // The type alone was checked and the row cached; now the pair.
    frmAttention->Hide();
    dm->qEntEau->Edit();
    dm->qEntEau->FieldByName("RES_CODE")->SetAsString(GetParam().Permanence);
  }
  EXPECT_EQ(NoticeMontree("Information déjà existante !"_a), GetParam().Doublon);
  // The value stays as typed either way.
  EXPECT_EQ(dm->qEntEau->FieldByName("TYPE_ES_CODE")->AsString(), GetParam().Type);
  EXPECT_EQ(dm->CopieControle()->Tag, 0);
}

INSTANTIATE_TEST_SUITE_P(Pairs, WaterInletTest,
                         ::testing::Values(TEntree{"02", nullptr, true}, TEntree{"02", "2", true},
                                           TEntree{"02", "1", false}, TEntree{"01", "1", true},
                                           TEntree{"01", nullptr, false}, TEntree{"03", "2", false}));

// A second inlet of a type without permanence is refused and stays in edit, out of the cache; put
// there all the same, the database's key refuses it, empty permanence and all.
TEST_F(DataModuleTest, ARefusedInletStaysOutOfTheBatchAndTheKeyHoldsWithoutPermanence) {
  OuvrirFiche("073ASTERS0001");
  const String Inlets03 = "SELECT count(*) FROM T_ENT_EAU_ZH WHERE ZH_CODE = '073ASTERS0001' AND TYPE_ES_CODE = '03'";
  dm->qEntEau->Append();
  dm->qEntEau->FieldByName("TYPE_ES_CODE")->SetAsString("03");
  ASSERT_FALSE(frmAttention->Visible());
  EXPECT_EQ(dm->qEntEau->State(), dsBrowse);  // checked, then cached
  dm->qEntEau->Append();
  dm->qEntEau->FieldByName("TYPE_ES_CODE")->SetAsString("03");
  EXPECT_TRUE(NoticeMontree("Information déjà existante !"_a));
  EXPECT_EQ(dm->qEntEau->State(), dsInsert);
  EXPECT_EQ(dm->qEntEau->FieldByName("TYPE_ES_CODE")->AsString(), "03");
  EXPECT_EQ(dm->CopieControle()->Tag, 0);
  frmAttention->Hide();
  dm->qEntEau->Cancel();
  dm->qEntEau->UpdateBatch();
  EXPECT_EQ(AppTest::ReadNumber(Inlets03), 1);

  dm->qEntEau->Append();
  dm->qEntEau->FieldByName("TYPE_ES_CODE")->SetAsString("03");
  dm->qEntEau->Post();
  EXPECT_THROW(dm->qEntEau->UpdateBatch(), EDatabaseError);
  EXPECT_EQ(AppTest::ReadNumber(Inlets03), 1);
}

struct TRetape {
  const char* DataSet;
  const char* Field;
  const char* Stored;
  const char* Typed;
};

// Typed again on the row that holds it, in any letter case, a code repeats nothing; typed on
// another row it is still refused.
TEST_F(DataModuleTest, ACodeTypedAgainOnItsOwnRowIsNoDuplicate) {
  OuvrirFiche("073ASTERS0001");
  for (const TRetape& Case : {TRetape{"qCorineBio", "TCB_CODE", "22.1", "22.1"},
                              TRetape{"qIGN", "CARTE_IGN_CODE", "3332O", "3332o"},
                              TRetape{"qEntEau", "TYPE_ES_CODE", "01", "01"}}) {
    SCOPED_TRACE(Case.DataSet);
    auto* DataSet = static_cast<TDataSet*>(dm->FindComponent(Case.DataSet));
    ASSERT_NE(DataSet, nullptr);
    ASSERT_TRUE(DataSet->Locate(Case.Field, Case.Stored, {}));
    DataSet->Edit();
    DataSet->FieldByName(Case.Field)->SetAsString(Case.Typed);
    EXPECT_FALSE(frmAttention->Visible());
    EXPECT_TRUE(SameText(DataSet->FieldByName(Case.Field)->AsString(), Case.Stored));
    if (DataSet->State() != dsBrowse) DataSet->Post();
  }
  ASSERT_TRUE(dm->qCorineBio->Locate("TCB_CODE", "53.1", {}));
  dm->qCorineBio->Edit();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("22.1");
  EXPECT_TRUE(NoticeMontree("Information déjà existante !"_a));
  EXPECT_TRUE(dm->qCorineBio->FieldByName("TCB_CODE")->IsNull());
}

TEST_F(DataModuleTest, ABibliographyReferenceIsIdentifiedByTitleAndAuthor) {
  OuvrirFiche("073ASTERS0001");
  dm->qRefBiblio->Append();
  dm->qRefBiblio->FieldByName("REF_AUTEUR")->SetAsString("Martin J.");
  EXPECT_FALSE(frmAttention->Visible());
  dm->qRefBiblio->FieldByName("REF_TITRE")->SetAsString("Les marais du Bourget");
  EXPECT_TRUE(NoticeMontree("Information déjà existante !"_a));
  EXPECT_EQ(dm->qRefBiblio->FieldByName("REF_TITRE")->AsString(), "Les marais du Bourget");
  EXPECT_EQ(dm->CopieControle()->Tag, 0);
}

TEST_F(DataModuleTest, AMapSheetIsCopiedFromTheMapListOrRefusedWhenRepeated) {
  OuvrirFiche("073ASTERS0002");
  dm->qIGN->Append();
  dm->qIGN->FieldByName("CARTE_IGN_CODE")->SetAsString("3332O");
  EXPECT_EQ(dm->qIGN->FieldByName("CARTE_IGN_NOM")->AsString(), "Aix-les-Bains");
  EXPECT_EQ(dm->qIGN->FieldByName("CARTE_IGN_ECHELLE")->AsString(), "1:25000");
  EXPECT_EQ(dm->qIGN->FieldByName("CARTE_IGN_SERIE")->AsString(), "TOP 25");
  dm->qIGN->Post();
  dm->qIGN->Append();
  dm->qIGN->FieldByName("CARTE_IGN_CODE")->SetAsString("3332O");
  EXPECT_TRUE(dm->qIGN->FieldByName("CARTE_IGN_CODE")->IsNull());
  EXPECT_TRUE(NoticeMontree("Information déjà existante !"_a));
}

// --- Inventories ------------------------------------------------------------------------------------

struct TTypeInventaire {
  const char* Type;
  const char* Table;
  int FreeEntry;
};

TEST_F(DataModuleTest, TheInventoryTypeChoosesTheCodeList) {
  auto* Window = OuvrirFenetreFiche();
  OuvrirFiche("073ASTERS0002");
  dm->qInventaire->Append();
  for (const TTypeInventaire& Case : {TTypeInventaire{"1", "qType1", 0}, TTypeInventaire{"4", "qType4", 0},
                                      TTypeInventaire{"7", "qType7", 1}, TTypeInventaire{"", "qType7", 0},
                                      TTypeInventaire{"9", "qType7", 0}}) {
    dm->qInventaire->Edit();
    dm->qInventaire->FieldByName("INV_TYPE")->SetAsString(Case.Type);
    ASSERT_NE(Window->CodeLookupTable, nullptr);
    EXPECT_EQ(Window->CodeLookupTable->Name(), Case.Table) << Case.Type;
    EXPECT_EQ(Window->FreeEntry, Case.FreeEntry) << Case.Type;
  }
  dm->qInventaire->Edit();
  EXPECT_THROW(dm->qInventaire->FieldByName("INV_TYPE")->SetAsString("x"), EConvertError);
}

struct TCodeInventaire {
  const char* Type;
  const char* Code;
  const char* Libelle;
  const char* TypeZnieff;
};

TEST_F(DataModuleTest, AnInventoryCodeBringsItsLabelAndZnieffType) {
  OuvrirFiche("073ASTERS0002");
  for (const TCodeInventaire& Case :
       {TCodeInventaire{"1", "820000397", "Ensemble du lac du Bourget", "2"},
        TCodeInventaire{"3", "RA4", "Lac du Bourget", ""}, TCodeInventaire{"", "0", "Autre", ""},
        TCodeInventaire{"5", "inconnu", "", ""}}) {
    dm->qInventaire->Append();
    dm->qInventaire->FieldByName("INV_TYPE")->SetAsString(Case.Type);
    // The type's check cached the row; the code combo edits it again.
    dm->qInventaire->Edit();
    dm->qInventaire->FieldByName("INV_CODE")->SetAsString(Case.Code);
    EXPECT_EQ(dm->qInventaire->FieldByName("INV_LIB")->AsString(), Case.Libelle) << Case.Code;
    EXPECT_EQ(dm->qInventaire->FieldByName("INV_TYPE_ZNIEFF")->AsString(), Case.TypeZnieff) << Case.Code;
    dm->qInventaire->Cancel();
    dm->qInventaire->CancelBatch();
  }
}

TEST_F(DataModuleTest, ARepeatedInventoryIsNoticed) {
  OuvrirFiche("073ASTERS0001");
  dm->qInventaire->Append();
  dm->qInventaire->FieldByName("INV_TYPE")->SetAsString("1");
  dm->qInventaire->Edit();
  dm->qInventaire->FieldByName("INV_CODE")->SetAsString("820030287");
  EXPECT_TRUE(NoticeMontree("Information déjà existante !"_a));
  EXPECT_TRUE(dm->qInventaire->FieldByName("INV_LIB")->IsNull());
}

// --- The notice's repair ----------------------------------------------------------------------------

TEST_F(DataModuleTest, ClosingTheNoticeBlanksTheRefusedCodeAndDropsTheListDown) {
  OuvrirFiche("073ASTERS0001");
  TFakeCombo Combo(dm->dsCorineBio, "TCB_CODE");
  dm->SetComboActif(&Combo);
  dm->qCorineBio->Append();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("22.1");
  ASSERT_TRUE(frmAttention->Visible());
  frmAttention->Button1->Click();
  EXPECT_FALSE(frmAttention->Visible());
  EXPECT_EQ(Combo.DropDowns, 1);
  EXPECT_EQ(Combo.Clears, 1);
  TField* Code = dm->qCorineBio->FieldByName("TCB_CODE");
  EXPECT_TRUE(Code->IsNull());
  EXPECT_TRUE(Code->Required());
  EXPECT_EQ(dm->qCorineBio->State(), dsInsert);
  EXPECT_FALSE(dm->CopieControle()->Filtered());
  EXPECT_EQ(dm->CopieControle()->Tag, 0);
  EXPECT_EQ(dm->CopieControle()->RecordCount(), 2);
  // The blank row cannot be saved; a listed code can.
  try {
    dm->qCorineBio->Post();
    ADD_FAILURE() << "posted blank";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Le code Corine BIOTOPE doit avoir une valeur");
  }
  Execute("INSERT INTO D_CORINE_BIO VALUES ('44.9', 'Saulaies', 2)");
  dm->D_CORINE_BIO->Requery();
  Code->SetAsString("44.9");
  dm->qCorineBio->UpdateBatch();
  EXPECT_EQ(AppTest::ReadNumber("SELECT count(*) FROM T_CORINE_BIO_ZH WHERE ZH_CODE = '073ASTERS0001'"), 3);
}

TEST_F(DataModuleTest, ClosingTheNoticeWithoutAnActiveComboChangesNothing) {
  OuvrirFiche("073ASTERS0001");
  dm->qCorineBio->Append();
  dm->qCorineBio->FieldByName("TCB_CODE")->SetAsString("22.1");
  ASSERT_TRUE(frmAttention->Visible());
  frmAttention->Close();
  EXPECT_FALSE(frmAttention->Visible());
  EXPECT_TRUE(dm->CopieControle()->Filtered());
  EXPECT_EQ(dm->qCorineBio->State(), dsInsert);
}

// --- Refused posts ----------------------------------------------------------------------------------

struct TMessagePost {
  const char* DataSet;
  const char* Message;  // null: no handler
};

class PostErrorTest : public DataModuleTest, public ::testing::WithParamInterface<TMessagePost> {};

TEST_P(PostErrorTest, AMissingValueIsReportedWithTheDetailsOwnSentence) {
  auto* DataSet = static_cast<TDataSet*>(dm->FindComponent(GetParam().DataSet));
  ASSERT_NE(DataSet, nullptr);
  if (GetParam().Message == nullptr) {
    EXPECT_FALSE(DataSet->OnPostError);
    return;
  }
  ASSERT_TRUE(DataSet->OnPostError);
  frmAttention->Show();
  TDataAction Action = daFail;
  EDatabaseError Missing("Le champ 'CODE' doit avoir une valeur");
  DataSet->OnPostError(DataSet, &Missing, Action);
  EXPECT_EQ(Missing.Message, GetParam().Message);
  EXPECT_EQ(Action, daFail);
  EXPECT_FALSE(frmAttention->Visible());
  EDatabaseError Other("Violation de clé"_a);
  DataSet->OnPostError(DataSet, &Other, Action);
  EXPECT_EQ(Other.Message, "Violation de clé"_a);
}

INSTANTIATE_TEST_SUITE_P(
    Details, PostErrorTest,
    ::testing::Values(
        TMessagePost{"qInstContFinacier", "Le code des instruments contractuels et financiers doit avoir une valeur"},
        TMessagePost{"qFonctBio", "Le code des fonctions biologiques doit avoir une valeur"},
        TMessagePost{"qActHum", "Le code des activités humaines au sein de la zone humide doit avoir une valeur"_a},
        TMessagePost{"qActHum2", "Le code des activités humaines autour de la zone humide doit avoir une valeur"_a},
        TMessagePost{"qValSE", "Le code des valeurs socio-économiques doit avoir une valeur"_a},
        TMessagePost{"qStatutFoncier", "Le code des statuts fonciers doit avoir une valeur"},
        TMessagePost{"qMesureProt", "Le code des mesures de protection des espaces doit avoir une valeur"},
        TMessagePost{"qMesureProtAqua", "Le code des mesures de protection des milieux aquatiques doit avoir une valeur"},
        TMessagePost{"qZoneHydroZh", "Le code des bassins versants de surface doit avoir une valeur"},
        TMessagePost{"qCorineBio", "Le code Corine BIOTOPE doit avoir une valeur"},
        TMessagePost{"qSDAGE", "Le code SDAGE doit avoir une valeur"},
        TMessagePost{"qSDAGEPrincipale", "Le code des SDAGE doit avoir une valeur"},
        TMessagePost{"qEspAni", "Le code des espèces animales doit avoir une valeur"_a},
        TMessagePost{"qEspVeg", "Le code des espèces végétales doit avoir une valeur"_a},
        TMessagePost{"qFactInf", "Le code des facteurs influençant doit avoir une valeur"_a},
        TMessagePost{"qFactInf2", "Le code des facteurs influençant doit avoir une valeur"_a},
        TMessagePost{"qHabitat", "Le code des habitats doit avoir une valeur"},
        TMessagePost{"qOiseaux", "Le code des oiseaux doit avoir une valeur"},
        TMessagePost{"qTypoPhy", "Le code des typologies physiques des cours d'eau doit avoir une valeur"},
        TMessagePost{"qFonctHydro", "Le code des fonctions hydrologique et hydraulique doit avoir une valeur"},
        TMessagePost{"qSortieEau", "Le code des sorties d'eau doit avoir une valeur"},
        TMessagePost{"qEntEau", "Le code des entrées d'eau doit avoir une valeur"_a},
        TMessagePost{"qDelCartoZh", "Le code des critères de délimitation doit avoir une valeur"_a},
        TMessagePost{"qIGN", "Le code des cartes IGN doit avoir une valeur"},
        TMessagePost{"qInventaire", "Le code inventaire doit avoir une valeur"},
        TMessagePost{"qCommune", "Le code des communes doit avoir une valeur"},
        TMessagePost{"qEspAniDiren", "Le code des espèces animales régionales doit avoir une valeur"_a},
        TMessagePost{"qEspVegDiren", "Le code des espèces végétales régionales doit avoir une valeur"_a},
        TMessagePost{"qSysAquiZH", nullptr}, TMessagePost{"qRefBiblio", nullptr},
        TMessagePost{"qHistorique", nullptr}, TMessagePost{"qAlias", nullptr}, TMessagePost{"qOrientZH", nullptr},
        TMessagePost{"qQualiteEau", nullptr}));

TEST_F(DataModuleTest, ARealPostWithoutCodeFailsWithTheSentenceAndStaysInEdit) {
  OuvrirFiche("073ASTERS0002");
  dm->qHabitat->Append();
  try {
    dm->qHabitat->Post();
    ADD_FAILURE() << "posted";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Le code des habitats doit avoir une valeur");
  }
  EXPECT_EQ(dm->qHabitat->State(), dsInsert);
}

}  // namespace
