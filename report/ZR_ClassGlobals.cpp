// This file implements the report engine's process-wide state, string table, bitmap loader and
// singletons.
#include "ZR_ClassGlobals.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

#include "StrUtils.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassFunctions.h"
#include "ZR_Utils.h"
#include "Forms.h"
#include "Resources.h"

static_assert(std::is_same_v<HBITMAP, HBITMAP__*>, "LoadBmp's declaration names the API's HBITMAP");

VELBOR_IMPLEMENT_CLASS(TzrLocale)
VELBOR_IMPLEMENT_CLASS(TzrCompressor)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrGlobals)

TzrEngineState zrEngine;

namespace {

struct TEngineString {
  int Id;
  const char* Text;
};

// The engine's string table, by number. Numbers that the engine asks for and that are missing
// here give the empty text (band popups, editor hints, paper names: an editing front end's).
const TEngineString kEngineStrings[] = {
    // Find dialog.
    {53000, "Rechercher"},
    {53001, "Texte à &trouver"_a},
    {53002, "Options"},
    {53003, "&Sensibilité à la casse"_a},
    {53004, "Page d'origine"},
    {53005, "&Première"_a},
    {53006, "&Courante"},
    // Preview window.
    {53020, "Largeur de &page"},
    {53021, "Page &entière"_a},
    {53022, "&Deux pages"},
    {53023, "Fermer la prévisualisation"_a},
    {53024, "Echelle"},
    {53025, "Ouvrir un état"_a},
    {53026, "Enregistrer un état"_a},
    {53027, "Imprimer un état"_a},
    {53028, "Rechercher"},
    {53029, "Editer la page"},
    {53030, "Ajouter une page"},
    {53031, "Supprimer la page"},
    {53032, "Voir l'aide"},
    // Print dialog.
    {53040, "Imprimer"},
    {53041, "Imprimante"},
    {53042, "Propriétés"_a},
    {53043, "Copies"},
    {53044, "Plusieurs pages"},
    {53045, "&Tout"},
    {53046, "Pa&ge en cours"},
    {53047, "&Pages:"},
    {53048, "Tapez les N de pages et/ou groupe séparés par des virgules. (1,3,5-12)"_a},
    {53049, "&Nom:"},
    {53050, "Nombre de &copies:"},
    {53051, "&Assemblées"_a},
    {53052, "&Imprimer"},
    {53053, "Pages paires et impaires"},
    {53054, "Pages impaires"},
    {53055, "Pages paires"},
    // Export options.
    {54800, "Option d'export format texte (TXT)"},
    {54801, "&Détruire les lignes vides"_a},
    {54802, "&Convertit pour le DOS"},
    {54803, "Exporte les &encadrés"_a},
    {54804, "&Utilise les caractères graphique du DOS"_a},
    {54805, "Insère des &ruptures de page"_a},
    {54806, "&Facteur d'échelle"_a},
    {54820, "Option d'export format texte enrichi (RTF)"},
    {54821, "Exporte les &images"},
    {54822, "Convertit les tableaux &table"},
    // Buttons, pages, printer.
    {55000, "OK"},
    {55001, "Annuler"},
    {55004, "Page"},
    {55007, "Imprimante virtuelle"},
    // Band types 0 to 22.
    {55077, "Titre de l'état"_a},
    {55078, "Résumé de l'état"_a},
    {55079, "Entête de page"_a},
    {55080, "Pied de page"},
    {55081, "Entête maitre"_a},
    {55082, "Données maitre"_a},
    {55083, "Pied maitre"},
    {55084, "Entête de détail"_a},
    {55085, "Données de détail"_a},
    {55086, "Pied de détail"_a},
    {55087, "Entête de sous détail"_a},
    {55088, "Données de sous détail"_a},
    {55089, "Pied de sous détail"_a},
    {55090, "Couverture"},
    {55091, "Entête de colonne"_a},
    {55092, "Pied de colonne"},
    {55093, "Entête de groupe"_a},
    {55094, "Pied de groupe"},
    {55095, "Entête tableau croisé"_a},
    {55096, "Donnée tableau croisé"_a},
    {55097, "Pied tableau croisé"_a},
    {55098, "Enfant"},
    {55099, "Aucun"},
    // Display formats: categories, then five names per category (55150 + 5 * category + index).
    {55130, "Texte"},
    {55131, "Nombre"},
    {55132, "Date"},
    {55133, "Heure"},
    {55134, "Logique"},
    {55150, "[Aucun]"},
    {55155, "1234,5"},
    {55156, "1234,50"},
    {55157, "1 234,5"},
    {55158, "1 234,50"},
    {55159, "Personnalisé"_a},
    {55160, "11/15/98"},
    {55161, "11/15/1998"},
    {55162, "15 nov 1998"},
    {55163, "15 novembre 1998"},
    {55164, "Personnalisé"_a},
    {55165, "02:43:35"},
    {55166, "2:43:35"},
    {55167, "02:43"},
    {55168, "2:43"},
    {55169, "Personnalisé"_a},
    // Boolean formats are the text for False, ';', the text for True: "Non;Oui" prints Non for
    // False and Oui for True (the label shows the same text).
    {55170, "0;1"},
    {55171, "Non;Oui"},
    {55172, "_;x"},
    {55173, "False;True"},
    {55174, "Personnalisé"_a},
    {55175, "mm.dd.yy"},
    {55176, "mm.dd.yyyy"},
    {55177, "d mmm yyyy"},
    {55178, "d mmmm yyyy"},
    {55179, "hh:nn:ss"},
    {55180, "h:nn:ss"},
    {55181, "hh:nn"},
    {55182, "h:nn"},
    // Build, progress and files.
    {55199, "sur"},
    {55200, "Une erreur s'est produite durant la préparation"_a},
    {55201, "Etat:"},
    {55202, "Object:"},
    {55203, "Préparation de l'état"_a},
    {55204, "Première passe en cours"_a},
    {55205, "Préparation de la Page :"_a},
    {55206, "Erreur"},
    {55207, "Prévisualiser"_a},
    {55208, "Impression de la page :"},
    {55209, "Sans_nom"},
    {55211, "Fichier d'état"_a},
    {55212, "Fichier text ASCII"},
    {55218, "Fichier texte enrichie (RTF)"},
    {55334, "Police..."},
    // Charset of substituted rich text: the platform's default character set.
    {55337, "1"},
    {55439, "Symbole non défini"_a},
    // Function picker: the database and report-information groups.
    {55620, "Base de données"_a},
    {55621, "FIELDISNULL(<NomDeChamp>)/Retourne 'vrai' si le champ contient null"},
    {55622, "Information sur l'état"_a},
    {55623, "REPORTCOMMENT/Retourne le commentaire de l'état"_a},
    {55624, "REPORTNAME/Retourne le nom de l'état"_a},
    {55625, "REPORTAUTOR/Retourne l'auteur de l'état"_a},
    {55626, "VMAJOR/Retourne le numéro de version majeure de l'état"_a},
    {55627, "VMINOR/Retourne le numéro de version mineure de l'état"_a},
    {55628, "VRELEASE/Retourne le numéro de révision de l'état"_a},
    {55629, "VBUILD/Retourne le numéro de compilation de l'état"_a},
    {55630, "REPORTDATE/Retourne la date de création de l'état"_a},
    {55631, "REPORTLASTCHANGE/Retourne la date de dernière modification de l'état"_a},
    // Password window.
    {55653, "Mot de passe"},
    {55654, "Entrez le mot de passe pour ouvrir l'état"_a},
    {55655, "Retapez le mot de passe pour valider"},
};

const char* FindEngineString(int Id) {
  auto it = std::lower_bound(std::begin(kEngineStrings), std::end(kEngineStrings), Id,
                             [](const TEngineString& E, int Value) { return E.Id < Value; });
  return it != std::end(kEngineStrings) && it->Id == Id ? it->Text : nullptr;
}

// The string loader reads into a buffer of 1,024 bytes.
constexpr std::size_t kMaxEngineString = 1023;

TzrGlobals* gGlobals = nullptr;

std::unique_ptr<TBitmap> NewSmallBitmap() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(8, 8);
  return bitmap;
}

// The program's end may find the window system already winding down: a form that cannot be freed
// cleanly is let go.
void FreeForm(TCustomForm*& Form) {
  try {
    if (Form != nullptr) Form->Free();
  } catch (...) {
  }
  Form = nullptr;
}

}  // namespace

// ---- TzrLocale

TzrLocale* TzrLocale::Get() {
  static TzrLocale instance;
  return &instance;
}

String TzrLocale::LoadStr(int Id) {
  if (OnLocalize) {
    String text;
    OnLocalize(Id, text);
    if (!text.empty()) return text;
  }
  const char* text = FindEngineString(Id);
  if (text == nullptr) return String();
  String s = text;
  if (s.size() > kMaxEngineString) s.resize(kMaxEngineString);
  return s;
}

HBITMAP TzrLocale::LoadBmp(const String& ResName) {
  try {
    return LoadBitmapA(MainInstance(), ResName.c_str());
  } catch (...) {
    return nullptr;
  }
}

// ---- TzrCompressor

void TzrCompressor::Compress(TStream*, TStream*) {}
void TzrCompressor::Decompress(TStream*, TStream*) {}

// ---- TzrGlobals

// Frees the singletons when the program ends. It is made after them, so it goes before the
// registries they registered into.
struct TzrGlobalsFinalizer {
  ~TzrGlobalsFinalizer() {
    delete gGlobals;
    gGlobals = nullptr;
  }
};

TzrGlobals& TzrGlobals::Get() {
  if (gGlobals == nullptr) {
    new TzrGlobals;  // sets gGlobals first: the libraries it registers reach it while it is made
    static TzrGlobalsFinalizer finalizer;
  }
  return *gGlobals;
}

TzrGlobals::TzrGlobals() {
  gGlobals = this;
  try {
    LoadLocalStrings();
    FScratchList = std::make_unique<TStringList>();
    FInstalledFunctions = std::make_unique<TzrInstalledFunctions>();
    EnrolFunctionLibrary(TzrStdFunctionLibrary::StaticClass());
    EnrolFunctionLibrary(TDatabaseFunctionLibrary::StaticClass());
    FParser = std::make_unique<TzrParser>();
    FScriptVariables = std::make_unique<TzrVariables>();
    FScriptVariables->SetSorted(true);
    FConstants = std::make_unique<TzrVariables>();
    FConstants->SetSorted(true);
    FillConstants();
    FInterpreter = std::make_unique<TInterpretator>(FParser.get(), FScriptVariables.get());
    FCompressor = std::make_unique<TzrCompressor>();
    FScratchObjects = std::make_unique<TList>();
    FCheckerBitmap = NewSmallBitmap();
    TCanvas* canvas = FCheckerBitmap->Canvas();
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) canvas->SetPixels(x, y, (x + y) % 2 == 0 ? clWhite : clSilver);
    FCheckerBitmap->Dormant();
    FScratchBitmap = NewSmallBitmap();
  } catch (...) {
    gGlobals = nullptr;
    throw;
  }
}

TzrGlobals::~TzrGlobals() {
  FreeForm(FProgressForm);
  TCustomForm* dialogForm = FDialogForm;
  FreeForm(dialogForm);
  FDialogForm = nullptr;
  DropFunctionLibrary(TDatabaseFunctionLibrary::StaticClass());
  DropFunctionLibrary(TzrStdFunctionLibrary::StaticClass());
}

TForm* TzrGlobals::DialogForm() {
  if (FDialogForm == nullptr) {
    TForm* form = CreateForm<TForm>(nullptr);
    try {
      form->SetName("DialogForm");
      form->SetBounds(-100, -100, 10, 10);
    } catch (...) {
      form->Free();
      throw;
    }
    FDialogForm = form;
  }
  return FDialogForm;
}

TCustomForm* TzrGlobals::ProgressForm() {
  if (FProgressForm == nullptr) {
    // By registered name: the progress window's unit builds on this one.
    TObject* object = FindClass("TzrProgressForm")->Create(nullptr);
    auto* form = dynamic_cast<TCustomForm*>(object);
    if (form == nullptr) {
      delete object;
      throw EInvalidCast("TzrProgressForm n'est pas une fiche");
    }
    try {
      form->AfterConstruction();
    } catch (...) {
      delete form;
      throw;
    }
    FProgressForm = form;
  }
  return FProgressForm;
}

void TzrGlobals::LoadLocalStrings() {
  RichTextCharset = StrToIntDef(EngineString(55337), 1);
  for (int i = 0; i < zrBandTypeCount; ++i) BandNames[std::size_t(i)] = EngineString(55077 + i);
  for (int i = 0; i < 4; ++i) {
    BooleanFormats[std::size_t(i)] = EngineString(55170 + i);
    DateFormats[std::size_t(i)] = EngineString(55175 + i);
    TimeFormats[std::size_t(i)] = EngineString(55179 + i);
  }
}

void TzrGlobals::FillConstants() {
  TzrVariables* c = FConstants.get();
  const struct {
    const char* Name;
    int Value;
  } kIntegers[] = {
      {"clWhite", 0xFFFFFF},     {"clBlack", 0},          {"clMaroon", 0x80},      {"clGreen", 0x8000},
      {"clOlive", 0x8080},       {"clNavy", 0x800000},    {"clPurple", 0x800080},  {"clTeal", 0x808000},
      {"clGray", 0x808080},      {"clSilver", 0xC0C0C0},  {"clRed", 0xFF},         {"clLime", 0xFF00},
      {"clYellow", 0xFFFF},      {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
      {"clTransparent", 0x1FFFFFFF},
      {"mrNone", 0},             {"mrOk", 1},             {"mrCancel", 2},         {"mrYes", 6},
      {"mrNo", 7},
      {"fsBold", 2},             {"fsItalic", 1},         {"fsUnderline", 4},      {"fsStrikeOut", 8},
      {"zrftNone", 0},           {"zrftRight", 1},        {"zrftBottom", 2},       {"zrftLeft", 4},
      {"zrftTop", 8},
      {"zrtaLeft", 0},           {"zrtaRight", 1},        {"zrtaCenter", 2},       {"zrtaVertical", 4},
      {"zrtaMiddle", 8},         {"zrtaDown", 16},
      {"baNone", 0},             {"baLeft", 1},           {"baRight", 2},          {"baCenter", 3},
      {"baWidth", 4},            {"baBottom", 5},         {"baTop", 6},            {"baRest", 7},
      {"psSolid", 0},            {"psDash", 1},           {"psDot", 2},            {"psDashDot", 3},
      {"psDashDotDot", 4},       {"psDouble", 5},
      {"mb_Ok", 0},              {"mb_OkCancel", 1},      {"mb_YesNo", 4},         {"mb_YesNoCancel", 3},
      {"mb_IconError", 16},      {"mb_IconQuestion", 32}, {"mb_IconInformation", 64}, {"mb_IconWarning", 48},
  };
  for (const auto& k : kIntegers) c->SetByName(k.Name, Variant(k.Value));
  // System colours: 0xFF000000 plus the system colour index, as a (negative) Integer.
  const char* const kSystemColors[] = {
      "clScrollBar",   "clBackground", "clActiveCaption", "clInactiveCaption",     "clMenu",
      "clWindow",      "clWindowFrame", "clMenuText",     "clWindowText",          "clCaptionText",
      "clActiveBorder", "clInactiveBorder", "clAppWorkSpace", "clHighlight",        "clHighlightText",
      "clBtnFace",     "clBtnShadow",  "clGrayText",      "clBtnText",             "clInactiveCaptionText",
      "clBtnHighlight", "cl3DDkShadow", "cl3DLight",      "clInfoText",            "clInfoBk"};
  for (std::size_t i = 0; i < std::size(kSystemColors); ++i)
    c->SetByName(kSystemColors[i], Variant(static_cast<int>(0xFF000000u + i)));
  c->SetByName("CRLF", Variant("\r\n"));
  c->SetByName("Null", Variant());
}
