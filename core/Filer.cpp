// This file implements TFiler, TReader and TWriter and the text entry points of form descriptions.
#include "Filer.h"

#include <climits>
#include <memory>

#include "Collection.h"
#include "Format.h"
#include "Modules.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Streams.h"
#include "Strings.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TFiler)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TReader)
VELBOR_IMPLEMENT_CLASS(TWriter)

namespace {

const char* KindName(TFormValueKind Kind) {
  switch (Kind) {
    case TFormValueKind::Integer: return "entier";
    case TFormValueKind::Float: return "réel"_a;
    case TFormValueKind::String: return "chaîne"_a;
    case TFormValueKind::Identifier: return "identificateur";
    case TFormValueKind::Set: return "ensemble";
    case TFormValueKind::List: return "liste";
    case TFormValueKind::Binary: return "binaire";
    case TFormValueKind::Collection: return "collection";
  }
  return "";
}

bool SameValue(const TFormValue& A, const TFormValue& B);

bool SameProps(const std::vector<TFormProperty>& A, const std::vector<TFormProperty>& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i) {
    if (A[i].Name != B[i].Name || !SameValue(A[i].Value, B[i].Value)) return false;
  }
  return true;
}

bool SameValue(const TFormValue& A, const TFormValue& B) {
  if (A.Kind != B.Kind) return false;
  switch (A.Kind) {
    case TFormValueKind::Integer: return A.Integer == B.Integer;
    case TFormValueKind::Float: return A.Float == B.Float;
    case TFormValueKind::String: return A.Text == B.Text;
    case TFormValueKind::Identifier: return SameText(A.Text, B.Text);
    case TFormValueKind::Set: return A.SetItems == B.SetItems;
    case TFormValueKind::Binary: return A.Binary == B.Binary;
    case TFormValueKind::List:
      if (A.Items.size() != B.Items.size()) return false;
      for (std::size_t i = 0; i < A.Items.size(); ++i) {
        if (!SameValue(A.Items[i], B.Items[i])) return false;
      }
      return true;
    case TFormValueKind::Collection:
      if (A.CollectionItems.size() != B.CollectionItems.size()) return false;
      for (std::size_t i = 0; i < A.CollectionItems.size(); ++i) {
        if (!SameProps(A.CollectionItems[i].Properties, B.CollectionItems[i].Properties)) return false;
      }
      return true;
  }
  return false;
}

TFormValue MakeValue(TFormValueKind Kind) {
  TFormValue v;
  v.Kind = Kind;
  return v;
}

TFormValue IdentValue(const String& Text) {
  TFormValue v = MakeValue(TFormValueKind::Identifier);
  v.Text = Text;
  return v;
}

}  // namespace

// --- TReader --------------------------------------------------------------------------------------

void TReader::Error(const String& Message) const {
  throw EReadError(Format("%s(%d) : %s", {FSourceName, FLine, Message}));
}

void TReader::PropError(const String& Message) const { Error("propriété "_a + FPropPath + " : " + Message); }

void TReader::ReadRootComponent(TComponent* Root, const TFormObject& Tree) {
  FRoot = Root;
  FOwner = Root;
  FParent = Root;
  FLine = Tree.Line;
  FPropPath = Tree.Name;
  if (!Root->InheritsFrom(Tree.ClassName)) {
    Error(Format("la description d'un %s ne peut pas être lue dans un %s"_a, {Tree.ClassName, Root->ClassName()}));
  }
  bool wasModule = Root->FGlobalModule;
  try {
    try {
      Root->FComponentState.Include(csLoading);
      Root->FComponentState.Include(csReading);
      FLoaded.push_back(Root);
      if (!Tree.Name.empty()) {
        // Another live instance of the same form keeps its name; this one gets Name_1, Name_2...
        String candidate = Tree.Name;
        for (int n = 1;; ++n) {
          TComponent* other = FindGlobalComponent(candidate);
          if (!other || other == Root) break;
          candidate = Tree.Name + "_" + IntToStr(n);
        }
        Root->SetName(candidate);
      }
      RegisterModule(Root);
      FNode = &Tree;
      Root->ReadState(this);
      Root->FComponentState.Exclude(csReading);
      ResolveFixups();
      for (TComponent* c : FLoaded) c->Loaded();
    } catch (EReadError&) {
      throw;
    } catch (Exception& e) {
      Error(e.Message);
    }
  } catch (...) {
    for (TComponent* c : FLoaded) {
      c->FComponentState.Exclude(csLoading);
      c->FComponentState.Exclude(csReading);
    }
    for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it) delete *it;
    FCreated.clear();
    FLoaded.clear();
    if (!wasModule) UnregisterModule(Root);
    throw;
  }
  FCreated.clear();
  FLoaded.clear();
}

void TReader::ReadData(TComponent* Instance) {
  const TFormObject* node = FNode;
  String objectPath = FPropPath;
  ReadProperties(Instance, node->Properties);
  if (IgnoreChildren) return;
  TComponent* savedOwner = FOwner;
  TComponent* savedParent = FParent;
  TComponent* childOwner = Instance->GetChildOwner();
  FOwner = childOwner ? childOwner : FRoot;
  FParent = Instance->GetChildParent();
  for (const TFormObject& child : node->Children) ReadComponent(child);
  FOwner = savedOwner;
  FParent = savedParent;
  FNode = node;
  FPropPath = objectPath;
}

void TReader::ReadComponent(const TFormObject& Node) {
  FLine = Node.Line;
  FPropPath = Node.Name;
  TComponent* c = nullptr;
  if (Node.Kind == TFormObjectKind::Inherited) {
    c = FOwner->FindComponent(Node.Name);
    if (!c) Error(Format("composant hérité %s introuvable"_a, {Node.Name}));
    if (!c->InheritsFrom(Node.ClassName)) {
      Error(Format("le composant hérité %s est un %s, pas un %s"_a, {Node.Name, c->ClassName(), Node.ClassName}));
    }
  } else {
    TClass cls = GetClass(Node.ClassName);
    if (!cls) Error(Format("classe %s non trouvée"_a, {Node.ClassName}));
    if (!cls->InheritsFrom(TComponent::StaticClass())) {
      Error(Format("la classe %s n'est pas un composant", {Node.ClassName}));
    }
    c = static_cast<TComponent*>(cls->Create(FOwner));
    FCreated.push_back(c);
    c->FComponentState.Include(csLoading);
    try {
      c->SetName(Node.Name);
    } catch (Exception& e) {
      Error(e.Message);
    }
    c->SetParentComponent(FParent);
  }
  c->FComponentState.Include(csLoading);
  c->FComponentState.Include(csReading);
  FLoaded.push_back(c);
  const TFormObject* saved = FNode;
  FNode = &Node;
  c->ReadState(this);
  FNode = saved;
  c->FComponentState.Exclude(csReading);
}

void TReader::ReadProperties(TObject* Instance, const std::vector<TFormProperty>& Props) {
  String objectPath = FPropPath;
  for (const TFormProperty& p : Props) {
    FPropPath = objectPath;
    ReadProperty(Instance, p);
  }
  FPropPath = objectPath;
}

void TReader::ReadProperty(TObject* Instance, const TFormProperty& Prop) {
  FLine = Prop.Line ? Prop.Line : Prop.Value.Line;
  FPropPath = FPropPath.empty() ? Prop.Name : FPropPath + "." + Prop.Name;
  try {
    TObject* target = Instance;
    std::string_view rest = Prop.Name;
    for (std::size_t dot; (dot = rest.find('.')) != std::string_view::npos; rest.remove_prefix(dot + 1)) {
      const TPropInfo* step = GetPropInfo(target, rest.substr(0, dot));
      if (!step) PropError("propriété inexistante"_a);
      if (step->Kind != tkClass) PropError(Format("%s n'est pas un objet", {String(step->Name)}));
      target = step->GetObj(target);
      if (!target) PropError(Format("%s vaut nil", {String(step->Name)}));
    }
    if (const TPropInfo* info = GetPropInfo(target, rest)) {
      ReadPropValue(target, info, Prop.Value);
      return;
    }
    auto* persistent = dynamic_cast<TPersistent*>(target);
    FDefined = &Prop;
    FDefinedRead = false;
    if (persistent) persistent->DefineProperties(this);
    FDefined = nullptr;
    if (!FDefinedRead) PropError("propriété inexistante"_a);
  } catch (EReadError&) {
    FDefined = nullptr;
    throw;
  } catch (Exception& e) {
    FDefined = nullptr;
    PropError(e.Message);
  }
}

void TReader::ReadPropValue(TObject* Instance, const TPropInfo* Info, const TFormValue& Value) {
  auto wrongKind = [&]() { PropError(Format("valeur de type %s inattendue", {String(KindName(Value.Kind))})); };
  auto writable = [&]() {
    if (!Info->IsWritable()) PropError("propriété en lecture seule"_a);
  };
  switch (Info->Kind) {
    case tkInteger:
      writable();
      if (Value.Kind == TFormValueKind::Integer) {
        // Colours and masks are written in hexadecimal up to $FFFFFFFF: the bits are kept.
        if (Value.Integer < INT_MIN || Value.Integer > UINT_MAX) PropError("entier hors limites");
        Info->SetOrd(Instance, static_cast<int>(static_cast<unsigned>(Value.Integer)));
      } else if (Value.Kind == TFormValueKind::Identifier && Info->IntIdents) {
        int v = 0;
        if (!Info->IntIdents->IdentToInt(Value.Text, v)) PropError(Format("valeur %s incorrecte", {Value.Text}));
        Info->SetOrd(Instance, v);
      } else {
        wrongKind();
      }
      break;
    case tkInt64:
      writable();
      if (Value.Kind != TFormValueKind::Integer) wrongKind();
      Info->SetOrd(Instance, Value.Integer);
      break;
    case tkChar:
      writable();
      if (Value.Kind == TFormValueKind::String && Value.Text.size() == 1) Info->SetOrd(Instance, (unsigned char)Value.Text[0]);
      else if (Value.Kind == TFormValueKind::Integer) Info->SetOrd(Instance, Value.Integer);
      else wrongKind();
      break;
    case tkEnumeration: {
      writable();
      if (Value.Kind != TFormValueKind::Identifier) wrongKind();
      int v = Info->EnumType->IndexOf(Value.Text);
      if (v < 0) PropError(Format("valeur %s incorrecte pour le type %s", {Value.Text, String(Info->EnumType->Name())}));
      Info->SetOrd(Instance, v);
      break;
    }
    case tkSet: {
      writable();
      if (Value.Kind != TFormValueKind::Set) wrongKind();
      unsigned bits = 0;
      for (const String& item : Value.SetItems) {
        int v = Info->EnumType->IndexOf(item);
        if (v < 0 || v >= 32) PropError(Format("valeur %s incorrecte pour le type %s", {item, String(Info->EnumType->Name())}));
        bits |= 1u << v;
      }
      Info->SetOrd(Instance, bits);
      break;
    }
    case tkFloat:
      writable();
      if (Value.Kind == TFormValueKind::Float) Info->SetFloat(Instance, Value.Float);
      else if (Value.Kind == TFormValueKind::Integer) Info->SetFloat(Instance, double(Value.Integer));
      else wrongKind();
      break;
    case tkLString:
      writable();
      if (Value.Kind != TFormValueKind::String) wrongKind();
      Info->SetStr(Instance, Value.Text);
      break;
    case tkClass:
      if (Value.Kind == TFormValueKind::Identifier) {
        writable();
        if (SameText(Value.Text, "nil")) Info->SetObj(Instance, nullptr);
        else FFixups.push_back(TFixup{Instance, Info, Value.Text, FLine, FPropPath});
      } else if (Value.Kind == TFormValueKind::List) {
        auto* lines = dynamic_cast<TStrings*>(Info->GetObj(Instance));
        if (!lines) wrongKind();
        for (const TFormValue& item : Value.Items) {
          if (item.Kind != TFormValueKind::String) PropError("une liste de chaînes ne contient que des chaînes"_a);
        }
        lines->BeginUpdate();
        TScopeGuard endUpdate([&] { lines->EndUpdate(); });
        lines->Clear();
        for (const TFormValue& item : Value.Items) lines->Add(item.Text);
      } else if (Value.Kind == TFormValueKind::Collection) {
        ReadCollection(Info->GetObj(Instance), Value);
      } else {
        wrongKind();
      }
      break;
    case tkMethod: {
      writable();
      if (Value.Kind != TFormValueKind::Identifier) wrongKind();
      if (SameText(Value.Text, "nil")) {
        Info->SetMeth(Instance, TMethod{});
        break;
      }
      const THandlerEntry* handler = FindHandler(FRoot->ClassType(), Value.Text);
      if (!handler) PropError(Format("gestionnaire %s introuvable dans %s", {Value.Text, FRoot->ClassName()}));
      if (handler->Signature != Info->Signature) {
        PropError(Format("le gestionnaire %s n'a pas la signature de l'événement"_a, {Value.Text}));
      }
      Info->SetMeth(Instance, TMethod{handler->Code, FRoot});
      break;
    }
    default:
      wrongKind();
  }
}

void TReader::ReadCollection(TObject* Collection, const TFormValue& Value) {
  auto* collection = dynamic_cast<TCollection*>(Collection);
  if (!collection) PropError("valeur de type collection inattendue");
  String path = FPropPath;
  collection->BeginUpdate();
  TScopeGuard endUpdate([&] { collection->EndUpdate(); });
  collection->Clear();
  for (std::size_t i = 0; i < Value.CollectionItems.size(); ++i) {
    const TFormCollectionItem& item = Value.CollectionItems[i];
    FLine = item.Line;
    TCollectionItem* made = collection->Add();
    FPropPath = path + "[" + IntToStr(static_cast<long long>(i)) + "]";
    ReadProperties(made, item.Properties);
  }
  // A failing item leaves its own path for the error message.
  FPropPath = path;
}

TComponent* TReader::FindReference(const String& Name) const {
  std::size_t dot = Name.find('.');
  if (dot == String::npos) {
    if (SameText(Name, FRoot->Name())) return FRoot;
    if (TComponent* c = FRoot->FindComponent(Name)) return c;
    return FindGlobalComponent(Name);
  }
  if (SameText(Name.substr(0, dot), FRoot->Name())) return FRoot->FindComponent(Name.substr(dot + 1));
  return FindGlobalReference(Name);
}

void TReader::ResolveFixups() {
  // Everything is resolved before anything is set, so a failure leaves no pointer to a component
  // about to be freed.
  std::vector<TComponent*> targets;
  for (const TFixup& f : FFixups) {
    FLine = f.Line;
    FPropPath = f.Path;
    TComponent* target = FindReference(f.Name);
    if (!target) PropError(Format("référence %s non résolue"_a, {f.Name}));
    if (!target->InheritsFrom(f.Prop->PropClass)) {
      PropError(Format("%s est un %s, pas un %s", {f.Name, target->ClassName(), String(f.Prop->PropClass->Name)}));
    }
    targets.push_back(target);
  }
  for (std::size_t i = 0; i < FFixups.size(); ++i) {
    FLine = FFixups[i].Line;
    FPropPath = FFixups[i].Path;
    try {
      FFixups[i].Prop->SetObj(FFixups[i].Instance, targets[i]);
    } catch (Exception& e) {
      PropError(e.Message);
    }
  }
  FFixups.clear();
}

void TReader::DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc, bool) {
  if (!FDefined || FDefinedRead || !SameText(Name, FDefined->Name.substr(FDefined->Name.rfind('.') + 1))) return;
  FDefinedRead = true;
  FDefinedTaken = false;
  FCursors.clear();
  if (ReadData) ReadData(this);
}

void TReader::DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc, bool) {
  if (!FDefined || FDefinedRead || !SameText(Name, FDefined->Name.substr(FDefined->Name.rfind('.') + 1))) return;
  FDefinedRead = true;
  if (FDefined->Value.Kind != TFormValueKind::Binary) {
    PropError(Format("valeur de type %s inattendue", {String(KindName(FDefined->Value.Kind))}));
  }
  TMemoryStream stream;
  if (!FDefined->Value.Binary.empty()) {
    stream.WriteBuffer(FDefined->Value.Binary.data(), std::int64_t(FDefined->Value.Binary.size()));
    stream.Seek(0, soBeginning);
  }
  if (ReadData) ReadData(&stream);
}

const TFormValue& TReader::TakeValue(TFormValueKind Kind, const char* What) {
  if (!FDefined) Error("aucune propriété en cours de lecture"_a);
  const TFormValue* v = nullptr;
  if (FCursors.empty()) {
    if (FDefinedTaken) PropError("la valeur a déjà été lue"_a);
    FDefinedTaken = true;
    v = &FDefined->Value;
  } else {
    TCursor& top = FCursors.back();
    if (top.Next >= top.List->Items.size()) PropError("fin de liste atteinte");
    v = &top.List->Items[top.Next++];
  }
  bool floatFromInteger = Kind == TFormValueKind::Float && v->Kind == TFormValueKind::Integer;
  if (v->Kind != Kind && !floatFromInteger) {
    PropError(Format("type %s attendu, type %s trouvé"_a, {String(What), String(KindName(v->Kind))}));
  }
  return *v;
}

TFormValueKind TReader::NextValue() const {
  if (!FDefined) Error("aucune propriété en cours de lecture"_a);
  if (FCursors.empty()) return FDefined->Value.Kind;
  const TCursor& top = FCursors.back();
  if (top.Next >= top.List->Items.size()) PropError("fin de liste atteinte");
  return top.List->Items[top.Next].Kind;
}

bool TReader::ReadBoolean() {
  const TFormValue& v = TakeValue(TFormValueKind::Identifier, "booléen"_a);
  if (SameText(v.Text, "True")) return true;
  if (SameText(v.Text, "False")) return false;
  PropError(Format("type booléen attendu, %s trouvé"_a, {v.Text}));
}

int TReader::ReadInteger() {
  long long v = ReadInt64();
  if (v < INT_MIN || v > INT_MAX) PropError("entier hors limites");
  return int(v);
}

long long TReader::ReadInt64() { return TakeValue(TFormValueKind::Integer, "entier").Integer; }

double TReader::ReadFloat() {
  const TFormValue& v = TakeValue(TFormValueKind::Float, "réel"_a);
  return v.Kind == TFormValueKind::Integer ? double(v.Integer) : v.Float;
}

String TReader::ReadString() { return TakeValue(TFormValueKind::String, "chaîne"_a).Text; }

String TReader::ReadIdent() { return TakeValue(TFormValueKind::Identifier, "identificateur").Text; }

void TReader::ReadListBegin() { FCursors.push_back(TCursor{&TakeValue(TFormValueKind::List, "liste"), 0}); }

bool TReader::EndOfList() const { return FCursors.empty() || FCursors.back().Next >= FCursors.back().List->Items.size(); }

void TReader::ReadListEnd() {
  if (FCursors.empty()) PropError("fin de liste sans début"_a);
  if (!EndOfList()) PropError("la liste contient plus de valeurs que lues");
  FCursors.pop_back();
}

// --- TWriter --------------------------------------------------------------------------------------

TFormObject TWriter::WriteRootComponent(TComponent* Root, TComponent* Ancestor) {
  FRoot = Root;
  FRootAncestor = Ancestor;
  TFormObject node;
  node.Kind = Ancestor ? TFormObjectKind::Inherited : TFormObjectKind::Object;
  node.Name = Root->Name();
  node.ClassName = Root->ClassName();
  WriteComponent(Root, Ancestor, node);
  return node;
}

void TWriter::WriteComponent(TComponent* Instance, TComponent* AncestorComponent, TFormObject& Node) {
  TFormObject* savedNode = FNode;
  TPersistent* savedAncestor = FAncestor;
  FNode = &Node;
  FAncestor = AncestorComponent;
  Instance->FComponentState.Include(csWriting);
  TScopeGuard restore([&] {
    Instance->FComponentState.Exclude(csWriting);
    FNode = savedNode;
    FAncestor = savedAncestor;
  });
  Instance->WriteState(this);
}

void TWriter::WriteData(TComponent* Instance) {
  TFormObject& node = *FNode;
  WriteProperties(Instance, FAncestor, String(), node.Properties);
  if (IgnoreChildren) return;
  Instance->GetChildren(
      [&](TComponent* Child) {
        TComponent* ancestorChild = FRootAncestor && Child->Owner() == FRoot ? FRootAncestor->FindComponent(Child->Name()) : nullptr;
        TFormObject childNode;
        childNode.Kind = ancestorChild ? TFormObjectKind::Inherited : TFormObjectKind::Object;
        childNode.Name = Child->Name();
        childNode.ClassName = Child->ClassName();
        WriteComponent(Child, ancestorChild, childNode);
        // An inherited component that differs in nothing is left to the ancestor's description.
        if (ancestorChild && childNode.Properties.empty() && childNode.Children.empty()) return;
        node.Children.push_back(std::move(childNode));
      },
      FRoot);
}

void TWriter::WriteProperties(TObject* Instance, TObject* AncestorObject, const String& Prefix,
                              std::vector<TFormProperty>& Out) {
  for (const TPropInfo* info : GetPropList(Instance->ClassType())) {
    if (!info->IsStored(Instance)) continue;
    if (info->Kind == tkClass) {
      TObject* value = info->GetObj(Instance);
      // A sub-object that is neither a component, a string list nor a collection is written
      // property by property under its path ("Font.Name").
      if (value && !dynamic_cast<TComponent*>(value) && !dynamic_cast<TStrings*>(value) &&
          !dynamic_cast<TCollection*>(value)) {
        TObject* ancestorValue = nullptr;
        if (AncestorObject) {
          const TPropInfo* a = GetPropInfo(AncestorObject, info->Name);
          if (a && a->Kind == tkClass) ancestorValue = a->GetObj(AncestorObject);
        }
        WriteProperties(value, ancestorValue, Prefix + info->Name + ".", Out);
        continue;
      }
    }
    TFormValue v;
    if (WriteProperty(Instance, info, AncestorObject, v)) Out.push_back(TFormProperty{Prefix + info->Name, v, 0});
  }
  if (auto* persistent = dynamic_cast<TPersistent*>(Instance)) {
    String savedPrefix = FPrefix;
    std::vector<TFormProperty>* savedOut = FOut;
    TPersistent* savedAncestor = FAncestor;
    FPrefix = Prefix;
    FOut = &Out;
    FAncestor = dynamic_cast<TPersistent*>(AncestorObject);
    TScopeGuard restore([&] {
      FPrefix = savedPrefix;
      FOut = savedOut;
      FAncestor = savedAncestor;
    });
    persistent->DefineProperties(this);
  }
}

bool TWriter::WriteProperty(TObject* Instance, const TPropInfo* Info, TObject* AncestorObject, TFormValue& Value) {
  const TPropInfo* a = AncestorObject ? GetPropInfo(AncestorObject, Info->Name) : nullptr;
  if (a && a->Kind != Info->Kind) a = nullptr;
  // Only what can be read back is written: a read-only property is written only when its value
  // is a list or a collection filled in place.
  switch (Info->Kind) {
    case tkInteger:
    case tkInt64:
    case tkChar:
    case tkEnumeration:
    case tkSet: {
      if (!Info->IsWritable()) return false;
      long long x = Info->GetOrd(Instance);
      if (a ? x == a->GetOrd(AncestorObject) : IsDefaultPropValue(Instance, Info)) return false;
      String ident;
      if (Info->Kind == tkEnumeration) {
        Value = IdentValue(GetEnumName(Info->EnumType, x));
      } else if (Info->Kind == tkSet) {
        Value = MakeValue(TFormValueKind::Set);
        for (int i = 0; i < Info->EnumType->Count() && i < 32; ++i) {
          if (x & (1LL << i)) Value.SetItems.push_back(Info->EnumType->Ident(i));
        }
      } else if (Info->Kind == tkChar) {
        Value = MakeValue(TFormValueKind::String);
        Value.Text = String(1, char(x));
      } else if (Info->IntIdents && Info->IntIdents->IntToIdent(int(x), ident)) {
        Value = IdentValue(ident);
      } else {
        Value = MakeValue(TFormValueKind::Integer);
        Value.Integer = x;
      }
      return true;
    }
    case tkFloat: {
      if (!Info->IsWritable()) return false;
      double x = Info->GetFloat(Instance);
      if (a ? x == a->GetFloat(AncestorObject) : IsDefaultPropValue(Instance, Info)) return false;
      Value = MakeValue(TFormValueKind::Float);
      Value.Float = x;
      return true;
    }
    case tkLString: {
      if (!Info->IsWritable()) return false;
      String x = Info->GetStr(Instance);
      if (a ? x == a->GetStr(AncestorObject) : x.empty()) return false;
      Value = MakeValue(TFormValueKind::String);
      Value.Text = x;
      return true;
    }
    case tkMethod: {
      if (!Info->IsWritable()) return false;
      TMethod m = Info->GetMeth(Instance);
      if (a) {
        TMethod am = a->GetMeth(AncestorObject);
        if (m.Assigned() == am.Assigned() && (!m.Assigned() || m.Code == am.Code)) return false;
      } else if (!m.Assigned()) {
        return false;
      }
      if (!m.Assigned()) {
        Value = IdentValue("nil");
        return true;
      }
      if (m.Data != FRoot) return false;  // a handler of another object has no name here
      const THandlerEntry* handler = FindHandlerByCode(FRoot->ClassType(), m.Code);
      if (!handler) {
        throw EWriteError(Format("le gestionnaire de %s.%s n'est pas publié par %s"_a,
                                 {FNode ? FNode->Name : String(), String(Info->Name), FRoot->ClassName()}));
      }
      Value = IdentValue(handler->Name);
      return true;
    }
    case tkClass: {
      TObject* x = Info->GetObj(Instance);
      TObject* ax = a ? a->GetObj(AncestorObject) : nullptr;
      if (auto* lines = dynamic_cast<TStrings*>(x)) {
        auto* ancestorLines = dynamic_cast<TStrings*>(ax);
        if (ancestorLines ? lines->Equals(ancestorLines) : lines->Count() == 0) return false;
        Value = MakeValue(TFormValueKind::List);
        for (int i = 0; i < lines->Count(); ++i) {
          TFormValue line = MakeValue(TFormValueKind::String);
          line.Text = lines->Strings(i);
          Value.Items.push_back(line);
        }
        return true;
      }
      if (auto* collection = dynamic_cast<TCollection*>(x)) {
        WriteCollection(collection, Value);
        if (auto* ancestorCollection = dynamic_cast<TCollection*>(ax)) {
          TFormValue ancestorValue;
          WriteCollection(ancestorCollection, ancestorValue);
          return !SameValue(Value, ancestorValue);
        }
        return collection->Count() > 0;
      }
      if (!Info->IsWritable()) return false;
      String name = ReferenceName(dynamic_cast<TComponent*>(x), FRoot);
      String ancestorName = ReferenceName(dynamic_cast<TComponent*>(ax), FRootAncestor);
      if (x && name.empty()) return false;  // an unnamed component cannot be referred to
      if (SameText(name, ancestorName)) return false;
      Value = IdentValue(name.empty() ? String("nil") : name);
      return true;
    }
    default:
      return false;
  }
}

void TWriter::WriteCollection(TObject* Collection, TFormValue& Value) {
  auto* collection = static_cast<TCollection*>(Collection);
  Value = MakeValue(TFormValueKind::Collection);
  for (int i = 0; i < collection->Count(); ++i) {
    TFormCollectionItem item;
    WriteProperties(collection->Items(i), nullptr, String(), item.Properties);
    Value.CollectionItems.push_back(std::move(item));
  }
}

String TWriter::ReferenceName(TComponent* Value, TComponent* Root) const {
  if (!Value) return String();
  if (Value == Root) return Root->Name();
  if (Value->Name().empty()) return String();
  TComponent* owner = Value->Owner();
  if (owner == Root || !owner || owner->Name().empty()) return Value->Name();
  return owner->Name() + "." + Value->Name();
}

void TWriter::AddValue(TFormValue Value) {
  if (!FStack.empty()) {
    FStack.back().Items.push_back(std::move(Value));
  } else {
    FDefinedValue = std::move(Value);
    FDefinedWritten = true;
  }
}

void TWriter::WriteBoolean(bool Value) { AddValue(IdentValue(Value ? "True" : "False")); }

void TWriter::WriteInteger(long long Value) {
  TFormValue v = MakeValue(TFormValueKind::Integer);
  v.Integer = Value;
  AddValue(v);
}

void TWriter::WriteFloat(double Value) {
  TFormValue v = MakeValue(TFormValueKind::Float);
  v.Float = Value;
  AddValue(v);
}

void TWriter::WriteString(const String& Value) {
  TFormValue v = MakeValue(TFormValueKind::String);
  v.Text = Value;
  AddValue(v);
}

void TWriter::WriteIdent(const String& Value) { AddValue(IdentValue(Value)); }

void TWriter::WriteListBegin() { FStack.push_back(MakeValue(TFormValueKind::List)); }

void TWriter::WriteListEnd() {
  if (FStack.empty()) throw EWriteError("fin de liste sans début"_a);
  TFormValue list = std::move(FStack.back());
  FStack.pop_back();
  AddValue(std::move(list));
}

void TWriter::DefineProperty(const String& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
  if (!HasData || !WriteData || !FOut) return;
  FStack.clear();
  FDefinedWritten = false;
  WriteData(this);
  if (!FStack.empty()) throw EWriteError(Format("liste non terminée dans la propriété %s"_a, {Name}));
  if (FDefinedWritten) FOut->push_back(TFormProperty{FPrefix + Name, std::move(FDefinedValue), 0});
}

void TWriter::DefineBinaryProperty(const String& Name, TStreamProc, TStreamProc WriteData, bool HasData) {
  if (!HasData || !WriteData || !FOut) return;
  TMemoryStream stream;
  WriteData(&stream);
  TFormValue v = MakeValue(TFormValueKind::Binary);
  v.Binary.assign(static_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
  FOut->push_back(TFormProperty{FPrefix + Name, std::move(v), 0});
}

// --- Text entry points ----------------------------------------------------------------------------

void ReadComponentFromText(TComponent* Root, const String& Text, const String& SourceName) {
  TFormObject tree = ParseFormText(Text, SourceName);
  TReader reader(SourceName);
  reader.ReadRootComponent(Root, tree);
}

TComponent* CreateComponentFromText(const String& Text, const String& SourceName, TComponent* Owner) {
  TFormObject tree = ParseFormText(Text, SourceName);
  TClass cls = GetClass(tree.ClassName);
  if (!cls || !cls->InheritsFrom(TComponent::StaticClass())) {
    throw EReadError(Format("%s(%d) : classe %s non trouvée"_a, {SourceName, tree.Line, tree.ClassName}));
  }
  std::unique_ptr<TComponent> root(static_cast<TComponent*>(cls->Create(Owner)));
  TReader reader(SourceName);
  reader.ReadRootComponent(root.get(), tree);
  return root.release();
}

String WriteComponentToText(TComponent* Root, TComponent* Ancestor) {
  TWriter writer;
  return WriteFormText(writer.WriteRootComponent(Root, Ancestor));
}
