// This file implements the report engine's printer: the virtual printer's paper table, the
// spooler's printers read through the class library's printer (device settings, paper and source
// lists, geometry), the current paper and the page geometry in report pixels.
#include "ZR_Prntr.h"

#include <cmath>
#include <cstring>

#include "Exceptions.h"
#include "StrUtils.h"
#include "ZR_Utils.h"
// The class library's printer comes last: the API macros it brings do not reach the declarations
// above.
#include "Dialogs.h"
#include "Forms.h"
#include "Printers.h"

VELBOR_IMPLEMENT_CLASS(TzrPrinter)

namespace {

struct TPaperInfo {
  int Code;
  int Width;   // portrait, tenths of a millimetre
  int Height;
};

// The virtual printer's papers; the names are engine strings 55008 + the entry's index.
constexpr TPaperInfo kPapers[] = {
    {1, 2159, 2794},   {2, 2159, 2794},   {3, 2794, 4318},    {4, 4318, 2794},   {5, 2159, 3556},
    {6, 1397, 2159},   {7, 1842, 2667},   {8, 2970, 4200},    {9, 2100, 2970},   {10, 2100, 2970},
    {11, 1480, 2100},  {12, 2500, 3540},  {13, 1820, 2570},   {14, 2159, 3302},  {15, 2150, 2750},
    {16, 2540, 3556},  {17, 2794, 4318},  {18, 2159, 2794},   {19, 984, 2254},   {20, 1048, 2413},
    {21, 1143, 2635},  {22, 1207, 2794},  {23, 1270, 2921},   {24, 4318, 5588},  {25, 5588, 8636},
    {26, 8636, 11176}, {27, 1100, 2200},  {28, 1620, 2290},   {29, 3240, 4580},  {30, 2290, 3240},
    {31, 1140, 1620},  {32, 1140, 2290},  {33, 2500, 3530},   {34, 1760, 2500},  {35, 1760, 1250},
    {36, 1100, 2300},  {37, 984, 1905},   {38, 920, 1651},    {39, 3778, 2794},  {40, 2159, 3048},
    {41, 2159, 3302},  {42, 2500, 3530},  {43, 1000, 1480},   {44, 2286, 2794},  {45, 2540, 2794},
    {46, 3810, 2794},  {47, 2200, 2200},  {50, 2355, 3048},   {51, 2355, 3810},  {52, 2969, 4572},
    {53, 2354, 3223},  {54, 2101, 2794},  {55, 2100, 2970},   {56, 2355, 3048},  {57, 2270, 3560},
    {58, 3050, 4870},  {59, 2159, 3223},  {60, 2100, 3300},   {61, 1480, 2100},  {62, 1820, 2570},
    {63, 3220, 4450},  {64, 1740, 2350},  {65, 2010, 2760},   {66, 4200, 5940},  {67, 2970, 4200},
    {68, 3220, 4450},  {256, 0, 0},
};
static_assert(std::size(kPapers) == 67);

// The margin of the virtual printer: 5 mm, in report pixels.
int VirtualOffset() { return PaperToPixels(50); }

int PrnRound(double Value) { return int(std::nearbyint(Value)); }

// Capacities of the device lists.
constexpr int kMaxPapers = 256;
constexpr int kMaxBins = 255;
constexpr int kPaperNameSize = 64;
constexpr int kBinNameSize = 24;

// A device-mode block locked for the scope.
class TLockedMode {
 public:
  explicit TLockedMode(HGLOBAL Block) : FBlock(Block), FMode(Block ? static_cast<DEVMODEA*>(::GlobalLock(Block)) : nullptr) {}
  ~TLockedMode() {
    if (FMode != nullptr) ::GlobalUnlock(FBlock);
  }
  TLockedMode(const TLockedMode&) = delete;
  TLockedMode& operator=(const TLockedMode&) = delete;
  DEVMODEA* operator->() const { return FMode; }
  DEVMODEA* Get() const { return FMode; }

 private:
  HGLOBAL FBlock;
  DEVMODEA* FMode;
};

// A fixed-size name of a device list, without its padding.
String FixedName(const char* Data, int Size) {
  int n = 0;
  while (n < Size && Data[n] != 0) ++n;
  return String(Data, std::size_t(n));
}

}  // namespace

int PaperToPixels(int TenthsOfMillimetre) {
  return static_cast<int>(std::nearbyint(TenthsOfMillimetre * zrPixelsPerInch / 254.0));
}

TzrPrinter::TzrPrinter()
    : FPrinterNames(std::make_unique<TStringList>()),
      FPaperNames(std::make_unique<TStringList>()),
      FBinNames(std::make_unique<TStringList>()) {
  FPrinterNames->Add(EngineString(55007));
  FVirtualIndex = FPrinterIndex = 0;
  WriteVirtualSettings();
}

TzrPrinter::~TzrPrinter() = default;

int TzrPrinter::PaperSizes(int Index) const {
  if (Index < 0 || Index >= FPaperSizeCount) throw EListError("Indice de format de papier hors limites");
  return IsVirtual() ? kPapers[Index].Code : FPaperCodes[std::size_t(Index)];
}

int TzrPrinter::Bins(int Index) const {
  if (Index < 0 || Index >= BinCount()) throw EListError("Indice de bac hors limites");
  return FBins[std::size_t(Index)];
}

bool TzrPrinter::HasPlatformPrinters() const {
  if (FPlatform == nullptr) return false;
  try {
    return FPlatform->Printers()->Count() > 0;
  } catch (const Exception&) {
    return false;
  }
}

void TzrPrinter::AttachPrinter(TPrinter* Platform) {
  FPlatform = Platform;
  FPrinterNames->Clear();
  FPrinterIndex = 0;
  bool listed = HasPlatformPrinters();
  if (listed) {
    FPrinterNames->Assign(FPlatform->Printers());
    try {
      FPrinterIndex = FPlatform->PrinterIndex();
    } catch (const Exception&) {
      FPrinterIndex = 0;
    }
  }
  FPrinterNames->Add(EngineString(55007));
  FVirtualIndex = FPrinterNames->Count() - 1;
  if (!listed) {
    FPrinterIndex = FVirtualIndex;
    WriteDeviceSettings();
  } else {
    ReadDeviceSettings();
  }
}

void TzrPrinter::SelectPrinter(int Index) {
  if (Index == FPrinterIndex) return;
  if (Index < 0 || Index >= FPrinterNames->Count())
    throw EListError("Imprimante inconnue (indice "_a + IntToStr(Index) + ")");
  FPrinterIndex = Index;
  if (Index == FVirtualIndex) {
    WriteDeviceSettings();
  } else if (HasPlatformPrinters()) {
    FPlatform->SetPrinterIndex(Index);
    ReadDeviceSettings();
  }
}

void TzrPrinter::FallBackToVirtual() {
  FPrinterIndex = FVirtualIndex;
  WriteVirtualSettings();
}

void TzrPrinter::ReadDeviceSettings() {
  if (IsVirtual() || FPlatform == nullptr) {
    WriteVirtualSettings();
    return;
  }
  try {
    String device, driver, port;
    HGLOBAL block = nullptr;
    FPlatform->GetPrinter(device, driver, port, block);
    TLockedMode mode(block);
    if (mode.Get() == nullptr) {
      FallBackToVirtual();
      return;
    }
    HDC dc = FPlatform->Handle();
    int ppiX = ::GetDeviceCaps(dc, LOGPIXELSX);
    int ppiY = ::GetDeviceCaps(dc, LOGPIXELSY);
    int physicalWidth = ::GetDeviceCaps(dc, PHYSICALWIDTH);
    int physicalHeight = ::GetDeviceCaps(dc, PHYSICALHEIGHT);
    // A device that reports no page is no printer to lay pages out on.
    if (ppiX <= 0 || ppiY <= 0 || physicalWidth <= 0 || physicalHeight <= 0) {
      FallBackToVirtual();
      return;
    }
    PaperSize = mode->dmPaperSize;
    PaperWidth = int(std::nearbyint(double(physicalWidth) / ppiX * 254));
    PaperHeight = int(std::nearbyint(double(physicalHeight) / ppiY * 254));

    FPaperCodes.clear();
    FPaperNames->Clear();
    int papers = ::DeviceCapabilitiesA(device.c_str(), port.c_str(), DC_PAPERS, nullptr, mode.Get());
    if (papers > 0) {
      std::vector<WORD> codes(static_cast<std::size_t>(papers));
      ::DeviceCapabilitiesA(device.c_str(), port.c_str(), DC_PAPERS, reinterpret_cast<char*>(codes.data()), mode.Get());
      std::vector<char> names(std::size_t(papers) * kPaperNameSize, '\0');
      int named = ::DeviceCapabilitiesA(device.c_str(), port.c_str(), DC_PAPERNAMES, names.data(), mode.Get());
      for (int i = 0; i < papers && i < kMaxPapers; ++i) {
        FPaperCodes.push_back(codes[std::size_t(i)]);
        FPaperNames->Add(i < named ? FixedName(&names[std::size_t(i) * kPaperNameSize], kPaperNameSize) : String());
      }
    }
    FPaperSizeCount = int(FPaperCodes.size());

    Bin = (mode->dmFields & DM_DEFAULTSOURCE) ? mode->dmDefaultSource : zrDefaultBin;
    FBins.assign(1, 0xFFFF);
    FBinNames->Clear();
    FBinNames->Add(EngineString(55435));
    int bins = ::DeviceCapabilitiesA(device.c_str(), port.c_str(), DC_BINS, nullptr, mode.Get());
    if (bins > 0) {
      std::vector<WORD> codes(static_cast<std::size_t>(bins));
      ::DeviceCapabilitiesA(device.c_str(), port.c_str(), DC_BINS, reinterpret_cast<char*>(codes.data()), mode.Get());
      std::vector<char> names(std::size_t(bins) * kBinNameSize, '\0');
      int named = ::DeviceCapabilitiesA(device.c_str(), port.c_str(), DC_BINNAMES, names.data(), mode.Get());
      for (int i = 0; i < bins && i < kMaxBins; ++i) {
        FBins.push_back(codes[std::size_t(i)]);
        FBinNames->Add(i < named ? FixedName(&names[std::size_t(i) * kBinNameSize], kBinNameSize) : String());
      }
    }
    Orientation = (mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE ? 1 : 0;
  } catch (const Exception&) {
    FallBackToVirtual();
  }
}

void TzrPrinter::WriteDeviceSettings() {
  if (IsVirtual() || FPlatform == nullptr) {
    WriteVirtualSettings();
    return;
  }
  try {
    String device, driver, port;
    HGLOBAL block = nullptr;
    FPlatform->GetPrinter(device, driver, port, block);
    {
      TLockedMode mode(block);
      if (mode.Get() == nullptr) {
        FallBackToVirtual();
        return;
      }
      if (PaperSize == zrCustomPaper) {
        mode->dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
        mode->dmPaperLength = short(PaperHeight);
        mode->dmPaperWidth = short(PaperWidth);
      } else {
        mode->dmFields &= ~DWORD(DM_PAPERLENGTH | DM_PAPERWIDTH);
      }
      mode->dmFields |= DM_PAPERSIZE | DM_ORIENTATION | DM_COPIES;
      mode->dmPaperSize = short(PaperSize);
      mode->dmOrientation = Orientation == 1 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
      mode->dmCopies = 1;
      if ((Bin & 0xFFFF) != 0xFFFF) {
        mode->dmFields |= DM_DEFAULTSOURCE;
        mode->dmDefaultSource = short(Bin);
      }
    }
    // The same block, given back: the printer's device context is made again with it.
    FPlatform->SetPrinter(device, driver, port, block);
  } catch (const Exception&) {
    FallBackToVirtual();
    return;
  }
  ReadDeviceSettings();
}

bool TzrPrinter::ShowDeviceProperties() {
  if (IsVirtual() || FPlatform == nullptr) return false;
  String device, driver, port;
  HGLOBAL block = nullptr;
  FPlatform->GetPrinter(device, driver, port, block);
  // A responder (tests) answers for the driver's own dialog.
  TModalQuestion question;
  question.Kind = TModalKind::Other;
  question.Name = "PrinterProperties";
  question.Value = device;
  TModalAnswer answer = AskModal(question);
  if (answer.Result != -1) return answer.Result > 0;
  SIZE_T size = ::GlobalSize(block);
  HGLOBAL copy = ::GlobalAlloc(GHND, size);
  if (copy == nullptr) return false;
  bool copied = false;
  {
    TLockedMode source(block);
    TLockedMode target(copy);
    if (source.Get() != nullptr && target.Get() != nullptr) {
      std::memcpy(target.Get(), source.Get(), size);
      copied = true;
    }
  }
  if (!copied) {
    ::GlobalFree(copy);
    return false;
  }
  HANDLE printer = nullptr;
  LONG result = -1;
  if (::OpenPrinterA(const_cast<char*>(device.c_str()), &printer, nullptr)) {
    TLockedMode mode(copy);
    result = ::DocumentPropertiesA(Application->ActiveFormHandle(), printer, const_cast<char*>(device.c_str()),
                                   mode.Get(), mode.Get(), DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER);
    ::ClosePrinter(printer);
  }
  if (result < 1) {
    ::GlobalFree(copy);
    return false;
  }
  FPlatform->SetPrinter(device, driver, port, copy);
  return true;
}

bool TzrPrinter::SelectPrinterByName(const String& Name) {
  int index = FPrinterNames->IndexOf(Name);
  if (index < 0) return false;
  SelectPrinter(index);
  return true;
}

String TzrPrinter::CurrentPrinterName() const { return FPrinterNames->Strings(FPrinterIndex); }

bool TzrPrinter::MatchesCurrent(int Size, int Width, int Height, int ABin, int AOrientation) const {
  if (Size != PaperSize) return false;
  if (Size == zrCustomPaper)
    return std::abs(PaperWidth - Width) <= 1 && std::abs(PaperHeight - Height) <= 1 && AOrientation == Orientation;
  return AOrientation == Orientation && (ABin == Bin || (ABin & 0xFFFF) == 0xFFFF);
}

void TzrPrinter::ChangePaper(int Size, int Width, int Height, int ABin, int AOrientation, bool Force) {
  if (FPlatform != nullptr && !IsVirtual() && FPlatform->Printing()) return;
  if (!Force && MatchesCurrent(Size, Width, Height, ABin, AOrientation)) return;
  PaperSize = Size;
  PaperWidth = Width;
  PaperHeight = Height;
  Bin = ABin;
  Orientation = AOrientation;
  WriteDeviceSettings();
}

void TzrPrinter::WriteVirtualSettings() {
  FPaperCodes.clear();
  FBins.assign(1, 0xFFFF);
  FBinNames->Clear();
  FBinNames->Add(EngineString(55435));
  FPaperNames->Clear();
  for (std::size_t i = 0; i < std::size(kPapers); ++i) FPaperNames->Add(EngineString(55008 + int(i)));
  FPaperSizeCount = int(std::size(kPapers));
  if (PaperSize == zrCustomPaper) return;
  for (const TPaperInfo& p : kPapers) {
    if (p.Code != PaperSize) continue;
    PaperWidth = Orientation == 0 ? p.Width : p.Height;
    PaperHeight = Orientation == 0 ? p.Height : p.Width;
    return;
  }
}

void TzrPrinter::GetPrintArea(TzrPrintArea& Area) const {
  if (!IsVirtual() && FPlatform != nullptr) {
    try {
      HDC dc = FPlatform->Handle();
      int ppiX = ::GetDeviceCaps(dc, LOGPIXELSX);
      int ppiY = ::GetDeviceCaps(dc, LOGPIXELSY);
      TzrPrintArea a;
      a.DevPageWidth = ::GetDeviceCaps(dc, PHYSICALWIDTH);
      a.DevPageHeight = ::GetDeviceCaps(dc, PHYSICALHEIGHT);
      a.DevOffsetX = ::GetDeviceCaps(dc, PHYSICALOFFSETX);
      a.DevOffsetY = ::GetDeviceCaps(dc, PHYSICALOFFSETY);
      a.DevPrintableWidth = ::GetDeviceCaps(dc, HORZRES);
      a.DevPrintableHeight = ::GetDeviceCaps(dc, VERTRES);
      if (ppiX > 0 && ppiY > 0 && a.DevPageWidth > 0 && a.DevPageHeight > 0) {
        double kx = zrPixelsPerInch / ppiX;
        double ky = zrPixelsPerInch / ppiY;
        a.PageWidth = PrnRound(kx * a.DevPageWidth);
        a.PageHeight = PrnRound(ky * a.DevPageHeight);
        a.OffsetX = PrnRound(kx * a.DevOffsetX);
        a.OffsetY = PrnRound(ky * a.DevOffsetY);
        a.PrintableWidth = PrnRound(kx * a.DevPrintableWidth);
        a.PrintableHeight = PrnRound(ky * a.DevPrintableHeight);
        Area = a;
        return;
      }
    } catch (const Exception&) {
      // A device that cannot be asked is laid out as the virtual printer would.
    }
  }
  int width = PaperWidth;
  int height = PaperHeight;
  if (width <= 0 || height <= 0) {
    width = Orientation == 0 ? 2100 : 2970;
    height = Orientation == 0 ? 2970 : 2100;
  }
  Area.PageWidth = PaperToPixels(width);
  Area.PageHeight = PaperToPixels(height);
  Area.OffsetX = Area.OffsetY = VirtualOffset();
  Area.PrintableWidth = Area.PageWidth - 2 * Area.OffsetX;
  Area.PrintableHeight = Area.PageHeight - 2 * Area.OffsetY;
}

namespace {
// Set by the engine's start in a program: the spooler is asked at the engine printer's next use,
// so that a program that prints nothing never loads the printing stack.
bool AttachAtFirstUse = false;
}  // namespace

TzrPrinter* zrPrinter() {
  static TzrPrinter printer;
  if (AttachAtFirstUse) {
    AttachAtFirstUse = false;
    try {
      printer.AttachPrinter(Printer());
    } catch (const Exception&) {
      printer.AttachPrinter(nullptr);
    }
  }
  return &printer;
}

void StartReportPrinter() { AttachAtFirstUse = true; }

// Taken once, when the engine printer starts: later paper changes of the printer do not reach new
// pages.
int zrDefaultPaperSize() {
  static const int size = zrPrinter()->PaperSize;
  return size;
}
