// Tests of the export run: the order in which a filter's hooks run over the prepared pages, the
// before-export event that renames or cancels, the options dialog that cancels, and a target that
// is replaced only by a whole export (a failure leaves it as it was, with nothing left beside it);
// and of the page lists a print takes.
#include <gtest/gtest.h>

#include <algorithm>

#include "FileUtils.h"
#include "OsPort.h"
#include "ZR_ClassExport.h"
#include "ZrReportFixture.h"
// After the engine: the API macros must not rename its members.
#include "Forms.h"

namespace {

// A report of one page per wetland: the page's title is the wetland's name.
class ZrExportRun : public ZrReportTest {
 protected:
  void SetUp() override {
    ZrReportTest::SetUp();
    TzrPage* page = AddPage();
    AddBand(page, btReportTitle, 20, 30);
    AddMemo(page, "Nom", 20, 20, 300, 20, "[qZones.\"NOM\"]");
    Report->SetDataset(ZonesLink);
    Report->ReportType = rtMultiple;
    ASSERT_TRUE(Report->Prepare());
    ASSERT_EQ(Report->EMFPages()->Count(), 5);
  }

  String ReadFile(const String& Name) {
    TFileStream file(Name, fmOpenRead);
    String s(std::size_t(file.Size()), '\0');
    if (!s.empty()) file.ReadBuffer(s.data(), std::int64_t(s.size()));
    return s;
  }
  void WriteFile(const String& Name, const String& Text) {
    TFileStream file(Name, fmCreate);
    file.WriteBuffer(Text.data(), std::int64_t(Text.size()));
  }
  // The files of the test folder.
  std::vector<String> Files() {
    std::vector<String> names = OsPort::ListFolder(Folder, "*");
    std::sort(names.begin(), names.end());
    return names;
  }
};

// Records every hook and writes a word per hook to the target; fails where it is told to.
class TRecordingFilter : public TzrExportFilter {
 public:
  explicit TRecordingFilter(TComponent* AOwner) : TzrExportFilter(AOwner) {}
  std::vector<String> Calls;
  int FailAtPage = 0;  // 1-based; 0: never
  int Options = mrOk;
  int Abandoned = 0;

  int ShowOptionsDialog() override {
    Calls.push_back("options");
    return Options;
  }
  void StartExport() override { Note("start"); }
  void StartPage() override {
    ++FPage;
    if (FPage == FailAtPage) throw EInOutError("disque plein");
    Note("page");
  }
  void ExportText(const TRect&, int, TzrView*, int, const String& Text, int) override { Note("text " + Text); }
  void ExportObject(int, int, TzrView* View) override { Note("object " + View->Name); }
  void FinishPage() override { Note("end page"); }
  void FinishExport() override { Note("end"); }
  void AbandonExport() override { ++Abandoned; }

  void RenameTo(String& FileName, bool&) { FileName = NewName; }
  void Refuse(String&, bool& Continue) { Continue = false; }
  void After(const String& FileName) { AfterName = FileName; }
  String NewName;
  String AfterName;

 private:
  void Note(const String& Word) {
    Calls.push_back(Word);
    String line = Word + "\r\n";
    Stream->WriteBuffer(line.data(), std::int64_t(line.size()));
  }
  int FPage = 0;
};

TEST_F(ZrExportRun, HooksRunPageByPageAndEveryObjectReachesTheFilter) {
  TRecordingFilter filter(nullptr);
  Report->ExportToFile(&filter, Folder + "\\zones.txt");
  std::vector<String> expected{"options", "start"};
  for (const TWetland& w : FixtureWetlands()) {
    expected.push_back("page");
    expected.push_back("object Nom");
    expected.push_back("text " + String(w.Name));
    expected.push_back("end page");
  }
  expected.push_back("end");
  EXPECT_EQ(filter.Calls, expected);
  String written = ReadFile(Folder + "\\zones.txt");
  EXPECT_EQ(written.substr(0, 7), "start\r\n");
  EXPECT_EQ(written.substr(written.size() - 5), "end\r\n");
  EXPECT_EQ(Report->CurrentFilter, nullptr);
  EXPECT_EQ(filter.Stream, nullptr);
  EXPECT_EQ(Files(), (std::vector<String>{"etats.mdb", "zones.txt"})) << "nothing but the target is left";
}

TEST_F(ZrExportRun, AReportWithoutPagesWritesTheStartAndTheEndOnly) {
  Report->EMFPages()->Clear();
  TRecordingFilter filter(nullptr);
  Report->ExportToFile(&filter, Folder + "\\vide.txt");
  EXPECT_EQ(filter.Calls, (std::vector<String>{"options", "start", "end"}));
  EXPECT_EQ(ReadFile(Folder + "\\vide.txt"), "start\r\nend\r\n");
}

TEST_F(ZrExportRun, BeforeExportRenamesOrCancelsAndOptionsCancel) {
  TRecordingFilter filter(nullptr);
  filter.NewName = Folder + "\\autre.txt";
  filter.OnBeforeExport = TzrBeforeExportEvent(&filter, &TRecordingFilter::RenameTo);
  filter.OnAfterExport = TzrAfterExportEvent(&filter, &TRecordingFilter::After);
  Report->ExportToFile(&filter, Folder + "\\demande.txt");
  EXPECT_TRUE(FileExists(Folder + "\\autre.txt"));
  EXPECT_FALSE(FileExists(Folder + "\\demande.txt"));
  EXPECT_EQ(filter.AfterName, Folder + "\\autre.txt");

  TRecordingFilter refused(nullptr);
  refused.OnBeforeExport = TzrBeforeExportEvent(&refused, &TRecordingFilter::Refuse);
  refused.OnAfterExport = TzrAfterExportEvent(&refused, &TRecordingFilter::After);
  Report->ExportToFile(&refused, Folder + "\\refuse.txt");
  EXPECT_TRUE(refused.Calls.empty());
  EXPECT_EQ(refused.AfterName, "");

  TRecordingFilter cancelled(nullptr);
  cancelled.Options = mrCancel;
  Report->ExportToFile(&cancelled, Folder + "\\annule.txt");
  EXPECT_EQ(cancelled.Calls, std::vector<String>{"options"});
  EXPECT_EQ(Files(), (std::vector<String>{"autre.txt", "etats.mdb"}));
}

TEST_F(ZrExportRun, AFailureLeavesTheTargetAsItWasAndNothingBesideIt) {
  String target = Folder + "\\zones.txt";
  WriteFile(target, "ancien contenu");
  TRecordingFilter filter(nullptr);
  filter.FailAtPage = 3;
  EXPECT_THROW(Report->ExportToFile(&filter, target), EInOutError);
  EXPECT_EQ(ReadFile(target), "ancien contenu");
  EXPECT_EQ(Files(), (std::vector<String>{"etats.mdb", "zones.txt"}));
  EXPECT_EQ(filter.Abandoned, 1);
  EXPECT_EQ(Report->CurrentFilter, nullptr);
  EXPECT_EQ(filter.Stream, nullptr);
  // The report and the filter are ready for the next export.
  filter.FailAtPage = 0;
  filter.Calls.clear();
  Report->ExportToFile(&filter, target);
  EXPECT_EQ(filter.Calls.back(), "end");
  EXPECT_NE(ReadFile(target), "ancien contenu");
}

TEST_F(ZrExportRun, ATargetThatCannotBeCreatedRaisesBeforeTheFilterStarts) {
  TRecordingFilter filter(nullptr);
  EXPECT_THROW(Report->ExportToFile(&filter, Folder + "\\absent\\zones.txt"), EStreamError);
  EXPECT_EQ(filter.Calls, std::vector<String>{"options"});
  EXPECT_EQ(Report->CurrentFilter, nullptr);
}

// The page lists of a print, on a report of five pages.
TEST_F(ZrExportRun, PageListsGiveTheirPagesAndRefuseWhatIsNotAList) {
  const struct {
    const char* Text;
    std::vector<int> Pages;
  } kLists[] = {
      {"", {}},
      {"1", {1}},
      {"2-3", {2, 3}},
      {"5-3", {3, 4, 5}},
      {"1,3", {1, 3}},
      {" 1 , 3 - 4 ", {1, 3, 4}},
      {"4-", {4, 5}},
      {"1,3-4,5-", {1, 3, 4, 5}},
  };
  for (const auto& l : kLists) EXPECT_EQ(Report->ParsePageList(l.Text), l.Pages) << l.Text;
  for (const char* bad : {"x", "1;3", "1-2-3", "-3", ",", "1,", "0", "3,a", "99999999999"})
    EXPECT_THROW(Report->ParsePageList(bad), EConvertError) << bad;
}

TEST_F(ZrExportRun, AnInvalidPageListIsRefusedWithAMessageAndNothingPrinted) {
  Modal.Push(IDOK);
  EXPECT_FALSE(Report->PrintPrepared("2-x", 1, 0, true));
  ASSERT_EQ(Modal.Asked.size(), 1u);
  EXPECT_EQ(Modal.Asked[0].Caption, "Erreur");
  EXPECT_NE(Modal.Asked[0].Text.find("2-x"), String::npos) << Modal.Asked[0].Text;
}

TEST_F(ZrExportRun, AnInvalidPrinterIsRefusedAndThePreviousOneKept) {
  int before = zrPrinter()->PrinterIndex();
  Modal.Push(IDOK);
  EXPECT_FALSE(Report->SwitchPrinter(before, zrPrinter()->PrinterNames()->Count() + 3));
  ASSERT_EQ(Modal.Asked.size(), 1u);
  EXPECT_EQ(Modal.Asked[0].Text, "L'imprimante sélectionnée est non valide"_a);
  EXPECT_EQ(Modal.Asked[0].Caption, "Erreur");
  EXPECT_EQ(zrPrinter()->PrinterIndex(), before);
  EXPECT_EQ(Report->PrinterName, zrPrinter()->CurrentPrinterName());
  EXPECT_TRUE(Report->SwitchPrinter(before, before));
}

}  // namespace
