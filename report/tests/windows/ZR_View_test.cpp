// Tests of the preview window on a prepared report of five pages: the buttons the application
// asks for, paging with the keys and the page buttons, the zoom menu (whole page, two pages, a
// scale), scrolling, a page reached by a link inside the report, and closing, which frees the
// window; a report without pages opens nothing.
#include <gtest/gtest.h>

#include "ZrWindowTestSupport.h"

namespace {

class ZrPreview : public ZrWindowTest {
 protected:
  String PageLabel() { return Preview->Label1->Caption(); }
};

TEST_F(ZrPreview, OpensOnTheFirstPageWithTheApplicationsButtons) {
  ASSERT_NE(OpenPreview(), nullptr);
  EXPECT_EQ(PageLabel(), "Page 1/5");
  EXPECT_TRUE(Preview->ZoomBtn->Visible());
  EXPECT_TRUE(Preview->SaveBtn->Visible());
  EXPECT_TRUE(Preview->PrintBtn->Visible());
  EXPECT_TRUE(Preview->FindBtn->Visible());
  EXPECT_TRUE(Preview->ExitBtn->Visible());
  EXPECT_FALSE(Preview->LoadBtn->Visible());
  EXPECT_FALSE(Preview->PageSetupBtn->Visible());
  EXPECT_FALSE(Preview->HelpBtn->Visible());
  EXPECT_TRUE(Preview->PrintBtn->Enabled()) << "the spooler lists the PDF printer";
  EXPECT_EQ(Report->EMFPages()->Count(), 0) << "the window holds the pages while it shows them";
  EXPECT_EQ(Preview->Pages()->Count(), 5);
  SaveScreenshot(Preview->Handle(), "preview");
}

TEST_F(ZrPreview, KeysAndPageButtonsMoveThroughThePages) {
  ASSERT_NE(OpenPreview(), nullptr);
  PressCombo(VK_CONTROL, VK_NEXT);
  EXPECT_EQ(PageLabel(), "Page 2/5");
  ClickControl(Preview->PgDown);
  EXPECT_EQ(PageLabel(), "Page 3/5");
  PressCombo(VK_CONTROL, VK_PRIOR);
  EXPECT_EQ(PageLabel(), "Page 2/5");
  ClickControl(Preview->PgUp);
  ClickControl(Preview->PgUp);
  EXPECT_EQ(PageLabel(), "Page 1/5") << "no page before the first";
  PressCombo(VK_CONTROL, VK_END);
  EXPECT_EQ(PageLabel(), "Page 5/5");
  EXPECT_EQ(Preview->VScrollBar->Position(), Preview->PageRect(4).Top - 10);
  int position = Preview->VScrollBar->Position();
  Press(VK_HOME);
  EXPECT_EQ(Preview->VScrollBar->Position(), position) << "Home alone is not the preview's";
  PressCombo(VK_CONTROL, VK_HOME);
  EXPECT_EQ(Preview->VScrollBar->Position(), 0);
  EXPECT_EQ(PageLabel(), "Page 1/5");
  Press(VK_DOWN);
  EXPECT_EQ(Preview->VScrollBar->Position(), 10);
  Press(VK_NEXT);
  EXPECT_EQ(Preview->VScrollBar->Position(), 210);
}

TEST_F(ZrPreview, TheZoomMenuLaysThePagesOut) {
  ASSERT_NE(OpenPreview(), nullptr);
  // Whole page ("Page &entière") from the menu the space bar opens.
  WhenMenuShows([] { PressKey('E'); });
  Press(VK_SPACE);
  ASSERT_TRUE(WaitFor("whole page", [&] { return Preview->ZoomMode == zmWholePage; }));
  const TzrPrintArea& area = Preview->Pages()->Pages(0).PrintArea;
  EXPECT_DOUBLE_EQ(Preview->Scale, double(Preview->Painter->Height() - 20) / area.PageHeight);
  EXPECT_EQ(Preview->PagesPerRow(), 1);
  EXPECT_TRUE(Preview->N2->Checked());
  EXPECT_EQ(Preview->ZoomBtn->Caption(), IntToStr(zrRound(Preview->Scale * 100)) + "%");
  // Two pages side by side, from the menu of the zoom button.
  WhenMenuShows([] { PressKey('D'); });
  ClickControl(Preview->ZoomBtn);
  ASSERT_TRUE(WaitFor("two pages", [&] { return Preview->ZoomMode == zmTwoPages; }));
  EXPECT_EQ(Preview->PagesPerRow(), 2);
  EXPECT_EQ(Preview->PageRect(0).Top, Preview->PageRect(1).Top);
  EXPECT_EQ(Preview->PageRect(1).Left, Preview->PageRect(0).Right + 10);
  EXPECT_GT(Preview->PageRect(2).Top, Preview->PageRect(0).Bottom);
  SaveScreenshot(Preview->Handle(), "preview-two-pages");
  // The next preview opens with the last zoom.
  EXPECT_EQ(zrLastScaleMode, zmTwoPages);
}

TEST_F(ZrPreview, AScaleWiderThanTheWindowScrollsAcross) {
  ASSERT_NE(OpenPreview(), nullptr);
  // 200 %, the popup's first item.
  WhenMenuShows([] {
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
  });
  Press(VK_SPACE);
  ASSERT_TRUE(WaitFor("200 %", [&] { return Preview->ZoomMode == zmScale && Preview->Scale == 2.0; }));
  int width = Preview->Pages()->Pages(0).PrintArea.PageWidth * 2;
  ASSERT_GT(width, Preview->Painter->Width());
  EXPECT_EQ(Preview->PagesPerRow(), 1);
  EXPECT_EQ(Preview->PageRect(0).Left, 10) << "a page wider than the view starts at the left";
  EXPECT_EQ(Preview->HScrollBar->Max(), width + 10 - Preview->Painter->Width() + 10);
  EXPECT_TRUE(Preview->HScrollBar->Enabled());
  Press(VK_RIGHT);
  EXPECT_EQ(Preview->OffsetX, -10);
}

TEST_F(ZrPreview, EscapeClosesAndFreesTheWindow) {
  ASSERT_NE(OpenPreview(), nullptr);
  HWND window = Preview->Handle();
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the window freed", [&] { return !IsWindow(window); }));
  for (int i = 0; i < Report->ComponentCount(); ++i)
    EXPECT_EQ(dynamic_cast<TzrPreviewForm*>(Report->Components(i)), nullptr);
  EXPECT_EQ(Report->EMFPages()->Count(), 0) << "the pages went with the window";
}

TEST_F(ZrPreview, APageOfNoSizeGivesABoundedZoom) {
  ASSERT_NE(OpenPreview(), nullptr);
  for (int i = 0; i < Preview->Pages()->Count(); ++i) Preview->Pages()->Pages(i).PrintArea = TzrPrintArea();
  for (int mode : {zmPageWidth, zmWholePage, zmTwoPages}) {
    Preview->ZoomMode = mode;
    Preview->Layout();
    EXPECT_TRUE(Preview->Scale >= 0.01 && Preview->Scale <= 10.0) << mode << ": " << Preview->Scale;
    EXPECT_GE(Preview->PagesPerRow(), 1);
  }
  EXPECT_TRUE(Painted(Preview));
}

// Records the pages an embedded preview reports.
class TPageLog : public TObject {
 public:
  std::vector<int> Pages;
  void Changed(TzrPreview*, int PageNo) { Pages.push_back(PageNo); }
};

TEST_F(ZrPreview, AnEmbeddedPanelShowsThePagesInsideItsForm) {
  TFormPtr<TForm> host(new TForm(nullptr));
  host->SetBounds(40, 40, 700, 600);
  auto* panel = new TzrPreview(host.get());
  panel->SetParent(host.get());
  panel->SetAlign(alClient);
  TPageLog log;
  panel->OnPageChanged = TEvent<void(TzrPreview*, int)>(&log, &TPageLog::Changed);
  host->Show();
  Report->SetPreview(panel);
  Report->ShowPreview();
  Activate(host.get());
  ASSERT_TRUE(Painted(host.get()));
  EXPECT_EQ(panel->Window()->PreviewPanel->Parent(), panel);
  EXPECT_EQ(panel->Window()->Pages()->Count(), 5);
  EXPECT_FALSE(panel->Window()->Visible()) << "only its panels show, inside the form";
  panel->Window()->PgDownClick(nullptr);
  EXPECT_EQ(panel->CurrentPage(), 2);
  EXPECT_EQ(log.Pages.back(), 2);
  // An export gives the pages back to the report for its duration.
  panel->ReleasePages();
  EXPECT_EQ(Report->EMFPages()->Count(), 5);
  Report->SetPreview(nullptr);
}

TEST_F(ZrPreview, NoPagesNoWindow) {
  Report->EMFPages()->Clear();
  Report->ShowPreview();
  EXPECT_EQ(Report->ComponentCount(), 0);
}

}  // namespace
