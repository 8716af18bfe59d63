// This file declares the enumerations and sets of the bar library and the names of its classes,
// shared by the bar manager, the bars and links, the bar windows and the items.
#pragma once

#include "TypInfo.h"

class TkwBarManager;
class TkwBar;
class TkwBars;
class TkwBarItem;
class TkwBarItemLink;
class TkwBarItemLinks;
class TkwBarItemControl;
class TkwBarWindow;
class TkwDockSite;
class TkwBarPainter;

enum TkwBarItemVisible { ivNever, ivInCustomizing, ivAlways };
VELBOR_ENUM(TkwBarItemVisible, "ivNever", "ivInCustomizing", "ivAlways")

enum TkwBarDockingStyle { dsNone, dsLeft, dsTop, dsRight, dsBottom };
VELBOR_ENUM(TkwBarDockingStyle, "dsNone", "dsLeft", "dsTop", "dsRight", "dsBottom")
using TkwBarDockingStyles = TSet<TkwBarDockingStyle>;

enum TkwBarManagerStyle { bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11, bmsUseLookAndFeel };
VELBOR_ENUM(TkwBarManagerStyle, "bmsStandard", "bmsEnhanced", "bmsFlat", "bmsXP", "bmsOffice11",
            "bmsUseLookAndFeel")

enum TkwBarPaintStyle { psStandard, psCaption, psCaptionInMenu, psCaptionGlyph };
VELBOR_ENUM(TkwBarPaintStyle, "psStandard", "psCaption", "psCaptionInMenu", "psCaptionGlyph")

enum TkwBarMenuAnimations { maNone, maRandom, maUnfold, maSlide, maFade };
VELBOR_ENUM(TkwBarMenuAnimations, "maNone", "maRandom", "maUnfold", "maSlide", "maFade")

enum TkwBarBorderStyle { bbsNone, bbsSingle };
VELBOR_ENUM(TkwBarBorderStyle, "bbsNone", "bbsSingle")

enum TkwBarUserDefine { udCaption, udGlyph, udPaintStyle, udWidth };
VELBOR_ENUM(TkwBarUserDefine, "udCaption", "udGlyph", "udPaintStyle", "udWidth")
using TkwBarUserDefines = TSet<TkwBarUserDefine>;

enum TkwBarItemAlign { iaLeft, iaCenter, iaRight, iaClient };
VELBOR_ENUM(TkwBarItemAlign, "iaLeft", "iaCenter", "iaRight", "iaClient")

// The message a docked toolbar window takes to re-lay out (posted after recently used data
// changed), and the one that tells a bar window its bar's font or rotation changed.
inline constexpr unsigned WM_KWBARRELAYOUT = 0x0400 + 1;  // WM_USER + 1
inline constexpr unsigned CM_KWBARFONTCHANGED = 0xB00E;
// Told to the window that holds the mouse capture when a popup menu opens (it ends what it
// tracks).
inline constexpr unsigned CM_KWBARCANCELCAPTURE = 0xB004;

// The states of an item cell, as the item controls compute them.
enum TkwCellState {
  cstSplit,            // a button with a separate drop-down part
  cstOpensMenu,        // a drop-down button or a sub-item
  cstPressed,          // drawn pressed: the mouse is held over it, or its click runs
  cstDown,             // checked, or its menu is open (drawn joined to it)
  cstSelected,         // the window's selection: the hot look
  cstNoGlyph,          // caption only
  cstPlainBackground,  // keeps the window's background in a menu too
  cstKeepSize,         // the cell keeps its own size
  cstGrayed            // the glyph in gray scale
};
using TkwCellStates = TSet<TkwCellState>;
