// This file implements TApplication: the hidden application window, form creation in order, the
// message loop with its pre-processing of keys (CN_* to the focused control, MDI accelerators),
// idle work (mouse enter/leave, hints, action updates), exceptions reported to the user, and the
// global Application and Screen.
#include <algorithm>

#include "Dialogs.h"
#include "FileUtils.h"
#include "Format.h"
#include "Forms.h"
#include "OsPort.h"
#include "Resources.h"
#include "SqliteSession.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_CLASS(TApplication)

namespace {
TApplication* TheApplication = nullptr;
TScreen* TheScreen = nullptr;

constexpr UINT_PTR HintShowTimer = 1;
constexpr UINT_PTR HintHideTimer = 2;
const char* const HintWindowClass = "THintWindow";
}  // namespace

template <>
TApplication* TGlobalInstance<TApplication>::Get() const {
  if (!TheApplication) TheApplication = new TApplication(nullptr);
  return TheApplication;
}
template <>
bool TGlobalInstance<TApplication>::Exists() const {
  return TheApplication != nullptr;
}
template <>
TScreen* TGlobalInstance<TScreen>::Get() const {
  if (!TheScreen) TheScreen = new TScreen(nullptr);
  return TheScreen;
}
template <>
bool TGlobalInstance<TScreen>::Exists() const {
  return TheScreen != nullptr;
}

const TGlobalInstance<TApplication> Application;
const TGlobalInstance<TScreen> Screen;

void DoneApplication() {
  delete TheApplication;
  TheApplication = nullptr;
  delete TheScreen;
  TheScreen = nullptr;
}

void HandleApplicationException(TObject* Sender) { Application->HandleException(Sender); }

String GetShortHint(const String& Hint) {
  std::size_t bar = Hint.find('|');
  return bar == String::npos ? Hint : Hint.substr(0, bar);
}

String GetLongHint(const String& Hint) {
  std::size_t bar = Hint.find('|');
  return bar == String::npos ? Hint : Hint.substr(bar + 1);
}

// The application window's procedure; nothing raised leaves it.
LRESULT CALLBACK ApplicationWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!TheApplication || TheApplication->FHandle != Wnd) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  TMessage m{Msg, WParam, LParam, 0};
  try {
    TheApplication->WndProc(m);
  } catch (...) {
    try {
      TheApplication->HandleException(TheApplication);
    } catch (...) {
    }
  }
  return m.Result;
}

namespace {
// The hint window paints its text on the hint colour; it takes neither focus nor clicks.
LRESULT CALLBACK HintWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  try {
    switch (Msg) {
      case WM_PAINT: {
        TPaintDC dc(Wnd);
        RECT r;
        GetClientRect(Wnd, &r);
        FillRect(dc, &r, TOwnedBrush(CreateSolidBrush(ColorToRGB(TheApplication ? TheApplication->HintColor : clInfoBk))));
        char text[1024];
        int n = GetWindowTextA(Wnd, text, sizeof(text));
        TSelectedObject font(dc, Screen->HintFont()->Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(Screen->HintFont()->Color()));
        InflateRect(&r, -2, -2);
        DrawTextA(dc, text, n, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
        return 0;
      }
      case WM_NCHITTEST:
        return HTTRANSPARENT;
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      default:
        break;
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcA(Wnd, Msg, WParam, LParam);
}
}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
  // Forms and data modules see their OnDestroy while they are whole, the last created first.
  while (ComponentCount() > 0) {
    TComponent* c = Components(ComponentCount() - 1);
    if (auto* form = dynamic_cast<TCustomForm*>(c)) form->BeforeDestruction();
    else if (auto* module = dynamic_cast<TDataModule*>(c)) module->BeforeDestruction();
    delete c;
  }
  HideHint();
  if (FHintWindow) DestroyWindow(FHintWindow);
  if (FHandle) {
    HWND h = FHandle;
    FHandle = nullptr;
    DestroyWindow(h);
  }
}

void TApplication::CreateHandle() {
  if (FHandle) return;
  HINSTANCE instance = MainInstance();
  WNDCLASSA cls{};
  if (!GetClassInfoA(instance, "TApplication", &cls)) {
    cls.lpfnWndProc = &ApplicationWndProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    cls.lpszClassName = "TApplication";
    RegisterClassA(&cls);
  }
  FHandle = CreateWindowExA(0, "TApplication", Title().c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                            nullptr, nullptr, instance, nullptr);
  if (!FHandle) throw EOSError("Impossible de créer la fenêtre de l'application"_a);
}

HWND TApplication::Handle() {
  CreateHandle();
  return FHandle;
}

void TApplication::Initialize() { CreateHandle(); }

String TApplication::ExeName() const { return OsPort::ProgramPath(); }

String TApplication::Title() const {
  if (FTitleSet) return FTitle;
  return ChangeFileExt(ExtractFileName(ExeName()), "");
}

void TApplication::SetTitle(const String& Value) {
  FTitle = Value;
  FTitleSet = true;
  if (FHandle) SetWindowTextA(FHandle, Value.c_str());
}

void TApplication::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) {
    OnHint(this);
  }
}

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainForm) FMainForm = nullptr;
  if (AComponent == FMouseControl) FMouseControl = nullptr;
  if (AComponent == FHintControl) {
    FHintControl = nullptr;
    HideHint();
  }
}

// --- Forms ----------------------------------------------------------------------------------

void TApplication::CreateForm(TClass Class, TComponent** Reference) {
  TObject* object = Class->Create(this);
  auto* instance = dynamic_cast<TComponent*>(object);
  if (!instance) {
    delete object;
    throw EInvalidOperation(Format("%s n'est pas un composant", {String(Class->Name)}));
  }
  *Reference = instance;
  try {
    CompleteForm(instance);
  } catch (...) {
    *Reference = nullptr;
    delete instance;
    throw;
  }
}

void TApplication::CompleteForm(TComponent* Instance) {
  if (auto* form = dynamic_cast<TCustomForm*>(Instance)) {
    form->AfterConstruction();
    if (!FMainForm) {
      form->HandleNeeded();
      FMainForm = form;
    }
  } else if (auto* module = dynamic_cast<TDataModule*>(Instance)) {
    module->AfterConstruction();
  }
}

HWND TApplication::ActiveFormHandle() const {
  if (Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated()) {
    HWND h = Screen->ActiveForm()->Handle();
    // An MDI child is not a top-level window: its frame owns the boxes.
    if (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) h = GetAncestor(h, GA_ROOT);
    if (IsWindowVisible(h) && IsWindowEnabled(h)) return h;
  }
  HWND active = GetActiveWindow();
  if (active && FindControl(active)) return active;
  if (FMainForm && FMainForm->HandleAllocated()) return FMainForm->Handle();
  return nullptr;
}

// --- Message loop ---------------------------------------------------------------------------

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  if (!handled && !IsHintMsg(Msg) && !IsMDIMsg(Msg) && !IsKeyMsg(Msg) &&
      !(DialogHandle && IsDialogMessageA(DialogHandle, &Msg))) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  return true;
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) {
    wnd = Msg.hwnd;
    if (FMainForm && FMainForm->ClientHandle() && wnd == FMainForm->ClientHandle()) {
      wnd = FMainForm->Handle();
    } else {
      // Only the library's controls understand the reflected key messages.
      while (wnd && !FindControl(wnd)) wnd = GetParent(wnd);
    }
  } else if (!FindControl(wnd)) {
    return false;
  }
  if (!wnd) return false;
  return SendMessageA(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsMDIMsg(MSG& Msg) {
  if (!FMainForm || FMainForm->FormStyle() != fsMDIForm || !FMainForm->ClientHandle()) return false;
  TCustomForm* active = Screen->ActiveForm();
  if (!active || active->FormStyle() != fsMDIChild) return false;
  return TranslateMDISysAccel(FMainForm->ClientHandle(), &Msg);
}

bool TApplication::IsHintMsg(MSG& Msg) {
  if (FHintWindow && IsWindowVisible(FHintWindow)) {
    bool cancels = (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) ||
                   (Msg.message >= WM_LBUTTONDOWN && Msg.message <= WM_MOUSELAST && Msg.message != WM_MOUSEMOVE) ||
                   Msg.message == WM_NCLBUTTONDOWN || Msg.message == WM_ACTIVATE || Msg.message == WM_ACTIVATEAPP;
    if (cancels) CancelHint();
  }
  return false;
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle(msg);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

// Rows read at each idle turn while datasets have rows to read: well under a millisecond's work.
constexpr int kIdleRowsRead = 256;

void TApplication::Idle(const MSG&) {
  DoMouseIdle();
  bool done = true;
  try {
    // The rows datasets have still to read are read a slice at a time while the program waits
    // for nothing: a statement under way keeps the database file locked against other
    // programs' writes.
    if (SqliteSession::ContinuePendingReads(kIdleRowsRead)) done = false;
    if (OnIdle) OnIdle(this, done);
    if (done) DoActionIdle();
  } catch (...) {
    HandleException(this);
  }
  if (done && !FTerminated) WaitMessage();
}

void TApplication::DoActionIdle() {
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (form->HandleAllocated() && IsWindowVisible(form->Handle()) && IsWindowEnabled(form->Handle())) {
      form->UpdateActions();
    }
  }
}

void TApplication::DoMouseIdle() {
  POINT p;
  TControl* target = nullptr;
  if (GetCursorPos(&p)) {
    if (TWinControl* window = FindVCLWindow(TPoint(p.x, p.y))) {
      TPoint local = window->ScreenToClient(TPoint(p.x, p.y));
      TControl* inner = window->ControlAtPos(local, true);
      target = inner ? inner : window;
    }
  }
  TControl* capture = GetCaptureControl();
  if (FMouseControl == target) return;
  if (FMouseControl && (!capture || capture == FMouseControl)) FMouseControl->Perform(CM_MOUSELEAVE);
  if (FMouseControl) FMouseControl->RemoveFreeNotification(this);
  FMouseControl = target;
  if (FMouseControl) FMouseControl->FreeNotification(this);
  if (FMouseControl && (!capture || capture == FMouseControl)) FMouseControl->Perform(CM_MOUSEENTER);
  SetHint(target ? GetLongHint(target->Hint) : String());
}

void TApplication::Run() {
  if (FMainForm && ShowMainForm) {
    if (FMainForm->FWindowState == wsMinimized) Minimize();
    else FMainForm->SetVisible(true);
  }
  do {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  } while (!FTerminated);
}

void TApplication::Terminate() {
  FTerminated = true;
  PostQuitMessage(0);
}

void TApplication::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return;
    case WM_ACTIVATEAPP:
      FActive = Message.WParam != 0;
      if (FActive) {
        if (OnActivate) OnActivate(this);
      } else {
        CancelHint();
        if (OnDeactivate) OnDeactivate(this);
      }
      break;
    case WM_TIMER:
      if (Message.WParam == HintShowTimer) {
        KillTimer(FHandle, HintShowTimer);
        ShowHintNow();
      } else if (Message.WParam == HintHideTimer) {
        CancelHint();
      }
      return;
    case CM_RELEASE:
      // A form that had no window when it asked to be released.
      if (auto* form = reinterpret_cast<TCustomForm*>(Message.LParam)) {
        form->BeforeDestruction();
        delete form;
      }
      return;
    default:
      break;
  }
  Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TApplication::Minimize() {
  if (FMainForm && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
}

void TApplication::Restore() {
  if (FMainForm && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_RESTORE);
}

void TApplication::BringToFront() {
  if (HWND h = ActiveFormHandle()) SetForegroundWindow(h);
}

// --- Exceptions -----------------------------------------------------------------------------

void TApplication::HandleException(TObject* Sender) {
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (EAbort&) {
    // Abort is silent by design.
  } catch (Exception& e) {
    if (OnException) OnException(Sender, &e);
    else ShowException(&e);
  } catch (std::exception& e) {
    Exception wrapped(e.what());
    if (OnException) OnException(Sender, &wrapped);
    else ShowException(&wrapped);
  } catch (...) {
    Exception unknown("Exception inconnue");
    if (OnException) OnException(Sender, &unknown);
    else ShowException(&unknown);
  }
}

void TApplication::ShowException(Exception* E) {
  String text = E->Message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
  TModalQuestion q;
  q.Kind = TModalKind::MessageBox;
  q.Caption = Caption;
  q.Text = Text;
  q.Flags = Flags;
  return AskModal(q).Result;
}

// --- Hints ----------------------------------------------------------------------------------

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
  if (!FShowHint || !FHandle) return;
  TWMMouse m(Message);
  TControl* target = Control;
  if (auto* w = dynamic_cast<TWinControl*>(Control)) {
    if (TControl* inner = w->ControlAtPos(TPoint(m.XPos(), m.YPos()), true)) target = inner;
  }
  // The hint of a control without one is its parent's.
  while (target && target->Hint.empty() && target->Parent()) target = target->Parent();
  if (!target || !target->ShowHint() || GetShortHint(target->Hint).empty()) {
    CancelHint();
    return;
  }
  if (target == FHintControl) return;
  bool wasActive = FHintActive;
  CancelHint();
  FHintActive = wasActive;
  FHintControl = target;
  FHintControl->FreeNotification(this);
  SetTimer(FHandle, HintShowTimer, UINT(wasActive ? HintShortPause : HintPause), nullptr);
}

void TApplication::ShowHintNow() {
  if (!FHintControl) return;
  POINT p;
  GetCursorPos(&p);
  ActivateHint(TPoint(p.x, p.y));
}

void TApplication::ActivateHint(TPoint CursorPos) {
  if (!FHintControl) return;
  int cursorHeight = GetSystemMetrics(SM_CYCURSOR);
  THintInfo info;
  info.HintControl = FHintControl;
  info.CursorPos = CursorPos;
  info.HintPos = TPoint(CursorPos.X, CursorPos.Y + cursorHeight * 2 / 3);
  info.HideTimeout = HintHidePause;
  info.HintStr = GetShortHint(FHintControl->Hint);
  // The control (its action link) may change the hint or refuse it.
  if (FHintControl->Perform(CM_HINTSHOW, 0, LPARAM(&info)) != 0 || info.HintStr.empty()) {
    HideHint();
    return;
  }
  const String& text = info.HintStr;
  HINSTANCE instance = MainInstance();
  if (!FHintWindow) {
    WNDCLASSA cls{};
    if (!GetClassInfoA(instance, HintWindowClass, &cls)) {
      cls.style = CS_SAVEBITS;
      cls.lpfnWndProc = &HintWindowProc;
      cls.hInstance = instance;
      cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      cls.lpszClassName = HintWindowClass;
      RegisterClassA(&cls);
    }
    FHintWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, HintWindowClass, "", WS_POPUP | WS_BORDER, 0, 0,
                                  0, 0, Handle(), nullptr, instance, nullptr);
  }
  SetWindowTextA(FHintWindow, text.c_str());
  RECT r{0, 0, info.HintMaxWidth, 0};
  {
    TWindowDC dc(FHintWindow);
    TSelectedObject font(dc, Screen->HintFont()->Handle());
    DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  }
  SetWindowPos(FHintWindow, HWND_TOPMOST, info.HintPos.X, info.HintPos.Y, r.right + 6, r.bottom + 6,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(FHintWindow, nullptr, TRUE);
  FHintActive = true;
  SetTimer(FHandle, HintHideTimer, UINT(info.HideTimeout), nullptr);
}

void TApplication::HideHint() {
  if (FHandle) {
    KillTimer(FHandle, HintShowTimer);
    KillTimer(FHandle, HintHideTimer);
  }
  if (FHintWindow) ShowWindow(FHintWindow, SW_HIDE);
  FHintActive = false;
}

void TApplication::CancelHint() {
  HideHint();
  if (FHintControl) {
    FHintControl->RemoveFreeNotification(this);
    FHintControl = nullptr;
  }
}
