// This file implements the exchange file format: record starts, value encodings, the writer and
// the readers' line splitting, trailer check and field taking.
#include "ExchangeFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "FloatFormat.h"
#include "Format.h"
#include "FormatSettings.h"
#include "OsPort.h"
#include "StrUtils.h"

namespace Exchange {

const char* const KindInventory = "INVZH";
const char* const KindDictionary = "REFZH";
const char Esc = '\x1B';

namespace {

const char* const HeaderStarts[] = {"DEB|", "DEC|", "DES|", "EMT|", "FIN|"};
const char* const DataStarts[] = {"AAZ|", "AOZ|", "ASZ|", "AZH|", "BHZ|", "CBZ|", "CDZ|", "CMZ|", "EAH|",
                                  "EEZ|", "EHZ|", "EVH|", "FAZ|", "FBZ|", "FHZ|", "FSZ|", "HAZ|", "HFZ|",
                                  "ICZ|", "IVZ|", "IZH|", "MEZ|", "MMA|", "ORZ|", "PCZ|", "PNZ|", "QUZ|",
                                  "RBZ|", "SDZ|", "SEZ|", "SFZ|", "VAZ|", "VSZ|"};
// Starts the dictionary reader takes; a value line beginning so would be read as a record.
const char* const DictionaryStarts[] = {"002|", "003|", "COM|", "DEP|", "RGN|", "SAQ|", "TAH|", "ZOH|"};

// Whether the first four characters, in capitals, are a start of List (sorted, four characters
// each). Called for every line of a file: nothing is allocated.
template <std::size_t N>
bool InSorted(const char* const (&List)[N], const String& FirstFour) {
  char key[5] = {};
  for (std::size_t i = 0; i < 4; ++i) {
    char c = FirstFour[i];
    key[i] = c >= 'a' && c <= 'z' ? char(c - 32) : c;
  }
  return std::binary_search(std::begin(List), std::end(List), static_cast<const char*>(key),
                            [](const char* A, const char* B) { return std::strcmp(A, B) < 0; });
}

// Issuer of the files: the organisation's identifier and name are fixed by the national body;
// city, department and contact are those of the body that issues the program.
const char* const IssuerRecord = "EMT|27419035500048|1|VIRQ|||||Lyon|69|Service des zones humides|";
const char* const DestinationRecord = "DES|27419035500048|1|||||||||";

}  // namespace

bool IsHeaderStart(const String& FirstFour) { return FirstFour.size() >= 4 && InSorted(HeaderStarts, FirstFour); }
bool IsDataStart(const String& FirstFour) { return FirstFour.size() >= 4 && InSorted(DataStarts, FirstFour); }

bool IsMainStart(const String& FirstFour) {
  return FirstFour.size() >= 4 && UpperCase(FirstFour.substr(0, 4)) == "ZHI|";
}

bool IsRecordStart(const String& Line) {
  if (Line.size() < 4) return false;
  String p = Line.substr(0, 4);
  return IsMainStart(p) || IsHeaderStart(p) || IsDataStart(p);
}

String BooleenVersTexte(bool Value) { return Value ? "1" : "0"; }

bool TexteVersBooleen(const String& Text) {
  String t = UpperCase(Text);
  return t == "VRAI" || t == "TRUE" || t == "1";
}

String DateVersTexte(TDateTime Value) {
  int y, m, d;
  DecodeDate(Value, y, m, d);
  String sep(1, FormatSettings.DateSeparator);
  return Format("%.4d", {y}) + sep + Format("%.2d", {m}) + sep + Format("%.2d", {d});
}

TDateTime TexteVersDate(const String& Text) {
  int y, m, d;
  TDateTime result;
  if (!TryStrToInt(Copy(Text, 1, 4), y) || !TryStrToInt(Copy(Text, 6, 2), m) || !TryStrToInt(Copy(Text, 9, 2), d) ||
      !TryEncodeDate(y, m, d, result))
    throw EConvertError("'" + Text + "' n'est pas une date valide");
  return result;
}

String NombreVersTexte(double Value) { return FloatToStr(Value); }

double Arrondi(double Value, int Decimals) { return RoundTo(Value, -Decimals); }

String NormaliseLineBreaks(const String& Value) {
  String out;
  out.reserve(Value.size());
  for (std::size_t i = 0; i < Value.size(); ++i) {
    char c = Value[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < Value.size() && Value[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

TExchangeWriter::TExchangeWriter(const String& Kind, const String& Path, TDateTime Today) : FKind(Kind) {
  AddLine("DEC|,5  11 ");
  AddLine(IssuerRecord);
  AddLine(DestinationRecord);
  AddLine("DEB|" + Kind + "|" + Path + "|" + DateVersTexte(Today) + "||1.0||||||||2002-1|");
}

void TExchangeWriter::AddLine(const String& Line) {
  FBody += Line;
  FBody += "\r\n";
  ++FPhysicalLines;
}

void TExchangeWriter::AddRecord(const String& Tag, const std::vector<String>& Fields, const String& Context,
                                const std::vector<String>& Names) {
  String record = Tag + "|";
  int lines = 1;
  for (std::size_t i = 0; i < Fields.size(); ++i) {
    String value = NormaliseLineBreaks(Fields[i]);
    auto refuse = [&](const String& Why) {
      String where = Context.empty() ? String() : Context + ", ";
      String field = i < Names.size() && !Names[i].empty() ? Names[i] : IntToStr(static_cast<long long>(i + 1));
      throw EExchangeValue(where + "enregistrement " + Tag + ", champ " + field + " : " + Why);
    };
    for (std::size_t at = value.find("\r\n"); at != String::npos; at = value.find("\r\n", at + 2)) {
      ++lines;
      String next = value.substr(at + 2, 4);
      if (IsRecordStart(next) || (next.size() == 4 && InSorted(DictionaryStarts, next)))
        refuse("une ligne commence par \""_a + next + "\", qui serait lue comme un nouvel enregistrement");
    }
    if (value.find('|') != String::npos) refuse("le caractère \"|\" ne peut pas être transmis"_a);
    record += value;
    record += "|";
  }
  FBody += record;
  FBody += "\r\n";
  FPhysicalLines += lines;
}

String TExchangeWriter::Contents() const {
  return FBody + "FIN|" + FKind + "|" + IntToStr(FPhysicalLines + 1) + "|";
}

void TExchangeWriter::SaveToFile(const String& Path) const {
  String temporary = Path + "2";
  try {
    WriteFileBytes(temporary, Contents());
  } catch (...) {
    OsPort::DeleteFile(temporary);
    throw;
  }
  if (!OsPort::RenameFile(temporary, Path, true)) {
    String why = OsPort::LastErrorMessage();
    OsPort::DeleteFile(temporary);
    throw EFCreateError("Impossible de remplacer " + Path + " : " + why);
  }
}

std::vector<String> SplitLines(const String& Bytes) {
  std::vector<String> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < Bytes.size(); ++i) {
    if (Bytes[i] != '\r' && Bytes[i] != '\n') continue;
    lines.push_back(Bytes.substr(start, i - start));
    if (Bytes[i] == '\r' && i + 1 < Bytes.size() && Bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < Bytes.size()) lines.push_back(Bytes.substr(start));
  return lines;
}

String ReadFileBytes(const String& Path) {
  OsPort::FileHandle file = OsPort::OpenFile(Path, OsPort::fmOpenRead | OsPort::fmShareDenyWrite);
  if (file == OsPort::InvalidHandle) throw EFOpenError("Impossible d'ouvrir " + Path + " : " + OsPort::LastErrorMessage());
  String bytes(std::size_t(OsPort::SeekFile(file, 0, OsPort::SeekOrigin::End)), '\0');
  OsPort::SeekFile(file, 0, OsPort::SeekOrigin::Begin);
  std::int64_t read = OsPort::ReadFile(file, bytes.data(), std::int64_t(bytes.size()));
  OsPort::CloseFile(file);
  if (read != std::int64_t(bytes.size())) throw EReadError("Lecture incomplète de "_a + Path);
  return bytes;
}

void WriteFileBytes(const String& Path, const String& Bytes, bool Flush) {
  OsPort::FileHandle file = OsPort::CreateFile(Path);
  if (file == OsPort::InvalidHandle) throw EFCreateError("Impossible de créer "_a + Path + " : " + OsPort::LastErrorMessage());
  std::int64_t written = OsPort::WriteFile(file, Bytes.data(), std::int64_t(Bytes.size()));
  bool flushed = !Flush || OsPort::FlushFile(file);
  OsPort::CloseFile(file);
  if (written != std::int64_t(Bytes.size()) || !flushed) throw EWriteError("Écriture incomplète de "_a + Path);
}

bool TrailerMatches(const std::vector<String>& Lines, const String& Kind) {
  if (Lines.empty()) return false;
  const String& last = Lines.back();
  String prefix = "FIN|" + Kind + "|";
  if (last.compare(0, prefix.size(), prefix) != 0 || last.size() <= prefix.size() + 1 || last.back() != '|')
    return false;
  long long announced;
  if (!TryStrToInt64(last.substr(prefix.size(), last.size() - prefix.size() - 1), announced)) return false;
  return announced == static_cast<long long>(Lines.size());
}

TExchangeFields::TExchangeFields(const String& Record, bool RestoreBreaks) : FRecord(Record), FRestoreBreaks(RestoreBreaks) {
  std::size_t bar = FRecord.find('|');
  if (bar != String::npos) FNext = bar + 1;
}

String TExchangeFields::Next() {
  if (FNext == String::npos) return String();
  std::size_t bar = FRecord.find('|', FNext);
  String field = FRecord.substr(FNext, bar == String::npos ? String::npos : bar - FNext);
  FNext = bar == String::npos ? String::npos : bar + 1;
  if (FRestoreBreaks && !FFirst && field.find(Esc) != String::npos)
    field = StringReplace(field, String(1, Esc), "\r\n", rfReplaceAll);
  FFirst = false;
  return field;
}

}  // namespace Exchange
