// This file implements utility windows.
#include "UtilityWindow.h"

#include "Forms.h"
#include "Resources.h"

namespace {
const char* const UtilWindowClass = "TPUtilWindow";

LRESULT CALLBACK UtilWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
  if (!method || !*method) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  TMessage m{Msg, WParam, LParam, 0};
  try {
    (*method)(m);
  } catch (...) {
    try {
      HandleApplicationException(method->Object());
    } catch (...) {
    }
  }
  return m.Result;
}
}  // namespace

HWND AllocateHWnd(TWndMethod Method) {
  HINSTANCE instance = MainInstance();
  WNDCLASSA cls{};
  if (!GetClassInfoA(instance, UtilWindowClass, &cls)) {
    cls.lpfnWndProc = &UtilWindowProc;
    cls.hInstance = instance;
    cls.lpszClassName = UtilWindowClass;
    RegisterClassA(&cls);
  }
  HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, UtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                             nullptr);
  if (!wnd) throw EOSError("Impossible de créer une fenêtre utilitaire"_a);
  if (Method) SetWindowLongPtrA(wnd, GWLP_USERDATA, LONG_PTR(new TWndMethod(Method)));
  return wnd;
}

void DeallocateHWnd(HWND Wnd) {
  if (!Wnd) return;
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
  SetWindowLongPtrA(Wnd, GWLP_USERDATA, 0);
  DestroyWindow(Wnd);
  delete method;
}
