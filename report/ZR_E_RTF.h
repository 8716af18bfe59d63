// This file implements TzrRTFExport, the export filter that writes the prepared pages as an RTF
// document, each line of the character grid a paragraph with tab stops or a table row, with the
// pictures of the pages when asked; and TzrRTFExportForm, its options dialog.
#pragma once

#include <memory>
#include <vector>

#include "ZR_E_TXT.h"

class TMemoryStream;

class TzrRTFExport : public TzrTextExport {
  VELBOR_DECLARE_CLASS(TzrRTFExport, TzrTextExport)
 public:
  explicit TzrRTFExport(TComponent* AOwner);
  ~TzrRTFExport() override;

  // Published.
  bool ExportBitmaps = false;
  bool ConvertToTable = false;

  int ShowOptionsDialog() override;
  void StartExport() override;
  void FinishExport() override;
  void FinishPage() override;
  void ExportObject(int X, int Y, TzrView* View) override;
  void AbandonExport() override;

 private:
  void WritePictures();
  void WriteLines();
  bool FPageWritten = false;
  bool FEnrolled = false;
  std::unique_ptr<TStringList> FFonts;
  std::unique_ptr<TStringList> FColors;
  std::vector<std::unique_ptr<TMemoryStream>> FPictures;
  std::unique_ptr<TMemoryStream> FBody;
};

// Text of a report as RTF text: "\", "{" and "}" escaped, characters above 127 as \'hh.
String RtfEscape(const String& Text);
