// Tests of the combo box history: its registry value and ini section, an absent or damaged value,
// the most entries saved, a history never loaded, and a combo box whose list shows the most recent
// entries first and whose choice is saved.
#include "ControlsTestSupport.h"

#include "IniFiles.h"
#include "OsPort.h"
#include "Qvdbcomb.h"
#include "Registry.h"
#include "qvhistorylist.h"

namespace {

const char* const Key = "Software\\Velbor\\Tests\\Historique";

String ListText(TStrings* List) {
  String All;
  for (int i = 0; i < List->Count(); ++i) All += List->Strings(i) + "|";
  return All;
}

class HistoryTest : public ControlsFormTest {
 protected:
  void SetUp() override {
    ControlsFormTest::SetUp();
    TRegistry Registry;
    Registry.DeleteKey(String("\\") + Key);
  }
  void TearDown() override {
    TRegistry Registry;
    Registry.DeleteKey(String("\\") + Key);
    ControlsFormTest::TearDown();
  }
  void Stored(TqvHistoryList& History, const char* Section) {
    History.StorageType = stRegistry;
    History.SetFileName(Key);
    History.Section = Section;
  }
  // The raw bytes of a value, empty when it is absent.
  String RegistryBytes(const char* Name) {
    TRegistry Registry;
    if (!Registry.OpenKey(String("\\") + Key, false) || !Registry.ValueExists(Name)) return String();
    String Bytes(std::size_t(Registry.GetDataSize(Name)), '\0');
    Registry.ReadBinaryData(Name, Bytes.data(), int(Bytes.size()));
    return Bytes;
  }
  void WriteBytes(const char* Name, const String& Bytes) {
    TRegistry Registry;
    ASSERT_TRUE(Registry.OpenKey(String("\\") + Key, true));
    Registry.WriteBinaryData(Name, Bytes.data(), int(Bytes.size()));
  }
};

TEST_F(HistoryTest, TheRegistryValueHoldsEachEntryAndALineBreakOldestFirst) {
  TqvHistoryList History;
  Stored(History, "Communes");
  History.Items()->Add("Abbeville");
  History.Items()->Add("Brest");
  History.Save();
  EXPECT_EQ(RegistryBytes("Communes"), "Abbeville\r\nBrest\r\n");
  TqvHistoryList Again;
  Stored(Again, "Communes");
  TStringList Shown;
  Shown.Add("brest");
  Again.LoadInto(&Shown);
  EXPECT_TRUE(Again.WasLoaded());
  EXPECT_EQ(ListText(Again.Items()), "Abbeville|Brest|");
  // An entry already there, in whatever case, is not added twice.
  EXPECT_EQ(ListText(&Shown), "brest|Abbeville|");
}

// Before the first save there is no value: the history is empty, not an error. A value of another
// kind, or one holding a zero byte, is no history either.
TEST_F(HistoryTest, AnAbsentOrDamagedValueIsAnEmptyHistory) {
  TqvHistoryList History;
  Stored(History, "Absent");
  History.Items()->Add("ancien");
  TStringList Shown;
  History.LoadInto(&Shown);
  EXPECT_EQ(History.Items()->Count(), 0);
  EXPECT_EQ(Shown.Count(), 0);
  {
    TRegistry Registry;
    ASSERT_TRUE(Registry.OpenKey(String("\\") + Key, true));
    Registry.WriteString("Texte", "Abbeville");
    Registry.WriteInteger("Nombre", 12);
  }
  WriteBytes("Binaire", String("Ab\0\x01\x02", 5));
  for (const char* Section : {"Texte", "Nombre", "Binaire"}) {
    SCOPED_TRACE(Section);
    TqvHistoryList Damaged;
    Stored(Damaged, Section);
    TStringList Into;
    Damaged.LoadInto(&Into);
    EXPECT_EQ(Damaged.Items()->Count(), 0);
    EXPECT_EQ(Into.Count(), 0);
  }
}

TEST_F(HistoryTest, MaxSizeCutsTheRegistryListAndWritesTheLastIniKeys) {
  TqvHistoryList Registry;
  Stored(Registry, "Cinq");
  Registry.MaxSize = 3;
  for (const char* Entry : {"a", "b", "c", "d", "e"}) Registry.Items()->Add(Entry);
  Registry.Save();
  EXPECT_EQ(ListText(Registry.Items()), "c|d|e|");
  EXPECT_EQ(RegistryBytes("Cinq"), "c\r\nd\r\ne\r\n");

  char Temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, Temp);
  String IniName = String(Temp) + "velbor_historique.ini";
  DeleteFileA(IniName.c_str());
  TqvHistoryList Ini;
  Ini.SetFileName(IniName);
  Ini.Section = "Cinq";
  Ini.MaxSize = 3;
  for (const char* Entry : {"a", "b", "c", "d", "e"}) Ini.Items()->Add(Entry);
  Ini.Save();
  EXPECT_EQ(Ini.Items()->Count(), 5);
  TIniFile File(IniName);
  TStringList Keys;
  File.ReadSection("Cinq", &Keys);
  EXPECT_EQ(ListText(&Keys), "2|3|4|");
  EXPECT_EQ(File.ReadString("Cinq", "4", ""), "e");
  TqvHistoryList Read;
  Read.SetFileName(IniName);
  Read.Section = "Cinq";
  TStringList Into;
  Read.LoadInto(&Into);
  EXPECT_EQ(ListText(Read.Items()), "c|d|e|");
  DeleteFileA(IniName.c_str());
}

TEST_F(HistoryTest, AHistoryNeverLoadedIsNotSavedWhenItGoes) {
  {
    TqvHistoryList History;
    Stored(History, "Jamais");
    History.Items()->Add("perdu");
  }
  EXPECT_EQ(RegistryBytes("Jamais"), "");
  {
    TqvHistoryList History;
    Stored(History, "Lue");
    TStringList Into;
    History.LoadInto(&Into);
    History.Items()->Add("gardé"_a);
  }
  EXPECT_EQ(RegistryBytes("Lue"), "gardé\r\n"_a);
}

TEST_F(HistoryTest, WithoutASectionNothingIsReadOrWritten) {
  TqvHistoryList History;
  History.StorageType = stRegistry;
  History.SetFileName(Key);
  History.Items()->Add("local");
  TStringList Into;
  History.LoadInto(&Into);
  History.Save();
  EXPECT_FALSE(History.WasLoaded());
  EXPECT_EQ(ListText(&Into), "local|");
  TRegistry Registry;
  EXPECT_FALSE(Registry.KeyExists(String("\\") + Key));
}

// The combo's list begins with the most recent entries, newest first, and a choice made in it goes
// into the history, which is saved.
TEST_F(HistoryTest, AComboListsItsMostRecentEntriesFirstAndSavesItsChoice) {
  WriteBytes("Milieux", "Lande\r\nPrairie\r\nForêt\r\n"_a);
  auto* Combo = Add<TqvDBComboBox>(20, 20, 180);
  for (const char* Item : {"Lac", "Mare"}) Combo->Items()->Add(Item);
  Stored(*Combo->HistoryList(), "Milieux");
  Combo->HistoryList()->Enabled = true;
  Combo->HistoryList()->MRUEnabled = true;
  Combo->HistoryList()->MRUMaxSize = 2;
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(Combo->ListVisible());
  EXPECT_EQ(ListText(Combo->ListBox()->Items()), "Forêt|Prairie|Lac|Mare|Lande|Prairie|Forêt|"_a);
  ASSERT_TRUE(Painted(Combo->ListBox()));
  // A line under the second row parts the recent entries from the others.
  TRect Second = Combo->ListBox()->ItemRect(1);
  EXPECT_EQ(PixelOf(Combo->ListBox(), Second.Right / 2, Second.Bottom - 1), ColorToRGB(clBtnShadow));
  TPixelArea Picture = CaptureArea(Combo->ListBox(), Combo->ListBox()->ClientRect());
  WritePng(Picture, BuildPicturePath("qvdbcomb_history_list.png"));
  TRect Third = Combo->ListBox()->ItemRect(2);
  ClickAt(OnScreen(Combo->ListBox(), Third.Left + 10, (Third.Top + Third.Bottom) / 2));
  ASSERT_TRUE(WaitFor("the list closing", [&] { return !Combo->ListVisible(); }));
  EXPECT_EQ(Combo->Text(), "Lac");
  EXPECT_EQ(RegistryBytes("Milieux"), "Lande\r\nPrairie\r\nForêt\r\nLac\r\n"_a);
  // Entering the combo again reads the storage again.
  ClickControl(Other());
  WriteBytes("Milieux", "Tourbière\r\n"_a);
  ASSERT_TRUE(GiveFocus(Combo));
  EXPECT_EQ(ListText(Combo->ListBox()->Items()), "Tourbière|Lac|Mare|Tourbière|"_a);
}

TEST_F(HistoryTest, OnAddHistoryItemMayRefuseAnEntry) {
  auto* Combo = Add<TqvDBComboBox>(20, 20, 180);
  Combo->HistoryList()->Enabled = true;
  struct TRefuser : TObject {
    void Refuse(TObject*, const String& Value, bool& Accept) { Accept = Value != "secret"; }
  } Refuser;
  Combo->OnAddHistoryItem = TqvAddHistoryItemEvent(&Refuser, &TRefuser::Refuse);
  Combo->AddHistoryItem("secret", true);
  Combo->AddHistoryItem("public \t", true);
  EXPECT_EQ(ListText(Combo->HistoryList()->Items()), "public|");
}

}  // namespace
