// This file implements the links between a dataset and its users: TDataSource, TDataLink with its
// window of record buffers, TFieldDataLink (one field for one control), and TDetailDataLink /
// TMasterDataLink (a detail dataset following the current record of its master).
#pragma once

#include <cstdint>
#include <vector>

#include "AnsiString.h"
#include "Component.h"
#include "DBConsts.h"
#include "Event.h"

class TDataSet;
class TDataLink;
class TField;

using TDataChangeEvent = TEvent<void(TObject* Sender, TField* Field)>;

class TDataSource : public TComponent {
  VELBOR_DECLARE_CLASS(TDataSource, TComponent)
 public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;

  // Properties.
  TDataSet* DataSet() const { return FDataSet; }
  // A dataset that already depends on this source raises "liens circulaires" (EDatabaseError).
  void SetDataSet(TDataSet* ADataSet);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool AutoEdit = true;
  // The dataset's state, or dsInactive without dataset or while disabled.
  TDataSetState State() const { return FState; }

  // Operations.
  // Puts the dataset in edit mode when AutoEdit is set and it is browsing.
  void Edit();
  // True when this source feeds ADataSet, directly or through a chain of detail datasets.
  bool IsLinkedTo(TDataSet* ADataSet);

  // Events.
  TNotifyEvent OnStateChange;
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnUpdateData;

 protected:
  friend class TDataSet;
  friend class TDataLink;

  // From the dataset: passes the event to the links (detail links first), then fires the events.
  virtual void DataEvent(TDataEvent Event, intptr_t Info);
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void AddDataLink(TDataLink* DataLink);
  void RemoveDataLink(TDataLink* DataLink);
  void NotifyDataLinks(TDataEvent Event, intptr_t Info);
  void NotifyLinkTypes(TDataEvent Event, intptr_t Info, bool LinkType);
  void SetState(TDataSetState Value);
  void UpdateState();

  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FDataLinks;
  bool FEnabled = true;
  TDataSetState FState = dsInactive;
};

// A user of a data source: a control, a grid, a detail dataset. The link sees BufferCount records
// of the dataset's window (a grid asks for as many as it shows rows); ActiveRecord is the current
// record's index within them. Descendants override the notifications.
class TDataLink : public TObject {
  VELBOR_DECLARE_CLASS(TDataLink, TObject)
 public:
  TDataLink();
  ~TDataLink() override;

  // Properties.
  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* ADataSource);
  TDataSet* DataSet() const;
  bool DataSourceFixed = false;  // the link refuses another data source
  bool Active() const { return FActive; }
  bool Editing() const { return FEditing; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  int ActiveRecord() const;
  void SetActiveRecord(int Value);
  int BufferCount() const { return FBufferCount; }
  void SetBufferCount(int Value);
  // The records of the window the link sees: at most BufferCount.
  int RecordCount() const;
  bool Bof() const;
  bool Eof() const;

  // Operations.
  // Asks the data source to edit (AutoEdit) unless ReadOnly; answers Editing.
  bool Edit();
  // UpdateData, with RecordChanged notifications from the writes suppressed.
  void UpdateRecord();

 protected:
  friend class TDataSource;
  friend class TDataSet;

  // Notifications.
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged();                 // the base calls RecordChanged(nullptr)
  virtual void DataSetScrolled(int Distance);    // the base calls DataSetChanged
  virtual void FocusControl(TField** Field) { (void)Field; }
  virtual void EditingChanged() {}
  virtual void LayoutChanged();                  // the base calls DataSetChanged
  virtual void RecordChanged(TField* Field) { (void)Field; }
  virtual void UpdateData() {}
  // True for links that drive a detail dataset: they hear of changes before the controls.
  virtual bool IsDetailLink() const { return false; }
  virtual TDataSet* GetDetailDataSet() { return nullptr; }

  virtual void DataEvent(TDataEvent Event, intptr_t Info);

 private:
  void UpdateState();
  void SetActive(bool Value);
  void SetEditing(bool Value);
  // Keeps FFirstRecord such that the dataset's active record is inside the link's window.
  void UpdateRange();

  TDataSource* FDataSource = nullptr;
  int FFirstRecord = 0;
  int FBufferCount = 1;
  bool FActive = false;
  bool FEditing = false;
  bool FReadOnly = false;
  bool FUpdating = false;
};

// One field for one control. The control reads the field in OnDataChange, writes it back in
// OnUpdateData when Modified was called, and follows Editing through OnEditingChange.
class TFieldDataLink : public TDataLink {
  VELBOR_DECLARE_CLASS(TFieldDataLink, TDataLink)
 public:
  TFieldDataLink() = default;

  // Properties.
  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  TField* Field() const { return FField; }
  TComponent* Control = nullptr;  // the control served, for FocusControl
  // Editing is the data source's edit mode, only when this field can be modified.
  bool Editing() const { return FEditing; }
  bool CanModify() const;

  // Operations.
  bool Edit();
  void Modified() { FModified = true; }
  // Re-reads the field into the control (RecordChanged(nullptr)).
  void Reset();

  // Events.
  TNotifyEvent OnDataChange;
  TNotifyEvent OnEditingChange;
  TNotifyEvent OnUpdateData;
  TNotifyEvent OnActiveChange;
  // Asked to focus Control when the dataset wants this field focused; Focused tells whether it did.
  TEvent<void(TObject* Sender, bool& Focused)> OnFocusControl;

 protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void FocusControl(TField** Field) override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void UpdateData() override;

 private:
  void SetField(TField* Value);
  void SetEditing(bool Value);
  void UpdateField();

  TField* FField = nullptr;
  String FFieldName;
  bool FEditing = false;
  bool FModified = false;
};

// A link whose changes re-select a detail dataset.
class TDetailDataLink : public TDataLink {
  VELBOR_DECLARE_CLASS(TDetailDataLink, TDataLink)
 public:
  TDetailDataLink() = default;

 protected:
  bool IsDetailLink() const override { return true; }
};

// The master side of a master/detail pair: the detail dataset owns it and points it at the
// master's data source. Fields are the master's fields named by FieldNames (';'-separated). Each
// change of the master's record that concerns those fields (or any scroll) calls OnMasterChange,
// which defaults to the detail's MasterChanged; losing the master calls OnMasterDisable (the
// detail's MasterDisabled by default).
class TMasterDataLink : public TDetailDataLink {
  VELBOR_DECLARE_CLASS(TMasterDataLink, TDetailDataLink)
 public:
  explicit TMasterDataLink(TDataSet* ADataSet);

  // Properties.
  const String& FieldNames() const { return FFieldNames; }
  void SetFieldNames(const String& Value);
  const std::vector<TField*>& Fields() const { return FFields; }
  TDataSet* DetailDataSet() const { return FDetailDataSet; }

  // Operations.
  // Copies the master fields' values into the detail's fields named by DetailFieldNames, in order
  // (the same names as FieldNames when empty): how new detail records get the master key.
  void CopyMasterValues(const String& DetailFieldNames = String());

  // Events.
  TNotifyEvent OnMasterChange;
  TNotifyEvent OnMasterDisable;

 protected:
  void ActiveChanged() override;
  void CheckBrowseMode() override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  TDataSet* GetDetailDataSet() override { return FDetailDataSet; }

 private:
  void DoMasterChange();
  void DoMasterDisable();

  TDataSet* FDetailDataSet;
  String FFieldNames;
  std::vector<TField*> FFields;
};
