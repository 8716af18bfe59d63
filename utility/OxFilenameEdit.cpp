// This file implements TOxFileDirEdit and TOxFilenameEdit (see OxFilenameEdit.h).
#include "OxFilenameEdit.h"

#include "WinApi.h"

#include <memory>

#include "FileUtils.h"
#include "Format.h"
#include "OxDrawUtils.h"
#include "OxFileUtils.h"
#include "Resources.h"
#include "Strings.h"

namespace {
// The texts a new dialog starts with; a description stores them only when they were changed.
const char* const BrowseTitle = "Browse";
const char* const AllFilesFilter = "All files (*.*)|*.*";

// A name the shell hands over is at most this long.
constexpr UINT DroppedNameLength = 255;
}  // namespace

String QuoteFileName(const String& Name) {
  if (Name.find(' ') == String::npos || (!Name.empty() && Name[0] == '"')) return Name;
  return "\"" + Name + "\"";
}

String ClipFileName(const String& Text) {
  if (FileExists(Text)) return Text;
  String program, params;
  SplitCmdLine(Text, program, params);
  return program;
}

// --- TOxFileDirEdit -------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TOxFileDirEdit)
VELBOR_PUBLISHED(TOxFileDirEdit,
  Prop("AcceptFiles", &Self::AcceptFiles, &Self::SetAcceptFiles).Default(true),
  Prop("GlyphKind", &TOxCustomComboEdit::GlyphKind, &TOxCustomComboEdit::SetGlyphKind).Default(gkDefault),
  Prop("OnBeforeDialog", &Self::OnBeforeDialog),
  Prop("OnAfterDialog", &Self::OnAfterDialog),
  Prop("OnDropFiles", &Self::OnDropFiles))

TOxFileDirEdit::TOxFileDirEdit(TComponent* AOwner) : TOxCustomComboEdit(AOwner) {
  SetOEMConvert(true);
  // Counted as being created: the button takes the glyph's width directly.
  ControlState.Include(csCreating);
  SetGlyphKind(gkDefault);
  ControlState.Exclude(csCreating);
}

void TOxFileDirEdit::SetAcceptFiles(bool Value) {
  if (FAcceptFiles == Value) return;
  FAcceptFiles = Value;
  if (HandleAllocated() && !ComponentState().Contains(csDesigning)) DragAcceptFiles(FHandle, Value);
}

TBitmap* TOxFileDirEdit::DefaultGlyphBitmap(bool& DestroyAfter) {
  DestroyAfter = false;
  // Loaded once for the process, freed when the program ends.
  static std::unique_ptr<TBitmap> glyph;
  static bool tried = false;
  if (!tried) {
    tried = true;
    auto bitmap = std::make_unique<TBitmap>();
    try {
      bitmap->LoadFromResourceName(MainInstance(), "OX_FEDITBMP");
      glyph = std::move(bitmap);
    } catch (const EResNotFound&) {
      // A program built without the library's resources: a button without a picture.
    }
  }
  return glyph.get();
}

void TOxFileDirEdit::DoBeforeDialog(String& Name, bool& Action) {
  if (OnBeforeDialog) OnBeforeDialog(this, Name, Action);
}

void TOxFileDirEdit::DoAfterDialog(String& Name, bool& Action) {
  if (OnAfterDialog) OnAfterDialog(this, Name, Action);
}

void TOxFileDirEdit::CreateWnd() {
  TOxCustomComboEdit::CreateWnd();
  if (FAcceptFiles && !ComponentState().Contains(csDesigning)) DragAcceptFiles(FHandle, TRUE);
}

void TOxFileDirEdit::DestroyWnd() {
  if (FAcceptFiles && HandleAllocated() && !ComponentState().Contains(csDesigning)) DragAcceptFiles(FHandle, FALSE);
  TOxCustomComboEdit::DestroyWnd();
}

void TOxFileDirEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DROPFILES: WMDropFiles(Message); break;
    default: TOxCustomComboEdit::Dispatch(Message); break;
  }
}

void TOxFileDirEdit::WMDropFiles(TMessage& Message) {
  HDROP drop = reinterpret_cast<HDROP>(Message.WParam);
  // The shell's handle is given back whatever a name does below.
  struct TDropScope {
    HDROP Drop;
    ~TDropScope() { DragFinish(Drop); }
  } scope{drop};
  Message.Result = 0;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  if (count == 0) return;
  ClearFileNames();
  for (UINT i = 0; i < count; ++i) {
    char name[DroppedNameLength + 1] = {0};
    DragQueryFileA(drop, i, name, sizeof name);
    ReceiveFileName(name);
    if (!FMultipleNames) break;
  }
  if (OnDropFiles) OnDropFiles(this);
}

// --- TOxFilenameEdit ------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TOxFilenameEdit)
VELBOR_PUBLISHED(TOxFilenameEdit,
  Prop("DialogKind", &Self::DialogKind, &Self::SetDialogKind).Default(dkOpen),
  Prop("DefaultExt", &Self::DefaultExt, &Self::SetDefaultExt),
  Prop("FileEditStyle", &Self::FileEditStyle, &Self::SetFileEditStyle).Default(fsEdit),
  Prop("FileName", &Self::FileName, &Self::SetFileName),
  Prop("Filter", &Self::Filter, &Self::SetFilter).Stored(&Self::IsFilterStored),
  Prop("FilterIndex", &Self::FilterIndex, &Self::SetFilterIndex).Default(1),
  Prop("InitialDir", &Self::InitialDir, &Self::SetInitialDir),
  Prop("HistoryList", &Self::HistoryList, &Self::SetHistoryList),
  Prop("DialogOptions", &Self::DialogOptions, &Self::SetDialogOptions).Default(TOpenOptions{ofHideReadOnly}),
  Prop("DialogTitle", &Self::DialogTitle, &Self::SetDialogTitle).Stored(&Self::IsDialogTitleStored))

TOxFilenameEdit::TOxFilenameEdit(TComponent* AOwner) : TOxFileDirEdit(AOwner), FHistoryList(new TStringList()) {
  CreateEditDialog();
}

TOxFilenameEdit::~TOxFilenameEdit() { delete FHistoryList; }

void TOxFilenameEdit::CreateEditDialog() {
  // The platform has no picture dialogs of its own: the picture kinds use the plain ones.
  TOpenDialog* dialog = FDialogKind == dkSave || FDialogKind == dkSavePicture ? new TSaveDialog(this)
                                                                                : new TOpenDialog(this);
  if (!FDialog) {
    dialog->Title = BrowseTitle;
    dialog->Filter = AllFilesFilter;
    dialog->Options = {ofHideReadOnly};
  } else {
    dialog->DefaultExt = FDialog->DefaultExt;
    dialog->FileName = FDialog->FileName;
    dialog->Filter = FDialog->Filter;
    dialog->FilterIndex = FDialog->FilterIndex;
    dialog->InitialDir = FDialog->InitialDir;
    dialog->Files()->Assign(FDialog->Files());
    dialog->Options = FDialog->Options;
    dialog->Title = FDialog->Title;
    delete FDialog;
  }
  FDialog = dialog;
}

void TOxFilenameEdit::SetDialogKind(TFileDialogKind Value) {
  if (FDialogKind == Value) return;
  FDialogKind = Value;
  CreateEditDialog();
}

void TOxFilenameEdit::SetDialogOptions(TOpenOptions Value) {
  if (FDialog->Options == Value) return;
  FDialog->Options = Value;
  FMultipleNames = Value.Contains(ofAllowMultiSelect);
  if (!FMultipleNames) ClearFileNames();
}

TStrings* TOxFilenameEdit::HistoryList() const { return FHistoryList; }

void TOxFilenameEdit::SetHistoryList(TStrings* Value) { FHistoryList->Assign(Value); }

bool TOxFilenameEdit::IsDialogTitleStored() const { return FDialog->Title != BrowseTitle; }

bool TOxFilenameEdit::IsFilterStored() const { return FDialog->Filter != AllFilesFilter; }

String TOxFilenameEdit::FileName() const { return ClipFileName(Text()); }

void TOxFilenameEdit::SetFileName(const String& Value) {
  if (!Value.empty() && !FileNameIsValid(ClipFileName(Value))) {
    throw EComboEditError(Format("Nom de fichier incorrect - %s", {Value}));
  }
  SetText(QuoteFileName(Value));
  ClearFileNames();
}

String TOxFilenameEdit::GetLongName() { return LongFileNameOf(FileName()); }

String TOxFilenameEdit::GetShortName() { return ShortFileNameOf(FileName()); }

void TOxFilenameEdit::ReceiveFileName(const String& Name) {
  if (!FMultipleNames) {
    SetFileName(Name);
    return;
  }
  if (FDialog->Files()->Count() == 0) SetFileName(Name);
  FDialog->Files()->Add(Name);
}

void TOxFilenameEdit::ClearFileNames() { FDialog->Files()->Clear(); }

void TOxFilenameEdit::PressButton() {
  TOxFileDirEdit::PressButton();
  String name = FileName();
  bool action = true;
  DoBeforeDialog(name, action);
  if (action) {
    try {
      if (FileNameIsValid(name)) {
        String folder = ExtractFilePath(name);
        if (FolderExists(folder)) FDialog->InitialDir = folder;
        String file = ExtractFileName(name);
        if (file.empty() || !FileNameIsValid(file)) name.clear();
        FDialog->FileName = name;
      }
    } catch (const std::exception&) {
      // A name the file system cannot look at: the dialog starts from its own settings.
    }
    FDialog->HelpContext = HelpContext;
    // No system error box (a drive without a disk) while the dialog browses.
    UINT saved = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    struct TErrorModeScope {
      UINT Saved;
      ~TErrorModeScope() { SetErrorMode(Saved); }
    } scope{saved};
    action = FDialog->Execute();
    if (action) name = FDialog->FileName;
  }
  if (CanFocus()) SetFocus();
  DoAfterDialog(name, action);
  if (action) {
    SetText(QuoteFileName(name));
    FDialog->InitialDir = ExtractFilePath(FDialog->FileName);
  }
}

void RegisterOxFilenameEdit() { RegisterClass(TOxFilenameEdit::StaticClass()); }
