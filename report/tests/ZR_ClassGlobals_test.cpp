// Tests of the engine's singletons: the string and bitmap loader and its table, the localised
// tables with the boolean formats, the named constants, the wiring of parser, interpreter and
// variables, the null compressor, the shared bitmaps and the engine's forms.
#include "ZR_ClassGlobals.h"

#include <gtest/gtest.h>

#include "Streams.h"
#include "StrUtils.h"
#include "Forms.h"

namespace {

class TLocalizer : public TObject {
 public:
  std::vector<int> Asked;
  void Localize(int Id, String& Text) {
    Asked.push_back(Id);
    if (Id == 55206) Text = "Error";
  }
};

TEST(ZrLocale, OnLocalizeFirstThenTheTable) {
  TzrLocale* locale = TzrLocale::Get();
  EXPECT_EQ(locale, TzrLocale::Get());
  TLocalizer localizer;
  locale->OnLocalize = TzrLocalizeEvent(&localizer, &TLocalizer::Localize);
  EXPECT_EQ(locale->LoadStr(55206), "Error");
  EXPECT_EQ(locale->LoadStr(55209), "Sans_nom") << "an empty answer falls back on the table";
  EXPECT_EQ(locale->LoadStr(12345), "");
  EXPECT_EQ(localizer.Asked, (std::vector<int>{55206, 55209, 12345}));
  locale->OnLocalize = TzrLocalizeEvent();
  EXPECT_EQ(locale->LoadStr(55206), "Erreur");
}

TEST(ZrLocale, TableTexts) {
  struct Case {
    int Id;
    const char* Text;
  } cases[] = {
      {55000, "OK"},
      {55077, "Titre de l'état"_a},
      {55099, "Aucun"},
      {55200, "Une erreur s'est produite durant la préparation"_a},
      {55212, "Fichier text ASCII"},
      {55337, "1"},
      {55439, "Symbole non défini"_a},
      {55621, "FIELDISNULL(<NomDeChamp>)/Retourne 'vrai' si le champ contient null"},
      {53048, "Tapez les N de pages et/ou groupe séparés par des virgules. (1,3,5-12)"_a},
      {55190, ""},
      // Texts the engine's table lacked: paper names, the default paper source, the format editor.
      {55008, "Lettre 8 1/2 x 11 po"},
      {55016, "A4 210 x 297 mm"},
      {55074, "Format personnalisé"_a},
      {55435, "Sélection automatique"_a},
      {53420, "Format d'affichage"},
  };
  for (const Case& c : cases) EXPECT_EQ(TzrLocale::Get()->LoadStr(c.Id), c.Text) << c.Id;
}

TEST(ZrLocale, LoadBmpReadsTheProgramsBitmapResources) {
  HBITMAP handle = TzrLocale::Get()->LoadBmp("ZrTestSwatch");
  ASSERT_NE(handle, nullptr);
  TBitmap bitmap;
  bitmap.SetHandle(handle);
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 2);
  // The resource's rows, top first, as 0x00BBGGRR colours.
  const TColor expected[2][3] = {{0x0000FF, 0x008000, 0xFF0000}, {0x563412, 0xFFFFFF, 0x000000}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(bitmap.Canvas()->Pixels(x, y), expected[y][x]) << x << "," << y;

  EXPECT_EQ(TzrLocale::Get()->LoadBmp("ZR_NOSUCHBITMAP"), nullptr);
  EXPECT_EQ(TzrLocale::Get()->LoadBmp(""), nullptr);
}

TEST(ZrGlobals, LocalisedTables) {
  TzrGlobals& g = zrGlobals();
  EXPECT_EQ(g.RichTextCharset, 1);
  EXPECT_EQ(g.BandNames[0], "Titre de l'état"_a);
  EXPECT_EQ(g.BandNames[5], "Données maitre"_a);
  EXPECT_EQ(g.BandNames[22], "Aucun");
  EXPECT_EQ(g.DateFormats[2], "d mmm yyyy");
  EXPECT_EQ(g.TimeFormats[3], "h:nn");
  // Each boolean format is the text for False, ';', the text for True: the French words come out
  // right for each value.
  struct Case {
    int Index;
    const char* ForFalse;
    const char* ForTrue;
  } cases[] = {{0, "0", "1"}, {1, "Non", "Oui"}, {2, "_", "x"}, {3, "False", "True"}};
  for (const Case& c : cases) {
    const String& format = g.BooleanFormats[std::size_t(c.Index)];
    std::size_t semicolon = format.find(';');
    ASSERT_NE(semicolon, String::npos) << format;
    EXPECT_EQ(format.substr(0, semicolon), c.ForFalse);
    EXPECT_EQ(format.substr(semicolon + 1), c.ForTrue);
  }
}

TEST(ZrGlobals, NamedConstants) {
  TzrVariables* constants = zrGlobals().Constants();
  EXPECT_TRUE(constants->Sorted());
  struct Case {
    const char* Name;
    int Value;
  } cases[] = {
      {"clWhite", 0xFFFFFF},     {"clBlack", 0},           {"clMaroon", 0x80},
      {"clNavy", 0x800000},      {"clAqua", 0xFFFF00},     {"clTransparent", 0x1FFFFFFF},
      {"clScrollBar", int(0xFF000000u)}, {"clWindow", int(0xFF000005u)}, {"clBtnFace", int(0xFF00000Fu)},
      {"clInfoBk", int(0xFF000018u)},
      {"mrOk", 1},               {"mrNo", 7},              {"fsBold", 2},
      {"fsItalic", 1},           {"fsStrikeOut", 8},       {"zrftTop", 8},
      {"zrtaDown", 16},          {"baRest", 7},            {"psDouble", 5},
      {"mb_YesNoCancel", 3},     {"mb_IconWarning", 48},   {"CLWHITE", 0xFFFFFF},
  };
  for (const Case& c : cases) {
    ASSERT_GE(constants->IndexOf(c.Name), 0) << c.Name;
    Variant v = constants->GetByName(c.Name);
    EXPECT_EQ(VarType(v), varInteger) << c.Name;
    EXPECT_EQ(v.AsInteger(), c.Value) << c.Name;
  }
  EXPECT_EQ(constants->GetByName("CRLF").AsString(), "\r\n");
  ASSERT_GE(constants->IndexOf("Null"), 0);
  EXPECT_TRUE(VarIsEmpty(constants->GetByName("Null")));
  EXPECT_EQ(constants->Count(), 17 + 25 + 5 + 2 + 4 + 5 + 6 + 8 + 6 + 8);
}

TEST(ZrGlobals, InterpreterWorksOnTheGlobalParserAndScriptVariables) {
  TzrGlobals& g = zrGlobals();
  EXPECT_EQ(&g, &TzrGlobals::Get());
  EXPECT_TRUE(g.ScriptVariables()->Sorted());
  TStringList source, code;
  source.Add("Compteur := 40 + 2");
  g.Interpreter()->CompileScript(&source, &code, g.ScratchList());
  g.Interpreter()->RunScript(&code);
  EXPECT_EQ(g.ScriptVariables()->GetByName("Compteur").AsInteger(), 42);
  g.ScriptVariables()->Clear();
}

TEST(ZrGlobals, NullCompressorLeavesBothStreams) {
  TStringStream source("abc"), target("xyz");
  source.SetPosition(1);
  zrGlobals().Compressor()->Compress(&source, &target);
  zrGlobals().Compressor()->Decompress(&source, &target);
  EXPECT_EQ(source.Position(), 1);
  EXPECT_EQ(target.DataString(), "xyz");
  EXPECT_EQ(target.Position(), 0);
}

TEST(ZrGlobals, CheckerAndScratchBitmaps) {
  TBitmap* checker = zrGlobals().CheckerBitmap();
  ASSERT_NE(checker, nullptr);
  ASSERT_EQ(checker->Width(), 8);
  ASSERT_EQ(checker->Height(), 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(checker->Canvas()->Pixels(x, y), (x + y) % 2 == 0 ? clWhite : clSilver) << x << "," << y;
  TBitmap* scratch = zrGlobals().ScratchBitmap();
  ASSERT_NE(scratch, nullptr);
  EXPECT_NE(scratch, checker);
  EXPECT_EQ(scratch->Width(), 8);
  EXPECT_EQ(scratch->Height(), 8);
}

TEST(ZrGlobals, DialogFormIsOneHiddenOwnerlessFormOffScreen) {
  TForm* form = zrGlobals().DialogForm();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(zrGlobals().DialogForm(), form) << "made once";
  EXPECT_EQ(form->Name(), "DialogForm");
  EXPECT_EQ(form->Owner(), nullptr);
  EXPECT_EQ(form->BoundsRect(), Rect(-100, -100, -90, -90));
  EXPECT_FALSE(form->Visible());
  bool listed = false;
  for (int i = 0; i < Screen->FormCount(); ++i) listed = listed || Screen->Forms(i) == form;
  EXPECT_TRUE(listed) << "a live form of the screen";
}

TEST(ZrGlobals, ProgressFormComesFromTheClassRegistry) {
  if (GetClass("TzrProgressForm") == nullptr) {
    EXPECT_THROW(zrGlobals().ProgressForm(), EClassNotFound);
  } else {
    TCustomForm* form = zrGlobals().ProgressForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->ClassName(), "TzrProgressForm");
    EXPECT_EQ(form->Owner(), nullptr);
    EXPECT_EQ(zrGlobals().ProgressForm(), form) << "one window for every run";
  }
}

}  // namespace
