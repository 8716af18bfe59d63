// This file implements the rich-text editor window (TqvRichEditForm), the control's operation that
// opens it (ExecuteEditor), the copy of content between two rich edits and the page-setup dialog.
#include "qvrich.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "FileUtils.h"
#include "FloatFormat.h"
#include "StrUtils.h"
#include "Format.h"
#include "ScopeGuard.h"

#include "Colors.h"
#include "Dialogs.h"
#include "Printers.h"

#include "Qvintl.h"
#include "qvRichServices.h"
#include "qvRuler.h"
#include "qvTrackIcon.h"
#include "qvriched.h"

VELBOR_IMPLEMENT_CLASS(TqvRichEditForm)
VELBOR_HANDLERS(TqvRichEditForm, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormDestroy), VELBOR_HANDLER(FormShow),
                VELBOR_HANDLER(FormClose), VELBOR_HANDLER(FormCloseQuery), VELBOR_HANDLER(FormResize),
                VELBOR_HANDLER(FormKeyPress), VELBOR_HANDLER(FormKeyUp), VELBOR_HANDLER(RichEdit1SelectionChange),
                VELBOR_HANDLER(FontNameComboDropDown), VELBOR_HANDLER(FontNameComboCloseUp),
                VELBOR_HANDLER(FontSizeComboCloseUp), VELBOR_HANDLER(BoldButtonMouseDown),
                VELBOR_HANDLER(BoldButtonClick), VELBOR_HANDLER(ItalicButtonClick),
                VELBOR_HANDLER(UnderlineButtonClick), VELBOR_HANDLER(AlignButtonClick),
                VELBOR_HANDLER(JustifyButtonClick), VELBOR_HANDLER(BulletButtonClick),
                VELBOR_HANDLER(BulletStyle1Click), VELBOR_HANDLER(HighlightButtonClick),
                VELBOR_HANDLER(ColorButtonClick), VELBOR_HANDLER(UndoClick), VELBOR_HANDLER(RedoClick),
                VELBOR_HANDLER(CutClick), VELBOR_HANDLER(CopyClick), VELBOR_HANDLER(PasteClick),
                VELBOR_HANDLER(ClearClick), VELBOR_HANDLER(SelectAllClick), VELBOR_HANDLER(FindClick),
                VELBOR_HANDLER(FindNextClick), VELBOR_HANDLER(ReplaceClick), VELBOR_HANDLER(FontClick),
                VELBOR_HANDLER(ParagraphClick), VELBOR_HANDLER(TabsClick), VELBOR_HANDLER(InsertObjectClick),
                VELBOR_HANDLER(SpellCheckClick), VELBOR_HANDLER(NewClick), VELBOR_HANDLER(LoadClick),
                VELBOR_HANDLER(SaveAsClick), VELBOR_HANDLER(SaveExitClick), VELBOR_HANDLER(PrintClick),
                VELBOR_HANDLER(PageSetupClick), VELBOR_HANDLER(ExitClick), VELBOR_HANDLER(ToolbarClick),
                VELBOR_HANDLER(FormatBarClick), VELBOR_HANDLER(StatusBarClick), VELBOR_HANDLER(RulerClick))
VELBOR_FIELDS(TqvRichEditForm, VELBOR_FIELD(ToolBarBevel), VELBOR_FIELD(FormatBarBevel), VELBOR_FIELD(RulerBevel),
              VELBOR_FIELD(StatusBar), VELBOR_FIELD(Toolbar), VELBOR_FIELD(NewButton), VELBOR_FIELD(LoadButton1),
              VELBOR_FIELD(SaveAsButton), VELBOR_FIELD(PrintButton), VELBOR_FIELD(FindButton),
              VELBOR_FIELD(SpellButton), VELBOR_FIELD(CutButton), VELBOR_FIELD(CopyButton), VELBOR_FIELD(PasteButton),
              VELBOR_FIELD(UndoButton), VELBOR_FIELD(RedoButton), VELBOR_FIELD(Bevel1), VELBOR_FIELD(ToolbarBevel1),
              VELBOR_FIELD(Bevel2), VELBOR_FIELD(UserButtonBevel), VELBOR_FIELD(FormatBar),
              VELBOR_FIELD(FontNameCombo), VELBOR_FIELD(FontSizeCombo), VELBOR_FIELD(BoldButton),
              VELBOR_FIELD(ItalicButton), VELBOR_FIELD(UnderlineButton), VELBOR_FIELD(ColorButton),
              VELBOR_FIELD(LeftButton), VELBOR_FIELD(CenterButton), VELBOR_FIELD(RightButton),
              VELBOR_FIELD(JustifyButton), VELBOR_FIELD(BulletButton), VELBOR_FIELD(HighlightButton),
              VELBOR_FIELD(Bevel3), VELBOR_FIELD(Bevel4), VELBOR_FIELD(MainMenu1), VELBOR_FIELD(File1),
              VELBOR_FIELD(Load1), VELBOR_FIELD(SaveAs1), VELBOR_FIELD(SaveExit1), VELBOR_FIELD(FileSep1),
              VELBOR_FIELD(Print1), VELBOR_FIELD(PageSetup1), VELBOR_FIELD(FileSep2), VELBOR_FIELD(Exit1),
              VELBOR_FIELD(Edit1), VELBOR_FIELD(Undo1), VELBOR_FIELD(Redo1), VELBOR_FIELD(EditSep1),
              VELBOR_FIELD(Cut1), VELBOR_FIELD(Copy1), VELBOR_FIELD(Paste1), VELBOR_FIELD(Clear1),
              VELBOR_FIELD(SelectAll1), VELBOR_FIELD(EditSep2), VELBOR_FIELD(Find1), VELBOR_FIELD(FindNext1),
              VELBOR_FIELD(Replace1), VELBOR_FIELD(View1), VELBOR_FIELD(Toolbar1), VELBOR_FIELD(FormatBar1),
              VELBOR_FIELD(StatusBar1), VELBOR_FIELD(Ruler1), VELBOR_FIELD(OptionsSep), VELBOR_FIELD(Options1),
              VELBOR_FIELD(Insert1), VELBOR_FIELD(DateandTime1), VELBOR_FIELD(InsertObject1), VELBOR_FIELD(Format1),
              VELBOR_FIELD(Font1), VELBOR_FIELD(BulletStyle1), VELBOR_FIELD(Paragraph1), VELBOR_FIELD(Tabs1),
              VELBOR_FIELD(Help1), VELBOR_FIELD(Tools1), VELBOR_FIELD(Spelling1), VELBOR_FIELD(PopupMenu1),
              VELBOR_FIELD(PrintDialog1), VELBOR_FIELD(OpenDialog1), VELBOR_FIELD(SaveDialog1),
              VELBOR_FIELD(ImageList1))

VELBOR_IMPLEMENT_CLASS(TqvPageSetupDialog)

namespace {

// The description makes its components by class name.
struct TEditorClassRegistration {
  TEditorClassRegistration() {
    for (TClass Class : {TBevel::StaticClass(), TPanel::StaticClass(), TSpeedButton::StaticClass(),
                         TComboBox::StaticClass(), TStatusBar::StaticClass(), TMainMenu::StaticClass(),
                         TMenuItem::StaticClass(), TPopupMenu::StaticClass(), TPrintDialog::StaticClass(),
                         TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TImageList::StaticClass()})
      RegisterClass(Class);
  }
} EditorClassRegistration;

// Twips of a font size in points, and back (half points kept: 10.5 points is 210 twips).
int PointsToTwips(double Points) { return int(std::lround(Points * 20)); }
String TwipsToPoints(int Twips) {
  if (Twips % 20 == 0) return IntToStr(Twips / 20);
  return FloatToStr(std::round(Twips / 10.0) / 2);
}

// A menu caption without its "&" marks ("&&" is one "&").
String WithoutAccelerators(const String& Caption) {
  String Text;
  for (std::size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == '&' && i + 1 < Caption.size()) ++i;
    Text += Caption[i];
  }
  return Text;
}

void PlaceAfter(TControl* Control, const TControl* Before, int Gap) { Control->SetLeft(Before->Left() + Before->Width() + Gap); }

}  // namespace

// --- Content copy -----------------------------------------------------------------------------

void CopyRichContent(TqvCustomRichEdit* Source, TqvCustomRichEdit* Target) {
  TCursor SavedCursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  bool SavedLoading = Source->FLoading;
  Source->FLoading = true;
  TScopeGuard Restore([&] {
    Source->FLoading = SavedLoading;
    Screen->SetCursor(SavedCursor);
  });
  if (Source->GetField() != nullptr && !Source->IsDataLoaded()) {
    if (auto* DBTarget = dynamic_cast<TqvDBRichEdit*>(Target)) {
      DBTarget->LoadFromField(Source->GetField());
      return;
    }
    Source->LoadFromDataField();
  }
  if (Source->CopyThroughFile == 1) {
    String TempFile;
    if (!Source->CreateTempFileName(TempFile)) {
      MessageDlg("Fail to create temporary file.", mtError, {mbOK}, 0);
      return;
    }
    TScopeGuard Delete([&] { DeleteFileA(TempFile.c_str()); });
    Source->GetRichLines()->SaveToFile(TempFile);
    Target->GetRichLines()->LoadFromFile(TempFile);
    return;
  }
  TqvRichMemoryStream Content;
  Source->GetRichLines()->SaveToStream(&Content);
  Content.SetPosition(0);
  int TargetMax = Target->MaxLength();
  if (Source->MaxLength() > 0) Target->SetMaxLength(TargetMax + 1);
  TScopeGuard RestoreMax([&] { Target->SetMaxLength(TargetMax); });
  Target->LoadContent(&Content);
}

// --- Opening the editor -----------------------------------------------------------------------

bool TqvCustomRichEdit::ExecuteEditor() {
  TqvRichEditForm* Form = CreateForm<TqvRichEditForm>(Application);
  FEditorForm = Form;
  TCursor SavedCursor = Screen->Cursor();
  TqvCustomRichEdit* Editor = nullptr;
  TScopeGuard Done([&] {
    FEditorRichEdit = nullptr;
    FEditorForm = nullptr;
    Screen->SetCursor(SavedCursor);
    if (Editor && Editor->HandleAllocated()) Editor->GetRichLines()->Clear();
    Form->Free();
  });
  Screen->SetCursor(crHourGlass);
  LoadFromDataField();

  // The ruler and its markers.
  auto* Ruler = new TqvRulerPanel(this);
  Ruler->SetParent(Form);
  Ruler->SetTop(Form->FormatBar->Top() + Form->FormatBar->Height() + 10);
  Ruler->SetHeight(Form->PixelsPerInch < 97 ? 25 : 27);
  Ruler->SetAlign(alTop);
  Ruler->SetAlign(alNone);
  Ruler->SetBevelOuter(bvNone);
  Ruler->SetCaption(String());
  Ruler->UpdateRulerRect();
  auto* LeftMarker = new TqvTrackIcon(this);
  auto* RightMarker = new TqvTrackIcon(this);
  auto* FirstLineMarker = new TqvTrackIcon(this);
  TScopeGuard FreeRuler([&] {
    // The window forgets the ruler and the editor before they go: freeing the window realigns
    // and resizes what is left of it.
    Form->Attach(nullptr, nullptr, nullptr);
    if (Editor) Editor->OnSelectionChange = nullptr;
    delete LeftMarker;
    delete RightMarker;
    delete FirstLineMarker;
    delete Ruler;
  });
  for (TqvTrackIcon* Marker : {LeftMarker, RightMarker, FirstLineMarker}) Marker->SetParent(Ruler);
  LeftMarker->SetBitmapName("qvRulerUp");
  RightMarker->SetBitmapName("qvRulerUp");
  FirstLineMarker->SetBitmapName("qvRulerDown");
  Ruler->SetMarkers(LeftMarker, RightMarker, FirstLineMarker);

  // The editor's rich edit: of the control's own class.
  Editor = dynamic_cast<TqvCustomRichEdit*>(ClassType()->Create(Form));
  if (Editor == nullptr) return false;
  FEditorRichEdit = Editor;
  Ruler->SetRichEdit(Editor);
  if (UsesPrinterWidth()) Ruler->SetPrinterWidth(this);
  else Ruler->SetWidth(Form->ClientWidth());
  Ruler->UpdateRulerRect();
  TRect Strip = Ruler->RulerRect();
  int W = LeftMarker->Width() / 2;
  LeftMarker->SetBounds(Strip.Left - W, Strip.Bottom - LeftMarker->Height() + 4, LeftMarker->Width(), LeftMarker->Height());
  RightMarker->SetBounds(Strip.Right - W, Strip.Bottom - RightMarker->Height() + 4, RightMarker->Width(), RightMarker->Height());
  FirstLineMarker->SetBounds(Strip.Left - W + 10, Strip.Top - 2, FirstLineMarker->Width(), FirstLineMarker->Height());
  for (TqvTrackIcon* Marker : {LeftMarker, RightMarker, FirstLineMarker}) {
    Marker->MinValue = Strip.Left - W;
    Marker->MaxValue = Strip.Right - W;
    Marker->OnEndDrag = TNotifyEvent(Ruler, &TqvRulerPanel::MarkerDragged);
  }

  Editor->SetOleOptions(OleOptions());
  Editor->SetWordWrap(WordWrap());
  Editor->SetFont(Font());
  Editor->SetParent(Form);
  Editor->DefAttributes()->Assign(Font());
  Editor->SetPrintHeader(PrintHeader());
  Editor->SetPrintFooter(PrintFooter());
  Editor->OnPrintHeader = OnPrintHeader;
  Editor->OnPrintFooter = OnPrintFooter;
  Editor->MeasurementUnits = MeasurementUnits;
  Editor->OnInitDialog = OnInitDialog;
  Editor->SetPrintMargins(PrintMargins());
  Editor->SetEditWidth(EditWidth());
  Editor->SetPrintPageSize(PrintPageSize());
  Editor->HighlightColor = HighlightColor;
  Editor->SetMaxLength(MaxLength());
  Editor->SetAutoURLDetect(AutoURLDetect());
  Editor->OnURLOpen = OnURLOpen;
  Editor->SetScrollBars(ssVertical);
  Editor->SetBounds(0, Ruler->Height() + 62, 595, 330);
  Editor->SetHideSelection(false);
  Editor->SetTabOrder(3);
  Editor->WantTabs = true;
  Editor->WantReturns = true;
  Editor->OnSelectionChange = TNotifyEvent(Form, &TqvRichEditForm::RichEdit1SelectionChange);
  Editor->PopupOptions = TqvRichEditPopupOptions::FromBits(910);
  Editor->SetCaption("Edit Rich Text");
  Editor->SetName("RichEdit1");
  if (EditorOptions.Contains(reoUseBackColor)) Editor->SetColor(Color());
  if (Editor->UsesPrinterWidth() && Editor->FontDialogComponent())
    Editor->FontDialogComponent()->Options.Include(fdWysiwyg);
  if (qvrich::IsDesigning(this)) {
    Editor->EditorOptions = TqvRichEditOptions::FromBits(0xFFFF);
    Editor->TCustomRichEdit::SetReadOnly(false);
  } else {
    Editor->EditorOptions = EditorOptions;
    Editor->TCustomRichEdit::SetReadOnly(GetReadOnly());
  }
  Editor->SetSelStart(SelStart());

  Form->SetActiveControl(Editor);
  Form->SetCaption(EditorCaption);
  Form->Attach(this, Editor, Ruler);

  if (FEditorPosition->Width > 0) Form->SetWidth(FEditorPosition->Width);
  if (FEditorPosition->Height > 0) Form->SetHeight(FEditorPosition->Height);
  TRect Work;
  qvrich::GetWorkArea(Work);
  int Ppi = Screen->PixelsPerInch();
  int Left = FEditorPosition->Left > 0 ? FEditorPosition->Left : Work.Left + (Work.Width() - Form->Width() * Ppi / 96) / 2;
  int Top = FEditorPosition->Top > 0 ? FEditorPosition->Top : Work.Top + (Work.Height() - Form->Height() * Ppi / 96) / 2;
  Form->SetBounds(Left, Top, Form->Width(), Form->Height());

  DoCreateDialog(Form);
  bool Confirmed = Form->ShowModal() == mrOk;
  if (Confirmed) {
    if (Editor->Modified()) {
      EditModified();
      if (auto* Blob = dynamic_cast<TBlobField*>(GetField())) {
        TqvRichMemoryStream Content;
        Editor->SaveContent(&Content);
        Content.SetPosition(0);
        Blob->LoadFromStream(&Content);
      } else if (TField* Field = GetField()) {
        // Any other field takes the text: what the window showed as text is what it stores.
        auto* DB = dynamic_cast<TqvDBRichEdit*>(this);
        if (DB && DB->DataLink()->Editing()) Field->SetAsString(Editor->Text());
      } else {
        CopyRichContent(Editor, this);
      }
      DoCloseDialog(Form);
      SetModified(true);
    } else {
      DoCloseDialog(Form);
    }
    SetPrintMargins(Editor->PrintMargins());
    SetPrintPageSize(Editor->PrintPageSize());
  } else {
    DoCloseDialog(Form);
  }
  return Confirmed;
}

// --- The window -------------------------------------------------------------------------------

void TqvRichEditForm::Attach(TqvCustomRichEdit* Control, TqvCustomRichEdit* RichEdit, TqvRulerPanel* Ruler) {
  FEditedControl = Control;
  FRichEdit = RichEdit;
  FRuler = Ruler;
}

bool TqvRichEditForm::ReadOnly() { return FRichEdit->GetReadOnly(); }

void TqvRichEditForm::LoadGlyphs() {
  struct TGlyph {
    TSpeedButton* Button;
    const char* Name;
    TMenuItem* Item;
  };
  const TGlyph Glyphs[] = {
      {NewButton, "QVRE_NEW", nullptr},          {LoadButton1, "QVRE_LOAD", Load1},
      {SaveAsButton, "QVRE_SAVEAS", SaveAs1},    {PrintButton, "QVRE_PRINT", Print1},
      {FindButton, "QVRE_FIND", Find1},          {SpellButton, "QVRE_SPELL", Spelling1},
      {CutButton, "QVRE_CUT", Cut1},             {CopyButton, "QVRE_COPY", Copy1},
      {PasteButton, "QVRE_PASTE", Paste1},       {UndoButton, "QVRE_UNDO", Undo1},
      {RedoButton, "QVRE_REDO", Redo1},          {BoldButton, "QVRE_BOLD", nullptr},
      {ItalicButton, "QVRE_ITALIC", nullptr},    {UnderlineButton, "QVRE_UNDERLINE", nullptr},
      {ColorButton, "QVRE_COLOR", nullptr},      {LeftButton, "QVRE_LEFT", nullptr},
      {CenterButton, "QVRE_CENTER", nullptr},    {RightButton, "QVRE_RIGHT", nullptr},
      {JustifyButton, "QVRE_JUSTIFY", nullptr},  {BulletButton, "QVRE_BULLET", BulletStyle1},
      {HighlightButton, "QVRE_HIGHLIGHT", nullptr}};
  HINSTANCE Module = GetModuleHandleA(nullptr);
  ImageList1->SetWidth(16);
  ImageList1->SetHeight(16);
  for (const TGlyph& G : Glyphs) {
    TBitmap Picture;
    Picture.LoadFromResourceName(Module, G.Name);
    G.Button->SetGlyph(&Picture);
    if (G.Item) G.Item->SetImageIndex(ImageList1->AddMasked(&Picture, Picture.Canvas()->Pixels(0, 15)));
  }
}

void TqvRichEditForm::FormCreate(TObject*) {
  FCanvas = new TCanvas;
  LoadGlyphs();
}

void TqvRichEditForm::FormDestroy(TObject*) {
  delete FCanvas;
  FCanvas = nullptr;
}

void TqvRichEditForm::ShowHint(TObject*) { StatusBar->Panels()->Items(0)->SetText(GetLongHint(Application->Hint())); }

void TqvRichEditForm::UpdateLockIndicators() {
  TqvDBRichEditIntl* Texts = qvIntl->RichEdit();
  StatusBar->Panels()->Items(2)->SetText((GetKeyState(VK_NUMLOCK) & 1) ? Texts->NUMLockCaption : String());
  StatusBar->Panels()->Items(1)->SetText((GetKeyState(VK_CAPITAL) & 1) ? Texts->CAPLockCaption : String());
}

void TqvRichEditForm::LayoutToolbar() {
  if (!PrintButton->Visible()) Bevel1->SetLeft(Bevel1->Left() - PrintButton->Width());
  FindButton->SetLeft(Bevel1->Left() + 5);
  PlaceAfter(SpellButton, FindButton, 0);
  PlaceAfter(ToolbarBevel1, SpellButton->Visible() ? SpellButton : FindButton, 3);
  CutButton->SetLeft(ToolbarBevel1->Left() + 5);
  PlaceAfter(CopyButton, CutButton, 0);
  PlaceAfter(PasteButton, CopyButton, 0);
  PlaceAfter(Bevel2, PasteButton, 3);
  UndoButton->SetLeft(Bevel2->Left() + 5);
  PlaceAfter(RedoButton, UndoButton, 0);
  PlaceAfter(UserButtonBevel, RedoButton->Visible() ? RedoButton : UndoButton, 3);
  int Ppi = Screen->PixelsPerInch();
  if (!JustifyButton->Visible()) Bevel4->SetLeft(JustifyButton->Left() + 4);
  BulletButton->SetLeft(Bevel4->Left() + 5);
  HighlightButton->SetLeft(BulletButton->Left() + 24 * Ppi / 96);
}

void TqvRichEditForm::FormShow(TObject*) {
  // The colour menu draws its swatches.
  PopupMenu1->SetOwnerDraw(true);
  for (int i = 0; i < PopupMenu1->Items()->Count(); ++i) {
    TMenuItem* Item = PopupMenu1->Items()->Items(i);
    Item->OnClick = TNotifyEvent(this, &TqvRichEditForm::ColorItemClick);
    Item->OnMeasureItem = TMenuMeasureItemEvent(this, &TqvRichEditForm::ColorItemMeasure);
    Item->OnDrawItem = TMenuDrawItemEvent(this, &TqvRichEditForm::ColorItemDraw);
  }
  TMenuItem* Automatic = PopupMenu1->Items()->Items(PopupMenu1->Items()->Count() - 1);
  Automatic->Tag = ColorToRGB(FRichEdit->Font()->Color());

  FSavedOnHint = Application->OnHint;
  Application->OnHint = TNotifyEvent(this, &TqvRichEditForm::ShowHint);

  bool ControlModified = FEditedControl->Modified();
  CopyRichContent(FEditedControl, FRichEdit);
  FEditedControl->SetModified(ControlModified);
  Screen->SetCursor(crDefault);
  FRichEdit->SetGutterWidth(6);

  TStrings* Fonts = Screen->Fonts();
  FontNameCombo->Items()->Clear();
  TStrings* PrinterFonts = FRichEdit->UsesPrinterWidth() ? Printer()->Fonts() : nullptr;
  for (int i = 0; i < Fonts->Count(); ++i) {
    if (PrinterFonts && PrinterFonts->IndexOf(Fonts->Strings(i)) < 0) continue;
    FontNameCombo->Items()->Add(Fonts->Strings(i));
  }
  UpdateLockIndicators();
  UpdateControls();
  FRichEdit->SetModified(false);

  TqvRichEditOptions& Options = FRichEdit->EditorOptions;
  bool RO = ReadOnly();
  if (RO) {
    for (TqvRichEditOption O : {reoShowLoad, reoShowSaveAs, reoShowSaveExit, reoShowFormatBar, reoShowToolBar,
                                reoShowStatusBar, reoShowRuler, reoShowSpellCheck})
      Options.Exclude(O);
  }
  if (!qvrich::ClassInheritsFrom(FRichEdit->ClassType(), "TqvDBRichEditMSWord")) Options.Exclude(reoShowSpellCheck);
  Load1->SetVisible(Options.Contains(reoShowLoad));
  LoadButton1->SetVisible(Options.Contains(reoShowLoad));
  SaveAs1->SetVisible(Options.Contains(reoShowSaveAs));
  SaveAsButton->SetVisible(Options.Contains(reoShowSaveAs));
  Print1->SetVisible(Options.Contains(reoShowPrint));
  PrintButton->SetVisible(Options.Contains(reoShowPrint));
  bool Spell = Options.Contains(reoShowSpellCheck) && !RO;
  Tools1->SetVisible(Spell);
  Spelling1->SetVisible(Spell);
  SpellButton->SetVisible(Spell);
  JustifyButton->SetVisible(Options.Contains(reoShowJustifyButton) && !RO);
  bool Insert = Options.Contains(reoShowInsertObject) && !FRichEdit->OleOptions().Contains(reoDisableOLE) && !RO;
  Insert1->SetVisible(Insert);
  InsertObject1->SetVisible(Insert);
  FileSep2->SetVisible(Options.Contains(reoShowPrint) || Options.Contains(reoShowPageSetup));
  PageSetup1->SetVisible(Options.Contains(reoShowPageSetup));
  SaveExit1->SetVisible(Options.Contains(reoShowSaveExit));
  FileSep1->SetVisible(Options.Contains(reoShowLoad) || Options.Contains(reoShowSaveExit));
  LayoutToolbar();

  StatusBar->SetVisible(Options.Contains(reoShowStatusBar));
  FormatBar->SetVisible(Options.Contains(reoShowFormatBar));
  FormatBarBevel->SetVisible(Options.Contains(reoShowFormatBar));
  Toolbar->SetVisible(Options.Contains(reoShowToolBar));
  ToolBarBevel->SetVisible(Options.Contains(reoShowToolBar));
  FRuler->SetVisible(Options.Contains(reoShowRuler));
  RulerBevel->SetVisible(Options.Contains(reoShowRuler));
  if (RO) {
    Format1->SetVisible(false);
    View1->SetVisible(false);
    NewButton->SetVisible(false);
  }
  Toolbar1->SetChecked(Toolbar->Visible());
  FormatBar1->SetChecked(FormatBar->Visible());
  StatusBar1->SetChecked(StatusBar->Visible());
  Ruler1->SetChecked(FRuler->Visible());

  // Buttons the control lends to the toolbar, after the undo group.
  int Next = UndoButton->Left() + UndoButton->Width() + 32;
  if (TSpeedButton* B = FEditedControl->UserSpeedButton1()) {
    UserButtonBevel->SetVisible(true);
    FUserButtonParent1 = B->Parent();
    B->SetParent(Toolbar);
    B->SetBounds(Next, UndoButton->Top(), B->Width(), UndoButton->Height());
    B->SetFlat(Options.Contains(reoFlatButtons));
    B->SetVisible(true);
    Next = B->Left() + B->Width();
  }
  if (TSpeedButton* B = FEditedControl->UserSpeedButton2()) {
    UserButtonBevel->SetVisible(true);
    FUserButtonParent2 = B->Parent();
    B->SetParent(Toolbar);
    B->SetBounds(Next, UndoButton->Top(), B->Width(), UndoButton->Height());
    B->SetFlat(Options.Contains(reoFlatButtons));
    B->SetVisible(true);
  }

  if (!Options.Contains(reoFlatButtons)) {
    Toolbar->SetHeight(Toolbar->Height() + 4);
    FormatBar->SetHeight(FormatBar->Height() + 2);
    for (TPanel* Bar : {Toolbar, FormatBar}) {
      int Down = Bar == Toolbar ? 2 : 1;
      for (int i = 0; i < Bar->ControlCount(); ++i) {
        TControl* C = Bar->Controls(i);
        if (auto* Button = dynamic_cast<TSpeedButton*>(C)) {
          Button->SetTop(Button->Top() + Down);
          Button->SetMargin(std::max(Button->Margin() - 1, -1));
          Button->SetFlat(false);
        } else if (auto* Bevel = dynamic_cast<TBevel*>(C)) {
          Bevel->SetVisible(false);
        }
      }
    }
  }
  int Ppi = Screen->PixelsPerInch();
  if (Ppi != 96) {
    SetClientWidth(ClientWidth() * Ppi / 96);
    SetClientHeight(ClientHeight() * Ppi / 96);
    for (int i = 1; i <= 3; ++i) {
      TStatusPanel* Panel = StatusBar->Panels()->Items(i);
      Panel->SetWidth(Panel->Width() * Ppi / 96);
    }
  }
  ApplyInterfaceTexts();
  FRichEdit->DoInitDialog(this);
  FormResize(this);
  if (Options.Contains(reoShowMainMenuIcons)) MainMenu1->SetImages(ImageList1);
}

void TqvRichEditForm::ApplyInterfaceTexts() {
  TqvDBRichEditIntl* T = qvIntl->RichEdit();
  TqvRichEditMenuLabels* M = T->MenuLabels();
  if (FRichEdit->EditorOptions.Contains(reoShowHints)) {
    struct THinted {
      TControl* Control;
      String Hint;
      TMenuItem* Item;
    };
    String Redo = T->RedoButtonHint.empty() ? String("Redo | Reverses the last undo action") : T->RedoButtonHint;
    const THinted Hinted[] = {
        {FontNameCombo, T->FontNameComboHint, nullptr}, {FontSizeCombo, T->FontSizeComboHint, nullptr},
        {NewButton, T->NewButtonHint, nullptr},          {LoadButton1, T->LoadButtonHint, Load1},
        {SaveAsButton, T->SaveAsButtonHint, SaveAs1},    {PrintButton, T->PrintButtonHint, Print1},
        {FindButton, T->FindButtonHint, Find1},          {CutButton, T->CutButtonHint, Cut1},
        {CopyButton, T->CopyButtonHint, Copy1},          {UndoButton, T->UndoButtonHint, Undo1},
        {RedoButton, Redo, Redo1},                       {PasteButton, T->PasteButtonHint, Paste1},
        {BoldButton, T->BoldButtonHint, nullptr},        {ColorButton, T->ColorButtonHint, nullptr},
        {UnderlineButton, T->UnderlineButtonHint, nullptr}, {ItalicButton, T->ItalicButtonHint, nullptr},
        {LeftButton, T->LeftButtonHint, nullptr},        {CenterButton, T->CenterButtonHint, nullptr},
        {RightButton, T->RightButtonHint, nullptr},      {JustifyButton, T->JustifyButtonHint, nullptr},
        {BulletButton, T->BulletButtonHint, BulletStyle1}, {HighlightButton, T->HighlightButtonHint, nullptr},
        {SpellButton, T->SpellCheckHint, Spelling1}};
    for (const THinted& H : Hinted) {
      H.Control->Hint = H.Hint;
      H.Control->SetShowHint(true);
      if (H.Item) H.Item->Hint = H.Hint;
    }
    SaveExit1->Hint = T->SaveExitHint;
    PageSetup1->Hint = T->PageSetupHint;
    Exit1->Hint = T->ExitHint;
    Clear1->Hint = T->ClearHint;
    SelectAll1->Hint = T->SelectAllHint;
    FindNext1->Hint = T->FindNextHint;
    Replace1->Hint = T->ReplaceHint;
    InsertObject1->Hint = T->InsertObjectHint;
    Toolbar1->Hint = T->ToolbarHint;
    FormatBar1->Hint = T->FormatBarHint;
    StatusBar1->Hint = T->ViewStatusBarHint;
    Options1->Hint = T->OptionsHint;
    Font1->Hint = T->FontHint;
    Paragraph1->Hint = T->ParagraphHint;
    Tabs1->Hint = T->TabsHint;
  } else {
    Application->OnHint = TNotifyEvent();
  }
  auto Or = [](const String& Text, const char* Fallback) { return Text.empty() ? String(Fallback) : Text; };
  File1->SetCaption(M->FileCaption);
  Load1->SetCaption(M->LoadCaption);
  SaveAs1->SetCaption(M->SaveAsCaption);
  SaveExit1->SetCaption(M->SaveExitCaption);
  Print1->SetCaption(M->PrintCaption);
  PageSetup1->SetCaption(M->PageSetupCaption);
  Exit1->SetCaption(M->ExitCaption);
  Edit1->SetCaption(M->EditCaption);
  Undo1->SetCaption(M->UndoCaption);
  Redo1->SetCaption(Or(M->RedoCaption, "&Redo"));
  Cut1->SetCaption(M->CutCaption);
  Copy1->SetCaption(M->CopyCaption);
  Paste1->SetCaption(M->PasteCaption);
  Clear1->SetCaption(M->ClearCaption);
  SelectAll1->SetCaption(M->SelectallCaption);
  Find1->SetCaption(M->FindCaption);
  FindNext1->SetCaption(M->FindNextCaption);
  Replace1->SetCaption(M->ReplaceCaption);
  Insert1->SetCaption(Or(M->InsertCaption, "&Insert"));
  InsertObject1->SetCaption(M->InsertObjectCaption);
  Spelling1->SetCaption(M->SpellCheckCaption);
  Ruler1->SetCaption(Or(M->RulerCaption, "&Ruler"));
  View1->SetCaption(M->ViewCaption);
  Toolbar1->SetCaption(M->ToolbarCaption);
  FormatBar1->SetCaption(M->FormatBarCaption);
  StatusBar1->SetCaption(M->ViewStatusBarCaption);
  Options1->SetCaption(M->OptionsCaption);
  Format1->SetCaption(M->FormatCaption);
  Tools1->SetCaption(M->ToolCaption);
  Font1->SetCaption(M->FontCaption);
  BulletStyle1->SetCaption(M->BulletStyleCaption);
  Paragraph1->SetCaption(M->ParagraphCaption);
  Tabs1->SetCaption(M->TabsCaption);
  Help1->SetCaption(M->HelpCaption);
}

void TqvRichEditForm::FormResize(TObject*) {
  if (FRichEdit == nullptr || FRuler == nullptr) return;
  FRichEdit->FInResize = true;
  TScopeGuard Done([&] { FRichEdit->FInResize = false; });
  try {
    int Ppi = Screen->PixelsPerInch();
    int Width = ClientWidth();
    if (!FRichEdit->UsesPrinterWidth()) {
      FRuler->SetWidth(Width);
      FRuler->UpdateRulerRect();
    }
    StatusBar->Panels()->Items(0)->SetWidth(std::max(Width - 90 * Ppi / 96, 0));
    int Y = 0;
    if (Toolbar->Visible()) Y += Toolbar->Height() + 2;
    if (FormatBar->Visible()) Y += FormatBar->Height() + 2;
    if (FRuler->Visible()) {
      RulerBevel->SetBounds(0, Y, Width, 2);
      FRuler->SetTop(Y + 2);
      Y += FRuler->Height() + 2;
    }
    int StatusHeight = StatusBar->Visible() ? StatusBar->Height() : 0;
    FRichEdit->SetBounds(0, Y, Width, std::max(ClientHeight() - Y - StatusHeight, 0));
    if (TqvTrackIcon* Right = FRuler->RightMarker())
      Right->MaxValue = FRuler->RulerRect().Right - Right->Width() / 2;
    FRuler->FollowParagraph();
    if (StatusBar->Visible()) StatusBar->SetBounds(0, FRichEdit->Top() + FRichEdit->Height(), Width, StatusHeight);
    if (FRichEdit->UsesPrinterWidth()) {
      FRichEdit->SetWidth(FRichEdit->Width() + 1);
      FRichEdit->SetWidth(FRichEdit->Width() - 1);
    }
    FRichEdit->SetEditRect();
  } catch (const Exception&) {
    MessageDlg("Error in resize", mtError, {mbOK}, 0);
  }
  Done.Dismiss();
  FRichEdit->FInResize = false;
  FRichEdit->Invalidate();
}

void TqvRichEditForm::UpdateControls() {
  if (FRichEdit == nullptr || !FRichEdit->HandleAllocated() || !FRichEdit->Visible()) return;
  CHARFORMAT2A Format = FRichEdit->GetSelCharFormat();
  BoldButton->SetDown((Format.dwEffects & CFE_BOLD) != 0);
  ItalicButton->SetDown((Format.dwEffects & CFE_ITALIC) != 0);
  UnderlineButton->SetDown((Format.dwEffects & CFE_UNDERLINE) != 0);
  String Face = Format.szFaceName;
  int FaceIndex = FontNameCombo->Items()->IndexOf(Face);
  if (FaceIndex >= 0) {
    qvrich::ComboSetItemIndex(FontNameCombo, FaceIndex);
    FontNameCombo->Font()->SetColor(clWindowText);
  } else {
    FontNameCombo->SetText(Face);
    FontNameCombo->Font()->SetColor(clRed);
  }
  String Size = (Format.dwMask & CFM_SIZE) ? TwipsToPoints(int(Format.yHeight)) : String();
  int SizeIndex = FontSizeCombo->Items()->IndexOf(Size);
  if (SizeIndex >= 0) qvrich::ComboSetItemIndex(FontSizeCombo, SizeIndex);
  else FontSizeCombo->SetText(Size);
  bool Bullet = FRichEdit->Paragraph()->Numbering() != nsNone;
  BulletButton->SetDown(Bullet);
  BulletStyle1->SetChecked(Bullet);
  HighlightButton->SetDown(ColorToRGB(FRichEdit->GetSelBackColor()) == ColorToRGB(FRichEdit->HighlightColor));
  switch (FRichEdit->GetParaAlignment()) {
    case qpaLeft: LeftButton->SetDown(true); break;
    case qpaCenter: CenterButton->SetDown(true); break;
    case qpaRight: RightButton->SetDown(true); break;
    case qpaJustify: JustifyButton->SetDown(true); break;
  }
  bool RO = ReadOnly();
  bool Paste = FRichEdit->CanPaste() && !RO;
  Paste1->SetEnabled(Paste);
  PasteButton->SetEnabled(Paste);
  Undo1->SetEnabled(FRichEdit->CanUndo());
  UndoButton->SetEnabled(FRichEdit->CanUndo());
  Redo1->SetEnabled(FRichEdit->CanRedo());
  RedoButton->SetEnabled(FRichEdit->CanRedo());
  bool Selected = FRichEdit->HasSelection();
  Cut1->SetEnabled(Selected && !RO);
  CutButton->SetEnabled(Selected && !RO);
  Clear1->SetEnabled(Selected && !RO);
  Copy1->SetEnabled(Selected);
  CopyButton->SetEnabled(Selected);
  bool HasText = FRichEdit->TextLength() > 0;
  SelectAll1->SetEnabled(HasText);
  Find1->SetEnabled(HasText);
  FindButton->SetEnabled(HasText);
  FindNext1->SetEnabled(FRichEdit->CanFindNext());
  Replace1->SetEnabled(HasText && !RO);
  if (FRuler) FRuler->FollowParagraph();
}

void TqvRichEditForm::RichEdit1SelectionChange(TObject*) { UpdateControls(); }

// --- Commands ---------------------------------------------------------------------------------

void TqvRichEditForm::BoldButtonMouseDown(TObject* Sender, TMouseButton, TShiftState, int, int) {
  if (auto* Button = dynamic_cast<TSpeedButton*>(Sender)) FButtonWasDown = Button->Down();
}

void TqvRichEditForm::RunStyleButton(TSpeedButton* Button, bool WasDown) {
  FButtonWasDown = WasDown;
  if (Button == BoldButton) BoldButtonClick(Button);
  else if (Button == ItalicButton) ItalicButtonClick(Button);
  else if (Button == UnderlineButton) UnderlineButtonClick(Button);
}

void TqvRichEditForm::BoldButtonClick(TObject*) {
  FRichEdit->ToggleSelEffect(0, !FButtonWasDown);
  UpdateControls();
}

void TqvRichEditForm::ItalicButtonClick(TObject*) {
  FRichEdit->ToggleSelEffect(1, !FButtonWasDown);
  UpdateControls();
}

void TqvRichEditForm::UnderlineButtonClick(TObject*) {
  FRichEdit->ToggleSelEffect(2, !FButtonWasDown);
  UpdateControls();
}

void TqvRichEditForm::AlignButtonClick(TObject* Sender) {
  TqvParaAlignment Alignment = Sender == CenterButton ? qpaCenter : Sender == RightButton ? qpaRight : qpaLeft;
  FRichEdit->SetParaFormat(1, Alignment, false, 0, 0, 0, 0, nullptr, 0, 0, 0, 0);
  UpdateControls();
}

void TqvRichEditForm::JustifyButtonClick(TObject*) {
  FRichEdit->SetParaFormat(1, qpaJustify, false, 0, 0, 0, 0, nullptr, 0, 0, 0, 0);
  UpdateControls();
}

void TqvRichEditForm::BulletButtonClick(TObject*) {
  FRichEdit->SetBullet(!FButtonWasDown);
  UpdateControls();
}

void TqvRichEditForm::BulletStyle1Click(TObject*) {
  FButtonWasDown = FRichEdit->Paragraph()->Numbering() != nsNone;
  BulletButtonClick(BulletStyle1);
}

void TqvRichEditForm::HighlightButtonClick(TObject*) {
  if (HighlightButton->Down()) FRichEdit->SetSelBackColor(FRichEdit->HighlightColor);
  else FRichEdit->SetSelBackColor(TColor(-1));
  UpdateControls();
}

void TqvRichEditForm::ColorButtonClick(TObject*) {
  TPoint At = ColorButton->ClientToScreen(TPoint(-1, ColorButton->Height()));
  PopupMenu1->Popup(At.X, At.Y);
}

void TqvRichEditForm::ColorItemClick(TObject* Sender) {
  if (auto* Item = dynamic_cast<TMenuItem*>(Sender)) FRichEdit->SelAttributes()->SetColor(TColor(Item->Tag));
  UpdateControls();
}

void TqvRichEditForm::ColorItemMeasure(TObject* Sender, TCanvas*, int& Width, int& Height) {
  auto* Item = dynamic_cast<TMenuItem*>(Sender);
  if (Item == nullptr) return;
  NONCLIENTMETRICSA Metrics{};
  Metrics.cbSize = sizeof(Metrics);
  TOwnedFont MenuFont(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(Metrics), &Metrics, 0)
                          ? CreateFontIndirectA(&Metrics.lfMenuFont)
                          : nullptr);
  TWindowDC Screen;
  TSelectedObject Selected(Screen, MenuFont ? HGDIOBJ(MenuFont.Get()) : GetStockObject(SYSTEM_FONT));
  String Caption = WithoutAccelerators(Item->Caption());
  SIZE Extent{};
  GetTextExtentPoint32A(Screen, Caption.c_str(), int(Caption.size()), &Extent);
  Height = Extent.cy + 2;
  Width = Extent.cx + 45;
}

void TqvRichEditForm::ColorItemDraw(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected) {
  auto* Item = dynamic_cast<TMenuItem*>(Sender);
  if (Item == nullptr) return;
  ACanvas->Brush()->SetColor(Selected ? clHighlight : clBtnFace);
  ACanvas->Font()->SetColor(Selected ? clHighlightText : clWindowText);
  ACanvas->FillRect(ARect);
  TRect Swatch(ARect.Left + 3, ARect.Top + 2, ARect.Left + 43, ARect.Bottom - 2);
  ACanvas->Brush()->SetColor(TColor(Item->Tag));
  ACanvas->FillRect(Swatch);
  ACanvas->Brush()->SetColor(clBlack);
  ACanvas->FrameRect(Swatch);
  ACanvas->Brush()->SetStyle(bsClear);
  TRect Text(Swatch.Right + 3, ARect.Top, ARect.Right, ARect.Bottom);
  String Caption = WithoutAccelerators(Item->Caption());
  RECT R{Text.Left, Text.Top, Text.Right, Text.Bottom};
  DrawTextA(ACanvas->Handle(), Caption.c_str(), int(Caption.size()), &R, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TqvRichEditForm::UndoClick(TObject*) {
  FRichEdit->SendRich(EM_UNDO);
  UpdateControls();
}

void TqvRichEditForm::RedoClick(TObject*) {
  FRichEdit->SendRich(EM_REDO);
  UpdateControls();
}

void TqvRichEditForm::CutClick(TObject*) { FRichEdit->CutToClipboard(); }
void TqvRichEditForm::CopyClick(TObject*) { FRichEdit->CopyToClipboard(); }
void TqvRichEditForm::PasteClick(TObject*) { FRichEdit->PasteFromClipboard(); }
void TqvRichEditForm::ClearClick(TObject*) { FRichEdit->ClearSelection(); }
void TqvRichEditForm::SelectAllClick(TObject*) { FRichEdit->SelectAll(); }
void TqvRichEditForm::FindClick(TObject*) { FRichEdit->ShowFindDialog(); }
void TqvRichEditForm::FindNextClick(TObject*) { FRichEdit->FindNext(); }
void TqvRichEditForm::ReplaceClick(TObject*) { FRichEdit->ShowReplaceDialog(); }

void TqvRichEditForm::FontClick(TObject*) {
  FRichEdit->ShowFontDialog();
  UpdateControls();
}

void TqvRichEditForm::ParagraphClick(TObject*) {
  if (FRichEdit->ShowParagraphDialog()) FRuler->FollowParagraph();
}

void TqvRichEditForm::TabsClick(TObject*) { FRichEdit->ShowTabsDialog(); }
void TqvRichEditForm::InsertObjectClick(TObject*) { FRichEdit->InsertObjectDialog(); }
void TqvRichEditForm::SpellCheckClick(TObject*) { FRichEdit->SpellCheck(); }

void TqvRichEditForm::NewClick(TObject*) {
  if (MessageDlg(qvIntl->UserMessages()->RichEditClearWarning, mtConfirmation, mbOKCancel, 0) != mrOk) return;
  FRichEdit->Clear();
  FRichEdit->SetModified(true);
}

void TqvRichEditForm::LoadClick(TObject*) {
  bool DoDefault = true;
  if (FRichEdit->OnMenuLoadClick) FRichEdit->OnMenuLoadClick(this, FRichEdit, DoDefault);
  if (!DoDefault || !OpenDialog1->Execute()) return;
  FRichEdit->Lines()->LoadFromFile(OpenDialog1->FileName);
  FRichEdit->SetFocus();
}

void TqvRichEditForm::SaveAsClick(TObject*) {
  bool DoDefault = true;
  if (FRichEdit->OnMenuSaveAsClick) FRichEdit->OnMenuSaveAsClick(this, FRichEdit, DoDefault);
  if (!DoDefault || !SaveDialog1->Execute()) return;
  String Name = SaveDialog1->FileName;
  if (FileExists(Name) &&
      MessageDlg(Format("OK to overwrite %s", {Name}), mtConfirmation, mbYesNoCancel, 0) != mrYes)
    return;
  bool Text = SaveDialog1->FilterIndex == 2;
  FRichEdit->PlainText = Text;
  TScopeGuard Back([&] { FRichEdit->PlainText = false; });
  FRichEdit->Lines()->SaveToFile(Name);
}

void TqvRichEditForm::SaveExitClick(TObject*) {
  bool DoDefault = true;
  if (FRichEdit->OnMenuSaveAndExitClick) FRichEdit->OnMenuSaveAndExitClick(this, FRichEdit, DoDefault);
  if (DoDefault) SetModalResult(mrOk);
}

void TqvRichEditForm::PrintClick(TObject*) {
  bool DoDefault = true;
  if (FRichEdit->OnMenuPrintClick) FRichEdit->OnMenuPrintClick(this, FRichEdit, DoDefault);
  if (!DoDefault) return;
  PrintDialog1->Collate = true;
  if (PrintDialog1->Execute()) FRichEdit->Print(FEditedControl->PrintJobName);
}

void TqvRichEditForm::PageSetupClick(TObject*) {
  TqvPageSetupDialog Dialog(nullptr);
  Dialog.RichEdit = FRichEdit;
  if (!Dialog.Execute()) return;
  if (FRichEdit->UsesPrinterWidth()) {
    FRuler->SetPrinterWidth(FRichEdit);
    FRuler->FollowParagraph();
    FRuler->Invalidate();
  } else {
    FRichEdit->SetEditRect();
  }
}

void TqvRichEditForm::ExitClick(TObject*) { SetModalResult(mrCancel); }

void TqvRichEditForm::ToolbarClick(TObject*) {
  bool Show = !Toolbar->Visible();
  ToolBarBevel->SetVisible(Show);
  Toolbar->SetVisible(Show);
  if (FormatBar->Visible()) {
    // The toolbar stays above the format bar.
    FormatBarBevel->SetTop(Toolbar->Top() + Toolbar->Height());
    FormatBar->SetTop(FormatBarBevel->Top() + FormatBarBevel->Height());
  }
  Toolbar1->SetChecked(Show);
  FormResize(this);
}

void TqvRichEditForm::FormatBarClick(TObject*) {
  bool Show = !FormatBar->Visible();
  FormatBarBevel->SetVisible(Show);
  FormatBar->SetVisible(Show);
  FormatBar1->SetChecked(Show);
  FormResize(this);
}

void TqvRichEditForm::StatusBarClick(TObject*) {
  StatusBar->SetVisible(!StatusBar->Visible());
  StatusBar1->SetChecked(StatusBar->Visible());
  FormResize(this);
}

void TqvRichEditForm::RulerClick(TObject*) {
  FRuler->SetVisible(!FRuler->Visible());
  RulerBevel->SetVisible(FRuler->Visible());
  Ruler1->SetChecked(FRuler->Visible());
  FormResize(this);
}

void TqvRichEditForm::FontNameComboDropDown(TObject*) { FontNameCombo->Font()->SetColor(clWindowText); }

void TqvRichEditForm::FontNameComboCloseUp(TObject*) {
  int Index = FontNameCombo->ItemIndex();
  if (Index >= 0) {
    String Name = FontNameCombo->Items()->Strings(Index);
    CHARFORMAT2A Current = FRichEdit->GetSelCharFormat();
    if (Name != Current.szFaceName) {
      CHARFORMAT2A Format{};
      Format.cbSize = sizeof(Format);
      Format.dwMask = CFM_FACE | CFM_CHARSET;
      lstrcpynA(Format.szFaceName, Name.c_str(), LF_FACESIZE);
      Format.bCharSet = BYTE(FRichEdit->GetFontCharset(Name));
      FRichEdit->EditModified();
      FRichEdit->SendRich(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&Format));
    }
  }
  if (FRichEdit->CanFocus()) FRichEdit->SetFocus();
  UpdateControls();
}

// A size in points, halves included ("10,5"); a text that is no number raises the conversion
// error of the platform.
void TqvRichEditForm::FontSizeComboCloseUp(TObject*) {
  int Index = FontSizeCombo->ItemIndex();
  String Text = Index >= 0 ? FontSizeCombo->Items()->Strings(Index) : FontSizeCombo->Text();
  if (!Text.empty()) {
    CHARFORMAT2A Format{};
    Format.cbSize = sizeof(Format);
    Format.dwMask = CFM_SIZE;
    Format.yHeight = PointsToTwips(StrToFloat(Text));
    FRichEdit->EditModified();
    FRichEdit->SendRich(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&Format));
  }
  if (FRichEdit->CanFocus()) FRichEdit->SetFocus();
  UpdateControls();
}

// --- Keys and closing -------------------------------------------------------------------------

void TqvRichEditForm::FormKeyPress(TObject*, char& Key) {
  if (ReadOnly()) {
    if (Key == 27) {
      Key = 0;
      SetModalResult(mrCancel);
    }
    return;
  }
  if (Key == 27) {
    Key = 0;
    if (FRichEdit->EditorOptions.Contains(reoCloseOnEscape)) SetModalResult(mrCancel);
    else FRichEdit->SendRich(EM_UNDO);
    return;
  }
  // Ctrl+I and Tab give the same character: only with Ctrl held is it italic.
  bool Ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  TSpeedButton* Button = nullptr;
  if (Key == 2 && Ctrl) Button = BoldButton;
  else if (Key == 21 && Ctrl) Button = UnderlineButton;
  else if (Key == 9 && Ctrl) Button = ItalicButton;
  if (Button == nullptr) return;
  CHARFORMAT2A Format = FRichEdit->GetSelCharFormat();
  DWORD Effect = Button == BoldButton ? CFE_BOLD : Button == UnderlineButton ? CFE_UNDERLINE : CFE_ITALIC;
  RunStyleButton(Button, (Format.dwEffects & Effect) != 0);
  Key = 0;
}

// The rich edit undoes Ctrl+Z itself (through the Undo item's shortcut): a key-up only refreshes
// the lock marks.
void TqvRichEditForm::FormKeyUp(TObject*, WORD&, TShiftState) { UpdateLockIndicators(); }

void TqvRichEditForm::FormCloseQuery(TObject*, bool& CanClose) {
  if (ModalResult() == mrOk) return;
  if (FEditedControl->EditorOptions.Contains(reoNoConfirmation)) {
    SetModalResult(mrOk);
    return;
  }
  if (FRichEdit->Modified() && !ReadOnly()) {
    int Answer = MessageDlg(qvIntl->UserMessages()->RichEditExitWarning, mtConfirmation, mbYesNoCancel, 0);
    if (Answer == mrYes) SetModalResult(mrOk);
    else if (Answer == mrNo) SetModalResult(mrCancel);
    else CanClose = false;
    return;
  }
  SetModalResult(mrCancel);
}

void TqvRichEditForm::FormClose(TObject*, TCloseAction&) {
  Application->OnHint = FSavedOnHint;
  if (TSpeedButton* B = FEditedControl->UserSpeedButton1()) {
    B->SetParent(FUserButtonParent1);
    B->SetVisible(false);
  }
  if (TSpeedButton* B = FEditedControl->UserSpeedButton2()) {
    B->SetParent(FUserButtonParent2);
    B->SetVisible(false);
  }
}

// --- Page setup -------------------------------------------------------------------------------

namespace {

// Centres the dialog across the screen and a third of the way down, as it initialises.
UINT CALLBACK PageSetupHook(HWND Dialog, UINT Message, WPARAM, LPARAM) {
  if (Message != WM_INITDIALOG) return 0;
  RECT R{};
  GetWindowRect(Dialog, &R);
  int X = (GetSystemMetrics(SM_CXSCREEN) - (R.right - R.left)) / 2;
  int Y = (GetSystemMetrics(SM_CYSCREEN) - (R.bottom - R.top)) / 3;
  SetWindowPos(Dialog, nullptr, X, Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

// The device-names block of the current printer: driver, device and port after the offsets.
HGLOBAL DeviceNames(const String& Device, const String& Driver, const String& Port) {
  SIZE_T Size = Device.size() + Driver.size() + Port.size() + 11;
  HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, Size);
  if (Block == nullptr) return nullptr;
  auto* Names = static_cast<DEVNAMES*>(GlobalLock(Block));
  char* Text = reinterpret_cast<char*>(Names);
  WORD At = 8;
  Names->wDriverOffset = At;
  lstrcpyA(Text + At, Driver.c_str());
  At = WORD(At + Driver.size() + 1);
  Names->wDeviceOffset = At;
  lstrcpyA(Text + At, Device.c_str());
  At = WORD(At + Device.size() + 1);
  Names->wOutputOffset = At;
  lstrcpyA(Text + At, Port.c_str());
  GlobalUnlock(Block);
  return Block;
}

HGLOBAL CopyBlock(HGLOBAL Source) {
  if (Source == nullptr) return nullptr;
  SIZE_T Size = GlobalSize(Source);
  HGLOBAL Copy = GlobalAlloc(GMEM_MOVEABLE, Size);
  if (Copy == nullptr) return nullptr;
  void* From = GlobalLock(Source);
  void* To = GlobalLock(Copy);
  memcpy(To, From, Size);
  GlobalUnlock(Copy);
  GlobalUnlock(Source);
  return Copy;
}

}  // namespace

bool TqvPageSetupDialog::Execute() {
  if (RichEdit == nullptr) return false;
  TqvPrintMargins* Margins = RichEdit->PrintMargins();
  bool Centimetres = RichEdit->MeasurementUnits == muCentimeters;
  auto Thousandths = [](double Value) { return int(std::trunc(Value * 1000)); };
  TPrinter* P = Printer();
  String Device, Driver, Port;
  HGLOBAL Mode = nullptr;
  if (P->Printers()->Count() > 0) P->GetPrinter(Device, Driver, Port, Mode);
  int PaperSize = RichEdit->PrintPageSize();
  bool Landscape = false;
  int Left, Top, Right, Bottom;

  TModalQuestion Question;
  Question.Name = "qvPageSetupDialog";
  Question.Value = Device;
  Question.Fields["MarginLeft"] = IntToStr(Thousandths(Margins->Left));
  Question.Fields["MarginTop"] = IntToStr(Thousandths(Margins->Top));
  Question.Fields["MarginRight"] = IntToStr(Thousandths(Margins->Right));
  Question.Fields["MarginBottom"] = IntToStr(Thousandths(Margins->Bottom));
  Question.Fields["Units"] = Centimetres ? "1" : "2";
  Question.Fields["PaperSize"] = IntToStr(PaperSize);
  Question.Fields["Orientation"] = Mode && P->Orientation() == poLandscape ? "1" : "0";
  TModalAnswer Answer;
  if (AskScript(Question, Answer)) {
    if (Answer.Result == 0) return false;
    auto Field = [&](const char* Name) {
      auto It = Answer.Fields.find(Name);
      return It == Answer.Fields.end() ? StrToInt(Question.Fields[Name]) : StrToInt(It->second);
    };
    Left = Field("MarginLeft");
    Top = Field("MarginTop");
    Right = Field("MarginRight");
    Bottom = Field("MarginBottom");
    PaperSize = Field("PaperSize");
    Landscape = Field("Orientation") == 1;
  } else {
    PAGESETUPDLGA Request{};
    Request.lStructSize = sizeof(Request);
    Request.hwndOwner = Application->Handle();
    Request.hInstance = GetModuleHandleA(nullptr);
    Request.hDevNames = Mode ? DeviceNames(Device, Driver, Port) : nullptr;
    Request.hDevMode = CopyBlock(Mode);
    Request.lpfnPageSetupHook = &PageSetupHook;
    Request.Flags = PSD_MARGINS | PSD_ENABLEPAGESETUPHOOK |
                    (Centimetres ? PSD_INHUNDREDTHSOFMILLIMETERS : PSD_INTHOUSANDTHSOFINCHES);
    if (!RichEdit->UsesPrinterWidth()) Request.Flags |= PSD_DISABLEPRINTER;
    Request.rtMargin = RECT{Thousandths(Margins->Left), Thousandths(Margins->Top), Thousandths(Margins->Right),
                            Thousandths(Margins->Bottom)};
    if (RichEdit->UsesPrinterWidth() && Request.hDevMode) {
      auto* DevMode = static_cast<DEVMODEA*>(GlobalLock(Request.hDevMode));
      DevMode->dmFields |= DM_PAPERSIZE;
      DevMode->dmPaperSize = short(PaperSize);
      GlobalUnlock(Request.hDevMode);
    }
    if (!PageSetupDlgA(&Request)) {
      if (Request.hDevMode) GlobalFree(Request.hDevMode);
      if (Request.hDevNames) GlobalFree(Request.hDevNames);
      return false;
    }
    Left = Request.rtMargin.left;
    Top = Request.rtMargin.top;
    Right = Request.rtMargin.right;
    Bottom = Request.rtMargin.bottom;
    if (Request.hDevMode) {
      auto* DevMode = static_cast<DEVMODEA*>(GlobalLock(Request.hDevMode));
      PaperSize = DevMode->dmPaperSize;
      Landscape = DevMode->dmOrientation == DMORIENT_LANDSCAPE;
      GlobalUnlock(Request.hDevMode);
    }
    if (Request.hDevNames) {
      auto* Names = static_cast<DEVNAMES*>(GlobalLock(Request.hDevNames));
      const char* Text = reinterpret_cast<const char*>(Names);
      Device = Text + Names->wDeviceOffset;
      Driver = Text + Names->wDriverOffset;
      Port = Text + Names->wOutputOffset;
      GlobalUnlock(Request.hDevNames);
      GlobalFree(Request.hDevNames);
    }
    if (Request.hDevMode) P->SetPrinter(Device, Driver, Port, Request.hDevMode);
  }
  Margins->Left = Left / 1000.0;
  Margins->Top = Top / 1000.0;
  Margins->Right = Right / 1000.0;
  Margins->Bottom = Bottom / 1000.0;
  if (P->Printers()->Count() > 0) P->SetOrientation(Landscape ? poLandscape : poPortrait);
  RichEdit->SetPrintPageSize(PaperSize);
  RichEdit->ApplyPrintPageSize();
  return true;
}
