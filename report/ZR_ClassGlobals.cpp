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
    // Display-format editor.
    {53420, "Format d'affichage"},
    {53422, "&Décimales :"_a},
    {53423, "&Séparateur :"_a},
    {53424, "&Format :"},
    // Rich-text editor: caption and hints.
    {53560, "Texte enrichi"},
    {53561, "Ouvrir un fichier"},
    {53562, "Enregistrer dans un fichier"},
    {53563, "Annuler la frappe"},
    {53564, "Gras"},
    {53565, "Italique"},
    {53566, "Aligner à gauche"_a},
    {53567, "Centrer"},
    {53568, "Aligner à droite"_a},
    {53569, "Souligné"_a},
    {53570, "Puces"},
    {53571, "Police"},
    {53572, "Annuler"},
    {53573, "Valider"},
    {53575, "Insérer une expression"_a},
    {53576, "Nom de la police"},
    {53577, "Taille de la police"},
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
    // Paper names of the virtual printer, by entry of its table.
    {55008, "Lettre 8 1/2 x 11 po"},
    {55009, "Lettre (petit) 8 1/2 x 11 po"},
    {55010, "Tabloïd 11 x 17 po"_a},
    {55011, "Ledger 17 x 11 po"},
    {55012, "Légal 8 1/2 x 14 po"_a},
    {55013, "Relevé 5 1/2 x 8 1/2 po"_a},
    {55014, "Exécutif 7 1/4 x 10 1/2 po"_a},
    {55015, "A3 297 x 420 mm"},
    {55016, "A4 210 x 297 mm"},
    {55017, "A4 (petit) 210 x 297 mm"},
    {55018, "A5 148 x 210 mm"},
    {55019, "B4 (JIS) 250 x 354 mm"},
    {55020, "B5 (JIS) 182 x 257 mm"},
    {55021, "Folio 8 1/2 x 13 po"},
    {55022, "Quarto 215 x 275 mm"},
    {55023, "10 x 14 po"},
    {55024, "11 x 17 po"},
    {55025, "Note 8 1/2 x 11 po"},
    {55026, "Enveloppe n° 9 3 7/8 x 8 7/8 po"_a},
    {55027, "Enveloppe n° 10 4 1/8 x 9 1/2 po"_a},
    {55028, "Enveloppe n° 11 4 1/2 x 10 3/8 po"_a},
    {55029, "Enveloppe n° 12 4 3/4 x 11 po"_a},
    {55030, "Enveloppe n° 14 5 x 11 1/2 po"_a},
    {55031, "Feuille C 17 x 22 po"},
    {55032, "Feuille D 22 x 34 po"},
    {55033, "Feuille E 34 x 44 po"},
    {55034, "Enveloppe DL 110 x 220 mm"},
    {55035, "Enveloppe C5 162 x 229 mm"},
    {55036, "Enveloppe C3 324 x 458 mm"},
    {55037, "Enveloppe C4 229 x 324 mm"},
    {55038, "Enveloppe C6 114 x 162 mm"},
    {55039, "Enveloppe C65 114 x 229 mm"},
    {55040, "Enveloppe B4 250 x 353 mm"},
    {55041, "Enveloppe B5 176 x 250 mm"},
    {55042, "Enveloppe B6 176 x 125 mm"},
    {55043, "Enveloppe 110 x 230 mm"},
    {55044, "Enveloppe Monarch 3 7/8 x 7 1/2 po"},
    {55045, "Enveloppe 6 3/4 3 5/8 x 6 1/2 po"},
    {55046, "Paravent US 14 7/8 x 11 po"},
    {55047, "Paravent allemand 8 1/2 x 12 po"},
    {55048, "Paravent légal allemand 8 1/2 x 13 po"_a},
    {55049, "B4 (ISO) 250 x 353 mm"},
    {55050, "Carte postale japonaise 100 x 148 mm"},
    {55051, "9 x 11 po"},
    {55052, "10 x 11 po"},
    {55053, "15 x 11 po"},
    {55054, "Enveloppe invitation 220 x 220 mm"},
    {55055, "Lettre extra 9 1/4 x 12 po"},
    {55056, "Légal extra 9 1/4 x 15 po"_a},
    {55057, "Tabloïd extra 11,69 x 18 po"_a},
    {55058, "A4 extra 9,27 x 12,69 po"},
    {55059, "Lettre transversale 8 1/2 x 11 po"},
    {55060, "A4 transversal 210 x 297 mm"},
    {55061, "Lettre extra transversale 9 1/4 x 12 po"},
    {55062, "Super A 227 x 356 mm"},
    {55063, "Super B 305 x 487 mm"},
    {55064, "Lettre plus 8 1/2 x 12,69 po"},
    {55065, "A4 plus 210 x 330 mm"},
    {55066, "A5 transversal 148 x 210 mm"},
    {55067, "B5 (JIS) transversal 182 x 257 mm"},
    {55068, "A3 extra 322 x 445 mm"},
    {55069, "A5 extra 174 x 235 mm"},
    {55070, "B5 (ISO) extra 201 x 276 mm"},
    {55071, "A2 420 x 594 mm"},
    {55072, "A3 transversal 297 x 420 mm"},
    {55073, "A3 extra transversal 322 x 445 mm"},
    {55074, "Format personnalisé"_a},
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
    {55223, "Objet texte enrichi"},
    {55334, "Police..."},
    // Charset of substituted rich text: the platform's default character set.
    {55337, "1"},
    {55433, "Texte seul"},
    {55435, "Sélection automatique"_a},
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
