// This file implements TStatusBar over msctls_statusbar32, with its panels (TStatusPanels of
// TStatusPanel: text, width, alignment, bevel, owner drawing) and its simple-text mode.
#include "ComCtrls.h"

#include <algorithm>

VELBOR_IMPLEMENT_CLASS(TStatusPanel)
VELBOR_PUBLISHED(TStatusPanel,
  Prop("Text", &Self::Text, &Self::SetText),
  Prop("Width", &Self::Width, &Self::SetWidth),
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taLeftJustify),
  Prop("Bevel", &Self::Bevel, &Self::SetBevel).Default(pbLowered),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(psText))

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::SetText(const String& Value) {
  if (FText == Value) return;
  FText = Value;
  Changed(false);
}

void TStatusPanel::SetWidth(int Value) {
  if (FWidth == Value) return;
  FWidth = Value;
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
  if (FBevel == Value) return;
  FBevel = Value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed(false);
}

void TStatusPanel::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TStatusPanel*>(Source)) {
    FText = p->FText;
    FWidth = p->FWidth;
    FAlignment = p->FAlignment;
    FBevel = p->FBevel;
    FStyle = p->FStyle;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(Source);
}

String TStatusPanel::DisplayName() const { return FText.empty() ? TCollectionItem::DisplayName() : FText; }

VELBOR_IMPLEMENT_CLASS(TStatusPanels)

TStatusPanels::TStatusPanels(TStatusBar* StatusBar) : TCollection(TStatusPanel::StaticClass()), FStatusBar(StatusBar) {}

TPersistent* TStatusPanels::GetOwner() { return FStatusBar; }

void TStatusPanels::Update(TCollectionItem*) {
  if (FStatusBar) FStatusBar->UpdatePanels();
}

VELBOR_IMPLEMENT_CLASS(TStatusBar)
VELBOR_PUBLISHED(TStatusBar,
  Prop("Panels", &Self::Panels, &Self::SetPanels),
  Prop("SimplePanel", &Self::SimplePanel, &Self::SetSimplePanel).Default(false),
  Prop("SimpleText", &Self::SimpleText, &Self::SetSimpleText),
  Prop("SizeGrip", &Self::SizeGrip, &Self::SetSizeGrip).Default(true),
  Prop("OnDrawPanel", &Self::OnDrawPanel))

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner) {
  InitCommonControlClasses();
  ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
  SetColor(clBtnFace);
  FPanels = new TStatusPanels(this);
  FCanvas = new TCanvas();
}

TStatusBar::~TStatusBar() {
  Destroying();
  DestroyHandle();
  delete FCanvas;
  delete FPanels;
}

void TStatusBar::SetSimplePanel(bool Value) {
  if (FSimplePanel == Value) return;
  FSimplePanel = Value;
  if (HandleAllocated()) SendMessageA(FHandle, SB_SIMPLE, Value, 0);
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const String& Value) {
  if (FSimpleText == Value) return;
  FSimpleText = Value;
  if (HandleAllocated()) SendMessageA(FHandle, SB_SETTEXTA, 255 | SBT_NOBORDERS, LPARAM(FSimpleText.c_str()));
}

void TStatusBar::SetSizeGrip(bool Value) {
  if (FSizeGrip == Value) return;
  FSizeGrip = Value;
  RecreateWnd();
}

String TStatusBar::PartText(int Index) {
  // The simple text is the bar's one part while it shows.
  if (FSimplePanel) Index = 0;
  LRESULT info = SendMessageA(Handle(), SB_GETTEXTLENGTHA, WPARAM(Index), 0);
  String text(std::size_t(LOWORD(info)) + 1, '\0');
  SendMessageA(FHandle, SB_GETTEXTA, WPARAM(Index), LPARAM(text.data()));
  text.resize(LOWORD(info));
  return text;
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  int count = std::clamp(FPanels->Count(), 0, 64);
  std::vector<int> edges;
  int right = 0;
  for (int i = 0; i < count; ++i) {
    right += FPanels->Items(i)->Width();
    // The last panel reaches the right edge.
    edges.push_back(i == count - 1 ? -1 : right);
  }
  if (count == 0) edges.push_back(-1);
  SendMessageA(FHandle, SB_SETPARTS, WPARAM(edges.size()), LPARAM(edges.data()));
  for (int i = 0; i < count; ++i) {
    TStatusPanel* p = FPanels->Items(i);
    WPARAM flags = WPARAM(i);
    if (p->Bevel() == pbNone) flags |= SBT_NOBORDERS;
    else if (p->Bevel() == pbRaised) flags |= SBT_POPOUT;
    if (p->Style() == psOwnerDraw) {
      SendMessageA(FHandle, SB_SETTEXTA, flags | SBT_OWNERDRAW, LPARAM(p));
      continue;
    }
    // The native bar centres after one tab and right-aligns after two.
    String text = p->Text();
    if (p->Alignment() == taCenter) text = "\t" + text;
    else if (p->Alignment() == taRightJustify) text = "\t\t" + text;
    SendMessageA(FHandle, SB_SETTEXTA, flags, LPARAM(text.c_str()));
  }
  if (FSimplePanel) SendMessageA(FHandle, SB_SETTEXTA, 255 | SBT_NOBORDERS, LPARAM(FSimpleText.c_str()));
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect) {
  if (OnDrawPanel) OnDrawPanel(this, Panel, Rect);
  else FCanvas->FillRect(Rect);
}

void TStatusBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, STATUSCLASSNAMEA);
  // The bar is placed by the class library's alignment, not by the native parent tracking.
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (FSizeGrip) Params.Style |= SBARS_SIZEGRIP;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  if (FSimplePanel) SendMessageA(FHandle, SB_SIMPLE, TRUE, 0);
  UpdatePanels();
}

void TStatusBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case WM_SIZE: WMSize(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TStatusBar::CNDrawItem(TMessage& Message) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  int index = int(dis->itemID);
  {
    TCanvasDCScope scope(FCanvas, dis->hDC);
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->SetColor(clBtnFace);
    if (index >= 0 && index < FPanels->Count()) DrawPanel(FPanels->Items(index), dis->rcItem);
  }
  Message.Result = 1;
}

void TStatusBar::WMSize(TMessage& Message) {
  TWinControl::Dispatch(Message);
  // The native bar lays its parts out again on its own size message.
  if (HandleAllocated()) CallWindowProcA(FDefWndProc, FHandle, WM_SIZE, 0, 0);
}
