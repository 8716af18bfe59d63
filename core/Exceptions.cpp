// This file implements the helpers of the exception family.
#include "Exceptions.h"

void Abort() { throw EAbort(); }
