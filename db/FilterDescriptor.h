// This file implements the filter descriptor of the table engine: the byte layout that the
// filter-expression parser writes (a header, 14-byte node slots, a literal area) and
// TFilterDescriptor, which checks such bytes and applies them to the record under test.
#pragma once

#include <cstdint>
#include <vector>

#include "AnsiString.h"

class TDataSet;

namespace FilterDescriptor {
// Header (little-endian 16-bit words) and layout.
inline constexpr int HeaderSize = 10;
inline constexpr int NodeSize = 14;
inline constexpr int LiteralCapacity = 1000;
inline constexpr int Version = 1;

// Node classes.
inline constexpr int ncOperator = 2;
inline constexpr int ncField = 4;
inline constexpr int ncConstant = 5;

// Operator codes; a field node carries code 13 and a constant node code 14.
enum : int {
  opEqual = 3, opNotEqual = 4, opGreater = 5, opLess = 6, opGreaterEqual = 7, opLessEqual = 8,
  opAnd = 10, opOr = 11, opField = 13, opConstant = 14
};

// Engine types of constant nodes, with their sizes: text (length + 1), date (4, day number of the
// time stamp), small integer (2), Boolean (2: -1 or 0), integer (4), float (8), BCD (34), time (4,
// milliseconds of the day), time stamp (8: a double of milliseconds).
enum : int {
  etText = 1, etDate = 2, etBoolean = 4, etSmallint = 5, etInteger = 6, etFloat = 7, etBCD = 8,
  etTime = 10, etTimeStamp = 11
};
inline constexpr int BCDSize = 34;
// Days from 0001-01-01 (day 1) to 1899-12-30, the origin of TDateTime.
inline constexpr int DateDelta = 693594;

// The engine's BCD: precision, sign (bit 7) and decimals (bits 0-5), 32 digit nibbles.
void DoubleToBCD(double Value, int Precision, int Decimals, std::uint8_t* Out);
// False when the bytes do not hold a BCD number.
bool BCDToDouble(const std::uint8_t* In, double& Value);
}  // namespace FilterDescriptor

// A checked filter descriptor. The constructor refuses (EDatabaseError) bytes whose header, node
// slots or literal references do not hold together, so Accept never reads outside them.
class TFilterDescriptor {
 public:
  explicit TFilterDescriptor(std::vector<std::uint8_t> Bytes);

  const std::vector<std::uint8_t>& Bytes() const { return FBytes; }
  int NodeCount() const { return FNodeCount; }

  // Whether the record under test of DataSet (read through its fields, as OnFilterRecord sees it)
  // passes. A comparison with a null value is false; a field the dataset lacks raises its
  // field-not-found error.
  bool Accept(TDataSet& DataSet) const;

 private:
  struct TOperand;
  bool Test(TDataSet& DataSet, int Offset) const;
  TOperand Operand(TDataSet& DataSet, int Offset) const;
  void CheckNode(int Offset, int Depth) const;
  int Word(int At) const;
  int Int32(int At) const;
  String LiteralText(int Offset) const;

  std::vector<std::uint8_t> FBytes;
  int FNodeCount = 0;
  int FNodeStart = 0;
  int FLiteralStart = 0;
  int FTotal = 0;
};
