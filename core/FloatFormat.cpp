// This file implements the conversions between floating-point numbers and text: the decimal digit
// engine they share, the general/exponent/fixed/number/currency forms, the picture language of
// FormatFloat, the scanner of StrToFloat and decimal rounding.
#include "FloatFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <vector>

#include "Exceptions.h"
#include "FormatSettings.h"

namespace {

// The significant digits a double holds reliably; every conversion reads the value at this many.
constexpr int kDoubleDigits = 15;
// The largest precision accepted, and the most integer digits a fixed form or a picture writes
// before giving way to the general form; the digits past the 15th are shown as zeros.
constexpr int kMaxPrecision = 18;

// A decimal number 0.d1d2d3... x 10^Exponent. Digits carries no trailing zeros; it is empty for
// zero, which is never negative (a value that rounds to zero shows no sign).
struct TDecimal {
  bool Negative = false;
  int Exponent = 0;
  std::string Digits;
  bool IsZero() const { return Digits.empty(); }
};

void Normalize(TDecimal& d) {
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  if (d.Digits.empty()) {
    d.Negative = false;
    d.Exponent = 0;
  }
}

// The value's 15 significant digits; Value must be finite.
TDecimal ToDecimal(double Value) {
  TDecimal d;
  if (Value == 0) return d;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(Value), std::chars_format::scientific,
                           kDoubleDigits - 1);
  std::string text(buf, res.ptr);  // d.dddde[+-]xx
  std::size_t e = text.find('e');
  d.Digits += text[0];
  d.Digits += text.substr(2, e - 2);
  d.Exponent = std::stoi(text.substr(e + 1)) + 1;
  d.Negative = Value < 0;
  Normalize(d);
  return d;
}

// Keeps the first Keep digits (none when Keep <= 0), rounding half away from zero or half to even.
void RoundDigits(TDecimal& d, int Keep, bool HalfEven = false) {
  if (Keep >= static_cast<int>(d.Digits.size())) return;
  if (Keep < 0) {
    d.Digits.clear();
    Normalize(d);
    return;
  }
  char next = d.Digits[Keep];
  bool up = next > '5';
  if (next == '5') {
    bool beyond = d.Digits.find_first_not_of('0', Keep + 1) != std::string::npos;
    if (!HalfEven || beyond)
      up = true;
    else
      up = Keep > 0 && (d.Digits[Keep - 1] - '0') % 2 == 1;
  }
  d.Digits.resize(Keep);
  if (up) {
    int i = Keep - 1;
    while (i >= 0 && d.Digits[i] == '9') d.Digits[i--] = '0';
    if (i < 0) {
      d.Digits.insert(d.Digits.begin(), '1');
      ++d.Exponent;
    } else {
      ++d.Digits[i];
    }
  }
  Normalize(d);
}

// The nearest double to a decimal.
double FromDecimal(const TDecimal& d) {
  if (d.IsZero()) return 0.0;
  std::string text = "0." + d.Digits + "e" + std::to_string(d.Exponent);
  double v = 0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return d.Negative ? -v : v;
}

String Special(double Value) {
  if (std::isnan(Value)) return "NAN";
  return Value < 0 ? "-INF" : "INF";
}

String ExponentText(int Exponent, bool AlwaysSign, int MinDigits) {
  String s;
  if (Exponent < 0)
    s += '-';
  else if (AlwaysSign)
    s += '+';
  String n = std::to_string(std::abs(Exponent));
  if (static_cast<int>(n.size()) < MinDigits) s += String(MinDigits - n.size(), '0');
  return s + n;
}

// The integer digits of d (empty below 1), zeros filling the places past the significant digits.
String IntegerDigits(const TDecimal& d) {
  if (d.Exponent <= 0) return String();
  String s = d.Digits.substr(0, std::min<std::size_t>(d.Digits.size(), d.Exponent));
  s.append(d.Exponent - s.size(), '0');
  return s;
}

// The digits after the point, up to the last significant one.
String FractionDigits(const TDecimal& d) {
  if (d.Exponent >= static_cast<int>(d.Digits.size())) return String();
  if (d.Exponent < 0) return String(-d.Exponent, '0') + d.Digits;
  return d.Digits.substr(d.Exponent);
}

String GroupThousands(const String& Digits) {
  String out;
  int n = static_cast<int>(Digits.size());
  for (int i = 0; i < n; ++i) {
    out += Digits[i];
    int left = n - 1 - i;
    if (left > 0 && left % 3 == 0) out += FormatSettings.ThousandSeparator;
  }
  return out;
}

String General(double Value, int Precision, int ExpDigits) {
  TDecimal d = ToDecimal(Value);
  RoundDigits(d, std::min(Precision, kDoubleDigits));
  if (d.IsZero()) return "0";
  String s = d.Negative ? "-" : "";
  // Below 1E-5, or with more integer digits than the precision: exponent form.
  if (d.Exponent > Precision || d.Exponent < -4) {
    s += d.Digits[0];
    if (d.Digits.size() > 1) s += FormatSettings.DecimalSeparator + d.Digits.substr(1);
    return s + "E" + ExponentText(d.Exponent - 1, false, ExpDigits);
  }
  String whole = IntegerDigits(d);
  s += whole.empty() ? "0" : whole;
  String fraction = FractionDigits(d);
  if (!fraction.empty()) s += FormatSettings.DecimalSeparator + fraction;
  return s;
}

String Exponential(double Value, int Precision, int ExpDigits) {
  TDecimal d = ToDecimal(Value);
  RoundDigits(d, std::min(Precision, kDoubleDigits));
  String digits = d.Digits;
  digits.resize(Precision, '0');
  String s = d.Negative ? "-" : "";
  s += digits[0];
  if (Precision > 1) s += FormatSettings.DecimalSeparator + digits.substr(1);
  return s + "E" + ExponentText(d.IsZero() ? 0 : d.Exponent - 1, true, ExpDigits);
}

// The currency layouts; Amount is the unsigned number text.
String CurrencyText(const String& Amount, bool Negative) {
  const String& c = FormatSettings.CurrencyString;
  if (!Negative) {
    switch (FormatSettings.CurrencyFormat) {
      case 0: return c + Amount;
      case 1: return Amount + c;
      case 2: return c + " " + Amount;
      default: return Amount + " " + c;
    }
  }
  switch (FormatSettings.NegCurrFormat) {
    case 0: return "(" + c + Amount + ")";
    case 1: return "-" + c + Amount;
    case 2: return c + "-" + Amount;
    case 3: return c + Amount + "-";
    case 4: return "(" + Amount + c + ")";
    case 5: return "-" + Amount + c;
    case 6: return Amount + "-" + c;
    case 7: return Amount + c + "-";
    case 8: return "-" + Amount + " " + c;
    case 9: return "-" + c + " " + Amount;
    case 10: return Amount + " " + c + "-";
    case 11: return c + " " + Amount + "-";
    case 12: return c + " -" + Amount;
    case 13: return Amount + "- " + c;
    case 14: return "(" + c + " " + Amount + ")";
    default: return "(" + Amount + " " + c + ")";
  }
}

String FixedForms(double Value, TFloatFormat Format, int Precision, int Decimals) {
  TDecimal d = ToDecimal(Value);
  RoundDigits(d, std::min(std::min(Precision, kDoubleDigits), d.Exponent + Decimals));
  if (d.Exponent > Precision) return General(Value, Precision, 0);
  String whole = IntegerDigits(d);
  if (whole.empty()) whole = "0";
  if (Format != ffFixed) whole = GroupThousands(whole);
  String amount = whole;
  if (Decimals > 0) {
    String fraction = FractionDigits(d);
    fraction.resize(Decimals, '0');
    amount += FormatSettings.DecimalSeparator + fraction;
  }
  if (Format == ffCurrency) return CurrencyText(amount, d.Negative);
  return d.Negative ? "-" + amount : amount;
}

// ---- The picture language of FormatFloat ----

struct TToken {
  enum TKind { Placeholder, Point, Exponent, Literal } Kind;
  char Char = 0;       // '0' or '#'; 'E' or 'e'
  char Sign = 0;       // exponent: '+' or '-'
  int Count = 0;       // exponent digits
  bool InInteger = false;
  String Text;         // literal
};

struct TPicture {
  std::vector<TToken> Tokens;
  int IntPlaces = 0;   // placeholders before the point
  int MinInt = 0;      // placeholders from the first '0' to the point
  int MaxDec = 0;      // placeholders after the point
  int MinDec = 0;      // up to the last '0' after the point
  bool Thousands = false;
  bool Scientific = false;
};

// Splits the pattern at ';' outside quoted text, into three sections at most.
std::vector<String> SplitSections(const String& Pattern) {
  std::vector<String> sections(1);
  char quote = 0;
  for (char c : Pattern) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      if (sections.size() == 3) break;
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

TPicture ParsePicture(const String& Section) {
  TPicture p;
  bool inInteger = true;
  bool seenPoint = false;
  int firstZero = -1;
  auto literal = [&p](const String& text) {
    if (!p.Tokens.empty() && p.Tokens.back().Kind == TToken::Literal)
      p.Tokens.back().Text += text;
    else
      p.Tokens.push_back({TToken::Literal, 0, 0, 0, false, text});
  };
  std::size_t n = Section.size();
  for (std::size_t i = 0; i < n; ++i) {
    char c = Section[i];
    if (c == '\'' || c == '"') {
      std::size_t close = Section.find(c, i + 1);
      if (close == String::npos) close = n;
      literal(Section.substr(i + 1, close - i - 1));
      i = close;
    } else if ((c == '0' || c == '#') && !p.Scientific) {
      if (inInteger) {
        if (c == '0' && firstZero < 0) firstZero = p.IntPlaces;
        ++p.IntPlaces;
      } else {
        ++p.MaxDec;
        if (c == '0') p.MinDec = p.MaxDec;
      }
      p.Tokens.push_back({TToken::Placeholder, c, 0, 0, inInteger, {}});
    } else if (c == '.' && !p.Scientific) {
      // Only the first point counts; a later one is dropped, as are thousand marks.
      if (!seenPoint) p.Tokens.push_back({TToken::Point, c, 0, 0, false, {}});
      seenPoint = true;
      inInteger = false;
    } else if (c == ',' && !p.Scientific) {
      if (inInteger) p.Thousands = true;
    } else if ((c == 'E' || c == 'e') && !p.Scientific && i + 2 < n &&
               (Section[i + 1] == '+' || Section[i + 1] == '-') && Section[i + 2] == '0') {
      std::size_t j = i + 2;
      while (j < n && Section[j] == '0') ++j;
      p.Scientific = true;
      p.Tokens.push_back({TToken::Exponent, c, Section[i + 1],
                          std::min(static_cast<int>(j - i - 2), 4), false, {}});
      i = j - 1;
    } else {
      literal(String(1, c));
    }
  }
  p.MinInt = firstZero < 0 ? 0 : p.IntPlaces - firstZero;
  return p;
}

// The digits of |Value| as the picture shows them: rounded, and for the exponent form the
// mantissa scaled so that its integer digits fill the integer placeholders.
struct TPictureDigits {
  String Integer;
  String Fraction;
  int Exponent = 0;
  bool Negative = false;
  bool Zero = true;
};

TPictureDigits PictureDigits(const TPicture& p, double Value) {
  TPictureDigits r;
  TDecimal d = ToDecimal(Value);
  if (p.Scientific) {
    RoundDigits(d, std::max(1, std::min(p.IntPlaces + p.MaxDec, kDoubleDigits)));
    if (!d.IsZero()) {
      r.Exponent = d.Exponent - p.IntPlaces;
      d.Exponent = p.IntPlaces;
    }
  } else {
    RoundDigits(d, d.Exponent + p.MaxDec);
  }
  r.Zero = d.IsZero();
  r.Negative = d.Negative;
  r.Integer = IntegerDigits(d);
  if (static_cast<int>(r.Integer.size()) < p.MinInt)
    r.Integer.insert(0, p.MinInt - r.Integer.size(), '0');
  r.Fraction = FractionDigits(d);
  if (static_cast<int>(r.Fraction.size()) < p.MinDec) r.Fraction.resize(p.MinDec, '0');
  return r;
}

// Writes the digits into the picture. Integer digits beyond the placeholders go to the first one;
// with no integer placeholder they go before the point.
String RenderPicture(const TPicture& p, const TPictureDigits& r) {
  const String& whole = r.Integer;
  const int len = static_cast<int>(whole.size());
  String out;
  auto digitAt = [&](int fromRight) {
    out += whole[len - 1 - fromRight];
    if (p.Thousands && fromRight > 0 && fromRight % 3 == 0) out += FormatSettings.ThousandSeparator;
  };
  int intIndex = 0;
  std::size_t decIndex = 0;
  for (const TToken& t : p.Tokens) {
    switch (t.Kind) {
      case TToken::Literal:
        out += t.Text;
        break;
      case TToken::Placeholder:
        if (t.InInteger) {
          int fromRight = p.IntPlaces - 1 - intIndex;
          if (intIndex == 0)
            for (int q = len - 1; q > fromRight; --q) digitAt(q);
          if (fromRight < len) digitAt(fromRight);
          ++intIndex;
        } else if (decIndex < r.Fraction.size()) {
          out += r.Fraction[decIndex++];
        }
        break;
      case TToken::Point:
        if (p.IntPlaces == 0)
          for (int q = len - 1; q >= 0; --q) digitAt(q);
        if (!r.Fraction.empty()) out += FormatSettings.DecimalSeparator;
        break;
      case TToken::Exponent:
        out += t.Char;
        out += ExponentText(r.Exponent, t.Sign == '+', t.Count);
        break;
    }
  }
  return out;
}

bool ScanFloat(const String& S, double& Value) {
  std::size_t i = 0, n = S.size();
  while (i < n && S[i] == ' ') ++i;
  while (n > i && S[n - 1] == ' ') --n;
  std::string text;
  bool negative = false;
  if (i < n && (S[i] == '+' || S[i] == '-')) negative = S[i++] == '-';
  std::string whole, fraction;
  while (i < n && S[i] >= '0' && S[i] <= '9') whole += S[i++];
  if (i < n && S[i] == FormatSettings.DecimalSeparator) {
    ++i;
    while (i < n && S[i] >= '0' && S[i] <= '9') fraction += S[i++];
  }
  if (whole.empty() && fraction.empty()) return false;
  long exponent = 0;
  if (i < n && (S[i] == 'E' || S[i] == 'e')) {
    ++i;
    bool expNegative = false;
    if (i < n && (S[i] == '+' || S[i] == '-')) expNegative = S[i++] == '-';
    if (i == n || S[i] < '0' || S[i] > '9') return false;
    while (i < n && S[i] >= '0' && S[i] <= '9') {
      if (exponent < 100000) exponent = exponent * 10 + (S[i] - '0');
      ++i;
    }
    if (expNegative) exponent = -exponent;
  }
  if (i != n) return false;
  // Parsed from a "C" text so that neither the C locale nor the settings change the digits.
  text = (whole.empty() ? "0" : whole) + (fraction.empty() ? "" : "." + fraction) + "e" +
         std::to_string(exponent);
  double v = 0;
  auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Decide overflow from underflow by the position of the first significant digit.
    std::size_t lead = whole.find_first_not_of('0');
    long magnitude = lead != std::string::npos
                         ? static_cast<long>(whole.size() - lead)
                         : -static_cast<long>(fraction.find_first_not_of('0'));
    if (magnitude + exponent > 0) return false;
    v = 0;
  } else if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
    return false;
  }
  Value = negative ? -v : v;
  return true;
}

// Decimal rounding shared by RoundTo and SimpleRoundTo. The value is read at 15 significant
// digits, so 1.245 (stored as 1.24500000000000010658...) is an exact half at hundredths and 0.1+0.2
// rounds to the double nearest 0.3. Rounding past the 15th digit leaves the value unchanged.
double DecimalRound(double Value, int Digit, bool HalfEven) {
  if (!std::isfinite(Value) || Value == 0) return Value;
  TDecimal d = ToDecimal(Value);
  int keep = d.Exponent - Digit;
  if (keep > kDoubleDigits) return Value;
  RoundDigits(d, keep, HalfEven);
  return FromDecimal(d);
}

}  // namespace

String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits) {
  if (!std::isfinite(Value)) return Special(Value);
  int precision = std::clamp(Precision, 1, kMaxPrecision);
  switch (Format) {
    case ffGeneral:
      return General(Value, precision, std::clamp(Digits, 0, 4));
    case ffExponent:
      return Exponential(Value, precision, std::clamp(Digits, 0, 4));
    case ffFixed:
    case ffNumber:
    case ffCurrency:
      return FixedForms(Value, Format, precision, std::clamp(Digits, 0, kMaxPrecision));
  }
  return General(Value, precision, 0);
}

String FloatToStr(double Value) { return FloatToStrF(Value, ffGeneral, kDoubleDigits, 0); }

String FormatFloat(const String& Pattern, double Value) {
  if (!std::isfinite(Value)) return Special(Value);
  std::vector<String> sections = SplitSections(Pattern);
  if (sections[0].empty()) return FloatToStr(Value);
  // The negative section carries its own sign; an empty section falls back to the first.
  std::size_t index = Value < 0 && sections.size() > 1 && !sections[1].empty() ? 1 : 0;
  TPicture picture = ParsePicture(sections[index]);
  TPictureDigits digits = PictureDigits(picture, Value);
  if (digits.Zero && index == 1) {
    // A negative value shown as zero takes the zero section, else the first, unsigned.
    index = 0;
    picture = ParsePicture(sections[0]);
    digits = PictureDigits(picture, 0.0);
  }
  if (digits.Zero && sections.size() > 2 && !sections[2].empty()) {
    picture = ParsePicture(sections[2]);
    digits = PictureDigits(picture, 0.0);
  }
  // Past the integer digits a double can stand for, the general form says more than the picture.
  if (!picture.Scientific && static_cast<int>(digits.Integer.size()) > kMaxPrecision)
    return FloatToStr(Value);
  String text = RenderPicture(picture, digits);
  return index == 0 && digits.Negative ? "-" + text : text;
}

bool TryStrToFloat(const String& S, double& Value) { return ScanFloat(S, Value); }

double StrToFloat(const String& S) {
  double v = 0;
  if (!ScanFloat(S, v))
    throw EConvertError("'" + S + "' n'est pas une valeur en virgule flottante correcte");
  return v;
}

double StrToFloatDef(const String& S, double Default) {
  double v = 0;
  return ScanFloat(S, v) ? v : Default;
}

double RoundTo(double Value, int Digit) { return DecimalRound(Value, Digit, true); }

double SimpleRoundTo(double Value, int Digit) { return DecimalRound(Value, Digit, false); }

String CurrToStr(double Value) {
  if (!std::isfinite(Value)) return Special(Value);
  return FloatToStr(RoundTo(Value, -4));
}
