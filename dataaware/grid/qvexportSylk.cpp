// The SYLK writer of the grid export. The text is built whole, since its head
// needs the number of rows and the list of fonts used by the cells.
#include <algorithm>
#include <cmath>

#include "FloatFormat.h"
#include "qvexport.h"

namespace {

const char* const CRLF = "\r\n";

// The fonts of the cells in order of first use; a font's number is its
// position.
class TSylkFonts {
 public:
  int Register(const TqvExportFont& Font) {
    String Record = "P;F" + Font.Name + ";M" + std::to_string(Font.Size * 20);
    String Styles = String(Font.Bold ? "B" : "") + (Font.Italic ? "I" : "") + (Font.Underline ? "U" : "") +
                    (Font.StrikeOut ? "S" : "");
    if (!Styles.empty()) Record += ";S" + Styles;
    auto Found = std::find(FRecords.begin(), FRecords.end(), Record);
    if (Found != FRecords.end()) return int(Found - FRecords.begin());
    FRecords.push_back(Record);
    return int(FRecords.size()) - 1;
  }
  String Records() const {
    String Text;
    for (const String& Record : FRecords) Text += Record + CRLF;
    return Text;
  }

 private:
  std::vector<String> FRecords;
};

char AlignmentLetter(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return 'R';
    case taCenter: return 'C';
    default: return 'L';
  }
}

String DoubleSemicolons(const String& Text) {
  String Result;
  for (char C : Text) {
    Result += C;
    if (C == ';') Result += ';';
  }
  return Result;
}

// The Index-th "~"-separated part of a title (from 0); empty past the last
// part.
String TitlePart(const String& Title, int Index) {
  std::size_t Start = 0;
  for (int I = 0; I < Index; ++I) {
    Start = Title.find('~', Start);
    if (Start == String::npos) return String();
    ++Start;
  }
  return Title.substr(Start, Title.find('~', Start) - Start);
}

String Format(TqvExportFieldKind Kind) {
  switch (Kind) {
    case TqvExportFieldKind::Currency: return "\"$\"#,##0.00_);;[Red]\\(\"$\"#,##0.00\\)";
    case TqvExportFieldKind::Date: return "m/d/yyyy";
    case TqvExportFieldKind::Time: return "h:mm\\ AM/PM";
    case TqvExportFieldKind::DateTime: return "m/d/yyyy\\ h:mm\\ AM/PM";
    default: return "General";
  }
}

bool IsNumeric(TqvExportFieldKind Kind) {
  return Kind == TqvExportFieldKind::Float || Kind == TqvExportFieldKind::Currency ||
         Kind == TqvExportFieldKind::Date || Kind == TqvExportFieldKind::Time || Kind == TqvExportFieldKind::DateTime;
}

// A number with "." as its decimal separator whatever the settings say.
String Number(double Value) {
  String Text = FloatToStr(Value);
  std::replace(Text.begin(), Text.end(), ',', '.');
  return Text;
}

String Quoted(const String& Text) { return "\"" + Text + "\""; }

String ValueRecord(const TqvExportColumn& Column, const String& Display, const TqvExportValue& Value,
                   TqvExportSaveOptions Options) {
  if (Value.Null) return "C;K\"\"\r\n";
  String V = DoubleSemicolons(Display);
  switch (Column.Kind) {
    case TqvExportFieldKind::Integer:
      // A combo's value: its shown text (MapList, esoAddControls) or the number it stores.
      if (Column.Combo) {
        if (Column.ComboMapList && Options.Contains(esoAddControls)) return "C;K" + Quoted(V) + CRLF;
        return "C;K" + std::to_string((long long)std::llround(Value.Number)) + CRLF;
      }
      return "C;K" + V + CRLF;
    case TqvExportFieldKind::Boolean: return "C;K" + Quoted(Value.Number != 0 ? "TRUE" : "FALSE") + CRLF;
    case TqvExportFieldKind::Float:
    case TqvExportFieldKind::Currency:
    case TqvExportFieldKind::DateTime: return "C;K" + Number(Value.Number) + CRLF;
    case TqvExportFieldKind::Date: return "C;K" + std::to_string((long long)std::trunc(Value.Number)) + CRLF;
    case TqvExportFieldKind::Time: return "C;K" + Number(Value.Number - std::trunc(Value.Number)) + CRLF;
    case TqvExportFieldKind::Text: break;
  }
  String Text;
  for (std::size_t I = 0; I < V.size(); ++I) {
    if (V.compare(I, 2, "\r\n") == 0) {
      Text += ' ';
      ++I;
    } else {
      Text += V[I];
    }
  }
  if (Text.size() > 255) Text.resize(255);
  return Text.empty() ? String("C;K\"\"\r\n") : "C;K" + Quoted(Text) + CRLF;
}

}  // namespace

String qvExportSylk(const TqvExportTable& Table, const TqvSylkLayout& Layout, TqvExportSaveOptions Options) {
  bool RecordNo = Options.Contains(esoShowRecordNo);
  bool Header = Options.Contains(esoShowHeader);
  int Lines = std::max(1, Layout.TitleLines);
  TSylkFonts Fonts;
  Fonts.Register(Layout.TitleFont);
  int DataFont = Fonts.Register(Layout.Font);

  String Text = "ID;PHBRK 3000;N;E\r\n";
  std::vector<String> Formats = {"General"};
  std::vector<int> FormatNo;
  for (const TqvExportColumn& Column : Table.Columns) {
    String Wanted = Column.SylkFormat.empty() ? Format(Column.Kind) : Column.SylkFormat;
    auto Found = std::find(Formats.begin(), Formats.end(), Wanted);
    if (Found == Formats.end()) Found = Formats.insert(Formats.end(), Wanted);
    FormatNo.push_back(int(Found - Formats.begin()));
  }
  for (const String& Format : Formats) Text += "P;P" + Format + CRLF;
  Text += "B;Y;X" + std::to_string(Table.Columns.size() + (RecordNo ? 1 : 0)) + CRLF;
  Text += "F;G;M255\r\n";

  int X = 0;
  if (RecordNo) {
    Text += "F;W1 1 10\r\n";
    X = 1;
  }
  for (const TqvExportColumn& Column : Table.Columns) {
    if (!Column.Exported) continue;
    ++X;
    int Width = Options.Contains(esoBestColFit) ? Column.FieldDisplayWidth : Column.DisplayWidth;
    Text += "F;W" + std::to_string(X) + " " + std::to_string(X) + " " + std::to_string(Width) + CRLF;
  }

  const bool Dynamic = Options.Contains(esoDynamicColors);
  if (Header) {
    // Grouped columns: the upper half of the title lines holds the group's name (one "~" part
    // per line) over a cell per exported column of the group, the lower half the columns'
    // titles. Columns outside groups show their title from the first line. With a single title
    // line there is no room for both: the columns keep their titles.
    const int Half = Lines / 2;
    const std::size_t Count = Table.Columns.size();
    for (int T = 0; T < Lines; ++T) {
      String Y = std::to_string(T + 1);
      X = RecordNo ? 1 : 0;
      if (RecordNo) Text += T == 0 ? String("F;SLRTM0;FG0C;Y1;X1\r\nC;K\"#\"\r\n") : "F;SLRBM0;FG0C;Y" + Y + ";X1\r\n";
      for (std::size_t I = 0; I < Count;) {
        const TqvExportColumn& Column = Table.Columns[I];
        if (!Column.Exported) {
          ++I;
          continue;
        }
        // The title's font and alignment, as the grid's title event gives them (esoDynamicColors).
        const bool Styled = Dynamic && Column.HasTitleStyle;
        int TitleFont = Fonts.Register(Styled ? Column.TitleStyle.Font : Layout.TitleFont);
        TAlignment Alignment = Styled ? Column.TitleStyle.Alignment : Layout.TitleAlignment;
        const bool Grouped = Lines > 1 && !Column.GroupName.empty();
        if (Grouped && (T == 0 || T < Half)) {
          std::size_t End = I + 1;
          while (End < Count && Table.Columns[End].GroupName == Column.GroupName) ++End;
          // The group's name over its first exported column, and an empty cell that carries the
          // group's borders over each of its other exported columns.
          String Bottom = T + 1 >= Half ? "B" : "";
          String Name = DoubleSemicolons(TitlePart(Column.GroupName, T));
          Text += (T == 0 ? String("F;SLTM0;FG0C;Y1") : "F;SL" + Bottom + "M0;FG0C;Y" + Y) + ";X" + std::to_string(X + 1) +
                  CRLF + "C;K" + Quoted(Name) + CRLF;
          ++X;
          for (std::size_t J = I + 1; J < End; ++J) {
            if (!Table.Columns[J].Exported) continue;
            Text += (T == 0 ? String("F;STM0;FG0C") : "F;S" + Bottom + "M0;FG0C") + ";X" + std::to_string(X + 1) + CRLF +
                    "C;K\"\"\r\n";
            ++X;
          }
          I = End;
          continue;
        }
        String Part, Borders;
        if (Grouped) {
          Part = TitlePart(Column.Title, T - Half);
          Borders = String(T <= Half ? "T" : "") + (T == Lines - 1 ? "B" : "");
        } else {
          Part = TitlePart(Column.Title, T);
          Borders = String(T == 0 ? "T" : "") + (T + 1 == Lines ? "B" : "");
        }
        Part = DoubleSemicolons(Part);
        Text += "F;SLR" + Borders + "M" + std::to_string(TitleFont) + ";FG0" + AlignmentLetter(Alignment) + ";Y" + Y +
                ";X" + std::to_string(X + 1) + CRLF;
        if (!Part.empty()) Text += "C;K" + Quoted(Part) + CRLF;
        ++X;
        ++I;
      }
    }
  }
  Text += CRLF;

  int Written = 0;
  for (std::size_t R = 0; R < Table.Rows.size(); ++R) {
    int N = ++Written;
    String Y = std::to_string(Header ? N + Lines : N);
    X = 0;
    if (RecordNo) {
      Text += "F;SLRTBM" + std::to_string(DataFont) + ";FG0L;Y" + Y + ";X1\r\nC;K" + std::to_string(N) + CRLF;
      X = 1;
    }
    for (std::size_t C = 0; C < Table.Columns.size(); ++C) {
      const TqvExportColumn& Column = Table.Columns[C];
      if (!Column.Exported) continue;
      ++X;
      // The cell's font as the grid's colour event gives it (esoDynamicColors).
      int CellFont = DataFont;
      if (Dynamic && R < Table.Styles.size() && C < Table.Styles[R].size()) CellFont = Fonts.Register(Table.Styles[R][C].Font);
      String Cell = ";SLTRBM" + std::to_string(CellFont) + ";FG0" + AlignmentLetter(Column.Alignment) + ";Y" + Y +
                    ";X" + std::to_string(X) + CRLF;
      Text += IsNumeric(Column.Kind) ? "F;P" + std::to_string(FormatNo[C]) + Cell : "F" + Cell;
      String Display = C < Table.Rows[R].size() ? Table.Rows[R][C] : String();
      TqvExportValue Value =
          R < Table.Values.size() && C < Table.Values[R].size() ? Table.Values[R][C] : TqvExportValue{};
      Text += ValueRecord(Column, Display, Value, Options);
    }
  }

  Text += "E";
  // The row bound counts every title row, so that a sheet with two-line titles
  // keeps its last record inside the bounds.
  std::size_t Bounds = Text.find("B;Y;");
  Text.replace(Bounds, 4, "B;Y" + std::to_string(Written + (Header ? Lines : 0)) + ";");
  Text.insert(Bounds, Fonts.Records());
  return Text;
}
