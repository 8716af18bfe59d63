// This file implements the conversion of a report template to the XML report format: the
// document, its root with the report's script and property data, and a page element per template
// page holding the elements its objects write themselves.
#include <cmath>
#include <cstring>

#include "FloatFormat.h"
#include "StrUtils.h"
#include "Streams.h"
#include "ZR_ClassReport.h"
#include "ZR_DBSet.h"
#include "ZR_Utils.h"
#include "ZR_UtilsXml.h"
// The class library's datasets come last: the API macros they bring do not reach the declarations
// above.
#include "DataSet.h"

namespace {

// The page geometry's pixels as the format's lengths.
int XmlLength(int Pixels) { return int(std::nearbyint(Pixels / 3.77953 * 1.0477419354838709677)); }

void WriteShortString(TStream* Stream, const String& S) {
  String s = S.substr(0, 255);
  WriteU8(Stream, std::uint8_t(s.size()));
  if (!s.empty()) Stream->WriteBuffer(s.data(), std::int64_t(s.size()));
}

// A string value of the component-stream encoding.
void WriteStringValue(TStream* Stream, const String& S) {
  if (S.size() <= 255) {
    WriteU8(Stream, 6);
    WriteShortString(Stream, S);
  } else {
    WriteU8(Stream, 12);
    WriteI32(Stream, std::int32_t(S.size()));
    Stream->WriteBuffer(S.data(), std::int64_t(S.size()));
  }
}

constexpr std::uint8_t kListBegin = 1;
constexpr std::uint8_t kListEnd = 0;
constexpr std::uint8_t kNil = 13;
constexpr std::uint8_t kCollection = 14;

}  // namespace

void XmlWrite(TStream* Stream, const String& Text) { WriteXmlText(Stream, Text); }

void XmlWriteLine(TStream* Stream, const String& Text) { WriteXmlText(Stream, Text + "\r\n"); }

String StreamToHex(TMemoryStream* Stream) {
  String bytes(std::size_t(Stream->Size()), '\0');
  if (!bytes.empty()) std::memcpy(bytes.data(), Stream->Memory(), bytes.size());
  return HexEncode(bytes);
}

void XmlWriteObjectScript(TStrings* Out, const String& Name, TStrings* Script) {
  int n = Script->Count();
  if (n == 0) return;
  Out->Add("procedure " + Name + "OnBeforePrint(Sender: TzrxComponent);");
  Out->Add("begin");
  Out->Add("  with " + Name + ", Engine do");
  Out->Add("  begin");
  if (Script->Strings(0) != "begin") {
    Out->Add(Script->Strings(0));
    for (int i = 1; i < n - 1; ++i) Out->Add(Script->Strings(i));
    if (n > 1) Out->Add(Script->Strings(n - 1));
    Out->Add("  end");
    Out->Add("end;");
  } else {
    for (int i = 1; i < n - 1; ++i) Out->Add(Script->Strings(i));
    Out->Add("  end");
    Out->Add(Script->Strings(n - 1) + ";");
  }
  Out->Add(String());
}

String XmlWriteScriptText(TzrReport* Report) {
  TStringList lines;
  for (int p = 0; p < Report->Pages()->Count(); ++p) {
    TzrPage* page = Report->Pages()->Pages(p);
    XmlWriteObjectScript(&lines, "Page" + IntToStr(p + 1), page->Script());
    for (int i = 0; i < page->ObjectCount(); ++i)
      XmlWriteObjectScript(&lines, page->Objects(i)->Name, page->Objects(i)->Script());
  }
  lines.Add("begin");
  lines.Add(String());
  lines.Add("end.");
  String text;
  for (int i = 0; i < lines.Count(); ++i) text += lines[i] + "\r\n";
  return text;
}

String XmlWritePropData(TzrReport* Report) {
  // Field references are resolved from the report's owner.
  Report->MakeCurrent(false);
  TMemoryStream block;
  TStringList sources;
  ListComponentsOfClass(Report->Owner(), TzrDataset::StaticClass(), &sources, nullptr);
  WriteShortString(&block, "Datasets");
  WriteU8(&block, kCollection);
  for (int i = 0; i < sources.Count(); ++i) {
    WriteU8(&block, kListBegin);
    WriteShortString(&block, "DataSet");
    WriteU8(&block, kNil);
    WriteShortString(&block, "DataSetName");
    WriteStringValue(&block, dynamic_cast<TComponent*>(sources.Objects(i))->Name());
    WriteU8(&block, kListEnd);
  }
  WriteU8(&block, kListEnd);
  WriteShortString(&block, "Variables");
  WriteU8(&block, kCollection);
  TzrVariables* variables = Report->Dictionary()->Variables();
  for (int i = 0; i < variables->Count(); ++i) {
    String value = VarToStr(variables->GetByIndex(i));
    // A field of a listed data link is written as the link's own reference.
    TDataSet* dataSet = nullptr;
    String field;
    try {
      ResolveFieldReference(value, dataSet, field);
    } catch (const Exception&) {
      dataSet = nullptr;
    }
    if (dataSet != nullptr && !field.empty()) {
      for (int k = 0; k < sources.Count(); ++k) {
        auto* link = dynamic_cast<TzrDBDataSet*>(sources.Objects(k));
        if (link != nullptr && link->DataSet() == dataSet) {
          value = "<" + link->Name() + ".\"" + field + "\">";
          break;
        }
      }
    }
    WriteU8(&block, kListBegin);
    WriteShortString(&block, "Name");
    WriteStringValue(&block, variables->NameAt(i));
    WriteShortString(&block, "Value");
    WriteStringValue(&block, value);
    WriteU8(&block, kListEnd);
  }
  WriteU8(&block, kListEnd);
  return StreamToHex(&block);
}

void SaveReportAsXml(TzrReport* Report, TStream* Stream) {
  // The texts are written as the report holds them, in code page 1252: the declaration says so.
  XmlWriteLine(Stream, "<?xml version=\"1.0\" encoding=\"windows-1252\"?>");
  const TzrReportInfo& info = Report->Info;
  XmlWrite(Stream, "<TzrxReport");
  WriteXmlAttribute(Stream, "ScriptLanguage", "PascalScript");
  WriteXmlAttribute(Stream, "ScriptText.text", XmlEscapeText(XmlWriteScriptText(Report)));
  WriteXmlAttribute(Stream, "Propdata", XmlWritePropData(Report));
  WriteXmlAttribute(Stream, "ReportOptions.Name", XmlEscapeText(info.Name));
  WriteXmlAttribute(Stream, "ReportOptions.Author", XmlEscapeText(info.Author));
  WriteXmlAttribute(Stream, "ReportOptions.Description.text", XmlEscapeText(info.Comment));
  WriteXmlAttribute(Stream, "ReportOptions.CreateDate", FloatToStr(info.Created));
  WriteXmlAttribute(Stream, "ReportOptions.LastChange", FloatToStr(info.Changed));
  WriteXmlAttribute(Stream, "ReportOptions.VersionMajor", XmlEscapeText(info.VMajor));
  WriteXmlAttribute(Stream, "ReportOptions.VersionMinor", XmlEscapeText(info.VMinor));
  WriteXmlAttribute(Stream, "ReportOptions.VersionRelease", XmlEscapeText(info.VRelease));
  WriteXmlAttribute(Stream, "ReportOptions.VersionBuild", XmlEscapeText(info.VBuild));
  // The report keeps its password as typed.
  WriteXmlAttribute(Stream, "ReportOptions.Password", XmlEscapeText(info.Password));
  XmlWriteLine(Stream, ">");
  for (int p = 0; p < Report->Pages()->Count(); ++p) {
    TzrPage* page = Report->Pages()->Pages(p);
    String name = "Page" + IntToStr(p + 1);
    bool dialog = page->PageType != ptReport;
    String element = dialog ? "TzrxDialogPage" : "TzrxReportPage";
    XmlWrite(Stream, "<" + element);
    WriteXmlAttribute(Stream, "Name", name);
    if (dialog) {
      WriteXmlAttribute(Stream, "Height", IntToStr(page->FormHeight));
      WriteXmlAttribute(Stream, "Left", IntToStr(page->FormLeft));
      WriteXmlAttribute(Stream, "Top", IntToStr(page->FormTop));
      WriteXmlAttribute(Stream, "Width", IntToStr(page->FormWidth));
      WriteXmlAttribute(Stream, "BorderStyle", IntToStr(page->BorderStyle));
      WriteXmlAttribute(Stream, "Caption", XmlEscapeText(page->Caption));
      WriteXmlAttribute(Stream, "Color", IntToStr(page->Color));
      WriteXmlAttribute(Stream, "Position", IntToStr(page->Position));
      if (page->Script()->Count() > 0) WriteXmlAttribute(Stream, "OnActivate", name + "OnBeforePrint");
    } else {
      const TzrPrintArea& a = page->PrintArea;
      WriteXmlAttribute(Stream, "Orientation", page->Orientation == 1 ? "poLandscape" : "poPortrait");
      WriteXmlAttribute(Stream, "PaperWidth", IntToStr(XmlLength(a.PageWidth)));
      WriteXmlAttribute(Stream, "PaperHeight", IntToStr(XmlLength(a.PageHeight)));
      WriteXmlAttribute(Stream, "PaperSize", IntToStr(page->PaperSize));
      WriteXmlAttribute(Stream, "LeftMargin", IntToStr(XmlLength(page->LeftOffset())));
      WriteXmlAttribute(Stream, "RightMargin", IntToStr(XmlLength(a.PageWidth - page->RightOffset())));
      WriteXmlAttribute(Stream, "TopMargin", IntToStr(XmlLength(page->TopOffset())));
      WriteXmlAttribute(Stream, "BottomMargin",
                        IntToStr(XmlLength(a.PageHeight - (page->UseMargins && page->Margins.Bottom != 0
                                                               ? a.PageHeight - page->Margins.Bottom
                                                               : a.OffsetY + a.PrintableHeight))));
      WriteXmlAttribute(Stream, "Columns", IntToStr(page->Columns));
      WriteXmlAttribute(Stream, "ColumnWidth", IntToStr(page->ColumnWidth));
      if (page->PrintToPrevPage) WriteXmlAttribute(Stream, "PrintOnPreviousPage", "True");
      if (page->Script()->Count() > 0) WriteXmlAttribute(Stream, "OnBeforePrint", name + "OnBeforePrint");
    }
    if (page->ObjectCount() == 0) {
      XmlWriteLine(Stream, "/>");
      continue;
    }
    XmlWriteLine(Stream, ">");
    int shift = dialog ? 0 : page->LeftOffset();
    for (int i = 0; i < page->ObjectCount(); ++i) {
      TzrView* view = page->Objects(i);
      view->Left -= shift;
      try {
        view->SaveToXml(Stream);
      } catch (...) {
        view->Left += shift;
        throw;
      }
      view->Left += shift;
      XmlWriteLine(Stream, "/>");
    }
    XmlWriteLine(Stream, "</" + element + ">");
  }
  XmlWriteLine(Stream, "</TzrxReport>");
}
