// This file implements TzrExportFilter, the base component of the export filters: the target file
// name and stream, the before and after events, and the hooks through which the objects of a
// prepared page reach a filter (a memo hands over each laid-out line with its position and frame
// sides, other objects themselves).
#pragma once

#include "Component.h"
#include "Event.h"
// The class library's graphics come last: the API macros they bring do not reach the declarations
// above.
#include "Graphics.h"

class TStream;
class TzrView;

using TzrBeforeExportEvent = TEvent<void(String& FileName, bool& Continue)>;
using TzrAfterExportEvent = TEvent<void(const String& FileName)>;

class TzrExportFilter : public TComponent {
  VELBOR_DECLARE_CLASS(TzrExportFilter, TComponent)
 public:
  explicit TzrExportFilter(TComponent* AOwner);
  ~TzrExportFilter() override;

  // Published.
  bool Default = false;
  bool ShowDialog = true;
  TzrBeforeExportEvent OnBeforeExport;
  TzrAfterExportEvent OnAfterExport;

  String FileName;
  // The open target file during an export; not owned.
  TStream* Stream = nullptr;

  // The base frees nothing, accepts the options (mrOk) and does nothing at the other hooks.
  virtual void FreePageLines();
  virtual int ShowOptionsDialog();
  virtual void StartExport();
  virtual void FinishExport();
  virtual void StartPage();
  virtual void FinishPage();
  // A whole object, at its page position.
  virtual void ExportObject(int X, int Y, TzrView* View);
  // One laid-out text line of a memo: its paint rectangle, the x position of the text, the frame
  // sides of this line, the text and its y position.
  virtual void ExportText(const TRect& DrawRect, int X, TzrView* View, int FrameSides, const String& Text, int Y);
  // An export that raised: the filter drops whatever it kept of it (the base: the page lines).
  virtual void AbandonExport();
};
