// This file implements the build of a report page: the band walk over the data (headers, data rows
// on three levels, groups, footers), page and column breaks, page footers, and the recording and
// play-back of sub-report pages.
#include <algorithm>

#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "ZR_ClassPage.h"
#include "ZR_ClassReport.h"
#include "ZR_DBSet.h"
#include "ZR_DSet.h"

namespace {

constexpr int kDataKinds[3] = {btMasterDataKind, btDetailDataKind, btSubDetailDataKind};

bool Exists(TzrBand* Band) {
  return Band != nullptr && (Band->View != nullptr || (Band->Kind == btNoneKind && !Band->Objects.empty()));
}

}  // namespace

int TzrPage::ColumnFooterHeight() const {
  TzrBand* footer = FBands[btColumnFooter];
  if (IgnoreColumnFooter || footer == nullptr || footer->View == nullptr) return 0;
  return footer->Height;
}

void TzrPage::ShowBand(TzrBand* Band) {
  if (!Exists(Band)) return;
  if (Mode == pmBuildList) {
    FRecords.push_back({Band, raPrint});
    return;
  }
  Band->PrintBand();
}

void TzrPage::ShowBandByName(const String& BandName) {
  if (TzrBand* band = FindBand(BandName)) band->PrintBand();
}

void TzrPage::Queue(TzrBand* Band) {
  if (Exists(Band)) FQueue.push_back(Band);
}

void TzrPage::PrintQueue() {
  std::vector<TzrBand*> queue;
  queue.swap(FQueue);
  for (TzrBand* band : queue) ShowBand(band);
}

void TzrPage::BuildPage() {
  TzrReport* report = Report;
  TzrBand* master = FBands[btMasterDataKind];

  if (!report->PrintIfEmpty) {
    bool empty = true;
    if (master != nullptr && master->View != nullptr && master->DataSource != nullptr) {
      try {
        master->DataSource->First();
        empty = master->DataSource->Eof();
      } catch (const Exception&) {
        empty = true;
      }
    }
    if (empty) {
      if (report->Append) ++report->PageNo;
      return;
    }
  }

  if (Mode == pmNormal) {
    DisableRepeatHeader = false;
    try {
      ExecuteScript(Script());
    } catch (const Exception& E) {
      ReportBuildError(E);
      return;
    }
    if (report->Append && report->AppendY == report->AppendBottom) {
      report->Append = false;
      report->PageNo = report->EMFPages()->Count();
    }
    CurBottomY = report->Append && report->AppendFooterPrinted ? report->AppendBottom : BottomOffset();
    CurColumn = 0;
    XAdjust = LeftOffset();
    if (report->Append) {
      CurY = report->AppendY;
      ColumnTop = CurY;
    } else {
      report->EMFPages()->Add(this);
      CurY = TopOffset();
      ColumnTop = CurY;
      ShowBand(FBands[btOverlay]);
      ShowBand(FBands[btNoneKind]);
    }
    if (!report->OnManualBuild) {
      int pages = report->EMFPages()->Count();
      ShowBand(FBands[btReportTitle]);
      if (report->EMFPages()->Count() == pages) {
        TzrBand* header = FBands[btPageHeader];
        if (Exists(header) && (header->Flags & zrbfOnFirstPage)) ShowBand(header);
        ColumnTop = CurY;
        ShowBand(FBands[btColumnHeader]);
      }
    }
  }

  if (!report->OnManualBuild) {
    DeepestLevel = 0;
    for (int level = 1; level <= 3; ++level)
      if (FBands[std::size_t(kDataKinds[level - 1])] != nullptr && FBands[std::size_t(kDataKinds[level - 1])]->View != nullptr)
        DeepestLevel = level;
    if (DeepestLevel > 0) DoLoop(1);
  }

  if (Mode == pmNormal) {
    int pageBeforeSummary = report->PageNo;
    if (report->OnManualBuild) {
      report->OnManualBuild(this);
    } else {
      DisableRepeatHeader = true;
      ShowBand(FBands[btColumnFooter]);
      pageBeforeSummary = report->PageNo;
      IgnoreColumnFooter = true;
      ShowBand(FBands[btReportSummary]);
      IgnoreColumnFooter = false;
      DisableRepeatHeader = false;
    }
    report->AppendY = CurColumn > 0 ? CurBottomY : CurY;
    report->AppendBottom = CurBottomY;
    CurColumn = 0;
    XAdjust = LeftOffset();
    if (!report->OnManualBuild) {
      TzrBand* footer = FBands[btPageFooter];
      int flags = Exists(footer) ? footer->Flags : 0;
      if ((report->PageNo == 0 && (flags & zrbfOnFirstPage)) || (flags & zrbfOnLastPage)) {
        int saved = footer->Flags;
        footer->Flags |= zrbfOnFirstPage;
        ShowPageFooters();
        footer->Flags = saved;
        report->AppendFooterPrinted = true;
      } else {
        report->AppendFooterPrinted = false;
      }
    }
    if (report->OnEndPage) report->OnEndPage(report->PageNo);
    TzrReport* main = zrEngine.MainReport;
    if (main != nullptr && main != report && main->OnEndPage) main->OnEndPage(report->PageNo);
    report->PageNo = pageBeforeSummary + 1;
  }
  LastBand = nullptr;
}

void TzrPage::DoLoop(int Level) {
  TzrReport* report = Report;
  for (TzrBand* band = FBands[std::size_t(kDataKinds[Level - 1])]; band != nullptr; band = band->Next) {
    if (band->View == nullptr || band->DataSource == nullptr) continue;
    TzrDataset* source = band->DataSource;
    source->First();
    if (Mode == pmBuildList) {
      FRecords.push_back({band, raFirst});
    } else {
      band->LocalLine = 1;
      band->RunningLine = 1;
    }
    for (TzrBand* g = band->FirstGroup; g != nullptr; g = g->NextGroup) {
      g->LocalLine = 0;
      g->RunningLine = 0;
    }
    if (!source->Eof()) {
      Queue(band->Header);
      for (TzrBand* g = band->FirstGroup; g != nullptr; g = g->NextGroup) {
        ++g->LocalLine;
        ++g->RunningLine;
        Queue(g);
      }
      if (band->Footer != nullptr) band->Footer->InitValues();
    }
    while (!source->Eof() && !report->Terminated) {
      Queue(band);
      if (band->PrintIfSubsetEmpty) PrintQueue();
      bool printed = true;
      if (Level < DeepestLevel) {
        DoLoop(Level + 1);
        if (!FQueue.empty()) {
          if (band->PrintIfSubsetEmpty) {
            PrintQueue();
          } else {
            FQueue.pop_back();
            printed = false;
          }
        }
      } else {
        PrintQueue();
      }
      source->Next();
      for (TzrBand* g = band->FirstGroup; g != nullptr; g = g->NextGroup) {
        bool atEnd = source->Eof();
        bool breaks = atEnd || VarIsEmpty(g->GroupValue) || VarIsNull(g->GroupValue);
        if (!breaks) {
          Variant value = g->GroupCondition.empty() ? Variant() : zrGlobals().Parser()->Evaluate(g->GroupCondition);
          breaks = !(value == g->GroupValue);
        }
        if (!breaks) continue;
        // The footers print with the group's last record: step back onto it. A source over a
        // dataset still stands on its last record at its end, so it needs no step there.
        bool steppedBack = false;
        if (!(atEnd && dynamic_cast<TzrDBDataSet*>(source) != nullptr)) {
          try {
            source->Prior();
            steppedBack = true;
          } catch (const Exception&) {
            steppedBack = false;
          }
        }
        for (TzrBand* inner = band->LastGroup; inner != nullptr && inner != g; inner = inner->PrevGroup) {
          Queue(inner->Footer);
          inner->LocalLine = 0;
          inner->RunningLine = 0;
        }
        Queue(g->Footer);
        PrintQueue();
        if (atEnd) {
          if (steppedBack) source->Next();
          break;
        }
        if (steppedBack) source->Next();
        if ((g->Flags & zrbfFormNewPage) && g->Visible && Mode == pmNormal) NewPage();
        for (TzrBand* h = g; h != nullptr; h = h->NextGroup) {
          ++h->LocalLine;
          ++h->RunningLine;
          Queue(h);
        }
        band->LocalLine = 0;
        break;
      }
      if (Mode == pmBuildList) {
        FRecords.push_back({band, raNext});
      } else if (printed) {
        ++CurrentRecord;
        ++band->RunningLine;
        ++band->LocalLine;
        if (!source->Eof() && band->FormNewPage && band->Visible) NewPage();
      }
    }
    if (!FQueue.empty())
      FQueue.pop_back();
    else
      ShowBand(band->Footer);
  }
}

void TzrPage::NewPage() {
  TzrReport* report = Report;
  report->UpdateProgress(report->PageNo + 1);
  if (!DisableRepeatHeader) ShowBand(FBands[btColumnFooter]);
  ShowPageFooters();
  CurBottomY = BottomOffset();
  report->EMFPages()->Add(this);
  report->Append = false;
  ShowBand(FBands[btOverlay]);
  CurY = TopOffset();
  ColumnTop = CurY;
  ShowBand(FBands[btPageHeader]);
  ColumnTop = CurY;
  ShowBand(FBands[btColumnHeader]);
}

void TzrPage::NewColumn(TzrBand* Band) {
  if (CurColumn < Columns - 1) {
    ShowBand(FBands[btColumnFooter]);
    ++CurColumn;
    XAdjust += ColumnWidth + ColumnGap;
    CurY = ColumnTop;
    ShowBand(FBands[btColumnHeader]);
  } else {
    NewPage();
  }
  if (Band == nullptr || DisableRepeatHeader) return;
  // Headers of the groups the band belongs to, and its own header, again at the top.
  TzrBand* data = Band->IsDataBand() ? Band : (Band->Kind == btGroupHeader ? Band->DataBand : nullptr);
  // Printed again as a repeat: the kept values of the group conditions stay.
  auto repeat = [this](TzrBand* Header) {
    Header->RepeatPrint = true;
    TScopeGuard done([Header] { Header->RepeatPrint = false; });
    ShowBand(Header);
  };
  if (data != nullptr)
    for (TzrBand* g = data->FirstGroup; g != nullptr && g != Band; g = g->NextGroup)
      if (g->Flags & zrbfRepeatHeader) repeat(g);
  if (Band->IsDataBand() && Band->Header != nullptr && (Band->Header->Flags & zrbfRepeatHeader)) repeat(Band->Header);
  zrEngine.CurBand = Band;
}

void TzrPage::ShowPageFooters() {
  TzrReport* report = Report;
  CurColumn = 0;
  XAdjust = LeftOffset();
  TzrBand* footer = FBands[btPageFooter];
  int flags = Exists(footer) ? footer->Flags : 0;
  if (report->PageNo != 0 || (flags & zrbfOnFirstPage)) {
    while (report->PageNo < report->EMFPages()->Count()) {
      if (!(report->Append && report->AppendFooterPrinted)) {
        if (report->OnEndPage) report->OnEndPage(report->PageNo);
        TzrReport* main = zrEngine.MainReport;
        if (main != nullptr && main != report && main->OnEndPage) main->OnEndPage(report->PageNo);
        ShowBand(footer);
      }
      ++report->PageNo;
    }
  }
  report->PageNo = report->EMFPages()->Count();
}

bool TzrPage::PlayRecords() {
  for (; PlayFrom < int(FRecords.size()); ++PlayFrom) {
    const TRecord& record = FRecords[std::size_t(PlayFrom)];
    TzrBand* band = record.Band;
    switch (record.Action) {
      case raPrint:
        if (PendingBand != nullptr) {
          TzrBand* pending = PendingBand;
          PendingBand = nullptr;
          if (pending->SubReportsPending && pending->PrintBand()) return true;
        }
        if (band->PrintBand()) return true;
        break;
      case raFirst:
        if (band->DataSource != nullptr) band->DataSource->First();
        band->LocalLine = 1;
        break;
      case raNext:
        if (band->DataSource != nullptr) band->DataSource->Next();
        ++CurrentRecord;
        ++band->RunningLine;
        ++band->LocalLine;
        break;
    }
  }
  return false;
}
