// This file implements a benchmark of the lookup combo, run by hand on a display: a combo over
// the communes of the starting database (an SQL query ordered by name) dropping its list down on
// a value near the end of that order, and the search that completes a typed letter.
#include <benchmark/benchmark.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "ADODB.h"
#include "Field.h"
#include "Forms.h"
#include "TestDatabase.h"
#include "qvdblook.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TBench {
  TADOConnection Connection{nullptr};
  TForm* Form = nullptr;
  TADOQuery* Communes = nullptr;
  TqvDBLookupCombo* Combo = nullptr;
  String LastKey;

  TBench() {
    Connection.SetConnectionString("Data Source=" + TestDatabase::StartingDatabasePath());
    Connection.Open();
    Form = CreateForm<TForm>(nullptr);
    Form->SetBounds(0, 0, 500, 400);
    Communes = new TADOQuery(Form);
    Communes->SetConnection(&Connection);
    Communes->SetLockType(ltReadOnly);
    Communes->SQL()->SetText("SELECT COM_CODE, COM_LIB FROM D_COMMUNE ORDER BY COM_LIB");
    Communes->Open();
    Combo = new TqvDBLookupCombo(Form);
    Combo->SetParent(Form);
    Combo->SetBounds(10, 10, 250, 21);
    Combo->ShowMatchText = true;
    Combo->SetLookupTable(Communes);
    Combo->SetLookupField("COM_CODE");
    Combo->Selected()->Add("COM_LIB\t35\tCommune");
    Combo->Selected()->Add("COM_CODE\t5\tCode");
    Form->Show();
    Application->ProcessMessages();
    Combo->SetFocus();
    // A value near the end of the list's order.
    Communes->Last();
    for (int i = 0; i < 20; ++i) Communes->Prior();
    LastKey = Communes->FieldByName("COM_CODE")->AsString();
    Communes->First();
    std::printf("%d communes; the value dropped down on: %s\n", Communes->RecordCount(), LastKey.c_str());
  }
  ~TBench() { Form->Free(); }
};

TBench& Bench() {
  static TBench Instance;
  return Instance;
}

double Seconds(Clock::time_point Start) { return std::chrono::duration<double>(Clock::now() - Start).count(); }

// The list opened on the value, shown and painted, then closed (the close not counted).
void BM_DropDownOnAValueNearTheEnd(benchmark::State& State) {
  TBench& B = Bench();
  for (auto _ : State) {
    B.Combo->SetLookupValue(B.LastKey);
    B.Communes->First();
    auto Start = Clock::now();
    B.Combo->DropDown();
    UpdateWindow(B.Combo->List()->Handle());
    State.SetIterationTime(Seconds(Start));
    if (!B.Combo->ListVisible() || B.Communes->FieldByName("COM_CODE")->AsString() != B.LastKey)
      State.SkipWithError("the list did not open on the value");
    B.Combo->CloseUp(false);
    Application->ProcessMessages();
  }
}
BENCHMARK(BM_DropDownOnAValueNearTheEnd)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30)->Repetitions(5);

// One typed letter (key down, character, key up) with the closed list: the search of the typed
// text and the completion of the name.
void BM_TypedLetter(benchmark::State& State) {
  TBench& B = Bench();
  const char* Prefixes[] = {"Sain", "Vill", "Mont", "Ver", "Bour", "Ro", "Pl", "Ch"};
  const char Letters[] = {'t', 'e', 'b', 'n', 'g', 'u', 'o', 'a'};
  int i = 0;
  for (auto _ : State) {
    int k = i++ % 8;
    B.Combo->SetText(Prefixes[k]);
    B.Combo->SetSelStart(int(std::strlen(Prefixes[k])));
    WORD Key = WORD(std::toupper(Letters[k]));
    HWND Window = B.Combo->Handle();
    auto Start = Clock::now();
    SendMessageA(Window, WM_KEYDOWN, Key, 1);
    SendMessageA(Window, WM_CHAR, WPARAM(Letters[k]), 1);
    SendMessageA(Window, WM_KEYUP, Key, LPARAM(0xC0000001u));
    State.SetIterationTime(Seconds(Start));
    if (B.Combo->Text().size() <= std::strlen(Prefixes[k])) State.SkipWithError("no completion");
  }
}
BENCHMARK(BM_TypedLetter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(80)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
