// Tests of published properties: declaration tables, inheritance, by-name and by-path access,
// kinds, defaults and stored conditions, method properties and handler tables.
#include <gtest/gtest.h>

#include <memory>

#include "List.h"
#include "Persistent.h"
#include "Strings.h"
#include "TypInfo.h"

namespace {

enum TAlign { taLeftJustify, taRightJustify, taCenter };
VELBOR_ENUM(TAlign, "taLeftJustify", "taRightJustify", "taCenter")
enum TStyle { fsBold, fsItalic, fsUnderline };
VELBOR_ENUM(TStyle, "fsBold", "fsItalic", "fsUnderline")
using TStyles = TSet<TStyle>;

const TIntIdents ColorNames = {{0xFF0000, "clBlue"}, {0x0000FF, "clRed"}};

class TFontLike : public TPersistent {
  VELBOR_DECLARE_CLASS(TFontLike, TPersistent)
 public:
  String Name = "Arial";
  int Size = 8;
};

class TGadget : public TPersistent {
  VELBOR_DECLARE_CLASS(TGadget, TPersistent)
 public:
  TGadget() : FFont(new TFontLike), FLines(new TStringList) {}
  ~TGadget() override {
    delete FFont;
    delete FLines;
  }
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value) {
    FWidth = Value;
    ++WidthSets;
  }
  TFontLike* GetFont() const { return FFont; }
  TStringList* GetLines() const { return FLines; }
  bool IsCaptionStored() const { return FCaption != "(auto)"; }

  TAlign Alignment = taLeftJustify;
  TStyles Style;
  String FCaption;
  double Ratio = 0;
  long long Big = 0;
  bool Visible = true;
  char Letter = 'a';
  int Color = 0;
  TPersistent* Link = nullptr;
  TNotifyEvent OnClick;
  int WidthSets = 0;

 private:
  int FWidth = 10;
  TFontLike* FFont;
  TStringList* FLines;
};

class TBigGadget : public TGadget {
  VELBOR_DECLARE_CLASS(TBigGadget, TGadget)
 public:
  TBigGadget() { SetWidth(100); }
  int Extra = 0;
};

class TClicker : public TObject {
 public:
  void Click(TObject* Sender) { Clicked = Sender; }
  TObject* Clicked = nullptr;
};

VELBOR_IMPLEMENT_CLASS(TFontLike)
VELBOR_PUBLISHED(TFontLike, Prop("Name", &Self::Name), Prop("Size", &Self::Size).Default(8))

VELBOR_IMPLEMENT_CLASS(TGadget)
VELBOR_PUBLISHED(TGadget,
  Prop("Width", &Self::GetWidth, &Self::SetWidth).Default(10),
  Prop("Alignment", &Self::Alignment).Default(taLeftJustify),
  Prop("Style", &Self::Style).Default(TStyles{}),
  Prop("Caption", &Self::FCaption).Stored(&Self::IsCaptionStored),
  Prop("Ratio", &Self::Ratio),
  Prop("Big", &Self::Big),
  Prop("Visible", &Self::Visible).Default(true),
  Prop("Letter", &Self::Letter),
  Prop("Color", &Self::Color).Idents(ColorNames),
  Prop("Font", &Self::GetFont),
  Prop("Lines", &Self::GetLines),
  Prop("Link", &Self::Link),
  Prop("OnClick", &Self::OnClick))

VELBOR_IMPLEMENT_CLASS(TBigGadget)
VELBOR_PUBLISHED(TBigGadget,
  Prop("Extra", &Self::Extra),
  Prop("Width", &Self::GetWidth, &Self::SetWidth).Default(100))

String ErrorOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const EPropertyError& e) {
    return e.Message;
  }
  return "<no error>";
}

TEST(PropertyTables, ListAncestorsFirstAndARedeclarationKeepsItsPlace) {
  std::vector<String> names;
  for (const TPropInfo* p : GetPropList(TBigGadget::StaticClass())) names.push_back(p->Name);
  std::vector<String> expected = {"Width", "Alignment", "Style", "Caption", "Ratio", "Big", "Visible",
                                  "Letter", "Color", "Font", "Lines", "Link", "OnClick", "Extra"};
  EXPECT_EQ(names, expected);
  // The redeclared entry is the descendant's, with its own default; the ancestor keeps its own.
  EXPECT_EQ(GetPropInfo(TBigGadget::StaticClass(), "width")->DefaultOrd, 100);
  EXPECT_EQ(GetPropInfo(TGadget::StaticClass(), "WIDTH")->DefaultOrd, 10);
  EXPECT_EQ(GetPropInfo(TGadget::StaticClass(), "Extra"), nullptr);
  EXPECT_EQ(GetPropInfo(TGadget::StaticClass(), "Font.Name"), nullptr);  // single names only
  EXPECT_TRUE(GetPropList(TPersistent::StaticClass()).empty());
}

TEST(PropertyTables, KindsAreDeducedFromTheCppTypes) {
  struct Case {
    const char* Name;
    TTypeKind Kind;
  };
  const Case cases[] = {{"Width", tkInteger}, {"Alignment", tkEnumeration}, {"Style", tkSet},
                        {"Caption", tkLString}, {"Ratio", tkFloat},        {"Big", tkInt64},
                        {"Visible", tkEnumeration}, {"Letter", tkChar},    {"Font", tkClass},
                        {"Lines", tkClass},     {"OnClick", tkMethod}};
  TGadget g;
  for (const Case& c : cases) EXPECT_EQ(PropType(&g, c.Name), c.Kind) << c.Name;
  EXPECT_STREQ(GetPropInfo(&g, "Alignment")->EnumType->Name(), "TAlign");
  EXPECT_STREQ(GetPropInfo(&g, "Style")->EnumType->Name(), "TStyle");
  EXPECT_EQ(GetPropInfo(&g, "Font")->PropClass, TFontLike::StaticClass());
  EXPECT_EQ(GetPropInfo(&g, "Lines")->PropClass, TStringList::StaticClass());
  EXPECT_EQ(GetPropInfo(&g, "OnClick")->Signature, TNotifyEvent::Signature());
  EXPECT_TRUE(PropIsType(&g, "caption", tkLString));
  EXPECT_FALSE(IsPublishedProp(&g, "WidthSets"));
}

TEST(PropertyAccess, ReadsAndWritesEachKindByName) {
  TGadget g;
  SetOrdProp(&g, "Width", 42);
  EXPECT_EQ(g.GetWidth(), 42);
  EXPECT_EQ(g.WidthSets, 1);  // through the setter
  EXPECT_EQ(GetOrdProp(&g, "width"), 42);

  SetEnumProp(&g, "Alignment", "TACENTER");
  EXPECT_EQ(g.Alignment, taCenter);
  EXPECT_EQ(GetEnumProp(&g, "Alignment"), "taCenter");
  EXPECT_EQ(GetOrdProp(&g, "Alignment"), 2);

  SetSetProp(&g, "Style", "[fsUnderline, fsBold]");
  EXPECT_EQ(g.Style, (TStyles{fsBold, fsUnderline}));
  EXPECT_EQ(GetSetProp(&g, "Style"), "[fsBold,fsUnderline]");
  EXPECT_EQ(GetSetProp(&g, "Style", false), "fsBold,fsUnderline");
  SetSetProp(&g, "Style", "[]");
  EXPECT_TRUE(g.Style.Empty());

  SetStrProp(&g, "Caption", "Zone humide"_a);
  EXPECT_EQ(GetStrProp(&g, "Caption"), "Zone humide"_a);
  SetFloatProp(&g, "Ratio", 2.5);
  EXPECT_EQ(GetFloatProp(&g, "Ratio"), 2.5);
  SetInt64Prop(&g, "Big", 1LL << 40);
  EXPECT_EQ(GetInt64Prop(&g, "Big"), 1LL << 40);
  SetOrdProp(&g, "Visible", 0);
  EXPECT_FALSE(g.Visible);

  TFontLike other;
  SetObjectProp(&g, "Link", &other);
  EXPECT_EQ(g.Link, &other);
  EXPECT_EQ(GetObjectProp(&g, "Link"), &other);
  EXPECT_EQ(GetObjectProp(&g, "Lines"), g.GetLines());
}

TEST(PropertyAccess, VariantValuesUseIdentifiersForEnumerationsAndSets) {
  TGadget g;
  SetPropValue(&g, "Alignment", Variant("taRightJustify"));
  EXPECT_EQ(g.Alignment, taRightJustify);
  SetPropValue(&g, "Alignment", Variant(2));
  EXPECT_EQ(GetPropValue(&g, "Alignment").AsString(), "taCenter");
  SetPropValue(&g, "Style", Variant("[fsItalic]"));
  EXPECT_EQ(GetPropValue(&g, "Style").AsString(), "[fsItalic]");
  SetPropValue(&g, "Visible", Variant(false));
  EXPECT_EQ(VarType(GetPropValue(&g, "Visible")), varBoolean);
  EXPECT_FALSE(GetPropValue(&g, "Visible").AsBoolean());
  SetPropValue(&g, "Width", Variant("17"));
  EXPECT_EQ(g.GetWidth(), 17);
  SetPropValue(&g, "Font.Size", Variant(12));
  EXPECT_EQ(GetPropValue(&g, "Font.Size").AsInteger(), 12);
  EXPECT_THROW(GetPropValue(&g, "Lines"), EPropertyError);
}

TEST(PropertyAccess, PathsReachIntoSubObjects) {
  TGadget g;
  SetStrProp(&g, "Font.Name", "Tahoma");
  EXPECT_EQ(g.GetFont()->Name, "Tahoma");
  EXPECT_EQ(GetOrdProp(&g, "font.size"), 8);
  TObject* holder = &g;
  const TPropInfo* p = FindPropPath(holder, "Font.Size");
  EXPECT_EQ(holder, g.GetFont());
  EXPECT_STREQ(p->Name, "Size");
}

TEST(PropertyAccess, ErrorsNameThePropertyAndTheProblem) {
  TGadget g;
  struct Case {
    std::function<void()> Action;
    const char* Expected;
  };
  const Case cases[] = {
      {[&] { GetOrdProp(&g, "Height"); }, "Propriété Height inexistante dans la classe TGadget"_a},
      {[&] { SetStrProp(&g, "Font.Colour", "x"); }, "Propriété Colour inexistante dans la classe TFontLike"_a},
      {[&] { GetStrProp(&g, "Width"); }, "La propriété Width n'est pas de type chaîne"_a},
      {[&] { GetOrdProp(&g, "Caption.Size"); }, "La propriété Caption n'est pas de type objet"_a},
      {[&] { GetOrdProp(&g, "Link.Size"); }, "La propriété Link vaut nil"_a},
      {[&] { SetObjectProp(&g, "Font", nullptr); }, "La propriété Font est en lecture seule"_a},
      {[&] { SetEnumProp(&g, "Alignment", "taJustify"); }, "Valeur 'taJustify' incorrecte pour la propriété Alignment"_a},
      {[&] { SetOrdProp(&g, "Alignment", 3); }, "Valeur '3' incorrecte pour la propriété Alignment"_a},
      {[&] { SetSetProp(&g, "Style", "[fsBold,fsStrike]"); }, "Identificateur fsStrike inconnu dans un ensemble de TStyle"_a},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.Action), c.Expected);
  EXPECT_EQ(g.Alignment, taLeftJustify);
  EXPECT_TRUE(g.Style.Empty());
}

TEST(PropertyAccess, AnObjectOfTheWrongClassIsRefused) {
  TGadget g;
  TList notPersistent;
  EXPECT_THROW(SetObjectProp(&g, "Link", &notPersistent), EPropertyError);
  EXPECT_EQ(g.Link, nullptr);
}

TEST(PropertyDefaults, DefaultValuesAndStoredConditions) {
  TGadget g;
  auto isDefault = [&](const char* Name) { return IsDefaultPropValue(&g, GetPropInfo(&g, Name)); };
  EXPECT_TRUE(isDefault("Width"));       // 10 = Default(10)
  EXPECT_TRUE(isDefault("Visible"));     // true = Default(true)
  EXPECT_TRUE(isDefault("Caption"));     // empty text
  EXPECT_TRUE(isDefault("Ratio"));       // 0
  EXPECT_FALSE(isDefault("Big"));        // no default: always written
  EXPECT_TRUE(isDefault("Link"));
  EXPECT_TRUE(isDefault("OnClick"));
  g.SetWidth(11);
  g.Visible = false;
  g.Ratio = 0.5;
  EXPECT_FALSE(isDefault("Width"));
  EXPECT_FALSE(isDefault("Visible"));
  EXPECT_FALSE(isDefault("Ratio"));

  const TPropInfo* caption = GetPropInfo(&g, "Caption");
  EXPECT_TRUE(caption->IsStored(&g));
  g.FCaption = "(auto)";
  EXPECT_FALSE(caption->IsStored(&g));

  TBigGadget big;
  EXPECT_TRUE(IsDefaultPropValue(&big, GetPropInfo(&big, "Width")));  // its own default, 100
}

TEST(MethodProperties, CarryObjectAndCodeAndCompareByBoth) {
  TGadget g;
  TClicker a, b;
  g.OnClick = TNotifyEvent(&a, &TClicker::Click);
  TMethod m = GetMethodProp(&g, "OnClick");
  EXPECT_EQ(m.Data, &a);
  EXPECT_TRUE(m.Assigned());

  TGadget h;
  SetMethodProp(&h, "OnClick", m);
  EXPECT_TRUE(h.OnClick == g.OnClick);
  h.OnClick(&h);
  EXPECT_EQ(a.Clicked, &h);

  TMethod other = TNotifyEvent(&b, &TClicker::Click).ToMethod();
  EXPECT_FALSE(other == m);
  other.Data = &a;
  EXPECT_TRUE(other == m);
  SetMethodProp(&h, "OnClick", TMethod{});
  EXPECT_FALSE(h.OnClick.Assigned());
}

class THandlerHost : public TPersistent {
  VELBOR_DECLARE_CLASS(THandlerHost, TPersistent)
 public:
  void ButtonClick(TObject*) {}
  void Validate(TObject*, bool& Accept) { Accept = false; }
};
VELBOR_IMPLEMENT_CLASS(THandlerHost)
VELBOR_HANDLERS(THandlerHost, VELBOR_HANDLER(ButtonClick), VELBOR_HANDLER(Validate))

class TDerivedHost : public THandlerHost {
  VELBOR_DECLARE_CLASS(TDerivedHost, THandlerHost)
 public:
  void OwnClick(TObject*) {}
};
VELBOR_IMPLEMENT_CLASS(TDerivedHost)
VELBOR_HANDLERS(TDerivedHost, VELBOR_HANDLER(OwnClick))

TEST(HandlerTables, FindHandlersByNameAndCodeAlongTheAncestry) {
  const THandlerEntry* e = FindHandler(TDerivedHost::StaticClass(), "buttonclick");
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->Name, "ButtonClick");
  EXPECT_EQ(e->Signature, TNotifyEvent::Signature());
  EXPECT_NE(FindHandler(TDerivedHost::StaticClass(), "Validate")->Signature, TNotifyEvent::Signature());
  EXPECT_EQ(FindHandler(THandlerHost::StaticClass(), "OwnClick"), nullptr);

  THandlerHost host;
  TNotifyEvent bound(&host, &THandlerHost::ButtonClick);
  EXPECT_EQ(bound.ToMethod().Code, e->Code);
  EXPECT_EQ(FindHandlerByCode(TDerivedHost::StaticClass(), e->Code), e);
}

}  // namespace
