// This file implements the layout of a windowed control's children: alignment (top, bottom, left,
// right, client, in that order, each group ordered by position) and anchors that keep their
// distances to the parent's edges when it is resized.
#include <algorithm>

#include "Controls.h"

#include "ScopeGuard.h"

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
    ControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  TScopeGuard restore([&] {
    ControlState.Exclude(csAlignmentNeeded);
    --FAlignLevel;
  });
  TRect r = ClientRect();
  AlignControls(AControl, r);
}

void TWinControl::AdjustClientRect(TRect& Rect) {
  Rect.Left += FBorderWidth;
  Rect.Top += FBorderWidth;
  Rect.Right -= FBorderWidth;
  Rect.Bottom -= FBorderWidth;
}

namespace {
// Whether C1 goes before C2 within one alignment group. AControl, the control being moved, keeps
// the place its new position asks for.
bool InsertBefore(const TControl* C1, const TControl* C2, TAlign AAlign) {
  switch (AAlign) {
    case alTop: return C1->Top() < C2->Top();
    case alBottom: return C1->Top() + C1->Height() >= C2->Top() + C2->Height();
    case alLeft: return C1->Left() < C2->Left();
    case alRight: return C1->Left() + C1->Width() >= C2->Left() + C2->Width();
    default: return false;
  }
}
}  // namespace

void TWinControl::DoAnchors(TControl* Control) {
  if (Control->FOriginalParentSize.X == 0 || Control->FOriginalParentSize.Y == 0) return;
  TRect client = ClientRect();
  TAnchors a = Control->FAnchors;
  const TPoint& original = Control->FOriginalParentSize;
  const TRect& rules = Control->FAnchorRules;
  int left = Control->Left(), top = Control->Top(), width = Control->Width(), height = Control->Height();
  if (a.Contains(akRight)) {
    if (a.Contains(akLeft)) width = client.Right - original.X + rules.Left;
    else left = client.Right - original.X + rules.Left;
  } else if (!a.Contains(akLeft)) {
    left = MulDiv(rules.Left, client.Right, original.X) - width / 2;
  }
  if (a.Contains(akBottom)) {
    if (a.Contains(akTop)) height = client.Bottom - original.Y + rules.Top;
    else top = client.Bottom - original.Y + rules.Top;
  } else if (!a.Contains(akTop)) {
    top = MulDiv(rules.Top, client.Bottom, original.Y) - height / 2;
  }
  Control->FAnchorMove = true;
  TScopeGuard restore([&] { Control->FAnchorMove = false; });
  Control->SetBounds(left, top, std::max(width, 0), std::max(height, 0));
}

void TWinControl::DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect) {
  std::vector<TControl*> list;
  if (AControl && AControl->Align() == AAlign && (AAlign == alNone || AControl->Visible())) list.push_back(AControl);
  for (TControl* c : FControls) {
    if (c == AControl || c->Align() != AAlign || (AAlign != alNone && !c->Visible())) continue;
    std::size_t j = 0;
    while (j < list.size() && !InsertBefore(c, list[j], AAlign)) ++j;
    list.insert(list.begin() + std::ptrdiff_t(j), c);
  }
  for (TControl* c : list) {
    if (AAlign == alNone) {
      if (c->Anchors() != TAnchors{akLeft, akTop}) DoAnchors(c);
      continue;
    }
    if (AAlign == alCustom) continue;
    int width = Rect.Width();
    if (width < 0 || AAlign == alLeft || AAlign == alRight) width = c->Width();
    int height = Rect.Height();
    if (height < 0 || AAlign == alTop || AAlign == alBottom) height = c->Height();
    int left = Rect.Left, top = Rect.Top;
    switch (AAlign) {
      case alTop: Rect.Top += height; break;
      case alBottom: Rect.Bottom -= height; top = Rect.Bottom; break;
      case alLeft: Rect.Left += width; break;
      case alRight: Rect.Right -= width; left = Rect.Right; break;
      default: break;
    }
    c->SetBounds(left, top, width, height);
    // A control that would not take the size it was given (constraints) gives the rest back.
    if (c->Width() != width || c->Height() != height) {
      switch (AAlign) {
        case alTop: Rect.Top -= height - c->Height(); break;
        case alBottom: Rect.Bottom += height - c->Height(); break;
        case alLeft: Rect.Left -= width - c->Width(); break;
        case alRight: Rect.Right += width - c->Width(); break;
        case alClient:
          Rect.Right += width - c->Width();
          Rect.Bottom += height - c->Height();
          break;
        default: break;
      }
    }
  }
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  bool work = std::any_of(FControls.begin(), FControls.end(), [](TControl* c) {
    return c->Align() != alNone || c->Anchors() != TAnchors{akLeft, akTop};
  });
  if (work) {
    AdjustClientRect(Rect);
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone}) DoAlign(a, AControl, Rect);
  } else {
    AdjustClientRect(Rect);
  }
  if (Showing()) AdjustSize();
}
