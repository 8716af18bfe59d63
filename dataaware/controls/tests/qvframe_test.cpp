// Tests of the edit frame and button settings: margins and text offsets of each style, copying
// between frames, the frame of a control in a grid, and the borders drawn focused and unfocused.
#include "ControlsTestSupport.h"

#include "Buttons.h"
#include "Grids.h"
#include "Qvdotdot.h"
#include "Qvintl.h"
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

struct TOffsetCase {
  const char* Name;
  TqvEditFocusStyle Style;
  TqvEditFrameEnabledSet Borders;
  int X, Y;
};

class TextOffsetTest : public ::testing::TestWithParam<TOffsetCase> {};

TEST_P(TextOffsetTest, TheTextStartsInsideTheBordersDrawn) {
  const TOffsetCase& C = GetParam();
  TqvEditFrame Frame;
  Frame.SetNonFocusStyle(C.Style);
  Frame.SetNonFocusBorders(C.Borders);
  Frame.FocusStyle = C.Style;
  Frame.SetFocusBorders(C.Borders);
  for (bool Focused : {false, true}) {
    int X = 0, Y = 0;
    Frame.GetTextOffsets(X, Y, Focused);
    EXPECT_EQ(X, C.X) << Focused;
    EXPECT_EQ(Y, C.Y) << Focused;
  }
  // The unfocused offsets are added in both states.
  Frame.NonFocusTextOffsetX = 4;
  Frame.NonFocusTextOffsetY = 1;
  int X = 0, Y = 0;
  Frame.GetTextOffsets(X, Y, true);
  EXPECT_EQ(X, C.X + 4);
  EXPECT_EQ(Y, C.Y + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, TextOffsetTest,
    ::testing::Values(TOffsetCase{"BottomLineOnly", efsFrameBox, {efBottomBorder}, 1, 2},
                      TOffsetCase{"ThinBox", efsFrameBox, qvAllBorders, 2, 2},
                      TOffsetCase{"SunkenBox", efsFrameSunken, qvAllBorders, 3, 3},
                      TOffsetCase{"SunkenWithoutTop", efsFrameSunken, {efLeftBorder, efBottomBorder}, 3, 2}),
    [](const auto& Info) { return Info.param.Name; });

TEST(EditFrame, DefaultsAreADisabledFrameWithABottomLineUnfocused) {
  TqvEditFrame Frame;
  EXPECT_FALSE(Frame.Enabled());
  EXPECT_EQ(Frame.NonFocusBorders(), TqvEditFrameEnabledSet{efBottomBorder});
  EXPECT_EQ(Frame.FocusBorders(), qvAllBorders);
  EXPECT_EQ(Frame.NonFocusColor, clNone);
  EXPECT_EQ(Frame.Control(), nullptr);
  // A set is a DrawEdge flag word as it is.
  EXPECT_EQ(qvAllBorders.Bits(), unsigned(BF_RECT));
  EXPECT_EQ(TqvEditFrameEnabledSet{efBottomBorder}.Bits(), unsigned(BF_BOTTOM));
}

TEST(EditFrame, AssigningFromAnEnabledFrameCopiesEverySetting) {
  TqvEditFrame Source;
  Source.SetEnabled(true);
  Source.FocusStyle = efsFrameEtched;
  Source.SetNonFocusStyle(efsFrameRaised);
  Source.SetNonFocusBorders({efLeftBorder, efBottomBorder});
  Source.NonFocusColor = clYellow;
  Source.NonFocusTextOffsetX = 3;
  Source.MouseEnterSameAsFocus = true;
  TqvEditFrame Target;
  Target.Assign(&Source);
  EXPECT_TRUE(Target.Enabled());
  EXPECT_EQ(Target.FocusStyle, efsFrameEtched);
  EXPECT_EQ(Target.NonFocusStyle(), efsFrameRaised);
  EXPECT_EQ(Target.NonFocusBorders(), (TqvEditFrameEnabledSet{efLeftBorder, efBottomBorder}));
  EXPECT_EQ(Target.NonFocusColor, clYellow);
  EXPECT_EQ(Target.NonFocusTextOffsetX, 3);
  EXPECT_TRUE(Target.MouseEnterSameAsFocus);
  // From a disabled frame only the switches come: the rest stays the receiver's own.
  TqvEditFrame Off;
  Off.FocusStyle = efsFrameBump;
  Target.Assign(&Off);
  EXPECT_FALSE(Target.Enabled());
  EXPECT_EQ(Target.FocusStyle, efsFrameEtched);
}

class FrameControlTest : public ControlsFormTest {};

TEST_F(FrameControlTest, AFrameInAGridIsNotActiveAndLeavesTheCellsMargins) {
  auto* Grid = Add<TStringGrid>(10, 10, 300, 120);
  auto* Edit = Add<TqvDBEdit>(5, 5, 120, 20, Grid);
  Edit->Frame()->SetEnabled(true);
  auto* Outside = Add<TqvDBEdit>(10, 200, 120);
  Outside->Frame()->SetEnabled(true);
  ShowForm();
  EXPECT_FALSE(Edit->Frame()->IsFrameActive());
  EXPECT_TRUE(Outside->Frame()->IsFrameActive());
  RECT Format{};
  SendMessageA(Edit->Handle(), EM_GETRECT, 0, LPARAM(&Format));
  EXPECT_EQ(Format.left, 2);
  EXPECT_EQ(Format.top, 2);
  SendMessageA(Outside->Handle(), EM_GETRECT, 0, LPARAM(&Format));
  EXPECT_EQ(Format.left, 2);
  EXPECT_EQ(Format.top, 2);
  EXPECT_EQ(Format.right, Outside->ClientWidth() - 2);
}

TEST_F(FrameControlTest, ControlsFindTheirSettingsByPropertyName) {
  auto* Edit = Add<TqvDBEdit>(10, 10, 120);
  auto* Combo = Add<TqvDBComboDlg>(10, 40, 120);
  EXPECT_EQ(TqvEditFrame::FromControl(Edit), Edit->Frame());
  EXPECT_EQ(TqvButtonEffects::FromControl(Edit), nullptr);
  EXPECT_EQ(TqvButtonEffects::FromControl(Combo), Combo->ButtonEffects());
  EXPECT_EQ(TqvEditFrame::FromControl(Form.get()), nullptr);
  EXPECT_EQ(Edit->Frame()->Control(), Edit);
  // The controller of the component base makes its settings by class name.
  TqvController Controller(nullptr);
  ASSERT_NE(dynamic_cast<TqvEditFrame*>(Controller.Frame()), nullptr);
  ASSERT_NE(dynamic_cast<TqvButtonEffects*>(Controller.ButtonEffects()), nullptr);
  EXPECT_EQ(static_cast<TqvEditFrame*>(Controller.Frame())->Control(), nullptr);
  // A control naming it takes its frame.
  static_cast<TqvEditFrame*>(Controller.Frame())->SetEnabled(true);
  static_cast<TqvEditFrame*>(Controller.Frame())->FocusStyle = efsFrameSunken;
  Edit->SetController(&Controller);
  EXPECT_TRUE(Edit->Frame()->Enabled());
  EXPECT_EQ(Edit->Frame()->FocusStyle, efsFrameSunken);
  EXPECT_EQ(Controller.ControlList()->IndexOf(Edit), 0);
  Edit->SetController(nullptr);
}

TEST_F(FrameControlTest, TransparentEffectsOnAButtonWithoutThatPropertyOnlyMakeItFlat) {
  auto* Button = Add<TSpeedButton>(10, 10, 23, 22);
  TqvButtonEffects Effects(Form.get(), Button);
  Effects.SetTransparent(true);
  EXPECT_TRUE(Effects.Transparent());
  EXPECT_TRUE(Button->Flat());
  Effects.SetTransparent(false);
  EXPECT_FALSE(Button->Flat());
  Effects.SetFlat(true);
  EXPECT_TRUE(Button->Flat());
}

}  // namespace
