// This file implements the locate dialog: TqvLocateDialog, the component that keeps the last
// search (field, value, match kind, case) and shows TqvLocateDlg, the window that runs the record
// search on a data source's dataset.
// Implemented in Qvlocate.cpp (the component) and QvlocateDlg.cpp (the window, with its
// description TqvLocateDlg.dfm).
#pragma once

#include "DataSource.h"
#include "Forms.h"
#include "qvDialog.h"
#include "qvRecordSearch.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TPanel;
class TRadioButton;
class TqvLocateDlg;

enum TqvFieldSortType { fsSortByFieldNo, fsSortByFieldName };
VELBOR_ENUM(TqvFieldSortType, "fsSortByFieldNo", "fsSortByFieldName")
enum TqvDefaultButtonType { dbFindFirst, dbFindNext };
VELBOR_ENUM(TqvDefaultButtonType, "dbFindFirst", "dbFindNext")
enum TqvFieldSelection { fsAllFields, fsVisibleFields };
VELBOR_ENUM(TqvFieldSelection, "fsAllFields", "fsVisibleFields")
enum TqvLocateDlgOption { ldoCaseSensitiveBelow, ldoCloseOnMatch, ldoPreserveSearchText };
VELBOR_ENUM(TqvLocateDlgOption, "ldoCaseSensitiveBelow", "ldoCloseOnMatch", "ldoPreserveSearchText")
using TqvLocateDlgOptions = TSet<TqvLocateDlgOption>;

using TqvOnInitLocateDlgEvent = TEvent<void(TqvLocateDlg* Dialog)>;
using TqvLocateSelectFieldEvent = TEvent<void(TqvLocateDlg* Dialog, const String& SearchField)>;

// The field named by a label of the dialog's list: the first whose display label, "~" read as a
// blank, is the label exactly; stored fields first, then calculated and lookup ones.
String qvFieldNameFromLabel(TDataSet* DataSet, const String& Label);

class TqvLocateDialog : public TqvCustomDialog {
  VELBOR_DECLARE_CLASS(TqvLocateDialog, TqvCustomDialog)
 public:
  explicit TqvLocateDialog(TComponent* AOwner);
  ~TqvLocateDialog() override;

  // Properties.
  String Caption = "Locate Field Value";
  String SearchField;
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  String SearchText;
  TqvLocateMatchType MatchType = mtPartialMatchStart;
  bool CaseSensitive = false;
  TqvFieldSortType SortFields = fsSortByFieldName;
  TqvDefaultButtonType DefaultButton = dbFindNext;
  TqvFieldSelection FieldSelection = fsAllFields;
  bool ShowMessages = true;
  TqvLocateDlgOptions Options = {ldoCloseOnMatch};
  bool UseLocateMethod = false;
  // The window while Execute shows it.
  TqvLocateDlg* Form() const { return FForm; }

  // Operations.
  // Shows the window on the data source's dataset and keeps what the user chose; true when the
  // user closed it with OK (a match with ldoCloseOnMatch). Without an open dataset: an error box
  // and false.
  bool Execute() override;
  TDataSet* GetPrimaryDataSet() override;

  TqvOnInitLocateDlgEvent OnInitDialog;
  TqvLocateSelectFieldEvent OnSelectField;

  // Fires OnInitDialog with the window (from its OnShow).
  virtual void DoInitDialog();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TDataLink* FDataLink;
  TqvLocateDlg* FForm = nullptr;
};

// The window, built from its description.
class TqvLocateDlg : public TForm {
  VELBOR_DECLARE_CLASS(TqvLocateDlg, TForm)
 public:
  explicit TqvLocateDlg(TComponent* AOwner);
  // Reads the description, then makes the cancel button beside the find buttons.
  void AfterConstruction() override;

  TGroupBox* FieldValueGroup = nullptr;
  TEdit* SearchValue = nullptr;
  TGroupBox* SearchTypeGroup = nullptr;
  TCheckBox* CaseSensitiveCheckBox = nullptr;
  TPanel* Panel1 = nullptr;
  TRadioButton* ExactMatchBtn = nullptr;
  TRadioButton* PartialMatchStartBtn = nullptr;
  TRadioButton* PartialMatchAnyBtn = nullptr;
  TGroupBox* FieldsGroup = nullptr;
  TComboBox* FieldNameComboBox = nullptr;
  TButton* FirstButton = nullptr;
  TButton* NextButton = nullptr;
  TButton* CancelBtn = nullptr;
  // The component that shows the window, and its dataset.
  TqvLocateDialog* LocateDialog = nullptr;
  TDataSet* DataSet = nullptr;

  // The match kind of the radio buttons.
  TqvLocateMatchType MatchKind() const;
  // Runs the search from the first record (or the next one) with what the window holds.
  bool DoFind(bool FromBeginning);

  // Handlers of the description.
  void FormShow(TObject* Sender);
  void FindFirst(TObject* Sender);
  void FindNextBtnClick(TObject* Sender);
  void FieldNameComboBoxChange(TObject* Sender);
  void FieldNameComboBoxEnter(TObject* Sender);
  void FieldNameComboBoxExit(TObject* Sender);
  void FieldNameComboBoxKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
};
