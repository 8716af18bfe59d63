// Tests of the modal-question entry: scripted answers, the record of what was asked, and the
// answer given to a question nobody scripted.
#include <gtest/gtest.h>

#include "Dialogs.h"
#include "Forms.h"

namespace {

TEST(ModalScript, AnswersInOrderAndRecordsTheQuestions) {
  TModalScript script;
  script.Push(mrYes);
  script.Push(1, "Dupont");
  script.Push(IDNO);
  EXPECT_EQ(MessageDlg("Continuer ?", mtConfirmation, mbYesNoCancel, 0), mrYes);
  String name = "initial";
  EXPECT_TRUE(InputQuery("Personnalisation", "Nom :", name));
  EXPECT_EQ(name, "Dupont");
  EXPECT_EQ(Application->MessageBox("Mot de passe incorrect !", "Erreur", MB_YESNO | MB_ICONERROR), IDNO);
  ASSERT_EQ(script.Asked.size(), 3u);
  EXPECT_EQ(script.Asked[0].Kind, TModalKind::MessageDlg);
  EXPECT_EQ(script.Asked[0].Caption, "Confirmation");
  EXPECT_EQ(script.Asked[0].Text, "Continuer ?");
  EXPECT_EQ(script.Asked[0].Buttons, mbYesNoCancel);
  EXPECT_EQ(script.Asked[0].Flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(script.Asked[1].Kind, TModalKind::InputQuery);
  EXPECT_EQ(script.Asked[1].Text, "Nom :");
  EXPECT_EQ(script.Asked[1].Value, "initial");
  EXPECT_EQ(script.Asked[2].Caption, "Erreur");
  EXPECT_EQ(script.Asked[2].Flags, unsigned(MB_YESNO | MB_ICONERROR));
  EXPECT_TRUE(script.Unexpected.empty());
  EXPECT_EQ(script.Pending(), 0u);
}

struct EscapeCase {
  TModalQuestion Question;
  int Expected;
};

TModalQuestion Box(unsigned Flags) {
  TModalQuestion q;
  q.Kind = TModalKind::MessageBox;
  q.Flags = Flags;
  return q;
}

TModalQuestion Dlg(TMsgDlgButtons Buttons) {
  TModalQuestion q;
  q.Kind = TModalKind::MessageDlg;
  q.Buttons = Buttons;
  return q;
}

TEST(ModalScript, UnscriptedQuestionsGetTheEscapeAnswer) {
  const EscapeCase cases[] = {
      {Box(MB_OK), IDOK},
      {Box(MB_OKCANCEL), IDCANCEL},
      {Box(MB_YESNO), IDNO},
      {Box(MB_YESNOCANCEL), IDCANCEL},
      {Box(MB_ABORTRETRYIGNORE), IDABORT},
      {Dlg({mbYes, mbNo}), mrNo},
      {Dlg(mbOKCancel), mrCancel},
      {Dlg({mbOK}), mrOk},
  };
  TModalScript script;
  for (const EscapeCase& c : cases) EXPECT_EQ(AskModal(c.Question).Result, c.Expected);
  EXPECT_EQ(script.Unexpected.size(), std::size(cases));
  // An input nobody answers keeps its value and reports a cancel.
  String value = "garde";
  EXPECT_FALSE(InputQuery("T", "P", value));
  EXPECT_EQ(value, "garde");
  EXPECT_EQ(InputBox("T", "P", "défaut"_a), "défaut"_a);
}

TEST(ModalScript, ScriptsNestAndRestoreThePreviousResponder) {
  TModalScript outer;
  {
    TModalScript inner;
    inner.Push(IDOK);
    ShowMessage("Terminé"_a);
    ASSERT_EQ(inner.Asked.size(), 1u);
    EXPECT_EQ(inner.Asked[0].Kind, TModalKind::ShowMessage);
    EXPECT_EQ(inner.Asked[0].Caption, Application->Title());
  }
  ShowMessage("Après"_a);
  ASSERT_EQ(outer.Asked.size(), 1u);
  EXPECT_EQ(outer.Asked[0].Text, "Après"_a);
}

TEST(ModalScript, MessageDlgCaptionsFollowTheType) {
  const std::pair<TMsgDlgType, const char*> cases[] = {
      {mtWarning, "Avertissement"}, {mtError, "Erreur"}, {mtInformation, "Information"}, {mtConfirmation, "Confirmation"}};
  TModalScript script;
  for (auto& c : cases) MessageDlg("m", c.first, {mbOK}, 0);
  ASSERT_EQ(script.Asked.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(script.Asked[i].Caption, cases[i].second);
}

}  // namespace
