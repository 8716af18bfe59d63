// This file implements the buttons of the side bar's pages: TOxCustomLookOutButton (image and
// caption, hot, pushed and down states, groups) and its published form TOxExpressButton, and the
// registration of the side bar's classes.
#include "OxLookOut.h"

#include <algorithm>

#include "ExtCtrls.h"
#include "Menus.h"

namespace {
// A size of its own is written whatever it is; one taken from the page is the page's to write.
bool IsButtonImageSizeStored(TObject* Button) {
  return !static_cast<TOxCustomLookOutButton*>(Button)->ParentImageSize();
}
}  // namespace

VELBOR_IMPLEMENT_CLASS(TOxCustomLookOutButton)
VELBOR_IMPLEMENT_CLASS(TOxExpressButton)
VELBOR_PUBLISHED(TOxExpressButton,
  Prop("Down", &Self::Down, &Self::SetDown).Default(false),
  Prop("FillColor", &Self::FillColor, &Self::SetFillColor).Idents(ColorIdents).Default(clBtnFace),
  Prop("GroupIndex", &Self::GroupIndex, &Self::SetGroupIndex).Default(0),
  Prop("Offset", &Self::Offset, &Self::SetOffset).Default(1),
  Prop("ButtonBorder", &Self::ButtonBorder, &Self::SetButtonBorder).Default(bbLight),
  Prop("Caption", &Self::Caption, &Self::SetCaption),
  Prop("HighlightFont", &Self::HighlightFont, &Self::SetHighlightFont),
  Prop("ImageIndex", &Self::ImageIndex, &Self::SetImageIndex).Default(-1),
  Prop("ImageSize", &Self::ImageSize, &Self::SetImageSize).Stored(&IsButtonImageSizeStored),
  Prop("ParentImageSize", &Self::ParentImageSize, &Self::SetParentImageSize).Default(true),
  Prop("PopUpMenu", &Self::PopUpMenu, &Self::SetPopUpMenu),
  Prop("LargeImages", &Self::LargeImages, &Self::SetLargeImages),
  Prop("Spacing", &Self::Spacing, &Self::SetSpacing).Default(4),
  Prop("SmallImages", &Self::SmallImages, &Self::SetSmallImages),
  Prop("OnEdited", &Self::OnEdited),
  Prop("OnMouseExit", &Self::OnMouseExit))

void RegisterOxLookOut() {
  RegisterClass(TOxLookOut::StaticClass());
  RegisterClass(TOxLookOutPage::StaticClass());
  RegisterClass(TOxExpressButton::StaticClass());
}

namespace {

bool Designing(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

}  // namespace

TOxCustomLookOutButton::TOxCustomLookOutButton(TComponent* AOwner) : TOxGraphicControl(AOwner) {
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents};
  FHighlightFont = new TFont();
  FHighlightFont->Assign(Font());
  FSmallLink = new TChangeLink();
  FSmallLink->OnChange = TNotifyEvent(this, &TOxCustomLookOutButton::ImagesChanged);
  FLargeLink = new TChangeLink();
  FLargeLink->OnChange = TNotifyEvent(this, &TOxCustomLookOutButton::ImagesChanged);
  SetBounds(0, 0, 60, 60);
}

TOxCustomLookOutButton::~TOxCustomLookOutButton() {
  if (auto* page = dynamic_cast<TOxLookOutPage*>(Parent())) {
    auto& list = page->FButtons;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  if (FSmallImages) FSmallImages->UnRegisterChanges(FSmallLink);
  if (FLargeImages) FLargeImages->UnRegisterChanges(FLargeLink);
  delete FSmallLink;
  delete FLargeLink;
  delete FHighlightFont;
}

TOxExpressButton::TOxExpressButton(TComponent* AOwner) : TOxCustomLookOutButton(AOwner) {
  SetFillColor(clBtnFace);
  SetOffset(1);
  SetButtonBorder(bbLight);
  HighlightFont()->SetColor(clBlack);
  Font()->SetColor(clWhite);
}

// --- Properties ----------------------------------------------------------------------------------

void TOxCustomLookOutButton::SetParent(TWinControl* AParent) {
  auto* oldPage = dynamic_cast<TOxLookOutPage*>(Parent());
  TOxGraphicControl::SetParent(AParent);
  auto* newPage = dynamic_cast<TOxLookOutPage*>(Parent());
  if (oldPage == newPage) return;
  if (oldPage) {
    auto& list = oldPage->FButtons;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  if (!newPage) return;
  newPage->FButtons.push_back(this);
  // A button that follows its page takes the page's size on joining it (see the page's SetParent).
  if (FParentImageSize) SetParentImageSize(true);
  // The arrows stay above the buttons, wherever a button lands.
  if (!Designing(this) && newPage->UpArrow() && newPage->DownArrow()) {
    newPage->UpArrow()->BringToFront();
    newPage->DownArrow()->BringToFront();
  }
}

void TOxCustomLookOutButton::SetDown(bool Value) {
  if (Value == FDown) return;
  FDown = Value;
  if (Value) {
    FHot = true;
    FPushed = true;
  } else {
    FPushed = false;
  }
  if (FDown && FGroupIndex != 0 && Parent()) {
    TMessage m{CM_OXGROUPRELEASE, WPARAM(FGroupIndex), LPARAM(this), 0};
    Parent()->Broadcast(m);
  }
  Invalidate();
}

void TOxCustomLookOutButton::SetFillColor(TColor Value) {
  if (Value == FFillColor) return;
  FFillColor = Value;
  Invalidate();
}

void TOxCustomLookOutButton::SetCaption(const String& Value) {
  if (Value == Caption()) return;
  TOxGraphicControl::SetCaption(Value);
  Invalidate();
}

void TOxCustomLookOutButton::SetButtonBorder(TOxButtonBorder Value) {
  if (Value == FButtonBorder) return;
  FButtonBorder = Value;
  Invalidate();
}

void TOxCustomLookOutButton::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Invalidate();
}

void TOxCustomLookOutButton::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Invalidate();
}

void TOxCustomLookOutButton::SetHighlightFont(TFont* Value) {
  FHighlightFont->Assign(Value);
  Invalidate();
}

void TOxCustomLookOutButton::SetPopUpMenu(TComponent* Value) {
  if (Value == FPopUpMenu) return;
  if (FPopUpMenu) FPopUpMenu->RemoveFreeNotification(this);
  FPopUpMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TOxCustomLookOutButton::SetSmallImages(TCustomImageList* Value) {
  if (Value == FSmallImages) return;
  if (FSmallImages) {
    FSmallImages->UnRegisterChanges(FSmallLink);
    FSmallImages->RemoveFreeNotification(this);
  }
  FSmallImages = Value;
  if (Value) {
    Value->RegisterChanges(FSmallLink);
    Value->FreeNotification(this);
  }
  Invalidate();
}

void TOxCustomLookOutButton::SetLargeImages(TCustomImageList* Value) {
  if (Value == FLargeImages) return;
  if (FLargeImages) {
    FLargeImages->UnRegisterChanges(FLargeLink);
    FLargeImages->RemoveFreeNotification(this);
  }
  FLargeImages = Value;
  if (Value) {
    Value->RegisterChanges(FLargeLink);
    Value->FreeNotification(this);
  }
  Invalidate();
}

void TOxCustomLookOutButton::ImagesChanged(TObject*) { Invalidate(); }

void TOxCustomLookOutButton::SetImageSize(TOxImageSize Value) {
  FImageSize = Value;
  if (Designing(this)) FParentImageSize = false;
  Invalidate();
}

void TOxCustomLookOutButton::SetParentImageSize(bool Value) {
  FParentImageSize = Value;
  if (!Value) return;
  if (auto* page = dynamic_cast<TOxLookOutPage*>(Parent())) {
    FImageSize = page->ImageSize();
    Invalidate();
  }
}

void TOxCustomLookOutButton::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TOxCustomLookOutButton*>(Source);
  if (!other) {
    TOxGraphicControl::Assign(Source);
    return;
  }
  SetOffset(other->Offset());
  SetHeight(other->Height());
  SetWidth(other->Width());
  SetButtonBorder(other->ButtonBorder());
  SetCaption(other->Caption());
  SetDown(other->Down());
  SetFont(other->Font());
  SetHighlightFont(other->HighlightFont());
  FParentImageSize = other->ParentImageSize();
  FImageSize = other->ImageSize();
  SetImageIndex(other->ImageIndex());
  SetLargeImages(other->LargeImages());
  SetSmallImages(other->SmallImages());
  SetSpacing(other->Spacing());
}

void TOxCustomLookOutButton::Notification(TComponent* AComponent, TOperation Operation) {
  TOxGraphicControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  bool changed = false;
  if (AComponent == FSmallImages) {
    FSmallImages = nullptr;
    changed = true;
  }
  if (AComponent == FLargeImages) {
    FLargeImages = nullptr;
    changed = true;
  }
  if (AComponent == FPopUpMenu) {
    FPopUpMenu = nullptr;
    changed = true;
  }
  if (changed) Invalidate();
}

// --- Painting ------------------------------------------------------------------------------------

TCustomImageList* TOxCustomLookOutButton::ShownImages() const {
  if (FImageSize == isSmall && FSmallImages) return FSmallImages;
  if (FImageSize == isLarge && FLargeImages) return FLargeImages;
  return nullptr;
}

void TOxCustomLookOutButton::Paint() {
  TCanvas* canvas = Canvas();
  TRect client = ClientRect();
  if (Designing(this)) {
    canvas->Brush()->SetColor(clBlack);
    canvas->FrameRect(client);
  }
  const bool smallImages = FImageSize == isSmall && FSmallImages;
  if (smallImages) {
    int top = (Height() - FSmallImages->Height()) / 2;
    FImageRect = Rect(FSpacing, top, FSpacing + FSmallImages->Width(), top + FSmallImages->Height());
  } else if (FLargeImages) {
    int left = (Width() - FLargeImages->Width()) / 2;
    FImageRect = Rect(left, FSpacing, left + FLargeImages->Width(), FSpacing + FLargeImages->Height());
  }
  PaintFrame();
  UINT format = DT_END_ELLIPSIS | DT_EDITCONTROL;
  TCustomImageList* images = ShownImages();
  if (images) {
    int shift = FPushed ? FOffset : 0;
    images->Draw(canvas, FImageRect.Left + shift, FImageRect.Top + shift, FImageIndex, Enabled());
    format |= smallImages ? DT_VCENTER | DT_SINGLELINE : DT_WORDBREAK | DT_CENTER;
  }
  String caption = Caption();
  if (caption.empty()) return;
  canvas->SetFont(FHot ? FHighlightFont : Font());
  canvas->Brush()->SetStyle(bsClear);
  RECT text = client;
  if (images && !smallImages) {
    text.top += images->Height() + 2 * FSpacing;
  } else if (images) {
    text.left += images->Width() + 3 * FSpacing;
  } else {
    format = DT_END_ELLIPSIS | DT_EDITCONTROL | DT_WORDBREAK | DT_VCENTER | DT_CENTER;
  }
  if (FPushed) OffsetRect(&text, FOffset, FOffset);
  HDC dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(canvas->Font()->Color()));
  DrawTextA(dc, caption.c_str(), int(caption.size()), &text, format);
}

void TOxCustomLookOutButton::PaintFrame() {
  TCanvas* canvas = Canvas();
  TRect client = ClientRect();
  const bool designing = Designing(this);
  if (designing) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBlack);
    canvas->FrameRect(client);
  }
  if (!Enabled() || (!FHot && !designing)) return;
  TRect r = client;
  if (designing && !Visible()) {
    canvas->Brush()->SetStyle(bsBDiagonal);
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(client);
    canvas->Brush()->SetStyle(bsSolid);
  } else if (FFillColor == clNone) {
    r = FImageRect;
    r.Left -= FSpacing;
    r.Top -= FSpacing;
    r.Right += FSpacing;
    r.Bottom += FSpacing;
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FFillColor);
    canvas->FillRect(client);
  }
  TColor topLeft, bottomRight;
  if (FPushed) {
    switch (FButtonBorder) {
      case bbDark: topLeft = cl3DDkShadow; bottomRight = clBtnFace; break;
      case bbLight: topLeft = clBtnShadow; bottomRight = clBtnHighlight; break;
      default: topLeft = cl3DDkShadow; bottomRight = clBtnHighlight; break;
    }
  } else {
    switch (FButtonBorder) {
      case bbDark: topLeft = clBtnFace; bottomRight = cl3DDkShadow; break;
      case bbLight: topLeft = clBtnHighlight; bottomRight = clBtnShadow; break;
      default: topLeft = clBtnHighlight; bottomRight = cl3DDkShadow; break;
    }
  }
  Frame3D(canvas, r, topLeft, bottomRight, 1);
}

void TOxCustomLookOutButton::RepaintAfterPress() {
  if (FOffset != 0 || !Parent() || !Parent()->HandleAllocated() || !Visible()) {
    Invalidate();
    return;
  }
  // Nothing moves: the frame alone is drawn again.
  PaintFrame();
}

// --- Mouse and keys ------------------------------------------------------------------------------

void TOxCustomLookOutButton::DoEdited(String& Caption) {
  if (OnEdited) OnEdited(this, Caption);
}

// The class library's own mouse-enter handling fires OnMouseEnter; it is fired here instead, once.
void TOxCustomLookOutButton::DoMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TOxCustomLookOutButton::DoMouseExit() {
  if (OnMouseExit) OnMouseExit(this);
}

void TOxCustomLookOutButton::CMMouseEnter(TMessage& Message) {
  if (Parent()) Parent()->Perform(CM_MOUSEENTER, 0, Message.LParam ? Message.LParam : LPARAM(this));
  DoMouseEnter();
  FHot = true;
  if (FFillColor == clNone && Parent() && Parent()->HandleAllocated()) {
    PaintFrame();
  } else {
    Invalidate();
  }
}

void TOxCustomLookOutButton::CMMouseLeave(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  DoMouseExit();
  if (FHot && !FDown) {
    FHot = false;
    Invalidate();
  }
}

void TOxCustomLookOutButton::MouseMove(TShiftState Shift, int X, int Y) {
  TOxGraphicControl::MouseMove(Shift, X, Y);
  bool inside = ClientRect().Contains(TPoint(X, Y));
  if (inside && !FHot) {
    FHot = true;
    Invalidate();
    if (Parent()) {
      TMessage m{CM_OXBUTTONHOT, 0, LPARAM(this), 0};
      Parent()->Broadcast(m);
    }
  } else if (!inside && FHot) {
    FHot = false;
    Invalidate();
  }
}

void TOxCustomLookOutButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOxGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbRight) {
    if (auto* popup = dynamic_cast<TPopupMenu*>(FPopUpMenu)) {
      TPoint p = ClientToScreen(TPoint(X, Y));
      popup->SetPopupComponent(this);
      popup->Popup(p.X, p.Y);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, 0x20A, PM_REMOVE)) {
      }
    }
    if (!FDown) FPushed = false;
  } else if (Button == mbLeft && FHot) {
    FPushed = true;
  } else if (!FDown) {
    FPushed = false;
  }
  if (FGroupIndex != 0) SetDown(!FDown);
  RepaintAfterPress();
}

void TOxCustomLookOutButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOxGraphicControl::MouseUp(Button, Shift, X, Y);
  if (FPushed && !FDown) {
    FPushed = false;
    RepaintAfterPress();
  }
}

void TOxCustomLookOutButton::Click() { TOxGraphicControl::Click(); }

void TOxCustomLookOutButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_OXIMAGESIZECHANGED: CMImageSizeChanged(Message); break;
    case CM_OXBUTTONHOT: CMButtonHot(Message); break;
    case CM_OXGROUPRELEASE: CMGroupRelease(Message); break;
    default: TOxGraphicControl::Dispatch(Message); break;
  }
}

void TOxCustomLookOutButton::CMVisibleChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  Invalidate();
}

void TOxCustomLookOutButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(WORD(Message.WParam), Caption()) && Enabled() && Visible() && Parent()) {
    auto* page = dynamic_cast<TOxLookOutPage*>(Parent());
    bool reachable = page && page->Manager() ? page->Manager()->GetActivePage() == page : Parent()->Visible();
    if (reachable) {
      Click();
      Message.Result = 1;
      return;
    }
  }
  TOxGraphicControl::Dispatch(Message);
}

void TOxCustomLookOutButton::CMImageSizeChanged(TMessage& Message) {
  if (Message.LParam == LPARAM(this) || !FParentImageSize) return;
  FImageSize = TOxImageSize(Message.WParam);
  Invalidate();
}

void TOxCustomLookOutButton::CMButtonHot(TMessage& Message) {
  if (Message.LParam == LPARAM(this) || !FHot || FDown) return;
  FHot = false;
  Invalidate();
}

void TOxCustomLookOutButton::CMGroupRelease(TMessage& Message) {
  auto* sender = reinterpret_cast<TOxCustomLookOutButton*>(Message.LParam);
  if (int(Message.WParam) != FGroupIndex || sender == this || !sender->Down() || !FPushed) return;
  FDown = false;
  FPushed = false;
  FHot = false;
  Invalidate();
}
