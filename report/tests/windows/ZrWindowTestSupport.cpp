// This file implements the shared helpers of the report window tests.
#include "ZrWindowTestSupport.h"

#include <dirent.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "FileUtils.h"
#include "Printers.h"
#include "ZR_Prntr.h"

namespace {

void CheckActive(const String& ClassName, std::shared_ptr<std::function<void(TCustomForm*)>> Work, DWORD Start) {
  if (TCustomForm* form = ActiveFormOf(ClassName)) {
    (*Work)(form);
    return;
  }
  if (GetTickCount() - Start > DWORD(kWaitLimit)) {
    ADD_FAILURE() << "no window " << ClassName << " became active";
    return;
  }
  Later([ClassName, Work, Start] { CheckActive(ClassName, Work, Start); }, 5);
}

void CheckMenu(std::shared_ptr<std::function<void()>> Work, DWORD Start) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (menu != nullptr && IsWindowVisible(menu)) {
    (*Work)();
    return;
  }
  if (GetTickCount() - Start > DWORD(kWaitLimit)) {
    ADD_FAILURE() << "no popup menu showed";
    return;
  }
  Later([Work, Start] { CheckMenu(Work, Start); }, 5);
}

// PNG of rows of RGB pixels, stored blocks only.
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
std::string EncodePng(int Width, int Height, const std::vector<std::uint32_t>& Bgra) {
  std::string raw;
  for (int y = 0; y < Height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < Width; ++x) {
      std::uint32_t c = Bgra[std::size_t(y * Width + x)];
      raw.push_back(char((c >> 16) & 0xFF));
      raw.push_back(char((c >> 8) & 0xFF));
      raw.push_back(char(c & 0xFF));
    }
  }
  std::string zlib = "\x78\x01";
  std::size_t pos = 0;
  do {
    std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
    zlib.push_back(pos + n >= raw.size() ? 1 : 0);
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

bool WholePdf(const std::string& Path) {
  FILE* file = std::fopen(Path.c_str(), "rb");
  if (!file) return false;
  char tail[16] = "";
  std::size_t read = 0;
  if (std::fseek(file, -long(sizeof(tail)), SEEK_END) == 0) read = std::fread(tail, 1, sizeof(tail), file);
  std::fclose(file);
  return std::string(tail, read).find("%%EOF") != std::string::npos;
}

}  // namespace

TCustomForm* ActiveFormOf(const String& ClassName) {
  HWND active = GetActiveWindow();
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->ClassName() == ClassName && f->HandleAllocated() && f->Handle() == active && IsWindowVisible(active))
      return f;
  }
  return nullptr;
}

void WhenActive(const String& ClassName, std::function<void(TCustomForm*)> Work) {
  auto work = std::make_shared<std::function<void(TCustomForm*)>>(std::move(Work));
  DWORD start = GetTickCount();
  Later([ClassName, work, start] { CheckActive(ClassName, work, start); });
}

void WhenMenuShows(std::function<void()> Work) {
  auto work = std::make_shared<std::function<void()>>(std::move(Work));
  DWORD start = GetTickCount();
  Later([work, start] { CheckMenu(work, start); });
}

void SaveScreenshot(HWND Window, const String& Name) {
  RECT r;
  GetWindowRect(Window, &r);
  int w = r.right - r.left;
  int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  HDC screen = GetWindowDC(Window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  std::vector<std::uint32_t> bits(std::size_t(w * h));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(memory, bitmap, 0, UINT(h), bits.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(Window, screen);
  String folder = ExtractFilePath(ParamStr(0)) + "screenshots\\";
  ForceDirectories(folder);
  std::string png = EncodePng(w, h, bits);
  TFileStream file(folder + Name + ".png", fmCreate);
  file.WriteBuffer(png.data(), std::int64_t(png.size()));
}

std::string PdfFolder() {
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "/root") + "/PDF";
}

std::string UniqueTitle(const char* Stem) {
  return std::string(Stem) + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(std::random_device()());
}

std::vector<std::string> WaitForPdfs(const std::string& Title, std::size_t Count) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::vector<std::string> found;
  while (std::chrono::steady_clock::now() < deadline) {
    found.clear();
    std::vector<std::pair<long long, std::string>> files;
    if (DIR* dir = opendir(PdfFolder().c_str())) {
      while (dirent* e = readdir(dir)) {
        std::string n = e->d_name;
        if (n.find(Title) == std::string::npos || n.size() < 4 || n.substr(n.size() - 4) != ".pdf") continue;
        std::string path = PdfFolder() + "/" + n;
        if (!WholePdf(path)) continue;
        struct stat st {};
        stat(path.c_str(), &st);
        files.emplace_back(static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec, path);
      }
      closedir(dir);
    }
    std::sort(files.begin(), files.end());
    for (auto& f : files) found.push_back(f.second);
    if (found.size() >= Count) return found;
    ::Sleep(50);
  }
  return found;
}

std::string HostCommand(const std::string& Command) {
  std::string text;
  if (FILE* pipe = popen((Command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

std::string PdfText(const std::string& Path) { return HostCommand("pdftotext -layout -enc UTF-8 '" + Path + "' -"); }

std::vector<std::string> PdfPages(const std::string& Path) {
  std::string text = PdfText(Path);
  std::vector<std::string> pages;
  std::size_t start = 0;
  for (;;) {
    std::size_t ff = text.find('\f', start);
    if (ff == std::string::npos) break;
    pages.push_back(text.substr(start, ff - start));
    start = ff + 1;
  }
  return pages;
}

void ZrWindowTest::SetUp() {
  ZrReportTest::SetUp();
  RegisterReportWindows();
  TzrPage* page = AddPage();
  AddBand(page, btReportTitle, 20, 60);
  TzrMemoView* title = AddMemo(page, "Nom", 40, 20, 600, 30, "[qZones.\"NOM\"]");
  title->Font()->SetSize(16);
  AddMemo(page, "Region", 40, 52, 300, 20, "Région : [qZones.\"REGION\"]"_a);
  AddBand(page, btPageFooter, 1000, 30);
  TzrMemoView* code = AddMemo(page, "Code", 500, 1000, 200, 20, "Zone [qZones.\"CODE\"]");
  code->Alignment = zrtaRight;
  Report->SetDataset(ZonesLink);
  Report->ReportType = rtMultiple;
  Report->ModalPreview = false;
  Report->PreviewButtons = TzrPreviewButtons{pbZoom, pbSave, pbPrint, pbFind, pbExit};
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 5);
}

void ZrWindowTest::TearDown() {
  // A preview left open is closed with the report that owns it.
  ZrReportTest::TearDown();
  PumpPending();
}

TzrPreviewForm* ZrWindowTest::OpenPreview() {
  Report->ShowPreview();
  Preview = nullptr;
  for (int i = 0; i < Report->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TzrPreviewForm*>(Report->Components(i))) Preview = p;
  EXPECT_NE(Preview, nullptr);
  if (Preview == nullptr) return nullptr;
  Activate(Preview);
  EXPECT_TRUE(Painted(Preview));
  return Preview;
}
