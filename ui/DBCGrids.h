// This file implements the panel grid: TDBCtrlGrid shows PanelCount records of a dataset, one per
// panel. The controls sit on one real panel (TDBCtrlPanel) placed over the current record's
// panel; the other panels are paint-copies of it drawn with their own record's data.
#pragma once

#include "Object.h"

#include "Controls.h"
#include "DataSource.h"

class TDBCtrlGrid;

enum TDBCtrlGridOrientation { goVertical, goHorizontal };
VELBOR_ENUM(TDBCtrlGridOrientation, "goVertical", "goHorizontal")

// What DoKey does: the grid's own keys map onto these.
enum TDBCtrlGridKey {
  gkNull, gkEditMode, gkPriorTab, gkNextTab, gkLeft, gkRight, gkUp, gkDown, gkScrollUp, gkScrollDown,
  gkPageUp, gkPageDown, gkHome, gkEnd, gkInsert, gkAppend, gkDelete, gkCancel
};

using TPaintPanelEvent = TEvent<void(TDBCtrlGrid* DBCtrlGrid, int Index)>;

// The panel that holds the grid's controls; it paints in the grid's SelectedColor while the grid
// has the focus inside it.
class TDBCtrlPanel : public TCustomControl {
  VELBOR_DECLARE_CLASS(TDBCtrlPanel, TCustomControl)
 public:
  // Owned and parented by the grid (AOwner).
  explicit TDBCtrlPanel(TComponent* AOwner);

 protected:
  void Paint() override;
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMEraseBkgnd(TMessage& Message);

 private:
  TDBCtrlGrid* FGrid;
};

class TDBCtrlGridLink;

class TDBCtrlGrid : public TCustomControl {
  VELBOR_DECLARE_CLASS(TDBCtrlGrid, TCustomControl)
  friend class TDBCtrlGridLink;
  friend class TDBCtrlPanel;

 public:
  explicit TDBCtrlGrid(TComponent* AOwner);
  ~TDBCtrlGrid() override;

  // Properties.
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* Value);
  int PanelCount() const { return FPanelCount; }
  void SetPanelCount(int Value);
  int PanelHeight() const { return FPanelHeight; }
  void SetPanelHeight(int Value);
  int PanelWidth() const { return FPanelWidth; }
  void SetPanelWidth(int Value);
  TDBCtrlGridOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TDBCtrlGridOrientation Value);
  TColor SelectedColor() const { return FSelectedColor; }
  void SetSelectedColor(TColor Value);
  bool AllowInsert = true;
  bool AllowDelete = true;
  // The panel of the current record (0 when the dataset is closed).
  int PanelIndex() const;
  // The panel holding the controls: put the controls on it. A description's controls go on it.
  TDBCtrlPanel* Panel() const { return FPanel; }
  TComponent* GetChildParent() override;
  // While OnPaintPanel runs: the canvas of the panel being drawn, origin at its top-left.
  TCanvas* Canvas() const;
  // The bounds of panel Index in the grid's client area.
  TRect PanelBounds(int Index) const;

  // Operations.
  // Runs one grid command (the keys call it; the program may too).
  void DoKey(TDBCtrlGridKey Key);

  TPaintPanelEvent OnPaintPanel;

 protected:
  virtual void PaintPanel(int Index);
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMVScroll(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMGetDataLink(TMessage& Message);

 private:
  TDataSet* DataSet() const;
  void DataChanged();
  void UpdateLayout();
  void UpdateScrollBar();
  void DrawPanelCopy(HDC DC, int Index);
  void ScrollMessage(TMessage& Message);

  TDBCtrlGridLink* FDataLink;
  TDBCtrlPanel* FPanel;
  TCanvas* FPaintCanvas = nullptr;  // the panel canvas while OnPaintPanel runs
  int FPanelCount = 3;
  int FPanelHeight = 72;
  int FPanelWidth = 200;
  TDBCtrlGridOrientation FOrientation = goVertical;
  TColor FSelectedColor = clWindow;
  bool FFocused = false;
};

// Registers the panel grid with the form reader.
void RegisterDBCtrlGrid();
