// Tests of the side bar: how pages are stacked when one is expanded, pages expanded by a real click
// on their title band (before their OnClick) and a disabled page ignoring it, button groups
// released by clicks and by SetDown, the buttons parked above and below a scrolled page, the
// colours the record window sets read back from the screen, image sizes passed from the bar to
// its pages and buttons once, the scroll arrows above buttons added later, the caption editor
// ending its edit from its own key, and a whole bar read from a description and written back.
#include "Component.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Filer.h"
#include "Forms.h"
#include "ImageList.h"
#include "OxLookOut.h"
#include "UiTestSupport.h"

namespace {

// A real left click at a point of the screen.
void RealClick(TPoint P) { ClickAt(P); }

void ClickMiddle(TControl* C, int Y = -1) {
  RealClick(C->ClientToScreen(TPoint(C->Width() / 2, Y < 0 ? C->Height() / 2 : Y)));
}

// A shown form holding a flat bar 120 x 400 with five pages.
class LookOutTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override {
    RegisterOxLookOut();
    Form = CreateForm<TForm>(nullptr);
    Form->SetBounds(50, 50, 320, 460);
    Bar = new TOxLookOut(Form);
    Bar->SetParent(Form);
    Bar->SetFlatButtons(true);
    Bar->SetBounds(0, 0, 120, 400);
    for (int i = 0; i < 5; ++i) {
      auto* page = new TOxLookOutPage(Form);
      page->SetCaption("Page " + std::to_string(i + 1));
      page->SetParent(Bar);
      page->OnClick = TNotifyEvent(this, &LookOutTest::PageClicked);
      Pages.push_back(page);
    }
    Form->Show();
    Activate(Form);
  }
  void TearDown() override {
    Form->Free();
    PumpPending();
  }
 public:
  void PageClicked(TObject* Sender) {
    Clicks.push_back(Sender);
    ActiveAtClick.push_back(Bar->GetActivePage());
  }
 protected:
  COLORREF ScreenPixel(TControl* C, int X, int Y) {
    TPoint p = C->ClientToScreen(TPoint(X, Y));
    return GetPixel(TWindowDC(), p.X, p.Y);
  }
  TForm* Form = nullptr;
  TOxLookOut* Bar = nullptr;
  std::vector<TOxLookOutPage*> Pages;
  std::vector<TObject*> Clicks;
  std::vector<TOxLookOutPage*> ActiveAtClick;
};

std::vector<int> Tops(const std::vector<TOxLookOutPage*>& Pages) {
  std::vector<int> tops;
  for (auto* p : Pages) tops.push_back(p->Top());
  return tops;
}

TEST_F(LookOutTest, ExpandedPageStacksEarlierPagesOnTopAndLaterOnesAtTheBottom) {
  Bar->SetActivePage(Pages[2]);
  EXPECT_EQ(Bar->GetActivePage(), Pages[2]);
  EXPECT_EQ(Tops(Pages), (std::vector<int>{0, 20, 40, 359, 379}));
  for (auto* p : Pages) EXPECT_EQ(p->Height(), 320);
  // The list of pages keeps the order they joined; outside it is an error.
  EXPECT_EQ(Bar->GetPageCount(), 5);
  EXPECT_EQ(Bar->GetPage(4), Pages[4]);
  EXPECT_THROW(Bar->GetPage(5), EListError);
  EXPECT_THROW(Bar->GetPage(-1), EListError);

  // An invisible page does not count: the pages after it take its place.
  Pages[1]->SetVisible(false);
  Bar->SetActivePage(Pages[3]);
  EXPECT_EQ(Pages[0]->Top(), 0);
  EXPECT_EQ(Pages[2]->Top(), 20);
  EXPECT_EQ(Pages[3]->Top(), 40);
  EXPECT_EQ(Pages[4]->Top(), 400 - 20 - 2 + 1);
  EXPECT_EQ(Pages[3]->Height(), 400 - 3 * 20);

  // A page that cannot be shown falls back to the last visible one.
  Bar->SetActivePage(Pages[1]);
  EXPECT_EQ(Bar->GetActivePage(), Pages[4]);
  Bar->SetActivePage(nullptr);
  EXPECT_EQ(Bar->GetActivePage(), Pages[4]);
}

TEST_F(LookOutTest, TooManyPagesForTheHeightLeaveThePagesWhereTheyAre) {
  Bar->SetActivePage(Pages[0]);
  std::vector<int> before = Tops(Pages);
  Bar->SetHeight(5 * 19 + 65);  // exactly the limit: nothing fits
  Bar->SetActivePage(Pages[3]);
  EXPECT_EQ(Bar->GetActivePage(), Pages[3]);  // it is the active page all the same
  EXPECT_EQ(Tops(Pages), before);
}

TEST_F(LookOutTest, ClickOnTitleBandExpandsThePageBeforeItsOnClick) {
  Bar->SetActivePage(Pages[0]);
  PumpPending();
  ClickMiddle(Pages[3], 9);
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0], Pages[3]);
  EXPECT_EQ(ActiveAtClick[0], Pages[3]);  // already expanded when OnClick ran
  EXPECT_EQ(Pages[3]->Top(), 60);
  EXPECT_EQ(Pages[4]->Top(), 379);

  // A click below the band does not expand.
  ClickMiddle(Pages[3], 150);
  EXPECT_EQ(Clicks.size(), 1u);

  // A disabled page ignores the click.
  Pages[1]->SetEnabled(false);
  ClickMiddle(Pages[1], 9);
  EXPECT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Bar->GetActivePage(), Pages[3]);
  // So does its click from code.
  Pages[1]->Click();
  EXPECT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Bar->GetActivePage(), Pages[3]);
}

TEST_F(LookOutTest, PageColourAndButtonFillReadBackFromTheScreen) {
  Bar->SetActivePage(Pages[0]);
  auto* b = new TOxExpressButton(Form);
  b->SetParent(Pages[0]);
  b->SetCaption("Fiche");
  PumpPending();
  Bar->GetActivePage()->SetColor(clSkyBlue);
  ASSERT_TRUE(Painted(Form));
  EXPECT_EQ(ScreenPixel(Pages[0], 5, 250), ColorToRGB(clSkyBlue));
  // The band keeps the face colour.
  EXPECT_EQ(ScreenPixel(Pages[0], 5, 10), ColorToRGB(clBtnFace));

  // A down button is filled with its fill colour; an up one shows the page.
  ASSERT_EQ(b->Top(), 26);
  EXPECT_EQ(ScreenPixel(b, 5, 5), ColorToRGB(clSkyBlue));
  b->SetDown(true);
  b->SetFillColor(clRed);
  ASSERT_TRUE(Painted(Form));
  EXPECT_EQ(ScreenPixel(b, 5, 5), ColorToRGB(clRed));
  // The light border: highlight at the top-left, shadow at the bottom-right once pushed.
  EXPECT_EQ(ScreenPixel(b, 0, 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(ScreenPixel(b, b->Width() - 1, 5), ColorToRGB(clBtnHighlight));
}

// Three grouped buttons on the first page, as the record window has them.
class LookOutButtonsTest : public LookOutTest {
 protected:
  void SetUp() override {
    LookOutTest::SetUp();
    Bar->SetActivePage(Pages[0]);
    for (int i = 0; i < 3; ++i) {
      auto* b = new TOxExpressButton(Form);
      b->SetBounds(0, 200 - i * 60, 60, 50);  // joined bottom first: the list sorts by Top
      b->SetGroupIndex(10);
      b->SetOffset(0);
      b->SetParent(Pages[0]);
      b->OnClick = TNotifyEvent(static_cast<LookOutTest*>(this), &LookOutTest::PageClicked);
      Buttons.push_back(b);
    }
    PumpPending();
  }
  std::vector<bool> DownStates() {
    std::vector<bool> d;
    for (int i = 0; i < Pages[0]->GetButtonCount(); ++i) d.push_back(Pages[0]->GetButton(i)->Down());
    return d;
  }
  std::vector<TOxExpressButton*> Buttons;
};

TEST_F(LookOutButtonsTest, ButtonsAreStackedInTopOrderFrom26) {
  ASSERT_EQ(Pages[0]->GetButtonCount(), 3);
  EXPECT_EQ(Pages[0]->GetButton(0), Buttons[2]);
  EXPECT_EQ(Pages[0]->GetButton(2), Buttons[0]);
  EXPECT_EQ(Buttons[2]->Top(), 26);
  EXPECT_EQ(Buttons[1]->Top(), 76);
  EXPECT_EQ(Buttons[0]->Top(), 126);
  EXPECT_THROW(Pages[0]->GetButton(3), EListError);
  // A freed button leaves the list.
  delete Buttons[1];
  EXPECT_EQ(Pages[0]->GetButtonCount(), 2);
  EXPECT_EQ(Pages[0]->GetButton(1), Buttons[0]);
}

TEST_F(LookOutButtonsTest, ClicksToggleTheGroupAndSetDownReleasesTheOthers) {
  TOxCustomLookOutButton* first = Pages[0]->GetButton(0);
  TOxCustomLookOutButton* second = Pages[0]->GetButton(1);
  TOxCustomLookOutButton* third = Pages[0]->GetButton(2);
  ClickMiddle(first);
  EXPECT_EQ(DownStates(), (std::vector<bool>{true, false, false}));
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0], first);
  ClickMiddle(second);
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, true, false}));
  ClickMiddle(second);  // a click on the down button brings it up
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(Clicks.size(), 3u);

  second->SetDown(true);
  third->SetDown(true);
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(third->Hot());
  EXPECT_TRUE(third->Pushed());
  // Another group is left alone.
  first->SetGroupIndex(11);
  first->SetDown(true);
  EXPECT_EQ(DownStates(), (std::vector<bool>{true, false, true}));
}

TEST_F(LookOutButtonsTest, ScrolledPageParksButtonsAboveAndBelow) {
  TOxLookOutPage* page = Pages[0];
  for (int i = 0; i < 2; ++i) {
    auto* b = new TOxExpressButton(Form);
    b->SetBounds(0, 300 + i * 60, 60, 50);
    b->SetParent(page);
  }
  for (int i = 0; i < 5; ++i) page->GetButton(i)->SetHeight(70);
  PumpPending();
  ASSERT_EQ(page->GetButtonCount(), 5);
  ASSERT_EQ(page->ControlCount(), 7);  // and the two arrows
  // 5 buttons of 70 from 26 reach past the page's 320 pixels: the down arrow shows.
  EXPECT_TRUE(page->DownArrow()->Visible());
  EXPECT_FALSE(page->UpArrow()->Visible());

  page->ShowLaterButtons();
  page->ShowLaterButtons();
  EXPECT_EQ(page->TopButtonIndex(), 2);
  page->ArrangeButtons(26);
  EXPECT_EQ(page->GetButton(0)->Top(), -(70 + 1) * 5);
  EXPECT_EQ(page->GetButton(1)->Top(), -(70 + 1) * 4);
  EXPECT_EQ(page->GetButton(2)->Top(), 26);
  EXPECT_EQ(page->GetButton(3)->Top(), 96);
  // Scrolling stops at the child count minus 3.
  for (int i = 0; i < 5; ++i) page->ShowLaterButtons();
  EXPECT_EQ(page->TopButtonIndex(), 4);
  for (int i = 0; i < 6; ++i) page->ShowEarlierButtons();
  EXPECT_EQ(page->TopButtonIndex(), 0);

  // A start position beyond the page (a margin over 26 wraps it) parks every button below.
  page->SetMargin(30);
  page->ArrangeButtons(static_cast<unsigned short>(26 - 30));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(page->GetButton(i)->Top(), (page->Height() + 1) * (i + 1)) << i;
}

TEST_F(LookOutButtonsTest, DownArrowClickScrollsOneButton) {
  TOxLookOutPage* page = Pages[0];
  for (int i = 0; i < 3; ++i) {
    auto* b = new TOxExpressButton(Form);
    b->SetBounds(0, 300 + i * 60, 60, 50);
    b->SetParent(page);
  }
  PumpPending();
  ASSERT_TRUE(page->DownArrow()->Visible());
  TOxCustomLookOutButton* second = page->GetButton(1);
  ClickMiddle(page->DownArrow());
  EXPECT_EQ(page->TopButtonIndex(), 1);
  EXPECT_EQ(second->Top(), 26);
  EXPECT_TRUE(page->UpArrow()->Visible());
  ClickMiddle(page->UpArrow());
  EXPECT_EQ(page->TopButtonIndex(), 0);
}

// Counts the image-size notices a control receives; past a bound it swallows them, so that a
// notice sent back and forth between pages comes to an end.
class TImageSizeNotices : public TObject {
 public:
  explicit TImageSizeNotices(TControl* Control) : FControl(Control), FSaved(Control->WindowProc) {
    Control->WindowProc = TWndMethod(this, &TImageSizeNotices::Hook);
  }
  ~TImageSizeNotices() override { FControl->WindowProc = FSaved; }
  int Count = 0;

 private:
  void Hook(TMessage& Message) {
    if (Message.Msg == CM_OXIMAGESIZECHANGED && ++Count > 10) return;
    FSaved(Message);
  }
  TControl* FControl;
  TWndMethod FSaved;
};

TEST_F(LookOutTest, AnImageSizeReachesEveryFollowingPageAndButtonOnce) {
  auto* button = new TOxExpressButton(Form);
  button->SetParent(Pages[1]);
  Pages[3]->SetParentImageSize(false);
  std::vector<std::unique_ptr<TImageSizeNotices>> notices;
  for (TControl* c : {static_cast<TControl*>(Pages[0]), static_cast<TControl*>(Pages[1]),
                      static_cast<TControl*>(Pages[2]), static_cast<TControl*>(Pages[3]),
                      static_cast<TControl*>(button)}) {
    notices.push_back(std::make_unique<TImageSizeNotices>(c));
  }
  auto counts = [&] {
    std::vector<int> n;
    for (auto& notice : notices) {
      n.push_back(notice->Count);
      notice->Count = 0;
    }
    return n;
  };
  // A page tells its sister pages (itself included) and its buttons.
  Pages[0]->SetImageSize(isSmall);
  EXPECT_EQ(counts(), (std::vector<int>{1, 1, 1, 1, 1}));
  EXPECT_EQ(Pages[1]->ImageSize(), isSmall);
  EXPECT_EQ(Pages[2]->ImageSize(), isSmall);
  EXPECT_EQ(button->ImageSize(), isSmall);
  EXPECT_EQ(Pages[3]->ImageSize(), isLarge) << "a page with a size of its own keeps it";
  // The bar tells its pages, which tell their buttons.
  Bar->SetImageSize(isLarge);
  EXPECT_EQ(counts(), (std::vector<int>{1, 1, 1, 1, 1}));
  EXPECT_EQ(Pages[1]->ImageSize(), isLarge);
  EXPECT_EQ(button->ImageSize(), isLarge);
}

TEST_F(LookOutTest, ButtonsAddedLaterStayBehindTheScrollArrows) {
  Bar->SetActivePage(Pages[0]);
  TOxLookOutPage* page = Pages[0];
  ASSERT_NE(page->UpArrow(), nullptr);
  ASSERT_NE(page->DownArrow(), nullptr);
  std::vector<TOxExpressButton*> buttons;
  for (int i = 0; i < 6; ++i) {
    auto* b = new TOxExpressButton(Form);
    b->SetBounds(0, 26 + 60 * i, page->ClientWidth(), 60);
    b->SetParent(page);
    buttons.push_back(b);
  }
  auto indexOf = [page](TControl* C) {
    for (int i = 0; i < page->ControlCount(); ++i)
      if (page->Controls(i) == C) return i;
    return -1;
  };
  for (TOxExpressButton* b : buttons) {
    EXPECT_LT(indexOf(b), indexOf(page->UpArrow()));
    EXPECT_LT(indexOf(b), indexOf(page->DownArrow()));
  }
  // Where a button lies under the down arrow, the arrow takes the mouse.
  page->ArrangeButtons(26);
  page->PlaceArrowButtons();
  ASSERT_TRUE(page->DownArrow()->Visible());
  TControl* arrow = page->DownArrow();
  TPoint middle(arrow->Left() + arrow->Width() / 2, arrow->Top() + arrow->Height() / 2);
  EXPECT_EQ(page->ControlAtPos(middle, true), arrow);
}

// Watches a component go away, and whether that happened while a message was being sent to it.
class TFreeWatch : public TComponent {
 public:
  explicit TFreeWatch(TComponent* Target) : TComponent(nullptr), FTarget(Target) { Target->FreeNotification(this); }
  bool Sending = false;
  bool Freed = false;
  bool FreedWhileSending = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent != FTarget) return;
    Freed = true;
    FreedWhileSending = Sending;
  }

 private:
  TComponent* FTarget;
};

TEST_F(LookOutTest, TheCaptionEditorIsFreedAfterTheKeyThatEndsItsEdit) {
  struct Case {
    WPARAM Key;
    const char* Caption;
  } const cases[] = {{VK_RETURN, "Fiches"}, {VK_ESCAPE, "Page 1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Caption);
    Pages[0]->SetCaption("Page 1");
    Pages[0]->EditCaption();
    TOxLookOutEdit* editor = Pages[0]->Editor();
    ASSERT_NE(editor, nullptr);
    editor->SetText("Fiches");
    TFreeWatch watch(editor);
    watch.Sending = true;
    SendMessageA(editor->Handle(), WM_CHAR, c.Key, 0);
    watch.Sending = false;
    EXPECT_FALSE(watch.FreedWhileSending);
    EXPECT_EQ(Pages[0]->Caption(), c.Caption);
    if (!watch.Freed) {
      EXPECT_FALSE(editor->Visible());
    }
    ASSERT_TRUE(WaitFor("the editor to be freed", [&] { return watch.Freed; }));
    EXPECT_EQ(Pages[0]->Editor(), nullptr);
  }
}

// A side bar as the record window describes it: two image lists, a small-image bar with three
// pages, grouped buttons on them, and the page shown first.
const char* const kSideBarForm =
    "object frmFiche: TForm\n"
    "  Left = 50\n"
    "  Top = 50\n"
    "  Width = 320\n"
    "  Height = 460\n"
    "  object ImagesPetites: TImageList\n"
    "  end\n"
    "  object ImagesGrandes: TImageList\n"
    "    Height = 32\n"
    "    Width = 32\n"
    "  end\n"
    "  object OxLookOut: TOxLookOut\n"
    "    Left = 0\n"
    "    Top = 0\n"
    "    Width = 120\n"
    "    Height = 400\n"
    "    AutoSize = True\n"
    "    ImageSize = isSmall\n"
    "    FlatButtons = True\n"
    "    ActivePage = PageDonnees\n"
    "    object PageGenerale: TOxLookOutPage\n"
    "      Caption = 'Generalites'\n"
    "      object BtnListe: TOxExpressButton\n"
    "        Left = 4\n"
    "        Top = 26\n"
    "        Width = 100\n"
    "        Height = 40\n"
    "        Caption = 'Liste'\n"
    "        GroupIndex = 10\n"
    "        Offset = 0\n"
    "        ImageIndex = 0\n"
    "        SmallImages = ImagesPetites\n"
    "        LargeImages = ImagesGrandes\n"
    "      end\n"
    "      object BtnFiche: TOxExpressButton\n"
    "        Left = 4\n"
    "        Top = 70\n"
    "        Width = 100\n"
    "        Height = 40\n"
    "        Caption = 'Fiche'\n"
    "        GroupIndex = 10\n"
    "        Offset = 0\n"
    "        ImageIndex = 1\n"
    "        SmallImages = ImagesPetites\n"
    "        LargeImages = ImagesGrandes\n"
    "      end\n"
    "    end\n"
    "    object PageDonnees: TOxLookOutPage\n"
    "      Caption = 'Donnees'\n"
    "      object BtnHydro: TOxExpressButton\n"
    "        Left = 4\n"
    "        Top = 26\n"
    "        Width = 100\n"
    "        Height = 40\n"
    "        Caption = 'Hydrologie'\n"
    "        GroupIndex = 10\n"
    "        Offset = 0\n"
    "        SmallImages = ImagesPetites\n"
    "      end\n"
    "    end\n"
    "    object PageGrande: TOxLookOutPage\n"
    "      Caption = 'Documents'\n"
    "      object BtnBiblio: TOxExpressButton\n"
    "        Left = 4\n"
    "        Top = 26\n"
    "        Width = 100\n"
    "        Height = 60\n"
    "        Caption = 'Bibliographie'\n"
    "        GroupIndex = 10\n"
    "        LargeImages = ImagesGrandes\n"
    "      end\n"
    "    end\n"
    "  end\n"
    "end\n";

TEST(LookOutDescription, AWholeSideBarIsReadFromOneDescriptionAndWrittenBackWhole) {
  RegisterOxLookOut();
  RegisterClass(TImageList::StaticClass());
  TFormPtr<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentFromText(form.get(), kSideBarForm, "fiche");
  auto* bar = dynamic_cast<TOxLookOut*>(form->FindComponent("OxLookOut"));
  auto* smallImages = dynamic_cast<TCustomImageList*>(form->FindComponent("ImagesPetites"));
  auto* largeImages = dynamic_cast<TCustomImageList*>(form->FindComponent("ImagesGrandes"));
  ASSERT_TRUE(bar && smallImages && largeImages);
  ASSERT_EQ(bar->GetPageCount(), 3);
  EXPECT_EQ(bar->GetPage(0)->Name(), "PageGenerale");
  EXPECT_EQ(bar->GetPage(1)->Name(), "PageDonnees");
  EXPECT_EQ(bar->GetPage(2)->Name(), "PageGrande");
  EXPECT_EQ(bar->GetPage(0)->Caption(), "Generalites");
  EXPECT_EQ(bar->GetActivePage(), bar->GetPage(1));
  EXPECT_EQ(largeImages->Width(), 32);

  for (int p = 0; p < bar->GetPageCount(); ++p) {
    TOxLookOutPage* page = bar->GetPage(p);
    SCOPED_TRACE(page->Name());
    EXPECT_EQ(page->ImageSize(), isSmall) << "the bar's size reaches a page that follows it";
    EXPECT_TRUE(page->ParentImageSize());
    for (int i = 0; i < page->GetButtonCount(); ++i) {
      EXPECT_EQ(page->GetButton(i)->ImageSize(), isSmall) << "and its buttons";
      EXPECT_EQ(page->GetButton(i)->GroupIndex(), 10);
    }
  }
  struct Expected {
    int Page;
    std::vector<const char*> Buttons;
  } const expected[] = {{0, {"Liste", "Fiche"}}, {1, {"Hydrologie"}}, {2, {"Bibliographie"}}};
  for (const Expected& e : expected) {
    TOxLookOutPage* page = bar->GetPage(e.Page);
    ASSERT_EQ(page->GetButtonCount(), int(e.Buttons.size())) << page->Name();
    for (int i = 0; i < page->GetButtonCount(); ++i) EXPECT_EQ(page->GetButton(i)->Caption(), e.Buttons[std::size_t(i)]);
  }
  TOxCustomLookOutButton* liste = bar->GetPage(0)->GetButton(0);
  EXPECT_EQ(liste->SmallImages(), smallImages);
  EXPECT_EQ(liste->LargeImages(), largeImages);
  EXPECT_EQ(liste->Offset(), 0);
  EXPECT_EQ(bar->GetPage(0)->GetButton(1)->ImageIndex(), 1);

  // A page given a size of its own keeps it when the bar's changes, and writes it.
  TOxLookOutPage* grande = bar->GetPage(2);
  grande->SetParentImageSize(false);
  grande->SetImageSize(isLarge);
  bar->SetImageSize(isSmall);
  EXPECT_EQ(bar->GetPage(0)->ImageSize(), isSmall);
  EXPECT_EQ(grande->ImageSize(), isLarge);
  EXPECT_EQ(grande->GetButton(0)->ImageSize(), isLarge);

  // Written back, the description holds the whole bar: read into another window, it is written
  // the same again.
  String text = WriteComponentToText(form.get());
  EXPECT_NE(text.find("object BtnBiblio: TOxExpressButton"), String::npos) << text;
  EXPECT_NE(text.find("ActivePage = PageDonnees"), String::npos) << text;
  EXPECT_NE(text.find("ParentImageSize = False\r\n      ImageSize = isLarge\r\n"), String::npos) << text;
  form.reset();  // its name is free again
  TFormPtr<TForm> copy(CreateForm<TForm>(nullptr));
  ReadComponentFromText(copy.get(), text, "copie");
  EXPECT_EQ(WriteComponentToText(copy.get()), text);
  auto* copiedBar = dynamic_cast<TOxLookOut*>(copy->FindComponent("OxLookOut"));
  ASSERT_NE(copiedBar, nullptr);
  EXPECT_EQ(copiedBar->GetActivePage(), copiedBar->GetPage(1));
  EXPECT_FALSE(copiedBar->GetPage(2)->ParentImageSize());
  EXPECT_EQ(copiedBar->GetPage(2)->ImageSize(), isLarge);
}

}  // namespace
