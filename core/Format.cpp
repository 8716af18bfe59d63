// This file implements Format: the directive scanner and the conversion of each argument kind.
#include "Format.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "Exceptions.h"
#include "FloatFormat.h"
#include "FormatSettings.h"

namespace {

[[noreturn]] void BadFormat(const String& Fmt) {
  throw EConvertError("Format '" + Fmt + "' incorrect ou incompatible avec l'argument");
}

// The argument's bits as an unsigned 64-bit number (a negative integer in two's complement).
unsigned long long Unsigned(const TVarRec& a) {
  return a.VType == TVarRec::vtUInt64 ? a.VUInt64 : static_cast<unsigned long long>(a.VInt64);
}

bool IsInteger(const TVarRec& a) {
  return a.VType == TVarRec::vtInteger || a.VType == TVarRec::vtInt64 || a.VType == TVarRec::vtUInt64;
}

String Hex(unsigned long long Value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", Value);
  return buf;
}

// Pads the digits (after any sign) with zeros up to Precision digits.
String ZeroPad(String Digits, int Precision) {
  std::size_t sign = !Digits.empty() && Digits[0] == '-' ? 1 : 0;
  int count = static_cast<int>(Digits.size() - sign);
  if (Precision > count) Digits.insert(sign, Precision - count, '0');
  return Digits;
}

class TFormatter {
 public:
  TFormatter(const String& Fmt, std::initializer_list<TVarRec> Args) : Fmt_(Fmt), Args_(Args) {}

  String Run() {
    String out;
    while (Pos_ < Fmt_.size()) {
      char c = Fmt_[Pos_++];
      if (c != '%') {
        out += c;
      } else if (Peek() == '%') {
        ++Pos_;
        out += '%';
      } else {
        out += Directive();
      }
    }
    return out;
  }

 private:
  char Peek() const { return Pos_ < Fmt_.size() ? Fmt_[Pos_] : '\0'; }

  const TVarRec& NextArg() {
    if (ArgIndex_ >= Args_.size()) BadFormat(Fmt_);
    return Args_.begin()[ArgIndex_++];
  }

  // A decimal number or "*" (taken from the arguments); false when neither is there.
  bool Number(long long& Value) {
    if (Peek() == '*') {
      ++Pos_;
      const TVarRec& a = NextArg();
      if (!IsInteger(a)) BadFormat(Fmt_);
      Value = a.VInt64;
      return true;
    }
    if (Peek() < '0' || Peek() > '9') return false;
    Value = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      Value = std::min(Value * 10 + (Fmt_[Pos_++] - '0'), 1000000LL);
    }
    return true;
  }

  String Directive() {
    long long number = 0;
    bool haveNumber = Number(number);
    if (haveNumber && Peek() == ':') {
      ++Pos_;
      ArgIndex_ = static_cast<std::size_t>(std::max(0LL, number));
      haveNumber = false;
    }
    bool left = false;
    if (!haveNumber && Peek() == '-') {
      ++Pos_;
      left = true;
    }
    long long width = 0;
    if (haveNumber)
      width = number;
    else
      Number(width);
    long long precision = -1;
    if (Peek() == '.') {
      ++Pos_;
      if (!Number(precision)) precision = 0;
    }
    if (Pos_ >= Fmt_.size()) BadFormat(Fmt_);
    char type = Fmt_[Pos_++];
    String text = Convert(type, NextArg(), static_cast<int>(std::max(-1LL, precision)));
    std::size_t w = static_cast<std::size_t>(std::max(0LL, width));
    if (text.size() < w) {
      if (left)
        text.append(w - text.size(), ' ');
      else
        text.insert(0, w - text.size(), ' ');
    }
    return text;
  }

  String Convert(char Type, const TVarRec& a, int Precision) {
    switch (Type) {
      case 'd': case 'D':
        if (!IsInteger(a)) BadFormat(Fmt_);
        return ZeroPad(a.VType == TVarRec::vtUInt64 ? std::to_string(a.VUInt64)
                                                    : std::to_string(a.VInt64),
                       Precision);
      case 'u': case 'U':
        if (!IsInteger(a)) BadFormat(Fmt_);
        // A negative 32-bit integer reads as its unsigned 32-bit pattern.
        return ZeroPad(a.VType == TVarRec::vtInteger
                           ? std::to_string(static_cast<std::uint32_t>(a.VInt64))
                           : std::to_string(Unsigned(a)),
                       Precision);
      case 'x': case 'X':
        if (!IsInteger(a)) BadFormat(Fmt_);
        return ZeroPad(a.VType == TVarRec::vtInteger ? Hex(static_cast<std::uint32_t>(a.VInt64))
                                                     : Hex(Unsigned(a)),
                       Precision);
      case 'e': case 'E':
        return FloatToStrF(Float(a), ffExponent, Precision < 0 ? 15 : Precision, 3);
      case 'g': case 'G':
        // The general form as FloatToStr writes it: the exponent unpadded and signed only below 1.
        return FloatToStrF(Float(a), ffGeneral, Precision < 0 ? 15 : Precision, 0);
      case 'f': case 'F':
        return FloatToStrF(Float(a), ffFixed, 18, Precision < 0 ? 2 : Precision);
      case 'n': case 'N':
        return FloatToStrF(Float(a), ffNumber, 18, Precision < 0 ? 2 : Precision);
      case 'm': case 'M':
        return FloatToStrF(Float(a), ffCurrency, 18,
                           Precision < 0 ? FormatSettings.CurrencyDecimals : Precision);
      case 'p': case 'P': {
        if (a.VType != TVarRec::vtPointer && a.VType != TVarRec::vtPChar) BadFormat(Fmt_);
        // Eight digits as on a 32-bit system; an address past 32 bits shows all sixteen.
        auto v = reinterpret_cast<std::uintptr_t>(a.VPointer);
        return ZeroPad(Hex(v), v > 0xFFFFFFFFu ? 16 : 8);
      }
      case 's': case 'S': {
        String s;
        if (a.VType == TVarRec::vtString)
          s = *a.VString;
        else if (a.VType == TVarRec::vtPChar)
          s = a.VPChar ? a.VPChar : "";
        else if (a.VType == TVarRec::vtChar)
          s = String(1, a.VChar);
        else
          BadFormat(Fmt_);
        if (Precision >= 0 && static_cast<std::size_t>(Precision) < s.size()) s.resize(Precision);
        return s;
      }
      default:
        BadFormat(Fmt_);
    }
  }

  double Float(const TVarRec& a) {
    if (a.VType != TVarRec::vtExtended) BadFormat(Fmt_);
    return a.VExtended;
  }

  const String& Fmt_;
  std::initializer_list<TVarRec> Args_;
  std::size_t Pos_ = 0;
  std::size_t ArgIndex_ = 0;
};

}  // namespace

String Format(const String& Fmt, std::initializer_list<TVarRec> Args) {
  return TFormatter(Fmt, Args).Run();
}
