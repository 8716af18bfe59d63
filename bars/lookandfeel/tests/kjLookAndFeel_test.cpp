// Tests of the look-and-feel settings.
#include <gtest/gtest.h>

#include "kjLookAndFeel.h"

TEST(LookAndFeelRoot, StartsUltraFlatWithoutNativeStyle) {
  ASSERT_NE(RootLookAndFeel(), nullptr);
  EXPECT_EQ(RootLookAndFeel()->Kind(), lfUltraFlat);
}
