// This file implements TCustomForm and TForm: completion from the form description, the window's
// styles, showing (modeless and modal), closing with its actions, focus and activation, and the
// keys a form handles for its controls (Tab, arrows, shortcuts).
#include <algorithm>

#include "Dialogs.h"
#include "Forms.h"
#include "Resources.h"
#include "ScopeGuard.h"

TFormHooks FormHooks;

const TIntIdents ModalResultIdents = {
    {mrNone, "mrNone"},   {mrOk, "mrOk"},   {mrCancel, "mrCancel"}, {mrAbort, "mrAbort"},
    {mrRetry, "mrRetry"}, {mrIgnore, "mrIgnore"}, {mrYes, "mrYes"}, {mrNo, "mrNo"},
    {mrAll, "mrAll"},     {mrNoToAll, "mrNoToAll"}, {mrYesToAll, "mrYesToAll"},
};

namespace {
// Counts focus changes: a focus message whose handler moved the focus elsewhere ends the chain.
int FocusCount = 0;

bool SendFocusMessage(HWND Window, UINT Msg) {
  int count = FocusCount;
  SendMessageA(Window, Msg, 0, 0);
  return FocusCount == count;
}

bool IsClientSizeStored(TObject*) { return true; }
}  // namespace

VELBOR_IMPLEMENT_CLASS(TCustomForm)
VELBOR_PUBLISHED(TCustomForm,
  Prop("ClientWidth", &Self::ClientWidth, &Self::SetClientWidth).Stored(&IsClientSizeStored),
  Prop("ClientHeight", &Self::ClientHeight, &Self::SetClientHeight).Stored(&IsClientSizeStored),
  Prop("FormStyle", &Self::FormStyle, &Self::SetFormStyle).Default(fsNormal),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSizeable),
  Prop("BorderIcons", &Self::BorderIcons, &Self::SetBorderIcons).Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize}),
  Prop("Position", &Self::Position, &Self::SetPosition).Default(poDesigned),
  Prop("WindowState", &Self::WindowState, &Self::SetWindowState).Default(wsNormal),
  Prop("KeyPreview", &Self::KeyPreview).Default(false),
  Prop("ActiveControl", &Self::ActiveControl, &Self::SetActiveControl),
  Prop("Menu", &Self::Menu, &Self::SetMenu),
  Prop("ModalResult", &Self::ModalResult, &Self::SetModalResult).Idents(ModalResultIdents).Default(mrNone).Stored(false),
  Prop("PixelsPerInch", &Self::PixelsPerInch),
  Prop("TextHeight", &Self::TextHeight),
  Prop("Scaled", &Self::Scaled).Default(true),
  Prop("OldCreateOrder", &Self::OldCreateOrder),
  Prop("AutoScroll", &Self::AutoScroll),
  Prop("TileMode", &Self::TileMode).Default(tbHorizontal),
  Prop("OnCreate", &Self::OnCreate),
  Prop("OnDestroy", &Self::OnDestroy),
  Prop("OnShow", &Self::OnShow),
  Prop("OnHide", &Self::OnHide),
  Prop("OnActivate", &Self::OnActivate),
  Prop("OnDeactivate", &Self::OnDeactivate),
  Prop("OnPaint", &Self::OnPaint),
  Prop("OnClose", &Self::OnClose),
  Prop("OnCloseQuery", &Self::OnCloseQuery),
  Prop("OnShortCut", &Self::OnShortCut))

VELBOR_IMPLEMENT_CLASS(TForm)

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomForm(AOwner, false) {}

TCustomForm::TCustomForm(TComponent* AOwner, bool CreateNew) : TWinControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  SetParentFont(false);
  SetColor(clBtnFace);
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
  FConstructed = CreateNew;
  Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  // Freed by a bare delete, the form's own class is already gone: no OnDestroy then (Free runs it).
  if (!FDestructing) {
    FDestructing = true;
    Destroying();
    DestroyHandle();
  }
  Screen->RemoveForm(this);
  if (Application.Exists() && Application->MainForm() == this) Application->FMainForm = nullptr;
  delete FCanvas;
  FCanvas = nullptr;
}

void TCustomForm::AfterConstruction() {
  if (FConstructed) return;
  FConstructed = true;
  FFormState.Include(fsCreating);
  {
    TScopeGuard restore([&] { FFormState.Exclude(fsCreating); });
    InitInheritedComponent(this, TForm::StaticClass());
  }
  DoCreate();
  // An MDI child is visible from its creation.
  if (FFormStyle == fsMDIChild) SetVisible(true);
  else if (FVisible) UpdateControlState();
}

void TCustomForm::Free() {
  BeforeDestruction();
  delete this;
}

void TCustomForm::BeforeDestruction() {
  if (FDestructing) return;
  FDestructing = true;
  Destroying();
  auto& saved = Screen->FSaveFocusedList;
  saved.erase(std::remove(saved.begin(), saved.end(), this), saved.end());
  DoDestroy();
  MergeMenu(false);
  DestroyHandle();
}

TCanvas* TCustomForm::Canvas() const { return FCanvas; }

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenu) {
    FMenu = nullptr;
    if (FHandle) ::SetMenu(FHandle, nullptr);
  }
  if (AComponent == FActiveControl) FActiveControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

// --- Properties -----------------------------------------------------------------------------

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  // The client places a new child (cascading); it keeps its designed size.
  if (Value == fsMDIChild && FPosition == poDesigned) FPosition = poDefaultPosOnly;
  FFormStyle = Value;
  if (FHandle) RecreateWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  // The client size stays as it was set (descriptions give ClientWidth after BorderStyle).
  FBorderStyle = Value;
  if (FHandle) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  if (FHandle) RecreateWnd();
}

void TCustomForm::SetPosition(TPosition Value) { FPosition = Value; }

TWindowState TCustomForm::WindowState() const {
  if (FHandle) {
    if (IsIconic(FHandle)) return wsMinimized;
    if (IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value) {
  static const int Commands[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
  FWindowState = Value;
  if (FHandle && Showing() && !ComponentState().Contains(csLoading)) {
    if (FFormStyle == fsMDIChild && Application->MainForm()) {
      HWND client = Application->MainForm()->ClientHandle();
      if (Value == wsMaximized) SendMessageA(client, WM_MDIMAXIMIZE, WPARAM(FHandle), 0);
      else if (Value == wsNormal) SendMessageA(client, WM_MDIRESTORE, WPARAM(FHandle), 0);
      else ShowWindow(FHandle, SW_MINIMIZE);
    } else {
      ShowWindow(FHandle, Commands[Value]);
    }
  }
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  bool loading = ComponentState().Contains(csLoading);
  if (Control && (Control == this || GetParentForm(Control) != this || (!loading && !Control->CanFocus()))) {
    throw EInvalidOperation("Impossible de focaliser une fenêtre désactivée ou invisible"_a);
  }
  FActiveControl = Control;
  if (!loading && FActive) SetWindowFocus();
}

void TCustomForm::SetMenu(TComponent* Value) {
  if (FMenu == Value) return;
  if (FMenu) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (Value) Value->FreeNotification(this);
  if (FHandle && FFormStyle != fsMDIChild) {
    HMENU menu = Value && FormHooks.MenuHandle ? FormHooks.MenuHandle(Value) : nullptr;
    ::SetMenu(FHandle, menu);
  }
  // A menu given to the active form merges at once, as it would on the next activation.
  if (FActive) MergeMenu(true);
}

TRect TCustomForm::ClientRect() const {
  if (FHandle) return TWinControl::ClientRect();
  // Without a window: the frame the window would have, taken off the bounds.
  DWORD ex = 0;
  DWORD style = FrameStyle(ex);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FMenu != nullptr && FFormStyle != fsMDIChild, ex);
  return Rect(0, 0, std::max(FWidth - (r.right - r.left), 0), std::max(FHeight - (r.bottom - r.top), 0));
}

void TCustomForm::SetClientSize(int AWidth, int AHeight) {
  if (FHandle) {
    TWinControl::SetClientSize(AWidth, AHeight);
    return;
  }
  DWORD ex = 0;
  DWORD style = FrameStyle(ex);
  RECT r{0, 0, AWidth, AHeight};
  AdjustWindowRectEx(&r, style, FMenu != nullptr && FFormStyle != fsMDIChild, ex);
  SetBounds(FLeft, FTop, r.right - r.left, r.bottom - r.top);
}

// --- Window ---------------------------------------------------------------------------------

DWORD TCustomForm::FrameStyle(DWORD& ExStyle) const {
  DWORD style = 0;
  TFormBorderStyle border = FBorderStyle;
  if (FFormStyle == fsMDIChild && (border == bsNone || border == bsDialog)) border = bsSizeable;
  switch (border) {
    case bsNone:
      if (!FParent && !ParentWindow()) style |= WS_POPUP;
      break;
    case bsSingle:
    case bsToolWindow: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      style |= WS_POPUP | WS_CAPTION;
      ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (border == bsToolWindow || border == bsSizeToolWin) ExStyle |= WS_EX_TOOLWINDOW;
  TBorderIcons icons = FBorderIcons;
  if (border == bsNone) icons = {};
  else if (border == bsDialog || border == bsToolWindow || border == bsSizeToolWin) icons = icons * TBorderIcons{biSystemMenu, biHelp};
  if (icons.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    if (icons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
    if (icons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    if (icons.Contains(biHelp) && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) ExStyle |= WS_EX_CONTEXTHELP;
  }
  if (FFormStyle == fsStayOnTop) ExStyle |= WS_EX_TOPMOST;
  return style;
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  if (!FParent && !ParentWindow()) {
    Params.WndParent = Application->Handle();
    Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
  }
  Params.WindowClass.style = CS_DBLCLKS;
  if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
    Params.X = CW_USEDEFAULT;
    Params.Y = CW_USEDEFAULT;
  }
  if (FPosition == poDefault || FPosition == poDefaultSizeOnly) {
    Params.Width = CW_USEDEFAULT;
    Params.Height = CW_USEDEFAULT;
  }
  DWORD ex = 0;
  Params.Style |= FrameStyle(ex);
  Params.ExStyle = (Params.ExStyle & WS_EX_CONTROLPARENT) | ex;
  if (FFormStyle == fsMDIChild) {
    Params.Style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_MDICHILD;
  }
  if (FFormStyle == fsMDIForm) Params.Style |= WS_CLIPCHILDREN;
  if (FWindowState == wsMinimized && FFormStyle != fsMDIChild) Params.Style |= WS_MINIMIZE;
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (FFormStyle == fsMDIForm && !FClientHandle) CreateClientWindow();
  if (FMenu && FFormStyle != fsMDIChild && FormHooks.MenuHandle) ::SetMenu(FHandle, FormHooks.MenuHandle(FMenu));
}

// MDI children are made by the MDI client (WM_MDICREATE), which creates, shows and activates them.
void TCustomForm::DestroyWindowHandle() {
  if (FFormStyle == fsMDIChild && FClientHandle == nullptr && Application.Exists() && Application->MainForm() &&
      Application->MainForm()->ClientHandle() && FFormState.Contains(fsCreatedMDIChild)) {
    ControlState.Include(csDestroyingHandle);
    SendMessageA(Application->MainForm()->ClientHandle(), WM_MDIDESTROY, WPARAM(FHandle), 0);
    ControlState.Exclude(csDestroyingHandle);
    FHandle = nullptr;
    FFormState.Exclude(fsCreatedMDIChild);
  } else {
    TWinControl::DestroyWindowHandle();
  }
  FClientHandle = nullptr;
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  if (FClientHandle) {
    SetWindowPos(FClientHandle, HWND_BOTTOM, Rect.Left, Rect.Top, std::max(Rect.Width(), 0),
                 std::max(Rect.Height(), 0), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TCustomForm::PaintWindow(HDC DC) {
  {
    TCanvasDCScope scope(FCanvas, DC);
    Paint();
  }
}

void TCustomForm::VisibleChanging() {
  if (FFormStyle == fsMDIChild && FVisible && !ComponentState().Contains(csDestroying)) {
    throw EInvalidOperation("Impossible de cacher une fiche enfant MDI");
  }
}

// --- Showing and closing --------------------------------------------------------------------

void TCustomForm::Show() {
  AfterConstruction();
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::PositionForm() {
  if (FPositioned) return;
  TPosition pos = FPosition;
  TCustomForm* center = nullptr;
  if (pos == poMainFormCenter || pos == poOwnerFormCenter) {
    center = pos == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
    if (!center && Application.Exists()) center = Application->MainForm();
    if (center == this || (center && !center->HandleAllocated())) center = nullptr;
    if (!center) pos = poScreenCenter;
  }
  if (FFormStyle == fsMDIChild) return;
  if (pos == poScreenCenter || pos == poDesktopCenter) {
    TRect area = Screen->WorkAreaRect();
    SetBounds(area.Left + (area.Width() - FWidth) / 2, area.Top + (area.Height() - FHeight) / 2, FWidth, FHeight);
    FPositioned = true;
  } else if (center) {
    TRect r = center->BoundsRect();
    SetBounds(r.Left + (r.Width() - FWidth) / 2, r.Top + (r.Height() - FHeight) / 2, FWidth, FHeight);
    FPositioned = true;
  }
}

void TCustomForm::CMShowingChanged(TMessage&) {
  static const int ShowCommands[] = {SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
  if (FFormState.Contains(fsShowing)) throw EInvalidOperation("Impossible de modifier Visible dans OnShow ou OnHide");
  FFormState.Include(fsShowing);
  TScopeGuard restore([&] { FFormState.Exclude(fsShowing); });
  if (Showing()) {
    DoShow();
    PositionForm();
    if (FFormStyle == fsMDIChild) {
      HWND client = Application->MainForm() ? Application->MainForm()->ClientHandle() : nullptr;
      if (FWindowState == wsMaximized && client) {
        ShowWindow(FHandle, SW_SHOWMAXIMIZED);
      } else {
        ShowWindow(FHandle, ShowCommands[FWindowState]);
      }
      if (client) {
        SendMessageA(client, WM_MDIACTIVATE, WPARAM(FHandle), 0);
        SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
      }
      // The client activated the child while it was being created, before its controls had
      // windows: the active control takes the focus now that they show.
      if (FActive) SetWindowFocus();
    } else {
      ShowWindow(FHandle, ShowCommands[FWindowState]);
    }
  } else {
    DoHide();
    if (Screen->ActiveForm() == this) MergeMenu(false);
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    if (FActive && FFormStyle != fsMDIChild) {
      // The next form up takes the activation the hidden one had.
      FActive = false;
      for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f != this && f->HandleAllocated() && IsWindowVisible(f->FHandle) && IsWindowEnabled(f->FHandle) &&
            f->FFormStyle != fsMDIChild) {
          SetActiveWindow(f->FHandle);
          break;
        }
      }
    }
  }
}

namespace {
struct TTaskWindowList {
  HWND Except;
  std::vector<HWND> Windows;
};

BOOL CALLBACK DisableTaskWindow(HWND Window, LPARAM Data) {
  auto* list = reinterpret_cast<TTaskWindowList*>(Data);
  if (Window != list->Except && IsWindowVisible(Window) && IsWindowEnabled(Window)) list->Windows.push_back(Window);
  return TRUE;
}
}  // namespace

std::vector<HWND> DisableTaskWindows(HWND Except) {
  TTaskWindowList list{Except, {}};
  EnumThreadWindows(GetCurrentThreadId(), &DisableTaskWindow, LPARAM(&list));
  for (HWND w : list.Windows) EnableWindow(w, FALSE);
  return list.Windows;
}

void EnableTaskWindows(const std::vector<HWND>& Windows) {
  for (HWND w : Windows) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
}

TModalResult TCustomForm::ShowModal() {
  AfterConstruction();
  if (FVisible || !FEnabled || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild) {
    throw EInvalidOperation("Impossible de rendre modale une fenêtre visible"_a);
  }
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  FFormState.Include(fsModal);
  HWND activeWindow = GetActiveWindow();
  Screen->FSaveFocusedList.insert(Screen->FSaveFocusedList.begin(), Screen->FFocusedForm);
  Screen->FFocusedForm = this;
  TCursor savedCursor = Screen->Cursor();
  Screen->SetCursor(crDefault);
  // Every other window of the program is disabled while the form runs.
  std::vector<HWND> disabled = DisableTaskWindows(Handle());
  TScopeGuard restoreProgram([&] {
    EnableTaskWindows(disabled);
    if (!Screen->FSaveFocusedList.empty()) {
      Screen->FFocusedForm = Screen->FSaveFocusedList.front();
      Screen->FSaveFocusedList.erase(Screen->FSaveFocusedList.begin());
    }
    Screen->SetCursor(savedCursor);
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    FFormState.Exclude(fsModal);
  });
  TModalResult result = mrNone;
  Show();
  TScopeGuard hide([&] { Hide(); });
  SendMessageA(FHandle, CM_ACTIVATE, 0, 0);
  FModalResult = mrNone;
  do {
    Application->HandleMessage();
    if (Application->Terminated()) FModalResult = mrCancel;
    else if (FModalResult != mrNone) CloseModal();
  } while (FModalResult == mrNone);
  result = FModalResult;
  SendMessageA(FHandle, CM_DEACTIVATE, 0, 0);
  if (GetActiveWindow() != FHandle) activeWindow = nullptr;
  return result;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  switch (action) {
    case caNone: FModalResult = mrNone; break;
    case caFree: Release(); break;
    default: break;
  }
}

bool TCustomForm::CloseQuery() {
  if (FFormStyle == fsMDIForm) {
    for (int i = 0; i < MDIChildCount(); ++i) {
      if (!MDIChildren(i)->CloseQuery()) return false;
    }
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action;
  if (FFormStyle == fsMDIChild) action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
  else action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application.Exists() && Application->MainForm() == this) Application->Terminate();
  else if (action == caHide) Hide();
  else if (action == caMinimize) SetWindowState(wsMinimized);
  else Release();
}

void TCustomForm::Release() {
  if (FHandle) PostMessageA(FHandle, CM_RELEASE, 0, 0);
  else if (Application->Handle()) PostMessageA(Application->Handle(), CM_RELEASE, 0, LPARAM(this));
}

// The one destruction point of a form that frees itself on close: the posted release message,
// handled once the message that closed it has returned.
void TCustomForm::CMRelease(TMessage&) {
  BeforeDestruction();
  delete this;
}

// --- Focus and activation -------------------------------------------------------------------

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!FVisible || !FEnabled) throw EInvalidOperation("Impossible de focaliser une fenêtre désactivée ou invisible"_a);
  SetWindowFocus();
}

bool TCustomForm::Focused() const { return FActive && FActiveControl == nullptr; }

void TCustomForm::FocusControl(TWinControl* Control) {
  bool wasActive = FActive;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::SetWindowFocus() {
  TWinControl* target = FActiveControl ? FActiveControl : this;
  if (!target->HandleAllocated() && !Showing()) return;
  ::SetFocus(target->Handle());
}

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (!Value || ComponentState().Contains(csDestroying)) return;
  if (!FActiveControl && !ComponentState().Contains(csDesigning)) {
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FActiveControl = first;
  }
  MergeMenu(true);
  SetWindowFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  // A form going away runs no focus events: its handlers may already be gone.
  if (ComponentState().Contains(csDestroying)) return true;
  // The MDI client gives the focus to the child's window: the child passes it on to its active
  // control, which reports in its turn.
  if (Control == this && FFormStyle == fsMDIChild && FActiveControl && FActiveControl != this &&
      FActiveControl->CanFocus()) {
    ::SetFocus(FActiveControl->Handle());
    return false;
  }
  ++FocusCount;
  FActiveControl = Control != this ? Control : nullptr;
  Screen->SetActive(this, Control);
  if (Control->ControlState.Contains(csFocusing)) return false;
  Control->ControlState.Include(csFocusing);
  bool done = false;
  TScopeGuard restore([&] { Control->ControlState.Exclude(csFocusing); });
  do {
    if (Screen->FFocusedForm != this) {
      if (TCustomForm* previous = Screen->FFocusedForm) {
        Screen->FFocusedForm = nullptr;
        if (previous->HandleAllocated() && !SendFocusMessage(previous->FHandle, CM_DEACTIVATE)) break;
      }
      Screen->FFocusedForm = this;
      if (!SendFocusMessage(FHandle, CM_ACTIVATE)) break;
    }
    if (!FFocusedControl) FFocusedControl = this;
    if (FFocusedControl != Control) {
      bool moved = false;
      while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
        HWND h = FFocusedControl->Handle();
        FFocusedControl = FFocusedControl->Parent();
        if (!SendFocusMessage(h, CM_EXIT)) {
          moved = true;
          break;
        }
      }
      if (moved) break;
      while (FFocusedControl != Control) {
        TWinControl* step = Control;
        while (step->Parent() != FFocusedControl) step = step->Parent();
        FFocusedControl = step;
        if (!SendFocusMessage(step->Handle(), CM_ENTER)) {
          moved = true;
          break;
        }
      }
      if (moved) break;
      Perform(CM_FOCUSCHANGED, 0, LPARAM(Control));
    }
    done = true;
  } while (false);
  return done;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && FFocusedControl && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->Parent();
  if (Removing && Screen.Exists() && Screen->FActiveControl && Control->ContainsControl(Screen->FActiveControl)) {
    Screen->FActiveControl = nullptr;
  }
  if (FActiveControl && Control->ContainsControl(FActiveControl)) {
    if (ComponentState().Contains(csDestroying)) FActiveControl = nullptr;
    else SetActiveControl(nullptr);
  }
}

void TCustomForm::MergeMenu(bool MergeState) {
  if (FormHooks.MergeMenu) FormHooks.MergeMenu(this, MergeState);
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  bool handled = false;
  if (OnShortCut) OnShortCut(Message, handled);
  if (!handled && FormHooks.IsShortCut) handled = FormHooks.IsShortCut(this, Message);
  return handled;
}

void TCustomForm::UpdateActions() {
  if (FormHooks.UpdateActions) FormHooks.UpdateActions(this);
}

// --- Messages -------------------------------------------------------------------------------

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_MDIACTIVATE: WMMDIActivate(Message); break;
    case WM_CLOSE: WMClose(Message); break;
    case WM_QUERYENDSESSION: WMQueryEndSession(Message); break;
    case WM_SYSCOMMAND: WMSysCommand(Message); break;
    case WM_DESTROY: WMDestroy(Message); break;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_ACTIVATE: CMActivate(Message); break;
    case CM_DEACTIVATE: CMDeactivate(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_RELEASE: CMRelease(Message); break;
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (!FormHooks.MenuMessage || !FormHooks.MenuMessage(this, Message)) TWinControl::Dispatch(Message);
      break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TCustomForm::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TWinControl::DefaultHandler(Message);
    return;
  }
  if (Message.Msg >= CM_BASE && Message.Msg < CN_BASE + 0x400) {
    TWinControl::DefaultHandler(Message);
    return;
  }
  // The frame places its client window itself (AlignControls, after WM_SIZE): the frame procedure
  // would first stretch it over the whole client area, under the aligned controls, and the client
  // would erase and paint at a size it keeps for no time.
  if (FClientHandle && Message.Msg == WM_SIZE) {
    TWinControl::DefaultHandler(Message);
  } else if (FClientHandle) {
    Message.Result = DefFrameProcA(FHandle, FClientHandle, Message.Msg, Message.WParam, Message.LParam);
    if (Message.Msg == WM_DESTROY) FClientHandle = nullptr;
  } else if (FFormStyle == fsMDIChild) {
    Message.Result = DefMDIChildProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
  } else {
    TWinControl::DefaultHandler(Message);
  }
}

void TCustomForm::WMActivate(TMessage& Message) {
  if (FFormStyle == fsMDIForm) {
    // The frame passes the focus on to its active child (the native frame procedure does).
    DefaultHandler(Message);
    FActive = LOWORD(Message.WParam) != WA_INACTIVE;
    return;
  }
  SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
}

void TCustomForm::WMMDIActivate(TMessage& Message) {
  DefaultHandler(Message);
  if (FFormStyle == fsMDIChild) SetActive(HWND(Message.LParam) == FHandle);
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMQueryEndSession(TMessage& Message) { Message.Result = CloseQuery() ? 1 : 0; }

void TCustomForm::WMSysCommand(TMessage& Message) {
  WPARAM command = Message.WParam & 0xFFF0;
  if ((command == SC_MINIMIZE || command == SC_RESTORE || command == SC_MAXIMIZE) && FFormStyle != fsMDIChild) {
    // The form keeps its own state in step with what the user asked.
    DefaultHandler(Message);
    FWindowState = command == SC_MINIMIZE ? wsMinimized : command == SC_MAXIMIZE ? wsMaximized : wsNormal;
    return;
  }
  DefaultHandler(Message);
}

void TCustomForm::WMDestroy(TMessage& Message) {
  if (FMenu && FHandle) ::SetMenu(FHandle, nullptr);
  TWinControl::Dispatch(Message);
}

void TCustomForm::WMGetMinMaxInfo(TMessage& Message) {
  auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  TSizeConstraints* c = Constraints();
  DefaultHandler(Message);
  if (c->MinWidth() > 0) info->ptMinTrackSize.x = c->MinWidth();
  if (c->MinHeight() > 0) info->ptMinTrackSize.y = c->MinHeight();
  if (c->MaxWidth() > 0) info->ptMaxTrackSize.x = c->MaxWidth();
  if (c->MaxHeight() > 0) info->ptMaxTrackSize.y = c->MaxHeight();
}

// The state follows the sizes of a window on screen only: a hidden one is sized by its creation
// (the MDI client makes a child hidden and restored), which must not overwrite the state that
// showing will apply.
void TCustomForm::WMSize(TMessage& Message) {
  if (FHandle && !FFormState.Contains(fsShowing) && IsWindowVisible(FHandle)) {
    if (Message.WParam == SIZE_MINIMIZED) FWindowState = wsMinimized;
    else if (Message.WParam == SIZE_MAXIMIZED) FWindowState = wsMaximized;
    else if (Message.WParam == SIZE_RESTORED) FWindowState = wsNormal;
  }
  TWinControl::Dispatch(Message);
}

void TCustomForm::WMEraseBkgnd(TMessage& Message) {
  if (FFormStyle == fsMDIForm) {
    Message.Result = 1;
    return;
  }
  TWinControl::Dispatch(Message);
}

void TCustomForm::CMActivate(TMessage&) {
  if (ComponentState().Contains(csReading)) FFormState.Include(fsActivated);
  else Activate();
}

void TCustomForm::CMDeactivate(TMessage&) {
  if (!ComponentState().Contains(csReading)) Deactivate();
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(FActiveControl, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN,
                                              false);
          Message.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  TWinControl::Dispatch(Message);
}
