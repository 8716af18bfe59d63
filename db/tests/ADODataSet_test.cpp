// Tests of TCustomADODataSet's static cursor: the fields made from the statement's columns, the
// values read, navigation and bookmarks, the searches in memory, filter texts, and the optimistic
// write-back to the base table by key, by rowid (joined statements, tables without a key) and by
// the values read.
#include <gtest/gtest.h>

#include "ADOTestDatabase.h"
#include "StrUtils.h"

namespace {

using ADODataSetTest = ADOTest;

struct TFieldCase {
  const char* Statement;
  const char* Field;
  TClass Class;
  int Size;
  bool Required;
};

TEST_F(ADODataSetTest, FieldsAreTypedFromTheDeclaredColumnsAndTheValuesOfExpressions) {
  const TFieldCase Cases[] = {
      {"select * from T_ZONE_HUMIDE", "ZH_CODE", TStringField::StaticClass(), 13, true},
      {"select * from T_ZONE_HUMIDE", "ZH_NOM", TStringField::StaticClass(), 100, false},
      {"select * from T_ZONE_HUMIDE", "ZH_CARTE", TMemoField::StaticClass(), 0, false},
      {"select * from T_ZONE_HUMIDE", "ZH_ALTITUDE", TFloatField::StaticClass(), 0, false},
      {"select * from T_ZONE_HUMIDE", "ZH_FLGCANAUX", TBooleanField::StaticClass(), 0, false},
      {"select * from D_ACT_HUM", "ACT_HUM_LIB", TWideStringField::StaticClass(), 80, false},
      {"select * from T_HISTORIQUE", "HISTO_DATE", TDateTimeField::StaticClass(), 0, false},
      {"select * from T_TAXON_ANI", "TAXON_CODE", TIntegerField::StaticClass(), 0, true},
      // Aliased columns keep their origin's type; expressions take theirs from their values.
      {"select INV_NATIONAL as code,INV_LIB as lib,'0' as type from D_ZPS", "code", TStringField::StaticClass(), 9, true},
      {"select INV_NATIONAL as code,INV_LIB as lib,'0' as type from D_ZPS", "type", TStringField::StaticClass(), 1, false},
      {"select count(*) as n, avg(ZH_ALTITUDE) as a from T_ZONE_HUMIDE", "n", TIntegerField::StaticClass(), 0, false},
      {"select count(*) as n, avg(ZH_ALTITUDE) as a from T_ZONE_HUMIDE", "a", TFloatField::StaticClass(), 0, false},
  };
  for (const auto& Case : Cases) {
    auto DataSet = OpenDataSet(Case.Statement, ltReadOnly);
    TField* Field = DataSet->FieldByName(Case.Field);
    EXPECT_EQ(Field->ClassType(), Case.Class) << Case.Statement << " / " << Case.Field << ": " << Field->ClassName();
    EXPECT_EQ(Field->Size(), Case.Size) << Case.Field;
    EXPECT_EQ(Field->Required(), Case.Required) << Case.Field;
  }
}

TEST_F(ADODataSetTest, ValuesComeBackAsTheFileHoldsThem) {
  auto Zone = OpenDataSet("select * from T_ZONE_HUMIDE order by ZH_CODE", ltReadOnly);
  EXPECT_EQ(Zone->FieldByName("ZH_NOM")->AsString(), "Marais de l'Étang Noir"_a);
  EXPECT_EQ(Zone->FieldByName("ZH_DESC_PAYS")->AsString(), "Marais tourbeux\r\nen rive du lac\r\nau pied du mont");
  EXPECT_DOUBLE_EQ(Zone->FieldByName("ZH_SUPERFICIE")->AsFloat(), 12.3456);
  EXPECT_TRUE(Zone->FieldByName("ZH_FLGCANAUX")->AsBoolean());
  EXPECT_FALSE(Zone->FieldByName("ZH_FLGOUVRAGE")->AsBoolean());
  EXPECT_TRUE(Zone->FieldByName("ZH_NOM_ENVELOPPE")->IsNull());
  Zone->Last();
  EXPECT_TRUE(Zone->FieldByName("ZH_ALTITUDE")->IsNull());
  EXPECT_EQ(Zone->FieldByName("ZH_CODE")->AsString(), "971PNG   0001");

  auto History = OpenDataSet("select * from T_HISTORIQUE where ZH_CODE = '073ASTERS0001' order by HISTO_DATE", ltReadOnly);
  EXPECT_DOUBLE_EQ(History->FieldByName("HISTO_DATE")->AsDateTime(), 38058.4375);
  EXPECT_EQ(History->FieldByName("HISTO_DATE")->AsString(), "12/03/2004 10:30:00");
  auto Taxa = OpenDataSet("select * from T_TAXON_ANI", ltReadOnly);
  EXPECT_EQ(Taxa->FieldByName("TAXON_CODE")->AsInteger(), 100);
  EXPECT_EQ(Taxa->FieldByName("TAXON_PROT_REG")->AsString(), "Régionale"_a);
}

TEST_F(ADODataSetTest, NavigatesWithRecordNumbersAndBookmarks) {
  auto Zone = OpenDataSet("select ZH_CODE, ZH_NOM from T_ZONE_HUMIDE order by ZH_CODE");
  EXPECT_EQ(Zone->RecordCount(), 3);
  EXPECT_EQ(Zone->RecNo(), 1);
  Zone->Next();
  TBookmark Second = Zone->GetBookmark();
  EXPECT_EQ(Zone->RecNo(), 2);
  Zone->Last();
  EXPECT_EQ(Zone->RecNo(), 3);
  Zone->Next();
  EXPECT_TRUE(Zone->Eof());
  EXPECT_TRUE(Zone->BookmarkValid(Second));
  EXPECT_EQ(Zone->CompareBookmarks(Second, Zone->GetBookmark()), -1);
  Zone->GotoBookmark(Second);
  EXPECT_EQ(Zone->FieldByName("ZH_CODE")->AsString(), "073ASTERS0002");
  Zone->SetRecNo(1);
  EXPECT_EQ(Zone->FieldByName("ZH_CODE")->AsString(), "073ASTERS0001");
  int Count = 0;
  for (Zone->First(); !Zone->Eof(); Zone->Next()) ++Count;
  EXPECT_EQ(Count, 3);
}

TEST_F(ADODataSetTest, LocateAndLookupSearchTheRowsWithTheOptionsAsked) {
  auto Zone = OpenDataSet("select ZH_CODE, ZH_NOM, ZH_ALTITUDE from T_ZONE_HUMIDE order by ZH_CODE");
  struct TCase {
    const char* Fields;
    Variant Key;
    TLocateOptions Options;
    const char* Found;  // the code found, or nullptr
  };
  const TCase Cases[] = {
      {"ZH_NOM", Variant("TOURBIÈRE DU COL"_a), {loCaseInsensitive}, "073ASTERS0002"},
      {"ZH_NOM", Variant("TOURBIÈRE DU COL"_a), {}, nullptr},
      {"ZH_NOM", Variant("Tourbière du Col"_a), {}, "073ASTERS0002"},
      {"ZH_NOM", Variant("mangrove"), {loCaseInsensitive, loPartialKey}, "971PNG   0001"},
      {"ZH_NOM", Variant("mangrove"), {loCaseInsensitive}, nullptr},
      {"ZH_ALTITUDE", Variant(1480), {}, "073ASTERS0002"},
      {"ZH_ALTITUDE", Variant::Null(), {}, "971PNG   0001"},
      {"ZH_CODE;ZH_ALTITUDE", VarArrayOf({"073asters0001", 231}), {loCaseInsensitive}, "073ASTERS0001"},
      {"ZH_CODE;ZH_ALTITUDE", VarArrayOf({"073ASTERS0001", 232}), {}, nullptr},
  };
  for (const auto& Case : Cases) {
    Zone->Last();
    bool Found = Zone->Locate(Case.Fields, Case.Key, Case.Options);
    EXPECT_EQ(Found, Case.Found != nullptr) << Case.Fields << " " << VarToStr(Case.Key);
    EXPECT_EQ(Zone->FieldByName("ZH_CODE")->AsString(), Case.Found ? Case.Found : "971PNG   0001") << Case.Fields;
  }
  Zone->First();
  EXPECT_EQ(Zone->Lookup("ZH_CODE", "971PNG   0001", "ZH_NOM").AsString(), "Mangrove de Belle-Plaine");
  EXPECT_TRUE(VarIsNull(Zone->Lookup("ZH_CODE", "absent", "ZH_NOM")));
  EXPECT_EQ(Zone->RecNo(), 1);  // Lookup never moves
  Variant Pair = Zone->Lookup("ZH_ALTITUDE", 1480, "ZH_CODE;ZH_NOM");
  EXPECT_EQ(Pair.GetElement(1).AsString(), "Tourbière du Col"_a);
}

TEST_F(ADODataSetTest, FilterTextsSelectTheVisibleRows) {
  auto Zone = OpenDataSet("select * from T_ZONE_HUMIDE order by ZH_CODE");
  struct TCase {
    const char* Filter;
    TFilterOptions Options;
    int Count;
  };
  const TCase Cases[] = {
      {"ZH_STATUT = 'A'", {}, 2},
      {"ZH_STATUT = 'a'", {}, 0},
      {"ZH_STATUT = 'a'", {foCaseInsensitive}, 2},
      {"ZH_NOM = 'Marais*'", {}, 1},
      {"ZH_NOM = 'Marais*'", {foNoPartialCompare}, 0},
      {"ZH_ALTITUDE > 1000", {}, 1},
      {"ZH_ALTITUDE = NULL", {}, 1},
      {"[ZH_ALTITUDE] <> NULL and ZH_TYPE = '1'", {}, 1},
      {"ZH_TYPE = '2' or (ZH_STATUT = 'G' and not ZH_FILIATION = '0')", {}, 2},
  };
  Zone->SetFiltered(true);
  for (const auto& Case : Cases) {
    Zone->SetFilterOptions(Case.Options);
    Zone->SetFilter(Case.Filter);
    EXPECT_EQ(Zone->RecordCount(), Case.Count) << Case.Filter;
    int Walked = 0;
    for (Zone->First(); !Zone->Eof(); Zone->Next()) ++Walked;
    EXPECT_EQ(Walked, Case.Count) << Case.Filter;
  }
  EXPECT_THROW(Zone->SetFilter("ZH_NOM = "), EDatabaseError);
  EXPECT_THROW(Zone->SetFilter("ABSENT = 'x'"), EDatabaseError);
  EXPECT_EQ(Zone->Filter(), Cases[std::size(Cases) - 1].Filter);  // a refused text changes nothing
  Zone->SetFiltered(false);
  EXPECT_EQ(Zone->RecordCount(), 3);
}

// --- Optimistic write-back --------------------------------------------------------------------------------

TEST_F(ADODataSetTest, OptimisticPostsAndDeletesReachTheFileAtOnce) {
  auto Zone = OpenDataSet("select * from T_ZONE_HUMIDE order by ZH_CODE");
  ASSERT_TRUE(Zone->Locate("ZH_CODE", "073ASTERS0002", {}));
  Zone->Edit();
  Zone->FieldByName("ZH_NOM")->SetAsString("Tourbière du Grand Col"_a);
  Zone->FieldByName("ZH_CARTE")->SetAsString("Ligne 1\r\nLigne 2");
  Zone->FieldByName("ZH_FLGMESURE")->SetAsBoolean(true);
  EXPECT_EQ(Zone->FieldByName("ZH_NOM")->OldValue().AsString(), "Tourbière du Col"_a);
  EXPECT_EQ(Zone->FieldByName("ZH_NOM")->NewValue().AsString(), "Tourbière du Grand Col"_a);
  Zone->Post();
  EXPECT_EQ(ReadBack("select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0002'").AsString(),
            "Tourbière du Grand Col"_a);
  EXPECT_EQ(ReadBack("select ZH_CARTE from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0002'").AsString(), "Ligne 1\r\nLigne 2");
  EXPECT_TRUE(ReadBack("select ZH_FLGMESURE from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0002'").AsBoolean());
  // Columns left alone keep their values.
  EXPECT_EQ(CountOf("select ZH_ALTITUDE from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0002'"), 1480);

  Zone->Append();
  Zone->FieldByName("ZH_CODE")->SetAsString("074NOUVEAU");
  Zone->FieldByName("ZH_ALTITUDE")->SetAsFloat(12.5);
  Zone->Post();
  EXPECT_EQ(Zone->RecordCount(), 4);
  EXPECT_DOUBLE_EQ(ReadBack("select ZH_ALTITUDE from T_ZONE_HUMIDE where ZH_CODE = '074NOUVEAU'").AsDouble(), 12.5);
  // Left out of the INSERT, the booleans take their defaults.
  EXPECT_EQ(VarType(ReadBack("select ZH_FLGCANAUX from T_ZONE_HUMIDE where ZH_CODE = '074NOUVEAU'")), varBoolean);
  EXPECT_FALSE(ReadBack("select ZH_FLGCANAUX from T_ZONE_HUMIDE where ZH_CODE = '074NOUVEAU'").AsBoolean());

  // The key itself may change: the row is found by the key it was read with.
  Zone->Edit();
  Zone->FieldByName("ZH_CODE")->SetAsString("074RENOMME");
  Zone->Post();
  EXPECT_EQ(CountOf("select count(*) from T_ZONE_HUMIDE where ZH_CODE in ('074NOUVEAU', '074RENOMME')"), 1);
  EXPECT_EQ(ReadBack("select ZH_CODE from T_ZONE_HUMIDE where ZH_ALTITUDE = 12.5").AsString(), "074RENOMME");

  Zone->Delete();
  EXPECT_EQ(CountOf("select count(*) from T_ZONE_HUMIDE where ZH_CODE = '074RENOMME'"), 0);
  EXPECT_EQ(Zone->RecordCount(), 3);
}

TEST_F(ADODataSetTest, AJoinedStatementWritesOnlyItsBaseTable) {
  auto Species = OpenDataSet(
      "select t.*, d.TAXON_LATIN from T_ESP_ANI_ZH t ,D_TAXON d where ZH_CODE = '073ASTERS0001' "
      "and t.TAXON_CODE= d.TAXON_CODE ORDER BY TAXON_THEME, TAXON_LATIN");
  EXPECT_EQ(Species->BaseTable(), "T_ESP_ANI_ZH");
  ASSERT_EQ(Species->RecordCount(), 1);
  EXPECT_EQ(Species->FieldByName("TAXON_LATIN")->AsString(), "Lutra lutra");
  Species->Edit();
  Species->FieldByName("TAXON_CODE")->SetAsString("2891");
  Species->FieldByName("TAXON_LATIN")->SetAsString("changé dans la jointure"_a);
  Species->Post();
  EXPECT_EQ(ReadBack("select TAXON_CODE from T_ESP_ANI_ZH where ZH_CODE = '073ASTERS0001'").AsString(), "2891");
  EXPECT_EQ(ReadBack("select TAXON_LATIN from D_TAXON where TAXON_CODE = '60630'").AsString(), "Lutra lutra");
  EXPECT_EQ(CountOf("select count(*) from D_TAXON where TAXON_LATIN like 'chang%'"), 0);

  Species->Delete();
  EXPECT_EQ(CountOf("select count(*) from T_ESP_ANI_ZH"), 0);
  EXPECT_EQ(CountOf("select count(*) from D_TAXON"), 3);
}

TEST_F(ADODataSetTest, RowsOfATableWithoutKeyAreFoundByRowidEvenWhenIdentical) {
  // Two identical rows: a change reaches one of them only.
  auto Alias = OpenDataSet("select * from T_ALIAS where ZH_CODE = '073ASTERS0002'");
  ASSERT_EQ(Alias->RecordCount(), 2);
  Alias->Last();
  Alias->Edit();
  Alias->FieldByName("ALIAS_LIB")->SetAsString("Tourbière basse"_a);
  Alias->Post();
  EXPECT_EQ(CountOf("select count(*) from T_ALIAS where ALIAS_LIB = 'Tourbière haute'"_a), 1);
  EXPECT_EQ(CountOf("select count(*) from T_ALIAS where ALIAS_LIB = 'Tourbière basse'"_a), 1);
  Alias->First();
  Alias->Delete();
  EXPECT_EQ(CountOf("select count(*) from T_ALIAS where ZH_CODE = '073ASTERS0002'"), 1);
  EXPECT_EQ(Alias->FieldByName("ALIAS_LIB")->AsString(), "Tourbière basse"_a);
}

TEST_F(ADODataSetTest, WithoutKeyOrRowidRowsAreFoundByTheirValuesAndTwinsAreRefused) {
  Connection->Execute("create view V_QUALITE as select * from T_QUALITE_EAU_ZH");
  auto Quality = OpenDataSet("select * from V_QUALITE where ZH_CODE = '073ASTERS0001'");
  EXPECT_EQ(Quality->BaseTable(), "T_QUALITE_EAU_ZH");
  Quality->Edit();
  Quality->FieldByName("QU_NAT_MESURES")->SetAsString("Nitrates, phosphates");
  Quality->Post();
  EXPECT_EQ(ReadBack("select QU_NAT_MESURES from T_QUALITE_EAU_ZH where ZH_CODE = '073ASTERS0001'").AsString(),
            "Nitrates, phosphates");

  auto Twins = OpenDataSet("select * from V_QUALITE where ZH_CODE = '073ASTERS0002'");
  ASSERT_EQ(Twins->RecordCount(), 2);
  Twins->Edit();
  Twins->FieldByName("QU_NAT_MESURES")->SetAsString("Conductivité"_a);
  try {
    Twins->Post();
    ADD_FAILURE() << "posted";
  } catch (EDatabaseError& E) {
    EXPECT_NE(E.Message.find("plusieurs lignes identiques"), String::npos) << E.Message;
  }
  EXPECT_EQ(Twins->State(), dsEdit);
  EXPECT_EQ(CountOf("select count(*) from T_QUALITE_EAU_ZH where QU_NAT_MESURES = 'pH'"), 2);
}

class TErrorLog : public TObject {
 public:
  std::vector<String> Posts, Deletes;
  void PostError(TDataSet*, EDatabaseError* E, TDataAction&) { Posts.push_back(E->Message); }
  void DeleteError(TDataSet*, EDatabaseError* E, TDataAction&) { Deletes.push_back(E->Message); }
};

TEST_F(ADODataSetTest, ARowChangedElsewhereSinceItWasReadIsNotFound) {
  auto Zone = OpenDataSet("select * from T_ZONE_HUMIDE order by ZH_CODE");
  TErrorLog Log;
  Zone->OnPostError = TDataSetErrorEvent(&Log, &TErrorLog::PostError);
  Zone->OnDeleteError = TDataSetErrorEvent(&Log, &TErrorLog::DeleteError);
  Connection->Execute("delete from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'");
  Zone->Edit();
  Zone->FieldByName("ZH_NOM")->SetAsString("Perdu");
  EXPECT_THROW(Zone->Post(), EDatabaseError);
  Zone->Cancel();
  EXPECT_THROW(Zone->Delete(), EDatabaseError);
  EXPECT_EQ(Zone->RecordCount(), 3);
  // Each refusal went through the dataset's handler of its operation.
  ASSERT_EQ(Log.Posts.size(), 1u);
  ASSERT_EQ(Log.Deletes.size(), 1u);
  EXPECT_NE(Log.Posts[0].find("T_ZONE_HUMIDE"), String::npos) << Log.Posts[0];
  EXPECT_NE(Log.Deletes[0].find("supprimer"), String::npos) << Log.Deletes[0];
}

TEST_F(ADODataSetTest, ReadOnlyStatementsRefuseChanges) {
  auto List = OpenDataSet("select zh_code,zh_nom from T_Zone_Humide ORDER BY ZH_CODE", ltReadOnly);
  EXPECT_FALSE(List->CanModify());
  EXPECT_THROW(List->Edit(), EDatabaseError);
  auto Counted = OpenDataSet("select count(*) as n from T_ZONE_HUMIDE");
  EXPECT_FALSE(Counted->CanModify());  // nothing to write back to
  EXPECT_EQ(Counted->FieldByName("n")->AsInteger(), 3);
}

TEST_F(ADODataSetTest, RequeryReadsTheFileAgain) {
  auto Zone = OpenDataSet("select ZH_CODE from T_ZONE_HUMIDE order by ZH_CODE");
  Zone->Last();
  Connection->Execute("insert into T_ZONE_HUMIDE (ZH_CODE) values ('000PREMIER')");
  EXPECT_EQ(Zone->RecordCount(), 3);
  Zone->Requery();
  EXPECT_EQ(Zone->RecordCount(), 4);
  EXPECT_EQ(Zone->RecNo(), 1);
  EXPECT_EQ(Zone->FieldByName("ZH_CODE")->AsString(), "000PREMIER");
}

}  // namespace
