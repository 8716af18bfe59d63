// This file implements what the GUI tests of the grid engine share (see GridTestSupport.h).
#include "GridTestSupport.h"

#include "Field.h"
#include "Qvintl.h"

VELBOR_IMPLEMENT_CLASS(TTestGrid)

std::vector<TColumn> GridColumns() {
  return {{"NOM", ftString, 20}, {"CODE", ftInteger},  {"DATE_OBS", ftDate}, {"SURFACE", ftFloat},
          {"ACTIF", ftBoolean},  {"NOTE", ftMemo},     {"COM", ftString, 5}};
}

void GridFormTest::SetUp() {
  Deadline = std::make_unique<TTestDeadline>(120);
  StdFormTest::SetUp();
  qvFreeGlobalIntl();
  Form->SetBounds(60, 60, 600, 420);
  Communes = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"COM_CODE", ftString, 5}, {"COM_LIB", ftString, 30}});
  Communes->AddRow({Variant("01001"), Variant("L'Abergement-Clémenciat"_a)});
  Communes->AddRow({Variant("01002"), Variant("L'Abergement-de-Varey")});
  Communes->AddRow({Variant("01004"), Variant("Ambérieu-en-Bugey"_a)});
  Communes->Open();
  CommuneSource = new TDataSource(Form.get());
  CommuneSource->SetDataSet(Communes.get());
  Data = std::make_unique<TCountingDataSet>(GridColumns());
  Source = new TDataSource(Form.get());
  Source->SetName("Source");
  Source->SetDataSet(Data.get());
  Grid = new TTestGrid(Form.get());
  Grid->SetName("Grid");
  Grid->SetParent(Form.get());
  Grid->SetBounds(8, 8, 570, 300);
  Grid->SetDataSource(Source);
  Reload(12);
}

void GridFormTest::Reload(int Rows) {
  Data->Close();
  Data->Rows.clear();
  const char* Codes[] = {"01001", "01002", "01004"};
  for (int i = 1; i <= Rows; ++i)
    Data->AddRow({Variant("Nom " + std::to_string(i)), Variant(i), Variant(EncodeDate(2020, 1, 1) + i),
                  Variant(i * 1.5), Variant(i % 2 == 0), Variant(), Variant(Codes[i % 3])});
  if (Data->FieldCount() == 0) {
    // Persistent fields, as a form description declares them: the table's own, then the lookup.
    for (const TColumn& Column : Data->Columns) {
      auto* Field = static_cast<TField*>(DefaultFieldClasses(Column.Type)->Create(Data.get()));
      if (Column.Type == ftString) Field->SetSize(Column.Size);
      Field->SetFieldName(Column.Name);
      Field->SetDataSet(Data.get());
    }
    auto* Lookup = new TStringField(Data.get());
    Lookup->SetFieldName("COMMUNE");
    Lookup->SetSize(30);
    Lookup->SetFieldKind(fkLookup);
    Lookup->SetLookupDataSet(Communes.get());
    Lookup->SetKeyFields("COM");
    Lookup->SetLookupKeyFields("COM_CODE");
    Lookup->SetLookupResultField("COM_LIB");
    Lookup->SetDataSet(Data.get());
  }
  Data->Open();
}

void GridFormTest::TearDown() {
  StdFormTest::TearDown();
  Data.reset();
  Communes.reset();
  qvFreeGlobalIntl();
  Deadline.reset();
}

TRect GridFormTest::CellBounds(int ACol, int ARow) {
  TRect R;
  Grid->GetCellBounds(ACol, ARow, R);
  return R;
}

TPoint GridFormTest::CellCentre(int ACol, int ARow) {
  TRect R = CellBounds(ACol, ARow);
  return OnScreen(Grid, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

void GridFormTest::ShowGrid() {
  ShowForm();
  EXPECT_TRUE(GiveFocus(Grid));
  EXPECT_TRUE(Painted(Form.get()));
}

int GridFormTest::ColOf(const char* FieldName) {
  for (int i = 0; i < Grid->GetFieldCount(); ++i)
    if (Grid->GetFields(i)->FieldName() == FieldName) return i + Grid->IndicatorOffset();
  return -1;
}
