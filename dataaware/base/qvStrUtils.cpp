// This file implements the text services of the data-aware library and its two stacks.
#include "qvStrUtils.h"

#include "StrUtils.h"

VELBOR_IMPLEMENT_CLASS(TStackStr)
VELBOR_IMPLEMENT_CLASS(TStackPtr)

namespace {

bool IsBlankOrTab(char C) { return C == ' ' || C == '\t'; }
unsigned char Code(char C) { return static_cast<unsigned char>(C); }

}  // namespace

TqvCharSet qvCharSet(const String& Chars) {
  TqvCharSet Set;
  for (char C : Chars) Set.set(Code(C));
  return Set;
}

void qvGetToken(const String& Text, const String& Delimiter, int& Pos, String& Token) {
  Token.clear();
  if (Pos <= 0) return;
  if (Pos > int(Text.size())) {
    Pos = -1;
    return;
  }
  String Rest = Copy(Text, Pos, int(Text.size()));
  int Found = 0;
  int SearchedLength = 0;
  if (Delimiter.size() == 1) {
    Found = ::Pos(Delimiter, Rest);
    SearchedLength = 1;
  } else if (!Delimiter.empty()) {
    // A word delimiter ("and") only counts between blanks, in any case.
    String Word = " " + UpperCase(Delimiter) + " ";
    Found = ::Pos(Word, UpperCase(Rest));
    SearchedLength = int(Word.size());
  }
  if (Found > 0) {
    Token = Rest.substr(0, std::size_t(Found - 1));
    Pos = Pos + Found - 1 + SearchedLength;
  } else {
    Token = Rest;
    Pos = -1;
  }
}

void qvSplitString(const String& Text, char Delimiter, TStrings* List) {
  List->Clear();
  std::size_t Start = 0;
  for (;;) {
    std::size_t At = Text.find(Delimiter, Start);
    if (At == String::npos) {
      List->Add(Text.substr(Start));
      return;
    }
    List->Add(Text.substr(Start, At - Start));
    Start = At + 1;
  }
}

void qvGetWord(const String& Text, int& Pos, int Flags, String& Word, const TqvCharSet& StopSet) {
  Word.clear();
  int Length = int(Text.size());
  if (Pos <= 0 || Pos > Length) return;
  if (Flags & gwSkipBlanks) {
    while (Pos <= Length && IsBlankOrTab(Text[std::size_t(Pos - 1)])) ++Pos;
    if (Pos > Length) return;
  }
  if ((Flags & gwQuotedWords) && Text[std::size_t(Pos - 1)] == '"') {
    std::size_t Close = Text.find('"', std::size_t(Pos));
    if (Close != String::npos) {
      Word = Text.substr(std::size_t(Pos - 1), Close - std::size_t(Pos - 1) + 1);
      Pos = int(Close) + 2;
    } else {
      Word = Text.substr(std::size_t(Pos - 1));
      Pos = Length + 1;
    }
    if (Flags & gwRemoveQuotes) {
      if (!Word.empty() && (Word.front() == '"' || Word.front() == '\'')) Word.erase(0, 1);
      if (!Word.empty() && (Word.back() == '"' || Word.back() == '\'')) Word.pop_back();
    }
    return;
  }
  unsigned char Lowest = (Flags & gwAllowBlanks) ? 32 : 33;
  int End = Pos;
  while (End <= Length) {
    unsigned char C = Code(Text[std::size_t(End - 1)]);
    if (StopSet.test(C) || C < Lowest) break;
    ++End;
  }
  if (End == Pos) {
    // A stop character (or a blank) at the position is a word of one character.
    Word = Text.substr(std::size_t(Pos - 1), 1);
    Pos = Pos + 1;
    return;
  }
  Word = Text.substr(std::size_t(Pos - 1), std::size_t(End - Pos));
  // A one-character word also passes over the character that ended it ("x=1" continues at "1").
  Pos = Word.size() >= 2 ? End : End + 1;
}

void qvTrimBlanks(String& Text) {
  std::size_t First = 0;
  while (First < Text.size() && IsBlankOrTab(Text[First])) ++First;
  std::size_t Last = Text.size();
  while (Last > First && IsBlankOrTab(Text[Last - 1])) --Last;
  Text = Text.substr(First, Last - First);
}

void qvTrimLeftChars(String& Text, const TqvCharSet& Chars) {
  std::size_t First = 0;
  while (First < Text.size() && Chars.test(Code(Text[First]))) ++First;
  Text.erase(0, First);
}

void qvTrimRightChars(String& Text, const TqvCharSet& Chars) {
  std::size_t Last = Text.size();
  while (Last > 0 && Chars.test(Code(Text[Last - 1]))) --Last;
  Text.resize(Last);
}

String qvRemoveChar(const String& Text, char C) {
  String Result;
  Result.reserve(Text.size());
  for (char Each : Text)
    if (Each != C) Result += Each;
  return Result;
}

String qvReplaceChar(const String& Text, char OldChar, char NewChar) {
  String Result = Text;
  for (char& Each : Result)
    if (Each == OldChar) Each = NewChar;
  return Result;
}

String qvReplaceCharByStr(const String& Text, char C, const String& S) {
  String Result = Text;
  std::size_t At = Result.find(C);
  while (At != String::npos) {
    Result.replace(At, 1, S);
    At = Result.find(C, At + S.size());
  }
  return Result;
}

bool qvSameText(const String& A, const String& B) { return UpperCase(A) == UpperCase(B); }

int qvCountChar(const String& Text, char C) {
  int Count = 0;
  for (char Each : Text)
    if (Each == C) ++Count;
  return Count;
}

String qvStrAfterChar(const String& Text, char C) {
  std::size_t At = Text.find(C);
  return At == String::npos ? String() : Text.substr(At + 1);
}

String qvStrBeforeChar(const String& Text, char C) {
  std::size_t At = Text.find(C);
  return At == String::npos ? String() : Text.substr(0, At);
}

int qvMaxInt(int A, int B) { return A > B ? A : B; }
int qvMax(int A, int B) { return A > B ? A : B; }
int qvMin(int A, int B) { return A < B ? A : B; }

String qvExtractFileBaseName(const String& FileName) {
  std::size_t Slash = FileName.find_last_of("\\/:");
  String Name = Slash == String::npos ? FileName : FileName.substr(Slash + 1);
  std::size_t Dot = Name.find('.');
  return Dot == String::npos ? Name : Name.substr(0, Dot);
}

String TStackStr::Pop() {
  if (FList.Count() == 0) return String();
  int Last = FList.Count() - 1;
  String Top = FList.Strings(Last);
  FList.Delete(Last);
  return Top;
}

void* TStackPtr::Pop() {
  if (FList.Count() == 0) return nullptr;
  int Last = FList.Count() - 1;
  void* Top = FList.Items(Last);
  FList.Delete(Last);
  return Top;
}
