// This file implements the combo item whose drop-down is a tree: TkwBarTreeView, the tree shown as
// a borderless, resizable popup below the combo (or in the "Select item" dialog of a click in a
// menu), in which Enter, a click or a double click on a node chooses it; TkwBarTreeViewCombo, the
// item holding the chosen node's text, with the node's pictures drawn before the text; and its
// control, TkwBarTreeViewComboControl.
#pragma once

#include "ComCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "kwBarCombo.h"

class TkwBarTreeViewCombo;

class TkwBarTreeView : public TCustomTreeView {
  VELBOR_DECLARE_CLASS(TkwBarTreeView, TCustomTreeView)
 public:
  // IsPopup: the drop-down of Combo (a top-level window), else the tree of the dialog.
  TkwBarTreeView(TComponent* AOwner, TkwBarTreeViewCombo* Combo, bool IsPopup);
  ~TkwBarTreeView() override;

  bool IsPopup() const { return FIsPopup; }
  TkwBarTreeViewCombo* Combo() const { return FCombo; }
  // Depth first, roots in order: the first node whose text equals Text, case not counted.
  TTreeNode* FindNodeByText(const String& Text) const;
  // Sizes the window so that its client area is Width x Height.
  void SetClientArea(int Width, int Height) { SetClientSize(Width, Height); }
  // Chooses the selected node, when there is one and the combo allows it.
  void Choose();
  // The close button's rectangle and whether the pointer is over it (popup only).
  const TRect& CloseButtonRect() const { return FCloseRect; }
  bool MouseAboveCloseButton() const { return FMouseAboveClose; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void Change(TTreeNode* Node) override;
  void Delete(TTreeNode* Node) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNCustomDraw(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void WMCaptureChanged(TMessage& Message);

 private:
  void OwnerWndProc(TMessage& Message);
  // A press of the popup at a client point (Double: the second of a double click): the expand
  // button toggles its node, a node's part selects it and may choose it.
  void PressAt(TPoint Point, bool Double);
  // Whether a client point lies on a node's picture, label or state picture.
  bool OnNodePart(TPoint Point) const;
  void RepaintFrame();
  void SetMouseAboveCloseButton(bool Value);

  TkwBarTreeViewCombo* FCombo;  // not owned: the combo owns its trees
  bool FIsPopup;
  HWND FOwnerWindow = nullptr;
  int FGripCorner = 0;
  TRect FGripRect;
  TRect FCloseRect;
  bool FMouseAboveClose = false;
  bool FCloseTracking = false;
};

using TkwBarCanSelectNodeEvent = TEvent<void(TkwBarTreeViewCombo* Sender, TTreeNode* Node, bool& CanSelect)>;

class TkwBarTreeViewCombo : public TCustomkwBarCombo {
  VELBOR_DECLARE_CLASS(TkwBarTreeViewCombo, TCustomkwBarCombo)
 public:
  explicit TkwBarTreeViewCombo(TComponent* AOwner);
  ~TkwBarTreeViewCombo() override;

  // Properties of the item.
  bool AllowResizing() const { return FAllowResizing; }
  void SetAllowResizing(bool Value) { FAllowResizing = Value; }
  bool ChooseByDblClick() const { return FChooseByDblClick; }
  void SetChooseByDblClick(bool Value) { FChooseByDblClick = Value; }
  bool FullExpand() const { return FFullExpand; }
  void SetFullExpand(bool Value) { FFullExpand = Value; }
  bool ShowImageInEdit() const { return FShowImageInEdit; }
  // Repaints the controls when pictures are assigned.
  void SetShowImageInEdit(bool Value);
  TkwBarCanSelectNodeEvent OnCanSelectNode;
  // Properties of the popup tree.
  int DropDownHeight() const;
  void SetDropDownHeight(int Value);
  int DropDownWidth() const;
  void SetDropDownWidth(int Value);
  TCustomImageList* Images() const { return FTree->Images(); }
  void SetImages(TCustomImageList* Value);
  int Indent() const { return FTree->Indent(); }
  void SetIndent(int Value) { FTree->SetIndent(Value); }
  TTreeNodes* Items() const { return FTree->Items(); }
  void SetItems(TTreeNodes* Value) { FTree->SetItems(Value); }
  bool ShowButtons() const { return FTree->ShowButtons(); }
  void SetShowButtons(bool Value) { FTree->SetShowButtons(Value); }
  bool ShowLines() const { return FTree->ShowLines(); }
  void SetShowLines(bool Value) { FTree->SetShowLines(Value); }
  bool ShowRoot() const { return FTree->ShowRoot(); }
  void SetShowRoot(bool Value) { FTree->SetShowRoot(Value); }
  TTVExpandedEvent GetOnExpanded() const { return FTree->OnExpanded; }
  void SetOnExpanded(TTVExpandedEvent Value) { FTree->OnExpanded = Value; }
  TTVExpandingEvent GetOnExpanding() const { return FTree->OnExpanding; }
  void SetOnExpanding(TTVExpandingEvent Value) { FTree->OnExpanding = Value; }
  TTVChangingEvent GetOnChanging() const { return FTree->OnChanging; }
  void SetOnChanging(TTVChangingEvent Value) { FTree->OnChanging = Value; }
  TTVExpandedEvent GetOnCollapsed() const { return FTree->OnCollapsed; }
  void SetOnCollapsed(TTVExpandedEvent Value) { FTree->OnCollapsed = Value; }
  TTVCollapsingEvent GetOnCollapsing() const { return FTree->OnCollapsing; }
  void SetOnCollapsing(TTVCollapsingEvent Value) { FTree->OnCollapsing = Value; }
  TTVChangedEvent GetOnTreeViewChange() const { return FTree->OnChange; }
  void SetOnTreeViewChange(TTVChangedEvent Value) { FTree->OnChange = Value; }

  // The popup tree, and the dialog's while it runs.
  TkwBarTreeView* TreeView() const { return FTree; }
  TForm* SelectDialog() const { return FDialog; }
  TkwBarTreeView* DialogTree() const { return FDialogTree; }
  // The node whose text is the item's text (nullptr: none).
  TTreeNode* SelectedNode() const { return FSelectedNode; }
  void SetSelectedNode(TTreeNode* Value);

  // Operations.
  // Whether the popup tree's selected node, or Node, may be chosen (OnCanSelectNode).
  bool CanSelectNode();
  bool CanSelectNode(TTreeNode* Node);

  // Overrides.
  // The node of the same text becomes the selected node (unless the text comes from a node).
  void SetText(const String& Value) override;
  // Enter goes to the open tree too (it chooses).
  bool CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) override;
  HWND GetDropDownWindow() override;
  void PrepareDropDownWindow() override;
  void DrawValue(TkwBarWinControl* Control, TkwBarItemLink* Link, TCanvas* Canvas, const TRect& Rect) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The "Select item" dialog, unless OnClick is assigned or the item is read-only.
  void DoClick() override;

 private:
  friend class TkwBarTreeView;
  // The item's text follows the selected node (cleared without one), then the controls repaint.
  void RefreshText();
  // The dialog's layout for its client size.
  void PlaceDialog(TObject* Sender);
  void RepaintControls();

  TkwBarTreeView* FTree;  // owned
  TForm* FDialog = nullptr;  // owned while it runs
  TkwBarTreeView* FDialogTree = nullptr;  // owned by the dialog
  TButton* FDialogOk = nullptr;
  TButton* FDialogCancel = nullptr;
  TTreeNode* FSelectedNode = nullptr;  // not owned: a node of the popup tree
  String FPendingText;
  bool FSettingFromNode = false;
  bool FAllowResizing = true;
  bool FChooseByDblClick = true;
  bool FFullExpand = false;
  bool FShowImageInEdit = true;
};

class TkwBarTreeViewComboControl : public TCustomkwBarComboControl {
  VELBOR_DECLARE_CLASS(TkwBarTreeViewComboControl, TCustomkwBarComboControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarTreeViewComboControl(TkwBarItemLink* ALink) : TCustomkwBarComboControl(ALink) {}

  TkwBarTreeViewCombo* TreeCombo() const { return dynamic_cast<TkwBarTreeViewCombo*>(GetItem()); }
  // With the node's picture in the edit, at least the picture's height + 6 (not in turned bars).
  int CalcHeight() override;
  // The open editor starts on the item's node.
  void SetFocused(bool Value) override;
};
