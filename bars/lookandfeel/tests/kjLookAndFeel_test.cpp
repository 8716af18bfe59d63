// Tests of the look-and-feel settings: effective values down a chain of masters, the
// notifications that travel down it, controllers on the root, and the controls that follow: a
// bar manager choosing its style and painter, and a control painting with the painter of its kind.
#include <memory>

#include "BarTestSupport.h"
#include "Filer.h"
#include "kjLookAndFeel.h"
#include "kjLookAndFeelPainters.h"
#include "kwBarPainter.h"

namespace {

// Records the notifications of a settings object.
class TRecorder : public TObject {
 public:
  explicit TRecorder(TkjLookAndFeel* LookAndFeel) {
    LookAndFeel->OnChanged = TkjLookAndFeelChangedEvent(this, &TRecorder::Changed);
  }
  void Changed(TkjLookAndFeel*, TkjLookAndFeelValues Values) { Seen.push_back(Values); }
  std::vector<TkjLookAndFeelValues> Seen;
};

// Every test leaves the root as the program starts it: nothing assigned, no controller.
class LookAndFeel : public ::testing::Test {
 protected:
  void TearDown() override {
    RootLookAndFeel()->Reset();
    EXPECT_EQ(LookAndFeelControllerCount(), 0);
    EXPECT_EQ(RootLookAndFeel()->Kind(), lfUltraFlat);
  }
  TkjLookAndFeel* Root() { return RootLookAndFeel(); }
};

TEST_F(LookAndFeel, NothingAssignedReadsTheRootDefaultsAndIsNotWritten) {
  TComponent owner(nullptr);
  TkjLookAndFeel settings(&owner);
  EXPECT_EQ(settings.Kind(), lfUltraFlat);
  EXPECT_FALSE(settings.NativeStyle());
  EXPECT_TRUE(settings.AssignedValues().Empty());
  EXPECT_FALSE(GetPropInfo(&settings, "Kind")->IsStored(&settings));
  EXPECT_FALSE(GetPropInfo(&settings, "NativeStyle")->IsStored(&settings));
  EXPECT_FALSE(GetPropInfo(&settings, "AssignedValues")->IsStored(&settings));
  settings.SetNativeStyle(false);
  EXPECT_TRUE(GetPropInfo(&settings, "NativeStyle")->IsStored(&settings));
}

// A change made on the root travels down root -> master -> child; the child stops the values it
// assigns itself.
TEST_F(LookAndFeel, ChangesTravelDownToTheValuesNotAssignedOnTheWay) {
  struct Case {
    const char* Name;
    TkjLookAndFeelValues ChildAssigns;
    bool ChangeKind;  // else the native style
    TkjLookAndFeelValues ChildHears;
    TkjLookAndFeelKind ChildKind;
    bool ChildNative;
  } cases[] = {
      {"inherits all, kind changes", {}, true, {lfvKind}, lfStandard, false},
      {"inherits all, native changes", {}, false, {lfvNativeStyle}, lfUltraFlat, true},
      {"sets its kind, kind changes", {lfvKind}, true, {}, lfFlat, false},
      {"sets its kind, native changes", {lfvKind}, false, {lfvNativeStyle}, lfFlat, true},
      {"sets its native style, native changes", {lfvNativeStyle}, false, {}, lfUltraFlat, false},
      {"sets both, kind changes", {lfvKind, lfvNativeStyle}, true, {}, lfFlat, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TComponent owner(nullptr);
    TkjLookAndFeel master(&owner);
    TkjLookAndFeel child(&owner);
    child.SetMaster(&master);
    if (c.ChildAssigns.Contains(lfvKind)) child.SetKind(lfFlat);
    if (c.ChildAssigns.Contains(lfvNativeStyle)) child.SetNativeStyle(false);
    TRecorder masterHeard(&master);
    TRecorder childHeard(&child);
    if (c.ChangeKind)
      Root()->SetKind(lfStandard);
    else
      Root()->SetNativeStyle(true);
    TkjLookAndFeelValues changed = c.ChangeKind ? TkjLookAndFeelValues{lfvKind} : TkjLookAndFeelValues{lfvNativeStyle};
    EXPECT_EQ(masterHeard.Seen, std::vector<TkjLookAndFeelValues>{changed});
    if (c.ChildHears.Empty())
      EXPECT_TRUE(childHeard.Seen.empty());
    else
      EXPECT_EQ(childHeard.Seen, std::vector<TkjLookAndFeelValues>{c.ChildHears});
    EXPECT_EQ(child.Kind(), c.ChildKind);
    EXPECT_EQ(child.NativeStyle(), c.ChildNative);
    Root()->Reset();
  }
}

TEST_F(LookAndFeel, SettingTheValueInEffectAssignsItWithoutNotice) {
  TComponent owner(nullptr);
  TkjLookAndFeel settings(&owner);
  TRecorder heard(&settings);
  settings.SetKind(lfUltraFlat);
  EXPECT_TRUE(settings.AssignedValues().Contains(lfvKind));
  EXPECT_TRUE(heard.Seen.empty());
  EXPECT_TRUE(GetPropInfo(&settings, "Kind")->IsStored(&settings));
}

TEST_F(LookAndFeel, ForgettingAnOwnKindNotifiesOnceAndFollowsTheMasterAgain) {
  TComponent owner(nullptr);
  TkjLookAndFeel settings(&owner);
  settings.SetKind(lfStandard);
  TRecorder heard(&settings);
  settings.SetAssignedValues({});
  EXPECT_EQ(heard.Seen, std::vector<TkjLookAndFeelValues>{{lfvKind}});
  EXPECT_EQ(settings.Kind(), lfUltraFlat);
  Root()->SetKind(lfFlat);
  EXPECT_EQ(settings.Kind(), lfFlat);
}

TEST_F(LookAndFeel, SetMasterIgnoresTheRootItselfAndTheMasterInForce) {
  TComponent owner(nullptr);
  TkjLookAndFeel master(&owner);
  TkjLookAndFeel child(&owner);
  int rootListeners = Root()->ListenerCount();
  Root()->SetMaster(&master);
  EXPECT_EQ(Root()->GetActiveMaster(), nullptr);
  child.SetMaster(&child);
  EXPECT_EQ(child.Master(), nullptr);
  child.SetMaster(Root());
  EXPECT_EQ(child.Master(), nullptr);
  EXPECT_EQ(Root()->ListenerCount(), rootListeners);
  child.SetMaster(&master);
  EXPECT_EQ(Root()->ListenerCount(), rootListeners - 1);
  EXPECT_EQ(master.ListenerCount(), 1);
}

TEST_F(LookAndFeel, AMasterThatGoesLeavesItsFollowersOnTheRootToldOfRealChangesOnly) {
  TComponent owner(nullptr);
  auto master = std::make_unique<TkjLookAndFeel>(&owner);
  TkjLookAndFeel sameKind(&owner);
  TkjLookAndFeel otherKind(&owner);
  sameKind.SetMaster(master.get());
  otherKind.SetMaster(master.get());
  master->SetNativeStyle(true);
  otherKind.SetNativeStyle(true);
  TRecorder sameHeard(&sameKind);
  TRecorder otherHeard(&otherKind);
  master.reset();
  EXPECT_EQ(sameKind.GetActiveMaster(), Root());
  EXPECT_EQ(sameHeard.Seen, std::vector<TkjLookAndFeelValues>{{lfvNativeStyle}});
  EXPECT_FALSE(sameKind.NativeStyle());
  EXPECT_TRUE(otherHeard.Seen.empty());
  EXPECT_TRUE(otherKind.NativeStyle());
}

TEST_F(LookAndFeel, AssignCopiesValuesAndMasterWithOneNotice) {
  TComponent owner(nullptr);
  TkjLookAndFeel master(&owner);
  master.SetKind(lfFlat);
  TkjLookAndFeel source(&owner);
  source.SetMaster(&master);
  source.SetNativeStyle(true);
  TkjLookAndFeel target(&owner);
  TRecorder heard(&target);
  target.Assign(&source);
  EXPECT_EQ(target.Master(), &master);
  EXPECT_EQ(target.Kind(), lfFlat);
  EXPECT_TRUE(target.NativeStyle());
  EXPECT_EQ(heard.Seen, (std::vector<TkjLookAndFeelValues>{{lfvKind, lfvNativeStyle}}));
}

// A listener that leaves the list while it is told must not make the next one miss the news.
class TLeavingListener : public TObject, public IkjLookAndFeelListener {
 public:
  explicit TLeavingListener(TkjLookAndFeel* Master) : FMaster(Master) { Master->AddChangeListener(this); }
  TObject* GetObject() override { return this; }
  void MasterChanged(TkjLookAndFeel*, TkjLookAndFeelValues) override {
    ++Heard;
    FMaster->RemoveChangeListener(this);
  }
  void MasterGoingAway(TkjLookAndFeel*) override {}
  int Heard = 0;

 private:
  TkjLookAndFeel* FMaster;
};

TEST_F(LookAndFeel, AListenerLeavingDuringItsNoticeDoesNotSkipTheNext) {
  TComponent owner(nullptr);
  TkjLookAndFeel master(&owner);
  TLeavingListener leaving(&master);
  TkjLookAndFeel next(&owner);
  next.SetMaster(&master);
  TRecorder heard(&next);
  master.SetKind(lfStandard);
  EXPECT_EQ(leaving.Heard, 1);
  EXPECT_EQ(heard.Seen.size(), 1u);
  EXPECT_EQ(next.Kind(), lfStandard);
  EXPECT_EQ(master.ListenerCount(), 1);
}

TEST_F(LookAndFeel, ControllersSetTheRootAndTheLastOneResetsIt) {
  TComponent owner(nullptr);
  TkjLookAndFeel follower(&owner);
  TRecorder heard(&follower);
  auto first = std::make_unique<TkjLookAndFeelController>(&owner);
  auto second = std::make_unique<TkjLookAndFeelController>(&owner);
  EXPECT_EQ(LookAndFeelControllerCount(), 2);
  first->SetKind(lfStandard);
  EXPECT_EQ(follower.Kind(), lfStandard);
  EXPECT_EQ(second->Kind(), lfStandard);
  second->SetNativeStyle(true);
  EXPECT_TRUE(follower.NativeStyle());
  first.reset();
  EXPECT_EQ(follower.Kind(), lfStandard);
  second.reset();
  EXPECT_EQ(follower.Kind(), lfUltraFlat);
  EXPECT_FALSE(follower.NativeStyle());
  EXPECT_EQ(heard.Seen, (std::vector<TkjLookAndFeelValues>{{lfvKind}, {lfvNativeStyle}, {lfvKind, lfvNativeStyle}}));
}

TEST_F(LookAndFeel, AControllerListensToTheRootOnly) {
  TComponent owner(nullptr);
  TkjLookAndFeel settings(&owner);
  TkjLookAndFeelController controller(&owner);
  settings.AddChangeListener(&controller);
  EXPECT_EQ(settings.ListenerCount(), 0);
  EXPECT_EQ(LookAndFeelControllerCount(), 1);
}

TEST_F(LookAndFeel, AControllerIsReadFromAFormDescription) {
  RegisterLookAndFeelClasses();
  TComponent root(nullptr);
  root.SetName("Racine");
  ReadComponentFromText(&root,
                        "object Racine: TComponent\n"
                        "  object kjLookAndFeelController1: TkjLookAndFeelController\n"
                        "    Kind = lfFlat\n"
                        "  end\n"
                        "end\n",
                        "test");
  EXPECT_EQ(Root()->Kind(), lfFlat);
  root.DestroyComponents();
  EXPECT_EQ(Root()->Kind(), lfUltraFlat);
}

// --- The controls that follow ---------------------------------------------------------------------

// Painters that tell which kind they stand for.
class TKindPainter : public TkwBarPainter {
 public:
  explicit TKindPainter(TkwBarPainterKind Kind) : FKind(Kind) {}
  TkwBarPainterKind Kind() const override { return FKind; }
  int GetGripAreaSize() const override { return 10 + FKind; }

 private:
  TkwBarPainterKind FKind;
};

class ManagerFollowingTheLookAndFeel : public BarFormTest {
 protected:
  void SetUp() override {
    static const TKindPainter painters[bpkCount] = {TKindPainter(bpkStandard), TKindPainter(bpkEnhanced),
                                                    TKindPainter(bpkFlat), TKindPainter(bpkOffice11),
                                                    TKindPainter(bpkXP)};
    for (int i = 0; i < bpkCount; ++i) RegisterBarPainter(TkwBarPainterKind(i), &painters[i]);
    BarFormTest::SetUp();
    Manager->SetStyle(bmsUseLookAndFeel);
  }
  void TearDown() override {
    BarFormTest::TearDown();
    RootLookAndFeel()->Reset();
    for (int i = 0; i < bpkCount; ++i) RegisterBarPainter(TkwBarPainterKind(i), nullptr);
  }
};

TEST_F(ManagerFollowingTheLookAndFeel, TakesItsStyleAndPainterFromKindNativeStyleAndThemes) {
  struct Case {
    TkjLookAndFeelKind Kind;
    bool Native;
    bool Themes;
    TkwBarManagerStyle Style;
    TkwBarPainterKind Painter;
  } cases[] = {
      {lfUltraFlat, false, false, bmsFlat, bpkFlat},        {lfFlat, false, false, bmsEnhanced, bpkEnhanced},
      {lfStandard, false, false, bmsStandard, bpkStandard}, {lfUltraFlat, true, false, bmsFlat, bpkFlat},
      {lfStandard, true, false, bmsStandard, bpkStandard},  {lfUltraFlat, true, true, bmsXP, bpkXP},
      {lfStandard, false, true, bmsStandard, bpkStandard},
  };
  TComponent owner(nullptr);
  TkjLookAndFeelController controller(&owner);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.Kind << " native " << c.Native << " themes " << c.Themes);
    TFakeVisualStyle style(u"C:\\Themes\\Luna.msstyles", u"NormalColor", c.Themes);
    // The change reaches the manager through its settings object, which follows the root.
    controller.SetKind(c.Kind);
    controller.SetNativeStyle(c.Native);
    EXPECT_EQ(Manager->GetEffectiveStyle(), c.Style);
    EXPECT_EQ(Manager->Painter()->Kind(), c.Painter);
    EXPECT_EQ(Manager->GripSize(), 10 + c.Painter);
  }
}

TEST_F(ManagerFollowingTheLookAndFeel, AnXPStyleWithoutThemesPaintsWithTheEnhancedPainter) {
  Manager->SetStyle(bmsXP);
  {
    TFakeVisualStyle classic(u"", u"", false);
    EXPECT_EQ(Manager->GetEffectiveStyle(), bmsXP);
    EXPECT_EQ(Manager->Painter()->Kind(), bpkEnhanced);
  }
  {
    TFakeVisualStyle style(u"C:\\Themes\\Luna.msstyles", u"NormalColor");
    EXPECT_EQ(Manager->Painter()->Kind(), bpkXP);
  }
}

TEST_F(ManagerFollowingTheLookAndFeel, OwnSettingsOverrideTheRoot) {
  Manager->LookAndFeel()->SetKind(lfStandard);
  RootLookAndFeel()->SetKind(lfFlat);
  EXPECT_EQ(Manager->GetEffectiveStyle(), bmsStandard);
  Manager->LookAndFeel()->Reset();
  EXPECT_EQ(Manager->GetEffectiveStyle(), bmsEnhanced);
}

TEST_F(ManagerFollowingTheLookAndFeel, TheBarWindowsRefreshWhenTheStyleChanges) {
  TkwBar* bar = AddBar("MainMenu", true);
  Link(bar, AddButton("&Fichier"));
  bar->SetVisible(true);
  ShowForm();
  int refreshes = WindowOf(bar)->MetricsRefreshes;
  RootLookAndFeel()->SetKind(lfStandard);
  // The window takes the new painter's metrics once; a change that leaves the kind in effect
  // alone reaches nobody.
  EXPECT_EQ(WindowOf(bar)->MetricsRefreshes, refreshes + 1);
  EXPECT_EQ(Manager->Painter()->Kind(), bpkStandard);
  RootLookAndFeel()->SetKind(lfStandard);
  EXPECT_EQ(WindowOf(bar)->MetricsRefreshes, refreshes + 1);
}

// A control that follows a settings object and paints a hot button with the painter of its kind.
class TFollowingControl : public TCustomControl {
 public:
  explicit TFollowingControl(TComponent* AOwner) : TCustomControl(AOwner) {
    FLookAndFeel = new TkjLookAndFeel(this);
    FLookAndFeel->OnChanged = TkjLookAndFeelChangedEvent(this, &TFollowingControl::Changed);
  }
  ~TFollowingControl() override { delete FLookAndFeel; }
  TkjLookAndFeel* LookAndFeel() const { return FLookAndFeel; }
  int Notices = 0;
  std::vector<TkjLookAndFeelValues> Heard;

 protected:
  void Paint() override {
    TkjPaintCanvas canvas(Canvas());
    LookAndFeelPainter(FLookAndFeel->Kind())
        ->PaintButton(&canvas, ClientRect(), kjDefaultColor, kjDefaultColor, true, kjbsHot, String());
  }

 private:
  void Changed(TkjLookAndFeel*, TkjLookAndFeelValues Values) {
    ++Notices;
    Heard.push_back(Values);
    Invalidate();
  }
  TkjLookAndFeel* FLookAndFeel;
};

class FollowingControl : public LookAndFeel {
 protected:
  void SetUp() override {
    Form.reset(CreateForm<TForm>(nullptr));
    Form->SetBounds(80, 80, 200, 120);
    Control = new TFollowingControl(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(10, 10, 60, 30);
    Form->Show();
    Activate(Form.get());
  }
  void TearDown() override {
    Form.reset();
    LookAndFeel::TearDown();
  }
  // The face colour in the middle of the button, as painted on screen now.
  COLORREF Face() {
    RedrawNow(Control->Handle());
    return PixelOf(Control, 30, 15);
  }
  TFormPtr<TForm> Form;
  TFollowingControl* Control = nullptr;
};

TEST_F(FollowingControl, RepaintsInTheColoursOfTheKindInEffect) {
  // Ultra-flat hot buttons take the light highlight mix; standard ones the button face.
  EXPECT_EQ(Face(), HotLightColor());
  SaveScreenshot(Form->Handle(), "look-and-feel-ultraflat-hot-button");
  RootLookAndFeel()->SetKind(lfStandard);
  EXPECT_EQ(Control->Notices, 1);
  EXPECT_EQ(Face(), GetSysColor(COLOR_BTNFACE));
  SaveScreenshot(Form->Handle(), "look-and-feel-standard-hot-button");
  Control->LookAndFeel()->SetKind(lfUltraFlat);
  EXPECT_EQ(Face(), HotLightColor());
  RootLookAndFeel()->SetKind(lfFlat);
  EXPECT_EQ(Control->Notices, 2);
}

// The settings, the bar manager and a control on one form, each change made as the program makes
// it (through a controller on the root): what the control hears, what it paints and the style the
// manager draws in, by the kind and native style in force, what the control sets itself, and the
// change.
class FollowersOfTheLookAndFeel : public ManagerFollowingTheLookAndFeel {
 protected:
  void SetUp() override {
    ManagerFollowingTheLookAndFeel::SetUp();
    Control = new TFollowingControl(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(10, 40, 60, 30);
    ShowForm();
  }
  COLORREF Face() {
    RedrawNow(Control->Handle());
    return PixelOf(Control, 30, 15);
  }
  TFollowingControl* Control = nullptr;
};

TEST_F(FollowersOfTheLookAndFeel, HearOnlyOfTheValuesTheyTakeFromTheRoot) {
  enum TOwn { ownNothing, ownKind, ownNative };
  enum TChange { toKind, toNative };
  const TkjLookAndFeelValues none{}, kind{lfvKind}, native{lfvNativeStyle};
  struct Case {
    const char* Name;
    TkjLookAndFeelKind Kind;
    bool Native;
    TOwn Own;
    TkjLookAndFeelKind OwnKind;
    TChange Change;
    TkjLookAndFeelKind NewKind;
    bool NewNative;
    bool Themes;
    TkjLookAndFeelValues Hears;
    bool HotLight;  // the control's hot face: the light mix of ultra-flat, else the button face
    TkwBarManagerStyle Style;
  } cases[] = {
      {"ultra-flat to standard", lfUltraFlat, false, ownNothing, lfFlat, toKind, lfStandard, false, false, kind,
       false, bmsStandard},
      {"ultra-flat to flat", lfUltraFlat, false, ownNothing, lfFlat, toKind, lfFlat, false, false, kind, false,
       bmsEnhanced},
      {"standard to ultra-flat", lfStandard, false, ownNothing, lfFlat, toKind, lfUltraFlat, false, false, kind,
       true, bmsFlat},
      {"the kind in force again", lfUltraFlat, false, ownNothing, lfFlat, toKind, lfUltraFlat, false, false, none,
       true, bmsFlat},
      {"a kind of its own", lfUltraFlat, false, ownKind, lfStandard, toKind, lfFlat, false, false, none, false,
       bmsEnhanced},
      {"native style, no themes", lfUltraFlat, false, ownNothing, lfFlat, toNative, lfUltraFlat, true, false,
       native, true, bmsFlat},
      {"native style with themes", lfUltraFlat, false, ownNothing, lfFlat, toNative, lfUltraFlat, true, true,
       native, true, bmsXP},
      {"a native style of its own", lfUltraFlat, false, ownNative, lfFlat, toNative, lfUltraFlat, true, true, none,
       true, bmsXP},
      {"native style in force, kind changes", lfStandard, true, ownNothing, lfFlat, toKind, lfUltraFlat, true, true,
       kind, true, bmsXP},
      {"own kind, native style ends", lfFlat, true, ownKind, lfUltraFlat, toNative, lfFlat, false, true, native,
       true, bmsEnhanced},
  };
  TComponent owner(nullptr);
  TkjLookAndFeelController controller(&owner);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeVisualStyle style(u"C:\\Themes\\Luna.msstyles", u"NormalColor", c.Themes);
    controller.SetKind(c.Kind);
    controller.SetNativeStyle(c.Native);
    Control->LookAndFeel()->Reset();
    if (c.Own == ownKind) Control->LookAndFeel()->SetKind(c.OwnKind);
    if (c.Own == ownNative) Control->LookAndFeel()->SetNativeStyle(c.Native);
    Control->Heard.clear();
    if (c.Change == toKind)
      controller.SetKind(c.NewKind);
    else
      controller.SetNativeStyle(c.NewNative);
    if (c.Hears.Empty())
      EXPECT_TRUE(Control->Heard.empty());
    else
      EXPECT_EQ(Control->Heard, std::vector<TkjLookAndFeelValues>{c.Hears});
    EXPECT_EQ(Face(), c.HotLight ? HotLightColor() : GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Manager->GetEffectiveStyle(), c.Style);
  }
}

}  // namespace
