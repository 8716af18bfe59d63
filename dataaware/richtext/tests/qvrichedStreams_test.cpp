// Tests of the rich-text control's content: the chunks a window is handed while it reads (line
// ends of plain text, RTF byte for byte, the chunk limit), RTF round trips, Lines, content kept
// when the window is made again, the temporary-file names, form streaming and the memory stream.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "Filer.h"
#include "FileUtils.h"

#include "RichTextTestSupport.h"
#include "qvrich.h"

namespace {

// What a converter hands the window, chunk by chunk, for chunks of Size bytes.
std::vector<std::string> Chunks(const std::string& Source, bool PlainText, int Limit, int Size) {
  TStringStream Stream(Source);
  TqvStreamInConverter Converter(&Stream, PlainText, Limit);
  std::vector<std::string> Out;
  std::vector<char> Buffer(static_cast<std::size_t>(Size));
  for (int n; (n = Converter.NextChunk(Buffer.data(), Size)) > 0;) Out.emplace_back(Buffer.data(), std::size_t(n));
  return Out;
}

std::string Joined(const std::vector<std::string>& Parts) {
  std::string All;
  for (const std::string& P : Parts) All += P;
  return All;
}

struct TConversionCase {
  const char* Name;
  std::string Source;
  bool PlainText;
  int Size;
  std::string Expected;
};

TEST(StreamInConverter, LineEndsAreRewrittenInPlainTextOnly) {
  const TConversionCase Cases[] = {
      {"bare LF", "a\nb\n", true, 64, "a\r\nb\r\n"},
      {"CR LF kept once", "a\r\nb", true, 64, "a\r\nb"},
      {"lone CR", "a\rb", true, 64, "a\r\nb"},
      // Chunks of 4 bytes read 2 bytes at a time: the CR ends one chunk, the LF starts the next.
      {"CR LF split between chunks", "ab\r\ncd", true, 4, "ab\r\ncd"},
      {"lone CR at the end of a chunk", "ab\rcd", true, 4, "ab\r\ncd"},
      {"lone CR at the very end", "ab\r", true, 4, "ab\r\n"},
      {"RTF line ends untouched", "{\\rtf1 a\rb\nc\\par}", false, 64, "{\\rtf1 a\rb\nc\\par}"},
      {"\\bin data untouched", std::string("{\\rtf1 x\\bin4 \r\n\r\r}", 19), false, 8,
       std::string("{\\rtf1 x\\bin4 \r\n\r\r}", 19)},
  };
  for (const TConversionCase& C : Cases)
    EXPECT_EQ(Joined(Chunks(C.Source, C.PlainText, 0, C.Size)), C.Expected) << C.Name;
}

TEST(StreamInConverter, AChunkLimitReadsTheFirstChunkOnly) {
  std::string Rtf = "{\\rtf1\\ansi\\pard one {\\b two}\\par three\\par}";
  // Limit 2: exactly one chunk, whole.
  std::vector<std::string> Two = Chunks(Rtf, false, 2, 16);
  ASSERT_EQ(Two.size(), 1u);
  EXPECT_EQ(Two[0], Rtf.substr(0, 16));
  // Limit 1: one chunk, cut at the first group after its first paragraph mark.
  std::vector<std::string> One = Chunks(Rtf, false, 1, 40);
  ASSERT_EQ(One.size(), 1u);
  EXPECT_EQ(One[0], "{\\rtf1\\ansi\\pard one }");
  // A chunk without "\pard" goes uncut.
  std::vector<std::string> Plain = Chunks("no paragraph {here}", false, 1, 40);
  ASSERT_EQ(Plain.size(), 1u);
  EXPECT_EQ(Plain[0], "no paragraph {here}");
  // No limit: everything.
  EXPECT_EQ(Joined(Chunks(Rtf, false, 0, 16)), Rtf);
}

// --- RTF round trips --------------------------------------------------------------------------

struct TRoundTrip {
  const char* Name;
  String Rtf;
  String Text;  // what the window holds (its paragraphs end with CR, the last one without)
};

class RichContentTest : public RichFormTest {};

TEST_F(RichContentTest, RtfRoundTripsAreByteStableAfterOnePass) {
  ShowForm();
  const TRoundTrip Samples[] = {
      {"accented letters", "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0 \\'e9t\\'e9 \\'e0 c\\'f4t\\'e9 ; "
                           "\\'c9l\\'e9vation\\par}",
       "été à côté ; Élévation"_a},
      {"bold, italic, underline", "{\\rtf1\\ansi {\\b gras} {\\i italique} {\\ul soulign\\'e9}\\par}",
       "gras italique souligné"_a},
      {"colours", "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\cf1 rouge \\cf2 bleu\\par}",
       "rouge bleu"},
      {"paragraphs", "{\\rtf1\\ansi premier\\par second\\par\\pard\\qc centr\\'e9\\par}", "premier\rsecond\rcentré"_a},
      {"tabs", "{\\rtf1\\ansi\\pard\\tx720\\tx2880 a\\tab b\\tab c\\par}", "a\tb\tc"},
      {"a \\bin group", "{\\rtf1\\ansi avant{\\*\\donnees \\bin3 xyz} apr\\'e8s\\par}", "avant après"_a},
  };
  for (const TRoundTrip& S : Samples) {
    LoadRich(Edit, S.Rtf);
    EXPECT_EQ(WindowText(Edit), S.Text) << S.Name;
    String Once = SaveRich(Edit);
    LoadRich(Edit, Once);
    String Twice = SaveRich(Edit);
    EXPECT_EQ(Twice, Once) << S.Name;
    EXPECT_EQ(WindowText(Edit), S.Text) << S.Name << " after the round trip";
  }
}

TEST_F(RichContentTest, FormattingSurvivesTheRoundTrip) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}normal {\\b gras} {\\cf1 rouge}\\par}");
  LoadRich(Edit, SaveRich(Edit));
  SelectRange(Edit, 7, 4);
  EXPECT_TRUE(Edit->SelAttributes()->Style().Contains(fsBold));
  SelectRange(Edit, 12, 5);
  EXPECT_EQ(Edit->SelAttributes()->Color(), TColor(RGB(255, 0, 0)));
  SelectRange(Edit, 0, 6);
  EXPECT_FALSE(Edit->SelAttributes()->Style().Contains(fsBold));
}

// --- Lines ------------------------------------------------------------------------------------

TEST_F(RichContentTest, LinesReadWholeLinesOfAnyLength) {
  Edit->SetWordWrap(false);
  ShowForm();
  String Long(5000, 'x');
  Long[4096] = 'y';
  Edit->Lines()->SetText(Long + "\r\nfin\r\n");
  ASSERT_EQ(Edit->Lines()->Count(), 2) << "the empty line after the last break is not a line";
  EXPECT_EQ(Edit->Lines()->Strings(0), Long);
  EXPECT_EQ(Edit->Lines()->Strings(1), "fin");
}

TEST_F(RichContentTest, LinesInsertPutAndDelete) {
  ShowForm();
  Edit->Lines()->SetText("un\r\ntrois");
  Edit->Lines()->Insert(1, "deux");
  Edit->Lines()->Add("quatre");
  EXPECT_EQ(WindowText(Edit), "un\rdeux\rtrois\rquatre");
  Edit->Lines()->Put(2, "TROIS");
  Edit->Lines()->Delete(0);
  EXPECT_EQ(Edit->Lines()->Count(), 3);
  EXPECT_EQ(Edit->Lines()->Strings(0), "deux");
  EXPECT_EQ(Edit->Lines()->Strings(1), "TROIS");
  Edit->Lines()->Put(-1, "rien");
  Edit->Lines()->Put(9, "rien");
  EXPECT_EQ(Edit->Lines()->Count(), 3);
}

// --- A new window -----------------------------------------------------------------------------

TEST_F(RichContentTest, ContentSurvivesANewWindow) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi normal {\\b gras}\\par}");
  HWND First = Edit->Handle();
  struct TChange {
    const char* Name;
    void (*Apply)(TqvDBRichEdit*, TForm*);
  };
  const TChange Changes[] = {
      {"new OLE options", [](TqvDBRichEdit* E, TForm*) { E->SetOleOptions(TqvRichEditOleOptions{reoDisableOLE}); }},
      {"new parent", [](TqvDBRichEdit* E, TForm* F) {
         E->SetParent(nullptr);
         E->SetParent(F);
       }},
  };
  for (const TChange& C : Changes) {
    C.Apply(Edit, Form.get());
    EXPECT_EQ(WindowText(Edit), "normal gras") << C.Name;
    SelectRange(Edit, 7, 4);
    EXPECT_TRUE(Edit->SelAttributes()->Style().Contains(fsBold)) << C.Name;
  }
  EXPECT_NE(Edit->Handle(), First);
}

// --- Temporary files --------------------------------------------------------------------------

TEST_F(RichContentTest, ATemporaryFileNameIsAskedForAndCanFail) {
  String Name;
  ASSERT_TRUE(Edit->CreateTempFileName(Name));
  EXPECT_NE(Name.find("_QV"), String::npos);
  EXPECT_TRUE(FileExists(Name));
  DeleteFileA(Name.c_str());

  char Saved[MAX_PATH] = "";
  GetEnvironmentVariableA("TMP", Saved, sizeof(Saved));
  char SavedTemp[MAX_PATH] = "";
  GetEnvironmentVariableA("TEMP", SavedTemp, sizeof(SavedTemp));
  SetEnvironmentVariableA("TMP", "C:\\velbor-no-such-folder\\deeper");
  SetEnvironmentVariableA("TEMP", "C:\\velbor-no-such-folder\\deeper");
  String Missing;
  bool Made = Edit->CreateTempFileName(Missing);
  // Copying through a file then says why nothing was copied.
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi source\\par}");
  auto* Target = new TqvDBRichEdit(Form.get());
  Target->SetParent(Form.get());
  Edit->CopyThroughFile = 1;
  CopyRichContent(Edit, Target);
  SetEnvironmentVariableA("TMP", Saved);
  SetEnvironmentVariableA("TEMP", SavedTemp);
  EXPECT_FALSE(Made);
  ASSERT_EQ(Script.Unexpected.size(), 1u);
  EXPECT_EQ(Script.Unexpected[0].Text, "Fail to create temporary file.");
  Script.Unexpected.clear();
  EXPECT_EQ(Target->TextLength(), 0);
}

TEST_F(RichContentTest, ContentCopiesThroughATemporaryFile) {
  ShowForm();
  LoadRich(Edit, "{\\rtf1\\ansi par fichier {\\i temporaire}\\par}");
  auto* Target = new TqvDBRichEdit(Form.get());
  Target->SetParent(Form.get());
  Edit->CopyThroughFile = 1;
  CopyRichContent(Edit, Target);
  EXPECT_EQ(WindowText(Target), "par fichier temporaire");
  SelectRange(Target, 12, 10);
  EXPECT_TRUE(Target->SelAttributes()->Style().Contains(fsItalic));
}

// --- Form streaming ---------------------------------------------------------------------------

class TRichHolder : public TForm {
  VELBOR_DECLARE_CLASS(TRichHolder, TForm)
 public:
  explicit TRichHolder(TComponent* AOwner) : TForm(AOwner, true) {}
};
VELBOR_IMPLEMENT_CLASS(TRichHolder)

TEST_F(RichContentTest, AFormDescriptionKeepsTheFormattedContent) {
  TFormPtr<TRichHolder> Holder(new TRichHolder(nullptr));
  auto* Source = new TqvDBRichEdit(Holder.get());
  Source->SetName("Notes");
  Source->SetParent(Holder.get());
  LoadRich(Source, "{\\rtf1\\ansi une {\\b remarque}\\par}");
  String Text = WriteComponentToText(Holder.get());
  EXPECT_NE(Text.find("RichEditVersion = 2"), String::npos) << Text;
  EXPECT_NE(Text.find("Data = {"), String::npos) << Text;


  TFormPtr<TRichHolder> Copy(new TRichHolder(nullptr));
  ReadComponentFromText(Copy.get(), Text, "copie");
  auto* Read = dynamic_cast<TqvDBRichEdit*>(Copy->FindComponent("Notes"));
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->RichEditVersion(), 2);
  EXPECT_EQ(WindowText(Read), "une remarque");
  SelectRange(Read, 4, 8);
  EXPECT_TRUE(Read->SelAttributes()->Style().Contains(fsBold));
}

TEST_F(RichContentTest, RtfTypedIntoLinesBecomesFormattedTextAndAnOldDescriptionKeepsVersionOne) {
  String Text =
      "object Holder: TRichHolder\n"
      "  object Notes: TqvDBRichEdit\n"
      "    Lines = (\n"
      "      '{\\rtf1\\ansi tap\\''e9 {\\b en gras}\\par}')\n"
      "  end\n"
      "end\n";
  TFormPtr<TRichHolder> Holder(new TRichHolder(nullptr));
  ReadComponentFromText(Holder.get(), Text, "ancien");
  auto* Read = dynamic_cast<TqvDBRichEdit*>(Holder->FindComponent("Notes"));
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->RichEditVersion(), 1);
  EXPECT_EQ(WindowText(Read), "tapé en gras"_a);
  SelectRange(Read, 5, 7);
  EXPECT_TRUE(Read->SelAttributes()->Style().Contains(fsBold));
}

// --- The memory stream ------------------------------------------------------------------------

TEST(RichMemoryStream, GrowsBySteps128KiBOnTheGlobalHeap) {
  TqvRichMemoryStream Stream;
  char Byte = 'x';
  Stream.WriteBuffer(&Byte, 1);
  EXPECT_EQ(Stream.Capacity(), 0x20000);
  EXPECT_NE(GlobalHandle(Stream.Memory()), nullptr);
  Stream.SetSize(0x20001);
  EXPECT_EQ(Stream.Capacity(), 0x40000);
  EXPECT_EQ(static_cast<const char*>(Stream.Memory())[0], 'x');
  Stream.Clear();
  EXPECT_EQ(Stream.Capacity(), 0);
  EXPECT_EQ(Stream.Memory(), nullptr);
}

}  // namespace
