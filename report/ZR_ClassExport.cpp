// This file implements the base behaviour of the export filters (every hook does nothing) and the
// export run of a report: the filter's options, the target written through a temporary file, and
// the walk of the prepared pages that hands every object to the filter.
#include "ZR_ClassExport.h"

#include <memory>
#include <random>

#include "FileUtils.h"
#include "OsPort.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassView.h"
#include "ZR_ClassWindows.h"
#include "ZR_Utils.h"
// The class library's windows come last: the API macros they bring do not reach the declarations
// above.
#include "Forms.h"

VELBOR_IMPLEMENT_CLASS(TzrExportFilter)
VELBOR_PUBLISHED(TzrExportFilter,
  Prop("Default", &Self::Default).Default(false),
  Prop("ShowDialog", &Self::ShowDialog).Default(true),
  Prop("OnBeforeExport", &Self::OnBeforeExport),
  Prop("OnAfterExport", &Self::OnAfterExport))

TzrExportFilter::TzrExportFilter(TComponent* AOwner) : TComponent(AOwner) {}

TzrExportFilter::~TzrExportFilter() { FreePageLines(); }

void TzrExportFilter::FreePageLines() {}
int TzrExportFilter::ShowOptionsDialog() { return 1; }
void TzrExportFilter::StartExport() {}
void TzrExportFilter::FinishExport() {}
void TzrExportFilter::StartPage() {}
void TzrExportFilter::FinishPage() {}
void TzrExportFilter::ExportObject(int, int, TzrView*) {}
void TzrExportFilter::ExportText(const TRect&, int, TzrView*, int, const String&, int) {}
void TzrExportFilter::AbandonExport() { FreePageLines(); }

namespace {

// A file beside Target that no other run uses.
String TemporaryName(const String& Target) {
  static std::mt19937 random{std::random_device()()};
  for (;;) {
    String name = Target + ".~" + IntToHex(int(random() & 0xFFFFFF), 6);
    if (!FileExists(name)) return name;
  }
}

}  // namespace

void TzrReport::ExportToFile(TzrExportFilter* Filter, const String& AFileName) {
  if (Filter == nullptr) return;
  zrEngine.Running = true;
  CurrentFilter = Filter;
  Filter->FileName = AFileName;
  bool disconnected = FPreview != nullptr && FEMFPages->Count() == 0;
  if (disconnected) ConnectPreviewPanel(false);
  TScopeGuard restore([&] {
    CurrentFilter = nullptr;
    Filter->Stream = nullptr;
    if (disconnected) ConnectPreviewPanel(true);
  });
  bool go = true;
  if (Filter->OnBeforeExport) Filter->OnBeforeExport(Filter->FileName, go);
  if (!go) return;
  if (Filter->ShowOptionsDialog() != mrOk) return;

  const String target = Filter->FileName;
  const String temporary = TemporaryName(target);
  Terminated = false;
  {
    // Created before any hook runs: a target that cannot be written raises here.
    auto file = std::make_unique<TFileStream>(temporary, fmCreate);
    bool written = false;
    TScopeGuard discard([&] {
      if (written) return;
      Filter->Stream = nullptr;
      Filter->AbandonExport();
      file.reset();
      DeleteFile(temporary);
    });
    Filter->Stream = file.get();
    MakeCurrent(true);
    zrEngine.TotalPages = FEMFPages->Count();
    Filter->StartExport();
    TzrProgressWindow* progress = ProgressWindow();
    if (progress == nullptr) {
      ExportPages(nullptr);
    } else {
      String caption = EngineString(55203);
      if (!Title.empty()) caption += " - " + Title;
      progress->SetCaption(caption);
      progress->SetProgressText(EngineString(55205));
      progress->SetLabelText(EngineString(55205) + " 1");
      progress->SetStep(TNotifyEvent(this, &TzrReport::ExportPages));
      FProgress = progress;
      TScopeGuard shown([this] { FProgress = nullptr; });
      progress->Run(this);
    }
    Filter->Stream = nullptr;
    file.reset();
    written = true;
  }
  // The target is replaced only now, whole.
  if (!OsPort::RenameFile(temporary, target, true)) {
    DeleteFile(temporary);
    throw EFCreateError("Impossible de créer le fichier "_a + target);
  }
  if (Filter->OnAfterExport) Filter->OnAfterExport(Filter->FileName);
}

void TzrReport::ExportPages(TObject*) {
  TScopeGuard close([this] {
    if (FProgress != nullptr) FProgress->SetModalResult(mrOk);
  });
  TzrExportFilter* filter = CurrentFilter;
  Application->ProcessMessages();
  for (int i = 0; i < FEMFPages->Count() && !Terminated; ++i) {
    filter->StartPage();
    FEMFPages->ExportPage(i);
    UpdateProgress(i + 1);
    Application->ProcessMessages();
    filter->FinishPage();
  }
  filter->FinishExport();
}
