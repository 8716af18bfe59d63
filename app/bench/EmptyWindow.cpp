// This file implements the yardstick of the program's start-up benchmark: a winelib program that
// opens an empty window of the main window's size, paints one line of text in it as the program
// does, and waits for its messages.
#include "WinApi.h"

namespace {

LRESULT CALLBACK EmptyWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Window, &paint);
      RECT client;
      GetClientRect(Window, &client);
      SetBkMode(dc, TRANSPARENT);
      DrawTextA(dc, "Fenetre vide", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(Window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(Window, Msg, WParam, LParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int Show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = EmptyWindowProc;
  wc.hInstance = Instance;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = "TEmptyWindow";
  if (!RegisterClassA(&wc)) return 1;
  HWND window = CreateWindowExA(0, wc.lpszClassName, "Vide", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800,
                                600, nullptr, nullptr, Instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, Show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
