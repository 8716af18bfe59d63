// This file implements TzrDBDataSet, the report data source over a dataset.
#include "ZR_DBSet.h"

#include "DataSource.h"
#include "ZR_DBRel.h"

VELBOR_IMPLEMENT_CLASS(TzrDBDataSet)
VELBOR_PUBLISHED(TzrDBDataSet,
  Prop("CloseDataSource", &Self::CloseDataSource).Default(false),
  Prop("DataSet", &Self::DataSet, &Self::SetDataSet),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("OpenDataSource", &Self::OpenDataSource).Default(true),
  Prop("RangeBegin", &Self::RangeBegin).Default(rbFirst),
  Prop("RangeEnd", &Self::RangeEnd).Default(reLast),
  Prop("RangeEndCount", &Self::RangeEndCount).Default(0),
  Prop("OnCheckEOF", &Self::OnCheckEOF),
  Prop("OnClose", &Self::OnClose),
  Prop("OnFirst", &Self::OnFirst),
  Prop("OnNext", &Self::OnNext),
  Prop("OnOpen", &Self::OnOpen),
  Prop("OnPrior", &Self::OnPrior))

TzrDBDataSet::TzrDBDataSet(TComponent* AOwner) : TzrDataset(AOwner) {}

TzrDBDataSet::~TzrDBDataSet() {
  SetDataSet(nullptr);
  SetDataSource(nullptr);
}

void TzrDBDataSet::SetDataSet(TDataSet* Value) {
  if (FDataSource != nullptr) {
    FDataSource->RemoveFreeNotification(this);
    FDataSource = nullptr;
  }
  if (Value == FDataSet) return;
  if (FDataSet != nullptr) FDataSet->RemoveFreeNotification(this);
  FDataSet = Value;
  if (FDataSet != nullptr) FDataSet->FreeNotification(this);
}

void TzrDBDataSet::SetDataSource(TDataSource* Value) {
  if (Value != nullptr && FDataSet != nullptr) {
    FDataSet->RemoveFreeNotification(this);
    FDataSet = nullptr;
  }
  if (Value == FDataSource) return;
  if (FDataSource != nullptr) FDataSource->RemoveFreeNotification(this);
  FDataSource = Value;
  if (FDataSource != nullptr) FDataSource->FreeNotification(this);
}

void TzrDBDataSet::Notification(TComponent* AComponent, TOperation Operation) {
  TzrDataset::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDataSet) FDataSet = nullptr;
  if (AComponent == FDataSource) FDataSource = nullptr;
}

TDataSet* TzrDBDataSet::ResolveDataSet() {
  if (FDataSource != nullptr && FDataSource->DataSet() != nullptr) return FDataSource->DataSet();
  if (FDataSet != nullptr) return FDataSet;
  throw EDSError("Unable to open dataset " + Name());
}

void TzrDBDataSet::DoOpen() {
  if (OpenDataSource) ResolveDataSet()->Open();
  if (OnOpen) OnOpen(this);
}

void TzrDBDataSet::DoClose() {
  if (OnClose) OnClose(this);
  if (CloseDataSource) ResolveDataSet()->Close();
}

void TzrDBDataSet::OpenSource() {
  DoOpen();
  FBookmark.clear();
  if (RangeBegin == rbCurrent || RangeEnd == reCurrent) FBookmark = zrGetBookmark(ResolveDataSet());
  FEof = false;
}

void TzrDBDataSet::CloseSource() {
  if (!FBookmark.empty()) {
    TDataSet* dataSet = ResolveDataSet();
    zrGotoBookmark(dataSet, FBookmark);
    zrFreeBookmark(dataSet, FBookmark);
  }
  FBookmark.clear();
  DoClose();
}

void TzrDBDataSet::First() {
  TDataSet* dataSet = ResolveDataSet();
  if (RangeBegin == rbFirst)
    dataSet->First();
  else
    zrGotoBookmark(dataSet, FBookmark);
  FEof = false;
  TzrDataset::First();
}

void TzrDBDataSet::Next() {
  FEof = false;
  TDataSet* dataSet = ResolveDataSet();
  if (RangeEnd == reCurrent && zrSameBookmark(dataSet, zrGetBookmark(dataSet), FBookmark)) {
    FEof = true;
    return;
  }
  dataSet->Next();
  TzrDataset::Next();
}

void TzrDBDataSet::Prior() {
  ResolveDataSet()->Prior();
  TzrDataset::Prior();
}

bool TzrDBDataSet::Eof() { return TzrDataset::Eof() || ResolveDataSet()->Eof() || FEof; }
