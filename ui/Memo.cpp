// This file implements TCustomMemo and TMemo over the native multi-line EDIT control, and
// TMemoStrings, the memo's lines (the lines of its text, separated by line ends).
#include "StdCtrls.h"

#include <vector>

namespace {
bool IsWordWrapStored(TObject*) { return true; }

std::vector<String> SplitLines(const String& Text) {
  std::vector<String> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] != '\r' && Text[i] != '\n') continue;
    lines.push_back(Text.substr(start, i - start));
    if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  // A final line end does not start a line of its own.
  if (start < Text.size()) lines.push_back(Text.substr(start));
  return lines;
}

// The lines joined with CR LF; the last one has none, as the memo's text ends there.
String JoinLines(const std::vector<String>& Lines) {
  String text;
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (i) text += "\r\n";
    text += Lines[i];
  }
  return text;
}

// Every line end as CR LF: the native control shows nothing else as a line break.
String AdjustLineBreaks(const String& Text) {
  String result;
  result.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    char c = Text[i];
    if (c == '\r' || c == '\n') {
      result += "\r\n";
      if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    } else {
      result += c;
    }
  }
  return result;
}
}  // namespace

// --- TMemoStrings -----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TMemoStrings)

String TMemoStrings::Get(int Index) const {
  std::vector<String> lines = SplitLines(FMemo->Text());
  if (Index < 0 || Index >= int(lines.size())) ListIndexError(Index);
  return lines[std::size_t(Index)];
}

void TMemoStrings::Put(int Index, const String& S) {
  std::vector<String> lines = SplitLines(FMemo->Text());
  if (Index < 0 || Index >= int(lines.size())) ListIndexError(Index);
  lines[std::size_t(Index)] = S;
  FMemo->SetText(JoinLines(lines));
}

int TMemoStrings::GetCount() const { return int(SplitLines(FMemo->Text()).size()); }

String TMemoStrings::GetTextStr() const { return FMemo->Text(); }

void TMemoStrings::SetTextStr(const String& Value) { FMemo->SetText(AdjustLineBreaks(Value)); }

void TMemoStrings::Clear() { FMemo->SetText(String()); }

void TMemoStrings::Delete(int Index) {
  std::vector<String> lines = SplitLines(FMemo->Text());
  if (Index < 0 || Index >= int(lines.size())) ListIndexError(Index);
  lines.erase(lines.begin() + Index);
  FMemo->SetText(JoinLines(lines));
}

void TMemoStrings::Insert(int Index, const String& S) {
  std::vector<String> lines = SplitLines(FMemo->Text());
  if (Index < 0 || Index > int(lines.size())) ListIndexError(Index);
  lines.insert(lines.begin() + Index, S);
  FMemo->SetText(JoinLines(lines));
}

void TMemoStrings::SetUpdateState(bool Updating) {
  if (!FMemo->HandleAllocated()) return;
  SendMessageA(FMemo->Handle(), WM_SETREDRAW, WPARAM(!Updating), 0);
  if (!Updating) FMemo->Refresh();
}

// --- TCustomMemo ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomMemo)
VELBOR_PUBLISHED(TCustomMemo,
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taLeftJustify),
  Prop("Lines", &Self::Lines, &Self::SetLines),
  Prop("ScrollBars", &Self::ScrollBars, &Self::SetScrollBars).Default(ssNone),
  Prop("WantReturns", &Self::WantReturns).Default(true),
  Prop("WantTabs", &Self::WantTabs).Default(false),
  Prop("WordWrap", &Self::WordWrap, &Self::SetWordWrap).Stored(&IsWordWrapStored),
  Prop("AutoSize", &Self::AutoSize, &Self::SetAutoSize).Default(false))

VELBOR_IMPLEMENT_CLASS(TMemo)

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
  ControlStyle.Exclude(csFixedHeight);
  TControl::SetAutoSize(false);
  SetBounds(Left(), Top(), 185, 89);
  FLines = new TMemoStrings(this);
}

TCustomMemo::~TCustomMemo() { delete FLines; }

void TCustomMemo::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

TPoint TCustomMemo::CaretPos() const {
  if (!FHandle) return TPoint(0, 0);
  DWORD start = 0, end = 0;
  SendMessageA(FHandle, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  int line = int(SendMessageA(FHandle, EM_LINEFROMCHAR, WPARAM(start), 0));
  int lineStart = int(SendMessageA(FHandle, EM_LINEINDEX, WPARAM(line), 0));
  return TPoint(int(start) - lineStart, line);
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style &= ~DWORD(ES_AUTOHSCROLL);
  Params.Style |= ES_MULTILINE;
  Params.Style |= FAlignment == taRightJustify ? ES_RIGHT : FAlignment == taCenter ? ES_CENTER : ES_LEFT;
  // Without word wrap the lines scroll sideways; with it they break at the window's edge.
  if (!FWordWrap) Params.Style |= ES_AUTOHSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && !FWordWrap) Params.Style |= WS_HSCROLL;
}

void TCustomMemo::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if (Key == '\r' && !WantReturns) Key = 0;
}

void TCustomMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    default: TCustomEdit::Dispatch(Message); break;
  }
}

void TCustomMemo::WMGetDlgCode(TMessage& Message) {
  TCustomEdit::Dispatch(Message);
  if (WantTabs) Message.Result |= DLGC_WANTTAB;
  else Message.Result &= ~LRESULT(DLGC_WANTTAB);
  if (!WantReturns) Message.Result &= ~LRESULT(DLGC_WANTALLKEYS);
}
