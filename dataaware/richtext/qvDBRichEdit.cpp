// This file implements TqvDBRichEdit, the rich-text control bound to one field of a dataset, and
// the registration of the rich-text classes by name (the grid and the record view make the
// control by its class name).
#include "qvriched.h"

#include <cstring>
#include <memory>

#include "DataSet.h"
#include "Exceptions.h"
#include "ScopeGuard.h"

#include "Clipbrd.h"
#include "Colors.h"
#include "Grids.h"
#include "Menus.h"

#include "Qvintl.h"
#include "qvRichOle.h"
#include "qvRichServices.h"

VELBOR_IMPLEMENT_CLASS(TqvDBRichEdit)
VELBOR_PUBLISHED(TqvDBRichEdit,
  Prop("Controller", &Self::Controller, &Self::SetController),
  Prop("AutoURLDetect", &Self::AutoURLDetect, &Self::SetAutoURLDetect).Default(false),
  Prop("AutoSelect", &Self::AutoSelect).Default(false),
  Prop("AutoDisplay", &Self::AutoDisplay, &Self::SetAutoDisplay).Default(true),
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("GutterWidth", &Self::GutterWidth, &Self::SetGutterWidth).Default(3),
  Prop("OleOptions", &Self::OleOptions, &Self::SetOleOptions).Default(TqvRichEditOleOptions{reoAdjustPopupMenu}),
  Prop("PrintPageSize", &Self::PrintPageSize, &Self::SetPrintPageSize).Default(1),
  Prop("UserSpeedButton1", &Self::UserSpeedButton1, &Self::SetUserSpeedButton1),
  Prop("UserSpeedButton2", &Self::UserSpeedButton2, &Self::SetUserSpeedButton2),
  Prop("HighlightColor", &Self::HighlightColor).Default(TColor(65535)).Idents(ColorIdents),
  Prop("Title", &Self::Title, &Self::SetTitle),
  Prop("PrintJobName", &Self::PrintJobName),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("WantNavigationKeys", &Self::WantNavigationKeys).Default(false),
  Prop("PopupOptions", &Self::PopupOptions).Default(qvDefaultPopupOptions),
  Prop("EditorOptions", &Self::EditorOptions).Default(qvDefaultEditorOptions),
  Prop("EditorCaption", &Self::EditorCaption),
  Prop("EditorPosition", &Self::EditorPosition, &Self::SetEditorPosition),
  Prop("MeasurementUnits", &Self::MeasurementUnits).Default(muInches),
  Prop("PrintMargins", &Self::PrintMargins, &Self::SetPrintMargins),
  Prop("EditWidth", &Self::EditWidth, &Self::SetEditWidth).Default(rewWindowSize),
  Prop("PrintHeader", &Self::PrintHeader, &Self::SetPrintHeader),
  Prop("PrintFooter", &Self::PrintFooter, &Self::SetPrintFooter),
  Prop("MSVersion", &Self::MSVersion).Default(3),
  Prop("Lines", &Self::Lines, &Self::SetLines).Stored(false),
  Prop("OnInitDialog", &Self::OnInitDialog),
  Prop("OnCloseDialog", &Self::OnCloseDialog),
  Prop("OnCreateDialog", &Self::OnCreateDialog),
  Prop("OnURLOpen", &Self::OnURLOpen),
  Prop("OnMenuLoadClick", &Self::OnMenuLoadClick),
  Prop("OnMenuPrintClick", &Self::OnMenuPrintClick),
  Prop("OnMenuSaveAsClick", &Self::OnMenuSaveAsClick),
  Prop("OnMenuSaveAndExitClick", &Self::OnMenuSaveAndExitClick),
  Prop("OnPrintHeader", &Self::OnPrintHeader),
  Prop("OnPrintFooter", &Self::OnPrintFooter))

namespace {

// The classes the form reader and the grid and the record view make by name.
struct TRichTextRegistration {
  TRichTextRegistration() { qvRegisterRichTextClasses(); }
} RichTextRegistration;

}  // namespace

void qvRegisterRichTextClasses() {
  RegisterClass(TqvDBRichEdit::StaticClass());
  RegisterClass(TqvPrintMargins::StaticClass());
  RegisterClass(TqvRTFHeaderFooter::StaticClass());
}

TqvDBRichEdit::TqvDBRichEdit(TComponent* AOwner) : TFieldControl<TqvCustomRichEdit>(AOwner) {
  MSVersion = 3;
  ControlStyle.Include(csReplicatable);
  FSpareMenu = new TPopupMenu(this);
  FAutoDisplay = true;
  CopyThroughFile = 0;
  SetOleOptions(TqvRichEditOleOptions{reoAdjustPopupMenu});
  SetGutterWidth(3);
  FObjectVerbs = new TStringList;
  FSettings = TqvRichEditSettings();
}

TqvDBRichEdit::~TqvDBRichEdit() {
  Destroying();
  DestroyHandle();
  for (TMenuItem* Item : FObjectMenuItems) delete Item;
  FObjectMenuItems.clear();
  ClearObjectVerbs();
  delete FObjectVerbs;
  FObjectVerbs = nullptr;
  delete FPaintCopy;
}

void TqvDBRichEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TFieldControl<TqvCustomRichEdit>::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FController) FController = nullptr;
}

void TqvDBRichEdit::SetController(TqvController* Value) {
  if (FController == Value) return;
  if (FController) FController->ControlList()->Remove(this);
  FController = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->ControlList()->Add(this);
    if (FFrame && Value->Frame()) FFrame->Assign(Value->Frame());
    if (HandleAllocated()) RecreateWnd();
  }
}

bool TqvDBRichEdit::IsBlobField() { return dynamic_cast<TBlobField*>(Field()) != nullptr; }

void TqvDBRichEdit::SetWindowReadOnly(bool Value) {
  if (HandleAllocated()) SendRich(EM_SETREADONLY, Value);
}

void TqvDBRichEdit::ShowText(const String& Text) {
  bool Saved = FLoading;
  FLoading = true;
  TScopeGuard Restore([&] { FLoading = Saved; });
  SetText(Text);
  SetModified(false);
}

// --- Read-only state --------------------------------------------------------------------------

bool TqvDBRichEdit::GetReadOnly() {
  if (Field() == nullptr && DataField().empty()) return TCustomRichEdit::ReadOnly();
  if (FDataLink->ReadOnly()) return true;
  if (qvrich::IsDesigning(this) || Field() == nullptr || Field()->DataSet() == nullptr) return false;
  if (FLoadFailed) return true;
  if (Field()->DataSet()->CanModify()) return Field()->ReadOnly();
  return true;
}

bool TqvDBRichEdit::ReadOnly() const { return FDataLink->ReadOnly(); }

void TqvDBRichEdit::SetReadOnly(bool Value) {
  if (Field() == nullptr) {
    TCustomRichEdit::SetReadOnly(Value);
  }
  FDataLink->SetReadOnly(Value);
}

void TqvDBRichEdit::SetDataField(const String& Value) {
  if (!Value.empty() && Value != DataField()) {
    SetWindowReadOnly(true);
    FDataFieldSet = true;
  } else if (Value.empty()) {
    FDataFieldSet = false;
  }
  FDataLink->SetFieldName(Value);
  if (Value.empty()) SetWindowReadOnly(GetReadOnly());
}

void TqvDBRichEdit::CreateWnd() {
  TFieldControl<TqvCustomRichEdit>::CreateWnd();
  if (Field() != nullptr) EditingChange();
}

// --- The field link ---------------------------------------------------------------------------

void TqvDBRichEdit::DataChange() {
  TField* F = Field();
  if (F == nullptr) {
    FDataLoaded = false;
    ShowText(ComponentState().Contains(csDesigning) ? Name() : String());
    return;
  }
  if (!IsBlobField()) {
    FDataLoaded = false;
    ShowText(FFocused && FDataLink->CanModify() ? F->Text() : F->DisplayText());
    FDataLoaded = true;
    return;
  }
  if (FAutoDisplay || (FDataLink->Editing() && FDataLoaded)) {
    // The control itself has just put the record into edit state: what it shows stays.
    if (!FOldValue.empty() && FOldValue == F->AsString()) return;
    FDataLoaded = false;
    if (Visible()) LoadFromDataField();
    return;
  }
  FDataLoaded = false;
  ShowText("(" + F->DisplayLabel() + ")");
}

void TqvDBRichEdit::EditingChange() {
  if (Field() == nullptr) return;
  SetWindowReadOnly(!(FDataLink->Editing() && FDataLoaded) || FLoadFailed);
}

// Nothing is written while the content is not in the control, nor after a load that failed: the
// field keeps what it holds.
void TqvDBRichEdit::UpdateData() {
  TField* F = Field();
  if (F == nullptr || !Modified() || !FDataLoaded || FLoadFailed) return;
  if (auto* Blob = dynamic_cast<TBlobField*>(F)) {
    TqvRichMemoryStream Content;
    SaveContent(&Content);
    Content.SetPosition(0);
    Blob->LoadFromStream(&Content);
  } else {
    F->SetAsString(Text());
  }
}

void TqvDBRichEdit::LoadFromField(TField* Field) {
  auto* Blob = dynamic_cast<TBlobField*>(Field);
  if (Blob == nullptr) return;
  TqvRichMemoryStream Content;
  Blob->SaveToStream(&Content);
  Content.SetPosition(0);
  bool SavedLoading = FLoading;
  int SavedMaxLength = MaxLength();
  FLoading = true;
  if (SavedMaxLength > 0) SetMaxLength(SavedMaxLength + 1);
  TScopeGuard Restore([&] {
    FLoading = SavedLoading;
    if (SavedMaxLength > 0) SetMaxLength(SavedMaxLength);
  });
  GetRichLines()->Clear();
  StreamIn(&Content, false, 0);
}

void TqvDBRichEdit::LoadFromFieldLimited(TField* Field, int ChunkLimit) {
  TDataSet* DataSet = Field ? Field->DataSet() : nullptr;
  if (DataSet == nullptr) return;
  std::unique_ptr<TStream> Blob(DataSet->CreateBlobStream(Field, bmRead));
  bool SavedLoading = FLoading;
  FLoading = true;
  TScopeGuard Restore([&] {
    FLoading = SavedLoading;
    FDataLoaded = false;
  });
  if (PlainText) {
    StreamIn(Blob.get(), false, ChunkLimit);
    return;
  }
  // The stored bytes arrive as text, cut after the chunks asked for; RTF among them is then read
  // as RTF, and a plain text stays as it arrived.
  PlainText = true;
  TScopeGuard PlainOff([&] { PlainText = false; });
  StreamIn(Blob.get(), false, ChunkLimit);
  TqvRichMemoryStream Text;
  GetRichLines()->SaveToStream(&Text);
  PlainText = false;
  bool Rtf = Text.Size() >= 5 && std::memcmp(Text.Memory(), "{\\rtf", 5) == 0;
  if (!Rtf) return;
  GetRichLines()->Clear();
  Text.SetPosition(0);
  StreamIn(&Text, true, 0);
}

void TqvDBRichEdit::LoadFromDataField() {
  TField* F = Field();
  if (F == nullptr || !IsBlobField() || FDataLoaded) return;
  bool SavedLoading = FLoading;
  TCursor SavedCursor = Screen->Cursor();
  TRichEditProtectChange SavedProtect = OnProtectChange;
  TRichProtectClass Protect;
  FLoading = true;
  Screen->SetCursor(crHourGlass);
  OnProtectChange = TRichEditProtectChange(&Protect, &TRichProtectClass::AllowChange);
  FDataLoaded = true;
  FLoadFailed = false;
  TScopeGuard Restore([&] {
    OnProtectChange = SavedProtect;
    Screen->SetCursor(SavedCursor);
    FLoading = SavedLoading;
    EditingChange();
    SetModified(false);
  });
  try {
    LoadFromField(F);
    OnProtectChange = SavedProtect;
    if (!ControlState.Contains(csPaintCopy) && F->AsString().empty()) {
      Paragraph()->SetNumbering(nsNone);
      Paragraph()->SetAlignment(taLeftJustify);
      DefAttributes()->SetColor(Font()->Color());
    }
  } catch (const EOutOfResources& E) {
    // The content cannot be shown: the control says why, and keeps away from the field.
    FLoadFailed = true;
    GetRichLines()->SetText("(" + E.Message + ")");
  }
}

// Before every change of the user's: the record goes into edit state (the old content is kept
// meanwhile, so that the data change this brings does not reload the control).
void TqvDBRichEdit::EditModified() {
  TField* F = Field();
  if (F == nullptr) return;
  if (!FDataLink->Editing()) {
    FOldValue = IsBlobField() ? F->AsString() : String();
    TScopeGuard Clear([&] { FOldValue.clear(); });
    TDataSource* Source = DataSource();
    if (Source && Source->State() == dsBrowse && Source->AutoEdit) FDataLink->Edit();
  }
  if (qvrich::IsInGrid(this) && !GetReadOnly() && FDataLink->Editing()) FDataLink->Modified();
}

void TqvDBRichEdit::SetAutoDisplay(bool Value) {
  if (Field() == nullptr || FAutoDisplay == Value) return;
  FAutoDisplay = Value;
  if (Value) LoadFromDataField();
}

// --- Keys -------------------------------------------------------------------------------------

bool TqvDBRichEdit::SendKeyToGrid(WORD& Key, TShiftState) {
  auto* Grid = dynamic_cast<TWinControl*>(Parent());
  if (Grid == nullptr) return false;
  Grid->SetFocus();
  if (Grid->Focused()) Grid->Perform(WM_KEYDOWN, Key, 0);
  Key = 0;
  return true;
}

void TqvDBRichEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (qvrich::IsInGrid(this)) {
    bool ToGrid = (Key == VK_ESCAPE && !Modified()) ||
                  ((Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN) && !WantNavigationKeys &&
                   !Shift.Contains(ssAlt)) ||
                  ((Key == VK_END || Key == VK_HOME) && Shift.Contains(ssCtrl));
    if (ToGrid && SendKeyToGrid(Key, Shift)) return;
  }
  TFieldControl<TqvCustomRichEdit>::KeyDown(Key, Shift);
  bool Ctrl = Shift.Contains(ssCtrl);
  bool PasteKey = (Key == VK_INSERT && Shift.Contains(ssShift)) || (Key == 'V' && Ctrl);
  if (Key == VK_F2 && PopupOptions.Contains(rpoPopupEdit)) {
    ExecuteEditor();
    Key = 0;
  }
  if (PasteKey && !CanPaste()) Key = 0;
  if (Field() == nullptr || !FDataLoaded || Key == 0) return;
  if (Key == VK_DELETE || Key == VK_BACK || PasteKey || (Key == 'X' && Ctrl)) EditModified();
  if (Key == VK_RETURN) {
    if (WantReturns) {
      EditModified();
    } else {
      SetSelStart(0);
      SetSelLength(0);
      Key = 0;
    }
  }
}

void TqvDBRichEdit::KeyPress(char& Key) {
  if (Key == '\t' && !WantTabs) {
    Key = 0;
    return;
  }
  TFieldControl<TqvCustomRichEdit>::KeyPress(Key);
  TField* F = Field();
  if (F == nullptr || Key == 0) return;
  auto Code = static_cast<unsigned char>(Key);
  if (!FDataLoaded) {
    if (Code == 13) LoadFromDataField();
    Key = 0;
    return;
  }
  if (Code > 31 && !F->IsValidChar(Key)) {
    MessageBeep(0);
    Key = 0;
    return;
  }
  if ((Code >= 8 && Code <= 10) || Code == 13 || Code == 22 || Code == 24 || Code >= 32) EditModified();
  else if (Code == 27) FDataLink->Reset();
}

void TqvDBRichEdit::Change() {
  if (IsTransparent() && !Focused() && qvrich::FrameServices.RefreshTransparentBackground)
    qvrich::FrameServices.RefreshTransparentBackground(FFrame);
  if (Field() != nullptr && FDataLoaded && !FLoading && !FReparenting && !FLoadFailed && !GetReadOnly()) {
    EditModified();
    FDataLink->Modified();
  }
  TFieldControl<TqvCustomRichEdit>::Change();
}

// A new parent keeps the content of the window (see DestroyWnd); a bound field is read again.
void TqvDBRichEdit::SetParent(TWinControl* AParent) {
  if (AParent == Parent()) {
    TFieldControl<TqvCustomRichEdit>::SetParent(AParent);
    return;
  }
  FReparenting = true;
  TScopeGuard Restore([&] { FReparenting = false; });
  TFieldControl<TqvCustomRichEdit>::SetParent(AParent);
  if (Field() != nullptr) FDataLoaded = false;
}

// --- Messages ---------------------------------------------------------------------------------

void TqvDBRichEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExitField(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_CUT: WMCut(Message); break;
    case WM_PASTE: WMPaste(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    default: TFieldControl<TqvCustomRichEdit>::Dispatch(Message); break;
  }
}

void TqvDBRichEdit::CMEnter(TMessage& Message) {
  if (!FFocused) {
    FFocused = true;
    if (Field() != nullptr && !IsBlobField()) FDataLink->Reset();
  }
  TqvCustomRichEdit::Dispatch(Message);
  if (!IsTransparent() && !qvrich::IsGridPaintCopy(this) && qvrich::FrameEnabled(FFrame) &&
      qvrich::FrameNonFocusColor(FFrame) != clNone && FSavedColor != clNone && !qvrich::IsDesigning(this))
    SetColor(FSavedColor);
  if (qvrich::FrameEnabled(FFrame)) Invalidate();
  if (AutoSelect) SelectAll();
}

void TqvDBRichEdit::CMExitField(TMessage& Message) {
  if (Field() != nullptr) UpdateRecordOnExit();
  FFocused = false;
  if (Field() != nullptr && !IsBlobField()) FDataLink->Reset();
  TqvCustomRichEdit::Dispatch(Message);
  if (!IsTransparent() && !qvrich::IsGridPaintCopy(this) && qvrich::FrameEnabled(FFrame) &&
      qvrich::FrameNonFocusColor(FFrame) != clNone) {
    FSavedColor = Color();
    SetColor(qvrich::FrameNonFocusColor(FFrame));
  }
  if (qvrich::FrameEnabled(FFrame)) Invalidate();
}

void TqvDBRichEdit::WMLButtonDblClk(TMessage& Message) {
  if (Field() != nullptr && !FDataLoaded) {
    LoadFromDataField();
    return;
  }
  if (FRichEditOle != nullptr) {
    REOBJECT Object{};
    Object.cbStruct = sizeof(Object);
    if (SUCCEEDED(FRichEditOle->GetObject(REO_IOB_SELECTION, &Object, REO_GETOBJ_POLEOBJ)) && Object.poleobj) {
      if (!GetReadOnly() && !FSettings.NoObjectAdvise) {
        if (FSelectedObject) FSelectedObject->Release();
        FSelectedObject = Object.poleobj;
        auto* Sink = new TqvRichEditAdviseSink(this);
        DWORD Connection = 0;
        FSelectedObject->Advise(Sink, &Connection);
        Sink->Release();
        TFieldControl<TqvCustomRichEdit>::Dispatch(Message);
      } else {
        Object.poleobj->Release();
        if (OnDblClick) OnDblClick(this);
      }
      return;
    }
  }
  TFieldControl<TqvCustomRichEdit>::Dispatch(Message);
}

void TqvDBRichEdit::WMCut(TMessage& Message) {
  if (Field() != nullptr) EditModified();
  TFieldControl<TqvCustomRichEdit>::Dispatch(Message);
}

// A clipboard that carries RTF in another encoding as well pastes its "Rich Text Format" form.
void TqvDBRichEdit::WMPaste(TMessage& Message) {
  if (Field() != nullptr) EditModified();
  if (IsClipboardFormatAvailable(CF_RTFNCRS()) || IsClipboardFormatAvailable(CF_RTFUTF8())) {
    REPASTESPECIAL Special{};
    SendRich(EM_PASTESPECIAL, CF_RICHTEXT(), LPARAM(&Special));
    Message.Result = 0;
    return;
  }
  TFieldControl<TqvCustomRichEdit>::Dispatch(Message);
}

void TqvDBRichEdit::WMPaint(TMessage& Message) {
  if (ControlState.Contains(csPaintCopy)) {
    if (FPaintCopy == nullptr) {
      FPaintCopy = new TqvDBRichEdit(this);
      FPaintCopy->SetVisible(false);
      FPaintCopy->SetParentWindow(Application->Handle());
    }
    TqvCustomRichEdit* Source = this;
    if (Field() != nullptr) {
      FPaintCopy->SetGutterWidth(GutterWidth());
      FPaintCopy->SetBounds(Left(), Top(), Width(), Height());
      FPaintCopy->LoadFromField(Field());
      FPaintCopy->SetFont(Font());
      Source = FPaintCopy;
    }
    HWND CopyWindow = FPaintCopy->Handle();
    SetWindowLongA(CopyWindow, GWL_EXSTYLE, GetWindowLongA(CopyWindow, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
    HDC DC = HDC(Message.WParam);
    PAINTSTRUCT Paint{};
    bool Own = DC == nullptr;
    if (Own) DC = BeginPaint(Handle(), &Paint);
    RenderToDC(DC, Source);
    if (Own) EndPaint(Handle(), &Paint);
    if (qvrich::FrameActive(FFrame, this) && qvrich::FrameServices.PaintEditFrame) {
      if (FFrameCanvas == nullptr) FFrameCanvas = new TControlCanvas;
      FFrameCanvas->SetHandle(HDC(Message.WParam));
      qvrich::FrameServices.PaintEditFrame(this, FFrame, FFrameCanvas, false);
      FFrameCanvas->SetHandle(nullptr);
    }
    return;
  }
  if (Field() != nullptr && IsBlobField() && !FDataLoaded && FAutoDisplay) {
    TCursor Saved = Screen->Cursor();
    Screen->SetCursor(crHourGlass);
    TScopeGuard Restore([&] { Screen->SetCursor(Saved); });
    LoadFromDataField();
  }
  if (FInResize) {
    ValidateRect(Handle(), nullptr);
    return;
  }
  {
    FPainting = true;
    TScopeGuard Done([&] { FPainting = false; });
    TFieldControl<TqvCustomRichEdit>::Dispatch(Message);
  }
  bool GridFocus = Parent() && qvrich::ClassInheritsFrom(Parent()->ClassType(), "TqvDBGrid") && Parent()->Focused() &&
                   !ControlState.Contains(csPaintCopy);
  bool FrameOn = qvrich::FrameActive(FFrame, this);
  if (!GridFocus && !FrameOn) return;
  if (FFrameCanvas == nullptr) FFrameCanvas = new TControlCanvas;
  TWindowDC DC(Handle());
  FFrameCanvas->SetHandle(DC);
  TScopeGuard Unbind([&] { FFrameCanvas->SetHandle(nullptr); });
  if (GridFocus) {
    TRect Client = ClientRect();
    FFrameCanvas->Brush()->SetColor(clHighlight);
    FFrameCanvas->FrameRect(Client);
    FFrameCanvas->Font()->SetColor(clHighlightText);
    FFrameCanvas->Brush()->SetColor(clHighlight);
    FFrameCanvas->DrawFocusRect(Client);
  }
  if (FrameOn && qvrich::FrameServices.PaintEditFrame)
    qvrich::FrameServices.PaintEditFrame(this, FFrame, FFrameCanvas, Focused());
}
