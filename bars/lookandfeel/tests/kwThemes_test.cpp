// Tests of the theme binding and state: the version test, the cache of theme handles by kind
// with their class names, theme changes closing the cache and calling the notificators, and
// the themes switched off.
#include "BarTestSupport.h"
#include "kwThemes.h"

namespace {

TEST(ThemeBinding, OnlyWindowsXPAndLaterHaveVisualStyles) {
  struct Case {
    DWORD Major, Minor;
    bool Supported;
  } cases[] = {{4, 10, false}, {5, 0, false}, {5, 1, true}, {5, 2, true}, {6, 0, true}, {10, 0, true}};
  for (const Case& c : cases) EXPECT_EQ(IsThemeVersionSupported(c.Major, c.Minor), c.Supported) << c.Major << "." << c.Minor;
}

TEST(ThemeBinding, BindsTheEntryPointsTheLibraryExports) {
  ASSERT_TRUE(ThemeLibraryAvailable());
  EXPECT_NE(ThemeBinding().Entries[teOpenThemeData], nullptr);
  EXPECT_NE(ThemeBinding().Entries[teIsThemeActive], nullptr);
  EXPECT_NE(ThemeChangeReceiverWindow(), nullptr);
}

class ThemeCache : public ::testing::Test {
 protected:
  void SetUp() override {
    Style = std::make_unique<TFakeVisualStyle>(u"C:\\Themes\\Luna.msstyles", u"NormalColor");
    // The cache keeps the class a kind was last opened with, across theme changes: each kind
    // starts from nothing cached (opened under its own class, then closed).
    for (int kind = 0; kind < tkThemeKindCount; ++kind) {
      WideString name = ThemeKindClassNames[kind];
      GetThemeHandleForKind(kind, &name);
      CloseThemeHandle(kind);
    }
    Opened = TFakeVisualStyle::OpenCount;
    Closed = TFakeVisualStyle::CloseCount;
  }
  void TearDown() override { Style.reset(); }
  std::unique_ptr<TFakeVisualStyle> Style;
  int Opened = 0;
  int Closed = 0;
};

TEST_F(ThemeCache, OpensAKindOnceForEveryRequestWithoutAClassName) {
  ASSERT_TRUE(AreThemesUsable());
  HTHEME first = GetThemeHandleForKind(tkToolBar);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetThemeHandleForKind(tkToolBar), first);
  EXPECT_EQ(TFakeVisualStyle::OpenCount - Opened, 1);
  EXPECT_EQ(ThemeHandleClassName(tkToolBar), u"ToolBar");
  EXPECT_TRUE(AreThemesUsable(1u << tkToolBar | 1u << tkWindow));
}

TEST_F(ThemeCache, AnotherClassNameReplacesTheCachedHandleForLaterRequestsToo) {
  HTHEME first = GetThemeHandleForKind(tkEdit);
  WideString same = u"EDIT";
  EXPECT_EQ(GetThemeHandleForKind(tkEdit, &same), first);
  WideString other = u"ComboBox";
  HTHEME second = GetThemeHandleForKind(tkEdit, &other);
  EXPECT_NE(second, first);
  EXPECT_EQ(TFakeVisualStyle::CloseCount - Closed, 1);
  EXPECT_EQ(GetThemeHandleForKind(tkEdit), second);
  EXPECT_EQ(ThemeHandleClassName(tkEdit), u"ComboBox");
}

TEST_F(ThemeCache, AThemeChangeClosesEveryHandleAndTheKindsReopenWithTheirClass) {
  WideString name = u"Rebar";
  GetThemeHandleForKind(tkToolBar, &name);
  GetThemeHandleForKind(tkStatus);
  int closed = TFakeVisualStyle::CloseCount;
  SendThemeChanged();
  EXPECT_EQ(TFakeVisualStyle::CloseCount - closed, 2);
  int opened = TFakeVisualStyle::OpenCount;
  EXPECT_NE(GetThemeHandleForKind(tkToolBar), nullptr);
  EXPECT_EQ(TFakeVisualStyle::OpenCount - opened, 1);
  EXPECT_EQ(ThemeHandleClassName(tkToolBar), u"Rebar");
}

TEST_F(ThemeCache, ClosingAKindReportsWhetherThereWasOne) {
  EXPECT_EQ(CloseThemeHandle(tkSpin), S_OK);
  GetThemeHandleForKind(tkSpin);
  EXPECT_EQ(CloseThemeHandle(tkSpin), S_OK);
  EXPECT_EQ(TFakeVisualStyle::CloseCount - Closed, 1);
  EXPECT_EQ(ThemeHandleClassName(tkSpin), u"");
}

TEST(ThemeState, TheClassicLookMakesThemesUnusable) {
  TFakeVisualStyle classic(u"", u"", false);
  EXPECT_FALSE(AreThemesUsable());
  EXPECT_EQ(GetThemeHandleForKind(tkToolBar), nullptr);
  EXPECT_EQ(CloseThemeHandle(tkToolBar), 1);
}

// Counts the theme changes it hears of.
class TThemeListener : public TObject {
 public:
  TThemeListener() { Notificator.OnThemeChanged = TEvent<void()>(this, &TThemeListener::Changed); }
  void Changed() { ++Heard; }
  TkwThemeChangedNotificator Notificator;
  int Heard = 0;
};

TEST(ThemeState, NotificatorsHearOfEveryThemeChangeWhileTheyLive) {
  int before = ThemeNotificatorCount();
  {
    TThemeListener listener;
    EXPECT_EQ(ThemeNotificatorCount(), before + 1);
    SendThemeChanged();
    SendThemeChanged();
    EXPECT_EQ(listener.Heard, 2);
  }
  EXPECT_EQ(ThemeNotificatorCount(), before);
  SendThemeChanged();
}

// A listener that raises: the application's handler reports it and the later listeners miss that
// change, not the next one.
class TRaisingThemeListener : public TObject {
 public:
  TRaisingThemeListener() { Notificator.OnThemeChanged = TEvent<void()>(this, &TRaisingThemeListener::Changed); }
  void Changed() {
    if (Raise) throw Exception("thème illisible"_a);
  }
  TkwThemeChangedNotificator Notificator;
  bool Raise = true;
};

class TExceptionRecorder : public TObject {
 public:
  void Report(TObject*, Exception* E) { Reported.push_back(E->Message); }
  std::vector<String> Reported;
};

TEST(ThemeState, AListenerThatRaisesIsReportedAndTheNextMissesThatChangeOnly) {
  TExceptionRecorder recorder;
  Application->OnException = TExceptionEvent(&recorder, &TExceptionRecorder::Report);
  {
    TRaisingThemeListener raising;
    TThemeListener next;
    SendThemeChanged();
    EXPECT_EQ(recorder.Reported, std::vector<String>{"thème illisible"_a});
    EXPECT_EQ(next.Heard, 0);
    raising.Raise = false;
    SendThemeChanged();
    EXPECT_EQ(next.Heard, 1);
    EXPECT_EQ(recorder.Reported.size(), 1u);
  }
  Application->OnException = nullptr;
}

TEST(ThemeState, ANotificatorMadeWithoutTheLibraryIsNeverCalled) {
  TkwThemeBinding saved = ThemeBinding();
  ThemeBinding().Library = nullptr;
  auto listener = std::make_unique<TThemeListener>();
  ThemeBinding() = saved;
  int before = ThemeNotificatorCount();
  SendThemeChanged();
  EXPECT_EQ(listener->Heard, 0);
  ThemeBinding().Library = nullptr;
  listener.reset();
  ThemeBinding() = saved;
  EXPECT_EQ(ThemeNotificatorCount(), before);
}

}  // namespace
