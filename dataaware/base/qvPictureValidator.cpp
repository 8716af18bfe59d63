// This file implements the picture-mask validator: the syntax check and the recursive matcher.
#include "qvPictureValidator.h"

// Made with its picture only: no virtual construction.
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqvPictureValidator)

namespace {

bool IsDigit(char C) { return C >= '0' && C <= '9'; }
// Letters of the picture language: ASCII letters and every code above 128.
bool IsLetter(char C) {
  unsigned char U = static_cast<unsigned char>(C);
  return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || U > 128;
}
char AsciiUpper(char C) { return C >= 'a' && C <= 'z' ? char(C - 'a' + 'A') : C; }
bool IsSpecial(char C) {
  switch (C) {
    case '!': case '#': case '&': case '*': case ',': case '?':
    case '@': case '[': case ']': case '{': case '}': case '~':
      return true;
    default:
      return false;
  }
}

// One match of a text against a picture. Positions I (picture) and J (text) count from 1; End is
// the picture position a nested call must not pass.
class TMatcher {
 public:
  TMatcher(const String& Picture, String& Text) : FPic(Picture), FText(Text) {}

  int Run(bool AutoFill) {
    int End = PicLength() + 1;
    I = 1;
    J = 1;
    int R = Process(End);
    if (R != prError && R != prSyntax && J <= TextLength()) R = prError;
    if (R == prIncomplete && AutoFill) {
      String Saved = FText;
      bool Appended = false;
      for (int K = I; K < End && !IsSpecial(Pic(K)); ++K) {
        if (Pic(K) == ';') {
          ++K;
          if (K >= End) break;
        }
        FText += Pic(K);
        Appended = true;
      }
      if (Appended) {
        I = 1;
        J = 1;
        R = Process(End);
        if (R == prError) {
          FText = Saved;
          R = prIncomplete;
        }
      }
    }
    if (R == prAmbiguous) return prComplete;
    if (R == prIncompNoFill) return prIncomplete;
    return R;
  }

 private:
  char Pic(int K) const { return K >= 1 && K <= PicLength() ? FPic[std::size_t(K - 1)] : '\0'; }
  int PicLength() const { return int(FPic.size()); }
  int TextLength() const { return int(FText.size()); }

  // The position after the element at K: a bracketed part as a whole, ";c" as one, "*n" with the
  // element it repeats. Never beyond End.
  int SkipElement(int K, int End) const {
    int Brackets = 0, Braces = 0;
    do {
      if (K >= End) return End;
      switch (Pic(K)) {
        case '[': ++Brackets; ++K; break;
        case ']': --Brackets; ++K; break;
        case '{': ++Braces; ++K; break;
        case '}': --Braces; ++K; break;
        case ';': K += 2; break;
        case '*':
          ++K;
          while (K < End && IsDigit(Pic(K))) ++K;
          K = SkipElement(K, End);
          break;
        default: ++K; break;
      }
    } while (Brackets != 0 || Braces != 0);
    return K < End ? K : End;
  }

  // Moves I to the start of the next alternative; false when there is none before End.
  bool NextAlternative(int End) {
    while (I < End && Pic(I) != ',') I = SkipElement(I, End);
    if (I < End) ++I;
    return I < End;
  }

  // The alternatives loop of one level.
  int Process(int End) {
    bool SavedBlank = FBlankMatched;
    FBlankMatched = false;
    int R = RunAlternatives(End);
    FBlankMatched = SavedBlank;
    return R;
  }

  int RunAlternatives(int End) {
    bool Incomplete = false;
    int IncompleteI = 0, IncompleteJ = 0;
    int AltStart = I;
    int StartJ = J;
    for (;;) {
      int R = Scan(End);
      // A complete match must get further than an incomplete one.
      if ((R == prComplete || R == prAmbiguous) && Incomplete && J < IncompleteJ) {
        R = prIncomplete;
        J = IncompleteJ;
      }
      if (R == prIncomplete || R == prError) {
        if (R == prIncomplete && !Incomplete) {
          Incomplete = true;
          IncompleteI = I;
          IncompleteJ = J;
        }
        I = AltStart;
        J = StartJ;
        if (!NextAlternative(End)) {
          if (Incomplete) {
            I = IncompleteI;
            J = IncompleteJ;
            return prIncomplete;
          }
          return R;
        }
        AltStart = I;
        continue;
      }
      return R == prComplete && Incomplete ? prAmbiguous : R;
    }
  }

  int Scan(int End) {
    int R = prEmpty;
    while (I < End && Pic(I) != ',') {
      if (J > TextLength()) return CheckComplete(R, End);
      char C = FText[std::size_t(J - 1)];
      char P = Pic(I);
      switch (P) {
        case '#':
          if (!IsDigit(C)) return prError;
          Store(C);
          break;
        case '?':
          if (!IsLetter(C)) return prError;
          Store(C);
          break;
        case '&':
          if (!IsLetter(C)) return prError;
          Store(AnsiUpperChar(C));
          break;
        case '~':
          if (!IsLetter(C)) return prError;
          Store(AnsiLowerChar(C));
          break;
        case '!':
          Store(AnsiUpperChar(C));
          break;
        case '@':
          Store(C);
          break;
        case '*':
          R = Repetition(End);
          if (R != prComplete && R != prAmbiguous) return R;
          break;
        case '{':
          R = Group(End);
          if (R != prComplete && R != prAmbiguous) return R;
          break;
        case '[':
          R = Group(End);
          if (R == prIncomplete || R == prIncompNoFill) return R;
          if (R == prError) R = prAmbiguous;
          break;
        case ';':
          ++I;
          if (!Literal(C, Pic(I))) return prError;
          break;
        default:
          if (!Literal(C, P)) return prError;
          break;
      }
      R = R == prAmbiguous ? prIncompNoFill : prIncomplete;
    }
    return R == prIncompNoFill ? prAmbiguous : prComplete;
  }

  void Store(char C) {
    FText[std::size_t(J - 1)] = C;
    ++I;
    ++J;
  }

  // A literal matches without regard to ASCII case and is stored as the picture has it. A blank
  // typed last where another literal is expected becomes that literal, once a level has not
  // already matched a final blank against a blank of the picture.
  bool Literal(char C, char P) {
    bool Last = J == TextLength();
    if (AsciiUpper(C) == AsciiUpper(P)) {
      if (C == ' ' && Last) FBlankMatched = true;
      Store(P);
      return true;
    }
    if (C == ' ' && Last && !FBlankMatched) {
      Store(P);
      return true;
    }
    return false;
  }

  int Group(int End) {
    int GroupEnd = SkipElement(I, End);
    ++I;
    int R = Process(GroupEnd - 1);
    if (R != prIncomplete && R != prIncompNoFill) I = GroupEnd;
    return R;
  }

  int Repetition(int End) {
    ++I;
    int Count = 0;
    while (I < End && IsDigit(Pic(I))) {
      Count = Count * 10 + (Pic(I) - '0');
      ++I;
    }
    if (I > End) return prSyntax;
    int ElementStart = I;
    int ElementEnd = SkipElement(I, End);
    int R = prComplete;
    if (Count > 0) {
      for (int N = 0; N < Count; ++N) {
        I = ElementStart;
        R = Process(ElementEnd);
        if (R != prComplete && R != prAmbiguous) {
          if (R == prEmpty) return Pic(I) == '[' ? prComplete : prIncomplete;
          return R;
        }
      }
    } else {
      for (;;) {
        int StartJ = J;
        I = ElementStart;
        R = Process(ElementEnd);
        if (J == StartJ || (R != prComplete && R != prAmbiguous)) break;
      }
      if (R == prEmpty || R == prError) R = prAmbiguous;
    }
    I = ElementEnd;
    return R;
  }

  // The text ended inside the picture: what is left from I may all be optional.
  int CheckComplete(int R, int End) {
    if (R != prIncomplete && R != prIncompNoFill) return R;
    return RestIsOptional(I, End) ? prAmbiguous : R;
  }

  bool RestIsOptional(int K, int End) const {
    while (K < End) {
      switch (Pic(K)) {
        case '*':
          if (K + 1 < End && IsDigit(Pic(K + 1))) {
            // A counted repetition is optional only as "*n[...]" with one digit.
            if (K + 2 < End && Pic(K + 2) == '[') {
              K = SkipElement(K + 2, End);
              break;
            }
            return false;
          }
          K = SkipElement(K + 1, End);
          break;
        case '[':
          K = SkipElement(K, End);
          break;
        case '{': {
          int GroupEnd = SkipElement(K, End);
          if (!SomeAlternativeOptional(K + 1, GroupEnd - 1)) return false;
          K = GroupEnd;
          break;
        }
        case ',':
          // The rest belongs to other alternatives.
          K = End;
          break;
        default:
          return false;
      }
    }
    return true;
  }

  bool SomeAlternativeOptional(int From, int End) const {
    int Start = From;
    for (;;) {
      int K = Start;
      while (K < End && Pic(K) != ',') K = SkipElement(K, End);
      if (RestIsOptional(Start, K)) return true;
      if (K >= End) return false;
      Start = K + 1;
    }
  }

  const String& FPic;
  String& FText;
  int I = 1;
  int J = 1;
  bool FBlankMatched = false;
};

}  // namespace

TqvPictureValidator::TqvPictureValidator(const String& APicture, bool AutoFill)
    : Options(AutoFill ? voOnAppend | voFill : voOnAppend), Picture(APicture) {
  String Empty;
  if (MatchPicture(Empty, false) != prEmpty) Status = 1;
}

bool TqvPictureValidator::SyntaxCheck() const {
  std::size_t N = Picture.size();
  if (N == 0) return false;
  if (Picture[N - 1] == ';') return false;
  if (Picture[N - 1] == '*' && (N < 2 || Picture[N - 2] != ';')) return false;
  int Brackets = 0, Braces = 0;
  for (std::size_t K = 0; K < N; ++K) {
    switch (Picture[K]) {
      case ';': ++K; break;
      case '[': ++Brackets; break;
      case ']': --Brackets; break;
      case '{': ++Braces; break;
      case '}': --Braces; break;
      default: break;
    }
    // A closing bracket before its opening one never balances.
    if (Brackets < 0 || Braces < 0) return false;
  }
  return Brackets == 0 && Braces == 0;
}

int TqvPictureValidator::MatchPicture(String& Text, bool AutoFill) {
  if (!SyntaxCheck()) return prSyntax;
  if (Text.empty()) return prEmpty;
  return TMatcher(Picture, Text).Run(AutoFill);
}

bool TqvPictureValidator::IsValidInput(String& Text, bool SuppressFill) {
  bool Fill = (Options & voFill) != 0 && !SuppressFill;
  return MatchPicture(Text, Fill) != prError;
}

bool TqvPictureValidator::IsValid(const String& Text) {
  String Copy = Text;
  int R = MatchPicture(Copy, false);
  return R == prComplete || R == prEmpty;
}
