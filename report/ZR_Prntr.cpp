// This file implements the report engine's printer: the virtual printer's paper table, the current
// paper and the page geometry in report pixels.
#include "ZR_Prntr.h"

#include <cmath>

#include "Exceptions.h"
#include "StrUtils.h"
#include "ZR_Utils.h"

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

}  // namespace

int PaperToPixels(int TenthsOfMillimetre) {
  return static_cast<int>(std::nearbyint(TenthsOfMillimetre * zrPixelsPerInch / 254.0));
}

TzrPrinter::TzrPrinter()
    : FPrinterNames(std::make_unique<TStringList>()), FPaperNames(std::make_unique<TStringList>()) {
  FPrinterNames->Add(EngineString(55007));
  FVirtualIndex = FPrinterIndex = 0;
  WriteVirtualSettings();
}

TzrPrinter::~TzrPrinter() = default;

int TzrPrinter::PaperSizes(int Index) const {
  if (Index < 0 || Index >= FPaperSizeCount) throw EListError("Indice de format de papier hors limites");
  return kPapers[Index].Code;
}

void TzrPrinter::SelectPrinter(int Index) {
  if (Index == FPrinterIndex) return;
  if (Index < 0 || Index >= FPrinterNames->Count())
    throw EListError("Imprimante inconnue (indice "_a + IntToStr(Index) + ")");
  FPrinterIndex = Index;
  WriteVirtualSettings();
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
  if (!Force && MatchesCurrent(Size, Width, Height, ABin, AOrientation)) return;
  PaperSize = Size;
  PaperWidth = Width;
  PaperHeight = Height;
  Bin = ABin;
  Orientation = AOrientation;
  WriteVirtualSettings();
}

void TzrPrinter::WriteVirtualSettings() {
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
  Area.PageWidth = PaperToPixels(PaperWidth);
  Area.PageHeight = PaperToPixels(PaperHeight);
  Area.OffsetX = Area.OffsetY = VirtualOffset();
  Area.PrintableWidth = Area.PageWidth - 2 * Area.OffsetX;
  Area.PrintableHeight = Area.PageHeight - 2 * Area.OffsetY;
}

TzrPrinter* zrPrinter() {
  static TzrPrinter printer;
  return &printer;
}

// Taken once, when the engine printer starts: later paper changes of the printer do not reach new
// pages.
int zrDefaultPaperSize() {
  static const int size = zrPrinter()->PaperSize;
  return size;
}
