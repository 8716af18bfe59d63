// This file implements the fuzz target of the ini reader: a file's text read, written back and
// read again unchanged, every key found where the reader listed it, and one write (section, key
// and value from the input) either refused or read back exactly, the rest of the file kept.
#include "Exceptions.h"
#include "FuzzSupport.h"
#include "IniFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  // The file's text, then the section, key and value of a write, separated by byte 1.
  std::vector<String> Part = Fuzz::Parts(Fuzz::Text(Data, Size), '\x01', 4);
  TIniDocument Document;
  Document.LoadText(Part[0]);
  String Saved = Document.SaveText();
  TIniDocument Again;
  Again.LoadText(Saved);
  Fuzz::Check(Again.SaveText() == Saved, "saved text reads back the same");
  for (const String& Section : Document.SectionNames()) {
    for (const auto& [Key, Value] : Document.Entries(Section)) {
      const String* Found = Document.Find(Section, Key);
      Fuzz::Check(Found != nullptr, "a listed key is found");
    }
  }

  const String &Section = Part[1], &Ident = Part[2], &Value = Part[3];
  try {
    Document.Set(Section, Ident, Value);
  } catch (const EIniFileException&) {
    Fuzz::Check(Document.SaveText() == Saved, "a refused write changes nothing");
    return 0;
  }
  TIniDocument Written;
  Written.LoadText(Document.SaveText());
  const String* Read = Written.Find(Section, Ident);
  Fuzz::Check(Read != nullptr && *Read == Value, "a written value reads back");
  // The other sections are still there.
  std::vector<String> Before = Again.SectionNames(), After = Written.SectionNames();
  Fuzz::Check(After.size() >= Before.size() && After.size() <= Before.size() + 1, "a write adds one section at most");
  return 0;
}
