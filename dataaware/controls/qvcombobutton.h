// This file implements TqvComboButton, the small window-less button at the right edge of the edit
// controls (drop-down arrow or ellipsis): a speed button with up, disabled, down and exclusive
// states, grouping, a flat mode, a strip of up to four glyphs and a caption, drawn as the visual
// styles' combo-box button (or push button with three dots) when they are on; with
// TqvComboButtonGlyph, its image cache and painter, the shared image lists (TGlyphList,
// TGlyphCache) and TqvComboButtonActionLink.
#pragma once

#include <vector>

#include "ActnList.h"
#include "Buttons.h"
#include "ImageList.h"

class TqvComboButton;

// An image list whose freed slots are reused: adding takes the first free slot (the list grows by
// an empty image when none is free), deleting frees it.
class TGlyphList : public TImageList {
  VELBOR_DECLARE_CLASS(TGlyphList, TImageList)
 public:
  TGlyphList(int AWidth, int AHeight);
  // The slot the image went to.
  int AddGlyph(TBitmap* Image, TColor MaskColor);
  void DeleteGlyph(int Index);
  int UsedCount() const { return FCount; }

 private:
  int AllocateIndex();
  std::vector<bool> FUsed;
  int FCount = 0;
};

// The glyph lists of the button unit, one per image size.
class TGlyphCache : public TObject {
  VELBOR_DECLARE_CLASS(TGlyphCache, TObject)
 public:
  TGlyphCache() = default;
  ~TGlyphCache() override;
  // The last list of that exact size, made when there is none.
  TGlyphList* GetList(int AWidth, int AHeight);
  // Frees the list when none of its slots is used.
  void ReturnList(TGlyphList* List);
  bool Empty() const { return FLists.empty(); }
  int ListCount() const { return int(FLists.size()); }

 private:
  std::vector<TGlyphList*> FLists;
};

// The unit's cache while one exists (made by the first glyph that builds an image, freed by the
// last glyph object that goes while it is empty).
TGlyphCache* qvComboButtonGlyphCache();

class TqvComboButtonGlyph : public TObject {
  VELBOR_DECLARE_CLASS(TqvComboButtonGlyph, TObject)
 public:
  explicit TqvComboButtonGlyph(TqvComboButton* AOwner = nullptr);
  ~TqvComboButtonGlyph() override;

  // Properties.
  TBitmap* Glyph() const { return FOriginal; }
  // Drops the images, copies the bitmap and takes its transparent colour; a width that is a whole
  // multiple of the height gives the number of glyphs (1 above 4).
  void SetGlyph(TBitmap* Value);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  TColor TransparentColor() const { return FTransparentColor; }
  TNotifyEvent OnChange;

  // Operations.
  // The image of a state in the shared list, built on first use; -1 without a bitmap.
  int CreateButtonGlyph(TButtonState State);
  // Glyph and caption in Client, placed by layout, margin and spacing; returns the caption's
  // rectangle.
  TRect Draw(TCanvas* Canvas, const TRect& Client, TPoint Offset, const String& Caption, TButtonLayout Layout,
             int Margin, int Spacing, TButtonState State, bool Transparent, bool Themed);
  // Gives the images back to the list, and the list to the cache.
  void ReleaseImages();

 private:
  void GlyphChanged(TObject* Sender);
  void BuildDisabledImage(TBitmap& Image, int Width, int Height, int Cell);

  TqvComboButton* FOwner;
  TBitmap* FOriginal;
  TGlyphList* FGlyphList = nullptr;
  int FIndexes[4] = {-1, -1, -1, -1};
  TColor FTransparentColor = clOlive;
  int FNumGlyphs = 1;
};

class TqvComboButtonActionLink : public TControlActionLink {
  VELBOR_DECLARE_CLASS(TqvComboButtonActionLink, TControlActionLink)
 public:
  using TOwnerClass = TControl;
  explicit TqvComboButtonActionLink(TControl* AClient);
  bool IsCheckedLinked() override;
  bool IsGroupIndexLinked() override;
  void SetChecked(bool Value) override;
  void SetGroupIndex(int Value) override;

 private:
  TqvComboButton* Button() const;
};

class TqvComboButton : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TqvComboButton, TGraphicControl)
  friend class TqvComboButtonGlyph;

 public:
  explicit TqvComboButton(TComponent* AOwner);
  ~TqvComboButton() override;

  // Properties. Every visual one repaints.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool Down() const { return FDown; }
  // Only in a group; a down button stays down unless AllowAllUp.
  void SetDown(bool Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value) { FGlyph->SetGlyph(Value); }
  int NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(int Value);
  bool MouseInControl() const { return FMouseInControl; }
  TButtonState State() const { return FState; }
  bool Dragging() const { return FDragging; }
  // Set by the owning edit before each paint: the themed face is a push button with three dots.
  bool EllipsisStyle = false;
  // The action; a custom action gives its group index and, without a glyph, its image.
  void SetAction(TComponent* Value);
  TqvComboButtonGlyph* GlyphPainter() const { return FGlyph; }

  // Operations.
  void Click() override;
  // How many combo buttons exist in the program.
  static int ButtonCount();

 protected:
  // The face: the visual styles' element, or the classic or flat frame, then glyph and caption.
  void Paint() override;
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  // The state before painting: a disabled control is disabled, an enabled one leaves it.
  void NormaliseState();
  // Points inside the button for a press's release: x in 0 .. ClientWidth - 1, y in 0 .. ClientHeight.
  bool InsideForRelease(int X, int Y) const;

  // protected messages
  void CMButtonPressed(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMSysColorChange(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

  TButtonState FState = bsUp;
  bool FMouseInControl = false;
  bool FDragging = false;

 private:
  void UpdateExclusive();
  void UpdateTracking();
  void GlyphChanged(TObject* Sender);
  void PaintThemed(TCanvas* Canvas, TRect R, TPoint& Offset, bool& Themed);
  void PaintClassic(TCanvas* Canvas, TRect& R, TPoint& Offset);

  TqvComboButtonGlyph* FGlyph;
  TqvComboButtonActionLink* FComboLink = nullptr;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FSpacing = 4;
  bool FTransparent = true;
  int FMargin = -1;
  bool FFlat = false;
};
