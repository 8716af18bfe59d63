// This file implements the rich-text report object (substitution, measuring, splitting, drawing
// through a metafile, its record), the editor window with its ruler and buttons, and the
// registration of both.
#include "ZR_Rich.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "CommonDialogs.h"
#include "FileUtils.h"
#include "DataSet.h"
#include "Field.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Streams.h"
#include "ZR_ClassBand.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassGlobals.h"
#include "ZR_ClassReport.h"
#include "ZR_Combo.h"
#include "ZR_Ctrls.h"
#include "ZR_ExportForms.h"
#include "ZR_Pars.h"
#include "ZR_Utils.h"
#include "ZR_UtilsXml.h"
#include "Registry.h"

VELBOR_IMPLEMENT_CLASS(TzrRichView)
VELBOR_IMPLEMENT_CLASS(TzrRichObject)
VELBOR_IMPLEMENT_CLASS(TzrRichForm)
VELBOR_HANDLERS(TzrRichForm, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormShow), VELBOR_HANDLER(FormActivate),
                VELBOR_HANDLER(FormResize), VELBOR_HANDLER(FormPaint), VELBOR_HANDLER(SelectionChange),
                VELBOR_HANDLER(FileOpen), VELBOR_HANDLER(FileSaveAs), VELBOR_HANDLER(EditUndo),
                VELBOR_HANDLER(SelectFont), VELBOR_HANDLER(SpeedButton2Click), VELBOR_HANDLER(BoldButtonClick),
                VELBOR_HANDLER(AlignButtonClick), VELBOR_HANDLER(BulletsButtonClick), VELBOR_HANDLER(FontNameChange),
                VELBOR_HANDLER(FontSizeChange), VELBOR_HANDLER(RulerResize), VELBOR_HANDLER(RulerItemMouseDown),
                VELBOR_HANDLER(RulerItemMouseMove), VELBOR_HANDLER(FirstIndMouseUp), VELBOR_HANDLER(LeftIndMouseUp),
                VELBOR_HANDLER(RightIndMouseUp), VELBOR_HANDLER(MarkerPaint), VELBOR_HANDLER(OkBtnClick),
                VELBOR_HANDLER(CancBtnClick), VELBOR_HANDLER(HelpBtnClick))
VELBOR_FIELDS(TzrRichForm, VELBOR_FIELD(SpeedBar), VELBOR_FIELD(OpenButton), VELBOR_FIELD(SaveButton),
              VELBOR_FIELD(UndoButton), VELBOR_FIELD(SpeedButton1), VELBOR_FIELD(SpeedButton2), VELBOR_FIELD(HelpBtn),
              VELBOR_FIELD(CancBtn), VELBOR_FIELD(OkBtn), VELBOR_FIELD(BoldButton), VELBOR_FIELD(ItalicButton),
              VELBOR_FIELD(UnderlineButton), VELBOR_FIELD(LeftAlign), VELBOR_FIELD(CenterAlign),
              VELBOR_FIELD(RightAlign), VELBOR_FIELD(BulletsButton), VELBOR_FIELD(FontName), VELBOR_FIELD(FontSize),
              VELBOR_FIELD(Ruler), VELBOR_FIELD(RulerLine), VELBOR_FIELD(FirstInd), VELBOR_FIELD(LeftInd),
              VELBOR_FIELD(RightInd), VELBOR_FIELD(RichEdit1), VELBOR_FIELD(OpenDialog), VELBOR_FIELD(SaveDialog),
              VELBOR_FIELD(FontDialog1))

namespace {

TzrRichForm* gRichForm = nullptr;


// The character count of an edit's text as the control counts it.
int TextLengthOf(TRichEdit* Edit) { return Edit->TextLength(); }


// The layout of a rich edit's text, done here: the platform's formatting request of the control
// (EM_FORMATRANGE) answers nothing on this system, so the text, its character runs and its
// paragraphs are read from the control and laid out and drawn with the window system's text calls.
// Lengths are screen pixels at 96 per inch, as the report's objects measure their texts.
struct TRichFormat {
  String Face;
  int Height = 13;  // pixels
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  COLORREF Color = 0;
  int Charset = DEFAULT_CHARSET;
  bool operator==(const TRichFormat&) const = default;
};

struct TRichParagraph {
  int Start = 0;
  int End = 0;  // the paragraph mark's position (or the text's end)
  int Alignment = PFA_LEFT;
  int FirstIndent = 0;  // pixels from the left edge, first line
  int LeftIndent = 0;   // the other lines
  int RightIndent = 0;
  bool Bullet = false;
};

class TRichText {
 public:
  explicit TRichText(TRichEdit* Edit) {
    HWND h = Edit->Handle();
    GETTEXTLENGTHEX lengthInfo{GTL_NUMCHARS | GTL_PRECISE, 1252};
    int length = int(SendMessageA(h, EM_GETTEXTLENGTHEX, WPARAM(&lengthInfo), 0));
    Text.assign(std::size_t(std::max(length, 0)) + 1, '\0');
    GETTEXTEX get{};
    get.cb = DWORD(Text.size());
    get.flags = GT_DEFAULT;
    get.codepage = 1252;
    int got = int(SendMessageA(h, EM_GETTEXTEX, WPARAM(&get), LPARAM(Text.data())));
    Text.resize(std::size_t(std::max(got, 0)));
    CHARRANGE saved{};
    SendMessageA(h, EM_EXGETSEL, 0, LPARAM(&saved));
    Formats.resize(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
      CHARRANGE one{LONG(i), LONG(i + 1)};
      SendMessageA(h, EM_EXSETSEL, 0, LPARAM(&one));
      CHARFORMAT2A cf{};
      cf.cbSize = sizeof(cf);
      SendMessageA(h, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
      TRichFormat f;
      f.Face = cf.szFaceName;
      f.Height = std::max(1, int(std::nearbyint(cf.yHeight * 96.0 / 1440.0)));
      f.Bold = (cf.dwEffects & CFE_BOLD) != 0;
      f.Italic = (cf.dwEffects & CFE_ITALIC) != 0;
      f.Underline = (cf.dwEffects & CFE_UNDERLINE) != 0;
      f.StrikeOut = (cf.dwEffects & CFE_STRIKEOUT) != 0;
      f.Color = (cf.dwEffects & CFE_AUTOCOLOR) ? RGB(0, 0, 0) : cf.crTextColor;
      f.Charset = cf.bCharSet;
      Formats[i] = f;
    }
    int p = 0;
    while (p <= int(Text.size())) {
      TRichParagraph para;
      para.Start = p;
      std::size_t mark = Text.find('\r', std::size_t(p));
      para.End = mark == String::npos ? int(Text.size()) : int(mark);
      CHARRANGE at{LONG(p), LONG(p)};
      SendMessageA(h, EM_EXSETSEL, 0, LPARAM(&at));
      PARAFORMAT2 pf{};
      pf.cbSize = sizeof(pf);
      SendMessageA(h, EM_GETPARAFORMAT, 0, LPARAM(&pf));
      auto px = [](LONG Twips) { return int(std::nearbyint(Twips * 96.0 / 1440.0)); };
      para.Alignment = pf.wAlignment;
      para.FirstIndent = px(pf.dxStartIndent);
      para.LeftIndent = px(pf.dxStartIndent + pf.dxOffset);
      para.RightIndent = px(pf.dxRightIndent);
      para.Bullet = pf.wNumbering == PFN_BULLET;
      Paragraphs.push_back(para);
      if (mark == String::npos) break;
      p = int(mark) + 1;
      if (p == int(Text.size())) break;
    }
    SendMessageA(h, EM_EXSETSEL, 0, LPARAM(&saved));
  }

  String Text;
  std::vector<TRichFormat> Formats;
  std::vector<TRichParagraph> Paragraphs;
};

// A font of the window system for a format.
class TRichFont {
 public:
  explicit TRichFont(const TRichFormat& F) {
    LOGFONTA lf{};
    lf.lfHeight = -F.Height;
    lf.lfWeight = F.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = F.Italic;
    lf.lfUnderline = F.Underline;
    lf.lfStrikeOut = F.StrikeOut;
    lf.lfCharSet = BYTE(F.Charset);
    std::strncpy(lf.lfFaceName, F.Face.c_str(), LF_FACESIZE - 1);
    FFont = CreateFontIndirectA(&lf);
  }
  ~TRichFont() { DeleteObject(FFont); }
  TRichFont(const TRichFont&) = delete;
  TRichFont& operator=(const TRichFont&) = delete;
  HFONT Get() const { return FFont; }

 private:
  HFONT FFont;
};

// Lays the text out from Start in a box Width pixels wide (and Height high, or unlimited when
// negative) on DC, drawing it when Draw is set. The first character that did not fit (the text's
// length when all of it did); Bottom receives the height used.
int LayOutRichText(const TRichText& Text, int Start, int Width, int Height, HDC DC, bool Draw, int& Bottom) {
  const String& s = Text.Text;
  const int length = int(s.size());
  Bottom = 0;
  if (Start >= length) return length;
  int y = 0;
  struct TPiece {
    int From, To;  // characters [From, To)
    int Width;
  };
  auto measure = [&](int From, int To) {
    int w = 0;
    int i = From;
    while (i < To) {
      int j = i;
      while (j < To && Text.Formats[std::size_t(j)] == Text.Formats[std::size_t(i)]) ++j;
      TRichFont font(Text.Formats[std::size_t(i)]);
      HGDIOBJ old = SelectObject(DC, font.Get());
      SIZE size{};
      GetTextExtentPoint32A(DC, s.data() + i, j - i, &size);
      SelectObject(DC, old);
      w += size.cx;
      i = j;
    }
    return w;
  };
  auto lineHeight = [&](int From, int To, int& Ascent) {
    int height = 0;
    Ascent = 0;
    int i = std::min(From, std::max(length - 1, 0));
    int end = std::max(To, i + 1);
    for (; i < end && i < length; ++i) {
      TRichFont font(Text.Formats[std::size_t(i)]);
      HGDIOBJ old = SelectObject(DC, font.Get());
      TEXTMETRICA tm{};
      GetTextMetricsA(DC, &tm);
      SelectObject(DC, old);
      height = std::max(height, int(tm.tmHeight));
      Ascent = std::max(Ascent, int(tm.tmAscent));
    }
    return height;
  };
  for (const TRichParagraph& para : Text.Paragraphs) {
    if (para.End < Start) continue;
    int pos = std::max(para.Start, Start);
    bool first = pos == para.Start;
    do {
      int indent = first ? para.FirstIndent : para.LeftIndent;
      int room = std::max(Width - indent - para.RightIndent, 1);
      // As many pieces (a word and the blanks after it) as fit; a word longer than the line is cut.
      int end = pos;
      int used = 0;
      while (end < para.End) {
        int wordEnd = end;
        while (wordEnd < para.End && s[std::size_t(wordEnd)] != ' ') ++wordEnd;
        while (wordEnd < para.End && s[std::size_t(wordEnd)] == ' ') ++wordEnd;
        int w = measure(end, wordEnd);
        if (used + w > room && end > pos) break;
        if (used + w > room) {
          while (wordEnd > end + 1 && used + measure(end, wordEnd) > room) --wordEnd;
          w = measure(end, wordEnd);
        }
        used += w;
        end = wordEnd;
        if (used >= room) break;
      }
      int ascent = 0;
      int h = lineHeight(pos, end, ascent);
      if (Height >= 0 && y + h > Height) return pos;
      if (Draw) {
        int trailing = end;
        while (trailing > pos && s[std::size_t(trailing - 1)] == ' ') --trailing;
        int visible = measure(pos, trailing);
        int x = indent;
        if (para.Alignment == PFA_RIGHT) x = Width - para.RightIndent - visible;
        if (para.Alignment == PFA_CENTER) x = indent + (room - visible) / 2;
        if (first && para.Bullet) {
          TRichFont font(Text.Formats[std::size_t(std::min(pos, length - 1))]);
          HGDIOBJ old = SelectObject(DC, font.Get());
          SetTextAlign(DC, TA_BASELINE | TA_LEFT);
          ExtTextOutA(DC, std::max(indent - 12, 0), y + ascent, 0, nullptr, "\x95", 1, nullptr);
          SelectObject(DC, old);
        }
        int i = pos;
        while (i < trailing) {
          int j = i;
          while (j < trailing && Text.Formats[std::size_t(j)] == Text.Formats[std::size_t(i)]) ++j;
          const TRichFormat& f = Text.Formats[std::size_t(i)];
          TRichFont font(f);
          HGDIOBJ old = SelectObject(DC, font.Get());
          SetTextColor(DC, f.Color);
          SetBkMode(DC, TRANSPARENT);
          SetTextAlign(DC, TA_BASELINE | TA_LEFT);
          ExtTextOutA(DC, x, y + ascent, 0, nullptr, s.data() + i, UINT(j - i), nullptr);
          SIZE size{};
          GetTextExtentPoint32A(DC, s.data() + i, j - i, &size);
          SelectObject(DC, old);
          x += size.cx;
          i = j;
        }
      }
      y += h;
      Bottom = y;
      pos = end;
      first = false;
    } while (pos < para.End);
    if (para.End >= length) return length;
    // The paragraph mark belongs to the paragraph.
    if (pos == para.End) pos = para.End + 1;
  }
  return length;
}

// The form every rich edit of the engine lives on.
TWinControl* RichHost() { return zrRichForm(); }

}  // namespace

// ---- The object

TzrRichView::TzrRichView() {
  ObjectKind = zrKindAddIn;
  NameStem = "Rich";
  FRichEdit = new TRichEdit(nullptr);
  FRichEdit->SetVisible(false);
  FRichEdit->SetParent(RichHost());
}

TzrRichView::~TzrRichView() {
  // Once the editor window is gone, the edit went with it.
  if (gRichForm != nullptr) delete FRichEdit;
}

void TzrRichView::CopyRichText(TRichEdit* Target, TRichEdit* Source) {
  Source->SelectAll();
  Source->SelAttributes()->SetProtected(false);
  TMemoryStream stream;
  Source->Lines()->SaveToStream(&stream);
  stream.SetPosition(0);
  Target->Lines()->LoadFromStream(&stream);
}

void TzrRichView::SubstituteExpressions(TRichEdit* Edit) {
  TzrReport* report = zrEngine.CurReport;
  if (report == nullptr) return;
  zrEngine.CurView = this;
  Edit->Lines()->BeginUpdate();
  TScopeGuard end([Edit] { Edit->Lines()->EndUpdate(); });
  int from = 0;
  for (;;) {
    int length = TextLengthOf(Edit);
    int open = Edit->FindText("[", from, length - from, TSearchTypes());
    if (open < 0) return;
    Edit->SetSelStart(open);
    Edit->SetSelLength(length - open);
    String rest = Edit->SelText();
    int first = 1;
    int last = 1;
    String expression = ExtractBracketed(rest, first, last);
    if (first == last) return;
    String value = report->EvaluateExpression(expression);
    Edit->SetSelStart(open);
    Edit->SetSelLength(std::min(last, int(rest.size())));
    Edit->SetSelText(value);
    Edit->SetSelStart(open);
    Edit->SetSelLength(int(value.size()));
    Edit->SelAttributes()->SetCharset(TFontCharset(zrGlobals().RichTextCharset));
    from = open + int(value.size());
  }
}

void TzrRichView::FormatRich(bool Draw) {
  TRichEdit* edit = Draw ? FRichEdit : zrRichForm()->RichEdit1;
  TRichText text(edit);
  int bottom = 0;
  if (!Draw) {
    HDC dc = GetDC(nullptr);
    EndPos = LayOutRichText(text, StartPos, Width - 2 * GapX, Height - 2 * GapY, dc, false, bottom);
    ReleaseDC(nullptr, dc);
    return;
  }
  // Drawn at the object's own size into a metafile, which is then stretched onto the drawing
  // rectangle: the same text at any zoom and on the printer.
  int w = std::max(Saved.Width - 2 * Saved.GapX, 1);
  int h = std::max(Saved.Height - 2 * Saved.GapY, 1);
  TMetafile metafile;
  metafile.SetWidth(w);
  metafile.SetHeight(h);
  {
    TMetafileCanvas canvas(&metafile, nullptr);
    EndPos = LayOutRichText(text, StartPos, w, h, canvas.Handle(), true, bottom);
  }
  TRect r(PaintRect.Left + GapX, PaintRect.Top + GapY, PaintRect.Right - GapX, PaintRect.Bottom - GapY);
  Canvas->StretchDraw(r, &metafile);
}

// The text's own height, laid out without a bottom; an empty text one short line.
int TzrRichView::MeasureHeight() {
  TRichText text(zrRichForm()->RichEdit1);
  HDC dc = GetDC(nullptr);
  int bottom = 0;
  LayOutRichText(text, StartPos, Width - 2 * GapX, -1, dc, false, bottom);
  ReleaseDC(nullptr, dc);
  if (bottom < 2) bottom = 8;
  return bottom + 2 * GapY;
}

void TzrRichView::PrepareContent() {
  CopyRichText(zrRichForm()->RichEdit1, FRichEdit);
  if ((Flags & zrrfTextOnly) == 0) SubstituteExpressions(zrRichForm()->RichEdit1);
}

int TzrRichView::CalcHeight() {
  EndPos = 0;
  PrintedPos = 0;
  RunScript();
  if (!Visible) return 0;
  OutLines()->Assign(Memo());
  if (TzrReport* report = zrEngine.CurReport) report->BeforePrintObject(OutLines(), this);
  PrepareContent();
  StartPos = 0;
  return MeasureHeight();
}

int TzrRichView::LeftoverHeight() {
  TRichEdit* shared = zrRichForm()->RichEdit1;
  PrepareContent();
  int keptEnd = EndPos;
  int keptPrinted = PrintedPos;
  StartPos = 0;
  shared->SetSelStart(0);
  shared->SetSelLength(EndPos);
  shared->SetSelText(String());
  FormatRich(false);
  if (EndPos < TextLengthOf(shared)) {
    shared->SetSelStart(EndPos);
    shared->SetSelLength(TextLengthOf(shared) - EndPos);
    shared->SetSelText(String());
  }
  int h = std::max(MeasureHeight(), Height);
  EndPos = keptEnd;
  PrintedPos = keptPrinted;
  return int(std::nearbyint(h - Height + 2 * GapY + 2 * FrameWidth));
}

void TzrRichView::PaintOnCanvas(TCanvas* ACanvas) {
  PrepareDrawing(ACanvas);
  ComputeDrawRect();
  TScopeGuard restore([this] { RestoreCoordinates(); });
  DrawBackground();
  StartPos = 0;
  if (Saved.Width - 2 * Saved.GapX > 0 && Saved.Height - 2 * Saved.GapY > 0) FormatRich(true);
  DrawFrame();
}

void TzrRichView::WriteToPreparedPage(TStream* Stream) {
  PrepareDrawing(Canvas != nullptr ? Canvas : zrGlobals().ScratchBitmap()->Canvas());
  OutLines()->Assign(Memo());
  if (TzrReport* report = zrEngine.CurReport) report->BeforePrintObject(OutLines(), this);
  RunScript();
  if (!Visible) return;
  String savedTag = Tag;
  TScopeGuard tag([&] { Tag = savedTag; });
  if (Tag.find('[') != String::npos) ExpandBrackets(Tag);
  PrepareContent();
  TRichEdit* shared = zrRichForm()->RichEdit1;
  if (RenderPhase == zrDrawPart) {
    StartPos = EndPos;
    FormatRich(false);
    int length = TextLengthOf(shared);
    if (EndPos < length) {
      shared->SetSelStart(EndPos);
      shared->SetSelLength(length - EndPos);
      shared->SetSelText(String());
    }
    shared->SetSelStart(0);
    shared->SetSelLength(PrintedPos);
    shared->SetSelText(String());
    PrintedPos = EndPos;
  }
  WriteU8(Stream, static_cast<std::uint8_t>(ObjectKind));
  WriteCountedString(Stream, ClassName());
  WriteShared = true;
  TScopeGuard shared_off([this] { WriteShared = false; });
  WriteRecord(Stream);
}

void TzrRichView::ReadRecord(TStream* Stream) {
  TzrStretcheable::ReadRecord(Stream);
  int hasText = ReadU8(Stream);
  std::int64_t end = ReadU32(Stream);
  if (end < Stream->Position() || end > Stream->Size())
    throw EReadError("Objet texte enrichi endommagé : fin hors du flux"_a);
  FRichEdit->Lines()->Clear();
  if (hasText == 1 && end > Stream->Position()) {
    // Only the object's own bytes go to the control, which would read on to the end.
    TMemoryStream text;
    text.CopyFrom(Stream, end - Stream->Position());
    text.SetPosition(0);
    FRichEdit->Lines()->LoadFromStream(&text);
  }
  Stream->SetPosition(end);
}

void TzrRichView::WriteRecord(TStream* Stream) {
  TzrStretcheable::WriteRecord(Stream);
  TRichEdit* source = WriteShared ? zrRichForm()->RichEdit1 : FRichEdit;
  bool hasText = TextLengthOf(source) > 0;
  WriteU8(Stream, hasText ? 1 : 0);
  std::int64_t placeholder = Stream->Position();
  WriteU32(Stream, 0);
  if (hasText) source->Lines()->SaveToStream(Stream);
  std::int64_t end = Stream->Position();
  Stream->SetPosition(placeholder);
  WriteU32(Stream, static_cast<std::uint32_t>(end));
  Stream->SetPosition(end);
}

void TzrRichView::LoadFromBlobField(TField* Field) {
  TMemoryStream stream;
  String data = Field->AsString();
  if (!data.empty()) stream.WriteBuffer(data.data(), std::int64_t(data.size()));
  stream.SetPosition(0);
  FRichEdit->Lines()->LoadFromStream(&stream);
}

void TzrRichView::SaveToXml(TStream* Stream) {
  TzrStretcheable::SaveToXml(Stream);
  TMemoryStream content;
  FRichEdit->Lines()->SaveToStream(&content);
  TMemoryStream block;
  String name = "RichEdit";
  WriteU8(&block, std::uint8_t(name.size()));
  block.WriteBuffer(name.data(), std::int64_t(name.size()));
  WriteU8(&block, 10);
  WriteU32(&block, std::uint32_t(content.Size()));
  content.SetPosition(0);
  block.CopyFrom(&content, content.Size());
  WriteXmlAttribute(Stream, "Propdata", StreamToHex(&block));
  if (Flags & 1) WriteXmlAttribute(Stream, "StretchMode", "smMaxHeight");
  if (Flags & zrrfTextOnly) WriteXmlAttribute(Stream, "AllowExpressions", "False");
  if (Memo()->Count() > 0) {
    TDataSet* dataSet = nullptr;
    String field;
    ResolveFieldReference(Memo()->Strings(0), dataSet, field);
    if (dataSet != nullptr && !field.empty()) {
      String owner = dataSet->Owner() != nullptr ? dataSet->Owner()->Name() : String();
      WriteXmlAttribute(Stream, "DataSet", owner + "." + dataSet->Name());
      WriteXmlAttribute(Stream, "DataField", XmlEscapeText(field));
    }
  }
}

void TzrRichView::ListProperties() {
  TzrStretcheable::ListProperties();
  EnterProperty("GapX", zrpkInteger);
  EnterProperty("GapY", zrpkInteger);
  EnterProperty("Lines", zrpkEditor | zrpkTextEntry | zrpkScript);
  EnterProperty("Stretched", zrpkBoolean);
  EnterProperty("TextOnly", zrpkBoolean);
  EnterProperty("DataField", zrpkEditor | zrpkTextEntry | zrpkText);
}

void TzrRichView::SetProperty(const String& PropName, const Variant& Value) {
  TzrStretcheable::SetProperty(PropName, Value);
  if (AnsiUpperCase(PropName) == "TEXTONLY") Flags = Value.AsBoolean() ? (Flags | zrrfTextOnly) : (Flags & ~zrrfTextOnly);
}

Variant TzrRichView::GetProperty(const String& PropName) {
  Variant result = TzrStretcheable::GetProperty(PropName);
  if (VarIsEmpty(result) && AnsiUpperCase(PropName) == "TEXTONLY") return Variant((Flags & zrrfTextOnly) != 0);
  return result;
}

bool TzrRichView::ShowEditor() {
  TzrRichForm* form = zrRichForm();
  CopyRichText(form->RichEdit1, FRichEdit);
  TScopeGuard empty([form] { form->RichEdit1->Lines()->Clear(); });
  if (form->ShowModal() != mrOk) return false;
  CopyRichText(FRichEdit, form->RichEdit1);
  return true;
}

// ---- The editor window

TzrRichForm::TzrRichForm(TComponent* AOwner) : TForm(AOwner) {}

TTextAttributes* TzrRichForm::CurrentAttributes() {
  return RichEdit1->SelLength() > 0 ? RichEdit1->SelAttributes() : RichEdit1->DefAttributes();
}

void TzrRichForm::FormCreate(TObject*) {
  String folder = ExtractFilePath(Application->ExeName());
  OpenDialog->InitialDir = folder;
  SaveDialog->InitialDir = folder;
  const struct {
    TzrSpeedButton* Button;
    TzrGlyph Glyph;
  } kGlyphs[] = {{OpenButton, zgOpen}, {SaveButton, zgSave}, {UndoButton, zgUndo}, {SpeedButton1, zgFont},
                 {SpeedButton2, zgExpression}, {HelpBtn, zgHelp}, {CancBtn, zgCancel}, {OkBtn, zgOk},
                 {BoldButton, zgBold}, {ItalicButton, zgItalic}, {UnderlineButton, zgUnderline},
                 {LeftAlign, zgLeft}, {CenterAlign, zgCenter}, {RightAlign, zgRight}, {BulletsButton, zgBullets}};
  for (const auto& g : kGlyphs) {
    TBitmap glyph;
    DrawGlyph(g.Glyph, &glyph);
    g.Button->SetGlyph(&glyph);
  }
  RichEdit1->OnSelectionChange = TNotifyEvent(this, &TzrRichForm::SelectionChange);
  FillRuler();
  SelectionChange(nullptr);
}

void TzrRichForm::Localize() {
  SetCaption(EngineString(53560));
  const struct {
    TControl* Control;
    int Id;
  } kHints[] = {{OpenButton, 53561}, {SaveButton, 53562}, {UndoButton, 53563}, {BoldButton, 53564},
                {ItalicButton, 53565}, {LeftAlign, 53566}, {CenterAlign, 53567}, {RightAlign, 53568},
                {UnderlineButton, 53569}, {BulletsButton, 53570}, {SpeedButton1, 53571}, {HelpBtn, 53032},
                {CancBtn, 53572}, {OkBtn, 53573}, {SpeedButton2, 53575}, {FontName, 53576}, {FontSize, 53577}};
  for (const auto& h : kHints) h.Control->Hint = EngineString(h.Id);
}

void TzrRichForm::FormShow(TObject*) { Localize(); }

void TzrRichForm::FormActivate(TObject*) {
  if (RichEdit1->CanFocus()) RichEdit1->SetFocus();
}

void TzrRichForm::FormResize(TObject*) {
  SetEditMargins();
  SelectionChange(nullptr);
}

void TzrRichForm::FormPaint(TObject*) { SetEditMargins(); }

void TzrRichForm::SetEditMargins() {
  if (!RichEdit1->HandleAllocated()) return;
  RECT r{6, 0, RichEdit1->ClientWidth() - 6, RichEdit1->ClientHeight()};
  SendMessageA(RichEdit1->Handle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

void TzrRichForm::FillRuler() {
  String caption;
  for (int i = 0; i < 100; ++i) caption += "\t|";
  Ruler->SetCaption(caption);
}

void TzrRichForm::SelectionChange(TObject*) {
  if (!RichEdit1->HandleAllocated()) return;
  FUpdating = true;
  TScopeGuard done([this] { FUpdating = false; });
  TParaAttributes* p = RichEdit1->Paragraph();
  FirstInd->SetLeft(int(p->FirstIndent() * 4.0 / 3.0) + 2);
  LeftInd->SetLeft(int((p->LeftIndent() + p->FirstIndent()) * 4.0 / 3.0) + 2);
  RightInd->SetLeft(Ruler->ClientWidth() - int((p->RightIndent() + 6) * 4.0 / 3.0) - 6);
  TFontStyles style = RichEdit1->SelAttributes()->Style();
  BoldButton->SetDown(style.Contains(fsBold));
  ItalicButton->SetDown(style.Contains(fsItalic));
  UnderlineButton->SetDown(style.Contains(fsUnderline));
  BulletsButton->SetDown(p->Numbering() == nsBullet);
  // The lists take no text of their own: the entry of the selection's size and name is chosen.
  FontSize->SetItemIndex(FontSize->Items()->IndexOf(IntToStr(RichEdit1->SelAttributes()->Size())));
  FontName->SetItemIndex(FontName->Items()->IndexOf(RichEdit1->SelAttributes()->Name()));
  switch (p->Alignment()) {
    case taLeftJustify: LeftAlign->SetDown(true); break;
    case taRightJustify: RightAlign->SetDown(true); break;
    case taCenter: CenterAlign->SetDown(true); break;
  }
}

void TzrRichForm::FileOpen(TObject*) {
  OpenDialog->Filter = EngineString(55218) + " (*.rtf)|*.rtf";
  if (!OpenDialog->Execute()) return;
  RichEdit1->Lines()->LoadFromFile(OpenDialog->FileName);
  if (RichEdit1->CanFocus()) RichEdit1->SetFocus();
  SelectionChange(nullptr);
}

void TzrRichForm::FileSaveAs(TObject*) {
  SaveDialog->Filter = EngineString(55218) + " (*.rtf)|*.rtf|" + EngineString(55212) + " (*.txt)|*.txt";
  if (!SaveDialog->Execute()) return;
  RichEdit1->Lines()->SaveToFile(SaveDialog->FileName);
}

void TzrRichForm::EditUndo(TObject*) {
  if (RichEdit1->HandleAllocated()) RichEdit1->Undo();
}

void TzrRichForm::SelectFont(TObject*) {
  FontDialog1->Font()->Assign(RichEdit1->SelAttributes());
  if (FontDialog1->Execute()) CurrentAttributes()->Assign(FontDialog1->Font());
  if (RichEdit1->CanFocus()) RichEdit1->SetFocus();
}

// Expressions come from a report designer, which this system does not have.
void TzrRichForm::SpeedButton2Click(TObject*) {}

void TzrRichForm::BoldButtonClick(TObject*) {
  if (FUpdating) return;
  TFontStyles style;
  if (BoldButton->Down()) style.Include(fsBold);
  if (ItalicButton->Down()) style.Include(fsItalic);
  if (UnderlineButton->Down()) style.Include(fsUnderline);
  CurrentAttributes()->SetStyle(style);
}

void TzrRichForm::AlignButtonClick(TObject* Sender) {
  if (FUpdating) return;
  auto* button = dynamic_cast<TComponent*>(Sender);
  if (button == nullptr) return;
  TAlignment alignment = button->Tag == 313 ? taCenter : button->Tag == 314 ? taRightJustify : taLeftJustify;
  RichEdit1->Paragraph()->SetAlignment(alignment);
}

void TzrRichForm::BulletsButtonClick(TObject*) {
  if (FUpdating) return;
  RichEdit1->Paragraph()->SetNumbering(BulletsButton->Down() ? nsBullet : nsNone);
}

void TzrRichForm::FontNameChange(TObject*) {
  if (FUpdating) return;
  if (FontName->ItemIndex() >= 0) CurrentAttributes()->SetName(FontName->Items()->Strings(FontName->ItemIndex()));
  if (RichEdit1->CanFocus()) RichEdit1->SetFocus();
}

void TzrRichForm::FontSizeChange(TObject*) {
  if (FUpdating) return;
  if (FontSize->ItemIndex() >= 0)
    CurrentAttributes()->SetSize(StrToIntDef(FontSize->Items()->Strings(FontSize->ItemIndex()), CurrentAttributes()->Size()));
  if (RichEdit1->CanFocus()) RichEdit1->SetFocus();
}

void TzrRichForm::RulerResize(TObject*) { RulerLine->SetWidth(Ruler->ClientWidth() - 2 * RulerLine->Left()); }

void TzrRichForm::RulerItemMouseDown(TObject* Sender, TMouseButton, TShiftState, int X, int) {
  auto* marker = dynamic_cast<TControl*>(Sender);
  if (marker == nullptr) return;
  FDragOffset = marker->Width() / 2;
  marker->SetLeft(X + marker->Left() - FDragOffset);
  FDragging = true;
}

void TzrRichForm::RulerItemMouseMove(TObject* Sender, TShiftState, int X, int) {
  auto* marker = dynamic_cast<TControl*>(Sender);
  if (FDragging && marker != nullptr) marker->SetLeft(X + marker->Left() - FDragOffset);
}

void TzrRichForm::FirstIndMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  FDragging = false;
  RichEdit1->Paragraph()->SetFirstIndent(int((FirstInd->Left() + FDragOffset - 6) / (4.0 / 3.0)));
  LeftIndMouseUp(Sender, Button, Shift, X, Y);
}

void TzrRichForm::LeftIndMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  FDragging = false;
  TParaAttributes* p = RichEdit1->Paragraph();
  p->SetLeftIndent(int((LeftInd->Left() + FDragOffset - 6) / (4.0 / 3.0)) - p->FirstIndent());
  SelectionChange(nullptr);
}

void TzrRichForm::RightIndMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  FDragging = false;
  RichEdit1->Paragraph()->SetRightIndent(int((Ruler->ClientWidth() + FDragOffset - RightInd->Left() - 2) / (4.0 / 3.0)) -
                                         12);
  SelectionChange(nullptr);
}

void TzrRichForm::MarkerPaint(TObject* Sender) {
  auto* marker = dynamic_cast<TPaintBox*>(Sender);
  if (marker == nullptr) return;
  TCanvas* c = marker->Canvas();
  int w = marker->Width();
  int h = marker->Height();
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(TRect(0, 0, w, h));
  c->Brush()->SetColor(clBlack);
  c->Pen()->SetColor(clBlack);
  // The first indent points down from the top; the others up from the bottom.
  bool down = marker == FirstInd;
  std::vector<TPoint> points = down ? std::vector<TPoint>{TPoint(0, 0), TPoint(w - 1, 0), TPoint(w / 2, h - 1)}
                                   : std::vector<TPoint>{TPoint(0, h - 1), TPoint(w - 1, h - 1), TPoint(w / 2, 0)};
  c->Polygon(points);
}

void TzrRichForm::OkBtnClick(TObject*) { SetModalResult(mrOk); }

void TzrRichForm::CancBtnClick(TObject*) { SetModalResult(mrCancel); }

void TzrRichForm::HelpBtnClick(TObject*) {}

// ---- Registration

namespace {
struct TRichFormOwner {
  ~TRichFormOwner() {
    TzrRichForm* form = gRichForm;
    gRichForm = nullptr;
    try {
      if (form != nullptr) form->Free();
    } catch (...) {
    }
  }
};
}  // namespace

TzrRichForm* zrRichForm() {
  if (gRichForm == nullptr) {
    RegisterRichTextWindows();
    static TRichFormOwner owner;
    gRichForm = CreateForm<TzrRichForm>(nullptr);
  }
  return gRichForm;
}

void RegisterRichTextWindows() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterReportWindowControls();
  RegisterReportCombos();
  for (TClass c : {TzrRichView::StaticClass(), TzrRichObject::StaticClass(), TzrRichForm::StaticClass(),
                   TzrSpeedButton::StaticClass()})
    RegisterClass(c);
  auto* picture = new TBitmap();
  DrawGlyph(zgFont, picture);
  EnrolAddInClass(TzrRichView::StaticClass(), picture, EngineString(55223));
}

void StartRichText() { zrRichForm(); }
