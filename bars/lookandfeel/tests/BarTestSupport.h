// This file implements what the tests of the look-and-feel and bar manager core share: small
// stand-ins for the bar windows, dock sites, items and item controls that the bar windows and bar
// items libraries provide (a tool bar that lays its links out left to right and writes their
// captions, an edge dock site that stacks its bars, a clickable item, a sub-item with links), a
// form with a manager, and screenshots saved as PNG files beside the test program.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "UiTestSupport.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarWindow.h"
#include "kwBars.h"
#include "kwDockSite.h"
#include "kwThemes.h"

// A clickable item: counts its clicks.
class TTestBarButton : public TkwBarItem {
  VELBOR_DECLARE_CLASS(TTestBarButton, TkwBarItem)
 public:
  explicit TTestBarButton(TComponent* AOwner) : TkwBarItem(AOwner) {}
  int Clicks = 0;

 protected:
  void DoClick() override;
};

// A sub-item: an item with links of its own.
class TTestSubItem : public TkwBarItem {
  VELBOR_DECLARE_CLASS(TTestSubItem, TkwBarItem)
 public:
  explicit TTestSubItem(TComponent* AOwner);
  ~TTestSubItem() override;
  TkwBarItemLinks* ItemLinks() const { return FLinks; }
  void SetItemLinks(TkwBarItemLinks* Value) { FLinks->Assign(Value); }
  TkwBarItemLinks* GetSubItemLinks() const override { return FLinks; }
  bool IsClickable() const override { return false; }

 private:
  TkwBarItemLinks* FLinks;
};

// The view of a link: as wide as its caption and a margin.
class TTestItemControl : public TkwBarItemControl {
  VELBOR_DECLARE_CLASS(TTestItemControl, TkwBarItemControl)
 public:
  explicit TTestItemControl(TkwBarItemLink* ALink) : TkwBarItemControl(ALink) {}
  int CalcWidth() override;
  int CalcHeight() override { return 20; }
};

// An edge dock site: aligned to its edge, it stacks its bars one per row.
class TTestDockSite : public TkwDockSite {
  VELBOR_DECLARE_CLASS(TTestDockSite, TkwDockSite)
 public:
  TTestDockSite(TkwBarManager* Manager, TkwBarDockingStyle Style);
  ~TTestDockSite() override;
  void DockBarWindow(TkwBarWindow* Window, TPoint ScreenPoint) override;
  void UndockBarWindow(TkwBarWindow* Window) override;
  void UpdateLayout() override;
  void SetDockSize(int Value) override;
  int WindowCount() const { return int(FWindows.size()); }
  // The sizes the site was given while its manager was being read, first to last.
  std::vector<int> SizesGivenWhileLoading;

 protected:
  void Paint() override;

 private:
  std::vector<TkwBarWindow*> FWindows;
};

// A tool bar: a grip (the first kGripWidth pixels: pressing it drags the bar), then the shown
// links left to right, each its caption's width; the selection highlighted. Docked it is a child
// of its dock site, floating a small window of its own owned by the form. In menu mode the arrows
// move the selection, Return or an accelerator clicks, Escape leaves.
class TTestBarWindow : public TkwBarWindow {
  VELBOR_DECLARE_CLASS(TTestBarWindow, TkwBarWindow)
 public:
  static constexpr int kGripWidth = 8;
  explicit TTestBarWindow(TkwBar* ABar);
  ~TTestBarWindow() override;
  bool IsSubMenu() const override { return false; }
  TkwBar* Bar() const override { return FBar; }
  void RepaintBar() override;
  void StorePositionInBar() override;
  void RefreshMetrics() override { ++MetricsRefreshes; }
  void SetDockingStyle(TkwBarDockingStyle Value) override;
  TSize CalcFloatingSize() override;
  void BeginMenuMode(TkwBarItemControl* Control) override;
  void SetActive(bool Value) override;
  void SetMoving(bool Value) override { Moving = Value; }
  int RebuildCount = 0;
  int RelayoutMessages = 0;
  int MetricsRefreshes = 0;
  int MenuModeEntries = 0;
  bool Moving = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  TkwBar* FBar;
};

// A menu window: a column of its links, a popup window owned by the form. The arrows move the
// selection, Return, an accelerator or a click clicks, Escape closes; closed, it tells its popup
// request and frees itself once the message is over.
class TTestMenuWindow : public TkwBarWindow {
  VELBOR_DECLARE_CLASS(TTestMenuWindow, TkwBarWindow)
 public:
  TTestMenuWindow(TkwBarManager* Manager, TkwBarItemLinks* Links);
  ~TTestMenuWindow() override;
  bool IsSubMenu() const override { return true; }
  void RepaintBar() override;
  void HideAll() override;
  // The screen point of the middle of a link's row.
  TPoint LinkCentre(int ShownIndex);
  static int Live;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  bool FClosing = false;
};

// Moves the selection of a window in menu mode by the arrows, clicks the selection (Return) or the
// link of an accelerator; true when the key was one of these.
bool TestMenuKey(TkwBarWindow* Window, WORD Key);

// Registers the stand-ins: the item classes with their control, the windows and dock sites.
void InstallTestBarClasses();
// Forgets the window and dock-site makers (a manager made then has no edge dock sites).
void RemoveTestBarWindows();

// A form with a bar manager, shown and active, freed at the end of the test.
class BarFormTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override;
  void TearDown() override;
  void ShowForm();
  // A docked main-menu bar on the top edge, or a tool bar.
  TkwBar* AddBar(const String& Caption, bool MainMenu);
  TTestBarButton* AddButton(const String& Caption);
  TkwBarItemLink* Link(TkwBar* Bar, TkwBarItem* Item, bool BeginGroup = false);
  TTestBarWindow* WindowOf(TkwBar* Bar);
  TFormPtr<TForm> Form;
  TkwBarManager* Manager = nullptr;
};

// Stands in for the visual style of the given theme file and colour name, active or switched off
// (the classic look): the theme entry points answer as such a style would (OpenThemeData hands
// out fake handles; colours and sizes are refused) until the object goes. A theme change is
// announced both times, so that the theme state and its listeners follow.
class TFakeVisualStyle {
 public:
  TFakeVisualStyle(const char16_t* FileName, const char16_t* ColorName, bool Active = true);
  ~TFakeVisualStyle();
  TFakeVisualStyle(const TFakeVisualStyle&) = delete;
  TFakeVisualStyle& operator=(const TFakeVisualStyle&) = delete;
  static int OpenCount;
  static int CloseCount;

 private:
  TkwThemeBinding FSaved;
};
// Announces a theme change to the library as the system does.
void SendThemeChanged();

// Sets system colours for the test and puts the previous ones back when it goes, whatever way the
// test ends.
class TSystemColors {
 public:
  explicit TSystemColors(const std::map<int, COLORREF>& Colors);
  ~TSystemColors();
  TSystemColors(const TSystemColors&) = delete;
  TSystemColors& operator=(const TSystemColors&) = delete;

 private:
  std::vector<int> FIndexes;
  std::vector<COLORREF> FSaved;
};

// Saves what a window shows now (its whole window, frame included) as NAME.png in the folder
// "screenshots" beside the test program.
void SaveScreenshot(HWND Window, const String& Name);
// The same for a picture in memory.
void SaveBitmapPng(TBitmap* Bitmap, const String& Name);
// The colour of a pixel of a window as it shows on screen (window coordinates, frame included).
COLORREF WindowPixel(HWND Window, int X, int Y);
// Paints the window and its frame now.
void RedrawNow(HWND Window);
