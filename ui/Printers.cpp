// This file implements TPrinter over the spooler: printers from EnumPrinters, device modes from the
// driver (DocumentProperties), jobs through StartDoc/StartPage on a device context of the printer.
#include "Printers.h"

#include "WinApi.h"

#include <cstring>
#include <memory>

#include "AnsiString.h"

// A canvas on the printer's device context: during a job the printing context, otherwise an
// information context (to measure text).
class TPrinterCanvas : public TCanvas {
  VELBOR_DECLARE_CLASS(TPrinterCanvas, TCanvas)
 public:
  explicit TPrinterCanvas(TPrinter* APrinter) : FPrinter(APrinter) {}

 protected:
  void CreateHandle() override {
    FPrinter->SetState(psHandleIC);
    UpdateFont();
    SetHandle(FPrinter->FDC);
  }

 public:
  // Sizes in points are converted with the printer's resolution, not the screen's.
  void UpdateFont() {
    if (!FPrinter->FDC) return;
    int ppi = ::GetDeviceCaps(FPrinter->FDC, LOGPIXELSY);
    if (ppi > 0 && Font()->PixelsPerInch != ppi) {
      int size = Font()->Size();
      Font()->PixelsPerInch = ppi;
      Font()->SetSize(size);
    }
  }

 private:
  TPrinter* FPrinter;
};

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TPrinterCanvas)
VELBOR_IMPLEMENT_CLASS(TPrinter)

namespace {
TPrinter* ThePrinter = nullptr;
int ListReads = 0;

// Frees the program's printer at exit.
struct TPrinterOwner {
  ~TPrinterOwner() {
    delete ThePrinter;
    ThePrinter = nullptr;
  }
} PrinterOwner;

[[noreturn]] void InvalidPrinter() { throw EPrinter("Imprimante sélectionnée non valide"_a); }
}  // namespace

TPrinter* Printer() {
  if (!ThePrinter) ThePrinter = new TPrinter();
  return ThePrinter;
}

int PrinterListReads() { return ListReads; }

TPrinter* SetPrinter(TPrinter* NewPrinter) {
  TPrinter* previous = ThePrinter;
  ThePrinter = NewPrinter;
  return previous;
}

TPrinter::TPrinter() {
  FPrinters = new TStringList();
  FFonts = new TStringList();
  FCanvas = new TPrinterCanvas(this);
}

TPrinter::~TPrinter() {
  if (FPrinting) {
    try {
      Abort();
    } catch (...) {
      // A job that cannot be aborted is dropped with its context below.
    }
  }
  delete FCanvas;
  FreeDC();
  FreeDeviceMode();
  delete FFonts;
  delete FPrinters;
}

void TPrinter::CheckPrinting(bool Value) {
  if (FPrinting == Value) return;
  if (Value) throw EPrinter("Impression non en cours");
  throw EPrinter("Impression en cours");
}

void TPrinter::LoadPrinters() {
  ++ListReads;
  FPrinters->Clear();
  FInfo.clear();
  DWORD needed = 0;
  DWORD count = 0;
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  ::EnumPrintersA(flags, nullptr, 2, nullptr, 0, &needed, &count);
  if (needed > 0) {
    std::vector<BYTE> buffer(needed);
    if (::EnumPrintersA(flags, nullptr, 2, buffer.data(), needed, &needed, &count)) {
      const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
      for (DWORD i = 0; i < count; ++i) {
        TPrinterInfo p;
        p.Device = info[i].pPrinterName ? info[i].pPrinterName : "";
        p.Driver = info[i].pDriverName ? info[i].pDriverName : "";
        p.Port = info[i].pPortName ? info[i].pPortName : "";
        FInfo.push_back(p);
        FPrinters->Add(p.Device);
      }
    }
  }
  FLoaded = true;
}

TStrings* TPrinter::Printers() {
  if (!FLoaded) LoadPrinters();
  return FPrinters;
}

void TPrinter::Refresh() {
  String current = FPrinterIndex >= 0 && FPrinterIndex < int(FInfo.size()) ? FInfo[FPrinterIndex].Device : String();
  LoadPrinters();
  int index = current.empty() ? -1 : FPrinters->IndexOf(current);
  if (index != FPrinterIndex) {
    FPrinterIndex = index;
    FreeDC();
    FreeDeviceMode();
  }
}

void TPrinter::SetToDefaultPrinter() {
  char name[512] = {0};
  DWORD size = sizeof(name);
  int index = -1;
  if (::GetDefaultPrinterA(name, &size)) index = Printers()->IndexOf(name);
  // Without a default the first installed printer serves, as the spooler would print there.
  if (index < 0 && Printers()->Count() > 0) index = 0;
  if (index < 0) throw EPrinter("Aucune imprimante par défaut sélectionnée"_a);
  SelectIndex(index);
}

int TPrinter::PrinterIndex() {
  if (FPrinterIndex < 0) SetToDefaultPrinter();
  return FPrinterIndex;
}

void TPrinter::SetPrinterIndex(int Value) {
  CheckPrinting(false);
  if (Value == -1) {
    SetToDefaultPrinter();
    return;
  }
  if (Value < 0 || Value >= Printers()->Count()) InvalidPrinter();
  SelectIndex(Value);
}

void TPrinter::SelectIndex(int Index) {
  if (Index == FPrinterIndex) return;
  FreeDC();
  FreeDeviceMode();
  FPrinterIndex = Index;
}

void TPrinter::FreeDeviceMode() {
  if (FDeviceMode) ::GlobalFree(FDeviceMode);
  FDeviceMode = nullptr;
}

DEVMODEA* TPrinter::LockDeviceMode() {
  PrinterIndex();
  if (!FDeviceMode) {
    const String& device = FInfo[FPrinterIndex].Device;
    HANDLE printer = nullptr;
    if (!::OpenPrinterA(const_cast<char*>(device.c_str()), &printer, nullptr)) InvalidPrinter();
    LONG size = ::DocumentPropertiesA(nullptr, printer, const_cast<char*>(device.c_str()), nullptr, nullptr, 0);
    if (size > 0) {
      HGLOBAL block = ::GlobalAlloc(GHND, SIZE_T(size));
      auto* mode = block ? static_cast<DEVMODEA*>(::GlobalLock(block)) : nullptr;
      if (mode && ::DocumentPropertiesA(nullptr, printer, const_cast<char*>(device.c_str()), mode, nullptr,
                                        DM_OUT_BUFFER) == IDOK) {
        ::GlobalUnlock(block);
        FDeviceMode = block;
      } else {
        if (mode) ::GlobalUnlock(block);
        if (block) ::GlobalFree(block);
      }
    }
    ::ClosePrinter(printer);
    if (!FDeviceMode) InvalidPrinter();
  }
  return static_cast<DEVMODEA*>(::GlobalLock(FDeviceMode));
}

void TPrinter::UnlockDeviceMode() {
  if (FDeviceMode) ::GlobalUnlock(FDeviceMode);
}

void TPrinter::GetPrinter(String& ADevice, String& ADriver, String& APort, HGLOBAL& ADeviceMode) {
  LockDeviceMode();
  UnlockDeviceMode();
  const TPrinterInfo& p = FInfo[FPrinterIndex];
  ADevice = p.Device;
  ADriver = p.Driver;
  APort = p.Port;
  ADeviceMode = FDeviceMode;
}

void TPrinter::SetPrinter(const String& ADevice, const String& ADriver, const String& APort, HGLOBAL ADeviceMode) {
  CheckPrinting(false);
  int index = Printers()->IndexOf(ADevice);
  if (index < 0) {
    FInfo.push_back(TPrinterInfo{ADevice, ADriver, APort});
    index = FPrinters->Add(ADevice);
  }
  FreeDC();
  if (ADeviceMode != FDeviceMode) FreeDeviceMode();
  FPrinterIndex = index;
  FDeviceMode = ADeviceMode;
}

void TPrinter::FreeDC() {
  if (FCanvas) FCanvas->SetHandle(nullptr);
  FDC.Reset();
  FState = psNoHandle;
}

void TPrinter::SetState(TPrinterState Value) {
  if (Value == FState) return;
  FreeDC();
  if (Value == psNoHandle) return;
  DEVMODEA* mode = LockDeviceMode();
  const TPrinterInfo& p = FInfo[FPrinterIndex];
  if (Value == psHandleIC)
    FDC.Reset(::CreateICA(nullptr, p.Device.c_str(), nullptr, mode));
  else
    FDC.Reset(::CreateDCA(nullptr, p.Device.c_str(), nullptr, mode));
  UnlockDeviceMode();
  if (!FDC) InvalidPrinter();
  FState = Value;
}

HDC TPrinter::Handle() {
  if (FState == psNoHandle) SetState(psHandleIC);
  return FDC;
}

TCanvas* TPrinter::Canvas() {
  Handle();
  return FCanvas;
}

int TPrinter::Copies() {
  DEVMODEA* mode = LockDeviceMode();
  int copies = (mode->dmFields & DM_COPIES) ? mode->dmCopies : 1;
  UnlockDeviceMode();
  return copies < 1 ? 1 : copies;
}

void TPrinter::SetCopies(int Value) {
  CheckPrinting(false);
  DEVMODEA* mode = LockDeviceMode();
  mode->dmFields |= DM_COPIES;
  mode->dmCopies = short(Value);
  UnlockDeviceMode();
  FreeDC();
}

TPrinterOrientation TPrinter::Orientation() {
  DEVMODEA* mode = LockDeviceMode();
  bool landscape = (mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE;
  UnlockDeviceMode();
  return landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
  CheckPrinting(false);
  DEVMODEA* mode = LockDeviceMode();
  mode->dmFields |= DM_ORIENTATION;
  mode->dmOrientation = Value == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  UnlockDeviceMode();
  FreeDC();
}

int TPrinter::PageWidth() { return ::GetDeviceCaps(Handle(), HORZRES); }

int TPrinter::PageHeight() { return ::GetDeviceCaps(Handle(), VERTRES); }

TPrinterCapabilities TPrinter::Capabilities() {
  PrinterIndex();
  const TPrinterInfo& p = FInfo[FPrinterIndex];
  DEVMODEA* mode = LockDeviceMode();
  TPrinterCapabilities caps;
  if (::DeviceCapabilitiesA(p.Device.c_str(), p.Port.c_str(), DC_COPIES, nullptr, mode) > 1) caps.Include(pcCopies);
  if (::DeviceCapabilitiesA(p.Device.c_str(), p.Port.c_str(), DC_ORIENTATION, nullptr, mode) != 0)
    caps.Include(pcOrientation);
  if (::DeviceCapabilitiesA(p.Device.c_str(), p.Port.c_str(), DC_COLLATE, nullptr, mode) == 1) caps.Include(pcCollation);
  UnlockDeviceMode();
  return caps;
}

namespace {
int CALLBACK AddFontName(const LOGFONTA* Font, const TEXTMETRICA*, DWORD, LPARAM Data) {
  try {
    auto* list = reinterpret_cast<TStrings*>(Data);
    if (list->IndexOf(Font->lfFaceName) < 0) list->Add(Font->lfFaceName);
  } catch (...) {
    return 0;
  }
  return 1;
}
}  // namespace

TStrings* TPrinter::Fonts() {
  FFonts->Clear();
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  ::EnumFontFamiliesExA(Handle(), &lf, &AddFontName, LPARAM(FFonts), 0);
  FFonts->Sort();
  return FFonts;
}

void TPrinter::BeginDoc() {
  CheckPrinting(false);
  SetState(psHandleDC);
  FCanvas->SetHandle(nullptr);
  FCanvas->UpdateFont();
  FAborted = false;
  FPageNumber = 1;
  DOCINFOA info{};
  info.cbSize = sizeof(info);
  info.lpszDocName = Title.c_str();
  if (::StartDocA(FDC, &info) <= 0) {
    SetState(psNoHandle);
    throw EPrinter("Impossible de démarrer l'impression"_a);
  }
  FPrinting = true;
  ::StartPage(FDC);
  FCanvas->SetHandle(FDC);
}

void TPrinter::NewPage() {
  CheckPrinting(true);
  ::EndPage(FDC);
  ::StartPage(FDC);
  ++FPageNumber;
  // A new page starts with the context's default objects: ours are selected again on next use.
  FCanvas->Refresh();
}

void TPrinter::EndDoc() {
  CheckPrinting(true);
  FCanvas->SetHandle(nullptr);
  ::EndPage(FDC);
  if (!FAborted) ::EndDoc(FDC);
  FPrinting = false;
  FAborted = false;
  FPageNumber = 0;
  SetState(psNoHandle);
}

void TPrinter::Abort() {
  CheckPrinting(true);
  FCanvas->SetHandle(nullptr);
  ::AbortDoc(FDC);
  FAborted = true;
  FPrinting = false;
  FPageNumber = 0;
  SetState(psNoHandle);
}
