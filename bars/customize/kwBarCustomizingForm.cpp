// This file implements TkwBarCustomizingForm, the customizing window of the bar managers, and the
// module-level operations that open, close and refresh it.
#include "kwBarCustomizingForm.h"

#include <algorithm>

#include "Dialogs.h"
#include "Format.h"
#include "kjBase.h"
#include "kwBarItem.h"
#include "kwBarManager.h"
#include "kwBarNameEd.h"
#include "kwBarUtils.h"
#include "kwBars.h"
#include "kwCustomizeStrings.h"

namespace {
constexpr TResStringRec kwSCustomizeCaption{KW_IDS_CZ_CUSTOMIZE};
constexpr TResStringRec kwSToolbarsPage{KW_IDS_CZ_TOOLBARS_PAGE};
constexpr TResStringRec kwSCommandsPage{KW_IDS_CZ_COMMANDS_PAGE};
constexpr TResStringRec kwSOptionsPage{KW_IDS_CZ_OPTIONS_PAGE};
constexpr TResStringRec kwSClose{KW_IDS_CZ_CLOSE};
constexpr TResStringRec kwSToolbars{KW_IDS_CZ_TOOLBARS};
constexpr TResStringRec kwSNew{KW_IDS_CZ_NEW};
constexpr TResStringRec kwSRename{KW_IDS_CZ_RENAME};
constexpr TResStringRec kwSDelete{KW_IDS_CZ_DELETE};
constexpr TResStringRec kwSReset{KW_IDS_CZ_RESET};
constexpr TResStringRec kwSCategories{KW_IDS_CZ_CATEGORIES};
constexpr TResStringRec kwSCommands{KW_IDS_CZ_COMMANDS};
constexpr TResStringRec kwSDescription{KW_IDS_CZ_DESCRIPTION};
constexpr TResStringRec kwSPersonalized{KW_IDS_CZ_PERSONALIZED};
constexpr TResStringRec kwSRecentFirst{KW_IDS_CZ_RECENT_FIRST};
constexpr TResStringRec kwSFullMenus{KW_IDS_CZ_FULL_MENUS};
constexpr TResStringRec kwSResetUsage{KW_IDS_CZ_RESET_USAGE};
constexpr TResStringRec kwSOther{KW_IDS_CZ_OTHER};
constexpr TResStringRec kwSLargeIcons{KW_IDS_CZ_LARGE_ICONS};
constexpr TResStringRec kwSShowTips{KW_IDS_CZ_SHOW_TOOLTIPS};
constexpr TResStringRec kwSShortCutTips{KW_IDS_CZ_SHORTCUT_TIPS};
constexpr TResStringRec kwSMenuAnimations{KW_IDS_CZ_MENU_ANIMATIONS};
constexpr TResStringRec kwSAnimations[] = {{KW_IDS_CZ_ANIM_NONE}, {KW_IDS_CZ_ANIM_RANDOM}, {KW_IDS_CZ_ANIM_UNFOLD},
                                          {KW_IDS_CZ_ANIM_SLIDE}, {KW_IDS_CZ_ANIM_FADE}};
constexpr TResStringRec kwSCustomBar{KW_IDS_CZ_CUSTOM_BAR};
constexpr TResStringRec kwSDeleteBar{KW_IDS_CZ_DELETE_BAR};

// The open window, whether it is being destroyed, and the owner forms it disabled.
TkwBarCustomizingForm* OpenForm = nullptr;
bool Closing = false;
std::vector<HWND> DisabledWindows;

void EnableDisabledWindows() {
  for (HWND wnd : DisabledWindows)
    if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
  DisabledWindows.clear();
}

// The width of a text without its ampersands in the manager's font on the screen.
int CaptionWidth(TkwBarManager* Manager, const String& Caption) {
  TBitmap measure;
  measure.Canvas()->Font()->Assign(Manager->Font());
  return measure.Canvas()->TextWidth(RemoveAmpersands(Caption));
}

template <class T>
T* Make(TWinControl* Parent, int Left, int Top, int Width, int Height) {
  auto* control = new T(Parent->Owner() ? Parent->Owner() : Parent);
  control->SetParent(Parent);
  control->SetBounds(Left, Top, Width, Height);
  return control;
}

// A section heading: its text, then a line from the text's right edge to Right.
TBevel* Heading(TWinControl* Parent, const String& Text, int Left, int Top, int Right, TLabel*& Label) {
  Label = Make<TLabel>(Parent, Left, Top, 10, 14);
  Label->SetAutoSize(true);
  Label->SetCaption(Text);
  int start = Left + Label->Width();
  TBevel* bevel = Make<TBevel>(Parent, start, Top + 7, std::max(Right - start, 1), 2);
  bevel->SetShape(bsTopLine);
  return bevel;
}
}  // namespace

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarCustomizingForm)

TkwBarCustomizingForm::TkwBarCustomizingForm(TkwBarManager* Manager) : TForm(nullptr, true), FManager(Manager) {
  SetBorderStyle(bsDialog);
  Font()->SetName(Manager->Font()->Name());
  Font()->SetCharset(Manager->Font()->Charset());
  SetCaption(GetLocalizedResourceString(&kwSCustomizeCaption));
  SetClientWidth(380);
  SetClientHeight(328);
  SetPosition(poScreenCenter);

  PageControl = Make<TPageControl>(this, 6, 6, 368, 284);
  auto page = [&](const TResStringRec* Caption) {
    auto* sheet = new TTabSheet(this);
    sheet->SetPageControl(PageControl);
    sheet->SetCaption(GetLocalizedResourceString(Caption));
    return sheet;
  };
  TabSheet1 = page(&kwSToolbarsPage);
  TabSheet2 = page(&kwSCommandsPage);
  TabSheet3 = page(&kwSOptionsPage);
  PageControl->SetActivePage(TabSheet1);
  PageControl->OnChange = TNotifyEvent(this, &TkwBarCustomizingForm::PageControlChange);

  String close = GetLocalizedResourceString(&kwSClose);
  int closeWidth = CaptionWidth(Manager, close) + 49;
  BClose = Make<TButton>(this, PageControl->Left() + PageControl->Width() - closeWidth, 298, closeWidth, 23);
  BClose->SetCaption(close);
  BClose->Cancel = true;
  BClose->OnClick = TNotifyEvent(this, &TkwBarCustomizingForm::BCloseClick);

  BuildToolbarsPage();
  BuildCommandsPage();
  BuildOptionsPage();
  OnClose = TCloseEvent(this, &TkwBarCustomizingForm::FormClose);

  FillBars();
  FillCategories();
  UpdateStyle();
  UpdateOptions();
  UpdateBarButtons();
}

TkwBarCustomizingForm::~TkwBarCustomizingForm() {
  if (!Closing) {
    Closing = true;
    if (FManager) FManager->SetCustomizing(false);
  }
  Closing = false;
  if (OpenForm == this) OpenForm = nullptr;
}

void TkwBarCustomizingForm::BuildToolbarsPage() {
  LabelToobars = Make<TLabel>(TabSheet1, 8, 6, 200, 14);
  LabelToobars->SetCaption(GetLocalizedResourceString(&kwSToolbars));
  BarsListBox = Make<TCheckListBox>(TabSheet1, 8, 22, 224, 222);
  TBitmap measure;
  measure.Canvas()->Font()->Assign(Font());
  BarsListBox->SetItemHeight(measure.Canvas()->TextHeight("0") + 2);
  BarsListBox->OnClick = TNotifyEvent(this, &TkwBarCustomizingForm::UpdateBarButtons);
  LabelToobars->SetFocusControl(BarsListBox);
  auto button = [&](const TResStringRec* Caption, int Top, void (TkwBarCustomizingForm::*Handler)(TObject*)) {
    auto* b = Make<TButton>(TabSheet1, 242, Top, 106, 23);
    b->SetCaption(GetLocalizedResourceString(Caption));
    b->OnClick = TNotifyEvent(this, Handler);
    return b;
  };
  BBarNew = button(&kwSNew, 22, &TkwBarCustomizingForm::BBarNewClick);
  BBarRename = button(&kwSRename, 52, &TkwBarCustomizingForm::BBarRenameClick);
  BBarDelete = button(&kwSDelete, 82, &TkwBarCustomizingForm::BBarDeleteClick);
  BBarReset = button(&kwSReset, 112, &TkwBarCustomizingForm::BBarResetClick);
  BBarReset->SetVisible(!FManager->IsDesigning() && FManager->CanReset());
}

void TkwBarCustomizingForm::BuildCommandsPage() {
  LabelCategories = Make<TLabel>(TabSheet2, 8, 6, 130, 14);
  LabelCategories->SetCaption(GetLocalizedResourceString(&kwSCategories));
  LCategories = Make<TListBox>(TabSheet2, 8, 22, 130, 176);
  LCategories->OnClick = TNotifyEvent(this, &TkwBarCustomizingForm::LCategoriesClick);
  LabelCategories->SetFocusControl(LCategories);
  LabelCommands = Make<TLabel>(TabSheet2, 146, 6, 200, 14);
  LabelCommands->SetCaption(GetLocalizedResourceString(&kwSCommands));
  LCommands = Make<TCommandsListBox>(TabSheet2, 146, 22, 206, 176);
  LCommands->BarManager = FManager;
  LCommands->OnClick = TNotifyEvent(this, &TkwBarCustomizingForm::LCommandsClick);
  LabelCommands->SetFocusControl(LCommands);
  Bevel1 = Heading(TabSheet2, GetLocalizedResourceString(&kwSDescription), 8, 206, 352, LabelDescription);
  DescriptionLabel = Make<TLabel>(TabSheet2, 8, 224, 344, 28);
  DescriptionLabel->SetAutoSize(false);
  DescriptionLabel->SetWordWrap(true);
  DescriptionLabel->SetBounds(8, 224, 344, 28);
}

void TkwBarCustomizingForm::BuildOptionsPage() {
  auto check = [&](TWinControl* Parent, const TResStringRec* Caption, int Top,
                   void (TkwBarCustomizingForm::*Handler)(TObject*)) {
    auto* box = Make<TCheckBox>(Parent, 16, Top, 320, 17);
    box->SetCaption(GetLocalizedResourceString(Caption));
    box->OnClick = TNotifyEvent(this, Handler);
    return box;
  };
  auto animations = [&](TWinControl* Parent, int Top) {
    auto* label = Make<TLabel>(Parent, 16, Top + 3, 10, 14);
    label->SetAutoSize(true);
    label->SetCaption(GetLocalizedResourceString(&kwSMenuAnimations));
    auto* combo = Make<TComboBox>(Parent, 16 + label->Width() + 10, Top, 100, 21);
    combo->SetStyle(csDropDownList);
    int widest = 0;
    for (const TResStringRec& text : kwSAnimations) {
      String s = GetLocalizedResourceString(&text);
      combo->Items()->Add(s);
      widest = std::max(widest, CaptionWidth(FManager, s));
    }
    combo->SetWidth(widest + 54);
    combo->OnChange = TNotifyEvent(this, &TkwBarCustomizingForm::ComboBoxMenuAnimationsClick);
    label->SetFocusControl(combo);
    return combo;
  };
  auto panel = [&] {
    auto* p = Make<TPanel>(TabSheet3, 0, 0, 360, 256);
    p->SetBevelOuter(bvNone);
    return p;
  };
  StandardOptionsPanel = panel();
  CBLargeIcons = check(StandardOptionsPanel, &kwSLargeIcons, 10, &TkwBarCustomizingForm::CBLargeIconsClick);
  CBHint1 = check(StandardOptionsPanel, &kwSShowTips, 32, &TkwBarCustomizingForm::CBHint1Click);
  CBHint2 = check(StandardOptionsPanel, &kwSShortCutTips, 54, &TkwBarCustomizingForm::CBHint2Click);
  ComboBoxMenuAnimations = animations(StandardOptionsPanel, 80);

  EnhancedOptionsPanel = panel();
  TLabel* heading = nullptr;
  Heading(EnhancedOptionsPanel, GetLocalizedResourceString(&kwSPersonalized), 8, 8, 352, heading);
  CBMenusShowRecentItemsFirst = check(EnhancedOptionsPanel, &kwSRecentFirst, 28,
                                      &TkwBarCustomizingForm::CBMenusShowRecentItemsFirstClick);
  CBShowFullMenusAfterDelay = check(EnhancedOptionsPanel, &kwSFullMenus, 50,
                                    &TkwBarCustomizingForm::CBShowFullMenusAfterDelayClick);
  String reset = GetLocalizedResourceString(&kwSResetUsage);
  BResetUsageData = Make<TButton>(EnhancedOptionsPanel, 16, 74, CaptionWidth(FManager, reset) + 17, 23);
  BResetUsageData->SetCaption(reset);
  BResetUsageData->OnClick = TNotifyEvent(this, &TkwBarCustomizingForm::BResetUsageDataClick);
  Heading(EnhancedOptionsPanel, GetLocalizedResourceString(&kwSOther), 8, 108, 352, heading);
  CBLargeIconsEx = check(EnhancedOptionsPanel, &kwSLargeIcons, 128, &TkwBarCustomizingForm::CBLargeIconsClick);
  CBHint1Ex = check(EnhancedOptionsPanel, &kwSShowTips, 150, &TkwBarCustomizingForm::CBHint1Click);
  CBHint2Ex = check(EnhancedOptionsPanel, &kwSShortCutTips, 172, &TkwBarCustomizingForm::CBHint2Click);
  ComboBoxMenuAnimationsEx = animations(EnhancedOptionsPanel, 198);
}

void TkwBarCustomizingForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU;
  Params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (FManager->OwnerForm() && FManager->OwnerForm()->HandleAllocated())
    Params.WndParent = FManager->OwnerForm()->Handle();
}

void TkwBarCustomizingForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_DESTROY: WMDestroy(Message); break;
    default: TForm::Dispatch(Message); break;
  }
}

void TkwBarCustomizingForm::WMActivate(TMessage& Message) {
  TForm::Dispatch(Message);
  if (LOWORD(Message.WParam) != WA_INACTIVE) PageControlChange(this);
  // The owner keeps its active look while its customizing window is the active one.
  TCustomForm* owner = FManager->OwnerForm();
  if (owner && owner->HandleAllocated() && reinterpret_cast<HWND>(Message.LParam) != owner->Handle())
    SendMessageA(owner->Handle(), WM_NCACTIVATE, LOWORD(Message.WParam) != WA_INACTIVE, 0);
}

void TkwBarCustomizingForm::WMDestroy(TMessage& Message) {
  TForm::Dispatch(Message);
  if (!Closing && FManager && FManager->IsRunTimeCustomizing()) {
    Closing = true;
    FManager->SetCustomizing(false);
    Closing = false;
  }
}

void TkwBarCustomizingForm::FillBars() {
  BarsListBox->Items()->Clear();
  int selected = -1;
  TkwBars* bars = FManager->Bars();
  for (int i = 0; i < bars->Count(); ++i) {
    TkwBar* bar = bars->Items(i);
    if (bar->Hidden() && !FManager->IsDesigning()) continue;
    int row = BarsListBox->Items()->Add(bar->Caption());
    BarsListBox->Items()->PutObject(row, bar);
    if (selected < 0 && bar->Visible()) selected = row;
  }
  BarsListBox->SetItemIndex(selected);
}

void TkwBarCustomizingForm::FillCategories() {
  LCategories->Items()->Clear();
  TkwBarManagerCategories* categories = FManager->Categories();
  for (int i = 0; i < categories->Count(); ++i)
    if (FManager->IsDesigning() || FManager->GetCategoryVisible(i)) LCategories->Items()->Add(categories->Get(i));
  if (LCategories->Count() > 0) LCategories->SetItemIndex(0);
  LCategoriesClick(this);
}

TkwBar* TkwBarCustomizingForm::SelectedBar() const { return BarsListBox->BarOfRow(BarsListBox->ItemIndex()); }

void TkwBarCustomizingForm::UpdateBarButtons(TObject*) {
  TkwBar* bar = SelectedBar();
  bool design = FManager->IsDesigning();
  bool rename = bar && (design || !bar->FromResource);
  BBarRename->SetEnabled(rename);
  BBarDelete->SetEnabled(rename && (design || bar->IsClosable()));
  BBarReset->SetEnabled(bar && bar->CanReset());
}

void TkwBarCustomizingForm::UpdateStyle() {
  LCommands->SetColor(FManager->GetEffectiveStyle() == bmsFlat ? clWindow : clBtnFace);
  LCommands->Invalidate();
}

void TkwBarCustomizingForm::UpdateOptions() {
  bool standard = FManager->GetEffectiveStyle() == bmsStandard;
  StandardOptionsPanel->SetVisible(standard);
  EnhancedOptionsPanel->SetVisible(!standard);
  FUpdating = true;
  CBMenusShowRecentItemsFirst->SetChecked(FManager->MenusShowRecentItemsFirst());
  CBShowFullMenusAfterDelay->SetChecked(FManager->ShowFullMenusAfterDelay());
  CBShowFullMenusAfterDelay->SetEnabled(CBMenusShowRecentItemsFirst->Checked());
  CBLargeIcons->SetChecked(FManager->LargeIcons());
  CBLargeIconsEx->SetChecked(FManager->LargeIcons());
  CBHint1->SetChecked(FManager->ShowHint());
  CBHint1Ex->SetChecked(FManager->ShowHint());
  CBHint2->SetChecked(FManager->ShowShortCutInHint());
  CBHint2Ex->SetChecked(FManager->ShowShortCutInHint());
  CBHint2Ex->SetEnabled(CBHint1Ex->Checked());
  ComboBoxMenuAnimations->SetItemIndex(int(FManager->MenuAnimations()));
  ComboBoxMenuAnimationsEx->SetItemIndex(int(FManager->MenuAnimations()));
  FUpdating = false;
}

void TkwBarCustomizingForm::RemoveBar(TkwBar* Bar) {
  int row = BarsListBox->Items()->IndexOfObject(Bar);
  if (row >= 0) BarsListBox->Items()->Delete(row);
}

void TkwBarCustomizingForm::UpdateBar(TkwBar* Bar) {
  int row = BarsListBox->Items()->IndexOfObject(Bar);
  if (row < 0) return;
  if (BarsListBox->Items()->Get(row) != Bar->Caption()) {
    int selected = BarsListBox->ItemIndex();
    BarsListBox->Items()->Put(row, Bar->Caption());
    BarsListBox->Items()->PutObject(row, Bar);
    BarsListBox->SetItemIndex(selected);
  }
  UpdateBarButtons();
  if (BarsListBox->HandleAllocated()) {
    RECT r = BarsListBox->CheckRect(row);
    InvalidateRect(BarsListBox->Handle(), &r, FALSE);
  }
}

void TkwBarCustomizingForm::SyncVisibility(const WINDOWPOS& WindowPos) {
  if (!HandleAllocated()) return;
  if (WindowPos.flags & SWP_SHOWWINDOW) ShowWindow(Handle(), SW_SHOW);
  if (WindowPos.flags & SWP_HIDEWINDOW) ShowWindow(Handle(), SW_HIDE);
}

void TkwBarCustomizingForm::BBarNewClick(TObject*) {
  String name = FManager->Bars()->MakeUniqueName(GetLocalizedResourceString(&kwSCustomBar));
  if (!ShowBarNameDialog(name, 0, 0, nullptr, FManager)) return;
  TkwBar* bar = FManager->Bars()->Add();
  bar->SetCaption(name);
  // Floating beside the window: 50 pixels to its left, or to its right when that would leave the
  // work area; not above the work area.
  TRect work = GetMonitorWorkArea(TPoint(Left(), Top()));
  int left = Left() - 50;
  if (left < work.Left) left = Left() + Width() + 10;
  int top = Top() < work.Top ? work.Top + 10 : Top();
  bar->SetFloatLeft(left);
  bar->SetFloatTop(top);
  bar->SetDockingStyle(dsNone);
  bar->SetVisible(true);
  int row = BarsListBox->Items()->IndexOfObject(bar);
  if (row < 0) {
    row = BarsListBox->Items()->Add(bar->Caption());
    BarsListBox->Items()->PutObject(row, bar);
  }
  BarsListBox->SetItemIndex(row);
  UpdateBarButtons();
}

void TkwBarCustomizingForm::BBarRenameClick(TObject*) {
  TkwBar* bar = SelectedBar();
  if (!bar) return;
  int row = BarsListBox->ItemIndex();
  String name = bar->Caption();
  if (!ShowBarNameDialog(name, 0, 1, bar, FManager)) return;
  bar->SetCaption(name);
  if (BarsListBox->Items()->Get(row) != name) {
    BarsListBox->Items()->Put(row, name);
    BarsListBox->Items()->PutObject(row, bar);
  }
  BarsListBox->SetItemIndex(row);
  UpdateBarButtons();
}

void TkwBarCustomizingForm::BBarDeleteClick(TObject*) {
  TkwBar* bar = SelectedBar();
  if (!bar) return;
  int row = BarsListBox->ItemIndex();
  String text = Format(GetLocalizedResourceString(&kwSDeleteBar), {BarsListBox->Items()->Get(row)});
  if (MessageBox(text, Application->Title(), MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
  BarsListBox->Items()->Delete(row);
  if (BarsListBox->Count() > 0) BarsListBox->SetItemIndex(std::min(row, BarsListBox->Count() - 1));
  bar->SetIndex(FManager->Bars()->Count() - 1);
  UpdateBarButtons();
  delete bar;
  UpdateBarButtons();
}

void TkwBarCustomizingForm::BBarResetClick(TObject*) {
  if (TkwBar* bar = SelectedBar()) bar->ConfirmReset();
}

void TkwBarCustomizingForm::BCloseClick(TObject*) { Close(); }

void TkwBarCustomizingForm::LCategoriesClick(TObject*) {
  LCommands->Items()->Clear();
  int row = LCategories->ItemIndex();
  if (row >= 0) {
    std::vector<TkwBarItem*> items;
    FManager->GetCategoryVisibleItems(FManager->GetCategoryRealIndex(row), items);
    for (TkwBarItem* item : items) {
      int line = LCommands->Items()->Add(item->Caption());
      LCommands->Items()->PutObject(line, item);
    }
  }
  DescriptionLabel->SetCaption(String());
}

void TkwBarCustomizingForm::LCommandsClick(TObject*) {
  FManager->SetSelectedItemControl(nullptr);
  TkwBarItem* item = LCommands->ItemOfRow(LCommands->ItemIndex());
  DescriptionLabel->SetCaption(item ? item->Description() : String());
  DispatchPaintMessages();
}

void TkwBarCustomizingForm::PageControlChange(TObject*) {
  if (PageControl->ActivePage() == TabSheet1) UpdateBarButtons();
}

void TkwBarCustomizingForm::CBMenusShowRecentItemsFirstClick(TObject*) {
  if (FUpdating) return;
  CBShowFullMenusAfterDelay->SetEnabled(CBMenusShowRecentItemsFirst->Checked());
  FManager->SetMenusShowRecentItemsFirst(CBMenusShowRecentItemsFirst->Checked());
}

void TkwBarCustomizingForm::CBShowFullMenusAfterDelayClick(TObject*) {
  if (!FUpdating) FManager->SetShowFullMenusAfterDelay(CBShowFullMenusAfterDelay->Checked());
}

void TkwBarCustomizingForm::BResetUsageDataClick(TObject*) { FManager->ConfirmResetUsageData(); }

void TkwBarCustomizingForm::CBLargeIconsClick(TObject* Sender) {
  if (!FUpdating) FManager->SetLargeIcons(static_cast<TCheckBox*>(Sender)->Checked());
}

void TkwBarCustomizingForm::CBHint1Click(TObject* Sender) {
  if (FUpdating) return;
  if (Sender == CBHint1Ex) CBHint2Ex->SetEnabled(CBHint1Ex->Checked());
  FManager->SetShowHint(static_cast<TCheckBox*>(Sender)->Checked());
}

void TkwBarCustomizingForm::CBHint2Click(TObject* Sender) {
  if (!FUpdating) FManager->SetShowShortCutInHint(static_cast<TCheckBox*>(Sender)->Checked());
}

void TkwBarCustomizingForm::ComboBoxMenuAnimationsClick(TObject* Sender) {
  int index = static_cast<TComboBox*>(Sender)->ItemIndex();
  if (!FUpdating && index >= 0) FManager->SetMenuAnimations(TkwBarMenuAnimations(index));
}

void TkwBarCustomizingForm::FormClose(TObject*, TCloseAction& Action) {
  EnableDisabledWindows();
  Action = caFree;
}

// --- Module-level operations --------------------------------------------------------------------

void ShowCustomizingForm(TkwBarManager* Manager, bool Show) {
  if (Show) {
    if (OpenForm) return;
    if (Manager->OnShowCustomizingForm) Manager->OnShowCustomizingForm(Manager);
    for (int i = 0; i < BarManagerCount(); ++i) {
      TCustomForm* form = GetBarManager(i)->OwnerForm();
      if (form && form->HandleAllocated() && IsWindowEnabled(form->Handle())) {
        EnableWindow(form->Handle(), FALSE);
        DisabledWindows.push_back(form->Handle());
      }
    }
    OpenForm = new TkwBarCustomizingForm(Manager);
    OpenForm->Show();
    return;
  }
  if (!Closing) {
    EnableDisabledWindows();
    if (TkwBarCustomizingForm* form = OpenForm) {
      Closing = true;
      OpenForm = nullptr;
      form->Free();
      Closing = false;
    }
  }
  if (Manager->OnHideCustomizingForm) Manager->OnHideCustomizingForm(Manager);
}

TkwBarCustomizingForm* GetActiveCustomizingForm() { return OpenForm; }

void RefreshCustomizingForm() {
  if (!OpenForm) return;
  UpdateCustomizingFormCommands();
  UpdateCustomizingFormOptions();
  OpenForm->UpdateStyle();
}

void RemoveCustomizingFormBar(TkwBar* Bar) {
  if (OpenForm) OpenForm->RemoveBar(Bar);
}

void UpdateCustomizingFormBar(TkwBar* Bar) {
  if (OpenForm) OpenForm->UpdateBar(Bar);
}

void UpdateCustomizingFormCommands() {
  if (!OpenForm) return;
  OpenForm->LCommands->Invalidate();
  OpenForm->LCommandsClick(nullptr);
}

void UpdateCustomizingFormOptions() {
  if (OpenForm) OpenForm->UpdateOptions();
}

void SelectCustomizingFormItem(TkwBarItem* Item, bool Force) {
  if (!OpenForm || !Item) return;
  TkwBarManager* manager = OpenForm->BarManager();
  TListBox* categories = OpenForm->LCategories;
  int selected = manager->GetCategoryRealIndex(categories->ItemIndex());
  if (Force || selected != Item->Category()) {
    int row = -1;
    for (int i = 0; i < categories->Count(); ++i)
      if (manager->GetCategoryRealIndex(i) == Item->Category()) row = i;
    categories->SetItemIndex(row);
    OpenForm->LCategoriesClick(nullptr);
  }
  OpenForm->LCommands->SetItemIndex(OpenForm->LCommands->Items()->IndexOfObject(Item));
  OpenForm->LCommandsClick(nullptr);
}

namespace {
void OptionsChanged(TkwBarManager* Manager) {
  if (OpenForm && OpenForm->BarManager() == Manager) OpenForm->UpdateOptions();
}
}  // namespace

void RegisterBarCustomizing() {
  TkwCustomizingFormHooks& hooks = CustomizingFormHooks();
  hooks.Show = &ShowCustomizingForm;
  hooks.BarChanged = &UpdateCustomizingFormBar;
  hooks.BarRemoved = &RemoveCustomizingFormBar;
  hooks.OptionsChanged = &OptionsChanged;
}
