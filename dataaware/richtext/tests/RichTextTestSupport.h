// This file implements what the rich-text tests share: a shown form holding a rich-text control
// with a modal script in place, content loaded and read back as RTF, and screenshots saved as PNG
// files in "screenshots" beside the test program.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "Streams.h"

#include "../../db/tests/SqliteQueryData.h"
#include "../../db/tests/TestFolder.h"
#include "ADODB.h"

#include "UiTestSupport.h"
#include "qvriched.h"

// Loads RTF (or text) into a rich edit through its Lines, and reads its content back as RTF.
void LoadRich(TqvCustomRichEdit* Edit, const String& Content);
String SaveRich(TqvCustomRichEdit* Edit);
// The selection, from Start, Length characters long.
void SelectRange(TqvCustomRichEdit* Edit, int Start, int Length);
// The text of the window, paragraphs ending with "\r" as the window counts them.
String WindowText(TqvCustomRichEdit* Edit);

// The live form of class T (the last one made), or nullptr.
template <class T>
T* FindForm() {
  for (int i = Screen->FormCount() - 1; i >= 0; --i)
    if (auto* Form = dynamic_cast<T*>(Screen->Forms(i))) return Form;
  return nullptr;
}

// Replaces the whole text of an edit by what the keyboard types.
void RetypeInto(TWinControl* Edit, const String& Text);

// Saves what a window shows now (frame included) as NAME.png.
void SaveScreenshot(HWND Window, const String& Name);

// A shown, active form with one data-aware rich edit (no field), freed at the end of the test;
// unexpected questions fail it.
class RichFormTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override;
  void TearDown() override;
  void ShowForm();
  TModalScript Script;
  TFormPtr<TForm> Form;
  TqvDBRichEdit* Edit = nullptr;
};

// A memo table of an SQLite file in a query, a form and an edit to move the focus to; unexpected
// questions fail the test. Row 1 holds RTF notes, row 2 plain text, row 3 nothing.
class RichDataTest : public TestFolder, public SqliteQueryData, public TObject {
 public:
  static const char* const Notes;

 protected:
  void SetUp() override;
  void TearDown() override;
  // A rich edit on the form bound to the field.
  template <class T = TqvDBRichEdit>
  T* AddBound(const String& FieldName) {
    auto* Edit = new T(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 10, 420, 220);
    Edit->SetDataSource(Source.get());
    Edit->SetDataField(FieldName);
    return Edit;
  }
  void ShowForm();
  // The value of a query on the file itself.
  String FileValue(const String& Sql);
  void Enter(TWinControl* Control);

  TModalScript Script;
  TFormPtr<TForm> Form;
  TTestEdit* Other = nullptr;
};
