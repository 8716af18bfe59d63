// This file implements TfrmDictionnaire, the MDI window that shows and maintains one reference
// dictionary of the data module in a grid with a navigator, exports it to a ";"-delimited file and
// refreshes the record window's lists when an editable dictionary closes; and the 35 dictionary
// windows derived from it, each described by one line of a table (its caption, its dataset and,
// for some, the grid's columns).
#pragma once

#include "Buttons.h"
#include "CommonDialogs.h"
#include "Forms.h"
#include "Qvdbgrid.h"
#include "qvDBNavigator.h"

// What a derived window changes in the base window.
struct TDescriptionDictionnaire {
  const char* Fenetre;   // the window class ("TfrmCommune")
  const char* Caption;
  const char* DataSet;   // the data-module dataset; the window shows it through "ds" + this name
  // The grid's "Selected" lines (field, width, title separated by tabs), "\n" between lines; null
  // for the dataset's visible fields with their labels.
  const char* Colonnes;
  // The grid takes its columns from the Selected lines only.
  bool ColonnesSeules;
  int LignesDeTitre;
  // A "ControlType" line of the grid; null for none.
  const char* ControlType;
};
extern const TDescriptionDictionnaire DescriptionsDictionnaires[35];
// The line of the table for a window class; null when it has none.
const TDescriptionDictionnaire* DescriptionDictionnaire(const String& Fenetre);

class TfrmDictionnaire : public TForm {
  VELBOR_DECLARE_CLASS(TfrmDictionnaire, TForm)
 public:
  explicit TfrmDictionnaire(TComponent* AOwner) : TForm(AOwner) {}

  TqvDBGrid* DBGrid = nullptr;
  TqvDBNavigator* DBNavigator = nullptr;
  TqvNavButton* DBNavigatorFirst = nullptr;
  TqvNavButton* DBNavigatorPriorPage = nullptr;
  TqvNavButton* DBNavigatorPrior = nullptr;
  TqvNavButton* DBNavigatorNext = nullptr;
  TqvNavButton* DBNavigatorNextPage = nullptr;
  TqvNavButton* DBNavigatorLast = nullptr;
  TqvNavButton* DBNavigatorInsert = nullptr;
  TqvNavButton* DBNavigatorDelete = nullptr;
  TqvNavButton* DBNavigatorPost = nullptr;
  TBitBtn* bbtnSave = nullptr;
  TBitBtn* bbtnFermer = nullptr;
  TSaveDialog* OxSelectDirectory = nullptr;

  // The dataset the window shows (null before its creation handler ran).
  TDataSet* DataSet() const;
  // Whether the window edits its dictionary: decided once, at creation.
  bool Modifiable() const { return FModifiable; }

  // Handlers bound by the description.
  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void DBNavigatorInsertClick(TObject* Sender);
  void bbtnSaveClick(TObject* Sender);
  void bbtnFermerClick(TObject* Sender);

 protected:
  // Binds the grid and the navigator to the window's dataset and sets its caption and columns
  // from its line of the table.
  virtual void Decrire(const TDescriptionDictionnaire& Description);
  // Closes and opens again the lists of the record window's combos that show the map sheets and
  // the regional species, so that rows edited here appear there.
  void RafraichirListesFiche();

 private:
  bool FModifiable = false;
};

// Registers the dictionary windows (and the classes of their description) by class name, so that
// the main window's commands open them.
void RegisterDictionnaires();
