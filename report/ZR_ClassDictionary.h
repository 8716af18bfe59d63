// This file implements TzrDataDictionary, a report's variables (names for expressions), field
// aliases and band data-source aliases, with the cache of names resolved to dataset fields, and
// its record in the template file.
#pragma once

#include <map>
#include <memory>

#include "Strings.h"
#include "ZR_Pars.h"

class TStream;
class TDataSet;
class TComponent;

class TzrDataDictionary : public TObject {
  VELBOR_DECLARE_CLASS(TzrDataDictionary, TObject)
 public:
  TzrDataDictionary();
  ~TzrDataDictionary() override;

  // The value of a variable is the text of an expression; names beginning with a blank are
  // categories.
  TzrVariables* Variables() const { return FVariables.get(); }
  TzrVariables* FieldAliases() const { return FFieldAliases.get(); }
  TzrVariables* BandDataSources() const { return FBandDataSources.get(); }
  TStringList* DisabledDatasets() const { return FDisabled.get(); }

  // A cached name, a dictionary variable, or a dataset field reference ("qListe.\"ZH_CODE\"",
  // through the aliases) that a dataset answers (then cached).
  bool IsVariable(const String& Name);
  // A cached field's value, or a variable's: a script variable of the same name, else its
  // expression evaluated. Null when nothing answers.
  void GetValue(const String& Name, Variant& Value);
  // Cuts at the last point outside double quotes: the dataset part and the field (unquoted); false
  // when there is no such point.
  static bool SplitFieldName(const String& Text, String& DataSet, String& Field);
  // The alias whose value equals Text (case-insensitive), else Text.
  String AliasName(const String& Text) const;
  void AddCacheItem(const String& Name, TDataSet* DataSet, const String& Field);
  // The cached dataset and field of a name; false when it is not cached.
  bool CachedField(const String& Name, TDataSet*& DataSet, String& Field) const;
  void Clear();
  void ClearCache();

  // The dictionary record of a template (without its tag).
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);

 private:
  void LoadLegacy(TStream* Stream);
  std::unique_ptr<TzrVariables> FVariables;
  std::unique_ptr<TzrVariables> FFieldAliases;
  std::unique_ptr<TzrVariables> FBandDataSources;
  std::unique_ptr<TStringList> FDisabled;
  struct TCacheItem {
    TDataSet* DataSet;
    String Field;
  };
  std::map<String, TCacheItem> FCache;  // by upper-case name
};
