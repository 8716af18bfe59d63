// This file implements TqvThreadMouseHook: a thread mouse hook (WH_MOUSE) shared by the controls
// of one kind while their drop-down lists are open. Each control whose list is open counts as one
// user; the hook is installed for the first user and removed when the last one leaves, so a
// control that goes away never takes the hook from another whose list is still open.
#pragma once

#include "WinApi.h"

#include <vector>

class TqvThreadMouseHook {
 public:
  explicit TqvThreadMouseHook(HOOKPROC Proc) : FProc(Proc) {}
  ~TqvThreadMouseHook() {
    if (FHook != nullptr) UnhookWindowsHookEx(FHook);
  }
  TqvThreadMouseHook(const TqvThreadMouseHook&) = delete;
  TqvThreadMouseHook& operator=(const TqvThreadMouseHook&) = delete;

  // User counts once however often it is added; the hook is installed with the first user.
  void AddUser(const void* User);
  // Nothing when User is not one; the hook goes with the last user.
  void RemoveUser(const void* User);
  bool HasUser(const void* User) const;
  int UserCount() const { return int(FUsers.size()); }
  bool Installed() const { return FHook != nullptr; }

 private:
  HOOKPROC FProc;
  HHOOK FHook = nullptr;
  std::vector<const void*> FUsers;
};
