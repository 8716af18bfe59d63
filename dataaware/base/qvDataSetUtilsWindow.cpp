// This file implements the dataset services that talk to the window system: the Escape probe of
// a filter run (the thread's message queue), the answer-table message box and the conversion of
// rich text to plain text through an invisible rich edit.
#include "Dialogs.h"
#include "RichEdit.h"
#include "Streams.h"
#include "qvDataSetUtils.h"

#include <algorithm>
#include <cstring>
#include <vector>

bool qvFilterEscapePressed(TDataSet* DataSet) {
  MSG Msg;
  // No key-down waiting: nothing is touched.
  if (!PeekMessageA(&Msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) return false;
  MSG First;
  PeekMessageA(&First, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE);
  bool Found = false;
  if (First.message == WM_KEYDOWN && First.wParam == VK_ESCAPE) {
    // The Escape leads the keyboard messages: it alone is taken.
    PeekMessageA(&Msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE);
    Found = true;
  } else {
    // The queue can only be read from its head: the keyboard messages are taken out, the first
    // Escape key-down stays out and the others go back in their order (a key-up of the Enter that
    // started a long filter must not hide the Escape behind it). They come back as posted
    // messages, which the thread reads before any input still queued after them.
    std::vector<MSG> Others;
    while (Others.size() < 4096 && PeekMessageA(&Msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      if (!Found && Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE) Found = true;
      else Others.push_back(Msg);
    }
    for (const MSG& Other : Others) {
      if (Other.hwnd) PostMessageA(Other.hwnd, Other.message, Other.wParam, Other.lParam);
      else PostThreadMessageA(GetCurrentThreadId(), Other.message, Other.wParam, Other.lParam);
    }
  }
  if (Found) qvSetFilterEnabled(DataSet, false);
  return Found;
}

bool qvPrepareAnswerTable(TDataSet*, void*, const String& AnswerName) {
  if (AnswerName.empty()) return false;
  if (AnswerName[0] == ':') {
    std::size_t Second = AnswerName.find(':', 1);
    String Alias = AnswerName.substr(1, Second == String::npos ? String::npos : Second - 1);
    if (qvGetAliasPath(Alias).empty()) {
      MessageDlg("Invalid Alias in QBE", mtError, TMsgDlgButtons{mbOK}, 0);
      return false;
    }
  }
  // Answer tables are made by the desktop database engine, which has no counterpart here.
  return false;
}

void qvRichTextToPlainBuffer(TWinControl* Owner, char* Buffer, int& Length, TMemoryStream*& Stream,
                             TRichEdit*& RichEdit) {
  if (!Stream) Stream = new TMemoryStream;
  Stream->Clear();
  if (Length > 0) Stream->Write(Buffer, Length);
  Stream->SetPosition(0);
  if (!RichEdit) {
    RichEdit = new TRichEdit(Owner);
    RichEdit->SetVisible(false);
    RichEdit->SetParent(Owner);
  }
  RichEdit->PlainText = false;
  RichEdit->Lines()->LoadFromStream(Stream);
  String Plain = RichEdit->Text();
  std::size_t Count = std::min<std::size_t>(Plain.size(), Length > 0 ? std::size_t(Length) : 0);
  std::memcpy(Buffer, Plain.data(), Count);
  Buffer[Count] = 0;
  Length = int(Count);
}
