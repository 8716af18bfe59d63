// This file implements the image combo: TkwBarImageCombo, a combo of strings each of which may
// carry a picture of an image list (drawn before its text in the list and in the bar, or alone when
// the texts are hidden), with its "Select item" dialog for clicks in menus; and its control,
// TkwBarImageComboControl, as high as a picture needs.
#pragma once

#include "Forms.h"
#include "ImageList.h"
#include "kwBarCombo.h"
#include "kwBars.h"

class TListBox;

class TkwBarImageCombo : public TkwBarCustomCombo {
  VELBOR_DECLARE_CLASS(TkwBarImageCombo, TkwBarCustomCombo)
 public:
  explicit TkwBarImageCombo(TComponent* AOwner);
  ~TkwBarImageCombo() override;

  // Properties.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool ShowText() const { return FShowText; }
  void SetShowText(bool Value);
  // The picture of an entry (-1: none); each entry's object holds it plus one, so that an entry
  // added without one has none.
  int GetEntryImageIndex(int Index) const;
  void SetEntryImageIndex(int Index, int ImageIndex);
  // The dialog of a click, while it runs (nullptr otherwise), and its list.
  TForm* SelectDialog() const { return FDialog; }
  TListBox* DialogList() const { return FDialogList; }

  // Operations.
  // Draws an entry (-1: the item's text) on Canvas: the picture, then the text unless hidden.
  // InList: a row of a list (a missing picture keeps its cell there).
  void DrawEntry(TCanvas* Canvas, int Index, const TRect& Rect, TOwnerDrawState State, bool InList);

  // Overrides.
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void GetItemWidth(int Index, int& Width) override;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The "Select item" dialog, unless OnClick is assigned or the item is read-only.
  void DoClick() override;

 private:
  void ImagesChanged(TObject* Sender);
  void ReadImageIndexes(TReader* Reader);
  void WriteImageIndexes(TWriter* Writer);
  bool HasImageIndexes() const;
  void DialogDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
  void DialogMeasureItem(TWinControl* Control, int Index, int& Height);
  void DialogDblClick(TObject* Sender);

  TCustomImageList* FImages = nullptr;  // not owned
  TChangeLink* FImageChangeLink;          // owned
  bool FShowText = true;
  TForm* FDialog = nullptr;          // owned while it runs
  TListBox* FDialogList = nullptr;   // owned by the dialog
  int FDialogTextHeight = 0;         // a text row's height in the dialog's list
};

class TkwBarImageComboControl : public TkwBarComboControl {
  VELBOR_DECLARE_CLASS(TkwBarImageComboControl, TkwBarComboControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarImageComboControl(TkwBarItemLink* ALink) : TkwBarComboControl(ALink) {}

  TkwBarImageCombo* ImageCombo() const { return dynamic_cast<TkwBarImageCombo*>(GetItem()); }
  // At least a picture's height + 6, but in turned bars.
  int CalcHeight() override;
};
