// Tests of the published grid's export: the dictionary windows' CSV file read back, the
// multi-selected records only, the grid's record kept, the clipboard, the columns an event leaves
// out, and a grid without a dataset that touches no file.
#include "DBGridTestSupport.h"

#include <cstdint>
#include <random>

#include "Clipbrd.h"
#include "Field.h"
#include "OsPort.h"
#include "Qvdbcomb.h"
#include "qvExportOptions.h"
#include "../qvReadDelimited.h"

namespace {

class DBGridExport : public DBGridFormTest {
 protected:
  void SetUp() override {
    DBGridFormTest::SetUp();
    Path = OsPort::TempFolder() + "velbor-grid-" + std::to_string(std::random_device()()) + ".csv";
    // Values a spreadsheet must read back whole: the delimiter, quotes, a line break, accents.
    ASSERT_TRUE(Data->Locate("CODE", 2, {}));
    Data->Edit();
    Data->FieldByName("NOM")->SetAsString("Lac \"bleu\"; nord");
    Data->Post();
    ASSERT_TRUE(Data->Locate("CODE", 5, {}));
    Data->Edit();
    Data->FieldByName("NOM")->SetAsString("Étang\r\nsalé"_a);
    Data->Post();
    ASSERT_TRUE(Data->Locate("CODE", 1, {}));
  }
  void TearDown() override {
    OsPort::DeleteFile(Path);
    DBGridFormTest::TearDown();
  }
  String Read() {
    OsPort::FileHandle File = OsPort::OpenFile(Path, OsPort::fmOpenRead);
    if (File == OsPort::InvalidHandle) return "<missing>";
    String Text(65536, '\0');
    std::int64_t Count = OsPort::ReadFile(File, Text.data(), std::int64_t(Text.size()));
    OsPort::CloseFile(File);
    Text.resize(std::size_t(std::max<std::int64_t>(Count, 0)));
    return Text;
  }

 public:
  void Exclude(TObject*, TField* Field, bool& Accept) {
    if (Field->FieldName() == "NOTE" || Field->FieldName() == "COMMUNE") Accept = false;
  }
  void SurfaceFormat(TObject*, TField* Field, String& Format) {
    if (Field->FieldName() == "SURFACE") Format = "0.000";
  }

 protected:
  String Path;
};

const std::vector<String> Titles = {"NOM", "CODE", "DATE_OBS", "SURFACE", "ACTIF", "NOTE", "COM", "COMMUNE"};

TEST_F(DBGridExport, TheDictionaryCsvReadsBackRecordByRecord) {
  ShowGrid();
  TqvExportOptions* Export = DB->ExportOptions();
  Export->SetDelimiter(";");
  Export->SetFileName(Path);
  Export->Save();
  String Text = Read();
  // Every title and value between quotes, separated by semicolons, each line ended by CRLF.
  EXPECT_EQ(Text.substr(0, Text.find("\r\n") + 2),
            "\"NOM\";\"CODE\";\"DATE_OBS\";\"SURFACE\";\"ACTIF\";\"NOTE\";\"COM\";\"COMMUNE\"\r\n");
  std::optional<TRecords> Records = ReadDelimited(Text, ';');
  ASSERT_TRUE(Records.has_value()) << Text;
  ASSERT_EQ(Records->size(), 13u);
  EXPECT_EQ((*Records)[0], Titles);
  EXPECT_EQ((*Records)[1], (std::vector<String>{"Nom 1", "1", "02/01/2020", "1,5", "Faux", "(Memo)", "01002",
                                                "L'Abergement-de-Varey"}));
  EXPECT_EQ((*Records)[2][0], "Lac \"bleu\"; nord");
  EXPECT_EQ((*Records)[5][0], "Étang\r\nsalé"_a);
  EXPECT_EQ((*Records)[12][1], "12");
}

TEST_F(DBGridExport, SelectedRecordsOnlyInDatasetOrderAndTheRecordKept) {
  TqvDBGridOptions Options = DB->Options();
  Options.Include(dgMultiSelect);
  DB->SetOptions(Options);
  ShowGrid();
  ClickRecord(9, VK_CONTROL);
  ClickRecord(2, VK_CONTROL);
  ClickRecord(5, VK_CONTROL);
  ClickRecord(7);
  int Row = DB->Row();
  TqvExportOptions* Export = DB->ExportOptions();
  Export->SetDelimiter(";");
  Export->SetFileName(Path);
  Export->Options.Include(esoSaveSelectedOnly);
  Export->Save();
  std::optional<TRecords> Records = ReadDelimited(Read(), ';');
  ASSERT_TRUE(Records.has_value()) << Read();
  ASSERT_EQ(Records->size(), 4u);
  EXPECT_EQ((*Records)[1][1], "2");
  EXPECT_EQ((*Records)[1][0], "Lac \"bleu\"; nord");
  EXPECT_EQ((*Records)[2][1], "5");
  EXPECT_EQ((*Records)[2][0], "Étang\r\nsalé"_a);
  EXPECT_EQ((*Records)[3][1], "9");
  // The grid stands where it stood.
  PumpPending();
  EXPECT_EQ(Code(), 7);
  EXPECT_EQ(DB->Row(), Row);
  EXPECT_EQ(SelectedCodes(), (std::set<int>{2, 5, 9}));
}

TEST_F(DBGridExport, TheClipboardGetsTheColumnsTheEventLeaves) {
  ShowGrid();
  DB->OnExportField = TqvExportFieldEvent(static_cast<DBGridExport*>(this), &DBGridExport::Exclude);
  TqvExportOptions* Export = DB->ExportOptions();
  Export->SetFileName(Path);
  Export->Options.Include(esoClipboard);
  Export->Options.Exclude(esoDblQuoteFields);
  Clipboard()->SetAsText("avant");
  Export->Save();
  EXPECT_FALSE(OsPort::FileExists(Path));
  std::optional<TRecords> Records = ReadDelimited(Clipboard()->AsText(), ',');
  ASSERT_TRUE(Records.has_value()) << Clipboard()->AsText();
  ASSERT_EQ(Records->size(), 13u);
  EXPECT_EQ((*Records)[0], (std::vector<String>{"NOM", "CODE", "DATE_OBS", "SURFACE", "ACTIF", "COM"}));
  // Quoted only where the value needs it.
  EXPECT_EQ((*Records)[4], (std::vector<String>{"Nom 4", "4", "05/01/2020", "6", "Vrai", "01002"}));
}

TEST_F(DBGridExport, AGridWithoutADatasetTouchesNoFile) {
  ShowGrid();
  String Error;
  ASSERT_TRUE(qvWriteFileReplacing(Path, "kept\r\n", Error)) << Error;
  Data->Close();
  TqvExportOptions* Export = DB->ExportOptions();
  Export->SetFileName(Path);
  EXPECT_THROW(Export->Save(), EInvalidOperation);
  EXPECT_EQ(Read(), "kept\r\n");
  // Nor does the format that has no writer.
  Data->Open();
  Export->ExportType = qvgetXML;
  EXPECT_THROW(Export->Save(), EInvalidOperation);
  EXPECT_EQ(Read(), "kept\r\n");
}

TEST_F(DBGridExport, TheSpreadsheetFormatTakesTheEventsNumberFormat) {
  ShowGrid();
  DB->OnExportSYLKFormat = TqvExportSYLKFormatEvent(static_cast<DBGridExport*>(this), &DBGridExport::SurfaceFormat);
  TqvExportOptions* Export = DB->ExportOptions();
  Export->SetFileName(Path);
  Export->ExportType = qvgetSYLK;
  Export->Save();
  String Text = Read();
  EXPECT_NE(Text.find("P;P0.000\r\n"), String::npos) << Text;
  EXPECT_EQ(Text.substr(Text.size() - 1), "E");
}

TEST_F(DBGridExport, AnHtmlPageWithCheckBoxesOrSayingNoRecordIsSelected) {
  Data->ControlType()->Add("ACTIF;CheckBox;VRAI;FAUX");
  Reload(12);
  ShowGrid();
  TqvExportOptions* Export = DB->ExportOptions();
  Export->SetFileName(Path);
  Export->ExportType = qvgetHTML;
  Export->Options.Include(esoAddControls);
  Export->Save();
  String Html = Read();
  // The even records are ticked (Vrai), the odd ones not.
  auto Count = [&](const String& What) {
    int N = 0;
    for (std::size_t At = Html.find(What); At != String::npos; At = Html.find(What, At + 1)) ++N;
    return N;
  };
  EXPECT_EQ(Count("type=\"checkbox\" checked"), 6) << Html;
  EXPECT_EQ(Count("TYPE=\"checkbox\" >"), 6) << Html;
  EXPECT_EQ(Count("No Records Selected"), 0);
  Export->Options.Include(esoSaveSelectedOnly);
  Export->Save();
  Html = Read();
  EXPECT_EQ(Count("No Records Selected"), 1) << Html;
  EXPECT_EQ(Count("checkbox"), 0) << Html;
}

// The HTML page takes the grid's group headers, its link cells as links (esoEmbedURL) and the
// colours its events give titles and cells (esoDynamicColors).
TEST_F(DBGridExport, AnHtmlPageTakesTheGroupsLinksAndColoursOfTheGrid) {
  struct TColours : TObject {
    void Cell(TObject*, TField* Field, TGridDrawState, bool, TFont*, TBrush* Brush) {
      if (Field->FieldName() == "CODE" && Field->AsInteger() == 4) Brush->SetColor(clYellow);
    }
    void Title(TObject*, const String& Name, TFont*, TBrush* Brush, TAlignment&) {
      if (Name == "SURFACE") Brush->SetColor(clAqua);
    }
  } Colours;
  Data->ControlType()->Add("NOM;URL-Link");
  Reload(12);
  DB->SetUseTFields(false);
  auto Lines = std::make_unique<TStringList>();
  Lines->Add("NOM\t12\tNom\tF");
  Lines->Add("CODE\t5\tCode\tF\tMesures");
  Lines->Add("SURFACE\t8\tSurface\tF\tMesures");
  DB->SetSelected(Lines.get());
  DB->OnCalcCellColors = TqvCalcCellColorsEvent(&Colours, &TColours::Cell);
  DB->OnCalcTitleAttributes = TqvCalcTitleAttributesEvent(&Colours, &TColours::Title);
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 3, {}));
  Data->Edit();
  Data->FieldByName("NOM")->SetAsString("Lac#http://z.fr/a&b");
  Data->Post();
  TqvExportOptions* Export = DB->ExportOptions();
  Export->SetFileName(Path);
  Export->ExportType = qvgetHTML;
  Export->Options.Include(esoDynamicColors);
  Export->Options.Include(esoEmbedURL);
  Export->Save();
  String Html = Read();
  auto Count = [&](const String& What) {
    int N = 0;
    for (std::size_t At = Html.find(What); At != String::npos; At = Html.find(What, At + 1)) ++N;
    return N;
  };
  // The group over CODE and SURFACE, their titles under it; SURFACE's title in the event's colour.
  EXPECT_EQ(Count("ALIGN=CENTER ColSpan=\"2\">"), 1) << Html;
  EXPECT_EQ(Count("Mesures</"), 1) << Html;
  EXPECT_EQ(Count("bgcolor=#00FFFF >"), 1) << Html;
  EXPECT_EQ(Count("RowSpan=\"2\">"), 1) << Html;  // NOM alone spans both header rows
  // Record 4's CODE cell in the event's colour, no other cell.
  EXPECT_EQ(Count("BGCOLOR=#FFFF00"), 1) << Html;
  EXPECT_NE(Html.find("BGCOLOR=#FFFF00 WIDTH=\""), String::npos) << Html;
  // Every cell of the link column is a link: record 3's to its address, the others (no "#") to
  // their text.
  EXPECT_EQ(Count("<A href="), 12) << Html;
  EXPECT_NE(Html.find("<A href=\"http://z.fr/a&amp;b\">Lac</A>"), String::npos) << Html;
  EXPECT_NE(Html.find("<A href=\"Nom 4\">Nom 4</A>"), String::npos) << Html;
  // Without the options: none of it but the group.
  Export->Options.Exclude(esoDynamicColors);
  Export->Options.Exclude(esoEmbedURL);
  Export->Save();
  Html = Read();
  EXPECT_EQ(Count("BGCOLOR=#FFFF00"), 0) << Html;
  EXPECT_EQ(Count("#00FFFF"), 0) << Html;
  EXPECT_EQ(Count("<A href="), 0) << Html;
  EXPECT_EQ(Count("ALIGN=CENTER ColSpan=\"2\">"), 1) << Html;
}

// A combo box with stored values over CODE: the cells show the text of their value, SYLK writes
// that text with esoAddControls and the stored number without, HTML lists the choices.
TEST_F(DBGridExport, ComboColumnsShowAndExportTheirChoices) {
  auto* Combo = new TqvDBComboBox(Form.get());
  Combo->SetName("Milieux");
  Combo->SetParent(Form.get());
  Combo->SetBounds(8, 330, 120, 22);
  Combo->SetMapList(true);
  Combo->Items()->Add("Prairie\t2");
  Combo->Items()->Add("Lande\t7");
  Data->ControlType()->Add("CODE;CustomEdit;Milieux");
  Reload(12);
  ShowGrid();
  const int Code = ColOfField("CODE") - DB->IndicatorOffset();
  ASSERT_TRUE(Data->Locate("CODE", 7, {}));
  EXPECT_EQ(DB->GetFieldDisplayText(Code), "Lande");
  ASSERT_TRUE(Data->Locate("CODE", 3, {}));
  EXPECT_EQ(DB->GetFieldDisplayText(Code), "3");  // no choice stores 3
  TqvExportOptions* Export = DB->ExportOptions();
  Export->SetFileName(Path);
  Export->ExportType = qvgetSYLK;
  auto Code7 = [&](const String& Sylk) {
    // The CODE cell of record 7 (row 8 under the title row, column 2).
    std::size_t At = Sylk.find(";Y8;X2\r\n");
    return At == String::npos ? String("<none>") : Sylk.substr(At + 8, Sylk.find("\r\n", At + 8) - At - 8);
  };
  Export->Save();
  EXPECT_EQ(Code7(Read()), "C;K7");
  Export->Options.Include(esoAddControls);
  Export->Save();
  String Sylk = Read();
  EXPECT_EQ(Code7(Sylk), "C;K\"Lande\"") << Sylk;
  EXPECT_NE(Sylk.find(";Y3;X2\r\nC;K\"Prairie\"\r\n"), String::npos) << Sylk;
  Export->ExportType = qvgetHTML;
  Export->Save();
  String Html = Read();
  EXPECT_NE(Html.find("<Select Name=\"qvCombo7\">\r\n<Option Value=\"2\">Prairie\r\n<Option Value=\"7\" selected>Lande\r\n"),
            String::npos)
      << Html;
}

}  // namespace
