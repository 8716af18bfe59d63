// This file implements the tab controls over SysTabControl32: TCustomTabControl/TTabControl, and
// TPageControl with its TTabSheet pages (hidden tabs, the active page, Ctrl+Tab, the change
// events), and the loading of the common control classes.
#include "ComCtrls.h"

#include <algorithm>

#include "Format.h"
#include "Forms.h"

void InitCommonControlClasses() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS |
              ICC_LISTVIEW_CLASSES;
  done = InitCommonControlsEx(&icc) != FALSE;
}

// --- TCustomTabControl ----------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomTabControl)
VELBOR_PUBLISHED(TCustomTabControl,
  Prop("Tabs", &Self::Tabs, &Self::SetTabs),
  Prop("TabIndex", &Self::TabIndex, &Self::SetTabIndex).Default(-1),
  Prop("TabPosition", &Self::TabPosition, &Self::SetTabPosition).Default(tpTop),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(tsTabs),
  Prop("MultiLine", &Self::MultiLine, &Self::SetMultiLine).Default(false),
  Prop("HotTrack", &Self::HotTrack, &Self::SetHotTrack).Default(false),
  Prop("OwnerDraw", &Self::OwnerDraw, &Self::SetOwnerDraw).Default(false),
  Prop("TabHeight", &Self::TabHeight, &Self::SetTabHeight).Default(0),
  Prop("TabWidth", &Self::TabWidth, &Self::SetTabWidth).Default(0),
  Prop("Images", &Self::Images, &Self::SetImages),
  Prop("OnChange", &Self::OnChange),
  Prop("OnChanging", &Self::OnChanging),
  Prop("OnDrawTab", &Self::OnDrawTab),
  Prop("OnGetImageIndex", &Self::OnGetImageIndex))

VELBOR_IMPLEMENT_CLASS(TTabControl)

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner) {
  InitCommonControlClasses();
  ControlStyle = {csAcceptsControls, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
  FTabs = new TStringList();
  FTabs->OnChange = TNotifyEvent(this, &TCustomTabControl::TabsChanged);
  FCanvas = new TCanvas();
}

TCustomTabControl::~TCustomTabControl() {
  Destroying();
  DestroyHandle();
  delete FCanvas;
  delete FTabs;
}

void TCustomTabControl::SetTabs(TStrings* Value) { FTabs->Assign(Value); }

void TCustomTabControl::TabsChanged(TObject*) { UpdateTabs(); }

int TCustomTabControl::TabIndex() const {
  if (!HandleAllocated()) return FSavedTabIndex;
  return int(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0));
}

void TCustomTabControl::SetTabIndex(int Value) {
  FSavedTabIndex = Value;
  if (HandleAllocated()) SendMessageA(FHandle, TCM_SETCURSEL, WPARAM(Value), 0);
}

void TCustomTabControl::SetTabPosition(TTabPosition Value) {
  if (FTabPosition == Value) return;
  FTabPosition = Value;
  RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool Value) {
  if (FMultiLine == Value) return;
  FMultiLine = Value;
  RecreateWnd();
}

void TCustomTabControl::SetHotTrack(bool Value) {
  if (FHotTrack == Value) return;
  FHotTrack = Value;
  RecreateWnd();
}

void TCustomTabControl::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  RecreateWnd();
}

void TCustomTabControl::SetTabHeight(int Value) {
  if (FTabHeight == Value) return;
  FTabHeight = Value;
  RecreateWnd();
}

void TCustomTabControl::SetTabWidth(int Value) {
  if (FTabWidth == Value) return;
  FTabWidth = Value;
  RecreateWnd();
}

void TCustomTabControl::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  if (HandleAllocated()) {
    SendMessageA(FHandle, TCM_SETIMAGELIST, 0, LPARAM(FImages ? FImages->Handle() : nullptr));
    UpdateTabs();
  }
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) SetImages(nullptr);
}

TRect TCustomTabControl::DisplayRect() {
  TRect r = ClientRect();
  // Without a window there are no tabs to leave room for (yet).
  if (!HandleAllocated()) return r;
  SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, LPARAM(AsRECT(r)));
  return r;
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) {
  TCHITTESTINFO info{};
  info.pt = POINT{X, Y};
  return int(SendMessageA(Handle(), TCM_HITTEST, 0, LPARAM(&info)));
}

TRect TCustomTabControl::TabRect(int Index) {
  RECT r{};
  SendMessageA(Handle(), TCM_GETITEMRECT, WPARAM(Index), LPARAM(&r));
  return r;
}

void TCustomTabControl::ScrollTabs(int Delta) {
  // The native control scrolls its tab row through its arrow buttons' scroll messages.
  HWND updown = FindWindowExA(Handle(), nullptr, UPDOWN_CLASSA, nullptr);
  if (!updown) return;
  int pos = LOWORD(SendMessageA(updown, UDM_GETPOS, 0, 0));
  SendMessageA(FHandle, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::max(pos + Delta, 0)), 0);
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::DrawTab(int TabIndex, const TRect& Rect, bool Active) {
  if (OnDrawTab) {
    OnDrawTab(this, TabIndex, Rect, Active);
    return;
  }
  FCanvas->FillRect(Rect);
  std::vector<String> captions = TabCaptions();
  if (TabIndex >= 0 && TabIndex < int(captions.size())) {
    FCanvas->TextOut(Rect.Left + 4, Rect.Top + 2, captions[std::size_t(TabIndex)]);
  }
}

int TCustomTabControl::GetImageIndex(int TabIndex) {
  int index = TabIndex;
  if (OnGetImageIndex) OnGetImageIndex(this, TabIndex, index);
  return index;
}

std::vector<String> TCustomTabControl::TabCaptions() const {
  std::vector<String> captions;
  for (int i = 0; i < FTabs->Count(); ++i) captions.push_back(FTabs->Get(i));
  return captions;
}

void TCustomTabControl::UpdateTabs() {
  if (!HandleAllocated() || FUpdating) return;
  FUpdating = true;
  int index = TabIndex();
  SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
  std::vector<String> captions = TabCaptions();
  for (std::size_t i = 0; i < captions.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(captions[i].c_str());
    item.iImage = FImages ? GetImageIndex(int(i)) : -1;
    SendMessageA(FHandle, TCM_INSERTITEMA, WPARAM(i), LPARAM(&item));
  }
  if (index >= int(captions.size())) index = int(captions.size()) - 1;
  SendMessageA(FHandle, TCM_SETCURSEL, WPARAM(index), 0);
  FUpdating = false;
  Realign();
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) {
  Rect = DisplayRect();
  TWinControl::AdjustClientRect(Rect);
}

void TCustomTabControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TABCONTROLA);
  Params.Style |= WS_CLIPCHILDREN | TCS_TOOLTIPS;
  if (FMultiLine) Params.Style |= TCS_MULTILINE;
  if (FHotTrack) Params.Style |= TCS_HOTTRACK;
  if (FOwnerDraw) Params.Style |= TCS_OWNERDRAWFIXED;
  if (FTabWidth > 0) Params.Style |= TCS_FIXEDWIDTH;
  switch (FStyle) {
    case tsTabs: break;
    case tsButtons: Params.Style |= TCS_BUTTONS; break;
    case tsFlatButtons: Params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS; break;
  }
  switch (FTabPosition) {
    case tpTop: break;
    case tpBottom: Params.Style |= TCS_BOTTOM; break;
    case tpLeft: Params.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case tpRight: Params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
  }
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (FImages) SendMessageA(FHandle, TCM_SETIMAGELIST, 0, LPARAM(FImages->Handle()));
  if (FTabHeight > 0 || FTabWidth > 0) {
    SendMessageA(FHandle, TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
  }
  UpdateTabs();
  SendMessageA(FHandle, TCM_SETCURSEL, WPARAM(FSavedTabIndex), 0);
}

void TCustomTabControl::DestroyWnd() {
  FSavedTabIndex = TabIndex();
  TWinControl::DestroyWnd();
}

void TCustomTabControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case WM_SIZE: WMSize(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TCustomTabControl::CNNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  switch (hdr->code) {
    case TCN_SELCHANGING:
      // A non-zero answer keeps the current tab.
      Message.Result = CanChange() ? 0 : 1;
      break;
    case TCN_SELCHANGE:
      FSavedTabIndex = TabIndex();
      Change();
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TCustomTabControl::CNDrawItem(TMessage& Message) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  {
    TCanvasDCScope scope(FCanvas, dis->hDC);
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->Assign(Brush());
    DrawTab(int(dis->itemID), dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
  }
  Message.Result = 1;
}

void TCustomTabControl::WMSize(TMessage& Message) {
  TWinControl::Dispatch(Message);
  // The tab rows may wrap differently: the display area moves.
  Realign();
}

// --- TTabSheet ------------------------------------------------------------------------------

namespace {
bool IsPageIndexStored(TObject*) { return true; }
}  // namespace

VELBOR_IMPLEMENT_CLASS(TTabSheet)
VELBOR_PUBLISHED(TTabSheet,
  Prop("PageIndex", &Self::PageIndex, &Self::SetPageIndex).Stored(&IsPageIndexStored),
  Prop("TabVisible", &Self::TabVisible, &Self::SetTabVisible).Default(true),
  Prop("ImageIndex", &Self::ImageIndex, &Self::SetImageIndex).Default(-1),
  Prop("Highlighted", &Self::Highlighted).Default(false),
  Prop("OnShow", &Self::OnShow),
  Prop("OnHide", &Self::OnHide))

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csAcceptsControls, csNoDesignVisible};
  SetAlign(alClient);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (FPageControl) FPageControl->RemovePage(this);
  FPageControl = nullptr;
}

void TTabSheet::SetPageControl(TPageControl* Value) { SetParent(Value); }

void TTabSheet::SetParent(TWinControl* AParent) {
  auto* newControl = dynamic_cast<TPageControl*>(AParent);
  if (FPageControl && FPageControl != newControl) {
    FPageControl->RemovePage(this);
    FPageControl = nullptr;
  }
  TWinControl::SetParent(AParent);
  if (newControl && FPageControl != newControl) {
    FPageControl = newControl;
    newControl->InsertPage(this);
  }
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
  if (!FPageControl) return;
  auto& pages = FPageControl->FPages;
  Value = std::clamp(Value, 0, int(pages.size()) - 1);
  int current = PageIndex();
  if (current == Value) return;
  pages.erase(pages.begin() + current);
  pages.insert(pages.begin() + Value, this);
  FPageControl->UpdateTabs();
  FPageControl->UpdateTabIndex();
}

int TTabSheet::TabIndex() const {
  if (!FTabVisible || !FPageControl) return -1;
  int index = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return index;
    if (p->FTabVisible) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (FPageControl) {
    FPageControl->UpdateTabs();
    FPageControl->UpdateTabIndex();
  }
}

void TTabSheet::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetTextImpl(const String& Value) {
  TWinControl::SetTextImpl(Value);
  if (FPageControl && FTabVisible) {
    FPageControl->UpdateTabs();
    FPageControl->UpdateTabIndex();
  }
}

void TTabSheet::DoShow() {
  if (OnShow) OnShow(this);
}

void TTabSheet::DoHide() {
  if (OnHide) OnHide(this);
}

void TTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TTabSheet::CMShowingChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (Showing()) DoShow();
  else DoHide();
}

// --- TPageControl ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TPageControl)
VELBOR_PUBLISHED(TPageControl,
  Prop("ActivePage", &Self::ActivePage, &Self::SetActivePage))

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {
  ControlStyle = {csDoubleClicks, csOpaque};
}

TPageControl::~TPageControl() {
  Destroying();
  // The sheets go with the control's children; each leaves the page list as it goes.
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return FPages[std::size_t(Index)];
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  if (ComponentState().Contains(csLoading)) {
    FNewActivePage = Page;
    return;
  }
  ChangeActivePage(Page);
  UpdateTabIndex();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[std::size_t(Value)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
  int count = PageCount();
  if (count == 0) return nullptr;
  auto it = std::find(FPages.begin(), FPages.end(), CurPage);
  int start = it == FPages.end() ? (GoForward ? count - 1 : 0) : int(it - FPages.begin());
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* p = FPages[std::size_t(i)];
    if (!CheckTabVisible || p->TabVisible()) return p;
  } while (i != start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
  if (page && page != FActivePage && CanChange()) {
    SetActivePage(page);
    TCustomTabControl::Change();
  }
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (FActivePage == Page) return;
  TCustomForm* form = GetParentForm(this);
  bool focusInside = form && FActivePage && form->ActiveControl() && FActivePage->ContainsControl(form->ActiveControl());
  if (Page) {
    Page->BringToFront();
    Page->SetVisible(true);
    if (focusInside) {
      // The focus follows to the new page's first control, or to the tabs.
      TWinControl* next = Page->FindNextControl(nullptr, true, true, false);
      if (next && next->CanFocus()) form->FocusControl(next);
      else if (CanFocus()) form->FocusControl(this);
      focusInside = false;
    }
  }
  if (focusInside && CanFocus()) form->FocusControl(this);
  TTabSheet* old = FActivePage;
  FActivePage = Page;
  if (old && old != Page) old->SetVisible(false);
}

void TPageControl::UpdateTabIndex() {
  int index = FActivePage ? FActivePage->TabIndex() : -1;
  SetTabIndex(index);
}

TTabSheet* TPageControl::PageForTab(int TabIndex) const {
  if (TabIndex < 0) return nullptr;
  for (TTabSheet* p : FPages) {
    if (p->TabVisible() && TabIndex-- == 0) return p;
  }
  return nullptr;
}

void TPageControl::Change() {
  if (TTabSheet* page = PageForTab(TabIndex())) ChangeActivePage(page);
  TCustomTabControl::Change();
}

int TPageControl::GetImageIndex(int TabIndex) {
  TTabSheet* page = PageForTab(TabIndex);
  int index = page ? page->ImageIndex() : -1;
  if (OnGetImageIndex) OnGetImageIndex(this, TabIndex, index);
  return index;
}

std::vector<String> TPageControl::TabCaptions() const {
  std::vector<String> captions;
  for (TTabSheet* p : FPages) {
    if (p->TabVisible()) captions.push_back(p->Caption());
  }
  return captions;
}

void TPageControl::ShowControl(TControl* AControl) {
  if (auto* page = dynamic_cast<TTabSheet*>(AControl); page && page->FPageControl == this) SetActivePage(page);
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  UpdateTabs();
  // The first page becomes the active one; the others wait hidden.
  if (!FActivePage && !ComponentState().Contains(csLoading)) SetActivePage(Page);
  else UpdateTabIndex();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end()) return;
  TTabSheet* next = nullptr;
  if (Page == FActivePage && !ComponentState().Contains(csDestroying)) {
    next = FindNextPage(Page, true, false);
    if (next == Page) next = nullptr;
  }
  FPages.erase(it);
  if (FNewActivePage == Page) FNewActivePage = nullptr;
  if (Page == FActivePage) {
    FActivePage = nullptr;
    if (next) ChangeActivePage(next);
  }
  if (!ComponentState().Contains(csDestroying)) {
    UpdateTabs();
    UpdateTabIndex();
  }
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  TTabSheet* page = FNewActivePage ? FNewActivePage : (FPages.empty() ? nullptr : FPages.front());
  FNewActivePage = nullptr;
  UpdateTabs();
  ChangeActivePage(page);
  UpdateTabIndex();
}

void TPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    default: TCustomTabControl::Dispatch(Message); break;
  }
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is on the control or one of its pages.
void TPageControl::CMDialogKey(TMessage& Message) {
  if (Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && HandleAllocated() &&
      (Focused() || IsChild(FHandle, GetFocus()))) {
    SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
    Message.Result = 1;
    return;
  }
  TCustomTabControl::Dispatch(Message);
}
