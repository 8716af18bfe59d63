// This file implements the edit-mask language of the masked edit (see MaskUtils.h).
#include "MaskUtils.h"

#include <algorithm>

#include "FormatSettings.h"

namespace {

bool IsMaskChar(char C) {
  switch (C) {
    case '0': case '9': case '#': case 'L': case 'l': case 'A': case 'a': case 'C': case 'c':
      return true;
    default:
      return false;
  }
}

bool IsOptionalMaskChar(char C) { return C == '9' || C == '#' || C == 'l' || C == 'a' || C == 'c'; }

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

}  // namespace

int MaskGetFldSeparator(const String& EditMask) {
  for (std::size_t i = 0; i < EditMask.size(); ++i) {
    if (EditMask[i] == mDirLiteral) {
      ++i;  // an escaped ";" belongs to the mask
      continue;
    }
    if (EditMask[i] == mMskFieldSeparator) return int(i);
  }
  return -1;
}

bool MaskGetMaskSave(const String& EditMask) {
  int sep = MaskGetFldSeparator(EditMask);
  if (sep < 0 || std::size_t(sep + 1) >= EditMask.size()) return true;
  return EditMask[std::size_t(sep + 1)] != mMskNoSave;
}

char MaskGetMaskBlank(const String& EditMask) {
  int sep = MaskGetFldSeparator(EditMask);
  if (sep < 0) return mMskDefaultBlank;
  // The blank is the character after the second separator.
  std::size_t second = EditMask.find(mMskFieldSeparator, std::size_t(sep + 1));
  if (second == String::npos || second + 1 >= EditMask.size()) return mMskDefaultBlank;
  return EditMask[second + 1];
}

char MaskIntlLiteralToChar(char IntlLiteral) {
  if (IntlLiteral == '/') return FormatSettings.DateSeparator;
  if (IntlLiteral == ':') return FormatSettings.TimeSeparator;
  return IntlLiteral;
}

TMaskCharType MaskGetCharType(const String& EditMask, int MaskOffset) {
  int sep = MaskGetFldSeparator(EditMask);
  int length = int(EditMask.size());
  if (MaskOffset < 0 || MaskOffset >= length) return mcNone;
  if (sep >= 0 && MaskOffset == sep) return mcFieldSeparator;
  if (sep >= 0 && MaskOffset > sep) return mcField;
  // A character after an escape is a literal, whatever it is.
  if (MaskOffset > 0 && EditMask[std::size_t(MaskOffset - 1)] == mDirLiteral) {
    int run = 0;
    for (int i = MaskOffset - 1; i >= 0 && EditMask[std::size_t(i)] == mDirLiteral; --i) ++run;
    if (run % 2 == 1) return mcLiteral;
  }
  char c = EditMask[std::size_t(MaskOffset)];
  switch (c) {
    case mDirReverse:
    case mDirUpperCase:
    case mDirLowerCase:
    case mDirLiteral:
      return mcDirective;
    case '/':
    case ':':
      return mcIntlLiteral;
    default:
      break;
  }
  if (IsMaskChar(c)) return IsOptionalMaskChar(c) ? mcMaskOpt : mcMask;
  return mcLiteral;
}

TMaskDirectives MaskGetCurrentDirectives(const String& EditMask, int MaskOffset) {
  TMaskDirectives result = 0;
  for (int i = 0; i < MaskOffset && i < int(EditMask.size()); ++i) {
    char c = EditMask[std::size_t(i)];
    TMaskCharType type = MaskGetCharType(EditMask, i);
    if (type == mcFieldSeparator) break;
    if (type != mcDirective) continue;
    if (c == mDirUpperCase) {
      if (i > 0 && EditMask[std::size_t(i - 1)] == mDirLowerCase) result &= ~(msUpper | msLower);  // "<>"
      else result = (result & ~msLower) | msUpper;
    } else if (c == mDirLowerCase) {
      result = (result & ~msUpper) | msLower;
    }
  }
  TMaskCharType here = MaskGetCharType(EditMask, MaskOffset);
  if (here == mcMask || here == mcMaskOpt) result |= msMask;
  if (here == mcLiteral || here == mcIntlLiteral) result |= msLiteral;
  return result;
}

TEditMaskInfo ParseEditMask(const String& EditMask) {
  TEditMaskInfo info;
  if (EditMask.empty()) return info;
  info.SaveLiterals = MaskGetMaskSave(EditMask);
  info.Blank = MaskGetMaskBlank(EditMask);
  int sep = MaskGetFldSeparator(EditMask);
  std::size_t end = sep < 0 ? EditMask.size() : std::size_t(sep);
  int caseState = 0;
  for (std::size_t i = 0; i < end; ++i) {
    char c = EditMask[i];
    TMaskPosition p;
    switch (c) {
      case mDirReverse:
        info.Reverse = true;
        continue;
      case mDirUpperCase:
        caseState = msUpper;
        continue;
      case mDirLowerCase:
        if (i + 1 < end && EditMask[i + 1] == mDirUpperCase) {
          caseState = 0;
          ++i;
        } else {
          caseState = msLower;
        }
        continue;
      case mDirLiteral:
        if (i + 1 >= end) continue;
        p.Literal = true;
        p.Char = EditMask[++i];
        break;
      case mMskSpace:
        p.Literal = true;
        p.Char = ' ';
        break;
      case '/':
      case ':':
        p.Literal = true;
        p.Char = MaskIntlLiteralToChar(c);
        break;
      default:
        if (IsMaskChar(c)) {
          p.Char = c;
          p.Case = caseState;
        } else {
          p.Literal = true;
          p.Char = c;
        }
        break;
    }
    info.Positions.push_back(p);
  }
  return info;
}

String TEditMaskInfo::EmptyEditText() const {
  String s;
  s.reserve(Positions.size());
  for (const TMaskPosition& p : Positions) s += p.Literal ? p.Char : Blank;
  return s;
}

bool MaskCharIsValid(char MaskChar, char Ch) {
  switch (MaskChar) {
    case '0': return IsDigit(Ch);
    case '9': return IsDigit(Ch) || Ch == ' ';
    case '#': return IsDigit(Ch) || Ch == '+' || Ch == '-' || Ch == ' ';
    case 'L': return IsAnsiLetter(Ch);
    case 'l': return IsAnsiLetter(Ch) || Ch == ' ';
    case 'A': return IsAnsiLetter(Ch) || IsDigit(Ch);
    case 'a': return IsAnsiLetter(Ch) || IsDigit(Ch) || Ch == ' ';
    case 'C': return static_cast<unsigned char>(Ch) >= 32;
    case 'c': return static_cast<unsigned char>(Ch) >= 32;
    default: return false;
  }
}

char MaskConvertCase(const TMaskPosition& Position, char Ch) {
  if (Position.Case == msUpper) return AnsiUpperChar(Ch);
  if (Position.Case == msLower) return AnsiLowerChar(Ch);
  return Ch;
}

String MaskTextToEditText(const TEditMaskInfo& Mask, const String& Text) {
  String edit = Mask.EmptyEditText();
  const int n = Mask.Length();
  // A position is filled from Text when the character fits; spaces stay blank.
  auto put = [&](int pos, char c) {
    const TMaskPosition& p = Mask.Positions[std::size_t(pos)];
    if (p.Literal || c == ' ' || c == Mask.Blank) return;
    char converted = MaskConvertCase(p, c);
    if (MaskCharIsValid(p.Char, converted)) edit[std::size_t(pos)] = converted;
  };
  if (Mask.SaveLiterals) {
    // Text holds the literals: position for position, from the end with !.
    int count = std::min(n, int(Text.size()));
    for (int i = 0; i < count; ++i) {
      int pos = Mask.Reverse ? n - 1 - i : i;
      int src = Mask.Reverse ? int(Text.size()) - 1 - i : i;
      put(pos, Text[std::size_t(src)]);
    }
    return edit;
  }
  // Text holds the input characters only: they fill the input positions in order (from the end
  // with !).
  if (Mask.Reverse) {
    int src = int(Text.size()) - 1;
    for (int pos = n - 1; pos >= 0 && src >= 0; --pos) {
      if (Mask.Positions[std::size_t(pos)].Literal) continue;
      put(pos, Text[std::size_t(src--)]);
    }
  } else {
    std::size_t src = 0;
    for (int pos = 0; pos < n && src < Text.size(); ++pos) {
      if (Mask.Positions[std::size_t(pos)].Literal) continue;
      put(pos, Text[src++]);
    }
  }
  return edit;
}

String MaskEditTextToText(const TEditMaskInfo& Mask, const String& EditText) {
  String result;
  const int n = std::min(Mask.Length(), int(EditText.size()));
  for (int i = 0; i < n; ++i) {
    const TMaskPosition& p = Mask.Positions[std::size_t(i)];
    char c = EditText[std::size_t(i)];
    if (p.Literal) {
      if (Mask.SaveLiterals) result += c;
      continue;
    }
    result += c == Mask.Blank ? ' ' : c;
  }
  if (Mask.SaveLiterals) return result;
  if (Mask.Reverse) {
    std::size_t first = result.find_first_not_of(' ');
    return first == String::npos ? String() : result.substr(first);
  }
  std::size_t last = result.find_last_not_of(' ');
  return last == String::npos ? String() : result.substr(0, last + 1);
}

int MaskFirstInvalidPosition(const TEditMaskInfo& Mask, const String& EditText) {
  for (int i = 0; i < Mask.Length(); ++i) {
    const TMaskPosition& p = Mask.Positions[std::size_t(i)];
    if (p.Literal) continue;
    char c = i < int(EditText.size()) ? EditText[std::size_t(i)] : Mask.Blank;
    if (c == Mask.Blank) c = ' ';
    if (!MaskCharIsValid(p.Char, c)) return i;
  }
  return -1;
}

bool MaskIsEmptyEditText(const TEditMaskInfo& Mask, const String& EditText) {
  for (int i = 0; i < Mask.Length() && i < int(EditText.size()); ++i) {
    const TMaskPosition& p = Mask.Positions[std::size_t(i)];
    char c = EditText[std::size_t(i)];
    if (!p.Literal && c != Mask.Blank && c != ' ') return false;
  }
  return true;
}

String MaskDoFormatText(const String& EditMask, const String& Value, char Blank) {
  TEditMaskInfo mask = ParseEditMask(EditMask);
  mask.SaveLiterals = false;
  String edit = MaskTextToEditText(mask, Value);
  for (int i = 0; i < mask.Length(); ++i) {
    if (!mask.Positions[std::size_t(i)].Literal && edit[std::size_t(i)] == mask.Blank) edit[std::size_t(i)] = Blank;
  }
  return edit;
}

String PadInputLiterals(const String& EditMask, const String& Value, char Blank) {
  TEditMaskInfo mask = ParseEditMask(EditMask);
  mask.SaveLiterals = true;
  String edit = MaskTextToEditText(mask, Value);
  for (int i = 0; i < mask.Length(); ++i) {
    if (!mask.Positions[std::size_t(i)].Literal && edit[std::size_t(i)] == mask.Blank) edit[std::size_t(i)] = Blank;
  }
  return edit;
}

String FormatMaskText(const String& EditMask, const String& Value) {
  if (MaskGetMaskSave(EditMask)) return PadInputLiterals(EditMask, Value, ' ');
  return MaskDoFormatText(EditMask, Value, ' ');
}
