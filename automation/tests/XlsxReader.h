// This file implements a small reader of .xlsx files for the tests: the zip container (stored and
// deflated entries, through zlib) and the parts the writer makes: the sheets in order with the
// active one, each cell's type, value and number format, the default row height and the selection.
#pragma once

#include <map>
#include <string>
#include <vector>

struct XlsxCell {
  std::string Type;    // "n" number, "s" text, "b" boolean
  std::string Value;   // as stored, texts in UTF-8
  std::string Format;  // the number format code ("General" when none)
};

struct XlsxSheet {
  std::string Name;  // UTF-8
  std::map<std::string, XlsxCell> Cells;  // by reference ("A1")
  std::string DefaultRowHeight;  // "" when the sheet sets none
  std::string Selection;         // the selection's reference ("A1" when the file has none)
};

struct XlsxBook {
  std::vector<XlsxSheet> Sheets;
  int ActiveTab = 0;  // from 0
};

// The entries of a zip file, by name, uncompressed. Throws std::runtime_error on a damaged file.
std::map<std::string, std::string> ReadZip(const std::string& HostPath);
XlsxBook ReadXlsx(const std::string& HostPath);
// Reads a whole file; "" when it cannot be read.
std::string ReadFileBytes(const std::string& HostPath);
