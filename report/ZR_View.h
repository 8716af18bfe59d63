// This file implements the preview window of prepared pages: TzrPreviewForm, the window with its
// toolbar, scroll bars, page label and zoom menu (layout, painting, keys, mouse, wheel and scroll
// bars in ZR_View.cpp; its commands: find, open, save and export, print, page setup, help and close
// in ZR_ViewCommands.cpp); TzrPBox, the painter of the pages; TzrPreview, the panel that shows a
// preview window's panels inside another form; and TzrPreviewSearchForm, the find dialog.
#pragma once

#include <memory>

#include "CommonDialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "ScrollBox.h"
#include "StdCtrls.h"
#include "ZR_ClassWindows.h"
#include "ZR_Ctrls.h"

class TzrReport;
class TzrEMFPages;
class TzrPreviewForm;

// The page painter: the pages at the window's zoom, on grey, and the mouse over them.
class TzrPBox : public TPanel {
  VELBOR_DECLARE_CLASS(TzrPBox, TPanel)
 public:
  explicit TzrPBox(TComponent* AOwner);
  TzrPreviewForm* Preview = nullptr;
  bool Dragging = false;
  TPoint LastPos;
  int ClickedPage = 0;  // 1-based, 0: none
  bool SkipNextDown = false;
  // Paints now what the window's layout holds.
  void Paint() override;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void Dispatch(TMessage& Message) override;
  // protected messages
  void WMEraseBkgnd(TMessage& Message);
};

enum TzrZoomMode { zmScale = 0, zmPageWidth = 1, zmWholePage = 2, zmTwoPages = 3 };

class TzrPreviewForm : public TForm, public TzrPreviewWindow {
  VELBOR_DECLARE_CLASS(TzrPreviewForm, TForm)
  friend class TzrPBox;

 public:
  explicit TzrPreviewForm(TComponent* AOwner);
  ~TzrPreviewForm() override;

  // ---- Components of the description.
  TPanel* TopPanel = nullptr;
  TBevel* Bevel2 = nullptr;
  TPanel* Panel1 = nullptr;
  TzrTBButton* ZoomBtn = nullptr;
  TzrTBSeparator* zrTBSeparator1 = nullptr;
  TzrTBButton* LoadBtn = nullptr;
  TzrTBButton* SaveBtn = nullptr;
  TzrTBButton* PrintBtn = nullptr;
  TzrTBButton* PageSetupBtn = nullptr;
  TzrTBSeparator* zrTBSeparator2 = nullptr;
  TzrTBButton* FindBtn = nullptr;
  TzrTBButton* HelpBtn = nullptr;
  TzrTBSeparator* zrTBSeparator3 = nullptr;
  TzrTBButton* ExitBtn = nullptr;
  TPanel* PreviewPanel = nullptr;
  TScrollBox* ScrollBox1 = nullptr;
  TPanel* RPanel = nullptr;
  TScrollBar* VScrollBar = nullptr;
  TzrSpeedButton* PgUp = nullptr;
  TzrSpeedButton* PgDown = nullptr;
  TPanel* BPanel = nullptr;
  TBevel* Bevel1 = nullptr;
  TLabel* Label1 = nullptr;
  TBevel* Bevel3 = nullptr;
  TLabel* Label2 = nullptr;
  TScrollBar* HScrollBar = nullptr;
  TPopupMenu* ProcMenu = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* N3 = nullptr;
  TMenuItem* N4 = nullptr;
  TMenuItem* N5 = nullptr;
  TMenuItem* N6 = nullptr;
  TMenuItem* N7 = nullptr;
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;

  // ---- State.
  TzrReport* Report = nullptr;
  TzrEMFPages* Pages() const { return FPages.get(); }
  int CurrentPage = 1;
  int OffsetX = 0;
  int OffsetY = 0;
  int OldH = 0;
  int OldV = 0;
  double Scale = 1.0;
  int ZoomMode = zmScale;
  bool PaintAllowed = false;
  String FindText;
  bool CaseSensitive = false;
  bool TextFound = false;
  TRect FoundBounds;
  int ResumePage = 0;
  int ResumeOrdinal = 0;
  String SavedHelpFile;
  int WheelFactor = 1;
  TzrPBox* Painter = nullptr;
  TNotifyEvent PageChangedHook;
  bool Modal() const;

  // ---- Operations.
  // TzrPreviewWindow: takes the report's pages and shows them (modally when the report asks).
  void ShowReport(TzrReport* AReport, const String& Caption) override;
  void ApplyCaptions();
  void ApplyOptions();
  void ResetView(bool ToFirstPage);
  void ScrollToCurrentPage();
  void UpdatePageLabel();
  void SetButtonsGrayed(bool Value);
  // The report's prepared pages become the window's; the report gets an empty list.
  void AttachPages(TzrReport* AReport);
  // The window's pages go back to the report for an operation on them.
  void ReleasePages();
  void WheelScrollUp();
  void WheelScrollDown();
  // Goes to a page (1-based) as the page buttons do.
  void GoToPage(int Number);
  // The layout: the zoom, the pages' places, the scroll ranges.
  void Layout();
  // The layout's rectangle of a page (unscrolled pixels).
  TRect PageRect(int Index) const;
  int PagesPerRow() const { return FPagesPerRow; }

  // ---- Commands (ZR_ViewCommands.cpp).
  void FindAgain();
  void OpenPreparedFile(const String& FileName);
  void SavePreparedAs(const String& FileName);
  // The save dialog's filter text and the index it opens on.
  String SaveFilter() const;
  int DefaultSaveFilterIndex() const;

  // ---- Handlers.
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormDeactivate(TObject* Sender);
  void FormResize(TObject* Sender);
  void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void FormMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void VScrollBarChange(TObject* Sender);
  void HScrollBarChange(TObject* Sender);
  void HScrollBarEnter(TObject* Sender);
  void PgUpClick(TObject* Sender);
  void PgDownClick(TObject* Sender);
  void ZoomBtnClick(TObject* Sender);
  void N3Click(TObject* Sender);
  void LoadBtnClick(TObject* Sender);
  void SaveBtnClick(TObject* Sender);
  void PrintBtnClick(TObject* Sender);
  void PageSetupBtnClick(TObject* Sender);
  void FindBtnClick(TObject* Sender);
  void HelpBtnClick(TObject* Sender);
  void ExitBtnClick(TObject* Sender);
  void EditBtnClick(TObject* Sender);
  void NewPageBtnClick(TObject* Sender);
  void DelPageBtnClick(TObject* Sender);
  void ScrollBoxWheelUp(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
  void ScrollBoxWheelDown(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
  void PreviewPanelResize(TObject* Sender);

 protected:
  void Dispatch(TMessage& Message) override;
  // protected messages
  void CMDialogKey(TMessage& Message);

 private:
  // The highlight of the last hit, drawn over the page where it stands now.
  void ShowHit(int PageIndex);
  void MouseOnPainter(TMouseButton Button, int X, int Y);
  void HoverOnPainter(int X, int Y);
  int PageAt(int X, int Y) const;
  std::unique_ptr<TzrEMFPages> FPages;
  int FPagesPerRow = 1;
  bool FHelpMode = false;
};

// Shows a preview window's panels inside another form.
class TzrPreview : public TPanel, public TzrPreviewPanel {
  VELBOR_DECLARE_CLASS(TzrPreview, TPanel)
 public:
  explicit TzrPreview(TComponent* AOwner);
  ~TzrPreview() override;

  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool ShowToolbar() const { return FShowToolbar; }
  void SetShowToolbar(bool Value);
  TEvent<void(TzrPreview* Sender, int PageNo)> OnPageChanged;
  TzrPreviewForm* Window() const { return FWindow; }

  void AttachReport(TzrReport* Report);
  void ReleasePages();
  int CurrentPage() const;
  void DoPageChanged(TObject* Sender);
  // TzrPreviewPanel
  void Connect(TzrReport* Report) override { AttachReport(Report); }
  void Disconnect() override { ReleasePages(); }

 private:
  TzrPreviewForm* FWindow = nullptr;
  TScrollStyle FScrollBars = ssBoth;
  bool FShowToolbar = false;
};

// The last zoom chosen: every new preview starts from it.
extern double zrLastScale;
extern int zrLastScaleMode;

class TzrPreviewSearchForm : public TForm {
  VELBOR_DECLARE_CLASS(TzrPreviewSearchForm, TForm)
 public:
  explicit TzrPreviewSearchForm(TComponent* AOwner);
  TLabel* Label1 = nullptr;
  TEdit* Edit1 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TCheckBox* CB1 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TRadioButton* RB1 = nullptr;
  TRadioButton* RB2 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
};

// Registers the report engine's windows and controls by class name (once): the preview, progress
// and dialog windows, the export filters and the rich-text object; the password prompt becomes
// the password window.
void RegisterReportWindows();
// The engine's start-up in a program: the windows registered, the engine printer attached to the
// spooler at its first use. The rich-text editor window is made when first needed (zrRichForm):
// its font list asks the printer too.
void StartReportEngine();
