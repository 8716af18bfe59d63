// This file implements TqvNavButtons, the navigator's button list: which buttons it holds, the
// default buttons, and how buttons are placed in rows or columns and sized to the bar (see
// qvDBNavigator.h).
#include "qvDBNavigator.h"

#include <vector>

#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TqvNavButtons)

namespace {

bool Designing(TqvDBNavigator* Navigator) { return Navigator->ComponentState().Contains(csDesigning); }

}  // namespace

int TqvNavButtons::GetCount() { return FNavigator->ControlCount(); }

TqvNavButton* TqvNavButtons::GetButton(int Index) {
  if (Index < 0 || Index >= GetCount()) throw EInvalidOperation("Index of Buttons[] out of range");
  return static_cast<TqvNavButton*>(FNavigator->Controls(Index));
}

int TqvNavButtons::GetVisibleCount() {
  if (Designing(FNavigator)) return GetCount();
  int Count = 0;
  for (int i = 0; i < GetCount(); ++i)
    if (GetButton(i)->Visible()) ++Count;
  return Count;
}

TqvNavButton* TqvNavButtons::GetVisibleButton(int Index) {
  if (Index < 0 || Index >= GetVisibleCount()) throw EInvalidOperation("Index of VisibleButtons[] out of range");
  if (Designing(FNavigator)) return GetButton(Index);
  for (int i = 0; i < GetCount(); ++i) {
    TqvNavButton* Button = GetButton(i);
    if (Button->Visible() && Index-- == 0) return Button;
  }
  return nullptr;
}

bool TqvNavButtons::IsButtonHidden(TqvNavButton* Button) { return !Button->Visible() && !Designing(FNavigator); }

TqvNavButton* TqvNavButtons::GetRightButton() {
  TqvNavButton* Found = nullptr;
  int Edge = 0;
  for (int i = 0; i < GetVisibleCount(); ++i) {
    TqvNavButton* Button = GetVisibleButton(i);
    if (Button->Left() + Button->Width() > Edge) {
      Edge = Button->Left() + Button->Width();
      Found = Button;
    }
  }
  return Found;
}

TqvNavButton* TqvNavButtons::GetBottomButton() {
  TqvNavButton* Found = nullptr;
  int Edge = 0;
  for (int i = 0; i < GetVisibleCount(); ++i) {
    TqvNavButton* Button = GetVisibleButton(i);
    if (Button->Top() + Button->Height() > Edge) {
      Edge = Button->Top() + Button->Height();
      Found = Button;
    }
  }
  return Found;
}

TqvNavButton* TqvNavButtons::ButtonAtPoint(TPoint Point) {
  for (int i = 0; i < GetVisibleCount(); ++i) {
    TqvNavButton* Button = GetVisibleButton(i);
    if (Button->BoundsRect().Contains(Point)) return Button;
  }
  return nullptr;
}

void TqvNavButtons::UpdateButtons(TqvUpdateCause Cause) {
  for (int i = 0; i < GetCount(); ++i) GetButton(i)->UpdateButtonState(Cause);
}

void TqvNavButtons::ClearButtons() {
  while (GetCount() > 0) delete GetButton(GetCount() - 1);
}

void TqvNavButtons::ShowStyle(TqvNavButtonStyle Style) {
  for (int i = 0; i < GetCount(); ++i) {
    if (GetButton(i)->Style() == Style) {
      GetButton(i)->SetVisible(true);
      return;
    }
  }
  AddButton(Style)->SetIndex(int(Style));
}

void TqvNavButtons::HideStyle(TqvNavButtonStyle Style) {
  for (int i = 0; i < GetCount(); ++i)
    if (GetButton(i)->Style() == Style) GetButton(i)->SetVisible(false);
}

TqvNavButton* TqvNavButtons::AddButton(TqvNavButtonStyle Style, TqvCustomDialog* Dialog) {
  TqvNavButton* Button;
  {
    BeginUpdate();
    TScopeGuard endUpdate([&] { EndUpdate(); });
    Button = new TqvNavButton(FNavigator->Owner());
    Button->FButtons = this;
    Button->SetParent(FNavigator);
    Button->SetIndex(GetCount() - 1);
    Button->SetStyle(Style);
    Button->UpdateButtonState(usOther);
    Button->SetFlat(FNavigator->Flat());
    if (qvIsDialogStyle(Style)) Button->SetDialog(Dialog);
    Button->Hint = Button->GetHintText();
    if (Designing(FNavigator)) Button->AssignDefaultName();
    Button->UpdateButtonState(usOther);
  }
  LayoutButtons();
  if (!Button->IsInsideNavigator()) GrowToLastButton();
  return Button;
}

void TqvNavButtons::GrowToLastButton() {
  if (FNavigator->AutosizeStyle() != asSizeNavigator) {
    // The buttons take their new sizes, then their places.
    FNavigator->AutoSizeButtons();
    LayoutButtons();
    return;
  }
  if (GetCount() == 0) return;
  TqvNavButton* Last = GetButton(GetCount() - 1);
  if (FNavigator->Layout() == nlVertical) FNavigator->SetWidth(Last->Left() + Last->Width());
  else FNavigator->SetHeight(Last->Top() + Last->Height());
}

void TqvNavButtons::AddDialogButtons() {
  {
    BeginUpdate();
    TScopeGuard endUpdate([&] { EndUpdate(); });
    for (TqvNavButtonStyle Style : {nbsFilterDialog, nbsRecordViewDialog, nbsLocateDialog, nbsSearchDialog})
      AddButton(Style);
  }
  Arrange();
}

void TqvNavButtons::AddDefaultButtons() {
  {
    BeginUpdate();
    TScopeGuard endUpdate([&] { EndUpdate(); });
    for (TqvNavButtonStyle Style : {nbsFirst, nbsPriorPage, nbsPrior, nbsNext, nbsNextPage, nbsLast, nbsInsert,
                                    nbsDelete, nbsEdit, nbsPost, nbsCancel, nbsRefresh, nbsSaveBookmark,
                                    nbsRestoreBookmark})
      AddButton(Style);
  }
}

void TqvNavButtons::Arrange() {
  if (FNavigator->AutosizeStyle() == asSizeNavButtons) {
    FNavigator->AutoSizeButtons();
    LayoutButtons();
  } else {
    LayoutButtons();
    FNavigator->AutoSizeButtons();
  }
}

void TqvNavButtons::LayoutButtons() {
  if (FNavigator->ComponentState().Contains(csDestroying) || FUpdateCount > 0) return;
  int Bevels = FNavigator->GetBevelCount();
  int X = Bevels, Y = Bevels;
  bool Horizontal = FNavigator->Layout() == nlHorizontal;
  int Count = GetVisibleCount();
  if (Count == 0) return;
  TqvNavButton* Previous = GetVisibleButton(0);
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  for (int i = 0; i < Count; ++i) {
    TqvNavButton* Button = GetVisibleButton(i);
    if (Horizontal) {
      if (FNavigator->Width() < X + Button->Width() || Button->LineBreak()) {
        Y += Previous->Height();
        X = Bevels;
      }
    } else if (FNavigator->Height() < Y + Button->Height() || Button->LineBreak()) {
      X += Previous->Width();
      Y = Bevels;
    }
    Button->SetBounds(X, Y, Button->Width(), Button->Height());
    if (Horizontal) X += Button->Width();
    else Y += Button->Height();
    Previous = Button;
  }
}

void TqvDBNavigator::AutoSizeButtons() {
  if (FAutosizeStyle == asNone || FButtons->GetVisibleCount() == 0) return;
  int B = GetBevelCount();
  if (FAutosizeStyle == asSizeNavigator) {
    TqvNavButton* Right = FButtons->GetRightButton();
    TqvNavButton* Bottom = FButtons->GetBottomButton();
    int NewWidth = Right ? B + Right->Left() + Right->Width() : Width();
    int NewHeight = Bottom ? B + Bottom->Top() + Bottom->Height() : Height();
    SetBounds(Left(), Top(), NewWidth, NewHeight);
    return;
  }
  // asSizeNavButtons: the buttons share the bar, row by row; leftover pixels go one by one to the
  // first buttons of a row and to the first rows.
  std::vector<TqvNavButton*> Visible;
  for (int i = 0; i < FButtons->GetVisibleCount(); ++i) Visible.push_back(FButtons->GetVisibleButton(i));
  int Breaks = 0;
  for (TqvNavButton* Button : Visible)
    if (Button->LineBreak()) ++Breaks;
  int W = Width() - 2 * B, H = Height() - 2 * B;
  bool Horizontal = FLayout == nlHorizontal;
  int Cross = Horizontal ? H : W;
  int Main = Horizontal ? W : H;
  int CrossRest = Cross % (Breaks + 1);
  int CrossStep = CrossRest > 0 ? 1 : 0;
  int Start = 0;
  FButtons->BeginUpdate();
  TScopeGuard endUpdate([&] { FButtons->EndUpdate(); });
  for (int i = 0; i < int(Visible.size()); ++i) {
    bool Last = i == int(Visible.size()) - 1;
    if (!Visible[std::size_t(i)]->LineBreak() && !Last) continue;
    int N = i - Start + (Visible[std::size_t(i)]->LineBreak() ? 0 : 1);
    if (N <= 0) continue;
    int MainRest = Main % N;
    int MainStep = MainRest > 0 ? 1 : 0;
    for (int j = Start; j <= i; ++j) {
      TqvNavButton* Button = Visible[std::size_t(j)];
      int CrossSize = Cross / (Breaks + 1) + CrossStep;
      int MainSize = Main / N + MainStep;
      if (Horizontal) Button->SetBounds(Button->Left(), Button->Top(), MainSize, CrossSize);
      else Button->SetBounds(Button->Left(), Button->Top(), CrossSize, MainSize);
      MainRest -= MainStep;
      if (MainRest < MainStep) MainStep = MainRest;
    }
    CrossRest -= CrossStep;
    if (CrossRest < CrossStep) CrossStep = CrossRest;
    Start = i;
  }
}
