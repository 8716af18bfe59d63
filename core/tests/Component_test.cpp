// Tests of TComponent and TPersistent: ownership and freeing, names, notifications, free
// notifications, owner fields, and Assign.
#include <gtest/gtest.h>

#include "Component.h"
#include "Modules.h"

namespace {

using TLog = std::vector<String>;

// Records its notifications and its destruction in a shared log.
class TProbe : public TComponent {
  VELBOR_DECLARE_CLASS(TProbe, TComponent)
 public:
  explicit TProbe(TComponent* AOwner, TLog* ALog = nullptr, const String& AName = String())
      : TComponent(AOwner), Log(ALog) {
    SetName(AName);
  }
  ~TProbe() override {
    if (Log) Log->push_back("~" + Name());
  }
  // A pointer to a component it does not own, cleared on removal.
  void SetBuddy(TComponent* Value) {
    if (Buddy) Buddy->RemoveFreeNotification(this);
    Buddy = Value;
    if (Buddy) Buddy->FreeNotification(this);
  }
  TLog* Log;
  TComponent* Buddy = nullptr;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Log) Log->push_back(Name() + (Operation == opInsert ? "+" : "-") + AComponent->Name());
    if (Operation == opRemove && AComponent == Buddy) Buddy = nullptr;
  }
};
VELBOR_IMPLEMENT_CLASS(TProbe)

TEST(ComponentOwnership, OwnedComponentsAreListedInCreationOrderAndFreedWithTheOwner) {
  TLog log;
  auto* owner = new TProbe(nullptr, &log, "Owner");
  auto* a = new TProbe(owner, &log, "A");
  auto* b = new TProbe(owner, &log, "B");
  auto* c = new TProbe(a, &log, "C");  // owned by A: freed with it
  ASSERT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(c->Owner(), a);
  EXPECT_EQ(owner->FindComponent("b"), b);
  EXPECT_EQ(owner->FindComponent("C"), nullptr);  // not owned directly
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  EXPECT_THROW(owner->Components(2), EListError);
  log.clear();
  delete owner;
  // A destructor's own body runs first, then the owned components go, last created first; the
  // owner's other components are not told one by one.
  EXPECT_EQ(log, (TLog{"~Owner", "~B", "~A", "~C"}));
}

TEST(ComponentOwnership, InsertAndRemoveNotifyTheOwnerAndItsComponents) {
  TLog log;
  TProbe owner(nullptr, &log, "Owner");
  TProbe first(&owner, &log, "First");
  log.clear();
  auto* second = new TProbe(nullptr, &log, "Second");
  owner.InsertComponent(second);
  // Every owned component hears of it, the newcomer included, from the last to the first.
  EXPECT_EQ(log, (TLog{"Second+Second", "First+Second", "Owner+Second"}));
  log.clear();
  delete second;  // leaves its owner, which tells the others
  EXPECT_EQ(log, (TLog{"~Second", "First-Second", "Owner-Second"}));
  EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(ComponentOwnership, InsertingMovesAComponentBetweenOwners) {
  TProbe one(nullptr), two(nullptr);
  auto* c = new TProbe(&one, nullptr, "Item");
  two.InsertComponent(c);
  EXPECT_EQ(one.ComponentCount(), 0);
  EXPECT_EQ(two.FindComponent("Item"), c);
  two.RemoveComponent(c);
  EXPECT_EQ(c->Owner(), nullptr);
  delete c;
  EXPECT_EQ(two.ComponentCount(), 0);
}

TEST(ComponentNames, FollowIdentifierRulesAndAreUniqueWithinTheOwner) {
  TProbe owner(nullptr);
  TProbe a(&owner), b(&owner);
  const char* invalid[] = {"1abc", "a b", "a-b", "é"_a, "a.b"};
  for (const char* name : invalid) {
    try {
      a.SetName(name);
      ADD_FAILURE() << name;
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message, "'" + String(name) + "' n'est pas un nom de composant valide");
    }
  }
  a.SetName("_Table1");
  try {
    b.SetName("_TABLE1");
    ADD_FAILURE();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message, "Un composant nommé _TABLE1 existe déjà"_a);
  }
  EXPECT_EQ(b.Name(), "");
  a.SetName("_TABLE1");  // its own name in another case
  EXPECT_EQ(a.Name(), "_TABLE1");
  a.SetName("");
  b.SetName("");  // unnamed components never clash
  // A component that already has a name cannot join an owner that uses it.
  TProbe dup(nullptr, nullptr, "Twin");
  TProbe twin(&owner, nullptr, "Twin");
  EXPECT_THROW(owner.InsertComponent(&dup), EComponentError);
  EXPECT_EQ(dup.Owner(), nullptr);
}

// An owner that lets any name in, so that the ownership check has something to find.
class TLenientOwner : public TComponent {
 public:
  TLenientOwner() : TComponent(nullptr) {}
  using TComponent::CheckOwnership;

 protected:
  void ValidateRename(TComponent*, const String&, const String&) override {}
};

TEST(ComponentNames, TheOwnershipCheckFindsNamesUsedTwice) {
  struct Case {
    std::vector<String> Names;
    bool Holds;
  };
  std::vector<String> many;
  for (int i = 0; i < 2000; ++i) many.push_back("Field" + std::to_string(i));
  std::vector<String> manyAndTwice = many;
  manyAndTwice.push_back("FIELD1999");
  const Case cases[] = {
      {{"Table1", "Table2", "Query1"}, true},
      {{"Table1", "TABLE1"}, false},        // names compare without case
      {{"", "", "A"}, true},                // unnamed components never clash
      {{"A", "B", "a"}, false},
      {{"Table_1", "Table1"}, true},
      {many, true},
      {manyAndTwice, false},
  };
  for (const Case& c : cases) {
    TLenientOwner owner;
    for (const String& name : c.Names) (new TComponent(&owner))->SetName(name);
    EXPECT_EQ(owner.CheckOwnership(), c.Holds) << c.Names.front() << " ... " << c.Names.back();
  }
}

TEST(FreeNotification, ClearsReferencesToAFreedComponentInEitherOrder) {
  TLog log;
  auto* target = new TProbe(nullptr, &log, "Target");
  auto* holder = new TProbe(nullptr, &log, "Holder");
  holder->SetBuddy(target);
  EXPECT_TRUE(target->ComponentState().Contains(csFreeNotification));
  delete target;
  EXPECT_EQ(holder->Buddy, nullptr);
  EXPECT_FALSE(holder->ComponentState().Contains(csFreeNotification));

  // The holder goes first: the target forgets it and tells no freed object when it goes.
  target = new TProbe(nullptr, &log, "Target2");
  holder->SetBuddy(target);
  delete holder;
  EXPECT_FALSE(target->ComponentState().Contains(csFreeNotification));
  log.clear();
  delete target;
  EXPECT_EQ(log, (TLog{"~Target2"}));
}

TEST(FreeNotification, RemoveFreeNotificationStopsTheNotice) {
  TLog log;
  TProbe holder(nullptr, &log, "Holder");
  auto* target = new TProbe(nullptr, &log, "Target");
  holder.SetBuddy(target);
  target->RemoveFreeNotification(&holder);
  log.clear();
  delete target;
  EXPECT_EQ(log, (TLog{"~Target"}));
  EXPECT_EQ(holder.Buddy, target);  // it was not told: the pointer is stale, as asked
}

TEST(ComponentState, DestroyingMarksTheTreeAndDesigningPropagates) {
  TProbe owner(nullptr);
  auto* child = new TProbe(&owner);
  owner.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  auto* late = new TProbe(&owner);  // joins a designing owner
  EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
  owner.Destroying();
  EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
}

class TFormWithFields : public TComponent {
  VELBOR_DECLARE_CLASS(TFormWithFields, TComponent)
 public:
  using TComponent::TComponent;
  TProbe* Button1 = nullptr;
  TComponent* Other = nullptr;
};
VELBOR_IMPLEMENT_CLASS(TFormWithFields)
VELBOR_FIELDS(TFormWithFields, VELBOR_FIELD(Button1), VELBOR_FIELD(Other))

TEST(ComponentFields, FollowTheOwnedComponentOfThatName) {
  TFormWithFields form(nullptr);
  auto* probe = new TProbe(&form, nullptr, "Button1");
  EXPECT_EQ(form.Button1, probe);
  probe->SetName("Renamed");
  EXPECT_EQ(form.Button1, nullptr);
  probe->SetName("button1");
  EXPECT_EQ(form.Button1, probe);
  delete probe;
  EXPECT_EQ(form.Button1, nullptr);
  // A component of the wrong class leaves the field alone.
  TComponent plain(&form);
  plain.SetName("Button1");
  EXPECT_EQ(form.Button1, nullptr);
}

TEST(ModuleRegistry, FindsLiveModulesByNameUntilTheyAreFreed) {
  auto* module = new TProbe(nullptr, nullptr, "dmTest");
  auto* query = new TProbe(module, nullptr, "qZone");
  RegisterModule(module);
  RegisterModule(module);
  EXPECT_EQ(FindGlobalComponent("DMTEST"), module);
  EXPECT_EQ(FindGlobalReference("dmTest.qzone"), query);
  EXPECT_EQ(FindGlobalReference("dmTest.qNone"), nullptr);
  int count = ModuleCount();
  delete module;
  EXPECT_EQ(ModuleCount(), count - 1);
  EXPECT_EQ(FindGlobalComponent("dmTest"), nullptr);
}

class TColour : public TPersistent {
  VELBOR_DECLARE_CLASS(TColour, TPersistent)
 public:
  int Value = 0;
  void Assign(TPersistent* Source) override {
    if (auto* c = dynamic_cast<TColour*>(Source)) Value = c->Value;
    else TPersistent::Assign(Source);
  }
};
VELBOR_IMPLEMENT_CLASS(TColour)

class TPen : public TPersistent {
  VELBOR_DECLARE_CLASS(TPen, TPersistent)
 public:
  int Width = 1;

 protected:
  void AssignTo(TPersistent* Dest) override {
    if (auto* c = dynamic_cast<TColour*>(Dest)) c->Value = Width;  // a pen knows how to fill a colour
    else TPersistent::AssignTo(Dest);
  }
};
VELBOR_IMPLEMENT_CLASS(TPen)

TEST(PersistentAssign, CopiesThroughAssignOrAssignToAndRefusesTheRest) {
  TColour a, b;
  b.Value = 7;
  a.Assign(&b);
  EXPECT_EQ(a.Value, 7);
  TPen pen;
  pen.Width = 3;
  a.Assign(&pen);  // TColour does not know TPen: TPen's AssignTo does it
  EXPECT_EQ(a.Value, 3);
  TPen other;
  try {
    other.Assign(&a);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Impossible d'affecter un TColour à un TPen"_a);
  }
  EXPECT_THROW(other.Assign(nullptr), EConvertError);
}

}  // namespace
