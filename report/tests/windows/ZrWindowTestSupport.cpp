// This file implements the shared helpers of the report window tests.
#include "ZrWindowTestSupport.h"

#include <cstdio>

#include "Printers.h"
#include "ZR_Prntr.h"

namespace {

void CheckActive(const String& ClassName, std::shared_ptr<std::function<void(TCustomForm*)>> Work, DWORD Start) {
  if (TCustomForm* form = ActiveFormOf(ClassName)) {
    (*Work)(form);
    return;
  }
  if (GetTickCount() - Start > DWORD(kWaitLimit)) {
    ADD_FAILURE() << "no window " << ClassName << " became active";
    return;
  }
  Later([ClassName, Work, Start] { CheckActive(ClassName, Work, Start); }, 5);
}

void CheckMenu(std::shared_ptr<std::function<void()>> Work, DWORD Start) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (menu != nullptr && IsWindowVisible(menu)) {
    (*Work)();
    return;
  }
  if (GetTickCount() - Start > DWORD(kWaitLimit)) {
    ADD_FAILURE() << "no popup menu showed";
    return;
  }
  Later([Work, Start] { CheckMenu(Work, Start); }, 5);
}

}  // namespace

TCustomForm* ActiveFormOf(const String& ClassName) {
  HWND active = GetActiveWindow();
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->ClassName() == ClassName && f->HandleAllocated() && f->Handle() == active && IsWindowVisible(active))
      return f;
  }
  return nullptr;
}

void WhenActive(const String& ClassName, std::function<void(TCustomForm*)> Work) {
  auto work = std::make_shared<std::function<void(TCustomForm*)>>(std::move(Work));
  DWORD start = GetTickCount();
  Later([ClassName, work, start] { CheckActive(ClassName, work, start); });
}

void WhenMenuShows(std::function<void()> Work) {
  auto work = std::make_shared<std::function<void()>>(std::move(Work));
  DWORD start = GetTickCount();
  Later([work, start] { CheckMenu(work, start); });
}

void SaveScreenshot(HWND Window, const String& Name) {
  RECT r;
  GetWindowRect(Window, &r);
  TWindowDC dc(Window, TWindowDC::WholeWindow);
  SaveScreenshotOf(dc, 0, 0, r.right - r.left, r.bottom - r.top, Name);
}

void ZrWindowTest::SetUp() {
  ZrReportTest::SetUp();
  RegisterReportWindows();
  TzrPage* page = AddPage();
  AddBand(page, btReportTitle, 20, 60);
  TzrMemoView* title = AddMemo(page, "Nom", 40, 20, 600, 30, "[qZones.\"NOM\"]");
  title->Font()->SetSize(16);
  AddMemo(page, "Region", 40, 52, 300, 20, "Région : [qZones.\"REGION\"]"_a);
  AddBand(page, btPageFooter, 1000, 30);
  TzrMemoView* code = AddMemo(page, "Code", 500, 1000, 200, 20, "Zone [qZones.\"CODE\"]");
  code->Alignment = zrtaRight;
  Report->SetDataset(ZonesLink);
  Report->ReportType = rtMultiple;
  Report->ModalPreview = false;
  Report->PreviewButtons = TzrPreviewButtons{pbZoom, pbSave, pbPrint, pbFind, pbExit};
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 5);
}

void ZrWindowTest::TearDown() {
  // A preview left open is closed with the report that owns it.
  ZrReportTest::TearDown();
  PumpPending();
}

TzrPreviewForm* ZrWindowTest::OpenPreview() {
  Report->ShowPreview();
  Preview = nullptr;
  for (int i = 0; i < Report->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TzrPreviewForm*>(Report->Components(i))) Preview = p;
  EXPECT_NE(Preview, nullptr);
  if (Preview == nullptr) return nullptr;
  Activate(Preview);
  EXPECT_TRUE(Painted(Preview));
  return Preview;
}
