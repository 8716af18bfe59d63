// This file implements the customizing drag of items and links: a command dragged onto a bar
// makes a link; a link dragged within or between bars moves (with Ctrl, copies) it; dropped
// outside every bar it goes; moved a few pixels along its bar it starts or ends a group. The drag
// is a modal loop with its own cursors and an insertion mark drawn by inverting pixels.
#include "kwBarManager.h"

#include <algorithm>

#include "Forms.h"
#include "ScopeGuard.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwBars.h"

namespace {
// The bar window of this manager at a screen point: the window there, else the first visible
// one whose rectangle holds the point.
TkwBarWindow* TargetAt(TkwBarManager* Manager, POINT ScreenPoint) {
  HWND under = GetWindowAtScreenPoint(ScreenPoint);
  for (int i = 0; i < LiveBarControlCount(); ++i) {
    TkwBarWindow* window = LiveBarControl(i);
    if (window->HandleAllocated() && window->Handle() == under)
      return window->GetBarManager() == Manager ? window : nullptr;
  }
  for (int i = 0; i < LiveBarControlCount(); ++i) {
    TkwBarWindow* window = LiveBarControl(i);
    if (window->GetBarManager() != Manager || !window->HandleAllocated() || !IsWindowVisible(window->Handle())) continue;
    RECT r;
    GetWindowRect(window->Handle(), &r);
    if (PtInRect(&r, ScreenPoint)) return window;
  }
  return nullptr;
}

TkwBarItemControl* ShownControl(TkwBarItemLink* Link, int Offset) {
  TkwBarItemLinks* links = Link ? Link->GetLinks() : nullptr;
  if (!links) return nullptr;
  TkwBarItemLink* other = links->GetShownItem(Link->GetShownIndex() + Offset);
  return other ? other->Control() : nullptr;
}
}  // namespace

bool TkwBarManager::MarkNeeded(TkwBarItemControl* Hovered, bool Outside, bool FirstHalf) const {
  if (!Hovered) return false;
  if (!DragLink || GetKeyState(VK_CONTROL) < 0) return true;
  TkwBarItemLink* hovered = Hovered->Link();
  // A drop that would leave the dragged link where it is needs no mark.
  if (hovered == DragLink && !(Outside && FirstHalf)) return false;
  TkwBarItemLinks* links = DragLink->GetLinks();
  if (links && hovered && hovered->GetLinks() == links) {
    int dragged = DragLink->GetShownIndex();
    int index = hovered->GetShownIndex();
    if (dragged >= 0 && index == dragged - 1 && !DragLink->GetBeginGroup() && !Outside && !FirstHalf) return false;
    if (dragged >= 0 && index == dragged + 1 && ((Outside && FirstHalf) || (!hovered->GetBeginGroup() && FirstHalf)))
      return false;
  }
  return true;
}

void TkwBarManager::DrawInsertionMark(TkwBarItemControl* Control, bool Outside, bool Vertical, bool FirstHalf) {
  if (!Control || !Control->Link()) return;
  bool side = FirstHalf;
  TkwBarItemControl* control = Control;
  if (Outside) {
    if (side) control = ShownControl(Control->Link(), -1);
    side = !side;
  } else if (!side) {
    TkwBarItemLinks* links = Control->Link()->GetLinks();
    TkwBarItemLink* next = links ? links->GetShownItem(Control->Link()->GetShownIndex() + 1) : nullptr;
    if (!Control->RowEnd && !(next && next->GetBeginGroup())) {
      side = true;
      control = next ? next->Control() : nullptr;
      if (!control) {
        control = Control;
        side = false;
      }
    }
  }
  TkwBarWindow* window = control ? control->BarWindow() : nullptr;
  if (!window || !IsLiveBarControl(window) || !window->HandleAllocated()) return;
  TRect r = window->GetItemRect(control);
  // An I-beam six pixels thick: two strokes along the edge and two end pieces at each end.
  POINT points[12];
  if (Vertical) {
    int y = side ? r.Top : r.Bottom - 6;
    POINT p[12] = {{r.Left + 2, y + 2}, {r.Right - 2, y + 2}, {r.Left + 2, y + 3}, {r.Right - 2, y + 3},
                   {r.Left, y},         {r.Left, y + 6},      {r.Left + 1, y + 1}, {r.Left + 1, y + 5},
                   {r.Right - 1, y},    {r.Right - 1, y + 6}, {r.Right - 2, y + 1}, {r.Right - 2, y + 5}};
    std::copy(p, p + 12, points);
  } else {
    int x = side ? r.Left : r.Right - 6;
    POINT p[12] = {{x + 2, r.Top + 2}, {x + 2, r.Bottom - 2}, {x + 3, r.Top + 2}, {x + 3, r.Bottom - 2},
                   {x, r.Top},         {x + 6, r.Top},        {x + 1, r.Top + 1}, {x + 5, r.Top + 1},
                   {x, r.Bottom - 1},  {x + 6, r.Bottom - 1}, {x + 1, r.Bottom - 2}, {x + 5, r.Bottom - 2}};
    std::copy(p, p + 12, points);
  }
  DWORD counts[6] = {2, 2, 2, 2, 2, 2};
  TWindowDC dc(window->Handle());
  int mode = SetROP2(dc, R2_NOT);
  PolyPolyline(dc, points, counts, 6);
  SetROP2(dc, mode);
}

void TkwBarManager::DragItemLink(TkwBarItem* Item, TkwBarItemLink* Link, bool Detected) {
  if (!Item) return;
  DragItem = Item;
  DragLink = Link;
  DraggingItem = true;
  TPoint startOffset;
  TkwBarWindow* startWindow = Link ? Link->GetBarControl() : nullptr;
  // Where the press was: the cursor may have moved on since.
  DWORD pressed = GetMessagePos();
  POINT cursor{short(LOWORD(pressed)), short(HIWORD(pressed))};
  if (startWindow && startWindow->HandleAllocated()) {
    TPoint client = startWindow->ScreenToClient(TPoint(cursor.x, cursor.y));
    startOffset = TPoint(client.X - Link->ItemRect.Left, client.Y - Link->ItemRect.Top);
  }
  TCursor savedCursor = Screen->Cursor();
  HWND captureWindow = nullptr;
  if (Application.Exists() && IsWindowVisible(Application->Handle()))
    captureWindow = Application->Handle();
  else if (FOwnerForm && FOwnerForm->HandleAllocated() && IsWindowEnabled(FOwnerForm->Handle()))
    captureWindow = FOwnerForm->Handle();
  else if (HWND active = GetActiveWindow())
    // The customizing window disables the form while it is open, and a disabled window gets no
    // mouse input: the window the command comes from follows the drag.
    captureWindow = active;
  TkwBarWindow* target = nullptr;
  TkwBarItemControl* hovered = nullptr;
  bool outside = false, vertical = false, firstHalf = false;
  bool markDrawn = false, moved = Detected, dropped = false;
  bool copy = GetKeyState(VK_CONTROL) < 0;
  POINT last = cursor;
  auto eraseMark = [&] {
    if (markDrawn && hovered && target && IsLiveBarControl(target) && target->HasItemControl(hovered))
      DrawInsertionMark(hovered, outside, vertical, firstHalf);
    markDrawn = false;
  };
  auto track = [&](POINT at, bool copyChanged) {
    TkwBarWindow* newTarget = TargetAt(this, at);
    if (newTarget && !newTarget->AcceptsDroppedLinks()) newTarget = nullptr;
    TkwBarItemControl* newHovered = nullptr;
    bool o = false, f = false, v = false;
    if (newTarget) newHovered = newTarget->HitTestItem(newTarget->ScreenToClient(TPoint(at.x, at.y)), o, f, v);
    bool noDrop = !newTarget || (newTarget->ItemLinks() && newTarget->ItemLinks()->GetShownItemCount() > 0 && !newHovered);
    Screen->SetCursor(noDrop ? crkwBarDragNoDrop : (!copy && Link) ? crkwBarDrag : crkwBarDragCopy);
    if (newHovered != hovered || newTarget != target || o != outside || f != firstHalf || v != vertical || copyChanged) {
      eraseMark();
      if (newHovered && newHovered != hovered) {
        newTarget->SetSelectedItem(newHovered);
        if (newHovered->HasSubMenu()) newHovered->ControlActivate(false);
      }
      target = newTarget;
      hovered = newHovered;
      outside = o;
      firstHalf = f;
      vertical = v;
      if (MarkNeeded(hovered, outside, firstHalf)) {
        DrawInsertionMark(hovered, outside, vertical, firstHalf);
        markDrawn = true;
      }
    }
  };
  {
    TScopeGuard end([&] {
      eraseMark();
      if (captureWindow && GetCapture() == captureWindow) ReleaseCapture();
      Screen->SetCursor(savedCursor);
      if (DragWindow) DestroyWindow(DragWindow);
      DragWindow = nullptr;
      DraggingItem = false;
    });
    if (captureWindow) SetCapture(captureWindow);
    // The move that started the drag has been taken already, and it may be the last one for a
    // while: the cursor and the mark show where the pointer is now, not after the next move.
    POINT now;
    if (captureWindow && GetCursorPos(&now) && (now.x != cursor.x || now.y != cursor.y)) {
      moved = true;
      last = now;
      track(last, false);
    }
    while (captureWindow && GetCapture() == captureWindow) {
      MSG msg;
      BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == -1) break;
      if (got == 0) {
        PostQuitMessage(int(msg.wParam));
        break;
      }
      if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_ESCAPE) break;
      if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_CONTROL) {
        bool nowCopy = GetKeyState(VK_CONTROL) < 0;
        if (nowCopy != copy) {
          copy = nowCopy;
          DWORD at = GetMessagePos();
          last = POINT{short(LOWORD(at)), short(HIWORD(at))};
          track(last, true);
        }
        continue;
      }
      if (msg.message == WM_MOUSEMOVE) {
        moved = true;
        last = msg.pt;
        track(last, false);
        continue;
      }
      if (msg.message == WM_LBUTTONUP) {
        // Moves may have been merged into this release: the drop is where the button went up.
        if (msg.pt.x != last.x || msg.pt.y != last.y) moved = true;
        last = msg.pt;
        if (moved) track(last, false);
        dropped = true;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  TScopeGuard forget([&] {
    DragItem = nullptr;
    TkwBarItemLink* link = DragLink;
    DragLink = nullptr;
    if (link && link->Control()) link->Control()->Repaint();
  });
  if (!dropped || !moved) return;
  if (target && !IsLiveBarControl(target)) target = nullptr;
  if (hovered && (!target || !target->HasItemControl(hovered))) hovered = nullptr;
  if (!target) {
    // Dropped outside every bar: a moved link goes, a copied one stays.
    if (Link && !copy) {
      delete Link;
      Link = nullptr;
      DragLink = nullptr;
      DesignerModified();
    }
    if (TkwBarItemControl* selected = FSelectedItemControl) {
      TkwBarWindow* window = selected->BarWindow();
      SetSelectedItemControl(nullptr);
      if (window && IsLiveBarControl(window)) window->RepaintBar();
    }
    return;
  }
  TkwBarItemLinks* links = target->ItemLinks();
  bool onItself = hovered && Link && hovered->Link() == Link;
  if (!hovered || !Link || (!onItself && MarkNeeded(hovered, outside, firstHalf)) || copy || (outside && firstHalf)) {
    TkwBarItemLink* created = nullptr;
    bool inEmptyBar = links && links->Count() == 0;
    // Adding a link can rebuild the bar's item controls, the hovered one among them: its link is
    // what stays.
    TkwBarItemLink* hoveredLink = hovered ? hovered->Link() : nullptr;
    if (links && (hovered || inEmptyBar)) {
      created = links->Add();
      created->BringToFront(true);
      created->SetItem(Item);
      if (Link) {
        created->Assign(Link);
        created->SetBeginGroup(false);
      }
      if (hoveredLink) {
        int index = hoveredLink->Index() + (outside || firstHalf ? 0 : 1);
        created->SetIndex(std::min(index, links->Count() - 1));
        if ((outside && !firstHalf) || (firstHalf && !outside && hoveredLink->GetBeginGroup())) {
          created->SetBeginGroup(true);
          hoveredLink->SetBeginGroup(false);
        }
      }
      target->RepaintBar();
      if (IsLiveBarControl(target)) {
        created->CreateItemControl();
        if (created->Control()) target->SetSelectedItem(created->Control());
      }
    }
    if (Link && !copy) {
      bool otherCollection = Link->GetLinks() != links;
      delete Link;
      Link = nullptr;
      DragLink = nullptr;
      if (otherCollection && IsLiveBarControl(target)) target->RepaintBar();
    } else if (copy && IsLiveBarControl(target)) {
      target->RepaintBar();
    }
    DesignerModified();
    TkwBarWindow* active = GetActiveBarControl();
    if (created && active && active != target && IsLiveBarControl(target) && !target->IsSubMenu()) {
      active->HideAll();
      if (IsLiveBarControl(target) && created->Control()) target->BeginMenuMode(created->Control());
    }
    if (!created) SetSelectedItemControl(nullptr);
    return;
  }
  // Dropped on itself: moved along its bar beyond 3 pixels, it starts or ends a group.
  TkwBarWindow* window = Link->GetBarControl();
  if (!window || !window->HandleAllocated()) return;
  TPoint client = window->ScreenToClient(TPoint(last.x, last.y));
  int movement = vertical ? client.Y - (Link->ItemRect.Top + startOffset.Y) : client.X - (Link->ItemRect.Left + startOffset.X);
  if (movement > -4 && movement < 4) return;
  bool begin = movement > 0;
  if (Link->BeginGroup() != begin) Link->SetBeginGroup(begin);
  if (IsLiveBarControl(window) && Link->Control()) window->SetSelectedItem(Link->Control());
}
