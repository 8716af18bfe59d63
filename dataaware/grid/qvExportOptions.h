// This file implements TqvExportOptions, the export settings every TqvDBGrid owns (its
// ExportOptions): Save walks the grid's dataset (every record, or the multi-selected ones), takes
// the grid's columns with their titles, widths and display texts, and writes them as delimited or
// fixed-width text, HTML or SYLK to a file or to the clipboard, through the writers of qvexport.h.
#pragma once

#include "qvexport.h"

class TqvDBGrid;

// The error Save raises for a grid without an open dataset.
extern const char* const qvExportNoDataSet;

class TqvExportOptions : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvExportOptions, TPersistent)
 public:
  explicit TqvExportOptions(TqvDBGrid* Grid = nullptr);

  // Empty at run time reads as the program's name up to its first "." with ".txt".
  String FileName() const;
  void SetFileName(const String& Value) { FFileName = Value; }
  TqvGridExportType ExportType = qvgetTxt;
  // Text export: the separator; empty gives fixed-width columns.
  const String& Delimiter() const { return FDelimiter; }
  void SetDelimiter(const String& Value) { FDelimiter = Value; }
  bool IsDelimiterStored() const { return FDelimiter != ","; }
  TqvExportSaveOptions Options = qvDefaultExportSaveOptions;
  String TitleName;
  int OutputWidthinTwips = 0;
  int HTMLBorderWidth = 1;
  TqvDBGrid* Owner() const { return FGrid; }

  // A value as the text export writes it (qvQuoteExportField).
  virtual String QuoteField(const String& Text);
  // Exports the grid. A grid without an open dataset raises qvExportNoDataSet before any file or
  // the clipboard is touched; the target file is replaced only once the whole export is written
  // (an error leaves it as it was and is raised). The grid's current record and its row are kept.
  virtual void Save();
  // The table Save writes: the columns of the grid (OnExportField deciding which are exported)
  // and the display texts of the records it exports.
  TqvExportTable BuildTable();
  // The whole export as text, as Save writes it to a file.
  String ExportText();
  void Assign(TPersistent* Source) override;

 private:
  TqvExportFormat MakeFormat();
  void CopyToClipboard(const String& Text);

  String FFileName;
  String FDelimiter = ",";
  TqvDBGrid* FGrid;
};
