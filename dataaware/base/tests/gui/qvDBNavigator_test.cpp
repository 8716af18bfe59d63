// Tests of the navigator on a shown form, with real clicks: the default buttons of the first
// paint, the enable rule of each style as the dataset moves and edits, custom buttons with and
// without a data source, the delete question, bookmarks, held buttons, hints, the dialog buttons,
// the accelerator of a caption, the glyphs drawn, and the errors of the button list.
#include "NavTestSupport.h"

#include <algorithm>
#include <string>

#include "Qvintl.h"
#include "Qvlocate.h"
#include "Timer.h"

namespace {

const TqvNavButtonStyle DefaultOrder[] = {nbsFirst,   nbsPriorPage, nbsPrior,  nbsNext,        nbsNextPage,
                                          nbsLast,    nbsInsert,    nbsDelete, nbsEdit,        nbsPost,
                                          nbsCancel,  nbsRefresh,   nbsSaveBookmark, nbsRestoreBookmark};

class NavigatorTest : public DataFormTest {
 protected:
  void SetUp() override {
    DataFormTest::SetUp();
    qvFreeGlobalIntl();
    Nav = new TqvDBNavigator(Form.get());
    Nav->SetName("Nav");
    Nav->SetParent(Form.get());
    Nav->SetBounds(8, 8, 600, 25);
  }
  void TearDown() override {
    DataFormTest::TearDown();
    qvFreeGlobalIntl();
  }
  // A button of each style (all 18, then a custom one), in style order.
  void AddEveryStyle() {
    for (int Style = nbsFirst; Style <= nbsCustom; ++Style) Nav->Buttons()->AddButton(TqvNavButtonStyle(Style));
  }
  TqvNavButton* ButtonOf(TqvNavButtonStyle Style) {
    for (int i = 0; i < Nav->Buttons()->Count(); ++i)
      if (Nav->Buttons()->Buttons(i)->Style() == Style) return Nav->Buttons()->Buttons(i);
    return nullptr;
  }
  void Clicked(TObject* Sender) { Clicks.push_back(static_cast<TComponent*>(Sender)->Name()); }
  // An OnClick that notes the name of the button clicked.
  TNotifyEvent ClickLog() { return TNotifyEvent(this, &NavigatorTest::Clicked); }

  TqvDBNavigator* Nav = nullptr;
  std::vector<String> Clicks;
};

TEST_F(NavigatorTest, TheFirstPaintMakesTheFourteenDefaultButtonsAndSizesTheBar) {
  Nav->SetWidth(1);
  EXPECT_EQ(Nav->Buttons()->Count(), 0);
  ShowForm();
  ASSERT_TRUE(WaitFor("the default buttons", [&] { return Nav->Buttons()->Count() == 14; }));
  for (int i = 0; i < 14; ++i) {
    SCOPED_TRACE(i);
    TqvNavButton* Button = Nav->Buttons()->Buttons(i);
    EXPECT_EQ(Button->Style(), DefaultOrder[i]);
    EXPECT_EQ(Button->Owner(), Form.get());
    EXPECT_EQ(Button->Left(), 25 * i);
    EXPECT_EQ(Button->Top(), 0);
    EXPECT_TRUE(Button->Flat());
  }
  // The bar was never sized (Width 1): it takes the buttons' row.
  EXPECT_EQ(Nav->Width(), 14 * 25);
  EXPECT_EQ(Nav->Height(), 25);
}

// The state of every styled button for a state of the dataset: "1" enabled, "0" disabled, in
// style order nbsFirst .. nbsSearchDialog.
struct TRuleCase {
  const char* State;
  const char* Expected;
};
const TRuleCase RuleCases[] = {
    //                 First..Last Ins Del Edit Post Canc Refr PPg NPg Save Rest Dialogs
    {"closed", /*   */ "0000" "0" "0" "0" "0" "0" "0" "0" "0" "0" "0" "0000"},
    {"empty", /*    */ "0000" "1" "0" "1" "0" "0" "1" "0" "0" "1" "0" "1111"},
    {"first", /*    */ "0011" "1" "1" "1" "0" "0" "1" "0" "1" "1" "0" "1111"},
    {"middle", /*   */ "1111" "1" "1" "1" "0" "0" "1" "1" "1" "1" "0" "1111"},
    {"last", /*     */ "1100" "1" "1" "1" "0" "0" "1" "1" "0" "1" "0" "1111"},
    {"editing", /*  */ "1111" "1" "1" "0" "1" "1" "1" "1" "1" "1" "0" "1111"},
    {"read-only", /**/ "1111" "0" "0" "0" "0" "0" "0" "1" "1" "1" "0" "1111"},
    {"disabled", /* */ "0000" "0" "0" "0" "0" "0" "0" "0" "0" "0" "0" "0000"},
};

TEST_F(NavigatorTest, EachStyleIsEnabledByItsRule) {
  Nav->SetDataSource(Source);
  AddEveryStyle();
  TqvNavButton* Custom = ButtonOf(nbsCustom);
  ShowForm();
  for (const TRuleCase& Case : RuleCases) {
    SCOPED_TRACE(Case.State);
    String State = Case.State;
    DataSet->Close();
    DataSet->ReadOnlyTable = State == "read-only";
    std::vector<TVectorDataSet::TRow> Saved = DataSet->Rows;
    if (State == "empty") DataSet->Rows.clear();
    Custom->SetEnabled(true);
    Nav->SetEnabled(State != "disabled");
    if (State != "closed") DataSet->Open();
    if (State == "middle" || State == "editing" || State == "read-only") DataSet->MoveBy(5);
    if (State == "last") DataSet->Last();
    if (State == "editing") DataSet->Edit();
    for (int Style = nbsFirst; Style <= nbsSearchDialog; ++Style) {
      SCOPED_TRACE(qvNavStyleName(TqvNavButtonStyle(Style)));
      EXPECT_EQ(ButtonOf(TqvNavButtonStyle(Style))->Enabled(), Case.Expected[Style] == '1');
    }
    // The program's own button is never changed by the navigator's rule.
    EXPECT_EQ(Custom->Enabled(), State != "disabled");
    if (State == "editing") DataSet->Cancel();
    if (State == "empty") {
      DataSet->Close();
      DataSet->Rows = Saved;
    }
  }
}

TEST_F(NavigatorTest, AnUpdateStateHandlerOverridesTheRule) {
  // The program's rule: no moving on past record 5.
  struct THandler : TObject {
    TVectorDataSet* Data = nullptr;
    int Calls = 0;
    void UpdateState(TqvDBNavigator*, TqvNavButton* Button, TqvUpdateCause) {
      ++Calls;
      if (Button->Style() == nbsNext && Data->FieldByName("CODE")->AsInteger() == 5) Button->SetEnabled(false);
    }
  } Handler;
  Handler.Data = DataSet.get();
  Nav->SetDataSource(Source);
  AddEveryStyle();
  TqvNavButton* Next = ButtonOf(nbsNext);
  Next->OnUpdateState = TqvUpdateStateEvent(&Handler, &THandler::UpdateState);
  DataSet->MoveBy(4);
  EXPECT_GT(Handler.Calls, 0);
  EXPECT_FALSE(Next->Enabled());
  EXPECT_TRUE(ButtonOf(nbsLast)->Enabled());
  // Elsewhere the handler leaves the button alone, and the rule decides.
  DataSet->Next();
  EXPECT_TRUE(Next->Enabled());
  // A handler that fails leaves the button as it was: enabled, even at the end.
  struct TFailing : TObject {
    void UpdateState(TqvDBNavigator*, TqvNavButton*, TqvUpdateCause) { throw EInvalidOperation("refus"); }
  } Failing;
  Next->OnUpdateState = TqvUpdateStateEvent(&Failing, &TFailing::UpdateState);
  DataSet->Last();
  EXPECT_TRUE(Next->Enabled());
  EXPECT_FALSE(ButtonOf(nbsLast)->Enabled());
}

TEST_F(NavigatorTest, ButtonsMoveAndEditTheDataSet) {
  Nav->SetDataSource(Source);
  AddEveryStyle();
  ShowForm();
  Nav->SetMoveBy(7);
  struct TStep {
    TqvNavButtonStyle Style;
    int Code;
  };
  const TStep Steps[] = {{nbsLast, 25}, {nbsPriorPage, 18}, {nbsPrior, 17}, {nbsFirst, 1}, {nbsNextPage, 8}, {nbsNext, 9}};
  for (const TStep& Step : Steps) {
    SCOPED_TRACE(qvNavStyleName(Step.Style));
    ClickControl(ButtonOf(Step.Style));
    EXPECT_EQ(Code(), Step.Code);
  }
  ClickControl(ButtonOf(nbsEdit));
  EXPECT_EQ(DataSet->State(), dsEdit);
  DataSet->FieldByName("LIB")->SetAsString("Changée"_a);
  ClickControl(ButtonOf(nbsPost));
  EXPECT_EQ(DataSet->State(), dsBrowse);
  EXPECT_EQ(DataSet->FieldByName("LIB")->AsString(), "Changée"_a);
  ClickControl(ButtonOf(nbsInsert));
  EXPECT_EQ(DataSet->State(), dsInsert);
  ClickControl(ButtonOf(nbsCancel));
  EXPECT_EQ(DataSet->State(), dsBrowse);
  EXPECT_EQ(DataSet->RecordCount(), 25);
}

TEST_F(NavigatorTest, DeleteAsksFirstOnlyWithConfirmDelete) {
  qvIntl->Navigator()->ConfirmDeleteMessage = "Supprimer l'enregistrement ?";
  Nav->SetDataSource(Source);
  AddEveryStyle();
  ShowForm();
  TqvNavButton* Delete = ButtonOf(nbsDelete);
  DataSet->MoveBy(2);
  // Cancel: the record stays.
  Script.Push(mrCancel);
  ClickControl(Delete);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Supprimer l'enregistrement ?");
  EXPECT_EQ(Script.Asked[0].DlgType, mtConfirmation);
  EXPECT_EQ(Script.Asked[0].Buttons, mbOKCancel);
  EXPECT_EQ(DataSet->RecordCount(), 25);
  EXPECT_EQ(Code(), 3);
  // OK: it goes.
  Script.Push(mrOk);
  ClickControl(Delete);
  EXPECT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(DataSet->RecordCount(), 24);
  EXPECT_EQ(Code(), 4);
  // Without the option, at once.
  Nav->SetOptions({});
  ClickControl(Delete);
  EXPECT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(DataSet->RecordCount(), 23);
}

TEST_F(NavigatorTest, BookmarksAreSavedRestoredAndForgotten) {
  Nav->SetDataSource(Source);
  AddEveryStyle();
  ShowForm();
  TqvNavButton* Save = ButtonOf(nbsSaveBookmark);
  TqvNavButton* Restore = ButtonOf(nbsRestoreBookmark);
  EXPECT_FALSE(Restore->Enabled());
  DataSet->MoveBy(4);
  ClickControl(Save);
  EXPECT_TRUE(Restore->Enabled());
  DataSet->MoveBy(10);
  ClickControl(Restore);
  EXPECT_EQ(Code(), 5);
  // Saved again elsewhere: the one bookmark of the dataset moves.
  DataSet->Last();
  ClickControl(Save);
  DataSet->First();
  ClickControl(Restore);
  EXPECT_EQ(Code(), 25);
  // The record goes: the dataset no longer accepts the bookmark, and the button says so.
  DataSet->Delete();
  EXPECT_FALSE(Restore->Enabled());
  // Closed and opened again: the bookmark is gone for good.
  ClickControl(Save);
  EXPECT_TRUE(Restore->Enabled());
  DataSet->Close();
  DataSet->Open();
  EXPECT_FALSE(Restore->Enabled());
  EXPECT_TRUE(Nav->SaveOrFindBookmark(DataSet.get(), false).empty());
}

TEST_F(NavigatorTest, ABookmarkOfAFreedDataSetIsForgotten) {
  Nav->SetDataSource(Source);
  AddEveryStyle();
  DataSet->MoveBy(3);
  Nav->SaveOrFindBookmark(DataSet.get(), true);
  EXPECT_TRUE(ButtonOf(nbsRestoreBookmark)->Enabled());
  auto* Other = new TVectorDataSet({{"N", ftInteger}});
  Other->AddRow({Variant(1)});
  Other->Open();
  EXPECT_FALSE(Nav->SaveOrFindBookmark(Other, true).empty());
  delete Other;
  EXPECT_TRUE(Nav->SaveOrFindBookmark(Other, false).empty());
  EXPECT_FALSE(Nav->SaveOrFindBookmark(DataSet.get(), false).empty());
}

TEST_F(NavigatorTest, CustomButtonsWorkWithoutADataSource) {
  TqvNavButton* Plus = Nav->Buttons()->AddButton(nbsCustom);
  Plus->SetName("Plus");
  Plus->SetCaption("+");
  Plus->SetShowText(true);
  Plus->OnClick = ClickLog();
  TqvNavButton* First = Nav->Buttons()->AddButton(nbsFirst);
  ShowForm();
  EXPECT_TRUE(Plus->Enabled());
  EXPECT_FALSE(First->Enabled());
  ClickControl(Plus);
  EXPECT_EQ(Clicks, std::vector<String>{"Plus"});
  // A standard button still needs its dataset: the click says so through the error display.
  First->SetEnabled(true);
  Script.Push(IDOK);
  ClickControl(First);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Error, DataSource not assigned.");
  // A data source without a dataset is named in the message.
  auto* Empty = new TDataSource(Form.get());
  Empty->SetName("dsVide");
  Nav->SetDataSource(Empty);
  First->SetEnabled(true);
  EXPECT_THROW(Nav->GetDataSet(true), EInvalidOperation);
  try {
    Nav->GetDataSet(true);
  } catch (EInvalidOperation& E) {
    EXPECT_EQ(E.Message, "Le champ 'dsVide'  n'a pas d'ensemble de données"_a);
  }
  EXPECT_EQ(Nav->GetDataSet(false), nullptr);
}

TEST_F(NavigatorTest, AHeldButtonRepeatsAfterTheDelayAndOnceMoreOnRelease) {
  // Each click, and whether the left button was still down when it came.
  struct TLog : TObject {
    DWORD Start = 0;
    std::vector<std::pair<DWORD, bool>> Clicks;
    void Click(TObject*) { Clicks.emplace_back(GetTickCount() - Start, GetKeyState(VK_LBUTTON) < 0); }
  } Log;
  Nav->SetDataSource(Source);
  AddEveryStyle();
  ShowForm();
  TqvNavButton* Next = ButtonOf(nbsNext);
  Next->OnClick = TNotifyEvent(&Log, &TLog::Click);
  MoveMouseTo(CentreOf(Next));
  AwaitNoDoubleClick(CentreOf(Next));
  Log.Start = GetTickCount();
  MouseButton(true);
  PumpFor(350);  // nothing repeats within the initial delay, counted from the press
  EXPECT_TRUE(Log.Clicks.empty() || Log.Clicks[0].first >= 450u) << "no move before the initial delay";
  EXPECT_EQ(Code(), 1);
  ASSERT_TRUE(WaitFor("four repeats", [&] { return Log.Clicks.size() >= 4; }));
  ReleaseButton();
  ASSERT_TRUE(WaitFor("the timer to go", [&] { return Next->RepeatTimer() == nullptr; }));
  PumpFor(300);  // no repeat comes after the release, counted from the timer's end
  std::size_t Count = Log.Clicks.size();
  EXPECT_EQ(Code(), 1 + int(Count));
  EXPECT_GE(Log.Clicks[0].first, 450u) << "the first repeat waits for the initial delay";
  EXPECT_GE(Log.Clicks[3].first - Log.Clicks[0].first, 250u) << "then one about every 100 ms";
  EXPECT_LT(Log.Clicks[3].first - Log.Clicks[0].first, 1500u);
  // Every click but the last came while the button was held; the last is the release's.
  for (std::size_t i = 0; i + 1 < Count; ++i) EXPECT_TRUE(Log.Clicks[i].second) << i;
  EXPECT_FALSE(Log.Clicks.back().second);
  // A button that does not repeat makes no timer.
  AwaitNoDoubleClick(CentreOf(ButtonOf(nbsRefresh)));
  MoveMouseTo(CentreOf(ButtonOf(nbsRefresh)));
  MouseButton(true);
  PumpPending();
  EXPECT_EQ(ButtonOf(nbsRefresh)->RepeatTimer(), nullptr);
  ReleaseButton();
}

TEST_F(NavigatorTest, HintsComeFromTheLibraryTextsWithThePageDistance) {
  qvIntl->Navigator()->Hints()->PriorPageHint = "Aller à %d enregistrements précédents"_a;
  qvIntl->Navigator()->Hints()->NextPageHint = "Avancer de 100 % ou %s"_a;
  qvIntl->Navigator()->Hints()->FirstHint = "Aller au premier enregistrement";
  AddEveryStyle();
  EXPECT_EQ(ButtonOf(nbsFirst)->Hint, "Aller au premier enregistrement");
  EXPECT_EQ(ButtonOf(nbsPriorPage)->Hint, "Aller à 10 enregistrements précédents"_a);
  // A hint with anything but one "%d" is shown as it stands.
  EXPECT_EQ(ButtonOf(nbsNextPage)->Hint, "Avancer de 100 % ou %s"_a);
  // Formatted once: a new distance does not change it.
  Nav->SetMoveBy(20);
  EXPECT_EQ(ButtonOf(nbsPriorPage)->Hint, "Aller à 10 enregistrements précédents"_a);
  // A button's own hint stands, unless the bar asks for the library's texts.
  TqvNavButton* Own = Nav->Buttons()->AddButton(nbsPrior);
  Own->Hint = "Précédent"_a;
  Own->SetStyle(nbsPrior);
  EXPECT_EQ(Own->Hint, "Précédent"_a);
  Nav->SetOptions({noUseInternationalText});
  EXPECT_EQ(Own->GetHintText(), qvIntl->Navigator()->Hints()->PriorHint);
  EXPECT_EQ(qvFormatPageHint("%d%% de %d", 3), "%d%% de %d");
  EXPECT_EQ(qvFormatPageHint("%d%% des lignes", 3), "3% des lignes");
}

TEST_F(NavigatorTest, TheLocateButtonShowsItsDialogOnTheDataSet) {
  Nav->SetDataSource(Source);
  TqvNavButton* Locate = Nav->Buttons()->AddButton(nbsLocateDialog);
  ShowForm();
  EXPECT_TRUE(Locate->Enabled());
  TCustomForm* Shown = nullptr;
  String ShownClass;
  // The click opens a modal window: the work that closes it runs inside its loop.
  Later([&] {
    ASSERT_TRUE(WaitFor("the locate window", [&] {
      auto* Shows = dynamic_cast<TqvLocateDialog*>(Locate->Dialog());
      return Shows && Shows->Form() && Screen->ActiveForm() == Shows->Form();
    }));
    Shown = Screen->ActiveForm();
    ShownClass = Shown->ClassName();
    PressKey(VK_ESCAPE);
    EndModalIfStillOpen(Shown);
  });
  Locate->Click();
  // The window lived for the click only.
  EXPECT_EQ(ShownClass, "TqvLocateDlg");
  auto* Dialog = dynamic_cast<TqvLocateDialog*>(Locate->Dialog());
  ASSERT_NE(Dialog, nullptr);
  EXPECT_EQ(Dialog->Owner(), Nav);
  EXPECT_EQ(Dialog->DataSource(), Source);
  EXPECT_EQ(TqvNavButton::ClassOfStyle(nbsLocateDialog), TqvLocateDialog::StaticClass());
  // Another locate button of the bar finds the same dialog among the navigator's components.
  TqvNavButton* Again = Nav->Buttons()->AddButton(nbsLocateDialog);
  EXPECT_EQ(Again->FindDialog(DataSet.get()), Dialog);
  // A dialog freed goes from its buttons.
  delete Dialog;
  EXPECT_EQ(Locate->Dialog(), nullptr);
  EXPECT_EQ(Again->Dialog(), nullptr);
  // A dialog given to a button gives it its style.
  auto* Given = new TqvLocateDialog(Form.get());
  TqvNavButton* Styled = Nav->Buttons()->AddButton(nbsFirst);
  Styled->SetDialog(Given);
  EXPECT_EQ(Styled->Style(), nbsLocateDialog);
  // A dialog without an open dataset disables the button.
  EXPECT_FALSE(Styled->Enabled());
}

TEST_F(NavigatorTest, TheAcceleratorOfACaptionClicksItsButton) {
  TqvNavButton* Add = Nav->Buttons()->AddButton(nbsCustom);
  Add->SetName("Ajout");
  Add->SetCaption("&A");
  Add->SetShowText(true);
  Add->OnClick = ClickLog();
  TqvNavButton* Hidden = Nav->Buttons()->AddButton(nbsCustom);
  Hidden->SetName("Cache");
  Hidden->SetCaption("&B");
  Hidden->SetVisible(false);
  Hidden->OnClick = ClickLog();
  ShowForm();
  PressCombo(VK_MENU, 'A');
  PressCombo(VK_MENU, 'B');
  EXPECT_EQ(Clicks, std::vector<String>{"Ajout"});
}

TEST_F(NavigatorTest, StandardButtonsDrawTheirGlyphsAndADisabledOneItsDisabledGlyph) {
  Nav->SetDataSource(Source);
  TqvNavButton* First = Nav->Buttons()->AddButton(nbsFirst);
  TqvNavButton* Last = Nav->Buttons()->AddButton(nbsLast);
  TqvNavButton* Custom = Nav->Buttons()->AddButton(nbsCustom);
  Custom->SetNumGlyphs(2);
  ShowForm();
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_FALSE(First->Enabled());
  EXPECT_TRUE(Last->Enabled());
  EXPECT_EQ(First->PaintImageIndex(), 2 * nbsFirst + 1);
  EXPECT_EQ(Last->PaintImageIndex(), 2 * nbsLast);
  // Each shows its image of the glyph list, centred one pixel low, over the bar's face.
  for (TqvNavButton* Button : {First, Last}) {
    SCOPED_TRACE(qvNavStyleName(Button->Style()));
    TBitmap Expected;
    Expected.SetPixelFormat(pf24bit);
    Expected.SetSize(18, 18);
    Expected.Canvas()->Brush()->SetColor(Nav->Color());
    Expected.Canvas()->FillRect(Rect(0, 0, 18, 18));
    qvNavImageList()->Draw(Expected.Canvas(), 0, 0, Button->PaintImageIndex(), true);
    TPixelArea Want = CapturePicture(Expected.Canvas()->Handle(), Rect(0, 0, 18, 18));
    int X = Nav->Left() + Button->Left() + 3, Y = Nav->Top() + Button->Top() + 4;
    TPixelArea Seen = CaptureArea(Form.get(), Bounds(X, Y, 18, 18));
    EXPECT_EQ(Seen.Pixels, Want.Pixels);
  }
  // No image of its own, however many images it would have: a disabled custom button shows none.
  Custom->SetEnabled(false);
  EXPECT_EQ(Custom->PaintImageIndex(), -1);
  Form->Repaint();
  TPixelArea Face = CaptureArea(Form.get(), Bounds(Nav->Left() + Custom->Left() + 2, Nav->Top() + 2, 21, 21));
  EXPECT_EQ(std::count(Face.Pixels.begin(), Face.Pixels.end(), PixelValue(Nav->Color())), long(Face.Pixels.size()));
}

TEST_F(NavigatorTest, TheButtonListRefusesWhatIsNotItsOwn) {
  AddEveryStyle();
  // Only navigator buttons go into a navigator.
  auto* Panel = new TTestPanel(Form.get());
  try {
    Panel->SetParent(Nav);
    ADD_FAILURE() << "a panel went into the navigator";
  } catch (EInvalidOperation& E) {
    EXPECT_EQ(E.Message, "TqvDBNavigator only accepts controls derived from TqvNavButton");
  }
  EXPECT_EQ(Panel->Parent(), nullptr);
  // A navigator button goes nowhere else.
  Panel->SetParent(Form.get());
  TqvNavButton* Button = ButtonOf(nbsNext);
  Script.Push(mrOk);
  EXPECT_THROW(Button->SetParent(Panel), EAbort);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Parent of TqvNavButton must be TqvDBNavigator");
  EXPECT_EQ(Button->Parent(), Nav);
  // Indexes out of range.
  EXPECT_THROW(Nav->Buttons()->GetButton(19), EInvalidOperation);
  ButtonOf(nbsCustom)->SetVisible(false);
  EXPECT_THROW(Nav->Buttons()->GetVisibleButton(18), EInvalidOperation);
  EXPECT_EQ(Nav->Buttons()->GetVisibleButton(17)->Style(), nbsSearchDialog);
  // A button in no list has no index, and asks for its list through the error display.
  TqvNavButton Loose(nullptr);
  EXPECT_THROW(Loose.GetIndex(), EInvalidOperation);
  Script.Push(IDOK);
  EXPECT_THROW(Loose.GetButtons(), EAbort);
  ASSERT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(Script.Asked[1].Text, "Parent propety of TqvNavButton not defined.");
}

TEST_F(NavigatorTest, RenamingTheBarRenamesItsButtons) {
  TqvNavButton* Button = Nav->Buttons()->AddButton(nbsFirst);
  Button->SetName("NavFirst");
  TqvNavButton* Other = Nav->Buttons()->AddButton(nbsLast);
  Other->SetName("Dernier");
  Nav->SetName("DBNavigator");
  EXPECT_EQ(Button->Name(), "DBNavigatorFirst");
  EXPECT_EQ(Other->Name(), "Dernier");
}

TEST_F(NavigatorTest, ButtonsMadeWhileDesigningAreNamedAfterTheBar) {
  Nav->SetDesigning(true, false);
  TqvNavButton* First = Nav->Buttons()->AddButton(nbsFirst);
  TqvNavButton* Second = Nav->Buttons()->AddButton(nbsFirst);
  TqvNavButton* Custom = Nav->Buttons()->AddButton(nbsCustom);
  Nav->SetDesigning(false, false);
  EXPECT_EQ(First->Name(), "NavFirst");
  EXPECT_EQ(Second->Name(), "NavFirst1");
  EXPECT_EQ(Custom->Name(), "NavButton");
  // At run time a button keeps the name it has, or none.
  TqvNavButton* Later = Nav->Buttons()->AddButton(nbsLast);
  EXPECT_EQ(Later->Name(), "");
}

// Three bars as the program shows them, saved for a reader in the build folder: every style raised
// on a dataset in the middle of its records, every style flat on a closed dataset (the disabled
// glyphs), and a dictionary window's bar with its "+" button sized to the bar.
TEST_F(NavigatorTest, EveryStyleShowsItsGlyph) {
  Form->SetBounds(20, 20, 640, 200);
  Nav->SetBounds(8, 8, 600, 25);
  Nav->SetFlat(false);
  Nav->SetDataSource(Source);
  AddEveryStyle();
  TqvNavButton* Minus = Nav->Buttons()->AddButton(nbsCustom);
  for (TqvNavButton* Custom : {ButtonOf(nbsCustom), Minus}) {
    Custom->SetCaption(Custom == Minus ? "-" : "+");
    Custom->SetShowText(true);
    Custom->Font()->SetStyle({fsBold});
    Custom->Font()->SetHeight(-16);
  }
  DataSet->MoveBy(5);
  auto* ClosedData = new TDataSource(Form.get());
  auto* Flat = new TqvDBNavigator(Form.get());
  Flat->SetParent(Form.get());
  Flat->SetBounds(8, 48, 600, 25);
  Flat->SetDataSource(ClosedData);
  for (int Style = nbsFirst; Style < nbsCustom; ++Style) Flat->Buttons()->AddButton(TqvNavButtonStyle(Style));
  auto* Dictionary = new TqvDBNavigator(Form.get());
  Dictionary->SetParent(Form.get());
  Dictionary->SetBounds(8, 88, 360, 30);
  Dictionary->SetAutosizeStyle(asSizeNavButtons);
  Dictionary->SetFlat(false);
  Dictionary->SetDataSource(Source);
  for (TqvNavButtonStyle Style : {nbsFirst, nbsPriorPage, nbsPrior, nbsNext, nbsNextPage, nbsLast, nbsCustom, nbsDelete,
                                  nbsPost}) {
    TqvNavButton* Button = Dictionary->Buttons()->AddButton(Style);
    if (Style == nbsCustom) {
      Button->SetCaption("+");
      Button->SetShowText(true);
      Button->Font()->SetStyle({fsBold});
      Button->Font()->SetHeight(-24);
    }
  }
  ShowForm();
  ASSERT_TRUE(Painted(Form.get()));
  TPixelArea Shot = CaptureArea(Form.get(), Form->ClientRect());
  EXPECT_TRUE(WritePng(Shot, std::string(VELBOR_BUILD_DIR) + "/navigator-styles.png"));
  // Each glyph shows on its face, and each disabled glyph in the grey of its emboss.
  auto Drawn = [](const TPixelArea& Area) {
    return std::count_if(Area.Pixels.begin(), Area.Pixels.end(), [&](unsigned P) { return P != Area.At(0, 0); });
  };
  for (int Style = nbsFirst; Style < nbsCustom; ++Style) {
    SCOPED_TRACE(qvNavStyleName(TqvNavButtonStyle(Style)));
    TqvNavButton* Raised = ButtonOf(TqvNavButtonStyle(Style));
    TPixelArea Glyph = CaptureArea(Form.get(), Bounds(Nav->Left() + Raised->Left() + 3, Nav->Top() + 4, 18, 18));
    EXPECT_GT(Drawn(Glyph), 8);
    TqvNavButton* Disabled = Flat->Buttons()->Buttons(Style);
    EXPECT_FALSE(Disabled->Enabled());
    TPixelArea Grey = CaptureArea(Form.get(), Bounds(Flat->Left() + Disabled->Left() + 3, Flat->Top() + 4, 18, 18));
    EXPECT_GT(std::count(Grey.Pixels.begin(), Grey.Pixels.end(), 0x808080u), 8);
  }
  EXPECT_EQ(Dictionary->Buttons()->Buttons(0)->Width(), 40);
}

}  // namespace
