// This file implements the lists of the customizing window and the painters of its command rows.
#include "kwBarCustomizingLists.h"

#include "Forms.h"
#include "kwBarButton.h"
#include "kwBarCombo.h"
#include "kwBarDrawing.h"
#include "kwBarEdit.h"
#include "kwBarItem.h"
#include "kwBarManager.h"
#include "kwBarPainter.h"
#include "kwBarSubItem.h"
#include "kwBarUtils.h"
#include "kwBars.h"
#include "kwOffice11Colors.h"

namespace {
constexpr int kGlyphColumn = 23;
constexpr int kDropPart = 13;
constexpr int kComboButton = 12;

void Edge(TCanvas* Canvas, TRect R, UINT EdgeKind, UINT Flags) {
  RECT r = R;
  DrawEdge(Canvas->Handle(), &r, EdgeKind, Flags);
}

void FrameWith(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  Canvas->FrameRect(R);
}

void Fill(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

void DrawDownArrow(TCanvas* Canvas, const TRect& R) {
  Canvas->Pen()->SetColor(clBtnText);
  Canvas->Brush()->SetColor(clBtnText);
  DrawCenteredArrow(Canvas->Handle(), R, true, false, false, true);
}

// The text of a row: one line, vertically centred, clipped to the row's text area, on the brush
// colour Back; ampersands are shown as they are.
void RowText(TCanvas* Canvas, const TRect& R, int X, const String& Text, TColor Back) {
  Canvas->Brush()->SetColor(Back);
  int y = R.Top + (R.Height() - Canvas->TextHeight(Text.empty() ? String("0") : Text)) / 2;
  Canvas->TextRect(R, X, y, Text);
}

const TkwBarCustomizingFormStandardPainter kStandardPainter;
const TkwBarCustomizingFormFlatPainter kFlatPainter;
const TkwBarCustomizingFormOffice11Painter kOffice11Painter;
const TkwBarCustomizingFormXPPainter kXPPainter;
}  // namespace

// --- Painters -----------------------------------------------------------------------------------

const TkwBarCustomizingFormPainter* GetCustomizingFormPainter(TkwBarManager* Manager) {
  if (!Manager || !Manager->Painter()) return &kStandardPainter;
  switch (Manager->Painter()->Kind()) {
    case bpkXP: return &kXPPainter;
    case bpkOffice11: return &kOffice11Painter;
    case bpkFlat: return &kFlatPainter;
    default: return &kStandardPainter;
  }
}

bool TkwBarCustomizingFormPainter::HasGlyph(TkwBarItem* Item) {
  return Item && ((Item->Glyph() && !Item->Glyph()->Empty()) || Item->HasValidImage());
}

bool TkwBarCustomizingFormPainter::IsDropDownButton(TkwBarItem* Item) {
  auto* button = dynamic_cast<TkwBarButton*>(Item);
  return button && button->ButtonStyle() == bsDropDown;
}

bool TkwBarCustomizingFormPainter::IsContainer(TkwBarItem* Item) {
  return dynamic_cast<TCustomkwBarContainerItem*>(Item) != nullptr;
}

bool TkwBarCustomizingFormPainter::IsCombo(TkwBarItem* Item) { return dynamic_cast<TCustomkwBarCombo*>(Item) != nullptr; }

void TkwBarCustomizingFormPainter::DrawGlyph(TCanvas* Canvas, const TRect& Column, TkwBarItem* Item, bool Hot,
                                            bool Raise, bool Fade) {
  TkwBarManager* manager = Item->BarManager();
  TCustomImageList* images = manager ? manager->Images() : nullptr;
  TBitmap* bitmap = Item->Glyph() && !Item->Glyph()->Empty() ? Item->Glyph() : nullptr;
  int w = bitmap ? bitmap->Width() : images ? images->Width() : 16;
  int h = bitmap ? bitmap->Height() : images ? images->Height() : 16;
  int x = Column.Left + (Column.Width() - w) / 2, y = Column.Top + (Column.Height() - h) / 2;
  TkwGlyphDrawing how;
  how.BackgroundColor = manager ? manager->ImageListBkColor() : clFuchsia;
  how.Hot = Hot;
  how.RaiseHot = Raise;
  how.FadeNormal = Fade;
  how.CopyBackground = true;
  DrawItemGlyph(Canvas->Handle(), Column, TRect(x, y, x + w, y + h), how, Item->ImageIndex(), images, bitmap);
}

void TkwBarCustomizingFormPainter::DrawSubMenuArrow(TCanvas* Canvas, int X, int Y) const {
  Canvas->Pen()->SetColor(Canvas->Font()->Color());
  Canvas->Brush()->SetColor(Canvas->Font()->Color());
  Canvas->Polygon({TPoint(X, Y), TPoint(X, Y + 6), TPoint(X + 3, Y + 3)});
}

TColor TkwBarCustomizingFormPainter::GetRowColor(bool Selected, TkwBarManager*) const {
  return Selected ? clHighlight : clBtnFace;
}

TColor TkwBarCustomizingFormPainter::GetTextColor(bool Selected) const {
  return Selected ? clHighlightText : clBtnText;
}

void TkwBarCustomizingFormPainter::DrawCommand(TCanvas* Canvas, const TRect& R, bool Selected, const String& Text,
                                               TkwBarItem* Item) const {
  TkwBarManager* manager = Item ? Item->BarManager() : nullptr;
  bool glyph = HasGlyph(Item);
  TRect column(R.Left, R.Top, R.Left + kGlyphColumn, R.Bottom);
  Fill(Canvas, column, GetRowColor(Selected && !glyph, manager));
  Fill(Canvas, TRect(column.Right, R.Top, column.Right + 1, R.Bottom), GetRowColor(Selected && !glyph, manager));
  if (glyph) {
    if (Selected) Edge(Canvas, column, BDR_RAISEDINNER, BF_RECT);
    DrawGlyph(Canvas, column, Item, Selected, false, false);
  }
  bool dropDown = IsDropDownButton(Item);
  TRect text(R.Left + kGlyphColumn + 1, R.Top, dropDown ? R.Right - kDropPart : R.Right, R.Bottom);
  Fill(Canvas, text, GetRowColor(Selected, manager));
  Canvas->Font()->SetColor(GetTextColor(Selected));
  bool inParentheses = IsContainer(Item);
  RowText(Canvas, text, text.Left + 2, inParentheses ? "(" + Text + ")" : Text, GetRowColor(Selected, manager));
  if (Item && Item->GetSubItemLinks() && !inParentheses) DrawSubMenuArrow(Canvas, R.Right - 9, R.Top + 7);
  if (dropDown) {
    TRect part(R.Right - kDropPart, R.Top, R.Right, R.Bottom);
    if (Selected) {
      Edge(Canvas, part, BDR_RAISEDINNER, BF_RECT);
      part = TRect(part.Left + 1, part.Top + 1, part.Right - 1, part.Bottom - 1);
    } else {
      Edge(Canvas, TRect(part.Left - 1, part.Top, part.Right, part.Bottom), EDGE_ETCHED, BF_LEFT);
      part.Left += 2;
    }
    Fill(Canvas, part, GetRowColor(false, manager));
    Canvas->Font()->SetColor(GetTextColor(false));
    DrawSubMenuArrow(Canvas, R.Right - 9, R.Top + 7);
  }
}

void TkwBarCustomizingFormPainter::DrawEditCommand(TCanvas* Canvas, const TRect& R, bool Selected, const String& Text,
                                                   TkwBarItem* Item) const {
  TkwBarManager* manager = Item ? Item->BarManager() : nullptr;
  int textWidth = Canvas->TextWidth(Text);
  TRect caption(R.Left, R.Top, R.Left + textWidth + 3, R.Bottom);
  Fill(Canvas, caption, GetRowColor(Selected, manager));
  Canvas->Font()->SetColor(GetTextColor(Selected));
  RowText(Canvas, caption, caption.Left + 2, Text, GetRowColor(Selected, manager));
  Fill(Canvas, TRect(caption.Right, R.Top, caption.Right + 4, R.Bottom), GetRowColor(false, manager));
  TRect box(caption.Right + 4, R.Top, R.Right, R.Bottom);
  if (Selected)
    Edge(Canvas, box, BDR_SUNKENOUTER, BF_RECT);
  else
    FrameWith(Canvas, box, GetRowColor(false, manager));
  box = TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
  FrameWith(Canvas, box, clBtnFace);
  box = TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
  bool combo = IsCombo(Item);
  Fill(Canvas, TRect(box.Left, box.Top, combo ? box.Right - kComboButton : box.Right, box.Bottom), clWindow);
  if (combo) {
    TRect button(box.Right - kComboButton, box.Top, box.Right, box.Bottom);
    if (Selected)
      Edge(Canvas, button, BDR_RAISEDINNER, BF_RECT);
    else
      FrameWith(Canvas, button, clBtnHighlight);
    Fill(Canvas, TRect(button.Left - 1, button.Top, button.Left, button.Bottom), clBtnFace);
    Fill(Canvas, TRect(button.Left + 1, button.Top + 1, button.Right - 1, button.Bottom - 1), GetRowColor(false, manager));
    DrawDownArrow(Canvas, button);
  }
}

void TkwBarCustomizingFormStandardPainter::DrawFocus(TCanvas* Canvas, const TRect& R, TkwBarItem*) const {
  Canvas->DrawFocusRect(TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2));
}

TColor TkwBarCustomizingFormFlatPainter::GetRowColor(bool Selected, TkwBarManager* Manager) const {
  if (Selected) return Manager ? TColor(Manager->GetLightHighlightColor()) : clHighlight;
  return clWindow;
}

TColor TkwBarCustomizingFormFlatPainter::GetTextColor(bool) const { return clBtnText; }

void TkwBarCustomizingFormFlatPainter::FrameSelected(HDC DC, const TRect& R) const { FrameRectHighlight(DC, R); }

void TkwBarCustomizingFormFlatPainter::FillGlyphSquare(TCanvas* Canvas, const TRect& Square) const {
  Fill(Canvas, Square, clBtnFace);
}

void TkwBarCustomizingFormFlatPainter::DrawCommand(TCanvas* Canvas, const TRect& R, bool Selected, const String& Text,
                                                   TkwBarItem* Item) const {
  TkwBarManager* manager = Item ? Item->BarManager() : nullptr;
  TRect square(R.Left, R.Top, R.Left + R.Height(), R.Bottom);
  if (Selected) {
    Fill(Canvas, R, GetRowColor(true, manager));
  } else {
    Fill(Canvas, TRect(square.Right, R.Top, R.Right, R.Bottom), GetRowColor(false, manager));
    FillGlyphSquare(Canvas, square);
  }
  if (HasGlyph(Item)) DrawGlyph(Canvas, TRect(square.Left - 1, square.Top - 1, square.Right + 1, square.Bottom + 1),
                                Item, Selected, Selected, !Selected);
  bool dropDown = IsDropDownButton(Item);
  bool inParentheses = IsContainer(Item);
  Canvas->Font()->SetColor(GetTextColor(Selected));
  TRect text(R.Left + R.Height() + 10, R.Top, dropDown ? R.Right - kDropPart : R.Right, R.Bottom);
  RowText(Canvas, text, text.Left, inParentheses ? "(" + Text + ")" : Text, GetRowColor(Selected, manager));
  if (Item && Item->GetSubItemLinks() && !inParentheses) DrawSubMenuArrow(Canvas, R.Right - 9, R.Top + 7);
  if (dropDown) {
    TRect part(R.Right - kDropPart, R.Top, R.Right, R.Bottom);
    if (Selected)
      FrameSelected(Canvas->Handle(), part);
    else
      FrameWith(Canvas, part, clBtnShadow);
    Fill(Canvas, TRect(part.Left + 1, part.Top + 1, part.Right - 1, part.Bottom - 1), GetRowColor(Selected, manager));
    Canvas->Font()->SetColor(GetTextColor(false));
    DrawSubMenuArrow(Canvas, R.Right - 9, R.Top + 7);
  }
  if (Selected) FrameSelected(Canvas->Handle(), R);
}

void TkwBarCustomizingFormFlatPainter::DrawEditCommand(TCanvas* Canvas, const TRect& R, bool Selected,
                                                       const String& Text, TkwBarItem* Item) const {
  TkwBarManager* manager = Item ? Item->BarManager() : nullptr;
  TRect caption(R.Left, R.Top, R.Left + Canvas->TextWidth(Text) + 11, R.Bottom);
  Fill(Canvas, caption, GetRowColor(Selected, manager));
  if (Selected) FrameSelected(Canvas->Handle(), TRect(caption.Left, caption.Top, caption.Right + 1, caption.Bottom));
  Canvas->Font()->SetColor(GetTextColor(Selected));
  RowText(Canvas, TRect(caption.Left + 1, caption.Top + 1, caption.Right - 1, caption.Bottom - 1), caption.Left + 5, Text,
          GetRowColor(Selected, manager));
  TRect box(caption.Right, R.Top, R.Right, R.Bottom);
  if (Selected)
    FrameSelected(Canvas->Handle(), box);
  else
    FrameWith(Canvas, box, clBtnShadow);
  box = TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
  bool combo = IsCombo(Item);
  Fill(Canvas, TRect(box.Left, box.Top, combo ? box.Right - kComboButton : box.Right, box.Bottom), clWindow);
  if (combo) {
    TRect button(box.Right - kComboButton, box.Top, box.Right, box.Bottom);
    if (Selected) {
      button = TRect(button.Left - 1, button.Top - 1, button.Right + 1, button.Bottom + 1);
      FrameSelected(Canvas->Handle(), button);
      Fill(Canvas, TRect(button.Left + 1, button.Top + 1, button.Right - 1, button.Bottom - 1),
           manager ? TColor(manager->GetLightHighlightColor()) : clHighlight);
      button = TRect(button.Left + 1, button.Top + 1, button.Right - 1, button.Bottom - 1);
    } else {
      FrameWith(Canvas, button, clBtnHighlight);
      Fill(Canvas, TRect(button.Left + 1, button.Top + 1, button.Right - 1, button.Bottom - 1),
           GetRowColor(false, manager));
    }
    DrawDownArrow(Canvas, button);
  }
}

TColor TkwBarCustomizingFormOffice11Painter::GetRowColor(bool Selected, TkwBarManager*) const {
  return TColor(Office11Colors().Colors[Selected ? 20 : 19]);
}

TColor TkwBarCustomizingFormOffice11Painter::GetTextColor(bool) const { return TColor(Office11Colors().Colors[30]); }

void TkwBarCustomizingFormOffice11Painter::FrameSelected(HDC DC, const TRect& R) const {
  HBRUSH brush = CreateSolidBrush(Office11Colors().Colors[21]);
  RECT r = R;
  FrameRect(DC, &r, brush);
  DeleteObject(brush);
}

void TkwBarCustomizingFormOffice11Painter::FillGlyphSquare(TCanvas* Canvas, const TRect& Square) const {
  const TkwOffice11ColorTable& t = Office11Colors();
  COLORREF a = t.Colors[0], b = t.Colors[1];
  // Across the square from the first colour to the second.
  for (int x = Square.Left; x < Square.Right; ++x) {
    int n = Square.Width() > 1 ? Square.Width() - 1 : 1, i = x - Square.Left;
    COLORREF c = RGB((GetRValue(a) * (n - i) + GetRValue(b) * i) / n, (GetGValue(a) * (n - i) + GetGValue(b) * i) / n,
                     (GetBValue(a) * (n - i) + GetBValue(b) * i) / n);
    Fill(Canvas, TRect(x, Square.Top, x + 1, Square.Bottom), TColor(c));
  }
}

void TkwBarCustomizingFormXPPainter::DrawCommand(TCanvas* Canvas, const TRect& R, bool Selected, const String& Text,
                                                 TkwBarItem* Item) const {
  // As the base look without the raised edge of a selected glyph.
  bool glyph = HasGlyph(Item);
  if (!glyph || !Selected) {
    TkwBarCustomizingFormPainter::DrawCommand(Canvas, R, Selected, Text, Item);
    return;
  }
  TkwBarCustomizingFormPainter::DrawCommand(Canvas, R, Selected, Text, Item);
  TRect column(R.Left, R.Top, R.Left + kGlyphColumn, R.Bottom);
  Fill(Canvas, column, GetRowColor(false, Item->BarManager()));
  DrawGlyph(Canvas, column, Item, true, false, false);
}

void TkwBarCustomizingFormXPPainter::DrawFocus(TCanvas* Canvas, const TRect& R, TkwBarItem* Item) const {
  TRect r = R;
  if (!dynamic_cast<TkwBarEdit*>(Item) && HasGlyph(Item)) r.Left += 24;
  Canvas->DrawFocusRect(r);
}

// --- TCheckListBox ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCheckListBox)

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) { SetStyle(lbOwnerDrawFixed); }

TkwBar* TCheckListBox::BarOfRow(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return dynamic_cast<TkwBar*>(Items()->GetObject(Index));
}

TRect TCheckListBox::CheckRect(int Index) const {
  TRect row = ItemRect(Index);
  int check = row.Height();
  int left = row.Left + check;
  int inset = (check + row.Top - row.Bottom - 2) / 2;
  return TRect(left - check + 1, row.Top + inset, left - 1, row.Bottom - inset);
}

void TCheckListBox::Toggle(int Index) {
  TkwBar* bar = BarOfRow(Index);
  if (!bar) return;
  if (!bar->IsClosable()) {
    MessageBeep(0);
    return;
  }
  bar->SetVisible(!bar->Visible());
  if (HandleAllocated()) {
    RECT r = CheckRect(Index);
    InvalidateRect(Handle(), &r, FALSE);
    UpdateWindow(Handle());
  }
}

void TCheckListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    default: TCustomListBox::Dispatch(Message); break;
  }
}

void TCheckListBox::CNDrawItem(TMessage& Message) {
  const auto& row = *reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  FCheckWidth = row.rcItem.bottom - row.rcItem.top;
  DRAWITEMSTRUCT moved = row;
  moved.rcItem.left += FCheckWidth;
  PaintOwnerDrawnRow(Canvas(), Font(), Brush(), moved, [this](int Index, const TRect& R, TOwnerDrawState) {
    Canvas()->FillRect(R);
    Canvas()->TextOut(R.Left + 2, R.Top + (R.Height() - Canvas()->TextHeight("0")) / 2, Items()->Get(Index));
  });
  if (int(row.itemID) >= 0) {
    TRect box(row.rcItem.left + 1, row.rcItem.top, row.rcItem.left + FCheckWidth - 1, row.rcItem.bottom);
    HBRUSH face = GetSysColorBrush(COLOR_WINDOW);
    RECT all{row.rcItem.left, row.rcItem.top, row.rcItem.left + FCheckWidth, row.rcItem.bottom};
    FillRect(row.hDC, &all, face);
    int inset = (FCheckWidth + row.rcItem.top - row.rcItem.bottom - 2) / 2;
    RECT r{box.Left, box.Top + inset, box.Right, box.Bottom - inset};
    UINT state = DFCS_BUTTONCHECK;
    if (TkwBar* bar = BarOfRow(int(row.itemID))) {
      if (bar->Visible()) state |= DFCS_CHECKED;
      if (!bar->IsClosable()) state |= DFCS_INACTIVE;
    }
    DrawFrameControl(row.hDC, &r, DFC_BUTTON, state);
  }
  Message.Result = 1;
}

void TCheckListBox::WMLButtonDown(TMessage& Message) {
  TCustomListBox::Dispatch(Message);
  TPoint p(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
  int row = ItemAtPos(p, true);
  if (row >= 0 && p.X < ItemRect(row).Left + ItemRect(row).Height()) Toggle(row);
}

void TCheckListBox::WMLButtonDblClk(TMessage& Message) {
  TPoint p(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
  int row = ItemAtPos(p, true);
  // A second click on the box is a click of its own: one toggle per click.
  if (row >= 0 && p.X < ItemRect(row).Left + ItemRect(row).Height()) {
    Message.Msg = WM_LBUTTONDOWN;
    WMLButtonDown(Message);
    return;
  }
  TCustomListBox::Dispatch(Message);
  if (row >= 0) Toggle(row);
}

void TCheckListBox::WMKeyDown(TMessage& Message) {
  TCustomListBox::Dispatch(Message);
  if (Message.WParam == VK_SPACE) Toggle(ItemIndex());
}

// --- TCommandsListBox ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCommandsListBox)

TCommandsListBox::TCommandsListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetStyle(lbOwnerDrawVariable);
  SetItemHeight(22);
  ControlStyle.Include(csOpaque);
}

TkwBarItem* TCommandsListBox::ItemOfRow(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return dynamic_cast<TkwBarItem*>(Items()->GetObject(Index));
}

void TCommandsListBox::MeasureItem(int, int& Height) { Height = 22; }

void TCommandsListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_MOUSEACTIVATE: WMMouseActivate(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_RBUTTONDOWN: WMRButtonDown(Message); break;
    default: TCustomListBox::Dispatch(Message); break;
  }
}

void TCommandsListBox::CNDrawItem(TMessage& Message) {
  Message.Result = 1;
  const auto& row = *reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  if (Count() == 0 || int(row.itemID) < 0) return;
  TkwBarItem* item = ItemOfRow(int(row.itemID));
  const TkwBarCustomizingFormPainter* painter = GetCustomizingFormPainter(BarManager);
  TCanvas* canvas = Canvas();
  TCanvasDCScope scope(canvas, row.hDC);
  canvas->Font()->Assign(Font());
  bool selected = (row.itemState & ODS_SELECTED) != 0;
  String text = item ? RemoveAmpersands(item->Caption()) : Items()->Get(int(row.itemID));
  TRect r = row.rcItem;
  if (dynamic_cast<TkwBarEdit*>(item))
    painter->DrawEditCommand(canvas, r, selected, text, item);
  else
    painter->DrawCommand(canvas, r, selected, text, item);
  if (int(row.itemID) == Count() - 1) {
    RECT client;
    GetClientRect(Handle(), &client);
    if (client.bottom > r.Bottom) {
      canvas->Brush()->SetColor(painter->GetRowColor(false, BarManager));
      canvas->FillRect(TRect(client.left, r.Bottom, client.right, client.bottom));
    }
  }
  if (row.itemState & ODS_FOCUS) painter->DrawFocus(canvas, r, item);
}

void TCommandsListBox::WMEraseBkgnd(TMessage& Message) {
  RECT client;
  GetClientRect(Handle(), &client);
  if (Count() > 0) {
    TRect last = ItemRect(Count() - 1);
    client.top = std::max<LONG>(client.top, last.Bottom);
  }
  if (client.bottom > client.top) FillRect(reinterpret_cast<HDC>(Message.WParam), &client, Brush()->Handle());
  Message.Result = 1;
}

void TCommandsListBox::WMMouseActivate(TMessage& Message) {
  TCustomListBox::Dispatch(Message);
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(Handle(), &p);
  int row = ItemAtPos(TPoint(p.x, p.y), true);
  if (row >= 0) SetItemIndex(row);
}

void TCommandsListBox::WMSetFocus(TMessage& Message) {
  TCustomListBox::Dispatch(Message);
  if (ItemIndex() < 0 && Count() > 0) {
    SetItemIndex(0);
    Click();
  }
}

void TCommandsListBox::WMLButtonDown(TMessage& Message) {
  TCustomListBox::Dispatch(Message);
  if (ItemIndex() < 0) return;
  Click();
  TkwBarItem* item = ItemOfRow(ItemIndex());
  POINT p{short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
  ::ClientToScreen(Handle(), &p);
  // The list box holds the capture after the press: the drag test needs it back.
  if (GetCapture() == Handle()) ReleaseCapture();
  if (item && BarManager && DragDetect(Handle(), p)) BarManager->DragItemLink(item, nullptr, true);
}

void TCommandsListBox::WMRButtonDown(TMessage& Message) {
  if (CanFocus()) SetFocus();
  TPoint p(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
  int row = ItemAtPos(p, true);
  if (row >= 0) SetItemIndex(row);
  Click();
}
