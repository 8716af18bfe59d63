// This file implements the state every window of the program shares.
#include "pUtilZH.h"

#include <memory>

#include "Forms.h"
#include "IniFiles.h"
#include "StrUtils.h"

String CheminBase;
bool ModeAdministrateur = false;
String NomUtilisateur;
String Organisme;
String MotDePasseSaisi;

void LireParametres() {
  TMemIniFile Ini(kFichierParametres);
  if (!Ini.SectionExists(kSectionParametres)) return;
  NomUtilisateur = Ini.ReadString(kSectionParametres, "nom", "");
  Organisme = Ini.ReadString(kSectionParametres, "organisme", "");
}

bool FormExiste(TObject* Form) {
  if (Form == nullptr || !Screen.Exists()) return false;
  // Compared by address only: the pointer may name a window that is already gone.
  for (int i = Screen->FormCount() - 1; i >= 0; --i)
    if (static_cast<TObject*>(Screen->Forms(i)) == Form) return true;
  return false;
}

bool ArgumentsAdministrateur(const std::vector<String>& Arguments) {
  for (const String& Argument : Arguments)
    if (LowerCase(Argument) == "\\a") return true;
  return false;
}

const char* const MsgPerteSaisie = "Les informations saisies seront perdues\nVoulez vous continuer ?";
