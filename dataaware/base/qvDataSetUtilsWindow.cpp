// This file implements the dataset services that talk to the window system: the Escape probe of
// a filter run (the thread's message queue), the answer-table message box and the conversion of
// rich text to plain text through an invisible rich edit.
#include "Dialogs.h"
#include "RichEdit.h"
#include "Streams.h"
#include "qvDataSetUtils.h"

#include <algorithm>
#include <cstring>

bool qvFilterEscapePressed(TDataSet* DataSet) {
  MSG Msg;
  // Only looked at: a keystroke meant for a window stays in the queue.
  if (!PeekMessageA(&Msg, nullptr, WM_KEYDOWN, WM_CHAR, PM_NOREMOVE)) return false;
  if (Msg.message != WM_KEYDOWN || Msg.wParam != VK_ESCAPE) return false;
  // The same message: the first one of the range in the queue.
  PeekMessageA(&Msg, nullptr, WM_KEYDOWN, WM_CHAR, PM_REMOVE);
  qvSetFilterEnabled(DataSet, false);
  return true;
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
