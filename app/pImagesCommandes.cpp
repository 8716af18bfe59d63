// This file implements the pictures of the main window's commands, drawn in code.
#include "pImagesCommandes.h"

#include <cstring>
#include <iterator>
#include <vector>

#include "pFrmMain.h"

namespace {

constexpr TColor Rgb(int R, int G, int B) { return TColor(R | (G << 8) | (B << 16)); }

// The colours of the pictures: few and strong, so that each reads at 16 pixels.
constexpr TColor kEncre = Rgb(40, 40, 40);
constexpr TColor kPapier = Rgb(255, 255, 255);
constexpr TColor kGris = Rgb(128, 128, 128);
constexpr TColor kGrisClair = Rgb(200, 200, 200);
constexpr TColor kBleu = Rgb(30, 90, 190);
constexpr TColor kBleuClair = Rgb(150, 200, 255);
constexpr TColor kVert = Rgb(20, 140, 40);
constexpr TColor kRouge = Rgb(200, 30, 30);
constexpr TColor kJaune = Rgb(240, 200, 40);
constexpr TColor kBrun = Rgb(150, 90, 40);
// Painted where the picture is transparent; no picture uses it.
constexpr TColor kFond = Rgb(255, 0, 255);

// The dictionaries' pictures: a book whose cover has its category's colour and the dictionary's
// two letters, unique across the dictionaries.
struct TSigle {
  const char* Action;
  const char* Lettres;
};
const TSigle kSigles[] = {
    {"actZoneHydro", "BS"}, {"actEntHydro", "BT"},   {"actCommune", "CO"}, {"actDepartement", "DE"},
    {"actRegion", "RE"},    {"actTypeActions", "TA"}, {"actActHum", "AH"},  {"actCorineBio", "CB"},
    {"actEteSub", "ES"},    {"actFactInf", "FI"},    {"actFreqSub", "FS"}, {"actIntFonct", "IF"},
    {"actRythmeES", "PE"},  {"actPsic", "PS"},       {"actRamsar", "RA"},  {"actSysAlt", "SA"},
    {"actTaxon", "TR"},     {"actTypeES", "TE"},     {"actHabitat", "TH"}, {"actConnexion", "TC"},
    {"actSdage", "SD"},     {"actTypoPhy", "TP"},    {"actValSE", "VS"},   {"actZICO", "ZI"},
    {"actZNIEFF", "ZN"},    {"actZPS", "ZP"},        {"actInstCf", "IC"},  {"actMesProtEn", "MP"},
    {"actStatutFonc", "SF"}, {"actDiagHyd", "DH"},   {"actDiagPat", "DP"}, {"actCarteIGN", "IG"},
    {"actDelCarto", "DC"},  {"actTaxonAni", "EA"},   {"actTaxonVeg", "EV"},
};

struct TCouleurCategorie {
  const char* Categorie;
  TColor Couleur;
};
const TCouleurCategorie kCouleursCategories[] = {
    {"Renseignements généraux"_a, Rgb(30, 70, 160)}, {"Description et fonctionnement", Rgb(20, 110, 50)},
    {"Contexte", Rgb(130, 70, 20)},                  {"Evaluation", Rgb(110, 40, 130)},
    {"Cartes", Rgb(0, 110, 120)},                    {"Options", Rgb(150, 40, 60)},
};

// The pictures that are not dictionaries, in the list's order before the dictionaries.
enum TDessin {
  dFiches, dListeActives, dEchanges, dVersTableur, dFermer, dReduire, dRestaurer, dQuitter,
  dPersonne, dCle, dListeGelees, dFicheSignaletique, dFicheDetaillee, dFicheSynthese, dEnregistrer,
  dAPropos, dDictionnaires, dCouper, dCopier, dColler, dToutSelectionner, dDefaire, dSupprimer,
  kNombreDessins
};

class TPeintre {
 public:
  TPeintre(TCanvas* ACanvas, int AX, int AY) : C(ACanvas), X(AX), Y(AY) {}

  void Rect(int L, int T, int R, int B, TColor Fill, TColor Line) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(Line);
    C->Rectangle(X + L, Y + T, X + R, Y + B);
  }
  void Fill(int L, int T, int R, int B, TColor Fill) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->FillRect(TRect(X + L, Y + T, X + R, Y + B));
  }
  void Line(int X1, int Y1, int X2, int Y2, TColor Colour, int Width = 1) {
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(Width);
    C->Pen()->SetColor(Colour);
    C->MoveTo(X + X1, Y + Y1);
    C->LineTo(X + X2, Y + Y2);
    C->Pen()->SetWidth(1);
  }
  void Poly(std::vector<TPoint> Points, TColor Fill, TColor Line) {
    for (TPoint& P : Points) P = TPoint(P.X + X, P.Y + Y);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(Line);
    C->Polygon(Points);
  }
  void Disc(int L, int T, int R, int B, TColor Fill, TColor Line) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(Line);
    C->Ellipse(X + L, Y + T, X + R, Y + B);
  }
  void Pixel(int PX, int PY, TColor Colour) { C->SetPixels(X + PX, Y + PY, Colour); }
  void Text(int L, int T, int R, int B, const char* Text, TColor Colour, int Height, bool Bold,
            const char* Face = "MS Sans Serif") {
    C->Font()->SetName(Face);
    C->Font()->SetHeight(Height);
    C->Font()->SetColor(Colour);
    C->Font()->SetStyle(Bold ? TFontStyles{fsBold} : TFontStyles{});
    C->Brush()->SetStyle(bsClear);
    TSize Size = C->TextExtent(Text);
    TRect Box(X + L, Y + T, X + R, Y + B);
    C->TextRect(Box, Box.Left + (Box.Width() - Size.cx + 1) / 2, Box.Top + (Box.Height() - Size.cy + 1) / 2, Text);
    C->Brush()->SetStyle(bsSolid);
  }

  // A sheet of paper with its corner turned down; the lines of text are the caller's.
  void Feuille(int L, int T, int R, int B) {
    Poly({{L, T}, {R - 4, T}, {R - 1, T + 3}, {R - 1, B - 1}, {L, B - 1}}, kPapier, kEncre);
    Line(R - 4, T, R - 4, T + 3, kEncre);
    Line(R - 4, T + 3, R - 1, T + 3, kEncre);
  }
  // A window with its blue title bar.
  void Fenetre(int L, int T, int R, int B) {
    Rect(L, T, R, B, kPapier, kEncre);
    Fill(L + 1, T + 1, R - 1, T + 4, kBleu);
  }
  // Text lines from Top, every Step pixels, between L and R.
  void Lignes(int L, int R, int Top, int Bottom, int Step, TColor Colour) {
    for (int Row = Top; Row < Bottom; Row += Step) Line(L, Row, R, Row, Colour);
  }

  void Dessiner(TDessin Dessin);
  void Livre(TColor Couverture, const char* Lettres);

 private:
  TCanvas* C;
  int X, Y;
};

void TPeintre::Livre(TColor Couverture, const char* Lettres) {
  // A dark spine on the left, the pages showing at the bottom, the letters across the cover in a
  // narrow face so that both fit.
  Fill(0, 0, 16, 14, Couverture);
  Fill(0, 0, 1, 16, kEncre);
  Fill(1, 14, 16, 16, kPapier);
  Line(1, 15, 16, 15, kGris);
  Text(1, 1, 16, 13, Lettres, kPapier, -9, true, "Tahoma");
}

void TPeintre::Dessiner(TDessin Dessin) {
  switch (Dessin) {
    case dFiches:  // a card file: two cards, the front one with a photo and lines
      Rect(3, 1, 16, 12, kPapier, kGris);
      Rect(0, 4, 13, 15, kPapier, kEncre);
      Fill(1, 5, 12, 7, kBleu);
      Rect(2, 8, 6, 13, kBleuClair, kBleu);
      Lignes(7, 11, 9, 13, 2, kGris);
      break;
    case dListeActives:  // a list whose lines are ticked in green
      Feuille(1, 0, 15, 16);
      for (int Row = 3; Row < 14; Row += 4) {
        Line(3, Row, 4, Row + 1, kVert, 2);
        Line(4, Row + 1, 6, Row - 1, kVert, 2);
        Line(8, Row, 13, Row, kEncre);
      }
      break;
    case dListeGelees:  // a list frozen: its lines under a blue ice crystal
      Feuille(1, 0, 15, 16);
      Lignes(3, 13, 4, 14, 3, kGrisClair);
      Line(8, 3, 8, 14, kBleu, 2);
      Line(3, 6, 13, 11, kBleu, 2);
      Line(3, 11, 13, 6, kBleu, 2);
      break;
    case dEchanges:  // two arrows going opposite ways: importing and exporting
      Poly({{1, 4}, {9, 4}, {9, 1}, {14, 5}, {9, 9}, {9, 6}, {1, 6}}, kVert, kVert);
      Poly({{14, 10}, {6, 10}, {6, 7}, {1, 11}, {6, 15}, {6, 12}, {14, 12}}, kBleu, kBleu);
      break;
    case dVersTableur:  // a spreadsheet's grid in green, an arrow going to it
      Rect(4, 2, 16, 15, kPapier, kVert);
      Fill(5, 3, 15, 5, kVert);
      for (int Col = 8; Col < 15; Col += 3) Line(Col, 5, Col, 14, kVert);
      for (int Row = 8; Row < 15; Row += 3) Line(5, Row, 15, Row, kVert);
      Poly({{0, 7}, {3, 7}, {3, 5}, {6, 8}, {3, 11}, {3, 9}, {0, 9}}, kBleu, kBleu);
      break;
    case dFermer:  // a window with a red cross
      Fenetre(0, 1, 16, 15);
      Line(4, 6, 11, 13, kRouge, 2);
      Line(11, 6, 4, 13, kRouge, 2);
      break;
    case dReduire:  // a window shrunk to a bar at the bottom
      Rect(0, 1, 16, 11, kPapier, kGrisClair);
      Fill(1, 2, 15, 4, kBleuClair);
      Poly({{5, 5}, {11, 5}, {8, 9}}, kEncre, kEncre);
      Fill(2, 12, 14, 15, kBleu);
      break;
    case dRestaurer:  // two overlapping windows
      Fenetre(5, 0, 16, 9);
      Fenetre(0, 5, 11, 15);
      break;
    case dQuitter:  // an open door, an arrow leaving through it
      Rect(7, 0, 15, 16, kBrun, kEncre);
      Poly({{7, 0}, {11, 2}, {11, 15}, {7, 15}}, Rgb(190, 130, 70), kEncre);
      Pixel(9, 8, kJaune);
      Poly({{0, 7}, {3, 7}, {3, 4}, {7, 8}, {3, 12}, {3, 9}, {0, 9}}, kRouge, kRouge);
      break;
    case dPersonne:  // a person: head and shoulders
      Disc(5, 1, 11, 7, Rgb(240, 200, 160), kEncre);
      Poly({{2, 15}, {3, 10}, {6, 8}, {10, 8}, {13, 10}, {14, 15}}, kBleu, kEncre);
      break;
    case dCle:  // a key
      Disc(0, 3, 8, 11, kJaune, kEncre);
      Disc(2, 5, 5, 8, kPapier, kEncre);
      Fill(7, 6, 15, 9, kJaune);
      Line(7, 6, 15, 6, kEncre);
      Line(7, 8, 15, 8, kEncre);
      Fill(11, 9, 13, 12, kEncre);
      Fill(14, 9, 16, 11, kEncre);
      break;
    case dFicheSignaletique:  // a sheet with its identity block: a title and few lines
      Feuille(1, 0, 15, 16);
      Fill(3, 3, 10, 6, kBleu);
      Lignes(3, 12, 8, 12, 2, kGris);
      break;
    case dFicheDetaillee:  // a sheet full of lines
      Feuille(1, 0, 15, 16);
      Fill(3, 2, 10, 3, kBleu);
      Lignes(3, 13, 5, 15, 2, kEncre);
      break;
    case dFicheSynthese:  // a sheet with a bar chart: the summary
      Feuille(1, 0, 15, 16);
      Fill(3, 9, 5, 14, kBleu);
      Fill(6, 5, 8, 14, kVert);
      Fill(9, 7, 11, 14, kRouge);
      Line(3, 14, 13, 14, kEncre);
      break;
    case dEnregistrer:  // a floppy disk
      Rect(1, 1, 15, 15, kBleu, kEncre);
      Fill(4, 2, 12, 7, kPapier);
      Fill(9, 3, 11, 6, kBleu);
      Fill(4, 10, 12, 15, kGrisClair);
      break;
    case dAPropos:  // a blue disc with a question mark
      Disc(0, 0, 16, 16, kBleu, kBleu);
      Text(0, 0, 16, 16, "?", kPapier, -13, true);
      break;
    case dDictionnaires:  // a pile of books
      Fill(1, 2, 15, 6, Rgb(30, 70, 160));
      Fill(2, 6, 14, 10, Rgb(20, 110, 50));
      Fill(1, 10, 15, 14, Rgb(130, 70, 20));
      Lignes(3, 13, 4, 14, 4, kJaune);
      break;
    case dCouper:  // scissors: two blades, two rings
      Line(4, 1, 10, 10, kEncre, 2);
      Line(11, 1, 5, 10, kEncre, 2);
      Disc(1, 9, 7, 15, kRouge, kRouge);
      Disc(9, 9, 15, 15, kRouge, kRouge);
      Disc(3, 11, 5, 13, kPapier, kPapier);
      Disc(11, 11, 13, 13, kPapier, kPapier);
      break;
    case dCopier:  // two sheets, one over the other
      Feuille(1, 0, 10, 11);
      Lignes(3, 7, 4, 10, 2, kGris);
      Feuille(6, 5, 15, 16);
      Lignes(8, 12, 9, 15, 2, kEncre);
      break;
    case dColler:  // a sheet laid on a clipboard
      Rect(1, 2, 12, 16, kBrun, kEncre);
      Fill(4, 1, 9, 4, kGris);
      Feuille(6, 6, 16, 16);
      Lignes(8, 13, 9, 15, 2, kEncre);
      break;
    case dToutSelectionner:  // a sheet inside a dotted frame
      for (int I = 0; I < 16; I += 2) {
        Pixel(I, 0, kEncre);
        Pixel(I, 15, kEncre);
        Pixel(0, I, kEncre);
        Pixel(15, I, kEncre);
      }
      Fill(3, 3, 13, 13, kBleuClair);
      Lignes(4, 12, 5, 12, 2, kBleu);
      break;
    case dDefaire:  // an arrow going left, then turning back down and under itself
      C->Pen()->SetStyle(psSolid);
      C->Pen()->SetColor(kBleu);
      C->Pen()->SetWidth(2);
      C->Polyline({{X + 6, Y + 5}, {X + 10, Y + 5}, {X + 13, Y + 8}, {X + 13, Y + 10}, {X + 10, Y + 13}, {X + 4, Y + 13}});
      C->Pen()->SetWidth(1);
      Poly({{0, 5}, {6, 0}, {6, 10}}, kBleu, kBleu);
      break;
    case dSupprimer:  // a red cross
      Line(2, 2, 13, 13, kRouge, 3);
      Line(13, 2, 2, 13, kRouge, 3);
      break;
    case kNombreDessins:
      break;
  }
}

// Every picture: the drawn ones, then the dictionaries in their table's order.
struct TEntree {
  const char* Action;
  const char* Sujet;
  TDessin Dessin;
};
const TEntree kDessins[kNombreDessins] = {
    {"actGestionFiches", "a card file: the records", dFiches},
    {"actListedesZHactives", "a list ticked in green: the active records", dListeActives},
    {"actFormatKELVOR", "arrows both ways: import and export", dEchanges},
    {"actVersEXCEL", "an arrow into a spreadsheet", dVersTableur},
    {"actFermer", "a window with a red cross: close", dFermer},
    {"actReduire", "a window shrunk to a bar: minimise", dReduire},
    {"actRestaurer", "two overlapping windows: restore", dRestaurer},
    {"actQuitter", "an arrow leaving through a door: quit", dQuitter},
    {"actPersonnalisation", "a person: the operator", dPersonne},
    {"actAdministration", "a key: administration", dCle},
    {"actListedesZHgeles", "a list under an ice crystal: the frozen records", dListeGelees},
    {"actFichesignaltique", "a sheet with an identity block", dFicheSignaletique},
    {"actFichedtaill", "a sheet full of lines: the detailed sheet", dFicheDetaillee},
    {"actFichedesynthse1", "a sheet with a bar chart: the summary", dFicheSynthese},
    {"actEnregistrerSous", "a floppy disk: save as", dEnregistrer},
    {"actAproposde", "a question mark: about", dAPropos},
    {"actDictionnaire", "a pile of books: the dictionaries", dDictionnaires},
    {"EditCut", "scissors: cut", dCouper},
    {"EditCopy", "two sheets: copy", dCopier},
    {"EditPaste", "a sheet on a clipboard: paste", dColler},
    {"EditSelectAll", "a dotted frame round a sheet: select all", dToutSelectionner},
    {"EditUndo", "an arrow turning back: undo", dDefaire},
    {"EditDelete", "a red cross: delete", dSupprimer},
};

std::vector<TImageCommande> FaireListe() {
  std::vector<TImageCommande> Liste;
  for (const TEntree& Entree : kDessins) Liste.push_back({Entree.Action, Entree.Sujet});
  for (const TSigle& Sigle : kSigles) Liste.push_back({Sigle.Action, Sigle.Lettres});
  return Liste;
}

const std::vector<TImageCommande>& Liste() {
  static const std::vector<TImageCommande> Images = FaireListe();
  return Images;
}

TColor CouleurDictionnaire(const char* Action) {
  for (const TCommandeDictionnaire& Commande : CommandesDictionnaires)
    if (std::strcmp(Commande.Action, Action) == 0)
      for (const TCouleurCategorie& Categorie : kCouleursCategories)
        if (std::strcmp(Categorie.Categorie, Commande.Categorie) == 0) return Categorie.Couleur;
  return kGris;
}

}  // namespace

int NombreImagesCommandes() { return int(Liste().size()); }

const TImageCommande& ImageCommande(int Index) { return Liste()[std::size_t(Index)]; }

int IndexImageCommande(const String& Action) {
  String Name = Action;
  if (Name.rfind("Edit", 0) == 0 && !Name.empty() && Name.back() >= '0' && Name.back() <= '9') Name.pop_back();
  const std::vector<TImageCommande>& Images = Liste();
  for (std::size_t I = 0; I < Images.size(); ++I)
    if (Name == Images[I].Action) return int(I);
  return -1;
}

void DessinerImageCommande(TCanvas* Canvas, int X, int Y, int Index) {
  TPeintre Peintre(Canvas, X, Y);
  if (Index < int(kNombreDessins)) {
    Peintre.Dessiner(kDessins[Index].Dessin);
    return;
  }
  const TSigle& Sigle = kSigles[std::size_t(Index - int(kNombreDessins))];
  Peintre.Livre(CouleurDictionnaire(Sigle.Action), Sigle.Lettres);
}

void AjouterImagesCommandes(TCustomImageList* Images) {
  // Drawn side by side on one strip, each clipped to its own square, and given to the list at
  // once, which cuts the strip into its images: added one at a time, the list's copies, masks and
  // growth cost twenty times the drawing.
  const int Count = NombreImagesCommandes();
  TBitmap Bande;
  Bande.SetPixelFormat(pf24bit);
  Bande.SetSize(16 * Count, 16);
  Bande.Canvas()->Brush()->SetColor(kFond);
  Bande.Canvas()->FillRect(TRect(0, 0, 16 * Count, 16));
  HDC DC = Bande.Canvas()->Handle();
  for (int Index = 0; Index < Count; ++Index) {
    IntersectClipRect(DC, 16 * Index, 0, 16 * Index + 16, 16);
    DessinerImageCommande(Bande.Canvas(), 16 * Index, 0, Index);
    SelectClipRgn(DC, nullptr);
  }
  Images->AddMasked(&Bande, kFond);
}
