// Tests of the form-description text reader and writer: the tree read from hand-written text, every
// value kind, error messages with their line, hostile and truncated input, the writer's exact
// layout, float text, byte-for-byte round trips and the reading speed of a large description.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "Exceptions.h"
#include "FormText.h"

namespace {

// Joins lines with CR LF, the last one included, as the writer ends them.
String CrLf(std::initializer_list<const char*> Lines) {
  String text;
  for (const char* line : Lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// The value of "V = <value>" inside a one-property object.
TFormValue ValueOf(const String& ValueText) {
  TFormObject object = ParseFormText("object A: TA\n  V = " + ValueText + "\nend\n", "v.dfm");
  EXPECT_EQ(object.Properties.size(), 1u) << ValueText;
  if (object.Properties.size() != 1) return TFormValue();
  return object.Properties[0].Value;
}

String ErrorOf(const String& Text) {
  try {
    ParseFormText(Text, "fiche.dfm");
  } catch (const EReadError& e) {
    return e.Message;
  }
  return "<no error>";
}

// ---- Reading the tree ------------------------------------------------------------------------

TEST(FormTextRead, BuildsObjectsPropertiesAndChildrenWithTheirLines) {
  const String text =
      "object frmMain: TfrmMain\n"         // 1
      "  Left = 10\n"                      // 2
      "  Font.Name = 'Arial'\n"            // 3
      "  object pnTop: TPanel\n"           // 4
      "    Align = alTop\n"                // 5
      "    inherited btOk: TButton [3]\n"  // 6
      "    end\n"                          // 7
      "    inline TfrCadre\n"              // 8
      "      Tag = 1\n"                    // 9
      "    end\n"                          // 10
      "  end\n"                            // 11
      "  object TTimer end\n"              // 12
      "end\n";                             // 13
  TFormObject root = ParseFormText(text, "main.dfm");

  EXPECT_EQ(root.Kind, TFormObjectKind::Object);
  EXPECT_EQ(root.Name, "frmMain");
  EXPECT_EQ(root.ClassName, "TfrmMain");
  EXPECT_EQ(root.Index, -1);
  EXPECT_EQ(root.Line, 1);
  ASSERT_EQ(root.Properties.size(), 2u);
  EXPECT_EQ(root.Properties[0].Name, "Left");
  EXPECT_EQ(root.Properties[0].Line, 2);
  EXPECT_EQ(root.Properties[0].Value.Line, 2);
  EXPECT_EQ(root.Properties[1].Name, "Font.Name");
  EXPECT_EQ(root.Properties[1].Value.Text, "Arial");
  EXPECT_EQ(root.Properties[1].Line, 3);

  ASSERT_EQ(root.Children.size(), 2u);
  const TFormObject& panel = root.Children[0];
  EXPECT_EQ(panel.Name, "pnTop");
  EXPECT_EQ(panel.Line, 4);
  ASSERT_EQ(panel.Children.size(), 2u);
  const TFormObject& button = panel.Children[0];
  EXPECT_EQ(button.Kind, TFormObjectKind::Inherited);
  EXPECT_EQ(button.Name, "btOk");
  EXPECT_EQ(button.ClassName, "TButton");
  EXPECT_EQ(button.Index, 3);
  EXPECT_EQ(button.Line, 6);
  const TFormObject& frame = panel.Children[1];
  EXPECT_EQ(frame.Kind, TFormObjectKind::Inline);
  EXPECT_EQ(frame.Name, "");
  EXPECT_EQ(frame.ClassName, "TfrCadre");
  ASSERT_EQ(frame.Properties.size(), 1u);
  EXPECT_EQ(frame.Properties[0].Line, 9);

  const TFormObject& timer = root.Children[1];
  EXPECT_EQ(timer.Name, "");
  EXPECT_EQ(timer.ClassName, "TTimer");
  EXPECT_EQ(timer.Line, 12);
}

TEST(FormTextRead, KeywordsIgnoreCaseAndLayoutIsFree) {
  TFormObject root = ParseFormText("OBJECT a:TA Left=1 Object b : TB END End", "x");
  EXPECT_EQ(root.Name, "a");
  ASSERT_EQ(root.Properties.size(), 1u);
  ASSERT_EQ(root.Children.size(), 1u);
  EXPECT_EQ(root.Children[0].Name, "b");
}

TEST(FormTextRead, CountsCrLfLfAndLoneCrAsOneLineEach) {
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    String text = String("object A: TA") + eol + eol + "  Left = 1" + eol + "  Caption = 'x' +" + eol +
                  "    'y'" + eol + "  Top = 2" + eol + "end" + eol;
    TFormObject root = ParseFormText(text, "x");
    ASSERT_EQ(root.Properties.size(), 3u);
    EXPECT_EQ(root.Properties[0].Line, 3) << int(eol[0]);
    EXPECT_EQ(root.Properties[1].Value.Text, "xy");
    EXPECT_EQ(root.Properties[2].Line, 6) << int(eol[0]);
    EXPECT_EQ(ErrorOf(text + "x"), "fiche.dfm(8) : texte après le 'end' final"_a) << int(eol[0]);
  }
}

// ---- Values ----------------------------------------------------------------------------------

TEST(FormTextValues, ReadsNumbers) {
  struct Case {
    const char* Text;
    std::int64_t Integer;
  };
  const Case integers[] = {
      {"0", 0},
      {"42", 42},
      {"-7", -7},
      {"+5", 5},
      {"$FF", 255},
      {"$00ff00FF", 0x00FF00FF},
      {"-$10", -16},
      {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
      {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
  };
  for (const Case& c : integers) {
    TFormValue v = ValueOf(c.Text);
    EXPECT_EQ(v.Kind, TFormValueKind::Integer) << c.Text;
    EXPECT_EQ(v.Integer, c.Integer) << c.Text;
  }

  struct FloatCase {
    const char* Text;
    double Float;
  };
  const FloatCase floats[] = {
      {"1.5", 1.5},   {"-2.25E-3", -2.25e-3}, {"0.1", 0.1},   {"2.0", 2.0},
      {"1E10", 1e10}, {"+3.5e+2", 350.0},     {"-0.0", -0.0}, {"12345.678", 12345.678},
  };
  for (const FloatCase& c : floats) {
    TFormValue v = ValueOf(c.Text);
    EXPECT_EQ(v.Kind, TFormValueKind::Float) << c.Text;
    EXPECT_EQ(v.Float, c.Float) << c.Text;
    EXPECT_EQ(std::signbit(v.Float), std::signbit(c.Float)) << c.Text;
  }
}

TEST(FormTextValues, ReadsStringsWithQuotesCodesAndContinuations) {
  struct Case {
    const char* Text;
    String Value;
  };
  const Case cases[] = {
      {"''", ""},
      {"'abc'", "abc"},
      {"'it''s'", "it's"},
      {"''''", "'"},
      {"'ligne 1'#13#10'ligne 2'", "ligne 1\r\nligne 2"},
      {"#13#10'x'", "\r\nx"},
      {"'x'#9", "x\t"},
      {"#233't'#233", "été"_a},
      {"#$41#66", "AB"},
      {"#8364' et '#339", "€ et œ"_a},  // code points above 255 that 1252 holds
      {"#0'a'", String("\0a", 2)},
      {"'déjà'"_a, "déjà"_a},  // 1252 bytes pass through quoted runs
      {"'début ' +\n    'suite' +\n 'fin'"_a, "début suitefin"_a},
      {"'a'+'b' + #33", "ab!"},
  };
  for (const Case& c : cases) {
    TFormValue v = ValueOf(c.Text);
    EXPECT_EQ(v.Kind, TFormValueKind::String) << c.Text;
    EXPECT_EQ(v.Text, c.Value) << c.Text;
  }
}

TEST(FormTextValues, ReadsIdentifiersSetsAndBinary) {
  TFormValue v = ValueOf("dmVelbor.qZone");
  EXPECT_EQ(v.Kind, TFormValueKind::Identifier);
  EXPECT_EQ(v.Text, "dmVelbor.qZone");
  for (const char* word : {"True", "False", "nil", "clBtnFace", "_x1"}) {
    v = ValueOf(word);
    EXPECT_EQ(v.Kind, TFormValueKind::Identifier) << word;
    EXPECT_EQ(v.Text, word);
  }

  v = ValueOf("[]");
  EXPECT_EQ(v.Kind, TFormValueKind::Set);
  EXPECT_TRUE(v.SetItems.empty());
  v = ValueOf("[fsBold,fsItalic , akTop]");
  EXPECT_EQ(v.SetItems, (std::vector<String>{"fsBold", "fsItalic", "akTop"}));
  v = ValueOf("[0, 3]");
  EXPECT_EQ(v.SetItems, (std::vector<String>{"0", "3"}));

  v = ValueOf("{}");
  EXPECT_EQ(v.Kind, TFormValueKind::Binary);
  EXPECT_TRUE(v.Binary.empty());
  v = ValueOf("{\n  00FF7a\n  10\n  }");
  EXPECT_EQ(v.Kind, TFormValueKind::Binary);
  EXPECT_EQ(v.Binary, std::string("\x00\xFF\x7A\x10", 4));
}

TEST(FormTextValues, ReadsListsAndCollectionsWithTheirLines) {
  TFormObject root = ParseFormText(
      "object A: TA\n"                        // 1
      "  Lines.Strings = (\n"                 // 2
      "    'un'\n"                            // 3
      "    'deux'\n"                          // 4
      "    3 nil [a] ( 'nested' ))\n"         // 5
      "  Empty = ()\n"                        // 6
      "  Columns = <\n"                       // 7
      "    item\n"                            // 8
      "      FieldName = 'CODE'\n"            // 9
      "      Title.Caption = 'Code'\n"        // 10
      "    end\n"                             // 11
      "    item [4]\n"                        // 12
      "      Sub = < item Width = 5 end >\n"  // 13
      "    end>\n"                            // 14
      "  None = <>\n"                         // 15
      "end\n",
      "x");
  ASSERT_EQ(root.Properties.size(), 4u);
  const TFormValue& list = root.Properties[0].Value;
  EXPECT_EQ(list.Kind, TFormValueKind::List);
  ASSERT_EQ(list.Items.size(), 6u);
  EXPECT_EQ(list.Items[0].Text, "un");
  EXPECT_EQ(list.Items[0].Line, 3);
  EXPECT_EQ(list.Items[1].Text, "deux");
  EXPECT_EQ(list.Items[2].Kind, TFormValueKind::Integer);
  EXPECT_EQ(list.Items[3].Kind, TFormValueKind::Identifier);
  EXPECT_EQ(list.Items[4].Kind, TFormValueKind::Set);
  ASSERT_EQ(list.Items[5].Kind, TFormValueKind::List);
  EXPECT_EQ(list.Items[5].Items.at(0).Text, "nested");
  EXPECT_EQ(list.Items[5].Line, 5);

  EXPECT_EQ(root.Properties[1].Value.Kind, TFormValueKind::List);
  EXPECT_TRUE(root.Properties[1].Value.Items.empty());

  const TFormValue& columns = root.Properties[2].Value;
  EXPECT_EQ(columns.Kind, TFormValueKind::Collection);
  ASSERT_EQ(columns.CollectionItems.size(), 2u);
  const TFormCollectionItem& first = columns.CollectionItems[0];
  EXPECT_EQ(first.Index, -1);
  EXPECT_EQ(first.Line, 8);
  ASSERT_EQ(first.Properties.size(), 2u);
  EXPECT_EQ(first.Properties[1].Name, "Title.Caption");
  EXPECT_EQ(first.Properties[1].Line, 10);
  const TFormCollectionItem& second = columns.CollectionItems[1];
  EXPECT_EQ(second.Index, 4);
  ASSERT_EQ(second.Properties.size(), 1u);
  const TFormValue& sub = second.Properties[0].Value;
  ASSERT_EQ(sub.CollectionItems.size(), 1u);
  EXPECT_EQ(sub.CollectionItems[0].Properties.at(0).Value.Integer, 5);

  EXPECT_EQ(root.Properties[3].Value.Kind, TFormValueKind::Collection);
  EXPECT_TRUE(root.Properties[3].Value.CollectionItems.empty());
}

// ---- Errors ----------------------------------------------------------------------------------

TEST(FormTextErrors, NameTheSourceLineAndReason) {
  struct Case {
    String Text;
    String Message;
  };
  const String head = "object A: TA\n";
  const Case cases[] = {
      {"", "fiche.dfm(1) : fin de texte inattendue ('object' attendu)"},
      {"Left = 1\n", "fiche.dfm(1) : 'object' attendu"},
      {head + "  Left = 1\n", "fiche.dfm(3) : fin de texte inattendue ('end' attendu)"},
      {head + "  Left = 1\n  object B: TB\n  end\n  Top = 2\nend\n", "fiche.dfm(5) : 'end' attendu"},
      {head + "  Caption = 'abc\nend\n", "fiche.dfm(2) : chaîne non terminée"_a},
      {head + "  Caption = 'abc", "fiche.dfm(2) : chaîne non terminée"_a},
      {head + "  Caption = 'a' +\nend\n", "fiche.dfm(3) : chaîne attendue après '+'"_a},
      {head + "  Left = 12x\nend\n", "fiche.dfm(2) : nombre incorrect : 12x"},
      {head + "  Left = 1.\nend\n", "fiche.dfm(2) : nombre incorrect : 1."},
      {head + "  Left = 1E\nend\n", "fiche.dfm(2) : nombre incorrect : 1E"},
      {head + "  Left = $\nend\n", "fiche.dfm(2) : nombre incorrect : $"},
      {head + "  Left = 9223372036854775808\nend\n", "fiche.dfm(2) : nombre incorrect : 9223372036854775808"},
      {head + "  Ratio = 1,5\nend\n",
       "fiche.dfm(2) : nombre incorrect : 1,5 (le séparateur décimal est le point)"_a},
      {head + "  Caption = 'a'#8800\nend\n",
       "fiche.dfm(2) : code de caractère incorrect : #8800 (hors de la page de code 1252)"_a},
      {head + "  Caption = #x\nend\n", "fiche.dfm(2) : code de caractère incorrect : #"_a},
      {head + "  Caption = #99999999999\nend\n",
       "fiche.dfm(2) : code de caractère incorrect : #99999999999 (hors de la page de code 1252)"_a},
      {head + "  Left 1\nend\n", "fiche.dfm(2) : '=' attendu"},
      {head + "  Left =", "fiche.dfm(2) : fin de texte inattendue (valeur attendue)"},
      {head + "  Left = )\nend\n", "fiche.dfm(2) : valeur attendue au lieu de ')'"},
      {head + "  Style = [a, b\nend\n", "fiche.dfm(3) : ']' attendu"},
      {head + "  Style = [a b]\nend\n", "fiche.dfm(2) : ']' attendu"},
      {head + "  Style = [a, ]\nend\n", "fiche.dfm(2) : élément d'ensemble attendu"_a},
      {head + "  Lines = ( 'a'\n", "fiche.dfm(3) : fin de texte inattendue (')' attendu)"},
      {head + "  Cols = <\n    item\n    end\n", "fiche.dfm(5) : fin de texte inattendue ('>' attendu)"},
      {head + "  Cols = < Width = 1 >\nend\n", "fiche.dfm(2) : 'item' ou '>' attendu"},
      {head + "  Cols = < item Width = 1 >\nend\n", "fiche.dfm(2) : 'end' attendu"},
      {head + "  Data = {0A1}\nend\n",
       "fiche.dfm(2) : données binaires incorrectes : nombre impair de chiffres"_a},
      {head + "  Data = {0A 1G}\nend\n", "fiche.dfm(2) : données binaires incorrectes : 'G'"_a},
      {head + "  Data = {\n  0A0B\n", "fiche.dfm(4) : fin de texte inattendue ('}' attendu)"},
      {head + "  Left = 1 ;\nend\n", "fiche.dfm(2) : caractère inattendu : ';'"_a},
      {head + "  Left = 1\x01\nend\n", "fiche.dfm(2) : caractère inattendu : #1"_a},
      {head + "  Caption = \"x\"\nend\n", "fiche.dfm(2) : caractère inattendu : '\"'"_a},
      {"object A: TA [x]\nend\n", "fiche.dfm(1) : indice attendu"},
      {"object A: TA [-1]\nend\n", "fiche.dfm(1) : indice attendu"},
      {"object A: 5\nend\n", "fiche.dfm(1) : nom de classe attendu"},
      {"object A: TA\nend\nobject B: TB\nend\n", "fiche.dfm(3) : texte après le 'end' final"_a},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.Text), c.Message) << c.Text;
}

TEST(FormTextErrors, DeepNestingIsRefusedNotOverflowed) {
  String deepList = "object A: TA\n  V = " + String(100000, '(') + "\nend\n";
  EXPECT_EQ(ErrorOf(deepList), "fiche.dfm(2) : imbrication trop profonde");

  String deepObjects;
  for (int i = 0; i < 20000; ++i) deepObjects += "object TA\n";
  EXPECT_EQ(ErrorOf(deepObjects), "fiche.dfm(202) : imbrication trop profonde");

  // Forty levels of objects, as deep as real forms never go, still read.
  String nested;
  for (int i = 0; i < 40; ++i) nested += "object TA\n";
  for (int i = 0; i < 40; ++i) nested += "end\n";
  EXPECT_NO_THROW(ParseFormText(nested, "x"));
}

// The reader either returns a tree or raises EReadError; nothing else escapes, nothing crashes.
void ExpectParsesOrReadError(const String& Text) {
  try {
    ParseFormText(Text, "x");
  } catch (const EReadError&) {
  } catch (...) {
    ADD_FAILURE() << "unexpected exception for: " << Text;
  }
}

TEST(FormTextErrors, GarbageRaisesReadErrorOnly) {
  const String garbage[] = {
      String("\0\0\0", 3),
      "object",
      "object :",
      "object A:",
      "{{{{",
      "'''",
      "#",
      "#$",
      "-$",
      "-",
      "+",
      "object A: TA V = -$ end",
      "object A: TA V = 1.e5 end",
      "object A: TA V = < item > end",
      "object A: TA V = [ end",
      "object A: TA V = ( ] ) end",
      "end",
      "object A: TA end end",
      "object A: TA V = 'a' + + 'b' end",
      "\xEF\xBB\xBFobject A: TA end",
      "object A: TA [99999999999] end",
  };
  for (const String& g : garbage) ExpectParsesOrReadError(g);

  // Random texts drawn from the format's own characters hit the odd corners of every rule.
  const char alphabet[] = "object end item A:TA=[](){}<>,+-$#'0123456789.Ee \n\r\t";
  std::uint32_t seed = 12345;
  for (int n = 0; n < 3000; ++n) {
    String text = "object A: TA\n";
    int length = int(seed % 60);
    for (int i = 0; i < length; ++i) {
      seed = seed * 1664525u + 1013904223u;
      text += alphabet[(seed >> 16) % (sizeof alphabet - 1)];
    }
    seed = seed * 1664525u + 1013904223u;
    ExpectParsesOrReadError(text);
  }
}

// ---- Writing ---------------------------------------------------------------------------------

TFormValue Int(std::int64_t I) {
  TFormValue v;
  v.Kind = TFormValueKind::Integer;
  v.Integer = I;
  return v;
}
TFormValue Str(const String& S) {
  TFormValue v;
  v.Kind = TFormValueKind::String;
  v.Text = S;
  return v;
}
TFormValue Flt(double D) {
  TFormValue v;
  v.Kind = TFormValueKind::Float;
  v.Float = D;
  return v;
}
TFormProperty Prop(const String& Name, TFormValue Value) { return TFormProperty{Name, std::move(Value), 0}; }

TEST(FormTextWrite, LaysOutObjectsTwoSpacesPerLevelWithCrLf) {
  TFormObject root;
  root.Kind = TFormObjectKind::Inherited;
  root.Name = "frmFiche";
  root.ClassName = "TfrmFiche";
  root.Properties.push_back(Prop("Left", Int(-12)));
  TFormValue set;
  set.Kind = TFormValueKind::Set;
  set.SetItems = {"fsBold", "fsItalic"};
  root.Properties.push_back(Prop("Font.Style", set));
  set.SetItems.clear();
  root.Properties.push_back(Prop("Anchors", set));
  TFormObject panel;
  panel.Name = "pnHaut";
  panel.ClassName = "TPanel";
  panel.Index = 0;
  TFormObject label;
  label.Kind = TFormObjectKind::Inline;
  label.ClassName = "TLabel";
  label.Index = 2;
  TFormValue ident;
  ident.Kind = TFormValueKind::Identifier;
  ident.Text = "dmVelbor.qZone";
  label.Properties.push_back(Prop("DataSet", ident));
  panel.Children.push_back(label);
  root.Children.push_back(panel);
  root.Children.push_back(TFormObject{TFormObjectKind::Object, "tmAuto", "TTimer", -1, {}, {}, 0});

  EXPECT_EQ(WriteFormText(root), CrLf({
                                     "inherited frmFiche: TfrmFiche",
                                     "  Left = -12",
                                     "  Font.Style = [fsBold, fsItalic]",
                                     "  Anchors = []",
                                     "  object pnHaut: TPanel [0]",
                                     "    inline TLabel [2]",
                                     "      DataSet = dmVelbor.qZone",
                                     "    end",
                                     "  end",
                                     "  object tmAuto: TTimer",
                                     "  end",
                                     "end",
                                 }));
}

String WrittenValue(const TFormValue& Value) {
  TFormObject root;
  root.Name = "A";
  root.ClassName = "TA";
  root.Properties.push_back(Prop("V", Value));
  String text = WriteFormText(root);
  const String head = "object A: TA\r\n  V = ";
  const String tail = "\r\nend\r\n";
  EXPECT_EQ(text.compare(0, head.size(), head), 0) << text;
  EXPECT_GE(text.size(), head.size() + tail.size());
  return text.substr(head.size(), text.size() - head.size() - tail.size());
}

TEST(FormTextWrite, WritesStringsQuotedWithCodesForControlCharacters) {
  struct Case {
    String Value;
    String Text;
  };
  const Case cases[] = {
      {"", "''"},
      {"abc", "'abc'"},
      {"it's", "'it''s'"},
      {"'", "''''"},
      {"ligne 1\r\nligne 2", "'ligne 1'#13#10'ligne 2'"},
      {"\tx\n", "#9'x'#10"},
      {String("\0", 1), "#0"},
      {"été € œ \u00A0\x7F"_a, "'été € œ \u00A0\x7F'"_a},  // 1252 text as is; the caller converts the file
  };
  for (const Case& c : cases) EXPECT_EQ(WrittenValue(Str(c.Value)), c.Text) << c.Value;
}

TEST(FormTextWrite, SplitsLongStringsEverySixtyFourCharacters) {
  String digits;
  for (int i = 0; i < 130; ++i) digits += char('0' + i % 10);
  EXPECT_EQ(WrittenValue(Str(digits.substr(0, 64))), "'" + digits.substr(0, 64) + "'");
  EXPECT_EQ(WrittenValue(Str(digits)), "'" + digits.substr(0, 64) + "' +\r\n    '" + digits.substr(64, 64) +
                                           "' +\r\n    '" + digits.substr(128) + "'");

  // A code or a doubled quote counts as one character of the string.
  String mixed = String(63, 'a') + "'\r" + "b";
  EXPECT_EQ(WrittenValue(Str(mixed)), "'" + String(63, 'a') + "''' +\r\n    #13'b'");
}

TEST(FormTextWrite, WritesListsBinaryAndCollections) {
  TFormValue list;
  list.Kind = TFormValueKind::List;
  EXPECT_EQ(WrittenValue(list), "()");
  list.Items = {Str("un"), Str(""), Int(3)};
  EXPECT_EQ(WrittenValue(list), "(\r\n    'un'\r\n    ''\r\n    3)");

  TFormValue binary;
  binary.Kind = TFormValueKind::Binary;
  EXPECT_EQ(WrittenValue(binary), "{}");
  for (int i = 0; i < 34; ++i) binary.Binary += char(i * 8);
  EXPECT_EQ(WrittenValue(binary),
            "{\r\n    0008101820283038404850586068707880889098A0A8B0B8C0C8D0D8E0E8F0F8\r\n    0008}");

  TFormValue collection;
  collection.Kind = TFormValueKind::Collection;
  EXPECT_EQ(WrittenValue(collection), "<>");
  collection.CollectionItems.resize(2);
  collection.CollectionItems[0].Properties = {Prop("FieldName", Str("CODE")), Prop("Width", Int(64))};
  collection.CollectionItems[1].Index = 3;
  EXPECT_EQ(WrittenValue(collection),
            "<\r\n    item\r\n      FieldName = 'CODE'\r\n      Width = 64\r\n"
            "    end\r\n    item [3]\r\n    end>");
}

TEST(FormTextWrite, WritesFloatsShortestWithAPoint) {
  struct Case {
    double Value;
    const char* Text;
  };
  const Case cases[] = {
      {1.5, "1.5"},     {0.1, "0.1"},           {2.0, "2.0"},
      {-0.0, "-0.0"},   {1e20, "1.0E20"},       {-2.5e-10, "-2.5E-10"},
      {1e-5, "1.0E-5"}, {-0.00225, "-0.00225"}, {0.1 + 0.2, "0.30000000000000004"},
  };
  for (const Case& c : cases) EXPECT_EQ(WrittenValue(Flt(c.Value)), c.Text) << c.Text;

  // Whatever the double, its text reads back to the very same bits.
  const double values[] = {1.0 / 3,
                           -2.0 / 3,
                           123456789.123456789,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::lowest(),
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::epsilon(),
                           4.35,
                           1e300 / 7};
  for (double d : values) {
    String text = WrittenValue(Flt(d));
    TFormValue back = ValueOf(text);
    EXPECT_EQ(back.Kind, TFormValueKind::Float) << text;
    EXPECT_EQ(std::memcmp(&back.Float, &d, sizeof d), 0) << text;
  }

  EXPECT_THROW(WrittenValue(Flt(std::numeric_limits<double>::infinity())), EWriteError);
  EXPECT_THROW(WrittenValue(Flt(std::numeric_limits<double>::quiet_NaN())), EWriteError);
}

// ---- Round trip ------------------------------------------------------------------------------

// A description in the writer's own layout, with every value kind and four levels of objects.
String RoundTripFixture() {
  return CrLf({
      "inherited frmFiche: TfrmFiche [2]",
      "  Left = 120",
      "  Top = -8",
      "  Caption = 'Fiche d''été – n° 1'"_a,
      "  Color = clBtnFace",
      "  Visible = True",
      "  DataSet = dmVelbor.qZone",
      "  Font.Style = [fsBold, fsItalic]",
      "  Anchors = []",
      "  Ratio = 1.5",
      "  Scale = -2.25E-30",
      "  Zoom = 0.1",
      "  Big = -9223372036854775808",
      "  Hint = 'ligne 1'#13#10'ligne 2'#9'« tab »'"_a,
      "  Help = 'Une zone humide est un espace où l''eau est le facteur déterminan' +"_a,
      "    't du milieu et de la vie végétale et animale associée.'"_a,
      "  Lines.Strings = (",
      "    'premier'",
      "    ''",
      "    #7",
      "    'Le fonctionnement hydrologique de la zone dépend des apports d''e' +"_a,
      "      'au de surface et de la nappe.')",
      "  Widths = (",
      "    10",
      "    2.5",
      "    [a]",
      "    ()",
      "    (",
      "      'inner'))",
      "  Glyph.Data = {",
      "    424D360000000000000036000000280000001000000010000000010018000000",
      "    00030000}",
      "  Columns = <",
      "    item",
      "      FieldName = 'CODE'",
      "      Title.Caption = 'Libellé'"_a,
      "      Width = 64",
      "    end",
      "    item [3]",
      "      Lines = (",
      "        'x')",
      "      Sub = <",
      "        item",
      "          Tag = 1",
      "        end>",
      "    end>",
      "  Empty = <>",
      "  Blob = {}",
      "  object pnHaut: TPanel",
      "    Align = alTop",
      "    object TLabel",
      "      Caption = 'sans nom'",
      "    end",
      "    inline frCadre: TfrCadre [0]",
      "      object lbTitre: TLabel",
      "        Caption = 'Titre'",
      "      end",
      "    end",
      "  end",
      "  object dsZone: TDataSource",
      "  end",
      "end",
  });
}

TEST(FormTextRoundTrip, WriterTextReadsBackAndWritesByteForByte) {
  const String text = RoundTripFixture();
  TFormObject tree = ParseFormText(text, "fiche.dfm");
  EXPECT_EQ(WriteFormText(tree), text);

  // Spot checks that the text was read, not merely echoed.
  ASSERT_EQ(tree.Properties.size(), 20u);
  EXPECT_EQ(tree.Properties[2].Value.Text, "Fiche d'été – n° 1"_a);
  EXPECT_EQ(tree.Properties[12].Value.Text, "ligne 1\r\nligne 2\t« tab »"_a);
  EXPECT_EQ(tree.Properties[13].Value.Text.size(), 118u);
  EXPECT_EQ(tree.Properties[16].Value.Binary.size(), 36u);
  EXPECT_EQ(tree.Children.at(0).Children.at(1).Children.at(0).Properties.at(0).Value.Text, "Titre");
}

TEST(FormTextRoundTrip, FreeLayoutNormalisesToTheWriterLayout) {
  const String loose =
      "object A : TA\n Caption = 'a' +\n'b'\n Tag=$10 Data={00 ff}\n"
      " Items = < item [1] W=1 end > Set=[x,y]\nend";
  const String expected =
      CrLf({"object A: TA", "  Caption = 'ab'", "  Tag = 16", "  Data = {", "    00FF}", "  Items = <",
            "    item [1]", "      W = 1", "    end>", "  Set = [x, y]", "end"});
  String written = WriteFormText(ParseFormText(loose, "x"));
  EXPECT_EQ(written, expected);
  EXPECT_EQ(WriteFormText(ParseFormText(written, "x")), written);
}

TEST(FormTextRoundTrip, EveryTruncationParsesOnlyWhenWholeOrRaisesReadError) {
  const String text = RoundTripFixture();
  const std::size_t lastEnd = text.rfind("end");
  for (std::size_t n = 0; n <= text.size(); ++n) {
    String prefix = text.substr(0, n);
    bool parsed = false;
    try {
      ParseFormText(prefix, "x");
      parsed = true;
    } catch (const EReadError&) {
    } catch (...) {
      ADD_FAILURE() << "unexpected exception at length " << n;
    }
    EXPECT_EQ(parsed, n >= lastEnd + 3) << "length " << n;
  }
}

// ---- Speed -----------------------------------------------------------------------------------

TEST(FormTextSpeed, ReadsAFiveThousandLineDescriptionQuickly) {
  String text = "object frmGrand: TfrmGrand\r\n  Lines.Strings = (\r\n";
  for (int i = 0; i < 1000; ++i) text += "    'ligne " + std::to_string(i) + " du mémo'\r\n"_a;
  text += "    'fin')\r\n";
  for (int i = 0; i < 800; ++i) {
    String n = std::to_string(i);
    text += "  object ed" + n + ": TEdit\r\n    Left = " + n + "\r\n    Caption = 'Zone n° "_a + n +
            "'\r\n    Font.Style = [fsBold]\r\n  end\r\n";
  }
  text += "end\r\n";

  auto start = std::chrono::steady_clock::now();
  TFormObject tree = ParseFormText(text, "grand.dfm");
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(tree.Children.size(), 800u);
  EXPECT_EQ(tree.Properties.at(0).Value.Items.size(), 1001u);
  // A few milliseconds are expected; the bound leaves room for a loaded machine, not for
  // copying the text per token.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5004);
#ifdef VELBOR_SANITIZED
  const long long bound = 1000000;  // every memory access checked
#else
  const long long bound = 100000;
#endif
  EXPECT_LT(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count(), bound);
}

}  // namespace
