// This file implements the record-view dialog: TqvRecordViewDialog, the component that shows the
// current record of a data source in a window it builds at run time (a label and a data-aware
// control per field, a navigator above, OK and Cancel below), TqvRecordViewForm, that window, and
// the small controls it places: TqvLabel, TqvDBCheckBox and TqvDBMemo.
// The controls of the edit and rich-text libraries (the data-aware edit, the date and time picker,
// the rich edit, the edit frame) are made by registered class name: a program that does not link
// those libraries gets the class library's plain data-aware edit and memo in their place.
// Implemented in qvRecordViewDialog.cpp (the component and its controls) and
// qvRecordViewLayout.cpp (building and laying out the window).
#pragma once

#include <vector>

#include "DBCtrls.h"
#include "DataSource.h"
#include "Forms.h"
#include "Qvtypes.h"
#include "StdCtrls.h"
#include "qvDBNavigator.h"
#include "qvDialog.h"

class TButton;
class TPanel;
class TScrollBox;
class TqvController;
class TqvRecordViewForm;

enum TqvRecordViewStyle { rvsVertical, rvsHorizontal };
VELBOR_ENUM(TqvRecordViewStyle, "rvsVertical", "rvsHorizontal")
enum TqvRecordViewControlOption { rvcTransparentLabels, rvcTransparentButtons, rvcFlatButtons };
VELBOR_ENUM(TqvRecordViewControlOption, "rvcTransparentLabels", "rvcTransparentButtons", "rvcFlatButtons")
using TqvRecordViewControlOptions = TSet<TqvRecordViewControlOption>;
enum TqvRecordViewOKCancelOption { rvokShowOKCancel, rvokAutoPostRec, rvokAutoCancelRec };
VELBOR_ENUM(TqvRecordViewOKCancelOption, "rvokShowOKCancel", "rvokAutoPostRec", "rvokAutoCancelRec")
using TqvRecordViewOKCancelOptions = TSet<TqvRecordViewOKCancelOption>;
enum TqvRecordViewOption {
  rvoHideReadOnly, rvoHideCalculated, rvoHideNavigator, rvoUseCustomControls, rvoShortenEditBox, rvoModalForm,
  rvoStayOnTopForm, rvoConsistentEditWidth, rvoEnterToTab, rvoConfirmCancel, rvoCloseIsCancel,
  rvoMaximizeMemoWidth, rvoSetControlMinWidth, rvoUseDateTimePicker, rvoLabelsBeneathControl
};
VELBOR_ENUM(TqvRecordViewOption, "rvoHideReadOnly", "rvoHideCalculated", "rvoHideNavigator", "rvoUseCustomControls",
            "rvoShortenEditBox", "rvoModalForm", "rvoStayOnTopForm", "rvoConsistentEditWidth", "rvoEnterToTab",
            "rvoConfirmCancel", "rvoCloseIsCancel", "rvoMaximizeMemoWidth", "rvoSetControlMinWidth",
            "rvoUseDateTimePicker", "rvoLabelsBeneathControl")
using TqvRecordViewOptions = TSet<TqvRecordViewOption>;
inline constexpr TqvRecordViewOptions qvDefaultRecordViewOptions = {
    rvoUseCustomControls, rvoShortenEditBox, rvoModalForm,      rvoConfirmCancel,
    rvoCloseIsCancel,     rvoMaximizeMemoWidth, rvoUseDateTimePicker};

class TqvMargin : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvMargin, TPersistent)
 public:
  void Assign(TPersistent* Source) override;
  int BottomOffset = 5;
  int TopOffset = 5;
  int LeftOffset = 5;
  int RightOffset = 5;
};

class TqvVertEditSpacing : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvVertEditSpacing, TPersistent)
 public:
  void Assign(TPersistent* Source) override;
  int BetweenLabelEdit = 5;
  int BetweenRow = 2;
};

class TqvHorzEditSpacing : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvHorzEditSpacing, TPersistent)
 public:
  void Assign(TPersistent* Source) override;
  int BetweenLabelEdit = 1;
  int BetweenEditsInRow = 5;
  int BetweenRow = 2;
  int LabelIndent = 1;
};

class TqvEditSpacing : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvEditSpacing, TPersistent)
 public:
  TqvEditSpacing();
  ~TqvEditSpacing() override;
  void Assign(TPersistent* Source) override;
  TqvHorzEditSpacing* HorizontalView() const { return FHorizontalView; }
  void SetHorizontalView(TqvHorzEditSpacing* Value) { FHorizontalView->Assign(Value); }
  TqvVertEditSpacing* VerticalView() const { return FVerticalView; }
  void SetVerticalView(TqvVertEditSpacing* Value) { FVerticalView->Assign(Value); }

 private:
  TqvHorzEditSpacing* FHorizontalView;
  TqvVertEditSpacing* FVerticalView;
};

// A control of the owner's form lent to the window for one showing: where it was, to put it back.
struct TqvCustomControlItem {
  TWinControl* Control = nullptr;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  TWinControl* Parent = nullptr;
  bool Visible = false, Flat = false, Transparent = false;
};

// A label that draws a dotted grey frame along its edges while its control has the focus.
class TqvLabel : public TLabel {
  VELBOR_DECLARE_CLASS(TqvLabel, TLabel)
 public:
  explicit TqvLabel(TComponent* AOwner) : TLabel(AOwner) {}

 protected:
  void Paint() override;
};

// A check box that repaints its label when it gains or loses the focus (the label's frame).
class TqvDBCheckBox : public TDBCheckBox {
  VELBOR_DECLARE_CLASS(TqvDBCheckBox, TDBCheckBox)
 public:
  explicit TqvDBCheckBox(TComponent* AOwner) : TDBCheckBox(AOwner) {}
  TLabel* Label = nullptr;

 protected:
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

// The multi-line edit of memo fields. F2 opens the memo window for the bound field.
class TqvDBMemo : public TDBMemo {
  VELBOR_DECLARE_CLASS(TqvDBMemo, TDBMemo)
 public:
  explicit TqvDBMemo(TComponent* AOwner) : TDBMemo(AOwner) {}

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
};

// The memo window that F2 opens in the record view's memo controls. Its class belongs to a library
// above this one and is made by its registered name, "TqvMemoDialogPopup"; besides its published
// DataSource, DataField and Caption it answers this interface.
class IqvMemoPopup {
 public:
  virtual ~IqvMemoPopup() = default;
  // The field shown and the control that opened the window (its caret position and font are
  // taken when the window opens); ViewOnly forbids changes.
  virtual void PreparePopup(TField* Field, TWinControl* Control, bool ViewOnly) = 0;
  // Shows the window modally; true when the user confirmed.
  virtual bool ExecutePopup() = 0;
};

// The memo window's class is linked into the program.
bool qvMemoPopupAvailable();
// Opens the memo window for Field over Control (which owns it while it is shown): view-only when
// the field or its dataset cannot be changed. The caller has written the control's changes to the
// field first. False, with nothing done, when the window's class is not linked.
bool qvExecuteMemoPopup(TWinControl* Control, TField* Field);

using TqvOnBeforeCreateControlEvent = TEvent<void(TForm* Form, TField* curField, bool& Accept)>;
using TqvOnAfterCreateControlEvent = TEvent<void(TForm* Form, TField* curField, TControl* Control)>;
using TqvOnSetControlEffectsEvent =
    TEvent<void(TForm* Form, TField* curField, TControl* Control, TPersistent* Frame, TPersistent* ButtonEffects)>;
using TqvOnInitFormEvent = TEvent<void(TForm* Form)>;
using TqvCancelEvent = TEvent<void(TForm* Form, bool& CanClose)>;

// Why the window closed: OK, Cancel, or otherwise (its frame, the program).
enum TqvRecordViewCloseReason { rvcrOK = 0, rvcrCancel = 1, rvcrOther = 2 };

class TqvRecordViewDialog : public TqvCustomDialog {
  VELBOR_DECLARE_CLASS(TqvRecordViewDialog, TqvCustomDialog)
  friend class TqvRecordViewForm;

 public:
  explicit TqvRecordViewDialog(TComponent* AOwner);
  ~TqvRecordViewDialog() override;

  // Properties.
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TqvController* Controller() const { return FController; }
  // Registers with the controller and takes its frame settings.
  void SetController(TqvController* Value);
  TStrings* Selected() const { return FSelected; }
  void SetSelected(TStrings* Value);
  TqvEditSpacing* EditSpacing() const { return FEditSpacing; }
  void SetEditSpacing(TqvEditSpacing* Value) { FEditSpacing->Assign(Value); }
  TqvMargin* Margin() const { return FMargin; }
  void SetMargin(TqvMargin* Value) { FMargin->Assign(Value); }
  TqvFormPosition* FormPosition() const { return FFormPosition; }
  void SetFormPosition(TqvFormPosition* Value) { FFormPosition->Assign(Value); }
  TFormBorderStyle BorderStyle = bsSizeable;
  TqvRecordViewOptions Options = qvDefaultRecordViewOptions;
  TqvRecordViewControlOptions ControlOptions;
  TqvRecordViewOKCancelOptions OKCancelOptions = {rvokShowOKCancel, rvokAutoPostRec, rvokAutoCancelRec};
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value);
  TFont* LabelFont() const { return FLabelFont; }
  void SetLabelFont(TFont* Value);
  String Caption = "Record View";
  TColor ReadOnlyColor = clInactiveCaptionText;
  TqvRecordViewStyle Style = rvsVertical;
  TComponent* Menu() const { return FMenu; }
  void SetMenu(TComponent* Value);
  TqvNavButtonStyles NavigatorButtons = {nbsFirst, nbsPrior, nbsNext, nbsLast, nbsInsert, nbsDelete, nbsEdit,
                                         nbsPost, nbsCancel, nbsRefresh, nbsPriorPage, nbsNextPage,
                                         nbsSaveBookmark, nbsRestoreBookmark};
  bool NavigatorFlat = true;
  TqvDBNavigator* Navigator() const { return FNavigator; }
  // A navigator of the owner's form lent to the window; it is hidden meanwhile.
  void SetNavigator(TqvDBNavigator* Value);
  int LinesPerMemoControl = 2;
  TStrings* ControlType() const { return FControlType; }
  void SetControlType(TStrings* Value);
  bool ControlInfoInDataset = true;
  TStrings* PictureMasks() const { return FPictureMasks; }
  void SetPictureMasks(TStrings* Value);
  bool PictureMaskFromDataSet = true;
  // The frame settings of the edit library ("TqvEditFrame"), null when it is not linked.
  TPersistent* EditFrame() const { return FEditFrame; }
  void SetEditFrame(TPersistent* Value);

  // The window while it is open, its controls and their labels (same positions), the column of
  // the controls, the size the content needs and why the window closed.
  TqvRecordViewForm* Form() const { return FForm; }
  const std::vector<TWinControl*>& Controls() const { return FControls; }
  const std::vector<TControl*>& Labels() const { return FLabels; }
  int ControlColumn() const { return FControlX; }
  int ComputedWidth() const { return FComputedWidth; }
  int ComputedHeight() const { return FComputedHeight; }
  TqvRecordViewCloseReason CloseReason() const { return FCloseReason; }
  TButton* OKButton() const { return FOKButton; }
  TButton* CancelButton() const { return FCancelButton; }

  // Operations.
  // Modal: true when the window was closed with OK. Non-modal: true when it opened.
  bool Execute() override;
  TDataSet* GetPrimaryDataSet() override;

  // Events.
  TqvOnBeforeCreateControlEvent OnBeforeCreateControl;
  TqvOnAfterCreateControlEvent OnAfterCreateControl;
  TqvOnSetControlEffectsEvent OnSetControlEffects;
  TqvOnInitFormEvent OnInitDialog;
  TqvOnInitFormEvent OnCloseDialog;
  TqvOnInitFormEvent OnResizeDialog;
  TqvCancelEvent OnCancelWarning;

  // Overridables.
  // The controls that keep their own height: the data-aware edits and the date and time picker.
  virtual bool IsSingleLineEdit(TControl* Control);
  virtual void DoBeforeCreateControl(TForm* Form, TField* Field, bool& Accept);
  virtual void DoAfterCreateControl(TForm* Form, TField* Field, TControl* Control);
  virtual void DoSetControlEffects(TForm* Form, TField* Field, TControl* Control, TPersistent* Frame,
                                   TPersistent* ButtonEffects);
  virtual void DoInitDialog(TForm* Form);
  virtual void DoCloseDialog(TForm* Form);
  virtual void DoCancelWarning(TForm* Form, bool& CanClose);
  virtual void OKButtonClick(TObject* Sender);
  virtual void CancelButtonClick(TObject* Sender);
  // The edit of fields without a control of their own: the edit library's "TqvDBEdit", else the
  // class library's TDBEdit.
  virtual TWinControl* CreateDefaultEdit();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // One row of the window: a field with its width, title and read-only flag.
  struct TEntry {
    String FieldName;
    TField* Field = nullptr;
    int DisplayWidth = 0;
    String Title;
    bool ReadOnly = false;
  };
  std::vector<TEntry> Entries();
  bool IsFieldShown(const TEntry& Entry) const;
  bool GetCheckBoxValues(TField* Field, String& Checked, String& Unchecked);
  // The control of an accepted entry, made and owned by the scroll box (null when none fits).
  TWinControl* MakeControl(const TEntry& Entry, bool& Borrowed, bool& CheckBox);
  TControl* MakeLabel(const TEntry& Entry, bool ForCheckBox);
  // Steps 1 to 5 of placing a data control; false when it takes no data source or field.
  bool PrepareDataControl(TWinControl* Control, const TEntry& Entry);
  void ApplyPictureMask(TWinControl* Control, TField* Field);
  void RememberCustomControl(TWinControl* Control);
  void RestoreCustomControls();
  int Clamp(int Width, int Available) const;
  int EntryWidth(const TEntry& Entry) const;
  int TextWidthIn(TFont* Font, const String& Text) const;
  int TextHeightIn(TFont* Font, const String& Text) const;
  void BuildVertical();
  void BuildHorizontal();
  void PlaceOKCancel();
  bool AnyControlModified() const;
  void GiveNavigatorBack();

  // Handlers of the window.
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormResize(TObject* Sender);
  void FormKeyDown(WORD& Key, TShiftState Shift);

  TDataLink* FDataLink;
  TqvController* FController = nullptr;
  TWinControl* FNavigatorParent = nullptr;
  TStrings* FSelected;
  std::vector<TWinControl*> FControls;
  std::vector<TControl*> FLabels;
  TqvEditSpacing* FEditSpacing;
  TqvMargin* FMargin;
  TqvFormPosition* FFormPosition;
  TFont* FFont;
  TFont* FLabelFont;
  TComponent* FMenu = nullptr;
  TqvDBNavigator* FNavigator = nullptr;
  int FControlX = 0;
  int FComputedWidth = 0;
  int FComputedHeight = 0;
  TqvRecordViewCloseReason FCloseReason = rvcrOther;
  std::vector<TqvCustomControlItem> FCustomControls;
  TStrings* FControlType;
  TStrings* FPictureMasks;
  TPersistent* FEditFrame = nullptr;
  TControl* FCurrentLabel = nullptr;
  TButton* FOKButton = nullptr;
  TButton* FCancelButton = nullptr;
  TqvRecordViewForm* FForm = nullptr;
  // The parts of the window being built.
  TPanel* FTopPanel = nullptr;
  TPanel* FRecordPanel = nullptr;
  TPanel* FUserPanel = nullptr;
  TqvDBNavigator* FShownNavigator = nullptr;
  TScrollBox* FScrollBox = nullptr;
};

// The window of the dialog, built from its description (no controls): the dialog fills it.
class TqvRecordViewForm : public TForm {
  VELBOR_DECLARE_CLASS(TqvRecordViewForm, TForm)
 public:
  explicit TqvRecordViewForm(TComponent* AOwner) : TForm(AOwner) {}

  TqvRecordViewDialog* Dialog = nullptr;
  TPanel* TopPanel = nullptr;
  TPanel* RecordPanel = nullptr;
  TPanel* UserPanel = nullptr;
  TqvDBNavigator* Navigator = nullptr;
  TScrollBox* ScrollBox = nullptr;
  bool StayOnTop = false;

  // Handlers of the description: the stay-on-top window goes above the others while inactive.
  void FormActivate(TObject* Sender);
  void FormDeactivate(TObject* Sender);

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
};
