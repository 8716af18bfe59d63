// Tests of the memo's text layout (word wrap, hyphenation points, paragraph marks, a word longer
// than the line, line breaks, accented text), of its lines as handed to an export filter
// (alignment, line spacing, frame sides per line), of clipping, of stretched memos in a build and
// of a memo split over pages, checked on the objects of the prepared pages; widths are measured
// with the same font on the engine's measuring canvas.
#include <gtest/gtest.h>

#include "ZR_ClassExport.h"
#include "ZrReportFixture.h"

namespace {

String Marked(const String& S) { return S + zrLineEnd; }

// Measures texts as the layout does: Arial 10 at 96 pixels per inch on the measuring canvas.
int Width(const String& Text) {
  TCanvas* canvas = zrGlobals().ScratchBitmap()->Canvas();
  canvas->Font()->SetName("Arial");
  canvas->Font()->SetStyle(TFontStyles{});
  canvas->Font()->SetHeight(-13);
  return canvas->TextWidth(Text);
}

class ZrMemoLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    zrEngine.Running = true;
    Memo.PlaceAt(0, 0, 100, 200);
    Memo.Flags = zrmfWordWrap;
  }
  void TearDown() override { zrEngine.Running = false; }

  // The memo's lines laid out in a box whose text area is Available pixels wide.
  std::vector<String> Layout(const String& Text, int Available) {
    Memo.Width = Available + 2 * Memo.GapX;
    Memo.OutLines()->Clear();
    Memo.OutLines()->Add(Text);
    Memo.LayOutLines();
    return Memo.LaidOutLines();
  }

  TzrMemoView Memo;
};

TEST_F(ZrMemoLayout, WordWrapBreaksAtBlanksAndMarksTheParagraphEnd) {
  String text = "abc def";
  int box = (Width("abc") + Width("abc def")) / 2;
  EXPECT_EQ(Layout(text, box), (std::vector<String>{"abc", Marked("def")}));
  EXPECT_EQ(Layout(text, Width(text)), (std::vector<String>{Marked("abc def")})) << "a line that fits stays whole";
  // Three words: each line takes what fits.
  String three = "marais tourbe roselière"_a;
  EXPECT_EQ(Layout(three, Width("marais tourbe") + 1), (std::vector<String>{"marais tourbe", Marked("roselière"_a)}));
}

TEST_F(ZrMemoLayout, AccentedTextIsMeasuredWithItsOwnWidths) {
  String text = "Étang élevé où nichent hérons"_a;
  int box = Width("Étang élevé où"_a) + 1;
  std::vector<String> lines = Layout(text, box);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Étang élevé où"_a);
  for (const String& line : lines) {
    String bare = line;
    if (!bare.empty() && bare.back() == zrLineEnd) bare.pop_back();
    EXPECT_LE(Width(bare), box) << bare;
  }
}

TEST_F(ZrMemoLayout, WordLongerThanTheLineIsCutAtTheLastCharacterThatFits) {
  String word = "abcdefghijklmnop";
  int box = Width("abcdefg") + 1;
  std::vector<String> lines = Layout(word, box);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "abcdefg");
  EXPECT_EQ(lines[1][0], 'h') << "the next character begins the next line";
  String joined;
  for (const String& l : lines) joined += l;
  EXPECT_EQ(joined, Marked(word)) << "nothing lost";
  // A line of one character wider than the box is kept whole.
  EXPECT_EQ(Layout("W", 1), (std::vector<String>{Marked("W")}));
}

TEST_F(ZrMemoLayout, LineBreaksInsideTheText) {
  EXPECT_EQ(Layout("ab\r\ncd", 500), (std::vector<String>{Marked("ab"), Marked("cd")}));
  EXPECT_EQ(Layout("abc\r\n", 500), (std::vector<String>{Marked("abc")})) << "no empty extra line";
}

TEST_F(ZrMemoLayout, WordBreakOnLatinLettersBreaksOnlyAtBlanks) {
  Memo.Flags |= zrmfWordBreak;
  String text = "tourbière humide"_a;
  EXPECT_EQ(Layout(text, Width("tourbière hu"_a)), (std::vector<String>{"tourbière"_a, Marked("humide")}));
  EXPECT_TRUE(HyphenationPoints("tourbe").empty());
  // Cyrillic vowels (code page 1251 positions) give hyphenation points.
  EXPECT_FALSE(HyphenationPoints("\xCC\xCE\xD0\xCE\xC7").empty());
}

TEST_F(ZrMemoLayout, TextExtentCountsTheLinesAndGaps) {
  Memo.LineSpacing = 4;
  Layout("un deux trois", std::max(Width("deux"), Width("trois")) + 1);
  ASSERT_EQ(Memo.LaidOutLines().size(), 3u);
  EXPECT_EQ(Memo.LineStep, 4 + 13);
  EXPECT_EQ(Memo.TextExtent, 3 * 17 + 2 * Memo.GapY);
}

// A filter that records the lines a memo hands over.
class TLineRecorder : public TzrExportFilter {
 public:
  explicit TLineRecorder(TComponent* AOwner) : TzrExportFilter(AOwner) {}
  struct TLine {
    int X, Y, Sides;
    String Text;
  };
  std::vector<TLine> Lines;
  void ExportText(const TRect&, int X, TzrView*, int FrameSides, const String& Text, int Y) override {
    Lines.push_back({X, Y, FrameSides, Text});
  }
};

class ZrMemoExport : public ZrMemoLayout {
 protected:
  void SetUp() override {
    ZrMemoLayout::SetUp();
    Owner = std::make_unique<TComponent>(nullptr);
    Report = new TzrReport(Owner.get());
    Recorder = new TLineRecorder(Owner.get());
    Report->CurrentFilter = Recorder;
    Report->MakeCurrent(true);
    Memo.PlaceAt(100, 50, 200, 100);
    zrEngine.Running = true;
  }
  void TearDown() override {
    Owner.reset();
    ZrMemoLayout::TearDown();
  }
  std::unique_ptr<TComponent> Owner;
  TzrReport* Report = nullptr;
  TLineRecorder* Recorder = nullptr;
};

TEST_F(ZrMemoExport, HorizontalAlignmentAndLineSpacing) {
  Memo.Memo()->SetText("un\r\nmarais\r\ndes tourbières"_a);
  Memo.LineSpacing = 3;
  struct Case {
    int Alignment;
    const char* Name;
  };
  for (Case c : {Case{zrtaLeft, "left"}, Case{zrtaRight, "right"}, Case{zrtaCenter, "centre"}}) {
    Memo.Alignment = c.Alignment;
    Recorder->Lines.clear();
    Memo.ExportObject();
    ASSERT_EQ(Recorder->Lines.size(), 3u) << c.Name;
    int paintWidth = 201;  // from Left to Left + Width, both edges included
    for (std::size_t i = 0; i < 3; ++i) {
      const TLineRecorder::TLine& l = Recorder->Lines[i];
      int tw = Width(l.Text);
      int expected = c.Alignment == zrtaRight    ? 100 + paintWidth - 2 - tw - 1
                     : c.Alignment == zrtaCenter ? 100 + 2 + (paintWidth - 4 - tw) / 2
                                                 : 100 + 2;
      EXPECT_EQ(l.X, expected) << c.Name << " line " << i;
      EXPECT_EQ(l.Y, 50 + 1 + int(i) * (3 + 13)) << c.Name << " line " << i;
    }
    EXPECT_EQ(Recorder->Lines[2].Text, "des tourbières"_a);
  }
}

TEST_F(ZrMemoExport, FrameSidesPerLine) {
  Memo.Memo()->SetText("a\r\nb\r\nc");
  Memo.FrameTyp = zrFrameAll;
  Memo.ExportObject();
  ASSERT_EQ(Recorder->Lines.size(), 3u);
  EXPECT_EQ(Recorder->Lines[0].Sides, zrFrameLeft | zrFrameRight | zrFrameTop);
  EXPECT_EQ(Recorder->Lines[1].Sides, zrFrameLeft | zrFrameRight);
  EXPECT_EQ(Recorder->Lines[2].Sides, zrFrameLeft | zrFrameRight | zrFrameBottom);
  Memo.Memo()->SetText("seul");
  Recorder->Lines.clear();
  Memo.ExportObject();
  ASSERT_EQ(Recorder->Lines.size(), 1u);
  EXPECT_EQ(Recorder->Lines[0].Sides, zrFrameAll);
}

TEST_F(ZrMemoExport, ClipToBoxCountsTheLinesThatFit) {
  // A box for four lines of 15 pixels (Arial 10, spacing 2) and its gaps.
  Memo.PlaceAt(0, 0, 200, 4 * 15 + 2 * Memo.GapY + 1);
  for (int i = 0; i < 10; ++i) Memo.OutLines()->Add(Marked("ligne " + IntToStr(i)));
  Memo.Canvas = zrGlobals().ScratchBitmap()->Canvas();
  Memo.ClipToBox = true;
  Memo.ComputeDrawRect();
  Memo.RenderLines();
  Memo.RestoreCoordinates();
  EXPECT_EQ(Memo.LinesDrawn, 4);
}

// ---- Memos in a build

class ZrMemoBuild : public ZrReportTest {
 protected:
  void SetUp() override {
    ZrReportTest::SetUp();
    Page = AddPage();
    Master = AddBand(Page, btMasterDataKind, 20, 20, "zrZones");
    Text = AddMemo(Page, "Notice", 20, 20, 120, 18, "[qZones.\"NOM\"] ([qZones.\"REGION\"]), surface [qZones.\"SURFACE\"] ha");
    After = AddMemo(Page, "Apres", 200, 20, 80, 18, "[qZones.\"CODE\"]");
  }
  TzrPage* Page = nullptr;
  TzrBandView* Master = nullptr;
  TzrMemoView* Text = nullptr;
  TzrMemoView* After = nullptr;
};

TEST_F(ZrMemoBuild, StretchedBandGrowsWithItsWrappedMemo) {
  Master->Flags |= zrbfStretched;
  Text->Flags |= 1;
  ASSERT_TRUE(Report->Prepare());
  std::vector<TPrintedObject> objects = PrintedObjects(0);
  // Each record: the wrapped notice (laid out on the page, lines within the width) then the code.
  int y = TemplatePage()->TopOffset();
  std::size_t i = 0;
  for (const TWetland& w : FixtureWetlands()) {
    ASSERT_LT(i + 1, objects.size());
    const TPrintedObject& notice = objects[i];
    EXPECT_EQ(notice.Name, "Notice");
    EXPECT_EQ(notice.Top, y) << w.Code;
    std::vector<String> lines;
    String text = notice.Text;
    for (std::size_t bar; (bar = text.find('|')) != String::npos; text = text.substr(bar + 1)) lines.push_back(text.substr(0, bar));
    lines.push_back(text);
    EXPECT_GE(lines.size(), 2u) << "wrapped: " << notice.Text;
    for (const String& line : lines) EXPECT_LE(Width(line), 120 - 2 * 2) << line;
    EXPECT_EQ(notice.Height, int(lines.size()) * 15 + 2) << "the object takes the band's stretched height";
    EXPECT_EQ(objects[i + 1].Text, w.Code);
    y += notice.Height;
    i += 2;
  }
}

// Wrapping as the prepared page holds it: every line within the box, the accented names measured
// with their own widths, a word longer than the box cut where it stops fitting, nothing lost.
TEST_F(ZrMemoBuild, WrappedLinesOnThePreparedPageFitTheBox) {
  Master->Flags |= zrbfStretched;
  Text->Flags |= 1;
  Text->Width = 64;
  // Not opening with the reference: a memo that is only a field's reference takes the field's whole
  // content when the field is a memo.
  Text->Memo()->SetText("Hydromorphologiquement [qZones.\"NOM\"]");
  ASSERT_TRUE(Report->Prepare());
  std::vector<String> notices = Texts(0, "Notice");
  ASSERT_EQ(notices.size(), FixtureWetlands().size());
  auto withoutBlanks = [](String S) {
    S.erase(std::remove(S.begin(), S.end(), ' '), S.end());
    return S;
  };
  for (std::size_t i = 0; i < notices.size(); ++i) {
    std::vector<String> lines;
    String text = notices[i];
    for (std::size_t bar; (bar = text.find('|')) != String::npos; text = text.substr(bar + 1)) lines.push_back(text.substr(0, bar));
    lines.push_back(text);
    ASSERT_GE(lines.size(), 3u) << notices[i];
    String joined;
    for (const String& line : lines) {
      EXPECT_LE(Width(line), 64 - 2 * 2) << line;
      joined += line;
    }
    EXPECT_EQ(withoutBlanks(joined), withoutBlanks("Hydromorphologiquement" + String(FixtureWetlands()[i].Name)));
  }
}

// What a row writes into the prepared page: a memo whose highlight condition holds takes the
// highlight's font and fill there; a memo aligned to the band's bottom keeps its own place and is
// written without the alignment; a line aligned to the bottom sits on the stretched band's bottom.
TEST_F(ZrMemoBuild, HighlightAndBottomAlignmentAsWritten) {
  Master->Flags |= zrbfStretched;
  Text->Flags |= 1;
  After->HighlightCondition = "[qZones.\"SURFACE\"] > 5";
  After->HighlightFontColor = 0x0000FF;
  After->HighlightFillColor = 0x00FFFF;
  After->BandAlign = baBottom;
  auto* rule = new TzrLineView();
  rule->Name = "Trait";
  rule->PlaceAt(300, 20, 100, 0);
  rule->BandAlign = baBottom;
  Page->AddObject(rule);
  ASSERT_TRUE(Report->Prepare());
  TzrPage* page = Report->EMFPages()->UnpackPage(0);
  std::size_t row = 0;
  TzrView* notice = nullptr;
  for (int i = 0; i < page->ObjectCount(); ++i) {
    TzrView* v = page->Objects(i);
    if (v->Name == "Notice") {
      notice = v;
    } else if (v->Name == "Apres") {
      ASSERT_NE(notice, nullptr);
      auto* memo = dynamic_cast<TzrMemoView*>(v);
      ASSERT_NE(memo, nullptr);
      const TWetland& w = FixtureWetlands()[row];
      bool high = w.Surface > 5;
      EXPECT_EQ(memo->Font()->Style(), high ? TFontStyles{fsBold} : TFontStyles{}) << w.Code;
      EXPECT_EQ(memo->Font()->Color(), high ? TColor(0x0000FF) : TColor(0)) << w.Code;
      EXPECT_EQ(memo->FillColor, high ? TColor(0x00FFFF) : zrNoColor) << w.Code;
      EXPECT_EQ(memo->Top, notice->Top) << w.Code;
      EXPECT_EQ(memo->BandAlign, baNone) << w.Code;
    } else if (v->Name == "Trait") {
      ASSERT_NE(notice, nullptr);
      EXPECT_EQ(v->Top, notice->Top + notice->Height) << FixtureWetlands()[row].Code;
      ++row;
    }
  }
  EXPECT_EQ(row, FixtureWetlands().size());
  Report->EMFPages()->Pages(0).Page.reset();
}

TEST_F(ZrMemoBuild, MemoTallerThanThePageContinuesOnTheNextPage) {
  // One record whose notice has 120 lines: far more than a page holds.
  Zones->Close();
  Zones->SQL()->SetText("select * from ZONE where CODE = '001'");
  Zones->Open();
  String longText;
  for (int i = 1; i <= 120; ++i) longText += (i > 1 ? "|" : "") + String("ligne ") + IntToStr(i);
  Text->Memo()->Clear();
  for (int i = 1; i <= 120; ++i) Text->Memo()->Add("ligne " + IntToStr(i));
  Text->Flags |= 1;
  Master->Flags |= zrbfStretched;
  ASSERT_TRUE(Report->Prepare());
  int pages = Report->EMFPages()->Count();
  ASSERT_GE(pages, 2);
  // The pages hold the lines in order, each page as many as fit under its bottom limit.
  std::vector<String> all;
  for (int p = 0; p < pages; ++p) {
    for (const TPrintedObject& o : PrintedObjects(p)) {
      if (o.Name != "Notice") continue;
      EXPECT_LE(o.Top + o.Height, TemplatePage()->BottomOffset() + 1) << "page " << p;
      String text = o.Text;
      for (std::size_t bar; (bar = text.find('|')) != String::npos; text = text.substr(bar + 1))
        if (bar > 0) all.push_back(text.substr(0, bar));
      if (!text.empty()) all.push_back(text);
    }
  }
  ASSERT_EQ(all.size(), 120u);
  for (int i = 0; i < 120; ++i) EXPECT_EQ(all[std::size_t(i)], "ligne " + IntToStr(i + 1));
  (void)longText;
}

}  // namespace

namespace {

TEST_F(ZrMemoBuild, SuppressPrintsARepeatedValueOnce) {
  Text->Memo()->SetText("[qZones.\"REGION\"]");
  Text->Flags |= zrmfSuppress;
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(Texts(0, "Notice"), (std::vector<String>{"Bretagne", "Provence"}));
  EXPECT_EQ(Texts(0, "Apres").size(), FixtureWetlands().size()) << "the other objects of the rows print";
}

}  // namespace
