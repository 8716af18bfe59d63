// This file implements the reading of search values into words and parts.
#include "qvFilterCriteria.h"

#include "TextOrder.h"

bool TqvFieldOperators::Ambiguous() const {
  return AnsiSameText(OrChar, AndChar) || AnsiSameText(OrChar, NullChar) || AnsiSameText(AndChar, NullChar);
}

std::vector<String> qvValueWords(const String& Value, const TqvFieldOperators& Operators) {
  auto IsStop = [&](char C) {
    return (Operators.OrChar.size() == 1 && C == Operators.OrChar[0]) ||
           (Operators.AndChar.size() == 1 && C == Operators.AndChar[0]);
  };
  std::vector<String> Words;
  std::size_t i = 0, n = Value.size();
  while (i < n) {
    char C = Value[i];
    if (C == ' ' || C == '\t') {
      ++i;
    } else if (C == '"') {
      std::size_t Close = Value.find('"', i + 1);
      if (Close == String::npos) Close = n;
      Words.push_back(Value.substr(i + 1, Close - i - 1));
      i = Close + 1;
    } else if (IsStop(C)) {
      Words.push_back(String(1, C));
      ++i;
    } else {
      std::size_t Start = i;
      while (i < n && Value[i] != ' ' && Value[i] != '\t' && !IsStop(Value[i])) ++i;
      Words.push_back(Value.substr(Start, i - Start));
    }
  }
  return Words;
}

String qvFindValueOperator(const String& Value, const TqvFieldOperators& Operators) {
  std::vector<String> Words = qvValueWords(Value, Operators);
  for (std::size_t i = 1; i < Words.size(); ++i) {
    if (AnsiSameText(Words[i], Operators.OrChar)) return Operators.OrChar;
    if (AnsiSameText(Words[i], Operators.AndChar)) return Operators.AndChar;
  }
  return String();
}

std::vector<String> qvValueParts(const String& Value, const String& Joining, const TqvFieldOperators& Operators) {
  std::vector<String> Parts;
  String Part;
  bool Any = false;
  std::vector<String> Words = qvValueWords(Value, Operators);
  for (std::size_t i = 0; i < Words.size(); ++i) {
    // The joining word as the value's first word is a part of its own, not a join.
    if (!Joining.empty() && i > 0 && AnsiSameText(Words[i], Joining)) {
      if (Any) Parts.push_back(Part);
      Part.clear();
      Any = false;
      continue;
    }
    Part += (Any ? " " : "") + Words[i];
    Any = true;
  }
  if (Any) Parts.push_back(Part);
  return Parts;
}

String qvPadUpperRange(const String& Text, int Size, char Pad) {
  if (Pad == 0 || int(Text.size()) >= Size) return Text;
  return Text + String(std::size_t(Size) - Text.size(), Pad);
}
