// Tests of find and replace in the rich-text control: a search goes from the caret to the end,
// wraps once to the start and stops where it began; replacing goes on right after each
// replacement; the dialogs offer the selection or the last text; the spell check's word processor
// is not there.
#include <gtest/gtest.h>

#include "CommonDialogs.h"
#include "StrUtils.h"
#include "Qvintl.h"
#include "RichTextTestSupport.h"

namespace {

class RichFindTest : public RichFormTest {
 protected:
  // One press of the find (1) or replace (2), replace-all (3) button, as the dialog would send it.
  void Answer(int Button, const String& Find, const String& Replace = String(), TFindOptions Options = {}) {
    TModalAnswer A;
    A.Result = Button;
    A.Value = Find;
    if (Button >= 2) A.Fields["ReplaceText"] = Replace;
    A.Fields["Options"] = IntToStr(int(Options.Bits()));
    Script.Push(A);
  }
  int NoMoreMatches() const {
    int Count = 0;
    for (const TModalQuestion& Q : Script.Asked) Count += Q.Text == qvIntl->UserMessages()->LocateNoMoreMatches;
    return Count;
  }
};

TEST_F(RichFindTest, ASearchWrapsOnceAndStopsWhereItBegan) {
  ShowForm();
  Edit->Lines()->SetText("axyaxy");
  SelectRange(Edit, 4, 0);
  Answer(1, "a");
  Edit->ShowFindDialog();
  EXPECT_EQ(Edit->SelStart(), 0) << "after the wrap";
  EXPECT_EQ(Edit->SelLength(), 1);
  Edit->FindNext();
  EXPECT_EQ(Edit->SelStart(), 3);
  Script.Push(mrOk);
  Edit->FindNext();
  EXPECT_EQ(NoMoreMatches(), 1);
  EXPECT_EQ(Edit->SelStart(), 3) << "the selection stays on the last match";
  // The next request starts afresh from there.
  Edit->FindNext();
  EXPECT_EQ(Edit->SelStart(), 0);
  Edit->FindNext();
  EXPECT_EQ(Edit->SelStart(), 3);
  Script.Push(mrOk);
  Edit->FindNext();
  EXPECT_EQ(NoMoreMatches(), 2);
}

TEST_F(RichFindTest, ReplaceAllReplacesAdjacentMatchesAndSaysSoOnce) {
  ShowForm();
  struct TCase {
    const char* Text;
    int Caret;
    const char* Find;
    const char* With;
    const char* Expected;
  };
  const TCase Cases[] = {
      {"aaaa", 0, "a", "b", "bbbb"},
      {"aaaa", 2, "a", "b", "bbbb"},
      {"xaax xaa", 0, "a", "bb", "xbbbbx xbbbb"},
      {"abab ab", 3, "ab", "", " "},
      {"un deux un", 0, "un", "une", "une deux une"},
  };
  for (const TCase& C : Cases) {
    Edit->Lines()->SetText(C.Text);
    SelectRange(Edit, C.Caret, 0);
    int Before = NoMoreMatches();
    Answer(3, C.Find, C.With);
    Script.Push(mrOk);
    Edit->ShowReplaceDialog();
    EXPECT_EQ(WindowText(Edit), C.Expected) << C.Text << " from " << C.Caret;
    EXPECT_EQ(NoMoreMatches(), Before + 1) << C.Text;
  }
}

TEST_F(RichFindTest, ReplaceTakesTheMatchAtTheCaretFirst) {
  ShowForm();
  Edit->Lines()->SetText("un deux un");
  SelectRange(Edit, 0, 2);
  Answer(2, "un", "1");
  Edit->ShowReplaceDialog();
  EXPECT_EQ(WindowText(Edit), "1 deux un");
  EXPECT_EQ(Edit->SelStart(), 7) << "the next match is selected";
  EXPECT_EQ(Edit->SelText(), "un");
  EXPECT_EQ(NoMoreMatches(), 0);
  // The last replacement finds nothing after it, nor before where the search began.
  Script.Push(mrOk);
  Edit->ReplaceNext();
  EXPECT_EQ(WindowText(Edit), "1 deux 1");
  EXPECT_EQ(NoMoreMatches(), 1);
}

TEST_F(RichFindTest, TheDialogOffersTheSelectionOrTheLastText) {
  ShowForm();
  Edit->Lines()->SetText("ligne un\r\nligne deux");
  SelectRange(Edit, 12, 4);
  Answer(1, "deux");
  Edit->ShowFindDialog();
  ASSERT_FALSE(Script.Asked.empty());
  EXPECT_EQ(Script.Asked.back().Value, "ne d") << "the selection";
  // A selection across a line break is no find text: the last one is offered.
  SelectRange(Edit, 4, 8);
  Answer(0, "deux");
  Edit->ShowFindDialog();
  EXPECT_EQ(Script.Asked.back().Value, "deux");
  EXPECT_TRUE(Edit->CanFindNext());
}

TEST_F(RichFindTest, NothingToFindBeforeASearch) {
  ShowForm();
  Edit->Lines()->SetText("texte");
  SelectRange(Edit, 2, 0);
  EXPECT_FALSE(Edit->CanFindNext());
  Edit->FindNext();
  EXPECT_EQ(Edit->SelStart(), 2);
  EXPECT_TRUE(Script.Asked.empty());
}

TEST_F(RichFindTest, WholeWordAndCaseComeFromTheDialog) {
  ShowForm();
  Edit->Lines()->SetText("Art partir art");
  SelectRange(Edit, 0, 0);
  Answer(1, "art", String(), {frWholeWord, frMatchCase});
  Edit->ShowFindDialog();
  EXPECT_EQ(Edit->SelStart(), 11);
  Answer(1, "art", String(), {frWholeWord});
  SelectRange(Edit, 1, 0);
  Edit->ShowFindDialog();
  EXPECT_EQ(Edit->SelStart(), 11);
  Edit->FindNext();
  EXPECT_EQ(Edit->SelStart(), 0) << "after the wrap, without case";
}

// The control's own find request searches the given range; others are made forward.
TEST_F(RichFindTest, FindTextSearchesItsRange) {
  ShowForm();
  Edit->Lines()->SetText("abcabc");
  EXPECT_EQ(Edit->FindText("c", 0, 6, {}), 2);
  EXPECT_EQ(Edit->FindText("c", 3, 3, {}), 5);
  EXPECT_EQ(Edit->FindText("c", 0, 2, {}), -1);
  FINDTEXTA Find{};
  Find.chrg.cpMin = 0;
  Find.chrg.cpMax = 6;
  Find.lpstrText = "b";
  EXPECT_EQ(SendMessageA(Edit->Handle(), EM_FINDTEXT, 0, LPARAM(&Find)), 1) << "made forward";
}

TEST_F(RichFindTest, TheSpellCheckSaysTheWordProcessorIsMissing) {
  ShowForm();
  Edit->Lines()->SetText("texte");
  Script.Push(mrOk);
  EXPECT_FALSE(Edit->SpellCheckText(String()));
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, qvIntl->UserMessages()->RichEditMSWordNotFound);
  EXPECT_TRUE(Edit->SpellCheck()) << "the control's own spell check is empty";
}

}  // namespace
