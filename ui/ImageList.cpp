// This file implements TCustomImageList, TImageList and TChangeLink over the common controls'
// image lists.
#include "ImageList.h"

#include <algorithm>
#include <memory>

#include "Filer.h"
#include "Format.h"
#include "Streams.h"

namespace {

COLORREF ListColor(TColor Color) {
  if (Color == clNone) return CLR_NONE;
  if (Color == clDefault) return CLR_DEFAULT;
  return ColorToRGB(Color);
}

// A copy of the bitmap that no device context holds (the list selects what it is given).
TOwnedBitmap DetachedCopy(TBitmap* Source) {
  TBitmap copy;
  copy.Assign(Source);
  return TOwnedBitmap(copy.ReleaseHandle());
}

// The monochrome mask of a list image: none for a missing or empty mask bitmap.
TOwnedBitmap MonochromeCopy(TBitmap* Mask) {
  if (!Mask || Mask->Empty()) return TOwnedBitmap();
  TBitmap mono;
  mono.Assign(Mask);
  mono.SetMonochrome(true);
  return TOwnedBitmap(mono.ReleaseHandle());
}

}  // namespace

// --- TChangeLink --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TChangeLink)

TChangeLink::~TChangeLink() {
  if (Sender) Sender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(Sender);
}

// --- TCustomImageList ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomImageList)
VELBOR_PUBLISHED(TCustomImageList,
  Prop("AllocBy", &Self::AllocBy, &Self::SetAllocBy).Default(4),
  Prop("BkColor", &Self::BkColor, &Self::SetBkColor).Default(clNone).Idents(ColorIdents),
  Prop("BlendColor", &Self::BlendColor, &Self::SetBlendColor).Default(clNone).Idents(ColorIdents),
  Prop("DrawingStyle", &Self::DrawingStyle, &Self::SetDrawingStyle).Default(dsNormal),
  Prop("Height", &Self::Height, &Self::SetHeight).Default(16),
  Prop("ImageType", &Self::ImageType, &Self::SetImageType).Default(itImage),
  Prop("Masked", &Self::Masked, &Self::SetMasked).Default(true),
  Prop("ShareImages", &Self::ShareImages).Default(false),
  Prop("Width", &Self::Width, &Self::SetWidth).Default(16),
  Prop("OnChange", &Self::OnChange))

VELBOR_IMPLEMENT_CLASS(TImageList)

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight)
    : TComponent(AOwner), FWidth(AWidth), FHeight(AHeight) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FLinks) link->Sender = nullptr;
  FLinks.clear();
  FreeList();
}

void TCustomImageList::CreateList() {
  if (FHandle) return;
  FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | (FMasked ? ILC_MASK : 0), FAllocBy, FAllocBy);
  if (!FHandle) throw EInvalidOperation("Impossible de créer la liste d'images"_a);
  ImageList_SetBkColor(FHandle, ListColor(FBkColor));
}

void TCustomImageList::FreeList() {
  if (FHandle && !ShareImages) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

HIMAGELIST TCustomImageList::Handle() {
  CreateList();
  return FHandle;
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  FreeList();
  FHandle = Value;
  if (FHandle) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(FHandle, &cx, &cy);
    FWidth = cx;
    FHeight = cy;
  }
  Change();
}

int TCustomImageList::Count() { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

void TCustomImageList::SetWidth(int Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  FreeList();
  Change();
}

void TCustomImageList::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  FreeList();
  Change();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == FMasked) return;
  FMasked = Value;
  FreeList();
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (Value == FBkColor) return;
  FBkColor = Value;
  if (FHandle) ImageList_SetBkColor(FHandle, ListColor(Value));
  Change();
}

void TCustomImageList::SetBlendColor(TColor Value) {
  if (Value == FBlendColor) return;
  FBlendColor = Value;
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
  if (Value == FDrawingStyle) return;
  FDrawingStyle = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value) {
  if (Value == FImageType) return;
  FImageType = Value;
  Change();
}

void TCustomImageList::CheckIndex(int Index) const {
  int count = FHandle ? ImageList_GetImageCount(FHandle) : 0;
  if (Index < 0 || Index >= count) throw EInvalidOperation(Format("Indice d'image hors limites (%d)", {Index}));
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  CreateList();
  TOwnedBitmap image = DetachedCopy(Image);
  TOwnedBitmap mask = MonochromeCopy(Mask);
  int index = ImageList_Add(FHandle, image, mask);
  Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  CreateList();
  // The list changes the image it is given (transparent pixels become black): a copy.
  TOwnedBitmap image = DetachedCopy(Image);
  int index = FMasked ? ImageList_AddMasked(FHandle, image, ColorToRGB(MaskColor)) : ImageList_Add(FHandle, image, nullptr);
  Change();
  return index;
}

int TCustomImageList::AddIcon(TIcon* Image) {
  if (!Image || !Image->Handle()) return -1;
  CreateList();
  int index = ImageList_AddIcon(FHandle, Image->Handle());
  Change();
  return index;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  TOwnedBitmap image = DetachedCopy(Image);
  TOwnedBitmap mask = MonochromeCopy(Mask);
  if (!ImageList_Replace(FHandle, Index, image, mask)) throw EInvalidOperation("Impossible de remplacer l'image"_a);
  Change();
}

// The common controls have no masked replacement: the colour's mask is made here.
void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor) {
  CheckIndex(Index);
  TBitmap image;
  image.Assign(NewImage);
  TOwnedBitmap mask(image.CreateMaskHandle(MaskColor));
  TOwnedBitmap bits(image.ReleaseHandle());
  if (!ImageList_Replace(FHandle, Index, bits, mask)) throw EInvalidOperation("Impossible de remplacer l'image"_a);
  Change();
}

void TCustomImageList::Delete(int Index) {
  CheckIndex(Index);
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::ExtractImage(int Index, TBitmap& Image, TBitmap& Mask) {
  Image.SetPixelFormat(pf24bit);
  Image.SetSize(FWidth, FHeight);
  ::PatBlt(Image.Canvas()->Handle(), 0, 0, FWidth, FHeight, BLACKNESS);
  ImageList_DrawEx(FHandle, Index, Image.Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
  Mask.SetPixelFormat(pf24bit);
  Mask.SetSize(FWidth, FHeight);
  ::PatBlt(Mask.Canvas()->Handle(), 0, 0, FWidth, FHeight, WHITENESS);
  ImageList_DrawEx(FHandle, Index, Mask.Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
}

// The images between the two places shift by one, as in a list. Each is taken out and put back
// (the list's own swap is not reliable within one list).
void TCustomImageList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  int low = std::min(CurIndex, NewIndex), high = std::max(CurIndex, NewIndex);
  std::vector<std::unique_ptr<TBitmap>> images, masks;
  for (int i = low; i <= high; ++i) {
    images.push_back(std::make_unique<TBitmap>());
    masks.push_back(std::make_unique<TBitmap>());
    ExtractImage(i, *images.back(), *masks.back());
  }
  if (CurIndex < NewIndex) {
    std::rotate(images.begin(), images.begin() + 1, images.end());
    std::rotate(masks.begin(), masks.begin() + 1, masks.end());
  } else {
    std::rotate(images.rbegin(), images.rbegin() + 1, images.rend());
    std::rotate(masks.rbegin(), masks.rbegin() + 1, masks.rend());
  }
  for (int i = low; i <= high; ++i) {
    TOwnedBitmap image = DetachedCopy(images[std::size_t(i - low)].get());
    TOwnedBitmap mask(masks[std::size_t(i - low)]->CreateMaskHandle(clWhite));
    ImageList_Replace(FHandle, i, image, mask);
  }
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled) {
  if (!FHandle || Index < 0 || Index >= Count()) return;
  static const UINT Styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  UINT style = Styles[ADrawingStyle];
  if (AImageType == itMask) style |= ILD_MASK;
  DoDraw(Index, Canvas, X, Y, style, Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) {
  HDC dc = Canvas->Handle();
  if (Enabled && (Style & (ILD_FOCUS | ILD_SELECTED)) && !(Style & ILD_MASK)) {
    // Blended here: the common controls do not blend the images of masked lists. The opaque
    // pixels move a quarter (focus) or half (selected) of the way to the blend colour.
    TBitmap image, mask;
    ExtractImage(Index, image, mask);
    COLORREF blend = ColorToRGB(FBlendColor == clNone || FBlendColor == clDefault ? clHighlight : FBlendColor);
    int percent = (Style & ILD_SELECTED) ? 50 : 25;
    const int target[3] = {GetBValue(blend), GetGValue(blend), GetRValue(blend)};
    for (int y = 0; y < FHeight; ++y) {
      auto* row = static_cast<std::uint8_t*>(image.ScanLine(y));
      const auto* m = static_cast<const std::uint8_t*>(mask.ScanLine(y));
      for (int x = 0; x < FWidth; ++x) {
        if (m[3 * x] != 0) continue;  // transparent
        for (int c = 0; c < 3; ++c) row[3 * x + c] = std::uint8_t((row[3 * x + c] * (100 - percent) + target[c] * percent) / 100);
      }
    }
    TRect r = Bounds(X, Y, FWidth, FHeight);
    if (FBkColor != clNone) {
      TOwnedBrush bk(::CreateSolidBrush(ColorToRGB(FBkColor)));
      ::FillRect(dc, AsRECT(r), bk);
    }
    TOwnedBitmap monoMask(mask.CreateMaskHandle(clWhite));
    GraphicsDetail::MaskedStretch(dc, r, image.Canvas()->Handle(), TRect(0, 0, FWidth, FHeight), monoMask);
    return;
  }
  if (Enabled) {
    ImageList_DrawEx(FHandle, Index, dc, X, Y, 0, 0, ListColor(FBkColor), CLR_NONE, Style);
    return;
  }
  // Disabled: the image's shape (every pixel that is not white once masked onto white) is
  // painted in the button highlight colour one pixel down and right, then in the shadow colour.
  // A device bitmap: the blits below expand it through the text and background colours, which
  // a monochrome DIB's own colour table would override.
  TOwnedBitmap shape(::CreateBitmap(FWidth, FHeight, 1, 1, nullptr));
  TOwnedDC shapeDC = TOwnedDC::Compatible();
  TSelectedObject shapeSelected(shapeDC, shape);
  ::PatBlt(shapeDC, 0, 0, FWidth, FHeight, WHITENESS);
  ImageList_DrawEx(FHandle, Index, shapeDC, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
  // DSPDxax: where the source is black the brush is painted, elsewhere the destination stays.
  const DWORD DSPDxax = 0x00E20746;
  COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255));
  COLORREF oldBk = ::SetBkColor(dc, RGB(0, 0, 0));
  for (auto [colour, offset] : {std::pair{clBtnHighlight, 1}, std::pair{clBtnShadow, 0}}) {
    TOwnedBrush brush(::CreateSolidBrush(ColorToRGB(colour)));
    TSelectedObject selected(dc, brush);
    ::BitBlt(dc, X + offset, Y + offset, FWidth, FHeight, shapeDC, 0, 0, DSPDxax);
  }
  ::SetBkColor(dc, oldBk);
  ::SetTextColor(dc, oldText);
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  CheckIndex(Index);
  Image->SetSize(FWidth, FHeight);
  Image->Canvas()->Brush()->SetColor(FBkColor == clNone ? clWhite : FBkColor);
  Image->Canvas()->FillRect(TRect(0, 0, FWidth, FHeight));
  ImageList_Draw(FHandle, Index, Image->Canvas()->Handle(), 0, 0, ILD_NORMAL);
  Image->Modified = true;
}

void TCustomImageList::GetIcon(int Index, TIcon* Image) {
  CheckIndex(Index);
  Image->SetHandle(ImageList_GetIcon(FHandle, Index, ILD_NORMAL));
}

void TCustomImageList::Assign(TPersistent* Source) {
  if (auto* list = dynamic_cast<TCustomImageList*>(Source)) {
    FreeList();
    FWidth = list->FWidth;
    FHeight = list->FHeight;
    FAllocBy = list->FAllocBy;
    FBkColor = list->FBkColor;
    FBlendColor = list->FBlendColor;
    FDrawingStyle = list->FDrawingStyle;
    FImageType = list->FImageType;
    FMasked = list->FMasked;
    if (list->FHandle) FHandle = ImageList_Duplicate(list->FHandle);
    Change();
    return;
  }
  inherited::Assign(Source);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value || std::find(FLinks.begin(), FLinks.end(), Value) != FLinks.end()) return;
  if (Value->Sender && Value->Sender != this) Value->Sender->UnRegisterChanges(Value);
  Value->Sender = this;
  FLinks.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto it = std::find(FLinks.begin(), FLinks.end(), Value);
  if (it == FLinks.end()) return;
  FLinks.erase(it);
  Value->Sender = nullptr;
}

void TCustomImageList::BeginUpdate() { ++FUpdateCount; }

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged) {
    FChanged = false;
    Change();
  }
}

void TCustomImageList::Change() {
  if (FUpdateCount > 0 || ComponentState().Contains(csLoading)) {
    FChanged = true;
    return;
  }
  // A link may unregister itself while being told: walk a copy.
  std::vector<TChangeLink*> links = FLinks;
  for (TChangeLink* link : links)
    if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Bitmap", TStreamProc(this, &TCustomImageList::ReadBitmaps),
                              TStreamProc(this, &TCustomImageList::WriteBitmaps), Count() > 0);
}

// The images as two strips, each a 4-byte size and a BMP file: the images side by side (the
// transparent pixels black), then their mask (white where transparent).
void TCustomImageList::WriteBitmaps(TStream* Stream) {
  int count = Count();
  TBitmap images, masks;
  images.SetPixelFormat(pf24bit);
  images.SetSize(FWidth * count, FHeight);
  masks.SetPixelFormat(pf1bit);
  masks.SetSize(FWidth * count, FHeight);
  HDC imageDC = images.Canvas()->Handle();
  HDC maskDC = masks.Canvas()->Handle();
  ::PatBlt(imageDC, 0, 0, FWidth * count, FHeight, BLACKNESS);
  for (int i = 0; i < count; ++i) {
    ImageList_DrawEx(FHandle, i, imageDC, i * FWidth, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
    ImageList_DrawEx(FHandle, i, maskDC, i * FWidth, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
  }
  for (TBitmap* strip : {&images, &masks}) {
    TMemoryStream file;
    strip->SaveToStream(&file);
    std::uint32_t size = std::uint32_t(file.Size());
    Stream->WriteBuffer(&size, 4);
    Stream->WriteBuffer(file.Memory(), size);
  }
}

void TCustomImageList::ReadBitmaps(TStream* Stream) {
  TBitmap strips[2];
  for (TBitmap& strip : strips) {
    std::uint32_t size = 0;
    Stream->ReadBuffer(&size, 4);
    TMemoryStream file;
    file.CopyFrom(Stream, size);
    file.SetPosition(0);
    strip.LoadFromStream(&file);
  }
  FreeList();
  CreateList();
  TOwnedBitmap image = DetachedCopy(&strips[0]);
  TOwnedBitmap mask = FMasked ? DetachedCopy(&strips[1]) : TOwnedBitmap();
  ImageList_Add(FHandle, image, mask);
  Change();
}
