// Tests of the list controls over the native ones: list box selection by mouse and keyboard,
// sorted lines, multiple selection, owner drawing and scrolling; combo box styles, choice by
// keyboard and from the dropped list, typing into its edit, owner drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ListControls.h"
#include "TestForms.h"

namespace {

TPoint CenterOnScreen(TWinControl* Control, const TRect& R) {
  return Control->ClientToScreen(TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
}

// Records what the list controls report.
class TListLog : public TObject {
 public:
  std::vector<String> Events;
  std::vector<int> Drawn;
  std::vector<int> Measured;
  void Clicked(TObject*) { Events.push_back("click"); }
  void Changed(TObject*) { Events.push_back("change"); }
  void Selected(TObject*) { Events.push_back("select"); }
  void DroppedDown(TObject*) { Events.push_back("dropdown"); }
  void ClosedUp(TObject*) { Events.push_back("closeup"); }
  void KeyPressed(TObject*, char& Key) { Events.push_back(String("key ") + Key); }
  void DrawItem(TWinControl*, int Index, TRect, TOwnerDrawState) { Drawn.push_back(Index); }
  // Rows grow with their index, so that each row's height tells who measured it.
  void MeasureItem(TWinControl*, int Index, int& Height) {
    Measured.push_back(Index);
    Height = 12 + 4 * Index;
  }
};

class ListControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(new TForm(nullptr));
    Form->SetBounds(80, 80, 420, 320);
    Form->Show();
    Activate(Form.get());
  }
  void TearDown() override {
    PumpPending();
    Form.reset();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  template <class T>
  T* Make(int Left, int Top, int Width, int Height) {
    auto* c = new T(Form.get());
    c->SetBounds(Left, Top, Width, Height);
    c->SetParent(Form.get());
    return c;
  }
  TModalScript Script;
  TFormPtr<TForm> Form;
  TListLog Log;
};

std::vector<String> Lines(TStrings* S) {
  std::vector<String> lines;
  for (int i = 0; i < S->Count(); ++i) lines.push_back(S->Get(i));
  return lines;
}

TEST_F(ListControlTest, ListBoxKeepsItsLinesBeforeAndAcrossItsWindow) {
  auto* list = new TListBox(Form.get());
  list->SetSorted(true);
  TObject marker;
  // Filled before it has a parent: the lines wait for the window and sort as they come.
  list->Items()->Add("poire");
  list->Items()->AddObject("abricot", &marker);
  list->Items()->Add("Banane");
  list->SetItemIndex(1);
  EXPECT_EQ(Lines(list->Items()), (std::vector<String>{"abricot", "Banane", "poire"}));
  list->SetBounds(10, 10, 150, 120);
  list->SetParent(Form.get());
  ASSERT_TRUE(list->HandleAllocated());
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(list->ItemIndex(), 1);
  // Add sorts in the live window; Insert places the line where asked, as the native list does.
  EXPECT_EQ(list->Items()->Add("cerise"), 2);
  list->Items()->Insert(0, "zeste");
  EXPECT_EQ(Lines(list->Items()), (std::vector<String>{"zeste", "abricot", "Banane", "cerise", "poire"}));
  EXPECT_EQ(list->Items()->IndexOf("CERISE"), 3);
  // A new style re-creates the window: lines, objects and selection stay.
  list->SetSelected(3, true);
  list->SetSorted(false);
  list->Items()->Add("ail");
  EXPECT_EQ(Lines(list->Items()), (std::vector<String>{"zeste", "abricot", "Banane", "cerise", "poire", "ail"}));
  EXPECT_EQ(list->Items()->Objects(1), &marker);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_THROW(list->Items()->Get(6), EStringListError);
  EXPECT_THROW(list->Items()->Delete(6), EStringListError);
  list->Items()->Delete(0);
  EXPECT_EQ(list->Items()->Get(0), "abricot");
  // Sorting again sorts the lines the list holds.
  list->SetSorted(true);
  EXPECT_EQ(Lines(list->Items()), (std::vector<String>{"abricot", "ail", "Banane", "cerise", "poire"}));
}

TEST_F(ListControlTest, ListBoxSelectionByMouseAndKeyboard) {
  auto* list = Make<TListBox>(10, 10, 150, 150);
  for (const char* s : {"un", "deux", "trois", "quatre", "cinq"}) list->Items()->Add(s);
  list->OnClick = TNotifyEvent(&Log, &TListLog::Clicked);
  ASSERT_TRUE(Painted(list));
  ClickAt(CenterOnScreen(list, list->ItemRect(2)));
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_TRUE(list->Selected(2));
  EXPECT_TRUE(list->Focused());
  EXPECT_EQ(Form->ActiveControl(), list);
  EXPECT_EQ(Log.Events, (std::vector<String>{"click"}));
  Press(VK_DOWN);
  EXPECT_EQ(list->ItemIndex(), 3);
  Press(VK_HOME);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(Log.Events.size(), 3u);
  // Selecting by program reports nothing, as the native list does.
  list->SetItemIndex(4);
  EXPECT_EQ(Log.Events.size(), 3u);
  EXPECT_EQ(list->SelCount(), -1);
}

TEST_F(ListControlTest, MultiSelectListTogglesItemsAndDeletesTheSelection) {
  auto* list = Make<TListBox>(10, 10, 150, 150);
  list->SetMultiSelect(true);
  list->SetExtendedSelect(false);
  for (const char* s : {"a", "b", "c", "d"}) list->Items()->Add(s);
  ASSERT_TRUE(Painted(list));
  ClickAt(CenterOnScreen(list, list->ItemRect(0)));
  ClickAt(CenterOnScreen(list, list->ItemRect(2)));
  EXPECT_TRUE(list->Selected(0));
  EXPECT_FALSE(list->Selected(1));
  EXPECT_TRUE(list->Selected(2));
  EXPECT_EQ(list->SelCount(), 2);
  // In a multiple selection the item index is the focused item.
  EXPECT_EQ(list->ItemIndex(), 2);
  list->DeleteSelected();
  EXPECT_EQ(Lines(list->Items()), (std::vector<String>{"b", "d"}));
  list->SelectAll();
  EXPECT_EQ(list->SelCount(), 2);
  list->ClearSelection();
  EXPECT_EQ(list->SelCount(), 0);
}

TEST_F(ListControlTest, OwnerDrawnListMeasuresAndDrawsItsRows) {
  auto* list = new TListBox(Form.get());
  list->SetBounds(10, 10, 150, 200);
  list->SetStyle(lbOwnerDrawVariable);
  list->OnMeasureItem = TMeasureItemEvent(&Log, &TListLog::MeasureItem);
  list->OnDrawItem = TDrawItemEvent(&Log, &TListLog::DrawItem);
  for (const char* s : {"a", "b", "c"}) list->Items()->Add(s);
  list->SetParent(Form.get());
  list->Repaint();
  ASSERT_TRUE(Painted(list));
  EXPECT_EQ(Log.Measured, (std::vector<int>{0, 1, 2}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list->ItemRect(i).Height(), 12 + 4 * i) << i;
  for (int i = 0; i < 3; ++i) EXPECT_NE(std::find(Log.Drawn.begin(), Log.Drawn.end(), i), Log.Drawn.end()) << i;
  // Fixed rows take ItemHeight and ask nobody.
  Log.Measured.clear();
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(25);
  list->Items()->Add("d");
  EXPECT_TRUE(Log.Measured.empty());
  EXPECT_EQ(list->ItemRect(3).Height(), 25);
  EXPECT_EQ(list->ItemAtPos(TPoint(5, 25 * 2 + 3), true), 2);
  EXPECT_EQ(list->ItemAtPos(TPoint(5, 190), true), -1);
  EXPECT_EQ(list->ItemAtPos(TPoint(5, 190), false), 4);
}

TEST_F(ListControlTest, TopIndexScrollsTheList) {
  auto* list = Make<TListBox>(10, 10, 150, 100);
  list->Items()->BeginUpdate();
  for (int i = 0; i < 60; ++i) list->Items()->Add("ligne " + std::to_string(i));
  list->Items()->EndUpdate();
  list->SetTopIndex(20);
  EXPECT_EQ(list->TopIndex(), 20);
  EXPECT_EQ(list->ItemAtPos(TPoint(5, 2), true), 20);
  list->SetItemIndex(55);
  EXPECT_GE(list->TopIndex(), 55 - 100 / list->ItemHeight());
}

TEST_F(ListControlTest, DropDownListChoosesByKeyboardAndFromTheList) {
  auto* combo = Make<TComboBox>(10, 10, 160, 21);
  combo->SetStyle(csDropDownList);
  for (const char* s : {"Mare", "Étang"_a, "Tourbière"_a, "Lagune"}) combo->Items()->Add(s);
  combo->OnChange = TNotifyEvent(&Log, &TListLog::Changed);
  combo->OnDropDown = TNotifyEvent(&Log, &TListLog::DroppedDown);
  combo->OnCloseUp = TNotifyEvent(&Log, &TListLog::ClosedUp);
  ASSERT_TRUE(GiveFocus(combo));
  Press(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->Text(), "Mare");
  Press(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "Étang"_a);
  // Without OnSelect a choice counts as a change.
  EXPECT_EQ(Log.Events, (std::vector<String>{"change", "change"}));
  Log.Events.clear();

  combo->SetDroppedDown(true);
  PumpPending();
  EXPECT_TRUE(combo->DroppedDown());
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
  RECT row{};
  SendMessageA(info.hwndList, LB_GETITEMRECT, 3, LPARAM(&row));
  POINT p{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
  ClientToScreen(info.hwndList, &p);
  ClickAt(TPoint(p.x, p.y));
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(combo->Text(), "Lagune");
  EXPECT_EQ(Log.Events.front(), "dropdown");
  EXPECT_NE(std::find(Log.Events.begin(), Log.Events.end(), "change"), Log.Events.end());
  EXPECT_NE(std::find(Log.Events.begin(), Log.Events.end(), "closeup"), Log.Events.end());
}

TEST_F(ListControlTest, DropDownComboTypesThroughItsEditAndKeepsItemsSorted) {
  auto* combo = Make<TComboBox>(10, 10, 160, 21);
  combo->SetSorted(true);
  for (const char* s : {"saule", "aulne", "frêne"_a}) combo->Items()->Add(s);
  EXPECT_EQ(Lines(combo->Items()), (std::vector<String>{"aulne", "frêne"_a, "saule"}));
  ASSERT_NE(combo->EditHandle(), nullptr);
  combo->OnChange = TNotifyEvent(&Log, &TListLog::Changed);
  combo->OnKeyPress = TKeyPressEvent(&Log, &TListLog::KeyPressed);
  ASSERT_TRUE(GiveFocus(combo));
  EXPECT_EQ(GetFocus(), combo->EditHandle());
  EXPECT_TRUE(combo->Focused());
  Press('O');
  Press('R');
  EXPECT_EQ(combo->Text(), "or");
  // The keys pass the combo's own handling before the edit's.
  EXPECT_EQ(Log.Events, (std::vector<String>{"key o", "change", "key r", "change"}));
  combo->SelectAll();
  EXPECT_EQ(combo->SelText(), "or");
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->Text(), "saule");
  // The text and the choice survive a re-created window.
  combo->SetSorted(false);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "saule");
}

TEST_F(ListControlTest, OwnerDrawnComboMeasuresAndDrawsItsRows) {
  auto* combo = new TComboBox(Form.get());
  combo->SetBounds(10, 10, 160, 21);
  combo->SetStyle(csOwnerDrawVariable);
  combo->OnMeasureItem = TMeasureItemEvent(&Log, &TListLog::MeasureItem);
  combo->OnDrawItem = TDrawItemEvent(&Log, &TListLog::DrawItem);
  for (const char* s : {"a", "b", "c"}) combo->Items()->Add(s);
  combo->SetParent(Form.get());
  combo->SetItemIndex(1);
  combo->SetDroppedDown(true);
  // The dropped list paints its rows when its window is shown.
  EXPECT_TRUE(WaitFor("the dropped list to draw its last row",
                      [&] { return std::find(Log.Drawn.begin(), Log.Drawn.end(), 2) != Log.Drawn.end(); }));
  EXPECT_EQ(Log.Measured, (std::vector<int>{0, 1, 2}));
  // The edit part shows the choice through the same event.
  EXPECT_NE(std::find(Log.Drawn.begin(), Log.Drawn.end(), 1), Log.Drawn.end());
  EXPECT_NE(std::find(Log.Drawn.begin(), Log.Drawn.end(), 2), Log.Drawn.end());
  combo->SetDroppedDown(false);
}

}  // namespace
