// This file implements the installation of the bar windows library and its deferred commands.
#include "kwBarWindows.h"

#include <vector>

#include "UtilityWindow.h"
#include "kwBarControl.h"
#include "kwBarFlatPainter.h"
#include "kwBarManager.h"
#include "kwBarOffice11Painter.h"
#include "kwBarStandardPainters.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBarXPPainter.h"
#include "kwBars.h"
#include "kwDockControl.h"

namespace {
TkwBarWindow* MakeBarWindow(TkwBar* Bar) { return new TkwBarControl(Bar->GetBarManager(), Bar); }

TkwBarWindow* MakeMenuWindow(TkwBarManager* Manager, TkwBarItemLinks* Links) {
  return new TkwBarSubMenuControl(Manager, Links);
}

TkwDockSite* MakeEdgeDockSite(TkwBarManager* Manager, TkwBarDockingStyle Style) {
  return TkwDockControl::CreateForManager(Manager->OwnerForm(), Style, Manager);
}

const TkwBarItemControlStandardPainter StandardPainter{};
const TkwBarItemControlEnhancedPainter EnhancedPainter{};
const TkwBarItemControlFlatPainter FlatPainter{};
const TkwBarItemControlOffice11Painter Office11Painter{};
const TkwBarItemControlXPPainter XPPainter{};

// --- Deferred commands ---------------------------------------------------------------------------

const UINT WM_RUNBARCOMMANDS = WM_USER + 1;

struct TPendingCommand {
  TkwBar* Bar;
  TkwBarCommand Command;
};

class TCommandQueue : public TObject {
 public:
  std::vector<TPendingCommand> Pending;
  HWND Window = nullptr;
  void WndProc(TMessage& Message) {
    if (Message.Msg == WM_RUNBARCOMMANDS) {
      RunPendingBarCommands();
      return;
    }
    Message.Result = DefWindowProcA(Window, Message.Msg, Message.WParam, Message.LParam);
  }
};

TCommandQueue& Queue() {
  static TCommandQueue queue;
  return queue;
}

// Whether Bar is a bar of a live manager.
bool IsLiveBar(TkwBar* Bar) {
  for (int m = 0; m < BarManagerCount(); ++m) {
    TkwBars* bars = GetBarManager(m)->Bars();
    if (!bars) continue;
    for (int i = 0; i < bars->Count(); ++i)
      if (bars->Items(i) == Bar) return true;
  }
  return false;
}

void ToggleDocking(TkwBar* Bar) {
  TkwBarManager* manager = Bar->GetBarManager();
  if (!manager) return;
  Bar->SetVisible(false);
  if (Bar->DockingStyle() != dsNone) {
    Bar->SetDockingStyle(dsNone);
  } else if (TkwDockSite* site = Bar->DockedDockControl()) {
    Bar->SetDockControl(site);
  } else {
    TkwBarDockingStyle style = Bar->DockedDockingStyle();
    Bar->SetDockingStyle(style == dsNone ? dsTop : style);
  }
  Bar->SetVisible(true);
}
}  // namespace

void RegisterBarWindowClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  TkwBarWindowClasses classes;
  classes.CreateBarWindow = &MakeBarWindow;
  classes.CreateMenuWindow = &MakeMenuWindow;
  classes.CreateEdgeDockSite = &MakeEdgeDockSite;
  SetBarWindowClasses(classes);
  RegisterBarPainter(bpkStandard, &StandardPainter);
  RegisterBarPainter(bpkEnhanced, &EnhancedPainter);
  RegisterBarPainter(bpkFlat, &FlatPainter);
  RegisterBarPainter(bpkOffice11, &Office11Painter);
  RegisterBarPainter(bpkXP, &XPPainter);
  RegisterClass(TkwBarDockControl::StaticClass());
}

void PostBarCommand(TkwBar* Bar, TkwBarCommand Command) {
  TCommandQueue& queue = Queue();
  if (!queue.Window) queue.Window = AllocateHWnd(TWndMethod(&queue, &TCommandQueue::WndProc));
  queue.Pending.push_back({Bar, Command});
  PostMessageA(queue.Window, WM_RUNBARCOMMANDS, 0, 0);
}

void RunPendingBarCommands() {
  std::vector<TPendingCommand> pending;
  pending.swap(Queue().Pending);
  for (const TPendingCommand& command : pending) {
    if (!IsLiveBar(command.Bar)) continue;
    switch (command.Command) {
      case kwbcToggleDocking: ToggleDocking(command.Bar); break;
      case kwbcClose:
        command.Bar->SetVisible(false);
        if (TkwBarManager* manager = command.Bar->GetBarManager()) manager->DoBarClose(command.Bar);
        break;
    }
  }
}
