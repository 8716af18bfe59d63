// This file implements the report engine's process-wide state and singletons: the build state
// (current report, page, band, object, running mode, stream version, build error), what the
// engine asks of the report being built (TzrEngineHost) and of the user (TzrUserDialogs), the
// string and bitmap loader TzrLocale with the engine's string table, the null compressor, and
// TzrGlobals with the global parser, interpreter, script variables, named constants, localised
// tables, shared bitmaps, the progress window and the parent form of dialog controls.
#pragma once

#include <array>
#include <memory>

#include "AnsiString.h"
#include "DateTime.h"
#include "Event.h"
#include "List.h"
#include "Object.h"
#include "Strings.h"
#include "Variant.h"
#include "ZR_ClassScript.h"

class TComponent;
class TStream;
class TzrReport;
class TzrPage;
class TzrBand;
class TzrView;
class TzrDataset;
class TzrInstalledFunctions;
class TBitmap;
class TCustomForm;
class TForm;
// The window system's bitmap handle (HBITMAP), named without its header.
struct HBITMAP__;

// The template format written, and the first one whose texts are counted.
inline constexpr int zrCurrentVersion = 25;
inline constexpr int zrFirstCountedVersion = 23;

// Band types (the band engine's numbering) that the helpers of this layer look at.
inline constexpr int btMasterData = 5;
inline constexpr int btDetailData = 8;
inline constexpr int btSubDetailData = 11;
inline constexpr int btCrossData = 19;
inline constexpr int btCrossFooter = 20;
inline constexpr int btNone = 22;
inline constexpr int zrBandTypeCount = 23;

// A band as the aggregate functions see it: the band engine's bands implement it.
class TzrAggregateBand {
 public:
  virtual String BandName() = 0;
  virtual int BandType() = 0;
  // Whether the band holds an object of a cross-tab band.
  virtual bool HasCross() = 0;
  // The data band whose records this footer's aggregates accumulate; nullptr when none.
  virtual TzrAggregateBand* AggregateBand() = 0;
  virtual void SetAggregateBand(TzrAggregateBand* Band) = 0;
  virtual void SetAggregate(const String& Key, const Variant& Value) = 0;
  virtual Variant GetAggregate(const String& Key) = 0;

 protected:
  ~TzrAggregateBand() = default;
};

// What the engine's helpers ask of the report being built or loaded. The report component
// installs itself in zrEngine.Host while it works; without a host the helpers see no report.
class TzrEngineHost {
 public:
  virtual ~TzrEngineHost() = default;

  // The report component.
  virtual TComponent* ReportOwner() = 0;
  virtual String ReportName() = 0;
  virtual bool UseDefaultDataSetName() = 0;
  // Its Dataset property.
  virtual TzrDataset* ReportDataSource() = 0;
  // Sets the terminated flag: the build stops at its next test.
  virtual void Terminate() = 0;

  // The page being built: the type of the band being printed, or -1 with no page being built, no
  // band being printed, or a dialog page.
  virtual int PrintingBandType() = 0;
  // The data source of the page's data band of that type; false when the page has no such band.
  virtual bool PageDataBandSource(int BandType, TzrDataset*& Source) = 0;
  // The current object: false when there is none; else its name and memo lines.
  virtual bool CurrentObject(String& Name, TStrings* Memo) = 0;

  // Aggregates. While the band engine collects them, the band whose objects are walked and the
  // target band; while printing, the band being printed and no target.
  virtual TzrAggregateBand* AggregateCurrentBand() = 0;
  virtual TzrAggregateBand* AggregateTargetBand() = 0;
  // The current page's cross-tab column position.
  virtual int ColumnPosition() = 0;
};

// Questions to the user: the class library's message box and input box. Installed by the layer
// that owns the windows; tests install a scripted one.
class TzrUserDialogs {
 public:
  virtual ~TzrUserDialogs() = default;
  virtual int MessageBox(const String& Text, const String& Caption, int Flags) = 0;
  // The text entered; Default when the box is cancelled.
  virtual String InputBox(const String& Caption, const String& Prompt, const String& Default) = 0;
};

// The engine's build state: one set per process, used on the GUI thread only.
struct TzrEngineState {
  TzrReport* CurReport = nullptr;   // the report whose build or load runs
  TzrReport* MainReport = nullptr;  // the report that started the build
  TzrPage* CurPage = nullptr;
  TzrBand* CurBand = nullptr;
  TzrView* CurView = nullptr;
  bool Running = false;             // set by build, preview, print and export; cleared by a read
  bool FirstPassRunning = false;    // first pass of a two-pass build: nothing is drawn
  int StreamVersion = zrCurrentVersion;  // format version of the stream being read
  int TotalPages = 0;
  TDateTime ReportDate = 0;
  TDateTime ReportTime = 0;
  bool BuildError = false;
  String BuildErrorText;
  bool DialogCancelled = false;
  TzrEngineHost* Host = nullptr;
  TzrUserDialogs* Dialogs = nullptr;
};
extern TzrEngineState zrEngine;

// The format version of the stream being read, put back when the scope ends however it ends.
class TzrStreamVersionScope {
 public:
  TzrStreamVersionScope() : FSaved(zrEngine.StreamVersion) {}
  ~TzrStreamVersionScope() { zrEngine.StreamVersion = FSaved; }
  TzrStreamVersionScope(const TzrStreamVersionScope&) = delete;
  TzrStreamVersionScope& operator=(const TzrStreamVersionScope&) = delete;

 private:
  int FSaved;
};

// ---- Engine strings.

using TzrLocalizeEvent = TEvent<void(int StringId, String& Text)>;

class TzrLocale : public TObject {
  VELBOR_DECLARE_CLASS(TzrLocale, TObject)
 public:
  // The single instance, made on first use.
  static TzrLocale* Get();

  // OnLocalize first (a non-empty answer wins), then the string table; at most 1,023 characters;
  // empty for a number without text.
  String LoadStr(int Id);
  // The bitmap resource of that name in the program, as a device bitmap the caller owns; nullptr
  // when it cannot be loaded (nothing is raised).
  HBITMAP__* LoadBmp(const String& ResName);

  TzrLocalizeEvent OnLocalize;
};

// ---- The compressor of prepared-page streams: this system stores them as they are.

class TzrCompressor : public TObject {
  VELBOR_DECLARE_CLASS(TzrCompressor, TObject)
 public:
  TzrCompressor() = default;
  virtual void Compress(TStream* Source, TStream* Target);
  virtual void Decompress(TStream* Source, TStream* Target);
};

// ---- The singletons.

class TzrGlobals : public TObject {
  VELBOR_DECLARE_CLASS(TzrGlobals, TObject)
 public:
  // Made on first use; freed at the end of the program, after the objects it registered.
  static TzrGlobals& Get();

  TzrParser* Parser() const { return FParser.get(); }
  TInterpretator* Interpreter() const { return FInterpreter.get(); }
  // Variables made by script assignments (sorted, empty at start).
  TzrVariables* ScriptVariables() const { return FScriptVariables.get(); }
  TzrVariables* Constants() const { return FConstants.get(); }
  TzrInstalledFunctions* InstalledFunctions() const { return FInstalledFunctions.get(); }
  TzrCompressor* Compressor() const { return FCompressor.get(); }
  // Shared working list; also the error list of script compilation.
  TStringList* ScratchList() const { return FScratchList.get(); }
  TList* ScratchObjects() const { return FScratchObjects.get(); }
  // 8 x 8 pixels, white where x + y is even and silver where it is odd: the band markers' fill.
  TBitmap* CheckerBitmap() const { return FCheckerBitmap.get(); }
  // 8 x 8 pixels, for measuring and drawing scratch work.
  TBitmap* ScratchBitmap() const { return FScratchBitmap.get(); }
  // The parent of the dialog pages' controls: a form without owner named "DialogForm", bounds
  // (-100, -100, 10, 10), never shown. Made on first use, so a program that runs no report makes no
  // form.
  TForm* DialogForm();
  // The one progress window, a TzrProgressForm without owner, made on first use from the class
  // registry (EClassNotFound while that class is not linked in) and reused for every run.
  TCustomForm* ProgressForm();

  // Localised tables, read from the engine strings at creation.
  int RichTextCharset = 1;
  std::array<String, zrBandTypeCount> BandNames;
  // Boolean display formats: the text for False, ';', the text for True.
  std::array<String, 4> BooleanFormats;
  std::array<String, 4> DateFormats;
  std::array<String, 4> TimeFormats;
  void LoadLocalStrings();

 private:
  TzrGlobals();
  ~TzrGlobals() override;
  friend struct TzrGlobalsFinalizer;

  void FillConstants();

  std::unique_ptr<TStringList> FScratchList;
  std::unique_ptr<TzrInstalledFunctions> FInstalledFunctions;
  std::unique_ptr<TzrParser> FParser;
  std::unique_ptr<TzrVariables> FScriptVariables;
  std::unique_ptr<TzrVariables> FConstants;
  std::unique_ptr<TInterpretator> FInterpreter;
  std::unique_ptr<TzrCompressor> FCompressor;
  std::unique_ptr<TList> FScratchObjects;
  std::unique_ptr<TBitmap> FCheckerBitmap;
  std::unique_ptr<TBitmap> FScratchBitmap;
  TForm* FDialogForm = nullptr;          // owned; freed with Free
  TCustomForm* FProgressForm = nullptr;  // owned; freed with Free
};

inline TzrGlobals& zrGlobals() { return TzrGlobals::Get(); }
