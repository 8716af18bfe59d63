// This file implements the common dialogs: TOpenDialog, TSaveDialog, TFontDialog, TColorDialog,
// TPrintDialog, TPrinterSetupDialog, TPageSetupDialog, TFindDialog and TReplaceDialog. Each asks
// through the modal-question entry (AskModal, kind Other, Name the class name without its "T")
// first: a responder (tests) answers in place of the real dialog, which runs only without one.
#pragma once

#include "WinApi.h"

#include "Component.h"
#include "Dialogs.h"
#include "Graphics.h"
#include "Messages.h"

class TStrings;
class TStringList;

// How a question of a dialog is answered by a responder:
// - Result: non-zero for OK (for the find dialogs: 1 find, 2 replace, 3 replace all), 0 cancel.
// - Value and Fields: the dialog's results under the names its question's Fields use (below);
//   a field left out keeps the value the dialog offered.
class TCommonDialog : public TComponent {
  VELBOR_DECLARE_CLASS(TCommonDialog, TComponent)
 public:
  explicit TCommonDialog(TComponent* AOwner);
  ~TCommonDialog() override;

  // Properties.
  // The dialog window while it shows (real dialogs only).
  HWND Handle() const { return FHandle; }
  bool Ctl3D = true;
  int HelpContext = 0;

  // Operations. True when the user accepted.
  virtual bool Execute() = 0;

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  virtual void DoShow();
  virtual void DoClose();
  // Asks the responder; false when none is installed (the real dialog must run).
  bool AskScript(TModalQuestion& Question, TModalAnswer& Answer);
  // The window that owns a real dialog: the active form, else the application's.
  HWND OwnerWindow() const;
  HWND FHandle = nullptr;
};

// --- File dialogs -------------------------------------------------------------------------------

enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
  ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
  ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
  ofEnableIncludeNotify, ofEnableSizing
};
VELBOR_ENUM(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
            "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist",
            "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton",
            "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing")
using TOpenOptions = TSet<TOpenOption>;

// Question: Caption = Title, Value = FileName, Flags = the Options' bits, Fields "Filter",
// "FilterIndex", "DefaultExt", "InitialDir". Answer: Value = the file name (with
// ofAllowMultiSelect, the names one per line), Fields "FilterIndex".
// An answered name is completed as the real dialog completes it: a name without folder goes into
// InitialDir, a name without extension gets DefaultExt.
class TOpenDialog : public TCommonDialog {
  VELBOR_DECLARE_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;

  // Properties.
  String FileName;
  // The names chosen (one for a single selection).
  TStrings* Files() const;
  // "Description|*.ext;*.ext2|Description|*.*".
  String Filter;
  // 1-based, as the API counts.
  int FilterIndex = 1;
  // Without the dot ("csv").
  String DefaultExt;
  String InitialDir;
  String Title;
  TOpenOptions Options = {ofHideReadOnly, ofEnableSizing};

  // Operations.
  bool Execute() override;

 protected:
  // The API call for the real dialog (open or save).
  virtual bool RunDialog(OPENFILENAMEA& Params);
  // Checks a name a responder gave, as the real dialog checks before closing; false asks again.
  virtual bool AcceptName(const String& Name);
  // The question's name: the class name without its "T".
  String DialogName() const;

 private:
  String CompleteName(const String& Name);
  TStringList* FFiles;
};

// Question and answer as TOpenDialog. With ofOverwritePrompt an existing file is confirmed by a
// message box ("... existe déjà. Voulez-vous le remplacer ?", Yes/No): No asks for a name again.
class TSaveDialog : public TOpenDialog {
  VELBOR_DECLARE_CLASS(TSaveDialog, TOpenDialog)
 public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

 protected:
  bool RunDialog(OPENFILENAMEA& Params) override;
  bool AcceptName(const String& Name) override;
};

// --- Font and colour -----------------------------------------------------------------------------

enum TFontDialogOption {
  fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, fdNoOEMFonts,
  fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg, fdLimitSize,
  fdScalableOnly, fdApplyButton
};
VELBOR_ENUM(TFontDialogOption, "fdAnsiOnly", "fdTrueTypeOnly", "fdEffects", "fdFixedPitchOnly", "fdForceFontExist",
            "fdNoFaceSel", "fdNoOEMFonts", "fdNoSimulations", "fdNoSizeSel", "fdNoStyleSel", "fdNoVectorFonts",
            "fdShowHelp", "fdWysiwyg", "fdLimitSize", "fdScalableOnly", "fdApplyButton")
using TFontDialogOptions = TSet<TFontDialogOption>;

enum TFontDialogDevice { fdScreen, fdPrinter, fdBoth };
VELBOR_ENUM(TFontDialogDevice, "fdScreen", "fdPrinter", "fdBoth")

// Question: Value = the font's name, Flags = Options, Fields "Size", "Style" (letters B, I, U, S),
// "Color", "MinFontSize", "MaxFontSize". Answer: Value = the name, Fields "Size", "Style",
// "Color". With fdLimitSize a size outside the limits is refused (the dialog asks again).
class TFontDialog : public TCommonDialog {
  VELBOR_DECLARE_CLASS(TFontDialog, TCommonDialog)
 public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;

  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFontDialogDevice Device = fdScreen;
  int MinFontSize = 0;
  int MaxFontSize = 0;
  TFontDialogOptions Options = {fdEffects};

  bool Execute() override;

 private:
  TFont* FFont;
};

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
VELBOR_ENUM(TColorDialogOption, "cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor")
using TColorDialogOptions = TSet<TColorDialogOption>;

// Question: Value = the colour (decimal), Flags = Options, Fields "CustomColors" (the list's
// comma text). Answer: Value = the colour chosen.
class TColorDialog : public TCommonDialog {
  VELBOR_DECLARE_CLASS(TColorDialog, TCommonDialog)
 public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;

  TColor Color = clBlack;
  // "ColorA=RRGGBB" ... "ColorP=RRGGBB" (hexadecimal, blue first as the API stores a colour).
  TStrings* CustomColors() const;
  void SetCustomColors(TStrings* Value);
  TColorDialogOptions Options;

  bool Execute() override;

 private:
  TStringList* FCustomColors;
};

// --- Printing ----------------------------------------------------------------------------------

enum TPrintRange { prAllPages, prSelection, prPageNums };
VELBOR_ENUM(TPrintRange, "prAllPages", "prSelection", "prPageNums")

enum TPrintDialogOption { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
VELBOR_ENUM(TPrintDialogOption, "poPrintToFile", "poPageNums", "poSelection", "poWarning", "poHelp",
            "poDisablePrintToFile")
using TPrintDialogOptions = TSet<TPrintDialogOption>;

// Question: Value = the current printer's name, Flags = Options, Fields "Copies", "FromPage",
// "ToPage", "MinPage", "MaxPage", "PrintRange" (0 all, 1 selection, 2 pages), "Collate" and
// "PrintToFile" (0/1). Answer: the same fields; a Value names the printer to make current.
// Copies also go to the printer.
class TPrintDialog : public TCommonDialog {
  VELBOR_DECLARE_CLASS(TPrintDialog, TCommonDialog)
 public:
  explicit TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

  bool Collate = false;
  int Copies = 0;
  int FromPage = 0;
  int ToPage = 0;
  int MinPage = 0;
  int MaxPage = 0;
  TPrintDialogOptions Options;
  TPrintRange PrintRange = prAllPages;
  bool PrintToFile = false;

  bool Execute() override;
};

// Question: Value = the current printer's name, Fields "Orientation" (0 portrait, 1 landscape),
// "Copies". Answer: a Value names the printer to make current; the fields go to it.
class TPrinterSetupDialog : public TCommonDialog {
  VELBOR_DECLARE_CLASS(TPrinterSetupDialog, TCommonDialog)
 public:
  explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  bool Execute() override;
};

enum TPageMeasureUnits { pmDefault, pmMillimeters, pmInches };
VELBOR_ENUM(TPageMeasureUnits, "pmDefault", "pmMillimeters", "pmInches")

// Question: Value = the current printer's name, Fields "MarginLeft", "MarginTop", "MarginRight",
// "MarginBottom", "Units" (1 millimetres in hundredths, 2 inches in thousandths). Answer: the
// margins, "PageWidth", "PageHeight" (same units) and a printer name in Value.
class TPageSetupDialog : public TCommonDialog {
  VELBOR_DECLARE_CLASS(TPageSetupDialog, TCommonDialog)
 public:
  explicit TPageSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

  int MarginLeft = 0;
  int MarginTop = 0;
  int MarginRight = 0;
  int MarginBottom = 0;
  int PageWidth = 0;
  int PageHeight = 0;
  TPageMeasureUnits Units = pmMillimeters;

  bool Execute() override;
};

// --- Find and replace ----------------------------------------------------------------------------

enum TFindOption {
  frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase, frDisableMatchCase,
  frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp
};
VELBOR_ENUM(TFindOption, "frDown", "frFindNext", "frHideMatchCase", "frHideWholeWord", "frHideUpDown", "frMatchCase",
            "frDisableMatchCase", "frDisableUpDown", "frDisableWholeWord", "frReplace", "frReplaceAll",
            "frWholeWord", "frShowHelp")
using TFindOptions = TSet<TFindOption>;

// A modeless dialog: Execute shows it and returns; each button press fires OnFind (or OnReplace).
// Question: Value = FindText, Flags = Options, Fields "ReplaceText" (replace dialog). One answer is
// one press: Result 1 Find next, 2 Replace, 3 Replace all, 0 Close; Value = the text to find,
// Fields "ReplaceText" and "Options" (the new option bits, decimal) when they change.
class TFindDialog : public TCommonDialog {
  VELBOR_DECLARE_CLASS(TFindDialog, TCommonDialog)
 public:
  explicit TFindDialog(TComponent* AOwner);
  ~TFindDialog() override;

  String FindText;
  TFindOptions Options = {frDown};
  // Position of the dialog's top-left corner (screen coordinates).
  TPoint Position;

  bool Execute() override;
  void CloseDialog();

  TNotifyEvent OnFind;

 protected:
  virtual void Find();
  virtual void Replace() {}
  virtual bool IsReplace() const { return false; }
  // From the dialog: the text and options it holds now, then the press.
  void DialogNotify(const FINDREPLACEA& Data);
  void ApplyAnswer(const TModalAnswer& Answer);
  // The replacement text (the replace dialog's ReplaceText).
  virtual String GetReplaceText() const { return String(); }
  virtual void PutReplaceText(const String&) {}

 private:
  void OwnerWndProc(TMessage& Message);
  HWND FOwnerWindow = nullptr;
  FINDREPLACEA FData{};
  char FFindBuffer[256] = {0};
  char FReplaceBuffer[256] = {0};
};

class TReplaceDialog : public TFindDialog {
  VELBOR_DECLARE_CLASS(TReplaceDialog, TFindDialog)
 public:
  explicit TReplaceDialog(TComponent* AOwner) : TFindDialog(AOwner) {}

  String ReplaceText;
  TNotifyEvent OnReplace;

 protected:
  void Replace() override;
  bool IsReplace() const override { return true; }
  String GetReplaceText() const override { return ReplaceText; }
  void PutReplaceText(const String& Value) override { ReplaceText = Value; }
};

// Registers the dialog classes with the form reader.
void RegisterCommonDialogs();
