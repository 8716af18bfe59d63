// This file implements what the GUI tests share.
#include "UiTestSupport.h"

#include <algorithm>
#include <deque>

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
class TLaterQueue : public TObject {
 public:
  TLaterQueue() { FWindow = AllocateHWnd(TWndMethod(this, &TLaterQueue::WndProc)); }
  void Post(std::function<void()> Work) {
    FWork.push_back(std::move(Work));
    PostMessageA(FWindow, WM_APP, 0, 0);
  }

 private:
  void WndProc(TMessage& Message) {
    if (Message.Msg != WM_APP) {
      Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    if (FWork.empty()) return;
    std::function<void()> work = std::move(FWork.front());
    FWork.pop_front();
    work();
  }
  HWND FWindow;
  std::deque<std::function<void()>> FWork;
};

TLaterQueue& Queue() {
  static TLaterQueue* queue = new TLaterQueue();
  return *queue;
}
}  // namespace

void Later(std::function<void()> Work) { Queue().Post(std::move(Work)); }

void Pump(int Milliseconds) {
  DWORD end = GetTickCount() + DWORD(Milliseconds);
  do {
    Application->ProcessMessages();
    Sleep(5);
  } while (GetTickCount() < end);
  Application->ProcessMessages();
}

namespace {
void SendKey(WORD Key, bool Up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = Key;
  in.ki.wScan = WORD(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
}
}  // namespace

void PressKey(WORD Key, bool Shift) {
  if (Shift) SendKey(VK_SHIFT, false);
  SendKey(Key, false);
  SendKey(Key, true);
  if (Shift) SendKey(VK_SHIFT, true);
}

void ClickAt(TPoint ScreenPos) {
  SetCursorPos(ScreenPos.X, ScreenPos.Y);
  INPUT in[2]{};
  in[0].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].type = INPUT_MOUSE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
}

void Activate(TCustomForm* Form) {
  SetForegroundWindow(Form->Handle());
  for (int i = 0; i < 40 && GetForegroundWindow() != Form->Handle(); ++i) Pump(10);
  Pump(20);
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
