// Tests of query parameters: the ":NAME" scanner of SQL texts, look-up by name, typed values and
// copying values between parameter lists and from fields.
#include <gtest/gtest.h>

#include "DateTime.h"
#include "Params.h"
#include "Field.h"
#include "VectorDataSet.h"

namespace {

struct TParseCase {
  const char* What;
  String SQL;
  String Parsed;
  std::vector<String> Occurrences;
  std::vector<String> Created;
};

TEST(ParamsTest, ParseSqlFindsParametersOutsideLiterals) {
  const TParseCase Cases[] = {
      {"detail selection", "select * from T_ALIAS where ZH_CODE = :ZH_CODE ", "select * from T_ALIAS where ZH_CODE = ? ",
       {"ZH_CODE"}, {"ZH_CODE"}},
      {"name ends at punctuation", "insert into T values(:A,:B_2);", "insert into T values(?,?);", {"A", "B_2"},
       {"A", "B_2"}},
      {"repeated name is one parameter", "where A = :code or B = :CODE", "where A = ? or B = ?", {"code", "CODE"},
       {"code"}},
      {"quoted literals are text", "where A = ':x' and B = \":y\" and C = :z", "where A = ':x' and B = \":y\" and C = ?",
       {"z"}, {"z"}},
      {"doubled quote inside a literal", "where A = 'l''eau:x' and B = :b", "where A = 'l''eau:x' and B = ?", {"b"},
       {"b"}},
      {"double colon stands for one", "select a::int, '1' || :p", "select a:int, '1' || ?", {"p"}, {"p"}},
      {"bracketed names are text", "select [Nom:Prénom] from T where X = :x"_a,
       "select [Nom:Prénom] from T where X = ?"_a, {"x"}, {"x"}},
      {"quoted parameter name", "where A = :\"Nom du champ\" + 1", "where A = ? + 1", {"Nom du champ"},
       {"Nom du champ"}},
      {"accented name", "where ANNEE = :Année"_a, "where ANNEE = ?", {"Année"_a}, {"Année"_a}},
      {"a lone colon stays", "select 10 : 30, :", "select 10 : 30, :", {}, {}},
      {"unterminated literal", "where A = 'abc :x", "where A = 'abc :x", {}, {}},
  };
  for (const TParseCase& Case : Cases) {
    SCOPED_TRACE(Case.What);
    TParams Params;
    Params.CreateParam(ftInteger, "OLD", ptInput);
    std::vector<String> Occurrences;
    EXPECT_EQ(Params.ParseSQL(Case.SQL, true, &Occurrences), Case.Parsed);
    EXPECT_EQ(Occurrences, Case.Occurrences);
    std::vector<String> Created;
    for (int i = 0; i < Params.Count(); ++i) {
      Created.push_back(Params[i]->Name());
      EXPECT_EQ(Params[i]->ParamType, ptInput);
      EXPECT_EQ(Params[i]->DataType(), ftUnknown);
    }
    EXPECT_EQ(Created, Case.Created);
  }
  // Without DoCreate the list is left alone.
  TParams Kept;
  Kept.CreateParam(ftString, "KEEP", ptInput);
  EXPECT_EQ(Kept.ParseSQL("where a = :b", false), "where a = ?");
  ASSERT_EQ(Kept.Count(), 1);
  EXPECT_EQ(Kept[0]->Name(), "KEEP");
}

TEST(ParamsTest, ParamByNameIgnoresCaseAndNamesTheMissingOne) {
  TParams Params;
  TParam* Code = Params.CreateParam(ftWideString, "ZH_CODE", ptInput);
  EXPECT_EQ(Params.ParamByName("zh_code"), Code);
  EXPECT_EQ(Params.FindParam("ABSENT"), nullptr);
  try {
    Params.ParamByName("ABSENT");
    ADD_FAILURE() << "found";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Paramètre 'ABSENT' non trouvé"_a);
  }
  // A named owner leads the message, as every database error of a component does.
  TVectorDataSet Query({{"A", ftInteger}});
  Query.SetName("qDetail");
  TParams Owned(&Query);
  try {
    Owned.ParamByName("ZH_CODE");
    ADD_FAILURE() << "found";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, "qDetail: Paramètre 'ZH_CODE' non trouvé"_a);
  }
}

TEST(ParamsTest, ValuesCarryTheirTypes) {
  struct {
    Variant Value;
    TFieldType Type;
  } Inferred[] = {{Variant(12), ftInteger},          {Variant(12.5), ftFloat},
                  {Variant("ab"), ftString},         {Variant(true), ftBoolean},
                  {Variant::FromDate(2.0), ftDateTime}, {Variant(5000000000LL), ftLargeint},
                  {Variant::FromSmallint(3), ftSmallint}};
  for (auto& Case : Inferred) {
    TParams Params;
    TParam* P = Params.CreateParam(ftUnknown, "P", ptInput);
    EXPECT_FALSE(P->Bound);
    P->SetValue(Case.Value);
    EXPECT_EQ(P->DataType(), Case.Type) << VarTypeAsText(VarType(Case.Value));
    EXPECT_TRUE(P->Bound);
  }

  TParams Params;
  TParam* P = Params.CreateParam(ftUnknown, "P", ptInput);
  P->SetAsDate(EncodeDate(2004, 2, 1));
  EXPECT_EQ(P->DataType(), ftDate);
  EXPECT_EQ(VarType(P->Value()), varDate);
  P->SetAsCurrency(1.23456);
  EXPECT_EQ(P->DataType(), ftCurrency);
  EXPECT_DOUBLE_EQ(P->AsCurrency(), 1.2346);
  P->SetAsString("42");
  EXPECT_EQ(P->DataType(), ftString);
  // A known type keeps its type on a text entry; a change of type converts the value.
  P->SetDataType(ftInteger);
  EXPECT_EQ(VarType(P->Value()), varInteger);
  EXPECT_EQ(P->AsInteger(), 42);
  P->SetText("7");
  EXPECT_EQ(P->DataType(), ftInteger);
  EXPECT_EQ(P->AsInteger(), 7);
  P->SetAsString("abc");
  P->SetDataType(ftInteger);
  EXPECT_TRUE(P->IsNull());

  P->Clear();
  EXPECT_TRUE(P->IsNull());
  EXPECT_EQ(P->AsString(), "");
  EXPECT_EQ(P->AsInteger(), 0);
  EXPECT_FALSE(P->AsBoolean());
}

TEST(ParamsTest, AssignValuesCopiesByNameAndFieldsGiveTypeAndValue) {
  TParams Target, Source;
  Target.CreateParam(ftUnknown, "ZH_CODE", ptInput);
  Target.CreateParam(ftInteger, "ORDRE", ptInput)->SetAsInteger(3);
  Source.CreateParam(ftUnknown, "zh_code", ptInput)->SetAsString("ZH1");
  Source.CreateParam(ftUnknown, "AUTRE", ptInput)->SetAsInteger(9);
  Target.AssignValues(&Source);
  EXPECT_EQ(Target.ParamByName("ZH_CODE")->AsString(), "ZH1");
  EXPECT_EQ(Target.ParamByName("ZH_CODE")->DataType(), ftString);
  EXPECT_EQ(Target.ParamByName("ORDRE")->AsInteger(), 3);
  EXPECT_EQ(Target.FindParam("AUTRE"), nullptr);

  Variant Both = Target.ParamValues("ZH_CODE;ORDRE");
  ASSERT_TRUE(VarIsArray(Both));
  EXPECT_EQ(Both.GetElement(1).AsInteger(), 3);
  Target.SetParamValues("ORDRE;ZH_CODE", VarArrayOf({4, "ZH2"}));
  EXPECT_EQ(Target.ParamByName("ORDRE")->AsInteger(), 4);
  EXPECT_EQ(Target.ParamByName("ZH_CODE")->AsString(), "ZH2");
  EXPECT_FALSE(Target.IsEqual(&Source));

  TVectorDataSet Detail({{"ZH_CODE", ftString, 13}, {"SURFACE", ftFloat}});
  Detail.AddRow({"ZH9", Variant::Null()});
  Detail.Open();
  TParam* FromField = Target.CreateParam(ftUnknown, "", ptInput);
  FromField->AssignField(Detail.FieldByName("ZH_CODE"));
  EXPECT_EQ(FromField->Name(), "ZH_CODE");
  EXPECT_EQ(FromField->DataType(), ftString);
  EXPECT_EQ(FromField->AsString(), "ZH9");
  FromField->AssignField(Detail.FieldByName("SURFACE"));
  EXPECT_EQ(FromField->DataType(), ftFloat);
  EXPECT_TRUE(FromField->IsNull());
  EXPECT_TRUE(FromField->Bound);
}

}  // namespace
