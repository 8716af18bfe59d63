// This file implements what the action and menu tests share: key chords sent as real input, the
// application's idle work run once, and a recorder of clicks.
#pragma once

#include <initializer_list>
#include <vector>

#include "UiTestSupport.h"

// Presses the modifiers, then Key, and lets them go in reverse order, through the input queue.
inline void PressChord(std::initializer_list<WORD> Modifiers, WORD Key) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD Vk, bool Up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = Vk;
    in.ki.wScan = WORD(MapVirtualKeyA(Vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  };
  for (WORD m : Modifiers) add(m, false);
  add(Key, false);
  add(Key, true);
  for (auto it = std::rbegin(Modifiers); it != std::rend(Modifiers); ++it) add(*it, true);
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Lets the application go idle once (its idle work updates the actions): messages are handled
// until the loop finds none; a timer ends the wait that follows.
inline void RunIdle() {
  struct TIdleSeen : TObject {
    bool Seen = false;
    void Idle(TObject*, bool&) { Seen = true; }
  } seen;
  TIdleEvent saved = Application->OnIdle;
  Application->OnIdle = TIdleEvent(&seen, &TIdleSeen::Idle);
  UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
  for (int i = 0; i < 1000 && !seen.Seen; ++i) Application->HandleMessage();
  KillTimer(nullptr, timer);
  Application->OnIdle = saved;
}

// Counts the events it receives, with their senders.
class TClickRecorder : public TObject {
 public:
  void Clicked(TObject* Sender) { Senders.push_back(Sender); }
  int Count() const { return int(Senders.size()); }
  std::vector<TObject*> Senders;
};
