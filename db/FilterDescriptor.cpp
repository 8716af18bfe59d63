// This file implements the checking and the evaluation of the table engine's filter descriptors.
#include "FilterDescriptor.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "DataSet.h"
#include "Field.h"
#include "TextOrder.h"

using namespace FilterDescriptor;

namespace {
// Nesting deeper than this is refused rather than risk the stack on hostile bytes.
constexpr int MaxDepth = 200;

[[noreturn]] void Refuse(const char* Why) {
  String Message = "Invalid filter descriptor: ";
  Message.append(Why);
  DatabaseError(Message);
}

bool IsTextType(TFieldType Type) {
  switch (Type) {
    case ftString: case ftFixedChar: case ftWideString: case ftMemo: case ftFmtMemo: case ftGuid:
      return true;
    default:
      return false;
  }
}

bool IsDateTimeType(TFieldType Type) {
  return Type == ftDate || Type == ftTime || Type == ftDateTime || Type == ftTimeStamp;
}

double MSecsOfDay(TDateTime Value) {
  return std::round(std::fabs(Value - std::trunc(Value)) * MSecsPerDay);
}
}  // namespace

void FilterDescriptor::DoubleToBCD(double Value, int Precision, int Decimals, std::uint8_t* Out) {
  std::memset(Out, 0, BCDSize);
  if (Precision < 1 || Precision > 32) Precision = 32;
  if (Decimals < 0) Decimals = 0;
  if (Decimals > Precision) Decimals = Precision;
  bool Negative = Value < 0;
  // The digits of |Value| rounded to Decimals places, most significant first, without the zeros
  // that lead the whole part; what does not fit the precision is lost.
  char Digits[400];
  std::snprintf(Digits, sizeof Digits, "%.*f", Decimals, std::fabs(Value));
  const char* P = Digits;
  while (*P == '0') ++P;
  char All[32];
  int Count = 0;
  for (; *P && Count < Precision; ++P)
    if (*P != '.') All[Count++] = *P;
  if (Count == 0) All[Count++] = '0';
  Out[0] = std::uint8_t(Count);
  Out[1] = std::uint8_t((Negative ? 0x80 : 0) | (std::min(Decimals, Count) & 0x3F));
  for (int i = 0; i < Count; ++i) {
    int Nibble = All[i] - '0';
    Out[2 + i / 2] |= std::uint8_t(i % 2 == 0 ? Nibble << 4 : Nibble);
  }
}

bool FilterDescriptor::BCDToDouble(const std::uint8_t* In, double& Value) {
  int Precision = In[0], Places = In[1] & 0x3F;
  if (Precision < 1 || Precision > 32 || Places > Precision) return false;
  double Result = 0;
  for (int i = 0; i < Precision; ++i) {
    int Nibble = i % 2 == 0 ? In[2 + i / 2] >> 4 : In[2 + i / 2] & 0x0F;
    if (Nibble > 9) return false;
    Result = Result * 10 + Nibble;
  }
  Result /= std::pow(10.0, Places);
  Value = (In[1] & 0x80) ? -Result : Result;
  return true;
}

// --- Checking ------------------------------------------------------------------------------------

TFilterDescriptor::TFilterDescriptor(std::vector<std::uint8_t> Bytes) : FBytes(std::move(Bytes)) {
  if (FBytes.size() < std::size_t(HeaderSize)) Refuse("no header");
  if (Word(0) != Version) Refuse("unknown version");
  FTotal = Word(2);
  FNodeCount = Word(4);
  FNodeStart = Word(6);
  FLiteralStart = Word(8);
  if (FNodeCount < 1 || FNodeStart != HeaderSize || FLiteralStart != HeaderSize + NodeSize * FNodeCount)
    Refuse("node area");
  if (FTotal < FLiteralStart || FTotal > FLiteralStart + LiteralCapacity ||
      std::size_t(FTotal) > FBytes.size())
    Refuse("size");
  CheckNode(0, 0);
}

int TFilterDescriptor::Word(int At) const { return FBytes[std::size_t(At)] | FBytes[std::size_t(At) + 1] << 8; }

int TFilterDescriptor::Int32(int At) const {
  std::uint32_t Value = 0;
  for (int i = 3; i >= 0; --i) Value = Value << 8 | FBytes[std::size_t(At + i)];
  return int(Value);
}

// A text of the literal area, ended by its zero byte, which must lie inside the area.
String TFilterDescriptor::LiteralText(int Offset) const {
  int Start = FLiteralStart + Offset;
  for (int i = Start; i < FTotal; ++i)
    if (FBytes[std::size_t(i)] == 0) return String(reinterpret_cast<const char*>(&FBytes[std::size_t(Start)]), std::size_t(i - Start));
  Refuse("unterminated literal");
}

// Children lie in later slots than their parent (the tree is written in post-order from the end),
// which also rules out cycles.
void TFilterDescriptor::CheckNode(int Offset, int Depth) const {
  if (Depth > MaxDepth) Refuse("nesting");
  if (Offset % NodeSize != 0 || Offset >= NodeSize * FNodeCount) Refuse("node offset");
  int At = FNodeStart + Offset;
  int Class = Int32(At), Code = Int32(At + 4);
  if (Class == ncOperator) {
    if (Code < opEqual || Code > opOr || Code == 9) Refuse("operator code");
    int Left = Word(At + 8), Right = Word(At + 10);
    if (Left <= Offset || Right <= Offset) Refuse("child order");
    CheckNode(Left, Depth + 1);
    CheckNode(Right, Depth + 1);
    auto IsOperand = [&](int Child) { return Int32(FNodeStart + Child) != ncOperator; };
    bool Logical = Code == opAnd || Code == opOr;
    // Logical operators join comparisons; comparisons join operands.
    if (Logical == (IsOperand(Left) || IsOperand(Right))) Refuse("operand kinds");
  } else if (Class == ncField) {
    if (Code != opField || Offset == 0) Refuse("field node");
    LiteralText(Word(At + 10));
  } else if (Class == ncConstant) {
    if (Code != opConstant || Offset == 0) Refuse("constant node");
    int Type = Word(At + 8), Size = Word(At + 10), Literal = Word(At + 12);
    int Expected = 0;
    switch (Type) {
      case etText: Expected = Size; break;
      case etDate: case etInteger: case etTime: Expected = 4; break;
      case etBoolean: case etSmallint: Expected = 2; break;
      case etFloat: case etTimeStamp: Expected = 8; break;
      case etBCD: Expected = BCDSize; break;
      default: Refuse("constant type");
    }
    if (Size != Expected || Size < 1 || FLiteralStart + Literal + Size > FTotal) Refuse("constant size");
    if (Type == etText && FBytes[std::size_t(FLiteralStart + Literal + Size - 1)] != 0) Refuse("unterminated text");
  } else {
    Refuse("node class");
  }
}

// --- Evaluation ----------------------------------------------------------------------------------

// One side of a comparison: a constant (typed by the engine) or a field.
struct TFilterDescriptor::TOperand {
  TField* Field = nullptr;
  int Type = 0;  // engine type of a constant
  double Number = 0;
  String Text;
};

TFilterDescriptor::TOperand TFilterDescriptor::Operand(TDataSet& DataSet, int Offset) const {
  int At = FNodeStart + Offset;
  TOperand Result;
  if (Int32(At) == ncField) {
    Result.Field = DataSet.FieldByName(LiteralText(Word(At + 10)));
    return Result;
  }
  Result.Type = Word(At + 8);
  int Value = FLiteralStart + Word(At + 12);
  const std::uint8_t* P = &FBytes[std::size_t(Value)];
  switch (Result.Type) {
    case etText: Result.Text = LiteralText(Word(At + 12)); break;
    case etDate: case etInteger: case etTime: Result.Number = Int32(Value); break;
    case etBoolean: case etSmallint: Result.Number = std::int16_t(Word(Value)); break;
    case etFloat: case etTimeStamp: std::memcpy(&Result.Number, P, 8); break;
    case etBCD:
      if (!BCDToDouble(P, Result.Number)) Refuse("BCD value");
      break;
  }
  return Result;
}

namespace {
// A field's value in the terms of an engine type: a text, or a number in the unit of the type.
bool FieldValue(TField* Field, int Type, double& Number, String& Text) {
  if (Field->IsNull()) return false;
  switch (Type) {
    case etText: Text = Field->AsString(); break;
    case etBoolean: Number = Field->AsBoolean() ? -1 : 0; break;
    case etDate: Number = std::trunc(Field->AsDateTime()) + DateDelta; break;
    case etTime: Number = MSecsOfDay(Field->AsDateTime()); break;
    case etTimeStamp: {
      TDateTime Value = Field->AsDateTime();
      Number = (std::trunc(Value) + DateDelta) * double(MSecsPerDay) + MSecsOfDay(Value);
      break;
    }
    default: Number = Field->AsFloat(); break;
  }
  return true;
}

// The engine type in whose terms two fields are compared: the left field's.
int TypeOfField(TField* Field) {
  TFieldType Type = Field->DataType();
  if (IsTextType(Type)) return etText;
  if (Type == ftBoolean) return etBoolean;
  if (IsDateTimeType(Type)) return etTimeStamp;
  return etFloat;
}
}  // namespace

bool TFilterDescriptor::Test(TDataSet& DataSet, int Offset) const {
  int At = FNodeStart + Offset;
  int Code = Int32(At + 4), Left = Word(At + 8), Right = Word(At + 10);
  if (Code == opAnd) return Test(DataSet, Left) && Test(DataSet, Right);
  if (Code == opOr) return Test(DataSet, Left) || Test(DataSet, Right);

  TOperand A = Operand(DataSet, Left), B = Operand(DataSet, Right);
  int Type = A.Field && B.Field ? TypeOfField(A.Field) : A.Field ? B.Type : A.Type;
  if (A.Field && !FieldValue(A.Field, Type, A.Number, A.Text)) return false;
  if (B.Field && !FieldValue(B.Field, Type, B.Number, B.Text)) return false;
  int Order;
  if (Type == etText) {
    Order = AnsiCompareText(A.Text, B.Text);
  } else {
    Order = A.Number < B.Number ? -1 : A.Number > B.Number ? 1 : 0;
  }
  switch (Code) {
    case opEqual: return Order == 0;
    case opNotEqual: return Order != 0;
    case opGreater: return Order > 0;
    case opLess: return Order < 0;
    case opGreaterEqual: return Order >= 0;
    default: return Order <= 0;
  }
}

bool TFilterDescriptor::Accept(TDataSet& DataSet) const { return Test(DataSet, 0); }
