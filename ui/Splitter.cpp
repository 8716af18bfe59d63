// This file implements TSplitter: finding the neighbour it resizes, the drag with its limits
// and feedback line, and its painting.
#include "Splitter.h"

#include <algorithm>

VELBOR_IMPLEMENT_CLASS(TSplitter)
VELBOR_PUBLISHED(TSplitter,
  Prop("Beveled", &Self::Beveled, &Self::SetBeveled).Default(false),
  Prop("MinSize", &Self::MinSize, &Self::SetMinSize).Default(30),
  Prop("ResizeStyle", &Self::ResizeStyle).Default(rsPattern),
  Prop("AutoSnap", &Self::AutoSnap).Default(true),
  Prop("OnCanResize", &Self::OnCanResize),
  Prop("OnMoved", &Self::OnMoved),
  Prop("OnPaint", &Self::OnPaint))

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle = {csCaptureMouse};
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
  SetCursor(crHSplit);
}

TSplitter::~TSplitter() = default;

void TSplitter::SetBeveled(bool Value) {
  if (FBeveled == Value) return;
  FBeveled = Value;
  Invalidate();
}

void TSplitter::SetMinSize(int Value) { FMinSize = std::max(Value, 1); }

TControl* TSplitter::ResizeControl() const {
  if (!FParent) return nullptr;
  // The edge of the splitter that touches the resized control.
  TPoint edge;
  switch (Align()) {
    case alLeft: edge = TPoint(Left() - 1, Top()); break;
    case alRight: edge = TPoint(Left() + Width(), Top()); break;
    case alTop: edge = TPoint(Left(), Top() - 1); break;
    case alBottom: edge = TPoint(Left(), Top() + Height()); break;
    default: return nullptr;
  }
  for (int i = 0; i < FParent->ControlCount(); ++i) {
    TControl* c = FParent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    TRect r = c->BoundsRect();
    bool touches = Horizontal() ? (edge.X >= r.Left && edge.X < r.Right && r.Top <= edge.Y && edge.Y < r.Bottom + 1)
                                : (edge.Y >= r.Top && edge.Y < r.Bottom && r.Left <= edge.X && edge.X < r.Right + 1);
    if (touches) return c;
  }
  return nullptr;
}

bool TSplitter::CanResize(int& NewSize) {
  bool accept = true;
  if (OnCanResize) OnCanResize(this, NewSize, accept);
  return accept;
}

int TSplitter::SizeFor(TPoint Pos) const {
  int delta = Horizontal() ? Pos.X - FDownPos.X : Pos.Y - FDownPos.Y;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  int size = FOldSize + delta;
  if (size > FMaxSize) size = FMaxSize;
  if (size < FMinSize) size = (AutoSnap && size < FMinSize / 2) ? 0 : FMinSize;
  return size;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FControl = ResizeControl();
  if (!FControl) return;
  FDownPos = TPoint(Left() + X, Top() + Y);
  FOldSize = Horizontal() ? FControl->Width() : FControl->Height();
  FNewSize = FOldSize;
  // Room for the resized control: what the parent's client area leaves past the other controls,
  // keeping MinSize for the client-aligned one.
  TRect client = FParent->ClientRect();
  int others = 0;
  for (int i = 0; i < FParent->ControlCount(); ++i) {
    TControl* c = FParent->Controls(i);
    if (c == FControl || !c->Visible()) continue;
    if (Horizontal() && (c->Align() == alLeft || c->Align() == alRight)) others += c->Width();
    if (!Horizontal() && (c->Align() == alTop || c->Align() == alBottom)) others += c->Height();
  }
  FMaxSize = (Horizontal() ? client.Width() : client.Height()) - others - FMinSize;
  if (ResizeStyle == rsLine || ResizeStyle == rsPattern) DrawLine();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FControl || !Shift.Contains(ssLeft)) return;
  int size = SizeFor(TPoint(Left() + X, Top() + Y));
  if (size == FNewSize || !CanResize(size)) return;
  if (ResizeStyle == rsLine || ResizeStyle == rsPattern) DrawLine();
  FNewSize = size;
  if (ResizeStyle == rsUpdate) UpdateSize(FNewSize);
  else if (ResizeStyle == rsLine || ResizeStyle == rsPattern) DrawLine();
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FControl || Button != mbLeft) return;
  if (FLineVisible) DrawLine();
  UpdateSize(FNewSize);
  StopSizing();
}

void TSplitter::UpdateSize(int NewSize) {
  if (!FControl) return;
  if (NewSize == 0) {
    FControl->SetVisible(false);
    return;
  }
  if (Horizontal()) {
    int left = Align() == alRight ? FControl->Left() + FControl->Width() - NewSize : FControl->Left();
    FControl->SetBounds(left, FControl->Top(), NewSize, FControl->Height());
  } else {
    int top = Align() == alBottom ? FControl->Top() + FControl->Height() - NewSize : FControl->Top();
    FControl->SetBounds(FControl->Left(), top, FControl->Width(), NewSize);
  }
  // The splitter follows its neighbour's new edge.
  FParent->Realign();
  FParent->Update();
}

void TSplitter::StopSizing() {
  FControl = nullptr;
  if (OnMoved) OnMoved(this);
}

// The feedback line: an inverted bar on the parent's window where the edge would go.
void TSplitter::DrawLine() {
  if (!FParent || !FControl) return;
  FLineVisible = !FLineVisible;
  TWindowDC dc(FParent->Handle(), DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  int delta = FNewSize - FOldSize;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  if (Horizontal()) PatBlt(dc, Left() + delta, Top(), Width(), Height(), PATINVERT);
  else PatBlt(dc, Left(), Top() + delta, Width(), Height(), PATINVERT);
}

void TSplitter::Paint() {
  // Align may have changed since the last paint: the cursor follows the direction.
  UpdateCursor();
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (FBeveled) {
    RECT edge = r;
    DrawEdge(c->Handle(), &edge, BDR_RAISEDINNER, Horizontal() ? (BF_LEFT | BF_RIGHT) : (BF_TOP | BF_BOTTOM));
  }
  if (OnPaint) OnPaint(this);
}

void TSplitter::UpdateCursor() { SetCursor(Horizontal() ? crHSplit : crVSplit); }

void TSplitter::Loaded() {
  TGraphicControl::Loaded();
  UpdateCursor();
}

void RegisterSplitter() { RegisterClass(TSplitter::StaticClass()); }
