// This file implements the template pages of a report: TzrPage, a report page laid out with bands
// or a dialog page shown before the build, with its geometry, script properties, page header
// record and its compilation into bands (ZR_ClassPage.cpp) and its build, the band walk over the
// data (ZR_ClassPageBuild.cpp); and TzrPages, the report's list of pages.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "ZR_ClassBand.h"
#include "ZR_ClassView.h"
#include "ZR_Prntr.h"

class TStream;
class TForm;
class TzrReport;

enum TzrPageType { ptReport, ptDialog };

// Build modes: bands print into prepared pages, or are recorded to be played back by a sub-report.
enum TzrPageMode { pmNormal, pmBuildList };

class TzrPage : public TzrObject {
  VELBOR_DECLARE_CLASS(TzrPage, TzrObject)
 public:
  // A report page with the engine printer's default paper, portrait, default bin.
  explicit TzrPage(TzrReport* AReport);
  ~TzrPage() override;

  TzrReport* Report;

  // ---- Template fields. Paper sizes are in tenths of a millimetre; margins and everything laid
  // out on the page are in report pixels.
  int PaperSize;
  int PaperWidth = 0;
  int PaperHeight = 0;
  TRect Margins;  // left, top, right, bottom
  int Orientation = 0;
  int Bin = 0xFFFF;
  bool PrintToPrevPage = false;
  bool UseMargins = true;
  TzrPrintArea PrintArea;
  int Columns = 0;
  int ColumnWidth = 0;
  int ColumnGap = 0;
  int PageType = ptReport;
  String Name;
  int BorderStyle = 3;
  String Caption = "Form";
  TColor Color;
  int FormLeft = 220;
  int FormTop = 120;
  int FormWidth = 380;
  int FormHeight = 300;
  int Position = 4;
  TStringList* Script() const { return FScript.get(); }
  bool Visible = true;

  // ---- Objects, owned.
  int ObjectCount() const { return int(FObjects.size()); }
  TzrView* Objects(int Index) const { return FObjects[std::size_t(Index)]; }
  void AddObject(TzrView* View);
  // The first object of that name, without regard to case; nullptr when none.
  TzrView* FindObjectByName(const String& AName) const;
  void DeleteObject(int Index);
  void ClearObjects();

  // "Page" followed by the first number from 1 to 10000 that no page of the report uses.
  void AssignDefaultName();
  // Asks the engine printer for the paper; the page takes what it settled on and its geometry.
  void ApplyPaper(int ASize, int AWidth, int AOrientation, int ABin, int AHeight);
  void ReadPageHeader(TStream* Stream);
  void WritePageHeader(TStream* Stream);
  void ExecuteScript(TStrings* Lines);

  // ---- Geometry, in report pixels.
  int TopOffset() const;
  int BottomOffset() const;
  int LeftOffset() const;
  int RightOffset() const;
  int ColumnOffset() const { return 0; }
  // The column footer's height, which every band leaves free; 0 while the summary prints.
  int ColumnFooterHeight() const;
  bool IgnoreColumnFooter = false;

  // ---- Build.
  void InitReport();
  void PrepareObjects();
  void BuildPage();
  void DoneReport();
  void NewPage();
  void NewColumn(TzrBand* Band);
  void ShowBand(TzrBand* Band);
  void ShowBandByName(const String& BandName);
  void ShowPageFooters();
  // Plays the recorded bands from the play position; true when a band did not fit (play stops and
  // resumes there later).
  bool PlayRecords();
  void ClearRecords();
  void ResetBandLines(TzrBand* Band, int N);
  // The first band of a kind's chain (nullptr when the page is not being built).
  TzrBand* Bands(int Kind) const { return FBands[std::size_t(Kind)]; }
  // The band whose band object has that name, over every kind and chain (case-insensitive).
  TzrBand* FindBand(const String& BandName) const;
  // The data band whose records the current band prints: the current band, or the first band of
  // its chain when it has no data source.
  TzrBand* CurrentMasterBand() const;

  // ---- Build state.
  bool Skip = false;  // printed only through a sub-report
  bool Initialised = false;
  int CurColumn = 0;
  int ColumnTop = 0;
  int XAdjust = 0;
  int Mode = pmNormal;
  int PlayFrom = 0;
  TzrBand* PendingBand = nullptr;
  int CurrentRecord = 1;  // CURRENT#
  int ColumnPosition = 1; // COLUMN#
  TzrBand* LastBand = nullptr;
  bool DisableRepeatHeader = false;
  int CurY = 0;
  int CurBottomY = 0;
  int PageNumber = 0;  // position in the template, from 1
  TForm* DialogForm = nullptr;
  int DialogResult = 0;
  bool DialogResultSet = false;

  // Script access.
  void SetProperty(const String& PropName, const Variant& Value) override;
  Variant GetProperty(const String& PropName) override;
  void ListProperties() override;

 private:
  void CompileObjects();
  void PairHeadersAndFooters(int HeaderKind, int DataKind, int FooterKind);
  void DoLoop(int Level);
  void PrintQueue();
  void Queue(TzrBand* Band);
  void InitDialogPage();
  void RunActivateScript(TObject* Sender);
  void FreeBands();
  int DeepestLevel = 0;

  enum TRecordAction { raPrint, raFirst, raNext };
  struct TRecord {
    TzrBand* Band;
    TRecordAction Action;
  };
  std::vector<TRecord> FRecords;
  std::vector<TzrBand*> FQueue;
  std::array<TzrBand*, zrBandTypeCount> FBands{};
  std::vector<TzrView*> FObjects;
  std::unique_ptr<TStringList> FScript;
};

class TzrPages : public TObject {
  VELBOR_DECLARE_CLASS(TzrPages, TObject)
 public:
  explicit TzrPages(TzrReport* AReport) : Report(AReport) {}
  ~TzrPages() override;

  TzrReport* Report;
  int Count() const { return int(FPages.size()); }
  TzrPage* Pages(int Index) const;
  // A new report page with the engine's default paper, portrait, bin -1.
  TzrPage* Add();
  void Clear();
  // From the print-to-default field to the end tag (or the extension tag).
  void ReadObjectList(TStream* Stream);
  // From the print-to-default field to the dictionary record; the caller writes the end tag.
  void WriteObjectList(TStream* Stream);
  // Paints every object with a band alignment once on the measuring canvas.
  void PaintAlignedObjects();

 private:
  std::vector<std::unique_ptr<TzrPage>> FPages;
};
