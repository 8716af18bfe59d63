// Tests of class information, the class registry, virtual construction and events.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "Component.h"
#include "Event.h"
#include "Exceptions.h"
#include "Object.h"
#include "Strings.h"

namespace {

class TShape : public TObject {
  VELBOR_DECLARE_CLASS(TShape, TObject)
 public:
  TShape() = default;
};

class TCircle : public TShape {
  VELBOR_DECLARE_CLASS(TCircle, TShape)
 public:
  explicit TCircle(TObject* AOwner) : Owner(AOwner) {}
  TObject* Owner;
};

class TAbstractThing : public TObject {
  VELBOR_DECLARE_CLASS(TAbstractThing, TObject)
 public:
  virtual void Run() = 0;
};

VELBOR_IMPLEMENT_CLASS(TShape)
VELBOR_IMPLEMENT_CLASS(TCircle)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TAbstractThing)

// A class whose information is defined below the code that reads it at start-up.
class TLateShape : public TShape {
  VELBOR_DECLARE_CLASS(TLateShape, TShape)
};

// Read while this file is initialised, as registrations do: classes of other files, initialised in
// an order the compiler and linker choose, and one defined further down this file.
struct TStartupNames {
  String Component, StringList, Late, LateParent;
};

String NameAtStartup(TClass Class) { return Class && Class->Name ? String(Class->Name) : String("<unset>"); }

const TStartupNames StartupNames = {NameAtStartup(TComponent::StaticClass()),
                                    NameAtStartup(TStringList::StaticClass()),
                                    NameAtStartup(TLateShape::StaticClass()),
                                    NameAtStartup(TLateShape::StaticClass()->Parent)};

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TLateShape)

TEST(ClassInfo, InPlaceBeforeAnyFileIsInitialised) {
  EXPECT_EQ(StartupNames.Component, "TComponent");
  EXPECT_EQ(StartupNames.StringList, "TStringList");
  EXPECT_EQ(StartupNames.Late, "TLateShape");
  EXPECT_EQ(StartupNames.LateParent, "TShape");
}

TEST(ClassInfo, AncestryByClassAndByName) {
  TCircle c(nullptr);
  EXPECT_EQ(c.ClassName(), "TCircle");
  EXPECT_EQ(c.ClassParent(), TShape::StaticClass());
  EXPECT_TRUE(c.InheritsFrom(TObject::StaticClass()));
  EXPECT_TRUE(c.InheritsFrom(TShape::StaticClass()));
  EXPECT_FALSE(TShape().InheritsFrom(TCircle::StaticClass()));
  EXPECT_TRUE(c.InheritsFrom(String("tshape")));
  EXPECT_TRUE(c.InheritsFrom(String("TOBJECT")));
  EXPECT_FALSE(c.InheritsFrom(String("TSquare")));
  EXPECT_TRUE(c.ClassNameIs("tcircle"));
}

TEST(ClassInfo, VirtualConstructionPassesTheOwner) {
  TShape owner;
  TClass cls = TCircle::StaticClass();
  std::unique_ptr<TObject> made(cls->Create(&owner));
  auto* circle = dynamic_cast<TCircle*>(made.get());
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(circle->Owner, &owner);

  std::unique_ptr<TObject> shape(TShape::StaticClass()->Create());
  EXPECT_EQ(shape->ClassName(), "TShape");
  EXPECT_THROW(TAbstractThing::StaticClass()->Create(), EInvalidOperation);
}

TEST(ClassRegistry, FindsRegisteredClassesWithoutRegardToCase) {
  RegisterClass(TCircle::StaticClass());
  EXPECT_EQ(GetClass("tcircle"), TCircle::StaticClass());
  EXPECT_EQ(FindClass("TCIRCLE"), TCircle::StaticClass());
  EXPECT_EQ(GetClass("TNowhere"), nullptr);
  EXPECT_THROW(FindClass("TNowhere"), EClassNotFound);
  UnRegisterClass(TCircle::StaticClass());
  EXPECT_EQ(GetClass("TCircle"), nullptr);
}

// A class that a static object unregisters when the program ends, as a library's finalisation
// does. The object is made long before the registry's first use; only the registry's own lifetime
// keeps the registry there for its destructor (a registry freed before it was read freed, then
// erased from: heap corruption at exit, which the sanitizer build reports).
class TExitShape : public TShape {
  VELBOR_DECLARE_CLASS(TExitShape, TShape)
};
VELBOR_IMPLEMENT_CLASS(TExitShape)

struct TUnregistersAtExit {
  ~TUnregistersAtExit() {
    if (!Armed) return;
    bool found = GetClass("TExitShape") == TExitShape::StaticClass();
    UnRegisterClass(TExitShape::StaticClass());
    if (!found || GetClass("texitshape") != nullptr) {
      std::fputs("ClassRegistry: the registry did not hold its class when the program ended\n", stderr);
      std::_Exit(1);
    }
  }
  bool Armed = false;
} UnregistersAtExit;

// The check runs in the object's destructor, after every test: a failure there ends the program
// with status 1.
TEST(ClassRegistry, OutlivesTheStaticObjectsThatUseItWhenTheProgramEnds) {
  RegisterClass(TExitShape::StaticClass());
  ASSERT_EQ(GetClass("TExitShape"), TExitShape::StaticClass());
  UnregistersAtExit.Armed = true;
}

class TButtonLike : public TObject {
 public:
  TNotifyEvent OnClick;
  void Click() {
    if (OnClick) OnClick(this);
  }
};

class TFormLike : public TObject {
 public:
  void ButtonClick(TObject* Sender) { Clicks.push_back(Sender); }
  void OtherClick(TObject*) {}
  std::vector<TObject*> Clicks;
};

TEST(Events, CallTheBoundMethodWithTheSender) {
  TButtonLike button;
  TFormLike form;
  button.Click();  // unassigned: nothing happens
  button.OnClick = TNotifyEvent(&form, &TFormLike::ButtonClick);
  button.Click();
  ASSERT_EQ(form.Clicks.size(), 1u);
  EXPECT_EQ(form.Clicks[0], &button);
}

TEST(Events, EqualOnlyForTheSameObjectAndMethod) {
  TFormLike a, b;
  TNotifyEvent empty;
  EXPECT_FALSE(empty.Assigned());
  EXPECT_TRUE(empty == nullptr);
  EXPECT_EQ(TNotifyEvent(&a, &TFormLike::ButtonClick), TNotifyEvent(&a, &TFormLike::ButtonClick));
  EXPECT_FALSE(TNotifyEvent(&a, &TFormLike::ButtonClick) == TNotifyEvent(&b, &TFormLike::ButtonClick));
  EXPECT_FALSE(TNotifyEvent(&a, &TFormLike::ButtonClick) == TNotifyEvent(&a, &TFormLike::OtherClick));
}

class TValidator : public TObject {
 public:
  void Check(TObject*, const String& Text, bool& Accept) { Accept = Text == "ok"; }
};

TEST(Events, VarParametersAreReferences) {
  TValidator v;
  TEvent<void(TObject*, const String&, bool&)> onCheck(&v, &TValidator::Check);
  bool accept = false;
  onCheck(nullptr, "ok", accept);
  EXPECT_TRUE(accept);
  onCheck(nullptr, "no", accept);
  EXPECT_FALSE(accept);
}

}  // namespace
