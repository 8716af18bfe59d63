// This file implements TzrReport, the report component: it owns a template (pages of report objects
// and a data dictionary) and the prepared pages a build produces, and orchestrates the engine: it
// loads and writes templates (ZR_ClassTemplate.cpp), prepares them over the report data sources
// in one or two passes (ZR_ClassReport.cpp), keeps and exchanges prepared-report files, shows the
// preview, and, while a build runs, answers the names and functions of expressions and scripts
// (ZR_ClassValues.cpp).
#pragma once

#include <memory>
#include <vector>

#include "Component.h"
#include "DateTime.h"
#include "Event.h"
#include "Streams.h"
#include "TypInfo.h"
#include "ZR_ClassDictionary.h"
#include "ZR_ClassGlobals.h"
#include "ZR_ClassPage.h"
#include "ZR_ClassPrepared.h"
#include "ZR_ClassScript.h"

class TzrDataset;
class TzrBand;
class TzrExportFilter;
class TzrProgressWindow;

enum TzrPreviewZoom { pzDefault, pzPageWidth, pzOnePage, pzTwoPages };
VELBOR_ENUM(TzrPreviewZoom, "pzDefault", "pzPageWidth", "pzOnePage", "pzTwoPages")
enum TzrPreviewButton { pbZoom, pbLoad, pbSave, pbPrint, pbFind, pbHelp, pbExit, pbPageSetup };
VELBOR_ENUM(TzrPreviewButton, "pbZoom", "pbLoad", "pbSave", "pbPrint", "pbFind", "pbHelp", "pbExit", "pbPageSetup")
using TzrPreviewButtons = TSet<TzrPreviewButton>;
enum TzrReportType { rtSimple, rtMultiple };
VELBOR_ENUM(TzrReportType, "rtSimple", "rtMultiple")

using TzrSimpleEvent = TEvent<void()>;
using TzrPageEvent = TEvent<void(int pgNo)>;
using TzrBandEvent = TEvent<void(TzrBand* Band)>;
using TzrBeforePrintEvent = TEvent<void(TStringList* Memo, TzrView* View)>;
using TzrProgressEvent = TEvent<void(int n)>;
using TzrPrintColumnEvent = TEvent<void(int ColNo, int& Width)>;
using TzrManualBuildEvent = TEvent<void(TzrPage* Page)>;
using TzrObjectClickEvent = TEvent<void(TzrView* View)>;
using TzrMouseOverObjectEvent = TEvent<void(TzrView* View, int& Cursor)>;

// The report's information texts and flags, kept with the template.
struct TzrReportInfo {
  String Comment, Name, Author, VMajor, VMinor, VRelease, VBuild;
  TDateTime Created = 0;
  TDateTime Changed = 0;
  String Password;
  int Protected = 0;
  int GeneratorVersion = 88;
};

class TzrReport : public TComponent, public TzrEngineHost, public TzrScriptHost {
  VELBOR_DECLARE_CLASS(TzrReport, TComponent)
 public:
  explicit TzrReport(TComponent* AOwner);
  ~TzrReport() override;

  // ---- Published properties.
  TzrDataset* Dataset() const { return FDataset; }
  void SetDataset(TzrDataset* Value);
  int DefaultCopies = 1;
  bool DefaultCollate = true;
  bool GrayedButtons = false;
  TzrPreviewZoom InitialZoom = pzDefault;
  bool MDIPreview = false;
  bool ModalPreview = true;
  bool ModifyPrepared = true;
  // An embedded preview panel (a TzrPreviewPanel) to show the pages in.
  TComponent* Preview() const { return FPreview; }
  void SetPreview(TComponent* Value);
  TzrPreviewButtons PreviewButtons = TzrPreviewButtons::FromBits(127);
  bool PrintIfEmpty = true;
  TzrReportType ReportType = rtSimple;
  bool ShowPrintDialog = true;
  bool ShowProgress = true;
  bool StoreInDFM = false;
  String Title;
  bool RebuildPrinter = false;
  // A data reference that names no dataset is resolved against the default data source of the
  // object's band.
  bool UseDefaultDataSetName() override { return FUseDefaultDataSetName; }
  void SetUseDefaultDataSetName(bool Value) { FUseDefaultDataSetName = Value; }

  // ---- Events.
  TzrSimpleEvent OnBeginDoc;
  TzrSimpleEvent OnEndDoc;
  TzrPageEvent OnBeginPage;
  TzrPageEvent OnEndPage;
  TzrBandEvent OnBeginBand;
  TzrBandEvent OnEndBand;
  TzrGetValueEvent OnGetValue;
  TzrBeforePrintEvent OnBeforePrint;
  TzrFunctionEvent OnUserFunction;
  TzrProgressEvent OnProgress;
  TzrBandEvent OnBeginColumn;
  TzrPrintColumnEvent OnPrintColumn;
  TzrManualBuildEvent OnManualBuild;
  TzrObjectClickEvent OnObjectClick;
  TzrMouseOverObjectEvent OnMouseOverObject;
  TzrSimpleEvent OnPrintReport;
  TNotifyEvent OnCustomizeObject;

  // ---- The template and its results.
  TzrPages* Pages() const { return FPages.get(); }
  TzrDataDictionary* Dictionary() const { return FDictionary.get(); }
  TzrEMFPages* EMFPages() const { return FEMFPages.get(); }
  // Hands the prepared pages to a preview: the report keeps a new empty list.
  std::unique_ptr<TzrEMFPages> TakeEMFPages();
  // Gives prepared pages back (the current ones are freed).
  void SetEMFPages(std::unique_ptr<TzrEMFPages> Pages);
  TzrReportInfo Info;
  int PrintToDefault = 0;
  int DoublePass = 0;
  String FileName;
  String PrinterName;
  bool CanRebuild = false;
  bool Terminated = false;
  bool FinalPass = true;
  TzrExportFilter* CurrentFilter = nullptr;
  // WriteTemplate writes the XML report format instead of the template file (off after creation;
  // nothing in the program turns it on).
  bool XmlOutput = false;
  TzrPage* CurrentPage = nullptr;

  // ---- Operations.
  // False when the file does not exist (nothing happens); otherwise reads it and remembers its
  // name, true even when the reader refused it (it shows its own message).
  bool LoadTemplateFile(const String& AFileName);
  // A template read from any stream but a memory stream (a file) asks the password of a protected
  // template.
  void ReadTemplate(TStream* Stream);
  void WriteTemplate(TStream* Stream);
  // True when the build ran to its end and no dialog page was cancelled.
  bool Prepare();
  void ShowPreview();
  // The prepared pages from a prepared-report file; a damaged file raises EReadError and the pages
  // stay as they were.
  void LoadPreparedFile(const String& AFileName);
  void SavePreparedFile(const String& AFileName);
  TzrView* FindObjectByName(const String& AName) const;
  // Selects the printer of that name unless print-to-default is set; always remembers it.
  void SetPrinterName(const String& Name);
  void Clear();
  void ClearReportInfo();
  // A prepared page in the report designer: no designer exists, nothing happens.
  void EditPreparedPage(int Index);

  // ---- Printing (ZR_ClassPrint.cpp).
  // Prints the prepared pages on the class library's printer: the pages of the list ("" every
  // page; "1,3-5,8-"), Copies (0 or less: 1), PrintPages 0 every page, 1 the odd ones, 2 the even
  // ones. An invalid page list is refused with a message and nothing is printed (false).
  bool PrintPrepared(const String& PageNumbers, int Copies, int PrintPages, bool Collate);
  virtual void PrintAllPages(const String& PageNumbers, int Copies, int PrintPages, bool Collate);
  // The page numbers of a page-list text, in order: blanks ignored, "n" a page, "a-b" the pages
  // from a to b (from b to a when b is smaller), "a-" the pages from a to the last. An empty text
  // gives no number (every page). Anything else raises EConvertError naming the text.
  std::vector<int> ParsePageList(const String& Text) const;
  // Selects engine printer NewIndex and lays the template's pages out on its paper; an invalid
  // printer shows a message and goes back to OldIndex (false).
  bool SwitchPrinter(int OldIndex, int NewIndex);
  void ReapplyPaper();
  // The job of the print running (the arguments of PrintPrepared).
  String PrintPageList;
  int PrintCopies = 1;
  int PrintPagesMode = 0;
  bool PrintCollate = true;

  // ---- Export (ZR_ClassExport.cpp).
  // Exports the prepared pages through Filter into FileName. The pages are written to a temporary
  // file beside the target, which replaces the target only once the export has run: an error
  // leaves the target as it was, removes the temporary file and raises; the report and the filter
  // leave the export as they came whatever happens.
  void ExportToFile(TzrExportFilter* Filter, const String& AFileName);

  // ---- Build.
  virtual void BuildAllPages();
  void UpdateProgress(int N);
  // The page number of the prepared page being built (from 0).
  int PageNo = 0;
  // A page appends to the previous page's last prepared page.
  bool Append = false;
  // Where the previous page left off, for a page that prints on it.
  int AppendY = 0;
  int AppendBottom = 0;
  bool AppendFooterPrinted = false;
  // Objects are being prepared before a build: a name that needs itself gives 0 instead of an error.
  bool PreparingObjects = false;

  // ---- Values (ZR_ClassValues.cpp).
  void ResolveName(const String& Name, Variant& Value);
  void ResolveSystemValue(const String& Name, Variant& Value);
  void CallFunction(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val);
  void CallProcedure(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val);
  String EvaluateExpression(const String& Expr);
  static String ApplyDisplayFormat(const Variant& Value, int Code, const String& FormatText);
  void BeforePrintObject(TStringList* Memo, TzrView* View);
  void DoBeginColumn(TzrBand* Band);
  void DoPrintColumn(int ColNo, int& Width);
  void ExportObject(TzrView* View);
  void ExportText(const TRect& DrawRect, int X, TzrView* View, int FrameSides, const String& Text, int Y);
  // The value the last expression produced (VALUE).
  Variant LastValue;

  // ---- TzrEngineHost
  TComponent* ReportOwner() override { return Owner(); }
  String ReportName() override { return Name(); }
  TzrDataset* ReportDataSource() override { return FDataset; }
  void Terminate() override { Terminated = true; }
  int PrintingBandType() override;
  bool PageDataBandSource(int BandType, TzrDataset*& Source) override;
  bool CurrentObject(String& ObjectName, TStrings* Memo) override;
  TzrAggregateBand* AggregateCurrentBand() override;
  TzrAggregateBand* AggregateTargetBand() override { return FAggregateTarget; }
  int ColumnPosition() override;

  // ---- TzrScriptHost
  bool HasDictionaryVariable(const String& VarName) override;
  void SetDictionaryVariable(const String& VarName, const Variant& Value) override;
  bool CurrentPageIsDialog() override;
  void SetDialogModalResult(int Value) override;
  void SetCurY(int Value) override;
  void ShowProgressText(const String& Text) override;
  bool SetObjectProperty(const String& QualifiedName, const Variant& Value) override;

  // While aggregates are registered: the band whose objects are walked and the target data band.
  void SetAggregateCollection(TzrBand* Current, TzrBand* Target);

  // The build in progress is one of two passes (the flag copied when Prepare started).
  bool TwoPassBuild() const;
  // The progress window while a run shows it, else nullptr.
  TzrProgressWindow* ShownProgressWindow();

  // Makes this report the current one (and the main one) of the engine.
  void MakeCurrent(bool AsMain);
  // Points the global parser and interpreter at this report.
  void BindParser();

 protected:
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool RunPasses();
  void RunBuildPass(TObject* Sender);
  void DoPrint(TObject* Sender);
  void ExportPages(TObject* Sender);
  void PrintPage(int Index, bool& FirstPage, bool& DocumentOpen);
  void ConnectPreviewPanel(bool Connect);
  void ReadReportForm(TStream* Stream);
  void WriteReportForm(TStream* Stream);
  void ReadTemplateFrom(TStream* Stream, bool FromFile);
  void ReadReportInfo(TStream* Stream);
  void WriteReportInfo(TStream* Stream);
  void EmptyToBlankPage();
  TzrProgressWindow* ProgressWindow();

  TzrDataset* FDataset = nullptr;
  bool FUseDefaultDataSetName = false;
  TComponent* FPreview = nullptr;
  std::unique_ptr<TzrPages> FPages;
  std::unique_ptr<TzrEMFPages> FEMFPages;
  std::unique_ptr<TzrDataDictionary> FDictionary;
  std::unique_ptr<TMemoryStream> FKeptTemplate;
  bool FDoublePassRequested = false;
  TzrBand* FAggregateTarget = nullptr;
  TzrBand* FAggregateCurrent = nullptr;
  String FInProgressName;
  TzrProgressWindow* FProgress = nullptr;  // while a run shows it
};

// The report data source a name designates from the current report's owner; nullptr when none.
TzrDataset* FindReportDataSource(const String& Name);
// Registers the report components for form descriptions and the built-in and shape views.
void RegisterReportComponents();
