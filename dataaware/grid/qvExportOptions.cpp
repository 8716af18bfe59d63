// This file implements TqvExportOptions (see qvExportOptions.h): the table of the grid's columns
// and records, and where the export goes.
#include "qvExportOptions.h"

#include <cstdio>

#include "Clipbrd.h"
#include "Field.h"
#include "FileUtils.h"
#include "Forms.h"
#include "Qvdbgrid.h"
#include "ScopeGuard.h"
#include "qvStrUtils.h"

const char* const qvExportNoDataSet = "The grid has no open dataset to export.";

namespace {

TqvExportFieldKind KindOf(TField* Field) {
  switch (Field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftAutoInc: return TqvExportFieldKind::Integer;
    case ftBoolean: return TqvExportFieldKind::Boolean;
    case ftFloat: return TqvExportFieldKind::Float;
    case ftCurrency:
    case ftBCD: return TqvExportFieldKind::Currency;
    case ftDate: return TqvExportFieldKind::Date;
    case ftTime: return TqvExportFieldKind::Time;
    case ftDateTime: return TqvExportFieldKind::DateTime;
    default: return TqvExportFieldKind::Text;
  }
}

TqvExportValue ValueOf(TField* Field, TqvExportFieldKind Kind) {
  TqvExportValue Value;
  Value.Null = Field->IsNull();
  if (Value.Null) return Value;
  switch (Kind) {
    case TqvExportFieldKind::Text: break;
    case TqvExportFieldKind::Boolean: Value.Number = Field->AsBoolean() ? 1 : 0; break;
    case TqvExportFieldKind::Date:
    case TqvExportFieldKind::Time:
    case TqvExportFieldKind::DateTime: Value.Number = Field->AsDateTime(); break;
    default: Value.Number = Field->AsFloat(); break;
  }
  return Value;
}

TqvExportFont FontOf(TFont* Font) {
  TqvExportFont Result;
  Result.Name = Font->Name();
  Result.Size = Font->Size();
  TFontStyles Style = Font->Style();
  Result.Bold = Style.Contains(fsBold);
  Result.Italic = Style.Contains(fsItalic);
  Result.Underline = Style.Contains(fsUnderline);
  Result.StrikeOut = Style.Contains(fsStrikeOut);
  Result.Color = unsigned(ColorToRGB(Font->Color()));
  return Result;
}

// The clipboard's HTML format: a header of byte offsets before the document, the table marked
// as the fragment.
String HtmlClipboardText(const String& Html) {
  const char* Header = "Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010d\r\nStartFragment:%010d\r\nEndFragment:%010d\r\n";
  char Probe[160];
  int HeaderSize = std::snprintf(Probe, sizeof Probe, Header, 0, 0, 0, 0);
  String Body = Html;
  std::size_t TableStart = Body.find("<TABLE");
  std::size_t TableEnd = Body.rfind("</TABLE>");
  if (TableStart == String::npos || TableEnd == String::npos) {
    TableStart = 0;
    TableEnd = Body.size();
  } else {
    TableEnd += 8;
  }
  Body.insert(TableEnd, "<!--EndFragment-->");
  Body.insert(TableStart, "<!--StartFragment-->");
  int StartFragment = HeaderSize + int(TableStart) + 20;
  int EndFragment = HeaderSize + int(TableEnd) + 20;
  char Filled[160];
  std::snprintf(Filled, sizeof Filled, Header, HeaderSize, HeaderSize + int(Body.size()), StartFragment, EndFragment);
  return String(Filled) + Body;
}

}  // namespace

VELBOR_IMPLEMENT_CLASS(TqvExportOptions)
VELBOR_PUBLISHED(TqvExportOptions,
  Prop("FileName", &Self::FileName, &Self::SetFileName),
  Prop("ExportType", &Self::ExportType).Default(qvgetTxt),
  Prop("Delimiter", &Self::Delimiter, &Self::SetDelimiter).Stored(&Self::IsDelimiterStored),
  Prop("Options", &Self::Options).Default(qvDefaultExportSaveOptions),
  Prop("TitleName", &Self::TitleName),
  Prop("OutputWidthinTwips", &Self::OutputWidthinTwips).Default(0),
  Prop("HTMLBorderWidth", &Self::HTMLBorderWidth).Default(1))

TqvExportOptions::TqvExportOptions(TqvDBGrid* Grid) : FGrid(Grid) {}

String TqvExportOptions::FileName() const {
  if (!FFileName.empty()) return FFileName;
  if (FGrid != nullptr && FGrid->ComponentState().Contains(csDesigning)) return String();
  return qvExtractFileBaseName(ExtractFileName(ParamStr(0))) + ".txt";
}

String TqvExportOptions::QuoteField(const String& Text) {
  return qvQuoteExportField(Text, ExportType == qvgetTxt ? FDelimiter : String(","), Options.Contains(esoDblQuoteFields));
}

void TqvExportOptions::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TqvExportOptions*>(Source)) {
    FFileName = Other->FFileName;
    ExportType = Other->ExportType;
    FDelimiter = Other->FDelimiter;
    Options = Other->Options;
    TitleName = Other->TitleName;
    OutputWidthinTwips = Other->OutputWidthinTwips;
    HTMLBorderWidth = Other->HTMLBorderWidth;
    return;
  }
  TPersistent::Assign(Source);
}

TqvExportTable TqvExportOptions::BuildTable() {
  TqvExportTable Table;
  TqvDBGrid* Grid = FGrid;
  TDataSet* Set = Grid != nullptr && Grid->DataLink()->Active() ? Grid->DataLink()->DataSet() : nullptr;
  if (Set == nullptr) return Table;
  int Count = Grid->GetFieldCount();
  std::vector<TField*> Fields;
  for (int i = 0; i < Count; ++i) {
    TField* Field = Grid->GetFields(i);
    Fields.push_back(Field);
    TqvExportColumn Column;
    TqvColumn* Info = Grid->GetColumn(i);
    Column.Title = Info->DisplayLabel();
    Column.DisplayWidth = Info->DisplayWidth();
    if (Field != nullptr) {
      Column.Alignment = Field->Alignment();
      Column.Kind = KindOf(Field);
      Column.FieldDisplayWidth = Field->DisplayWidth();
      Grid->DoExportField(Field, Column.Exported);
      Grid->DoExportSYLKFormat(Field, Column.SylkFormat);
    }
    Column.PixelWidth = Grid->ColWidths(i + Grid->IndicatorOffset());
    String Unchecked;
    Column.CheckBox = Grid->GetCheckBoxValues(i + Grid->IndicatorOffset(), Grid->TitleRowCount(), Column.CheckedValue,
                                              Unchecked);
    Column.FooterValue = Info->FooterValue();
    Column.GroupName = Info->GroupName();
    if (Field != nullptr) {
      String Kind, Params;
      Grid->GetControlType(Field->FieldName(), Kind, Params);
      Column.Link = Kind == "URL-Link";
      Column.Combo = Grid->GetComboChoices(i, Column.ComboMapList, Column.ComboChoices);
      if (Options.Contains(esoDynamicColors)) {
        // The title as the grid's title event would draw it.
        TFont Font;
        Font.Assign(Grid->TitleFont());
        TBrush Brush;
        Brush.SetColor(Grid->TitleColor());
        TAlignment Alignment = Grid->TitleAlignment();
        if (Grid->OnCalcTitleAttributes) Grid->OnCalcTitleAttributes(Grid, Field->FieldName(), &Font, &Brush, Alignment);
        Column.HasTitleStyle = true;
        Column.TitleStyle = {FontOf(&Font), unsigned(ColorToRGB(Brush.Color())), Alignment};
      }
    }
    Table.Columns.push_back(Column);
  }
  const bool Dynamic = Options.Contains(esoDynamicColors);
  TColor Alternating = Grid->PaintOptions()->AlternatingRowColor();
  if (Alternating == clNone) Alternating = Grid->Color();
  auto AddRecord = [&] {
    std::vector<String> Row, Addresses;
    std::vector<TqvExportValue> Values;
    std::vector<TqvExportCellStyle> Styles;
    // Records count from 1: the even ones take the alternating colour.
    const bool Even = (Table.Rows.size() + 1) % 2 == 0 && Options.Contains(esoShowAlternating);
    for (int i = 0; i < Count; ++i) {
      Row.push_back(Grid->GetFieldDisplayText(i));
      TField* Field = Fields[std::size_t(i)];
      const TqvExportColumn& Column = Table.Columns[std::size_t(i)];
      Values.push_back(Field != nullptr ? ValueOf(Field, Column.Kind) : TqvExportValue{true, 0});
      String Display, Address;
      if (Column.Link && Field != nullptr) Grid->SplitURLLink(Field->AsString(), Display, Address);
      Addresses.push_back(Address);
      if (Dynamic) {
        // The cell as the grid's colour event would draw it.
        TFont Font;
        Font.Assign(Grid->Font());
        TBrush Brush;
        Brush.SetColor(Even ? Alternating : Grid->Color());
        if (Field != nullptr) Grid->DoCalcCellColors(Field, TGridDrawState{}, &Brush, &Font, false);
        Styles.push_back({FontOf(&Font), unsigned(ColorToRGB(Brush.Color())), Column.Alignment});
      }
    }
    Table.Rows.push_back(std::move(Row));
    Table.Values.push_back(std::move(Values));
    Table.Addresses.push_back(std::move(Addresses));
    if (Dynamic) Table.Styles.push_back(std::move(Styles));
  };
  // The records are read without processing messages: nothing can free the grid meanwhile.
  if (Options.Contains(esoSaveSelectedOnly)) {
    Grid->SortSelectedBookmarks();
    for (const TBookmark& Bookmark : Grid->SelectedBookmarks()) {
      if (!Set->BookmarkValid(Bookmark)) continue;
      Set->GotoBookmark(Bookmark);
      AddRecord();
    }
  } else {
    Set->First();
    while (!Set->Eof()) {
      AddRecord();
      Set->Next();
    }
  }
  return Table;
}

TqvExportFormat TqvExportOptions::MakeFormat() {
  TqvExportFormat Format;
  Format.Delimiter = FDelimiter;
  TqvDBGrid* Grid = FGrid;
  Format.Html.TitleFont = FontOf(Grid->TitleFont());
  Format.Html.Font = FontOf(Grid->Font());
  Format.Html.TitleColor = unsigned(ColorToRGB(Grid->TitleColor()));
  Format.Html.Color = unsigned(ColorToRGB(Grid->Color()));
  TColor Alternating = Grid->PaintOptions()->AlternatingRowColor();
  Format.Html.AlternatingRowColor = unsigned(ColorToRGB(Alternating == clNone ? Grid->Color() : Alternating));
  Format.Html.TitleAlignment = Grid->TitleAlignment();
  Format.Html.FileName = FileName();
  Format.Html.TitleName = TitleName;
  Format.Html.BorderWidth = HTMLBorderWidth;
  Format.Html.ShowFooter = Grid->Options().Contains(dgShowFooter);
  Format.Html.FooterColor = unsigned(ColorToRGB(Grid->FooterColor()));
  Format.Html.FooterCellColor = unsigned(ColorToRGB(Grid->FooterCellColor()));
  Format.Html.OutputWidthinTwips = OutputWidthinTwips;
  Format.Html.PixelsPerInch = Screen != nullptr ? Screen->PixelsPerInch() : 96;
  Format.Html.NoneSelected = Options.Contains(esoSaveSelectedOnly) && Grid->SelectedBookmarks().empty();
  Format.Sylk.TitleFont = Format.Html.TitleFont;
  Format.Sylk.Font = Format.Html.Font;
  Format.Sylk.TitleAlignment = Grid->TitleAlignment();
  Format.Sylk.TitleLines = Grid->TitleLines();
  return Format;
}

String TqvExportOptions::ExportText() {
  TqvExportTable Table = BuildTable();
  TqvExportFormat Format = MakeFormat();
  switch (ExportType) {
    case qvgetTxt: return qvExportText(Table, Format.Delimiter, Options);
    case qvgetHTML: return qvExportHtml(Table, Format.Html, Options);
    case qvgetSYLK: return qvExportSylk(Table, Format.Sylk, Options);
    case qvgetXML: break;
  }
  throw EInvalidOperation("The XML export format has no writer.");
}

void TqvExportOptions::CopyToClipboard(const String& Text) {
  TClipboard* Board = Clipboard();
  Board->Open();
  TScopeGuard Close([&] { Board->Close(); });
  Board->Clear();
  switch (ExportType) {
    case qvgetHTML: {
      static UINT HtmlFormat = RegisterClipboardFormatA("HTML Format");
      String Html = HtmlClipboardText(Text);
      Board->SetBuffer(HtmlFormat, Html.c_str(), Html.size() + 1);
      Board->SetTextBuf(Text.c_str());
      break;
    }
    case qvgetSYLK:
      Board->SetTextBuf(Text.c_str());
      Board->SetBuffer(CF_SYLK, Text.c_str(), Text.size() + 1);
      break;
    default: Board->SetTextBuf(Text.c_str()); break;
  }
}

void TqvExportOptions::Save() {
  TDataSet* Set = FGrid != nullptr && FGrid->DataSource() != nullptr ? FGrid->DataSource()->DataSet() : nullptr;
  if (Set == nullptr || !Set->Active() || !FGrid->DataLink()->Active()) throw EInvalidOperation(qvExportNoDataSet);
  if (ExportType == qvgetXML) throw EInvalidOperation("The XML export format has no writer.");
  String Text;
  TBookmark Mark = Set->GetBookmark();
  int FormerRow = FGrid->DataLink()->ActiveRecord();
  {
    Set->DisableControls();
    TScopeGuard Restore([&] {
      if (!Mark.empty() && Set->BookmarkValid(Mark)) Set->GotoBookmark(Mark);
      Set->EnableControls();
    });
    Text = ExportText();
  }
  FGrid->KeepRecordOnRow(FormerRow);
  if (Options.Contains(esoClipboard)) {
    CopyToClipboard(Text);
    return;
  }
  String Error;
  if (!qvWriteFileReplacing(FileName(), Text, Error)) throw EInOutError(Error);
}
