// Tests of the prepared pages: a prepared report saved and loaded back (pages, paper fields and
// streams), an older file without version byte made by hand, damaged files refused with the pages
// kept as they were, packing and unpacking, and the preview's hit test with its links.
#include <gtest/gtest.h>

#include "ZR_Utils.h"
#include "ZrReportFixture.h"
// After the engine's headers: the API macros it brings must not rename their members.
#include "ShellLaunch.h"

namespace {

using namespace ZrFixtureBytes;

std::string FileBytes(const String& Path) {
  TMemoryStream stream;
  stream.LoadFromFile(Path);
  return StreamBytes(&stream);
}

void WriteBytes(const String& Path, const std::string& Bytes) {
  TFileStream file(Path, fmCreate);
  if (!Bytes.empty()) file.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
}


// A list of the wetlands over pages of 300 pixels, prepared.
class ZrPrepared : public ZrReportTest {
 protected:
  void SetUp() override {
    ZrReportTest::SetUp();
    TzrPage* page = AddPage();
    page->ApplyPaper(zrCustomPaper, 2100, 0, zrDefaultBin, 900);
    page->Margins = TRect(30, 25, 20, 15);
    AddBand(page, btPageHeader, 10, 20)->Flags |= zrbfOnFirstPage;
    AddMemo(page, "Titre", 10, 10, 300, 18, "Zones humides, page [PAGE#]");
    AddBand(page, btMasterDataKind, 40, 60, "zrZones")->Flags |= zrbfPrintIfSubsetEmpty;
    AddMemo(page, "Zone", 10, 40, 300, 18, "[qZones.\"CODE\"] [qZones.\"NOM\"]");
    ASSERT_TRUE(Report->Prepare());
    ASSERT_GE(Report->EMFPages()->Count(), 2);
  }
};

TEST_F(ZrPrepared, SavedAndLoadedBackGivesTheSamePages) {
  String file = Folder + "\\liste.zrp";
  Report->SavePreparedFile(file);
  auto* other = new TzrReport(Form.get());
  other->LoadPreparedFile(file);
  TzrEMFPages* a = Report->EMFPages();
  TzrEMFPages* b = other->EMFPages();
  ASSERT_EQ(b->Count(), a->Count());
  for (int i = 0; i < a->Count(); ++i) {
    const TzrPreparedPage& pa = a->Pages(i);
    const TzrPreparedPage& pb = b->Pages(i);
    EXPECT_EQ(pb.PaperSize, pa.PaperSize) << i;
    EXPECT_EQ(pb.Width, pa.Width) << i;
    EXPECT_EQ(pb.Height, pa.Height) << i;
    EXPECT_EQ(pb.Orientation, pa.Orientation) << i;
    EXPECT_EQ(pb.Bin, pa.Bin) << i;
    EXPECT_EQ(pb.UseMargins, pa.UseMargins) << i;
    EXPECT_EQ(pb.Margins, pa.Margins) << i;
    EXPECT_EQ(pb.PrintArea, pa.PrintArea) << i;
    EXPECT_EQ(StreamBytes(pb.Stream.get()), StreamBytes(pa.Stream.get())) << i;
  }
  EXPECT_FALSE(other->CanRebuild);
  // The objects read back print the texts of the build.
  other->MakeCurrent(true);
  TzrPage* page = b->UnpackPage(1);
  bool found = false;
  for (int i = 0; i < page->ObjectCount(); ++i)
    if (page->Objects(i)->Name == "Titre") {
      EXPECT_EQ(page->Objects(i)->Memo()->Strings(0), "Zones humides, page 2");
      found = true;
    }
  EXPECT_TRUE(found);
  // Written again, the file is the same.
  String again = Folder + "\\encore.zrp";
  other->SavePreparedFile(again);
  EXPECT_EQ(FileBytes(again), FileBytes(file));
}

TEST_F(ZrPrepared, FileLayoutWithVersionAndOffsets) {
  String file = Folder + "\\liste.zrp";
  Report->SavePreparedFile(file);
  std::string bytes = FileBytes(file);
  ASSERT_GT(bytes.size(), 30u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 25);
  EXPECT_EQ(bytes[1], '\0') << "uncompressed";
  // The printer's name, the page count, then each page's next-page offset.
  std::string printer = "Imprimante virtuelle";
  EXPECT_EQ(bytes.substr(2, 2 + printer.size() + 1), std::string("\x14\x00", 2) + printer + std::string(1, '\0'));
  std::size_t count = 2 + 2 + printer.size() + 1;
  std::uint32_t pages = std::uint32_t(std::uint8_t(bytes[count])) | (std::uint32_t(std::uint8_t(bytes[count + 1])) << 8);
  EXPECT_EQ(int(pages), Report->EMFPages()->Count());
  std::size_t at = count + 4;
  for (std::uint32_t p = 0; p < pages; ++p) {
    std::uint32_t next = 0;
    for (int k = 0; k < 4; ++k) next |= std::uint32_t(std::uint8_t(bytes[at + std::size_t(k)])) << (8 * k);
    ASSERT_GT(next, at);
    at = next;
  }
  EXPECT_EQ(at, bytes.size() - 1) << "the generator byte follows the last page";
  EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 88);
}

// Each damaged file is refused with EReadError and the pages in the report stay as they were.
TEST_F(ZrPrepared, DamagedFilesAreRefusedAndThePagesKept) {
  String file = Folder + "\\liste.zrp";
  Report->SavePreparedFile(file);
  const std::string good = FileBytes(file);
  const std::size_t count = 2 + 2 + 20 + 1;
  const std::size_t firstNext = count + 4;
  auto patched = [&](std::size_t At, const std::string& Bytes) { return Patched(good, At, Bytes); };
  const TDamaged cases[] = {
      {"a page count of two thousand million", patched(count, U32(0x7FFFFFFF))},
      {"a negative page count", patched(count, U32(0xFFFFFFFF))},
      {"a next-page offset pointing back", patched(firstNext, U32(5))},
      {"a next-page offset past the end", patched(firstNext, U32(std::uint32_t(good.size() + 10)))},
      {"a compressed file", patched(1, "\x01")},
      {"a file cut inside a page", good.substr(0, good.size() / 2)},
      {"a page stream of an unknown version", patched(firstNext + 4 + 2 + 4 + 4 + 1 + 4 + 1 + 16, "\x63")},
  };
  const int pagesBefore = Report->EMFPages()->Count();
  const std::string firstStream = StreamBytes(Report->EMFPages()->Pages(0).Stream.get());
  for (const TDamaged& c : cases) {
    String damaged = Folder + "\\abime.zrp";
    WriteBytes(damaged, c.Data);
    EXPECT_THROW(Report->LoadPreparedFile(damaged), EReadError) << c.Fault;
    ASSERT_EQ(Report->EMFPages()->Count(), pagesBefore) << c.Fault;
    EXPECT_EQ(StreamBytes(Report->EMFPages()->Pages(0).Stream.get()), firstStream) << c.Fault;
  }
}

TEST_F(ZrPrepared, CompressedFileSaysWhyItIsRefused) {
  String file = Folder + "\\liste.zrp";
  Report->SavePreparedFile(file);
  std::string bytes = FileBytes(file);
  bytes[1] = '\x01';
  WriteBytes(file, bytes);
  try {
    Report->LoadPreparedFile(file);
    FAIL() << "no error";
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message.find("compressé"_a), String::npos) << e.Message;
  }
}

// A file of the older layout without version byte: it starts with the compressed byte 0 and has
// no bin and no margins in its page records.
TEST_F(ZrPrepared, FileWithoutVersionByte) {
  TMemoryStream page;
  WriteU8(&page, 25);
  TzrMemoView memo;
  memo.Name = "Ancien";
  memo.PlaceAt(10, 20, 100, 18);
  memo.OutLines()->Add("ligne lue");
  memo.PreparedRecord = true;
  WriteU8(&page, zrKindMemo);
  memo.WriteRecord(&page);
  std::string stream = StreamBytes(&page);
  std::string f;
  f += '\0';                                     // compressed: no
  f += std::string("\x03\x00PDF\x00", 6);         // printer name
  f += U32(1);                                   // one page
  std::size_t header = f.size() + 4 + 2 + 4 + 4 + 1 + 1;
  f += U32(std::uint32_t(header + stream.size()));
  f += std::string("\x09\x00", 2);               // A4
  f += U32(2100);
  f += U32(2970);
  f += '\0';
  f += '\x01';                                   // use margins
  f += stream;
  f += 'X';                                      // generator version
  String file = Folder + "\\ancien.zrp";
  WriteBytes(file, f);
  Report->LoadPreparedFile(file);
  ASSERT_EQ(Report->EMFPages()->Count(), 1);
  const TzrPreparedPage& p = Report->EMFPages()->Pages(0);
  EXPECT_EQ(p.PaperSize, zrPaperA4);
  EXPECT_EQ(p.Bin, zrDefaultBin);
  EXPECT_EQ(p.Margins, TRect());
  EXPECT_TRUE(p.UseMargins);
  EXPECT_EQ(p.PrintArea.PageWidth, 758);
  EXPECT_EQ(p.PrintArea.PageHeight, 1071);
  EXPECT_EQ(Report->Info.GeneratorVersion, 'X');
  EXPECT_EQ(Trace(0), std::vector<String>{"Ancien:ligne lue"});
}

TEST_F(ZrPrepared, PackingWritesTheUnpackedObjectsBack) {
  TzrEMFPages* pages = Report->EMFPages();
  const std::string before = StreamBytes(pages->Pages(0).Stream.get());
  pages->UnpackPage(0);
  pages->PackPage(0);
  EXPECT_EQ(StreamBytes(pages->Pages(0).Stream.get()), before) << "packed unchanged, the stream is the same";
  TzrPage* page = pages->UnpackPage(0);
  page->FindObjectByName("Titre")->Memo()->SetText("Modifié"_a);
  pages->PackPage(0);
  pages->Pages(0).Page.reset();
  EXPECT_EQ(Texts(0, "Titre"), std::vector<String>{"Modifié"_a});
}

// The shell calls the hit test makes, recorded.
std::vector<String> gOpened;
bool RecordOpen(HWND, const String& Address) {
  gOpened.push_back(Address);
  return true;
}

TEST_F(ZrPrepared, HitTestFindsTheLastObjectAndFollowsLinks) {
  TzrEMFPages* pages = Report->EMFPages();
  TzrPage* page = pages->UnpackPage(0);
  auto addLink = [&](const String& Name, const String& Tag, int Left) {
    auto* memo = new TzrMemoView();
    memo->Name = Name;
    memo->Tag = Tag;
    memo->PlaceAt(Left, 500, 100, 20);
    page->AddObject(memo);
  };
  addLink("URLsite", "http://www.zones-humides.org/", 100);
  addLink("URLpage", "@3", 300);
  addLink("URLfichier", "c:\\windows\\system32\\calc.exe", 500);
  auto* over = new TzrMemoView();
  over->Name = "Dessus";
  over->PlaceAt(300, 505, 30, 5);
  page->AddObject(over);
  pages->Pages(0).UseMargins = true;
  TShellOpenProc saved = SetShellOpenProc(&RecordOpen);
  gOpened.clear();
  String url;
  int cursor = 0;
  EXPECT_TRUE(pages->ObjectAt(0, TPoint(150, 510), url, cursor, true));
  EXPECT_EQ(url, "");
  EXPECT_TRUE(pages->ObjectAt(0, TPoint(350, 501), url, cursor, true));
  EXPECT_EQ(url, "@3") << "a link inside the report is handed back, not opened";
  EXPECT_FALSE(pages->ObjectAt(0, TPoint(310, 507), url, cursor, true)) << "the object added last answers";
  EXPECT_TRUE(pages->ObjectAt(0, TPoint(550, 510), url, cursor, true));
  EXPECT_EQ(gOpened, std::vector<String>{"http://www.zones-humides.org/"}) << "only web and mail addresses reach the shell";
  EXPECT_TRUE(pages->ObjectAt(0, TPoint(150, 510), url, cursor, false));
  EXPECT_EQ(cursor, -21);
  EXPECT_EQ(url, "http://www.zones-humides.org/");
  EXPECT_FALSE(pages->ObjectAt(0, TPoint(5, 5), url, cursor, false));
  SetShellOpenProc(saved);
}

}  // namespace

namespace {

// A prepared page drawn at full size shows its memo where the same font draws the same text.
class ZrDrawPage : public ZrReportTest {};

TEST_F(ZrDrawPage, DrawnPageMatchesTheSameFontAndDrawingOffFreesIt) {
  TzrPage* page = AddPage();
  AddBand(page, btReportTitle, 10, 40);
  AddMemo(page, "Titre", 50, 10, 300, 20, "Inventaire des zones humides");
  ASSERT_TRUE(Report->Prepare());
  TzrEMFPages* pages = Report->EMFPages();
  const TzrPrintArea& area = pages->Pages(0).PrintArea;
  auto white = [&]() {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(area.PageWidth, 120);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(TRect(0, 0, area.PageWidth, 120));
    return bitmap;
  };
  auto drawn = white();
  pages->Pages(0).DrawingEnabled = true;
  pages->Draw(0, drawn->Canvas(), TRect(0, 0, area.PageWidth, area.PageHeight));
  ASSERT_NE(pages->Pages(0).Page, nullptr) << "unpacked while on screen";
  auto expected = white();
  TCanvas* c = expected->Canvas();
  c->Font()->SetName("Arial");
  c->Font()->SetHeight(-13);
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  const int top = TemplatePage()->TopOffset();
  c->TextOut(50 + 2, top + 1, "Inventaire des zones humides");
  int differences = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < area.PageWidth; ++x)
      if (drawn->Canvas()->Pixels(x, y) != expected->Canvas()->Pixels(x, y)) ++differences;
  EXPECT_EQ(differences, 0);
  // Off screen: the unpacked copy goes and nothing is drawn.
  pages->Pages(0).DrawingEnabled = false;
  auto untouched = white();
  pages->Draw(0, untouched->Canvas(), TRect(0, 0, area.PageWidth, area.PageHeight));
  EXPECT_EQ(pages->Pages(0).Page, nullptr);
  EXPECT_EQ(untouched->Canvas()->Pixels(60, top + 5), 0xFFFFFF);
}

}  // namespace
