// This file implements the base classes of the utility controls (TOxComponent, TOxGraphicControl,
// TOxCustomControl, each with the design-time AboutNorvix property), the library's exception base
// ENorvixException, and two readers of a module's file name and version block.
#pragma once

#include "Component.h"
#include "Controls.h"
#include "Exceptions.h"

// The library's exception base: a plain exception with a message.
VELBOR_EXCEPTION(ENorvixException, Exception)

// AboutNorvix is a design-time property that holds nothing: a form description may mention it, it
// reads back empty and is never written.
#define VELBOR_OX_ABOUT_PROPERTY Prop("AboutNorvix", &Self::AboutNorvix, &Self::SetAboutNorvix).Stored(false)

class TOxComponent : public TComponent {
  VELBOR_DECLARE_CLASS(TOxComponent, TComponent)
 public:
  explicit TOxComponent(TComponent* AOwner) : TComponent(AOwner) {}
  String AboutNorvix() const { return String(); }
  void SetAboutNorvix(const String&) {}
};

class TOxGraphicControl : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TOxGraphicControl, TGraphicControl)
 public:
  explicit TOxGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner) {}
  String AboutNorvix() const { return String(); }
  void SetAboutNorvix(const String&) {}
};

class TOxCustomControl : public TCustomControl {
  VELBOR_DECLARE_CLASS(TOxCustomControl, TCustomControl)
 public:
  explicit TOxCustomControl(TComponent* AOwner) : TCustomControl(AOwner) {}
  String AboutNorvix() const { return String(); }
  void SetAboutNorvix(const String&) {}
};

// The full file name of a loaded module (the program itself for a null module).
String ModuleFileName(HMODULE Module);
// Copies the fixed part of a file's version block; false when the file has none or the block has
// another size.
bool ReadFixedVersionInfo(const String& FileName, VS_FIXEDFILEINFO& Info);
