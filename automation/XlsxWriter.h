// This file implements the writing of a workbook of the spreadsheet model as an .xlsx file.
#pragma once

#include "AnsiString.h"

class TWorkbook;

// Writes Book to FileName (a Windows path) through a temporary file beside it, which replaces the
// file only once it is complete. On failure raises EAutomationError saying what failed; the file
// is then as it was (absent, or byte for byte the earlier one) and no temporary file is left.
void WriteXlsx(const TWorkbook& Book, const String& FileName);
