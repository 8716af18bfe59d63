// This file implements what the tests of the record-view dialog share: a fresh SQLite file with a
// wetland table (text, float, integer, date, boolean, memo and a commune code with its lookup
// field), an editable query on it, a shown owner form holding the dialog, and the way to act
// inside the dialog's own modal loop.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "NavTestSupport.h"
#include "SqliteQueryData.h"
#include "TestFolder.h"

#include "Field.h"
#include "qvPropAccess.h"
#include "qvRecordViewDialog.h"

class RecordViewTest : public TestFolder, public SqliteQueryData, public TObject {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    OpenQueryData(PathOf("zones.db"),
                  {"CREATE TABLE COMMUNE (COM_CODE VARCHAR(5) PRIMARY KEY, COM_LIB VARCHAR(50))",
                   "INSERT INTO COMMUNE VALUES ('01001', 'Abergement-Clémenciat')"_a,
                   "INSERT INTO COMMUNE VALUES ('01002', 'L''Abergement-de-Varey')",
                   "CREATE TABLE ZONE (ID INTEGER PRIMARY KEY, NOM VARCHAR(40), SURFACE FLOAT, NB INTEGER, "
                   "DATE_OBS DATETIME, ACTIF BOOLEAN, NOTES MEMO, COM_CODE VARCHAR(5))",
                   "INSERT INTO ZONE VALUES (1, 'Marais de l''Étang', 12.5, 7, 45292.0, 1, 'Roselière à l''est', '01002')"_a,
                   "INSERT INTO ZONE VALUES (2, 'Tourbière', 3.25, 2, 45300.0, 0, NULL, '01001')"_a},
                  "SELECT ID, NOM, SURFACE, NB, DATE_OBS, ACTIF, NOTES, COM_CODE FROM ZONE ORDER BY ID");
    Communes = std::make_unique<TADOQuery>(nullptr);
    Communes->SetConnection(Connection.get());
    Communes->SetLockType(ltReadOnly);
    Communes->SQL()->SetText("SELECT COM_CODE, COM_LIB FROM COMMUNE ORDER BY COM_CODE");
    Communes->Open();
    // Persistent fields, as a form description declares them, and the commune's name looked up.
    Query->Close();
    for (int i = 0; i < Query->FieldDefs()->Count(); ++i) Query->FieldDefs()->Items(i)->CreateField(Query.get());
    auto* Commune = new TStringField(Query.get());
    Commune->SetSize(50);
    Commune->SetFieldName("COMMUNE");
    Commune->SetFieldKind(fkLookup);
    Commune->SetKeyFields("COM_CODE");
    Commune->SetLookupDataSet(Communes.get());
    Commune->SetLookupKeyFields("COM_CODE");
    Commune->SetLookupResultField("COM_LIB");
    Commune->SetDataSet(Query.get());
    Query->Open();
    Query->FieldByName("NOM")->SetDisplayLabel("Nom~du site");
    Query->FieldByName("DATE_OBS")->SetDisplayLabel("Date d'observation");

    Owner.reset(CreateForm<TForm>(nullptr));
    Owner->SetBounds(60, 60, 300, 200);
    Owner->SetCaption("Zones humides");
    Dialog = new TqvRecordViewDialog(Owner.get());
    Dialog->SetDataSource(Source.get());
    Owner->Show();
    Activate(Owner.get());
  }
  void TearDown() override {
    *Alive = false;
    Owner.reset();
    PumpPending();
    Communes.reset();
    CloseQueryData();
    TestFolder::TearDown();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }

  // Runs Work once the dialog's window is shown, active and painted; a window still open when
  // Work is done is ended (result -1) so that a fault fails the test instead of hanging it.
  void WhenShown(std::function<void(TqvRecordViewForm*)> Work) {
    GuardAgainstHanging();
    Later([this, Work] {
      ASSERT_TRUE(WaitFor("the record-view window", [&] {
        return Dialog->Form() != nullptr && Screen->ActiveForm() == Dialog->Form() && Dialog->Form()->Showing();
      }));
      ASSERT_TRUE(Painted(Dialog->Form()));
      Work(Dialog->Form());
      EndIfStillOpen();
    });
  }

  // Runs Steps one after the other inside the window's modal loop, each once the loop has handled
  // what the previous one did (a close asked for is only carried out by the loop itself). The
  // window is ended after the last step when it is still open.
  using TStep = std::function<void(TqvRecordViewForm*)>;
  void WhenShownSteps(std::vector<TStep> Steps) {
    GuardAgainstHanging();
    auto Shared = std::make_shared<std::vector<TStep>>(std::move(Steps));
    Later([this, Shared] {
      ASSERT_TRUE(WaitFor("the record-view window", [&] {
        return Dialog->Form() != nullptr && Screen->ActiveForm() == Dialog->Form() && Dialog->Form()->Showing();
      }));
      ASSERT_TRUE(Painted(Dialog->Form()));
      RunStep(Shared, 0);
    });
  }
  void RunStep(std::shared_ptr<std::vector<TStep>> Steps, std::size_t Index) {
    TqvRecordViewForm* Window = Dialog->Form();
    if (Window == nullptr) {
      ADD_FAILURE() << "the window closed before step " << Index + 1;
      return;
    }
    (*Steps)[Index](Window);
    if (Index + 1 < Steps->size()) Later([this, Steps, Index] { RunStep(Steps, Index + 1); });
    else EndIfStillOpen();
  }

  // Waits for the window to be ended; when it is not, fails and ends it without a question (a
  // question answered from an empty script would keep it open).
  void EndIfStillOpen() {
    TqvRecordViewForm* Window = Dialog->Form();
    if (Window == nullptr || PumpUntil([Window] { return Window->ModalResult() != mrNone; })) return;
    ADD_FAILURE() << "the record-view window was still open";
    Dialog->Options.Exclude(rvoConfirmCancel);
    Window->SetModalResult(-1);
  }

  // A window still open long after its test's work (kept open by a question, say) is ended with
  // a failure, so that a fault fails the test rather than hanging the program.
  void GuardAgainstHanging() {
    std::shared_ptr<bool> Live = Alive;
    Later([this, Live] {
      if (!*Live || Dialog->Form() == nullptr) return;
      ADD_FAILURE() << "the record-view window was still open after the deadline";
      Dialog->Options.Exclude(rvoConfirmCancel);
      Dialog->Form()->SetModalResult(-1);
    }, 3 * kWaitLimit);
  }

  // The control of a field in the open window.
  TWinControl* ControlOf(const String& FieldName) {
    for (TWinControl* Control : Dialog->Controls())
      if (qvGetControlDataField(Control) == FieldName) return Control;
    return nullptr;
  }

  // A column of a ZONE row as the file holds it ("<null>" for NULL).
  String FileValue(int Id, const char* Column) {
    TADOQuery Check(nullptr);
    Check.SetConnection(Connection.get());
    Check.SQL()->SetText("SELECT " + String(Column) + " FROM ZONE WHERE ID = " + std::to_string(Id));
    Check.Open();
    TField* F = Check.FieldByName(Column);
    return F->IsNull() ? String("<null>") : F->AsString();
  }

  // Replaces the text of an edit as the user would: focus, select all, type.
  void Retype(TWinControl* Control, const String& Text) {
    ASSERT_TRUE(GiveFocus(Control));
    if (auto* Edit = dynamic_cast<TCustomEdit*>(Control)) Edit->SelectAll();
    TypeText(Text);
  }

  TModalScript Script;
  std::shared_ptr<bool> Alive = std::make_shared<bool>(true);
  std::unique_ptr<TADOQuery> Communes;
  TFormPtr<TForm> Owner;
  TqvRecordViewDialog* Dialog = nullptr;
};
