// This file implements the report engine's combo boxes: TzrCustomComboBox and TzrComboBox, owner-
// drawn combo boxes sized to their font, with a read-only edit; and TzrFontComboBox, the font-name
// combo that lists the screen's and the printer's fonts, marks the TrueType ones and keeps the five
// fonts used last at its top and in the registry.
#pragma once

#include "ListControls.h"

class TzrCustomComboBox : public TComboBox {
  VELBOR_DECLARE_CLASS(TzrCustomComboBox, TComboBox)
 public:
  explicit TzrCustomComboBox(TComponent* AOwner);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);

 protected:
  // The item height follows the font.
  void Dispatch(TMessage& Message) override;
  void CMFontChanged(TMessage& Message);
  int FEditOffset = 0;

 private:
  bool FReadOnly = false;
};

class TzrComboBox : public TzrCustomComboBox {
  VELBOR_DECLARE_CLASS(TzrComboBox, TzrCustomComboBox)
 public:
  explicit TzrComboBox(TComponent* AOwner) : TzrCustomComboBox(AOwner) {}
};

// Font type flags of the items' objects.
inline constexpr int zrTrueTypeFont = 4;

class TzrFontComboBox : public TzrCustomComboBox {
  VELBOR_DECLARE_CLASS(TzrFontComboBox, TzrCustomComboBox)
 public:
  explicit TzrFontComboBox(TComponent* AOwner);
  ~TzrFontComboBox() override;

  bool ShowMRU = true;
  // The registry key of the recently used fonts; empty means the default key.
  String MRURegKey() const { return FMRURegKey; }
  void SetMRURegKey(const String& Value) { FMRURegKey = Value.empty() ? kDefaultKey : Value; }
  static constexpr const char* kDefaultKey = "\\Software\\Tarvelo\\MRUFont";
  // The recently used fonts at the top of the list.
  int MRUCount() const { return FMRUCount; }
  // The font type flags of an item.
  int FontType(int Index) const;

  // Lists the fonts, then the recently used ones from the registry (a slot whose font is gone is
  // emptied there).
  void Populate();
  // The choice of the item at Index: it becomes the first recently used font (the oldest goes
  // when there were five), and the five slots are written.
  void ChooseFont(int Index);

  TNotifyEvent OnFontClick;

 protected:
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void CNCommand(TMessage& Message);
  void DrawFontItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);

 private:
  void WriteSlots();
  String FMRURegKey = kDefaultKey;
  int FMRUCount = 0;
  bool FUpdating = false;
  TBitmap* FTrueTypeMark;
};

void RegisterReportCombos();
