// This file implements the comparisons of 1252 text: the French text order and the plain
// identifier comparisons.
#include "TextOrder.h"

#include <cstdint>

namespace {

unsigned char FoldAscii(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - 32) : b;
}

// The French text order compares three keys in turn:
//  1. primary: base characters, accents and case removed, ligatures expanded (œ = oe, æ = ae,
//     ß = ss); controls < blanks < punctuation and symbols < digits < letters;
//  2. secondary: the mark of each position (unaccented first, then é, è, ê, ë, the other accents,
//     ligatures; typographic variants of a sign after the sign itself: ’ after ');
//  3. the case-folded bytes, so that only texts differing by case alone are ever equal.
// Every key is read through one 256-entry table built at compile time.

// Marks of letters, in the order French dictionaries give them.
enum : std::uint8_t {
  kPlain = 0,
  kAcute,
  kGrave,
  kCircumflex,
  kDiaeresis,
  kTilde,
  kRing,
  kCedilla,
  kCaron,
  kStroke,
  kHook,
  kLigature,
  kOrdinal,  // ª º and the superscript digits
};

struct TWeight {
  std::uint8_t Primary[2];    // Primary[1] is 0 unless the byte expands to two letters
  std::uint8_t Secondary[2];
  std::uint8_t Folded;        // the byte in lower case
};

struct TWeightTable {
  TWeight W[256];
};

// The same case folding as AnsiLowerChar, usable at compile time (a test checks they agree).
constexpr std::uint8_t LowerByte(unsigned b) {
  if (b >= 'A' && b <= 'Z') return std::uint8_t(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return std::uint8_t(b + 32);
  if (b == 0x8A || b == 0x8C || b == 0x8E) return std::uint8_t(b + 0x10);
  if (b == 0x9F) return 0xFF;
  return std::uint8_t(b);
}

// Bytes that are letters or digits in their own right; every other byte is a sign.
constexpr bool IsWordByte(unsigned b) {
  if ((b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z')) return true;
  if (b >= 0xC0) return b != 0xD7 && b != 0xF7;
  switch (b) {
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:
    case 0xAA: case 0xB2: case 0xB3: case 0xB5: case 0xB9: case 0xBA:
      return true;
    default:
      return false;
  }
}

constexpr TWeightTable BuildWeights() {
  TWeightTable t{};
  std::uint8_t next = 1;  // 0 stands for the end of a text
  auto own = [&](unsigned b) { t.W[b].Primary[0] = next++; };
  auto variant = [&](unsigned b, unsigned base, std::uint8_t mark) {
    t.W[b].Primary[0] = t.W[base].Primary[0];
    t.W[b].Secondary[0] = mark;
  };
  auto expand = [&](unsigned b, char first, char second) {
    t.W[b].Primary[0] = t.W[unsigned(first)].Primary[0];
    t.W[b].Primary[1] = t.W[unsigned(second)].Primary[0];
    t.W[b].Secondary[0] = kLigature;
    t.W[b].Secondary[1] = kLigature;
  };

  // Controls, including the bytes 1252 leaves undefined.
  for (unsigned b = 0; b < 0x20; ++b) own(b);
  for (unsigned b : {0x7Fu, 0x81u, 0x8Du, 0x8Fu, 0x90u, 0x9Du}) own(b);
  // Blanks, then the ASCII signs in byte order, each followed by its typographic variants.
  own(' ');
  variant(0xA0, ' ', 1);
  for (unsigned b = 0x21; b < 0x7F; ++b) {
    if (IsWordByte(b)) continue;
    own(b);
    if (b == '\'') { variant(0x91, b, 1); variant(0x92, b, 2); }
    if (b == '"') { variant(0x93, b, 1); variant(0x94, b, 2); variant(0xAB, b, 3); variant(0xBB, b, 4); variant(0x84, b, 5); }
    if (b == '-') { variant(0x96, b, 1); variant(0x97, b, 2); variant(0xAD, b, 3); }
    if (b == '^') variant(0x88, b, 1);
    if (b == '~') variant(0x98, b, 1);
  }
  // The other 1252 signs in byte order.
  for (unsigned b = 0x80; b < 0x100; ++b) {
    if (t.W[b].Primary[0] == 0 && !IsWordByte(b)) own(b);  // variants already have theirs
  }
  // Digits.
  for (unsigned b = '0'; b <= '9'; ++b) own(b);
  variant(0xB9, '1', kOrdinal);
  variant(0xB2, '2', kOrdinal);
  variant(0xB3, '3', kOrdinal);
  // Letters: the 26 base letters, then þ and µ, which have no base letter.
  for (unsigned b = 'a'; b <= 'z'; ++b) own(b);
  own(0xFE);
  own(0xB5);
  struct Accented {
    unsigned char Byte;
    char Base;
    std::uint8_t Mark;
  };
  constexpr Accented accented[] = {
      {0xE0, 'a', kGrave},  {0xE1, 'a', kAcute},      {0xE2, 'a', kCircumflex}, {0xE3, 'a', kTilde},
      {0xE4, 'a', kDiaeresis}, {0xE5, 'a', kRing},    {0xAA, 'a', kOrdinal},    {0xE7, 'c', kCedilla},
      {0xF0, 'd', kStroke}, {0xE8, 'e', kGrave},      {0xE9, 'e', kAcute},      {0xEA, 'e', kCircumflex},
      {0xEB, 'e', kDiaeresis}, {0x83, 'f', kHook},    {0xEC, 'i', kGrave},      {0xED, 'i', kAcute},
      {0xEE, 'i', kCircumflex}, {0xEF, 'i', kDiaeresis}, {0xF1, 'n', kTilde},   {0xF2, 'o', kGrave},
      {0xF3, 'o', kAcute},  {0xF4, 'o', kCircumflex}, {0xF5, 'o', kTilde},      {0xF6, 'o', kDiaeresis},
      {0xF8, 'o', kStroke}, {0xBA, 'o', kOrdinal},    {0x9A, 's', kCaron},      {0xF9, 'u', kGrave},
      {0xFA, 'u', kAcute},  {0xFB, 'u', kCircumflex}, {0xFC, 'u', kDiaeresis},  {0xFD, 'y', kAcute},
      {0xFF, 'y', kDiaeresis}, {0x9E, 'z', kCaron},
  };
  for (const Accented& a : accented) variant(a.Byte, unsigned(a.Base), a.Mark);
  expand(0xE6, 'a', 'e');
  expand(0x9C, 'o', 'e');
  expand(0xDF, 's', 's');
  // Capitals weigh as their small letter: case never counts.
  for (unsigned b = 0; b < 0x100; ++b) {
    unsigned lower = LowerByte(b);
    if (lower != b) {
      t.W[b].Primary[0] = t.W[lower].Primary[0];
      t.W[b].Primary[1] = t.W[lower].Primary[1];
      t.W[b].Secondary[0] = t.W[lower].Secondary[0];
      t.W[b].Secondary[1] = t.W[lower].Secondary[1];
    }
    t.W[b].Folded = LowerByte(b);
  }
  return t;
}

constexpr TWeightTable kWeights = BuildWeights();

// Every byte has a primary weight, so that no character is ignored.
constexpr bool EveryByteWeighs() {
  for (const TWeight& w : kWeights.W) {
    if (w.Primary[0] == 0) return false;
  }
  return true;
}
static_assert(EveryByteWeighs());

// The 1252 characters of a text held in 1252.
class TAnsiChars {
 public:
  TAnsiChars(const unsigned char* P, const unsigned char* End) : p_(P), end_(End) {}

  bool Next(unsigned char& C) {
    if (p_ == end_) return false;
    C = *p_++;
    return true;
  }

 private:
  const unsigned char* p_;
  const unsigned char* end_;
};

// The 1252 characters of a UTF-8 text, read in place exactly as Utf8ToAnsi converts them: a
// character 1252 cannot hold reads as '?', and each byte of a malformed sequence as the 1252
// character of that byte.
class TUtf8Chars {
 public:
  TUtf8Chars(const unsigned char* P, const unsigned char* End) : p_(P), end_(End) {}

  bool Next(unsigned char& C) {
    if (p_ == end_) return false;
    if (*p_ < 0x80) {
      C = *p_++;
      return true;
    }
    C = NextEncoded();
    return true;
  }

 private:
  unsigned char NextEncoded() {
    std::size_t length = 0;
    char32_t u = cp1252::DecodeUtf8(reinterpret_cast<const char*>(p_), std::size_t(end_ - p_), length);
    if (u > 0x10FFFF) return *p_++;
    p_ += length;
    int b = cp1252::FromUnicode(u);
    return static_cast<unsigned char>(b < 0 ? cp1252::kReplacement : b);
  }

  const unsigned char* p_;
  const unsigned char* end_;
};

// Reads the weights of a text one position at a time, expanding ligatures.
template <class TChars>
class TWeightReader {
 public:
  explicit TWeightReader(TChars Chars) : chars_(Chars) {}

  // The next primary and secondary weights; primary 0 at the end of the text.
  void Next(std::uint8_t& Primary, std::uint8_t& Secondary) {
    if (pending_) {
      Primary = pending_;
      Secondary = pendingSecondary_;
      pending_ = 0;
      return;
    }
    unsigned char c;
    if (!chars_.Next(c)) {
      Primary = 0;
      Secondary = 0;
      return;
    }
    const TWeight& w = kWeights.W[c];
    Primary = w.Primary[0];
    Secondary = w.Secondary[0];
    pending_ = w.Primary[1];
    pendingSecondary_ = w.Secondary[1];
  }

 private:
  TChars chars_;
  std::uint8_t pending_ = 0;
  std::uint8_t pendingSecondary_ = 0;
};

int Sign(int d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

// The text order over two texts read from the same point, where everything before that point is
// the same characters in both.
template <class TChars>
int CompareFrom(TChars A, TChars B) {
  std::uint8_t pa, sa, pb, sb;
  int secondary = 0;  // the first secondary difference, used when the primaries agree
  TWeightReader<TChars> ra(A), rb(B);
  for (;;) {
    ra.Next(pa, sa);
    rb.Next(pb, sb);
    if (pa != pb) return pa < pb ? -1 : 1;
    if (pa == 0) break;
    if (secondary == 0 && sa != sb) secondary = sa < sb ? -1 : 1;
  }
  if (secondary) return secondary;
  // Same letters and marks: only the folded characters can still tell the texts apart, then the
  // length.
  for (;;) {
    unsigned char a, b;
    bool moreA = A.Next(a), moreB = B.Next(b);
    if (!moreA || !moreB) return moreA == moreB ? 0 : (moreA ? 1 : -1);
    int d = int(kWeights.W[a].Folded) - int(kWeights.W[b].Folded);
    if (d) return Sign(d);
  }
}

}  // namespace

int AnsiCompareText(const String& A, const String& B) {
  // An identical leading run weighs the same on every key.
  std::size_t start = 0;
  std::size_t n = A.size() < B.size() ? A.size() : B.size();
  while (start < n && A[start] == B[start]) ++start;
  if (start == A.size() && start == B.size()) return 0;
  const auto* a = reinterpret_cast<const unsigned char*>(A.data());
  const auto* b = reinterpret_cast<const unsigned char*>(B.data());
  return CompareFrom(TAnsiChars(a + start, a + A.size()), TAnsiChars(b + start, b + B.size()));
}

bool AnsiSameText(const String& A, const String& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i) {
    if (kWeights.W[static_cast<unsigned char>(A[i])].Folded != kWeights.W[static_cast<unsigned char>(B[i])].Folded)
      return false;
  }
  return true;
}

int AnsiCompareStr(const String& A, const String& B) {
  int c = AnsiCompareText(A, B);
  if (c) return c;
  // Texts that differ by case alone: at the first difference, the small letter comes first.
  for (std::size_t i = 0; i < A.size(); ++i) {
    if (A[i] != B[i]) return static_cast<unsigned char>(A[i]) == kWeights.W[static_cast<unsigned char>(A[i])].Folded ? -1 : 1;
  }
  return 0;
}

bool AnsiSameStr(const String& A, const String& B) { return A == B; }

int CompareUtf8Text(int LengthA, const void* A, int LengthB, const void* B) {
  const auto* a = static_cast<const unsigned char*>(A);
  const auto* b = static_cast<const unsigned char*>(B);
  std::size_t sizeA = a && LengthA > 0 ? std::size_t(LengthA) : 0;
  std::size_t sizeB = b && LengthB > 0 ? std::size_t(LengthB) : 0;
  // An identical leading run of bytes is the same characters in both texts up to its last ASCII
  // byte: a byte below 0x80 is always a character of its own, never part of a sequence, so the
  // point after it starts a character in both texts.
  std::size_t n = sizeA < sizeB ? sizeA : sizeB;
  std::size_t same = 0;
  while (same < n && a[same] == b[same]) ++same;
  if (same == sizeA && same == sizeB) return 0;
  while (same > 0 && a[same - 1] >= 0x80) --same;
  return CompareFrom(TUtf8Chars(a + same, a + sizeA), TUtf8Chars(b + same, b + sizeB));
}

int CompareText(const String& A, const String& B) {
  std::size_t n = A.size() < B.size() ? A.size() : B.size();
  for (std::size_t i = 0; i < n; ++i) {
    int d = int(FoldAscii(A[i])) - int(FoldAscii(B[i]));
    if (d) return d;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

bool SameText(const String& A, const String& B) { return A.size() == B.size() && CompareText(A, B) == 0; }

int CompareStr(const String& A, const String& B) {
  int c = A.compare(B);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
