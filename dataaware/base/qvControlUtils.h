// This file implements the control services of the data-aware library: class tests by name,
// the form that owns a component, visual styles, controller membership, the edit control of a
// field, keys and the picture mask of a typed character, scaling and rectangles, and the drawing
// of ellipsis buttons, combo arrows, focus frames and cell texts that the grid and the edit
// controls share.
#pragma once

#include "WinApi.h"

#include "AnsiString.h"
#include "Buttons.h"
#include "Controls.h"

class TCustomEdit;
class TCustomForm;
class TField;
class TqvController;

// Flags of qvDrawCellText.
enum : int {
  qvCellShowPrefix = 1,     // "&" shown as itself (no prefix processing suppression)
  qvCellEndEllipsis = 2,    // one line, cut with an ellipsis; never wrapped
  qvCellWordWrap = 4,       // wrapped when the rectangle holds more than one line
  qvCellNoFill = 16,        // the cell is not filled first
  qvCellCentreVertical = 32 // one line, centred vertically
};

// Classes, owners and designers.
// The class or one of its ancestors has the name (case ignored).
bool qvClassInheritsFrom(TClass Class, const String& Name);
bool qvIsInGrid(const TControl* Control);
bool qvIsGridPaintCopy(const TControl* Control);
bool qvIsInInspector(const TControl* Control);
bool qvIsInspectorPaintCopy(const TControl* Control);
// A control drawn as a picture inside a grid or inspector cell.
bool qvIsPaintCopy(TControlState State);
// The component itself when it is a form, else its nearest owner that is a form; null when none.
TCustomForm* qvGetOwnerForm(TComponent* Component);
TCustomForm* qvGetDialogOwnerForm(TComponent* Dialog);
// The design state of the control's form, or of the control itself without a form.
bool qvIsDesigning(const TControl* Control);
// Visual styles are on and neither the control nor, when it publishes none, its parent says
// "DisableThemes". A null control gets the system's answer.
bool qvThemesEnabledFor(const TControl* Control);
// Moves Control from the controller in Reference to Controller (either may be null): it leaves
// the first one's control list and joins the second one's.
void qvSetController(TqvController*& Reference, TqvController* Controller, TControl* Control);
// The windowed control of Form that the first "ControlType" line of an edit kind names for Field
// (the dataset's lines, or the dialog's own when it keeps them itself).
bool qvFindFieldEditControl(TComponent* Dialog, TCustomForm* Form, TField* Field, TWinControl*& Control);
// "CustomEdit", "LookupCombo", "Combo" or "RichEdit", case ignored.
bool qvIsEditControlKind(const String& Kind);

// Keys and typing.
// Backspace, space, delete, digits, letters, the numeric pad and every code above 145.
bool qvIsEditKey(WORD Key);
// Posts a press and release of Key to Window as if ModifierKey were held.
void qvPostKeyWithModifier(HWND Window, WORD Key, WORD ModifierKey);
// Ends a left press under way on the active form or on its first windowed child holding one.
void qvCancelMouseDown();
// Applies a picture mask to a character typed at the end of the edit's text: the edit's text
// and caret are set here and Key becomes 0 (true). Keys outside 32 .. 254, and typing that
// does not reach the end of the text, are left to the edit (false).
bool qvPictureMaskKeyPress(TCustomEdit* Edit, const String& Picture, bool AutoFill, char& Key);

// Geometry.
int qvScaleByPixelsPerInch(int Value, int PixelsPerInch);
int qvClamp(int Value, int Low, int High);
inline int qvRectWidth(const TRect& R) { return R.Right - R.Left; }
inline int qvRectHeight(const TRect& R) { return R.Bottom - R.Top; }
void qvGetWorkArea(TRect& Rect);
void qvRemoveClipChildren(TWinControl* Control);
// A visible windowed child starts outside the control's client rectangle.
bool qvHasChildOutsideClient(TWinControl* Control);
// Rect is too low for a second line of text drawn with Format.
bool qvRectHoldsOneLine(HDC DC, const TRect& Rect, UINT Format);
// Invalidates the control's bounds in its parent's window, and goes on up while the parent
// just reached is itself transparent.
void qvInvalidateTransparentParents(TControl* Control, bool Erase);

// Drawing.
void qvDrawEllipsisButton(TCanvas* Canvas, const TRect& Rect, TButtonState State, TControlState ControlState,
                          bool Transparent, bool Flat);
void qvDrawComboArrow(TCanvas* Canvas, const TRect& Rect, TButtonState State, TControlState ControlState,
                      bool Enabled);
// An unfilled rectangle in the highlight colour, then a focus rectangle drawn over it.
void qvDrawHighlightFocusRect(TCanvas* Canvas, const TRect& Rect);
// Text in a cell at its margins, aligned; Flags are the qvCell... values.
void qvDrawCellText(TCanvas* Canvas, const TRect& Rect, int LeftMargin, int TopMargin, const String& Text,
                    TAlignment Alignment, int Flags);
