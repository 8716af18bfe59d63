// This file implements TCustomRadioGroup and TRadioGroup: a group box that makes one radio button
// per line of Items, arranges them in Columns, and tells which one is checked by ItemIndex.
#include <algorithm>

#include "ExtCtrls.h"
#include "Format.h"
#include "ScopeGuard.h"

// A radio button of a group: its clicks go to the group.
class TGroupButton : public TRadioButton {
  VELBOR_DECLARE_CLASS(TGroupButton, TRadioButton)
 public:
  explicit TGroupButton(TComponent* AOwner)
      : TRadioButton(AOwner), FGroup(dynamic_cast<TCustomRadioGroup*>(AOwner)) {
    if (FGroup) SetParent(FGroup);
  }
  void Click() override {
    if (FGroup) FGroup->ButtonClick(this);
    TRadioButton::Click();
  }

 protected:
  void Dispatch(TMessage& Message) override {
    // A group whose choice cannot change keeps its button from taking the click.
    if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED && FGroup && !FGroup->CanModify()) return;
    TRadioButton::Dispatch(Message);
  }

 private:
  TCustomRadioGroup* FGroup;
};

VELBOR_IMPLEMENT_CLASS(TGroupButton)

VELBOR_IMPLEMENT_CLASS(TCustomRadioGroup)
VELBOR_PUBLISHED(TCustomRadioGroup,
  Prop("Items", &Self::Items, &Self::SetItems),
  Prop("ItemIndex", &Self::ItemIndex, &Self::SetItemIndex).Default(-1),
  Prop("Columns", &Self::Columns, &Self::SetColumns).Default(1))

VELBOR_IMPLEMENT_CLASS(TRadioGroup)

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner) {
  auto* items = new TStringList();
  items->OnChange = TNotifyEvent(this, &TCustomRadioGroup::ItemsChange);
  FItems = items;
}

TCustomRadioGroup::~TCustomRadioGroup() {
  static_cast<TStringList*>(FItems)->OnChange = TNotifyEvent();
  delete FItems;
}

TRadioButton* TCustomRadioGroup::Buttons(int Index) const {
  if (Index < 0 || Index >= ButtonCount()) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return FButtons[std::size_t(Index)];
}

void TCustomRadioGroup::SetItemIndex(int Value) {
  if (FReading) {
    FItemIndex = Value;
    return;
  }
  if (Value < -1) Value = -1;
  if (Value >= ButtonCount()) Value = ButtonCount() - 1;
  if (FItemIndex == Value) return;
  if (FItemIndex >= 0 && FItemIndex < ButtonCount()) {
    FUpdating = true;
    FButtons[std::size_t(FItemIndex)]->SetChecked(false);
    FUpdating = false;
  }
  FItemIndex = Value;
  // Checking the button clicks it, which fires the group's OnClick.
  if (FItemIndex >= 0) FButtons[std::size_t(FItemIndex)]->SetChecked(true);
  UpdateButtons();
}

void TCustomRadioGroup::SetColumns(int Value) {
  Value = std::clamp(Value, 1, 16);
  if (FColumns == Value) return;
  FColumns = Value;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ItemsChange(TObject*) {
  if (FReading) return;
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::ButtonClick(TRadioButton* Button) {
  if (FUpdating) return;
  for (std::size_t i = 0; i < FButtons.size(); ++i) {
    if (FButtons[i] == Button) FItemIndex = int(i);
  }
  UpdateButtons();
  Changed();
  Click();
}

void TCustomRadioGroup::SetButtonCount(int Value) {
  while (ButtonCount() < Value) FButtons.push_back(new TGroupButton(this));
  while (ButtonCount() > Value) {
    TRadioButton* b = FButtons.back();
    FButtons.pop_back();
    delete b;
  }
}

void TCustomRadioGroup::UpdateButtons() {
  SetButtonCount(FItems->Count());
  FUpdating = true;
  for (int i = 0; i < ButtonCount(); ++i) {
    TRadioButton* b = FButtons[std::size_t(i)];
    b->SetCaption(FItems->Strings(i));
    b->SetEnabled(Enabled());
    b->SetChecked(i == FItemIndex);
  }
  // Tab reaches the checked button, or the first when none is.
  for (int i = 0; i < ButtonCount(); ++i) {
    FButtons[std::size_t(i)]->SetTabStop(i == FItemIndex || (FItemIndex < 0 && i == 0));
  }
  FUpdating = false;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ArrangeButtons() {
  int count = ButtonCount();
  if (count == 0) return;
  TRect r = ClientRect();
  AdjustClientRect(r);
  int rows = (count + FColumns - 1) / FColumns;
  int columnWidth = (r.Width() - 8) / FColumns;
  int rowHeight = rows > 0 ? r.Height() / rows : 0;
  for (int i = 0; i < count; ++i) {
    int column = i / rows;
    int row = i % rows;
    FButtons[std::size_t(i)]->SetBounds(r.Left + 8 + column * columnWidth, r.Top + row * rowHeight, columnWidth,
                                        rowHeight);
  }
}

void TCustomRadioGroup::ReadState(TReader* Reader) {
  FReading = true;
  {
    TScopeGuard restore([&] { FReading = false; });
    TCustomGroupBox::ReadState(Reader);
  }
  UpdateButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  ArrangeButtons();
}

void TCustomRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    default: TCustomGroupBox::Dispatch(Message); break;
  }
}

void TCustomRadioGroup::WMSize(TMessage& Message) {
  TCustomGroupBox::Dispatch(Message);
  ArrangeButtons();
}

void TCustomRadioGroup::CMEnabledChanged(TMessage& Message) {
  TCustomGroupBox::Dispatch(Message);
  for (TRadioButton* b : FButtons) b->SetEnabled(Enabled());
}

void TCustomRadioGroup::CMFontChanged(TMessage& Message) {
  TCustomGroupBox::Dispatch(Message);
  ArrangeButtons();
}
