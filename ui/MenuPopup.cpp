// This file implements TPopupMenu, the menu messages (commands, sub-menus opening, selection
// hints, owner drawing) and the joins between forms and the menu and action libraries
// (shortcuts, idle updates, menu bars, MDI merging, popup menus of controls).
#include "Menus.h"
#include "UtilityWindow.h"

// --- Menu messages ------------------------------------------------------------------------------

// The messages a menu sends its owner window (a form, or the popup list window); true when
// handled.
bool PopupListMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COMMAND: {
      // Menus send 0 in the high word and no control; accelerators and controls are not ours.
      if (HIWORD(Message.WParam) != 0 || Message.LParam != 0) return false;
      TMenuItem* item = MenuItemOfCommand(LOWORD(Message.WParam));
      if (!item) return false;
      Message.Result = 0;
      item->Click();
      return true;
    }
    case WM_INITMENUPOPUP: {
      TMenuItem* item = MenuItemOfHandle(reinterpret_cast<HMENU>(Message.WParam));
      if (!item) return false;
      // The parent's OnClick may fill the sub-menu; the actions show their current state.
      if (item->Parent() && item->OnClick) item->OnClick(item);
      for (int i = 0; i < item->Count(); ++i) item->Items(i)->InitiateAction();
      Message.Result = 0;
      return true;
    }
    case WM_MENUSELECT: {
      UINT flags = HIWORD(Message.WParam);
      auto menu = reinterpret_cast<HMENU>(Message.LParam);
      TMenuItem* item = nullptr;
      if (flags == 0xFFFF && !menu) item = nullptr;
      else if (flags & MF_POPUP) item = MenuItemOfHandle(GetSubMenu(menu, LOWORD(Message.WParam)));
      else item = MenuItemOfCommand(LOWORD(Message.WParam));
      if (Application.Exists()) Application->SetHint(item ? GetLongHint(item->Hint) : String());
      return false;
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (!draw || draw->CtlType != ODT_MENU) return false;
      TMenuItem* item = MenuItemOfCommand(WORD(draw->itemID));
      if (!item) return false;
      TCanvas canvas;  // lets go of the context when it goes
      canvas.SetHandle(draw->hDC);
      canvas.Font()->Assign(Screen->MenuFont());
      item->DrawItem(&canvas, TRect(draw->rcItem), (draw->itemState & ODS_SELECTED) != 0);
      Message.Result = 1;
      return true;
    }
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      if (!measure || measure->CtlType != ODT_MENU) return false;
      TMenuItem* item = MenuItemOfCommand(WORD(measure->itemID));
      if (!item) return false;
      TWindowDC dc;
      TCanvas canvas;  // lets go of the context before it is released
      canvas.SetHandle(dc);
      canvas.Font()->Assign(Screen->MenuFont());
      int width = int(measure->itemWidth), height = int(measure->itemHeight);
      item->MeasureItem(&canvas, width, height);
      measure->itemWidth = UINT(width);
      measure->itemHeight = UINT(height);
      Message.Result = 1;
      return true;
    }
    default:
      return false;
  }
}

bool MenuFormMessage(TCustomForm*, TMessage& Message) { return PopupListMessage(Message); }

namespace {
// The hidden window that owns the popup menus while they show.
class TPopupList : public TObject {
 public:
  HWND Window() {
    if (!FWindow) FWindow = AllocateHWnd(TWndMethod(this, &TPopupList::WndProc));
    return FWindow;
  }

 private:
  void WndProc(TMessage& Message) {
    if (!PopupListMessage(Message)) Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
  }
  HWND FWindow = nullptr;
};

TPopupList& PopupList() {
  static auto* list = new TPopupList();
  return *list;
}
}  // namespace

// --- TPopupMenu ---------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TPopupMenu)
VELBOR_PUBLISHED(TPopupMenu,
  Prop("Alignment", &Self::Alignment).Default(paLeft),
  Prop("AutoPopup", &Self::AutoPopup).Default(true),
  Prop("OnPopup", &Self::OnPopup))

TPopupMenu::~TPopupMenu() { SetPopupComponent(nullptr); }

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y) {
  static const UINT Alignments[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  FPopupPoint = TPoint(X, Y);
  DoPopup(this);
  // The command comes back as the result, so the click runs before Popup returns.
  UINT flags = Alignments[Alignment] | TPM_RIGHTBUTTON | TPM_RETURNCMD;
  int command = TrackPopupMenu(Items()->Handle(), flags, X, Y, 0, PopupList().Window(), nullptr);
  if (command == 0) return;
  if (TMenuItem* item = MenuItemOfCommand(WORD(command))) item->Click();
}

// --- Joins with the forms -----------------------------------------------------------------------

namespace {
bool FormIsShortCut(TCustomForm* Form, TMessage& Message) {
  // The popup menus of the focused control and its parents come first.
  if (Screen.Exists()) {
    for (TControl* c = Screen->ActiveControl(); c && GetParentForm(c) == Form; c = c->Parent()) {
      if (auto* popup = dynamic_cast<TPopupMenu*>(c->PopupMenu()); popup && popup->IsShortCut(Message)) return true;
    }
  }
  if (auto* menu = dynamic_cast<TMenu*>(Form->Menu()); menu && menu->IsShortCut(Message)) return true;
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    if (auto* list = dynamic_cast<TCustomActionList*>(Form->Components(i)); list && list->IsShortCut(Message)) return true;
  }
  // What the focused form leaves goes to the main form (an MDI frame's commands serve its
  // children), unless a modal form disabled it.
  TCustomForm* main = Application.Exists() ? Application->MainForm() : nullptr;
  if (main && main != Form && main->HandleAllocated() && IsWindowEnabled(main->Handle())) return main->IsShortCut(Message);
  return false;
}

void FormUpdateActions(TCustomForm* Form) {
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    if (auto* list = dynamic_cast<TCustomActionList*>(Form->Components(i))) list->UpdateActions();
  }
  // The bar's items show at once (their sub-items update as they open).
  if (auto* menu = dynamic_cast<TMenu*>(Form->Menu())) {
    for (int i = 0; i < menu->Items()->Count(); ++i) menu->Items()->Items(i)->InitiateAction();
  }
}

HMENU FormMenuHandle(TComponent* Menu) {
  auto* menu = dynamic_cast<TMenu*>(Menu);
  return menu ? menu->Handle() : nullptr;
}

void FormMergeMenu(TCustomForm* Form, bool MergeState) {
  if (Form->FormState().Contains(fsModal) || !Application.Exists()) return;
  TCustomForm* main = Application->MainForm();
  if (!main || main == Form) return;
  auto* mainMenu = dynamic_cast<TMainMenu*>(main->Menu());
  if (!mainMenu) return;
  if (Form->FormStyle() != fsMDIChild && main->FormStyle() == fsMDIForm) return;
  auto* own = dynamic_cast<TMainMenu*>(Form->Menu());
  TMainMenu* merged = own && (own->AutoMerge || Form->FormStyle() == fsMDIChild) ? own : nullptr;
  if (MergeState) mainMenu->Merge(merged);
  else mainMenu->Unmerge(merged);
}

bool ControlContextPopup(TControl* Control, TMessage& Message) {
  auto* popup = dynamic_cast<TPopupMenu*>(Control->PopupMenu());
  if (!popup || !popup->AutoPopup) return false;
  TPoint at(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
  // From the keyboard (Shift+F10, the menu key): at the control's top-left corner.
  if (Message.LParam == -1) at = Control->ClientToScreen(TPoint(0, 0));
  popup->SetPopupComponent(Control);
  popup->Popup(at.X, at.Y);
  Message.Result = 1;
  return true;
}
}  // namespace

void InstallMenuFormHooks() {
  FormHooks.IsShortCut = &FormIsShortCut;
  FormHooks.UpdateActions = &FormUpdateActions;
  FormHooks.MenuHandle = &FormMenuHandle;
  FormHooks.MergeMenu = &FormMergeMenu;
  FormHooks.MenuMessage = &MenuFormMessage;
  FormHooks.ContextPopup = &ControlContextPopup;
}
