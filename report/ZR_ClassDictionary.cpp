// This file implements the data dictionary of a report: its variables, field aliases and band data
// sources, the lookups that turn names into dataset fields, and its template record.
#include "ZR_ClassDictionary.h"

#include "DataSet.h"
#include "Field.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "ZR_ClassFactory.h"
#include "Streams.h"
#include "ZR_ClassGlobals.h"
#include "ZR_Utils.h"

VELBOR_IMPLEMENT_CLASS(TzrDataDictionary)

namespace {

// The built-in names an entry of the legacy layout may stand for, from its index 2 on.
const char* const kLegacyNames[] = {"DATE",        "TIME",         "LINE#",      "LINETHROUGH#", "COLUMN#",  "CURRENT#",
                                    "TOTALPAGES",  "REPORTCOMMENT", "REPORTNAME", "REPORTAUTOR",  "VMAJOR",   "VMINOR",
                                    "VRELEASE",    "VBUILD",        "REPORTDATE", "REPORTLASTCHANGE"};

String ReadShortString(TStream* Stream) {
  int length = ReadU8(Stream);
  if (length > BytesLeft(Stream)) throw EReadError("Dictionnaire de l'état endommagé"_a);
  String s(std::size_t(length), '\0');
  if (length > 0) Stream->ReadBuffer(s.data(), length);
  return s;
}

// A list of (name, value) entries: count, then counted strings.
void ReadEntries(TStream* Stream, TzrVariables* Into) {
  std::int32_t count = ReadI32(Stream);
  // Each entry takes at least two empty counted strings: six bytes.
  if (count < 0 || count > BytesLeft(Stream) / 6)
    throw EReadError("Dictionnaire de l'état endommagé (nombre d'entrées "_a + IntToStr(count) + ")");
  for (int i = 0; i < count; ++i) {
    String name = ReadCountedString(Stream);
    String value = ReadCountedString(Stream);
    Into->SetByName(name, Variant(value));
  }
}

void WriteEntries(TStream* Stream, TzrVariables* From) {
  WriteI32(Stream, From->Count());
  for (int i = 0; i < From->Count(); ++i) {
    WriteCountedString(Stream, From->NameAt(i));
    WriteCountedString(Stream, VarToStr(From->GetByIndex(i)));
  }
}

}  // namespace

TzrDataDictionary::TzrDataDictionary()
    : FVariables(std::make_unique<TzrVariables>()),
      FFieldAliases(std::make_unique<TzrVariables>()),
      FBandDataSources(std::make_unique<TzrVariables>()),
      FDisabled(std::make_unique<TStringList>()) {}

TzrDataDictionary::~TzrDataDictionary() = default;

void TzrDataDictionary::Clear() {
  FVariables->Clear();
  FFieldAliases->Clear();
  FBandDataSources->Clear();
}

void TzrDataDictionary::ClearCache() { FCache.clear(); }

void TzrDataDictionary::AddCacheItem(const String& Name, TDataSet* DataSet, const String& Field) {
  FCache[AnsiUpperCase(Name)] = TCacheItem{DataSet, Field};
}

bool TzrDataDictionary::CachedField(const String& Name, TDataSet*& DataSet, String& Field) const {
  auto it = FCache.find(AnsiUpperCase(Name));
  if (it == FCache.end()) return false;
  DataSet = it->second.DataSet;
  Field = it->second.Field;
  return true;
}

bool TzrDataDictionary::SplitFieldName(const String& Text, String& DataSet, String& Field) {
  bool quoted = false;
  std::size_t point = String::npos;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '"') quoted = !quoted;
    else if (Text[i] == '.' && !quoted) point = i;
  }
  if (point == String::npos) return false;
  DataSet = Text.substr(0, point);
  Field = RemoveQuotes(Text.substr(point + 1));
  return true;
}

String TzrDataDictionary::AliasName(const String& Text) const {
  for (int i = 0; i < FFieldAliases->Count(); ++i)
    if (AnsiSameText(VarToStr(FFieldAliases->GetByIndex(i)), Text)) return FFieldAliases->NameAt(i);
  return Text;
}

bool TzrDataDictionary::IsVariable(const String& Name) {
  if (FCache.count(AnsiUpperCase(Name)) > 0) return true;
  auto tryField = [&](const String& Reference, const String& CacheName) {
    String dataSetPart, fieldPart;
    if (!SplitFieldName(Reference, dataSetPart, fieldPart)) return false;
    dataSetPart = AliasName(dataSetPart);
    for (int i = 0; i < FFieldAliases->Count(); ++i) {
      String alias = FFieldAliases->NameAt(i);
      if (VarToStr(FFieldAliases->GetByIndex(i)) == fieldPart && AnsiUpperCase(alias).compare(0, dataSetPart.size(), AnsiUpperCase(dataSetPart)) == 0) {
        String unused, aliasField;
        if (SplitFieldName(alias, unused, aliasField)) fieldPart = aliasField;
        break;
      }
    }
    TDataSet* dataSet = nullptr;
    String field;
    // A name that is not a dataset field is not an error here: it is resolved otherwise.
    try {
      ResolveFieldReference(dataSetPart + ".\"" + fieldPart + "\"", dataSet, field);
    } catch (const Exception&) {
      return false;
    }
    if (dataSet == nullptr || field.empty()) return false;
    AddCacheItem(CacheName, dataSet, field);
    return true;
  };
  int index = FVariables->IndexOf(Name);
  if (index >= 0) {
    String expression = VarToStr(FVariables->GetByIndex(index));
    if (!expression.empty() && expression.find('.') != String::npos) tryField(expression, Name);
    return true;
  }
  if (Name.find('.') == String::npos) return false;
  return tryField(Name, Name);
}

void TzrDataDictionary::GetValue(const String& Name, Variant& Value) {
  Value = Variant::Null();
  auto it = FCache.find(AnsiUpperCase(Name));
  if (it != FCache.end()) {
    TDataSet* dataSet = it->second.DataSet;
    if (!dataSet->Active()) dataSet->Open();
    if (TField* field = dataSet->FindField(it->second.Field)) GetFieldValue(field, Value);
    return;
  }
  int index = FVariables->IndexOf(Name);
  if (index < 0) return;
  TzrVariables* scriptVariables = zrGlobals().ScriptVariables();
  int scriptIndex = scriptVariables->IndexOf(Name);
  if (scriptIndex >= 0) {
    Value = scriptVariables->GetByIndex(scriptIndex);
    return;
  }
  Value = FVariables->GetByIndex(index);
  if (VarIsStr(Value) && !VarToStr(Value).empty()) Value = zrGlobals().Parser()->Calculate(VarToStr(Value));
}

// ---- The template record

void TzrDataDictionary::LoadFromStream(TStream* Stream) {
  Clear();
  ClearCache();
  std::int64_t start = Stream->Position();
  int marker = ReadI16(Stream);
  if (marker == -2 || marker == -1) {
    ReadEntries(Stream, FVariables.get());
    ReadEntries(Stream, FFieldAliases.get());
    ReadEntries(Stream, FBandDataSources.get());
  } else {
    Stream->SetPosition(start);
    LoadLegacy(Stream);
  }
  // The older convention marks variables with a leading blank, this one categories.
  if (FVariables->Count() > 0) {
    String first = FVariables->NameAt(0);
    if (!first.empty() && first[0] != ' ')
      for (int i = 0; i < FVariables->Count(); ++i) {
        String name = FVariables->NameAt(i);
        FVariables->RenameAt(i, !name.empty() && name[0] == ' ' ? name.substr(1) : " " + name);
      }
  }
  if (marker == -1) {
    for (int i = FFieldAliases->Count() - 1; i >= 0; --i) {
      if (!VarToStr(FFieldAliases->GetByIndex(i)).empty()) continue;
      TDataSet* dataSet = nullptr;
      String field;
      try {
        ResolveFieldReference(FFieldAliases->NameAt(i), dataSet, field);
      } catch (const Exception&) {
        dataSet = nullptr;
      }
      if (dataSet == nullptr || field.empty()) FFieldAliases->Delete(i);
    }
    for (int i = FBandDataSources->Count() - 1; i >= 0; --i)
      if (VarToStr(FBandDataSources->GetByIndex(i)).empty()) FBandDataSources->Delete(i);
  }
}

void TzrDataDictionary::LoadLegacy(TStream* Stream) {
  std::int32_t count = ReadI32(Stream);
  // An entry takes at least its kind, index and three empty short strings: eight bytes.
  if (count < 0 || count > BytesLeft(Stream) / 8)
    throw EReadError("Dictionnaire de l'état endommagé (nombre d'entrées "_a + IntToStr(count) + ")");
  TzrVariables aliases;
  for (int i = 0; i < count; ++i) {
    int kind = ReadU8(Stream);
    int index = ReadI32(Stream);
    String first = ReadShortString(Stream);
    String second = ReadShortString(Stream);
    String third = ReadShortString(Stream);
    String value;
    if (kind == 1)
      value = first + ".\"" + second + "\"";
    else if (kind == 2 && index == 1)
      value = second;
    else if (kind == 2 && index >= 2 && index - 2 < int(std::size(kLegacyNames)))
      value = kLegacyNames[index - 2];
    aliases.SetByName(" " + third, Variant(value));
  }
  TStringList lines;
  ReadVersionedLines(Stream, &lines);
  for (int i = 0; i < lines.Count(); ++i) {
    String line = lines[i];
    if (line.empty()) continue;
    if (line[0] != ' ')
      FVariables->SetByName(line, Variant(String()));
    else
      FVariables->SetByName(line, aliases.GetByName(line));
  }
}

void TzrDataDictionary::SaveToStream(TStream* Stream) {
  WriteI16(Stream, -2);
  WriteEntries(Stream, FVariables.get());
  WriteEntries(Stream, FFieldAliases.get());
  WriteEntries(Stream, FBandDataSources.get());
}
