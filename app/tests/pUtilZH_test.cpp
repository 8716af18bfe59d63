// Tests of the shared state: the settings file read into the operator's names, and the
// live-window test.
#include <gtest/gtest.h>

#include "AppTestSupport.h"

#include <optional>

#include "FileUtils.h"
#include "Forms.h"
#include "Streams.h"
#include "pUtilZH.h"

namespace {

// A form with no description of its own.
class TPlainForm : public TForm {
 public:
  explicit TPlainForm(TComponent* AOwner) : TForm(AOwner, true) {}
};

using AppTest::ReadFileText;
using AppTest::WriteFileText;

// The workstation's settings file is set aside for each case and put back after it.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ForceDirectories(kDossierParametres);
    if (FileExists(kFichierParametres)) FSaved = ReadFileText(kFichierParametres);
    DeleteFile(kFichierParametres);
  }
  void TearDown() override {
    DeleteFile(kFichierParametres);
    if (FSaved) WriteFileText(kFichierParametres, *FSaved);
    NomUtilisateur.clear();
    Organisme.clear();
  }

 private:
  std::optional<String> FSaved;
};

struct TSettingsCase {
  const char* Name;
  const char* File;  // null: no file
  const char* Nom;
  const char* Organisme;
};

TEST_F(SettingsFileTest, TheOperatorIsReadFromTheParametersSection) {
  const TSettingsCase Cases[] = {
      {"both keys", "[parametres]\r\nnom=Lefèvre\r\norganisme=Conservatoire\r\n"_a, "Lefèvre"_a, "Conservatoire"},
      {"no organisation", "[parametres]\r\nnom=Dupont\r\n", "Dupont", ""},
      {"empty values", "[parametres]\r\nnom=\r\norganisme=\r\n", "", ""},
      {"another section", "[autre]\r\nnom=Dupont\r\n", "avant", "avant"},
      {"no file", nullptr, "avant", "avant"},
  };
  for (const TSettingsCase& Case : Cases) {
    DeleteFile(kFichierParametres);
    if (Case.File != nullptr) WriteFileText(kFichierParametres, Case.File);
    NomUtilisateur = "avant";
    Organisme = "avant";
    EXPECT_NO_THROW(LireParametres()) << Case.Name;
    EXPECT_EQ(NomUtilisateur, Case.Nom) << Case.Name;
    EXPECT_EQ(Organisme, Case.Organisme) << Case.Name;
  }
}

TEST(FormExisteTest, OnlyLiveFormsExist) {
  EXPECT_FALSE(FormExiste(nullptr));
  auto* Form = new TPlainForm(Application);
  EXPECT_TRUE(FormExiste(Form));
  TObject* Stale = Form;
  Form->Free();
  EXPECT_FALSE(FormExiste(Stale));
  TComponent NotAForm(nullptr);
  EXPECT_FALSE(FormExiste(&NotAForm));
}

}  // namespace
