// This file implements TqvCustomRichEdit itself: construction, the window (class, creation,
// destruction with its content kept, formatting rectangle), the window procedure, keys and mouse,
// display, form streaming and the unit's start-up.
#include "qvriched.h"

#include <algorithm>
#include <cmath>

#include "Exceptions.h"
#include "Filer.h"
#include "FloatFormat.h"
#include "Format.h"
#include "ScopeGuard.h"

#include "CommonDialogs.h"
#include "Grids.h"
#include "Menus.h"
#include "Printers.h"
#include "ShellLaunch.h"

#include "Qvintl.h"
#include "qvRichLayout.h"
#include "qvRichOle.h"
#include "qvRichServices.h"
#include "qvrich.h"

// --- The unit's start-up ----------------------------------------------------------------------

namespace {

int StartCount = 0;
HMODULE RichEditLibrary = nullptr;
UINT FormatRtfUtf8 = 0;
UINT FormatRtfNcrs = 0;
UINT FormatRichText = 0;

// A library loaded without the system's box for a missing file; a handle below 32 counts as none.
HMODULE LoadQuietly(const char* Name) {
  UINT saved = SetErrorMode(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS);
  HMODULE module = LoadLibraryA(Name);
  SetErrorMode(saved);
  return reinterpret_cast<UINT_PTR>(module) < 32 ? nullptr : module;
}

}  // namespace

void TqvCustomRichEdit::StartUp() {
  if (StartCount++ > 0) return;
  OleInitialize(nullptr);
  RichEditLibrary = LoadQuietly("RICHED20.DLL");
  FormatRtfUtf8 = RegisterClipboardFormatA("RTF in UTF8");
  FormatRtfNcrs = RegisterClipboardFormatA("RTF with NCRs for nonASCII");
  FormatRichText = RegisterClipboardFormatA("Rich Text Format");
}

void TqvCustomRichEdit::ShutDown() {
  if (StartCount == 0 || --StartCount > 0) return;
  if (RichEditLibrary) FreeLibrary(RichEditLibrary);
  RichEditLibrary = nullptr;
  OleUninitialize();
}

UINT TqvCustomRichEdit::CF_RTFUTF8() { return FormatRtfUtf8; }
UINT TqvCustomRichEdit::CF_RTFNCRS() { return FormatRtfNcrs; }
UINT TqvCustomRichEdit::CF_RICHTEXT() { return FormatRichText; }

// --- Print margins and header/footer ----------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvPrintMargins)
VELBOR_PUBLISHED(TqvPrintMargins,
  Prop("Top", &Self::Top).Default(1.0),
  Prop("Bottom", &Self::Bottom).Default(1.0),
  Prop("Left", &Self::Left).Default(1.0),
  Prop("Right", &Self::Right).Default(1.0))

void TqvPrintMargins::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TqvPrintMargins*>(Source);
  if (Other == nullptr) return;
  Top = Other->Top;
  Bottom = Other->Bottom;
  Left = Other->Left;
  Right = Other->Right;
}

VELBOR_IMPLEMENT_CLASS(TqvRTFHeaderFooter)
VELBOR_PUBLISHED(TqvRTFHeaderFooter,
  Prop("VertMargin", &Self::VertMargin).Default(0.5),
  Prop("LeftText", &Self::LeftText),
  Prop("CenterText", &Self::CenterText),
  Prop("RightText", &Self::RightText),
  Prop("Font", &Self::Font, &Self::SetFont),
  Prop("LineSeparator", &Self::LineSeparator).Default(false))

TqvRTFHeaderFooter::TqvRTFHeaderFooter() : FFont(new TFont) {}

TqvRTFHeaderFooter::~TqvRTFHeaderFooter() { delete FFont; }

void TqvRTFHeaderFooter::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TqvRTFHeaderFooter*>(Source);
  if (Other == nullptr) return;
  VertMargin = Other->VertMargin;
  LeftText = Other->LeftText;
  CenterText = Other->CenterText;
  RightText = Other->RightText;
  LineSeparator = Other->LineSeparator;
  FFont->Assign(Other->FFont);
}

VELBOR_IMPLEMENT_CLASS(TRichProtectClass)

void TRichProtectClass::AllowChange(TObject*, int, int, bool& AllowChange) { AllowChange = true; }

// --- TqvCustomRichEdit ------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvCustomRichEdit)

TqvCustomRichEdit::TqvCustomRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {
  StartUp();
  // The content is no caption: a description holds it as "Data".
  ControlStyle.Exclude(csSetCaption);
  FSavedColor = clNone;
  FEditWidth = rewWindowSize;
  FPrintMargins = new TqvPrintMargins;
  FPrintHeader = new TqvRTFHeaderFooter;
  FPrintFooter = new TqvRTFHeaderFooter;
  SetPrintPageSize(1);
  SetWordWrap(true);
  MeasurementUnits = muInches;
  CreateDialogs();
  {
    TWindowDC Screen;
    FScreenPixelsPerInch = GetDeviceCaps(Screen, LOGPIXELSY);
  }
  FOleCallback = new TRichEditOleCallback(this);
  FRichEditVersion = 2;
  FEditorPosition = new TqvFormPosition;
  PrintJobName = Application->Title();
  FQvLines = new TqvRichEditStrings(this);
  HighlightColor = TColor(65535);
  FFrame = qvrich::CreateEditFrame(this);
}

TqvCustomRichEdit::~TqvCustomRichEdit() {
  Destroying();
  // The window goes while the whole control still answers its messages.
  DestroyHandle();
  delete FLayout;
  delete FFrameCanvas;
  delete FFrame;
  delete FFindDialog;
  delete FReplaceDialog;
  delete FFontDialog;
  delete FPopupMenuBuilt;
  delete FPrintMargins;
  delete FPrintHeader;
  delete FPrintFooter;
  delete FSavedContent;
  delete FEditorPosition;
  delete FQvLines;
  if (FSelectedObject) FSelectedObject->Release();
  static_cast<TRichEditOleCallback*>(FOleCallback)->Detach();
  FOleCallback->Release();
}

LRESULT TqvCustomRichEdit::SendRich(UINT Msg, WPARAM W, LPARAM L) { return SendMessageA(Handle(), Msg, W, L); }

void TqvCustomRichEdit::SetAutoURLDetect(bool Value) {
  if (FAutoURLDetect == Value) return;
  FAutoURLDetect = Value;
  if (!HandleAllocated()) return;
  SendRich(EM_AUTOURLDETECT, Value);
  LRESULT Mask = SendRich(EM_GETEVENTMASK);
  SendRich(EM_SETEVENTMASK, 0, Value ? (Mask | ENM_LINK) : (Mask & ~ENM_LINK));
}

void TqvCustomRichEdit::SetPrintPageSize(int Value) {
  FPrintPageSize = Value;
  if (GetParentForm(this) != nullptr && UsesPrinterWidth()) {
    ApplyPrintPageSize();
    if (HandleAllocated()) SetEditRect();
  }
}

void TqvCustomRichEdit::SetEditWidth(TqvRichEditWidth Value) {
  if (FEditWidth == Value) return;
  FEditWidth = Value;
  if (HandleAllocated()) SetEditRect();
}

void TqvCustomRichEdit::SetOleOptions(TqvRichEditOleOptions Value) {
  if (FOleOptions == Value) return;
  FOleOptions = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TqvCustomRichEdit::SetUserSpeedButton1(TSpeedButton* Value) {
  if (FUserSpeedButton1 == Value) return;
  FUserSpeedButton1 = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->Hide();
  }
}

void TqvCustomRichEdit::SetUserSpeedButton2(TSpeedButton* Value) {
  if (FUserSpeedButton2 == Value) return;
  FUserSpeedButton2 = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->Hide();
  }
}

void TqvCustomRichEdit::SetTitle(const String& Value) {
  if (FTitle != Value) FTitle = Value;
}

void TqvCustomRichEdit::SetGutterWidth(int Value) {
  if (FGutterWidth == Value) return;
  FGutterWidth = Value;
  if (HandleAllocated()) SetEditRect();
}

void TqvCustomRichEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomRichEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FUserSpeedButton1) FUserSpeedButton1 = nullptr;
  if (AComponent == FUserSpeedButton2) FUserSpeedButton2 = nullptr;
  if (AComponent == FFindDialog) FFindDialog = nullptr;
  if (AComponent == FReplaceDialog) FReplaceDialog = nullptr;
  if (AComponent == FFontDialog) FFontDialog = nullptr;
  if (AComponent == FPopupMenuBuilt) {
    FPopupMenuBuilt = nullptr;
    std::fill(std::begin(FPopupItems), std::end(FPopupItems), nullptr);
  }
  if (AComponent == FSpareMenu) FSpareMenu = nullptr;
  if (AComponent == FPaintCopy) FPaintCopy = nullptr;
}

bool TqvCustomRichEdit::GetReadOnly() { return TCustomRichEdit::ReadOnly(); }

void TqvCustomRichEdit::DoURLOpen(const String& URLLink, bool& UseDefault) {
  if (OnURLOpen) OnURLOpen(this, URLLink, UseDefault);
}

bool TqvCustomRichEdit::IsTransparent() {
  return qvrich::FrameTransparent(FFrame) && qvrich::FrameActive(FFrame, this) && !qvrich::IsDesigning(this);
}

void TqvCustomRichEdit::DoInitDialog(TForm* Form) {
  if (OnInitDialog) OnInitDialog(Form);
}

void TqvCustomRichEdit::DoCloseDialog(TForm* Form) {
  if (OnCloseDialog) OnCloseDialog(Form);
}

void TqvCustomRichEdit::DoCreateDialog(TForm* Form) {
  if (OnCreateDialog) OnCreateDialog(Form);
}

// --- The window -------------------------------------------------------------------------------

void TqvCustomRichEdit::CreateParams(TCreateParams& Params) {
  if (FRichEditVersion < 2) {
    TCustomRichEdit::CreateParams(Params);
    return;
  }
  HMODULE Library = nullptr;
  if (MSVersion > 3) {
    static HMODULE Newer = LoadQuietly("MSFTEDIT.DLL");
    Library = Newer;
  }
  if (Library == nullptr) Library = RichEditLibrary ? RichEditLibrary : LoadQuietly("RICHED20.DLL");
  TCustomRichEdit::CreateParams(Params);
  if (Library == nullptr || FSettings.UseRichEditClassName) CreateSubClass(Params, "RICHEDIT");
  if (!HideScrollBars()) Params.Style |= ES_DISABLENOSCROLL;
  if (!HideSelection()) Params.Style |= ES_NOHIDESEL;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
  if (IsTransparent()) Params.ExStyle |= WS_EX_TRANSPARENT;
}

void TqvCustomRichEdit::CreateWnd() {
  {
    bool Saved = FLoading;
    FLoading = true;
    TScopeGuard Restore([&] { FLoading = Saved; });
    TCustomRichEdit::CreateWnd();
  }
  if (FRichEditVersion > 1) SendRich(EM_SETTYPOGRAPHYOPTIONS, TO_ADVANCEDTYPOGRAPHY, TO_ADVANCEDTYPOGRAPHY);
  if (!FOleOptions.Contains(reoDisableOLE)) {
    IRichEditOle* Ole = nullptr;
    if (!SendRich(EM_GETOLEINTERFACE, 0, LPARAM(&Ole)) || Ole == nullptr) throw Exception("Unable to get interface");
    if (FRichEditOle) FRichEditOle->Release();
    FRichEditOle = Ole;
    if (!SendRich(EM_SETOLECALLBACK, 0, LPARAM(FOleCallback))) throw Exception("Unable to set callback");
  }
  RestoreContentInNewWindow();
  if (FAutoURLDetect) {
    SendRich(EM_AUTOURLDETECT, TRUE);
    SendRich(EM_SETEVENTMASK, 0, SendRich(EM_GETEVENTMASK) | ENM_LINK);
  }
  if (IsTransparent() && Parent() != nullptr) qvrich::RemoveClipChildren(Parent());
  SetEditRect();
  if (!IsTransparent() && !qvrich::IsGridPaintCopy(this) && qvrich::FrameEnabled(FFrame) && !Focused() &&
      qvrich::FrameNonFocusColor(FFrame) != clNone && !qvrich::IsDesigning(this)) {
    if (FSavedColor == clNone) FSavedColor = Color();
    SetColor(qvrich::FrameNonFocusColor(FFrame));
  }
}

// The content outlives the window whenever the control does: a window re-created for new
// options, a parent change or a new parent window all find the text and its formatting again.
void TqvCustomRichEdit::SaveContentForNewWindow() {
  if (FSavedContent == nullptr) FSavedContent = new TqvRichMemoryStream;
  FSavedContent->Clear();
  GetRichLines()->SaveToStream(FSavedContent);
  FSavedModified = Modified();
  FContentSaved = true;
}

void TqvCustomRichEdit::RestoreContentInNewWindow() {
  if (!FContentSaved || FSavedContent == nullptr) return;
  FSavedContent->SetPosition(0);
  LoadContent(FSavedContent);
  FContentSaved = false;
  SetModified(FSavedModified);
}

void TqvCustomRichEdit::DestroyWnd() {
  FContentSaved = false;
  if (!ComponentState().Contains(csDestroying)) SaveContentForNewWindow();
  {
    bool Saved = FLoading;
    FLoading = true;
    TScopeGuard Restore([&] { FLoading = Saved; });
    GetRichLines()->Clear();
  }
  TCustomRichEdit::DestroyWnd();
}

void TqvCustomRichEdit::WMNCDestroy(TMessage& Message) {
  if (FRichEditOle) {
    FRichEditOle->Release();
    FRichEditOle = nullptr;
  }
  TCustomRichEdit::Dispatch(Message);
}

bool TqvCustomRichEdit::UsesPrinterWidth() {
  return FEditWidth == rewPrinterSize && Printer()->Printers()->Count() > 0;
}

void TqvCustomRichEdit::SetEditRect() {
  if (!HandleAllocated()) return;
  bool Saved = FLoading;
  FLoading = true;
  TScopeGuard Restore([&] { FLoading = Saved; });
  TRect R;
  if (UsesPrinterWidth()) {
    HDC DC = Printer()->Handle();
    POINT Size{};
    Escape(DC, GETPHYSPAGESIZE, 0, nullptr, &Size);
    int PpiX = GetDeviceCaps(DC, LOGPIXELSX);
    int PpiY = GetDeviceCaps(DC, LOGPIXELSY);
    double MarginInches =
        MeasureToTwips(FloatToStr(FPrintMargins->Left + FPrintMargins->Right)) / 1440.0;
    R.Left = FGutterWidth + 10;
    R.Top = 0;
    R.Right = int((double(Size.x) / PpiX - MarginInches) * FScreenPixelsPerInch) + FGutterWidth + 4;
    if (ScrollBars() == ssVertical || ScrollBars() == ssBoth) {
      int Low = 0, High = 0;
      GetScrollRange(Handle(), SB_VERT, &Low, &High);
      if (High > Low) R.Right -= GetSystemMetrics(SM_CXVSCROLL) + 5;
    }
    R.Bottom = MulDiv(Size.y, FScreenPixelsPerInch, PpiY);
  } else {
    R.Bottom = Height();
    R.Right = ClientWidth() - 2;
    if (BorderStyle() == bsNone && qvrich::IsInInspector(this)) {
      R.Top = 0;
      R.Left = FGutterWidth - 2;
    } else if (BorderStyle() == bsNone && qvrich::IsInGrid(this)) {
      R.Top = 1;
      R.Left = FGutterWidth - 1;
    } else if (qvrich::FrameEnabled(FFrame) && qvrich::FrameServices.AdjustEditRect) {
      qvrich::FrameServices.AdjustEditRect(FFrame, R);
      R.Left += FGutterWidth - 2;
      if (GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) R.Top -= 1;
      R.Bottom -= 2;
    } else {
      R.Top = 2;
      R.Left = FGutterWidth - 2;
      R.Bottom -= 2;
    }
  }
  RECT Native{R.Left, R.Top, R.Right, R.Bottom};
  SendRich(EM_SETRECT, 0, LPARAM(&Native));
}

void TqvCustomRichEdit::WMSize(TMessage& Message) {
  TCustomRichEdit::Dispatch(Message);
  if (FEditWidth != rewPrinterSize || !UsesPrinterWidth()) SetEditRect();
}

namespace {

struct TCharsetSearch {
  bool Found = false;
  BYTE Charset = DEFAULT_CHARSET;
};

int CALLBACK FontCharsetProc(const LOGFONTA* Font, const TEXTMETRICA*, DWORD, LPARAM Data) {
  auto* Search = reinterpret_cast<TCharsetSearch*>(Data);
  Search->Found = true;
  Search->Charset = Font->lfCharSet;
  return 0;  // the first family of the name is enough
}

}  // namespace

TFontCharset TqvCustomRichEdit::GetFontCharset(const String& FaceName) {
  if (FSettings.CharsetFromFont) return Font()->Charset();
  LOGFONTA Wanted{};
  Wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(Wanted.lfFaceName, FaceName.c_str(), LF_FACESIZE);
  TCharsetSearch Search;
  TWindowDC Screen;
  EnumFontFamiliesExA(Screen, &Wanted, &FontCharsetProc, LPARAM(&Search), 0);
  return Search.Found ? TFontCharset(Search.Charset) : Font()->Charset();
}

// --- Messages ---------------------------------------------------------------------------------

void TqvCustomRichEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case EM_FINDTEXT:
    case EM_FINDTEXTEX:
      // Every find from outside the control's own FindText searches forward.
      if (!FSettings.OwnFindRequest) Message.WParam |= FR_DOWN;
      break;
    case WM_LBUTTONDOWN:
      if (Parent() && qvrich::ClassInheritsFrom(Parent()->ClassType(), "TqvDBGrid")) {
        // The press that put the control into a grid cell and this one make a double click.
        if (FGridClickTime != 0 && DWORD(GetMessageTime()) - FGridClickTime < GetDoubleClickTime())
          Message.Msg = WM_LBUTTONDBLCLK;
        FGridClickTime = 0;
      }
      break;
    case CN_NOTIFY:
      if (reinterpret_cast<NMHDR*>(Message.LParam)->code == EN_LINK) {
        HandleLinkNotify(Message);
        return;
      }
      break;
    default:
      break;
  }
  TCustomRichEdit::WndProc(Message);
}

// A link is opened by a press and a release on it. The address is handed to the shell only when
// it is a web or mail address: a text from the data never starts a program or opens a file.
void TqvCustomRichEdit::HandleLinkNotify(TMessage& Message) {
  auto* Link = reinterpret_cast<ENLINK*>(Message.LParam);
  Message.Result = 0;
  if (Link->msg == WM_LBUTTONDOWN && (GetKeyState(VK_LBUTTON) & 0x8000)) {
    FLinkClickPending = true;
    POINT Cursor{};
    GetCursorPos(&Cursor);
    ::ScreenToClient(Handle(), &Cursor);
    POINTL At{Cursor.x, Cursor.y};
    LONG Char = LONG(SendRich(EM_CHARFROMPOS, 0, LPARAM(&At)));
    if (Char < Link->chrg.cpMin || Char > Link->chrg.cpMax) FLinkClickPending = false;
  } else if (Link->msg == WM_LBUTTONUP && FLinkClickPending) {
    FLinkClickPending = false;
    String Text(std::size_t(std::max<LONG>(Link->chrg.cpMax - Link->chrg.cpMin, 0)) * 2 + 1, '\0');
    TEXTRANGEA Range{Link->chrg, Text.data()};
    Text.resize(std::size_t(std::max<LRESULT>(SendRich(EM_GETTEXTRANGE, 0, LPARAM(&Range)), 0)));
    bool UseDefault = true;
    DoURLOpen(Text, UseDefault);
    if (UseDefault) {
      TCursor SavedCursor = Screen->Cursor();
      Screen->SetCursor(crHourGlass);
      TScopeGuard Restore([&] { Screen->SetCursor(SavedCursor); });
      OpenDataAddress(Text, Handle());
    }
  }
}

void TqvCustomRichEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case WM_RBUTTONUP: WMRButtonUp(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    default: TCustomRichEdit::Dispatch(Message); break;
  }
}

void TqvCustomRichEdit::WMRButtonUp(TMessage& Message) { TCustomRichEdit::Dispatch(Message); }

// With embedded objects the window asks its OLE callback for the menu, which shows the control's
// pop-up menu with the object's items; without them the class library shows the pop-up menu.
// Either way one right click opens one menu.
void TqvCustomRichEdit::WMContextMenu(TMessage& Message) {
  if (FRichEditOle == nullptr || FDefWndProc == nullptr) {
    TCustomRichEdit::Dispatch(Message);
    return;
  }
  // From the keyboard (Shift+F10, the menu key) there was no press.
  if (Message.LParam == -1) FContextMenuPending = true;
  Message.Result = CallWindowProcA(FDefWndProc, Handle(), Message.Msg, Message.WParam, Message.LParam);
}

void TqvCustomRichEdit::WMEraseBkgnd(TMessage& Message) {
  bool PaintCopy = ControlState.Contains(csPaintCopy);
  if ((PaintCopy && IsTransparent()) || qvrich::IsGridPaintCopy(this) || FPainting) {
    Message.Result = 1;
    return;
  }
  TCustomRichEdit::Dispatch(Message);
}

void TqvCustomRichEdit::WMChar(TMessage& Message) {
  // In a grid the Tab key moves between cells; its character never reaches the text.
  if (Message.WParam == VK_TAB && qvrich::IsInGrid(this)) {
    Message.Result = 0;
    return;
  }
  TCustomRichEdit::Dispatch(Message);
}

void TqvCustomRichEdit::WMVScroll(TMessage& Message) {
  if (IsTransparent() && CanFocus() && !Focused()) SetFocus();
  TCustomRichEdit::Dispatch(Message);
}

// The font is the default text attributes: the window is not sent the font itself, which would
// give the whole text that font and lose its formatting.
void TqvCustomRichEdit::CMFontChanged(TMessage& Message) {
  TControl::Dispatch(Message);
  if (!HandleAllocated()) return;
  TTextAttributes* Def = DefAttributes();
  TFont* F = Font();
  if (Def->Name() != F->Name()) Def->SetName(F->Name());
  if (Def->Size() != F->Size()) Def->SetSize(F->Size());
  if (Def->Style() != F->Style()) Def->SetStyle(F->Style());
  if (Def->Color() != F->Color()) Def->SetColor(F->Color());
  if (Def->Charset() != F->Charset()) Def->SetCharset(F->Charset());
  if (Def->Pitch() != F->Pitch()) Def->SetPitch(F->Pitch());
}

void TqvCustomRichEdit::CMShowingChanged(TMessage& Message) {
  TCustomRichEdit::Dispatch(Message);
  TWinControl* P = Parent();
  if (Showing() && P != nullptr && P->Align() != alNone && (P->Height() == 0 || P->Width() == 0) &&
      !FSettings.NoRealignOnShow)
    RequestAlign();
}

void TqvCustomRichEdit::CNKeyDown(TMessage& Message) {
  if (!qvrich::IsDesigning(this)) {
    WORD Key = WORD(Message.WParam);
    bool Ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (Key == VK_RETURN && WantReturns && !Ctrl) {
      Message.Result = 0;  // the window's
      return;
    }
    if ((Key == VK_TAB || Key == VK_RETURN) && qvrich::IsInGrid(this)) {
      auto* Grid = dynamic_cast<TCustomGrid*>(Parent());
      if (Grid != nullptr && (Key != VK_TAB || Grid->Options().Contains(goTabs))) {
        Grid->SetFocus();
        if (Grid->Focused()) Grid->Perform(WM_KEYDOWN, Key, Message.LParam);
        Message.Result = 1;
        return;
      }
    }
  }
  TCustomRichEdit::Dispatch(Message);
}

// --- Mouse ------------------------------------------------------------------------------------

void TqvCustomRichEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomRichEdit::MouseDown(Button, Shift, X, Y);
  FContextMenuPending = true;
}

void TqvCustomRichEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FInMouseUp) return;
  FInMouseUp = true;
  TScopeGuard Leave([&] { FInMouseUp = false; });
  if (Button == mbRight && HandleAllocated() && FDefWndProc != nullptr) {
    // A right click on an embedded object selects it; elsewhere the selection stays.
    CHARRANGE Saved{};
    SendRich(EM_EXGETSEL, 0, LPARAM(&Saved));
    CallWindowProcA(FDefWndProc, Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
    CallWindowProcA(FDefWndProc, Handle(), WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
    CHARRANGE Now{};
    SendRich(EM_EXGETSEL, 0, LPARAM(&Now));
    if (Now.cpMin == Now.cpMax) SendRich(EM_EXSETSEL, 0, LPARAM(&Saved));
  }
  TCustomRichEdit::MouseUp(Button, Shift, X, Y);
  FLinkClickPending = false;
}

void TqvCustomRichEdit::DblClick() {
  TCustomRichEdit::DblClick();
  if (Parent() && qvrich::ClassInheritsFrom(Parent()->ClassType(), "TqvDBGrid")) ExecuteEditor();
}

void TqvCustomRichEdit::SelectionChange() {
  TCustomRichEdit::SelectionChange();
  if (!qvrich::FrameEnabled(FFrame) || !Focused() || !HandleAllocated()) return;
  RECT Format{};
  SendRich(EM_GETRECT, 0, LPARAM(&Format));
  POINTL Corner{Format.left + 1, Format.top + 1};
  int TopChar = int(SendRich(EM_CHARFROMPOS, 0, LPARAM(&Corner)));
  int LineCount = int(SendRich(EM_GETLINECOUNT));
  if ((TopChar != FLastTopChar || LineCount != FLastLineCount) && Format.left > 2) {
    RECT Strip{2, 0, Format.left, ClientHeight()};
    InvalidateRect(Handle(), &Strip, FALSE);
  }
  FLastTopChar = TopChar;
  FLastLineCount = LineCount;
}

// --- Form streaming ---------------------------------------------------------------------------

void TqvCustomRichEdit::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty("RichEditVersion", TReaderProc(this, &TqvCustomRichEdit::ReadRichEditVersion),
                        TWriterProc(this, &TqvCustomRichEdit::WriteRichEditVersion), true);
  TCustomRichEdit::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Data", TStreamProc(this, &TqvCustomRichEdit::ReadData),
                              TStreamProc(this, &TqvCustomRichEdit::WriteData), GetField() == nullptr);
}

void TqvCustomRichEdit::ReadRichEditVersion(TReader* Reader) {
  int Value = Reader->ReadInteger();
  if (Value == FRichEditVersion) return;
  FRichEditVersion = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TqvCustomRichEdit::WriteRichEditVersion(TWriter* Writer) {
  Writer->WriteInteger(2);
  FRichEditVersion = 2;
}

void TqvCustomRichEdit::ReadData(TStream* Stream) {
  PlainText = false;
  std::uint32_t Count = 0;
  if (Stream->Read(&Count, 4) == 4 && Count > 0 && GetField() == nullptr) {
    TqvRichMemoryStream Content;
    Content.SetSize(Count);
    Stream->ReadBuffer(Content.Memory(), Count);
    Content.SetPosition(0);
    GetRichLines()->LoadFromStream(&Content);
  }
  FDataRead = true;
}

void TqvCustomRichEdit::WriteData(TStream* Stream) {
  TqvRichMemoryStream Content;
  GetRichLines()->SaveToStream(&Content);
  std::uint32_t Count = std::uint32_t(Content.Size());
  Stream->WriteBuffer(&Count, 4);
  if (Count > 0) Stream->WriteBuffer(Content.Memory(), Count);
}

void TqvCustomRichEdit::ReadState(TReader* Reader) {
  // A stored form without "RichEditVersion" keeps the class library's window class.
  FRichEditVersion = 1;
  if (FDataFieldSet) {
    TCustomRichEdit::ReadState(Reader);
    return;
  }
  TCursor SavedCursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  TScopeGuard Restore([&] {
    PlainText = false;
    Screen->SetCursor(SavedCursor);
  });
  // Lines strings arrive as text; RTF typed into them becomes formatted text afterwards.
  PlainText = true;
  TCustomRichEdit::ReadState(Reader);
  if (!FDataRead && !FDataFieldSet) {
    TqvRichMemoryStream Text;
    GetRichLines()->SaveToStream(&Text);
    PlainText = false;
    Text.SetPosition(0);
    LoadContent(&Text);
  }
}

void TqvCustomRichEdit::Loaded() {
  TCustomRichEdit::Loaded();
  TCustomForm* Form = GetParentForm(this);
  bool Designing = Form != nullptr && Form->ComponentState().Contains(csDesigning);
  if (Form != nullptr && !Designing && !Visible() && HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  if (!Designing && FPopupMenuBuilt != nullptr) {
    TqvRichEditPopupMenuLabels* Labels = qvIntl->RichEdit()->PopupMenuLabels();
    const String Captions[] = {Labels->EditCaption,       Labels->CutCaption,         Labels->CopyCaption,
                               Labels->PasteCaption,      Labels->BoldCaption,        Labels->ItalicCaption,
                               Labels->UnderlineCaption,  Labels->FontCaption,        Labels->BulletStyleCaption,
                               Labels->ParagraphCaption,  Labels->TabsCaption,        Labels->FindCaption,
                               Labels->ReplaceCaption,    Labels->InsertObjectCaption, Labels->SpellCheckCaption};
    for (int i = 0; i < int(std::size(Captions)); ++i) {
      if (FPopupItems[i]) FPopupItems[i]->SetCaption(Captions[i]);
    }
  }
}
