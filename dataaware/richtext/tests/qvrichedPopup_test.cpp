// Tests of the rich-text control's pop-up menu (its items by options and state, paste by the
// clipboard's formats, one menu per right click) and of its embedded objects (the object items and
// verbs, the advise connection, the drop effects, the dialogs Wine has and has not).
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Clipbrd.h"
#include "Menus.h"

#include "Qvintl.h"
#include "RichTextTestSupport.h"
#include "qvRichOle.h"
#include "qvRichOleTestObject.h"

namespace {

BOOL CALLBACK FindDialogWindow(HWND Window, LPARAM Found) {
  char Class[16] = "";
  GetClassNameA(Window, Class, sizeof(Class));
  if (lstrcmpA(Class, "#32770") != 0) return TRUE;
  *reinterpret_cast<HWND*>(Found) = Window;
  return FALSE;
}

// Once a dialog box of this thread exists, its title is taken and it is cancelled; tried again at
// each turn of the message loop until then (for at most the waits' limit). A dialog box shows only
// once its queue is idle, which these tries never let it be: it is cancelled before it shows.
// The answer stops the tries once set.
std::shared_ptr<bool> CancelDialogWhenShown(String& Title) {
  DWORD Deadline = GetTickCount() + kWaitLimit;
  auto Stop = std::make_shared<bool>(false);
  auto Try = std::make_shared<std::function<void()>>();
  *Try = [&Title, Deadline, Try, Stop] {
    if (*Stop) return;
    HWND Dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialogWindow, LPARAM(&Dialog));
    if (Dialog == nullptr) {
      if (GetTickCount() < Deadline) Later(*Try);
      return;
    }
    char Caption[128] = "";
    GetWindowTextA(Dialog, Caption, sizeof(Caption));
    Title = Caption;
    PostMessageA(Dialog, WM_COMMAND, IDCANCEL, 0);
  };
  Later(*Try);
  return Stop;
}

using TItem = TqvCustomRichEdit::TPopupItem;

class RichPopupTest : public RichFormTest {
 protected:
  // The menu as it opens now.
  void Prepare() {
    TPopupMenu* Menu = Edit->PopupMenuBuilt();
    Menu->OnPopup(Menu);
  }
  bool Shown(TItem Item) { return Edit->PopupItem(Item)->Visible(); }
  bool Enabled(TItem Item) { return Edit->PopupItem(Item)->Enabled(); }
  // Inserts a test object at the caret; the test keeps one reference.
  TTestOleObject* InsertObject() {
    IRichEditOle* Ole = Edit->RichEditOle();
    IOleClientSite* Site = nullptr;
    IStorage* Storage = nullptr;
    EXPECT_EQ(Ole->GetClientSite(&Site), S_OK);
    EXPECT_EQ(qvCreateObjectStorage(&Storage), S_OK);
    auto* Object = new TTestOleObject;
    REOBJECT Description{};
    Description.cbStruct = sizeof(Description);
    Description.cp = REO_CP_SELECTION;
    Description.poleobj = Object;
    Description.pstg = Storage;
    Description.polesite = Site;
    Description.dvaspect = DVASPECT_CONTENT;
    EXPECT_EQ(Ole->InsertObject(&Description), S_OK);
    Storage->Release();
    Site->Release();
    return Object;
  }

 public:
  int Opened = 0;
  TNotifyEvent FOriginal;
  void CountOpening(TObject* Sender) {
    ++Opened;
    // Closed as soon as its loop runs.
    Later([] { EndMenu(); });
    FOriginal(Sender);
  }
};

TEST_F(RichPopupTest, TheDefaultMenuShowsTheEditingCommands) {
  ShowForm();
  Edit->Lines()->SetText("texte");
  Prepare();
  for (TItem Shown_ : {TItem::piEdit, TItem::piCut, TItem::piCopy, TItem::piPaste, TItem::piFont, TItem::piBullet,
                       TItem::piParagraph, TItem::piTabs, TItem::piFind, TItem::piReplace, TItem::piInsertObject,
                       TItem::piSep1, TItem::piSep2, TItem::piSep4, TItem::piSep5})
    EXPECT_TRUE(Shown(Shown_)) << Edit->PopupItem(Shown_)->Caption();
  for (TItem Hidden : {TItem::piBold, TItem::piItalic, TItem::piUnderline, TItem::piSpellCheck, TItem::piSep3})
    EXPECT_FALSE(Shown(Hidden)) << int(Hidden);
  EXPECT_EQ(Edit->PopupItem(TItem::piEdit)->Caption(), qvIntl->RichEdit()->PopupMenuLabels()->EditCaption);
  EXPECT_FALSE(Enabled(TItem::piCut)) << "nothing is selected";
  EXPECT_FALSE(Enabled(TItem::piCopy));
  SelectRange(Edit, 0, 3);
  Prepare();
  EXPECT_TRUE(Enabled(TItem::piCut));
  EXPECT_TRUE(Enabled(TItem::piCopy));
}

TEST_F(RichPopupTest, AReadOnlyControlOffersToViewAndCopy) {
  ShowForm();
  Edit->Lines()->SetText("texte");
  Edit->SetReadOnly(true);
  SelectRange(Edit, 0, 3);
  Prepare();
  EXPECT_EQ(Edit->PopupItem(TItem::piEdit)->Caption(), qvIntl->RichEdit()->PopupMenuLabels()->ViewCaption);
  for (TItem Shown_ : {TItem::piEdit, TItem::piCut, TItem::piCopy, TItem::piPaste, TItem::piFind})
    EXPECT_TRUE(Shown(Shown_)) << int(Shown_);
  for (TItem Hidden : {TItem::piFont, TItem::piBullet, TItem::piParagraph, TItem::piTabs, TItem::piReplace,
                       TItem::piInsertObject, TItem::piSep5})
    EXPECT_FALSE(Shown(Hidden)) << int(Hidden);
  EXPECT_FALSE(Enabled(TItem::piCut));
  EXPECT_FALSE(Enabled(TItem::piPaste));
  EXPECT_TRUE(Enabled(TItem::piCopy));
}

TEST_F(RichPopupTest, OptionsChooseTheItems) {
  ShowForm();
  Edit->PopupOptions = Edit->PopupOptions + TqvRichEditPopupOptions{rpoPopupBold, rpoPopupMSWordSpellCheck};
  Edit->SetOleOptions(TqvRichEditOleOptions{reoDisableOLE});
  LoadRich(Edit, "{\\rtf1\\ansi {\\b gras}\\par}");
  SelectRange(Edit, 0, 4);
  Prepare();
  EXPECT_TRUE(Shown(TItem::piBold));
  EXPECT_TRUE(Edit->PopupItem(TItem::piBold)->Checked()) << "the selection is bold";
  EXPECT_TRUE(Shown(TItem::piSep3));
  EXPECT_FALSE(Shown(TItem::piSpellCheck)) << "only a word-processor rich edit checks spelling";
  EXPECT_FALSE(Shown(TItem::piInsertObject)) << "without OLE";
  EXPECT_FALSE(Shown(TItem::piSep5));
  // The bold item sets bold off, as its mark says it is on.
  Edit->PopupItem(TItem::piBold)->Click();
  SelectRange(Edit, 0, 4);
  EXPECT_FALSE(Edit->SelAttributes()->Style().Contains(fsBold));
}

TEST_F(RichPopupTest, PasteFollowsTheClipboardsFormats) {
  ShowForm();
  Edit->Lines()->SetText("texte");
  struct TCase {
    const char* Name;
    bool Text;
    bool Bitmap;
    bool Metafile;
    bool Expected;
  };
  const TCase Cases[] = {
      {"text", true, false, false, true},
      {"a bitmap alone", false, true, false, false},
      {"a bitmap and a metafile picture", false, true, true, true},
      {"nothing", false, false, false, false},
  };
  for (const TCase& C : Cases) {
    ASSERT_TRUE(OpenClipboard(Edit->Handle()));
    EmptyClipboard();
    if (C.Text) {
      HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE, 6);
      lstrcpyA(static_cast<char*>(GlobalLock(Block)), "coller");
      GlobalUnlock(Block);
      SetClipboardData(CF_TEXT, Block);
    }
    if (C.Bitmap) {
      TWindowDC Screen;
      SetClipboardData(CF_BITMAP, CreateCompatibleBitmap(Screen, 4, 4));
    }
    if (C.Metafile) {
      HDC Recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
      SetClipboardData(CF_ENHMETAFILE, CloseEnhMetaFile(Recorder));
    }
    CloseClipboard();
    Prepare();
    EXPECT_EQ(Enabled(TItem::piPaste), C.Expected) << C.Name;
  }
}

TEST_F(RichPopupTest, ARightClickOpensTheMenuOnce) {
  ShowForm();
  Edit->Lines()->SetText("un texte pour le menu");
  FOriginal = Edit->PopupMenuBuilt()->OnPopup;
  Edit->PopupMenuBuilt()->OnPopup = TNotifyEvent(static_cast<RichPopupTest*>(this), &RichPopupTest::CountOpening);
  for (bool Ole : {true, false}) {
    Edit->SetOleOptions(Ole ? TqvRichEditOleOptions{reoAdjustPopupMenu} : TqvRichEditOleOptions{reoDisableOLE});
    ASSERT_EQ(Edit->RichEditOle() != nullptr, Ole);
    Opened = 0;
    TPoint At = OnScreen(Edit, 40, 8);
    MoveMouseTo(At);
    MouseEventAt(At, MOUSEEVENTF_RIGHTDOWN);
    MouseEventAt(At, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(WaitFor("the menu", [&] { return Opened > 0; })) << (Ole ? "with OLE" : "without OLE");
    // Whatever the right click still had to do is done once this runs.
    bool Settled = false;
    Later([&] { Settled = true; });
    ASSERT_TRUE(WaitFor("the click's end", [&] { return Settled; }));
    EXPECT_EQ(Opened, 1) << (Ole ? "with OLE" : "without OLE");
  }
}

// --- Embedded objects -------------------------------------------------------------------------

TEST_F(RichPopupTest, AnObjectAddsItsItemsAndVerbs) {
  ShowForm();
  Edit->Lines()->SetText("avant  apres");
  SelectRange(Edit, 6, 0);
  TTestOleObject* Object = InsertObject();
  SelectRange(Edit, 6, 1);
  ASSERT_EQ(Edit->GetSelectionType(), TqvCustomRichEdit::TqvSelectionType{TqvCustomRichEdit::stObject});
  TPopupMenu* Menu = Edit->GetPopupMenu();
  ASSERT_NE(Menu, nullptr);
  TMenuItem* Root = Menu->Items();
  int Count = Root->Count();
  ASSERT_GE(Count, 3);
  EXPECT_TRUE(Root->Items(Count - 3)->IsLine());
  EXPECT_EQ(Root->Items(Count - 2)->Caption(), qvIntl->RichEdit()->PopupMenuLabels()->ObjectPropertiesCaption);
  TMenuItem* ObjectItem = Root->Items(Count - 1);
  EXPECT_EQ(ObjectItem->Caption(), "Fiche de terrain &Object");
  ASSERT_EQ(ObjectItem->Count(), 2) << "the verbs for the container's menu";
  EXPECT_EQ(ObjectItem->Items(0)->Caption(), "&Ouvrir");
  EXPECT_TRUE(ObjectItem->Items(0)->Default()) << "the primary verb";
  EXPECT_EQ(ObjectItem->Items(1)->Caption(), "&Modifier");
  EXPECT_FALSE(ObjectItem->Items(1)->Default());
  ObjectItem->Items(1)->Click();
  EXPECT_EQ(Object->Verbs, std::vector<LONG>{1});
  // A new opening replaces the items; a read-only control shows the object item disabled.
  Edit->SetReadOnly(true);
  Menu = Edit->GetPopupMenu();
  EXPECT_EQ(Menu->Items()->Count(), Count);
  EXPECT_FALSE(Menu->Items()->Items(Count - 1)->Enabled());
  EXPECT_EQ(Menu->Items()->Items(Count - 1)->Count(), 0);
  // Without an object the items go.
  SelectRange(Edit, 0, 2);
  Menu = Edit->GetPopupMenu();
  EXPECT_EQ(Menu->Items()->Count(), Count - 3);
  Object->Release();
}

TEST_F(RichPopupTest, AnObjectSavedByItsServerMarksTheControlModified) {
  ShowForm();
  Edit->Lines()->SetText("x");
  SelectRange(Edit, 1, 0);
  TTestOleObject* Object = InsertObject();
  Edit->SetModified(false);
  SelectRange(Edit, 1, 1);
  Edit->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
  ASSERT_NE(Object->Sink, nullptr) << "the double click opened the object with an advise connection";
  EXPECT_FALSE(Edit->Modified());
  Object->Sink->OnViewChange(DVASPECT_CONTENT, -1);
  EXPECT_FALSE(Edit->Modified()) << "only a save counts";
  Object->Sink->OnSave();
  EXPECT_TRUE(Edit->Modified());
  Object->Release();
}

TEST(RichEditOleCallback, DropsLinkCopyOrMoveAsTheKeysAndTheSourceAllow) {
  TRichEditOleCallback* Callback = new TRichEditOleCallback(nullptr);
  struct TCase {
    DWORD Keys;
    DWORD Allowed;
    DWORD Expected;
  };
  const DWORD All = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  const TCase Cases[] = {
      {MK_CONTROL | MK_SHIFT, All, DROPEFFECT_LINK},
      {MK_CONTROL, All, DROPEFFECT_COPY},
      {0, All, DROPEFFECT_MOVE},
      {0, DROPEFFECT_COPY, DROPEFFECT_COPY},
      {MK_CONTROL | MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE},
  };
  for (const TCase& C : Cases) {
    DWORD Effect = C.Allowed;
    EXPECT_EQ(Callback->GetDragDropEffect(FALSE, C.Keys, &Effect), S_OK);
    EXPECT_EQ(Effect, C.Expected) << std::hex << C.Keys << " " << C.Allowed;
  }
  DWORD Dragging = All;
  Callback->GetDragDropEffect(TRUE, MK_CONTROL, &Dragging);
  EXPECT_EQ(Dragging, All) << "a drag keeps what it has";
  IStorage* Storage = nullptr;
  EXPECT_EQ(Callback->GetNewStorage(&Storage), S_OK);
  ASSERT_NE(Storage, nullptr);
  IStream* Stream = nullptr;
  EXPECT_EQ(Storage->CreateStream(reinterpret_cast<LPCOLESTR>(u"donnees"), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &Stream),
            S_OK);
  if (Stream) Stream->Release();
  Storage->Release();
  EXPECT_EQ(Callback->QueryInsertObject(nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(Callback->QueryAcceptData(nullptr, nullptr, 0, TRUE, nullptr), S_OK);
  Callback->Release();
}

// Wine's object-properties dialog is a stub that reports it did nothing: the command answers no.
// Its insert-object dialog runs; cancelled, the command answers no and inserts nothing.
TEST_F(RichPopupTest, TheObjectDialogsAnswerWhatTheSystemDid) {
  ShowForm();
  Edit->Lines()->SetText("x");
  EXPECT_FALSE(Edit->ObjectPropertiesDialog()) << "no object selected";
  SelectRange(Edit, 1, 0);
  TTestOleObject* Object = InsertObject();
  SelectRange(Edit, 1, 1);
  String PropertiesTitle;
  std::shared_ptr<bool> StopWatching = CancelDialogWhenShown(PropertiesTitle);
  EXPECT_FALSE(Edit->ObjectPropertiesDialog());
  *StopWatching = true;
  EXPECT_TRUE(PropertiesTitle.empty()) << "no dialog showed: " << PropertiesTitle;
  SelectRange(Edit, 0, 0);
  String Title;
  StopWatching = CancelDialogWhenShown(Title);
  int Length = Edit->TextLength();
  EXPECT_FALSE(Edit->InsertObjectDialog());
  *StopWatching = true;
  EXPECT_FALSE(Title.empty()) << "the system's dialog showed";
  EXPECT_EQ(Edit->TextLength(), Length);
  Object->Release();
}

}  // namespace
