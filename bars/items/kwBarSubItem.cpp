// This file implements the sub-items, the container and list items and their controls.
#include "kwBarSubItem.h"

#include <algorithm>

#include "Forms.h"
#include "ScopeGuard.h"
#include "kwBarControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"

// --- TCustomkwBarSubItem ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomkwBarSubItem)
VELBOR_PUBLISHED(TCustomkwBarSubItem,
  Prop("BarSize", &Self::BarSize, &Self::SetBarSize).Default(0),
  Prop("Detachable", &Self::Detachable, &Self::SetDetachable).Default(false),
  Prop("DetachingBar", &Self::DetachingBar, &Self::SetDetachingBar).Default(-1),
  Prop("Glyph", &Self::Glyph, &Self::SetGlyph),
  Prop("ImageIndex", &Self::ImageIndex, &Self::SetImageIndex).Default(-1).Stored(&Self::IsImageIndexStored),
  Prop("ShowCaption", &Self::ShowCaption, &Self::SetShowCaption).Default(true),
  Prop("OnClick", &Self::OnClick).Stored(&Self::IsOnClickStored),
  Prop("OnDetaching", &Self::OnDetaching),
  Prop("OnPaintBar", &Self::OnPaintBar))

TCustomkwBarSubItem::TCustomkwBarSubItem(TComponent* AOwner) : TkwBarItem(AOwner) {
  FItemLinks = new TkwBarItemLinks(BarManager(), this);
}

TCustomkwBarSubItem::~TCustomkwBarSubItem() {
  SetDetachingBar(-1);
  delete FItemLinks;
  FItemLinks = nullptr;
}

int TCustomkwBarSubItem::DetachingBar() const { return FDetachingBar ? FDetachingBar->Index() : -1; }

void TCustomkwBarSubItem::SetDetachingBar(int Value) {
  TkwBarManager* manager = BarManager();
  TkwBars* bars = manager ? manager->Bars() : nullptr;
  if (!bars || Value < -1 || Value >= bars->Count()) Value = -1;
  TkwBar* bar = Value >= 0 ? bars->Items(Value) : nullptr;
  if (bar == FDetachingBar) return;
  if (FDetachingBar) FDetachingBar->RemoveDetachingSubItem(this);
  FDetachingBar = bar;
  if (bar) bar->AddDetachingSubItem(this);
}

void TCustomkwBarSubItem::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  if (!IsLoading()) RebuildLinkBars();
}

void TCustomkwBarSubItem::BarManagerChanged() { FItemLinks->SetBarManager(BarManager()); }

void TCustomkwBarSubItem::BarNotification(TkwBar* Bar, TOperation Operation) {
  TkwBarItem::BarNotification(Bar, Operation);
  if (Operation == opRemove && Bar == FDetachingBar) {
    FDetachingBar->RemoveDetachingSubItem(this);
    FDetachingBar = nullptr;
  }
}

void TCustomkwBarSubItem::PaintBar(TCanvas* Canvas, const TRect& R) {
  if (OnPaintBar) OnPaintBar(this, Canvas, R);
}

void TCustomkwBarSubItem::DoCloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomkwBarSubItem::DoDetaching() {
  if (OnDetaching) OnDetaching(this);
}

void TCustomkwBarSubItem::DoPopup() {
  if (OnPopup) OnPopup(this);
}

VELBOR_IMPLEMENT_CLASS(TkwBarSubItem)
VELBOR_PUBLISHED(TkwBarSubItem,
  Prop("AllowCustomizing", &Self::AllowCustomizing).Default(true),
  Prop("ItemLinks", &Self::ItemLinks, &Self::SetItemLinks),
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnPopup", &Self::OnPopup))

TkwBarSubItem::TkwBarSubItem(TComponent* AOwner) : TCustomkwBarSubItem(AOwner) { AllowCustomizing = true; }

// --- Container items ---------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomkwBarContainerItem)
VELBOR_PUBLISHED(TCustomkwBarContainerItem, Prop("OnGetData", &Self::OnGetData))

TCustomkwBarContainerItem::~TCustomkwBarContainerItem() {
  // Its menu, still open, goes later with the links: it must not call this container back once
  // only the sub-item part of it is left.
  if (auto* menu = dynamic_cast<TContainerItemSubMenuControl*>(ItemLinks()->BarControl())) menu->ForgetContainer();
  if (GeneratedLinks) ClearGenerated();
}

void TCustomkwBarContainerItem::AddLinks(TkwBarItemLinks*, int, TkwBarItemLink*, bool GetData) {
  if (GeneratedLinks) ClearGenerated();
  if (!GetData || !OnGetData) return;
  FGettingData = true;
  try {
    OnGetData(this);
  } catch (...) {
    // The filling goes on with whatever content the item has.
  }
  FGettingData = false;
}

void TCustomkwBarContainerItem::ContentChanged() {
  if (!FGettingData) VisibleChanged();
}

VELBOR_IMPLEMENT_CLASS(TkwBarContainerItem)
VELBOR_PUBLISHED(TkwBarContainerItem, Prop("ItemLinks", &Self::ItemLinks, &Self::SetItemLinks))

void TkwBarContainerItem::AddLinks(TkwBarItemLinks* Links, int Index, TkwBarItemLink* ContainerLink, bool GetData) {
  TCustomkwBarContainerItem::AddLinks(Links, Index, ContainerLink, GetData);
  if (Links == ItemLinks()) return;
  TkwBarItemLinks* own = ItemLinks();
  for (int i = 0; i < own->GetVisibleItemCount(); ++i) {
    TkwBarItemLink* source = own->GetVisibleItem(i);
    TkwBarItemLink* link = Links->Add();
    link->OriginalLink = ContainerLink;
    link->Assign(source);
    link->SetIndex(Index + i);
    if (i == 0 && ReplacesOwnLink()) link->SetBeginGroup(true);
    if (ContainerLink) link->CopyUsageFrom(ContainerLink);
  }
}

void TkwBarContainerItem::RemoveLinks(TkwBarItemLinks* Links, int Index) {
  if (Links == ItemLinks()) return;
  for (int i = ItemLinks()->GetVisibleItemCount(); i > 0 && Index < Links->Count(); --i) delete Links->Items(Index);
}

bool TkwBarContainerItem::HasContent() const {
  return TCustomkwBarContainerItem::HasContent() || HasAvailableItems();
}

bool TkwBarContainerItem::HasAvailableItems() const {
  TkwBarItemLinks* own = ItemLinks();
  if (own->Count() == 0) return false;
  bool anyItem = false;
  for (int i = 0; i < own->Count(); ++i) {
    TkwBarItem* item = own->Items(i)->Item();
    if (!item) continue;
    anyItem = true;
    if (item->IsVisibleNow()) return true;
  }
  return !anyItem;
}

// --- TkwBarListItem -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarListItem)
VELBOR_PUBLISHED(TkwBarListItem,
  Prop("DataIndex", &Self::DataIndex, &Self::SetDataIndex).Stored(false),
  Prop("ItemIndex", &Self::ItemIndex, &Self::SetItemIndex).Default(-1),
  Prop("Items", &Self::Items, &Self::SetItems),
  Prop("ShowCheck", &Self::ShowCheck, &Self::SetShowCheck).Default(false),
  Prop("ShowNumbers", &Self::ShowNumbers, &Self::SetShowNumbers).Default(true))

TkwBarListItem::TkwBarListItem(TComponent* AOwner) : TCustomkwBarContainerItem(AOwner) {
  FItems = new TStringList();
  FItems->OnChange = TNotifyEvent(this, &TkwBarListItem::ItemsChanged);
}

TkwBarListItem::~TkwBarListItem() {
  for (auto it = FButtons.rbegin(); it != FButtons.rend(); ++it) delete *it;
  FButtons.clear();
  delete FItems;
  FItems = nullptr;
}

int TkwBarListItem::DataIndex() const {
  if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return -1;
  int entries = 0;
  for (int i = 0; i <= FItemIndex; ++i)
    if (FItems->Strings(i) != "-") ++entries;
  return entries - 1;
}

void TkwBarListItem::SetDataIndex(int Value) {
  if (FItems->Count() == 0) {
    FItemIndex = -1;
    return;
  }
  int k = -1;
  for (int i = 0; i < FItems->Count(); ++i) {
    if (FItems->Strings(i) == "-") continue;
    if (++k == Value) {
      FItemIndex = i;
      return;
    }
  }
  FItemIndex = FItems->Count();
}

bool TkwBarListItem::HasContent() const { return TCustomkwBarContainerItem::HasContent() || FItems->Count() > 0; }

void TkwBarListItem::Click() {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (GetLink(i)->Control() && GetLink(i)->Control()->Active()) return;
  TCustomkwBarContainerItem::Click();
}

void TkwBarListItem::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomkwBarContainerItem::Notification(AComponent, Operation);
  if (Operation == opRemove)
    FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), AComponent), FButtons.end());
}

void TkwBarListItem::EntryClick(TObject* Sender) {
  auto* button = dynamic_cast<TkwBarButton*>(Sender);
  if (!button) return;
  FItemIndex = button->Tag;
  Click();
}

void TkwBarListItem::EntriesEdited() {
  FButtonsStale = true;
  ContentChanged();
}

void TkwBarListItem::AddLinks(TkwBarItemLinks* Links, int Index, TkwBarItemLink* ContainerLink, bool GetData) {
  TCustomkwBarContainerItem::AddLinks(Links, Index, ContainerLink, GetData);
  // Buttons made for entries that changed since go, unless a menu still shows them.
  auto shown = [](TkwBarButton* Button) { return Button->GetLinkCount() > 0; };
  if (FButtonsStale && std::none_of(FButtons.begin(), FButtons.end(), shown)) {
    std::vector<TkwBarButton*> buttons;
    buttons.swap(FButtons);
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) delete *it;
    FButtonsStale = false;
  }
  bool make = FButtons.empty();
  TkwBarManager* manager = BarManager();
  TComponent* owner = manager ? manager->OwnerForm() : Owner();
  int k = 0;
  bool groupNext = false;
  for (int i = 0; i < FItems->Count(); ++i) {
    const String& s = FItems->Strings(i);
    if (s == "-") {
      groupNext = true;
      continue;
    }
    if (make) {
      auto* button = new TkwBarButton(owner);
      button->FreeNotification(this);
      FButtons.push_back(button);
      if (FShowCheck && i == FItemIndex) {
        button->SetButtonStyle(bsChecked);
        button->SetDown(true);
      }
      String caption;
      if (FShowNumbers) {
        // 1 to 9, then A, B, C... from the tenth entry on.
        caption = "&" + (k < 9 ? String(1, char('1' + k)) : String(1, char(k + 56))) + " ";
      }
      String text;
      GetDisplayText(s, text);
      button->SetCaption(caption + text);
      button->Tag = i;
      button->OnClick = TNotifyEvent(this, &TkwBarListItem::EntryClick);
      button->SetEnabled(Enabled());
    }
    if (std::size_t(k) < FButtons.size()) {
      TkwBarItemLink* link = Links->Add();
      link->OriginalLink = ContainerLink;
      link->SetItem(FButtons[std::size_t(k)]);
      link->SetIndex(Index + k);
      link->SetBeginGroup(k == 0 || groupNext);
      if (ContainerLink) link->CopyUsageFrom(ContainerLink);
    }
    groupNext = false;
    ++k;
  }
}

void TkwBarListItem::RemoveLinks(TkwBarItemLinks* Links, int Index) {
  // The links of the buttons added, whatever the entries became since.
  auto ours = [&](TkwBarItem* Item) { return std::find(FButtons.begin(), FButtons.end(), Item) != FButtons.end(); };
  while (Index < Links->Count() && ours(Links->Items(Index)->Item())) delete Links->Items(Index);
}

void TkwBarListItem::ClearGenerated() {
  if (!FButtons.empty() && FButtons.front()->GetLinkCount() == 0) {
    std::vector<TkwBarButton*> buttons;
    buttons.swap(FButtons);
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) delete *it;
  }
  TCustomkwBarContainerItem::ClearGenerated();
}

// --- TkwBarSubItemControl ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarSubItemControl)

namespace {
// At most one delayed open or close is pending in the process.
TkwBarSubItemControl* Pending = nullptr;
bool PendingOpens = false;
UINT_PTR PendingTimer = 0;

void CancelPending() {
  if (PendingTimer) KillTimer(nullptr, PendingTimer);
  PendingTimer = 0;
  Pending = nullptr;
}

void CALLBACK PendingTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  try {
    TkwBarSubItemControl::RunPending();
  } catch (...) {
    // A menu that fails to open or close stays as it is.
  }
}

void StartPending(TkwBarSubItemControl* Control, bool Opens) {
  CancelPending();
  Pending = Control;
  PendingOpens = Opens;
  PendingTimer = SetTimer(nullptr, 0, 400, &PendingTimerProc);
}
}  // namespace

TkwBarSubItemControl* TkwBarSubItemControl::PendingControl() { return Pending; }

void TkwBarSubItemControl::RunPending() {
  TkwBarSubItemControl* control = Pending;
  bool opens = PendingOpens;
  CancelPending();
  if (!control) return;
  if (opens)
    control->ControlActivate(true);
  else
    control->ControlInactivate(true);
}

TkwBarSubItemControl::~TkwBarSubItemControl() {
  if (Pending == this) CancelPending();
  TkwBarSubMenuControl* menu = GetSubMenuWindow();
  TkwBarItem* item = GetItem();
  if (menu && item && !item->IsDestroying() && !menu->IsClosing()) {
    menu->SetOwnerItemControl(nullptr);
    menu->CloseAndFree();
  }
}

TkwBarSubMenuControl* TkwBarSubItemControl::GetSubMenuWindow() const {
  TCustomkwBarSubItem* item = SubItem();
  return item ? dynamic_cast<TkwBarSubMenuControl*>(item->ItemLinks()->BarControl()) : nullptr;
}

void TkwBarSubItemControl::CreateSubMenuWindow() {
  if (TCustomkwBarSubItem* item = SubItem()) item->ItemLinks()->CreateBarControl();
}

int TkwBarSubItemControl::GetSubItemHeight() {
  TCustomkwBarControl* window = Window();
  return window ? window->Painter()->GetSubItemHeight(this, CaptionShown()) : 0;
}

int TkwBarSubItemControl::GetSubItemWidth() {
  TCustomkwBarControl* window = Window();
  return window ? window->Painter()->GetSubItemWidth(this, CaptionShown()) : 0;
}

bool TkwBarSubItemControl::CaptionShown() const {
  TCustomkwBarSubItem* item = SubItem();
  return !item || item->ShowCaption();
}

int TkwBarSubItemControl::CalcHeight() {
  return IsRotatedBarControl(Window()) ? GetSubItemWidth() : GetSubItemHeight();
}

int TkwBarSubItemControl::CalcWidth() {
  return IsRotatedBarControl(Window()) ? GetSubItemHeight() : GetSubItemWidth();
}

void TkwBarSubItemControl::ControlActivate(bool Now) {
  if (!CanOpenMenu()) return;
  TCustomkwBarSubItem* item = SubItem();
  TCustomkwBarControl* window = Window();
  TkwBarManager* manager = GetBarManager();
  if (!item || !window || !manager) return;
  if (GetSubMenuWindow()) {
    TkwBarItemLink* active = item->GetActiveLink();
    if (!active || active->Control() == this) {
      if (Pending == this) CancelPending();
      return;
    }
    // Another entry of the same item has the menu open: it closes it first.
    active->Control()->ControlInactivate(true);
    if (!IsLiveBarControl(window) || !window->HasItemControl(this)) return;
  }
  TkwBarItemControl::ControlActivate(Now);
  if (!GetEnabled() && !manager->IsDesigning()) return;
  if (!window->IsSubMenu()) {
    // On a tool bar, hovering opens nothing unless the bar is in the menu mode of the keyboard.
    auto* toolbar = dynamic_cast<TkwBarControl*>(window);
    if (!window->IsCustomizing() && !(toolbar && toolbar->MenuOpenedByKeyboard())) return;
    Now = true;
  }
  if (!Now && !manager->IsCustomizing()) {
    if (Pending && Pending != this) {
      TkwBarSubItemControl* other = Pending;
      bool ownerEntry = other->Window() == window->ParentControl();
      CancelPending();
      if (!ownerEntry) {
        try {
          other->ControlInactivate(true);
        } catch (...) {
        }
        if (!IsLiveBarControl(window) || !window->HasItemControl(this)) return;
      }
    }
    StartPending(this, true);
    return;
  }
  item->DoPopup();
  if (!IsLiveBarControl(window) || !window->HasItemControl(this)) return;
  item->Click();
  if (!IsLiveBarControl(window) || !window->HasItemControl(this)) return;
  CreateSubMenuWindow();
  TkwBarSubMenuControl* menu = GetSubMenuWindow();
  if (!menu) return;
  if (window->IsFlatLook()) menu->SetOwner(window->GetItemScreenRect(this), window);
  TRect r = Link()->ItemRect;
  TPoint point;
  if (window->IsSubMenu()) {
    point = TPoint(r.Right, r.Top - window->Painter()->GetSubMenuTopOffset());
    menu->OwnerWidth = r.Width();
  } else if (IsVerticalBarControl(window)) {
    point = TPoint(r.Right, r.Top);
    menu->OwnerWidth = r.Width();
  } else {
    point = TPoint(r.Left, r.Bottom);
    menu->OwnerHeight = r.Height();
  }
  menu->SetOwnerItemControl(this);
  ::ClientToScreen(window->Handle(), AsPOINT(&point));
  menu->SetBounds(point.X, point.Y, menu->Width(), menu->Height());
  window->SetChildMenu(menu);
  menu->SetParentBarControl(window);
  if (!window->IsSubMenu()) Repaint();
  menu->Animate = FOpenedByMouse;
  FOpenedByMouse = false;
  menu->Show();
  if (IsLiveBarControl(window) && window->HasItemControl(this) && window->Painter()->RedrawsOnDropDown()) Repaint();
}

void TkwBarSubItemControl::ControlInactivate(bool Now) {
  if (!CanOpenMenu()) return;
  TCustomkwBarControl* window = Window();
  TkwBarManager* manager = GetBarManager();
  if (window && window->IsSubMenu() && !Now && !Pending && window->HandleAllocated() && !window->IsDestroying() &&
      manager && !manager->IsCustomizing()) {
    StartPending(this, false);
    return;
  }
  TkwBarSubMenuControl* menu = GetSubMenuWindow();
  if (menu) menu->SetOwnerItemControl(nullptr);
  TkwBarItemControl::ControlInactivate(Now);
  if (Pending == this) CancelPending();
  // The menu tells the item of its closing (DoCloseUp) as it goes.
  if (menu && !menu->IsClosing()) menu->CloseAndFree();
  if (window && IsLiveBarControl(window) && !window->IsSubMenu() && window->HasItemControl(this)) Repaint();
}

void TkwBarSubItemControl::BeforeClick(bool ByMouse) {
  TkwBarManager* manager = GetBarManager();
  TCustomkwBarControl* window = Window();
  if (GetSubMenuWindow()) {
    if ((window && window->IsCustomizing()) || (manager && manager->GetEffectiveStyle() == bmsStandard))
      ControlInactivate(true);
    return;
  }
  ControlActivate(true);
  TkwBarSubMenuControl* menu = GetSubMenuWindow();
  if (ByMouse || !menu) return;
  TkwBarItemLinks* links = menu->ItemLinks();
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    if (!link->Control()) link->CreateItemControl();
    if (link->Control() && link->Control()->IsSelectable()) {
      menu->ActivateItem(link->Control());
      break;
    }
  }
}

bool TkwBarSubItemControl::WantsKey(WORD Key) const {
  TCustomkwBarControl* window = Window();
  return TkwBarItemControl::WantsKey(Key) || (Key == VK_RIGHT && window && window->IsSubMenu());
}

void TkwBarSubItemControl::KeyDown(WORD& Key) {
  if (Key == VK_RIGHT) ControlClick(false);
}

void TkwBarSubItemControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = Window();
  if (!window || Rect.Width() == 0) return;
  bool open = Active() && GetSubMenuWindow() != nullptr;
  window->Painter()->DrawSubItem(this, window->Canvas()->Handle(), Kind, IsSelected(), open, Rect, CaptionShown());
}

// --- Containers shown as entries of their own -------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TContainerItemSubMenuControl)

TContainerItemSubMenuControl::TContainerItemSubMenuControl(TkwBarManager* Manager, TCustomkwBarContainerItem* Container)
    : TkwBarSubMenuControl(Manager, Container->ItemLinks()), FContainer(Container) {}

TContainerItemSubMenuControl::~TContainerItemSubMenuControl() {
  if (FContainer) FContainer->MarkForClearing();
}

void TContainerItemSubMenuControl::DoCloseUp() {
  if (FContainer) FContainer->RemoveLinks(FContainer->ItemLinks(), 0);
  TkwBarSubMenuControl::DoCloseUp();
}

VELBOR_IMPLEMENT_CLASS(TkwBarContainerItemControl)

String TkwBarContainerItemControl::GetCaption() const {
  String caption = TkwBarSubItemControl::GetCaption();
  TCustomkwBarContainerItem* item = Container();
  TCustomkwBarControl* window = Window();
  if (window && window->IsSubMenu() && item && item->ReplacesOwnLink()) return "(" + caption + ")";
  return caption;
}

bool TkwBarContainerItemControl::HasSubMenu() const {
  TkwBarManager* manager = GetBarManager();
  return !manager || !manager->IsCustomizing();
}

void TkwBarContainerItemControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = Window();
  if (!window) return;
  if (Kind == ilMenu) {
    if (!Rect.IsEmpty()) DrawGlyphAndCaption(window->Canvas()->Handle(), false, false, true, Rect);
    return;
  }
  TkwBarSubItemControl::Draw(Rect, Kind);
}

void TkwBarContainerItemControl::CreateSubMenuWindow() {
  TkwBarManager* manager = GetBarManager();
  TCustomkwBarContainerItem* item = Container();
  if (!manager || !item || manager->IsCustomizing()) return;
  if (item->ItemLinks()->BarControl()) return;
  new TContainerItemSubMenuControl(manager, item);
  item->AddLinks(item->ItemLinks(), 0, Link(), true);
}
