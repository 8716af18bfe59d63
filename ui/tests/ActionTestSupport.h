// This file implements what the action and menu tests share: key chords sent as real input, the
// application's idle work run once, and a recorder of clicks.
#pragma once

#include <initializer_list>
#include <iterator>
#include <vector>

#include "UiTestSupport.h"

// The modifiers pressed, then Key, and let go in reverse order.
inline std::vector<INPUT> Chord(std::initializer_list<WORD> Modifiers, WORD Key) {
  std::vector<INPUT> inputs;
  for (WORD m : Modifiers) inputs.push_back(KeyInput(m, false));
  inputs.push_back(KeyInput(Key, false));
  inputs.push_back(KeyInput(Key, true));
  for (auto it = std::rbegin(Modifiers); it != std::rend(Modifiers); ++it) inputs.push_back(KeyInput(*it, true));
  return inputs;
}

// A chord sent through the input queue, not waited for (keys that open a menu's modal loop).
inline void SendChord(std::initializer_list<WORD> Modifiers, WORD Key) {
  std::vector<INPUT> inputs = Chord(Modifiers, Key);
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A chord through the input queue, and handled.
inline void PressChord(std::initializer_list<WORD> Modifiers, WORD Key) {
  SendKeys(Chord(Modifiers, Key), Modifiers.size() ? *Modifiers.begin() : Key);
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
