// This file implements the report engine's utilities: the counted and legacy text encodings of its
// binary streams, the font-style number, component and field references written as text, the value
// of a field for an expression, the enabling and hit-testing of dialog controls, small text helpers
// and the engine's numbered strings.
#pragma once

#include <cstdint>
#include <vector>

#include "AnsiString.h"
#include "Object.h"
#include "Variant.h"

class TStream;
class TStrings;
class TComponent;
class TDataSet;
class TField;
class TControl;
class TWinControl;
struct TPoint;

// ---- Stream encodings. Integers are little-endian; text is stored as its 1252 bytes.
//
// Counted string: u16 length, the bytes, one byte 0. Counted lines: u16 count; a single byte 0
// when the count is 0; else per line u16 length and the bytes, then 13 when another line follows
// or 0 after the last. Writers always produce the counted forms; streams older than format 23 hold
// the legacy forms (bytes up to a byte 0; in a list, 13 ends a line).
//
// The counted readers trust nothing: a length or a line that runs past the end of the stream, a
// missing terminator, or more lines than the count announces raise EReadError, and nothing is read
// beyond the stream's end. A list whose separators end it before its count is reached is taken as
// it stands (some writers counted lines they then dropped).

void WriteCountedString(TStream* Stream, const String& S);
String ReadCountedString(TStream* Stream);
void WriteCountedLines(TStream* Stream, TStrings* Lines);
void ReadCountedLines(TStream* Stream, TStrings* Lines);
// A missing byte 0 ends the value at the end of the stream: what was read is the value.
String ReadZeroString(TStream* Stream);
// Each 13 ends a line (an empty one too); the line pending at the byte 0 is kept when not empty.
// A 10 is an ordinary character.
void ReadZeroLines(TStream* Stream, TStrings* Lines);
// Fixed-size integers and doubles; the readers raise EReadError when the stream ends first.
std::uint16_t ReadU16(TStream* Stream);
void WriteU16(TStream* Stream, std::uint16_t Value);
void WriteU32(TStream* Stream, std::uint32_t Value);
std::uint8_t ReadU8(TStream* Stream);
void WriteU8(TStream* Stream, std::uint8_t Value);
std::int16_t ReadI16(TStream* Stream);
void WriteI16(TStream* Stream, std::int16_t Value);
std::int32_t ReadI32(TStream* Stream);
void WriteI32(TStream* Stream, std::int32_t Value);
std::uint32_t ReadU32(TStream* Stream);
double ReadDouble(TStream* Stream);
void WriteDouble(TStream* Stream, double Value);
// The bytes left between the stream's position and its end.
std::int64_t BytesLeft(TStream* Stream);

// ---- Report font-style number: 1 italic, 2 bold, 4 underline, 8 strike-out. The platform's set
// holds bold, italic, underline, strike-out as bits 0 to 3: the two lowest bits swap.
unsigned FontStyleBitsFromCode(int Code);
int FontStyleCodeFromBits(unsigned Bits);
// For the class library's font-style set type (TSet<TFontStyle>).
template <class TStyles>
TStyles FontStyleFromCode(int Code) {
  return TStyles::FromBits(FontStyleBitsFromCode(Code));
}
template <class TStyles>
int FontStyleToCode(TStyles Styles) {
  return FontStyleCodeFromBits(Styles.Bits());
}

// ---- Components and fields named by text.

// "Name" among Owner's components; "Module.Name" and "Module.Sub.Name" from the live modules down.
// A part that is not found gives nullptr. A failure of the search itself (no owner for a plain
// name) raises EClassNotFound "Missing <name>".
TComponent* FindComponentPath(TComponent* Owner, const String& Name);
// Cuts "DataSet.Field", "Module.DataSet.Field" or "Form.Module.DataSet.Field" (the field may be in
// double quotes and then hold dots) into the data set and the field name. A reference without a dot
// keeps the DataSet passed in. The data set is nullptr when a level is not found; FieldName is
// empty unless the data set has a field of that name.
void ResolveFieldReference(const String& Reference, TDataSet*& DataSet, String& FieldName);
// Name when DataSet has a field of that name (case-insensitive), else empty.
String FieldNameIfPresent(TDataSet* DataSet, const String& Name);
// The field's value for an expression: its display text when it has a text handler or is a 64-bit
// integer; a null value becomes "" (text fields), False (booleans) or 0. Opens a closed data set.
void GetFieldValue(TField* Field, Variant& Value);
// Every component of Class (or a descendant) in the live modules, except Excluded, into List with
// the component as object: its plain name when it belongs to BaseOwner, "Module.Name" otherwise,
// and "Form.Frame.Name" for a frame owned by a module. List is cleared first.
void ListComponentsOfClass(TComponent* BaseOwner, TClass Class, TStrings* List, TComponent* Excluded);

// ---- Dialog helpers.

// Labels (TCustomLabel and descendants) take the text colour clWindowText, or clGrayText when
// disabled; other windowed controls the background colour clWindow, or clBtnFace; then every
// control takes the Enabled state.
void EnableControls(const std::vector<TControl*>& Controls, bool Enabled);
// The visible child of Container whose bounds hold P (in Container's client coordinates), the
// topmost first. A windowed child that accepts controls and has some is searched in turn, with P
// made relative to it; when nothing of it is hit, the scan goes on below it. nullptr when no child
// is hit.
TControl* ControlAtPoint(TWinControl* Container, const TPoint& P);

// ---- Text helpers.

// ',' and '.' both read as the decimal separator; blanks around are ignored. EConvertError on bad
// text.
double TextToFloat(const String& S);
// The text between the double quotes when it is longer than 2 and quoted at both ends.
String RemoveQuotes(const String& S);
// The ';'-separated item at Pos (1-based), Pos moved past its ';'. An empty item between two ';'
// counts; a trailing ';' does not start another item.
String NextListItem(const String& S, int& Pos);
void SplitSemicolonList(const String& S, TStrings* List);

// The engine's text of a string number, through TzrLocale; empty when the number has no text.
String EngineString(int Id);
