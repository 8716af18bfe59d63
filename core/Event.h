// This file implements events: a method of an object, called with the sender first, comparable
// for equality (same object and same method) and empty when unassigned; and TMethod, the same pair
// with its signature erased, which published method properties and handler tables carry.
#pragma once

#include <bit>
#include <utility>

#include "Object.h"

// The code of a method with its signature erased. Member-function pointers of any signature
// convert to it and back without loss; only the round trip to the original type is meaningful.
using TMethodCode = void (TObject::*)();

// A method value: the object and the code. Equal when both are equal; empty when either is null.
struct TMethod {
  TMethodCode Code = nullptr;
  TObject* Data = nullptr;

  bool Assigned() const { return Code != nullptr && Data != nullptr; }
  bool operator==(const TMethod& Other) const { return Code == Other.Code && Data == Other.Data; }
};

// One address per event signature, so that a method value is only bound to an event of the
// signature its code was taken from.
template <class Signature>
inline constexpr char EventSignatureTag = 0;
using TEventSignature = const void*;

template <class Signature>
class TEvent;

template <class R, class... Args>
class TEvent<R(Args...)> {
 public:
  using Method = R (TObject::*)(Args...);

  TEvent() = default;
  TEvent(std::nullptr_t) {}
  // The class must derive from TObject along its first (only) base chain.
  template <class C>
  TEvent(C* Object, R (C::*Handler)(Args...))
      : FObject(Object), FMethod(static_cast<Method>(Handler)) {}

  explicit operator bool() const { return FObject != nullptr && FMethod != nullptr; }
  bool Assigned() const { return bool(*this); }

  R operator()(Args... args) const { return (FObject->*FMethod)(std::forward<Args>(args)...); }

  bool operator==(const TEvent& Other) const { return FObject == Other.FObject && FMethod == Other.FMethod; }
  bool operator==(std::nullptr_t) const { return !Assigned(); }

  TObject* Object() const { return FObject; }
  Method Code() const { return FMethod; }

  static TEventSignature Signature() { return &EventSignatureTag<R(Args...)>; }
  TMethod ToMethod() const { return TMethod{std::bit_cast<TMethodCode>(FMethod), FObject}; }
  // The caller vouches that Value's code was taken from a method of this signature.
  static TEvent FromMethod(const TMethod& Value) {
    TEvent e;
    e.FObject = Value.Data;
    e.FMethod = std::bit_cast<Method>(Value.Code);
    return e;
  }

 private:
  TObject* FObject = nullptr;
  Method FMethod = nullptr;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;
