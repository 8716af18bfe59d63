// This file implements the storage of a TqvDBGrid's column layout (see Qvdbgrid.h): the
// TqvIniAttributes settings and the grid's SaveLayout and RestoreLayout over an ini file or the
// current user's registry.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "Dialogs.h"
#include "Field.h"
#include "FileUtils.h"
#include "IniFiles.h"
#include "Qvdbgrid.h"
#include "Qvintl.h"
#include "Registry.h"
#include "Strings.h"
#include "qvStrUtils.h"

const char* const qvLayoutFileNameRequired = "FileName required when saving to registry";
const char* const qvLayoutDirectoryMissing = "Directory does not exist";
const char* const qvLayoutDelimiterRequired = "Key delimiter required";
const char* const qvLayoutDelimiterNotFound = "Key Delimiter Not Found";

namespace {

std::vector<String> SplitTabs(const String& Line) {
  std::vector<String> Parts;
  std::size_t Start = 0;
  for (;;) {
    std::size_t End = Line.find('\t', Start);
    Parts.push_back(Line.substr(Start, End == String::npos ? String::npos : End - Start));
    if (End == String::npos) return Parts;
    Start = End + 1;
  }
}

String ReplaceAll(String Text, const String& What, const String& With) {
  if (What.empty()) return Text;
  for (std::size_t At = Text.find(What); At != String::npos; At = Text.find(What, At + With.size()))
    Text.replace(At, What.size(), With);
  return Text;
}

bool IsWidth(const String& Text) {
  if (Text.empty() || Text.size() > 4) return false;
  for (char C : Text)
    if (!std::isdigit(static_cast<unsigned char>(C))) return false;
  return std::stoi(Text) > 0;
}

// The registry does not keep its values in the order they were written: the columns' order is
// stored beside them, under a name no field has.
const char* const OrderEntry = "(ColumnOrder)";

void Warn(const char* Text) { MessageDlg(Text, mtWarning, {mbOK}, 0); }

// The ini file or registry key the layout lives in; reads and writes plain strings.
class TLayoutStore {
 public:
  TLayoutStore(const String& FileName, bool Registry) {
    if (Registry) FRegistry = std::make_unique<TRegIniFile>(FileName);
    else FIni = std::make_unique<TIniFile>(FileName);
  }
  void ReadSectionValues(const String& Section, TStrings* Lines) {
    if (FRegistry) FRegistry->ReadSectionValues(Section, Lines);
    else FIni->ReadSectionValues(Section, Lines);
  }
  void EraseSection(const String& Section) {
    if (FRegistry) FRegistry->EraseSection(Section);
    else FIni->EraseSection(Section);
  }
  void WriteString(const String& Section, const String& Key, const String& Value) {
    if (FRegistry) FRegistry->WriteString(Section, Key, Value);
    else FIni->WriteString(Section, Key, Value);
  }

 private:
  std::unique_ptr<TRegIniFile> FRegistry;
  std::unique_ptr<TIniFile> FIni;
};

}  // namespace

// --- Settings ------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvIniAttributes)
VELBOR_PUBLISHED(TqvIniAttributes,
  Prop("FileName", &Self::FileName, &Self::SetFileName),
  Prop("SectionName", &Self::SectionName, &Self::SetSectionName),
  Prop("Delimiter", &Self::Delimiter, &Self::SetDelimiter),
  Prop("Enabled", &Self::Enabled).Default(false),
  Prop("SaveToRegistry", &Self::SaveToRegistry).Default(false),
  Prop("CheckNewFields", &Self::CheckNewFields).Default(false))

String TqvIniAttributes::GetFileName() const {
  if (!FFileName.empty()) return FFileName;
  if (!qvIntl.Exists() || !qvIntl->Connected()) return String();
  if (!qvIntl->IniFileName.empty()) return qvIntl->IniFileName;
  bool Designing = FOwner != nullptr && FOwner->ComponentState().Contains(csDesigning);
  if (SaveToRegistry || Designing) return String();
  return qvExtractFileBaseName(ExtractFileName(ParamStr(0))) + ".ini";
}

String TqvIniAttributes::GetSectionName() const {
  if (!FSectionName.empty()) return FSectionName;
  if (FOwner == nullptr || FOwner->ComponentState().Contains(csDesigning)) return String();
  return FormName + FOwner->Name();
}

void TqvIniAttributes::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TqvIniAttributes*>(Source)) {
    FFileName = Other->FFileName;
    FSectionName = Other->FSectionName;
    FDelimiter = Other->FDelimiter;
    Enabled = Other->Enabled;
    SaveToRegistry = Other->SaveToRegistry;
    CheckNewFields = Other->CheckNewFields;
    return;
  }
  TPersistent::Assign(Source);
}

// --- Saving and restoring -----------------------------------------------------------------------

void TqvDBGrid::SaveLayout() {
  if (ComponentState().Contains(csDesigning)) return;
  TqvIniAttributes* Ini = FIniAttributes;
  String File = Ini->GetFileName();
  const String& Delimiter = Ini->Delimiter();
  if (Ini->SaveToRegistry && File.empty()) {
    if (!FDestroying) Warn(qvLayoutFileNameRequired);
    return;
  }
  if (!Ini->SaveToRegistry && !File.empty()) {
    String Folder = ExtractFilePath(File);
    if (!Folder.empty() && !DirectoryExists(Folder)) {
      if (!FDestroying) Warn(qvLayoutDirectoryMissing);
      return;
    }
  }
  if (Delimiter.empty()) {
    Warn(qvLayoutDelimiterRequired);
    return;
  }
  String Section = Ini->GetSectionName();
  if (File.empty() || Section.empty()) return;

  std::vector<std::pair<String, String>> Entries;
  if (UseTFields()) {
    for (int i = 0; i < GetFieldCount(); ++i) {
      TField* Field = GetFields(i);
      if (Field == nullptr) continue;
      bool ReadOnlyColumn = Field->ReadOnly() || ColumnOfDataIndex(i)->ReadOnly();
      Entries.emplace_back(Field->FieldName(), std::to_string(Field->DisplayWidth()) + Delimiter + Field->DisplayLabel() +
                                                   Delimiter + (ReadOnlyColumn ? "T" : "F"));
    }
  } else {
    for (int i = 0; i < Selected()->Count(); ++i) {
      std::vector<String> Parts = SplitTabs(Selected()->Strings(i));
      Parts.resize(std::max<std::size_t>(Parts.size(), 3));
      String Flag = Parts.size() >= 4 ? Parts[3] : String("F");
      String Group = Parts.size() == 5 ? Parts[4] : String();
      String Value = Parts[1] + Delimiter + Parts[2] + Delimiter + Flag;
      if (!Group.empty()) Value += Delimiter + Group;
      Entries.emplace_back(Parts[0], Value);
    }
  }
  if (Entries.empty()) return;
  // A store that cannot be written (no such key, a read-only file) leaves the layout unsaved.
  try {
    TLayoutStore Store(File, Ini->SaveToRegistry);
    Store.EraseSection(Section);
    for (const auto& [Key, Value] : Entries) Store.WriteString(Section, Key, Value);
    if (Ini->SaveToRegistry) {
      String Order;
      for (const auto& Entry : Entries) Order += (Order.empty() ? "" : Delimiter) + Entry.first;
      Store.WriteString(Section, OrderEntry, Order);
    }
  } catch (const std::exception&) {
  }
}

void TqvDBGrid::RestoreLayout() {
  if (ComponentState().Contains(csDesigning)) return;
  std::vector<String> Previous;
  for (int i = 0; i < Selected()->Count(); ++i) Previous.push_back(Selected()->Strings(i));
  FSavedSelected = Previous;
  TqvIniAttributes* Ini = FIniAttributes;
  String File = Ini->GetFileName();
  const String& Delimiter = Ini->Delimiter();
  if (Ini->SaveToRegistry && File.empty()) {
    Warn(qvLayoutFileNameRequired);
    return;
  }
  if (Delimiter.empty()) {
    Warn(qvLayoutDelimiterRequired);
    return;
  }
  if (!Ini->SaveToRegistry && !File.empty()) {
    String Folder = ExtractFilePath(File);
    if (!Folder.empty() && !DirectoryExists(Folder)) {
      Warn(qvLayoutDirectoryMissing);
      return;
    }
  }
  String Section = Ini->GetSectionName();
  if (File.empty() || Section.empty()) return;
  TStringList Stored;
  try {
    TLayoutStore Store(File, Ini->SaveToRegistry);
    Store.ReadSectionValues(Section, &Stored);
  } catch (const std::exception&) {
    return;
  }
  // Back in the order the columns had when saved.
  std::vector<String> Entries;
  String Order;
  for (int i = 0; i < Stored.Count(); ++i) {
    String Line = Stored.Strings(i);
    if (Line.compare(0, std::strlen(OrderEntry) + 1, String(OrderEntry) + "=") == 0)
      Order = Line.substr(std::strlen(OrderEntry) + 1);
    else
      Entries.push_back(Line);
  }
  if (!Order.empty()) {
    std::vector<String> Names = SplitTabs(ReplaceAll(Order, Delimiter, "\t"));
    auto Rank = [&](const String& Line) {
      String Name = Line.substr(0, Line.find('='));
      auto Found = std::find_if(Names.begin(), Names.end(), [&](const String& N) { return qvSameText(N, Name); });
      return int(Found - Names.begin());
    };
    std::stable_sort(Entries.begin(), Entries.end(),
                     [&](const String& A, const String& B) { return Rank(A) < Rank(B); });
  }
  if (Entries.empty()) return;

  TDataSet* Set = DataLink()->DataSet();
  auto PreviousLine = [&](const String& Name) -> const String* {
    for (const String& Line : Previous)
      if (qvSameText(SplitTabs(Line)[0], Name)) return &Line;
    return nullptr;
  };
  std::vector<String> Lines;
  std::vector<String> Names;
  bool Damaged = false;
  for (const String& Line : Entries) {
    std::size_t Equals = Line.find('=');
    String Key = Line.substr(0, Equals);
    String Value = Equals == String::npos ? String() : Line.substr(Equals + 1);
    // A field the dataset no longer has, or named twice, is left out.
    if (Key.empty() || (Set != nullptr && Set->Active() && Set->FindField(Key) == nullptr)) continue;
    if (std::any_of(Names.begin(), Names.end(), [&](const String& Name) { return qvSameText(Name, Key); })) continue;
    if (Value.find(Delimiter) == String::npos) {
      // A damaged entry: its column keeps the settings it has now (said once, below).
      Damaged = true;
      if (const String* Old = PreviousLine(Key)) {
        Lines.push_back(*Old);
        Names.push_back(Key);
      }
      continue;
    }
    std::vector<String> Parts = SplitTabs(ReplaceAll(Value, Delimiter, "\t"));
    // A width that is not a number takes the column's present width, else the field's own.
    if (!IsWidth(Parts[0])) {
      String Width;
      if (const String* Old = PreviousLine(Key)) Width = SplitTabs(*Old).size() > 1 ? SplitTabs(*Old)[1] : String();
      if (!IsWidth(Width) && Set != nullptr)
        if (TField* Field = Set->FindField(Key)) Width = std::to_string(Field->DisplayWidth());
      Parts[0] = IsWidth(Width) ? Width : String("10");
    }
    String Restored = Key;
    for (const String& Part : Parts) Restored += "\t" + Part;
    Lines.push_back(Restored);
    Names.push_back(Key);
  }
  if (Damaged) Warn(qvLayoutDelimiterNotFound);
  if (Ini->CheckNewFields) {
    for (const String& Line : Previous) {
      String Name = SplitTabs(Line)[0];
      if (std::none_of(Names.begin(), Names.end(), [&](const String& Known) { return qvSameText(Known, Name); }))
        Lines.push_back(Line);
    }
  }
  if (Lines.empty()) return;
  TStringList Result;
  for (const String& Line : Lines) Result.Add(Line);
  SetSelected(&Result);
  RefreshSelectedFromDataSet();
}
