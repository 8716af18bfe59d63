// Tests of the hyperlink label: what a real click hands the shell (the address, the caption, a
// file path, nothing for a blank caption), OnClick before the opening, the colours while the mouse
// is over it, the caption following URL, and the published properties.
#include "Component.h"

#include <gtest/gtest.h>

#include <vector>

#include "Filer.h"
#include "OxUrlLabel.h"
#include "ShellLaunch.h"
#include "StdCtrlsTestSupport.h"

namespace {

struct TOpened {
  HWND Owner;
  String Target;
};
std::vector<TOpened> Opened;

bool RecordOpen(HWND Owner, const String& Target) {
  Opened.push_back({Owner, Target});
  return true;
}

// Moves the mouse to ScreenPos and lets the application follow it until Done holds.
template <class F>
void MoveMouseTo(TPoint ScreenPos, F Done) {
  ::MoveMouseTo(ScreenPos);
  EXPECT_TRUE(IdleUntil("the label to follow the mouse", Done));
}

class OxUrlLabelTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Previous = SetShellOpenProc(&RecordOpen);
    Opened.clear();
    Link = Add<TmUrlLabel>(20, 20);
    Link->SetName("lblSite");
    Link->OnClick = TNotifyEvent(this, &OxUrlLabelTest::Clicked);
    ShowForm();
  }
  void TearDown() override {
    SetShellOpenProc(Previous);
    StdFormTest::TearDown();
  }
  void Clicked(TObject*) { OpenedBeforeOnClick.push_back(Opened.size()); }

  TShellOpenProc Previous = nullptr;
  TmUrlLabel* Link = nullptr;
  std::vector<std::size_t> OpenedBeforeOnClick;
};

TEST_F(OxUrlLabelTest, ARealClickOpensTheTrimmedUrlOrElseTheCaption) {
  struct Case {
    const char* URL;
    const char* Caption;
    const char* Opened;  // nullptr: nothing handed to the shell
  } const cases[] = {
      {" http://www.zones-humides.org/ ", "Le site", "http://www.zones-humides.org/"},
      {"mailto:inventaire@example.org", "Écrire"_a, "mailto:inventaire@example.org"},
      // A blank URL leaves the caption as the target: a file opens with its program.
      {"   ", "  C:\\velbor\\Notice d'emploi.pdf ", "C:\\velbor\\Notice d'emploi.pdf"},
      {"", "https://example.org", "https://example.org"},
      // A caption of blanks only is no target.
      {"", "     ", nullptr},
      {"  ", "   ", nullptr},
  };
  for (const Case& c : cases) {
    Link->SetURL(c.URL);
    Link->SetCaption(c.Caption);
    PumpPending();
    Opened.clear();
    OpenedBeforeOnClick.clear();
    ClickControl(Link);
    ASSERT_EQ(OpenedBeforeOnClick.size(), 1u) << "OnClick runs once for " << c.Caption;
    EXPECT_EQ(OpenedBeforeOnClick[0], 0u) << "OnClick runs before the shell is asked";
    if (!c.Opened) {
      EXPECT_TRUE(Opened.empty()) << "'" << c.Caption << "' opened " << Opened.front().Target;
      continue;
    }
    ASSERT_EQ(Opened.size(), 1u) << c.Caption;
    EXPECT_EQ(Opened[0].Target, c.Opened);
    EXPECT_EQ(Opened[0].Owner, GetDesktopWindow());
  }
}

TEST_F(OxUrlLabelTest, TheActiveColourShowsWhileTheMouseIsOver) {
  Link->SetCaption("Le site de l'inventaire");
  // The mouse may still be where the last test clicked, over the label: it leaves first.
  TPoint outside = Form->ClientToScreen(TPoint(300, 250));
  MoveMouseTo(outside, [&] { return Link->Font()->Color() == clBlue; });
  ASSERT_EQ(Link->Font()->Color(), clBlue);
  Link->SetActiveColor(clRed);
  // The colour before entering is whatever the form gave it, not only the blue of the constructor.
  for (TColor before : {clBlue, clGreen}) {
    Link->Font()->SetColor(before);
    MoveMouseTo(Link->ClientToScreen(TPoint(5, Link->Height() / 2)), [&] { return Link->Font()->Color() == clRed; });
    EXPECT_EQ(Link->Font()->Color(), clRed);
    MoveMouseTo(outside, [&] { return Link->Font()->Color() != clRed; });
    EXPECT_EQ(Link->Font()->Color(), before);
  }
  // An entry repeated without a leave does not make the active colour the saved one.
  Link->Perform(CM_MOUSEENTER);
  Link->Perform(CM_MOUSEENTER);
  Link->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Link->Font()->Color(), clGreen);
}

TEST_F(OxUrlLabelTest, SettingTheUrlReplacesOnlyTheDefaultCaption) {
  struct Case {
    const char* Caption;
    const char* Url;
    const char* CaptionAfter;
  } const cases[] = {
      {"lblSite", "http://example.org", "http://example.org"},  // still the designer's caption
      {"Voir le site", "http://example.org", "Voir le site"},
      {"", "http://example.org", ""},
  };
  for (const Case& c : cases) {
    Link->SetCaption(c.Caption);
    Link->SetURL(c.Url);
    EXPECT_EQ(Link->URL(), c.Url);
    EXPECT_EQ(Link->Caption(), c.CaptionAfter) << c.Caption;
  }
}

TEST(OxUrlLabelForm, LooksLikeALinkAndReadsItsPropertiesFromADescription) {
  RegisterOxUrlLabel();
  TFormPtr<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentFromText(form.get(),
                        "object Owner: TForm\n"
                        "  object lblSite: TmUrlLabel\n"
                        "    Caption = 'Le site'\n"
                        "    URL = 'http://example.org/zones'\n"
                        "    ActiveColor = clRed\n"
                        "  end\n"
                        "  object lblMail: TmUrlLabel\n"
                        "    Caption = 'lblMail'\n"
                        "  end\n"
                        "end\n",
                        "owner");
  auto* site = dynamic_cast<TmUrlLabel*>(form->FindComponent("lblSite"));
  auto* mail = dynamic_cast<TmUrlLabel*>(form->FindComponent("lblMail"));
  ASSERT_NE(site, nullptr);
  ASSERT_NE(mail, nullptr);
  EXPECT_EQ(site->URL(), "http://example.org/zones");
  EXPECT_EQ(site->Caption(), "Le site");
  EXPECT_EQ(site->ActiveColor(), clRed);
  EXPECT_EQ(mail->ActiveColor(), clPurple);
  EXPECT_EQ(mail->Layout(), tlCenter);
  EXPECT_EQ(mail->Cursor(), crHandPoint);
  EXPECT_EQ(mail->Font()->Color(), clBlue);
  EXPECT_EQ(mail->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
  String text = WriteComponentToText(site);
  EXPECT_NE(text.find("URL = 'http://example.org/zones'"), String::npos) << text;
  EXPECT_NE(text.find("ActiveColor = clRed"), String::npos) << text;
  EXPECT_EQ(text.find("ActiveColor = clPurple"), String::npos) << text;
}

}  // namespace
