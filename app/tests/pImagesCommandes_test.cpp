// Tests of the command pictures: the image list holds each picture as it is drawn alone.
#include <gtest/gtest.h>

#include <string>

#include "Graphics.h"
#include "ImageList.h"
#include "pImagesCommandes.h"

namespace {

// A 16 x 16 bitmap filled with Colour.
void Carre(TBitmap& Image, TColor Colour) {
  Image.SetPixelFormat(pf24bit);
  Image.SetSize(16, 16);
  Image.Canvas()->Brush()->SetColor(Colour);
  Image.Canvas()->FillRect(TRect(0, 0, 16, 16));
}

// The list is made in one go from a strip of all the pictures: each of its images, drawn over a
// colour, shows exactly the picture drawn alone over the same colour (nothing of a neighbour, no
// part cut off, transparent where the picture draws nothing).
TEST(ImagesCommandes, EachImageOfTheListIsThePictureDrawnAlone) {
  TImageList Images(nullptr, 16, 16);
  AjouterImagesCommandes(&Images);
  ASSERT_EQ(Images.Count(), NombreImagesCommandes());
  const TColor Fond = TColor(RGB(255, 0, 255));
  for (int Index = 0; Index < Images.Count(); ++Index) {
    TBitmap Seule, DeLaListe;
    Carre(Seule, Fond);
    DessinerImageCommande(Seule.Canvas(), 0, 0, Index);
    Carre(DeLaListe, Fond);
    Images.Draw(DeLaListe.Canvas(), 0, 0, Index);
    std::string Ecarts;
    int Dessines = 0;
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) {
        const COLORREF Attendu = GetPixel(Seule.Canvas()->Handle(), X, Y);
        if (Attendu != COLORREF(Fond)) ++Dessines;
        if (GetPixel(DeLaListe.Canvas()->Handle(), X, Y) != Attendu && Ecarts.size() < 60)
          Ecarts += std::to_string(X) + "," + std::to_string(Y) + " ";
      }
    EXPECT_EQ(Ecarts, "") << ImageCommande(Index).Sujet;
    EXPECT_GT(Dessines, 20) << ImageCommande(Index).Sujet;
  }
}

}  // namespace
