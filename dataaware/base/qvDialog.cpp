// This file implements the class information of the dialog components' base.
#include "qvDialog.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqvCustomDialog)
