// This file implements the image combo item and its control: TkwBarImageCombo and
// TkwBarImageComboControl.
#include "kwBarImageCombo.h"

#include <algorithm>
#include <cstdint>

#include "Filer.h"
#include "ListControls.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "StdCtrls.h"
#include "kwBarControl.h"
#include "kwBarItems.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"

namespace {

// The form of the "Select item" dialog, made without a description.
class TkwBarImageDialogForm : public TForm {
 public:
  TkwBarImageDialogForm() : TForm(nullptr, true) {}
};

}  // namespace

// --- TkwBarImageCombo ---------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarImageCombo)
VELBOR_PUBLISHED(TkwBarImageCombo,
  Prop("Images", &Self::Images, &Self::SetImages),
  Prop("ItemHeight", &Self::ItemHeight, &Self::SetItemHeight).Default(0),
  Prop("Items", &Self::Items, &Self::SetItems),
  Prop("Sorted", &Self::Sorted, &Self::SetSorted).Default(false),
  Prop("ItemIndex", &Self::ItemIndex, &Self::SetItemIndex).Default(-1),
  Prop("ShowEditor", &Self::ShowEditor, &Self::SetShowEditor).Default(false),
  Prop("ShowText", &Self::ShowText, &Self::SetShowText).Default(true))

TkwBarImageCombo::TkwBarImageCombo(TComponent* AOwner) : TkwBarCustomCombo(AOwner) {
  FImageChangeLink = new TChangeLink();
  FImageChangeLink->OnChange = TNotifyEvent(this, &TkwBarImageCombo::ImagesChanged);
  Glyph()->LoadFromResourceName(MainInstance(), "KWBARIMAGECOMBO");
  SetShowEditor(false);
}

TkwBarImageCombo::~TkwBarImageCombo() {
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink);
  delete FImageChangeLink;
  FImageChangeLink = nullptr;
}

void TkwBarImageCombo::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink);
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink);
    FImages->FreeNotification(this);
  }
  ImagesChanged(nullptr);
}

void TkwBarImageCombo::ImagesChanged(TObject*) {
  // The controls measure again: the rows follow the pictures' height.
  if (!IsLoading() && !IsDestroying()) RebuildLinkBars();
}

void TkwBarImageCombo::Notification(TComponent* AComponent, TOperation Operation) {
  TkwBarCustomCombo::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    ImagesChanged(nullptr);
  }
}

void TkwBarImageCombo::SetShowText(bool Value) {
  if (Value == FShowText) return;
  FShowText = Value;
  RepaintLinks();
}

int TkwBarImageCombo::GetEntryImageIndex(int Index) const {
  return int(reinterpret_cast<std::intptr_t>(Items()->Objects(Index))) - 1;
}

void TkwBarImageCombo::SetEntryImageIndex(int Index, int ImageIndex) {
  Items()->PutObject(Index, reinterpret_cast<TObject*>(std::intptr_t(ImageIndex + 1)));
  if (Index == ItemIndex()) RepaintLinks();
}

bool TkwBarImageCombo::HasImageIndexes() const {
  for (int i = 0; i < Items()->Count(); ++i)
    if (GetEntryImageIndex(i) != -1) return true;
  return false;
}

void TkwBarImageCombo::DefineProperties(TFiler* Filer) {
  TkwBarCustomCombo::DefineProperties(Filer);
  Filer->DefineProperty("ImageIndexes", TReaderProc(this, &TkwBarImageCombo::ReadImageIndexes),
                        TWriterProc(this, &TkwBarImageCombo::WriteImageIndexes), HasImageIndexes());
}

void TkwBarImageCombo::ReadImageIndexes(TReader* Reader) {
  // One value per entry, in entry order; values beyond the entries are read and dropped.
  Reader->ReadListBegin();
  for (int i = 0; !Reader->EndOfList(); ++i) {
    int index = Reader->ReadInteger();
    if (i < Items()->Count()) Items()->PutObject(i, reinterpret_cast<TObject*>(std::intptr_t(index + 1)));
  }
  Reader->ReadListEnd();
}

void TkwBarImageCombo::WriteImageIndexes(TWriter* Writer) {
  Writer->WriteListBegin();
  for (int i = 0; i < Items()->Count(); ++i) Writer->WriteInteger(GetEntryImageIndex(i));
  Writer->WriteListEnd();
}

void TkwBarImageCombo::DrawEntry(TCanvas* Canvas, int Index, const TRect& Rect, TOwnerDrawState State,
                                 bool InList) {
  HDC dc = Canvas->Handle();
  bool selected = State.Contains(odSelected) && InList;
  COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT) : ColorToRGB(Canvas->Brush()->Color());
  COLORREF ink = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(Canvas->Font()->Color());
  HBRUSH brush = CreateSolidBrush(back);
  FillRect(dc, AsRECT(Rect), brush);
  DeleteObject(brush);
  int image = Index >= 0 && Index < Items()->Count() ? GetEntryImageIndex(Index) : -1;
  // Without a picture list the entry is drawn as text alone.
  bool valid = FImages != nullptr && image >= 0 && image < FImages->Count();
  int cellWidth = FImages != nullptr && (valid || InList) ? FImages->Width() : 0;
  int cellLeft = FShowText ? Rect.Left + 1 : Rect.Left + (Rect.Width() - cellWidth) / 2;
  if (valid)
    FImages->Draw(Canvas, cellLeft, Rect.Top + (Rect.Height() - FImages->Height()) / 2, image, Enabled());
  if (FShowText) {
    TRect text(cellLeft + cellWidth + 2, Rect.Top, Rect.Right, Rect.Bottom);
    String s = RowText(Index);
    TSavedDC saved(dc);
    SelectObject(dc, Canvas->Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    DrawTextA(dc, s.c_str(), int(s.size()), AsRECT(text), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
  }
  if (State.Contains(odFocused)) DrawFocusRect(dc, AsRECT(Rect));
}

void TkwBarImageCombo::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem || !FImages) {
    TkwBarCustomCombo::DrawItem(Index, Rect, State);
    return;
  }
  DrawEntry(GetCanvas(), Index, Rect, State, !DrawingInControl());
}

void TkwBarImageCombo::MeasureItem(int Index, int& Height) {
  TkwBarCustomCombo::MeasureItem(Index, Height);
  if (FImages && !OnMeasureItem) Height = std::max(Height, FImages->Height() + 2);
}

void TkwBarImageCombo::GetItemWidth(int Index, int& Width) {
  Width = 0;
  if (FShowText) TkwBarCustomCombo::GetItemWidth(Index, Width);
  if (FImages) Width += FImages->Width() + 2;
}

void TkwBarImageCombo::DialogDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
  if (!FDialogList) return;
  TCanvas* canvas = FDialogList->Canvas();
  if (OnDrawItem || !FImages) {
    TSavedDC saved(canvas->Handle());
    bool selected = State.Contains(odSelected);
    HBRUSH brush = CreateSolidBrush(GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    FillRect(canvas->Handle(), AsRECT(Rect), brush);
    DeleteObject(brush);
    SelectObject(canvas->Handle(), canvas->Font()->Handle());
    SetBkMode(canvas->Handle(), TRANSPARENT);
    SetTextColor(canvas->Handle(), GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    String s = RowText(Index);
    TRect r = Rect;
    r.Left += 2;
    DrawTextA(canvas->Handle(), s.c_str(), int(s.size()), AsRECT(r), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return;
  }
  DrawEntry(canvas, Index, Rect, State, true);
}

void TkwBarImageCombo::DialogMeasureItem(TWinControl*, int Index, int& Height) {
  // The list's own canvas is not used here: asking it for a device context while the list adds
  // its rows never returns.
  Height = ItemHeight() > 0 ? ItemHeight() : FDialogTextHeight;
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
  else if (FImages) Height = std::max(Height, FImages->Height() + 2);
}

void TkwBarImageCombo::DialogDblClick(TObject*) {
  if (FDialog && FDialogList && FDialogList->ItemIndex() >= 0) FDialog->SetModalResult(mrOk);
}

void TkwBarImageCombo::DoClick() {
  if (OnClick || ReadOnly()) {
    TkwBarCustomCombo::DoClick();
    return;
  }
  TForm* form = new TkwBarImageDialogForm();
  TScopeGuard free([&] {
    FDialog = nullptr;
    FDialogList = nullptr;
    form->Free();
  });
  FDialog = form;
  form->SetBorderStyle(bsDialog);
  form->SetCaption(GetLocalizedResourceString(&kwSSelectItem));
  if (TkwBarManager* manager = BarManager()) form->Font()->Assign(manager->Font());
  form->SetPosition(poScreenCenter);

  TCanvas* canvas = form->Canvas();
  canvas->Font()->Assign(form->Font());
  int u = MulDiv(canvas->TextHeight("0"), 5, 3);
  int m = u / 4;
  int w = 12 * canvas->TextWidth("0");
  // The list has the form's font.
  FDialogTextHeight = canvas->TextHeight("Qq");

  FDialogList = new TListBox(form);
  FDialogList->SetStyle(lbOwnerDrawVariable);
  FDialogList->OnDrawItem = TDrawItemEvent(this, &TkwBarImageCombo::DialogDrawItem);
  FDialogList->OnMeasureItem = TMeasureItemEvent(this, &TkwBarImageCombo::DialogMeasureItem);
  FDialogList->OnDblClick = TNotifyEvent(this, &TkwBarImageCombo::DialogDblClick);
  FDialogList->SetParent(form);
  FDialogList->HandleNeeded();
  FDialogList->Items()->Assign(Items());
  int rows = std::min(Items()->Count(), DropDownCount());
  int height = 4;
  for (int i = 0; i < rows; ++i) {
    int h = 0;
    DialogMeasureItem(FDialogList, i, h);
    height += h;
  }
  height = std::max(height, m + 2 * u);
  int width = std::max(GetDropDownWidth() - 4, 4 * u);
  FDialogList->SetBounds(m, m, width, height);
  FDialogList->SetItemIndex(ItemIndex());

  auto addButton = [&](const TResStringRec* Caption, TModalResult Result, int Top) {
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetCaption(GetLocalizedResourceString(Caption));
    button->ModalResult = Result;
    button->SetBounds(m + width + m, Top, w, u);
    return button;
  };
  addButton(&kwSOK, mrOk, m)->SetDefault(true);
  addButton(&kwSCancel, mrCancel, m + u + m)->Cancel = true;
  form->SetClientWidth(width + w + 3 * m);
  form->SetClientHeight(height + 2 * m);
  form->SetActiveControl(FDialogList);
  if (form->ShowModal() == mrOk) SetItemIndex(FDialogList->ItemIndex());
}

// --- TkwBarImageComboControl --------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarImageComboControl)

int TkwBarImageComboControl::CalcHeight() {
  int height = TkwBarComboControl::CalcHeight();
  TkwBarImageCombo* combo = ImageCombo();
  if (combo && combo->Images() && !IsRotatedBarControl(Window()))
    height = std::max(height, combo->Images()->Height() + 6);
  return height;
}
