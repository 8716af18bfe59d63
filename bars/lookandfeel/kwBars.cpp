// This file implements the bars and the manager's collection of bars.
#include "kwBars.h"

#include <algorithm>

#include "Forms.h"
#include "StrUtils.h"
#include "kwBarItem.h"
#include "kwBarManager.h"
#include "kwBarPainter.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwDockSite.h"

// --- TkwBar -------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBar)
VELBOR_PUBLISHED(TkwBar,
  Prop("AllowClose", &Self::AllowClose, &Self::SetAllowClose).Default(true),
  Prop("AllowCustomizing", &Self::AllowCustomizing).Default(true),
  Prop("AllowQuickCustomizing", &Self::AllowQuickCustomizing, &Self::SetAllowQuickCustomizing).Default(true),
  Prop("AllowReset", &Self::AllowReset).Default(true),
  Prop("AlphaBlendValue", &Self::AlphaBlendValue, &Self::SetAlphaBlendValue).Default(255),
  Prop("BackgroundBitmap", &Self::BackgroundBitmap, &Self::SetBackgroundBitmap),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bbsSingle),
  Prop("Caption", &Self::Caption, &Self::SetCaption),
  Prop("DockControl", &Self::DockControl, &Self::SetDockControl),
  Prop("DockedDockControl", &Self::DockedDockControl, &Self::SetDockedDockControl),
  Prop("DockedDockingStyle", &Self::DockedDockingStyle, &Self::SetDockedDockingStyle)
      .NoDefault().Stored(&Self::StoresDockedDockingStyle),
  Prop("DockedLeft", &Self::DockedLeft, &Self::SetDockedLeft),
  Prop("DockedTop", &Self::DockedTop, &Self::SetDockedTop),
  Prop("DockingStyle", &Self::DockingStyle, &Self::SetDockingStyle).NoDefault().Stored(&Self::StoresDockingStyle),
  Prop("FloatLeft", &Self::FloatLeft, &Self::SetFloatLeft),
  Prop("FloatTop", &Self::FloatTop, &Self::SetFloatTop),
  Prop("FloatClientWidth", &Self::FloatClientWidth, &Self::SetFloatClientWidth),
  Prop("FloatClientHeight", &Self::FloatClientHeight, &Self::SetFloatClientHeight),
  Prop("Font", &Self::Font, &Self::SetFont).Stored(&Self::UseOwnFont),
  Prop("Hidden", &Self::Hidden, &Self::SetHidden).Default(false),
  Prop("IsMainMenu", &Self::IsMainMenu, &Self::SetIsMainMenu).Default(false),
  Prop("ItemLinks", &Self::ItemLinks, &Self::SetItemLinks),
  Prop("MultiLine", &Self::MultiLine, &Self::SetMultiLine).Default(false),
  Prop("Name", &Self::Name, &Self::SetName),
  Prop("NotDocking", &Self::NotDocking).Default(TkwBarDockingStyles{}),
  Prop("OneOnRow", &Self::OneOnRow),
  Prop("RotateWhenVertical", &Self::RotateWhenVertical, &Self::SetRotateWhenVertical).Default(true),
  Prop("Row", &Self::Row, &Self::SetRow),
  Prop("ShowMark", &Self::ShowMark, &Self::SetShowMark).Default(true),
  Prop("SizeGrip", &Self::SizeGrip, &Self::SetSizeGrip).Default(true),
  Prop("UseOwnFont", &Self::UseOwnFont, &Self::SetUseOwnFont),
  Prop("UseRecentItems", &Self::UseRecentItems, &Self::SetUseRecentItems).Default(true),
  Prop("UseRestSpace", &Self::UseRestSpace, &Self::SetUseRestSpace).Default(false),
  Prop("Visible", &Self::Visible, &Self::SetVisible),
  Prop("WholeRow", &Self::WholeRow, &Self::SetWholeRow))

TkwBar::TkwBar(TCollection* Collection) : TCollectionItem(Collection) {
  TkwBarManager* manager = GetBarManager();
  FBackgroundBitmap = new TBitmap();
  FBackgroundBitmap->OnChange = TNotifyEvent(this, &TkwBar::BackgroundChanged);
  FFont = new TFont();
  if (manager) FFont->Assign(manager->Font());
  FFont->OnChange = TNotifyEvent(this, &TkwBar::FontChanged);
  FItemLinks = new TkwBarItemLinks(manager, this);
  FItemLinks->OwnerNotification = TNotifyEvent(this, &TkwBar::LinksChanged);
  if (manager && !manager->IsLoading()) {
    manager->DoBarAdd(this);
    manager->DesignerModified();
  }
}

TkwBar::~TkwBar() {
  TkwBarManager* manager = GetBarManager();
  bool managerGoing = !manager || manager->IsDestroying();
  if (CustomizingFormHooks().BarRemoved) CustomizingFormHooks().BarRemoved(this);
  if (!managerGoing) {
    manager->DesignerModified();
    manager->DoBarDelete(this);
  }
  if (FVisible) {
    FVisible = false;
    Hide();
  }
  std::vector<TkwBarItem*> detaching = FDetachingSubItems;
  for (TkwBarItem* item : detaching) item->BarNotification(this, opRemove);
  if (manager && manager->FMainMenuBar == this) manager->FMainMenuBar = nullptr;
  delete FItemLinks;
  FItemLinks = nullptr;
  delete FFont;
  delete FBackgroundBitmap;
}

TkwBars* TkwBar::GetBars() const { return dynamic_cast<TkwBars*>(Collection()); }

TkwBarManager* TkwBar::GetBarManager() const {
  TkwBars* bars = GetBars();
  return bars ? bars->BarManager() : nullptr;
}

TkwBarWindow* TkwBar::GetControl() const { return FItemLinks ? FItemLinks->BarControl() : nullptr; }

TkwBarDockingStyle TkwBar::DockedDockingStyle() const {
  return FDockedDockControl ? FDockedDockControl->DockingStyle() : FDockedDockingStyle;
}

TkwBarDockingStyle TkwBar::DockingStyle() const {
  return FDockControl ? FDockControl->DockingStyle() : FDockingStyle;
}

TkwDockSite* TkwBar::GetCurrentDockSite() const {
  if (FDockControl) return FDockControl;
  TkwBars* bars = GetBars();
  return bars ? bars->EdgeDockSite(DockingStyle()) : nullptr;
}

void TkwBar::ChangeDocking(TkwBarDockingStyle Style, TkwDockSite* Site) {
  if (Site && Site->IsEdgeSite()) Site = nullptr;
  if (Style == DockingStyle() || (Site && Site != FDockControl))
    SetDockControl(Site);
  else
    SetDockingStyle(Style);
}

bool TkwBar::IsStatusBarStyle() const { return FBorderStyle == bbsNone && DockingStyle() == dsBottom && FWholeRow; }

bool TkwBar::ShowsSizeGrip() const {
  if (!IsStatusBarStyle() || !FSizeGrip) return false;
  TkwBarManager* manager = GetBarManager();
  TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
  if (form && form->WindowState() == wsMaximized) return false;
  TkwBarWindow* window = GetControl();
  if (!window || !window->HandleAllocated()) return true;
  // At each level up to the form, the window's bottom-right corner is its parent's.
  HWND wnd = window->Handle();
  while (wnd) {
    HWND parent = GetParent(wnd);
    if (!parent || !(GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD)) break;
    RECT r, client;
    GetWindowRect(wnd, &r);
    GetClientRect(parent, &client);
    POINT corner = {client.right, client.bottom};
    ClientToScreen(parent, &corner);
    if (r.right != corner.x || r.bottom != corner.y) return false;
    TWinControl* control = FindControl(parent);
    auto* parentForm = dynamic_cast<TCustomForm*>(control);
    if (parentForm && (!GetParent(parent) || parentForm->FormStyle() == fsMDIChild)) break;
    wnd = parent;
  }
  return true;
}

int TkwBar::GetNonClientWidth(TkwBarDockingStyle Style) const {
  TkwBarManager* manager = GetBarManager();
  const TkwBarPainter* painter = manager ? manager->Painter() : BaseBarPainter();
  if (Style == dsNone) return 2 * painter->GetSizingBorderWidth() + 2 * painter->GetBorderWidth();
  if (FBorderStyle == bbsNone) return IsStatusBarStyle() ? painter->GetSizeGripSize(manager).cx : 0;
  TRect borders = painter->GetBarDockedBorderRect(this, Style);
  int width = borders.Left + borders.Right;
  if ((Style == dsTop || Style == dsBottom) && manager) width += manager->GripSize();
  return width;
}

int TkwBar::GetNonClientHeight(TkwBarDockingStyle Style) const {
  TkwBarManager* manager = GetBarManager();
  const TkwBarPainter* painter = manager ? manager->Painter() : BaseBarPainter();
  if (Style == dsNone)
    return 2 * painter->GetSizingBorderHeight() + 2 * painter->GetBorderWidth() + painter->GetFloatingCaptionHeight();
  if (FBorderStyle == bbsNone) return IsStatusBarStyle() ? painter->GetSizeGripSize(manager).cy : 0;
  TRect borders = painter->GetBarDockedBorderRect(this, Style);
  int height = borders.Top + borders.Bottom;
  if ((Style == dsLeft || Style == dsRight) && manager) height += manager->GripSize();
  return height;
}

// --- Showing and hiding --------------------------------------------------------------------------

void TkwBar::SetVisible(bool Value) {
  TkwBarManager* manager = GetBarManager();
  if (Value && manager && manager->IsDestroying()) return;
  if (manager && manager->IsLoading()) {
    PendingVisible = Value;
    return;
  }
  if (Value == FVisible) return;
  HiddenBecauseEmpty = false;
  FVisible = Value;
  if (Value)
    Show();
  else
    Hide();
  if (manager && !manager->IsDestroying()) manager->DoBarVisibleChange(this);
  if (CustomizingFormHooks().BarChanged) CustomizingFormHooks().BarChanged(this);
  TkwBars* bars = GetBars();
  if (manager && bars && !bars->Busy) manager->DesignerModified();
}

void TkwBar::Hide() {
  TkwBarWindow* window = GetControl();
  if (!window) return;
  window->StorePositionInBar();
  if (TkwDockSite* site = window->DockSite()) site->UndockBarWindow(window);
  FDestroyingWindow = true;
  FItemLinks->SetBarControl(nullptr);
  delete window;
  FDestroyingWindow = false;
}

void TkwBar::Show() {
  TkwBarManager* manager = GetBarManager();
  TkwBars* bars = GetBars();
  if (!manager || !bars) return;
  FItemLinks->CreateBarControl();
  TkwBarWindow* window = GetControl();
  if (!window) return;
  TkwBarDockingStyle style = DockingStyle();
  if (style != dsNone) {
    TkwDockSite* site = GetCurrentDockSite();
    if (!site) return;
    window->SetDockingStyle(style);
    window->SetDockSite(site);
    TPoint point = site->ClientToScreen(TPoint(FDockedLeft, FDockedTop));
    bars->DockBarControl(window, style, FDockControl, point);
    window->Show();
    return;
  }
  window->SetDockingStyle(dsNone);
  TSize size = window->CalcFloatingSize();
  window->SetBounds(FFloatLeft, FFloatTop, size.cx, size.cy);
  TCustomForm* form = manager->OwnerForm();
  if (!form || !form->Visible()) return;
  bool formActive = form->HandleAllocated() && GetActiveWindow() == form->Handle();
  bool mdiChildActive = false;
  if (form->FormStyle() == fsMDIChild) {
    TCustomForm* main = Application->MainForm();
    mdiChildActive = main && main->HandleAllocated() && GetActiveWindow() == main->Handle() &&
                     main->ActiveMDIChild() == form;
  }
  if (!manager->HideFloatingBarsWhenInactive() || formActive || mdiChildActive || manager->IsRunTimeCustomizing())
    window->Show();
}

void TkwBar::RebuildWindow() {
  if (TkwBarWindow* window = GetControl(); window && !FUpdateLock) window->RepaintBar();
}

void TkwBar::SetUpdateLock(bool Value) {
  if (Value == FUpdateLock) return;
  FUpdateLock = Value;
  if (!Value) RebuildWindow();
}

void TkwBar::ApplyPendingState() {
  FItemLinks->ApplyLoadedState(true);
  if (HasPendingDockControl && PendingDockControl)
    SetDockControl(PendingDockControl);
  else if (HasPendingDockingStyle)
    SetDockingStyle(PendingDockingStyle);
  HasPendingDockControl = false;
  HasPendingDockingStyle = false;
  PendingDockControl = nullptr;
  // A design copy (read to reset bars) only holds values: its bars never show.
  if (TkwBarManager::ReadingDesignCopy)
    FVisible = PendingVisible;
  else
    SetVisible(PendingVisible);
  FromResource = true;
}

// --- Docking --------------------------------------------------------------------------------------

void TkwBar::SetDockControl(TkwDockSite* Value) {
  TkwBarManager* manager = GetBarManager();
  if (Value && Value->BarManager() != manager) return;
  if (Value == FDockControl) return;
  if (manager && manager->IsLoading()) {
    PendingDockControl = Value;
    HasPendingDockControl = true;
    return;
  }
  bool hidden = false;
  TkwBarWindow* window = GetControl();
  if (!FChangingDocking && window) {
    bool freeStanding = FDockControl && !FDockControl->IsEdgeSite();
    if (Value != window->DockSite() || (!Value && freeStanding)) {
      Hide();
      hidden = true;
    }
  }
  TkwBarDockingStyle oldStyle = DockingStyle();
  FDockControl = Value;
  FItemLinks->SetRecentItemCount(-1);
  FChangingDocking = true;
  FDockingStyle = Value ? Value->DockingStyle() : oldStyle;
  FChangingDocking = false;
  if (hidden && FVisible) Show();
  if (manager) manager->DoBarDockingStyleChange(this);
}

void TkwBar::SetDockingStyle(TkwBarDockingStyle Value) {
  TkwBarManager* manager = GetBarManager();
  if (manager && manager->IsLoading()) {
    PendingDockingStyle = Value;
    HasPendingDockingStyle = true;
    return;
  }
  if (Value == DockingStyle() && !FDockControl) return;
  bool hidden = false;
  TkwBarWindow* window = GetControl();
  if (!FChangingDocking && window && window->DockingStyle() != Value) {
    Hide();
    hidden = true;
  }
  FDockingStyle = Value;
  FChangingDocking = true;
  FDockControl = nullptr;
  FChangingDocking = false;
  FItemLinks->SetRecentItemCount(-1);
  if (hidden && FVisible) Show();
  if (manager) manager->DoBarDockingStyleChange(this);
}

void TkwBar::SetDockedDockControl(TkwDockSite* Value) {
  TkwBarManager* manager = GetBarManager();
  if (Value && Value->BarManager() != manager) return;
  if (Value == FDockedDockControl) return;
  FDockedDockControl = Value;
  if (manager) manager->DesignerModified();
}

void TkwBar::SetDockedDockingStyle(TkwBarDockingStyle Value) {
  if (Value == FDockedDockingStyle) return;
  FDockedDockingStyle = Value;
  if (TkwBarManager* manager = GetBarManager()) manager->DesignerModified();
}

void TkwBar::SetDockedLeft(int Value) {
  Value = std::max(Value, 0);
  if (Value == FDockedLeft) return;
  FDockedLeft = Value;
  if (TkwBarManager* manager = GetBarManager()) manager->DesignerModified();
}

void TkwBar::SetDockedTop(int Value) {
  Value = std::max(Value, 0);
  if (Value == FDockedTop) return;
  FDockedTop = Value;
  if (TkwBarManager* manager = GetBarManager()) manager->DesignerModified();
}

void TkwBar::SetFloatLeft(int Value) {
  if (Value == FFloatLeft) return;
  FFloatLeft = Value;
  if (TkwBarManager* manager = GetBarManager()) manager->DesignerModified();
}

void TkwBar::SetFloatTop(int Value) {
  if (Value == FFloatTop) return;
  FFloatTop = Value;
  if (TkwBarManager* manager = GetBarManager()) manager->DesignerModified();
}

void TkwBar::SetFloatClientWidth(int Value) {
  if (Value == FFloatClientWidth) return;
  FFloatClientWidth = Value;
  if (TkwBarManager* manager = GetBarManager()) manager->DesignerModified();
}

void TkwBar::SetFloatClientHeight(int Value) {
  if (Value == FFloatClientHeight) return;
  FFloatClientHeight = Value;
  if (TkwBarManager* manager = GetBarManager()) manager->DesignerModified();
}

// --- Other properties ---------------------------------------------------------------------------

void TkwBar::SetAllowClose(bool Value) {
  if (Value == FAllowClose) return;
  FAllowClose = Value;
  if (TkwBarWindow* window = GetControl(); window && DockingStyle() == dsNone) RebuildWindow();
}

void TkwBar::SetAllowQuickCustomizing(bool Value) {
  if (Value == FAllowQuickCustomizing) return;
  FAllowQuickCustomizing = Value;
  if (TkwBarManager* manager = GetBarManager(); manager && manager->HasEnhancedStyle()) RebuildWindow();
}

void TkwBar::SetAlphaBlendValue(BYTE Value) {
  if (Value == FAlphaBlendValue) return;
  FAlphaBlendValue = Value;
  if (TkwBarWindow* window = GetControl(); window && DockingStyle() == dsNone && window->HandleAllocated())
    SetWindowAlphaBlend(window->Handle(), Value);
}

void TkwBar::SetBackgroundBitmap(TBitmap* Value) {
  bool wasEmpty = FBackgroundBitmap->Empty();
  FBackgroundBitmap->OnChange = nullptr;
  FBackgroundBitmap->Assign(Value);
  FBackgroundBitmap->OnChange = TNotifyEvent(this, &TkwBar::BackgroundChanged);
  if (!wasEmpty || !FBackgroundBitmap->Empty()) BackgroundChanged(nullptr);
}

void TkwBar::BackgroundChanged(TObject*) {
  if (TkwBarWindow* window = GetControl()) window->RefreshBackground();
}

void TkwBar::SetBorderStyle(TkwBarBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (TkwBarWindow* window = GetControl()) window->RefreshMetrics();
}

void TkwBar::SetSizeGrip(bool Value) {
  if (Value == FSizeGrip) return;
  FSizeGrip = Value;
  if (TkwBarWindow* window = GetControl(); window && IsStatusBarStyle()) window->RefreshMetrics();
}

void TkwBar::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  TkwBarManager* manager = GetBarManager();
  TkwBars* bars = GetBars();
  if (bars)
    for (int i = 0; i < bars->Count(); ++i)
      if (bars->Items(i) != this && bars->Items(i)->FCaption == Value) return;
  FCaption = Value;
  if (TkwBarWindow* window = GetControl()) window->Invalidate();
  if (CustomizingFormHooks().BarChanged) CustomizingFormHooks().BarChanged(this);
  if (FName.empty() && manager && !manager->IsLoading() && bars) {
    bool taken = false;
    for (int i = 0; i < bars->Count(); ++i) taken = taken || bars->Items(i)->FName == Value;
    FName = taken ? bars->MakeUniqueName(Value) : Value;
  }
  if (manager) manager->DesignerModified();
}

void TkwBar::SetHidden(bool Value) {
  if (Value == FHidden) return;
  FHidden = Value;
  if (TkwBarManager* manager = GetBarManager()) manager->DesignerModified();
}

void TkwBar::SetIsMainMenu(bool Value) {
  if (Value == FIsMainMenu) return;
  TkwBarManager* manager = GetBarManager();
  bool locked = manager && manager->RedrawLocked();
  if (manager) manager->SetRedrawLocked(true);
  if (Value) {
    if (manager && manager->FMainMenuBar && manager->FMainMenuBar != this) manager->FMainMenuBar->SetIsMainMenu(false);
    FIsMainMenu = true;
    if (manager) manager->FMainMenuBar = this;
    FWholeRow = true;
    FMultiLine = true;
  } else {
    FIsMainMenu = false;
    if (manager && manager->FMainMenuBar == this) manager->FMainMenuBar = nullptr;
    FMultiLine = false;
    FWholeRow = false;
  }
  if (manager) manager->SetRedrawLocked(locked);
  if (manager && !manager->IsLoading() && DockingStyle() != dsNone) RebuildWindow();
}

void TkwBar::SetMultiLine(bool Value) {
  if (Value == FMultiLine) return;
  if (!Value && FIsMainMenu) return;
  FMultiLine = Value;
  if (DockingStyle() != dsNone) RebuildWindow();
}

void TkwBar::SetRotateWhenVertical(bool Value) {
  if (Value == FRotateWhenVertical) return;
  FRotateWhenVertical = Value;
  if (TkwBarWindow* window = GetControl()) window->Perform(CM_KWBARFONTCHANGED, 0, 0);
}

void TkwBar::SetShowMark(bool Value) {
  if (Value == FShowMark) return;
  FShowMark = Value;
  RebuildWindow();
}

void TkwBar::SetUseRestSpace(bool Value) {
  if (Value == FUseRestSpace) return;
  FUseRestSpace = Value;
  RebuildWindow();
}

void TkwBar::SetUseRecentItems(bool Value) {
  if (Value == FUseRecentItems) return;
  FUseRecentItems = Value;
  FItemLinks->UseRecentItems = Value;
  RebuildWindow();
}

void TkwBar::SetWholeRow(bool Value) {
  if (Value == FWholeRow) return;
  FWholeRow = Value;
  if (GetControl() && DockingStyle() != dsNone && FVisible) {
    Hide();
    Show();
  }
}

void TkwBar::SetItemLinks(TkwBarItemLinks* Value) { FItemLinks->Assign(Value); }

void TkwBar::LinksChanged(TObject*) {
  if (TkwBarManager* manager = GetBarManager()) manager->DesignerModified();
}

// --- Fonts -----------------------------------------------------------------------------------------

void TkwBar::SetUseOwnFont(bool Value) {
  if (Value == FUseOwnFont) return;
  FUseOwnFont = Value;
  FSettingOwnFont = true;
  if (Value) {
    CreateBarFontHandle(FFont, FOwnFontHandle, false);
  } else {
    if (TkwBarManager* manager = GetBarManager()) FFont->Assign(manager->Font());
    FOwnFontHandle.Reset();
  }
  FSettingOwnFont = false;
  if (TkwBarWindow* window = GetControl()) {
    window->UpdateFont();
    window->Perform(CM_KWBARFONTCHANGED, 0, 0);
  }
}

void TkwBar::FontChanged(TObject*) {
  if (!FSettingOwnFont) {
    if (!FUseOwnFont) {
      SetUseOwnFont(true);
      return;
    }
    CreateBarFontHandle(FFont, FOwnFontHandle, false);
  }
  if (TkwBarWindow* window = GetControl()) {
    window->UpdateFont();
    window->Perform(CM_KWBARFONTCHANGED, 0, 0);
  }
}

void TkwBar::ManagerFontChanged() {
  TkwBarManager* manager = GetBarManager();
  if (!manager) return;
  if (FUseOwnFont) {
    CreateBarFontHandle(FFont, FOwnFontHandle, false);
  } else {
    FSettingOwnFont = true;
    FFont->Assign(manager->Font());
    FSettingOwnFont = false;
  }
  if (TkwBarWindow* window = GetControl()) window->UpdateFont();
}

void TkwBar::AddDetachingSubItem(TkwBarItem* Item) {
  if (std::find(FDetachingSubItems.begin(), FDetachingSubItems.end(), Item) == FDetachingSubItems.end())
    FDetachingSubItems.push_back(Item);
}

void TkwBar::RemoveDetachingSubItem(TkwBarItem* Item) {
  FDetachingSubItems.erase(std::remove(FDetachingSubItems.begin(), FDetachingSubItems.end(), Item),
                           FDetachingSubItems.end());
}

void TkwBar::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TkwBar*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  FAllowClose = source->FAllowClose;
  AllowCustomizing = source->AllowCustomizing;
  FAllowQuickCustomizing = source->FAllowQuickCustomizing;
  AllowReset = source->AllowReset;
  SetCaption(source->FCaption);
  SetDockedDockControl(source->FDockedDockControl);
  FDockedDockingStyle = source->FDockedDockingStyle;
  SetDockedLeft(source->FDockedLeft);
  SetDockedTop(source->FDockedTop);
  FFloatLeft = source->FFloatLeft;
  FFloatTop = source->FFloatTop;
  FFloatClientWidth = source->FFloatClientWidth;
  FFloatClientHeight = source->FFloatClientHeight;
  FHidden = source->FHidden;
  SetIsMainMenu(source->FIsMainMenu);
  FItemLinks->Assign(source->FItemLinks);
  NotDocking = source->NotDocking;
  OneOnRow = source->OneOnRow;
  FRotateWhenVertical = source->FRotateWhenVertical;
  SetRow(source->FRow);
  FWholeRow = source->FWholeRow;
  ChangeDocking(source->DockingStyle(), source->FDockControl);
  SetUseRecentItems(source->FUseRecentItems);
  SetUseRestSpace(source->FUseRestSpace);
  FSettingOwnFont = true;
  FFont->Assign(source->FFont);
  FSettingOwnFont = false;
  SetUseOwnFont(source->FUseOwnFont);
  SetVisible(source->FVisible);
}

// --- TkwBars ------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBars)

TkwBars::TkwBars(TkwBarManager* Manager) : TCollection(TkwBar::StaticClass()), FManager(Manager) {
  const TkwBarWindowClasses& classes = BarWindowClasses();
  if (classes.CreateEdgeDockSite)
    for (TkwBarDockingStyle style : {dsLeft, dsTop, dsRight, dsBottom})
      FEdgeDockSites[style] = classes.CreateEdgeDockSite(Manager, style);
}

TkwBars::~TkwBars() {
  // The bars go while the collection is whole (they call back into it), then the edge sites.
  BeginUpdate();
  while (Count() > 0) delete Items(Count() - 1);
  for (TkwDockSite*& site : FEdgeDockSites) {
    TkwDockSite* doomed = site;
    site = nullptr;
    delete doomed;
  }
}

TkwBar* TkwBars::Items(int Index) const { return static_cast<TkwBar*>(TCollection::Items(Index)); }
TkwBar* TkwBars::Add() { return static_cast<TkwBar*>(TCollection::Add()); }
TPersistent* TkwBars::GetOwner() { return FManager; }

TkwDockSite* TkwBars::EdgeDockSite(TkwBarDockingStyle Style) const {
  return Style > dsNone && Style <= dsBottom ? FEdgeDockSites[Style] : nullptr;
}

void TkwBars::ForgetEdgeDockSite(TkwDockSite* Site) {
  for (TkwDockSite*& site : FEdgeDockSites)
    if (site == Site) site = nullptr;
}

String TkwBars::MakeUniqueName(const String& Base) const {
  for (int n = 1;; ++n) {
    String name = Base + IntToStr(n);
    bool taken = false;
    for (int i = 0; i < Count() && !taken; ++i) taken = Items(i)->Name() == name;
    if (!taken) return name;
  }
}

void TkwBars::DockBarControl(TkwBarWindow* Window, TkwBarDockingStyle Style, TkwDockSite* Site, TPoint ScreenPoint) {
  TkwDockSite* target = Site ? Site : EdgeDockSite(Style);
  if (target) target->DockBarWindow(Window, ScreenPoint);
}

void TkwBars::UndockBarControl(TkwBarWindow* Window, TkwBarDockingStyle Style, TkwDockSite* Site) {
  TkwDockSite* target = Site ? Site : EdgeDockSite(Style);
  if (target) target->UndockBarWindow(Window);
}
