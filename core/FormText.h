// This file declares the form-description text format as a tree: objects with their class, name,
// property values and nested objects, read from and written to the text that describes a window
// or a data module. The tree knows nothing of components; TReader and TWriter map it to them.
#pragma once

#include <cstdint>
#include <vector>

#include "AnsiString.h"

enum class TFormValueKind {
  Integer,     // 42, -7, $FF
  Float,       // 1.5, 2.0E10
  String,      // 'text'#13#10'more' + 'continued'
  Identifier,  // True, False, nil, clBtnFace, taCenter, dmVelbor.qZone (references are dotted)
  Set,         // [fsBold, fsItalic]
  List,        // ( value value ... )
  Binary,      // { 0A1B2C ... }
  Collection,  // < item ... end item ... end >
};

struct TFormProperty;

// One item of a collection value: its properties, and the index written as "item [n]" when present.
struct TFormCollectionItem {
  std::vector<TFormProperty> Properties;
  int Index = -1;
  int Line = 0;
};

struct TFormValue {
  TFormValueKind Kind = TFormValueKind::Integer;
  std::int64_t Integer = 0;
  double Float = 0;
  String Text;                      // String and Identifier, in 1252
  std::vector<String> SetItems;     // Set
  std::vector<TFormValue> Items;    // List
  std::string Binary;               // Binary: the raw bytes
  std::vector<TFormCollectionItem> CollectionItems;
  int Line = 0;
};

// "Name = value"; the name may be a dotted path into sub-objects ("Font.Name").
struct TFormProperty {
  String Name;
  TFormValue Value;
  int Line = 0;
};

enum class TFormObjectKind { Object, Inherited, Inline };

// "object Name: TClass [index]" ... "end". Name may be empty ("object TClass").
struct TFormObject {
  TFormObjectKind Kind = TFormObjectKind::Object;
  String Name;
  String ClassName;
  int Index = -1;  // the "[n]" position of a child in an inherited form, -1 when absent
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;
  int Line = 0;
};

// Reads one top-level object from 1252 text. Raises EReadError with "SourceName(line) : reason"
// for anything it cannot read; nothing is returned half-read.
TFormObject ParseFormText(const String& Text, const String& SourceName);

// Writes an object as text (1252), indented two spaces per level, lines ending with CR LF.
String WriteFormText(const TFormObject& Object);
