// Tests of the image combo in a tool bar on screen: each entry's picture drawn before its text in
// the bar and in the drop-down list (none for an entry added without one), an entry chosen with
// the keys, the "Select item" dialog, and the pictures' indexes written to a form description and
// read back.
#include <algorithm>
#include <functional>
#include <utility>

#include "Filer.h"
#include "ImageList.h"
#include "ItemsTestSupport.h"
#include "ListControls.h"
#include "kwBarImageCombo.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Text with each run of blanks and line ends made one space.
String Words(const String& Text) {
  String out;
  bool blank = false;
  for (char c : Text) {
    if (c == ' ' || c == '\r' || c == '\n') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

class ImageCombos : public BarItemsTest {
 public:
  void SetUp() override {
    BarItemsTest::SetUp();
    Images = new TImageList(Form.get());
    Images->SetName("ilCouleurs");
    Images->SetWidth(16);
    Images->SetHeight(16);
    for (TColor colour : {clRed, clBlue}) {
      TBitmap glyph;
      MakeGlyph(&glyph, 16, colour, 2);
      Images->AddMasked(&glyph, clFuchsia);
    }
    Bar = AddBar("Couleurs", false);
    Combo = AddItem<TkwBarImageCombo>("Couleur");
    Combo->SetWidth(160);
    Combo->SetImages(Images);
    Combo->OnChange = Counting();
    Combo->Items()->Add("Rouge");
    Combo->Items()->Add("Bleu");
    Combo->Items()->Add("Sans");
    Combo->SetEntryImageIndex(0, 0);
    Combo->SetEntryImageIndex(1, 1);
    Link(Bar, Combo);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  TkwBarImageComboControl* Control() const {
    return dynamic_cast<TkwBarImageComboControl*>(Combo->GetLink(0)->Control());
  }
  TkwBarDropDownListBox* List() const { return Combo->DropDownList(); }
  bool ListShown() const { return List()->HandleAllocated() && IsWindowVisible(List()->Handle()); }
  TImageList* Images = nullptr;
  TkwBar* Bar = nullptr;
  TkwBarImageCombo* Combo = nullptr;
};

TEST_F(ImageCombos, AnEntryAddedWithoutPictureHasNone) {
  EXPECT_EQ(Combo->GetEntryImageIndex(0), 0);
  EXPECT_EQ(Combo->GetEntryImageIndex(1), 1);
  EXPECT_EQ(Combo->GetEntryImageIndex(2), -1);
  Combo->Items()->Add("Autre");
  EXPECT_EQ(Combo->GetEntryImageIndex(3), -1);
  Combo->SetEntryImageIndex(3, 1);
  EXPECT_EQ(Combo->GetEntryImageIndex(3), 1);
}

// The bar shows the chosen entry's picture; an entry without picture (or a picture outside the
// list) shows none; the control is high enough for a picture.
TEST_F(ImageCombos, TheChosenEntrysPictureShowsInTheBar) {
  TRect r = ScreenRectOf(Combo->GetLink(0));
  EXPECT_GE(r.Height(), 16 + 6);
  struct Case {
    int Index;
    bool Red, Blue;
  };
  for (const Case& c : {Case{0, true, false}, Case{1, false, true}, Case{2, false, false}, Case{-1, false, false}}) {
    SCOPED_TRACE(c.Index);
    Combo->SetItemIndex(c.Index);
    ASSERT_TRUE(Painted());
    EXPECT_EQ(ScreenRectHas(r, kRed), c.Red);
    EXPECT_EQ(ScreenRectHas(r, kBlue), c.Blue);
  }
  Combo->SetItemIndex(1);
  Combo->SetEntryImageIndex(1, 7);
  ASSERT_TRUE(Painted());
  EXPECT_FALSE(ScreenRectHas(r, kBlue)) << "a picture outside the list draws nothing";
  Combo->SetEntryImageIndex(1, 0);
  ASSERT_TRUE(Painted());
  EXPECT_TRUE(ScreenRectHas(r, kRed)) << "the chosen entry's new picture shows at once";
  SaveScreenArea(r, "image-combo");
}

// The columns of a screen rectangle holding a colour: the first and the one past the last (both
// Rect.Left when none).
std::pair<int, int> ColumnsOf(const TRect& Rect, COLORREF Color) {
  int first = Rect.Right, last = Rect.Left - 1;
  for (int x = Rect.Left; x < Rect.Right; ++x)
    if (ScreenRectHas(TRect(x, Rect.Top, x + 1, Rect.Bottom), Color)) {
      first = std::min(first, x);
      last = x;
    }
  return first > last ? std::pair{Rect.Left, Rect.Left} : std::pair{first, last + 1};
}

// Without its text the chosen entry's picture stands alone, centred in the value part; with it,
// the picture starts at the left and the text follows.
TEST_F(ImageCombos, WithoutTextThePictureIsCentredAndNoTextIsDrawn) {
  Combo->SetItemIndex(0);
  ASSERT_TRUE(Painted());
  TRect r = ScreenRectOf(Combo->GetLink(0));
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  auto [left, right] = ColumnsOf(r, kRed);
  ASSERT_LT(left, right) << "the picture shows";
  // The text's place: past the picture, before the drop-down button.
  auto [textLeft, textRight] = ColumnsOf(TRect(right, r.Top + 3, right + 60, r.Bottom - 3), text);
  EXPECT_LT(textLeft, textRight) << "the text follows the picture";
  int besidePicture = left - r.Left;

  Combo->SetShowText(false);
  ASSERT_TRUE(Painted());
  auto [alone, aloneRight] = ColumnsOf(r, kRed);
  ASSERT_LT(alone, aloneRight);
  EXPECT_EQ(aloneRight - alone, right - left) << "the whole picture";
  EXPECT_GT(alone - r.Left, besidePicture + 40) << "moved from the left towards the middle";
  ASSERT_GT(alone, textRight) << "the picture now stands past where the text was";
  auto [noLeft, noRight] = ColumnsOf(TRect(r.Left + 3, r.Top + 3, alone, r.Bottom - 3), text);
  EXPECT_EQ(noLeft, noRight) << "no text drawn left of the picture";
  SaveScreenArea(r, "image-combo-no-text");
}

// The drop-down list draws every entry's picture; Down and Enter choose the next entry, once.
TEST_F(ImageCombos, TheDropDownListShowsThePicturesAndTheKeysChoose) {
  Combo->SetItemIndex(0);
  Clicks.clear();
  ClickAt(CentreOf(Combo->GetLink(0)));
  ASSERT_TRUE(WaitFor("the editor open", [&] { return Control() && Control()->IsEditing(); }));
  if (!Control()->IsDroppedDown()) PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(WaitFor("the list shown",
                      [&] { return ListShown() && !GetUpdateRect(List()->Handle(), nullptr, FALSE); }));
  RECT w;
  GetWindowRect(List()->Handle(), &w);
  TRect list(w.left, w.top, w.right, w.bottom);
  TRect link = ScreenRectOf(Combo->GetLink(0));
  SaveScreenArea(TRect(link.Left - 4, link.Top - 4, std::max(link.Right, list.Right) + 4, list.Bottom + 4),
                 "image-combo-list");
  EXPECT_TRUE(ScreenRectHas(list, kRed));
  EXPECT_TRUE(ScreenRectHas(list, kBlue));
  Press(VK_DOWN);
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the combo closed", [&] { return !Control()->IsEditing() && !ListShown(); }));
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_EQ(Combo->Text(), "Bleu");
  EXPECT_EQ(Clicks[Combo], 1);
}

// A click on the item opens the "Select item" dialog: a list of the entries on the chosen one; OK
// takes the list's entry, Cancel nothing.
TEST_F(ImageCombos, TheSelectItemDialog) {
  Combo->SetItemIndex(1);
  Clicks.clear();
  struct Seen {
    String Caption;
    int Count = 0, Index = -2;
  } seen;
  // The dialog is waited for: the answer is given once it is on screen with its list.
  std::function<void()> Answer = [&] {
    TForm* form = Combo->SelectDialog();
    TListBox* list = Combo->DialogList();
    if (!form || !list || !form->Visible()) {
      Later(Answer, 20);
      return;
    }
    seen.Caption = form->Caption();
    seen.Count = list->Items()->Count();
    seen.Index = list->ItemIndex();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT w;
    GetWindowRect(form->Handle(), &w);
    SaveScreenArea(TRect(w.left, w.top, w.right, w.bottom), "image-combo-dialog");
    list->SetItemIndex(2);
    form->SetModalResult(mrOk);
  };
  Later(Answer);
  Combo->Click();
  EXPECT_EQ(seen.Caption, "Select item");
  EXPECT_EQ(seen.Count, 3);
  EXPECT_EQ(seen.Index, 1);
  EXPECT_EQ(Combo->ItemIndex(), 2);
  EXPECT_EQ(Combo->Text(), "Sans");
  EXPECT_EQ(Clicks[Combo], 1);
  EXPECT_EQ(Combo->SelectDialog(), nullptr) << "the dialog is freed";

  std::function<void()> Cancel = [&] {
    TForm* form = Combo->SelectDialog();
    TListBox* list = Combo->DialogList();
    if (!form || !list || !form->Visible()) {
      Later(Cancel, 20);
      return;
    }
    list->SetItemIndex(0);
    form->SetModalResult(mrCancel);
  };
  Later(Cancel);
  Combo->Click();
  EXPECT_EQ(Combo->ItemIndex(), 2);
  EXPECT_EQ(Clicks[Combo], 1);
}

// The pictures' indexes are written with the entries; read back with fewer values than entries,
// the remaining entries have none.
TEST_F(ImageCombos, ThePicturesIndexesAreWrittenAndReadBack) {
  RegisterBarManagerClasses();
  RegisterClass(TImageList::StaticClass());
  Form->SetName("frmCouleurs");
  Manager->SetName("kwBarManager1");
  Combo->SetName("icCouleur");
  Combo->SetEntryImageIndex(2, 1);
  String text = WriteComponentToText(Form.get());
  ASSERT_NE(text.find("ImageIndexes"), String::npos) << text;
  String part = text.substr(text.find("ImageIndexes"));
  EXPECT_EQ(Words(part.substr(0, part.find(')') + 1)), "ImageIndexes = ( 0 1 1)") << part;

  TFormPtr<TForm> copy(CreateForm<TForm>(nullptr));
  ASSERT_NO_THROW(ReadComponentFromText(copy.get(), text, "frmCouleurs")) << text;
  auto* combo = dynamic_cast<TkwBarImageCombo*>(copy->FindComponent("icCouleur"));
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->Items()->Count(), 3);
  EXPECT_EQ(combo->Images(), copy->FindComponent("ilCouleurs"));
  EXPECT_EQ(combo->GetEntryImageIndex(0), 0);
  EXPECT_EQ(combo->GetEntryImageIndex(1), 1);
  EXPECT_EQ(combo->GetEntryImageIndex(2), 1);

  // The same description with two values only.
  String shorter = text;
  std::size_t at = shorter.find("ImageIndexes");
  std::size_t end = shorter.find(')', at);
  shorter.replace(at, end + 1 - at, "ImageIndexes = (\n      1\n      0)");
  TFormPtr<TForm> second(CreateForm<TForm>(nullptr));
  ASSERT_NO_THROW(ReadComponentFromText(second.get(), shorter, "frmCouleurs")) << shorter;
  combo = dynamic_cast<TkwBarImageCombo*>(second->FindComponent("icCouleur"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetEntryImageIndex(0), 1);
  EXPECT_EQ(combo->GetEntryImageIndex(1), 0);
  EXPECT_EQ(combo->GetEntryImageIndex(2), -1);
}

}  // namespace
