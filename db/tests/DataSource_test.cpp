// Tests of TDataSource and the data links: state and data events, the links' window of records
// while scrolling, DisableControls, the field data link and master/detail re-selection.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "DataSet.h"
#include "DataSource.h"
#include "Field.h"
#include "TypInfo.h"
#include "VectorDataSet.h"

namespace {

using Events = std::vector<String>;

// A link that records its notifications.
class RecordingLink : public TDataLink {
 public:
  Events Items;
  using TDataLink::DataEvent;

 protected:
  void ActiveChanged() override { Items.push_back(Active() ? "Active" : "Inactive"); }
  void EditingChanged() override { Items.push_back(Editing() ? "Editing" : "NotEditing"); }
  void DataSetChanged() override { Items.push_back("DataSetChanged"); }
  void DataSetScrolled(int Distance) override { Items.push_back("Scrolled " + std::to_string(Distance)); }
  void RecordChanged(TField* Field) override {
    Items.push_back("RecordChanged " + (Field != nullptr ? Field->FieldName() : String("-")));
  }
  void LayoutChanged() override { Items.push_back("LayoutChanged"); }
  void CheckBrowseMode() override { Items.push_back("CheckBrowseMode"); }
  void UpdateData() override { Items.push_back("UpdateData"); }
};

class SourceWatcher : public TObject {
 public:
  Events Items;
  void StateChange(TObject* Sender) {
    Items.push_back("State " + String(EnumTypeInfo((TDataSetState*)nullptr).Ident(static_cast<TDataSource*>(Sender)->State())));
  }
  void DataChange(TObject*, TField* Field) { Items.push_back("Data " + (Field ? Field->FieldName() : String("-"))); }
  void UpdateData(TObject*) { Items.push_back("Update"); }
};

std::unique_ptr<TVectorDataSet> NumberedRows(int Count) {
  auto D = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"NUM", ftInteger}, {"LIB", ftString, 20}});
  for (int i = 1; i <= Count; ++i) D->AddRow({i, String("ligne ") + std::to_string(i)});
  return D;
}

TEST(DataSourceTest, FollowsTheDatasetStateAndReportsDataChanges) {
  auto D = NumberedRows(3);
  TDataSource S(nullptr);
  SourceWatcher W;
  S.OnStateChange = TNotifyEvent(&W, &SourceWatcher::StateChange);
  S.OnDataChange = TDataChangeEvent(&W, &SourceWatcher::DataChange);
  S.OnUpdateData = TNotifyEvent(&W, &SourceWatcher::UpdateData);
  S.SetDataSet(D.get());
  EXPECT_EQ(S.State(), dsInactive);

  D->Open();
  D->Next();
  D->Edit();
  D->FieldByName("LIB")->SetAsString("x");
  D->Post();
  EXPECT_EQ(W.Items, (Events{"State dsBrowse", "Data -", "Data -", "State dsEdit", "Data -", "Data LIB", "Update",
                             "State dsBrowse", "Data -"}));

  W.Items.clear();
  S.SetEnabled(false);
  EXPECT_EQ(S.State(), dsInactive);
  D->Next();
  S.SetEnabled(true);
  EXPECT_EQ(S.State(), dsBrowse);
  EXPECT_EQ(W.Items, (Events{"State dsInactive", "State dsBrowse", "Data -"}));
}

TEST(DataSourceTest, EditAsksTheDatasetOnlyWithAutoEdit) {
  auto D = NumberedRows(2);
  TDataSource S(nullptr);
  S.SetDataSet(D.get());
  D->Open();
  S.AutoEdit = false;
  S.Edit();
  EXPECT_EQ(D->State(), dsBrowse);
  S.AutoEdit = true;
  S.Edit();
  EXPECT_EQ(D->State(), dsEdit);
}

TEST(DataSourceTest, FreeingTheDatasetDetachesTheSourceAndItsLinks) {
  auto D = NumberedRows(2);
  TDataSource S(nullptr);
  RecordingLink L;
  L.SetDataSource(&S);
  S.SetDataSet(D.get());
  D->Open();
  EXPECT_TRUE(L.Active());
  D.reset();
  EXPECT_EQ(S.DataSet(), nullptr);
  EXPECT_EQ(S.State(), dsInactive);
  EXPECT_FALSE(L.Active());
}

TEST(DataSourceTest, PublishesItsProperties) {
  for (const char* Name : {"DataSet", "AutoEdit", "Enabled", "OnStateChange", "OnDataChange", "OnUpdateData"})
    EXPECT_NE(GetPropInfo(TDataSource::StaticClass(), Name), nullptr) << Name;
}

// --- The links' window of records ----------------------------------------------------------------

class LinkWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    D = NumberedRows(10);
    S = std::make_unique<TDataSource>(nullptr);
    S->SetDataSet(D.get());
    Grid.SetDataSource(S.get());
    Grid.SetBufferCount(3);
    D->Open();
    Grid.Items.clear();
  }

  // The NUM values the link sees, the way a grid reads its rows.
  std::vector<int> Window() {
    std::vector<int> Result;
    int Save = Grid.ActiveRecord();
    for (int i = 0; i < Grid.RecordCount(); ++i) {
      Grid.SetActiveRecord(i);
      Result.push_back(D->FieldByName("NUM")->AsInteger());
    }
    Grid.SetActiveRecord(Save);
    return Result;
  }

  std::unique_ptr<TVectorDataSet> D;
  std::unique_ptr<TDataSource> S;
  RecordingLink Grid;
};

TEST_F(LinkWindowTest, TheWindowFollowsTheActiveRecordWhileScrolling) {
  EXPECT_EQ(D->BufferCount(), 3);
  struct Step {
    const char* Name;
    std::function<void(TDataSet*)> Move;
    std::vector<int> Window;
    int Active;
    Events Notified;
  };
  std::vector<Step> Steps = {
      {"open", [](TDataSet*) {}, {1, 2, 3}, 0, {}},
      // Each move first asks the links to finish their edits (CheckBrowseMode).
      {"next", [](TDataSet* X) { X->Next(); }, {1, 2, 3}, 1, {"CheckBrowseMode", "Scrolled 0"}},
      {"next", [](TDataSet* X) { X->Next(); }, {1, 2, 3}, 2, {"CheckBrowseMode", "Scrolled 0"}},
      {"next past the window", [](TDataSet* X) { X->Next(); }, {2, 3, 4}, 2, {"CheckBrowseMode", "Scrolled 1"}},
      {"by 3", [](TDataSet* X) { X->MoveBy(3); }, {5, 6, 7}, 2, {"CheckBrowseMode", "Scrolled 3"}},
      {"prior", [](TDataSet* X) { X->Prior(); }, {5, 6, 7}, 1, {"CheckBrowseMode", "Scrolled 0"}},
      {"back by 3", [](TDataSet* X) { X->MoveBy(-3); }, {3, 4, 5}, 0, {"CheckBrowseMode", "Scrolled -2"}},
      {"last", [](TDataSet* X) { X->Last(); }, {8, 9, 10}, 2, {"CheckBrowseMode", "DataSetChanged"}},
      {"first", [](TDataSet* X) { X->First(); }, {1, 2, 3}, 0, {"CheckBrowseMode", "DataSetChanged"}},
  };
  for (const Step& St : Steps) {
    St.Move(D.get());
    EXPECT_EQ(Window(), St.Window) << St.Name;
    EXPECT_EQ(Grid.ActiveRecord(), St.Active) << St.Name;
    EXPECT_EQ(D->FieldByName("NUM")->AsInteger(), St.Window[std::size_t(St.Active)]) << St.Name;
    EXPECT_EQ(Grid.Items, St.Notified) << St.Name;
    Grid.Items.clear();
  }
}

TEST_F(LinkWindowTest, ASmallerLinkSeesItsOwnPartOfALargerWindow) {
  RecordingLink Control;  // one record, like an edit box
  Control.SetDataSource(S.get());
  D->MoveBy(4);  // the grid shows 3, 4, 5 with 5 active
  EXPECT_EQ(Window(), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(Control.RecordCount(), 1);
  EXPECT_EQ(Control.ActiveRecord(), 0);
  D->Prior();
  EXPECT_EQ(Control.ActiveRecord(), 0);
  EXPECT_EQ(D->FieldByName("NUM")->AsInteger(), 4);

  // Growing the grid's window fills it around the active record.
  Grid.SetBufferCount(5);
  EXPECT_EQ(D->BufferCount(), 5);
  std::vector<int> W = Window();
  ASSERT_EQ(W.size(), 5u);
  EXPECT_EQ(W[std::size_t(Grid.ActiveRecord())], 4);
  // Shrinking keeps the active record.
  Grid.SetBufferCount(2);
  EXPECT_EQ(D->BufferCount(), 2);
  W = Window();
  ASSERT_EQ(W.size(), 2u);
  EXPECT_EQ(W[std::size_t(Grid.ActiveRecord())], 4);
  EXPECT_EQ(D->FieldByName("NUM")->AsInteger(), 4);
}

// A window larger than the dataset (a grid taller than its records): cancelling an edit or a
// delete rereads the window around the same record.
TEST_F(LinkWindowTest, AWindowLargerThanTheRecordsKeepsItsRecordAfterCancelAndDelete) {
  Grid.SetBufferCount(17);
  D->MoveBy(3);
  ASSERT_EQ(D->FieldByName("NUM")->AsInteger(), 4);
  D->Edit();
  D->Cancel();
  EXPECT_EQ(D->FieldByName("NUM")->AsInteger(), 4);
  EXPECT_EQ(Window(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  D->Delete();
  EXPECT_EQ(D->FieldByName("NUM")->AsInteger(), 5);
  EXPECT_EQ(Window(), (std::vector<int>{1, 2, 3, 5, 6, 7, 8, 9, 10}));
}

TEST_F(LinkWindowTest, DisabledControlsHearNothingUntilOneChangeAtTheEnd) {
  D->DisableControls();
  D->DisableControls();
  EXPECT_TRUE(D->ControlsDisabled());
  D->Next();
  D->Edit();
  D->FieldByName("LIB")->SetAsString("y");
  D->Post();
  D->EnableControls();
  EXPECT_TRUE(Grid.Items.empty());
  D->EnableControls();
  EXPECT_FALSE(D->ControlsDisabled());
  EXPECT_EQ(Grid.Items, (Events{"DataSetChanged"}));
  EXPECT_EQ(Window(), (std::vector<int>{1, 2, 3}));

  // Closed meanwhile: the links learn the state, and no data change follows.
  Grid.Items.clear();
  D->DisableControls();
  D->Close();
  D->EnableControls();
  EXPECT_EQ(Grid.Items, (Events{"Inactive"}));
}

TEST_F(LinkWindowTest, LinksHearEditingAndUpdateAndCheckBrowseMode) {
  D->Edit();
  D->Post();
  EXPECT_EQ(Grid.Items, (Events{"CheckBrowseMode", "Editing", "RecordChanged -", "UpdateData", "CheckBrowseMode",
                                "NotEditing", "DataSetChanged"}));
}

// --- The field data link -------------------------------------------------------------------------

class FieldControl : public TObject {
 public:
  TFieldDataLink Link;
  Events Items;
  String Text;  // what the control shows
  FieldControl() {
    Link.OnDataChange = TNotifyEvent(this, &FieldControl::DataChange);
    Link.OnEditingChange = TNotifyEvent(this, &FieldControl::EditingChange);
    Link.OnUpdateData = TNotifyEvent(this, &FieldControl::UpdateData);
    Link.OnActiveChange = TNotifyEvent(this, &FieldControl::ActiveChange);
  }
  void DataChange(TObject*) {
    Items.push_back("data");
    Text = Link.Field() != nullptr ? Link.Field()->AsString() : String();
  }
  void EditingChange(TObject*) { Items.push_back(Link.Editing() ? "editing" : "browsing"); }
  void UpdateData(TObject*) {
    Items.push_back("update");
    Link.Field()->SetAsString(Text);
  }
  void ActiveChange(TObject*) { Items.push_back(Link.Active() ? "active" : "inactive"); }
};

TEST(FieldDataLinkTest, ShowsItsFieldAndWritesTheTypedValueBackOnPost) {
  auto D = NumberedRows(3);
  TDataSource S(nullptr);
  S.SetDataSet(D.get());
  FieldControl C;
  C.Link.SetFieldName("LIB");
  C.Link.SetDataSource(&S);
  EXPECT_EQ(C.Link.Field(), nullptr);

  D->Open();
  EXPECT_EQ(C.Link.Field(), D->FieldByName("LIB"));
  EXPECT_EQ(C.Text, "ligne 1");
  EXPECT_EQ(C.Items, (Events{"data", "active"}));

  C.Items.clear();
  D->Next();
  EXPECT_EQ(C.Text, "ligne 2");
  // A change of another field does not concern this control.
  D->Edit();
  C.Items.clear();
  D->FieldByName("NUM")->SetAsInteger(20);
  EXPECT_TRUE(C.Items.empty());

  // Typing: the control edits, marks itself modified, and the value is written at post.
  EXPECT_TRUE(C.Link.Edit());
  C.Text = "saisie";
  C.Link.Modified();
  D->Post();
  EXPECT_EQ(D->FieldByName("LIB")->AsString(), "saisie");
  EXPECT_EQ(C.Items, (Events{"update", "browsing", "data"}));

  // Without Modified nothing is written back.
  D->Edit();
  C.Text = "ignorée"_a;
  D->Post();
  EXPECT_EQ(D->FieldByName("LIB")->AsString(), "saisie");

  // A read-only field: the link refuses to edit.
  D->FieldByName("LIB")->SetReadOnly(true);
  EXPECT_FALSE(C.Link.CanModify());
  EXPECT_FALSE(C.Link.Edit());
  EXPECT_EQ(D->State(), dsBrowse);

  C.Items.clear();
  D->Close();
  EXPECT_EQ(C.Link.Field(), nullptr);
  EXPECT_EQ(C.Items, (Events{"data", "inactive"}));
}

TEST(FieldDataLinkTest, AMissingFieldNameRaisesWhenTheLinkBecomesActive) {
  auto D = NumberedRows(1);
  TDataSource S(nullptr);
  S.SetDataSet(D.get());
  TFieldDataLink Link;
  Link.SetDataSource(&S);
  D->Open();
  EXPECT_THROW(Link.SetFieldName("ABSENT"), EDatabaseError);
}

// --- Master and detail ---------------------------------------------------------------------------

class MasterDetailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Master = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"ZH_CODE", ftString, 10}, {"ZH_NOM", ftString, 30}});
    Master->AddRow({"Z1", "Zone un"});
    Master->AddRow({"Z2", "Zone deux"});
    Master->AddRow({"Z3", "Zone trois"});
    Detail = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"ZH_CODE", ftString, 10}, {"ESP", ftString, 20}});
    Detail->AddRow({"Z1", "héron"_a});
    Detail->AddRow({"Z2", "butor"});
    Detail->AddRow({"Z1", "aigrette"});
    Detail->AddRow({"Z3", "loutre"});
    MasterSource = std::make_unique<TDataSource>(nullptr);
    MasterSource->SetDataSet(Master.get());
    Detail->SetMasterSource(MasterSource.get());
    Detail->SetMasterFields("ZH_CODE");
    Master->Open();
    Detail->Open();
  }
  void TearDown() override {
    Detail.reset();
    MasterSource.reset();
  }

  std::vector<String> Species() {
    std::vector<String> Result;
    for (Detail->First(); !Detail->Eof(); Detail->Next()) Result.push_back(Detail->FieldByName("ESP")->AsString());
    return Result;
  }

  std::unique_ptr<TVectorDataSet> Master;
  std::unique_ptr<TDataSource> MasterSource;
  std::unique_ptr<TVectorDataSet> Detail;
};

TEST_F(MasterDetailTest, TheDetailReselectsOnEveryMasterScroll) {
  EXPECT_EQ(Detail->DataSource(), MasterSource.get());
  EXPECT_EQ(Species(), (std::vector<String>{"héron"_a, "aigrette"}));
  int Before = Detail->MasterChanges;
  Master->Next();
  EXPECT_EQ(Detail->MasterChanges, Before + 1);
  EXPECT_EQ(Detail->FieldByName("ESP")->AsString(), "butor");
  EXPECT_EQ(Detail->RecordCount(), 1);
  Master->Last();
  EXPECT_EQ(Species(), (std::vector<String>{"loutre"}));

  // Controls disabled on the master: no re-selection until they are enabled.
  Before = Detail->MasterChanges;
  Master->DisableControls();
  Master->First();
  EXPECT_EQ(Detail->MasterChanges, Before);
  Master->EnableControls();
  EXPECT_EQ(Detail->MasterChanges, Before + 1);
  EXPECT_EQ(Detail->FieldByName("ESP")->AsString(), String("héron"_a));
}

TEST_F(MasterDetailTest, NewDetailRowsTakeTheMasterKey) {
  Master->Next();  // Z2
  Detail->Append();
  EXPECT_EQ(Detail->FieldByName("ZH_CODE")->AsString(), "Z2");
  Detail->FieldByName("ESP")->SetAsString("castor");
  Detail->Post();
  EXPECT_EQ(Species(), (std::vector<String>{"butor", "castor"}));
  Master->First();
  EXPECT_EQ(Species(), (std::vector<String>{"héron"_a, "aigrette"}));
}

TEST_F(MasterDetailTest, ALinkBackToTheDetailIsCircular) {
  TDataSource DetailSource(nullptr);
  DetailSource.SetDataSet(Detail.get());
  try {
    Master->SetMasterSource(&DetailSource);
    FAIL() << "no exception";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, String(DBConsts::SCircularDataLink));
  }
  // The detail's own master source cannot be pointed at the detail either.
  EXPECT_THROW(MasterSource->SetDataSet(Detail.get()), EDatabaseError);
  EXPECT_EQ(MasterSource->DataSet(), Master.get());
}

}  // namespace
