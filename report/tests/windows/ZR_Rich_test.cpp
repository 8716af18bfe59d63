// Tests of the rich-text report object: expressions in the rich text replaced by their values in the
// prepared pages (or kept with TextOnly), the height the text needs, its record in templates and
// prepared pages, an invisible object, and the text printed to the PDF printer; the editor window.
#include <gtest/gtest.h>

#include "ZR_ClassPrepared.h"
#include "ZR_Rich.h"
#include "ZrWindowTestSupport.h"
#include "Printers.h"

namespace {

void SetRtf(TzrRichView* View, const String& Rtf) {
  TStringStream stream(Rtf);
  View->RichEdit()->Lines()->LoadFromStream(&stream);
}

String PlainText(TRichEdit* Edit) {
  String text = Edit->Lines()->Text();
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

class ZrRich : public ZrReportTest {
 protected:
  void SetUp() override {
    ZrReportTest::SetUp();
    RegisterReportWindows();
    Page = AddPage();
    AddBand(Page, btMasterDataKind, 100, 40, "zrZones");
    Rich = new TzrRichView();
    Rich->Name = "Fiche";
    Rich->PlaceAt(40, 100, 400, 30);
    SetRtf(Rich, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Zone : [qZones.\"NOM\"]\\par}");
    Page->AddObject(Rich);
  }
  // The texts of the rich objects of the first prepared page.
  std::vector<String> PreparedTexts() {
    std::vector<String> texts;
    TzrPage* page = Report->EMFPages()->UnpackPage(0);
    for (int i = 0; i < page->ObjectCount(); ++i)
      if (auto* r = dynamic_cast<TzrRichView*>(page->Objects(i))) texts.push_back(PlainText(r->RichEdit()));
    Report->EMFPages()->Pages(0).Page.reset();
    return texts;
  }
  TzrPage* Page = nullptr;
  TzrRichView* Rich = nullptr;
};

TEST_F(ZrRich, ExpressionsInTheTextTakeTheirValues) {
  ASSERT_TRUE(Report->Prepare());
  std::vector<String> expected;
  for (const TWetland& w : FixtureWetlands()) expected.push_back("Zone : " + String(w.Name));
  EXPECT_EQ(PreparedTexts(), expected);
  // The template holds its text as written again.
  auto* stored = dynamic_cast<TzrRichView*>(Report->FindObjectByName("Fiche"));
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(PlainText(stored->RichEdit()), "Zone : [qZones.\"NOM\"]");
}

TEST_F(ZrRich, TextOnlyPrintsTheBracketsAsWritten) {
  Rich->SetProperty("TextOnly", Variant(true));
  EXPECT_TRUE(Rich->GetProperty("TEXTONLY").AsBoolean());
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(PreparedTexts().front(), "Zone : [qZones.\"NOM\"]");
}

TEST_F(ZrRich, TheHeightFollowsTheText) {
  Report->MakeCurrent(true);
  Rich->SetProperty("TextOnly", Variant(true));
  int one = Rich->CalcHeight();
  SetRtf(Rich, "{\\rtf1\\ansi\\fs20 un\\par deux\\par trois\\par quatre\\par cinq\\par six\\par}");
  int six = Rich->CalcHeight();
  // A line of 10 points is about 16 pixels: one line and six lines, not the least height for both.
  EXPECT_GT(one, 8);
  EXPECT_GT(six, 5 * one / 2);
  SetRtf(Rich, "");
  EXPECT_EQ(Rich->CalcHeight(), 8 + 2 * Rich->GapY) << "an empty text is one short line";
  Rich->Visible = false;
  EXPECT_EQ(Rich->CalcHeight(), 0);
}

TEST_F(ZrRich, AnInvisibleObjectWritesNothing) {
  Rich->Visible = false;
  ASSERT_TRUE(Report->Prepare());
  EXPECT_TRUE(PreparedTexts().empty());
}

TEST_F(ZrRich, TheRecordKeepsTheRichTextAndAnEmptyOneIsFlagged) {
  TMemoryStream stream;
  Rich->WriteRecord(&stream);
  stream.SetPosition(0);
  TzrRichView copy;
  copy.ReadRecord(&stream);
  EXPECT_EQ(PlainText(copy.RichEdit()), "Zone : [qZones.\"NOM\"]");
  EXPECT_EQ(stream.Position(), stream.Size());
  // Empty: the flag 0, then the end offset, which is the position right after it.
  TzrRichView empty;
  TMemoryStream blank;
  empty.WriteRecord(&blank);
  const auto* bytes = static_cast<const unsigned char*>(blank.Memory());
  std::int64_t size = blank.Size();
  ASSERT_GE(size, 5);
  EXPECT_EQ(bytes[size - 5], 0);
  std::uint32_t end = bytes[size - 4] | (bytes[size - 3] << 8) | (bytes[size - 2] << 16) | (std::uint32_t(bytes[size - 1]) << 24);
  EXPECT_EQ(end, std::uint32_t(size));
  // A template written and read back holds the object and its text.
  TMemoryStream file;
  Report->WriteTemplate(&file);
  file.SetPosition(0);
  Report->ReadTemplate(&file);
  auto* read = dynamic_cast<TzrRichView*>(Report->FindObjectByName("Fiche"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(PlainText(read->RichEdit()), "Zone : [qZones.\"NOM\"]");
}

TEST_F(ZrRich, TheTextIsPrintedAndPreviewed) {
  if (Printer()->Printers()->IndexOf("PDF") < 0) GTEST_SKIP() << "no printer named PDF";
  Printer()->SetPrinterIndex(Printer()->Printers()->IndexOf("PDF"));
  ASSERT_TRUE(Report->Prepare());
  std::string title = UniqueTitle("velborriche");
  Report->Title = title;
  ASSERT_TRUE(Report->PrintPrepared("", 1, 0, true));
  std::vector<std::string> pdfs = WaitForPdfs(title, 1);
  ASSERT_EQ(pdfs.size(), 1u);
  std::string text = PdfText(pdfs[0]);
  EXPECT_NE(text.find("Zone : Marais de Bri\xc3\xa8re"), std::string::npos) << text;
  EXPECT_NE(text.find("Zone : Camargue"), std::string::npos) << text;
  std::remove(pdfs[0].c_str());

  Report->ModalPreview = false;
  Report->ShowPreview();
  TzrPreviewForm* preview = nullptr;
  for (int i = 0; i < Report->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TzrPreviewForm*>(Report->Components(i))) preview = p;
  ASSERT_NE(preview, nullptr);
  Activate(preview);
  ASSERT_TRUE(Painted(preview));
  SaveScreenshot(preview->Handle(), "preview-rich");
}

TEST_F(ZrRich, TheEditorWindowTakesTheTextBackOnOk) {
  WhenActive("TzrRichForm", [](TCustomForm* Form) {
    auto* editor = dynamic_cast<TzrRichForm*>(Form);
    ASSERT_TRUE(Painted(editor));
    EXPECT_EQ(PlainText(editor->RichEdit1), "Zone : [qZones.\"NOM\"]");
    SaveScreenshot(editor->Handle(), "rich-editor");
    editor->RichEdit1->SelectAll();
    TypeText("Nouveau texte");
    ClickControl(editor->OkBtn);
  });
  EXPECT_TRUE(Rich->ShowEditor());
  EXPECT_EQ(PlainText(Rich->RichEdit()), "Nouveau texte");
  EXPECT_EQ(PlainText(zrRichForm()->RichEdit1), "") << "the editor is emptied";
}

}  // namespace
