// This file implements TPrinter: the installed printers of the spooler, the current printer with its
// device mode (orientation, copies), and a print job (BeginDoc, NewPage, EndDoc, Abort) drawn
// through a canvas on the printer's device context.
#pragma once

#include "WinApi.h"

#include "Graphics.h"
#include "Strings.h"

enum TPrinterOrientation { poPortrait, poLandscape };
VELBOR_ENUM(TPrinterOrientation, "poPortrait", "poLandscape")

enum TPrinterState { psNoHandle, psHandleIC, psHandleDC };

enum TPrinterCapability { pcCopies, pcOrientation, pcCollation };
using TPrinterCapabilities = TSet<TPrinterCapability>;

VELBOR_EXCEPTION(EPrinter, Exception)

class TPrinterCanvas;

class TPrinter : public TObject {
  VELBOR_DECLARE_CLASS(TPrinter, TObject)
  friend class TPrinterCanvas;

 public:
  TPrinter();
  ~TPrinter() override;

  // Properties.
  // The installed printers' names, in the spooler's order (read once; Refresh reads them again).
  TStrings* Printers();
  // The current printer's position in Printers; -1 selects the spooler's default printer.
  // EPrinter "Imprimante sélectionnée non valide" outside the list.
  int PrinterIndex();
  void SetPrinterIndex(int Value);
  // The device context of the current printer: an information context outside a job, the
  // printing one during it.
  HDC Handle();
  TCanvas* Canvas();
  // Text of the job in the spooler's queue.
  String Title;
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  int PageNumber() const { return FPageNumber; }
  // Read from and written to the current printer's device mode.
  int Copies();
  void SetCopies(int Value);
  TPrinterOrientation Orientation();
  void SetOrientation(TPrinterOrientation Value);
  // The printable area in device pixels.
  int PageWidth();
  int PageHeight();
  TPrinterCapabilities Capabilities();
  TStrings* Fonts();

  // Operations.
  // EPrinter "Impression en cours" when a job is running.
  void BeginDoc();
  void NewPage();
  void EndDoc();
  void Abort();
  // The current printer's device, driver and port names and its device mode (a movable global
  // block the printer owns; copy it to keep it).
  void GetPrinter(String& ADevice, String& ADriver, String& APort, HGLOBAL& ADeviceMode);
  // Makes ADevice current (added to Printers when the spooler did not list it). ADeviceMode,
  // when given, becomes the printer's own: the printer frees it.
  void SetPrinter(const String& ADevice, const String& ADriver, const String& APort, HGLOBAL ADeviceMode);
  // Reads the printer list again (the current printer is kept when still installed).
  void Refresh();

 private:
  struct TPrinterInfo {
    String Device;
    String Driver;
    String Port;
  };
  void CheckPrinting(bool Value);
  void LoadPrinters();
  void SetToDefaultPrinter();
  void SelectIndex(int Index);
  // The device mode of the current printer, fetched from the driver when there is none.
  DEVMODEA* LockDeviceMode();
  void UnlockDeviceMode();
  void FreeDeviceMode();
  void SetState(TPrinterState Value);
  void FreeDC();

  TStringList* FPrinters;
  TStringList* FFonts;
  std::vector<TPrinterInfo> FInfo;
  bool FLoaded = false;
  int FPrinterIndex = -1;
  HGLOBAL FDeviceMode = nullptr;
  TPrinterState FState = psNoHandle;
  TOwnedDC FDC;
  TPrinterCanvas* FCanvas = nullptr;
  bool FPrinting = false;
  bool FAborted = false;
  int FPageNumber = 0;
};

// The program's printer, made on first use.
TPrinter* Printer();
// Replaces it (tests); returns the previous one, which the caller then owns.
TPrinter* SetPrinter(TPrinter* NewPrinter);
// How many times this process has asked the spooler for its printers (any TPrinter): lets the
// program's start show that it leaves the printing stack unloaded.
int PrinterListReads();
