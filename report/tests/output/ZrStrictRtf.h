// This file implements a strict reader of the RTF the export writes, for the tests: balanced
// groups, control words of letters with an optional number, escapes only of "\", "{", "}" and
// \'hh, no byte above 127 as it stands, every font and colour used declared in the head; the text
// of the body comes out in code page 1252 with paragraphs, tabs and pages.
#pragma once

#include <map>
#include <set>

#include "AnsiString.h"

struct TStrictRtf {
  bool Ok = false;
  String Error;
  String Text;  // "\n" per paragraph, "\t" per tab, "\f" per page
  int Fonts = 0;
  int Colors = 0;

  static TStrictRtf Read(const String& Rtf) {
    TStrictRtf r;
    r.Parse(Rtf);
    return r;
  }

 private:
  void Fail(const String& Why, std::size_t At) {
    if (Error.empty()) Error = Why + " (octet " + std::to_string(At) + ")";
  }

  void Parse(const String& S) {
    const std::set<String> known = {"rtf", "ansi", "margl", "margr", "margt", "margb", "fonttbl", "colortbl", "f",
                                    "red", "green", "blue", "pard", "par", "tab", "tx", "tqr", "fs", "b", "i", "ul",
                                    "cf", "page", "trowd", "trgaph", "cellx", "trleft", "intbl", "cell", "row",
                                    "pict", "wmetafile", "picw", "pich", "picbmp", "picbpp", "phmrg", "posx", "posy",
                                    "absh", "absw"};
    std::set<int> usedFonts, usedColors;
    int depth = 0;
    int tableDepth = -1;  // inside the font or colour table
    String table;
    std::size_t i = 0;
    if (S.compare(0, 6, "{\\rtf1") != 0) Fail("pas d'en-tête RTF", 0);
    while (i < S.size() && Error.empty()) {
      auto c = static_cast<unsigned char>(S[i]);
      if (c > 127) {
        Fail("octet non échappé"_a, i);
        break;
      }
      if (c == '{') {
        ++depth;
        ++i;
        continue;
      }
      if (c == '}') {
        if (depth == tableDepth) {
          tableDepth = -1;
          table.clear();
        }
        if (--depth < 0) Fail("accolade fermante en trop", i);
        ++i;
        if (depth == 0 && i < S.size()) Fail("texte après la fin du document"_a, i);
        continue;
      }
      if (c == '\r' || c == '\n') {
        ++i;
        continue;
      }
      if (c == '\\') {
        ++i;
        if (i >= S.size()) {
          Fail("échappement tronqué"_a, i);
          break;
        }
        char e = S[i];
        if (e == '\\' || e == '{' || e == '}') {
          if (tableDepth < 0) Text += e;
          ++i;
          continue;
        }
        if (e == '\'') {
          if (i + 2 >= S.size() || !isxdigit(static_cast<unsigned char>(S[i + 1])) ||
              !isxdigit(static_cast<unsigned char>(S[i + 2]))) {
            Fail("\\' sans deux chiffres", i);
            break;
          }
          if (tableDepth < 0) Text += char(std::stoi(S.substr(i + 1, 2), nullptr, 16));
          i += 3;
          continue;
        }
        String word;
        while (i < S.size() && isalpha(static_cast<unsigned char>(S[i]))) word += S[i++];
        if (word.empty()) {
          Fail("symbole de contrôle inconnu"_a, i);
          break;
        }
        String number;
        if (i < S.size() && S[i] == '-') number += S[i++];
        while (i < S.size() && isdigit(static_cast<unsigned char>(S[i]))) number += S[i++];
        if (i < S.size() && S[i] == ' ') ++i;
        if (!known.count(word)) Fail(String("mot de contrôle inconnu \\"_a) + word, i);
        if (word == "fonttbl" || word == "colortbl") {
          tableDepth = depth;
          table = word;
        } else if (tableDepth >= 0 && table == "fonttbl" && word == "f") {
          ++Fonts;
        } else if (tableDepth >= 0 && table == "colortbl" && word == "blue") {
          ++Colors;
        } else if (tableDepth < 0) {
          if (word == "f") usedFonts.insert(std::stoi(number));
          if (word == "cf") usedColors.insert(std::stoi(number));
          if (word == "par") Text += "\n";
          if (word == "tab") Text += "\t";
          if (word == "page") Text += "\f";
        }
        continue;
      }
      if (tableDepth < 0) Text += char(c);
      ++i;
    }
    if (Error.empty() && depth != 0) Fail("groupe non fermé"_a, S.size());
    for (int f : usedFonts)
      if (f >= Fonts) Fail(String("police non déclarée "_a) + std::to_string(f), 0);
    for (int c : usedColors)
      if (c < 1 || c > Colors) Fail(String("couleur non déclarée "_a) + std::to_string(c), 0);
    Ok = Error.empty();
  }
};
