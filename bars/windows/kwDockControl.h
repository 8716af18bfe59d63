// This file implements the dock sites: TkwDockControl, a child window of the form along one of its
// edges (or anywhere, for a free-standing one) that holds docked tool bar windows in rows (columns
// for left and right sites), lays them out whenever something changes, sizes itself to its rows,
// paints the background behind the bars and tells where a dragged bar would land;
// TkwBarDockControl, the published component for placing further dock sites on a form; and the
// plain records of the layout, TkwDockRow and TkwDockCol.
#pragma once

#include <vector>

#include "kwDockSite.h"

class TkwBarControl;
class TkwDockControl;
class TkwDockRow;

class TkwDockCol {
 public:
  TkwDockCol(TkwDockRow* ARow, TkwBarControl* Window) : BarControl(Window), Row(ARow) {}
  TkwBarControl* BarControl;  // not owned
  TkwDockRow* Row;            // not owned
  // Where the bar was put or last seen (dock client coordinates).
  TPoint Position;
};

class TkwDockRow {
 public:
  explicit TkwDockRow(TkwDockControl* Dock) : DockControl(Dock) {}
  ~TkwDockRow();
  TkwDockControl* DockControl;  // not owned
  int GetColCount() const { return int(Cols.size()); }
  TkwDockCol* GetCol(int Index) const { return Cols[std::size_t(Index)]; }
  std::vector<TkwDockCol*> Cols;  // owned
};

class TkwDockControl : public TkwDockSite {
  VELBOR_DECLARE_CLASS(TkwDockControl, TkwDockSite)
 public:
  TkwDockControl(TComponent* AOwner, TkwBarDockingStyle FixedStyle = dsNone);
  // An edge dock site of Manager's form AOwner (its parent; the manager's bars own and free it).
  static TkwDockControl* CreateForManager(TComponent* AOwner, TkwBarDockingStyle Style, TkwBarManager* Manager);
  ~TkwDockControl() override;

  // Properties.
  TBitmap* BackgroundBitmap() const { return FBackgroundBitmap; }
  void SetBackgroundBitmap(TBitmap* Value) { FBackgroundBitmap->Assign(Value); }
  TBitmap* OffscreenBitmap() const { return FOffscreen; }

  // Operations.
  TkwBarDockingStyle DockingStyle() const override;
  bool IsHorizontal() const { return DockingStyle() == dsTop || DockingStyle() == dsBottom; }
  bool IsVerticalDock() const { return !IsHorizontal(); }
  bool IsNearEdge() const { return DockingStyle() == dsLeft || DockingStyle() == dsTop; }
  bool IsManagerDock() const { return IsEdgeSite(); }
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  int GetRowCount() const { return int(FRows.size()); }
  TkwDockRow* GetRow(int Index) const { return FRows[std::size_t(Index)]; }
  TkwBars* GetBars() const;
  void DockBarControl(TkwBarControl* Window, TPoint ScreenPoint, bool Reposition);
  void UndockBarControl(TkwBarControl* Window, TkwDockCol* Col, bool Relayout);
  void MoveBarControl(TkwBarControl* Window, TPoint ScreenPoint);
  void SaveColumnPositions();
  int GetRowAtPoint(TPoint ScreenPoint, bool& NewRow);
  int GetColIndexAtPoint(TkwDockRow* Row, TPoint ScreenPoint);
  TRect GetRowRect(int Row);
  // The zone of a boundary (-1: before the first row) and one of its three parts, across the dock.
  void GetRowZone(int Boundary, int Part, int& Lo, int& Hi);
  void GetRowSeparatorPoint(int Row, bool AfterRow, TPoint& ScreenPoint);
  TRect GetDockingZone();
  void UpdateLayout() override;
  void UpdateFrames();
  int GetTotalSize();
  // The column of a bar window (nullptr when it is not docked here).
  TkwDockCol* FindCol(const TkwBarControl* Window) const;
  int RowThickness(int Row) const;

  // The core's questions.
  void DockBarWindow(TkwBarWindow* Window, TPoint ScreenPoint) override;
  void UndockBarWindow(TkwBarWindow* Window) override;
  void RefreshFrame() override { UpdateFrames(); }
  void RepaintBackground() override;
  void SetDockSize(int Value) override;

  // Overridables, in slot order.
  void ManagerChanged() override;
  bool CanDock(TkwBar*) override { return AllowDocking; }
  void UpdateColor() override;
  int GetDockSize() const override;
  virtual bool GetSunkenBorder() const;
  // Fills Rect with the dock's background from OriginRect (the dock's bitmap, the manager's, or
  // the painter's).
  virtual void DrawBackground(HDC DC, const TRect& Rect, TColor Color, HBRUSH Brush, const TRect& OriginRect);
  virtual bool HasBackgroundBitmap() const { return !FBackgroundBitmap->Empty(); }
  virtual bool NeedsDoubleBuffer() const;
  virtual void RepaintBars();
  virtual void ResetBackgroundBitmap();
  virtual void UpdateDoubleBuffered() { DoubleBuffered = NeedsDoubleBuffer(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Paint() override;
  void LayoutRows();
  void AdjustSizeToRows();

  // protected messages
  void WMEraseBkgnd(TMessage& Message);
  void WMMouseActivate(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMRButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);

  std::vector<TkwDockRow*> FRows;  // owned
  int FDesignMinimum = 3;

 private:
  void BackgroundChanged(TObject*);
  TBitmap* FBackgroundBitmap;
  TBitmap* FOffscreen;
  bool FLayingOut = false;
};

// The alignment of a published dock site.
enum TkwBarDockAlign { dalNone, dalTop, dalBottom, dalLeft, dalRight };
VELBOR_ENUM(TkwBarDockAlign, "dalNone", "dalTop", "dalBottom", "dalLeft", "dalRight")

class TkwBarDockControl : public TkwDockControl {
  VELBOR_DECLARE_CLASS(TkwBarDockControl, TkwDockControl)
 public:
  explicit TkwBarDockControl(TComponent* AOwner);

  TkwBarDockAlign DockAlign() const { return FDockAlign; }
  void SetDockAlign(TkwBarDockAlign Value);
  bool AllowZeroSizeInDesignTime() const { return FAllowZeroSizeInDesignTime; }
  void SetAllowZeroSizeInDesignTime(bool Value);
  bool SunkenBorder() const { return FSunkenBorder; }
  void SetSunkenBorder(bool Value);
  bool UseOwnColor() const { return FUseOwnColor; }
  void SetUseOwnColor(bool Value);
  bool UseOwnSunkenBorder() const { return FUseOwnSunkenBorder; }
  void SetUseOwnSunkenBorder(bool Value);
  TColor DockColor() const { return Color(); }
  void SetDockColor(TColor Value);
  bool DockParentColor() const { return ParentColor(); }
  void SetDockParentColor(bool Value);
  bool AllowDockingProperty() const { return AllowDocking; }
  void SetAllowDockingProperty(bool Value) { AllowDocking = Value; }
  TkwBarManager* BarManagerProperty() const { return BarManager(); }
  void SetBarManagerProperty(TkwBarManager* Value) { SetBarManager(Value); }

  TkwBarDockingStyle DockingStyle() const override;
  void ManagerChanged() override;
  bool CanDock(TkwBar* Bar) override;
  void UpdateColor() override;
  int GetDockSize() const override;
  bool GetSunkenBorder() const override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;
  void Loaded() override;
  bool StoresColor() const { return FUseOwnColor && !ParentColor(); }

 private:
  TkwBarDockAlign FDockAlign = dalTop;
  bool FAllowZeroSizeInDesignTime = false;
  bool FSunkenBorder = false;
  bool FUseOwnColor = false;
  bool FUseOwnSunkenBorder = false;
};
