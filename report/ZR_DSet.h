// This file implements the report data sources that bands iterate over: TzrDataset, an abstract
// record source with a record number, a record range and move events, and TzrUserDataset, the
// same with its properties published, driven by its events or by a record count.
#pragma once

#include "Component.h"
#include "Event.h"
#include "TypInfo.h"

enum TRangeBegin { rbFirst, rbCurrent };
VELBOR_ENUM(TRangeBegin, "rbFirst", "rbCurrent")
enum TRangeEnd { reLast, reCurrent, reCount };
VELBOR_ENUM(TRangeEnd, "reLast", "reCurrent", "reCount")

// Eof arrives with the source's own answer and may be changed either way.
using TCheckEOFEvent = TEvent<void(TObject* Sender, bool& Eof)>;

class TzrDataset : public TComponent {
  VELBOR_DECLARE_CLASS(TzrDataset, TComponent)
 public:
  explicit TzrDataset(TComponent* AOwner);

  // Properties.
  TRangeBegin RangeBegin = rbFirst;
  TRangeEnd RangeEnd = reLast;
  int RangeEndCount = 0;
  // Position in the range, from 0.
  int RecNo() const { return FRecNo; }

  // Operations, as the bands call them: OpenSource when a band takes the source, First, then Eof
  // and Next in the record loop, Prior one step back at a group break, CloseSource at the end.
  virtual void OpenSource();
  virtual void CloseSource();
  virtual void First();
  virtual void Next();
  virtual void Prior();
  virtual bool Eof();

  // Events.
  TNotifyEvent OnFirst;
  TNotifyEvent OnNext;
  TNotifyEvent OnPrior;
  TCheckEOFEvent OnCheckEOF;

 protected:
  virtual void DoFirst();
  virtual void DoNext();
  virtual void DoPrior();
  virtual void DoCheckEOF(bool& Eof);

  int FRecNo = 0;
};

// A source driven by its events, or repeating RangeEndCount times with RangeEnd reCount.
class TzrUserDataset : public TzrDataset {
  VELBOR_DECLARE_CLASS(TzrUserDataset, TzrDataset)
 public:
  explicit TzrUserDataset(TComponent* AOwner) : TzrDataset(AOwner) {}
};
