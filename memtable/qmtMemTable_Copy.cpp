// This file implements copying structure, field properties and records between the in-memory
// table and other datasets.
#include <algorithm>

#include "Field.h"
#include "FieldDefs.h"
#include "qmtMemTable.h"
#include "ScopeGuard.h"

namespace {

// Runs Body and swallows its errors: steps whose failure must not hide the main error.
template <class F>
void Quietly(F Body) {
  try {
    Body();
  } catch (const std::exception&) {
  }
}

}  // namespace

void TqmtCustomMemTable::CreateFieldDefsFrom(TDataSet* Source, unsigned Options) {
  if (AnyAttachedActive())
    for (TqmtCustomMemTable* T : FStore->AttachedTables())
      if (T) T->Close();
  if (!Source->Active()) Source->FieldDefs()->Update();
  if (Source->FieldDefs()->Count() > QMT_MAX_FIELDS)
    throw EMemTableError("Too many fielddefs. Please raise QMT_MAX_FIELDS value.");
  FieldDefs()->Clear();
  for (int I = 0; I < Source->FieldDefs()->Count(); ++I) {
    TFieldDef* S = Source->FieldDefs()->Items(I);
    TFieldType T = S->DataType();
    if (!QmtIsSupportedType(T)) continue;
    if ((Options & mtcpoOnlyDataFields) && !Source->FindField(S->Name())) continue;
    if ((Options & mtcpoStringAsWideString) && (T == ftString || T == ftFixedChar)) T = ftWideString;
    TFieldDef* D = FieldDefs()->AddFieldDef();
    D->SetName(S->Name());
    D->SetDataType(T);
    D->SetSize(S->Size());
    D->SetPrecision(S->Precision());
    D->SetAttributes(S->Attributes());
    D->SetInternalCalcField(S->InternalCalcField());
  }
  DestroyFields();
  if (Options & (mtcpoLookup | mtcpoCalculated)) {
    for (int I = 0; I < Source->FieldCount(); ++I) {
      TField* S = Source->Fields()->Fields(I);
      bool Wanted = (S->FieldKind() == fkLookup && (Options & mtcpoLookup)) ||
                    (S->FieldKind() == fkCalculated && (Options & mtcpoCalculated));
      if (!Wanted || !QmtIsSupportedType(S->DataType())) continue;
      auto* F = static_cast<TField*>(S->ClassType()->Create(Owner()));
      F->SetFieldName(S->FieldName());
      F->SetSize(S->Size());
      F->SetFieldKind(S->FieldKind());
      F->SetKeyFields(S->KeyFields());
      F->SetLookupDataSet(S->LookupDataSet());
      F->SetLookupResultField(S->LookupResultField());
      F->SetLookupKeyFields(S->LookupKeyFields());
      F->SetDataSet(this);
      if (Options & mtcpoFieldIndex) F->SetIndex(std::min(S->Index(), FieldCount() - 1));
    }
  }
  FStore->SetAutoIncValue(FStore->AutoIncMinValue() - 1);
}

void TqmtCustomMemTable::TakeFieldProperties(TDataSet* Source, TDataSet* Destination) {
  if (Source == Destination) return;
  for (int I = 0; I < Destination->FieldCount(); ++I) {
    TField* D = Destination->Fields()->Fields(I);
    TField* S = Source->FindField(D->FieldName());
    if (!S || S == D) continue;
    D->SetEditMask(S->EditMask());
    D->SetDisplayWidth(S->DisplayWidth());
    D->SetDisplayLabel(S->DisplayLabel());
    D->SetRequired(S->Required());
    D->SetReadOnly(S->ReadOnly());
    D->SetVisible(S->Visible());
    D->DefaultExpression = S->DefaultExpression;
    D->SetAlignment(S->Alignment());
    auto* SN = dynamic_cast<TNumericField*>(S);
    auto* DN = dynamic_cast<TNumericField*>(D);
    if (SN && DN) {
      DN->SetDisplayFormat(SN->DisplayFormat());
      DN->SetEditFormat(SN->EditFormat());
    }
    auto* SI = dynamic_cast<TIntegerField*>(S);
    auto* DI = dynamic_cast<TIntegerField*>(D);
    if (SI && DI) {
      DI->SetMaxValue(SI->MaxValue());
      DI->SetMinValue(SI->MinValue());
    }
    auto* SD = dynamic_cast<TDateTimeField*>(S);
    auto* DD = dynamic_cast<TDateTimeField*>(D);
    if (SD && DD) DD->SetDisplayFormat(SD->DisplayFormat());
    auto* SB = dynamic_cast<TBooleanField*>(S);
    auto* DB = dynamic_cast<TBooleanField*>(D);
    if (SB && DB) DB->SetDisplayValues(SB->DisplayValues());
    auto* SS = dynamic_cast<TStringField*>(S);
    auto* DS = dynamic_cast<TStringField*>(D);
    if (SS && DS) DS->FixedChar = SS->FixedChar;
    auto* SF = dynamic_cast<TFloatField*>(S);
    auto* DF = dynamic_cast<TFloatField*>(D);
    if (SF && DF) {
      DF->SetMaxValue(SF->MaxValue());
      DF->SetMinValue(SF->MinValue());
      DF->SetPrecision(SF->Precision());
      DF->SetCurrency(SF->Currency());
    }
    if (Destination == this && OnSetupFieldProperties) OnSetupFieldProperties(this, D);
  }
}

int TqmtCustomMemTable::TransferRecords(TDataSet* Source, TDataSet* Destination, int Limit, bool IgnoreErrors,
                                        bool WideConversion) {
  if (!Source || !Destination || Source == Destination) return 0;
  // Destination field -> source field.
  std::vector<std::pair<TField*, TField*>> Map;
  bool DestHasRecords = !Destination->IsEmpty();
  for (int I = 0; I < Destination->FieldCount(); ++I) {
    TField* D = Destination->Fields()->Fields(I);
    if (D->FieldKind() == fkLookup) continue;
    TField* S = nullptr;
    bool Kind = D->FieldKind() == fkData || D->FieldKind() == fkCalculated || D->FieldKind() == fkInternalCalc;
    if (Kind && QmtIsSupportedType(D->DataType()) && !(D->DataType() == ftAutoInc && DestHasRecords))
      S = Source->FindField(D->FieldName());
    if (S && S->FieldKind() != fkLookup) Map.emplace_back(D, S);
  }
  ReportProgress(0, mtpcCopy);
  int Total = OnProgress ? Source->RecordCount() : 0;
  if (Total <= 0) ReportProgress(50, mtpcCopy);
  FLoadedCompletely = true;
  int Count = 0, Seen = 0;
  while (!Source->Eof()) {
    if (++Seen % 100 == 0 && Total > 0) ReportProgress(int(std::int64_t(Seen) * 100 / Total), mtpcCopy);
    if (Source == this && OnSaveRecord) {
      bool Accept = true;
      OnSaveRecord(this, Accept);
      if (!Accept) {
        Source->Next();
        continue;
      }
    }
    Destination->Append();
    for (auto [D, S] : Map) {
      try {
        if (Source == this && OnSaveField) OnSaveField(this, S->FieldNo(), S);
        if (S->IsNull()) {
          D->Clear();
        } else if (S->DataType() == ftLargeint) {
          D->SetAsString(S->AsString());
        } else if (WideConversion && (S->DataType() == ftWideString || D->DataType() == ftWideString)) {
          auto* SW = dynamic_cast<TWideStringField*>(S);
          auto* DW = dynamic_cast<TWideStringField*>(D);
          if (SW && DW) DW->SetAsWideString(SW->AsWideString());
          else if (DW) DW->SetAsWideString(Utf8ToWide(S->AsString()));
          else if (SW) D->SetAsString(WideToUtf8(SW->AsWideString()));
          else D->SetAsVariant(S->AsVariant());
        } else if (S->ClassType() == D->ClassType()) {
          D->SetAsVariant(S->AsVariant());
        } else {
          D->SetAsString(S->AsString());
        }
        if (Destination == this && OnLoadField) OnLoadField(this, D->FieldNo(), D);
      } catch (const std::exception&) {
        if (!IgnoreErrors) {
          Quietly([&] { Destination->Cancel(); });
          throw;
        }
      }
    }
    bool Accept = true;
    if (Destination == this && OnLoadRecord) OnLoadRecord(this, Accept);
    if (Accept) {
      try {
        Destination->Post();
        ++Count;
      } catch (const std::exception&) {
        // A record that cannot be posted is dropped, so the destination is never left inserting.
        Quietly([&] { Destination->Cancel(); });
        if (!IgnoreErrors) throw;
      }
      if (Limit > 0 && Count >= Limit) {
        Source->Next();
        FLoadedCompletely = Source->Eof();
        break;
      }
    } else {
      Destination->Cancel();
    }
    Source->Next();
  }
  ReportProgress(100, mtpcCopy);
  return Count;
}

void TqmtCustomMemTable::FillFromDataSet(TDataSet* Source, unsigned Options) {
  if (!Source || Source == this) return;
  if ((Options & mtcpoAppend) && (Options & (mtcpoStructure | mtcpoProperties)))
    throw EMemTableError("Cannot both append and copy structure.");
  if (OnLoad) OnLoad(this, mtstDataSet, nullptr);
  if (Options & mtcpoStructure) Close();
  else if (!(Options & mtcpoAppend) && Active()) EmptyTable();
  bool SourceWasActive = Source->Active();
  bool SourceDisabled = Source->ControlsDisabled();
  bool SaveFiltered = Filtered();
  TDataSource* SaveMaster = MasterSource();
  bool SaveEnableIndexes = EnableIndexes;
  if (!(Options & mtcpoDontDisableIndexes)) EnableIndexes = false;
  FLoading = true;
  if (!SourceDisabled) Source->DisableControls();
  DisableControls();
  // Fields made read-only by the copied properties still take the copied values.
  std::vector<TField*> ReadOnlyFields;
  TBookmark Mark;
  bool Copied = false;
  try {
    if (!SourceWasActive) Source->Open();
    Quietly([&] { Mark = Source->GetBookmark(); });
    SetFiltered(false);
    SetMasterSource(nullptr);
    Source->CheckBrowseMode();
    Quietly([&] { Source->UpdateCursorPos(); });
    if (Options & mtcpoStructure) CreateFieldDefsFrom(Source, Options);
    if (!Active()) Open();
    if ((Options & mtcpoProperties) && !(Options & mtcpoAppend)) TakeFieldProperties(Source, this);
    for (int I = 0; I < FieldCount(); ++I)
      if (Fields()->Fields(I)->ReadOnly()) {
        ReadOnlyFields.push_back(Fields()->Fields(I));
        Fields()->Fields(I)->SetReadOnly(false);
      }
    CheckBrowseMode();
    if (!Source->Bof()) Source->First();
    FRecordsLoaded = TransferRecords(Source, this, LoadLimit, Options & mtcpoIgnoreErrors, Options & mtcpoWideConversion);
    Copied = true;
  } catch (...) {
    // Whatever failed, the table ends in browse mode with its indexes complete and maintained.
    Quietly([&] { Cancel(); });
    EnableIndexes = SaveEnableIndexes;
    for (TField* F : ReadOnlyFields) F->SetReadOnly(true);
    FLoading = false;
    Quietly([&] {
      if (Active()) {
        RebuildAttachedIndexes();
        First();
      }
    });
    EnableControls();
    if (!SourceWasActive) Quietly([&] { Source->Close(); });
    if (!SourceDisabled) Source->EnableControls();
    Quietly([&] { SetFiltered(SaveFiltered); });
    Quietly([&] { SetMasterSource(SaveMaster); });
    throw;
  }
  EnableIndexes = SaveEnableIndexes;
  for (TField* F : ReadOnlyFields) F->SetReadOnly(true);
  FLoading = false;
  RebuildAttachedIndexes();
  First();
  if (Copied && !Mark.empty()) Quietly([&] { Source->GotoBookmark(Mark); });
  EnableControls();
  if (!SourceWasActive) Source->Close();
  if (!SourceDisabled) Source->EnableControls();
  SetFiltered(SaveFiltered);
  SetMasterSource(SaveMaster);
  UpdateCursorPos();
  CursorPosChanged();
}

void TqmtCustomMemTable::CopyIntoDataSet(TDataSet* Destination, unsigned Options) {
  if (!Destination || Destination == this) return;
  if (OnSave) OnSave(this, mtstDataSet, nullptr);
  bool DestWasActive = Destination->Active();
  bool DestDisabled = Destination->ControlsDisabled();
  if (!DestDisabled) Destination->DisableControls();
  DisableControls();
  auto Finish = [&] {
    Quietly([&] {
      if (Destination->Active()) Destination->First();
    });
    EnableControls();
    if (!DestDisabled) Destination->EnableControls();
    if (!DestWasActive) Quietly([&] { Destination->Close(); });
  };
  TScopeGuard restore([&] { Finish(); });
  if (!DestWasActive) Destination->Open();
  Destination->CheckBrowseMode();
  Destination->UpdateCursorPos();
  Open();
  CheckBrowseMode();
  First();
  FRecordsSaved = TransferRecords(this, Destination, SaveLimit, Options & mtcpoIgnoreErrors,
                                  Options & mtcpoWideConversion);
}

int TqmtCustomMemTable::SyncRecords(TDataSet* Source, TDataSet* Destination, const String& KeyFields, int Limit,
                                    unsigned Options) {
  ReportProgress(0, mtpcUpdate);
  std::vector<TField*> Keys;
  Source->GetFieldList(Keys, KeyFields);
  std::vector<std::pair<TField*, TField*>> Map;  // destination field, source field
  for (int I = 0; I < Destination->FieldCount(); ++I) {
    TField* D = Destination->Fields()->Fields(I);
    if (D->FieldKind() == fkLookup) continue;
    if (TField* S = Source->FindField(D->FieldName())) Map.emplace_back(D, S);
  }
  Source->First();
  int Total = Source->RecordCount();
  if (Total < 1) ReportProgress(50, mtpcCopy);
  int Count = 0, Seen = 0;
  while (!Source->Eof()) {
    if (++Seen % 100 == 0 && Total > 0) ReportProgress(int(std::int64_t(Seen) * 100 / Total), mtpcCopy);
    bool Accept = true;
    if (Source == this && OnSaveRecord) OnSaveRecord(this, Accept);
    if (Accept) {
      Variant KeyValues;
      if (Keys.size() == 1) {
        KeyValues = Keys[0]->AsVariant();
      } else {
        KeyValues = VarArrayCreate(0, int(Keys.size()) - 1, varVariant);
        for (std::size_t I = 0; I < Keys.size(); ++I) KeyValues.PutElement(int(I), Keys[I]->AsVariant());
      }
      bool Found = Destination->Locate(KeyFields, KeyValues, {});
      bool Write = false;
      if (Found && (Options & 1)) {
        Destination->Edit();
        Write = true;
      } else if (!Found && (Options & 2)) {
        Destination->Append();
        Write = true;
      }
      if (Write) {
        for (auto [D, S] : Map) {
          if (Source == this && OnSaveField) OnSaveField(this, S->FieldNo(), S);
          if (S->IsNull()) D->Clear();
          else D->SetAsString(S->AsString());
          if (Destination == this && OnLoadField) OnLoadField(this, D->FieldNo(), D);
        }
        bool Keep = true;
        if (Destination == this && OnLoadRecord) OnLoadRecord(this, Keep);
        if (Keep) {
          Destination->Post();
          ++Count;
          if (Limit > 0 && Count >= Limit) break;
        } else {
          Destination->Cancel();
        }
      }
    }
    Source->Next();
  }
  ReportProgress(100, mtpcUpdate);
  return Count;
}

void TqmtCustomMemTable::SyncIntoDataSet(TDataSet* Destination, const String& KeyFields, unsigned Options) {
  if (Active()) CheckBrowseMode();
  if (!Destination || Destination == this) return;
  if (OnSave) OnSave(this, mtstDataSet, nullptr);
  bool DestWasActive = Destination->Active();
  bool DestDisabled = Destination->ControlsDisabled();
  if (!DestDisabled) Destination->DisableControls();
  DisableControls();
  auto Finish = [&] {
    Quietly([&] {
      if (Destination->Active()) Destination->First();
    });
    EnableControls();
    if (!DestDisabled) Destination->EnableControls();
    if (!DestWasActive) Quietly([&] { Destination->Close(); });
  };
  TScopeGuard restore([&] { Finish(); });
  if (!DestWasActive) Destination->Open();
  Destination->CheckBrowseMode();
  Destination->UpdateCursorPos();
  Open();
  CheckBrowseMode();
  First();
  FRecordsSaved = SyncRecords(this, Destination, KeyFields, -1, Options);
}
