// This file implements the test datasets of the data-aware base: TSettingsDataSet, the in-memory
// dataset of the dataset-model tests publishing the library's per-field settings lists, its
// filter options, a database name and an OnInvalidValue event, with memo contents read back
// through blob streams.
#pragma once

#include <map>
#include <utility>

#include "Streams.h"
#include "Strings.h"
#include "VectorDataSet.h"
#include "qvDataSetUtils.h"

class TSettingsDataSet : public TVectorDataSet {
  VELBOR_DECLARE_CLASS(TSettingsDataSet, TVectorDataSet)
 public:
  explicit TSettingsDataSet(std::vector<TColumn> Columns, TComponent* AOwner = nullptr)
      : TVectorDataSet(std::move(Columns), AOwner) {}

  TStringList* PictureMasks() const { return FPictureMasks.get(); }
  TStringList* ControlType() const { return FControlType.get(); }
  TStringList* LookupFields() const { return FLookupFields.get(); }
  TStringList* LookupLinks() const { return FLookupLinks.get(); }
  String DatabaseName;
  TqvOnFilterOptions OnFilterOptions;
  TqvInvalidValueEvent OnInvalidValue;

  // The memo content of a row's field (rows by position).
  void SetMemo(int Row, const String& FieldName, const String& Text) {
    FMemos[{Rows[std::size_t(Row)].Id, FieldName}] = Text;
  }
  TStream* CreateBlobStream(TField* Field, TBlobStreamMode) override {
    auto Found = FMemos.find({Info(ActiveBuffer())->Id, Field->FieldName()});
    return new TStringStream(Found == FMemos.end() ? String() : Found->second);
  }

 private:
  std::unique_ptr<TStringList> FPictureMasks = std::make_unique<TStringList>();
  std::unique_ptr<TStringList> FControlType = std::make_unique<TStringList>();
  std::unique_ptr<TStringList> FLookupFields = std::make_unique<TStringList>();
  std::unique_ptr<TStringList> FLookupLinks = std::make_unique<TStringList>();
  std::map<std::pair<int, String>, String> FMemos;
};

// NOM, CODE, DATE_OBS, SURFACE, LIB_COMMUNE, NOTE (memo); two rows.
inline std::vector<TColumn> SettingsColumns() {
  return {{"NOM", ftString, 20},       {"CODE", ftInteger},          {"DATE_OBS", ftDate},
          {"SURFACE", ftFloat},        {"LIB_COMMUNE", ftString, 30}, {"NOTE", ftMemo}};
}
