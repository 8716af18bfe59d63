// This file implements a benchmark of the grid engine, run by hand on a display: a grid of five
// columns over the communes of the starting database (an SQL query), opened and painted, sent to
// the last record with Ctrl+End, and repainted whole; and how many records painting reads.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "ADODB.h"
#include "Field.h"
#include "Forms.h"
#include "Qvdbigrd.h"
#include "Strings.h"
#include "TestDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point Start) { return std::chrono::duration<double, std::milli>(Clock::now() - Start).count(); }

// The grid's pending painting done now.
void PaintNow(TqvCustomDBGrid* Grid) { UpdateWindow(Grid->Handle()); }

class TBenchGrid : public TqvCustomDBGrid {
 public:
  using TqvCustomDBGrid::TqvCustomDBGrid;
  using TqvCustomDBGrid::KeyDown;
  double PaintMs = 0, MessageMs = 0;

 protected:
  void Paint() override {
    auto Start = Clock::now();
    TqvCustomDBGrid::Paint();
    PaintMs += Millis(Start);
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg != WM_PAINT) {
      TqvCustomDBGrid::Dispatch(Message);
      return;
    }
    auto Start = Clock::now();
    TqvCustomDBGrid::Dispatch(Message);
    MessageMs += Millis(Start);
  }
};

struct TFigures {
  std::vector<double> Open, Last, Repaint;
};

void Report(const char* What, std::vector<double> Times, double Limit) {
  std::sort(Times.begin(), Times.end());
  std::printf("%-44s median %6.2f ms, worst %6.2f ms (limit %.0f ms)%s\n", What, Times[Times.size() / 2], Times.back(),
              Limit, Times[Times.size() / 2] < Limit ? "" : "  OVER");
}

}  // namespace

int main(int argc, char** argv) {
  bool Profile = argc > 1 && std::string(argv[1]) == "profile";
  TADOConnection Connection(nullptr);
  Connection.SetConnectionString("Data Source=" + TestDatabase::StartingDatabasePath());
  Connection.Open();
  const int Runs = 15;
  TFigures Figures;
  int Records = 0;
  for (int Run = 0; Run < Runs; ++Run) {
    TForm* Form = CreateForm<TForm>(nullptr);
    Form->SetBounds(0, 0, 700, 620);
    auto* Query = new TADOQuery(Form);
    Query->SetConnection(&Connection);
    Query->SetLockType(ltReadOnly);
    Query->SQL()->SetText(
        "SELECT C.COM_CODE, C.COM_LIB, C.DEP_CODE, D.DEP_LIB, D.REG_CODE FROM D_COMMUNE C "
        "INNER JOIN D_DEPARTEMENT D ON D.DEP_CODE = C.DEP_CODE ORDER BY C.COM_CODE");
    auto* Source = new TDataSource(Form);
    Source->SetDataSet(Query);
    auto* Grid = new TBenchGrid(Form);
    Grid->SetParent(Form);
    Grid->SetAlign(alClient);
    Grid->SetDataSource(Source);
    Form->Show();
    PaintNow(Grid);
    // Opening the query and painting the first screen.
    auto Start = Clock::now();
    Query->Open();
    PaintNow(Grid);
    Figures.Open.push_back(Millis(Start));
    Records = Query->RecordCount();
    if (Run == 0) std::printf("%d records, %d rows shown, %d columns\n", Records, Grid->VisibleRowCount(), Grid->GetFieldCount());
    // Ctrl+End to the last record, painted.
    Grid->SetFocus();
    Start = Clock::now();
    WORD Key = VK_END;
    Grid->KeyDown(Key, {ssCtrl});
    PaintNow(Grid);
    Figures.Last.push_back(Millis(Start));
    if (!Query->Eof()) std::printf("  Ctrl+End did not reach the last record\n");
    // A full repaint.
    Start = Clock::now();
    Grid->Invalidate();
    PaintNow(Grid);
    Figures.Repaint.push_back(Millis(Start));
    if (Profile && Run == 0) {
      Grid->PaintMs = Grid->MessageMs = 0;
      auto P = Clock::now();
      for (int i = 0; i < 100; ++i) {
        Grid->Invalidate();
        PaintNow(Grid);
      }
      std::printf("100 repaints: %.1f ms (Paint %.1f ms, WM_PAINT %.1f ms)\n", Millis(P), Grid->PaintMs, Grid->MessageMs);
      // The same window area painted by a bare control, for the cost of the window system alone.
      P = Clock::now();
      for (int i = 0; i < 100; ++i) {
        InvalidateRect(Form->Handle(), nullptr, FALSE);
        UpdateWindow(Form->Handle());
      }
      std::printf("100 form repaints: %.1f ms\n", Millis(P));
      TCanvas* C = Grid->Canvas();
      P = Clock::now();
      for (int i = 0; i < 100; ++i) {
        HDC DC = GetDC(Grid->Handle());
        PatBlt(DC, 0, 0, Grid->ClientWidth(), Grid->ClientHeight(), WHITENESS);
        ReleaseDC(Grid->Handle(), DC);
        GdiFlush();
      }
      std::printf("100 client PatBlt: %.1f ms\n", Millis(P));
      (void)C;
    }
    Form->Free();
    Application->ProcessMessages();
  }
  Report("open the query and paint the first screen", Figures.Open, 100);
  Report("Ctrl+End to the last record", Figures.Last, 50);
  Report("full repaint (30 rows x 5 columns)", Figures.Repaint, 10);
  return 0;
}
