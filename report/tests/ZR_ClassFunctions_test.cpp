// Tests of the function libraries: the standard functions under both decimal separators, the
// aggregates against a fake band engine, FIELDISNULL, the description registry and the aggregate
// splitter.
#include "ZR_ClassFunctions.h"

#include <gtest/gtest.h>

#include <map>

#include "../../db/tests/VectorDataSet.h"
#include "DateTimeFormat.h"
#include "FormatSettings.h"
#include "Modules.h"
#include "StrUtils.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassGlobals.h"
#include "ZR_DBSet.h"

namespace {

// A band of the fake band engine: its aggregate storage, recording every write.
class TFakeBand : public TzrAggregateBand {
 public:
  TFakeBand(String AName, int AType, std::vector<String>* ALog) : Name(std::move(AName)), Type(AType), Log(ALog) {}
  String BandName() override { return Name; }
  int BandType() override { return Type; }
  bool HasCross() override { return Cross; }
  TzrAggregateBand* AggregateBand() override { return Source; }
  void SetAggregateBand(TzrAggregateBand* Band) override {
    Log->push_back(Name + " aggregates over " + Band->BandName());
    Source = Band;
  }
  void SetAggregate(const String& Key, const Variant& Value) override {
    Log->push_back(Name + " set " + Key + "=" + VarToStr(Value));
    Values[Key] = Value;
  }
  Variant GetAggregate(const String& Key) override {
    Log->push_back(Name + " get " + Key);
    auto it = Values.find(Key);
    return it == Values.end() ? Variant() : it->second;
  }

  String Name;
  int Type;
  bool Cross = false;
  TzrAggregateBand* Source = nullptr;
  std::map<String, Variant> Values;
  std::vector<String>* Log;
};

// The report being built, as the engine helpers ask it.
class TFakeHost : public TzrEngineHost {
 public:
  TComponent* Owner = nullptr;
  bool UseDefault = false;
  int BandType = -1;
  TzrDataset* PageSource = nullptr;
  TzrAggregateBand* Current = nullptr;
  TzrAggregateBand* Target = nullptr;
  int Column = 0;

  TComponent* ReportOwner() override { return Owner; }
  String ReportName() override { return "zrTest"; }
  bool UseDefaultDataSetName() override { return UseDefault; }
  TzrDataset* ReportDataSource() override { return nullptr; }
  void Terminate() override {}
  int PrintingBandType() override { return BandType; }
  bool PageDataBandSource(int, TzrDataset*& Source) override {
    Source = PageSource;
    return PageSource != nullptr;
  }
  bool CurrentObject(String&, TStrings*) override { return false; }
  TzrAggregateBand* AggregateCurrentBand() override { return Current; }
  TzrAggregateBand* AggregateTargetBand() override { return Target; }
  int ColumnPosition() override { return Column; }
};

// Answers the message and input boxes, recording the questions.
class TScriptedDialogs : public TzrUserDialogs {
 public:
  std::vector<String> Log;
  int MessageBox(const String& Text, const String& Caption, int Flags) override {
    Log.push_back("message " + Text + "|" + Caption + "|" + IntToStr(Flags));
    return 6;
  }
  String InputBox(const String& Caption, const String& Prompt, const String& Default) override {
    Log.push_back("input " + Caption + "|" + Prompt + "|" + Default);
    return "Martin";
  }
};

// Routes the global parser's calls to the installed libraries, as the report does while it builds.
class TLibraryRouter : public TObject {
 public:
  void Call(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val) {
    if (!CallLibraryFunction(Name, p1, p2, p3, Val)) Val = Variant("unknown " + Name);
  }
};

class ZrFunctions : public ::testing::Test {
 protected:
  ZrFunctions() {
    Parser = zrGlobals().Parser();
    Parser->OnFunction = TzrFunctionEvent(&Router, &TLibraryRouter::Call);
    zrEngine.Host = &Host;
    zrEngine.Dialogs = &Dialogs;
  }
  ~ZrFunctions() override {
    Parser->OnFunction = TzrFunctionEvent();
    zrEngine.Host = nullptr;
    zrEngine.Dialogs = nullptr;
    FormatSettings = TFormatSettings::French();
  }
  Variant Calc(const String& Expression) { return Parser->Calculate(Expression); }

  TzrParser* Parser;
  TLibraryRouter Router;
  TFakeHost Host;
  TScriptedDialogs Dialogs;
  std::vector<String> Log;
};

TEST_F(ZrFunctions, LibrariesAreRegisteredInOrderWithTheirNumbers) {
  ASSERT_EQ(FunctionLibraryCount(), 2);
  TzrFunctionLibrary* standard = FunctionLibraries(0);
  EXPECT_EQ(standard->ClassName(), "TzrStdFunctionLibrary");
  EXPECT_EQ(FunctionLibraries(1)->ClassName(), "TDatabaseFunctionLibrary");
  const char* names[] = {"AVG",  "COUNT",  "DAYOF",   "FORMATDATETIME", "FORMATFLOAT", "FORMATTEXT", "INPUT",
                         "LENGTH", "LOWERCASE", "MAX", "MAXNUM", "MESSAGEBOX", "MIN", "MINNUM", "MONTHOF",
                         "NAMECASE", "POS", "SUM", "TRIM", "UPPERCASE", "YEAROF"};
  ASSERT_EQ(standard->List()->Count(), 21);
  for (int i = 0; i < 21; ++i) EXPECT_EQ(standard->List()->Strings(i), names[i]) << i;
}

TEST_F(ZrFunctions, TryCallMatchesNamesWithoutCaseAndLeavesOthersAlone) {
  TzrFunctionLibrary* standard = FunctionLibraries(0);
  Variant val("kept");
  EXPECT_FALSE(standard->TryCall("NOSUCH", Variant("1"), Variant(""), Variant(""), val));
  EXPECT_EQ(val.AsString(), "kept");
  EXPECT_TRUE(standard->TryCall("length", Variant("'abcd'"), Variant(""), Variant(""), val));
  EXPECT_EQ(val.AsInteger(), 4);
}

// The 21 functions, each read under both decimal separators: in the expected text a ',' stands
// for the decimal separator of the run.
TEST_F(ZrFunctions, StandardFunctions) {
  struct Case {
    const char* Expression;
    const char* Expected;
    TVarType Type;
  } cases[] = {
      {"DAYOF(STRTODATE('31/12/2004'))", "31", varInteger},
      {"DAYOF(STRTODATE('01/03/2004'))", "1", varInteger},
      {"MONTHOF(STRTODATE('31/12/2004'))", "12", varInteger},
      {"YEAROF(STRTODATE('31/12/2004'))", "2004", varInteger},
      {"YEAROF(STRTODATE('29/02/1904'))", "1904", varInteger},
      {"FORMATDATETIME('dd mmmm yyyy', STRTODATE('05/02/2004'))", "05 février 2004"_a, varString},
      {"FORMATDATETIME('', STRTODATE('05/02/2004'))", "05/02/2004", varString},
      {"FORMATFLOAT('0.00', 3.14159)", "3,14", varString},
      {"FORMATFLOAT('0.00', 2,5)", "2,00", varString},  // "2,5" is two arguments: 2 then 5
      {"FORMATFLOAT('#,##0.0', 1234.56)", "1\xA0" "234,6", varString},
      {"FORMATFLOAT('0', 0)", "0", varString},
      {"FORMATTEXT('00/00/0000', '31122004')", "31/12/2004", varString},
      {"FORMATTEXT('>LL-000', 'ab123')", "AB-123", varString},
      {"FORMATTEXT('<LLL', 'ABC')", "abc", varString},
      {"FORMATTEXT('!9999', '12')", "  12", varString},
      {"FORMATTEXT('0000', '12')", "12  ", varString},
      {"FORMATTEXT('\\(000\\)', '123')", "(123)", varString},
      {"LENGTH('déjà')"_a, "4", varInteger},
      {"LENGTH('')", "0", varInteger},
      {"LOWERCASE('ÉCOLE Verte')"_a, "école verte"_a, varString},
      {"UPPERCASE('école')"_a, "ÉCOLE"_a, varString},
      {"MAXNUM(2, 3)", "3", varDouble},
      {"MAXNUM(2.5, 1)", "2,5", varDouble},
      {"MAXNUM('2', 2)", "2", varDouble},  // equal: the second argument, a number
      {"MINNUM(2, 3)", "2", varDouble},
      {"MINNUM(3, '3')", "3", varString},  // equal: the second argument, a text
      {"MINNUM(-1.5, 0)", "-1,5", varDouble},
      {"NAMECASE('jEAN dUPONT')", "Jean dupont", varString},
      {"NAMECASE('éLISE')"_a, "Élise"_a, varString},
      {"NAMECASE('')", "", varString},
      {"POS('b', 'abc')", "2", varInteger},
      {"POS('z', 'abc')", "0", varInteger},
      {"POS('bc', 'abcbc')", "2", varInteger},
      {"TRIM('  a b  ')", "a b", varString},
      {"TRIM('')", "", varString},
      {"UPPERCASE(TRIM(' x ')) + LOWERCASE('Y')", "Xy", varString},
      {"MESSAGEBOX('Texte', 'Titre', 4)", "6", varInteger},
      {"INPUT('Votre nom', 'Dupont')", "Martin", varString},
  };
  for (char separator : {',', '.'}) {
    FormatSettings.DecimalSeparator = separator;
    for (const Case& c : cases) {
      String expected = c.Expected;
      for (char& ch : expected)
        if (ch == ',') ch = separator;
      Variant v = Calc(c.Expression);
      EXPECT_EQ(VarToStr(v), expected) << c.Expression << " with '" << separator << "'";
      EXPECT_EQ(VarType(v), c.Type) << c.Expression;
    }
  }
  EXPECT_EQ(Dialogs.Log[0], "message Texte|Titre|4");
  EXPECT_EQ(Dialogs.Log[1], "input |Votre nom|Dupont");
}

TEST_F(ZrFunctions, StandardFunctionErrorsPropagate) {
  const char* failing[] = {
      "DAYOF('abc')",
      "YEAROF(STRTODATE('31/02/2004'))",
      "FORMATFLOAT('0.00', 'x')",
      "MESSAGEBOX('a', 'b', 'c')",
      "LENGTH('a'",
  };
  for (const char* e : failing) EXPECT_THROW(Calc(e), Exception) << e;
  zrEngine.Dialogs = nullptr;
  EXPECT_THROW(Calc("INPUT('a', 'b')"), EInvalidOperation);
  EXPECT_THROW(Calc("MESSAGEBOX('a', 'b', 0)"), EInvalidOperation);
}

// ---- Aggregates

class ZrAggregates : public ZrFunctions {
 protected:
  TFakeBand Footer{"PiedMaitre", 6, &Log};
  TFakeBand Master{"MasterData1", btMasterData, &Log};
  TFakeBand Detail{"DetailData1", btDetailData, &Log};
};

TEST_F(ZrAggregates, CollectingRegistersKeysInTheTargetBand) {
  struct Case {
    const char* Call;
    int CurrentType;
    bool Cross;
    TFakeBand* Target;
    std::vector<String> Expected;
  } cases[] = {
      {"SUM([Prix], MasterData1)", 6, false, &Master,
       {"MasterData1 set PiedMaitre\x01\x0B\x01[Prix]\x01\x01=0", "PiedMaitre aggregates over MasterData1"}},
      {"SUM([Prix])", 6, false, &Master,
       {"MasterData1 set PiedMaitre\x01\x0B\x01[Prix]\x01\x01=0", "PiedMaitre aggregates over MasterData1"}},
      {"MIN([Prix], masterdata1)", 6, false, &Master,
       {"MasterData1 set PiedMaitre\x01\x0C\x01[Prix]\x01\x01=1E300", "PiedMaitre aggregates over MasterData1"}},
      {"MAX([Prix] * 2, MasterData1, 1)", 3, false, &Master,
       {"MasterData1 set PiedMaitre\x01\x0D\x01[Prix] * 2\x01" "1\x01=0", "PiedMaitre aggregates over MasterData1"}},
      {"AVG([Prix])", 17, false, &Master,
       {"MasterData1 set PiedMaitre\x01\x0E\x01[Prix]\x01\x01=0", "PiedMaitre aggregates over MasterData1"}},
      {"COUNT(MasterData1, 1)", 6, false, &Master,
       {"MasterData1 set PiedMaitre\x01\x0F\x01MasterData1\x01" "1\x01=0", "PiedMaitre aggregates over MasterData1"}},
      {"SUM([Prix], MasterData1)", 6, true, &Master,
       {"MasterData1 set 0\x01PiedMaitre\x01\x0B\x01[Prix]\x01\x01=0", "PiedMaitre aggregates over MasterData1"}},
      {"SUM([Prix])", 9, false, &Detail,
       {"DetailData1 set PiedMaitre\x01\x0B\x01[Prix]\x01\x01=0", "PiedMaitre aggregates over DetailData1"}},
      // Not for this target: another band named, or an empty name whose data band is another type.
      {"SUM([Prix], Autre)", 6, false, &Master, {}},
      {"SUM([Prix])", 6, false, &Detail, {}},
      {"SUM([Prix])", 2, false, &Master, {}},
  };
  for (const Case& c : cases) {
    Log.clear();
    Footer.Type = c.CurrentType;
    Footer.Cross = c.Cross;
    Footer.Source = nullptr;
    Host.Current = &Footer;
    Host.Target = c.Target;
    Variant v = Calc(c.Call);
    EXPECT_EQ(VarToStr(v), "0") << c.Call;
    EXPECT_EQ(Log, c.Expected) << c.Call;
  }
}

TEST_F(ZrAggregates, CrossTabFooterKeysHaveNoColumnPrefix) {
  Footer.Type = btCrossFooter;
  Footer.Cross = true;
  Host.Current = &Footer;
  TFakeBand cross("CrossData1", btCrossData, &Log);
  Host.Target = &cross;
  Calc("SUM([x])");
  ASSERT_FALSE(Log.empty());
  EXPECT_EQ(Log[0], "CrossData1 set PiedMaitre\x01\x0B\x01[x]\x01\x01=0");
}

TEST_F(ZrAggregates, PrintingReadsTheValueStoredUnderTheSameKey) {
  // Collect, let the band engine accumulate, then print.
  Host.Current = &Footer;
  Host.Target = &Master;
  Calc("SUM([Prix], MasterData1)");
  Calc("COUNT(MasterData1)");
  Master.Values["PiedMaitre\x01\x0B\x01[Prix]\x01\x01"] = Variant(42.5);
  Master.Values["PiedMaitre\x01\x0F\x01MasterData1\x01\x01"] = Variant(3);
  Host.Target = nullptr;
  EXPECT_DOUBLE_EQ(Calc("SUM([Prix], MasterData1)").AsDouble(), 42.5);
  EXPECT_EQ(Calc("COUNT(MasterData1)").AsInteger(), 3);
  EXPECT_EQ(Calc("SUM([Prix]) + COUNT(MasterData1)").AsDouble(), 45.5);
}

TEST_F(ZrAggregates, CrossDataBandReadsPerColumnKeys) {
  TFakeBand crossData("CrossData1", btCrossData, &Log);
  TFakeBand totals("Totaux", btMasterData, &Log);
  crossData.Source = &totals;
  Host.Current = &crossData;
  Host.Column = 3;
  totals.Values["3\x01Totaux\x01\x0B\x01[x]\x01\x01"] = Variant(7);
  Log.clear();
  EXPECT_EQ(Calc("SUM([x])").AsInteger(), 7);
  EXPECT_EQ(Log, (std::vector<String>{"Totaux get 3\x01Totaux\x01\x0B\x01[x]\x01\x01"}));
}

TEST_F(ZrAggregates, OutsideBothPhasesTheTextZeroStays) {
  Host.Current = &Footer;  // no target, no aggregate band
  Variant v = Calc("SUM([Prix], MasterData1)");
  EXPECT_EQ(VarType(v), varString);
  EXPECT_EQ(v.AsString(), "0");
  Host.Current = nullptr;
  EXPECT_EQ(Calc("AVG([Prix])").AsString(), "0");
  zrEngine.Host = nullptr;
  EXPECT_EQ(Calc("MAX([Prix])").AsString(), "0");
  EXPECT_TRUE(Log.empty());
}

// ---- FIELDISNULL

class ZrFieldIsNull : public ZrFunctions {
 protected:
  ZrFieldIsNull() {
    Module = new TComponent(nullptr);
    Module->SetName("dmTest");
    RegisterModule(Module);
    Data = new TVectorDataSet({{"Nom", ftString, 20}, {"Taille", ftFloat}}, Module);
    Data->SetName("qZones");
    Data->AddRow({Variant("Lac"), Variant::Null()});
    Data->Open();
    Source = new TzrDBDataSet(Module);
    Source->SetDataSet(Data);
    Host.Owner = Module;
  }
  ~ZrFieldIsNull() override { delete Module; }

  TComponent* Module;
  TVectorDataSet* Data;
  TzrDBDataSet* Source;
};

TEST_F(ZrFieldIsNull, ResolvesReferencesAndTestsTheField) {
  struct Case {
    const char* Call;
    bool UseDefault;
    bool Expected;
  } cases[] = {
      {"FIELDISNULL('dmTest.qZones.Taille')", false, true},
      {"FIELDISNULL('dmTest.qZones.Nom')", false, false},
      {"fieldisnull('qZones.Nom')", false, false},  // from the report's owner
      {"FIELDISNULL('qMissing.Nom')", false, true},   // no data set: true
      {"FIELDISNULL('Nom')", false, true},            // no default data set
      {"FIELDISNULL('Nom')", true, false},            // the band's data set
      {"FIELDISNULL('Taille')", true, true},
  };
  Host.BandType = btMasterData;
  Host.PageSource = Source;
  for (const Case& c : cases) {
    Host.UseDefault = c.UseDefault;
    Variant v = Calc(c.Call);
    EXPECT_EQ(VarType(v), varBoolean) << c.Call;
    EXPECT_EQ(v.AsBoolean(), c.Expected) << c.Call;
  }
}

TEST_F(ZrFieldIsNull, AMissingFieldOfAFoundDataSetRaisesTheDatabaseError) {
  try {
    Calc("FIELDISNULL('dmTest.qZones.Absent')");
    FAIL() << "no exception";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find("non trouvé"_a), String::npos) << e.Message;
  }
}

TEST_F(ZrFieldIsNull, OtherNumbersGiveZero) {
  Variant v("x");
  FunctionLibraries(1)->ExecuteFunction(1, Variant("'qZones.Nom'"), Variant(), Variant(), v);
  EXPECT_EQ(VarType(v), varInteger);
  EXPECT_EQ(v.AsInteger(), 0);
}

// ---- Descriptions

TEST(ZrInstalledFunctions, OnlyDescribedGroupsAreRegistered) {
  TzrInstalledFunctions* installed = zrGlobals().InstalledFunctions();
  std::vector<String> names;
  for (int i = 0; i < installed->Count(); ++i) names.push_back(installed->Items(i).Name);
  EXPECT_EQ(names, (std::vector<String>{"REPORTCOMMENT", "REPORTNAME", "REPORTAUTOR", "VMAJOR", "VMINOR", "VRELEASE",
                                        "VBUILD", "REPORTDATE", "REPORTLASTCHANGE", "FIELDISNULL"}));
  const TzrFunctionDescription& name = installed->Items(1);
  EXPECT_EQ(name.Category, "Information sur l'état"_a);
  EXPECT_EQ(name.Description, "REPORTNAME/Retourne le nom de l'état"_a);
  EXPECT_EQ(name.Library, FunctionLibraries(0));
  EXPECT_EQ(installed->Items(9).Category, "Base de données"_a);
}

TEST(ZrInstalledFunctions, AddAndRemoveLibrary) {
  TzrInstalledFunctions installed;
  TzrStdFunctionLibrary* standard = static_cast<TzrStdFunctionLibrary*>(FunctionLibraries(0));
  TDatabaseFunctionLibrary* db = static_cast<TDatabaseFunctionLibrary*>(FunctionLibraries(1));
  installed.Add(standard, "A", "Cat", "A/desc");
  installed.Add(standard, "B", "", "ignored: no category");
  installed.Add(db, "A", "Cat", "ignored: name taken");
  installed.Add(db, "C", "Cat", "C/desc");
  installed.Add(standard, "a", "Cat", "names compare exactly");
  ASSERT_EQ(installed.Count(), 3);
  EXPECT_EQ(installed.Items(0).Description, "A/desc");
  installed.RemoveLibrary(standard);
  ASSERT_EQ(installed.Count(), 1);
  EXPECT_EQ(installed.Items(0).Name, "C");
  EXPECT_THROW(installed.Items(1), EListError);
}

// ---- Aggregate splitter

TEST(ZrAggregateSplitter, FindsCallsInMemoTextsThroughVariables) {
  TzrVariables variables;
  variables.SetByName("Total", Variant("SUM([Prix]) / COUNT(MasterData1)"));
  TStringList found, memo;
  memo.Add("Total : [SUM([Prix], MasterData1)] et [x]");
  memo.Add("Moyenne [Total] ['[SUM(y)]']");
  memo.Add("sans crochets SUM([z])");
  TAggregateFunctionsSplitter splitter(&found, &variables);
  splitter.SplitMemo(&memo);
  std::vector<String> calls;
  for (int i = 0; i < found.Count(); ++i) calls.push_back(found[i]);
  EXPECT_EQ(calls, (std::vector<String>{"SUM([Prix], MasterData1)", "SUM([Prix])", "COUNT(MasterData1)"}));
}

TEST(ZrAggregateSplitter, FindsCallsInCompiledScripts) {
  TzrInterpretator compiler;
  TStringList source, code, errors, found;
  source.Add("begin");
  source.Add("  a := MAX([Poids], DetailData1) + 1;");
  source.Add("  if MIN([Poids]) > 0 then b := LENGTH('x')");
  source.Add("end");
  compiler.CompileScript(&source, &code, &errors);
  TAggregateFunctionsSplitter splitter(&found, nullptr);
  splitter.SplitScript(&code);
  std::vector<String> calls;
  for (int i = 0; i < found.Count(); ++i) calls.push_back(found[i]);
  EXPECT_EQ(calls, (std::vector<String>{"MAX([Poids], DetailData1)", "MIN([Poids])"}));
  TStringList none;
  splitter.SplitScript(&none);
  EXPECT_EQ(found.Count(), 2);
}

}  // namespace
