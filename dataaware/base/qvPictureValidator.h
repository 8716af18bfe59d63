// This file implements TqvPictureValidator: a text checked against a picture mask while it is
// typed and when it is complete, letters converted to the case the picture asks for, and the
// literal characters that must follow what was typed filled in. The matcher is recursive over a
// small language of digits (#), letters (? & ~), any character (! @), repetitions (*n), optional
// parts ([...]), groups ({...}), alternatives (,) and escaped literals (;c).
#pragma once

#include <cstdint>

#include "AnsiString.h"
#include "Object.h"

// Results of matching. The last two only live inside the matcher.
enum TqvPicResult : int {
  prComplete = 0,    // the text satisfies the whole picture
  prIncomplete = 1,  // the text is a valid beginning
  prEmpty = 2,       // the text is empty
  prError = 3,       // the text cannot match
  prSyntax = 4,      // the picture is malformed
  prAmbiguous = 5,   // complete, but more could follow (reported as complete)
  prIncompNoFill = 6 // incomplete, nothing to fill (reported as incomplete)
};

class TqvPictureValidator : public TObject {
  VELBOR_DECLARE_CLASS(TqvPictureValidator, TObject)
 public:
  // Options: voOnAppend always, voFill with AutoFill.
  enum : std::uint16_t { voFill = 1, voOnAppend = 4 };

  TqvPictureValidator(const String& APicture, bool AutoFill);

  // 0 when the picture's syntax is valid, 1 when it is not.
  std::uint16_t Status = 0;
  std::uint16_t Options = voOnAppend;
  String Picture;

  // While typing: false only when the text cannot match (fill as Options says, unless
  // SuppressFill). Text may be changed (case, literals filled in).
  virtual bool IsValidInput(String& Text, bool SuppressFill);
  // A complete or empty text.
  virtual bool IsValid(const String& Text);
  // prComplete .. prSyntax; may change Text (case conversion, literals stored or appended).
  virtual int MatchPicture(String& Text, bool AutoFill);

  // The picture is malformed: empty, ending with ";" or an unescaped "*", or with unbalanced
  // brackets or braces.
  bool SyntaxCheck() const;
};
