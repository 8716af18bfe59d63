// This file implements the report engine's utilities: stream encodings, font-style numbers,
// references by text, field values, dialog-control helpers and text helpers.
#include "ZR_Utils.h"

#include <cstring>
#include <vector>

#include "Component.h"
#include "DataSet.h"
#include "Exceptions.h"
#include "Field.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "Modules.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Streams.h"
#include "Strings.h"
#include "TextOrder.h"
#include "ZR_ClassGlobals.h"
#include "ZR_DBRel.h"
#include "Controls.h"

namespace {

[[noreturn]] void Corrupt(const char* What) {
  throw EReadError(String("Flux de l'état endommagé : "_a) + What);
}

std::int64_t Remaining(TStream* Stream) { return Stream->Size() - Stream->Position(); }

// One byte, or -1 at the end of the stream.
int ReadByte(TStream* Stream) {
  unsigned char b;
  return Stream->Read(&b, 1) == 1 ? b : -1;
}

int ReadRequiredByte(TStream* Stream, const char* What) {
  int b = ReadByte(Stream);
  if (b < 0) Corrupt(What);
  return b;
}

// Length bytes that must all be in the stream.
String ReadBytes(TStream* Stream, std::uint16_t Length, const char* What) {
  if (Length > Remaining(Stream)) Corrupt(What);
  String s(Length, '\0');
  if (Length > 0) Stream->ReadBuffer(s.data(), Length);
  return s;
}

void WriteByte(TStream* Stream, unsigned char B) { Stream->WriteBuffer(&B, 1); }

}  // namespace

// ---- Stream encodings

void WriteU16(TStream* Stream, std::uint16_t Value) {
  unsigned char b[2] = {static_cast<unsigned char>(Value), static_cast<unsigned char>(Value >> 8)};
  Stream->WriteBuffer(b, 2);
}

void WriteU32(TStream* Stream, std::uint32_t Value) {
  unsigned char b[4];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<unsigned char>(Value >> (8 * i));
  Stream->WriteBuffer(b, 4);
}

std::uint16_t ReadU16(TStream* Stream) {
  unsigned char b[2];
  if (Stream->Read(b, 2) != 2) Corrupt("entier tronqué"_a);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint8_t ReadU8(TStream* Stream) {
  return static_cast<std::uint8_t>(ReadRequiredByte(Stream, "octet manquant"));
}

void WriteU8(TStream* Stream, std::uint8_t Value) { WriteByte(Stream, Value); }

std::int16_t ReadI16(TStream* Stream) { return static_cast<std::int16_t>(ReadU16(Stream)); }

void WriteI16(TStream* Stream, std::int16_t Value) { WriteU16(Stream, static_cast<std::uint16_t>(Value)); }

std::uint32_t ReadU32(TStream* Stream) {
  unsigned char b[4];
  if (Stream->Read(b, 4) != 4) Corrupt("entier tronqué"_a);
  return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
}

std::int32_t ReadI32(TStream* Stream) { return static_cast<std::int32_t>(ReadU32(Stream)); }

void WriteI32(TStream* Stream, std::int32_t Value) { WriteU32(Stream, static_cast<std::uint32_t>(Value)); }

double ReadDouble(TStream* Stream) {
  unsigned char b[8];
  if (Stream->Read(b, 8) != 8) Corrupt("nombre tronqué"_a);
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[i];
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void WriteDouble(TStream* Stream, double Value) {
  std::uint64_t bits;
  std::memcpy(&bits, &Value, sizeof bits);
  unsigned char b[8];
  for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(bits >> (8 * i));
  Stream->WriteBuffer(b, 8);
}

std::int64_t BytesLeft(TStream* Stream) { return Remaining(Stream); }

void WriteCountedString(TStream* Stream, const String& S) {
  // The format has 16 bits of length: a longer text could not be read back.
  if (S.size() > 0xFFFF) throw EWriteError("Texte trop long pour le flux de l'état ("_a + IntToStr(S.size()) + ")");
  WriteU16(Stream, static_cast<std::uint16_t>(S.size()));
  Stream->WriteBuffer(S.data(), std::int64_t(S.size()));
  WriteByte(Stream, 0);
}

String ReadCountedString(TStream* Stream) {
  std::uint16_t length = ReadU16(Stream);
  String s = ReadBytes(Stream, length, "texte plus long que le flux");
  // The terminator is not checked to be 0: older writers left other bytes there.
  ReadRequiredByte(Stream, "fin de texte manquante");
  return s;
}

void WriteCountedLines(TStream* Stream, TStrings* Lines) {
  int count = Lines->Count();
  if (count > 0xFFFF) throw EWriteError("Trop de lignes pour le flux de l'état ("_a + IntToStr(count) + ")");
  WriteU16(Stream, static_cast<std::uint16_t>(count));
  if (count == 0) {
    WriteByte(Stream, 0);
    return;
  }
  for (int i = 0; i < count; ++i) {
    String line = Lines->Strings(i);
    if (line.size() > 0xFFFF) throw EWriteError("Ligne trop longue pour le flux de l'état"_a);
    WriteU16(Stream, static_cast<std::uint16_t>(line.size()));
    Stream->WriteBuffer(line.data(), std::int64_t(line.size()));
    WriteByte(Stream, i + 1 < count ? 13 : 0);
  }
}

void ReadCountedLines(TStream* Stream, TStrings* Lines) {
  Lines->Clear();
  std::uint16_t count = ReadU16(Stream);
  if (count == 0) {
    ReadRequiredByte(Stream, "fin de liste manquante");
    return;
  }
  Lines->BeginUpdate();
  TScopeGuard endUpdate([&] { Lines->EndUpdate(); });
  for (int read = 0;;) {
    std::uint16_t length = ReadU16(Stream);
    Lines->Add(ReadBytes(Stream, length, "ligne plus longue que le flux"));
    ++read;
    int separator = ReadRequiredByte(Stream, "fin de ligne manquante");
    if (separator == 0) break;
    if (read == count) Corrupt("plus de lignes que le nombre annoncé"_a);
  }
}

String ReadZeroString(TStream* Stream) {
  String s;
  for (int b; (b = ReadByte(Stream)) > 0;) s += static_cast<char>(b);
  return s;
}

void ReadZeroLines(TStream* Stream, TStrings* Lines) {
  Lines->Clear();
  String line;
  for (int b; (b = ReadByte(Stream)) > 0;) {
    if (b == 13) {
      Lines->Add(line);
      line.clear();
    } else {
      line += static_cast<char>(b);
    }
  }
  if (!line.empty()) Lines->Add(line);
}

// ---- Font styles

unsigned FontStyleBitsFromCode(int Code) {
  unsigned c = static_cast<unsigned>(Code) & 15;
  return (c & 12) | ((c & 1) << 1) | ((c & 2) >> 1);
}

int FontStyleCodeFromBits(unsigned Bits) {
  unsigned b = Bits & 15;
  return static_cast<int>((b & 12) | ((b & 1) << 1) | ((b & 2) >> 1));
}

// ---- References by text

TComponent* FindComponentPath(TComponent* Owner, const String& Name) {
  try {
    std::vector<String> parts;
    std::size_t start = 0;
    for (;;) {
      std::size_t dot = Name.find('.', start);
      parts.push_back(Name.substr(start, dot == String::npos ? String::npos : dot - start));
      if (dot == String::npos) break;
      start = dot + 1;
    }
    if (parts.size() == 1) {
      if (Owner == nullptr) throw EInvalidOperation("pas de propriétaire"_a);
      return Owner->FindComponent(Name);
    }
    TComponent* c = FindGlobalComponent(parts[0]);
    for (std::size_t i = 1; c != nullptr && i < parts.size(); ++i) c = c->FindComponent(parts[i]);
    return c;
  } catch (const Exception&) {
    throw EClassNotFound("Missing " + Name);
  }
}

String FieldNameIfPresent(TDataSet* DataSet, const String& Name) {
  if (DataSet == nullptr) return String();
  TStringList names;
  zrListFieldNames(DataSet, &names);
  for (int i = 0; i < names.Count(); ++i)
    if (AnsiSameText(names[i], Name)) return Name;
  return String();
}

namespace {

// Double quotes around the whole name are not part of it.
String Unquoted(const String& S) {
  if (S.size() >= 2 && S.front() == '"' && S.back() == '"') return S.substr(1, S.size() - 2);
  return S;
}

TComponent* FindInside(TComponent* Parent, const String& Name) {
  return Parent != nullptr ? Parent->FindComponent(Name) : nullptr;
}

}  // namespace

void ResolveFieldReference(const String& Reference, TDataSet*& DataSet, String& FieldName) {
  FieldName.clear();
  std::vector<String> parts(1);
  for (std::size_t i = 0; i < Reference.size(); ++i) {
    char c = Reference[i];
    if (c == '"') {
      parts.back() += Reference.substr(i);
      break;
    }
    if (c == '.') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  // Each part is a short string: longer names are cut at 255 characters.
  for (String& p : parts)
    if (p.size() > 255) p.resize(255);

  TComponent* found = nullptr;
  switch (parts.size()) {
    case 1:
      if (DataSet == nullptr) return;
      FieldName = Unquoted(parts[0]);
      break;
    case 2: {
      TComponent* owner = zrEngine.Host ? zrEngine.Host->ReportOwner() : nullptr;
      found = FindComponentPath(owner, parts[0]);
      DataSet = dynamic_cast<TDataSet*>(found);
      FieldName = Unquoted(parts[1]);
      break;
    }
    case 3:
      found = FindInside(FindGlobalComponent(parts[0]), parts[1]);
      DataSet = dynamic_cast<TDataSet*>(found);
      FieldName = Unquoted(parts[2]);
      break;
    case 4:
      found = FindInside(FindInside(FindGlobalComponent(parts[0]), parts[1]), parts[2]);
      DataSet = dynamic_cast<TDataSet*>(found);
      FieldName = Unquoted(parts[3]);
      break;
    default:
      DataSet = nullptr;
      break;
  }
  FieldName = FieldNameIfPresent(DataSet, FieldName);
}

void GetFieldValue(TField* Field, Variant& Value) {
  TDataSet* dataSet = Field->DataSet();
  if (dataSet != nullptr && !dataSet->Active()) dataSet->Open();
  if (Field->OnGetText || Field->DataType() == ftLargeint)
    Value = Variant(Field->DisplayText());
  else
    Value = Field->Value();
  if (VarIsNull(Value) || VarIsEmpty(Value)) {
    switch (Field->DataType()) {
      case ftString: case ftFixedChar: case ftWideString:
        Value = Variant(String());
        break;
      case ftBoolean:
        Value = Variant(false);
        break;
      default:
        Value = Variant(0);
        break;
    }
  }
}

namespace {

void CollectComponentsOfClass(TComponent* Owner, const String& Prefix, TClass Class, TStrings* List,
                              TComponent* Excluded) {
  // Frames first: their components are named "Parent.Frame.Name". Frames are reached through
  // ownership here, the frame's owner standing for its parent.
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    TComponent* c = Owner->Components(i);
    if (c->InheritsFrom("TFrame"))
      CollectComponentsOfClass(c, Owner->Name() + "." + c->Name() + ".", Class, List, Excluded);
  }
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    TComponent* c = Owner->Components(i);
    if (c != Excluded && c->InheritsFrom(Class)) List->AddObject(Prefix + c->Name(), c);
  }
}

}  // namespace

void ListComponentsOfClass(TComponent* BaseOwner, TClass Class, TStrings* List, TComponent* Excluded) {
  List->Clear();
  std::vector<TComponent*> visited;
  auto visit = [&](TComponent* Owner) {
    for (TComponent* v : visited)
      if (v == Owner) return;
    visited.push_back(Owner);
    CollectComponentsOfClass(Owner, Owner == BaseOwner ? String() : Owner->Name() + ".", Class, List, Excluded);
  };
  for (int m = 0; m < ModuleCount(); ++m) {
    TComponent* module = Modules(m);
    visit(module);
    if (module->ClassName() == "TDataModuleForm")
      for (int i = 0; i < module->ComponentCount(); ++i)
        if (module->Components(i)->InheritsFrom("TDataModule")) visit(module->Components(i));
  }
}

// ---- Dialog helpers

void EnableControls(const std::vector<TControl*>& Controls, bool Enabled) {
  for (TControl* c : Controls) {
    // By name: the label classes belong to the standard controls, which this layer needs for
    // nothing else.
    if (c->InheritsFrom("TCustomLabel"))
      c->Font()->SetColor(Enabled ? clWindowText : clGrayText);
    else if (dynamic_cast<TWinControl*>(c) != nullptr)
      c->SetColor(Enabled ? clWindow : clBtnFace);
    c->SetEnabled(Enabled);
  }
}

TControl* ControlAtPoint(TWinControl* Container, const TPoint& P) {
  for (int i = Container->ControlCount() - 1; i >= 0; --i) {
    TControl* c = Container->Controls(i);
    if (!c->Visible() || !c->BoundsRect().Contains(P)) continue;
    auto* container = dynamic_cast<TWinControl*>(c);
    if (container == nullptr || !container->ControlStyle.Contains(csAcceptsControls) ||
        container->ControlCount() == 0)
      return c;
    if (TControl* inner = ControlAtPoint(container, TPoint(P.X - c->Left(), P.Y - c->Top()))) return inner;
  }
  return nullptr;
}

// ---- Text helpers

double TextToFloat(const String& S) {
  String t = S;
  for (char& c : t)
    if (c == ',' || c == '.') c = FormatSettings.DecimalSeparator;
  return StrToFloat(Trim(t));
}

String RemoveQuotes(const String& S) {
  if (S.size() > 2 && S.front() == '"' && S.back() == '"') return S.substr(1, S.size() - 2);
  return S;
}

String NextListItem(const String& S, int& Pos) {
  int start = Pos;
  int n = static_cast<int>(S.size());
  while (Pos <= n && S[Pos - 1] != ';') ++Pos;
  String item = Copy(S, start, Pos - start);
  if (Pos <= n) ++Pos;  // past the ';'
  return item;
}

void SplitSemicolonList(const String& S, TStrings* List) {
  List->Clear();
  int pos = 1;
  int n = static_cast<int>(S.size());
  while (pos <= n) List->Add(NextListItem(S, pos));
}

String EngineString(int Id) { return TzrLocale::Get()->LoadStr(Id); }
