// This file implements TqvDataSource, the data-aware library's own data source: nothing of its
// own, it marks a data source as the library's.
#pragma once

#include "DataSource.h"

class TqvDataSource : public TDataSource {
  VELBOR_DECLARE_CLASS(TqvDataSource, TDataSource)
 public:
  explicit TqvDataSource(TComponent* AOwner) : TDataSource(AOwner) {}
};
