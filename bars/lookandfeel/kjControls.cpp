// This file implements the control services of the look-and-feel library.
#include "kjControls.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "Forms.h"
#include "Resources.h"

VELBOR_IMPLEMENT_CLASS(TkjControlChildComponent)

TkjControlChildComponent::~TkjControlChildComponent() {
  BeforeDestruction();
  if (auto* host = dynamic_cast<IkjChildComponentHost*>(FControl)) host->RemoveChildComponent(this);
}

void TkjControlChildComponent::SetParentComponent(TComponent* Value) {
  TkjComponent::SetParentComponent(Value);
  if (auto* host = dynamic_cast<IkjChildComponentHost*>(Value)) host->AddChildComponent(this);
}

const char* const LookAndFeelCursorNames[14] = {
    "KJ_DRAGCOPYCURSOR",  "KJ_FULLSCROLLCURSOR", "KJ_HORSCROLLCURSOR", "KJ_VERSCROLLCURSOR",
    "KJ_UPSCROLLCURSOR",  "KJ_RIGHTSCROLLCURSOR", "KJ_DOWNSCROLLCURSOR", "KJ_LEFTSCROLLCURSOR",
    "KJ_REMOVECURSOR",    "KJ_VERTSIZECURSOR",   "KJ_HORZSIZECURSOR",  "KJ_MULTIDRAGCURSOR",
    "KJ_NODROPCURSOR",    "KJ_DRAGCURSOR"};

namespace {
bool Started = false;
HMODULE User32 = nullptr;
std::vector<std::pair<HWND, UINT_PTR>> TrackingTimers;

struct TControlsFinisher {
  ~TControlsFinisher() { FinishLookAndFeelControls(); }
} ControlsFinisher;
}  // namespace

void StartLookAndFeelControls() {
  if (Started) return;
  Started = true;
  for (int i = 0; i < 14; ++i)
    if (HCURSOR cursor = LoadCursorA(MainInstance(), LookAndFeelCursorNames[i]))
      Screen->SetCursors(crkjDragCopy + i, cursor);
  User32 = LoadLibraryA("USER32");
}

void FinishLookAndFeelControls() {
  // A control that is still registered now lost its chance to stop its timer: stop it here
  // rather than fail the program's end.
  for (const auto& [wnd, id] : TrackingTimers) KillTimer(wnd, id);
  TrackingTimers.clear();
  if (reinterpret_cast<INT_PTR>(User32) > 32) FreeLibrary(User32);
  User32 = nullptr;
  Started = false;
}

void AddMouseTrackingTimer(HWND Wnd, UINT_PTR TimerId) {
  auto entry = std::make_pair(Wnd, TimerId);
  if (std::find(TrackingTimers.begin(), TrackingTimers.end(), entry) == TrackingTimers.end())
    TrackingTimers.push_back(entry);
}

void RemoveMouseTrackingTimer(HWND Wnd, UINT_PTR TimerId) {
  auto entry = std::make_pair(Wnd, TimerId);
  TrackingTimers.erase(std::remove(TrackingTimers.begin(), TrackingTimers.end(), entry), TrackingTimers.end());
}

int MouseTrackingTimerCount() { return int(TrackingTimers.size()); }
