// This file implements the modal-question entry and its real windows: message boxes through the
// API (owned by the active form, the program's other windows disabled meanwhile) and the input
// dialog built from an in-memory template.
#include "Dialogs.h"

#include "WinApi.h"

#include <cstring>

#include "Forms.h"

namespace {
IModalResponder* Responder = nullptr;

int ShowMessageBox(const String& Text, const String& Caption, UINT Flags) {
  HWND owner = Application->ActiveFormHandle();
  std::vector<HWND> disabled = DisableTaskWindows(nullptr);
  int result = ::MessageBoxA(owner, Text.c_str(), Caption.c_str(), Flags);
  EnableTaskWindows(disabled);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  return result;
}

UINT MessageDlgFlags(TMsgDlgType Type, TMsgDlgButtons Buttons) {
  UINT flags = MB_OK;
  if (Buttons.Contains(mbYes) && Buttons.Contains(mbNo)) flags = Buttons.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
  else if (Buttons.Contains(mbAbort) || Buttons.Contains(mbIgnore)) flags = MB_ABORTRETRYIGNORE;
  else if (Buttons.Contains(mbRetry)) flags = MB_RETRYCANCEL;
  else if (Buttons.Contains(mbCancel)) flags = MB_OKCANCEL;
  switch (Type) {
    case mtWarning: flags |= MB_ICONWARNING; break;
    case mtError: flags |= MB_ICONERROR; break;
    case mtInformation: flags |= MB_ICONINFORMATION; break;
    case mtConfirmation: flags |= MB_ICONQUESTION; break;
    case mtCustom: break;
  }
  return flags;
}

String MessageDlgCaption(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning: return "Avertissement";
    case mtError: return "Erreur";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirmation";
    case mtCustom: break;
  }
  return Application->Title();
}

// --- The input dialog, from a template built in memory -----------------------------------------

enum { IdPrompt = 100, IdEdit = 101 };

struct TInputData {
  const String* Caption;
  const String* Prompt;
  String Value;
};

class TTemplate {
 public:
  void Word(WORD W) {
    FBytes.push_back(BYTE(W & 0xFF));
    FBytes.push_back(BYTE(W >> 8));
  }
  void DWord(DWORD D) {
    Word(WORD(D & 0xFFFF));
    Word(WORD(D >> 16));
  }
  void Text(const char* S) {
    for (; *S; ++S) Word(WORD(static_cast<unsigned char>(*S)));
    Word(0);
  }
  void Align() {
    while (FBytes.size() % 4) FBytes.push_back(0);
  }
  void Item(DWORD Style, short X, short Y, short CX, short CY, WORD Id, WORD ClassAtom) {
    Align();
    DWord(Style | WS_CHILD | WS_VISIBLE);
    DWord(0);
    Word(WORD(X));
    Word(WORD(Y));
    Word(WORD(CX));
    Word(WORD(CY));
    Word(Id);
    Word(0xFFFF);
    Word(ClassAtom);
    Word(0);  // title: set at initialisation, in 1252 (the template would take UTF-16)
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Data() const { return reinterpret_cast<const DLGTEMPLATE*>(FBytes.data()); }

 private:
  std::vector<BYTE> FBytes;
};

INT_PTR CALLBACK InputDialogProc(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam) {
  try {
    switch (Msg) {
      case WM_INITDIALOG: {
        auto* data = reinterpret_cast<TInputData*>(LParam);
        SetWindowLongPtrA(Dialog, DWLP_USER, LParam);
        SetWindowTextA(Dialog, data->Caption->c_str());
        SetDlgItemTextA(Dialog, IdPrompt, data->Prompt->c_str());
        SetDlgItemTextA(Dialog, IdEdit, data->Value.c_str());
        SendDlgItemMessageA(Dialog, IdEdit, EM_SETSEL, 0, -1);
        SetDlgItemTextA(Dialog, IDOK, "OK");
        SetDlgItemTextA(Dialog, IDCANCEL, "Annuler");
        return TRUE;
      }
      case WM_COMMAND:
        if (LOWORD(WParam) == IDOK) {
          auto* data = reinterpret_cast<TInputData*>(GetWindowLongPtrA(Dialog, DWLP_USER));
          int length = GetWindowTextLengthA(GetDlgItem(Dialog, IdEdit));
          String text(std::size_t(length), '\0');
          if (length > 0) text.resize(std::size_t(GetDlgItemTextA(Dialog, IdEdit, text.data(), length + 1)));
          data->Value = text;
          EndDialog(Dialog, IDOK);
          return TRUE;
        }
        if (LOWORD(WParam) == IDCANCEL) {
          EndDialog(Dialog, IDCANCEL);
          return TRUE;
        }
        break;
      default:
        break;
    }
  } catch (...) {
    EndDialog(Dialog, IDCANCEL);
  }
  return FALSE;
}

TModalAnswer ShowInputDialog(const TModalQuestion& Q) {
  TTemplate t;
  t.DWord(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.DWord(0);
  t.Word(4);  // items
  t.Word(0);
  t.Word(0);
  t.Word(180);
  t.Word(63);
  t.Word(0);  // no menu
  t.Word(0);  // default class
  t.Word(0);  // title: set at initialisation
  t.Word(8);
  t.Text("MS Sans Serif");
  t.Item(SS_LEFT | SS_NOPREFIX, 8, 8, 164, 10, IdPrompt, 0x0082);
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 8, 20, 164, 12, IdEdit, 0x0081);
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 38, 41, 50, 14, IDOK, 0x0080);
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 92, 41, 50, 14, IDCANCEL, 0x0080);
  TInputData data{&Q.Caption, &Q.Text, Q.Value};
  HWND owner = Application->ActiveFormHandle();
  std::vector<HWND> disabled = DisableTaskWindows(nullptr);
  INT_PTR r = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Data(), owner, &InputDialogProc, LPARAM(&data));
  EnableTaskWindows(disabled);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  TModalAnswer a;
  a.Result = r == IDOK ? 1 : 0;
  a.Value = r == IDOK ? data.Value : Q.Value;
  return a;
}
}  // namespace

IModalResponder* SetModalResponder(IModalResponder* Value) {
  IModalResponder* previous = Responder;
  Responder = Value;
  return previous;
}

TModalAnswer AskModal(const TModalQuestion& Question) {
  if (Responder) return Responder->Answer(Question);
  TModalAnswer a;
  switch (Question.Kind) {
    case TModalKind::MessageBox:
    case TModalKind::ShowMessage:
      a.Result = ShowMessageBox(Question.Text, Question.Caption, Question.Flags);
      break;
    case TModalKind::MessageDlg:
      a.Result = ShowMessageBox(Question.Text, Question.Caption, MessageDlgFlags(Question.DlgType, Question.Buttons));
      break;
    case TModalKind::InputQuery:
      a = ShowInputDialog(Question);
      break;
    case TModalKind::Other:
      // Dialogs of other libraries show themselves; only a responder answers them here.
      a.Result = -1;
      break;
  }
  return a;
}

int EscapeAnswer(const TModalQuestion& Q) {
  switch (Q.Kind) {
    case TModalKind::MessageBox:
    case TModalKind::ShowMessage:
      switch (Q.Flags & MB_TYPEMASK) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
        case MB_RETRYCANCEL: return IDCANCEL;
        case MB_YESNO: return IDNO;
        case MB_ABORTRETRYIGNORE: return IDABORT;
        default: return IDOK;
      }
    case TModalKind::MessageDlg:
      if (Q.Buttons.Contains(mbCancel)) return IDCANCEL;
      if (Q.Buttons.Contains(mbNo)) return IDNO;
      if (Q.Buttons.Contains(mbAbort)) return IDABORT;
      return IDOK;
    case TModalKind::InputQuery:
    case TModalKind::Other:
      return 0;
  }
  return 0;
}

TModalScript::TModalScript() { FPrevious = SetModalResponder(this); }

TModalScript::~TModalScript() { SetModalResponder(FPrevious); }

void TModalScript::Push(int Result, const String& Value) { FAnswers.push_back(TModalAnswer{Result, Value, {}}); }

TModalAnswer TModalScript::Answer(const TModalQuestion& Question) {
  Asked.push_back(Question);
  if (FAnswers.empty()) {
    Unexpected.push_back(Question);
    return TModalAnswer{EscapeAnswer(Question), Question.Value, {}};
  }
  TModalAnswer a = FAnswers.front();
  FAnswers.pop_front();
  return a;
}

int MessageBox(const String& Text, const String& Caption, unsigned Flags) {
  return Application->MessageBox(Text, Caption, Flags);
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int) {
  TModalQuestion q;
  q.Kind = TModalKind::MessageDlg;
  q.Caption = MessageDlgCaption(DlgType);
  q.Text = Msg;
  q.DlgType = DlgType;
  q.Buttons = Buttons;
  q.Flags = MessageDlgFlags(DlgType, Buttons);
  return AskModal(q).Result;
}

void ShowMessage(const String& Msg) {
  TModalQuestion q;
  q.Kind = TModalKind::ShowMessage;
  q.Caption = Application->Title();
  q.Text = Msg;
  q.Flags = MB_OK;
  AskModal(q);
}

bool InputQuery(const String& Caption, const String& Prompt, String& Value) {
  TModalQuestion q;
  q.Kind = TModalKind::InputQuery;
  q.Caption = Caption;
  q.Text = Prompt;
  q.Value = Value;
  TModalAnswer a = AskModal(q);
  if (a.Result == 0) return false;
  Value = a.Value;
  return true;
}

String InputBox(const String& Caption, const String& Prompt, const String& Default) {
  String value = Default;
  InputQuery(Caption, Prompt, value);
  return value;
}
