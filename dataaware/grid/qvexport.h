// The grid export's writers: delimited and fixed-width text and the escaping of
// HTML text, over a table of exported columns and the display texts of the
// records, and the replacing of a target file in one step once the whole export
// has been written.
#pragma once

#include <utility>
#include <vector>

#include "AnsiString.h"
#include "Component.h"
#include "TypInfo.h"

enum TqvGridExportType { qvgetTxt, qvgetHTML, qvgetSYLK, qvgetXML };
VELBOR_ENUM(TqvGridExportType, "qvgetTxt", "qvgetHTML", "qvgetSYLK", "qvgetXML")

enum TqvExportSaveOption {
  esoShowHeader,
  esoShowFooter,
  esoDynamicColors,
  esoShowTitle,
  esoDblQuoteFields,
  esoSaveSelectedOnly,
  esoAddControls,
  esoBestColFit,
  esoShowRecordNo,
  esoEmbedURL,
  esoShowAlternating,
  esoTransparentGrid,
  esoClipboard
};
VELBOR_ENUM(TqvExportSaveOption, "esoShowHeader", "esoShowFooter", "esoDynamicColors", "esoShowTitle",
            "esoDblQuoteFields", "esoSaveSelectedOnly", "esoAddControls", "esoBestColFit", "esoShowRecordNo",
            "esoEmbedURL", "esoShowAlternating", "esoTransparentGrid", "esoClipboard")
using TqvExportSaveOptions = TSet<TqvExportSaveOption>;

inline constexpr TqvExportSaveOptions qvDefaultExportSaveOptions{esoShowHeader, esoShowTitle, esoDblQuoteFields,
                                                                 esoShowAlternating};

// The kind of value a column's field holds, as the spreadsheet format types its
// cells.
enum class TqvExportFieldKind { Text, Integer, Boolean, Float, Currency, Date, Time, DateTime };

// A font as the export describes it.
struct TqvExportFont {
  String Name;
  int Size = 8;
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  unsigned Color = 0;  // 0x00BBGGRR
};

// The font, colour (0x00BBGGRR) and alignment the grid's colour events give a title or a cell
// (esoDynamicColors).
struct TqvExportCellStyle {
  TqvExportFont Font;
  unsigned Color = 0xFFFFFF;
  TAlignment Alignment = taLeftJustify;
};

// One column of the grid as the export sees it. Titles of several lines join
// them with "~".
struct TqvExportColumn {
  String Title;
  int DisplayWidth = 0;  // in characters
  TAlignment Alignment = taLeftJustify;
  bool Exported = true;
  TqvExportFieldKind Kind = TqvExportFieldKind::Text;
  int FieldDisplayWidth = 0;  // the field's own display width, used with esoBestColFit
  int PixelWidth = 0;         // the column's width on the screen
  String SylkFormat{};        // the spreadsheet's number format; empty: the one of Kind
  // A check-box cell ("CheckBox" control line): ticked when the value is CheckedValue (in any
  // case). HTML shows it as a check box with esoAddControls.
  bool CheckBox = false;
  String CheckedValue{};
  String FooterValue{};       // the value the grid's footer shows under the column
  // The group header over the column: neighbouring columns of one group name share it.
  String GroupName{};
  // A link cell ("URL-Link" control line): with esoEmbedURL, HTML makes it a link to the
  // record's address (TqvExportTable::Addresses).
  bool Link = false;
  // A combo column (a combo box with stored values over its cells): its choices as shown text
  // and stored value. HTML lists them with esoAddControls; SYLK writes the shown text of an
  // integer value with MapList and esoAddControls, else the stored number.
  bool Combo = false;
  bool ComboMapList = false;
  std::vector<std::pair<String, String>> ComboChoices{};
  // The title's style from the grid's title event (esoDynamicColors); unset: the grid's.
  bool HasTitleStyle = false;
  TqvExportCellStyle TitleStyle{};
};

// What the spreadsheet format needs of a value beyond its display text: whether
// the field is null, and the number behind numeric, Boolean (0 or 1) and date
// and time values (days since 30 December 1899).
struct TqvExportValue {
  bool Null = false;
  double Number = 0;
};

// The columns and, per record, the display text of every column (exported or
// not); Values, when given for a record, holds its typed values in the same
// order.
// Addresses, when given for a record, holds the link address of each link
// column; Styles, when given for a record, the style of each of its cells.
struct TqvExportTable {
  std::vector<TqvExportColumn> Columns;
  std::vector<std::vector<String>> Rows;
  std::vector<std::vector<TqvExportValue>> Values;
  std::vector<std::vector<String>> Addresses;
  std::vector<std::vector<TqvExportCellStyle>> Styles;
};

// What the spreadsheet writer reads of the grid besides the table.
struct TqvSylkLayout {
  TqvExportFont TitleFont, Font;
  TAlignment TitleAlignment = taLeftJustify;
  int TitleLines = 1;
};

// The whole export of the table in the SYLK spreadsheet format: number formats,
// fonts, sheet bounds, column widths, title cells (esoShowHeader, one row per
// title line) and one row of typed cells per record, titles and cells in the
// fonts the grid's events gave them (esoDynamicColors). The sheet's row bound
// counts every title row.
String qvExportSylk(const TqvExportTable& Table, const TqvSylkLayout& Layout, TqvExportSaveOptions Options);

// A value as the text export writes it. With Quote, a non-empty value is put
// between double quotes and its quotes are doubled; an empty value stays empty,
// except in fixed-width text (no delimiter) where it is written "". Without
// Quote a delimited value is quoted only when it must be (it holds the
// delimiter, a quote or a line break), so that a reader gets the value back
// unchanged.
String qvQuoteExportField(const String& Text, const String& Delimiter, bool Quote);

// The title line and a record line of the text format: delimited when Delimiter
// is not empty, fixed-width columns otherwise. RecordNo counts from 1. Each
// line ends with CRLF.
String qvExportTextHeader(const TqvExportTable& Table, const String& Delimiter, TqvExportSaveOptions Options);
String qvExportTextRecord(const TqvExportTable& Table, int RecordNo, const std::vector<String>& Row,
                          const String& Delimiter, TqvExportSaveOptions Options);
// The whole text export of the table: the title line with esoShowHeader, then
// every record.
String qvExportText(const TqvExportTable& Table, const String& Delimiter, TqvExportSaveOptions Options);

// Text for an HTML document: "&", "<", ">" and both quotes as character
// references.
String qvHtmlEscape(const String& Text);
// The declaration of the code page the HTML export is written in
// (windows-1252).
String qvHtmlCharsetMeta();

// Writes Content to a temporary file beside Path, then replaces Path with it in
// one step; an existing Path stays as it was when anything fails. False with
// Error set on failure.
bool qvWriteFileReplacing(const String& Path, const String& Content, String& Error);

// What the HTML writer reads of the grid besides the table. Colours are
// 0x00BBGGRR.
struct TqvHtmlLayout {
  TqvExportFont TitleFont, Font;
  unsigned TitleColor = 0xC0C0C0, Color = 0xFFFFFF, AlternatingRowColor = 0xFFFFFF;
  TAlignment TitleAlignment = taLeftJustify;
  bool RightToLeft = false;
  String FileName, TitleName;
  int BorderWidth = 1;
  // The grid shows its footer (esoShowFooter exports it), in these colours.
  bool ShowFooter = false;
  unsigned FooterColor = 0xC0C0C0, FooterCellColor = 0xC0C0C0;
  // Only selected records are exported (esoSaveSelectedOnly) and none is selected: the table says
  // so.
  bool NoneSelected = false;
  // When not 0, the exported columns' widths are scaled to measure this many twips together
  // (each column counted 5 pixels wider), at the screen's pixels per inch.
  int OutputWidthinTwips = 0;
  int PixelsPerInch = 96;
};

// The address a link cell points to in the HTML export: a bare mail address
// (the cell's text, holding "@" after its first character and a point after the
// "@") gets "MailTo:" in front; empty when the address has a scheme other than
// http, https and mailto.
String qvExportLinkAddress(const String& Display, const String& Address);

// The whole export of the table as an HTML document in code page 1252, which it
// declares: the title row (esoShowTitle), the column titles (esoShowHeader) under
// the headers of their groups, the footer (esoShowFooter, when the grid shows
// one), then a row per record, alternate records in the alternating colour
// (esoShowAlternating), check-box cells as check boxes (esoAddControls), link
// cells as links (esoEmbedURL), titles and cells in the styles the grid's events
// gave them (esoDynamicColors). Every text is escaped.
String qvExportHtml(const TqvExportTable& Table, const TqvHtmlLayout& Layout, TqvExportSaveOptions Options);

// How a table is exported besides its options: the text delimiter and what the HTML and SYLK
// writers read of the grid.
struct TqvExportFormat {
  String Delimiter = ",";
  TqvHtmlLayout Html;
  TqvSylkLayout Sylk;
};

// The export of the table in the given format, written to Path through qvWriteFileReplacing. False
// with Error set when the format has no writer (qvgetXML) or the file cannot be written; Path is
// then left as it was.
bool qvSaveExportTable(const String& Path, TqvGridExportType Type, const TqvExportTable& Table,
                       const TqvExportFormat& Format, TqvExportSaveOptions Options, String& Error);
