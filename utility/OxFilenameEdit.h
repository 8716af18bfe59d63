// This file implements the file-name edits: TOxFileDirEdit, a combo edit for names of files or
// folders that takes files dropped from the shell, shows the open-folder glyph on its button and
// surrounds its dialog with two events; and TOxFilenameEdit, whose button runs an open or save
// dialog and puts the chosen name into the text, in double quotes when it holds a blank.
#pragma once

#include "CommonDialogs.h"
#include "OxComboEdit.h"

class TStringList;

// Before the dialog Name is the name offered and clearing Action skips the dialog; after it Name
// is the name chosen and Action whether the text takes it.
using TExecOpenDialogEvent = TEvent<void(TObject* Sender, String& Name, bool& Action)>;

enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };
VELBOR_ENUM(TFileDialogKind, "dkOpen", "dkSave", "dkOpenPicture", "dkSavePicture")

enum TFileEditStyle { fsEdit, fsComboBox };
VELBOR_ENUM(TFileEditStyle, "fsEdit", "fsComboBox")

class TOxFileDirEdit : public TOxCustomComboEdit {
  VELBOR_DECLARE_CLASS(TOxFileDirEdit, TOxCustomComboEdit)
 public:
  explicit TOxFileDirEdit(TComponent* AOwner);

  // Properties.
  // Files dropped from the shell are taken (the window registers for them while this is set).
  bool AcceptFiles() const { return FAcceptFiles; }
  void SetAcceptFiles(bool Value);

  // Operations.
  // The long and the short (8.3) form of the entry's name, without its folder.
  virtual String GetLongName() = 0;
  virtual String GetShortName() = 0;

  TNotifyEvent OnDropFiles;
  TExecOpenDialogEvent OnBeforeDialog;
  TExecOpenDialogEvent OnAfterDialog;

 protected:
  // Takes one dropped name.
  virtual void ReceiveFileName(const String& Name) = 0;
  // Empties the list of names received.
  virtual void ClearFileNames() {}
  virtual void DoBeforeDialog(String& Name, bool& Action);
  virtual void DoAfterDialog(String& Name, bool& Action);
  // The shared open-folder bitmap; never freed by the caller.
  TBitmap* DefaultGlyphBitmap(bool& DestroyAfter) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMDropFiles(TMessage& Message);

  // The dialog allows several names.
  bool FMultipleNames = false;

 private:
  bool FAcceptFiles = true;
};

class TOxFilenameEdit : public TOxFileDirEdit {
  VELBOR_DECLARE_CLASS(TOxFilenameEdit, TOxFileDirEdit)
 public:
  explicit TOxFilenameEdit(TComponent* AOwner);
  ~TOxFilenameEdit() override;

  // Properties.
  // The text as a file name: an existing file of exactly that name, otherwise the program part of
  // the text read as a command line (quotes removed, arguments left out). Writing checks the name
  // (EComboEditError "Nom de fichier incorrect - %s" and nothing changes) and puts it in quotes
  // when it holds a blank; an empty name clears the text.
  String FileName() const;
  void SetFileName(const String& Value);
  // Changing the kind makes a new dialog that takes over the settings of the old one.
  TFileDialogKind DialogKind() const { return FDialogKind; }
  void SetDialogKind(TFileDialogKind Value);
  TOpenDialog* Dialog() const { return FDialog; }
  // The dialog's own settings.
  String DefaultExt() const { return FDialog->DefaultExt; }
  void SetDefaultExt(const String& Value) { FDialog->DefaultExt = Value; }
  String Filter() const { return FDialog->Filter; }
  void SetFilter(const String& Value) { FDialog->Filter = Value; }
  int FilterIndex() const { return FDialog->FilterIndex; }
  void SetFilterIndex(int Value) { FDialog->FilterIndex = Value; }
  String InitialDir() const { return FDialog->InitialDir; }
  void SetInitialDir(const String& Value) { FDialog->InitialDir = Value; }
  String DialogTitle() const { return FDialog->Title; }
  void SetDialogTitle(const String& Value) { FDialog->Title = Value; }
  TOpenOptions DialogOptions() const { return FDialog->Options; }
  void SetDialogOptions(TOpenOptions Value);
  // Kept for the form descriptions; the platform's file dialogs show neither.
  TFileEditStyle FileEditStyle() const { return FFileEditStyle; }
  void SetFileEditStyle(TFileEditStyle Value) { FFileEditStyle = Value; }
  TStrings* HistoryList() const;
  void SetHistoryList(TStrings* Value);

  // Operations.
  String GetLongName() override;
  String GetShortName() override;

 protected:
  void ReceiveFileName(const String& Name) override;
  void ClearFileNames() override;
  // Runs the dialog between OnBeforeDialog and OnAfterDialog.
  void PressButton() override;

 private:
  void CreateEditDialog();
  bool IsDialogTitleStored() const;
  bool IsFilterStored() const;

  TOpenDialog* FDialog = nullptr;
  TFileDialogKind FDialogKind = dkOpen;
  TFileEditStyle FFileEditStyle = fsEdit;
  TStringList* FHistoryList;
};

// The text of a name as the edit holds it: in double quotes when it holds a blank (unless it
// starts with one already).
String QuoteFileName(const String& Name);
// The file name a text stands for (see TOxFilenameEdit::FileName).
String ClipFileName(const String& Text);

// Registers the file-name edit with the form reader.
void RegisterOxFilenameEdit();
