// This file implements the report data sources TzrDataset and TzrUserDataset.
#include "ZR_DSet.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrDataset)
VELBOR_IMPLEMENT_CLASS(TzrUserDataset)
VELBOR_PUBLISHED(TzrUserDataset,
  Prop("RangeBegin", &Self::RangeBegin).Default(rbFirst),
  Prop("RangeEnd", &Self::RangeEnd).Default(reLast),
  Prop("RangeEndCount", &Self::RangeEndCount).Default(0),
  Prop("OnCheckEOF", &Self::OnCheckEOF),
  Prop("OnFirst", &Self::OnFirst),
  Prop("OnNext", &Self::OnNext),
  Prop("OnPrior", &Self::OnPrior))

TzrDataset::TzrDataset(TComponent* AOwner) : TComponent(AOwner) {}

void TzrDataset::OpenSource() {}
void TzrDataset::CloseSource() {}

void TzrDataset::First() {
  FRecNo = 0;
  DoFirst();
}

void TzrDataset::Next() {
  ++FRecNo;
  // The move that reaches the end of a counted range is not announced.
  if (!(RangeEnd == reCount && FRecNo >= RangeEndCount)) DoNext();
}

void TzrDataset::Prior() {
  --FRecNo;
  DoPrior();
}

bool TzrDataset::Eof() {
  bool eof = RangeEnd == reCount && FRecNo >= RangeEndCount;
  DoCheckEOF(eof);
  return eof;
}

void TzrDataset::DoFirst() {
  if (OnFirst) OnFirst(this);
}

void TzrDataset::DoNext() {
  if (OnNext) OnNext(this);
}

void TzrDataset::DoPrior() {
  if (OnPrior) OnPrior(this);
}

void TzrDataset::DoCheckEOF(bool& Eof) {
  if (OnCheckEOF) OnCheckEOF(this, Eof);
}
