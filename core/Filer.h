// This file implements the form reader and writer: TFiler, TReader and TWriter map the tree of a
// form description (FormText.h) to live components and back: published properties, properties a
// class defines itself (DefineProperty, DefineBinaryProperty), nested and inherited objects,
// string lists, collections, component references and event handlers bound by name.
//
// Reading. Components are created by registered class name with the root as owner, named, given
// their parent component, then their properties are set in the order of the text. References
// (including "Module.Component" to another live module) are resolved once the whole tree is read,
// then Loaded is called on every component read, the root first, in reading order. Every failure
// is an EReadError "Source(line) : ..." naming the property or class; before it leaves, the reader
// frees every component it created and clears the loading state of the others. The root's own
// properties read before the failure keep their new values: the root is never handed out (a
// form's constructor fails; CreateComponentFromText frees it), so nothing half-built survives.
#pragma once

#include <vector>

#include "Component.h"
#include "Event.h"
#include "FormText.h"

class TStream;
class TReader;
class TWriter;

using TReaderProc = TEvent<void(TReader* Reader)>;
using TWriterProc = TEvent<void(TWriter* Writer)>;
using TStreamProc = TEvent<void(TStream* Stream)>;

class TFiler : public TObject {
  VELBOR_DECLARE_CLASS(TFiler, TObject)
 public:
  // The component whose description is read or written (the form or data module).
  TComponent* Root() const { return FRoot; }
  // Where references and handler names are looked up: the root.
  TComponent* LookupRoot() const { return FRoot; }
  // Writing only: what the object being written descends from (the same component of the
  // ancestor form, or the ancestor's sub-object), nullptr when there is none.
  TPersistent* Ancestor() const { return FAncestor; }
  bool IgnoreChildren = false;

  // Declares a property the object reads and writes itself. The writer calls WriteData when
  // HasData is true; the reader calls ReadData when the description has a property of that name.
  virtual void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) = 0;
  // The same for raw bytes ("{ 0A1B... }"), through a memory stream.
  virtual void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                                    bool HasData) = 0;

 protected:
  TComponent* FRoot = nullptr;
  TPersistent* FAncestor = nullptr;
};

class TReader : public TFiler {
  VELBOR_DECLARE_CLASS(TReader, TFiler)
 public:
  explicit TReader(const String& SourceName) : FSourceName(SourceName) {}

  // Reads Tree into Root, which must be of the described class or descend from it.
  void ReadRootComponent(TComponent* Root, const TFormObject& Tree);

  // While reading: the component that owns, and the one that contains, what is being read.
  TComponent* Owner() const { return FOwner; }
  TComponent* Parent() const { return FParent; }
  const String& SourceName() const { return FSourceName; }

  // Reads the properties and children of Instance; what TComponent::ReadState calls.
  void ReadData(TComponent* Instance);

  // Values of a defined property, in the order it was written. Each raises EReadError when the
  // next value is of another kind.
  TFormValueKind NextValue() const;
  bool ReadBoolean();
  int ReadInteger();
  long long ReadInt64();
  double ReadFloat();
  String ReadString();
  String ReadIdent();
  void ReadListBegin();
  bool EndOfList() const;
  void ReadListEnd();

  // EReadError "Source(line) : Message" at the line being read.
  [[noreturn]] void Error(const String& Message) const;

  void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData, bool HasData) override;

 private:
  struct TFixup {
    TObject* Instance;
    const TPropInfo* Prop;
    String Name;
    int Line;
    String Path;  // "Widget1.Buddy", for messages
  };
  struct TCursor {
    const TFormValue* List;
    std::size_t Next;
  };

  void ReadComponent(const TFormObject& Node);
  void ReadProperties(TObject* Instance, const std::vector<TFormProperty>& Props);
  void ReadProperty(TObject* Instance, const TFormProperty& Prop);
  void ReadPropValue(TObject* Instance, const TPropInfo* Info, const TFormValue& Value);
  void ReadCollection(TObject* Collection, const TFormValue& Value);
  void ResolveFixups();
  TComponent* FindReference(const String& Name) const;
  const TFormValue& TakeValue(TFormValueKind Kind, const char* What);
  [[noreturn]] void PropError(const String& Message) const;

  String FSourceName;
  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  int FLine = 0;
  String FPropPath;  // "Button1.Font.Name", for messages
  // The defined property being offered to DefineProperties, and the values read from it.
  const TFormProperty* FDefined = nullptr;
  bool FDefinedRead = false;
  bool FDefinedTaken = false;
  std::vector<TCursor> FCursors;
  const TFormObject* FNode = nullptr;
  std::vector<TComponent*> FCreated;
  std::vector<TComponent*> FLoaded;
  std::vector<TFixup> FFixups;
};

class TWriter : public TFiler {
  VELBOR_DECLARE_CLASS(TWriter, TFiler)
 public:
  TWriter() = default;

  // Describes Root; with an ancestor (an instance of the class Root descends from), only what
  // differs from it, the root and the components found in the ancestor written as "inherited".
  TFormObject WriteRootComponent(TComponent* Root, TComponent* Ancestor);

  // Writes the properties and children of Instance; what TComponent::WriteState calls.
  void WriteData(TComponent* Instance);

  // Values of a defined property.
  void WriteBoolean(bool Value);
  void WriteInteger(long long Value);
  void WriteFloat(double Value);
  void WriteString(const String& Value);
  void WriteIdent(const String& Value);
  void WriteListBegin();
  void WriteListEnd();

  void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData, bool HasData) override;

 private:
  void WriteComponent(TComponent* Instance, TComponent* AncestorComponent, TFormObject& Node);
  void WriteProperties(TObject* Instance, TObject* AncestorObject, const String& Prefix,
                       std::vector<TFormProperty>& Out);
  bool WriteProperty(TObject* Instance, const TPropInfo* Info, TObject* AncestorObject, TFormValue& Value);
  void WriteCollection(TObject* Collection, TFormValue& Value);
  String ReferenceName(TComponent* Value, TComponent* Root) const;
  void AddValue(TFormValue Value);

  TComponent* FRootAncestor = nullptr;
  TFormObject* FNode = nullptr;
  String FPrefix;
  std::vector<TFormProperty>* FOut = nullptr;
  std::vector<TFormValue> FStack;  // open lists of a defined property
  TFormValue FDefinedValue;
  bool FDefinedWritten = false;
};

// Reads the properties and children of an existing root (what a form's constructor does with its
// own description), registers it as a module, and calls Loaded. Text is 1252.
void ReadComponentFromText(TComponent* Root, const String& Text, const String& SourceName);
// Creates the root by its registered class with Owner, then reads it as above; freed on error.
TComponent* CreateComponentFromText(const String& Text, const String& SourceName, TComponent* Owner);
// The description of Root (1252 text), written against Ancestor when given.
String WriteComponentToText(TComponent* Root, TComponent* Ancestor = nullptr);
