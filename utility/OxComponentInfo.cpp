// This file implements TqzComponentInfo, TSwitchImage and TAboutComponentDlg.
#include "OxComponentInfo.h"

#include <algorithm>

#include "DateTime.h"
#include "ShellLaunch.h"
#include "StrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqzComponentInfo)
VELBOR_PUBLISHED(TqzComponentInfo,
  Prop("CopyrightOwner", &Self::CopyrightOwner, &Self::SetCopyrightOwner),
  Prop("CopyrightPeriod", &Self::CopyrightPeriod, &Self::SetCopyrightPeriod),
  Prop("FileImageVersion", &Self::FileImageVersion, &Self::SetFileImageVersion),
  Prop("LatestVersionURL", &Self::LatestVersionURL, &Self::SetLatestVersionURL),
  Prop("MailTo", &Self::MailTo, &Self::SetMailTo),
  Prop("Misc", &Self::Misc, &Self::SetMisc),
  Prop("Version", &Self::Version, &Self::SetVersion))

VELBOR_IMPLEMENT_CLASS(TSwitchImage)
VELBOR_PUBLISHED(TSwitchImage,
  Prop("ImageList", &Self::ImageList, &Self::SetImageList))

VELBOR_IMPLEMENT_CLASS(TAboutComponentDlg)

void RegisterOxComponentInfo() {
  RegisterClass(TSwitchImage::StaticClass());
  RegisterClass(TAboutComponentDlg::StaticClass());
}

// --- TqzComponentInfo ----------------------------------------------------------------------------

TqzComponentInfo::TqzComponentInfo(TComponent* AOwner, const String& AVersion, const String& ACopyrightOwner,
                                   const String& ACopyrightPeriod, const String& AMisc,
                                   const String& ALatestVersionURL, const String& AMailTo)
    : FOwner(AOwner),
      FVersion(AVersion),
      FCopyrightOwner(ACopyrightOwner),
      FCopyrightPeriod(ACopyrightPeriod),
      FMisc(AMisc),
      FLatestVersionURL(ALatestVersionURL),
      FMailTo(AMailTo) {}

// The version a description holds is the one it was written with: the component keeps its own.
void TqzComponentInfo::SetVersion(const String& Value) {
  if (FOwner && FOwner->ComponentState().Contains(csReading)) FFileImageVersion = Value;
}

String TqzComponentInfo::CopyrightPeriod() const {
  return FCopyrightPeriod.empty() ? std::to_string(YearOf(Date())) : FCopyrightPeriod;
}

String TqzComponentInfo::ContactLink() const {
  String link = Trim(FMailTo);
  if (link.empty()) return link;
  if (LowerCase(link).rfind("mailto", 0) != 0) link = "mailto:" + link;
  if (link.find("?subject") == String::npos) link += "?subject=" + String(FOwner ? FOwner->ClassName() : ClassName());
  return link;
}

void TqzComponentInfo::ShowInfo() {
  struct TFreeDialog {
    TAboutComponentDlg* Dialog;
    ~TFreeDialog() { Dialog->Free(); }
  } dialog{new TAboutComponentDlg(nullptr)};
  dialog.Dialog->Prepare(this);
  dialog.Dialog->ShowModal();
}

// --- TSwitchImage --------------------------------------------------------------------------------

TSwitchImage::TSwitchImage(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 27, 27); }

void TSwitchImage::SetImageList(TCustomImageList* Value) {
  if (FImageList == Value) return;
  if (FImageList) FImageList->RemoveFreeNotification(this);
  FImageList = Value;
  if (Value) {
    Value->FreeNotification(this);
    SetBounds(Left(), Top(), Value->Width(), Value->Height());
  }
  Invalidate();
}

void TSwitchImage::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) FImageList = nullptr;
}

void TSwitchImage::Paint() {
  if (!FImageList) return;
  int index = FMouseInside ? 1 : 0;
  if (index >= FImageList->Count()) return;
  FImageList->Draw(Canvas(), (Width() - FImageList->Width()) / 2, (Height() - FImageList->Height()) / 2, index);
}

void TSwitchImage::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: TGraphicControl::Dispatch(Message); break;
  }
}

void TSwitchImage::CMMouseEnter(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  FMouseInside = true;
  Invalidate();
}

void TSwitchImage::CMMouseLeave(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  FMouseInside = false;
  Invalidate();
}

// --- TAboutComponentDlg --------------------------------------------------------------------------

namespace {

// An envelope of 27 x 27 on a magenta background (the mask colour), its paper in Paper.
void DrawEnvelope(TBitmap* Bitmap, TColor Paper) {
  Bitmap->SetSize(27, 27);
  TCanvas* canvas = Bitmap->Canvas();
  canvas->Brush()->SetColor(clFuchsia);
  canvas->FillRect(Rect(0, 0, 27, 27));
  canvas->Brush()->SetColor(Paper);
  canvas->Pen()->SetColor(clBlack);
  canvas->Rectangle(2, 6, 25, 21);
  canvas->MoveTo(2, 6);
  canvas->LineTo(13, 14);
  canvas->LineTo(25, 6);
}

template <class T>
T* AddControl(TAboutComponentDlg* Dialog, int Left, int Top, int Width, int Height) {
  T* control = new T(Dialog);
  control->SetParent(Dialog);
  control->SetBounds(Left, Top, Width, Height);
  return control;
}

int BottomOf(TControl* Control) { return Control->Top() + Control->Height(); }

}  // namespace

// Built in code: the dialog belongs to the library, which carries no form descriptions.
TAboutComponentDlg::TAboutComponentDlg(TComponent* AOwner) : TForm(AOwner, true) {
  SetCaption("Component Information");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(340);
  SetClientHeight(185);

  Picture = AddControl<TImage>(this, 8, 8, 32, 32);
  DrawIconEx(Picture->Canvas()->Handle(), 0, 0, LoadIconA(nullptr, IDI_INFORMATION), 32, 32, 0, nullptr, DI_NORMAL);
  AboutLabel = AddControl<TLabel>(this, 56, 8, 232, 52);
  AboutLabel->SetAutoSize(false);
  AboutLabel->SetWordWrap(true);
  Separator = AddControl<TBevel>(this, 8, 66, 324, 2);
  Separator->SetShape(bsTopLine);
  // Wrapped labels measure their text against the width they have when it is set.
  MiscInfoLabel = AddControl<TLabel>(this, 56, 76, 232, 0);
  MiscInfoLabel->SetWordWrap(true);
  WebInfo = AddControl<TLabel>(this, 56, 76, 232, 26);
  WebInfo->SetWordWrap(true);
  WebInfo->SetWidth(232);
  WebInfo->SetCaption("The latest version of this component can be found on my web site,");
  // The address follows the sentence on its last line.
  UrlLabel = AddControl<TmUrlLabel>(this, 56 + 128, 0, 65, 13);
  UrlLabel->SetName("UrlLabel");
  UrlLabel->SetTop(BottomOf(WebInfo) - UrlLabel->Height());
  OKBtn = AddControl<TButton>(this, 132, 148, 75, 25);
  OKBtn->SetCaption("OK");
  OKBtn->SetDefault(true);
  OKBtn->ModalResult = mrOk;

  ImageList1 = new TImageList(this);
  ImageList1->SetWidth(27);
  ImageList1->SetHeight(27);
  for (TColor paper : {clWhite, clYellow}) {
    TBitmap image;
    DrawEnvelope(&image, paper);
    ImageList1->AddMasked(&image, clFuchsia);
  }
  MailImage = new TSwitchImage(this);
  MailImage->SetParent(this);
  MailImage->SetBounds(80, 133, 27, 27);
  MailImage->SetImageList(ImageList1);
  MailImage->SetCursor(crHandPoint);
  MailImage->OnClick = TNotifyEvent(this, &TAboutComponentDlg::MailImageClick);
}

TAboutComponentDlg::~TAboutComponentDlg() {
  delete MailImage;
  MailImage = nullptr;
}

void TAboutComponentDlg::MailImageClick(TObject*) {
  if (!ContactLink.empty()) OpenShellTarget(ContactLink, Handle());
}

void TAboutComponentDlg::Prepare(TqzComponentInfo* Info) {
  String owner = Info->Owner() ? String(Info->Owner()->ClassName()) : String();
  AboutLabel->SetCaption(owner + " version " + Info->Version() + "\r\n\r\n" + "Copyright © "_a + Info->CopyrightPeriod() +
                         " " + Info->CopyrightOwner());

  MiscInfoLabel->SetWidth(AboutLabel->Width());
  MiscInfoLabel->SetHeight(0);
  MiscInfoLabel->SetCaption(Info->Misc());
  MiscInfoLabel->SetVisible(!Info->Misc().empty());
  int lastBottom = BottomOf(AboutLabel);
  if (!Info->Misc().empty()) {
    lastBottom = BottomOf(MiscInfoLabel);
    WebInfo->SetTop(BottomOf(MiscInfoLabel) + 9);
    UrlLabel->SetTop(BottomOf(WebInfo) - UrlLabel->Height());
  }

  String url = Info->LatestVersionURL();
  if (!url.empty()) {
    UrlLabel->SetCaption(url);
    UrlLabel->SetURL(url.find("://") == String::npos ? "http://" + url : url);
    // The caption sized the label again: its last line stays the sentence's.
    UrlLabel->SetTop(BottomOf(WebInfo) - UrlLabel->Height());
    if (UrlLabel->Left() + UrlLabel->Width() > WebInfo->Left() + WebInfo->Width()) {
      UrlLabel->SetTop(UrlLabel->Top() + 13);
      UrlLabel->SetBounds(WebInfo->Left(), UrlLabel->Top(), WebInfo->Width(), UrlLabel->Height());
      UrlLabel->SetWordWrap(true);
    }
    lastBottom = std::max(BottomOf(WebInfo), BottomOf(UrlLabel));
  } else {
    WebInfo->Hide();
    UrlLabel->Hide();
  }
  SetHeight(lastBottom + 92);

  ContactLink = Info->ContactLink();
  MailImage->SetVisible(!ContactLink.empty());
  OKBtn->SetTop(Height() - 71);
  MailImage->SetTop(OKBtn->Top() - 8);
}
