// This file implements the watch that ends a GUI test program when one case runs past its time: a
// window caught in a loop of its own (painting itself for ever, a modal or menu loop nothing
// closes) never returns to the waits of the case, whose deadlines are then never checked.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// Made at the start of a case and freed at its end. The watch is a plain thread touching no
// window: when the case is still running after Seconds it writes a line naming the case and ends
// the process.
class TTestDeadline {
 public:
  explicit TTestDeadline(int Seconds);
  ~TTestDeadline();
  TTestDeadline(const TTestDeadline&) = delete;
  TTestDeadline& operator=(const TTestDeadline&) = delete;

 private:
  std::mutex FLock;
  std::condition_variable FDone;
  bool FFinished = false;
  std::thread FWatch;
};
