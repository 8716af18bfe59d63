// This file implements TzrPrinter, the report engine's printer: the list of printers with the
// engine's virtual printer, the current paper (code, size, orientation, bin) and the page geometry
// TzrPrintArea in report pixels, 91.6256157635468 per inch whatever the device.
//
// The virtual printer lets templates be read, built and kept as prepared pages on a machine without
// any printer: it has a fixed table of 67 paper sizes and an 18-pixel margin on every side. The
// spooler's printers are attached to this object at its first use after StartReportPrinter (the
// engine's start-up in a program) and by every print (AttachPrinter with the class library's printer); until then the
// virtual printer is the only one.
#pragma once

#include <memory>
#include <vector>

#include "AnsiString.h"
#include "Object.h"
#include "Strings.h"

// Report pixels per inch, and the paper sizes' unit: tenths of a millimetre, 254 per inch.
inline constexpr double zrPixelsPerInch = 91.6256157635468;
inline constexpr int zrCustomPaper = 256;
inline constexpr int zrPaperA4 = 9;
// The bin code of "the printer's default source".
inline constexpr int zrDefaultBin = -1;

// The geometry of a page on the current printer and paper: device pixels and report pixels.
struct TzrPrintArea {
  int DevPageWidth = 0;
  int DevPageHeight = 0;
  int PageWidth = 0;
  int PageHeight = 0;
  int DevOffsetX = 0;
  int DevOffsetY = 0;
  int OffsetX = 0;  // distance of the printable area from the paper's left edge
  int OffsetY = 0;  // and from its top edge
  int DevPrintableWidth = 0;
  int DevPrintableHeight = 0;
  int PrintableWidth = 0;
  int PrintableHeight = 0;
  bool operator==(const TzrPrintArea&) const = default;
};

// Tenths of a millimetre to report pixels, rounded half to even.
int PaperToPixels(int TenthsOfMillimetre);

class TPrinter;

class TzrPrinter : public TObject {
  VELBOR_DECLARE_CLASS(TzrPrinter, TObject)
 public:
  TzrPrinter();
  ~TzrPrinter() override;

  // The printers, the virtual one last ("Imprimante virtuelle").
  TStringList* PrinterNames() const { return FPrinterNames.get(); }
  int PrinterIndex() const { return FPrinterIndex; }
  int VirtualIndex() const { return FVirtualIndex; }
  bool IsVirtual() const { return FPrinterIndex == FVirtualIndex; }
  // The current printer's paper names and their codes.
  TStringList* PaperNames() const { return FPaperNames.get(); }
  int PaperSizeCount() const { return FPaperSizeCount; }
  int PaperSizes(int Index) const;

  // The current paper. Width and height are in tenths of a millimetre, in the current orientation.
  int PaperSize = zrPaperA4;
  int PaperWidth = 2100;
  int PaperHeight = 2970;
  int Orientation = 0;  // 0 portrait, 1 landscape
  int Bin = zrDefaultBin;

  // The spooler's printers, then the virtual one; the platform's current printer becomes current
  // and its settings are read (the virtual printer when the spooler lists none). Platform may be
  // nullptr: only the virtual printer is left.
  void AttachPrinter(TPrinter* Platform);
  TPrinter* PlatformPrinter() const { return FPlatform; }
  // The names of the current printer's paper sources, the default source first, and their codes
  // (the first one is the default marker 0xFFFF).
  TStringList* BinNames() const { return FBinNames.get(); }
  int BinCount() const { return int(FBins.size()); }
  int Bins(int Index) const;
  // Reads the current real printer's paper, paper list, sources and orientation; a printer that
  // gives no device settings or no page size leaves the virtual printer current.
  void ReadDeviceSettings();
  void Refresh() { ReadDeviceSettings(); }
  // Pushes the current paper to the device (the virtual printer: to its table).
  void WriteDeviceSettings();
  // The printer driver's own settings dialog for the current printer; true when accepted (the
  // platform printer then holds the new device settings; the engine's fields are not read again).
  bool ShowDeviceProperties();

  // Nothing when Index is the current printer; an index outside the list is refused (EListError).
  void SelectPrinter(int Index);
  // Selects the printer of that name; false (nothing changed) when no printer has it.
  bool SelectPrinterByName(const String& Name);
  String CurrentPrinterName() const;
  // Whether the current paper already is the one asked: the same code; for a custom size the width
  // and height within one tenth of a millimetre and the same orientation; for a table size the
  // same orientation and the same bin (or the default-bin request).
  bool MatchesCurrent(int Size, int Width, int Height, int ABin, int AOrientation) const;
  // Sets the paper (nothing while the device prints, nor when it matches and Force is off).
  void ChangePaper(int Size, int Width, int Height, int ABin, int AOrientation, bool Force = false);
  // The page geometry of the current printer and paper. A page is never empty: a paper of no size
  // (a custom size of 0, a device that reports none) is laid out as A4 in its orientation.
  void GetPrintArea(TzrPrintArea& Area) const;

 private:
  // The virtual printer's paper table applied to the current paper code.
  void WriteVirtualSettings();
  void FallBackToVirtual();
  bool HasPlatformPrinters() const;

  TPrinter* FPlatform = nullptr;
  std::unique_ptr<TStringList> FPrinterNames;
  std::unique_ptr<TStringList> FPaperNames;
  std::unique_ptr<TStringList> FBinNames;
  std::vector<int> FPaperCodes;
  std::vector<int> FBins;
  int FPrinterIndex = 0;
  int FVirtualIndex = 0;
  int FPaperSizeCount = 0;
};

// The engine printer, made on first use with the virtual printer current.
TzrPrinter* zrPrinter();
// The engine's start-up in a program: the engine printer is attached to the class library's
// printer at its first use after this call (errors leave the virtual printer current, as on a
// machine without printer).
void StartReportPrinter();
// The paper of new template pages.
int zrDefaultPaperSize();
