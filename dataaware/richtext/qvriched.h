// This file implements the rich-text edit of the data-aware library: TqvCustomRichEdit, the
// rich-edit control with its content streams, form streaming, printing with header and footer,
// character and paragraph formatting in the user's units, its pop-up menu, find and replace,
// embedded objects and the editor window it opens; TqvDBRichEdit, its data-aware descendant bound
// to one field; and the helpers they share (TqvRichMemoryStream, TqvRichEditStrings, the print
// margins and header/footer settings).
//
// Implemented in qvriched.cpp (the control: creation, window, keys, mouse, display, form
// streaming), qvrichedStreams.cpp (content streams and Lines), qvrichedFormat.cpp (formatting
// and measures), qvrichedPrint.cpp (printing), qvrichedPopup.cpp (pop-up menu), qvrichedFind.cpp
// (find, replace, spell check), qvRichOle.cpp (embedded objects), qvDBRichEdit.cpp (the
// data-aware control), qvrich.cpp (the editor window) and qvRuler.cpp (its ruler).
#pragma once

#include "WinApi.h"

#include <ole2.h>
#include <richole.h>

#include <vector>

#include "Streams.h"
#include "Strings.h"

#include "Buttons.h"
#include "Forms.h"
#include "FieldControl.h"
#include "RichEdit.h"

#include "Qvtypes.h"

class TFindDialog;
class TReplaceDialog;
class TFontDialog;
class TMenuItem;
class TPopupMenu;
class TField;
class TFieldDataLink;
class TDataSource;
class TqvController;
class TqvCustomRichEdit;
class TqvDBRichEdit;
class TqvRichEditForm;
class TqvRichLayout;

enum TqvRichEditPopupOption {
  rpoPopupEdit, rpoPopupCut, rpoPopupCopy, rpoPopupPaste, rpoPopupBold, rpoPopupItalic, rpoPopupUnderline,
  rpoPopupFont, rpoPopupBullet, rpoPopupParagraph, rpoPopupTabs, rpoPopupFind, rpoPopupReplace,
  rpoPopupInsertObject, rpoPopupMSWordSpellCheck
};
VELBOR_ENUM(TqvRichEditPopupOption, "rpoPopupEdit", "rpoPopupCut", "rpoPopupCopy", "rpoPopupPaste", "rpoPopupBold",
            "rpoPopupItalic", "rpoPopupUnderline", "rpoPopupFont", "rpoPopupBullet", "rpoPopupParagraph",
            "rpoPopupTabs", "rpoPopupFind", "rpoPopupReplace", "rpoPopupInsertObject", "rpoPopupMSWordSpellCheck")
using TqvRichEditPopupOptions = TSet<TqvRichEditPopupOption>;

enum TqvRichEditOption {
  reoShowLoad, reoShowSaveAs, reoShowSaveExit, reoShowPrint, reoShowPageSetup, reoShowFormatBar, reoShowToolBar,
  reoShowStatusBar, reoShowHints, reoShowRuler, reoShowInsertObject, reoCloseOnEscape, reoFlatButtons,
  reoShowSpellCheck, reoShowMainMenuIcons, reoShowJustifyButton, reoUseBackColor, reoNoConfirmation
};
VELBOR_ENUM(TqvRichEditOption, "reoShowLoad", "reoShowSaveAs", "reoShowSaveExit", "reoShowPrint",
            "reoShowPageSetup", "reoShowFormatBar", "reoShowToolBar", "reoShowStatusBar", "reoShowHints",
            "reoShowRuler", "reoShowInsertObject", "reoCloseOnEscape", "reoFlatButtons", "reoShowSpellCheck",
            "reoShowMainMenuIcons", "reoShowJustifyButton", "reoUseBackColor", "reoNoConfirmation")
using TqvRichEditOptions = TSet<TqvRichEditOption>;

enum TqvRichEditOleOption { reoAdjustPopupMenu, reoDisableOLE };
VELBOR_ENUM(TqvRichEditOleOption, "reoAdjustPopupMenu", "reoDisableOLE")
using TqvRichEditOleOptions = TSet<TqvRichEditOleOption>;

enum TqvMeasurementUnits { muInches, muCentimeters };
VELBOR_ENUM(TqvMeasurementUnits, "muInches", "muCentimeters")

enum TqvRichEditWidth { rewWindowSize, rewPrinterSize };
VELBOR_ENUM(TqvRichEditWidth, "rewWindowSize", "rewPrinterSize")

// The alignment of a paragraph, as the formatting operations take it.
enum TqvParaAlignment { qpaLeft, qpaCenter, qpaRight, qpaJustify };

// Every option but bold, italic and underline; every option but load, save as, the justify
// button, the background colour and no confirmation.
inline constexpr TqvRichEditPopupOptions qvDefaultPopupOptions = TqvRichEditPopupOptions::FromBits(32655);
inline constexpr TqvRichEditOptions qvDefaultEditorOptions = TqvRichEditOptions::FromBits(32764);

using TqvOnRichEditDlgEvent = TEvent<void(TForm* Form)>;
using TqvURLOpenEvent = TEvent<void(TqvCustomRichEdit* Sender, const String& URLLink, bool& UseDefault)>;
using TqvRTFNotifyEvent = TEvent<void(TForm* Form, TqvCustomRichEdit* RichEdit, bool& DoDefault)>;
using TqvRTFDrawHeaderFooter = TEvent<void(TqvCustomRichEdit* Sender, TRect DrawRect, int PageNumber,
                                           String& LeftText, String& CenterText, String& RightText,
                                           bool& DoDefault)>;

// --- Shared helpers ---------------------------------------------------------------------------

// The memory stream of every content transfer: it grows in steps of 128 KiB on the global heap.
class TqvRichMemoryStream : public TMemoryStream {
  VELBOR_DECLARE_CLASS(TqvRichMemoryStream, TMemoryStream)
 public:
  TqvRichMemoryStream() = default;
  // Frees the block here: the base's destructor would hand it to the C heap.
  ~TqvRichMemoryStream() override;

 protected:
  void* Realloc(std::int64_t& NewCapacity) override;
};

// The control's Lines: the window's lines as text. Loading and saving go to the rich lines (the
// class library's list, which reads and writes RTF).
class TqvRichEditStrings : public TStrings {
  VELBOR_DECLARE_CLASS(TqvRichEditStrings, TStrings)
 public:
  explicit TqvRichEditStrings(TqvCustomRichEdit* RichEdit = nullptr) : FRichEdit(RichEdit) {}

  void LoadFromFile(const String& FileName) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToFile(const String& FileName) override;
  void SaveToStream(TStream* Stream) override;
  void Delete(int Index) override;
  void Clear() override;
  void AddStrings(TStrings* Strings) override;
  int GetCount() const override;
  // The whole line, however long; without its line end.
  String Get(int Index) const override;
  void Put(int Index, const String& S) override;
  void Insert(int Index, const String& S) override;

 protected:
  void SetUpdateState(bool Updating) override;
  void SetTextStr(const String& Value) override;

 private:
  TqvCustomRichEdit* FRichEdit;
};

// Installed as OnProtectChange while the program puts content into the window: every change of
// protected text is allowed.
class TRichProtectClass : public TObject {
  VELBOR_DECLARE_CLASS(TRichProtectClass, TObject)
 public:
  TRichProtectClass() = default;
  void AllowChange(TObject* Sender, int StartPos, int EndPos, bool& AllowChange);
};

// Printed margins, in the control's measurement units.
class TqvPrintMargins : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvPrintMargins, TPersistent)
 public:
  TqvPrintMargins() = default;
  double Top = 1;
  double Bottom = 1;
  double Left = 1;
  double Right = 1;
  void Assign(TPersistent* Source) override;
};

// A printed header or footer: three texts in a font, at VertMargin inches from the paper's edge.
class TqvRTFHeaderFooter : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvRTFHeaderFooter, TPersistent)
 public:
  TqvRTFHeaderFooter();
  ~TqvRTFHeaderFooter() override;
  double VertMargin = 0.5;
  String LeftText;
  String CenterText;
  String RightText;
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool LineSeparator = false;
  void Assign(TPersistent* Source) override;

 private:
  TFont* FFont;
};

// The page of a printer in its own pixels: the physical size, the printing offsets and the
// resolution across and down.
struct TqvPageGeometry {
  int Width = 0;
  int Height = 0;
  int OffsetX = 0;
  int OffsetY = 0;
  int PixelsPerInchX = 0;
  int PixelsPerInchY = 0;
  // Horizontal distances convert with the resolution across, vertical ones with the one down.
  int XToTwips(int Pixels) const { return MulDiv(Pixels, 1440, PixelsPerInchX); }
  int YToTwips(int Pixels) const { return MulDiv(Pixels, 1440, PixelsPerInchY); }
  int TwipsToX(int Twips) const { return MulDiv(Twips, PixelsPerInchX, 1440); }
  int TwipsToY(int Twips) const { return MulDiv(Twips, PixelsPerInchY, 1440); }
};
// The printer's page now (GETPHYSPAGESIZE, GETPRINTINGOFFSET, LOGPIXELSX/Y).
TqvPageGeometry qvPrinterPageGeometry(HDC PrinterDC);
// The printable text rectangle in twips for margins in twips: inside the paper less its unprintable
// edges, never with right left of left nor bottom above top.
TRect qvPrintPageRect(const TqvPageGeometry& Page, int LeftTwips, int TopTwips, int RightTwips, int BottomTwips);

// Turns the bytes of a source stream into the chunks a rich-edit window is handed while it reads
// (EM_STREAMIN). RTF passes byte for byte; plain text has its line ends made CR LF (a lone LF, a
// lone CR, a CR LF pair even when split between two chunks). With a positive chunk limit the
// reading stops early: every chunk counts two, and the chunk that reaches the limit is cut at the
// first "{" after its first "\pard", which becomes "}" (so a limit of 2 passes one whole chunk, a
// limit of 1 one chunk cut after its first paragraph mark).
class TqvStreamInConverter {
 public:
  TqvStreamInConverter(TStream* Source, bool PlainText, int ChunkLimit);
  // Fills Buffer (Size bytes at most) with the next chunk; the bytes given, 0 at the end. A read
  // error of the source passes on.
  int NextChunk(char* Buffer, int Size);

 private:
  TStream* FSource;
  bool FPlainText;
  int FChunkLimit;
  int FChunkCount = 0;
  bool FAfterCR = false;  // the last byte handed was a CR: an LF that follows belongs to it
};

// Entries of the control's settings vector. Entry 0 is true while the control's own find request
// is sent; the others switch defaults off and nothing in the system sets them.
struct TqvRichEditSettings {
  bool OwnFindRequest = false;      // 0
  bool UseRichEditClassName = false;// 1: the "RICHEDIT" class name with the version-2 library
  bool NoRealignOnShow = false;     // 2
  bool Unused3 = false;             // 3
  bool CharsetFromFont = false;     // 4: the character set of a face from the control's font
  int Unused5 = 0;                  // 5
  bool NoObjectAdvise = false;      // 6: objects opened without an advise connection
};

// --- The control ------------------------------------------------------------------------------

class TqvCustomRichEdit : public TCustomRichEdit {
  VELBOR_DECLARE_CLASS(TqvCustomRichEdit, TCustomRichEdit)
  friend class TqvRichEditStrings;
  friend class TqvRichEditForm;
  friend class TRichEditOleCallback;
  friend void CopyRichContent(TqvCustomRichEdit* Source, TqvCustomRichEdit* Target);

 public:
  explicit TqvCustomRichEdit(TComponent* AOwner);
  ~TqvCustomRichEdit() override;

  // Properties.
  bool AutoURLDetect() const { return FAutoURLDetect; }
  void SetAutoURLDetect(bool Value);
  bool AutoSelect = false;
  TqvURLOpenEvent OnURLOpen;
  TqvPrintMargins* PrintMargins() const { return FPrintMargins; }
  void SetPrintMargins(TqvPrintMargins* Value) { FPrintMargins->Assign(Value); }
  TqvRTFHeaderFooter* PrintHeader() const { return FPrintHeader; }
  void SetPrintHeader(TqvRTFHeaderFooter* Value) { FPrintHeader->Assign(Value); }
  TqvRTFHeaderFooter* PrintFooter() const { return FPrintFooter; }
  void SetPrintFooter(TqvRTFHeaderFooter* Value) { FPrintFooter->Assign(Value); }
  TqvRTFDrawHeaderFooter OnPrintHeader;
  TqvRTFDrawHeaderFooter OnPrintFooter;
  // A paper size of the printer's device mode (1, Letter, by default).
  int PrintPageSize() const { return FPrintPageSize; }
  void SetPrintPageSize(int Value);
  TqvRichEditWidth EditWidth() const { return FEditWidth; }
  void SetEditWidth(TqvRichEditWidth Value);
  TqvRichEditPopupOptions PopupOptions = qvDefaultPopupOptions;
  TqvRichEditOptions EditorOptions = qvDefaultEditorOptions;
  String EditorCaption = "Edit Rich Text";
  TqvFormPosition* EditorPosition() const { return FEditorPosition; }
  void SetEditorPosition(TqvFormPosition* Value) { FEditorPosition->Assign(Value); }
  TqvMeasurementUnits MeasurementUnits = muInches;
  TqvOnRichEditDlgEvent OnInitDialog;
  TqvOnRichEditDlgEvent OnCloseDialog;
  TqvOnRichEditDlgEvent OnCreateDialog;
  TqvRTFNotifyEvent OnMenuLoadClick;
  TqvRTFNotifyEvent OnMenuPrintClick;
  TqvRTFNotifyEvent OnMenuSaveAsClick;
  TqvRTFNotifyEvent OnMenuSaveAndExitClick;
  // A change re-creates the window (its content is kept).
  TqvRichEditOleOptions OleOptions() const { return FOleOptions; }
  void SetOleOptions(TqvRichEditOleOptions Value);
  // Buttons lent to the editor window's toolbar; a button given here is hidden until then.
  TSpeedButton* UserSpeedButton1() const { return FUserSpeedButton1; }
  void SetUserSpeedButton1(TSpeedButton* Value);
  TSpeedButton* UserSpeedButton2() const { return FUserSpeedButton2; }
  void SetUserSpeedButton2(TSpeedButton* Value);
  String PrintJobName;
  TColor HighlightColor = TColor(65535);
  // The edit frame (nullptr without the edit controls' layer).
  TPersistent* Frame() const { return FFrame; }
  bool WantNavigationKeys = false;
  // 1: the class library's window class; 2 or more: a version-2 rich-edit window.
  int RichEditVersion() const { return FRichEditVersion; }
  // The text lines; loading and saving read and write RTF.
  TqvRichEditStrings* Lines() const { return FQvLines; }
  void SetLines(TStrings* Value) { FQvLines->Assign(Value); }
  String Title() const { return FTitle; }
  void SetTitle(const String& Value);
  int GutterWidth() const { return FGutterWidth; }
  void SetGutterWidth(int Value);
  // Above 3, the window's library is first looked for under its newer name.
  int MSVersion = 0;
  // When 1, content goes to and from the editor window through a temporary file.
  int CopyThroughFile = 0;
  // The message time of the press with which the owning grid put the control into a cell.
  DWORD GridClickTime() const { return FGridClickTime; }
  void SetGridClickTime(DWORD Value) { FGridClickTime = Value; }
  int ScreenPixelsPerInch() const { return FScreenPixelsPerInch; }
  int PrintedPageCount() const { return FPrintedPageCount; }
  // While the editor window is open: it and its rich edit.
  TqvRichEditForm* EditorForm() const { return FEditorForm; }
  TqvCustomRichEdit* EditorRichEdit() const { return FEditorRichEdit; }
  TFindDialog* FindDialogComponent() const { return FFindDialog; }
  TReplaceDialog* ReplaceDialogComponent() const { return FReplaceDialog; }
  TFontDialog* FontDialogComponent() const { return FFontDialog; }
  TqvRichEditSettings& Settings() { return FSettings; }
  // The pop-up menu of editing commands (built with the dialogs) and its twenty items.
  TPopupMenu* PopupMenuBuilt() const { return FPopupMenuBuilt; }
  enum TPopupItem {
    piEdit, piCut, piCopy, piPaste, piBold, piItalic, piUnderline, piFont, piBullet, piParagraph, piTabs, piFind,
    piReplace, piInsertObject, piSpellCheck, piSep1, piSep2, piSep3, piSep4, piSep5, piCount
  };
  TMenuItem* PopupItem(TPopupItem Item) const { return FPopupItems[Item]; }
  // The OLE interface of the window while it exists and OLE is on; the selected object.
  IRichEditOle* RichEditOle() const { return FRichEditOle; }
  IOleObject* SelectedObject() const { return FSelectedObject; }
  // The object verbs of the selected object (each with its verb number in the object slot).
  TStringList* ObjectVerbs() const { return FObjectVerbs; }
  // The text that the last find asked for.
  String LastFindText() const { return FLastFindText; }

  // Virtual operations.
  virtual void ClearHighlights();
  virtual bool GetReadOnly();
  // Called before every change the user makes.
  virtual void EditModified() {}
  // Writes the content back to its data.
  virtual void UpdateData() {}
  virtual bool IsDataLoaded() { return true; }
  virtual TField* GetField() { return nullptr; }
  virtual void DoURLOpen(const String& URLLink, bool& UseDefault);
  // Loads Stream (from its position): RTF, or plain text in plain-text mode; with Selection into
  // the selection; with a positive ChunkLimit only the first chunks (TqvStreamInConverter). RTF
  // that the window refuses is loaded again as plain text; EOutOfResources when that fails too.
  virtual void StreamIn(TStream* Stream, bool Selection, int ChunkLimit);
  virtual bool IsTransparent();
  virtual void LoadFromDataField() {}
  virtual void UpdatePopupMenu();
  virtual void CreateDialogs();
  virtual void DoPrintHeader(const TRect& DrawRect, int PageNumber, String& LeftText, String& CenterText,
                             String& RightText, bool& DoDefault);
  virtual void DoPrintFooter(const TRect& DrawRect, int PageNumber, String& LeftText, String& CenterText,
                             String& RightText, bool& DoDefault);
  int FindText(const String& SearchStr, int StartPos, int Length, TSearchTypes Options) override;
  virtual bool InsertObjectDialog();
  virtual bool ObjectPropertiesDialog();
  virtual bool ExecuteEditor();
  virtual void ShowFindDialog();
  virtual void ShowReplaceDialog();
  virtual void ShowFontDialog();
  virtual bool ShowParagraphDialog();
  virtual bool ShowTabsDialog();
  virtual void FindNext();
  virtual void ReplaceNext();
  virtual bool ReplaceText(const String& SearchStr, const String& ReplaceStr, TSearchTypes Options);
  virtual void DoInitDialog(TForm* Form);
  virtual void DoCloseDialog(TForm* Form);
  virtual void DoCreateDialog(TForm* Form);
  // Nothing here; a descendant puts a spell check behind it.
  virtual bool SpellCheck();
  // Prints the content through the word processor reached by automation.
  virtual bool SpellCheckText(const String& FileName);

  // Content.
  void StreamOutSelection(TMemoryStream* Stream);
  void StreamInSelection(TMemoryStream* Stream);
  // The class library's line list, which reads and writes the window through RTF streams.
  TStrings* GetRichLines() const { return TCustomRichEdit::Lines(); }
  // A new file name in the temporary folder ("_QV" prefix); false when none can be had.
  bool CreateTempFileName(String& FileName);
  // Puts Stream (RTF, or plain text when it is not) into the control with FLoading set.
  void LoadContent(TStream* Stream);
  // Writes the content as a field stores it: RTF (plain text when PlainText) without the NUL the
  // window ends its RTF with.
  void SaveContent(TStream* Stream);

  // Layout.
  void SetEditRect();
  bool UsesPrinterWidth();
  TFontCharset GetFontCharset(const String& FaceName);

  // Measures (twips are the window's unit, 1/1440 inch).
  int MeasureToTwips(const String& Text);
  double TwipsToMeasure(int Twips);
  String FormatMeasure(double Value);
  String FormatMeasureRounded(int Steps, double Value);

  // Character formatting.
  void SetSelFont(const String& FaceName, int Size, TColor Color, TFontStyles Style);
  // Effect 0 bold, 1 italic, 2 underline, 3 strikeout: on or off as asked.
  void ToggleSelEffect(int Effect, bool On);
  void ToggleBold(bool On);
  void ToggleItalic(bool On);
  void ToggleUnderline(bool On);
  // -1: every highlight of the selection cleared and the control's colour painted.
  void SetSelBackColor(TColor Color);
  TColor GetSelBackColor();
  // The selection's size in twips (the window's yHeight).
  int GetSelSizeTwips();

  // Paragraph formatting.
  void GetParaIndents(int& Offset, int& RightIndent, int& StartIndent);
  void GetParaFormat(PARAFORMAT2& Format);
  // Mask bits: 0 alignment, 1 numbering, 2 offset, 3 right indent, 4 start indent, 5 tab stops,
  // 6 space before, 7 space after, 8 line spacing.
  void SetParaFormat(int Mask, TqvParaAlignment Alignment, bool Numbering, int Offset, int RightIndent,
                     int StartIndent, int TabCount, const int* Tabs, int SpaceBefore, int SpaceAfter,
                     int LineSpacing, int LineRule);
  void SetBullet(bool On);
  TqvParaAlignment GetParaAlignment();

  // State queries.
  bool HasSelection();
  bool CanPaste();
  bool CanRedo();
  bool CanFindNext() const { return !FLastFindText.empty(); }

  // Printing.
  void Print(const String& Caption) override;
  TRect GetPrintPageRect();
  void ApplyPrintPageSize();
  // EM_FORMATRANGE: a range of the text laid out (Render: drawn) on Range->hdc; the first
  // character after what fits. Where the window lays out nothing of a range that holds text, the
  // control's own layout (TqvRichLayout) answers in its place. Null clears what a range request
  // keeps between calls.
  LRESULT FormatRange(FORMATRANGE* Range, bool Render);

  // Embedded objects.
  enum TqvSelectionTypeItem { stText, stObject, stMultiChar, stMultiObject };
  using TqvSelectionType = TSet<TqvSelectionTypeItem>;
  TqvSelectionType GetSelectionType();
  // The pop-up menu to show, with the items of the selected object added.
  TPopupMenu* GetPopupMenu();
  void LoadObjectVerbs();
  void ClearObjectVerbs();
  void DoObjectVerb(int Index);
  // The object's icon picture (a metafile picture block the caller frees), for an aspect.
  static HGLOBAL GetIconMetaPict(IOleObject* Object, DWORD Aspect);
  static HRESULT SwitchDisplayAspect(IOleObject* Object, bool AsIcon, HGLOBAL Picture, DWORD& Aspect);

  // The unit's start-up and shut-down (counted: only the first and the last act).
  static void StartUp();
  static void ShutDown();
  static UINT CF_RTFUTF8();
  static UINT CF_RTFNCRS();
  static UINT CF_RICHTEXT();

 protected:
  // Overridables.
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void ReadState(TReader* Reader) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void SelectionChange() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Whether content changes come from the program now (not the user).
  bool Loading() const { return FLoading; }

  // protected messages
  void WMSize(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CNKeyDown(TMessage& Message);

  // The pop-up menu's opening (its OnPopup) and the items' clicks.
  void PopupMenuPopup(TObject* Sender);
  void PopupItemClick(TObject* Sender);
  void ObjectPropertiesClick(TObject* Sender);
  void ObjectVerbClick(TObject* Sender);

  // Find and replace.
  void FindDialogFind(TObject* Sender);
  void ReplaceDialogReplace(TObject* Sender);
  void FindDialogClose(TObject* Sender);
  void FindAndReplace(TFindDialog* Dialog, bool Replace, const String& ReplaceWith);

  LRESULT SendRich(UINT Msg, WPARAM W = 0, LPARAM L = 0);
  // The window's extended character format of the selection.
  CHARFORMAT2A GetSelCharFormat();
  void RenderToDC(HDC DC, TqvCustomRichEdit* Source);

  // State shared with the data-aware descendant and the editor window.
  bool FLoading = false;
  bool FReparenting = false;
  bool FFocused = false;
  bool FInResize = false;
  bool FPainting = false;
  bool FContextMenuPending = false;
  bool FLinkClickPending = false;
  bool FInMouseUp = false;
  bool FDataFieldSet = false;
  bool FDataRead = false;
  int FRichEditVersion = 2;
  TColor FSavedColor = clNone;
  IRichEditOle* FRichEditOle = nullptr;
  IRichEditOleCallback* FOleCallback = nullptr;
  IOleObject* FSelectedObject = nullptr;
  TStringList* FObjectVerbs = nullptr;
  std::vector<TMenuItem*> FObjectMenuItems;
  TPopupMenu* FSpareMenu = nullptr;
  TqvDBRichEdit* FPaintCopy = nullptr;
  TControlCanvas* FFrameCanvas = nullptr;
  TqvRichEditForm* FEditorForm = nullptr;
  TqvCustomRichEdit* FEditorRichEdit = nullptr;
  TqvRichEditSettings FSettings;
  TPersistent* FFrame = nullptr;

 private:
  friend class TqvRichPrintJob;
  void ReadRichEditVersion(TReader* Reader);
  void WriteRichEditVersion(TWriter* Writer);
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);
  void HandleLinkNotify(TMessage& Message);
  void SaveContentForNewWindow();
  void RestoreContentInNewWindow();
  TMenuItem* AddPopupItem(const String& Caption, TPopupItem Item);

  bool FAutoURLDetect = false;
  TqvPrintMargins* FPrintMargins;
  TqvRTFHeaderFooter* FPrintHeader;
  TqvRTFHeaderFooter* FPrintFooter;
  int FPrintPageSize = 1;
  TqvRichEditWidth FEditWidth = rewWindowSize;
  int FFindStartPos = 0;
  bool FFindWrapped = false;
  TMenuItem* FPopupItems[piCount] = {};
  TqvFormPosition* FEditorPosition;
  String FLastFindText;
  bool FSavedHideSelection = true;
  TqvRichEditOleOptions FOleOptions;
  TSpeedButton* FUserSpeedButton1 = nullptr;
  TSpeedButton* FUserSpeedButton2 = nullptr;
  TqvRichEditStrings* FQvLines;
  String FTitle;
  int FGutterWidth = 0;
  int FLastLineCount = 0;
  int FLastTopChar = 0;
  int FScreenPixelsPerInch = 96;
  TFindDialog* FFindDialog = nullptr;
  TReplaceDialog* FReplaceDialog = nullptr;
  TFontDialog* FFontDialog = nullptr;
  TPopupMenu* FPopupMenuBuilt = nullptr;
  DWORD FGridClickTime = 0;
  int FPrintedPageCount = 0;
  TqvRichLayout* FLayout = nullptr;
  TqvRichMemoryStream* FSavedContent = nullptr;
  bool FContentSaved = false;
  bool FSavedModified = false;
};

// --- The data-aware control -------------------------------------------------------------------

// The rich-text control bound to one field: a blob field holds RTF (or plain text), any other
// field is shown and written as text.
class TqvDBRichEdit : public TFieldControl<TqvCustomRichEdit> {
  VELBOR_DECLARE_CLASS(TqvDBRichEdit, TFieldControl<TqvCustomRichEdit>)
 public:
  explicit TqvDBRichEdit(TComponent* AOwner);
  ~TqvDBRichEdit() override;

  // Properties.
  TqvController* Controller() const { return FController; }
  void SetController(TqvController* Value);
  String DataField() const { return TFieldControl<TqvCustomRichEdit>::DataField(); }
  // A new field name makes the window read-only at once, until the content is loaded and the
  // record edited.
  void SetDataField(const String& Value);
  // The control's own flag; the field and the dataset may forbid edits too (GetReadOnly).
  bool ReadOnly() const;
  void SetReadOnly(bool Value);
  // A blob field's content is loaded as soon as the record changes; when false the control shows
  // the field's label in parentheses until the user asks for the content (Return, double click).
  bool AutoDisplay() const { return FAutoDisplay; }
  void SetAutoDisplay(bool Value);
  TFieldDataLink* DataLink() const { return FDataLink; }
  // A load that failed leaves the control showing why, read-only, and never writing the field.
  bool LoadFailed() const { return FLoadFailed; }

  // Operations the grid and the record view use.
  // The field's whole content: RTF, or the bytes as plain text when they are not RTF.
  void LoadFromField(TField* Field);
  // At most ChunkLimit chunks of the field (the grid passes 2); the content counts as not loaded.
  void LoadFromFieldLimited(TField* Field, int ChunkLimit);

  bool GetReadOnly() override;
  void EditModified() override;
  void UpdateData() override;
  bool IsDataLoaded() override { return FDataLoaded; }
  TField* GetField() override { return Field(); }
  void LoadFromDataField() override;
  // A new parent keeps the content; a bound field is read again.
  void SetParent(TWinControl* AParent) override;

 protected:
  void DataChange() override;
  void EditingChange() override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Change() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMEnter(TMessage& Message);
  void CMExitField(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMCut(TMessage& Message);
  void WMPaste(TMessage& Message);
  void WMPaint(TMessage& Message);

 private:
  bool IsBlobField();
  void SetWindowReadOnly(bool Value);
  // Shows a text from the program (not an edit of the user's).
  void ShowText(const String& Text);
  // Hands a key to the grid that is the parent; true when it took it.
  bool SendKeyToGrid(WORD& Key, TShiftState Shift);

  TqvController* FController = nullptr;
  bool FAutoDisplay = true;
  bool FDataLoaded = false;
  bool FLoadFailed = false;
  String FOldValue;
};

// Registers the rich-text classes with the form reader (also done when the library starts).
void qvRegisterRichTextClasses();
