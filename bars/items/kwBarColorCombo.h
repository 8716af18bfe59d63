// This file implements the colour and font-name combos: TkwBarColorCombo, which picks one of the
// sixteen standard colours, an automatic colour or a custom colour from the colour dialog, and
// draws a swatch before each entry; TkwBarColorComboControl, its control, with an optional
// custom-colour button beside the combo; TkwBarFontNameCombo, the list of the installed font
// families with a TrueType mark, which opens the font dialog on click.
#pragma once

#include "kwBarCombo.h"

class TkwBarColorCombo : public TkwBarCustomCombo {
  VELBOR_DECLARE_CLASS(TkwBarColorCombo, TkwBarCustomCombo)
 public:
  explicit TkwBarColorCombo(TComponent* AOwner);

  // The sixteen standard colours of the list, in order.
  static constexpr int StandardColorCount = 16;
  static TColor StandardColor(int Index);

  // Properties.
  TColor AutoColor() const { return FAutoColor; }
  void SetAutoColor(TColor Value);
  const String& AutoColorText() const { return FAutoColorText; }
  void SetAutoColorText(const String& Value);
  bool IsAutoColorTextStored() const;
  TColor Color() const { return FColor; }
  // Nothing for the same colour; otherwise the colour's entry is selected, and OnChange fires once
  // (also when that entry was selected already, as for two custom colours).
  void SetColor(TColor Value);
  const String& CustomColorText() const { return FCustomColorText; }
  void SetCustomColorText(const String& Value);
  bool IsCustomColorTextStored() const;
  // A count at its default follows the automatic entry (16 or 17).
  void SetDropDownCount(int Value) override;
  bool IsDropDownCountStored() const;
  bool ShowAutoColor() const { return FShowAutoColor; }
  void SetShowAutoColor(bool Value);
  bool ShowCustomColorButton() const { return FShowCustomColorButton; }
  void SetShowCustomColorButton(bool Value);

  // Operations.
  // The colour an entry stands for (Color for -1 and indexes out of the list).
  TColor ColorOfEntry(int Index) const;
  // The entry of a colour (system colours resolved), -1 when none.
  int EntryOfColor(TColor Value) const;
  // Opens the colour dialog as the custom-colour button does: it starts with the colour of the
  // entry selected before.
  void CustomButtonClick(TColor StartColor);

  // Overrides.
  void Change() override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void GetItemWidth(int Index, int& Width) override;

 protected:
  // The colour dialog, unless OnClick is assigned or the item is read-only.
  void DoClick() override;

 private:
  int EntryCount() const { return StandardColorCount + (FShowAutoColor ? 1 : 0); }
  int DefaultDropDownCount() const { return EntryCount(); }
  // Selects the entry of Color without writing back into Color.
  void SelectColorEntry();

  TColor FAutoColor = clWindowText;
  String FAutoColorText;
  TColor FColor = clBlack;
  String FCustomColorText;
  bool FShowAutoColor = false;
  bool FShowCustomColorButton = false;
  // Set while the item selects an entry itself: the entry does not write back into Color.
  bool FSelfChange = false;
  // Set while the custom-colour button opens the dialog, with the colour the dialog starts with.
  bool FFromCustomButton = false;
  TColor FCustomStartColor = clBlack;
};

class TkwBarColorComboControl : public TkwBarComboControl {
  VELBOR_DECLARE_CLASS(TkwBarColorComboControl, TkwBarComboControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarColorComboControl(TkwBarItemLink* ALink) : TkwBarComboControl(ALink) {}

  TkwBarColorCombo* ColorCombo() const { return dynamic_cast<TkwBarColorCombo*>(GetItem()); }
  // The custom-colour button's inner rectangle (client coordinates of the bar window), empty when
  // the button does not show.
  const TRect& CustomButtonRect() const { return FCustomButtonRect; }
  // The button's width for a control of Height pixels.
  static int CustomButtonWidth(int Height) { return ((Height - 4) / 7) * 7 + 4; }

  // Selected also while its button is held.
  bool IsSelected() const override;
  void Draw(const TRect& Rect, int Kind) override;
  void EditWndProc(TMessage& Message) override;

 private:
  void ClickCustomButton();

  TRect FCustomButtonRect;
  bool FCustomButtonPressed = false;
};

class TkwBarFontNameCombo : public TkwBarCustomCombo {
  VELBOR_DECLARE_CLASS(TkwBarFontNameCombo, TkwBarCustomCombo)
 public:
  // Lists the font families of the default printer (the screen when there is none).
  explicit TkwBarFontNameCombo(TComponent* AOwner);

  // Whether the entry is a TrueType font.
  bool IsTrueType(int Index) const;

  // While a control shows the item, a name that is not in the list is ignored (the empty text is
  // taken); a listed one is taken in the list's own letter case.
  void SetText(const String& Value) override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void GetItemWidth(int Index, int& Width) override;

 protected:
  // The font dialog, unless OnClick is assigned or the item is read-only.
  void DoClick() override;

 private:
  void FillFontNames();
};

// The marks of the font list (TrueType and other fonts), loaded once for every font combo.
TBitmap* TrueTypeFontGlyph();
TBitmap* OtherFontGlyph();
// Frees both marks (they are loaded again when next asked for).
void FreeFontGlyphs();
