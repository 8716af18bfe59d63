// Tests of the file-name edit: the dialog its button runs (answered through the modal script) with
// the name going in and coming back quoted, the events around it, the FileName property's checks
// and clipping, the default glyph from the program's resources, the dialog kinds, and files
// dropped on it through a real WM_DROPFILES.
#include "StdCtrlsTestSupport.h"

#include <shlobj.h>

#include <random>

#include "Filer.h"
#include "OxFilenameEdit.h"
#include "Strings.h"

namespace {

// A folder whose name holds a blank, with one file whose name holds one too.
class TempFolder {
 public:
  TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Path = String(temp) + "velbor fichiers " + std::to_string(std::random_device()());
    CreateDirectoryA(Path.c_str(), nullptr);
    File = Path + "\\mon fichier.txt";
    HANDLE f = CreateFileA(File.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    CloseHandle(f);
  }
  ~TempFolder() {
    DeleteFileA(File.c_str());
    RemoveDirectoryA(Path.c_str());
  }
  String Path;
  String File;
};

// A drop handle as the shell gives it: DROPFILES, then the names, each ending with a zero, and a
// final zero.
HGLOBAL MakeDrop(const std::vector<String>& Names) {
  std::size_t size = sizeof(DROPFILES) + 1;
  for (const String& n : Names) size += n.size() + 1;
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* header = static_cast<DROPFILES*>(GlobalLock(handle));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = FALSE;
  char* p = reinterpret_cast<char*>(header) + sizeof(DROPFILES);
  for (const String& n : Names) {
    std::copy(n.begin(), n.end(), p);
    p += n.size() + 1;
  }
  GlobalUnlock(handle);
  return handle;
}

class FilenameEdits : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    RegisterOxFilenameEdit();
    Edit = Add<TOxFilenameEdit>(10, 10, 250);
    ShowForm();
  }

 public:
  // Handlers (public: the tests take their addresses).
  void Before(TObject*, String& Name, bool& Action) {
    BeforeName = Name;
    if (!NewBeforeName.empty()) Name = NewBeforeName;
    Action = AllowDialog;
  }
  void After(TObject*, String& Name, bool& Action) {
    AfterName = Name;
    AfterAction = Action;
  }
  void Dropped(TObject*) { ++Drops; }
  void Raised(TObject*, Exception* E) {
    RaisedClass = E->ClassName();
    RaisedMessage = E->Message;
  }

 protected:
  void PressButton() { ClickAt(CentreOf(Edit->Button())); }
  // The fixture as the object of its handlers.
  FilenameEdits* Self() { return this; }
  static TModalAnswer Chosen(const String& Name) {
    TModalAnswer answer;
    answer.Result = 1;
    answer.Value = Name;
    return answer;
  }
  TOxFilenameEdit* Edit = nullptr;
  String BeforeName, NewBeforeName, AfterName;
  bool AllowDialog = true;
  bool AfterAction = false;
  int Drops = 0;
  String RaisedClass, RaisedMessage;
};

TEST_F(FilenameEdits, AChosenPathWithABlankIsQuotedAndFileNameGivesItBack) {
  TempFolder folder;
  Edit->SetFilter("Fichiers texte|*.txt");
  Edit->SetDefaultExt("txt");
  Edit->SetDialogTitle("Exporter vers ...");
  Edit->SetDialogOptions({ofHideReadOnly, ofPathMustExist});
  Edit->OnAfterDialog = TExecOpenDialogEvent(Self(), &FilenameEdits::After);
  Script.Push(Chosen(folder.File));
  PressButton();
  ASSERT_EQ(Script.Asked.size(), 1u);
  const TModalQuestion& q = Script.Asked[0];
  EXPECT_EQ(q.Name, "OpenDialog");
  EXPECT_EQ(q.Caption, "Exporter vers ...");
  EXPECT_EQ(q.Fields.at("Filter"), "Fichiers texte|*.txt");
  EXPECT_EQ(q.Fields.at("DefaultExt"), "txt");
  EXPECT_EQ(q.Flags, (TOpenOptions{ofHideReadOnly, ofPathMustExist}).Bits());
  EXPECT_EQ(Edit->Text(), "\"" + folder.File + "\"");
  EXPECT_EQ(Edit->FileName(), folder.File);
  EXPECT_EQ(AfterName, folder.File);
  EXPECT_TRUE(AfterAction);
  // The next dialog starts in the chosen file's folder, with that file offered.
  EXPECT_EQ(Edit->InitialDir(), folder.Path + "\\");
  Script.Push(0);
  PressButton();
  ASSERT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(Script.Asked[1].Value, folder.File);
  EXPECT_EQ(Script.Asked[1].Fields.at("InitialDir"), folder.Path + "\\");
  // Cancelled: the text stays, and the after-event hears it.
  EXPECT_EQ(Edit->Text(), "\"" + folder.File + "\"");
  EXPECT_FALSE(AfterAction);
}

TEST_F(FilenameEdits, ANewEditOffersTheBrowseDialogForAllFiles) {
  Script.Push(Chosen("c:\\sans_blanc.csv"));
  PressButton();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Caption, "Browse");
  EXPECT_EQ(Script.Asked[0].Fields.at("Filter"), "All files (*.*)|*.*");
  EXPECT_EQ(Script.Asked[0].Flags, (TOpenOptions{ofHideReadOnly}).Bits());
  // No blank: no quotes.
  EXPECT_EQ(Edit->Text(), "c:\\sans_blanc.csv");
}

TEST_F(FilenameEdits, OnBeforeDialogMayChangeTheNameOrPreventTheDialog) {
  TempFolder folder;
  Edit->OnBeforeDialog = TExecOpenDialogEvent(Self(), &FilenameEdits::Before);
  Edit->OnAfterDialog = TExecOpenDialogEvent(Self(), &FilenameEdits::After);
  Edit->SetText("garde.csv");
  AllowDialog = false;
  PressButton();
  EXPECT_TRUE(Script.Asked.empty());
  EXPECT_EQ(BeforeName, "garde.csv");
  EXPECT_EQ(Edit->Text(), "garde.csv");
  EXPECT_FALSE(AfterAction);
  // The name handed back goes to the dialog; its existing folder becomes the initial one.
  AllowDialog = true;
  NewBeforeName = folder.Path + "\\nouveau.csv";
  Script.Push(0);
  PressButton();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Value, folder.Path + "\\nouveau.csv");
  EXPECT_EQ(Script.Asked[0].Fields.at("InitialDir"), folder.Path + "\\");
  // A name without a file part is not offered.
  NewBeforeName = folder.Path + "\\";
  Script.Push(0);
  PressButton();
  ASSERT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(Script.Asked[1].Value, "");
}

TEST_F(FilenameEdits, FileNameChecksClipsAndQuotes) {
  TempFolder folder;
  struct Case {
    String Text, FileName;
  } cases[] = {
      // A program name followed by an argument: the program.
      {"notepad.exe /p", "notepad.exe"},
      {"\"c:\\mes documents\\liste.csv\" -x", "c:\\mes documents\\liste.csv"},
      // An existing file of exactly that name, blank and all.
      {folder.File, folder.File},
      {"", ""},
  };
  for (const Case& c : cases) {
    Edit->SetText(c.Text);
    EXPECT_EQ(Edit->FileName(), c.FileName) << c.Text;
  }
  Edit->SetFileName("c:\\mes documents\\liste.csv");
  EXPECT_EQ(Edit->Text(), "\"c:\\mes documents\\liste.csv\"");
  EXPECT_EQ(Edit->FileName(), "c:\\mes documents\\liste.csv");
  // An invalid name is refused and changes nothing.
  try {
    Edit->SetFileName("c:\\liste?.csv");
    ADD_FAILURE() << "an invalid name was taken";
  } catch (const EComboEditError& e) {
    EXPECT_EQ(e.Message, "Nom de fichier incorrect - c:\\liste?.csv");
  }
  EXPECT_EQ(Edit->Text(), "\"c:\\mes documents\\liste.csv\"");
  EXPECT_THROW(Edit->SetFileName("a|b"), EComboEditError);
  // Empty clears.
  Edit->SetFileName("");
  EXPECT_EQ(Edit->Text(), "");
  EXPECT_EQ(QuoteFileName("\"deja\" entre"), "\"deja\" entre");
}

TEST_F(FilenameEdits, TheButtonShowsTheOpenFolderGlyphFromTheResources) {
  EXPECT_EQ(Edit->GlyphKind(), gkDefault);
  TBitmap* glyph = Edit->Glyph();
  ASSERT_EQ(glyph->Width(), 14);
  ASSERT_EQ(glyph->Height(), 12);
  EXPECT_EQ(Edit->ButtonWidth(), 21);
  EXPECT_EQ(Edit->NumGlyphs(), 1);
  // Fuchsia around the picture (the bottom-left pixel makes it transparent), black outlines.
  EXPECT_EQ(glyph->Canvas()->Pixels(0, 11), clFuchsia);
  EXPECT_EQ(Edit->Button()->ButtonGlyph()->TransparentColor(), clFuchsia);
  int black = 0, fuchsia = 0;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 14; ++x) {
      black += glyph->Canvas()->Pixels(x, y) == clBlack;
      fuchsia += glyph->Canvas()->Pixels(x, y) == clFuchsia;
    }
  }
  EXPECT_GT(black, 20);
  EXPECT_GT(fuchsia, 40);
  // The edit holds OEM-convertible text, as a file name should.
  EXPECT_TRUE(Edit->OEMConvert());
}

TEST_F(FilenameEdits, ANewDialogKindKeepsTheSettings) {
  Edit->SetFilter("CSV|*.csv");
  Edit->SetDialogTitle("Choisir");
  Edit->SetInitialDir("c:\\");
  Edit->SetDialogKind(dkSave);
  EXPECT_NE(dynamic_cast<TSaveDialog*>(Edit->Dialog()), nullptr);
  Script.Push(0);
  PressButton();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Name, "SaveDialog");
  EXPECT_EQ(Script.Asked[0].Caption, "Choisir");
  EXPECT_EQ(Script.Asked[0].Fields.at("Filter"), "CSV|*.csv");
  EXPECT_EQ(Edit->InitialDir(), "c:\\");
  Edit->SetDialogKind(dkOpenPicture);
  EXPECT_EQ(dynamic_cast<TSaveDialog*>(Edit->Dialog()), nullptr);
  EXPECT_EQ(Edit->DialogTitle(), "Choisir");
}

TEST_F(FilenameEdits, DroppedFilesGiveTheFirstNameOrAllWithMultipleSelection) {
  Edit->OnDropFiles = TNotifyEvent(Self(), &FilenameEdits::Dropped);
  EXPECT_NE(GetWindowLongA(Edit->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  const std::vector<String> names = {"c:\\un.csv", "c:\\deux fois.csv", "c:\\trois.csv"};
  SendMessageA(Edit->Handle(), WM_DROPFILES, WPARAM(MakeDrop(names)), 0);
  EXPECT_EQ(Edit->Text(), "c:\\un.csv");
  EXPECT_EQ(Edit->Dialog()->Files()->Count(), 0);
  EXPECT_EQ(Drops, 1);
  Edit->SetDialogOptions({ofHideReadOnly, ofAllowMultiSelect});
  SendMessageA(Edit->Handle(), WM_DROPFILES, WPARAM(MakeDrop({names[1], names[2], names[0]})), 0);
  EXPECT_EQ(Edit->Text(), "\"c:\\deux fois.csv\"");
  ASSERT_EQ(Edit->Dialog()->Files()->Count(), 3);
  EXPECT_EQ(Edit->Dialog()->Files()->Strings(2), names[0]);
  EXPECT_EQ(Drops, 2);
  // Leaving multiple selection forgets the names.
  Edit->SetDialogOptions({ofHideReadOnly});
  EXPECT_EQ(Edit->Dialog()->Files()->Count(), 0);
  // An invalid name raises the edit's error from the drop (the application reports it).
  Application->OnException = TExceptionEvent(Self(), &FilenameEdits::Raised);
  SendMessageA(Edit->Handle(), WM_DROPFILES, WPARAM(MakeDrop({"c:\\a|b.csv"})), 0);
  Application->OnException = TExceptionEvent();
  EXPECT_EQ(RaisedClass, "EComboEditError");
  EXPECT_EQ(RaisedMessage, "Nom de fichier incorrect - c:\\a|b.csv");
  EXPECT_EQ(Edit->Text(), "\"c:\\deux fois.csv\"");
  EXPECT_EQ(Drops, 2);
  // Without AcceptFiles the window no longer registers for drops.
  Edit->SetAcceptFiles(false);
  EXPECT_EQ(GetWindowLongA(Edit->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
}

TEST_F(FilenameEdits, AFormDescriptionSetsTheDialogProperties) {
  auto* form = new TForm(nullptr);
  TFormPtr<TForm> owner(form);
  ReadComponentFromText(form,
                        "object F: TForm\n"
                        "  object Fichier: TOxFilenameEdit\n"
                        "    Left = 8\n"
                        "    Width = 200\n"
                        "    DialogOptions = [ofHideReadOnly, ofPathMustExist]\n"
                        "    DialogTitle = 'Importer'\n"
                        "    Filter = 'Texte|*.txt'\n"
                        "    DefaultExt = 'txt'\n"
                        "    ButtonFlat = True\n"
                        "  end\n"
                        "end\n",
                        "fichier");
  auto* edit = dynamic_cast<TOxFilenameEdit*>(form->FindComponent("Fichier"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->DialogTitle(), "Importer");
  EXPECT_EQ(edit->Filter(), "Texte|*.txt");
  EXPECT_EQ(edit->DefaultExt(), "txt");
  EXPECT_EQ(edit->DialogOptions(), (TOpenOptions{ofHideReadOnly, ofPathMustExist}));
  EXPECT_TRUE(edit->ButtonFlat());
  EXPECT_EQ(edit->Width(), 200);
  // A description keeps only what differs from a new edit: the titles and filters of a new
  // dialog, the default glyph and its button width are left out.
  auto stored = [](TObject* Instance, const char* Name) {
    const TPropInfo* p = GetPropInfo(Instance, Name);
    return p->IsStored(Instance) && !IsDefaultPropValue(Instance, p);
  };
  EXPECT_TRUE(stored(edit, "DialogTitle"));
  EXPECT_TRUE(stored(edit, "Filter"));
  EXPECT_FALSE(stored(Edit, "DialogTitle"));
  EXPECT_FALSE(stored(Edit, "Filter"));
  EXPECT_FALSE(stored(Edit, "GlyphKind"));
  EXPECT_FALSE(stored(Edit, "Glyph"));
  EXPECT_FALSE(stored(Edit, "ButtonWidth"));
  EXPECT_FALSE(stored(Edit, "DialogOptions"));
  Edit->SetButtonWidth(30);
  EXPECT_TRUE(stored(Edit, "ButtonWidth"));
}

}  // namespace
