// This file implements THeaderControl over SysHeader32, with its sections (THeaderSections of
// THeaderSection: text, width and its limits, alignment, owner drawing) and their click, resize
// and tracking events.
#include "ComCtrls.h"

#include <algorithm>

VELBOR_IMPLEMENT_CLASS(THeaderSection)
VELBOR_PUBLISHED(THeaderSection,
  Prop("Text", &Self::Text, &Self::SetText),
  Prop("Width", &Self::Width, &Self::SetWidth),
  Prop("MinWidth", &Self::MinWidth, &Self::SetMinWidth).Default(0),
  Prop("MaxWidth", &Self::MaxWidth, &Self::SetMaxWidth).Default(10000),
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taLeftJustify),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(hsText),
  Prop("AllowClick", &Self::AllowClick).Default(true))

THeaderSection::THeaderSection(TCollection* Collection) : TCollectionItem(Collection) {}

void THeaderSection::SetText(const String& Value) {
  if (FText == Value) return;
  FText = Value;
  Changed(false);
}

void THeaderSection::SetWidth(int Value) {
  Value = std::clamp(Value, FMinWidth, std::max(FMinWidth, FMaxWidth));
  if (FWidth == Value) return;
  FWidth = Value;
  Changed(true);
}

void THeaderSection::SetMinWidth(int Value) {
  FMinWidth = std::max(Value, 0);
  if (FWidth < FMinWidth) SetWidth(FMinWidth);
}

void THeaderSection::SetMaxWidth(int Value) {
  FMaxWidth = std::max(Value, FMinWidth);
  if (FWidth > FMaxWidth) SetWidth(FMaxWidth);
}

void THeaderSection::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Changed(false);
}

void THeaderSection::SetStyle(THeaderSectionStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed(false);
}

int THeaderSection::Left() const {
  int left = 0;
  if (TCollection* c = Collection()) {
    for (int i = 0; i < Index(); ++i) left += static_cast<THeaderSection*>(c->Items(i))->Width();
  }
  return left;
}

void THeaderSection::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<THeaderSection*>(Source)) {
    FText = s->FText;
    FWidth = s->FWidth;
    FMinWidth = s->FMinWidth;
    FMaxWidth = s->FMaxWidth;
    FAlignment = s->FAlignment;
    FStyle = s->FStyle;
    AllowClick = s->AllowClick;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(Source);
}

String THeaderSection::DisplayName() const { return FText.empty() ? TCollectionItem::DisplayName() : FText; }

VELBOR_IMPLEMENT_CLASS(THeaderSections)

THeaderSections::THeaderSections(THeaderControl* HeaderControl)
    : TCollection(THeaderSection::StaticClass()), FHeaderControl(HeaderControl) {}

TPersistent* THeaderSections::GetOwner() { return FHeaderControl; }

void THeaderSections::Update(TCollectionItem*) {
  if (FHeaderControl) FHeaderControl->UpdateSections();
}

VELBOR_IMPLEMENT_CLASS(THeaderControl)
VELBOR_PUBLISHED(THeaderControl,
  Prop("Sections", &Self::Sections, &Self::SetSections),
  Prop("HotTrack", &Self::HotTrack, &Self::SetHotTrack).Default(false),
  Prop("OnSectionClick", &Self::OnSectionClick),
  Prop("OnSectionResize", &Self::OnSectionResize),
  Prop("OnSectionTrack", &Self::OnSectionTrack),
  Prop("OnDrawSection", &Self::OnDrawSection))

THeaderControl::THeaderControl(TComponent* AOwner) : TWinControl(AOwner) {
  InitCommonControlClasses();
  ControlStyle = {csDoubleClicks, csOpaque};
  SetBounds(0, 0, 250, 17);
  SetAlign(alTop);
  FSections = new THeaderSections(this);
  FCanvas = new TCanvas();
}

THeaderControl::~THeaderControl() {
  Destroying();
  DestroyHandle();
  delete FCanvas;
  delete FSections;
}

void THeaderControl::SetHotTrack(bool Value) {
  if (FHotTrack == Value) return;
  FHotTrack = Value;
  RecreateWnd();
}

void THeaderControl::UpdateSections() {
  if (!HandleAllocated() || FUpdating) return;
  FUpdating = true;
  while (SendMessageA(FHandle, HDM_DELETEITEM, 0, 0)) {
  }
  for (int i = 0; i < FSections->Count(); ++i) {
    THeaderSection* s = FSections->Items(i);
    HDITEMA item{};
    item.mask = HDI_WIDTH | HDI_FORMAT | HDI_TEXT | HDI_LPARAM;
    item.cxy = s->Width();
    item.lParam = LPARAM(s);
    item.fmt = s->Style() == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING;
    item.fmt |= s->Alignment() == taCenter ? HDF_CENTER : s->Alignment() == taRightJustify ? HDF_RIGHT : HDF_LEFT;
    String text = s->Text();
    item.pszText = text.data();
    SendMessageA(FHandle, HDM_INSERTITEMA, WPARAM(i), LPARAM(&item));
  }
  FUpdating = false;
}

void THeaderControl::SectionClick(THeaderSection* Section) {
  if (OnSectionClick) OnSectionClick(this, Section);
}

void THeaderControl::SectionResize(THeaderSection* Section) {
  if (OnSectionResize) OnSectionResize(this, Section);
}

void THeaderControl::SectionTrack(THeaderSection* Section, int Width, TSectionTrackState State) {
  if (OnSectionTrack) OnSectionTrack(this, Section, Width, State);
}

void THeaderControl::DrawSection(THeaderSection* Section, const TRect& Rect, bool Pressed) {
  if (OnDrawSection) {
    OnDrawSection(this, Section, Rect, Pressed);
    return;
  }
  FCanvas->FillRect(Rect);
  FCanvas->TextRect(Rect, Rect.Left + 4, Rect.Top + 2, Section->Text());
}

void THeaderControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_HEADERA);
  Params.Style |= HDS_BUTTONS | HDS_HORZ;
  if (FHotTrack) Params.Style |= HDS_HOTTRACK;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void THeaderControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateSections();
}

void THeaderControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void THeaderControl::CNNotify(TMessage& Message) {
  auto* nm = reinterpret_cast<NMHEADERA*>(Message.LParam);
  // The parent asks for ANSI notifications, but both forms are understood. Other notifications
  // (custom drawing) have another layout: nothing beyond the header is read for them.
  switch (nm->hdr.code) {
    case HDN_ITEMCLICKA: case HDN_ITEMCLICKW: case HDN_BEGINTRACKA: case HDN_BEGINTRACKW:
    case HDN_TRACKA: case HDN_TRACKW: case HDN_ITEMCHANGINGA: case HDN_ITEMCHANGINGW:
    case HDN_ENDTRACKA: case HDN_ENDTRACKW: case HDN_ITEMCHANGEDA: case HDN_ITEMCHANGEDW:
      break;
    default:
      TWinControl::Dispatch(Message);
      return;
  }
  int index = nm->iItem;
  THeaderSection* section = index >= 0 && index < FSections->Count() ? FSections->Items(index) : nullptr;
  if (!section) return;
  bool hasWidth = nm->pitem && (nm->pitem->mask & HDI_WIDTH);
  int width = hasWidth ? nm->pitem->cxy : section->Width();
  switch (nm->hdr.code) {
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW:
      if (section->AllowClick) SectionClick(section);
      break;
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
      SectionTrack(section, width, tsTrackBegin);
      break;
    case HDN_TRACKA:
    case HDN_TRACKW:
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
      if (!hasWidth || FUpdating) break;
      // The limits apply while the user drags: a width outside them is refused.
      if (width < section->MinWidth() || width > section->MaxWidth()) {
        Message.Result = 1;
        return;
      }
      if (nm->hdr.code == HDN_TRACKA || nm->hdr.code == HDN_TRACKW) SectionTrack(section, width, tsTrackMove);
      break;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
      SectionTrack(section, width, tsTrackEnd);
      break;
    default:
      if (!FUpdating && hasWidth && width != section->Width()) {
        section->FWidth = width;
        SectionResize(section);
      }
      break;
  }
}

void THeaderControl::CNDrawItem(TMessage& Message) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  int index = int(dis->itemID);
  {
    TCanvasDCScope scope(FCanvas, dis->hDC);
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->SetColor(clBtnFace);
    if (index >= 0 && index < FSections->Count()) {
      DrawSection(FSections->Items(index), dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
    }
  }
  Message.Result = 1;
}
