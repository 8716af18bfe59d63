// Tests of the incremental search edit: typing on a shown form moves the dataset after a pause,
// once per burst; the completed match text; keys that start no search; an empty text; a text the
// field cannot hold; several fields at once; case; the application's own search; the warnings.
#include "ControlsTestSupport.h"

#include "Qvkeycb.h"
#include "Timer.h"

namespace {

// NOM (string 30), NUM (integer), DEPT (string 3); the names hold accents and an apostrophe.
class IncrementalSearchTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Data = std::make_unique<TSettingsDataSet>(
        std::vector<TColumn>{{"NOM", ftString, 30}, {"NUM", ftInteger}, {"DEPT", ftString, 3}});
    const struct { String Name; int Num; const char* Dept; } Rows[] = {
        {"Abbeville", 1, "80"}, {"DUPONT", 2, "75"}, {"Durand", 3, "13"},
        {"L'Isle-d'Abeau", 4, "38"}, {"Dupont", 5, "13"}, {"Zénith"_a, 6, "75"}};
    for (const auto& R : Rows) Data->AddRow({Variant(R.Name), Variant(R.Num), Variant(String(R.Dept))});
    Source = new TDataSource(Form.get());
    Source->SetDataSet(Data.get());
    Data->Open();
    Search = Add<TqvIncrementalSearch>(20, 20, 200, 22);
    Search->SetDataSource(Source);
    Search->SetSearchField("NOM");
    Search->OnAfterSearch = TqvAfterSearchEvent(this, &IncrementalSearchTest::AfterSearch);
    Other = Add<TEdit>(20, 80, 100, 22);
    ShowForm();
    ASSERT_TRUE(GiveFocus(Search));
  }
  void TearDown() override {
    StdFormTest::TearDown();
    Data.reset();
  }
  void AfterSearch(TqvIncrementalSearch*, bool MatchFound) { Results.push_back(MatchFound); }
  String Current(const char* Field) { return Data->FieldByName(Field)->AsString(); }
  // Types Text and waits for the search it starts.
  testing::AssertionResult TypeAndWait(const String& Text) {
    std::size_t Before = Results.size();
    TypeText(Text);
    return WaitFor("the search after typing", [&] { return Results.size() > Before && !Search->SearchTimer()->Enabled(); });
  }

  std::unique_ptr<TSettingsDataSet> Data;
  TDataSource* Source = nullptr;
  TqvIncrementalSearch* Search = nullptr;
  TEdit* Other = nullptr;
  std::vector<bool> Results;
};

TEST_F(IncrementalSearchTest, ABurstOfKeysRunsOneSearchAfterThePause) {
  ASSERT_TRUE(TypeAndWait("dur"));
  EXPECT_EQ(Current("NOM"), "Durand");
  ASSERT_EQ(Results.size(), 1u) << "one search for the burst of three keys";
  EXPECT_TRUE(Results[0]);
  EXPECT_EQ(Search->LastSearchedText(), "dur");
}

TEST_F(IncrementalSearchTest, AWaitingSearchRunsWhenFlushedAndOnlyOnce) {
  // A delay longer than any test: the search waits until it is flushed.
  Search->SearchDelay = 600000;
  TypeText("dur");
  ASSERT_TRUE(WaitFor("the timer started", [&] { return Search->SearchTimer()->Enabled() && Search->Text() == "dur"; }));
  EXPECT_EQ(Search->SearchTimer()->Interval(), 600000u);
  EXPECT_TRUE(Results.empty());
  Search->FlushPendingSearch();
  ASSERT_EQ(Results.size(), 1u);
  EXPECT_EQ(Current("NOM"), "Durand");
  EXPECT_FALSE(Search->SearchTimer()->Enabled());
  Search->FlushPendingSearch();
  EXPECT_EQ(Results.size(), 1u) << "nothing was waiting";
}

TEST_F(IncrementalSearchTest, TheSearchIsCaseInsensitiveUnlessAskedAndFindsAccentsAndApostrophes) {
  struct Case { TqvSearchCaseSensitivity Sensitivity; String Typed; bool Found; String Name; };
  const Case Cases[] = {
      {qvcsAutoDetect, "l'isle", true, "L'Isle-d'Abeau"},
      {qvcsAutoDetect, "zé"_a, true, "Zénith"_a},
      {qvcsCaseSensitive, "Dup", true, "Dupont"},
      {qvcsCaseSensitive, "dup", false, ""},
      {qvcsCaseInsensitive, "dup", true, "DUPONT"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Typed.c_str());
    Search->CaseSensitivity = C.Sensitivity;
    Data->First();
    Search->Clear();
    Results.clear();
    ASSERT_TRUE(TypeAndWait(C.Typed));
    EXPECT_EQ(Results.back(), C.Found);
    EXPECT_EQ(Current("NOM"), C.Found ? C.Name : String("Abbeville")) << "a failed search leaves the record";
  }
}

TEST_F(IncrementalSearchTest, ShowMatchTextCompletesTheTypedTextAndSelectsTheRest) {
  Search->ShowMatchText = true;
  ASSERT_TRUE(TypeAndWait("du"));
  EXPECT_EQ(Search->Text(), "DUPONT");
  EXPECT_EQ(Search->SelStart(), 2);
  EXPECT_EQ(Search->SelLength(), 4);
  // Backspace removes the completed part and starts no search.
  PressKey(VK_BACK);
  ASSERT_TRUE(WaitFor("the completion removed", [&] { return Search->Text() == "DU"; }));
  EXPECT_FALSE(Search->SearchTimer()->Enabled());
  EXPECT_EQ(Results.size(), 1u);
}

TEST_F(IncrementalSearchTest, KeysThatTypeNothingStartNoSearch) {
  ASSERT_TRUE(TypeAndWait("ab"));
  for (WORD Key : {WORD(VK_LEFT), WORD(VK_HOME), WORD(VK_SHIFT), WORD(VK_END)}) {
    PressKey(Key);
    PumpPending();
    EXPECT_FALSE(Search->SearchTimer()->Enabled()) << "key " << Key;
  }
  EXPECT_EQ(Results.size(), 1u);
}

TEST_F(IncrementalSearchTest, EmptyingTheTextGoesBackToTheFirstRecordWithoutReporting) {
  ASSERT_TRUE(TypeAndWait("z"));
  EXPECT_EQ(Current("NOM"), "Zénith"_a);
  PressKey(VK_BACK);
  ASSERT_TRUE(WaitFor("the first record", [&] { return Current("NOM") == "Abbeville" && !Search->SearchTimer()->Enabled(); }));
  EXPECT_EQ(Results.size(), 1u) << "no report for the empty text";
}

TEST_F(IncrementalSearchTest, ATextTheFieldCannotHoldFindsNothingAndDoesNotMove) {
  Search->SetSearchField("NUM");
  Data->Last();
  ASSERT_TRUE(TypeAndWait("x"));
  EXPECT_FALSE(Results.back());
  EXPECT_EQ(Current("NOM"), "Zénith"_a);
  Search->Clear();
  ASSERT_TRUE(TypeAndWait("3"));
  EXPECT_TRUE(Results.back());
  EXPECT_EQ(Current("NOM"), "Durand");
}

TEST_F(IncrementalSearchTest, SeveralFieldsAreSearchedTogether) {
  Search->SetSearchField("NOM;DEPT");
  ASSERT_TRUE(TypeAndWait("dupont;13"));
  EXPECT_TRUE(Results.back());
  EXPECT_EQ(Current("NUM"), "5") << "the second Dupont, the one of department 13";
  Search->Clear();
  Data->First();
  // A text whose only semicolon ends it names no single field of the dataset.
  ASSERT_TRUE(TypeAndWait("dupont;"));
  EXPECT_FALSE(Results.back());
}

TEST_F(IncrementalSearchTest, APictureMaskFiltersTheTypedKeysAndTheSearchFollows) {
  Search->SetSearchField("NUM");
  Search->PictureMask = "#";
  ASSERT_TRUE(TypeAndWait("x4"));
  EXPECT_EQ(Search->Text(), "4") << "the letter is refused by the mask";
  EXPECT_TRUE(Results.back());
  EXPECT_EQ(Current("NOM"), "L'Isle-d'Abeau");
}

class CustomSearchTest : public IncrementalSearchTest {
 protected:
  void Perform(TObject* Sender, TDataSet* Table, const String& Field, const String& Value, bool Lookup, bool& Found) {
    EXPECT_EQ(Sender, Search);
    EXPECT_EQ(Table, Data.get());
    EXPECT_FALSE(Lookup);
    Seen.push_back(Field + "=" + Value);
    Found = Value == "x";
  }
  void Install() { Search->OnPerformCustomSearch = TqvPerformSearchEvent(this, &CustomSearchTest::Perform); }
  std::vector<String> Seen;
};

TEST_F(CustomSearchTest, TheApplicationsSearchReplacesTheLibrarysAndReportsItsAnswer) {
  Search->SetSearchField("");
  Install();
  ASSERT_TRUE(TypeAndWait("x"));
  ASSERT_EQ(Seen.size(), 1u);
  EXPECT_EQ(Seen[0], "NOM=x") << "the first field when no search field is set";
  EXPECT_TRUE(Results.back());
  EXPECT_EQ(Current("NOM"), "Abbeville") << "the library's search did not run";
}

TEST_F(IncrementalSearchTest, SearchingWithoutDataSourceOrDatasetWarnsAndSearchesNothing) {
  Search->SetName("Recherche");
  Search->SetDataSource(nullptr);
  Script.Push(mrOk);
  TypeText("a");
  ASSERT_TRUE(WaitFor("the warning", [&] { return !Script.Asked.empty(); }));
  EXPECT_EQ(Script.Asked.back().Text, "DataSource not defined - object Recherche");
  TDataSource Empty(nullptr);
  Search->SetDataSource(&Empty);
  Script.Push(mrOk);
  TypeText("b");
  ASSERT_TRUE(WaitFor("the second warning", [&] { return Script.Asked.size() >= 2; }));
  EXPECT_EQ(Script.Asked.back().Text, "Dataset not defined for DataSource");
  EXPECT_FALSE(Search->SearchTimer()->Enabled());
  EXPECT_TRUE(Results.empty());
  Search->SetDataSource(nullptr);
}

}  // namespace
