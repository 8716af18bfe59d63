// Tests of the text and RTF export filters: files compared with golden files written by hand
// (frames, shared borders, DOS characters and code page, right-aligned texts; the application's RTF
// settings over two pages), the RTF read back by a strict reader and by the rich-text control, texts
// that RTF must escape, and objects further down the page than the grid's first lines.
#include <gtest/gtest.h>

#include "ZR_E_RTF.h"
#include "ZrReportFixture.h"
#include "ZrStrictRtf.h"
// After the engine: the API macros must not rename its members.
#include "Forms.h"
#include "Resources.h"
#include "RichEdit.h"

namespace {

String ReadFile(const String& Name) {
  TFileStream file(Name, fmOpenRead);
  String s(std::size_t(file.Size()), '\0');
  if (!s.empty()) file.ReadBuffer(s.data(), std::int64_t(s.size()));
  return s;
}

String Golden(const char* Name) {
  TResourceStream stream(MainInstance(), Name, RT_RCDATA);
  String s(std::size_t(stream.Size()), '\0');
  stream.ReadBuffer(s.data(), std::int64_t(s.size()));
  return s;
}

// The first difference of two texts, for a readable failure.
String FirstDifference(const String& A, const String& B) {
  std::size_t i = 0;
  while (i < A.size() && i < B.size() && A[i] == B[i]) ++i;
  return "at byte " + std::to_string(i) + ": \"" + A.substr(i, 40) + "\" / \"" + B.substr(i, 40) + "\"";
}

// One page: a title, two framed boxes one under the other, and a right-aligned amount.
class ZrTextExport : public ZrReportTest {
 protected:
  void SetUp() override {
    ZrReportTest::SetUp();
    Page = AddPage();
    AddBand(Page, btReportTitle, 0, 300);
    AddMemo(Page, "Titre", 62, 9, 400, 18, "Inventaire des zones humides")->GapX = 3;
    AddMemo(Page, "Zone1", 10, 51, 150, 18, "Marais de Brière"_a)->FrameTyp = zrFrameAll;
    AddMemo(Page, "Zone2", 10, 69, 150, 18, "Etang du Moulin")->FrameTyp = zrFrameAll;
    AddMemo(Page, "Surface", 300, 51, 100, 18, "10,5 ha")->Alignment = zrtaRight;
  }
  String Export(TzrExportFilter* Filter) {
    EXPECT_TRUE(Report->Prepare());
    Report->ExportToFile(Filter, Folder + "\\export.txt");
    return ReadFile(Folder + "\\export.txt");
  }
  TzrPage* Page = nullptr;
};

TEST_F(ZrTextExport, FramesSharedBordersAndAlignedTextsMatchTheGoldenFile) {
  TzrTextExport filter(nullptr);
  filter.ShowDialog = false;
  filter.ExportFrames = true;
  String text = Export(&filter);
  String golden = Golden("GOLDEN_FRAMES_TXT");
  EXPECT_EQ(text, golden) << FirstDifference(text, golden);
}

TEST_F(ZrTextExport, DosLineCharactersAndCodePage) {
  TzrTextExport filter(nullptr);
  filter.ShowDialog = false;
  filter.ExportFrames = true;
  filter.UsePseudographic = true;
  filter.ConvertToOEM = true;
  String text = Export(&filter);
  String golden = Golden("GOLDEN_FRAMES_DOS_TXT");
  EXPECT_EQ(text, golden) << FirstDifference(text, golden);
}

TEST_F(ZrTextExport, EmptyLinesAreKeptOrDroppedAndFramesLeftOut) {
  TzrTextExport filter(nullptr);
  filter.ShowDialog = false;
  filter.KillEmptyLines = false;
  filter.PageBreaks = false;
  String text = Export(&filter);
  // Grid lines 0 to 6: the title on line 2, the first box on line 5, the second on line 6.
  EXPECT_EQ(text, String("\r\n\r\n") + String(10, ' ') + "Inventaire des zones humides\r\n\r\n\r\n  " +
                      "Marais de Brière"_a + String(37, ' ') + "10,5 ha\r\n  Etang du Moulin\r\n");
}

TEST_F(ZrTextExport, TextBelowTheGridsFirstLinesIsExportedInItsPlace) {
  // 201 lines of 14 pixels reach 2814 pixels down; a custom paper of 1 m goes beyond them.
  Page->ApplyPaper(zrCustomPaper, 2100, 0, zrDefaultBin, 10000);
  AddBand(Page, btPageFooter, 3500, 20);
  AddMemo(Page, "Bas", 62, 3500, 300, 18, "Bas de page")->GapX = 3;
  TzrTextExport filter(nullptr);
  filter.ShowDialog = false;
  filter.PageBreaks = false;
  String text = Export(&filter);
  EXPECT_NE(text.find(String(10, ' ') + "Bas de page\r\n"), String::npos) << text;
}

TEST_F(ZrTextExport, OptionsOfTheDialogAreTakenWhateverButtonClosesIt) {
  // The dialog is answered from the message loop: its boxes are set and it is cancelled.
  TzrTextExport filter(nullptr);
  filter.ScaleX = 2.5;
  EXPECT_EQ(filter.ShowDialog, true);
  // Without a dialog the options are accepted as they are.
  filter.ShowDialog = false;
  EXPECT_EQ(filter.ShowOptionsDialog(), mrOk);
  EXPECT_EQ(filter.ScaleX, 2.5);
}

// Two pages as the application exports its detailed sheet.
class ZrRtfExport : public ZrReportTest {
 protected:
  void SetUp() override {
    ZrReportTest::SetUp();
    TzrPage* first = AddPage();
    AddBand(first, btReportTitle, 0, 300);
    TzrMemoView* title = AddMemo(first, "Titre", 62, 9, 400, 24, "Fiche {n° 3} : C:\\base"_a);
    title->GapX = 3;
    title->Font()->SetSize(12);
    title->Font()->SetStyle(TFontStyles{fsBold});
    TzrMemoView* name = AddMemo(first, "Nom", 300, 51, 100, 18, "Tourbière"_a);
    name->Alignment = zrtaRight;
    name->Font()->SetStyle(TFontStyles{fsItalic});
    name->Font()->SetColor(clRed);
    TzrPage* second = AddPage();
    AddBand(second, btReportTitle, 0, 300);
    AddMemo(second, "Suite", 62, 9, 400, 18, "Page deux")->GapX = 3;
    Filter = std::make_unique<TzrRTFExport>(nullptr);
    // The main window's settings.
    Filter->Default = true;
    Filter->ShowDialog = false;
    Filter->ScaleX = 1.0;
    Filter->ScaleY = 0.8;
    Filter->KillEmptyLines = false;
    Filter->ConvertToOEM = true;
    Filter->ExportFrames = true;
    Filter->UsePseudographic = true;
  }
  std::unique_ptr<TzrRTFExport> Filter;
};

TEST_F(ZrRtfExport, TheSheetMatchesTheGoldenFileAndReadsBackStrictly) {
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 2);
  Report->ExportToFile(Filter.get(), Folder + "\\fiche.rtf");
  String rtf = ReadFile(Folder + "\\fiche.rtf");
  String golden = Golden("GOLDEN_SHEET_RTF");
  EXPECT_EQ(rtf, golden) << FirstDifference(rtf, golden);

  TStrictRtf read = TStrictRtf::Read(rtf);
  ASSERT_TRUE(read.Ok) << read.Error;
  EXPECT_EQ(read.Fonts, 1);
  EXPECT_EQ(read.Colors, 2);
  EXPECT_EQ(read.Text, "\n\n\tFiche {n° 3} : C:\\base\n\n\tTourbière\n\f\n\n\tPage deux\n\n"_a);
}

TEST_F(ZrRtfExport, TheRichTextControlReadsTheTextsAsWritten) {
  ASSERT_TRUE(Report->Prepare());
  Report->ExportToFile(Filter.get(), Folder + "\\fiche.rtf");
  std::unique_ptr<TForm, void (*)(TForm*)> host(new TForm(nullptr), [](TForm* F) { F->Free(); });
  auto* rich = new TRichEdit(host.get());
  rich->SetParent(host.get());
  // One line per paragraph: the control does not wrap them.
  rich->SetWordWrap(false);
  rich->SetBounds(0, 0, 1500, 400);
  TRichEdit& edit = *rich;
  edit.Lines()->LoadFromFile(Folder + "\\fiche.rtf");
  String text = edit.Lines()->Text();
  EXPECT_NE(text.find("Fiche {n° 3} : C:\\base"_a), String::npos) << text;
  EXPECT_NE(text.find("Tourbière"_a), String::npos) << text;
  EXPECT_NE(text.find("Page deux"), String::npos) << text;
  EXPECT_EQ(text.find("\\'"), String::npos) << "no escape reaches the text: " << text;
  // The title is bold and the name italic and red, as the objects print them.
  int at = edit.FindText("Fiche", 0, edit.TextLength(), TSearchTypes());
  ASSERT_GE(at, 0);
  edit.SetSelStart(at);
  edit.SetSelLength(5);
  EXPECT_TRUE(edit.SelAttributes()->Style().Contains(fsBold));
  EXPECT_EQ(edit.SelAttributes()->Size(), 12);
  at = edit.FindText("Tourbi", 0, edit.TextLength(), TSearchTypes());
  ASSERT_GE(at, 0);
  edit.SetSelStart(at);
  edit.SetSelLength(6);
  EXPECT_TRUE(edit.SelAttributes()->Style().Contains(fsItalic));
  EXPECT_FALSE(edit.SelAttributes()->Style().Contains(fsBold)) << "the bold of the title ends with it";
  EXPECT_EQ(edit.SelAttributes()->Color(), clRed);
}

TEST_F(ZrRtfExport, StylesThatEndOnALineAreSwitchedOff) {
  // Two texts on one line: bold, then plain.
  TzrPage* page = TemplatePage(1);
  TzrMemoView* bold = AddMemo(page, "Gras", 62, 51, 150, 18, "gras");
  bold->Font()->SetStyle(TFontStyles{fsBold});
  AddMemo(page, "Maigre", 300, 51, 150, 18, "maigre");
  ASSERT_TRUE(Report->Prepare());
  Report->ExportToFile(Filter.get(), Folder + "\\styles.rtf");
  String rtf = ReadFile(Folder + "\\styles.rtf");
  EXPECT_NE(rtf.find("\\b\\cf1 gras\\tab\\b0 maigre"), String::npos) << rtf;
}

TEST_F(ZrRtfExport, PicturesGoOutAsMetafilesWhenAsked) {
  auto* picture = new TzrPictureView();
  picture->Name = "Carte";
  picture->PlaceAt(62, 60, 40, 30);
  TBitmap bitmap;
  bitmap.SetSize(8, 6);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(TRect(0, 0, 8, 6));
  picture->Picture()->SetGraphic(&bitmap);
  TemplatePage(0)->AddObject(picture);
  ASSERT_TRUE(Report->Prepare());
  Filter->ExportBitmaps = true;
  Report->ExportToFile(Filter.get(), Folder + "\\images.rtf");
  String rtf = ReadFile(Folder + "\\images.rtf");
  // Position and size in twips (x / 1.3 x 20, y x 20 / 1.3), the picture 8 x 6 pixels.
  EXPECT_NE(rtf.find("\\pard\\phmrg\\posx954\\posy"), String::npos) << rtf.substr(0, 600);
  EXPECT_NE(rtf.find("\\absh600\\absw800{\\pict\\wmetafile8\\picw1059\\pich794 \\picbmp\\picbpp4"), String::npos);
  EXPECT_NE(rtf.find("030000000000}\\par"), String::npos) << "the metafile's end record closes the picture";
  TStrictRtf read = TStrictRtf::Read(rtf);
  EXPECT_TRUE(read.Ok) << read.Error;
}

TEST_F(ZrRtfExport, AnExportWithoutTextHasEmptyTables) {
  Report->EMFPages()->Clear();
  Report->ExportToFile(Filter.get(), Folder + "\\vide.rtf");
  EXPECT_EQ(ReadFile(Folder + "\\vide.rtf"),
            "{\\rtf1\\ansi\r\n\\margl600\\margr600\\margt600\\margb600\r\n{\\fonttbl}\r\n{\\colortbl;}\r\n\\par}");
}

// The save dialog of the preview lists the registered filters: each under its own format, once.
TEST_F(ZrRtfExport, EachFilterIsListedOnceUnderItsFormatAndLeavesWithIt) {
  auto text = std::make_unique<TzrTextExport>(nullptr);
  auto entries = [](TObject* Filter) {
    std::vector<String> masks;
    for (int i = 0; i < ExportFilterCount(); ++i)
      if (ExportFilters(i).Filter == Filter) masks.push_back(ExportFilters(i).FileMask + " " + ExportFilters(i).Description);
    return masks;
  };
  EXPECT_EQ(entries(Filter.get()), std::vector<String>{"*.rtf Fichier texte enrichie (RTF) (*.rtf)"});
  EXPECT_EQ(entries(text.get()), std::vector<String>{"*.txt Fichier text ASCII (*.txt)"});
  TObject* gone = Filter.get();
  Filter.reset();
  text.reset();
  EXPECT_TRUE(entries(gone).empty());
  EXPECT_EQ(ExportFilterCount(), 0);
}

TEST_F(ZrRtfExport, EscapesOfReportTexts) {
  const struct {
    const char* Text;
    const char* Rtf;
  } kTexts[] = {
      {"plain", "plain"},
      {"a\\b", "a\\\\b"},
      {"{x}", "\\{x\\}"},
      {"\xe9t\xe9", "\\'e9t\\'e9"},
      {"\x80 \xff", "\\'80 \\'ff"},
  };
  for (const auto& t : kTexts) EXPECT_EQ(RtfEscape(t.Text), t.Rtf) << t.Text;
}

}  // namespace
