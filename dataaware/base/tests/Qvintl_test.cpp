// Tests of the strings-and-options component: defaults, the copy into the global instance (by
// Connected, by loading, and what is not copied), the settings file name, the grid styles, the
// mask error and its handler (also after the handler's window is freed), the controller's list,
// and the small shared types.
#include <gtest/gtest.h>

#include <memory>

#include "Filer.h"
#include "Qvdatsrc.h"
#include "Qvintl.h"
#include "Qvtypes.h"
#include "qvDialog.h"
#include "qvPropAccess.h"

namespace {

// Each test starts from a fresh global instance.
class IntlTest : public ::testing::Test {
 protected:
  void SetUp() override { qvFreeGlobalIntl(); }
  void TearDown() override { qvFreeGlobalIntl(); }
};

TEST_F(IntlTest, DefaultsOfOptionsAndOfEachTextGroup) {
  TqvIntl Intl(nullptr);
  EXPECT_TRUE(Intl.OKCancelBitmapped);
  EXPECT_TRUE(Intl.DialogFontStyle.Empty());
  EXPECT_FALSE(Intl.Connected());
  EXPECT_TRUE(Intl.CancelRangeByReopen);
  EXPECT_TRUE(Intl.UseLocateMethodForSearch);
  EXPECT_EQ(Intl.DefaultEpochYear, 1950);
  EXPECT_EQ(Intl.FilterMemoSize, 65536);
  EXPECT_EQ(Intl.CheckBoxInGridStyle(), cbStyleAuto);
  EXPECT_EQ(Intl.GridPaintStyle(), gpsDynamicDeviceContext);
  EXPECT_TRUE(Intl.ADO()->UseLocateWhenFindingValue);
  EXPECT_FALSE(Intl.OnValidationErrorUsingMask().Assigned());
  // Texts read by published path, as the controls and form descriptions reach them.
  struct {
    const char* Path;
    const char* Text;
  } Texts[] = {
      {"BtnOKCaption", "&OK"},
      {"BtnCancelCaption", "Cancel"},
      {"VersionVerinta", "4000.0.4"},
      {"IniFileName", ""},
      {"Navigator.ConfirmDeleteMessage", "Delete record?"},
      {"Navigator.Hints.PriorPageHint", "Move backward %d records"},
      {"Navigator.Hints.SearchDialogHint", "Search the dataset"},
      {"UserMessages.PictureValidateError", "Invalid characters. Field : "},
      {"UserMessages.RecordViewExitWarning", "Changes have been made!  Do you wish to save your changes?"},
      {"LocateDialog.MatchAnyLabel", "Partial Match &Anywhere"},
      {"FilterDialog.MatchAnyLabel", "Partial Match Any&where"},
      {"FilterDialog.SummaryCaption", ""},
      {"SearchDialog.StatusRecLabel", "Rec #"},
      {"MonthCalendar.EnterYearPrompt", "Enter Valid Year"},
      {"RichEdit.UnderlineButtonHint", "Underline | Formats the selection with a continuous underline (toggle)"},
      {"RichEdit.CAPLockCaption", "CAP"},
      {"RichEdit.MenuLabels.SelectallCaption", "Select A&ll"},
      {"RichEdit.MenuLabels.RedoCaption", ""},
      {"RichEdit.PopupMenuLabels.ObjectPropertiesCaption", "Object P&roperties"},
      {"RichEdit.ParagraphDialog.WithinParagraphCaption", "Li&ne Spacing"},
      {"RichEdit.TabDialog.ClearAllButtonHint", "Clear all the tabs"},
  };
  for (const auto& T : Texts) EXPECT_EQ(GetStrProp(&Intl, T.Path), T.Text) << T.Path;
  EXPECT_EQ(GetOrdProp(&Intl, "RichEdit.ParagraphDialog.HelpContext"), 0);
}

TEST_F(IntlTest, VersionIgnoresAssignments) {
  TqvIntl Intl(nullptr);
  SetStrProp(&Intl, "VersionVerinta", "1.0");
  EXPECT_EQ(Intl.VersionVerinta(), "4000.0.4");
}

// A placed component with a changed value in every group and option.
void Frenchify(TqvIntl& Intl) {
  Intl.Navigator()->ConfirmDeleteMessage = "Supprimer l'enregistrement ?";
  Intl.Navigator()->Hints()->FirstHint = "Premier";
  Intl.UserMessages()->LocateNoMatches = "Aucune correspondance";
  Intl.LocateDialog()->BtnFirst = "Pre&mier";
  Intl.FilterDialog()->SummaryCaption = "Résumé"_a;
  Intl.SearchDialog()->StatusOfLabel = "sur";
  Intl.MonthCalendar()->PopupYearLabel = "Éditer l'année"_a;
  Intl.RichEdit()->CAPLockCaption = "MAJ";
  Intl.RichEdit()->MenuLabels()->FileCaption = "&Fichier";
  Intl.RichEdit()->PopupMenuLabels()->BoldCaption = "&Gras";
  Intl.RichEdit()->ParagraphDialog()->AlignLeft = "Gauche";
  Intl.RichEdit()->ParagraphDialog()->HelpContext = 12;
  Intl.RichEdit()->TabDialog()->TabDlgCaption = "Tabulation";
  Intl.RichEdit()->TabDialog()->HelpContext = 13;
  Intl.ADO()->UseLocateWhenFindingValue = false;
  Intl.OKCancelBitmapped = false;
  Intl.BtnOKCaption = "&Valider";
  Intl.BtnCancelCaption = "Annuler";
  Intl.DialogFontStyle = TFontStyles{fsBold};
  Intl.UseLocateMethodForSearch = false;
  Intl.CancelRangeByReopen = false;
  Intl.DefaultEpochYear = 1930;
  Intl.FilterMemoSize = 1024;
  Intl.SetCheckBoxInGridStyle(cbStyleXmark);
  Intl.SetGridPaintStyle(gpsBitmapCanvas);
}

TEST_F(IntlTest, ConnectingCopiesEveryGroupAndOption) {
  TqvIntl Placed(nullptr);
  Frenchify(Placed);
  TqvIntl* Global = qvIntl;
  EXPECT_EQ(Global->BtnCancelCaption, "Cancel");  // not connected: nothing global changes
  EXPECT_EQ(Global->CheckBoxInGridStyle(), cbStyleAuto);

  Placed.SetConnected(true);
  EXPECT_EQ(qvIntl.Get(), Global);
  EXPECT_EQ(Global->Navigator()->ConfirmDeleteMessage, "Supprimer l'enregistrement ?");
  EXPECT_EQ(Global->Navigator()->Hints()->FirstHint, "Premier");
  EXPECT_EQ(Global->UserMessages()->LocateNoMatches, "Aucune correspondance");
  EXPECT_EQ(Global->LocateDialog()->BtnFirst, "Pre&mier");
  EXPECT_EQ(Global->FilterDialog()->SummaryCaption, "Résumé"_a);
  EXPECT_EQ(Global->SearchDialog()->StatusOfLabel, "sur");
  EXPECT_EQ(Global->MonthCalendar()->PopupYearLabel, "Éditer l'année"_a);
  EXPECT_EQ(Global->RichEdit()->CAPLockCaption, "MAJ");
  EXPECT_EQ(Global->RichEdit()->MenuLabels()->FileCaption, "&Fichier");
  EXPECT_EQ(Global->RichEdit()->PopupMenuLabels()->BoldCaption, "&Gras");
  EXPECT_EQ(Global->RichEdit()->ParagraphDialog()->AlignLeft, "Gauche");
  EXPECT_EQ(Global->RichEdit()->ParagraphDialog()->HelpContext, 12);
  EXPECT_EQ(Global->RichEdit()->TabDialog()->TabDlgCaption, "Tabulation");
  EXPECT_EQ(Global->RichEdit()->TabDialog()->HelpContext, 13);
  EXPECT_FALSE(Global->ADO()->UseLocateWhenFindingValue);
  EXPECT_FALSE(Global->OKCancelBitmapped);
  EXPECT_EQ(Global->BtnOKCaption, "&Valider");
  EXPECT_EQ(Global->BtnCancelCaption, "Annuler");
  EXPECT_EQ(Global->DialogFontStyle, TFontStyles{fsBold});
  EXPECT_FALSE(Global->UseLocateMethodForSearch);
  EXPECT_FALSE(Global->CancelRangeByReopen);
  EXPECT_EQ(Global->DefaultEpochYear, 1930);
  EXPECT_EQ(Global->FilterMemoSize, 1024);
  EXPECT_EQ(qvFilterMemoSize(), 1024);
  EXPECT_EQ(Global->CheckBoxInGridStyle(), cbStyleXmark);
  EXPECT_EQ(Global->GridPaintStyle(), gpsBitmapCanvas);
  // Connected is not copied; the copy does not link the two groups.
  EXPECT_FALSE(Global->Connected());
  Placed.Navigator()->ConfirmDeleteMessage = "Effacer ?";
  EXPECT_EQ(Global->Navigator()->ConfirmDeleteMessage, "Supprimer l'enregistrement ?");
}

TEST_F(IntlTest, GridStylesFollowThroughOnlyWhileConnected) {
  TqvIntl Placed(nullptr);
  Placed.SetCheckBoxInGridStyle(cbStyleCheckmark);
  EXPECT_EQ(qvIntl->CheckBoxInGridStyle(), cbStyleAuto);
  Placed.SetConnected(true);
  Placed.SetCheckBoxInGridStyle(cbStyleCheckmarkFlat);
  Placed.SetGridPaintStyle(gpsBitmapCanvas);
  EXPECT_EQ(qvIntl->CheckBoxInGridStyle(), cbStyleCheckmarkFlat);
  EXPECT_EQ(qvIntl->GridPaintStyle(), gpsBitmapCanvas);
  // Other properties wait for the next copy.
  Placed.BtnOKCaption = "Oui";
  EXPECT_EQ(qvIntl->BtnOKCaption, "&OK");
  Placed.CopyToGlobal();
  EXPECT_EQ(qvIntl->BtnOKCaption, "Oui");
}

TEST_F(IntlTest, CopyOnTheGlobalInstanceDoesNothing) {
  qvIntl->BtnOKCaption = "Mine";
  qvIntl->IniFileName = "grid";
  qvIntl->CopyToGlobal();
  EXPECT_EQ(qvIntl->BtnOKCaption, "Mine");
  EXPECT_EQ(qvIntl->IniFileName, "grid");
}

TEST_F(IntlTest, SettingsFileNameReachesTheGlobalInstanceWithOneIni) {
  struct {
    String Placed;
    String Global;
  } Cases[] = {{"layouts", "layouts.ini"},
               {"c:\\velbor\\grilles.ini", "c:\\velbor\\grilles.ini"},
               {"GRILLES.INI", "GRILLES.INI"},
               {"grilles.ini.bak", "grilles.ini.bak.ini"},
               {".ini", ""},
               {"", ""}};
  for (const auto& C : Cases) {
    qvIntl->IniFileName = "previous";
    TqvIntl Placed(nullptr);
    Placed.IniFileName = C.Placed;
    Placed.CopyToGlobal();
    EXPECT_EQ(qvIntl->IniFileName, C.Global) << C.Placed;
  }
}

TEST_F(IntlTest, LoadingFromADescriptionCopiesOnceEverythingIsRead) {
  String Text =
      "object Intl: TqvIntl\r\n"
      "  Connected = True\r\n"
      "  BtnOKCaption = 'Valider'\r\n"
      "  Navigator.ConfirmDeleteMessage = 'Supprimer ?'\r\n"
      "  MonthCalendar.PopupYearLabel = '" +
      String("Éditer"_a) + "'\r\n"
      "end\r\n";
  std::unique_ptr<TComponent> Loaded(CreateComponentFromText(Text, "intl", nullptr));
  auto* Intl = dynamic_cast<TqvIntl*>(Loaded.get());
  ASSERT_NE(Intl, nullptr);
  EXPECT_NE(Intl, qvIntl.Get());
  EXPECT_EQ(qvIntl->BtnOKCaption, "Valider");
  EXPECT_EQ(qvIntl->Navigator()->ConfirmDeleteMessage, "Supprimer ?");
  EXPECT_EQ(qvIntl->MonthCalendar()->PopupYearLabel, "Éditer"_a);
}

class TMaskHandler : public TComponent {
 public:
  explicit TMaskHandler(TComponent* AOwner) : TComponent(AOwner) {}
  void Replace(TObject*, TField*, String& Msg, bool&) { Msg = "Saisie refusée"_a; ++Calls; }
  void Quiet(TObject*, TField*, String&, bool& DoDefault) { DoDefault = false; ++Calls; }
  int Calls = 0;
};

TEST_F(IntlTest, MaskErrorRaisesUnlessTheHandlerSaysOtherwise) {
  try {
    qvIntl->ValidationErrorUsingMask(nullptr, nullptr);
    FAIL() << "no error";
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message, "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications"_a);
  }
  TMaskHandler Handler(nullptr);
  qvIntl->SetOnValidationErrorUsingMask(TqvPictureValidationError(&Handler, &TMaskHandler::Replace));
  try {
    qvIntl->ValidationErrorUsingMask(nullptr, nullptr);
    FAIL() << "no error";
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message, "Saisie refusée"_a);
  }
  qvIntl->SetOnValidationErrorUsingMask(TqvPictureValidationError(&Handler, &TMaskHandler::Quiet));
  EXPECT_NO_THROW(qvIntl->ValidationErrorUsingMask(nullptr, nullptr));
  EXPECT_EQ(Handler.Calls, 2);
}

TEST_F(IntlTest, HandlerOfAFreedWindowIsForgotten) {
  // The record window owns the placed component and the handler is one of its methods.
  auto* Window = new TMaskHandler(nullptr);
  auto* Placed = new TqvIntl(Window);
  Placed->SetOnValidationErrorUsingMask(TqvPictureValidationError(Window, &TMaskHandler::Quiet));
  Placed->SetConnected(true);
  EXPECT_EQ(qvIntl->OnValidationErrorUsingMask().Object(), Window);
  delete Window;
  EXPECT_FALSE(qvIntl->OnValidationErrorUsingMask().Assigned());
  EXPECT_THROW(qvIntl->ValidationErrorUsingMask(nullptr, nullptr), EInvalidOperation);
}

TEST_F(IntlTest, GlobalInstanceIsClearedWhenFreed) {
  TComponent Owner(nullptr);
  TqvIntl* Global = qvCreateGlobalIntl(&Owner);
  EXPECT_EQ(Global->Owner(), &Owner);
  EXPECT_EQ(qvCreateGlobalIntl(nullptr), Global);
  Owner.DestroyComponents();
  EXPECT_FALSE(qvIntl.Exists());
  EXPECT_NE(qvIntl.Get(), nullptr);  // made again on use
  EXPECT_EQ(qvIntl->BtnOKCaption, "&OK");
}

TEST(Controller, FreedControlLeavesTheList) {
  TqvController Controller(nullptr);
  auto* A = new TComponent(nullptr);
  auto* B = new TComponent(nullptr);
  for (TComponent* C : {A, B, A}) {
    Controller.ControlList()->Add(C);
    C->FreeNotification(&Controller);
  }
  EXPECT_EQ(qvGetControlList(&Controller), Controller.ControlList());
  delete B;
  ASSERT_EQ(Controller.ControlList()->Count(), 2);
  // A listed twice: one occurrence goes.
  delete A;
  ASSERT_EQ(Controller.ControlList()->Count(), 1);
  EXPECT_EQ(Controller.ControlList()->Items(0), A);
}

// Stands for the edit controls' frame settings, which the controller makes by class name.
class TqvEditFrame : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvEditFrame, TPersistent)
 public:
  using TOwnerClass = TComponent;
  explicit TqvEditFrame(TComponent* AOwner) : Control(AOwner) {}
  TComponent* Control;
};
VELBOR_IMPLEMENT_CLASS(TqvEditFrame)

TEST(Controller, FrameIsMadeByClassNameWhenRegistered) {
  {
    TqvController Controller(nullptr);
    EXPECT_EQ(Controller.Frame(), nullptr);
    EXPECT_EQ(Controller.ButtonEffects(), nullptr);
  }
  RegisterClass(TqvEditFrame::StaticClass());
  {
    TqvController Controller(nullptr);
    auto* Frame = dynamic_cast<TqvEditFrame*>(Controller.Frame());
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->Control, &Controller);
  }
  UnRegisterClass(TqvEditFrame::StaticClass());
}

TEST(SharedTypes, RegisteredClassesPositionAndDialogBase) {
  TClass Source = GetClass("TqvDataSource");
  ASSERT_NE(Source, nullptr);
  EXPECT_TRUE(Source->InheritsFrom(TDataSource::StaticClass()));
  EXPECT_NE(GetClass("TqvIntl"), nullptr);
  EXPECT_NE(GetClass("TqvController"), nullptr);
  EXPECT_EQ(TqvCustomDialog::StaticClass()->Factory, nullptr);

  TqvFormPosition From, To;
  SetOrdProp(&From, "Left", 10);
  SetOrdProp(&From, "Top", 20);
  SetOrdProp(&From, "Width", 300);
  SetOrdProp(&From, "Height", 200);
  To.Assign(&From);
  EXPECT_EQ(To.Left, 10);
  EXPECT_EQ(To.Top, 20);
  EXPECT_EQ(To.Width, 300);
  EXPECT_EQ(To.Height, 200);
}

}  // namespace
