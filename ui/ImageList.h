// This file implements the image list: TCustomImageList and TImageList over the common
// controls' image lists (images of one size, with masks), drawn normal, selected, focused or
// disabled, and TChangeLink, through which users of a list hear of its changes.
#pragma once

#include "Graphics.h"

#include "WinApi.h"

#include <vector>

#include "Component.h"

class TCustomImageList;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
VELBOR_ENUM(TDrawingStyle, "dsFocus", "dsSelected", "dsNormal", "dsTransparent")
enum TImageType { itImage, itMask };
VELBOR_ENUM(TImageType, "itImage", "itMask")

// Registered with a list (RegisterChanges); told of every change until it is unregistered or
// destroyed.
class TChangeLink : public TObject {
  VELBOR_DECLARE_CLASS(TChangeLink, TObject)
 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TCustomImageList* Sender = nullptr;
  TNotifyEvent OnChange;
  virtual void Change();
};

class TCustomImageList : public TComponent {
  VELBOR_DECLARE_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
  ~TCustomImageList() override;

  // Properties.
  HIMAGELIST Handle();
  // Takes ownership of Value; its image size becomes the list's.
  void SetHandle(HIMAGELIST Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  int Count();
  // Changing the size empties the list.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int AllocBy() const { return FAllocBy; }
  void SetAllocBy(int Value) { FAllocBy = Value; }
  // clNone: drawn transparently; another colour fills the transparent pixels.
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  // The colour dsFocus and dsSelected blend in; clDefault is the highlight colour.
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value);
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType Value);
  // Whether images carry masks; changing it empties the list.
  bool Masked() const { return FMasked; }
  void SetMasked(bool Value);
  bool ShareImages = false;

  // Operations. Images wider than Width are cut into several, left to right. The bitmaps stay
  // the caller's. Each returns the index of the (first) image added, -1 when the list refused.
  int Add(TBitmap* Image, TBitmap* Mask);
  int AddMasked(TBitmap* Image, TColor MaskColor);
  int AddIcon(TIcon* Image);
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
  void Delete(int Index);
  void Clear();
  void Move(int CurIndex, int NewIndex);
  // With the list's DrawingStyle and ImageType; a disabled image is drawn embossed in the
  // button highlight and shadow colours.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle, TImageType AImageType,
            bool Enabled = true);
  // The image on a bitmap of the list's size filled with BkColor (white for clNone).
  void GetBitmap(int Index, TBitmap* Image);
  void GetIcon(int Index, TIcon* Image);
  void Assign(TPersistent* Source) override;
  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  // Changes between BeginUpdate and EndUpdate are told once, at the end.
  void BeginUpdate();
  void EndUpdate();

  TNotifyEvent OnChange;

 protected:
  // Tells the change links, then OnChange.
  virtual void Change();
  virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);
  void DefineProperties(TFiler* Filer) override;

 private:
  void CreateList();
  void FreeList();
  void CheckIndex(int Index) const;
  // The image drawn on black (its transparent pixels black) and its mask drawn on white (black
  // where the image is opaque), both 24-bit bitmaps of the list's size.
  void ExtractImage(int Index, TBitmap& Image, TBitmap& Mask);
  void ReadBitmaps(TStream* Stream);
  void WriteBitmaps(TStream* Stream);

  HIMAGELIST FHandle = nullptr;
  int FWidth = 16;
  int FHeight = 16;
  int FAllocBy = 4;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  bool FMasked = true;
  int FUpdateCount = 0;
  bool FChanged = false;
  std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
  VELBOR_DECLARE_CLASS(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};
