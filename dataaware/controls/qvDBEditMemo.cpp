// This file implements the record view's multi-line edit (see qvDBEditMemo.h).
#include "qvDBEditMemo.h"

#include "qvRecordViewDialog.h"

VELBOR_IMPLEMENT_CLASS(TqvDBEditMemo)
VELBOR_PUBLISHED(TqvDBEditMemo,
  Prop("AutoSize", &Self::AutoSize, &Self::SetAutoSize).Default(false),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSingle),
  Prop("Frame", &Self::Frame, &Self::SetFrame),
  Prop("WantReturns", &Self::WantReturns, &Self::SetWantReturns).Default(true),
  Prop("WordWrap", &Self::WordWrap, &Self::SetWordWrap).Default(true))

namespace {

// The record view makes it by its class name.
struct TEditMemoClassRegistration {
  TEditMemoClassRegistration() { RegisterClass(TqvDBEditMemo::StaticClass()); }
} EditMemoClassRegistration;

}  // namespace

TqvDBEditMemo::TqvDBEditMemo(TComponent* AOwner) : TqvDBCustomEdit(AOwner) {
  SetAutoSize(false);
  SetWantReturns(true);
  SetWordWrap(true);
  AutoSelect = false;
}

void TqvDBEditMemo::KeyDown(WORD& Key, TShiftState Shift) {
  TqvDBCustomEdit::KeyDown(Key, Shift);
  if (Key != VK_F2 || Field() == nullptr || !qvMemoPopupAvailable()) return;
  // The window reads the field: what was typed goes to the record first.
  CommitToRecord();
  qvExecuteMemoPopup(this, Field());
  Key = 0;
}
