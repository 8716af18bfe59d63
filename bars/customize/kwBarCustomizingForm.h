// This file implements TkwBarCustomizingForm, the non-modal window of a bar manager's customizing
// mode: its toolbars page (show, hide, create, rename, delete and reset toolbars), its commands
// page (categories and their commands, which are dragged onto bars and menus) and its options
// page; and the module-level operations through which the manager and its bars keep it up to
// date. At most one is open in the process; while it is, the forms of all bar managers are
// disabled.
#pragma once

#include <vector>

// The class library's own headers first: <windows.h> defines RegisterClass as a macro.
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ListControls.h"
#include "StdCtrls.h"
#include "kwBarCustomizingLists.h"

class TkwBar;
class TkwBarManager;

class TkwBarCustomizingForm : public TForm {
  VELBOR_DECLARE_CLASS(TkwBarCustomizingForm, TForm)
 public:
  explicit TkwBarCustomizingForm(TkwBarManager* Manager);
  ~TkwBarCustomizingForm() override;

  TkwBarManager* BarManager() const { return FManager; }
  // The components, by their names.
  TPageControl* PageControl = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TTabSheet* TabSheet3 = nullptr;
  TButton* BClose = nullptr;
  TCheckListBox* BarsListBox = nullptr;
  TLabel* LabelToobars = nullptr;
  TButton* BBarNew = nullptr;
  TButton* BBarRename = nullptr;
  TButton* BBarDelete = nullptr;
  TButton* BBarReset = nullptr;
  TLabel* LabelCategories = nullptr;
  TListBox* LCategories = nullptr;
  TLabel* LabelCommands = nullptr;
  TCommandsListBox* LCommands = nullptr;
  TLabel* LabelDescription = nullptr;
  TBevel* Bevel1 = nullptr;
  TLabel* DescriptionLabel = nullptr;
  TPanel* StandardOptionsPanel = nullptr;
  TCheckBox* CBHint1 = nullptr;
  TCheckBox* CBHint2 = nullptr;
  TCheckBox* CBLargeIcons = nullptr;
  TComboBox* ComboBoxMenuAnimations = nullptr;
  TPanel* EnhancedOptionsPanel = nullptr;
  TCheckBox* CBMenusShowRecentItemsFirst = nullptr;
  TCheckBox* CBShowFullMenusAfterDelay = nullptr;
  TButton* BResetUsageData = nullptr;
  TCheckBox* CBLargeIconsEx = nullptr;
  TCheckBox* CBHint1Ex = nullptr;
  TCheckBox* CBHint2Ex = nullptr;
  TComboBox* ComboBoxMenuAnimationsEx = nullptr;

  // What the module-level operations run.
  void UpdateBarButtons(TObject* Sender = nullptr);
  void UpdateOptions();
  void UpdateStyle();
  void RemoveBar(TkwBar* Bar);
  void UpdateBar(TkwBar* Bar);
  // Shows or hides the window with its owner form.
  void SyncVisibility(const WINDOWPOS& WindowPos);

  // Handlers.
  void BBarNewClick(TObject* Sender);
  void BBarRenameClick(TObject* Sender);
  void BBarDeleteClick(TObject* Sender);
  void BBarResetClick(TObject* Sender);
  void BCloseClick(TObject* Sender);
  void LCategoriesClick(TObject* Sender);
  void LCommandsClick(TObject* Sender);
  void PageControlChange(TObject* Sender);
  void CBMenusShowRecentItemsFirstClick(TObject* Sender);
  void CBShowFullMenusAfterDelayClick(TObject* Sender);
  void BResetUsageDataClick(TObject* Sender);
  void CBLargeIconsClick(TObject* Sender);
  void CBHint1Click(TObject* Sender);
  void CBHint2Click(TObject* Sender);
  void ComboBoxMenuAnimationsClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMActivate(TMessage& Message);
  void WMDestroy(TMessage& Message);

 private:
  void BuildToolbarsPage();
  void BuildCommandsPage();
  void BuildOptionsPage();
  void FillBars();
  void FillCategories();
  TkwBar* SelectedBar() const;

  TkwBarManager* FManager;  // not owned: the manager being customized
  bool FUpdating = false;   // the window itself changes a check box or a selection
};

// Opens the window for the manager (nothing when one is open) or closes it. What the manager's
// customizing mode calls.
void ShowCustomizingForm(TkwBarManager* Manager, bool Show);
TkwBarCustomizingForm* GetActiveCustomizingForm();
void RefreshCustomizingForm();
void RemoveCustomizingFormBar(TkwBar* Bar);
void UpdateCustomizingFormBar(TkwBar* Bar);
void UpdateCustomizingFormCommands();
void UpdateCustomizingFormOptions();
// Selects the item's category (when Force or when another is selected), then the item.
void SelectCustomizingFormItem(class TkwBarItem* Item, bool Force);

// Registers the window with the bar library, so that the managers' customizing mode opens it.
// Once, before a manager enters customizing mode.
void RegisterBarCustomizing();
