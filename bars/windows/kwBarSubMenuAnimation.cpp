// This file implements the unfold and slide openings of a menu: the menu paints itself once into
// a memory bitmap, then a worker thread grows the window frame by frame and copies the newly
// exposed strips from that bitmap. One animation runs at a time; the GUI thread only waits for it
// (StopAnimation) and the menu does not paint meanwhile.
#include <algorithm>

#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"

namespace {
// The animation's state, written by the GUI thread before the worker starts and read by the
// worker; the stop flag is written by the GUI thread and polled by the worker.
struct TMenuAnimation {
  TkwBarSubMenuControl* Menu = nullptr;
  HANDLE Thread = nullptr;
  volatile bool Stop = false;
  // Set by the worker as its last step. The GUI thread closes the thread's handle (the worker
  // never does: the GUI thread may be waiting on it).
  volatile bool Finished = true;
  HBITMAP Bitmap = nullptr;
  HDC MemoryDC = nullptr;
  HGDIOBJ OldBitmap = nullptr;
  HWND Window = nullptr;
  HPALETTE Palette = nullptr;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int NonClientWidth = 0, NonClientHeight = 0;
  bool GrowLeftwards = false, GrowUpwards = false;
  TkwBarMenuAnimations Kind = maNone;
  int D = 0, Distance = 0, Step = 1;
  TRect Revealed;
};

TMenuAnimation Animation;
}  // namespace

DWORD WINAPI MenuAnimationThread(LPVOID) {
  TMenuAnimation& a = Animation;
  int frames = a.Step > 0 ? a.Distance / a.Step : 0;
  TRect previous = a.Revealed;
  for (int i = 1; i <= frames && !a.Stop; ++i) {
    DWORD start = GetTickCount();
    int across, along;
    if (a.Kind == maUnfold) {
      if (a.D < 0) {
        across = i * a.Step - a.D;
        along = i * a.Step;
      } else {
        across = i * a.Step;
        along = a.D + i * a.Step;
      }
    } else {
      across = a.Width;
      along = i * a.Step;
    }
    int w = std::min(across, a.Width), h = std::min(along, a.Height);
    int x = a.GrowLeftwards ? a.Left + a.Width - w : a.Left;
    int y = a.GrowUpwards ? a.Top + a.Height - h : a.Top;
    SetWindowPos(a.Window, nullptr, x, y, w + a.NonClientWidth, h + a.NonClientHeight,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
    HDC dc = GetDC(a.Window);
    HPALETTE old = a.Palette ? SelectPalette(dc, a.Palette, FALSE) : nullptr;
    // What showed already moves towards the anchor; the new strips come from the bitmap.
    int dx = a.GrowLeftwards ? w - previous.Width() : 0;
    int dy = a.GrowUpwards ? h - previous.Height() : 0;
    if (!previous.IsEmpty())
      BitBlt(dc, dx, dy, previous.Width(), previous.Height(), dc, 0, 0, SRCCOPY);
    int sx = a.GrowLeftwards ? a.Width - w : 0;
    int sy = a.GrowUpwards ? a.Height - h : 0;
    BitBlt(dc, 0, 0, w, h, a.MemoryDC, sx, sy, SRCCOPY);
    previous = TRect(0, 0, w, h);
    if (old) SelectPalette(dc, old, TRUE);
    UpdateColors(dc);
    ReleaseDC(a.Window, dc);
    Sleep(1);
    while (GetTickCount() == start && !a.Stop) Sleep(0);
  }
  SelectObject(a.MemoryDC, a.OldBitmap);
  DeleteDC(a.MemoryDC);
  DeleteObject(a.Bitmap);
  a.MemoryDC = nullptr;
  a.Bitmap = nullptr;
  TkwBarSubMenuControl* menu = a.Menu;
  if (menu) {
    menu->Animate = false;
    if (!menu->IsLocked()) {
      SetWindowPos(a.Window, nullptr, a.Left, a.Top, a.Width + a.NonClientWidth, a.Height + a.NonClientHeight,
                   SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
      RedrawWindow(a.Window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
  }
  a.Menu = nullptr;
  a.Stop = false;
  a.Finished = true;
  return 0;
}

namespace {
// Closes the handle of a worker that has ended.
void ReleaseFinishedThread() {
  if (Animation.Thread && Animation.Finished) {
    WaitForSingleObject(Animation.Thread, INFINITE);
    CloseHandle(Animation.Thread);
    Animation.Thread = nullptr;
  }
}
}  // namespace

bool TkwBarSubMenuControl::IsAnimating() const { return Animation.Menu == this && !Animation.Finished; }

void TkwBarSubMenuControl::PrepareAnimation(bool FlippedHorizontally, bool FlippedVertically) {
  ReleaseFinishedThread();
  if (Animation.Thread || !HandleAllocated()) {
    Animate = false;
    return;
  }
  TMenuAnimation& a = Animation;
  RECT window;
  GetWindowRect(Handle(), &window);
  TRect client = ClientRect();
  POINT origin = {0, 0};
  ::ClientToScreen(Handle(), &origin);
  a.Left = window.left;
  a.Top = window.top;
  a.Width = client.Width();
  a.Height = client.Height();
  a.NonClientWidth = (window.right - window.left) - a.Width;
  a.NonClientHeight = (window.bottom - window.top) - a.Height;
  a.GrowLeftwards = (OpensRightwards && FlippedHorizontally) || (!OpensRightwards && !FlippedHorizontally);
  a.GrowUpwards = (OpensDownwards && FlippedVertically) || (!OpensDownwards && !FlippedVertically);
  a.Kind = AnimationKind();
  if (a.Kind == maUnfold) {
    a.D = a.Height - a.Width;
    if (a.D <= 0) {
      a.Revealed = TRect(0, 0, -a.D, 0);
      a.Distance = a.Height;
    } else {
      a.Revealed = TRect(0, 0, 0, a.D);
      a.Distance = a.Width;
    }
    a.Step = 8;
  } else if (a.Kind == maSlide) {
    a.D = 0;
    a.Revealed = TRect(0, 0, a.Width, 0);
    a.Distance = a.Height;
    a.Step = 17;
  } else {
    a.Distance = 128;
    a.Step = 1;
  }
  // The whole menu is painted once into memory.
  TWindowDC screen;
  a.Bitmap = CreateCompatibleBitmap(screen, std::max(a.Width, 1), std::max(a.Height, 1));
  a.MemoryDC = CreateCompatibleDC(screen);
  a.OldBitmap = SelectObject(a.MemoryDC, a.Bitmap);
  Animate = false;
  {
    TCanvasDCScope scope(Canvas(), a.MemoryDC);
    Paint();
  }
  Animate = true;
  CreateExpandedOnlyBrush();
  a.Window = Handle();
  a.Palette = ExpandedOnlyPalette();
  a.Menu = this;
  a.Stop = false;
  a.Finished = false;
  DWORD id;
  a.Thread = CreateThread(nullptr, 0, &MenuAnimationThread, nullptr, 0, &id);
  if (!a.Thread) {
    SelectObject(a.MemoryDC, a.OldBitmap);
    DeleteDC(a.MemoryDC);
    DeleteObject(a.Bitmap);
    a.MemoryDC = nullptr;
    a.Bitmap = nullptr;
    a.Menu = nullptr;
    a.Finished = true;
    Animate = false;
  }
}

void TkwBarSubMenuControl::StopAnimation() {
  if (Animation.Menu != this || !Animation.Thread) return;
  HANDLE thread = Animation.Thread;
  HWND window = Animation.Window;
  Animation.Stop = true;
  // Wait for the worker, handling this menu's own messages meanwhile (the worker sends it some).
  for (;;) {
    DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0) break;
    MSG msg;
    if (window && PeekMessageA(&msg, window, 0, 0, PM_REMOVE) && !IsLocked()) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  ReleaseFinishedThread();
  DispatchPaintMessages();
}
