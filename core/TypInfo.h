// This file implements published properties: per-class property tables, enumeration and set
// types with their identifiers, and the by-name run-time access that the form reader and writer
// and the data-aware library use (GetPropInfo, GetOrdProp, SetStrProp, GetPropValue...).
//
// Design. A class publishes its properties in one table in its .cpp, next to VELBOR_IMPLEMENT_CLASS:
//
//   VELBOR_ENUM(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")   // once, in a header
//
//   VELBOR_IMPLEMENT_CLASS(TLabel)
//   VELBOR_PUBLISHED(TLabel,
//     Prop("Caption", &Self::GetCaption, &Self::SetCaption),
//     Prop("Alignment", &Self::GetAlignment, &Self::SetAlignment).Default(taLeftJustify),
//     Prop("Style", &Self::FStyle).Default(TFontStyles{}),         // a field: read and written as is
//     Prop("Font", &Self::GetFont, &Self::SetFont),                // sub-object: "Font.Name" reaches in
//     Prop("Lines", &Self::GetLines, &Self::SetLines),             // TStrings*: a string list
//     Prop("Visible", &Self::GetVisible, &Self::SetVisible).Default(true).Stored(&Self::IsVisibleStored),
//     Prop("OnClick", &Self::OnClick))                             // TEvent<Sig>: a method property
//   VELBOR_HANDLERS(TForm1, VELBOR_HANDLER(Button1Click), VELBOR_HANDLER(FormShow))
//   VELBOR_FIELDS(TForm1, VELBOR_FIELD(Button1), VELBOR_FIELD(qZone))   // TButton* Button1 ...
//
// The kind comes from the C++ type: int and other integers up to 32 bits are tkInteger, 64-bit
// integers tkInt64, char tkChar, bool and enumerations declared with VELBOR_ENUM tkEnumeration,
// TSet<E> tkSet, float and double tkFloat, String tkLString, pointers to TObject descendants
// tkClass (TStrings and TCollection values stream as lists and collections), TEvent<Sig>
// tkMethod. An unsigned bit set published as a plain integer says so with .SetOf<E>(), and an
// integer with names for some values (colours) takes .Idents(table).
//
// Defaults follow the platform: an ordinal is stored unless it equals its .Default(v) (without
// one it is always stored); a string is stored when not empty, a float when not 0 (or when it
// differs from its .Default(v)), an object reference when assigned, a method when assigned;
// .Stored(false) / .Stored(&Self::IsXStored) / .Stored(predicate) restrict that further.
//
// Cost. Each entry keeps the member pointers and one small function per accessor, instantiated for
// the exact C++ types, so a by-name access is: one binary search of the class's sorted index
// (names compared without case, no allocation) and one indirect call that calls the accessor.
// The index (own and inherited properties, a redeclared property replacing its ancestor's at the
// ancestor's place) is built the first time a class is asked for; tables attach themselves when
// their .cpp is initialised, so properties are not looked up from other static initialisers.
#pragma once

#include <bit>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <type_traits>
#include <vector>

#include "AnsiString.h"
#include "Event.h"
#include "Exceptions.h"
#include "Object.h"
#include "Variant.h"

enum TTypeKind {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkInt64
};

// A set of an enumeration of at most 32 identifiers, held as a bit set (bit n for the value n).
template <class E>
class TSet {
 public:
  using Element = E;
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Items) {
    for (E e : Items) FBits |= Bit(e);
  }
  static constexpr TSet FromBits(unsigned Bits) {
    TSet s;
    s.FBits = Bits;
    return s;
  }
  constexpr unsigned Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  // Both give a new set and leave this one as it is: Include and Exclude change it.
  [[nodiscard]] constexpr TSet operator<<(E e) const { return FromBits(FBits | Bit(e)); }
  constexpr TSet operator>>(E e) const { return FromBits(FBits & ~Bit(e)); }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr unsigned Bit(E e) { return 1u << unsigned(e); }
  unsigned FBits = 0;
};

// The identifiers of an enumeration, in value order from 0.
class TEnumType {
 public:
  TEnumType(const char* Name, std::initializer_list<const char*> Idents) : FName(Name), FIdents(Idents) {}
  const char* Name() const { return FName; }
  int Count() const { return int(FIdents.size()); }
  // nullptr outside 0 .. Count() - 1.
  const char* Ident(long long Value) const {
    return Value >= 0 && Value < Count() ? FIdents[std::size_t(Value)] : nullptr;
  }
  // -1 when no identifier matches (case-insensitively).
  int IndexOf(std::string_view Ident) const;

 private:
  const char* FName;
  std::vector<const char*> FIdents;
};

// Declares the identifiers of an enumeration, once, beside it (in the enumeration's namespace):
// every class that publishes a property of that type finds them.
#define VELBOR_ENUM(E, ...)                                   \
  inline const TEnumType& EnumTypeInfo(E*) {                  \
    static const TEnumType Info(#E, {__VA_ARGS__});           \
    return Info;                                              \
  }

const TEnumType& EnumTypeInfo(bool*);  // "False", "True"

// Names for some values of an integer type ("clBtnFace" for a colour), read and written in place
// of the number when one matches.
struct TIdentMapEntry {
  int Value;
  const char* Name;
};
class TIntIdents {
 public:
  TIntIdents(std::initializer_list<TIdentMapEntry> Entries) : FEntries(Entries) {}
  bool IdentToInt(std::string_view Ident, int& Value) const;
  bool IntToIdent(int Value, String& Ident) const;

 private:
  std::vector<TIdentMapEntry> FEntries;
};

// --- Property information ---------------------------------------------------------------------

class TPropInfo;
namespace TypInfoDetail {
using TGenericFn = void (*)();
using TOrdGet = long long (*)(const TPropInfo&, TObject*);
using TOrdSet = void (*)(const TPropInfo&, TObject*, long long);
using TFloatGet = double (*)(const TPropInfo&, TObject*);
using TFloatSet = void (*)(const TPropInfo&, TObject*, double);
using TStrGet = String (*)(const TPropInfo&, TObject*);
using TStrSet = void (*)(const TPropInfo&, TObject*, const String&);
using TObjGet = TObject* (*)(const TPropInfo&, TObject*);
using TObjSet = void (*)(const TPropInfo&, TObject*, TObject*);
using TMethodGet = TMethod (*)(const TPropInfo&, TObject*);
using TMethodSet = void (*)(const TPropInfo&, TObject*, const TMethod&);
using TStoredFn = bool (*)(const TPropInfo&, TObject*);
template <class C, class V>
struct Access;
}  // namespace TypInfoDetail

class TPropInfo {
 public:
  const char* Name = nullptr;
  TTypeKind Kind = tkUnknown;
  const TEnumType* EnumType = nullptr;      // tkEnumeration; the element type of a tkSet
  TClass PropClass = nullptr;               // tkClass: the declared class of the value
  TEventSignature Signature = nullptr;      // tkMethod: the event's signature
  const TIntIdents* IntIdents = nullptr;    // tkInteger with names for some values
  bool HasDefault = false;
  long long DefaultOrd = 0;
  double DefaultFloat = 0;

  bool IsWritable() const { return FSet != nullptr; }
  bool IsOrdinal() const {
    return Kind == tkInteger || Kind == tkChar || Kind == tkEnumeration || Kind == tkSet || Kind == tkInt64;
  }
  // The "stored" condition alone (defaults are the writer's business).
  bool IsStored(TObject* Instance) const { return FStored ? FStored(*this, Instance) : FStoredConst; }

  // Raw access; the caller has checked the kind (the functions below do).
  long long GetOrd(TObject* Instance) const { return reinterpret_cast<TypInfoDetail::TOrdGet>(FGet)(*this, Instance); }
  void SetOrd(TObject* Instance, long long Value) const { reinterpret_cast<TypInfoDetail::TOrdSet>(FSet)(*this, Instance, Value); }
  double GetFloat(TObject* Instance) const { return reinterpret_cast<TypInfoDetail::TFloatGet>(FGet)(*this, Instance); }
  void SetFloat(TObject* Instance, double Value) const { reinterpret_cast<TypInfoDetail::TFloatSet>(FSet)(*this, Instance, Value); }
  String GetStr(TObject* Instance) const { return reinterpret_cast<TypInfoDetail::TStrGet>(FGet)(*this, Instance); }
  void SetStr(TObject* Instance, const String& Value) const { reinterpret_cast<TypInfoDetail::TStrSet>(FSet)(*this, Instance, Value); }
  TObject* GetObj(TObject* Instance) const { return reinterpret_cast<TypInfoDetail::TObjGet>(FGet)(*this, Instance); }
  void SetObj(TObject* Instance, TObject* Value) const { reinterpret_cast<TypInfoDetail::TObjSet>(FSet)(*this, Instance, Value); }
  TMethod GetMeth(TObject* Instance) const { return reinterpret_cast<TypInfoDetail::TMethodGet>(FGet)(*this, Instance); }
  void SetMeth(TObject* Instance, const TMethod& Value) const { reinterpret_cast<TypInfoDetail::TMethodSet>(FSet)(*this, Instance, Value); }

  // Modifiers used in the tables.
  template <class T>
  TPropInfo& Default(T Value) {
    HasDefault = true;
    if constexpr (std::is_floating_point_v<T>) {
      DefaultFloat = double(Value);
    } else if constexpr (requires { Value.Bits(); }) {
      DefaultOrd = Value.Bits();
    } else {
      DefaultOrd = static_cast<long long>(Value);
    }
    return *this;
  }
  TPropInfo& NoDefault() {
    HasDefault = false;
    return *this;
  }
  TPropInfo& Stored(bool Value) {
    FStored = nullptr;
    FStoredConst = Value;
    return *this;
  }
  template <class C>
  TPropInfo& Stored(bool (C::*Predicate)() const) {
    Keep(FStoredCode, Predicate);
    FStored = [](const TPropInfo& P, TObject* O) {
      return (static_cast<const C*>(O)->*Load<bool (C::*)() const>(P.FStoredCode))();
    };
    return *this;
  }
  TPropInfo& Stored(bool (*Predicate)(TObject* Instance)) {
    Keep(FStoredCode, Predicate);
    FStored = [](const TPropInfo& P, TObject* O) { return Load<bool (*)(TObject*)>(P.FStoredCode)(O); };
    return *this;
  }
  template <class E>
  TPropInfo& SetOf() {
    Kind = tkSet;
    EnumType = &EnumTypeInfo(static_cast<E*>(nullptr));
    return *this;
  }
  TPropInfo& Idents(const TIntIdents& Names) {
    IntIdents = &Names;
    return *this;
  }

 private:
  template <class C, class V>
  friend struct TypInfoDetail::Access;

  static constexpr std::size_t CodeSize = 2 * sizeof(void*);
  template <class M>
  static void Keep(unsigned char* Bytes, M Member) {
    static_assert(sizeof(M) <= CodeSize && std::is_trivially_copyable_v<M>);
    std::memcpy(Bytes, &Member, sizeof(M));
  }
  template <class M>
  static M Load(const unsigned char* Bytes) {
    M m;
    std::memcpy(&m, Bytes, sizeof(M));
    return m;
  }

  TypInfoDetail::TGenericFn FGet = nullptr;
  TypInfoDetail::TGenericFn FSet = nullptr;
  TypInfoDetail::TStoredFn FStored = nullptr;
  bool FStoredConst = true;
  alignas(void*) unsigned char FGetCode[CodeSize] = {};
  alignas(void*) unsigned char FSetCode[CodeSize] = {};
  alignas(void*) unsigned char FStoredCode[CodeSize] = {};
};

// The properties one class declares, in declaration order.
class TPropTable {
 public:
  TPropTable(TClass Class, std::initializer_list<TPropInfo> Props);
  const std::vector<TPropInfo>& Props() const { return FProps; }

 private:
  std::vector<TPropInfo> FProps;
};

// --- Event handlers by name ---------------------------------------------------------------------

struct THandlerEntry {
  const char* Name;
  TMethodCode Code;
  TEventSignature Signature;
};

// The handlers a form class offers to its form description, by name.
class THandlerTable {
 public:
  THandlerTable(TClass Class, std::initializer_list<THandlerEntry> Entries, std::vector<THandlerEntry> More = {});
  const std::vector<THandlerEntry>& Entries() const { return FEntries; }

 private:
  std::vector<THandlerEntry> FEntries;
};

// Looks along the class's ancestry; nullptr when no class declares the name (or the code).
const THandlerEntry* FindHandler(TClass Class, std::string_view Name);
const THandlerEntry* FindHandlerByCode(TClass Class, TMethodCode Code);

// The component fields of a form class (TButton* Button1), set by name when an owned component
// takes that name and cleared when it leaves: the form's fields follow its description.
class TFieldEntry {
 public:
  const char* Name = nullptr;
  // False (and nothing set) when Value is not of the field's class.
  bool Assign(TObject* Owner, TObject* Value) const { return FAssign(*this, Owner, Value); }

 private:
  template <class Cls>
  friend struct THandlerBuilder;
  bool (*FAssign)(const TFieldEntry&, TObject*, TObject*) = nullptr;
  alignas(void*) unsigned char FCode[sizeof(void*)] = {};
};

class TFieldTable {
 public:
  TFieldTable(TClass Class, std::initializer_list<TFieldEntry> Entries);
  const std::vector<TFieldEntry>& Entries() const { return FEntries; }

 private:
  std::vector<TFieldEntry> FEntries;
};

const TFieldEntry* FindComponentField(TClass Class, std::string_view Name);

// --- Building the tables ------------------------------------------------------------------------

namespace TypInfoDetail {

template <class T>
inline constexpr bool IsSet = false;
template <class E>
inline constexpr bool IsSet<TSet<E>> = true;
template <class T>
inline constexpr bool IsEvent = false;
template <class Sig>
inline constexpr bool IsEvent<TEvent<Sig>> = true;

enum class TValueClass { Ord, Float, Str, Obj, Method };

template <class V>
constexpr TValueClass ValueClassOf() {
  if constexpr (std::is_same_v<V, String>) return TValueClass::Str;
  else if constexpr (std::is_floating_point_v<V>) return TValueClass::Float;
  else if constexpr (std::is_pointer_v<V>) return TValueClass::Obj;
  else if constexpr (IsEvent<V>) return TValueClass::Method;
  else {
    static_assert(std::is_integral_v<V> || std::is_enum_v<V> || IsSet<V>, "type cannot be published");
    return TValueClass::Ord;
  }
}

// Kind and type details deduced from the C++ type of the value.
template <class V>
void Describe(TPropInfo& P) {
  if constexpr (std::is_same_v<V, String>) {
    P.Kind = tkLString;
  } else if constexpr (std::is_floating_point_v<V>) {
    P.Kind = tkFloat;
  } else if constexpr (std::is_pointer_v<V>) {
    using Object = std::remove_cv_t<std::remove_pointer_t<V>>;
    static_assert(std::is_base_of_v<TObject, Object>, "object properties hold TObject descendants");
    P.Kind = tkClass;
    P.PropClass = Object::StaticClass();
  } else if constexpr (IsEvent<V>) {
    P.Kind = tkMethod;
    P.Signature = V::Signature();
  } else if constexpr (IsSet<V>) {
    P.Kind = tkSet;
    P.EnumType = &EnumTypeInfo(static_cast<typename V::Element*>(nullptr));
  } else if constexpr (std::is_same_v<V, bool> || std::is_enum_v<V>) {
    P.Kind = tkEnumeration;
    P.EnumType = &EnumTypeInfo(static_cast<V*>(nullptr));
  } else if constexpr (std::is_same_v<V, char>) {
    P.Kind = tkChar;
  } else if constexpr (sizeof(V) > 4) {
    P.Kind = tkInt64;
  } else {
    P.Kind = tkInteger;
  }
}

template <class V>
long long ToOrd(const V& Value) {
  if constexpr (IsSet<V>) return Value.Bits();
  else return static_cast<long long>(Value);
}
template <class V>
V FromOrd(long long Value) {
  if constexpr (IsSet<V>) return V::FromBits(unsigned(Value));
  else if constexpr (std::is_same_v<V, bool>) return Value != 0;
  else return static_cast<V>(Value);
}

[[noreturn]] void RaiseWrongObjectClass(const TPropInfo& P, TObject* Value);

// The accessors of class C for a value of type V, instantiated per entry.
template <class C, class V>
struct Access {
  static constexpr TValueClass VC = ValueClassOf<V>();

  template <class R>
  static R Convert(const V& Value) {
    if constexpr (VC == TValueClass::Ord) return ToOrd(Value);
    else if constexpr (VC == TValueClass::Method) return Value.ToMethod();
    else return Value;
  }
  template <class A>
  static V Back(const A& Value, const TPropInfo& P) {
    if constexpr (VC == TValueClass::Ord) {
      return FromOrd<V>(Value);
    } else if constexpr (VC == TValueClass::Method) {
      return V::FromMethod(Value);
    } else if constexpr (VC == TValueClass::Obj) {
      V Typed = dynamic_cast<V>(Value);
      if (Value && !Typed) RaiseWrongObjectClass(P, Value);
      return Typed;
    } else {
      return V(Value);
    }
  }

  template <class R, class G>
  static R Get(const TPropInfo& P, TObject* O) {
    C* Self = static_cast<C*>(O);
    G g = TPropInfo::Load<G>(P.FGetCode);
    if constexpr (std::is_member_function_pointer_v<G>) return Convert<R>((Self->*g)());
    else return Convert<R>(Self->*g);
  }
  template <class A, class S>
  static void Set(const TPropInfo& P, TObject* O, A Value) {
    C* Self = static_cast<C*>(O);
    S s = TPropInfo::Load<S>(P.FSetCode);
    if constexpr (std::is_member_function_pointer_v<S>) (Self->*s)(Back(Value, P));
    else Self->*s = Back(Value, P);
  }

  template <class G>
  static TGenericFn Getter() {
    if constexpr (VC == TValueClass::Ord) return reinterpret_cast<TGenericFn>(&Get<long long, G>);
    else if constexpr (VC == TValueClass::Float) return reinterpret_cast<TGenericFn>(&Get<double, G>);
    else if constexpr (VC == TValueClass::Str) return reinterpret_cast<TGenericFn>(&Get<String, G>);
    else if constexpr (VC == TValueClass::Obj) return reinterpret_cast<TGenericFn>(&Get<TObject*, G>);
    else return reinterpret_cast<TGenericFn>(&Get<TMethod, G>);
  }
  template <class S>
  static TGenericFn Setter() {
    if constexpr (VC == TValueClass::Ord) return reinterpret_cast<TGenericFn>(&Set<long long, S>);
    else if constexpr (VC == TValueClass::Float) return reinterpret_cast<TGenericFn>(&Set<double, S>);
    else if constexpr (VC == TValueClass::Str) return reinterpret_cast<TGenericFn>(&Set<const String&, S>);
    else if constexpr (VC == TValueClass::Obj) return reinterpret_cast<TGenericFn>(&Set<TObject*, S>);
    else return reinterpret_cast<TGenericFn>(&Set<const TMethod&, S>);
  }

  template <class G, class S>
  static TPropInfo Make(const char* Name, G Getter_, S Setter_) {
    TPropInfo P;
    P.Name = Name;
    Describe<V>(P);
    TPropInfo::Keep(P.FGetCode, Getter_);
    P.FGet = Getter<G>();
    if constexpr (!std::is_null_pointer_v<S>) {
      TPropInfo::Keep(P.FSetCode, Setter_);
      P.FSet = Setter<S>();
    }
    return P;
  }
};

}  // namespace TypInfoDetail

// The entry builders, in scope inside VELBOR_PUBLISHED and VELBOR_HANDLERS (Self is the class).
template <class Cls>
struct TPublishedBuilder {
  using Self = Cls;

  // A getter and a setter (the setter may take the value or a const reference to it).
  template <class C, class T, class R, class A>
  static TPropInfo Prop(const char* Name, T (C::*Get)() const, R (C::*Set)(A)) {
    return TypInfoDetail::Access<C, std::remove_cvref_t<T>>::Make(Name, Get, Set);
  }
  template <class C, class T, class R, class A>
  static TPropInfo Prop(const char* Name, T (C::*Get)(), R (C::*Set)(A)) {
    return TypInfoDetail::Access<C, std::remove_cvref_t<T>>::Make(Name, Get, Set);
  }
  // A getter alone: read-only (sub-objects such as Font are usually published this way or with a
  // setter that assigns).
  template <class C, class T>
  static TPropInfo Prop(const char* Name, T (C::*Get)() const) {
    return TypInfoDetail::Access<C, std::remove_cvref_t<T>>::Make(Name, Get, nullptr);
  }
  template <class C, class T>
  static TPropInfo Prop(const char* Name, T (C::*Get)()) {
    return TypInfoDetail::Access<C, std::remove_cvref_t<T>>::Make(Name, Get, nullptr);
  }
  // A public (or befriended) field, read and written directly.
  template <class C, class T>
    requires(!std::is_function_v<T>)
  static TPropInfo Prop(const char* Name, T C::*Field) {
    return TypInfoDetail::Access<C, std::remove_cv_t<T>>::Make(Name, Field, Field);
  }
};

template <class Cls>
struct THandlerBuilder {
  using Self = Cls;
  template <class C, class T>
  static TFieldEntry Field(const char* Name, T* C::*Member) {
    static_assert(sizeof(Member) <= sizeof(TFieldEntry::FCode) && std::is_base_of_v<TObject, T>);
    TFieldEntry e;
    e.Name = Name;
    std::memcpy(e.FCode, &Member, sizeof(Member));
    e.FAssign = [](const TFieldEntry& E, TObject* Owner, TObject* Value) {
      T* C::*m;
      std::memcpy(&m, E.FCode, sizeof(m));
      T* typed = dynamic_cast<T*>(Value);
      if (Value && !typed) return false;
      static_cast<C*>(Owner)->*m = typed;
      return true;
    };
    return e;
  }
  template <class C, class R, class... A>
  static THandlerEntry Handler(const char* Name, R (C::*Method)(A...)) {
    using Generic = R (TObject::*)(A...);
    return THandlerEntry{Name, std::bit_cast<TMethodCode>(static_cast<Generic>(Method)),
                         &EventSignatureTag<R(A...)>};
  }
};

// These go in the class's namespace (the builders are the friends VELBOR_DECLARE_CLASS names).
#define VELBOR_PUBLISHED(Cls, ...)                                          \
  struct Cls##_PublishedTable_ : TPublishedBuilder<Cls> {                   \
    static const TPropTable Table;                                          \
  };                                                                        \
  const TPropTable Cls##_PublishedTable_::Table(Cls::StaticClass(), {__VA_ARGS__});

#define VELBOR_HANDLERS(Cls, ...)                                           \
  struct Cls##_HandlerTable_ : THandlerBuilder<Cls> {                       \
    static const THandlerTable Table;                                       \
  };                                                                        \
  const THandlerTable Cls##_HandlerTable_::Table(Cls::StaticClass(), {__VA_ARGS__});

// The same with More, a vector of entries appended to the listed ones: one method serving a table
// of handler names. More is read in the builder's scope, where Self's handlers are reachable.
#define VELBOR_HANDLERS_AND(Cls, More, ...)                                 \
  struct Cls##_HandlerTable_ : THandlerBuilder<Cls> {                       \
    static const THandlerTable Table;                                       \
  };                                                                        \
  const THandlerTable Cls##_HandlerTable_::Table(Cls::StaticClass(), {__VA_ARGS__}, More);

// A handler published under its own name.
#define VELBOR_HANDLER(Method) Handler(#Method, &Self::Method)

#define VELBOR_FIELDS(Cls, ...)                                             \
  struct Cls##_FieldTable_ : THandlerBuilder<Cls> {                         \
    static const TFieldTable Table;                                         \
  };                                                                        \
  const TFieldTable Cls##_FieldTable_::Table(Cls::StaticClass(), {__VA_ARGS__});

// A component field published under its own name.
#define VELBOR_FIELD(Member) Field(#Member, &Self::Member)

// --- Run-time access by name --------------------------------------------------------------------

// nullptr when the class (or its ancestry) publishes no such property. Single names only.
const TPropInfo* GetPropInfo(TClass Class, std::string_view Name);
const TPropInfo* GetPropInfo(const TObject* Instance, std::string_view Name);
// Own and inherited properties: ancestors' first, each class's in declaration order.
const std::vector<const TPropInfo*>& GetPropList(TClass Class);
bool IsPublishedProp(const TObject* Instance, std::string_view Name);
bool IsPublishedProp(TClass Class, std::string_view Name);
// The kind; EPropertyError when the property does not exist.
TTypeKind PropType(const TObject* Instance, std::string_view Name);
TTypeKind PropType(TClass Class, std::string_view Name);
bool PropIsType(const TObject* Instance, std::string_view Name, TTypeKind Kind);
bool PropIsType(TClass Class, std::string_view Name, TTypeKind Kind);

// Follows a path ("Font.Name") through object properties. Instance becomes the object that holds
// the last property. EPropertyError when a step does not exist, is not an object or is nil.
const TPropInfo* FindPropPath(TObject*& Instance, std::string_view Path);

// Access through the information (the kind is checked; EPropertyError on a mismatch, on a
// read-only property, or on an identifier that is not one of the type's).
long long GetOrdProp(TObject* Instance, const TPropInfo* Prop);
void SetOrdProp(TObject* Instance, const TPropInfo* Prop, long long Value);
String GetEnumProp(TObject* Instance, const TPropInfo* Prop);
void SetEnumProp(TObject* Instance, const TPropInfo* Prop, const String& Value);
String GetSetProp(TObject* Instance, const TPropInfo* Prop, bool Brackets = true);
void SetSetProp(TObject* Instance, const TPropInfo* Prop, const String& Value);
String GetStrProp(TObject* Instance, const TPropInfo* Prop);
void SetStrProp(TObject* Instance, const TPropInfo* Prop, const String& Value);
double GetFloatProp(TObject* Instance, const TPropInfo* Prop);
void SetFloatProp(TObject* Instance, const TPropInfo* Prop, double Value);
long long GetInt64Prop(TObject* Instance, const TPropInfo* Prop);
void SetInt64Prop(TObject* Instance, const TPropInfo* Prop, long long Value);
TObject* GetObjectProp(TObject* Instance, const TPropInfo* Prop);
void SetObjectProp(TObject* Instance, const TPropInfo* Prop, TObject* Value);
TMethod GetMethodProp(TObject* Instance, const TPropInfo* Prop);
void SetMethodProp(TObject* Instance, const TPropInfo* Prop, const TMethod& Value);
Variant GetPropValue(TObject* Instance, const TPropInfo* Prop);
void SetPropValue(TObject* Instance, const TPropInfo* Prop, const Variant& Value);

// The same by name or path; EPropertyError names the property when it does not exist.
long long GetOrdProp(TObject* Instance, std::string_view Path);
void SetOrdProp(TObject* Instance, std::string_view Path, long long Value);
String GetEnumProp(TObject* Instance, std::string_view Path);
void SetEnumProp(TObject* Instance, std::string_view Path, const String& Value);
String GetSetProp(TObject* Instance, std::string_view Path, bool Brackets = true);
void SetSetProp(TObject* Instance, std::string_view Path, const String& Value);
String GetStrProp(TObject* Instance, std::string_view Path);
void SetStrProp(TObject* Instance, std::string_view Path, const String& Value);
double GetFloatProp(TObject* Instance, std::string_view Path);
void SetFloatProp(TObject* Instance, std::string_view Path, double Value);
long long GetInt64Prop(TObject* Instance, std::string_view Path);
void SetInt64Prop(TObject* Instance, std::string_view Path, long long Value);
TObject* GetObjectProp(TObject* Instance, std::string_view Path);
void SetObjectProp(TObject* Instance, std::string_view Path, TObject* Value);
TMethod GetMethodProp(TObject* Instance, std::string_view Path);
void SetMethodProp(TObject* Instance, std::string_view Path, const TMethod& Value);
// Enumerations give their identifier, sets their "[a,b]" text, booleans a Boolean; object and
// method properties have no Variant value (EPropertyError).
Variant GetPropValue(TObject* Instance, std::string_view Path);
void SetPropValue(TObject* Instance, std::string_view Path, const Variant& Value);

// Identifiers of enumerations and sets.
String GetEnumName(const TEnumType* Type, long long Value);  // "" outside the type
int GetEnumValue(const TEnumType* Type, std::string_view Name);  // -1 when unknown
// "[a,b]" (or "a,b"), identifiers in value order.
String SetToString(const TEnumType* Type, unsigned Bits, bool Brackets = true);
// Accepts "[a, b]", "a,b", "[]", ""; EPropertyError (naming the identifier) on an unknown one.
unsigned StringToSet(const TEnumType* Type, std::string_view Text);

// True when the value equals what an unwritten property reads as (its default, "", 0, nil,
// unassigned). Ordinals without a default are never at their default.
bool IsDefaultPropValue(TObject* Instance, const TPropInfo* Prop);
// True for identifier rules: a letter or "_", then letters, digits and "_".
bool IsValidIdent(std::string_view Ident);
