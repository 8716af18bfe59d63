// Tests of the template file: a template of every object kind and property written and read back
// identical, the layout of its first bytes, the version rules and an older file made by hand, the
// frame width codes, the password, missing add-in classes, and one damaged file per fault (each
// refused with a message and one blank page, never a hang or a read past its end).
#include <gtest/gtest.h>

#include <cstring>

#include "ZrReportFixture.h"
#include "ZR_ClassWindows.h"
#include "ZR_Shape.h"
#include "ZR_Utils.h"
#include "Filer.h"

namespace {

using namespace ZrFixtureBytes;

// A report without data, owned by a form, with the engine's questions answered by the test.
class ZrTemplate : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterShapeView();
    Form = std::make_unique<TComponent>(nullptr);
    Form->SetName("fmModele");
    Report = NewReport("zrModele");
  }
  void TearDown() override {
    for (const TModalQuestion& q : Modal.Unexpected) ADD_FAILURE() << "unexpected message: " << q.Text;
    Form.reset();
  }

  TzrReport* NewReport(const String& Name) {
    auto* report = new TzrReport(Form.get());
    report->SetName(Name);
    return report;
  }

  // Writes the report's template.
  std::string Written(TzrReport* R) {
    TMemoryStream stream;
    R->WriteTemplate(&stream);
    return StreamBytes(&stream);
  }

  // Reads bytes into a fresh report and answers the messages shown.
  TzrReport* Read(const std::string& Data) {
    TzrReport* r = NewReport("zrRelu" + IntToStr(++FCount));
    TMemoryStream stream;
    Load(stream, Data);
    r->ReadTemplate(&stream);
    return r;
  }

  // The questions asked since the last call.
  std::vector<String> Messages() {
    std::vector<String> texts;
    for (const TModalQuestion& q : Modal.Unexpected) texts.push_back(q.Text);
    Modal.Unexpected.clear();
    return texts;
  }

  TModalScript Modal;
  std::unique_ptr<TComponent> Form;
  TzrReport* Report = nullptr;

 private:
  int FCount = 0;
};

// A template holding every kind of object with every stored property set away from its default.
void FillEveryKind(TzrReport* R) {
  R->DoublePass = 1;
  R->Info.Comment = "Fiche détaillée"_a;
  R->Info.Name = "Fiche";
  R->Info.Author = "Cellule zones humides";
  R->Info.VMajor = "2";
  R->Info.VMinor = "1";
  R->Info.VRelease = "3";
  R->Info.VBuild = "45";
  R->Info.Password = "abc";
  R->Info.Created = EncodeDate(2004, 12, 31);

  TzrPage* page = R->Pages()->Add();
  page->ApplyPaper(zrPaperA4, 0, 1, zrDefaultBin, 0);
  page->Margins = TRect(40, 30, 20, 10);
  page->PrintToPrevPage = true;
  page->UseMargins = false;
  page->Columns = 2;
  page->ColumnGap = 15;
  page->Name = "Fiche";
  page->Script()->SetText("begin\r\n  TITRE := 'Fiche'\r\nend");

  auto* memo = new TzrMemoView();
  memo->Name = "Memo1";
  memo->PlaceAt(11, 22, 333, 44);
  memo->Flags = 0x1FF;
  memo->FrameTyp = zrFrameAll;
  memo->FrameWidth = 0.5;
  memo->FrameColor = 0x0000FF;
  memo->FrameStyle = zrFrameDouble;
  memo->FillColor = 0x00FFFF;
  memo->FormatCode = MakeFormatCode(zrfcNumber, zrfiCustom, 2, ',');
  memo->FormatText = "#,##0.00";
  memo->Visible = false;
  memo->GapX = 4;
  memo->GapY = 3;
  memo->Restrictions = 9;
  memo->Tag = "[PAGE#]";
  memo->Memo()->SetText("Zone humide : [qZones.\"NOM\"]\r\n\r\nÉtang, rivière"_a);
  memo->Script()->SetText("if [VALUE] > 1 then Visible := 1");
  memo->BandAlign = baRest;
  memo->Font()->SetName("Times New Roman");
  memo->Font()->SetSize(12);
  memo->Font()->SetStyle(TFontStyles{fsBold, fsItalic});
  memo->Font()->SetColor(0xFF0000);
  memo->Font()->SetCharset(0);
  memo->Alignment = zrtaRotated | zrtaCenter | zrtaMiddle;
  memo->HighlightStyle = 5;
  memo->HighlightFontColor = 0x008000;
  memo->HighlightFillColor = 0xC0C0C0;
  memo->HighlightCondition = "[VALUE] > 10";
  memo->LineSpacing = 5;
  memo->CharSpacing = 1;
  page->AddObject(memo);

  auto* band = new TzrBandView();
  band->Name = "Groupe";
  band->SetBandType(btGroupHeader);
  band->PlaceAt(0, 100, 758, 25);
  band->FormatText = "[qZones.\"REGION\"]";
  band->ChildBand = "Enfant1";
  band->Master = "MasterData1";
  band->Columns = 3;
  band->ColumnWidth = 150;
  band->ColumnGap = 10;
  band->NewColumnAfter = 2;
  band->Flags = 0xFF;
  band->Script()->SetText("NEWPAGE");
  page->AddObject(band);

  auto* sub = new TzrSubReportView();
  sub->Name = "SousEtat";
  sub->PlaceAt(10, 140, 200, 30);
  sub->SubPage = 1;
  page->AddObject(sub);

  auto* picture = new TzrPictureView();
  picture->Name = "Logo";
  picture->PlaceAt(500, 10, 64, 48);
  picture->Flags = 7;
  picture->BlobType = btJPG;
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(4, 3);
  bitmap.Canvas()->SetPixels(1, 1, 0x123456);
  picture->Picture()->SetGraphic(&bitmap);
  page->AddObject(picture);

  auto* line = new TzrLineView();
  line->Name = "Trait";
  line->PlaceAt(10, 200, 700, 0);
  line->FrameWidth = 12;
  line->FrameStyle = 1;
  page->AddObject(line);

  auto* shape = new TzrShapeView();
  shape->Name = "Forme";
  shape->PlaceAt(600, 200, 90, 40);
  shape->Shape = skTriangle;
  shape->FillColor = 0x00FF00;
  page->AddObject(shape);

  TzrPage* dialog = R->Pages()->Add();
  dialog->PageType = ptDialog;
  dialog->Name = "Choix";
  dialog->BorderStyle = 2;
  dialog->Caption = "Période"_a;
  dialog->Color = 0xC0FFC0;
  dialog->FormLeft = 10;
  dialog->FormTop = 20;
  dialog->FormWidth = 300;
  dialog->FormHeight = 200;
  dialog->Position = 0;
  dialog->Script()->SetText("ModalResult := mrOk");

  TzrDataDictionary* d = R->Dictionary();
  d->Variables()->SetByName(" Calculs", Variant(String()));
  d->Variables()->SetByName("Total", Variant("SUM([qZones.\"SURFACE\"])"));
  d->FieldAliases()->SetByName("Zones", Variant("qZones"));
  d->BandDataSources()->SetByName("Maître"_a, Variant("zrZones"));
}

TEST_F(ZrTemplate, EveryObjectKindAndPropertyReadsBackIdentical) {
  FillEveryKind(Report);
  std::string first = Written(Report);
  TzrReport* copy = Read(first);
  EXPECT_TRUE(Messages().empty());
  std::string second = Written(copy);
  // Only the change date, the trailer's last eight bytes, is written anew.
  ASSERT_EQ(first.size(), second.size());
  EXPECT_EQ(first.substr(0, first.size() - 8), second.substr(0, second.size() - 8));

  ASSERT_EQ(copy->Pages()->Count(), 2);
  TzrPage* page = copy->Pages()->Pages(0);
  EXPECT_EQ(page->Orientation, 1);
  EXPECT_EQ(page->PaperWidth, 2970);
  EXPECT_EQ(page->Margins, TRect(40, 30, 20, 10));
  EXPECT_TRUE(page->PrintToPrevPage);
  EXPECT_FALSE(page->UseMargins);
  EXPECT_EQ(page->Script()->Count(), 3);
  EXPECT_EQ(copy->Pages()->Pages(1)->Caption, "Période"_a);
  EXPECT_EQ(copy->Pages()->Pages(1)->PageType, ptDialog);

  auto* memo = dynamic_cast<TzrMemoView*>(copy->FindObjectByName("Memo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->FrameWidth, 0.5);
  EXPECT_FALSE(memo->Visible);
  EXPECT_EQ(memo->BandAlign, baRest);
  EXPECT_EQ(memo->Memo()->Strings(2), "Étang, rivière"_a);
  EXPECT_EQ(memo->Font()->Name(), "Times New Roman");
  EXPECT_EQ(memo->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(memo->HighlightCondition, "[VALUE] > 10");
  EXPECT_EQ(memo->CharSpacing, 1);
  auto* band = dynamic_cast<TzrBandView*>(copy->FindObjectByName("Groupe"));
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->Master, "MasterData1");
  EXPECT_EQ(band->NewColumnAfter, 2);
  auto* picture = dynamic_cast<TzrPictureView*>(copy->FindObjectByName("Logo"));
  ASSERT_NE(picture, nullptr);
  auto* graphic = dynamic_cast<TBitmap*>(picture->Picture()->Graphic());
  ASSERT_NE(graphic, nullptr);
  EXPECT_EQ(graphic->Canvas()->Pixels(1, 1), 0x123456);
  EXPECT_EQ(copy->FindObjectByName("Trait")->FrameWidth, 12.0) << "a frame wider than 10 survives";
  auto* shape = dynamic_cast<TzrShapeView*>(copy->FindObjectByName("Forme"));
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->Shape, skTriangle);
  EXPECT_EQ(VarToStr(copy->Dictionary()->Variables()->GetByName("Total")), "SUM([qZones.\"SURFACE\"])");
  EXPECT_EQ(copy->Dictionary()->Variables()->NameAt(0), " Calculs");
  EXPECT_EQ(copy->Info.Author, "Cellule zones humides");
  EXPECT_EQ(copy->Info.Password, "abc");
  EXPECT_EQ(copy->Info.Created, EncodeDate(2004, 12, 31));
  EXPECT_EQ(copy->DoublePass, 1);
}

TEST_F(ZrTemplate, FileStartsWithVersionFlagsPrinterAndFirstRecord) {
  std::string empty = Written(Report);
  // 25, print to default, two-pass, the virtual printer as the text "\001", then the dictionary.
  EXPECT_EQ(empty.substr(0, 10), std::string("\x19\x00\x00\x00\x00\x01\x00\x01\x00\xFE", 10));
  Report->Pages()->Add();
  std::string one = Written(Report);
  EXPECT_EQ(static_cast<unsigned char>(one[9]), 255) << "a page header comes first";
  // The trailer: the seven texts, the password as hexadecimal digits, the generator version 88.
  Report->Info.Password = "abc";
  std::string withPassword = Written(Report);
  std::string trailer = withPassword.substr(withPassword.size() - 26);
  EXPECT_EQ(trailer.substr(0, 8), std::string("\x06\x00" "616263", 8));
  EXPECT_EQ(static_cast<unsigned char>(trailer[8]), 88);
}

TEST_F(ZrTemplate, VersionRules) {
  // An empty stream reads nothing: the report keeps its pages.
  Report->Pages()->Add();
  TMemoryStream stream;
  Report->ReadTemplate(&stream);
  EXPECT_EQ(Report->Pages()->Count(), 1);
  // A version above 25 is refused with the message.
  TzrReport* newer = Read(std::string("\x1A\x00\x00", 3));
  EXPECT_EQ(Messages(), std::vector<String>{"Format ZRF non supporté"_a});
  EXPECT_EQ(newer->Pages()->Count(), 0);
}

// A version-21 file made by hand: no version byte (it starts with print-to-default 0), legacy texts,
// a page header with the six reserved bytes and no bin, an object without name, end offset or
// script.
TEST_F(ZrTemplate, OlderFileWithoutVersionByte) {
  std::string f;
  auto i16 = [&](int v) { f += char(v & 255); f += char((v >> 8) & 255); };
  auto i32 = [&](int v) { f += U32(std::uint32_t(v)); };
  i16(0);
  i16(0);
  f += '\0';  // printer name, zero-terminated
  f += '\xFF';
  i32(zrPaperA4);  // no script marker: this is the paper size
  i32(2100);
  i32(2970);
  for (int m : {50, 40, 30, 20}) i32(m);
  f += '\0';  // portrait
  f += std::string(6, '\x7F');  // reserved
  i16(0);
  i16(-1);
  i32(1);
  i32(0);
  f += '\0';  // memo
  f += '\0';  // page 0
  for (int v : {10, 20, 200, 30}) i32(v);
  i16(3);  // flags
  i16(0);  // frame sides
  i32(1);  // frame width 1
  i32(0);
  i16(0);
  i32(0x1FFFFFFF);
  i32(0);
  f += '\0';  // format text
  f += "Bonjour";
  f += '\0';
  f += "Arial";
  f += '\0';
  i32(10);
  i16(0);
  i32(0);
  i32(0);
  i16(0);  // charset: replaced by the engine's default
  f += std::string(10, '\0');
  f += '\0';  // highlight condition
  f += '\xFC';
  TzrReport* r = Read(f);
  EXPECT_TRUE(Messages().empty());
  ASSERT_EQ(r->Pages()->Count(), 1);
  TzrPage* page = r->Pages()->Pages(0);
  EXPECT_EQ(page->Name, "Page1");
  EXPECT_EQ(page->Margins, TRect(50, 40, 30, 20));
  EXPECT_TRUE(page->Script()->Count() == 0);
  ASSERT_EQ(page->ObjectCount(), 1);
  auto* memo = dynamic_cast<TzrMemoView*>(page->Objects(0));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Name, "Memo1") << "the stem and the lowest free number";
  EXPECT_EQ(memo->Memo()->Text(), "Bonjour\r\n");
  EXPECT_TRUE(memo->Visible);
  EXPECT_EQ(memo->GapX, 2);
  EXPECT_EQ(memo->GapY, 1);
  EXPECT_EQ(memo->Font()->Charset(), 1);
  EXPECT_TRUE(memo->Flags & zrmfWordWrap);
}

TEST(ZrFrameWidth, CodesReadBackTheWidthWritten) {
  struct Case {
    double Width;
    int Code;
  };
  const Case cases[] = {{0.5, 500}, {2, 2}, {10, 10}, {12, 12000}, {0, 0}, {1.25, 1250}};
  for (const Case& c : cases) {
    EXPECT_EQ(FrameWidthCode(c.Width), c.Code) << c.Width;
    EXPECT_EQ(FrameWidthFromCode(c.Code), c.Width) << c.Width;
  }
  // What older writers stored for a whole width above 10 still reads as they meant it then.
  EXPECT_DOUBLE_EQ(FrameWidthFromCode(12), 0.012);
}

TEST_F(ZrTemplate, MissingAddInClassIsNamedAndTheOtherObjectsLoad) {
  TzrPage* page = Report->Pages()->Add();
  auto* shape = new TzrShapeView();
  shape->Name = "Forme";
  shape->PlaceAt(10, 10, 50, 50);
  page->AddObject(shape);
  auto* memo = new TzrMemoView();
  memo->Name = "Texte";
  memo->Memo()->Add("après la forme"_a);
  page->AddObject(memo);
  std::string data = Written(Report);
  // The class name as a program without the shape unit would meet it.
  std::size_t at = data.find("TzrShapeView");
  ASSERT_NE(at, std::string::npos);
  data.replace(at, 12, "TzrChartView");
  TzrReport* r = Read(data);
  EXPECT_EQ(Messages(), std::vector<String>{"Report contains the following non-plugged components:\rTzrChartView\r"
                                            "You must include these components into your project."});
  ASSERT_EQ(r->Pages()->Count(), 1);
  ASSERT_EQ(r->Pages()->Pages(0)->ObjectCount(), 1);
  EXPECT_EQ(r->Pages()->Pages(0)->Objects(0)->Memo()->Strings(0), "après la forme"_a);
  EXPECT_FALSE(zrEngine.BuildError) << "reading is not a build";
}

// One damaged file per fault: each is refused with the message and one blank page, quickly.
TEST_F(ZrTemplate, DamagedFilesAreRefused) {
  TzrPage* page = Report->Pages()->Add();
  auto* memo = new TzrMemoView();
  memo->Name = "Memo1";
  memo->Memo()->SetText("ZZZ\r\nYYY");
  page->AddObject(memo);
  Report->Dictionary()->Variables()->SetByName("Total", Variant("1"));
  const std::string good = Written(Report);
  const std::size_t name = good.find(std::string("\x05\x00Memo1\x00", 8));
  ASSERT_NE(name, std::string::npos);
  const std::size_t endOffset = name - 4;
  const std::size_t lines = good.find(std::string("\x02\x00\x03\x00ZZZ", 7));
  ASSERT_NE(lines, std::string::npos);
  const std::size_t dictionary = good.find(std::string("\xFE\xFE\xFF", 3));
  ASSERT_NE(dictionary, std::string::npos);

  auto patched = [&](std::size_t At, const std::string& Bytes) { return Patched(good, At, Bytes); };
  const TDamaged cases[] = {
      {"a tag from 11 to 251", patched(dictionary, "\x0B")},
      {"an end offset pointing back at its own record", patched(endOffset, U32(std::uint32_t(endOffset - 2)))},
      {"an end offset past the end of the file", patched(endOffset, U32(std::uint32_t(good.size() + 100)))},
      {"a file cut inside an object", good.substr(0, name + 20)},
      {"a counted list with more lines than its count", patched(lines, std::string("\x01\x00", 2))},
      {"an object of a page that does not exist", patched(endOffset - 1, "\x03")},
      {"a dictionary count larger than the file", patched(dictionary + 3, U32(0x7FFFFFFF))},
      {"a trailer cut inside a text", good.substr(0, good.size() - 20)},
  };
  for (const TDamaged& c : cases) {
    TzrReport* r = Read(c.Data);
    std::vector<String> messages = Messages();
    ASSERT_EQ(messages.size(), 1u) << c.Fault;
    EXPECT_EQ(messages[0].substr(0, std::strlen("Format ZRF non supporté"_a)), "Format ZRF non supporté"_a) << c.Fault;
    ASSERT_EQ(r->Pages()->Count(), 1) << c.Fault;
    EXPECT_EQ(r->Pages()->Pages(0)->ObjectCount(), 0) << c.Fault;
  }
}

// The protected template of a file asks its password; a memory stream (the copy kept by a build)
// never does.
class ZrPassword : public ZrTemplate {
 protected:
  static String Answer;
  static bool Prompt(String& Password) {
    Password = Answer;
    return true;
  }
  void SetUp() override {
    ZrTemplate::SetUp();
    Folder = OsPort::TempFolder() + "velbor-zrf-" + std::to_string(std::random_device()());
    ASSERT_TRUE(ZrFixtureFiles::CreateFolder(Folder));
    Saved = zrPasswordPrompt;
    zrPasswordPrompt = &ZrPassword::Prompt;
  }
  void TearDown() override {
    zrPasswordPrompt = Saved;
    ZrFixtureFiles::RemoveFolder(Folder);
    ZrTemplate::TearDown();
  }
  String Folder;
  TzrPasswordPrompt Saved = nullptr;
};
String ZrPassword::Answer;

TEST_F(ZrPassword, TypedPasswordMustMatchExactly) {
  TzrPage* page = Report->Pages()->Add();
  auto* memo = new TzrMemoView();
  memo->Name = "Secret";
  page->AddObject(memo);
  Report->Info.Password = "abc";
  Report->Info.Protected = 1;
  String file = Folder + "\\fiche.zrf";
  {
    TFileStream out(file, fmCreate);
    Report->WriteTemplate(&out);
  }
  TzrReport* r = NewReport("zrProtege");
  Answer = "ABC";
  EXPECT_TRUE(r->LoadTemplateFile(file));
  EXPECT_EQ(r->FindObjectByName("Secret"), nullptr) << "another letter case is refused";
  ASSERT_EQ(r->Pages()->Count(), 1);
  EXPECT_EQ(r->Pages()->Pages(0)->ObjectCount(), 0);
  EXPECT_EQ(r->Info.Password, "");
  Answer = "abc";
  EXPECT_TRUE(r->LoadTemplateFile(file));
  EXPECT_NE(r->FindObjectByName("Secret"), nullptr);
  EXPECT_EQ(r->FileName, file);
  // A missing file leaves the template as it was.
  EXPECT_FALSE(r->LoadTemplateFile(Folder + "\\absent.zrf"));
  EXPECT_NE(r->FindObjectByName("Secret"), nullptr);
}

}  // namespace

namespace {

TEST_F(ZrTemplate, TemplateKeptInTheFormDescription) {
  RegisterReportComponents();
  TzrPage* page = Report->Pages()->Add();
  auto* memo = new TzrMemoView();
  memo->Name = "DansLaFiche";
  memo->Memo()->Add("gardé dans la description"_a);
  page->AddObject(memo);
  Report->Title = "Fiche";
  Report->StoreInDFM = true;
  String stored = WriteComponentToText(Form.get());
  Report->StoreInDFM = false;
  String plain = WriteComponentToText(Form.get());
  EXPECT_LT(plain.size() + 100, stored.size()) << "without StoreInDFM only the format number is kept";
  Form.reset();
  for (bool kept : {true, false}) {
    const String& text = kept ? stored : plain;
    TComponent root(nullptr);
    ReadComponentFromText(&root, text, "fmModele");
    auto* read = dynamic_cast<TzrReport*>(root.FindComponent("zrModele"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Title, "Fiche");
    if (kept) {
      ASSERT_NE(read->FindObjectByName("DansLaFiche"), nullptr);
      EXPECT_EQ(read->FindObjectByName("DansLaFiche")->Memo()->Strings(0), "gardé dans la description"_a);
    } else {
      EXPECT_EQ(read->Pages()->Count(), 0);
    }
  }
}

// Dictionary records made by hand: the older convention of names and the legacy layout.
TEST(ZrDictionary, OlderRecordsAreReadIntoTheCurrentConvention) {
  auto counted = [](const std::string& S) { return std::string(1, char(S.size())) + std::string(1, '\0') + S + '\0'; };
  auto i32 = [](int V) { return U32(std::uint32_t(V)); };
  // Marker -1: variables named the older way (categories without blank), an alias that names no
  // field and a band data source without value are dropped.
  std::string current = std::string("\xFF\xFF", 2) + i32(2) + counted("Calculs") + counted("") + counted(" Total") +
                        counted("1 + 1") + i32(1) + counted("Rien") + counted("") + i32(1) + counted("Vide") +
                        counted("");
  TzrDataDictionary d;
  TMemoryStream stream;
  Load(stream, current);
  d.LoadFromStream(&stream);
  ASSERT_EQ(d.Variables()->Count(), 2);
  EXPECT_EQ(d.Variables()->NameAt(0), " Calculs");
  EXPECT_EQ(d.Variables()->NameAt(1), "Total");
  EXPECT_EQ(d.FieldAliases()->Count(), 0);
  EXPECT_EQ(d.BandDataSources()->Count(), 0);
  EXPECT_EQ(stream.Position(), stream.Size());

  // The legacy layout: entries of (kind, index, three short strings) and the lines of the list.
  auto shortText = [](const std::string& S) { return std::string(1, char(S.size())) + S; };
  std::string legacy = i32(2) + std::string(1, '\x01') + i32(0) + shortText("qZones") + shortText("NOM") +
                       shortText("NomZone") + std::string(1, '\x02') + i32(2) + shortText("") + shortText("") +
                       shortText("LaDate") + "Zones\r NomZone\r LaDate" + std::string(1, '\0');
  Load(stream, legacy);
  int saved = zrEngine.StreamVersion;
  zrEngine.StreamVersion = 22;
  d.LoadFromStream(&stream);
  zrEngine.StreamVersion = saved;
  ASSERT_EQ(d.Variables()->Count(), 3);
  EXPECT_EQ(d.Variables()->NameAt(0), " Zones");
  EXPECT_EQ(d.Variables()->NameAt(1), "NomZone");
  EXPECT_EQ(VarToStr(d.Variables()->GetByIndex(1)), "qZones.\"NOM\"");
  EXPECT_EQ(d.Variables()->NameAt(2), "LaDate");
  EXPECT_EQ(VarToStr(d.Variables()->GetByIndex(2)), "DATE");
}

}  // namespace
