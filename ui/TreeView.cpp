// This file implements TCustomTreeView/TTreeView over SysTreeView32, with TTreeNodes and
// TTreeNode. The nodes are objects of their own, mirrored into the native items while the window
// exists, so that a tree can be filled before it has a parent and keeps its nodes (and their
// expanded state) when the window is re-created.
#include "ComCtrls.h"

#include <algorithm>
#include <cstring>

#include "Format.h"
#include "ScopeGuard.h"

// --- TTreeNode ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TTreeNode)

TTreeNode::TTreeNode(TTreeNodes* Owner) : FOwner(Owner) {}

TTreeNode::~TTreeNode() {
  for (TTreeNode* child : FChildren) {
    child->FParent = nullptr;
    delete child;
  }
}

TCustomTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->Owner() : nullptr; }

void TTreeNode::SetText(const String& Value) {
  FText = Value;
  if (FItemId) {
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = FItemId;
    item.pszText = FText.data();
    TreeView()->Send(TVM_SETITEMA, 0, LPARAM(&item));
  }
}

TTreeNode* TTreeNode::Item(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return FChildren[std::size_t(Index)];
}

void TTreeNode::SetHasChildren(bool Value) {
  FHasChildren = Value;
  if (FItemId) {
    TVITEMA item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = FItemId;
    item.cChildren = HasChildren() ? 1 : 0;
    TreeView()->Send(TVM_SETITEMA, 0, LPARAM(&item));
  }
}

void TTreeNode::SetExpanded(bool Value) {
  if (FExpanded == Value) return;
  TCustomTreeView* tree = TreeView();
  if (Value) {
    if (!HasChildren() || !tree->CanExpand(this)) return;
    FExpanded = true;
    if (FItemId) tree->Send(TVM_EXPAND, TVE_EXPAND, LPARAM(FItemId));
    tree->Expand(this);
  } else {
    if (!tree->CanCollapse(this)) return;
    FExpanded = false;
    if (FItemId) tree->Send(TVM_EXPAND, TVE_COLLAPSE, LPARAM(FItemId));
    tree->Collapse(this);
  }
}

bool TTreeNode::Selected() const { return TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool Value) {
  if (Value) TreeView()->SetSelected(const_cast<TTreeNode*>(this));
  else if (Selected()) TreeView()->SetSelected(nullptr);
}

int TTreeNode::Index() const {
  const auto& siblings = FParent ? FParent->FChildren : FOwner->FRoots;
  return int(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = FParent; p; p = p->FParent) ++level;
  return level;
}

int TTreeNode::AbsoluteIndex() const {
  int index = 0;
  for (TTreeNode* n = FOwner->GetFirstNode(); n && n != this; n = n->GetNext()) ++index;
  return index;
}

void TTreeNode::SetImageIndex(int Value) {
  FImageIndex = Value;
  if (FItemId) {
    TVITEMA item{};
    item.mask = TVIF_IMAGE;
    item.hItem = FItemId;
    item.iImage = Value;
    TreeView()->Send(TVM_SETITEMA, 0, LPARAM(&item));
  }
}

void TTreeNode::SetSelectedIndex(int Value) {
  FSelectedIndex = Value;
  if (FItemId) {
    TVITEMA item{};
    item.mask = TVIF_SELECTEDIMAGE;
    item.hItem = FItemId;
    item.iSelectedImage = Value;
    TreeView()->Send(TVM_SETITEMA, 0, LPARAM(&item));
  }
}

bool TTreeNode::IsVisible() const {
  for (TTreeNode* p = FParent; p; p = p->FParent) {
    if (!p->FExpanded) return false;
  }
  return true;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const auto& siblings = FParent ? FParent->FChildren : FOwner->FRoots;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() || it + 1 == siblings.end() ? nullptr : *(it + 1);
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const auto& siblings = FParent ? FParent->FChildren : FOwner->FRoots;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.begin() || it == siblings.end() ? nullptr : *(it - 1);
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front();
  for (const TTreeNode* n = this; n; n = n->FParent) {
    if (TTreeNode* next = n->GetNextSibling()) return next;
  }
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* prev = GetPrevSibling();
  if (!prev) return FParent;
  while (!prev->FChildren.empty()) prev = prev->FChildren.back();
  return prev;
}

bool TTreeNode::HasAsParent(const TTreeNode* Value) const {
  for (TTreeNode* p = FParent; p; p = p->FParent) {
    if (p == Value) return true;
  }
  return false;
}

void TTreeNode::Expand(bool Recurse) {
  SetExpanded(true);
  if (Recurse) {
    for (TTreeNode* child : std::vector<TTreeNode*>(FChildren)) child->Expand(true);
  }
}

void TTreeNode::Collapse(bool Recurse) {
  SetExpanded(false);
  if (Recurse) {
    for (TTreeNode* child : std::vector<TTreeNode*>(FChildren)) child->Collapse(true);
  }
}

void TTreeNode::MakeVisible() {
  for (TTreeNode* p = FParent; p; p = p->FParent) p->SetExpanded(true);
  if (FItemId) TreeView()->Send(TVM_ENSUREVISIBLE, 0, LPARAM(FItemId));
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren() {
  while (!FChildren.empty()) FOwner->Delete(FChildren.back());
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  RECT r{};
  if (!FItemId) return r;
  std::memcpy(&r, &FItemId, sizeof FItemId);  // the item goes in, the rectangle comes out
  if (!TreeView()->Send(TVM_GETITEMRECT, TextOnly, LPARAM(&r))) return TRect();
  return r;
}

void TTreeNode::Assign(TPersistent* Source) {
  if (auto* n = dynamic_cast<TTreeNode*>(Source)) {
    SetText(n->FText);
    Data = n->Data;
    SetImageIndex(n->FImageIndex);
    SetSelectedIndex(n->FSelectedIndex);
    FHasChildren = n->FHasChildren;
    return;
  }
  TPersistent::Assign(Source);
}

void TTreeNode::CreateNativeItem(HTREEITEM InsertAfter) {
  TCustomTreeView* tree = TreeView();
  TVINSERTSTRUCTA ins{};
  ins.hParent = FParent ? FParent->FItemId : TVI_ROOT;
  ins.hInsertAfter = InsertAfter;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  ins.item.pszText = FText.data();
  ins.item.lParam = LPARAM(this);
  ins.item.iImage = FImageIndex;
  ins.item.iSelectedImage = FSelectedIndex;
  ins.item.cChildren = HasChildren() ? 1 : 0;
  FItemId = reinterpret_cast<HTREEITEM>(tree->Send(TVM_INSERTITEMA, 0, LPARAM(&ins)));
  if (!FItemId) throw EOutOfResources(Format("Impossible d'insérer le nœud '%s'"_a, {FText}));
  for (TTreeNode* child : FChildren) child->CreateNativeItem(TVI_LAST);
  if (FExpanded) tree->Send(TVM_EXPAND, TVE_EXPAND, LPARAM(FItemId));
}

void TTreeNode::ForgetNativeItems() {
  FItemId = nullptr;
  for (TTreeNode* child : FChildren) child->ForgetNativeItems();
}

// --- TTreeNodes -----------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TTreeNodes)

TTreeNodes::TTreeNodes(TCustomTreeView* Owner) : FOwner(Owner) {}

TTreeNodes::~TTreeNodes() {
  for (TTreeNode* n : FRoots) delete n;
}

int TTreeNodes::Count() const {
  int count = 0;
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) ++count;
  return count;
}

TTreeNode* TTreeNodes::Item(int Index) const {
  TTreeNode* n = GetFirstNode();
  for (int i = 0; n && i < Index; ++i) n = n->GetNext();
  if (Index < 0 || !n) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return n;
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* Parent, int Position, const String& S, void* Ptr) {
  auto& siblings = Siblings(Parent);
  Position = std::clamp(Position, 0, int(siblings.size()));
  auto* node = new TTreeNode(this);
  node->FParent = Parent;
  node->FText = S;
  node->Data = Ptr;
  siblings.insert(siblings.begin() + Position, node);
  if (FOwner->HandleAllocated()) {
    HTREEITEM after = Position == 0 ? TVI_FIRST : siblings[std::size_t(Position - 1)]->FItemId;
    try {
      node->CreateNativeItem(after);
    } catch (...) {
      siblings.erase(siblings.begin() + Position);
      delete node;
      throw;
    }
    // The parent shows its button now.
    if (Parent && Parent->FItemId && siblings.size() == 1) Parent->SetHasChildren(Parent->FHasChildren);
  }
  return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& S) { return AddObject(Sibling, S, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const String& S, void* Ptr) {
  TTreeNode* parent = Sibling ? Sibling->Parent() : nullptr;
  return InsertNode(parent, int(Siblings(parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S) {
  return InsertNode(Sibling ? Sibling->Parent() : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& S) { return AddChildObject(Parent, S, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Ptr) {
  return InsertNode(Parent, int(Siblings(Parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S) { return InsertNode(Parent, 0, S, nullptr); }

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& S) {
  if (!Sibling) return Add(nullptr, S);
  return InsertNode(Sibling->Parent(), Sibling->Index(), S, nullptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (!Node) return;
  // Children go first, each announced to OnDeletion.
  while (!Node->FChildren.empty()) Delete(Node->FChildren.back());
  FOwner->Delete(Node);
  if (FOwner->FSavedSelected == Node) FOwner->FSavedSelected = nullptr;
  auto& siblings = Siblings(Node->FParent);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), Node), siblings.end());
  if (Node->FItemId) {
    HTREEITEM item = Node->FItemId;
    Node->FItemId = nullptr;
    FOwner->Send(TVM_DELETEITEM, 0, LPARAM(item));
  }
  delete Node;
}

void TTreeNodes::Clear() {
  BeginUpdate();
  while (!FRoots.empty()) Delete(FRoots.back());
  EndUpdate();
}

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) FOwner->Send(WM_SETREDRAW, FALSE);
}

void TTreeNodes::EndUpdate() {
  if (--FUpdateCount == 0 && FOwner->HandleAllocated()) {
    FOwner->Send(WM_SETREDRAW, TRUE);
    FOwner->Invalidate();
  }
}

void TTreeNodes::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TTreeNodes*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  Clear();
  struct Copier {
    TTreeNodes* Target;
    void Copy(TTreeNode* From, TTreeNode* ToParent) {
      TTreeNode* to = Target->AddChildObject(ToParent, From->Text(), From->Data);
      to->Assign(From);
      for (int i = 0; i < From->Count(); ++i) Copy(From->Item(i), to);
    }
  } copier{this};
  for (TTreeNode* root : source->FRoots) copier.Copy(root, nullptr);
  EndUpdate();
}

// --- TCustomTreeView ------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomTreeView)
VELBOR_PUBLISHED(TCustomTreeView,
  Prop("ShowLines", &Self::ShowLines, &Self::SetShowLines).Default(true),
  Prop("ShowRoot", &Self::ShowRoot, &Self::SetShowRoot).Default(true),
  Prop("ShowButtons", &Self::ShowButtons, &Self::SetShowButtons).Default(true),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("HideSelection", &Self::HideSelection, &Self::SetHideSelection).Default(true),
  Prop("RowSelect", &Self::RowSelect, &Self::SetRowSelect).Default(false),
  Prop("Indent", &Self::Indent, &Self::SetIndent),
  Prop("Images", &Self::Images, &Self::SetImages),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSingle),
  Prop("OnChanging", &Self::OnChanging),
  Prop("OnChange", &Self::OnChange),
  Prop("OnExpanding", &Self::OnExpanding),
  Prop("OnExpanded", &Self::OnExpanded),
  Prop("OnCollapsing", &Self::OnCollapsing),
  Prop("OnCollapsed", &Self::OnCollapsed),
  Prop("OnDeletion", &Self::OnDeletion),
  Prop("OnEdited", &Self::OnEdited))

VELBOR_IMPLEMENT_CLASS(TTreeView)

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner) {
  InitCommonControlClasses();
  ControlStyle = {csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FItems = new TTreeNodes(this);
}

TCustomTreeView::~TCustomTreeView() {
  Destroying();
  FDestroying = true;
  DestroyHandle();
  delete FItems;
}

LRESULT TCustomTreeView::Send(UINT Msg, WPARAM W, LPARAM L) const {
  return SendMessageA(const_cast<TCustomTreeView*>(this)->Handle(), Msg, W, L);
}

TTreeNode* TCustomTreeView::NodeFromItem(HTREEITEM Item) const {
  if (!Item || !HandleAllocated()) return nullptr;
  TVITEMA item{};
  item.mask = TVIF_PARAM;
  item.hItem = Item;
  if (!Send(TVM_GETITEMA, 0, LPARAM(&item))) return nullptr;
  return reinterpret_cast<TTreeNode*>(item.lParam);
}

TTreeNode* TCustomTreeView::Selected() const {
  if (!HandleAllocated()) return FSavedSelected;
  return NodeFromItem(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  if (!HandleAllocated()) {
    FSavedSelected = Value;
    return;
  }
  if (Value) Value->MakeVisible();
  Send(TVM_SELECTITEM, TVGN_CARET, LPARAM(Value ? Value->FItemId : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() const {
  return NodeFromItem(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomTreeView::SetTopItem(TTreeNode* Value) {
  if (Value && Value->FItemId) Send(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(Value->FItemId));
}

void TCustomTreeView::SetShowLines(bool Value) {
  if (FShowLines == Value) return;
  FShowLines = Value;
  RecreateWnd();
}

void TCustomTreeView::SetShowRoot(bool Value) {
  if (FShowRoot == Value) return;
  FShowRoot = Value;
  RecreateWnd();
}

void TCustomTreeView::SetShowButtons(bool Value) {
  if (FShowButtons == Value) return;
  FShowButtons = Value;
  RecreateWnd();
}

void TCustomTreeView::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  RecreateWnd();
}

void TCustomTreeView::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomTreeView::SetRowSelect(bool Value) {
  if (FRowSelect == Value) return;
  FRowSelect = Value;
  RecreateWnd();
}

int TCustomTreeView::Indent() const { return HandleAllocated() ? int(Send(TVM_GETINDENT)) : FIndent; }

void TCustomTreeView::SetIndent(int Value) {
  FIndent = Value;
  if (HandleAllocated()) Send(TVM_SETINDENT, WPARAM(Value));
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  if (HandleAllocated()) Send(TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(FImages ? FImages->Handle() : nullptr));
}

void TCustomTreeView::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) SetImages(nullptr);
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const {
  TVHITTESTINFO info{};
  info.pt = POINT{X, Y};
  HTREEITEM item = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, LPARAM(&info)));
  return item && (info.flags & TVHT_ONITEM) ? NodeFromItem(item) : nullptr;
}

void TCustomTreeView::FullExpand() {
  for (TTreeNode* n : std::vector<TTreeNode*>(FItems->FRoots)) n->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (TTreeNode* n : std::vector<TTreeNode*>(FItems->FRoots)) n->Collapse(true);
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, Node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, Node, allow);
  return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
  if (OnDeletion && !FDestroying) OnDeletion(this, Node);
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TREEVIEWA);
  if (FShowLines) Params.Style |= TVS_HASLINES;
  if (FShowRoot) Params.Style |= TVS_LINESATROOT;
  if (FShowButtons) Params.Style |= TVS_HASBUTTONS;
  if (!FReadOnly) Params.Style |= TVS_EDITLABELS;
  if (!FHideSelection) Params.Style |= TVS_SHOWSELALWAYS;
  if (FRowSelect) Params.Style |= TVS_FULLROWSELECT;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  if (FImages) Send(TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(FImages->Handle()));
  Send(TVM_SETINDENT, WPARAM(FIndent));
  // Filling the new window is not the user's doing: no events meanwhile.
  FDestroying = true;
  {
    TScopeGuard restore([&] { FDestroying = false; });
    for (TTreeNode* n : FItems->FRoots) n->CreateNativeItem(TVI_LAST);
    if (FSavedSelected && FSavedSelected->FItemId) Send(TVM_SELECTITEM, TVGN_CARET, LPARAM(FSavedSelected->FItemId));
  }
  FSavedSelected = nullptr;
}

void TCustomTreeView::DestroyWnd() {
  FSavedSelected = Selected();
  FIndent = Indent();
  bool destroying = FDestroying;
  FDestroying = true;
  for (TTreeNode* n : FItems->FRoots) n->ForgetNativeItems();
  TWinControl::DestroyWnd();
  FDestroying = destroying;
}

void TCustomTreeView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TCustomTreeView::CNNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (FDestroying) return;
  // The ANSI and Unicode forms share their layout up to the item's text.
  auto* nm = reinterpret_cast<NMTREEVIEWA*>(Message.LParam);
  switch (hdr->code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
      TTreeNode* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
      Message.Result = CanChange(node) ? 0 : 1;
      break;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      Change(reinterpret_cast<TTreeNode*>(nm->itemNew.lParam));
      break;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
      TTreeNode* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
      if (!node) break;
      bool expand = (nm->action & TVE_EXPAND) != 0 && !node->FExpanded;
      Message.Result = (expand ? CanExpand(node) : CanCollapse(node)) ? 0 : 1;
      break;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
      TTreeNode* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
      if (!node) break;
      bool expanded = (nm->itemNew.state & TVIS_EXPANDED) != 0;
      if (expanded == node->FExpanded) break;
      node->FExpanded = expanded;
      if (expanded) Expand(node);
      else Collapse(node);
      break;
    }
    case TVN_ENDLABELEDITA: {
      auto* info = reinterpret_cast<NMTVDISPINFOA*>(Message.LParam);
      TTreeNode* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
      if (!node || !info->item.pszText) break;
      String text = info->item.pszText;
      if (OnEdited) OnEdited(this, node, text);
      node->FText = text;
      // The native control takes the typed text unless it was changed here.
      Message.Result = text == info->item.pszText ? 1 : 0;
      if (!Message.Result) node->SetText(text);
      break;
    }
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}
