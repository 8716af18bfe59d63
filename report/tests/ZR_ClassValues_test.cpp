// Tests of the report's values with the French settings: the display formats of numbers, dates,
// times and booleans, the " #" format suffix of memo expressions, hidden zeros, the built-in names,
// the order in which names are resolved, self-referring variables, arrays and unknown functions.
#include <gtest/gtest.h>

#include "DateTimeFormat.h"
#include "FormatSettings.h"
#include "ZrReportFixture.h"

namespace {

TEST(ZrDisplayFormat, FrenchSettings) {
  FormatSettings = TFormatSettings::French();
  const TDateTime day = EncodeDate(1998, 11, 15);
  const TDateTime time = EncodeTime(14, 3, 5, 0);
  const String nbsp = "\xA0";
  struct Case {
    Variant Value;
    int Code;
    const char* Text;
    String Expected;
  };
  const Case cases[] = {
      // Category 0: the plain text of the value.
      {Variant(3.5), MakeFormatCode(zrfcText, 0, 2, ','), "", "3,5"},
      {Variant("Brière"_a), MakeFormatCode(zrfcText, 0, 2, ','), "", "Brière"_a},
      // Numbers: up to n decimals, exactly n, with thousands, custom; the separator of the code.
      {Variant(1234.5), MakeFormatCode(zrfcNumber, 0, 2, ','), "", "1234,5"},
      {Variant(3.5), MakeFormatCode(zrfcNumber, 1, 2, ','), "", "3,50"},
      {Variant(3.5), MakeFormatCode(zrfcNumber, 1, 2, '.'), "", "3.50"},
      {Variant(1234.5), MakeFormatCode(zrfcNumber, 2, 1, ','), "", "1" + nbsp + "234,5"},
      {Variant(1234.5), MakeFormatCode(zrfcNumber, 3, 2, ','), "", "1" + nbsp + "234,50"},
      {Variant(0.125), MakeFormatCode(zrfcNumber, zrfiCustom, 0, ','), "0.00", "0,13"},
      {Variant("abc"), MakeFormatCode(zrfcNumber, 1, 2, ','), "", "abc"},
      // Dates: the engine's patterns, the long date of the settings, a custom pattern.
      {Variant::FromDate(day), MakeFormatCode(zrfcDate, 0, 0, 0), "", "11.15.98"},
      {Variant::FromDate(day), MakeFormatCode(zrfcDate, 1, 0, 0), "", "11.15.1998"},
      {Variant::FromDate(day), MakeFormatCode(zrfcDate, 2, 0, 0), "", "15 nov. 1998"},
      {Variant::FromDate(day), MakeFormatCode(zrfcDate, 3, 0, 0), "", "dimanche 15 novembre 1998"},
      {Variant::FromDate(day), MakeFormatCode(zrfcDate, zrfiCustom, 0, 0), "dd/mm/yyyy", "15/11/1998"},
      {Variant::FromDate(time), MakeFormatCode(zrfcTime, 0, 0, 0), "", "14:03:05"},
      {Variant::FromDate(time), MakeFormatCode(zrfcTime, 2, 0, 0), "", "14:03"},
      {Variant::FromDate(EncodeTime(9, 3, 0, 0)), MakeFormatCode(zrfcTime, 3, 0, 0), "", "9:03"},
      // Booleans: the text for false, ';', the text for true.
      {Variant(true), MakeFormatCode(zrfcBoolean, 0, 0, 0), "", "1"},
      {Variant(false), MakeFormatCode(zrfcBoolean, 0, 0, 0), "", "0"},
      {Variant(true), MakeFormatCode(zrfcBoolean, 1, 0, 0), "", "Oui"},
      {Variant(false), MakeFormatCode(zrfcBoolean, 1, 0, 0), "", "Non"},
      {Variant(true), MakeFormatCode(zrfcBoolean, 2, 0, 0), "", "x"},
      {Variant(true), MakeFormatCode(zrfcBoolean, 3, 0, 0), "", "True"},
      {Variant(false), MakeFormatCode(zrfcBoolean, 3, 0, 0), "", "False"},
      {Variant(true), MakeFormatCode(zrfcBoolean, zrfiCustom, 0, 0), "non;oui", "oui"},
      {Variant(1), MakeFormatCode(zrfcBoolean, zrfiCustom, 0, 0), "non;oui", "oui"},
      {Variant(0), MakeFormatCode(zrfcBoolean, zrfiCustom, 0, 0), "non;oui", "non"},
      // Empty values print nothing whatever the format.
      {Variant(), MakeFormatCode(zrfcNumber, 1, 2, ','), "", ""},
      {Variant::Null(), MakeFormatCode(zrfcBoolean, 1, 0, 0), "", ""},
      {Variant("   "), MakeFormatCode(zrfcDate, 1, 0, 0), "", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TzrReport::ApplyDisplayFormat(c.Value, c.Code, c.Text), c.Expected)
        << VarToStr(c.Value) << " code " << std::hex << c.Code;
  EXPECT_EQ(FormatSettings.DecimalSeparator, ',') << "the separator is put back";
}

// Expressions of a memo, evaluated by a report with the memo as current object.
class ZrValues : public ZrReportTest {
 protected:
  void SetUp() override {
    ZrReportTest::SetUp();
    FormatSettings = TFormatSettings::French();
    Page = AddPage();
    Memo = AddMemo(Page, "Memo1", 0, 0, 100, 20, "");
    Report->MakeCurrent(true);
    Report->BindParser();
    zrEngine.CurView = Memo;
    zrEngine.ReportDate = EncodeDate(2004, 12, 31);
  }
  void TearDown() override {
    zrEngine.CurView = nullptr;
    ZrReportTest::TearDown();
  }
  String Eval(const String& Expression) { return Report->EvaluateExpression(Expression); }

  TzrPage* Page = nullptr;
  TzrMemoView* Memo = nullptr;
};

TEST_F(ZrValues, FormatSuffixOfTheExpression) {
  EXPECT_EQ(Eval("DATE #Ddd.mm.yyyy"), "31.12.2004") << "the first letter only selects the category";
  EXPECT_EQ(Eval("3.5 #N2,2"), "3,50");
  EXPECT_EQ(Eval("3.5 #N2.2"), "3.50");
  EXPECT_EQ(Eval("1234.5 #N#,##0.00"), "1\xA0" "234.50");
  EXPECT_EQ(Eval("1 = 1 #Bnon;oui"), "oui");
  EXPECT_EQ(Eval("1 = 2 #Bnon;oui"), "non");
  // A field of the fixture's query with its own format.
  Zones->First();
  EXPECT_EQ(Eval("[qZones.\"SURFACE\"] #N2,2"), "10,50");
  EXPECT_EQ(Eval("qZones.\"NOM\""), "Marais de Brière"_a);
}

TEST_F(ZrValues, HiddenZerosAndEmptyTexts) {
  Memo->Flags |= zrmfHideZeros;
  EXPECT_EQ(Eval("1 - 1"), "");
  EXPECT_EQ(Eval("'0'"), "0") << "a text 0 still prints";
  Memo->Flags &= ~zrmfHideZeros;
  EXPECT_EQ(Eval("1 - 1"), "0");
  EXPECT_EQ(Eval("''"), "");
}

TEST_F(ZrValues, BuiltInNamesAndReportInformation) {
  Report->Info.Name = "Fiche";
  Report->PageNo = 2;
  zrEngine.TotalPages = 7;
  EXPECT_EQ(Eval("PAGE#"), "3");
  EXPECT_EQ(Eval("TOTALPAGES"), "7");
  EXPECT_EQ(Eval("REPORTNAME"), "Fiche");
  EXPECT_EQ(Eval("DATE"), "31/12/2004");
  EXPECT_EQ(Eval("Memo1.Width"), "100") << "an object's property";
  EXPECT_EQ(Eval("clRed"), "255") << "a named constant";
  zrEngine.TotalPages = 0;
}

class TAnswers : public TObject {
 public:
  void GetValue(const String& Name, Variant& Value) {
    if (Name == "Total") Value = Variant(42);
  }
  void UserFunction(const String& Name, const Variant&, const Variant&, const Variant&, Variant& Val) {
    if (Name == "DOUBLE") Val = Variant(84);
  }
};

TEST_F(ZrValues, ApplicationAnswersFirst) {
  Report->Dictionary()->Variables()->SetByName("Total", Variant("1 + 1"));
  EXPECT_EQ(Eval("Total"), "2");
  TAnswers answers;
  Report->OnGetValue = TzrGetValueEvent(&answers, &TAnswers::GetValue);
  EXPECT_EQ(Eval("Total"), "42") << "OnGetValue stops every later rule";
  Report->OnGetValue = nullptr;
  EXPECT_EQ(Eval("INCONNUE(1)"), "0") << "a function nobody answers";
  Report->OnUserFunction = TzrFunctionEvent(&answers, &TAnswers::UserFunction);
  EXPECT_EQ(Eval("DOUBLE(1)"), "84");
}

TEST_F(ZrValues, VariableThatNeedsItselfIsAnError) {
  Report->Dictionary()->Variables()->SetByName("Boucle", Variant("Boucle + 1"));
  try {
    Eval("Boucle");
    FAIL() << "no error";
  } catch (const EzrParserError& e) {
    // The parser hands names over in upper case.
    EXPECT_EQ(e.Message, "Symbole non défini \"BOUCLE\""_a);
  }
  EXPECT_THROW(Eval("NomInconnu"), EzrParserError);
}

TEST_F(ZrValues, ArraysAreScriptVariables) {
  TzrParser* parser = zrGlobals().Parser();
  parser->Calculate("SETARRAY(T, 3, 5)");
  EXPECT_EQ(VarToStr(parser->Calculate("GETARRAY(T, 3)")), "5");
  EXPECT_EQ(VarToStr(zrGlobals().ScriptVariables()->GetByName("Arr_T_3")), "5");
  // A memo's lines through its list methods.
  parser->Calculate("SETARRAY(Memo1.Lines, 0, 'premier')");
  Memo->Memo()->SetText("a\r\nb");
  parser->Calculate("SETARRAY(Memo1.Memo, 1, 'deux')");
  EXPECT_EQ(Memo->Memo()->Strings(1), "deux");
  EXPECT_EQ(VarToStr(parser->Calculate("GETARRAY(Memo1.Memo, 0)")), "a");
}

}  // namespace
