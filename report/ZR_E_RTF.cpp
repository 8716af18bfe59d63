// This file implements the RTF export filter: the document head, the font and colour tables, a
// paragraph with tab stops or a table row per grid line, the pictures as metafiles, and the
// escaping of the report's texts.
#include "ZR_E_RTF.h"

#include <algorithm>
#include <cmath>

#include "FloatFormat.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Streams.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassViews.h"
#include "ZR_ExportForms.h"
#include "ZR_Utils.h"
// The class library's windows come last: the API macros they bring do not reach the declarations
// above.
#include "Forms.h"

VELBOR_IMPLEMENT_CLASS(TzrRTFExport)
VELBOR_PUBLISHED(TzrRTFExport,
  Prop("ExportBitmaps", &Self::ExportBitmaps).Default(false),
  Prop("ConvertToTable", &Self::ConvertToTable).Default(false))

namespace {

void Append(TStream* Stream, const String& Text) { Stream->WriteBuffer(Text.data(), std::int64_t(Text.size())); }

// Report pixels to twips at the filter's horizontal scale.
int Twips(int X, double ScaleX) { return int(std::nearbyint(X / (1.3 / (ScaleX > 0 ? ScaleX : 1.0)) * 20)); }

// A table of the document head: entries added in order, lines kept under 255 characters.
void WriteTable(TStream* Stream, const String& Head, const std::vector<String>& Entries) {
  String line = Head;
  for (const String& e : Entries) {
    if (line.size() + e.size() > 254) {
      Append(Stream, line + "\r\n");
      line.clear();
    }
    line += e;
  }
  Append(Stream, line + "}\r\n");
}

String Hex2(unsigned Byte) { return IntToHex(Byte & 0xFF, 2); }
String L16(unsigned V) { return Hex2(V) + Hex2(V >> 8); }
String L32(unsigned V) { return L16(V) + L16(V >> 16); }

}  // namespace

String RtfEscape(const String& Text) {
  static const char kHex[] = "0123456789abcdef";
  String out;
  out.reserve(Text.size());
  for (char c : Text) {
    auto b = static_cast<unsigned char>(c);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += c;
    } else if (b > 127) {
      out += "\\'";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

TzrRTFExport::TzrRTFExport(TComponent* AOwner) : TzrTextExport(AOwner, false) {
  ScaleX = 1.3;
  ScaleY = 1.0;
  KillEmptyLines = true;
  PageBreaks = true;
  ShowDialog = true;
  FEnrolled = EnrolExportFilter(this, EngineString(55218) + " (*.rtf)", "*.rtf");
}

// Dropped while the object is still an RTF filter: the registry finds it by its class.
TzrRTFExport::~TzrRTFExport() {
  if (FEnrolled) DropExportFilter(this);
}

int TzrRTFExport::ShowOptionsDialog() {
  if (!ShowDialog) return mrOk;
  RegisterReportWindowControls();
  auto* form = CreateForm<TzrRTFExportForm>(nullptr);
  TScopeGuard free([form] { form->Free(); });
  form->CB1->SetChecked(KillEmptyLines);
  form->CB2->SetChecked(ExportBitmaps);
  form->CB3->SetChecked(ConvertToTable);
  form->CB5->SetChecked(PageBreaks);
  form->E1->SetText(FloatToStr(ScaleX));
  form->E2->SetText(FloatToStr(ScaleY));
  int result = form->ShowModal();
  KillEmptyLines = form->CB1->Checked();
  ExportBitmaps = form->CB2->Checked();
  ConvertToTable = form->CB3->Checked();
  PageBreaks = form->CB5->Checked();
  auto scale = [](const String& Text) {
    try {
      return TextToFloat(Text);
    } catch (const Exception&) {
      return 1.0;
    }
  };
  ScaleX = scale(form->E1->Text());
  ScaleY = scale(form->E2->Text());
  return result;
}

void TzrRTFExport::StartExport() {
  FPageWritten = false;
  FFonts = std::make_unique<TStringList>();
  FColors = std::make_unique<TStringList>();
  FPictures.clear();
  FBody = std::make_unique<TMemoryStream>();
  Append(Stream, "{\\rtf1\\ansi\r\n\\margl600\\margr600\\margt600\\margb600\r\n");
}

void TzrRTFExport::AbandonExport() {
  TzrTextExport::AbandonExport();
  FFonts.reset();
  FColors.reset();
  FPictures.clear();
  FBody.reset();
}

void TzrRTFExport::ExportObject(int X, int Y, TzrView* View) {
  auto* picture = dynamic_cast<TzrPictureView*>(View);
  if (picture == nullptr || picture->Picture()->Graphic() == nullptr || picture->Picture()->Graphic()->Empty()) return;
  TGraphic* graphic = picture->Picture()->Graphic();
  // Every kind of picture goes out as the bitmap it draws.
  TBitmap bitmap;
  bitmap.SetSize(std::max(graphic->Width(), 1), std::max(graphic->Height(), 1));
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect(TRect(0, 0, bitmap.Width(), bitmap.Height()));
  bitmap.Canvas()->StretchDraw(TRect(0, 0, bitmap.Width(), bitmap.Height()), graphic);
  auto stream = std::make_unique<TMemoryStream>();
  for (int v : {X, Y, View->Width, View->Height, bitmap.Width(), bitmap.Height()}) WriteI32(stream.get(), v);
  bitmap.SaveToStream(stream.get());
  FPictures.push_back(std::move(stream));
}

void TzrRTFExport::WritePictures() {
  for (auto& stream : FPictures) {
    stream->SetPosition(0);
    int x = ReadI32(stream.get());
    int y = ReadI32(stream.get());
    int w = ReadI32(stream.get());
    int h = ReadI32(stream.get());
    int pw = ReadI32(stream.get());
    int ph = ReadI32(stream.get());
    std::int64_t bitmapSize = stream->Size() - stream->Position();
    String s = "\\pard\\phmrg\\posx" + IntToStr(int(std::nearbyint(x / (1.3 / ScaleX) * 20))) + "\\posy" +
               IntToStr(int(std::nearbyint(y * 20 / 1.3))) + "\\absh" + IntToStr(h * 20) + "\\absw" + IntToStr(w * 20) +
               "{\\pict\\wmetafile8\\picw" + IntToStr(int(std::nearbyint(w * 26.46875))) + "\\pich" +
               IntToStr(int(std::nearbyint(h * 26.46875))) + " \\picbmp\\picbpp4\r\n";
    unsigned r = unsigned(bitmapSize / 2 + 7);
    s += "010009000003" + L32(r + 36) + "0000" + L32(r) + "0000050000000b0200000000050000000c02" + L16(unsigned(ph)) +
         L16(unsigned(pw)) + "05000000090200000000050000000102ffffff000400000007010300" + L32(r) + "430f2000cc000000" +
         L16(unsigned(ph)) + L16(unsigned(pw)) + "00000000" + L16(unsigned(ph)) + L16(unsigned(pw)) + "00000000\r\n";
    Append(FBody.get(), s);
    // The device-independent bitmap: the file after its 14-byte header.
    stream->Seek(14, soCurrent);
    String hex;
    int inLine = 0;
    std::uint8_t byte = 0;
    while (stream->Position() < stream->Size()) {
      stream->ReadBuffer(&byte, 1);
      hex += Hex2(byte);
      if (++inLine == 64) {
        hex += "\r\n";
        inLine = 0;
      }
    }
    Append(FBody.get(), hex);
    Append(FBody.get(), "030000000000}\\par\r\n");
  }
  FPictures.clear();
}

void TzrRTFExport::WriteLines() {
  int last = LastUsedLine();
  for (int l = 0; l <= last; ++l) {
    const auto& chain = FLines[std::size_t(l)];
    if (chain.empty()) {
      if (!KillEmptyLines) Append(FBody.get(), "{\\pard \\par}\r\n");
      continue;
    }
    String row = ConvertToTable ? "\\trowd \\trgaph108" : "\\pard";
    String texts;
    bool first = true;
    bool haveFont = false, haveSize = false, haveStyle = false, haveColor = false;
    String font;
    int size = 0, style = 0;
    TColor color = 0;
    for (const TzrTextRec& rec : chain) {
      int x = Twips(rec.X, ScaleX);
      if (!ConvertToTable) {
        if (rec.Alignment == zrtaRight) row += "\\tqr";
        row += "\\tx" + IntToStr(x);
      } else if (!first) {
        row += "\\cellx" + IntToStr(x);
      }
      first = false;
      TColor c = ColorToRGB(rec.FontColor);
      if (c == 0xFFFFFF) c = 0;
      String format;
      if (ConvertToTable || !haveFont || rec.FontName != font) {
        int index = FFonts->IndexOf(rec.FontName);
        if (index < 0) index = FFonts->Add(rec.FontName);
        format += "\\f" + IntToStr(index);
      }
      if (ConvertToTable || !haveSize || rec.FontSize != size) format += "\\fs" + IntToStr(rec.FontSize * 2);
      if (ConvertToTable || !haveStyle || rec.FontStyle != style) {
        // A style bit that ends is switched off: the paragraph keeps its formatting from text to text.
        int before = haveStyle && !ConvertToTable ? style : 0;
        const struct {
          int Bit;
          const char* On;
          const char* Off;
        } kBits[] = {{1, "\\i", "\\i0"}, {2, "\\b", "\\b0"}, {4, "\\ul", "\\ul0"}};
        for (const auto& b : kBits) {
          if (rec.FontStyle & b.Bit) format += b.On;
          else if (before & b.Bit) format += b.Off;
        }
      }
      if (ConvertToTable || !haveColor || c != color) {
        String value = IntToStr(int(c));
        int index = FColors->IndexOf(value);
        if (index < 0) index = FColors->Add(value);
        format += "\\cf" + IntToStr(index + 1);
      }
      font = rec.FontName;
      size = rec.FontSize;
      style = rec.FontStyle;
      color = c;
      haveFont = haveSize = haveStyle = haveColor = true;
      if (ConvertToTable)
        texts += "{" + format + " " + RtfEscape(rec.Text) + "}\\cell ";
      else
        texts += "\\tab" + format + " " + RtfEscape(rec.Text);
    }
    if (ConvertToTable)
      Append(FBody.get(), row + "\\cellx" + IntToStr(Twips(chain.back().Rect.Right, ScaleX)) + " \\trleft" +
                              IntToStr(Twips(chain.front().X, ScaleX)) + " \\pard \\intbl " + texts +
                              "\\pard \\intbl \\row\r\n");
    else
      Append(FBody.get(), row + "{" + texts + "\\par}\r\n");
  }
}

void TzrRTFExport::FinishPage() {
  if (FPageWritten && PageBreaks) Append(FBody.get(), "\\page\r\n");
  if (ExportBitmaps) WritePictures();
  FPictures.clear();
  WriteLines();
  if (ConvertToTable) Append(FBody.get(), "\\pard\r\n");
  FPageWritten = true;
}

void TzrRTFExport::FinishExport() {
  Append(FBody.get(), "\\par}");
  std::vector<String> fonts, colors;
  for (int i = 0; i < FFonts->Count(); ++i) fonts.push_back("{\\f" + IntToStr(i) + " " + RtfEscape(FFonts->Strings(i)) + ";}");
  for (int i = 0; i < FColors->Count(); ++i) {
    unsigned c = unsigned(StrToIntDef(FColors->Strings(i), 0));
    colors.push_back("\\red" + IntToStr(int(c & 0xFF)) + "\\green" + IntToStr(int((c >> 8) & 0xFF)) + "\\blue" +
                     IntToStr(int((c >> 16) & 0xFF)) + ";");
  }
  WriteTable(Stream, "{\\fonttbl", fonts);
  WriteTable(Stream, "{\\colortbl;", colors);
  FBody->SetPosition(0);
  Stream->CopyFrom(FBody.get(), FBody->Size());
  FFonts.reset();
  FColors.reset();
  FPictures.clear();
  FBody.reset();
}
