// Tests of the scope guard: its action runs once however the scope is left, not at all when
// dismissed, and a failing action never hides the exception that is leaving the scope.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ScopeGuard.h"

namespace {

// Leaves a guarded scope the way Leave says and reports how many times the action ran.
enum class TLeave { End, Return, Exception };

int RunsWhenLeaving(TLeave Leave) {
  int runs = 0;
  auto scope = [&]() {
    TScopeGuard restore([&] { ++runs; });
    if (Leave == TLeave::Return) return;
    if (Leave == TLeave::Exception) throw std::runtime_error("failed");
  };
  try {
    scope();
  } catch (const std::runtime_error&) {
  }
  return runs;
}

TEST(ScopeGuard, RunsOnceOnEveryWayOut) {
  for (TLeave leave : {TLeave::End, TLeave::Return, TLeave::Exception})
    EXPECT_EQ(RunsWhenLeaving(leave), 1) << int(leave);
}

TEST(ScopeGuard, RestoresInReverseOrderOfTheChanges) {
  // Two nested temporary states come back as they were, the inner first.
  int state = 0;
  std::vector<int> seen;
  {
    int outer = state;
    state = 1;
    TScopeGuard restoreOuter([&] {
      seen.push_back(state);
      state = outer;
    });
    int inner = state;
    state = 2;
    TScopeGuard restoreInner([&] {
      seen.push_back(state);
      state = inner;
    });
  }
  EXPECT_EQ(state, 0);
  EXPECT_EQ(seen, (std::vector<int>{2, 1}));
}

TEST(ScopeGuard, DismissedDoesNothing) {
  int runs = 0;
  {
    TScopeGuard undo([&] { ++runs; });
    undo.Dismiss();
  }
  EXPECT_EQ(runs, 0);
}

TEST(ScopeGuard, AFailingActionReachesTheCallerAfterASuccess) {
  auto scope = [] { TScopeGuard restore([] { throw std::logic_error("restore failed"); }); };
  EXPECT_THROW(scope(), std::logic_error);
}

TEST(ScopeGuard, AFailingActionDoesNotHideTheFailureLeavingTheScope) {
  // Without the guard's care the second exception would end the program.
  bool restoreRan = false;
  try {
    TScopeGuard restore([&] {
      restoreRan = true;
      throw std::logic_error("restore failed");
    });
    throw std::runtime_error("the operation failed");
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "the operation failed");
  }
  EXPECT_TRUE(restoreRan);
}

// Cleans up through a guarded scope of its own, and records whether that scope's failure reached it.
struct TCleanup {
  bool& Caught;
  ~TCleanup() {
    try {
      TScopeGuard restore([] { throw std::logic_error("restore failed"); });
    } catch (const std::logic_error&) {
      Caught = true;
    }
  }
};

TEST(ScopeGuard, AGuardInsideAnUnwindingDestructorReportsToItsOwnScope) {
  // The destructor runs while an exception leaves the outer scope, but the guard's own scope ends
  // normally: its failure is the destructor's to handle, not dropped.
  bool caught = false;
  try {
    TCleanup cleanup{caught};
    throw std::runtime_error("leaving");
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(caught);
}

}  // namespace
