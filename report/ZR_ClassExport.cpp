// This file implements the base behaviour of the export filters: every hook does nothing.
#include "ZR_ClassExport.h"

#include "ZR_ClassView.h"

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
