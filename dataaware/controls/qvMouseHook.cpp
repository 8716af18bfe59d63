// This file implements the counted thread mouse hook (see qvMouseHook.h).
#include "qvMouseHook.h"

#include <algorithm>

void TqvThreadMouseHook::AddUser(const void* User) {
  if (HasUser(User)) return;
  FUsers.push_back(User);
  if (FHook == nullptr) FHook = SetWindowsHookExA(WH_MOUSE, FProc, nullptr, GetCurrentThreadId());
}

void TqvThreadMouseHook::RemoveUser(const void* User) {
  auto it = std::find(FUsers.begin(), FUsers.end(), User);
  if (it == FUsers.end()) return;
  FUsers.erase(it);
  if (FUsers.empty() && FHook != nullptr) {
    UnhookWindowsHookEx(FHook);
    FHook = nullptr;
  }
}

bool TqvThreadMouseHook::HasUser(const void* User) const {
  return std::find(FUsers.begin(), FUsers.end(), User) != FUsers.end();
}
