// Tests of the tree-view combo in a tool bar on screen: the item's text and its node, the popup tree
// walked with the keys and chosen with Enter, single and double clicks on nodes, the choice refused
// by OnCanSelectNode, the node's picture drawn before the text, and the "Select item" dialog whose
// size the next drop-down keeps.
#include "ImageList.h"
#include "ItemsTestSupport.h"
#include "StdCtrls.h"
#include "kwBarTreeViewCombo.h"

namespace {

class TreeViewCombos : public BarItemsTest {
 public:
  void SetUp() override {
    BarItemsTest::SetUp();
    Images = new TImageList(Form.get());
    Images->SetWidth(16);
    Images->SetHeight(16);
    for (TColor colour : {clRed, clBlue}) {
      TBitmap glyph;
      MakeGlyph(&glyph, 16, colour, 2);
      Images->AddMasked(&glyph, clFuchsia);
    }
    Bar = AddBar("Lieux", false);
    Combo = AddItem<TkwBarTreeViewCombo>("Lieu");
    Combo->SetWidth(160);
    Combo->OnChange = Counting();
    TTreeNodes* nodes = Combo->Items();
    Europe = nodes->Add(nullptr, "Europe");
    France = nodes->AddChild(Europe, "France");
    Italie = nodes->AddChild(Europe, "Italie");
    Asie = nodes->Add(nullptr, "Asie");
    Japon = nodes->AddChild(Asie, "Japon");
    France->SetImageIndex(0);
    France->SetSelectedIndex(0);
    Japon->SetImageIndex(1);
    Japon->SetSelectedIndex(1);
    Link(Bar, Combo);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  TkwBarTreeViewComboControl* Control() const {
    return dynamic_cast<TkwBarTreeViewComboControl*>(Combo->GetLink(0)->Control());
  }
  TkwBarTreeView* Tree() const { return Combo->TreeView(); }
  // Two presses and releases at the same point, quick enough to make a double click (the tree
  // follows a press in a loop of its own: nothing waits in between).
  void DoubleClickAt(TPoint Point) {
    AwaitNoDoubleClick(Point);
    MoveMouseTo(Point);
    MouseButton(true, Point);
    MouseButton(false, Point);
    MouseButton(true, Point);
    ReleaseButton(Point);
  }
  bool TreeShown() const { return Tree()->HandleAllocated() && IsWindowVisible(Tree()->Handle()); }
  [[nodiscard]] testing::AssertionResult OpenTree() {
    ClickAt(CentreOf(Combo->GetLink(0)));
    if (auto r = WaitFor("the editor open", [&] { return Control() && Control()->IsEditing(); }); !r) return r;
    if (!Control()->IsDroppedDown()) PressCombo(VK_MENU, VK_DOWN);
    return WaitFor("the tree shown", [&] {
      return Control()->IsDroppedDown() && TreeShown() && !GetUpdateRect(Tree()->Handle(), nullptr, FALSE);
    });
  }
  [[nodiscard]] testing::AssertionResult Closed() {
    return WaitFor("the combo closed", [&] { return Control() && !Control()->IsEditing() && !TreeShown(); });
  }
  // The middle of a node's label, on screen.
  TPoint LabelCentre(TTreeNode* Node) const {
    TRect r = Node->DisplayRect(true);
    TPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    ClientToScreen(Tree()->Handle(), AsPOINT(&p));
    return p;
  }
  void RefuseJapon(TkwBarTreeViewCombo*, TTreeNode* Node, bool& CanSelect) {
    ++Asked;
    if (Node == Japon) CanSelect = false;
  }
  TImageList* Images = nullptr;
  TkwBar* Bar = nullptr;
  TkwBarTreeViewCombo* Combo = nullptr;
  TTreeNode *Europe = nullptr, *France = nullptr, *Italie = nullptr, *Asie = nullptr, *Japon = nullptr;
  int Asked = 0;
};

TEST_F(TreeViewCombos, TheTextFindsItsNodeWhateverTheCaseAndADeletedNodeLeavesTheText) {
  struct Case {
    const char* Text;
    TTreeNode* TreeViewCombos::*Node;
  };
  const Case cases[] = {{"Italie", &TreeViewCombos::Italie},
                        {"JAPON", &TreeViewCombos::Japon},
                        {"Europe", &TreeViewCombos::Europe},
                        {"Atlantide", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    Combo->SetText(c.Text);
    EXPECT_EQ(Combo->Text(), c.Text);
    EXPECT_EQ(Combo->SelectedNode(), c.Node ? this->*c.Node : nullptr);
  }
  Combo->SetText("Japon");
  ASSERT_EQ(Combo->SelectedNode(), Japon);
  Clicks.clear();
  Japon->Delete();
  Japon = nullptr;
  EXPECT_EQ(Combo->SelectedNode(), nullptr);
  EXPECT_EQ(Combo->Text(), "Japon");
  EXPECT_EQ(Clicks[Combo], 0) << "the text did not change";
}

// Down moves in the popup tree while the combo keeps the keys; Enter chooses, closes the tree and
// changes the item once; Escape leaves the item as it was.
TEST_F(TreeViewCombos, TheKeysWalkThePopupTreeAndEnterChooses) {
  Combo->SetText("Europe");
  Clicks.clear();
  ASSERT_TRUE(OpenTree());
  EXPECT_EQ(Tree()->Selected(), Europe) << "the tree opens on the item's node";
  RECT w;
  GetWindowRect(Tree()->Handle(), &w);
  EXPECT_EQ(w.right - w.left, 150);
  EXPECT_EQ(w.bottom - w.top, 200);
  TRect label = Europe->DisplayRect(true);
  MapWindowPoints(Tree()->Handle(), nullptr, reinterpret_cast<POINT*>(&label), 2);
  EXPECT_TRUE(ScreenRectHas(label, GetSysColor(COLOR_HIGHLIGHT))) << "the selection shows without the focus";
  TRect link = ScreenRectOf(Combo->GetLink(0));
  SaveScreenArea(TRect(std::min(link.Left, int(w.left)) - 4, link.Top - 4, std::max(link.Right, int(w.right)) + 4,
                       w.bottom + 4),
                 "tree-view-combo-open");
  Press(VK_RIGHT);
  Press(VK_DOWN);
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("Italie selected", [&] { return Tree()->Selected() == Italie; }));
  EXPECT_EQ(Combo->Text(), "Europe") << "nothing chosen yet";
  Press(VK_RETURN);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Text(), "Italie");
  EXPECT_EQ(Combo->SelectedNode(), Italie);
  EXPECT_EQ(Clicks[Combo], 1);

  ASSERT_TRUE(OpenTree());
  Press(VK_UP);
  ASSERT_TRUE(WaitFor("France selected", [&] { return Tree()->Selected() == France; }));
  Press(VK_ESCAPE);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Text(), "Italie");
  EXPECT_EQ(Clicks[Combo], 1);
}

TEST_F(TreeViewCombos, ARefusedNodeKeepsTheTreeOpen) {
  Combo->OnCanSelectNode = TkwBarCanSelectNodeEvent(static_cast<TreeViewCombos*>(this), &TreeViewCombos::RefuseJapon);
  Combo->SetText("Japon");
  Clicks.clear();
  ASSERT_TRUE(OpenTree());
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the choice asked for", [&] { return Asked == 1; }));
  EXPECT_TRUE(TreeShown());
  EXPECT_TRUE(Control()->IsDroppedDown());
  EXPECT_EQ(Clicks[Combo], 0);
  Press(VK_UP);
  ASSERT_TRUE(WaitFor("Asie selected", [&] { return Tree()->Selected() == Asie; }));
  Press(VK_RETURN);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Text(), "Asie");
  EXPECT_EQ(Clicks[Combo], 1);
}

// With ChooseByDblClick off a click on a label chooses, a click on an expand button does not; with
// it on (the default) a single click only selects and a double click chooses.
TEST_F(TreeViewCombos, ClicksAndDoubleClicksOnNodes) {
  Combo->SetChooseByDblClick(false);
  Combo->SetFullExpand(false);
  Clicks.clear();
  ASSERT_TRUE(OpenTree());
  Europe->Collapse(false);
  Asie->Collapse(false);
  ASSERT_TRUE(PumpUntil([&] { return !Europe->Expanded() && !Asie->Expanded(); }));
  // The expand button lies left of the label: the first point the tree says is on it.
  TRect label = Asie->DisplayRect(true);
  TPoint button(-1, (label.Top + label.Bottom) / 2);
  for (int x = label.Left; x >= 0 && button.X < 0; --x) {
    TVHITTESTINFO info{};
    info.pt = {x, button.Y};
    SendMessageA(Tree()->Handle(), TVM_HITTEST, 0, LPARAM(&info));
    if (info.flags & TVHT_ONITEMBUTTON) button.X = x;
  }
  ASSERT_GE(button.X, 0) << "no expand button found";
  ClientToScreen(Tree()->Handle(), AsPOINT(&button));
  ClickAt(button);
  ASSERT_TRUE(WaitFor("Asie expanded", [&] { return Asie->Expanded(); }));
  EXPECT_TRUE(TreeShown()) << "the expand button chooses nothing";
  EXPECT_EQ(Clicks[Combo], 0);
  AwaitNoDoubleClick(LabelCentre(Japon));
  ClickAt(LabelCentre(Japon));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Text(), "Japon");
  EXPECT_EQ(Clicks[Combo], 1);

  Combo->SetChooseByDblClick(true);
  ASSERT_TRUE(OpenTree());
  AwaitNoDoubleClick(LabelCentre(Asie));
  ClickAt(LabelCentre(Asie));
  ASSERT_TRUE(WaitFor("Asie selected", [&] { return Tree()->Selected() == Asie; }));
  EXPECT_TRUE(TreeShown());
  EXPECT_EQ(Combo->Text(), "Japon");
  DoubleClickAt(LabelCentre(Asie));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Text(), "Asie");
  EXPECT_EQ(Clicks[Combo], 2);
}

// The chosen node's picture shows before the text in the bar; a node without picture, or none,
// shows none.
TEST_F(TreeViewCombos, TheNodesPictureIsDrawnInTheEdit) {
  Combo->SetImages(Images);
  Combo->SetText("France");
  ASSERT_TRUE(Painted());
  TRect r = ScreenRectOf(Combo->GetLink(0));
  SaveScreenArea(r, "tree-view-combo-picture");
  EXPECT_TRUE(ScreenRectHas(r, RGB(255, 0, 0)));
  EXPECT_FALSE(ScreenRectHas(r, RGB(0, 0, 255)));
  EXPECT_GE(r.Height(), 16 + 6);
  Combo->SetText("Japon");
  ASSERT_TRUE(Painted());
  EXPECT_FALSE(ScreenRectHas(r, RGB(255, 0, 0)));
  EXPECT_TRUE(ScreenRectHas(r, RGB(0, 0, 255)));
  Japon->Delete();
  Japon = nullptr;
  ASSERT_TRUE(Painted());
  EXPECT_FALSE(ScreenRectHas(r, RGB(0, 0, 255))) << "the deleted node's picture is gone";
  EXPECT_EQ(Combo->Text(), "Japon");
  Combo->SetShowImageInEdit(false);
  Combo->SetText("France");
  ASSERT_TRUE(Painted());
  EXPECT_FALSE(ScreenRectHas(r, RGB(255, 0, 0)));
}

// A click on the item (from a menu, where no editor runs) opens the "Select item" dialog on the
// item's node; OK takes the node selected, Cancel nothing; the dialog's size is the next
// drop-down's.
TEST_F(TreeViewCombos, TheSelectItemDialog) {
  Combo->SetText("France");
  Clicks.clear();
  struct Seen {
    String Caption;
    TTreeNode* Selected = nullptr;
    String SelectedText;
    int Buttons = 0;
    int FirstWidth = 0, FirstHeight = 0, TreeWidth = 0, TreeHeight = 0;
  } seen;
  Later([&] {
    TForm* form = Combo->SelectDialog();
    TkwBarTreeView* tree = Combo->DialogTree();
    if (!form || !tree) return;
    seen.Caption = form->Caption();
    if (TTreeNode* node = tree->Selected()) seen.SelectedText = node->Text();
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (dynamic_cast<TButton*>(form->Components(i))) ++seen.Buttons;
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT w;
    GetWindowRect(form->Handle(), &w);
    SaveScreenArea(TRect(w.left, w.top, w.right, w.bottom), "tree-view-combo-dialog");
    seen.FirstWidth = tree->ClientWidth();
    seen.FirstHeight = tree->ClientHeight();
    // The user makes the dialog larger and picks Japon.
    form->SetWidth(form->Width() + 60);
    form->SetHeight(form->Height() + 40);
    seen.TreeWidth = tree->ClientWidth();
    seen.TreeHeight = tree->ClientHeight();
    tree->FullExpand();
    tree->SetSelected(tree->FindNodeByText("Japon"));
    form->SetModalResult(mrOk);
  });
  Tree()->HandleNeeded();
  int popupWidth = Tree()->ClientWidth(), popupHeight = Tree()->ClientHeight();
  Combo->Click();
  EXPECT_EQ(seen.Caption, "Select item");
  EXPECT_EQ(seen.SelectedText, "France");
  EXPECT_EQ(seen.Buttons, 2);
  EXPECT_EQ(Combo->Text(), "Japon");
  EXPECT_EQ(Combo->SelectedNode(), Japon);
  EXPECT_EQ(Clicks[Combo], 1);
  EXPECT_EQ(Combo->SelectDialog(), nullptr) << "the dialog is freed";
  EXPECT_EQ(seen.FirstWidth, popupWidth) << "the dialog's tree starts with the popup's size";
  EXPECT_EQ(seen.FirstHeight, popupHeight);
  EXPECT_EQ(seen.TreeWidth, popupWidth + 60) << "the tree follows the dialog's size";
  EXPECT_EQ(seen.TreeHeight, popupHeight + 40);
  EXPECT_EQ(Tree()->ClientWidth(), seen.TreeWidth);
  EXPECT_EQ(Tree()->ClientHeight(), seen.TreeHeight);

  Later([&] {
    if (TkwBarTreeView* tree = Combo->DialogTree()) tree->SetSelected(tree->FindNodeByText("Italie"));
    if (TForm* form = Combo->SelectDialog()) form->SetModalResult(mrCancel);
  });
  Combo->Click();
  EXPECT_EQ(Combo->Text(), "Japon");
  EXPECT_EQ(Clicks[Combo], 1);

  // The next drop-down has the dialog's size.
  ASSERT_TRUE(OpenTree());
  RECT client;
  GetClientRect(Tree()->Handle(), &client);
  EXPECT_EQ(client.right, seen.TreeWidth);
  EXPECT_EQ(client.bottom, seen.TreeHeight);
  Press(VK_ESCAPE);
  ASSERT_TRUE(Closed());
}

}  // namespace
