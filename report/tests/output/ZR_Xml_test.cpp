// Tests of the conversion to the XML report format: the document an XML parser reads back (texts
// with markup characters, accents and line breaks among them), pages with and without objects,
// dialog pages, the scripts as procedures and the property data of data links and variables.
#include <gtest/gtest.h>

#include <cstdio>

#include "Modules.h"
#include "OsPort.h"
#include "ZR_UtilsXml.h"
#include "ZrReportFixture.h"

namespace {

// What a command of the host prints.
std::string HostOutput(const std::string& Command) {
  std::string text;
  if (FILE* pipe = popen((Command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

class ZrXml : public ZrReportTest {
 protected:
  String Write(TzrReport* R) {
    TMemoryStream stream;
    R->XmlOutput = true;
    R->WriteTemplate(&stream);
    R->XmlOutput = false;
    String xml(static_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
    String file = Folder + "\\etat.xml";
    TFileStream out(file, fmCreate);
    out.WriteBuffer(xml.data(), std::int64_t(xml.size()));
    HostFile = OsPort::HostPath(file);
    return xml;
  }
  // The value of an XPath expression over the file, as the parser reads it (UTF-8), without the line
  // end the tool adds.
  std::string XPath(const std::string& Expression) {
    std::string value = HostOutput("xmllint --xpath '" + Expression + "' '" + HostFile + "'");
    if (!value.empty() && value.back() == '\n') value.pop_back();
    return value;
  }
  std::string HostFile;
};

TEST_F(ZrXml, AReportWithoutPagesIsTheRootAlone) {
  TComponent owner(nullptr);
  TzrReport report(&owner);
  String xml = Write(&report);
  EXPECT_EQ(xml.substr(0, 47), "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n");
  EXPECT_EQ(xml.substr(xml.size() - 17), "\r\n</TzrxReport>\r\n");
  // Without data links or variables: the two empty collections.
  EXPECT_NE(xml.find("Propdata=\"" + HexEncode("\x08" "Datasets\x0e" + String(1, '\0') + "\x09" "Variables\x0e" +
                                               String(1, '\0')) + "\""),
            String::npos)
      << xml;
  EXPECT_EQ(HostOutput("xmllint --noout '" + HostFile + "'"), "");
}

TEST_F(ZrXml, TextsWithMarkupAccentsAndLineBreaksReadBackAsWritten) {
  Report->Info.Comment = "Ligne 1\r\nLigne 2 & <fin> \"é\""_a;
  Report->Info.Author = "Agnès"_a;
  TzrPage* page = AddPage();
  page->Script()->Add("begin");
  page->Script()->Add("end");
  AddBand(page, btReportTitle, 20, 30);
  TzrMemoView* memo = AddMemo(page, "Titre", 40, 20, 300, 20, "Zones & marais <\"Brière\">"_a);
  memo->Script()->Add("begin");
  memo->Script()->Add("  Visible := True");
  memo->Script()->Add("end");
  memo->Memo()->Add(String("contr\x01le"));
  TzrPage* empty = AddPage();
  (void)empty;
  TzrPage* dialog = AddPage();
  dialog->PageType = ptDialog;
  dialog->Caption = "Choix & critères"_a;
  Report->Dictionary()->Variables()->SetByName("Nom", Variant("qZones.\"NOM\""));
  String xml = Write(Report);

  EXPECT_EQ(HostOutput("xmllint --noout '" + HostFile + "'"), "") << xml;
  EXPECT_EQ(XPath("string(/TzrxReport/@ReportOptions.Description.text)"), "Ligne 1\r\nLigne 2 & <fin> \"\xC3\xA9\"");
  EXPECT_EQ(XPath("string(/TzrxReport/@ReportOptions.Author)"), "Agn\xC3\xA8s");
  EXPECT_EQ(XPath("string(/TzrxReport/TzrxReportPage[1]/TzrxMemoView/@Memo.text)"),
            "Zones & marais <\"Bri\xC3\xA8re\">\r\ncontrle");
  EXPECT_EQ(XPath("string(/TzrxReport/TzrxDialogPage/@Caption)"), "Choix & crit\xC3\xA8res");
  EXPECT_EQ(XPath("count(/TzrxReport/*)"), "3");
  // The page without objects closes its own tag.
  EXPECT_NE(xml.find("<TzrxReportPage Name=\"Page2\""), String::npos);
  EXPECT_EQ(XPath("count(/TzrxReport/TzrxReportPage[2]/*)"), "0");
  // The object's left is taken from the page's left margin: 40 - 18 pixels.
  EXPECT_EQ(XPath("string(/TzrxReport/TzrxReportPage[1]/TzrxMemoView/@Left)"), "22");
  EXPECT_EQ(Report->FindObjectByName("Titre")->Left, 40) << "the coordinate is put back";
  // A4 on the virtual printer: 758 x 1071 pixels.
  EXPECT_EQ(XPath("string(/TzrxReport/TzrxReportPage[1]/@PaperWidth)"), "210");
  EXPECT_EQ(XPath("string(/TzrxReport/TzrxReportPage[1]/@PaperHeight)"), "297");
  EXPECT_EQ(XPath("string(/TzrxReport/TzrxReportPage[1]/@OnBeforePrint)"), "Page1OnBeforePrint");
  EXPECT_EQ(XPath("string(/TzrxReport/@ScriptText.text)"),
            "procedure Page1OnBeforePrint(Sender: TzrxComponent);\r\nbegin\r\n  with Page1, Engine do\r\n  begin\r\n"
            "  end\r\nend;\r\n\r\n"
            "procedure TitreOnBeforePrint(Sender: TzrxComponent);\r\nbegin\r\n  with Titre, Engine do\r\n  begin\r\n"
            "  Visible := True\r\n  end\r\nend;\r\n\r\n"
            "begin\r\n\r\nend.\r\n");
}

TEST_F(ZrXml, DataLinksAndVariablesGoIntoThePropertyData) {
  Report->Dictionary()->Variables()->SetByName("Nom", Variant("qZones.\"NOM\""));
  Report->Dictionary()->Variables()->SetByName("Seuil", Variant("10"));
  // The data links are found on the live forms and modules: the report's owner is one.
  RegisterModule(Form.get());
  String hex = XmlWritePropData(Report);
  String data = HexDecode(hex);
  // Both links of the form, then the variables; a field of a link's data set is the link's reference.
  auto item = [](const String& Name) { return String(1, char(Name.size())) + Name; };
  String expected = item("Datasets") + "\x0e" + "\x01" + item("DataSet") + "\x0d" + item("DataSetName") + "\x06" +
                    item("zrZones") + String(1, '\0') + "\x01" + item("DataSet") + "\x0d" + item("DataSetName") +
                    "\x06" + item("zrEspeces") + String(1, '\0') + String(1, '\0') + item("Variables") + "\x0e" +
                    "\x01" + item("Name") + "\x06" + item("Nom") + item("Value") + "\x06" +
                    item("<zrZones.\"NOM\">") + String(1, '\0') + "\x01" + item("Name") + "\x06" + item("Seuil") +
                    item("Value") + "\x06" + item("10") + String(1, '\0') + String(1, '\0');
  EXPECT_EQ(data, expected);
  EXPECT_EQ(hex, UpperCase(hex));
  UnregisterModule(Form.get());
}

}  // namespace
