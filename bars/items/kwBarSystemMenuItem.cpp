// This file implements the MDI child's system-menu entry.
#include "kwBarSystemMenuItem.h"

#include "Menus.h"
#include "Resources.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwCustomBarControl.h"

namespace {

// The pictures of the standard entries, by the menu bitmaps of the system that stand for them.
const char* StandardBitmapName(HBITMAP Bitmap) {
  if (Bitmap == HBMMENU_POPUP_CLOSE) return "KWBARCLOSE";
  if (Bitmap == HBMMENU_POPUP_RESTORE) return "KWBARRESTORE";
  if (Bitmap == HBMMENU_POPUP_MAXIMIZE) return "KWBARMAXIMIZE";
  if (Bitmap == HBMMENU_POPUP_MINIMIZE) return "KWBARMINIMIZE";
  return nullptr;
}

// A real bitmap (not one of the system's numbered stand-ins).
bool IsRealBitmap(HBITMAP Bitmap) { return reinterpret_cast<UINT_PTR>(Bitmap) > 11; }

}  // namespace

// --- TSystemMenuSubItem -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TSystemMenuSubItem)

HWND TSystemMenuSubItem::GetChildWindow() const {
  if (ChildWindow) return ChildWindow;
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TkwBarManager* manager = GetLink(i)->GetBarManager()) return manager->GetActiveMDIChild();
  return BarManager() ? BarManager()->GetActiveMDIChild() : nullptr;
}

void TSystemMenuSubItem::DoPopup() {
  // The entries of the last opening go first, and the items no link uses any more with them.
  ItemLinks()->Clear();
  FreeUnlinkedTemporaryItems();
  HWND child = GetChildWindow();
  if (child && IsWindow(child)) BuildFromSystemMenu(this, GetSystemMenu(child, FALSE));
  TCustomkwBarSubItem::DoPopup();
}

void TSystemMenuSubItem::BuildFromSystemMenu(TCustomkwBarSubItem* SubItem, HMENU Menu) {
  if (!Menu) return;
  bool beginGroup = false;
  int count = GetMenuItemCount(Menu);
  for (int position = 0; position < count; ++position) {
    char text[1024] = "";
    MENUITEMINFOA info{};
    info.cbSize = HasNewMenuInfo() ? sizeof(MENUITEMINFOA) : offsetof(MENUITEMINFOA, hbmpItem);
    // The kind, text and picture as three parts where the system has them, else the kind and text
    // together (the older structure has no picture).
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS |
                 (HasNewMenuInfo() ? MIIM_FTYPE | MIIM_STRING | MIIM_BITMAP : MIIM_TYPE);
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!GetMenuItemInfoA(Menu, UINT(position), TRUE, &info)) continue;
    if (info.fType & MFT_SEPARATOR) {
      beginGroup = true;
      continue;
    }
    if (info.fType & MFT_BITMAP) GetMenuStringA(Menu, UINT(position), text, sizeof text, MF_BYPOSITION);
    if (info.cch == 0 && !(info.fType & MFT_BITMAP)) text[0] = '\0';
    String full = text;
    std::size_t tab = full.find('\t');
    String caption = tab == String::npos ? full : full.substr(0, tab);
    String shortcut = tab == String::npos ? String() : full.substr(tab + 1);

    TkwBarItem* item;
    if (info.hSubMenu) {
      auto* sub = new TkwBarSubItem(SubItem->Owner());
      BuildFromSystemMenu(sub, info.hSubMenu);
      item = sub;
    } else {
      auto* button = new TkwBarButton(SubItem->Owner());
      button->Tag = int(info.wID);
      button->OnClick = TNotifyEvent(this, &TSystemMenuSubItem::SystemCommandClick);
      if (info.fState & MFS_CHECKED) {
        button->SetButtonStyle(bsChecked);
        button->SetDown(true);
      }
      item = button;
    }
    AddTemporaryItem(item);
    item->SetCaption(caption);
    item->SetEnabled(!(info.fState & (MFS_GRAYED | MFS_DISABLED)));
    HBITMAP picture = HasNewMenuInfo() ? info.hbmpItem : nullptr;
    if (const char* name = StandardBitmapName(picture)) {
      item->Glyph()->LoadFromResourceName(MainInstance(), name);
    } else {
      HBITMAP mark = (info.fState & MFS_CHECKED) ? info.hbmpChecked : info.hbmpUnchecked;
      if (mark) item->Glyph()->SetHandle(static_cast<HBITMAP>(CopyImage(mark, IMAGE_BITMAP, 0, 0, 0)));
      if (item->Glyph()->Empty() && (info.fType & MFT_BITMAP) && IsRealBitmap(HBITMAP(info.dwTypeData)))
        item->Glyph()->SetHandle(static_cast<HBITMAP>(CopyImage(HBITMAP(info.dwTypeData), IMAGE_BITMAP, 0, 0, 0)));
    }
    item->SetShortCut(TextToShortCut(shortcut));
    TkwBarItemLink* link = SubItem->ItemLinks()->Add();
    link->SetItem(item);
    link->SetBeginGroup(beginGroup);
    beginGroup = false;
  }
}

void TSystemMenuSubItem::SystemCommandClick(TObject* Sender) {
  auto* item = dynamic_cast<TkwBarItem*>(Sender);
  HWND child = GetChildWindow();
  if (item && child) SendMessageA(child, WM_SYSCOMMAND, WPARAM(UINT(item->Tag)), 0);
}

// --- TSystemMenuSubItemControl --------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TSystemMenuSubItemControl)

bool TSystemMenuSubItemControl::IsSelectable() const {
  TkwBarManager* manager = GetBarManager();
  return !(manager && manager->IsCustomizing());
}

void TSystemMenuSubItemControl::DblClick() {
  TkwBarSubItemControl::DblClick();
  TSystemMenuSubItem* item = SystemItem();
  HWND child = item ? item->GetChildWindow() : nullptr;
  TCustomkwBarControl* window = Window();
  if (window && IsLiveBarControl(window)) window->HideAll();
  if (!child || !IsWindow(child)) return;
  UINT command = GetMenuDefaultItem(GetSystemMenu(child, FALSE), FALSE, 0);
  if (command != UINT(-1)) SendMessageA(child, WM_SYSCOMMAND, command, 0);
}

void TSystemMenuSubItemControl::Draw(const TRect& Rect, int) {
  TCustomkwBarControl* window = Window();
  if (!window || Rect.Width() == 0) return;
  HDC dc = window->Canvas()->Handle();
  RECT r = {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  FillRect(dc, &r, window->ItemBrush());
  TSystemMenuSubItem* item = SystemItem();
  HICON icon = item ? SmallIconOf(item->GetChildWindow()) : nullptr;
  if (!icon) return;
  DrawIconEx(dc, Rect.Left, Rect.Top, icon, Rect.Width(), Rect.Height(), 0, nullptr, DI_NORMAL);
  DestroyIcon(icon);
}

HICON SmallIconOf(HWND Window) {
  if (!Window || !IsWindow(Window)) return nullptr;
  auto icon = reinterpret_cast<HICON>(SendMessageA(Window, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(Window, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(Window, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(Window, GCLP_HICON));
  if (!icon) return nullptr;
  return static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE));
}
