// This file implements the lists of the customizing window and the painters of its command rows:
// TCheckListBox (the toolbars, each with a check box showing whether it is visible),
// TCommandsListBox (the commands of a category, drawn as menu entries of the manager's style,
// dragged onto bars) and the painters TkwBarCustomizingFormPainter, ...StandardPainter,
// ...FlatPainter, ...Office11Painter and ...XPPainter.
#pragma once

// The class library's own headers first: <windows.h> defines RegisterClass as a macro.
#include "ListControls.h"
#include "WinApi.h"

class TkwBar;
class TkwBarItem;
class TkwBarManager;

// Draws command rows in the look of a bar style. Stateless: one shared object per class.
class TkwBarCustomizingFormPainter {
 public:
  virtual ~TkwBarCustomizingFormPainter() = default;
  // The small right-pointing triangle of a sub-menu, its tip 3 pixels right of (X, Y + 3).
  virtual void DrawSubMenuArrow(TCanvas* Canvas, int X, int Y) const;
  virtual TColor GetRowColor(bool Selected, TkwBarManager* Manager) const;
  virtual void DrawCommand(TCanvas* Canvas, const TRect& R, bool Selected, const String& Text, TkwBarItem* Item) const;
  virtual void DrawEditCommand(TCanvas* Canvas, const TRect& R, bool Selected, const String& Text,
                               TkwBarItem* Item) const;
  virtual void DrawFocus(TCanvas*, const TRect&, TkwBarItem*) const {}
  virtual TColor GetTextColor(bool Selected) const;

 protected:
  // What a row shows besides its text.
  static bool HasGlyph(TkwBarItem* Item);
  static bool IsDropDownButton(TkwBarItem* Item);
  static bool IsContainer(TkwBarItem* Item);
  static bool IsCombo(TkwBarItem* Item);
  static void DrawGlyph(TCanvas* Canvas, const TRect& Column, TkwBarItem* Item, bool Hot, bool Raise, bool Fade);
};

class TkwBarCustomizingFormStandardPainter : public TkwBarCustomizingFormPainter {
 public:
  void DrawFocus(TCanvas* Canvas, const TRect& R, TkwBarItem* Item) const override;
};

class TkwBarCustomizingFormFlatPainter : public TkwBarCustomizingFormPainter {
 public:
  TColor GetRowColor(bool Selected, TkwBarManager* Manager) const override;
  void DrawCommand(TCanvas* Canvas, const TRect& R, bool Selected, const String& Text, TkwBarItem* Item) const override;
  void DrawEditCommand(TCanvas* Canvas, const TRect& R, bool Selected, const String& Text,
                       TkwBarItem* Item) const override;
  TColor GetTextColor(bool Selected) const override;

 protected:
  // The frame of a selected part (the Office-2003 look frames in its own colour).
  virtual void FrameSelected(HDC DC, const TRect& R) const;
  // The square behind the glyph when the row is not selected.
  virtual void FillGlyphSquare(TCanvas* Canvas, const TRect& Square) const;
};

class TkwBarCustomizingFormOffice11Painter : public TkwBarCustomizingFormFlatPainter {
 public:
  TColor GetRowColor(bool Selected, TkwBarManager* Manager) const override;
  TColor GetTextColor(bool Selected) const override;

 protected:
  void FrameSelected(HDC DC, const TRect& R) const override;
  void FillGlyphSquare(TCanvas* Canvas, const TRect& Square) const override;
};

class TkwBarCustomizingFormXPPainter : public TkwBarCustomizingFormPainter {
 public:
  void DrawCommand(TCanvas* Canvas, const TRect& R, bool Selected, const String& Text, TkwBarItem* Item) const override;
  void DrawFocus(TCanvas* Canvas, const TRect& R, TkwBarItem* Item) const override;
};

// The painter that matches the manager's bar painter.
const TkwBarCustomizingFormPainter* GetCustomizingFormPainter(TkwBarManager* Manager);

// The toolbars, one row per bar (object: the TkwBar), a check box left of each caption. The box
// shows the bar's Visible; it is drawn inactive for a bar that cannot be closed.
class TCheckListBox : public TCustomListBox {
  VELBOR_DECLARE_CLASS(TCheckListBox, TCustomListBox)
 public:
  explicit TCheckListBox(TComponent* AOwner);
  int CheckWidth() const { return FCheckWidth; }
  TkwBar* BarOfRow(int Index) const;
  // Shows or hides the row's bar when it can be closed, else beeps.
  void Toggle(int Index);
  // The square of the row's check box (client coordinates).
  TRect CheckRect(int Index) const;

 protected:
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNDrawItem(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMKeyDown(TMessage& Message);

 private:
  int FCheckWidth = 0;
};

// The commands of a category (object: the TkwBarItem), 22 pixels a row, drawn by the painter of
// the manager's style. A press and a drag beyond the system threshold starts the manager's
// customizing drag of the command.
class TCommandsListBox : public TCustomListBox {
  VELBOR_DECLARE_CLASS(TCommandsListBox, TCustomListBox)
 public:
  explicit TCommandsListBox(TComponent* AOwner);
  TkwBarManager* BarManager = nullptr;  // not owned: the customizing window's manager
  TkwBarItem* ItemOfRow(int Index) const;

 protected:
  void MeasureItem(int Index, int& Height) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNDrawItem(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMMouseActivate(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMRButtonDown(TMessage& Message);
};
