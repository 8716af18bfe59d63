// This file implements TqvRulerPanel, the ruler above the rich-text editor window's rich edit: a
// white strip with the units and their ticks, and three markers (left indent, first-line indent,
// right indent) that follow the selected paragraph and, dragged, change its indents.
#pragma once

#include "ExtCtrls.h"

class TqvCustomRichEdit;
class TqvTrackIcon;

class TqvRulerPanel : public TPanel {
  VELBOR_DECLARE_CLASS(TqvRulerPanel, TPanel)
 public:
  explicit TqvRulerPanel(TComponent* AOwner) : TPanel(AOwner) {}

  // The rich edit whose units and indents the ruler shows.
  TqvCustomRichEdit* RichEdit() const { return FRichEdit; }
  void SetRichEdit(TqvCustomRichEdit* Value) { FRichEdit = Value; }
  TRect RulerRect() const { return FRulerRect; }
  // The strip: (6, 4, width - 6, height - 4).
  void UpdateRulerRect();
  TqvTrackIcon* LeftMarker() const { return FLeftMarker; }
  TqvTrackIcon* RightMarker() const { return FRightMarker; }
  TqvTrackIcon* FirstLineMarker() const { return FFirstLineMarker; }
  void SetMarkers(TqvTrackIcon* Left, TqvTrackIcon* Right, TqvTrackIcon* FirstLine);

  // The ruler as long as the printed line: the paper's width less the margins.
  void SetPrinterWidth(TqvCustomRichEdit* RichEdit);
  // Puts the markers at the selected paragraph's indents.
  void FollowParagraph();
  // A marker's OnEndDrag: snaps it to the nearest tick below and gives the paragraphs its indent.
  void MarkerDragged(TObject* Marker);
  // Screen pixels per unit (inch or centimetre) and the ticks between two numbers plus one.
  double PixelsPerUnit() const;
  int TicksPerUnit() const;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  int ToTwips(int Pixels) const;
  int ToPixels(int Twips) const;
  TqvCustomRichEdit* FRichEdit = nullptr;
  TRect FRulerRect;
  TqvTrackIcon* FLeftMarker = nullptr;
  TqvTrackIcon* FRightMarker = nullptr;
  TqvTrackIcon* FFirstLineMarker = nullptr;
};
