// The HTML writer of the grid export.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "qvStrUtils.h"
#include "qvexport.h"

namespace {

const char* const CRLF = "\r\n";

// A colour as six upper-case hexadecimal digits, red first.
String Hex(unsigned Color) {
  char Text[8];
  std::snprintf(Text, sizeof Text, "%2.2X%2.2X%2.2X", Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
  return Text;
}

String FontStyle(const TqvExportFont& Font) {
  return "STYLE=\"font-family: " + qvHtmlEscape(Font.Name) + ";font-size: " + std::to_string(Font.Size) +
         " pt;color:#" + Hex(Font.Color) + ";\"";
}

String Styled(String Text, const TqvExportFont& Font) {
  if (Font.Italic) Text = "<I>" + Text + "</I>";
  if (Font.Bold) Text = "<B>" + Text + "</B>";
  if (Font.Underline) Text = "<U>" + Text + "</U>";
  if (Font.StrikeOut) Text = "<STRIKE>" + Text + "</STRIKE>";
  return Text;
}

const char* AlignmentWord(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return "right";
    case taCenter: return "center";
    default: return "left";
  }
}

// Escaped text with each line break (CRLF or a lone LF) as a line-break tag.
String WithBreaks(const String& Text) {
  String Escaped = qvHtmlEscape(Text), Result;
  for (std::size_t I = 0; I < Escaped.size(); ++I) {
    if (Escaped.compare(I, 2, "\r\n") == 0) {
      Result += "<BR>";
      ++I;
    } else if (Escaped[I] == '\n') {
      Result += "<BR>";
    } else {
      Result += Escaped[I];
    }
  }
  return Result;
}

// The display text without the blanks and control characters at its end.
String TrimRight(String Text) {
  while (!Text.empty() && static_cast<unsigned char>(Text.back()) <= ' ') Text.pop_back();
  return Text;
}

bool SameLook(const TqvExportFont& A, const TqvExportFont& B) {
  return A.Name == B.Name && A.Size == B.Size && A.Color == B.Color;
}

// A column's title with each "~" as a line-break tag.
String TitleLines(const String& Title) {
  String Lines;
  for (char C : qvHtmlEscape(Title)) Lines += C == '~' ? String("<BR>") : String(1, C);
  return Lines;
}

}  // namespace

String qvExportLinkAddress(const String& Display, const String& Address) {
  String Upper = Address;
  for (char& C : Upper) C = char(std::toupper(static_cast<unsigned char>(C)));
  std::size_t Colon = Address.find(':');
  bool Scheme = Colon != String::npos && Colon > 0 &&
                std::all_of(Address.begin(), Address.begin() + std::ptrdiff_t(Colon), [](char C) {
                  return std::isalpha(static_cast<unsigned char>(C)) || C == '+' || C == '-' || C == '.';
                });
  if (Scheme) {
    String Name = Upper.substr(0, Colon);
    return Name == "HTTP" || Name == "HTTPS" || Name == "MAILTO" ? Address : String();
  }
  std::size_t At = Address.find('@');
  bool Mail = At != String::npos && At > 0 && Address.find('.', At) != String::npos;
  if (Mail && qvSameText(Display, Address)) return "MailTo:" + Address;
  return Address;
}

String qvExportHtml(const TqvExportTable& Table, const TqvHtmlLayout& Layout, TqvExportSaveOptions Options) {
  bool RecordNo = Options.Contains(esoShowRecordNo);
  String Html = "<HTML>\r\n<HEAD>\r\n" + qvHtmlCharsetMeta() + CRLF + "<TITLE>" + qvHtmlEscape(Layout.FileName) +
                "</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
  Html += "<TABLE ALIGN=Center BORDER=\"" + std::to_string(Layout.BorderWidth) +
          "\" CELLPADDING=\"1\" CELLSPACING=\"0\"" + (Layout.RightToLeft ? " dir=\"RTL\"" : " dir=\"LTR\"") +
          (Options.Contains(esoTransparentGrid) ? String(">") : " BGCOLOR=#" + Hex(Layout.Color) + ">") +
          "\r\n<THEAD>\r\n";
  if (Options.Contains(esoShowHeader)) {
    if (Options.Contains(esoShowTitle)) {
      Html += "<TR " + FontStyle(Layout.TitleFont) + " BGCOLOR=#" + Hex(Layout.TitleColor) + ">\r\n<TH colspan=\"" +
              std::to_string(Table.Columns.size() + (RecordNo ? 1 : 0)) + "\" scope=\"colgroup\">" +
              qvHtmlEscape(Layout.TitleName) + "</TH>\r\n</TR>\r\n";
    }
    // Pass 0: the group headers and the titles of the columns outside groups (on both rows);
    // pass 1, when a group was written: the titles of the grouped columns.
    bool Groups = false;
    const std::size_t Count = Table.Columns.size();
    for (int Pass = 0; Pass < 2 && (Pass == 0 || Groups); ++Pass) {
      Html += "<TR " + FontStyle(Layout.TitleFont) + " ALIGN=" + AlignmentWord(Layout.TitleAlignment) + ">\r\n";
      if (Pass == 0 && RecordNo) {
        Html += "<TD ALIGN=\"CENTER\" " + FontStyle(Layout.TitleFont) + " SCOPE=\"col\" bgcolor=#" +
                Hex(Layout.TitleColor) + " RowSpan=\"2\">" + Styled("#", Layout.TitleFont) + "</TD>\r\n";
      }
      for (std::size_t I = 0; I < Count;) {
        const TqvExportColumn& Column = Table.Columns[I];
        if (!Column.Exported) {
          ++I;
          continue;
        }
        TqvExportCellStyle Style{Layout.TitleFont, Layout.TitleColor, Layout.TitleAlignment};
        if (Options.Contains(esoDynamicColors) && Column.HasTitleStyle) Style = Column.TitleStyle;
        String Font = SameLook(Style.Font, Layout.TitleFont) ? String() : " " + FontStyle(Style.Font);
        if (Column.GroupName.empty()) {
          if (Pass == 0) {
            Html += "<TD" + Font + " ALIGN=\"" + AlignmentWord(Style.Alignment) + "\" SCOPE=\"col\" bgcolor=#" +
                    Hex(Style.Color) + " RowSpan=\"2\">" + Styled(TitleLines(Column.Title), Style.Font) + "</TD>\r\n";
          }
          ++I;
          continue;
        }
        std::size_t End = I + 1;
        while (End < Count && Table.Columns[End].GroupName == Column.GroupName) ++End;
        if (Pass == 1) {
          Html += "<TD" + Font + " ALIGN=\"" + AlignmentWord(Style.Alignment) + "\" SCOPE=\"col\" bgcolor=#" +
                  Hex(Style.Color) + " >" + Styled(TitleLines(Column.Title), Style.Font) + "</TD>\r\n";
          ++I;
          continue;
        }
        int Exported = int(std::count_if(Table.Columns.begin() + std::ptrdiff_t(I), Table.Columns.begin() + std::ptrdiff_t(End),
                                         [](const TqvExportColumn& C) { return C.Exported; }));
        Html += "<TD" + Font + " SCOPE=\"col\" bgcolor=#" + Hex(Style.Color) + " ALIGN=CENTER ColSpan=\"" +
                std::to_string(Exported) + "\">" + Styled(qvHtmlEscape(Column.GroupName), Style.Font) + "</TD>\r\n";
        Groups = true;
        I = End;
      }
      Html += "</TR>\r\n";
    }
    if (!Groups) Html += "<TR></TR>\r\n";
  }
  Html += "</THEAD>\r\n";
  int Span = int(Table.Columns.size()) + (RecordNo ? 1 : 0);
  if (Options.Contains(esoShowFooter) && Layout.ShowFooter) {
    Html += "<TFOOT " + FontStyle(Layout.TitleFont) + " BGCOLOR=#" + Hex(Layout.FooterColor) + ">\r\n<TR>\r\n";
    if (RecordNo) Html += "<TD>&nbsp;</TD>\r\n";
    for (const TqvExportColumn& Column : Table.Columns) {
      if (!Column.Exported) continue;
      if (Column.FooterValue.empty()) {
        Html += "<TD>&nbsp;</TD>\r\n";
        continue;
      }
      Html += String("<TD ALIGN=") + AlignmentWord(Column.Alignment) + " " + FontStyle(Layout.Font) + " BGCOLOR=#" +
              Hex(Layout.FooterCellColor) + ">" + qvHtmlEscape(Column.FooterValue) + "</TD>\r\n";
    }
    Html += "</TR>\r\n</TFOOT>\r\n";
  }
  Html += "<TBODY>\r\n";
  if (Layout.NoneSelected && Table.Rows.empty()) {
    Html += "<TR BGCOLOR=#" + Hex(Layout.TitleColor) + "><TH colspan=" + std::to_string(Span) +
            " scope=colgroup>No Records Selected</TH></TR>\r\n";
  }

  double Factor = 1;
  if (Layout.OutputWidthinTwips != 0) {
    int W = 0;
    for (const TqvExportColumn& Column : Table.Columns)
      if (Column.Exported) W += Column.PixelWidth + 5;
    double Twips = double(W) / std::max(Layout.PixelsPerInch, 1) * 1440;
    if (Twips > 0) Factor = Layout.OutputWidthinTwips / Twips;
  }
  int N = 0;
  for (const std::vector<String>& Row : Table.Rows) {
    const std::vector<String>* Addresses = std::size_t(N) < Table.Addresses.size() ? &Table.Addresses[std::size_t(N)] : nullptr;
    const std::vector<TqvExportCellStyle>* Styles =
        Options.Contains(esoDynamicColors) && std::size_t(N) < Table.Styles.size() ? &Table.Styles[std::size_t(N)] : nullptr;
    ++N;
    Html += "<TR VALIGN=\"TOP\" " + FontStyle(Layout.Font) + ">\r\n";
    if (RecordNo) {
      Html += "<TD WIDTH=\"0*\" NOWRAP ALIGN=\"right\" scope=\"row\" " + FontStyle(Layout.TitleFont) + " BGCOLOR=#" +
              Hex(Layout.TitleColor) + ">" + std::to_string(N) + "</TD>\r\n";
    }
    unsigned Color = Options.Contains(esoShowAlternating) && N % 2 == 0 ? Layout.AlternatingRowColor : Layout.Color;
    for (std::size_t C = 0; C < Table.Columns.size(); ++C) {
      const TqvExportColumn& Column = Table.Columns[C];
      if (!Column.Exported) continue;
      String Text = TrimRight(C < Row.size() ? Row[C] : String());
      String V = WithBreaks(Text);
      if (Column.CheckBox && Options.Contains(esoAddControls)) {
        V = qvSameText(Text, Column.CheckedValue) ? "<input align=\"middle\" type=\"checkbox\" checked >"
                                                  : "<INPUT ALIGN=\"middle\" TYPE=\"checkbox\" >";
      }
      if (Column.Combo && Options.Contains(esoAddControls)) {
        V = "<Select Name=\"qvCombo" + std::to_string(N) + "\">\r\n";
        for (const auto& Choice : Column.ComboChoices) {
          V += "<Option Value=\"" + qvHtmlEscape(Choice.second) + "\"" + (qvSameText(Text, Choice.first) ? " selected" : "") +
               ">" + qvHtmlEscape(Choice.first) + "\r\n";
        }
        V += "</Select>\r\n";
      }
      if (V.empty()) V = "&nbsp;";
      if (Column.Link && Options.Contains(esoEmbedURL) && Addresses != nullptr && C < Addresses->size()) {
        String Address = qvExportLinkAddress(Text, (*Addresses)[C]);
        if (!Address.empty()) V = "<A href=\"" + qvHtmlEscape(Address) + "\">" + V + "</A>";
      }
      TqvExportFont Font = Layout.Font;
      unsigned CellColor = Color;
      if (Styles != nullptr && C < Styles->size()) {
        Font = (*Styles)[C].Font;
        CellColor = (*Styles)[C].Color;
      }
      Html += String("<TD NOWRAP ALIGN=\"") + AlignmentWord(Column.Alignment) + "\"";
      if (!SameLook(Font, Layout.Font)) Html += " " + FontStyle(Font);
      if (CellColor != Layout.Color) Html += " BGCOLOR=#" + Hex(CellColor);
      Html += Options.Contains(esoBestColFit) ? String(" WIDTH=\"0*\" SCOPE=\"row\">")
                                              : " WIDTH=\"" + std::to_string(int(Column.PixelWidth * Factor)) + "\" SCOPE=\"row\">";
      Html += Styled(V, Font) + "</TD>\r\n";
    }
    Html += "</TR>\r\n";
  }
  // The table closes inside the body.
  return Html + "</TBODY>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n";
}
