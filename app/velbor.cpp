// This file implements the program entry: the data module, then for now a plain main window.
#include "WinApi.h"

#include "AnsiString.h"
#include "FormatSettings.h"
#include "Forms.h"
#include "pdmVelbor.h"

namespace {

const char kWindowClass[] = "TfrmMainForm";

LRESULT CALLBACK MainWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_PAINT: {
      TPaintDC dc(Window);
      RECT client;
      GetClientRect(Window, &client);
      SetBkMode(dc, TRANSPARENT);
      const char* text = "Inventaire des zones humides : démarrage réussi"_a;
      DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
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
  // The program reads and writes decimal numbers with a comma, whatever the workstation says.
  FormatSettings.DecimalSeparator = ',';
  Application->Initialize();
  // Loading the module connects the database; a failure ends start-up with its report.
  try {
    Application->CreateForm(dmVelbor);
  } catch (Exception& E) {
    Application->ShowException(&E);
    return 1;
  }

  WNDCLASSA wc{};
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = Instance;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassA(&wc)) return 1;

  HWND window = CreateWindowExA(0, kWindowClass, "Velbor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                800, 600, nullptr, nullptr, Instance, nullptr);
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
