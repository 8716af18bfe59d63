// Tests of the field classes: conversions and texts of each type under the French settings, the
// events, write checks, lookup and calculated fields, field order, definitions, and persistent
// fields read from a form description.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>

#include "DataSet.h"
#include "DateTime.h"
#include "DateTimeFormat.h"
#include "Field.h"
#include "FieldDefs.h"
#include "Filer.h"
#include "FormatSettings.h"
#include "Modules.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Streams.h"
#include "VectorDataSet.h"

namespace {

// The smallest dataset fields can live in: one value per field, no records, no cursor. It stays
// in edit state (tests change it as they need), and leaves it while fields join and leave, which
// only a closed dataset allows; blobs live in strings.
class TBufferDataSet : public TDataSet {
 public:
  TBufferDataSet() : TDataSet(nullptr) { SetTempState(dsEdit); }
  ~TBufferDataSet() override {
    SetTempState(dsInactive);
    Destroying();
  }
  using TDataSet::SetTempState;
  void Join(TField* Field) {
    TDataSetState Saved = SetTempState(dsInactive);
    TScopeGuard restore([&] { SetTempState(Saved); });
    Field->SetDataSet(this);
  }
  void Drop(TField* Field) {
    TDataSetState Saved = SetTempState(dsInactive);
    delete Field;
    SetTempState(Saved);
  }

  std::map<TField*, std::vector<char>> Values;  // absent: null
  std::map<TField*, String> Blobs;
  int FieldChanges = 0;

  bool GetFieldData(TField* Field, void* Buffer) override {
    auto it = Values.find(Field);
    if (it == Values.end()) return false;
    if (Buffer != nullptr) std::memcpy(Buffer, it->second.data(), it->second.size());
    return true;
  }
  void SetFieldData(TField* Field, const void* Buffer) override {
    if (Buffer == nullptr) {
      Values.erase(Field);
      return;
    }
    const char* Bytes = static_cast<const char*>(Buffer);
    Values[Field].assign(Bytes, Bytes + Field->DataSize());
  }
  TStream* CreateBlobStream(TField* Field, TBlobStreamMode Mode) override {
    return new TBlobStream(Blobs[Field], Mode);
  }
  void DataEvent(TDataEvent Event, intptr_t Info) override {
    if (Event == deFieldChange) ++FieldChanges;
    // A field that leaves takes its value along (a later field may reuse its address).
    if (Event == deFieldListChange) {
      for (auto it = Values.begin(); it != Values.end();)
        it = Fields()->IndexOf(it->first) < 0 ? Values.erase(it) : std::next(it);
      for (auto it = Blobs.begin(); it != Blobs.end();)
        it = Fields()->IndexOf(it->first) < 0 ? Blobs.erase(it) : std::next(it);
    }
    TDataSet::DataEvent(Event, Info);
  }

 protected:
  // A blob stream writes its content back when it is freed.
  class TBlobStream : public TStringStream {
   public:
    TBlobStream(String& Target, TBlobStreamMode Mode)
        : TStringStream(Mode == bmWrite ? String() : Target), FTarget(Target), FWrite(Mode != bmRead) {}
    ~TBlobStream() override {
      if (FWrite) FTarget = DataString();
    }

   private:
    String& FTarget;
    bool FWrite;
  };

  char* AllocRecordBuffer() override { return nullptr; }
  void FreeRecordBuffer(char*& Buffer) override { Buffer = nullptr; }
  void InternalInitRecord(char*) override {}
  TGetResult GetRecord(char*, TGetMode, bool) override { return grEOF; }
  unsigned GetRecordSize() override { return 0; }
  void InternalOpen() override {}
  void InternalClose() override {}
  void InternalInitFieldDefs() override {}
  void InternalFirst() override {}
  void InternalLast() override {}
  void InternalPost() override {}
  void InternalAddRecord(char*, bool) override {}
  void InternalDelete() override {}
  void InternalGotoBookmark(const void*) override {}
  void InternalSetToRecord(char*) override {}
  void GetBookmarkData(char*, void*) override {}
  void SetBookmarkData(char*, const void*) override {}
  TBookmarkFlag GetBookmarkFlag(char*) override { return bfCurrent; }
  void SetBookmarkFlag(char*, TBookmarkFlag) override {}
  bool IsCursorOpen() override { return false; }
};

template <class F>
F* MakeField(TDataSet* DataSet, const String& Name, int Size = -1) {
  F* Field = new F(nullptr);
  if (Size >= 0) Field->SetSize(Size);
  Field->SetFieldName(Name);
  if (auto* Buffer = dynamic_cast<TBufferDataSet*>(DataSet)) Buffer->Join(Field);
  else Field->SetDataSet(DataSet);
  return Field;
}

String MessageOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (Exception& E) {
    return E.Message;
  }
  return "(no exception)";
}

class FieldTest : public ::testing::Test {
 protected:
  void TearDown() override { FormatSettings = TFormatSettings::French(); }
  TBufferDataSet DS;
};

// --- Texts and conversions of each type ---------------------------------------------------------

struct TTextCase {
  const char* What;
  std::function<TField*(TDataSet*)> Make;
  String Entry;        // through Text
  String AsString;
  String DisplayText;
  String EditText;
};

TEST_F(FieldTest, EachTypeReadsItsEntryAndShowsItWithItsFormats) {
  const TTextCase Cases[] = {
      {"string cut to its size", [](TDataSet* D) { return MakeField<TStringField>(D, "S", 5); }, "ABCDEFG", "ABCDE",
       "ABCDE", "ABCDE"},
      {"fixed char loses its padding",
       [](TDataSet* D) {
         auto* F = MakeField<TStringField>(D, "S", 6);
         F->FixedChar = true;
         return F;
       },
       "ab    ", "ab", "ab", "ab"},
      {"accented wide string", [](TDataSet* D) { return MakeField<TWideStringField>(D, "W", 10); }, "Libellé"_a,
       "Libellé"_a, "Libellé"_a, "Libellé"_a},
      {"integer with thousands",
       [](TDataSet* D) {
         auto* F = MakeField<TIntegerField>(D, "I");
         F->SetDisplayFormat("#,##0");
         return F;
       },
       "1234567", "1234567", "1\xA0" "234\xA0" "567", "1\xA0" "234\xA0" "567"},
      {"large integer", [](TDataSet* D) { return MakeField<TLargeintField>(D, "L"); }, "-9000000000", "-9000000000",
       "-9000000000", "-9000000000"},
      {"float in the general form", [](TDataSet* D) { return MakeField<TFloatField>(D, "F"); }, "12,345678",
       "12,345678", "12,345678", "12,345678"},
      {"float edited with its display format when it has no edit format",
       [](TDataSet* D) {
         auto* F = MakeField<TFloatField>(D, "F");
         F->SetDisplayFormat("#.####");
         return F;
       },
       "12,345678", "12,345678", "12,3457", "12,3457"},
      {"float with both formats",
       [](TDataSet* D) {
         auto* F = MakeField<TFloatField>(D, "F");
         F->SetDisplayFormat("#,##0.00 m");
         F->SetEditFormat("0.###");
         return F;
       },
       "1234,5", "1234,5", "1\xA0" "234,50 m", "1234,5"},
      {"altitude shown as a whole number", 
       [](TDataSet* D) {
         auto* F = MakeField<TFloatField>(D, "F");
         F->SetDisplayFormat("#");
         return F;
       },
       "245,5", "245,5", "246", "246"},
      {"currency amount", [](TDataSet* D) { return MakeField<TCurrencyField>(D, "C"); }, "1234,5", "1234,5",
       "1\u00A0" "234,50 €"_a, "1234,50"},
      {"BCD keeps four decimals", [](TDataSet* D) { return MakeField<TBCDField>(D, "B"); }, "12,345678", "12,3457",
       "12,3457", "12,3457"},
      {"boolean in the French words", [](TDataSet* D) { return MakeField<TBooleanField>(D, "B"); }, "v", "Vrai",
       "Vrai", "Vrai"},
      {"boolean with its own words",
       [](TDataSet* D) {
         auto* F = MakeField<TBooleanField>(D, "B");
         F->SetDisplayValues("Oui;Non");
         return F;
       },
       "NO", "Non", "Non", "Non"},
      {"date", [](TDataSet* D) { return MakeField<TDateField>(D, "D"); }, "2/1/2004", "02/01/2004", "02/01/2004",
       "02/01/2004"},
      {"year shown alone, edited whole",
       [](TDataSet* D) {
         auto* F = MakeField<TDateField>(D, "D");
         F->SetDisplayFormat("yyyy");
         return F;
       },
       "01/01/1850", "01/01/1850", "1850", "01/01/1850"},
      {"date and time", [](TDataSet* D) { return MakeField<TDateTimeField>(D, "T"); }, "02/01/2004 10:30",
       "02/01/2004 10:30:00", "02/01/2004 10:30:00", "02/01/2004 10:30:00"},
      {"date and time at midnight", [](TDataSet* D) { return MakeField<TDateTimeField>(D, "T"); }, "02/01/2004",
       "02/01/2004", "02/01/2004", "02/01/2004"},
      {"time", [](TDataSet* D) { return MakeField<TTimeField>(D, "T"); }, "9:05", "09:05:00", "09:05:00", "09:05:00"},
      {"bytes padded to their size", [](TDataSet* D) { return MakeField<TBytesField>(D, "Y", 4); }, "ab",
       String("ab\0\0", 4), "(BYTES)", "(BYTES)"},
      {"memo", [](TDataSet* D) { return MakeField<TMemoField>(D, "M"); }, "ligne 1\r\nligne 2", "ligne 1\r\nligne 2",
       "(MEMO)", "(MEMO)"},
  };
  for (const TTextCase& Case : Cases) {
    SCOPED_TRACE(Case.What);
    TField* Field = Case.Make(&DS);
    Field->SetText(Case.Entry);
    EXPECT_FALSE(Field->IsNull());
    EXPECT_EQ(Field->AsString(), Case.AsString);
    EXPECT_EQ(Field->DisplayText(), Case.DisplayText);
    EXPECT_EQ(Field->Text(), Case.EditText);
    DS.Drop(Field);
  }
}

TEST_F(FieldTest, EveryTypeShowsNothingWhenNullAndAnEmptyEntryClearsNumbersAndDates) {
  std::vector<TField*> Fields = {MakeField<TStringField>(&DS, "S"),    MakeField<TWideStringField>(&DS, "W"),
                                 MakeField<TSmallintField>(&DS, "SI"), MakeField<TIntegerField>(&DS, "I"),
                                 MakeField<TWordField>(&DS, "WO"),     MakeField<TLargeintField>(&DS, "L"),
                                 MakeField<TFloatField>(&DS, "F"),     MakeField<TCurrencyField>(&DS, "C"),
                                 MakeField<TBCDField>(&DS, "BC"),      MakeField<TBooleanField>(&DS, "B"),
                                 MakeField<TDateField>(&DS, "D"),      MakeField<TTimeField>(&DS, "T"),
                                 MakeField<TDateTimeField>(&DS, "DT"), MakeField<TVarBytesField>(&DS, "VB")};
  for (TField* Field : Fields) {
    SCOPED_TRACE(Field->ClassName());
    EXPECT_TRUE(Field->IsNull());
    EXPECT_EQ(Field->AsString(), "");
    // Binary values show their kind, in small letters while null.
    EXPECT_EQ(Field->DisplayText(), Field->DataType() == ftVarBytes ? "(VarBytes)" : "");
    EXPECT_TRUE(VarIsNull(Field->AsVariant()));
  }
  for (TField* Field : Fields) {
    if (Field->DataType() == ftString || Field->DataType() == ftWideString || Field->DataType() == ftVarBytes ||
        Field->DataType() == ftBoolean)
      continue;
    SCOPED_TRACE(Field->ClassName());
    Field->SetAsFloat(1);
    ASSERT_FALSE(Field->IsNull());
    Field->SetAsString("");
    EXPECT_TRUE(Field->IsNull());
  }
  // An empty text is a value for a string (the program stores a blank code that way).
  Fields[0]->SetAsString("");
  EXPECT_FALSE(Fields[0]->IsNull());
  Fields[0]->Clear();
  EXPECT_TRUE(Fields[0]->IsNull());
}

TEST_F(FieldTest, NumbersFollowTheSettingsWhenTheyChange) {
  auto* F = MakeField<TFloatField>(&DS, "F");
  F->SetAsFloat(1.5);
  FormatSettings.DecimalSeparator = '.';
  EXPECT_EQ(F->AsString(), "1.5");
  F->SetAsString("2.25");
  EXPECT_DOUBLE_EQ(F->AsFloat(), 2.25);
}

struct TBadEntry {
  const char* What;
  std::function<TField*(TDataSet*)> Make;
  String Entry;
  String Message;
};

TEST_F(FieldTest, BadEntriesRaiseThePlatformMessagesAndKeepTheValue) {
  const TBadEntry Cases[] = {
      {"integer", [](TDataSet* D) { return MakeField<TIntegerField>(D, "ORDRE"); }, "12a",
       "'12a' n'est pas une valeur entière correcte pour le champ 'ORDRE'"_a},
      {"large integer", [](TDataSet* D) { return MakeField<TLargeintField>(D, "N"); }, "1,5",
       "'1,5' n'est pas une valeur entière correcte pour le champ 'N'"_a},
      {"float with a point", [](TDataSet* D) { return MakeField<TFloatField>(D, "SURFACE"); }, "1.5",
       "'1.5' n'est pas une valeur à virgule flottante correcte pour le champ 'SURFACE'"_a},
      {"boolean", [](TDataSet* D) { return MakeField<TBooleanField>(D, "FLG"); }, "x",
       "'x' n'est pas une valeur booléenne correcte pour le champ 'FLG'"_a},
      {"smallint out of range", [](TDataSet* D) { return MakeField<TSmallintField>(D, "S"); }, "40000",
       "40000 n'est pas une valeur correcte pour le champ 'S'. Les valeurs autorisées vont de -32768 à 32767"_a},
      {"word below zero", [](TDataSet* D) { return MakeField<TWordField>(D, "W"); }, "-1",
       "-1 n'est pas une valeur correcte pour le champ 'W'. Les valeurs autorisées vont de 0 à 65535"_a},
      {"integer outside its own bounds",
       [](TDataSet* D) {
         auto* F = MakeField<TIntegerField>(D, "MOIS");
         F->SetMinValue(1);
         F->SetMaxValue(12);
         return F;
       },
       "13", "13 n'est pas une valeur correcte pour le champ 'MOIS'. Les valeurs autorisées vont de 1 à 12"_a},
      {"float outside its bounds",
       [](TDataSet* D) {
         auto* F = MakeField<TFloatField>(D, "P");
         F->SetMaxValue(1);
         return F;
       },
       "1,5", "1,5 n'est pas une valeur correcte pour le champ 'P'. Les valeurs autorisées vont de 0 à 1"_a},
  };
  for (const TBadEntry& Case : Cases) {
    SCOPED_TRACE(Case.What);
    TField* Field = Case.Make(&DS);
    Field->SetAsInteger(1);
    try {
      Field->SetText(Case.Entry);
      ADD_FAILURE() << "no exception";
    } catch (EDatabaseError& E) {
      EXPECT_EQ(E.Message, Case.Message);
    }
    EXPECT_EQ(Field->AsInteger(), 1);
    DS.Drop(Field);
  }
  // Dates go through the run-time library's scanner and its conversion error.
  auto* D = MakeField<TDateField>(&DS, "D");
  EXPECT_THROW(D->SetText("31/02/2004"), EConvertError);
  EXPECT_TRUE(D->IsNull());
}

TEST_F(FieldTest, AFieldRefusesTheFormsItCannotGiveNamingItsLabel) {
  auto* I = MakeField<TIntegerField>(&DS, "ORDRE");
  I->SetDisplayLabel("Rang");
  auto* D = MakeField<TDateField>(&DS, "D");
  EXPECT_EQ(MessageOf([&] { I->AsBoolean(); }), "Le champ 'Rang' ne peut pas être converti en Boolean"_a);
  EXPECT_EQ(MessageOf([&] { I->SetAsDateTime(1); }), "Le champ 'Rang' ne peut pas être converti en DateTime"_a);
  EXPECT_EQ(MessageOf([&] { D->AsInteger(); }), "Le champ 'D' ne peut pas être converti en Integer"_a);
  // A text field converts through the run-time library.
  auto* S = MakeField<TStringField>(&DS, "S");
  S->SetAsString("abc");
  EXPECT_EQ(MessageOf([&] { S->AsInteger(); }), "'abc' n'est pas une valeur entière correcte"_a);
}

TEST_F(FieldTest, ConversionsBetweenFormsRoundAsThePlatformDoes) {
  auto* I = MakeField<TIntegerField>(&DS, "I");
  I->SetAsFloat(2.5);
  EXPECT_EQ(I->AsInteger(), 2);  // halves go to the even neighbour
  I->SetAsFloat(3.5);
  EXPECT_EQ(I->AsInteger(), 4);
  auto* F = MakeField<TFloatField>(&DS, "F");
  F->SetAsFloat(244.5);
  EXPECT_EQ(F->AsInteger(), 244);
  auto* D = MakeField<TDateField>(&DS, "D");
  D->SetAsDateTime(EncodeDateTime(2004, 2, 1, 13, 45, 0, 0));
  EXPECT_DOUBLE_EQ(D->AsDateTime(), EncodeDate(2004, 2, 1));
  auto* T = MakeField<TTimeField>(&DS, "T");
  T->SetAsDateTime(EncodeDateTime(2004, 2, 1, 13, 45, 0, 0));
  EXPECT_NEAR(T->AsDateTime(), EncodeTime(13, 45, 0, 0), 1e-9);
  auto* B = MakeField<TBooleanField>(&DS, "B");
  B->SetAsString("f");
  EXPECT_FALSE(B->AsBoolean());
  EXPECT_FALSE(B->IsNull());
  auto* S = MakeField<TStringField>(&DS, "S");
  S->SetAsFloat(1.25);
  EXPECT_EQ(S->AsString(), "1,25");
  EXPECT_DOUBLE_EQ(S->AsFloat(), 1.25);
}

TEST_F(FieldTest, VariantsCarryEachTypesOwnKindBothWays) {
  struct {
    TField* Field;
    Variant In;
    TVarType Out;
    String Text;
  } Cases[] = {
      {MakeField<TStringField>(&DS, "S"), Variant(12), varString, "12"},
      {MakeField<TIntegerField>(&DS, "I"), Variant("42"), varInteger, "42"},
      {MakeField<TLargeintField>(&DS, "L"), Variant(5000000000LL), varInt64, "5000000000"},
      {MakeField<TFloatField>(&DS, "F"), Variant(0.5), varDouble, "0,5"},
      {MakeField<TBCDField>(&DS, "C"), Variant(1.23456), varCurrency, "1,2346"},
      {MakeField<TBooleanField>(&DS, "B"), Variant(true), varBoolean, "Vrai"},
      {MakeField<TDateField>(&DS, "D"), Variant::FromDate(EncodeDate(2004, 2, 1)), varDate, "01/02/2004"},
  };
  for (auto& Case : Cases) {
    SCOPED_TRACE(Case.Field->ClassName());
    Case.Field->SetAsVariant(Case.In);
    Variant Out = Case.Field->AsVariant();
    EXPECT_EQ(VarType(Out), Case.Out);
    EXPECT_EQ(Case.Field->AsString(), Case.Text);
    Case.Field->SetAsVariant(Variant::Null());
    EXPECT_TRUE(Case.Field->IsNull());
  }
  auto* Y = MakeField<TVarBytesField>(&DS, "Y", 8);
  Y->SetAsVariant(VarArrayOf({1, 2, 255}));
  Variant Bytes = Y->AsVariant();
  ASSERT_TRUE(VarIsArray(Bytes));
  EXPECT_EQ(VarArrayHighBound(Bytes, 1), 2);
  EXPECT_EQ(Bytes.GetElement(2).AsInteger(), 255);
  EXPECT_EQ(Y->AsString(), String("\x01\x02\xFF"));
}

TEST_F(FieldTest, NativeValuesHaveTheAgreedRecordForm) {
  auto* W = MakeField<TWideStringField>(&DS, "W", 4);
  W->SetAsString("Aé€xyz"_a);
  const std::vector<char>& Raw = DS.Values[W];
  ASSERT_EQ(Raw.size(), 4u + 2 * 4);
  std::uint32_t Bytes = 0;
  std::memcpy(&Bytes, Raw.data(), 4);
  EXPECT_EQ(Bytes, 8u);  // cut to 4 characters
  char16_t Units[4];
  std::memcpy(Units, Raw.data() + 4, 8);
  EXPECT_EQ(WideString(Units, 4), u"Aé€x");
  EXPECT_EQ(W->AsWideString(), u"Aé€x");

  auto* B = MakeField<TBooleanField>(&DS, "B");
  B->SetAsBoolean(true);
  std::int16_t Flag = 0;
  std::memcpy(&Flag, DS.Values[B].data(), 2);
  EXPECT_EQ(Flag, -1);

  auto* S = MakeField<TStringField>(&DS, "S", 3);
  S->SetAsString("abcdef");
  EXPECT_EQ(DS.Values[S], std::vector<char>({'a', 'b', 'c', '\0'}));
}

TEST_F(FieldTest, BlobsGoThroughTheDatasetsStreams) {
  auto* M = MakeField<TMemoField>(&DS, "REM");
  EXPECT_TRUE(M->IsNull());
  EXPECT_EQ(M->DisplayText(), "(Memo)");
  M->SetAsString("Zone très humide"_a);
  EXPECT_EQ(DS.Blobs[M], "Zone très humide"_a);
  EXPECT_EQ(M->BlobSize(), 16);
  EXPECT_EQ(M->DisplayText(), "(MEMO)");
  TStringStream Out;
  M->SaveToStream(&Out);
  EXPECT_EQ(Out.DataString(), "Zone très humide"_a);
  TStringStream In("autre");
  M->LoadFromStream(&In);
  EXPECT_EQ(M->AsString(), "autre");
  M->Clear();
  EXPECT_TRUE(M->IsNull());
  EXPECT_EQ(MakeField<TGraphicField>(&DS, "G")->DisplayText(), "(Graphic)");
}

TEST_F(FieldTest, ValidCharactersFollowTheType) {
  auto* I = MakeField<TIntegerField>(&DS, "I");
  auto* F = MakeField<TFloatField>(&DS, "F");
  auto* S = MakeField<TStringField>(&DS, "S");
  EXPECT_TRUE(I->IsValidChar('7'));
  EXPECT_TRUE(I->IsValidChar('-'));
  EXPECT_FALSE(I->IsValidChar(','));
  EXPECT_FALSE(I->IsValidChar('a'));
  EXPECT_TRUE(F->IsValidChar(','));
  EXPECT_TRUE(F->IsValidChar('E'));
  EXPECT_FALSE(F->IsValidChar('x'));
  EXPECT_TRUE(S->IsValidChar("é"_a[0]));
  TFieldChars Digits;
  Digits.set('0');
  S->SetValidChars(Digits);
  EXPECT_FALSE(S->IsValidChar('1'));
}

// --- Events and write checks --------------------------------------------------------------------

// Handlers of the kind a data module binds: the month-and-year conversion of a date, checks, logs.
class THandlers : public TObject {
 public:
  std::vector<String> Log;
  void MonthGetText(TField* Sender, String& Text, bool DisplayText) {
    Log.push_back(DisplayText ? "get shown" : "get edited");
    Text = Sender->IsNull() ? String() : FormatDateTime("mm/yyyy", Sender->AsDateTime());
  }
  void MonthSetText(TField* Sender, const String& Text) {
    if (Text.empty()) return;
    bool Ok = Text.size() == 7 && Text[2] == '/';
    for (int i : {0, 1, 3, 4, 5, 6}) Ok = Ok && Text[std::size_t(i)] >= '0' && Text[std::size_t(i)] <= '9';
    if (Ok) Ok = StrToInt(Text.substr(0, 2)) >= 1 && StrToInt(Text.substr(0, 2)) <= 12;
    if (!Ok) DatabaseError("format de date incorrect, saisir MM/AAAA");
    Sender->SetAsString("01/" + Text);
  }
  void RejectNegative(TField* Sender) {
    Log.push_back("validate " + Sender->AsString());
    if (Sender->AsFloat() < 0) DatabaseError("négatif"_a);
  }
  void Changed(TField* Sender) { Log.push_back("change " + Sender->AsString()); }
};

TEST_F(FieldTest, GetAndSetTextHandlersReplaceTheConversions) {
  THandlers H;
  auto* D = MakeField<TDateField>(&DS, "ICZ_DATE");
  D->OnGetText = TFieldGetTextEvent(&H, &THandlers::MonthGetText);
  D->OnSetText = TFieldSetTextEvent(&H, &THandlers::MonthSetText);

  D->SetText("02/2004");
  EXPECT_DOUBLE_EQ(D->AsDateTime(), EncodeDate(2004, 2, 1));
  EXPECT_EQ(D->DisplayText(), "02/2004");
  EXPECT_EQ(D->Text(), "02/2004");
  EXPECT_EQ(H.Log, (std::vector<String>{"get shown", "get edited"}));
  EXPECT_EQ(D->AsString(), "01/02/2004");  // AsString is not the handlers' business

  D->SetText("");
  EXPECT_DOUBLE_EQ(D->AsDateTime(), EncodeDate(2004, 2, 1));
  for (const char* Bad : {"13/2004", "1/2004", "01-2004"}) {
    SCOPED_TRACE(Bad);
    EXPECT_EQ(MessageOf([&] { D->SetText(Bad); }), "format de date incorrect, saisir MM/AAAA");
  }
}

TEST_F(FieldTest, ValidateSeesTheNewValueAndARefusalKeepsTheOldOne) {
  THandlers H;
  auto* F = MakeField<TFloatField>(&DS, "SURFACE");
  F->SetAsFloat(1);
  F->OnValidate = TFieldNotifyEvent(&H, &THandlers::RejectNegative);
  F->OnChange = TFieldNotifyEvent(&H, &THandlers::Changed);
  int ChangesBefore = DS.FieldChanges;

  EXPECT_THROW(F->SetAsFloat(-2), EDatabaseError);
  EXPECT_DOUBLE_EQ(F->AsFloat(), 1);
  F->SetAsFloat(3);
  EXPECT_EQ(H.Log, (std::vector<String>{"validate -2", "validate 3", "change 3"}));
  EXPECT_EQ(DS.FieldChanges - ChangesBefore, 1);
}

TEST_F(FieldTest, WritesNeedAWritingStateAndAWritableField) {
  THandlers H;
  auto* F = MakeField<TStringField>(&DS, "CODE");
  F->OnChange = TFieldNotifyEvent(&H, &THandlers::Changed);
  F->SetReadOnly(true);
  EXPECT_EQ(MessageOf([&] { F->SetAsString("x"); }), "Le champ 'CODE' ne peut pas être modifié"_a);
  F->SetReadOnly(false);

  DS.SetTempState(dsBrowse);
  EXPECT_EQ(MessageOf([&] { F->SetAsString("x"); }), DBConsts::SNotEditing);
  // While calculated fields are computed, data fields are out of reach and nothing is told.
  DS.SetTempState(dsCalcFields);
  EXPECT_EQ(MessageOf([&] { F->SetAsString("x"); }), DBConsts::SNotEditing);
  auto* Calc = new TStringField(nullptr);
  Calc->SetFieldName("LIB");
  Calc->SetFieldKind(fkCalculated);
  DS.Join(Calc);
  Calc->OnChange = TFieldNotifyEvent(&H, &THandlers::Changed);
  int Before = DS.FieldChanges;
  Calc->SetAsString("calculé"_a);
  EXPECT_EQ(Calc->AsString(), "calculé"_a);
  EXPECT_EQ(DS.FieldChanges, Before);
  EXPECT_TRUE(H.Log.empty());

  auto* Orphan = new TStringField(nullptr);
  Orphan->SetFieldName("SEUL");
  EXPECT_EQ(MessageOf([&] { Orphan->SetAsString("x"); }), "Le champ 'SEUL' n'a pas d'ensemble de données"_a);
  delete Orphan;
}

// --- Field list and definitions -----------------------------------------------------------------

TEST_F(FieldTest, TheListFindsFieldsWithoutCaseAndRefusesDuplicates) {
  auto* A = MakeField<TStringField>(&DS, "COM_CODE");
  MakeField<TStringField>(&DS, "COM_LIB");
  EXPECT_EQ(DS.Fields()->FindField("com_code"), A);
  EXPECT_EQ(DS.Fields()->FindField("absent"), nullptr);
  EXPECT_EQ(MessageOf([&] { DS.Fields()->FieldByName("ABSENT"); }), "Champ 'ABSENT' non trouvé"_a);
  auto* Twin = new TStringField(nullptr);
  Twin->SetFieldName("Com_Code");
  EXPECT_EQ(MessageOf([&] { DS.Join(Twin); }), "Nom de champ 'Com_Code' en double");
  EXPECT_EQ(Twin->DataSet(), nullptr);
  delete Twin;
  EXPECT_EQ(MessageOf([&] { A->SetFieldName("COM_LIB"); }), "Nom de champ 'COM_LIB' en double");
  EXPECT_EQ(A->FieldName(), "COM_CODE");
  DS.Drop(A);
  EXPECT_EQ(DS.Fields()->Count(), 1);
}

TEST_F(FieldTest, IndexReordersTheDatasetsFields) {
  TField* F[4];
  const char* Names[] = {"A", "B", "C", "D"};
  for (int i = 0; i < 4; ++i) F[i] = MakeField<TIntegerField>(&DS, Names[i]);
  auto Order = [&] {
    String S;
    for (int i = 0; i < DS.Fields()->Count(); ++i) S += DS.Fields()->Fields(i)->FieldName();
    return S;
  };
  F[3]->SetIndex(0);
  EXPECT_EQ(Order(), "DABC");
  EXPECT_EQ(F[3]->Index(), 0);
  F[3]->SetIndex(99);  // clamped to the end
  EXPECT_EQ(Order(), "ABCD");
  F[0]->SetIndex(2);
  EXPECT_EQ(Order(), "BCAD");
  EXPECT_EQ(F[0]->Index(), 2);
  EXPECT_THROW(DS.Fields()->Fields(4), EListError);
}

TEST(FieldDefsTest, DefinitionsMakeTheFieldOfTheirType) {
  struct {
    TFieldType Type;
    TClass Class;
  } Table[] = {{ftString, TStringField::StaticClass()},     {ftFixedChar, TStringField::StaticClass()},
               {ftWideString, TWideStringField::StaticClass()}, {ftSmallint, TSmallintField::StaticClass()},
               {ftInteger, TIntegerField::StaticClass()},   {ftWord, TWordField::StaticClass()},
               {ftAutoInc, TAutoIncField::StaticClass()},   {ftLargeint, TLargeintField::StaticClass()},
               {ftBoolean, TBooleanField::StaticClass()},   {ftFloat, TFloatField::StaticClass()},
               {ftCurrency, TCurrencyField::StaticClass()}, {ftBCD, TBCDField::StaticClass()},
               {ftDate, TDateField::StaticClass()},         {ftTime, TTimeField::StaticClass()},
               {ftDateTime, TDateTimeField::StaticClass()}, {ftBytes, TBytesField::StaticClass()},
               {ftVarBytes, TVarBytesField::StaticClass()}, {ftBlob, TBlobField::StaticClass()},
               {ftMemo, TMemoField::StaticClass()},         {ftGraphic, TGraphicField::StaticClass()},
               {ftCursor, nullptr}};
  for (auto& Row : Table) EXPECT_EQ(DefaultFieldClasses(Row.Type), Row.Class) << int(Row.Type);

  TBufferDataSet DS;
  DS.SetTempState(dsInactive);
  TFieldDefs* Defs = DS.FieldDefs();
  Defs->Add("ZH_CODE", ftFixedChar, 13, true);
  Defs->Add("SURFACE", ftFloat);
  EXPECT_EQ(MessageOf([&] { Defs->Add("zh_code", ftString, 5); }), "Nom de champ 'zh_code' en double");
  EXPECT_EQ(MessageOf([&] { Defs->Add("", ftString, 5); }), "Nom de champ manquant");
  EXPECT_EQ(MessageOf([&] { Defs->Find("ABSENT"); }), "Champ 'ABSENT' non trouvé"_a);
  EXPECT_EQ(Defs->IndexOf("surface"), 1);
  EXPECT_EQ(Defs->Items(1)->FieldNo(), 2);

  TField* Code = Defs->Find("zh_code")->CreateField(&DS);
  ASSERT_STREQ(Code->ClassName().c_str(), "TStringField");
  EXPECT_EQ(Code->DataSet(), &DS);
  EXPECT_EQ(Code->Owner(), &DS);
  EXPECT_EQ(Code->Size(), 13);
  EXPECT_TRUE(Code->Required());
  EXPECT_TRUE(static_cast<TStringField*>(Code)->FixedChar);
  EXPECT_EQ(Code->DataType(), ftFixedChar);
  Defs->Add("CURSEUR", ftCursor);
  EXPECT_EQ(MessageOf([&] { Defs->Find("CURSEUR")->CreateField(&DS); }), "Le type du champ 'CURSEUR' n'est pas géré"_a);
}

// --- Fields of a working dataset: required values, lookups, calculated fields -------------------

class DataSetFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Region.AddRow({"11", "Île-de-France"_a});
    Region.AddRow({"93", "Provence-Alpes-Côte d'Azur"_a});
    Departement.AddRow({"75", "Paris", "11"});
    Departement.AddRow({"13", "Bouches-du-Rhône"_a, "93"});
    Commune.AddRow({"75056", "Paris", "75"});
    Commune.AddRow({"13004", "Arles", "13"});
    Commune.AddRow({"99999", "Sans département"_a, Variant::Null()});
  }

  TField* AddLookup(TDataSet* DataSet, const String& Name, const String& Key, TDataSet* Source,
                    const String& SourceKey, const String& Result, int Size = 20) {
    auto* Field = new TStringField(DataSet);
    Field->SetSize(Size);
    Field->SetFieldName(Name);
    Field->SetFieldKind(fkLookup);
    Field->SetKeyFields(Key);
    Field->SetLookupDataSet(Source);
    Field->SetLookupKeyFields(SourceKey);
    Field->SetLookupResultField(Result);
    Field->SetDataSet(DataSet);
    return Field;
  }
  // Persistent data fields for every column, as a form description would declare them.
  static void AddDataFields(TVectorDataSet& DataSet) {
    for (const TColumn& Column : DataSet.Columns) {
      auto* Field = static_cast<TField*>(DefaultFieldClasses(Column.Type)->Create(&DataSet));
      if (Column.Type == ftString) Field->SetSize(Column.Size);
      Field->SetFieldName(Column.Name);
      Field->SetDataSet(&DataSet);
    }
  }

  TVectorDataSet Region{{{"REG_CODE", ftString, 2}, {"REG_LIB", ftString, 30}}};
  TVectorDataSet Departement{{{"DEP_CODE", ftString, 3}, {"DEP_LIB", ftString, 25}, {"REG_CODE", ftString, 2}}};
  TVectorDataSet Commune{{{"COM_CODE", ftString, 5}, {"COM_LIB", ftString, 35}, {"DEP_CODE", ftString, 3}}};
  TVectorDataSet Detail{{{"ZH_CODE", ftString, 13}, {"COM_CODE", ftString, 5}}};
};

TEST_F(DataSetFieldTest, LookupsReadOtherDatasetsAndChainThroughTheirLookups) {
  AddDataFields(Departement);
  AddLookup(&Departement, "libRegion", "REG_CODE", &Region, "REG_CODE", "REG_LIB");
  AddDataFields(Commune);
  AddLookup(&Commune, "LIBDEP", "DEP_CODE", &Departement, "DEP_CODE", "DEP_LIB");
  AddLookup(&Commune, "LIBREG", "DEP_CODE", &Departement, "DEP_CODE", "libRegion");
  AddDataFields(Detail);
  TField* Libelle = AddLookup(&Detail, "LIBELLE", "COM_CODE", &Commune, "COM_CODE", "COM_LIB", 50);
  TField* LibReg = AddLookup(&Detail, "LIBREG", "COM_CODE", &Commune, "COM_CODE", "LIBREG");
  Detail.AddRow({"ZH1", "13004"});
  Detail.AddRow({"ZH1", "75056"});
  Detail.AddRow({"ZH1", "00000"});
  Detail.AddRow({"ZH1", Variant::Null()});

  // Opening the detail opens what its lookups read.
  Detail.Open();
  EXPECT_TRUE(Commune.Active());
  EXPECT_TRUE(Departement.Active());
  EXPECT_TRUE(Region.Active());
  struct {
    const char* Libelle;
    const char* Region;
  } Expected[] = {{"Arles", "Provence-Alpes-Côte "}, {"Paris", "Île-de-France"}, {"", ""}, {"", ""}};
  for (auto& Row : Expected) {
    SCOPED_TRACE(Row.Libelle);
    EXPECT_EQ(Libelle->AsString(), Utf8ToAnsi(Row.Libelle));
    EXPECT_EQ(LibReg->AsString(), Utf8ToAnsi(Row.Region));  // cut to the field's 20 characters
    Detail.Next();
  }
  Detail.First();
  EXPECT_FALSE(Libelle->CanModify());

  // Editing the key recalculates the lookups of the record being edited.
  Detail.Edit();
  Detail.FieldByName("COM_CODE")->SetAsString("75056");
  EXPECT_EQ(Libelle->AsString(), "Paris");
  Detail.Cancel();
  EXPECT_EQ(Libelle->AsString(), "Arles");
}

TEST_F(DataSetFieldTest, ACachedLookupAnswersFromItsListUntilRefreshed) {
  AddDataFields(Commune);
  AddDataFields(Detail);
  TField* Libelle = AddLookup(&Detail, "LIBELLE", "COM_CODE", &Commune, "COM_CODE", "COM_LIB", 50);
  Libelle->SetLookupCache(true);
  Detail.AddRow({"ZH1", "13004"});
  Detail.Open();
  EXPECT_EQ(Libelle->LookupList().Count(), 3);
  EXPECT_EQ(Libelle->AsString(), "Arles");
  // Filling the cache leaves the lookup dataset on its record.
  EXPECT_EQ(Commune.FieldByName("COM_CODE")->AsString(), "75056");

  ASSERT_TRUE(Commune.Locate("COM_CODE", "13004", {}));
  Commune.Edit();
  Commune.FieldByName("COM_LIB")->SetAsString("Arles (13)");
  Commune.Post();
  Detail.Refresh();
  EXPECT_EQ(Libelle->AsString(), "Arles");
  Libelle->RefreshLookupList();
  Detail.Refresh();
  EXPECT_EQ(Libelle->AsString(), "Arles (13)");
}

TEST_F(DataSetFieldTest, AnIncompleteLookupCannotOpen) {
  AddDataFields(Detail);
  TField* Lookup = AddLookup(&Detail, "LIBELLE", "COM_CODE", &Commune, "COM_CODE", "");
  Lookup->SetDisplayLabel("Nom");
  EXPECT_EQ(MessageOf([&] { Detail.Open(); }), "Les informations de référence du champ 'Nom' sont incomplètes"_a);
  EXPECT_FALSE(Detail.Active());
  Lookup->SetLookupResultField("ABSENT");
  EXPECT_EQ(MessageOf([&] { Detail.Open(); }), "Champ 'ABSENT' non trouvé"_a);
  EXPECT_EQ(MessageOf([&] { Lookup->SetLookupDataSet(&Detail); }),
            "Les liens de données circulaires ne sont pas autorisés"_a);
}

class TInventory : public TObject {
 public:
  TField* Type = nullptr;
  TField* Label = nullptr;
  void CalcFields(TDataSet*) {
    int Number = 0;
    if (!TryStrToInt(Type->AsString(), Number)) return;
    static const char* const Names[] = {"", "ZNIEFF 1ère génération", "ZNIEFF 2ème génération", "ZICO", "RAMSAR",
                                        "PSIC", "ZPS"};
    Label->SetAsString(Number >= 1 && Number <= 6 ? Utf8ToAnsi(Names[Number]) : String("Autre"));
  }
};

TEST_F(DataSetFieldTest, CalculatedFieldsAreWrittenByOnCalcFieldsForEachRecord) {
  TVectorDataSet Inventaire{{{"INV_TYPE", ftString, 2}}};
  AddDataFields(Inventaire);
  auto* LibCode = new TStringField(&Inventaire);
  LibCode->SetSize(200);
  LibCode->SetFieldName("libCode");
  LibCode->SetCalculated(true);
  LibCode->SetDataSet(&Inventaire);
  TInventory Handler;
  Handler.Type = Inventaire.FieldByName("INV_TYPE");
  Handler.Label = LibCode;
  Inventaire.OnCalcFields = TDataSetNotifyEvent(&Handler, &TInventory::CalcFields);
  Inventaire.AddRow({"1"});
  Inventaire.AddRow({"9"});
  Inventaire.AddRow({"x"});
  Inventaire.Open();

  EXPECT_EQ(LibCode->FieldKind(), fkCalculated);
  EXPECT_EQ(LibCode->FieldNo(), -1);
  EXPECT_EQ(LibCode->AsString(), "ZNIEFF 1ère génération"_a);
  Inventaire.Next();
  EXPECT_EQ(LibCode->AsString(), "Autre");
  Inventaire.Next();
  EXPECT_TRUE(LibCode->IsNull());
  EXPECT_FALSE(LibCode->CanModify());

  Inventaire.Edit();
  Handler.Type->SetAsString("4");
  EXPECT_EQ(LibCode->AsString(), "RAMSAR");
}

TEST_F(DataSetFieldTest, APostWithoutARequiredValueNamesTheFieldsLabel) {
  AddDataFields(Detail);
  TField* Code = Detail.FieldByName("COM_CODE");
  Code->SetRequired(true);
  Code->SetDisplayLabel("Code");
  Detail.Open();
  Detail.Append();
  Detail.FieldByName("ZH_CODE")->SetAsString("ZH1");
  try {
    Detail.Post();
    ADD_FAILURE() << "posted";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Le champ 'Code' doit avoir une valeur");
  }
  EXPECT_EQ(Detail.State(), dsInsert);
  // A blank made of one zero character is a value: the row can then be posted.
  Code->SetAsString(String(1, '\0'));
  Detail.Post();
  EXPECT_EQ(Detail.RecordCount(), 1);
}

// --- Persistent fields read from a form description ---------------------------------------------

class TCommuneTable : public TVectorDataSet {
  VELBOR_DECLARE_CLASS(TCommuneTable, TVectorDataSet)
 public:
  explicit TCommuneTable(TComponent* AOwner)
      : TVectorDataSet({{"COM_CODE", ftString, 5}, {"COM_LIB", ftString, 35}}, AOwner) {}
};
VELBOR_IMPLEMENT_CLASS(TCommuneTable)

class TFieldModule : public TComponent {
  VELBOR_DECLARE_CLASS(TFieldModule, TComponent)
 public:
  using TComponent::TComponent;
  TStringField* qCommuneCOM_CODE = nullptr;
  std::vector<String> Changes;
  void qCommuneCOM_CODEChange(TField* Sender) { Changes.push_back(Sender->AsString()); }
};
VELBOR_IMPLEMENT_CLASS(TFieldModule)
VELBOR_HANDLERS(TFieldModule, VELBOR_HANDLER(qCommuneCOM_CODEChange))
VELBOR_FIELDS(TFieldModule, VELBOR_FIELD(qCommuneCOM_CODE))

TEST(PersistentFieldTest, AFormDescriptionDeclaresFieldsInsideTheirDataset) {
  RegisterClass(TCommuneTable::StaticClass());
  const String Text =
      "object FieldModule1: TFieldModule\n"
      "  object D_COMMUNE: TCommuneTable\n"
      "    object D_COMMUNECOM_CODE: TStringField\n"
      "      FieldName = 'COM_CODE'\n"
      "      Size = 5\n"
      "    end\n"
      "    object D_COMMUNECOM_LIB: TStringField\n"
      "      FieldName = 'COM_LIB'\n"
      "      Size = 35\n"
      "    end\n"
      "  end\n"
      "  object qCommune: TCommuneTable\n"
      "    object qCommuneCOM_CODE: TStringField\n"
      "      DisplayLabel = 'Code'\n"
      "      DisplayWidth = 6\n"
      "      FieldName = 'COM_CODE'\n"
      "      Required = True\n"
      "      Tag = 3\n"
      "      OnChange = qCommuneCOM_CODEChange\n"
      "      Size = 5\n"
      "    end\n"
      "    object qCommuneLIBELLE: TStringField\n"
      "      FieldKind = fkLookup\n"
      "      FieldName = 'LIBELLE'\n"
      "      LookupDataSet = D_COMMUNE\n"
      "      LookupKeyFields = 'COM_CODE'\n"
      "      LookupResultField = 'COM_LIB'\n"
      "      KeyFields = 'COM_CODE'\n"
      "      Size = 50\n"
      "      Lookup = True\n"
      "    end\n"
      "  end\n"
      "end\n";
  TFieldModule Module(nullptr);
  ReadComponentFromText(&Module, Text, "FieldModule1.dfm");
  UnRegisterClass(TCommuneTable::StaticClass());

  auto* Commune = static_cast<TCommuneTable*>(Module.FindComponent("D_COMMUNE"));
  auto* Detail = static_cast<TCommuneTable*>(Module.FindComponent("qCommune"));
  ASSERT_NE(Module.qCommuneCOM_CODE, nullptr);
  TStringField* Code = Module.qCommuneCOM_CODE;
  EXPECT_EQ(Code->DataSet(), Detail);
  EXPECT_EQ(Code->Owner(), &Module);
  EXPECT_EQ(Code->DisplayLabel(), "Code");
  EXPECT_EQ(Code->DisplayWidth(), 6);
  EXPECT_TRUE(Code->Required());
  EXPECT_EQ(Code->Tag, 3);
  ASSERT_EQ(Detail->Fields()->Count(), 2);
  TField* Libelle = Detail->Fields()->Fields(1);
  EXPECT_EQ(Libelle->FieldKind(), fkLookup);
  EXPECT_EQ(Libelle->LookupDataSet(), Commune);
  EXPECT_EQ(Libelle->Size(), 50);

  Commune->AddRow({"13004", "Arles"});
  Detail->AddRow({"13004", "ZH1"});
  Detail->Open();
  EXPECT_EQ(Libelle->AsString(), "Arles");
  Detail->Edit();
  Code->SetAsString("75056");
  EXPECT_EQ(Module.Changes, std::vector<String>{"75056"});
  Detail->Cancel();
}

}  // namespace
