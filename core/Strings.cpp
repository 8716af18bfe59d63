// This file implements the string lists of the class library: TStrings and TStringList.
#include "Strings.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "Exceptions.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Streams.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TStrings)
VELBOR_IMPLEMENT_CLASS(TStringList)

namespace {

const char* const kLineBreak = "\r\n";

bool IsBlank(char C) { return C != '\0' && static_cast<unsigned char>(C) <= ' '; }

[[noreturn]] void SortedListError() {
  throw EStringListError("Opération non autorisée sur une liste triée"_a);
}

}  // namespace

// ---- TStrings ------------------------------------------------------------------------------

void TStrings::ListIndexError(int Index) {
  throw EStringListError("Index de liste hors limites (" + std::to_string(Index) + ")");
}

void TStrings::Put(int Index, const String& S) {
  TObject* Object = GetObject(Index);
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  Delete(Index);
  InsertObject(Index, S, Object);
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

String TStrings::GetTextStr() const {
  String Result;
  int N = GetCount();
  for (int I = 0; I < N; ++I) {
    Result += Get(I);
    Result += kLineBreak;
  }
  return Result;
}

void TStrings::SetTextStr(const String& Value) {
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  Clear();
  std::size_t P = 0;
  const std::size_t N = Value.size();
  while (P < N) {
    std::size_t Start = P;
    while (P < N && Value[P] != '\r' && Value[P] != '\n') ++P;
    Add(Value.substr(Start, P - Start));
    if (P < N && Value[P] == '\r') ++P;
    if (P < N && Value[P] == '\n') ++P;
  }
}

String TStrings::GetDelimited(char Delim, char Quote, bool Strict) const {
  int N = GetCount();
  // A single empty item must still read back as one item.
  if (N == 1 && Get(0).empty()) return String(2, Quote);
  String Result;
  for (int I = 0; I < N; ++I) {
    String S = Get(I);
    bool NeedsQuotes = std::any_of(S.begin(), S.end(), [&](char C) {
      return C == Delim || C == Quote || C == '\0' || (!Strict && IsBlank(C));
    });
    if (I > 0) Result += Delim;
    Result += NeedsQuotes ? AnsiQuotedStr(S, Quote) : S;
  }
  return Result;
}

void TStrings::SetDelimited(const String& Value, char Delim, char Quote, bool Strict) {
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  Clear();
  const std::size_t N = Value.size();
  std::size_t P = 0;
  auto SkipBlanks = [&] {
    if (!Strict)
      while (P < N && IsBlank(Value[P])) ++P;
  };
  SkipBlanks();
  while (P < N) {
    String S;
    if (Value[P] == Quote) {
      // A quoted item runs to the closing quote; a doubled quote stands for one.
      ++P;
      while (P < N) {
        if (Value[P] == Quote) {
          if (P + 1 < N && Value[P + 1] == Quote) {
            S += Quote;
            P += 2;
            continue;
          }
          ++P;
          break;
        }
        S += Value[P++];
      }
    } else {
      std::size_t Start = P;
      while (P < N && Value[P] != Delim && (Strict || !IsBlank(Value[P]))) ++P;
      S = Value.substr(Start, P - Start);
    }
    Add(S);
    SkipBlanks();
    if (P < N && Value[P] == Delim) {
      // A delimiter at the very end still closes an (empty) item.
      if (P + 1 == N) Add(String());
      ++P;
      SkipBlanks();
    }
  }
}

String TStrings::CommaText() const { return GetDelimited(',', '"', false); }

void TStrings::SetCommaText(const String& Value) { SetDelimited(Value, ',', '"', false); }

String TStrings::DelimitedText() const { return GetDelimited(Delimiter, QuoteChar, StrictDelimiter); }

void TStrings::SetDelimitedText(const String& Value) {
  SetDelimited(Value, Delimiter, QuoteChar, StrictDelimiter);
}

String TStrings::Names(int Index) const {
  String S = Get(Index);
  std::size_t P = S.find(NameValueSeparator);
  return P == String::npos ? String() : S.substr(0, P);
}

String TStrings::Values(const String& Name) const {
  int I = IndexOfName(Name);
  return I < 0 ? String() : ValueFromIndex(I);
}

void TStrings::SetValue(const String& Name, const String& Value) {
  int I = IndexOfName(Name);
  if (!Value.empty()) {
    if (I < 0) I = Add(String());
    Put(I, Name + NameValueSeparator + Value);
  } else if (I >= 0) {
    Delete(I);
  }
}

String TStrings::ValueFromIndex(int Index) const {
  String S = Get(Index);
  std::size_t P = S.find(NameValueSeparator);
  return P == String::npos ? String() : S.substr(P + 1);
}

void TStrings::SetValueFromIndex(int Index, const String& Value) {
  if (!Value.empty()) {
    if (Index < 0) Index = Add(String());
    Put(Index, Names(Index) + NameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

int TStrings::Add(const String& S) {
  int Result = GetCount();
  Insert(Result, S);
  return Result;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
  int Result = Add(S);
  PutObject(Result, AObject);
  return Result;
}

void TStrings::AddStrings(TStrings* Strings) {
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  int N = Strings->GetCount();
  for (int I = 0; I < N; ++I) AddObject(Strings->Get(I), Strings->GetObject(I));
}

void TStrings::Assign(TPersistent* APersistent) {
  auto* Source = dynamic_cast<TStrings*>(APersistent);
  if (!Source) {
    inherited::Assign(APersistent);
    return;
  }
  if (Source == this) return;
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  Clear();
  Delimiter = Source->Delimiter;
  QuoteChar = Source->QuoteChar;
  NameValueSeparator = Source->NameValueSeparator;
  StrictDelimiter = Source->StrictDelimiter;
  AddStrings(Source);
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  String S = Get(Index1);
  TObject* O = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, S);
  PutObject(Index2, O);
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  String S = Get(CurIndex);
  TObject* O = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, S, O);
}

bool TStrings::Equals(TStrings* Strings) const {
  int N = GetCount();
  if (N != Strings->GetCount()) return false;
  for (int I = 0; I < N; ++I) {
    if (Get(I) != Strings->Get(I)) return false;
  }
  return true;
}

int TStrings::IndexOf(const String& S) const {
  int N = GetCount();
  for (int I = 0; I < N; ++I) {
    if (CompareStrings(Get(I), S) == 0) return I;
  }
  return -1;
}

int TStrings::IndexOfName(const String& Name) const {
  int N = GetCount();
  for (int I = 0; I < N; ++I) {
    String S = Get(I);
    std::size_t P = S.find(NameValueSeparator);
    if (P != String::npos && CompareStrings(S.substr(0, P), Name) == 0) return I;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  int N = GetCount();
  for (int I = 0; I < N; ++I) {
    if (GetObject(I) == AObject) return I;
  }
  return -1;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const String& S1, const String& S2) const { return AnsiCompareText(S1, S2); }

void TStrings::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TStrings::LoadFromStream(TStream* Stream) {
  std::int64_t Size = Stream->Size() - Stream->Position();
  String S(std::size_t(Size > 0 ? Size : 0), '\0');
  if (!S.empty()) Stream->ReadBuffer(S.data(), std::int64_t(S.size()));
  SetTextStr(S);
}

void TStrings::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

void TStrings::SaveToStream(TStream* Stream) {
  String S = GetTextStr();
  Stream->WriteBuffer(S.data(), std::int64_t(S.size()));
}

// ---- TStringList ---------------------------------------------------------------------------

TStringList::~TStringList() {
  // No notification while the list goes away.
  OnChange = nullptr;
  OnChanging = nullptr;
  if (OwnsObjects) {
    for (TStringItem& Item : FList) delete Item.FObject;
  }
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) ListIndexError(Index);
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) SortItems(nullptr);
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) SortItems(nullptr);
}

void TStringList::SetCapacity(int NewCapacity) {
  if (NewCapacity > 0) FList.reserve(std::size_t(NewCapacity));
}

String TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[std::size_t(Index)].FString;
}

void TStringList::Put(int Index, const String& S) {
  if (FSorted) SortedListError();
  CheckIndex(Index);
  Changing();
  FList[std::size_t(Index)].FString = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[std::size_t(Index)].FObject;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[std::size_t(Index)].FObject = AObject;
  Changed();
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject) {
  int Result = GetCount();
  if (FSorted && Find(S, Result)) {
    switch (Duplicates) {
      case dupIgnore:
        return Result;
      case dupError:
        throw EStringListError("Les doublons ne sont pas autorisés dans cette liste de chaînes"_a);
      case dupAccept:
        break;
    }
  }
  InsertItem(Result, S, AObject);
  return Result;
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> Old;
  Old.swap(FList);
  if (OwnsObjects) {
    for (TStringItem& Item : Old) delete Item.FObject;
  }
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* Object = FList[std::size_t(Index)].FObject;
  FList.erase(FList.begin() + Index);
  if (OwnsObjects) delete Object;
  Changed();
}

void TStringList::Insert(int Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
  if (FSorted) SortedListError();
  if (Index < 0 || Index > GetCount()) ListIndexError(Index);
  InsertItem(Index, S, AObject);
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[std::size_t(Index1)], FList[std::size_t(Index2)]);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) SortedListError();
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  TStringItem Item = FList[std::size_t(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, Item);
  Changed();
}

int TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int Index;
  return Find(S, Index) ? Index : -1;
}

bool TStringList::Find(const String& S, int& Index) const {
  int L = 0;
  int H = GetCount() - 1;
  bool Result = false;
  while (L <= H) {
    int I = (L + H) / 2;
    int C = CompareStrings(FList[std::size_t(I)].FString, S);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) Result = true;
    }
  }
  Index = L;
  return Result;
}

void TStringList::Sort() {
  if (!FSorted) SortItems(nullptr);
}

void TStringList::CustomSort(TStringListSortCompare Compare) {
  if (!FSorted) SortItems(Compare);
}

void TStringList::SortItems(TStringListSortCompare Compare) {
  if (FList.size() < 2) return;
  Changing();
  // Sort a permutation: a comparison function takes indexes into the unchanged list.
  std::vector<int> Order(FList.size());
  std::iota(Order.begin(), Order.end(), 0);
  std::stable_sort(Order.begin(), Order.end(), [&](int A, int B) {
    if (Compare) return Compare(this, A, B) < 0;
    return CompareStrings(FList[std::size_t(A)].FString, FList[std::size_t(B)].FString) < 0;
  });
  std::vector<TStringItem> Sorted;
  Sorted.reserve(FList.size());
  for (int I : Order) Sorted.push_back(std::move(FList[std::size_t(I)]));
  FList.swap(Sorted);
  Changed();
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}
