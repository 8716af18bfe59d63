// Tests of the layout storage: a layout written to the registry and to an ini file in their
// formats and read back; saving again keeps only the current bars and nothing but the manager's
// keys goes; bars made at run time come back; a damaged or foreign layout leaves the design in
// place; a manager read from a description reads its layout and writes it when its form goes.
#include "BarTestSupport.h"
#include "FileUtils.h"
#include "OsPort.h"
#include "Filer.h"
#include "IniFiles.h"
#include "Registry.h"
#include "StrUtils.h"
#include "kwBarUtils.h"

namespace {

const char* const kRoot = "\\Software\\VelborTests";
const char* const kPath = "Software\\VelborTests\\BarLayout";
const char* const kKey = "\\Software\\VelborTests\\BarLayout";

String TempIni(const char* Name) { return OsPort::TempFolder() + Name; }

// What a layout holds of a manager, as text to compare.
String Snapshot(TkwBarManager* Manager) {
  String s = "LargeIcons=" + IntToStr(Manager->LargeIcons()) + " MenuAnimations=" + IntToStr(Manager->MenuAnimations()) +
             " ShowHint=" + IntToStr(Manager->ShowHint()) + "\n";
  auto links = [&](TkwBarItemLinks* Links) {
    for (int j = 0; j < Links->Count(); ++j) {
      TkwBarItemLink* link = Links->Items(j);
      s += "  " + (link->Item() ? link->Item()->Name() : String("-")) + " group=" + IntToStr(link->BeginGroup()) +
           " visible=" + IntToStr(link->Visible()) + " caption=" + link->GetCaption() +
           " paint=" + IntToStr(link->GetPaintStyle()) + " glyph=" + IntToStr(link->UserDefine().Contains(udGlyph)) +
           "\n";
    }
  };
  for (int i = 0; i < Manager->Bars()->Count(); ++i) {
    TkwBar* bar = Manager->Bars()->Items(i);
    s += bar->Caption() + " style=" + IntToStr(bar->DockingStyle()) + " docked=" + IntToStr(bar->DockedDockingStyle()) +
         " row=" + IntToStr(bar->Row()) + " oneOnRow=" + IntToStr(bar->OneOnRow) + " float=" + IntToStr(bar->FloatLeft()) +
         "," + IntToStr(bar->FloatTop()) + "," + IntToStr(bar->FloatClientWidth()) + "," +
         IntToStr(bar->FloatClientHeight()) + " visible=" + IntToStr(bar->Visible()) + "\n";
    links(bar->ItemLinks());
  }
  for (int i = 0; i < Manager->GetItemCount(); ++i)
    if (TkwBarItemLinks* sub = Manager->GetItem(i)->GetSubItemLinks()) {
      s += Manager->GetItem(i)->Name() + ":\n";
      links(sub);
    }
  return s;
}

class Layout : public BarFormTest {
 protected:
  void SetUp() override {
    BarFormTest::SetUp();
    TRegistry().DeleteKey(kRoot);
    Form->SetName("frmLayout");
    Manager->SetName("kwBarManager1");
    for (const char* name : {"btnOuvrir", "btnEnregistrer", "btnImprimer", "btnCopier", "btnColler"}) {
      TTestBarButton* item = AddButton(String("&") + (name + 3));
      item->SetName(name);
    }
    Edition = new TTestSubItem(Form.get());
    Edition->SetName("mnuEdition");
    Edition->SetCaption("&Edition");
    Edition->SetCategory(0);
    Edition->ItemLinks()->Add()->SetItem(Item("btnCopier"));
    Edition->ItemLinks()->Add()->SetItem(Item("btnColler"));
    Standard = AddBar("Standard", false);
    Link(Standard, Item("btnOuvrir"));
    Link(Standard, Item("btnEnregistrer"), true);
    Link(Standard, Item("btnImprimer"))->SetVisible(false);
    Link(Standard, Edition);
    Standard->SetRow(1);
    Standard->SetVisible(true);
    Tools = AddBar("Outils", false);
    Tools->SetDockingStyle(dsNone);
    Tools->SetFloatLeft(520);
    Tools->SetFloatTop(300);
    Tools->SetFloatClientWidth(140);
    Tools->SetFloatClientHeight(26);
    Link(Tools, Item("btnCopier"))->SetUserCaption("Copie");
    Link(Tools, Item("btnColler"))->SetUserPaintStyle(psCaptionGlyph);
    Tools->SetVisible(true);
    ShowForm();
  }
  void TearDown() override {
    BarFormTest::TearDown();
    TRegistry().DeleteKey(kRoot);
    OsPort::DeleteFile(TempIni("velbor-bars-layout.ini"));
  }
  TkwBarItem* Item(const char* Name) { return Manager->FindItemByName(Name); }
  // Everything a layout holds changed.
  void ChangeEverything() {
    Manager->SetLargeIcons(true);
    Manager->SetMenuAnimations(maFade);
    Manager->SetShowHint(false);
    delete Standard->ItemLinks()->Items(0);
    Standard->ItemLinks()->Items(0)->SetBeginGroup(false);
    Standard->SetRow(3);
    Standard->OneOnRow = true;
    Standard->SetDockingStyle(dsBottom);
    Tools->ItemLinks()->Items(0)->SetUserDefine({});
    Tools->SetVisible(false);
    Tools->SetFloatLeft(40);
    Edition->ItemLinks()->Clear();
  }
  TkwBar* Standard = nullptr;
  TkwBar* Tools = nullptr;
  TTestSubItem* Edition = nullptr;
};

TEST_F(Layout, IsWrittenToTheRegistryInItsFormatAndReadBack) {
  // A glyph of the user's: the registry keeps it as a bitmap.
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(16, 15);
  glyph.Canvas()->Brush()->SetColor(clRed);
  glyph.Canvas()->FillRect(TRect(0, 0, 16, 15));
  glyph.Canvas()->SetPixels(3, 4, clBlue);
  Tools->ItemLinks()->Items(1)->SetUserGlyph(&glyph);
  String saved = Snapshot(Manager);
  Manager->SaveToRegistry(kPath);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(kKey));
  EXPECT_EQ(reg.ReadInteger("BarCount"), 2);
  EXPECT_EQ(reg.ReadInteger("MenuAnimations"), maNone);
  EXPECT_TRUE(reg.ReadBool("ShowHint"));
  EXPECT_TRUE(reg.ValueExists("MenusShowRecentItemsFirst"));
  ASSERT_TRUE(reg.OpenKeyReadOnly(String(kKey) + "\\Bar1"));
  EXPECT_EQ(reg.ReadString("Caption"), "Outils");
  EXPECT_EQ(reg.ReadInteger("DockingStyle"), dsNone);
  EXPECT_EQ(reg.ReadInteger("FloatLeft"), 520);
  EXPECT_EQ(reg.ReadInteger("ItemLinkCount"), 2);
  ASSERT_TRUE(reg.OpenKeyReadOnly(String(kKey) + "\\Bar0\\ItemLink1"));
  EXPECT_EQ(reg.ReadString("ItemName"), "btnEnregistrer");
  EXPECT_TRUE(reg.ReadBool("BeginGroup"));
  EXPECT_EQ(reg.GetDataType("UserDefine"), rdBinary);
  EXPECT_EQ(reg.GetDataSize("UserDefine"), 1);
  ASSERT_TRUE(reg.OpenKeyReadOnly(String(kKey) + "\\Bar1\\ItemLink0"));
  BYTE defines = 0;
  reg.ReadBinaryData("UserDefine", &defines, 1);
  EXPECT_EQ(defines, 1);
  EXPECT_EQ(reg.ReadString("UserCaption"), "Copie");
  EXPECT_TRUE(reg.ValueExists("UseCount"));
  ASSERT_TRUE(reg.OpenKeyReadOnly(String(kKey) + "\\SubItem_mnuEdition"));
  EXPECT_EQ(reg.ReadInteger("ItemLinkCount"), 2);
  reg.CloseKey();
  ChangeEverything();
  Tools->ItemLinks()->Items(1)->SetUserDefine({});
  ASSERT_NE(Snapshot(Manager), saved);
  Manager->LoadFromRegistry(kPath);
  EXPECT_EQ(Snapshot(Manager), saved);
  TBitmap* read = Tools->ItemLinks()->Items(1)->GetGlyph();
  ASSERT_EQ(read->Width(), 16);
  EXPECT_EQ(read->Height(), 15);
  EXPECT_EQ(ColorToRGB(read->Canvas()->Pixels(3, 4)), ColorToRGB(clBlue));
  EXPECT_EQ(ColorToRGB(read->Canvas()->Pixels(10, 10)), ColorToRGB(clRed));
  EXPECT_EQ(Standard->GetControl()->DockSite(), Manager->Bars()->EdgeDockSite(dsTop));
  ASSERT_NE(WindowOf(Tools), nullptr);
  EXPECT_TRUE(IsWindowVisible(WindowOf(Tools)->Handle()));
}

TEST_F(Layout, IsWrittenToAnIniFileInItsSectionsAndReadBack) {
  String file = TempIni("velbor-bars-layout.ini");
  String saved = Snapshot(Manager);
  Manager->SaveToIniFile(file);
  TStringList lines;
  lines.LoadFromFile(file);
  String text = lines.Text();
  for (const char* expected : {"[frmLayout.kwBarManager1.Main]", "BarCount=2", "[frmLayout.kwBarManager1.Bar0]",
                               "Caption=Standard", "[frmLayout.kwBarManager1.Bar0.ItemLink1]", "ItemName=btnEnregistrer",
                               "BeginGroup=1", "[frmLayout.kwBarManager1.Bar1.ItemLink0]", "UserDefine=1",
                               "UserCaption=Copie", "[frmLayout.kwBarManager1.SubItem_mnuEdition]"})
    EXPECT_NE(text.find(expected), String::npos) << expected << "\n" << text;
  ChangeEverything();
  Manager->LoadFromIniFile(file);
  EXPECT_EQ(Snapshot(Manager), saved);
}

// Saving again keeps exactly the bars there are, and leaves what is not the manager's.
TEST_F(Layout, SavingAgainKeepsOnlyTheCurrentBarsAndOtherKeysAndSections) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(String(kKey) + "\\Settings", true));
    reg.WriteString("Theme", "sombre");
  }
  TkwBar* extra = AddBar("Extra", false);
  Manager->SaveToRegistry(kPath);
  EXPECT_TRUE(TRegistry().KeyExists(String(kKey) + "\\Bar2"));
  delete extra;
  Manager->SaveToRegistry(kPath);
  TRegistry reg;
  EXPECT_FALSE(reg.KeyExists(String(kKey) + "\\Bar2"));
  EXPECT_TRUE(reg.KeyExists(String(kKey) + "\\Bar1\\ItemLink1"));
  ASSERT_TRUE(reg.OpenKeyReadOnly(String(kKey) + "\\Settings"));
  EXPECT_EQ(reg.ReadString("Theme"), "sombre");
  // An ini file shared by two managers keeps both.
  String file = TempIni("velbor-bars-layout.ini");
  TFormPtr<TForm> other(CreateForm<TForm>(nullptr));
  other->SetName("frmOther");
  auto* second = new TkwBarManager(other.get());
  second->SetName("kwBarManager1");
  second->Bars()->Add()->SetCaption("Autre");
  second->SaveToIniFile(file);
  Manager->SaveToIniFile(file);
  second->SaveToIniFile(file);
  TMemIniFile ini(file);
  EXPECT_EQ(ini.ReadString("frmLayout.kwBarManager1.Bar1", "Caption", ""), "Outils");
  EXPECT_EQ(ini.ReadString("frmOther.kwBarManager1.Bar0", "Caption", ""), "Autre");
}

TEST_F(Layout, BarsMadeAtRunTimeComeBack) {
  TkwBar* extra = AddBar("Mes commandes", false);
  Link(extra, Item("btnImprimer"));
  extra->SetVisible(true);
  String saved = Snapshot(Manager);
  Manager->SaveToRegistry(kPath);
  delete extra;
  ASSERT_EQ(Manager->Bars()->Count(), 2);
  Manager->LoadFromRegistry(kPath);
  ASSERT_EQ(Manager->Bars()->Count(), 3);
  EXPECT_EQ(Snapshot(Manager), saved);
}

TEST_F(Layout, UsageIsKeptOnlyWithTheEnhancedStyle) {
  Manager->SetStyle(bmsStandard);
  Manager->SaveToRegistry(kPath);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(String(kKey) + "\\Bar0\\ItemLink0"));
  EXPECT_FALSE(reg.ValueExists("UseCount"));
  EXPECT_FALSE(reg.ValueExists("RecentIndex"));
  ASSERT_TRUE(reg.OpenKeyReadOnly(kKey));
  EXPECT_FALSE(reg.ValueExists("MenusShowRecentItemsFirst"));
}

// Each damage of a layout saved from the state there is now: whatever is wrong is refused, so the
// state after loading is the one before.
TEST_F(Layout, ADamagedOrForeignRegistryLayoutLeavesTheDesignInPlace) {
  struct Case {
    const char* Name;
    const char* Key;  // below the layout's key
    const char* Value;
    int Integer;      // written as an integer unless Text is given
    const char* Text;
    bool Delete;
  } cases[] = {
      {"a huge bar count", "", "BarCount", 1000000, nullptr, false},
      {"a negative bar count", "", "BarCount", -3, nullptr, false},
      {"an unknown animation", "", "MenuAnimations", 42, nullptr, false},
      {"an unknown docking style", "Bar0", "DockingStyle", 99, nullptr, false},
      {"an unknown docked style", "Bar0", "DockedDockingStyle", -7, nullptr, false},
      {"a negative row", "Bar0", "Row", -5, nullptr, false},
      {"a width no window can have", "Bar1", "FloatClientWidth", 0x7FFFFFFF, nullptr, false},
      {"a caption of another type", "Bar0", "Caption", 12, nullptr, false},
      {"a visibility of another type", "Bar1", "Visible", 0, "yes", false},
      {"a dock site that is an edit", "Bar0", "DockControl", 0, "Edit1", false},
      {"a dock site of nothing", "Bar0", "DockControl", 0, "frmNowhere.Dock1", false},
      {"a link count missing", "Bar0", "ItemLinkCount", 0, nullptr, true},
      {"a link count far too large", "Bar0", "ItemLinkCount", 5000, nullptr, false},
      {"a negative link count", "SubItem_mnuEdition", "ItemLinkCount", -1, nullptr, false},
      {"unknown flags of a link", "Bar1\\ItemLink0", "UserDefine", 0, "\xFF", false},
      {"an unknown paint style", "Bar1\\ItemLink1", "UserPaintStyle", 17, nullptr, false},
      {"a usage index out of range", "Bar0\\ItemLink0", "RecentIndex", 9999, nullptr, false},
      {"a negative use count", "Bar0\\ItemLink0", "UseCount", -40, nullptr, false},
  };
  auto* edit = new TTestEdit(Form.get());
  edit->SetName("Edit1");
  edit->SetParent(Form.get());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TRegistry().DeleteKey(kRoot);
    Manager->SaveToRegistry(kPath);
    String before = Snapshot(Manager);
    {
      TRegistry reg;
      ASSERT_TRUE(reg.OpenKey(*c.Key ? String(kKey) + "\\" + c.Key : String(kKey), false));
      if (c.Delete)
        reg.DeleteValue(c.Value);
      else if (String(c.Value) == "UserDefine")
        reg.WriteBinaryData(c.Value, c.Text, 1);
      else if (c.Text)
        reg.WriteString(c.Value, c.Text);
      else
        reg.WriteInteger(c.Value, c.Integer);
    }
    DWORD start = GetTickCount();
    EXPECT_NO_THROW(Manager->LoadFromRegistry(kPath));
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(Snapshot(Manager), before);
  }
  // A layout of another form: none of its links names an item here.
  TRegistry().DeleteKey(kRoot);
  Manager->SaveToRegistry(kPath);
  String before = Snapshot(Manager);
  {
    TRegistry reg;
    for (const char* key : {"Bar0\\ItemLink0", "Bar0\\ItemLink1", "Bar0\\ItemLink2", "Bar0\\ItemLink3",
                            "Bar1\\ItemLink0", "Bar1\\ItemLink1"}) {
      ASSERT_TRUE(reg.OpenKey(String(kKey) + "\\" + key, false)) << key;
      reg.WriteString("ItemName", String("btnEtranger") + key[3]);
    }
  }
  Manager->LoadFromRegistry(kPath);
  EXPECT_EQ(Snapshot(Manager), before);
}

TEST_F(Layout, ADamagedIniLayoutLeavesTheDesignInPlace) {
  String file = TempIni("velbor-bars-layout.ini");
  struct Case {
    const char* Section;
    const char* Key;
    const char* Value;
  } cases[] = {{"Main", "BarCount", "beaucoup"},     {"Main", "MenuAnimations", "-1"},
               {"Bar0", "DockingStyle", "9"},         {"Bar1", "FloatTop", "99999999"},
               {"Bar0", "ItemLinkCount", "-2"},       {"Bar0.ItemLink1", "ItemName", "btnInconnu"},
               {"Bar1.ItemLink1", "UserDefine", "64"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(String(c.Section) + " " + c.Key);
    OsPort::DeleteFile(file);
    Manager->SaveToIniFile(file);
    String before = Snapshot(Manager);
    {
      TMemIniFile ini(file);
      ini.WriteString(String("frmLayout.kwBarManager1.") + c.Section, c.Key, c.Value);
      ini.UpdateFile();
    }
    EXPECT_NO_THROW(Manager->LoadFromIniFile(file));
    String after = Snapshot(Manager);
    if (String(c.Key) == "ItemName") {
      // One unknown link is dropped with its values; the others stay.
      EXPECT_EQ(after.find("btnEnregistrer"), after.rfind("btnEnregistrer")) << after;
      Link(Standard, Item("btnEnregistrer"), true)->SetIndex(1);
      after = Snapshot(Manager);
    }
    EXPECT_EQ(after, before);
  }
}

// The program's path: a manager read from its description takes the stored layout, and stores it
// when its form's window goes.
TEST_F(Layout, IsReadWithTheManagerAndWrittenWhenTheFormGoes) {
  String file = TempIni("velbor-bars-layout.ini");
  OsPort::DeleteFile(file);
  String description =
      "object frmStored: TForm\n"
      "  Width = 400\n"
      "  Height = 200\n"
      "  object kwBarManager1: TkwBarManager\n"
      "    Bars = <\n"
      "      item\n"
      "        Caption = 'Standard'\n"
      "        DockedDockingStyle = dsTop\n"
      "        DockingStyle = dsTop\n"
      "        ItemLinks = <\n"
      "          item\n"
      "            Item = btnOuvrir\n"
      "          end>\n"
      "        Visible = True\n"
      "      end>\n"
      "    Categories = (\n"
      "      'Default')\n"
      "    IniFileName = '" + file + "'\n"
      "    StoreInIniFile = True\n"
      "    object btnOuvrir: TTestBarButton\n"
      "      Caption = '&Ouvrir'\n"
      "      Category = 0\n"
      "    end\n"
      "  end\n"
      "end\n";
  auto read = [&] {
    TForm* form = CreateForm<TForm>(nullptr);
    ReadComponentFromText(form, description, "frmStored");
    form->Show();
    return form;
  };
  TForm* form = read();
  auto* manager = dynamic_cast<TkwBarManager*>(form->FindComponent("kwBarManager1"));
  ASSERT_NE(manager, nullptr);
  manager->Bars()->Items(0)->SetDockingStyle(dsBottom);
  manager->SetLargeIcons(true);
  form->Free();
  ASSERT_TRUE(OsPort::FileExists(file));
  form = read();
  manager = dynamic_cast<TkwBarManager*>(form->FindComponent("kwBarManager1"));
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->Bars()->Items(0)->DockingStyle(), dsBottom);
  EXPECT_TRUE(manager->LargeIcons());
  form->Free();
}

}  // namespace
