// This file implements the program's string types: String (Windows-1252 bytes), WideString
// (UTF-16), the "..."_a literal that converts UTF-8 source text to 1252 at compile time, and the
// conversions to and from UTF-8 and UTF-16 used at the edges (SQLite, native file names, form files).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using String = std::string;
using WideString = std::u16string;

namespace cp1252 {

// The Unicode code point of each 1252 byte in 0x80..0x9F; 0 where the code page leaves it undefined
// (the byte then stands for the C1 control of the same value).
inline constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char16_t ToUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) {
    char16_t u = kHighControls[c - 0x80];
    return u ? u : char16_t(c);
  }
  return char16_t(c);
}

// The 1252 byte of a code point, or -1 when the code page cannot hold it.
constexpr int FromUnicode(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return int(u);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == u) return 0x80 + i;
  }
  if (u >= 0x80 && u <= 0x9F && kHighControls[u - 0x80] == 0) return int(u);
  return -1;
}

// The byte written for a character 1252 cannot hold.
inline constexpr char kReplacement = '?';

// Compile-time decoding of one UTF-8 sequence; advances i. Refuses malformed input (a stray or
// missing continuation byte, an overlong form, a surrogate, a value above U+10FFFF) by leaving i
// unchanged and returning a value above 0x10FFFF: such bytes are 1252 text, not UTF-8.
constexpr char32_t DecodeUtf8(const char* s, std::size_t n, std::size_t& i) {
  unsigned char b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) { ++i; return b0; }
  int extra = (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : (b0 & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0) return 0x110000;
  char32_t u = b0 & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    if (i + k >= n) return 0x110000;
    unsigned char b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0x110000;
    u = (u << 6) | (b & 0x3F);
  }
  constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
  if (u < kSmallest[extra] || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return 0x110000;
  i += extra + 1;
  return u;
}

template <std::size_t N>
struct Utf8Source {
  char text[N]{};
  consteval Utf8Source(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
  }
  consteval std::size_t AnsiLength() const {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < N;) {
      char32_t u = DecodeUtf8(text, N - 1, i);
      if (u > 0x10FFFF) throw "malformed UTF-8 in a _a literal";
      ++count;
    }
    return count;
  }
};

template <Utf8Source S>
struct AnsiLiteral {
  static constexpr std::size_t kLength = S.AnsiLength();
  static constexpr auto Convert() {
    struct Buffer { char bytes[kLength + 1]{}; } out{};
    std::size_t j = 0;
    for (std::size_t i = 0; i + 1 < sizeof(S.text);) {
      int b = FromUnicode(DecodeUtf8(S.text, sizeof(S.text) - 1, i));
      if (b < 0) throw "a _a literal holds a character that code page 1252 cannot hold";
      out.bytes[j++] = static_cast<char>(b);
    }
    return out;
  }
  static constexpr auto kValue = Convert();
};

}  // namespace cp1252

// "déjà"_a: the 1252 bytes of a UTF-8 source literal, converted at compile time, in static storage.
template <cp1252::Utf8Source S>
consteval const char* operator""_a() {
  return cp1252::AnsiLiteral<S>::kValue.bytes;
}

// Conversions at the edges. A character that 1252 cannot hold becomes '?'; malformed UTF-8
// bytes are each read as the 1252 character of that byte, so nothing is dropped silently.
String Utf8ToAnsi(std::string_view utf8);
// The same conversion into a caller's buffer, with no allocation: at most Max bytes are written
// at Out (a character is never split: each one is one byte in 1252); the bytes written. Runs of
// ASCII are copied as they are.
std::size_t Utf8ToAnsiInto(std::string_view utf8, char* Out, std::size_t Max);
std::string AnsiToUtf8(const String& ansi);
WideString AnsiToWide(const String& ansi);
String WideToAnsi(const WideString& wide);
WideString Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const WideString& wide);

// Case mapping of single 1252 characters, accented letters included (é <-> É, œ <-> Œ, ÿ <-> Ÿ).
// ß and µ have no single-byte capital and stay as they are.
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
bool IsAnsiLetter(char c);
