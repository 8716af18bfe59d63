// Tests of the grid export's writers: delimited text (also read back by a
// strict reader of comma-separated files), fixed-width text, HTML, SYLK, and
// the replacing of the target file.
#include "qvexport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>

#include "OsPort.h"
#include "qvReadDelimited.h"

namespace {

// Three columns: a code, a two-line label, a right-aligned area; values with
// the delimiter, quotes, a line break, accented letters and an empty value.
TqvExportTable Fixture() {
  TqvExportTable Table;
  Table.Columns = {{"Code", 4, taLeftJustify, true},
                   {"Libellé~court"_a, 10, taLeftJustify, true},
                   {"Surface", 6, taRightJustify, true}};
  Table.Rows = {{"A1", "Prairie; humide", "12"}, {"B\"2", "Lande\r\nsèche"_a, ""}};
  return Table;
}

TEST(QvExportText, DelimitedGolden) {
  struct TCase {
    const char* Name;
    TqvExportSaveOptions Options;
    bool LastExported;
    String Expected;
  };
  const TCase Cases[] = {
      {"dictionary settings", qvDefaultExportSaveOptions, true,
       String("\"Code\";\"Libellé court\";\"Surface\"\r\n"_a) + "\"A1\";\"Prairie; humide\";\"12\"\r\n" +
           "\"B\"\"2\";\"Lande\r\nsèche\";\r\n"_a},
      {"without quoting", TqvExportSaveOptions{esoShowHeader}, true,
       String("Code;Libellé court;Surface\r\n"_a) + "A1;\"Prairie; humide\";12\r\n" +
           "\"B\"\"2\";\"Lande\r\nsèche\";\r\n"_a},
      {"record numbers", qvDefaultExportSaveOptions << esoShowRecordNo, true,
       String("\"#\";\"Code\";\"Libellé court\";\"Surface\"\r\n"_a) + "\"1\";\"A1\";\"Prairie; humide\";\"12\"\r\n" +
           "\"2\";\"B\"\"2\";\"Lande\r\nsèche\";\r\n"_a},
      // The last column left out: the lines end with the last exported value,
      // so that a reader finds no empty column after it.
      {"last column left out", qvDefaultExportSaveOptions, false,
       String("\"Code\";\"Libellé court\"\r\n"_a) + "\"A1\";\"Prairie; humide\"\r\n" +
           "\"B\"\"2\";\"Lande\r\nsèche\"\r\n"_a},
      {"no header", TqvExportSaveOptions{esoDblQuoteFields}, true,
       String("\"A1\";\"Prairie; humide\";\"12\"\r\n") + "\"B\"\"2\";\"Lande\r\nsèche\";\r\n"_a},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TqvExportTable Table = Fixture();
    Table.Columns[2].Exported = Case.LastExported;
    EXPECT_EQ(qvExportText(Table, ";", Case.Options), Case.Expected);
  }
}

TEST(QvExportText, DelimitedReadsBackUnchanged) {
  for (TqvExportSaveOptions Options : {qvDefaultExportSaveOptions, TqvExportSaveOptions{esoShowHeader}}) {
    for (const char* Delimiter : {";", ","}) {
      SCOPED_TRACE(Delimiter);
      TqvExportTable Table = Fixture();
      Table.Rows.push_back({"\"", ";,", "\"\"x\"\""});
      Table.Rows.push_back({"", "\n", "\r"});
      std::optional<TRecords> Read = ReadDelimited(qvExportText(Table, Delimiter, Options), Delimiter[0]);
      ASSERT_TRUE(Read.has_value());
      TRecords Expected = {{"Code", "Libellé court"_a, "Surface"}};
      Expected.insert(Expected.end(), Table.Rows.begin(), Table.Rows.end());
      EXPECT_EQ(*Read, Expected);
    }
  }
}

TEST(QvExportText, FixedWidthGolden) {
  TqvExportTable Table = Fixture();
  // Without quoting: the label's title is longer than its width, so its record
  // cells are widened to the title while the title line is not padded; longer
  // values are not cut.
  EXPECT_EQ(qvExportText(Table, "", TqvExportSaveOptions{esoShowHeader}), String("Code Libellé court Surface\r\n"_a) +
                                                                              "A1   Prairie; humide      12\r\n" +
                                                                              "B\"2  Lande\r\nsèche         \r\n"_a);
  // Quoting widens every column by the two quotes and writes an empty value as
  // "".
  EXPECT_EQ(qvExportText(Table, "", qvDefaultExportSaveOptions),
            String("\"Code\" \"Libellé court\" \"Surface\"\r\n"_a) + "\"A1\"   \"Prairie; humide\"      \"12\"\r\n" +
                "\"B\"\"2\" \"Lande\r\nsèche\"         \"\"\r\n"_a);
  EXPECT_EQ(qvExportTextRecord(Table, 7, Table.Rows[0], "", TqvExportSaveOptions{esoShowRecordNo}),
            "       7 A1   Prairie; humide      12\r\n");
}

TEST(QvExportHtml, EscapesMarkupCharacters) {
  struct TCase {
    String Text, Expected;
  };
  for (const TCase& Case : {TCase{"a & b", "a &amp; b"}, TCase{"<B>x</B>", "&lt;B&gt;x&lt;/B&gt;"},
                            TCase{"\"l'eau\"", "&quot;l&#39;eau&quot;"}, TCase{"é"_a, "é"_a}, TCase{"", ""}}) {
    EXPECT_EQ(qvHtmlEscape(Case.Text), Case.Expected);
  }
  EXPECT_NE(qvHtmlCharsetMeta().find("charset=windows-1252"), String::npos);
}

class QvExportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    Path = OsPort::TempFolder() + "velbor-export-" + std::to_string(std::random_device()()) + ".csv";
  }
  void TearDown() override {
    OsPort::DeleteFile(Path);
    OsPort::RemoveDirectory(Path + ".~tmp");
  }
  String Read() {
    OsPort::FileHandle File = OsPort::OpenFile(Path, OsPort::fmOpenRead);
    if (File == OsPort::InvalidHandle) return "<missing>";
    String Text(4096, '\0');
    std::int64_t Count = OsPort::ReadFile(File, Text.data(), std::int64_t(Text.size()));
    OsPort::CloseFile(File);
    Text.resize(std::size_t(std::max<std::int64_t>(Count, 0)));
    return Text;
  }
  String Path;
};

TEST_F(QvExportFile, ReplacesTheTargetWhole) {
  String Error;
  ASSERT_TRUE(qvWriteFileReplacing(Path, "a long first content\r\n", Error)) << Error;
  ASSERT_TRUE(qvWriteFileReplacing(Path, "short\r\n", Error)) << Error;
  EXPECT_EQ(Read(), "short\r\n");
  EXPECT_FALSE(OsPort::FileExists(Path + ".~tmp"));
}

TEST_F(QvExportFile, FailureLeavesTheTargetAsItWas) {
  String Error;
  ASSERT_TRUE(qvWriteFileReplacing(Path, "kept\r\n", Error)) << Error;
  // The temporary file cannot be made where a folder of its name stands.
  ASSERT_TRUE(OsPort::CreateDirectory(Path + ".~tmp"));
  EXPECT_FALSE(qvWriteFileReplacing(Path, "lost", Error));
  EXPECT_FALSE(Error.empty());
  EXPECT_EQ(Read(), "kept\r\n");
  // A target in a folder that does not exist fails too, and makes nothing.
  String Missing = OsPort::TempFolder() + "velbor-no-such-folder-" + std::to_string(std::random_device()()) + "\\x.csv";
  EXPECT_FALSE(qvWriteFileReplacing(Missing, "x", Error));
  EXPECT_FALSE(OsPort::FileExists(Missing));
}

TEST_F(QvExportFile, SavesEachFormatAndRefusesXmlWithoutTouchingTheFile) {
  TqvExportTable Table = Fixture();
  TqvExportFormat Format;
  Format.Delimiter = ";";
  String Error;
  ASSERT_TRUE(qvSaveExportTable(Path, qvgetTxt, Table, Format, qvDefaultExportSaveOptions, Error)) << Error;
  EXPECT_EQ(Read(), qvExportText(Table, ";", qvDefaultExportSaveOptions));
  ASSERT_TRUE(qvSaveExportTable(Path, qvgetSYLK, Table, Format, qvDefaultExportSaveOptions, Error)) << Error;
  String Sylk = Read();
  EXPECT_EQ(Sylk.rfind("ID;PHBRK 3000;N;E\r\n", 0), 0u) << Sylk;
  ASSERT_TRUE(qvSaveExportTable(Path, qvgetHTML, Table, Format, qvDefaultExportSaveOptions, Error)) << Error;
  String Html = Read();
  EXPECT_EQ(Html.rfind("<HTML>", 0), 0u) << Html;
  EXPECT_FALSE(qvSaveExportTable(Path, qvgetXML, Table, Format, qvDefaultExportSaveOptions, Error));
  EXPECT_NE(Error.find("XML"), String::npos) << Error;
  EXPECT_EQ(Read(), Html);
}

}  // namespace

namespace {

TqvExportFont Arial8() { return TqvExportFont{"Arial", 8}; }

TEST(QvExportSylk, TwoLineTitlesGolden) {
  TqvExportTable Table;
  Table.Columns = {{"Nom~court", 8, taLeftJustify, true, TqvExportFieldKind::Text},
                   {"Surface", 6, taRightJustify, true, TqvExportFieldKind::Float},
                   {"Vu le", 10, taLeftJustify, true, TqvExportFieldKind::Date}};
  Table.Rows = {{"Mare; A", "1,5", "15/03/2024"}, {"Lande\r\nsèche"_a, "", ""}};
  Table.Values = {{{}, {false, 1.5}, {false, 45366.25}}, {{}, {true, 0}, {true, 0}}};
  TqvSylkLayout Layout{Arial8(), Arial8(), taLeftJustify, 2};
  // Both title rows come before the records, and the row bound counts them
  // both.
  EXPECT_EQ(qvExportSylk(Table, Layout, qvDefaultExportSaveOptions), String("ID;PHBRK 3000;N;E\r\n"
                                                                            "P;PGeneral\r\n"
                                                                            "P;Pm/d/yyyy\r\n"
                                                                            "P;FArial;M160\r\n"
                                                                            "B;Y4;X3\r\n"
                                                                            "F;G;M255\r\n"
                                                                            "F;W1 1 8\r\n"
                                                                            "F;W2 2 6\r\n"
                                                                            "F;W3 3 10\r\n"
                                                                            "F;SLRTM0;FG0L;Y1;X1\r\n"
                                                                            "C;K\"Nom\"\r\n"
                                                                            "F;SLRTM0;FG0L;Y1;X2\r\n"
                                                                            "C;K\"Surface\"\r\n"
                                                                            "F;SLRTM0;FG0L;Y1;X3\r\n"
                                                                            "C;K\"Vu le\"\r\n"
                                                                            "F;SLRBM0;FG0L;Y2;X1\r\n"
                                                                            "C;K\"court\"\r\n"
                                                                            "F;SLRBM0;FG0L;Y2;X2\r\n"
                                                                            "F;SLRBM0;FG0L;Y2;X3\r\n"
                                                                            "\r\n"
                                                                            "F;SLTRBM0;FG0L;Y3;X1\r\n"
                                                                            "C;K\"Mare;; A\"\r\n"
                                                                            "F;P0;SLTRBM0;FG0R;Y3;X2\r\n"
                                                                            "C;K1.5\r\n"
                                                                            "F;P1;SLTRBM0;FG0L;Y3;X3\r\n"
                                                                            "C;K45366\r\n"
                                                                            "F;SLTRBM0;FG0L;Y4;X1\r\n") +
                                                                         "C;K\"Lande sèche\"\r\n"_a +
                                                                         "F;P0;SLTRBM0;FG0R;Y4;X2\r\n"
                                                                         "C;K\"\"\r\n"
                                                                         "F;P1;SLTRBM0;FG0L;Y4;X3\r\n"
                                                                         "C;K\"\"\r\n"
                                                                         "E");
}

// A group of three columns, the middle one left out, between two columns outside groups.
TqvExportTable GroupedFixture(const String& GroupName) {
  TqvExportTable Table;
  Table.Columns = {{"Code", 4, taLeftJustify, true},  {"Entrée"_a, 6, taLeftJustify, true},
                   {"Sortie", 6, taLeftJustify, false}, {"Débit~m3/s"_a, 5, taRightJustify, true},
                   {"Statut", 6, taLeftJustify, true}};
  for (int C : {1, 2, 3}) Table.Columns[std::size_t(C)].GroupName = GroupName;
  Table.Rows = {{"A1", "2", "3", "0,5", ""}};
  return Table;
}

// Two title lines: the group's name on the first over its exported columns (one cell with the
// name, an empty one beside it), their titles on the second; the columns outside the group keep
// their title lines.
TEST(QvExportSylk, GroupHeadersGolden) {
  TqvExportTable Table = GroupedFixture("Hydrologie;eau");
  TqvSylkLayout Layout{Arial8(), Arial8(), taLeftJustify, 2};
  EXPECT_EQ(qvExportSylk(Table, Layout, qvDefaultExportSaveOptions << esoShowRecordNo),
            String("ID;PHBRK 3000;N;E\r\n"
                   "P;PGeneral\r\n"
                   "P;FArial;M160\r\n"
                   "B;Y3;X6\r\n"
                   "F;G;M255\r\n"
                   "F;W1 1 10\r\n"
                   "F;W2 2 4\r\n"
                   "F;W3 3 6\r\n"
                   "F;W4 4 5\r\n"
                   "F;W5 5 6\r\n"
                   "F;SLRTM0;FG0C;Y1;X1\r\n"
                   "C;K\"#\"\r\n"
                   "F;SLRTM0;FG0L;Y1;X2\r\n"
                   "C;K\"Code\"\r\n"
                   "F;SLTM0;FG0C;Y1;X3\r\n"
                   "C;K\"Hydrologie;;eau\"\r\n"
                   "F;STM0;FG0C;X4\r\n"
                   "C;K\"\"\r\n"
                   "F;SLRTM0;FG0L;Y1;X5\r\n"
                   "C;K\"Statut\"\r\n"
                   "F;SLRBM0;FG0C;Y2;X1\r\n"
                   "F;SLRBM0;FG0L;Y2;X2\r\n"
                   "F;SLRTBM0;FG0L;Y2;X3\r\n") +
                "C;K\"Entrée\"\r\n"_a +
                "F;SLRTBM0;FG0L;Y2;X4\r\n"
                "C;K\"Débit\"\r\n"_a +
                "F;SLRBM0;FG0L;Y2;X5\r\n"
                "\r\n"
                "F;SLRTBM0;FG0L;Y3;X1\r\n"
                "C;K1\r\n"
                "F;SLTRBM0;FG0L;Y3;X2\r\n"
                "C;K\"A1\"\r\n"
                "F;SLTRBM0;FG0L;Y3;X3\r\n"
                "C;K\"2\"\r\n"
                "F;SLTRBM0;FG0R;Y3;X4\r\n"
                "C;K\"0,5\"\r\n"
                "F;SLTRBM0;FG0L;Y3;X5\r\n"
                "C;K\"\"\r\n"
                "E");
}

// With four title lines the group takes the upper two (a "~" part of its name on each) and the
// titles the lower two; with a single line the titles stay and no group cell is written.
TEST(QvExportSylk, GroupHeadersOverMoreOrFewerTitleLines) {
  TqvExportTable Table = GroupedFixture("Hydrologie~eau");
  String Four = qvExportSylk(Table, TqvSylkLayout{Arial8(), Arial8(), taLeftJustify, 4}, qvDefaultExportSaveOptions);
  for (const String& Cell : {String("F;SLTM0;FG0C;Y1;X2\r\nC;K\"Hydrologie\"\r\nF;STM0;FG0C;X3\r\nC;K\"\"\r\n"),
                             String("F;SLBM0;FG0C;Y2;X2\r\nC;K\"eau\"\r\nF;SBM0;FG0C;X3\r\nC;K\"\"\r\n"),
                             String("F;SLRTM0;FG0L;Y3;X2\r\nC;K\"Entrée\"\r\nF;SLRTM0;FG0L;Y3;X3\r\nC;K\"Débit\"\r\n"_a),
                             String("F;SLRBM0;FG0L;Y4;X2\r\nF;SLRBM0;FG0L;Y4;X3\r\nC;K\"m3/s\"\r\n"),
                             // Outside the group: its title from the first line, bordered above and below.
                             String("F;SLRM0;FG0L;Y3;X1\r\n"), String("F;SLRBM0;FG0L;Y4;X1\r\n"), String("B;Y5;X5\r\n"),
                             String("F;SLTRBM0;FG0L;Y5;X1\r\nC;K\"A1\"\r\n")})
    EXPECT_NE(Four.find(Cell), String::npos) << Cell << "\n" << Four;
  String One = qvExportSylk(Table, TqvSylkLayout{Arial8(), Arial8(), taLeftJustify, 1}, qvDefaultExportSaveOptions);
  EXPECT_EQ(One.find("Hydrologie"), String::npos) << One;
  EXPECT_NE(One.find("F;SLRTBM0;FG0L;Y1;X2\r\nC;K\"Entrée\"\r\nF;SLRTBM0;FG0L;Y1;X3\r\nC;K\"Débit\"\r\n"_a), String::npos)
      << One;
}

TEST(QvExportSylk, FontsFormatsAndTypedValues) {
  TqvExportTable Table;
  Table.Columns = {{"Prix", 8, taRightJustify, true, TqvExportFieldKind::Currency},
                   {"Prix TTC", 8, taRightJustify, true, TqvExportFieldKind::Currency},
                   {"Heure", 5, taLeftJustify, true, TqvExportFieldKind::Time},
                   {"Le", 16, taLeftJustify, true, TqvExportFieldKind::DateTime, 20},
                   {"Note", 30, taLeftJustify, true, TqvExportFieldKind::Text},
                   {"Vu", 3, taCenter, true, TqvExportFieldKind::Boolean}};
  String Long = String(200, 'a') + "\r\n" + String(100, 'b');
  Table.Rows = {{"2,50", "3,00", "12:00", "", Long, "Oui"}};
  Table.Values = {{{false, 2.5}, {false, 3}, {false, 45366.5}, {false, 45366.75}, {}, {false, 1}}};
  TqvExportFont Bold = Arial8();
  Bold.Bold = true;
  TqvSylkLayout Layout{Bold, Arial8(), taCenter, 1};
  String Sylk = qvExportSylk(Table, Layout, qvDefaultExportSaveOptions << esoShowRecordNo << esoBestColFit);

  // The bold title font is font 0, the data font 1; the record number and every
  // data cell use 1.
  EXPECT_NE(Sylk.find("P;FArial;M160;SB\r\nP;FArial;M160\r\nB;Y2;X7\r\n"), String::npos) << Sylk;
  EXPECT_NE(Sylk.find("F;SLRTBM1;FG0L;Y2;X1\r\nC;K1\r\n"), String::npos) << Sylk;
  // Both currency columns share the second format; time and date-and-time get
  // theirs after it.
  EXPECT_NE(Sylk.find("P;PGeneral\r\nP;P\"$\"#,##0.00_);;[Red]\\(\"$\"#,##0."
                      "00\\)\r\nP;Ph:mm\\ AM/PM\r\n"
                      "P;Pm/d/yyyy\\ h:mm\\ AM/PM\r\nP;F"),
            String::npos)
      << Sylk;
  EXPECT_NE(Sylk.find("F;P1;SLTRBM1;FG0R;Y2;X2\r\nC;K2.5\r\nF;P1;SLTRBM1;FG0R;"
                      "Y2;X3\r\nC;K3\r\n"
                      "F;P2;SLTRBM1;FG0L;Y2;X4\r\nC;K0.5\r\nF;P3;SLTRBM1;FG0L;"
                      "Y2;X5\r\nC;K45366.75\r\n"),
            String::npos)
      << Sylk;
  // Best fit takes the field's own width where it has one.
  EXPECT_NE(Sylk.find("F;W1 1 10\r\nF;W2 2 0\r\nF;W3 3 0\r\nF;W4 4 0\r\nF;W5 5 20\r\n"), String::npos) << Sylk;
  // A long text loses its line break and is cut to 255 characters; a Boolean is
  // a quoted word.
  String Cut = String(200, 'a') + " " + String(54, 'b');
  EXPECT_NE(Sylk.find("F;SLTRBM1;FG0L;Y2;X6\r\nC;K\"" + Cut + "\"\r\nF;SLTRBM1;FG0C;Y2;X7\r\nC;K\"TRUE\"\r\nE"),
            String::npos)
      << Sylk;
  // The title row is centred in the title font.
  EXPECT_NE(Sylk.find("F;SLRTBM0;FG0C;Y1;X2\r\nC;K\"Prix\"\r\n"), String::npos) << Sylk;
}

}  // namespace

namespace {

TqvExportTable HtmlFixture() {
  TqvExportTable Table;
  Table.Columns = {{"Code", 4, taLeftJustify, true, TqvExportFieldKind::Text, 0, 40},
                   {"Nom~court", 8, taRightJustify, true, TqvExportFieldKind::Text, 0, 60}};
  Table.Rows = {{"A&B", "<x>"}, {"", "l\"eau\r\nvive  "}};
  return Table;
}

TqvHtmlLayout HtmlLayout() {
  TqvHtmlLayout Layout;
  Layout.TitleFont = Arial8();
  Layout.TitleFont.Bold = true;
  Layout.Font = Arial8();
  Layout.Font.Color = 0x0000FF;
  Layout.AlternatingRowColor = 0xE0FFFF;
  Layout.FileName = "dico.htm";
  Layout.TitleName = "Milieux & habitats";
  return Layout;
}

TEST(QvExportHtml, DocumentGolden) {
  const String Title = "STYLE=\"font-family: Arial;font-size: 8 pt;color:#000000;\"";
  const String Data = "STYLE=\"font-family: Arial;font-size: 8 pt;color:#FF0000;\"";
  // Escaped values, the code page declared, the second record in the
  // alternating colour, the two-line title joined by a line-break tag, trailing
  // blanks dropped.
  EXPECT_EQ(qvExportHtml(HtmlFixture(), HtmlLayout(), qvDefaultExportSaveOptions),
            "<HTML>\r\n<HEAD>\r\n<META HTTP-EQUIV=\"Content-Type\" "
            "CONTENT=\"text/html; charset=windows-1252\">\r\n"
            "<TITLE>dico.htm</TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
            "<TABLE ALIGN=Center BORDER=\"1\" CELLPADDING=\"1\" CELLSPACING=\"0\" "
            "dir=\"LTR\" BGCOLOR=#FFFFFF>\r\n"
            "<THEAD>\r\n"
            "<TR " +
                Title +
                " BGCOLOR=#C0C0C0>\r\n"
                "<TH colspan=\"2\" scope=\"colgroup\">Milieux &amp; "
                "habitats</TH>\r\n</TR>\r\n"
                "<TR " +
                Title +
                " ALIGN=left>\r\n"
                "<TD ALIGN=\"left\" SCOPE=\"col\" bgcolor=#C0C0C0 "
                "RowSpan=\"2\"><B>Code</B></TD>\r\n"
                "<TD ALIGN=\"left\" SCOPE=\"col\" bgcolor=#C0C0C0 "
                "RowSpan=\"2\"><B>Nom<BR>court</B></TD>\r\n"
                "</TR>\r\n<TR></TR>\r\n</THEAD>\r\n<TBODY>\r\n"
                "<TR VALIGN=\"TOP\" " +
                Data +
                ">\r\n"
                "<TD NOWRAP ALIGN=\"left\" WIDTH=\"40\" "
                "SCOPE=\"row\">A&amp;B</TD>\r\n"
                "<TD NOWRAP ALIGN=\"right\" WIDTH=\"60\" "
                "SCOPE=\"row\">&lt;x&gt;</TD>\r\n"
                "</TR>\r\n"
                "<TR VALIGN=\"TOP\" " +
                Data +
                ">\r\n"
                "<TD NOWRAP ALIGN=\"left\" BGCOLOR=#FFFFE0 WIDTH=\"40\" "
                "SCOPE=\"row\">&nbsp;</TD>\r\n"
                "<TD NOWRAP ALIGN=\"right\" BGCOLOR=#FFFFE0 WIDTH=\"60\" "
                "SCOPE=\"row\">l&quot;eau<BR>vive</TD>\r\n"
                "</TR>\r\n"
                "</TBODY>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
}

TEST(QvExportHtml, TransparentRightToLeftTableWithRecordNumbers) {
  TqvHtmlLayout Layout = HtmlLayout();
  Layout.RightToLeft = true;
  String Html = qvExportHtml(HtmlFixture(), Layout,
                             TqvExportSaveOptions{esoShowHeader, esoTransparentGrid, esoShowRecordNo, esoBestColFit});
  EXPECT_NE(Html.find("CELLSPACING=\"0\" dir=\"RTL\">\r\n<THEAD>"), String::npos) << Html;
  EXPECT_EQ(Html.find("colgroup"), String::npos) << Html;  // no title row without esoShowTitle
  EXPECT_NE(Html.find("RowSpan=\"2\"><B>#</B></TD>"), String::npos) << Html;
  EXPECT_NE(Html.find("scope=\"row\" STYLE=\"font-family: Arial;font-size: 8 "
                      "pt;color:#000000;\" BGCOLOR=#C0C0C0>2</TD>"),
            String::npos)
      << Html;
  // Without alternating colours no cell names a colour; best fit leaves widths
  // to the browser.
  EXPECT_EQ(Html.find("BGCOLOR=#FFFFE0"), String::npos) << Html;
  EXPECT_NE(Html.find("<TD NOWRAP ALIGN=\"right\" WIDTH=\"0*\" "
                      "SCOPE=\"row\">&lt;x&gt;</TD>"),
            String::npos)
      << Html;
}

// The grid's footer under the titles, check-box columns as check boxes, and a
// selection that holds no record.
TEST(QvExportHtml, FooterCheckBoxesAndAnEmptySelection) {
  TqvExportTable Table = HtmlFixture();
  Table.Columns[0].FooterValue = "2 < 3";
  Table.Columns[1].CheckBox = true;
  Table.Columns[1].CheckedValue = "VRAI";
  Table.Rows = {{"A", "Vrai"}, {"B", "FAUX"}};
  TqvHtmlLayout Layout = HtmlLayout();
  Layout.ShowFooter = true;
  Layout.FooterColor = 0x00FF00;
  Layout.FooterCellColor = 0x0000FF;
  TqvExportSaveOptions Options{esoShowHeader, esoShowFooter, esoAddControls, esoBestColFit};
  String Html = qvExportHtml(Table, Layout, Options);
  const String Data = "STYLE=\"font-family: Arial;font-size: 8 pt;color:#FF0000;\"";
  std::size_t Foot = Html.find("</THEAD>\r\n<TFOOT ");
  ASSERT_NE(Foot, String::npos) << Html;
  EXPECT_NE(Html.find("BGCOLOR=#00FF00>\r\n<TR>\r\n<TD ALIGN=left " + Data + " BGCOLOR=#FF0000>2 &lt; 3</TD>\r\n"
                      "<TD>&nbsp;</TD>\r\n</TR>\r\n</TFOOT>\r\n<TBODY>",
                      Foot),
            String::npos)
      << Html;
  EXPECT_NE(Html.find("SCOPE=\"row\"><input align=\"middle\" type=\"checkbox\" checked ></TD>"), String::npos) << Html;
  EXPECT_NE(Html.find("SCOPE=\"row\"><INPUT ALIGN=\"middle\" TYPE=\"checkbox\" ></TD>"), String::npos) << Html;
  // Without the options: no footer, the values as text.
  Html = qvExportHtml(Table, Layout, TqvExportSaveOptions{esoShowHeader});
  EXPECT_EQ(Html.find("TFOOT"), String::npos) << Html;
  EXPECT_EQ(Html.find("checkbox"), String::npos) << Html;
  // Selected records only, none selected.
  Table.Rows.clear();
  Layout.NoneSelected = true;
  Html = qvExportHtml(Table, Layout, TqvExportSaveOptions{esoShowHeader, esoShowRecordNo});
  EXPECT_NE(Html.find("<TBODY>\r\n<TR BGCOLOR=#C0C0C0><TH colspan=3 scope=colgroup>No Records Selected</TH></TR>\r\n"
                      "</TBODY>"),
            String::npos)
      << Html;
}

// A page width in twips scales the columns: 40 and 60 pixels, each counted 5
// wider, measure 110 pixels, 1650 twips at 96 pixels per inch; 3300 twips
// doubles them.
TEST(QvExportHtml, ColumnsScaledToAPageWidth) {
  TqvHtmlLayout Layout = HtmlLayout();
  Layout.OutputWidthinTwips = 3300;
  String Html = qvExportHtml(HtmlFixture(), Layout, TqvExportSaveOptions{});
  EXPECT_NE(Html.find("WIDTH=\"80\" SCOPE=\"row\">A&amp;B</TD>"), String::npos) << Html;
  EXPECT_NE(Html.find("WIDTH=\"120\" SCOPE=\"row\">&lt;x&gt;</TD>"), String::npos) << Html;
  Layout.OutputWidthinTwips = 0;
  Html = qvExportHtml(HtmlFixture(), Layout, TqvExportSaveOptions{});
  EXPECT_NE(Html.find("WIDTH=\"40\" SCOPE=\"row\">A&amp;B</TD>"), String::npos) << Html;
}

}  // namespace

namespace {

// Code, then Surface and Profondeur under "Mesures", then Nom; the grid's title style.
TqvExportTable GroupedFixture() {
  TqvExportTable Table;
  Table.Columns = {{"Code", 4, taLeftJustify, true},
                   {"Surface", 6, taRightJustify, true},
                   {"Profondeur", 6, taRightJustify, true},
                   {"Nom", 10, taLeftJustify, true}};
  Table.Columns[1].GroupName = Table.Columns[2].GroupName = "Mesures";
  Table.Rows = {{"A", "1", "2", "Lac"}};
  return Table;
}

// The header rows of an HTML export.
String HeaderRows(const String& Html) {
  std::size_t From = Html.find("<TR STYLE=\"font-family: Arial;font-size: 8 pt;color:#000000;\" ALIGN=");
  std::size_t To = Html.find("</THEAD>");
  return From == String::npos || To == String::npos ? String("<no header>") : Html.substr(From, To - From);
}

// A group's name spans its exported columns on the first header row; their titles follow on the
// second; the other titles span both rows.
TEST(QvExportHtml, GroupHeadersSpanTheirExportedColumns) {
  const String Row = "<TR STYLE=\"font-family: Arial;font-size: 8 pt;color:#000000;\" ALIGN=left>\r\n";
  TqvExportSaveOptions Options = qvDefaultExportSaveOptions;
  Options.Exclude(esoShowTitle);
  EXPECT_EQ(HeaderRows(qvExportHtml(GroupedFixture(), HtmlLayout(), Options)),
            Row +
                "<TD ALIGN=\"left\" SCOPE=\"col\" bgcolor=#C0C0C0 RowSpan=\"2\"><B>Code</B></TD>\r\n"
                "<TD SCOPE=\"col\" bgcolor=#C0C0C0 ALIGN=CENTER ColSpan=\"2\"><B>Mesures</B></TD>\r\n"
                "<TD ALIGN=\"left\" SCOPE=\"col\" bgcolor=#C0C0C0 RowSpan=\"2\"><B>Nom</B></TD>\r\n"
                "</TR>\r\n" +
                Row +
                "<TD ALIGN=\"left\" SCOPE=\"col\" bgcolor=#C0C0C0 ><B>Surface</B></TD>\r\n"
                "<TD ALIGN=\"left\" SCOPE=\"col\" bgcolor=#C0C0C0 ><B>Profondeur</B></TD>\r\n"
                "</TR>\r\n");
  // A grouped column left out narrows the group; a group left out whole writes no second row.
  TqvExportTable Table = GroupedFixture();
  Table.Columns[1].Exported = false;
  String Header = HeaderRows(qvExportHtml(Table, HtmlLayout(), Options));
  EXPECT_NE(Header.find("ColSpan=\"1\"><B>Mesures</B>"), String::npos) << Header;
  EXPECT_EQ(Header.find("Surface"), String::npos) << Header;
  Table.Columns[2].Exported = false;
  Header = HeaderRows(qvExportHtml(Table, HtmlLayout(), Options));
  EXPECT_EQ(Header.find("Mesures"), String::npos) << Header;
  EXPECT_NE(Header.find("</TR>\r\n<TR></TR>\r\n"), String::npos) << Header;
}

TEST(QvExportHtml, LinkAddresses) {
  struct TCase {
    const char* Display;
    const char* Address;
    const char* Expected;
  };
  const TCase Cases[] = {
      {"Site", "http://zones.fr/a?b=1", "http://zones.fr/a?b=1"},
      {"Site", "HTTPS://zones.fr", "HTTPS://zones.fr"},
      {"marie@zones.fr", "marie@zones.fr", "MailTo:marie@zones.fr"},
      // A point before the "@" is still a mail address.
      {"jean.dupont@zones.fr", "jean.dupont@zones.fr", "MailTo:jean.dupont@zones.fr"},
      {"Écrire"_a, "mailto:marie@zones.fr", "mailto:marie@zones.fr"},
      // Not a mail address: no domain, "@" first, or a text that is not the address.
      {"marie@local", "marie@local", "marie@local"},
      {"@zones.fr", "@zones.fr", "@zones.fr"},
      {"Marie", "marie@zones.fr", "marie@zones.fr"},
      {"Plan", "plans/site.html", "plans/site.html"},
      // Other schemes are no links.
      {"Clic", "javascript:alert(1)", ""},
      {"Fichier", "file:///c:/velbor/velbor.ini", ""},
      {"Disque", "C:\\velbor\\velbor.ini", ""},
  };
  for (const TCase& Case : Cases) EXPECT_EQ(qvExportLinkAddress(Case.Display, Case.Address), Case.Expected) << Case.Address;
}

TEST(QvExportHtml, LinkCellsBecomeLinksWithEmbedUrl) {
  TqvExportTable Table;
  Table.Columns = {{"Site", 10, taLeftJustify, true}};
  Table.Columns[0].Link = true;
  Table.Rows = {{"Carte"}, {"marie@zones.fr"}, {"Clic"}};
  Table.Addresses = {{"http://zones.fr/?a=1&b=\"2\""}, {"marie@zones.fr"}, {"javascript:alert(1)"}};
  TqvExportSaveOptions Options = qvDefaultExportSaveOptions;
  String Plain = qvExportHtml(Table, HtmlLayout(), Options);
  EXPECT_EQ(Plain.find("<A "), String::npos) << Plain;
  Options.Include(esoEmbedURL);
  String Html = qvExportHtml(Table, HtmlLayout(), Options);
  EXPECT_NE(Html.find("SCOPE=\"row\"><A href=\"http://zones.fr/?a=1&amp;b=&quot;2&quot;\">Carte</A></TD>"), String::npos)
      << Html;
  EXPECT_NE(Html.find("SCOPE=\"row\"><A href=\"MailTo:marie@zones.fr\">marie@zones.fr</A></TD>"), String::npos) << Html;
  EXPECT_NE(Html.find("SCOPE=\"row\">Clic</TD>"), String::npos) << Html;
}

// Titles and cells in the styles the grid's colour events give them, only with esoDynamicColors:
// a font that differs from the grid's is written out, a colour that differs from the grid's too.
TEST(QvExportHtml, DynamicColorsStyleTitlesAndCells) {
  TqvExportTable Table = HtmlFixture();
  Table.Columns[0].HasTitleStyle = true;
  Table.Columns[0].TitleStyle = {Arial8(), 0x00FFFF, taCenter};
  Table.Columns[0].TitleStyle.Font.Color = 0xFF0000;
  Table.Columns[1].HasTitleStyle = true;
  Table.Columns[1].TitleStyle = {HtmlLayout().TitleFont, 0xC0C0C0, taLeftJustify};
  TqvExportFont Red = HtmlLayout().Font, Green = HtmlLayout().Font;
  Red.Color = 0x0000FF;  // the grid's own font colour
  Green.Color = 0x008000;
  Green.Bold = true;
  Table.Styles = {{{Red, 0xFFFFFF, taLeftJustify}, {Green, 0xFFFFFF, taRightJustify}},
                  {{Red, 0x00FF00, taLeftJustify}, {Red, 0xE0FFFF, taRightJustify}}};
  const String GreenStyle = "STYLE=\"font-family: Arial;font-size: 8 pt;color:#008000;\"";
  String Plain = qvExportHtml(Table, HtmlLayout(), qvDefaultExportSaveOptions);
  EXPECT_EQ(Plain.find(GreenStyle), String::npos) << Plain;
  EXPECT_EQ(Plain.find("#FFFF00"), String::npos) << Plain;
  TqvExportSaveOptions Options = qvDefaultExportSaveOptions;
  Options.Include(esoDynamicColors);
  String Html = qvExportHtml(Table, HtmlLayout(), Options);
  EXPECT_NE(Html.find("<TD STYLE=\"font-family: Arial;font-size: 8 pt;color:#0000FF;\" ALIGN=\"center\" SCOPE=\"col\" "
                      "bgcolor=#FFFF00 RowSpan=\"2\">Code</TD>"),
            String::npos)
      << Html;
  EXPECT_NE(Html.find("<TD ALIGN=\"left\" SCOPE=\"col\" bgcolor=#C0C0C0 RowSpan=\"2\"><B>Nom<BR>court</B></TD>"),
            String::npos)
      << Html;
  EXPECT_NE(Html.find("<TD NOWRAP ALIGN=\"right\" " + GreenStyle + " WIDTH=\"60\" SCOPE=\"row\"><B>&lt;x&gt;</B></TD>"),
            String::npos)
      << Html;
  EXPECT_NE(Html.find("<TD NOWRAP ALIGN=\"left\" BGCOLOR=#00FF00 WIDTH=\"40\" SCOPE=\"row\">&nbsp;</TD>"), String::npos)
      << Html;
  // The event's colour stands in for the alternating one.
  EXPECT_NE(Html.find("<TD NOWRAP ALIGN=\"right\" BGCOLOR=#FFFFE0 WIDTH=\"60\""), String::npos) << Html;
}

}  // namespace

namespace {

// A column over a combo box with stored values: "Prairie" stored as 2, "Lande" as 7.
TqvExportTable ComboFixture(bool MapList) {
  TqvExportTable Table;
  Table.Columns = {{"Milieu", 8, taLeftJustify, true, TqvExportFieldKind::Integer}};
  Table.Columns[0].Combo = true;
  Table.Columns[0].ComboMapList = MapList;
  Table.Columns[0].ComboChoices = {{"Prairie", "2"}, {"Lande", "7"}};
  Table.Rows = {{MapList ? "Lande" : "7"}, {""}};
  Table.Values = {{{false, 7}}, {{true, 0}}};
  return Table;
}

// SYLK writes a combo's shown text only with MapList and esoAddControls; else the number it
// stores. A null value stays an empty text.
TEST(QvExportSylk, ComboValues) {
  struct TCase {
    bool MapList;
    bool AddControls;
    const char* Cell;
  };
  const TCase Cases[] = {{true, true, "C;K\"Lande\"\r\n"}, {true, false, "C;K7\r\n"}, {false, true, "C;K7\r\n"}};
  for (const TCase& Case : Cases) {
    TqvExportSaveOptions Options = qvDefaultExportSaveOptions;
    if (Case.AddControls) Options.Include(esoAddControls);
    String Sylk = qvExportSylk(ComboFixture(Case.MapList), TqvSylkLayout{Arial8(), Arial8(), taLeftJustify, 1}, Options);
    EXPECT_NE(Sylk.find(String("F;SLTRBM0;FG0L;Y2;X1\r\n") + Case.Cell + "F;SLTRBM0;FG0L;Y3;X1\r\nC;K\"\"\r\nE"),
              String::npos)
        << Case.MapList << Case.AddControls << "\n"
        << Sylk;
  }
}

// HTML lists a combo's choices with esoAddControls, the record's own selected.
TEST(QvExportHtml, ComboChoicesWithAddControls) {
  TqvExportSaveOptions Options = qvDefaultExportSaveOptions;
  EXPECT_EQ(qvExportHtml(ComboFixture(true), HtmlLayout(), Options).find("<Select"), String::npos);
  Options.Include(esoAddControls);
  String Html = qvExportHtml(ComboFixture(true), HtmlLayout(), Options);
  EXPECT_NE(Html.find("SCOPE=\"row\"><Select Name=\"qvCombo1\">\r\n<Option Value=\"2\">Prairie\r\n"
                      "<Option Value=\"7\" selected>Lande\r\n</Select>\r\n</TD>"),
            String::npos)
      << Html;
  EXPECT_NE(Html.find("<Select Name=\"qvCombo2\">\r\n<Option Value=\"2\">Prairie\r\n<Option Value=\"7\">Lande\r\n"),
            String::npos)
      << Html;
}

}  // namespace

namespace {

// With esoDynamicColors, titles and cells take the fonts and title alignment the grid's events
// gave them: fonts new to the sheet are listed after the title and data fonts, in order of use.
TEST(QvExportSylk, DynamicColorsGiveTheEventsFonts) {
  TqvExportTable Table;
  Table.Columns = {{"Code", 4, taLeftJustify, true}, {"Nom", 8, taLeftJustify, true}};
  TqvExportFont Italic = Arial8(), Big = Arial8();
  Italic.Italic = true;
  Big.Size = 12;
  Table.Columns[1].HasTitleStyle = true;
  Table.Columns[1].TitleStyle = {Italic, 0xFFFFFF, taRightJustify};
  Table.Rows = {{"A", "Lac"}, {"B", "Mare"}};
  Table.Styles = {{{Arial8(), 0xFFFFFF, taLeftJustify}, {Big, 0xFFFFFF, taLeftJustify}},
                  {{Italic, 0xFFFFFF, taLeftJustify}, {Arial8(), 0xFFFFFF, taLeftJustify}}};
  TqvSylkLayout Layout{Arial8(), Arial8(), taLeftJustify, 1};
  String Plain = qvExportSylk(Table, Layout, qvDefaultExportSaveOptions);
  EXPECT_EQ(Plain.find("P;FArial;M160;SI"), String::npos) << Plain;
  TqvExportSaveOptions Options = qvDefaultExportSaveOptions;
  Options.Include(esoDynamicColors);
  String Sylk = qvExportSylk(Table, Layout, Options);
  // One record for the title and data font (both Arial 8), then the italic and the large one.
  EXPECT_NE(Sylk.find("P;FArial;M160\r\nP;FArial;M160;SI\r\nP;FArial;M240\r\nB;Y3;X2\r\n"), String::npos) << Sylk;
  EXPECT_NE(Sylk.find("F;SLRTBM0;FG0L;Y1;X1\r\nC;K\"Code\"\r\nF;SLRTBM1;FG0R;Y1;X2\r\nC;K\"Nom\"\r\n"), String::npos)
      << Sylk;
  EXPECT_NE(Sylk.find("F;SLTRBM0;FG0L;Y2;X1\r\nC;K\"A\"\r\nF;SLTRBM2;FG0L;Y2;X2\r\nC;K\"Lac\"\r\n"
                      "F;SLTRBM1;FG0L;Y3;X1\r\nC;K\"B\"\r\nF;SLTRBM0;FG0L;Y3;X2\r\nC;K\"Mare\"\r\nE"),
            String::npos)
      << Sylk;
}

}  // namespace
