// This file implements what the rich-text tests share: a shown form holding a rich-text control
// with a modal script in place, content loaded and read back as RTF, and screenshots saved as PNG
// files in "screenshots" beside the test program.
#pragma once

#include <gtest/gtest.h>

#include "Streams.h"

#include "UiTestSupport.h"
#include "qvriched.h"

// Loads RTF (or text) into a rich edit through its Lines, and reads its content back as RTF.
void LoadRich(TqvCustomRichEdit* Edit, const String& Content);
String SaveRich(TqvCustomRichEdit* Edit);
// The selection, from Start, Length characters long.
void SelectRange(TqvCustomRichEdit* Edit, int Start, int Length);
// The text of the window, paragraphs ending with "\r" as the window counts them.
String WindowText(TqvCustomRichEdit* Edit);

// Saves what a window shows now (frame included) as NAME.png.
void SaveScreenshot(HWND Window, const String& Name);

// A shown, active form with one data-aware rich edit (no field), freed at the end of the test;
// unexpected questions fail it.
class RichFormTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override;
  void TearDown() override;
  void ShowForm();
  TModalScript Script;
  TFormPtr<TForm> Form;
  TqvDBRichEdit* Edit = nullptr;
};
