// This file implements TPersistent.
#include "Persistent.h"

#include "Exceptions.h"

VELBOR_IMPLEMENT_CLASS(TPersistent)

void TPersistent::Assign(TPersistent* Source) {
  if (Source) Source->AssignTo(this);
  else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  String from = Source ? Source->ClassName() : String("nil");
  throw EConvertError("Impossible d'affecter un "_a + from + " à un "_a + ClassName());
}

String TPersistent::GetNamePath() {
  TPersistent* owner = GetOwner();
  String ownerPath = owner ? owner->GetNamePath() : String();
  return ownerPath.empty() ? ClassName() : ownerPath + "." + ClassName();
}
