// This file implements the MDI side of TCustomForm: the frame's client window, the creation of
// children by the client, and the commands on the children (cascade, tile, arrange, next,
// previous, the window menu).
#include "Format.h"
#include "Forms.h"
#include "Resources.h"

void SetCreationControl(TWinControl* Control);

namespace {
// The identifier of the first child in the window menu.
constexpr UINT FirstMDIChildId = 0xFF00;
}  // namespace

void TCustomForm::CreateClientWindow() {
  CLIENTCREATESTRUCT create{FWindowMenu, FirstMDIChildId};
  TRect r = ClientRect();
  FClientHandle = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL,
                                  0, 0, r.Width(), r.Height(), FHandle, nullptr, MainInstance(), &create);
  if (!FClientHandle) throw EOSError("Impossible de créer la fenêtre cliente MDI"_a);
  // Made with its scroll bars showing, the client would draw them at its first paint, and the
  // first scroll computation hides them: an empty client needs none.
  ShowScrollBar(FClientHandle, SB_BOTH, FALSE);
  Realign();
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params) {
  if (FFormStyle != fsMDIChild) {
    TWinControl::CreateWindowHandle(Params);
    return;
  }
  TCustomForm* frame = Application->MainForm();
  if (!frame || frame->FFormStyle != fsMDIForm || !frame->HandleAllocated() || !frame->FClientHandle) {
    SetCreationControl(nullptr);
    throw EInvalidOperation("Impossible de créer la fiche. Aucune fiche MDI n'est active actuellement"_a);
  }
  MDICREATESTRUCTA create{};
  create.szClass = Params.WinClassName.c_str();
  create.szTitle = Params.Caption.c_str();
  create.hOwner = Params.WindowClass.hInstance;
  create.x = Params.X;
  create.y = Params.Y;
  create.cx = Params.Width;
  create.cy = Params.Height;
  create.style = Params.Style & ~(WS_VISIBLE | WS_MAXIMIZE);
  create.lParam = LPARAM(Params.Param);
  HWND h = HWND(SendMessageA(frame->FClientHandle, WM_MDICREATE, 0, LPARAM(&create)));
  if (h) FFormState.Include(fsCreatedMDIChild);
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (FFormStyle != fsMDIForm || !FClientHandle) return nullptr;
  HWND h = HWND(SendMessageA(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(FindControl(h));
}

int TCustomForm::MDIChildCount() const {
  if (FFormStyle != fsMDIForm || !FClientHandle) return 0;
  int count = 0;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->FFormStyle == fsMDIChild && f->HandleAllocated() && GetParent(f->FHandle) == FClientHandle) ++count;
  }
  return count;
}

TCustomForm* TCustomForm::MDIChildren(int Index) const {
  if (FFormStyle == fsMDIForm && FClientHandle) {
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f->FFormStyle == fsMDIChild && f->HandleAllocated() && GetParent(f->FHandle) == FClientHandle && Index-- == 0) {
        return f;
      }
    }
  }
  throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
}

void TCustomForm::SetWindowMenu(HMENU Value) {
  FWindowMenu = Value;
  if (FClientHandle) {
    SendMessageA(FClientHandle, WM_MDISETMENU, 0, LPARAM(Value));
    DrawMenuBar(FHandle);
  }
}

void TCustomForm::Cascade() {
  if (FFormStyle == fsMDIForm && FClientHandle) SendMessageA(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile() {
  static const WPARAM Modes[] = {MDITILE_HORIZONTAL, MDITILE_VERTICAL};
  if (FFormStyle == fsMDIForm && FClientHandle) SendMessageA(FClientHandle, WM_MDITILE, Modes[TileMode], 0);
}

void TCustomForm::ArrangeIcons() {
  if (FFormStyle == fsMDIForm && FClientHandle) SendMessageA(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next() {
  if (FFormStyle == fsMDIForm && FClientHandle) SendMessageA(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (FFormStyle == fsMDIForm && FClientHandle) SendMessageA(FClientHandle, WM_MDINEXT, 0, 1);
}
