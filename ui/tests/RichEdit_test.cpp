// Tests of the rich-text edit over the native control: loading RTF and reading the attributes
// of the selection, RTF and plain-text round trips, Lines, find, undo, protected text, the change
// and selection events, paragraph attributes, content kept across a new window, page layout.
#include <gtest/gtest.h>

#include <memory>

#include "RichEdit.h"
#include "Streams.h"
#include "TestForms.h"

namespace {

class TRichLog : public TObject {
 public:
  std::vector<String> Events;
  bool Allow = false;
  void Changed(TObject*) { Events.push_back("change"); }
  void SelectionChanged(TObject*) { Events.push_back("selection"); }
  void ProtectChange(TObject*, int StartPos, int EndPos, bool& AllowChange) {
    Events.push_back("protect " + std::to_string(StartPos) + "-" + std::to_string(EndPos));
    AllowChange = Allow;
  }
};

class RichEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(new TForm(nullptr));
    Form->SetBounds(70, 70, 440, 300);
    Form->Show();
    Activate(Form.get());
    Edit = new TRichEdit(Form.get());
    Edit->SetBounds(10, 10, 400, 200);
    Edit->SetParent(Form.get());
  }
  void TearDown() override {
    PumpPending();
    Form.reset();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  void Load(const String& Content) {
    TStringStream s(Content);
    Edit->Lines()->LoadFromStream(&s);
  }
  String Save() {
    TStringStream s;
    Edit->Lines()->SaveToStream(&s);
    return s.DataString();
  }
  void Select(int Start, int Length) {
    Edit->SetSelStart(Start);
    Edit->SetSelLength(Length);
  }
  TModalScript Script;
  TFormPtr<TForm> Form;
  TRichEdit* Edit = nullptr;
  TRichLog Log;
};

TEST_F(RichEditTest, LoadedRtfShowsItsFormattingInSelAttributes) {
  Load("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Marais \\b tourbeux\\b0  et \\i \\'e9tang\\i0\\par}");
  EXPECT_EQ(Edit->Lines()->Get(0), "Marais tourbeux et étang"_a);
  Select(7, 8);
  EXPECT_EQ(Edit->SelText(), "tourbeux");
  EXPECT_TRUE(Edit->SelAttributes()->Style().Contains(fsBold));
  EXPECT_FALSE(Edit->SelAttributes()->Style().Contains(fsItalic));
  EXPECT_EQ(Edit->SelAttributes()->Size(), 10);
  EXPECT_EQ(Edit->SelAttributes()->Name(), "Arial");
  Select(19, 5);
  EXPECT_EQ(Edit->SelAttributes()->Style(), TFontStyles{fsItalic});
  // Over mixed text bold is not consistent; the face and size are.
  Select(0, 15);
  TConsistentAttributes consistent = Edit->SelAttributes()->ConsistentAttributes();
  EXPECT_FALSE(consistent.Contains(caBold));
  EXPECT_TRUE(consistent.Contains(caFace));
  EXPECT_TRUE(consistent.Contains(caSize));
  // Copying the attributes into a font.
  Select(7, 8);
  TFont font;
  font.Assign(Edit->SelAttributes());
  EXPECT_TRUE(font.Style().Contains(fsBold));
  EXPECT_EQ(font.Name(), "Arial");
}

TEST_F(RichEditTest, RtfAndPlainTextRoundTrips) {
  Edit->Lines()->SetText("Première ligne\r\nSeconde été\r\n"_a);
  Select(9, 5);
  Edit->SelAttributes()->SetStyle({fsBold, fsUnderline});
  Edit->SelAttributes()->SetColor(clRed);
  String rtf = Save();
  EXPECT_EQ(rtf.compare(0, 5, "{\\rtf"), 0);
  EXPECT_NE(rtf.find("\\b"), String::npos);

  auto* copy = new TRichEdit(Form.get());
  copy->SetBounds(10, 220, 400, 40);
  copy->SetParent(Form.get());
  TStringStream in(rtf);
  copy->Lines()->LoadFromStream(&in);
  EXPECT_EQ(copy->Lines()->Count(), 2);
  EXPECT_EQ(copy->Lines()->Get(1), "Seconde été"_a);
  copy->SetSelStart(9);
  copy->SetSelLength(5);
  EXPECT_EQ(copy->SelText(), "ligne");
  EXPECT_EQ(copy->SelAttributes()->Style(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(ColorToRGB(copy->SelAttributes()->Color()), ColorToRGB(clRed));
  copy->SetSelStart(0);
  copy->SetSelLength(3);
  EXPECT_TRUE(copy->SelAttributes()->Style().Empty());

  // Plain text: the characters alone, the paragraph breaks as CR LF.
  Edit->PlainText = true;
  EXPECT_EQ(Save(), "Première ligne\r\nSeconde été\r\n"_a);
  Load("un\r\ndeux {\\b trois}\r\n");
  EXPECT_EQ(Edit->Lines()->Get(1), "deux {\\b trois}");
  Edit->PlainText = false;
  // Text that is not RTF is taken as plain text by the RTF load too.
  Load("pas du RTF");
  EXPECT_EQ(Edit->Lines()->Get(0), "pas du RTF");
}

TEST_F(RichEditTest, LinesReadAndChangeTheWindowText) {
  TStrings* lines = Edit->Lines();
  lines->SetText("a\r\nb\r\nc\r\n");
  // The empty line after the final break does not count.
  EXPECT_EQ(lines->Count(), 3);
  lines->Add("d");
  lines->Insert(0, "début"_a);
  lines->Put(2, "B");
  lines->Delete(3);
  std::vector<String> got;
  for (int i = 0; i < lines->Count(); ++i) got.push_back(lines->Get(i));
  EXPECT_EQ(got, (std::vector<String>{"début"_a, "a", "B", "d"}));
  EXPECT_THROW(lines->Get(9), EStringListError);
  lines->Clear();
  EXPECT_EQ(lines->Count(), 0);
  EXPECT_EQ(Edit->TextLength(), 0);
}

TEST_F(RichEditTest, FindTextSearchesForwardWithinItsRange) {
  Edit->Lines()->SetText("Mare, marais et Marécage: la mare."_a);
  struct Case {
    const char* Text;
    int Start;
    int Length;
    TSearchTypes Options;
    int Expected;
  } cases[] = {
      {"mare", 0, 40, {}, 0},
      {"mare", 1, 40, {}, 29},
      {"mare", 0, 40, {stMatchCase}, 29},
      {"mar", 1, 40, {}, 6},
      {"mar", 1, 40, {stWholeWord}, -1},
      {"marais", 0, 40, {stWholeWord}, 6},
      {"MARAIS", 0, 40, {}, 6},
      {"mare", 1, 20, {}, -1},
      {"tourbière"_a, 0, 40, {}, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Edit->FindText(c.Text, c.Start, c.Length, c.Options), c.Expected)
        << c.Text << " from " << c.Start << " options " << c.Options.Bits();
  }
}

TEST_F(RichEditTest, TypingChangesTheTextAndUndoTakesItBack) {
  Edit->OnChange = TNotifyEvent(&Log, &TRichLog::Changed);
  Edit->OnSelectionChange = TNotifyEvent(&Log, &TRichLog::SelectionChanged);
  Edit->Lines()->SetText("eau");
  Edit->ClearUndo();
  Edit->SetModified(false);
  EXPECT_FALSE(Edit->CanUndo());
  ASSERT_TRUE(GiveFocus(Edit));
  Edit->SetSelStart(3);
  PumpPending();
  Log.Events.clear();
  Press('X');
  Press('Y');
  EXPECT_EQ(Edit->Text(), "eauxy");
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(std::count(Log.Events.begin(), Log.Events.end(), "change"), 2);
  EXPECT_NE(std::find(Log.Events.begin(), Log.Events.end(), "selection"), Log.Events.end());
  EXPECT_TRUE(Edit->CanUndo());
  Edit->Undo();
  EXPECT_EQ(Edit->Text(), "eau");
  // Replacing the selection by program can be undone too.
  Select(0, 1);
  Edit->SetSelText("E");
  EXPECT_EQ(Edit->Text(), "Eau");
  Edit->Undo();
  EXPECT_EQ(Edit->Text(), "eau");
}

TEST_F(RichEditTest, ProtectedTextChangesOnlyWhenAllowed) {
  Edit->Lines()->SetText("code 1234 fin");
  Select(5, 4);
  Edit->SelAttributes()->SetProtected(true);
  EXPECT_TRUE(Edit->SelAttributes()->Protected());
  Edit->OnProtectChange = TRichEditProtectChange(&Log, &TRichLog::ProtectChange);
  ASSERT_TRUE(GiveFocus(Edit));
  Select(6, 0);
  PumpPending();
  Press('Z');
  EXPECT_EQ(Edit->Text(), "code 1234 fin");
  ASSERT_FALSE(Log.Events.empty());
  EXPECT_EQ(Log.Events.front(), "protect 6-6");
  // Text outside the protected range is free.
  Select(13, 0);
  Press('S');
  EXPECT_EQ(Edit->Text(), "code 1234 fins");
  Log.Allow = true;
  Select(6, 0);
  Press('Z');
  EXPECT_EQ(Edit->Text(), "code 1z234 fins");
}

TEST_F(RichEditTest, ParagraphAttributesAndDefaultAttributes) {
  Edit->Lines()->SetText("centre\r\nnormal");
  Select(0, 0);
  Edit->Paragraph()->SetAlignment(taCenter);
  Edit->Paragraph()->SetFirstIndent(12);
  Edit->Paragraph()->SetTab(0, 36);
  Edit->Paragraph()->SetNumbering(nsBullet);
  EXPECT_EQ(Edit->Paragraph()->Alignment(), taCenter);
  EXPECT_EQ(Edit->Paragraph()->FirstIndent(), 12);
  EXPECT_EQ(Edit->Paragraph()->TabCount(), 1);
  EXPECT_EQ(Edit->Paragraph()->Tab(0), 36);
  EXPECT_EQ(Edit->Paragraph()->Numbering(), nsBullet);
  Select(8, 0);
  EXPECT_EQ(Edit->Paragraph()->Alignment(), taLeftJustify);
  EXPECT_EQ(Edit->Paragraph()->Numbering(), nsNone);
  // The control's font is the default text's.
  Edit->Font()->SetName("Courier New");
  Edit->Font()->SetSize(14);
  EXPECT_EQ(Edit->DefAttributes()->Name(), "Courier New");
  EXPECT_EQ(Edit->DefAttributes()->Size(), 14);
}

TEST_F(RichEditTest, ANewWindowKeepsTheFormattedContent) {
  Load("{\\rtf1\\ansi avant \\b gras\\b0  apr\\'e8s}");
  Edit->SetModified(true);
  HWND old = Edit->Handle();
  Edit->SetScrollBars(ssVertical);
  EXPECT_NE(Edit->Handle(), old);
  EXPECT_EQ(Edit->Text(), "avant gras après"_a);
  EXPECT_TRUE(Edit->Modified());
  Select(6, 4);
  EXPECT_TRUE(Edit->SelAttributes()->Style().Contains(fsBold));
  EXPECT_TRUE(GetWindowLongA(Edit->Handle(), GWL_STYLE) & ES_AUTOVSCROLL);
}

}  // namespace
