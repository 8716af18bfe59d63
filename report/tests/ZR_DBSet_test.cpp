// Tests of the report data sources: ranges and events of the base and user sources, the source
// over a dataset with its record ranges, references and errors, and the small database helpers.
#include "ZR_DBSet.h"

#include <gtest/gtest.h>

#include "../../db/tests/VectorDataSet.h"
#include "DataSource.h"
#include "StrUtils.h"
#include "Streams.h"
#include "Strings.h"
#include "ZR_DBRel.h"

namespace {

// Records the events of a source.
class TEventRecorder : public TObject {
 public:
  std::vector<String> Log;
  bool ForceEof = false;
  bool ForceContinue = false;
  void Attach(TzrDataset* Source) {
    Source->OnFirst = TNotifyEvent(this, &TEventRecorder::First);
    Source->OnNext = TNotifyEvent(this, &TEventRecorder::Next);
    Source->OnPrior = TNotifyEvent(this, &TEventRecorder::Prior);
  }
  void First(TObject*) { Log.push_back("first"); }
  void Next(TObject*) { Log.push_back("next"); }
  void Prior(TObject*) { Log.push_back("prior"); }
  void Open(TObject*) { Log.push_back("open"); }
  void Close(TObject*) { Log.push_back("close"); }
  void CheckEof(TObject*, bool& Eof) {
    Log.push_back(Eof ? "eof? yes" : "eof? no");
    if (ForceEof) Eof = true;
    if (ForceContinue) Eof = false;
  }
};

TEST(ZrUserDataset, CountedRangeYieldsItsRecords) {
  TzrUserDataset source(nullptr);
  TEventRecorder events;
  events.Attach(&source);
  source.RangeEnd = reCount;
  source.RangeEndCount = 3;
  std::vector<int> seen;
  for (source.First(); !source.Eof(); source.Next()) seen.push_back(source.RecNo());
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(events.Log, (std::vector<String>{"first", "next", "next"}));
  source.Prior();
  EXPECT_EQ(source.RecNo(), 2);
  EXPECT_EQ(events.Log.back(), "prior");
}

TEST(ZrUserDataset, EventsDecideTheEndOfAnOpenRange) {
  TzrUserDataset source(nullptr);
  TEventRecorder events;
  source.OnCheckEOF = TCheckEOFEvent(&events, &TEventRecorder::CheckEof);
  source.First();
  EXPECT_FALSE(source.Eof());
  events.ForceEof = true;
  EXPECT_TRUE(source.Eof());
  EXPECT_EQ(events.Log, (std::vector<String>{"eof? no", "eof? no"}));
  // The event may also continue a counted range past its count.
  source.RangeEnd = reCount;
  source.RangeEndCount = 0;
  events.ForceEof = false;
  events.ForceContinue = true;
  EXPECT_FALSE(source.Eof());
  EXPECT_EQ(events.Log.back(), "eof? yes");
}

TEST(ZrUserDataset, EmptyCountYieldsNothing) {
  TzrUserDataset source(nullptr);
  source.RangeEnd = reCount;
  source.First();
  EXPECT_TRUE(source.Eof());
}

// A source over a dataset of five rows numbered 1 to 5.
class ZrDBDataSet : public ::testing::Test {
 protected:
  ZrDBDataSet() {
    Data = new TVectorDataSet({{"N", ftInteger}}, &Form);
    Data->SetName("qRows");
    for (int i = 1; i <= 5; ++i) Data->AddRow({Variant(i)});
    Source = new TzrDBDataSet(&Form);
    Source->SetName("zrRows");
    Source->SetDataSet(Data);
  }
  std::vector<int> Walk() {
    std::vector<int> rows;
    Source->OpenSource();
    for (Source->First(); !Source->Eof(); Source->Next()) {
      rows.push_back(Data->FieldByName("N")->AsInteger());
      if (rows.size() > 10) break;
    }
    Source->CloseSource();
    return rows;
  }
  void MoveTo(int Row) {
    Data->Open();
    Data->First();
    Data->MoveBy(Row - 1);
  }
  int Current() { return Data->FieldByName("N")->AsInteger(); }

  TComponent Form{nullptr};
  TVectorDataSet* Data;
  TzrDBDataSet* Source;
};

TEST_F(ZrDBDataSet, RangesOverTheDataset) {
  struct Case {
    TRangeBegin Begin;
    TRangeEnd End;
    int Count;
    int CurrentAtOpen;
    std::vector<int> Rows;
  } cases[] = {
      {rbFirst, reLast, 0, 3, {1, 2, 3, 4, 5}},
      {rbCurrent, reLast, 0, 3, {3, 4, 5}},
      {rbCurrent, reCurrent, 0, 3, {3}},
      {rbFirst, reCurrent, 0, 3, {1, 2, 3}},
      {rbFirst, reCurrent, 0, 1, {1}},
      {rbFirst, reCount, 2, 3, {1, 2}},
      {rbCurrent, reCount, 4, 4, {4, 5}},
      {rbFirst, reCount, 0, 3, {}},
  };
  for (const Case& c : cases) {
    Source->RangeBegin = c.Begin;
    Source->RangeEnd = c.End;
    Source->RangeEndCount = c.Count;
    MoveTo(c.CurrentAtOpen);
    EXPECT_EQ(Walk(), c.Rows) << c.Begin << "/" << c.End << "/" << c.Count;
    // A range kept from the current record puts the dataset back on it.
    if (c.Begin == rbCurrent || c.End == reCurrent) {
      EXPECT_EQ(Current(), c.CurrentAtOpen);
    }
  }
}

TEST_F(ZrDBDataSet, OpenAndCloseFollowTheirSettings) {
  TEventRecorder events;
  Source->OnOpen = TNotifyEvent(&events, &TEventRecorder::Open);
  Source->OnClose = TNotifyEvent(&events, &TEventRecorder::Close);
  EXPECT_FALSE(Data->Active());
  Source->OpenSource();
  EXPECT_TRUE(Data->Active());
  Source->CloseSource();
  EXPECT_TRUE(Data->Active()) << "CloseDataSource is False by default";
  Source->CloseDataSource = true;
  Source->CloseSource();
  EXPECT_FALSE(Data->Active());
  Source->OpenDataSource = false;
  Source->OpenSource();
  EXPECT_FALSE(Data->Active());
  EXPECT_EQ(events.Log, (std::vector<String>{"open", "close", "close", "open"}));
  // The application opens its datasets itself.
  Data->Open();
  EXPECT_EQ(Walk().size(), 5u);
}

TEST_F(ZrDBDataSet, PriorStepsBackOnTheDataset) {
  Source->OpenSource();
  Source->First();
  Source->Next();
  Source->Next();
  Source->Prior();
  EXPECT_EQ(Current(), 2);
  EXPECT_EQ(Source->RecNo(), 1);
}

TEST_F(ZrDBDataSet, DataSetAndDataSourceReplaceEachOther) {
  auto* link = new TDataSource(&Form);
  link->SetDataSet(Data);
  Source->SetDataSource(link);
  EXPECT_EQ(Source->DataSet(), nullptr);
  EXPECT_EQ(Source->ResolveDataSet(), Data);
  Source->SetDataSet(Data);
  EXPECT_EQ(Source->DataSource(), nullptr);
  Source->SetDataSource(nullptr);
  EXPECT_EQ(Source->DataSet(), Data) << "clearing the data source keeps the dataset";
  // A data source without dataset falls back on DataSet.
  auto* empty = new TDataSource(&Form);
  Source->SetDataSource(empty);
  EXPECT_THROW(Source->ResolveDataSet(), EDSError);
}

TEST_F(ZrDBDataSet, RemovedReferencesAreCleared) {
  auto* link = new TDataSource(&Form);
  Source->SetDataSource(link);
  delete link;
  EXPECT_EQ(Source->DataSource(), nullptr);
  Source->SetDataSet(Data);
  delete Data;
  EXPECT_EQ(Source->DataSet(), nullptr);
}

TEST_F(ZrDBDataSet, NoDatasetRaisesFromEveryOperationThatNeedsOne) {
  Source->SetDataSet(nullptr);
  try {
    Source->OpenSource();
    FAIL() << "no exception";
  } catch (const EDSError& e) {
    EXPECT_EQ(e.Message, "Unable to open dataset zrRows");
  }
  EXPECT_THROW(Source->First(), EDSError);
  EXPECT_THROW(Source->Next(), EDSError);
  EXPECT_THROW(Source->Eof(), EDSError);
}

// ---- Database helpers

TEST(ZrDBRel, BlobKinds) {
  TVectorDataSet data({{"S", ftString, 5}, {"M", ftMemo}, {"B", ftBlob}, {"G", ftGraphic}, {"I", ftInteger}});
  data.Open();
  struct Case {
    const char* Field;
    bool Blob;
  } cases[] = {{"S", false}, {"M", true}, {"B", true}, {"G", true}, {"I", false}};
  for (const Case& c : cases) EXPECT_EQ(zrIsBlobField(data.FieldByName(c.Field)), c.Blob) << c.Field;
  EXPECT_FALSE(zrIsBlobField(nullptr));
}

TEST(ZrDBRel, CopyToAStreamRewindsIt) {
  TVectorDataSet data({{"T", ftString, 40}});
  data.AddRow({Variant("ligne 1\r\nligne 2")});
  data.Open();
  TStringStream target("old");
  target.SetPosition(3);
  zrCopyBlobTo(data.FieldByName("T"), &target);
  EXPECT_EQ(target.Position(), 0);
  EXPECT_EQ(target.DataString(), "oldligne 1\r\nligne 2") << "written at the stream's position";
}

TEST(ZrDBRel, FieldNamesAndBookmarks) {
  TVectorDataSet data({{"A", ftInteger}, {"B", ftString, 3}});
  data.AddRow({Variant(1), Variant("x")});
  data.AddRow({Variant(2), Variant("y")});
  TStringList names;
  zrListFieldNames(&data, &names);
  ASSERT_EQ(names.Count(), 2);
  EXPECT_EQ(names[0], "A");
  EXPECT_EQ(names[1], "B");
  data.Open();
  TBookmark first = zrGetBookmark(&data);
  data.Next();
  TBookmark second = zrGetBookmark(&data);
  EXPECT_FALSE(zrSameBookmark(&data, first, second));
  EXPECT_FALSE(zrSameBookmark(&data, first, zrGetBookmark(&data)));
  zrGotoBookmark(&data, first);
  EXPECT_TRUE(zrSameBookmark(&data, first, zrGetBookmark(&data)));
  zrFreeBookmark(&data, first);
  EXPECT_TRUE(first.empty());
}

}  // namespace
