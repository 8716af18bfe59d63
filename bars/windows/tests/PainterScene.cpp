// This file implements the scene the painter tests look at.
#include "PainterScene.h"

#include "kwBarUtils.h"
#include "kwThemes.h"

namespace {
// The stand-in style's parts: a solid rectangle of ThemePartColor.
HRESULT WINAPI FakeDrawPart(HTHEME Theme, HDC DC, int Part, int State, const RECT* Rect, const RECT*) {
  for (int kind = 0; kind < tkThemeKindCount; ++kind) {
    if (GetThemeHandleForKind(kind) != Theme) continue;
    TOwnedBrush brush(CreateSolidBrush(ThemePartColor(kind, Part, State)));
    FillRect(DC, Rect, brush);
    return S_OK;
  }
  return E_FAIL;
}

HRESULT WINAPI FakeContentRect(HTHEME, HDC, int, int, const RECT* Bounds, RECT* Content) {
  *Content = *Bounds;
  InflateRect(Content, -2, -2);
  return S_OK;
}

BOOL WINAPI FakePartiallyTransparent(HTHEME, int, int) { return FALSE; }

template <class F>
FARPROC AsProc(F Function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(Function));
}
}  // namespace

const char* PainterName(TPainterUnderTest Painter) {
  static const char* names[] = {"standard", "enhanced", "flat", "office2003", "xp"};
  return names[Painter];
}

COLORREF ThemePartColor(int Kind, int Part, int State) {
  return RGB(40 + Kind * 8, 20 + Part * 12, 30 + State * 40);
}

void PainterScene::Build(TPainterUnderTest Painter) {
  this->Painter = Painter;
  if (Painter == putXP) {
    Style = std::make_unique<TFakeVisualStyle>(u"C:\\Themes\\Test.msstyles", u"Normal");
    TkwThemeBinding& binding = ThemeBinding();
    binding.Entries[teDrawThemeBackground] = AsProc(&FakeDrawPart);
    binding.Entries[teGetThemeBackgroundContentRect] = AsProc(&FakeContentRect);
    binding.Entries[teIsThemeBackgroundPartiallyTransparent] = AsProc(&FakePartiallyTransparent);
  }
  static const TkwBarManagerStyle styles[] = {bmsStandard, bmsEnhanced, bmsFlat, bmsOffice11, bmsXP};
  Manager->SetStyle(styles[Painter]);
  Menu = AddBar("Menu", true);
  File = AddSubItem("&Fichier");
  Edit = AddSubItem("&Edition");
  Link(Menu, File);
  Link(Menu, Edit);
  File->BarSize = 10;
  File->OnPaintBar = TEvent<void(TObject*, TCanvas*, const TRect&)>(this, &PainterScene::PaintStrip);
  Open = Link(File->ItemLinks(), AddButton("&Ouvrir"));
  Save = Link(File->ItemLinks(), AddButton("&Enregistrer"));
  Save->Item()->SetEnabled(false);
  Quit = Link(File->ItemLinks(), AddButton("&Quitter"), true);
  Link(Edit->ItemLinks(), AddButton("&Copier"));

  Tools = AddBar("Outils", false);
  Tools->SetWholeRow(true);
  Tools->SetDockedTop(40);
  Plain = Link(Tools, AddButton("Un"));
  Disabled = Link(Tools, AddButton("Deux"));
  Disabled->Item()->SetEnabled(false);
  Checked = Link(Tools, AddButton("Trois", bsChecked), true);
  static_cast<TkwBarButton*>(Checked->Item())->SetDown(true);
  TkwBarButton* dropDown = AddButton("Quatre", bsDropDown);
  Link(dropDown->DropDownLinks(), AddButton("Cinq"));
  DropDown = Link(Tools, dropDown);
  Menu->SetVisible(true);
  Tools->SetVisible(true);
  ShowForm();
  MoveAway();
}

void PainterScene::TearDown() {
  BarWindowsTest::TearDown();
  Style.reset();
}

void PainterScene::PaintStrip(TObject*, TCanvas* Canvas, const TRect& R) {
  Canvas->Brush()->SetColor(TColor(StripColor));
  Canvas->FillRect(R);
}

void PainterScene::MoveAway() {
  MoveMouseTo(TPoint(Form->Left() + 300, Form->Top() + Form->Height() - 20));
  ASSERT_TRUE(Painted(WindowOf(Menu)));
}

void PainterScene::Hover(TkwBarItemLink* Link) {
  auto* window = dynamic_cast<TCustomkwBarControl*>(Link->GetBarControl());
  ASSERT_NE(window, nullptr);
  MoveMouseTo(CentreOf(Link));
  ASSERT_TRUE(WaitFor("the link selected", [&] { return window->SelectedControl() == Link->Control(); }));
  ASSERT_TRUE(Painted(window));
}

TkwBarSubMenuControl* PainterScene::OpenFileMenu() {
  ClickAt(CentreOf(Menu->ItemLinks()->Items(0)));
  if (!WaitFor("the menu open", [&] { return MenuOf(File) && IsWindowVisible(MenuOf(File)->Handle()); }))
    return nullptr;
  if (!Painted(MenuOf(File))) return nullptr;
  return MenuOf(File);
}
