// This file implements TzrBand, one band of a report page during a build: a horizontal strip (or,
// for the cross-tab bands, a vertical one) of report objects printed once per occasion, with its
// events and script, pending page and column breaks, the fit test, stretching, splitting across
// pages, band columns, sub-reports, cross-tab columns and the aggregate accumulators.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "AnsiString.h"
#include "Object.h"
#include "Strings.h"
#include "Variant.h"
#include "ZR_ClassGlobals.h"
#include "ZR_Pars.h"

class TzrPage;
class TzrView;
class TzrBandView;
class TzrDataset;

// Band kinds, the index of the page's band chains.
enum TzrBandKind {
  btReportTitle, btReportSummary, btPageHeader, btPageFooter, btMasterHeader, btMasterDataKind, btMasterFooter,
  btDetailHeader, btDetailDataKind, btDetailFooter, btSubDetailHeader, btSubDetailDataKind, btSubDetailFooter,
  btOverlay, btColumnHeader, btColumnFooter, btGroupHeader, btGroupFooter, btCrossHeader, btCrossDataKind,
  btCrossFooterKind, btChild, btNoneKind
};

// Band flags (the band object's Flags).
inline constexpr int zrbfStretched = 0x01;
inline constexpr int zrbfFormNewPage = 0x02;
inline constexpr int zrbfPrintIfSubsetEmpty = 0x04;
inline constexpr int zrbfBreaked = 0x08;
inline constexpr int zrbfOnFirstPage = 0x10;
inline constexpr int zrbfOnLastPage = 0x20;
inline constexpr int zrbfRepeatHeader = 0x40;
inline constexpr int zrbfPrintChildIfInvisible = 0x80;

// Where aggregate keys keep their fields: each field is followed by the byte 1.
String AggregateKeyField(const String& Key, int N);

class TzrBand : public TObject, public TzrAggregateBand {
  VELBOR_DECLARE_CLASS(TzrBand, TObject)
 public:
  TzrBand(int AKind, TzrPage* APage);
  // Frees the rest of the chain and releases the data sources.
  ~TzrBand() override;

  int Kind;
  TzrPage* Page;
  TzrBandView* View = nullptr;  // the band object that defined the band
  int Flags = 0;
  // The chain of bands of one kind; the first one also knows the last.
  TzrBand* Next = nullptr;
  TzrBand* Prev = nullptr;
  TzrBand* Last = nullptr;
  // Group headers of a data band (First/Last on the data band, Next/Prev on the groups).
  TzrBand* FirstGroup = nullptr;
  TzrBand* LastGroup = nullptr;
  TzrBand* NextGroup = nullptr;
  TzrBand* PrevGroup = nullptr;
  TzrBand* Child = nullptr;
  TzrBand* AggrBand = nullptr;
  TzrBand* Header = nullptr;
  TzrBand* Footer = nullptr;
  TzrBand* DataBand = nullptr;
  // Sub-reports.
  int SubReportLimit = 0;
  bool SubReportsPending = false;
  std::vector<bool> SubReportDone;
  // LINE# and LINETHROUGH#.
  int LocalLine = 1;
  int RunningLine = 1;
  Variant GroupValue;
  std::unique_ptr<TzrVariables> Values;
  int AccumulationCount = 0;
  int CalculatedHeight = -1;
  int ColumnCounter = 0;
  int SavedXAdjust = 0;
  int PendingNewPages = 0;
  int PendingNewColumns = 0;
  bool ScriptDone = false;     // the script already ran for this print
  bool RepeatPrint = false;    // being reprinted as a repeated header
  bool KeepPosition = false;
  bool SplitMode = false;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int PrintedHeight = 0;
  String Name;
  bool PrintIfSubsetEmpty = false;
  bool FormNewPage = false;
  bool Stretched = false;
  bool Breaked = false;
  bool PrintChildIfInvisible = false;
  bool Visible = true;
  // Plain objects, cross objects, then sub-report objects; not owned.
  std::vector<TzrView*> Objects;
  std::unique_ptr<TStringList> Lines;
  std::unique_ptr<TStringList> Script;
  TzrDataset* DataSource = nullptr;
  bool OwnsDataSource = false;
  TzrDataset* CrossDataSource = nullptr;
  bool OwnsCrossDataSource = false;
  // A group header's condition, in the parser's postfix form.
  String GroupCondition;

  // Prints the band: true when it did not fit and a page or column break was made (sub-report
  // play-back stops then).
  bool PrintBand();
  // The data source of a band named by text: a group condition, a repeat count, or a report data
  // source component. A master data band without one takes the report's Dataset (rtSimple).
  void AssignDataSource(const String& Text);
  void ReleaseDataSets();
  bool HasCross() override;
  bool IsDataBand() const;
  // Registration of the aggregates of the bands that accumulate over this data band.
  void CollectAggregates(TzrBand* Target);
  void DoAggregate();
  void InitValues();

  // TzrAggregateBand
  String BandName() override { return Name; }
  int BandType() override { return Kind; }
  TzrAggregateBand* AggregateBand() override { return AggrBand; }
  void SetAggregateBand(TzrAggregateBand* Band) override;
  void SetAggregate(const String& Key, const Variant& Value) override;
  Variant GetAggregate(const String& Key) override;

  // Fit test: true when a band of Height at Y does not fit (a column or page break is made unless
  // Dry).
  bool CheckPageBreak(int Y, int AHeight, bool Dry);

 private:
  void DoPrint();
  void CalcHeight();
  int CalcStretchHeight();
  bool DrawObjects();
  void DrawObject(TzrView* View);
  void DrawPageBreak();
  void ShiftObjectsBelow(TzrView* View, int Delta);
  void StretchObjects(int MaxHeight);
  void UnstretchObjects();
  void DrawCross();
  void DrawCrossCells(TzrBand* CrossBand, int X);
  bool CrossColumnBreak(int& X, int ColumnWidth);
  void StartSubReports();
  bool PrintSubReports();
  bool IsFixedBand() const;
  std::vector<int> FSavedHeights;
  // The memos of a split whose first part was announced to the print listeners.
  std::vector<TzrView*> FAnnounced;
  // Records accumulated since each footer's reset, by footer name (upper case).
  std::map<String, int> FCounts;
};
