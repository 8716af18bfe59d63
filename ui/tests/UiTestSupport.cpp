// This file implements what the GUI tests share.
#include "UiTestSupport.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "UtilityWindow.h"

VELBOR_IMPLEMENT_CLASS(TTestEdit)

TTestEdit::TTestEdit(TComponent* AOwner) : TWinControl(AOwner) {
  // The native control captures the mouse and reports clicks itself.
  ControlStyle = {csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 100, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

void TTestEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= WS_BORDER | ES_AUTOHSCROLL;
}

VELBOR_IMPLEMENT_CLASS(TTestButton)
VELBOR_PUBLISHED(TTestButton,
  Prop("Default", &Self::Default).Default(false),
  Prop("Cancel", &Self::Cancel).Default(false),
  Prop("ModalResult", &Self::ModalResult).Default(0))

TTestButton::TTestButton(TComponent* AOwner) : TWinControl(AOwner) {
  // The click comes from the native button's notification, not from the mouse messages.
  ControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TTestButton::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TTestButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
  TWinControl::Click();
}

void TTestButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED) Click();
      break;
    case CM_DIALOGKEY:
      if (((Message.WParam == VK_RETURN && Default) || (Message.WParam == VK_ESCAPE && Cancel)) &&
          KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      TWinControl::Dispatch(Message);
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

VELBOR_IMPLEMENT_CLASS(TTestPanel)

TTestPanel::TTestPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle.Include(csAcceptsControls);
  SetBounds(0, 0, 50, 50);
}

void TTestPanel::Paint() {
  ++PaintCount;
  if (ControlState.Contains(csPaintCopy)) SawPaintCopy = true;
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClass(TTestEdit::StaticClass());
  RegisterClass(TTestButton::StaticClass());
  RegisterClass(TTestPanel::StaticClass());
}

namespace {
// Work waiting for the message loop, each piece under its own number: posted ones run in the order
// they were posted, delayed ones when their timer (numbered alike) falls due.
class TLaterQueue : public TObject {
 public:
  TLaterQueue() { FWindow = AllocateHWnd(TWndMethod(this, &TLaterQueue::WndProc)); }
  void Add(std::function<void()> Work, int Milliseconds) {
    UINT_PTR id = ++FLastId;
    FWork.emplace(id, std::move(Work));
    if (Milliseconds > 0) SetTimer(FWindow, id, UINT(Milliseconds), nullptr);
    else PostMessageA(FWindow, WM_APP, id, 0);
  }

 private:
  void WndProc(TMessage& Message) {
    switch (Message.Msg) {
      case WM_TIMER:
        KillTimer(FWindow, Message.WParam);
        Run(Message.WParam);
        break;
      case WM_APP:
        Run(Message.WParam);
        break;
      default:
        Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
        break;
    }
  }
  void Run(UINT_PTR Id) {
    auto it = FWork.find(Id);
    if (it == FWork.end()) return;
    std::function<void()> work = std::move(it->second);
    FWork.erase(it);
    work();
  }
  HWND FWindow;
  UINT_PTR FLastId = 0;
  std::map<UINT_PTR, std::function<void()>> FWork;
};

TLaterQueue& Queue() {
  static TLaterQueue* queue = new TLaterQueue();
  return *queue;
}
}  // namespace

void Later(std::function<void()> Work, int Milliseconds) { Queue().Add(std::move(Work), Milliseconds); }

namespace {
bool InMenu() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE);
}

void RunInMenu(std::function<void()> Work, DWORD Start) {
  if (InMenu()) {
    Work();
  } else if (GetTickCount() - Start >= DWORD(kWaitLimit)) {
    ADD_FAILURE() << "waited " << kWaitLimit << " ms for a menu to open";
  } else {
    Later([Work = std::move(Work), Start]() mutable { RunInMenu(std::move(Work), Start); }, 10);
  }
}
}  // namespace

void LaterInMenu(std::function<void()> Work) { RunInMenu(std::move(Work), GetTickCount()); }

void PumpFor(int Milliseconds) {
  DWORD start = GetTickCount();
  do {
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < DWORD(Milliseconds));
  Application->ProcessMessages();
}

namespace {
// Whether anything waits in the thread's queue: what the display sent is read first (a wait that
// ends at once reads it).
bool QueueEmpty() {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
  return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0;
}
}  // namespace

void PumpPending() {
  DWORD start = GetTickCount();
  for (;;) {
    Application->ProcessMessages();
    if (QueueEmpty()) return;
    if (GetTickCount() - start >= DWORD(kWaitLimit)) break;
  }
  ADD_FAILURE() << "the message queue was still not empty after " << kWaitLimit
                << " ms (status " << std::hex << GetQueueStatus(QS_ALLINPUT) << ")";
}

namespace {
BOOL CALLBACK FindUnpainted(HWND Window, LPARAM Found) {
  if (IsWindowVisible(Window) && GetUpdateRect(Window, nullptr, FALSE)) {
    *reinterpret_cast<HWND*>(Found) = Window;
    return FALSE;
  }
  return TRUE;
}

// A visible window of the family with something left to paint, or none.
HWND Unpainted(HWND Window) {
  HWND found = nullptr;
  if (!FindUnpainted(Window, LPARAM(&found))) return found;
  EnumChildWindows(Window, &FindUnpainted, LPARAM(&found));
  return found;
}
}  // namespace

testing::AssertionResult Painted(TWinControl* Control) {
  HWND window = Control->Handle();
  if (PumpUntil([window] { return !Unpainted(window); })) return testing::AssertionSuccess();
  char name[64] = "";
  GetClassNameA(Unpainted(window), name, sizeof(name));
  return testing::AssertionFailure() << "waited " << kWaitLimit << " ms for " << Control->Name().c_str()
                                     << " to be painted; a window of class " << name << " was not";
}

testing::AssertionResult GiveFocus(TWinControl* Control) {
  Control->SetFocus();
  HWND window = Control->Handle();
  if (!PumpUntil([window] {
        HWND focus = GetFocus();
        return focus && (focus == window || IsChild(window, focus));
      })) {
    return testing::AssertionFailure() << "waited " << kWaitLimit << " ms for " << Control->Name().c_str()
                                       << " (" << Control->ClassName().c_str() << ") to have the focus";
  }
  PumpPending();
  return testing::AssertionSuccess();
}

INPUT KeyInput(WORD Key, bool Up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = Key;
  in.ki.wScan = WORD(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
  return in;
}

void SendKey(WORD Key, bool Up) {
  INPUT in = KeyInput(Key, Up);
  SendInput(1, &in, sizeof(in));
}

void PressKey(WORD Key, bool Shift) {
  if (Shift) SendKey(VK_SHIFT, false);
  SendKey(Key, false);
  SendKey(Key, true);
  if (Shift) SendKey(VK_SHIFT, true);
}

namespace {
// Input reaches the program at the system's pace: rather than guess how long that takes, the
// helpers watch the thread take the last event of theirs from its queue, through a hook.
WORD AwaitedKey = 0;
bool ButtonReleased = false;

// A typed character (VK_PACKET) reaches the hook only as its press.
LRESULT CALLBACK WatchKeyRelease(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION && WParam == AwaitedKey && (WParam == VK_PACKET || (LParam & 0x80000000))) AwaitedKey = 0;
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

bool ButtonPressed = false;

LRESULT CALLBACK WatchButton(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION) {
    switch (WParam) {
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        ButtonReleased = true;
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_NCLBUTTONDOWN:
      case WM_NCLBUTTONDBLCLK:
        ButtonPressed = true;
        break;
    }
  }
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

// Waits at most about two seconds: input that goes to another thread's window is never seen here.
template <class F>
void AwaitOwnInput(F Done) {
  PumpUntil(Done, 2000);
}
}  // namespace

void SendKeys(const std::vector<INPUT>& Inputs, WORD LastKey) {
  AwaitedKey = LastKey;
  HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, &WatchKeyRelease, nullptr, GetCurrentThreadId());
  SendInput(UINT(Inputs.size()), const_cast<INPUT*>(Inputs.data()), sizeof(INPUT));
  AwaitOwnInput([] { return AwaitedKey == 0; });
  UnhookWindowsHookEx(hook);
  PumpPending();
}

void Press(WORD Key, bool Shift) {
  if (!Shift) {
    SendKeys({KeyInput(Key, false), KeyInput(Key, true)}, Key);
    return;
  }
  SendKeys({KeyInput(VK_SHIFT, false), KeyInput(Key, false), KeyInput(Key, true), KeyInput(VK_SHIFT, true)}, VK_SHIFT);
}

void PressCombo(WORD Modifier, WORD Key) {
  SendKeys({KeyInput(Modifier, false), KeyInput(Key, false), KeyInput(Key, true), KeyInput(Modifier, true)}, Modifier);
}

void TypeText(const String& Text) {
  // One character at a time, each handled before the next: a control that acts on a key (an
  // incremental search) sees them as a typist's.
  for (char c : Text) {
    INPUT in[2]{};
    WCHAR wide = WCHAR(AnsiToWide(String(1, c))[0]);
    for (int i = 0; i < 2; ++i) {
      in[i].type = INPUT_KEYBOARD;
      in[i].ki.wScan = wide;
      in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendKeys({in[0], in[1]}, VK_PACKET);
  }
}

INPUT MouseInput(TPoint ScreenPos, DWORD Flags) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  // Rounded up, so that the system's scaling back lands on the very pixel.
  in.mi.dx = LONG((std::int64_t(ScreenPos.X) * 65536 + width - 1) / width);
  in.mi.dy = LONG((std::int64_t(ScreenPos.Y) * 65536 + height - 1) / height);
  in.mi.dwFlags = Flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return in;
}

void MouseEventAt(TPoint ScreenPos, DWORD Flags) {
  INPUT in = MouseInput(ScreenPos, Flags);
  SendInput(1, &in, sizeof(in));
}

TPoint& LastMousePos() {
  static TPoint pos;
  return pos;
}

void MoveMouseTo(TPoint ScreenPos) {
  LastMousePos() = ScreenPos;
  auto there = [ScreenPos] {
    POINT p{};
    return GetCursorPos(&p) && p.x == ScreenPos.X && p.y == ScreenPos.Y;
  };
  // By way of a neighbouring pixel, so that the move is never one to where the pointer already is.
  TPoint beside(ScreenPos.X > 0 ? ScreenPos.X - 1 : ScreenPos.X + 1, ScreenPos.Y);
  // The display may still report an earlier position after the move: wait until the pointer is
  // there and stays there, moving it again when it was taken back.
  for (int attempt = 0; attempt < 5; ++attempt) {
    MouseEventAt(beside, 0);
    MouseEventAt(ScreenPos, 0);
    if (!PumpUntil(there, 2000)) continue;
    // A late report of the neighbouring pixel comes right behind the move: the pointer must not be
    // taken back within 30 ms of reaching its place.
    PumpFor(30);
    if (there()) return;
  }
  ADD_FAILURE() << "the pointer did not stay at (" << ScreenPos.X << ", " << ScreenPos.Y << ")";
}

namespace {
// The last press the helpers sent: the system pairs a press with the one before it into a double
// click when it comes within the double-click time and near it.
DWORD LastPressTime = 0;
TPoint LastPressPos(-10000, -10000);
}  // namespace

void AwaitNoDoubleClick(TPoint ScreenPos) {
  DWORD wait = GetDoubleClickTime() + 50;
  DWORD since = GetTickCount() - LastPressTime;
  if (since < wait && std::abs(ScreenPos.X - LastPressPos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
      std::abs(ScreenPos.Y - LastPressPos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK)) {
    // The system pairs presses by time alone: the condition is the time gone since the last one.
    PumpFor(int(wait - since));
  }
}

void MouseButton(bool Down, TPoint ScreenPos) {
  if (Down) {
    LastPressTime = GetTickCount();
    LastPressPos = ScreenPos;
  }
  MouseEventAt(ScreenPos, Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void MouseButton(bool Down) { MouseButton(Down, LastMousePos()); }

void ReleaseButton(TPoint ScreenPos) {
  ButtonReleased = false;
  HHOOK hook = SetWindowsHookExA(WH_MOUSE, &WatchButton, nullptr, GetCurrentThreadId());
  MouseButton(false, ScreenPos);
  AwaitOwnInput([] { return ButtonReleased; });
  UnhookWindowsHookEx(hook);
  PumpPending();
}

void ReleaseButton() { ReleaseButton(LastMousePos()); }

void PressButton(TPoint ScreenPos) {
  ButtonPressed = false;
  HHOOK hook = SetWindowsHookExA(WH_MOUSE, &WatchButton, nullptr, GetCurrentThreadId());
  MouseButton(true, ScreenPos);
  AwaitOwnInput([] { return ButtonPressed; });
  UnhookWindowsHookEx(hook);
  PumpPending();
}

void ClickAt(TPoint ScreenPos) {
  AwaitNoDoubleClick(ScreenPos);
  MoveMouseTo(ScreenPos);
  MouseButton(true, ScreenPos);
  ReleaseButton(ScreenPos);
}

void DragMouse(TPoint From, TPoint To) {
  AwaitNoDoubleClick(From);
  MoveMouseTo(From);
  PressButton(From);
  for (int i = 1; i <= 4; ++i) MoveMouseTo(TPoint(From.X + (To.X - From.X) * i / 4, From.Y + (To.Y - From.Y) * i / 4));
  ReleaseButton(To);
}

TPoint OnScreen(TControl* Control, int X, int Y) { return Control->ClientToScreen(TPoint(X, Y)); }

TPoint CentreOf(TControl* Control) { return OnScreen(Control, Control->Width() / 2, Control->Height() / 2); }

void ClickControl(TControl* Control) { ClickAt(CentreOf(Control)); }

void Activate(TCustomForm* Form) {
  HWND window = Form->Handle();
  SetForegroundWindow(window);
  EXPECT_TRUE(WaitFor("the form to become the active window", [window] {
    return GetForegroundWindow() == window && GetActiveWindow() == window;
  })) << Form->Caption();
  EXPECT_TRUE(Painted(Form));
}

COLORREF PixelOf(TWinControl* Control, int X, int Y) {
  return GetPixel(TWindowDC(Control->Handle()), X, Y);
}

namespace {
// A 32-bit picture in memory with its pixels at hand (0x00RRGGBB, top row first).
class TPixels {
 public:
  TPixels(int Width, int Height) : FWidth(Width), FHeight(Height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    FBitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0));
    FDC.emplace(FBitmap);
  }
  HDC DC() const { return *FDC; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  std::uint32_t At(int X, int Y) const { return FBits[Y * FWidth + X] & 0xFFFFFF; }
  // The smallest rectangle holding every pixel other than Back (empty when there is none).
  TRect InkBox(std::uint32_t Back) const {
    GdiFlush();
    TRect box(FWidth, FHeight, 0, 0);
    for (int y = 0; y < FHeight; ++y) {
      for (int x = 0; x < FWidth; ++x) {
        if (At(x, y) == Back) continue;
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
    }
    return box.Left < box.Right ? box : TRect();
  }

 private:
  int FWidth, FHeight;
  std::uint32_t* FBits = nullptr;
  TOwnedBitmap FBitmap;
  std::optional<TBitmapDC> FDC;  // lets go of the bitmap before it is deleted
};

// A pixel of the picture as "#rrggbb".
std::string PixelName(std::uint32_t Pixel) {
  char name[8];
  std::snprintf(name, sizeof(name), "#%06x", unsigned(Pixel));
  return name;
}

// A COLORREF (0x00BBGGRR) as the picture holds it.
std::uint32_t PixelValue(TColor Color) {
  std::uint32_t c = ColorToRGB(Color);
  return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}
}  // namespace

testing::AssertionResult ShowsText(TWinControl* Control, TRect Area, const String& Text, TFont* Font, TColor Ink,
                                   TColor Back) {
  return ShowsText(TWindowDC(Control->Handle()), Area, Text, Font, Ink, Back);
}

testing::AssertionResult ShowsText(HDC DC, TRect Area, const String& Text, TFont* Font, TColor Ink, TColor Back) {
  std::uint32_t back = PixelValue(Back);
  TPixels shown(Area.Width(), Area.Height());
  BitBlt(shown.DC(), 0, 0, Area.Width(), Area.Height(), DC, Area.Left, Area.Top, SRCCOPY);

  SIZE extent{};
  {
    TSelectedObject font(shown.DC(), Font->Handle());
    GetTextExtentPoint32A(shown.DC(), Text.c_str(), int(Text.size()), &extent);
  }
  // Room around the text for what overhangs its cell (italics, a smoothed edge).
  const int room = 8;
  TPixels drawn(extent.cx + 2 * room, extent.cy + 2 * room);
  RECT all{0, 0, drawn.Width(), drawn.Height()};
  FillRect(drawn.DC(), &all, TOwnedBrush(CreateSolidBrush(ColorToRGB(Back))));
  {
    TSelectedObject font(drawn.DC(), Font->Handle());
    SetTextColor(drawn.DC(), ColorToRGB(Ink));
    SetBkMode(drawn.DC(), TRANSPARENT);
    TextOutA(drawn.DC(), room, room, Text.c_str(), int(Text.size()));
  }

  TRect want = drawn.InkBox(back), got = shown.InkBox(back);
  if (want.Width() == 0) return testing::AssertionFailure() << "the font draws nothing of \"" << Text << "\"";
  if (got.Width() != want.Width() || got.Height() != want.Height()) {
    return testing::AssertionFailure() << "\"" << Text << "\" drawn with the font covers " << want.Width() << " x "
                                       << want.Height() << " pixels; what differs from the back colour in the area covers "
                                       << got.Width() << " x " << got.Height();
  }
  for (int y = 0; y < want.Height(); ++y) {
    for (int x = 0; x < want.Width(); ++x) {
      std::uint32_t w = drawn.At(want.Left + x, want.Top + y), g = shown.At(got.Left + x, got.Top + y);
      if (w != g) {
        return testing::AssertionFailure() << "\"" << Text << "\": pixel (" << Area.Left + got.Left + x << ", "
                                           << Area.Top + got.Top + y << ") is " << PixelName(g) << " where the font draws "
                                           << PixelName(w);
      }
    }
  }
  return testing::AssertionSuccess();
}

TMessageRecorder::TMessageRecorder(TControl* Control, std::vector<UINT> Watched)
    : FControl(Control), FSaved(Control->WindowProc), FWatched(std::move(Watched)) {
  Control->WindowProc = TWndMethod(this, &TMessageRecorder::Hook);
}

TMessageRecorder::~TMessageRecorder() { FControl->WindowProc = FSaved; }

void TMessageRecorder::Hook(TMessage& Message) {
  if (std::find(FWatched.begin(), FWatched.end(), Message.Msg) != FWatched.end()) Seen.push_back(Message.Msg);
  FSaved(Message);
}
