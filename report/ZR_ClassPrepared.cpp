// This file implements the prepared pages: new pages during a build, unpacking and packing their
// object streams, drawing, export, the hit test of the preview, and the prepared-report file.
#include "ZR_ClassPrepared.h"

#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassViews.h"
#include "ZR_Utils.h"
// The class library's printing and shell come last: the API macros they bring do not reach the
// declarations above.
#include "Printers.h"
#include "ShellLaunch.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrEMFPages)

namespace {

// The hand-point cursor of the platform, as the preview expects it.
constexpr int kHandPoint = -21;

[[noreturn]] void Damaged(const String& What) {
  throw EReadError("Fichier d'état préparé endommagé : "_a + What);
}

// The smallest record a page can have in the file: next offset, paper, width, height, orientation,
// use margins, and the version byte of its stream.
constexpr std::int64_t kSmallestPageRecord = 4 + 2 + 4 + 4 + 1 + 1 + 1;

// A page count the rest of the file can hold.
std::int32_t ReadPageCount(TStream* Stream, std::int64_t SmallestRecord) {
  std::int32_t count = ReadI32(Stream);
  if (count < 0 || count > BytesLeft(Stream) / SmallestRecord) Damaged("nombre de pages incohérent ("_a + IntToStr(count) + ")");
  return count;
}

// The fields every page record starts with; the offset of the next record is returned.
std::int64_t ReadPageStart(TStream* Stream, TzrPreparedPage& Page) {
  std::int64_t next = ReadU32(Stream);
  Page.PaperSize = ReadU16(Stream);
  Page.Width = ReadI32(Stream);
  Page.Height = ReadI32(Stream);
  Page.Orientation = ReadU8(Stream);
  return next;
}

// The next record lies ahead, inside the file.
void CheckNextPage(TStream* Stream, std::int64_t Next, int Index) {
  if (Next <= Stream->Position() || Next > Stream->Size()) Damaged("page "_a + IntToStr(Index + 1) + " hors du fichier");
}

}  // namespace

TzrEMFPages::~TzrEMFPages() = default;

TzrPreparedPage& TzrEMFPages::Pages(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("Indice de page préparée hors limites ("_a + IntToStr(Index) + ")");
  return *FPages[std::size_t(Index)];
}

void TzrEMFPages::Clear() { FPages.clear(); }

void TzrEMFPages::Delete(int Index) {
  Pages(Index);
  FPages.erase(FPages.begin() + Index);
}

void TzrEMFPages::Insert(int Index, TzrPage* Page) {
  auto record = std::make_unique<TzrPreparedPage>();
  record->Stream = std::make_unique<TMemoryStream>();
  WriteU8(record->Stream.get(), zrCurrentVersion);
  record->PaperSize = Page->PaperSize & 0xFFFF;
  record->Width = Page->PaperWidth;
  record->Height = Page->PaperHeight;
  record->Orientation = Page->Orientation;
  record->Bin = Page->Bin;
  record->UseMargins = Page->UseMargins;
  record->Margins = Page->Margins;
  record->PrintArea = Page->PrintArea;
  if (Index < 0 || Index >= Count())
    FPages.push_back(std::move(record));
  else
    FPages.insert(FPages.begin() + Index, std::move(record));
}

void TzrEMFPages::Add(TzrPage* Page) {
  Insert(Count(), Page);
  TzrReport* current = zrEngine.CurReport;
  int page = current != nullptr ? current->PageNo : Count() - 1;
  if (current != nullptr && current->OnBeginPage) current->OnBeginPage(page);
  TzrReport* main = zrEngine.MainReport;
  if (main != nullptr && main != current && main->OnBeginPage) main->OnBeginPage(page);
}

TzrPage* TzrEMFPages::UnpackPage(int Index) {
  RegisterBuiltInViews();
  TzrPreparedPage& record = Pages(Index);
  record.Page.reset();
  auto page = std::make_unique<TzrPage>(Report);
  page->ApplyPaper(record.PaperSize, record.Width, record.Orientation, record.Bin == 0xFFFF ? zrDefaultBin : record.Bin,
                   record.Height);
  page->Margins = record.Margins;
  page->UseMargins = record.UseMargins;
  page->PrintArea = record.PrintArea;
  zrEngine.CurPage = page.get();
  TzrStreamVersionScope version;
  TMemoryStream* stream = record.Stream.get();
  stream->SetPosition(0);
  if (stream->Size() > 0) zrEngine.StreamVersion = ReadU8(stream);
  while (stream->Position() < stream->Size()) {
    int kind = ReadU8(stream);
    String className;
    if (kind == zrKindAddIn) className = ReadCountedString(stream);
    auto* view = dynamic_cast<TzrView*>(CreateReportObject(kind, className));
    if (view == nullptr) Damaged("objet de type inconnu ("_a + IntToStr(kind) + ")");
    page->AddObject(view);
    view->PreparedRecord = true;
    view->ReadRecord(stream);
    view->PreparedRecord = false;
    if (auto* memo = dynamic_cast<TzrMemoView*>(view); memo != nullptr && (memo->Flags & zrmfAutoWidth))
      memo->PaintOnCanvas(zrGlobals().ScratchBitmap()->Canvas());
  }
  record.Page = std::move(page);
  return record.Page.get();
}

void TzrEMFPages::PackPage(int Index) {
  TzrPreparedPage& record = Pages(Index);
  if (!record.Page) return;
  TzrStreamVersionScope version;
  TMemoryStream* stream = record.Stream.get();
  stream->Clear();
  zrEngine.StreamVersion = zrCurrentVersion;
  WriteU8(stream, zrCurrentVersion);
  TzrPage* page = record.Page.get();
  for (int i = 0; i < page->ObjectCount(); ++i) {
    TzrView* view = page->Objects(i);
    view->PreparedRecord = true;
    WriteU8(stream, static_cast<std::uint8_t>(view->ObjectKind));
    if (view->ObjectKind == zrKindAddIn) WriteCountedString(stream, view->ClassName());
    view->OutLines()->Assign(view->Memo());
    view->WriteRecord(stream);
    view->PreparedRecord = false;
  }
}

void TzrEMFPages::Draw(int Index, TCanvas* Canvas, const TRect& Rect) {
  TPrinter* printer = Printer();
  bool printing = printer != nullptr && printer->Printing() && printer->Canvas() == Canvas;
  zrEngine.Running = true;
  TzrPreparedPage& record = Pages(Index);
  if (!record.DrawingEnabled) {
    record.Page.reset();
    return;
  }
  TzrPage* page = record.Page ? record.Page.get() : UnpackPage(Index);
  zrEngine.CurPage = page;
  double kx = record.PrintArea.PageWidth > 0 ? double(Rect.Width()) / record.PrintArea.PageWidth : 1.0;
  double ky = record.PrintArea.PageHeight > 0 ? double(Rect.Height()) / record.PrintArea.PageHeight : 1.0;
  bool recording = dynamic_cast<TMetafileCanvas*>(Canvas) != nullptr;
  for (int i = 0; i < page->ObjectCount(); ++i) {
    TzrView* view = page->Objects(i);
    if (!printing && !recording) {
      RECT r{zrRound(view->Left * kx) + Rect.Left - 10, zrRound(view->Top * ky) + Rect.Top - 10,
             zrRound((view->Left + view->Width) * kx) + Rect.Left + 10,
             zrRound((view->Top + view->Height) * ky) + Rect.Top + 10};
      if (!RectVisible(Canvas->Handle(), &r)) continue;
    }
    view->ZoomX = kx;
    view->ZoomY = ky;
    view->ShiftX = Rect.Left;
    view->ShiftY = Rect.Top;
    view->ToPrinter = printing;
    view->PaintOnCanvas(Canvas);
  }
}

void TzrEMFPages::ExportPage(int Index) {
  TzrPage* page = UnpackPage(Index);
  TzrPreparedPage& record = Pages(Index);
  TScopeGuard drop([&record] { record.Page.reset(); });
  for (int i = 0; i < page->ObjectCount(); ++i) page->Objects(i)->ExportObject();
}

bool TzrEMFPages::ObjectAt(int Index, TPoint Point, String& Url, int& Cursor, bool Click) {
  Url.clear();
  TzrPreparedPage& record = Pages(Index);
  TzrPage* page = record.Page ? record.Page.get() : UnpackPage(Index);
  double fx = 1, fy = 1;
  int ox = 0, oy = 0;
  if (!record.UseMargins) {
    const TzrPrintArea& a = record.PrintArea;
    if (a.PageWidth > 0) fx = double(a.PrintableWidth - record.Margins.Left - record.Margins.Right) / a.PageWidth;
    if (a.PageHeight > 0) fy = double(a.PrintableHeight - record.Margins.Top - record.Margins.Bottom) / a.PageHeight;
    ox = record.Margins.Left + a.OffsetX;
    oy = record.Margins.Top + a.OffsetY;
  }
  TzrReport* report = Report;
  for (int i = page->ObjectCount() - 1; i >= 0; --i) {
    TzrView* view = page->Objects(i);
    TRect r(zrRound(view->Left * fx) + ox, zrRound(view->Top * fy) + oy, zrRound((view->Left + view->Width) * fx) + ox,
            zrRound((view->Top + view->Height) * fy) + oy);
    if (!r.Contains(Point)) continue;
    bool result = false;
    bool link = AnsiUpperCase(view->Name).compare(0, 3, "URL") == 0;
    if (Click) {
      if (report != nullptr && report->OnObjectClick) {
        report->OnObjectClick(view);
        result = true;
      }
      if (link) {
        // A tag with "@" is a link inside the report (the preview reads it); any other is an
        // address from the report's data: only web and mail addresses reach the shell.
        if (view->Tag.find('@') != String::npos)
          Url = view->Tag;
        else
          OpenDataAddress(view->Tag, GetDesktopWindow());
        result = true;
      }
    } else {
      if (report != nullptr && report->OnMouseOverObject) {
        report->OnMouseOverObject(view, Cursor);
        result = true;
      }
      if (link) {
        Cursor = kHandPoint;
        Url = view->Tag;
        result = true;
      }
    }
    return result;
  }
  return false;
}

// ---- The prepared-report file

void TzrEMFPages::WritePreparedFile(TStream* Stream) {
  if (Stream == nullptr) return;
  bool compressed = false;  // the compressor of this system is present but disabled
  WriteU8(Stream, zrCurrentVersion);
  WriteU8(Stream, compressed ? 1 : 0);
  WriteCountedString(Stream, zrPrinter()->CurrentPrinterName());
  WriteI32(Stream, Count());
  for (const auto& page : FPages) {
    std::int64_t placeholder = Stream->Position();
    WriteU32(Stream, 0);
    WriteU16(Stream, static_cast<std::uint16_t>(page->PaperSize));
    WriteI32(Stream, page->Width);
    WriteI32(Stream, page->Height);
    WriteU8(Stream, static_cast<std::uint8_t>(page->Orientation));
    WriteI32(Stream, page->Bin);
    WriteU8(Stream, page->UseMargins ? 1 : 0);
    WriteI32(Stream, page->Margins.Left);
    WriteI32(Stream, page->Margins.Top);
    WriteI32(Stream, page->Margins.Right);
    WriteI32(Stream, page->Margins.Bottom);
    page->Stream->SetPosition(0);
    Stream->CopyFrom(page->Stream.get(), page->Stream->Size());
    std::int64_t end = Stream->Position();
    if (end > 0x7FFFFFFF) throw EWriteError("Etat préparé trop volumineux"_a);
    Stream->SetPosition(placeholder);
    WriteU32(Stream, static_cast<std::uint32_t>(end));
    Stream->Seek(0, soEnd);
  }
  WriteU8(Stream, static_cast<std::uint8_t>(Report != nullptr ? Report->Info.GeneratorVersion : 88));
}

// Every size and offset of the file is checked against the file itself before it is trusted:
// a damaged file is refused as a whole and the pages stay as they were.
void TzrEMFPages::ReadPreparedFile(TStream* Stream) {
  if (Stream == nullptr) {
    Clear();
    return;
  }
  std::vector<std::unique_ptr<TzrPreparedPage>> pages;
  String printerName;
  int generator = 88;
  try {
    int version = ReadU8(Stream);
    if (version < 24 || version > 31) {
      version = 0;
      Stream->SetPosition(0);
    }
    int compressed = ReadU8(Stream);
    if (compressed >= 2 && compressed <= 254) {
      Stream->SetPosition(0);
      ReadLegacyPreparedFile(Stream, pages);
    } else {
      if (compressed != 0)
        throw EReadError("Etat préparé compressé : ce programme ne sait pas le décompresser"_a);
      printerName = ReadCountedString(Stream);
      std::int32_t count = ReadPageCount(Stream, kSmallestPageRecord);
      for (int i = 0; i < count; ++i) {
        auto page = std::make_unique<TzrPreparedPage>();
        std::int64_t next = ReadPageStart(Stream, *page);
        page->Bin = version > 23 ? ReadI32(Stream) : zrDefaultBin;
        page->UseMargins = ReadU8(Stream) != 0;
        if (version > 23) {
          page->Margins.Left = ReadI32(Stream);
          page->Margins.Top = ReadI32(Stream);
          page->Margins.Right = ReadI32(Stream);
          page->Margins.Bottom = ReadI32(Stream);
        }
        CheckNextPage(Stream, next, i);
        page->Stream = std::make_unique<TMemoryStream>();
        page->Stream->CopyFrom(Stream, next - Stream->Position());
        page->Stream->SetPosition(0);
        int pageVersion = ReadU8(page->Stream.get());
        if (pageVersion < 21 || pageVersion > zrCurrentVersion) Damaged("page "_a + IntToStr(i + 1) + " de version inconnue");
        pages.push_back(std::move(page));
      }
      generator = ReadU8(Stream);
    }
  } catch (const EReadError&) {
    throw;
  } catch (const Exception& E) {
    Damaged(E.Message);
  }
  if (!printerName.empty() && Report != nullptr) Report->SetPrinterName(printerName);
  TzrPrinter* printer = zrPrinter();
  for (auto& page : pages) {
    printer->ChangePaper(page->PaperSize, page->Width, page->Height, page->Bin, page->Orientation);
    printer->GetPrintArea(page->PrintArea);
  }
  FPages = std::move(pages);
  GeneratorVersion = generator;
  if (Report != nullptr) Report->Info.GeneratorVersion = generator;
}

void TzrEMFPages::ReadLegacyPreparedFile(TStream* Stream, std::vector<std::unique_ptr<TzrPreparedPage>>& Into) {
  TStringList header;
  ReadZeroLines(Stream, &header);
  if (header.Count() > 0 && Report != nullptr) Report->SetPrinterName(header[0]);
  std::int32_t count = ReadPageCount(Stream, kSmallestPageRecord - 1);
  TzrPrinter* printer = zrPrinter();
  for (int i = 0; i < count; ++i) {
    auto page = std::make_unique<TzrPreparedPage>();
    std::int64_t next = ReadPageStart(Stream, *page);
    page->UseMargins = ReadU8(Stream) != 0;
    page->Bin = zrDefaultBin;
    CheckNextPage(Stream, next, i);
    printer->ChangePaper(page->PaperSize, page->Width, page->Height, page->Bin, page->Orientation);
    printer->GetPrintArea(page->PrintArea);
    // The page is one picture: the metafile the older writer recorded.
    TMemoryStream data;
    data.CopyFrom(Stream, next - Stream->Position());
    data.SetPosition(0);
    TMetafile metafile;
    metafile.LoadFromStream(&data);
    TzrPictureView picture;
    picture.PlaceAt(0, 0, page->PrintArea.PageWidth, page->PrintArea.PageHeight);
    picture.Picture()->SetGraphic(&metafile);
    picture.PreparedRecord = true;
    page->Stream = std::make_unique<TMemoryStream>();
    WriteU8(page->Stream.get(), zrCurrentVersion);
    WriteU8(page->Stream.get(), zrKindPicture);
    picture.WriteRecord(page->Stream.get());
    Into.push_back(std::move(page));
  }
}
