// This file implements the tool controls of the report engine's windows: TzrSpeedButton, a flat
// speed button whose glyph shows in grey while the mouse is elsewhere, with its disabled and
// inactive images made from the glyph; TzrTBButton and TzrTBSeparator, the toolbar button and
// separator made from it; the remembered placement of a window (SaveFormPosition,
// RestoreFormPosition); and the glyphs of the engine's windows, drawn in code (ZR_Glyphs.cpp).
#pragma once

#include "Buttons.h"

class TCustomForm;

class TzrSpeedButton : public TSpeedButton {
  VELBOR_DECLARE_CLASS(TzrSpeedButton, TSpeedButton)
 public:
  explicit TzrSpeedButton(TComponent* AOwner);
  ~TzrSpeedButton() override;

  // Flat and enabled, the glyph is drawn in grey until the mouse enters the button.
  bool GrayedInactive() const { return FGrayedInactive; }
  void SetGrayedInactive(bool Value);
  // A strip whose width is a whole number of its heights (at most 4) holds that many images.
  void SetGlyph(TBitmap* Value);
  // Whether the button shows its inactive look now.
  bool ShowsInactive() const;
  // The image a state draws, made from the glyph's first image: the image itself; disabled, its
  // shape embossed in the highlight and shadow colours; inactive, its colours turned to their grey
  // values (what is transparent or the button face stays). Olive where it is transparent.
  enum TImageKind { ikUp, ikDisabled, ikInactive };
  void MakeStateImage(TImageKind Kind, TBitmap* Image);

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  // protected messages
  void CMDialogChar(TMessage& Message);

 private:
  bool FGrayedInactive = true;
};

class TzrTBButton : public TzrSpeedButton {
  VELBOR_DECLARE_CLASS(TzrTBButton, TzrSpeedButton)
 public:
  explicit TzrTBButton(TComponent* AOwner);
};

class TzrTBSeparator : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TzrTBSeparator, TGraphicControl)
 public:
  explicit TzrTBSeparator(TComponent* AOwner);
  bool DrawBevel() const { return FDrawBevel; }
  void SetDrawBevel(bool Value);

 protected:
  void Paint() override;

 private:
  bool FDrawBevel = true;
};

// The alignment of a toolbar button or separator put on Panel: top when the panel's own container
// is aligned left or right, else left.
TAlign ToolbarChildAlign(TControl* Panel);

// The placement of Form under "Software\Tarvelo" of the current user, section "Form\" + its class
// name: "XPosition", "YPosition", "Width", "Height", "Maximized". Restoring a form whose section
// is missing keeps its designed state, size and position.
void SaveFormPosition(TCustomForm* Form);
void RestoreFormPosition(TCustomForm* Form);

// The glyphs of the engine's windows, drawn in code on olive (the transparent colour, RGB
// 128,128,0). Kinds: the preview's toolbar (zoom, open, save, print, page setup, find, help,
// close), the page arrows, the print dialog's printer, the bold, italic and underline buttons and
// the rich-text editor's file and paragraph buttons.
enum TzrGlyph {
  zgZoom, zgOpen, zgSave, zgPrint, zgPageSetup, zgFind, zgHelp, zgExit, zgPageUp, zgPageDown, zgPrinter,
  zgBold, zgItalic, zgUnderline, zgUndo, zgFont, zgExpression, zgLeft, zgCenter, zgRight, zgBullets, zgOk, zgCancel,
  zgSpinUp, zgSpinDown, zgTrueType
};
void DrawGlyph(TzrGlyph Kind, TBitmap* Bitmap);
// The collate pictures of the print dialog: three sheets twice (74 x 53), or the sheets in pairs
// (92 x 40).
void DrawCollatePicture(bool Collated, TBitmap* Bitmap);
inline constexpr TColor zrGlyphTransparent = 0x008080;  // olive
