// This file implements TqvFilterDlg, the criteria window of the filter dialog (see
// qvFilterDialogForm.h), and qvShowFilterDlg, through which the dialog shows it.
#include "qvFilterDialogForm.h"

#include <memory>

#include "Buttons.h"
#include "ComCtrls.h"
#include "DateTimeFormat.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Field.h"
#include "FormatSettings.h"
#include "ListControls.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "StdCtrls.h"
#include "TypInfo.h"
#include "qvControlUtils.h"
#include "qvDataSetUtils.h"
#include "qvDateScan.h"
#include "qvFilterDialog.h"
#include "qvStrUtils.h"

// Made only by the dialog it edits, never by name.
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqvFilterDlg)

namespace {

// The edit controls' library's value editors and date picker, by class name.
constexpr const char* EditClassName = "TqvDBEdit";
constexpr const char* ComboClassName = "TqvDBComboBox";
constexpr const char* PickerClassName = "TqvDBDateTimePicker";
// The date picker's kinds of value (its UnboundDataType).
constexpr int PickerDate = 0;
constexpr int PickerDateTime = 2;

TWinControl* CreateByName(const char* ClassName, TComponent* Owner) {
  TClass Class = GetClass(ClassName);
  if (Class == nullptr || Class->Factory == nullptr) return nullptr;
  TObject* Made = Class->Create(Owner);
  auto* Control = dynamic_cast<TWinControl*>(Made);
  if (Control == nullptr) delete Made;
  return Control;
}

void SetOrdIfPublished(TObject* Control, const char* Name, long long Value) {
  if (IsPublishedProp(Control, Name)) SetOrdProp(Control, Name, Value);
}

void SetStrIfPublished(TObject* Control, const char* Name, const String& Value) {
  if (IsPublishedProp(Control, Name)) SetStrProp(Control, Name, Value);
}

// The edit library's editors hold their mask in a picture object ("Picture.PictureMask").
void SetPictureMaskIfPublished(TObject* Control, const String& Mask) {
  if (IsPublishedProp(Control, "PictureMask")) {
    SetStrProp(Control, "PictureMask", Mask);
    return;
  }
  const TPropInfo* Prop = GetPropInfo(Control, "Picture");
  if (Prop == nullptr || Prop->Kind != tkClass) return;
  if (TObject* Picture = GetObjectProp(Control, Prop)) SetStrIfPublished(Picture, "PictureMask", Mask);
}

void OnChangeOf(TWinControl* Control, TNotifyEvent Handler) {
  if (auto* Edit = dynamic_cast<TCustomEdit*>(Control)) Edit->OnChange = Handler;
  else if (auto* Combo = dynamic_cast<TCustomComboBox*>(Control)) Combo->OnChange = Handler;
}

void SelectAllOf(TWinControl* Control) {
  if (auto* Edit = dynamic_cast<TCustomEdit*>(Control)) Edit->SelectAll();
  else if (Control->HandleAllocated()) SendMessageA(Control->Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

TStrings* ItemsOf(TWinControl* Combo) {
  if (auto* Plain = dynamic_cast<TCustomComboBox*>(Combo)) return Plain->Items();
  return dynamic_cast<TStrings*>(GetObjectProp(Combo, "Items"));
}

String Blanked(const String& Label) { return qvReplaceChar(Label, '~', ' '); }

bool IsDateType(TFieldType Type) { return Type == ftDate || Type == ftDateTime || Type == ftTimeStamp; }

}  // namespace

TqvFilterDlg::TqvFilterDlg(TComponent* AOwner, TqvFilterDialog* ADialog) : TForm(AOwner, true), Dialog(ADialog) {
  DataSet = Dialog->GetPrimaryDataSet();
  Build();
  CopyCriteria(Dialog->FieldInfos, Criteria);
  Dialog->BuildFieldInfos();
  OKButton = qvCreateDialogButton(this, qvDialogButtonOK);
  OKButton->SetParent(OKCancelPanel);
  OKButton->SetDefault(true);
  OKButton->SetTabOrder(2);
  OKButton->SetBounds(Scaled(7), Scaled(22), OKButton->Width(), OKButton->Height());
  OKButton->SetEnabled(false);
  OKButton->SetVisible(true);
  CancelButton = qvCreateDialogButton(this, qvDialogButtonCancel);
  CancelButton->SetParent(OKCancelPanel);
  CancelButton->SetTabOrder(3);
  CancelButton->SetBounds(Scaled(7), Scaled(62), CancelButton->Width(), CancelButton->Height());
  CancelButton->SetVisible(true);
}

TqvFilterDlg::~TqvFilterDlg() = default;

int TqvFilterDlg::Scaled(int Pixels) const { return qvScaleByPixelsPerInch(Pixels, Screen->PixelsPerInch()); }

// The controls, laid out as designed at 96 dots per inch: the fields on the left, the criteria of
// the chosen field in the middle, OK and Cancel on the right.
void TqvFilterDlg::Build() {
  SetCaption("Super Search");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  KeyPreview = true;
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  Font()->SetStyle(TFontStyles{fsBold});
  SetClientWidth(Scaled(506));
  SetClientHeight(Scaled(291));
  Constraints()->SetMinWidth(Scaled(460));
  Constraints()->SetMinHeight(Scaled(274));
  OnShow = TNotifyEvent(this, &TqvFilterDlg::FormShow);
  OnActivate = TNotifyEvent(this, &TqvFilterDlg::FormActivate);
  OnCloseQuery = TCloseQueryEvent(this, &TqvFilterDlg::FormCloseQuery);
  OnKeyDown = TKeyEvent(this, &TqvFilterDlg::FormKeyDown);

  auto MakePanel = [&](TWinControl* Parent, TAlign Align, int Size) {
    auto* Panel = new TPanel(this);
    Panel->SetParent(Parent);
    Panel->SetBevelOuter(bvNone);
    Panel->SetCaption(String());
    if (Align == alTop || Align == alBottom) Panel->SetHeight(Size);
    else if (Align == alLeft || Align == alRight) Panel->SetWidth(Size);
    Panel->SetAlign(Align);
    return Panel;
  };
  auto MakeLabel = [&](TWinControl* Parent, int Left, int Top) {
    auto* Label = new TLabel(this);
    Label->SetParent(Parent);
    Label->SetLeft(Scaled(Left));
    Label->SetTop(Scaled(Top));
    return Label;
  };
  auto MakeButton = [&](TWinControl* Parent, const String& Caption, int Left, int Top, int Width, int Height) {
    auto* Button = new TBitBtn(this);
    Button->SetParent(Parent);
    Button->SetCaption(Caption);
    Button->SetBounds(Scaled(Left), Scaled(Top), Scaled(Width), Scaled(Height));
    Button->SetEnabled(false);
    return Button;
  };

  // Right edge: OK and Cancel (made by the constructor).
  OKCancelPanel = MakePanel(this, alRight, Scaled(88));

  // Middle: the criteria of the chosen field.
  FieldCriteriaPanel = MakePanel(this, alRight, Scaled(207));
  FieldCriteriaPanel->SetBorderWidth(2);
  CriteriaLabelPanel = MakePanel(FieldCriteriaPanel, alTop, Scaled(18));
  FieldCriteria = MakeLabel(CriteriaLabelPanel, 4, 3);
  FieldCriteria->SetCaption("Field Criteria");
  ButtonPanel = MakePanel(FieldCriteriaPanel, alBottom, Scaled(37));
  ViewButton = new TButton(this);
  ViewButton->SetParent(ButtonPanel);
  ViewButton->SetCaption("View Su&mmary");
  ViewButton->SetBounds(Scaled(2), Scaled(8), Scaled(98), Scaled(25));
  ViewButton->SetTabStop(false);
  ViewButton->OnClick = TNotifyEvent(this, &TqvFilterDlg::ViewButtonClick);
  ClearSearchButton = new TButton(this);
  ClearSearchButton->SetParent(ButtonPanel);
  ClearSearchButton->SetCaption("&New Search");
  ClearSearchButton->SetBounds(Scaled(103), Scaled(8), Scaled(98), Scaled(25));
  ClearSearchButton->SetEnabled(false);
  ClearSearchButton->SetTabStop(false);
  ClearSearchButton->OnClick = TNotifyEvent(this, &TqvFilterDlg::ClearSearchButtonClick);

  SelectNotebook = new TPageControl(this);
  SelectNotebook->SetParent(FieldCriteriaPanel);
  SelectNotebook->SetTabPosition(tpBottom);
  SelectNotebook->SetShowHint(true);
  SelectNotebook->SetTabOrder(0);
  TabSheet1 = new TTabSheet(this);
  TabSheet1->SetPageControl(SelectNotebook);
  TabSheet1->SetCaption("By &Value");
  TabSheet2 = new TTabSheet(this);
  TabSheet2->SetPageControl(SelectNotebook);
  TabSheet2->SetCaption("By &Range");
  SelectNotebook->SetActivePage(TabSheet1);

  // The value page.
  FieldValueLbl = MakeLabel(TabSheet1, 6, 5);
  FieldValueLbl->SetCaption("Field &Value");
  FilterValueEdit = CreateByName(EditClassName, this);
  if (FilterValueEdit == nullptr) FilterValueEdit = new TEdit(this);
  FilterValueEdit->SetParent(TabSheet1);
  FilterValueEdit->SetBounds(Scaled(6), Scaled(21), Scaled(120), Scaled(21));
  FilterValueEdit->Hint = "Enter field's search value";
  FilterValueCombo = CreateByName(ComboClassName, this);
  if (FilterValueCombo != nullptr) {
    SetOrdIfPublished(FilterValueCombo, "ShowButton", 0);
    SetOrdIfPublished(FilterValueCombo, "MapList", 0);
    SetOrdIfPublished(FilterValueCombo, "DropDownCount", 8);
  } else {
    auto* Combo = new TComboBox(this);
    Combo->SetStyle(csDropDown);
    Combo->SetDropDownCount(8);
    FilterValueCombo = Combo;
  }
  FilterValueCombo->SetParent(TabSheet1);
  FilterValueCombo->SetBounds(Scaled(6), Scaled(21), Scaled(120), Scaled(21));
  FilterValueCombo->Hint = FilterValueEdit->Hint;
  FilterValueCombo->SetVisible(false);
  OnChangeOf(FilterValueEdit, TNotifyEvent(this, &TqvFilterDlg::FilterValueComboChange));
  OnChangeOf(FilterValueCombo, TNotifyEvent(this, &TqvFilterDlg::FilterValueComboChange));
  FilterValueClearButton = MakeButton(TabSheet1, "&Clear", 131, 20, 55, 23);
  FilterValueClearButton->OnClick = TNotifyEvent(this, &TqvFilterDlg::FilterValueClearButtonClick);
  MatchTypeGroup = new TRadioGroup(this);
  MatchTypeGroup->SetParent(TabSheet1);
  MatchTypeGroup->SetCaption("Search Type");
  MatchTypeGroup->SetBounds(Scaled(6), Scaled(48), Scaled(180), Scaled(74));
  MatchTypeGroup->Items()->Add("&Exact Match");
  MatchTypeGroup->Items()->Add("&Partial Match at Beginning");
  MatchTypeGroup->Items()->Add("Partial Match Any&where");
  MatchTypeGroup->OnClick = TNotifyEvent(this, &TqvFilterDlg::MatchTypeGroupClick);
  Panel1 = new TPanel(this);
  Panel1->SetParent(TabSheet1);
  Panel1->SetCaption(String());
  Panel1->SetBevelInner(bvRaised);
  Panel1->SetBevelOuter(bvLowered);
  Panel1->SetBounds(Scaled(6), Scaled(127), Scaled(180), Scaled(41));
  CaseSensitive = new TCheckBox(this);
  CaseSensitive->SetParent(Panel1);
  CaseSensitive->SetCaption("Case Sensi&tive");
  CaseSensitive->SetBounds(Scaled(8), Scaled(4), Scaled(164), Scaled(17));
  Nonmatching = new TCheckBox(this);
  Nonmatching->SetParent(Panel1);
  Nonmatching->SetCaption("N&on-matching records");
  Nonmatching->SetBounds(Scaled(8), Scaled(21), Scaled(164), Scaled(17));

  // The range page: typed ends, or date pickers in the same places.
  StartingRangeLbl = MakeLabel(TabSheet2, 6, 5);
  StartingRangeLbl->SetCaption("&Starting Range");
  EndingRangeLbl = MakeLabel(TabSheet2, 6, 53);
  EndingRangeLbl->SetCaption("En&ding Range");
  auto MakeEnd = [&](int Top, TNotifyEvent Changed, TWinControl*& Edit, TWinControl*& Picker) {
    Edit = new TEdit(this);
    Edit->SetParent(TabSheet2);
    Edit->SetBounds(Scaled(6), Scaled(Top), Scaled(120), Scaled(21));
    OnChangeOf(Edit, Changed);
    Picker = CreateByName(PickerClassName, this);
    if (Picker != nullptr && !IsPublishedProp(Picker, "DateTime")) {
      delete Picker;
      Picker = nullptr;
    }
    if (Picker == nullptr) return;
    Picker->SetParent(TabSheet2);
    Picker->SetBounds(Scaled(6), Scaled(Top), Scaled(120), Scaled(21));
    SetOrdIfPublished(Picker, "Epoch", 1950);
    SetOrdIfPublished(Picker, "ShowButton", 1);
    Picker->SetVisible(false);
    OnChangeOf(Picker, Changed);
  };
  MakeEnd(21, TNotifyEvent(this, &TqvFilterDlg::MinValueEditChange), MinValueEdit, MinDateEdit);
  MakeEnd(69, TNotifyEvent(this, &TqvFilterDlg::MaxValueEditChange), MaxValueEdit, MaxDateEdit);
  MinValueClearButton = MakeButton(TabSheet2, "&Clear", 131, 20, 55, 23);
  MinValueClearButton->OnClick = TNotifyEvent(this, &TqvFilterDlg::MinValueClearButtonClick);
  MaxValueClearButton = MakeButton(TabSheet2, "Cl&ear", 131, 68, 55, 23);
  MaxValueClearButton->OnClick = TNotifyEvent(this, &TqvFilterDlg::MaxValueClearButtonClick);
  FieldCriteriaPanel->OnResize = TNotifyEvent(this, &TqvFilterDlg::FieldCriteriaPanelResize);

  // Left: the fields.
  FieldListPanel = MakePanel(this, alClient, 0);
  FieldListPanel->SetBorderWidth(2);
  FieldsLabelPanel = MakePanel(FieldListPanel, alTop, Scaled(18));
  FieldsLbl = MakeLabel(FieldsLabelPanel, 4, 3);
  FieldsLbl->SetCaption("Fields");
  FieldOrderPanel = MakePanel(FieldListPanel, alBottom, Scaled(40));
  FieldOrder = new TRadioGroup(this);
  FieldOrder->SetParent(FieldOrderPanel);
  FieldOrder->SetAlign(alClient);
  FieldOrder->SetCaption("Field Order");
  FieldOrder->SetColumns(2);
  FieldOrder->Items()->Add("Alpha&betic");
  FieldOrder->Items()->Add("&Logical");
  FieldOrder->SetItemIndex(1);
  FieldOrder->OnClick = TNotifyEvent(this, &TqvFilterDlg::FieldOrderClick);
  FieldTabSet = new TTabControl(this);
  FieldTabSet->SetParent(FieldListPanel);
  FieldTabSet->SetAlign(alClient);
  FieldTabSet->SetTabPosition(tpBottom);
  FieldTabSet->Tabs()->Add("&All");
  FieldTabSet->Tabs()->Add("&Searched");
  FieldTabSet->OnChanging = TTabChangingEvent(this, &TqvFilterDlg::FieldTabSetChanging);
  FieldsListBox = new TListBox(this);
  FieldsListBox->SetParent(FieldTabSet);
  TRect Inside = FieldTabSet->DisplayRect();
  FieldsListBox->SetBounds(Inside.Left, Inside.Top, Inside.Width(), Inside.Height());
  FieldsListBox->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
  FieldsListBox->OnClick = TNotifyEvent(this, &TqvFilterDlg::FieldsListBoxClick);
  FieldListPanel->SetTabOrder(0);
  FieldCriteriaPanel->SetTabOrder(1);
  OKCancelPanel->SetTabOrder(2);
  FieldCriteriaPanelResize(nullptr);

  ValueControl = FilterValueEdit;
  MinControl = MinValueEdit;
  MaxControl = MaxValueEdit;
  FieldValueLbl->SetFocusControl(ValueControl);
  StartingRangeLbl->SetFocusControl(MinControl);
  EndingRangeLbl->SetFocusControl(MaxControl);
}

// --- The working copy ---------------------------------------------------------------------------

void TqvFilterDlg::CopyCriteria(std::vector<TqvFieldInfo>& From, std::vector<TqvFieldInfo>& To) {
  std::vector<TqvFieldInfo> Copy;
  for (TqvFieldInfo& Source : From) {
    if (Source.DisplayLabel.empty()) {
      TField* Field = DataSet != nullptr ? DataSet->FindField(Source.FieldName) : nullptr;
      Source.DisplayLabel = Field != nullptr ? Blanked(Field->DisplayLabel()) : Source.FieldName;
    }
    TqvFieldInfo Item = Source;
    String Name = qvFieldNameFromDisplayLabel(DataSet, Item.DisplayLabel);
    if (!Name.empty()) Item.FieldName = Name;
    Copy.push_back(Item);
  }
  To = std::move(Copy);
}

TqvFieldInfo* TqvFilterDlg::FindCriteria(const String& Label) {
  String Wanted = Blanked(Label);
  for (TqvFieldInfo& Item : Criteria)
    if (qvSameText(Blanked(Item.DisplayLabel), Wanted)) return &Item;
  return nullptr;
}

void TqvFilterDlg::SetCriteria(const String& Label, TqvFilterMatchType MatchType, bool NonMatching,
                               bool CaseSensitiveFlag, const String& MaxValue, const String& MinValue,
                               const String& Value) {
  bool Range = MatchType == fdMatchRange;
  for (auto It = Criteria.begin(); It != Criteria.end(); ++It) {
    if (!qvSameText(Blanked(It->DisplayLabel), Blanked(Label))) continue;
    if ((!Range && Value.empty()) || (Range && MinValue.empty() && MaxValue.empty()) || MatchType == fdMatchNone) {
      Criteria.erase(It);
      Changed = true;
      return;
    }
    TqvFieldInfo Before = *It;
    It->MatchType = MatchType;
    if (Range) {
      It->MinValue = MinValue;
      It->MaxValue = MaxValue;
    } else {
      It->FilterValue = Value;
      It->CaseSensitive = CaseSensitiveFlag;
      It->NonMatching = NonMatching;
    }
    if (Before.MatchType != It->MatchType || Before.MinValue != It->MinValue || Before.MaxValue != It->MaxValue ||
        Before.FilterValue != It->FilterValue || Before.CaseSensitive != It->CaseSensitive ||
        Before.NonMatching != It->NonMatching)
      Changed = true;
    return;
  }
  if (MatchType == fdMatchNone || (Range ? MinValue.empty() && MaxValue.empty() : Value.empty())) return;
  TqvFieldInfo Item;
  Item.DisplayLabel = Label;
  Item.FieldName = qvFieldNameFromDisplayLabel(DataSet, Label);
  Item.MatchType = MatchType;
  if (Range) {
    Item.MinValue = MinValue;
    Item.MaxValue = MaxValue;
  } else {
    Item.FilterValue = Value;
    Item.CaseSensitive = CaseSensitiveFlag;
    Item.NonMatching = NonMatching;
  }
  Criteria.push_back(Item);
  Changed = true;
}

// --- Field types ----------------------------------------------------------------------------------

TFieldType TqvFilterDlg::GetFieldType(const String& Label) {
  if (DataSet != nullptr)
    if (TField* Field = DataSet->FindField(qvFieldNameFromDisplayLabel(DataSet, Label))) return Field->DataType();
  if (TqvDBFieldInfo* Entry = Dialog->FindDBFieldInfo(Label)) return Entry->FieldType;
  TStrings* Lines = Dialog->SelectedFields();
  for (int i = 0; i < Lines->Count(); ++i) {
    String Line = Lines->Strings(i);
    std::size_t Semi = Line.find(';');
    if (Semi == String::npos || !qvSameText(Line.substr(Semi + 1), Label)) continue;
    if (TqvDBFieldInfo* Entry = Dialog->FindDBFieldInfo(Line.substr(0, Semi))) return Entry->FieldType;
  }
  return ftUnknown;
}

bool TqvFilterDlg::IsRangeType(TFieldType Type) {
  switch (Type) {
    case ftSmallint: case ftInteger: case ftWord: case ftBoolean: case ftFloat: case ftCurrency: case ftBCD:
    case ftDate: case ftDateTime: case ftAutoInc: case ftTimeStamp: case ftFMTBcd:
      return true;
    case ftTime:
      return Dialog->FilterMethod() == fdByQueryModify;
    default:
      return false;
  }
}

// --- The list of fields -------------------------------------------------------------------------

void TqvFilterDlg::FillFieldList(bool All) {
  TStrings* Items = FieldsListBox->Items();
  Items->Clear();
  FieldsListBox->SetSorted(FieldOrder->ItemIndex() == 0);
  auto Offer = [&](const String& Label) {
    String Shown = Blanked(Label);
    if (!All && FindCriteria(Shown) == nullptr) return;
    if (Items->IndexOf(Shown) < 0) Items->Add(Shown);
  };
  TStrings* Lines = Dialog->SelectedFields();
  if (Lines->Count() > 0) {
    for (int i = 0; i < Lines->Count(); ++i) {
      String Line = Lines->Strings(i);
      std::size_t Semi = Line.find(';');
      TqvDBFieldInfo* Entry = Dialog->FindDBFieldInfo(Line.substr(0, Semi));
      if (Entry == nullptr) continue;
      String Label = Semi != String::npos ? Line.substr(Semi + 1) : String();
      if (!Label.empty()) Entry->DisplayLabel = Label;
      Offer(Entry->DisplayLabel);
    }
    return;
  }
  for (const TqvDBFieldInfo& Entry : Dialog->DBFieldInfos)
    if (qvIsSearchableFieldType(Entry.FieldType)) Offer(Entry.DisplayLabel);
}

bool TqvFilterDlg::AllTabShown() const { return FieldTabSet->TabIndex() != 1; }

void TqvFilterDlg::RefillList(bool All, const String& Label) {
  FillFieldList(All);
  FieldsListBox->SetItemIndex(FieldsListBox->Items()->IndexOf(Label));
}

TqvFilterMatchType TqvFilterDlg::SelectedMatchType() {
  switch (MatchTypeGroup->ItemIndex()) {
    case 0: return fdMatchExact;
    case 2: return fdMatchAny;
    default: return fdMatchStart;
  }
}

// --- Saving and loading the controls ------------------------------------------------------------

String TqvFilterDlg::PickerText(TWinControl* Picker, TFieldType Type, bool End) {
  if (Picker->Text().empty()) return String();
  TDateTime Value = GetFloatProp(Picker, "DateTime");
  if (Value == 0) return String();
  bool WithTime = Type == ftDateTime || Type == ftTimeStamp;
  double Day = double(int(Value));
  bool HasTime = Value - Day != 0;
  if (!WithTime) return DateToStr(Value);
  if (!End) return HasTime ? DateTimeToStr(Value) : DateToStr(Value);
  bool TimeShown = Picker->Text().find(FormatSettings.TimeSeparator) != String::npos;
  if (HasTime || TimeShown) return DateToStr(Value) + " " + TimeToStr(Value);
  return DateToStr(Value);
}

void TqvFilterDlg::SetPickerText(TWinControl* Picker, const String& Text) {
  TDateTime Value = 0;
  if (!Text.empty() && !TryStrToDateTime(Text, Value)) TryStrToDate(Text, Value);
  SetFloatProp(Picker, "DateTime", Text.empty() ? 0.0 : Value);
}

bool TqvFilterDlg::UpdateCriteria(bool Reload) {
  TStrings* Items = FieldsListBox->Items();
  if (CurrentIndex >= 0 && CurrentIndex < Items->Count()) {
    String Label = Items->Strings(CurrentIndex);
    TFieldType Type = GetFieldType(Label);
    bool MappedCombo = ValueControl == FilterValueCombo && IsPublishedProp(ValueControl, "MapList") &&
                       GetOrdProp(ValueControl, "MapList") != 0;
    String Value = ValueControl->Text();
    if (!MappedCombo && IsRangeType(Type)) {
      const TqvFieldOperators& Words = Dialog->FieldOperators();
      for (const String& Part : qvValueParts(Value, Words.OrChar, Words)) {
        String Trimmed = Trim(Part);
        if (qvSameText(Trimmed, Words.NullChar) || qvIsValidTextForType(Type, Trimmed)) continue;
        SelectNotebook->SetActivePage(TabSheet1);
        FieldsListBox->SetItemIndex(CurrentIndex);
        ShowInvalidValue(Label, Trimmed);
        FocusValueControl();
        return false;
      }
    }
    String MinText, MaxText;
    if (UsesDatePickers()) {
      MinText = PickerText(MinControl, Type, false);
      MaxText = PickerText(MaxControl, Type, true);
    } else {
      MinText = MinControl->Text();
      MaxText = MaxControl->Text();
    }
    TField* Field = DataSet != nullptr ? DataSet->FindField(qvFieldNameFromDisplayLabel(DataSet, Label)) : nullptr;
    for (auto [Text, Control] : {std::pair<String, TWinControl*>{MinText, MinControl}, {MaxText, MaxControl}}) {
      if (Text.empty()) continue;
      bool Valid = Field != nullptr ? qvIsValidTextForField(Field, Text)
                                    : Type == ftUnknown || qvIsValidTextForType(Type, Text);
      if (Valid) continue;
      SelectNotebook->SetActivePage(TabSheet2);
      FieldsListBox->SetItemIndex(CurrentIndex);
      ShowInvalidValue(Label, Text);
      SelectAllOf(Control);
      if (Control->CanFocus()) Control->SetFocus();
      else SetActiveControl(Control);
      return false;
    }
    if (Activated) {
      bool RangePage = SelectNotebook->ActivePage() == TabSheet2;
      SetCriteria(Label, RangePage ? fdMatchRange : SelectedMatchType(), Nonmatching->Checked(),
                  CaseSensitive->Checked(), MaxText, MinText, Value);
    }
    ClearSearchButton->SetEnabled(!Criteria.empty());
  }

  int Chosen = FieldsListBox->ItemIndex();
  if (Chosen < 0) return true;
  CurrentIndex = Chosen;
  String Label = Items->Strings(Chosen);
  TFieldType Type = GetFieldType(Label);
  bool Loading = FLoading;
  FLoading = true;
  TScopeGuard Loaded([this, Loading] { FLoading = Loading; });

  // The range controls: date pickers for dates, unless the dialog says otherwise.
  bool Pickers = MinDateEdit != nullptr && IsDateType(Type) && !Dialog->Options.Contains(fdDisableDateTimePicker);
  TWinControl* NewMin = Pickers ? MinDateEdit : MinValueEdit;
  TWinControl* NewMax = Pickers ? MaxDateEdit : MaxValueEdit;
  if (Pickers) {
    SetOrdIfPublished(MinDateEdit, "UnboundDataType", Type == ftDate ? PickerDate : PickerDateTime);
    SetOrdIfPublished(MaxDateEdit, "UnboundDataType", Type == ftDate ? PickerDate : PickerDateTime);
  }
  if (NewMin != MinControl) {
    MinControl->SetVisible(false);
    MaxControl->SetVisible(false);
    MinControl = NewMin;
    MaxControl = NewMax;
    MinControl->SetVisible(true);
    MaxControl->SetVisible(true);
  }
  StartingRangeLbl->SetFocusControl(MinControl);
  EndingRangeLbl->SetFocusControl(MaxControl);

  TqvFieldInfo* Found = FindCriteria(Label);
  TqvFilterMatchType Match = fdMatchNone;
  String Value, MinText, MaxText;
  if (Found != nullptr) {
    Match = Found->MatchType;
    Value = Found->FilterValue;
    MinText = Found->MinValue;
    MaxText = Found->MaxValue;
    CaseSensitive->SetChecked(Found->CaseSensitive);
    Nonmatching->SetChecked(Found->NonMatching);
  } else {
    CaseSensitive->SetChecked(Dialog->Options.Contains(fdCaseSensitive));
    Nonmatching->SetChecked(false);
  }

  if (Reload && Dialog->OnSelectField) {
    String Name = qvFieldNameFromDisplayLabel(DataSet, Label);
    if (Name.empty()) Name = Label;
    String Mask;
    TStringList List;
    Dialog->DoSelectField(Name, Mask, &List);
    SetPictureMaskIfPublished(FilterValueEdit, Mask);
    SetPictureMaskIfPublished(FilterValueCombo, Mask);
    TStrings* ComboItems = ItemsOf(FilterValueCombo);
    if (ComboItems != nullptr) {
      ComboItems->Clear();
      if (List.Count() > 0) {
        ComboItems->Assign(&List);
        SetOrdIfPublished(FilterValueCombo, "ShowButton", 1);
        SetOrdIfPublished(FilterValueCombo, "ShowMatchText", 1);
      }
    }
  }

  SelectValueEditor();
  TqvFilterMatchType Shown = Match == fdMatchExact || Match == fdMatchStart || Match == fdMatchAny
                                 ? Match
                                 : Dialog->DefaultMatchType;
  int Index = Shown == fdMatchExact ? 0 : Shown == fdMatchAny ? 2 : 1;
  MatchTypeGroup->SetItemIndex(std::min(Index, MatchTypeGroup->Items()->Count() - 1));

  auto SetRange = [&](const String& Low, const String& High) {
    if (UsesDatePickers()) {
      SetPickerText(MinControl, Low);
      SetPickerText(MaxControl, High);
    } else {
      MinControl->SetText(Low);
      MaxControl->SetText(High);
    }
  };
  if (Match == fdMatchNone) {
    ValueControl->SetText(String());
    SetRange(String(), String());
  } else if (Match == fdMatchRange) {
    SetRange(MinText, MaxText);
    if (Reload) {
      FilterValueEdit->SetText(String());
      FilterValueCombo->SetText(String());
    }
  } else {
    ValueControl->SetText(Value);
    if (Reload) SetRange(String(), String());
  }
  FieldCriteria->SetCaption(Label);
  UpdateTabVisibility();

  // A number or a date searched by SQL or by a filter text is matched exactly.
  bool SqlDataSet = DataSet != nullptr && Dialog->HasSQLProperty();
  bool OwnTest = Dialog->FilterMethod() == fdByFilter &&
                 Dialog->FilterPropertyOptions.DatasetFilterType == fdUseOnFilter;
  if ((DataSet != nullptr && DataSet->InheritsFrom("TTable")) || !IsRangeType(Type) || OwnTest) {
    MatchTypeGroup->SetEnabled(true);
    CaseSensitive->SetEnabled(true);
    if (SqlDataSet && Dialog->FilterMethod() == fdByQueryModify &&
        (Type == ftBlob || Type == ftMemo || Type == ftOraBlob || Type == ftOraClob)) {
      CaseSensitive->SetChecked(true);
      CaseSensitive->SetEnabled(false);
    }
  } else {
    MatchTypeGroup->SetItemIndex(0);
    MatchTypeGroup->SetEnabled(false);
    CaseSensitive->SetEnabled(false);
  }
  UpdateButtons();
  return true;
}

void TqvFilterDlg::SelectCriteriaPage() {
  if (FieldsListBox->Items()->Count() == 0) return;
  if (FieldsListBox->ItemIndex() < 0) FieldsListBox->SetItemIndex(0);
  String Label = FieldsListBox->Items()->Strings(FieldsListBox->ItemIndex());
  TTabSheet* Page;
  if (TqvFieldInfo* Found = FindCriteria(Label)) {
    Page = Found->MatchType == fdMatchRange ? TabSheet2 : TabSheet1;
  } else {
    switch (Dialog->DefaultFilterBy) {
      case fdFilterByRange: Page = TabSheet2; break;
      case fdFilterByValue: Page = TabSheet1; break;
      default: {
        TFieldType Type = GetFieldType(Label);
        Page = IsRangeType(Type) && Type != ftBoolean ? TabSheet2 : TabSheet1;
      }
    }
  }
  SelectNotebook->SetActivePage(Page);
}

void TqvFilterDlg::SelectValueEditor() {
  TStrings* ComboItems = ItemsOf(FilterValueCombo);
  bool Anywhere = MatchTypeGroup->ItemIndex() == 2;
  TWinControl* Wanted = !Anywhere && ComboItems != nullptr && ComboItems->Count() > 0 ? FilterValueCombo
                                                                                       : FilterValueEdit;
  if (Wanted != ValueControl) {
    Wanted->SetText(ValueControl->Text());
    Wanted->SetVisible(true);
    ValueControl->SetVisible(false);
    ValueControl = Wanted;
  }
  // A mask describes whole values: a part anywhere in the text cannot be held to it.
  SetOrdIfPublished(FilterValueEdit, "UsePictureMask", Anywhere ? 0 : 1);
  SetOrdIfPublished(FilterValueCombo, "UsePictureMask", Anywhere ? 0 : 1);
  FieldValueLbl->SetFocusControl(ValueControl);
}

void TqvFilterDlg::UpdateTabVisibility() {
  bool Visible = Dialog->Options.Contains(fdShowValueRangeTab);
  TabSheet1->SetTabVisible(Visible);
  TabSheet2->SetTabVisible(Visible);
}

// The operator is told which value was refused; the caller then focuses and selects it, so the
// focus is where the message box gave it back.
void TqvFilterDlg::ShowInvalidValue(const String& Label, const String& Text) {
  // The text's first "%s" takes the field's label, the second the value (a "%s" typed in either
  // is never read as a place-holder).
  String Message = qvIntl->UserMessages()->FilterDlgInvalidValue;
  std::size_t From = 0;
  for (const String& Part : {qvReplaceChar(Label, '~', ' '), Text}) {
    std::size_t At = Message.find("%s", From);
    if (At == String::npos) break;
    Message.replace(At, 2, Part);
    From = At + Part.size();
  }
  MessageDlg(Message, mtError, TMsgDlgButtons{mbOK}, 0);
}

void TqvFilterDlg::FocusValueControl() {
  TWinControl* Control = SelectNotebook->ActivePage() == TabSheet2 ? MinControl : ValueControl;
  if (Control->CanFocus()) Control->SetFocus();
  else SetActiveControl(Control);
  SelectAllOf(Control);
}

void TqvFilterDlg::UpdateButtons() {
  bool HasValue = !ValueControl->Text().empty();
  bool HasMin = !MinControl->Text().empty();
  bool HasMax = !MaxControl->Text().empty();
  FilterValueClearButton->SetEnabled(HasValue);
  MinValueClearButton->SetEnabled(HasMin);
  MaxValueClearButton->SetEnabled(HasMax);
  ClearSearchButton->SetEnabled(!Criteria.empty() || HasValue || HasMin || HasMax);
}

void TqvFilterDlg::ApplyIntlStrings() {
  TqvIntl* Intl = qvIntl;
  TqvFilterDialogIntl* Texts = Intl->FilterDialog();
  Font()->SetStyle(Intl->DialogFontStyle);
  FieldTabSet->Font()->SetStyle(Intl->DialogFontStyle);
  ViewButton->SetCaption(Texts->BtnViewSummary);
  ViewButton->Hint = Texts->BtnViewSummaryHint;
  ClearSearchButton->SetCaption(Texts->BtnNewSearch);
  ClearSearchButton->Hint = Texts->BtnNewSearchHint;
  FieldOrder->SetCaption(Texts->FieldOrderLabel);
  FieldOrder->Hint = Texts->FieldOrderHint;
  FieldOrder->Items()->Put(0, Texts->AlphabeticLabel);
  FieldOrder->Items()->Put(1, Texts->LogicalLabel);
  FieldTabSet->Tabs()->Put(0, Texts->AllFieldsLabel);
  FieldTabSet->Tabs()->Put(1, Texts->SearchedFieldsLabel);
  FieldTabSet->Hint = Texts->AllSearchedTabHint;
  StartingRangeLbl->SetCaption(Texts->StartingRangeLabel);
  EndingRangeLbl->SetCaption(Texts->EndingRangeLabel);
  for (TWinControl* Control : {MinValueEdit, MinDateEdit})
    if (Control != nullptr) Control->Hint = Texts->StartingRangeHint;
  for (TWinControl* Control : {MaxValueEdit, MaxDateEdit})
    if (Control != nullptr) Control->Hint = Texts->EndingRangeHint;
  MinValueClearButton->SetCaption(Texts->BtnClearMin);
  MinValueClearButton->Hint = Texts->BtnClearMinHint;
  MaxValueClearButton->SetCaption(Texts->BtnClearMax);
  MaxValueClearButton->Hint = Texts->BtnClearMaxHint;
  FilterValueClearButton->SetCaption(Texts->BtnClearFilterValue);
  FilterValueClearButton->Hint = Texts->BtnClearFilterValueHint;
  TabSheet1->SetCaption(Texts->ByValueLabel);
  TabSheet2->SetCaption(Texts->ByRangeLabel);
  FieldValueLbl->SetCaption(Texts->FieldValueLabel);
  FilterValueEdit->Hint = Texts->FieldValueHint;
  FilterValueCombo->Hint = Texts->FieldValueHint;
  MatchTypeGroup->SetCaption(Texts->SearchTypeLabel);
  MatchTypeGroup->Hint = Texts->SearchTypeHint;
  MatchTypeGroup->Items()->Put(0, Texts->MatchExactLabel);
  MatchTypeGroup->Items()->Put(1, Texts->MatchStartLabel);
  if (MatchTypeGroup->Items()->Count() > 2) MatchTypeGroup->Items()->Put(2, Texts->MatchAnyLabel);
  CaseSensitive->SetCaption(Texts->CaseSensitiveLabel);
  CaseSensitive->Hint = Texts->CaseSensitiveHint;
  Nonmatching->SetCaption(Texts->NonMatchingLabel);
  Nonmatching->Hint = Texts->NonMatchingHint;
  FieldsLbl->SetCaption(Texts->FieldsLabel);
}

void TqvFilterDlg::FitToTexts() {
  TCanvas* Measure = Canvas();
  Measure->Font()->Assign(Font());
  auto TextWidth = [&](const String& Text) { return Measure->TextWidth(qvRemoveChar(Text, '&')); };
  // The middle column: the match kinds (a radio button and the group's margins), the check boxes
  // (a box and the panel's bevels) and the two buttons below.
  int Designed = MatchTypeGroup->Width();
  int Needed = Designed;
  for (int i = 0; i < MatchTypeGroup->Items()->Count(); ++i)
    Needed = std::max(Needed, TextWidth(MatchTypeGroup->Items()->Strings(i)) + Scaled(32));
  for (TCheckBox* Box : {CaseSensitive, Nonmatching})
    if (Box->Visible()) Needed = std::max(Needed, TextWidth(Box->Caption()) + Scaled(36));
  for (TButton* Button : {ViewButton, ClearSearchButton})
    Needed = std::max(Needed, Designed + 2 * (TextWidth(Button->Caption()) + Scaled(16) - Button->Width()));
  int Extra = Needed - Designed;
  if (Extra > 0) {
    SetClientWidth(ClientWidth() + Extra);
    FieldCriteriaPanel->SetWidth(FieldCriteriaPanel->Width() + Extra);
    for (TControl* Control : std::initializer_list<TControl*>{MatchTypeGroup, Panel1, CaseSensitive, Nonmatching,
                                                              FilterValueEdit, FilterValueCombo, MinValueEdit,
                                                              MaxValueEdit, MinDateEdit, MaxDateEdit})
      if (Control != nullptr) Control->SetWidth(Control->Width() + Extra);
    for (TButton* Button : {FilterValueClearButton, MinValueClearButton, MaxValueClearButton})
      Button->SetLeft(Button->Left() + Extra);
    ViewButton->SetWidth(ViewButton->Width() + Extra / 2);
    ClearSearchButton->SetBounds(ClearSearchButton->Left() + (ViewButton->Visible() ? Extra / 2 : 0),
                                 ClearSearchButton->Top(), ClearSearchButton->Width() + Extra / 2,
                                 ClearSearchButton->Height());
  }
  // The value page whole: the window grows when its height leaves too little room.
  int Room = SelectNotebook->DisplayRect().Height();
  int Wanted = std::max(Panel1->Visible() ? Panel1->Top() + Panel1->Height() : 0,
                        MatchTypeGroup->Top() + MatchTypeGroup->Height()) + Scaled(6);
  if (Wanted > Room) SetClientHeight(ClientHeight() + Wanted - Room);
  FieldCriteriaPanelResize(nullptr);
}

// --- Handlers -----------------------------------------------------------------------------------

void TqvFilterDlg::FormShow(TObject*) {
  const TqvFilterDialogOptions& Options = Dialog->Options;
  const TqvFilterPropertyOptions& Filtering = Dialog->FilterPropertyOptions;
  if (!Options.Contains(fdShowOKCancel)) {
    OKButton->SetTop(1000);
    CancelButton->SetTop(1000);
    // The least width gives way too, or it would keep the room of the buttons.
    Constraints()->SetMinWidth(Constraints()->MinWidth() - OKButton->Width() - 8);
    SetWidth(Width() - OKButton->Width() - 8);
    OKCancelPanel->SetWidth(10);
  }
  if (Options.Contains(fdHidePartialAnywhere) ||
      (Dialog->FilterMethod() == fdByFilter && !Filtering.UseLikeOperator &&
       Filtering.DatasetFilterType == fdUseFilterProp)) {
    if (MatchTypeGroup->Items()->Count() > 2) MatchTypeGroup->Items()->Delete(2);
    MatchTypeGroup->SetHeight(MatchTypeGroup->Height() - Scaled(10));
    Panel1->SetTop(Panel1->Top() - Scaled(10));
  }
  if (!Options.Contains(fdShowFieldOrder)) {
    FieldOrder->SetVisible(false);
    FieldOrderPanel->SetVisible(false);
  }
  if (!Options.Contains(fdShowViewSummary)) {
    ViewButton->SetVisible(false);
    ClearSearchButton->SetLeft(ViewButton->Left());
  }
  UpdateTabVisibility();
  bool FilterText = Filtering.DatasetFilterType == fdUseFilterProp || Filtering.DatasetFilterType == fdUseBothFilterTypes;
  bool CaseShown = Options.Contains(fdShowCaseSensitive) &&
                   (!FilterText || (Filtering.UseLikeOperator && Filtering.LikeSupportsUpperKeyword));
  CaseSensitive->SetVisible(CaseShown);
  if (!Options.Contains(fdShowNonMatching)) {
    Nonmatching->SetVisible(false);
    Panel1->SetHeight(Scaled(26));
    Panel1->SetVisible(CaseShown);
  } else if (CaseShown) {
    Panel1->SetHeight(Scaled(41));
  } else {
    Panel1->SetHeight(Scaled(26));
    Nonmatching->SetTop(Scaled(5));
  }
  SetHeight(Scaled(Dialog->DlgHeight()));
  FieldCriteriaPanelResize(nullptr);
  FieldOrder->SetItemIndex(Dialog->SortBy == fdSortByFieldName ? 0 : 1);

  if (Criteria.empty()) {
    FieldTabSet->SetTabIndex(0);
    FillFieldList(true);
    String Wanted = Dialog->DefaultField;
    if (DataSet != nullptr)
      if (TField* Field = DataSet->FindField(Wanted)) Wanted = Blanked(Field->DisplayLabel());
    int Index = FieldsListBox->Items()->IndexOf(Wanted);
    FieldsListBox->SetItemIndex(Index >= 0 ? Index : FieldsListBox->Items()->Count() > 0 ? 0 : -1);
  } else {
    FieldTabSet->SetTabIndex(1);
    FillFieldList(false);
    FieldsListBox->SetItemIndex(FieldsListBox->Items()->Count() > 0 ? 0 : -1);
  }
  UpdateCriteria(true);
  SelectCriteriaPage();
  FocusValueControl();
  // Criteria already there may be taken again as they are.
  OKButton->SetEnabled(!Criteria.empty());

  if (Options.Contains(fdTabsAtTop)) {
    FieldTabSet->SetTabPosition(tpTop);
    SelectNotebook->SetTabPosition(tpTop);
  }
  TRect Inside = FieldTabSet->DisplayRect();
  FieldsListBox->SetBounds(Inside.Left, Inside.Top, Inside.Width(), Inside.Height());
  Screen->SetCursor(crDefault);
  ApplyIntlStrings();
  FitToTexts();
  Dialog->DoInitDialog();
  Changed = DataSet == nullptr || !DataSet->Active();
}

void TqvFilterDlg::FormActivate(TObject*) { Activated = true; }

void TqvFilterDlg::FormCloseQuery(TObject*, bool& CanClose) {
  if (ModalResult() == mrOk && !UpdateCriteria(true)) CanClose = false;
}

void TqvFilterDlg::FormKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  TWinControl* Active = ActiveControl();
  if (Active == FieldsListBox && !AllTabShown() && Key == VK_DELETE) {
    int Index = FieldsListBox->ItemIndex();
    if (Index >= 0) {
      SetCriteria(FieldsListBox->Items()->Strings(Index), fdMatchNone, false, false, String(), String(), String());
      FillFieldList(false);
      CurrentIndex = -1;
      FieldsListBox->SetItemIndex(FieldsListBox->Items()->Count() > 0 ? 0 : -1);
      if (FieldsListBox->ItemIndex() >= 0) {
        UpdateCriteria(true);
        SelectCriteriaPage();
      } else {
        FieldCriteria->SetCaption(String());
        ValueControl->SetText(String());
        MinControl->SetText(String());
        MaxControl->SetText(String());
      }
      OKButton->SetEnabled(true);
    }
    Key = 0;
    return;
  }
  if (Key != VK_PRIOR && Key != VK_NEXT && Key != VK_UP && Key != VK_DOWN) return;
  if (Shift.Contains(ssAlt)) return;
  if (Active != nullptr && (Active == MinDateEdit || Active == MaxDateEdit) && !Active->Text().empty()) return;
  int Count = FieldsListBox->Items()->Count();
  if (Count == 0) return;
  int Index = FieldsListBox->ItemIndex();
  int Step = 1;
  if (Key == VK_PRIOR || Key == VK_NEXT) {
    int Height = FieldsListBox->ItemHeight();
    Step = std::max(1, Height > 0 ? FieldsListBox->ClientHeight() / Height : 1);
  }
  int Wanted = Key == VK_PRIOR || Key == VK_UP ? Index - Step : Index + Step;
  Wanted = std::clamp(Wanted, 0, Count - 1);
  Key = 0;
  if (Wanted == Index) return;
  FieldsListBox->SetItemIndex(Wanted);
  if (!UpdateCriteria(true)) return;
  SelectCriteriaPage();
  FocusValueControl();
}

void TqvFilterDlg::FieldsListBoxClick(TObject*) {
  if (!UpdateCriteria(true)) return;
  SelectCriteriaPage();
  if (FieldsListBox->CanFocus()) FieldsListBox->SetFocus();
}

void TqvFilterDlg::FieldOrderClick(TObject*) {
  int Index = FieldsListBox->ItemIndex();
  String Label = Index >= 0 ? FieldsListBox->Items()->Strings(Index) : String();
  RefillList(AllTabShown(), Label);
  if (FieldsListBox->CanFocus()) FieldsListBox->SetFocus();
  CurrentIndex = FieldsListBox->ItemIndex();
}

void TqvFilterDlg::FieldTabSetChanging(TObject*, bool& AllowChange) {
  bool ToAll = !AllTabShown();
  if (!UpdateCriteria(false)) {
    AllowChange = false;
    return;
  }
  if (!ToAll && Criteria.empty()) {
    MessageDlg(qvIntl->UserMessages()->FilterDlgNoCriteria, mtInformation, TMsgDlgButtons{mbOK}, 0);
    AllowChange = false;
    return;
  }
  int Index = FieldsListBox->ItemIndex();
  String Label = Index >= 0 ? FieldsListBox->Items()->Strings(Index) : String();
  RefillList(ToAll, Label);
  CurrentIndex = -1;
  SelectCriteriaPage();
  UpdateCriteria(true);
  if (FieldsListBox->CanFocus()) FieldsListBox->SetFocus();
}

void TqvFilterDlg::FieldCriteriaPanelResize(TObject*) {
  int Top = CriteriaLabelPanel->Top() + CriteriaLabelPanel->Height();
  int Bottom = ButtonPanel->Top();
  SelectNotebook->SetBounds(FieldCriteriaPanel->BorderWidth(), Top, FieldCriteriaPanel->ClientWidth() - 4,
                            std::max(0, Bottom - Top - 5));
}

void TqvFilterDlg::FilterValueComboChange(TObject*) {
  UpdateButtons();
  if (!FLoading) OKButton->SetEnabled(true);
}

void TqvFilterDlg::MinValueEditChange(TObject* Sender) { FilterValueComboChange(Sender); }

void TqvFilterDlg::MaxValueEditChange(TObject* Sender) { FilterValueComboChange(Sender); }

void TqvFilterDlg::FilterValueClearButtonClick(TObject*) {
  ValueControl->SetText(String());
  FilterValueClearButton->SetEnabled(false);
  FocusValueControl();
}

void TqvFilterDlg::MinValueClearButtonClick(TObject*) {
  if (UsesDatePickers()) SetPickerText(MinControl, String());
  else MinControl->SetText(String());
  MinValueClearButton->SetEnabled(false);
}

void TqvFilterDlg::MaxValueClearButtonClick(TObject*) {
  if (UsesDatePickers()) SetPickerText(MaxControl, String());
  else MaxControl->SetText(String());
  MaxValueClearButton->SetEnabled(false);
}

void TqvFilterDlg::MatchTypeGroupClick(TObject*) { SelectValueEditor(); }

void TqvFilterDlg::ViewButtonClick(TObject*) {
  if (!UpdateCriteria(false)) return;
  if (Criteria.empty()) {
    MessageDlg(qvIntl->UserMessages()->FilterDlgNoCriteria, mtInformation, TMsgDlgButtons{mbOK}, 0);
    return;
  }
  Dialog->ShowSummary(Criteria);
  FocusValueControl();
}

void TqvFilterDlg::ClearSearchButtonClick(TObject*) {
  Criteria.clear();
  Changed = true;
  {
    bool Loading = FLoading;
    FLoading = true;
    TScopeGuard Loaded([this, Loading] { FLoading = Loading; });
    ValueControl->SetText(String());
    if (UsesDatePickers()) {
      SetPickerText(MinControl, String());
      SetPickerText(MaxControl, String());
    } else {
      MinControl->SetText(String());
      MaxControl->SetText(String());
    }
  }
  ClearSearchButton->SetEnabled(false);
  MatchTypeGroup->SetItemIndex(1);
  int Index = FieldsListBox->ItemIndex();
  String Label = Index >= 0 ? FieldsListBox->Items()->Strings(Index) : String();
  FieldTabSet->SetTabIndex(0);
  RefillList(true, Label);
  CurrentIndex = -1;
  SelectCriteriaPage();
  UpdateCriteria(true);
  // No criteria is a search of its own: OK takes it.
  OKButton->SetEnabled(true);
  if (FieldsListBox->CanFocus()) FieldsListBox->SetFocus();
}

// --- Showing the window -------------------------------------------------------------------------

namespace {

// The window lives for one Execute; Free runs its OnDestroy while it is whole.
struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};

}  // namespace

bool qvShowFilterDlg(TqvFilterDialog* Dialog, bool& Changed) {
  std::unique_ptr<TqvFilterDlg, TFormFree> Window(new TqvFilterDlg(Application, Dialog));
  Window->AfterConstruction();
  Dialog->SetFilterDlg(Window.get());
  TScopeGuard Forget([Dialog] { Dialog->SetFilterDlg(nullptr); });
  if (Dialog->Options.Contains(fdSizeable)) Window->SetBorderStyle(bsSizeable);
  Window->SetCaption(Dialog->Caption);
  Window->FillFieldList(true);
  bool Confirmed = Window->ShowModal() == mrOk;
  Changed = Confirmed && Window->Changed;
  if (Confirmed) Window->CopyCriteria(Window->Criteria, Dialog->FieldInfos);
  return Confirmed;
}
