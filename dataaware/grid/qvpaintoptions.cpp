// This file implements TqvGridPaintOptions (see qvpaintoptions.h).
#include "qvpaintoptions.h"

#include "Grids.h"

VELBOR_IMPLEMENT_CLASS(TqvGridPaintOptions)
VELBOR_PUBLISHED(TqvGridPaintOptions,
  Prop("AlternatingRowColor", &Self::AlternatingRowColor, &Self::SetAlternatingRowColor).Default(clNone),
  Prop("ActiveRecordColor", &Self::ActiveRecordColor, &Self::SetActiveRecordColor).Default(clNone),
  Prop("BackgroundOptions", &Self::BackgroundOptions, &Self::SetBackgroundOptions).Default(TqvBackgroundOptions{}),
  Prop("BackgroundBitmap", &Self::BackgroundBitmap, &Self::SetBackgroundBitmap),
  Prop("BackgroundDrawStyle", &Self::BackgroundDrawStyle, &Self::SetBackgroundDrawStyle).Default(bdsTile),
  Prop("AlternatingRowRegions", &Self::AlternatingRowRegions, &Self::SetAlternatingRowRegions)
      .Default(TqvAlternatingRowRegions{arrFixedColumns, arrDataColumns, arrActiveDataColumn}),
  Prop("FastRecordScrolling", &Self::FastRecordScrolling).Default(true))

namespace {

// The screen shows more than 256 colours: the blended images are worth building.
bool ScreenHasTrueColour() {
  TWindowDC Screen;
  return GetDeviceCaps(Screen, BITSPIXEL) * GetDeviceCaps(Screen, PLANES) > 8;
}

}  // namespace

TqvGridPaintOptions::TqvGridPaintOptions(TCustomGrid* Grid, TBitmap* PaintBitmap)
    : FGrid(Grid), FPaintBitmap(PaintBitmap), FBackgroundBitmap(std::make_unique<TPicture>()) {
  FBackgroundBitmap->OwnerObject = this;
}

TqvGridPaintOptions::~TqvGridPaintOptions() = default;

void TqvGridPaintOptions::InvalidateGrid() {
  if (FGrid != nullptr) FGrid->Invalidate();
}

void TqvGridPaintOptions::Rebuild() {
  FRebuildImages = true;
  InvalidateGrid();
}

void TqvGridPaintOptions::SetAlternatingRowRegions(TqvAlternatingRowRegions Value) {
  if (FAlternatingRowRegions == Value) return;
  FAlternatingRowRegions = Value;
  InvalidateGrid();
}

void TqvGridPaintOptions::SetAlternatingRowColor(TColor Value) {
  if (FAlternatingRowColor == Value) return;
  FAlternatingRowColor = Value;
  Rebuild();
}

void TqvGridPaintOptions::SetActiveRecordColor(TColor Value) {
  if (FActiveRecordColor == Value) return;
  FActiveRecordColor = Value;
  Rebuild();
}

void TqvGridPaintOptions::SetBackgroundOptions(TqvBackgroundOptions Value) {
  if (FBackgroundOptions == Value) return;
  FBackgroundOptions = Value;
  if (FGrid != nullptr) Rebuild();
}

void TqvGridPaintOptions::SetBackgroundDrawStyle(TqvBackgroundDrawStyle Value) {
  if (FBackgroundDrawStyle == Value) return;
  FBackgroundDrawStyle = Value;
  Rebuild();
}

void TqvGridPaintOptions::SetBackgroundBitmap(TPicture* Value) {
  FBackgroundBitmap->Assign(Value);
  if (FGrid != nullptr) Rebuild();
}

TCanvas* TqvGridPaintOptions::GetPaintCanvas() { return FPaintBitmap != nullptr ? FPaintBitmap->Canvas() : nullptr; }

bool TqvGridPaintOptions::HasBackgroundPicture() const { return FBackgroundBitmap->Width() > 0; }

bool TqvGridPaintOptions::HasDataCellBackground() const {
  return FBackgroundImage != nullptr && FBackgroundOptions.Contains(coFillDataCells);
}

TSize TqvGridPaintOptions::GridSize() const {
  if (FGrid == nullptr) return TSize{FPaintBitmap ? FPaintBitmap->Width() : 0, FPaintBitmap ? FPaintBitmap->Height() : 0};
  return TSize{FGrid->Width(), FGrid->Height()};
}

void TqvGridPaintOptions::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TqvGridPaintOptions*>(Source)) {
    FAlternatingRowColor = Other->FAlternatingRowColor;
    FActiveRecordColor = Other->FActiveRecordColor;
    FBackgroundOptions = Other->FBackgroundOptions;
    FBackgroundBitmap->Assign(Other->FBackgroundBitmap.get());
    FBackgroundDrawStyle = Other->FBackgroundDrawStyle;
    FAlternatingRowRegions = Other->FAlternatingRowRegions;
    FastRecordScrolling = Other->FastRecordScrolling;
    Rebuild();
    return;
  }
  TPersistent::Assign(Source);
}

void TqvGridPaintOptions::PrepareImages(bool Force) {
  if (!Force && !FRebuildImages) return;
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } ClearFlag{FRebuildImages};
  if (FPaintBitmap == nullptr) return;
  TSize Size = GridSize();
  if (Size.cx <= 0 || Size.cy <= 0) return;
  // 1. The paint bitmap, white, the grid's size.
  FPaintBitmap->SetSize(Size.cx, Size.cy);
  TCanvas* Canvas = FPaintBitmap->Canvas();
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clWhite);
  Canvas->FillRect(Rect(0, 0, Size.cx, Size.cy));
  // 2. The picture over it.
  TGraphic* Picture = FBackgroundBitmap->Graphic();
  int PW = FBackgroundBitmap->Width(), PH = FBackgroundBitmap->Height();
  bool HasPicture = Picture != nullptr && PW > 0 && PH > 0;
  if (HasPicture) {
    switch (FBackgroundDrawStyle) {
      case bdsTile:
        for (int j = 0; j <= Size.cy / PH; ++j)
          for (int i = 0; i <= Size.cx / PW; ++i) Canvas->Draw(i * PW, j * PH, Picture);
        break;
      case bdsStretch: Canvas->StretchDraw(Rect(0, 0, Size.cx, Size.cy), Picture); break;
      case bdsTopLeft: Canvas->Draw(0, 0, Picture); break;
      case bdsCenter: Canvas->Draw((Size.cx - PW) / 2, (Size.cy - PH) / 2, Picture); break;
    }
  }
  // 3. The blended images, on screens that can show them.
  if (!ScreenHasTrueColour()) return;
  if (HasPicture) {
    FBackgroundImage = std::make_unique<TBitmap>();
    FBackgroundImage->Assign(FPaintBitmap);
  } else {
    FBackgroundImage.reset();
  }
  auto Tinted = [&](std::unique_ptr<TqvBitmap>& Image, bool Wanted, TColor Color) {
    if (!Wanted) {
      Image.reset();
      return;
    }
    Image = std::make_unique<TqvBitmap>();
    Image->Assign(FPaintBitmap);
    Image->Tint(Color);
  };
  Tinted(FActiveRecordImage, HasPicture && FActiveRecordColor != clNone && FBackgroundOptions.Contains(coBlendActiveRecord),
         FActiveRecordColor);
  Tinted(FAlternatingRowImage,
         HasPicture && FAlternatingRowColor != clNone && !FAlternatingRowRegions.Empty() &&
             FBackgroundOptions.Contains(coBlendAlternatingRow),
         FAlternatingRowColor);
  if (HasPicture && FBackgroundOptions.Contains(coBlendFixedRow)) {
    // The top strip, as high as the first row; refreshed, never freed here.
    int StripHeight = FGrid != nullptr && FGrid->RowCount() > 0 ? FGrid->RowHeights(0) : Size.cy;
    if (!FFixedRowImage) FFixedRowImage = std::make_unique<TqvBitmap>();
    FFixedRowImage->CreateImage(Size.cx, std::max(StripHeight, 1));
    BitBlt(FFixedRowImage->DC(), 0, 0, Size.cx, StripHeight, Canvas->Handle(), 0, 0, SRCCOPY);
    FFixedRowImage->Tint(FixedRowColor);
  }
  bool FixedColumnWanted = HasPicture && FBackgroundOptions.Contains(coBlendFixedColumn);
  if (FixedColumnWanted) {
    FFixedColumnImage = std::make_unique<TqvBitmap>();
    FFixedColumnImage->Assign(FPaintBitmap);
    if (FGrid == nullptr || FGrid->FixedColor() != clNone) FFixedColumnImage->Tint(FixedColumnColor);
  } else {
    FFixedColumnImage.reset();
  }
}
