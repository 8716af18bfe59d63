// This file implements TOxSpeedButton: a window-less push button showing a glyph and a caption
// (drawn by TOxButtonGlyph), which can stay down in a group, open a drop-down menu, repeat its
// click while held, and change look, glyph, font and hint colour while the mouse is over it; and
// the run-time binding of the visual-styles services it and the combo edits draw with.
#pragma once

#include "OxBase.h"
#include "OxButtonGlyph.h"

class TPopupMenu;
class TTimer;

enum TOxDropDownMenuPos { dmpBottom, dmpRight };
VELBOR_ENUM(TOxDropDownMenuPos, "dmpBottom", "dmpRight")

// The utility controls' view of visual styles (VisualStyles.h), with a switch the tests use to
// draw without them.
namespace OxThemes {
// Active: the system has visual styles on and the program allows them (the default).
bool Active();
void SetAllowed(bool Value);
// Draws a part of the named theme class ("BUTTON", "TOOLBAR", "COMBOBOX") in Rect; Content
// receives the part's content rectangle. False when the theme could not draw it.
bool DrawElement(HWND Window, HDC DC, const char* ClassName, int Part, int State, const TRect& Rect, TRect* Content);
}  // namespace OxThemes

class TOxSpeedButton : public TOxGraphicControl {
  VELBOR_DECLARE_CLASS(TOxSpeedButton, TOxGraphicControl)
 public:
  explicit TOxSpeedButton(TComponent* AOwner);
  ~TOxSpeedButton() override;

  // Properties.
  TAlignment Alignment() const { return FGlyph->Alignment; }
  void SetAlignment(TAlignment Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  // Click repeated while the button is held: first after InitPause, then every RepeatInterval ms.
  bool AllowTimer() const { return FAllowTimer; }
  void SetAllowTimer(bool Value);
  unsigned short InitPause = 500;
  unsigned short RepeatInterval = 100;
  // Stays down only with a GroupIndex; the down button of a group releases the others.
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  // Not owned; cleared when the menu goes away.
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  TOxDropDownMenuPos MenuPosition = dmpBottom;
  bool MarkDropDown() const { return FMarkDropDown; }
  void SetMarkDropDown(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // A flat button away from the mouse shows the exclusive image instead of the inactive one.
  bool FlatStandard() const { return FFlatStandard; }
  void SetFlatStandard(bool Value);
  bool GrayedInactive() const { return FGrayedInactive; }
  void SetGrayedInactive(bool Value);
  bool GrayNewStyle() const { return FGlyph->GrayNewStyle(); }
  void SetGrayNewStyle(bool Value);
  TBitmap* Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value);
  TOxNumGlyphs NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(TOxNumGlyphs Value);
  // While the mouse is over the button: the hot glyph (when not empty), the hot-track font (with
  // HotTrack) and the application's hint colour HintColor.
  TBitmap* HotGlyph() const { return FHotGlyph; }
  void SetHotGlyph(TBitmap* Value);
  bool HotTrack = false;
  TFont* HotTrackFont() const { return FHotTrackFont; }
  void SetHotTrackFont(TFont* Value);
  TColor HintColor = clInfoBk;
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TModalResult ModalResult = mrNone;
  TButtonStyle Style() const { return FStyle; }
  void SetStyle(TButtonStyle Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool WordWrap() const { return FGlyph->WordWrap; }
  void SetWordWrap(bool Value);
  TOxButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }
  TOxButtonGlyph* ButtonGlyph() const { return FGlyph; }
  // The action also gives Down (grouped buttons) and, to a button without glyph, its image.
  void SetAction(TComponent* Value);

  // Operations.
  void Click() override;
  // Shows the drop-down menu below or beside the button (returns when it closes); Manual opens a
  // menu whose AutoPopup is off. False when no menu showed.
  bool DropDown(bool Manual);

  TNotifyEvent OnParentColorChange;

 protected:
  // Overridables.
  void Paint() override;
  // Glyph, caption and (DrawMark) the drop-down mark of State inside Rect.
  virtual void DrawFace(TCanvas* Canvas, const TRect& Rect, bool DrawMark, TOxButtonState State);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Fire OnMouseEnter and OnMouseLeave, once per passage of the mouse.
  virtual void NotifyMouseEnter();
  virtual void NotifyMouseLeave();
  void ActionChange(TComponent* Action, bool CheckDefaults);
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMRButtonDown(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMSysColorChange(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMButtonPressed(TMessage& Message);

  TOxButtonState FState = obsUp;
  bool FMouseInControl = false;
  bool FDragging = false;
  bool FMenuTracking = false;

 private:
  // The end of a left press at (X, Y): the click when released over the button.
  void FinishPress(int X, int Y);
  // The mouse-in-control flag from where the cursor is now.
  void UpdateTracking();
  bool InsideButton(int X, int Y) const;
  TPoint MenuOrigin() const;
  void UpdateExclusive();
  void RepeatTimerExpired(TObject* Sender);
  void GlyphChanged(TObject* Sender);
  TOxButtonState PrebuiltState() const;

  TOxButtonGlyph* FGlyph;
  TBitmap* FDrawImage;
  TBitmap* FHotGlyph;
  TBitmap* FSavedGlyph;
  TFont* FHotTrackFont;
  TFont* FSavedFont;
  TTimer* FRepeatTimer = nullptr;
  TPopupMenu* FDropDownMenu = nullptr;
  int FGroupIndex = 0;
  TButtonStyle FStyle = bsAutoDetect;
  bool FDown = false;
  bool FFlat = false;
  bool FFlatStandard = false;
  bool FAllowAllUp = false;
  bool FAllowTimer = false;
  bool FGrayedInactive = true;
  bool FMarkDropDown = true;
  bool FTransparent = false;
  TButtonLayout FLayout = blGlyphTop;
  int FSpacing = 1;
  int FMargin = -1;
  bool FHotActive = false;
  bool FGlyphSwapped = false;
  bool FFontSwapped = false;
  bool FSavedParentFont = true;
  TColor FSavedHintColor = clInfoBk;
  bool FEnterNotified = false;
};
