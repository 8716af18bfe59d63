// This file implements TqvGridPaintOptions, the grid's background picture, its drawing style and
// the tinted row colours, and the images the grid copies its cell backgrounds from: the
// background picture drawn over the whole grid, and the same blended with the active record,
// alternating row and fixed-cell colours.
#pragma once

#include <memory>

#include "Graphics.h"
#include "TypInfo.h"
#include "qvbitmap.h"

class TCustomGrid;

enum TqvBackgroundOption { coFillDataCells, coBlendFixedRow, coBlendFixedColumn, coBlendActiveRecord, coBlendAlternatingRow };
VELBOR_ENUM(TqvBackgroundOption, "coFillDataCells", "coBlendFixedRow", "coBlendFixedColumn", "coBlendActiveRecord",
            "coBlendAlternatingRow")
using TqvBackgroundOptions = TSet<TqvBackgroundOption>;

enum TqvBackgroundDrawStyle { bdsTile, bdsStretch, bdsTopLeft, bdsCenter };
VELBOR_ENUM(TqvBackgroundDrawStyle, "bdsTile", "bdsStretch", "bdsTopLeft", "bdsCenter")

enum TqvAlternatingRowRegion { arrFixedColumns, arrDataColumns, arrActiveDataColumn };
VELBOR_ENUM(TqvAlternatingRowRegion, "arrFixedColumns", "arrDataColumns", "arrActiveDataColumn")
using TqvAlternatingRowRegions = TSet<TqvAlternatingRowRegion>;

class TqvGridPaintOptions : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvGridPaintOptions, TPersistent)
 public:
  // Grid and PaintBitmap (the grid's off-screen bitmap) are the grid's; either may be null.
  TqvGridPaintOptions(TCustomGrid* Grid = nullptr, TBitmap* PaintBitmap = nullptr);
  ~TqvGridPaintOptions() override;

  // Properties. Each setter repaints the grid; all but AlternatingRowRegions rebuild the images.
  TColor AlternatingRowColor() const { return FAlternatingRowColor; }
  virtual void SetAlternatingRowColor(TColor Value);
  TColor ActiveRecordColor() const { return FActiveRecordColor; }
  virtual void SetActiveRecordColor(TColor Value);
  TqvBackgroundOptions BackgroundOptions() const { return FBackgroundOptions; }
  virtual void SetBackgroundOptions(TqvBackgroundOptions Value);
  TPicture* BackgroundBitmap() const { return FBackgroundBitmap.get(); }
  virtual void SetBackgroundBitmap(TPicture* Value);
  TqvBackgroundDrawStyle BackgroundDrawStyle() const { return FBackgroundDrawStyle; }
  virtual void SetBackgroundDrawStyle(TqvBackgroundDrawStyle Value);
  TqvAlternatingRowRegions AlternatingRowRegions() const { return FAlternatingRowRegions; }
  virtual void SetAlternatingRowRegions(TqvAlternatingRowRegions Value);
  bool FastRecordScrolling = true;

  // The colours the fixed row and fixed column images are blended with (the grid's title
  // colour, given at each layout rebuild).
  TColor FixedRowColor = clBtnFace;
  TColor FixedColumnColor = clBtnFace;
  // The grid's off-screen bitmap, whose canvas the grid paints on.
  TBitmap* PaintBitmap() const { return FPaintBitmap; }
  void SetPaintBitmap(TBitmap* Value) { FPaintBitmap = Value; }
  virtual TCanvas* GetPaintCanvas();
  bool RebuildImages() const { return FRebuildImages; }
  void SetRebuildImages(bool Value) { FRebuildImages = Value; }
  bool HasBackgroundPicture() const;
  // The background image exists and coFillDataCells is set.
  virtual bool HasDataCellBackground() const;
  // The images the cells copy from; null when not built.
  TBitmap* BackgroundImage() const { return FBackgroundImage.get(); }
  TqvBitmap* ActiveRecordImage() const { return FActiveRecordImage.get(); }
  TqvBitmap* AlternatingRowImage() const { return FAlternatingRowImage.get(); }
  TqvBitmap* FixedRowImage() const { return FFixedRowImage.get(); }
  TqvBitmap* FixedColumnImage() const { return FFixedColumnImage.get(); }

  // Operations.
  // Draws the background picture onto the paint bitmap and builds the blended images, when
  // Force is set or a setting changed since the last time.
  void PrepareImages(bool Force);
  void Assign(TPersistent* Source) override;

 private:
  void Rebuild();
  void InvalidateGrid();
  // Width and height of the grid (control bounds).
  TSize GridSize() const;

  TCustomGrid* FGrid;
  TBitmap* FPaintBitmap;
  bool FRebuildImages = true;
  TColor FAlternatingRowColor = clNone;
  TColor FActiveRecordColor = clNone;
  TqvBackgroundOptions FBackgroundOptions;
  std::unique_ptr<TPicture> FBackgroundBitmap;
  TqvBackgroundDrawStyle FBackgroundDrawStyle = bdsTile;
  TqvAlternatingRowRegions FAlternatingRowRegions = {arrFixedColumns, arrDataColumns, arrActiveDataColumn};
  std::unique_ptr<TBitmap> FBackgroundImage;
  std::unique_ptr<TqvBitmap> FActiveRecordImage;
  std::unique_ptr<TqvBitmap> FAlternatingRowImage;
  std::unique_ptr<TqvBitmap> FFixedRowImage;
  std::unique_ptr<TqvBitmap> FFixedColumnImage;
};
