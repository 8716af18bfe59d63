// Tests of the master/detail pair and the batch cache of TCustomADODataSet: parameters refilled
// from the master at each move, new detail rows taking the master's key, cached inserts, edits
// and deletes applied in one transaction or cancelled, a failing batch leaving file and cache as
// they were, and post errors rewritten by the dataset's handler.
#include <gtest/gtest.h>

#include "ADOTestDatabase.h"
#include "DataSource.h"
#include "StrUtils.h"

namespace {

class ADOBatchTest : public ADOTest {
 protected:
  void SetUp() override {
    ADOTest::SetUp();
    Master = OpenDataSet("select * from T_ZONE_HUMIDE order by ZH_CODE");
    MasterSource = std::make_unique<TDataSource>(nullptr);
    MasterSource->SetDataSet(Master.get());
    Detail = std::make_unique<TADODataSet>(nullptr);
    Detail->SetConnection(Connection.get());
    Detail->SetLockType(ltBatchOptimistic);
    Detail->SetCommandText("select * from T_CORINE_BIO_ZH  where ZH_CODE = :ZH_CODE ORDER BY TCB_CODE");
    Detail->SetDataSource(MasterSource.get());
    Detail->SetMasterFields("ZH_CODE");
    Detail->SetIndexFieldNames("ZH_CODE");
    Detail->Open();
  }
  void TearDown() override {
    Detail.reset();
    MasterSource.reset();
    Master.reset();
    ADOTest::TearDown();
  }

  std::vector<String> Codes() {
    std::vector<String> Result;
    for (Detail->First(); !Detail->Eof(); Detail->Next()) Result.push_back(Detail->FieldByName("TCB_CODE")->AsString());
    return Result;
  }
  std::vector<String> FileCodes() {
    std::vector<String> Result;
    SqliteSession Session(DatabasePath);
    SqliteStatement Statement =
        Session.Prepare("select TCB_CODE from T_CORINE_BIO_ZH where ZH_CODE = '073ASTERS0001' order by TCB_CODE");
    while (Statement.Step()) Result.push_back(Statement.ColumnText(0));
    return Result;
  }

  // Three changes in the cache: 22.1 flagged, 53.1 deleted, 44.9 inserted.
  void CacheThreeChanges() {
    Detail->First();
    Detail->Edit();
    Detail->FieldByName("TCB_FLG")->SetAsBoolean(true);
    Detail->Post();
    Detail->Next();
    Detail->Delete();
    Detail->Append();
    Detail->FieldByName("TCB_CODE")->SetAsString("44.9");
    Detail->Post();
  }

  std::unique_ptr<TADODataSet> Master;
  std::unique_ptr<TDataSource> MasterSource;
  std::unique_ptr<TADODataSet> Detail;
};

TEST_F(ADOBatchTest, TheParameterFollowsTheMastersRow) {
  EXPECT_EQ(Detail->Parameters()->ParamByName("ZH_CODE")->Value().AsString(), "073ASTERS0001");
  EXPECT_EQ(Codes(), (std::vector<String>{"22.1", "53.1"}));
  Master->Next();
  EXPECT_EQ(Detail->Parameters()->ParamValues("ZH_CODE").AsString(), "073ASTERS0002");
  EXPECT_TRUE(Detail->IsEmpty());
  Master->Last();
  EXPECT_TRUE(Detail->IsEmpty());
  Master->First();
  EXPECT_EQ(Detail->RecordCount(), 2);
  // The master gone, the parameter is null and the detail empty.
  Master->Close();
  EXPECT_TRUE(VarIsNull(Detail->Parameters()->ParamValues("ZH_CODE")));
  EXPECT_TRUE(Detail->IsEmpty());
  Master->Open();
  EXPECT_EQ(Detail->RecordCount(), 2);
}

TEST_F(ADOBatchTest, NewDetailRowsTakeTheMastersKey) {
  Master->Next();
  Detail->Append();
  EXPECT_EQ(Detail->FieldByName("ZH_CODE")->AsString(), "073ASTERS0002");
  Detail->FieldByName("TCB_CODE")->SetAsString("22.1");
  Detail->Post();
  Detail->UpdateBatch(arAll);
  EXPECT_EQ(CountOf("select count(*) from T_CORINE_BIO_ZH where ZH_CODE = '073ASTERS0002' and TCB_CODE = '22.1'"), 1);
}

TEST_F(ADOBatchTest, ChangesWaitInTheCacheUntilTheBatchIsApplied) {
  CacheThreeChanges();
  EXPECT_TRUE(Detail->HasPendingChanges());
  EXPECT_EQ(Detail->RecordCount(), 2);  // the cached rows: one deleted, one inserted
  EXPECT_EQ(Codes(), (std::vector<String>{"22.1", "44.9"}));
  Detail->First();
  EXPECT_EQ(Detail->UpdateStatus(), usModified);
  EXPECT_FALSE(Detail->FieldByName("TCB_FLG")->OldValue().AsBoolean());
  Detail->Next();
  EXPECT_EQ(Detail->UpdateStatus(), usInserted);
  // Nothing has reached the file yet.
  EXPECT_EQ(FileCodes(), (std::vector<String>{"22.1", "53.1"}));
  EXPECT_FALSE(ReadBack("select TCB_FLG from T_CORINE_BIO_ZH where TCB_CODE = '22.1'").AsBoolean());

  Detail->UpdateBatch(arAll);
  EXPECT_FALSE(Detail->HasPendingChanges());
  EXPECT_EQ(FileCodes(), (std::vector<String>{"22.1", "44.9"}));
  EXPECT_TRUE(ReadBack("select TCB_FLG from T_CORINE_BIO_ZH where TCB_CODE = '22.1'").AsBoolean());
  EXPECT_EQ(ReadBack("select ZH_CODE from T_CORINE_BIO_ZH where TCB_CODE = '44.9'").AsString(), "073ASTERS0001");
  Detail->First();
  EXPECT_EQ(Detail->UpdateStatus(), usUnmodified);
  // Applied rows are ordinary rows again: a later change finds them by their new rowid.
  Detail->Last();
  Detail->Edit();
  Detail->FieldByName("TCB_FLG")->SetAsBoolean(true);
  Detail->Post();
  Detail->UpdateBatch(arAll);
  EXPECT_TRUE(ReadBack("select TCB_FLG from T_CORINE_BIO_ZH where TCB_CODE = '44.9'").AsBoolean());
}

TEST_F(ADOBatchTest, CancellingTheBatchRestoresTheRowsAsRead) {
  CacheThreeChanges();
  Detail->CancelBatch(arAll);
  EXPECT_FALSE(Detail->HasPendingChanges());
  EXPECT_EQ(Codes(), (std::vector<String>{"22.1", "53.1"}));
  Detail->First();
  EXPECT_FALSE(Detail->FieldByName("TCB_FLG")->AsBoolean());
  EXPECT_EQ(Detail->UpdateStatus(), usUnmodified);
  Detail->UpdateBatch(arAll);  // nothing left to write
  EXPECT_EQ(FileCodes(), (std::vector<String>{"22.1", "53.1"}));
  EXPECT_EQ(CountOf("select count(*) from T_CORINE_BIO_ZH where TCB_FLG = 1"), 1);
}

TEST_F(ADOBatchTest, AFailingBatchLeavesTheFileAndTheCacheAsTheyWere) {
  CacheThreeChanges();
  // A second 22.1 for the same wetland: refused by the table's unique rule, after the others.
  Detail->Append();
  Detail->FieldByName("TCB_CODE")->SetAsString("22.1");
  Detail->Post();
  const std::string Before = ReadRaw(DatabasePath);
  try {
    Detail->UpdateBatch(arAll);
    ADD_FAILURE() << "applied";
  } catch (EDatabaseError& E) {
    EXPECT_NE(E.Message.find("double"), String::npos) << E.Message;
  }
  EXPECT_EQ(ReadRaw(DatabasePath), Before);
  EXPECT_EQ(FileCodes(), (std::vector<String>{"22.1", "53.1"}));
  EXPECT_TRUE(Detail->HasPendingChanges());
  EXPECT_EQ(Codes(), (std::vector<String>{"22.1", "44.9", "22.1"}));
  Detail->First();
  EXPECT_EQ(Detail->UpdateStatus(), usModified);
  // Once the offending row is gone, the same cache applies.
  Detail->Last();
  Detail->Delete();
  Detail->UpdateBatch(arAll);
  EXPECT_EQ(FileCodes(), (std::vector<String>{"22.1", "44.9"}));
}

TEST_F(ADOBatchTest, MovingTheMasterDropsTheCacheOfTheRowsLeft) {
  CacheThreeChanges();
  Master->Next();
  Master->First();
  EXPECT_FALSE(Detail->HasPendingChanges());
  EXPECT_EQ(Codes(), (std::vector<String>{"22.1", "53.1"}));
}

TEST_F(ADOBatchTest, OnlyTheCurrentRowIsAppliedWhenAsked) {
  CacheThreeChanges();
  Detail->First();
  Detail->UpdateBatch(arCurrent);
  EXPECT_TRUE(ReadBack("select TCB_FLG from T_CORINE_BIO_ZH where TCB_CODE = '22.1'").AsBoolean());
  EXPECT_EQ(FileCodes(), (std::vector<String>{"22.1", "53.1"}));
  EXPECT_TRUE(Detail->HasPendingChanges());
}

// --- Post errors ---------------------------------------------------------------------------------------

class TPostErrorHandler : public TObject {
 public:
  TDataAction Action = daFail;
  std::vector<String> Seen;
  void PostError(TDataSet*, EDatabaseError* E, TDataAction& A) {
    Seen.push_back(E->Message);
    if (E->Message.find("doit avoir une valeur") != String::npos)
      E->Message = "Le code Corine BIOTOPE doit avoir une valeur";
    A = Action;
  }
};

TEST_F(ADOBatchTest, APostErrorHandlerRewritesTheMessageOrAbortsQuietly) {
  TPostErrorHandler Handler;
  Detail->OnPostError = TDataSetErrorEvent(&Handler, &TPostErrorHandler::PostError);
  Detail->FieldByName("TCB_CODE")->SetRequired(true);
  Detail->Append();
  try {
    Detail->Post();
    ADD_FAILURE() << "posted";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Le code Corine BIOTOPE doit avoir une valeur");
  }
  ASSERT_EQ(Handler.Seen.size(), 1u);
  EXPECT_NE(Handler.Seen[0].find("TCB_CODE"), String::npos);
  EXPECT_EQ(Detail->State(), dsInsert);

  Handler.Action = daAbort;
  EXPECT_THROW(Detail->Post(), EAbort);
  EXPECT_EQ(Detail->State(), dsInsert);
  Detail->Cancel();
}

TEST_F(ADOBatchTest, TheDatabasesOwnRefusalsGoThroughTheHandlerToo) {
  // An optimistic dataset writes at post: a duplicate key is the file's refusal.
  TPostErrorHandler Handler;
  Master->OnPostError = TDataSetErrorEvent(&Handler, &TPostErrorHandler::PostError);
  Master->Append();
  Master->FieldByName("ZH_CODE")->SetAsString("073asters0002");  // the same code, in other letters
  EXPECT_THROW(Master->Post(), EDatabaseError);
  ASSERT_EQ(Handler.Seen.size(), 1u);
  EXPECT_NE(Handler.Seen[0].find("ZH_CODE"), String::npos) << Handler.Seen[0];
  EXPECT_EQ(Master->State(), dsInsert);
  Master->Cancel();
  EXPECT_EQ(CountOf("select count(*) from T_ZONE_HUMIDE"), 3);
}

TEST_F(ADOBatchTest, EditingAnEmptyResultStartsARowThatNeedsItsKey) {
  // What the import does with a code missing from the file: the edit becomes an insert, and the
  // post is refused for want of ZH_CODE.
  auto Zone = OpenDataSet("select * from T_ZONE_HUMIDE where ZH_CODE = 'ABSENT'");
  Zone->Edit();
  EXPECT_EQ(Zone->State(), dsInsert);
  Zone->FieldByName("ZH_NBR_VEG")->SetAsString("");
  Zone->FieldByName("ZH_INF_VEG")->SetAsString("Notes");
  try {
    Zone->Post();
    ADD_FAILURE() << "posted";
  } catch (EDatabaseError& E) {
    EXPECT_NE(E.Message.find("doit avoir une valeur"), String::npos) << E.Message;
  }
  EXPECT_EQ(CountOf("select count(*) from T_ZONE_HUMIDE"), 3);
}

}  // namespace
