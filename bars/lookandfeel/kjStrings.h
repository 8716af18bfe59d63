// This file declares the identifiers of the resource strings of the look-and-feel and bar
// libraries; the texts are in bars_lookandfeel.rc. Read by the resource compiler and by C++.
#pragma once

#define KJ_IDS_DEFAULT_CATEGORY 24000
#define KJ_IDS_CUSTOMIZE 24001
#define KJ_IDS_MANAGER_BAD_OWNER 24002
#define KJ_IDS_MANAGER_SECOND 24003
#define KJ_IDS_RECURSIVE_SUBITEMS 24004
#define KJ_IDS_RESET_BAR 24005
#define KJ_IDS_RESET_USAGE 24006
#define KJ_IDS_NO_MANAGERS 24007
#define KJ_IDS_RECURSIVE_GROUPS 24008
