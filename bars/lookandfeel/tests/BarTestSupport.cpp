// This file implements what the tests of the look-and-feel and bar manager core share.
#include "BarTestSupport.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "FileUtils.h"
#include "Streams.h"
#include "kwBarUtils.h"

// --- Items and their control --------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TTestBarButton)

void TTestBarButton::DoClick() {
  ++Clicks;
  TkwBarItem::DoClick();
}

VELBOR_IMPLEMENT_CLASS(TTestSubItem)
VELBOR_PUBLISHED(TTestSubItem, Prop("ItemLinks", &Self::ItemLinks, &Self::SetItemLinks))

TTestSubItem::TTestSubItem(TComponent* AOwner) : TkwBarItem(AOwner) {
  FLinks = new TkwBarItemLinks(BarManager(), this);
}

TTestSubItem::~TTestSubItem() {
  delete FLinks;
  FLinks = nullptr;
}

VELBOR_IMPLEMENT_CLASS(TTestItemControl)

int TTestItemControl::CalcWidth() {
  TkwBarWindow* window = BarWindow();
  if (!window) return 40;
  // Measured on the screen: the window may not have its own yet.
  String caption = RemoveAmpersands(GetCaption());
  TWindowDC screen;
  TSelectedObject font(screen, window->Font()->Handle());
  SIZE size{0, 0};
  GetTextExtentPoint32A(screen, caption.c_str(), int(caption.size()), &size);
  return size.cx + 12;
}

// --- Dock site --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TTestDockSite)

TTestDockSite::TTestDockSite(TkwBarManager* Manager, TkwBarDockingStyle Style) : TkwDockSite(Manager, Style) {
  static const TAlign aligns[5] = {alNone, alLeft, alTop, alRight, alBottom};
  SetAlign(aligns[Style]);
  SetBounds(0, 0, 0, 0);
  SetParent(Manager->OwnerForm());
  SetBarManager(Manager);
}

TTestDockSite::~TTestDockSite() {
  for (TkwBarWindow* window : FWindows) window->SetDockSite(nullptr);
}

void TTestDockSite::DockBarWindow(TkwBarWindow* Window, TPoint) {
  if (std::find(FWindows.begin(), FWindows.end(), Window) == FWindows.end()) FWindows.push_back(Window);
  Window->SetParent(this);
  Window->SetDockSite(this);
  Window->RepaintBar();
  UpdateLayout();
}

void TTestDockSite::UndockBarWindow(TkwBarWindow* Window) {
  FWindows.erase(std::remove(FWindows.begin(), FWindows.end(), Window), FWindows.end());
  Window->SetDockSite(nullptr);
  UpdateLayout();
}

void TTestDockSite::UpdateLayout() {
  bool horizontal = FixedStyle() == dsTop || FixedStyle() == dsBottom;
  int offset = 0;
  for (TkwBarWindow* window : FWindows) {
    int thickness = 24;
    if (horizontal)
      window->SetBounds(0, offset, std::max(Width(), 1), thickness);
    else
      window->SetBounds(offset, 0, thickness, std::max(Height(), 1));
    offset += thickness;
  }
  SetDockSize(offset);
}

void TTestDockSite::SetDockSize(int Value) {
  if (BarManager() && BarManager()->IsLoading()) SizesGivenWhileLoading.push_back(Value);
  TkwDockSite::SetDockSize(Value);
}

void TTestDockSite::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

// --- Windows ----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TTestBarWindow)

TTestBarWindow::TTestBarWindow(TkwBar* ABar) : TkwBarWindow(ABar->GetBarManager(), ABar->ItemLinks()), FBar(ABar) {
  SetVisible(false);
  SetBounds(100, 100, 50, 30);
}

TTestBarWindow::~TTestBarWindow() { DestroyControls(); }

void TTestBarWindow::CreateParams(TCreateParams& Params) {
  TkwBarWindow::CreateParams(Params);
  if (DockingStyle() != dsNone) return;
  // Floating: a small window of its own, owned by the form.
  Params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW;
}

void TTestBarWindow::SetDockingStyle(TkwBarDockingStyle Value) {
  TkwBarWindow::SetDockingStyle(Value);
  if (Value == dsNone) {
    if (Parent()) SetParent(nullptr);
    SetParentWindow(FBar->GetBarManager()->OwnerForm()->Handle());
  } else {
    SetParentWindow(nullptr);
  }
}

TSize TTestBarWindow::CalcFloatingSize() {
  RepaintBar();
  int right = kGripWidth;
  TkwBarItemLinks* links = ItemLinks();
  for (int i = 0; i < links->GetShownItemCount(); ++i) right = std::max(right, links->GetShownItem(i)->ItemRect.Right);
  return TSize{right + 4, 26};
}

void TTestBarWindow::BeginMenuMode(TkwBarItemControl* Control) {
  ++MenuModeEntries;
  SetActive(true);
  if (!Control)
    if (TkwBarItemLink* first = ItemLinks()->GetFirstSelectableLink()) Control = first->Control();
  SetSelectedItem(Control);
  if (TkwBarManager* manager = GetBarManager()) manager->SetMenuModeBarControl(this);
}

void TTestBarWindow::SetActive(bool Value) {
  TkwBarWindow::SetActive(Value);
  TkwBarManager* manager = GetBarManager();
  if (!Value && manager && manager->MenuModeBarControl() == this) manager->SetMenuModeBarControl(nullptr);
}

void TTestBarWindow::RepaintBar() {
  ++RebuildCount;
  DestroyControls();
  CreateControls();
  TkwBarItemLinks* links = ItemLinks();
  links->ClearItemRects();
  int x = kGripWidth;
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    TkwBarItemControl* control = link->Control();
    int width = control ? control->GetWidth() : 40;
    if (link->BeginGroup()) x += 6;
    link->ItemRect = Bounds(x, 2, width, 20);
    x += width;
  }
  Invalidate();
}

void TTestBarWindow::StorePositionInBar() {
  if (!DockSite()) return;
  FBar->SetDockedLeft(Left());
  FBar->SetDockedTop(Top());
}

void TTestBarWindow::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(ClientRect());
  TkwBarItemLinks* links = ItemLinks();
  canvas->Brush()->SetStyle(bsClear);
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    TkwBarItemControl* control = link->Control();
    bool selected = control && control->IsSelected();
    if (selected) {
      canvas->Brush()->SetStyle(bsSolid);
      canvas->Brush()->SetColor(clHighlight);
      canvas->FillRect(link->ItemRect);
      canvas->Brush()->SetStyle(bsClear);
    }
    canvas->Font()->SetColor(selected ? clHighlightText : clBtnText);
    String caption = link->GetCaption();
    DrawTextA(canvas->Handle(), caption.c_str(), int(caption.size()), AsRECT(link->ItemRect),
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

void TTestBarWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KWBARRELAYOUT:
      ++RelayoutMessages;
      RepaintBar();
      return;
    case WM_LBUTTONDOWN: {
      TPoint at(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
      // The grip moves the bar; while customizing, a press on a link drags the link.
      if (at.X < kGripWidth && !IsActive()) {
        FBar->GetBars()->TrackBarDrag(this);
        return;
      }
      TkwBarManager* manager = GetBarManager();
      if (manager->IsCustomizing())
        if (TkwBarItemControl* control = GetItemControlAtPos(at)) {
          manager->DragItemLink(control->GetItem(), control->Link());
          return;
        }
      break;
    }
    case WM_KEYDOWN:
      if (IsActive()) {
        if (Message.WParam == VK_ESCAPE) {
          SetActive(false);
        } else {
          TestMenuKey(this, WORD(Message.WParam));
        }
        return;
      }
      break;
    default:
      break;
  }
  TkwBarWindow::Dispatch(Message);
}

bool TestMenuKey(TkwBarWindow* Window, WORD Key) {
  TkwBarItemLinks* links = Window->ItemLinks();
  TkwBarItemControl* selected = Window->SelectedControl();
  TkwBarItemLink* current = selected ? selected->Link() : nullptr;
  bool forward = Window->IsSubMenu() ? Key == VK_DOWN : Key == VK_RIGHT;
  bool back = Window->IsSubMenu() ? Key == VK_UP : Key == VK_LEFT;
  if (forward || back) {
    TkwBarItemLink* next = forward ? links->GetNextSelectableLink(current) : links->GetPrevSelectableLink(current);
    if (next) Window->SetSelectedItem(next->Control());
    return true;
  }
  if (Key == VK_RETURN) {
    if (selected) selected->ControlClick(false);
    return true;
  }
  TkwBarItemLink* found = links->FindByAccelerator(Key, 0, current);
  if (!found || !found->Control()) return false;
  Window->SetSelectedItem(found->Control());
  found->Control()->ControlClick(false);
  return true;
}

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TTestMenuWindow)

int TTestMenuWindow::Live = 0;

TTestMenuWindow::TTestMenuWindow(TkwBarManager* Manager, TkwBarItemLinks* Links) : TkwBarWindow(Manager, Links) {
  ++Live;
  SetVisible(false);
}

TTestMenuWindow::~TTestMenuWindow() {
  --Live;
  DestroyControls();
}

void TTestMenuWindow::CreateParams(TCreateParams& Params) {
  TkwBarWindow::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

void TTestMenuWindow::RepaintBar() {
  DestroyControls();
  CreateControls();
  TkwBarItemLinks* links = ItemLinks();
  for (int i = 0; i < links->GetShownItemCount(); ++i) links->GetShownItem(i)->ItemRect = Bounds(0, i * 20, 120, 20);
  SetBounds(Left(), Top(), 122, std::max(1, links->GetShownItemCount()) * 20 + 2);
  Invalidate();
}

void TTestMenuWindow::HideAll() {
  if (FClosing) return;
  FClosing = true;
  SetActive(false);
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  NotifyCloseUp();
  // Freed once the message that closed it is over (a control of it may be running a click).
  TTestMenuWindow* self = this;
  Later([self] {
    if (IsLiveBarControl(self)) delete self;
  });
}

TPoint TTestMenuWindow::LinkCentre(int ShownIndex) {
  TkwBarItemLink* link = ItemLinks()->GetShownItem(ShownIndex);
  const TRect& r = link->ItemRect;
  return ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
}

void TTestMenuWindow::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(clWindow);
  canvas->FillRect(ClientRect());
  TkwBarItemLinks* links = ItemLinks();
  canvas->Brush()->SetStyle(bsClear);
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    bool selected = link->Control() && link->Control()->IsSelected();
    if (selected) {
      canvas->Brush()->SetStyle(bsSolid);
      canvas->Brush()->SetColor(clHighlight);
      canvas->FillRect(link->ItemRect);
      canvas->Brush()->SetStyle(bsClear);
    }
    canvas->Font()->SetColor(selected ? clHighlightText : clWindowText);
    String caption = link->GetCaption();
    TRect r = link->ItemRect;
    r.Left += 6;
    DrawTextA(canvas->Handle(), caption.c_str(), int(caption.size()), AsRECT(r), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

void TTestMenuWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      if (Message.WParam == VK_ESCAPE)
        HideAll();
      else
        TestMenuKey(this, WORD(Message.WParam));
      return;
    case WM_MOUSEMOVE:
      if (TkwBarItemControl* control = GetItemControlAtPos(TPoint(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)))))
        SetSelectedItem(control);
      return;
    case WM_LBUTTONUP:
      if (TkwBarItemControl* control = GetItemControlAtPos(TPoint(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)))))
        control->ControlClick(true);
      return;
    case WM_MOUSEACTIVATE:
      // A menu never takes the activation from the form.
      Message.Result = MA_NOACTIVATE;
      return;
    default:
      break;
  }
  TkwBarWindow::Dispatch(Message);
}

namespace {
TkwBarWindow* MakeBarWindow(TkwBar* Bar) { return new TTestBarWindow(Bar); }
TkwBarWindow* MakeMenuWindow(TkwBarManager* Manager, TkwBarItemLinks* Links) {
  return new TTestMenuWindow(Manager, Links);
}
TkwDockSite* MakeEdgeDockSite(TkwBarManager* Manager, TkwBarDockingStyle Style) {
  return new TTestDockSite(Manager, Style);
}
}  // namespace

void InstallTestBarClasses() {
  static bool registered = false;
  if (!registered) {
    registered = true;
    RegisterBarItemClass(TTestBarButton::StaticClass(), TTestItemControl::StaticClass(), true);
    RegisterBarItemClass(TTestSubItem::StaticClass(), TTestItemControl::StaticClass(), true);
    RegisterBarManagerClasses();
    RegisterClass(TForm::StaticClass());
  }
  TkwBarWindowClasses classes;
  classes.CreateBarWindow = &MakeBarWindow;
  classes.CreateMenuWindow = &MakeMenuWindow;
  classes.CreateEdgeDockSite = &MakeEdgeDockSite;
  SetBarWindowClasses(classes);
}

void RemoveTestBarWindows() { SetBarWindowClasses(TkwBarWindowClasses()); }

// --- Form fixture -------------------------------------------------------------------------------

void BarFormTest::SetUp() {
  InstallTestBarClasses();
  Form.reset(CreateForm<TForm>(nullptr));
  Form->SetBounds(60, 60, 480, 240);
  Form->SetCaption("Barres"_a);
  Manager = new TkwBarManager(Form.get());
}

void BarFormTest::TearDown() {
  Form.reset();
  Manager = nullptr;
}

void BarFormTest::ShowForm() {
  Form->Show();
  Activate(Form.get());
}

TkwBar* BarFormTest::AddBar(const String& Caption, bool MainMenu) {
  TkwBar* bar = Manager->Bars()->Add();
  bar->SetCaption(Caption);
  bar->SetIsMainMenu(MainMenu);
  bar->SetDockingStyle(dsTop);
  return bar;
}

TTestBarButton* BarFormTest::AddButton(const String& Caption) {
  auto* item = new TTestBarButton(Form.get());
  item->SetCaption(Caption);
  item->SetCategory(0);
  return item;
}

TkwBarItemLink* BarFormTest::Link(TkwBar* Bar, TkwBarItem* Item, bool BeginGroup) {
  TkwBarItemLink* link = Bar->ItemLinks()->Add();
  link->SetItem(Item);
  link->SetBeginGroup(BeginGroup);
  return link;
}

TTestBarWindow* BarFormTest::WindowOf(TkwBar* Bar) { return dynamic_cast<TTestBarWindow*>(Bar->GetControl()); }

// --- Visual style ----------------------------------------------------------------------------

int TFakeVisualStyle::OpenCount = 0;
int TFakeVisualStyle::CloseCount = 0;

namespace {
const char16_t* FakeFile = u"";
const char16_t* FakeColor = u"";
std::uintptr_t NextTheme = 0x1000;
bool FakeActive = false;

BOOL WINAPI FakeIsThemeActive() { return FakeActive ? TRUE : FALSE; }
HTHEME WINAPI FakeOpenThemeData(HWND, LPCWSTR) {
  ++TFakeVisualStyle::OpenCount;
  return reinterpret_cast<HTHEME>(NextTheme++);
}
HRESULT WINAPI FakeCloseThemeData(HTHEME) {
  ++TFakeVisualStyle::CloseCount;
  return S_OK;
}
HRESULT WINAPI FakeGetThemeColor(HTHEME, int, int, int, COLORREF*) { return E_FAIL; }
HRESULT WINAPI FakeGetThemePartSize(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE*) { return E_FAIL; }
HRESULT WINAPI FakeDrawThemeBackground(HTHEME, HDC, int, int, const RECT*, const RECT*) { return E_FAIL; }
HRESULT WINAPI FakeGetCurrentThemeName(LPWSTR File, int FileChars, LPWSTR Color, int ColorChars, LPWSTR Size,
                                       int SizeChars) {
  auto copy = [](LPWSTR To, int Chars, const char16_t* From) {
    int i = 0;
    for (; From[i] && i + 1 < Chars; ++i) To[i] = WCHAR(From[i]);
    if (Chars > 0) To[i] = 0;
  };
  copy(File, FileChars, FakeFile);
  copy(Color, ColorChars, FakeColor);
  copy(Size, SizeChars, u"NormalSize");
  return S_OK;
}

template <class F>
FARPROC AsProc(F Function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(Function));
}
}  // namespace

void SendThemeChanged() {
  if (HWND receiver = ThemeChangeReceiverWindow()) SendMessageA(receiver, WM_THEMECHANGED, 0, 0);
}

TFakeVisualStyle::TFakeVisualStyle(const char16_t* FileName, const char16_t* ColorName, bool Active) {
  StartThemes();
  TkwThemeBinding& binding = ThemeBinding();
  FSaved = binding;
  FakeFile = FileName;
  FakeColor = ColorName;
  binding.Entries[teIsThemeActive] = AsProc(&FakeIsThemeActive);
  binding.Entries[teOpenThemeData] = AsProc(&FakeOpenThemeData);
  binding.Entries[teCloseThemeData] = AsProc(&FakeCloseThemeData);
  binding.Entries[teGetThemeColor] = AsProc(&FakeGetThemeColor);
  binding.Entries[teGetThemePartSize] = AsProc(&FakeGetThemePartSize);
  binding.Entries[teDrawThemeBackground] = AsProc(&FakeDrawThemeBackground);
  binding.Entries[teGetCurrentThemeName] = AsProc(&FakeGetCurrentThemeName);
  FakeActive = Active;
  SendThemeChanged();
}

TFakeVisualStyle::~TFakeVisualStyle() {
  // The style goes inactive first: the fake handles are closed by the fake entries, and nothing
  // opens new ones.
  FakeActive = false;
  SendThemeChanged();
  ThemeBinding() = FSaved;
  SendThemeChanged();
}

// --- System colours -----------------------------------------------------------------------------

TSystemColors::TSystemColors(const std::map<int, COLORREF>& Colors) {
  std::vector<COLORREF> colors;
  for (const auto& [index, color] : Colors) {
    FIndexes.push_back(index);
    FSaved.push_back(GetSysColor(index));
    colors.push_back(color);
  }
  SetSysColors(int(FIndexes.size()), FIndexes.data(), colors.data());
}

TSystemColors::~TSystemColors() { SetSysColors(int(FIndexes.size()), FIndexes.data(), FSaved.data()); }

// --- Screenshots --------------------------------------------------------------------------------

namespace {
std::uint32_t Crc32(const std::string& Data) {
  static std::uint32_t table[256];
  static bool made = false;
  if (!made) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    made = true;
  }
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : Data) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void PutBig(std::string& Out, std::uint32_t V) {
  for (int s = 24; s >= 0; s -= 8) Out.push_back(char((V >> s) & 0xFF));
}

void Chunk(std::string& Out, const char* Type, const std::string& Data) {
  PutBig(Out, std::uint32_t(Data.size()));
  std::string body = std::string(Type, 4) + Data;
  Out += body;
  PutBig(Out, Crc32(body));
}

// A PNG of rows of RGB pixels (0x00BBGGRR), compressed with stored blocks only.
std::string EncodePng(int Width, int Height, const std::vector<COLORREF>& Pixels) {
  std::string raw;
  for (int y = 0; y < Height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < Width; ++x) {
      COLORREF c = Pixels[std::size_t(y * Width + x)];
      raw.push_back(char(GetRValue(c)));
      raw.push_back(char(GetGValue(c)));
      raw.push_back(char(GetBValue(c)));
    }
  }
  std::string zlib = "\x78\x01";
  std::size_t pos = 0;
  do {
    std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
    bool last = pos + n >= raw.size();
    zlib.push_back(last ? 1 : 0);
    zlib.push_back(char(n & 0xFF));
    zlib.push_back(char(n >> 8));
    zlib.push_back(char(~n & 0xFF));
    zlib.push_back(char((~n >> 8) & 0xFF));
    zlib.append(raw, pos, n);
    pos += n;
  } while (pos < raw.size());
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBig(zlib, (b << 16) | a);
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  PutBig(header, std::uint32_t(Width));
  PutBig(header, std::uint32_t(Height));
  header += std::string("\x08\x02\x00\x00\x00", 5);
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", std::string());
  return png;
}

void WritePng(const String& Name, int Width, int Height, const std::vector<COLORREF>& Pixels) {
  String folder = ExtractFilePath(ParamStr(0)) + "screenshots\\";
  ForceDirectories(folder);
  std::string png = EncodePng(Width, Height, Pixels);
  TFileStream file(folder + Name + ".png", fmCreate);
  file.WriteBuffer(png.data(), std::int64_t(png.size()));
}
}  // namespace

void RedrawNow(HWND Window) {
  RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

COLORREF WindowPixel(HWND Window, int X, int Y) {
  TWindowDC dc(Window, TWindowDC::WholeWindow);
  return GetPixel(dc, X, Y);
}

void SaveScreenshot(HWND Window, const String& Name) {
  RECT r;
  GetWindowRect(Window, &r);
  int w = r.right - r.left;
  int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TWindowDC screen;
  TOwnedBitmap bitmap(CreateCompatibleBitmap(screen, w, h));
  std::vector<std::uint32_t> bits(std::size_t(w * h));
  {
    TBitmapDC memory(bitmap, screen);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(screen, bitmap, 0, UINT(h), bits.data(), &info, DIB_RGB_COLORS);
  std::vector<COLORREF> pixels(bits.size());
  for (std::size_t i = 0; i < bits.size(); ++i)
    pixels[i] = RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF);
  WritePng(Name, w, h, pixels);
}

void SaveBitmapPng(TBitmap* Bitmap, const String& Name) {
  int w = Bitmap->Width();
  int h = Bitmap->Height();
  std::vector<COLORREF> pixels(std::size_t(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[std::size_t(y * w + x)] = ColorToRGB(Bitmap->Canvas()->Pixels(x, y));
  WritePng(Name, w, h, pixels);
}
