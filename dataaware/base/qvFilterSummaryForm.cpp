// This file implements TqvFilterDialogView, the summary window of the filter dialog (see
// qvFilterSummaryForm.h).
#include "qvFilterSummaryForm.h"

#include <memory>

#include "Buttons.h"
#include "Qvintl.h"
#include "StdCtrls.h"
#include "qvControlUtils.h"
#include "qvFilterDialog.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvFilterDialogView)

TqvFilterDialogView::TqvFilterDialogView(TComponent* AOwner) : TForm(AOwner, true) {
  SetCaption("Show Search Summary");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  Font()->SetStyle(TFontStyles{fsBold});
  SetClientWidth(Scaled(481));
  SetClientHeight(Scaled(206));
  StringGrid1 = new TStringGrid(this);
  StringGrid1->SetParent(this);
  StringGrid1->SetColCount(3);
  StringGrid1->SetFixedCols(0);
  StringGrid1->SetRowCount(8);
  StringGrid1->SetFixedRows(1);
  // Without fixed column the first column scrolls: shown first, and current.
  StringGrid1->SetLeftCol(0);
  StringGrid1->SetCol(0);
  StringGrid1->SetDefaultRowHeight(Scaled(18));
  StringGrid1->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});
  StringGrid1->SetScrollBars(ssVertical);
  StringGrid1->SetTabStop(false);
  StringGrid1->OnDrawCell = TDrawCellEvent(this, &TqvFilterDialogView::StringGrid1DrawCell);
  StringGrid1->OnEnter = TNotifyEvent(this, &TqvFilterDialogView::StringGrid1Enter);
  CancelBtn = qvCreateDialogButton(this, qvDialogButtonCancel);
  // Out of sight: Escape presses it.
  CancelBtn->SetTop(Scaled(206) + 100);
  CancelBtn->SetVisible(true);
  OnShow = TNotifyEvent(this, &TqvFilterDialogView::FormShow);
  FormCreate(this);
}

int TqvFilterDialogView::Scaled(int Pixels) const { return qvScaleByPixelsPerInch(Pixels, Screen->PixelsPerInch()); }

void TqvFilterDialogView::FormCreate(TObject*) {
  const int Widths[] = {120, 140, 197};
  SetWidth(Scaled(489));
  int GridWidth = Scaled(464);
  // Eight rows of 18 and their lines, inside the grid's border.
  int GridHeight = 8 * (StringGrid1->DefaultRowHeight() + 1) + 4;
  StringGrid1->SetBounds((ClientWidth() - GridWidth) / 2, Scaled(8), GridWidth, GridHeight);
  for (int Col = 0; Col < 3; ++Col) StringGrid1->SetColWidths(Col, Scaled(Widths[Col]));
  OKButton = qvCreateDialogButton(this, qvDialogButtonOK);
  OKButton->SetTabOrder(0);
  OKButton->SetDefault(true);
  OKButton->SetBounds((ClientWidth() - OKButton->Width()) / 2, StringGrid1->Top() + GridHeight + Scaled(9),
                      OKButton->Width(), OKButton->Height());
  OKButton->SetVisible(true);
  SetClientHeight(OKButton->Top() + OKButton->Height() + Scaled(9));
  TqvFilterDialogIntl* Texts = qvIntl->FilterDialog();
  StringGrid1->SetCells(0, 0, Texts->SummaryFieldLabel);
  StringGrid1->SetCells(1, 0, Texts->SummarySearchLabel);
  StringGrid1->SetCells(2, 0, Texts->SummaryValueLabel);
  if (!Texts->SummaryCaption.empty()) SetCaption(Texts->SummaryCaption);
}

void TqvFilterDialogView::FormShow(TObject*) { Font()->SetStyle(qvIntl->DialogFontStyle); }

void TqvFilterDialogView::ShowCriteria(const std::vector<TqvFieldInfo>& Criteria, const TqvFieldOperators& Operators) {
  TqvFilterDialogIntl* Texts = qvIntl->FilterDialog();
  StringGrid1->SetRowCount(int(Criteria.size()) + 1);
  int Row = 1;
  for (const TqvFieldInfo& C : Criteria) {
    String Kind, Value;
    if (C.MatchType == fdMatchRange) {
      Kind = qvRemoveChar(Texts->ByRangeLabel, '&');
      if (!C.MinValue.empty()) Value = ">=" + C.MinValue;
      if (!C.MinValue.empty() && !C.MaxValue.empty()) Value += ", ";
      if (!C.MaxValue.empty()) Value += "<=" + C.MaxValue;
    } else {
      const String& Label = C.MatchType == fdMatchStart ? Texts->MatchStartLabel
                            : C.MatchType == fdMatchAny ? Texts->MatchAnyLabel
                                                        : Texts->MatchExactLabel;
      Kind = qvRemoveChar(Label, '&');
      Value = C.FilterValue;
      if (C.NonMatching) {
        bool Joined = !qvFindValueOperator(C.FilterValue, Operators).empty();
        Value = Texts->ViewSummaryNotText + (Joined ? " (" + C.FilterValue + ")" : " " + C.FilterValue);
      }
    }
    StringGrid1->SetCells(0, Row, qvReplaceChar(C.DisplayLabel, '~', ' '));
    StringGrid1->SetCells(1, Row, Kind);
    StringGrid1->SetCells(2, Row, Value);
    ++Row;
  }
}

void TqvFilterDialogView::StringGrid1DrawCell(TObject*, int ACol, int ARow, TRect Rect, TGridDrawState) {
  if (ARow == 0) return;
  TCanvas* Canvas = StringGrid1->Canvas();
  Canvas->Brush()->SetColor(clWhite);
  Canvas->Font()->SetColor(clBlack);
  Canvas->TextRect(Rect, Rect.Left + 2, Rect.Top + 2, StringGrid1->Cells(ACol, ARow));
}

void TqvFilterDialogView::StringGrid1Enter(TObject*) {
  // The cells may be selected and copied, never changed.
  StringGrid1->SetEditorMode(true);
  if (TInplaceEdit* Editor = StringGrid1->InplaceEditor()) Editor->SetReadOnly(true);
}

namespace {

struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};

}  // namespace

void qvShowFilterSummary(TqvFilterDialog* Dialog, const std::vector<TqvFieldInfo>& Criteria) {
  std::unique_ptr<TqvFilterDialogView, TFormFree> View(new TqvFilterDialogView(Application));
  View->AfterConstruction();
  View->ShowCriteria(Criteria, Dialog->FieldOperators());
  View->ShowModal();
}
