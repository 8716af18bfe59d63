// This file implements TqvFilterDlg, the window in which the operator edits the criteria of a
// TqvFilterDialog: the list of fields on the left, and for the chosen field a value with its match
// kind, case and inversion, or the two ends of a range. The window works on its own copy of the
// criteria, which the dialog takes over only after OK. The value editors and the date pickers are
// the edit controls' library's, made by registered class name ("TqvDBEdit", "TqvDBComboBox",
// "TqvDBDateTimePicker"); a program without that library gets the plain edit and combo box, and
// its date ranges are typed.
#pragma once

#include <vector>

#include "Forms.h"
#include "qvFilterCriteria.h"

class TBevel;
class TButton;
class TCheckBox;
class TDataSet;
class TLabel;
class TListBox;
class TPageControl;
class TPanel;
class TRadioGroup;
class TTabControl;
class TTabSheet;
class TqvFilterDialog;

class TqvFilterDlg : public TForm {
  VELBOR_DECLARE_CLASS(TqvFilterDlg, TForm)
 public:
  // Copies the dialog's criteria, rebuilds its field catalogue and makes the OK and Cancel buttons.
  TqvFilterDlg(TComponent* AOwner, TqvFilterDialog* ADialog);
  ~TqvFilterDlg() override;

  // Components.
  TPanel* FieldListPanel = nullptr;
  TPanel* FieldsLabelPanel = nullptr;
  TLabel* FieldsLbl = nullptr;
  TTabControl* FieldTabSet = nullptr;
  TListBox* FieldsListBox = nullptr;
  TPanel* FieldOrderPanel = nullptr;
  TRadioGroup* FieldOrder = nullptr;
  TPanel* FieldCriteriaPanel = nullptr;
  TPanel* CriteriaLabelPanel = nullptr;
  TLabel* FieldCriteria = nullptr;
  TPageControl* SelectNotebook = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TLabel* FieldValueLbl = nullptr;
  TWinControl* FilterValueEdit = nullptr;   // the library's edit, else a plain one
  TWinControl* FilterValueCombo = nullptr;  // the library's combo box, else a plain one
  TButton* FilterValueClearButton = nullptr;
  TRadioGroup* MatchTypeGroup = nullptr;
  TPanel* Panel1 = nullptr;
  TCheckBox* CaseSensitive = nullptr;
  TCheckBox* Nonmatching = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TLabel* StartingRangeLbl = nullptr;
  TLabel* EndingRangeLbl = nullptr;
  TWinControl* MinValueEdit = nullptr;
  TWinControl* MaxValueEdit = nullptr;
  TWinControl* MinDateEdit = nullptr;  // null without the library's date picker
  TWinControl* MaxDateEdit = nullptr;
  TButton* MinValueClearButton = nullptr;
  TButton* MaxValueClearButton = nullptr;
  TPanel* ButtonPanel = nullptr;
  TButton* ViewButton = nullptr;
  TButton* ClearSearchButton = nullptr;
  TPanel* OKCancelPanel = nullptr;

  // State.
  int CurrentIndex = -1;  // list index of the field the controls show
  bool Activated = false;
  TqvFilterDialog* Dialog = nullptr;
  TDataSet* DataSet = nullptr;
  std::vector<TqvFieldInfo> Criteria;  // the working copy
  TWinControl* MinControl = nullptr;
  TWinControl* MaxControl = nullptr;
  TWinControl* ValueControl = nullptr;
  TButton* OKButton = nullptr;
  TButton* CancelButton = nullptr;
  bool Changed = false;

  // Operations.
  // Fills To with copies of From, each label taken from the field name when empty (From gets that
  // label too) and each field name found again from its label.
  void CopyCriteria(std::vector<TqvFieldInfo>& From, std::vector<TqvFieldInfo>& To);
  // All offered fields, or only those with a criterion.
  void FillFieldList(bool All);
  // Stores one field's controls in the working copy: an empty value (or range) removes it.
  void SetCriteria(const String& Label, TqvFilterMatchType MatchType, bool NonMatching, bool CaseSensitiveFlag,
                   const String& MaxValue, const String& MinValue, const String& Value);
  // Saves the shown field into the working copy and loads the selected one into the controls;
  // false when a value is not valid: a message names it, then its control is focused with its
  // text selected.
  bool UpdateCriteria(bool Reload);
  void SelectCriteriaPage();
  void SelectValueEditor();
  void UpdateTabVisibility();
  void FocusValueControl();
  void ShowInvalidValue(const String& Label, const String& Text);
  void UpdateButtons();
  void ApplyIntlStrings();
  // Widens the middle column for texts longer than its design and heightens the window when the
  // value page would be cut.
  void FitToTexts();
  TFieldType GetFieldType(const String& Label);
  bool IsRangeType(TFieldType Type);
  bool IsRangeField(const String& Label) { return IsRangeType(GetFieldType(Label)); }
  // The criterion of a label in the working copy (tildes read as blanks); null when none.
  TqvFieldInfo* FindCriteria(const String& Label);
  // The match kind the radio group shows.
  TqvFilterMatchType SelectedMatchType();

  // Handlers.
  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void FieldsListBoxClick(TObject* Sender);
  void FieldOrderClick(TObject* Sender);
  void FieldTabSetChanging(TObject* Sender, bool& AllowChange);
  void FieldCriteriaPanelResize(TObject* Sender);
  void FilterValueComboChange(TObject* Sender);
  void MinValueEditChange(TObject* Sender);
  void MaxValueEditChange(TObject* Sender);
  void FilterValueClearButtonClick(TObject* Sender);
  void MinValueClearButtonClick(TObject* Sender);
  void MaxValueClearButtonClick(TObject* Sender);
  void MatchTypeGroupClick(TObject* Sender);
  void ViewButtonClick(TObject* Sender);
  void ClearSearchButtonClick(TObject* Sender);

 private:
  void Build();
  int Scaled(int Pixels) const;
  // The list refilled for the tab shown, the label chosen again.
  void RefillList(bool All, const String& Label);
  bool AllTabShown() const;
  bool UsesDatePickers() const { return MinControl != nullptr && MinControl == MinDateEdit; }
  // A range end as the date picker holds it (empty when the picker is empty).
  String PickerText(TWinControl* Picker, TFieldType Type, bool End);
  void SetPickerText(TWinControl* Picker, const String& Text);
  bool FLoading = false;  // controls filled by the program: no change is the operator's
};

// Shows the window for the dialog; true when it closed with OK. Changed tells whether the criteria
// differ from what the dialog had (they are then the dialog's).
bool qvShowFilterDlg(TqvFilterDialog* Dialog, bool& Changed);
