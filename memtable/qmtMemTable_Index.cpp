// This file implements the key comparison, indexes and searches of the in-memory table.
#include "qmtMemTable_Index.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "TextOrder.h"
#include "qmtMemTable_Filter.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqmtIndex)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqmtIndexes)

// --- Values ----------------------------------------------------------------------------------------

namespace {

template <class T>
T Load(const void* P) {
  T V;
  std::memcpy(&V, P, sizeof V);
  return V;
}

template <class T>
int Cmp(T A, T B) {
  return A < B ? -1 : (B < A ? 1 : 0);
}

int Sign(int V) { return V < 0 ? -1 : (V > 0 ? 1 : 0); }

// Text comparisons reuse two buffers, so that sorting does not allocate per comparison.
int CompareTexts(const char* A, std::size_t LA, const char* B, std::size_t LB, std::uint8_t Options, bool& Full) {
  if (Options & mtcoPartialKey) {
    Full = LA == LB;
    if (LA != LB) LB = std::min(LA, LB);
  }
  if (Options & mtcoIgnoreLocale) {
    std::size_t N = std::min(LA, LB);
    for (std::size_t I = 0; I < N; ++I) {
      unsigned char CA = static_cast<unsigned char>(A[I]), CB = static_cast<unsigned char>(B[I]);
      if (Options & mtcoCaseInsensitive) {
        if (CA >= 'a' && CA <= 'z') CA = static_cast<unsigned char>(CA - 32);
        if (CB >= 'a' && CB <= 'z') CB = static_cast<unsigned char>(CB - 32);
      }
      if (CA != CB) return CA < CB ? -1 : 1;
    }
    return Cmp(LA, LB);
  }
  thread_local String SA, SB;
  SA.assign(A, LA);
  SB.assign(B, LB);
  return Sign((Options & mtcoCaseInsensitive) ? AnsiCompareText(SA, SB) : AnsiCompareStr(SA, SB));
}

String WideValueToAnsi(const void* P, std::uint32_t Length) {
  std::uint32_t Bytes = Length >= 4 ? Load<std::uint32_t>(P) : 0;
  if (Bytes > Length - 4) Bytes = Length >= 4 ? Length - 4 : 0;
  WideString W(Bytes / 2, u'\0');
  if (!W.empty()) std::memcpy(W.data(), static_cast<const char*>(P) + 4, W.size() * 2);
  return WideToAnsi(W);
}

}  // namespace

int CompareFieldValues(const void* A, std::uint32_t LengthA, const void* B, std::uint32_t LengthB, TFieldType Type,
                       unsigned LocaleID, std::uint8_t Options, bool& FullCompare) {
  (void)LocaleID;  // text follows the one text order of the program, whatever the locale id
  FullCompare = true;
  int R = 0;
  switch (Type) {
    case ftString: case ftFixedChar: case ftGuid: {
      const char* PA = static_cast<const char*>(A);
      const char* PB = static_cast<const char*>(B);
      R = CompareTexts(PA, strnlen(PA, LengthA), PB, strnlen(PB, LengthB), Options, FullCompare);
      break;
    }
    case ftWideString: {
      String SA = WideValueToAnsi(A, LengthA), SB = WideValueToAnsi(B, LengthB);
      R = CompareTexts(SA.data(), SA.size(), SB.data(), SB.size(), Options, FullCompare);
      break;
    }
    case ftSmallint: R = Cmp(Load<std::int16_t>(A), Load<std::int16_t>(B)); break;
    case ftWord: R = Cmp(Load<std::uint16_t>(A), Load<std::uint16_t>(B)); break;
    case ftInteger: case ftAutoInc: R = Cmp(Load<std::int32_t>(A), Load<std::int32_t>(B)); break;
    case ftLargeint: R = Cmp(Load<std::int64_t>(A), Load<std::int64_t>(B)); break;
    case ftFloat: case ftCurrency: case ftDateTime: case ftDate: case ftTime: case ftTimeStamp: case ftBCD:
    case ftFMTBcd:
      R = Cmp(Load<double>(A), Load<double>(B));
      break;
    case ftBoolean: R = Cmp(Load<std::int16_t>(A) != 0, Load<std::int16_t>(B) != 0); break;
    default: R = 0; break;
  }
  return (Options & mtcoDescending) ? -R : R;
}

namespace {

// The value of one list entry in a record: false for null. Variable-length values are read into
// Scratch (through the store's slot for a buffer that does not own one).
bool EntryValue(const TqmtCommon& Store, const TqmtFieldList::Entry& E, const TqmtRow* Record, String& Scratch,
                const char*& P, std::uint32_t& Length) {
  if (E.FieldNo >= 1 && Store.IsVarLength(E.FieldNo)) {
    if (!Store.ReadVarValue(Record, E.FieldNo, Scratch)) return false;
    P = Scratch.data();
    Length = std::uint32_t(Scratch.size());
    return true;
  }
  const char* A = E.FieldNo >= 1 ? Store.FieldAddress(Record, E.FieldNo) : Store.FieldAddress(Record, 0, E.Offset);
  if (TqmtCommon::IsNull(A)) return false;
  P = A + 1;
  Length = std::uint32_t(QmtValueSize(E.DataType, E.Size));
  return true;
}

}  // namespace

int CompareRecordFields(const TqmtCommon& Store, const TqmtFieldList& List, int Count, const TqmtRow* Key,
                        const TqmtRow* Record, bool IgnoreNullForAll, bool ForcePartial, int Mode) {
  int N = (Count <= 0 || Count > List.Count()) ? List.Count() : Count;
  int Result = 0;
  String KS, RS;
  for (int I = 0; I < N; ++I) {
    const TqmtFieldList::Entry& E = List[I];
    std::uint8_t Opt = E.Options;
    if (Mode != 0) Opt &= std::uint8_t(~mtcoDescending);
    if (ForcePartial) Opt |= mtcoPartialKey;
    const char *KP = nullptr, *RP = nullptr;
    std::uint32_t KL = 0, RL = 0;
    bool HasKey = EntryValue(Store, E, Key, KS, KP, KL);
    if (!HasKey && (IgnoreNullForAll || (Opt & mtcoIgnoreNullKey))) continue;
    bool HasRec = EntryValue(Store, E, Record, RS, RP, RL);
    bool Full = true;
    if (HasKey && HasRec) {
      int R = 0;
      if (!(Store.Hooks && Store.Hooks->CompareValues(E, KP, RP, Opt, R, Full)))
        R = CompareFieldValues(KP, KL, RP, RL, E.DataType, Store.LocaleID(), Opt, Full);
      Result = R;
    } else {
      Result = HasKey ? 1 : (HasRec ? -1 : 0);
      if (Opt & mtcoDescending) Result = -Result;
    }
    switch (Mode) {
      case 0: if (Result != 0 || !Full) return Result; break;
      case 1: if (Result < 0) return Result; break;
      case 2: if (Result > 0) return Result; break;
      case 3: if (Result <= 0) return Result; break;
      case 4: if (Result >= 0) return Result; break;
      default: break;
    }
  }
  return Result;
}

// --- Index owner -----------------------------------------------------------------------------------

bool TqmtIndexOwner::IndexAccepts(TqmtIndex* Index, TqmtRow* Record) {
  return !Index->FilterFunction || Index->FilterFunction(Index, Record);
}

// --- Index -----------------------------------------------------------------------------------------

TqmtIndex::TqmtIndex(const String& AName, TqmtIndexOwner* AOwner, const TqmtFieldList& AFields,
                     const String& AFieldNames, std::uint8_t AOptions, int AKind, bool AInternal)
    : FName(AName), FOwner(AOwner), FFieldNames(AFieldNames), FOptions(AOptions), FKind(AKind), FInternal(AInternal) {
  AFields.CopyTo(FFields);
  // Partial keys and ignored nulls are ways of searching: applied to two records they make the
  // comparison one-sided (a before b and b before a), which no sort or binary search survives.
  AFields.CopyTo(FOrderFields);
  for (int F = 0; F < FOrderFields.Count(); ++F)
    FOrderFields[F].Options &= std::uint8_t(~(mtcoPartialKey | mtcoIgnoreNullKey));
  FOrdered = FOwner->IndexStore()->RecordCount() == 0;
}

TqmtIndex::~TqmtIndex() { delete FilterExpression; }

int TqmtIndex::CompareKeys(const TqmtFieldList* List, const TqmtRow* Key, const TqmtRow* Record, bool TieBreak,
                           bool ForcePartial) const {
  int R = CompareRecordFields(*FOwner->IndexStore(), List ? *List : FFields, 0, Key, Record, false, ForcePartial, 0);
  if (R == 0 && TieBreak && Key->SlotId >= 0 && Record->SlotId >= 0) R = Cmp(Key->SlotId, Record->SlotId);
  return R;
}

int TqmtIndex::CompareOrder(const TqmtRow* A, const TqmtRow* B, bool TieBreak) const {
  int R = CompareRecordFields(*FOwner->IndexStore(), FOrderFields, 0, A, B, false, false, 0);
  if (R == 0 && TieBreak && A->SlotId >= 0 && B->SlotId >= 0) R = Cmp(A->SlotId, B->SlotId);
  return R;
}

int TqmtIndex::Find(const TqmtFieldList* List, const TqmtRow* Key, bool Nearest, bool RespectFilter, int& Position,
                    bool& Found) {
  FOwner->IndexProgress(0, mtpcSearch);
  TqmtStoreLock L(FOwner->IndexStore());
  Found = false;
  int R = 1;
  int N = Count();
  bool Filter = RespectFilter && FOwner->IndexNeedsFiltering();
  if (N == 0) {
    Position = 0;
  } else if (!FOrdered || IsRowOrder() || N <= 20) {
    Position = N;
    bool Recalc = FOwner->IndexRecalcWanted();
    for (int I = 0; I < N; ++I) {
      TqmtRow* E = FEntries[std::size_t(I)];
      if (Recalc) FOwner->IndexRecalc(E);
      R = CompareKeys(List, Key, E, false, Nearest);
      if ((R == 0 && (!Filter || FOwner->IndexRecordVisible(E))) || (Nearest && R < 0)) {
        Position = I;
        Found = true;
        break;
      }
      if (I % 100 == 99) FOwner->IndexProgress(int(std::int64_t(I) * 100 / N), mtpcSearch);
    }
  } else {
    int Low = 0, High = N - 1;
    Position = -1;
    while (Low <= High) {
      int Mid = (Low + High) / 2;
      R = CompareKeys(List, Key, FEntries[std::size_t(Mid)], false, false);
      if (R < 0) {
        High = Mid - 1;
      } else if (R > 0) {
        Low = Mid + 1;
      } else {
        while (Mid > 0 && CompareKeys(List, Key, FEntries[std::size_t(Mid - 1)], false, Nearest) == 0) --Mid;
        Position = Mid;
        Found = true;
        break;
      }
    }
    if (!Found) Position = Low;
    if (Found && Filter && !FOwner->IndexRecordVisible(FEntries[std::size_t(Position)])) {
      Found = false;
      for (int I = Position + 1; I < N; ++I) {
        int C = CompareKeys(List, Key, FEntries[std::size_t(I)], false, Nearest);
        if (C != 0 && !(Nearest && C < 0)) break;
        if (FOwner->IndexRecordVisible(FEntries[std::size_t(I)])) {
          Position = I;
          Found = true;
          R = C;
          break;
        }
      }
    }
  }
  FOwner->IndexProgress(100, mtpcSearch);
  return R;
}

int TqmtIndex::InsertionPoint(const TqmtRow* Key) const {
  auto It = std::lower_bound(FEntries.begin(), FEntries.end(), Key, [this](const TqmtRow* E, const TqmtRow* K) {
    return CompareOrder(K, E, true) > 0;
  });
  return int(It - FEntries.begin());
}

int TqmtIndex::FindBySlot(int SlotId) const {
  // Records appended without deletions lie in ascending slot order: try that first.
  auto It = std::lower_bound(FEntries.begin(), FEntries.end(), SlotId,
                             [](const TqmtRow* E, int S) { return E->SlotId < S; });
  if (It != FEntries.end() && (*It)->SlotId == SlotId) return int(It - FEntries.begin());
  for (std::size_t I = 0; I < FEntries.size(); ++I)
    if (FEntries[I]->SlotId == SlotId) return int(I);
  return -1;
}

int TqmtIndex::FindRecord(const TqmtRow* Record) const {
  TqmtStoreLock L(FOwner->IndexStore());
  if (FOrdered && Count() > 5) {
    if (IsRowOrder()) {
      int P = FindBySlot(Record->SlotId);
      return (P >= 0 && FEntries[std::size_t(P)] == Record) ? P : -1;
    }
    int P = InsertionPoint(Record);
    if (P < Count() && FEntries[std::size_t(P)] == Record) return P;
  }
  for (std::size_t I = 0; I < FEntries.size(); ++I)
    if (FEntries[I] == Record) return int(I);
  return -1;
}

namespace {

bool IsTextType(TFieldType T) { return T == ftString || T == ftFixedChar || T == ftGuid || T == ftWideString; }

// The keys of every entry read once before sorting: each comparison then works on ready values
// instead of finding, measuring and copying them again.
struct SortKeys {
  int Fields = 0;
  std::vector<String> Text;             // text fields, entry-major
  std::vector<const char*> Ptr;         // other fields: the value in the record
  std::vector<std::uint32_t> Len;
  std::vector<std::uint8_t> Present;
};

}  // namespace

void TqmtIndex::Sort() {
  if (FOwner->IndexRecalcWanted())
    for (TqmtRow* E : FEntries) FOwner->IndexRecalc(E);
  const TqmtCommon& Store = *FOwner->IndexStore();
  bool Fast = !(Store.Hooks && Store.Hooks->HasCompareHook());
  if (!Fast) {
    // The slot tie-break makes the order total; a stable sort keeps it deterministic even for a
    // comparison hook that answers 0 for distinct records.
    std::stable_sort(FEntries.begin(), FEntries.end(), [this](const TqmtRow* A, const TqmtRow* B) {
      return CompareOrder(A, B, true) < 0;
    });
  } else {
    std::size_t N = FEntries.size();
    int NF = FOrderFields.Count();
    SortKeys K;
    K.Text.resize(N * std::size_t(NF));
    K.Ptr.resize(N * std::size_t(NF));
    K.Len.resize(N * std::size_t(NF));
    K.Present.resize(N * std::size_t(NF));
    String Scratch;
    for (std::size_t I = 0; I < N; ++I)
      for (int F = 0; F < NF; ++F) {
        const TqmtFieldList::Entry& E = FOrderFields[F];
        std::size_t At = I * std::size_t(NF) + std::size_t(F);
        const char* P = nullptr;
        std::uint32_t L = 0;
        bool Has;
        if (E.FieldNo >= 1 && Store.IsVarLength(E.FieldNo)) {
          Has = Store.ReadVarValue(FEntries[I], E.FieldNo, K.Text[At]);
          P = K.Text[At].data();
          L = std::uint32_t(K.Text[At].size());
        } else {
          const char* A = E.FieldNo >= 1 ? Store.FieldAddress(FEntries[I], E.FieldNo)
                                         : Store.FieldAddress(FEntries[I], 0, E.Offset);
          Has = !TqmtCommon::IsNull(A);
          if (Has) {
            P = A + 1;
            L = std::uint32_t(QmtValueSize(E.DataType, E.Size));
          }
        }
        K.Present[At] = Has;
        if (Has && IsTextType(E.DataType)) {
          if (E.DataType == ftWideString) {
            String Owned(P, L);
            std::uint32_t Bytes = 0;
            if (L >= 4) std::memcpy(&Bytes, P, 4);
            WideString W(std::min<std::uint32_t>(Bytes, L >= 4 ? L - 4 : 0) / 2, u'\0');
            if (!W.empty()) std::memcpy(W.data(), Owned.data() + 4, W.size() * 2);
            K.Text[At] = WideToAnsi(W);
          } else if (P != K.Text[At].data()) {
            K.Text[At].assign(P, strnlen(P, L));
          } else {
            K.Text[At].resize(strnlen(K.Text[At].data(), K.Text[At].size()));
          }
        }
        K.Ptr[At] = P;
        K.Len[At] = L;
      }
    std::vector<std::uint32_t> Order(N);
    for (std::size_t I = 0; I < N; ++I) Order[I] = std::uint32_t(I);
    auto Less = [&](std::uint32_t A, std::uint32_t B) {
      for (int F = 0; F < NF; ++F) {
        const TqmtFieldList::Entry& E = FOrderFields[F];
        std::size_t X = std::size_t(A) * std::size_t(NF) + std::size_t(F);
        std::size_t Y = std::size_t(B) * std::size_t(NF) + std::size_t(F);
        int R;
        if (K.Present[X] && K.Present[Y]) {
          if (IsTextType(E.DataType) && !(E.Options & mtcoIgnoreLocale)) {
            R = (E.Options & mtcoCaseInsensitive) ? AnsiCompareText(K.Text[X], K.Text[Y])
                                                  : AnsiCompareStr(K.Text[X], K.Text[Y]);
            if (E.Options & mtcoDescending) R = -R;
          } else if (IsTextType(E.DataType)) {
            bool Full;
            R = CompareFieldValues(K.Text[X].c_str(), std::uint32_t(K.Text[X].size() + 1), K.Text[Y].c_str(),
                                   std::uint32_t(K.Text[Y].size() + 1), ftString, 0, E.Options, Full);
          } else {
            bool Full;
            R = CompareFieldValues(K.Ptr[X], K.Len[X], K.Ptr[Y], K.Len[Y], E.DataType, 0, E.Options, Full);
          }
        } else {
          R = K.Present[X] ? 1 : (K.Present[Y] ? -1 : 0);
          if (E.Options & mtcoDescending) R = -R;
        }
        if (R != 0) return R < 0;
      }
      return FEntries[A]->SlotId < FEntries[B]->SlotId;
    };
    std::stable_sort(Order.begin(), Order.end(), Less);
    std::vector<TqmtRow*> Sorted(N);
    for (std::size_t I = 0; I < N; ++I) Sorted[I] = FEntries[Order[I]];
    FEntries.swap(Sorted);
  }
  FOrdered = true;
  assert(CheckOrder());
}

void TqmtIndex::SortAndCheckUnique() {
  if (IsRowOrder()) {
    FOrdered = true;
    return;
  }
  FOwner->IndexProgress(0, mtpcSort);
  {
    TqmtStoreLock L(FOwner->IndexStore());
    Sort();
    if (FOptions & mtcoUnique)
      for (std::size_t I = 1; I < FEntries.size(); ++I)
        if (CompareKeys(nullptr, FEntries[I - 1], FEntries[I], false, false) == 0)
          throw EMemTableDupKey("Duplicate index value. Operation aborted.");
  }
  FOwner->IndexProgress(100, mtpcSort);
}

void TqmtIndex::FillFromStore() {
  TqmtCommon* Store = FOwner->IndexStore();
  TqmtStoreLock L(Store);
  Empty();
  FEntries.reserve(std::size_t(Store->RecordCount()));
  for (int I = 0; I < Store->RecordCount(); ++I) {
    TqmtRow* R = Store->Slot(I);
    if (!R || !ShowsStatus(R->Status)) continue;
    if (R->Status == qrsDeleted && !Store->EnableVersioning()) continue;
    if (!AcceptsRecord(R)) continue;
    FEntries.push_back(R);
  }
}

void TqmtIndex::ReloadAndSort() {
  if (!FOwner->IndexTableActive()) {
    FOrdered = true;
    return;
  }
  if (!View) FillFromStore();
  if (IsRowOrder()) {
    FOrdered = true;
  } else if (!FEntries.empty()) {
    SortAndCheckUnique();
  } else {
    FOrdered = true;
  }
}

bool TqmtIndex::AcceptsRecord(TqmtRow* Record) {
  if (!FilterFunction && !FilterExpression && !Filtered) return true;
  return FOwner->IndexAccepts(this, Record);
}

bool TqmtIndex::CheckOrder() const {
  if (IsRowOrder()) return true;
  for (std::size_t I = 1; I < FEntries.size(); ++I)
    if (CompareOrder(FEntries[I - 1], FEntries[I], true) > 0) return false;
  return true;
}

// --- Index list ------------------------------------------------------------------------------------

TqmtIndexes::TqmtIndexes(TqmtIndexOwner* AOwner) : FOwner(AOwner) {
  FRowOrder = new TqmtIndex("__MT__ROWORDER", AOwner, TqmtFieldList(), String(), 0, 0, true);
  FList.push_back(FRowOrder);
  FCurrent = FRowOrder;
}

TqmtIndexes::~TqmtIndexes() {
  for (TqmtIndex* I : FList) delete I;
}

TqmtIndex* TqmtIndexes::Find(const String& Name) const {
  for (TqmtIndex* I : FList)
    if (SameText(I->Name(), Name)) return I;
  return nullptr;
}

TqmtIndex* TqmtIndexes::FindByFieldNames(const String& FieldNames) const {
  for (TqmtIndex* I : FList)
    if (!I->IsRowOrder() && SameText(I->FieldNames(), FieldNames)) return I;
  return nullptr;
}

void TqmtIndexes::Add(TqmtIndex* Index) {
  Index->ListPosition = Count();
  FList.push_back(Index);
}

void TqmtIndexes::Delete(TqmtIndex* Index) {
  if (Index == FRowOrder) return;
  auto It = std::find(FList.begin(), FList.end(), Index);
  if (It == FList.end()) return;
  FList.erase(It);
  for (int I = 0; I < Count(); ++I) FList[std::size_t(I)]->ListPosition = I;
  if (FCurrent == Index) FCurrent = FRowOrder;
  delete Index;
}

void TqmtIndexes::Clear() {
  for (TqmtIndex* I : FList) {
    I->Empty();
    if (I != FRowOrder) delete I;
  }
  FList.assign(1, FRowOrder);
  FCurrent = FRowOrder;
}

void TqmtIndexes::EmptyAll() {
  for (TqmtIndex* I : FList) I->Empty();
}

void TqmtIndexes::RebuildAll() {
  for (TqmtIndex* I : FList) I->ReloadAndSort();
}

void TqmtIndexes::MarkAllUnordered() {
  for (TqmtIndex* I : FList) I->SetOrdered(false);
}

bool TqmtIndexes::CheckEntriesStored() const {
  const TqmtCommon& Store = *FOwner->IndexStore();
  std::vector<const TqmtRow*> Stored;
  for (int S = 0; S < Store.RecordCount(); ++S)
    if (const TqmtRow* R = Store.Slot(S)) Stored.push_back(R);
  std::sort(Stored.begin(), Stored.end(), std::less<const TqmtRow*>());
  for (const TqmtIndex* I : FList)
    for (int P = 0; P < I->Count(); ++P)
      if (!std::binary_search(Stored.begin(), Stored.end(), I->Entry(P), std::less<const TqmtRow*>())) return false;
  return true;
}

namespace {

void RemoveEntry(TqmtIndex* I, TqmtRow* Record, int Hint) {
  auto& E = I->Entries();
  if (Hint >= 0 && Hint < int(E.size()) && E[std::size_t(Hint)] == Record) {
    E.erase(E.begin() + Hint);
    return;
  }
  int P = I->IsRowOrder() ? I->FindBySlot(Record->SlotId) : I->FindRecord(Record);
  if (P >= 0 && E[std::size_t(P)] == Record) E.erase(E.begin() + P);
}

}  // namespace

int TqmtIndexes::Maintain(TqmtIndexOperation Op, TqmtRow* StoreRecord, TqmtRow* NewValues, int Position,
                          bool EnableIndexes) {
  int Result = -1;
  bool Versioning = FOwner->IndexStore()->EnableVersioning();
  for (TqmtIndex* I : FList) {
    bool IsCurrent = I == FCurrent;
    auto& E = I->Entries();
    if ((I->Options() & mtcoNonMaintained) || !EnableIndexes || !I->Enabled) {
      if (Op == mtioDelete) {
        // Maintained or not, every index lets go of a deleted record: without versioning the
        // store frees it next, and an index never holds a freed record. What is left stays in
        // order; with versioning a rebuild decides whether the index shows the deleted record.
        RemoveEntry(I, StoreRecord, IsCurrent ? Position : -1);
        if (Versioning) I->SetOrdered(false);
        if (IsCurrent) Result = Position;
        continue;
      }
      // Appending to a complete row order costs nothing and keeps the cursor usable while a
      // load runs with the indexes off.
      if (I->IsRowOrder() && Op == mtioInsert && I->Ordered() && (!IsCurrent || Position < 0)) {
        E.push_back(StoreRecord);
        if (IsCurrent) Result = int(E.size()) - 1;
        continue;
      }
      if (!(I->IsRowOrder() && Op == mtioEdit)) I->SetOrdered(false);
      continue;
    }
    switch (Op) {
      case mtioInsert: {
        if (!I->ShowsStatus(StoreRecord->Status)) break;
        if (I->Filtered && !I->AcceptsRecord(StoreRecord)) break;
        int P;
        if (!I->IsRowOrder()) {
          P = I->InsertionPoint(StoreRecord);
        } else if (!IsCurrent || Position < 0) {
          P = int(E.size());
        } else {
          P = std::clamp(Position - 1, 0, int(E.size()));
        }
        E.insert(E.begin() + P, StoreRecord);
        if (IsCurrent) Result = P;
        break;
      }
      case mtioEdit: {
        if (I->IsRowOrder()) {
          if (IsCurrent) Result = Position;
          break;
        }
        std::uint8_t NewStatus = NewValues->Status;
        bool Shows = I->ShowsStatus(NewStatus);
        bool Moved = !Shows || I->Filtered ||
                     I->CompareOrder(NewValues, StoreRecord, false) != 0;
        if (!Moved) {
          if (IsCurrent) Result = I->FindRecord(StoreRecord);
          break;
        }
        RemoveEntry(I, StoreRecord, IsCurrent ? Position : -1);
        if (Shows && (!I->Filtered || I->AcceptsRecord(NewValues))) {
          int P = I->InsertionPoint(NewValues);
          E.insert(E.begin() + P, StoreRecord);
          if (IsCurrent) Result = P;
        }
        break;
      }
      case mtioDelete: {
        if (I->ShowsStatus(qrsDeleted) && Versioning && !I->IsRowOrder()) {
          if (!I->ShowsStatus(StoreRecord->Status)) {
            int P = I->InsertionPoint(StoreRecord);
            E.insert(E.begin() + P, StoreRecord);
          }
        } else {
          RemoveEntry(I, StoreRecord, IsCurrent ? Position : -1);
        }
        if (IsCurrent) Result = Position;
        break;
      }
    }
  }
  return Result;
}

void TqmtIndexes::CheckUnique(const TqmtRow* NewValues, const TqmtRow* OldRecord) const {
  for (TqmtIndex* I : FList) {
    if (!(I->Options() & mtcoUnique) || (I->Options() & mtcoNonMaintained) || !I->Enabled) continue;
    int Pos = 0;
    bool Found = false;
    I->Find(nullptr, NewValues, false, false, Pos, Found);
    // Find answers the first equal entry; the record being edited may be one of the equals.
    for (; Found && Pos < I->Count(); ++Pos) {
      TqmtRow* E = I->Entry(Pos);
      if (I->CompareKeys(nullptr, NewValues, E, false, false) != 0) break;
      if (E != OldRecord) throw EMemTableDupKey("Duplicate index value. Operation aborted.");
    }
  }
}

int TqmtIndexes::SearchBest(const TqmtFieldList& KeyList, const TqmtRow* Key, bool Nearest, bool RespectFilter,
                            bool AllowAuto, const std::function<TqmtIndex*(const TqmtFieldList&)>& AddAutoIndex) {
  TqmtIndex* Cur = FCurrent;
  TqmtIndex* Use = nullptr;
  if (Cur->Ordered() && Cur->Count() > 20) {
    for (int I = Count() - 1; I >= 0 && !Use; --I) {
      TqmtIndex* X = FList[std::size_t(I)];
      if (X->IsRowOrder() || !X->Ordered() || X->Fields().Count() < KeyList.Count()) continue;
      bool Lead = true;
      for (int F = 0; F < KeyList.Count() && Lead; ++F) Lead = X->Fields()[F].FieldNo == KeyList[F].FieldNo &&
                                                                X->Fields()[F].Field == KeyList[F].Field;
      if (Lead) Use = X;
    }
    if (!Use && AllowAuto && AddAutoIndex) Use = AddAutoIndex(KeyList);
  }
  bool Filter = RespectFilter && FOwner->IndexNeedsFiltering();
  if (Use) {
    TqmtFieldList Merged;
    KeyList.CopyTo(Merged);
    Use->Fields().MergeOptionsInto(Merged);
    int Pos;
    bool Found;
    int R = Use->Find(&Merged, Key, Nearest, RespectFilter, Pos, Found);
    if (!Found || (Nearest ? R > 0 : R != 0) || Pos < 0 || Pos >= Use->Count()) return -1;
    if (!Nearest) {
      // The index may fold case where the caller does not: among the entries the index calls
      // equal, take the first that matches on the caller's own terms.
      int P = Pos;
      for (; P < Use->Count(); ++P) {
        TqmtRow* E = Use->Entry(P);
        if (Use->CompareKeys(&Merged, Key, E, false, false) != 0) return -1;
        if (Use->CompareKeys(&KeyList, Key, E, false, false) == 0 && (!Filter || FOwner->IndexRecordVisible(E))) break;
      }
      if (P >= Use->Count()) return -1;
      Pos = P;
    }
    if (Use == Cur) return Pos;
    int P = Cur->FindRecord(Use->Entry(Pos));
    return P >= 0 && P < Cur->Count() ? P : -1;
  }
  bool Recalc = FOwner->IndexRecalcWanted();
  for (int I = 0; I < Cur->Count(); ++I) {
    TqmtRow* E = Cur->Entry(I);
    if (Recalc) FOwner->IndexRecalc(E);
    int R = Cur->CompareKeys(&KeyList, Key, E, false, false);
    if (R == 0 && (!Filter || FOwner->IndexRecordVisible(E))) return I;
    if (Nearest && R < 0) return I;
  }
  return -1;
}
