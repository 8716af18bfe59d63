// This file implements the conversions between Windows-1252, UTF-8 and UTF-16, and 1252 case mapping.
#include "AnsiString.h"

#include <cstring>

namespace {

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

char ToAnsiByte(char32_t u) {
  int b = cp1252::FromUnicode(u);
  return b < 0 ? cp1252::kReplacement : static_cast<char>(b);
}

// Reads the next code point of a UTF-16 text, pairing surrogates; a lone surrogate is kept as is.
char32_t NextUtf16(const WideString& w, std::size_t& i) {
  char32_t u = w[i++];
  if (u >= 0xD800 && u <= 0xDBFF && i < w.size() && w[i] >= 0xDC00 && w[i] <= 0xDFFF) {
    u = 0x10000 + ((u - 0xD800) << 10) + (w[i++] - 0xDC00);
  }
  return u;
}

bool IsAscii(std::string_view text) {
  std::uint64_t high = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t eight;
    std::memcpy(&eight, text.data() + i, 8);
    high |= eight;
  }
  for (; i < text.size(); ++i) high |= static_cast<unsigned char>(text[i]);
  return (high & 0x8080808080808080u) == 0;
}

}  // namespace

std::size_t Utf8ToAnsiInto(std::string_view utf8, char* Out, std::size_t Max) {
  const char* s = utf8.data();
  const std::size_t n = utf8.size();
  std::size_t i = 0, o = 0;
  while (i < n && o < Max) {
    // Eight bytes of ASCII at a time: most texts are codes and plain words.
    std::uint64_t eight;
    if (n - i >= 8 && Max - o >= 8 && (std::memcpy(&eight, s + i, 8), (eight & 0x8080808080808080u) == 0)) {
      std::memcpy(Out + o, s + i, 8);
      i += 8;
      o += 8;
      continue;
    }
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      Out[o++] = s[i++];
      continue;
    }
    std::size_t start = i;
    char32_t u = cp1252::DecodeUtf8(s, n, i);
    if (u > 0x10FFFF) {
      // Not UTF-8: the byte is taken as a 1252 character, as older files hold them.
      Out[o++] = s[start];
      i = start + 1;
    } else {
      Out[o++] = ToAnsiByte(u);
    }
  }
  return o;
}

String Utf8ToAnsi(std::string_view utf8) {
  // Codes and most names are plain ASCII, the same bytes in both: copied as they are.
  if (IsAscii(utf8)) return String(utf8);
  // Never longer than the UTF-8 text: every character takes one byte.
  String out(utf8.size(), '\0');
  out.resize(Utf8ToAnsiInto(utf8, out.data(), out.size()));
  return out;
}

std::string AnsiToUtf8(const String& ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 8);
  for (char c : ansi) AppendUtf8(out, cp1252::ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

WideString AnsiToWide(const String& ansi) {
  WideString out;
  out.reserve(ansi.size());
  for (char c : ansi) out += cp1252::ToUnicode(static_cast<unsigned char>(c));
  return out;
}

String WideToAnsi(const WideString& wide) {
  String out;
  out.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size();) out += ToAnsiByte(NextUtf16(wide, i));
  return out;
}

WideString Utf8ToWide(const std::string& utf8) {
  WideString out;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t start = i;
    char32_t u = cp1252::DecodeUtf8(utf8.data(), utf8.size(), i);
    if (u > 0x10FFFF) {
      u = cp1252::ToUnicode(static_cast<unsigned char>(utf8[start]));
      i = start + 1;
    }
    if (u >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((u - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((u - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(u);
    }
  }
  return out;
}

std::string WideToUtf8(const WideString& wide) {
  std::string out;
  for (std::size_t i = 0; i < wide.size();) {
    char32_t u = NextUtf16(wide, i);
    // A lone surrogate has no UTF-8 form: it becomes the replacement character.
    AppendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? char32_t(0xFFFD) : u);
  }
  return out;
}

char AnsiUpperChar(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
  switch (b) {
    case 0x9A: return static_cast<char>(0x8A);  // š
    case 0x9C: return static_cast<char>(0x8C);  // œ
    case 0x9E: return static_cast<char>(0x8E);  // ž
    case 0xFF: return static_cast<char>(0x9F);  // ÿ
    default: return c;
  }
}

char AnsiLowerChar(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
  switch (b) {
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x9F: return static_cast<char>(0xFF);
    default: return c;
  }
}

bool IsAnsiLetter(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  if ((b | 0x20) >= 'a' && (b | 0x20) <= 'z') return true;
  if (b >= 0xC0 && b != 0xD7 && b != 0xF7) return true;
  return b == 0x8A || b == 0x8C || b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F ||
         b == 0x83 || b == 0xAA || b == 0xB5 || b == 0xBA;
}
