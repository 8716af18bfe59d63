// This file implements the fuzz target of the form-description reader: the text parser, the
// writer's round trip of what it read, and the creation of components with every kind of
// published value from the text.
#include <memory>

#include "Collection.h"
#include "Filer.h"
#include "FormText.h"
#include "FuzzSupport.h"
#include "Streams.h"
#include "Strings.h"

namespace {

enum TFuzzShade { fsLight, fsDark };
VELBOR_ENUM(TFuzzShade, "fsLight", "fsDark")
enum TFuzzEdge { feLeft, feTop, feRight, feBottom };
VELBOR_ENUM(TFuzzEdge, "feLeft", "feTop", "feRight", "feBottom")
using TFuzzEdges = TSet<TFuzzEdge>;

class TFuzzFont : public TPersistent {
  VELBOR_DECLARE_CLASS(TFuzzFont, TPersistent)
 public:
  String Name;
  int Size = 8;
};
VELBOR_IMPLEMENT_CLASS(TFuzzFont)
VELBOR_PUBLISHED(TFuzzFont, Prop("Name", &Self::Name), Prop("Size", &Self::Size).Default(8))

class TFuzzItem : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TFuzzItem, TCollectionItem)
 public:
  explicit TFuzzItem(TCollection* Collection) : TCollectionItem(Collection) {}
  String Caption;
  int Width = 0;
};
VELBOR_IMPLEMENT_CLASS(TFuzzItem)
VELBOR_PUBLISHED(TFuzzItem, Prop("Caption", &Self::Caption), Prop("Width", &Self::Width).Default(0))

// A component with a value of every kind the reader sets, a defined list and binary data.
class TFuzzWidget : public TComponent {
  VELBOR_DECLARE_CLASS(TFuzzWidget, TComponent)
 public:
  explicit TFuzzWidget(TComponent* AOwner) : TComponent(AOwner), FItems(this, TFuzzItem::StaticClass()) {}
  ~TFuzzWidget() override { SetBuddy(nullptr); }

  TFuzzFont* GetFont() { return &FFont; }
  TStringList* GetLines() { return &FLines; }
  void SetLines(TStringList* Value) { FLines.Assign(Value); }
  TOwnedCollection* GetItems() { return &FItems; }
  TFuzzWidget* GetBuddy() const { return FBuddy; }
  void SetBuddy(TFuzzWidget* Value) {
    if (FBuddy) FBuddy->RemoveFreeNotification(this);
    FBuddy = Value;
    if (FBuddy) FBuddy->FreeNotification(this);
  }

  int Width = 0;
  long long Big = 0;
  double Ratio = 0;
  String Caption;
  TFuzzShade Shade = fsLight;
  TFuzzEdges Edges;
  bool Enabled = true;
  TNotifyEvent OnClick;
  std::vector<int> Heights;
  String Data;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
  }
  void DefineProperties(TFiler* Filer) override {
    TComponent::DefineProperties(Filer);
    Filer->DefineProperty("Heights", TReaderProc(this, &TFuzzWidget::ReadHeights),
                          TWriterProc(this, &TFuzzWidget::WriteHeights), !Heights.empty());
    Filer->DefineBinaryProperty("Data", TStreamProc(this, &TFuzzWidget::ReadData),
                                TStreamProc(this, &TFuzzWidget::WriteData), !Data.empty());
  }

 private:
  void ReadHeights(TReader* Reader) {
    Heights.clear();
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) Heights.push_back(Reader->ReadInteger());
    Reader->ReadListEnd();
  }
  void WriteHeights(TWriter* Writer) {
    Writer->WriteListBegin();
    for (int H : Heights) Writer->WriteInteger(H);
    Writer->WriteListEnd();
  }
  void ReadData(TStream* Stream) {
    Data.resize(std::size_t(Stream->Size()));
    Stream->ReadBuffer(Data.data(), Stream->Size());
  }
  void WriteData(TStream* Stream) { Stream->WriteBuffer(Data.data(), std::int64_t(Data.size())); }

  TFuzzFont FFont;
  TStringList FLines;
  TOwnedCollection FItems;
  TFuzzWidget* FBuddy = nullptr;
};
VELBOR_IMPLEMENT_CLASS(TFuzzWidget)
VELBOR_PUBLISHED(TFuzzWidget,
  Prop("Width", &Self::Width).Default(0),
  Prop("Big", &Self::Big).Default(0),
  Prop("Ratio", &Self::Ratio),
  Prop("Caption", &Self::Caption),
  Prop("Shade", &Self::Shade).Default(fsLight),
  Prop("Edges", &Self::Edges).Default(TFuzzEdges{}),
  Prop("Enabled", &Self::Enabled).Default(true),
  Prop("Font", &Self::GetFont),
  Prop("Lines", &Self::GetLines, &Self::SetLines),
  Prop("Items", &Self::GetItems),
  Prop("Buddy", &Self::GetBuddy, &Self::SetBuddy),
  Prop("OnClick", &Self::OnClick))

// The root: a module with a handler and a component field bound by name.
class TFuzzModule : public TComponent {
  VELBOR_DECLARE_CLASS(TFuzzModule, TComponent)
 public:
  using TComponent::TComponent;
  void WidgetClick(TObject*) {}
  TFuzzWidget* Widget1 = nullptr;
};
VELBOR_IMPLEMENT_CLASS(TFuzzModule)
VELBOR_HANDLERS(TFuzzModule, VELBOR_HANDLER(WidgetClick))
VELBOR_FIELDS(TFuzzModule, VELBOR_FIELD(Widget1))

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Only these classes: the library's own registrations include components that open files.
  for (const char* Name : {"TADOConnection", "TADODataSet", "TADOQuery", "TADOTable", "TADOCommand"})
    if (TClass C = GetClass(Name)) UnRegisterClass(C);
  for (TClass C : {TFuzzFont::StaticClass(), TFuzzWidget::StaticClass(), TFuzzModule::StaticClass()}) RegisterClass(C);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  String Text = Fuzz::Text(Data, Size);
  TFormObject Tree;
  try {
    Tree = ParseFormText(Text, "fuzz.dfm");
  } catch (const EReadError&) {
    return 0;
  }
  // What the writer makes of a tree reads back as the same tree.
  String Written = WriteFormText(Tree);
  try {
    Fuzz::Check(WriteFormText(ParseFormText(Written, "written.dfm")) == Written, "written text reads back the same");
  } catch (const EReadError&) {
    Fuzz::Broken("written text does not read back");
  }
  // Components made from the text, and the text written of them read into a fresh module.
  String Again;
  try {
    std::unique_ptr<TComponent> Root(CreateComponentFromText(Text, "fuzz.dfm", nullptr));
    Again = WriteComponentToText(Root.get());
  } catch (const Exception&) {
    return 0;
  }
  try {
    std::unique_ptr<TComponent> Copy(CreateComponentFromText(Again, "again.dfm", nullptr));
    Fuzz::Check(WriteComponentToText(Copy.get()) == Again, "components written read back the same");
  } catch (const Exception& E) {
    std::fprintf(stderr, "%s\n", E.Message.c_str());
    Fuzz::Broken("components written do not read back");
  }
  return 0;
}
