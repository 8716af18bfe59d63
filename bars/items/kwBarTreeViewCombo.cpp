// This file implements the tree-view combo item: TkwBarTreeView, TkwBarTreeViewCombo and
// TkwBarTreeViewComboControl.
#include "kwBarTreeViewCombo.h"

#include <algorithm>

#include "ImageList.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "StdCtrls.h"
#include "TextOrder.h"
#include "UtilityWindow.h"
#include "kjDropDownFrame.h"
#include "kwBarControl.h"
#include "kwBarItems.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {

// The form of the "Select item" dialog, made without a description.
class TkwBarTreeDialogForm : public TForm {
 public:
  TkwBarTreeDialogForm() : TForm(nullptr, true) {}
};

TCustomkwBarControl* WindowOfLink(TkwBarItemLink* Link) {
  return Link ? dynamic_cast<TCustomkwBarControl*>(Link->GetBarControl()) : nullptr;
}

TPoint PointOf(LPARAM LParam) { return TPoint(short(LOWORD(LParam)), short(HIWORD(LParam))); }

bool ValidImage(TCustomImageList* Images, int Index) { return Images && Index >= 0 && Index < Images->Count(); }

}  // namespace

// --- TkwBarTreeView -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarTreeView)

TkwBarTreeView::TkwBarTreeView(TComponent* AOwner, TkwBarTreeViewCombo* Combo, bool IsPopup)
    : TCustomTreeView(AOwner), FCombo(Combo), FIsPopup(IsPopup) {
  SetVisible(false);
  SetReadOnly(true);
  SetBounds(0, 0, 200, 150);
  // The popup never has the focus: its selection shows anyway.
  SetHideSelection(false);
  if (FIsPopup) {
    // A top-level window: owned by a hidden window, which also passes the tree's notifications back.
    FOwnerWindow = AllocateHWnd(TWndMethod(this, &TkwBarTreeView::OwnerWndProc));
    SetParentWindow(FOwnerWindow);
  }
}

TkwBarTreeView::~TkwBarTreeView() {
  if (FCloseTracking && GetCapture() == (HandleAllocated() ? Handle() : nullptr)) ReleaseCapture();
  // The nodes go last first, while the window still answers for them.
  if (TTreeNodes* nodes = Items()) {
    nodes->BeginUpdate();
    while (TTreeNode* last = nodes->Count() ? nodes->Item(nodes->Count() - 1) : nullptr) {
      while (last->GetLastChild()) last = last->GetLastChild();
      last->Delete();
    }
    nodes->EndUpdate();
  }
  if (HandleAllocated()) DestroyHandle();
  if (FOwnerWindow) DeallocateHWnd(FOwnerWindow);
  FOwnerWindow = nullptr;
}

void TkwBarTreeView::OwnerWndProc(TMessage& Message) {
  if (Message.Msg == WM_NOTIFY && HandleAllocated() &&
      reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom == Handle()) {
    Message.Result = Perform(CN_NOTIFY, Message.WParam, Message.LParam);
    return;
  }
  Message.Result = DefWindowProcA(FOwnerWindow, Message.Msg, Message.WParam, Message.LParam);
}

void TkwBarTreeView::CreateParams(TCreateParams& Params) {
  TCustomTreeView::CreateParams(Params);
  if (!FIsPopup) return;
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
  Params.ExStyle = (Params.ExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = FOwnerWindow;
}

void TkwBarTreeView::CreateWindowHandle(const TCreateParams& Params) {
  if (!FIsPopup) {
    TCustomTreeView::CreateWindowHandle(Params);
    return;
  }
  // A top-level window takes no child identifier (it would be read as a menu handle).
  CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                  Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, Params.WindowClass.hInstance,
                  Params.Param);
}

TTreeNode* TkwBarTreeView::FindNodeByText(const String& Text) const {
  for (TTreeNode* node = Items()->GetFirstNode(); node; node = node->GetNext())
    if (AnsiCompareText(node->Text(), Text) == 0) return node;
  return nullptr;
}

void TkwBarTreeView::Choose() {
  TTreeNode* node = Selected();
  if (!node || !FCombo->CanSelectNode(node)) return;
  if (!FIsPopup) {
    FCombo->SetText(node->Text());
    if (FCombo->FDialog) FCombo->FDialog->SetModalResult(mrOk);
    return;
  }
  if (TkwBarItemLink* link = FCombo->GetActiveLink()) link->GetOriginalLink()->MarkUsed(true);
  if (TkwBarManager* manager = FCombo->BarManager()) manager->HideAllMenus();
  FCombo->FSettingFromNode = true;
  TScopeGuard reset([&] { FCombo->FSettingFromNode = false; });
  if (node == FCombo->FSelectedNode)
    FCombo->RefreshText();
  else
    FCombo->SetSelectedNode(node);
}

void TkwBarTreeView::Change(TTreeNode* Node) {
  TCustomTreeView::Change(Node);
  if (!FIsPopup || !Node) return;
  // While the editor is open the node moved to shows in it.
  if (TkwBarItemLink* link = FCombo->GetActiveLink())
    if (auto* control = dynamic_cast<TkwBarWinControl*>(link->Control()); control && control->IsEditing())
      control->SetText(Node->Text());
}

void TkwBarTreeView::Delete(TTreeNode* Node) {
  TCustomTreeView::Delete(Node);
  // The item keeps its text; only the node (and its pictures in the edit) goes.
  if (FIsPopup && Node == FCombo->FSelectedNode) FCombo->SetSelectedNode(nullptr);
}

bool TkwBarTreeView::OnNodePart(TPoint Point) const {
  if (!HandleAllocated()) return false;
  TVHITTESTINFO info{};
  info.pt = {Point.X, Point.Y};
  SendMessageA(const_cast<TkwBarTreeView*>(this)->Handle(), TVM_HITTEST, 0, LPARAM(&info));
  return info.hItem && (info.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON));
}

void TkwBarTreeView::RepaintFrame() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TkwBarTreeView::SetMouseAboveCloseButton(bool Value) {
  if (Value == FMouseAboveClose) return;
  FMouseAboveClose = Value;
  RepaintFrame();
}

void TkwBarTreeView::Dispatch(TMessage& Message) {
  if (!FIsPopup) {
    switch (Message.Msg) {
      case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
      case WM_LBUTTONUP: WMLButtonUp(Message); break;
      case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
      case WM_KEYDOWN: WMKeyDown(Message); break;
      default: TCustomTreeView::Dispatch(Message); break;
    }
    return;
  }
  switch (Message.Msg) {
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(Message); break;
    case WM_CAPTURECHANGED: WMCaptureChanged(Message); break;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    case CN_NOTIFY:
      if (reinterpret_cast<NMHDR*>(Message.LParam)->code == UINT(NM_CUSTOMDRAW)) {
        CNCustomDraw(Message);
        break;
      }
      TCustomTreeView::Dispatch(Message);
      break;
    case CM_MOUSELEAVE:
      SetMouseAboveCloseButton(false);
      TCustomTreeView::Dispatch(Message);
      break;
    case WM_SYSCOLORCHANGE:
      TCustomTreeView::Dispatch(Message);
      RecreateWnd();
      break;
    case TVM_SETIMAGELIST:
      TCustomTreeView::Dispatch(Message);
      FCombo->RepaintControls();
      break;
    case TVM_SETITEMA:
    case TVM_SETITEMW: {
      TCustomTreeView::Dispatch(Message);
      auto* item = reinterpret_cast<TVITEMA*>(Message.LParam);
      // A renamed node renames the item.
      if (FCombo->FSelectedNode && item && item->hItem == FCombo->FSelectedNode->ItemId()) {
        FCombo->FSettingFromNode = true;
        TScopeGuard reset([&] { FCombo->FSettingFromNode = false; });
        FCombo->RefreshText();
      }
      break;
    }
    default: TCustomTreeView::Dispatch(Message); break;
  }
}

void TkwBarTreeView::CNCustomDraw(TMessage& Message) {
  // The native tree shows a selection only while it has the focus, which the popup never takes:
  // the selected node is drawn in the highlight colours here.
  auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(Message.LParam);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: Message.Result = CDRF_NOTIFYITEMDRAW; break;
    case CDDS_ITEMPREPAINT:
      if (HTREEITEM(draw->nmcd.dwItemSpec) == TreeView_GetSelection(Handle())) {
        draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
      }
      Message.Result = CDRF_DODEFAULT;
      break;
    default: Message.Result = CDRF_DODEFAULT; break;
  }
}

void TkwBarTreeView::WMNCCalcSize(TMessage& Message) {
  auto* rect = reinterpret_cast<RECT*>(Message.LParam);
  const TkwBarItemControlPainter* painter = ItemPainterOf(FCombo->BarManager());
  if (!painter) {
    TCustomTreeView::Dispatch(Message);
    return;
  }
  TRect edit;
  if (TkwBarItemLink* link = FCombo->GetActiveLink())
    if (TCustomkwBarControl* window = WindowOfLink(link); window && window->HandleAllocated() && link->Control()) {
      edit = window->GetItemRect(link->Control());
      MapWindowPoints(window->Handle(), nullptr, reinterpret_cast<POINT*>(&edit), 2);
    }
  TRect r(rect->left, rect->top, rect->right, rect->bottom);
  painter->CalcDropDownNonClient(Handle(), r, FCombo->AllowResizing(), edit, FGripCorner);
  *rect = {r.Left, r.Top, r.Right, r.Bottom};
  Message.Result = 0;
}

void TkwBarTreeView::WMNCPaint(TMessage& Message) {
  const TkwBarItemControlPainter* painter = ItemPainterOf(FCombo->BarManager());
  if (!painter) {
    TCustomTreeView::Dispatch(Message);
    return;
  }
  painter->DrawDropDownNonClient(Handle(), FGripCorner, FMouseAboveClose, FGripRect, FCloseRect, FCloseTracking,
                                 FCombo->AllowResizing());
  Message.Result = 0;
}

void TkwBarTreeView::WMNCHitTest(TMessage& Message) {
  TCustomTreeView::Dispatch(Message);
  POINT p = {short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
  ::ScreenToClient(Handle(), &p);
  TPoint point(p.x, p.y);
  if (FCombo->AllowResizing() && FGripRect.Contains(point)) {
    Message.Result = GripCornerToHitTest(TkjGripCorner(FGripCorner));
    return;
  }
  // The popup is topmost while it shows; a window holding the mouse keeps it unless it is the
  // close button's own tracking.
  HWND capture = GetCapture();
  bool above = (!capture || FCloseTracking) && FCloseRect.Contains(point);
  if (above) Message.Result = HTBORDER;
  SetMouseAboveCloseButton(above);
}

void TkwBarTreeView::WMNCLButtonDown(TMessage& Message) {
  if (FMouseAboveClose) {
    FCloseTracking = true;
    SetCapture(Handle());
    RepaintFrame();
    return;
  }
  TCustomTreeView::Dispatch(Message);
}

void TkwBarTreeView::WMLButtonDown(TMessage& Message) {
  TPoint point = PointOf(Message.LParam);
  if (FIsPopup) {
    // The native tree would take the focus from the combo's editor (which closes the combo): the
    // popup does the press's work itself.
    PressAt(point, false);
    return;
  }
  bool onNode = OnNodePart(point);
  // The native tree follows the button until it is released (selecting the node on the way).
  TCustomTreeView::Dispatch(Message);
  if (!onNode || FCombo->ChooseByDblClick() || GetKeyState(VK_LBUTTON) < 0) return;
  if (HandleAllocated() && OnNodePart(point)) Choose();
}

void TkwBarTreeView::PressAt(TPoint Point, bool Double) {
  TVHITTESTINFO info{};
  info.pt = {Point.X, Point.Y};
  SendMessageA(Handle(), TVM_HITTEST, 0, LPARAM(&info));
  TTreeNode* node = NodeFromItem(info.hItem);
  if (!node) return;
  if (info.flags & TVHT_ONITEMBUTTON) {
    SendMessageA(Handle(), TVM_EXPAND, TVE_TOGGLE, LPARAM(info.hItem));
    return;
  }
  if (!(info.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON))) return;
  SetSelected(node);
  if (Selected() == node && FCombo->ChooseByDblClick() == Double) Choose();
}

void TkwBarTreeView::WMLButtonUp(TMessage& Message) {
  if (FCloseTracking) {
    FCloseTracking = false;
    bool above = FCloseRect.Contains(PointOf(Message.LParam));
    ReleaseCapture();
    if (above) {
      if (TkwBarManager* manager = FCombo->BarManager()) manager->HideAllMenus();
    } else {
      RepaintFrame();
    }
    return;
  }
  TCustomTreeView::Dispatch(Message);
}

void TkwBarTreeView::WMLButtonDblClk(TMessage& Message) {
  TPoint point = PointOf(Message.LParam);
  if (FIsPopup) {
    PressAt(point, true);
    return;
  }
  TCustomTreeView::Dispatch(Message);
  if (FCombo->ChooseByDblClick() && HandleAllocated() && OnNodePart(point)) Choose();
}

void TkwBarTreeView::WMKeyDown(TMessage& Message) {
  if (Message.WParam == VK_RETURN) {
    Choose();
    return;
  }
  TCustomTreeView::Dispatch(Message);
}

void TkwBarTreeView::WMGetMinMaxInfo(TMessage& Message) {
  TCustomTreeView::Dispatch(Message);
  auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  info->ptMinTrackSize = {100, 100};
}

void TkwBarTreeView::WMCaptureChanged(TMessage& Message) {
  TCustomTreeView::Dispatch(Message);
  if (FCloseTracking && HWND(Message.LParam) != Handle()) {
    FCloseTracking = false;
    RepaintFrame();
  }
}

// --- TkwBarTreeViewCombo ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarTreeViewCombo)
VELBOR_PUBLISHED(TkwBarTreeViewCombo,
  Prop("AllowResizing", &Self::AllowResizing, &Self::SetAllowResizing).Default(true),
  Prop("ChooseByDblClick", &Self::ChooseByDblClick, &Self::SetChooseByDblClick).Default(true),
  Prop("DropDownHeight", &Self::DropDownHeight, &Self::SetDropDownHeight).Default(200),
  Prop("DropDownWidth", &Self::DropDownWidth, &Self::SetDropDownWidth).Default(150),
  Prop("FullExpand", &Self::FullExpand, &Self::SetFullExpand).Default(false),
  Prop("Images", &Self::Images, &Self::SetImages),
  Prop("Indent", &Self::Indent, &Self::SetIndent),
  Prop("ShowButtons", &Self::ShowButtons, &Self::SetShowButtons).Default(true),
  Prop("ShowEditor", &Self::ShowEditor, &Self::SetShowEditor).Default(false),
  Prop("ShowImageInEdit", &Self::ShowImageInEdit, &Self::SetShowImageInEdit).Default(true),
  Prop("ShowLines", &Self::ShowLines, &Self::SetShowLines).Default(true),
  Prop("ShowRoot", &Self::ShowRoot, &Self::SetShowRoot).Default(true),
  Prop("Text", static_cast<const String& (Self::*)() const>(&Self::Text),
       static_cast<void (Self::*)(const String&)>(&Self::SetText)),
  Prop("OnCanSelectNode", &Self::OnCanSelectNode),
  Prop("OnChanging", &Self::GetOnChanging, &Self::SetOnChanging),
  Prop("OnCollapsed", &Self::GetOnCollapsed, &Self::SetOnCollapsed),
  Prop("OnCollapsing", &Self::GetOnCollapsing, &Self::SetOnCollapsing),
  Prop("OnExpanded", &Self::GetOnExpanded, &Self::SetOnExpanded),
  Prop("OnExpanding", &Self::GetOnExpanding, &Self::SetOnExpanding),
  Prop("OnTreeViewChange", &Self::GetOnTreeViewChange, &Self::SetOnTreeViewChange))

TkwBarTreeViewCombo::TkwBarTreeViewCombo(TComponent* AOwner) : TCustomkwBarCombo(AOwner) {
  FTree = new TkwBarTreeView(nullptr, this, true);
  FTree->SetBounds(0, 0, 150, 200);
  Glyph()->LoadFromResourceName(MainInstance(), "KWBARTREEVIEWCOMBO");
  SetShowEditor(false);
}

TkwBarTreeViewCombo::~TkwBarTreeViewCombo() {
  FSelectedNode = nullptr;
  delete FTree;
  FTree = nullptr;
}

int TkwBarTreeViewCombo::DropDownHeight() const { return FTree->Height(); }
void TkwBarTreeViewCombo::SetDropDownHeight(int Value) { FTree->SetHeight(Value); }
int TkwBarTreeViewCombo::DropDownWidth() const { return FTree->Width(); }
void TkwBarTreeViewCombo::SetDropDownWidth(int Value) { FTree->SetWidth(Value); }

void TkwBarTreeViewCombo::SetImages(TCustomImageList* Value) {
  if (Value == FTree->Images()) return;
  if (Value) Value->FreeNotification(this);
  FTree->SetImages(Value);
  RepaintControls();
}

void TkwBarTreeViewCombo::SetShowImageInEdit(bool Value) {
  if (Value == FShowImageInEdit) return;
  FShowImageInEdit = Value;
  if (Images()) RepaintControls();
}

void TkwBarTreeViewCombo::RepaintControls() {
  if (ComponentState().Contains(csLoading) || IsDestroying()) return;
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TkwBarItemControl* control = GetLink(i)->Control()) control->Repaint();
}

bool TkwBarTreeViewCombo::CanSelectNode() {
  TTreeNode* node = FTree->Selected();
  return node && CanSelectNode(node);
}

bool TkwBarTreeViewCombo::CanSelectNode(TTreeNode* Node) {
  bool can = true;
  if (OnCanSelectNode) OnCanSelectNode(this, Node, can);
  return can;
}

void TkwBarTreeViewCombo::SetSelectedNode(TTreeNode* Value) {
  if (Value == FSelectedNode) return;
  FSelectedNode = Value;
  RefreshText();
}

void TkwBarTreeViewCombo::RefreshText() {
  if (FSettingFromNode) {
    String text = FSelectedNode ? FSelectedNode->Text() : String();
    if (text == Text())
      Change();
    else
      SetText(text);
  }
  RepaintControls();
}

void TkwBarTreeViewCombo::SetText(const String& Value) {
  if (Value == Text()) return;
  if (ComponentState().Contains(csLoading)) {
    FPendingText = Value;
    return;
  }
  if (!FSettingFromNode) FSelectedNode = FTree->FindNodeByText(Value);
  TCustomkwBarCombo::SetText(Value);
}

void TkwBarTreeViewCombo::Loaded() {
  TCustomkwBarCombo::Loaded();
  if (!FPendingText.empty()) SetText(FPendingText);
  FPendingText.clear();
}

void TkwBarTreeViewCombo::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomkwBarCombo::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FTree) FTree = nullptr;
  if (FTree && AComponent == FTree->Images()) FTree->SetImages(nullptr);
}

bool TkwBarTreeViewCombo::CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) {
  bool accept = Key != VK_TAB && Key != VK_ESCAPE;
  if (OnCheckKeyForDropDownWindow) OnCheckKeyForDropDownWindow(this, Key, Shift, accept);
  return accept;
}

HWND TkwBarTreeViewCombo::GetDropDownWindow() {
  if (HWND window = TCustomkwBarCombo::GetDropDownWindow()) return window;
  if (!FTree || FTree->ControlState.Contains(csCreating)) return nullptr;
  FTree->HandleNeeded();
  return FTree->Handle();
}

void TkwBarTreeViewCombo::PrepareDropDownWindow() {
  TkwBarItemLink* link = GetActiveLink();
  if (TCustomkwBarControl* window = WindowOfLink(link)) {
    // Copied through a font of its own: the tree's font then makes the handle the window keeps.
    TFont font;
    font.SetHandle(CloneFontHandle(window->GetFont()).Release());
    font.SetColor(clWindowText);
    FTree->Font()->Assign(&font);
  }
  FTree->HandleNeeded();
  if (FFullExpand) FTree->FullExpand();
  auto* control = link ? dynamic_cast<TkwBarWinControl*>(link->Control()) : nullptr;
  if (control && control->IsEditing() && control->GetText() != Text())
    if (TTreeNode* node = FTree->FindNodeByText(control->GetText())) FTree->SetSelected(node);
  if (!FTree->Selected() && Items()->GetFirstNode()) {
    FTree->SetSelected(Items()->GetFirstNode());
    Items()->GetFirstNode()->MakeVisible();
  }
}

void TkwBarTreeViewCombo::DrawValue(TkwBarWinControl* Control, TkwBarItemLink* Link, TCanvas* Canvas,
                                    const TRect& Rect) {
  TCustomImageList* images = Images();
  if (!FShowImageInEdit || !images) {
    TCustomkwBarCombo::DrawValue(Control, Link, Canvas, Rect);
    return;
  }
  TRect r = Rect;
  FillRect(Canvas->Handle(), AsRECT(r), Canvas->Brush()->Handle());
  InflateBy(r, -1, -1);
  bool editing = Control && Control->IsEditing();
  TTreeNode* node = editing && FTree->HandleAllocated() ? FTree->Selected() : FSelectedNode;
  if (node) {
    int index = ValidImage(images, node->SelectedIndex()) ? node->SelectedIndex()
                : ValidImage(images, node->ImageIndex())  ? node->ImageIndex()
                                                          : -1;
    if (index >= 0) images->Draw(Canvas, r.Left, r.Top + (r.Height() - images->Height()) / 2, index, Enabled());
    r.Left += images->Width() + 3;
  }
  String text = editing ? Control->GetText() : Text();
  r.Left += 2;
  r.Right -= 2;
  SetBkMode(Canvas->Handle(), TRANSPARENT);
  HGDIOBJ old = SelectObject(Canvas->Handle(), Canvas->Font()->Handle());
  SetTextColor(Canvas->Handle(), ColorToRGB(Canvas->Font()->Color()));
  DrawTextA(Canvas->Handle(), text.c_str(), int(text.size()), AsRECT(r),
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
  SelectObject(Canvas->Handle(), old);
}

void TkwBarTreeViewCombo::PlaceDialog(TObject*) {
  if (!FDialog || !FDialogTree || !FDialogOk || !FDialogCancel) return;
  TCanvas* canvas = FDialog->Canvas();
  canvas->Font()->Assign(FDialog->Font());
  int u = MulDiv(canvas->TextHeight("0"), 5, 3);
  int m = u / 4;
  int w = 12 * canvas->TextWidth("0");
  int treeWidth = std::max(0, FDialog->ClientWidth() - w - 3 * m);
  int treeHeight = std::max(0, FDialog->ClientHeight() - 2 * m);
  FDialogTree->SetBounds(m, m, treeWidth, treeHeight);
  FDialogOk->SetBounds(m + treeWidth + m, m, w, u);
  FDialogCancel->SetBounds(m + treeWidth + m, m + u + m, w, u);
}

void TkwBarTreeViewCombo::DoClick() {
  if (OnClick || ReadOnly()) {
    TCustomkwBarCombo::DoClick();
    return;
  }
  TForm* form = new TkwBarTreeDialogForm();
  TScopeGuard free([&] {
    FDialog = nullptr;
    FDialogTree = nullptr;
    FDialogOk = FDialogCancel = nullptr;
    form->Free();
  });
  FDialog = form;
  if (FAllowResizing) {
    form->SetBorderStyle(bsSizeable);
    form->SetBorderIcons({});
  } else {
    form->SetBorderStyle(bsDialog);
  }
  form->SetCaption(GetLocalizedResourceString(&kwSSelectItem));
  if (TkwBarManager* manager = BarManager()) form->Font()->Assign(manager->Font());
  form->SetPosition(poScreenCenter);

  FDialogTree = new TkwBarTreeView(form, this, false);
  FDialogTree->SetImages(Images());
  FDialogTree->SetIndent(Indent());
  FDialogTree->SetShowButtons(ShowButtons());
  FDialogTree->SetShowLines(ShowLines());
  FDialogTree->SetShowRoot(ShowRoot());
  FDialogTree->SetHideSelection(false);
  FDialogTree->Items()->Assign(Items());
  FDialogTree->SetParent(form);
  FDialogTree->SetVisible(true);
  // Real client sizes need the windows (the popup's frame is the painter's).
  FTree->HandleNeeded();
  FDialogTree->HandleNeeded();
  int treeWidth = FTree->ClientWidth(), treeHeight = FTree->ClientHeight();
  FDialogTree->SetClientArea(treeWidth, treeHeight);
  treeWidth = FDialogTree->Width();
  treeHeight = FDialogTree->Height();

  auto addButton = [&](const TResStringRec* Caption, TModalResult Result) {
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetCaption(GetLocalizedResourceString(Caption));
    button->ModalResult = Result;
    return button;
  };
  FDialogOk = addButton(&kwSOK, mrOk);
  FDialogOk->SetDefault(true);
  FDialogCancel = addButton(&kwSCancel, mrCancel);
  FDialogCancel->Cancel = true;

  TCanvas* canvas = form->Canvas();
  canvas->Font()->Assign(form->Font());
  int u = MulDiv(canvas->TextHeight("0"), 5, 3);
  int m = u / 4;
  int w = 12 * canvas->TextWidth("0");
  form->SetClientWidth(treeWidth + w + 3 * m);
  form->SetClientHeight(treeHeight + 2 * m);
  PlaceDialog(form);
  form->OnResize = TNotifyEvent(this, &TkwBarTreeViewCombo::PlaceDialog);

  if (FFullExpand) FDialogTree->FullExpand();
  if (TTreeNode* node = FDialogTree->FindNodeByText(Text()))
    FDialogTree->SetSelected(node);
  else if (TTreeNode* first = FDialogTree->Items()->GetFirstNode())
    FDialogTree->SetSelected(first);
  form->SetActiveControl(FDialogTree);

  if (form->ShowModal() == mrOk)
    if (TTreeNode* node = FDialogTree->Selected()) SetText(node->Text());
  // The user's resizing holds for the next drop-down.
  FTree->SetClientArea(FDialogTree->ClientWidth(), FDialogTree->ClientHeight());
}

// --- TkwBarTreeViewComboControl -----------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarTreeViewComboControl)

int TkwBarTreeViewComboControl::CalcHeight() {
  int height = TCustomkwBarComboControl::CalcHeight();
  TkwBarTreeViewCombo* combo = TreeCombo();
  TCustomkwBarControl* window = Window();
  if (combo && combo->ShowImageInEdit() && combo->Images() && !IsRotatedBarControl(window))
    height = std::max(height, combo->Images()->Height() + 6);
  return height;
}

void TkwBarTreeViewComboControl::SetFocused(bool Value) {
  if (Value && !Focused())
    if (TkwBarTreeViewCombo* combo = TreeCombo()) {
      TkwBarTreeView* tree = combo->TreeView();
      tree->HandleNeeded();
      TTreeNode* node = combo->SelectedNode() ? combo->SelectedNode() : tree->FindNodeByText(combo->Text());
      tree->SetSelected(node);
    }
  TCustomkwBarComboControl::SetFocused(Value);
}
