// Tests of the common controls on the virtual desktop: page control navigation and its change
// events, hidden tabs, status bar panels, tree nodes, header sections, the up-down with its
// associated edit, the progress bar and the splitter's drag.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>

#include "ComCtrls.h"
#include "Splitter.h"
#include "TestForms.h"

namespace {

// Presses the keys in order and releases them in reverse (Ctrl+Shift+Tab...), and handled.
void PressChord(std::initializer_list<WORD> Keys) {
  std::vector<INPUT> in;
  for (WORD k : Keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    i.ki.wScan = WORD(MapVirtualKeyA(k, MAPVK_VK_TO_VSC));
    in.push_back(i);
  }
  for (auto it = std::rbegin(Keys); it != std::rend(Keys); ++it) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *it;
    i.ki.wScan = WORD(MapVirtualKeyA(*it, MAPVK_VK_TO_VSC));
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  SendKeys(in, *Keys.begin());
}


class TEventLog : public TObject {
 public:
  std::vector<String> Events;
  bool AllowChange = true;
  int SplitterLimit = -1;
  void Changing(TObject*, bool& Allow) {
    Events.push_back("changing");
    Allow = AllowChange;
  }
  void Changed(TObject*) { Events.push_back("change"); }
  void Named(TObject* Sender, const char* What) { Events.push_back(String(What) + " " + static_cast<TComponent*>(Sender)->Name()); }
  void Shown(TObject* Sender) { Named(Sender, "show"); }
  void Hidden(TObject* Sender) { Named(Sender, "hide"); }
  void Entered(TObject* Sender) { Named(Sender, "enter"); }
  void Exited(TObject* Sender) { Named(Sender, "exit"); }
  void NodeChanging(TObject*, TTreeNode* Node, bool& Allow) {
    Events.push_back("changing " + Node->Text());
    Allow = AllowChange;
  }
  void NodeChanged(TObject*, TTreeNode* Node) { Events.push_back("change " + (Node ? Node->Text() : String("-"))); }
  void NodeExpanding(TObject*, TTreeNode* Node, bool& Allow) {
    Events.push_back("expanding " + Node->Text());
    Allow = AllowChange;
  }
  void NodeExpanded(TObject*, TTreeNode* Node) { Events.push_back("expanded " + Node->Text()); }
  void NodeCollapsed(TObject*, TTreeNode* Node) { Events.push_back("collapsed " + Node->Text()); }
  void NodeDeleted(TObject*, TTreeNode* Node) { Events.push_back("deleted " + Node->Text()); }
  void SectionClicked(THeaderControl*, THeaderSection* Section) { Events.push_back("click " + Section->Text()); }
  void SectionResized(THeaderControl*, THeaderSection* Section) {
    Events.push_back("resize " + Section->Text() + " " + std::to_string(Section->Width()));
  }
  void UpDownClicked(TObject*, TUDBtnType Button) { Events.push_back(Button == btNext ? "next" : "prev"); }
  void CanResize(TObject*, int& NewSize, bool& Accept) {
    if (SplitterLimit >= 0 && NewSize > SplitterLimit) Accept = false;
  }
  void Moved(TObject*) { Events.push_back("moved"); }
};

class ComCtrlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(new TForm(nullptr));
    Form->SetBounds(60, 60, 460, 340);
    Form->Show();
    Activate(Form.get());
  }
  void TearDown() override {
    PumpPending();
    Form.reset();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  template <class T>
  T* Make(TWinControl* Parent, const char* Name) {
    auto* c = new T(Form.get());
    c->SetName(Name);
    c->SetParent(Parent);
    return c;
  }
  TModalScript Script;
  TFormPtr<TForm> Form;
  TEventLog Log;
};

// A page control with three sheets, each holding an edit.
class PageControlTest : public ComCtrlsTest {
 protected:
  void SetUp() override {
    ComCtrlsTest::SetUp();
    Pages = Make<TPageControl>(Form.get(), "Pages");
    Pages->SetBounds(10, 10, 400, 250);
    for (int i = 0; i < 3; ++i) {
      String n = std::to_string(i + 1);
      Sheets[i] = Make<TTabSheet>(Pages, ("Sheet" + n).c_str());
      Sheets[i]->SetCaption("Page " + n);
      Edits[i] = Make<TTestEdit>(Sheets[i], ("Edit" + n).c_str());
      Edits[i]->SetBounds(10, 10, 100, 21);
      Sheets[i]->OnShow = TNotifyEvent(&Log, &TEventLog::Shown);
      Sheets[i]->OnHide = TNotifyEvent(&Log, &TEventLog::Hidden);
      Sheets[i]->OnEnter = TNotifyEvent(&Log, &TEventLog::Entered);
      Sheets[i]->OnExit = TNotifyEvent(&Log, &TEventLog::Exited);
    }
    Pages->OnChanging = TTabChangingEvent(&Log, &TEventLog::Changing);
    Pages->OnChange = TNotifyEvent(&Log, &TEventLog::Changed);
    PumpPending();
  }
  int NativeTabCount() { return int(SendMessageA(Pages->Handle(), TCM_GETITEMCOUNT, 0, 0)); }
  String NativeTabText(int Index) {
    char text[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(Pages->Handle(), TCM_GETITEMA, WPARAM(Index), LPARAM(&item));
    return text;
  }
  TPageControl* Pages = nullptr;
  TTabSheet* Sheets[3] = {};
  TTestEdit* Edits[3] = {};
};

TEST_F(PageControlTest, PagesFillTheDisplayAreaAndOnlyTheActiveOneShows) {
  EXPECT_EQ(Pages->PageCount(), 3);
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
  EXPECT_EQ(Pages->TabIndex(), 0);
  EXPECT_EQ(NativeTabCount(), 3);
  EXPECT_EQ(NativeTabText(2), "Page 3");
  EXPECT_EQ(Sheets[0]->BoundsRect(), Pages->DisplayRect());
  EXPECT_TRUE(IsWindowVisible(Sheets[0]->Handle()));
  EXPECT_FALSE(Sheets[1]->Showing());
  // Setting the page from code shows and hides sheets but is not the user's change.
  Log.Events.clear();
  Pages->SetActivePage(Sheets[2]);
  EXPECT_EQ(Pages->TabIndex(), 2);
  EXPECT_EQ(Pages->ActivePageIndex(), 2);
  EXPECT_TRUE(Sheets[2]->Showing());
  EXPECT_FALSE(Sheets[0]->Showing());
  EXPECT_EQ(Log.Events, (std::vector<String>{"show Sheet3", "hide Sheet1"}));
  Sheets[1]->SetCaption("Deuxième"_a);
  EXPECT_EQ(NativeTabText(1), "Deuxième"_a);
  Sheets[2]->SetPageIndex(0);
  EXPECT_EQ(Pages->Pages(0), Sheets[2]);
  EXPECT_EQ(NativeTabText(0), "Page 3");
  EXPECT_EQ(Pages->TabIndex(), 0);
  EXPECT_THROW(Pages->Pages(3), EListError);
}

TEST_F(PageControlTest, ClickingATabAsksOnChangingWhichMayRefuse) {
  TPoint tab = Pages->ClientToScreen(TPoint((Pages->TabRect(1).Left + Pages->TabRect(1).Right) / 2,
                                            (Pages->TabRect(1).Top + Pages->TabRect(1).Bottom) / 2));
  Log.AllowChange = false;
  Log.Events.clear();
  ClickAt(tab);
  EXPECT_EQ(Log.Events, (std::vector<String>{"changing"}));
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
  EXPECT_EQ(Pages->TabIndex(), 0);
  Log.AllowChange = true;
  Log.Events.clear();
  ClickAt(tab);
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
  EXPECT_EQ(Log.Events, (std::vector<String>{"changing", "show Sheet2", "hide Sheet1", "change"}));
}

TEST_F(PageControlTest, CtrlTabTurnsThePagesSkippingHiddenTabs) {
  Sheets[1]->SetTabVisible(false);
  EXPECT_EQ(NativeTabCount(), 2);
  EXPECT_EQ(Sheets[1]->TabIndex(), -1);
  EXPECT_EQ(Sheets[2]->TabIndex(), 1);
  EXPECT_EQ(NativeTabText(1), "Page 3");
  ASSERT_TRUE(GiveFocus(Edits[0]));
  Log.Events.clear();
  PressChord({VK_CONTROL, VK_TAB});
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_EQ(Pages->TabIndex(), 1);
  // The focus follows to the new page: the old sheet is left, the new one entered.
  EXPECT_EQ(GetFocus(), Edits[2]->Handle());
  EXPECT_EQ(Log.Events,
            (std::vector<String>{"changing", "show Sheet3", "exit Sheet1", "enter Sheet3", "hide Sheet1", "change"}));
  PressChord({VK_CONTROL, VK_SHIFT, VK_TAB});
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
  // A refused change leaves the page, and the key does nothing else.
  Log.AllowChange = false;
  PressChord({VK_CONTROL, VK_TAB});
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
  // The active page may have its tab hidden: it stays shown, and no tab is selected.
  Log.AllowChange = true;
  Pages->SetActivePage(Sheets[1]);
  EXPECT_TRUE(Sheets[1]->Showing());
  EXPECT_EQ(Pages->TabIndex(), -1);
  Sheets[1]->SetTabVisible(true);
  EXPECT_EQ(Pages->TabIndex(), 1);
}

TEST_F(PageControlTest, FreeingASheetLeavesThePageList) {
  Pages->SetActivePage(Sheets[1]);
  delete Sheets[1];
  EXPECT_EQ(Pages->PageCount(), 2);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_EQ(NativeTabCount(), 2);
  Sheets[0]->SetPageControl(nullptr);
  EXPECT_EQ(Pages->PageCount(), 1);
  EXPECT_EQ(Sheets[0]->PageControl(), nullptr);
  EXPECT_EQ(Sheets[0]->PageIndex(), -1);
}

TEST_F(ComCtrlsTest, TabControlTabsAndChangeEvents) {
  auto* tabs = Make<TTabControl>(Form.get(), "Tabs");
  tabs->SetBounds(10, 10, 300, 100);
  tabs->Tabs()->SetText("Nord\r\nSud\r\nEst");
  tabs->OnChanging = TTabChangingEvent(&Log, &TEventLog::Changing);
  tabs->OnChange = TNotifyEvent(&Log, &TEventLog::Changed);
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
  tabs->SetTabIndex(1);
  TRect r = tabs->TabRect(2);
  EXPECT_EQ(tabs->IndexOfTabAt((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), 2);
  ClickAt(tabs->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)));
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(Log.Events, (std::vector<String>{"changing", "change"}));
  tabs->Tabs()->Delete(2);
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_LT(tabs->DisplayRect().Top + tabs->DisplayRect().Height(), tabs->Height() + 1);
}

TEST_F(ComCtrlsTest, StatusBarShowsItsPanelsAndSimpleText) {
  auto* bar = Make<TStatusBar>(Form.get(), "Bar");
  for (const char* text : {"Prêt"_a, "Fiche 3/12", ""}) {
    TStatusPanel* p = bar->Panels()->Add();
    p->SetText(text);
    p->SetWidth(120);
  }
  bar->Panels()->Items(1)->SetAlignment(taRightJustify);
  EXPECT_EQ(bar->Align(), alBottom);
  EXPECT_EQ(bar->Top() + bar->Height(), Form->ClientHeight());
  EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 3);
  EXPECT_EQ(bar->PartText(0), "Prêt"_a);
  // The native bar keeps the alignment tabs in the text it stores.
  EXPECT_EQ(bar->PartText(1), "\t\tFiche 3/12");
  bar->Panels()->Items(0)->SetText("Modifié"_a);
  EXPECT_EQ(bar->PartText(0), "Modifié"_a);
  int edges[4] = {};
  SendMessageA(bar->Handle(), SB_GETPARTS, 4, LPARAM(edges));
  EXPECT_EQ(edges[0], 120);
  EXPECT_EQ(edges[1], 240);
  bar->Panels()->Items(0)->SetWidth(80);
  SendMessageA(bar->Handle(), SB_GETPARTS, 4, LPARAM(edges));
  EXPECT_EQ(edges[1], 200);
  bar->SetSimplePanel(true);
  bar->SetSimpleText("Enregistrement...");
  EXPECT_TRUE(SendMessageA(bar->Handle(), SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(bar->PartText(0), "Enregistrement...");
  bar->Panels()->Delete(2);
  bar->SetSimplePanel(false);
  EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 2);
}

class TreeViewTest : public ComCtrlsTest {
 protected:
  void SetUp() override {
    ComCtrlsTest::SetUp();
    Tree = new TTreeView(Form.get());
    Tree->SetBounds(10, 10, 250, 250);
    // Nodes made before the window exists wait for it.
    Wetlands = Tree->Items()->Add(nullptr, "Zones humides");
    Marsh = Tree->Items()->AddChild(Wetlands, "Marais");
    Peat = Tree->Items()->AddChild(Wetlands, "Tourbière"_a);
    Tree->Items()->AddChild(Peat, "Haut-marais");
    Rivers = Tree->Items()->Add(Wetlands, "Cours d'eau");
    Tree->OnChanging = TTVChangingEvent(&Log, &TEventLog::NodeChanging);
    Tree->OnChange = TTVChangedEvent(&Log, &TEventLog::NodeChanged);
    Tree->OnExpanding = TTVExpandingEvent(&Log, &TEventLog::NodeExpanding);
    Tree->OnExpanded = TTVExpandedEvent(&Log, &TEventLog::NodeExpanded);
    Tree->OnCollapsed = TTVExpandedEvent(&Log, &TEventLog::NodeCollapsed);
    Tree->OnDeletion = TTVExpandedEvent(&Log, &TEventLog::NodeDeleted);
    Tree->SetParent(Form.get());
    PumpPending();
  }
  TTreeView* Tree = nullptr;
  TTreeNode* Wetlands = nullptr;
  TTreeNode* Marsh = nullptr;
  TTreeNode* Peat = nullptr;
  TTreeNode* Rivers = nullptr;
};

TEST_F(TreeViewTest, NodesKeepTheirPlaceInTheTreeAndInTheWindow) {
  EXPECT_EQ(Tree->Items()->Count(), 5);
  std::vector<String> order;
  for (int i = 0; i < Tree->Items()->Count(); ++i) order.push_back(Tree->Items()->Item(i)->Text());
  EXPECT_EQ(order, (std::vector<String>{"Zones humides", "Marais", "Tourbière"_a, "Haut-marais", "Cours d'eau"}));
  EXPECT_EQ(Peat->Item(0)->Level(), 2);
  EXPECT_EQ(Peat->Index(), 1);
  EXPECT_EQ(Rivers->AbsoluteIndex(), 4);
  EXPECT_EQ(Rivers->GetPrev(), Peat->Item(0));
  EXPECT_TRUE(Peat->Item(0)->HasAsParent(Wetlands));
  EXPECT_EQ(SendMessageA(Tree->Handle(), TVM_GETCOUNT, 0, 0), 5);
  ASSERT_NE(Peat->ItemId(), nullptr);
  EXPECT_EQ(Tree->NodeFromItem(Peat->ItemId()), Peat);
  TTreeNode* first = Tree->Items()->AddChildFirst(Wetlands, "Lagune");
  EXPECT_EQ(Wetlands->Item(0), first);
  EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(Tree->Handle(), TVM_GETNEXTITEM, TVGN_CHILD,
                                                     LPARAM(Wetlands->ItemId()))),
            first->ItemId());
  TTreeNode* before = Tree->Items()->Insert(Rivers, "Mare");
  EXPECT_EQ(Rivers->GetPrevSibling(), before);
  EXPECT_THROW(Tree->Items()->Item(7), EListError);
  Log.Events.clear();
  Peat->Delete();
  EXPECT_EQ(Log.Events, (std::vector<String>{"deleted Haut-marais", "deleted Tourbière"_a}));
  EXPECT_EQ(Tree->Items()->Count(), 5);
  EXPECT_EQ(SendMessageA(Tree->Handle(), TVM_GETCOUNT, 0, 0), 5);
}

TEST_F(TreeViewTest, ExpandingAndSelectingByProgramAndByUser) {
  Log.Events.clear();
  Wetlands->Expand(false);
  EXPECT_TRUE(Wetlands->Expanded());
  EXPECT_FALSE(Peat->Expanded());
  EXPECT_EQ(Log.Events, (std::vector<String>{"expanding Zones humides", "expanded Zones humides"}));
  EXPECT_TRUE(SendMessageA(Tree->Handle(), TVM_GETITEMSTATE, WPARAM(Wetlands->ItemId()), TVIS_EXPANDED) &
              TVIS_EXPANDED);
  // The user clicks a node: it is asked for, then selected.
  Log.Events.clear();
  TRect r = Marsh->DisplayRect(true);
  ASSERT_FALSE(r.IsEmpty());
  ClickAt(Tree->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)));
  EXPECT_EQ(Tree->Selected(), Marsh);
  EXPECT_TRUE(Marsh->Selected());
  EXPECT_EQ(Tree->GetNodeAt((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), Marsh);
  EXPECT_EQ(Log.Events, (std::vector<String>{"changing Marais", "change Marais"}));
  // Keys: Down selects the next node, Right opens it.
  Press(VK_DOWN);
  EXPECT_EQ(Tree->Selected(), Peat);
  Press(VK_RIGHT);
  EXPECT_TRUE(Peat->Expanded());
  EXPECT_EQ(Log.Events.back(), "expanded Tourbière"_a);
  // A refused change keeps the selection.
  Log.AllowChange = false;
  Tree->SetSelected(Rivers);
  EXPECT_EQ(Tree->Selected(), Peat);
  // The nodes, their expanded state and the selection survive a re-created window.
  Log.AllowChange = true;
  Tree->SetShowLines(false);
  EXPECT_EQ(SendMessageA(Tree->Handle(), TVM_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(Tree->Selected(), Peat);
  EXPECT_TRUE(SendMessageA(Tree->Handle(), TVM_GETITEMSTATE, WPARAM(Peat->ItemId()), TVIS_EXPANDED) & TVIS_EXPANDED);
  Log.Events.clear();
  Tree->FullCollapse();
  EXPECT_FALSE(Wetlands->Expanded());
  EXPECT_FALSE(Peat->Expanded());
  EXPECT_NE(std::find(Log.Events.begin(), Log.Events.end(), "collapsed Zones humides"), Log.Events.end());
}

TEST_F(ComCtrlsTest, HeaderSectionsReportClicksAndResizes) {
  auto* header = Make<THeaderControl>(Form.get(), "Header");
  for (const char* text : {"Code", "Nom", "Surface"}) {
    THeaderSection* s = header->Sections()->Add();
    s->SetText(text);
    s->SetWidth(80);
  }
  header->Sections()->Items(1)->SetWidth(120);
  header->OnSectionClick = TSectionNotifyEvent(&Log, &TEventLog::SectionClicked);
  header->OnSectionResize = TSectionNotifyEvent(&Log, &TEventLog::SectionResized);
  EXPECT_EQ(SendMessageA(header->Handle(), HDM_GETITEMCOUNT, 0, 0), 3);
  RECT item{};
  SendMessageA(header->Handle(), HDM_GETITEMRECT, 2, LPARAM(&item));
  EXPECT_EQ(item.left, 200);
  EXPECT_EQ(header->Sections()->Items(2)->Left(), 200);
  EXPECT_EQ(header->Sections()->Items(2)->Right(), 280);
  ASSERT_TRUE(Painted(header));
  ClickAt(header->ClientToScreen(TPoint(230, header->Height() / 2)));
  EXPECT_EQ(Log.Events, (std::vector<String>{"click Surface"}));
  // Dragging the divider after "Code" widens it.
  Log.Events.clear();
  DragMouse(header->ClientToScreen(TPoint(79, header->Height() / 2)),
            header->ClientToScreen(TPoint(119, header->Height() / 2)));
  EXPECT_NEAR(header->Sections()->Items(0)->Width(), 120, 2);
  ASSERT_FALSE(Log.Events.empty());
  EXPECT_EQ(Log.Events.back().substr(0, 11), "resize Code");
  // Limits hold for the program too.
  header->Sections()->Items(1)->SetMaxWidth(100);
  EXPECT_EQ(header->Sections()->Items(1)->Width(), 100);
  SendMessageA(header->Handle(), HDM_GETITEMRECT, 1, LPARAM(&item));
  EXPECT_EQ(item.right - item.left, 100);
}

TEST_F(ComCtrlsTest, UpDownStepsTheValueOfItsAssociatedEdit) {
  auto* edit = Make<TTestEdit>(Form.get(), "Value");
  edit->SetBounds(10, 10, 80, 21);
  auto* updown = Make<TUpDown>(Form.get(), "Spin");
  updown->SetMin(0);
  updown->SetMax(10);
  updown->SetPosition(5);
  updown->SetAssociate(edit);
  updown->OnClick = TUDClickEvent(&Log, &TEventLog::UpDownClicked);
  updown->OnChanging = TUDChangingEvent(&Log, &TEventLog::Changing);
  PumpPending();
  EXPECT_EQ(edit->Text(), "5");
  // The up-down sits against the edit's right edge.
  EXPECT_EQ(updown->Left(), edit->Left() + edit->Width());
  ClickAt(updown->ClientToScreen(TPoint(updown->Width() / 2, 3)));
  EXPECT_EQ(updown->Position(), 6);
  EXPECT_EQ(edit->Text(), "6");
  EXPECT_EQ(Log.Events, (std::vector<String>{"changing", "next"}));
  // The arrow keys in the edit step too; the range holds.
  ASSERT_TRUE(GiveFocus(edit));
  for (int i = 0; i < 6; ++i) Press(VK_UP);
  EXPECT_EQ(updown->Position(), 10);
  EXPECT_EQ(edit->Text(), "10");
  Press(VK_DOWN);
  EXPECT_EQ(edit->Text(), "9");
  EXPECT_EQ(Log.Events.back(), "prev");
  Log.AllowChange = false;
  Press(VK_DOWN);
  EXPECT_EQ(updown->Position(), 9);
  EXPECT_EQ(edit->Text(), "9");
  // The associated edit going away is noticed.
  delete edit;
  EXPECT_EQ(updown->Associate(), nullptr);
  updown->SetPosition(42);
  EXPECT_EQ(updown->Position(), 10);
}

TEST_F(ComCtrlsTest, ProgressBarPositionStaysInItsRange) {
  auto* bar = Make<TProgressBar>(Form.get(), "Progress");
  bar->SetMax(50);
  bar->SetStep(20);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 20);
  bar->StepIt();
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 50);
  bar->StepBy(-45);
  EXPECT_EQ(bar->Position(), 5);
  bar->SetMin(10);
  EXPECT_EQ(bar->Position(), 10);
  bar->SetPosition(-3);
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, TRUE, 0), 10);
  // A new window keeps the range and the position.
  bar->SetSmooth(true);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 10);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, FALSE, 0), 50);
}

TEST_F(ComCtrlsTest, SplitterDragResizesTheControlBeforeIt) {
  auto* left = Make<TTestPanel>(Form.get(), "LeftPanel");
  left->SetWidth(100);
  left->SetAlign(alLeft);
  auto* splitter = Make<TSplitter>(Form.get(), "Split");
  splitter->SetLeft(150);
  splitter->SetAlign(alLeft);
  splitter->ResizeStyle = rsUpdate;
  splitter->OnMoved = TNotifyEvent(&Log, &TEventLog::Moved);
  splitter->OnCanResize = TCanResizeEvent(&Log, &TEventLog::CanResize);
  auto* client = Make<TTestPanel>(Form.get(), "ClientPanel");
  client->SetAlign(alClient);
  PumpPending();
  ASSERT_EQ(splitter->Left(), 100);
  EXPECT_EQ(splitter->ResizeControl(), left);
  TPoint grip = Form->ClientToScreen(TPoint(splitter->Left() + 1, 100));
  DragMouse(grip, TPoint(grip.X + 60, grip.Y));
  EXPECT_EQ(left->Width(), 160);
  EXPECT_EQ(splitter->Left(), 160);
  EXPECT_EQ(client->Left(), 163);
  EXPECT_EQ(Log.Events, (std::vector<String>{"moved"}));
  // Not below MinSize; with AutoSnap off a small size sticks to it.
  splitter->AutoSnap = false;
  grip = Form->ClientToScreen(TPoint(splitter->Left() + 1, 100));
  DragMouse(grip, TPoint(grip.X - 150, grip.Y));
  EXPECT_EQ(left->Width(), splitter->MinSize());
  // OnCanResize refuses sizes past its limit: sizes within it pass, and the last accepted one
  // stays when the drag goes further.
  Log.SplitterLimit = 80;
  grip = Form->ClientToScreen(TPoint(splitter->Left() + 1, 100));
  DragMouse(grip, TPoint(grip.X + 40, grip.Y));
  EXPECT_EQ(left->Width(), splitter->MinSize() + 40);
  grip = Form->ClientToScreen(TPoint(splitter->Left() + 1, 100));
  DragMouse(grip, TPoint(grip.X + 200, grip.Y));
  EXPECT_LE(left->Width(), 80);
  EXPECT_GE(left->Width(), splitter->MinSize() + 40);
}

}  // namespace

// Every common control a form description may name is known to the form reader once registered.
TEST(ComCtrlsRegistration, EveryCommonControlIsFoundByItsName) {
  const std::initializer_list<TClass> Classes = {TTabControl::StaticClass(),  TTabSheet::StaticClass(),
                                                 TPageControl::StaticClass(), TStatusBar::StaticClass(),
                                                 TTreeView::StaticClass(),    THeaderControl::StaticClass(),
                                                 TUpDown::StaticClass(),      TProgressBar::StaticClass(),
                                                 TImageList::StaticClass()};
  for (TClass Class : Classes) UnRegisterClass(Class);
  for (TClass Class : Classes) EXPECT_EQ(GetClass(Class->Name), nullptr);
  RegisterComCtrls();
  for (TClass Class : Classes) EXPECT_EQ(GetClass(Class->Name), Class) << Class->Name;
}
