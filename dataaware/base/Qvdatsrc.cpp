// This file implements the class information of the library's data source.
#include "Qvdatsrc.h"

VELBOR_IMPLEMENT_CLASS(TqvDataSource)
