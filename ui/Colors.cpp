// This file implements colours: ColorToRGB and the conversions between colours and identifiers.
#include "Colors.h"

#include "WinApi.h"

#include "Format.h"
#include "StrUtils.h"

const TIntIdents ColorIdents = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
    // Read only: the first name of a value is the one written.
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
};

std::uint32_t ColorToRGB(TColor Color) {
  if (Color < 0) return ::GetSysColor(Color & 0xFF);
  return std::uint32_t(Color) & 0xFFFFFF;
}

bool ColorToIdent(int Color, String& Ident) { return ColorIdents.IntToIdent(Color, Ident); }

bool IdentToColor(const String& Ident, int& Color) { return ColorIdents.IdentToInt(Ident, Color); }

String ColorToString(TColor Color) {
  String Ident;
  if (ColorToIdent(Color, Ident)) return Ident;
  return "$" + IntToHex(std::uint32_t(Color), 8);
}

TColor StringToColor(const String& S) {
  int Color;
  if (IdentToColor(S, Color)) return Color;
  return StrToInt(S);
}
