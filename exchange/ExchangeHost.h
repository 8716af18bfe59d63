// This file implements the small interfaces between the exchange operations and the window that
// runs them: progress, the cancel request, and the outcome the window shows.
#pragma once

#include "AnsiString.h"

// What the window gives the operations. CancelRequested is asked after every row or line; the
// window lets its pending messages run there, so its Quitter button can set the request.
class IExchangeHost {
 public:
  virtual ~IExchangeHost() = default;
  virtual void ProgressStart(int Maximum, const String& Caption) = 0;
  virtual void ProgressStep() = 0;
  virtual bool CancelRequested() = 0;
};

// How an operation ended, with the text the window shows (caption "Message").
struct TExchangeResult {
  enum TOutcome { Done, Cancelled, Refused, Failed };
  TOutcome Outcome = Done;
  String Message;
};
