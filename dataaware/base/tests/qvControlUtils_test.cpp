// Tests of the control services on never-shown windows: class tests by name, owners and design
// state, visual styles asked by name, controllers, the edit control of a field, keys, the picture
// mask of a typed character, and the drawing of cell texts and ellipsis buttons compared with what
// the same calls draw.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "Forms.h"
#include "Grids.h"
#include "Qvintl.h"
#include "StdCtrls.h"
#include "qvControlUtils.h"
#include "qvDBNavigator.h"
#include "qvTestDataSet.h"
#include "qvThemes.h"

namespace {

class TBareForm : public TForm {
 public:
  TBareForm() : TForm(nullptr, true) {}
};
struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};
using TFormPtr = std::unique_ptr<TBareForm, TFormFree>;

bool ThemesOn() { return true; }
bool ThemesOff() { return false; }

class ControlServices : public ::testing::Test {
 protected:
  void SetUp() override { Form.reset(new TBareForm); }
  void TearDown() override {
    Form.reset();
    qvThemesActive = Saved;
  }
  template <class T>
  T* Add(TWinControl* Parent = nullptr) {
    T* Control = new T(Form.get());
    Control->SetParent(Parent ? Parent : Form.get());
    return Control;
  }
  bool (*Saved)() = qvThemesActive;
  TFormPtr Form;
};

TEST_F(ControlServices, ClassesOwnersAndDesignState) {
  auto* Nav = Add<TqvDBNavigator>();
  EXPECT_TRUE(qvClassInheritsFrom(Nav->ClassType(), "tcustompanel"));
  EXPECT_TRUE(qvClassInheritsFrom(Nav->ClassType(), "TqvDBNavigator"));
  EXPECT_FALSE(qvClassInheritsFrom(Nav->ClassType(), "TCustomGrid"));
  auto* Grid = Add<TStringGrid>();
  auto* InGrid = Add<TEdit>(Grid);
  EXPECT_TRUE(qvIsInGrid(InGrid));
  EXPECT_FALSE(qvIsInGrid(Nav));
  EXPECT_FALSE(qvIsGridPaintCopy(InGrid));
  InGrid->ControlState.Include(csPaintCopy);
  EXPECT_TRUE(qvIsGridPaintCopy(InGrid));
  EXPECT_FALSE(qvIsInspectorPaintCopy(InGrid));
  // The owning form, through owners that are not forms.
  auto* Dialog = new TqvController(Nav);
  EXPECT_EQ(qvGetOwnerForm(Dialog), Form.get());
  EXPECT_EQ(qvGetOwnerForm(Form.get()), Form.get());
  TqvController Alone(nullptr);
  EXPECT_EQ(qvGetDialogOwnerForm(&Alone), nullptr);
  // The form's design state decides for its controls.
  EXPECT_FALSE(qvIsDesigning(Nav));
  Form->SetDesigning(true, false);
  EXPECT_TRUE(qvIsDesigning(Nav));
  Form->SetDesigning(false, false);
}

TEST_F(ControlServices, ThemesAskTheControlThenItsParentByName) {
  auto* Nav = Add<TqvDBNavigator>();
  auto* Button = Nav->Buttons()->AddButton(nbsFirst);
  auto* Edit = Add<TEdit>();
  qvThemesActive = &ThemesOn;
  EXPECT_TRUE(qvThemesEnabledFor(nullptr));
  EXPECT_TRUE(qvThemesEnabledFor(Edit));
  EXPECT_TRUE(qvThemesEnabledFor(Button));
  // The button publishes no "DisableThemes": its navigator's decides.
  Nav->DisableThemes = true;
  EXPECT_FALSE(qvThemesEnabledFor(Button));
  EXPECT_FALSE(qvThemesEnabledFor(Nav));
  // A control that publishes it decides for itself.
  auto* Inner = new TqvDBNavigator(Form.get());
  Inner->SetParent(Form.get());
  EXPECT_TRUE(qvThemesEnabledFor(Inner));
  qvThemesActive = &ThemesOff;
  EXPECT_FALSE(qvThemesEnabledFor(Inner));
  EXPECT_FALSE(qvThemesEnabledFor(nullptr));
}

TEST_F(ControlServices, AControlBelongsToOneControllerAtATime) {
  auto* First = new TqvController(Form.get());
  auto* Second = new TqvController(Form.get());
  auto* Edit = Add<TEdit>();
  TqvController* Reference = nullptr;
  qvSetController(Reference, First, Edit);
  EXPECT_EQ(Reference, First);
  EXPECT_EQ(First->ControlList()->IndexOf(Edit), 0);
  qvSetController(Reference, Second, Edit);
  EXPECT_EQ(First->ControlList()->Count(), 0);
  EXPECT_EQ(Second->ControlList()->IndexOf(Edit), 0);
  qvSetController(Reference, nullptr, Edit);
  EXPECT_EQ(Reference, nullptr);
  EXPECT_EQ(Second->ControlList()->Count(), 0);
  // A control freed leaves its controller's list.
  qvSetController(Reference, First, Edit);
  delete Edit;
  EXPECT_EQ(First->ControlList()->Count(), 0);
}

TEST_F(ControlServices, TheEditControlOfAFieldComesFromItsControlTypeLine) {
  TSettingsDataSet Set({{"NOM", ftString, 20}, {"NOTE", ftMemo}, {"CODE", ftInteger}});
  Set.Open();
  auto* Edit = Add<TEdit>();
  Edit->SetName("edNom");
  auto* Label = new TLabel(Form.get());
  Label->SetName("lbCode");
  Set.ControlType()->Add("NOM;Check;edNom");
  Set.ControlType()->Add("nom;customedit;edNom");
  Set.ControlType()->Add("NOTE;RichEdit;edAbsent");
  Set.ControlType()->Add("CODE;Combo;lbCode");
  TWinControl* Found = nullptr;
  // The dialog has no "ControlInfoInDataSet": the dataset's lines serve; the first edit kind wins.
  TqvController Dialog(nullptr);
  EXPECT_TRUE(qvFindFieldEditControl(&Dialog, Form.get(), Set.FieldByName("NOM"), Found));
  EXPECT_EQ(Found, Edit);
  EXPECT_FALSE(qvFindFieldEditControl(&Dialog, Form.get(), Set.FieldByName("NOTE"), Found));
  // Not a windowed control: no.
  EXPECT_FALSE(qvFindFieldEditControl(&Dialog, Form.get(), Set.FieldByName("CODE"), Found));
  EXPECT_EQ(Found, nullptr);
  for (const char* Kind : {"CustomEdit", "lookupcombo", "Combo", "RICHEDIT"}) EXPECT_TRUE(qvIsEditControlKind(Kind));
  EXPECT_FALSE(qvIsEditControlKind("Check"));
}

TEST(ControlKeys, EditKeysAndScaling) {
  struct TKeyCase {
    WORD Key;
    bool Edit;
  };
  const TKeyCase Cases[] = {{VK_BACK, true},  {VK_SPACE, true}, {VK_DELETE, true}, {'0', true},  {'Z', true},
                            {VK_NUMPAD5, true}, {111, true},    {VK_F1, false},    {VK_TAB, false}, {VK_LEFT, false},
                            {145, false},      {146, true},     {0xBA, true}};
  for (const TKeyCase& Case : Cases) EXPECT_EQ(qvIsEditKey(Case.Key), Case.Edit) << Case.Key;
  EXPECT_EQ(qvScaleByPixelsPerInch(77, 120), 96);
  EXPECT_EQ(qvScaleByPixelsPerInch(77, 96), 77);
  EXPECT_EQ(qvClamp(-3, 0, 10), 0);
  EXPECT_EQ(qvClamp(12, 0, 10), 10);
  EXPECT_EQ(qvClamp(4, 0, 10), 4);
}

// An edit that notes the keys pressed in it and whether it read Alt with them.
class TKeyNotingEdit : public TEdit {
 public:
  using TEdit::TEdit;
  std::vector<std::pair<WORD, bool>> Downs;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override {
    Downs.emplace_back(Key, Shift.Contains(ssAlt));
    TEdit::KeyDown(Key, Shift);
  }
};

TEST_F(ControlServices, APostedKeyCarriesItsModifierAndTheKeyboardIsGivenBack) {
  struct TPostCase {
    WORD Modifier;
    UINT Down, Up;
    LPARAM DownData, UpData;
    bool AltRead;
  };
  // Alt travels in the key data of system key messages, as Windows sends it; Ctrl and Shift in the
  // plain key messages.
  const TPostCase Cases[] = {
      {VK_CONTROL, WM_KEYDOWN, WM_KEYUP, 1, LPARAM(0xC0000001u), false},
      {VK_SHIFT, WM_KEYDOWN, WM_KEYUP, 1, LPARAM(0xC0000001u), false},
      {VK_MENU, WM_SYSKEYDOWN, WM_SYSKEYUP, LPARAM(0x20000001), LPARAM(0xE0000001u), true},
  };
  for (const TPostCase& Case : Cases) {
    SCOPED_TRACE(Case.Modifier);
    auto* Edit = Add<TKeyNotingEdit>();
    HWND Window = Edit->Handle();
    BYTE Before[256];
    GetKeyboardState(Before);
    qvPostKeyWithModifier(Window, 'C', Case.Modifier);
    BYTE After[256];
    GetKeyboardState(After);
    EXPECT_EQ(std::memcmp(Before, After, sizeof Before), 0);
    MSG Message;
    ASSERT_TRUE(PeekMessageA(&Message, Window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(Message.message, Case.Down);
    EXPECT_EQ(Message.wParam, WPARAM('C'));
    EXPECT_EQ(Message.lParam, Case.DownData);
    DispatchMessageA(&Message);
    ASSERT_TRUE(PeekMessageA(&Message, Window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(Message.message, Case.Up);
    EXPECT_EQ(Message.wParam, WPARAM('C'));
    EXPECT_EQ(Message.lParam, Case.UpData);
    DispatchMessageA(&Message);
    // The control took the press, and read Alt only when it was posted with it.
    ASSERT_EQ(Edit->Downs.size(), 1u);
    EXPECT_EQ(Edit->Downs[0].first, WORD('C'));
    EXPECT_EQ(Edit->Downs[0].second, Case.AltRead);
    delete Edit;
  }
}

struct TTypingCase {
  const char* Text;
  int SelStart;
  int SelLength;
  char Key;
  bool Handled;
  const char* After;
  int Caret;
};

TEST_F(ControlServices, ATypedCharacterFollowsThePictureMask) {
  const TTypingCase Cases[] = {
      // At the end: the separator that must follow is filled in, the caret after it.
      {"1", 1, 0, '2', true, "12/", 3},
      {"12/0", 4, 0, '3', true, "12/03/", 6},
      {"12/03/200", 9, 0, '1', true, "12/03/2001", 10},
      // The whole text selected: replaced, the caret at the end.
      {"12/03", 0, 5, '0', true, "0", 1},
      // A letter cannot match: consumed, nothing changed.
      {"12", 2, 0, 'x', true, "12", 2},
      // Inside the text: the edit inserts it itself.
      {"12/03", 1, 0, '5', false, "12/03", 1},
      // Control characters are the edit's.
      {"12", 2, 0, '\b', false, "12", 2},
  };
  auto* Edit = Add<TEdit>();
  Edit->HandleNeeded();
  for (const TTypingCase& Case : Cases) {
    SCOPED_TRACE(String(Case.Text) + " + " + Case.Key);
    Edit->SetText(Case.Text);
    Edit->SetSelStart(Case.SelStart);
    Edit->SetSelLength(Case.SelLength);
    char Key = Case.Key;
    EXPECT_EQ(qvPictureMaskKeyPress(Edit, "##/##/####", true, Key), Case.Handled);
    EXPECT_EQ(Key, Case.Handled ? 0 : Case.Key);
    EXPECT_EQ(Edit->Text(), Case.After);
    EXPECT_EQ(Edit->SelStart(), Case.Caret);
  }
}

// A 24-bit bitmap of a size, filled white.
std::unique_ptr<TBitmap> Blank(int Width, int Height) {
  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetSize(Width, Height);
  Bitmap->Canvas()->Brush()->SetColor(clWhite);
  Bitmap->Canvas()->FillRect(Rect(0, 0, Width, Height));
  return Bitmap;
}

bool SamePixels(TBitmap& A, TBitmap& B) {
  for (int Y = 0; Y < A.Height(); ++Y)
    for (int X = 0; X < A.Width(); ++X)
      if (A.Canvas()->Pixels(X, Y) != B.Canvas()->Pixels(X, Y)) return false;
  return true;
}

TEST(CellText, AnEllipsisNeverWrapsAndAOneLineCellNeither) {
  const String Text = "Prairie humide de fauche en bord de rivière"_a;
  struct TCellCase {
    int Flags;
    int Height;
    UINT Format;  // what DrawText is expected to receive
  };
  const TCellCase Cases[] = {
      {qvCellWordWrap, 60, DT_EXPANDTABS | DT_NOPREFIX | DT_WORDBREAK},
      {qvCellWordWrap | qvCellEndEllipsis, 60, DT_EXPANDTABS | DT_NOPREFIX | DT_END_ELLIPSIS},
      {qvCellWordWrap, 16, DT_EXPANDTABS | DT_NOPREFIX},
      {qvCellShowPrefix | qvCellCentreVertical, 40, DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE},
  };
  for (const TCellCase& Case : Cases) {
    SCOPED_TRACE(Case.Flags);
    auto Drawn = Blank(100, Case.Height);
    Drawn->Canvas()->Brush()->SetColor(clYellow);
    qvDrawCellText(Drawn->Canvas(), Rect(0, 0, 100, Case.Height), 2, 2, Text, taLeftJustify, Case.Flags);
    auto Expected = Blank(100, Case.Height);
    TCanvas* C = Expected->Canvas();
    C->Brush()->SetColor(clYellow);
    C->FillRect(Rect(0, 0, 100, Case.Height));
    HDC DC = C->Handle();
    TSelectedObject Font(DC, C->Font()->Handle());
    SetBkMode(DC, TRANSPARENT);
    RECT R{2, 2, 100, Case.Height - 1};
    DrawTextA(DC, Text.c_str(), int(Text.size()), &R, Case.Format);
    EXPECT_TRUE(SamePixels(*Drawn, *Expected));
  }
  // Flag 16: the cell is not filled.
  auto Kept = Blank(100, 20);
  qvDrawCellText(Kept->Canvas(), Rect(0, 0, 100, 20), 2, 2, "", taLeftJustify, qvCellNoFill);
  EXPECT_EQ(Kept->Canvas()->Pixels(50, 10), clWhite);
}

TEST(EllipsisButton, ThreeDotsAtTheMiddleLowerWhenPressed) {
  for (bool Pressed : {false, true}) {
    SCOPED_TRACE(Pressed);
    auto Bitmap = Blank(17, 21);
    qvDrawEllipsisButton(Bitmap->Canvas(), Rect(0, 0, 17, 21), Pressed ? bsDown : bsUp, {}, false, true);
    // d = 11 (10 when up), w = 2, e = 8 (7 when up): dots at e - 4, e and e + 4.
    int D = Pressed ? 11 : 10, E = Pressed ? 8 : 7;
    int Black = 0;
    for (int Y = 0; Y < 21; ++Y)
      for (int X = 0; X < 17; ++X)
        if (Bitmap->Canvas()->Pixels(X, Y) == clBlack) ++Black;
    EXPECT_EQ(Black, 12);
    for (int X : {E - 4, E, E + 4}) {
      EXPECT_EQ(Bitmap->Canvas()->Pixels(X, D), clBlack);
      EXPECT_EQ(Bitmap->Canvas()->Pixels(X + 1, D + 1), clBlack);
    }
  }
}

}  // namespace
