// This file implements the popup menus of the bar library and the links of controls to them.
#include "kwBarPopupMenu.h"

#include <algorithm>
#include <vector>

#include "Forms.h"
#include "ScopeGuard.h"
#include "UtilityWindow.h"
#include "kjBase.h"
#include "kwBarGroups.h"
#include "kwBarItem.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwBars.h"

namespace {
// The popup menus that exist, so that a menu shown later is known to be alive then.
std::vector<TkwBarPopupMenu*> LiveMenus;

bool IsLiveMenu(const TkwBarPopupMenu* Menu) {
  return Menu && std::find(LiveMenus.begin(), LiveMenus.end(), Menu) != LiveMenus.end();
}

// Menus asked for from inside a hook, shown once the message that asked is over: a hook cannot
// wait for a menu to close.
struct TPendingPopup {
  TkwBarPopupMenu* Menu;
  TPoint Point;
};

class TPopupQueue : public TObject {
 public:
  std::vector<TPendingPopup> Pending;
  HWND Window = nullptr;
  static constexpr UINT WM_SHOWPENDING = WM_USER + 1;

  void Add(TkwBarPopupMenu* Menu, TPoint Point) {
    if (!Window) Window = AllocateHWnd(TWndMethod(this, &TPopupQueue::WndProc));
    Pending.push_back({Menu, Point});
    PostMessageA(Window, WM_SHOWPENDING, 0, 0);
  }

  void WndProc(TMessage& Message) {
    if (Message.Msg != WM_SHOWPENDING) {
      Message.Result = DefWindowProcA(Window, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    std::vector<TPendingPopup> pending;
    pending.swap(Pending);
    for (const TPendingPopup& p : pending)
      if (IsLiveMenu(p.Menu)) p.Menu->PopupAt(p.Point.X, p.Point.Y);
  }
};

TPopupQueue& PopupQueue() {
  static TPopupQueue* queue = new TPopupQueue();
  return *queue;
}

TkwBarManager* ManagerFor(TComponent* Owner) {
  if (TkwBarManager* manager = FindManagerOfForm(dynamic_cast<TCustomForm*>(Owner))) return manager;
  return BarManagerCount() > 0 ? GetBarManager(0) : nullptr;
}
}  // namespace

// --- TkwBarPopupMenu ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarPopupMenu)
VELBOR_PUBLISHED(TkwBarPopupMenu,
  Prop("BarManager", &Self::BarManager, &Self::SetBarManager),
  Prop("BarSize", &Self::BarSize, &Self::SetBarSize).Default(0),
  Prop("Font", &Self::Font, &Self::SetFont).Stored(&Self::StoresFont),
  Prop("ItemLinks", &Self::ItemLinks, &Self::SetItemLinks),
  Prop("UseOwnFont", &Self::UseOwnFont, &Self::SetUseOwnFont).Default(false),
  Prop("UseRecentItems", &Self::UseRecentItems, &Self::SetUseRecentItems).Default(false),
  Prop("BackgroundBitmap", &Self::BackgroundBitmap, &Self::SetBackgroundBitmap),
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnPopup", &Self::OnPopup),
  Prop("OnPaintBar", &Self::OnPaintBar))

TkwBarPopupMenu::TkwBarPopupMenu(TComponent* AOwner) : TComponent(AOwner) {
  StartBarLibrary();
  TkwBarManager* manager = ManagerFor(AOwner);
  if (!manager) throw EInvalidOperation(GetLocalizedResourceString(&kwSNoBarManagers));
  FBackgroundBitmap = new TBitmap();
  FFont = new TFont();
  FFont->Assign(manager->Font());
  FFont->OnChange = TNotifyEvent(this, &TkwBarPopupMenu::FontChanged);
  FItemLinks = new TkwBarItemLinks(manager, this);
  FItemLinks->UseRecentItems = false;
  FItemLinks->OwnerNotification = TNotifyEvent(this, &TkwBarPopupMenu::LinksChanged);
  FBarManager = manager;
  manager->AddPopupMenu(this);
  manager->FreeNotification(this);
  LiveMenus.push_back(this);
}

TkwBarPopupMenu::~TkwBarPopupMenu() {
  Destroying();
  LiveMenus.erase(std::remove(LiveMenus.begin(), LiveMenus.end(), this), LiveMenus.end());
  *FAlive = false;
  FIsShown = false;
  // The window closes with the links without telling this menu any more.
  if (TkwBarWindow* window = FItemLinks ? FItemLinks->BarControl() : nullptr) {
    FItemLinks->SetBarControl(nullptr);
    if (!window->IsDestroying()) {
      OnCloseUp = nullptr;
      delete window;
    }
  }
  delete FItemLinks;
  FItemLinks = nullptr;
  delete FFont;
  if (FBarManager) FBarManager->RemovePopupMenu(this);
  FBarManager = nullptr;
  delete FBackgroundBitmap;
}

void TkwBarPopupMenu::SetBarManager(TkwBarManager* Value) {
  if (Value == FBarManager) return;
  if (!Value && !ComponentState().Contains(csDestroying)) return;
  if (FBarManager) FBarManager->RemovePopupMenu(this);
  FBarManager = Value;
  if (!Value) return;
  Value->AddPopupMenu(this);
  Value->FreeNotification(this);
  // The links follow: the collection is made anew for that manager, with the same links.
  auto* links = new TkwBarItemLinks(Value, this);
  links->UseRecentItems = FUseRecentItems;
  links->OwnerNotification = TNotifyEvent(this, &TkwBarPopupMenu::LinksChanged);
  if (FItemLinks) links->Assign(FItemLinks);
  delete FItemLinks;
  FItemLinks = links;
  ManagerFontChanged();
}

void TkwBarPopupMenu::SetItemLinks(TkwBarItemLinks* Value) { FItemLinks->Assign(Value); }

void TkwBarPopupMenu::SetUseOwnFont(bool Value) {
  if (Value == FUseOwnFont) return;
  FUseOwnFont = Value;
  FSettingOwnFont = true;
  if (Value) {
    CreateBarFontHandle(FFont, FOwnFontHandle, false);
  } else {
    if (FBarManager) FFont->Assign(FBarManager->Font());
    FOwnFontHandle.Reset();
  }
  FSettingOwnFont = false;
}

void TkwBarPopupMenu::SetUseRecentItems(bool Value) {
  if (Value == FUseRecentItems) return;
  FUseRecentItems = Value;
  FItemLinks->UseRecentItems = Value;
}

void TkwBarPopupMenu::FontChanged(TObject*) {
  if (FSettingOwnFont) return;
  if (!FUseOwnFont) {
    SetUseOwnFont(true);
    return;
  }
  CreateBarFontHandle(FFont, FOwnFontHandle, false);
}

void TkwBarPopupMenu::ManagerFontChanged() {
  if (!FBarManager) return;
  if (FUseOwnFont) {
    CreateBarFontHandle(FFont, FOwnFontHandle, false);
    return;
  }
  FSettingOwnFont = true;
  FFont->Assign(FBarManager->Font());
  FSettingOwnFont = false;
}

void TkwBarPopupMenu::LinksChanged(TObject*) {
  if (!ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDestroying))
    return;
  if (FBarManager) FBarManager->DesignerModified();
}

void TkwBarPopupMenu::Loaded() {
  TComponent::Loaded();
  FItemLinks->ApplyLoadedState(true);
}

void TkwBarPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBarManager) FBarManager = nullptr;
}

TkwBarWindow* TkwBarPopupMenu::GetSubMenuControl() const {
  return FIsShown && FItemLinks ? FItemLinks->BarControl() : nullptr;
}

bool TkwBarPopupMenu::ExecuteShortCut(TShortCut ShortCut) { return FItemLinks->ExecuteShortCut(ShortCut); }

void TkwBarPopupMenu::DoPaintBar(TCanvas* Canvas, const TRect& R) {
  if (OnPaintBar) OnPaintBar(this, Canvas, R);
}

void TkwBarPopupMenu::MenuPopup(TObject*) {
  FIsShown = true;
  if (OnPopup) OnPopup(this);
}

void TkwBarPopupMenu::MenuCloseUp(TObject*) {
  FIsShown = false;
  if (OnCloseUp) OnCloseUp(this);
}

void TkwBarPopupMenu::PopupAt(int X, int Y) {
  if (!FItemLinks || FItemLinks->BarControl() || !FBarManager) return;
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (!form) form = FBarManager->OwnerForm();
  if (form) SendCancelMode(form);
  if (HWND capture = GetCapture()) {
    SendMessageA(capture, CM_KWBARCANCELCAPTURE, 0, 0);
    ReleaseCapture();
  }
  FItemLinks->CreateBarControl();
  TkwBarWindow* window = FItemLinks->BarControl();
  if (!window) return;
  TkwPopupRequest request;
  request.Point = TPoint(X, Y);
  request.ExcludeRect = FExcludeRect;
  for (int i = 0; i < 3; ++i) request.Placement[i] = FPlacement[i];
  if (auto* owner = dynamic_cast<TWinControl*>(Owner()); owner && owner->HandleAllocated())
    request.OwnerWindow = owner->Handle();
  request.OnPopup = TNotifyEvent(this, &TkwBarPopupMenu::MenuPopup);
  request.OnCloseUp = TNotifyEvent(this, &TkwBarPopupMenu::MenuCloseUp);
  request.AllowAnimation = FAllowAnimation;
  // A command chosen in the menu may free it: from here on it is touched only while it lives.
  std::shared_ptr<bool> alive = FAlive;
  window->ShowPopup(request);
  if (!*alive || NonModal) return;
  // Every message goes on to its window, commands of other windows too; the loop ends as soon as
  // the menu has closed, without waiting for a further message.
  // (A key that closes the menu does so inside GetMessage, through the keyboard hook: the message
  // fetched after it is passed on in its turn, and the loop ends.)
  while (*alive && FIsShown) {
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void TkwBarPopupMenu::PopupEx(int X, int Y, const TRect* ExcludeRect, bool Animate, int Value1, int Value2) {
  FExcludeRect = ExcludeRect;
  FPlacement[2] = Value1;
  FPlacement[1] = Value2;
  FAllowAnimation = Animate;
  std::shared_ptr<bool> alive = FAlive;
  TScopeGuard reset([&] {
    if (!*alive) return;
    FExcludeRect = nullptr;
    FPlacement[1] = FPlacement[2] = 0;
    FAllowAnimation = true;
  });
  PopupAt(X, Y);
}

// --- Popup-menu links ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarPopupMenuLink)
VELBOR_PUBLISHED(TkwBarPopupMenuLink,
  Prop("Control", &Self::Control, &Self::SetControl),
  Prop("PopupMenu", &Self::PopupMenu, &Self::SetPopupMenu),
  Prop("OnAction", &Self::OnAction))

TkwBarManager* TkwBarPopupMenuLink::GetBarManager() const {
  auto* links = dynamic_cast<TkwBarPopupMenuLinks*>(Collection());
  return links ? links->BarManager() : nullptr;
}

void TkwBarPopupMenuLink::SetControl(TWinControl* Value) {
  TkwBarManager* manager = GetBarManager();
  if (Value && manager && !manager->IsLoading() && GetParentForm(Value) != manager->OwnerForm()) Value = nullptr;
  FControl = Value;
  if (Value && manager) Value->FreeNotification(manager);
}

void TkwBarPopupMenuLink::SetPopupMenu(TkwBarPopupMenu* Value) {
  FPopupMenu = Value;
  if (Value)
    if (TkwBarManager* manager = GetBarManager()) Value->FreeNotification(manager);
}

void TkwBarPopupMenuLink::Assign(TPersistent* Source) {
  if (auto* source = dynamic_cast<TkwBarPopupMenuLink*>(Source)) {
    SetControl(source->FControl);
    SetPopupMenu(source->FPopupMenu);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TkwBarPopupMenuLink::DoAction(int& X, int& Y, bool ByMouse, bool& AllowPopup) {
  if (OnAction) OnAction(this, X, Y, ByMouse, AllowPopup);
}

bool TkwBarPopupMenuLink::ShowPopup(HWND Window, TPoint ClientPoint, bool ByMouse, bool Deferred) {
  if (!FControl) return false;
  // The system's context-menu request for the same click or key is answered here.
  MSG pending;
  while (PeekMessageA(&pending, Window, WM_CONTEXTMENU, WM_CONTEXTMENU, PM_REMOVE)) {
  }
  TPoint point = ClientPoint;
  if (!ByMouse) {
    point = TPoint(0, 0);
    if (HideCaret(Window)) {
      POINT caret;
      if (GetCaretPos(&caret)) point = TPoint(caret.x, caret.y);
      ShowCaret(Window);
    }
  }
  // X and Y as the link's control sees them.
  POINT p{point.X, point.Y};
  if (FControl->HandleAllocated() && Window != FControl->Handle()) MapWindowPoints(Window, FControl->Handle(), &p, 1);
  int x = p.x, y = p.y;
  bool allow = FPopupMenu != nullptr;
  DoAction(x, y, ByMouse, allow);
  if (!allow || !FPopupMenu) return false;
  if (FControl->HandleAllocated() && IsWindowEnabled(Window)) SetFocus(Window);
  POINT screen{x, y};
  if (FControl->HandleAllocated()) ClientToScreen(FControl->Handle(), &screen);
  if (Deferred)
    PopupQueue().Add(FPopupMenu, TPoint(screen.x, screen.y));
  else
    FPopupMenu->PopupAt(screen.x, screen.y);
  return true;
}

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarPopupMenuLinks)

TkwBarPopupMenuLinks::TkwBarPopupMenuLinks(TkwBarManager* Manager)
    : TCollection(TkwBarPopupMenuLink::StaticClass()), FManager(Manager) {}

TkwBarPopupMenuLink* TkwBarPopupMenuLinks::Items(int Index) const {
  return static_cast<TkwBarPopupMenuLink*>(TCollection::Items(Index));
}

TkwBarPopupMenuLink* TkwBarPopupMenuLinks::Add() { return static_cast<TkwBarPopupMenuLink*>(TCollection::Add()); }

TPersistent* TkwBarPopupMenuLinks::GetOwner() { return FManager; }

bool TkwBarPopupMenuLinks::HasLinkFor(const TWinControl* Control) const {
  for (int i = 0; Control && i < Count(); ++i)
    if (Items(i)->FControl == Control) return true;
  return false;
}

bool TkwBarPopupMenuLinks::ShowPopupFor(TWinControl* Control, HWND Window, TPoint ScreenPoint, bool Deferred) {
  if (!Control || (FManager && FManager->IsDesigning())) return false;
  bool byMouse = !(ScreenPoint.X == -1 && ScreenPoint.Y == -1);
  TPoint client = ScreenPoint;
  if (byMouse) {
    POINT p{ScreenPoint.X, ScreenPoint.Y};
    ScreenToClient(Window, &p);
    client = TPoint(p.x, p.y);
  }
  for (int i = 0; i < Count(); ++i) {
    TkwBarPopupMenuLink* link = Items(i);
    if (link->FControl == Control && link->ShowPopup(Window, client, byMouse, Deferred)) return true;
  }
  return false;
}

bool TkwBarPopupMenuLinks::ExecuteShortCutFor(TWinControl* Control, TShortCut ShortCut) {
  if (!Control) return false;
  for (int i = 0; i < Count(); ++i) {
    TkwBarPopupMenuLink* link = Items(i);
    if (link->FControl != Control) continue;
    bool allow = link->FPopupMenu != nullptr;
    int x = -1, y = -1;
    link->DoAction(x, y, false, allow);
    if (allow && link->FPopupMenu && link->FPopupMenu->ExecuteShortCut(ShortCut)) return true;
  }
  return false;
}

void TkwBarPopupMenuLinks::Forget(TComponent* Component) {
  for (int i = 0; i < Count(); ++i) {
    TkwBarPopupMenuLink* link = Items(i);
    if (link->FControl == Component) link->FControl = nullptr;
    if (link->FPopupMenu == Component) link->FPopupMenu = nullptr;
  }
}

void RegisterBarPopupMenuClasses() {
  RegisterClass(TkwBarPopupMenu::StaticClass());
  RegisterClass(TkwBarGroup::StaticClass());
}
