// Tests of the shared drawing and window routines: masked bitmap drawing read back from the
// destination's pixels, disabled and embossed glyphs, what lies behind a window-less control,
// text shortening on a real canvas, command-line tokens, and the message-queue helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "ExtCtrls.h"
#include "ImageList.h"
#include "OxDrawUtils.h"

namespace {

COLORREF RGBOf(TColor Color) { return ColorToRGB(Color); }

// A bitmap from rows of letters, one letter a pixel: each letter stands for a colour.
std::unique_ptr<TBitmap> Picture(const std::vector<const char*>& Rows) {
  auto colorOf = [](char c) {
    switch (c) {
      case 'R': return clRed;
      case 'B': return clBlue;
      case 'G': return clLime;
      case 'K': return clBlack;
      case 'W': return clWhite;
      case 'Y': return clYellow;
      default: return clFuchsia;
    }
  };
  auto result = std::make_unique<TBitmap>();
  int height = int(Rows.size());
  int width = int(std::strlen(Rows[0]));
  result->SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) result->Canvas()->SetPixels(x, y, colorOf(Rows[y][x]));
  return result;
}

std::unique_ptr<TBitmap> Filled(int Width, int Height, TColor Color) {
  auto result = std::make_unique<TBitmap>();
  result->SetSize(Width, Height);
  result->Canvas()->Brush()->SetColor(Color);
  result->Canvas()->FillRect(Rect(0, 0, Width, Height));
  return result;
}

COLORREF PixelOf(TBitmap* Bitmap, int X, int Y) { return COLORREF(Bitmap->Canvas()->Pixels(X, Y)); }

// --- Masked drawing -------------------------------------------------------------------------

struct MaskedCase {
  const char* Name;
  TColor Transparent;
  // The colour of the source that must leave the destination as it was (clNone: none).
  TColor Kept;
};

TEST(OxMaskedDrawing, TransparentColourLeavesTheDestination) {
  // The bottom-left pixel is red, so clDefault makes red transparent.
  auto source = Picture({"BBG", "BRG", "RGB"});
  const MaskedCase cases[] = {
      {"clNone copies every pixel", clNone, clNone},
      {"clDefault takes the bottom-left pixel", clDefault, clRed},
      {"an explicit colour", clBlue, clBlue},
      {"a system colour is converted", clBtnFace, clNone},
  };
  for (const MaskedCase& c : cases) {
    auto target = Filled(7, 6, clYellow);
    DrawBitmapMasked(target->Canvas(), 2, 1, source.get(), c.Transparent);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 7; ++x) {
        bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
        COLORREF src = inside ? PixelOf(source.get(), x - 2, y - 1) : RGBOf(clYellow);
        COLORREF expected = inside && c.Kept != clNone && src == RGBOf(c.Kept) ? RGBOf(clYellow) : src;
        EXPECT_EQ(PixelOf(target.get(), x, y), expected) << c.Name << " at " << x << "," << y;
      }
    }
  }
}

TEST(OxMaskedDrawing, StretchesAPartOfTheSourceAndRestoresItsCanvas) {
  auto source = Picture({"BBRG", "BRRG"});
  int changes = 0;
  struct Counter : TObject {
    int* Count;
    void Changed(TObject*) { ++*Count; }
  } counter;
  counter.Count = &changes;
  source->OnChange = TNotifyEvent(&counter, &Counter::Changed);
  auto target = Filled(4, 4, clYellow);
  // The 2x2 block at (1, 0) doubled; red is transparent.
  StretchBitmapMasked(target->Canvas(), source.get(), clRed, 0, 0, 4, 4, 1, 0, 2, 2);
  const COLORREF yellow = RGBOf(clYellow), blue = RGBOf(clBlue), green = RGBOf(clLime);
  const COLORREF expected[4][4] = {
      {blue, blue, yellow, yellow}, {blue, blue, yellow, yellow}, {yellow, yellow, yellow, yellow},
      {yellow, yellow, yellow, yellow}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelOf(target.get(), x, y), expected[y][x]) << x << "," << y;
  // A source width below 1 means the whole bitmap; a destination size below 1 its own size.
  auto whole = Filled(6, 3, clYellow);
  StretchBitmapMasked(whole->Canvas(), source.get(), clNone, 1, 1, 0, 0, 0, 0, 0, 5);
  EXPECT_EQ(PixelOf(whole.get(), 1, 1), blue);
  EXPECT_EQ(PixelOf(whole.get(), 4, 2), green);
  EXPECT_EQ(PixelOf(whole.get(), 5, 2), yellow);
  EXPECT_EQ(PixelOf(whole.get(), 1, 0), yellow);
  // Drawing from the bitmap is no change of it; its canvas is unlocked and notifies again.
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(source->Canvas()->LockCount(), 0);
  source->Canvas()->SetPixels(0, 0, clRed);
  EXPECT_GT(changes, 0);
  // An empty bitmap draws nothing.
  TBitmap empty;
  EXPECT_NO_THROW(DrawBitmapMasked(whole->Canvas(), 0, 0, &empty, clDefault));
  EXPECT_EQ(PixelOf(whole.get(), 0, 0), yellow);
}

TEST(OxMaskedDrawing, MonochromeBitmapHasWhiteTransparent) {
  auto source = Picture({"KW", "WK"});
  source->SetMonochrome(true);
  auto target = Filled(2, 2, clYellow);
  // Whatever colour is asked, white is the transparent one.
  DrawBitmapMasked(target->Canvas(), 0, 0, source.get(), clBlack);
  EXPECT_EQ(PixelOf(target.get(), 0, 0), RGBOf(clBlack));
  EXPECT_EQ(PixelOf(target.get(), 1, 0), RGBOf(clYellow));
  EXPECT_EQ(PixelOf(target.get(), 0, 1), RGBOf(clYellow));
  EXPECT_EQ(PixelOf(target.get(), 1, 1), RGBOf(clBlack));
}

// --- Disabled and embossed glyphs -----------------------------------------------------------

// What a disabled glyph shows at (x, y): the shadow where the source had the outline colour, the
// highlight one pixel to the lower right of such a pixel, the background elsewhere.
COLORREF DisabledPixel(const std::vector<const char*>& Rows, char Outline, int X, int Y, bool Highlight,
                       COLORREF Back, COLORREF Light, COLORREF Shadow) {
  if (Rows[Y][X] == Outline) return Shadow;
  if (Highlight && X > 0 && Y > 0 && Rows[Y - 1][X - 1] == Outline) return Light;
  return Back;
}

TEST(OxGlyphs, DisabledGlyphDrawsTheOutlineInShadowWithAHighlight) {
  const std::vector<const char*> rows = {"WWWWW", "WKKWW", "WKRWW", "WWWWW"};
  auto source = Picture(rows);
  for (bool highlight : {true, false}) {
    std::unique_ptr<TBitmap> glyph(MakeDisabledGlyphEx(source.get(), clBlack, clSilver, clYellow, clNavy, highlight));
    ASSERT_EQ(glyph->Width(), 5);
    ASSERT_EQ(glyph->Height(), 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(PixelOf(glyph.get(), x, y),
                  DisabledPixel(rows, 'K', x, y, highlight, RGBOf(clSilver), RGBOf(clYellow), RGBOf(clNavy)))
            << "highlight " << highlight << " at " << x << "," << y;
  }
  // The short form uses the button colours.
  std::unique_ptr<TBitmap> plain(MakeDisabledGlyph(source.get(), clBlack));
  EXPECT_EQ(PixelOf(plain.get(), 1, 1), RGBOf(clBtnShadow));
  EXPECT_EQ(PixelOf(plain.get(), 3, 2), RGBOf(clBtnHighlight));
  EXPECT_EQ(PixelOf(plain.get(), 0, 0), RGBOf(clBtnFace));
}

TEST(OxGlyphs, MonochromeGlyphIsDrawnFromItsBlackPixels) {
  const std::vector<const char*> rows = {"WWWW", "WKWW", "WWKW"};
  auto source = Picture(rows);
  source->SetMonochrome(true);
  std::unique_ptr<TBitmap> glyph(MakeDisabledGlyphEx(source.get(), clRed, clSilver, clYellow, clNavy, true));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(PixelOf(glyph.get(), x, y),
                DisabledPixel(rows, 'K', x, y, true, RGBOf(clSilver), RGBOf(clYellow), RGBOf(clNavy)))
          << x << "," << y;
}

TEST(OxGlyphs, EmbossedGlyphShadowsEveryPixelNotOfTheBackground) {
  // Every pixel other than the background (silver here) is part of the glyph, whatever its colour.
  const std::vector<const char*> rows = {"SSSS", "SRBS", "SSGS", "SSSS"};
  auto source = Picture(rows);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      if (rows[y][x] == 'S') source->Canvas()->SetPixels(x, y, clSilver);
  std::unique_ptr<TBitmap> glyph(MakeEmbossedGlyph(source.get(), clSilver));
  auto drawn = [&](int x, int y) { return x >= 0 && y >= 0 && rows[y][x] != 'S'; };
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      COLORREF expected = drawn(x, y) ? RGBOf(clBtnShadow) : drawn(x - 1, y - 1) ? RGBOf(clBtnHighlight) : RGBOf(clSilver);
      EXPECT_EQ(PixelOf(glyph.get(), x, y), expected) << x << "," << y;
    }
  }
}

TEST(OxGlyphs, DisabledImageOfAnImageList) {
  TImageList list(nullptr, 3, 3);
  auto image = Picture({"FRF", "FRF", "FFB"});  // fuchsia is the list's transparent colour
  list.AddMasked(image.get(), clFuchsia);
  auto target = Filled(6, 6, clWhite);
  DrawImageDisabled(&list, target->Canvas(), 1, 1, 0, clYellow, clNavy, true);
  const std::vector<const char*> rows = {"......", ".FRF..", ".FRF..", ".FFB..", "......", "......"};
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      auto opaque = [&](int px, int py) { return px >= 0 && py >= 0 && (rows[py][px] == 'R' || rows[py][px] == 'B'); };
      COLORREF expected = opaque(x, y) ? RGBOf(clNavy) : opaque(x - 1, y - 1) ? RGBOf(clYellow) : RGBOf(clWhite);
      EXPECT_EQ(PixelOf(target.get(), x, y), expected) << x << "," << y;
    }
  }
}

// --- What lies behind a window-less control ----------------------------------------------------

TEST(OxParentImage, PaintsTheParentAndTheWindowlessSiblingsBelow) {
  TPanel parent(nullptr);
  parent.SetBevelOuter(bvNone);
  parent.SetColor(clYellow);
  parent.SetBounds(0, 0, 100, 60);
  auto* below = new TShape(&parent);
  below->SetParent(&parent);
  below->SetBounds(5, 5, 20, 20);
  below->Brush()->SetColor(clBlue);
  below->Pen()->SetColor(clBlue);
  auto* control = new TPaintBox(&parent);
  control->SetParent(&parent);
  control->SetBounds(10, 10, 30, 20);
  auto* above = new TShape(&parent);
  above->SetParent(&parent);
  above->SetBounds(30, 10, 20, 20);
  above->Brush()->SetColor(clRed);
  above->Pen()->SetColor(clRed);
  auto target = Filled(30, 20, clWhite);
  DrawParentImage(control, target->Canvas());
  // The sibling below covers (5..25, 5..25) of the parent: (0..15, 0..15) of the control.
  EXPECT_EQ(PixelOf(target.get(), 0, 0), RGBOf(clBlue));
  EXPECT_EQ(PixelOf(target.get(), 14, 14), RGBOf(clBlue));
  EXPECT_EQ(PixelOf(target.get(), 15, 15), RGBOf(clYellow));
  EXPECT_EQ(PixelOf(target.get(), 16, 2), RGBOf(clYellow));
  // The sibling above the control is not painted; nothing stays marked.
  EXPECT_EQ(PixelOf(target.get(), 25, 5), RGBOf(clYellow));
  EXPECT_FALSE(parent.ControlState.Contains(csPaintCopy));
  EXPECT_FALSE(below->ControlState.Contains(csPaintCopy));
  // Nothing to paint without a parent.
  TPaintBox orphan(nullptr);
  auto untouched = Filled(4, 4, clWhite);
  DrawParentImage(&orphan, untouched->Canvas());
  DrawParentImage(nullptr, untouched->Canvas());
  EXPECT_EQ(PixelOf(untouched.get(), 1, 1), RGBOf(clWhite));
}

// --- Shortening a text ------------------------------------------------------------------------

TEST(OxShortenText, DropsTwoCharactersThenOneMoreEachStep) {
  auto surface = Filled(10, 10, clWhite);
  TCanvas* canvas = surface->Canvas();
  canvas->Font()->SetName("Arial");
  canvas->Font()->SetHeight(-40);
  // W is wider than "...", so every candidate is narrower than the one before.
  const String text = "WWWWWW";
  ASSERT_LT(canvas->TextWidth("WWWWW..."), canvas->TextWidth(text));
  // The candidates in the order they are tried; each width picks exactly one of them.
  const char* steps[] = {"WWWWWW", "WWWW...", "WWW...", "WW...", "W...", "..."};
  for (const char* step : steps) {
    int width = canvas->TextWidth(step);
    EXPECT_EQ(ShortenText(text, canvas, width), step) << "width " << width;
    EXPECT_EQ(ShortenText(text, canvas, width + 1), step) << "width " << width + 1;
  }
  // Never "WWWWW...": the first shortened form already drops two characters.
  EXPECT_EQ(ShortenText(text, canvas, canvas->TextWidth("WWWWW...")), "WWWW...");
  // Too narrow for anything: "..." alone, even when it does not fit.
  EXPECT_EQ(ShortenText(text, canvas, 0), "...");
  EXPECT_EQ(ShortenText("a", canvas, 0), "...");
  EXPECT_EQ(ShortenText("", canvas, 0), "");
}

// --- Command-line tokens ----------------------------------------------------------------------

struct TokenCase {
  const char* Line;
  std::vector<String> Tokens;
};

TEST(OxCmdTokens, SplitsOnBlanksAndGroupsQuotedRuns) {
  const String longWord(300, 'x');
  const TokenCase cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"prog a b", {"prog", "a", "b"}},
      {"  prog\t\ta  ", {"prog", "a"}},
      {"\"c:\\mes documents\\zones.txt\" -x", {"c:\\mes documents\\zones.txt", "-x"}},
      {"\"\" word", {"word"}},                 // an empty pair of quotes is nothing
      {"a\"b c\"d e", {"ab cd", "e"}},          // a quoted run inside a token
      {"\"unterminated run", {"unterminated run"}},
      {"zone\xE9 \xE0", {"zone\xE9", "\xE0"}},  // bytes above 127 belong to tokens
  };
  for (const TokenCase& c : cases) {
    EXPECT_EQ(CmdTokenCount(c.Line), int(c.Tokens.size())) << c.Line;
    for (size_t i = 0; i < c.Tokens.size(); ++i) EXPECT_EQ(CmdToken(c.Line, int(i)), c.Tokens[i]) << c.Line;
    EXPECT_EQ(CmdToken(c.Line, int(c.Tokens.size())), "") << c.Line;
  }
  // NextCmdToken returns where the next token starts looking.
  String token;
  size_t next = NextCmdToken("ab  cd", 0, token);
  EXPECT_EQ(token, "ab");
  EXPECT_EQ(NextCmdToken("ab  cd", next, token), 6u);
  EXPECT_EQ(token, "cd");
  // A token longer than any fixed buffer comes back whole.
  EXPECT_EQ(CmdToken("p " + longWord + " q", 1), longWord);
  EXPECT_EQ(CmdToken("p " + longWord + " q", 2), "q");
}

TEST(OxCmdTokens, SplitCmdLineRequotesParametersWithBlanks) {
  struct Case {
    const char* Line;
    const char* Program;
    const char* Params;
  } const cases[] = {
      {"velbor.exe \"mes zones.txt\" /import", "velbor.exe", "\"mes zones.txt\" /import"},
      {"\"c:\\program files\\velbor.exe\"", "c:\\program files\\velbor.exe", ""},
      {"prog   a\tb", "prog", "a b"},
      {"", "", ""},
      {"    ", "", ""},
  };
  for (const Case& c : cases) {
    String program = "old", params = "old";
    SplitCmdLine(c.Line, program, params);
    EXPECT_EQ(program, c.Program) << c.Line;
    EXPECT_EQ(params, c.Params) << c.Line;
  }
}

// --- Message queue and windows ----------------------------------------------------------------

// Removes every pending message of kind Msg; returns their parameters in order.
std::vector<WPARAM> Drain(UINT Msg) {
  std::vector<WPARAM> seen;
  MSG m;
  while (PeekMessageA(&m, nullptr, Msg, Msg, PM_REMOVE)) seen.push_back(m.wParam);
  return seen;
}

TEST(OxMessages, DiscardRemovesOneMessageAndKeepsAQuitRequest) {
  const UINT kMsg = WM_APP + 7;
  HWND first = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND second = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(first && second);
  PostMessageA(first, kMsg, 1, 0);
  PostMessageA(second, kMsg, 2, 0);
  PostMessageA(first, kMsg, 3, 0);
  DiscardMessage(first, kMsg);
  // The first message of that window went; the other window's and the later one stay.
  EXPECT_EQ(Drain(kMsg), (std::vector<WPARAM>{2, 3}));
  DiscardMessage(first, kMsg);  // nothing pending: nothing happens
  EXPECT_TRUE(Drain(kMsg).empty());

  PostQuitMessage(42);
  DiscardMessage(nullptr, WM_QUIT);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request was lost";
  EXPECT_EQ(m.wParam, 42u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  DestroyWindow(first);
  DestroyWindow(second);
}

DWORD WINAPI AskFromAnotherThread(LPVOID Result) {
  *static_cast<bool*>(Result) = ActiveWindowInThread();
  return 0;
}

TEST(OxMessages, ActiveWindowInThreadSeesOnlyThisThreadsWindows) {
  HWND window = CreateWindowExA(0, "STATIC", "actif", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  ASSERT_EQ(GetActiveWindow(), window);
  EXPECT_TRUE(ActiveWindowInThread());
  bool other = true;
  HANDLE thread = CreateThread(nullptr, 0, AskFromAnotherThread, &other, 0, nullptr);
  ASSERT_TRUE(thread);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  EXPECT_FALSE(other);
  DestroyWindow(window);
}

}  // namespace
