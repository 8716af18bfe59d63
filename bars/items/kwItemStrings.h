// This file declares the identifiers of the resource strings of the bar items; the texts are in
// bars_items.rc. Read by the resource compiler and by C++.
#pragma once

#define KW_IDS_AUTOMATIC_COLOR 24100
#define KW_IDS_CUSTOM_COLOR 24101
#define KW_IDS_COLOR_BLACK 24102
#define KW_IDS_COLOR_MAROON 24103
#define KW_IDS_COLOR_GREEN 24104
#define KW_IDS_COLOR_OLIVE 24105
#define KW_IDS_COLOR_NAVY 24106
#define KW_IDS_COLOR_PURPLE 24107
#define KW_IDS_COLOR_TEAL 24108
#define KW_IDS_COLOR_GRAY 24109
#define KW_IDS_COLOR_SILVER 24110
#define KW_IDS_COLOR_RED 24111
#define KW_IDS_COLOR_LIME 24112
#define KW_IDS_COLOR_YELLOW 24113
#define KW_IDS_COLOR_BLUE 24114
#define KW_IDS_COLOR_FUCHSIA 24115
#define KW_IDS_COLOR_AQUA 24116
#define KW_IDS_COLOR_WHITE 24117
#define KW_IDS_TODAY 24118
#define KW_IDS_CLEAR 24119
#define KW_IDS_SELECT_DATE 24120
#define KW_IDS_OK 24121
#define KW_IDS_CANCEL 24122
