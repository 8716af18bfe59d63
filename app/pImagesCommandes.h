// This file implements the pictures of the main window's commands: one 16 x 16 picture per command,
// drawn in code into an image list, that the menu's entries show beside their captions.
#pragma once

#include "Graphics.h"
#include "ImageList.h"

// The picture of each command, by the name of its action (the edit actions of both sets share one
// picture per command: "EditCut1" and "EditCut2" both take that of "EditCut").
struct TImageCommande {
  const char* Action;
  // What the picture shows, in one line (for a dictionary: the two letters on its book's cover).
  const char* Sujet;
};

// The command pictures in the order of the image list: index i of the list is ImageCommande(i).
// The list of active records is index 1, as the program has always shown it.
int NombreImagesCommandes();
const TImageCommande& ImageCommande(int Index);

// The index in the image list of the picture of the action named Action (an edit action's trailing
// digit is ignored); -1 when the action has none.
int IndexImageCommande(const String& Action);

// Adds every command picture to Images (16 x 16), in the order of kImagesCommandes.
void AjouterImagesCommandes(TCustomImageList* Images);

// Draws picture Index on Canvas at (X, Y), 16 x 16, over what is there (the background is left).
void DessinerImageCommande(TCanvas* Canvas, int X, int Y, int Index);
