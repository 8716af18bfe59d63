// Tests of TStrings/TStringList: text forms, name=value lines, lookup in the text order, sorted
// lists and duplicates, change events, owned objects, streams and files.
#include <gtest/gtest.h>

#include <vector>

#include "Exceptions.h"
#include "OsPort.h"
#include "Streams.h"
#include "Strings.h"
#include "TextOrder.h"

namespace {

using Lines = std::vector<String>;

Lines LinesOf(const TStrings& L) {
  Lines Result;
  for (int I = 0; I < L.Count(); ++I) Result.push_back(L[I]);
  return Result;
}

void Fill(TStrings& L, const Lines& Items) {
  L.Clear();
  for (const String& S : Items) L.Add(S);
}

// ---- Text, CommaText, DelimitedText --------------------------------------------------------

TEST(TStringsText, GetterEndsEveryLineWithCrLf) {
  struct Case {
    Lines Items;
    String Text;
  };
  const Case Cases[] = {
      {{}, ""},
      {{""}, "\r\n"},
      {{"a"}, "a\r\n"},
      {{"un", "", "trois"}, "un\r\n\r\ntrois\r\n"},
  };
  for (const Case& K : Cases) {
    TStringList L;
    Fill(L, K.Items);
    EXPECT_EQ(L.Text(), K.Text);
  }
}

TEST(TStringsText, SetterSplitsOnCrLfCrOrLf) {
  struct Case {
    String Text;
    Lines Items;
  };
  const Case Cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},   // the final line break closes the last line only
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},    // LF then CR: two breaks
      {"\r\n", {""}},
      {"x\r\n\r\n", {"x", ""}},
      {"d\xE9j\xE0 vu", {"d\xE9j\xE0 vu"}},  // 1252 bytes pass unchanged
  };
  for (const Case& K : Cases) {
    TStringList L;
    L.Add("old");
    L.SetText(K.Text);
    EXPECT_EQ(LinesOf(L), K.Items) << "text: " << K.Text;
  }
}

TEST(TStringsText, CommaTextQuotesWhatWouldSplit) {
  struct Case {
    Lines Items;
    String Comma;
  };
  const Case Cases[] = {
      {{}, ""},
      {{""}, "\"\""},  // one empty item still reads back as one item
      {{"a", "b", "c"}, "a,b,c"},
      {{"a b", "c"}, "\"a b\",c"},
      {{"x,y"}, "\"x,y\""},
      {{"dit \"oui\""}, "\"dit \"\"oui\"\"\""},
      {{"tab\there"}, "\"tab\there\""},
      {{"a", "", "b"}, "a,,b"},
      {{"a'b", "\xE9t\xE9"}, "a'b,\xE9t\xE9"},
  };
  for (const Case& K : Cases) {
    TStringList L;
    Fill(L, K.Items);
    EXPECT_EQ(L.CommaText(), K.Comma);
    // And it reads back to the same items.
    TStringList Back;
    Back.SetCommaText(L.CommaText());
    EXPECT_EQ(LinesOf(Back), K.Items) << "comma text: " << K.Comma;
  }
}

TEST(TStringsText, CommaTextSetterSplitsOnCommasAndBlanks) {
  struct Case {
    String Comma;
    Lines Items;
  };
  const Case Cases[] = {
      {"a,b", {"a", "b"}},
      {"a b", {"a", "b"}},          // unquoted blanks separate items
      {"  a , b  ", {"a", "b"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},            // a trailing comma closes an empty item
      {",a", {"", "a"}},
      {"\"a b\",c", {"a b", "c"}},
      {"\"a \"\"q\"\" b\"", {"a \"q\" b"}},
      {"\"open", {"open"}},         // an unclosed quote runs to the end
      {"\"a\"b", {"a", "b"}},       // text after the closing quote starts a new item
      {"", {}},
  };
  for (const Case& K : Cases) {
    TStringList L;
    L.SetCommaText(K.Comma);
    EXPECT_EQ(LinesOf(L), K.Items) << "comma text: " << K.Comma;
  }
}

TEST(TStringsText, DelimitedTextUsesDelimiterQuoteAndStrictness) {
  struct Case {
    char Delimiter;
    char Quote;
    bool Strict;
    String Text;
    Lines Items;
    String Back;  // what the items read back as
  };
  const Case Cases[] = {
      {';', '"', false, "a;b c;d", {"a", "b", "c", "d"}, "a;b;c;d"},
      {';', '"', true, "a;b c; d", {"a", "b c", " d"}, "a;b c; d"},
      {';', '\'', true, "'x;y';z", {"x;y", "z"}, "'x;y';z"},
      {'|', '"', true, "a,b|\"c|d\"", {"a,b", "c|d"}, "a,b|\"c|d\""},
      {'\t', '"', true, "Nom\tPr\xE9nom\t", {"Nom", "Pr\xE9nom", ""}, "Nom\tPr\xE9nom\t"},
  };
  for (const Case& K : Cases) {
    TStringList L;
    L.Delimiter = K.Delimiter;
    L.QuoteChar = K.Quote;
    L.StrictDelimiter = K.Strict;
    L.SetDelimitedText(K.Text);
    EXPECT_EQ(LinesOf(L), K.Items) << "text: " << K.Text;
    EXPECT_EQ(L.DelimitedText(), K.Back) << "text: " << K.Text;
    // CommaText ignores the list's own separators.
    TStringList C;
    C.SetCommaText(L.CommaText());
    EXPECT_EQ(LinesOf(C), K.Items) << "text: " << K.Text;
  }
}

// ---- name=value lines ----------------------------------------------------------------------

TEST(TStringsValues, NamesValuesAndSetValue) {
  TStringList L;
  Fill(L, {"Nom=Marais", "sans s\xE9parateur", "Surface=12=ha", "vide="});
  EXPECT_EQ(L.Names(0), "Nom");
  EXPECT_EQ(L.Names(1), "");
  EXPECT_EQ(L.ValueFromIndex(1), "");
  EXPECT_EQ(L.Values("Surface"), "12=ha");  // the first separator splits
  EXPECT_EQ(L.Values("SURFACE"), "12=ha");  // names compare without case
  EXPECT_EQ(L.Values("vide"), "");
  EXPECT_EQ(L.IndexOfName("vide"), 3);
  EXPECT_EQ(L.Values("absent"), "");
  EXPECT_EQ(L.IndexOfName("sans s\xE9parateur"), -1);

  L.SetValue("nom", "Tourbi\xE8re");  // replaces the line, with the name as given
  L.SetValue("Commune", "Arles");     // appends
  L.SetValue("Surface", "");          // deletes
  EXPECT_EQ(LinesOf(L), (Lines{"nom=Tourbi\xE8re", "sans s\xE9parateur", "vide=", "Commune=Arles"}));
  L.SetValue("absent", "");
  EXPECT_EQ(L.Count(), 4);

  L.NameValueSeparator = ':';
  L.SetValue("Code", "FR");
  EXPECT_EQ(L[4], "Code:FR");
  EXPECT_EQ(L.Values("Code"), "FR");
}

// ---- lookup, sorting, duplicates -----------------------------------------------------------

TEST(TStringListLookup, IndexOfFollowsTheTextOrderUnlessCaseSensitive) {
  TStringList L;
  Fill(L, {"fleuve", "\xE9" "cole", "Ecole", "MARAIS"});  // fleuve, école, Ecole, MARAIS
  EXPECT_EQ(L.IndexOf("marais"), 3);
  EXPECT_EQ(L.IndexOf("\xC9" "COLE"), 1);  // ÉCOLE matches école: case never counts
  EXPECT_EQ(L.IndexOf("ecole"), 2);        // accents do count
  EXPECT_EQ(L.IndexOf("lac"), -1);
  L.SetCaseSensitive(true);
  EXPECT_EQ(L.IndexOf("marais"), -1);
  EXPECT_EQ(L.IndexOf("MARAIS"), 3);
  EXPECT_EQ(L.IndexOf("\xC9" "COLE"), -1);
}

TEST(TStringListLookup, SortedListKeepsTheTextOrderAndFindsByBinarySearch) {
  TStringList L;
  L.SetSorted(true);
  for (const char* S : {"fleuve", "\xE9tang", "Zone", "\xE9" "cole", "abri", "Marais"}) L.Add(S);
  EXPECT_EQ(LinesOf(L), (Lines{"abri", "\xE9" "cole", "\xE9tang", "fleuve", "Marais", "Zone"}));

  struct Case {
    String S;
    bool Found;
    int Index;
  };
  const Case Cases[] = {
      {"abri", true, 0}, {"ABRI", true, 0}, {"\xC9TANG", true, 2}, {"zone", true, 5},
      {"a", false, 0},   {"etang", false, 2}, {"g", false, 4},     {"zzz", false, 6},
  };
  for (const Case& K : Cases) {
    int Index = -1;
    EXPECT_EQ(L.Find(K.S, Index), K.Found) << K.S;
    EXPECT_EQ(Index, K.Index) << K.S;
    EXPECT_EQ(L.IndexOf(K.S), K.Found ? K.Index : -1) << K.S;
  }

  // Case-sensitive: "Marais" and "marais" are two entries, lower case first.
  L.SetCaseSensitive(true);
  L.Add("marais");
  EXPECT_EQ(L.IndexOf("marais"), 4);
  EXPECT_EQ(L.IndexOf("Marais"), 5);
}

TEST(TStringListLookup, FindReturnsTheFirstOfEqualLines) {
  TStringList L;
  L.SetSorted(true);
  L.Duplicates = dupAccept;
  for (const char* S : {"b", "a", "B", "c", "b"}) L.Add(S);
  int Index = -1;
  ASSERT_TRUE(L.Find("b", Index));
  EXPECT_EQ(Index, 1);
  EXPECT_EQ(L.Count(), 5);
}

TEST(TStringListLookup, DuplicatesPolicyAppliesToSortedListsOnly) {
  struct Case {
    TDuplicates Policy;
    bool Sorted;
    bool Raises;
    int Count;
  };
  const Case Cases[] = {
      {dupIgnore, true, false, 2}, {dupAccept, true, false, 3}, {dupError, true, true, 2},
      {dupIgnore, false, false, 3}, {dupError, false, false, 3},
  };
  for (const Case& K : Cases) {
    TStringList L;
    L.Duplicates = K.Policy;
    L.SetSorted(K.Sorted);
    L.Add("Lac");
    L.Add("Mare");
    int Index = -1;
    if (K.Raises) {
      EXPECT_THROW(L.Add("LAC"), EStringListError) << K.Policy;
    } else {
      Index = L.Add("LAC");
    }
    EXPECT_EQ(L.Count(), K.Count) << K.Policy << " sorted " << K.Sorted;
    if (K.Policy == dupIgnore && K.Sorted) {
      EXPECT_EQ(Index, 0);  // the index of the line already there
      EXPECT_EQ(L[0], "Lac");
    }
  }
}

TEST(TStringListLookup, SortedListRefusesPositionalChanges) {
  TStringList L;
  L.SetSorted(true);
  L.Add("b");
  L.Add("a");
  EXPECT_THROW(L.Insert(0, "c"), EStringListError);
  EXPECT_THROW(L.Put(0, "c"), EStringListError);
  EXPECT_THROW(L.Move(0, 1), EStringListError);
  EXPECT_EQ(LinesOf(L), (Lines{"a", "b"}));
  // Unsorting leaves the order; positional changes work again.
  L.SetSorted(false);
  L.Insert(0, "c");
  EXPECT_EQ(LinesOf(L), (Lines{"c", "a", "b"}));
}

TEST(TStringListLookup, SortIsStableAndCustomSortComparesByIndex) {
  TStringList L;
  Fill(L, {"b1", "A", "a", "B", "\xE0"});  // à
  // Sort on the first letter only: equal keys must keep their order.
  L.CustomSort([](TStringList* List, int I1, int I2) {
    return int(static_cast<unsigned char>(List->Strings(I1)[0])) -
           int(static_cast<unsigned char>(List->Strings(I2)[0]));
  });
  EXPECT_EQ(LinesOf(L), (Lines{"A", "B", "a", "b1", "\xE0"}));
  Fill(L, {"b", "A", "a", "B"});
  L.Sort();  // "A" and "a" are equal without case: they keep their order
  EXPECT_EQ(LinesOf(L), (Lines{"A", "a", "b", "B"}));
  L.SetSorted(true);
  L.CustomSort([](TStringList*, int I1, int I2) { return I2 - I1; });  // ignored when sorted
  EXPECT_EQ(LinesOf(L), (Lines{"A", "a", "b", "B"}));
  L.SetCaseSensitive(true);  // re-sorts: lower case first
  EXPECT_EQ(LinesOf(L), (Lines{"a", "A", "b", "B"}));

  // Long enough that an unstable sort would reorder equal lines.
  TStringList Many;
  std::vector<TObject> Tags(60);
  for (int I = 0; I < 60; ++I) Many.AddObject(I % 3 == 0 ? "y" : (I % 2 ? "x" : "X"), &Tags[std::size_t(I)]);
  Many.Sort();
  TObject* Previous = nullptr;
  for (int I = 0; I < Many.Count(); ++I) {
    if (I > 0 && AnsiSameText(Many[I], Many[I - 1])) {
      EXPECT_LT(Previous, Many.Objects(I)) << "line " << I << " moved ahead of an equal line";
    }
    Previous = Many.Objects(I);
  }
}

TEST(TStringListLookup, BadIndexRaisesStringListError) {
  TStringList L;
  L.Add("a");
  EXPECT_THROW(L.Get(1), EStringListError);
  EXPECT_THROW(L.Objects(-1), EStringListError);
  EXPECT_THROW(L.Delete(1), EStringListError);
  EXPECT_THROW(L.Insert(2, "x"), EStringListError);
  EXPECT_THROW(L.Exchange(0, 1), EStringListError);
  try {
    L.Put(3, "x");
    ADD_FAILURE() << "no exception";
  } catch (const EStringListError& E) {
    EXPECT_EQ(E.Message, "Index de liste hors limites (3)");
  }
}

// ---- change events -------------------------------------------------------------------------

class TChangeCounter : public TObject {
 public:
  int Changing = 0;
  int Changed = 0;
  int ChangedWhileChanging = 0;  // Changed fired with no Changing before it
  void OnChanging(TObject*) { ++Changing; }
  void OnChange(TObject*) {
    if (Changed >= Changing) ++ChangedWhileChanging;
    ++Changed;
  }
};

// A list of three lines whose events are counted.
class TStringListEvents : public ::testing::Test {
 protected:
  TStringListEvents() {
    Fill(List, {"b", "a", "c"});
    List.OnChanging = TNotifyEvent(&Counter, &TChangeCounter::OnChanging);
    List.OnChange = TNotifyEvent(&Counter, &TChangeCounter::OnChange);
  }
  TStringList List;
  TChangeCounter Counter;
};

TEST(TStringListEventsTable, EachChangeFiresOncePair) {
  struct Case {
    const char* What;
    void (*Call)(TStringList&);
    int Expected;
  };
  const Case Cases[] = {
      {"Add", [](TStringList& L) { L.Add("d"); }, 1},
      {"Insert", [](TStringList& L) { L.Insert(0, "d"); }, 1},
      {"AddObject", [](TStringList& L) { L.AddObject("d", &L); }, 1},
      {"Put", [](TStringList& L) { L.Put(0, "d"); }, 1},
      {"PutObject", [](TStringList& L) { L.PutObject(0, &L); }, 1},
      {"Delete", [](TStringList& L) { L.Delete(0); }, 1},
      {"Exchange", [](TStringList& L) { L.Exchange(0, 2); }, 1},
      {"Move", [](TStringList& L) { L.Move(0, 2); }, 1},
      {"Clear", [](TStringList& L) { L.Clear(); }, 1},
      {"Sort", [](TStringList& L) { L.Sort(); }, 1},
      {"SetSorted", [](TStringList& L) { L.SetSorted(true); }, 1},
      {"SetText", [](TStringList& L) { L.SetText("x\r\ny\r\nz"); }, 1},
      {"SetCommaText", [](TStringList& L) { L.SetCommaText("x,y"); }, 1},
      {"SetValue", [](TStringList& L) { L.SetValue("k", "v"); }, 2},  // add, then put
      {"empty BeginUpdate/EndUpdate", [](TStringList& L) { L.BeginUpdate(); L.EndUpdate(); }, 1},
      {"Clear of an empty list", [](TStringList& L) { L.Clear(); L.Clear(); }, 1},
      {"Get", [](TStringList& L) { (void)L.Get(0); }, 0},
  };
  for (const Case& K : Cases) {
    TStringList List;
    Fill(List, {"b", "a", "c"});
    TChangeCounter Counter;
    List.OnChanging = TNotifyEvent(&Counter, &TChangeCounter::OnChanging);
    List.OnChange = TNotifyEvent(&Counter, &TChangeCounter::OnChange);
    K.Call(List);
    EXPECT_EQ(Counter.Changing, K.Expected) << K.What;
    EXPECT_EQ(Counter.Changed, K.Expected) << K.What;
    EXPECT_EQ(Counter.ChangedWhileChanging, 0) << K.What;
  }
}

TEST_F(TStringListEvents, UpdateBlockFiresOncePairNestingIncluded) {
  List.BeginUpdate();
  EXPECT_EQ(Counter.Changing, 1);  // fires when the block opens
  List.Add("d");
  List.BeginUpdate();
  List.Delete(0);
  List.Put(0, "e");
  List.EndUpdate();
  List.Sort();
  EXPECT_EQ(Counter.Changed, 0);
  List.EndUpdate();
  EXPECT_EQ(Counter.Changing, 1);
  EXPECT_EQ(Counter.Changed, 1);
  EXPECT_EQ(List.UpdateCount(), 0);
  List.Add("f");
  EXPECT_EQ(Counter.Changed, 2);
}

TEST_F(TStringListEvents, OnChangeSeesTheNewContent) {
  class TWatcher : public TObject {
   public:
    String Seen;
    void Handler(TObject* Sender) { Seen = static_cast<TStringList*>(Sender)->CommaText(); }
  } Watcher;
  List.OnChange = TNotifyEvent(&Watcher, &TWatcher::Handler);
  List.Put(1, "z");
  EXPECT_EQ(Watcher.Seen, "b,z,c");
}

// ---- objects -------------------------------------------------------------------------------

class TTracked : public TObject {
 public:
  explicit TTracked(int& Alive) : FAlive(Alive) { ++FAlive; }
  ~TTracked() override { --FAlive; }

 private:
  int& FAlive;
};

TEST(TStringListObjects, ObjectsTravelWithTheirLines) {
  TObject X, Y, Z;
  TStringList L;
  L.AddObject("y", &Y);
  L.AddObject("x", &X);
  L.InsertObject(0, "z", &Z);
  EXPECT_EQ(L.Objects(0), &Z);
  EXPECT_EQ(L.IndexOfObject(&X), 2);
  L.Sort();
  EXPECT_EQ(LinesOf(L), (Lines{"x", "y", "z"}));
  EXPECT_EQ(L.Objects(0), &X);
  EXPECT_EQ(L.Objects(2), &Z);
  L.Move(2, 0);
  L.Exchange(1, 2);
  EXPECT_EQ(L.Objects(0), &Z);
  EXPECT_EQ(L.Objects(1), &Y);
  EXPECT_EQ(L.Objects(2), &X);

  TStringList Copy;
  Copy.Delimiter = ';';
  L.Delimiter = '|';
  Copy.Add("old");
  Copy.Assign(&L);
  EXPECT_EQ(LinesOf(Copy), LinesOf(L));
  EXPECT_EQ(Copy.Objects(2), &X);
  EXPECT_EQ(Copy.Delimiter, '|');
  EXPECT_TRUE(Copy.Equals(&L));
  Copy.AddStrings(&L);
  EXPECT_EQ(Copy.Count(), 6);
  EXPECT_EQ(Copy.Objects(5), &X);
  EXPECT_FALSE(Copy.Equals(&L));
}

TEST(TStringListObjects, OwnedObjectsAreFreedByDeleteClearAndDestructorOnly) {
  int Alive = 0;
  {
    TStringList L;
    L.OwnsObjects = true;
    for (const char* S : {"a", "b", "c", "d", "e"}) L.AddObject(S, new TTracked(Alive));
    L.Delete(0);
    EXPECT_EQ(Alive, 4);
    L.Move(0, 3);       // moving keeps the object
    L.Exchange(0, 1);
    L.Sort();
    EXPECT_EQ(Alive, 4);
    L.Delete(3);
    EXPECT_EQ(Alive, 3);
    TStringList Other;  // not owning: its copies are not freed by it
    Other.Assign(&L);
    L.Clear();
    EXPECT_EQ(Alive, 0);
    L.AddObject("f", new TTracked(Alive));
    L.AddObject("g", new TTracked(Alive));
  }
  EXPECT_EQ(Alive, 0);

  TStringList NotOwning;
  TTracked Kept(Alive);
  NotOwning.AddObject("k", &Kept);
  NotOwning.Clear();
  EXPECT_EQ(Alive, 1);
}

// ---- streams and files ---------------------------------------------------------------------

TEST(TStringsStreams, SaveAndLoadThroughAStreamKeepBytes) {
  TStringList L;
  Fill(L, {"Zone humide", "", "\xC9tang \x80 5"});  // 1252 É and €
  TStringStream S;
  L.SaveToStream(&S);
  EXPECT_EQ(S.DataString(), "Zone humide\r\n\r\n\xC9tang \x80 5\r\n");

  // Loading reads from the stream's position to its end.
  TStringStream In("skip|a\nb\r\nc");
  In.SetPosition(5);
  TStringList Back;
  Back.Add("old");
  Back.LoadFromStream(&In);
  EXPECT_EQ(LinesOf(Back), (Lines{"a", "b", "c"}));
}

TEST(TStringsStreams, FileRoundTripAndMissingFile) {
  String Folder = OsPort::TempFolder();
  String Name = Folder + "strings_test_" + std::to_string(OsPort::TickCount()) + ".txt";
  TStringList L;
  Fill(L, {"premi\xE8re", "deuxi\xE8me", ""});
  L.SaveToFile(Name);
  {
    TFileStream F(Name, fmOpenRead);
    EXPECT_EQ(F.Size(), std::int64_t(L.Text().size()));
  }
  TStringList Back;
  Back.LoadFromFile(Name);
  EXPECT_TRUE(Back.Equals(&L));
  EXPECT_TRUE(OsPort::DeleteFile(Name));
  EXPECT_THROW(Back.LoadFromFile(Name), EFOpenError);
  EXPECT_EQ(Back.Count(), 3);  // a failed load leaves the list alone
}

}  // namespace
