// This file implements TPersistent: objects that can be copied onto one another (Assign) and
// that take part in form descriptions beyond their published properties (DefineProperties).
#pragma once

#include "Object.h"

class TFiler;

class TPersistent : public TObject {
  VELBOR_DECLARE_CLASS(TPersistent, TObject)
 public:
  TPersistent() = default;

  // Copies Source onto this object. The base asks Source to do it (AssignTo), and an object that
  // knows neither side raises EConvertError; a null Source raises too.
  virtual void Assign(TPersistent* Source);
  // The name that designers and messages use: the owner's path, then this object's name.
  virtual String GetNamePath();
  // The object this one belongs to (the component of a sub-object, the collection of an item).
  virtual TPersistent* GetOwner() { return nullptr; }

 protected:
  friend class TReader;
  friend class TWriter;
  // Copies this object onto Dest; the fallback of Assign.
  virtual void AssignTo(TPersistent* Dest);
  // Declares the properties a form description holds beyond the published ones.
  virtual void DefineProperties(TFiler*) {}

  [[noreturn]] void AssignError(TPersistent* Source);
};
