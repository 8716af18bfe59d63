// This file implements the combo box's drop-down list and its Items (see Qvdbcomb.h): the list's
// top-level window that leaves the focus with the combo, its incremental search, and its rows.
#include "Qvdbcomb.h"

#include <algorithm>

#include "DateTime.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvComboStringList)
VELBOR_IMPLEMENT_CLASS(TqvPopupListbox)

namespace {
// A pause this long restarts the search of an owner-drawn list.
constexpr unsigned SearchRestartMs = 1500;
}  // namespace

// --- TqvComboStringList -----------------------------------------------------------------------------

void TqvComboStringList::Changed() {
  TStringList::Changed();
  if (FCombo != nullptr) FCombo->FItemsChanged = true;
}

bool TqvComboStringList::ListBoxAllocated() const {
  return FCombo != nullptr && FCombo->FListBox != nullptr && FCombo->FListBox->HandleAllocated();
}

void TqvComboStringList::Sort() {
  TStringList::Sort();
  if (!ListBoxAllocated()) return;
  TStrings* Entries = FCombo->FListBox->Items();
  TStringList Sorted;
  Sorted.Assign(Entries);
  Sorted.Sort();
  Entries->Assign(&Sorted);
}

// --- TqvPopupListbox --------------------------------------------------------------------------------

TqvPopupListbox::TqvPopupListbox(TComponent* AOwner) : TCustomListBox(AOwner) {
  ControlStyle.Include(csReplicatable);
  ControlStyle.Include(csNoDesignVisible);
  SetVisible(false);
  SetTabStop(false);
}

void TqvPopupListbox::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  // A top-level window of its own, owned through the combo by its form.
  Params.Style = (Params.Style & ~DWORD(WS_CHILD | WS_VISIBLE)) | WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TqvPopupListbox::CreateWnd() {
  TCustomListBox::CreateWnd();
  // The list believes it has the focus: it draws its selection as focused, and a click in it does
  // not take the focus from the combo.
  CallWindowProcA(FDefWndProc, FHandle, WM_SETFOCUS, 0, 0);
}

void TqvPopupListbox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    default: TCustomListBox::Dispatch(Message); break;
  }
}

void TqvPopupListbox::KeyPress(char& Key) {
  TCustomListBox::KeyPress(Key);
  unsigned char Code = static_cast<unsigned char>(Key);
  if (Code == VK_ESCAPE) {
    SearchText.clear();
    return;
  }
  if (Code != VK_BACK && Code < 32) return;
  SearchKey(Key);
  Key = 0;
}

void TqvPopupListbox::SearchKey(char Key) {
  TqvDBCustomComboBox* C = FCombo;
  if (C == nullptr || !HandleAllocated()) return;
  unsigned char Code = static_cast<unsigned char>(Key);
  bool Backspace = Code == VK_BACK;
  String Shown = C->Text();
  int Caret = C->SelStart();
  int Selected = C->SelLength();
  if (C->IsOwnerDrawnStyle()) {
    unsigned Now = unsigned(ClockTicks());
    if (Now - SearchTickCount > SearchRestartMs) SearchText.clear();
    if (Backspace) {
      if (!SearchText.empty()) SearchText.pop_back();
    } else {
      SearchText += Key;
    }
  } else if (Backspace) {
    SearchText = Shown;
    if (!SearchText.empty()) {
      // Selection or the character before the caret, as Backspace takes it.
      int At = std::min(Caret + 1, int(SearchText.size()));
      int Count = std::max(Selected, 1);
      if (Selected == 0) At = std::max(1, std::min(Caret, int(SearchText.size())));
      SearchText.erase(std::size_t(At - 1), std::size_t(Count));
    }
  } else {
    SearchText = Shown.substr(0, std::size_t(Caret)) + Key + Shown.substr(std::size_t(Caret + Selected));
  }
  SearchTickCount = unsigned(ClockTicks());

  int Previous = ItemIndex();
  String Wanted = SearchText.substr(0, 255);
  int MRU = C->HistoryList()->GetMRUCount();
  LRESULT Found = SendMessageA(FHandle, LB_SELECTSTRING, WPARAM(MRU - 1), LPARAM(Wanted.c_str()));
  bool DropDownList = C->Style() == csDropDownList;
  if (Found == LB_ERR) {
    if (!Backspace) {
      if (!DropDownList) SetItemIndex(-1);
    } else if (SearchText.empty() && DropDownList && C->ShowMatchText) {
      C->SetSelStart(std::max(0, Caret - 1));
      C->SetSelLength(int(Shown.size()));
    } else if (!DropDownList) {
      C->SetText(SearchText);
      C->SetSelStart(int(SearchText.size()));
      SetItemIndex(-1);
    }
    return;
  }
  if (!Backspace) return;
  String Match = Items()->Strings(int(Found));
  if (DropDownList) {
    bool BeginsWith = Match.size() <= Shown.size() && qvSameText(Shown.substr(0, Match.size()), Match);
    if (qvSameText(Shown, Match) || !BeginsWith) {
      SetItemIndex(Previous);
      int At = std::max(0, Caret - 1);
      C->SetSelStart(At);
      C->SetSelLength(int(Shown.size()) - At);
    } else {
      C->SetText(Match);
      C->SetSelStart(int(Match.size()));
    }
    return;
  }
  C->SetText(SearchText);
  C->SetSelStart(int(SearchText.size()));
  if (!qvSameText(SearchText, Match)) SetItemIndex(-1);
}

void TqvPopupListbox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (FCombo != nullptr) FCombo->DrawListItem(Canvas(), Index, Rect, State);
  else TCustomListBox::DrawItem(Index, Rect, State);
}
