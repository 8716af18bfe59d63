// This file implements TqvDBEditMemo, the multi-line data-aware edit the record view places for a
// memo field while its edit frame is active: word-wrapped, taking Enter, not selecting its text
// on entry and not sizing itself. F2 writes the text to the record and opens the memo window for
// the bound field.
#pragma once

#include "qvdbedit.h"

class TqvDBEditMemo : public TqvDBCustomEdit {
  VELBOR_DECLARE_CLASS(TqvDBEditMemo, TqvDBCustomEdit)
 public:
  explicit TqvDBEditMemo(TComponent* AOwner);

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
};
