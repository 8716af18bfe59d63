// This file implements shortcuts: a key with its modifiers as one number, and its text in the
// words of the French keyboard (the table is in Menus.h).
#include <iterator>

#include "Menus.h"
#include "StrUtils.h"
#include "TextOrder.h"

namespace {
struct TKeyName {
  WORD Key;
  const char* Name;      // written and read
  const char* English1;  // read only (nullptr: none)
  const char* English2;
};

const TKeyName KeyNames[] = {
    {VK_BACK, "Retour arrière"_a, "BkSp", "Backspace"},
    {VK_TAB, "Tab", nullptr, nullptr},
    {VK_RETURN, "Entrée"_a, "Enter", "Return"},
    {VK_ESCAPE, "Echap", "Esc", "Escape"},
    {VK_SPACE, "Espace", "Space", nullptr},
    {VK_PRIOR, "Pg. préc."_a, "PgUp", nullptr},
    {VK_NEXT, "Pg. suiv.", "PgDn", nullptr},
    {VK_END, "Fin", "End", nullptr},
    {VK_HOME, "Début"_a, "Home", nullptr},
    {VK_LEFT, "Gauche", "Left", nullptr},
    {VK_UP, "Haut", "Up", nullptr},
    {VK_RIGHT, "Droite", "Right", nullptr},
    {VK_DOWN, "Bas", "Down", nullptr},
    {VK_INSERT, "Inser", "Ins", "Insert"},
    {VK_DELETE, "Suppr", "Del", "Delete"},
};

struct TModifier {
  TShortCut Flag;
  const char* Name;
};
// In the order they are written.
const TModifier Modifiers[] = {{scShift, "Maj+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

String KeyName(WORD Key) {
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) return String(1, char(Key));
  if (Key >= VK_F1 && Key <= VK_F12) return "F" + IntToStr(Key - VK_F1 + 1);
  for (const TKeyName& k : KeyNames) {
    if (k.Key == Key) return k.Name;
  }
  return String();
}

// The key of a name, 0 when none.
WORD KeyOfName(const String& Name) {
  if (Name.size() == 1) {
    char c = AnsiUpperChar(Name[0]);
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return WORD(c);
  }
  for (int n = 1; n <= 12; ++n) {
    if (AnsiSameText(Name, "F" + IntToStr(n))) return WORD(VK_F1 + n - 1);
  }
  for (const TKeyName& k : KeyNames) {
    if (AnsiSameText(Name, k.Name) || (k.English1 && AnsiSameText(Name, k.English1)) ||
        (k.English2 && AnsiSameText(Name, k.English2))) {
      return k.Key;
    }
  }
  return 0;
}
}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  if (Key & 0xFF00) return scNone;
  TShortCut result = Key;
  if (Shift.Contains(ssShift)) result |= scShift;
  if (Shift.Contains(ssCtrl)) result |= scCtrl;
  if (Shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = {};
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

String ShortCutToText(TShortCut ShortCut) {
  String name = KeyName(ShortCut & 0xFF);
  if (name.empty()) return String();
  String result;
  for (const TModifier& m : Modifiers) {
    if (ShortCut & m.Flag) result += m.Name;
  }
  return result + name;
}

TShortCut TextToShortCut(const String& Text) {
  TShortCut flags = 0;
  String rest = Text;
  // Modifiers in any order, each followed by "+"; "Shift+" is read as "Maj+".
  for (bool found = true; found;) {
    found = false;
    for (const TModifier& m : Modifiers) {
      for (const char* name : {m.Name, m.Flag == scShift ? "Shift+" : nullptr}) {
        if (!name) continue;
        String prefix = name;
        if (rest.size() > prefix.size() && AnsiSameText(rest.substr(0, prefix.size()), prefix)) {
          flags |= m.Flag;
          rest.erase(0, prefix.size());
          found = true;
        }
      }
    }
  }
  WORD key = KeyOfName(rest);
  return key ? TShortCut(key | flags) : scNone;
}

TShortCut ShortCutFromKeyMessage(const TMessage& Message) {
  WORD key = WORD(Message.WParam);
  // A modifier alone is no shortcut.
  if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || (key & 0xFF00)) return scNone;
  TShiftState shift;
  if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
  if (Message.LParam & 0x20000000) shift.Include(ssAlt);
  return ShortCut(key, shift);
}
