// This file implements what the tests of the month calendar and of the date picker's drop-down
// share: points of the calendar found by the control's own hit test, and the colours the screen
// shows over the parts of the calendar.
#pragma once

#include <map>

#include "ControlsTestSupport.h"
#include "qvmonthcalendar.h"

#include <commctrl.h>

// What the calendar's control says lies under a client point.
inline MCHITTESTINFO CalendarHit(TqvMonthCalendar* C, int X, int Y) {
  MCHITTESTINFO Hit{};
  Hit.cbSize = sizeof(Hit);
  Hit.pt = POINT{X, Y};
  SendMessageA(C->Handle(), MCM_HITTEST, 0, LPARAM(&Hit));
  return Hit;
}

// The screen point in the middle of the calendar's area that hit-tests as Wanted (a day when
// Date is given); false when no point does.
inline bool CalendarPoint(TqvMonthCalendar* C, TPoint& Point, UINT Wanted, TDateTime Date = 0) {
  RECT R{};
  GetClientRect(C->Handle(), &R);
  long SumX = 0, SumY = 0, Count = 0;
  for (int Y = 0; Y < R.bottom; Y += 2) {
    for (int X = 0; X < R.right; X += 2) {
      MCHITTESTINFO Hit = CalendarHit(C, X, Y);
      bool Match = Date != 0 ? qvIsDateHit(Hit.uHit) && EncodeDate(Hit.st.wYear, Hit.st.wMonth, Hit.st.wDay) == Date
                             : Hit.uHit == Wanted;
      if (!Match) continue;
      SumX += X;
      SumY += Y;
      ++Count;
    }
  }
  if (Count == 0) return false;
  POINT P{int(SumX / Count), int(SumY / Count)};
  ClientToScreen(C->Handle(), &P);
  Point = TPoint(P.x, P.y);
  return true;
}

// The bounding box, in client coordinates, of the points that hit-test as Wanted.
inline TRect CalendarArea(TqvMonthCalendar* C, UINT Wanted) {
  RECT R{};
  GetClientRect(C->Handle(), &R);
  TRect Box(R.right, R.bottom, -1, -1);
  for (int Y = 0; Y < R.bottom; ++Y) {
    for (int X = 0; X < R.right; ++X) {
      if (CalendarHit(C, X, Y).uHit != Wanted) continue;
      Box.Left = std::min(Box.Left, X);
      Box.Top = std::min(Box.Top, Y);
      Box.Right = std::max(Box.Right, X);
      Box.Bottom = std::max(Box.Bottom, Y);
    }
  }
  return Box;
}

// How many pixels of each colour (0x00RRGGBB) the screen shows over the calendar's points whose
// hit test (MCHITTESTINFO) Part accepts.
template <class F>
std::map<unsigned, int> CalendarColours(TqvMonthCalendar* C, F Part) {
  RECT R{};
  GetClientRect(C->Handle(), &R);
  POINT Origin{0, 0};
  ClientToScreen(C->Handle(), &Origin);
  TPixelArea Shown = CaptureScreen(Rect(Origin.x, Origin.y, Origin.x + R.right, Origin.y + R.bottom));
  std::map<unsigned, int> Counts;
  for (int Y = 0; Y < Shown.Height; ++Y)
    for (int X = 0; X < Shown.Width; ++X)
      if (Part(CalendarHit(C, X, Y))) ++Counts[Shown.At(X, Y)];
  return Counts;
}

// The colour most pixels have.
inline unsigned MostCommon(const std::map<unsigned, int>& Counts) {
  unsigned Best = 0;
  int Most = -1;
  for (auto [Colour, Count] : Counts)
    if (Count > Most) {
      Best = Colour;
      Most = Count;
    }
  return Best;
}

inline bool IsTitleHit(const MCHITTESTINFO& Hit) {
  return Hit.uHit == MCHT_TITLE || Hit.uHit == MCHT_TITLEMONTH || Hit.uHit == MCHT_TITLEYEAR;
}
// A day of the month on view.
inline bool IsMonthDayHit(const MCHITTESTINFO& Hit) { return Hit.uHit == MCHT_CALENDARDATE; }
// A day the control says belongs to another month than Month (it trails before or after).
struct TTrailingDayHit {
  int Month;
  bool operator()(const MCHITTESTINFO& Hit) const { return qvIsDateHit(Hit.uHit) && Hit.st.wMonth != Month; }
};
