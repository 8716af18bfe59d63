// This file implements the small services the rich-text units take from the lower layers of the
// data-aware library: class tests by name, grid and designer tests, the work area, scaling, the
// edit frame of the edit controls (reached by class and property names, since those controls are
// a later layer) and the combo boxes of the editor window and the paragraph dialog (the class
// library's combo box until the library's own data-aware combo exists).
#pragma once

#include "WinApi.h"

#include "AnsiString.h"
#include "Controls.h"
#include "Graphics.h"

class TCustomComboBox;
class TPersistent;

namespace qvrich {

// The class or one of its ancestors has the name, compared without regard to case; false for a
// missing class.
bool ClassInheritsFrom(TClass Class, const String& Name);
// The control's parent is a grid (a class descending from "TCustomGrid").
bool IsInGrid(const TControl* Control);
// The control is drawn as a picture into a grid cell (the paint-copy state, in a grid).
bool IsGridPaintCopy(const TControl* Control);
bool IsPaintCopy(TControlState State);
// The control's parent descends from the library's data inspector ("TqvDataInspector").
bool IsInInspector(const TControl* Control);
// The design state of the control's form, or of the control itself without a form.
bool IsDesigning(const TControl* Control);
// The screen's work area; the result of the system call.
bool GetWorkArea(TRect& Rect);
// Value x PixelsPerInch / 96, truncated toward zero.
int ScaleByPixelsPerInch(int Value, int PixelsPerInch);
// Clears WS_CLIPCHILDREN in the control's window style (the window is made if needed).
void RemoveClipChildren(TWinControl* Control);

// --- The edit frame ---------------------------------------------------------------------------
// The border and focus frame of the library's edits belongs to the edit controls' layer: it is
// made by class name ("TqvEditFrame") when that layer is linked, and read by property names.
// Without it the rich edit has no frame: every frame test answers "disabled".

// A new frame owned by Owner, or nullptr when the edit controls' layer is not there.
TPersistent* CreateEditFrame(TComponent* Owner);
bool FrameEnabled(TPersistent* Frame);
bool FrameTransparent(TPersistent* Frame);
// clNone without a frame.
TColor FrameNonFocusColor(TPersistent* Frame);
// Enabled, with a control whose parent is not a grid.
bool FrameActive(TPersistent* Frame, const TControl* Control);

// What the edit controls' layer puts in place of these when it is linked: the frame's text
// margins for an edit's formatting rectangle, the frame's drawing, and the repainting of the
// parent behind a transparent edit. Each is null until then, and the rich edit does without.
struct TFrameServices {
  void (*AdjustEditRect)(TPersistent* Frame, TRect& Rect) = nullptr;
  void (*PaintEditFrame)(TWinControl* Edit, TPersistent* Frame, TCanvas* Canvas, bool Focused) = nullptr;
  void (*RefreshTransparentBackground)(TPersistent* Frame) = nullptr;
  bool (*ParentIsTransparent)(TControl* Control) = nullptr;
};
extern TFrameServices FrameServices;

// --- Combo boxes ------------------------------------------------------------------------------
// The index of the combo's text among its items, and choosing an item (-1 empties the text).
int ComboItemIndex(TCustomComboBox* Combo);
void ComboSetItemIndex(TCustomComboBox* Combo, int Index);
// Refills the drop-down list from the items (the class library's combo shows its items).
void ComboFillDropDownList(TCustomComboBox* Combo);

}  // namespace qvrich
