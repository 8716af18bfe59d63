// This file implements the components that the form reader and writer are exercised with: a
// widget with a published value of every kind, a defined list and binary data, a nested box, and
// a module binding handlers and a component field by name. The reader's tests and its fuzz target
// share them; a program includes this file once.
#pragma once

#include <algorithm>

#include "Collection.h"
#include "Filer.h"
#include "Streams.h"
#include "Strings.h"

namespace {

enum TShade { shLight, shDark };
VELBOR_ENUM(TShade, "shLight", "shDark")
enum TEdge { edLeft, edTop, edRight, edBottom };
VELBOR_ENUM(TEdge, "edLeft", "edTop", "edRight", "edBottom")
using TEdges = TSet<TEdge>;

class TFontBox : public TPersistent {
  VELBOR_DECLARE_CLASS(TFontBox, TPersistent)
 public:
  String Name = "Arial";
  int Size = 8;
};
VELBOR_IMPLEMENT_CLASS(TFontBox)
VELBOR_PUBLISHED(TFontBox, Prop("Name", &Self::Name), Prop("Size", &Self::Size).Default(8))

class TLine : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TLine, TCollectionItem)
 public:
  explicit TLine(TCollection* Collection) : TCollectionItem(Collection) {}
  String Caption;
  int Width = 0;
};
VELBOR_IMPLEMENT_CLASS(TLine)
VELBOR_PUBLISHED(TLine, Prop("Caption", &Self::Caption), Prop("Width", &Self::Width).Default(0))

class TWidget : public TComponent {
  VELBOR_DECLARE_CLASS(TWidget, TComponent)
 public:
  explicit TWidget(TComponent* AOwner)
      : TComponent(AOwner), FLines(new TStringList), FLineItems(this, TLine::StaticClass()) {
    ++Live;
  }
  ~TWidget() override {
    delete FLines;
    --Live;
  }
  static inline int Live = 0;

  int GetWidth() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  TFontBox* GetFont() { return &FFont; }
  TStringList* GetLines() const { return FLines; }
  void SetLines(TStringList* Value) { FLines->Assign(Value); }
  TOwnedCollection* GetItems() { return &FLineItems; }
  TWidget* GetBuddy() const { return FBuddy; }
  void SetBuddy(TWidget* Value) {
    if (FBuddy) FBuddy->RemoveFreeNotification(this);
    FBuddy = Value;
    if (FBuddy) FBuddy->FreeNotification(this);
  }
  TLine* Line(int Index) { return static_cast<TLine*>(FLineItems.Items(Index)); }

  long long Big = 0;
  double Ratio = 0;
  String Caption;
  TShade Shade = shLight;
  TEdges Edges;
  bool Enabled = true;
  TNotifyEvent OnClick;
  int Heights[4] = {0, 0, 0, 0};
  String Data;
  int LoadedCount = 0;
  TWidget* BuddyAtLoad = nullptr;
  bool LoadingWhileRead = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
  }
  void Loaded() override {
    LoadingWhileRead = ComponentState().Contains(csLoading);
    TComponent::Loaded();
    ++LoadedCount;
    BuddyAtLoad = FBuddy;
  }
  void DefineProperties(TFiler* Filer) override {
    TComponent::DefineProperties(Filer);
    auto* ancestor = dynamic_cast<TWidget*>(Filer->Ancestor());
    bool heights = ancestor ? !std::equal(Heights, Heights + 4, ancestor->Heights)
                            : std::any_of(Heights, Heights + 4, [](int h) { return h != 0; });
    Filer->DefineProperty("EdgeHeights", TReaderProc(this, &TWidget::ReadHeights),
                          TWriterProc(this, &TWidget::WriteHeights), heights);
    Filer->DefineBinaryProperty("Data", TStreamProc(this, &TWidget::ReadData),
                                TStreamProc(this, &TWidget::WriteData), ancestor ? Data != ancestor->Data : !Data.empty());
  }

 private:
  void ReadHeights(TReader* Reader) {
    Reader->ReadListBegin();
    for (int& h : Heights) h = Reader->ReadInteger();
    Reader->ReadListEnd();
  }
  void WriteHeights(TWriter* Writer) {
    Writer->WriteListBegin();
    for (int h : Heights) Writer->WriteInteger(h);
    Writer->WriteListEnd();
  }
  void ReadData(TStream* Stream) {
    Data.resize(std::size_t(Stream->Size()));
    Stream->ReadBuffer(Data.data(), Stream->Size());
  }
  void WriteData(TStream* Stream) { Stream->WriteBuffer(Data.data(), std::int64_t(Data.size())); }

  int FWidth = 0;
  TFontBox FFont;
  TStringList* FLines;
  TOwnedCollection FLineItems;
  TWidget* FBuddy = nullptr;
};
VELBOR_IMPLEMENT_CLASS(TWidget)
VELBOR_PUBLISHED(TWidget,
  Prop("Width", &Self::GetWidth, &Self::SetWidth).Default(0),
  Prop("Big", &Self::Big).Default(0),
  Prop("Ratio", &Self::Ratio),
  Prop("Caption", &Self::Caption),
  Prop("Shade", &Self::Shade).Default(shLight),
  Prop("Edges", &Self::Edges).Default(TEdges{}),
  Prop("Enabled", &Self::Enabled).Default(true),
  Prop("Font", &Self::GetFont),
  Prop("Lines", &Self::GetLines, &Self::SetLines),
  Prop("Items", &Self::GetItems),
  Prop("Buddy", &Self::GetBuddy, &Self::SetBuddy),
  Prop("OnClick", &Self::OnClick))

// A component that lives inside another (a panel's control): listed by its parent.
class TBox : public TWidget {
  VELBOR_DECLARE_CLASS(TBox, TWidget)
 public:
  using TWidget::TWidget;
  TComponent* GetParentComponent() const override { return FParent; }
  bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* Value) override {
    FParent = Value;
    if (auto* box = dynamic_cast<TBox*>(Value)) box->Kids.push_back(this);
  }
  void GetChildren(TGetChildProc Proc, TComponent* Root) override {
    for (TBox* kid : Kids) {
      if (kid->Owner() == Root) Proc(kid);
    }
  }
  std::vector<TBox*> Kids;

 private:
  TComponent* FParent = nullptr;
};
VELBOR_IMPLEMENT_CLASS(TBox)

class TModule : public TComponent {
  VELBOR_DECLARE_CLASS(TModule, TComponent)
 public:
  using TComponent::TComponent;
  void WidgetClick(TObject* Sender) { Clicked = Sender; }
  void OtherClick(TObject*) {}
  void Unlisted(TObject*) {}
  void Validate(TObject*, bool&) {}
  void GetChildren(TGetChildProc Proc, TComponent*) override {
    for (int i = 0; i < ComponentCount(); ++i) {
      TComponent* c = Components(i);
      if (!c->HasParent() || c->GetParentComponent() == this) Proc(c);
    }
  }
  TObject* Clicked = nullptr;
  TWidget* Widget1 = nullptr;
  int LoadedCount = 0;

 protected:
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCount;
  }
};
VELBOR_IMPLEMENT_CLASS(TModule)
VELBOR_HANDLERS(TModule, VELBOR_HANDLER(WidgetClick), VELBOR_HANDLER(OtherClick), VELBOR_HANDLER(Validate))
VELBOR_FIELDS(TModule, VELBOR_FIELD(Widget1))

class TModuleChild : public TModule {
  VELBOR_DECLARE_CLASS(TModuleChild, TModule)
 public:
  using TModule::TModule;
};
VELBOR_IMPLEMENT_CLASS(TModuleChild)

}  // namespace
