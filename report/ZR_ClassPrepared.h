// This file implements TzrEMFPages, the result of a build: a list of prepared pages, each a compact
// stream of the report objects as they were printed (texts evaluated, lines laid out) with the
// paper and printer geometry of its page. A page's stream is unpacked into a temporary page of
// objects when it is drawn, exported or hit-tested, and dropped again when it is no longer needed.
// The list is saved to and loaded from prepared-report files (".zrp").
#pragma once

#include <memory>
#include <vector>

#include "Streams.h"
#include "ZR_ClassPage.h"

class TzrReport;

struct TzrPreparedPage {
  TRect PreviewRect;  // the page's place in the preview
  int PaperSize = 0;
  // The paper in tenths of a millimetre; the margins, like everything laid out on the page, in
  // report pixels.
  int Width = 0;
  int Height = 0;
  int Orientation = 0;
  int Bin = 0;
  bool UseMargins = false;
  TRect Margins;
  TzrPrintArea PrintArea;
  bool DrawingEnabled = false;  // set by the preview for pages on screen, by the printer for its page
  std::unique_ptr<TMemoryStream> Stream;
  std::unique_ptr<TzrPage> Page;  // the unpacked copy, nullptr when not unpacked
};

class TzrEMFPages : public TObject {
  VELBOR_DECLARE_CLASS(TzrEMFPages, TObject)
 public:
  explicit TzrEMFPages(TzrReport* AReport) : Report(AReport) {}
  ~TzrEMFPages() override;

  TzrReport* Report;
  int Count() const { return int(FPages.size()); }
  TzrPreparedPage& Pages(int Index) const;
  void Clear();
  void Delete(int Index);
  // A new page from a template page, inserted at Index (appended at or past the end); Add appends
  // and fires OnBeginPage with the current page number.
  void Insert(int Index, TzrPage* Page);
  void Add(TzrPage* Page);

  // The page's objects, read from its stream; the unpacked page becomes the current page.
  TzrPage* UnpackPage(int Index);
  // The unpacked page's objects written back to its stream.
  void PackPage(int Index);
  // Draws the page scaled into Rect (nothing, and the unpacked copy freed, without DrawingEnabled).
  void Draw(int Index, TCanvas* Canvas, const TRect& Rect);
  // Hands every object of the page to the report's current export filter.
  void ExportPage(int Index);
  // The object at Point (page units) of page Index, the last added first; Click fires
  // OnObjectClick, else OnMouseOverObject. A link object (name beginning with "URL") gives its tag.
  bool ObjectAt(int Index, TPoint Point, String& Url, int& Cursor, bool Click);

  // The prepared-report file. Reading checks the file against its own sizes and offsets and refuses
  // a damaged one (EReadError) with the pages as they were.
  void ReadPreparedFile(TStream* Stream);
  void WritePreparedFile(TStream* Stream);
  // The generator version read with the last file.
  int GeneratorVersion = 88;

 private:
  void ReadLegacyPreparedFile(TStream* Stream, std::vector<std::unique_ptr<TzrPreparedPage>>& Into);
  std::vector<std::unique_ptr<TzrPreparedPage>> FPages;
};
