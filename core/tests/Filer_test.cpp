// Tests of the form reader and writer: round trips of a component tree with every kind of value,
// references within and across modules, handlers bound by name, Loaded, writing against an
// ancestor, and read errors with their positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "Filer.h"
#include "FilerFixture.h"
#include "Modules.h"
#include "Streams.h"
#include "Strings.h"

namespace {

class FilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (TClass c : {TFontBox::StaticClass(), TWidget::StaticClass(), TBox::StaticClass(), TModule::StaticClass(), TModuleChild::StaticClass()}) {
      RegisterClass(c);
    }
    // Another live module that descriptions refer to as dmOther.Table1.
    other = std::make_unique<TModule>(nullptr);
    other->SetName("dmOther");
    table = new TWidget(other.get());
    table->SetName("Table1");
    RegisterModule(other.get());
    liveBefore = TWidget::Live;
  }

  // A module with every kind of value set away from its default.
  std::unique_ptr<TModule> MakeModule() {
    auto m = std::make_unique<TModule>(nullptr);
    m->SetName("Module1");
    auto* w = new TWidget(m.get());
    w->SetName("Widget1");
    auto* w2 = new TWidget(m.get());
    w2->SetName("Widget2");
    w->SetWidth(120);
    w->Big = 1LL << 40;
    w->Ratio = 2.5;
    w->Caption = "Zone humide de l'été\r\n"_a;
    w->Shade = shDark;
    w->Edges = {edLeft, edBottom};
    w->Enabled = false;
    w->GetFont()->Name = "Tahoma";
    w->GetLines()->Add("un");
    w->GetLines()->Add("deux é"_a);
    auto* l = static_cast<TLine*>(w->GetItems()->Add());
    l->Caption = "Code";
    l->Width = 40;
    w->GetItems()->Add();
    w->SetBuddy(w2);
    w->OnClick = TNotifyEvent(m.get(), &TModule::WidgetClick);
    int heights[4] = {0, 0, 23, 0};
    std::copy(heights, heights + 4, w->Heights);
    w->Data = String("\x00\x01\xFF", 3);
    w2->SetBuddy(table);
    auto* panel = new TBox(m.get());
    panel->SetName("Panel1");
    panel->SetParentComponent(m.get());
    auto* inner = new TBox(m.get());
    inner->SetName("Inner");
    inner->SetParentComponent(panel);
    inner->SetBuddy(w);
    return m;
  }

  std::unique_ptr<TModule> other;
  TWidget* table = nullptr;
  int liveBefore = 0;
};

TEST_F(FilerTest, RoundTripKeepsEveryKindOfValue) {
  String text;
  {
    auto m = MakeModule();
    text = WriteComponentToText(m.get());
  }
  // What is at its default is left out; the rest is written under its own name or path.
  EXPECT_NE(text.find("object Module1: TModule"), String::npos) << text;
  EXPECT_NE(text.find("    OnClick = WidgetClick"), String::npos) << text;
  EXPECT_NE(text.find("    Buddy = dmOther.Table1"), String::npos) << text;
  EXPECT_NE(text.find("    Font.Name = 'Tahoma'"), String::npos) << text;
  EXPECT_EQ(text.find("Font.Size"), String::npos) << text;
  EXPECT_EQ(text.find("Name = 'Widget1'"), String::npos) << text;

  std::unique_ptr<TComponent> made(CreateComponentFromText(text, "Module1.dfm", nullptr));
  auto* m = dynamic_cast<TModule*>(made.get());
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Name(), "Module1");
  ASSERT_EQ(m->ComponentCount(), 4);
  auto* w = dynamic_cast<TWidget*>(m->FindComponent("Widget1"));
  auto* w2 = dynamic_cast<TWidget*>(m->FindComponent("Widget2"));
  auto* panel = dynamic_cast<TBox*>(m->FindComponent("Panel1"));
  auto* inner = dynamic_cast<TBox*>(m->FindComponent("Inner"));
  ASSERT_TRUE(w && w2 && panel && inner);
  EXPECT_EQ(m->Widget1, w);  // the form's field follows the component's name
  EXPECT_EQ(w->GetWidth(), 120);
  EXPECT_EQ(w->Big, 1LL << 40);
  EXPECT_EQ(w->Ratio, 2.5);
  EXPECT_EQ(w->Caption, "Zone humide de l'été\r\n"_a);
  EXPECT_EQ(w->Shade, shDark);
  EXPECT_EQ(w->Edges, (TEdges{edLeft, edBottom}));
  EXPECT_FALSE(w->Enabled);
  EXPECT_EQ(w->GetFont()->Name, "Tahoma");
  EXPECT_EQ(w->GetFont()->Size, 8);
  EXPECT_EQ(w->GetLines()->Text(), "un\r\ndeux é\r\n"_a);
  ASSERT_EQ(w->GetItems()->Count(), 2);
  EXPECT_EQ(w->Line(0)->Caption, "Code");
  EXPECT_EQ(w->Line(0)->Width, 40);
  EXPECT_EQ(w->Line(1)->Caption, "");
  EXPECT_EQ(w->GetBuddy(), w2);
  EXPECT_EQ(w2->GetBuddy(), table);
  EXPECT_EQ(inner->GetBuddy(), w);
  EXPECT_EQ(std::vector<int>(w->Heights, w->Heights + 4), (std::vector<int>{0, 0, 23, 0}));
  EXPECT_EQ(w->Data, String("\x00\x01\xFF", 3));
  EXPECT_EQ(inner->GetParentComponent(), panel);
  EXPECT_EQ(panel->GetParentComponent(), m);
  ASSERT_TRUE(w->OnClick.Assigned());
  w->OnClick(w);
  EXPECT_EQ(m->Clicked, w);

  // Written again, the copy describes itself in the same words.
  EXPECT_EQ(WriteComponentToText(m), text);
}

TEST_F(FilerTest, LoadedRunsOnceEverywhereAfterReferencesAreResolved) {
  const String text =
      "object Module1: TModule\n"
      "  object Early: TWidget\n"
      "    Buddy = Late\n"  // a component read after this one
      "  end\n"
      "  object Late: TWidget\n"
      "  end\n"
      "end\n";
  TModule m(nullptr);
  ReadComponentFromText(&m, text, "m.dfm");
  auto* early = static_cast<TWidget*>(m.FindComponent("Early"));
  auto* late = static_cast<TWidget*>(m.FindComponent("Late"));
  EXPECT_EQ(m.LoadedCount, 1);
  EXPECT_EQ(early->LoadedCount, 1);
  EXPECT_EQ(late->LoadedCount, 1);
  EXPECT_EQ(early->BuddyAtLoad, late);
  EXPECT_TRUE(early->LoadingWhileRead);
  EXPECT_FALSE(early->ComponentState().Contains(csLoading));
  EXPECT_FALSE(m.ComponentState().Contains(csLoading));
  EXPECT_EQ(FindGlobalComponent("Module1"), &m);  // a root read from a description is a module
}

TEST_F(FilerTest, ASecondInstanceOfAModuleGetsAFreeName) {
  const String text = "object Module1: TModule\nend\n";
  TModule first(nullptr), second(nullptr);
  ReadComponentFromText(&first, text, "m.dfm");
  ReadComponentFromText(&second, text, "m.dfm");
  EXPECT_EQ(first.Name(), "Module1");
  EXPECT_EQ(second.Name(), "Module1_1");
  EXPECT_EQ(FindGlobalComponent("Module1_1"), &second);
}

TEST_F(FilerTest, ReadErrorsNameTheFileLineAndPropertyAndLeaveNothingBehind) {
  struct Case {
    const char* Body;  // lines 3.. of the description, inside Widget1
    const char* Expected;
  };
  const Case cases[] = {
      {"    Width2 = 1\n", "m.dfm(3) : propriété Widget1.Width2 : propriété inexistante"_a},
      {"    Width = 'abc'\n", "m.dfm(3) : propriété Widget1.Width : valeur de type chaîne inattendue"_a},
      {"    Shade = shMedium\n", "m.dfm(3) : propriété Widget1.Shade : valeur shMedium incorrecte pour le type TShade"_a},
      {"    Edges = [edLeft, edMiddle]\n",
       "m.dfm(3) : propriété Widget1.Edges : valeur edMiddle incorrecte pour le type TEdge"_a},
      {"    Enabled = 1\n", "m.dfm(3) : propriété Widget1.Enabled : valeur de type entier inattendue"_a},
      {"    Font.Colour = 3\n", "m.dfm(3) : propriété Widget1.Font.Colour : propriété inexistante"_a},
      {"    Lines = (1)\n", "m.dfm(3) : propriété Widget1.Lines : une liste de chaînes ne contient que des chaînes"_a},
      {"    Items = <\n      item\n        Height = 3\n      end>\n",
       "m.dfm(5) : propriété Widget1.Items[0].Height : propriété inexistante"_a},
      {"    Buddy = Nobody\n", "m.dfm(3) : propriété Widget1.Buddy : référence Nobody non résolue"_a},
      {"    Buddy = dmOther.Nobody\n", "m.dfm(3) : propriété Widget1.Buddy : référence dmOther.Nobody non résolue"_a},
      {"    Buddy = Module1\n", "m.dfm(3) : propriété Widget1.Buddy : Module1 est un TModule, pas un TWidget"_a},
      {"    OnClick = NoSuchClick\n",
       "m.dfm(3) : propriété Widget1.OnClick : gestionnaire NoSuchClick introuvable dans TModule"_a},
      {"    OnClick = Validate\n",
       "m.dfm(3) : propriété Widget1.OnClick : le gestionnaire Validate n'a pas la signature de l'événement"_a},
      {"    EdgeHeights = 5\n", "m.dfm(3) : propriété Widget1.EdgeHeights : type liste attendu, type entier trouvé"_a},
      {"    EdgeHeights = (1 2)\n", "m.dfm(3) : propriété Widget1.EdgeHeights : fin de liste atteinte"_a},
      {"    Data = 'x'\n", "m.dfm(3) : propriété Widget1.Data : valeur de type chaîne inattendue"_a},
      {"    object X: TNowhere\n    end\n", "m.dfm(3) : classe TNowhere non trouvée"_a},
      {"    object X: TFontBox\n    end\n", "m.dfm(3) : la classe TFontBox n'est pas un composant"},
      // The nested Widget2 is read first; the clash is the root's own Widget2, line 6.
      {"    object Widget2: TWidget\n    end\n", "m.dfm(6) : Un composant nommé Widget2 existe déjà"_a},
  };
  for (const Case& c : cases) {
    String text = String("object Module1: TModule\n") +  // 1
                  "  object Widget1: TWidget\n" +         // 2
                  c.Body +                                 // 3...
                  "  end\n"
                  "  object Widget2: TWidget\n"
                  "  end\n"
                  "end\n";
    TModule root(nullptr);
    try {
      ReadComponentFromText(&root, text, "m.dfm");
      ADD_FAILURE() << c.Body;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message, c.Expected) << c.Body;
    }
    EXPECT_EQ(root.ComponentCount(), 0) << c.Body;
    EXPECT_EQ(root.Widget1, nullptr) << c.Body;
    EXPECT_EQ(TWidget::Live, liveBefore) << c.Body;
    EXPECT_FALSE(root.ComponentState().Contains(csLoading)) << c.Body;
    EXPECT_EQ(FindGlobalComponent("Module1"), nullptr) << c.Body;
  }
}

TEST_F(FilerTest, ARootOfAnotherClassOrAnUnknownRootClassIsRefused) {
  TWidget notAModule(nullptr);
  try {
    ReadComponentFromText(&notAModule, "object Module1: TModule\nend\n", "m.dfm");
    ADD_FAILURE();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "m.dfm(1) : la description d'un TModule ne peut pas être lue dans un TWidget"_a);
  }
  EXPECT_THROW(CreateComponentFromText("object X: TNowhere\nend\n", "x.dfm", nullptr), EReadError);
  int live = TWidget::Live;
  EXPECT_THROW(CreateComponentFromText("object W: TWidget\n  Width = 'x'\nend\n", "w.dfm", nullptr), EReadError);
  EXPECT_EQ(TWidget::Live, live);  // the root made for the description is freed too
}

TEST_F(FilerTest, WritingAgainstAnAncestorKeepsOnlyTheDifferences) {
  auto ancestor = MakeModule();
  const String ancestorText = WriteComponentToText(ancestor.get());

  // The descendant is built as a derived form is: its ancestor's description, then its own.
  TModuleChild child(nullptr);
  ReadComponentFromText(&child, ancestorText, "Module1.dfm");
  child.SetName("Module2");
  auto* w = static_cast<TWidget*>(child.FindComponent("Widget1"));
  w->SetWidth(99);
  w->Heights[0] = 5;
  w->OnClick = TNotifyEvent(static_cast<TModule*>(&child), &TModule::OtherClick);
  auto* extra = new TWidget(&child);
  extra->SetName("Extra");
  extra->SetBuddy(w);

  const String text = WriteComponentToText(&child, ancestor.get());
  const String expected =
      "inherited Module2: TModuleChild\r\n"
      "  inherited Widget1: TWidget\r\n"
      "    Width = 99\r\n"
      "    OnClick = OtherClick\r\n"
      "    EdgeHeights = (\r\n"
      "      5\r\n"
      "      0\r\n"
      "      23\r\n"
      "      0)\r\n"
      "  end\r\n"
      "  object Extra: TWidget\r\n"
      "    Font.Name = 'Arial'\r\n"  // strings have no default but the empty one
      "    Buddy = Widget1\r\n"
      "  end\r\n"
      "end\r\n";
  EXPECT_EQ(text, expected);

  TModuleChild again(nullptr);
  ReadComponentFromText(&again, ancestorText, "Module1.dfm");
  ReadComponentFromText(&again, text, "Module2.dfm");
  EXPECT_EQ(again.Name(), "Module2_1");  // "child" still holds the name
  auto* w2 = static_cast<TWidget*>(again.FindComponent("Widget1"));
  EXPECT_EQ(w2->GetWidth(), 99);
  EXPECT_EQ(w2->Caption, w->Caption);  // from the ancestor's description
  EXPECT_EQ(w2->Heights[0], 5);
  EXPECT_EQ(w2->LoadedCount, 2);  // once per description read
  EXPECT_EQ(static_cast<TWidget*>(again.FindComponent("Extra"))->GetBuddy(), w2);
  EXPECT_THROW(ReadComponentFromText(&again, "inherited Module2: TModuleChild\n  inherited Ghost: TWidget\n  end\nend\n",
                                     "Module2.dfm"),
               EReadError);
}

TEST_F(FilerTest, OnlyTheRootsPublishedHandlersAreWritten) {
  TModule m(nullptr);
  m.SetName("Module1");
  auto* w = new TWidget(&m);
  w->SetName("W");
  TModule stranger(nullptr);
  w->OnClick = TNotifyEvent(&stranger, &TModule::WidgetClick);  // another object's method has no name here
  EXPECT_EQ(WriteComponentToText(&m).find("OnClick"), String::npos);
  w->OnClick = TNotifyEvent(&m, &TModule::Unlisted);  // the root's, but in no table: said, not dropped
  EXPECT_THROW(WriteComponentToText(&m), EWriteError);
  EXPECT_FALSE(w->ComponentState().Contains(csWriting));
}

}  // namespace
