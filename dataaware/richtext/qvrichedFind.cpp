// This file implements find and replace in the rich-text control (the search goes from the caret
// to the end, wraps once to the start and stops where it began), its find, replace and font
// dialogs, and the hand-off of the text to a word processor for its spell check.
#include "qvriched.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "FileUtils.h"
#include "Format.h"
#include "ScopeGuard.h"

#include "CommonDialogs.h"
#include "Dialogs.h"
#include "Menus.h"

#include "Qvintl.h"
#include "qvRichOle.h"
#include "qvRichServices.h"

void TqvCustomRichEdit::CreateDialogs() {
  if (ComponentState().Contains(csDesigning)) return;
  FFindDialog = new TFindDialog(this);
  FFindDialog->Options = TFindOptions::FromBits(1552);  // hide direction, replace, replace all
  FFindDialog->OnFind = TNotifyEvent(this, &TqvCustomRichEdit::FindDialogFind);
  FFindDialog->OnClose = TNotifyEvent(this, &TqvCustomRichEdit::FindDialogClose);
  FReplaceDialog = new TReplaceDialog(this);
  FReplaceDialog->OnReplace = TNotifyEvent(this, &TqvCustomRichEdit::ReplaceDialogReplace);
  FReplaceDialog->OnFind = TNotifyEvent(this, &TqvCustomRichEdit::FindDialogFind);
  FReplaceDialog->OnClose = TNotifyEvent(this, &TqvCustomRichEdit::FindDialogClose);
  FFontDialog = new TFontDialog(this);
  FFontDialog->Device = fdBoth;
  FFontDialog->MinFontSize = 0;
  FFontDialog->MaxFontSize = 0;
  UpdatePopupMenu();
  if (PopupMenu() == nullptr) SetPopupMenu(FPopupMenuBuilt);
}

namespace {

TSearchTypes SearchOptionsOf(TFindDialog* Dialog) {
  TSearchTypes Options;
  if (Dialog->Options.Contains(frMatchCase)) Options.Include(stMatchCase);
  if (Dialog->Options.Contains(frWholeWord)) Options.Include(stWholeWord);
  return Options;
}

}  // namespace

void TqvCustomRichEdit::ShowFindDialog() {
  if (FFindDialog == nullptr) return;
  String Selected = SelText();
  FFindDialog->FindText = (Selected.empty() || Selected.find('\r') != String::npos) ? FLastFindText : Selected;
  FFindWrapped = false;
  FFindStartPos = SelStart();
  FSavedHideSelection = HideSelection();
  SetHideSelection(false);
  FFindDialog->Execute();
}

void TqvCustomRichEdit::ShowReplaceDialog() {
  if (FReplaceDialog == nullptr) return;
  String Selected = SelText();
  FReplaceDialog->FindText = (Selected.empty() || Selected.find('\r') != String::npos) ? FLastFindText : Selected;
  FFindWrapped = false;
  FFindStartPos = SelStart();
  FSavedHideSelection = HideSelection();
  SetHideSelection(false);
  FReplaceDialog->Execute();
}

void TqvCustomRichEdit::FindDialogFind(TObject* Sender) {
  auto* Dialog = dynamic_cast<TFindDialog*>(Sender);
  if (Dialog == nullptr) return;
  FLastFindText = Dialog->FindText;
  FFindDialog->FindText = FLastFindText;
  FindNext();
}

void TqvCustomRichEdit::ReplaceDialogReplace(TObject*) {
  FLastFindText = FReplaceDialog->FindText;
  ReplaceNext();
}

void TqvCustomRichEdit::FindDialogClose(TObject*) { SetHideSelection(FSavedHideSelection); }

void TqvCustomRichEdit::FindNext() {
  if (FFindDialog) FindAndReplace(FFindDialog, false, String());
}

void TqvCustomRichEdit::ReplaceNext() {
  if (FReplaceDialog) FindAndReplace(FReplaceDialog, true, FReplaceDialog->ReplaceText);
}

// The find text is sought after the caret; a search that reaches the end starts once more from
// the top and ends where it began. After a replacement the search goes on at the end of the
// replacement itself, so that a match right after it is not passed over.
void TqvCustomRichEdit::FindAndReplace(TFindDialog* Dialog, bool Replace, const String& ReplaceWith) {
  if (FLastFindText.empty()) return;
  int FindLength = int(FLastFindText.size());
  do {
    TSearchTypes Options = SearchOptionsOf(Dialog);
    bool Replaced = false;
    if (Replace) {
      int Start = SelStart();
      int Found = TCustomRichEdit::FindText(FLastFindText, Start, TextLength() - Start, Options);
      if (Found == Start && SelLength() == FindLength) {
        EditModified();
        if (FFindWrapped) FFindStartPos += int(ReplaceWith.size()) - FindLength;
        SetSelText(ReplaceWith);
        SetSelStart(Found + int(ReplaceWith.size()));
        Replaced = true;
      }
    }
    int From = SelStart() + (Replaced ? 0 : 1);
    int Match = From <= TextLength() ? TCustomRichEdit::FindText(FLastFindText, From, TextLength() - From, Options) : -1;
    if (FFindWrapped && Match > FFindStartPos) Match = -1;
    if (!FFindWrapped && Match < 0 && SelStart() > 0) {
      Match = TCustomRichEdit::FindText(FLastFindText, 0, TextLength(), Options);
      FFindWrapped = true;
      if (Match > FFindStartPos) Match = -1;
    }
    if (Match < 0) {
      MessageDlg(qvIntl->UserMessages()->LocateNoMoreMatches, mtInformation, {mbOK}, 0);
      FFindStartPos = SelStart();
      FFindWrapped = false;
      break;
    }
    SetSelStart(Match);
    SetSelLength(FindLength);
  } while (Dialog->Options.Contains(frReplaceAll));
}

bool TqvCustomRichEdit::ReplaceText(const String& SearchStr, const String& ReplaceStr, TSearchTypes Options) {
  int Start = SelStart();
  int Found = TCustomRichEdit::FindText(SearchStr, Start, TextLength(), Options);
  if (Found < 0) return false;
  SetSelStart(Found);
  SetSelLength(int(SearchStr.size()));
  SetSelText(ReplaceStr);
  SetSelStart(Found + int(ReplaceStr.size()));
  return true;
}

// The control's own request is marked as such for the window procedure, which adds the forward
// flag to the others. It goes forward through its range itself: this window searches a range
// backwards without the flag, and would find nothing after StartPos.
int TqvCustomRichEdit::FindText(const String& SearchStr, int StartPos, int Length, TSearchTypes Options) {
  FINDTEXTA Find{};
  Find.chrg.cpMin = StartPos;
  Find.chrg.cpMax = StartPos + Length;
  Find.lpstrText = SearchStr.c_str();
  WPARAM Flags = FR_DOWN;
  if (Options.Contains(stWholeWord)) Flags |= FR_WHOLEWORD;
  if (Options.Contains(stMatchCase)) Flags |= FR_MATCHCASE;
  bool Saved = FSettings.OwnFindRequest;
  FSettings.OwnFindRequest = true;
  TScopeGuard Restore([&] { FSettings.OwnFindRequest = Saved; });
  return int(SendRich(EM_FINDTEXT, Flags, LPARAM(&Find)));
}

bool TqvCustomRichEdit::SpellCheck() { return true; }

namespace {

// A text as the automation interfaces take it.
std::u16string Wide(const String& Text) {
  int Count = MultiByteToWideChar(1252, 0, Text.c_str(), -1, nullptr, 0);
  std::u16string Result(std::size_t(Count > 0 ? Count : 1), u'\0');
  if (Count > 0) MultiByteToWideChar(1252, 0, Text.c_str(), -1, reinterpret_cast<LPWSTR>(Result.data()), Count);
  return Result;
}

// Calls a method of the automation object by name, with string or integer arguments.
void Invoke(IDispatch* Object, const char16_t* Name, std::initializer_list<VARIANT> Args) {
  LPOLESTR Names[] = {reinterpret_cast<LPOLESTR>(const_cast<char16_t*>(Name))};
  DISPID Id = 0;
  HRESULT Status = Object->GetIDsOfNames(IID_NULL, Names, 1, LOCALE_USER_DEFAULT, &Id);
  if (FAILED(Status)) throw EOleError(Format("Méthode d'automation inconnue (%x)"_a, {int(Status)}));
  std::vector<VARIANT> Reversed(Args.begin(), Args.end());
  std::reverse(Reversed.begin(), Reversed.end());
  DISPPARAMS Params{Reversed.data(), nullptr, UINT(Reversed.size()), 0};
  Status = Object->Invoke(Id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &Params, nullptr, nullptr, nullptr);
  if (FAILED(Status)) throw EOleError(Format("Erreur d'automation (%x)"_a, {int(Status)}));
}

struct TOwnedString {
  VARIANT Value;
  explicit TOwnedString(const String& Text) {
    VariantInit(&Value);
    V_VT(&Value) = VT_BSTR;
    V_BSTR(&Value) = SysAllocString(reinterpret_cast<LPCOLESTR>(Wide(Text).c_str()));
  }
  ~TOwnedString() { VariantClear(&Value); }
};

VARIANT IntegerArgument(int Value) {
  VARIANT V;
  VariantInit(&V);
  V_VT(&V) = VT_I4;
  V_I4(&V) = Value;
  return V;
}

}  // namespace

bool TqvCustomRichEdit::SpellCheckText(const String& FileName) {
  CLSID Class{};
  IDispatch* Word = nullptr;
  HRESULT Status = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(u"Word.Basic"), &Class);
  if (SUCCEEDED(Status))
    Status = CoCreateInstance(Class, nullptr, CLSCTX_SERVER, IID_IDispatch, reinterpret_cast<void**>(&Word));
  if (FAILED(Status) || Word == nullptr) {
    MessageDlg(qvIntl->UserMessages()->RichEditMSWordNotFound, mtInformation, {mbOK}, 0);
    return false;
  }
  TScopeGuard ReleaseWord([&] { Word->Release(); });
  String TempFile;
  if (!CreateTempFileName(TempFile)) {
    MessageDlg("Fail to create temporary file.", mtError, {mbOK}, 0);
    return true;
  }
  TCursor SavedCursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  TScopeGuard Close([&] {
    Screen->SetCursor(crArrow);
    try {
      Invoke(Word, u"FileClose", {IntegerArgument(2)});
      Invoke(Word, u"FileExit", {});
    } catch (const Exception&) {
      // The word processor may already be gone; the file is deleted all the same.
    }
    DeleteFileA(TempFile.c_str());
    Screen->SetCursor(SavedCursor);
  });
  GetRichLines()->SaveToFile(TempFile);
  TOwnedString Temp(TempFile);
  if (!FileName.empty()) {
    TOwnedString Name(FileName);
    Invoke(Word, u"FileOpen", {Name.Value});
    Invoke(Word, u"InsertFile", {Temp.Value});
  } else {
    Invoke(Word, u"FileOpen", {Temp.Value});
  }
  Invoke(Word, u"StartOfDocument", {});
  Invoke(Word, u"AppMinimize", {});
  Invoke(Word, u"FilePrint", {IntegerArgument(0)});
  return true;
}
