// Tests of the locate object: which row a search makes current and where the cursor stays when
// nothing matches, the conversion check of number fields, and the factory.
#include <gtest/gtest.h>

#include <memory>

#include "Field.h"
#include "OxLocate.h"
#include "VectorDataSet.h"

namespace {

// Searches every row itself, as it does for calculated and lookup fields.
class TScanOnly : public TOxDBLocate {
 protected:
  bool CanUseFilter() override { return false; }
};

// Codes, labels and a number per row; the cursor starts on the fourth row.
class OxLocateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Data = std::make_unique<TVectorDataSet>(
        std::vector<TColumn>{{"CODE", ftString, 6}, {"LIB", ftString, 20}, {"N", ftInteger}, {"S", ftSmallint}});
    Data->AddRow({Variant("A01"), Variant("Étang"_a), Variant(12), Variant(1)});
    Data->AddRow({Variant("B01"), Variant("Marais"), Variant(7), Variant(2)});
    Data->AddRow({Variant("B02"), Variant("marécage"_a), Variant(40), Variant(3)});
    Data->AddRow({Variant("C01"), Variant("Tourbière"_a), Variant(3), Variant(4)});
    Data->AddRow({Variant("C02"), Variant("Lagune"), Variant(120), Variant(5)});
    Data->Open();
    Data->MoveBy(3);
    Locate.reset(NewLocateObject(Data.get()));
  }
  String Current(const char* Field = "CODE") { return Data->FieldByName(Field)->AsString(); }

  std::unique_ptr<TVectorDataSet> Data;
  std::unique_ptr<TOxLocateObject> Locate;
};

TEST_F(OxLocateTest, FindsTheRowOrLeavesTheCursorWhereItWas) {
  struct Case {
    const char* Field;
    String Value;
    bool Exact;
    bool CaseSensitive;
    bool Found;
    const char* Row;  // the current code afterwards
  };
  const Case cases[] = {
      // A prefix search for nothing matches the current row at once.
      {"CODE", "", false, false, true, "C01"},
      {"CODE", "B02", true, false, true, "B02"},
      {"CODE", "b0", false, false, true, "B01"},
      {"CODE", "b0", false, true, false, "C01"},
      {"CODE", "B", true, false, false, "C01"},
      // Accents count, case does not, unless asked.
      {"LIB", "MARÉ"_a, false, false, true, "B02"},
      {"LIB", "mare"_a, false, false, false, "C01"},
      {"LIB", "lagune", true, false, true, "C02"},
      {"LIB", "lagune", true, true, false, "C01"},
      {"LIB", "Lag", false, true, true, "C02"},
      // Number fields compare whole values whatever is asked.
      {"N", "40", true, false, true, "B02"},
      {"N", "12", false, false, true, "A01"},
      {"N", "99", true, false, false, "C01"},
      // A text that is not a number of the field's kind matches nothing, and leaves the cursor.
      {"N", "abc", false, false, false, "C01"},
      {"N", "1,5", true, false, false, "C01"},
      {"S", "70000", true, false, false, "C01"},
      {"S", "5", true, false, true, "C02"},
  };
  TScanOnly scan;
  scan.SetDataSet(Data.get());
  for (TOxLocateObject* locate : {Locate.get(), static_cast<TOxLocateObject*>(&scan)}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(String(locate == &scan ? "scan: " : "filter: ") + c.Field + " = '" + c.Value + "'");
      Data->First();
      Data->MoveBy(3);
      EXPECT_EQ(locate->Locate(c.Field, c.Value, c.Exact, c.CaseSensitive), c.Found);
      EXPECT_EQ(Current(), c.Row);
    }
  }
}

TEST_F(OxLocateTest, ASearchEditsNothingAndAnUnknownFieldRaises) {
  Data->Edit();
  Data->FieldByName("LIB")->SetAsString("Tourbe");
  // The search posts the edit first, as any move does.
  EXPECT_TRUE(Locate->Locate("CODE", "A01", true, false));
  EXPECT_EQ(Data->State(), dsBrowse);
  EXPECT_TRUE(Locate->Locate("LIB", "Tourbe", true, false));
  EXPECT_EQ(Current(), "C01");
  EXPECT_THROW(Locate->Locate("ZZZ", "A01", true, false), EDatabaseError);
  EXPECT_EQ(Current(), "C01");
}

TEST_F(OxLocateTest, NoDatasetOrAnEmptyOneFindsNothing) {
  std::unique_ptr<TOxLocateObject> detached(NewLocateObject());
  EXPECT_FALSE(detached->Locate("CODE", "A01", true, false));

  TVectorDataSet empty({{"CODE", ftString, 6}});
  empty.Open();
  Locate->SetDataSet(&empty);
  EXPECT_EQ(Locate->DataSet(), &empty);
  EXPECT_FALSE(Locate->Locate("CODE", "A01", true, false));
  EXPECT_FALSE(Locate->Locate("CODE", "", false, false));
  EXPECT_TRUE(empty.Bof() && empty.Eof());
  EXPECT_TRUE(empty.IsEmpty());
}

TEST_F(OxLocateTest, TheSearchOfTheControlsIsTheConvertingKindUnlessTheFactoryIsEmpty) {
  EXPECT_TRUE(Locate->InheritsFrom(TOxDBLocate::StaticClass()));
  TOxLocateObjectFactory saved = LocateObjectFactory;
  LocateObjectFactory = nullptr;
  std::unique_ptr<TOxLocateObject> plain(NewLocateObject(Data.get()));
  LocateObjectFactory = saved;
  EXPECT_EQ(plain->ClassType(), TOxLocateObject::StaticClass());
  EXPECT_EQ(plain->DataSet(), Data.get());
  EXPECT_TRUE(plain->Locate("CODE", "c02", true, false));
  EXPECT_EQ(Current(), "C02");
}

// The conversion check on its own: the message names the text and the field.
class TCheckProbe : public TOxDBLocate {
 public:
  void Check(TField* Field, const String& Text) {
    SearchText = Text;
    CheckValue(Field);
  }
};

TEST_F(OxLocateTest, TheConversionCheckRefusesWhatTheFieldCannotHold) {
  TCheckProbe probe;
  try {
    probe.Check(Data->FieldByName("N"), "abc");
    ADD_FAILURE() << "no error for a text in an integer field";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message, "'abc' n'est pas une valeur entière correcte pour le champ 'N'"_a);
  }
  EXPECT_THROW(probe.Check(Data->FieldByName("S"), "40000"), EDatabaseError);
  EXPECT_NO_THROW(probe.Check(Data->FieldByName("S"), "-32768"));
  EXPECT_NO_THROW(probe.Check(Data->FieldByName("N"), "-12"));
  EXPECT_NO_THROW(probe.Check(Data->FieldByName("CODE"), "anything"));
}

}  // namespace
