// This file implements the ini files of the run-time library: TCustomIniFile (the reading and
// writing interface), TMemIniFile (the whole file in memory, written by UpdateFile) and TIniFile
// (every change written to the file at once), over one parser that keeps every line it does not
// change.
//
// Format: "[section]" lines, "key=value" lines, ";" comment lines, blank lines; other lines are
// kept as they are. Sections and keys are found without regard to case (the text order) and keep
// the spelling they were first written with. Key names are trimmed. Values: TMemIniFile returns
// them exactly as they stand after the "="; TIniFile returns them as the Windows profile functions
// do, without surrounding blanks and without one pair of enclosing quotes. Files are 1252 bytes
// with CR LF line ends; a missing file reads as empty. A file is written to a temporary file
// beside it which then replaces it, so a failed write leaves the old file whole.
#pragma once

#include <vector>

#include "AnsiString.h"
#include "Object.h"

class TStrings;

// The lines of an ini file, grouped by section. Lines before the first section header belong
// to a leading group without a header.
class TIniDocument {
 public:
  void LoadText(const String& Text);
  // Every line followed by CR LF.
  String SaveText() const;
  void Clear() { FSections.clear(); }

  // The raw value of the first key Ident of the first section named Section; null when absent.
  const String* Find(const String& Section, const String& Ident) const;
  // Replaces the value of an existing key, else adds the key at the end of the section's keys,
  // else adds the section at the end of the file. Raises EIniFileException, changing nothing, for
  // a value holding a line break and for a section or key name that would not read back as
  // written (CheckWritable).
  void Set(const String& Section, const String& Ident, const String& Value);
  // Refuses a line break anywhere; an empty name or one that starts or ends with a blank; "]" in
  // a section name; "=" in a key name or one that starts with ";" or "[".
  static void CheckWritable(const String& Section, const String& Ident, const String& Value);
  // Removes every section named Section, with its comments; false when there was none.
  bool EraseSection(const String& Section);
  // Removes the key from the section; false when it was not there.
  bool DeleteKey(const String& Section, const String& Ident);

  // Key names of a section, in file order; the section names, each once, in file order.
  std::vector<String> Keys(const String& Section) const;
  std::vector<String> SectionNames() const;
  // Key and raw value pairs of a section, in file order.
  std::vector<std::pair<String, String>> Entries(const String& Section) const;

 private:
  struct TLine {
    bool IsKey = false;
    String Key;    // trimmed
    String Value;  // everything after the first '='
    String Raw;    // the line as read; for keys, the text up to and including the '='
  };
  struct TSection {
    bool HasHeader = false;
    String Name;
    String Header;  // the header line as read
    std::vector<TLine> Lines;
  };

  TSection* FindSection(const String& Name);
  const TSection* FindSection(const String& Name) const;

  std::vector<TSection> FSections;
};

class TCustomIniFile : public TObject {
  VELBOR_DECLARE_CLASS(TCustomIniFile, TObject)
 public:
  explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}

  const String& FileName() const { return FFileName; }

  virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // Decimal, or hexadecimal after "$" or "0x"; Default when the key is missing or not a number.
  int ReadInteger(const String& Section, const String& Ident, int Default);
  void WriteInteger(const String& Section, const String& Ident, int Value);
  // An integer: 0 is false, any other true; Default when missing or not a number. Written "1"/"0".
  bool ReadBool(const String& Section, const String& Ident, bool Default);
  void WriteBool(const String& Section, const String& Ident, bool Value);
  // With the current locale settings (decimal comma); Default when missing or not a number.
  double ReadFloat(const String& Section, const String& Ident, double Default);
  void WriteFloat(const String& Section, const String& Ident, double Value);

  // These clear Strings first. ReadSection gives the key names, ReadSectionValues "key=value"
  // lines, both in file order.
  virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  virtual void ReadSectionValues(const String& Section, TStrings* Strings) = 0;
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  // Writes pending changes to the file.
  virtual void UpdateFile() = 0;

  // A section exists when it holds at least one key, as the platform decides it.
  bool SectionExists(const String& Section);
  bool ValueExists(const String& Section, const String& Ident);

 protected:
  String FFileName;
};

class TMemIniFile : public TCustomIniFile {
  VELBOR_DECLARE_CLASS(TMemIniFile, TCustomIniFile)
 public:
  // Reads the whole file; a missing file gives an empty one. Raises EIniFileException when the
  // file exists but cannot be read.
  explicit TMemIniFile(const String& FileName);

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // Writes the whole file (comments and unknown lines included); raises EIniFileException on
  // failure, leaving the file as it was.
  void UpdateFile() override;

  // Forgets every line (the file is untouched until UpdateFile).
  void Clear();
  // The file's lines; replaces them.
  void GetStrings(TStrings* List) const;
  void SetStrings(TStrings* List);
  // Changes the file name; with Reload, reads the new file in place of the lines held.
  void Rename(const String& FileName, bool Reload);

 private:
  void LoadValues();

  TIniDocument FDocument;
};

class TIniFile : public TCustomIniFile {
  VELBOR_DECLARE_CLASS(TIniFile, TCustomIniFile)
 public:
  // A name without a folder lives in the Windows folder, as the platform's profile functions
  // place it. Nothing is read until asked.
  explicit TIniFile(const String& FileName);

  // Each read reads the file as it is now; a file that cannot be read reads as empty.
  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  // Each change is written to the file at once, the file created when missing (not its folder);
  // failure raises EIniFileException and leaves the file as it was.
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // Nothing is pending: every change is already in the file.
  void UpdateFile() override {}

  // The path actually read and written.
  const String& Path() const { return FPath; }

 private:
  TIniDocument Load() const;
  TIniDocument LoadForChange() const;

  String FPath;
};
