// This file implements the conversions between floating-point numbers and text under the locale
// settings: FloatToStr, FloatToStrF, FormatFloat (the picture language), StrToFloat and its
// variants, decimal rounding (RoundTo, SimpleRoundTo) and CurrToStr.
#pragma once

#include "AnsiString.h"

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Every conversion first reads a double as its 15 significant decimal digits (what a double holds
// reliably, and what a user typed), then rounds those digits half away from zero. So 2.675, stored
// as 2.67499999999999982..., is read as 2.67500000000000 and shown with two decimals as "2,68".

// 15 significant digits, general form, "," or the settings' decimal separator.
String FloatToStr(double Value);
// Precision: significant digits (1..18; digits past the 15th are zeros). Digits: decimals for
// ffFixed/ffNumber/ffCurrency (0..18), minimum exponent digits for ffGeneral/ffExponent (0..4).
String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
// The picture language: 0 # . , E+ E- e+ e- '...' "..." and up to three sections separated by ';'.
String FormatFloat(const String& Pattern, double Value);

// Blanks around the text, an optional sign, digits with the settings' decimal separator and an
// optional exponent; no thousand separators. EConvertError on anything else.
double StrToFloat(const String& S);
bool TryStrToFloat(const String& S, double& Value);
double StrToFloatDef(const String& S, double Default);

// Rounds to a multiple of 10^Digit (Digit -2: hundredths), half to even.
double RoundTo(double Value, int Digit);
// Rounds to a multiple of 10^Digit, half away from zero.
double SimpleRoundTo(double Value, int Digit = -2);

// A currency amount (four decimals at most, rounded half to even) in the general form.
String CurrToStr(double Value);
