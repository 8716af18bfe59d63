// Tests of the common dialogs answered through the modal-question script: what each dialog asks,
// how an answered file name is completed and checked (default extension, initial folder, overwrite
// and must-exist prompts), fonts, colours, printing settings, and the find/replace presses.
#include <gtest/gtest.h>

#include <random>

#include "CommonDialogs.h"
#include "StrUtils.h"
#include "Strings.h"

namespace {

class FileDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    Folder = String(temp) + "velbor-dlg-" + std::to_string(std::random_device()());
    ASSERT_TRUE(::CreateDirectoryA(Folder.c_str(), nullptr));
    Existing = Folder + "\\zones.csv";
    HANDLE f = ::CreateFileA(Existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    ::CloseHandle(f);
  }
  void TearDown() override {
    ::DeleteFileA(Existing.c_str());
    ::RemoveDirectoryA(Folder.c_str());
  }
  String Folder;
  String Existing;
};

TEST_F(FileDialogs, OpenDialogAsksWithItsSettingsAndCompletesTheAnsweredName) {
  TOpenDialog dialog(nullptr);
  dialog.Filter = "Fichiers CSV|*.csv|Tous|*.*";
  dialog.FilterIndex = 2;
  dialog.DefaultExt = "csv";
  dialog.InitialDir = Folder;
  dialog.Title = "Exporter vers ...";
  dialog.FileName = "ancien.csv";
  TModalScript script;
  TModalAnswer answer;
  answer.Result = 1;
  answer.Value = "zones";
  answer.Fields["FilterIndex"] = "1";
  script.Push(answer);
  ASSERT_TRUE(dialog.Execute());
  ASSERT_EQ(script.Asked.size(), 1u);
  const TModalQuestion& q = script.Asked[0];
  EXPECT_EQ(q.Kind, TModalKind::Other);
  EXPECT_EQ(q.Name, "OpenDialog");
  EXPECT_EQ(q.Caption, "Exporter vers ...");
  EXPECT_EQ(q.Value, "ancien.csv");
  EXPECT_EQ(q.Flags, (TOpenOptions{ofHideReadOnly, ofEnableSizing}).Bits());
  EXPECT_EQ(q.Fields.at("Filter"), "Fichiers CSV|*.csv|Tous|*.*");
  EXPECT_EQ(q.Fields.at("FilterIndex"), "2");
  EXPECT_EQ(q.Fields.at("DefaultExt"), "csv");
  EXPECT_EQ(q.Fields.at("InitialDir"), Folder);
  // No folder: the initial one; no extension: the default one.
  EXPECT_EQ(dialog.FileName, Folder + "\\zones.csv");
  EXPECT_EQ(dialog.FilterIndex, 1);
  EXPECT_FALSE(dialog.Options.Contains(ofExtensionDifferent));
  ASSERT_EQ(dialog.Files()->Count(), 1);
  EXPECT_EQ(dialog.Files()->Strings(0), dialog.FileName);
}

TEST_F(FileDialogs, ANameWithAnotherExtensionOrAFolderIsKeptAndFlagged) {
  TOpenDialog dialog(nullptr);
  dialog.DefaultExt = "csv";
  dialog.InitialDir = Folder;
  TModalScript script;
  script.Push(1, "c:\\ailleurs\\liste.txt");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "c:\\ailleurs\\liste.txt");
  EXPECT_TRUE(dialog.Options.Contains(ofExtensionDifferent));
}

TEST_F(FileDialogs, CancelLeavesTheFileNameAsItWas) {
  TOpenDialog dialog(nullptr);
  dialog.FileName = "garde.csv";
  int closes = 0;
  struct TCounter : TObject {
    int* Count;
    void Closed(TObject*) { ++*Count; }
  } counter;
  counter.Count = &closes;
  dialog.OnClose = TNotifyEvent(&counter, &TCounter::Closed);
  TModalScript script;
  script.Push(0);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "garde.csv");
  EXPECT_EQ(closes, 1);
}

TEST_F(FileDialogs, OpenDialogRefusesAMissingFileWhenItMustExist) {
  TOpenDialog dialog(nullptr);
  dialog.Options.Include(ofFileMustExist);
  dialog.InitialDir = Folder;
  TModalScript script;
  script.Push(1, "absent.csv");
  script.Push(IDOK);          // the warning
  script.Push(1, "zones.csv");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, Existing);
  ASSERT_EQ(script.Asked.size(), 3u);
  EXPECT_EQ(script.Asked[1].Kind, TModalKind::MessageBox);
  EXPECT_NE(script.Asked[1].Text.find(Folder + "\\absent.csv"), String::npos);
  EXPECT_EQ(script.Asked[2].Name, "OpenDialog");
  EXPECT_TRUE(script.Unexpected.empty());
}

TEST_F(FileDialogs, SaveDialogConfirmsOverwritingAndAsksAgainOnNo) {
  TSaveDialog dialog(nullptr);
  dialog.Options.Include(ofOverwritePrompt);
  dialog.DefaultExt = "csv";
  dialog.InitialDir = Folder;
  TModalScript script;
  script.Push(1, "zones");   // exists once completed
  script.Push(IDNO);
  script.Push(1, "nouveau");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, Folder + "\\nouveau.csv");
  ASSERT_EQ(script.Asked.size(), 3u);
  EXPECT_EQ(script.Asked[0].Name, "SaveDialog");
  EXPECT_EQ(script.Asked[1].Flags, unsigned(MB_YESNO | MB_ICONWARNING));
  EXPECT_EQ(script.Asked[1].Text, Existing + " existe déjà.\r\nVoulez-vous le remplacer ?"_a);

  // Yes keeps the existing name; without the option nothing is asked.
  TModalScript again;
  again.Push(1, "zones.csv");
  again.Push(IDYES);
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, Existing);
  dialog.Options.Exclude(ofOverwritePrompt);
  TModalScript quiet;
  quiet.Push(1, "zones.csv");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(quiet.Asked.size(), 1u);
}

TEST(FileDialogsMultiSelect, EveryAnsweredNameIsCompleted) {
  TOpenDialog dialog(nullptr);
  dialog.Options.Include(ofAllowMultiSelect);
  dialog.InitialDir = "c:\\donnees";
  dialog.DefaultExt = "txt";
  TModalScript script;
  script.Push(1, "a\r\nb.csv\r\nd:\\c");
  ASSERT_TRUE(dialog.Execute());
  ASSERT_EQ(dialog.Files()->Count(), 3);
  EXPECT_EQ(dialog.Files()->Strings(0), "c:\\donnees\\a.txt");
  EXPECT_EQ(dialog.Files()->Strings(1), "c:\\donnees\\b.csv");
  EXPECT_EQ(dialog.Files()->Strings(2), "d:\\c.txt");
  EXPECT_EQ(dialog.FileName, "c:\\donnees\\a.txt");
}

TEST(FontDialog, TheAnswerSetsTheFontAndSizesOutsideTheLimitsAreRefused) {
  TFontDialog dialog(nullptr);
  dialog.Font()->SetName("Arial");
  dialog.Font()->SetSize(10);
  dialog.Font()->SetStyle({fsItalic});
  dialog.Options.Include(fdLimitSize);
  dialog.MinFontSize = 6;
  dialog.MaxFontSize = 24;
  TModalScript script;
  TModalAnswer tooBig;
  tooBig.Result = 1;
  tooBig.Value = "Courier New";
  tooBig.Fields["Size"] = "30";
  script.Push(tooBig);
  TModalAnswer good = tooBig;
  good.Fields["Size"] = "14";
  good.Fields["Style"] = "BU";
  good.Fields["Color"] = IntToStr(clRed);
  script.Push(good);
  ASSERT_TRUE(dialog.Execute());
  ASSERT_EQ(script.Asked.size(), 2u);
  const TModalQuestion& q = script.Asked[0];
  EXPECT_EQ(q.Name, "FontDialog");
  EXPECT_EQ(q.Value, "Arial");
  EXPECT_EQ(q.Fields.at("Size"), "10");
  EXPECT_EQ(q.Fields.at("Style"), "I");
  EXPECT_EQ(q.Fields.at("MaxFontSize"), "24");
  EXPECT_EQ(q.Flags, (TFontDialogOptions{fdEffects, fdLimitSize}).Bits());
  EXPECT_EQ(dialog.Font()->Name(), "Courier New");
  EXPECT_EQ(dialog.Font()->Size(), 14);
  EXPECT_EQ(dialog.Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(dialog.Font()->Color(), clRed);
}

TEST(ColorDialog, TheAnswerIsTheColourAndCancelKeepsIt) {
  TColorDialog dialog(nullptr);
  dialog.Color = clBlue;
  dialog.CustomColors()->Add("ColorA=FFFFFF");
  TModalScript script;
  script.Push(1, IntToStr(0x00A6CAF0));
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color, TColor(0x00A6CAF0));
  EXPECT_EQ(script.Asked[0].Value, IntToStr(clBlue));
  EXPECT_EQ(script.Asked[0].Fields.at("CustomColors"), "ColorA=FFFFFF");
  script.Push(0, IntToStr(clGreen));
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Color, TColor(0x00A6CAF0));
}

TEST(PrintDialog, AsksWithItsSettingsAndTakesTheAnsweredOnes) {
  TPrintDialog dialog(nullptr);
  dialog.Options = {poPageNums};
  dialog.MinPage = 1;
  dialog.MaxPage = 9;
  dialog.FromPage = 1;
  dialog.ToPage = 9;
  TModalScript script;
  TModalAnswer a;
  a.Result = 1;
  a.Fields["PrintRange"] = "2";
  a.Fields["FromPage"] = "3";
  a.Fields["ToPage"] = "4";
  a.Fields["Collate"] = "1";
  script.Push(a);
  ASSERT_TRUE(dialog.Execute());
  const TModalQuestion& q = script.Asked[0];
  EXPECT_EQ(q.Name, "PrintDialog");
  EXPECT_EQ(q.Flags, (TPrintDialogOptions{poPageNums}).Bits());
  EXPECT_EQ(q.Fields.at("MaxPage"), "9");
  EXPECT_EQ(q.Fields.at("PrintRange"), "0");
  EXPECT_EQ(dialog.PrintRange, prPageNums);
  EXPECT_EQ(dialog.FromPage, 3);
  EXPECT_EQ(dialog.ToPage, 4);
  EXPECT_TRUE(dialog.Collate);
  EXPECT_EQ(dialog.MaxPage, 9);

  script.Push(0);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FromPage, 3);
}

TEST(PageSetupDialog, MarginsAndPaperComeFromTheAnswer) {
  TPageSetupDialog dialog(nullptr);
  dialog.MarginLeft = 1000;
  TModalScript script;
  TModalAnswer a;
  a.Result = 1;
  a.Fields["MarginTop"] = "1500";
  a.Fields["PageWidth"] = "21000";
  a.Fields["PageHeight"] = "29700";
  script.Push(a);
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(script.Asked[0].Fields.at("MarginLeft"), "1000");
  EXPECT_EQ(script.Asked[0].Fields.at("Units"), IntToStr(int(pmMillimeters)));
  EXPECT_EQ(dialog.MarginLeft, 1000);
  EXPECT_EQ(dialog.MarginTop, 1500);
  EXPECT_EQ(dialog.PageWidth, 21000);
  EXPECT_EQ(dialog.PageHeight, 29700);
}

// Records the presses of a find or replace dialog.
class TFindLog : public TObject {
 public:
  std::vector<String> Log;
  void Found(TObject* Sender) {
    auto* d = static_cast<TFindDialog*>(Sender);
    Log.push_back("find " + d->FindText + (d->Options.Contains(frMatchCase) ? " case" : ""));
  }
  void Replaced(TObject* Sender) {
    auto* d = static_cast<TReplaceDialog*>(Sender);
    Log.push_back(String(d->Options.Contains(frReplaceAll) ? "all " : "one ") + d->FindText + "->" + d->ReplaceText);
  }
  void Closed(TObject*) { Log.push_back("close"); }
};

TEST(FindDialogs, EachAnswerIsOnePressOfTheDialog) {
  TFindLog log;
  TReplaceDialog dialog(nullptr);
  dialog.FindText = "mare";
  dialog.ReplaceText = "étang"_a;
  dialog.OnFind = TNotifyEvent(&log, &TFindLog::Found);
  dialog.OnReplace = TNotifyEvent(&log, &TFindLog::Replaced);
  dialog.OnClose = TNotifyEvent(&log, &TFindLog::Closed);
  TModalScript script;
  TModalAnswer find;
  find.Result = 1;
  find.Value = "Marais";
  find.Fields["Options"] = IntToStr(int((TFindOptions{frDown, frMatchCase}).Bits()));
  script.Push(find);
  TModalAnswer replaceAll;
  replaceAll.Result = 3;
  replaceAll.Value = "marais";
  replaceAll.Fields["ReplaceText"] = "tourbière"_a;
  script.Push(replaceAll);
  TModalAnswer replaceOne = replaceAll;
  replaceOne.Result = 2;
  script.Push(replaceOne);
  script.Push(0);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(script.Asked[0].Name, "ReplaceDialog");
  EXPECT_EQ(script.Asked[0].Value, "mare");
  EXPECT_EQ(script.Asked[0].Fields.at("ReplaceText"), "étang"_a);
  EXPECT_EQ(script.Asked[0].Flags, (TFindOptions{frDown}).Bits());
  const std::vector<String> expected = {"find Marais case", String("all marais->") + "tourbière"_a,
                                        String("one marais->") + "tourbière"_a, "close"};
  EXPECT_EQ(log.Log, expected);
}

}  // namespace
