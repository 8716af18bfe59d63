// This file implements the static item, the large button, their controls, the place form and the
// shortening of paths.
#include "kwBarExtItems.h"

#include <algorithm>
#include <utility>

#include "kwBarControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {
// Apply Do to every control of a kind among the item's links.
template <class C, class F>
void ForEachControlOf(TkwBarItem* Item, F Do) {
  for (int i = 0; i < Item->GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<C*>(Item->GetLink(i)->Control())) Do(control);
}

bool InToolBar(const TkwBarItemControl* Control) {
  TCustomkwBarControl* window = ControlWindow(Control);
  return window && !window->IsSubMenu();
}

// The size of a glyph's bitmap, or of the images of a list.
TSize GlyphExtent(TBitmap* Glyph, TCustomImageList* Images) {
  if (Glyph && !Glyph->Empty()) return TSize{Glyph->Width(), Glyph->Height()};
  if (Images) return TSize{Images->Width(), Images->Height()};
  return TSize{0, 0};
}

bool ValidIndex(TCustomImageList* Images, int Index) { return Images && Index >= 0 && Index < Images->Count(); }
}  // namespace

// --- TkwBarStatic -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarStatic)
VELBOR_PUBLISHED(TkwBarStatic,
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taCenter),
  Prop("AllowClick", &Self::AllowClick, &Self::SetAllowClick).Default(false),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(sbsNone),
  Prop("Glyph", &Self::Glyph, &Self::SetGlyph),
  Prop("Height", &Self::Height, &Self::SetHeight).Default(0),
  Prop("ImageIndex", &Self::ImageIndex, &Self::SetImageIndex).Default(-1),
  Prop("LeftIndent", &Self::LeftIndent, &Self::SetLeftIndent).Default(0),
  Prop("RightIndent", &Self::RightIndent, &Self::SetRightIndent).Default(0),
  Prop("ShowCaption", &Self::ShowCaption, &Self::SetShowCaption).Default(true),
  Prop("Width", &Self::Width, &Self::SetWidth).Default(0),
  Prop("OnClick", &Self::OnClick))

int TkwBarStatic::BorderWidthOf(TkwBarStaticBorderStyle Style) {
  switch (Style) {
    case sbsNone: return 0;
    case sbsLowered:
    case sbsRaised: return 1;
    case sbsEtched:
    case sbsBump: return 2;
  }
  return 0;
}

void TkwBarStatic::Changed(bool SizeChanged) {
  if (IsLoading()) return;
  if (SizeChanged)
    RebuildLinkBars();
  else
    RepaintLinks();
}

void TkwBarStatic::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Changed(false);
}

void TkwBarStatic::SetBorderStyle(TkwBarStaticBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  // A fixed size keeps the cell where it is; the border only eats into it.
  Changed(FWidth == 0 || FHeight == 0);
}

void TkwBarStatic::SetHeight(int Value) {
  Value = std::max(Value, 0);
  if (Value == FHeight) return;
  FHeight = Value;
  Changed(true);
}

void TkwBarStatic::SetLeftIndent(int Value) {
  Value = std::max(Value, 0);
  if (Value == FLeftIndent) return;
  FLeftIndent = Value;
  Changed(true);
}

void TkwBarStatic::SetRightIndent(int Value) {
  Value = std::max(Value, 0);
  if (Value == FRightIndent) return;
  FRightIndent = Value;
  Changed(true);
}

void TkwBarStatic::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  Changed(true);
}

void TkwBarStatic::SetWidth(int Value) {
  Value = std::max(Value, 0);
  if (Value == FWidth) return;
  FWidth = Value;
  Changed(true);
}

// --- TkwBarStaticControl ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarStaticControl)

bool TkwBarStaticControl::CanClick() const {
  TkwBarStatic* item = Static();
  return item && item->AllowClick() && TkwBarItemControl::CanClick();
}

bool TkwBarStaticControl::IsSelectable() const {
  if (!TkwBarItemControl::IsSelectable()) return false;
  TkwBarStatic* item = Static();
  TkwBarWindow* window = BarWindow();
  return (item && item->AllowClick()) || (window && window->IsCustomizing());
}

void TkwBarStaticControl::CaptionChanged() {
  TkwBarStatic* item = Static();
  if (item && item->Width() != 0)
    Repaint();
  else
    TkwBarItemControl::CaptionChanged();
}

int TkwBarStaticControl::CalcAlong() {
  TkwBarStatic* item = Static();
  if (item && item->Width() != 0) return item->Width();
  return NaturalAlong();
}

int TkwBarStaticControl::NaturalAlong() {
  TkwBarStatic* item = Static();
  TCustomkwBarControl* window = Window();
  TkwBarManager* manager = GetBarManager();
  if (!item || !window || !manager) return 0;
  int width = 0;
  if (item->ShowCaption()) width = window->Canvas()->TextWidth(RemoveAmpersands(GetCaption()));
  if (ShowsGlyph() || !item->ShowCaption()) {
    width += manager->ButtonSize();
    if (item->ShowCaption()) width += 4;
  } else {
    width += window->RowHeight() / 2;
  }
  return width + item->LeftIndent() + item->RightIndent() + 2 * item->BorderWidth();
}

int TkwBarStaticControl::CalcAcross() {
  TkwBarStatic* item = Static();
  TCustomkwBarControl* window = Window();
  TkwBarManager* manager = GetBarManager();
  if (!item || !window || !manager) return 0;
  if (item->Height() != 0) return item->Height();
  int height;
  if (window->IsSubMenu())
    height = window->RowHeight();
  else if (ShowsGlyph() || !item->ShowCaption())
    height = item->ShowCaption() ? std::max(manager->ButtonWidth(), window->RowHeight() - 3) : manager->ButtonWidth();
  else
    height = window->RowHeight() - 3;
  return height + 2 * item->BorderWidth();
}

int TkwBarStaticControl::CalcWidth() {
  TCustomkwBarControl* window = Window();
  return window && IsRotatedBarControl(window) ? CalcAcross() : CalcAlong();
}

int TkwBarStaticControl::CalcHeight() {
  TCustomkwBarControl* window = Window();
  return window && IsRotatedBarControl(window) ? CalcAlong() : CalcAcross();
}

void TkwBarStaticControl::Draw(const TRect& Rect, int Kind) {
  TkwBarStatic* item = Static();
  TCustomkwBarControl* window = Window();
  if (!item || !window || Rect.IsEmpty()) return;
  const TkwBarItemControlPainter* painter = window->Painter();
  HDC dc = window->Canvas()->Handle();
  HBRUSH brush = window->ItemBrush();
  bool rotated = Kind == ilRotated;
  TRect r = Rect;
  // The indents keep the window's background.
  if (item->LeftIndent() > 0) {
    TRect lead = r;
    if (rotated) {
      lead.Bottom = lead.Top + item->LeftIndent();
      r.Top = lead.Bottom;
    } else {
      lead.Right = lead.Left + item->LeftIndent();
      r.Left = lead.Right;
    }
    painter->DrawItemBackground(this, dc, lead, brush, true);
  }
  if (item->RightIndent() > 0) {
    TRect trail = r;
    if (rotated) {
      trail.Top = trail.Bottom - item->RightIndent();
      r.Bottom = trail.Top;
    } else {
      trail.Left = trail.Right - item->RightIndent();
      r.Right = trail.Left;
    }
    painter->DrawItemBackground(this, dc, trail, brush, true);
  }
  painter->DrawStaticBorder(this, dc, item->BorderStyle(), item->BorderWidth(), r);
  if (r.IsEmpty()) return;
  TRect text = r;
  int margin;
  if (ShowsGlyph()) {
    TkwBarManager* manager = GetBarManager();
    int cell = manager ? manager->ButtonSize() : 23;
    TRect glyph = r;
    if (rotated) {
      glyph.Bottom = std::min(r.Bottom, r.Top + cell);
      text.Top = glyph.Bottom;
    } else {
      glyph.Right = std::min(r.Right, r.Left + cell);
      text.Left = glyph.Right;
    }
    TkwCellStates states;
    states.Include(cstPlainBackground);
    DrawGlyph(glyph, states, Kind, GetImageIndex(), GetImages(), GetGlyph());
    painter->DrawItemBackground(this, dc, text, brush, true);
    margin = 2;
  } else {
    painter->DrawItemBackground(this, dc, r, brush, true);
    margin = window->RowHeight() / 4;
  }
  if (!item->ShowCaption()) return;
  int align = caCenter;
  if (item->Alignment() == taLeftJustify) {
    align = caLeft;
    (rotated ? text.Top : text.Left) += margin;
  } else if (item->Alignment() == taRightJustify) {
    align = caRight;
    (rotated ? text.Bottom : text.Right) -= margin;
  }
  DrawCaption(dc, GetCaption(), text, align, GetEnabled(), false, rotated, true, true);
}

// --- TkwBarProgressItem -----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarProgressItem)
VELBOR_PUBLISHED(TkwBarProgressItem,
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(sbsLowered),
  Prop("Color", &Self::Color, &Self::SetColor).Default(clDefault).Idents(ColorIdents),
  Prop("Max", &Self::Max, &Self::SetMax).Default(100),
  Prop("Min", &Self::Min, &Self::SetMin).Default(0),
  Prop("Position", &Self::Position, &Self::SetPosition).Default(0),
  Prop("Smooth", &Self::Smooth, &Self::SetSmooth).Default(false),
  Prop("Step", &Self::Step, &Self::SetStep).Default(10))

TkwBarProgressItem::TkwBarProgressItem(TComponent* AOwner) : TkwBarStatic(AOwner) { SetBorderStyle(sbsLowered); }

void TkwBarProgressItem::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  InvalidateProgress();
}

void TkwBarProgressItem::SetSmooth(bool Value) {
  if (Value == FSmooth) return;
  FSmooth = Value;
  InvalidateProgress();
}

void TkwBarProgressItem::SetMin(int Value) {
  if (Value == FMin) return;
  SetRange(Value, std::max(FMax, Value));
}

void TkwBarProgressItem::SetMax(int Value) {
  if (Value == FMax) return;
  SetRange(std::min(Value, FMin), Value);
}

void TkwBarProgressItem::SetRange(int AMin, int AMax) {
  if (AMin == FMin && AMax == FMax) return;
  FMin = AMin;
  FMax = AMax;
  if (IsLoading()) return;
  if (FMax < FMin) FMin = FMax;
  int position = std::clamp(FPosition, FMin, FMax);
  if (position != FPosition)
    SetPosition(position);
  else
    RepaintLinks();
}

void TkwBarProgressItem::SetPosition(int Value) {
  // While loading the range may be upside down for a moment: the upper bound wins.
  Value = std::min(std::max(Value, FMin), FMax);
  if (Value == FPosition) return;
  FPosition = Value;
  InvalidateProgress();
}

void TkwBarProgressItem::InvalidateProgress() {
  for (int i = 0; i < GetLinkCount(); ++i) {
    TkwBarItemLink* link = GetLink(i);
    auto* control = link ? dynamic_cast<TkwBarProgressControl*>(link->Control()) : nullptr;
    TCustomkwBarControl* window = control ? control->Window() : nullptr;
    if (!window || !window->HandleAllocated()) continue;
    TRect r = control->ProgressRect();
    // The bar covers its whole rectangle: nothing to erase under it.
    if (!r.IsEmpty()) InvalidateRect(window->Handle(), AsRECT(r), FALSE);
  }
}

// --- TkwBarProgressControl --------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarProgressControl)

int TkwBarProgressControl::LeadIndent() {
  TCustomkwBarControl* window = Window();
  return window ? window->Painter()->GetProgressBarIndent(this, HasGlyph()) : 0;
}

COLORREF TkwBarProgressControl::BarColor() const {
  TkwBarProgressItem* item = Progress();
  TCustomkwBarControl* window = Window();
  if (item && item->Color() != clDefault) return ColorToRGB(item->Color());
  return window ? window->Painter()->GetProgressBarColor() : GetSysColor(COLOR_HIGHLIGHT);
}

TRect TkwBarProgressControl::ProgressRect() { return Link() ? ProgressRectIn(Link()->ItemRect) : TRect(); }

TRect TkwBarProgressControl::ProgressRectIn(const TRect& Rect) {
  TkwBarProgressItem* item = Progress();
  TCustomkwBarControl* window = Window();
  if (!item || !window || Rect.IsEmpty()) return TRect();
  bool rotated = IsRotatedBarControl(window);
  TRect r = Rect;
  (rotated ? r.Top : r.Left) += LeadIndent();
  int border = item->BorderWidth();
  int across = rotated ? r.Width() : r.Height();
  int thickness = MulDiv(across, 2, 3) - 2 * border;
  if ((across - thickness) % 2 != 0) --thickness;
  if (thickness <= 0) return TRect();
  // The length: 150 pixels for an automatic width, else what the caption leaves.
  int length;
  bool stretched = item->Align() == iaClient;
  if (item->Width() == 0 && !stretched && !window->IsSubMenu()) {
    length = 150;
  } else {
    int available = window->IsSubMenu() || stretched ? (rotated ? r.Height() : r.Width()) : item->Width();
    length = available - NaturalAlong() - (item->ShowCaption() ? 2 : 4);
  }
  if (length <= 0) return TRect();
  int offset = (across - thickness) / 2;
  if (rotated) {
    int bottom = r.Bottom - border - 1;
    return TRect(r.Left + offset, bottom - length, r.Left + offset + thickness, bottom);
  }
  int right = r.Right - border - 1;
  return TRect(right - length, r.Top + offset, right, r.Top + offset + thickness);
}

int TkwBarProgressControl::ProgressAlong() {
  TkwBarProgressItem* item = Progress();
  if (!item) return 0;
  int along = CalcAlong();
  if (item->Width() == 0) along += item->ShowCaption() ? 152 : 154;
  return along + LeadIndent();
}

int TkwBarProgressControl::ProgressAcross() {
  TkwBarProgressItem* item = Progress();
  TCustomkwBarControl* window = Window();
  if (!item || !window) return 0;
  return std::max(CalcAcross(), window->Painter()->GetProgressBarMinHeight(this) + 2 * item->BorderWidth() + 2);
}

int TkwBarProgressControl::CalcWidth() {
  TCustomkwBarControl* window = Window();
  return window && IsRotatedBarControl(window) ? ProgressAcross() : ProgressAlong();
}

int TkwBarProgressControl::CalcHeight() {
  TCustomkwBarControl* window = Window();
  return window && IsRotatedBarControl(window) ? ProgressAlong() : ProgressAcross();
}

void TkwBarProgressControl::Draw(const TRect& Rect, int Kind) {
  TkwBarProgressItem* item = Progress();
  TCustomkwBarControl* window = Window();
  if (!item || !window || Rect.IsEmpty()) return;
  const TkwBarItemControlPainter* painter = window->Painter();
  HDC dc = window->Canvas()->Handle();
  bool rotated = Kind == ilRotated;
  TRect bar = ProgressRectIn(Rect);
  TRect rest = Rect;
  if (int indent = LeadIndent(); indent > 0) {
    TRect lead = Rect;
    if (rotated) {
      lead.Bottom = std::min(Rect.Bottom, Rect.Top + indent);
      rest.Top = lead.Bottom;
    } else {
      lead.Right = std::min(Rect.Right, Rect.Left + indent);
      rest.Left = lead.Right;
    }
    painter->DrawItemBackground(this, dc, lead, window->ItemBrush(), true);
  }
  // The static part (border and caption) around the bar, which is left out of its drawing.
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  bool hadClip = GetClipRgn(dc, saved) == 1;
  if (!bar.IsEmpty()) ExcludeClipRect(dc, bar.Left, bar.Top, bar.Right, bar.Bottom);
  TkwBarStaticControl::Draw(rest, Kind);
  SelectClipRgn(dc, hadClip ? saved : nullptr);
  DeleteObject(saved);
  if (!bar.IsEmpty())
    painter->DrawProgressBar(this, dc, item->Min(), item->Max(), item->Position(), item->Smooth(), Kind, BarColor(),
                             bar);
}

// --- TkwBarLargeButton ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarLargeButton)
VELBOR_PUBLISHED(TkwBarLargeButton,
  Prop("AutoGrayScale", &Self::AutoGrayScale, &Self::SetAutoGrayScale).Default(true),
  Prop("GlyphLayout", &Self::GlyphLayout, &Self::SetGlyphLayout).Default(glTop),
  Prop("Height", &Self::Height, &Self::SetHeight).Default(0),
  Prop("HotGlyph", &Self::HotGlyph, &Self::SetHotGlyph),
  Prop("HotImageIndex", &Self::HotImageIndex, &Self::SetHotImageIndex).Default(-1),
  Prop("LargeGlyph", &Self::LargeGlyph, &Self::SetLargeGlyph),
  Prop("LargeImageIndex", &Self::LargeImageIndex, &Self::SetLargeImageIndex).Default(-1),
  Prop("ShowCaption", &Self::ShowCaption, &Self::SetShowCaption).Default(true),
  Prop("Width", &Self::Width, &Self::SetWidth).Default(0))

TkwBarLargeButton::TkwBarLargeButton(TComponent* AOwner)
    : TkwBarButton(AOwner), FHotGlyph(new TBitmap()), FLargeGlyph(new TBitmap()) {
  FHotGlyph->OnChange = TNotifyEvent(this, &TkwBarLargeButton::HotGlyphChangedHandler);
  FLargeGlyph->OnChange = TNotifyEvent(this, &TkwBarLargeButton::LargeGlyphChangedHandler);
}

TkwBarLargeButton::~TkwBarLargeButton() {
  // The links go first: their controls still look at the glyphs.
  Destroying();
  while (GetLinkCount() > 0) delete GetLink(GetLinkCount() - 1);
  delete FHotGlyph;
  delete FLargeGlyph;
}

void TkwBarLargeButton::LayoutChanged() {
  if (IsLoading()) return;
  ForEachControlOf<TkwBarLargeButtonControl>(this, [](TkwBarLargeButtonControl* c) {
    if (c->IsWindowNotMenu()) c->Changed();
  });
}

void TkwBarLargeButton::SetAutoGrayScale(bool Value) {
  if (Value == FAutoGrayScale) return;
  FAutoGrayScale = Value;
  if (!IsLoading()) RepaintLinks();
}

void TkwBarLargeButton::SetGlyphLayout(TkwBarGlyphLayout Value) {
  if (Value == FGlyphLayout) return;
  FGlyphLayout = Value;
  LayoutChanged();
}

void TkwBarLargeButton::SetHeight(int Value) {
  if (Value < 0 || Value == FHeight) return;
  FHeight = Value;
  LayoutChanged();
}

void TkwBarLargeButton::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  LayoutChanged();
}

void TkwBarLargeButton::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  LayoutChanged();
}

void TkwBarLargeButton::SetHotImageIndex(int Value) {
  if (Value == FHotImageIndex) return;
  FHotImageIndex = Value;
  HotGlyphChanged();
}

void TkwBarLargeButton::SetLargeImageIndex(int Value) {
  if (Value == FLargeImageIndex) return;
  FLargeImageIndex = Value;
  LargeGlyphChanged();
}

TCustomImageList* TkwBarLargeButton::GetImages() const { return BarManager() ? BarManager()->LargeImages() : nullptr; }

void TkwBarLargeButton::HotGlyphChanged() {
  if (IsLoading() || IsDestroying()) return;
  ForEachControlOf<TkwBarLargeButtonControl>(this, [](TkwBarLargeButtonControl* c) { c->Repaint(); });
}

void TkwBarLargeButton::LargeGlyphChanged() {
  if (IsLoading() || IsDestroying()) return;
  ForEachControlOf<TkwBarLargeButtonControl>(this, [](TkwBarLargeButtonControl* c) { c->GlyphChanged(); });
}

bool TkwBarLargeButton::AcceptsAccelerator(TkwBarItemLink* Link) const {
  if (!Enabled()) return false;
  TkwBarWindow* window = Link ? Link->GetBarControl() : nullptr;
  if (window && !window->IsSubMenu() && !FShowCaption) return false;
  return true;
}

// --- TkwBarLargeButtonControl -----------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarLargeButtonControl)

bool TkwBarLargeButtonControl::InMenu() const { return !InToolBar(this); }

bool TkwBarLargeButtonControl::ShowsLargeCaption() const {
  TkwBarLargeButton* item = Large();
  return item && item->ShowCaption();
}

TBitmap* TkwBarLargeButtonControl::ChooseGlyph(TCustomImageList*& Images, int& Index) const {
  TkwBarLargeButton* item = Large();
  Images = nullptr;
  Index = -1;
  if (!item) return nullptr;
  TCustomImageList* hotImages = GetHotImages();
  TCustomImageList* largeImages = GetLargeImages();
  bool hasHot = !item->HotGlyph()->Empty() || ValidIndex(hotImages, item->HotImageIndex());
  bool hasLarge = !item->LargeGlyph()->Empty() || ValidIndex(largeImages, item->LargeImageIndex());
  auto hot = [&]() -> TBitmap* {
    if (!item->HotGlyph()->Empty()) return item->HotGlyph();
    Images = hotImages;
    Index = item->HotImageIndex();
    return nullptr;
  };
  auto large = [&]() -> TBitmap* {
    if (!item->LargeGlyph()->Empty()) return item->LargeGlyph();
    Images = largeImages;
    Index = item->LargeImageIndex();
    return nullptr;
  };
  bool hotNow = IsSelected();
  if (hotNow && hasHot) return hot();
  if (hasLarge) return large();
  if (hasHot) return hot();
  Images = largeImages ? largeImages : TkwBarItemControl::GetImages();
  return nullptr;
}

TSize TkwBarLargeButtonControl::GlyphSize() const {
  TCustomImageList* images;
  int index;
  TBitmap* glyph = ChooseGlyph(images, index);
  if (glyph) return GlyphExtent(glyph, nullptr);
  return index >= 0 ? GlyphExtent(nullptr, images) : TSize{0, 0};
}

int TkwBarLargeButtonControl::GetArrowWidth() const {
  TCustomkwBarControl* window = Window();
  if (!window || window->IsSubMenu()) return TkwBarButtonControl::GetArrowWidth();
  TkwBarManager* manager = GetBarManager();
  return manager ? window->Painter()->GetLargeButtonArrowWidth(manager) : 13;
}

TSize TkwBarLargeButtonControl::CalcToolBarSize() {
  TkwBarLargeButton* item = Large();
  TCustomkwBarControl* window = Window();
  if (!item || !window) return TSize{0, 0};
  bool rotated = IsRotatedBarControl(window);
  bool caption = item->ShowCaption();
  TSize glyph = GlyphSize();
  bool hasGlyph = glyph.cx > 0 && glyph.cy > 0;
  // A turned bar with captions turns the glyph too.
  if (rotated && caption) std::swap(glyph.cx, glyph.cy);
  TkwBarGlyphLayout layout = item->GlyphLayout();
  bool stacked = layout == glTop || layout == glBottom;
  int textHeight = window->Canvas()->TextHeight("Qq");
  int textWidth = caption ? window->Canvas()->TextWidth(RemoveAmpersands(GetCaption())) : 0;

  int height = item->Height();
  if (height == 0) {
    height = hasGlyph ? glyph.cy + 6 : 26;
    if (caption) height = stacked ? height + textHeight + 1 : std::max(height, textHeight + 6);
  }
  int width = item->Width();
  if (width == 0) {
    width = hasGlyph ? glyph.cx + 10 : 30;
    if (caption) width = stacked ? std::max(width, textWidth + 16) : width + textWidth + 6;
  }
  if (IsLowered()) {
    int border = 2 * window->Painter()->GetButtonExtraBorder(this);
    width += border;
    height += border;
  }
  if (IsDropDownButton()) width += GetArrowWidth();
  if (rotated && caption) std::swap(width, height);
  return TSize{width, height};
}

int TkwBarLargeButtonControl::CalcHeight() {
  if (InMenu()) return TkwBarButtonControl::CalcHeight();
  return CalcToolBarSize().cy;
}

int TkwBarLargeButtonControl::CalcWidth() {
  if (InMenu()) return TkwBarButtonControl::CalcWidth();
  return CalcToolBarSize().cx;
}

void TkwBarLargeButtonControl::GlyphChanged() {
  TkwBarLargeButton* item = Large();
  if (InMenu() || (item && item->Width() != 0 && item->Height() != 0))
    Repaint();
  else
    Changed();
}

TRect TkwBarLargeButtonControl::GlyphRect(const TRect& Content) const {
  TkwBarLargeButton* item = Large();
  TSize size = GlyphSize();
  if (size.cx <= 0 || size.cy <= 0) size = TSize{20, 20};
  TCustomkwBarControl* window = ControlWindow(this);
  bool rotated = window && IsRotatedBarControl(window);
  TRect r;
  if (!item || !item->ShowCaption()) return Bounds(Content.Left + 4, Content.Top + 2, size.cx, size.cy);
  int centreX = Content.Left + (Content.Width() - size.cx) / 2;
  int centreY = Content.Top + (Content.Height() - size.cy) / 2;
  // In a turned bar the reading direction runs downwards: "top" is the bar's right side.
  switch (item->GlyphLayout()) {
    case glTop:
      return rotated ? Bounds(Content.Right - 2 - size.cx, centreY, size.cx, size.cy)
                     : Bounds(centreX, Content.Top + 2, size.cx, size.cy);
    case glBottom:
      return rotated ? Bounds(Content.Left + 2, centreY, size.cx, size.cy)
                     : Bounds(centreX, Content.Bottom - 2 - size.cy, size.cx, size.cy);
    case glLeft:
      return rotated ? Bounds(centreX, Content.Top + 4, size.cx, size.cy)
                     : Bounds(Content.Left + 4, centreY, size.cx, size.cy);
    case glRight:
      return rotated ? Bounds(centreX, Content.Bottom - 4 - size.cy, size.cx, size.cy)
                     : Bounds(Content.Right - 4 - size.cx, centreY, size.cx, size.cy);
  }
  return r;
}

void TkwBarLargeButtonControl::Draw(const TRect& Rect, int Kind) {
  if (Kind == ilMenu || InMenu()) {
    TkwBarButtonControl::Draw(Rect, Kind);
    return;
  }
  TkwBarLargeButton* item = Large();
  TCustomkwBarControl* window = Window();
  if (!item || !window || Rect.IsEmpty()) return;
  const TkwBarItemControlPainter* painter = window->Painter();
  HDC dc = window->Canvas()->Handle();
  bool selected = IsSelected();
  bool rotated = Kind == ilRotated;
  TRect r = Rect;
  if (IsLowered()) DrawLoweredFrame(dc, r);
  TRect arrow = CutArrowPart(r);

  TCustomImageList* images;
  int index;
  TBitmap* glyph = ChooseGlyph(images, index);
  TkwCellStates states = CellStates();
  states.Exclude(cstNoGlyph);
  if (!glyph && index < 0) states.Include(cstNoGlyph);
  if (item->AutoGrayScale() && !selected) states.Include(cstGrayed);

  TRect content = r;
  InflateBy(content, -1, -1);
  painter->ShiftPressedContent(this, GetDown(), states.Contains(cstPressed), content);
  TRect glyphRect = GlyphRect(content);
  DrawGlyphCell(r, states, index, images, glyph, Kind, glyphRect);

  if (item->ShowCaption()) {
    TRect text = content;
    int align = caCenter;
    switch (item->GlyphLayout()) {
      case glLeft:
        align = caLeft;
        (rotated ? text.Top : text.Left) = (rotated ? glyphRect.Bottom : glyphRect.Right) + 3;
        break;
      case glRight:
        align = caRight;
        (rotated ? text.Bottom : text.Right) = (rotated ? glyphRect.Top : glyphRect.Left) - 3;
        break;
      case glTop:
        if (rotated)
          text.Right = glyphRect.Left;
        else
          text.Top = glyphRect.Bottom;
        break;
      case glBottom:
        if (rotated)
          text.Left = glyphRect.Right;
        else
          text.Bottom = glyphRect.Top;
        break;
    }
    DrawCaption(dc, GetCaption(), text, align, GetEnabled(), selected, rotated, false, true);
  }
  DrawArrowPart(arrow, Kind, selected);
}

// --- TPlaceForm -------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TPlaceForm)

TPlaceForm::TPlaceForm(TComponent* AOwner) : TCustomForm(AOwner, true), FBrush(SysBrush(COLOR_BTNFACE)) {}

TPlaceForm::~TPlaceForm() = default;

void TPlaceForm::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_ERASEBKGND) {
    TCustomForm::Dispatch(Message);
    return;
  }
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  TRect client = ClientRect();
  const TkwBarItemControlPainter* painter = ItemControl ? PainterOf(ItemControl) : nullptr;
  if (painter)
    painter->DrawItemBackground(ItemControl, dc, client, FBrush, false);
  else
    FillRect(dc, AsRECT(client), FBrush);
  Message.Result = 1;
}

// --- Paths ------------------------------------------------------------------------------------------

String ShortenPath(const String& Path, int MaxWidth) {
  // The text may grow by the ellipsis: room for it and the terminator, however long the path.
  std::string buffer(Path.c_str(), Path.size());
  buffer.resize(Path.size() + 8, '\0');
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT r{0, 0, MaxWidth, 0};
  DrawTextA(dc, buffer.data(), int(Path.size()), &r,
            DT_CALCRECT | DT_PATH_ELLIPSIS | DT_SINGLELINE | DT_NOPREFIX | DT_MODIFYSTRING);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return String(buffer.c_str());
}
