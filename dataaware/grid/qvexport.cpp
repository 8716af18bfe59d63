// The text writers of the grid export and the replacing of the target file.
#include "qvexport.h"

#include <algorithm>

#include "OsPort.h"

namespace {

const char* const CRLF = "\r\n";

String TitleText(const String& Title) {
  String Text = Title;
  std::replace(Text.begin(), Text.end(), '~', ' ');
  return Text;
}

// Text padded with blanks to Width: on the left unless the alignment is
// left-justified. Longer texts are not cut.
String Pad(const String& Text, int Width, TAlignment Alignment) {
  if (int(Text.size()) >= Width) return Text;
  String Blanks(std::size_t(Width) - Text.size(), ' ');
  return Alignment == taLeftJustify ? Text + Blanks : Blanks + Text;
}

// The index of the last column: a delimiter follows every value but the one of
// this column.
// The last exported column: no separator follows it, so that a line has as many values as there
// are exported columns (a column left out at the end leaves no empty value behind).
int LastColumn(const TqvExportTable& Table) {
  for (int I = int(Table.Columns.size()) - 1; I >= 0; --I)
    if (Table.Columns[std::size_t(I)].Exported) return I;
  return -1;
}

}  // namespace

String qvQuoteExportField(const String& Text, const String& Delimiter, bool Quote) {
  if (Text.empty()) return Quote && Delimiter.empty() ? String("\"\"") : String();
  // Fixed-width text has no reader to keep values apart: only delimited values
  // need quoting.
  bool Needed =
      !Delimiter.empty() && (Text.find_first_of("\"\r\n") != String::npos || Text.find(Delimiter) != String::npos);
  if (!Quote && !Needed) return Text;
  String Result = "\"";
  for (char C : Text) {
    if (C == '"') Result += '"';
    Result += C;
  }
  return Result + '"';
}

String qvExportTextHeader(const TqvExportTable& Table, const String& Delimiter, TqvExportSaveOptions Options) {
  bool Quote = Options.Contains(esoDblQuoteFields);
  int Q = Quote ? 2 : 0;
  String Line;
  if (Options.Contains(esoShowRecordNo))
    Line +=
        Delimiter.empty() ? Pad("#", 8, taRightJustify) + " " : qvQuoteExportField("#", Delimiter, Quote) + Delimiter;
  for (int I = 0; I <= LastColumn(Table); ++I) {
    const TqvExportColumn& Column = Table.Columns[std::size_t(I)];
    if (!Column.Exported) continue;
    String Value = qvQuoteExportField(TitleText(Column.Title), Delimiter, Quote);
    if (Delimiter.empty()) Value = Pad(Value, Column.DisplayWidth + Q, Column.Alignment);
    Line += Value;
    if (I != LastColumn(Table)) Line += Delimiter.empty() ? String(" ") : Delimiter;
  }
  return Line + CRLF;
}

String qvExportTextRecord(const TqvExportTable& Table, int RecordNo, const std::vector<String>& Row,
                          const String& Delimiter, TqvExportSaveOptions Options) {
  bool Quote = Options.Contains(esoDblQuoteFields);
  int Q = Quote ? 2 : 0;
  String Line;
  if (Options.Contains(esoShowRecordNo)) {
    String No = qvQuoteExportField(std::to_string(RecordNo), Delimiter, Quote);
    Line += Delimiter.empty() ? Pad(No, 8, taRightJustify) + " " : No + Delimiter;
  }
  for (int I = 0; I <= LastColumn(Table); ++I) {
    const TqvExportColumn& Column = Table.Columns[std::size_t(I)];
    if (!Column.Exported) continue;
    String Text = std::size_t(I) < Row.size() ? Row[std::size_t(I)] : String();
    String Value = qvQuoteExportField(Text, Delimiter, Quote);
    if (Delimiter.empty()) {
      int Width = std::max(int(TitleText(Column.Title).size()) + Q, Column.DisplayWidth + Q);
      Value = Pad(Value, Width, Column.Alignment);
    }
    Line += Value;
    if (I != LastColumn(Table)) Line += Delimiter.empty() ? String(" ") : Delimiter;
  }
  return Line + CRLF;
}

String qvExportText(const TqvExportTable& Table, const String& Delimiter, TqvExportSaveOptions Options) {
  String Text;
  if (Options.Contains(esoShowHeader)) Text += qvExportTextHeader(Table, Delimiter, Options);
  int No = 0;
  for (const std::vector<String>& Row : Table.Rows) Text += qvExportTextRecord(Table, ++No, Row, Delimiter, Options);
  return Text;
}

String qvHtmlEscape(const String& Text) {
  String Result;
  Result.reserve(Text.size());
  for (char C : Text) {
    switch (C) {
      case '&': Result += "&amp;"; break;
      case '<': Result += "&lt;"; break;
      case '>': Result += "&gt;"; break;
      case '"': Result += "&quot;"; break;
      case '\'': Result += "&#39;"; break;
      default: Result += C;
    }
  }
  return Result;
}

String qvHtmlCharsetMeta() {
  return "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
         "charset=windows-1252\">";
}

bool qvWriteFileReplacing(const String& Path, const String& Content, String& Error) {
  String Temporary = Path + ".~tmp";
  OsPort::FileHandle File = OsPort::CreateFile(Temporary);
  if (File == OsPort::InvalidHandle) {
    Error = OsPort::LastErrorMessage();
    return false;
  }
  bool Written = OsPort::WriteFile(File, Content.data(), std::int64_t(Content.size())) == std::int64_t(Content.size());
  if (!Written) Error = OsPort::LastErrorMessage();
  OsPort::CloseFile(File);
  if (Written && OsPort::RenameFile(Temporary, Path, true)) return true;
  if (Written) Error = OsPort::LastErrorMessage();
  OsPort::DeleteFile(Temporary);
  return false;
}

bool qvSaveExportTable(const String& Path, TqvGridExportType Type, const TqvExportTable& Table,
                       const TqvExportFormat& Format, TqvExportSaveOptions Options, String& Error) {
  String Content;
  switch (Type) {
    case qvgetTxt: Content = qvExportText(Table, Format.Delimiter, Options); break;
    case qvgetHTML: Content = qvExportHtml(Table, Format.Html, Options); break;
    case qvgetSYLK: Content = qvExportSylk(Table, Format.Sylk, Options); break;
    case qvgetXML: Error = "The XML export format has no writer."; return false;
  }
  return qvWriteFileReplacing(Path, Content, Error);
}
