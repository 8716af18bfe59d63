// This file implements TqvCustomDBGrid, the engine of every data-aware grid of the library (the
// published grid and the lookup list derive from it): a grid of the records of one data source,
// one row per record of its data link's buffer and one column per mapped field, with an indicator
// column, a title row, a footer, check-box, picture, image and embedded-control cells, the
// in-place editor, the keys and mouse of a data grid, the program-wide keyboard hook, ditto and
// column dragging. With it: TqvGridDataLink (the field map and the dataset's notifications),
// TqvColumn, TqvInplaceEdit, TqvIButton (the button of the top-left cell), TqvGridHintWindow,
// and the small settings objects (line colours, ditto attributes).
//
// The engine is split along its design:
//   Qvdbigrd.cpp        class, properties, setters, columns and the edit hooks, construction
//   QvdbigrdData.cpp    the data link, the field map, record tracking, entering and leaving
//   QvdbigrdLayout.cpp  column widths, row heights, row count and vertical scrolling
//   QvdbigrdDraw.cpp    one cell: titles, indicator, data, check-box, picture and control cells
//   QvdbigrdPaint.cpp   the whole frame: painting, grid lines, pad column, footer, indicator button
//   QvdbigrdInput.cpp   keys, mouse buttons, the keyboard hook, ditto and the column drag
//   QvdbigrdEditor.cpp  the in-place editor and the embedded cell controls
//   QvdbigrdColumns.cpp column objects, control cache, hit testing, mouse tracking, hints,
//                       horizontal scrolling
#pragma once

#include <array>
#include <map>
#include <memory>
#include <vector>

#include "Buttons.h"
#include "DataSet.h"
#include "DataSource.h"
#include "Grids.h"
#include "ImageList.h"
#include "Timer.h"
#include "qvThemes.h"
#include "qvpaintoptions.h"

class TField;
class TqvCustomDBGrid;
class TqvInplaceEdit;
class TStringList;
class TStrings;

// --- Option sets and enumerations --------------------------------------------------------------

enum TqvDBGridOption {
  dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
  dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgWordWrap, dgPerfectRowFit,
  dgMultiSelect, dgShowFooter, dgFooter3DCells, dgNoLimitColSize, dgTrailingEllipsis, dgShowCellHint,
  dgTabExitsOnLastCol, dgFixedResizable, dgFixedEditable, dgProportionalColResize, dgRowResize,
  dgRowLinesDisableFixed, dgColLinesDisableFixed, dgFixedProportionalResize, dgHideBottomDataLine,
  dgDblClickColSizing
};
VELBOR_ENUM(TqvDBGridOption, "dgEditing", "dgAlwaysShowEditor", "dgTitles", "dgIndicator", "dgColumnResize",
            "dgColLines", "dgRowLines", "dgTabs", "dgRowSelect", "dgAlwaysShowSelection", "dgConfirmDelete",
            "dgCancelOnExit", "dgWordWrap", "dgPerfectRowFit", "dgMultiSelect", "dgShowFooter", "dgFooter3DCells",
            "dgNoLimitColSize", "dgTrailingEllipsis", "dgShowCellHint", "dgTabExitsOnLastCol", "dgFixedResizable",
            "dgFixedEditable", "dgProportionalColResize", "dgRowResize", "dgRowLinesDisableFixed",
            "dgColLinesDisableFixed", "dgFixedProportionalResize", "dgHideBottomDataLine", "dgDblClickColSizing")
using TqvDBGridOptions = TSet<TqvDBGridOption>;
inline constexpr TqvDBGridOptions qvDefaultGridOptions = {dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines,
                                                          dgRowLines, dgTabs, dgConfirmDelete, dgCancelOnExit, dgWordWrap};

enum TqvDBGridKeyOption { dgEnterToTab, dgAllowDelete, dgAllowInsert };
VELBOR_ENUM(TqvDBGridKeyOption, "dgEnterToTab", "dgAllowDelete", "dgAllowInsert")
using TqvDBGridKeyOptions = TSet<TqvDBGridKeyOption>;

enum TqvEditControlOption {
  ecoCheckboxSingleClick, ecoSearchOwnerForm, ecoDisableCustomControls, ecoDisableDateTimePicker,
  ecoDisableEditorIfReadOnly
};
VELBOR_ENUM(TqvEditControlOption, "ecoCheckboxSingleClick", "ecoSearchOwnerForm", "ecoDisableCustomControls",
            "ecoDisableDateTimePicker", "ecoDisableEditorIfReadOnly")
using TqvEditControlOptions = TSet<TqvEditControlOption>;

enum TqvMultiSelectOption { msoAutoUnselect, msoShiftSelect };
VELBOR_ENUM(TqvMultiSelectOption, "msoAutoUnselect", "msoShiftSelect")
using TqvMultiSelectOptions = TSet<TqvMultiSelectOption>;

enum TqvGridLineStyle { glsSingle, gls3D, glsDynamic };
VELBOR_ENUM(TqvGridLineStyle, "glsSingle", "gls3D", "glsDynamic")

enum TqvPadColumnStyle { pcsPlain, pcsPadHeader, pcsPadHeaderAndData };
VELBOR_ENUM(TqvPadColumnStyle, "pcsPlain", "pcsPadHeader", "pcsPadHeaderAndData")

enum TIndicatorColorType { icBlack, icYellow };
VELBOR_ENUM(TIndicatorColorType, "icBlack", "icYellow")

enum TqvDittoDirection { qvDittoPrior, qvDittoNext, qvDittoPriorOrNext };
VELBOR_ENUM(TqvDittoDirection, "qvDittoPrior", "qvDittoNext", "qvDittoPriorOrNext")

enum TqvDittoOption { qvdoSkipBlobFields, qvdoSkipReadOnlyFields, qvdoSkipHiddenFields };
VELBOR_ENUM(TqvDittoOption, "qvdoSkipBlobFields", "qvdoSkipReadOnlyFields", "qvdoSkipHiddenFields")
using TqvDittoOptions = TSet<TqvDittoOption>;

// The most fields a grid maps (one column each).
inline constexpr int qvMaxGridFields = 16380;
// The grid's message when a dataset would need more columns than that.
extern const char* const qvGridTooManyColumns;
// The confirmation asked before Ctrl+Delete deletes a record.
extern const char* const qvGridDeleteRecordQuestion;
// The error of a lookup cell given a name its lookup dataset lacks (the name, the field's label).
extern const char* const qvGridUnknownLookupValue;

// The key fields of a lookup field in its own dataset (empty when one is missing or the field is
// not a lookup field), and whether the grid may edit the lookup cell through them.
std::vector<TField*> qvLookupKeyFields(TField* Field);
bool qvLookupCellEditable(TField* Field);

// --- Small objects -----------------------------------------------------------------------------

// The pens of the grid lines; a change repaints the grid.
class TqvGridLineColors : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvGridLineColors, TPersistent)
 public:
  explicit TqvGridLineColors(TqvCustomDBGrid* Grid = nullptr) : FGrid(Grid) {}
  TColor DataColor() const { return FDataColor; }
  void SetDataColor(TColor Value) { Set(FDataColor, Value); }
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value) { Set(FHighlightColor, Value); }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value) { Set(FShadowColor, Value); }
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value) { Set(FFixedColor, Value); }
  void Assign(TPersistent* Source) override;

 private:
  void Set(TColor& Field, TColor Value);
  TqvCustomDBGrid* FGrid;
  TColor FDataColor = TColor(0xC0C0C0);
  TColor FHighlightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  TColor FFixedColor = TColor(0);
};

// How the ditto shortcuts copy a neighbouring record's values.
class TqvDittoAttributes : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvDittoAttributes, TPersistent)
 public:
  TqvDittoAttributes() = default;
  TqvDittoDirection DittoDirection = qvDittoPrior;
  // 0: none.
  int ShortCutDittoField = 0;
  int ShortCutDittoRecord = 0;
  TqvDittoOptions Options;
  void Assign(TPersistent* Source) override;
};

// The image a title shows (OnCalcTitleImage).
struct TqvTitleImageAttributes {
  int ImageIndex = -1;
  TAlignment Alignment = taRightJustify;
  int Margin = 3;
};

// The cell being drawn, handed to OnBeforeDrawCell and OnAfterDrawCell; one per grid.
class TqvCustomDrawGridCellInfo : public TObject {
  VELBOR_DECLARE_CLASS(TqvCustomDrawGridCellInfo, TObject)
 public:
  TqvCustomDrawGridCellInfo() = default;
  TRect Rect;
  TField* Field = nullptr;  // null for the indicator column
  TGridDrawState State;
  int DataCol = 0;
  int DataRow = 0;  // negative in the title row
  bool DefaultDrawBackground = true;
  bool DrawTopLine = true;
  bool DrawBottomLine = true;
  bool DefaultDrawContent = true;
};

// One mapped column; its width, title, read-only mark and group name live in the grid's
// "Selected" line of the column (field TAB width TAB title TAB read-only TAB group).
class TqvColumn : public TObject {
  VELBOR_DECLARE_CLASS(TqvColumn, TObject)
 public:
  TqvColumn(TqvCustomDBGrid* Grid, const String& FieldName);
  ~TqvColumn() override;

  const String& FieldName() const { return FFieldName; }
  TqvCustomDBGrid* Grid() const { return FGrid; }
  // In characters; setting it rewrites the Selected line (and the field's DisplayWidth with
  // UseTFields) and lays the columns out again.
  virtual int DisplayWidth() const;
  virtual void SetDisplayWidth(int Value);
  virtual String DisplayLabel() const;
  virtual bool ReadOnly() const;
  virtual String GroupName() const;
  const String& FooterValue() const { return FFooterValue; }
  virtual void SetFooterValue(const String& Value);
  // Per visible row: bit 0 the bottom line is suppressed, bit 1 the top line (null until cell
  // drawing needs them).
  unsigned char* RowLineFlags() const { return FRowLineFlags.get(); }
  unsigned char* EnsureRowLineFlags();
  bool IsDefault() const { return FGrid == nullptr; }

 private:
  friend class TqvCustomDBGrid;
  String SelectedPart(int Index) const;

  String FFieldName;
  TqvCustomDBGrid* FGrid;
  String FFooterValue;
  std::unique_ptr<unsigned char[]> FRowLineFlags;
};

// One grid column's cell control: the embedded control a "ControlType" line names, its kind and
// parameters.
class TqvCacheColInfoItem : public TObject {
  VELBOR_DECLARE_CLASS(TqvCacheColInfoItem, TObject)
 public:
  TqvCacheColInfoItem() = default;
  TWinControl* Control = nullptr;
  String ControlKind;
  String Params;
  bool AlwaysShow = false;
  bool BackgroundIsWhite = true;
};

// The link between the grid and its data source: the field map (the dataset field of each data
// column) and the dataset's notifications, passed to the grid.
class TqvGridDataLink : public TDataLink {
  VELBOR_DECLARE_CLASS(TqvGridDataLink, TDataLink)
 public:
  explicit TqvGridDataLink(TqvCustomDBGrid* Grid);
  ~TqvGridDataLink() override;

  TqvCustomDBGrid* Grid() const { return FGrid; }
  int FieldCount() const { return int(FFieldMap.size()); }
  // The dataset's field index of each data column.
  const std::vector<int>& FieldMap() const { return FFieldMap; }
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  bool InUpdateData() const { return FInUpdateData; }

  // Appends the field to the map; false (nothing mapped) when the dataset has no such field.
  // EInvalidGridOperation qvGridTooManyColumns once qvMaxGridFields are mapped.
  bool MapField(const String& FieldName);
  void ClearMapping();
  TField* GetMappedField(int Index) const;
  // The dataset's default-fields state (true without a dataset).
  bool DefaultFields() const;
  // Escape: the editor shows the field again, or the record is cancelled (asked when modified).
  void Reset();
  // The link's first record in the dataset's buffer window is not exposed by TDataLink; the grid
  // moves the active record through the base.
  using TDataLink::DataEvent;

 protected:
  void ActiveChanged() override;
  void DataSetChanged() override;
  void DataSetScrolled(int Distance) override;
  void LayoutChanged() override;
  void EditingChanged() override;
  void RecordChanged(TField* Field) override;
  void FocusControl(TField** Field) override;
  void UpdateData() override;

 private:
  TqvCustomDBGrid* FGrid;
  std::vector<int> FFieldMap;
  bool FInUpdateData = false;
  bool FModified = false;
};

// The grid's editor: a single-line (or, with dgWordWrap, multi-line) edit that checks typed
// characters against the field's picture mask and reports each check through OnCheckValue.
class TqvInplaceEdit : public TInplaceEdit {
  VELBOR_DECLARE_CLASS(TqvInplaceEdit, TInplaceEdit)
 public:
  explicit TqvInplaceEdit(TComponent* AOwner);

  bool WordWrap() const { return FWordWrap; }
  // Recreates the window (always).
  void SetWordWrap(bool Value);
  const String& PictureMask() const { return FPictureMask; }
  bool AutoFill() const { return FAutoFill; }
  bool AllowInvalidExit = false;
  // The use-mask flag is set and the mask is not empty.
  bool UsesPictureMask() const;
  // Checks Text against the picture (true for an empty text or no picture) and reports through
  // the grid's OnCheckValue.
  bool ValidateText(const String& Text);
  // The text the editor would hold after Key.
  String ComposeText(char Key) const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void BoundsChanged() override;
  void UpdateContents() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMPaste(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  TqvCustomDBGrid* QvGrid() const;
  // A typed character through the picture; true when the key was handled here.
  void PictureKeyPress(char& Key);

  bool FWordWrap = false;
  bool FUseMask = false;
  String FPictureMask;
  bool FAutoFill = false;
};

// The button in the grid's top-left cell.
class TqvIButton : public TSpeedButton {
  VELBOR_DECLARE_CLASS(TqvIButton, TSpeedButton)
 public:
  explicit TqvIButton(TComponent* AOwner) : TSpeedButton(AOwner) {}
  // Keeps to the corner; a new size changes the grid's indicator column.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Loaded() override;
};

// The window that shows a truncated cell's whole text.
class TqvGridHintWindow : public TCustomControl {
  VELBOR_DECLARE_CLASS(TqvGridHintWindow, TCustomControl)
 public:
  explicit TqvGridHintWindow(TComponent* AOwner);
  TAlignment Alignment = taLeftJustify;
  bool WordWrap = true;
  TField* Field = nullptr;
  // Shows the window at Rect (screen coordinates) with Text, without taking the focus.
  void ActivateHint(const TRect& Rect, const String& Text);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};

// Behaviour switches (the published grid's PatchFlags, by element).
struct TqvGridPatchFlags {
  bool EditorTextUnchanged = false;      // 0: the editor's text equalled the field's when written
  bool NoRealignWhenEmpty = false;       // 1
  int SizingColumn = 0;                  // 2: the column under the mouse when a sizing started
  bool NoAutoFillRetry = false;          // 3
  bool ColExitBeforeHide = false;        // 4: OnColExit before the embedded control is hidden
  bool ExitErrorsPropagate = false;      // 5: failures while leaving the grid go to the caller
  int LastCellCol = 0;                   // 6, 7: the last cell reported
  int LastCellRow = 0;
  bool FixedProportionalResize = false;  // 8
};

// --- Events ------------------------------------------------------------------------------------

using TqvLeftColChangedEvent = TEvent<void(TObject* Sender, int NewLeftCol)>;
using TqvDrawDataCellEvent = TEvent<void(TObject* Sender, const TRect& Rect, TField* Field, TGridDrawState State)>;
using TqvCalcCellColorsEvent =
    TEvent<void(TObject* Sender, TField* Field, TGridDrawState State, bool Highlight, TFont* AFont, TBrush* ABrush)>;
using TqvCalcTitleAttributesEvent =
    TEvent<void(TObject* Sender, const String& AFieldName, TFont* AFont, TBrush* ABrush, TAlignment& ATitleAlignment)>;
using TqvDrawTitleCellEvent =
    TEvent<void(TObject* Sender, TCanvas* Canvas, TField* Field, const TRect& Rect, bool& DefaultDrawing)>;
using TqvDrawGroupHeaderCellEvent =
    TEvent<void(TObject* Sender, TCanvas* Canvas, const String& GroupHeaderName, const TRect& Rect, bool& DefaultDrawing)>;
using TqvCalcTitleImageEvent = TEvent<void(TObject* Sender, TField* Field, TqvTitleImageAttributes& Attributes)>;
using TqvTitleButtonClickEvent = TEvent<void(TObject* Sender, const String& AFieldName)>;
using TqvCheckValueEvent = TEvent<void(TObject* Sender, bool PassesPictureTest)>;
using TqvColumnMovedEvent = TEvent<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TqvColWidthChangedEvent = TEvent<void(TObject* Sender, int Column)>;
using TqvDrawFooterCellEvent = TEvent<void(TObject* Sender, TCanvas* Canvas, const TRect& FooterCellRect, TField* Field,
                                           const String& FooterText, bool& DefaultDrawing)>;
using TqvFieldChangedEvent = TEvent<void(TObject* Sender, TField* Field)>;
using TqvCreateHintWindowEvent =
    TEvent<void(TObject* Sender, TqvGridHintWindow* HintWindow, TField* AField, const TRect& R, bool& WordWrap,
                int& MaxWidth, int& MaxHeight, bool& DoDefault)>;
using TqvGridURLOpenEvent = TEvent<void(TObject* Sender, String& URLLink, TField* Field, bool& UseDefault)>;
using TqvDrawCellInfoEvent = TEvent<void(TObject* Sender, TqvCustomDrawGridCellInfo* DrawCellInfo)>;
using TqvDittoEvent =
    TEvent<void(TObject* Sender, TDataSet* DataSet, TField* Field, String& DittoValue, bool& AllowDitto)>;

// --- The engine --------------------------------------------------------------------------------

class TqvCustomDBGrid : public TCustomGrid {
  VELBOR_DECLARE_CLASS(TqvCustomDBGrid, TCustomGrid)
  friend class TqvGridDataLink;
  friend class TqvInplaceEdit;
  friend class TqvColumn;
  friend class TqvIButton;
  friend LRESULT CALLBACK qvGridKeyboardHook(int Code, WPARAM WParam, LPARAM LParam);

 public:
  explicit TqvCustomDBGrid(TComponent* AOwner);
  ~TqvCustomDBGrid() override;

  // --- Properties ------------------------------------------------------------------------------
  TDataSource* DataSource() const { return GetDataSource(); }
  TDataSource* GetDataSource() const;
  void SetDataSource(TDataSource* Value);
  TqvGridDataLink* DataLink() const { return FDataLink; }
  TStringList* Selected() const { return FSelected; }
  TStrings* GetSelected() const;
  void SetSelected(TStrings* Value);
  bool UseTFields() const { return FUseTFields; }
  void SetUseTFields(bool Value);
  TStringList* ControlType() const { return FControlType; }
  void SetControlType(TStrings* Value);
  bool ControlInfoInDataset = true;
  TStringList* PictureMasks() const { return FPictureMasks; }
  void SetPictureMasks(TStrings* Value);
  bool PictureMaskFromDataSet = true;
  TqvDBGridOptions Options() const { return FOptions; }
  virtual void SetOptions(TqvDBGridOptions Value);
  TqvDBGridKeyOptions KeyOptions = {dgAllowDelete, dgAllowInsert};
  TqvEditControlOptions EditControlOptions = {ecoSearchOwnerForm};
  TqvMultiSelectOptions MultiSelectOptions;
  bool ReadOnly = false;
  bool EditCalculated = false;
  // The engine draws the cell text.
  bool DefaultDrawing = true;
  TFont* TitleFont() const { return FTitleFont; }
  void SetTitleFont(TFont* Value);
  TColor TitleColor() const { return FTitleColor; }
  virtual void SetTitleColor(TColor Value);
  TAlignment TitleAlignment() const { return FTitleAlignment; }
  void SetTitleAlignment(TAlignment Value);
  int TitleLines() const { return FTitleLines; }
  // Values below 1 are ignored.
  void SetTitleLines(int Value);
  bool TitleButtons() const { return FTitleButtons; }
  void SetTitleButtons(bool Value);
  int RowHeightPercent() const { return FRowHeightPercent; }
  // A value of 0 or less makes it 100 and nothing else.
  void SetRowHeightPercent(int Value);
  bool ShowVertScrollBar() const { return FShowVertScrollBar; }
  void SetShowVertScrollBar(bool Value);
  bool ShowHorzScrollBar() const { return FShowHorzScrollBar; }
  // No horizontal bar while proportional resizing is in effect.
  void SetShowHorzScrollBar(bool Value);
  TIndicatorColorType IndicatorColor() const { return FIndicatorColor; }
  void SetIndicatorColor(TIndicatorColorType Value);
  TColor IndicatorIconColor() const { return FIndicatorIconColor; }
  void SetIndicatorIconColor(TColor Value);
  TqvIButton* IndicatorButton() const { return FIndicatorButton; }
  void SetIndicatorButton(TqvIButton* Value);
  int IndicatorColumnWidth() const { return FIndicatorWidth; }
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  TCustomImageList* TitleImageList() const { return FTitleImageList; }
  void SetTitleImageList(TCustomImageList* Value);
  TqvGridLineStyle LineStyle() const { return FLineStyle; }
  void SetLineStyle(TqvGridLineStyle Value);
  TqvGridLineColors* LineColors() const { return FLineColors; }
  void SetLineColors(TqvGridLineColors* Value) { FLineColors->Assign(Value); }
  TqvPadColumnStyle PadColumnStyle() const { return FPadColumnStyle; }
  void SetPadColumnStyle(TqvPadColumnStyle Value);
  bool HideAllLines() const { return FHideAllLines; }
  void SetHideAllLines(bool Value);
  bool DisableThemesInTitle() const { return FDisableThemesInTitle; }
  void SetDisableThemesInTitle(bool Value);
  // Read by name by the visual-styles test of the library.
  bool DisableThemes = false;
  TqvGridPaintOptions* PaintOptions() const { return FPaintOptions; }
  void SetPaintOptions(TqvGridPaintOptions* Value) { FPaintOptions->Assign(Value); }
  TColor FooterColor() const { return FFooterColor; }
  void SetFooterColor(TColor Value);
  TColor FooterCellColor() const { return FFooterCellColor; }
  void SetFooterCellColor(TColor Value);
  int FooterHeight() const { return FFooterHeight; }
  // A negative value is stored as 0 (automatic).
  void SetFooterHeight(int Value);
  int DragVertOffset = 15;
  const String& GroupFieldName() const { return FGroupFieldName; }
  void SetGroupFieldName(const String& Value);
  TqvDittoAttributes* DittoAttributes() const { return FDittoAttributes; }
  void SetDittoAttributes(TqvDittoAttributes* Value) { FDittoAttributes->Assign(Value); }
  TqvGridPatchFlags PatchFlags;
  // False keeps a click from taking the focus.
  bool TakeFocusOnClick = true;
  // Set by the lookup controls on their lists: data changes do not hide the embedded control.
  bool SuppressCustomControlHiding = false;
  // Set by the lookup dialogs on their grids: data changes do not repaint.
  bool SuppressDataChanged = false;
  // The client area without the footer.
  TRect ClientRect() const override;

  // --- Columns and fields ----------------------------------------------------------------------
  int IndicatorOffset() const { return FIndicatorOffset; }
  int TitleRowCount() const { return FTitleOffset; }
  // A grid column (row) less the indicator column (title row); negative in those.
  int DataColOf(int ACol) const { return ACol - FIndicatorOffset; }
  int DataRowOf(int ARow) const { return ARow - FTitleOffset; }
  // The data row of the current record. Drawing moves the link's active record to each row it
  // draws, so the current one is the grid's current row, kept on the active record.
  int CurrentDataRow() const { return DataRowOf(Row()); }
  int GetFieldCount() const;
  TField* GetFields(int Index) const;
  // GetFields, also null for a negative index or an inactive link.
  TField* GetFieldByDataCol(int Index) const;
  TField* SelectedField() const;
  int SelectedIndex() const { return DataColOf(Col()); }
  void SetSelectedIndex(int Value);
  void FocusFieldColumn(TField* Field);
  void MoveToColumn(int Index);
  // The column objects (one per mapped field) and the default one every miss returns.
  int ColumnCount() const { return int(FColumns.size()); }
  TqvColumn* GetColumn(int Index) const;
  TqvColumn* ColumnByName(const String& Name) const;
  TqvColumn* ColumnOfDataIndex(int Index) const;
  String GetColumnFieldName(int ACol) const;
  // A link cell's value: the text shown (before the first "#") and the address (after it; the
  // text itself when there is none).
  virtual void SplitURLLink(const String& Value, String& Display, String& Address);
  bool IsSelectedCheckColumn(int ACol) const;
  // Replaces part Part (0 field, 1 width, 2 title, 3 read-only, 4 group) of the Selected line of
  // data column Index.
  void SetSelectedPart(int Index, int Part, const String& Value);
  // The display text of the field of a data column (empty when none).
  virtual String GetFieldDisplayText(int DataCol);
  virtual String GetFieldDisplayTextW(int DataCol) { return GetFieldDisplayText(DataCol); }

  // --- Operations ------------------------------------------------------------------------------
  // Gives the grid the focus when it may take it; true when the grid or its editor holds it
  // (or when it may not act: no take-focus-on-click, cannot focus, designing).
  bool AcquireFocus();
  virtual void RebuildLayout();
  void UpdateRowCount();
  void UpdateVertScrollBar();
  // Snaps the grid's height to whole rows (design time with dgPerfectRowFit, or when called).
  bool FitHeightToRows();
  bool CanEditGrid() const;
  bool DrawsFixedRowLines() const;
  void InvalidateCurrentRow();
  void InvalidateTitleRow();
  void InvalidateFooter();
  virtual bool IsMemoCell(int ACol, int ARow) const;
  // The cell under a client point; -1 for both outside every cell.
  void CellAtPoint(int X, int Y, int& ACol, int& ARow) const;
  virtual void GetCellBounds(int ACol, int ARow, TRect& Rect) const;
  virtual void GetTitleTextRect(int ACol, int ARow, TRect& Rect) const;
  virtual void GetGroupHeaderRect(int ACol, int ARow, TRect& Rect, bool VisibleOnly, int& LastCol, int& FirstCol) const;
  virtual void GetTitleRectAt(int ACol, TRect& Rect, int Y) const;
  virtual void GetFooterRect(TRect& Rect) const;
  virtual TCanvas* GetPaintCanvas();
  virtual void RefreshSelectedFromDataSet() {}
  // The checked and unchecked values of a CheckBox "ControlType" line of the cell's field.
  bool GetCheckBoxValues(int ACol, int ARow, String& Checked, String& Unchecked) const;
  // The "ControlType" lines in effect: the dataset's (ControlInfoInDataset) or the grid's.
  TStrings* GetControlTypeList() const;
  virtual void GetControlType(const String& FieldName, String& Kind, String& Params) const;
  bool GetCellControl(int ACol, int ARow, TWinControl*& Control);
  TWinControl* FindCellControl(const String& Name) const;
  bool CellControlsActive() const;
  void AlignCellControl();
  TWinControl* CurrentCellControl() const { return FCellControl; }
  TWinControl* DateTimePicker() const { return FDateTimePicker; }
  bool GetPriorRecordValue(const String& FieldName, String& Value);
  bool GetNextRecordValue(const String& FieldName, String& Value);
  void FitColumnToContents(int ACol);
  void ResetTitlePress();
  void FreeBaseWidths();
  TColor GetActiveRecordColor() const;
  virtual bool UsesProportionalColResize() const;
  virtual bool DittoField(TField* Field, TqvDittoDirection Direction);
  void BeginPaintLock();
  void EndPaintLock(bool Invalidate);
  virtual bool HasEmbeddedControl(int ACol, int ARow);
  virtual void HideCustomControl();
  virtual void PositionCellControl();
  // Writes the editor's text into the field (the data link's UpdateData).
  virtual void PostEditorData();
  virtual void ShowEditorIfAllowed();
  // Multi-selection, the published grid's (empty here).
  virtual void SelectCurrentRecord() {}
  virtual void UnselectCurrentRecord() {}
  virtual void UnselectAllRecords() {}
  virtual bool IsRowSelected(int) { return false; }
  virtual bool IsCurrentRowSelected() { return false; }
  void HideCellHint();
  TqvGridHintWindow* CellHint() const { return FHintWindow; }
  // Fires OnCalcCellColors.
  virtual void DoCalcCellColors(TField* Field, TGridDrawState State, TBrush* ABrush, TFont* AFont, bool Highlight);
  void SetFocus() override;

  // --- Events ----------------------------------------------------------------------------------
  TNotifyEvent OnColEnter, OnColExit, OnRowChanged, OnCellChanged, OnTopRowChanged, OnUpdateFooter, OnBeforePaint;
  TqvLeftColChangedEvent OnLeftColChanged;
  TqvDrawDataCellEvent OnDrawDataCell;
  TqvCalcCellColorsEvent OnCalcCellColors;
  TqvCalcTitleAttributesEvent OnCalcTitleAttributes;
  TqvDrawTitleCellEvent OnDrawTitleCell;
  TqvDrawGroupHeaderCellEvent OnDrawGroupHeaderCell;
  TqvCalcTitleImageEvent OnCalcTitleImage;
  TqvTitleButtonClickEvent OnTitleButtonClick;
  TqvCheckValueEvent OnCheckValue;
  TqvColumnMovedEvent OnColumnMoved;
  TqvColWidthChangedEvent OnColWidthChanged;
  TqvDrawFooterCellEvent OnDrawFooterCell;
  TqvFieldChangedEvent OnFieldChanged;
  TqvCreateHintWindowEvent OnCreateHintWindow;
  TqvGridURLOpenEvent OnURLOpen;
  TqvDrawCellInfoEvent OnBeforeDrawCell, OnAfterDrawCell;
  TqvDittoEvent OnDitto;

 protected:
  // --- Overridables ----------------------------------------------------------------------------
  // Layout (QvdbigrdLayout.cpp).
  virtual void UpdateRowHeights();
  virtual void LayoutColumns();
  virtual void ApplyProportionalWidths();
  virtual void ScrollByRecords(int Distance);
  void ColWidthsChanged() override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void TimedScroll(TGridScrollDirections Direction) override;
  // Data (QvdbigrdData.cpp).
  virtual void BuildFieldMap();
  virtual void DataLinkActiveChanged(bool Active);
  virtual void DataChanged();
  virtual void RecordChanged(TField* Field);
  virtual void CheckRowChanged();
  virtual void UpdateFooter();
  virtual void DoUpdateFooter();
  virtual void DoRowChanged();
  virtual void DoCellChanged();
  virtual void DoColEnter();
  virtual void DoColExit();
  virtual void DoTopRowChanged();
  virtual void DoFieldChanged(TField* Field);
  virtual bool CanCancelInsertOnExit() { return true; }
  // Writes the editor's text into the current field (checks, conversions).
  virtual void ValidateEditorValue();
  virtual void ReportInvalidValue(TField* Field);
  void SyncCurrentRow();
  // Drawing (QvdbigrdDraw.cpp).
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  virtual bool IsCellHighlighted(int DataCol, int DataRow, TGridDrawState State);
  virtual bool ApplyCellColors(TField* Field, TGridDrawState State, TBrush* ABrush, TFont* AFont, bool Highlight);
  virtual void DoCalcTitleAttributes(const String& Name, TFont* AFont, TAlignment& Alignment, TBrush* ABrush);
  virtual void DoDrawTitleCell(TCanvas* ACanvas, TField* Field, const TRect& Rect, bool& Default);
  virtual void DoDrawGroupHeaderCell(TCanvas* ACanvas, const String& Name, const TRect& Rect, bool& Default);
  virtual void DoCalcTitleImage(TField* Field, TqvTitleImageAttributes& Attributes);
  virtual void DoDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State);
  virtual void DoAfterDrawCell(TqvCustomDrawGridCellInfo* Info);
  virtual void SuppressRepeatedGroupValue(TqvCustomDrawGridCellInfo* Info);
  virtual void PaintCellBackground(const TRect& Rect);
  virtual void PaintDataRowBackground(const TRect& Rect, int DataRow, TColor Color);
  virtual void PaintFixedColumnBackground(const TRect& Rect, int DataRow, TColor Color);
  virtual void DrawCheckBoxCell(const TRect& Box, int ACol, bool Checked, int ARow);
  virtual TColor GetColumnColor(int ACol) const;
  virtual void DrawCellText(TCanvas* ACanvas, const TRect& Rect, int XOffset, int Flags, TAlignment Alignment,
                            const String& Text, int YOffset);
  virtual bool PaintsDirectly();
  // Painting (QvdbigrdPaint.cpp).
  void Paint() override;
  virtual void PaintGridLines();
  virtual void PaintPressedTitleButton();
  virtual int GetLastRowBottom(const TGridDrawInfo& DrawInfo) const;
  virtual void GetDrawInfo(TGridDrawInfo& DrawInfo) const { CalcDrawInfo(DrawInfo); }
  void PaintCellGridLines(int ACol, int ARow, TGridDrawState State, const TRect& Rect);
  // Input (QvdbigrdInput.cpp).
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  virtual void DoTitleButtonClick(const String& Name);
  virtual void DoURLOpen(String& URLLink, TField* Field, bool& UseDefault);
  void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                       TGridDrawInfo& FixedInfo) override;
  // Editing (QvdbigrdEditor.cpp).
  TInplaceEdit* CreateEditor() override;
  bool CanEditAcceptKey(char Key) override;
  bool CanEditModify() override;
  bool CanEditShow() override;
  int GetEditLimit() override;
  String GetEditMask(int ACol, int ARow) override;
  String GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const String& Value) override;
  virtual void CreateDateTimePicker();
  virtual void CacheColumnControls();
  virtual void UpdateCellEditor();
  void PrepareCellControl(TWinControl* Control);
  // Lays the current cell's embedded control over it while it is drawn; true when the cell is
  // then left undrawn.
  bool PlaceCellControl(int ACol, int ARow, TGridDrawState AState);
  // Columns (QvdbigrdColumns.cpp).
  void TopLeftChanged() override;
  virtual void CreateCellHint(TField* Field);
  virtual void DoCreateHintWindow(TqvGridHintWindow* Window, TField* Field, const TRect& R, bool& WordWrap,
                                  int& MaxWidth, int& MaxHeight, bool& DoDefault);

  // Component life.
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DoExit() override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMPaint(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMButtonDown(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void WMThemeChanged(TMessage& Message);

  // --- State shared with descendants -----------------------------------------------------------
  TqvGridDataLink* FDataLink;
  TStringList* FSelected;
  TStringList* FControlType;
  TStringList* FPictureMasks;
  std::vector<TqvColumn*> FColumns;
  TqvColumn* FDefaultColumn;
  std::vector<TqvCacheColInfoItem*> FCache;
  TqvCustomDrawGridCellInfo* FCellInfo;
  TWinControl* FCellControl = nullptr;      // the control over the current cell
  TWinControl* FDateTimePicker = nullptr;   // the in-place date picker, made on first need
  bool FHasFocus = false;
  bool FSuppressEditorOnMove = false;
  bool FCellControlPlacedInPaint = false;
  // Editor text: the text the editor last fetched from or set into the grid.
  String FLastEditorText;

 private:
  // Data (QvdbigrdData.cpp).
  void WriteEditorText();
  void InvalidateIndicatorCell();
  // Layout (QvdbigrdLayout.cpp).
  void ScrollColumnIntoView(int ACol);
  bool CanFitHeight() const;
  int CharWidth() const;
  void UpdateFooterTextHeight();
  int TitleWidthOf(const String& Title);
  // Drawing (QvdbigrdDraw.cpp).
  void DrawTitleCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  void DrawIndicatorCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  void DrawDataCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  bool DrawControlCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  void PaintControlCellBackground(TField* Field, int DataCol, int DataRow, const TRect& Rect, TGridDrawState State);
  void DrawBitmapCell(TField* Field, const String& Params, int DataRow, const TRect& Rect);
  void DrawImageIndexCell(TField* Field, const String& Params, int DataRow, const TRect& Rect, TGridDrawState State);
  void DrawCustomControlCell(TWinControl* Control, TField* Field, const TRect& Rect, TGridDrawState State);
  void DrawIndicatorGlyph(const TRect& Cell, int Glyph);
  void DrawTitleOrCellText(const String& Text, TAlignment Alignment, bool WithoutFill);
  void PaintTitleBackground(const TRect& Rect);
  void DrawThemedHeader(const TRect& Rect, int Pressed, bool Indicator, int ACol, bool GroupPart);
  bool UseThemedTitles() const;
  // Visual styles for the grid: asked once per frame while painting (the question is slow).
  bool ThemesOn() const;
  bool DrawThemePart(TqvThemeData& Theme, int Part, int State, const TRect& Rect, TColor Back);
  bool TitlePressedState(int ACol, bool GroupPart) const;
  bool IsInHotGroupHeader(int ACol) const;
  // Painting (QvdbigrdPaint.cpp).
  void PaintAllCells(const TGridDrawInfo& DrawInfo);
  void PaintCellRange(int StartCol, int StartRow, int StartX, int StartY, int StopX, int StopY, TGridDrawState Base);
  void PaintPadColumn(const TGridDrawInfo& DrawInfo);
  void PaintFooter(int LastRight);
  void PaintFooterCell(int ACol, const TRect& Footer);
  void PaintFooterCellFrame(const TRect& Rect);
  void HLine(TColor Color, int X1, int X2, int Y);
  void VLine(TColor Color, int X, int Y1, int Y2);
  bool IsLight(TColor Background) const;
  // Input (QvdbigrdInput.cpp).
  void PreviousRecord();
  void NextRecord();
  void TabToNextColumn(bool Forward);
  void PressTitleButton(int ACol, int ARow, int Y);
  void DragColumn(int X, int Y);
  bool ConfirmDelete();
  void OpenURLCell(int ACol);
  void PassClickToControl(int X, int Y);
  bool HandleDittoKey(WORD Key, LPARAM KeyData);
  void HoldKeyboardHook();
  void ReleaseKeyboardHook();
  // Columns (QvdbigrdColumns.cpp).
  void RebuildColumns();
  void ResetURLHover();
  void UpdateCellHint(int ACol, int ARow);
  void WatchCellHint(TObject* Sender);
  void SetActiveRecordFor(int DataRow);
  void TitleFontChanged(TObject* Sender);

  TqvDBGridOptions FOptions = qvDefaultGridOptions;
  TFont* FTitleFont;
  TColor FTitleColor = clBtnFace;
  TAlignment FTitleAlignment = taLeftJustify;
  int FTitleLines = 1;
  bool FTitleButtons = false;
  int FRowHeightPercent = 100;
  int FDesignRowHeightPercent = 100;
  bool FShowVertScrollBar = true;
  bool FShowHorzScrollBar = true;
  bool FUseTFields = true;
  TIndicatorColorType FIndicatorColor = icBlack;
  TColor FIndicatorIconColor = TColor(0);
  TqvIButton* FIndicatorButton = nullptr;
  int FIndicatorWidth = 11;
  TCustomImageList* FImageList = nullptr;
  TCustomImageList* FTitleImageList = nullptr;
  TqvGridLineStyle FLineStyle = glsDynamic;
  TqvGridLineColors* FLineColors;
  TqvPadColumnStyle FPadColumnStyle = pcsPadHeaderAndData;
  bool FHideAllLines = false;
  bool FDisableThemesInTitle = false;
  TqvGridPaintOptions* FPaintOptions;
  std::unique_ptr<TBitmap> FPaintBitmap;
  TColor FFooterColor = clBtnFace;
  TColor FFooterCellColor = clBtnFace;
  int FFooterHeight = 0;
  int FFooterTextHeight = 0;
  String FGroupFieldName;
  TqvDittoAttributes* FDittoAttributes;

  int FIndicatorOffset = 1;
  int FTitleOffset = 1;
  int FLayoutLock = 0;
  int FLayoutReentry = 0;
  bool FInRowCount = false;
  bool FColExitGuard = false;
  bool FTitleFontFromParent = false;
  bool FColEnterPending = false;
  bool FWriteWidthsBack = true;
  bool FParityFlag = false;
  bool FFooterDirty = false;
  bool FSuppressCellChanged = false;
  bool FSuppressEditor = false;
  int FIndicatorRow = -1;
  int FLastCurrentCol = -1;
  int FLastClientWidth = 0;
  TBookmark FLastBookmark;
  bool FHasLastBookmark = false;
  TBookmark FLastMasterBookmark;
  bool FHasLastMasterBookmark = false;
  // Proportional base widths, one per grid column.
  std::vector<int> FBaseWidths;
  int FSizingCol = -1;
  int FSizingColWidth = 0;
  int FPaintLock = 0;
  // Cell drawing.
  int FDrawDataRow = 0;
  int FDrawDataCol = 0;
  bool FFocusFrameFlag = false;
  bool FLinesDrawn = false;
  bool FCustomColor = false;
  bool FWhiteBackground = false;
  bool FLeftAlignedDisplayText = false;
  bool FSuppressedLines = false;
  TRect FUpdateRect;
  TRect FDrawRect;          // the cell being drawn
  TGridDrawState FDrawState;
  bool FDrawingDragImage = false;
  std::unique_ptr<TBitmap> FDragImage;
  // Title presses and drags.
  int FPressedCol = -1;
  int FPressedRow = -1;
  bool FPressedOnGroup = false;
  bool FDragTookPlace = false;
  bool FGroupDrag = false;
  bool FInGroupDrag = false;
  int FHotCol = -1;
  int FHotRow = -1;
  bool FOverGroupHeader = false;
  // URL hover.
  int FURLCol = -1;
  int FURLRow = -1;
  TCursor FSavedCursor = crDefault;
  bool FURLHover = false;
  // Cell hints.
  int FHintCol = 0;
  int FHintRow = 0;
  TRect FHintCellRect;
  TqvGridHintWindow* FHintWindow = nullptr;
  TTimer* FHintTimer = nullptr;
  int FHintTicks = 0;
  bool FHintFromMapping = false;
  bool FPlacingCellControl = false;
  int FPaintThemes = -1;  // -1 outside painting
  // The theme classes the cells draw, opened once.
  TqvThemeData FHeaderTheme{"HEADER"};
  TqvThemeData FButtonTheme{"BUTTON"};
  // Theme parts drawn once at each size, state and background, then copied: the theme library
  // takes most of a millisecond for each part it draws.
  std::map<std::array<int, 6>, std::unique_ptr<TBitmap>> FThemeParts;
  bool FHoldsHook = false;
  // Shared between the grid and the loops it runs (column drag): false once the grid is gone.
  std::shared_ptr<bool> FAlive;
};

// The keyboard hook every grid shares, installed while at least one grid holds it.
bool qvGridKeyboardHookInstalled();
int qvGridKeyboardHookUsers();

// Registers the grid classes with the form reader.
void RegisterGridEngineClasses();
