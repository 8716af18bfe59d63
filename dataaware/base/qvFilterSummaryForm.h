// This file implements TqvFilterDialogView, the window that shows a filter dialog's criteria as a
// table of three columns (field, kind of search, value), and qvShowFilterSummary, which fills and
// shows it.
#pragma once

#include <vector>

#include "Forms.h"
#include "Grids.h"
#include "qvFilterCriteria.h"

class TButton;
class TqvFilterDialog;

class TqvFilterDialogView : public TForm {
  VELBOR_DECLARE_CLASS(TqvFilterDialogView, TForm)
 public:
  explicit TqvFilterDialogView(TComponent* AOwner);

  // Components.
  TStringGrid* StringGrid1 = nullptr;
  TButton* CancelBtn = nullptr;
  TButton* OKButton = nullptr;

  // One row per criterion below the header.
  void ShowCriteria(const std::vector<TqvFieldInfo>& Criteria, const TqvFieldOperators& Operators);

  // Handlers.
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void StringGrid1DrawCell(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State);
  void StringGrid1Enter(TObject* Sender);

 private:
  int Scaled(int Pixels) const;
};
