// This file implements the menu items and the menus that hold them (TMenuItem, TMenuActionLink,
// TMenu, TMainMenu with its merging) over native menus.
#include "Menus.h"

#include <algorithm>
#include <unordered_map>

#include "Format.h"
#include "ImageList.h"
#include "StrUtils.h"
#include "TextOrder.h"

namespace {
// The items of the live commands and native sub-menus: the menu messages name them so.
std::unordered_map<WORD, TMenuItem*>& CommandItems() {
  static auto* items = new std::unordered_map<WORD, TMenuItem*>();
  return *items;
}

std::unordered_map<HMENU, TMenuItem*>& HandleItems() {
  static auto* items = new std::unordered_map<HMENU, TMenuItem*>();
  return *items;
}

// Identifiers from 1 up to below the MDI client's first child identifier (0xFF00).
constexpr WORD LastCommand = 0xFEFF;

WORD UniqueCommand(TMenuItem* Item) {
  static WORD next = 0;
  auto& items = CommandItems();
  if (items.size() >= LastCommand) throw EOutOfResources("Trop d'éléments de menu"_a);
  do {
    next = next >= LastCommand ? 1 : WORD(next + 1);
  } while (items.count(next));
  items[next] = Item;
  return next;
}

String StripAmpersand(const String& Caption) {
  String result;
  for (std::size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == '&' && i + 1 < Caption.size()) ++i;
    result += Caption[i];
  }
  return result;
}
}  // namespace

TMenuItem* MenuItemOfCommand(WORD Command) {
  auto it = CommandItems().find(Command);
  return it == CommandItems().end() ? nullptr : it->second;
}

TMenuItem* MenuItemOfHandle(HMENU Handle) {
  auto it = HandleItems().find(Handle);
  return it == HandleItems().end() ? nullptr : it->second;
}

// --- TMenuActionLink ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TMenuActionLink)

TMenuActionLink::TMenuActionLink(TMenuItem* AClient) : TActionLink(AClient), FClient(AClient) {}

bool TMenuActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}
bool TMenuActionLink::IsCheckedLinked() {
  return TActionLink::IsCheckedLinked() && FClient->Checked() == CustomAction()->Checked();
}
bool TMenuActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}
bool TMenuActionLink::IsHelpContextLinked() {
  return TActionLink::IsHelpContextLinked() && FClient->HelpContext == CustomAction()->HelpContext();
}
bool TMenuActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && FClient->Hint == CustomAction()->Hint();
}
bool TMenuActionLink::IsGroupIndexLinked() {
  return TActionLink::IsGroupIndexLinked() && FClient->GroupIndex() == CustomAction()->GroupIndex();
}
bool TMenuActionLink::IsImageIndexLinked() {
  return TActionLink::IsImageIndexLinked() && FClient->ImageIndex() == CustomAction()->ImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() {
  return TActionLink::IsShortCutLinked() && FClient->ShortCut() == CustomAction()->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}
bool TMenuActionLink::IsAutoCheckLinked() {
  return TActionLink::IsAutoCheckLinked() && FClient->AutoCheck == CustomAction()->AutoCheck();
}
bool TMenuActionLink::IsOnExecuteLinked() { return FAction && FClient->OnClick == FAction->OnExecute; }

void TMenuActionLink::SetCaption(const String& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}
void TMenuActionLink::SetHelpContext(int Value) {
  if (IsHelpContextLinked()) FClient->HelpContext = Value;
}
void TMenuActionLink::SetHint(const String& Value) {
  if (IsHintLinked()) FClient->Hint = Value;
}
void TMenuActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FClient->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}
void TMenuActionLink::SetAutoCheck(bool Value) {
  if (IsAutoCheckLinked()) FClient->AutoCheck = Value;
}
void TMenuActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FClient->OnClick = Value;
}

// --- TMenuItem ----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TMenuItem)
VELBOR_PUBLISHED(TMenuItem,
  Prop("Action", &Self::Action, &Self::SetAction),
  Prop("AutoCheck", &Self::AutoCheck).Default(false),
  Prop("Break", &Self::Break, &Self::SetBreak).Default(mbNone),
  Prop("Caption", &Self::Caption, &Self::SetCaption),
  Prop("Checked", &Self::Checked, &Self::SetChecked).Default(false),
  Prop("Default", &Self::Default, &Self::SetDefault).Default(false),
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true),
  Prop("GroupIndex", &Self::GroupIndex, &Self::SetGroupIndex).Default(0),
  Prop("HelpContext", &Self::HelpContext).Default(0),
  Prop("Hint", &Self::Hint),
  Prop("ImageIndex", &Self::ImageIndex, &Self::SetImageIndex).Default(-1),
  Prop("RadioItem", &Self::RadioItem, &Self::SetRadioItem).Default(false),
  Prop("ShortCut", &Self::ShortCut, &Self::SetShortCut).Default(0),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(true),
  Prop("OnClick", &Self::OnClick),
  Prop("OnDrawItem", &Self::OnDrawItem),
  Prop("OnMeasureItem", &Self::OnMeasureItem))

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) { FCommand = UniqueCommand(this); }

TMenuItem::~TMenuItem() {
  // No rebuilding while the item and its sub-items go.
  FComponentState.Include(csDestroying);
  if (FMergedWith) {
    FMergedWith->FMerged = nullptr;
    FMergedWith->RebuildHandle();
  }
  if (FMerged) FMerged->FMergedWith = nullptr;
  if (FParent) FParent->Remove(this);
  while (!FItems.empty()) delete FItems.back();
  delete FActionLink;
  FActionLink = nullptr;
  CommandItems().erase(FCommand);
  if (FHandle) {
    // Sub-menus are destroyed by their own items: detach them first.
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
    HandleItems().erase(FHandle);
    DestroyMenu(FHandle);
  }
}

void TMenuItem::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  MenuChanged();
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::TurnSiblingsOff() {
  if (!FParent) return;
  for (TMenuItem* sibling : FParent->FItems) {
    if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex && sibling->FChecked) {
      // Through the setter: a linked action follows.
      if (sibling->FActionLink && sibling->FActionLink->IsCheckedLinked()) {
        if (auto* action = dynamic_cast<TCustomAction*>(sibling->Action())) {
          action->SetChecked(false);
          continue;
        }
      }
      sibling->SetChecked(false);
    }
  }
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  MenuChanged();
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  MenuChanged();
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value && FParent) {
    for (TMenuItem* sibling : FParent->FItems) sibling->FDefault = false;
  }
  FDefault = Value;
  MenuChanged();
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked && Value) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetBreak(TMenuBreak Value) {
  if (FBreak == Value) return;
  FBreak = Value;
  MenuChanged();
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  MenuChanged();
}

void TMenuItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  MenuChanged();
}

void TMenuItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    delete FActionLink;
    FActionLink = nullptr;
    return;
  }
  if (!FActionLink) {
    FActionLink = new TMenuActionLink(this);
    FActionLink->OnChange = TNotifyEvent(this, &TMenuItem::DoActionChange);
  }
  FActionLink->SetAction(Value);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TMenuItem::DoActionChange(TObject* Sender) {
  if (Sender == Action()) ActionChange(Sender, false);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || FCaption.empty()) SetCaption(a->Caption());
  if (!CheckDefaults || !FChecked) SetChecked(a->Checked());
  if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
  if (!CheckDefaults || FGroupIndex == 0) SetGroupIndex(a->GroupIndex());
  if (!CheckDefaults || HelpContext == 0) HelpContext = a->HelpContext();
  if (!CheckDefaults || Hint.empty()) Hint = a->Hint();
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(a->ImageIndex());
  if (!CheckDefaults || FShortCut == scNone) SetShortCut(a->ShortCut());
  if (!CheckDefaults || FVisible) SetVisible(a->Visible());
  if (!CheckDefaults || !AutoCheck) AutoCheck = a->AutoCheck();
  if (!CheckDefaults || !OnClick) OnClick = a->OnExecute;
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* action = Action()) ActionChange(action, true);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    bool bar = FMenu && dynamic_cast<TMainMenu*>(FMenu);
    FHandle = bar ? CreateMenu() : CreatePopupMenu();
    if (!FHandle) throw EOutOfResources("Impossible de créer un menu"_a);
    HandleItems()[FHandle] = this;
    RebuildHandle();
  }
  return FHandle;
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError(Format("Indice de menu hors limites (%d)", {Index}));
  return FItems[std::size_t(Index)];
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int Value) {
  if (!FParent) return;
  TMenuItem* parent = FParent;
  int count = parent->Count();
  Value = std::clamp(Value, 0, count - 1);
  if (Value == MenuIndex()) return;
  parent->Remove(this);
  parent->Insert(Value, this);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (Item->FParent) throw EMenuError("L'élément de menu est déjà inséré"_a);
  if (Index < 0 || Index > Count()) throw EMenuError(Format("Indice de menu hors limites (%d)", {Index}));
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (Item->FChecked && Item->FRadioItem) Item->TurnSiblingsOff();
  RebuildHandle();
  // The first sub-item turns this item's entry into a sub-menu.
  MenuChanged();
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  FItems.erase(FItems.begin() + Index);
  item->FParent = nullptr;
  RebuildHandle();
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* Item) {
  int index = IndexOf(Item);
  if (index < 0) throw EMenuError("Elément de menu introuvable"_a);
  Delete(index);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
  String wanted = StripAmpersand(ACaption);
  for (TMenuItem* item : FItems) {
    if (AnsiSameText(StripAmpersand(item->FCaption), wanted)) return item;
  }
  return nullptr;
}

TMenuItem* TMenuItem::FindItem(UINT Value, TFindItemKind Kind) {
  for (TMenuItem* item : FItems) {
    bool match = (Kind == fkCommand && item->FCommand == Value) || (Kind == fkHandle && item->FHandle &&
                                                                     item->FHandle == reinterpret_cast<HMENU>(UINT_PTR(Value))) ||
                 (Kind == fkShortCut && item->FShortCut != scNone && item->FShortCut == Value);
    if (match) return item;
    if (TMenuItem* found = item->FindItem(Value, Kind)) return found;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (AutoCheck && !(FActionLink && FActionLink->Action() && FActionLink->IsAutoCheckLinked())) SetChecked(!FChecked);
  if (OnClick && Action() && !(OnClick == Action()->OnExecute)) OnClick(this);
  else if (FActionLink && Action()) FActionLink->Execute(this);
  else if (OnClick) OnClick(this);
}

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TMenuItem* item : FItems) {
    if (item->Owner() == Root) Proc(item);
  }
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(Value)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(Value)) item->Add(this);
}

void TMenuItem::SetChildOrder(TComponent* Child, int Order) {
  if (auto* item = dynamic_cast<TMenuItem*>(Child); item && item->FParent == this) item->SetMenuIndex(Order);
}

void TMenuItem::MenuChanged() {
  if (FComponentState.Contains(csDestroying)) return;
  if (FParent) FParent->RebuildHandle();
}

std::vector<TMenuItem*> TMenuItem::ShownItems() const {
  std::vector<TMenuItem*> all;
  if (!FMerged) {
    all = FItems;
  } else {
    const auto& own = FItems;
    const auto& other = FMerged->FItems;
    std::size_t i = 0, j = 0;
    while (i < own.size() || j < other.size()) {
      if (j < other.size() && (i == own.size() || other[j]->FGroupIndex <= own[i]->FGroupIndex)) {
        // The merged menu's group replaces the bar's items of the same group.
        int group = other[j]->FGroupIndex;
        while (j < other.size() && other[j]->FGroupIndex == group) all.push_back(other[j++]);
        while (i < own.size() && own[i]->FGroupIndex == group) ++i;
      } else {
        all.push_back(own[i++]);
      }
    }
  }
  std::vector<TMenuItem*> shown;
  for (TMenuItem* item : all) {
    if (item->FVisible) shown.push_back(item);
  }
  return shown;
}

void TMenuItem::RebuildHandle() {
  if (FComponentState.Contains(csDestroying)) return;
  if (FHandle) {
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
    TMenu* menu = GetParentMenu();
    bool ownerDraw = menu && menu->OwnerDraw();
    UINT position = 0;
    for (TMenuItem* item : ShownItems()) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
      String text;
      if (item->IsLine()) {
        info.fType = MFT_SEPARATOR;
      } else {
        text = item->FCaption;
        if (item->FShortCut != scNone) text += "\t" + ShortCutToText(item->FShortCut);
        info.fMask |= MIIM_STRING;
        info.dwTypeData = text.data();
        info.fType = ownerDraw ? MFT_OWNERDRAW : MFT_STRING;
        if (item->FRadioItem) info.fType |= MFT_RADIOCHECK;
      }
      if (item->FBreak == mbBreak) info.fType |= MFT_MENUBREAK;
      else if (item->FBreak == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
      info.fState = (item->FChecked ? MFS_CHECKED : 0) | (item->FEnabled ? 0 : MFS_GRAYED) |
                    (item->FDefault ? MFS_DEFAULT : 0);
      info.wID = item->FCommand;
      info.hSubMenu = item->Count() > 0 ? item->Handle() : nullptr;
      info.dwItemData = ULONG_PTR(item);
      InsertMenuItemA(FHandle, position++, TRUE, &info);
    }
    // The MDI client keeps its list of children at the end of the window menu.
    for (int i = 0; Screen.Exists() && i < Screen->FormCount(); ++i) {
      TCustomForm* form = Screen->Forms(i);
      if (form->WindowMenu() == FHandle && form->ClientHandle()) SendMessageA(form->ClientHandle(), WM_MDIREFRESHMENU, 0, 0);
    }
  }
  if (FMergedWith) FMergedWith->RebuildHandle();
  if (FMenu) FMenu->MenuChanged(this);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, TRect ARect, bool Selected) {
  if (OnDrawItem) {
    OnDrawItem(this, ACanvas, ARect, Selected);
    return;
  }
  ACanvas->Brush()->SetColor(Selected ? clHighlight : clMenu);
  ACanvas->FillRect(ARect);
  ACanvas->Font()->SetColor(!FEnabled ? clGrayText : Selected ? clHighlightText : clMenuText);
  if (IsLine()) {
    int y = (ARect.Top + ARect.Bottom) / 2;
    ACanvas->Brush()->SetColor(clBtnShadow);
    ACanvas->FillRect(Rect(ARect.Left + 2, y, ARect.Right - 2, y + 1));
    return;
  }
  int h = ACanvas->TextHeight("Wg");
  int y = ARect.Top + (ARect.Height() - h) / 2;
  ACanvas->Brush()->SetStyle(bsClear);
  String caption = StripAmpersand(FCaption);
  ACanvas->TextOut(ARect.Left + 16, y, FChecked ? "\xBB " + caption : caption);
  if (FShortCut != scNone) {
    String keys = ShortCutToText(FShortCut);
    ACanvas->TextOut(ARect.Right - ACanvas->TextWidth(keys) - 8, y, keys);
  }
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
  if (IsLine()) {
    Height = 5;
  } else {
    String text = StripAmpersand(FCaption);
    if (FShortCut != scNone) text += "    " + ShortCutToText(FShortCut);
    Width = ACanvas->TextWidth(text) + 24;
    Height = std::max(ACanvas->TextHeight("Wg") + 4, GetSystemMetrics(SM_CYMENU));
  }
  if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

// --- TMenu --------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TMenu)
VELBOR_PUBLISHED(TMenu,
  Prop("Images", &Self::Images, &Self::SetImages),
  Prop("OwnerDraw", &Self::OwnerDraw, &Self::SetOwnerDraw).Default(false))

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) {
  InstallMenuFormHooks();
  FItems = new TMenuItem(nullptr);
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  // Forms showing the menu let it go while it is whole.
  for (int i = 0; Screen.Exists() && i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (form->Menu() == this) form->SetMenu(nullptr);
  }
  if (FItems->FMergedWith) {
    if (auto* host = dynamic_cast<TMainMenu*>(FItems->FMergedWith->FMenu)) host->Merge(nullptr);
  }
  SetImages(nullptr);
  FItems->FMenu = nullptr;
  delete FItems;
}

void TMenu::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  // Every level shows its entries anew.
  std::vector<TMenuItem*> pending{FItems};
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    item->RebuildHandle();
    for (TMenuItem* sub : item->FItems) pending.push_back(sub);
  }
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TMenu::SetChildOrder(TComponent* Child, int Order) { FItems->SetChildOrder(Child, Order); }

void TMenu::GetChildren(TGetChildProc Proc, TComponent* Root) { FItems->GetChildren(Proc, Root); }

TMenuItem* TMenu::FindItem(UINT Value, TFindItemKind Kind) const { return FItems->FindItem(Value, Kind); }

bool TMenu::IsShortCut(TMessage& Message) {
  TShortCut shortCut = ShortCutFromKeyMessage(Message);
  if (shortCut == scNone) return false;
  TMenuItem* item = FindItem(shortCut, fkShortCut);
  if (!item) return false;
  // The item shows the state of its action, and its parents open (their OnClick fills them) as if
  // the user went through them.
  std::vector<TMenuItem*> chain;
  for (TMenuItem* p = item; p && p != FItems; p = p->Parent()) chain.insert(chain.begin(), p);
  for (TMenuItem* p : chain) {
    p->InitiateAction();
    if (!p->Enabled()) return true;
    if (p != item && p->OnClick) p->OnClick(p);
  }
  item->Click();
  return true;
}

bool TMenu::DispatchCommand(WORD ACommand) {
  TMenuItem* item = FindItem(ACommand, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

void TMenu::MenuChanged(TMenuItem*) {}

// --- TMainMenu ----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TMainMenu)
VELBOR_PUBLISHED(TMainMenu,
  Prop("AutoMerge", &Self::AutoMerge).Default(false))

TMainMenu::~TMainMenu() { Merge(nullptr); }

void TMainMenu::Merge(TMainMenu* Menu) {
  if (Menu == this) Menu = nullptr;
  if (Menu == FMergedMenu) return;
  if (FMergedMenu) {
    FMergedMenu->RemoveFreeNotification(this);
    FMergedMenu->Items()->FMergedWith = nullptr;
  }
  FMergedMenu = Menu;
  Items()->FMerged = Menu ? Menu->Items() : nullptr;
  if (Menu) {
    // A menu merged elsewhere leaves that bar first.
    if (TMenuItem* other = Menu->Items()->FMergedWith) {
      if (auto* host = dynamic_cast<TMainMenu*>(other->FMenu)) host->Merge(nullptr);
    }
    Menu->FreeNotification(this);
    Menu->Items()->FMergedWith = Items();
  }
  Items()->RebuildHandle();
}

void TMainMenu::Unmerge(TMainMenu* Menu) {
  if (Menu && Menu == FMergedMenu) Merge(nullptr);
}

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMergedMenu) {
    FMergedMenu = nullptr;
    Items()->FMerged = nullptr;
    if (!ComponentState().Contains(csDestroying)) Items()->RebuildHandle();
  }
}

void TMainMenu::MenuChanged(TMenuItem* Source) {
  if (Source != Items()) return;
  for (int i = 0; Screen.Exists() && i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (form->Menu() == this && form->HandleAllocated() && form->FormStyle() != fsMDIChild) DrawMenuBar(form->Handle());
  }
}

// --- Helpers ------------------------------------------------------------------------------------

TMenuItem* NewItem(const String& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   const TNotifyEvent& AOnClick, int HelpContext, const String& AName) {
  auto* item = new TMenuItem(nullptr);
  item->SetName(AName);
  item->SetCaption(ACaption);
  item->SetShortCut(AShortCut);
  item->SetChecked(AChecked);
  item->SetEnabled(AEnabled);
  item->OnClick = AOnClick;
  item->HelpContext = HelpContext;
  return item;
}

TMenuItem* NewLine() {
  auto* item = new TMenuItem(nullptr);
  item->SetCaption("-");
  return item;
}

void SetWindowMenu(TCustomForm* Frame, TMenuItem* Item) { Frame->SetWindowMenu(Item ? Item->Handle() : nullptr); }

void RegisterMenuClasses() {
  RegisterClass(TMainMenu::StaticClass());
  RegisterClass(TPopupMenu::StaticClass());
  RegisterClass(TMenuItem::StaticClass());
}
