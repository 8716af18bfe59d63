// Tests of the edit frame and button settings: margins and text offsets of each style, copying
// between frames, the frame of a control in a grid, and the borders drawn focused and unfocused.
#include <gtest/gtest.h>

#include "qvframe.h"

namespace {

struct TRectCase {
  const char* Name;
  TqvEditFocusStyle Style;
  TqvEditFrameEnabledSet Borders;
  TRect Expected;  // from (0, 0, 100, 20)
};

class EditRectTest : public ::testing::TestWithParam<TRectCase> {};

TEST_P(EditRectTest, MarginsFollowTheFocusStyleAndBorders) {
  const TRectCase& C = GetParam();
  TqvEditFrame Frame;
  Frame.FocusStyle = C.Style;
  Frame.SetFocusBorders(C.Borders);
  TRect R(0, 0, 100, 20);
  Frame.AdjustEditRect(R);
  EXPECT_EQ(R, C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, EditRectTest,
    ::testing::Values(TRectCase{"BoxAllBorders", efsFrameBox, qvAllBorders, TRect(2, 2, 99, 20)},
                      TRectCase{"BoxNoRight", efsFrameBox, {efLeftBorder, efTopBorder}, TRect(2, 2, 100, 20)},
                      TRectCase{"SingleAllBorders", efsFrameSingle, qvAllBorders, TRect(2, 2, 100, 20)},
                      TRectCase{"Sunken", efsFrameSunken, qvAllBorders, TRect(3, 3, 98, 20)},
                      TRectCase{"Bump", efsFrameBump, qvAllBorders, TRect(3, 3, 98, 20)},
                      TRectCase{"Raised", efsFrameRaised, qvAllBorders, TRect(2, 3, 98, 20)},
                      TRectCase{"Etched", efsFrameEtched, qvAllBorders, TRect(2, 3, 98, 20)},
                      TRectCase{"SunkenNoLeft", efsFrameSunken, {efTopBorder, efBottomBorder}, TRect(1, 3, 98, 20)}),
    [](const auto& Info) { return Info.param.Name; });

}  // namespace
