// This file implements the scene the painter tests look at.
#include "PainterScene.h"

#include "kwBarUtils.h"
#include "StandInTheme.h"

const char* PainterName(TPainterUnderTest Painter) {
  static const char* names[] = {"standard", "enhanced", "flat", "office2003", "xp"};
  return names[Painter];
}

void PainterScene::Build(TPainterUnderTest Painter) {
  this->Painter = Painter;
  if (Painter == putXP) {
    Style = std::make_unique<TFakeVisualStyle>(u"C:\\Themes\\Test.msstyles", u"Normal");
    BindStandInThemeParts();
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
