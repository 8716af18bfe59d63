// Tests of the standard controls on the virtual desktop: typing into edits (character case,
// length limit, read-only, modified flag, clipboard), memos (lines, returns and tabs), buttons in
// a modal form, check boxes and radio buttons by mouse and keyboard, a label's accelerator, the
// group box's client area and the scroll bar.
#include "StdCtrlsTestSupport.h"

#include "StdCtrls.h"

#include <map>

#include "Mask.h"

namespace {

class EditTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Edit = Add<TEdit>(10, 10, 200);
    Other = Add<TEdit>(10, 50, 200);
    Edit->OnChange = TNotifyEvent(this, &EditTest::Changed);
    ShowForm();
    ASSERT_TRUE(GiveFocus(Edit));
  }
  void Changed(TObject*) { ++Changes; }
  TEdit* Edit = nullptr;
  TEdit* Other = nullptr;
  int Changes = 0;
};

TEST_F(EditTest, TypedTextIsTheTextAndMarksItModified) {
  EXPECT_FALSE(Edit->Modified());
  TypeText("Étang bleu"_a);
  EXPECT_EQ(Edit->Text(), "Étang bleu"_a);
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(Changes, 10);
  EXPECT_EQ(Edit->SelStart(), 10);
  // Text set by the program fires OnChange once and is not a modification by the user.
  Edit->SetModified(false);
  Edit->SetText("mare");
  EXPECT_EQ(Changes, 11);
  EXPECT_FALSE(Edit->Modified());
  // The modified flag and the selection survive a re-created window.
  Other->SetFocus();
  Edit->SetModified(true);
  Edit->SetSelStart(1);
  Edit->SetSelLength(2);
  Edit->SetBorderStyle(bsNone);
  EXPECT_EQ(Edit->Text(), "mare");
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(Edit->SelStart(), 1);
  EXPECT_EQ(Edit->SelText(), "ar");
}

// Counts the changes each edit tells.
class TChangeCounter : public TObject {
 public:
  std::map<TObject*, int> Counts;
  void Changed(TObject* Sender) { ++Counts[Sender]; }
};

// Every kind of edit tells each change of its text once, whether typed or set by the program,
// with its window or before it has one (a multi-line window reports no text the program sets).
TEST_F(StdFormTest, EveryEditTellsEachChangeOfItsTextOnce) {
  struct Case {
    const char* What;
    TCustomEdit* Edit;
  } const cases[] = {
      {"edit", Add<TEdit>(10, 10, 150)},
      {"masked edit", Add<TMaskEdit>(10, 40, 150)},
      {"memo", Add<TMemo>(10, 70, 150, 60)},
  };
  TChangeCounter counter;
  for (const Case& c : cases) {
    c.Edit->OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
    ASSERT_FALSE(c.Edit->HandleAllocated()) << c.What;
    c.Edit->SetText("avant");
    EXPECT_EQ(counter.Counts[c.Edit], 1) << c.What << ": without a window";
  }
  ShowForm();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    ASSERT_TRUE(c.Edit->HandleAllocated());
    c.Edit->SetText("mare");
    EXPECT_EQ(counter.Counts[c.Edit], 2);
    c.Edit->SetText("mare");  // the same text is no change
    EXPECT_EQ(counter.Counts[c.Edit], 2);
    c.Edit->SetFocus();
    c.Edit->SelectAll();
    TypeText("x");
    EXPECT_EQ(c.Edit->Text(), "x");
    EXPECT_EQ(counter.Counts[c.Edit], 3);
  }
  static_cast<TMemo*>(cases[2].Edit)->Lines()->Add("ligne");
  EXPECT_EQ(counter.Counts[cases[2].Edit], 4);
}

struct CharCaseCase {
  TEditCharCase Case;
  const char* Expected;
};

TEST_F(EditTest, CharCaseConvertsTypedAndExistingText) {
  const CharCaseCase cases[] = {{ecUpperCase, "ÉCOLE ÀÉ"}, {ecLowerCase, "école àé"}};
  for (const CharCaseCase& c : cases) {
    Edit->SetCharCase(ecNormal);
    Edit->SetText("éCo"_a);
    Edit->SetCharCase(c.Case);
    Edit->SetSelStart(3);
    TypeText("Le àÉ"_a);
    EXPECT_EQ(Edit->Text(), Utf8ToAnsi(c.Expected)) << int(c.Case);
  }
}

TEST_F(EditTest, MaxLengthStopsTypingButNotTheProgram) {
  Edit->SetMaxLength(4);
  TypeText("abcdef");
  EXPECT_EQ(Edit->Text(), "abcd");
  Edit->SetText("longer text");
  EXPECT_EQ(Edit->Text(), "longer text");
}

TEST_F(EditTest, ReadOnlyRefusesTypingAndPasting) {
  Edit->SetText("fixe");
  Edit->SetReadOnly(true);
  Edit->SetSelStart(4);
  TypeText("xy");
  Press(VK_BACK);
  EXPECT_EQ(Edit->Text(), "fixe");
  EXPECT_FALSE(Edit->Modified());
  Edit->SetReadOnly(false);
  TypeText("s");
  EXPECT_EQ(Edit->Text(), "fixes");
}

TEST_F(EditTest, CutPasteAndUndoThroughTheClipboard) {
  Edit->SetText("roselière"_a);
  Edit->SetSelStart(0);
  Edit->SetSelLength(4);
  Edit->CutToClipboard();
  EXPECT_EQ(Edit->Text(), "lière"_a);
  EXPECT_TRUE(Edit->CanUndo());
  ASSERT_TRUE(GiveFocus(Other));
  Other->SetSelStart(0);
  // Ctrl+V from the keyboard pastes what was cut.
  PressCombo(VK_CONTROL, 'V');
  EXPECT_EQ(Other->Text(), "rose");
  EXPECT_TRUE(Other->Modified());
  Edit->Undo();
  EXPECT_EQ(Edit->Text(), "roselière"_a);
  Edit->SelectAll();
  EXPECT_EQ(Edit->SelLength(), 9);
  Edit->ClearSelection();
  EXPECT_EQ(Edit->Text(), "");
}

TEST_F(EditTest, PasswordCharHidesTheTextButNotFromTheProgram) {
  Edit->SetPasswordChar('*');
  TypeText("secret");
  EXPECT_EQ(Edit->Text(), "secret");
  EXPECT_EQ(SendMessageA(Edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
}

TEST_F(EditTest, EnteringByTabSelectsAllWithAutoSelect) {
  Other->SetText("zone");
  Other->AutoSelect = true;
  Press(VK_TAB);
  ASSERT_TRUE(Other->Focused());
  EXPECT_EQ(Other->SelLength(), 4);
  Edit->SetText("mare");
  Edit->AutoSelect = false;
  Edit->SetSelStart(0);
  Press(VK_TAB);
  ASSERT_TRUE(Edit->Focused());
  EXPECT_EQ(Edit->SelLength(), 0);
}

// --- Memo -------------------------------------------------------------------------------------

class MemoTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Memo = Add<TMemo>(10, 10, 250, 120);
    Next = Add<TEdit>(10, 150);
    Ok = Add<TButton>(280, 10);
    Ok->SetDefault(true);
    Ok->OnClick = TNotifyEvent(this, &MemoTest::OkClick);
    ShowForm();
    ASSERT_TRUE(GiveFocus(Memo));
  }
  void OkClick(TObject*) { ++OkClicks; }
  TMemo* Memo = nullptr;
  TEdit* Next = nullptr;
  TButton* Ok = nullptr;
  int OkClicks = 0;
};

TEST_F(MemoTest, LinesReadAndWriteTheText) {
  TStrings* lines = Memo->Lines();
  lines->Add("première"_a);
  lines->Add("deuxième"_a);
  lines->Insert(1, "milieu");
  EXPECT_EQ(lines->Count(), 3);
  EXPECT_EQ(Memo->Text(), "première\r\nmilieu\r\ndeuxième"_a);
  lines->Delete(0);
  lines->Put(0, "début"_a);
  EXPECT_EQ(lines->Strings(0), "début"_a);
  EXPECT_EQ(lines->Strings(1), "deuxième"_a);
  EXPECT_THROW(lines->Strings(2), EStringListError);
  lines->SetTextStr("a\nb\rc\r\n");
  EXPECT_EQ(lines->Count(), 3);
  EXPECT_EQ(Memo->Text(), "a\r\nb\r\nc\r\n");
  lines->Clear();
  EXPECT_EQ(lines->Count(), 0);
}

TEST_F(MemoTest, ReturnAndTabFollowWantReturnsAndWantTabs) {
  TypeText("un");
  Press(VK_RETURN);
  TypeText("deux");
  EXPECT_EQ(Memo->Lines()->Count(), 2);
  EXPECT_EQ(OkClicks, 0);
  // Without WantReturns, Return clicks the default button and adds no line.
  Memo->WantReturns = false;
  Press(VK_RETURN);
  EXPECT_EQ(OkClicks, 1);
  EXPECT_EQ(Memo->Lines()->Count(), 2);
  // WantTabs keeps the Tab key: a tab character goes in.
  Memo->WantTabs = true;
  Press(VK_TAB);
  EXPECT_TRUE(Memo->Focused());
  EXPECT_EQ(Memo->Lines()->Strings(1), "deux\t");
  Memo->WantTabs = false;
  Press(VK_TAB);
  EXPECT_TRUE(Next->Focused());
}

TEST_F(MemoTest, WordWrapAndScrollBarsShapeTheWindow) {
  Memo->SetWordWrap(false);
  Memo->SetScrollBars(ssBoth);
  LONG style = GetWindowLongA(Memo->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & ES_AUTOHSCROLL);
  Memo->SetWordWrap(true);
  style = GetWindowLongA(Memo->Handle(), GWL_STYLE);
  // A wrapping memo has no sideways scrolling.
  EXPECT_FALSE(style & WS_HSCROLL);
  EXPECT_FALSE(style & ES_AUTOHSCROLL);
}

// --- Buttons in a modal form ------------------------------------------------------------------

struct ModalButtonCase {
  const char* Name;
  WORD Key;
  int FocusIndex;  // the control focused first: 0 the edit, 1 the OK button, 2 the Cancel button
  TModalResult Expected;
};

class ButtonModalTest : public ::testing::TestWithParam<ModalButtonCase> {
 protected:
  TModalScript Script;
};

const ModalButtonCase ModalButtonCases[] = {
    {"ReturnInAnEditClicksTheDefault", VK_RETURN, 0, mrOk},
    {"EscapeClicksTheCancelButton", VK_ESCAPE, 0, mrCancel},
    {"ReturnOnAnotherButtonClicksThatButton", VK_RETURN, 2, mrCancel},
    {"SpaceClicksTheFocusedButton", VK_SPACE, 1, mrOk},
};

TEST_P(ButtonModalTest, KeysEndTheModalFormWithTheButtonsResult) {
  const ModalButtonCase& c = GetParam();
  TFormPtr<TForm> f(CreateForm<TForm>(nullptr));
  f->SetBounds(120, 120, 300, 150);
  auto* edit = new TEdit(f.get());
  edit->SetParent(f.get());
  auto* ok = new TButton(f.get());
  ok->SetParent(f.get());
  ok->SetBounds(20, 60, 75, 25);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->ModalResult = mrOk;
  auto* cancel = new TButton(f.get());
  cancel->SetParent(f.get());
  cancel->SetBounds(120, 60, 75, 25);
  cancel->SetCaption("Annuler");
  cancel->Cancel = true;
  cancel->ModalResult = mrCancel;
  TWinControl* focus[] = {edit, ok, cancel};
  TForm* form = f.get();
  WORD key = c.Key;
  TWinControl* first = focus[c.FocusIndex];
  Later([form, first, key] {
    Activate(form);
    EXPECT_TRUE(GiveFocus(first));
    PressKey(key);
    EndModalIfStillOpen(form);
  });
  EXPECT_EQ(f->ShowModal(), c.Expected);
  EXPECT_TRUE(Script.Unexpected.empty());
}

INSTANTIATE_TEST_SUITE_P(StdCtrls, ButtonModalTest, ::testing::ValuesIn(ModalButtonCases),
                         [](const ::testing::TestParamInfo<ModalButtonCase>& Info) { return Info.param.Name; });

TEST_F(StdFormTest, ButtonClickAndAcceleratorFireOnClick) {
  auto* edit = Add<TEdit>(10, 10);
  auto* b = Add<TButton>(10, 50);
  b->SetCaption("&Valider");
  int clicks = 0;
  struct Counter : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } counter;
  counter.N = &clicks;
  b->OnClick = TNotifyEvent(&counter, &Counter::Click);
  ShowForm();
  ClickControl(b);
  EXPECT_EQ(clicks, 1);
  edit->SetFocus();
  PressCombo(VK_MENU, 'V');
  EXPECT_EQ(clicks, 2);
}

// --- Check boxes and radio buttons ------------------------------------------------------------

class ChoiceTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Check = Add<TCheckBox>(10, 10, 150);
    Check->SetCaption("&Asséché"_a);
    Check->OnClick = TNotifyEvent(this, &ChoiceTest::Clicked);
    Group = Add<TGroupBox>(10, 40, 200, 120);
    Group->SetCaption("&Type");
    for (int i = 0; i < 3; ++i) {
      Radios[i] = Add<TRadioButton>(10, 20 + 25 * i, 150, 20, Group);
      Radios[i]->SetCaption("Choix " + std::to_string(i + 1));
    }
    Radios[0]->SetChecked(true);
    ShowForm();
  }
  void Clicked(TObject*) { ++Clicks; }
  TCheckBox* Check = nullptr;
  TGroupBox* Group = nullptr;
  TRadioButton* Radios[3] = {};
  int Clicks = 0;
};

TEST_F(ChoiceTest, CheckBoxTogglesByClickSpaceAndAccelerator) {
  ClickControl(Check);
  EXPECT_TRUE(Check->Checked());
  EXPECT_EQ(SendMessageA(Check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(Check->Focused());
  Press(VK_SPACE);
  EXPECT_EQ(Check->State(), cbUnchecked);
  Radios[0]->SetFocus();
  PressCombo(VK_MENU, 'A');
  EXPECT_TRUE(Check->Focused());
  EXPECT_TRUE(Check->Checked());
  EXPECT_EQ(Clicks, 3);
  // The program's change fires OnClick too.
  Check->SetChecked(false);
  EXPECT_EQ(Clicks, 4);
}

TEST_F(ChoiceTest, AllowGrayedCyclesThroughThreeStates) {
  Check->AllowGrayed = true;
  std::vector<TCheckBoxState> seen;
  for (int i = 0; i < 4; ++i) {
    ClickControl(Check);
    seen.push_back(Check->State());
  }
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked, cbGrayed}));
  EXPECT_EQ(SendMessageA(Check->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
}

TEST_F(ChoiceTest, RadioButtonsExcludeEachOtherByClickAndArrows) {
  ClickControl(Radios[2]);
  EXPECT_TRUE(Radios[2]->Checked());
  EXPECT_FALSE(Radios[0]->Checked());
  EXPECT_EQ(SendMessageA(Radios[0]->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // The arrows move inside the group and choose as they go.
  Press(VK_UP);
  EXPECT_TRUE(Radios[1]->Focused());
  EXPECT_TRUE(Radios[1]->Checked());
  EXPECT_FALSE(Radios[2]->Checked());
  // Only the checked button is a Tab stop.
  EXPECT_TRUE(Radios[1]->TabStop());
  EXPECT_FALSE(Radios[2]->TabStop());
  // The group's accelerator focuses its first Tab stop.
  Check->SetFocus();
  PressCombo(VK_MENU, 'T');
  EXPECT_TRUE(Radios[1]->Focused());
}

TEST_F(ChoiceTest, GroupBoxPlacesAlignedChildrenBelowItsCaption) {
  auto* inner = Add<TEdit>(0, 0, -1, -1, Group);
  inner->SetAlign(alTop);
  EXPECT_GT(inner->Top(), 8);
  EXPECT_GE(inner->Left(), 2);
  EXPECT_LE(inner->Left() + inner->Width(), Group->ClientWidth() - 2);
}

// --- Label ------------------------------------------------------------------------------------

TEST_F(StdFormTest, LabelAcceleratorFocusesItsFocusControl) {
  auto* first = Add<TEdit>(100, 10);
  auto* label = Add<TLabel>(10, 50);
  label->SetCaption("&Nom du site");
  auto* target = Add<TEdit>(100, 50);
  label->SetFocusControl(target);
  ShowForm();
  first->SetFocus();
  PressCombo(VK_MENU, 'N');
  EXPECT_TRUE(target->Focused());
  // Without ShowAccelChar the "&" is text, not an accelerator.
  first->SetFocus();
  label->SetShowAccelChar(false);
  PressCombo(VK_MENU, 'N');
  EXPECT_TRUE(first->Focused());
  // The focus control going away leaves the label without one.
  delete target;
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StdFormTest, LabelSizesItselfToItsText) {
  auto* label = Add<TLabel>(10, 10);
  label->SetCaption("Zone");
  int shortWidth = label->Width();
  label->SetCaption("Zone humide remarquable");
  EXPECT_GT(label->Width(), shortWidth);
  int longWidth = label->Width();
  int oneLine = label->Height();
  // A right-aligned label keeps its right edge as it grows.
  label->SetAlignment(taRightJustify);
  int right = label->Left() + label->Width();
  label->SetCaption("Zone humide remarquable et protégée"_a);
  EXPECT_EQ(label->Left() + label->Width(), right);
  // Word wrap in a narrow label takes more lines.
  label->SetAutoSize(false);
  label->SetWidth(60);
  label->SetWordWrap(true);
  label->SetAutoSize(true);
  EXPECT_GT(label->Height(), oneLine);
  EXPECT_LT(label->Width(), longWidth);
}

// --- Scroll bar -------------------------------------------------------------------------------

TEST_F(StdFormTest, ScrollBarStepsAndClamps) {
  auto* bar = Add<TScrollBar>(10, 10, 200);
  bar->SetParams(5, 0, 50);
  bar->SmallChange = 2;
  bar->LargeChange = 10;
  std::vector<TScrollCode> codes;
  struct Recorder : TObject {
    std::vector<TScrollCode>* Codes;
    void Scroll(TObject*, TScrollCode Code, int&) { Codes->push_back(Code); }
  } recorder;
  recorder.Codes = &codes;
  bar->OnScroll = TScrollEvent(&recorder, &Recorder::Scroll);
  ShowForm();
  HWND h = bar->Handle();
  SendMessageA(Form->Handle(), WM_HSCROLL, SB_LINEDOWN, LPARAM(h));
  EXPECT_EQ(bar->Position(), 7);
  SendMessageA(Form->Handle(), WM_HSCROLL, SB_PAGEUP, LPARAM(h));
  EXPECT_EQ(bar->Position(), 0);
  SendMessageA(Form->Handle(), WM_HSCROLL, SB_BOTTOM, LPARAM(h));
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_EQ(GetScrollPos(h, SB_CTL), 50);
  EXPECT_EQ(codes, (std::vector<TScrollCode>{scLineDown, scPageUp, scBottom}));
  // The keyboard scrolls the focused bar.
  bar->SetFocus();
  Press(VK_LEFT);
  EXPECT_EQ(bar->Position(), 48);
  EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
  bar->SetMax(20);
  EXPECT_EQ(bar->Position(), 20);
}

}  // namespace
