// Tests of the paragraph and tab-stop dialogs, answered by the keyboard and the mouse: the
// measures they show and take, an empty field, a first line left of the margin, a field that holds
// no measure, the line spacing entries, and tab stops set, cleared and refused.
#include <gtest/gtest.h>

#include "FormatSettings.h"

#include "Qvintl.h"
#include "RichTextTestSupport.h"
#include "qvRichDialogs.h"

namespace {

class RichDialogTest : public RichFormTest {
 protected:
  void SetUp() override {
    RichFormTest::SetUp();
    ShowForm();
    LoadRich(Edit, "{\\rtf1\\ansi premier paragraphe\\par second\\par}");
    SelectRange(Edit, 0, 0);
  }
  // Runs Work inside the dialog of class T once it shows; a dialog Work left open is cancelled,
  // so that the test fails instead of waiting.
  template <class T, class F>
  void WhenShown(F Work) {
    Later([this, Work] {
      T* Dialog = FindForm<T>();
      ASSERT_NE(Dialog, nullptr);
      Activate(Dialog);
      Work(Dialog);
      if (Dialog->ModalResult() == mrNone && Dialog->Visible()) Opened = true;
    });
  }
  int Indent(int Which) {
    int Indents[3];
    Edit->GetParaIndents(Indents[0], Indents[1], Indents[2]);
    return Indents[Which];
  }
  bool Opened = false;
};

enum { kOffset, kRight, kStart };

TEST_F(RichDialogTest, TheParagraphDialogShowsAndAppliesTheParagraphsFormat) {
  Edit->SetParaFormat(20 | 8, qpaLeft, false, 360, 720, 1440, 0, nullptr, 0, 0, 0, 0);
  String Left, FirstLine, Right, Alignment;
  WhenShown<TqvRichParagraphDialog>([&](TqvRichParagraphDialog* D) {
    Left = D->LeftEdit->Text();
    FirstLine = D->FirstLineEdit->Text();
    Right = D->RightEdit->Text();
    Alignment = D->AlignmentCombo->Text();
    SaveScreenshot(D->Handle(), "paragraph-dialog");
    RetypeInto(D->LeftEdit, "1");
    RetypeInto(D->FirstLineEdit, "-0,5");
    RetypeInto(D->RightEdit, "0,25");
    RetypeInto(D->BeforeParagraphEdit, "0,1");
    ClickControl(D->AlignmentCombo);
    Press(VK_DOWN);
    Press(VK_RETURN);
    Press(VK_RETURN);
  });
  EXPECT_TRUE(Edit->ShowParagraphDialog());
  EXPECT_FALSE(Opened);
  // 1440 + 360 twips is 1.25 inch, shown in eighths; the first line 360 twips back.
  EXPECT_EQ(Left, "1,25''");
  EXPECT_EQ(FirstLine, "-0,25''");
  EXPECT_EQ(Right, "0,5''");
  EXPECT_EQ(Alignment, qvIntl->RichEdit()->ParagraphDialog()->AlignLeft);
  EXPECT_EQ(Indent(kStart), 720);
  EXPECT_EQ(Indent(kOffset), 720);
  EXPECT_EQ(Indent(kRight), 360);
  PARAFORMAT2 Format;
  Edit->GetParaFormat(Format);
  EXPECT_EQ(Format.dySpaceBefore, 144);
  EXPECT_EQ(Edit->GetParaAlignment(), qpaCenter);
}

TEST_F(RichDialogTest, EmptyFieldsCountAsNothing) {
  Edit->SetParaFormat(20, qpaLeft, false, 360, 0, 1440, 0, nullptr, 0, 0, 0, 0);
  WhenShown<TqvRichParagraphDialog>([&](TqvRichParagraphDialog* D) {
    RetypeInto(D->LeftEdit, "");
    RetypeInto(D->FirstLineEdit, "");
    RetypeInto(D->BeforeParagraphEdit, "");
    ClickControl(D->OKBtn);
  });
  EXPECT_TRUE(Edit->ShowParagraphDialog());
  EXPECT_FALSE(Opened);
  EXPECT_EQ(Indent(kStart), 0);
  EXPECT_EQ(Indent(kOffset), 0);
}

// A first line further back than the left indent would start left of the margin: it starts at
// the margin, and the paragraph's other lines stay at the left indent.
TEST_F(RichDialogTest, TheFirstLineStopsAtTheMargin) {
  WhenShown<TqvRichParagraphDialog>([&](TqvRichParagraphDialog* D) {
    RetypeInto(D->LeftEdit, "0,5");
    RetypeInto(D->FirstLineEdit, "-1");
    ClickControl(D->OKBtn);
  });
  EXPECT_TRUE(Edit->ShowParagraphDialog());
  EXPECT_EQ(Indent(kStart), 0);
  EXPECT_EQ(Indent(kOffset), 720);
}

TEST_F(RichDialogTest, AFieldWithoutAMeasureKeepsTheDialogOpen) {
  bool StayedOpen = false, FocusOnIt = false;
  WhenShown<TqvRichParagraphDialog>([&](TqvRichParagraphDialog* D) {
    RetypeInto(D->RightEdit, "loin");
    ClickControl(D->OKBtn);
    StayedOpen = D->Visible() && D->ModalResult() == mrNone;
    FocusOnIt = D->RightEdit->Focused();
    RetypeInto(D->RightEdit, "30");  // beyond 22 inches
    ClickControl(D->OKBtn);
    StayedOpen = StayedOpen && D->Visible() && D->ModalResult() == mrNone;
    RetypeInto(D->RightEdit, "1");
    ClickControl(D->OKBtn);
  });
  EXPECT_TRUE(Edit->ShowParagraphDialog());
  EXPECT_TRUE(StayedOpen);
  EXPECT_TRUE(FocusOnIt);
  EXPECT_EQ(Indent(kRight), 1440);
}

TEST_F(RichDialogTest, LineSpacingEntriesGiveTheirValue) {
  String Exactly, Multiple;
  WhenShown<TqvRichParagraphDialog>([&](TqvRichParagraphDialog* D) {
    ClickControl(D->LineSpacingComboBox);
    for (int i = 0; i < 4; ++i) Press(VK_DOWN);
    Exactly = D->WithinParagraphEdit->Text();
    Press(VK_DOWN);
    Multiple = D->WithinParagraphEdit->Text();
    Press(VK_RETURN);
    RetypeInto(D->WithinParagraphEdit, "2");
    ClickControl(D->OKBtn);
  });
  EXPECT_TRUE(Edit->ShowParagraphDialog());
  EXPECT_EQ(Exactly, "0,16''");
  EXPECT_EQ(Multiple, "1");
  PARAFORMAT2 Format;
  Edit->GetParaFormat(Format);
  EXPECT_EQ(Format.bLineSpacingRule, 5);
  EXPECT_EQ(Format.dyLineSpacing, 40);
}

TEST_F(RichDialogTest, CancelChangesNothing) {
  WhenShown<TqvRichParagraphDialog>([&](TqvRichParagraphDialog* D) {
    RetypeInto(D->LeftEdit, "2");
    Press(VK_ESCAPE);
  });
  EXPECT_FALSE(Edit->ShowParagraphDialog());
  EXPECT_EQ(Indent(kStart), 0);
}

// --- Tab stops --------------------------------------------------------------------------------

TEST_F(RichDialogTest, TabStopsAreTypedInAnyOrderAndKeptSorted) {
  std::vector<String> Listed;
  WhenShown<TqvRichTabDialog>([&](TqvRichTabDialog* D) {
    ClickControl(D->Edit1);
    for (const char* Position : {"2", "0,5", "1", "1"}) {
      TypeText(Position);
      Press(VK_RETURN);
    }
    for (int i = 0; i < D->ListBox1->Items()->Count(); ++i) Listed.push_back(D->ListBox1->Items()->Strings(i));
    SaveScreenshot(D->Handle(), "tab-dialog");
    ClickControl(D->OKButton);
  });
  EXPECT_TRUE(Edit->ShowTabsDialog());
  EXPECT_EQ(Listed, (std::vector<String>{"0,5''", "1''", "2''"}));
  PARAFORMAT2 Format;
  Edit->GetParaFormat(Format);
  ASSERT_EQ(Format.cTabCount, 3);
  EXPECT_EQ(Format.rgxTabs[0], 720);
  EXPECT_EQ(Format.rgxTabs[1], 1440);
  EXPECT_EQ(Format.rgxTabs[2], 2880);
}

// A negative position is no tab stop: the dialog says so and stays open, whether the position was
// set with the button or left pending at OK.
TEST_F(RichDialogTest, ANegativeTabStopIsRefusedAloud) {
  int Refusals = 0;
  bool StayedOpen = false;
  WhenShown<TqvRichTabDialog>([&](TqvRichTabDialog* D) {
    Script.Push(mrOk);
    Script.Push(mrOk);
    ClickControl(D->Edit1);
    TypeText("-1");
    ClickControl(D->Button1);
    ClickControl(D->OKButton);
    StayedOpen = D->Visible() && D->ModalResult() == mrNone && D->ListBox1->Items()->Count() == 0;
    for (const TModalQuestion& Q : Script.Asked) Refusals += Q.Text.find("-1") != String::npos;
    RetypeInto(D->Edit1, "1,5");
    ClickControl(D->OKButton);
  });
  EXPECT_TRUE(Edit->ShowTabsDialog());
  EXPECT_EQ(Refusals, 2);
  EXPECT_TRUE(StayedOpen);
  PARAFORMAT2 Format;
  Edit->GetParaFormat(Format);
  ASSERT_EQ(Format.cTabCount, 1) << "the pending entry was set at OK";
  EXPECT_EQ(Format.rgxTabs[0], 2160);
}

TEST_F(RichDialogTest, TabStopsAreClearedOneByOneOrAll) {
  int Tabs[] = {720, 1440, 2160};
  Edit->SetParaFormat(32, qpaLeft, false, 0, 0, 0, 3, Tabs, 0, 0, 0, 0);
  std::vector<String> Shown;
  WhenShown<TqvRichTabDialog>([&](TqvRichTabDialog* D) {
    for (int i = 0; i < D->ListBox1->Items()->Count(); ++i) Shown.push_back(D->ListBox1->Items()->Strings(i));
    D->ListBox1->SetSelected(1, true);
    ClickControl(D->Button2);
    ClickControl(D->OKButton);
  });
  EXPECT_TRUE(Edit->ShowTabsDialog());
  EXPECT_EQ(Shown, (std::vector<String>{"0,5''", "1''", "1,5''"}));
  PARAFORMAT2 Format;
  Edit->GetParaFormat(Format);
  ASSERT_EQ(Format.cTabCount, 2);
  EXPECT_EQ(Format.rgxTabs[1], 2160);
  WhenShown<TqvRichTabDialog>([&](TqvRichTabDialog* D) {
    ClickControl(D->Button4);
    ClickControl(D->OKButton);
  });
  EXPECT_TRUE(Edit->ShowTabsDialog());
  Edit->GetParaFormat(Format);
  EXPECT_EQ(Format.cTabCount, 0);
}

}  // namespace
