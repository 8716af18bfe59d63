// This file implements the string helpers: integer and boolean conversions, trimming, case,
// 1-based positions and pieces, searching, replacing, quoting and line breaks.
#include "StrUtils.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "Exceptions.h"
#include "TextOrder.h"

namespace {

// Reads an integer the platform's way into the range of a signed type of Bits bits.
bool ParseInteger(const String& S, int Bits, long long& Value) {
  std::size_t i = 0, n = S.size();
  while (i < n && S[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (S[i] == '-' || S[i] == '+')) negative = S[i++] == '-';
  bool hex = false;
  if (i < n && S[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return false;
  const unsigned long long signedMax = (1ULL << (Bits - 1)) - 1;
  // Decimal stays within the signed range (one more when negative); hexadecimal may use the
  // whole unsigned range and is read back as the signed value of the same bits.
  const unsigned long long limit =
      hex ? (Bits == 64 ? ULLONG_MAX : (1ULL << Bits) - 1) : signedMax + (negative ? 1 : 0);
  const unsigned base = hex ? 16 : 10;
  unsigned long long magnitude = 0;
  for (; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(S[i]);
    unsigned digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    if (magnitude > (limit - digit) / base) return false;
    magnitude = magnitude * base + digit;
  }
  // Unsigned arithmetic wraps, and the final narrowing reads the bits back as a signed value.
  unsigned long long bits = negative ? 0 - magnitude : magnitude;
  long long value = Bits == 64 ? static_cast<long long>(bits)
                               : static_cast<long long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(bits)));
  Value = value;
  return true;
}

[[noreturn]] void RaiseNotInteger(const String& S) {
  throw EConvertError("'" + S + "' n'est pas une valeur entière correcte"_a);
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool SameFolded(const char* A, const char* B, std::size_t N) {
  for (std::size_t i = 0; i < N; ++i) {
    if (A[i] != B[i] && AnsiLowerChar(A[i]) != AnsiLowerChar(B[i])) return false;
  }
  return true;
}

// 0-based position of Sub in S from From, or npos; IgnoreCase folds 1252 letters.
std::size_t Find(const String& S, const String& Sub, std::size_t From, bool IgnoreCase) {
  if (Sub.empty() || Sub.size() > S.size()) return String::npos;
  if (!IgnoreCase) return S.find(Sub, From);
  for (std::size_t i = From; i + Sub.size() <= S.size(); ++i) {
    if (SameFolded(S.data() + i, Sub.data(), Sub.size())) return i;
  }
  return String::npos;
}

}  // namespace

String IntToStr(long long Value) { return std::to_string(Value); }

String IntToHex(long long Value, int Digits) {
  static const char kHex[] = "0123456789ABCDEF";
  unsigned long long v = static_cast<unsigned long long>(Value);
  String out;
  do {
    out += kHex[v & 0xF];
    v >>= 4;
  } while (v);
  if (Digits > static_cast<int>(out.size())) out.append(std::size_t(Digits) - out.size(), '0');
  std::reverse(out.begin(), out.end());
  return out;
}

bool TryStrToInt(const String& S, int& Value) {
  long long v;
  if (!ParseInteger(S, 32, v)) return false;
  Value = static_cast<int>(v);
  return true;
}

bool TryStrToInt64(const String& S, long long& Value) { return ParseInteger(S, 64, Value); }

int StrToInt(const String& S) {
  int v;
  if (!TryStrToInt(S, v)) RaiseNotInteger(S);
  return v;
}

long long StrToInt64(const String& S) {
  long long v;
  if (!TryStrToInt64(S, v)) RaiseNotInteger(S);
  return v;
}

int StrToIntDef(const String& S, int Default) {
  int v;
  return TryStrToInt(S, v) ? v : Default;
}

long long StrToInt64Def(const String& S, long long Default) {
  long long v;
  return TryStrToInt64(S, v) ? v : Default;
}

bool TryStrToBool(const String& S, bool& Value) {
  long long n;
  if (TryStrToInt64(S, n)) {
    Value = n != 0;
    return true;
  }
  if (AnsiSameText(S, "True")) {
    Value = true;
    return true;
  }
  if (AnsiSameText(S, "False")) {
    Value = false;
    return true;
  }
  return false;
}

bool StrToBool(const String& S) {
  bool b;
  if (!TryStrToBool(S, b)) throw EConvertError("'" + S + "' n'est pas une valeur booléenne correcte"_a);
  return b;
}

bool StrToBoolDef(const String& S, bool Default) {
  bool b;
  return TryStrToBool(S, b) ? b : Default;
}

String BoolToStr(bool B, bool UseBoolStrs) {
  if (UseBoolStrs) return B ? "True" : "False";
  return B ? "-1" : "0";
}

String Trim(const String& S) { return TrimLeft(TrimRight(S)); }

String TrimLeft(const String& S) {
  std::size_t i = 0;
  while (i < S.size() && IsBlank(S[i])) ++i;
  return S.substr(i);
}

String TrimRight(const String& S) {
  std::size_t n = S.size();
  while (n > 0 && IsBlank(S[n - 1])) --n;
  return S.substr(0, n);
}

String UpperCase(const String& S) {
  String out = S;
  for (char& c : out) if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

String LowerCase(const String& S) {
  String out = S;
  for (char& c : out) if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

String AnsiUpperCase(const String& S) {
  String out = S;
  for (char& c : out) c = AnsiUpperChar(c);
  return out;
}

String AnsiLowerCase(const String& S) {
  String out = S;
  for (char& c : out) c = AnsiLowerChar(c);
  return out;
}

int Pos(const String& Sub, const String& S) { return PosEx(Sub, S, 1); }

int AnsiPos(const String& Sub, const String& S) { return Pos(Sub, S); }

int PosEx(const String& Sub, const String& S, int Offset) {
  if (Offset < 1 || static_cast<std::size_t>(Offset) > S.size()) return 0;
  std::size_t at = Find(S, Sub, std::size_t(Offset - 1), false);
  return at == String::npos ? 0 : static_cast<int>(at) + 1;
}

String Copy(const String& S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || static_cast<std::size_t>(Index) > S.size()) return String();
  return S.substr(std::size_t(Index - 1), std::size_t(Count));
}

void Delete(String& S, int Index, int Count) {
  if (Index < 1 || Count <= 0 || static_cast<std::size_t>(Index) > S.size()) return;
  S.erase(std::size_t(Index - 1), std::size_t(Count));
}

void Insert(const String& Sub, String& S, int Index) {
  if (Index < 1) Index = 1;
  std::size_t at = std::min(std::size_t(Index - 1), S.size());
  S.insert(at, Sub);
}

bool IsDelimiter(const String& Delimiters, const String& S, int Index) {
  if (Index < 1 || static_cast<std::size_t>(Index) > S.size()) return false;
  return Delimiters.find(S[std::size_t(Index - 1)]) != String::npos;
}

int LastDelimiter(const String& Delimiters, const String& S) {
  std::size_t at = S.find_last_of(Delimiters);
  return at == String::npos ? 0 : static_cast<int>(at) + 1;
}

String LeftStr(const String& S, int Count) { return Copy(S, 1, Count); }

String RightStr(const String& S, int Count) {
  if (Count <= 0) return String();
  std::size_t n = std::min(std::size_t(Count), S.size());
  return S.substr(S.size() - n);
}

String MidStr(const String& S, int Start, int Count) { return Copy(S, Start, Count); }

String StringOfChar(char C, int Count) { return Count > 0 ? String(std::size_t(Count), C) : String(); }

String DupeString(const String& S, int Count) {
  String out;
  if (Count <= 0) return out;
  out.reserve(S.size() * std::size_t(Count));
  for (int i = 0; i < Count; ++i) out += S;
  return out;
}

String ReverseString(const String& S) { return String(S.rbegin(), S.rend()); }

bool StartsText(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() && SameFolded(Text.data(), SubText.data(), SubText.size());
}

bool EndsText(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() &&
         SameFolded(Text.data() + (Text.size() - SubText.size()), SubText.data(), SubText.size());
}

bool StartsStr(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() && Text.compare(0, SubText.size(), SubText) == 0;
}

bool EndsStr(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() && Text.compare(Text.size() - SubText.size(), SubText.size(), SubText) == 0;
}

bool ContainsText(const String& Text, const String& SubText) {
  return SubText.empty() || Find(Text, SubText, 0, true) != String::npos;
}

bool ContainsStr(const String& Text, const String& SubText) { return Text.find(SubText) != String::npos; }

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern, TReplaceFlags Flags) {
  const bool all = (Flags & rfReplaceAll) != 0;
  const bool ignoreCase = (Flags & rfIgnoreCase) != 0;
  String out;
  std::size_t from = 0;
  for (;;) {
    std::size_t at = Find(S, OldPattern, from, ignoreCase);
    if (at == String::npos) break;
    out.append(S, from, at - from);
    out += NewPattern;
    from = at + OldPattern.size();
    if (!all) break;
  }
  out.append(S, from, String::npos);
  return out;
}

String QuotedStr(const String& S) { return AnsiQuotedStr(S, '\''); }

String AnsiQuotedStr(const String& S, char Quote) {
  String out;
  out.reserve(S.size() + 2);
  out += Quote;
  for (char c : S) {
    out += c;
    if (c == Quote) out += Quote;
  }
  out += Quote;
  return out;
}

String AnsiExtractQuotedStr(const char*& P, char Quote) {
  if (P == nullptr || *P != Quote) return String();
  ++P;
  String out;
  while (*P) {
    if (*P == Quote) {
      ++P;
      if (*P != Quote) return out;  // the closing quote
    }
    out += *P++;
  }
  return out;  // never closed: P rests on the terminating zero
}

String AnsiDequotedStr(const String& S, char Quote) {
  const char* p = S.c_str();
  String text = AnsiExtractQuotedStr(p, Quote);
  if ((text.empty() || *p == '\0') && !S.empty() && (S.front() != Quote || S.back() != Quote)) return S;
  return text;
}

String AdjustLineBreaks(const String& S) {
  String out;
  out.reserve(S.size() + S.size() / 16);
  for (std::size_t i = 0; i < S.size(); ++i) {
    char c = S[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < S.size() && S[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}
