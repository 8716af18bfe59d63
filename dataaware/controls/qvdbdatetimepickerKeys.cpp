// This file implements the date and time picker's formats and parts, its keys and typed digits,
// its clipboard and its clicks (see qvdbdatetimepicker.h).
#include "qvdbdatetimepicker.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "DateTimeFormat.h"
#include "FormatSettings.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "qvControlUtils.h"
#include "qvPropAccess.h"

namespace {

TDateTime WholeDay(TDateTime Value) { return std::trunc(Value); }
double TimeFraction(TDateTime Value) { return std::fabs(Value - std::trunc(Value)); }

char Lower(char C) { return char(std::tolower(static_cast<unsigned char>(C))); }

// One piece of an expanded format: a token (lower-case letters, or an AM/PM token as written) or
// one literal character.
struct TPiece {
  String Token;
  char Literal = 0;
};

bool StartsNoCase(const String& Text, std::size_t At, const char* Word) {
  for (std::size_t i = 0; Word[i] != 0; ++i)
    if (At + i >= Text.size() || Lower(Text[At + i]) != Word[i]) return false;
  return true;
}

std::vector<TPiece> Tokenize(const String& Format) {
  std::vector<TPiece> Pieces;
  String TimeSep(1, FormatSettings.TimeSeparator);
  for (std::size_t i = 0; i < Format.size();) {
    char L = Lower(Format[i]);
    if (L == 'a') {
      const char* Forms[] = {"am/pm", "a/p", "ampm"};
      bool Found = false;
      for (const char* Form : Forms) {
        if (StartsNoCase(Format, i, Form)) {
          std::size_t Length = std::char_traits<char>::length(Form);
          Pieces.push_back({Format.substr(i, Length), 0});
          i += Length;
          Found = true;
          break;
        }
      }
      if (!Found) Pieces.push_back({String(), Format[i++]});
      continue;
    }
    if (L == 'd' || L == 'm' || L == 'y' || L == 'h' || L == 'n' || L == 's') {
      std::size_t End = i + 1;
      while (End < Format.size() && Lower(Format[End]) == L) ++End;
      String Token(End - i, L);
      // m or mm just after "hour, time separator" is the minute.
      if (L == 'm' && Token.size() <= 2) {
        for (std::size_t k = Pieces.size(); k-- > 0;) {
          if (Pieces[k].Token.empty() && (Pieces[k].Literal == ':' || Pieces[k].Literal == FormatSettings.TimeSeparator))
            continue;
          if (!Pieces[k].Token.empty() && Pieces[k].Token[0] == 'h' && k + 1 < Pieces.size()) Token.assign(Token.size(), 'n');
          break;
        }
      }
      Pieces.push_back({Token, 0});
      i = End;
      continue;
    }
    Pieces.push_back({String(), Format[i++]});
  }
  return Pieces;
}

// The kind of a token: d day, w week day, m month, y year, h hour, n minute, s second, a AM/PM.
char TokenKind(const String& Token) {
  if (Token.empty()) return 0;
  char L = Lower(Token[0]);
  if (L == 'd') return Token.size() >= 3 ? 'w' : 'd';
  if (L == 'a') return 'a';
  return L;
}

bool IsDateKind(char Kind) { return Kind == 'd' || Kind == 'w' || Kind == 'm' || Kind == 'y'; }

bool IsPartFor(char Kind, TqvDTEditDataType Type) {
  if (Kind == 0) return false;
  if (Type == qvDTEdtDateTime) return true;
  return IsDateKind(Kind) == (Type == qvDTEdtDate);
}

String TwoDigits(int N) {
  String S = std::to_string(N);
  return S.size() < 2 ? "0" + S : S;
}

// What the formatting shows for a token.
String TokenText(const String& Token, TDateTime Value, bool AmPm) {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
  DecodeDateTime(Value, Year, Month, Day, Hour, Min, Sec, MSec);
  std::size_t N = Token.size();
  switch (TokenKind(Token)) {
    case 'd': return N == 1 ? std::to_string(Day) : TwoDigits(Day);
    case 'w': return N == 3 ? FormatSettings.ShortDayNames[DayOfWeek(Value) - 1] : FormatSettings.LongDayNames[DayOfWeek(Value) - 1];
    case 'm':
      if (N == 1) return std::to_string(Month);
      if (N == 2) return TwoDigits(Month);
      return N == 3 ? FormatSettings.ShortMonthNames[Month - 1] : FormatSettings.LongMonthNames[Month - 1];
    case 'y': {
      String Y = std::to_string(Year);
      while (Y.size() < 4) Y = "0" + Y;
      return N <= 2 ? Y.substr(2) : Y;
    }
    case 'h': {
      int H = Hour;
      if (AmPm) H = Hour % 12 == 0 ? 12 : Hour % 12;
      return N == 1 ? std::to_string(H) : TwoDigits(H);
    }
    case 'n': return N == 1 ? std::to_string(Min) : TwoDigits(Min);
    case 's': return N == 1 ? std::to_string(Sec) : TwoDigits(Sec);
    case 'a': {
      String L;
      for (char C : Token) L += Lower(C);
      if (L == "ampm") return Hour < 12 ? FormatSettings.TimeAMString : FormatSettings.TimePMString;
      std::size_t Slash = Token.find('/');
      return Hour < 12 ? Token.substr(0, Slash) : Token.substr(Slash + 1);
    }
  }
  return String();
}

// Replaces every Find by With, left to right, without rescanning what was put in.
String ReplaceAll(const String& Text, const String& Find, const String& With) {
  String Out;
  for (std::size_t i = 0; i < Text.size();) {
    if (Text.compare(i, Find.size(), Find) == 0) {
      Out += With;
      i += Find.size();
    } else {
      Out += Text[i++];
    }
  }
  return Out;
}

bool HasAmPm(const String& Format) {
  return std::any_of(Format.begin(), Format.end(), [](char C) { return Lower(C) == 'a'; });
}

}  // namespace

// --- Formats and parts ------------------------------------------------------------------------------

String TqvDBCustomDateTimePicker::GetEffectiveDisplayFormat(bool UseDefaults) {
  if (!FDisplayFormatDT.empty()) return FDisplayFormatDT;
  TField* F = Field();
  if (auto* DateTimeField = dynamic_cast<TDateTimeField*>(F); DateTimeField != nullptr && !DateTimeField->DisplayFormat().empty())
    return DateTimeField->DisplayFormat();
  if (!UseDefaults) return String();
  bool Long = FDateFormat == dfLong;
  bool TimeKind = F != nullptr ? dynamic_cast<TTimeField*>(F) != nullptr : FUnboundDataType == qvDTEdtTime;
  bool DateKind = F != nullptr ? dynamic_cast<TDateField*>(F) != nullptr : FUnboundDataType == qvDTEdtDate;
  if (TimeKind) return Long ? FormatSettings.LongTimeFormat : FormatSettings.ShortTimeFormat;
  if (DateKind) return Long ? FormatSettings.LongDateFormat : FormatSettings.ShortDateFormat;
  return Long ? FormatSettings.LongDateFormat + " " + FormatSettings.LongTimeFormat : String("c");
}

String TqvDBCustomDateTimePicker::GetExpandedDisplayFormat() {
  String Format = GetEffectiveDisplayFormat(true);
  Format = ReplaceAll(Format, "c", FormatSettings.ShortDateFormat + " " + FormatSettings.LongTimeFormat);
  Format = ReplaceAll(Format, "dddddd", FormatSettings.LongDateFormat);
  Format = ReplaceAll(Format, "ddddd", FormatSettings.ShortDateFormat);
  Format = ReplaceAll(Format, "tt", FormatSettings.LongTimeFormat);
  return ReplaceAll(Format, "t", FormatSettings.ShortTimeFormat);
}

TqvDTEditDataType TqvDBCustomDateTimePicker::Kind() {
  TField* F = Field();
  if (F == nullptr) return FUnboundDataType;
  if (dynamic_cast<TDateField*>(F) != nullptr) return qvDTEdtDate;
  if (dynamic_cast<TTimeField*>(F) != nullptr) return qvDTEdtTime;
  String Format = GetEffectiveDisplayFormat(false);
  if (Format.empty()) return qvDTEdtDateTime;
  for (const TPiece& Piece : Tokenize(ReplaceAll(Format, "c", FormatSettings.ShortDateFormat)))
    if (IsDateKind(TokenKind(Piece.Token))) return qvDTEdtDateTime;
  return qvDTEdtTime;
}

bool TqvDBCustomDateTimePicker::HasTimePart() {
  TField* F = Field();
  if (F == nullptr) return FUnboundDataType != qvDTEdtDate;
  if (dynamic_cast<TDateField*>(F) != nullptr) return false;
  String Format = GetEffectiveDisplayFormat(true);
  for (char C : Format) {
    char U = char(std::toupper(static_cast<unsigned char>(C)));
    if (U == 'H' || U == 'N' || U == 'S' || U == 'T' || U == 'C') return true;
  }
  return false;
}

int TqvDBCustomDateTimePicker::PartCount() {
  TqvDTEditDataType Type = Kind();
  int Count = 0;
  for (const TPiece& Piece : Tokenize(GetExpandedDisplayFormat()))
    if (IsPartFor(TokenKind(Piece.Token), Type)) ++Count;
  return Count;
}

TqvDTPartInfo TqvDBCustomDateTimePicker::GetPartInfo(int N, TDateTime Value) {
  TqvDTPartInfo Info;
  String Format = GetExpandedDisplayFormat();
  bool AmPm = HasAmPm(Format);
  TqvDTEditDataType Type = Kind();
  String Text;
  int Counter = 0;
  for (const TPiece& Piece : Tokenize(Format)) {
    if (Piece.Token.empty()) {
      char C = Piece.Literal;
      if (C == '/') C = FormatSettings.DateSeparator;
      else if (C == ':') C = FormatSettings.TimeSeparator;
      Text += C;
      continue;
    }
    String Shown = TokenText(Piece.Token, Value, AmPm);
    int Start = int(Text.size());
    Text += Shown;
    if (!IsPartFor(TokenKind(Piece.Token), Type)) continue;
    if (++Counter == N) {
      Info.Text = Text;
      Info.Start = Start;
      Info.Length = int(Shown.size());
      Info.Token = Piece.Token;
      return Info;
    }
  }
  return Info;
}

bool TqvDBCustomDateTimePicker::UsesDefaultFormat() {
  if (Kind() != qvDTEdtDateTime) return false;
  TField* F = Field();
  if (F != nullptr) {
    auto* DateTimeField = dynamic_cast<TDateTimeField*>(F);
    String FieldFormat = DateTimeField != nullptr ? DateTimeField->DisplayFormat() : String();
    if (FDisplayFormatDT.empty() && FieldFormat.empty()) return true;
    return FieldFormat == "c";
  }
  return FDisplayFormatDT == "c" || (FDisplayFormatDT.empty() && FDateFormat == dfShort);
}

int TqvDBCustomDateTimePicker::VisiblePartCount() {
  int Count = PartCount();
  if (!UsesDefaultFormat()) return Count;
  int Length = int(Text().size());
  for (int N = 1; N <= Count; ++N)
    if (int(GetPartInfo(N, FValue).Text.size()) >= Length) return N;
  return Count;
}

bool TqvDBCustomDateTimePicker::IsTextComplete() {
  if (!UsesDefaultFormat()) return true;
  return Text().size() >= GetPartInfo(PartCount(), FValue).Text.size();
}

String TqvDBCustomDateTimePicker::FormatValue(TDateTime Value) {
  bool Named = !DataField().empty() || DataSource() != nullptr;
  if (Named && Field() == nullptr) return String();
  if (WholeDay(Value) == 0 && Kind() != qvDTEdtTime) return String();
  bool Explicit = !GetEffectiveDisplayFormat(false).empty();
  if (Explicit || FDateFormat == dfShort || TimeFraction(Value) != 0)
    return FormatDateTime(GetEffectiveDisplayFormat(true), Value);
  return FormatDateTime(FormatSettings.LongDateFormat, Value);
}

void TqvDBCustomDateTimePicker::SelectCurrentPart() {
  if (!HandleAllocated()) return;
  if (!CanEditValue()) {
    SelectAll();
    return;
  }
  if (IsDroppedDown()) {
    SetSelStart(0);
    SetSelLength(0);
    return;
  }
  TqvDTPartInfo Part = GetPartInfo(FCurrentPart, FValue);
  SetSelStart(Part.Start);
  SetSelLength(FTyping ? 0 : Part.Length);
  if (FTyping) SetSelStart(Part.Start + int(FTypedDigits.size()));
}

int TqvDBCustomDateTimePicker::TwoDigitYearToFull(int YY) const {
  int Year = YY + (Epoch / 100) * 100;
  if (YY < Epoch % 100) Year += 100;
  return Year;
}

// --- Composition ------------------------------------------------------------------------------------

TqvDBCustomDateTimePicker::TWorking TqvDBCustomDateTimePicker::Decode(TDateTime Value) const {
  TWorking W;
  DecodeDateTime(Value, W.Year, W.Month, W.Day, W.Hour, W.Minute, W.Second, W.MSec);
  if (W.Year == 0) {
    W.Year = 1899;
    W.Month = 12;
    W.Day = 30;
  }
  return W;
}

bool TqvDBCustomDateTimePicker::InsideLimits(int Year, int Month, int Day) const {
  TDateTime D = 0;
  if (!TryEncodeDate(Year, Month, Day, D)) return false;
  return D >= WholeDay(EffectiveMinDate()) && D <= WholeDay(EffectiveMaxDate());
}

void TqvDBCustomDateTimePicker::ClampToLimits(TWorking& W) const {
  W.Day = std::min(W.Day, DaysInAMonth(W.Year, W.Month));
  TDateTime D = EncodeDate(W.Year, W.Month, W.Day);
  TDateTime Limit = 0;
  if (D < WholeDay(EffectiveMinDate())) Limit = EffectiveMinDate();
  else if (D > WholeDay(EffectiveMaxDate())) Limit = EffectiveMaxDate();
  else return;
  DecodeDate(Limit, W.Year, W.Month, W.Day);
}

void TqvDBCustomDateTimePicker::ComposeParts(const TWorking& Parts) {
  TDateTime Time = EncodeTime(Parts.Hour, Parts.Minute, Parts.Second, Parts.MSec);
  if (Kind() == qvDTEdtTime) {
    SetTime(Time);
    if (Time == 0) ShowText(FormatValue(FValue));
    return;
  }
  TWorking W = Parts;
  W.Day = std::min(W.Day, DaysInAMonth(W.Year, W.Month));
  TDateTime Day = EncodeDate(W.Year, W.Month, W.Day);
  TDateTime Value = Day < 0 ? Day - Time : Day + Time;
  if (Day >= WholeDay(EffectiveMinDate()) && Day <= WholeDay(EffectiveMaxDate())) SetDateTime(Value);
  else RefreshText();
}

// A typed value is taken only when the date it makes exists and lies within the limits: the other
// parts never change to make room for it.
bool TqvDBCustomDateTimePicker::IsValidPartValue(char Kind, int Number, TWorking& W) {
  bool AmPm = HasAmPm(GetExpandedDisplayFormat());
  switch (Kind) {
    case 'd': return Number >= 1 && Number <= DaysInAMonth(W.Year, W.Month) && InsideLimits(W.Year, W.Month, Number);
    case 'm': return Number >= 1 && Number <= 12 && W.Day <= DaysInAMonth(W.Year, Number) && InsideLimits(W.Year, Number, W.Day);
    case 'y': return Number >= 1 && Number <= 9999 && W.Day <= DaysInAMonth(Number, W.Month) && InsideLimits(Number, W.Month, W.Day);
    case 'h': return AmPm ? Number >= 1 && Number <= 12 : Number < 24;
    case 'n':
    case 's': return Number < 60;
  }
  return false;
}

namespace {
int AdjustHour12(bool AmPm, int Old, int Typed) {
  if (!AmPm) return Typed;
  if (Typed == 12 && Old < 12) return 0;
  if (Old > 11 && Typed < 12) return Typed + 12;
  return Typed;
}

void StorePart(char Kind, int Number, int& Year, int& Month, int& Day, int& Hour, int& Minute, int& Second, bool AmPm) {
  switch (Kind) {
    case 'd': Day = Number; break;
    case 'm': Month = Number; break;
    case 'y': Year = Number; break;
    case 'h': Hour = AdjustHour12(AmPm, Hour, Number); break;
    case 'n': Minute = Number; break;
    case 's': Second = Number; break;
  }
}
}  // namespace

void TqvDBCustomDateTimePicker::ShowTypedDigits(const TqvDTPartInfo& Part) {
  String Shown = FormatValue(FValue);
  if (Part.Start > int(Shown.size())) return;
  Shown.replace(std::size_t(Part.Start), std::size_t(Part.Length), FTypedDigits);
  ShowText(Shown);
  SetSelStart(Part.Start + int(FTypedDigits.size()));
  SetSelLength(0);
}

int TqvDBCustomDateTimePicker::TypedDigit(int Digit, TWorking& W, const TqvDTPartInfo& Part, bool WasTyping) {
  char K = TokenKind(Part.Token);
  bool AmPm = HasAmPm(GetExpandedDisplayFormat());
  auto Complete = [&](int Number) {
    if (K == 'y' && Part.Token.size() <= 2) Number = TwoDigitYearToFull(Number);
    FTypedDigits.clear();
    FTyping = false;
    StorePart(K, Number, W.Year, W.Month, W.Day, W.Hour, W.Minute, W.Second, AmPm);
    ComposeParts(W);
    RefreshText();
    return Number;
  };
  if (K == 'y' && Part.Token.size() > 2) {
    String Digits = (WasTyping ? FTypedDigits : String()) + char('0' + Digit);
    if (Digits.size() < 4) {
      FTypedDigits = Digits;
      FTyping = true;
      ShowTypedDigits(Part);
      return Digit;
    }
    int Number = std::stoi(Digits);
    if (Number == 0) Number = Decode(FEntryValue).Year;
    if (!IsValidPartValue('y', Number, W)) {
      FTypedDigits.clear();
      return -1;
    }
    return Complete(Number);
  }
  if (WasTyping && FTypedDigits.size() == 1) {
    int Number = (FTypedDigits[0] - '0') * 10 + Digit;
    int Checked = K == 'y' ? TwoDigitYearToFull(Number) : K == 'h' ? Number : Number;
    if (!IsValidPartValue(K, Checked, W)) return -1;
    return Complete(Number);
  }
  bool NoSecond = false;
  switch (K) {
    case 'd': NoSecond = Digit > 3; break;
    case 'h': NoSecond = AmPm ? Digit > 1 : Digit > 2; break;
    case 'm': NoSecond = Digit > 1; break;
    case 'n':
    case 's': NoSecond = Digit > 5; break;
    default: break;
  }
  if (!NoSecond) {
    FTypedDigits = String(1, char('0' + Digit));
    FTyping = true;
    ShowTypedDigits(Part);
    return Digit;
  }
  if (!IsValidPartValue(K, Digit, W)) return -1;
  return Complete(Digit);
}

void TqvDBCustomDateTimePicker::ApplyTypedText() {
  if (IsDroppedDown() || !FTyping) return;
  FTyping = false;
  String Digits = FTypedDigits;
  FTypedDigits.clear();
  TWorking W = Decode(FValue);
  TqvDTPartInfo Part = GetPartInfo(FCurrentPart, FValue);
  char K = TokenKind(Part.Token);
  bool AmPm = HasAmPm(GetExpandedDisplayFormat());
  int Number = Digits.empty() ? 0 : std::stoi(Digits);
  bool Take = true;
  if (K == 'y') {
    if (Digits.size() <= 2) Number = TwoDigitYearToFull(Number);
    else if (Number == 0) Take = false;
  } else if (K == 'd' || K == 'm') {
    Take = Number != 0;
  } else if (K == 'w' || K == 'a' || K == 0) {
    Take = false;
  }
  if (Take && IsValidPartValue(K, Number, W)) {
    StorePart(K, Number, W.Year, W.Month, W.Day, W.Hour, W.Minute, W.Second, AmPm);
    ComposeParts(W);
  }
  ShowText(FormatValue(FValue));
  SelectCurrentPart();
  SetModifiedFlag(true);
}

// --- Keys -----------------------------------------------------------------------------------------

void TqvDBCustomDateTimePicker::StepKey(WORD Key, TWorking& W, const String& Token) {
  bool Up = Key == VK_UP;
  int Interval = FInterval->EffectiveMinutesInterval();
  switch (TokenKind(Token)) {
    case 'a': W.Hour = W.Hour < 12 ? W.Hour + 12 : W.Hour - 12; break;
    case 'd': {
      int N = DaysInAMonth(W.Year, W.Month);
      W.Day = Up ? W.Day % N + 1 : (W.Day == 1 ? N : W.Day - 1);
      ClampToLimits(W);
      break;
    }
    case 'w': {
      // The week-day part goes round within its week.
      TDateTime D = EncodeDate(W.Year, W.Month, W.Day);
      int Into = DaysIntoWeek(D);
      if (Up) D += Into == 6 ? -6 : 1;
      else D += Into == 0 ? 6 : -1;
      DecodeDate(D, W.Year, W.Month, W.Day);
      ClampToLimits(W);
      break;
    }
    case 'm':
      W.Month = Up ? W.Month % 12 + 1 : (W.Month == 1 ? 12 : W.Month - 1);
      ClampToLimits(W);
      break;
    case 'y':
      W.Year = std::clamp(W.Year + (Up ? 1 : -1), 1, 9999);
      ClampToLimits(W);
      break;
    case 'h': W.Hour = Up ? (W.Hour + 1) % 24 : (W.Hour + 23) % 24; break;
    case 'n':
      if (Up) {
        W.Minute = (W.Minute + Interval) % 60;
        if (FInterval->RoundMinutes) W.Minute -= W.Minute % Interval;
      } else if (FInterval->RoundMinutes && W.Minute % Interval != 0) {
        W.Minute -= W.Minute % Interval;
      } else {
        W.Minute = (W.Minute - Interval + 60) % 60;
      }
      break;
    case 's': W.Second = Up ? (W.Second + 1) % 60 : (W.Second + 59) % 60; break;
  }
}

int TqvDBCustomDateTimePicker::DaysIntoWeek(TDateTime D) const {
  // DayOfWeek counts 1 Sunday ... 7 Saturday; the first day's index 0 Monday ... 6 Sunday.
  int FromMonday = (DayOfWeek(D) + 5) % 7;
  return (FromMonday - qvFirstDayIndex(FCalendarAttributes->FirstDayOfWeek) + 7) % 7;
}

void TqvDBCustomDateTimePicker::HomeEndKey(bool End, TWorking& W, const String& Token) {
  int MaxY = 0, MaxM = 0, MaxD = 0, MinY = 0, MinM = 0, MinD = 0;
  DecodeDate(EffectiveMaxDate(), MaxY, MaxM, MaxD);
  DecodeDate(EffectiveMinDate(), MinY, MinM, MinD);
  switch (TokenKind(Token)) {
    case 'a':
      if (End && W.Hour < 12) W.Hour += 12;
      if (!End && W.Hour > 11) W.Hour -= 12;
      break;
    case 'd': W.Day = End ? DaysInAMonth(W.Year, W.Month) : 1; break;
    case 'w': {
      TDateTime D = EncodeDate(W.Year, W.Month, W.Day);
      int Into = DaysIntoWeek(D);
      DecodeDate(End ? D + 6 - Into : D - Into, W.Year, W.Month, W.Day);
      break;
    }
    case 'h': W.Hour = End ? 23 : 0; break;
    case 'm': W.Month = End ? 12 : 1; break;
    case 'n': W.Minute = End ? 59 : 0; break;
    case 's': W.Second = End ? 59 : 0; break;
    case 'y': W.Year = End ? MaxY : MinY; break;
  }
  if (IsDateKind(TokenKind(Token))) ClampToLimits(W);
}

bool TqvDBCustomDateTimePicker::LetterKey(char Letter, TWorking& W, const String& Token) {
  char L = Lower(Letter);
  char K = TokenKind(Token);
  if (K == 'm' && Token.size() >= 3) {
    auto Begins = [&](int Month) {
      return Lower(FormatSettings.ShortMonthNames[Month - 1][0]) == L || Lower(FormatSettings.LongMonthNames[Month - 1][0]) == L;
    };
    for (int Pass = 0; Pass < 2; ++Pass) {
      for (int i = 1; i <= 12; ++i) {
        int Month = (W.Month - 1 + i) % 12 + 1;
        if (!Begins(Month) || (Pass == 0 && DaysInAMonth(W.Year, Month) < W.Day)) continue;
        if (!InsideLimits(W.Year, Month, std::min(W.Day, DaysInAMonth(W.Year, Month)))) continue;
        W.Month = Month;
        W.Day = std::min(W.Day, DaysInAMonth(W.Year, Month));
        return true;
      }
    }
    return true;
  }
  if (K == 'w') {
    TDateTime D = EncodeDate(W.Year, W.Month, W.Day);
    int Into = DaysIntoWeek(D);
    for (int i = 1; i <= 7; ++i) {
      int Index = (Into + i) % 7;
      TDateTime Candidate = D - Into + Index;
      int Dow = DayOfWeek(Candidate) - 1;
      if (Lower(FormatSettings.ShortDayNames[Dow][0]) != L && Lower(FormatSettings.LongDayNames[Dow][0]) != L) continue;
      int Y = 0, M = 0, Dd = 0;
      DecodeDate(Candidate, Y, M, Dd);
      if (!InsideLimits(Y, M, Dd)) continue;
      W.Year = Y;
      W.Month = M;
      W.Day = Dd;
      return true;
    }
    return true;
  }
  if (K == 'a') {
    String Lowered;
    for (char C : Token) Lowered += Lower(C);
    char AmLetter = 'a', PmLetter = 'p';
    if (Lowered == "ampm") {
      AmLetter = FormatSettings.TimeAMString.empty() ? 0 : Lower(FormatSettings.TimeAMString[0]);
      PmLetter = FormatSettings.TimePMString.empty() ? 0 : Lower(FormatSettings.TimePMString[0]);
      if (AmLetter == PmLetter) {
        W.Hour = W.Hour < 12 ? W.Hour + 12 : W.Hour - 12;
        return true;
      }
    }
    if (L == PmLetter && W.Hour < 12) W.Hour += 12;
    else if (L == AmLetter && W.Hour >= 12) W.Hour -= 12;
    return true;
  }
  return false;
}

// Inside a grid, the keys that move between cells go to the grid when the picker has nothing to do
// with them: at the ends of its text, or when it cannot be edited. True when the key is dealt with.
bool TqvDBCustomDateTimePicker::HandGridKey(TWinControl* Grid, WORD& Key, TShiftState Shift) {
  bool Inspector = qvIsInInspector(this);
  bool Dropped = IsDroppedDown();
  bool Ctrl = Shift.Contains(ssCtrl);
  bool AlwaysEditor = (qvGetOrdPropByName(Grid, "Options") & (1LL << 1)) != 0;  // dgAlwaysShowEditor
  int Length = int(Text().size());
  int Start = SelStart();
  bool AtStart = Start == 0;
  bool AtEnd = Start + SelLength() >= Length;
  bool AllText = IsWholeTextSelected();
  bool Hand = false;
  switch (Key) {
    case VK_ESCAPE: Hand = !Modified(); break;
    case VK_PRIOR:
    case VK_NEXT: Hand = !Dropped && !Shift.Contains(ssAlt); break;
    case VK_END: Hand = AlwaysEditor && !Dropped && (Ctrl || (AtEnd && AllText)); break;
    case VK_HOME: Hand = AlwaysEditor && !Dropped && (Ctrl || (AtStart && AllText)); break;
    case VK_LEFT:
      Hand = Inspector ? !Dropped && (Ctrl || AtStart) : AlwaysEditor && !Dropped && (Ctrl || AtStart);
      break;
    case VK_RIGHT: Hand = Inspector ? !Dropped && (Ctrl || AtEnd) : AlwaysEditor && (Ctrl || AtEnd); break;
    case VK_UP:
    case VK_DOWN: Hand = Ctrl || AllText; break;
    case VK_INSERT: Hand = !Shift.Contains(ssShift); break;
    case VK_DELETE: Hand = Ctrl; break;
    case VK_F2:
      if (Grid->OnKeyDown) Grid->OnKeyDown(Grid, Key, Shift);
      if (Key == VK_F2) {
        SetSelStart(Length);
        SetSelLength(0);
        FCurrentPart = 1;
        SelectCurrentPart();
      }
      Key = 0;
      return true;
    default: break;
  }
  if (!CanEditValue() && (Key == VK_HOME || Key == VK_END || Key == VK_LEFT || Key == VK_RIGHT)) Hand = true;
  if (Hand) {
    GiveKeyToGrid(Grid, Key, Shift);
    Key = 0;
    return true;
  }
  bool Active = Screen->ActiveControl() == this;
  if (Grid->OnKeyDown && !((Key == VK_RETURN || Key == VK_TAB) && !Active)) {
    Grid->OnKeyDown(Grid, Key, Shift);
    if (Key == 0) return true;
  }
  return false;
}

void TqvDBCustomDateTimePicker::KeyDown(WORD& Key, TShiftState Shift) {
  if (GetKeyState(VK_MENU) < 0) Shift.Include(ssAlt);
  // The character of an Escape that closes the calendar must not reset the picker as well.
  if (Key == VK_ESCAPE && IsDroppedDown() && !Shift.Contains(ssAlt)) FClosedByEsc = true;
  HandleDropDownKeys(Key, Shift);
  if (Key == 0) return;
  if (TWinControl* Grid = ParentGrid("TCustomGrid"); Grid != nullptr && HandGridKey(Grid, Key, Shift)) return;
  TWinControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (Key == VK_BACK && !FTyping && !IsWholeTextSelected()) Key = VK_LEFT;
  bool Named = !DataField().empty() || DataSource() != nullptr;
  TField* F = Field();
  if (Named && F == nullptr) return;
  if (F != nullptr && F->Required() && (Key == VK_BACK || Key == VK_DELETE) && !FTyping) {
    // A required field keeps its day: only the time shown after it may be dropped.
    bool DropsTimeOnly = !IsWholeTextSelected() && UsesDefaultFormat() && IsTextComplete() &&
                         !IsDateKind(TokenKind(GetPartInfo(FCurrentPart, FValue).Token));
    if (!DropsTimeOnly) {
      Key = 0;
      return;
    }
  }
  if (Shift.Contains(ssShift) && Key == VK_RIGHT && FCurrentPart == 1) {
    SelectAll();
    Key = 0;
    return;
  }
  if (!CanEditValue()) {
    TCustomEdit::SetReadOnly(true);
    Key = 0;
    return;
  }
  TCustomEdit::SetReadOnly(false);
  if (Shift.Contains(ssCtrl) || Key == VK_TAB) return;
  if (IsDroppedDown()) {
    if (FCalendar->HandleKey(Key, Shift)) Key = 0;
    return;
  }
  bool Alt = Shift.Contains(ssAlt);
  bool EditingKey = Key == VK_BACK || Key == VK_SPACE || Key == VK_RIGHT || Key == VK_DELETE ||
                    (Key >= 48 && Key <= 111) || Key > 145;
  if (EditingKey && !Alt && Text().empty()) {
    bool Empty = FValue == 0 || (Kind() != qvDTEdtTime && WholeDay(FValue) == 0);
    if (Empty) {
      StartLinkEdit();
      FEmpty = false;
      if (Kind() == qvDTEdtTime) {
        bool Digit = (Key >= '0' && Key <= '9') || (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9);
        FValue = Digit ? 0 : TimeFraction(Now());
        ShowText(FormatValue(FValue));
      } else {
        TDateTime Start = InitialValue();
        if (!AutoFillDateAndTime && GetExpandedDisplayFormat().find('d') == String::npos) {
          int Y = 0, M = 0, D = 0;
          DecodeDate(Start, Y, M, D);
          Start = EncodeDate(Y, M, 1);
        }
        SetDateTime(Start);
      }
      SetModifiedFlag(true);
      FCurrentPart = 1;
      SelectCurrentPart();
      if (Key == VK_DELETE || Key == VK_BACK || Key == VK_SPACE || Key == VK_RIGHT) {
        Key = 0;
        return;
      }
    }
  } else if (!Text().empty() && IsWholeTextSelected() && !FTyping) {
    FCurrentPart = 1;
  }
  if (Alt) return;

  // Keys that mean another key here.
  if (Key == VK_ADD || Key == VK_OEM_PLUS) Key = VK_UP;
  else if (Key == VK_SUBTRACT || Key == VK_OEM_MINUS) Key = VK_DOWN;
  else if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) Key = WORD('0' + (Key - VK_NUMPAD0));
  else if (FTyping) {
    SHORT DateSep = VkKeyScanA(FormatSettings.DateSeparator);
    SHORT TimeSep = VkKeyScanA(FormatSettings.TimeSeparator);
    bool ShiftDown = Shift.Contains(ssShift);
    auto Types = [&](SHORT Scan) { return Scan != -1 && LOBYTE(Scan) == Key && ((HIBYTE(Scan) & 1) != 0) == ShiftDown; };
    if (Key == VK_DIVIDE || Types(DateSep) || Types(TimeSep)) Key = VK_RIGHT;
  }

  bool Letter = (Key >= 'A' && Key <= 'Z') || Key > 128;
  bool Digit = Key >= '0' && Key <= '9';
  bool Step = Key == VK_DELETE || Key == VK_BACK || Key == VK_DOWN || Key == VK_UP || Key == VK_HOME ||
              Key == VK_END || Letter || Digit;
  TWorking W;
  TqvDTPartInfo Part;
  bool WasTyping = FTyping;
  if (Step) {
    FEmpty = false;
    if (Shift.Contains(ssShift) && (Key == VK_HOME || Key == VK_END)) {
      SelectAll();
      Key = 0;
      return;
    }
    if (Letter || Digit) FTyping = false;
    else if (Key != VK_DELETE && Key != VK_BACK) ApplyTypedText();
    if (FValue == 0 && (Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN)) FValue = InitialValue();
    W = Decode(FValue);
    Part = GetPartInfo(FCurrentPart, FValue);
    StartLinkEdit();
  }

  switch (Key) {
    case VK_BACK:
    case VK_DELETE:
      if (WasTyping && !FTypedDigits.empty()) {
        FTypedDigits.pop_back();
        FTyping = true;
        ShowTypedDigits(Part);
      } else if (UsesDefaultFormat() && IsTextComplete() && !IsDateKind(TokenKind(Part.Token))) {
        SetDateTime(WholeDay(FValue));
        FCurrentPart = VisiblePartCount();
        SelectCurrentPart();
      } else {
        FTyping = false;
        FTypedDigits.clear();
        SetDateTime(0);
        FValue = 0;
        ShowText(String());
        FCurrentPart = 1;
        FEmpty = true;
      }
      SetModifiedFlag(true);
      Key = 0;
      return;
    case VK_SPACE:
    case VK_RIGHT:
      if (FCurrentPart < PartCount()) {
        ApplyTypedText();
        if (UsesDefaultFormat() && FCurrentPart + 1 > VisiblePartCount()) {
          // The time comes into view: the current time of day on the value's day.
          TDateTime Day = WholeDay(FValue);
          double Time = TimeFraction(Now());
          if (Day == 0) {
            Day = ::Date();
            Time = 0;
          }
          SetDateTime(Day + Time);
          SetModifiedFlag(true);
        }
        FCurrentPart = std::min(FCurrentPart + 1, VisiblePartCount());
      } else {
        ApplyTypedText();
      }
      SelectCurrentPart();
      Key = 0;
      return;
    case VK_LEFT:
      ApplyTypedText();
      FCurrentPart = std::clamp(FCurrentPart - 1, 1, std::max(1, VisiblePartCount()));
      SelectCurrentPart();
      Key = 0;
      return;
    case VK_UP:
    case VK_DOWN: StepKey(Key, W, Part.Token); break;
    case VK_HOME:
    case VK_END: HomeEndKey(Key == VK_END, W, Part.Token); break;
    case VK_F2: SelectCurrentPart(); return;
    default:
      if (Letter) {
        if (Part.Token.empty() || !LetterKey(char(Key), W, Part.Token)) {
          FTyping = WasTyping;
          Key = 0;
          return;
        }
      } else if (Digit) {
        if (Part.Token.empty() || TokenKind(Part.Token) == 'w' || TokenKind(Part.Token) == 'a') {
          FTyping = WasTyping;
          return;
        }
        int Number = TypedDigit(Key - '0', W, Part, WasTyping);
        if (Number < 0) {
          MessageBeep(0);
          FTyping = WasTyping;
          Key = 0;
          SelectCurrentPart();
          return;
        }
        SetModifiedFlag(true);
        if (!FTyping) {
          if (FCurrentPart < VisiblePartCount()) ++FCurrentPart;
          SelectCurrentPart();
        }
        return;
      } else {
        return;
      }
  }
  TDateTime Old = FValue;
  ComposeParts(W);
  if (UsesDefaultFormat() && TimeFraction(Old) != 0 && W.Hour == 0 && W.Minute == 0 && W.Second == 0)
    FCurrentPart = VisiblePartCount();
  SelectCurrentPart();
  SetModifiedFlag(true);
  if (Key == VK_UP || Key == VK_DOWN || Key == VK_HOME || Key == VK_END) Key = 0;
}

void TqvDBCustomDateTimePicker::KeyPress(char& Key) {
  TWinControl* Grid = ParentGrid("TCustomGrid");
  if (Grid != nullptr && Grid->OnKeyPress) {
    Grid->OnKeyPress(Grid, Key);
    if (Key == 0) return;
  }
  unsigned char Code = static_cast<unsigned char>(Key);
  bool Control = Code < 32;
  if (!(Control && Code != VK_BACK) && !CanEditValue()) {
    Key = 0;
    return;
  }
  TWinControl::KeyPress(Key);
  if (Key == 0) return;
  Code = static_cast<unsigned char>(Key);
  bool Named = !DataField().empty() || DataSource() != nullptr;
  if (Key == ' ' && Text().empty()) {
    Key = 0;
    if (Named && Field() == nullptr) return;
    StartLinkEdit();
    FEmpty = false;
    SetDateTime(Kind() == qvDTEdtDate ? ::Date() : Now());
    SetModifiedFlag(true);
    SelectCurrentPart();
    return;
  }
  if (Grid != nullptr && (Code == VK_RETURN || Code == VK_TAB)) {
    Key = 0;
    return;
  }
  if (Code == VK_RETURN) {
    ApplyTypedText();
    SelectCurrentPart();
    Key = 0;
    return;
  }
  if (Code == VK_ESCAPE) {
    Key = 0;
    if (FClosedByEsc) {
      FClosedByEsc = false;
      return;
    }
    FTyping = false;
    FTypedDigits.clear();
    if (Field() != nullptr) {
      FDataLink->Reset();
    } else {
      FValue = FEntryValue;
      ShowText(GetDisplayText(FValue));
    }
    SetModified(false);
    FCurrentPart = 1;
    if (!Text().empty()) FEmpty = false;
    // In a grid the cell is left for the grid.
    if (Grid != nullptr && !qvIsInInspector(this)) {
      if (Grid->CanFocus()) Grid->SetFocus();
    } else {
      SelectAll();
    }
    return;
  }
  // Every character is the picker's to interpret: the edit takes none.
  if (Code == VK_BACK || Code == 22 || Code == 24 || Code >= 32) Key = 0;
}

// --- Mouse and clipboard ----------------------------------------------------------------------------

int TqvDBCustomDateTimePicker::PartUnderMouse(int X) {
  TDateTime Value = IsDroppedDown() ? FCalendar->Date() : FValue;
  int TextLength = int(Text().size());
  HDC DC = GetDC(FHandle);
  HGDIOBJ OldFont = SelectObject(DC, Font()->Handle());
  int Margin = int(LOWORD(SendMessageA(FHandle, EM_GETMARGINS, 0, 0)));
  int Chosen = 0;
  for (int N = 1;; ++N) {
    TqvDTPartInfo Part = GetPartInfo(N, Value);
    if (Part.Text.empty()) break;
    SIZE Size{};
    GetTextExtentPoint32A(DC, Part.Text.c_str(), int(Part.Text.size()), &Size);
    Chosen = N;
    if (Part.Start + Part.Length >= TextLength || X < Size.cx + Margin ||
        (UsesDefaultFormat() && int(Part.Text.size()) >= TextLength))
      break;
  }
  SelectObject(DC, OldFont);
  ReleaseDC(FHandle, DC);
  return Chosen;
}

void TqvDBCustomDateTimePicker::WMLButtonDown(TMessage& Message) {
  if (Text().empty()) {
    TqvDBCustomCombo::Dispatch(Message);
    return;
  }
  TqvDBCustomCombo::Dispatch(Message);
  if (!Focused()) return;
  ApplyTypedText();
  int N = PartUnderMouse(short(LOWORD(Message.LParam)));
  if (N > 0) {
    FCurrentPart = N;
    // The part is chosen: the edit's own drag-selection ends here.
    if (GetCapture() == FHandle) ReleaseCapture();
    SelectCurrentPart();
  }
}

void TqvDBCustomDateTimePicker::WMLButtonDblClk(TMessage& Message) {
  TqvDBCustomCombo::Dispatch(Message);
  SelectAll();
}

void TqvDBCustomDateTimePicker::WMCut(TMessage& Message) {
  StartLinkEdit();
  TqvDBCustomCombo::Dispatch(Message);
  if (!CanEditValue()) return;
  FValue = 0;
  ShowText(String());
  FCurrentPart = 1;
  FEmpty = true;
  SetModifiedFlag(true);
}

// A pasted text is read whole; one that does not read, or lies outside the limits, leaves the
// value and the shown text as they were.
void TqvDBCustomDateTimePicker::WMPaste(TMessage& Message) {
  if (!CanEditValue()) return;
  StartLinkEdit();
  String Before = Text();
  SelectAll();
  TqvDBCustomCombo::Dispatch(Message);
  String Pasted = Text();
  ShowText(Before);
  TDateTime Value = 0;
  try {
    if (Kind() == qvDTEdtTime) {
      if (TryStrToTime(Pasted, Value) && Value != 0) SetDateTime(Value);
    } else if ((TryStrToDateTime(Pasted, Value) || TryStrToDate(Pasted, Value)) && WholeDay(Value) != 0) {
      SetDateTime(Value);
    }
  } catch (const EDateTimeError&) {
  }
  ShowText(FormatValue(FValue));
  SelectCurrentPart();
  SetModifiedFlag(true);
}
