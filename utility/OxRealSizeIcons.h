// This file implements drawing icons at the size stored in the icon itself rather than at the
// system's icon size: re-reading an icon from its own file image, choosing the image that suits the
// display, building a system icon of that image's real size, measuring an icon, and drawing the
// picture of a lookup row in a box.
#pragma once

#include <cstdint>

#include "Graphics.h"

class TStream;

// A new icon handle (the caller destroys it) made from the image of Icon's file that suits the
// display, at its stored size. A stream of type 0 gives the system's application icon; any type
// other than 1 a copy of Icon's handle. EOutOfResources "Ressources système insuffisantes" when the
// system cannot make the bitmaps or the icon.
HICON IconAtStoredSize(TIcon* Icon);
// The size of an icon's colour bitmap (or of its mask's upper half); the system icon size when
// neither can be read.
void MeasureIcon(HICON IconHandle, int& Width, int& Height);
// Reads ImageCount directory entries from Stream (just after the 6-byte header, which started at
// StartOffset), then the chosen image, and makes IconHandle from it.
void ReadIconImage(TStream* Stream, HICON& IconHandle, int ImageCount, int StartOffset);
// Bytes of a bitmap scan line of Bits bits, rounded up to 32 bits.
inline int ScanLineBytes(int Bits) { return ((Bits + 31) / 32) * 4; }

// The colour word an icon entry should carry for the screen: 2, 16 or 256 for 1, 4 and 8 bits per
// pixel, 0 for 16 and 24, 1 for 32.
int DisplayColorWord();
// The directory entry chosen for a display of DisplayColors, from each entry's colour word (the
// colour count and reserved bytes): the first equal to it; else the first at most it, replaced by
// any later one above that first's word; else the first entry.
int PickIconImage(const std::uint16_t* ColorWords, int Count, int DisplayColors);

// Draws a row's picture centred in Box and clipped to it: a bitmap with its transparent colour, an
// icon at its real size, any other graphic as the canvas draws it.
void DrawRowImage(TCanvas* Canvas, const TRect& Box, TGraphic* Graphic);

// The clipboard format of icons (an icon's file image), registered by name with the system and,
// for TIcon, with the picture class; RegisterOxRealSizeIcons registers it at start-up.
inline constexpr const char* OxIconClipboardFormatName = "Velbor Icon";
UINT OxIconClipboardFormat();
void RegisterOxRealSizeIcons();
