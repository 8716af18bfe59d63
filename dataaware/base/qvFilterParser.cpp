// This file implements the filter-expression parser: the scanner, the recursive-descent grammar
// and the writing of the descriptor.
#include "qvFilterParser.h"

#include <cmath>
#include <cstring>

#include "DBTables.h"
#include "DataSet.h"
#include "DateTimeFormat.h"
#include "Dialogs.h"
#include "Field.h"
#include "FilterDescriptor.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_CLASS(TNode)

using namespace FilterDescriptor;

std::uint8_t qvFilterValueType(int FieldType) {
  switch (FieldType) {
    case ftString: return 1;
    case ftFloat: case ftCurrency: return 2;
    case ftDateTime: return 3;
    case ftDate: return 4;
    case ftTime: return 5;
    case ftBoolean: return 6;
    case ftInteger: case ftAutoInc: return 7;
    case ftBCD: return 8;
    case ftSmallint: case ftWord: return 9;
    default: return 0;
  }
}

namespace {
constexpr std::size_t MaxToken = 64;

enum class TTokenKind { None, Open, Close, Comparison, Logical, Operand };

bool IsIdentStart(unsigned char C) {
  return std::strchr("!#$*+-/@_`", C) != nullptr || (C >= 'A' && C <= 'Z') ||
         (C >= 'a' && C <= 'z') || C >= 146;
}
bool IsIdentChar(unsigned char C) {
  return C != 0 && (IsIdentStart(C) || (C >= '0' && C <= '9') || C == ' ');
}
bool IsDigit(char C) { return C >= '0' && C <= '9'; }

int OperatorCode(const String& Op) {
  if (Op == "=") return opEqual;
  if (Op == "<>") return opNotEqual;
  if (Op == ">") return opGreater;
  if (Op == "<") return opLess;
  if (Op == ">=") return opGreaterEqual;
  if (Op == "<=") return opLessEqual;
  if (SameText(Op, "AND")) return opAnd;
  if (SameText(Op, "OR")) return opOr;
  return 0;
}

// Raised inside the parser for any refusal; never leaves qvBuildFilterDescriptor.
struct TRefused {};

class TFilterParser {
 public:
  TFilterParser(const String& Text, TDataSet* Table) : FInput(Text), FTable(Table) {}

  std::unique_ptr<TNode> Parse() {
    std::unique_ptr<TNode> Root = Logical();
    if (Root->Kind == TNode::nkOperand) throw TRefused{};  // a lone name tests nothing
    return Root;
  }

 private:
  struct TToken {
    TTokenKind Kind = TTokenKind::None;
    String Text;
    std::size_t Length = 0;  // characters taken from the input, leading blanks included
  };

  // The next token, without taking it.
  TToken Peek() const {
    TToken T;
    std::size_t i = FPos;
    while (i < FInput.size() && (FInput[i] == ' ' || FInput[i] == '\t')) ++i;
    std::size_t Start = i;
    auto At = [&](std::size_t k) { return k < FInput.size() ? FInput[k] : '\0'; };
    char C = At(i);
    if (C == '(' || C == ')') {
      T.Kind = C == '(' ? TTokenKind::Open : TTokenKind::Close;
      ++i;
    } else if (C != 0 && std::strchr("<=>", C)) {
      T.Kind = TTokenKind::Comparison;
      ++i;
      if (At(i) != 0 && std::strchr("<=>", At(i))) ++i;
    } else if (FAllowLogical && (SameText(FInput.substr(i, 3), "AND") || SameText(FInput.substr(i, 2), "OR"))) {
      T.Kind = TTokenKind::Logical;
      i += SameText(FInput.substr(i, 3), "AND") ? 3 : 2;
    } else if (C != 0 && IsIdentStart(static_cast<unsigned char>(C))) {
      T.Kind = TTokenKind::Operand;
      while (IsIdentChar(static_cast<unsigned char>(At(i)))) ++i;
    } else if (IsDigit(C) || (C == '-' && IsDigit(At(i + 1)))) {
      T.Kind = TTokenKind::Operand;
      if (C == '-') ++i;
      while (IsDigit(At(i))) ++i;
      if (At(i) == FormatSettings.DecimalSeparator && At(i) != 0) {
        ++i;
        while (IsDigit(At(i))) ++i;
      }
    } else if (C == '"') {
      std::size_t End = FInput.find('"', i + 1);
      if (End == String::npos) return TToken{};
      T.Kind = TTokenKind::Operand;
      i = End + 1;
    } else {
      return TToken{};
    }
    if (i - Start > MaxToken) i = Start + MaxToken;  // the rest is read as the next token
    T.Text = FInput.substr(Start, i - Start);
    while (!T.Text.empty() && (T.Text.back() == ' ' || T.Text.back() == '\t')) T.Text.pop_back();
    T.Length = i - FPos;
    return T;
  }

  void Take(const TToken& T) { FPos += T.Length; }

  // logical := relation { (AND | OR) relation }, from the left, AND and OR alike.
  std::unique_ptr<TNode> Logical() {
    std::unique_ptr<TNode> Node = Relation();
    for (;;) {
      FAllowLogical = true;
      TToken T = Peek();
      FAllowLogical = false;
      if (T.Kind != TTokenKind::Logical) return Node;
      Take(T);
      std::unique_ptr<TNode> Right = Relation();
      if (Node->Kind == TNode::nkOperand || Right->Kind == TNode::nkOperand) throw TRefused{};
      Node = MakeOperator(TNode::nkLogical, T.Text, std::move(Node), std::move(Right));
    }
  }

  // relation := primary [ comparison primary ]
  std::unique_ptr<TNode> Relation() {
    std::unique_ptr<TNode> Left = Primary();
    TToken T = Peek();
    if (T.Kind != TTokenKind::Comparison) return Left;
    if (OperatorCode(T.Text) == 0) throw TRefused{};
    Take(T);
    std::unique_ptr<TNode> Right = Primary();
    TField* Field = Left->Kind == TNode::nkOperand ? FTable->FindField(Left->Text) : nullptr;
    if (Left->Kind == TNode::nkOperand && !Field) {
      MessageDlg(Left->Text + "\rField not found in Table. ", mtWarning, TMsgDlgButtons{mbOK}, 0);
      throw TRefused{};
    }
    if (!Field || Right->Kind != TNode::nkOperand) throw TRefused{};  // only field op value
    bool Quoted = !Right->Text.empty() && Right->Text[0] == '"';
    if (!Quoted && FTable->FindField(Right->Text)) {
      Right->ValueType = 0;  // two fields compared
    } else {
      Right->ValueType = qvFilterValueType(Field->DataType());
      if (Right->ValueType == 0) throw TRefused{};  // no constant of this field's type
      if (Field->DataType() == ftBCD) Right->Decimals = Field->Size();
    }
    return MakeOperator(TNode::nkComparison, T.Text, std::move(Left), std::move(Right));
  }

  // primary := "(" logical ")" | operand
  std::unique_ptr<TNode> Primary() {
    TToken T = Peek();
    if (T.Kind == TTokenKind::Open) {
      Take(T);
      std::unique_ptr<TNode> Node = Logical();
      TToken Close = Peek();
      if (Close.Kind != TTokenKind::Close) throw TRefused{};
      Take(Close);
      return Node;
    }
    if (T.Kind != TTokenKind::Operand) throw TRefused{};
    Take(T);
    auto Node = std::make_unique<TNode>();
    Node->Kind = TNode::nkOperand;
    Node->Text = T.Text;
    return Node;
  }

  static std::unique_ptr<TNode> MakeOperator(std::uint8_t Kind, const String& Text,
                                             std::unique_ptr<TNode> Left, std::unique_ptr<TNode> Right) {
    auto Node = std::make_unique<TNode>();
    Node->Kind = Kind;
    Node->Text = Text;
    Node->Left = std::move(Left);
    Node->Right = std::move(Right);
    return Node;
  }

  String FInput;
  std::size_t FPos = 0;
  TDataSet* FTable;
  bool FAllowLogical = false;
};

// Writes a parsed tree: post-order, into slots taken from the end of the node area downward.
class TDescriptorWriter {
 public:
  TDescriptorWriter(TDataSet* Table, int Nodes)
      : FTable(Table), FNodes(Nodes), FBytes(std::size_t(NodeSize * Nodes + LiteralCapacity + HeaderSize), 0),
        FSlot(Nodes) {}

  std::vector<std::uint8_t> Write(TNode& Root) {
    WriteNode(Root);
    int LiteralStart = HeaderSize + NodeSize * FNodes;
    PutWord(0, Version);
    PutWord(2, LiteralStart + FLiteral);
    PutWord(4, FNodes);
    PutWord(6, HeaderSize);
    PutWord(8, LiteralStart);
    return std::move(FBytes);
  }

 private:
  void PutWord(int At, int Value) {
    FBytes[std::size_t(At)] = std::uint8_t(Value);
    FBytes[std::size_t(At) + 1] = std::uint8_t(Value >> 8);
  }
  void PutInt32(int At, std::int32_t Value) {
    for (int i = 0; i < 4; ++i) FBytes[std::size_t(At + i)] = std::uint8_t(std::uint32_t(Value) >> (8 * i));
  }
  // Appends Size bytes to the literal area; an expression that needs more than it holds is refused.
  int PutLiteral(const void* Data, int Size) {
    if (FLiteral + Size > LiteralCapacity) throw TRefused{};
    int At = HeaderSize + NodeSize * FNodes + FLiteral;
    std::memcpy(&FBytes[std::size_t(At)], Data, std::size_t(Size));
    int Offset = FLiteral;
    FLiteral += Size;
    return Offset;
  }
  int PutText(const String& Text) {
    String Z = Text;
    Z.push_back('\0');
    return PutLiteral(Z.data(), int(Z.size()));
  }

  void WriteNode(TNode& Node) {
    if (Node.Left) WriteNode(*Node.Left);
    if (Node.Right) WriteNode(*Node.Right);
    --FSlot;
    Node.Offset = NodeSize * FSlot;
    int At = HeaderSize + Node.Offset;
    if (Node.Kind != TNode::nkOperand) {
      PutInt32(At, ncOperator);
      PutInt32(At + 4, OperatorCode(Node.Text));
      PutWord(At + 8, Node.Left->Offset);
      PutWord(At + 10, Node.Right->Offset);
    } else if (Node.ValueType == 0) {
      PutInt32(At, ncField);
      PutInt32(At + 4, opField);
      PutWord(At + 8, ++FFieldCount);
      PutWord(At + 10, PutText(FTable->FieldByName(Node.Text)->FieldName()));
    } else {
      PutInt32(At, ncConstant);
      PutInt32(At + 4, opConstant);
      WriteConstant(Node, At);
    }
  }

  void WriteConstant(const TNode& Node, int At) {
    String Text = Node.Text;
    bool Number = Node.ValueType == 2 || Node.ValueType >= 7;
    if (!Number && !Text.empty() && Text[0] == '"') Text = Text.size() >= 2 ? Text.substr(1, Text.size() - 2) : String();
    int Type = 0, Size = 0, Literal = 0;
    switch (Node.ValueType) {
      case 1:
        Type = etText;
        Size = int(Text.size()) + 1;
        Literal = PutText(Text);
        break;
      case 2: {
        double Value;
        if (!TryStrToFloat(Text, Value)) throw TRefused{};
        Type = etFloat, Size = 8, Literal = PutLiteral(&Value, 8);
        break;
      }
      case 3: {
        TDateTime Value;
        bool Read = Text.find(' ') != String::npos ? TryStrToDateTime(Text, Value) : TryStrToDate(Text, Value);
        if (!Read) throw TRefused{};
        double MSecs = (std::trunc(Value) + DateDelta) * double(MSecsPerDay) +
                       std::round(std::fabs(Value - std::trunc(Value)) * MSecsPerDay);
        Type = etTimeStamp, Size = 8, Literal = PutLiteral(&MSecs, 8);
        break;
      }
      case 4: {
        TDateTime Value;
        if (!TryStrToDate(Text, Value)) throw TRefused{};
        std::int32_t Day = std::int32_t(std::trunc(Value)) + DateDelta;
        Type = etDate, Size = 4, Literal = PutLiteral(&Day, 4);
        break;
      }
      case 5: {
        TDateTime Value;
        if (!TryStrToTime(Text, Value)) throw TRefused{};
        std::int32_t MSecs = std::int32_t(std::round((Value - std::trunc(Value)) * MSecsPerDay));
        Type = etTime, Size = 4, Literal = PutLiteral(&MSecs, 4);
        break;
      }
      case 6: {
        std::int16_t Value = !Text.empty() && (Text[0] == 'T' || Text[0] == 't') ? -1 : 0;
        Type = etBoolean, Size = 2, Literal = PutLiteral(&Value, 2);
        break;
      }
      case 7: {
        int Value;
        if (!TryStrToInt(Text, Value)) throw TRefused{};
        std::int32_t V = Value;
        Type = etInteger, Size = 4, Literal = PutLiteral(&V, 4);
        break;
      }
      case 8: {
        double Value;
        if (!TryStrToFloat(Text, Value)) throw TRefused{};
        std::uint8_t Bcd[BCDSize];
        DoubleToBCD(Value, 32, Node.Decimals, Bcd);
        Type = etBCD, Size = BCDSize, Literal = PutLiteral(Bcd, BCDSize);
        break;
      }
      default: {
        int Value;
        if (!TryStrToInt(Text, Value) || Value < -32768 || Value > 32767) throw TRefused{};
        std::int16_t V = std::int16_t(Value);
        Type = etSmallint, Size = 2, Literal = PutLiteral(&V, 2);
        break;
      }
    }
    PutWord(At + 8, Type);
    PutWord(At + 10, Size);
    PutWord(At + 12, Literal);
  }

  TDataSet* FTable;
  int FNodes;
  std::vector<std::uint8_t> FBytes;
  int FSlot;
  int FLiteral = 0;
  int FFieldCount = 0;
};

int CountNodes(const TNode* Node) {
  return Node ? 1 + CountNodes(Node->Left.get()) + CountNodes(Node->Right.get()) : 0;
}
}  // namespace

std::vector<std::uint8_t> qvBuildFilterDescriptor(const String& Text, TDataSet* Table) {
  if (!Table) return {};
  try {
    TFilterParser Parser(Text, Table);
    std::unique_ptr<TNode> Root = Parser.Parse();
    return TDescriptorWriter(Table, CountNodes(Root.get())).Write(*Root);
  } catch (const TRefused&) {
    return {};
  }
}

void qvDropTableFilter(TDataSet* Table, int& FilterHandle) {
  if (FilterHandle == 0) return;
  if (auto* Engine = dynamic_cast<TDBDataSet*>(Table)) Engine->DropFilter(FilterHandle);
  FilterHandle = 0;
}

bool qvApplyTableFilter(const String& Text, TDataSet* Table, int& FilterHandle, bool Force) {
  auto* Engine = dynamic_cast<TDBDataSet*>(Table);
  if (Engine == nullptr) return false;
  if (!Table->Active() && !Force) {
    qvDropTableFilter(Table, FilterHandle);
    return true;
  }
  if (Trim(Text).empty()) {
    qvDropTableFilter(Table, FilterHandle);
    return true;
  }
  std::vector<std::uint8_t> Descriptor = qvBuildFilterDescriptor(Text, Table);
  qvDropTableFilter(Table, FilterHandle);
  if (Descriptor.empty()) return false;
  try {
    FilterHandle = Engine->AddFilter(std::move(Descriptor));
  } catch (const EDatabaseError&) {
    FilterHandle = 0;
    return false;
  }
  return true;
}

bool qvSetFilterCallback(bool (*Callback)(void* ClientData, TDataSet* DataSet), TDataSet* DataSet,
                         void* ClientData, int& FilterHandle) {
  auto* Engine = dynamic_cast<TDBDataSet*>(DataSet);
  if (Engine == nullptr) {
    FilterHandle = 0;
    return false;
  }
  qvDropTableFilter(DataSet, FilterHandle);
  if (Callback != nullptr) FilterHandle = Engine->AddFilter(Callback, ClientData);
  return true;
}
