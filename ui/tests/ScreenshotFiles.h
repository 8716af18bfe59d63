// This file implements screenshots for the GUI tests: pixels copied from a device context and
// saved as PNG files in the folder "screenshots" beside the test program, for a person to look at
// after a run (the tests check pixels themselves).
#pragma once

#include <string>
#include <vector>

#include "AnsiString.h"
#include "WinApi.h"

// A PNG of Width x Height pixels (0x00BBGGRR, rows top first), RGB, compressed with stored blocks
// only.
std::string EncodePng(int Width, int Height, const std::vector<COLORREF>& Pixels);
// Writes the pixels as NAME.png in the folder "screenshots" beside the test program.
void WriteScreenshotPng(const String& Name, int Width, int Height, const std::vector<COLORREF>& Pixels);
// Saves Width x Height pixels of Source from (X, Y) on as NAME.png (nothing when empty).
void SaveScreenshotOf(HDC Source, int X, int Y, int Width, int Height, const String& Name);
