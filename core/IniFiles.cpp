// This file implements the ini files: the line-keeping parser, TCustomIniFile's typed reads and
// writes, TMemIniFile and TIniFile.
#include "IniFiles.h"

#include "Exceptions.h"
#include "FileUtils.h"
#include "FloatFormat.h"
#include "Format.h"
#include "OsPort.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Strings.h"
#include "TextOrder.h"

// No virtual construction: an ini file needs its file name.
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TCustomIniFile)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TMemIniFile)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TIniFile)

namespace {

bool IsBlankLine(const String& Line) { return Trim(Line).empty(); }

// The value as the Windows profile functions return it: blanks around it removed, then one pair
// of enclosing quotes.
String ProfileValue(const String& Raw) {
  std::size_t first = Raw.find_first_not_of(" \t");
  if (first == String::npos) return String();
  std::size_t last = Raw.find_last_not_of(" \t");
  String value = Raw.substr(first, last - first + 1);
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

void FillStrings(TStrings* Strings, const std::vector<String>& Lines) {
  Strings->BeginUpdate();
  TScopeGuard endUpdate([&] { Strings->EndUpdate(); });
  Strings->Clear();
  for (const String& line : Lines) Strings->Add(line);
}

enum class TReadResult { Read, Missing, Failed };

TReadResult ReadWholeFile(const String& Path, String& Text) {
  Text.clear();
  if (!OsPort::FileExists(Path)) return TReadResult::Missing;
  OsPort::FileHandle file = OsPort::OpenFile(Path, OsPort::fmOpenRead | OsPort::fmShareDenyWrite);
  if (file == OsPort::InvalidHandle) return TReadResult::Failed;
  std::int64_t size = OsPort::SeekFile(file, 0, OsPort::SeekOrigin::End);
  bool ok = size >= 0 && OsPort::SeekFile(file, 0, OsPort::SeekOrigin::Begin) == 0;
  if (ok) {
    Text.resize(std::size_t(size));
    ok = OsPort::ReadFile(file, Text.data(), size) == size;
  }
  OsPort::CloseFile(file);
  if (!ok) Text.clear();
  return ok ? TReadResult::Read : TReadResult::Failed;
}

[[noreturn]] void RaiseWriteError(const String& Path) {
  throw EIniFileException("Impossible d'écrire dans le fichier "_a + Path + " : " +
                          OsPort::LastErrorMessage());
}

// Writes the text to a temporary file in the same folder, then puts it in place of the file in
// one step: a failure at any point leaves the old file untouched and no temporary file behind.
void WriteWholeFile(const String& Path, const String& Text) {
  String temporary = Path + ".~tmp";
  OsPort::FileHandle file = OsPort::CreateFile(temporary);
  if (file == OsPort::InvalidHandle) RaiseWriteError(Path);
  bool ok = OsPort::WriteFile(file, Text.data(), std::int64_t(Text.size())) == std::int64_t(Text.size()) &&
            OsPort::FlushFile(file);
  OsPort::CloseFile(file);
  if (!ok || !OsPort::RenameFile(temporary, Path, true)) {
    String reason = OsPort::LastErrorMessage();
    OsPort::DeleteFile(temporary);
    throw EIniFileException("Impossible d'écrire dans le fichier "_a + Path + " : " + reason);
  }
}

}  // namespace

// ---- TIniDocument ----

void TIniDocument::LoadText(const String& Text) {
  FSections.clear();
  FSections.push_back(TSection());  // the lines before the first header
  std::size_t start = 0;
  while (start < Text.size()) {
    // Lines end with CR LF, LF or CR alone.
    std::size_t end = Text.find_first_of("\r\n", start);
    if (end == String::npos) end = Text.size();
    String line = Text.substr(start, end - start);
    start = end + 1;
    if (end < Text.size() && Text[end] == '\r' && start < Text.size() && Text[start] == '\n') ++start;

    String trimmed = Trim(line);
    std::size_t close = trimmed.find(']');
    if (!trimmed.empty() && trimmed[0] == '[' && close != String::npos) {
      TSection section;
      section.HasHeader = true;
      section.Name = Trim(trimmed.substr(1, close - 1));
      section.Header = line;
      FSections.push_back(section);
      continue;
    }
    TLine entry;
    std::size_t equals = line.find('=');
    if (!trimmed.empty() && trimmed[0] != ';' && equals != String::npos && !Trim(line.substr(0, equals)).empty()) {
      entry.IsKey = true;
      entry.Key = Trim(line.substr(0, equals));
      entry.Raw = line.substr(0, equals + 1);
      entry.Value = line.substr(equals + 1);
    } else {
      entry.Raw = line;
    }
    FSections.back().Lines.push_back(entry);
  }
}

String TIniDocument::SaveText() const {
  String text;
  for (const TSection& section : FSections) {
    if (section.HasHeader) text += section.Header + "\r\n";
    for (const TLine& line : section.Lines) text += (line.IsKey ? line.Raw + line.Value : line.Raw) + "\r\n";
  }
  return text;
}

TIniDocument::TSection* TIniDocument::FindSection(const String& Name) {
  for (TSection& section : FSections) {
    if (section.HasHeader && AnsiSameText(section.Name, Name)) return &section;
  }
  return nullptr;
}

const TIniDocument::TSection* TIniDocument::FindSection(const String& Name) const {
  return const_cast<TIniDocument*>(this)->FindSection(Name);
}

const String* TIniDocument::Find(const String& Section, const String& Ident) const {
  const TSection* section = FindSection(Section);
  if (!section) return nullptr;
  for (const TLine& line : section->Lines) {
    if (line.IsKey && AnsiSameText(line.Key, Ident)) return &line.Value;
  }
  return nullptr;
}

namespace {

bool HasLineBreak(const String& S) { return S.find_first_of("\r\n") != String::npos; }
// A blank at either end: the reader trims names, so such a name would not be found again.
bool BlankAtEnd(const String& S) {
  return !S.empty() && (static_cast<unsigned char>(S.front()) <= ' ' || static_cast<unsigned char>(S.back()) <= ' ');
}

}  // namespace

// Whatever is written reads back as that one key of that one section: a line break would begin
// lines of the writer's choosing (a new section, another key), so it is refused, as are names
// that the reader would trim, cut or not see as a name.
void TIniDocument::CheckWritable(const String& Section, const String& Ident, const String& Value) {
  if (Section.empty() || BlankAtEnd(Section) || HasLineBreak(Section) || Section.find(']') != String::npos)
    throw EIniFileException(Format("Nom de section refusé dans un fichier ini : « %s »"_a, {Section}));
  if (Ident.empty() || BlankAtEnd(Ident) || HasLineBreak(Ident) || Ident.find('=') != String::npos ||
      Ident[0] == ';' || Ident[0] == '[')
    throw EIniFileException(Format("Nom de clé refusé dans un fichier ini : « %s »"_a, {Ident}));
  if (HasLineBreak(Value))
    throw EIniFileException(Format("Valeur de la clé %s refusée dans un fichier ini : elle contient un saut de ligne"_a,
                                   {Ident}));
}

void TIniDocument::Set(const String& Section, const String& Ident, const String& Value) {
  CheckWritable(Section, Ident, Value);
  TLine entry;
  entry.IsKey = true;
  entry.Key = Trim(Ident);
  entry.Raw = Ident + "=";
  entry.Value = Value;
  if (TSection* section = FindSection(Section)) {
    for (TLine& line : section->Lines) {
      if (line.IsKey && AnsiSameText(line.Key, entry.Key)) {
        // Rewritten as "key=value" with the key's first spelling: blanks around the "=" would
        // become part of the value for TMemIniFile.
        line.Raw = line.Key + "=";
        line.Value = Value;
        return;
      }
    }
    // After the section's last non-blank line, so the blank line before the next section stays.
    std::size_t at = section->Lines.size();
    while (at > 0 && !section->Lines[at - 1].IsKey && IsBlankLine(section->Lines[at - 1].Raw)) --at;
    section->Lines.insert(section->Lines.begin() + std::ptrdiff_t(at), entry);
    return;
  }
  // A new section goes at the end, after a blank line when the file does not end with one.
  bool empty = true, endsBlank = false;
  for (const TSection& section : FSections) {
    if (section.HasHeader) {
      empty = false;
      endsBlank = false;
    }
    for (const TLine& line : section.Lines) {
      empty = false;
      endsBlank = !line.IsKey && IsBlankLine(line.Raw);
    }
  }
  if (FSections.empty()) FSections.push_back(TSection());
  if (!empty && !endsBlank) FSections.back().Lines.push_back(TLine());
  TSection section;
  section.HasHeader = true;
  section.Name = Section;
  section.Header = "[" + Section + "]";
  section.Lines.push_back(entry);
  FSections.push_back(section);
}

bool TIniDocument::EraseSection(const String& Section) {
  std::size_t before = FSections.size();
  std::erase_if(FSections, [&](const TSection& s) { return s.HasHeader && AnsiSameText(s.Name, Section); });
  return FSections.size() != before;
}

bool TIniDocument::DeleteKey(const String& Section, const String& Ident) {
  TSection* section = FindSection(Section);
  if (!section) return false;
  std::size_t before = section->Lines.size();
  std::erase_if(section->Lines, [&](const TLine& l) { return l.IsKey && AnsiSameText(l.Key, Ident); });
  return section->Lines.size() != before;
}

std::vector<String> TIniDocument::Keys(const String& Section) const {
  std::vector<String> keys;
  if (const TSection* section = FindSection(Section)) {
    for (const TLine& line : section->Lines) {
      if (line.IsKey) keys.push_back(line.Key);
    }
  }
  return keys;
}

std::vector<String> TIniDocument::SectionNames() const {
  std::vector<String> names;
  for (const TSection& section : FSections) {
    if (!section.HasHeader) continue;
    bool seen = false;
    for (const String& name : names) seen = seen || AnsiSameText(name, section.Name);
    if (!seen) names.push_back(section.Name);
  }
  return names;
}

std::vector<std::pair<String, String>> TIniDocument::Entries(const String& Section) const {
  std::vector<std::pair<String, String>> entries;
  if (const TSection* section = FindSection(Section)) {
    for (const TLine& line : section->Lines) {
      if (line.IsKey) entries.emplace_back(line.Key, line.Value);
    }
  }
  return entries;
}

// ---- TCustomIniFile ----

int TCustomIniFile::ReadInteger(const String& Section, const String& Ident, int Default) {
  return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default) {
  double value;
  return TryStrToFloat(ReadString(Section, Ident, String()), value) ? value : Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const String& Section) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList keys;
  ReadSection(Section, &keys);
  for (int i = 0; i < keys.Count(); ++i) {
    if (AnsiSameText(keys[i], Ident)) return true;
  }
  return false;
}

// ---- TMemIniFile ----

TMemIniFile::TMemIniFile(const String& FileName) : TCustomIniFile(FileName) { LoadValues(); }

void TMemIniFile::LoadValues() {
  String text;
  if (ReadWholeFile(FFileName, text) == TReadResult::Failed) {
    throw EIniFileException("Impossible de lire le fichier "_a + FFileName + " : " + OsPort::LastErrorMessage());
  }
  FDocument.LoadText(text);
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  const String* value = FDocument.Find(Section, Ident);
  return value ? *value : Default;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  FDocument.Set(Section, Ident, Value);
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) {
  FillStrings(Strings, FDocument.Keys(Section));
}

void TMemIniFile::ReadSections(TStrings* Strings) { FillStrings(Strings, FDocument.SectionNames()); }

void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  std::vector<String> lines;
  for (const auto& [key, value] : FDocument.Entries(Section)) lines.push_back(key + "=" + value);
  FillStrings(Strings, lines);
}

void TMemIniFile::EraseSection(const String& Section) { FDocument.EraseSection(Section); }

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) { FDocument.DeleteKey(Section, Ident); }

void TMemIniFile::UpdateFile() { WriteWholeFile(FFileName, FDocument.SaveText()); }

void TMemIniFile::Clear() { FDocument.Clear(); }

void TMemIniFile::GetStrings(TStrings* List) const { List->SetText(FDocument.SaveText()); }

void TMemIniFile::SetStrings(TStrings* List) { FDocument.LoadText(List->Text()); }

void TMemIniFile::Rename(const String& FileName, bool Reload) {
  FFileName = FileName;
  if (Reload) LoadValues();
}

// ---- TIniFile ----

TIniFile::TIniFile(const String& FileName) : TCustomIniFile(FileName), FPath(FileName) {
  if (!FileName.empty() && FileName.find_first_of("\\/:") == String::npos) {
    String windows = OsPort::GetEnvironmentVariable("windir");
    if (!windows.empty()) FPath = IncludeTrailingPathDelimiter(windows) + FileName;
  }
}

TIniDocument TIniFile::Load() const {
  String text;
  ReadWholeFile(FPath, text);  // the profile functions read an unreadable file as empty
  TIniDocument document;
  document.LoadText(text);
  return document;
}

// Before a change the file must be read whole: writing over a file that could not be read would
// lose its other lines.
TIniDocument TIniFile::LoadForChange() const {
  String text;
  if (ReadWholeFile(FPath, text) == TReadResult::Failed) RaiseWriteError(FPath);
  TIniDocument document;
  document.LoadText(text);
  return document;
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  TIniDocument document = Load();
  const String* value = document.Find(Section, Ident);
  return value ? ProfileValue(*value) : Default;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  TIniDocument document = LoadForChange();
  document.Set(Section, Ident, Value);
  WriteWholeFile(FPath, document.SaveText());
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) { FillStrings(Strings, Load().Keys(Section)); }

void TIniFile::ReadSections(TStrings* Strings) { FillStrings(Strings, Load().SectionNames()); }

void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  std::vector<String> lines;
  for (const auto& [key, value] : Load().Entries(Section)) lines.push_back(key + "=" + ProfileValue(value));
  FillStrings(Strings, lines);
}

void TIniFile::EraseSection(const String& Section) {
  TIniDocument document = LoadForChange();
  if (document.EraseSection(Section)) WriteWholeFile(FPath, document.SaveText());
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  TIniDocument document = LoadForChange();
  if (document.DeleteKey(Section, Ident)) WriteWholeFile(FPath, document.SaveText());
}
