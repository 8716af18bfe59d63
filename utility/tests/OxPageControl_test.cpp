// Tests of the page control whose tabs can hide: tabs hidden at run time and from a description
// while pages still change by ActivePage, the narrowed client border, clicks on disabled sheets'
// tabs, Ctrl+Tab from anywhere on the form, the hint colour.
#include "Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Filer.h"
#include "Forms.h"
#include "OxPageControl.h"
#include "UiTestSupport.h"
#include "StdCtrls.h"

namespace {

// Holds Ctrl (and Shift) in the thread's keyboard state while alive.
struct TKeysDown {
  BYTE Saved[256];
  TKeysDown(bool Shift) {
    GetKeyboardState(Saved);
    BYTE state[256];
    std::copy(Saved, Saved + 256, state);
    state[VK_CONTROL] = 0x80;
    state[VK_SHIFT] = Shift ? 0x80 : 0;
    SetKeyboardState(state);
  }
  ~TKeysDown() { SetKeyboardState(Saved); }
};

class OxPageControlTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override {
    Form = CreateForm<TForm>(nullptr);
    Form->SetBounds(40, 40, 400, 300);
    Outside = new TEdit(Form);
    Outside->SetParent(Form);
    Outside->SetBounds(300, 5, 80, 21);
    Pages = new TOxPageControl(Form);
    Pages->SetParent(Form);
    Pages->SetBounds(5, 5, 280, 200);
    for (int i = 0; i < 4; ++i) {
      Sheets[i] = new TTabSheet(Form);
      Sheets[i]->SetPageControl(Pages);
      Sheets[i]->SetCaption("Page " + std::to_string(i + 1));
    }
    Pages->OnChanging = TTabChangingEvent(this, &OxPageControlTest::Changing);
    Form->Show();
    PumpPending();
  }
  void TearDown() override { Form->Free(); }
  void Changing(TObject*, bool& Allow) { Allow = AllowChange; }
  int NativeTabCount() { return int(SendMessageA(Pages->Handle(), TCM_GETITEMCOUNT, 0, 0)); }

  bool AllowChange = true;
  TForm* Form = nullptr;
  TEdit* Outside = nullptr;
  TOxPageControl* Pages = nullptr;
  TTabSheet* Sheets[4] = {};
};

TEST_F(OxPageControlTest, HiddenTabsKeepThePagesChangingFromCode) {
  Pages->SetActivePage(Sheets[2]);
  Pages->SetHideAllTabs(true);
  EXPECT_EQ(NativeTabCount(), 0);
  EXPECT_FALSE(Pages->TabStop());
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_TRUE(Sheets[2]->Showing());
  Pages->SetActivePage(Sheets[1]);
  EXPECT_TRUE(Sheets[1]->Showing());
  EXPECT_FALSE(Sheets[2]->Showing());
  Pages->SetHideAllTabs(false);
  EXPECT_EQ(NativeTabCount(), 4);
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
  EXPECT_EQ(Pages->TabIndex(), 1);
}

TEST_F(OxPageControlTest, ClientBorderZeroWidensTheSheetsByFourPixels) {
  TRect normal = Sheets[0]->BoundsRect();
  Pages->SetClientBorderWidth(0);
  PumpPending();
  TRect wide = Sheets[0]->BoundsRect();
  EXPECT_EQ(wide.Left, normal.Left - 4);
  EXPECT_EQ(wide.Top, normal.Top - 4);
  EXPECT_EQ(wide.Right, normal.Right + 4);
  EXPECT_EQ(wide.Bottom, normal.Bottom + 4);
  EXPECT_EQ(NativeTabCount(), 4);  // the window made again has its tabs
}

TEST_F(OxPageControlTest, AClickOnADisabledSheetsTabIsSwallowed) {
  Sheets[1]->SetEnabled(false);
  for (int target : {1, 2}) {
    TRect tab = Pages->TabRect(target);
    LPARAM at = MAKELPARAM((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
    SendMessageA(Pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(Pages->Handle(), WM_LBUTTONUP, 0, at);
    PumpPending();
    EXPECT_EQ(Pages->ActivePage(), target == 1 ? Sheets[0] : Sheets[2]) << target;
  }
}

TEST_F(OxPageControlTest, CtrlTabFromAnywhereSkipsDisabledSheetsAndWraps) {
  Pages->HandleGlobalTab = true;
  Sheets[1]->SetEnabled(false);
  Sheets[3]->SetTabVisible(false);
  Outside->SetFocus();
  struct Case {
    int From;
    bool Shift;
    bool Allow;
    int To;
    LRESULT Result;
  } const cases[] = {
      {0, false, true, 2, 1},  // skips the disabled second sheet
      {2, false, true, 0, 1},  // the fourth has no tab: wraps to the first
      {0, true, true, 2, 1},   // backwards, wrapping
      {2, true, true, 0, 1},
      {0, false, false, 0, 0},  // refused: nothing changes, the key is not answered
  };
  for (const Case& c : cases) {
    Pages->SetActivePage(Sheets[c.From]);
    AllowChange = c.Allow;
    LRESULT result;
    {
      TKeysDown keys(c.Shift);
      result = Form->Perform(CM_DIALOGKEY, VK_TAB, 0);
    }
    EXPECT_EQ(Pages->ActivePage(), Sheets[c.To]) << c.From << (c.Shift ? " back" : "");
    EXPECT_EQ(result, c.Result) << c.From;
  }
  // Off, with the focus elsewhere: the form's own handling only.
  AllowChange = true;
  Pages->HandleGlobalTab = false;
  Pages->SetActivePage(Sheets[0]);
  {
    TKeysDown keys(false);
    Form->Perform(CM_DIALOGKEY, VK_TAB, 0);
  }
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
}

TEST_F(OxPageControlTest, HintColourWhileTheMouseIsOver) {
  TColor before = Application->HintColor;
  Application->HintColor = clAqua;
  Pages->SetHintColor(clLime);
  Pages->Perform(CM_MOUSEENTER);
  EXPECT_EQ(Application->HintColor, clLime);
  Pages->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Application->HintColor, clAqua);
  Application->HintColor = before;
}

const char* const kRecordPages =
    "object Record: TForm\n"
    "  object Pages: TOxPageControl\n"
    "    Width = 300\n"
    "    Height = 200\n"
    "    ActivePage = Sheet2\n"
    "    ClientBorderWidth = 0\n"
    "    HideAllTabs = True\n"
    "    DrawTabShadow = True\n"
    "    TabPosition = tpBottom\n"
    "    object Sheet1: TTabSheet\n"
    "      Caption = 'Zone'\n"
    "    end\n"
    "    object Sheet2: TTabSheet\n"
    "      Caption = 'Faune'\n"
    "    end\n"
    "  end\n"
    "end\n";

TEST(OxPageControlForm, TabsHiddenByTheDescriptionStayHiddenOnceShown) {
  RegisterOxPageControl();
  RegisterClass(TTabSheet::StaticClass());
  TForm* form = CreateForm<TForm>(nullptr);
  struct Free {
    TForm* Form;
    ~Free() { Form->Free(); }
  } owner{form};
  ReadComponentFromText(form, kRecordPages, "record");
  auto* pages = dynamic_cast<TOxPageControl*>(form->FindComponent("Pages"));
  ASSERT_NE(pages, nullptr);
  form->Show();
  PumpPending();
  EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(pages->ActivePage(), form->FindComponent("Sheet2"));
  EXPECT_TRUE(pages->DrawTabShadow());
  // With no tabs and no frame, the sheet fills the control.
  EXPECT_EQ(pages->ActivePage()->BoundsRect().Left, 0);
  EXPECT_EQ(pages->ActivePage()->BoundsRect().Top, 0);
  String text = WriteComponentToText(pages);
  EXPECT_NE(text.find("HideAllTabs = True"), String::npos) << text;
  EXPECT_NE(text.find("ClientBorderWidth = 0"), String::npos) << text;
}

}  // namespace
