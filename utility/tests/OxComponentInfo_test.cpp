// Tests of the component information: the record keeps its own values against a description and
// notes the version it read, the rights period, the contact link, the switch image, and the dialog
// laid out for records with and without their optional texts, its links clicked for real.
#include "Component.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "DateTime.h"
#include "Filer.h"
#include "OxComponentInfo.h"
#include "ShellLaunch.h"
#include "StdCtrlsTestSupport.h"

namespace {

class TInfoOwner : public TComponent {
  VELBOR_DECLARE_CLASS(TInfoOwner, TComponent)
 public:
  explicit TInfoOwner(TComponent* AOwner) : TComponent(AOwner) { Fill("", "", "", ""); }
  TqzComponentInfo* Info() const { return FInfo.get(); }
  // The values a component of this kind would give its record.
  void Fill(const String& Period, const String& Misc, const String& Url, const String& Mail) {
    FInfo = std::make_unique<TqzComponentInfo>(this, "2.1", "Inventaire national", Period, Misc, Url, Mail);
  }

 private:
  std::unique_ptr<TqzComponentInfo> FInfo;
};
VELBOR_IMPLEMENT_CLASS(TInfoOwner)
VELBOR_PUBLISHED(TInfoOwner, Prop("Info", &Self::Info))

std::vector<String> Opened;

bool RecordOpen(HWND, const String& Target) {
  Opened.push_back(Target);
  return true;
}

TEST(OxComponentInfo, KeepsItsOwnValuesAndNotesTheVersionOfTheDescription) {
  RegisterClass(TInfoOwner::StaticClass());
  TFixedClock clock(EncodeDate(2031, 5, 4));
  SetClock(&clock);
  TInfoOwner owner(nullptr);
  owner.SetName("Fond");
  owner.Fill("", "Dessine le fond des fiches", "www.example.org/fonds", "contact@example.org");
  EXPECT_EQ(owner.Info()->CopyrightPeriod(), "2031") << "no stored period: the current year";

  String text = WriteComponentToText(&owner);
  EXPECT_NE(text.find("Info.Version = '2.1'"), String::npos) << text;
  EXPECT_NE(text.find("Info.MailTo = 'contact@example.org'"), String::npos) << text;

  ReadComponentFromText(&owner,
                        "object Fond: TInfoOwner\n"
                        "  Info.CopyrightOwner = 'Autre'\n"
                        "  Info.CopyrightPeriod = '1999'\n"
                        "  Info.Misc = 'Autre texte'\n"
                        "  Info.LatestVersionURL = 'http://autre.example.org'\n"
                        "  Info.MailTo = 'autre@example.org'\n"
                        "  Info.FileImageVersion = '7.7'\n"
                        "  Info.Version = '1.4'\n"
                        "end\n",
                        "fond");
  TqzComponentInfo* info = owner.Info();
  EXPECT_EQ(info->Version(), "2.1");
  EXPECT_EQ(info->FileImageVersion(), "1.4");
  EXPECT_EQ(info->CopyrightOwner(), "Inventaire national");
  EXPECT_EQ(info->CopyrightPeriod(), "2031");
  EXPECT_EQ(info->Misc(), "Dessine le fond des fiches");
  EXPECT_EQ(info->LatestVersionURL(), "www.example.org/fonds");
  EXPECT_EQ(info->MailTo(), "contact@example.org");
  // Outside reading, the version is not taken either.
  info->SetVersion("3.0");
  EXPECT_EQ(info->Version(), "2.1");
  EXPECT_EQ(info->FileImageVersion(), "1.4");

  owner.Fill("2019-2024", "", "", "");
  EXPECT_EQ(owner.Info()->CopyrightPeriod(), "2019-2024");
  SetClock(nullptr);
}

TEST(OxComponentInfo, TheContactLinkIsAMailLinkWithASubject) {
  struct Case {
    const char* MailTo;
    const char* Link;
  } const cases[] = {
      {"", ""},
      {"   ", ""},
      {" contact@example.org ", "mailto:contact@example.org?subject=TInfoOwner"},
      {"MAILTO:contact@example.org", "MAILTO:contact@example.org?subject=TInfoOwner"},
      {"contact@example.org?subject=Fond", "mailto:contact@example.org?subject=Fond"},
  };
  TInfoOwner owner(nullptr);
  for (const Case& c : cases) {
    owner.Fill("", "", "", c.MailTo);
    EXPECT_EQ(owner.Info()->ContactLink(), c.Link) << c.MailTo;
  }
}

TEST(OxSwitchImage, TakesTheListsSizeAndShowsTheSecondImageWhileTheMouseIsOver) {
  TImageList list(nullptr);
  list.SetWidth(9);
  list.SetHeight(7);
  for (TColor colour : {clRed, clBlue}) {
    TBitmap image;
    image.SetSize(9, 7);
    image.Canvas()->Brush()->SetColor(colour);
    image.Canvas()->FillRect(Rect(0, 0, 9, 7));
    list.Add(&image, nullptr);
  }
  TSwitchImage image(nullptr);
  image.SetImageList(&list);
  EXPECT_EQ(image.Width(), 9);
  EXPECT_EQ(image.Height(), 7);
  image.SetBounds(0, 0, 21, 17);  // wider than the images: drawn centred, at (6, 5)
  auto centreColour = [&](int X, int Y) {
    TBitmap shot;
    shot.SetSize(21, 17);
    shot.Canvas()->Brush()->SetColor(clWhite);
    shot.Canvas()->FillRect(Rect(0, 0, 21, 17));
    image.Perform(WM_PAINT, WPARAM(shot.Canvas()->Handle()));
    return COLORREF(shot.Canvas()->Pixels(X, Y));
  };
  EXPECT_EQ(centreColour(10, 8), ColorToRGB(clRed));
  EXPECT_EQ(centreColour(5, 8), ColorToRGB(clWhite));
  EXPECT_EQ(centreColour(6, 5), ColorToRGB(clRed));
  image.Perform(CM_MOUSEENTER);
  EXPECT_EQ(centreColour(10, 8), ColorToRGB(clBlue));
  image.Perform(CM_MOUSELEAVE);
  EXPECT_EQ(centreColour(10, 8), ColorToRGB(clRed));
}

TEST(OxSwitchImage, ForgetsAListThatGoesAway) {
  auto* list = new TImageList(nullptr);
  TSwitchImage image(nullptr);
  image.SetImageList(list);
  delete list;
  EXPECT_EQ(image.ImageList(), nullptr);
  TBitmap shot;
  shot.SetSize(27, 27);
  image.Perform(WM_PAINT, WPARAM(shot.Canvas()->Handle()));  // paints nothing, and does not crash
}

class OxAboutDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Previous = SetShellOpenProc(&RecordOpen);
    Opened.clear();
  }
  void TearDown() override {
    SetShellOpenProc(Previous);
    EXPECT_TRUE(Script.Unexpected.empty());
  }
  // Shows the information of Owner and runs Check on the dialog inside its modal loop.
  void ShowInfoAndCheck(TInfoOwner& Owner, std::function<void(TAboutComponentDlg*)> Check) {
    bool checked = false;
    Later([&] {
      auto* dialog = dynamic_cast<TAboutComponentDlg*>(Screen->ActiveForm());
      if (!dialog) {
        ADD_FAILURE() << "the dialog is not the active form";
        if (Screen->ActiveForm()) Screen->ActiveForm()->SetModalResult(-1);
        return;
      }
      PumpPending();
      Check(dialog);
      checked = true;
      ClickControl(dialog->OKBtn);
      EndModalIfStillOpen(dialog);
    });
    Owner.Info()->ShowInfo();
    EXPECT_TRUE(checked);
  }
  static int Bottom(TControl* C) { return C->Top() + C->Height(); }

  TShellOpenProc Previous = nullptr;
  TModalScript Script;
};

TEST_F(OxAboutDialogTest, EveryTextShownAndTheLinksOpened) {
  TInfoOwner owner(nullptr);
  owner.Fill("2020-2024", "Dessine le fond des fiches de saisie.", "www.example.org/composants/fonds-et-degrades",
             "contact@example.org");
  ShowInfoAndCheck(owner, [&](TAboutComponentDlg* d) {
    EXPECT_EQ(d->Caption(), "Component Information");
    EXPECT_EQ(d->ClientWidth(), 340);
    String about = d->AboutLabel->Caption();
    for (const char* part : {"TInfoOwner", "2.1", "2020-2024", "Inventaire national"}) {
      EXPECT_NE(about.find(part), String::npos) << part << " in " << about;
    }
    EXPECT_EQ(d->MiscInfoLabel->Caption(), "Dessine le fond des fiches de saisie.");
    // Wrapped within the about text's width, as high as its lines.
    EXPECT_LE(d->MiscInfoLabel->Width(), d->AboutLabel->Width());
    EXPECT_GT(d->MiscInfoLabel->Height(), 0);
    EXPECT_TRUE(d->WebInfo->Visible());
    EXPECT_EQ(d->WebInfo->Top(), Bottom(d->MiscInfoLabel) + 9);
    EXPECT_EQ(d->UrlLabel->Caption(), "www.example.org/composants/fonds-et-degrades");
    EXPECT_EQ(d->UrlLabel->URL(), "http://www.example.org/composants/fonds-et-degrades");
    // Too long for the end of the sentence's line: below it, from its left, wrapped.
    EXPECT_EQ(d->UrlLabel->Left(), d->WebInfo->Left());
    EXPECT_GE(d->UrlLabel->Top(), Bottom(d->WebInfo) - d->UrlLabel->Height() + 13);
    EXPECT_TRUE(d->UrlLabel->WordWrap());
    EXPECT_EQ(d->Height(), std::max(Bottom(d->UrlLabel), Bottom(d->WebInfo)) + 92);
    EXPECT_EQ(d->OKBtn->Top(), d->Height() - 71);
    EXPECT_TRUE(d->OKBtn->Default());
    ASSERT_TRUE(d->MailImage->Visible());
    EXPECT_EQ(d->MailImage->Top(), d->OKBtn->Top() - 8);

    // The envelope lights up under the mouse and opens the contact link.
    MoveMouseTo(d->MailImage->ClientToScreen(TPoint(13, 13)));
    EXPECT_TRUE(IdleUntil("the envelope to see the mouse", [&] { return d->MailImage->MouseInside(); }));
    EXPECT_TRUE(d->MailImage->MouseInside());
    ClickControl(d->MailImage);
    ClickControl(d->UrlLabel);
  });
  EXPECT_EQ(Opened, (std::vector<String>{"mailto:contact@example.org?subject=TInfoOwner",
                                         "http://www.example.org/composants/fonds-et-degrades"}));
}

TEST_F(OxAboutDialogTest, WithoutTheOptionalTextsTheDialogShrinks) {
  struct Case {
    const char* Misc;
    const char* Url;
    const char* Mail;
  } const cases[] = {
      {"", "", ""},
      {"", "https://a.fr", ""},     // short: stays at the end of the sentence
      {"Une ligne.", "", "c@e.fr"},
  };
  for (const Case& c : cases) {
    TInfoOwner owner(nullptr);
    owner.Fill("", c.Misc, c.Url, c.Mail);
    ShowInfoAndCheck(owner, [&](TAboutComponentDlg* d) {
      bool misc = *c.Misc != 0, url = *c.Url != 0;
      EXPECT_EQ(d->WebInfo->Visible(), url) << c.Url;
      EXPECT_EQ(d->UrlLabel->Visible(), url) << c.Url;
      EXPECT_EQ(d->MailImage->Visible(), *c.Mail != 0) << c.Mail;
      int last = url ? std::max(Bottom(d->WebInfo), Bottom(d->UrlLabel))
                     : misc ? Bottom(d->MiscInfoLabel) : Bottom(d->AboutLabel);
      EXPECT_EQ(d->Height(), last + 92) << c.Misc << c.Url;
      if (url) {
        EXPECT_EQ(d->UrlLabel->URL(), c.Url) << "a full address keeps its scheme";
        EXPECT_EQ(Bottom(d->UrlLabel), Bottom(d->WebInfo)) << "on the sentence's last line";
        EXPECT_GT(d->UrlLabel->Left(), d->WebInfo->Left());
      }
      EXPECT_EQ(d->OKBtn->Top(), d->Height() - 71);
    });
  }
  EXPECT_TRUE(Opened.empty());
}

}  // namespace
