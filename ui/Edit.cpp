// This file implements TCustomEdit and TEdit over the native single-line EDIT control: border,
// character case, selection, length limit, password character, read-only state, the modified
// flag, the clipboard and undo, and the change notification.
#include "StdCtrls.h"

#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TCustomEdit)
VELBOR_PUBLISHED(TCustomEdit,
  Prop("AutoSelect", &Self::AutoSelect).Default(true),
  Prop("AutoSize", &Self::AutoSize, &Self::SetAutoSize).Default(true),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSingle),
  Prop("CharCase", &Self::CharCase, &Self::SetCharCase).Default(ecNormal),
  Prop("HideSelection", &Self::HideSelection, &Self::SetHideSelection).Default(true),
  Prop("MaxLength", &Self::MaxLength, &Self::SetMaxLength).Default(0),
  Prop("OEMConvert", &Self::OEMConvert, &Self::SetOEMConvert).Default(false),
  Prop("PasswordChar", &Self::PasswordChar, &Self::SetPasswordChar).Default(char(0)),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("OnChange", &Self::OnChange))

VELBOR_IMPLEMENT_CLASS(TEdit)

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  // The native control captures the mouse and reports clicks itself.
  ControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  TControl::SetAutoSize(true);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
  AdjustSize();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  if (HandleAllocated()) {
    LONG style = GetWindowLongA(FHandle, GWL_STYLE) & ~(ES_UPPERCASE | ES_LOWERCASE);
    if (Value == ecUpperCase) style |= ES_UPPERCASE;
    if (Value == ecLowerCase) style |= ES_LOWERCASE;
    SetWindowLongA(FHandle, GWL_STYLE, style);
  }
  // The text already there follows the new case too.
  if (Value != ecNormal) {
    String text = Text();
    for (char& c : text) c = Value == ecUpperCase ? AnsiUpperChar(c) : AnsiLowerChar(c);
    SetText(text);
  }
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(int Value) {
  if (Value < 0) Value = 0;
  FMaxLength = Value;
  if (HandleAllocated()) SendMessageA(FHandle, EM_LIMITTEXT, WPARAM(Value), 0);
}

bool TCustomEdit::Modified() const {
  if (FHandle) return SendMessageA(FHandle, EM_GETMODIFY, 0, 0) != 0;
  return FModified;
}

void TCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (FHandle) SendMessageA(FHandle, EM_SETMODIFY, WPARAM(Value), 0);
}

void TCustomEdit::SetOEMConvert(bool Value) {
  if (FOEMConvert == Value) return;
  FOEMConvert = Value;
  RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  if (HandleAllocated()) {
    SendMessageA(FHandle, EM_SETPASSWORDCHAR, WPARAM(static_cast<unsigned char>(Value)), 0);
    Invalidate();
  }
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETREADONLY, WPARAM(Value), 0);
}

int TCustomEdit::SelStart() const {
  if (!FHandle) return FSavedSelStart;
  DWORD start = 0, end = 0;
  SendMessageA(FHandle, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return int(start);
}

void TCustomEdit::SetSelStart(int Value) {
  FSavedSelStart = Value;
  FSavedSelLength = 0;
  if (HandleAllocated() || Parent()) SendMessageA(Handle(), EM_SETSEL, WPARAM(Value), LPARAM(Value));
}

int TCustomEdit::SelLength() const {
  if (!FHandle) return FSavedSelLength;
  DWORD start = 0, end = 0;
  SendMessageA(FHandle, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return int(end - start);
}

void TCustomEdit::SetSelLength(int Value) {
  FSavedSelLength = Value;
  if (HandleAllocated() || Parent()) {
    int start = SelStart();
    SendMessageA(Handle(), EM_SETSEL, WPARAM(start), LPARAM(start + Value));
    SendMessageA(FHandle, EM_SCROLLCARET, 0, 0);
  }
}

String TCustomEdit::SelText() const {
  String text = Text();
  std::size_t start = std::size_t(SelStart());
  if (start >= text.size()) return String();
  return text.substr(start, std::size_t(SelLength()));
}

void TCustomEdit::SetSelText(const String& Value) {
  SendMessageA(Handle(), EM_REPLACESEL, 0, LPARAM(Value.c_str()));
}

bool TCustomEdit::CanUndo() const { return FHandle && SendMessageA(FHandle, EM_CANUNDO, 0, 0) != 0; }

void TCustomEdit::Clear() { SetText(String()); }

void TCustomEdit::ClearSelection() { SendMessageA(Handle(), WM_CLEAR, 0, 0); }

void TCustomEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }

void TCustomEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }

void TCustomEdit::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }

void TCustomEdit::Undo() { SendMessageA(Handle(), WM_UNDO, 0, 0); }

void TCustomEdit::ClearUndo() { SendMessageA(Handle(), EM_EMPTYUNDOBUFFER, 0, 0); }

void TCustomEdit::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }

void TCustomEdit::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_LEFT;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
  if (FReadOnly) Params.Style |= ES_READONLY;
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  {
    TScopeGuard restore([&] { FCreating = false; });
    TWinControl::CreateWnd();
  }
  SendMessageA(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
  if (FPasswordChar) SendMessageA(FHandle, EM_SETPASSWORDCHAR, WPARAM(static_cast<unsigned char>(FPasswordChar)), 0);
  SendMessageA(FHandle, EM_SETMODIFY, WPARAM(FModified), 0);
  SendMessageA(FHandle, EM_SETSEL, WPARAM(FSavedSelStart), LPARAM(FSavedSelStart + FSavedSelLength));
}

void TCustomEdit::DestroyWnd() {
  // What the window knew survives its re-creation.
  FModified = Modified();
  FSavedSelStart = SelStart();
  FSavedSelLength = SelLength();
  TWinControl::DestroyWnd();
}

bool TCustomEdit::CanAutoSize(int& NewWidth, int& NewHeight) {
  (void)NewWidth;
  TEXTMETRICA tm = Font()->TextMetrics();
  // The text line, the client edge and a little room above and below the text.
  NewHeight = tm.tmHeight + (FBorderStyle == bsSingle ? 8 : 2);
  return true;
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case WM_SETFONT: WMSetFont(Message); break;
    case WM_SETTEXT: WMSetText(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TCustomEdit::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == EN_CHANGE && !FCreating && !FSettingText) Change();
}

void TCustomEdit::CMEnter(TMessage& Message) {
  // A click places the caret where it falls; entering by keyboard selects the whole text.
  if (AutoSelect && GetKeyState(VK_LBUTTON) >= 0 && HandleAllocated() &&
      (GetWindowLongA(FHandle, GWL_STYLE) & ES_MULTILINE) == 0) {
    SelectAll();
  }
  TWinControl::Dispatch(Message);
}

void TCustomEdit::CMTextChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  // With a window, the text reached it as WM_SETTEXT, which told the change.
  if (!HandleAllocated()) Change();
}

// A text set by the program (or by anyone through the window) is one change, told here: the
// native control reports it only when single-line.
void TCustomEdit::WMSetText(TMessage& Message) {
  if (FCreating) {
    TWinControl::Dispatch(Message);
    return;
  }
  String before = TWinControl::GetText();
  FSettingText = true;
  {
    TScopeGuard restore([&] { FSettingText = false; });
    TWinControl::Dispatch(Message);
  }
  if (Message.Result && TWinControl::GetText() != before) Change();
}

void TCustomEdit::WMSetFont(TMessage& Message) {
  TWinControl::Dispatch(Message);
  // The native control keeps its margins from the font: none, as the text sits at the border.
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}
