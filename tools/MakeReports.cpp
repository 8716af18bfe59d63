// This file implements MakeReports, which turns a readable report layout (a ".etat" text file of
// base/etats/) into the report engine's template file (".zrf", format version 25).
//
// The layout is one statement per line; "#" starts a comment line. Sizes are report pixels (an A4
// page is 757 x 1072 of them, 91.63 to the inch); an object's y is counted from the top of the band
// above it, so bands can be moved without touching their objects.
//
//   report                                   starts the template
//   doublepass                               two passes: [TOTALPAGES] is known on every page
//   page [name=N] [margins=l,t,r,b] [append] a new template page; "append" prints it on the end of
//                                            the previous page's last sheet
//   band KIND NAME height=H [source=LINK] [master=BAND] [flags...]
//                                            KIND: ReportTitle, ReportSummary, PageHeader,
//                                            PageFooter, MasterHeader, MasterData, MasterFooter,
//                                            DetailHeader, DetailData, DetailFooter, ...
//                                            flags: stretch, newpage, ifempty, breaked, repeat,
//                                            notfirst (page bands not on the first page)
//   memo NAME x=X y=Y w=W h=H [font=F] [size=S] [bold] [italic] [underline]
//        [align=left|right|center|justify] [middle] [frame=ltrb|all] [framewidth=N]
//        [fill=RRGGBB] [color=RRGGBB] [nowrap] [fixed] [text='...']
//                                            a text; "|" separates its lines, '' is an
//                                            apostrophe; [expressions] are evaluated when printed
//
// Values with blanks are written between single quotes. The file is UTF-8; the template holds
// code page 1252, as the program does.
#include <cmath>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "AnsiString.h"

namespace {

struct TLayoutError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// ---- Bytes of the template format (little-endian).

class TWriter {
 public:
  std::string Bytes;
  void U8(int V) { Bytes.push_back(char(V & 0xFF)); }
  void U16(int V) {
    U8(V);
    U8(V >> 8);
  }
  void U32(std::uint32_t V) {
    for (int i = 0; i < 4; ++i) U8(int(V >> (8 * i)));
  }
  void I32(int V) { U32(std::uint32_t(V)); }
  void Double(double V) {
    std::uint64_t bits;
    static_assert(sizeof bits == sizeof V);
    std::memcpy(&bits, &V, sizeof bits);
    for (int i = 0; i < 8; ++i) U8(int(bits >> (8 * i)));
  }
  // A text with its 16-bit length and a terminating 0.
  void Counted(const std::string& S) {
    if (S.size() > 0xFFFF) throw TLayoutError("text too long: " + S.substr(0, 40));
    U16(int(S.size()));
    Bytes += S;
    U8(0);
  }
  // Lines: their count, then each with its length, followed by 13 (0 after the last).
  void Lines(const std::vector<std::string>& L) {
    U16(int(L.size()));
    if (L.empty()) {
      U8(0);
      return;
    }
    for (std::size_t i = 0; i < L.size(); ++i) {
      U16(int(L[i].size()));
      Bytes += L[i];
      U8(i + 1 < L.size() ? 13 : 0);
    }
  }
  // A text with a 16-bit length and no terminator (the report information trailer).
  void U16Text(const std::string& S) {
    U16(int(S.size()));
    Bytes += S;
  }
};

// ---- The layout read from the text.

constexpr int kKindMemo = 0;
constexpr int kKindBand = 2;
constexpr int kNoColor = 0x1FFFFFFF;
constexpr int kPageWidth = 757;

struct TObjectLayout {
  int Kind = kKindMemo;
  std::string Name;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Flags = 0;
  int FrameTyp = 0;  // bands: their kind
  int FrameWidth = 1;
  std::uint32_t FillColor = kNoColor;
  int FormatCode = 0;
  std::string FormatText;  // bands: their data link
  std::vector<std::string> Memo;
  // Memos.
  std::string Font = "Arial";
  int Size = 10;
  int Style = 0;  // 1 italic, 2 bold, 4 underline
  std::uint32_t Color = 0;
  int Alignment = 0;
  // Bands.
  std::string Master;
};

struct TPageLayout {
  std::string Name;
  int Margins[4] = {38, 38, 38, 38};
  bool Append = false;
  std::vector<TObjectLayout> Objects;
};

struct TReportLayout {
  bool DoublePass = false;
  std::vector<TPageLayout> Pages;
};

const std::map<std::string, int> kBandKinds = {
    {"ReportTitle", 0},   {"ReportSummary", 1}, {"PageHeader", 2},       {"PageFooter", 3},
    {"MasterHeader", 4},  {"MasterData", 5},    {"MasterFooter", 6},     {"DetailHeader", 7},
    {"DetailData", 8},    {"DetailFooter", 9},  {"SubDetailHeader", 10}, {"SubDetailData", 11},
    {"SubDetailFooter", 12}, {"Overlay", 13},   {"ColumnHeader", 14},    {"ColumnFooter", 15},
    {"GroupHeader", 16},  {"GroupFooter", 17},  {"Child", 21}};

// The words of a line: blanks separate them, single quotes hold blanks ('' is a quote).
std::vector<std::string> Words(const std::string& Line, int LineNo) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (std::size_t i = 0; i < Line.size(); ++i) {
    char c = Line[i];
    if (quoted) {
      if (c == '\'') {
        if (i + 1 < Line.size() && Line[i + 1] == '\'') {
          word += '\'';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        word += c;
      }
    } else if (c == '\'') {
      quoted = inWord = true;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) throw TLayoutError("line " + std::to_string(LineNo) + ": unterminated quote");
  if (inWord) words.push_back(word);
  return words;
}

int Number(const std::string& Text, int LineNo) {
  std::size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(Text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != Text.size() || Text.empty())
    throw TLayoutError("line " + std::to_string(LineNo) + ": not a number: " + Text);
  return value;
}

std::uint32_t Colour(const std::string& Rgb, int LineNo) {
  if (Rgb.size() != 6) throw TLayoutError("line " + std::to_string(LineNo) + ": colour RRGGBB expected: " + Rgb);
  unsigned long v = std::stoul(Rgb, nullptr, 16);
  // The engine keeps colours as the API does: red in the low byte.
  return std::uint32_t(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t bar = Text.find('|', start);
    lines.push_back(Text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return lines;
}

TReportLayout ReadLayout(std::istream& In) {
  TReportLayout report;
  bool started = false;
  int bandTop = 0;      // top of the band objects are placed on
  int nextBandTop = 0;  // where the next band goes
  std::string line;
  int lineNo = 0;
  auto fail = [&](const std::string& What) { throw TLayoutError("line " + std::to_string(lineNo) + ": " + What); };
  while (std::getline(In, line)) {
    ++lineNo;
    std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::vector<std::string> w = Words(line, lineNo);
    const std::string& verb = w[0];
    std::map<std::string, std::string> opts;
    std::vector<std::string> flags;
    for (std::size_t i = 1; i < w.size(); ++i) {
      std::size_t eq = w[i].find('=');
      if (eq == std::string::npos) flags.push_back(w[i]);
      else opts[w[i].substr(0, eq)] = w[i].substr(eq + 1);
    }
    auto take = [&](const char* Key, bool Required) {
      auto found = opts.find(Key);
      if (found == opts.end()) {
        if (Required) fail(verb + " needs " + Key + "=");
        return std::string();
      }
      std::string v = found->second;
      opts.erase(found);
      return v;
    };
    if (verb == "report") {
      started = true;
      continue;
    }
    if (!started) fail("the layout starts with 'report'");
    if (verb == "doublepass") {
      report.DoublePass = true;
    } else if (verb == "page") {
      TPageLayout page;
      page.Name = take("name", false);
      if (page.Name.empty()) page.Name = "Page" + std::to_string(report.Pages.size() + 1);
      std::string margins = take("margins", false);
      if (!margins.empty()) {
        std::stringstream parts(margins);
        std::string part;
        for (int i = 0; i < 4; ++i) {
          if (!std::getline(parts, part, ',')) fail("margins=l,t,r,b expected");
          page.Margins[i] = Number(part, lineNo);
        }
      }
      for (const std::string& f : flags) {
        if (f == "append") page.Append = true;
        else fail("unknown page flag " + f);
      }
      report.Pages.push_back(page);
      bandTop = nextBandTop = page.Margins[1];
    } else if (verb == "band") {
      if (report.Pages.empty()) fail("band before any page");
      if (flags.size() < 2) fail("band KIND NAME expected");
      auto kind = kBandKinds.find(flags[0]);
      if (kind == kBandKinds.end()) fail("unknown band kind " + flags[0]);
      TObjectLayout band;
      band.Kind = kKindBand;
      band.FrameTyp = kind->second;
      band.Name = flags[1];
      band.Left = 0;
      band.Width = kPageWidth;
      band.Height = Number(take("height", true), lineNo);
      band.Top = nextBandTop;
      band.FormatText = take("source", false);
      band.Master = take("master", false);
      band.Flags = 0x30;  // on the first and the last page
      for (std::size_t i = 2; i < flags.size(); ++i) {
        const std::string& f = flags[i];
        if (f == "stretch") band.Flags |= 0x01;
        else if (f == "newpage") band.Flags |= 0x02;
        else if (f == "ifempty") band.Flags |= 0x04;
        else if (f == "breaked") band.Flags |= 0x08;
        else if (f == "notfirst") band.Flags &= ~0x10;
        else if (f == "repeat") band.Flags |= 0x40;
        else fail("unknown band flag " + f);
      }
      // Bands are laid out one under the other, a gap between them so that no object's top edge
      // can fall on two bands.
      bandTop = band.Top;
      nextBandTop = band.Top + band.Height + 8;
      report.Pages.back().Objects.push_back(band);
    } else if (verb == "memo") {
      if (report.Pages.empty()) fail("memo before any page");
      if (flags.empty()) fail("memo NAME expected");
      TObjectLayout memo;
      memo.Name = flags[0];
      memo.Left = Number(take("x", true), lineNo);
      memo.Top = bandTop + Number(take("y", true), lineNo);
      memo.Width = Number(take("w", true), lineNo);
      memo.Height = Number(take("h", true), lineNo);
      memo.Flags = 0x03;  // stretched, word-wrapped
      memo.FormatCode = 512 + ',';
      std::string font = take("font", false);
      if (!font.empty()) memo.Font = font;
      std::string size = take("size", false);
      if (!size.empty()) memo.Size = Number(size, lineNo);
      std::string align = take("align", false);
      if (align == "right") memo.Alignment = 1;
      else if (align == "center") memo.Alignment = 2;
      else if (align == "justify") memo.Alignment = 3;
      else if (!align.empty() && align != "left") fail("unknown alignment " + align);
      std::string frame = take("frame", false);
      for (char c : frame == "all" ? std::string("ltrb") : frame) {
        if (c == 'l') memo.FrameTyp |= 4;
        else if (c == 't') memo.FrameTyp |= 8;
        else if (c == 'r') memo.FrameTyp |= 1;
        else if (c == 'b') memo.FrameTyp |= 2;
        else fail("frame sides are l, t, r and b");
      }
      std::string frameWidth = take("framewidth", false);
      if (!frameWidth.empty()) memo.FrameWidth = Number(frameWidth, lineNo);
      std::string fill = take("fill", false);
      if (!fill.empty()) memo.FillColor = Colour(fill, lineNo);
      std::string color = take("color", false);
      if (!color.empty()) memo.Color = Colour(color, lineNo);
      memo.Memo = SplitLines(Utf8ToAnsi(take("text", false)));
      for (std::size_t i = 1; i < flags.size(); ++i) {
        const std::string& f = flags[i];
        if (f == "bold") memo.Style |= 2;
        else if (f == "italic") memo.Style |= 1;
        else if (f == "underline") memo.Style |= 4;
        else if (f == "middle") memo.Alignment |= 8;
        else if (f == "nowrap") memo.Flags &= ~0x02;
        else if (f == "fixed") memo.Flags &= ~0x01;
        else fail("unknown memo flag " + f);
      }
      report.Pages.back().Objects.push_back(memo);
    } else {
      fail("unknown statement " + verb);
    }
    if (!opts.empty()) fail("unknown setting " + opts.begin()->first + "=");
  }
  if (!started) throw TLayoutError("empty layout");
  if (report.Pages.empty()) throw TLayoutError("a report has at least one page");
  return report;
}

// ---- The template file.

void WritePageHeader(TWriter& W, const TPageLayout& Page) {
  W.I32(-1);    // a script follows the header
  W.I32(9);     // A4
  W.I32(2100);  // tenths of a millimetre
  W.I32(2970);
  for (int m : Page.Margins) W.I32(m);
  W.U8(0);         // portrait
  W.I32(0xFFFF);   // the printer's default paper source
  W.U16(Page.Append ? 0xFFFF : 0);
  W.U16(0xFFFF);   // margins used
  W.I32(1);        // one column
  W.I32(0);
  W.U8(0);         // a report page, not a dialog
  W.Counted(Page.Name);
  W.U8(3);
  W.Counted("");
  W.U32(0);
  W.I32(0);
  W.I32(0);
  W.I32(380);
  W.I32(250);
  W.U8(4);
  W.Lines({});
}

void WriteObject(TWriter& W, const TObjectLayout& O, int PageIndex) {
  W.U8(O.Kind);
  W.U8(PageIndex);
  std::size_t endAt = W.Bytes.size();
  W.U32(0);  // where the record ends, filled in below
  W.Counted(O.Name);
  W.U8(2);                               // record major version
  W.U8(O.Kind == kKindBand ? 1 : 0);     // minor: bands carry their master band's name
  W.I32(O.Left);
  W.I32(O.Top);
  W.I32(O.Width);
  W.I32(O.Height);
  W.U16(O.Flags);
  W.U16(O.FrameTyp);
  W.I32(O.FrameWidth);
  W.U32(0);  // frame colour: black
  W.U16(0);  // solid frame
  W.U32(O.FillColor);
  W.I32(O.FormatCode);
  W.Counted(O.FormatText);
  W.Lines(O.Memo);
  W.Lines({});     // no script
  W.U16(0xFFFF);   // visible
  W.U16(0);        // no restrictions
  W.Counted("");   // tag
  W.I32(2);        // gaps around the text
  W.I32(1);
  W.U8(0);         // no band alignment
  if (O.Kind == kKindBand) {
    W.Counted("");  // no child band
    W.I32(1);       // one column
    W.I32(0);
    W.I32(0);
    W.I32(0);
    W.Counted(O.Master);
  } else {
    W.Counted(O.Font);
    W.I32(O.Size);
    W.U16(O.Style);
    W.U32(O.Color);
    W.U32(std::uint32_t(O.Alignment));
    W.U16(1);  // the default character set
    W.U16(0);  // no highlight
    W.U32(0);
    W.U32(kNoColor);
    W.Counted("");
    W.I32(2);  // line spacing
    W.I32(0);
  }
  std::uint32_t end = std::uint32_t(W.Bytes.size());
  for (int i = 0; i < 4; ++i) W.Bytes[endAt + std::size_t(i)] = char(end >> (8 * i));
}

std::string WriteTemplate(const TReportLayout& R) {
  TWriter W;
  W.U8(25);  // format version
  W.U16(0);  // print to the chosen printer
  W.U16(R.DoublePass ? 1 : 0);
  W.Counted("\001");  // the default printer
  for (const TPageLayout& page : R.Pages) {
    W.U8(255);
    WritePageHeader(W, page);
  }
  for (std::size_t p = 0; p < R.Pages.size(); ++p)
    for (const TObjectLayout& o : R.Pages[p].Objects) WriteObject(W, o, int(p));
  W.U8(254);  // the data dictionary: empty
  W.U16(0xFFFE);
  for (int i = 0; i < 3; ++i) W.I32(0);
  W.U8(252);  // end of the list
  for (int i = 0; i < 8; ++i) W.U16Text("");  // comment, name, author, versions, password
  W.U8(88);
  W.U8(0);  // not protected
  W.Double(0);
  W.Double(0);
  return W.Bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: MakeReports layout.etat template.zrf\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "MakeReports: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::string bytes;
  try {
    bytes = WriteTemplate(ReadLayout(in));
  } catch (const std::exception& e) {
    std::cerr << argv[1] << ": " << e.what() << "\n";
    return 1;
  }
  // Written beside the target and renamed: a failed run never leaves half a template.
  std::string temporary = std::string(argv[2]) + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) {
      std::cerr << "MakeReports: cannot write " << temporary << "\n";
      std::remove(temporary.c_str());
      return 1;
    }
  }
  if (std::rename(temporary.c_str(), argv[2]) != 0) {
    std::cerr << "MakeReports: cannot replace " << argv[2] << "\n";
    std::remove(temporary.c_str());
    return 1;
  }
  return 0;
}
