// This file implements TqvDBGrid, the grid that forms place: the engine (TqvCustomDBGrid) with a
// multi-selection of records held as bookmarks (Ctrl and Shift clicks, Space, ranges), memo cells
// opened in the memo dialog, check-box cells ticked by click or Space, a count of data columns
// that do not scroll (FixedCols), the storage of its column layout (IniAttributes, in
// QvdbgridLayout.cpp) and its export settings (ExportOptions, qvExportOptions.h). The class is
// registered under its name, so that a form description can hold one.
#pragma once

#include <vector>

#include "Qvdbigrd.h"

class TCustomRichEdit;
class TqvDBGrid;
class TqvExportOptions;
class TqvMemoDialog;

enum TqvMemoAttribute { mSizeable, mWordWrap, mGridShow, mViewOnly, mDisableDialog };
VELBOR_ENUM(TqvMemoAttribute, "mSizeable", "mWordWrap", "mGridShow", "mViewOnly", "mDisableDialog")
using TqvMemoAttributes = TSet<TqvMemoAttribute>;
inline constexpr TqvMemoAttributes qvDefaultMemoAttributes = {mSizeable, mWordWrap};

// Accept false keeps the record out of (or in) the selection.
using TqvMultiSelectRecordEvent = TEvent<void(TObject* Grid, bool Selecting, bool& Accept)>;
using TqvMemoOpenEvent = TEvent<void(TObject* Grid, TqvMemoDialog* MemoDialog)>;
using TqvMemoCloseEvent = TEvent<void(TObject* Grid, bool Cancel)>;
using TqvExportFieldEvent = TEvent<void(TObject* Grid, TField* Field, bool& Accept)>;
using TqvExportSYLKFormatEvent = TEvent<void(TObject* Grid, TField* Field, String& SYLKFormat)>;

// The grid's messages.
extern const char* const qvGridInvalidFixedCols;
extern const char* const qvLayoutFileNameRequired;
extern const char* const qvLayoutDirectoryMissing;
extern const char* const qvLayoutDelimiterRequired;
extern const char* const qvLayoutDelimiterNotFound;

// Where and how a grid keeps its column layout: an ini file (FileName, section SectionName) or,
// with SaveToRegistry, the key FileName of the current user (sub-key SectionName). Each column is
// one entry named after its field, valued width, title and read-only flag (and group name) joined
// by Delimiter.
class TqvIniAttributes : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvIniAttributes, TPersistent)
 public:
  explicit TqvIniAttributes(TqvDBGrid* Owner = nullptr) : FOwner(Owner) {}

  // The Name of the grid's form, set when the grid is loaded.
  String FormName;
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  const String& SectionName() const { return FSectionName; }
  void SetSectionName(const String& Value) { FSectionName = Value; }
  const String& Delimiter() const { return FDelimiter; }
  void SetDelimiter(const String& Value) { FDelimiter = Value; }
  // Saved when the grid is freed, restored when its window is first made.
  bool Enabled = false;
  bool SaveToRegistry = false;
  // After a restore, columns the stored layout does not name are kept after the stored ones.
  bool CheckNewFields = false;
  TqvDBGrid* Owner() const { return FOwner; }

  // FileName, else the library strings' IniFileName when they are connected, else (ini storage)
  // the program's name up to its first "." with ".ini"; empty when the strings are not connected.
  String GetFileName() const;
  // SectionName, else the form's name followed by the grid's.
  String GetSectionName() const;
  void Assign(TPersistent* Source) override;

 private:
  String FFileName;
  String FSectionName;
  String FDelimiter = ";;";
  TqvDBGrid* FOwner;
};

class TqvDBGrid : public TqvCustomDBGrid {
  VELBOR_DECLARE_CLASS(TqvDBGrid, TqvCustomDBGrid)
 public:
  explicit TqvDBGrid(TComponent* AOwner);
  ~TqvDBGrid() override;

  // --- Properties ------------------------------------------------------------------------------
  // Data columns that do not scroll (the indicator column not counted). At design time a value
  // that leaves no scrolling column is refused with qvGridInvalidFixedCols.
  int FixedCols() const { return FFixedDataCols; }
  void SetFixedCols(int Value);
  TqvMemoAttributes MemoAttributes() const { return FMemoAttributes; }
  void SetMemoAttributes(TqvMemoAttributes Value);
  TqvIniAttributes* IniAttributes() const { return FIniAttributes; }
  void SetIniAttributes(TqvIniAttributes* Value) { FIniAttributes->Assign(Value); }
  TqvExportOptions* ExportOptions() const { return FExportOptions; }
  void SetExportOptions(TqvExportOptions* Value);
  void SetTitleColor(TColor Value) override;
  // Every grid column, the indicator column included.
  int GetColCount() const { return ColCount(); }
  // Rich-text cells read their whole RTF value; else only its opening (qvRtfOpening).
  bool LoadAllRTF = false;

  // --- Multi-selection -------------------------------------------------------------------------
  // The selected records, in selection order.
  const std::vector<TBookmark>& SelectedBookmarks() const { return FSelectedBookmarks; }
  void SelectCurrentRecord() override;
  void UnselectCurrentRecord() override;
  void UnselectAllRecords() override;
  bool IsRowSelected(int DataRow) override;
  bool IsCurrentRowSelected() override;
  // Selects the records from From to To (either order), both included.
  virtual void SelectRecordRange(const TBookmark& From, const TBookmark& To);
  // Unselects the selected records lying from From to To, both included (From before To).
  virtual void UnselectRecordRange(const TBookmark& From, const TBookmark& To);
  // The selection state of each shown row, asked again before every paint.
  virtual void UpdateSelectedRowFlags();
  // Puts SelectedBookmarks into dataset order.
  void SortSelectedBookmarks();

  // --- Operations ------------------------------------------------------------------------------
  // Makes the first column of the field Name (any case) current.
  void SelectColumnOfField(const String& Name);
  // The cell under a client point (-1 for both outside every cell).
  void HitTestCell(int X, int Y, int& ACol, int& ARow) const;
  // Makes data row N the current row and the data link's active record.
  void SetCurrentDataRow(int N);
  // Scrolls the shown records so that the current one stands on data row FormerRow again (as far
  // as the records before and after it allow).
  void KeepRecordOnRow(int FormerRow);
  TField* CurrentField() const { return SelectedField(); }
  // The field of the current column in the memo dialog (F2, double click); nothing with
  // mDisableDialog.
  void OpenMemoDialog();
  // Ticks or clears a check-box cell of the current record.
  void ToggleCheckBox(int ACol, int ARow);
  void RefreshSelectedFromDataSet() override;
  // Selected applied again: to the fields with UseTFields, else to the grid's columns.
  void RefreshFromDataSet();
  void GetControlType(const String& FieldName, String& Kind, String& Params) const override;
  // The choices of the combo box with stored values ("TqvDBComboBox", by class name) that a
  // "CustomEdit" line names for the field of a data column: each as its shown text and stored
  // value ("text" TAB "value" with MapList, else the line for both). False when the column has none.
  bool GetComboChoices(int DataCol, bool& MapList, std::vector<std::pair<String, String>>& Choices) const;
  // The hidden rich edit ("TqvDBRichEdit", made by class name) that turns the rich text of
  // "RichEdit" cells into plain text; made on first need, owned by the grid. Null when no class
  // of that name is registered.
  TWinControl* GetRichEditControl();
  // A data cell whose field is a blob with a "RichEdit" control line.
  bool IsRichEditCell(int ACol, int ARow) const;
  // Hands the current rich-text cell to the rich edit, which opens its editor window on the
  // field (F2, double click): the rich edit is bound to the cell's field for that time only, and
  // reads the whole value before the editor shows it. Read-only unless the grid can edit the
  // field.
  void EditRichTextCell();
  // The field's text as the cell shows it: a rich-text cell's plain text, "(Memo)" for memos
  // unless mGridShow, a link's text,
  // the shown text of a combo's stored value (MapList), else the field's display text.
  String GetFieldDisplayText(int DataCol) override;
  // Column layout storage (QvdbgridLayout.cpp). SaveLayout writes one entry per column (the
  // registry also keeps their order); RestoreLayout puts the stored columns back in order. An
  // entry without its delimiter keeps its column as it is (said once, qvLayoutDelimiterNotFound),
  // a width that is no number takes the column's present one, a field the dataset lacks is left
  // out; with CheckNewFields the columns the store does not name follow the stored ones.
  virtual void SaveLayout();
  virtual void RestoreLayout();
  virtual void DoExportField(TField* Field, bool& Accept);
  virtual void DoExportSYLKFormat(TField* Field, String& SYLKFormat);

  // --- Events ----------------------------------------------------------------------------------
  TqvMultiSelectRecordEvent OnMultiSelectRecord;
  TqvMultiSelectRecordEvent OnMultiSelectAllRecords;
  TqvMemoOpenEvent OnMemoOpen;
  TqvMemoCloseEvent OnMemoClose;
  TqvExportFieldEvent OnExportField;
  TqvExportSYLKFormatEvent OnExportSYLKFormat;

 protected:
  virtual void ApplyFixedCols();
  TColor GetColumnColor(int ACol) const override;
  void LayoutColumns() override;
  void DataLinkActiveChanged(bool Active) override;
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // The edges of fixed columns size only with dgFixedResizable (and dgColumnResize), only those of
  // fixed data columns (never the indicator's), and only on the title row.
  void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                       TGridDrawInfo& FixedInfo) override;
  void CreateWnd() override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  void WMLButtonDblClk(TMessage& Message);
  // Characters typed on a memo cell or a cell with a control go to the control shown there.
  void WMChar(TMessage& Message);

 private:
  // The position of Bookmark among the selected ones; -1 when not selected.
  int FindSelected(const TBookmark& Bookmark) const;
  bool AcceptSelection(bool Selecting);
  void AddSelected(const TBookmark& Bookmark);
  bool IsCheckBoxCell(int ACol, int ARow) const;
  // The control of the current cell when it is shown over the cell; else null.
  TWinControl* ShownCellControl() const;
  // The plain text of a rich-text cell's value, read by the rich edit: only the opening of a long
  // RTF value unless LoadAllRTF.
  String RichTextOf(TField* Field, TCustomRichEdit* Rich);
  // Lets the program's loading change protected text.
  void AllowProtectedChange(TObject* Sender, int StartPos, int EndPos, bool& AllowChange);

  int FFixedDataCols = 0;
  TqvMemoAttributes FMemoAttributes = qvDefaultMemoAttributes;
  TqvIniAttributes* FIniAttributes;
  TqvExportOptions* FExportOptions;
  std::vector<TBookmark> FSelectedBookmarks;
  std::vector<bool> FSelectedRowFlags;
  // The record a Shift click extends the selection from (msoShiftSelect).
  bool FAnchorEnabled = false;
  TBookmark FAnchor;
  // Selected as it was before the last layout restore.
  std::vector<String> FSavedSelected;
  bool FLayoutRestorePending = true;
  bool FInDataLinkReaction = false;
  bool FRefreshRunning = false;
  bool FDestroying = false;
  TWinControl* FRichEdit = nullptr;
};

// How much of an RTF value a rich-text cell reads without LoadAllRTF: two chunks of the rich
// edit's stream reading. The opening of a long text is all a cell can show.
inline constexpr std::size_t qvRichTextChunkSize = 4096;
inline constexpr int qvGridRichTextChunks = 2;

// The opening of an RTF text that fits in Limit bytes, cut after its last whole token (a group
// mark, a control word with its number and delimiter, "\'hh", a control symbol, a text byte; the
// bytes of "\bin" data stay with their word) and closed with the groups still open, so that the
// rich edit reads it as RTF. A text that fits is returned as it is.
String qvRtfOpening(const String& Rtf, std::size_t Limit);

// Registers TqvDBGrid and the grid engine's classes with the form reader.
void RegisterDBGridClasses();
