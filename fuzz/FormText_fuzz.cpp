// This file implements the fuzz target of the form-description reader: the text parser, the
// writer's round trip of what it read, and the creation of components with every kind of
// published value from the text (the reader tests' components, core/tests/FilerFixture.h).
#include <memory>

#include "Filer.h"
#include "FilerFixture.h"
#include "FormText.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Only these classes: the library's own registrations include components that open files.
  for (const char* Name : {"TADOConnection", "TADODataSet", "TADOQuery", "TADOTable", "TADOCommand"})
    if (TClass C = GetClass(Name)) UnRegisterClass(C);
  for (TClass C : {TFontBox::StaticClass(), TWidget::StaticClass(), TBox::StaticClass(), TModule::StaticClass(),
                   TModuleChild::StaticClass()})
    RegisterClass(C);
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
