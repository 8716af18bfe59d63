// Tests of the filter dialog's criteria window with this library's controls in it: the masked
// value editors it makes by class name, and the date pickers of a date range, whose values it
// reads back as the range texts (an end without time meaning the whole day).
#include <gtest/gtest.h>

#include <memory>

#include "ComCtrls.h"
#include "DateTimeFormat.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "FormatSettings.h"
#include "StdCtrlsTestSupport.h"
#include "TypInfo.h"
#include "VectorDataSet.h"
#include "qvFilterDialog.h"
#include "qvFilterDialogForm.h"
#include "qvdbdatetimepicker.h"
#include "qvdbedit.h"
#include "Qvdbcomb.h"

namespace {

class FilterWindowControls : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    FormatSettings = TFormatSettings::French();
    Table.AddRow({1, "Lagune", EncodeDateTime(2024, 3, 2, 0, 0, 0, 0)});
    Table.AddRow({2, "Mare", EncodeDateTime(2024, 3, 5, 15, 0, 0, 0)});
    Table.AddRow({3, "Marais", EncodeDateTime(2024, 3, 6, 0, 0, 0, 0)});
    Table.AddRow({4, "Baie", EncodeDateTime(2024, 3, 1, 23, 0, 0, 0)});
    Table.Open();
    Source = new TDataSource(Form.get());
    Source->SetDataSet(&Table);
    Dialog = new TqvFilterDialog(Form.get());
    Dialog->SetDataSource(Source);
    ShowForm();
  }
  void TearDown() override {
    for (const TModalQuestion& Question : Script.Unexpected) ADD_FAILURE() << "asked: " << Question.Text;
    *Alive = false;
    delete Dialog;
    StdFormTest::TearDown();
  }
  String Codes() {
    String Result;
    for (Table.First(); !Table.Eof(); Table.Next())
      Result += (Result.empty() ? "" : ",") + Table.FieldByName("Code")->AsString();
    return Result;
  }
  TqvFilterDlg* Window() { return dynamic_cast<TqvFilterDlg*>(Dialog->FilterDlg()); }
  // Runs Work once the criteria window is shown, active and painted, then ends the window when
  // Work left it open. A window still open long after (a failed step returned early, or a loop
  // of its own kept it) is ended with a failure, so that a fault fails the test instead of
  // hanging the program.
  void WhenShown(std::function<void(TqvFilterDlg*)> Work) {
    std::shared_ptr<bool> Live = Alive;
    Later([this, Live] {
      if (!*Live || Window() == nullptr || !Window()->Showing()) return;
      ADD_FAILURE() << "the criteria window was still open after the deadline";
      Window()->SetModalResult(-1);
    }, 3 * kWaitLimit);
    Later([this, Work] {
      ASSERT_TRUE(WaitFor("the criteria window", [&] {
        return Window() != nullptr && Screen->ActiveForm() == Window() && Window()->Showing();
      }));
      ASSERT_TRUE(Painted(Window()));
      TqvFilterDlg* W = Window();
      Work(W);
      EndModalIfStillOpen(W);
    });
  }

  TVectorDataSet Table{{{"Code", ftInteger}, {"Nom", ftString, 20}, {"Releve", ftDateTime}}};
  TDataSource* Source = nullptr;
  TqvFilterDialog* Dialog = nullptr;
  std::shared_ptr<bool> Alive = std::make_shared<bool>(true);
};

TEST_F(FilterWindowControls, ADateRangeIsEditedInDatePickersAndReadBackAsTexts) {
  TqvFieldInfo Range;
  Range.DisplayLabel = "Releve";
  Range.MatchType = fdMatchRange;
  Range.MinValue = "02/03/2024";
  Range.MaxValue = "05/03/2024";
  Dialog->FieldInfos = {Range};
  WhenShown([&](TqvFilterDlg* W) {
    ASSERT_NE(W->MinDateEdit, nullptr);
    EXPECT_TRUE(dynamic_cast<TqvDBDateTimePicker*>(W->MinDateEdit));
    EXPECT_EQ(W->MinControl, W->MinDateEdit);
    EXPECT_TRUE(W->MinDateEdit->Showing());
    EXPECT_FALSE(W->MinValueEdit->Visible());
    EXPECT_EQ(W->SelectNotebook->ActivePage(), W->TabSheet2);
    auto* Low = static_cast<TqvDBDateTimePicker*>(W->MinDateEdit);
    auto* High = static_cast<TqvDBDateTimePicker*>(W->MaxDateEdit);
    EXPECT_EQ(Low->DateTime(), EncodeDate(2024, 3, 2));
    EXPECT_EQ(High->DateTime(), EncodeDate(2024, 3, 5));
    EXPECT_EQ(Low->Epoch, 1950);
    EXPECT_EQ(Low->UnboundDataType(), qvDTEdtDateTime);
    ClickControl(W->OKButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  ASSERT_EQ(Dialog->FieldInfos.size(), 1u);
  EXPECT_EQ(Dialog->FieldInfos[0].MinValue, "02/03/2024");
  // An end without time takes in the whole day.
  EXPECT_EQ(Dialog->FieldInfos[0].MaxValue, "05/03/2024");
  EXPECT_EQ(Codes(), "1,2");

  // An end given at noon stops there; the start cleared leaves that side open.
  WhenShown([&](TqvFilterDlg* W) {
    static_cast<TqvDBDateTimePicker*>(W->MaxDateEdit)->SetDateTime(EncodeDateTime(2024, 3, 5, 12, 0, 0, 0));
    ClickControl(W->MinValueClearButton);
    ClickControl(W->OKButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  ASSERT_EQ(Dialog->FieldInfos.size(), 1u);
  EXPECT_EQ(Dialog->FieldInfos[0].MinValue, "");
  EXPECT_EQ(Dialog->FieldInfos[0].MaxValue, "05/03/2024 12:00:00");
  EXPECT_EQ(Codes(), "1,4");

  // The dialog may ask for typed ends instead.
  Dialog->Options.Include(fdDisableDateTimePicker);
  WhenShown([&](TqvFilterDlg* W) {
    EXPECT_EQ(W->MinControl, W->MinValueEdit);
    EXPECT_FALSE(W->MinDateEdit->Visible());
    EXPECT_EQ(W->MaxValueEdit->Text(), "05/03/2024 12:00:00");
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
}

TEST_F(FilterWindowControls, TheValueEditorsAreTheLibrarysMaskedOnesExceptForAnywhere) {
  struct TSelectHandler : TObject {
    void Select(TObject*, const String& FieldName, String& Mask, TStrings* List) {
      if (FieldName != "Code") return;
      Mask = "#[#]";
      List->Add("1");
      List->Add("2");
    }
  } Handler;
  Dialog->OnSelectField = TqvOnSelectFilterField(&Handler, &TSelectHandler::Select);
  Dialog->DefaultField = "Code";
  Dialog->DefaultFilterBy = fdFilterByValue;
  WhenShown([&](TqvFilterDlg* W) {
    auto* Edit = dynamic_cast<TqvDBEdit*>(W->FilterValueEdit);
    auto* Combo = dynamic_cast<TqvDBComboBox*>(W->FilterValueCombo);
    ASSERT_NE(Edit, nullptr);
    ASSERT_NE(Combo, nullptr);
    EXPECT_EQ(GetStrProp(Edit, "Picture.PictureMask"), "#[#]");
    EXPECT_EQ(GetStrProp(Combo, "Picture.PictureMask"), "#[#]");
    EXPECT_EQ(W->ValueControl, W->FilterValueCombo);
    EXPECT_EQ(Combo->Items()->Count(), 2);
    EXPECT_TRUE(Combo->ShowButton());
    EXPECT_NE(GetOrdProp(Combo, "UsePictureMask"), 0);
    ClickControl(W->MatchTypeGroup->Buttons(2));
    EXPECT_EQ(W->ValueControl, W->FilterValueEdit);
    EXPECT_EQ(GetOrdProp(Edit, "UsePictureMask"), 0);
    ClickControl(W->MatchTypeGroup->Buttons(0));
    ClickControl(W->FilterValueCombo);
    TypeText("2");
    ClickControl(W->OKButton);
  });
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "2");
}

}  // namespace
