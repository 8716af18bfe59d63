// This file implements the report objects' property lists, the base view's properties, object
// record, writing into prepared pages, unique names, bracket substitution and XML element start.
#include "ZR_ClassView.h"

#include <cmath>

#include "Field.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "Streams.h"
#include "ZR_ClassBand.h"
#include "ZR_ClassGlobals.h"
#include "ZR_ClassPage.h"
#include "ZR_ClassReport.h"
#include "ZR_Utils.h"

VELBOR_IMPLEMENT_CLASS(TzrObject)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrView)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrStretcheable)

// ---- Helpers

int zrRound(double Value) { return static_cast<int>(std::nearbyint(Value)); }

String JoinLines(TStrings* Lines) {
  String s;
  for (int i = 0; i < Lines->Count(); ++i) {
    if (i > 0) s += "\r\n";
    s += Lines->Strings(i);
  }
  return s;
}

String XmlEscapeText(const String& S) {
  String out;
  out.reserve(S.size());
  for (char c : S) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // XML admits no other control character, not even as a reference: it is dropped.
        if (c == '\t' || c == '\n' || c == '\r')
          out += "&#" + IntToStr(static_cast<unsigned char>(c)) + ";";
        else if (static_cast<unsigned char>(c) >= 32)
          out += c;
    }
  }
  return out;
}

void WriteXmlText(TStream* Stream, const String& Text) { Stream->WriteBuffer(Text.data(), std::int64_t(Text.size())); }

void WriteXmlAttribute(TStream* Stream, const String& Name, const String& Value) {
  WriteXmlText(Stream, " " + Name + "=\"" + Value + "\"");
}

// A whole width up to 10 is stored as the plain number (what older writers always stored); any
// other width, a wider whole one included, as thousandths, so that reading it back (where a code
// above 10 means thousandths) gives the same width.
int FrameWidthCode(double FrameWidth) {
  bool whole = FrameWidth == std::floor(FrameWidth);
  if (whole && FrameWidth >= 0 && FrameWidth <= 10) return zrRound(FrameWidth);
  return zrRound(FrameWidth * 1000);
}

double FrameWidthFromCode(int Code) {
  long long n = Code;
  if (n <= 10) n *= 1000;
  return double(n) / 1000.0;
}

// ---- TzrObject

TzrObject::TzrObject() = default;

TzrObject::~TzrObject() { EmptyPropertyList(); }

void TzrObject::SetProperty(const String&, const Variant&) {}
Variant TzrObject::GetProperty(const String&) { return Variant(); }
void TzrObject::CallMethod(const String&, Variant& Result, const Variant&, const Variant&, const Variant&) {
  Result = Variant();
}
void TzrObject::ListProperties() {}

void TzrObject::EmptyPropertyList() { FProperties.clear(); }

void TzrObject::EnterProperty(const String& Name, int Kind, TzrPropEditor Editor) {
  auto rec = std::make_unique<TzrPropRec>();
  rec->Name = Name.substr(0, 32);
  rec->Kind = Kind;
  rec->Editor = Editor;
  FProperties.push_back(std::move(rec));
}

void TzrObject::EnterChoiceProperty(const String& Name, const String& Choices, const std::vector<Variant>& Values) {
  auto rec = std::make_unique<TzrPropRec>();
  rec->Name = Name.substr(0, 32);
  rec->Kind = zrpkChoice;
  rec->Choices = std::make_unique<TStringList>();
  SplitSemicolonList(Choices, rec->Choices.get());
  if (!Values.empty() && !VarIsEmpty(Values[0])) {
    rec->Values = VarArrayCreate(0, int(Values.size()) - 1, varVariant);
    for (std::size_t i = 0; i < Values.size(); ++i) rec->Values.PutElement(int(i), Values[i]);
  }
  FProperties.push_back(std::move(rec));
}

TzrPropRec* TzrObject::FindProperty(const String& Name) const {
  for (const auto& rec : FProperties)
    if (AnsiSameText(rec->Name, Name)) return rec.get();
  return nullptr;
}

bool TzrObject::WriteFontEntry(TFont* Font, const String& UpperName, const Variant& Value) {
  if (UpperName == "FONT.NAME")
    Font->SetName(VarToStr(Value));
  else if (UpperName == "FONT.SIZE")
    Font->SetSize(Value.AsInteger());
  else if (UpperName == "FONT.STYLE")
    Font->SetStyle(FontStyleFromCode<TFontStyles>(Value.AsInteger()));
  else if (UpperName == "FONT.COLOR")
    Font->SetColor(Value.AsInteger());
  else
    return false;
  return true;
}

Variant TzrObject::ReadFontEntry(TFont* Font, const String& UpperName) {
  if (UpperName == "FONT.NAME") return Variant(Font->Name());
  if (UpperName == "FONT.SIZE") return Variant(Font->Size());
  if (UpperName == "FONT.STYLE") return Variant(FontStyleToCode(Font->Style()));
  if (UpperName == "FONT.COLOR") return Variant(Font->Color());
  return Variant();
}

void TzrObject::RunListMethod(TStrings* List, const String& Method, Variant& Result, const Variant& Arg1,
                              const Variant& Arg2, const Variant& Arg3, const String& ListName) {
  TzrParser* parser = zrGlobals().Parser();
  if (Method == "SETINDEXPROPERTY") {
    if (AnsiSameText(VarToStr(Arg1), ListName)) List->Put(Arg2.AsInteger(), VarToStr(Arg3));
  } else if (Method == "GETINDEXPROPERTY") {
    if (AnsiSameText(VarToStr(Arg1), ListName)) Result = Variant(List->Strings(Arg2.AsInteger()));
  } else if (Method == ListName + ".ADD") {
    List->Add(VarToStr(parser->Calculate(VarToStr(Arg1))));
  } else if (Method == ListName + ".CLEAR") {
    List->Clear();
  } else if (Method == ListName + ".DELETE") {
    List->Delete(parser->Calculate(VarToStr(Arg1)).AsInteger());
  } else if (Method == ListName + ".INDEXOF") {
    Result = Variant(List->IndexOf(VarToStr(parser->Calculate(VarToStr(Arg1)))));
  }
}

void EnsureProperties(TzrObject* Object) {
  if (Object != nullptr && Object->PropertyCount() == 0) Object->ListProperties();
}

TzrPropRec* FindObjectProperty(TzrObject* Object, const String& Name) {
  return Object != nullptr ? Object->FindProperty(Name) : nullptr;
}

void ResolvePropertyOwner(const String& Qualified, TzrObject*& Object, String& PropName) {
  Object = zrEngine.CurView;
  PropName = Qualified;
  std::size_t dot = Qualified.find('.');
  if (dot != String::npos) {
    String objectPart = Qualified.substr(0, dot);
    PropName = Qualified.substr(dot + 1, 255);
    String upper = AnsiUpperCase(objectPart);
    TzrReport* report = zrEngine.CurReport;
    if (upper.size() > 4 && upper.compare(0, 4, "PAGE") == 0 && upper[4] >= '0' && upper[4] <= '9') {
      int number = StrToIntDef(objectPart.substr(4), 0);
      Object = report != nullptr && number >= 1 && number <= report->Pages()->Count()
                   ? report->Pages()->Pages(number - 1)
                   : nullptr;
    } else {
      TzrObject* found = report != nullptr ? report->FindObjectByName(objectPart) : nullptr;
      TzrObject* current = zrEngine.CurView;
      EnsureProperties(current);
      if (found == nullptr && FindObjectProperty(current, objectPart) != nullptr) {
        Object = current;
        PropName = Qualified;
      } else {
        Object = found;
      }
    }
  }
  EnsureProperties(Object);
}

// ---- TzrView

TzrView::TzrView()
    : FormatCode(512 + static_cast<unsigned char>(FormatSettings.DecimalSeparator)),
      FMemo(std::make_unique<TStringList>()),
      FScript(std::make_unique<TStringList>()),
      FOutLines(std::make_unique<TStringList>()) {}

TzrView::~TzrView() = default;

void TzrView::LoadFromBlobField(TField*) {}

void TzrView::MemoPrinted(TzrView*) {}

void TzrView::EnterBoundsProperties() {
  EmptyPropertyList();
  EnterProperty("Name", zrpkText | zrpkTextEntry);
  for (const char* name : {"Left", "Top", "Width", "Height"}) EnterProperty(name, zrpkPosition);
}

void TzrView::ListProperties() {
  EnterBoundsProperties();
  EnterProperty("Flags", zrpkScript);
  if (HasFrameProperties()) {
    EnterProperty("FrameTyp", zrpkInteger);
    EnterProperty("FrameWidth", zrpkFloat | zrpkPosition);
    EnterProperty("FrameColor", zrpkColor);
    EnterChoiceProperty("FrameStyle", "psSolid;psDash;psDot;psDashDot;psDashDotDot;psDouble", {0, 1, 2, 3, 4, 5});
    EnterProperty("FillColor", zrpkColor);
    EnterProperty("Tag", zrpkEditor | zrpkTextEntry);
    EnterChoiceProperty("BandAlign", "baNone;baLeft;baRight;baCenter;baWidth;baBottom;baTop;baRest",
                        {0, 1, 2, 3, 4, 5, 6, 7});
  }
  EnterProperty("Visible", zrpkBoolean);
  EnterProperty("Memo", zrpkEditor | zrpkTextEntry);
  EnterProperty("Memo.Count", zrpkScript);
  EnterProperty("Restrictions", zrpkEditor);
}

void TzrView::SetProperty(const String& PropName, const Variant& Value) {
  TzrObject::SetProperty(PropName, Value);
  String n = AnsiUpperCase(PropName);
  if (n == "NAME") Name = VarToStr(Value);
  else if (n == "LEFT") Left = Value.AsInteger();
  else if (n == "TOP") Top = Value.AsInteger();
  else if (n == "WIDTH") Width = Value.AsInteger();
  else if (n == "HEIGHT") Height = Value.AsInteger();
  else if (n == "FLAGS") Flags = Value.AsInteger();
  else if (n == "FRAMETYP") FrameTyp = Value.AsInteger();
  else if (n == "FRAMECOLOR") FrameColor = Value.AsInteger();
  else if (n == "FRAMESTYLE") FrameStyle = Value.AsInteger();
  else if (n == "FILLCOLOR") FillColor = Value.AsInteger();
  else if (n == "BANDALIGN") BandAlign = Value.AsInteger();
  else if (n == "GAPX") GapX = Value.AsInteger();
  else if (n == "GAPY") GapY = Value.AsInteger();
  else if (n == "FRAMEWIDTH") FrameWidth = Value.AsDouble();
  else if (n == "VISIBLE") Visible = Value.AsBoolean();
  else if (n == "MEMO" || n == "DATAFIELD") Memo()->SetText(VarToStr(Value));
  else if (n == "STRETCHED") Flags = Value.AsBoolean() ? (Flags | 1) : (Flags & ~1);
  else if (n == "TAG") Tag = VarToStr(Value);
}

Variant TzrView::GetProperty(const String& PropName) {
  Variant result = TzrObject::GetProperty(PropName);
  String n = AnsiUpperCase(PropName);
  if (n == "NAME") return Variant(Name);
  if (n == "LEFT") return Variant(Left);
  if (n == "TOP") return Variant(Top);
  if (n == "WIDTH") return Variant(Width);
  if (n == "HEIGHT") return Variant(Height);
  if (n == "FLAGS") return Variant(Flags);
  if (n == "FRAMETYP") return Variant(FrameTyp);
  if (n == "FRAMECOLOR") return Variant(FrameColor);
  if (n == "FRAMESTYLE") return Variant(FrameStyle);
  if (n == "FILLCOLOR") return Variant(FillColor);
  if (n == "BANDALIGN") return Variant(BandAlign);
  if (n == "GAPX") return Variant(GapX);
  if (n == "GAPY") return Variant(GapY);
  if (n == "FRAMEWIDTH") return Variant(FrameWidth);
  if (n == "VISIBLE") return Variant(Visible);
  if (n == "MEMO") return Variant(Memo()->Text());
  if (n == "DATAFIELD") return Variant(Memo()->Count() > 0 ? Memo()->Strings(0) : String());
  if (n == "STRETCHED") return Variant((Flags & 1) != 0);
  if (n == "MEMO.COUNT") return Variant(Memo()->Count());
  if (n == "TAG") return Variant(Tag);
  return result;
}

void TzrView::CallMethod(const String& Method, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                         const Variant& Arg3) {
  TzrObject::CallMethod(Method, Result, Arg1, Arg2, Arg3);
  String n = AnsiUpperCase(Method);
  if (VarIsEmpty(Result)) RunListMethod(Memo(), n, Result, Arg1, Arg2, Arg3, "MEMO");
  if (n == "HIDE") SetProperty("Visible", Variant(false));
  if (n == "SHOW") SetProperty("Visible", Variant(true));
}

void TzrView::PlaceAt(int ALeft, int ATop, int AWidth, int AHeight) {
  Left = ALeft;
  Top = ATop;
  Width = AWidth;
  Height = AHeight;
}

void TzrView::MakeUniqueName() {
  Name.clear();
  TzrReport* report = zrEngine.CurReport;
  for (int n = 1; n <= 10000; ++n) {
    String candidate = NameStem + IntToStr(n);
    if (report != nullptr && report->FindObjectByName(candidate) != nullptr) continue;
    SetProperty("Name", Variant(candidate));
    return;
  }
}

void TzrView::ExpandBrackets(String& Text) {
  TzrReport* report = zrEngine.CurReport;
  if (report == nullptr) return;
  int p = 1;
  for (;;) {
    int n = int(Text.size());
    while (p < n && Text[std::size_t(p - 1)] != '[') ++p;
    if (p > n) return;
    int first = p;
    int last = p;
    String expression = ExtractBracketed(Text, first, last);
    if (first == last) return;
    Text.erase(std::size_t(first - 1), std::size_t(std::min(last, n) - first + 1));
    String value = report->EvaluateExpression(expression);
    Text.insert(std::size_t(first - 1), value);
    p = first + int(value.size());
  }
}

void TzrView::RunScript() {
  if (Script()->Count() == 0) return;
  zrEngine.CurView = this;
  zrGlobals().Interpreter()->RunScript(Script());
}

void TzrView::WriteToPreparedPage(TStream* Stream) {
  PrepareDrawing(Canvas != nullptr ? Canvas : zrGlobals().ScratchBitmap()->Canvas());
  OutLines()->Assign(Memo());
  if (TzrReport* report = zrEngine.CurReport) report->BeforePrintObject(OutLines(), this);
  RunScript();
  if (!Visible) return;
  String savedTag = Tag;
  if (Tag.find('[') != String::npos) ExpandBrackets(Tag);
  if (TzrBand* band = zrEngine.CurBand) {
    if (BandAlign == baBottom) Top = band->Top + band->PrintedHeight - Height;
    if (BandAlign == baTop) Top = band->Top;
    if (BandAlign == baWidth && band->Kind >= btCrossHeader && band->Kind <= btCrossFooterKind) Width = band->Width;
  }
  WriteU8(Stream, static_cast<std::uint8_t>(ObjectKind));
  if (ObjectKind == zrKindAddIn) WriteCountedString(Stream, ClassName());
  WriteRecord(Stream);
  Tag = savedTag;
}

void TzrView::ExportObject() {
  if (TzrReport* report = zrEngine.CurReport) report->ExportObject(this);
}

void TzrView::ReadRecord(TStream* Stream) {
  int v = zrEngine.StreamVersion;
  if (v > 23 || (v == 23 && !PreparedRecord))
    Name = ReadVersionedString(Stream);
  else
    MakeUniqueName();
  if (v > 23) {
    RecordMajor = ReadU8(Stream);
    RecordMinor = ReadU8(Stream);
  }
  Left = ReadI32(Stream);
  Top = ReadI32(Stream);
  Width = ReadI32(Stream);
  Height = ReadI32(Stream);
  Flags = ReadU16(Stream);
  FrameTyp = ReadU16(Stream);
  FrameWidth = FrameWidthFromCode(ReadI32(Stream));
  FrameColor = static_cast<TColor>(ReadU32(Stream));
  FrameStyle = ReadU16(Stream);
  FillColor = static_cast<TColor>(ReadU32(Stream));
  if (!PreparedRecord) {
    FormatCode = ReadI32(Stream);
    FormatText = ReadVersionedString(Stream);
  }
  ReadVersionedLines(Stream, Memo());
  if (v > 22 && !PreparedRecord) {
    ReadVersionedLines(Stream, Script());
    Visible = ReadU16(Stream) != 0;
  }
  if (v > 23) {
    Restrictions = ReadU16(Stream);
    Tag = ReadVersionedString(Stream);
    GapX = ReadI32(Stream);
    GapY = ReadI32(Stream);
  }
  if (RecordMajor > 1) BandAlign = ReadU8(Stream);
}

void TzrView::WriteRecord(TStream* Stream) {
  RecordMajor = 2;
  WriteCountedString(Stream, Name);
  WriteU8(Stream, static_cast<std::uint8_t>(RecordMajor));
  WriteU8(Stream, static_cast<std::uint8_t>(RecordMinor));
  WriteI32(Stream, Left);
  WriteI32(Stream, Top);
  WriteI32(Stream, Width);
  WriteI32(Stream, Height);
  WriteU16(Stream, static_cast<std::uint16_t>(Flags));
  WriteU16(Stream, static_cast<std::uint16_t>(FrameTyp));
  WriteI32(Stream, FrameWidthCode(FrameWidth));
  WriteU32(Stream, static_cast<std::uint32_t>(FrameColor));
  WriteU16(Stream, static_cast<std::uint16_t>(FrameStyle));
  WriteU32(Stream, static_cast<std::uint32_t>(FillColor));
  if (!PreparedRecord) {
    WriteI32(Stream, FormatCode);
    WriteCountedString(Stream, FormatText);
  }
  WriteCountedLines(Stream, PreparedRecord ? OutLines() : Memo());
  if (!PreparedRecord) {
    WriteCountedLines(Stream, Script());
    WriteU16(Stream, Visible ? 0xFFFF : 0);
  }
  WriteU16(Stream, static_cast<std::uint16_t>(Restrictions));
  WriteCountedString(Stream, Tag);
  WriteI32(Stream, GapX);
  WriteI32(Stream, GapY);
  WriteU8(Stream, static_cast<std::uint8_t>(BandAlign));
}

void TzrView::SaveToXml(TStream* Stream) {
  String className = ClassName();
  if (className.compare(0, 3, "Tzr") == 0) className = "Tzrx" + className.substr(3);
  WriteXmlText(Stream, "<" + className);
  WriteXmlAttribute(Stream, "Name", Name);
  WriteXmlAttribute(Stream, "Left", IntToStr(Left));
  WriteXmlAttribute(Stream, "Top", IntToStr(Top));
  WriteXmlAttribute(Stream, "Width", IntToStr(Width));
  WriteXmlAttribute(Stream, "Height", IntToStr(Height));
  WriteXmlAttribute(Stream, "Color", IntToStr(FillColor));
  if (!Visible) WriteXmlAttribute(Stream, "Visible", "False");
  int sides = ((FrameTyp & zrFrameLeft) ? 1 : 0) | ((FrameTyp & zrFrameRight) ? 2 : 0) |
              ((FrameTyp & zrFrameTop) ? 4 : 0) | ((FrameTyp & zrFrameBottom) ? 8 : 0);
  WriteXmlAttribute(Stream, "Frame.Typ", IntToStr(sides));
  WriteXmlAttribute(Stream, "Frame.Width", FloatToStr(FrameWidth));
  WriteXmlAttribute(Stream, "Frame.Color", IntToStr(FrameColor));
  WriteXmlAttribute(Stream, "Frame.Style", IntToStr(FrameStyle));
  WriteXmlAttribute(Stream, "GapX", IntToStr(GapX));
  WriteXmlAttribute(Stream, "GapY", IntToStr(GapY));
  WriteXmlAttribute(Stream, "TagStr", XmlEscapeText(Tag));
  WriteXmlAttribute(Stream, "Memo.text", XmlEscapeText(JoinLines(Memo())));
  int align = BandAlign == baRest ? baWidth : BandAlign == baTop ? baNone : BandAlign;
  WriteXmlAttribute(Stream, "Align", IntToStr(align));
  if (Script()->Count() > 0) {
    WriteXmlAttribute(Stream, "OnBeforePrint", Name + "OnBeforePrint");
    WriteXmlAttribute(Stream, "OnClick", Name + "OnBeforePrint");
    WriteXmlAttribute(Stream, "OnActivate", Name + "OnBeforePrint");
  }
  int restrictions = ((Restrictions & 15) != 0 ? 1 : 0) | (((Restrictions >> 4) & 7) << 1);
  WriteXmlAttribute(Stream, "Restrictions", IntToStr(restrictions));
}

// ---- TzrStretcheable

void TzrStretcheable::CallMethod(const String& Method, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                                 const Variant& Arg3) {
  TzrView::CallMethod(Method, Result, Arg1, Arg2, Arg3);
  if (AnsiUpperCase(Method) == "CALCHEIGHT") Result = Variant(CalcHeight());
}
