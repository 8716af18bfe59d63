// This file tests the dialog button factory and the rich-text-to-plain-text service on real,
// never shown windows.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

#include "Buttons.h"
#include "Forms.h"
#include "Qvintl.h"
#include "RichEdit.h"
#include "Streams.h"
#include "qvDataSetUtils.h"

namespace {

// A form without a description, never shown.
class TBareForm : public TForm {
 public:
  TBareForm() : TForm(nullptr, true) {}
};

struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};
using TFormPtr = std::unique_ptr<TForm, TFormFree>;

class DialogButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qvFreeGlobalIntl();
    qvIntl->BtnOKCaption = "&Valider";
    qvIntl->BtnCancelCaption = "Annuler";
    Form.reset(new TBareForm);
  }
  void TearDown() override {
    Form.reset();
    qvFreeGlobalIntl();
  }
  static int Scaled(int Pixels) { return MulDiv(Pixels, Screen->PixelsPerInch(), 96); }
  TFormPtr Form;
};

struct TKindCase {
  int Kind;
  const char* Caption;
  TModalResult ModalResult;
  bool Cancel;
};
const TKindCase KindCases[] = {
    {qvDialogButtonOK, "&Valider", mrOk, false},
    {qvDialogButtonCancel, "Annuler", mrCancel, true},
    {qvDialogButtonHelp, "Help", mrNone, false},
};

TEST_F(DialogButtonTest, PlainButtonOfEachKind) {
  qvIntl->OKCancelBitmapped = false;
  for (const TKindCase& Case : KindCases) {
    SCOPED_TRACE(Case.Kind);
    TButton* Button = qvCreateDialogButton(Form.get(), Case.Kind);
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(dynamic_cast<TBitBtn*>(Button), nullptr);
    EXPECT_EQ(Button->Owner(), Form.get());
    EXPECT_EQ(Button->Parent(), Form.get());
    EXPECT_FALSE(Button->Visible());
    EXPECT_EQ(Button->Width(), Scaled(77));
    EXPECT_EQ(Button->Height(), Scaled(24));
    EXPECT_EQ(Button->Caption(), Case.Caption);
    EXPECT_EQ(Button->ModalResult, Case.ModalResult);
    EXPECT_EQ(Button->Cancel, Case.Cancel);
  }
}

TEST_F(DialogButtonTest, BitmapButtonOfEachKind) {
  qvIntl->DialogFontStyle = TFontStyles{fsBold};
  const TBitBtnKind Kinds[] = {bkOK, bkCancel, bkHelp};
  for (std::size_t I = 0; I < std::size(KindCases); ++I) {
    const TKindCase& Case = KindCases[I];
    SCOPED_TRACE(Case.Kind);
    auto* Button = dynamic_cast<TBitBtn*>(qvCreateDialogButton(Form.get(), Case.Kind));
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(Button->Owner(), Form.get());
    EXPECT_EQ(Button->Parent(), Form.get());
    EXPECT_FALSE(Button->Visible());
    EXPECT_EQ(Button->Kind(), Kinds[I]);
    EXPECT_EQ(Button->Width(), Scaled(77));
    EXPECT_EQ(Button->Height(), Scaled(27));
    EXPECT_EQ(Button->Margin(), 2);
    EXPECT_EQ(Button->Spacing(), -1);
    EXPECT_EQ(Button->Layout(), blGlyphLeft);
    EXPECT_EQ(Button->NumGlyphs(), 2);
    // The kind's own caption ("OK", "Annuler"...) is replaced by the library's.
    EXPECT_EQ(Button->Caption(), Case.Caption);
    EXPECT_EQ(Button->ModalResult, Case.ModalResult);
    EXPECT_EQ(Button->Cancel, Case.Cancel);
    EXPECT_EQ(Button->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(Button->Font()->Height(), -11);
    EXPECT_EQ(Button->Font()->Color(), clWindowText);
    EXPECT_EQ(Button->Font()->Style(), TFontStyles{fsBold});
    EXPECT_FALSE(Button->ParentFont());
  }
}

// The rich text of a memo and the plain text it stands for.
const char RichText[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 Zone {\\b humide} class\\'e9e\\par Berge nord}";

class RichTextBufferTest : public ::testing::Test {
 protected:
  void SetUp() override { Form.reset(new TBareForm); }
  // Converts Text in a buffer with room for Room bytes plus the terminator.
  String Convert(const String& Text, std::size_t Room, int& Length) {
    Buffer.assign(Room + 1, 'X');
    std::memcpy(Buffer.data(), Text.data(), Text.size());
    Length = int(Text.size());
    qvRichTextToPlainBuffer(Form.get(), Buffer.data(), Length, Stream, Edit);
    return String(Buffer.data());
  }
  TFormPtr Form;
  TMemoryStream* Stream = nullptr;
  TRichEdit* Edit = nullptr;
  std::vector<char> Buffer;
};

TEST_F(RichTextBufferTest, RichTextBecomesItsPlainText) {
  int Length = 0;
  String Plain = Convert(RichText, sizeof RichText - 1, Length);
  EXPECT_EQ(Plain, "Zone humide classée\r\nBerge nord"_a);
  EXPECT_EQ(Length, int(Plain.size()));
  // The edit belongs to the form, is parented to it and stays hidden; the stream is the caller's.
  ASSERT_NE(Edit, nullptr);
  ASSERT_NE(Stream, nullptr);
  EXPECT_EQ(Edit->Owner(), Form.get());
  EXPECT_EQ(Edit->Parent(), Form.get());
  EXPECT_FALSE(Edit->Visible());
  delete Stream;
}

TEST_F(RichTextBufferTest, LaterCallsReuseStreamAndEditAndReplaceTheirContent) {
  int Length = 0;
  Convert(RichText, sizeof RichText - 1, Length);
  TMemoryStream* FirstStream = Stream;
  TRichEdit* FirstEdit = Edit;
  String Short = "{\\rtf1\\ansi Mare}";
  EXPECT_EQ(Convert(Short, Short.size(), Length), "Mare");
  EXPECT_EQ(Length, 4);
  EXPECT_EQ(Stream, FirstStream);
  EXPECT_EQ(Edit, FirstEdit);
  // Text that is not rich text comes back as it is.
  EXPECT_EQ(Convert("Roselière"_a, 9, Length), "Roselière"_a);
  EXPECT_EQ(Length, 9);
  delete Stream;
}

}  // namespace
