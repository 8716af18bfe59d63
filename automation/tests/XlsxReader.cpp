// This file implements the tests' reader of .xlsx files: zip entries inflated with zlib, and the
// few XML elements of the workbook, its relations, shared strings, styles and sheets.
#include "XlsxReader.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::uint32_t Get16(const std::string& S, std::size_t At) {
  if (At + 2 > S.size()) throw std::runtime_error("zip: truncated");
  return static_cast<unsigned char>(S[At]) | static_cast<unsigned char>(S[At + 1]) << 8;
}

std::uint32_t Get32(const std::string& S, std::size_t At) { return Get16(S, At) | Get16(S, At + 2) << 16; }

std::string Inflate(const std::string& Data, std::size_t Size) {
  std::string Out(Size, '\0');
  z_stream Z{};
  if (inflateInit2(&Z, -MAX_WBITS) != Z_OK) throw std::runtime_error("zip: inflateInit2");
  Z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
  Z.avail_in = static_cast<uInt>(Data.size());
  Z.next_out = reinterpret_cast<Bytef*>(Out.data());
  Z.avail_out = static_cast<uInt>(Out.size());
  int Result = inflate(&Z, Z_FINISH);
  inflateEnd(&Z);
  if (Result != Z_STREAM_END || Z.total_out != Size) throw std::runtime_error("zip: bad deflate data");
  return Out;
}

// XML helpers over the writer's output: elements found by name, attributes by name.
std::string Unescape(const std::string& S) {
  std::string Out;
  for (std::size_t i = 0; i < S.size(); ++i) {
    if (S[i] != '&') {
      Out += S[i];
      continue;
    }
    std::size_t End = S.find(';', i);
    std::string Entity = S.substr(i + 1, End - i - 1);
    if (Entity == "amp") Out += '&';
    else if (Entity == "lt") Out += '<';
    else if (Entity == "gt") Out += '>';
    else if (Entity == "quot") Out += '"';
    else if (Entity == "apos") Out += '\'';
    else if (!Entity.empty() && Entity[0] == '#') {
      unsigned long Code = Entity[1] == 'x' ? std::stoul(Entity.substr(2), nullptr, 16) : std::stoul(Entity.substr(1));
      if (Code >= 0x80) throw std::runtime_error("xml: non-ASCII character reference");
      Out += static_cast<char>(Code);
    } else {
      throw std::runtime_error("xml: unknown entity " + Entity);
    }
    i = End;
  }
  return Out;
}

std::string Attribute(const std::string& Tag, const std::string& Name) {
  std::string Key = " " + Name + "=\"";
  std::size_t At = Tag.find(Key);
  if (At == std::string::npos) return "";
  At += Key.size();
  return Unescape(Tag.substr(At, Tag.find('"', At) - At));
}

// Each element <Name ...>...</Name> or <Name .../> of Xml from From on: its start tag and content.
struct Element {
  std::string Tag, Content;
};

std::vector<Element> Elements(const std::string& Xml, const std::string& Name) {
  std::vector<Element> Found;
  std::string Open = "<" + Name, Close = "</" + Name + ">";
  for (std::size_t At = Xml.find(Open); At != std::string::npos; At = Xml.find(Open, At + 1)) {
    char After = Xml[At + Open.size()];
    if (After != ' ' && After != '>' && After != '/') continue;
    std::size_t TagEnd = Xml.find('>', At);
    Element E{Xml.substr(At, TagEnd - At + 1), ""};
    if (Xml[TagEnd - 1] != '/') {
      std::size_t End = Xml.find(Close, TagEnd);
      E.Content = Xml.substr(TagEnd + 1, End - TagEnd - 1);
    }
    Found.push_back(E);
  }
  return Found;
}

// The text of a shared or inline string: its <t> runs.
std::string Text(const std::string& Content) {
  std::string Out;
  for (const Element& T : Elements(Content, "t")) Out += Unescape(T.Content);
  return Out;
}

const std::map<int, std::string> BuiltInFormats = {
    {0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"}, {9, "0%"}, {10, "0.00%"},
    {14, "m/d/yy"}, {15, "d-mmm-yy"}, {16, "d-mmm"}, {17, "mmm-yy"}, {18, "h:mm AM/PM"},
    {20, "h:mm"}, {21, "h:mm:ss"}, {22, "m/d/yy h:mm"}, {49, "@"}};

}  // namespace

std::string ReadFileBytes(const std::string& HostPath) {
  std::ifstream In(HostPath, std::ios::binary);
  if (!In) return "";
  std::ostringstream Out;
  Out << In.rdbuf();
  return Out.str();
}

std::map<std::string, std::string> ReadZip(const std::string& HostPath) {
  std::string Zip = ReadFileBytes(HostPath);
  if (Zip.size() < 22) throw std::runtime_error("zip: too short: " + HostPath);
  std::size_t End = Zip.size() - 22;
  while (Get32(Zip, End) != 0x06054b50) {
    if (End == 0) throw std::runtime_error("zip: no central directory");
    --End;
  }
  std::size_t Count = Get16(Zip, End + 10), At = Get32(Zip, End + 16);
  std::map<std::string, std::string> Entries;
  for (std::size_t i = 0; i < Count; ++i) {
    if (Get32(Zip, At) != 0x02014b50) throw std::runtime_error("zip: bad central entry");
    std::uint32_t Method = Get16(Zip, At + 10), Packed = Get32(Zip, At + 20), Size = Get32(Zip, At + 24);
    std::size_t NameLength = Get16(Zip, At + 28), Extra = Get16(Zip, At + 30), Comment = Get16(Zip, At + 32);
    std::size_t Local = Get32(Zip, At + 42);
    std::string Name = Zip.substr(At + 46, NameLength);
    if (Get32(Zip, Local) != 0x04034b50) throw std::runtime_error("zip: bad local header");
    std::size_t Data = Local + 30 + Get16(Zip, Local + 26) + Get16(Zip, Local + 28);
    if (Data + Packed > Zip.size()) throw std::runtime_error("zip: truncated entry " + Name);
    std::string Raw = Zip.substr(Data, Packed);
    if (Method == 0) Entries[Name] = Raw;
    else if (Method == 8) Entries[Name] = Inflate(Raw, Size);
    else throw std::runtime_error("zip: unknown method");
    At += 46 + NameLength + Extra + Comment;
  }
  return Entries;
}

XlsxBook ReadXlsx(const std::string& HostPath) {
  auto Parts = ReadZip(HostPath);
  auto Part = [&](const std::string& Name) -> const std::string& {
    auto It = Parts.find(Name);
    if (It == Parts.end()) throw std::runtime_error("xlsx: no part " + Name);
    return It->second;
  };
  std::vector<std::string> Shared;
  if (Parts.count("xl/sharedStrings.xml"))
    for (const Element& Si : Elements(Part("xl/sharedStrings.xml"), "si")) Shared.push_back(Text(Si.Content));

  const std::string& Styles = Part("xl/styles.xml");
  std::map<int, std::string> Codes = BuiltInFormats;
  for (const Element& F : Elements(Styles, "numFmt"))
    Codes[std::stoi(Attribute(F.Tag, "numFmtId"))] = Attribute(F.Tag, "formatCode");
  std::vector<std::string> XfFormats;
  const auto CellXfs = Elements(Styles, "cellXfs");
  if (CellXfs.size() != 1) throw std::runtime_error("xlsx: no cellXfs");
  for (const Element& Xf : Elements(CellXfs[0].Content, "xf")) {
    int Id = std::stoi(Attribute(Xf.Tag, "numFmtId"));
    if (!Codes.count(Id)) throw std::runtime_error("xlsx: unknown number format " + std::to_string(Id));
    XfFormats.push_back(Codes[Id]);
  }

  std::map<std::string, std::string> Targets;
  for (const Element& R : Elements(Part("xl/_rels/workbook.xml.rels"), "Relationship"))
    Targets[Attribute(R.Tag, "Id")] = Attribute(R.Tag, "Target");

  XlsxBook Book;
  const std::string& Workbook = Part("xl/workbook.xml");
  for (const Element& View : Elements(Workbook, "workbookView")) {
    std::string Active = Attribute(View.Tag, "activeTab");
    if (!Active.empty()) Book.ActiveTab = std::stoi(Active);
  }
  for (const Element& S : Elements(Workbook, "sheet")) {
    XlsxSheet Sheet;
    Sheet.Name = Attribute(S.Tag, "name");
    const std::string& Xml = Part("xl/" + Targets.at(Attribute(S.Tag, "r:id")));
    for (const Element& F : Elements(Xml, "sheetFormatPr")) Sheet.DefaultRowHeight = Attribute(F.Tag, "defaultRowHeight");
    Sheet.Selection = "A1";  // the file format's default, left out of the file
    for (const Element& Sel : Elements(Xml, "selection")) Sheet.Selection = Attribute(Sel.Tag, "sqref");
    for (const Element& C : Elements(Xml, "c")) {
      XlsxCell Cell;
      std::string T = Attribute(C.Tag, "t"), S = Attribute(C.Tag, "s");
      Cell.Format = XfFormats.at(S.empty() ? 0 : std::stoi(S));
      auto V = Elements(C.Content, "v");
      std::string Value = V.empty() ? "" : Unescape(V[0].Content);
      if (T == "s") {
        Cell.Type = "s";
        Cell.Value = Shared.at(std::stoi(Value));
      } else if (T == "inlineStr") {
        Cell.Type = "s";
        Cell.Value = Text(C.Content);
      } else if (T == "str") {
        Cell.Type = "s";
        Cell.Value = Value;
      } else if (T == "b") {
        Cell.Type = "b";
        Cell.Value = Value;
      } else if (T.empty() || T == "n") {
        Cell.Type = V.empty() ? "" : "n";  // "" for a blank cell with a format only
        Cell.Value = Value;
      } else {
        throw std::runtime_error("xlsx: unknown cell type " + T);
      }
      Sheet.Cells[Attribute(C.Tag, "r")] = Cell;
    }
    Book.Sheets.push_back(Sheet);
  }
  return Book;
}
