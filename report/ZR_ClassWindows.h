// This file implements what the report component asks of the engine's windows, which the preview
// and dialogs layer provides by registered class: the progress window (TzrProgressWindow, made by
// the class "TzrProgressForm"), the preview window ("TzrPreviewForm") and the embedded preview
// panel (TzrPreviewPanel), and the password prompt. A program without those classes builds, saves
// and exports reports all the same: the steps run directly and no preview opens.
#pragma once

#include "AnsiString.h"
#include "Event.h"

class TObject;
class TzrReport;

// The progress window inside which a build, print or export runs.
class TzrProgressWindow {
 public:
  virtual void SetCaption(const String& Caption) = 0;
  // The text in front of the page counter, and the first label.
  virtual void SetProgressText(const String& Text) = 0;
  virtual String ProgressText() = 0;
  virtual void SetLabelText(const String& Text) = 0;
  // The second label (the script variable PROGRESS).
  virtual void SetSecondLabelText(const String& Text) = 0;
  // The step that runs once the window is shown.
  virtual void SetStep(TNotifyEvent Step) = 0;
  // Shows the window modally for the report; the step runs once it is up. The modal result.
  virtual int Run(TzrReport* Report) = 0;
  // Ends the modal run with that result (mrOk, mrCancel).
  virtual void SetModalResult(int Result) = 0;
  virtual bool IsShowing() = 0;
  virtual void SetShowing(bool Value) = 0;

 protected:
  ~TzrProgressWindow() = default;
};

// A preview window or an embedded preview panel.
class TzrPreviewWindow {
 public:
  // Shows the prepared pages of the report under Caption (a window takes care of its modality and
  // buttons, and frees itself when closed).
  virtual void ShowReport(TzrReport* Report, const String& Caption) = 0;

 protected:
  ~TzrPreviewWindow() = default;
};

class TzrPreviewPanel {
 public:
  virtual void Connect(TzrReport* Report) = 0;
  virtual void Disconnect() = 0;

 protected:
  ~TzrPreviewPanel() = default;
};

// Asks the password of a protected template; false when cancelled. Installed by the password
// window's unit; without it a protected template read from a file is refused.
using TzrPasswordPrompt = bool (*)(String& Password);
extern TzrPasswordPrompt zrPasswordPrompt;
