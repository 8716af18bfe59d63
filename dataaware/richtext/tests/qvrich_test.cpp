// Tests of the rich-text editor window, driven by the keyboard and the mouse: opened from a
// record's memo and closed with OK or Cancel (with the question about changes), on a text field,
// on a control without field, read-only, the style keys (Ctrl+I is no Tab), undo, font sizes, and
// the ruler's markers dragged to change the paragraph's indents.
#include <gtest/gtest.h>

#include "Qvintl.h"
#include "RichTextTestSupport.h"
#include "qvRuler.h"
#include "qvTrackIcon.h"
#include "qvrich.h"

namespace {

class RichEditorTest : public RichDataTest {
 protected:
  // Runs Work in the editor window once it shows; an editor Work left open is cancelled so that
  // the test fails instead of waiting.
  template <class F>
  void InEditor(F Work) {
    Later([this, Work] {
      TqvRichEditForm* Editor = FindForm<TqvRichEditForm>();
      ASSERT_NE(Editor, nullptr);
      Activate(Editor);
      ASSERT_TRUE(WaitFor("the editor's rich edit", [&] { return Editor->RichEdit()->Focused(); }));
      Work(Editor);
      if (Editor->Visible() && Editor->ModalResult() == mrNone) {
        LeftOpen = true;
        Editor->SetModalResult(mrCancel);
      }
    });
  }
  int RuleIndent(TqvCustomRichEdit* R, int Which) {
    int Indents[3];
    R->GetParaIndents(Indents[0], Indents[1], Indents[2]);
    return Indents[Which];
  }
  bool LeftOpen = false;
};

TEST_F(RichEditorTest, AMemoIsEditedAndSavedWithOK) {
  TqvDBRichEdit* Notes = AddBound("NOTES");
  ShowForm();
  String Copied;
  InEditor([&](TqvRichEditForm* E) {
    Copied = WindowText(E->RichEdit());
    PressCombo(VK_CONTROL, VK_END);
    TypeText(" et inondable");
    ASSERT_TRUE(Painted(E));
    SaveScreenshot(E->Handle(), "editor");
    PressCombo(VK_CONTROL, 'S');  // Save and Exit
  });
  EXPECT_TRUE(Notes->ExecuteEditor());
  EXPECT_FALSE(LeftOpen);
  EXPECT_EQ(Copied, "Zone humide tourbeuse");
  EXPECT_EQ(Notes->EditorForm(), nullptr);
  EXPECT_EQ(Query->State(), dsEdit);
  String Stored = Query->FieldByName("NOTES")->AsString();
  // Typed at the end of the bold word, the words are bold too.
  EXPECT_NE(Stored.find("\\b tourbeuse et inondable\\b0"), String::npos) << Stored;
  ASSERT_FALSE(Stored.empty());
  EXPECT_EQ(Stored.back(), '}') << "the field holds the RTF and nothing after it";
  EXPECT_EQ(WindowText(Notes), "Zone humide tourbeuse et inondable") << "the control reloads the field";
  Query->Post();
  EXPECT_EQ(FileValue("SELECT NOTES FROM T WHERE ID = 1"), Stored);
}

TEST_F(RichEditorTest, CancelAsksAboutTheChangesAndKeepsTheRecord) {
  TqvDBRichEdit* Notes = AddBound("NOTES");
  ShowForm();
  bool StayedAfterCancel = false;
  InEditor([&](TqvRichEditForm* E) {
    TypeText("perdu ");
    Script.Push(mrCancel);
    E->Exit1->Click();
    // The window's loop asks on its way to closing; once it stayed, the second Exit answers No.
    Later([&, E] {
      StayedAfterCancel = E->Visible() && E->ModalResult() == mrNone && Script.Asked.size() == 1;
      Script.Push(mrNo);
      E->Exit1->Click();
    });
  });
  EXPECT_FALSE(Notes->ExecuteEditor());
  EXPECT_TRUE(StayedAfterCancel);
  ASSERT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(Script.Asked[0].Text, qvIntl->UserMessages()->RichEditExitWarning);
  EXPECT_EQ(Query->State(), dsBrowse);
  EXPECT_EQ(WindowText(Notes), "Zone humide tourbeuse");
  EXPECT_EQ(Query->FieldByName("NOTES")->AsString(), RichDataTest::Notes);
}

TEST_F(RichEditorTest, WithoutConfirmationEveryCloseSaves) {
  TqvDBRichEdit* Notes = AddBound("NOTES");
  Notes->EditorOptions.Include(reoNoConfirmation);
  ShowForm();
  InEditor([&](TqvRichEditForm* E) {
    TypeText("Grande ");
    E->Exit1->Click();
  });
  EXPECT_TRUE(Notes->ExecuteEditor());
  EXPECT_TRUE(Script.Asked.empty());
  EXPECT_EQ(WindowText(Notes), "Grande Zone humide tourbeuse");
}

// A text field takes the editor's text: OK never loses the edits.
TEST_F(RichEditorTest, ATextFieldTakesTheEditorsText) {
  TqvDBRichEdit* Name = AddBound("NOM");
  ShowForm();
  InEditor([&](TqvRichEditForm*) {
    PressCombo(VK_CONTROL, VK_END);
    TypeText(" salant");
    PressCombo(VK_CONTROL, 'S');
  });
  EXPECT_TRUE(Name->ExecuteEditor());
  EXPECT_EQ(Query->FieldByName("NOM")->AsString(), "Marais salant");
  EXPECT_EQ(WindowText(Name), "Marais salant");
}

TEST_F(RichEditorTest, AControlWithoutFieldGetsTheContentBack) {
  auto* Free = new TqvDBRichEdit(Form.get());
  Free->SetParent(Form.get());
  Free->SetBounds(10, 10, 300, 100);
  ShowForm();
  LoadRich(Free, "{\\rtf1\\ansi libre\\par}");
  InEditor([&](TqvRichEditForm*) {
    PressCombo(VK_CONTROL, VK_END);
    TypeText(" et {");
    PressCombo(VK_CONTROL, 'S');
  });
  EXPECT_TRUE(Free->ExecuteEditor());
  EXPECT_EQ(WindowText(Free), "libre et {");
  EXPECT_TRUE(Free->Modified());
}

TEST_F(RichEditorTest, AReadOnlyControlOpensAViewer) {
  TqvDBRichEdit* Notes = AddBound("NOTES");
  Notes->SetReadOnly(true);
  ShowForm();
  bool FormatMenu = true, ViewMenu = true, NewButton = true, ReadOnly = false;
  InEditor([&](TqvRichEditForm* E) {
    FormatMenu = E->Format1->Visible();
    ViewMenu = E->View1->Visible();
    NewButton = E->NewButton->Visible();
    ReadOnly = E->RichEdit()->GetReadOnly();
    TypeText("x");
    Press(VK_ESCAPE);
  });
  EXPECT_FALSE(Notes->ExecuteEditor());
  EXPECT_FALSE(FormatMenu);
  EXPECT_FALSE(ViewMenu);
  EXPECT_FALSE(NewButton);
  EXPECT_TRUE(ReadOnly);
  EXPECT_TRUE(Script.Asked.empty()) << "closing a viewer never asks";
}

// Ctrl+I and Tab both give the character 9: the Tab key types a tab, Ctrl+I makes italic.
TEST_F(RichEditorTest, CtrlIIsItalicAndTabIsATab) {
  TqvDBRichEdit* Notes = AddBound("NOTES");
  Query->Next();
  ShowForm();
  String Typed;
  bool ItalicAfterTab = true, ItalicAfterCtrlI = false;
  InEditor([&](TqvRichEditForm* E) {
    PressCombo(VK_CONTROL, VK_END);
    Press(VK_TAB);
    TypeText("b");
    Typed = WindowText(E->RichEdit());
    SelectRange(E->RichEdit(), 0, 6);
    ItalicAfterTab = E->RichEdit()->SelAttributes()->Style().Contains(fsItalic);
    PressCombo(VK_CONTROL, 'I');
    SelectRange(E->RichEdit(), 0, 6);
    ItalicAfterCtrlI = E->RichEdit()->SelAttributes()->Style().Contains(fsItalic) && E->ItalicButton->Down();
    E->SetModalResult(mrOk);
  });
  Notes->ExecuteEditor();
  EXPECT_EQ(Typed, "simple texte\tb");
  EXPECT_FALSE(ItalicAfterTab);
  EXPECT_TRUE(ItalicAfterCtrlI);
}

// Ctrl+Z undoes one thing: the bold that came last, not the typing before it.
TEST_F(RichEditorTest, UndoTakesBackOneStep) {
  TqvDBRichEdit* Notes = AddBound("NOTES");
  Query->Next();
  Query->Next();
  ShowForm();
  String AfterUndo;
  bool BoldAfterUndo = true;
  InEditor([&](TqvRichEditForm* E) {
    TypeText("abc");
    PressCombo(VK_CONTROL, 'A');
    PressCombo(VK_CONTROL, 'B');
    SelectRange(E->RichEdit(), 0, 3);
    EXPECT_TRUE(E->RichEdit()->SelAttributes()->Style().Contains(fsBold));
    PressCombo(VK_CONTROL, 'Z');
    AfterUndo = WindowText(E->RichEdit());
    SelectRange(E->RichEdit(), 0, 3);
    BoldAfterUndo = E->RichEdit()->SelAttributes()->Style().Contains(fsBold);
    E->SetModalResult(mrCancel);
  });
  Script.Push(mrNo);
  Notes->ExecuteEditor();
  EXPECT_EQ(AfterUndo, "abc");
  EXPECT_FALSE(BoldAfterUndo);
}

// Sizes are points: the combo shows half points and takes them back as twentieths of a point.
TEST_F(RichEditorTest, FontSizesAreShownAndSetInPoints) {
  auto* Free = new TqvDBRichEdit(Form.get());
  Free->SetParent(Form.get());
  ShowForm();
  LoadRich(Free, "{\\rtf1\\ansi\\fs23 onze et demi\\par}");
  String Shown;
  int Twips = 0;
  InEditor([&](TqvRichEditForm* E) {
    SelectRange(E->RichEdit(), 0, 4);
    Shown = E->FontSizeCombo->Text();
    ASSERT_TRUE(GiveFocus(E->FontSizeCombo));
    Press(VK_F4);
    ASSERT_TRUE(WaitFor("the list", [&] { return E->FontSizeCombo->DroppedDown(); }));
    E->FontSizeCombo->SetItemIndex(E->FontSizeCombo->Items()->IndexOf("14"));
    Press(VK_RETURN);
    ASSERT_TRUE(WaitFor("the list closed", [&] { return !E->FontSizeCombo->DroppedDown(); }));
    SelectRange(E->RichEdit(), 0, 4);
    Twips = E->RichEdit()->GetSelSizeTwips();
    E->SetModalResult(mrCancel);
  });
  Script.Push(mrNo);
  Free->ExecuteEditor();
  EXPECT_EQ(Shown, "11,5");
  EXPECT_EQ(Twips, 280);
}

// --- The ruler --------------------------------------------------------------------------------

TEST_F(RichEditorTest, RulerMarkersDraggedSetTheIndents) {
  auto* Free = new TqvDBRichEdit(Form.get());
  Free->SetParent(Form.get());
  ShowForm();
  LoadRich(Free, "{\\rtf1\\ansi Un paragraphe assez long pour tenir sur plusieurs lignes quand on le d\\'e9cale.\\par}");
  struct TResult {
    int Offset, Right, Start;
  } AfterLeft{}, AfterFirst{}, AfterRight{};
  int RightBefore = 0;
  InEditor([&](TqvRichEditForm* E) {
    TqvRulerPanel* Ruler = E->Ruler();
    TqvCustomRichEdit* R = E->RichEdit();
    auto Drag = [&](TqvTrackIcon* Marker, int By) {
      TPoint From = OnScreen(Marker, Marker->Width() / 2, Marker->Height() / 2);
      DragMouse(From, TPoint(From.X + By, From.Y));
    };
    ASSERT_TRUE(Painted(E));
    Drag(Ruler->LeftMarker(), 48);
    R->GetParaIndents(AfterLeft.Offset, AfterLeft.Right, AfterLeft.Start);
    Drag(Ruler->FirstLineMarker(), 96);
    R->GetParaIndents(AfterFirst.Offset, AfterFirst.Right, AfterFirst.Start);
    RightBefore = AfterFirst.Right;
    Drag(Ruler->RightMarker(), -96);
    R->GetParaIndents(AfterRight.Offset, AfterRight.Right, AfterRight.Start);
    ASSERT_TRUE(Painted(E));
    SaveScreenshot(E->Handle(), "editor-ruler");
    E->SetModalResult(mrCancel);
  });
  Script.Push(mrNo);
  Free->ExecuteEditor();
  // Half an inch for the left marker: the paragraph's other lines go there, its first line stays.
  EXPECT_EQ(AfterLeft.Start, 0);
  EXPECT_EQ(AfterLeft.Offset, 720);
  // The first line one inch in: the others stay at half an inch.
  EXPECT_EQ(AfterFirst.Start, 1440);
  EXPECT_EQ(AfterFirst.Start + AfterFirst.Offset, 720);
  // The right marker an inch to the left.
  EXPECT_NEAR(AfterRight.Right - RightBefore, 1440, 180);
  EXPECT_EQ(AfterRight.Start, 1440) << "the right marker leaves the left indents alone";
}

TEST_F(RichEditorTest, AClickOnAMarkerChangesNothing) {
  auto* Free = new TqvDBRichEdit(Form.get());
  Free->SetParent(Form.get());
  ShowForm();
  LoadRich(Free, "{\\rtf1\\ansi texte\\par}");
  int Left = -1, Offset = -1, Start = -1, Right = -1;
  InEditor([&](TqvRichEditForm* E) {
    TqvTrackIcon* Marker = E->Ruler()->LeftMarker();
    ASSERT_TRUE(Painted(E));
    ClickControl(Marker);
    Left = Marker->Left();
    E->RichEdit()->GetParaIndents(Offset, Right, Start);
    E->SetModalResult(mrCancel);
  });
  Free->ExecuteEditor();
  EXPECT_EQ(Offset, 0);
  EXPECT_EQ(Start, 0);
  EXPECT_EQ(Left, 1) << "the strip's left edge less half the marker";
}

}  // namespace
