// This file implements what the bar items' tests share.
#include "ItemsTestSupport.h"

#include "StrUtils.h"
#include "kwBarUtils.h"
#include "kwBarWindows.h"

void BarItemsTest::SetUp() {
  RegisterBarItems();
  Form.reset(CreateForm<TForm>(nullptr));
  Form->SetBounds(60, 60, 560, 320);
  Form->SetCaption("Barres"_a);
  Manager = new TkwBarManager(Form.get());
  Manager->SetStyle(bmsFlat);
}

void BarItemsTest::TearDown() {
  Form.reset();
  Manager = nullptr;
  RunPendingBarCommands();
}

void BarItemsTest::ShowForm() {
  Form->Show();
  Activate(Form.get());
}

TkwBar* BarItemsTest::AddBar(const String& Caption, bool MainMenu, TkwBarDockingStyle Style) {
  TkwBar* bar = Manager->Bars()->Add();
  bar->SetCaption(Caption);
  bar->SetIsMainMenu(MainMenu);
  bar->SetDockingStyle(Style);
  return bar;
}

TkwBarItemLink* BarItemsTest::Link(TkwBarItemLinks* Links, TkwBarItem* Item, bool BeginGroup) {
  TkwBarItemLink* link = Links->Add();
  link->SetItem(Item);
  link->SetBeginGroup(BeginGroup);
  return link;
}

TRect BarItemsTest::ScreenRectOf(TkwBarItemLink* Link) const {
  TRect r = Link->ItemRect;
  TkwBarWindow* window = Link->GetBarControl();
  if (window && window->HandleAllocated()) MapWindowPoints(window->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TPoint BarItemsTest::CentreOf(TkwBarItemLink* Link) const {
  TRect r = ScreenRectOf(Link);
  return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

testing::AssertionResult BarItemsTest::Painted() {
  return WaitFor("the bar windows painted", [&] {
    for (int i = 0; i < LiveBarControlCount(); ++i) {
      TkwBarWindow* w = LiveBarControl(i);
      if (w->GetBarManager() != Manager || !w->HandleAllocated()) continue;
      if (GetUpdateRect(w->Handle(), nullptr, FALSE)) return false;
      RedrawWindow(w->Handle(), nullptr, nullptr, RDW_UPDATENOW);
    }
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return !GetUpdateRect(Form->Handle(), nullptr, FALSE);
  });
}

testing::AssertionResult BarItemsTest::OpenMenu(TkwBarItemLink* Link, TCustomkwBarSubItem* Item) {
  ClickAt(CentreOf(Link));
  return WaitFor("the menu shown", [&] {
    TkwBarSubMenuControl* menu = MenuOf(Item);
    return menu && menu->HandleAllocated() && IsWindowVisible(menu->Handle()) &&
           !GetUpdateRect(menu->Handle(), nullptr, FALSE);
  });
}

void BarItemsTest::CountClick(TObject* Sender) { ++Clicks[Sender]; }

COLORREF ScreenPixel(TPoint Point) {
  TWindowDC screen;
  return GetPixel(screen, Point.X, Point.Y);
}

bool ScreenRectHas(const TRect& Rect, COLORREF Color) {
  TWindowDC screen;
  for (int y = Rect.Top; y < Rect.Bottom; ++y)
    for (int x = Rect.Left; x < Rect.Right; ++x)
      if (GetPixel(screen, x, y) == Color) return true;
  return false;
}

void MakeGlyph(TBitmap* Glyph, int Size, TColor Color, int Inset) {
  Glyph->SetPixelFormat(pf24bit);
  Glyph->SetSize(Size, Size);
  TCanvas* canvas = Glyph->Canvas();
  canvas->Brush()->SetColor(clFuchsia);
  canvas->FillRect(TRect(0, 0, Size, Size));
  canvas->Brush()->SetColor(Color);
  canvas->FillRect(TRect(Inset, Inset, Size - Inset, Size - Inset));
}

void SaveScreenArea(const TRect& Area, const String& Name) {
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(Area.Width(), Area.Height());
  HDC screen = GetDC(nullptr);
  BitBlt(picture.Canvas()->Handle(), 0, 0, Area.Width(), Area.Height(), screen, Area.Left, Area.Top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  SaveBitmapPng(&picture, Name);
}

String ObjectText(const String& Description, const String& Name) {
  std::size_t start = Description.find("object " + Name + ":");
  if (start == String::npos) return String();
  std::size_t line = Description.find('\n', start);
  while (line != String::npos) {
    std::size_t next = Description.find('\n', line + 1);
    String text = Trim(Description.substr(line + 1, next == String::npos ? String::npos : next - line - 1));
    if (text == "end") return Description.substr(start, (next == String::npos ? Description.size() : next) - start);
    line = next;
  }
  return Description.substr(start);
}
