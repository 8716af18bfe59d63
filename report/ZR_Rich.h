// This file implements the rich-text report object TzrRichView: formatted text held in a rich
// edit, its bracketed expressions replaced by their values when the report is built, measured,
// split across pages and drawn with the rich edit's own formatting; TzrRichForm, the editor
// window whose rich edit every rich-text object shares for its work; and TzrRichObject, whose
// presence on a form makes the object available to templates.
//
// The view is built on the class library's rich edit over the platform's control; the data-aware
// rich-text library of the program does not take part in it.
#pragma once

#include "Component.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "ZR_ClassView.h"

class TzrSpeedButton;
class TzrComboBox;
class TzrFontComboBox;
class TOpenDialog;
class TSaveDialog;
class TFontDialog;

// Flag bit of a rich-text object whose text is printed as written.
inline constexpr int zrrfTextOnly = 0x10;

class TzrRichView : public TzrStretcheable {
  VELBOR_DECLARE_CLASS(TzrRichView, TzrStretcheable)
 public:
  TzrRichView();
  ~TzrRichView() override;

  // The object's own text, in a rich edit of the editor window.
  TRichEdit* RichEdit() const { return FRichEdit; }
  int StartPos = 0;
  int EndPos = 0;
  int PrintedPos = 0;
  bool WriteShared = false;

  static void CopyRichText(TRichEdit* Target, TRichEdit* Source);
  // Replaces every bracketed expression of the edit's text by its value (inserted text is not
  // scanned again).
  void SubstituteExpressions(TRichEdit* Edit);
  // Lays the text out from StartPos in the object's area (Draw: onto the canvas); EndPos becomes
  // the first character that did not fit.
  void FormatRich(bool Draw);
  // The smallest height in pixels that holds the text from StartPos (an empty text one line).
  int MeasureHeight();

  void PaintOnCanvas(TCanvas* ACanvas) override;
  void WriteToPreparedPage(TStream* Stream) override;
  void ReadRecord(TStream* Stream) override;
  void WriteRecord(TStream* Stream) override;
  void SaveToXml(TStream* Stream) override;
  void LoadFromBlobField(TField* Field) override;
  int CalcHeight() override;
  int OneLineHeight() override { return 8; }
  int LeftoverHeight() override;
  void SetProperty(const String& PropName, const Variant& Value) override;
  Variant GetProperty(const String& PropName) override;
  void ListProperties() override;
  // The editor window on the object's text; true when it was accepted.
  bool ShowEditor();

 private:
  void PrepareContent();
  TRichEdit* FRichEdit;
};

class TzrRichForm : public TForm {
  VELBOR_DECLARE_CLASS(TzrRichForm, TForm)
 public:
  explicit TzrRichForm(TComponent* AOwner);

  TPanel* SpeedBar = nullptr;
  TzrSpeedButton* OpenButton = nullptr;
  TzrSpeedButton* SaveButton = nullptr;
  TzrSpeedButton* UndoButton = nullptr;
  TzrSpeedButton* SpeedButton1 = nullptr;
  TzrSpeedButton* SpeedButton2 = nullptr;
  TzrSpeedButton* HelpBtn = nullptr;
  TzrSpeedButton* CancBtn = nullptr;
  TzrSpeedButton* OkBtn = nullptr;
  TzrSpeedButton* BoldButton = nullptr;
  TzrSpeedButton* ItalicButton = nullptr;
  TzrSpeedButton* UnderlineButton = nullptr;
  TzrSpeedButton* LeftAlign = nullptr;
  TzrSpeedButton* CenterAlign = nullptr;
  TzrSpeedButton* RightAlign = nullptr;
  TzrSpeedButton* BulletsButton = nullptr;
  TzrFontComboBox* FontName = nullptr;
  TzrComboBox* FontSize = nullptr;
  TPanel* Ruler = nullptr;
  TBevel* RulerLine = nullptr;
  TPaintBox* FirstInd = nullptr;
  TPaintBox* LeftInd = nullptr;
  TPaintBox* RightInd = nullptr;
  TRichEdit* RichEdit1 = nullptr;
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;
  TFontDialog* FontDialog1 = nullptr;

  // The attributes a style or font change goes to: the selection's, else the default ones.
  TTextAttributes* CurrentAttributes();
  void FillRuler();
  void SetEditMargins();
  void Localize();

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormResize(TObject* Sender);
  void FormPaint(TObject* Sender);
  void SelectionChange(TObject* Sender);
  void FileOpen(TObject* Sender);
  void FileSaveAs(TObject* Sender);
  void EditUndo(TObject* Sender);
  void SelectFont(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);
  void BoldButtonClick(TObject* Sender);
  void AlignButtonClick(TObject* Sender);
  void BulletsButtonClick(TObject* Sender);
  void FontNameChange(TObject* Sender);
  void FontSizeChange(TObject* Sender);
  void RulerResize(TObject* Sender);
  void RulerItemMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void RulerItemMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void FirstIndMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void LeftIndMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void RightIndMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void MarkerPaint(TObject* Sender);
  void OkBtnClick(TObject* Sender);
  void CancBtnClick(TObject* Sender);
  void HelpBtnClick(TObject* Sender);

 private:
  bool FUpdating = false;
  int FDragOffset = 0;
  bool FDragging = false;
};

// Its presence on a form makes rich-text objects available to templates.
class TzrRichObject : public TComponent {
  VELBOR_DECLARE_CLASS(TzrRichObject, TComponent)
 public:
  explicit TzrRichObject(TComponent* AOwner) : TComponent(AOwner) {}
};

// The editor window and its shared rich edit, made on first use (or at start-up).
TzrRichForm* zrRichForm();
// Registers the rich-text object and window classes, and the object with the add-in registry.
void RegisterRichTextWindows();
// The rich-text unit's start-up: the editor window is made (its font list filled).
void StartRichText();
