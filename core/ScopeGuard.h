// This file implements TScopeGuard: an action run when a scope ends, however it ends (the end of
// the block, a return, an exception), to put back what the scope changed: a dataset's state, a
// flag, a counter, an update count. Dismissed, it does nothing: a guard that undoes a failed
// operation is dismissed once the operation has succeeded.
//
//   TDataSetState saved = SetTempState(dsCalcFields);
//   TScopeGuard restore([&] { RestoreState(saved); });
//   CalculateFields(Buffer);
#pragma once

#include <exception>
#include <utility>

template <class TAction>
class TScopeGuard {
 public:
  explicit TScopeGuard(TAction Action) : FAction(std::move(Action)), FExceptions(std::uncaught_exceptions()) {}
  TScopeGuard(const TScopeGuard&) = delete;
  TScopeGuard& operator=(const TScopeGuard&) = delete;

  // An exception the action raises while the scope is left by another one is dropped: the first
  // failure is the one the caller hears of. Otherwise it reaches the caller.
  ~TScopeGuard() noexcept(false) {
    if (!FActive) return;
    if (std::uncaught_exceptions() > FExceptions) {
      try {
        FAction();
      } catch (...) {
      }
    } else {
      FAction();
    }
  }

  void Dismiss() noexcept { FActive = false; }

 private:
  TAction FAction;
  int FExceptions;  // on their way when the guard was made
  bool FActive = true;
};
