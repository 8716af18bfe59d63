// Tests of the .xlsx writing: workbooks written and read back (sheets in order, the active one,
// cells with their types and formats, accented texts), failures that leave the target as it was,
// and the time to write an export-sized workbook.
#include "XlsxWriter.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <iostream>

#include "DateTime.h"
#include "OsPort.h"
#include "Spreadsheet.h"
#include "XlsxReader.h"

namespace {

class XlsxFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = OsPort::TempFolder() + "velbor_xlsx_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
             "_" + std::to_string(OsPort::TickCount());
    ASSERT_TRUE(OsPort::CreateDirectory(Folder)) << Folder;
    Folder += "\\";
  }
  void TearDown() override {
    chmod(OsPort::HostPath(Folder).c_str(), 0755);
    for (const String& Name : OsPort::ListFolder(Folder, "*")) {
      if (OsPort::DirectoryExists(Folder + Name)) {
        OsPort::RemoveDirectory(Folder + Name);
      } else {
        OsPort::DeleteFile(Folder + Name);
      }
    }
    OsPort::RemoveDirectory(Folder);
  }
  std::string Host(const String& Name) { return OsPort::HostPath(Folder + Name); }

  String Folder;  // Windows path, with its trailing backslash
};

void Put(TWorksheet* Sheet, const char* Reference, const char* Format, const Variant& Value) {
  TCellRange Cell = Sheet->Range(Reference);
  if (Format) Cell.SetNumberFormat(Format);
  Cell.SetValue(Value);
}

// What the export does after writing a sheet.
void Finish(TWorksheet* Sheet) {
  Sheet->Cells().Select();
  Sheet->Cells().SetRowHeight(12.75);
  Sheet->Range("A1").Select();
}

// A workbook of the given sheets, each with one text cell, for the failure tests.
TWorkbook* SmallBook(TSpreadsheet& App) {
  TWorkbook* Book = App.Workbooks()->Add();
  for (int i = 1; i <= 3; ++i)
    for (int r = 1; r <= 50; ++r)
      Put(Book->Worksheets()->Item(i), ("A" + std::to_string(r)).c_str(), "@", "Texte de la ligne " + std::to_string(r));
  return Book;
}

}  // namespace

TEST_F(XlsxFiles, AWorkbookReadsBackWithItsSheetsCellsTypesAndFormats) {
  TSpreadsheet App;
  App.Visible = true;
  App.DisplayAlerts = false;
  TWorkbook* Book = App.Workbooks()->Add();
  while (Book->Worksheets()->Count() > 1) Book->Worksheets()->Item(Book->Worksheets()->Count() - 1)->Delete();
  TWorksheet* Zh = Book->Worksheets()->Item(1);
  Zh->SetName("Zone Humide");
  Put(Zh, "A1", "@", "ZH_CODE");
  Put(Zh, "A2", "0", "00123");  // a code under the number format "0" stays a text
  Put(Zh, "B2", "@", "0042");
  Put(Zh, "C2", "0", 12.5);
  Put(Zh, "D2", nullptr, 7);
  Put(Zh, "E2", "0", Variant::FromDate(EncodeDate(2024, 3, 5)));
  Put(Zh, "F2", nullptr, Variant::FromDate(EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 0, 0)));
  Put(Zh, "G2", nullptr, true);
  Put(Zh, "H2", "@", false);
  Put(Zh, "I2", "@", "Étang de l'Œuf – côté € «x» & <y>"_a);
  Put(Zh, "J2", "@", "ligne 1\nligne 2");
  Put(Zh, "K2", "@", "=SOMME(A1)");
  Put(Zh, "L2", "dd/mm/yy", Variant::FromDate(EncodeDate(1900, 2, 28)));
  Put(Zh, "M2", nullptr, Variant::FromDate(EncodeDate(1899, 12, 30)));
  Put(Zh, "N2", "@", "  espaces  ");
  Put(Zh, "O2", "0", Variant::Null());
  Put(Zh, "AZ3", nullptr, Variant::FromCurrency(1234.5678));
  Finish(Zh);
  Book->Worksheets()->Add()->SetName("Critères délim."_a);
  Put(Book->ActiveSheet(), "B7", "@", "Végétation"_a);
  Book->ActiveSheet()->Range("B7").Select();
  String LongName = String(28, 'a') + "éèà"_a;  // 31 characters, 34 bytes in UTF-8
  Book->Worksheets()->Add()->SetName(LongName);
  Book->Worksheets()->Item(3)->Move(Book->Worksheets()->Item(1));
  ASSERT_EQ(Book->ActiveSheet()->GetName(), LongName);

  Book->Close(true, Folder + "export.xlsx");
  EXPECT_TRUE(Book->IsClosed());
  EXPECT_FALSE(OsPort::FileExists(Folder + "export.xlsx.tmp"));

  // The reader gives the file's own UTF-8 texts, so the expected texts below are UTF-8 too.
  XlsxBook Read = ReadXlsx(Host("export.xlsx"));
  ASSERT_EQ(Read.Sheets.size(), 3u);
  EXPECT_EQ(Read.Sheets[0].Name, "Zone Humide");
  EXPECT_EQ(Read.Sheets[1].Name, std::string(28, 'a') + "éèà");
  EXPECT_EQ(Read.Sheets[2].Name, "Critères délim.");
  EXPECT_EQ(Read.ActiveTab, 1);
  EXPECT_EQ(Read.Sheets[2].Cells["B7"].Value, "Végétation");

  const XlsxSheet& S = Read.Sheets[0];
  struct Case {
    const char* Reference;
    const char* Type;
    const char* Value;
    const char* Format;
  } Cases[] = {
      {"A1", "s", "ZH_CODE", "@"},
      {"A2", "s", "00123", "0"},
      {"B2", "s", "0042", "@"},
      {"C2", "n", "12.5", "0"},
      {"D2", "n", "7", "General"},
      {"E2", "n", "45356", "dd/mm/yyyy"},  // a plain "0" would show the serial: a date format instead
      {"G2", "b", "1", "General"},
      {"H2", "b", "0", "@"},
      {"I2", "s", "Étang de l'Œuf – côté € «x» & <y>", "@"},
      {"J2", "s", "ligne 1\nligne 2", "@"},
      {"K2", "s", "=SOMME(A1)", "@"},
      {"L2", "n", "59", "dd/mm/yy"},  // before the serials' 29 February 1900: one less
      {"M2", "s", "30/12/1899", "General"},  // no serial: the date as text
      {"N2", "s", "  espaces  ", "@"},
      {"O2", "", "", "0"},
      {"AZ3", "n", "1234.5678", "General"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Reference);
    ASSERT_EQ(S.Cells.count(C.Reference), 1u);
    const XlsxCell& Cell = S.Cells.at(C.Reference);
    EXPECT_EQ(Cell.Type, C.Type);
    EXPECT_EQ(Cell.Value, C.Value);
    EXPECT_EQ(Cell.Format, C.Format);
  }
  const XlsxCell& DateTime = S.Cells.at("F2");
  EXPECT_EQ(DateTime.Type, "n");
  EXPECT_NEAR(std::stod(DateTime.Value), 45356 + 14.5 / 24, 1e-9);
  EXPECT_EQ(DateTime.Format, "dd/mm/yyyy hh:mm:ss");
  EXPECT_EQ(S.Cells.size(), std::size(Cases) + 1);  // no cell where none was set
  EXPECT_EQ(S.DefaultRowHeight, "12.75");
  EXPECT_EQ(S.Selection, "A1");
  EXPECT_EQ(Read.Sheets[2].Selection, "B7");
  EXPECT_EQ(Read.Sheets[2].DefaultRowHeight, "15");  // the library's default, not set here
}

TEST_F(XlsxFiles, AnExistingFileIsReplacedAndTheWorkbookSavedUnderAnotherNameStaysClosed) {
  ASSERT_TRUE(OsPort::CopyFile(OsPort::ProgramPath(), Folder + "export.xlsx", false));
  TSpreadsheet App;
  TWorkbook* Book = App.Workbooks()->Add();
  Put(Book->ActiveSheet(), "A1", "@", "nouveau");
  Book->Close(true, Folder + "export.xlsx");
  // The reader gives the file's own UTF-8 texts, so the expected texts below are UTF-8 too.
  XlsxBook Read = ReadXlsx(Host("export.xlsx"));
  ASSERT_EQ(Read.Sheets.size(), 3u);
  EXPECT_EQ(Read.Sheets[0].Cells["A1"].Value, "nouveau");
  EXPECT_EQ(OsPort::ListFolder(Folder, "*").size(), 1u);  // no temporary file left
}

TEST_F(XlsxFiles, AFailedWriteLeavesTheTargetAsItWasAndSaysWhatFailed) {
  const std::string Earlier = "the earlier file, byte for byte\r\n\x01\x02";
  enum TCause { TempNameTaken, FolderMissing, WriteCutShort, ReadOnlyFolder };
  struct Case {
    const char* What;
    TCause Cause;
    const char* Message;  // a part of the message
    bool TargetExists;
  };
  std::vector<Case> Cases = {
      {"temporary name taken by a folder", TempNameTaken, "fichier temporaire", true},
      {"folder missing", FolderMissing, "n'existe pas", false},
      {"write cut short", WriteCutShort, "criture du fichier", true},
  };
  // The super-user writes into any folder whatever its permissions.
  if (geteuid() != 0) Cases.push_back({"read-only folder", ReadOnlyFolder, "fichier temporaire", true});

  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    String Sub = Folder + std::to_string(&C - Cases.data()) + "\\";
    ASSERT_TRUE(OsPort::CreateDirectory(Sub));
    String Target = Sub + "export.xlsx";
    if (C.Cause == FolderMissing) Target = Sub + "absent\\export.xlsx";
    if (C.TargetExists) {
      OsPort::FileHandle H = OsPort::CreateFile(Target);
      ASSERT_NE(H, OsPort::InvalidHandle);
      OsPort::WriteFile(H, Earlier.data(), Earlier.size());
      OsPort::CloseFile(H);
    }
    std::string HostSub = OsPort::HostPath(Sub);
    if (C.Cause == TempNameTaken) {
      ASSERT_TRUE(OsPort::CreateDirectory(Target + ".tmp"));
    }
    if (C.Cause == ReadOnlyFolder) {
      ASSERT_EQ(chmod(HostSub.c_str(), 0555), 0);
    }

    TSpreadsheet App;
    TWorkbook* Book = SmallBook(App);
    struct rlimit Saved {};
    void (*SavedHandler)(int) = SIG_DFL;
    if (C.Cause == WriteCutShort) {
      // Files of this process cannot grow past 2 KB: the writing fails part way.
      getrlimit(RLIMIT_FSIZE, &Saved);
      struct rlimit Small = Saved;
      Small.rlim_cur = 2048;
      SavedHandler = signal(SIGXFSZ, SIG_IGN);
      setrlimit(RLIMIT_FSIZE, &Small);
    }
    String Message;
    try {
      Book->Close(true, Target);
    } catch (const EAutomationError& E) {
      Message = E.Message;
    }
    if (C.Cause == WriteCutShort) {
      setrlimit(RLIMIT_FSIZE, &Saved);
      signal(SIGXFSZ, SavedHandler);
    }
    chmod(HostSub.c_str(), 0755);
    EXPECT_NE(Message.find(C.Message), String::npos) << Message;
    EXPECT_NE(Message.find(Target), String::npos) << Message;
    if (C.TargetExists) {
      EXPECT_EQ(ReadFileBytes(OsPort::HostPath(Target)), Earlier);
    } else {
      EXPECT_FALSE(OsPort::FileExists(Target));
    }
    if (C.Cause != TempNameTaken) {
      EXPECT_FALSE(OsPort::FileExists(Target + ".tmp"));
    }
    // The workbook is still open: saved elsewhere, it is whole.
    ASSERT_FALSE(Book->IsClosed());
    Book->Close(true, Sub + "ailleurs.xlsx");
    EXPECT_EQ(ReadXlsx(OsPort::HostPath(Sub + "ailleurs.xlsx")).Sheets.at(2).Cells["A50"].Value, "Texte de la ligne 50");
    for (const String& Name : OsPort::ListFolder(Sub, "*")) {
      if (OsPort::DirectoryExists(Sub + Name)) {
        OsPort::RemoveDirectory(Sub + Name);
      } else {
        OsPort::DeleteFile(Sub + Name);
      }
    }
    OsPort::RemoveDirectory(Sub);
  }
}

// The export's size: 1,000 rows in the wetlands' sheet and in each of 31 detail sheets.
TEST_F(XlsxFiles, AnExportSizedWorkbookIsWrittenWellUnderThreeSeconds) {
  // Processor time is what is compared: other programs may load the machine while this runs.
  std::clock_t CpuStart = std::clock();
  auto Start = std::chrono::steady_clock::now();
  TSpreadsheet App;
  TWorkbook* Book = App.Workbooks()->Add();
  while (Book->Worksheets()->Count() > 1) Book->Worksheets()->Item(1)->Delete();
  const int Rows = 1000, Details = 31;
  for (int s = 0; s <= Details; ++s) {
    TWorksheet* Sheet = Book->Worksheets()->Item(1);
    Sheet->SetName(s == 0 ? String("Zone Humide") : "Détail "_a + std::to_string(s));
    int Columns = s == 0 ? 40 : 10;
    for (int c = 1; c <= Columns; ++c) Put(Sheet, (ColumnLetters(c) + "1").c_str(), "@", "CHAMP_" + std::to_string(c));
    for (int r = 2; r <= Rows + 1; ++r)
      for (int c = 1; c <= Columns; ++c) {
        TCellRange Cell = Sheet->Range(ColumnLetters(c) + std::to_string(r));
        switch (c % 5) {
          case 1: Cell.SetNumberFormat("@"); Cell.SetValue("00ZH" + std::to_string(r * 7 % 1000)); break;
          case 2: Cell.SetNumberFormat("0"); Cell.SetValue(r * 3 + c); break;
          case 3: Cell.SetValue(Variant::FromDate(EncodeDate(2000 + r % 20, 1 + c % 12, 1 + r % 28))); break;
          case 4: Cell.SetNumberFormat("@"); Cell.SetValue("Prairie humide à joncs, ligne "_a + std::to_string(r)); break;
          default: Cell.SetValue(r % 2 == 0); break;
        }
      }
    Finish(Sheet);
    if (s < Details) Book->Worksheets()->Add();
  }
  Book->Worksheets()->Item(Book->Worksheets()->Count())->Move(Book->Worksheets()->Item(1));
  double Built = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  Book->Close(true, Folder + "grand.xlsx");
  double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  double CpuSeconds = double(std::clock() - CpuStart) / CLOCKS_PER_SEC;
  std::cout << "1,000 rows x 32 sheets (" << 1000 * (40 + 31 * 10) << " cells): built in " << Built
            << " s, built and written in " << Seconds << " s (" << CpuSeconds << " s of processor), "
            << ReadFileBytes(Host("grand.xlsx")).size()
            << " bytes\n";
  RecordProperty("seconds", std::to_string(Seconds));
#ifdef VELBOR_SANITIZED
  EXPECT_LT(CpuSeconds, 30.0);  // every memory access checked
#else
  EXPECT_LT(CpuSeconds, 3.0);
#endif

  XlsxBook Read = ReadXlsx(Host("grand.xlsx"));  // UTF-8 texts, as in the file
  ASSERT_EQ(Read.Sheets.size(), 32u);
  EXPECT_EQ(Read.Sheets[0].Name, "Zone Humide");
  EXPECT_EQ(Read.Sheets[1].Name, "Détail 31");
  EXPECT_EQ(Read.Sheets[31].Name, "Détail 1");
  EXPECT_EQ(Read.Sheets[0].Cells.size(), 40u * 1001);
  EXPECT_EQ(Read.Sheets[31].Cells["A1001"].Value, "00ZH" + std::to_string(1001 * 7 % 1000));
}
