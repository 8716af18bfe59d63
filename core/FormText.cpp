// This file implements the form-description text format: the reader that turns the text into a
// tree of objects, properties and values, and the writer that lays the tree out again.
#include "FormText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "Exceptions.h"

namespace {

// ---- Reader ---------------------------------------------------------------------------------

// Deep enough for any real form; a limit keeps hostile input from exhausting the stack.
constexpr int kMaxNesting = 200;

enum class TTokenKind { End, Identifier, Integer, Float, String, Binary, Symbol };

struct TToken {
  TTokenKind Kind = TTokenKind::End;
  String Text;  // identifier, string (decoded), binary bytes
  std::int64_t Integer = 0;
  double Float = 0;
  char Symbol = 0;
  int Line = 1;
};

bool IsLetter(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }
bool IsHexDigit(char C) { return IsDigit(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f'); }
int HexValue(char C) { return IsDigit(C) ? C - '0' : (C | 0x20) - 'a' + 10; }

// Keywords are compared without regard to ASCII case, as the hand-written files vary.
bool IsWord(std::string_view Text, std::string_view Word) {
  if (Text.size() != Word.size()) return false;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if ((Text[i] | 0x20) != Word[i]) return false;
  }
  return true;
}

String Quoted(char C) {
  unsigned char b = static_cast<unsigned char>(C);
  if (b < 32) return "#" + std::to_string(b);
  return String("'") + C + "'";
}

class TFormTextReader {
 public:
  TFormTextReader(const String& Text, const String& SourceName) : text_(Text), source_(SourceName) {}

  TFormObject Read() {
    Advance();
    TFormObject root = ReadObject(0);
    if (token_.Kind != TTokenKind::End) Fail(token_.Line, "texte après le 'end' final"_a);
    return root;
  }

 private:
  [[noreturn]] void Fail(int Line, const String& Reason) const {
    throw EReadError(source_ + "(" + std::to_string(Line) + ") : " + Reason);
  }

  // ---- Lexer ----

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(std::size_t Ahead = 0) const { return pos_ + Ahead < text_.size() ? text_[pos_ + Ahead] : '\0'; }

  // A line ends with CR LF, LF or a lone CR.
  void SkipBlanks() {
    while (!AtEnd()) {
      char c = text_[pos_];
      if (c == '\r') {
        ++line_;
        ++pos_;
        if (Peek() == '\n') ++pos_;
      } else if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
        ++pos_;
      } else {
        break;
      }
    }
  }

  void Advance() {
    SkipBlanks();
    token_.Text.clear();
    token_.Line = line_;
    if (AtEnd()) {
      token_.Kind = TTokenKind::End;
      return;
    }
    char c = text_[pos_];
    if (IsLetter(c)) {
      LexIdentifier();
    } else if (IsDigit(c) || c == '$' || ((c == '-' || c == '+') && (IsDigit(Peek(1)) || Peek(1) == '$'))) {
      LexNumber();
    } else if (c == '\'' || c == '#') {
      LexString();
    } else if (c == '{') {
      LexBinary();
    } else if (c == '=' || c == ':' || c == '[' || c == ']' || c == '(' || c == ')' || c == '<' || c == '>' ||
               c == ',' || c == '+') {
      token_.Kind = TTokenKind::Symbol;
      token_.Symbol = c;
      ++pos_;
    } else {
      Fail(line_, "caractère inattendu : "_a + Quoted(c));
    }
  }

  // Letters, digits and '_', with dots between parts for references ("dmVelbor.qZone").
  void LexIdentifier() {
    std::size_t start = pos_;
    for (;;) {
      while (!AtEnd() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]))) ++pos_;
      if (Peek() == '.' && IsLetter(Peek(1))) {
        ++pos_;
      } else {
        break;
      }
    }
    token_.Kind = TTokenKind::Identifier;
    token_.Text.assign(text_, start, pos_ - start);
  }

  [[noreturn]] void BadNumber(std::size_t Start, const char* Why = nullptr) {
    std::size_t end = pos_;
    while (end < text_.size() && (IsLetter(text_[end]) || IsDigit(text_[end]) || text_[end] == '.' ||
                                  text_[end] == ',' || text_[end] == '$'))
      ++end;
    String reason = "nombre incorrect : "_a + text_.substr(Start, end - Start);
    if (Why) reason += String(" (") + Why + ")";
    Fail(line_, reason);
  }

  void LexNumber() {
    std::size_t start = pos_;
    bool negative = false;
    if (Peek() == '-' || Peek() == '+') {
      negative = Peek() == '-';
      ++pos_;
    }
    if (Peek() == '$') {
      ++pos_;
      std::uint64_t value = 0;
      std::size_t digits = 0;
      while (!AtEnd() && IsHexDigit(text_[pos_])) {
        if (++digits > 16) BadNumber(start);
        value = value << 4 | std::uint64_t(HexValue(text_[pos_++]));
      }
      if (digits == 0 || IsLetter(Peek()) || Peek() == '.') BadNumber(start);
      token_.Kind = TTokenKind::Integer;
      token_.Integer = static_cast<std::int64_t>(negative ? 0 - value : value);
      return;
    }
    std::size_t digitsStart = pos_;
    while (!AtEnd() && IsDigit(text_[pos_])) ++pos_;
    bool isFloat = false;
    if (Peek() == '.') {
      ++pos_;
      if (!IsDigit(Peek())) BadNumber(start);
      while (!AtEnd() && IsDigit(text_[pos_])) ++pos_;
      isFloat = true;
    }
    if (Peek() == 'E' || Peek() == 'e') {
      ++pos_;
      if (Peek() == '+' || Peek() == '-') ++pos_;
      if (!IsDigit(Peek())) BadNumber(start);
      while (!AtEnd() && IsDigit(text_[pos_])) ++pos_;
      isFloat = true;
    }
    // A comma right after the digits is a decimal comma from a localised editor.
    if (Peek() == ',' && IsDigit(Peek(1))) BadNumber(start, "le séparateur décimal est le point"_a);
    if (IsLetter(Peek()) || Peek() == '.' || Peek() == '$') BadNumber(start);
    const char* first = text_.data() + digitsStart;
    const char* last = text_.data() + pos_;
    if (isFloat) {
      double value = 0;
      // from_chars does not take a leading '+' and ignores the locale, as the format requires.
      auto [ptr, ec] = std::from_chars(first, last, value);
      if (ec != std::errc() || ptr != last || !std::isfinite(value)) BadNumber(start);
      token_.Kind = TTokenKind::Float;
      token_.Float = negative ? -value : value;
    } else {
      std::uint64_t magnitude = 0;
      auto [ptr, ec] = std::from_chars(first, last, magnitude);
      if (ec != std::errc() || ptr != last) BadNumber(start);
      constexpr std::uint64_t kMax = std::uint64_t(std::numeric_limits<std::int64_t>::max());
      if (magnitude > kMax + (negative ? 1 : 0)) BadNumber(start);
      token_.Kind = TTokenKind::Integer;
      token_.Integer =
          negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    }
  }

  // Quoted runs and #nnn character codes written next to each other form one string.
  void LexString() {
    token_.Kind = TTokenKind::String;
    String& out = token_.Text;
    for (;;) {
      char c = Peek();
      if (c == '\'') {
        ++pos_;
        std::size_t run = pos_;
        for (;;) {
          if (AtEnd() || text_[pos_] == '\r' || text_[pos_] == '\n') Fail(line_, "chaîne non terminée"_a);
          if (text_[pos_] == '\'') {
            out.append(text_, run, pos_ - run);
            ++pos_;
            if (Peek() != '\'') break;
            run = pos_++;  // a doubled quote keeps one quote
          } else {
            ++pos_;
          }
        }
      } else if (c == '#') {
        std::size_t start = pos_++;
        std::uint32_t code = 0;
        std::size_t digits = 0;
        bool hex = Peek() == '$';
        if (hex) ++pos_;
        while (!AtEnd() && (hex ? IsHexDigit(text_[pos_]) : IsDigit(text_[pos_]))) {
          if (++digits <= 8) code = code * (hex ? 16 : 10) + std::uint32_t(HexValue(text_[pos_]));
          ++pos_;
        }
        int byte = digits == 0 || digits > 7 || code > 0x10FFFF ? -1 : cp1252::FromUnicode(code);
        if (byte < 0) {
          String written = text_.substr(start, pos_ - start);
          Fail(line_, digits == 0 ? "code de caractère incorrect : "_a + written
                                  : "code de caractère incorrect : "_a + written +
                                        " (hors de la page de code 1252)"_a);
        }
        out += static_cast<char>(byte);
      } else {
        break;
      }
    }
  }

  // "{ hex digits }", over as many lines as it takes.
  void LexBinary() {
    token_.Kind = TTokenKind::Binary;
    String& out = token_.Text;
    ++pos_;
    int high = -1;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail(line_, "fin de texte inattendue ('}' attendu)"_a);
      char c = text_[pos_];
      if (c == '}') break;
      if (!IsHexDigit(c)) Fail(line_, "données binaires incorrectes : "_a + Quoted(c));
      if (high < 0) {
        high = HexValue(c);
      } else {
        out += static_cast<char>(high << 4 | HexValue(c));
        high = -1;
      }
      ++pos_;
    }
    if (high >= 0) Fail(line_, "données binaires incorrectes : nombre impair de chiffres"_a);
    ++pos_;
  }

  // ---- Parser ----

  bool IsSymbol(char C) const { return token_.Kind == TTokenKind::Symbol && token_.Symbol == C; }
  bool IsKeyword(std::string_view Word) const {
    return token_.Kind == TTokenKind::Identifier && IsWord(token_.Text, Word);
  }
  bool AtObjectStart() const { return IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline"); }

  // Reason says what was expected; at the end of the text it is given as the cause.
  [[noreturn]] void Expected(const String& Reason) const {
    if (token_.Kind == TTokenKind::End) Fail(token_.Line, "fin de texte inattendue ("_a + Reason + ")");
    Fail(token_.Line, Reason);
  }

  String TakeIdentifier(const String& Reason) {
    if (token_.Kind != TTokenKind::Identifier) Expected(Reason);
    String name = std::move(token_.Text);
    Advance();
    return name;
  }

  void TakeSymbol(char C) {
    if (!IsSymbol(C)) Expected(String("'") + C + "' attendu");
    Advance();
  }

  void Enter(int Depth) const {
    if (Depth > kMaxNesting) Fail(token_.Line, "imbrication trop profonde"_a);
  }

  int ReadIndex() {
    TakeSymbol('[');
    if (token_.Kind != TTokenKind::Integer || token_.Integer < 0 ||
        token_.Integer > std::numeric_limits<int>::max())
      Expected("indice attendu");
    int index = static_cast<int>(token_.Integer);
    Advance();
    TakeSymbol(']');
    return index;
  }

  TFormObject ReadObject(int Depth) {
    Enter(Depth);
    TFormObject object;
    object.Line = token_.Line;
    if (IsKeyword("object")) {
      object.Kind = TFormObjectKind::Object;
    } else if (IsKeyword("inherited")) {
      object.Kind = TFormObjectKind::Inherited;
    } else if (IsKeyword("inline")) {
      object.Kind = TFormObjectKind::Inline;
    } else {
      Expected("'object' attendu");
    }
    Advance();
    String first = TakeIdentifier("nom de classe attendu");
    if (IsSymbol(':')) {
      Advance();
      object.Name = std::move(first);
      object.ClassName = TakeIdentifier("nom de classe attendu");
    } else {
      object.ClassName = std::move(first);
    }
    if (IsSymbol('[')) object.Index = ReadIndex();
    while (token_.Kind == TTokenKind::Identifier && !AtObjectStart() && !IsKeyword("end")) {
      object.Properties.push_back(ReadProperty(Depth));
    }
    while (AtObjectStart()) object.Children.push_back(ReadObject(Depth + 1));
    if (!IsKeyword("end")) Expected("'end' attendu");
    Advance();
    return object;
  }

  TFormProperty ReadProperty(int Depth) {
    TFormProperty property;
    property.Line = token_.Line;
    property.Name = std::move(token_.Text);
    Advance();
    TakeSymbol('=');
    property.Value = ReadValue(Depth + 1);
    return property;
  }

  TFormValue ReadValue(int Depth) {
    Enter(Depth);
    TFormValue value;
    value.Line = token_.Line;
    switch (token_.Kind) {
      case TTokenKind::Integer:
        value.Kind = TFormValueKind::Integer;
        value.Integer = token_.Integer;
        Advance();
        break;
      case TTokenKind::Float:
        value.Kind = TFormValueKind::Float;
        value.Float = token_.Float;
        Advance();
        break;
      case TTokenKind::Identifier:
        value.Kind = TFormValueKind::Identifier;
        value.Text = std::move(token_.Text);
        Advance();
        break;
      case TTokenKind::String:
        value.Kind = TFormValueKind::String;
        value.Text = std::move(token_.Text);
        Advance();
        while (IsSymbol('+')) {
          Advance();
          if (token_.Kind != TTokenKind::String) Expected("chaîne attendue après '+'"_a);
          value.Text += token_.Text;
          Advance();
        }
        break;
      case TTokenKind::Binary:
        value.Kind = TFormValueKind::Binary;
        value.Binary = std::move(token_.Text);
        Advance();
        break;
      case TTokenKind::Symbol:
        if (IsSymbol('[')) {
          ReadSet(value);
        } else if (IsSymbol('(')) {
          ReadList(value, Depth);
        } else if (IsSymbol('<')) {
          ReadCollection(value, Depth);
        } else {
          Fail(token_.Line, "valeur attendue au lieu de "_a + Quoted(token_.Symbol));
        }
        break;
      case TTokenKind::End:
        Fail(token_.Line, "fin de texte inattendue (valeur attendue)"_a);
    }
    return value;
  }

  // "[a, b]": identifiers, or small integers for sets of numbers.
  void ReadSet(TFormValue& Value) {
    Value.Kind = TFormValueKind::Set;
    Advance();
    if (IsSymbol(']')) {
      Advance();
      return;
    }
    for (;;) {
      if (token_.Kind == TTokenKind::Identifier) {
        Value.SetItems.push_back(std::move(token_.Text));
      } else if (token_.Kind == TTokenKind::Integer) {
        Value.SetItems.push_back(std::to_string(token_.Integer));
      } else {
        Expected("élément d'ensemble attendu"_a);
      }
      Advance();
      if (IsSymbol(']')) break;
      if (!IsSymbol(',')) Expected("']' attendu");
      Advance();
    }
    Advance();
  }

  void ReadList(TFormValue& Value, int Depth) {
    Value.Kind = TFormValueKind::List;
    Advance();
    while (!IsSymbol(')')) {
      if (token_.Kind == TTokenKind::End) Expected("')' attendu");
      Value.Items.push_back(ReadValue(Depth + 1));
    }
    Advance();
  }

  // "< item ... end item ... end >"; an item may carry an index, "item [2]".
  void ReadCollection(TFormValue& Value, int Depth) {
    Value.Kind = TFormValueKind::Collection;
    Advance();
    while (!IsSymbol('>')) {
      if (!IsKeyword("item"))
        Expected(token_.Kind == TTokenKind::End ? "'>' attendu" : "'item' ou '>' attendu");
      TFormCollectionItem item;
      item.Line = token_.Line;
      Advance();
      if (IsSymbol('[')) item.Index = ReadIndex();
      while (token_.Kind == TTokenKind::Identifier && !IsKeyword("end")) {
        item.Properties.push_back(ReadProperty(Depth));
      }
      if (!IsKeyword("end")) Expected("'end' attendu");
      Advance();
      Value.CollectionItems.push_back(std::move(item));
    }
    Advance();
  }

  const String& text_;
  const String& source_;
  std::size_t pos_ = 0;
  int line_ = 1;
  TToken token_;
};

// ---- Writer ---------------------------------------------------------------------------------

// Characters of a string per line before it is continued with " +".
constexpr std::size_t kStringLineLength = 64;
// Bytes of binary data per line.
constexpr std::size_t kBinaryLineLength = 32;

class TFormTextWriter {
 public:
  String Write(const TFormObject& Object) {
    WriteObject(Object, 0);
    return std::move(out_);
  }

 private:
  void NewLine(int Level) {
    out_ += "\r\n";
    out_.append(std::size_t(Level) * 2, ' ');
  }
  void Indent(int Level) { out_.append(std::size_t(Level) * 2, ' '); }

  void WriteObject(const TFormObject& Object, int Level) {
    Indent(Level);
    switch (Object.Kind) {
      case TFormObjectKind::Object:
        out_ += "object ";
        break;
      case TFormObjectKind::Inherited:
        out_ += "inherited ";
        break;
      case TFormObjectKind::Inline:
        out_ += "inline ";
        break;
    }
    if (!Object.Name.empty()) {
      out_ += Object.Name;
      out_ += ": ";
    }
    out_ += Object.ClassName;
    if (Object.Index >= 0) out_ += " [" + std::to_string(Object.Index) + "]";
    out_ += "\r\n";
    WriteProperties(Object.Properties, Level + 1);
    for (const TFormObject& child : Object.Children) WriteObject(child, Level + 1);
    Indent(Level);
    out_ += "end\r\n";
  }

  void WriteProperties(const std::vector<TFormProperty>& Properties, int Level) {
    for (const TFormProperty& property : Properties) {
      Indent(Level);
      out_ += property.Name;
      out_ += " = ";
      WriteValue(property.Value, Level);
      out_ += "\r\n";
    }
  }

  // Writes a value that starts on a line indented at Level; its further lines go one level deeper.
  void WriteValue(const TFormValue& Value, int Level) {
    switch (Value.Kind) {
      case TFormValueKind::Integer:
        out_ += std::to_string(Value.Integer);
        break;
      case TFormValueKind::Float:
        WriteFloat(Value.Float);
        break;
      case TFormValueKind::String:
        WriteString(Value.Text, Level + 1);
        break;
      case TFormValueKind::Identifier:
        out_ += Value.Text;
        break;
      case TFormValueKind::Set:
        out_ += '[';
        for (std::size_t i = 0; i < Value.SetItems.size(); ++i) {
          if (i > 0) out_ += ", ";
          out_ += Value.SetItems[i];
        }
        out_ += ']';
        break;
      case TFormValueKind::List:
        // One item per line; the closing bracket follows the last item.
        out_ += '(';
        for (const TFormValue& item : Value.Items) {
          NewLine(Level + 1);
          WriteValue(item, Level + 1);
        }
        out_ += ')';
        break;
      case TFormValueKind::Binary:
        WriteBinary(Value.Binary, Level + 1);
        break;
      case TFormValueKind::Collection:
        out_ += '<';
        for (const TFormCollectionItem& item : Value.CollectionItems) {
          NewLine(Level + 1);
          out_ += "item";
          if (item.Index >= 0) out_ += " [" + std::to_string(item.Index) + "]";
          out_ += "\r\n";
          WriteProperties(item.Properties, Level + 2);
          Indent(Level + 1);
          out_ += "end";
        }
        out_ += '>';
        break;
    }
  }

  // The shortest text that reads back to the same double, always with a '.' so that it reads
  // back as a float, never with the locale's separator.
  void WriteFloat(double Value) {
    if (!std::isfinite(Value)) throw EWriteError("valeur réelle non représentable dans une fiche"_a);
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, Value);
    (void)ec;  // 64 characters always hold a double
    std::string_view text(buffer, std::size_t(end - buffer));
    std::size_t e = text.find('e');
    std::string_view mantissa = text.substr(0, e);
    out_ += mantissa;
    if (mantissa.find('.') == std::string_view::npos) out_ += ".0";
    if (e != std::string_view::npos) {
      std::string_view exponent = text.substr(e + 1);
      out_ += 'E';
      if (exponent[0] == '-') out_ += '-';
      if (exponent[0] == '-' || exponent[0] == '+') exponent.remove_prefix(1);
      while (exponent.size() > 1 && exponent[0] == '0') exponent.remove_prefix(1);
      out_ += exponent;
    }
  }

  // Printable runs in quotes, control characters as #nn; a long string goes on in runs of
  // kStringLineLength characters, each line but the last ending with " +".
  void WriteString(const String& Text, int ContinuationLevel) {
    if (Text.empty()) {
      out_ += "''";
      return;
    }
    bool quoted = false;
    std::size_t onLine = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
      if (onLine == kStringLineLength) {
        if (quoted) out_ += '\'';
        quoted = false;
        out_ += " +";
        NewLine(ContinuationLevel);
        onLine = 0;
      }
      unsigned char c = static_cast<unsigned char>(Text[i]);
      if (c < 32) {
        if (quoted) out_ += '\'';
        quoted = false;
        out_ += '#';
        out_ += std::to_string(c);
      } else {
        if (!quoted) out_ += '\'';
        quoted = true;
        if (c == '\'') out_ += '\'';
        out_ += static_cast<char>(c);
      }
      ++onLine;
    }
    if (quoted) out_ += '\'';
  }

  void WriteBinary(const std::string& Bytes, int Level) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out_ += '{';
    for (std::size_t i = 0; i < Bytes.size(); ++i) {
      if (i % kBinaryLineLength == 0) NewLine(Level);
      unsigned char b = static_cast<unsigned char>(Bytes[i]);
      out_ += kHex[b >> 4];
      out_ += kHex[b & 15];
    }
    out_ += '}';
  }

  String out_;
};

}  // namespace

TFormObject ParseFormText(const String& Text, const String& SourceName) {
  return TFormTextReader(Text, SourceName).Read();
}

String WriteFormText(const TFormObject& Object) { return TFormTextWriter().Write(Object); }
