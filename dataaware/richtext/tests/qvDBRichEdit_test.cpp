// Tests of the data-aware rich edit on the memo field of an SQL dataset: the content shown, typing
// that puts the row in edit mode and is written when the user leaves, Escape that takes the typing
// back, the field's label until the content is asked for, a load that fails and never writes, the
// partial load of the grid, making the control by its class name, and the links it opens.
#include <gtest/gtest.h>

#include <memory>

#include "ShellLaunch.h"
#include "SqliteSession.h"
#include "StrUtils.h"

#include "RichTextTestSupport.h"
#include "qvPropAccess.h"

namespace {

const char* const kNotes = RichDataTest::Notes;

// A control whose loads fail as when the window runs out of resources.
class TFailingRichEdit : public TqvDBRichEdit {
  VELBOR_DECLARE_CLASS(TFailingRichEdit, TqvDBRichEdit)
 public:
  explicit TFailingRichEdit(TComponent* AOwner) : TqvDBRichEdit(AOwner) {}
  bool Fail = true;
  void StreamIn(TStream* Stream, bool Selection, int ChunkLimit) override {
    if (Fail) throw EOutOfResources("Erreur au chargement du flux");
    TqvDBRichEdit::StreamIn(Stream, Selection, ChunkLimit);
  }
};
VELBOR_IMPLEMENT_CLASS(TFailingRichEdit)

std::vector<String> OpenedAddresses;
bool RecordOpen(HWND, const String& Address) {
  OpenedAddresses.push_back(Address);
  return true;
}

class DBRichEditTest : public RichDataTest {};

TEST_F(DBRichEditTest, TheRecordsContentShows) {
  TqvDBRichEdit* Edit = AddBound("NOTES");
  ShowForm();
  EXPECT_EQ(WindowText(Edit), "Zone humide tourbeuse");
  SelectRange(Edit, 12, 9);
  EXPECT_TRUE(Edit->SelAttributes()->Style().Contains(fsBold));
  EXPECT_TRUE(Edit->IsDataLoaded());
  Query->Next();
  EXPECT_EQ(WindowText(Edit), "simple texte") << "a memo that is not RTF shows as text";
  Query->Next();
  EXPECT_EQ(Edit->TextLength(), 0);
  EXPECT_EQ(Edit->Paragraph()->Numbering(), nsNone);
}

TEST_F(DBRichEditTest, TypingEditsTheRowAndLeavingWritesTheField) {
  TqvDBRichEdit* Edit = AddBound("NOTES");
  ShowForm();
  Enter(Edit);
  EXPECT_EQ(Query->State(), dsBrowse);
  PressCombo(VK_CONTROL, VK_HOME);
  TypeText("Ma ");
  EXPECT_EQ(Query->State(), dsEdit) << "a keystroke puts the row in edit mode";
  EXPECT_EQ(WindowText(Edit), "Ma Zone humide tourbeuse") << "entering edit mode did not reload the content";
  EXPECT_EQ(Query->FieldByName("NOTES")->AsString(), kNotes) << "the field waits for the exit";
  ClickControl(Other);
  ASSERT_TRUE(WaitFor("the exit", [&] { return Other->Focused(); }));
  String Stored = Query->FieldByName("NOTES")->AsString();
  EXPECT_EQ(Stored.rfind("{\\rtf", 0), 0u) << Stored;
  EXPECT_NE(Stored.find("Ma Zone humide"), String::npos) << Stored;
  EXPECT_NE(Stored.find("\\b tourbeuse"), String::npos) << "the formatting is stored with it: " << Stored;
  ASSERT_FALSE(Stored.empty());
  EXPECT_EQ(Stored.back(), '}') << "the field holds the RTF and nothing after it";
  Query->Post();
  EXPECT_EQ(FileValue("SELECT NOTES FROM T WHERE ID = 1"), Stored);
}

TEST_F(DBRichEditTest, EscapeTakesTheTypingBack) {
  TqvDBRichEdit* Edit = AddBound("NOTES");
  ShowForm();
  Enter(Edit);
  PressCombo(VK_CONTROL, VK_END);
  TypeText(" perdu");
  EXPECT_EQ(WindowText(Edit), "Zone humide tourbeuse perdu");
  Press(VK_ESCAPE);
  EXPECT_EQ(WindowText(Edit), "Zone humide tourbeuse");
  SelectRange(Edit, 12, 9);
  EXPECT_TRUE(Edit->SelAttributes()->Style().Contains(fsBold));
  ClickControl(Other);
  ASSERT_TRUE(WaitFor("the exit", [&] { return Other->Focused(); }));
  EXPECT_EQ(Query->FieldByName("NOTES")->AsString(), kNotes);
  if (Query->State() == dsEdit) Query->Post();
  EXPECT_EQ(FileValue("SELECT NOTES FROM T WHERE ID = 1"), kNotes);
}

TEST_F(DBRichEditTest, WithoutAutoDisplayTheLabelShowsUntilReturn) {
  TqvDBRichEdit* Edit = AddBound("NOTES");
  Edit->SetAutoDisplay(false);
  Query->First();
  Query->Next();
  Query->First();
  ShowForm();
  EXPECT_EQ(Edit->Text(), "(NOTES)");
  EXPECT_FALSE(Edit->IsDataLoaded());
  Enter(Edit);
  TypeText("x");
  EXPECT_EQ(Edit->Text(), "(NOTES)") << "nothing is typed over the label";
  EXPECT_EQ(Query->State(), dsBrowse);
  Press(VK_RETURN);
  EXPECT_TRUE(Edit->IsDataLoaded());
  EXPECT_EQ(WindowText(Edit), "Zone humide tourbeuse");
}

TEST_F(DBRichEditTest, ATextFieldShowsAndTakesPlainText) {
  TqvDBRichEdit* Edit = AddBound("NOM");
  ShowForm();
  EXPECT_EQ(WindowText(Edit), "Marais");
  Enter(Edit);
  PressCombo(VK_CONTROL, VK_END);
  TypeText(" salant");
  ClickControl(Other);
  ASSERT_TRUE(WaitFor("the exit", [&] { return Other->Focused(); }));
  EXPECT_EQ(Query->FieldByName("NOM")->AsString(), "Marais salant");
}

// A load that fails shows why and is read-only; nothing the user does writes the field.
TEST_F(DBRichEditTest, AFailedLoadNeverWritesTheField) {
  auto* Edit = AddBound<TFailingRichEdit>("NOTES");
  ShowForm();
  EXPECT_TRUE(Edit->LoadFailed());
  EXPECT_EQ(WindowText(Edit), "(Erreur au chargement du flux)");
  EXPECT_TRUE(Edit->GetReadOnly());
  Enter(Edit);
  TypeText("abc");
  Edit->SetModified(true);
  ClickControl(Other);
  ASSERT_TRUE(WaitFor("the exit", [&] { return Other->Focused(); }));
  EXPECT_EQ(Query->FieldByName("NOTES")->AsString(), kNotes);
  if (Query->State() == dsEdit) Query->Post();
  EXPECT_EQ(FileValue("SELECT NOTES FROM T WHERE ID = 1"), kNotes);
  // The next record that loads is editable again.
  Edit->Fail = false;
  Query->Next();
  EXPECT_FALSE(Edit->LoadFailed());
  EXPECT_EQ(WindowText(Edit), "simple texte");
}

// The grid reads a cell's start only; the control then counts as not loaded.
TEST_F(DBRichEditTest, APartialLoadReadsTheFirstChunk) {
  String Long = "{\\rtf1\\ansi ";
  for (int i = 0; i < 2000; ++i) Long += "paragraphe " + IntToStr(i) + "\\par ";
  Long += "}";
  Query->Edit();
  Query->FieldByName("NOTES")->SetAsString(Long);
  Query->Post();
  TqvDBRichEdit* Cell = AddBound("NOM");
  Cell->SetVisible(false);
  ShowForm();
  TField* Notes = Query->FieldByName("NOTES");
  Cell->LoadFromFieldLimited(Notes, 2);
  String Start = Cell->Text();
  EXPECT_FALSE(Cell->IsDataLoaded());
  EXPECT_EQ(Start.rfind("paragraphe 0", 0), 0u) << Start;
  EXPECT_EQ(Start.find("paragraphe 1999"), String::npos) << "only the first chunk is read";
  Cell->LoadFromField(Notes);
  EXPECT_NE(Cell->Text().find("paragraphe 1999"), String::npos);
  // A memo of plain text gives its text in part too.
  Query->Next();
  Cell->LoadFromFieldLimited(Query->FieldByName("NOTES"), 2);
  EXPECT_EQ(Cell->Text(), "simple texte");
}

TEST_F(DBRichEditTest, TheControlIsMadeByItsClassNameAndBoundByPropertyNames) {
  TClass Class = GetClass("TqvDBRichEdit");
  ASSERT_NE(Class, nullptr);
  auto* Control = dynamic_cast<TWinControl*>(Class->Create(Form.get()));
  ASSERT_NE(Control, nullptr);
  Control->SetParent(Form.get());
  Control->SetBounds(10, 10, 300, 120);
  EXPECT_TRUE(qvSetControlDataSource(Control, Source.get()));
  EXPECT_TRUE(qvSetControlDataField(Control, "NOTES"));
  ShowForm();
  EXPECT_EQ(Control->Text(), "Zone humide tourbeuse");
}

TEST_F(DBRichEditTest, OnlyWebAndMailLinksGoToTheShell) {
  TqvDBRichEdit* Edit = AddBound("NOM");
  Edit->SetAutoURLDetect(true);
  Query->Edit();
  Query->FieldByName("NOM")->SetAsString("https://zh.example.org/fiche file:///c:/x.bat");
  ShowForm();
  // The window marks the links of a text as it is edited.
  Enter(Edit);
  PressCombo(VK_CONTROL, VK_END);
  TypeText(" ");
  for (int At : {5, 35}) {
    SelectRange(Edit, At, 1);
    CHARFORMAT2A Format{};
    Format.cbSize = sizeof(Format);
    SendMessageA(Edit->Handle(), EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&Format));
    EXPECT_TRUE(Format.dwEffects & CFE_LINK) << "a link at " << At;
  }
  SelectRange(Edit, 0, 0);
  TShellOpenProc Saved = SetShellOpenProc(&RecordOpen);
  OpenedAddresses.clear();
  POINTL Web{}, File{};
  SendMessageA(Edit->Handle(), EM_POSFROMCHAR, WPARAM(&Web), 5);
  SendMessageA(Edit->Handle(), EM_POSFROMCHAR, WPARAM(&File), 35);
  ClickAt(Edit->ClientToScreen(TPoint(Web.x + 2, Web.y + 5)));
  ASSERT_TRUE(WaitFor("the web link opened", [&] { return !OpenedAddresses.empty(); }));
  ClickAt(Edit->ClientToScreen(TPoint(File.x + 2, File.y + 5)));
  ClickAt(Edit->ClientToScreen(TPoint(Web.x + 2, Web.y + 5)));
  ASSERT_TRUE(WaitFor("the web link opened again", [&] { return OpenedAddresses.size() >= 2; }));
  SetShellOpenProc(Saved);
  EXPECT_EQ(OpenedAddresses, (std::vector<String>{"https://zh.example.org/fiche", "https://zh.example.org/fiche"}))
      << "the file link between the two clicks is never handed to the shell";
  Query->Cancel();
}

}  // namespace
