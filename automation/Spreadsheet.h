// This file implements the spreadsheet object model that the exports drive: the application
// (TSpreadsheet) with its workbooks (TWorkbooks, TWorkbook), a workbook's worksheets (TWorksheets,
// TWorksheet) and cell ranges (TCellRange). The whole workbook lives in memory; closing it with a
// file name writes it as an .xlsx file (XlsxWriter.h), through a temporary file that replaces the
// target only once it is complete.
//
// Values keep their types: a text stays text whatever the cell's number format (codes keep their
// leading zeros), numbers stay numbers, a date is written as a date serial with a date format,
// a boolean as a boolean.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "AnsiString.h"
#include "Exceptions.h"
#include "Variant.h"

// Raised by every call of the model that cannot be done, with what failed in its message.
VELBOR_EXCEPTION(EAutomationError, Exception)

class TSpreadsheet;
class TWorkbook;
class TWorksheet;

// The largest sheet the file format holds.
inline constexpr int MaxSpreadsheetRows = 1048576;
inline constexpr int MaxSpreadsheetColumns = 16384;
inline constexpr int MaxCellTextLength = 32767;
inline constexpr int MaxSheetNameLength = 31;

// A cell of the model. Format indexes the workbook's number formats (0: "General").
struct TSheetCell {
  Variant Value;
  std::uint16_t Format = 0;
};

// A rectangle of cells of one worksheet, 1-based and inclusive: a cell ("A1") or the whole sheet
// (Cells). A handle: it holds no cells and is cheap to copy.
class TCellRange {
 public:
  TCellRange(TWorksheet* Sheet, int Row, int Column, int LastRow, int LastColumn);

  // One cell only; the whole sheet's format and value cannot be read or set here.
  String GetNumberFormat() const;
  void SetNumberFormat(const String& Format);
  Variant GetValue() const;
  // Empty or Null clears the value; text longer than MaxCellTextLength and numbers that are not
  // finite are refused.
  void SetValue(const Variant& Value);

  // The height in points of the range's rows: the sheet's default height for the whole sheet.
  double GetRowHeight() const;
  void SetRowHeight(double Height);

  void Select();

  TWorksheet* Worksheet() const { return FSheet; }
  int Row() const { return FRow; }
  int Column() const { return FColumn; }
  bool IsWholeSheet() const;

 private:
  void CheckSingleCell(const char* What) const;

  TWorksheet* FSheet;
  int FRow, FColumn, FLastRow, FLastColumn;
};

class TWorksheet {
 public:
  TWorksheet(TWorkbook* Workbook, const String& Name);

  String GetName() const { return FName; }
  // 1 to 31 characters, none of : \ / ? * [ ], not starting or ending with an apostrophe, and no
  // other sheet of the workbook named the same but for case.
  void SetName(const String& Name);

  // "A1" or "$A$1": one cell in the A1 notation.
  TCellRange Range(const String& Reference);
  TCellRange Cells();
  // Removes the sheet from its workbook (the last sheet cannot go); a sheet removed, or one of a
  // closed workbook, refuses every later call.
  void Delete();
  // Moves the sheet before another sheet of the same workbook.
  void Move(TWorksheet* Before);
  void Activate();

  TWorkbook* Workbook() const { return FWorkbook; }
  bool IsDeleted() const { return FDeleted; }

  // Read by the writer.
  const std::vector<std::vector<TSheetCell>>& Rows() const { return FRows; }
  double DefaultRowHeight() const { return FDefaultRowHeight; }  // 0: the application's own
  const std::vector<double>& RowHeights() const { return FRowHeights; }  // 0: the default
  // The selection, or Row 0 for none or the whole sheet.
  int SelectionRow() const { return FSelRow; }
  int SelectionColumn() const { return FSelColumn; }
  int SelectionLastRow() const { return FSelLastRow; }
  int SelectionLastColumn() const { return FSelLastColumn; }

 private:
  friend class TCellRange;
  friend class TWorkbook;

  void CheckAlive() const;
  TSheetCell* FindCell(int Row, int Column);
  TSheetCell& GetCell(int Row, int Column);
  void Release();  // drops the cells once the sheet is gone

  TWorkbook* FWorkbook;
  String FName;
  bool FDeleted = false;
  std::vector<std::vector<TSheetCell>> FRows;  // [row - 1][column - 1]
  double FDefaultRowHeight = 0;
  std::vector<double> FRowHeights;  // [row - 1]
  int FSelRow = 0, FSelColumn = 0, FSelLastRow = 0, FSelLastColumn = 0;
};

class TWorksheets {
 public:
  explicit TWorksheets(TWorkbook* Workbook) : FWorkbook(Workbook) {}

  int Count() const;
  // Inserts a new sheet before the active one and makes it the active sheet.
  TWorksheet* Add();
  TWorksheet* Item(int Index);  // from 1
  TWorksheet* Item(const String& Name);

 private:
  TWorkbook* FWorkbook;
};

class TWorkbook {
 public:
  TWorkbook(TSpreadsheet* Application, int SheetCount);
  ~TWorkbook();

  TWorksheets* Worksheets();
  TWorksheet* ActiveSheet();
  // Writes the workbook to FileName when SaveChanges is set (EAutomationError saying what failed
  // otherwise, the file left as it was and the workbook still open), then closes it: the workbook
  // and its sheets refuse every later call.
  void Close(bool SaveChanges, const String& FileName = String());
  bool IsClosed() const { return FClosed; }

  TSpreadsheet* Application() const { return FApplication; }
  // The sheets in their order, the active one, and the number formats cells refer to.
  const std::vector<TWorksheet*>& Sheets() const { return FOrder; }
  TWorksheet* Active() const { return FActive; }
  const std::vector<String>& NumberFormats() const { return FFormats; }

 private:
  friend class TWorksheet;
  friend class TWorksheets;
  friend class TCellRange;

  void CheckOpen() const;
  // The order holds each live sheet once, none removed, and the active sheet is one of them.
  bool Consistent() const;
  TWorksheet* NewSheet(int Position);
  String NextSheetName();
  int PositionOf(const TWorksheet* Sheet) const;
  std::uint16_t FormatIndex(const String& Format);

  TSpreadsheet* FApplication;
  TWorksheets FWorksheets{this};
  std::vector<std::unique_ptr<TWorksheet>> FOwned;  // every sheet made, removed ones too
  std::vector<TWorksheet*> FOrder;
  TWorksheet* FActive = nullptr;
  int FLastSheetNumber = 0;
  std::vector<String> FFormats{"General"};
  bool FClosed = false;
};

class TWorkbooks {
 public:
  explicit TWorkbooks(TSpreadsheet* Application) : FApplication(Application) {}

  int Count() const;
  // A new workbook of the application's SheetsInNewWorkbook sheets, the first one active.
  TWorkbook* Add();
  TWorkbook* Item(int Index);  // from 1, among the open workbooks

 private:
  friend class TSpreadsheet;
  TSpreadsheet* FApplication;
  std::vector<std::unique_ptr<TWorkbook>> FOwned;  // closed ones are kept until the application goes
};

// The application. It shows nothing: Visible and DisplayAlerts are kept for the callers that set
// them, and nothing is ever asked (a caller asks before replacing a file).
class TSpreadsheet {
 public:
  TSpreadsheet() = default;
  TSpreadsheet(const TSpreadsheet&) = delete;
  TSpreadsheet& operator=(const TSpreadsheet&) = delete;

  bool Visible = false;
  bool DisplayAlerts = true;
  int SheetsInNewWorkbook = 3;

  TWorkbooks* Workbooks() { return &FWorkbooks; }
  // Closes every open workbook without saving it.
  void Quit();

 private:
  TWorkbooks FWorkbooks{this};
};

// The column letters of the A1 notation (1 gives "A", 27 "AA", 16384 "XFD"), and the reading of a
// cell reference ("B12", "$B$12"); false when Reference is no cell of the sheet.
String ColumnLetters(int Column);
bool ParseCellReference(const String& Reference, int& Row, int& Column);
// Whether a number format shows a date or a time (it has d, m, y, h or s outside quoted text).
bool IsDateTimeFormat(const String& Format);
