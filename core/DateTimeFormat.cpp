// This file implements date and time formatting and scanning with the locale settings.
#include "DateTimeFormat.h"

#include "Exceptions.h"
#include "FormatSettings.h"

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

bool IsUpperAscii(char c) { return c >= 'A' && c <= 'Z'; }

// True when Text holds Word at Pos, ASCII letters compared without case.
bool MatchAt(const String& Text, std::size_t Pos, const char* Word) {
  for (std::size_t k = 0; Word[k]; ++k) {
    if (Pos + k >= Text.size() || UpperAscii(Text[Pos + k]) != Word[k]) return false;
  }
  return true;
}

String Padded(int Number, int Digits) {
  String s = std::to_string(Number);
  if (int(s.size()) < Digits) s.insert(0, Digits - s.size(), '0');
  return s;
}

// Writes one value through a format, expanding the shorthand tokens (c, ddddd, t...) into the
// settings' formats one level deep: a shorthand inside a settings format writes nothing, as the
// platform does, so a format naming itself cannot loop.
class TDateTimeWriter {
 public:
  explicit TDateTimeWriter(TDateTime Value) : Value_(Value) {
    DecodeDateTime(Value, Year_, Month_, Day_, Hour_, Min_, Sec_, MSec_);
  }

  void Append(const String& Format, int Depth) {
    if (Depth >= 2) return;
    const TFormatSettings& fs = FormatSettings;
    char lastToken = ' ';
    bool use12Hour = false;
    std::size_t i = 0;
    const std::size_t n = Format.size();
    while (i < n) {
      const char starter = Format[i++];
      char token = UpperAscii(starter);
      if (IsUpperAscii(token)) {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      // How many times the starter repeats, the first included; consumes the repeats.
      auto count = [&] {
        int c = 1;
        while (i < n && Format[i] == starter) {
          ++i;
          ++c;
        }
        return c;
      };
      switch (token) {
        case 'Y':
          Out += count() <= 2 ? Padded(Year_ % 100, 2) : Padded(Year_, 4);
          break;
        case 'M': {
          int c = count();
          if (c <= 2)
            Out += Padded(Month_, c);
          else
            Out += MonthName(c == 3 ? fs.ShortMonthNames : fs.LongMonthNames);
          break;
        }
        case 'D': {
          int c = count();
          if (c <= 2)
            Out += Padded(Day_, c);
          else if (c == 3)
            Out += DayName(fs.ShortDayNames);
          else if (c == 4)
            Out += DayName(fs.LongDayNames);
          else if (c == 5)
            Append(fs.ShortDateFormat, Depth + 1);
          else
            Append(fs.LongDateFormat, Depth + 1);
          break;
        }
        case 'H': {
          int c = count();
          if (FollowedByHalfDayToken(Format, i)) use12Hour = true;
          int h = Hour_;
          if (use12Hour) {
            if (h == 0)
              h = 12;
            else if (h > 12)
              h -= 12;
          }
          Out += Padded(h, c > 2 ? 2 : c);
          break;
        }
        case 'N': {
          int c = count();
          Out += Padded(Min_, c > 2 ? 2 : c);
          break;
        }
        case 'S': {
          int c = count();
          Out += Padded(Sec_, c > 2 ? 2 : c);
          break;
        }
        case 'Z': {
          int c = count();
          Out += Padded(MSec_, c > 3 ? 3 : c);
          break;
        }
        case 'T':
          Append(count() == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, Depth + 1);
          break;
        case 'A': {
          const std::size_t p = i - 1;
          const bool pm = Hour_ >= 12;
          if (MatchAt(Format, p, "AM/PM")) {
            Out += Format.substr(p + (pm ? 3 : 0), 2);  // the letters as written
            i += 4;
            use12Hour = true;
          } else if (MatchAt(Format, p, "A/P")) {
            Out += Format[p + (pm ? 2 : 0)];
            i += 2;
            use12Hour = true;
          } else if (MatchAt(Format, p, "AMPM")) {
            Out += pm ? fs.TimePMString : fs.TimeAMString;
            i += 3;
            use12Hour = true;
          } else if (MatchAt(Format, p, "AAAA")) {
            Out += DayName(fs.LongDayNames);
            i += 3;
          } else if (MatchAt(Format, p, "AAA")) {
            Out += DayName(fs.ShortDayNames);
            i += 2;
          } else {
            Out += starter;
          }
          break;
        }
        case 'C':
          count();
          Append(fs.ShortDateFormat, Depth + 1);
          // Milliseconds alone do not bring the time in.
          if (Hour_ != 0 || Min_ != 0 || Sec_ != 0) {
            Out += ' ';
            Append(fs.LongTimeFormat, Depth + 1);
          }
          break;
        case '/':
          if (fs.DateSeparator != '\0') Out += fs.DateSeparator;
          break;
        case ':':
          if (fs.TimeSeparator != '\0') Out += fs.TimeSeparator;
          break;
        case '\'':
        case '"': {
          // Literal up to the same quote; an unclosed quote runs to the end.
          std::size_t close = Format.find(starter, i);
          if (close == String::npos) close = n;
          Out.append(Format, i, close - i);
          i = close < n ? close + 1 : n;
          break;
        }
        default:
          Out += starter;
          break;
      }
    }
  }

  String Out;

 private:
  // An hour token is on the 12-hour clock when a half-day token follows it before the next hour
  // token; the search stops at the first 'a' outside quotes, whatever it starts.
  static bool FollowedByHalfDayToken(const String& Format, std::size_t From) {
    bool quoted = false;
    for (std::size_t p = From; p < Format.size(); ++p) {
      char c = Format[p];
      if (c == '\'' || c == '"') {
        quoted = !quoted;
      } else if ((c == 'a' || c == 'A') && !quoted) {
        return MatchAt(Format, p, "AM/PM") || MatchAt(Format, p, "A/P") ||
               MatchAt(Format, p, "AMPM");
      } else if (c == 'h' || c == 'H') {
        return false;
      }
    }
    return false;
  }

  String MonthName(const std::array<String, 12>& Names) const {
    return Month_ >= 1 && Month_ <= 12 ? Names[Month_ - 1] : String();
  }

  String DayName(const std::array<String, 7>& Names) const {
    int dow = DayOfWeek(Value_);
    return dow >= 1 ? Names[dow - 1] : String();
  }

  TDateTime Value_;
  int Year_, Month_, Day_, Hour_, Min_, Sec_, MSec_;
};

// ---- scanning ----

enum class TDateOrder { MDY, DMY, YMD };

// The order of the first day, month or year letter of the format, outside quoted text.
TDateOrder GetDateOrder(const String& Format) {
  char quote = 0;
  for (char c : Format) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      continue;
    }
    switch (UpperAscii(c)) {
      case 'Y': return TDateOrder::YMD;
      case 'M': return TDateOrder::MDY;
      case 'D': return TDateOrder::DMY;
      default: break;
    }
  }
  return TDateOrder::MDY;
}

class TScanner {
 public:
  explicit TScanner(const String& Text) : S(Text) {}

  bool AtEnd() const { return Pos >= S.size(); }

  void Blanks() {
    while (Pos < S.size() && S[Pos] == ' ') ++Pos;
  }

  // Up to four significant digits: the reading stops once the number reaches 1000, so a fifth
  // digit is left over and makes the text wrong.
  bool Number(int& Value, int& Length) {
    Blanks();
    std::size_t p = Pos;
    int v = 0;
    while (p < S.size() && S[p] >= '0' && S[p] <= '9' && v < 1000) {
      v = v * 10 + (S[p] - '0');
      ++p;
    }
    if (p == Pos) return false;
    Length = int(p - Pos);
    Pos = p;
    Value = v;
    return true;
  }

  bool Number(int& Value) {
    int length;
    return Number(Value, length);
  }

  bool Char(char Ch) {
    Blanks();
    if (Pos < S.size() && S[Pos] == Ch) {
      ++Pos;
      return true;
    }
    return false;
  }

  // A marker such as an AM/PM text, case ignored; an empty marker never matches.
  bool Symbol(const String& Marker) {
    if (Marker.empty()) return false;
    Blanks();
    if (S.size() - Pos < Marker.size()) return false;
    for (std::size_t k = 0; k < Marker.size(); ++k) {
      if (AnsiUpperChar(S[Pos + k]) != AnsiUpperChar(Marker[k])) return false;
    }
    Pos += Marker.size();
    return true;
  }

  bool Date(TDateTime& Value) {
    const TFormatSettings& fs = FormatSettings;
    const TDateOrder order = GetDateOrder(fs.ShortDateFormat);
    int n1, n2, n3, l1, l3;
    if (!Number(n1, l1) || !Char(fs.DateSeparator) || !Number(n2)) return false;
    int y, m, d;
    if (Char(fs.DateSeparator)) {
      if (!Number(n3, l3)) return false;
      int yearLength;
      switch (order) {
        case TDateOrder::MDY: y = n3; yearLength = l3; m = n1; d = n2; break;
        case TDateOrder::DMY: y = n3; yearLength = l3; m = n2; d = n1; break;
        default: y = n1; yearLength = l1; m = n2; d = n3; break;
      }
      if (yearLength <= 2) {
        const int window = fs.TwoDigitYearCenturyWindow;
        const int centuryBase = YearOf(Now()) - window;
        y += centuryBase / 100 * 100;
        if (window > 0 && y < centuryBase) y += 100;
      }
    } else {
      y = YearOf(Now());
      if (order == TDateOrder::MDY) {
        m = n1;
        d = n2;
      } else {
        d = n1;
        m = n2;
      }
    }
    Char(fs.DateSeparator);  // one trailing separator is allowed
    Blanks();
    return TryEncodeDate(y, m, d, Value);
  }

  bool Time(TDateTime& Value) {
    const TFormatSettings& fs = FormatSettings;
    int baseHour = -1;
    if (Symbol(fs.TimeAMString) || Symbol("AM"))
      baseHour = 0;
    else if (Symbol(fs.TimePMString) || Symbol("PM"))
      baseHour = 12;
    int hour, min = 0, sec = 0, msec = 0;
    if (!Number(hour)) return false;
    if (Char(fs.TimeSeparator)) {
      if (!Number(min)) return false;
      if (Char(fs.TimeSeparator)) {
        if (!Number(sec)) return false;
        if (Char(fs.DecimalSeparator) && !Number(msec)) return false;
      }
    }
    if (baseHour < 0) {
      if (Symbol(fs.TimeAMString) || Symbol("AM"))
        baseHour = 0;
      else if (Symbol(fs.TimePMString) || Symbol("PM"))
        baseHour = 12;
    }
    if (baseHour >= 0) {
      if (hour == 0 || hour > 12) return false;
      if (hour == 12) hour = 0;
      hour += baseHour;
    }
    Blanks();
    return TryEncodeTime(hour, min, sec, msec, Value);
  }

 private:
  const String& S;
  std::size_t Pos = 0;
};

[[noreturn]] void RaiseConvert(const String& S, const char* What) {
  throw EConvertError("'" + S + "' n'est pas une " + What + " correcte");
}

}  // namespace

String FormatDateTime(const String& Format, TDateTime Value) {
  TDateTimeWriter writer(Value);
  writer.Append(Format.empty() ? String("C") : Format, 0);
  return writer.Out;
}

String DateToStr(TDateTime Value) { return FormatDateTime("ddddd", Value); }

String TimeToStr(TDateTime Value) { return FormatDateTime("tt", Value); }

String DateTimeToStr(TDateTime Value) { return FormatDateTime("c", Value); }

bool TryStrToDate(const String& S, TDateTime& Value) {
  TScanner scan(S);
  TDateTime date;
  if (!scan.Date(date) || !scan.AtEnd()) return false;
  Value = date;
  return true;
}

bool TryStrToTime(const String& S, TDateTime& Value) {
  TScanner scan(S);
  TDateTime time;
  if (!scan.Time(time) || !scan.AtEnd()) return false;
  Value = time;
  return true;
}

bool TryStrToDateTime(const String& S, TDateTime& Value) {
  TScanner scan(S);
  TDateTime date, time = 0;
  if (scan.Date(date) && (scan.AtEnd() || (scan.Time(time) && scan.AtEnd()))) {
    Value = date >= 0 ? date + time : date - time;
    return true;
  }
  return TryStrToTime(S, Value);
}

TDateTime StrToDate(const String& S) {
  TDateTime v;
  if (!TryStrToDate(S, v)) RaiseConvert(S, "date");
  return v;
}

TDateTime StrToTime(const String& S) {
  TDateTime v;
  if (!TryStrToTime(S, v)) RaiseConvert(S, "heure");
  return v;
}

TDateTime StrToDateTime(const String& S) {
  TDateTime v;
  if (!TryStrToDateTime(S, v)) RaiseConvert(S, "date et heure");
  return v;
}

TDateTime StrToDateDef(const String& S, TDateTime Default) {
  TDateTime v;
  return TryStrToDate(S, v) ? v : Default;
}

TDateTime StrToTimeDef(const String& S, TDateTime Default) {
  TDateTime v;
  return TryStrToTime(S, v) ? v : Default;
}

TDateTime StrToDateTimeDef(const String& S, TDateTime Default) {
  TDateTime v;
  return TryStrToDateTime(S, v) ? v : Default;
}
