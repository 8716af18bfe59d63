// This file implements the layout storage of the bar manager: the bars (caption, docking,
// position, visibility), their links (item, group start, user overrides, usage) and those of the
// sub-items, with six options of the manager, kept under a registry key or in an ini file and
// read back. Both stores share one walk through sections: "" (the manager's values), "Bar<i>",
// "Bar<i>\ItemLink<j>", "SubItem_<name>" and "SubItem_<name>\ItemLink<j>".
//
// What is read is checked before it is applied: a value that is missing, of another type or out
// of its range leaves the current one; a list of links whose count is missing or wrong, or none
// of whose links names a known item, leaves the design's links; a bar section that is missing
// leaves the bar as it is. Saving deletes only the keys and sections the manager writes.
#include "kwBarManager.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "IniFiles.h"
#include "Registry.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "Streams.h"
#include "Strings.h"
#include "kwBarItem.h"
#include "kwBars.h"
#include "kwDockSite.h"

namespace {

// Positions and sizes a layout may hold: what a window coordinate can be.
constexpr int kMinCoordinate = -32768;
constexpr int kMaxCoordinate = 32767;

// One store of a layout, seen as named sections of named values.
class TLayoutStore {
 public:
  virtual ~TLayoutStore() = default;
  // Reading: false when the section is not there. Writing: made when missing.
  virtual bool OpenSection(const String& Name, bool Create) = 0;
  // The number of sections found inside the open one (a bound for the counts read there).
  virtual int SubSectionCount() = 0;
  // Removes the sections a manager writes (and nothing else).
  virtual void EraseLayout() = 0;
  virtual void Finish() {}

  virtual void WriteBool(const String& Name, bool Value) = 0;
  virtual void WriteInteger(const String& Name, int Value) = 0;
  virtual void WriteString(const String& Name, const String& Value) = 0;
  virtual void WriteUserDefine(int Bits) = 0;
  virtual void WriteGlyph(TBitmap* Glyph) = 0;

  virtual bool HasValue(const String& Name) = 0;
  // False when the value is missing or unreadable; Value is left as it was then.
  virtual bool ReadInteger(const String& Name, int& Value) = 0;
  virtual bool ReadString(const String& Name, String& Value) = 0;
  virtual bool ReadUserDefine(int& Bits) = 0;
  virtual bool ReadGlyph(TBitmap* Glyph) = 0;
  bool ReadBool(const String& Name, bool& Value) {
    int v = 0;
    if (!ReadInteger(Name, v)) return false;
    Value = v != 0;
    return true;
  }
  // An integer within [Min, Max].
  bool ReadInRange(const String& Name, int Min, int Max, int& Value) {
    int v = 0;
    if (!ReadInteger(Name, v) || v < Min || v > Max) return false;
    Value = v;
    return true;
  }
};

// Whether Name is one the manager writes under its key: "Bar<digits>" or "SubItem_<name>".
bool IsLayoutSection(const String& Name) {
  if (Name.size() > 8 && SameText(Name.substr(0, 8), "SubItem_")) return true;
  if (Name.size() <= 3 || !SameText(Name.substr(0, 3), "Bar")) return false;
  return std::all_of(Name.begin() + 3, Name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class TRegistryStore : public TLayoutStore {
 public:
  explicit TRegistryStore(const String& Path) {
    FRoot = Path;
    if (!FRoot.empty() && FRoot.back() == '\\') FRoot.pop_back();
    if (FRoot.empty() || FRoot[0] != '\\') FRoot = "\\" + FRoot;
  }
  bool OpenSection(const String& Name, bool Create) override {
    FRegistry.CloseKey();
    String key = Name.empty() ? FRoot : FRoot + "\\" + Name;
    return Create ? FRegistry.OpenKey(key, true) : FRegistry.OpenKeyReadOnly(key);
  }
  int SubSectionCount() override {
    TRegKeyInfo info;
    return FRegistry.GetKeyInfo(info) ? info.NumSubKeys : 0;
  }
  void EraseLayout() override {
    if (!OpenSection(String(), true)) return;
    TStringList names;
    FRegistry.GetKeyNames(&names);
    for (int i = 0; i < names.Count(); ++i)
      if (IsLayoutSection(names.Strings(i))) FRegistry.DeleteKey(names.Strings(i));
  }
  void WriteBool(const String& Name, bool Value) override { FRegistry.WriteBool(Name, Value); }
  void WriteInteger(const String& Name, int Value) override { FRegistry.WriteInteger(Name, Value); }
  void WriteString(const String& Name, const String& Value) override { FRegistry.WriteString(Name, Value); }
  void WriteUserDefine(int Bits) override {
    BYTE b = BYTE(Bits);
    FRegistry.WriteBinaryData("UserDefine", &b, 1);
  }
  void WriteGlyph(TBitmap* Glyph) override {
    TMemoryStream stream;
    Glyph->SaveToStream(&stream);
    FRegistry.WriteBinaryData("UserGlyph", stream.Memory(), int(stream.Size()));
  }
  bool HasValue(const String& Name) override { return FRegistry.ValueExists(Name); }
  bool ReadInteger(const String& Name, int& Value) override {
    if (FRegistry.GetDataType(Name) != rdInteger) return false;
    try {
      Value = FRegistry.ReadInteger(Name);
      return true;
    } catch (Exception&) {
      return false;
    }
  }
  bool ReadString(const String& Name, String& Value) override {
    if (FRegistry.GetDataType(Name) != rdString) return false;
    try {
      Value = FRegistry.ReadString(Name);
      return true;
    } catch (Exception&) {
      return false;
    }
  }
  bool ReadUserDefine(int& Bits) override {
    if (FRegistry.GetDataType("UserDefine") != rdBinary || FRegistry.GetDataSize("UserDefine") != 1) return false;
    BYTE b = 0;
    FRegistry.ReadBinaryData("UserDefine", &b, 1);
    Bits = b;
    return true;
  }
  bool ReadGlyph(TBitmap* Glyph) override {
    if (FRegistry.GetDataType("UserGlyph") != rdBinary) return false;
    int size = FRegistry.GetDataSize("UserGlyph");
    if (size <= 0) return false;
    std::string bytes(std::size_t(size), '\0');
    FRegistry.ReadBinaryData("UserGlyph", bytes.data(), size);
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), size);
    stream.Seek(0, soBeginning);
    TBitmap read;
    try {
      read.LoadFromStream(&stream);
    } catch (Exception&) {
      return false;
    }
    Glyph->Assign(&read);
    return true;
  }

 private:
  TRegistry FRegistry;
  String FRoot;
};

// "Bar0\ItemLink1" as an ini section names it: "Bar0.ItemLink1".
String DottedName(String Name) {
  std::replace(Name.begin(), Name.end(), '\\', '.');
  return Name;
}

class TIniStore : public TLayoutStore {
 public:
  TIniStore(const String& FileName, const String& Prefix) : FFile(FileName), FPrefix(Prefix) {}
  bool OpenSection(const String& Name, bool Create) override {
    FSection = FPrefix + (Name.empty() ? String("Main") : DottedName(Name));
    return Create || FFile.SectionExists(FSection);
  }
  int SubSectionCount() override {
    TStringList sections;
    FFile.ReadSections(&sections);
    return sections.Count();
  }
  void EraseLayout() override {
    TStringList sections;
    FFile.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
      const String& name = sections.Strings(i);
      // Case-sensitive: the prefix is this manager's alone.
      if (name.compare(0, FPrefix.size(), FPrefix) != 0) continue;
      String rest = name.substr(FPrefix.size());
      String first = rest.substr(0, rest.find('.'));
      if (rest == "Main" || IsLayoutSection(first)) FFile.EraseSection(name);
    }
  }
  void Finish() override { FFile.UpdateFile(); }
  void WriteBool(const String& Name, bool Value) override { FFile.WriteBool(FSection, Name, Value); }
  void WriteInteger(const String& Name, int Value) override { FFile.WriteInteger(FSection, Name, Value); }
  void WriteString(const String& Name, const String& Value) override { FFile.WriteString(FSection, Name, Value); }
  void WriteUserDefine(int Bits) override { FFile.WriteInteger(FSection, "UserDefine", Bits); }
  // An ini file keeps no pictures.
  void WriteGlyph(TBitmap*) override {}
  bool HasValue(const String& Name) override { return FFile.ValueExists(FSection, Name); }
  bool ReadInteger(const String& Name, int& Value) override {
    if (!FFile.ValueExists(FSection, Name)) return false;
    return TryStrToInt(Trim(FFile.ReadString(FSection, Name, String())), Value);
  }
  bool ReadString(const String& Name, String& Value) override {
    if (!FFile.ValueExists(FSection, Name)) return false;
    Value = FFile.ReadString(FSection, Name, String());
    return true;
  }
  bool ReadUserDefine(int& Bits) override { return ReadInteger("UserDefine", Bits); }
  bool ReadGlyph(TBitmap*) override { return false; }

 private:
  TMemIniFile FFile;
  String FPrefix;
  String FSection;
};

bool UsesUsage(TkwBarManager* Manager, TkwBarItemLinks* Links) {
  return Manager->HasEnhancedStyle() && Links->UsesRecentItems();
}

// --- Saving ---------------------------------------------------------------------------------------

void SaveLinks(TLayoutStore& Store, TkwBarManager* Manager, const String& Section, TkwBarItemLinks* Links,
               bool BarLinks) {
  for (int j = 0; j < Links->Count(); ++j) {
    TkwBarItemLink* link = Links->Items(j);
    if (!link->Item()) continue;
    Store.OpenSection(Section + "\\ItemLink" + IntToStr(j), true);
    Store.WriteString("ItemName", link->Item()->Name());
    Store.WriteBool("BeginGroup", link->GetBeginGroup());
    TkwBarUserDefines defines = link->UserDefine();
    int bits = (defines.Contains(udCaption) ? 1 : 0) | (defines.Contains(udGlyph) ? 2 : 0) |
               (defines.Contains(udPaintStyle) ? 4 : 0) | (defines.Contains(udWidth) ? 8 : 0);
    Store.WriteUserDefine(bits);
    if (bits & 1) Store.WriteString("UserCaption", link->UserCaption());
    if (bits & 2) Store.WriteGlyph(link->UserGlyph());
    if (bits & 4) Store.WriteInteger("UserPaintStyle", link->UserPaintStyle());
    if (bits & 8) Store.WriteInteger("UserWidth", link->UserWidth());
    if (BarLinks) Store.WriteBool("Visible", link->Visible());
    if (UsesUsage(Manager, Links)) {
      Store.WriteInteger("UseCount", link->UseCount);
      Store.WriteInteger("RecentIndex", link->GetRecentIndex());
    }
  }
}

void SaveLayout(TLayoutStore& Store, TkwBarManager* Manager) {
  if (!Store.OpenSection(String(), true)) return;
  Store.EraseLayout();
  Store.OpenSection(String(), true);
  if (Manager->HasEnhancedStyle()) {
    Store.WriteBool("MenusShowRecentItemsFirst", Manager->MenusShowRecentItemsFirst());
    Store.WriteBool("ShowFullMenusAfterDelay", Manager->ShowFullMenusAfterDelay());
  }
  Store.WriteBool("LargeIcons", Manager->LargeIcons());
  Store.WriteInteger("MenuAnimations", Manager->MenuAnimations());
  Store.WriteBool("ShowHint", Manager->ShowHint());
  Store.WriteBool("ShowShortCutInHint", Manager->ShowShortCutInHint());
  TkwBars* bars = Manager->Bars();
  Store.WriteInteger("BarCount", bars->Count());
  for (int i = 0; i < bars->Count(); ++i) {
    TkwBar* bar = bars->Items(i);
    String section = "Bar" + IntToStr(i);
    Store.OpenSection(section, true);
    Store.WriteString("Caption", bar->Caption());
    if (bar->DockedDockControl())
      Store.WriteString("DockedDockControl", TkwBarManager::DockControlPath(bar->DockedDockControl()));
    Store.WriteInteger("DockedDockingStyle", bar->DockedDockingStyle());
    Store.WriteInteger("DockedLeft", bar->DockedLeft());
    Store.WriteInteger("DockedTop", bar->DockedTop());
    Store.WriteBool("OneOnRow", bar->OneOnRow);
    Store.WriteInteger("Row", bar->Row());
    Store.WriteInteger("FloatLeft", bar->FloatLeft());
    Store.WriteInteger("FloatTop", bar->FloatTop());
    Store.WriteInteger("FloatClientWidth", bar->FloatClientWidth());
    Store.WriteInteger("FloatClientHeight", bar->FloatClientHeight());
    if (bar->DockControl()) Store.WriteString("DockControl", TkwBarManager::DockControlPath(bar->DockControl()));
    Store.WriteInteger("DockingStyle", bar->DockingStyle());
    Store.WriteBool("Visible", bar->Visible());
    Store.WriteInteger("ItemLinkCount", bar->ItemLinks()->Count());
    SaveLinks(Store, Manager, section, bar->ItemLinks(), true);
  }
  for (int i = 0; i < Manager->GetItemCount(); ++i) {
    TkwBarItem* item = Manager->GetItem(i);
    TkwBarItemLinks* links = item->GetSubItemLinks();
    if (!links || item->Name().empty()) continue;
    String section = "SubItem_" + item->Name();
    Store.OpenSection(section, true);
    Store.WriteInteger("ItemLinkCount", links->Count());
    SaveLinks(Store, Manager, section, links, false);
  }
  Store.Finish();
}

// --- Loading --------------------------------------------------------------------------------------

// One stored link, read whole before anything changes.
struct TStoredLink {
  TkwBarItem* Item = nullptr;
  bool BeginGroup = false;
  int UserDefine = 0;
  String UserCaption;
  std::unique_ptr<TBitmap> UserGlyph;
  int UserPaintStyle = psStandard;
  int UserWidth = 100;
  bool HasVisible = false;
  bool Visible = true;
  bool HasUsage = false;
  int UseCount = 0;
  int RecentIndex = -1;
};

// Reads the links of a section; false when the list cannot stand for the design's: no count, a
// wrong one, a link with a value that is there but wrong, or links of which none names a known
// item. A link whose item is unknown is dropped alone.
bool ReadLinks(TLayoutStore& Store, TkwBarManager* Manager, const String& Section, TkwBarItemLinks* Links,
               bool BarLinks, std::vector<TStoredLink>& Stored) {
  if (!Store.OpenSection(Section, false)) return false;
  int count = 0;
  if (!Store.ReadInteger("ItemLinkCount", count) || count < 0) return false;
  // A count beyond the sections there are cannot be read whole; what is there is read.
  count = std::min(count, Store.SubSectionCount());
  bool usage = UsesUsage(Manager, Links);
  bool damaged = false;
  // A value that is there must read well; a missing one keeps its default.
  auto check = [&](const char* Name, bool Read) {
    if (!Read && Store.HasValue(Name)) damaged = true;
  };
  for (int j = 0; j < count && !damaged; ++j) {
    if (!Store.OpenSection(Section + "\\ItemLink" + IntToStr(j), false)) continue;
    String name;
    if (!Store.ReadString("ItemName", name) || name.empty()) continue;
    TStoredLink link;
    link.Item = Manager->FindItemByName(name);
    if (!link.Item) continue;
    check("BeginGroup", Store.ReadBool("BeginGroup", link.BeginGroup));
    check("UserDefine", Store.ReadUserDefine(link.UserDefine) && link.UserDefine >= 0 && link.UserDefine <= 15);
    if (link.UserDefine < 0 || link.UserDefine > 15) link.UserDefine = 0;
    if (link.UserDefine & 1) check("UserCaption", Store.ReadString("UserCaption", link.UserCaption));
    if (link.UserDefine & 2) {
      link.UserGlyph = std::make_unique<TBitmap>();
      bool read = Store.ReadGlyph(link.UserGlyph.get());
      check("UserGlyph", read);
      if (!read) link.UserGlyph.reset();
    }
    if (link.UserDefine & 4)
      check("UserPaintStyle", Store.ReadInRange("UserPaintStyle", psStandard, psCaptionGlyph, link.UserPaintStyle));
    if (link.UserDefine & 8) check("UserWidth", Store.ReadInRange("UserWidth", 0, kMaxCoordinate, link.UserWidth));
    if (BarLinks) {
      link.HasVisible = Store.ReadBool("Visible", link.Visible);
      check("Visible", link.HasVisible);
    }
    if (usage) {
      bool used = Store.ReadInRange("UseCount", 0, INT_MAX, link.UseCount);
      bool recent = Store.ReadInRange("RecentIndex", -1, count - 1, link.RecentIndex);
      check("UseCount", used);
      check("RecentIndex", recent);
      link.HasUsage = used && recent;
    }
    Stored.push_back(std::move(link));
  }
  // Links claimed but none that can be read: the list is not this form's.
  return !damaged && (count == 0 || !Stored.empty());
}

void ApplyLinks(TkwBarItemLinks* Links, std::vector<TStoredLink>& Stored) {
  Links->Clear();
  for (TStoredLink& stored : Stored) {
    TkwBarItemLink* link = Links->Add();
    try {
      link->SetItem(stored.Item);
    } catch (Exception&) {
      // A sub-item that would contain itself: the link is dropped.
      delete link;
      continue;
    }
    link->SetBeginGroup(stored.BeginGroup);
    if (stored.UserDefine & 1) link->SetUserCaption(stored.UserCaption);
    if (stored.UserGlyph) link->SetUserGlyph(stored.UserGlyph.get());
    if (stored.UserDefine & 4) link->SetUserPaintStyle(TkwBarPaintStyle(stored.UserPaintStyle));
    if (stored.UserDefine & 8) link->SetUserWidth(stored.UserWidth);
    if (stored.HasVisible) link->PendingVisible = stored.Visible;
    if (stored.HasUsage) {
      link->PendingUseCount = stored.UseCount;
      link->PendingRecentIndex = stored.RecentIndex;
    }
  }
}

void LoadLinks(TLayoutStore& Store, TkwBarManager* Manager, const String& Section, TkwBarItemLinks* Links,
               bool BarLinks) {
  std::vector<TStoredLink> stored;
  if (!ReadLinks(Store, Manager, Section, Links, BarLinks, stored)) return;
  try {
    ApplyLinks(Links, stored);
  } catch (Exception&) {
    // What could be applied stays; the loaded state is applied below all the same.
  }
  Links->ApplyLoadedState(true);
}

void LoadBar(TLayoutStore& Store, TkwBarManager* Manager, TkwBar* Bar, const String& Section) {
  bool locked = Bar->UpdateLock();
  Bar->SetUpdateLock(true);
  TScopeGuard unlock([&] { Bar->SetUpdateLock(locked); });
  LoadLinks(Store, Manager, Section, Bar->ItemLinks(), true);
  if (!Store.OpenSection(Section, false)) return;
  String text;
  if (Store.ReadString("Caption", text)) Bar->SetCaption(text);
  if (Store.ReadString("DockedDockControl", text))
    if (TkwDockSite* site = Manager->FindDockControl(text)) Bar->SetDockedDockControl(site);
  int value = 0;
  if (Store.ReadInRange("DockedDockingStyle", dsNone, dsBottom, value))
    Bar->SetDockedDockingStyle(TkwBarDockingStyle(value));
  if (Store.ReadInRange("DockedLeft", 0, kMaxCoordinate, value)) Bar->SetDockedLeft(value);
  if (Store.ReadInRange("DockedTop", 0, kMaxCoordinate, value)) Bar->SetDockedTop(value);
  Store.ReadBool("OneOnRow", Bar->OneOnRow);
  if (Store.ReadInRange("Row", 0, kMaxCoordinate, value)) Bar->SetRow(value);
  if (Store.ReadInRange("FloatLeft", kMinCoordinate, kMaxCoordinate, value)) Bar->SetFloatLeft(value);
  if (Store.ReadInRange("FloatTop", kMinCoordinate, kMaxCoordinate, value)) Bar->SetFloatTop(value);
  if (Store.ReadInRange("FloatClientWidth", 0, kMaxCoordinate, value)) Bar->SetFloatClientWidth(value);
  if (Store.ReadInRange("FloatClientHeight", 0, kMaxCoordinate, value)) Bar->SetFloatClientHeight(value);
  TkwDockSite* site = nullptr;
  bool hasSite = Store.ReadString("DockControl", text) && !text.empty();
  if (hasSite) site = Manager->FindDockControl(text);
  int style = dsNone;
  bool hasStyle = Store.ReadInRange("DockingStyle", dsNone, dsBottom, style);
  // A docking the bar or the manager refuses is not taken from a layout.
  if (site && !Manager->CanDock(Bar, site->DockingStyle(), site)) site = nullptr;
  if (hasStyle && style != dsNone && !site && !Manager->CanDock(Bar, TkwBarDockingStyle(style), nullptr)) hasStyle = false;
  if (hasStyle && style == dsNone && Bar->NotDocking.Contains(dsNone)) hasStyle = false;
  if (site)
    Bar->SetDockControl(site);
  else if (hasStyle)
    Bar->ChangeDocking(TkwBarDockingStyle(style), nullptr);
  bool visible = false;
  if (Store.ReadBool("Visible", visible)) {
    TkwBars* bars = Manager->Bars();
    bool busy = bars->Busy;
    bars->Busy = true;
    TScopeGuard idle([&] { bars->Busy = busy; });
    Bar->SetVisible(visible);
  }
}

void LoadLayout(TLayoutStore& Store, TkwBarManager* Manager) {
  if (!Store.OpenSection(String(), false)) return;
  bool locked = Manager->RedrawLocked();
  Manager->SetRedrawLocked(true);
  TScopeGuard unlock([&] { Manager->SetRedrawLocked(locked); });
  bool flag = false;
  int value = 0;
  if (Manager->HasEnhancedStyle()) {
    if (Store.ReadBool("MenusShowRecentItemsFirst", flag)) Manager->SetMenusShowRecentItemsFirst(flag);
    if (Store.ReadBool("ShowFullMenusAfterDelay", flag)) Manager->SetShowFullMenusAfterDelay(flag);
  }
  if (Store.ReadBool("LargeIcons", flag)) Manager->SetLargeIcons(flag);
  if (Store.ReadInRange("MenuAnimations", maNone, maFade, value)) Manager->SetMenuAnimations(TkwBarMenuAnimations(value));
  if (Store.ReadBool("ShowHint", flag)) Manager->SetShowHint(flag);
  if (Store.ReadBool("ShowShortCutInHint", flag)) Manager->SetShowShortCutInHint(flag);
  int count = 0;
  if (Store.ReadInteger("BarCount", count) && count >= 0) {
    // The sections there are bound the count: a damaged count cannot make bars from nothing.
    count = std::min(count, Store.SubSectionCount());
    TkwBars* bars = Manager->Bars();
    for (int i = 0; i < count; ++i) {
      String section = "Bar" + IntToStr(i);
      if (!Store.OpenSection(section, false)) continue;
      TkwBar* bar = i < bars->Count() ? bars->Items(i) : nullptr;
      if (!bar) {
        // Bars made at run time come back; the stored sections are in index order.
        while (bars->Count() <= i) bar = bars->Add();
      }
      try {
        LoadBar(Store, Manager, bar, section);
      } catch (Exception&) {
        // A bar that could not be read whole keeps what it had.
      }
    }
  }
  for (int i = 0; i < Manager->GetItemCount(); ++i) {
    TkwBarItem* item = Manager->GetItem(i);
    TkwBarItemLinks* links = item->GetSubItemLinks();
    if (!links || item->Name().empty()) continue;
    try {
      LoadLinks(Store, Manager, "SubItem_" + item->Name(), links, false);
    } catch (Exception&) {
    }
  }
}

String IniPrefix(TkwBarManager* Manager) {
  String form = Manager->OwnerForm() ? Manager->OwnerForm()->Name() : String();
  return form + "." + Manager->Name() + ".";
}
}  // namespace

void TkwBarManager::SaveToRegistry(const String& RegistryPath) {
  if (RegistryPath.empty()) return;
  TRegistryStore store(RegistryPath);
  SaveLayout(store, this);
}

void TkwBarManager::LoadFromRegistry(const String& RegistryPath) {
  if (RegistryPath.empty()) return;
  TRegistryStore store(RegistryPath);
  LoadLayout(store, this);
}

void TkwBarManager::SaveToIniFile(const String& IniFileName) {
  if (IniFileName.empty()) return;
  TIniStore store(IniFileName, IniPrefix(this));
  SaveLayout(store, this);
}

void TkwBarManager::LoadFromIniFile(const String& IniFileName) {
  if (IniFileName.empty()) return;
  TIniStore store(IniFileName, IniPrefix(this));
  LoadLayout(store, this);
}
