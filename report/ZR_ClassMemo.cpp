// This file implements the memo view: its properties, highlight, substitution, measuring for the
// band engine, writing into prepared pages (whole or the part that fits), export, records and XML
// attributes.
#include "ZR_ClassMemo.h"

#include "Field.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "Streams.h"
#include "ZR_ClassBand.h"
#include "ZR_ClassGlobals.h"
#include "ZR_ClassReport.h"
#include "ZR_Utils.h"

VELBOR_IMPLEMENT_CLASS(TzrMemoView)

namespace {

// Appends Text to Lines as the platform's text property would: split at line breaks, a final line
// break making no extra line.
void AppendText(TStrings* Lines, const String& Text) {
  std::size_t p = 0;
  const std::size_t n = Text.size();
  while (p < n) {
    std::size_t start = p;
    while (p < n && Text[p] != '\r' && Text[p] != '\n') ++p;
    Lines->Add(Text.substr(start, p - start));
    if (p < n && Text[p] == '\r') ++p;
    if (p < n && Text[p] == '\n') ++p;
  }
}

bool SameLines(TStrings* A, TStrings* B) {
  if (A->Count() != B->Count()) return false;
  for (int i = 0; i < A->Count(); ++i)
    if (A->Strings(i) != B->Strings(i)) return false;
  return true;
}

struct TMemoFlag {
  const char* Name;
  int Bit;
};
constexpr TMemoFlag kMemoFlags[] = {{"WORDWRAP", zrmfWordWrap},     {"WORDBREAK", zrmfWordBreak},
                                    {"AUTOWIDTH", zrmfAutoWidth},   {"TEXTONLY", zrmfTextOnly},
                                    {"SUPPRESS", zrmfSuppress},     {"HIDEZEROS", zrmfHideZeros},
                                    {"UNDERLINES", zrmfUnderlines}, {"RTLREADING", zrmfRTLReading}};

}  // namespace

TzrMemoView::TzrMemoView() : FFont(std::make_unique<TFont>()) {
  ObjectKind = zrKindMemo;
  NameStem = "Memo";
  Flags = 3;
  FFont->SetName("Arial");
  FFont->SetSize(10);
  FFont->SetColor(0);
  FFont->SetCharset(zrGlobals().RichTextCharset);
}

TzrMemoView::~TzrMemoView() = default;

void TzrMemoView::ListProperties() {
  TzrView::ListProperties();
  for (const char* name : {"Font.Name", "Font.Size", "Font.Style", "Font.Color"}) EnterProperty(name, zrpkScript);
  EnterProperty("Font", zrpkEditor);
  EnterProperty("Alignment", zrpkScript);
  EnterProperty("DisplayFormat", zrpkEditor);
  EnterProperty("Highlight", zrpkEditor);
  EnterProperty("LineSpacing", zrpkInteger);
  EnterProperty("CharSpacing", zrpkInteger);
  EnterProperty("GapX", zrpkInteger);
  EnterProperty("GapY", zrpkInteger);
  for (const char* name : {"Stretched", "WordWrap", "WordBreak", "AutoWidth", "TextOnly", "Suppress", "HideZeros"})
    EnterProperty(name, zrpkBoolean);
  EnterProperty("Lines.Count", zrpkScript);
  EnterProperty("Underlines", zrpkBoolean);
  EnterProperty("RTLReading", zrpkBoolean);
}

void TzrMemoView::SetProperty(const String& PropName, const Variant& Value) {
  TzrStretcheable::SetProperty(PropName, Value);
  String n = AnsiUpperCase(PropName);
  if (WriteFontEntry(Font(), n, Value)) return;
  if (n == "ALIGNMENT") Alignment = Value.AsInteger();
  else if (n == "LINESPACING") LineSpacing = Value.AsInteger();
  else if (n == "CHARSPACING") CharSpacing = Value.AsInteger();
  for (const TMemoFlag& f : kMemoFlags)
    if (n == f.Name) Flags = Value.AsBoolean() ? (Flags | f.Bit) : (Flags & ~f.Bit);
}

Variant TzrMemoView::GetProperty(const String& PropName) {
  Variant result = TzrStretcheable::GetProperty(PropName);
  if (!VarIsEmpty(result)) return result;
  String n = AnsiUpperCase(PropName);
  result = ReadFontEntry(Font(), n);
  if (!VarIsEmpty(result)) return result;
  if (n == "ALIGNMENT") return Variant(Alignment);
  if (n == "LINESPACING") return Variant(LineSpacing);
  if (n == "CHARSPACING") return Variant(CharSpacing);
  if (n == "LINES.COUNT") return Variant(Memo()->Count());
  for (const TMemoFlag& f : kMemoFlags)
    if (n == f.Name) return Variant((Flags & f.Bit) != 0);
  return result;
}

void TzrMemoView::CallMethod(const String& Method, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                             const Variant& Arg3) {
  TzrStretcheable::CallMethod(Method, Result, Arg1, Arg2, Arg3);
  if (VarIsEmpty(Result)) RunListMethod(Memo(), AnsiUpperCase(Method), Result, Arg1, Arg2, Arg3, "LINES");
}

void TzrMemoView::LoadFromBlobField(TField* Field) { OutLines()->SetText(Field->AsString()); }

void TzrMemoView::SubstituteMemo() {
  TStringList* out = OutLines();
  out->BeginUpdate();
  TScopeGuard endUpdate([out] { out->EndUpdate(); });
  out->Clear();
  for (int i = 0; i < Memo()->Count(); ++i) {
    String s = Memo()->Strings(i);
    if (!s.empty() && (Flags & zrmfTextOnly) == 0) ExpandBrackets(s);
    if (s.empty())
      out->Add(String());
    else
      AppendText(out, s);
  }
}

void TzrMemoView::ApplyHighlight() {
  if (!FSavedFont) FSavedFont = std::make_unique<TFont>();
  FSavedFont->Assign(Font());
  FSavedFill = FillColor;
  if (HighlightCondition.empty()) return;
  // A condition that cannot be evaluated means no highlight.
  try {
    Variant value = zrGlobals().Parser()->Evaluate(HighlightCondition);
    if (!(value == Variant(0))) {
      Font()->SetStyle(FontStyleFromCode<TFontStyles>(HighlightStyle));
      Font()->SetColor(HighlightFontColor);
      FillColor = HighlightFillColor;
    }
  } catch (const Exception&) {
  }
}

void TzrMemoView::RestoreHighlight() {
  if (FSavedFont) Font()->Assign(FSavedFont.get());
  FillColor = FSavedFill;
}

int TzrMemoView::FontPixelHeight() { return -zrRound(Font()->Size() * 96.0 / 72.0); }

int TzrMemoView::CalcHeight() {
  RenderPhase = zrDrawMeasure;
  PrepareDrawing(zrGlobals().ScratchBitmap()->Canvas());
  RunScript();
  int result = 0;
  if (!Visible) return 0;
  OutLines()->Assign(Memo());
  TzrReport* report = zrEngine.CurReport;
  if (report != nullptr) report->BeforePrintObject(OutLines(), this);
  if (SameLines(OutLines(), Memo())) SubstituteMemo();
  ApplyHighlight();
  ComputeDrawRect();
  TScopeGuard restore([this] {
    RestoreCoordinates();
    RestoreHighlight();
  });
  if (OutLines()->Count() > 0) {
    LayOutLines();
    OutLines()->Clear();
    for (const String& line : FLaidOut) OutLines()->Add(line);
    result = TextExtent;
    String text = OutLines()->Text();
    if ((Flags & zrmfSuppress) && text == LastPrintedText) result = 0;
    if (report != nullptr && report->DoublePass != 0 && zrEngine.FirstPassRunning && (Flags & zrmfSuppress))
      LastPrintedText = text;
  }
  return result;
}

int TzrMemoView::OneLineHeight() {
  int step = LineSpacing - FontPixelHeight();
  return zrRound(2 * FrameWidth) + 2 * GapY + step;
}

int TzrMemoView::LeftoverHeight() {
  int r = zrRound(2 * FrameWidth);
  int step = LineSpacing - FontPixelHeight();
  if (step <= 0) return 2 * GapY + r;
  int rest = (Height - r - 2 * GapY) % step;
  if (rest < 0) rest += step;
  return 2 * GapY + rest + r;
}

void TzrMemoView::WriteToPreparedPage(TStream* Stream) {
  TzrReport* report = zrEngine.CurReport;
  PrepareDrawing(zrGlobals().ScratchBitmap()->Canvas());
  ClipToBox = true;
  if (RenderPhase == zrDrawWhole) RunScript();
  bool substitute = RenderPhase != zrDrawMeasure;
  if (RenderPhase == zrDrawWhole && report != nullptr && report->OnBeforePrint) {
    OutLines()->Assign(Memo());
    report->BeforePrintObject(OutLines(), this);
    substitute = SameLines(OutLines(), Memo());
  }
  if (RenderPhase != zrDrawPart && substitute) SubstituteMemo();

  // Whatever happens, the object leaves as it came: phase, tag, alignment, place, font and fill.
  String savedTag = Tag;
  int savedAlign = BandAlign;
  int savedTop = Top;
  int savedWidth = Width;
  bool highlighted = false;
  TScopeGuard restore([&] {
    if (highlighted) RestoreHighlight();
    Tag = savedTag;
    BandAlign = savedAlign;
    Top = savedTop;
    Width = savedWidth;
    RenderPhase = zrDrawWhole;
  });
  if (!Visible) return;
  ApplyHighlight();
  highlighted = true;
  std::vector<String> kept;
  if (RenderPhase == zrDrawPart) {
    // The lines that fit are drawn (and counted) on the measuring canvas; the rest waits.
    ComputeDrawRect();
    TCanvas* canvas = Canvas;
    {
      TScopeGuard back([&] {
        Canvas = canvas;
        RestoreCoordinates();
      });
      Canvas = zrGlobals().ScratchBitmap()->Canvas();
      RenderLines();
    }
    for (int i = 0; i < OutLines()->Count(); ++i) kept.push_back(OutLines()->Strings(i));
    while (OutLines()->Count() > LinesDrawn) OutLines()->Delete(OutLines()->Count() - 1);
    bool marked = false;
    for (int i = 0; i < OutLines()->Count(); ++i)
      if (OutLines()->Strings(i).find(zrLineEnd) != String::npos) marked = true;
    // A reader takes the lines as laid out only when one of them carries a mark.
    if (!marked) OutLines()->Add(String(1, zrLineEnd));
  }
  if (Tag.find('[') != String::npos) {
    int savedCode = FormatCode;
    TScopeGuard code([&] { FormatCode = savedCode; });
    FormatCode = 0;
    ExpandBrackets(Tag);
  }
  TzrBand* band = zrEngine.CurBand;
  if (BandAlign == baBottom) BandAlign = baNone;
  if (BandAlign == baTop && band != nullptr) Top = band->Top;
  if (BandAlign == baWidth && band != nullptr && band->Kind >= btCrossHeader && band->Kind <= btCrossFooterKind) {
    Width = band->Width;
    BandAlign = baNone;
  }
  String text = OutLines()->Text();
  if (!((Flags & zrmfSuppress) && text == LastPrintedText)) {
    WriteU8(Stream, static_cast<std::uint8_t>(ObjectKind));
    if (ObjectKind == zrKindAddIn) WriteCountedString(Stream, ClassName());
    WriteRecord(Stream);
    if (Flags & zrmfSuppress) LastPrintedText = text;
  }
  if (RenderPhase == zrDrawPart) {
    OutLines()->Clear();
    for (std::size_t i = std::size_t(LinesDrawn); i < kept.size(); ++i) OutLines()->Add(kept[i]);
  }
}

void TzrMemoView::ExportObject() {
  TzrView::ExportObject();
  Exporting = true;
  TScopeGuard done([this] { Exporting = false; });
  PaintOnCanvas(zrGlobals().ScratchBitmap()->Canvas());
}

void TzrMemoView::ReadRecord(TStream* Stream) {
  TzrStretcheable::ReadRecord(Stream);
  int v = zrEngine.StreamVersion;
  Font()->SetName(ReadVersionedString(Stream));
  Font()->SetSize(ReadI32(Stream));
  Font()->SetStyle(FontStyleFromCode<TFontStyles>(ReadU16(Stream)));
  Font()->SetColor(static_cast<TColor>(ReadU32(Stream)));
  Alignment = static_cast<int>(ReadU32(Stream));
  int charset = ReadU16(Stream) & 0xFF;
  Font()->SetCharset(v < 23 ? zrGlobals().RichTextCharset : charset);
  if (!PreparedRecord) {
    HighlightStyle = ReadU16(Stream);
    HighlightFontColor = static_cast<TColor>(ReadU32(Stream));
    HighlightFillColor = static_cast<TColor>(ReadU32(Stream));
    HighlightCondition = ReadVersionedString(Stream);
  }
  if (v > 23) {
    LineSpacing = ReadI32(Stream);
    CharSpacing = ReadI32(Stream);
  }
  if (v == 21) Flags |= zrmfWordWrap;
}

void TzrMemoView::WriteRecord(TStream* Stream) {
  TzrStretcheable::WriteRecord(Stream);
  WriteCountedString(Stream, Font()->Name());
  WriteI32(Stream, Font()->Size());
  WriteU16(Stream, static_cast<std::uint16_t>(FontStyleToCode(Font()->Style())));
  WriteU32(Stream, static_cast<std::uint32_t>(Font()->Color()));
  WriteU32(Stream, static_cast<std::uint32_t>(Alignment));
  WriteU16(Stream, static_cast<std::uint16_t>(Font()->Charset() & 0xFF));
  if (!PreparedRecord) {
    WriteU16(Stream, static_cast<std::uint16_t>(HighlightStyle));
    WriteU32(Stream, static_cast<std::uint32_t>(HighlightFontColor));
    WriteU32(Stream, static_cast<std::uint32_t>(HighlightFillColor));
    WriteCountedString(Stream, HighlightCondition);
  }
  WriteI32(Stream, LineSpacing);
  WriteI32(Stream, CharSpacing);
}

void TzrMemoView::SaveToXml(TStream* Stream) {
  TzrStretcheable::SaveToXml(Stream);
  if (Flags & 1) WriteXmlAttribute(Stream, "StretchMode", "smMaxHeight");
  if ((Flags & zrmfWordWrap) == 0) WriteXmlAttribute(Stream, "WordWrap", "False");
  if (Flags & zrmfAutoWidth) WriteXmlAttribute(Stream, "AutoWidth", "True");
  if (Flags & zrmfTextOnly) WriteXmlAttribute(Stream, "AllowExpressions", "False");
  if (Flags & zrmfSuppress) WriteXmlAttribute(Stream, "SuppressRepeated", "True");
  if (Flags & zrmfHideZeros) WriteXmlAttribute(Stream, "HideZeros", "True");
  if (Flags & zrmfUnderlines) WriteXmlAttribute(Stream, "Underlines", "True");
  if (Flags & zrmfRTLReading) WriteXmlAttribute(Stream, "RTLReading", "True");
  WriteXmlAttribute(Stream, "Font.Name", XmlEscapeText(Font()->Name()));
  WriteXmlAttribute(Stream, "Font.Height", IntToStr(Font()->Height()));
  WriteXmlAttribute(Stream, "Font.Color", IntToStr(Font()->Color()));
  WriteXmlAttribute(Stream, "Font.Style", IntToStr(int(Font()->Style().Bits())));
  WriteXmlAttribute(Stream, "LineSpacing", IntToStr(LineSpacing));
  WriteXmlAttribute(Stream, "CharSpacing", IntToStr(CharSpacing));
  if (!HighlightCondition.empty()) {
    WriteXmlAttribute(Stream, "Highlight.Condition", XmlEscapeText(HighlightCondition));
    WriteXmlAttribute(Stream, "Highlight.Font.Style", IntToStr(HighlightStyle));
    WriteXmlAttribute(Stream, "Highlight.Font.Color", IntToStr(HighlightFontColor));
    WriteXmlAttribute(Stream, "Highlight.Color", IntToStr(HighlightFillColor));
  }
  WriteXmlAttribute(Stream, "HAlign", IntToStr(Alignment & 3));
  WriteXmlAttribute(Stream, "VAlign", IntToStr((Alignment & zrtaMiddle) ? 2 : (Alignment & zrtaBottom) ? 1 : 0));
  if (Alignment & zrtaRotated) WriteXmlAttribute(Stream, "Rotation", "90");
  int category = FormatCategory(FormatCode);
  int index = FormatIndex(FormatCode);
  String kind, pattern;
  switch (category) {
    case zrfcNumber: {
      kind = "fkNumeric";
      WriteXmlAttribute(Stream, "DisplayFormat.DecimalSeparator", XmlEscapeText(String(1, FormatSeparator(FormatCode))));
      const char* const kNumberPatterns[] = {"%g", "%2.2f", "%2.2n", "%2.2m"};
      pattern = index < 4 ? kNumberPatterns[index] : XmlEscapeText(FormatText);
      break;
    }
    case zrfcDate:
      kind = "fkDateTime";
      pattern = index < 3 ? zrGlobals().DateFormats[std::size_t(index)] : index == 3 ? "dd mmmm yyyy" : XmlEscapeText(FormatText);
      break;
    case zrfcTime:
      kind = "fkDateTime";
      pattern = index < 4 ? zrGlobals().TimeFormats[std::size_t(index)] : XmlEscapeText(FormatText);
      break;
    case zrfcBoolean:
      kind = "fkBoolean";
      pattern = index < 4 ? XmlEscapeText(zrGlobals().BooleanFormats[std::size_t(index)]) : XmlEscapeText(FormatText);
      break;
    default:
      break;
  }
  if (!kind.empty()) {
    WriteXmlAttribute(Stream, "DisplayFormat.Kind", kind);
    WriteXmlAttribute(Stream, "DisplayFormat.FormatStr", pattern);
  }
}
