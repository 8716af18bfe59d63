// This file implements a benchmark of the record search, run by hand: case-insensitive searches
// over the communes of the starting database, read in code order by the program's dataset class,
// for names near the end of the list and for names that are nowhere.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "ADODB.h"
#include "Field.h"
#include "Strings.h"
#include "TestDatabase.h"
#include "qvRecordSearch.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TCase {
  const char* What;
  const char* Text;
  TqvLocateMatchType Match;
  bool FromBeginning;
  const char* Expected;  // the commune found, null for a miss
};

}  // namespace

int main() {
  TADOConnection Connection(nullptr);
  Connection.SetConnectionString("Data Source=" + TestDatabase::StartingDatabasePath());
  Connection.Open();
  TADOQuery Communes(nullptr);
  Communes.SetConnection(&Connection);
  Communes.SetLockType(ltReadOnly);
  Communes.SQL()->SetText("SELECT COM_CODE, COM_LIB, DEP_CODE FROM D_COMMUNE ORDER BY COM_CODE");
  Communes.Open();
  std::printf("%d communes\n", Communes.RecordCount());

  const TCase Cases[] = {
      {"start, from the first (near the end)", "mamoud", mtPartialMatchStart, true, "Mamoudzou"},
      {"anywhere, from the first (near the end)", "oudzo", mtPartialMatchAny, true, "Mamoudzou"},
      {"exact, from the first (near the end)", "TSINGONI", mtExactMatch, true, "Tsingoni"},
      {"start, from the current record (near the end)", "tsing", mtPartialMatchStart, false, "Tsingoni"},
      {"start, a miss", "zzzz", mtPartialMatchStart, true, nullptr},
      {"anywhere, a miss", "zzzz", mtPartialMatchAny, true, nullptr},
      {"exact, a miss", "Zzzz-sur-Mer", mtExactMatch, true, nullptr},
  };
  int Failures = 0;
  for (const TCase& Case : Cases) {
    std::vector<double> Times;
    for (int Run = 0; Run < 25; ++Run) {
      Communes.First();
      auto Start = Clock::now();
      bool Found = qvFindFieldValue(Case.FromBeginning, &Communes, "COM_LIB", Case.Text, Case.Match, false, false);
      Times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - Start).count());
      String Name = Communes.FieldByName("COM_LIB")->AsString();
      if (Found != (Case.Expected != nullptr) || (Found && Name != Case.Expected)) {
        std::printf("  wrong answer for %s: %s\n", Case.What, Found ? Name.c_str() : "not found");
        ++Failures;
        break;
      }
    }
    std::sort(Times.begin(), Times.end());
    std::printf("%-48s median %.2f ms, worst %.2f ms\n", Case.What, Times[Times.size() / 2], Times.back());
  }
  return Failures == 0 ? 0 : 1;
}
