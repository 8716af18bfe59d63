// This file implements the root of the class library: TObject, class references (TClass) with
// their ancestry, the class registry and virtual construction by class reference.
#pragma once

#include "AnsiString.h"

class TObject;
class TPropTable;
class THandlerTable;
class TFieldTable;
struct TClassProps;

// The information one class carries: its name, its parent's information, and how to make an
// instance of it (null for abstract classes). The factory takes an owner, which classes that have
// none ignore. The published-property, handler and component-field tables (TypInfo.h) attach
// themselves when the class's .cpp is initialised; the property index (own and inherited
// properties by name) is built on first use.
struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  TObject* (*Factory)(TObject* Owner);
  mutable const TPropTable* Props;
  mutable const THandlerTable* Handlers;
  mutable const TFieldTable* Fields;
  mutable const TClassProps* PropIndex;

  bool InheritsFrom(const TClassInfo* Ancestor) const;
  // Case-insensitive comparison of the class names along the ancestry.
  bool InheritsFrom(const String& AncestorName) const;
  // Virtual construction; raises EInvalidOperation for an abstract class.
  TObject* Create(TObject* Owner = nullptr) const;
};

using TClass = const TClassInfo*;

// Declares the class information of a class inside its declaration; pairs with
// VELBOR_IMPLEMENT_CLASS (or VELBOR_IMPLEMENT_ABSTRACT_CLASS) in the class's .cpp.
// The tables of TypInfo.h are its friends, so they may name private accessors and fields.
#define VELBOR_DECLARE_CLASS(Self, Parent)              \
  friend struct Self##_PublishedTable_;                 \
  friend struct Self##_HandlerTable_;                   \
  friend struct Self##_FieldTable_;                     \
 public:                                                \
  using inherited = Parent;                             \
  static const TClassInfo ClassInfo_;                   \
  static constexpr TClass StaticClass() { return &ClassInfo_; } \
  TClass ClassType() const override { return &ClassInfo_; } \
 private:

// Class information is constant-initialised (constinit refuses anything else at compile time):
// its name, parent and factory are in place before any code runs, so registrations and lookups
// made while other files are initialised see them whatever order the files are initialised in.
// Classes made by virtual construction take their owner as the one constructor argument
// (components) or have a default constructor.
#define VELBOR_IMPLEMENT_CLASS(Self)                                                   \
  constinit const TClassInfo Self::ClassInfo_ = {#Self, Self::inherited::StaticClass(), \
                                       [](TObject* Owner) -> TObject* {                \
                                         return ::ClassFactory<Self>::Make(Owner);      \
                                       },                                              \
                                       nullptr, nullptr, nullptr, nullptr};

#define VELBOR_IMPLEMENT_ABSTRACT_CLASS(Self) \
  constinit const TClassInfo Self::ClassInfo_ = {#Self, Self::inherited::StaticClass(), nullptr, nullptr, nullptr, nullptr, nullptr};

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo ClassInfo_;
  static constexpr TClass StaticClass() { return &ClassInfo_; }
  virtual TClass ClassType() const { return &ClassInfo_; }

  String ClassName() const { return ClassType()->Name; }
  TClass ClassParent() const { return ClassType()->Parent; }
  bool InheritsFrom(TClass Ancestor) const { return ClassType()->InheritsFrom(Ancestor); }
  bool InheritsFrom(const String& AncestorName) const { return ClassType()->InheritsFrom(AncestorName); }
  bool ClassNameIs(const String& Name) const;
};

// How VELBOR_IMPLEMENT_CLASS constructs: with the owner when the class takes one, else by default.
// A class whose owner has a type of its own (components take a TComponent, collection items their
// TCollection) names it TOwnerClass; an owner of another type is passed as null.
template <class T>
struct ClassFactory {
  static TObject* Make(TObject* Owner) {
    if constexpr (requires { typename T::TOwnerClass; }) {
      return new T(dynamic_cast<typename T::TOwnerClass*>(Owner));
    } else if constexpr (requires { new T(Owner); }) {
      return new T(Owner);
    } else {
      (void)Owner;
      return new T();
    }
  }
};

// The class registry that form descriptions create components from.
void RegisterClass(TClass Class);
void UnRegisterClass(TClass Class);
TClass GetClass(const String& Name);   // null when not registered
TClass FindClass(const String& Name);  // raises EClassNotFound when not registered

// The registry lives from before the first static object of any file that includes this header
// until after the last of them is destroyed, so a library may register or unregister classes from
// a static object's constructor or destructor (the bar library unregisters its items when the
// program ends). Each such file holds one of these, made before its own static objects and
// destroyed after them: the first made creates the registry, the last destroyed frees it.
class TClassRegistryUse {
 public:
  TClassRegistryUse();
  ~TClassRegistryUse();
  TClassRegistryUse(const TClassRegistryUse&) = delete;
  TClassRegistryUse& operator=(const TClassRegistryUse&) = delete;
};
static TClassRegistryUse ClassRegistryUse;
