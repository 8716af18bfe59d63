// This file implements the reset of bars and usage data to the form's design: a copy of the
// manager is read from the owner form's description into a temporary form (TkwBarTempForm),
// without its event bindings and without its references to components outside it, and a bar
// (its links, or the whole bar) or the recently used state of every link is taken from it.
#include "kwBarManager.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "Filer.h"
#include "Format.h"
#include "FormText.h"
#include "Forms.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "kwBarItem.h"
#include "kwBars.h"

bool BarResetting = false;

// The form the design copy is read into: never shown, freed by whoever asked for it.
class TkwBarTempForm : public TForm {
  VELBOR_DECLARE_CLASS(TkwBarTempForm, TForm)
 public:
  explicit TkwBarTempForm(TComponent* AOwner) : TForm(AOwner) {}
};

namespace {

struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};
using TCopyPtr = std::unique_ptr<TCustomForm, TFormFree>;

bool IsEventName(const String& Name) {
  std::size_t dot = Name.rfind('.');
  String last = dot == String::npos ? Name : Name.substr(dot + 1);
  return last.size() > 2 && last[0] == 'O' && last[1] == 'n' && last[2] >= 'A' && last[2] <= 'Z';
}

// The names of the components the manager's node declares (itself and everything inside it).
void CollectNames(const TFormObject& Node, std::vector<String>& Names) {
  Names.push_back(Node.Name);
  for (const TFormObject& child : Node.Children) CollectNames(child, Names);
}

class TDesignFilter {
 public:
  TDesignFilter(TComponent* Form, std::vector<String> Declared) : FForm(Form), FDeclared(std::move(Declared)) {}

  // Leaves out what the copy cannot read on its own: event bindings (the copy runs no handler)
  // and references to components of the form outside the manager.
  void Filter(std::vector<TFormProperty>& Properties) {
    std::vector<TFormProperty> kept;
    for (TFormProperty& p : Properties) {
      if (p.Value.Kind == TFormValueKind::Identifier && (IsEventName(p.Name) || IsOutsideReference(p.Value.Text)))
        continue;
      FilterValue(p.Value);
      kept.push_back(std::move(p));
    }
    Properties.swap(kept);
  }
  void Filter(TFormObject& Node) {
    Filter(Node.Properties);
    for (TFormObject& child : Node.Children) Filter(child);
  }

 private:
  void FilterValue(TFormValue& Value) {
    for (TFormCollectionItem& item : Value.CollectionItems) Filter(item.Properties);
  }
  bool IsOutsideReference(const String& Name) const {
    if (Name.find('.') != String::npos || SameText(Name, "nil")) return false;
    for (const String& declared : FDeclared)
      if (SameText(declared, Name)) return false;
    return FForm && FForm->FindComponent(Name) != nullptr;
  }
  TComponent* FForm;
  std::vector<String> FDeclared;
};

const TFormObject* FindObject(const TFormObject& Node, const String& Name, const String& ClassName) {
  for (const TFormObject& child : Node.Children) {
    if (SameText(child.Name, Name) && SameText(child.ClassName, ClassName)) return &child;
    if (const TFormObject* found = FindObject(child, Name, ClassName)) return found;
  }
  return nullptr;
}

// The copy's manager of the given name.
TkwBarManager* CopyManager(TCustomForm* Copy, const String& Name) {
  return Copy ? dynamic_cast<TkwBarManager*>(Copy->FindComponent(Name)) : nullptr;
}

// The links of the sub-items among Links take the design's links and usage, down through
// sub-items of sub-items (each once).
void RestoreSubItems(TkwBarItemLinks* Links, TCustomForm* Copy, std::vector<TkwBarItem*>& Done) {
  for (int i = 0; i < Links->Count(); ++i) {
    TkwBarItem* item = Links->Items(i)->Item();
    TkwBarItemLinks* subLinks = item ? item->GetSubItemLinks() : nullptr;
    if (!subLinks || std::find(Done.begin(), Done.end(), item) != Done.end()) continue;
    Done.push_back(item);
    auto* designed = dynamic_cast<TkwBarItem*>(Copy->FindComponent(item->Name()));
    TkwBarItemLinks* designedLinks = designed ? designed->GetSubItemLinks() : nullptr;
    if (!designedLinks) continue;
    subLinks->Assign(designedLinks);
    subLinks->CopyUsageFrom(designedLinks);
    RestoreSubItems(subLinks, Copy, Done);
  }
}
}  // namespace

VELBOR_IMPLEMENT_CLASS(TkwBarTempForm)

TCustomForm* TkwBarManager::LoadDesignCopy() {
  if (!FOwnerForm) return nullptr;
  TClass formClass = FOwnerForm->ClassType();
  String resource = FormResourceName(formClass);
  if (!ResourceExists(resource)) return nullptr;
  TCursor cursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  TScopeGuard restoreCursor([&] { Screen->SetCursor(cursor); });
  std::string bytes = LoadResourceBytes(resource);
  if (bytes.size() >= 3 && std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0) bytes.erase(0, 3);
  TFormObject design = ParseFormText(Utf8ToAnsi(bytes), formClass->Name);
  const TFormObject* managerNode = FindObject(design, Name(), ClassName());
  if (!managerNode) return nullptr;
  TFormObject tree;
  tree.Name = "TempForm";
  tree.ClassName = "TkwBarTempForm";
  // The form's own size, the first two of its size lines.
  for (const TFormProperty& p : design.Properties) {
    if (tree.Properties.size() == 2) break;
    for (const char* size : {"Width", "Height", "ClientWidth", "ClientHeight"})
      if (SameText(p.Name, size)) tree.Properties.push_back(p);
  }
  TFormObject manager = *managerNode;
  std::vector<String> declared;
  CollectNames(manager, declared);
  TDesignFilter(FOwnerForm, declared).Filter(manager);
  tree.Children.push_back(std::move(manager));
  TCopyPtr copy(new TkwBarTempForm(nullptr));
  {
    ReadingDesignCopy = true;
    TScopeGuard done([] { ReadingDesignCopy = false; });
    TReader reader(formClass->Name);
    reader.ReadRootComponent(copy.get(), tree);
  }
  TkwBarManager* copyManager = CopyManager(copy.get(), Name());
  if (!copyManager) return nullptr;
  copyManager->StoreInIniFile = false;
  copyManager->StoreInRegistry = false;
  return copy.release();
}

void TkwBarManager::ConfirmResetUsageData() {
  String title = Application.Exists() ? Application->Title() : String();
  if (Application->MessageBox(GetLocalizedResourceString(&kwSResetUsageData), title,
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
    ResetUsageData();
}

void TkwBarManager::ResetUsageData() {
  bool locked = FRedrawLocked;
  SetRedrawLocked(true);
  TScopeGuard unlock([&] { SetRedrawLocked(locked); });
  TCopyPtr copy(LoadDesignCopy());
  TkwBarManager* designed = CopyManager(copy.get(), Name());
  if (!designed) return;
  for (TkwBarItem* item : std::vector<TkwBarItem*>(FItems)) {
    TkwBarItemLinks* links = item->GetSubItemLinks();
    if (!links || item->Name().empty()) continue;
    auto* designedItem = dynamic_cast<TkwBarItem*>(copy->FindComponent(item->Name()));
    if (TkwBarItemLinks* designedLinks = designedItem ? designedItem->GetSubItemLinks() : nullptr)
      links->CopyUsageFrom(designedLinks);
  }
  for (int i = 0; i < FBars->Count() && i < designed->Bars()->Count(); ++i)
    FBars->Items(i)->ItemLinks()->CopyUsageFrom(designed->Bars()->Items(i)->ItemLinks());
}

// --- TkwBar -------------------------------------------------------------------------------------------

void TkwBar::ConfirmReset() {
  String title = Application.Exists() ? Application->Title() : String();
  if (Application->MessageBox(Format(GetLocalizedResourceString(&kwSResetBar), {FCaption}), title,
                              MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK)
    Reset();
}

void TkwBar::Reset() {
  TkwBarManager* manager = GetBarManager();
  if (!manager) return;
  TCopyPtr copy(manager->LoadDesignCopy());
  TkwBarManager* designed = CopyManager(copy.get(), manager->Name());
  int index = Index();
  if (!designed || index < 0 || designed->Bars()->Count() < index + 1) return;
  TkwBar* source = designed->Bars()->Items(index);
  manager->DoBarBeforeReset(this);
  auto restoreUsage = [&] {
    FItemLinks->CopyUsageFrom(source->FItemLinks);
    std::vector<TkwBarItem*> done;
    RestoreSubItems(FItemLinks, copy.get(), done);
  };
  if (manager->UseFullReset) {
    bool locked = manager->RedrawLocked();
    manager->SetRedrawLocked(true);
    bool visible = FVisible;
    TScopeGuard restore([&] {
      BarResetting = false;
      SetVisible(visible);
      manager->SetRedrawLocked(locked);
    });
    SetVisible(false);
    BarResetting = true;
    Assign(source);
    restoreUsage();
  } else {
    bool locked = FUpdateLock;
    SetUpdateLock(true);
    TScopeGuard restore([&] {
      BarResetting = false;
      SetUpdateLock(locked);
    });
    BarResetting = true;
    FItemLinks->Assign(source->FItemLinks);
    restoreUsage();
  }
  manager->DoBarAfterReset(this);
}
