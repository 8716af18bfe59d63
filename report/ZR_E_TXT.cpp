// This file implements the text export filter: the grid of text records of a page, its layout in
// columns with frames, and the text file it writes; and the two export options dialogs.
#include "ZR_E_TXT.h"

#include <algorithm>
#include <cmath>

#include "FloatFormat.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Streams.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassMemo.h"
#include "ZR_Utils.h"
#include "ZR_ExportForms.h"
// The class library's windows come last: the API macros they bring do not reach the declarations
// above.
#include "Forms.h"

VELBOR_IMPLEMENT_CLASS(TzrTextExport)
VELBOR_PUBLISHED(TzrTextExport,
  Prop("ScaleX", &Self::ScaleX),
  Prop("ScaleY", &Self::ScaleY),
  Prop("KillEmptyLines", &Self::KillEmptyLines).Default(true),
  Prop("ConvertToOEM", &Self::ConvertToOEM).Default(false),
  Prop("ExportFrames", &Self::ExportFrames).Default(false),
  Prop("UsePseudographic", &Self::UsePseudographic).Default(false),
  Prop("PageBreaks", &Self::PageBreaks).Default(true))

VELBOR_IMPLEMENT_CLASS(TzrTXTExportForm)
VELBOR_HANDLERS(TzrTXTExportForm, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(CB3Click))
VELBOR_FIELDS(TzrTXTExportForm, VELBOR_FIELD(CB1), VELBOR_FIELD(CB2), VELBOR_FIELD(CB3), VELBOR_FIELD(CB4),
              VELBOR_FIELD(CB5), VELBOR_FIELD(Label1), VELBOR_FIELD(E1), VELBOR_FIELD(E2), VELBOR_FIELD(Button1),
              VELBOR_FIELD(Button2))
VELBOR_IMPLEMENT_CLASS(TzrRTFExportForm)
VELBOR_HANDLERS(TzrRTFExportForm, VELBOR_HANDLER(FormCreate))
VELBOR_FIELDS(TzrRTFExportForm, VELBOR_FIELD(CB1), VELBOR_FIELD(CB2), VELBOR_FIELD(CB3), VELBOR_FIELD(CB5),
              VELBOR_FIELD(Label1), VELBOR_FIELD(E1), VELBOR_FIELD(E2), VELBOR_FIELD(Button1), VELBOR_FIELD(Button2))

namespace {

// The frame pieces in table order, and their characters.
constexpr char kPieces[] = {5, 10, 6, 12, 3, 9, 11, 7, 14, 13, 15};
constexpr char kPseudographic[] = "\xB3\xC4\xDA\xBF\xC0\xD9\xC1\xC3\xC2\xB4\xC5";
constexpr char kPlain[] = "|-+++++++++";

constexpr char kVertical = 5;
constexpr char kHorizontal = 10;
constexpr char kTopLeft = 6;
constexpr char kTopRight = 12;
constexpr char kBottomLeft = 3;
constexpr char kBottomRight = 9;

bool IsFrameCode(char C) { return C >= 1 && C <= 15; }

bool OnlyFramesAndSpaces(const String& S) {
  for (char c : S)
    if (c != ' ' && !IsFrameCode(c)) return false;
  return true;
}

// A frame piece at 1-based position P of line S: combined with a piece already there.
void PutPiece(String& S, int P, char Code) {
  if (P < 1) P = 1;
  if (int(S.size()) < P) S.resize(std::size_t(P), ' ');
  char& c = S[std::size_t(P - 1)];
  c = IsFrameCode(c) ? char(c | Code) : Code;
}

// A horizontal side of W characters from position D, with its corners.
void PutSide(String& S, int D, int W, bool Left, bool Right, char LeftCorner, char RightCorner) {
  if (Left) {
    PutPiece(S, D, LeftCorner);
    --W;
    ++D;
  }
  if (Right) {
    PutPiece(S, D + W - 1, RightCorner);
    --W;
  }
  for (int i = 0; i < W; ++i) PutPiece(S, D + i, kHorizontal);
}

void WriteLine(TStream* Stream, const String& S) {
  String line = S + "\r\n";
  Stream->WriteBuffer(line.data(), std::int64_t(line.size()));
}

// Text without the control characters a laid-out line may carry (its paragraph mark).
String PrintableText(const String& S) {
  String out;
  out.reserve(S.size());
  for (char c : S)
    if (static_cast<unsigned char>(c) >= 32) out += c;
  return out;
}

}  // namespace

char FrameCodeCharacter(char Code, bool Pseudographic) {
  // Half lines do not arise from the pieces; they are shown as the line they belong to.
  if (Code == zrFrameUp || Code == zrFrameDown) Code = kVertical;
  if (Code == zrFrameRightward || Code == zrFrameLeftward) Code = kHorizontal;
  for (std::size_t i = 0; i < std::size(kPieces); ++i)
    if (kPieces[i] == Code) return Pseudographic ? kPseudographic[i] : kPlain[i];
  return ' ';
}

TzrTextExport::TzrTextExport(TComponent* AOwner) : TzrTextExport(AOwner, true) {}

// Only a text filter itself enrols as one: a descendant is no text filter to the save dialog.
TzrTextExport::TzrTextExport(TComponent* AOwner, bool EnrolAsText)
    : TzrExportFilter(AOwner), FOutput(std::make_unique<TStringList>()) {
  ShowDialog = true;
  if (EnrolAsText) FEnrolled = EnrolExportFilter(this, EngineString(55212) + " (*.txt)", "*.txt");
}

TzrTextExport::~TzrTextExport() {
  FreePageLines();
  if (FEnrolled) DropExportFilter(this);
}

void TzrTextExport::FreePageLines() { FLines.clear(); }

void TzrTextExport::StartPage() {
  FreePageLines();
  FLines.resize(kGridLines);
}

int TzrTextExport::LineOfY(int Y) const {
  double step = 14.0 / (ScaleY > 0 ? ScaleY : 1.0);
  int line = int(std::nearbyint(Y / step));
  return std::max(line, 0);
}

void TzrTextExport::ExportText(const TRect& DrawRect, int X, TzrView* View, int FrameSides, const String& Text, int Y) {
  if (View == nullptr) return;
  TzrTextRec rec;
  rec.X = X;
  rec.Text = PrintableText(Text);
  if (auto* memo = dynamic_cast<TzrMemoView*>(View)) {
    rec.FontName = memo->Font()->Name().substr(0, 31);
    rec.FontSize = memo->Font()->Size();
    rec.FontStyle = FontStyleToCode(memo->Font()->Style());
    rec.FontColor = memo->Font()->Color();
    rec.FontCharset = memo->Font()->Charset();
    rec.Alignment = memo->Alignment;
    if (rec.Alignment == zrtaRight) rec.X = DrawRect.Right;
  }
  rec.Rect = DrawRect;
  rec.FrameSides = FrameSides;
  rec.FillColor = View->FillColor;
  // A line further down than the grid reaches grows it: every line of the page has its place.
  int line = LineOfY(Y);
  if (line >= int(FLines.size())) FLines.resize(std::size_t(line) + 1);
  auto& chain = FLines[std::size_t(line)];
  auto at = std::find_if(chain.begin(), chain.end(), [&](const TzrTextRec& r) { return r.X >= rec.X; });
  chain.insert(at, std::move(rec));
}

int TzrTextExport::LastUsedLine() const {
  for (int i = int(FLines.size()) - 1; i >= 0; --i)
    if (!FLines[std::size_t(i)].empty()) return i;
  return -1;
}

void TzrTextExport::FinishPage() {
  TStringList& out = *FOutput;
  out.Clear();
  const double cw = 6.5 / (ScaleX > 0 ? ScaleX : 1.0);
  auto column = [cw](int X) { return int(std::nearbyint(X / cw)); };
  auto ensure = [&out](int N) {
    while (out.Count() <= N) out.Add(String());
  };
  int last = LastUsedLine();
  for (int l = 0; l <= last; ++l) {
    const auto& chain = FLines[std::size_t(l)];
    if (chain.empty() && KillEmptyLines) continue;
    int n = out.Count();
    String s;
    int end = 0;
    for (const TzrTextRec& rec : chain) {
      int b = column(rec.X);
      if (rec.Alignment == zrtaRight) b -= int(rec.Text.size());
      if (b > end) s.append(std::size_t(b - end), ' ');
      s += rec.Text;
      end = b + int(rec.Text.size());
      if (!ExportFrames || rec.FrameSides == 0) continue;
      int d = std::max(column(rec.Rect.Left), 1);
      int w = column(rec.Rect.Right) - d + 1;
      if (rec.FrameSides & zrFrameTop) {
        if (out.Count() > 0) {
          if (n == 0 || !OnlyFramesAndSpaces(out[n - 1])) {
            out.Insert(n, String());
            ++n;
          }
        } else {
          out.Add(String());
          n = 1;
        }
        String line = out[n - 1];
        PutSide(line, d, w, rec.FrameSides & zrFrameLeft, rec.FrameSides & zrFrameRight, kTopLeft, kTopRight);
        out.Put(n - 1, line);
      }
      if (rec.FrameSides & zrFrameBottom) {
        ensure(n + 1);
        String line = out[n + 1];
        PutSide(line, d, w, rec.FrameSides & zrFrameLeft, rec.FrameSides & zrFrameRight, kBottomLeft, kBottomRight);
        out.Put(n + 1, line);
      }
      if (rec.FrameSides & (zrFrameLeft | zrFrameRight)) {
        ensure(n);
        String line = out[n];
        if (rec.FrameSides & zrFrameLeft) PutPiece(line, d, kVertical);
        if (rec.FrameSides & zrFrameRight) PutPiece(line, d + w - 1, kVertical);
        out.Put(n, line);
      }
    }
    if (n >= out.Count()) {
      ensure(n - 1);
      out.Add(s);
    } else {
      String line = out[n];
      if (line.size() < s.size()) line.resize(s.size(), ' ');
      for (std::size_t k = 0; k < s.size(); ++k)
        if (line[k] == ' ') line[k] = s[k];
      out.Put(n, line);
    }
  }
  if (PageBreaks) out.Add(String(1, '\x0C'));
  if (Stream == nullptr) return;
  for (int i = 0; i < out.Count(); ++i) {
    String line = out[i];
    if (ConvertToOEM && !line.empty()) ::CharToOemBuffA(line.data(), line.data(), DWORD(line.size()));
    if (line == String(1, '\x0C')) {
      WriteLine(Stream, line);
      continue;
    }
    for (char& c : line)
      if (IsFrameCode(c)) c = FrameCodeCharacter(c, UsePseudographic);
    WriteLine(Stream, line);
  }
}

namespace {

String ScaleText(double Value) { return FloatToStr(Value); }

double ScaleValue(const String& Text) {
  try {
    return TextToFloat(Text);
  } catch (const Exception&) {
    return 1.0;
  }
}

}  // namespace

int TzrTextExport::ShowOptionsDialog() {
  if (!ShowDialog) return mrOk;
  RegisterReportWindowControls();
  auto* form = CreateForm<TzrTXTExportForm>(nullptr);
  TScopeGuard free([form] { form->Free(); });
  form->CB1->SetChecked(KillEmptyLines);
  form->CB2->SetChecked(ConvertToOEM);
  form->CB3->SetChecked(ExportFrames);
  form->CB4->SetChecked(UsePseudographic);
  form->CB5->SetChecked(PageBreaks);
  form->E1->SetText(ScaleText(ScaleX));
  form->E2->SetText(ScaleText(ScaleY));
  form->CB3Click(form->CB3);
  int result = form->ShowModal();
  KillEmptyLines = form->CB1->Checked();
  ConvertToOEM = form->CB2->Checked();
  ExportFrames = form->CB3->Checked();
  UsePseudographic = form->CB4->Checked();
  PageBreaks = form->CB5->Checked();
  ScaleX = ScaleValue(form->E1->Text());
  ScaleY = ScaleValue(form->E2->Text());
  return result;
}

// ---- The options dialogs

TzrTXTExportForm::TzrTXTExportForm(TComponent* AOwner) : TForm(AOwner) {}

void TzrTXTExportForm::FormCreate(TObject*) {
  SetCaption(EngineString(54800));
  CB1->SetCaption(EngineString(54801));
  CB2->SetCaption(EngineString(54802));
  CB3->SetCaption(EngineString(54803));
  CB4->SetCaption(EngineString(54804));
  CB5->SetCaption(EngineString(54805));
  Label1->SetCaption(EngineString(54806));
  Button1->SetCaption(EngineString(55000));
  Button2->SetCaption(EngineString(55001));
}

void TzrTXTExportForm::CB3Click(TObject*) { CB4->SetEnabled(CB3->Checked()); }

TzrRTFExportForm::TzrRTFExportForm(TComponent* AOwner) : TForm(AOwner) {}

void TzrRTFExportForm::FormCreate(TObject*) {
  SetCaption(EngineString(54820));
  CB1->SetCaption(EngineString(54801));
  CB2->SetCaption(EngineString(54821));
  CB3->SetCaption(EngineString(54822));
  CB5->SetCaption(EngineString(54805));
  Label1->SetCaption(EngineString(54806));
  Button1->SetCaption(EngineString(55000));
  Button2->SetCaption(EngineString(55001));
}
