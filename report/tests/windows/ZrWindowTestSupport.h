// This file implements what the tests of the report engine's windows share: the report of the
// fixture with one page per wetland, shown in a preview; work run inside a modal window once it
// shows; screenshots of windows as PNG files; and the PDF printer's output read back.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ZrReportFixture.h"
#include "ZR_View.h"
// After the engine's headers: the API macros must not rename their members.
#include "PrintedPdfs.h"
#include "ScreenshotFiles.h"
#include "UiTestSupport.h"

// Runs Work inside the modal loop of the first form of class ClassName that becomes active (checked
// each time the loop has handled its messages; gives up after the wait limit).
void WhenActive(const String& ClassName, std::function<void(TCustomForm*)> Work);
// Runs Work inside the loop of the popup menu that shows next.
void WhenMenuShows(std::function<void()> Work);
// The active form when it is of that class, else nullptr.
TCustomForm* ActiveFormOf(const String& ClassName);

// Saves what a window shows now, frame included, as build/report/screenshots/NAME.png.
void SaveScreenshot(HWND Window, const String& Name);


// The fixture's report, one page per wetland with its name as title and its code at the bottom
// right; the preview is not modal and shows the application's buttons.
class ZrWindowTest : public ZrReportTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Shows the preview and waits until it is painted.
  TzrPreviewForm* OpenPreview();
  TzrPreviewForm* Preview = nullptr;
};
