// This file implements the information record of a utility component (TqzComponentInfo: version,
// origin and contact details, read-only in form descriptions) and the dialog that shows it
// (TAboutComponentDlg), with TSwitchImage, an image that changes while the mouse is over it.
#pragma once

#include "Component.h"
#include "Persistent.h"

#include "ExtCtrls.h"
#include "Forms.h"
#include "ImageList.h"
#include "OxBase.h"
#include "OxUrlLabel.h"

class TqzComponentInfo : public TPersistent {
  VELBOR_DECLARE_CLASS(TqzComponentInfo, TPersistent)
 public:
  using TOwnerClass = TComponent;
  // The owner fixes every value; the record belongs to it.
  explicit TqzComponentInfo(TComponent* AOwner) : TqzComponentInfo(AOwner, "", "", "", "", "", "") {}
  TqzComponentInfo(TComponent* AOwner, const String& AVersion, const String& ACopyrightOwner,
                   const String& ACopyrightPeriod, const String& AMisc, const String& ALatestVersionURL,
                   const String& AMailTo);

  // Properties. They are published read-only: the setters ignore what a description holds,
  // except Version, whose value read from a description lands in FileImageVersion.
  TComponent* Owner() const { return FOwner; }
  String Version() const { return FVersion; }
  void SetVersion(const String& Value);
  String CopyrightOwner() const { return FCopyrightOwner; }
  void SetCopyrightOwner(const String&) {}
  // The stored period, or the current year when none is stored.
  String CopyrightPeriod() const;
  void SetCopyrightPeriod(const String&) {}
  String Misc() const { return FMisc; }
  void SetMisc(const String&) {}
  String LatestVersionURL() const { return FLatestVersionURL; }
  void SetLatestVersionURL(const String&) {}
  String MailTo() const { return FMailTo; }
  void SetMailTo(const String&) {}
  // The version found in the form description the owner was last read from.
  String FileImageVersion() const { return FFileImageVersion; }
  void SetFileImageVersion(const String&) {}

  // Operations.
  // The address the envelope opens: the trimmed MailTo as a mailto link with a subject naming
  // the owner's class; empty without MailTo.
  String ContactLink() const;
  // Shows the information dialog modally, then frees it.
  void ShowInfo();
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TComponent* FOwner;
  String FVersion;
  String FCopyrightOwner;
  String FCopyrightPeriod;
  String FMisc;
  String FLatestVersionURL;
  String FMailTo;
  String FFileImageVersion;
};

// Draws image 0 of its image list, or image 1 while the mouse is over it, centred.
class TSwitchImage : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TSwitchImage, TGraphicControl)
 public:
  explicit TSwitchImage(TComponent* AOwner);

  // Properties.
  // Assigning a list sizes the control to its images (cleared when the list goes away).
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  bool MouseInside() const { return FMouseInside; }

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

 private:
  TCustomImageList* FImageList = nullptr;
  bool FMouseInside = false;
};

// The dialog of a component's information; ShowInfo fills and lays it out.
class TAboutComponentDlg : public TForm {
  VELBOR_DECLARE_CLASS(TAboutComponentDlg, TForm)
 public:
  explicit TAboutComponentDlg(TComponent* AOwner);
  ~TAboutComponentDlg() override;

  // Lays the dialog out for Info (the steps ShowInfo runs before showing it).
  void Prepare(TqzComponentInfo* Info);

  TImage* Picture;
  TLabel* AboutLabel;
  TBevel* Separator;
  TLabel* MiscInfoLabel;
  TLabel* WebInfo;
  TmUrlLabel* UrlLabel;
  TButton* OKBtn;
  TImageList* ImageList1;
  // The envelope that opens the contact link (made with the dialog, freed with it).
  TSwitchImage* MailImage;
  String ContactLink;

 private:
  void MailImageClick(TObject* Sender);
};

// Makes the switch image and the information dialog known to the form reader.
void RegisterOxComponentInfo();
