// Tests of the per-field settings lines: "Selected", "PictureMasks", "ControlType",
// "LookupFields" with "LookupLinks" (short and absent companion lists), the purge, and the
// source of a control's settings.
#include <gtest/gtest.h>

#include <vector>

#include "DataSource.h"
#include "Field.h"
#include "qvFieldSettings.h"
#include "qvTestDataSet.h"

namespace {

std::vector<String> Lines(TStrings* List) {
  std::vector<String> Result;
  for (int i = 0; i < List->Count(); ++i) Result.push_back(List->Strings(i));
  return Result;
}

void SetLines(TStrings* List, std::initializer_list<String> Values) {
  List->Clear();
  for (const String& Value : Values) List->Add(Value);
}

class FieldSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { Set.Open(); }
  TSettingsDataSet Set{SettingsColumns()};
};

std::vector<String> FieldOrder(TDataSet* DataSet) {
  std::vector<String> Names;
  for (int i = 0; i < DataSet->Fields()->Count(); ++i) Names.push_back(DataSet->Fields()->Fields(i)->FieldName());
  return Names;
}

TEST_F(FieldSettingsTest, SelectedLinesShowPlaceAndLabelFields) {
  TStringList Selected;
  // A line for an absent field still uses up its index: NOM goes to index 2.
  SetLines(&Selected, {"CODE\t5\tCode", "ABSENT\t3\tX", "nom\t12\tNom du site\tT\tGroupe"});
  qvApplySelectedToFields(&Set, &Selected);
  EXPECT_EQ(FieldOrder(&Set), (std::vector<String>{"CODE", "DATE_OBS", "NOM", "SURFACE", "LIB_COMMUNE", "NOTE"}));
  TField* Code = Set.FieldByName("CODE");
  TField* Nom = Set.FieldByName("NOM");
  EXPECT_TRUE(Code->Visible());
  EXPECT_EQ(Code->DisplayWidth(), 5);
  EXPECT_EQ(Code->DisplayLabel(), "Code");
  EXPECT_TRUE(Nom->Visible());
  EXPECT_EQ(Nom->DisplayWidth(), 12);
  EXPECT_EQ(Nom->DisplayLabel(), "Nom du site");
  EXPECT_FALSE(Set.FieldByName("DATE_OBS")->Visible());
  EXPECT_FALSE(Set.FieldByName("SURFACE")->Visible());
  EXPECT_FALSE(Set.ControlsDisabled());

  TStringList Back;
  Back.Add("old");
  qvGetSelectedFromFields(&Set, &Back);
  EXPECT_EQ(Lines(&Back), (std::vector<String>{"CODE\t5\tCode", "NOM\t12\tNom du site"}));

  int Index = -1;
  EXPECT_TRUE(qvFindSelectedField(&Selected, "NOM", Index));
  EXPECT_EQ(Index, 2);
  EXPECT_FALSE(qvFindSelectedField(&Selected, "SURFACE", Index));
  EXPECT_FALSE(qvFindSelectedField(nullptr, "NOM", Index));
}

TEST_F(FieldSettingsTest, BadWidthRaisesAndGivesTheControlsBack) {
  TStringList Selected;
  SetLines(&Selected, {"CODE\tlarge\tCode"});
  EXPECT_THROW(qvApplySelectedToFields(&Set, &Selected), EConvertError);
  EXPECT_FALSE(Set.ControlsDisabled());
}

TEST_F(FieldSettingsTest, NoSelectedListHidesEveryField) {
  qvApplySelectedToFields(&Set, nullptr);
  for (int i = 0; i < Set.Fields()->Count(); ++i) EXPECT_FALSE(Set.Fields()->Fields(i)->Visible());
  EXPECT_FALSE(Set.ControlsDisabled());
}

TEST_F(FieldSettingsTest, DataSetHasFieldIgnoresAsciiCase) {
  EXPECT_TRUE(qvDataSetHasField(&Set, "lib_commune"));
  EXPECT_FALSE(qvDataSetHasField(&Set, "ABSENT"));
  TStringList NotADataSet;
  EXPECT_FALSE(qvDataSetHasField(&NotADataSet, "NOM"));
  EXPECT_FALSE(qvDataSetHasField(nullptr, "NOM"));
}

struct TMaskRead {
  String Mask;
  bool AutoFill;
  bool UseMask;
};

TMaskRead ReadMask(TObject* Component, const String& Name) {
  TMaskRead R{"junk", false, false};
  qvGetPictureMaskInfo(Component, Name, true, R.Mask, R.AutoFill, R.UseMask);
  return R;
}

TEST_F(FieldSettingsTest, PictureMaskLinesAreReadWithoutRegardToCase) {
  SetLines(Set.PictureMasks(), {"CODE\t###\tT\tF", "nom\t&*?", "CODE\t#\tF\tT"});
  TMaskRead Code = ReadMask(&Set, "code");
  EXPECT_EQ(Code.Mask, "###");
  EXPECT_TRUE(Code.AutoFill);
  EXPECT_FALSE(Code.UseMask);
  // Missing parts read as empty: neither flag is "T".
  TMaskRead Nom = ReadMask(&Set, "NOM");
  EXPECT_EQ(Nom.Mask, "&*?");
  EXPECT_FALSE(Nom.AutoFill);
  EXPECT_FALSE(Nom.UseMask);
  // No line: an empty mask and both flags true.
  TMaskRead None = ReadMask(&Set, "SURFACE");
  EXPECT_EQ(None.Mask, "");
  EXPECT_TRUE(None.AutoFill);
  EXPECT_TRUE(None.UseMask);
  TStringList NoMasks;
  EXPECT_EQ(ReadMask(&NoMasks, "CODE").Mask, "");
}

TEST_F(FieldSettingsTest, PictureMaskLinesAreWritten) {
  TStrings* Masks = Set.PictureMasks();
  SetLines(Masks, {"CODE\t###\tT\tF"});
  // Only the parts asked for change.
  qvSetPictureMaskInfo(&Set, "code", "####", false, true, true, false, false);
  EXPECT_EQ(Lines(Masks), (std::vector<String>{"code\t####\tT\tF"}));
  qvSetPictureMaskInfo(&Set, "CODE", "", false, true, false, false, true);
  EXPECT_EQ(Lines(Masks), (std::vector<String>{"CODE\t####\tT\tT"}));
  // A new field gets a line; an empty mask for a field without line adds nothing.
  qvSetPictureMaskInfo(&Set, "Nom", "&&", true, false, true, true, false);
  qvSetPictureMaskInfo(&Set, "SURFACE", "", true, true, true, true, true);
  EXPECT_EQ(Lines(Masks), (std::vector<String>{"CODE\t####\tT\tT", "Nom\t&&\tT\tF"}));
  // An empty mask deletes the field's line.
  qvSetPictureMaskInfo(&Set, "code", "", true, true, true, true, true);
  EXPECT_EQ(Lines(Masks), (std::vector<String>{"Nom\t&&\tT\tF"}));
  // A component without the list is left alone.
  TStringList Other;
  qvSetPictureMaskInfo(&Other, "CODE", "#", true, true, true, true, true);
  EXPECT_EQ(Other.Count(), 0);
}

TEST_F(FieldSettingsTest, ControlTypeLinesMatchExactlyAndTheLastWins) {
  String Long(300, 'p');
  SetLines(Set.ControlType(),
           {"NOTE;RichEdit", "NOM;LookupCombo;a", "NOM;Combo;x;y;z", "SURFACE;CustomEdit;" + Long, "CODE"});
  struct {
    String Name;
    String Kind;
    String Params;
  } Cases[] = {{"NOTE", "RichEdit", ""},
               {"NOM", "Combo", "x;y;z"},
               {"nom", "", ""},
               {"SURFACE", "CustomEdit", Long.substr(0, 255)},
               {"CODE", "", ""},
               {"ABSENT", "", ""}};
  for (const auto& C : Cases) {
    String Kind = "junk", Params = "junk";
    qvGetControlType(&Set, C.Name, Kind, Params);
    EXPECT_EQ(Kind, C.Kind) << C.Name;
    EXPECT_EQ(Params, C.Params) << C.Name;
  }
}

class LookupSettingsTest : public FieldSettingsTest {
 protected:
  void SetUp() override {
    FieldSettingsTest::SetUp();
    Set.DatabaseName = "velbor";
    SetLines(Set.LookupFields(), {"NOM;db;T_OLD;R_OLD",  // four parts: not a lookup line for the info
                                  "LIB_COMMUNE;base;T_COMMUNE;LIBELLE;IDX",
                                  "NOM;base2;T_NOM;LIB_NOM;IDX2"});
    SetLines(Set.LookupLinks(), {"CODE;CODE_OLD", "CODE;CODE_COMMUNE"});  // one line short
  }
  struct TInfo {
    String Database = "?", Table = "?", Links = "?", Result = "?";
  };
  TInfo Info(const String& FieldName) {
    TInfo I;
    qvGetFieldLookupInfo(Set.FieldByName(FieldName), I.Database, I.Table, I.Links, I.Result);
    return I;
  }
};

TEST_F(LookupSettingsTest, LinksAndResultFieldOfTheFirstLine) {
  EXPECT_EQ(qvGetFieldLookupLinks(&Set, "LIB_COMMUNE"), "CODE;CODE_COMMUNE");
  EXPECT_EQ(qvGetFieldLookupLinks(&Set, "NOM"), "CODE;CODE_OLD");
  EXPECT_EQ(qvGetFieldLookupLinks(&Set, "lib_commune"), "");
  EXPECT_EQ(qvGetFieldLookupField(&Set, "LIB_COMMUNE"), "LIBELLE");
  EXPECT_EQ(qvGetFieldLookupField(&Set, "NOM"), "R_OLD");
  EXPECT_EQ(qvGetFieldLookupField(&Set, "SURFACE"), "");
}

TEST_F(LookupSettingsTest, InfoSkipsLinesOfFourPartsAndReadsShortLinksAsEmpty) {
  TInfo Commune = Info("LIB_COMMUNE");
  EXPECT_EQ(Commune.Database, "base");
  EXPECT_EQ(Commune.Table, "T_COMMUNE");
  EXPECT_EQ(Commune.Result, "LIBELLE");
  EXPECT_EQ(Commune.Links, "CODE;CODE_COMMUNE");
  // NOM's first line has four parts; its second one (index 2) has no links line.
  TInfo Nom = Info("NOM");
  EXPECT_EQ(Nom.Database, "base2");
  EXPECT_EQ(Nom.Table, "T_NOM");
  EXPECT_EQ(Nom.Result, "LIB_NOM");
  EXPECT_EQ(Nom.Links, "");
  // No lookup line: the dataset's database name.
  TInfo Surface = Info("SURFACE");
  EXPECT_EQ(Surface.Database, "velbor");
  EXPECT_EQ(Surface.Table, "");
  EXPECT_EQ(Surface.Links, "");
  EXPECT_EQ(Surface.Result, "");
}

// A dataset that publishes lookup lines but no links list.
class TLookupOnlyDataSet : public TVectorDataSet {
  VELBOR_DECLARE_CLASS(TLookupOnlyDataSet, TVectorDataSet)
 public:
  TLookupOnlyDataSet() : TVectorDataSet({{"LIB_COMMUNE", ftString, 30}, {"GONE_TOO", ftInteger}}) {}
  TStringList* LookupFields() const { return FLookupFields.get(); }

 private:
  std::unique_ptr<TStringList> FLookupFields = std::make_unique<TStringList>();
};
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TLookupOnlyDataSet)
VELBOR_PUBLISHED(TLookupOnlyDataSet, Prop("LookupFields", &Self::LookupFields))

TEST(LookupSettings, AbsentLinksListReadsAsEmpty) {
  TLookupOnlyDataSet Set;
  Set.Open();
  SetLines(Set.LookupFields(), {"LIB_COMMUNE;base;T_COMMUNE;LIBELLE;IDX"});
  EXPECT_EQ(qvGetFieldLookupLinks(&Set, "LIB_COMMUNE"), "");
  String Database, Table, Links = "junk", Result;
  qvGetFieldLookupInfo(Set.FieldByName("LIB_COMMUNE"), Database, Table, Links, Result);
  EXPECT_EQ(Table, "T_COMMUNE");
  EXPECT_EQ(Links, "");
  EXPECT_EQ(qvGetFieldLookupLinks(nullptr, "LIB_COMMUNE"), "");
  // A field without dataset leaves the outputs alone.
  TField Orphan(nullptr);
  String Kept = "kept";
  qvGetFieldLookupInfo(&Orphan, Kept, Table, Links, Result);
  EXPECT_EQ(Kept, "kept");
}

TEST_F(FieldSettingsTest, PurgeDropsLinesOfMissingFieldsWithTheirLinks) {
  SetLines(Set.LookupFields(), {"LIB_COMMUNE;b;T;R;I", "GONE;b;T;R;I", "nom;b;T;R;I"});
  SetLines(Set.LookupLinks(), {"a;b", "c;d", "e;f"});
  SetLines(Set.ControlType(), {"NOM;Combo", "GONE;CheckBox", "NOTE;RichEdit"});
  qvPurgeFieldLists(&Set, Set.LookupFields(), Set.LookupLinks(), Set.ControlType());
  EXPECT_EQ(Lines(Set.LookupFields()), (std::vector<String>{"LIB_COMMUNE;b;T;R;I", "nom;b;T;R;I"}));
  EXPECT_EQ(Lines(Set.LookupLinks()), (std::vector<String>{"a;b", "e;f"}));
  EXPECT_EQ(Lines(Set.ControlType()), (std::vector<String>{"NOM;Combo", "NOTE;RichEdit"}));
}

TEST_F(FieldSettingsTest, PurgeToleratesShortAndAbsentCompanions) {
  SetLines(Set.LookupFields(), {"LIB_COMMUNE;b;T;R;I", "NOM;b;T;R;I", "GONE;b;T;R;I"});
  SetLines(Set.LookupLinks(), {"a;b"});
  qvPurgeFieldLists(&Set, Set.LookupFields(), Set.LookupLinks(), nullptr);
  EXPECT_EQ(Lines(Set.LookupFields()), (std::vector<String>{"LIB_COMMUNE;b;T;R;I", "NOM;b;T;R;I"}));
  EXPECT_EQ(Lines(Set.LookupLinks()), (std::vector<String>{"a;b"}));

  SetLines(Set.LookupFields(), {"GONE;b;T;R;I", "NOM;b;T;R;I"});
  qvPurgeFieldLists(&Set, Set.LookupFields(), nullptr, nullptr);
  EXPECT_EQ(Lines(Set.LookupFields()), (std::vector<String>{"NOM;b;T;R;I"}));
}

// A control that names its data source and may say where its settings come from.
class TMaskedControl : public TComponent {
  VELBOR_DECLARE_CLASS(TMaskedControl, TComponent)
 public:
  explicit TMaskedControl(TComponent* AOwner) : TComponent(AOwner) {}
  TDataSource* DataSource = nullptr;
  bool PictureMaskFromDataSet = true;
  bool ControlInfoInDataSet = true;
};
VELBOR_IMPLEMENT_CLASS(TMaskedControl)
VELBOR_PUBLISHED(TMaskedControl,
  Prop("DataSource", &Self::DataSource),
  Prop("PictureMaskFromDataSet", &Self::PictureMaskFromDataSet),
  Prop("ControlInfoInDataSet", &Self::ControlInfoInDataSet))

TEST_F(FieldSettingsTest, SettingsSourceOfAControl) {
  TDataSource Source(nullptr);
  Source.SetDataSet(&Set);
  TMaskedControl Control(nullptr);
  Control.DataSource = &Source;
  EXPECT_EQ(qvGetPictureMaskSource(&Control, nullptr), &Set);
  EXPECT_EQ(qvGetControlInfoSource(&Control, nullptr), &Set);
  Control.PictureMaskFromDataSet = false;
  EXPECT_EQ(qvGetPictureMaskSource(&Control, nullptr), &Control);
  EXPECT_EQ(qvGetControlInfoSource(&Control, nullptr), &Set);
  // A dataset without the lists leaves the control as the source.
  TVectorDataSet Plain({{"ID", ftInteger}});
  EXPECT_EQ(qvGetControlInfoSource(&Control, &Plain), &Control);
  // A control without the switch takes the dataset given.
  TStringList NoSwitch;
  EXPECT_EQ(qvGetPictureMaskSource(&NoSwitch, &Set), &Set);
}

}  // namespace
