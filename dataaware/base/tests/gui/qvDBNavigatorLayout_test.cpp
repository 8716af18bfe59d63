// Tests of the navigator's button list: sizing and placing the buttons in rows and columns, the
// visible-button set, and the buttons read from and written back to a form description, custom
// buttons with their own click handlers among them.
#include "NavTestSupport.h"

#include "Filer.h"
#include "Qvdatsrc.h"

namespace {

class NavigatorLayout : public DataFormTest {
 protected:
  TqvDBNavigator* MakeNavigator(int Width, int Height, TqvNavAutoSizeStyle Sizing, int Buttons) {
    auto* Nav = new TqvDBNavigator(Form.get());
    Nav->SetParent(Form.get());
    Nav->SetAutosizeStyle(Sizing);
    Nav->SetBounds(4, 4, Width, Height);
    for (int i = 0; i < Buttons; ++i) Nav->Buttons()->AddButton(nbsFirst);
    return Nav;
  }
  static std::vector<TRect> Bounds(TqvDBNavigator* Nav) {
    std::vector<TRect> Result;
    for (int i = 0; i < Nav->Buttons()->Count(); ++i) Result.push_back(Nav->Buttons()->Buttons(i)->BoundsRect());
    return Result;
  }
};

TEST_F(NavigatorLayout, SizedButtonsShareTheBarTheLeftoverGoingToTheFirst) {
  TqvDBNavigator* Nav = MakeNavigator(250, 18, asSizeNavButtons, 6);
  Nav->Buttons()->Arrange();
  EXPECT_EQ(Bounds(Nav), (std::vector<TRect>{::Bounds(0, 0, 42, 18), ::Bounds(42, 0, 42, 18), ::Bounds(84, 0, 42, 18),
                                             ::Bounds(126, 0, 42, 18), ::Bounds(168, 0, 41, 18),
                                             ::Bounds(209, 0, 41, 18)}));
  // The bar keeps its size; a hidden button gives its room to the others.
  Nav->Buttons()->Buttons(5)->SetVisible(false);
  Nav->Buttons()->Arrange();
  EXPECT_EQ(Nav->Width(), 250);
  EXPECT_EQ(Nav->Buttons()->Buttons(0)->Width(), 50);
  EXPECT_EQ(Nav->Buttons()->Buttons(4)->BoundsRect(), ::Bounds(200, 0, 50, 18));
}

TEST_F(NavigatorLayout, ALineBreakOnTheFirstButtonLeavesTheFirstRowEmpty) {
  TqvDBNavigator* Nav = MakeNavigator(90, 40, asSizeNavButtons, 3);
  Nav->Buttons()->Buttons(0)->SetLineBreak(true);
  EXPECT_EQ(Bounds(Nav), (std::vector<TRect>{::Bounds(0, 20, 30, 20), ::Bounds(30, 20, 30, 20), ::Bounds(60, 20, 30, 20)}));
}

TEST_F(NavigatorLayout, ALineBreakOnTheLastButtonPutsItAloneOnTheNextRow) {
  TqvDBNavigator* Nav = MakeNavigator(90, 40, asSizeNavButtons, 3);
  Nav->Buttons()->Buttons(2)->SetLineBreak(true);
  // Sized with the row before it, then placed on a row of its own.
  EXPECT_EQ(Bounds(Nav), (std::vector<TRect>{::Bounds(0, 0, 45, 20), ::Bounds(45, 0, 45, 20), ::Bounds(0, 20, 45, 20)}));
}

TEST_F(NavigatorLayout, ABarNarrowerThanItsFirstButtonMovesItDown) {
  TqvDBNavigator* Nav = MakeNavigator(10, 60, asNone, 2);
  EXPECT_EQ(Bounds(Nav), (std::vector<TRect>{::Bounds(0, 25, 25, 25), ::Bounds(0, 50, 25, 25)}));
}

TEST_F(NavigatorLayout, VerticalBarsStackTheirButtonsInColumns) {
  TqvDBNavigator* Nav = MakeNavigator(30, 100, asSizeNavButtons, 4);
  Nav->SetLayout(nlVertical);
  EXPECT_EQ(Bounds(Nav), (std::vector<TRect>{::Bounds(0, 0, 30, 25), ::Bounds(0, 25, 30, 25), ::Bounds(0, 50, 30, 25),
                                             ::Bounds(0, 75, 30, 25)}));
  Nav->Buttons()->Buttons(2)->SetLineBreak(true);
  EXPECT_EQ(Bounds(Nav), (std::vector<TRect>{::Bounds(0, 0, 15, 50), ::Bounds(0, 50, 15, 50), ::Bounds(15, 0, 15, 50),
                                             ::Bounds(15, 50, 15, 50)}));
}

TEST_F(NavigatorLayout, TheBarFitsItsButtonsInsideItsBevels) {
  TqvDBNavigator* Nav = MakeNavigator(300, 27, asSizeNavigator, 0);
  Nav->SetBevelOuter(bvRaised);
  for (int i = 0; i < 3; ++i) Nav->Buttons()->AddButton(nbsNext);
  Nav->Buttons()->Arrange();
  EXPECT_EQ(Nav->GetBevelCount(), 1);
  EXPECT_EQ(Nav->Buttons()->Buttons(0)->BoundsRect(), ::Bounds(1, 1, 25, 25));
  EXPECT_EQ(Nav->Width(), 1 + 1 + 75);
  EXPECT_EQ(Nav->Height(), 1 + 1 + 25);
  EXPECT_EQ(Nav->GetButtonsWidth(), 75);
}

TEST_F(NavigatorLayout, VisibleButtonsMakeTheDefaultsAndHideTheOthers) {
  TqvDBNavigator* Nav = MakeNavigator(400, 25, asSizeNavigator, 0);
  Nav->SetVisibleButtons({nbsFirst, nbsLast});
  ASSERT_EQ(Nav->Buttons()->Count(), 14);
  EXPECT_EQ(Nav->Buttons()->GetVisibleCount(), 2);
  EXPECT_EQ(Nav->Buttons()->GetVisibleButton(0)->Style(), nbsFirst);
  EXPECT_EQ(Nav->Buttons()->GetVisibleButton(1)->Style(), nbsLast);
  EXPECT_EQ(Nav->Buttons()->GetVisibleButton(1)->Left(), 25);
  // Every standard style has its button, hidden or not.
  TqvNavButtonStyles All;
  for (int Style = nbsFirst; Style <= nbsRestoreBookmark; ++Style) All.Include(TqvNavButtonStyle(Style));
  EXPECT_EQ(Nav->GetVisibleButtons(), All);
  // A style without a button gets one at its place.
  Nav->SetVisibleButtons({nbsFirst, nbsLocateDialog});
  EXPECT_EQ(Nav->Buttons()->Count(), 15);
  EXPECT_EQ(Nav->Buttons()->GetVisibleButton(1)->Style(), nbsLocateDialog);
  EXPECT_EQ(Nav->Buttons()->GetVisibleButton(1)->GetIndex(), 14);
}

TEST_F(NavigatorLayout, SettingAnIndexMovesTheButton) {
  TqvDBNavigator* Nav = MakeNavigator(400, 25, asSizeNavigator, 0);
  TqvNavButton* A = Nav->Buttons()->AddButton(nbsFirst);
  TqvNavButton* B = Nav->Buttons()->AddButton(nbsPrior);
  TqvNavButton* C = Nav->Buttons()->AddButton(nbsNext);
  C->SetIndex(0);
  EXPECT_EQ(Nav->Buttons()->Buttons(0), C);
  EXPECT_EQ(Nav->Buttons()->Buttons(1), A);
  EXPECT_EQ(Nav->Buttons()->Buttons(2), B);
  EXPECT_EQ(C->Left(), 0);
  EXPECT_EQ(B->Left(), 50);
}

// A window of the program's kind: a navigator with standard and custom buttons, the custom ones
// bound to the window's handlers by name.
class TNavForm : public TForm {
  VELBOR_DECLARE_CLASS(TNavForm, TForm)
 public:
  explicit TNavForm(TComponent* AOwner) : TForm(AOwner) {}
  TqvDBNavigator* DBNavigator = nullptr;
  int Plus = 0;
  int Minus = 0;
  void DBNavigatorPlusClick(TObject*) { ++Plus; }
  void DBNavigatorMinusClick(TObject*) { ++Minus; }
};
VELBOR_IMPLEMENT_CLASS(TNavForm)
VELBOR_HANDLERS(TNavForm, VELBOR_HANDLER(DBNavigatorPlusClick), VELBOR_HANDLER(DBNavigatorMinusClick))
VELBOR_FIELDS(TNavForm, VELBOR_FIELD(DBNavigator))

TqvNavButton* AddNamed(TqvDBNavigator* Nav, TqvNavButtonStyle Style, const char* Name) {
  TqvNavButton* Button = Nav->Buttons()->AddButton(Style);
  Button->SetName(Name);
  return Button;
}

TEST_F(NavigatorLayout, ButtonsAreReadFromAndWrittenBackToAFormDescription) {
  RegisterClass(TNavForm::StaticClass());
  TFormPtr<TNavForm> Original(CreateForm<TNavForm>(nullptr));
  Original->SetName("frmDictionnaire");
  auto* Source = new TqvDataSource(Original.get());
  Source->SetName("dsTable");
  auto* Nav = new TqvDBNavigator(Original.get());
  Nav->SetName("DBNavigator");
  Nav->SetParent(Original.get());
  Nav->SetBounds(8, 120, 300, 26);
  Nav->SetAutosizeStyle(asSizeNavButtons);
  Nav->SetFlat(false);
  Nav->RepeatInterval()->InitialDelay = 5000;
  Nav->SetDataSource(Source);
  AddNamed(Nav, nbsFirst, "DBNavigatorFirst")->Hint = "Aller au premier enregistrement";
  AddNamed(Nav, nbsPrior, "DBNavigatorPrior");
  TqvNavButton* Plus = AddNamed(Nav, nbsCustom, "DBNavigatorPlus");
  Plus->SetCaption("+");
  Plus->SetShowText(true);
  Plus->Font()->SetStyle({fsBold});
  Plus->Font()->SetHeight(-24);
  Plus->Hint = "Insérer un nouvel enregistrement"_a;
  Plus->OnClick = TNotifyEvent(Original.get(), &TNavForm::DBNavigatorPlusClick);
  TqvNavButton* Minus = AddNamed(Nav, nbsCustom, "DBNavigatorMinus");
  Minus->SetCaption("-");
  Minus->SetShowText(true);
  Minus->OnClick = TNotifyEvent(Original.get(), &TNavForm::DBNavigatorMinusClick);
  AddNamed(Nav, nbsDelete, "DBNavigatorDelete")->SetLineBreak(true);
  AddNamed(Nav, nbsPost, "DBNavigatorPost");
  String Text = WriteComponentToText(Original.get());
  for (const char* Line : {"\r\n  object DBNavigator: TqvDBNavigator\r\n", "\r\n    object DBNavigatorFirst: TqvNavButton\r\n",
                           "\r\n    object DBNavigatorPlus: TqvNavButton\r\n", "\r\n      Style = nbsCustom\r\n",
                           "\r\n      OnClick = DBNavigatorPlusClick\r\n", "\r\n      OnClick = DBNavigatorMinusClick\r\n",
                           "\r\n      LineBreak = True\r\n", "\r\n    DataSource = dsTable\r\n",
                           "\r\n    RepeatInterval.InitialDelay = 5000\r\n", "\r\n    AutosizeStyle = asSizeNavButtons\r\n"}) {
    EXPECT_NE(Text.find(Line), String::npos) << Line << Text;
  }
  Original.reset();

  TFormPtr<TNavForm> Copy(CreateForm<TNavForm>(nullptr));
  ReadComponentFromText(Copy.get(), Text, "frmDictionnaire");
  ASSERT_NE(Copy->DBNavigator, nullptr);
  TqvDBNavigator* Read = Copy->DBNavigator;
  EXPECT_EQ(Read->DataSource(), Copy->FindComponent("dsTable"));
  EXPECT_FALSE(Read->Flat());
  EXPECT_EQ(Read->RepeatInterval()->InitialDelay, 5000);
  const TqvNavButtonStyle Styles[] = {nbsFirst, nbsPrior, nbsCustom, nbsCustom, nbsDelete, nbsPost};
  ASSERT_EQ(Read->Buttons()->Count(), 6);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    TqvNavButton* Button = Read->Buttons()->Buttons(i);
    EXPECT_EQ(Button->Style(), Styles[i]);
    EXPECT_EQ(Button->Owner(), Copy.get());
    EXPECT_FALSE(Button->Flat());
    // Standard buttons take their glyph; custom ones have none.
    EXPECT_EQ(qvIsNavImageList(Button->ImageList()), Styles[i] != nbsCustom);
    EXPECT_EQ(Button->GetImageIndex(), -1);
  }
  auto* ReadPlus = static_cast<TqvNavButton*>(Copy->FindComponent("DBNavigatorPlus"));
  EXPECT_EQ(ReadPlus->Caption(), "+");
  EXPECT_TRUE(ReadPlus->ShowText());
  EXPECT_EQ(ReadPlus->Font()->Height(), -24);
  EXPECT_EQ(ReadPlus->Hint, "Insérer un nouvel enregistrement"_a);
  EXPECT_EQ(Read->Buttons()->Buttons(0)->Hint, "Aller au premier enregistrement");
  EXPECT_TRUE(Read->Buttons()->Buttons(4)->LineBreak());
  EXPECT_EQ(WriteComponentToText(Copy.get()), Text);

  // The read window works: its custom buttons call its handlers, its standard ones move the data.
  static_cast<TDataSource*>(Copy->FindComponent("dsTable"))->SetDataSet(DataSet.get());
  Copy->SetBounds(100, 100, 420, 200);
  Copy->Show();
  Activate(Copy.get());
  ClickControl(ReadPlus);
  ClickControl(static_cast<TControl*>(Copy->FindComponent("DBNavigatorMinus")));
  EXPECT_EQ(Copy->Plus, 1);
  EXPECT_EQ(Copy->Minus, 1);
  DataSet->Last();
  ClickControl(Read->Buttons()->Buttons(1));
  EXPECT_EQ(Code(), 24);
}

TEST_F(NavigatorLayout, AHandWrittenDescriptionGivesItsButtons) {
  RegisterClass(TNavForm::StaticClass());
  const char* Text =
      "object frmZone: TNavForm\r\n"
      "  object dsZone: TqvDataSource\r\n"
      "  end\r\n"
      "  object DBNavigator: TqvDBNavigator\r\n"
      "    Left = 4\r\n"
      "    Top = 4\r\n"
      "    Width = 100\r\n"
      "    Height = 25\r\n"
      "    DataSource = dsZone\r\n"
      "    AutosizeStyle = asSizeNavButtons\r\n"
      "    object DBNavigatorNext: TqvNavButton\r\n"
      "      Style = nbsNext\r\n"
      "      Hint = 'Aller à l''enregistrement suivant'\r\n"
      "    end\r\n"
      "    object DBNavigatorPlus: TqvNavButton\r\n"
      "      Style = nbsCustom\r\n"
      "      Caption = '+'\r\n"
      "      ShowText = True\r\n"
      "      OnClick = DBNavigatorPlusClick\r\n"
      "    end\r\n"
      "  end\r\n"
      "end\r\n"_a;
  TFormPtr<TNavForm> Read(CreateForm<TNavForm>(nullptr));
  ReadComponentFromText(Read.get(), Text, "frmZone");
  static_cast<TDataSource*>(Read->FindComponent("dsZone"))->SetDataSet(DataSet.get());
  TqvDBNavigator* Nav = Read->DBNavigator;
  ASSERT_EQ(Nav->Buttons()->Count(), 2);
  TqvNavButton* Next = Nav->Buttons()->Buttons(0);
  EXPECT_EQ(Next->Hint, "Aller à l'enregistrement suivant"_a);
  EXPECT_EQ(Next->PaintImageIndex(), 2 * nbsNext);
  EXPECT_TRUE(Next->Enabled());
  // Sized to the bar: two buttons of 50.
  EXPECT_EQ(Nav->Buttons()->Buttons(1)->BoundsRect(), ::Bounds(50, 0, 50, 25));
  Read->SetBounds(100, 100, 300, 120);
  Read->Show();
  Activate(Read.get());
  ClickControl(Next);
  EXPECT_EQ(Code(), 2);
  ClickControl(Nav->Buttons()->Buttons(1));
  EXPECT_EQ(Read->Plus, 1);
}

}  // namespace
