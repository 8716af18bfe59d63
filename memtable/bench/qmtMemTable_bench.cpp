// This file measures the in-memory table on 100,000 rows of (integer, 40-character text, real):
// filling from another dataset, sorting on the text, and Locate through an index and by scanning,
// with a plain stable sort of the same keys as the yardstick for the sort.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

#include "BenchRatios.h"
#include "FieldDefs.h"
#include "TextOrder.h"
#include "qmtMemTable.h"

namespace {

constexpr int Rows = 100000;

String Text(std::mt19937& Rng) {
  static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  String S(40, ' ');
  for (char& C : S) C = Letters[Rng() % 52];
  return S;
}

// The source, made once: 100,000 rows appended through the dataset.
TqmtMemTable* Source() {
  static std::unique_ptr<TqmtMemTable> S = [] {
    auto T = std::make_unique<TqmtMemTable>(nullptr);
    T->FieldDefs()->Add("id", ftInteger);
    T->FieldDefs()->Add("name", ftString, 40);
    T->FieldDefs()->Add("value", ftFloat);
    T->Open();
    std::mt19937 Rng(42);
    TField* Id = T->FieldByName("id");
    TField* Name = T->FieldByName("name");
    TField* Value = T->FieldByName("value");
    T->DisableControls();
    for (int I = 0; I < Rows; ++I) {
      T->Append();
      Id->SetAsInteger(I);
      Name->SetAsString(Text(Rng));
      Value->SetAsFloat(I * 0.5);
      T->Post();
    }
    T->EnableControls();
    return T;
  }();
  return S.get();
}

void BM_FillFromDataSet(benchmark::State& State) {
  TqmtMemTable* S = Source();
  for (auto _ : State) {
    TqmtMemTable T(nullptr);
    T.FillFromDataSet(S, mtcpoStructure);
    benchmark::DoNotOptimize(T.RecordCount());
  }
  State.SetItemsProcessed(State.iterations() * Rows);
}
BENCHMARK(BM_FillFromDataSet)->Unit(benchmark::kMillisecond);

void BM_SortOnText(benchmark::State& State) {
  TqmtMemTable* S = Source();
  for (auto _ : State) {
    S->SetIndexFieldNames("");
    S->DeleteIndex("name");
    S->SetIndexFieldNames("name");
    benchmark::DoNotOptimize(S->Indexes()->Current()->Count());
  }
  S->SetIndexFieldNames("");
  S->DeleteIndex("name");
}
BENCHMARK(BM_SortOnText)->Unit(benchmark::kMillisecond);

// The yardstick: the same 100,000 texts in a vector, stable-sorted with the same comparison.
void BM_StableSortOfTheSameKeys(benchmark::State& State) {
  std::mt19937 Rng(42);
  std::vector<String> Keys;
  for (int I = 0; I < Rows; ++I) Keys.push_back(Text(Rng));
  for (auto _ : State) {
    std::vector<String> V = Keys;
    std::stable_sort(V.begin(), V.end(), [](const String& A, const String& B) { return AnsiCompareStr(A, B) < 0; });
    benchmark::DoNotOptimize(V.data());
  }
}
BENCHMARK(BM_StableSortOfTheSameKeys)->Unit(benchmark::kMillisecond);

void BM_LocateIndexed(benchmark::State& State) {
  TqmtMemTable* S = Source();
  S->SetIndexFieldNames("id");
  int I = 0;
  for (auto _ : State) {
    bool Found = S->Locate("id", Variant((I * 7919) % Rows), {});
    benchmark::DoNotOptimize(Found);
    ++I;
  }
  S->SetIndexFieldNames("");
}
BENCHMARK(BM_LocateIndexed)->Unit(benchmark::kMicrosecond);

void BM_LocateScanning(benchmark::State& State) {
  TqmtMemTable* S = Source();
  S->SetIndexFieldNames("");
  S->AutoAddIndexes = false;
  int I = 0;
  for (auto _ : State) {
    bool Found = S->Locate("value", Variant(double((I * 7919) % Rows) * 0.5), {});
    benchmark::DoNotOptimize(Found);
    ++I;
  }
}
BENCHMARK(BM_LocateScanning)->Unit(benchmark::kMicrosecond);

[[maybe_unused]] const bool kRatios =
    AddBenchRatio({"index on 100,000 texts / stable sort of the same keys", "BM_SortOnText", "BM_StableSortOfTheSameKeys", 0});

}  // namespace
