// This file implements the exchange file format shared by the inventory and dictionary transfers:
// TExchangeWriter (records collected in memory, written byte-exact through a temporary file),
// TExchangeFields (fields taken from a record) and the value encodings and file checks.
#pragma once

#include <vector>

#include "AnsiString.h"
#include "DateTime.h"
#include "Exceptions.h"

// A value the format cannot carry (a "|" inside it, or a line of it that starts like a record).
VELBOR_EXCEPTION(EExchangeValue, Exception)

namespace Exchange {

extern const char* const KindInventory;   // "INVZH"
extern const char* const KindDictionary;  // "REFZH"
extern const char Esc;                    // joins the physical lines of a record in memory

// Record starts: the header and trailer ones, the inventory data ones (every inventory tag but
// ZHI), each with its "|". The look-ups ignore letter case, as the readers of the format do.
bool IsHeaderStart(const String& FirstFour);
bool IsDataStart(const String& FirstFour);
// The start of a wetland's main record, "ZHI|", in any letter case: the readers take a small-letter
// one as a record start too (and refuse it), as they do with data tags.
bool IsMainStart(const String& FirstFour);
// Any start a line can be taken for: a main record, a header or a data start.
bool IsRecordStart(const String& Line);

String BooleenVersTexte(bool Value);
bool TexteVersBooleen(const String& Text);
// "yyyy/mm/dd" with the locale's date separator; empty for a null date.
String DateVersTexte(TDateTime Value);
// Year from characters 1-4, month 6-7, day 9-10 whatever the separators; EConvertError otherwise.
TDateTime TexteVersDate(const String& Text);
// The general form with up to 15 significant digits and the locale's decimal separator.
String NombreVersTexte(double Value);
// Rounds to Decimals places, half to even.
double Arrondi(double Value, int Decimals);

// Every line break of a value (CR LF, CR or LF) as CR LF.
String NormaliseLineBreaks(const String& Value);

// Records collected in memory, one entry per record; a multi-line value makes one entry that
// spans several physical lines, counted one each in the trailer.
class TExchangeWriter {
 public:
  // The four header records; Path is the target as the operator gave it, Today the date written.
  TExchangeWriter(const String& Kind, const String& Path, TDateTime Today);

  // Appends TAG|f1|...|fn|. Refuses (EExchangeValue naming Context and the field, by its entry in
  // Names when there is one, else by its position from 1) a field holding "|" or a line after a
  // line break that a reader would take for a record.
  void AddRecord(const String& Tag, const std::vector<String>& Fields, const String& Context = String(),
                 const std::vector<String>& Names = {});

  int PhysicalLineCount() const { return FPhysicalLines; }  // the trailer excluded
  // The whole file: each line followed by CR LF, then the trailer with the count and no line end.
  String Contents() const;
  // Writes Contents to Path + "2", then moves it over Path; Path is left as it was on failure.
  void SaveToFile(const String& Path) const;

 private:
  void AddLine(const String& Line);

  String FKind;
  String FBody;
  int FPhysicalLines = 0;
};

// The lines of a file's bytes: breaks are CR LF, CR or LF; a break at the very end makes no
// empty last line.
std::vector<String> SplitLines(const String& Bytes);
// Reads a whole file by its Windows path (EFOpenError/EReadError).
String ReadFileBytes(const String& Path);
// Writes a whole file by its Windows path (EFCreateError/EWriteError), forced to the disk unless
// Flush is false (a working copy that nothing reads after a crash).
void WriteFileBytes(const String& Path, const String& Bytes, bool Flush = true);

// The trailer check: the last line holds "FIN|" + Kind and announces exactly Lines.size() lines.
// False for an empty list, another kind, a cut last line or a count that is not a number.
bool TrailerMatches(const std::vector<String>& Lines, const String& Kind);

// Fields taken from the left of a record, its tag removed: each is the text before the next "|"
// (the whole rest when there is none), a missing one empty. Fields after the first have their
// ESC joins turned back into CR LF when RestoreBreaks is set.
class TExchangeFields {
 public:
  // Reads Record in place: it must outlive the reader.
  explicit TExchangeFields(const String& Record, bool RestoreBreaks = false);
  TExchangeFields(String&&, bool = false) = delete;
  String Next();

 private:
  const String& FRecord;
  std::size_t FNext = String::npos;  // where the next field starts; npos when there is none
  bool FRestoreBreaks;
  bool FFirst = true;
};

}  // namespace Exchange
