// This file implements TzrDBDataSet, the report data source over a dataset of the class library,
// given directly or through a data source component, with EDSError for a source without dataset.
#pragma once

#include "DataSet.h"
#include "ZR_DSet.h"

class TDataSource;

VELBOR_EXCEPTION(EDSError, Exception)

class TzrDBDataSet : public TzrDataset {
  VELBOR_DECLARE_CLASS(TzrDBDataSet, TzrDataset)
 public:
  explicit TzrDBDataSet(TComponent* AOwner);
  ~TzrDBDataSet() override;

  // Properties. Setting DataSet clears DataSource; setting a DataSource clears DataSet.
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  bool OpenDataSource = true;
  bool CloseDataSource = false;

  // The dataset of DataSource when it has one, else DataSet; EDSError "Unable to open dataset
  // <Name>" when there is neither.
  TDataSet* ResolveDataSet();

  void OpenSource() override;
  void CloseSource() override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() override;

  // Events.
  TNotifyEvent OnOpen;
  TNotifyEvent OnClose;

 protected:
  // Opens the dataset when OpenDataSource is set, then OnOpen.
  virtual void DoOpen();
  // OnClose, then closes the dataset when CloseDataSource is set.
  virtual void DoClose();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TDataSet* FDataSet = nullptr;
  TDataSource* FDataSource = nullptr;
  TBookmark FBookmark;  // the record current at opening, for rbCurrent and reCurrent
  bool FEof = false;
};
