// This file implements the preview window's life, options, layout, painting, page navigation,
// keys, mouse, wheel and scroll bars, the painter of the pages and the embedded preview panel.
#include "ZR_View.h"

#include <algorithm>
#include <cmath>

#include "Registry.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "ZR_ClassPrepared.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassView.h"
#include "ZR_Utils.h"
#include "Printers.h"

VELBOR_IMPLEMENT_CLASS(TzrPBox)
VELBOR_IMPLEMENT_CLASS(TzrPreviewForm)
VELBOR_HANDLERS(TzrPreviewForm, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormDestroy), VELBOR_HANDLER(FormClose),
                VELBOR_HANDLER(FormShow), VELBOR_HANDLER(FormActivate), VELBOR_HANDLER(FormDeactivate),
                VELBOR_HANDLER(FormResize), VELBOR_HANDLER(FormKeyDown), VELBOR_HANDLER(FormMouseDown),
                VELBOR_HANDLER(VScrollBarChange), VELBOR_HANDLER(HScrollBarChange), VELBOR_HANDLER(HScrollBarEnter),
                VELBOR_HANDLER(PgUpClick), VELBOR_HANDLER(PgDownClick), VELBOR_HANDLER(ZoomBtnClick),
                VELBOR_HANDLER(N3Click), VELBOR_HANDLER(LoadBtnClick), VELBOR_HANDLER(SaveBtnClick),
                VELBOR_HANDLER(PrintBtnClick), VELBOR_HANDLER(PageSetupBtnClick), VELBOR_HANDLER(FindBtnClick),
                VELBOR_HANDLER(HelpBtnClick), VELBOR_HANDLER(ExitBtnClick), VELBOR_HANDLER(EditBtnClick),
                VELBOR_HANDLER(NewPageBtnClick), VELBOR_HANDLER(DelPageBtnClick), VELBOR_HANDLER(PreviewPanelResize))
VELBOR_FIELDS(TzrPreviewForm, VELBOR_FIELD(TopPanel), VELBOR_FIELD(Bevel2), VELBOR_FIELD(Panel1),
              VELBOR_FIELD(ZoomBtn), VELBOR_FIELD(zrTBSeparator1), VELBOR_FIELD(LoadBtn), VELBOR_FIELD(SaveBtn),
              VELBOR_FIELD(PrintBtn), VELBOR_FIELD(PageSetupBtn), VELBOR_FIELD(zrTBSeparator2),
              VELBOR_FIELD(FindBtn), VELBOR_FIELD(HelpBtn), VELBOR_FIELD(zrTBSeparator3), VELBOR_FIELD(ExitBtn),
              VELBOR_FIELD(PreviewPanel), VELBOR_FIELD(ScrollBox1), VELBOR_FIELD(RPanel), VELBOR_FIELD(VScrollBar),
              VELBOR_FIELD(PgUp), VELBOR_FIELD(PgDown), VELBOR_FIELD(BPanel), VELBOR_FIELD(Bevel1),
              VELBOR_FIELD(Label1), VELBOR_FIELD(Bevel3), VELBOR_FIELD(Label2), VELBOR_FIELD(HScrollBar),
              VELBOR_FIELD(ProcMenu), VELBOR_FIELD(N1), VELBOR_FIELD(N2), VELBOR_FIELD(N3), VELBOR_FIELD(N4),
              VELBOR_FIELD(N5), VELBOR_FIELD(N6), VELBOR_FIELD(N7), VELBOR_FIELD(OpenDialog),
              VELBOR_FIELD(SaveDialog))
VELBOR_IMPLEMENT_CLASS(TzrPreview)
VELBOR_PUBLISHED(TzrPreview,
  Prop("ScrollBars", &Self::ScrollBars, &Self::SetScrollBars).Default(ssBoth),
  Prop("ShowToolbar", &Self::ShowToolbar, &Self::SetShowToolbar).Default(false))

double zrLastScale = 1.0;
int zrLastScaleMode = zmScale;

namespace {

// Zoom factors stay between 1 % and 1000 %: a page of no size or a painter of none gives no
// division by zero and no empty layout.
constexpr double kMinScale = 0.01;
constexpr double kMaxScale = 10.0;
double BoundedScale(double S) {
  if (!(S > kMinScale)) return kMinScale;
  return std::min(S, kMaxScale);
}

// A page's size in report pixels; at least one pixel.
int PageWidthOf(const TzrPreparedPage& P) { return std::max(P.PrintArea.PageWidth, 1); }
int PageHeightOf(const TzrPreparedPage& P) { return std::max(P.PrintArea.PageHeight, 1); }

}  // namespace

// ---- The painter

TzrPBox::TzrPBox(TComponent* AOwner) : TPanel(AOwner) {
  SetBevelInner(bvNone);
  SetBevelOuter(bvNone);
  SetColor(TColor(0x808080));
  Tag = 207;
  SetCaption(String());
}

void TzrPBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    default: TPanel::Dispatch(Message); break;
  }
}

// Handled: the paint covers the whole client area.
void TzrPBox::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TzrPBox::Paint() {
  TzrPreviewForm* p = Preview;
  if (p == nullptr || !p->PaintAllowed) return;
  TCanvas* c = Canvas();
  TRect client = ClientRect();
  TzrEMFPages* pages = p->Pages();
  if (pages == nullptr || pages->Count() == 0) {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(client);
    return;
  }
  HDC dc = c->Handle();
  int saved = SaveDC(dc);
  std::vector<TRect> shown(std::size_t(pages->Count()));
  std::vector<bool> visible(std::size_t(pages->Count()), false);
  for (int i = 0; i < pages->Count(); ++i) {
    TRect r = pages->Pages(i).PreviewRect;
    r = TRect(r.Left + p->OffsetX, r.Top + p->OffsetY, r.Right + p->OffsetX, r.Bottom + p->OffsetY);
    shown[std::size_t(i)] = r;
    if (r.Top > 2000 || r.Bottom < 0) continue;
    RECT rr = r;
    visible[std::size_t(i)] = RectVisible(dc, &rr) != 0;
    if (visible[std::size_t(i)]) ExcludeClipRect(dc, r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  }
  c->Brush()->SetColor(TColor(0x808080));
  c->FillRect(client);
  RestoreDC(dc, saved);
  c->Refresh();
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetMode(pmCopy);
  c->Brush()->SetColor(clWhite);
  for (int i = 0; i < pages->Count(); ++i) {
    if (!visible[std::size_t(i)]) continue;
    const TRect& r = shown[std::size_t(i)];
    c->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    // The shadow, one pixel outside the bottom and right edges.
    c->MoveTo(r.Left + 1, r.Bottom);
    c->LineTo(r.Right, r.Bottom);
    c->LineTo(r.Right, r.Top + 1);
  }
  for (int i = 0; i < pages->Count(); ++i) {
    TzrPreparedPage& page = pages->Pages(i);
    page.DrawingEnabled = visible[std::size_t(i)];
    if (!page.DrawingEnabled) {
      // Off screen: its unpacked copy is freed.
      pages->Draw(i, c, TRect());
      continue;
    }
    const TRect& r = shown[std::size_t(i)];
    TRect target = r;
    if (!page.UseMargins) {
      const TzrPrintArea& a = page.PrintArea;
      int left = r.Left + zrRound((a.OffsetX + page.Margins.Left) * p->Scale);
      int top = r.Top + zrRound((a.OffsetY + page.Margins.Top) * p->Scale);
      target = TRect(left, top, left + zrRound((a.PrintableWidth - page.Margins.Left - page.Margins.Right) * p->Scale),
                     top + zrRound((a.PrintableHeight - page.Margins.Top - page.Margins.Bottom) * p->Scale));
    }
    pages->Draw(i, c, target);
  }
}

void TzrPBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TPanel::MouseDown(Button, Shift, X, Y);
  if (SkipNextDown) {
    SkipNextDown = false;
    return;
  }
  if (Preview != nullptr) Preview->MouseOnPainter(Button, X, Y);
}

void TzrPBox::MouseMove(TShiftState Shift, int X, int Y) {
  TPanel::MouseMove(Shift, X, Y);
  if (Preview == nullptr) return;
  if (Dragging) {
    Preview->VScrollBar->SetPosition(Preview->VScrollBar->Position() + LastPos.Y - Y);
    Preview->HScrollBar->SetPosition(Preview->HScrollBar->Position() + LastPos.X - X);
    LastPos = TPoint(X, Y);
    return;
  }
  Preview->HoverOnPainter(X, Y);
}

void TzrPBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TPanel::MouseUp(Button, Shift, X, Y);
  Dragging = false;
}

void TzrPBox::DblClick() {
  TPanel::DblClick();
  Dragging = false;
  SkipNextDown = true;
  if (Preview != nullptr && ClickedPage > 0) {
    Preview->CurrentPage = ClickedPage;
    Preview->UpdatePageLabel();
  }
}

// ---- The window

TzrPreviewForm::TzrPreviewForm(TComponent* AOwner) : TForm(AOwner) { RegisterReportWindows(); }

TzrPreviewForm::~TzrPreviewForm() = default;

bool TzrPreviewForm::Modal() const { return FormState().Contains(fsModal); }

void TzrPreviewForm::FormCreate(TObject*) {
  Painter = new TzrPBox(this);
  Painter->Preview = this;
  Painter->SetParent(ScrollBox1);
  Painter->SetAlign(alClient);
  ScrollBox1->OnMouseWheelUp = TMouseWheelUpDownEvent(this, &TzrPreviewForm::ScrollBoxWheelUp);
  ScrollBox1->OnMouseWheelDown = TMouseWheelUpDownEvent(this, &TzrPreviewForm::ScrollBoxWheelDown);
  Painter->OnMouseWheelUp = ScrollBox1->OnMouseWheelUp;
  Painter->OnMouseWheelDown = ScrollBox1->OnMouseWheelDown;
  WheelFactor = 1;
  const struct {
    TzrSpeedButton* Button;
    TzrGlyph Glyph;
  } kGlyphs[] = {{ZoomBtn, zgZoom}, {LoadBtn, zgOpen}, {SaveBtn, zgSave}, {PrintBtn, zgPrint},
                 {PageSetupBtn, zgPageSetup}, {FindBtn, zgFind}, {HelpBtn, zgHelp}, {ExitBtn, zgExit},
                 {PgUp, zgPageUp}, {PgDown, zgPageDown}};
  for (const auto& g : kGlyphs) {
    TBitmap glyph;
    DrawGlyph(g.Glyph, &glyph);
    g.Button->SetGlyph(&glyph);
  }
}

void TzrPreviewForm::FormDestroy(TObject*) {
  FPages.reset();
  Application->ProcessMessages();
}

void TzrPreviewForm::FormClose(TObject*, TCloseAction& Action) {
  if (FormStyle() != fsMDIChild) SaveFormPosition(this);
  // The window frees itself once closed.
  Action = caFree;
}

void TzrPreviewForm::FormShow(TObject*) {
  ApplyCaptions();
  if (FormStyle() == fsMDIChild)
    SetWindowState(wsNormal);
  else
    RestoreFormPosition(this);
}

void TzrPreviewForm::FormActivate(TObject*) {
  if (ScrollBox1->CanFocus()) SetActiveControl(ScrollBox1);
}

void TzrPreviewForm::FormDeactivate(TObject*) {}

void TzrPreviewForm::ApplyCaptions() {
  N1->SetCaption(EngineString(53020));
  N2->SetCaption(EngineString(53021));
  N3->SetCaption(EngineString(53022));
  N5->SetCaption(EngineString(53029));
  N6->SetCaption(EngineString(53030));
  N7->SetCaption(EngineString(53031));
  ZoomBtn->Hint = EngineString(53024);
  LoadBtn->Hint = EngineString(53025);
  SaveBtn->Hint = EngineString(53026);
  PrintBtn->Hint = EngineString(53027);
  PageSetupBtn->Hint = EngineString(53027);
  FindBtn->Hint = EngineString(53028);
  HelpBtn->Hint = EngineString(53032);
  ExitBtn->Hint = EngineString(53023);
}

void TzrPreviewForm::AttachPages(TzrReport* AReport) {
  Report = AReport;
  FPages = AReport->TakeEMFPages();
  FPages->Report = AReport;
}

void TzrPreviewForm::ReleasePages() {
  if (Report == nullptr) return;
  Report->SetEMFPages(std::move(FPages));
}

void TzrPreviewForm::ApplyOptions() {
  if (Report == nullptr) return;
  if (!Report->ComponentState().Contains(csDesigning)) {
    const TzrPreviewButtons& b = Report->PreviewButtons;
    ZoomBtn->SetVisible(b.Contains(pbZoom));
    LoadBtn->SetVisible(b.Contains(pbLoad));
    SaveBtn->SetVisible(b.Contains(pbSave));
    PrintBtn->SetVisible(b.Contains(pbPrint));
    FindBtn->SetVisible(b.Contains(pbFind));
    PageSetupBtn->SetVisible(b.Contains(pbPageSetup));
    bool own = TopPanel->Parent() == this;
    HelpBtn->SetVisible(b.Contains(pbHelp) && own);
    ExitBtn->SetVisible(b.Contains(pbExit) && own);
    zrTBSeparator1->SetVisible(ZoomBtn->Visible());
    zrTBSeparator3->SetVisible(FindBtn->Visible() || HelpBtn->Visible());
  }
  bool printers = false;
  try {
    printers = Printer()->Printers()->Count() > 0;
  } catch (const Exception&) {
    printers = false;
  }
  PrintBtn->SetEnabled(printers);
  PageSetupBtn->SetEnabled(PrintBtn->Enabled());
  // This system has no report designer: the page-editing items never show.
  N4->SetVisible(false);
  N5->SetVisible(false);
  N6->SetVisible(false);
  N7->SetVisible(false);
  switch (Report->InitialZoom) {
    case pzPageWidth: zrLastScaleMode = zmPageWidth; break;
    case pzOnePage: zrLastScaleMode = zmWholePage; break;
    case pzTwoPages: zrLastScaleMode = zmTwoPages; break;
    default: break;
  }
  TRegistry registry;
  registry.OpenKey("Software\\Tarvelo\\" + Application->Title(), true);
  SetButtonsGrayed(Report->GrayedButtons);
}

void TzrPreviewForm::SetButtonsGrayed(bool Value) {
  for (int i = 0; i < Panel1->ControlCount(); ++i)
    if (auto* b = dynamic_cast<TzrTBButton*>(Panel1->Controls(i))) b->SetGrayedInactive(Value);
}

void TzrPreviewForm::ResetView(bool ToFirstPage) {
  Scale = BoundedScale(zrLastScale);
  ZoomMode = zrLastScaleMode;
  for (TMenuItem* item : {N1, N2, N3})
    if (item->Tag == ZoomMode) item->SetChecked(true);
  if (ZoomMode == zmScale)
    for (int i = 0; i < ProcMenu->Items()->Count(); ++i)
      if (ProcMenu->Items()->Items(i)->Tag == zrRound(Scale * 100)) ProcMenu->Items()->Items(i)->SetChecked(true);
  if (ToFirstPage) {
    CurrentPage = 1;
    OffsetX = OffsetY = OldH = OldV = 0;
    HScrollBar->SetPosition(0);
    VScrollBar->SetPosition(0);
  }
  UpdatePageLabel();
  Layout();
  if (FPages) {
    for (int i = 0; i < FPages->Count(); ++i) {
      FPages->Pages(i).DrawingEnabled = false;
      FPages->Draw(i, Canvas(), TRect());
    }
    N7->SetEnabled(FPages->Count() > 1);
  }
  Painter->Invalidate();
}

void TzrPreviewForm::FormResize(TObject*) { Layout(); }

void TzrPreviewForm::PreviewPanelResize(TObject*) { Layout(); }

TRect TzrPreviewForm::PageRect(int Index) const { return FPages->Pages(Index).PreviewRect; }

void TzrPreviewForm::Layout() {
  if (Painter == nullptr || !FPages || FPages->Count() == 0) return;
  PaintAllowed = false;
  TScopeGuard allow([this] { PaintAllowed = true; });
  int count = FPages->Count();
  CurrentPage = std::clamp(CurrentPage, 1, count);
  const TzrPreparedPage& current = FPages->Pages(CurrentPage - 1);
  int w0 = PageWidthOf(current);
  int h0 = PageHeightOf(current);
  int pw = Painter->Width();
  int ph = Painter->Height();
  switch (ZoomMode) {
    case zmPageWidth: Scale = double(pw - 20) / w0; break;
    case zmWholePage: Scale = double(ph - 20) / h0; break;
    case zmTwoPages: Scale = double(pw - 30) / (2.0 * w0); break;
    default: break;
  }
  Scale = BoundedScale(Scale);
  if (ZoomMode == zmScale) {
    for (int i = 0; i < ProcMenu->Items()->Count(); ++i)
      if (ProcMenu->Items()->Items(i)->Tag == zrRound(Scale * 100)) ProcMenu->Items()->Items(i)->SetChecked(true);
  } else {
    for (TMenuItem* item : {N1, N2, N3})
      if (item->Tag == ZoomMode) item->SetChecked(true);
  }
  ZoomBtn->SetCaption(IntToStr(zrRound(Scale * 100)) + "%");

  // Pages per row: as many as fit the painter's width.
  int perRow = 0;
  int x = 10;
  int k = 0;
  for (int i = 0; i < count; ++i) {
    int f = zrRound(PageWidthOf(FPages->Pages(i)) * Scale) + x + 10;
    if (f > pw) {
      perRow = std::max(perRow, k);
      x = 10;
      k = 0;
    } else {
      x = f;
      ++k;
      if (i == count - 1) perRow = std::max(perRow, k);
    }
  }
  perRow = std::max(perRow, 1);
  if (ZoomMode == zmWholePage) perRow = 1;
  if (ZoomMode == zmTwoPages) perRow = 2;
  FPagesPerRow = perRow;

  int maxRight = 0;
  int maxBottom = 0;
  int y = 10;
  for (int first = 0; first < count; first += perRow) {
    int rowBottom = y;
    int left = 10;
    int last = std::min(first + perRow, count);
    for (int i = first; i < last; ++i) {
      TzrPreparedPage& page = FPages->Pages(i);
      int w = zrRound(PageWidthOf(page) * Scale);
      int h = zrRound(PageHeightOf(page) * Scale);
      int l = left;
      if (last - first == 1 && w < pw) l = (pw - w) / 2;
      page.PreviewRect = TRect(l, y, l + w, y + h);
      left = l + w + 10;
      rowBottom = std::max(rowBottom, y + h);
      maxRight = std::max(maxRight, l + w);
      maxBottom = std::max(maxBottom, y + h);
    }
    y = rowBottom + 10;
  }

  PgDown->SetTop(RPanel->Height() - 16);
  PgUp->SetTop(PgDown->Top() - 16);
  VScrollBar->SetHeight(std::max(PgUp->Top() - 1, 0));
  HScrollBar->SetWidth(std::max(BPanel->Width() - HScrollBar->Left() - (RPanel->Visible() ? VScrollBar->Width() : 0), 0));
  int hRange = maxRight - pw;
  int vRange = maxBottom - ph;
  hRange = hRange <= 0 ? 0 : hRange + 10;
  vRange = vRange <= 0 ? 0 : vRange + 10;
  HScrollBar->SetMax(hRange);
  HScrollBar->SetEnabled(hRange != 0);
  VScrollBar->SetMax(vRange);
  VScrollBar->SetEnabled(vRange != 0);
  if (Visible() && ScrollBox1->CanFocus()) SetActiveControl(ScrollBox1);
  ScrollToCurrentPage();
}

void TzrPreviewForm::ScrollToCurrentPage() {
  if (!FPages || FPages->Count() == 0) return;
  VScrollBar->SetPosition(std::max(FPages->Pages(CurrentPage - 1).PreviewRect.Top - 10, 0));
}

void TzrPreviewForm::UpdatePageLabel() {
  if (PageChangedHook) PageChangedHook(this);
  if (!FPages || FPages->Count() == 0) {
    Label1->SetCaption(String());
    return;
  }
  Label1->SetCaption(EngineString(55004) + " " + IntToStr(CurrentPage) + "/" + IntToStr(FPages->Count()));
}

void TzrPreviewForm::GoToPage(int Number) {
  if (!FPages || Number < 1 || Number > FPages->Count()) return;
  CurrentPage = Number;
  UpdatePageLabel();
  ScrollToCurrentPage();
}

void TzrPreviewForm::VScrollBarChange(TObject*) {
  int position = VScrollBar->Position();
  if (Painter->HandleAllocated() && PaintAllowed)
    ScrollWindowEx(Painter->Handle(), 0, OldV - position, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  OldV = position;
  OffsetY = -position;
  if (!FPages) return;
  int line = 11 - OffsetY;
  for (int i = 0; i < FPages->Count(); ++i) {
    const TRect& r = FPages->Pages(i).PreviewRect;
    if (r.Top < line && line < r.Bottom) {
      if (CurrentPage != i + 1) {
        CurrentPage = i + 1;
        UpdatePageLabel();
      }
      break;
    }
  }
}

void TzrPreviewForm::HScrollBarChange(TObject*) {
  int position = HScrollBar->Position();
  if (Painter->HandleAllocated() && PaintAllowed)
    ScrollWindowEx(Painter->Handle(), OldH - position, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  OldH = position;
  OffsetX = -position;
}

void TzrPreviewForm::HScrollBarEnter(TObject*) {
  if (ScrollBox1->CanFocus()) ScrollBox1->SetFocus();
}

void TzrPreviewForm::PgUpClick(TObject*) {
  if (!FPages) return;
  if (CurrentPage > 1) --CurrentPage;
  UpdatePageLabel();
  ScrollToCurrentPage();
}

void TzrPreviewForm::PgDownClick(TObject*) {
  if (!FPages) return;
  if (CurrentPage < FPages->Count()) ++CurrentPage;
  UpdatePageLabel();
  ScrollToCurrentPage();
}

void TzrPreviewForm::WheelScrollUp() { VScrollBar->SetPosition(VScrollBar->Position() - VScrollBar->SmallChange * WheelFactor); }

void TzrPreviewForm::WheelScrollDown() {
  VScrollBar->SetPosition(VScrollBar->Position() + VScrollBar->SmallChange * WheelFactor);
}

void TzrPreviewForm::ScrollBoxWheelUp(TObject*, TShiftState, TPoint, bool& Handled) {
  WheelScrollUp();
  Handled = true;
}

void TzrPreviewForm::ScrollBoxWheelDown(TObject*, TShiftState, TPoint, bool& Handled) {
  WheelScrollDown();
  Handled = true;
}

void TzrPreviewForm::ZoomBtnClick(TObject*) {
  if (!FPages) return;
  for (TMenuItem* item : {N4, N5, N6, N7}) item->SetVisible(false);
  TPoint p = ZoomBtn->ClientToScreen(TPoint(0, ZoomBtn->Height()));
  ProcMenu->Popup(p.X, p.Y);
}

void TzrPreviewForm::N3Click(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (item == nullptr || !FPages) return;
  OffsetX = 0;
  if (item->Tag >= 1 && item->Tag <= 3) {
    ZoomMode = item->Tag;
  } else {
    ZoomMode = zmScale;
    Scale = BoundedScale(item->Tag / 100.0);
  }
  item->SetChecked(true);
  HScrollBar->SetPosition(0);
  Layout();
  zrLastScale = Scale;
  zrLastScaleMode = ZoomMode;
  Painter->Invalidate();
}

void TzrPreviewForm::EditBtnClick(TObject*) {}
void TzrPreviewForm::NewPageBtnClick(TObject*) {}
void TzrPreviewForm::DelPageBtnClick(TObject*) {}

void TzrPreviewForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    default: TForm::Dispatch(Message); break;
  }
}

// Arrows and Tab stay with the form's key handler.
void TzrPreviewForm::CMDialogKey(TMessage& Message) { Message.Result = 0; }

void TzrPreviewForm::FormKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  if (!FPages) return;
  bool ctrl = Shift.Contains(ssCtrl);
  WORD key = Key;
  Key = 0;
  switch (key) {
    case VK_UP: VScrollBar->SetPosition(VScrollBar->Position() - VScrollBar->SmallChange); return;
    case VK_DOWN: VScrollBar->SetPosition(VScrollBar->Position() + VScrollBar->SmallChange); return;
    case VK_LEFT: HScrollBar->SetPosition(HScrollBar->Position() - HScrollBar->SmallChange); return;
    case VK_RIGHT: HScrollBar->SetPosition(HScrollBar->Position() + HScrollBar->SmallChange); return;
    case VK_PRIOR:
      if (ctrl) PgUpClick(nullptr);
      else VScrollBar->SetPosition(VScrollBar->Position() - VScrollBar->LargeChange);
      return;
    case VK_NEXT:
      if (ctrl) PgDownClick(nullptr);
      else VScrollBar->SetPosition(VScrollBar->Position() + VScrollBar->LargeChange);
      return;
    case VK_SPACE: {
      // The space's character is already queued: inside the menu it would run the (absent)
      // highlighted item and close the menu at once.
      MSG pending;
      PeekMessageA(&pending, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE);
      ZoomBtnClick(nullptr);
      return;
    }
    case VK_ESCAPE: ExitBtnClick(nullptr); return;
    default: break;
  }
  if (!ctrl) {
    if (key == VK_F3 && !FindText.empty()) {
      if (CurrentPage != ResumePage + 1) {
        ResumePage = CurrentPage - 1;
        ResumeOrdinal = 0;
      }
      FindAgain();
      return;
    }
    Key = key;
    return;
  }
  switch (key) {
    case VK_HOME: VScrollBar->SetPosition(0); break;
    case VK_END:
      CurrentPage = FPages->Count();
      UpdatePageLabel();
      ScrollToCurrentPage();
      break;
    case 'O': LoadBtnClick(nullptr); break;
    case 'S': SaveBtnClick(nullptr); break;
    case 'P':
      if (PrintBtn->Enabled()) PrintBtnClick(nullptr);
      break;
    case 'F': FindBtnClick(nullptr); break;
    default: break;
  }
}

int TzrPreviewForm::PageAt(int X, int Y) const {
  if (!FPages) return -1;
  TPoint p(X - OffsetX, Y - OffsetY);
  for (int i = 0; i < FPages->Count(); ++i)
    if (FPages->Pages(i).PreviewRect.Contains(p)) return i;
  return -1;
}

void TzrPreviewForm::MouseOnPainter(TMouseButton Button, int X, int Y) {
  if (!FPages) return;
  if (Button == mbRight) {
    TPoint p = Painter->ClientToScreen(TPoint(X, Y));
    ProcMenu->Popup(p.X, p.Y);
    return;
  }
  if (Button != mbLeft) return;
  int index = PageAt(X, Y);
  if (index >= 0) {
    Painter->ClickedPage = index + 1;
    const TRect& r = FPages->Pages(index).PreviewRect;
    TPoint at(zrRound((X - OffsetX - r.Left) / Scale), zrRound((Y - OffsetY - r.Top) / Scale));
    String url;
    int cursor = 0;
    if (FPages->ObjectAt(index, at, url, cursor, true)) {
      std::size_t sign = url.find('@');
      if (sign != String::npos && sign + 1 < url.size()) {
        int number = std::max(StrToIntDef(url.substr(sign + 1), 1), 1);
        if (number <= FPages->Count()) GoToPage(number);
      }
      return;
    }
  }
  Painter->Dragging = true;
  Painter->LastPos = TPoint(X, Y);
  if (Painter->ClickedPage > 0) {
    CurrentPage = Painter->ClickedPage;
    UpdatePageLabel();
  }
}

void TzrPreviewForm::HoverOnPainter(int X, int Y) {
  int index = PageAt(X, Y);
  String text;
  TCursor cursor = crDefault;
  if (index >= 0) {
    const TRect& r = FPages->Pages(index).PreviewRect;
    TPoint at(zrRound((X - OffsetX - r.Left) / Scale), zrRound((Y - OffsetY - r.Top) / Scale));
    String url;
    int c = 0;
    if (FPages->ObjectAt(index, at, url, c, false)) {
      cursor = TCursor(c);
      std::size_t sign = url.find('@');
      if (sign != String::npos && sign + 1 < url.size())
        text = EngineString(55004) + " " + url.substr(sign + 1);
      else
        text = url;
    }
  }
  Painter->SetCursor(cursor);
  if (Label2->Caption() != text) Label2->SetCaption(text);
}

void TzrPreviewForm::FormMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  if (!FHelpMode) return;
  // The click that ends help mode: no help file exists in this system, nothing is shown.
  FHelpMode = false;
  SetMouseCapture(false);
  Screen->SetCursor(crDefault);
}

// ---- The embedded panel

TzrPreview::TzrPreview(TComponent* AOwner) : TPanel(AOwner) {
  SetBevelInner(bvNone);
  SetBevelOuter(bvLowered);
  FWindow = CreateForm<TzrPreviewForm>(nullptr);
  FWindow->PageChangedHook = TNotifyEvent(this, &TzrPreview::DoPageChanged);
}

TzrPreview::~TzrPreview() {
  if (FWindow != nullptr) FWindow->Free();
}

void TzrPreview::SetScrollBars(TScrollStyle Value) {
  FScrollBars = Value;
  FWindow->RPanel->SetVisible(Value == ssVertical || Value == ssBoth);
  FWindow->BPanel->SetVisible(Value == ssHorizontal || Value == ssBoth);
}

void TzrPreview::SetShowToolbar(bool Value) {
  FShowToolbar = Value;
  FWindow->TopPanel->SetParent(Value ? static_cast<TWinControl*>(this) : static_cast<TWinControl*>(FWindow));
}

void TzrPreview::AttachReport(TzrReport* Report) {
  FWindow->PreviewPanel->SetParent(this);
  if (FShowToolbar) FWindow->TopPanel->SetParent(this);
  FWindow->PreviewPanel->SetVisible(true);
  FWindow->AttachPages(Report);
  FWindow->ApplyOptions();
  FWindow->ResetView(true);
  if (PopupMenu() != nullptr) FWindow->Painter->SetPopupMenu(PopupMenu());
  FWindow->WheelFactor = 3;
}

void TzrPreview::ReleasePages() { FWindow->ReleasePages(); }

int TzrPreview::CurrentPage() const { return FWindow->CurrentPage; }

void TzrPreview::DoPageChanged(TObject*) {
  if (OnPageChanged) OnPageChanged(this, FWindow->CurrentPage);
}
