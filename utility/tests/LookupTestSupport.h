// This file implements what the lookup controls' tests share: real keyboard and mouse input, a
// shown form answered by a modal script, a dictionary dataset held in memory, and a code table in
// an SQLite database of a temporary folder read through a query.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ADODB.h"
#include "Dialogs.h"
#include "Forms.h"
#include "SqliteSession.h"
#include "StrUtils.h"
#include "Strings.h"
#include "VectorDataSet.h"

namespace lookup_test {

// Handles pending messages for about Milliseconds (input arrives asynchronously).
inline void Pump(int Milliseconds = 50) {
  DWORD end = GetTickCount() + DWORD(Milliseconds);
  do {
    Application->ProcessMessages();
    Sleep(5);
  } while (GetTickCount() < end);
  Application->ProcessMessages();
}

inline WORD& AwaitedKeyUp() {
  static WORD key = 0;
  return key;
}

// Notes the release of the awaited key when the thread takes it from its queue. A typed character
// (VK_PACKET) reaches the hook only as its press.
inline LRESULT CALLBACK WatchKeyRelease(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION && WParam == AwaitedKeyUp() && (WParam == VK_PACKET || (LParam & 0x80000000))) AwaitedKeyUp() = 0;
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

// Sends the inputs, then waits until the program has handled the release of LastKey (input
// reaches the program at the system's pace).
inline void SendKeys(std::vector<INPUT> Inputs, WORD LastKey) {
  AwaitedKeyUp() = LastKey;
  HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, &WatchKeyRelease, nullptr, GetCurrentThreadId());
  SendInput(UINT(Inputs.size()), Inputs.data(), sizeof(INPUT));
  for (int i = 0; i < 200 && AwaitedKeyUp() != 0; ++i) Pump(10);
  UnhookWindowsHookEx(hook);
  Pump(30);
}

inline INPUT KeyInput(WORD Key, bool Up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = Key;
  in.ki.wScan = WORD(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
  return in;
}

inline void Press(WORD Key) { SendKeys({KeyInput(Key, false), KeyInput(Key, true)}, Key); }

// Key with a modifier held (VK_MENU, VK_CONTROL, VK_SHIFT).
inline void PressWith(WORD Modifier, WORD Key) {
  SendKeys({KeyInput(Modifier, false), KeyInput(Key, false), KeyInput(Key, true), KeyInput(Modifier, true)}, Modifier);
}

// Characters typed as the keyboard would send them (layout-independent).
inline void TypeText(const String& Text) {
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

// A mouse input at a place of the screen: a move, with a press or release of the left button.
inline INPUT MouseInput(TPoint ScreenPos, DWORD Button) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((ScreenPos.X * 65536LL + width - 1) / width);
  in.mi.dy = LONG((ScreenPos.Y * 65536LL + height - 1) / height);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | Button;
  return in;
}

// Moves the pointer through the input queue, so that the moves and presses that follow are seen
// at that place and in that order.
inline void MoveMouse(TPoint ScreenPos) {
  INPUT in = MouseInput(ScreenPos, 0);
  // The display may still report an earlier position after the move: wait until the pointer is
  // there and stays there, moving it again when it was taken back.
  for (int attempt = 0; attempt < 5; ++attempt) {
    SendInput(1, &in, sizeof(in));
    POINT p{};
    for (int i = 0; i < 50; ++i) {
      Pump(10);
      if (GetCursorPos(&p) && p.x == ScreenPos.X && p.y == ScreenPos.Y) break;
    }
    Pump(30);
    if (GetCursorPos(&p) && p.x == ScreenPos.X && p.y == ScreenPos.Y) return;
  }
}

// Presses or releases the left button where the pointer is; the place goes with the input, so
// that a late report of an earlier position cannot move it.
inline void MouseButton(bool Down, TPoint ScreenPos) {
  INPUT in = MouseInput(ScreenPos, Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  SendInput(1, &in, sizeof(in));
}
inline void MouseButton(bool Down) {
  POINT p{};
  GetCursorPos(&p);
  MouseButton(Down, TPoint(p.x, p.y));
}

inline bool& ButtonReleased() {
  static bool released = false;
  return released;
}

// Notes the release of the left button when the thread takes it from its queue.
inline LRESULT CALLBACK WatchButtonRelease(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION && (WParam == WM_LBUTTONUP || WParam == WM_NCLBUTTONUP)) ButtonReleased() = true;
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

// Releases the left button and waits until the program has handled the release (input reaches
// the program at the system's pace).
inline void ReleaseButton(TPoint ScreenPos) {
  ButtonReleased() = false;
  HHOOK hook = SetWindowsHookExA(WH_MOUSE, &WatchButtonRelease, nullptr, GetCurrentThreadId());
  MouseButton(false, ScreenPos);
  for (int i = 0; i < 200 && !ButtonReleased(); ++i) Pump(10);
  UnhookWindowsHookEx(hook);
  Pump(40);
}
inline void ReleaseButton() {
  POINT p{};
  GetCursorPos(&p);
  ReleaseButton(TPoint(p.x, p.y));
}

// Moves the pointer there, then presses and releases the left button; never close enough in time
// to the previous click to make a double click.
inline void ClickAt(TPoint ScreenPos) {
  static DWORD last = 0;
  DWORD wait = GetDoubleClickTime() + 50;
  DWORD since = GetTickCount() - last;
  if (since < wait) Pump(int(wait - since));
  MoveMouse(ScreenPos);
  MouseButton(true, ScreenPos);
  ReleaseButton(ScreenPos);
  last = GetTickCount();
}

// The screen point of a client point of a control.
inline TPoint OnScreen(TControl* Control, int X, int Y) { return Control->ClientToScreen(TPoint(X, Y)); }

// Makes the form the foreground window and waits until it is active.
inline void Activate(TCustomForm* Form) {
  SetForegroundWindow(Form->Handle());
  for (int i = 0; i < 40 && GetForegroundWindow() != Form->Handle(); ++i) Pump(10);
  Pump(20);
}

struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};

// A dictionary of codes and labels held in memory: CODE "C01" ... with LIB from Labels.
inline std::unique_ptr<TVectorDataSet> MakeDictionary(const std::vector<String>& Labels) {
  auto data = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"CODE", ftString, 6}, {"LIB", ftString, 40}});
  for (std::size_t i = 0; i < Labels.size(); ++i) {
    String code = "C" + String(i + 1 < 10 ? "0" : "") + IntToStr(static_cast<long long>(i + 1));
    data->AddRow({Variant(code), Variant(Labels[i])});
  }
  data->Open();
  return data;
}

// Records the events of a lookup control.
class TLookupLog : public TObject {
 public:
  int Changes = 0;
  int Clicks = 0;
  int DropDowns = 0;
  int CloseUps = 0;
  void Changed(TObject*) { ++Changes; }
  void Clicked(TObject*) { ++Clicks; }
  void DroppedDown(TObject*) { ++DropDowns; }
  void ClosedUp(TObject*) { ++CloseUps; }
};

// A shown, active form freed at the end of the test; a question nobody expected (an error dialog
// from a window procedure among them) fails the test.
class LookupFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(new TForm(nullptr));
    Form->SetBounds(120, 100, 460, 340);
    Form->Show();
    Activate(Form.get());
  }
  void TearDown() override {
    Pump(20);
    Form.reset();
    Pump(20);
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  template <class T>
  T* Add(int Left, int Top, int Width, int Height) {
    auto* control = new T(Form.get());
    control->SetParent(Form.get());
    control->SetBounds(Left, Top, Width, Height);
    return control;
  }
  TModalScript Script;
  std::unique_ptr<TForm, TFormFree> Form;
  TLookupLog Log;
};

// A database file of a temporary folder holding the table T_ZONE_HUMIDE with the given codes, a
// connection to it and a query over the codes in order, as the export's range dialog reads them.
class CodeDatabase {
 public:
  CodeDatabase(const String& Folder, const std::vector<String>& Codes) {
    String path = Folder + "\\codes.mdb";
    {
      SqliteSession session(path, TSqliteOpenMode::CreateIfMissing);
      session.ExecuteScript("CREATE TABLE T_ZONE_HUMIDE (ZH_CODE VARCHAR(13) COLLATE VELBOR NOT NULL PRIMARY KEY, ZH_NOM VARCHAR(100) COLLATE VELBOR)");
      for (const String& code : Codes) {
        session.Execute("insert into T_ZONE_HUMIDE (ZH_CODE, ZH_NOM) values ('" + code + "', 'zone " + code + "')");
      }
    }
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->LoginPrompt = false;
    Connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + path);
    Connection->Open();
    Query = new TADOQuery(nullptr);
    Query->SetConnection(Connection.get());
    Query->SQL()->SetText("select zh_code from T_ZONE_HUMIDE  ORDER BY ZH_CODE");
    Query->Open();
    Source = new TDataSource(nullptr);
    Source->SetDataSet(Query);
  }
  ~CodeDatabase() {
    delete Source;
    delete Query;
    Connection.reset();
  }
  CodeDatabase(const CodeDatabase&) = delete;
  CodeDatabase& operator=(const CodeDatabase&) = delete;

  std::unique_ptr<TADOConnection> Connection;
  // Freed by the destructor unless a test freed them first (and set them to null).
  TADOQuery* Query;
  TDataSource* Source;
};

}  // namespace lookup_test
