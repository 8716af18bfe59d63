// This file implements TCustomMaskEdit and TMaskEdit (see Mask.h).
#include "Mask.h"

#include <algorithm>

VELBOR_IMPLEMENT_CLASS(TCustomMaskEdit)
VELBOR_PUBLISHED(TCustomMaskEdit,
  Prop("EditMask", &Self::EditMask, &Self::SetEditMask))

VELBOR_IMPLEMENT_CLASS(TMaskEdit)

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const String& Value) {
  if (FEditMask == Value) return;
  // The program's text survives the change of mask.
  String text = Text();
  FEditMask = Value;
  FMask = ParseEditMask(Value);
  SetMaxLength(IsMasked() ? FMask.Length() : 0);
  if (IsMasked()) SetEditText(MaskTextToEditText(FMask, text));
  else SetEditText(text);
}

String TCustomMaskEdit::GetEditText() const { return TCustomEdit::GetText(); }

void TCustomMaskEdit::SetEditText(const String& Value) {
  if (TCustomEdit::GetText() == Value) return;
  TCustomEdit::SetTextImpl(Value);
  Perform(CM_TEXTCHANGED);
}

String TCustomMaskEdit::GetText() const {
  if (!IsMasked()) return TCustomEdit::GetText();
  return MaskEditTextToText(FMask, EditText());
}

void TCustomMaskEdit::SetTextImpl(const String& Value) {
  if (!IsMasked()) {
    TCustomEdit::SetTextImpl(Value);
    return;
  }
  TCustomEdit::SetTextImpl(MaskTextToEditText(FMask, Value));
}

bool TCustomMaskEdit::Validate(const String& Value, int& Pos) {
  Pos = MaskFirstInvalidPosition(FMask, Value);
  return Pos < 0;
}

void TCustomMaskEdit::ValidateError() {
  MessageBeep(0);
  throw EDBEditError("Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications"_a);
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !Modified()) return;
  int pos = 0;
  if (Validate(EditText(), pos)) return;
  if (!ComponentState().Contains(csDesigning) && CanFocus()) {
    FReEntering = true;
    SetFocus();
  }
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETSEL, WPARAM(pos), LPARAM(pos + 1));
  ValidateError();
}

void TCustomMaskEdit::Reset() {
  if (!Modified()) return;
  SetEditText(FOldValue);
  SetModified(false);
}

bool TCustomMaskEdit::CanEdit() {
  if (ReadOnly() || !EditCanModify()) {
    MessageBeep(0);
    return false;
  }
  return true;
}

int TCustomMaskEdit::NextInputPos(int Pos) const {
  while (Pos < FMask.Length() && FMask.Positions[std::size_t(Pos)].Literal) ++Pos;
  return Pos;
}

int TCustomMaskEdit::PrevInputPos(int Pos) const {
  --Pos;
  while (Pos >= 0 && FMask.Positions[std::size_t(Pos)].Literal) --Pos;
  return Pos;
}

void TCustomMaskEdit::ReplaceRange(int Start, int End, const String& Text) {
  // Replacing through the native control keeps its undo and its modified flag.
  SendMessageA(Handle(), EM_SETSEL, WPARAM(Start), LPARAM(End));
  SendMessageA(FHandle, EM_REPLACESEL, TRUE, LPARAM(Text.c_str()));
}

void TCustomMaskEdit::ClearRange(int Start, int End) {
  String empty = FMask.EmptyEditText();
  End = std::min(End, FMask.Length());
  if (Start < End) ReplaceRange(Start, End, empty.substr(std::size_t(Start), std::size_t(End - Start)));
  SendMessageA(FHandle, EM_SETSEL, WPARAM(Start), LPARAM(Start));
}

bool TCustomMaskEdit::InputChar(char Ch) {
  int start = SelStart();
  int end = start + SelLength();
  int pos = start;
  // A typed literal that is next in the mask steps over it.
  if (pos < FMask.Length() && FMask.Positions[std::size_t(pos)].Literal) {
    if (FMask.Positions[std::size_t(pos)].Char == Ch) {
      if (end > start) ClearRange(start, end);
      int next = pos + 1;
      SendMessageA(FHandle, EM_SETSEL, WPARAM(next), LPARAM(next));
      return true;
    }
    pos = NextInputPos(pos);
  }
  if (pos >= FMask.Length()) return false;
  const TMaskPosition& slot = FMask.Positions[std::size_t(pos)];
  char c = MaskConvertCase(slot, Ch);
  if (CharCase() == ecUpperCase) c = AnsiUpperChar(c);
  if (CharCase() == ecLowerCase) c = AnsiLowerChar(c);
  if (!MaskCharIsValid(slot.Char, c)) {
    // A literal typed early jumps ahead to just after that literal.
    for (int i = pos + 1; i < FMask.Length(); ++i) {
      const TMaskPosition& p = FMask.Positions[std::size_t(i)];
      if (p.Literal && p.Char == Ch) {
        if (end > start) ClearRange(start, end);
        SendMessageA(FHandle, EM_SETSEL, WPARAM(i + 1), LPARAM(i + 1));
        return true;
      }
    }
    return false;
  }
  if (end > start) ClearRange(start, end);
  ReplaceRange(pos, pos + 1, String(1, c == ' ' ? FMask.Blank : c));
  int next = NextInputPos(pos + 1);
  if (next > FMask.Length()) next = FMask.Length();
  SendMessageA(FHandle, EM_SETSEL, WPARAM(next), LPARAM(next));
  return true;
}

void TCustomMaskEdit::DeleteKey(bool Backspace) {
  int start = SelStart();
  int end = start + SelLength();
  if (end > start) {
    ClearRange(start, end);
    return;
  }
  if (Backspace) {
    int pos = PrevInputPos(start);
    if (pos < 0) return;
    ClearRange(pos, pos + 1);
  } else {
    int pos = NextInputPos(start);
    if (pos >= FMask.Length()) return;
    ClearRange(pos, pos + 1);
    // Delete leaves the caret where it was.
    SendMessageA(FHandle, EM_SETSEL, WPARAM(start), LPARAM(start));
  }
}

void TCustomMaskEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0) return;
  if (Key == VK_DELETE && Shift.Empty()) {
    if (CanEdit()) DeleteKey(false);
    Key = 0;
  }
}

void TCustomMaskEdit::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if (!IsMasked() || Key == 0) return;
  unsigned char k = static_cast<unsigned char>(Key);
  if (k == VK_ESCAPE) {
    if (Modified()) {
      Reset();
      Key = 0;
    }
    return;
  }
  if (k == VK_BACK) {
    if (CanEdit()) DeleteKey(true);
    Key = 0;
    return;
  }
  if (k < 32) return;  // Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z: the native control's clipboard and undo
  if (CanEdit() && !InputChar(Key)) MessageBeep(0);
  Key = 0;
}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case WM_CUT: WMCut(Message); break;
    case WM_PASTE: WMPaste(Message); break;
    case WM_CLEAR: WMClear(Message); break;
    default: TCustomEdit::Dispatch(Message); break;
  }
}

void TCustomMaskEdit::CMEnter(TMessage& Message) {
  if (IsMasked() && !ComponentState().Contains(csDesigning)) {
    if (!FReEntering) FOldValue = EditText();
    FReEntering = false;
  }
  TCustomEdit::Dispatch(Message);
}

void TCustomMaskEdit::CMExit(TMessage& Message) {
  if (IsMasked() && !ComponentState().Contains(csDesigning)) ValidateEdit();
  TCustomEdit::Dispatch(Message);
}

void TCustomMaskEdit::WMCut(TMessage& Message) {
  if (!IsMasked()) {
    TCustomEdit::Dispatch(Message);
    return;
  }
  if (!CanEdit()) return;
  SendMessageA(FHandle, WM_COPY, 0, 0);
  int start = SelStart();
  ClearRange(start, start + SelLength());
}

void TCustomMaskEdit::WMClear(TMessage& Message) {
  if (!IsMasked()) {
    TCustomEdit::Dispatch(Message);
    return;
  }
  if (!CanEdit()) return;
  int start = SelStart();
  ClearRange(start, start + SelLength());
}

// The clipboard's text is typed through the mask: what fits goes in, the rest is dropped.
void TCustomMaskEdit::WMPaste(TMessage& Message) {
  if (!IsMasked()) {
    TCustomEdit::Dispatch(Message);
    return;
  }
  if (!CanEdit()) return;
  String text;
  if (OpenClipboard(FHandle)) {
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(data))) {
        text = p;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  int start = SelStart();
  int end = start + SelLength();
  if (end > start) ClearRange(start, end);
  for (char c : text) {
    if (c == '\r' || c == '\n') break;
    InputChar(c);
  }
}
