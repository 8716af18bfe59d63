// This file implements a benchmark of the bar windows, run by hand: a whole repaint of a main-menu
// bar of 10 entries and of a tool bar of 57 large buttons, and a menu of 20 entries opened from
// the main menu until its first paint has ended, in each drawing style.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BarTestSupport.h"
#include "Forms.h"
#include "Menus.h"
#include "StandInTheme.h"
#include "StrUtils.h"
#include "kwBarControl.h"
#include "kwBarSubMenuControl.h"
#include "kwBarWindows.h"
#include "kwTestItems.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

struct TFigures {
  double Median;
  double Worst;
};

TFigures Summarize(std::vector<double> Times) {
  std::sort(Times.begin(), Times.end());
  return {Times[Times.size() / 2], Times.back()};
}

void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// The time of a whole repaint of a window, frame included, until its painting has reached the
// display.
TFigures Repaint(HWND Window, int Times) {
  std::vector<double> times;
  for (int i = 0; i < Times; ++i) {
    Clock::time_point start = Clock::now();
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    times.push_back(Milliseconds(start));
  }
  return Summarize(times);
}

// The end of a menu's first paint: every window shown while a menu opens gets a window procedure
// that notes when its first WM_PAINT has been handled.
Clock::time_point OpenStart;
bool FirstPaintEnded = false;
double FirstPaint = 0;
const char* const OriginalProc = "BenchOriginalProc";

LRESULT CALLBACK NotePaint(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto original = reinterpret_cast<WNDPROC>(GetPropA(Window, OriginalProc));
  LRESULT result = CallWindowProcA(original, Window, Msg, WParam, LParam);
  if (Msg == WM_PAINT && !FirstPaintEnded) {
    FirstPaintEnded = true;
    FirstPaint = Milliseconds(OpenStart);
  }
  if (Msg == WM_NCDESTROY || Msg == WM_PAINT) {
    SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(Window, OriginalProc);
  }
  return result;
}

LRESULT CALLBACK WatchShownWindows(int Code, WPARAM WParam, LPARAM LParam) {
  auto* message = reinterpret_cast<CWPSTRUCT*>(LParam);
  bool shown = message->message == WM_WINDOWPOSCHANGING &&
               (reinterpret_cast<WINDOWPOS*>(message->lParam)->flags & SWP_SHOWWINDOW);
  if (Code == HC_ACTION && shown && !FirstPaintEnded && !GetPropA(message->hwnd, OriginalProc)) {
    LONG_PTR original = GetWindowLongPtrA(message->hwnd, GWLP_WNDPROC);
    SetPropA(message->hwnd, OriginalProc, reinterpret_cast<HANDLE>(original));
    SetWindowLongPtrA(message->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NotePaint));
  }
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

// The size of the last menu opened: the bare popup window of the comparison has it.
TSize MenuSize{220, 420};

const char* StyleName(TkwBarManagerStyle Style) {
  switch (Style) {
    case bmsStandard: return "standard";
    case bmsEnhanced: return "enhanced";
    case bmsFlat: return "flat";
    case bmsOffice11: return "office-2003";
    case bmsXP: return "xp";
    default: return "?";
  }
}

void Run(TkwBarManagerStyle Style) {
  std::unique_ptr<TFakeVisualStyle> visualStyle;
  if (Style == bmsXP) {
    // No visual style is installed here: the XP painter draws through the stand-in one.
    visualStyle = std::make_unique<TFakeVisualStyle>(u"C:\\Themes\\Test.msstyles", u"Normal");
    BindStandInThemeParts();
  }
  std::unique_ptr<TForm> form(CreateForm<TForm>(nullptr));
  form->SetBounds(0, 0, 1270, 700);
  auto* manager = new TkwBarManager(form.get());
  manager->SetStyle(Style);
  manager->SetMenuAnimations(maNone);

  TkwBar* menuBar = manager->Bars()->Add();
  menuBar->SetCaption("Menu");
  menuBar->SetIsMainMenu(true);
  menuBar->SetDockingStyle(dsTop);
  const String entries[] = {"&Fichier", "&Edition", "&Affichage", "&Insertion", "F&ormat",
                            "O&utils",  "&Tableau", "Fe&nêtre"_a, "&Aide",      "&Extras"};
  std::vector<TkwBarSubItem*> subItems;
  for (const String& caption : entries) {
    auto* item = new TkwBarSubItem(form.get());
    item->SetCaption(caption);
    menuBar->ItemLinks()->Add()->SetItem(item);
    subItems.push_back(item);
  }
  for (int i = 0; i < 20; ++i) {
    auto* button = new TkwBarButton(form.get());
    button->SetCaption("Commande numéro "_a + IntToStr(i + 1));
    if (i % 3 == 0) button->SetShortCut(TextToShortCut("Ctrl+F" + IntToStr(i % 12 + 1)));
    TkwBarItemLink* link = subItems[0]->ItemLinks()->Add();
    link->SetItem(button);
    link->SetBeginGroup(i % 5 == 0 && i > 0);
  }

  TkwBar* toolbar = manager->Bars()->Add();
  toolbar->SetCaption("Outils");
  toolbar->SetDockingStyle(dsTop);
  toolbar->SetMultiLine(true);
  static const TColor colors[] = {clRed, clGreen, clBlue, clTeal, clPurple, clOlive, clNavy, clMaroon};
  for (int i = 0; i < 57; ++i) {
    auto* button = new TkwBarLargeButton(form.get());
    button->SetCaption("Outil " + IntToStr(i + 1));
    TBitmap* glyph = button->LargeGlyph();
    glyph->SetSize(32, 32);
    glyph->Canvas()->Brush()->SetColor(clFuchsia);
    glyph->Canvas()->FillRect(TRect(0, 0, 32, 32));
    glyph->Canvas()->Brush()->SetColor(colors[i % 8]);
    glyph->Canvas()->FillRect(TRect(6, 4, 26, 28));
    if (i % 7 == 6) button->SetEnabled(false);
    TkwBarItemLink* link = toolbar->ItemLinks()->Add();
    link->SetItem(button);
    link->SetBeginGroup(i % 10 == 9);
  }
  menuBar->SetVisible(true);
  toolbar->SetVisible(true);
  form->Show();
  SetForegroundWindow(form->Handle());
  PumpPending();

  auto* menuWindow = dynamic_cast<TkwBarControl*>(menuBar->GetControl());
  auto* toolWindow = dynamic_cast<TkwBarControl*>(toolbar->GetControl());
  if (!menuWindow || !toolWindow) {
    std::printf("%s: the bars have no windows\n", StyleName(Style));
    return;
  }
  TFigures menuPaint = Repaint(menuWindow->Handle(), 200);
  TFigures toolPaint = Repaint(toolWindow->Handle(), 200);

  // The first entry opened by a press, as the mouse does it: until the menu's first paint has
  // ended, and until the messages that follow are handled (its shadow shown too).
  TRect entry = menuBar->ItemLinks()->Items(0)->ItemRect;
  LPARAM at = MAKELPARAM((entry.Left + entry.Right) / 2, (entry.Top + entry.Bottom) / 2);
  std::vector<double> opens, wholes;
  int rows = 0;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchShownWindows, nullptr, GetCurrentThreadId());
  for (int i = 0; i < 60; ++i) {
    FirstPaintEnded = false;
    Clock::time_point start = Clock::now();
    OpenStart = start;
    SendMessageA(menuWindow->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    auto* menu = dynamic_cast<TkwBarSubMenuControl*>(subItems[0]->ItemLinks()->BarControl());
    if (!menu || !menu->HandleAllocated() || !IsWindowVisible(menu->Handle())) {
      std::printf("%s: the menu did not open\n", StyleName(Style));
      UnhookWindowsHookEx(hook);
      return;
    }
    UpdateWindow(menu->Handle());
    PumpPending();
    GdiFlush();
    wholes.push_back(Milliseconds(start));
    opens.push_back(FirstPaintEnded ? FirstPaint : wholes.back());
    rows = menu->ItemLinks()->GetVisibleItemCount();
    MenuSize = TSize{menu->Width(), menu->Height()};
    SendMessageA(menuWindow->Handle(), WM_LBUTTONUP, 0, at);
    menuWindow->EndMenuMode();
    PumpPending();
  }
  UnhookWindowsHookEx(hook);
  TFigures open = Summarize(opens);
  TFigures whole = Summarize(wholes);

  std::printf("%-12s main menu (10 entries): median %.2f ms, worst %.2f ms\n", StyleName(Style), menuPaint.Median,
              menuPaint.Worst);
  std::printf("%-12s tool bar (57 large buttons, %d x %d): median %.2f ms, worst %.2f ms\n", StyleName(Style),
              toolWindow->Width(), toolWindow->Height(), toolPaint.Median, toolPaint.Worst);
  std::printf("%-12s menu of %d entries, open to first paint: median %.2f ms, worst %.2f ms\n", StyleName(Style), rows,
              open.Median, open.Worst);
  std::printf("%-12s the same with its shadow shown: median %.2f ms, worst %.2f ms\n", StyleName(Style), whole.Median,
              whole.Worst);
  form.reset();
  RunPendingBarCommands();
  PumpPending();
}

// What the display costs, for comparison: a bare popup window of a menu's size created, shown
// and painted once (a fill), then destroyed.
TFigures BarePopup(int Times) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = DefWindowProcA;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "BenchBarePopup";
  cls.hbrBackground = GetSysColorBrush(COLOR_MENU);
  RegisterClassA(&cls);
  std::vector<double> times;
  for (int i = 0; i < Times; ++i) {
    Clock::time_point start = Clock::now();
    HWND popup = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "BenchBarePopup", "", WS_POPUP, 40, 60, MenuSize.cx,
                                 MenuSize.cy, nullptr, nullptr, cls.hInstance, nullptr);
    ShowWindow(popup, SW_SHOWNOACTIVATE);
    UpdateWindow(popup);
    GdiFlush();
    times.push_back(Milliseconds(start));
    DestroyWindow(popup);
    PumpPending();
  }
  return Summarize(times);
}
}  // namespace

// With a style's name as argument, only that style is measured.
int main(int argc, char** argv) {
  try {
    RegisterBarWindowClasses();
    RegisterTestItems();
    for (TkwBarManagerStyle style : {bmsStandard, bmsEnhanced, bmsFlat, bmsOffice11, bmsXP})
      if (argc < 2 || std::string(argv[1]) == StyleName(style)) Run(style);
    TFigures bare = BarePopup(60);
    std::printf("for comparison, a bare popup window of the menu's size (%d x %d) created, shown and filled: median "
                "%.2f ms, worst %.2f ms\n",
                int(MenuSize.cx), int(MenuSize.cy), bare.Median, bare.Worst);
    return 0;
  } catch (Exception& E) {
    std::printf("failed: %s\n", AnsiToUtf8(E.Message).c_str());
    return 1;
  }
}
