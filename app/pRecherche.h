// This file implements TfrmRecherche, the multi-criteria search: from up to nine criteria it
// builds one SELECT of wetlands, SqlRecherche, whose values are bound parameters; the windows
// derived from it run the statement (the consultation search, the spreadsheet export).
#pragma once

#include <vector>

#include "Buttons.h"
#include "Forms.h"
#include "StdCtrls.h"

class TADOQuery;
class TDataSource;
class TOxFilenameEdit;
class TOxLookupEdit;
class TParameters;

// One value of the statement: the ":NAME" place it binds to, and the value.
struct TValeurRecherche {
  String Nom;
  String Valeur;
};

class TfrmRecherche : public TForm {
  VELBOR_DECLARE_CLASS(TfrmRecherche, TForm)
 public:
  explicit TfrmRecherche(TComponent* AOwner);

  // The statement built by Ok: "select * from T_zone_humide where ... order by zh_code" with its
  // values as ":NAME" parameters (ParametresRecherche); empty when Ok built none.
  String SqlRecherche;
  std::vector<TValeurRecherche> ParametresRecherche;
  // Gives the parameters of a query whose text is SqlRecherche (or made from it) their values.
  void LierParametres(TParameters* Parameters) const;

  // Components of the description.
  TGroupBox* GroupBox1 = nullptr;
  TLabel* lblSurface = nullptr;
  TLabel* lblSouterrain = nullptr;
  TLabel* lblRef = nullptr;
  TLabel* lblRegion = nullptr;
  TLabel* lblDep = nullptr;
  TLabel* lblCommune = nullptr;
  TLabel* lblSdage = nullptr;
  TLabel* lblCorine = nullptr;
  TLabel* lblSite = nullptr;
  TLabel* lblTousSites = nullptr;
  TOxLookupEdit* OxLkeSurface = nullptr;
  TOxLookupEdit* OxLkeSouterrain = nullptr;
  TOxLookupEdit* OxLkeRef = nullptr;
  TOxLookupEdit* OxLkeRegion = nullptr;
  TOxLookupEdit* OxLkeDep = nullptr;
  TOxLookupEdit* OxLkeCommune = nullptr;
  TOxLookupEdit* OxLkeSdage = nullptr;
  TOxLookupEdit* OxLkeCorine = nullptr;
  TOxLookupEdit* OxLkeSite = nullptr;
  TCheckBox* cbTousSites = nullptr;
  TLabel* lblRepertoire = nullptr;
  TOxFilenameEdit* eRepertoire = nullptr;
  TBitBtn* bbOk = nullptr;
  TBitBtn* bbFermer = nullptr;
  TADOQuery* qRegion = nullptr;
  TADOQuery* qDep = nullptr;
  TADOQuery* qCommune = nullptr;
  TADOQuery* qSites = nullptr;
  TADOQuery* qEnveloppe = nullptr;
  TDataSource* dsRegion = nullptr;
  TDataSource* dsDep = nullptr;
  TDataSource* dsCommune = nullptr;
  TDataSource* dsSites = nullptr;
  TDataSource* dsEnveloppe = nullptr;

  // Handlers bound by the description. Ok builds the statement; a derived window runs it after
  // calling this one, when SqlRecherche is not empty.
  virtual void bbOkClick(TObject* Sender);
  void bbFermerClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  // Leaving the region narrows the departments, leaving the department the communes.
  void OxLkeRegionChange(TObject* Sender);
  void OxLkeDepExit(TObject* Sender);
};

// The departments of a region (all of them for an empty region text) and the communes of a
// department, in the order of their names: the search dialog and the commune picker share them.
// The code is a bound value.
void RestreindreDepartements(TADOQuery* Query, const String& RegionText, const String& RegionCode);
void RestreindreCommunes(TADOQuery* Query, const String& DepartementText, const String& DepartementCode);

// Registers the classes the search dialogs' descriptions create.
void RegisterRechercheClasses();
