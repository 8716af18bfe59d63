// Tests of the rich-text control's measures (twips to inches and centimetres and back, the rounded
// forms the dialogs show) and of its character and paragraph formatting.
#include <gtest/gtest.h>

#include "FormatSettings.h"

#include "Qvintl.h"
#include "RichTextTestSupport.h"

namespace {

class RichFormatTest : public RichFormTest {
 protected:
  void SetUp() override {
    RichFormTest::SetUp();
    SavedSettings = FormatSettings;
    FormatSettings.DecimalSeparator = '.';
  }
  void TearDown() override {
    FormatSettings = SavedSettings;
    RichFormTest::TearDown();
  }
  TFormatSettings SavedSettings;
};

TEST_F(RichFormatTest, MeasuresConvertInBothUnits) {
  struct TCase {
    TqvMeasurementUnits Units;
    const char* Typed;
    int Twips;
  };
  const TCase Typed[] = {
      {muCentimeters, "2.5", 1418},  {muCentimeters, "1 cm", 567},  {muCentimeters, "2.5 CM", 1418},
      {muInches, "0.5''", 720},      {muInches, "1", 1440},         {muInches, "-0.25 ", -360},
  };
  for (const TCase& C : Typed) {
    Edit->MeasurementUnits = C.Units;
    EXPECT_EQ(Edit->MeasureToTwips(C.Typed), C.Twips) << C.Typed;
  }
  Edit->MeasurementUnits = muInches;
  EXPECT_DOUBLE_EQ(Edit->TwipsToMeasure(720), 0.5);
  EXPECT_EQ(Edit->FormatMeasure(0.5), "0.5''");
  Edit->MeasurementUnits = muCentimeters;
  EXPECT_DOUBLE_EQ(Edit->TwipsToMeasure(720), 1.27);
  EXPECT_EQ(Edit->FormatMeasure(1.27), "1.27 cm");
  EXPECT_THROW(Edit->MeasureToTwips("deux"), EConvertError);
}

TEST_F(RichFormatTest, RoundedMeasuresGoToTheStepAtOrBelow) {
  struct TCase {
    TqvMeasurementUnits Units;
    int Steps;
    double Value;
    const char* Shown;
  };
  const TCase Cases[] = {
      {muInches, 8, 0.3, "0.375''"},  {muInches, 8, 0.25, "0.25''"},  {muInches, 0, 0.3, "0.375''"},
      {muInches, 100, 0.123, "0.12''"}, {muInches, 100, 0.124, "0.13''"}, {muCentimeters, 0, 1.27, "1.3 cm"}, {muInches, 8, -0.3, "-0.375''"},
  };
  for (const TCase& C : Cases) {
    Edit->MeasurementUnits = C.Units;
    EXPECT_EQ(Edit->FormatMeasureRounded(C.Steps, C.Value), C.Shown) << C.Value << " in steps of " << C.Steps;
  }
}

TEST_F(RichFormatTest, AStyleIsSetOrClearedAsAsked) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi {\\b gras} maigre\\par}");
  struct TCase {
    const char* Name;
    int Start;
    int Effect;
    bool On;
    TFontStyle Style;
    bool Expected;
  };
  // A selection that is bold stays bold when bold is asked for, and a plain one stays plain when
  // it is cleared: the request is what counts, not what the selection had.
  const TCase Cases[] = {
      {"bold kept", 0, 0, true, fsBold, true},          {"bold cleared", 0, 0, false, fsBold, false},
      {"plain stays plain", 5, 0, false, fsBold, false}, {"plain made bold", 5, 0, true, fsBold, true},
      {"italic", 5, 1, true, fsItalic, true},            {"underline", 5, 2, true, fsUnderline, true},
      {"strikeout", 5, 3, true, fsStrikeOut, true},      {"strikeout cleared", 5, 3, false, fsStrikeOut, false},
  };
  for (const TCase& C : Cases) {
    SelectRange(Edit, C.Start, 4);
    Edit->ToggleSelEffect(C.Effect, C.On);
    SelectRange(Edit, C.Start, 4);
    EXPECT_EQ(Edit->SelAttributes()->Style().Contains(C.Style), C.Expected) << C.Name;
  }
}

TEST_F(RichFormatTest, SetSelFontAppliesFaceSizeColourAndStyle) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi texte\\par}");
  SelectRange(Edit, 0, 5);
  Edit->SetSelFont("Arial", 14, clRed, TFontStyles{fsItalic});
  SelectRange(Edit, 0, 5);
  EXPECT_EQ(Edit->SelAttributes()->Name(), "Arial");
  EXPECT_EQ(Edit->GetSelSizeTwips(), 280);
  EXPECT_EQ(Edit->SelAttributes()->Color(), TColor(RGB(255, 0, 0)));
  EXPECT_TRUE(Edit->SelAttributes()->Style().Contains(fsItalic));
  // clNone leaves the colour alone.
  Edit->SetSelFont("Arial", 10, clNone, TFontStyles{});
  SelectRange(Edit, 0, 5);
  EXPECT_EQ(Edit->SelAttributes()->Color(), TColor(RGB(255, 0, 0)));
}

// The alignment goes by value: interface texts that read alike (or that change while the dialog is
// up) cannot choose another.
TEST_F(RichFormatTest, AlignmentIsChosenByValue) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi ligne\\par}");
  TqvRichEditParagraphDlg* Texts = qvIntl->RichEdit()->ParagraphDialog();
  String SavedLeft = Texts->AlignLeft, SavedRight = Texts->AlignRight;
  Texts->AlignLeft = "Aligner";
  Texts->AlignRight = "Aligner";
  for (TqvParaAlignment A : {qpaRight, qpaCenter, qpaJustify, qpaLeft}) {
    Edit->SetParaFormat(1, A, false, 0, 0, 0, 0, nullptr, 0, 0, 0, 0);
    EXPECT_EQ(Edit->GetParaAlignment(), A);
  }
  Texts->AlignLeft = SavedLeft;
  Texts->AlignRight = SavedRight;
}

TEST_F(RichFormatTest, ParagraphFormatTakesOnlyWhatItsMaskSays) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi premier\\par second\\par}");
  SelectRange(Edit, 0, 3);
  int Tabs[40];
  for (int i = 0; i < 40; ++i) Tabs[i] = 360 * (i + 1);
  Edit->SetParaFormat(32, qpaLeft, false, 0, 0, 0, 40, Tabs, 0, 0, 0, 0);
  PARAFORMAT2 Format;
  Edit->GetParaFormat(Format);
  ASSERT_EQ(Format.cTabCount, 32) << "a list of 40 stops keeps its first 32";
  EXPECT_EQ(Format.rgxTabs[31] & 0xFFFFFF, 360 * 32);
  // Indents only (mask 20): start 720, offset 360; the tabs stay.
  Edit->SetParaFormat(20, qpaCenter, false, 360, 0, 720, 0, nullptr, 0, 0, 0, 0);
  int Offset, Right, Start;
  Edit->GetParaIndents(Offset, Right, Start);
  EXPECT_EQ(Offset, 360);
  EXPECT_EQ(Start, 720);
  EXPECT_EQ(Edit->GetParaAlignment(), qpaLeft);
  Edit->GetParaFormat(Format);
  EXPECT_EQ(Format.cTabCount, 32);
  // Spacing: 1.5 lines is the multiple rule at 30 twentieths.
  Edit->SetParaFormat(477, qpaLeft, false, 0, 0, 0, 0, nullptr, 120, 240, 0, 1);
  Edit->GetParaFormat(Format);
  EXPECT_EQ(Format.dySpaceBefore, 120);
  EXPECT_EQ(Format.dySpaceAfter, 240);
  EXPECT_EQ(Format.bLineSpacingRule, 5);
  EXPECT_EQ(Format.dyLineSpacing, 30);
  // The other paragraph kept its own format.
  SelectRange(Edit, 9, 0);
  Edit->GetParaFormat(Format);
  EXPECT_EQ(Format.cTabCount, 0);
}

TEST_F(RichFormatTest, BulletsGoOnAndOff) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi point\\par}");
  Edit->SetBullet(true);
  EXPECT_EQ(Edit->Paragraph()->Numbering(), nsBullet);
  int Offset, Right, Start;
  Edit->GetParaIndents(Offset, Right, Start);
  EXPECT_EQ(Offset, 720);
  Edit->SetBullet(false);
  EXPECT_EQ(Edit->Paragraph()->Numbering(), nsNone);
}

TEST_F(RichFormatTest, TheHighlightIsPaintedAndCleared) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi surlign\\'e9 ici\\par}");
  SelectRange(Edit, 0, 8);
  Edit->SetSelBackColor(Edit->HighlightColor);
  EXPECT_EQ(Edit->SelLength(), 0) << "the selection collapses";
  SelectRange(Edit, 0, 8);
  EXPECT_EQ(ColorToRGB(Edit->GetSelBackColor()), COLORREF(RGB(255, 255, 0)));
  SelectRange(Edit, 0, 8);
  Edit->SetSelBackColor(TColor(-1));
  SelectRange(Edit, 0, 8);
  EXPECT_EQ(ColorToRGB(Edit->GetSelBackColor()), ColorToRGB(Edit->Color()));

  EXPECT_EQ(WindowText(Edit), "surligné ici"_a);
}

// Clearing removes the highlight control words only: a text that spells one stays.
TEST_F(RichFormatTest, ClearingHighlightsKeepsTheText) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi{\\colortbl;\\red255\\green255\\blue0;}\\highlight1 jaune \\\\highlight1\\highlight0  fin\\par}");
  ASSERT_EQ(WindowText(Edit), "jaune \\highlight1 fin");
  SelectRange(Edit, 0, 6);
  ASSERT_EQ(ColorToRGB(Edit->GetSelBackColor()), COLORREF(RGB(255, 255, 0)));
  Edit->SelectAll();
  Edit->ClearHighlights();
  EXPECT_EQ(WindowText(Edit), "jaune \\highlight1 fin");
  SelectRange(Edit, 0, 6);
  EXPECT_EQ(ColorToRGB(Edit->GetSelBackColor()), ColorToRGB(Edit->Color()));
}

}  // namespace
