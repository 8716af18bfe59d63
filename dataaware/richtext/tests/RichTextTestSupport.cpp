// This file implements what the rich-text tests share.
#include "RichTextTestSupport.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FileUtils.h"
#include "SqliteSession.h"

void LoadRich(TqvCustomRichEdit* Edit, const String& Content) {
  TStringStream Stream(Content);
  Edit->Lines()->LoadFromStream(&Stream);
}

String SaveRich(TqvCustomRichEdit* Edit) {
  TStringStream Stream;
  Edit->Lines()->SaveToStream(&Stream);
  return Stream.DataString();
}

void SelectRange(TqvCustomRichEdit* Edit, int Start, int Length) {
  Edit->SetSelStart(Start);
  Edit->SetSelLength(Length);
}

String WindowText(TqvCustomRichEdit* Edit) {
  int Length = Edit->TextLength();
  String Text(std::size_t(Length) + 1, '\0');
  TEXTRANGEA Range{{0, Length}, Text.data()};
  Text.resize(std::size_t(SendMessageA(Edit->Handle(), EM_GETTEXTRANGE, 0, LPARAM(&Range))));
  return Text;
}

void RetypeInto(TWinControl* Edit, const String& Text) {
  ClickControl(Edit);
  EXPECT_TRUE(WaitFor("the edit's focus", [&] { return Edit->Focused(); }));
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
  Press(VK_DELETE);
  if (!Text.empty()) TypeText(Text);
}

namespace {

std::uint32_t Crc32(const std::string& Data) {
  static std::uint32_t Table[256];
  static bool Made = false;
  if (!Made) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      Table[n] = c;
    }
    Made = true;
  }
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : Data) c = Table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void PutBig(std::string& Out, std::uint32_t V) {
  for (int s = 24; s >= 0; s -= 8) Out.push_back(char((V >> s) & 0xFF));
}

void Chunk(std::string& Out, const char* Type, const std::string& Data) {
  PutBig(Out, std::uint32_t(Data.size()));
  std::string Body = std::string(Type, 4) + Data;
  Out += Body;
  PutBig(Out, Crc32(Body));
}

// RGB rows in stored (uncompressed) deflate blocks: nothing to depend on.
std::string EncodePng(int Width, int Height, const std::vector<std::uint32_t>& Bgra) {
  std::string Raw;
  for (int y = 0; y < Height; ++y) {
    Raw.push_back(0);
    for (int x = 0; x < Width; ++x) {
      std::uint32_t c = Bgra[std::size_t(y * Width + x)];
      Raw.push_back(char((c >> 16) & 0xFF));
      Raw.push_back(char((c >> 8) & 0xFF));
      Raw.push_back(char(c & 0xFF));
    }
  }
  std::string Zlib = "\x78\x01";
  std::size_t Pos = 0;
  do {
    std::size_t n = std::min<std::size_t>(65535, Raw.size() - Pos);
    Zlib.push_back(Pos + n >= Raw.size() ? 1 : 0);
    Zlib.push_back(char(n & 0xFF));
    Zlib.push_back(char(n >> 8));
    Zlib.push_back(char(~n & 0xFF));
    Zlib.push_back(char((~n >> 8) & 0xFF));
    Zlib.append(Raw, Pos, n);
    Pos += n;
  } while (Pos < Raw.size());
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : Raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBig(Zlib, (b << 16) | a);
  std::string Png = "\x89PNG\r\n\x1a\n";
  std::string Header;
  PutBig(Header, std::uint32_t(Width));
  PutBig(Header, std::uint32_t(Height));
  Header += std::string("\x08\x02\x00\x00\x00", 5);
  Chunk(Png, "IHDR", Header);
  Chunk(Png, "IDAT", Zlib);
  Chunk(Png, "IEND", std::string());
  return Png;
}

}  // namespace

void SaveScreenshot(HWND Window, const String& Name) {
  RECT r;
  GetWindowRect(Window, &r);
  int w = r.right - r.left;
  int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TWindowDC Screen;
  TOwnedBitmap Bitmap(CreateCompatibleBitmap(Screen, w, h));
  std::vector<std::uint32_t> Bits(std::size_t(w * h));
  {
    TBitmapDC Memory(Bitmap, Screen);
    BitBlt(Memory, 0, 0, w, h, Screen, r.left, r.top, SRCCOPY);
  }
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = w;
  Info.bmiHeader.biHeight = -h;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(Screen, Bitmap, 0, UINT(h), Bits.data(), &Info, DIB_RGB_COLORS);
  String Folder = ExtractFilePath(ParamStr(0)) + "screenshots\\";
  ForceDirectories(Folder);
  std::string Png = EncodePng(w, h, Bits);
  TFileStream File(Folder + Name + ".png", fmCreate);
  File.WriteBuffer(Png.data(), std::int64_t(Png.size()));
}

void RichFormTest::SetUp() {
  Form.reset(CreateForm<TForm>(nullptr));
  Form->SetBounds(60, 60, 480, 340);
  Form->SetCaption("Texte enrichi");
  Edit = new TqvDBRichEdit(Form.get());
  Edit->SetParent(Form.get());
  Edit->SetBounds(10, 10, 440, 260);
}

void RichFormTest::ShowForm() {
  Form->Show();
  Activate(Form.get());
}

void RichFormTest::TearDown() {
  Form.reset();
  PumpPending();
  EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
}

const char* const RichDataTest::Notes = "{\\rtf1\\ansi Zone humide {\\b tourbeuse}\\par}";

void RichDataTest::SetUp() {
  TestFolder::SetUp();
  OpenQueryData(PathOf("richtext.db"),
                {"CREATE TABLE T (ID INTEGER PRIMARY KEY, NOTES MEMO, NOM VARCHAR(40))",
                 std::string("INSERT INTO T VALUES (1, '") + Notes + "', 'Marais')",
                 "INSERT INTO T VALUES (2, 'simple texte', 'Tourbière')"_a,
                 "INSERT INTO T VALUES (3, NULL, 'Lagune')"},
                "SELECT ID, NOTES, NOM FROM T ORDER BY ID");
  Form.reset(CreateForm<TForm>(nullptr));
  Form->SetBounds(80, 80, 460, 320);
  Other = new TTestEdit(Form.get());
  Other->SetParent(Form.get());
  Other->SetBounds(10, 250, 200, 22);
}

void RichDataTest::TearDown() {
  Form.reset();
  CloseQueryData();
  TestFolder::TearDown();
  EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
}

void RichDataTest::ShowForm() {
  Form->Show();
  Activate(Form.get());
}

String RichDataTest::FileValue(const String& Sql) {
  SqliteSession Session(DatabasePath);
  SqliteStatement Statement = Session.Prepare(Sql);
  return Statement.Step() ? Statement.ColumnValue(0).AsString() : String("<none>");
}

void RichDataTest::Enter(TWinControl* Control) {
  ClickControl(Control);
  ASSERT_TRUE(WaitFor("the focus", [&] { return Control->Focused(); }));
}
