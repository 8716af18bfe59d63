// This file implements TkwBarNameEd, the toolbar and category name dialog.
#include "kwBarNameEd.h"

#include "Dialogs.h"
#include "Format.h"
#include "ScopeGuard.h"
#include "kjBase.h"
#include "kwBarCustomizingForm.h"
#include "kwBarManager.h"
#include "kwBars.h"
#include "kwCustomizeStrings.h"

namespace {
constexpr TResStringRec kwSAddToolbar{KW_IDS_CZ_ADD_TOOLBAR};
constexpr TResStringRec kwSRenameToolbar{KW_IDS_CZ_RENAME_TOOLBAR};
constexpr TResStringRec kwSToolbarName{KW_IDS_CZ_TOOLBAR_NAME};
constexpr TResStringRec kwSAddCategory{KW_IDS_CZ_ADD_CATEGORY};
constexpr TResStringRec kwSInsertCategory{KW_IDS_CZ_INSERT_CATEGORY};
constexpr TResStringRec kwSRenameCategory{KW_IDS_CZ_RENAME_CATEGORY};
constexpr TResStringRec kwSCategoryName{KW_IDS_CZ_CATEGORY_NAME};
constexpr TResStringRec kwSOK{KW_IDS_CZ_OK};
constexpr TResStringRec kwSCancel{KW_IDS_CZ_CANCEL};
constexpr TResStringRec kwSBarExists{KW_IDS_CZ_BAR_EXISTS};
}  // namespace

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarNameEd)

TkwBarNameEd* TkwBarNameEd::Active = nullptr;

TkwBarNameEd::TkwBarNameEd(int Kind, int Mode, TkwBar* Bar, TkwBarManager* Manager)
    : TForm(nullptr, true), FKind(Kind), FBar(Bar), FManager(Manager) {
  SetBorderStyle(bsDialog);
  SetFormStyle(fsStayOnTop);
  SetPosition(poScreenCenter);
  if (TkwBarCustomizingForm* window = GetActiveCustomizingForm())
    Font()->Assign(window->Font());
  else if (Manager)
    Font()->Assign(Manager->Font());
  static const TResStringRec* const toolbarCaptions[] = {&kwSAddToolbar, &kwSRenameToolbar};
  static const TResStringRec* const categoryCaptions[] = {&kwSAddCategory, &kwSInsertCategory, &kwSRenameCategory};
  if (Kind == 0)
    SetCaption(GetLocalizedResourceString(toolbarCaptions[Mode == 1 ? 1 : 0]));
  else
    SetCaption(GetLocalizedResourceString(categoryCaptions[Mode >= 0 && Mode <= 2 ? Mode : 0]));

  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  int line = canvas->TextHeight("0");
  int margin = line;
  int editWidth = 30 * canvas->TextWidth("0");
  FLName = new TLabel(this);
  FLName->SetParent(this);
  FLName->SetCaption(GetLocalizedResourceString(Kind == 0 ? &kwSToolbarName : &kwSCategoryName));
  FLName->SetBounds(margin, margin, editWidth, line + 2);
  FEName = new TEdit(this);
  FEName->SetParent(this);
  FEName->SetBounds(margin, margin + line + 4, editWidth, line + 8);
  FLName->SetFocusControl(FEName);
  int buttonWidth = 7 * canvas->TextWidth("0") + 20, buttonHeight = line + 12;
  int buttonsTop = FEName->Top() + FEName->Height() + margin;
  FBOK = new TButton(this);
  FBOK->SetParent(this);
  FBOK->SetCaption(GetLocalizedResourceString(&kwSOK));
  FBOK->ModalResult = mrOk;
  FBOK->SetDefault(true);
  FBOK->SetBounds(margin + editWidth - 2 * buttonWidth - 6, buttonsTop, buttonWidth, buttonHeight);
  FBCancel = new TButton(this);
  FBCancel->SetParent(this);
  FBCancel->SetCaption(GetLocalizedResourceString(&kwSCancel));
  FBCancel->ModalResult = mrCancel;
  FBCancel->Cancel = true;
  FBCancel->SetBounds(margin + editWidth - buttonWidth, buttonsTop, buttonWidth, buttonHeight);
  SetClientWidth(editWidth + 2 * margin);
  SetClientHeight(buttonsTop + buttonHeight + margin);
  FEName->OnChange = TNotifyEvent(this, &TkwBarNameEd::ENameChange);
  SetActiveControl(FEName);
}

void TkwBarNameEd::ENameChange(TObject*) { FBOK->SetEnabled(!FEName->Text().empty()); }

bool TkwBarNameEd::CloseQuery() {
  if (!TForm::CloseQuery()) return false;
  if (ModalResult() != mrOk || FKind != 0 || !FManager) return true;
  String name = FEName->Text();
  TkwBar* other = FManager->FindBarByCaption(name);
  if (other && other != FBar) {
    MessageBox(Format(GetLocalizedResourceString(&kwSBarExists), {name}), Application->Title(), MB_ICONERROR);
    return false;
  }
  return true;
}

bool ShowBarNameDialog(String& Name, int Kind, int Mode, TkwBar* Bar, TkwBarManager* Manager) {
  auto* dialog = new TkwBarNameEd(Kind, Mode, Bar, Manager);
  TScopeGuard free([&] {
    TkwBarNameEd::Active = nullptr;
    dialog->Free();
  });
  dialog->EName()->SetText(Name);
  dialog->BOK()->SetEnabled(!Name.empty());
  TkwBarNameEd::Active = dialog;
  if (dialog->ShowModal() != mrOk) return false;
  Name = dialog->EName()->Text();
  return true;
}
