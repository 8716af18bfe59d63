// This file implements the class of the grid engine (see Qvdbigrd.h): construction and
// destruction, the shared glyph lists, the published properties and their setters, the settings
// objects, field and column access, column selection, and the message dispatch.
#include "Qvdbigrd.h"

#include <algorithm>

#include "Field.h"
#include "Forms.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "Strings.h"
#include "qvControlUtils.h"
#include "qvFieldSettings.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"
#include "qvDataSetUtils.h"

const char* const qvGridTooManyColumns = "La grille ne peut pas afficher plus de 16380 colonnes";
const char* const qvGridDeleteRecordQuestion = "Supprimer l'enregistrement ?";
const char* const qvGridUnknownLookupValue = "'%s' n'est pas une valeur de la liste du champ '%s'";

// Glyph lists shared by the live grids (QvdbigrdDraw.cpp draws them).
TCustomImageList* qvGridIndicatorGlyphs = nullptr;
TCustomImageList* qvGridArrowGlyphs = nullptr;

namespace {

int GGlyphUsers = 0;

// The bitmap resource Name added to List masked with white; false when the program lacks it.
bool AddGlyph(TCustomImageList* List, const char* Name) {
  if (!ResourceExists(Name, RT_BITMAP)) return false;
  TBitmap Bitmap;
  Bitmap.LoadFromResourceName(MainInstance(), Name);
  if (List->Count() == 0) {
    List->SetWidth(Bitmap.Width());
    List->SetHeight(Bitmap.Height());
  }
  return List->AddMasked(&Bitmap, clWhite) >= 0;
}

void AcquireGlyphs() {
  if (GGlyphUsers++ > 0) return;
  qvGridIndicatorGlyphs = new TCustomImageList(nullptr);
  for (const char* Name : {"QVDBGARROW", "QVDBEDIT", "QVDBINSERT", "QVDBMULTISELECT", "QVDBMULTIARROW"})
    AddGlyph(qvGridIndicatorGlyphs, Name);
  qvGridArrowGlyphs = new TCustomImageList(nullptr);
  AddGlyph(qvGridArrowGlyphs, "QVRIGHT");
  AddGlyph(qvGridArrowGlyphs, "QVLEFT");
  qvGridArrowGlyphs->SetBkColor(clWhite);
}

void ReleaseGlyphs() {
  if (--GGlyphUsers > 0) return;
  delete qvGridIndicatorGlyphs;
  delete qvGridArrowGlyphs;
  qvGridIndicatorGlyphs = nullptr;
  qvGridArrowGlyphs = nullptr;
}

// The options of the platform grid that the engine's options stand for.
TGridOptions PlatformOptions(TqvDBGridOptions Value) {
  TGridOptions Result;
  if (Value.Contains(dgColLines)) Result.Include(goFixedVertLine).Include(goVertLine);
  if (Value.Contains(dgRowLines)) Result.Include(goHorzLine);
  if (!Value.Contains(dgRowLinesDisableFixed)) Result.Include(goFixedHorzLine);
  if (Value.Contains(dgColumnResize)) Result.Include(goColSizing).Include(goColMoving);
  if (Value.Contains(dgRowResize)) Result.Include(goRowSizing);
  if (Value.Contains(dgTabs)) Result.Include(goTabs);
  if (Value.Contains(dgRowSelect)) Result.Include(goRowSelect);
  else if (Value.Contains(dgEditing)) Result.Include(goEditing);
  if (Value.Contains(dgAlwaysShowEditor)) Result.Include(goAlwaysShowEditor);
  return Result;
}

}  // namespace

// --- Settings objects -------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvGridLineColors)
VELBOR_PUBLISHED(TqvGridLineColors,
  Prop("DataColor", &Self::DataColor, &Self::SetDataColor).Idents(ColorIdents).Default(TColor(0xC0C0C0)),
  Prop("HighlightColor", &Self::HighlightColor, &Self::SetHighlightColor).Idents(ColorIdents).Default(clBtnHighlight),
  Prop("ShadowColor", &Self::ShadowColor, &Self::SetShadowColor).Idents(ColorIdents).Default(clBtnShadow),
  Prop("FixedColor", &Self::FixedColor, &Self::SetFixedColor).Idents(ColorIdents).Default(TColor(0)))

void TqvGridLineColors::Set(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  if (FGrid != nullptr) FGrid->Invalidate();
}

void TqvGridLineColors::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TqvGridLineColors*>(Source)) {
    FDataColor = Other->FDataColor;
    FHighlightColor = Other->FHighlightColor;
    FShadowColor = Other->FShadowColor;
    FFixedColor = Other->FFixedColor;
    if (FGrid != nullptr) FGrid->Invalidate();
    return;
  }
  TPersistent::Assign(Source);
}

VELBOR_IMPLEMENT_CLASS(TqvDittoAttributes)
VELBOR_PUBLISHED(TqvDittoAttributes,
  Prop("DittoDirection", &Self::DittoDirection).Default(qvDittoPrior),
  Prop("ShortCutDittoField", &Self::ShortCutDittoField).Default(0),
  Prop("ShortCutDittoRecord", &Self::ShortCutDittoRecord).Default(0),
  Prop("Options", &Self::Options).Default(TqvDittoOptions{}))

void TqvDittoAttributes::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TqvDittoAttributes*>(Source)) {
    DittoDirection = Other->DittoDirection;
    ShortCutDittoField = Other->ShortCutDittoField;
    ShortCutDittoRecord = Other->ShortCutDittoRecord;
    Options = Other->Options;
    return;
  }
  TPersistent::Assign(Source);
}

VELBOR_IMPLEMENT_CLASS(TqvCustomDrawGridCellInfo)
VELBOR_IMPLEMENT_CLASS(TqvCacheColInfoItem)

// --- The engine -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvCustomDBGrid)
VELBOR_PUBLISHED(TqvCustomDBGrid,
  Prop("DataSource", &Self::GetDataSource, &Self::SetDataSource),
  Prop("Selected", &Self::GetSelected, &Self::SetSelected),
  Prop("UseTFields", &Self::UseTFields, &Self::SetUseTFields).Default(true),
  Prop("ControlType", &Self::ControlType, &Self::SetControlType),
  Prop("ControlInfoInDataset", &Self::ControlInfoInDataset).Default(true),
  Prop("PictureMasks", &Self::PictureMasks, &Self::SetPictureMasks),
  Prop("PictureMaskFromDataSet", &Self::PictureMaskFromDataSet).Default(true),
  Prop("Options", &Self::Options, &Self::SetOptions).Default(qvDefaultGridOptions),
  Prop("KeyOptions", &Self::KeyOptions).Default(TqvDBGridKeyOptions{dgAllowDelete, dgAllowInsert}),
  Prop("EditControlOptions", &Self::EditControlOptions).Default(TqvEditControlOptions{ecoSearchOwnerForm}),
  Prop("MultiSelectOptions", &Self::MultiSelectOptions).Default(TqvMultiSelectOptions{}),
  Prop("ReadOnly", &Self::ReadOnly).Default(false),
  Prop("EditCalculated", &Self::EditCalculated).Default(false),
  Prop("DefaultDrawing", &Self::DefaultDrawing).Default(true),
  Prop("TitleFont", &Self::TitleFont, &Self::SetTitleFont),
  Prop("TitleColor", &Self::TitleColor, &Self::SetTitleColor).Idents(ColorIdents).Default(clBtnFace),
  Prop("TitleAlignment", &Self::TitleAlignment, &Self::SetTitleAlignment).Default(taLeftJustify),
  Prop("TitleLines", &Self::TitleLines, &Self::SetTitleLines).Default(1),
  Prop("TitleButtons", &Self::TitleButtons, &Self::SetTitleButtons).Default(false),
  Prop("RowHeightPercent", &Self::RowHeightPercent, &Self::SetRowHeightPercent).Default(100),
  Prop("ShowVertScrollBar", &Self::ShowVertScrollBar, &Self::SetShowVertScrollBar).Default(true),
  Prop("ShowHorzScrollBar", &Self::ShowHorzScrollBar, &Self::SetShowHorzScrollBar).Default(true),
  Prop("IndicatorColor", &Self::IndicatorColor, &Self::SetIndicatorColor).Default(icBlack),
  Prop("IndicatorIconColor", &Self::IndicatorIconColor, &Self::SetIndicatorIconColor).Idents(ColorIdents).Default(TColor(0)),
  Prop("ImageList", &Self::ImageList, &Self::SetImageList),
  Prop("TitleImageList", &Self::TitleImageList, &Self::SetTitleImageList),
  Prop("LineStyle", &Self::LineStyle, &Self::SetLineStyle).Default(glsDynamic),
  Prop("LineColors", &Self::LineColors, &Self::SetLineColors),
  Prop("PadColumnStyle", &Self::PadColumnStyle, &Self::SetPadColumnStyle).Default(pcsPadHeaderAndData),
  Prop("HideAllLines", &Self::HideAllLines, &Self::SetHideAllLines).Default(false),
  Prop("DisableThemesInTitle", &Self::DisableThemesInTitle, &Self::SetDisableThemesInTitle).Default(false),
  Prop("DisableThemes", &Self::DisableThemes).Default(false),
  Prop("PaintOptions", &Self::PaintOptions, &Self::SetPaintOptions),
  Prop("FooterColor", &Self::FooterColor, &Self::SetFooterColor).Idents(ColorIdents).Default(clBtnFace),
  Prop("FooterCellColor", &Self::FooterCellColor, &Self::SetFooterCellColor).Idents(ColorIdents).Default(clBtnFace),
  Prop("FooterHeight", &Self::FooterHeight, &Self::SetFooterHeight).Default(0),
  Prop("DragVertOffset", &Self::DragVertOffset).Default(15),
  Prop("GroupFieldName", &Self::GroupFieldName, &Self::SetGroupFieldName),
  Prop("DittoAttributes", &Self::DittoAttributes, &Self::SetDittoAttributes),
  Prop("OnColEnter", &Self::OnColEnter),
  Prop("OnColExit", &Self::OnColExit),
  Prop("OnRowChanged", &Self::OnRowChanged),
  Prop("OnCellChanged", &Self::OnCellChanged),
  Prop("OnTopRowChanged", &Self::OnTopRowChanged),
  Prop("OnUpdateFooter", &Self::OnUpdateFooter),
  Prop("OnBeforePaint", &Self::OnBeforePaint),
  Prop("OnLeftColChanged", &Self::OnLeftColChanged),
  Prop("OnDrawDataCell", &Self::OnDrawDataCell),
  Prop("OnCalcCellColors", &Self::OnCalcCellColors),
  Prop("OnCalcTitleAttributes", &Self::OnCalcTitleAttributes),
  Prop("OnDrawTitleCell", &Self::OnDrawTitleCell),
  Prop("OnDrawGroupHeaderCell", &Self::OnDrawGroupHeaderCell),
  Prop("OnCalcTitleImage", &Self::OnCalcTitleImage),
  Prop("OnTitleButtonClick", &Self::OnTitleButtonClick),
  Prop("OnCheckValue", &Self::OnCheckValue),
  Prop("OnColumnMoved", &Self::OnColumnMoved),
  Prop("OnColWidthChanged", &Self::OnColWidthChanged),
  Prop("OnDrawFooterCell", &Self::OnDrawFooterCell),
  Prop("OnFieldChanged", &Self::OnFieldChanged),
  Prop("OnCreateHintWindow", &Self::OnCreateHintWindow),
  Prop("OnURLOpen", &Self::OnURLOpen),
  Prop("OnBeforeDrawCell", &Self::OnBeforeDrawCell),
  Prop("OnAfterDrawCell", &Self::OnAfterDrawCell),
  Prop("OnDitto", &Self::OnDitto))

TqvCustomDBGrid::TqvCustomDBGrid(TComponent* AOwner)
    : TCustomGrid(AOwner),
      FCellInfo(new TqvCustomDrawGridCellInfo),
      FAlive(std::make_shared<bool>(true)) {
  AcquireGlyphs();
  TCustomGrid::SetDefaultDrawing(false);
  SetScrollBars(ssHorizontal);
  TCustomGrid::SetOptions(PlatformOptions(FOptions));
  SetColCount(2);
  SetRowCount(2);
  FDataLink = new TqvGridDataLink(this);
  SetColor(clWindow);
  SetParentColor(false);
  FTitleFont = new TFont;
  FTitleFont->Assign(Font());
  FTitleFont->OnChange = TNotifyEvent(this, &TqvCustomDBGrid::TitleFontChanged);
  FSelected = new TStringList;
  FControlType = new TStringList;
  FPictureMasks = new TStringList;
  FDefaultColumn = new TqvColumn(nullptr, String());
  FPaintBitmap = std::make_unique<TBitmap>();
  FPaintBitmap->SetPixelFormat(pf24bit);
  FPaintOptions = new TqvGridPaintOptions(this, FPaintBitmap.get());
  FLineColors = new TqvGridLineColors(this);
  FDittoAttributes = new TqvDittoAttributes;
}

TqvCustomDBGrid::~TqvCustomDBGrid() {
  // Loops the grid runs (the column drag) stop at their next message.
  *FAlive = false;
  ReleaseKeyboardHook();
  HideCellHint();
  delete FDittoAttributes;
  FDittoAttributes = nullptr;
  delete FCellInfo;
  FCellInfo = nullptr;
  ReleaseGlyphs();
  // Embedded controls are the form's: they leave the grid rather than go with it.
  std::vector<TWinControl*> Embedded;
  for (TqvCacheColInfoItem* Item : FCache) {
    if (Item->Control) Embedded.push_back(Item->Control);
    delete Item;
  }
  FCache.clear();
  if (FCellControl) Embedded.push_back(FCellControl);
  for (TWinControl* Control : Embedded)
    if (Control != FDateTimePicker && Control->Parent() == this && Control->Owner() != this) {
      Control->SetVisible(false);
      Control->SetParent(nullptr);
    }
  FCellControl = nullptr;
  delete FDataLink;
  FDataLink = nullptr;
  delete FSelected;
  delete FTitleFont;
  for (TqvColumn* Column : FColumns) delete Column;
  FColumns.clear();
  delete FControlType;
  delete FPictureMasks;
  delete FPaintOptions;
  delete FDefaultColumn;
  delete FLineColors;
  FDragImage.reset();
}

void TqvCustomDBGrid::TitleFontChanged(TObject*) {
  if (!FTitleFontFromParent && !ComponentState().Contains(csLoading)) SetParentFont(false);
  if (FOptions.Contains(dgTitles)) RebuildLayout();
}

// --- Data source ------------------------------------------------------------------------------

TDataSource* TqvCustomDBGrid::GetDataSource() const { return FDataLink ? FDataLink->DataSource() : nullptr; }

void TqvCustomDBGrid::SetDataSource(TDataSource* Value) {
  if (Value == GetDataSource()) return;
  if (TDataSource* Old = GetDataSource()) Old->RemoveFreeNotification(this);
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
  DataLinkActiveChanged(FDataLink->Active());
}

void TqvCustomDBGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGrid::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (FDataLink && AComponent == GetDataSource()) SetDataSource(nullptr);
  if (AComponent == FIndicatorButton) FIndicatorButton = nullptr;
  if (AComponent == FImageList) FImageList = nullptr;
  if (AComponent == FTitleImageList) FTitleImageList = nullptr;
  if (AComponent == FCellControl) FCellControl = nullptr;
  if (AComponent == FDateTimePicker) FDateTimePicker = nullptr;
  for (TqvCacheColInfoItem* Item : FCache)
    if (Item->Control == AComponent) Item->Control = nullptr;
}

// --- Lists ------------------------------------------------------------------------------------

TStrings* TqvCustomDBGrid::GetSelected() const { return FSelected; }

void TqvCustomDBGrid::SetSelected(TStrings* Value) { FSelected->Assign(Value); }

void TqvCustomDBGrid::SetControlType(TStrings* Value) { FControlType->Assign(Value); }

void TqvCustomDBGrid::SetPictureMasks(TStrings* Value) { FPictureMasks->Assign(Value); }

void TqvCustomDBGrid::SetUseTFields(bool Value) {
  if (FUseTFields == Value) return;
  FUseTFields = Value;
  FreeBaseWidths();
  RebuildLayout();
}

// --- Setters ----------------------------------------------------------------------------------

void TqvCustomDBGrid::SetOptions(TqvDBGridOptions Value) {
  if (FOptions == Value) return;
  TqvDBGridOptions Old = FOptions;
  TCustomGrid::SetOptions(PlatformOptions(Value));
  if (Old.Contains(dgWordWrap) != Value.Contains(dgWordWrap)) {
    if (auto* Editor = dynamic_cast<TqvInplaceEdit*>(InplaceEditor())) Editor->SetWordWrap(Value.Contains(dgWordWrap));
    Invalidate();
  }
  FOptions = Value;
  if (Old.Contains(dgIndicator) != Value.Contains(dgIndicator)) FreeBaseWidths();
  const TqvDBGridOptions LayoutOptions = {dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColLines,
                                          dgRowLines, dgRowSelect, dgAlwaysShowSelection, dgPerfectRowFit,
                                          dgShowFooter, dgProportionalColResize};
  if ((Old * LayoutOptions) != (Value * LayoutOptions)) RebuildLayout();
}

void TqvCustomDBGrid::SetTitleFont(TFont* Value) {
  FTitleFont->Assign(Value);
  RebuildLayout();
}

void TqvCustomDBGrid::SetTitleColor(TColor Value) {
  if (FTitleColor == Value) return;
  FTitleColor = Value;
  RebuildLayout();
}

void TqvCustomDBGrid::SetTitleAlignment(TAlignment Value) {
  if (FTitleAlignment == Value) return;
  FTitleAlignment = Value;
  RebuildLayout();
}

void TqvCustomDBGrid::SetTitleLines(int Value) {
  if (Value < 1 || FTitleLines == Value) return;
  FTitleLines = Value;
  RebuildLayout();
}

void TqvCustomDBGrid::SetTitleButtons(bool Value) {
  if (FTitleButtons == Value) return;
  FTitleButtons = Value;
  Invalidate();
}

void TqvCustomDBGrid::SetRowHeightPercent(int Value) {
  if (Value <= 0) {
    FRowHeightPercent = 100;
    return;
  }
  bool Changed = FRowHeightPercent != Value;
  FRowHeightPercent = Value;
  FDesignRowHeightPercent = Value;
  if (Changed) RebuildLayout();
}

void TqvCustomDBGrid::SetShowVertScrollBar(bool Value) {
  FShowVertScrollBar = Value;
  if (HandleAllocated() && !Value) {
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SetScrollInfo(FHandle, SB_VERT, &Info, TRUE);
  }
  UpdateVertScrollBar();
  Invalidate();
}

void TqvCustomDBGrid::SetShowHorzScrollBar(bool Value) {
  SetScrollBars(Value && !UsesProportionalColResize() ? ssHorizontal : ssNone);
  FShowHorzScrollBar = Value;
}

void TqvCustomDBGrid::SetIndicatorColor(TIndicatorColorType Value) {
  FIndicatorColor = Value;
  SetIndicatorIconColor(Value == icYellow ? TColor(0xFFFF) : TColor(0));
}

void TqvCustomDBGrid::SetIndicatorIconColor(TColor Value) {
  FIndicatorIconColor = Value;
  InvalidateCurrentRow();
}

void TqvCustomDBGrid::SetIndicatorButton(TqvIButton* Value) {
  if (FIndicatorButton == Value) return;
  FIndicatorButton = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  RebuildLayout();
}

void TqvCustomDBGrid::SetImageList(TCustomImageList* Value) {
  FImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  Invalidate();
}

void TqvCustomDBGrid::SetTitleImageList(TCustomImageList* Value) {
  FTitleImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  Invalidate();
}

void TqvCustomDBGrid::SetLineStyle(TqvGridLineStyle Value) {
  if (FLineStyle == Value) return;
  FLineStyle = Value;
  Invalidate();
}

void TqvCustomDBGrid::SetPadColumnStyle(TqvPadColumnStyle Value) {
  if (FPadColumnStyle == Value) return;
  FPadColumnStyle = Value;
  Invalidate();
}

void TqvCustomDBGrid::SetHideAllLines(bool Value) {
  if (FHideAllLines == Value) return;
  FHideAllLines = Value;
  Invalidate();
}

void TqvCustomDBGrid::SetDisableThemesInTitle(bool Value) {
  if (FDisableThemesInTitle == Value) return;
  FDisableThemesInTitle = Value;
  Invalidate();
}

void TqvCustomDBGrid::SetFooterColor(TColor Value) {
  if (FFooterColor == Value) return;
  FFooterColor = Value;
  RebuildLayout();
}

void TqvCustomDBGrid::SetFooterCellColor(TColor Value) {
  if (FFooterCellColor == Value) return;
  FFooterCellColor = Value;
  RebuildLayout();
}

void TqvCustomDBGrid::SetFooterHeight(int Value) {
  if (FFooterHeight == Value) return;
  FFooterHeight = std::max(Value, 0);
  RebuildLayout();
}

void TqvCustomDBGrid::SetGroupFieldName(const String& Value) {
  if (FGroupFieldName == Value) return;
  FGroupFieldName = Value;
  Invalidate();
}

// --- Fields and columns -----------------------------------------------------------------------

int TqvCustomDBGrid::GetFieldCount() const { return FDataLink ? FDataLink->FieldCount() : 0; }

TField* TqvCustomDBGrid::GetFields(int Index) const {
  if (FDataLink == nullptr || Index < 0 || Index >= FDataLink->FieldCount()) return nullptr;
  return FDataLink->GetMappedField(Index);
}

TField* TqvCustomDBGrid::GetFieldByDataCol(int Index) const {
  if (Index < 0 || FDataLink == nullptr || !FDataLink->Active()) return nullptr;
  return GetFields(Index);
}

TField* TqvCustomDBGrid::SelectedField() const {
  int Index = SelectedIndex();
  return Index >= 0 && Index < GetFieldCount() ? GetFields(Index) : nullptr;
}

String TqvCustomDBGrid::GetFieldDisplayText(int DataCol) {
  TField* Field = GetFieldByDataCol(DataCol);
  return Field != nullptr ? Field->DisplayText() : String();
}

void TqvCustomDBGrid::SetSelectedPart(int Index, int Part, const String& Value) {
  if (Index < 0 || Index >= FSelected->Count()) return;
  TqvLineParts Parts(FSelected->Strings(Index), '\t');
  std::vector<String> Values;
  int Count = std::max(Parts.Count(), Part + 1);
  for (int i = 0; i < Count; ++i) Values.push_back(i == Part ? Value : Parts.Part(i));
  String Line;
  for (int i = 0; i < Count; ++i) Line += (i > 0 ? "\t" : "") + Values[std::size_t(i)];
  ++FLayoutReentry;
  TScopeGuard Restore([&] { --FLayoutReentry; });
  FSelected->Put(Index, Line);
}

void TqvCustomDBGrid::FocusFieldColumn(TField* Field) {
  for (int i = 0; i < GetFieldCount(); ++i)
    if (GetFields(i) == Field) MoveToColumn(i);
}

void TqvCustomDBGrid::MoveToColumn(int Index) {
  if (Index >= FixedCols() - FIndicatorOffset) {
    SetSelectedIndex(Index);
    return;
  }
  // A fixed data column (with dgFixedEditable).
  FDataLink->UpdateRecord();
  HideCustomControl();
  MoveColRow(Index + FIndicatorOffset, Row(), true, true);
  InvalidateEditor();
  DoColEnter();
}

void TqvCustomDBGrid::SetSelectedIndex(int Value) {
  if (FDataLink->Active()) FDataLink->UpdateRecord();
  int Last = std::max(GetFieldCount() - 1, 0);
  Value = std::clamp(Value, 0, Last);
  if (!FOptions.Contains(dgFixedEditable)) Value = std::max(Value, FixedCols() - FIndicatorOffset);
  Value = std::min(Value, ColCount() - 1 - FIndicatorOffset);
  if (Value == SelectedIndex()) return;
  int OldCol = Col();
  int OldLeft = LeftCol();
  if (!FColExitGuard) {
    FColExitGuard = true;
    {
      TScopeGuard Restore([&] { FColExitGuard = false; });
      DoColExit();
    }
    if (Col() != OldCol) return;
  }
  HideEditor();
  int NewCol = Value + FIndicatorOffset;
  if (FOptions.Contains(dgAlwaysShowEditor) && !HasEmbeddedControl(NewCol, Row())) HideCustomControl();
  if (FOptions.Contains(dgFixedEditable)) {
    TGridDrawInfo Info;
    CalcDrawInfo(Info);
    if (NewCol >= FixedCols() && (NewCol < LeftCol() || NewCol > Info.Horz.LastFullVisibleCell)) {
      MoveColRow(NewCol, Row(), true, false);
      ScrollColumnIntoView(NewCol);
    } else {
      MoveColRow(NewCol, Row(), true, NewCol >= FixedCols());
    }
  } else {
    SetCol(NewCol);
  }
  if (FOptions.Contains(dgAlwaysShowEditor) && !HasEmbeddedControl(Col(), Row()) && !IsMemoCell(Col(), Row()) &&
      !(EditControlOptions.Contains(ecoDisableEditorIfReadOnly) && GetColumn(SelectedIndex())->ReadOnly()))
    ShowEditor();
  DoColEnter();
  if (LeftCol() != OldLeft && HandleAllocated()) {
    TGridDrawInfo Info;
    CalcDrawInfo(Info);
    RECT Strip{Info.Horz.FixedBoundary - 1, 0, Info.Horz.FixedBoundary + 1, ClientHeight()};
    ::InvalidateRect(FHandle, &Strip, FALSE);
  }
}

bool TqvCustomDBGrid::AcquireFocus() {
  if (!TakeFocusOnClick || !CanFocus() || ComponentState().Contains(csDesigning)) return true;
  if (!Focused()) TWinControl::SetFocus();
  if (!HandleAllocated()) return false;
  HWND Focus = GetFocus();
  return Focus == FHandle || (InplaceEditor() != nullptr && InplaceEditor()->HandleAllocated() &&
                              Focus == InplaceEditor()->Handle());
}

void TqvCustomDBGrid::SetFocus() { TCustomGrid::SetFocus(); }

bool TqvCustomDBGrid::CanEditGrid() const { return FOptions.Contains(dgEditing) && !ReadOnly; }

bool TqvCustomDBGrid::DrawsFixedRowLines() const {
  return FOptions.Contains(dgRowLines) || !FOptions.Contains(dgRowLinesDisableFixed);
}

TColor TqvCustomDBGrid::GetActiveRecordColor() const {
  TColor C = FPaintOptions->ActiveRecordColor();
  return C == clNone ? clHighlight : C;
}

bool TqvCustomDBGrid::UsesProportionalColResize() const {
  return FOptions.Contains(dgProportionalColResize) && !FUseTFields;
}

TColor TqvCustomDBGrid::GetColumnColor(int) const { return Color(); }

void TqvCustomDBGrid::InvalidateCurrentRow() {
  if (HandleAllocated()) InvalidateRow(Row());
}

void TqvCustomDBGrid::InvalidateTitleRow() {
  if (!HandleAllocated() || !FOptions.Contains(dgTitles)) return;
  TRect R = BoxRect(FIndicatorOffset, 0, ColCount() - 1, 0);
  if (R.IsEmpty()) return;
  R.Right = ClientWidth();
  R.Bottom += 1;
  ::InvalidateRect(FHandle, AsRECT(R), FALSE);
}

bool TqvCustomDBGrid::IsMemoCell(int ACol, int ARow) const {
  if (DataRowOf(ARow) < 0) return false;
  TField* Field = GetFieldByDataCol(DataColOf(ACol));
  if (Field == nullptr) return false;
  TFieldType Type = Field->DataType();
  if (Type == ftMemo || Type == ftOraBlob || Type == ftOraClob) return true;
  return Field->InheritsFrom("TBlobField") && qvIsRichTextField(Field, false);
}

void TqvCustomDBGrid::BeginPaintLock() {
  if (!HandleAllocated() || !Showing()) return;
  if (FPaintLock++ == 0) SendMessageA(FHandle, WM_SETREDRAW, 0, 0);
}

void TqvCustomDBGrid::EndPaintLock(bool Invalidate) {
  if (!HandleAllocated() || !Showing() || FPaintLock <= 0) return;
  if (--FPaintLock == 0) {
    SendMessageA(FHandle, WM_SETREDRAW, 1, 0);
    if (Invalidate) ::InvalidateRect(FHandle, nullptr, FALSE);
  }
}

// --- Component life ---------------------------------------------------------------------------

void TqvCustomDBGrid::CreateParams(TCreateParams& Params) {
  TCustomGrid::CreateParams(Params);
  // The grid keeps its own vertical scroll bar in step with the dataset; the embedded controls
  // and the editor keep their pixels.
  Params.Style |= WS_VSCROLL | WS_CLIPCHILDREN;
}

void TqvCustomDBGrid::CreateWnd() {
  TCustomGrid::CreateWnd();
  UpdateFooterTextHeight();
  RebuildLayout();
  UpdateVertScrollBar();
  CheckRowChanged();
}

void TqvCustomDBGrid::Loaded() {
  TCustomGrid::Loaded();
  RebuildLayout();
  if (Parent() != nullptr && FPaintOptions->HasBackgroundPicture()) FPaintOptions->PrepareImages(false);
}

void TqvCustomDBGrid::GetChildren(TGetChildProc Proc, TComponent* Root) {
  if (FIndicatorButton != nullptr) Proc(FIndicatorButton);
  (void)Root;
}

void TqvCustomDBGrid::DoExit() {
  HideCustomControl();
  HideEditor();
  TCustomGrid::DoExit();
}

void TqvCustomDBGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: WMButtonDown(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case WM_THEMECHANGED: WMThemeChanged(Message); break;
    default: TCustomGrid::Dispatch(Message); break;
  }
}

void TqvCustomDBGrid::CMFontChanged(TMessage& Message) {
  TCustomGrid::Dispatch(Message);
  UpdateFooterTextHeight();
  RebuildLayout();
}

void TqvCustomDBGrid::CMParentFontChanged(TMessage& Message) {
  TCustomGrid::Dispatch(Message);
  if (ParentFont()) {
    FTitleFontFromParent = true;
    TScopeGuard Restore([&] { FTitleFontFromParent = false; });
    FTitleFont->Assign(Font());
  }
  RebuildLayout();
}

void TqvCustomDBGrid::WMThemeChanged(TMessage& Message) {
  FHeaderTheme.Close();
  FButtonTheme.Close();
  FThemeParts.clear();
  TCustomGrid::Dispatch(Message);
}

void TqvCustomDBGrid::WMSetCursor(TMessage& Message) {
  if (ComponentState().Contains(csDesigning) && !FDataLink->Active()) {
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    Message.Result = 1;
    return;
  }
  TCustomGrid::Dispatch(Message);
}

void RegisterGridEngineClasses() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  RegisterClass(TqvIButton::StaticClass());
}
