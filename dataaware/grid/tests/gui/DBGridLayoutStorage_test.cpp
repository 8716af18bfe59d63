// Tests of the published grid's layout storage: the columns saved to an ini file or the registry,
// changed, then restored (order, widths, titles, read-only marks, groups); a grid that saves when
// freed and restores when shown; a damaged section read with what the columns had; new fields kept
// or not; the settings that store nothing.
#include "DBGridTestSupport.h"

#include <cstdint>
#include <random>

#include "Field.h"
#include "OsPort.h"
#include "Qvintl.h"
#include "Registry.h"
#include "qvexport.h"

namespace {

const std::vector<String> Designed = {"NOM\t20\tNom\tF", "CODE\t6\tCode\tF", "SURFACE\t8\tSurface\tT\tMesures"};
const std::vector<String> Changed = {"SURFACE\t30\tAire\tF", "NOM\t5\tLibellé\tT"_a};

class DBGridLayoutStorage : public DBGridFormTest {
 protected:
  void SetUp() override {
    DBGridFormTest::SetUp();
    Key = std::to_string(std::random_device()());
    Ini = OsPort::TempFolder() + "velbor-layout-" + Key + ".ini";
    Prepare(DB);
  }
  void TearDown() override {
    OsPort::DeleteFile(Ini);
    TRegistry Registry;
    Registry.DeleteKey(RegistryKey());
    DBGridFormTest::TearDown();
  }
  String RegistryKey() const { return "Software\\Velbor\\Tests\\Layout" + Key; }
  void Prepare(TqvDBGrid* Grid) {
    Grid->SetUseTFields(false);
    SetLines(Grid, Designed);
    Grid->IniAttributes()->SetFileName(Ini);
    Grid->IniAttributes()->FormName = "Fiche";
  }
  static void SetLines(TqvDBGrid* Grid, const std::vector<String>& Lines) {
    TStringList List;
    for (const String& Line : Lines) List.Add(Line);
    Grid->SetSelected(&List);
    Grid->RefreshSelectedFromDataSet();
  }
  static std::vector<String> Lines(TqvDBGrid* Grid) {
    std::vector<String> Result;
    for (int i = 0; i < Grid->Selected()->Count(); ++i) Result.push_back(Grid->Selected()->Strings(i));
    return Result;
  }
  // The fields of the grid's columns, in order.
  static std::vector<String> Columns(TqvDBGrid* Grid) {
    std::vector<String> Result;
    for (int i = 0; i < Grid->GetFieldCount(); ++i) Result.push_back(Grid->GetFields(i)->FieldName());
    return Result;
  }
  int ZeroWidth() {
    TBitmap Bitmap;
    Bitmap.Canvas()->Font()->Assign(DB->Font());
    return Bitmap.Canvas()->TextWidth("0");
  }
  String ReadIni() {
    OsPort::FileHandle File = OsPort::OpenFile(Ini, OsPort::fmOpenRead);
    if (File == OsPort::InvalidHandle) return "<missing>";
    String Text(8192, '\0');
    std::int64_t Count = OsPort::ReadFile(File, Text.data(), std::int64_t(Text.size()));
    OsPort::CloseFile(File);
    Text.resize(std::size_t(std::max<std::int64_t>(Count, 0)));
    return Text;
  }
  String Key, Ini;
};

TEST_F(DBGridLayoutStorage, SavedToAnIniFileChangedAndRestored) {
  ShowGrid();
  DB->SaveLayout();
  String Text = ReadIni();
  EXPECT_NE(Text.find("[FicheGrid]"), String::npos) << Text;
  EXPECT_NE(Text.find("NOM=20;;Nom;;F"), String::npos) << Text;
  EXPECT_NE(Text.find("CODE=6;;Code;;F"), String::npos) << Text;
  EXPECT_NE(Text.find("SURFACE=8;;Surface;;T;;Mesures"), String::npos) << Text;
  SetLines(DB, Changed);
  ASSERT_EQ(Columns(DB), (std::vector<String>{"SURFACE", "NOM"}));
  DB->RestoreLayout();
  EXPECT_EQ(Lines(DB), Designed);
  EXPECT_EQ(Columns(DB), (std::vector<String>{"NOM", "CODE", "SURFACE"}));
  EXPECT_EQ(DB->GetColumn(2)->DisplayLabel(), "Surface");
  EXPECT_TRUE(DB->GetColumn(2)->ReadOnly());
  EXPECT_EQ(DB->GetColumn(2)->GroupName(), "Mesures");
  EXPECT_EQ(DB->ColWidths(ColOfField("NOM")), 20 * ZeroWidth() + 4);
}

TEST_F(DBGridLayoutStorage, SavedToTheRegistryChangedAndRestored) {
  DB->IniAttributes()->SaveToRegistry = true;
  DB->IniAttributes()->SetFileName(RegistryKey());
  DB->IniAttributes()->SetSectionName("Liste");
  ShowGrid();
  DB->SaveLayout();
  {
    TRegIniFile Registry(RegistryKey());
    EXPECT_EQ(Registry.ReadString("Liste", "CODE", ""), "6;;Code;;F");
    EXPECT_EQ(Registry.ReadString("Liste", "SURFACE", ""), "8;;Surface;;T;;Mesures");
  }
  SetLines(DB, Changed);
  DB->RestoreLayout();
  EXPECT_EQ(Lines(DB), Designed);
  EXPECT_EQ(Columns(DB), (std::vector<String>{"NOM", "CODE", "SURFACE"}));
}

// The grid's own life: freed, it saves what the user made of it; the next grid of the same form
// and name comes up with it.
TEST_F(DBGridLayoutStorage, AGridSavesWhenFreedAndTheNextRestoresWhenShown) {
  DB->IniAttributes()->Enabled = true;
  ShowGrid();
  SetLines(DB, Changed);
  delete DB;
  DB = new TqvDBGrid(Form.get());
  DB->SetName("Grid");
  Prepare(DB);
  DB->IniAttributes()->Enabled = true;
  DB->SetDataSource(Source);
  DB->SetParent(Form.get());
  DB->SetBounds(8, 8, 570, 300);
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_EQ(Lines(DB), Changed);
  EXPECT_EQ(Columns(DB), (std::vector<String>{"SURFACE", "NOM"}));
  EXPECT_EQ(DB->GetColumn(1)->DisplayLabel(), "Libellé"_a);
  EXPECT_EQ(DB->ColWidths(ColOfField("SURFACE")), 30 * ZeroWidth() + 4);
}

TEST_F(DBGridLayoutStorage, ADamagedSectionIsReadWithTheColumnsPresentSettings) {
  ShowGrid();
  String Error;
  ASSERT_TRUE(qvWriteFileReplacing(Ini,
                                   "[FicheGrid]\r\nCODE=abc;;Code X;;F\r\nNOM=sans délimiteur\r\nGONE=5;;Parti;;F\r\n"
                                   "SURFACE=12;;Surf;;F\r\n"_a,
                                   Error))
      << Error;
  Script.Push(mrOk);
  DB->RestoreLayout();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Key Delimiter Not Found");
  // The width that is no number takes the column's own; the entry without its delimiter keeps
  // the column as it was; the field the dataset lacks is left out.
  EXPECT_EQ(Lines(DB), (std::vector<String>{"CODE\t6\tCode X\tF", "NOM\t20\tNom\tF", "SURFACE\t12\tSurf\tF"}));
  EXPECT_EQ(Columns(DB), (std::vector<String>{"CODE", "NOM", "SURFACE"}));
}

struct TNewFieldCase {
  const char* Name;
  bool CheckNewFields;
  std::vector<String> Columns;
};

class DBGridLayoutNewFields : public DBGridLayoutStorage, public testing::WithParamInterface<TNewFieldCase> {};

TEST_P(DBGridLayoutNewFields, AFieldTheLayoutDoesNotKnow) {
  ShowGrid();
  SetLines(DB, {"NOM\t20\tNom\tF", "CODE\t6\tCode\tF"});
  DB->SaveLayout();
  // The program's next version shows SURFACE too.
  SetLines(DB, {"CODE\t6\tCode\tF", "NOM\t20\tNom\tF", "SURFACE\t8\tSurface\tF"});
  DB->IniAttributes()->CheckNewFields = GetParam().CheckNewFields;
  DB->RestoreLayout();
  EXPECT_EQ(Columns(DB), GetParam().Columns);
}

INSTANTIATE_TEST_SUITE_P(Storage, DBGridLayoutNewFields,
                         testing::Values(TNewFieldCase{"KeptAfterTheStoredOnes", true, {"NOM", "CODE", "SURFACE"}},
                                         TNewFieldCase{"DroppedWithoutCheckNewFields", false, {"NOM", "CODE"}}),
                         [](const testing::TestParamInfo<TNewFieldCase>& Info) { return String(Info.param.Name); });

TEST_F(DBGridLayoutStorage, SettingsThatStoreNothing) {
  ShowGrid();
  // No file name and no connected library strings: nothing stored, nothing said.
  DB->IniAttributes()->SetFileName("");
  qvIntl->SetConnected(false);
  DB->SaveLayout();
  EXPECT_EQ(ReadIni(), "<missing>");
  EXPECT_TRUE(Script.Asked.empty());
  // The registry needs a key.
  DB->IniAttributes()->SaveToRegistry = true;
  Script.Push(mrOk);
  DB->SaveLayout();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "FileName required when saving to registry");
  // A folder that does not exist.
  DB->IniAttributes()->SaveToRegistry = false;
  DB->IniAttributes()->SetFileName(OsPort::TempFolder() + "velbor-no-folder-" + Key + "\\grille.ini");
  Script.Push(mrOk);
  DB->SaveLayout();
  ASSERT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(Script.Asked[1].Text, "Directory does not exist");
  // The default section: the form's name and the grid's.
  EXPECT_EQ(DB->IniAttributes()->GetSectionName(), "FicheGrid");
}

}  // namespace
