// This file implements the printing of one band: events and script, pending breaks, the fit test,
// stretching, splitting across pages, band columns, sub-reports, cross-tab columns and the
// aggregate accumulators.
#include "ZR_ClassBand.h"

#include <algorithm>
#include <map>

#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "Streams.h"
#include "ZR_ClassFunctions.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassPage.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassViews.h"
#include "ZR_DSet.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrBand)

namespace {

constexpr char kKeySeparator = '\x01';
// A height no page holds: the fit test then always breaks.
constexpr int kUnreachable = 1000000000;

// Keys of cross-tab bands carry the column as a first field: five fields instead of four.
bool IsCrossKey(const String& Key) { return std::count(Key.begin(), Key.end(), kKeySeparator) == 5; }

// Tells every object that listens to printed memos (listed when its page was compiled).
void NotifyPrintListeners(TzrView* Memo) {
  TList* listeners = zrGlobals().ScratchObjects();
  for (int i = 0; i < listeners->Count(); ++i) static_cast<TzrView*>(listeners->Items(i))->MemoPrinted(Memo);
}

}  // namespace

String AggregateKeyField(const String& Key, int N) {
  std::size_t start = 0;
  for (int field = 1;; ++field) {
    std::size_t end = Key.find(kKeySeparator, start);
    if (end == String::npos) return String();
    if (field == N) return Key.substr(start, end - start);
    start = end + 1;
  }
}

TzrBand::TzrBand(int AKind, TzrPage* APage)
    : Kind(AKind),
      Page(APage),
      Values(std::make_unique<TzrVariables>()),
      Lines(std::make_unique<TStringList>()),
      Script(std::make_unique<TStringList>()) {}

TzrBand::~TzrBand() {
  ReleaseDataSets();
  // Freeing the first band frees its chain, one band at a time (no recursion over long chains).
  TzrBand* next = Next;
  Next = nullptr;
  while (next != nullptr) {
    TzrBand* after = next->Next;
    next->Next = nullptr;
    delete next;
    next = after;
  }
}

bool TzrBand::IsDataBand() const {
  return Kind == btMasterDataKind || Kind == btDetailDataKind || Kind == btSubDetailDataKind;
}

bool TzrBand::IsFixedBand() const { return Kind == btPageFooter || Kind == btOverlay || Kind == btNoneKind; }

bool TzrBand::HasCross() {
  if (Kind >= btCrossHeader && Kind <= btCrossFooterKind) return false;
  for (TzrView* v : Objects)
    if (v->CrossBand != nullptr) return true;
  return false;
}

// ---- Data sources

void TzrBand::AssignDataSource(const String& Text) {
  if (Kind == btGroupHeader) {
    GroupCondition = Trim(Text).empty() ? String() : zrGlobals().Parser()->ConvertToPostfix(Text);
    return;
  }
  if (!Trim(Text).empty() && Text.find(';') == String::npos) ResolveDataSource(Trim(Text), DataSource, OwnsDataSource);
  TzrReport* report = Page->Report;
  if (Kind == btMasterDataKind && DataSource == nullptr && View != nullptr && report != nullptr &&
      report->ReportType == rtSimple && report->Dataset() != nullptr) {
    DataSource = report->Dataset();
    OwnsDataSource = false;
    DataSource->OpenSource();
  }
}

void TzrBand::ReleaseDataSets() {
  auto release = [](TzrDataset*& Source, bool& Owned) {
    TzrDataset* s = Source;
    bool owned = Owned;
    Source = nullptr;
    Owned = false;
    if (s == nullptr) return;
    // An owned source goes even when closing it fails.
    TScopeGuard free([s, owned] {
      if (owned) delete s;
    });
    s->CloseSource();
  };
  release(DataSource, OwnsDataSource);
  release(CrossDataSource, OwnsCrossDataSource);
}

// ---- Printing

bool TzrBand::PrintBand() {
  TzrReport* report = Page->Report;
  bool savedSplit = SplitMode;
  zrEngine.CurBand = this;
  zrEngine.CurView = View;
  CalculatedHeight = -1;
  PendingNewPages = 0;
  PendingNewColumns = 0;
  if (report->OnBeginBand) report->OnBeginBand(this);
  bool result = false;

  // A row of band columns left open by another band is closed first.
  TzrBand* last = Page->LastBand;
  if (last != nullptr && last != this && last->ColumnCounter > 1) {
    Page->XAdjust = last->SavedXAdjust;
    Page->CurY += std::max(last->CalculatedHeight, last->Height);
    last->ColumnCounter = 1;
  }

  KeepPosition = false;
  if (!ScriptDone && Script->Count() > 0) {
    try {
      zrGlobals().Interpreter()->RunScript(Script.get());
    } catch (const Exception& E) {
      ReportBuildError(E);
    }
  }
  ScriptDone = false;
  zrEngine.CurBand = this;
  if (report->Terminated) {
    SplitMode = savedSplit;
    return false;
  }

  int yBefore = Page->CurY;
  for (int i = 0; i < PendingNewPages; ++i) {
    Page->CurColumn = Page->Columns - 1;
    Page->NewColumn(this);
  }
  for (int i = 0; i < PendingNewColumns; ++i) Page->NewColumn(this);
  if (KeepPosition) Page->CurY = yBefore;
  zrEngine.CurBand = this;

  bool exists = View != nullptr || (Kind == btNoneKind && !Objects.empty());
  if (Visible) {
    if (Kind == btColumnHeader) Page->ColumnTop = Page->CurY + Height;
    if (Kind == btPageFooter) Top = Page->CurBottomY;
    if (exists) {
      CalculatedHeight = std::max(CalculatedHeight, Height);
      if (!IsFixedBand() && Kind != btColumnFooter) {
        CalcHeight();
        if (Page->CurY + CalculatedHeight > Page->CurBottomY && !SplitMode) {
          int footer = Page->ColumnFooterHeight();
          bool fitsEmptyPage = CalculatedHeight <= Page->CurBottomY - footer - Page->ColumnTop;
          bool pageEmpty = Page->CurY <= Page->ColumnTop;
          if (fitsEmptyPage || !pageEmpty) {
            if (Page->Skip) {
              if (report->OnEndBand) report->OnEndBand(this);
              SplitMode = savedSplit;
              return true;
            }
            CheckPageBreak(Page->CurY, kUnreachable, false);
            zrEngine.CurBand = this;
            result = true;
          } else {
            SplitMode = true;
          }
        }
      }
      if (IsDataBand() && DataSource != nullptr && Next != nullptr && Next->DataSource == nullptr) {
        for (TzrBand* b = this; b != nullptr; b = b->Next) {
          if (b != this && b->DataSource != nullptr) break;
          if (b->Visible) b->DoPrint();
        }
      } else {
        DoPrint();
        if (Child != nullptr) Child->PrintBand();
        zrEngine.CurBand = this;
        if (!IsDataBand() && Kind != btGroupHeader && FormNewPage && Visible) Page->NewPage();
      }
      if (SubReportsPending) result = true;
    }
  } else {
    if (PrintChildIfInvisible && Child != nullptr) Child->PrintBand();
    if (IsDataBand()) DoAggregate();
  }

  if (!RepeatPrint && (Kind != btPageFooter || report->PageNo >= report->EMFPages()->Count() - 1)) InitValues();
  if (report->OnEndBand) report->OnEndBand(this);
  SplitMode = savedSplit;
  return result;
}

bool TzrBand::CheckPageBreak(int Y, int AHeight, bool Dry) {
  if (Kind == btColumnFooter) return false;
  if (Page->CurBottomY >= Y + AHeight + Page->ColumnFooterHeight()) return false;
  if (!Dry) Page->NewColumn(this);
  return true;
}

void TzrBand::CalcHeight() {
  int h;
  if (IsDataBand() && DataSource != nullptr && Next != nullptr && Next->DataSource == nullptr) {
    h = 0;
    for (TzrBand* b = this; b != nullptr; b = b->Next) {
      if (b != this && b->DataSource != nullptr) break;
      h += b->CalcStretchHeight();
    }
  } else {
    h = Stretched ? CalcStretchHeight() : Height;
  }
  CalculatedHeight = std::max(CalculatedHeight, h);
}

int TzrBand::CalcStretchHeight() {
  int h = Height;
  TzrReport* report = Page->Report;
  if (HasCross() && Kind != btPageFooter) {
    TzrBand* crossData = Page->Bands(btCrossDataKind);
    TzrDataset* source = CrossDataSource != nullptr ? CrossDataSource : crossData->DataSource;
    Page->ColumnPosition = 1;
    report->DoBeginColumn(this);
    if (source != nullptr)
      for (source->First(); !source->Eof() && !report->Terminated; source->Next()) {
        int width = crossData->Width;
        report->DoPrintColumn(Page->ColumnPosition, width);
        for (TzrView* v : Objects) {
          if (v->CrossBand == nullptr || !(v->Flags & 1)) continue;
          if (auto* s = dynamic_cast<TzrStretcheable*>(v)) h = std::max(h, v->Top + s->CalcHeight());
        }
        ++Page->ColumnPosition;
      }
    return h;
  }
  for (TzrView* v : Objects) {
    if (v->CrossBand != nullptr || !(v->Flags & 1)) continue;
    if (auto* s = dynamic_cast<TzrStretcheable*>(v)) {
      zrEngine.CurBand = this;
      h = std::max(h, v->Top + s->CalcHeight());
    }
  }
  return h;
}

void TzrBand::StretchObjects(int MaxHeight) {
  FSavedHeights.clear();
  for (TzrView* v : Objects) {
    FSavedHeights.push_back(v->Height);
    if ((v->Flags & 1) && v->Height > 0) v->Height = MaxHeight - v->Top;
  }
}

void TzrBand::UnstretchObjects() {
  for (std::size_t i = 0; i < Objects.size() && i < FSavedHeights.size(); ++i) Objects[i]->Height = FSavedHeights[i];
  FSavedHeights.clear();
}

void TzrBand::DoPrint() {
  if (View == nullptr && !(Kind == btNoneKind && !Objects.empty())) return;
  zrEngine.CurBand = this;
  int designedTop = Top;
  bool movable = !IsFixedBand();
  bool subReports = false;
  if (CalculatedHeight < 0) CalculatedHeight = Height;
  if (Stretched) {
    StretchObjects(CalculatedHeight);
    PrintedHeight = CalculatedHeight;
    {
      TScopeGuard unstretch([&] {
        UnstretchObjects();
        Top = designedTop;
      });
      if (!SplitMode) {
        CheckPageBreak(Page->CurY, CalculatedHeight, false);
        zrEngine.CurBand = this;
        if (movable) Top = Page->CurY;
      }
      if (SplitMode) {
        if (movable) Top = Page->CurY;
        DrawPageBreak();
      } else {
        subReports = DrawObjects();
        if (HasCross()) DrawCross();
      }
      // The band's place stays until its columns are settled below.
      unstretch.Dismiss();
      UnstretchObjects();
    }
    if (!subReports && !SplitMode) Page->CurY += CalculatedHeight;
  } else {
    if (movable) {
      if (!SplitMode) {
        CheckPageBreak(Page->CurY, Height, false);
        zrEngine.CurBand = this;
      }
      Top = Page->CurY;
    }
    if (SplitMode) {
      PrintedHeight = CalculatedHeight;
      DrawPageBreak();
    } else {
      PrintedHeight = Height;
      subReports = DrawObjects();
      if (HasCross()) DrawCross();
      if (movable && !subReports) Page->CurY += Height;
    }
  }

  // Band columns: records side by side, NewColumnAfter records per column.
  if (Page->LastBand != this) ColumnCounter = 1;
  Page->LastBand = this;
  if (View != nullptr && View->Columns > 1 && View->NewColumnAfter == 1) {
    if (ColumnCounter == 1) SavedXAdjust = Page->XAdjust;
    ++ColumnCounter;
    if (ColumnCounter > View->Columns) {
      Page->XAdjust = SavedXAdjust;
      ColumnCounter = 1;
    } else {
      Page->XAdjust = SavedXAdjust + (View->ColumnWidth + View->ColumnGap) * (ColumnCounter - 1);
      Page->CurY -= std::max(CalculatedHeight, Height);
    }
  }
  Top = designedTop;
  if (IsDataBand()) DoAggregate();
}

bool TzrBand::DrawObjects() {
  TzrReport* report = Page->Report;
  for (TzrView* v : Objects) {
    if (report->Terminated) break;
    if (v->ObjectKind == zrKindSubReport) {
      if (!v->Visible) continue;
      SubReportLimit = std::max(0, Page->CurY + Height);
      StartSubReports();
      bool broke = PrintSubReports();
      if (!broke && Page->CurY < SubReportLimit) Page->CurY = SubReportLimit;
      return true;
    }
    DrawObject(v);
  }
  return false;
}

void TzrBand::DrawObject(TzrView* View) {
  // Cross-tab cells print with their columns (DrawCross), not with the row.
  if (View->CrossBand != nullptr && !(Kind >= btCrossHeader && Kind <= btCrossFooterKind)) return;
  TzrReport* report = Page->Report;
  auto* memo = dynamic_cast<TzrMemoView*>(View);
  zrEngine.CurBand = this;
  if (!zrEngine.FirstPassRunning || SplitMode) {
    TzrEMFPages* pages = report->EMFPages();
    if (report->PageNo < 0 || report->PageNo >= pages->Count()) return;
    // A memo split over pages is announced with its first part only.
    bool part = memo != nullptr && memo->RenderPhase == zrDrawPart;
    bool announce = memo != nullptr && (!part || std::find(FAnnounced.begin(), FAnnounced.end(), View) == FAnnounced.end());
    int savedLeft = View->Left;
    int savedTop = View->Top;
    int savedWidth = View->Width;
    int savedHeight = View->Height;
    View->Left += Page->XAdjust - Page->LeftOffset();
    View->Top += Top;
    View->Parent = this;
    try {
      TMemoryStream* stream = pages->Pages(report->PageNo).Stream.get();
      stream->Seek(0, soEnd);
      View->WriteToPreparedPage(stream);
    } catch (const Exception& E) {
      View->Left = savedLeft;
      View->Top = savedTop;
      View->Width = savedWidth;
      View->Height = savedHeight;
      ReportBuildError(E);
      return;
    }
    View->Left = savedLeft;
    View->Top = savedTop;
    View->Width = savedWidth;
    View->Height = savedHeight;
    if (announce) {
      if (part) FAnnounced.push_back(View);
      NotifyPrintListeners(View);
    }
  } else if (!(memo != nullptr && memo->RenderPhase == zrDrawPart)) {
    try {
      View->RunScript();
      if (memo != nullptr) memo->RenderPhase = zrDrawWhole;
    } catch (const Exception& E) {
      ReportBuildError(E);
    }
  }
}

// A band taller than the page prints part by part: each part takes what fits of every object,
// memos continuing with their next line on the next page.
void TzrBand::DrawPageBreak() {
  struct TSaved {
    TzrView* View;
    int Left, Top, Width, Height;
  };
  std::vector<TSaved> saved;
  std::vector<TzrView*> pending;
  FAnnounced.clear();
  for (TzrView* v : Objects) {
    if (v->CrossBand != nullptr || v->ObjectKind == zrKindSubReport) continue;
    saved.push_back({v, v->Left, v->Top, v->Width, v->Height});
    if (v->BandAlign == baBottom) v->Top = CalculatedHeight - v->Height;
    if (auto* memo = dynamic_cast<TzrMemoView*>(v); memo != nullptr && memo->RenderPhase != zrDrawMeasure)
      memo->CalcHeight();
    v->Selected = true;
    pending.push_back(v);
  }
  auto restore = [&]() {
    for (const TSaved& s : saved) {
      s.View->Left = s.Left;
      s.View->Top = s.Top;
      s.View->Width = s.Width;
      s.View->Height = s.Height;
      s.View->Selected = false;
      if (auto* memo = dynamic_cast<TzrMemoView*>(s.View)) memo->RenderPhase = zrDrawWhole;
    }
  };
  TzrReport* report = Page->Report;
  int lastBottom = 0;
  {
    TScopeGuard restoreAll(restore);
    if (!CheckPageBreak(Page->CurY, PrintedHeight, true)) {
      Top = Page->CurY;
      for (TzrView* v : pending) DrawObject(v);
      lastBottom = PrintedHeight;
    } else {
      while (!pending.empty() && !report->Terminated) {
        Top = Page->CurY;
        int space = Page->CurBottomY - Page->ColumnFooterHeight() - Top - 2;
        lastBottom = 0;
        std::vector<TzrView*> next;
        for (TzrView* v : pending) {
          if (v->Top >= space) {
            next.push_back(v);
            continue;
          }
          int bottom = v->Top + v->Height;
          auto* memo = dynamic_cast<TzrMemoView*>(v);
          if (bottom <= space) {
            if (memo != nullptr && memo->RenderPhase != zrDrawWhole) memo->RenderPhase = zrDrawPart;
            DrawObject(v);
            v->Selected = false;
            lastBottom = std::max(lastBottom, bottom);
          } else if (memo != nullptr && memo->OutLines()->Count() > 0) {
            // The lines that fit print here; the rest waits at the top of the next part.
            int available = space - v->Top + 1;
            if (available >= memo->OneLineHeight()) {
              v->Height = available;
              memo->RenderPhase = zrDrawPart;
              DrawObject(v);
              lastBottom = std::max(lastBottom, space);
            }
            int rest = memo->OutLines()->Count();
            int remainder = rest * memo->LineStep + 2 * memo->GapY + zrRound(2 * memo->FrameWidth);
            ShiftObjectsBelow(v, remainder - (bottom - space));
            v->Top = space;
            v->Height = remainder;
            memo->RenderPhase = zrDrawPart;
            next.push_back(v);
          } else {
            v->Top = std::max(v->Top, space);
            next.push_back(v);
          }
        }
        for (TzrView* v : next) v->Top -= space;
        pending = std::move(next);
        if (!pending.empty()) {
          CheckPageBreak(Page->CurY, kUnreachable, false);
          zrEngine.CurBand = this;
        }
      }
    }
  }
  PrintedHeight = lastBottom;
  Page->CurY += lastBottom;
}

// The objects still to print that lie below View and overlap it horizontally move by Delta.
void TzrBand::ShiftObjectsBelow(TzrView* View, int Delta) {
  int bottom = View->Top + View->Height;
  for (TzrView* other : Objects)
    if (other != View && other->Selected && other->Top >= bottom && other->Left < View->Left + View->Width &&
        other->Left + other->Width > View->Left)
      other->Top += Delta;
}

// ---- Sub-reports

void TzrBand::StartSubReports() {
  TzrReport* report = Page->Report;
  SubReportDone.clear();
  for (TzrView* v : Objects) {
    auto* sub = dynamic_cast<TzrSubReportView*>(v);
    if (sub == nullptr) continue;
    SubReportDone.push_back(!sub->Visible);
    if (!sub->Visible || sub->SubPage < 0 || sub->SubPage >= report->Pages()->Count()) {
      SubReportDone.back() = true;
      continue;
    }
    TzrPage* page = report->Pages()->Pages(sub->SubPage);
    page->ClearRecords();
    page->Mode = pmBuildList;
    {
      TzrPage* current = zrEngine.CurPage;
      TScopeGuard back([page, current] {
        page->Mode = pmNormal;
        zrEngine.CurPage = current;
      });
      zrEngine.CurPage = page;
      page->BuildPage();
    }
    page->CurY = sub->Top + Top;
    page->CurBottomY = Page->CurBottomY;
    page->XAdjust = Page->XAdjust + sub->Left;
    page->ColumnTop = page->CurY;
    page->Margins = Page->Margins;
    page->Columns = 1;
    page->CurColumn = 0;
    page->PlayFrom = 0;
  }
}

bool TzrBand::PrintSubReports() {
  TzrReport* report = Page->Report;
  std::vector<TzrPage*> pages;
  for (TzrView* v : Objects)
    if (auto* sub = dynamic_cast<TzrSubReportView*>(v))
      pages.push_back(sub->SubPage >= 0 && sub->SubPage < report->Pages()->Count() ? report->Pages()->Pages(sub->SubPage)
                                                                                  : nullptr);
  bool broke = false;
  int lowest = 0;
  for (;;) {
    bool unfinished = false;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (SubReportDone[i] || pages[i] == nullptr) continue;
      bool stopped;
      {
        TzrPage* current = zrEngine.CurPage;
        TScopeGuard back([current] { zrEngine.CurPage = current; });
        zrEngine.CurPage = pages[i];
        stopped = pages[i]->PlayRecords();
      }
      zrEngine.CurBand = this;
      if (stopped) {
        unfinished = true;
      } else {
        SubReportDone[i] = true;
        lowest = std::max(lowest, pages[i]->CurY);
      }
    }
    if (!unfinished || report->Terminated) break;
    if (Page->Skip) {
      Page->PendingBand = this;
      SubReportsPending = true;
      return true;
    }
    ScriptDone = true;
    Page->NewPage();
    zrEngine.CurBand = this;
    broke = true;
    for (std::size_t i = 0; i < pages.size(); ++i)
      if (!SubReportDone[i] && pages[i] != nullptr) {
        pages[i]->CurY = Page->CurY;
        pages[i]->ColumnTop = Page->CurY;
        pages[i]->CurBottomY = Page->CurBottomY;
      }
  }
  SubReportsPending = false;
  for (TzrPage* p : pages)
    if (p != nullptr) p->ClearRecords();
  Page->CurY = std::max(Top + std::max(CalculatedHeight, Height), lowest);
  return broke;
}

// ---- Cross-tab

void TzrBand::DrawCross() {
  TzrReport* report = Page->Report;
  TzrBand* header = Page->Bands(btCrossHeader);
  TzrBand* data = Page->Bands(btCrossDataKind);
  TzrBand* footer = Page->Bands(btCrossFooterKind);
  report->DoBeginColumn(this);
  int startPage = report->PageNo;
  if (header != nullptr && header->View != nullptr) DrawCrossCells(header, header->Left);
  int x = data != nullptr ? data->Left : Page->LeftOffset();
  TzrDataset* source = CrossDataSource != nullptr ? CrossDataSource : (data != nullptr ? data->DataSource : nullptr);
  Page->ColumnPosition = 1;
  if (source != nullptr && data != nullptr && data->View != nullptr)
    for (source->First(); !source->Eof() && !report->Terminated; source->Next()) {
      int width = data->Width;
      report->DoPrintColumn(Page->ColumnPosition, width);
      data->Width = width;
      CrossColumnBreak(x, width);
      DrawCrossCells(data, x);
      data->DoAggregate();
      if (IsDataBand()) DoAggregate();
      x += width;
      ++Page->ColumnPosition;
    }
  if (footer != nullptr && footer->View != nullptr) {
    DrawCrossCells(footer, x);
    footer->InitValues();
  }
  report->PageNo = startPage;
  zrEngine.CurBand = this;
}

void TzrBand::DrawCrossCells(TzrBand* CrossBand, int X) {
  TzrReport* report = Page->Report;
  if (CrossBand->Kind == btCrossDataKind) CrossBand->AggrBand = this;
  for (TzrView* v : Objects) {
    if (v->CrossBand != CrossBand) continue;
    zrEngine.CurBand = this;
    if (zrEngine.FirstPassRunning) {
      try {
        v->RunScript();
      } catch (const Exception& E) {
        ReportBuildError(E);
      }
      continue;
    }
    TzrEMFPages* pages = report->EMFPages();
    if (report->PageNo < 0 || report->PageNo >= pages->Count()) return;
    int savedLeft = v->Left, savedTop = v->Top;
    v->Left = X + v->Left;
    v->Top = Top + v->Top;
    v->Parent = this;
    try {
      TMemoryStream* stream = pages->Pages(report->PageNo).Stream.get();
      stream->Seek(0, soEnd);
      v->WriteToPreparedPage(stream);
    } catch (const Exception& E) {
      v->Left = savedLeft;
      v->Top = savedTop;
      ReportBuildError(E);
      return;
    }
    v->Left = savedLeft;
    v->Top = savedTop;
  }
}

bool TzrBand::CrossColumnBreak(int& X, int ColumnWidth) {
  if (X + ColumnWidth <= Page->RightOffset()) return false;
  TzrReport* report = Page->Report;
  TzrEMFPages* pages = report->EMFPages();
  ++report->PageNo;
  if (report->PageNo >= pages->Count()) {
    pages->Add(Page);
    TzrBand* overlay = Page->Bands(btOverlay);
    if (overlay != nullptr) Page->ShowBand(overlay);
    if (!Page->DisableRepeatHeader) Page->ShowBand(Page->Bands(btPageHeader));
  }
  X = Page->LeftOffset();
  report->UpdateProgress(report->PageNo + 1);
  TzrBand* header = Page->Bands(btCrossHeader);
  if (header != nullptr && header->View != nullptr && (header->Flags & zrbfRepeatHeader)) {
    DrawCrossCells(header, X);
    X += header->Width;
  }
  zrEngine.CurBand = this;
  return true;
}

// ---- Aggregates

void TzrBand::CollectAggregates(TzrBand* Target) {
  TzrReport* report = Page->Report;
  TStringList calls;
  TAggregateFunctionsSplitter splitter(&calls, report->Dictionary()->Variables());
  for (TzrView* v : Objects) {
    splitter.SplitMemo(v->Memo());
    splitter.SplitScript(v->Script());
  }
  splitter.SplitScript(Script.get());
  if (calls.Count() == 0) return;
  TzrParser* parser = zrGlobals().Parser();
  report->SetAggregateCollection(this, Target);
  TScopeGuard done([report] { report->SetAggregateCollection(nullptr, nullptr); });
  for (int i = 0; i < calls.Count(); ++i) parser->Calculate(calls[i]);
}

void TzrBand::SetAggregateBand(TzrAggregateBand* Band) { AggrBand = dynamic_cast<TzrBand*>(Band); }

void TzrBand::SetAggregate(const String& Key, const Variant& Value) { Values->SetByName(Key, Value); }

Variant TzrBand::GetAggregate(const String& Key) {
  int index = Values->IndexOf(Key);
  if (index < 0) return Variant();
  Variant value = Values->GetByIndex(index);
  bool cross = IsCrossKey(Key);
  String code = AggregateKeyField(Key, cross ? 3 : 2);
  if (!code.empty() && code[0] == static_cast<char>(zrAggAvg)) {
    auto it = FCounts.find(AnsiUpperCase(AggregateKeyField(Key, cross ? 2 : 1)));
    int count = it != FCounts.end() ? it->second : 0;
    return count == 0 ? Variant(0) : value / Variant(count);
  }
  return value;
}

void TzrBand::DoAggregate() {
  bool cross = HasCross();
  String column = IntToStr(Page->ColumnPosition);
  if (cross) {
    // Every template key (column "0") gets its copy for the current column.
    for (int i = 0, n = Values->Count(); i < n; ++i) {
      String key = Values->NameAt(i);
      if (AggregateKeyField(key, 1) != "0") continue;
      String copy = column + key.substr(1);
      if (Values->IndexOf(copy) < 0) {
        int code = AggregateKeyField(key, 3).empty() ? 0 : static_cast<unsigned char>(AggregateKeyField(key, 3)[0]);
        Values->SetByName(copy, code == zrAggMin ? Variant(1e300) : Variant(0));
      }
    }
  }
  TzrParser* parser = zrGlobals().Parser();
  String lastExpression;
  Variant lastValue;
  bool haveLast = false;
  std::map<String, bool> counted;
  for (int i = 0; i < Values->Count(); ++i) {
    String key = Values->NameAt(i);
    int offset = 0;
    if (IsCrossKey(key)) {
      if (!cross || AggregateKeyField(key, 1) != column) continue;
      offset = 1;
    }
    String bandName = AnsiUpperCase(AggregateKeyField(key, 1 + offset));
    String codeField = AggregateKeyField(key, 2 + offset);
    if (codeField.empty()) continue;
    int code = static_cast<unsigned char>(codeField[0]);
    String expression = AggregateKeyField(key, 3 + offset);
    bool countInvisible = AggregateKeyField(key, 4 + offset) == "1";
    if (!Visible && !countInvisible) continue;
    Variant value;
    if (code != zrAggCount) {
      if (haveLast && expression == lastExpression) {
        value = lastValue;
      } else {
        value = parser->Calculate(expression);
        lastExpression = expression;
        lastValue = value;
        haveLast = true;
      }
    }
    Variant accumulator = Values->GetByIndex(i);
    if (VarIsNull(accumulator) || VarIsEmpty(accumulator)) accumulator = Variant(0);
    if (VarIsNull(value) || VarIsEmpty(value)) value = Variant(0);
    switch (code) {
      case zrAggMin: if (value < accumulator) accumulator = value; break;
      case zrAggMax: if (value > accumulator) accumulator = value; break;
      case zrAggCount: accumulator = accumulator + Variant(1); break;
      default: accumulator = accumulator + value; break;
    }
    Values->SetByIndex(i, accumulator);
    counted[bandName] = true;
  }
  // Each footer counts the records it accumulated since its own reset, so that one footer's reset
  // does not change another's average.
  for (const auto& entry : counted) ++FCounts[entry.first];
  ++AccumulationCount;
}

void TzrBand::InitValues() {
  TzrParser* parser = zrGlobals().Parser();
  if (Kind == btGroupHeader) {
    for (TzrBand* g = this; g != nullptr; g = g->NextGroup)
      g->GroupValue = g->GroupCondition.empty() ? Variant() : parser->Evaluate(g->GroupCondition);
    return;
  }
  TzrBand* source = AggrBand;
  if (source == nullptr) return;
  for (int i = 0; i < source->Values->Count(); ++i) {
    String key = source->Values->NameAt(i);
    int offset = IsCrossKey(key) ? 1 : 0;
    if (!AnsiSameText(AggregateKeyField(key, 1 + offset), Name)) continue;
    String code = AggregateKeyField(key, 2 + offset);
    bool isMin = !code.empty() && static_cast<unsigned char>(code[0]) == zrAggMin;
    source->Values->SetByIndex(i, isMin ? Variant(1e300) : Variant(0));
  }
  source->FCounts[AnsiUpperCase(Name)] = 0;
  source->AccumulationCount = 0;
}
