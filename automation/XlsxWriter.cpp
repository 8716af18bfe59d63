// This file implements the writing of a workbook as an .xlsx file with libxlsxwriter: the sheets in
// their order, each cell with its type and number format, row heights, selections and the active
// sheet, written to a temporary file that then replaces the target.
#include "XlsxWriter.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "DateTimeFormat.h"
#include "FileUtils.h"
#include "OsPort.h"
#include "ScopeGuard.h"
#include "Spreadsheet.h"

namespace {

const char* const DateFormat = "dd/mm/yyyy";
const char* const DateTimeFormat = "dd/mm/yyyy hh:mm:ss";

// TDateTime counts days from 1899-12-30, the file's serials from 1900-01-00 with a day
// 1900-02-29 that never was: the two agree from 1900-03-01 (61) on, and a serial is one less
// before that. Dates before 1900-01-01 have no serial (false).
bool DateSerial(double Date, double& Serial) {
  if (Date >= 61) {
    Serial = Date;
    return true;
  }
  if (Date >= 2) {
    Serial = Date - 1;
    return true;
  }
  return false;
}

// libxlsxwriter's formats, one per number format text, made as cells need them.
class TFormats {
 public:
  explicit TFormats(lxw_workbook* Book) : FBook(Book) {}

  lxw_format* Get(const String& NumberFormat) {
    auto It = FFormats.find(NumberFormat);
    if (It != FFormats.end()) return It->second;
    lxw_format* Format = workbook_add_format(FBook);
    if (!Format) throw EAutomationError("mémoire insuffisante"_a);
    std::string Utf8 = AnsiToUtf8(NumberFormat);
    format_set_num_format(Format, Utf8.c_str());
    return FFormats[NumberFormat] = Format;
  }

 private:
  lxw_workbook* FBook;
  std::map<String, lxw_format*> FFormats;
};

void Check(lxw_error Error, const TWorksheet& Sheet, int Row, int Column) {
  if (Error != LXW_NO_ERROR)
    throw EAutomationError("feuille " + Sheet.GetName() + ", cellule " + ColumnLetters(Column) +
                           std::to_string(Row) + " : " + lxw_strerror(Error));
}

void WriteCell(lxw_worksheet* Out, const TWorksheet& Sheet, const TSheetCell& Cell, int Row,
               int Column, const std::vector<String>& Formats, TFormats& Made) {
  const String& NumberFormat = Formats[Cell.Format];
  lxw_format* Format = Cell.Format ? Made.Get(NumberFormat) : nullptr;
  lxw_row_t r = Row - 1;
  lxw_col_t c = static_cast<lxw_col_t>(Column - 1);
  const Variant& Value = Cell.Value;
  lxw_error Error = LXW_NO_ERROR;
  switch (Value.Type()) {
    case varEmpty:
    case varNull:
      if (Format) Error = worksheet_write_blank(Out, r, c, Format);
      break;
    case varString:
      Error = worksheet_write_string(Out, r, c, AnsiToUtf8(Value.AsString()).c_str(), Format);
      break;
    case varBoolean:
      Error = worksheet_write_boolean(Out, r, c, Value.AsBoolean(), Format);
      break;
    case varDate: {
      double Date = Value.AsDate(), Serial = 0;
      bool HasTime = Date != std::floor(Date);
      if (!DateSerial(Date, Serial)) {
        // No serial: the date as text, as the program shows it.
        String Text = FormatDateTime(HasTime ? "dd/mm/yyyy hh:nn:ss" : "dd/mm/yyyy", Date);
        Error = worksheet_write_string(Out, r, c, AnsiToUtf8(Text).c_str(), Format);
        break;
      }
      if (!IsDateTimeFormat(NumberFormat)) Format = Made.Get(HasTime ? DateTimeFormat : DateFormat);
      Error = worksheet_write_number(Out, r, c, Serial, Format);
      break;
    }
    default:
      Error = worksheet_write_number(Out, r, c, Value.AsDouble(), Format);
      break;
  }
  Check(Error, Sheet, Row, Column);
}

void WriteSheet(lxw_worksheet* Out, const TWorksheet& Sheet, const std::vector<String>& Formats,
                TFormats& Made) {
  if (Sheet.DefaultRowHeight() > 0) worksheet_set_default_row(Out, Sheet.DefaultRowHeight(), LXW_FALSE);
  // Row by row, each row's height before its cells: the sheet is written as it goes (the
  // library's constant-memory mode) and a row once left cannot be changed.
  const auto& Heights = Sheet.RowHeights();
  const auto& Rows = Sheet.Rows();
  for (std::size_t r = 0; r < std::max(Rows.size(), Heights.size()); ++r) {
    if (r < Heights.size() && Heights[r] > 0)
      Check(worksheet_set_row(Out, r, Heights[r], nullptr), Sheet, r + 1, 1);
    if (r < Rows.size())
      for (std::size_t c = 0; c < Rows[r].size(); ++c)
        WriteCell(Out, Sheet, Rows[r][c], static_cast<int>(r + 1), static_cast<int>(c + 1),
                  Formats, Made);
  }
  if (Sheet.SelectionRow() > 0)
    worksheet_set_selection(Out, Sheet.SelectionRow() - 1,
                            static_cast<lxw_col_t>(Sheet.SelectionColumn() - 1),
                            Sheet.SelectionLastRow() - 1,
                            static_cast<lxw_col_t>(Sheet.SelectionLastColumn() - 1));
}

// Fills Out with the sheets of Book; Out is then closed (written) by the caller.
void Fill(lxw_workbook* Out, const TWorkbook& Book) {
  TFormats Made(Out);
  for (const TWorksheet* Sheet : Book.Sheets()) {
    std::string Name = AnsiToUtf8(Sheet->GetName());
    lxw_worksheet* OutSheet = workbook_add_worksheet(Out, Name.c_str());
    if (!OutSheet) throw EAutomationError("la feuille " + Sheet->GetName() + " ne peut être ajoutée"_a);
    WriteSheet(OutSheet, *Sheet, Book.NumberFormats(), Made);
    if (Sheet == Book.Active()) worksheet_activate(OutSheet);
  }
}

String Failure(const String& FileName, const String& Why) {
  return "Le classeur n'a pu être enregistré dans "_a + FileName + " : " + Why;
}

}  // namespace

void WriteXlsx(const TWorkbook& Book, const String& FileName) {
  String Folder = ExtractFileDir(FileName);
  if (!Folder.empty() && !DirectoryExists(Folder))
    throw EAutomationError(Failure(FileName, "le dossier " + Folder + " n'existe pas"));
  String Temp = FileName + ".tmp";
  // Made here first: an unwritable folder is told before anything is built.
  OsPort::FileHandle Handle = OsPort::CreateFile(Temp);
  if (Handle == OsPort::InvalidHandle)
    throw EAutomationError(Failure(FileName, "le fichier temporaire " + Temp +
                                                 " ne peut être créé : "_a + OsPort::LastErrorMessage()));
  OsPort::CloseFile(Handle);
  TScopeGuard RemoveTemp([&] { OsPort::DeleteFile(Temp); });

  std::string HostTemp = OsPort::HostPath(Temp);
  if (HostTemp.empty())
    throw EAutomationError(Failure(FileName, "le chemin " + Temp + " n'a pas d'équivalent sur le système"_a));
  // The whole workbook is already in memory: the library need not keep a second copy of it.
  lxw_workbook_options Options{};
  Options.constant_memory = LXW_TRUE;
  lxw_workbook* Out = workbook_new_opt(HostTemp.c_str(), &Options);
  if (!Out) throw EAutomationError(Failure(FileName, "mémoire insuffisante"_a));
  try {
    Fill(Out, Book);
  } catch (const EAutomationError& E) {
    lxw_workbook_free(Out);
    throw EAutomationError(Failure(FileName, E.Message));
  } catch (...) {
    lxw_workbook_free(Out);
    throw;
  }
  lxw_error Error = workbook_close(Out);  // writes the file and frees the workbook
  if (Error != LXW_NO_ERROR)
    throw EAutomationError(Failure(FileName, "écriture du fichier "_a + Temp + " : " + lxw_strerror(Error)));
  if (!OsPort::RenameFile(Temp, FileName, true))
    throw EAutomationError(Failure(FileName, "le fichier ne peut être remplacé : "_a + OsPort::LastErrorMessage()));
  RemoveTemp.Dismiss();
}
