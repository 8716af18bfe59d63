// This file implements the rich-text editor window, TqvRichEditForm: a modal window on a copy of a
// rich-text control's content, with its menu bar, toolbar, format bar, ruler, rich edit and status
// bar; and TqvPageSetupDialog, the page-setup dialog of its margins, paper and orientation.
#pragma once

#include "Buttons.h"
#include "ComCtrls.h"
#include "CommonDialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImageList.h"
#include "ListControls.h"
#include "Menus.h"

class TqvCustomRichEdit;
class TqvRulerPanel;

// Copies the content of one rich edit into another (through a temporary file when the source's
// CopyThroughFile is 1); a source bound to a field whose content is not loaded yet gives it from
// the field.
void CopyRichContent(TqvCustomRichEdit* Source, TqvCustomRichEdit* Target);

class TqvPageSetupDialog : public TCommonDialog {
  VELBOR_DECLARE_CLASS(TqvPageSetupDialog, TCommonDialog)
 public:
  explicit TqvPageSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  // The control whose margins, paper size and orientation the dialog edits.
  TqvCustomRichEdit* RichEdit = nullptr;
  // Asked of a responder as "qvPageSetupDialog": Value the printer's name, Fields "MarginLeft",
  // "MarginTop", "MarginRight", "MarginBottom" (thousandths of the unit: hundredths of a millimetre
  // in centimetres, thousandths of an inch in inches), "Units" (1 millimetres, 2 inches),
  // "PaperSize", "Orientation" (0 portrait, 1 landscape). The answer gives the same fields.
  bool Execute() override;
};

class TqvRichEditForm : public TForm {
  VELBOR_DECLARE_CLASS(TqvRichEditForm, TForm)
 public:
  explicit TqvRichEditForm(TComponent* AOwner) : TForm(AOwner) {}

  // The components of the description.
  TBevel* ToolBarBevel = nullptr;
  TBevel* FormatBarBevel = nullptr;
  TBevel* RulerBevel = nullptr;
  TStatusBar* StatusBar = nullptr;
  TPanel* Toolbar = nullptr;
  TSpeedButton* NewButton = nullptr;
  TSpeedButton* LoadButton1 = nullptr;
  TSpeedButton* SaveAsButton = nullptr;
  TSpeedButton* PrintButton = nullptr;
  TSpeedButton* FindButton = nullptr;
  TSpeedButton* SpellButton = nullptr;
  TSpeedButton* CutButton = nullptr;
  TSpeedButton* CopyButton = nullptr;
  TSpeedButton* PasteButton = nullptr;
  TSpeedButton* UndoButton = nullptr;
  TSpeedButton* RedoButton = nullptr;
  TBevel* Bevel1 = nullptr;
  TBevel* ToolbarBevel1 = nullptr;
  TBevel* Bevel2 = nullptr;
  TBevel* UserButtonBevel = nullptr;
  TPanel* FormatBar = nullptr;
  TComboBox* FontNameCombo = nullptr;
  TComboBox* FontSizeCombo = nullptr;
  TSpeedButton* BoldButton = nullptr;
  TSpeedButton* ItalicButton = nullptr;
  TSpeedButton* UnderlineButton = nullptr;
  TSpeedButton* ColorButton = nullptr;
  TSpeedButton* LeftButton = nullptr;
  TSpeedButton* CenterButton = nullptr;
  TSpeedButton* RightButton = nullptr;
  TSpeedButton* JustifyButton = nullptr;
  TSpeedButton* BulletButton = nullptr;
  TSpeedButton* HighlightButton = nullptr;
  TBevel* Bevel3 = nullptr;
  TBevel* Bevel4 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* File1 = nullptr;
  TMenuItem* Load1 = nullptr;
  TMenuItem* SaveAs1 = nullptr;
  TMenuItem* SaveExit1 = nullptr;
  TMenuItem* FileSep1 = nullptr;
  TMenuItem* Print1 = nullptr;
  TMenuItem* PageSetup1 = nullptr;
  TMenuItem* FileSep2 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TMenuItem* Edit1 = nullptr;
  TMenuItem* Undo1 = nullptr;
  TMenuItem* Redo1 = nullptr;
  TMenuItem* EditSep1 = nullptr;
  TMenuItem* Cut1 = nullptr;
  TMenuItem* Copy1 = nullptr;
  TMenuItem* Paste1 = nullptr;
  TMenuItem* Clear1 = nullptr;
  TMenuItem* SelectAll1 = nullptr;
  TMenuItem* EditSep2 = nullptr;
  TMenuItem* Find1 = nullptr;
  TMenuItem* FindNext1 = nullptr;
  TMenuItem* Replace1 = nullptr;
  TMenuItem* View1 = nullptr;
  TMenuItem* Toolbar1 = nullptr;
  TMenuItem* FormatBar1 = nullptr;
  TMenuItem* StatusBar1 = nullptr;
  TMenuItem* Ruler1 = nullptr;
  TMenuItem* OptionsSep = nullptr;
  TMenuItem* Options1 = nullptr;
  TMenuItem* Insert1 = nullptr;
  TMenuItem* DateandTime1 = nullptr;
  TMenuItem* InsertObject1 = nullptr;
  TMenuItem* Format1 = nullptr;
  TMenuItem* Font1 = nullptr;
  TMenuItem* BulletStyle1 = nullptr;
  TMenuItem* Paragraph1 = nullptr;
  TMenuItem* Tabs1 = nullptr;
  TMenuItem* Help1 = nullptr;
  TMenuItem* Tools1 = nullptr;
  TMenuItem* Spelling1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TPrintDialog* PrintDialog1 = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;
  TImageList* ImageList1 = nullptr;

  // The control being edited, the editor's rich edit (named "RichEdit1") and the ruler.
  TqvCustomRichEdit* EditedControl() const { return FEditedControl; }
  TqvCustomRichEdit* RichEdit() const { return FRichEdit; }
  TqvRulerPanel* Ruler() const { return FRuler; }
  void Attach(TqvCustomRichEdit* Control, TqvCustomRichEdit* RichEdit, TqvRulerPanel* Ruler);

  // Shows the selection's formatting on the bars and enables the commands that apply.
  void UpdateControls();
  void UpdateLockIndicators();
  void ApplyInterfaceTexts();

  // Handlers the description binds.
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormResize(TObject* Sender);
  void FormKeyPress(TObject* Sender, char& Key);
  void FormKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  void RichEdit1SelectionChange(TObject* Sender);
  void FontNameComboDropDown(TObject* Sender);
  void FontNameComboCloseUp(TObject* Sender);
  void FontSizeComboCloseUp(TObject* Sender);
  void BoldButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void BoldButtonClick(TObject* Sender);
  void ItalicButtonClick(TObject* Sender);
  void UnderlineButtonClick(TObject* Sender);
  void AlignButtonClick(TObject* Sender);
  void JustifyButtonClick(TObject* Sender);
  void BulletButtonClick(TObject* Sender);
  void BulletStyle1Click(TObject* Sender);
  void HighlightButtonClick(TObject* Sender);
  void ColorButtonClick(TObject* Sender);
  void ColorItemClick(TObject* Sender);
  void ColorItemMeasure(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  void ColorItemDraw(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected);
  void UndoClick(TObject* Sender);
  void RedoClick(TObject* Sender);
  void CutClick(TObject* Sender);
  void CopyClick(TObject* Sender);
  void PasteClick(TObject* Sender);
  void ClearClick(TObject* Sender);
  void SelectAllClick(TObject* Sender);
  void FindClick(TObject* Sender);
  void FindNextClick(TObject* Sender);
  void ReplaceClick(TObject* Sender);
  void FontClick(TObject* Sender);
  void ParagraphClick(TObject* Sender);
  void TabsClick(TObject* Sender);
  void InsertObjectClick(TObject* Sender);
  void SpellCheckClick(TObject* Sender);
  void NewClick(TObject* Sender);
  void LoadClick(TObject* Sender);
  void SaveAsClick(TObject* Sender);
  void SaveExitClick(TObject* Sender);
  void PrintClick(TObject* Sender);
  void PageSetupClick(TObject* Sender);
  void ExitClick(TObject* Sender);
  void ToolbarClick(TObject* Sender);
  void FormatBarClick(TObject* Sender);
  void StatusBarClick(TObject* Sender);
  void RulerClick(TObject* Sender);

 private:
  void ShowHint(TObject* Sender);
  // Runs the bold, italic or underline button's command as if the button was down or up.
  void RunStyleButton(TSpeedButton* Button, bool WasDown);
  bool ReadOnly();
  void LoadGlyphs();
  void LayoutToolbar();

  bool FButtonWasDown = false;
  TNotifyEvent FSavedOnHint;
  TCanvas* FCanvas = nullptr;
  TWinControl* FUserButtonParent1 = nullptr;
  TWinControl* FUserButtonParent2 = nullptr;
  TqvCustomRichEdit* FEditedControl = nullptr;
  TqvCustomRichEdit* FRichEdit = nullptr;
  TqvRulerPanel* FRuler = nullptr;
};
