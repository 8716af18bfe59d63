// This file implements the data-aware edit's typing: keys handed to a parent grid, the edit-state
// rules of each key, the character filter of numeric fields, date and time completion on Space,
// and the clipboard commands (see qvdbedit.h).
#include "qvdbedit.h"

#include "Clipbrd.h"
#include "DateTime.h"
#include "FormatSettings.h"
#include "Forms.h"
#include "StrUtils.h"
#include "qvControlUtils.h"
#include "qvDataSetUtils.h"
#include "qvDateScan.h"
#include "qvPictureValidator.h"

namespace {

bool ShiftHeld(TShiftState Shift, TShiftStateItem Item) { return Shift.Contains(Item); }

String TwoDigits(int Value) {
  String S = std::to_string(Value);
  return S.size() < 2 ? "0" + S : S;
}

bool ContainsNoCase(const String& Text, const char* Part) {
  String Upper = AnsiUpperCase(Text);
  return Upper.find(AnsiUpperCase(Part)) != String::npos;
}

}  // namespace

// --- Grids ------------------------------------------------------------------------------------------

void TqvDBCustomEdit::GiveKeyToGrid(TWinControl* Grid, WORD Key, TShiftState Shift) {
  (void)Shift;
  if (Grid->CanFocus()) Grid->SetFocus();
  Grid->Perform(WM_KEYDOWN, Key, 0);
}

// --- Keys -------------------------------------------------------------------------------------------

void TqvDBCustomEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (TWinControl* Grid = ParentGrid("TCustomGrid"); Grid != nullptr && !(IsMemoField() && !IsWholeTextSelected())) {
    bool Inspector = qvIsInInspector(this);
    bool AlwaysEditor = (qvGetOrdPropByName(Grid, "Options") & (1LL << 1)) != 0;
    bool Ctrl = ShiftHeld(Shift, ssCtrl);
    int Caret = SelStart();
    int Length = int(Text().size());
    bool Hand = false;
    switch (Key) {
      case VK_ESCAPE: Hand = !Modified(); break;
      case VK_PRIOR:
      case VK_NEXT:
      case VK_UP:
      case VK_DOWN: Hand = !ShiftHeld(Shift, ssAlt); break;
      case VK_LEFT:
        if (Inspector) break;
        [[fallthrough]];
      case VK_HOME: Hand = AlwaysEditor && (Ctrl || Caret == 0 || IsWholeTextSelected()); break;
      case VK_RIGHT:
        if (Inspector) break;
        [[fallthrough]];
      case VK_END:
        Hand = AlwaysEditor && (Ctrl || (Caret == Length && (SelLength() == 0 || IsWholeTextSelected())));
        break;
      case VK_INSERT: Hand = !ShiftHeld(Shift, ssShift); break;
      case VK_DELETE: Hand = Ctrl; break;
      default: break;
    }
    if (!CanEditText() && (Key == VK_END || Key == VK_HOME || Key == VK_LEFT || Key == VK_RIGHT)) Hand = true;
    if (Hand) {
      GiveKeyToGrid(Grid, Key, Shift);
      Key = 0;
      return;
    }
    if (Key == VK_F2) {
      if (Grid->OnKeyDown) Grid->OnKeyDown(Grid, Key, Shift);
      if (Key != 0 && CanEditText()) SetSelLength(0);
      return;
    }
    bool Active = Screen->ActiveControl() == this;
    if (Key != 0 && Grid->OnKeyDown && !((Key == VK_RETURN || Key == VK_TAB) && !Active)) {
      Grid->OnKeyDown(Grid, Key, Shift);
      if (Key == 0) return;
    }
  }
  TqvCustomMaskEdit::KeyDown(Key, Shift);
  if (Key == VK_DELETE || (Key == VK_INSERT && ShiftHeld(Shift, ssShift))) {
    if (DataSource() != nullptr) {
      if (CannotAutoEdit()) {
        Key = 0;
      } else {
        FDataLink->Edit();
        MarkModified(true);
      }
    } else {
      MakeUnboundWritable();
    }
  }
}

void TqvDBCustomEdit::KeyUp(WORD& Key, TShiftState Shift) {
  TqvCustomMaskEdit::KeyUp(Key, Shift);
  if (Key == VK_DELETE) IsValidText(Text());
}

void TqvDBCustomEdit::KeyPress(char& Key) {
  if (TWinControl* Grid = ParentGrid("TCustomGrid")) {
    if (Grid->OnKeyPress) Grid->OnKeyPress(Grid, Key);
    if (Key == 0) return;
  }
  unsigned char Code = static_cast<unsigned char>(Key);
  if (Code == VK_TAB) {
    Key = 0;
    return;
  }
  TField* F = Field();
  bool Typing = Code >= 32 || Code == VK_BACK || (Code == VK_RETURN && WantReturns());
  if (Typing) {
    if (CannotAutoEdit()) {
      Key = 0;
      return;
    }
    if (DataSource() == nullptr) {
      if (!MakeUnboundWritable()) return;
    } else if (F != nullptr && qvIsCalcOrLookupField(F) && !ReadOnly()) {
      TDataSet* DataSet = F->DataSet();
      if (F->ReadOnly() || DataSet == nullptr || !DataSet->CanModify()) return;
      DataSet->Edit();
      TCustomEdit::SetReadOnly(false);
    }
  }

  // Space completes a date or time unless an auto-filling picture does the typing.
  if (Code == ' ' && DateTimeKind() != qvDefault && AutoFillDate && !(HasPicture() && GetPicture()->AutoFill())) {
    StartEditing();
    if (GetKeyState(VK_CONTROL) >= 0 && AutoFillDateTime(Key)) {
      IsValidText(Text());
      Key = 0;
      return;
    }
  }

  char Typed = Key;
  TqvCustomMaskEdit::KeyPress(Key);
  if (FKeyHandledByPicture) MarkModified(true);
  bool Swallowed = false;
  if (Key == 0 && IsMasked() && !FKeyHandledByPicture && Typed != 0) {
    // The edit mask took the character itself: the checks below still see it.
    Key = Typed;
    Swallowed = true;
  }
  if (Key == 0) return;
  Code = static_cast<unsigned char>(Key);

  String Unused;
  if (Code >= 32 && F != nullptr && !MapValueToDisplay(String(), Unused)) {
    bool Accepted;
    auto* Integer = dynamic_cast<TIntegerField*>(F);
    auto* Float = dynamic_cast<TFloatField*>(F);
    if ((Integer != nullptr || Float != nullptr) && !GetDisplayFormat().empty()) {
      Accepted = Key == '+' || Key == '-' || (Key >= '0' && Key <= '9');
      if (Float != nullptr) Accepted = Accepted || Key == 'E' || Key == 'e' || Key == FormatSettings.DecimalSeparator;
    } else {
      Accepted = F->IsValidChar(Key);
    }
    if (!Accepted) {
      MessageBeep(0);
      Key = 0;
      return;
    }
  }

  bool InDBGrid = ParentGrid("TqvCustomDBGrid") != nullptr;
  if (Code == VK_BACK || Code == 22 || Code == 24 || Code >= 32) {
    FDataLink->Edit();
    MarkModified(true);
    if (!CanEditText()) Key = 0;
  } else if (Code == VK_TAB) {
    if (InDBGrid) Key = 0;
  } else if (Code == VK_RETURN) {
    if (WantReturns()) {
      FDataLink->Edit();
      MarkModified(true);
    } else if (InDBGrid) {
      Key = 0;
    }
  } else if (Code == VK_ESCAPE) {
    Reset();
    Invalidate();
    Key = 0;
    if (TWinControl* Grid = ParentGrid("TqvCustomDBGrid"); Grid != nullptr && Grid->CanFocus()) Grid->SetFocus();
  }
  if (Swallowed) Key = 0;
}

// Space completes the date or time part under the caret from today's date and the time now.
bool TqvDBCustomEdit::AutoFillDateTime(char& Key) {
  (void)Key;
  if (TCustomEdit::ReadOnly()) {
    if (ReadOnly()) MessageBeep(0);
    return false;
  }
  String Current = Text();
  bool WholeSelected = IsWholeTextSelected();
  if (!WholeSelected && !(SelStart() == int(Current.size()) && SelLength() == 0)) return false;
  String T = WholeSelected ? String() : Current;
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, MSec = 0;
  DecodeDateTime(Now(), Year, Month, Day, Hour, Minute, Second, MSec);
  if (CannotAutoEdit()) return true;
  FDataLink->Edit();

  const TFormatSettings& FS = FormatSettings;
  char DS = FS.DateSeparator;
  char TS = FS.TimeSeparator;
  TqvEditDataType Kind = DateTimeKind();
  int Caret = int(T.size());
  auto EndsWith = [&](char C) { return !T.empty() && T.back() == C; };
  auto SetResult = [&] {
    SetText(T);
    SetSelStart(int(T.size()));
    MarkModified(true);
  };
  int DateSeps = 0;
  for (char C : T) DateSeps += C == DS;
  bool DateComplete = DateSeps >= 2 && !EndsWith(DS);

  int Part;
  if (Kind == qvEdtTime) {
    Part = qvGetTimePartAt(Caret, T);
  } else if (T.empty()) {
    int Order = qvGetDateOrder(FS.ShortDateFormat);
    Part = Order == doDMY ? dpDay : Order == doYMD ? dpYear : dpMonth;
  } else if (!DateComplete && !EndsWith(DS)) {
    T += DS;
    SetResult();
    return true;
  } else {
    Part = qvGetDateTimePartAt(Caret, T, false);
  }
  if ((DateComplete || Kind == qvEdtTime) && Part <= dpYear) Part = dpHour;

  auto DateSeparatorAfter = [&] {
    int Count = 0;
    for (char C : T) Count += C == DS;
    if (!EndsWith(DS) && Count < 2) T += DS;
  };
  if (Part == dpDay || Part == dpMonth) {
    bool Two = ContainsNoCase(FS.ShortDateFormat, Part == dpDay ? "dd" : "mm");
    int Value = Part == dpDay ? Day : Month;
    T += Two ? TwoDigits(Value) : std::to_string(Value);
    DateSeparatorAfter();
    SetResult();
    return true;
  }
  if (Part == dpYear) {
    bool Four = FS.ShortDateFormat.find("yyyy") != String::npos;
    T += Four ? std::to_string(Year) : TwoDigits(Year % 100);
    DateSeparatorAfter();
    SetResult();
    return true;
  }
  if (Kind == qvEdtDate) return true;

  bool HasAmPm = !FS.TimeAMString.empty();
  int TimeSeps = 0;
  for (char C : T) TimeSeps += C == TS;
  bool TimeComplete = TimeSeps >= 2 && !EndsWith(TS);
  if (HasAmPm) {
    String Upper = AnsiUpperCase(T);
    auto Holds = [&](const String& S) { return !S.empty() && Upper.find(AnsiUpperChar(S[0])) != String::npos; };
    if (Holds(FS.TimeAMString) || Holds(FS.TimePMString)) return true;
  } else if (TimeComplete) {
    return true;
  }
  if (TimeComplete && Part == dpSecond) Part = dpAmPm;
  switch (Part) {
    case dpHour:
      if (Kind == qvEdtDateTime && !EndsWith(' ')) {
        T += ' ';
        break;
      }
      T += std::to_string(HasAmPm ? (Hour % 12 == 0 ? 12 : Hour % 12) : Hour);
      T += TS;
      break;
    case dpMinute:
      if (!EndsWith(TS)) {
        T += TS;
        break;
      }
      T += TwoDigits(Minute);
      T += TS;
      break;
    case dpSecond: T += TwoDigits(Second); break;
    case dpAmPm:
      if (!EndsWith(' ')) T += ' ';
      T += Hour < 12 ? "AM" : "PM";
      break;
    default: break;
  }
  SetResult();
  return true;
}

// --- Special keys -----------------------------------------------------------------------------------

void TqvDBCustomEdit::CNKeyDown(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) {
    TqvCustomMaskEdit::Dispatch(Message);
    return;
  }
  TWMKey Key(Message);
  WORD Code = Key.CharCode();
  bool Ctrl = GetKeyState(VK_CONTROL) < 0;
  if (WantReturns() && Code == VK_RETURN && !Ctrl) {
    Message.Result = 0;
    return;
  }
  if (TWinControl* Grid = ParentGrid("TCustomGrid")) {
    bool Tabs = (qvGetOrdPropByName(Grid, "Options") & (1LL << 9)) != 0;  // goTabs
    if (Code == VK_RETURN || (Code == VK_TAB && Tabs)) {
      GiveKeyToGrid(Grid, Code, KeyDataToShiftState(Key.KeyData()));
      Message.Result = 1;
      return;
    }
  }
  if ((Code == VK_RETURN || Code == VK_ESCAPE) && HandleAllocated() &&
      (GetWindowLongA(FHandle, GWL_STYLE) & ES_MULTILINE) != 0 &&
      (!Modified() || (Code == VK_RETURN && !WantReturns()))) {
    // A multi-line window keeps Enter and Escape for itself: the form gets them first.
    if (TCustomForm* Form = GetParentForm(this)) {
      if (Form->Perform(CM_DIALOGKEY, Code, Key.KeyData()) != 0) {
        Message.Result = 1;
        return;
      }
    }
  }
  TqvCustomMaskEdit::Dispatch(Message);
}

// --- Clipboard --------------------------------------------------------------------------------------

// Pasting never changes the clipboard: a borderless single-line edit takes the clipboard's text up
// to its first line end as if it were typed.
void TqvDBCustomEdit::WMPaste(TMessage& Message) {
  if (DataSource() == nullptr && !MakeUnboundWritable()) return;
  if (CannotAutoEdit()) return;
  StartEditing();
  bool FirstLineOnly = BorderStyle() == bsNone && !WordWrap() && PasswordChar() == 0 && !IsMasked();
  if (FirstLineOnly) {
    if (TCustomEdit::ReadOnly()) return;
    String Pasted = Clipboard()->AsText();
    std::size_t End = Pasted.find_first_of("\r\n");
    if (End != String::npos) Pasted.resize(End);
    SendMessageA(Handle(), EM_REPLACESEL, TRUE, LPARAM(Pasted.c_str()));
  } else {
    TqvCustomMaskEdit::Dispatch(Message);
  }
  MarkModified(true);
  if (HasPicture()) {
    String Pasted = Text();
    String Matched = Pasted;
    TqvPictureValidator Validator(GetPicture()->PictureMask(), GetPicture()->AutoFill());
    Validator.MatchPicture(Matched, GetPicture()->AutoFill());
    if (Matched != Pasted) {
      int Caret = SelStart();
      SetTextFromPicture(Matched);
      // Setting the text put the caret at the start: it goes back, past what the picture added.
      if (SelStart() == 0) SetSelStart(Caret + int(Matched.size()) - int(Pasted.size()));
    }
  }
  IsValidText(Text());
}

void TqvDBCustomEdit::WMCut(TMessage& Message) {
  if (CannotAutoEdit()) return;
  StartEditing();
  TqvCustomMaskEdit::Dispatch(Message);
  MarkModified(true);
  IsValidText(Text());
}

void TqvDBCustomEdit::WMUndo(TMessage& Message) {
  if (CannotAutoEdit()) return;
  StartEditing();
  TqvCustomMaskEdit::Dispatch(Message);
  MarkModified(true);
}
