// This file implements the state every window of the program shares: the database folder, the
// administrator flag, the operator read from the settings file, and the live-window test.
#pragma once

#include <vector>

#include "AnsiString.h"

class TObject;

// The folder of the database file, report templates and connection pictures: the program's
// folder followed by "\base\". Set when the data module is created.
extern String CheminBase;
// Every dictionary editable and every dictionary exportable.
extern bool ModeAdministrateur;
// The operator and the organisation written into history rows.
extern String NomUtilisateur;
extern String Organisme;
// The entry of the administrator password dialog.
extern String MotDePasseSaisi;

// The settings file and its folder (fixed paths of the workstation).
inline constexpr const char* kFichierParametres = "c:\\velbor\\velbor.ini";
inline constexpr const char* kDossierParametres = "c:\\velbor";
inline constexpr const char* kSectionParametres = "parametres";

// Reads "nom" and "organisme" of the settings file into NomUtilisateur and Organisme when the
// section exists; a missing file, section or key is not an error (the names stay or read empty).
void LireParametres();

// True when Form is one of the live forms of the screen. A global window pointer keeps its value
// after its window freed itself, so every create-or-reuse asks this first.
bool FormExiste(TObject* Form);

// True when one of the command-line arguments asks for administrator mode: "\a", in any case.
bool ArgumentsAdministrateur(const std::vector<String>& Arguments);

// The question asked before the edits of the current record are dropped (caption "Attention",
// Yes/No).
extern const char* const MsgPerteSaisie;
