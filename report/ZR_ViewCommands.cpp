// This file implements the preview window's commands: showing a report, finding a text in the
// pages, opening and saving prepared-report files, export through the registered filters,
// printing through the print dialog, page setup, help and close; the find dialog; and the
// registration and start-up of the engine's windows.
#include <algorithm>
#include <cmath>

#include "FileUtils.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassPrepared.h"
#include "ZR_ClassReport.h"
#include "ZR_Dialogs.h"
#include "ZR_E_RTF.h"
#include "ZR_ExportForms.h"
#include "ZR_Rich.h"
#include "ZR_Utils.h"
#include "ZR_View.h"
#include "Printers.h"

VELBOR_IMPLEMENT_CLASS(TzrPreviewSearchForm)
VELBOR_HANDLERS(TzrPreviewSearchForm, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormActivate))
VELBOR_FIELDS(TzrPreviewSearchForm, VELBOR_FIELD(Label1), VELBOR_FIELD(Edit1), VELBOR_FIELD(GroupBox1),
              VELBOR_FIELD(CB1), VELBOR_FIELD(GroupBox2), VELBOR_FIELD(RB1), VELBOR_FIELD(RB2),
              VELBOR_FIELD(Button1), VELBOR_FIELD(Button2))

void TzrPreviewForm::ShowReport(TzrReport* AReport, const String&) {
  AttachPages(AReport);
  ApplyOptions();
  ResetView(true);
  HScrollBar->SetPosition(0);
  VScrollBar->SetPosition(0);
  if (AReport->ModalPreview && FormStyle() != fsMDIChild)
    ShowModal();
  else
    Show();
}

void TzrPreviewForm::ExitBtnClick(TObject*) {
  if (Report == nullptr) return;
  if (Modal())
    SetModalResult(mrOk);
  else
    Close();
}

void TzrPreviewForm::HelpBtnClick(TObject*) {
  // The next click on the window ends help mode (FormMouseDown); there is no help file to show.
  FHelpMode = true;
  Screen->SetCursor(crHelp);
  SetMouseCapture(true);
}

// ---- Find

TzrPreviewSearchForm::TzrPreviewSearchForm(TComponent* AOwner) : TForm(AOwner) {}

void TzrPreviewSearchForm::FormCreate(TObject*) {
  SetCaption(EngineString(53000));
  Label1->SetCaption(EngineString(53001));
  GroupBox1->SetCaption(EngineString(53002));
  CB1->SetCaption(EngineString(53003));
  GroupBox2->SetCaption(EngineString(53004));
  RB1->SetCaption(EngineString(53005));
  RB2->SetCaption(EngineString(53006));
  Button1->SetCaption(EngineString(55000));
  Button2->SetCaption(EngineString(55001));
}

void TzrPreviewSearchForm::FormActivate(TObject*) {
  if (Edit1->CanFocus()) Edit1->SetFocus();
  Edit1->SelectAll();
}

void TzrPreviewForm::FindBtnClick(TObject*) {
  if (Report == nullptr) return;
  auto* form = CreateForm<TzrPreviewSearchForm>(nullptr);
  TScopeGuard free([form] { form->Free(); });
  form->Edit1->SetText(FindText);
  if (form->ShowModal() != mrOk) return;
  CaseSensitive = form->CB1->Checked();
  FindText = CaseSensitive ? form->Edit1->Text() : AnsiUpperCase(form->Edit1->Text());
  if (form->RB1->Checked()) {
    ResumePage = 0;
    ResumeOrdinal = 0;
  } else if (CurrentPage != ResumePage + 1) {
    ResumePage = CurrentPage - 1;
    ResumeOrdinal = 0;
  }
  FindAgain();
}

namespace {

// What the enumeration of one page's records looks for.
struct TScan {
  String Text;
  bool CaseSensitive = false;
  int ResumeOrdinal = 0;
  int Ordinal = 0;
  bool Found = false;
  TRect Bounds;
};

int CALLBACK TextRecordCallback(HDC, HANDLETABLE*, const ENHMETARECORD* Record, int, LPARAM Data) {
  auto* scan = reinterpret_cast<TScan*>(Data);
  try {
    int ordinal = scan->Ordinal++;
    if (Record->iType != EMR_EXTTEXTOUTA && Record->iType != EMR_EXTTEXTOUTW) return 1;
    const auto* text = reinterpret_cast<const EMREXTTEXTOUTA*>(Record);
    const auto* bytes = reinterpret_cast<const BYTE*>(Record);
    DWORD count = text->emrtext.nChars;
    String s;
    if (Record->iType == EMR_EXTTEXTOUTA) {
      s.assign(reinterpret_cast<const char*>(bytes + text->emrtext.offString), count);
    } else {
      const auto* wide = reinterpret_cast<const WCHAR*>(bytes + text->emrtext.offString);
      int n = WideCharToMultiByte(1252, 0, wide, int(count), nullptr, 0, nullptr, nullptr);
      s.resize(std::size_t(std::max(n, 0)));
      if (n > 0) WideCharToMultiByte(1252, 0, wide, int(count), s.data(), n, nullptr, nullptr);
    }
    if (!scan->CaseSensitive) s = AnsiUpperCase(s);
    // An empty search text is never found.
    if (scan->Text.empty() || s.find(scan->Text) == String::npos || ordinal < scan->ResumeOrdinal) return 1;
    scan->Found = true;
    scan->Bounds = TRect(text->rclBounds.left, text->rclBounds.top, text->rclBounds.right, text->rclBounds.bottom);
    return 0;
  } catch (...) {
    return 0;
  }
}

}  // namespace

void TzrPreviewForm::FindAgain() {
  if (!FPages) return;
  PaintAllowed = false;
  TScopeGuard allow([this] { PaintAllowed = true; });
  TextFound = false;
  for (int page = ResumePage; page < FPages->Count(); ++page) {
    TzrPreparedPage& record = FPages->Pages(page);
    int w = std::max(record.PrintArea.PageWidth, 1);
    int h = std::max(record.PrintArea.PageHeight, 1);
    TMetafile metafile;
    metafile.SetWidth(w);
    metafile.SetHeight(h);
    {
      TMetafileCanvas canvas(&metafile, nullptr);
      bool enabled = record.DrawingEnabled;
      record.DrawingEnabled = true;
      FPages->Draw(page, &canvas, TRect(0, 0, w, h));
      record.DrawingEnabled = enabled;
    }
    TScan scan;
    scan.Text = FindText;
    scan.CaseSensitive = CaseSensitive;
    scan.ResumeOrdinal = ResumeOrdinal;
    RECT bounds{0, 0, w, h};
    EnumEnhMetaFile(nullptr, metafile.Handle(), &TextRecordCallback, &scan, &bounds);
    if (scan.Found) {
      TextFound = true;
      FoundBounds = scan.Bounds;
      ResumePage = page;
      ResumeOrdinal = scan.Ordinal;
      CurrentPage = page + 1;
      UpdatePageLabel();
      ShowHit(page);
      return;
    }
    // A page without a hit frees its unpacked copy unless it is on screen.
    if (!record.DrawingEnabled) FPages->Draw(page, Canvas(), TRect());
    ResumeOrdinal = 0;
    ResumePage = page + 1;
  }
}

void TzrPreviewForm::ShowHit(int PageIndex) {
  const TRect& r = FPages->Pages(PageIndex).PreviewRect;
  int hh = zrRound(FoundBounds.Height() * Scale);
  int y = zrRound(FoundBounds.Top * Scale) + 10;
  int ph = Painter->Height();
  VScrollBar->SetPosition(y + hh > ph ? r.Top + y + hh - ph - 10 : r.Top - 10);
  int ww = zrRound(FoundBounds.Width() * Scale);
  int x = zrRound(FoundBounds.Left * Scale) + 10;
  int pw = Painter->Width();
  HScrollBar->SetPosition(x + ww > pw ? r.Left + x + ww - pw - 10 : std::max(r.Left - 10, 0));
  Application->ProcessMessages();
  PaintAllowed = true;
  Painter->Repaint();
  // The hit is inverted where it stands now; the next paint clears it.
  TCanvas* c = Painter->Canvas();
  c->Pen()->SetColor(clWhite);
  c->Pen()->SetWidth(1);
  c->Pen()->SetMode(pmXor);
  int left = r.Left + OffsetX + zrRound(FoundBounds.Left * Scale);
  int top = r.Top + OffsetY + zrRound(FoundBounds.Top * Scale);
  for (int i = 0; i <= hh; ++i) {
    c->MoveTo(left, top + i);
    c->LineTo(left + ww, top + i);
  }
  c->Pen()->SetMode(pmCopy);
}

// ---- Open, save, export

void TzrPreviewForm::LoadBtnClick(TObject*) {
  if (!FPages || Report == nullptr) return;
  OpenDialog->Filter = EngineString(55211) + " (*.zrp)|*.zrp";
  if (!OpenDialog->Execute()) return;
  OpenPreparedFile(OpenDialog->FileName);
}

void TzrPreviewForm::OpenPreparedFile(const String& FileName) {
  // The report reads the file into pages of its own: a damaged file leaves these as they are.
  ReleasePages();
  TScopeGuard attach([this] { AttachPages(Report); });
  Report->LoadPreparedFile(FileName);
  attach.Dismiss();
  AttachPages(Report);
  CurrentPage = 1;
  Layout();
  PaintAllowed = false;
  UpdatePageLabel();
  ScrollToCurrentPage();
  PaintAllowed = true;
  Painter->Invalidate();
}

void TzrPreviewForm::SavePreparedAs(const String& FileName) {
  ReleasePages();
  TScopeGuard attach([this] { AttachPages(Report); });
  Report->SavePreparedFile(ChangeFileExt(FileName, ".zrp"));
}

String TzrPreviewForm::SaveFilter() const {
  String filter = EngineString(55211) + " (*.zrp)|*.zrp";
  for (int i = 0; i < ExportFilterCount(); ++i)
    filter += "|" + ExportFilters(i).Description + "|" + ExportFilters(i).FileMask;
  return filter;
}

int TzrPreviewForm::DefaultSaveFilterIndex() const {
  for (int i = 0; i < ExportFilterCount(); ++i) {
    auto* filter = dynamic_cast<TzrExportFilter*>(ExportFilters(i).Filter);
    if (filter != nullptr && filter->Default) return 2 + i;
  }
  return 1;
}

void TzrPreviewForm::SaveBtnClick(TObject*) {
  if (!FPages || Report == nullptr) return;
  SaveDialog->Filter = SaveFilter();
  SaveDialog->FilterIndex = DefaultSaveFilterIndex();
  if (!SaveDialog->Execute()) return;
  int index = SaveDialog->FilterIndex;
  if (index <= 1) {
    SavePreparedAs(SaveDialog->FileName);
    return;
  }
  if (index - 2 >= ExportFilterCount()) return;
  const TzrExportFilterInfo& info = ExportFilters(index - 2);
  auto* filter = dynamic_cast<TzrExportFilter*>(info.Filter);
  if (filter == nullptr) return;
  String extension = info.FileMask.substr(1, 255);
  String target = ChangeFileExt(SaveDialog->FileName, extension);
  ReleasePages();
  {
    TScopeGuard attach([this] { AttachPages(Report); });
    Report->ExportToFile(filter, target);
  }
  ResetView(false);
}

// ---- Print and page setup

void TzrPreviewForm::PrintBtnClick(TObject*) {
  if (!FPages || FPages->Count() == 0 || Report == nullptr) return;
  TPrinter* printer = Printer();
  if (printer->Printers()->Count() == 0) return;
  // The dialog lists the spooler's printers: the engine printer follows them.
  zrPrinter()->AttachPrinter(printer);
  auto* dialog = CreateForm<TzrPrintForm>(nullptr);
  TScopeGuard free([dialog] { dialog->Free(); });
  dialog->E1->SetText(IntToStr(Report->DefaultCopies));
  dialog->CollateCB->SetChecked(Report->DefaultCollate);
  int oldIndex = zrPrinter()->PrinterIndex();
  if (Report->ShowPrintDialog && dialog->ShowModal() != mrOk) return;
  int newIndex = zrPrinter()->PrinterIndex();
  if (Report->RebuildPrinter && newIndex != oldIndex && Report->CanRebuild) {
    if (!Report->SwitchPrinter(oldIndex, newIndex)) return;
    FPages.reset();
    Report->Prepare();
    AttachPages(Report);
  }
  String pages;
  if (dialog->RB2->Checked())
    pages = IntToStr(CurrentPage);
  else if (dialog->RB3->Checked())
    pages = dialog->E2->Text();
  int copies = StrToIntDef(Trim(dialog->E1->Text()), 1);
  int mode = std::max(dialog->CB2->ItemIndex(), 0);
  bool collate = dialog->CollateCB->Checked();
  ReleasePages();
  {
    TScopeGuard attach([this] { AttachPages(Report); });
    Report->PrintPrepared(pages, copies, mode, collate);
  }
  ResetView(false);
}

void TzrPreviewForm::PageSetupBtnClick(TObject*) {
  if (!FPages || FPages->Count() == 0 || Report == nullptr) return;
  TPageSetupDialog dialog(nullptr);
  const TRect& m = FPages->Pages(0).Margins;
  dialog.Units = pmMillimeters;
  dialog.MarginLeft = m.Left * 500 / 18;
  dialog.MarginTop = m.Top * 500 / 18;
  dialog.MarginRight = m.Right * 500 / 18;
  dialog.MarginBottom = m.Bottom * 500 / 18;
  if (!dialog.Execute()) return;
  TzrPrinter* engine = zrPrinter();
  engine->AttachPrinter(Printer());
  TRect margins(dialog.MarginLeft * 18 / 500, dialog.MarginTop * 18 / 500, dialog.MarginRight * 18 / 500,
                dialog.MarginBottom * 18 / 500);
  for (int i = 0; i < Report->Pages()->Count(); ++i) {
    TzrPage* page = Report->Pages()->Pages(i);
    if (page->PageType != ptReport) continue;
    page->Margins = margins;
    page->ApplyPaper(engine->PaperSize, engine->PaperWidth, engine->Orientation, engine->Bin, engine->PaperHeight);
  }
  FPages.reset();
  Report->Prepare();
  AttachPages(Report);
  ResetView(true);
}

// ---- Registration and start-up

void RegisterReportWindows() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterReportWindowControls();
  for (TClass c : {TzrPreviewForm::StaticClass(), TzrPreviewSearchForm::StaticClass(), TzrPBox::StaticClass(),
                   TzrPreview::StaticClass(), TzrPrintForm::StaticClass(), TzrFmtForm::StaticClass(),
                   TzrProgressForm::StaticClass(), TzrPasswForm::StaticClass(), TzrSpeedButton::StaticClass(),
                   TzrTBButton::StaticClass(), TzrTBSeparator::StaticClass(), TzrTextExport::StaticClass(),
                   TzrRTFExport::StaticClass()})
    RegisterClass(c);
  RegisterRichTextWindows();
  zrPasswordPrompt = AskTemplatePassword;
}

void StartReportEngine() {
  RegisterReportWindows();
  StartReportPrinter();
}
