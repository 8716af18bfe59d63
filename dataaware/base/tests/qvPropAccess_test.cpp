// Tests of the by-name property access: small components that publish, omit, or publish with
// another kind each property the library reads or writes.
#include <gtest/gtest.h>

#include <memory>

#include "DataSource.h"
#include "List.h"
#include "Params.h"
#include "Strings.h"
#include "qvPropAccess.h"
#include "qvTestDataSet.h"

namespace bynamewindow {
// The library tests "windowed" by class name along the ancestry: this stands for a windowed
// control without making a window.
class TWinControl : public TComponent {
  VELBOR_DECLARE_CLASS(TWinControl, TComponent)
 public:
  explicit TWinControl(TComponent* AOwner) : TComponent(AOwner) {}
};
VELBOR_IMPLEMENT_CLASS(TWinControl)
}  // namespace bynamewindow

namespace {

enum TBorderStyle { bsNone, bsSingle };
VELBOR_ENUM(TBorderStyle, "bsNone", "bsSingle")

using TCalcCellColorsEvent = TEvent<void(TObject* Sender, TField* Field, bool Highlight)>;

// Publishes every property the accessors look for.
class TPublisher : public TComponent {
  VELBOR_DECLARE_CLASS(TPublisher, TComponent)
 public:
  explicit TPublisher(TComponent* AOwner) : TComponent(AOwner) {}
  TStringList* PictureMasks() const { return FMasks.get(); }
  TStringList* ControlType() const { return FTypes.get(); }
  TStringList* LookupFields() const { return FLookupFields.get(); }
  TParams* Params() const { return FParams.get(); }
  TList* ControlList() const { return FControls.get(); }
  int CursorLocation = 0;
  int MaxRecords = 0;
  bool ControlInfoInDataSet = false;
  bool PictureMaskFromDataSet = false;
  String DatabaseName;
  TComponent* Connection = nullptr;
  String ConnectionString;
  TComponent* DataBase = nullptr;
  bool Transparent = false;
  String TableName;
  String SessionName;
  TDataSource* DataSource = nullptr;
  String DataField;
  TDataSource* MasterSource = nullptr;
  TDataSet* DataSet = nullptr;
  TBorderStyle BorderStyle = bsSingle;
  bool WantReturns = true;
  bool EditCalculated = true;
  int Options = 0x42;
  TqvInvalidValueEvent OnInvalidValue;
  TNotifyEvent OnPerformCustomSearch;
  TCalcCellColorsEvent OnCalcCellColors;
  String SQL;

 private:
  std::unique_ptr<TStringList> FMasks = std::make_unique<TStringList>();
  std::unique_ptr<TStringList> FTypes = std::make_unique<TStringList>();
  std::unique_ptr<TStringList> FLookupFields = std::make_unique<TStringList>();
  std::unique_ptr<TParams> FParams = std::make_unique<TParams>();
  std::unique_ptr<TList> FControls = std::make_unique<TList>();
};

// The same names, windowed.
class TWindowedPublisher : public bynamewindow::TWinControl {
  VELBOR_DECLARE_CLASS(TWindowedPublisher, bynamewindow::TWinControl)
 public:
  explicit TWindowedPublisher(TComponent* AOwner) : bynamewindow::TWinControl(AOwner) {}
  TDataSource* DataSource = nullptr;
  String DataField;
  bool Transparent = true;
  bool AlwaysTransparent = false;
};

// The same names with other kinds: none of them may be read or written as the library expects.
class TMisfit : public TComponent {
  VELBOR_DECLARE_CLASS(TMisfit, TComponent)
 public:
  explicit TMisfit(TComponent* AOwner) : TComponent(AOwner) {}
  String CursorLocation = "client";
  int DatabaseName = 3;
  String Connection = "conn";
  String PictureMasks = "NOM\t#";
  TNotifyEvent OnInvalidValue;
  TDataSource* DataSource = nullptr;
};

class TBare : public TComponent {
  VELBOR_DECLARE_CLASS(TBare, TComponent)
 public:
  explicit TBare(TComponent* AOwner) : TComponent(AOwner) {}
};

// A dataset whose class name says it wraps another dataset.
class TSimpleDataSet : public TComponent {
  VELBOR_DECLARE_CLASS(TSimpleDataSet, TComponent)
 public:
  explicit TSimpleDataSet(TComponent* AOwner) : TComponent(AOwner) {}
  TDataSet* DataSet = nullptr;
};

// A dataset with a query text held as lines; its setter copies the lines it is given.
class TQueryDataSet : public TVectorDataSet {
  VELBOR_DECLARE_CLASS(TQueryDataSet, TVectorDataSet)
 public:
  TQueryDataSet() : TVectorDataSet({{"ID", ftInteger}}) {}
  TStringList* SQL() const { return FSQL.get(); }
  void SetSQL(TStrings* Value) { FSQL->Assign(Value); }

 private:
  std::unique_ptr<TStringList> FSQL = std::make_unique<TStringList>();
};

class THandlers : public TComponent {
 public:
  THandlers() : TComponent(nullptr) {}
  void InvalidValue(TDataSet*, TField* Field) { Reported = Field; }
  void Search(TObject*) {}
  void Colors(TObject*, TField*, bool) {}
  TField* Reported = nullptr;
};

VELBOR_IMPLEMENT_CLASS(TPublisher)
VELBOR_PUBLISHED(TPublisher,
  Prop("PictureMasks", &Self::PictureMasks),
  Prop("ControlType", &Self::ControlType),
  Prop("LookupFields", &Self::LookupFields),
  Prop("Params", &Self::Params),
  Prop("ControlList", &Self::ControlList),
  Prop("CursorLocation", &Self::CursorLocation),
  Prop("MaxRecords", &Self::MaxRecords),
  Prop("ControlInfoInDataSet", &Self::ControlInfoInDataSet),
  Prop("PictureMaskFromDataSet", &Self::PictureMaskFromDataSet),
  Prop("DatabaseName", &Self::DatabaseName),
  Prop("Connection", &Self::Connection),
  Prop("ConnectionString", &Self::ConnectionString),
  Prop("DataBase", &Self::DataBase),
  Prop("Transparent", &Self::Transparent),
  Prop("TableName", &Self::TableName),
  Prop("SessionName", &Self::SessionName),
  Prop("DataSource", &Self::DataSource),
  Prop("DataField", &Self::DataField),
  Prop("MasterSource", &Self::MasterSource),
  Prop("DataSet", &Self::DataSet),
  Prop("BorderStyle", &Self::BorderStyle),
  Prop("WantReturns", &Self::WantReturns),
  Prop("EditCalculated", &Self::EditCalculated),
  Prop("Options", &Self::Options),
  Prop("OnInvalidValue", &Self::OnInvalidValue),
  Prop("OnPerformCustomSearch", &Self::OnPerformCustomSearch),
  Prop("OnCalcCellColors", &Self::OnCalcCellColors),
  Prop("SQL", &Self::SQL))

VELBOR_IMPLEMENT_CLASS(TWindowedPublisher)
VELBOR_PUBLISHED(TWindowedPublisher,
  Prop("DataSource", &Self::DataSource),
  Prop("DataField", &Self::DataField),
  Prop("Transparent", &Self::Transparent),
  Prop("AlwaysTransparent", &Self::AlwaysTransparent))

VELBOR_IMPLEMENT_CLASS(TMisfit)
VELBOR_PUBLISHED(TMisfit,
  Prop("CursorLocation", &Self::CursorLocation),
  Prop("DatabaseName", &Self::DatabaseName),
  Prop("Connection", &Self::Connection),
  Prop("PictureMasks", &Self::PictureMasks),
  Prop("OnInvalidValue", &Self::OnInvalidValue),
  Prop("DataSource", &Self::DataSource))

VELBOR_IMPLEMENT_CLASS(TBare)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TQueryDataSet)
VELBOR_PUBLISHED(TQueryDataSet, Prop("SQL", &Self::SQL, &Self::SetSQL))
VELBOR_IMPLEMENT_CLASS(TSimpleDataSet)
VELBOR_PUBLISHED(TSimpleDataSet, Prop("DataSet", &Self::DataSet))

TEST(PropAccess, AbsentPropertiesGiveTheDefaultsAndSettersRefuse) {
  TBare Bare(nullptr);
  for (TObject* Object : {static_cast<TObject*>(&Bare), static_cast<TObject*>(nullptr)}) {
    EXPECT_EQ(qvGetPictureMasks(Object), nullptr);
    EXPECT_EQ(qvGetControlTypeList(Object), nullptr);
    EXPECT_EQ(qvGetLookupFields(Object), nullptr);
    EXPECT_EQ(qvGetLookupLinks(Object), nullptr);
    EXPECT_EQ(qvGetCursorLocation(Object), 0);
    EXPECT_TRUE(qvGetControlInfoInDataSet(Object));
    EXPECT_TRUE(qvGetPictureMaskFromDataSet(Object));
    EXPECT_EQ(qvGetDatabaseName(Object), "");
    EXPECT_EQ(qvGetConnection(Object), nullptr);
    EXPECT_EQ(qvGetDatabaseObject(Object), nullptr);
    EXPECT_FALSE(qvGetTransparent(Object));
    EXPECT_EQ(qvGetTableName(Object), "");
    EXPECT_EQ(qvGetControlDataSource(Object), nullptr);
    EXPECT_EQ(qvGetMasterSource(Object), nullptr);
    EXPECT_EQ(qvGetDataSetProperty(Object), nullptr);
    EXPECT_FALSE(qvHasBorder(Object));
    EXPECT_FALSE(qvGetWantReturns(Object));
    EXPECT_FALSE(qvGetEditCalculated(Object));
    EXPECT_EQ(qvGetOrdPropByName(Object, "Options"), 0);
    EXPECT_EQ(qvGetParams(Object), nullptr);
    EXPECT_EQ(qvGetControlList(Object), nullptr);
    EXPECT_FALSE(qvGetInvalidValueEvent(Object).Assigned());
    EXPECT_FALSE(qvGetPerformCustomSearchEvent(Object).Assigned());

    EXPECT_FALSE(qvSetCursorLocation(Object, 1));
    EXPECT_FALSE(qvSetMaxRecords(Object, 1));
    EXPECT_FALSE(qvSetDatabaseName(Object, "x"));
    EXPECT_FALSE(qvSetConnection(Object, &Bare));
    EXPECT_FALSE(qvSetConnectionString(Object, "x"));
    EXPECT_FALSE(qvSetDatabaseObject(Object, &Bare));
    EXPECT_FALSE(qvSetSessionName(Object, "x"));
    EXPECT_FALSE(qvSetControlBorderStyle(Object, true));
  }
  // The event's output is left untouched when the control has no such event.
  THandlers Handlers;
  TMethod Event = TCalcCellColorsEvent(&Handlers, &THandlers::Colors).ToMethod();
  qvGetCalcCellColorsEvent(&Bare, Event);
  EXPECT_TRUE(Event.Assigned());
}

TEST(PropAccess, PublishedPropertiesAreReadAndWritten) {
  TPublisher P(nullptr);
  TBare Other(nullptr);
  TDataSource Source(nullptr);
  TSettingsDataSet DataSet(SettingsColumns());

  EXPECT_EQ(qvGetPictureMasks(&P), P.PictureMasks());
  EXPECT_EQ(qvGetControlTypeList(&P), P.ControlType());
  EXPECT_EQ(qvGetLookupFields(&P), P.LookupFields());
  EXPECT_EQ(qvGetParams(&P), P.Params());
  EXPECT_EQ(qvGetControlList(&P), P.ControlList());
  EXPECT_FALSE(qvGetControlInfoInDataSet(&P));
  EXPECT_FALSE(qvGetPictureMaskFromDataSet(&P));

  EXPECT_TRUE(qvSetCursorLocation(&P, 1));
  EXPECT_EQ(qvGetCursorLocation(&P), 1);
  EXPECT_TRUE(qvSetMaxRecords(&P, 1));
  EXPECT_EQ(P.MaxRecords, 1);
  EXPECT_TRUE(qvSetDatabaseName(&P, "velbor"));
  EXPECT_EQ(qvGetDatabaseName(&P), "velbor");
  EXPECT_TRUE(qvSetConnection(&P, &Other));
  EXPECT_EQ(qvGetConnection(&P), &Other);
  EXPECT_TRUE(qvSetConnectionString(&P, "Data Source=x"));
  EXPECT_EQ(qvGetConnectionString(&P), "Data Source=x");
  EXPECT_TRUE(qvSetDatabaseObject(&P, &Other));
  EXPECT_EQ(qvGetDatabaseObject(&P), &Other);
  EXPECT_TRUE(qvSetSessionName(&P, "Default"));
  EXPECT_EQ(qvGetSessionName(&P), "Default");
  P.TableName = "T_ZONE";
  EXPECT_EQ(qvGetTableName(&P), "T_ZONE");
  P.MasterSource = &Source;
  EXPECT_EQ(qvGetMasterSource(&P), &Source);
  P.DataSet = &DataSet;
  EXPECT_EQ(qvGetDataSetProperty(&P), &DataSet);
  P.DataSource = &Source;
  EXPECT_EQ(qvGetControlDataSource(&P), &Source);

  EXPECT_TRUE(qvHasBorder(&P));
  EXPECT_TRUE(qvSetControlBorderStyle(&P, false));
  EXPECT_EQ(P.BorderStyle, bsNone);
  EXPECT_FALSE(qvHasBorder(&P));
  EXPECT_TRUE(qvGetWantReturns(&P));
  EXPECT_TRUE(qvGetEditCalculated(&P));
  EXPECT_EQ(qvGetOrdPropByName(&P, "Options"), 0x42);
  EXPECT_EQ(qvGetOrdPropByName(&P, "NoSuchOption"), 0);
}

TEST(PropAccess, PropertiesOfAnotherKindAreTreatedAsAbsent) {
  TMisfit M(nullptr);
  TBare Other(nullptr);
  EXPECT_EQ(qvGetCursorLocation(&M), 0);
  EXPECT_EQ(qvGetDatabaseName(&M), "");
  EXPECT_FALSE(qvSetDatabaseName(&M, "x"));  // string only
  EXPECT_EQ(M.DatabaseName, 3);
  EXPECT_FALSE(qvSetConnection(&M, &Other));  // class only
  EXPECT_EQ(M.Connection, "conn");
  EXPECT_EQ(qvGetPictureMasks(&M), nullptr);
  // An OnInvalidValue of another signature is not handed out as one.
  THandlers Handlers;
  M.OnInvalidValue = TNotifyEvent(&Handlers, &THandlers::Search);
  EXPECT_FALSE(qvGetInvalidValueEvent(&M).Assigned());
  // An object of the wrong class is refused, not raised.
  TPublisher P(nullptr);
  EXPECT_FALSE(qvSetControlDataSource(&P, nullptr));  // not windowed
}

TEST(PropAccess, WindowedOnlyAccessors) {
  TPublisher Plain(nullptr);
  TWindowedPublisher Windowed(nullptr);
  TDataSource Source(nullptr);
  Plain.DataField = "NOM";
  Windowed.DataField = "NOM";
  EXPECT_EQ(qvGetControlDataField(&Plain), "");
  EXPECT_EQ(qvGetControlDataField(&Windowed), "NOM");
  EXPECT_FALSE(qvSetControlDataField(&Plain, "CODE"));
  EXPECT_EQ(Plain.DataField, "NOM");
  EXPECT_TRUE(qvSetControlDataField(&Windowed, "CODE"));
  EXPECT_EQ(Windowed.DataField, "CODE");
  EXPECT_FALSE(qvSetControlDataSource(&Plain, &Source));
  EXPECT_EQ(Plain.DataSource, nullptr);
  EXPECT_TRUE(qvSetControlDataSource(&Windowed, &Source));
  EXPECT_EQ(Windowed.DataSource, &Source);
  // The reader of DataSource is not restricted.
  Plain.DataSource = &Source;
  EXPECT_EQ(qvGetControlDataSource(&Plain), &Source);
}

TEST(PropAccess, AlwaysTransparentComesFirst) {
  TWindowedPublisher W(nullptr);
  W.Transparent = true;
  W.AlwaysTransparent = false;
  EXPECT_FALSE(qvGetTransparent(&W));
  W.AlwaysTransparent = true;
  W.Transparent = false;
  EXPECT_TRUE(qvGetTransparent(&W));
  TPublisher P(nullptr);
  P.Transparent = true;
  EXPECT_TRUE(qvGetTransparent(&P));
}

TEST(PropAccess, EventsAreHandedOutOnlyWhenAssigned) {
  TPublisher P(nullptr);
  THandlers Handlers;
  EXPECT_FALSE(qvGetInvalidValueEvent(&P).Assigned());
  P.OnInvalidValue = TqvInvalidValueEvent(&Handlers, &THandlers::InvalidValue);
  TqvInvalidValueEvent Event = qvGetInvalidValueEvent(&P);
  ASSERT_TRUE(Event.Assigned());
  TSettingsDataSet DataSet(SettingsColumns());
  DataSet.Open();
  Event(&DataSet, DataSet.FieldByName("NOM"));
  EXPECT_EQ(Handlers.Reported, DataSet.FieldByName("NOM"));

  P.OnPerformCustomSearch = TNotifyEvent(&Handlers, &THandlers::Search);
  EXPECT_EQ(qvGetPerformCustomSearchEvent(&P), P.OnPerformCustomSearch.ToMethod());

  TMethod Colors{};
  qvGetCalcCellColorsEvent(&P, Colors);  // published but unassigned: the output follows it
  EXPECT_FALSE(Colors.Assigned());
  P.OnCalcCellColors = TCalcCellColorsEvent(&Handlers, &THandlers::Colors);
  qvGetCalcCellColorsEvent(&P, Colors);
  EXPECT_EQ(Colors, P.OnCalcCellColors.ToMethod());
}

TEST(PropAccess, ParamsAreAssignedIntoTheExistingList) {
  TPublisher P(nullptr);
  TParams* Own = P.Params();
  TParams Given;
  Given.CreateParam(ftInteger, "CODE", ptInput)->SetValue(12);
  EXPECT_TRUE(qvSetParams(&P, &Given));
  EXPECT_EQ(P.Params(), Own);
  ASSERT_EQ(Own->Count(), 1);
  EXPECT_EQ(Own->Items(0)->Name(), "CODE");
  TBare Bare(nullptr);
  EXPECT_FALSE(qvSetParams(&Bare, &Given));
}

TEST(PropAccess, StringsPropertyTakesACopyOrJoinedLines) {
  TStringList Lines;
  Lines.Add("select *");
  Lines.Add("from T");

  TQueryDataSet Query;
  EXPECT_TRUE(qvSetStringsProperty(&Query, &Lines, "SQL"));
  EXPECT_EQ(Query.SQL()->Text(), "select *\r\nfrom T\r\n");
  Lines.Add("where 1");
  EXPECT_EQ(Query.SQL()->Count(), 2);

  // A text property receives the lines joined; the answer is false.
  TPublisher P(nullptr);
  EXPECT_FALSE(qvSetStringsProperty(&P, &Lines, "SQL"));
  EXPECT_EQ(P.SQL, "select *\r\nfrom T\r\nwhere 1");
  // A read-only list and a missing property take nothing.
  EXPECT_FALSE(qvSetStringsProperty(&P, &Lines, "PictureMasks"));
  EXPECT_EQ(P.PictureMasks()->Count(), 0);
  EXPECT_FALSE(qvSetStringsProperty(&P, &Lines, "NoSuchProperty"));

  // A "TSimpleDataSet" hands the assignment to its inner dataset.
  TSimpleDataSet Wrapper(nullptr);
  Wrapper.DataSet = &Query;
  EXPECT_TRUE(qvSetStringsProperty(&Wrapper, &Lines, "SQL"));
  EXPECT_EQ(Query.SQL()->Count(), 3);
}

}  // namespace
