// This file implements what installs the bar items into the bar library: the registration of the
// built-in and extended item classes with the item controls that show them (and with the form
// reader), the shared resources of the extended items, and the records of the items' resource
// strings.
#pragma once

#include "kjBase.h"
#include "kwItemStrings.h"

inline constexpr TResStringRec kwSAutomaticColor{KW_IDS_AUTOMATIC_COLOR};
inline constexpr TResStringRec kwSCustomColor{KW_IDS_CUSTOM_COLOR};
inline constexpr TResStringRec kwSToday{KW_IDS_TODAY};
inline constexpr TResStringRec kwSClear{KW_IDS_CLEAR};
inline constexpr TResStringRec kwSSelectDate{KW_IDS_SELECT_DATE};
inline constexpr TResStringRec kwSOK{KW_IDS_OK};
inline constexpr TResStringRec kwSCancel{KW_IDS_CANCEL};
inline constexpr TResStringRec kwSSelectItem{KW_IDS_SELECT_ITEM};
inline constexpr TResStringRec kwSPlaceFor{KW_IDS_PLACE_FOR};
inline constexpr TResStringRec kwSSameControl{KW_IDS_SAME_CONTROL};

class TColorDialog;
class TFontDialog;

// Registers every item class of the library with its control class, and the bar windows library
// (RegisterBarWindowClasses), and loads what the extended items share. Call once before the first
// form with bar items is read; later calls do nothing.
void RegisterBarItems();
// Undoes RegisterBarItems: the item classes unregistered, last first, and the shared dialogs and
// font marks freed. RegisterBarItems may be called again afterwards.
void UnregisterBarItems();
// The one colour dialog and the one font dialog that every colour and font-name combo opens, so
// that what a user set in one (custom colours) is there in the next. Made on first use when the
// items are not registered.
TColorDialog* BarItemsColorDialog();
TFontDialog* BarItemsFontDialog();
