// Tests of the preview's commands and dialogs answered by real input: the print dialog (page list,
// copies and their buttons, the printer kept on cancel), the find dialog and F3, saving as a
// prepared-report file or through the RTF filter from the save dialog, opening a prepared-report
// file; and of the progress window, the password prompt and the display-format editor.
#include <gtest/gtest.h>

#include "FileUtils.h"
#include "ScopeGuard.h"
#include "ZR_Dialogs.h"
#include "ZR_E_RTF.h"
#include "ZrWindowTestSupport.h"
#include "Printers.h"

namespace {

class ZrCommands : public ZrWindowTest {};

TEST_F(ZrCommands, ThePrintDialogPrintsThePagesTypedWithItsCopies) {
  if (Printer()->Printers()->IndexOf("PDF") < 0) GTEST_SKIP() << "no printer named PDF";
  Printer()->SetPrinterIndex(Printer()->Printers()->IndexOf("PDF"));
  std::string title = UniqueTitle("velbordialogue");
  Report->Title = title;
  ASSERT_NE(OpenPreview(), nullptr);
  WhenActive("TzrPrintForm", [](TCustomForm* Form) {
    auto* dialog = dynamic_cast<TzrPrintForm*>(Form);
    ASSERT_TRUE(Painted(dialog));
    SaveScreenshot(dialog->Handle(), "print-dialog");
    EXPECT_EQ(dialog->CB1->Items()->Strings(dialog->CB1->ItemIndex()), "PDF");
    EXPECT_EQ(dialog->E1->Text(), "1");
    EXPECT_TRUE(dialog->CollateCB->Checked());
    EXPECT_EQ(dialog->CB2->Items()->Count(), 3);
    // The down button keeps at least one copy; the up button adds one.
    ClickControl(dialog->zrSpeedButton2);
    EXPECT_EQ(dialog->E1->Text(), "1");
    ClickControl(dialog->zrSpeedButton1);
    EXPECT_EQ(dialog->E1->Text(), "2");
    // Entering the pages' edit chooses the page list.
    ClickControl(dialog->E2);
    EXPECT_TRUE(dialog->RB3->Checked());
    TypeText("4-3");
    Press(VK_RETURN);
  });
  PressCombo(VK_CONTROL, 'P');
  std::vector<std::string> pdfs = WaitForPdfs(title, 1);
  ASSERT_EQ(pdfs.size(), 1u);
  std::vector<std::string> pages = PdfPages(pdfs[0]);
  std::vector<std::string> zones;
  for (const std::string& p : pages) zones.push_back(p.substr(p.find("Zone 00") + 5, 3));
  EXPECT_EQ(zones, (std::vector<std::string>{"003", "004", "003", "004"}));
  std::remove(pdfs[0].c_str());
  EXPECT_EQ(Preview->Pages()->Count(), 5) << "the window holds its pages again";
}

TEST_F(ZrCommands, CancellingThePrintDialogKeepsThePrinterItHad) {
  ASSERT_NE(OpenPreview(), nullptr);
  int before = zrPrinter()->PrinterIndex();
  WhenActive("TzrPrintForm", [](TCustomForm*) {
    // Another printer chosen, then the dialog cancelled.
    zrPrinter()->SelectPrinter(zrPrinter()->VirtualIndex());
    Press(VK_ESCAPE);
  });
  ClickControl(Preview->PrintBtn);
  EXPECT_EQ(zrPrinter()->PrinterIndex(), before);
}

TEST_F(ZrCommands, FindShowsThePageOfATextAndF3GoesOn) {
  ASSERT_NE(OpenPreview(), nullptr);
  WhenActive("TzrPreviewSearchForm", [](TCustomForm* Form) {
    ASSERT_TRUE(Painted(dynamic_cast<TWinControl*>(Form)));
    SaveScreenshot(Form->Handle(), "find-dialog");
    TypeText("etang");
    Press(VK_RETURN);
  });
  PressCombo(VK_CONTROL, 'F');
  EXPECT_TRUE(Preview->TextFound);
  EXPECT_EQ(Preview->CurrentPage, 2) << "Etang du Moulin";
  EXPECT_EQ(Preview->FindText, "ETANG");
  Press(VK_F3);
  EXPECT_TRUE(Preview->TextFound);
  EXPECT_EQ(Preview->CurrentPage, 5) << "Etang de Berre";
  Press(VK_F3);
  EXPECT_FALSE(Preview->TextFound) << "no page after the last hit holds it";
  EXPECT_EQ(Preview->CurrentPage, 5);
  // Case-sensitive, from the first page: only the capitalised word counts.
  WhenActive("TzrPreviewSearchForm", [](TCustomForm* Form) {
    auto* search = dynamic_cast<TzrPreviewSearchForm*>(Form);
    search->Edit1->SetText("camargue");
    ClickControl(search->CB1);
    ClickControl(search->RB1);
    Press(VK_RETURN);
  });
  PressCombo(VK_CONTROL, 'F');
  EXPECT_FALSE(Preview->TextFound);
}

TEST_F(ZrCommands, SavingThroughTheRtfFilterAndAsAPreparedFile) {
  TzrRTFExport filter(nullptr);
  filter.Default = true;
  filter.ShowDialog = false;
  ASSERT_NE(OpenPreview(), nullptr);
  {
    TModalScript script;
    TModalAnswer rtf;
    rtf.Result = 1;
    rtf.Value = Folder + "\\liste.doc";
    rtf.Fields["FilterIndex"] = "2";
    script.Push(rtf);
    PressCombo(VK_CONTROL, 'S');
    ASSERT_EQ(script.Asked.size(), 1u);
    EXPECT_EQ(script.Asked[0].Fields.at("FilterIndex"), "2") << "the default filter is offered";
    EXPECT_EQ(script.Asked[0].Fields.at("Filter"),
              "Fichier d'état (*.zrp)|*.zrp|Fichier texte enrichie (RTF) (*.rtf)|*.rtf"_a);
  }
  ASSERT_TRUE(FileExists(Folder + "\\liste.rtf")) << "the extension is the filter's";
  EXPECT_FALSE(FileExists(Folder + "\\liste.doc"));
  EXPECT_EQ(Preview->Pages()->Count(), 5);
  {
    TModalScript script;
    TModalAnswer zrp;
    zrp.Result = 1;
    zrp.Value = Folder + "\\liste.txt";
    zrp.Fields["FilterIndex"] = "1";
    script.Push(zrp);
    ClickControl(Preview->SaveBtn);
  }
  ASSERT_TRUE(FileExists(Folder + "\\liste.zrp"));
  // Opened again (Ctrl+O works without its button), the file's pages replace the window's.
  PressCombo(VK_CONTROL, VK_END);
  ASSERT_EQ(Preview->CurrentPage, 5);
  TzrEMFPages* before = Preview->Pages();
  {
    TModalScript script;
    script.Push(1, Folder + "\\liste.zrp");
    PressCombo(VK_CONTROL, 'O');
    ASSERT_EQ(script.Asked.size(), 1u);
    EXPECT_EQ(script.Asked[0].Fields.at("Filter"), "Fichier d'état (*.zrp)|*.zrp"_a);
  }
  EXPECT_NE(Preview->Pages(), before);
  EXPECT_EQ(Preview->Pages()->Count(), 5);
  EXPECT_EQ(Preview->CurrentPage, 1);
  EXPECT_EQ(Preview->Label1->Caption(), "Page 1/5");
}

TEST_F(ZrCommands, TheProgressWindowRunsTheBuildAndItsCancelStopsIt) {
  Report->ShowProgress = true;
  Report->Title = "Liste";
  std::vector<String> captions;
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(Report->EMFPages()->Count(), 5);
  auto* progress = dynamic_cast<TzrProgressForm*>(zrGlobals().ProgressForm());
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->Caption(), "Préparation de l'état - Liste"_a);
  EXPECT_FALSE(progress->Visible());
  // A cancel while the build runs: the report stops and keeps no page.
  class TCanceller : public TObject {
   public:
    TzrProgressForm* Window = nullptr;
    void Page(int) {
      if (Window->IsShowing()) Window->Button1->Click();
    }
  } canceller;
  canceller.Window = progress;
  Report->OnBeginPage = TzrPageEvent(&canceller, &TCanceller::Page);
  EXPECT_FALSE(Report->Prepare());
  EXPECT_TRUE(Report->Terminated);
  EXPECT_LT(Report->EMFPages()->Count(), 5);
}

TEST_F(ZrCommands, AProtectedTemplateAsksItsPasswordInItsWindow) {
  Report->Info.Password = "Tourbe";
  Report->Info.Protected = 1;
  String file = Folder + "\\secret.zrf";
  {
    TFileStream out(file, fmCreate);
    Report->WriteTemplate(&out);
  }
  for (bool right : {true, false}) {
    WhenActive("TzrPasswForm", [right](TCustomForm* Form) {
      ASSERT_TRUE(Painted(dynamic_cast<TWinControl*>(Form)));
      if (right) SaveScreenshot(Form->Handle(), "password");
      EXPECT_EQ(Form->Caption(), "Mot de passe");
      TypeText(right ? "Tourbe" : "tourbe");
      Press(VK_RETURN);
    });
    ASSERT_TRUE(Report->LoadTemplateFile(file));
    EXPECT_EQ(Report->FindObjectByName("Nom") != nullptr, right) << (right ? "accepted" : "refused: a blank page");
  }
}

TEST_F(ZrCommands, TheFormatEditorShowsAndTakesACode) {
  auto* editor = CreateForm<TzrFmtForm>(nullptr);
  TScopeGuard free([editor] { editor->Free(); });
  editor->Format = 16843308;  // number, "1234,50", 2 decimals, ","
  WhenActive("TzrFmtForm", [](TCustomForm* Form) {
    auto* f = dynamic_cast<TzrFmtForm*>(Form);
    ASSERT_TRUE(Painted(f));
    SaveScreenshot(f->Handle(), "format-editor");
    EXPECT_EQ(f->CatLB->Items()->Strings(f->CatLB->ItemIndex()), "Nombre");
    EXPECT_EQ(f->TypeLB->Items()->Strings(f->TypeLB->ItemIndex()), "1234,50");
    EXPECT_EQ(f->DecEdit->Text(), "2");
    EXPECT_EQ(f->SplEdit->Text(), ",");
    EXPECT_FALSE(f->FormatEdit->Enabled());
    // Three decimals and no separator: the separator becomes ",".
    f->DecEdit->SetText("3");
    f->SplEdit->SetText("");
    ClickControl(f->Button1);
  });
  ASSERT_EQ(editor->ShowModal(), mrOk);
  EXPECT_EQ(editor->Format, (1 << 24) | (1 << 16) | (3 << 8) | ',');
}

}  // namespace
