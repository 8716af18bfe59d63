// Tests of the object factory, the three registries and the engine services: data source names,
// the band's data set, versioned strings, build errors, hexadecimal texts and the upward font.
#include "ZR_ClassFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "../../db/tests/VectorDataSet.h"
#include "Component.h"
#include "Modules.h"
#include "StrUtils.h"
#include "Streams.h"
#include "ZR_ClassFunctions.h"
#include "ZR_ClassGlobals.h"
#include "ZR_DBSet.h"
#include "ZR_Utils.h"
#include "Graphics.h"

// Report objects as the factory sees them.
class TTestView : public TObject, public TzrFactoryProduct {
  VELBOR_DECLARE_CLASS(TTestView, TObject)
 public:
  int Kind = -1;
  int Id = -1;
  void SetObjectKind(int Value) override { Kind = Value; }
  void SetObjectId(int Value) override { Id = Value; }
};
VELBOR_IMPLEMENT_CLASS(TTestView)

class TTestMemo : public TTestView {
  VELBOR_DECLARE_CLASS(TTestMemo, TTestView)
};
VELBOR_IMPLEMENT_CLASS(TTestMemo)

class TTestShape : public TTestView {
  VELBOR_DECLARE_CLASS(TTestShape, TTestView)
};
VELBOR_IMPLEMENT_CLASS(TTestShape)

class TTestRich : public TTestView {
  VELBOR_DECLARE_CLASS(TTestRich, TTestView)
};
VELBOR_IMPLEMENT_CLASS(TTestRich)

class TTestChart : public TTestView {
  VELBOR_DECLARE_CLASS(TTestChart, TTestView)
};
VELBOR_IMPLEMENT_CLASS(TTestChart)

class TTestGauge : public TTestView {
  VELBOR_DECLARE_CLASS(TTestGauge, TTestView)
};
VELBOR_IMPLEMENT_CLASS(TTestGauge)

// Export filters of two classes.
class TTextFilter : public TComponent {
  VELBOR_DECLARE_CLASS(TTextFilter, TComponent)
 public:
  using TComponent::TComponent;
};
VELBOR_IMPLEMENT_CLASS(TTextFilter)

class TRtfFilter : public TComponent {
  VELBOR_DECLARE_CLASS(TRtfFilter, TComponent)
 public:
  using TComponent::TComponent;
};
VELBOR_IMPLEMENT_CLASS(TRtfFilter)

// A third library, registered and dropped by the tests.
class TTestLibrary : public TzrFunctionLibrary {
  VELBOR_DECLARE_CLASS(TTestLibrary, TzrFunctionLibrary)
 public:
  TTestLibrary() {
    List()->Add("TWICE");
    AddDescription("TWICE", "Tests", "TWICE(x)/Le double");
  }
  void ExecuteFunction(int, const Variant& p1, const Variant&, const Variant&, Variant& Val) override {
    Val = zrGlobals().Parser()->Calculate(VarToStr(p1)) * Variant(2);
  }
};
VELBOR_IMPLEMENT_CLASS(TTestLibrary)

namespace {

// The report being built, recording what the helpers ask.
class TFakeHost : public TzrEngineHost {
 public:
  std::vector<String> Log;
  TComponent* Owner = nullptr;
  TzrDataset* ReportSource = nullptr;
  int BandType = -1;
  std::map<int, TzrDataset*> PageBands;
  bool HasObject = false;

  TComponent* ReportOwner() override { return Owner; }
  String ReportName() override { return "zrFiche"; }
  bool UseDefaultDataSetName() override { return false; }
  TzrDataset* ReportDataSource() override { return ReportSource; }
  void Terminate() override { Log.push_back("terminate"); }
  int PrintingBandType() override { return BandType; }
  bool PageDataBandSource(int Type, TzrDataset*& Source) override {
    Log.push_back("band " + IntToStr(Type));
    auto it = PageBands.find(Type);
    if (it == PageBands.end()) return false;
    Source = it->second;
    return true;
  }
  bool CurrentObject(String& Name, TStrings* Memo) override {
    if (!HasObject) return false;
    Name = "Memo1";
    Memo->Add("[Nom]");
    Memo->Add("[Taille] m");
    return true;
  }
  TzrAggregateBand* AggregateCurrentBand() override { return nullptr; }
  TzrAggregateBand* AggregateTargetBand() override { return nullptr; }
  int ColumnPosition() override { return 0; }
};

class ZrEngineServices : public ::testing::Test {
 protected:
  ZrEngineServices() { zrEngine.Host = &Host; }
  ~ZrEngineServices() override {
    zrEngine.Host = nullptr;
    zrEngine.BuildError = false;
    zrEngine.BuildErrorText.clear();
    zrEngine.StreamVersion = zrCurrentVersion;
  }
  TFakeHost Host;
};

// ---- Factory

TEST_F(ZrEngineServices, FactoryMakesBuiltInAndAddInObjectsWithConsecutiveIds) {
  // The views of the program may be registered already: they are put back at the end.
  TClass savedMemo = BuiltInObjectClass(zrKindMemo);
  TClass savedLine = BuiltInObjectClass(zrKindLine);
  SetBuiltInObjectClass(zrKindMemo, TTestMemo::StaticClass());
  SetBuiltInObjectClass(zrKindLine, nullptr);
  EnrolAddInClass(TTestShape::StaticClass(), nullptr, "55226");
  int first = NextObjectId();
  std::unique_ptr<TObject> memo(CreateReportObject(zrKindMemo, "ignored"));
  std::unique_ptr<TObject> shape(CreateReportObject(zrKindAddIn, "TTestShape"));
  ASSERT_NE(memo, nullptr);
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(memo->ClassName(), "TTestMemo");
  EXPECT_EQ(shape->ClassName(), "TTestShape");
  auto* m = static_cast<TTestView*>(memo.get());
  auto* s = static_cast<TTestView*>(shape.get());
  EXPECT_EQ(m->Id, first);
  EXPECT_EQ(s->Id, first + 1);
  EXPECT_EQ(m->Kind, -1) << "built-in objects keep the kind their class gives";
  EXPECT_EQ(s->Kind, zrKindAddIn);
  EXPECT_EQ(NextObjectId(), first + 2);
  // Kinds that are neither built in nor add-in, and built-in kinds without a class, give nothing.
  EXPECT_EQ(CreateReportObject(7, "TTestShape"), nullptr);
  EXPECT_EQ(CreateReportObject(zrKindLine, "TTestShape"), nullptr);
  EXPECT_THROW(SetBuiltInObjectClass(5, TTestMemo::StaticClass()), EListError);
  SetBuiltInObjectClass(zrKindMemo, savedMemo);
  SetBuiltInObjectClass(zrKindLine, savedLine);
}

TEST_F(ZrEngineServices, UnknownAddInClassAccumulatesTheErrorText) {
  EXPECT_THROW(CreateReportObject(zrKindAddIn, "ttestshape"), EClassNotFound) << "class names compare exactly";
  try {
    CreateReportObject(zrKindAddIn, "TzrChartView");
    FAIL() << "no exception";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message, "ttestshape\rTzrChartView\r");
  }
  EXPECT_TRUE(zrEngine.BuildError);
}

TEST(ZrRegistries, AddInsAreEnrolledOnce) {
  int before = AddInCount();
  TObject picture;
  EnrolAddInClass(TTestRich::StaticClass(), &picture, "55223");
  EnrolAddInClass(TTestRich::StaticClass(), nullptr, "again");
  ASSERT_EQ(AddInCount(), before + 1);
  const TzrAddInObjectInfo& info = AddIns(before);
  EXPECT_EQ(info.ClassRef, TTestRich::StaticClass());
  EXPECT_EQ(info.ButtonPicture, &picture);
  EXPECT_EQ(info.Hint, "55223");
  EXPECT_EQ(info.Reserved, 0u);
  EXPECT_THROW(AddIns(AddInCount()), EListError);
}

TEST(ZrRegistries, AddInPicturesKeepTheirImageButNoDeviceContext) {
  // A bitmap given as such, and one held by a picture; both were drawn on, so both hold a context.
  TBitmap bitmap;
  bitmap.SetSize(4, 4);
  bitmap.Canvas()->SetPixels(1, 2, clRed);
  TPicture picture;
  picture.Bitmap()->SetSize(4, 4);
  picture.Bitmap()->Canvas()->SetPixels(3, 0, clBlue);
  ASSERT_TRUE(bitmap.Canvas()->HandleAllocated());
  ASSERT_TRUE(picture.Bitmap()->Canvas()->HandleAllocated());

  EnrolAddInClass(TTestChart::StaticClass(), &bitmap, "chart");
  EnrolAddInClass(TTestGauge::StaticClass(), &picture, "gauge");

  EXPECT_FALSE(bitmap.Canvas()->HandleAllocated());
  EXPECT_FALSE(picture.Bitmap()->Canvas()->HandleAllocated());
  EXPECT_EQ(bitmap.Canvas()->Pixels(1, 2), clRed);
  EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(3, 0), clBlue);
  EXPECT_EQ(AddIns(AddInCount() - 1).ButtonPicture, &picture);
}

TEST(ZrRegistries, ExportFiltersByClassAndMask) {
  TTextFilter text1(nullptr), text2(nullptr), text3(nullptr);
  TRtfFilter rtf(nullptr);
  int before = ExportFilterCount();
  EXPECT_TRUE(EnrolExportFilter(&text1, "Fichier text ASCII (*.txt)", "*.txt"));
  EXPECT_TRUE(EnrolExportFilter(&text2, "Autre (*.rtf)", "*.rtf"));
  EXPECT_FALSE(EnrolExportFilter(&text3, "Encore (*.txt)", "*.txt"));
  EXPECT_TRUE(EnrolExportFilter(&rtf, "Fichier texte enrichie (RTF) (*.rtf)", "*.rtf"));
  ASSERT_EQ(ExportFilterCount(), before + 3);
  // The later filter of the class goes; those after it move down.
  DropExportFilter(&text1);
  ASSERT_EQ(ExportFilterCount(), before + 2);
  EXPECT_EQ(ExportFilters(before).Filter, &text1);
  EXPECT_EQ(ExportFilters(before + 1).Filter, &rtf);
  EXPECT_EQ(ExportFilters(before + 1).FileMask, "*.rtf");
  DropExportFilter(&text1);
  DropExportFilter(&text1);  // none left: nothing happens
  DropExportFilter(&rtf);
  EXPECT_EQ(ExportFilterCount(), before);
}

TEST(ZrRegistries, TablesRefuseTheSixtyFifthEntry) {
  std::vector<std::unique_ptr<TTextFilter>> filters;
  int before = ExportFilterCount();
  for (int i = before; i < zrMaxRegistryEntries; ++i) {
    filters.push_back(std::make_unique<TTextFilter>(nullptr));
    ASSERT_TRUE(EnrolExportFilter(filters.back().get(), "d", "*." + IntToStr(i)));
  }
  TTextFilter extra(nullptr);
  EXPECT_THROW(EnrolExportFilter(&extra, "d", "*.new"), EzrRegistryFull);
  EXPECT_EQ(ExportFilterCount(), zrMaxRegistryEntries);
  for (auto& f : filters) DropExportFilter(f.get());
  EXPECT_EQ(ExportFilterCount(), before);
}

TEST(ZrRegistries, FunctionLibrariesEnrolAndDrop) {
  int before = FunctionLibraryCount();
  EnrolFunctionLibrary(TTestLibrary::StaticClass());
  EnrolFunctionLibrary(TTestLibrary::StaticClass());
  ASSERT_EQ(FunctionLibraryCount(), before + 1);
  Variant val;
  ASSERT_TRUE(CallLibraryFunction("TWICE", Variant("21"), Variant(), Variant(), val));
  EXPECT_EQ(val.AsInteger(), 42);
  EXPECT_FALSE(CallLibraryFunction("THRICE", Variant("1"), Variant(), Variant(), val));
  TzrInstalledFunctions* installed = zrGlobals().InstalledFunctions();
  int described = installed->Count();
  EXPECT_EQ(installed->Items(described - 1).Name, "TWICE");
  DropFunctionLibrary(TTestLibrary::StaticClass());
  EXPECT_EQ(FunctionLibraryCount(), before);
  EXPECT_EQ(installed->Count(), described - 1);
  EXPECT_FALSE(CallLibraryFunction("TWICE", Variant("21"), Variant(), Variant(), val));
  EXPECT_THROW(EnrolFunctionLibrary(TTextFilter::StaticClass()), EInvalidCast);
}

// ---- Data sources by name

TEST_F(ZrEngineServices, ResolveDataSourceCountsOrLooksUp) {
  TComponent form(nullptr);
  Host.Owner = &form;
  auto* byName = new TzrUserDataset(&form);
  byName->SetName("zrSource");
  auto* other = new TComponent(&form);
  other->SetName("Other");

  TzrDataset* source = nullptr;
  bool created = false;
  ResolveDataSource("25", source, created);
  ASSERT_NE(source, nullptr);
  std::unique_ptr<TzrDataset> owned(source);
  EXPECT_TRUE(created);
  EXPECT_EQ(source->RangeEnd, reCount);
  int records = 0;
  for (source->First(); !source->Eof(); source->Next()) ++records;
  EXPECT_EQ(records, 25);

  ResolveDataSource("zrSource", source, created);
  EXPECT_EQ(source, byName);
  EXPECT_FALSE(created);
  // Only a leading digit 1 to 9 counts records: "0abc" is a name, and no component has it.
  ResolveDataSource("0abc", source, created);
  EXPECT_EQ(source, nullptr);
  EXPECT_FALSE(created);
  ResolveDataSource("missing", source, created);
  EXPECT_EQ(source, nullptr);
  EXPECT_THROW(ResolveDataSource("Other", source, created), EInvalidCast);
  Host.Owner = nullptr;
  EXPECT_THROW(ResolveDataSource("zrSource", source, created), EClassNotFound);
}

TEST_F(ZrEngineServices, ResolveDataSourceOpensWhatItFinds) {
  TComponent form(nullptr);
  Host.Owner = &form;
  auto* data = new TVectorDataSet({{"X", ftInteger}}, &form);
  auto* source = new TzrDBDataSet(&form);
  source->SetName("zrZones");
  source->SetDataSet(data);
  TzrDataset* found = nullptr;
  bool created = true;
  ResolveDataSource("zrZones", found, created);
  EXPECT_EQ(found, source);
  EXPECT_FALSE(created);
  EXPECT_TRUE(data->Active());
}

// ---- The band's data set

TEST_F(ZrEngineServices, CurrentBandDataSetFollowsTheBandType) {
  TComponent form(nullptr);
  auto makeSource = [&](const char* Name) {
    auto* data = new TVectorDataSet({{"X", ftInteger}}, &form);
    data->SetName(Name);
    auto* source = new TzrDBDataSet(&form);
    source->SetDataSet(data);
    return std::make_pair(source, static_cast<TDataSet*>(data));
  };
  auto [reportSource, reportData] = makeSource("qReport");
  auto [master, masterData] = makeSource("qMaster");
  auto [detail, detailData] = makeSource("qDetail");
  auto [subDetail, subDetailData] = makeSource("qSub");
  auto [cross, crossData] = makeSource("qCross");
  TzrUserDataset user(nullptr);
  Host.ReportSource = reportSource;
  Host.PageBands = {{btMasterData, master}, {btDetailData, detail}, {btSubDetailData, subDetail}, {btCrossData, cross}};

  struct Case {
    int BandType;
    TDataSet* Expected;
  } cases[] = {
      {-1, reportData}, {0, masterData},     {2, masterData},     {5, masterData},    {6, masterData},
      {16, masterData}, {17, masterData},    {7, reportData},     {8, detailData},    {9, detailData},
      {10, reportData}, {11, subDetailData}, {12, subDetailData}, {13, reportData},   {19, crossData},
      {20, crossData},  {21, reportData},
  };
  for (const Case& c : cases) {
    Host.BandType = c.BandType;
    EXPECT_EQ(CurrentBandDataSet(), c.Expected) << c.BandType;
  }
  // A page without the band falls back on the report's source; a source that is not over a
  // dataset gives nothing.
  Host.PageBands.erase(btDetailData);
  Host.BandType = 9;
  EXPECT_EQ(CurrentBandDataSet(), reportData);
  Host.ReportSource = &user;
  EXPECT_EQ(CurrentBandDataSet(), nullptr);
  zrEngine.Host = nullptr;
  EXPECT_EQ(CurrentBandDataSet(), nullptr);
}

// ---- Versioned strings

TEST_F(ZrEngineServices, VersionedStringsFollowTheStreamVersion) {
  String legacy = String("abc") + '\0' + "l1\rl2" + '\0';
  String counted = String("\x03\x00" "abc", 5) + '\0' + String("\x01\x00\x02\x00", 4) + "l1" + '\0';
  struct Case {
    int Version;
    String Data;
    std::vector<String> Lines;
  } cases[] = {{21, legacy, {"l1", "l2"}}, {22, legacy, {"l1", "l2"}}, {23, counted, {"l1"}}, {25, counted, {"l1"}}};
  for (const Case& c : cases) {
    zrEngine.StreamVersion = c.Version;
    TStringStream stream(c.Data);
    EXPECT_EQ(ReadVersionedString(&stream), "abc") << c.Version;
    TStringList lines;
    ReadVersionedLines(&stream, &lines);
    ASSERT_EQ(lines.Count(), int(c.Lines.size())) << c.Version;
    for (int i = 0; i < lines.Count(); ++i) EXPECT_EQ(lines[i], c.Lines[std::size_t(i)]);
    EXPECT_EQ(stream.Position(), stream.Size()) << c.Version;
  }
}

// ---- Build errors

TEST_F(ZrEngineServices, ReportBuildErrorComposesTheTextAndStopsTheReport) {
  Host.HasObject = true;
  ReportBuildError(EConvertError("'x' n'est pas une valeur entière correcte"_a));
  EXPECT_TRUE(zrEngine.BuildError);
  EXPECT_EQ(zrEngine.BuildErrorText,
            "Une erreur s'est produite durant la préparation"_a + String("\r[Nom]\r[Taille] m\r\rEtat: zrFiche\r") +
                "Object: Memo1\r\r'x' n'est pas une valeur entière correcte"_a);
  EXPECT_EQ(Host.Log, (std::vector<String>{"terminate"}));

  Host.HasObject = false;
  ReportBuildError(Exception("boom"));
  EXPECT_EQ(zrEngine.BuildErrorText, "Une erreur s'est produite durant la préparation"_a +
                                         String("\r\rEtat: zrFiche\r\rboom"));
}

// ---- Hexadecimal texts

TEST(ZrHex, EncodeAndDecode) {
  struct Case {
    String Plain;
    const char* Hex;
  } cases[] = {{"abc", "616263"}, {"", ""}, {String("\x00\xFF\x0A", 3), "00FF0A"}, {"é"_a, "E9"}};
  for (const Case& c : cases) {
    EXPECT_EQ(HexEncode(c.Plain), c.Hex);
    EXPECT_EQ(HexDecode(c.Hex), c.Plain);
  }
  EXPECT_EQ(HexDecode("6162F"), "ab") << "a last odd digit is ignored";
  EXPECT_EQ(HexDecode("e9"), "\xE9") << "lower-case digits read as upper-case";
  EXPECT_EQ(HexDecode("G0").size(), 1u) << "digits are not checked";
}

}  // namespace

// ---- The upward font

namespace {

// The box of the non-white pixels of a 24-bit bitmap.
TRect InkBox(TBitmap* Bitmap) {
  TRect box(Bitmap->Width(), Bitmap->Height(), -1, -1);
  for (int y = 0; y < Bitmap->Height(); ++y) {
    auto* row = static_cast<const unsigned char*>(Bitmap->ScanLine(y));
    for (int x = 0; x < Bitmap->Width(); ++x)
      if (row[3 * x] != 0xFF || row[3 * x + 1] != 0xFF || row[3 * x + 2] != 0xFF) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  }
  return box;
}

TRect DrawAndMeasure(HFONT Font, const String& Text) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(300, 300);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(Rect(0, 0, 300, 300));
  HDC dc = canvas->Handle();
  {
    TSelectedObject selected(dc, Font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 150, 250, Text.c_str(), int(Text.size()));
  }
  GdiFlush();
  return InkBox(&bitmap);
}

}  // namespace

TEST(ZrUpwardFont, KeepsTheDescriptionAndRunsUpwards) {
  TFont font;
  // An outline face: a bitmap face (the default "MS Sans Serif") cannot turn.
  font.SetName("Tahoma");
  font.SetHeight(-24);
  font.SetStyle({fsBold, fsItalic});
  TOwnedFont upward(MakeUpwardFont(&font));
  ASSERT_NE(upward.Get(), nullptr);
  ASSERT_NE(upward.Get(), font.Handle()) << "a new font, the caller's to delete";

  LOGFONTA original{}, turned{};
  ASSERT_EQ(GetObjectA(font.Handle(), sizeof(original), &original), int(sizeof(original)));
  ASSERT_EQ(GetObjectA(upward, sizeof(turned), &turned), int(sizeof(turned)));
  EXPECT_EQ(turned.lfEscapement, 900);
  EXPECT_EQ(turned.lfOrientation, 900);
  EXPECT_EQ(turned.lfHeight, -24);
  EXPECT_EQ(turned.lfWeight, original.lfWeight);
  EXPECT_TRUE(turned.lfItalic);
  EXPECT_STREQ(turned.lfFaceName, original.lfFaceName);

  // Drawn from (150, 250): the upward text is a tall column rising from its start, the plain one
  // a wide line.
  TRect up = DrawAndMeasure(upward, "WWWWWW");
  TRect plain = DrawAndMeasure(font.Handle(), "WWWWWW");
  ASSERT_FALSE(up.IsEmpty());
  ASSERT_FALSE(plain.IsEmpty());
  EXPECT_GT(up.Height(), 2 * up.Width());
  EXPECT_LE(up.Bottom, 251);
  EXPECT_LT(up.Top, 250 - 60);
  EXPECT_GT(plain.Width(), 2 * plain.Height());
  EXPECT_GE(plain.Left, 149);
}
