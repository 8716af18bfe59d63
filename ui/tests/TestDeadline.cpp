// This file implements the watch that ends a GUI test program when a case runs past its time.
#include "TestDeadline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

TTestDeadline::TTestDeadline(int Seconds) {
  const testing::TestInfo* Info = testing::UnitTest::GetInstance()->current_test_info();
  std::string Name = Info != nullptr ? std::string(Info->test_suite_name()) + "." + Info->name() : "a test";
  FWatch = std::thread([this, Seconds, Name] {
    std::unique_lock<std::mutex> Lock(FLock);
    if (FDone.wait_for(Lock, std::chrono::seconds(Seconds), [this] { return FFinished; })) return;
    std::fflush(stdout);
    std::fprintf(stderr, "%s still running after %d s: stopped (a loop that never ends?)\n", Name.c_str(), Seconds);
    std::fflush(stderr);
    std::_Exit(3);
  });
}

TTestDeadline::~TTestDeadline() {
  {
    std::lock_guard<std::mutex> Lock(FLock);
    FFinished = true;
  }
  FDone.notify_one();
  FWatch.join();
}
