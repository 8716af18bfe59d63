// This file implements TWinControl's window life (creation parameters, class registration,
// subclassing of native controls, destruction and re-creation), its children, focus and Tab order,
// and the dynamic methods of the keyboard.
#include <algorithm>

#include "Controls.h"
#include "Format.h"
#include "Forms.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "TextOrder.h"

void SetCreationControl(TWinControl* Control);
void ForgetCaptureControl(TControl* Control);

namespace {
bool IsTabStopStored(TObject*) { return true; }
}  // namespace

VELBOR_IMPLEMENT_CLASS(TWinControl)
VELBOR_PUBLISHED(TWinControl,
  Prop("TabStop", &Self::TabStop, &Self::SetTabStop).Stored(&IsTabStopStored),
  Prop("TabOrder", &Self::TabOrder, &Self::SetTabOrder),
  Prop("BorderWidth", &Self::BorderWidth, &Self::SetBorderWidth).Default(0),
  Prop("DoubleBuffered", &Self::DoubleBuffered).Default(false),
  Prop("OnEnter", &Self::OnEnter),
  Prop("OnExit", &Self::OnExit),
  Prop("OnKeyDown", &Self::OnKeyDown),
  Prop("OnKeyUp", &Self::OnKeyUp),
  Prop("OnKeyPress", &Self::OnKeyPress))

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FBrush = new TBrush();
  FBrush->SetColor(FColor);
}

TWinControl::~TWinControl() {
  Destroying();
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, true);
  // The window goes first (children's windows with it), then the child controls, which leave
  // their owner's list as they go.
  DestroyHandle();
  while (!FControls.empty()) delete FControls.back();
  SetParent(nullptr);
  delete FBrush;
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent || FParentWindow == Value) return;
  if (FHandle && Value) {
    ::SetParent(FHandle, Value);
  } else {
    DestroyHandle();
  }
  FParentWindow = Value;
  UpdateControlState();
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return FControls[std::size_t(Index)];
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    LONG style = GetWindowLongA(FHandle, GWL_STYLE);
    SetWindowLongA(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (ControlState.Contains(csReadingState) || ComponentState().Contains(csReading)) {
    FReadTabOrder = Value;
    return;
  }
  if (!FParent) return;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  Value = std::clamp(Value, 0, int(list.size()));
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetBorderWidth(int Value) {
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

TRect TWinControl::ClientRect() const {
  if (FHandle) {
    RECT r;
    GetClientRect(FHandle, &r);
    return r;
  }
  return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() const {
  POINT p{0, 0};
  ::ClientToScreen(const_cast<TWinControl*>(this)->Handle(), &p);
  return TPoint(p.x, p.y);
}

// --- Window life ----------------------------------------------------------------------------

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle.Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!ComponentState().Contains(csDesigning) && !FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProcA;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  Params.WindowClass.hbrBackground = nullptr;
  Params.WindowClass.hInstance = MainInstance();
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  HINSTANCE instance = Params.WindowClass.hInstance;
  WNDCLASSA native{};
  if (!GetClassInfoA(instance, ControlClassName, &native) && !GetClassInfoA(nullptr, ControlClassName, &native)) {
    throw EOSError(Format("Classe de fenêtre %s introuvable"_a, {String(ControlClassName)}));
  }
  Params.WindowClass = native;
  Params.WindowClass.hInstance = instance;
  Params.WindowClass.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
}

LRESULT CALLBACK InitWndProc(HWND, UINT, WPARAM, LPARAM);

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD)) {
    throw EInvalidOperation(Format("Le contrôle '%s' n'a pas de fenêtre parente"_a, {Name()}));
  }
  FDefWndProc = params.WindowClass.lpfnWndProc;
  WNDCLASSA registered{};
  bool known = GetClassInfoA(params.WindowClass.hInstance, params.WinClassName.c_str(), &registered);
  if (!known || registered.lpfnWndProc != &InitWndProc) {
    if (known) UnregisterClassA(params.WinClassName.c_str(), params.WindowClass.hInstance);
    params.WindowClass.lpfnWndProc = &InitWndProc;
    params.WindowClass.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassA(&params.WindowClass)) throw EOSError("Impossible d'enregistrer la classe " + params.WinClassName);
  }
  SetCreationControl(this);
  ControlState.Include(csCreating);
  {
    TScopeGuard restore([&] {
      SetCreationControl(nullptr);
      ControlState.Exclude(csCreating);
    });
    CreateWindowHandle(params);
  }
  if (!FHandle) throw EOSError(Format("Impossible de créer la fenêtre de '%s'"_a, {Name()}));
  UpdateBounds();
  SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->Handle()), 1);
  if (AutoSize()) AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                  Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, Params.WindowClass.hInstance,
                  Params.Param);
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (FParent) {
    SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (TControl* c : FControls) c->UpdateAnchorRules();
}

void TWinControl::DestroyWnd() {
  int length = GetWindowTextLengthA(FHandle);
  String text(std::size_t(std::max(length, 0)), '\0');
  if (length > 0) text.resize(std::size_t(GetWindowTextA(FHandle, text.data(), length + 1)));
  FText = text;
  FreeDeviceContexts();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  ControlState.Include(csDestroyingHandle);
  HWND h = FHandle;
  DestroyWindow(h);
  ControlState.Exclude(csDestroyingHandle);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* c : FControls) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  }
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND);
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) const {
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  if (it != FControls.end()) {
    for (++it; it != FControls.end(); ++it) {
      if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->FHandle) return w->FHandle;
    }
  }
  return HWND_TOP;
}

void TWinControl::UpdateShowing() {
  bool show = (FVisible || ComponentState().Contains(csDesigning)) && !ControlState.Contains(csReadingState);
  if (show) {
    if (!FHandle) CreateHandle();
    for (TControl* c : std::vector<TControl*>(FControls)) {
      if (auto* w = dynamic_cast<TWinControl*>(c)) w->UpdateShowing();
    }
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  const TWinControl* top = this;
  while (top->FParent) {
    top = top->FParent;
    if (!top->Showing()) return;
  }
  if (dynamic_cast<const TCustomForm*>(top) || top->FParentWindow) UpdateShowing();
}

void TWinControl::UpdateBounds() {
  if (!FHandle || IsIconic(FHandle)) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  if (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD) {
    if (HWND parent = GetParent(FHandle)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  UpdateBoundsRect(r);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TRect r = ConstrainedBounds(ALeft, ATop, AWidth, AHeight);
  if (r == BoundsRect()) return;
  if (FHandle && !IsIconic(FHandle)) {
    // The window reports its new bounds back through WM_WINDOWPOSCHANGED and WM_SIZE.
    SetWindowPos(FHandle, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBoundsRect(r);
  } else {
    UpdateBoundsRect(r);
    if (FHandle) {
      WINDOWPLACEMENT wp{};
      wp.length = sizeof(wp);
      GetWindowPlacement(FHandle, &wp);
      wp.rcNormalPosition = r;
      SetWindowPlacement(FHandle, &wp);
    } else if (!ComponentState().Contains(csLoading)) {
      Realign();
    }
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  FReparenting = FHandle && AParent && !ComponentState().Contains(csDestroying);
  TScopeGuard restore([&] { FReparenting = false; });
  TControl::SetParent(AParent);
}

// --- Children -------------------------------------------------------------------------------

void TWinControl::InsertControl(TControl* AControl) {
  AControl->ValidateContainer(this);
  Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), TRUE);
  FControls.push_back(AControl);
  AControl->FParent = this;
  auto* win = dynamic_cast<TWinControl*>(AControl);
  if (win) {
    FTabList.push_back(win);
    if (win->FHandle) {
      // Re-parenting a live window: the window moves, its content stays.
      ::SetParent(win->FHandle, Handle());
      SetWindowPos(win->FHandle, PrecedingWindow(win), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  if (!AControl->ComponentState().Contains(csLoading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    if (win) win->UpdateControlState();
    else AControl->Invalidate();
    AlignControl(AControl);
  }
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), TRUE);
}

void TWinControl::RemoveControl(TControl* AControl) {
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), FALSE);
  if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
    if (TCustomForm* form = GetParentForm(win)) form->DefocusControl(win, true);
    if (!win->FReparenting) win->DestroyHandle();
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), win), FTabList.end());
    if (win->FShowing && win->FReparenting) win->FShowing = false;
  } else {
    AControl->Invalidate();
    ForgetCaptureControl(AControl);
  }
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  AControl->FParent = nullptr;
  Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), FALSE);
  if (!ComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  while (Control && Control != this) Control = Control->Parent();
  return Control == this;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!AllowWinControls && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
    if (c->BoundsRect().Contains(Pos)) {
      TMessage hit{CM_HITTEST, 0, MAKELPARAM(WORD(Pos.X - c->Left()), WORD(Pos.Y - c->Top())), 0};
      c->WindowProc(hit);
      if (hit.Result != 0) return c;
    }
  }
  return nullptr;
}

TControl* TWinControl::FindChildControl(const String& ControlName) const {
  for (TControl* c : FControls) {
    if (SameText(c->Name(), ControlName)) return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (TControl* c : std::vector<TControl*>(FControls)) {
    c->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TControl* c : std::vector<TControl*>(FControls))
    if (c->Owner() == Root) Proc(c);
  TControl::GetChildren(Proc, Root);
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && ControlState.Contains(csAlignmentNeeded) && !ComponentState().Contains(csLoading)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::SetZOrder(bool TopMost) {
  TControl::SetZOrder(TopMost);
  if (FHandle) {
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (FHandle) UpdateBounds();
  Realign();
}

void TWinControl::ReadState(TReader* Reader) {
  DisableAlign();
  TScopeGuard enableAlign([&] { EnableAlign(); });
  TControl::ReadState(Reader);
  // Tab orders read from the description apply now that every sibling is there.
  std::vector<std::pair<int, TWinControl*>> ordered;
  for (std::size_t i = 0; i < FTabList.size(); ++i) {
    TWinControl* c = FTabList[i];
    ordered.emplace_back(c->FReadTabOrder >= 0 ? c->FReadTabOrder : int(i), c);
    c->FReadTabOrder = -1;
  }
  std::stable_sort(ordered.begin(), ordered.end(), [](auto& a, auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < ordered.size(); ++i) FTabList[i] = ordered[i].second;
}

// --- Focus and Tab order ----------------------------------------------------------------------

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  for (const TWinControl* c = this; c && c != form; c = c->FParent) {
    if (!c->FVisible || !c->FEnabled) return false;
  }
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
  } else if (FParentWindow) {
    ::SetFocus(Handle());
  } else {
    throw EInvalidOperation(Format("Le contrôle '%s' n'a pas de fenêtre parente"_a, {Name()}));
  }
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int count = int(list.size());
  auto found = std::find(list.begin(), list.end(), CurControl);
  int start = found == list.end() ? (GoForward ? count - 1 : 0) : int(found - list.begin());
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[std::size_t(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) next->SetFocus();
}

// --- Keyboard ---------------------------------------------------------------------------------

bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyDown(Message)) return true;
  if (!ControlStyle.Contains(csNoStdEvents)) {
    WORD key = WORD(Message.WParam);
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyUp(Message)) return true;
  if (!ControlStyle.Contains(csNoStdEvents)) {
    WORD key = WORD(Message.WParam);
    KeyUp(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyPress(Message)) return true;
  if (!ControlStyle.Contains(csNoStdEvents)) {
    char c = char(Message.WParam);
    KeyPress(c);
    Message.WParam = WPARAM(static_cast<unsigned char>(c));
    if (c == 0) return true;
  }
  return false;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::SetTextImpl(const String& Value) {
  FText = Value;
  if (FHandle) SetWindowTextA(FHandle, Value.c_str());
}

String TWinControl::GetText() const {
  if (!FHandle) return FText;
  int length = GetWindowTextLengthA(FHandle);
  if (length <= 0) return String();
  String text(std::size_t(length), '\0');
  text.resize(std::size_t(GetWindowTextA(FHandle, text.data(), length + 1)));
  return text;
}

// --- Helpers ----------------------------------------------------------------------------------

TCustomForm* GetParentForm(const TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(Control));
}

bool IsAccel(WORD VK, const String& Caption) {
  for (std::size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return AnsiUpperChar(Caption[i + 1]) == AnsiUpperChar(char(VK));
  }
  return false;
}
