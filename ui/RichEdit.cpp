// This file implements the rich-text edit over RichEdit20A: TCustomRichEdit/TRichEdit, its
// Lines, text and paragraph attributes, streams in and out, find, print and notifications.
#include "RichEdit.h"

#include <algorithm>
#include "ScopeGuard.h"
#include "WinApi.h"

#include "Format.h"
#include "Forms.h"
#include "Streams.h"

namespace {

// riched20 stays loaded for the life of the process: its window class must outlive every control.
void LoadRichEditLibrary() {
  static HMODULE library = nullptr;
  if (!library) library = LoadLibraryA("riched20.dll");
  if (!library) throw EOSError("Impossible de charger riched20.dll");
}

struct TStreamCookie {
  TStream* Stream;
};

DWORD CALLBACK StreamInCallback(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Done) {
  try {
    *Done = LONG(reinterpret_cast<TStreamCookie*>(Cookie)->Stream->Read(Buffer, Count));
    return 0;
  } catch (...) {
    *Done = 0;
    return 1;
  }
}

DWORD CALLBACK StreamOutCallback(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Done) {
  try {
    *Done = LONG(reinterpret_cast<TStreamCookie*>(Cookie)->Stream->Write(Buffer, Count));
    return 0;
  } catch (...) {
    *Done = 0;
    return 1;
  }
}


}  // namespace

// --- TTextAttributes ------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TTextAttributes)
VELBOR_PUBLISHED(TTextAttributes,
  Prop("Color", &Self::Color, &Self::SetColor),
  Prop("Name", &Self::Name, &Self::SetName),
  Prop("Size", &Self::Size, &Self::SetSize),
  Prop("Style", &Self::Style, &Self::SetStyle),
  Prop("Protected", &Self::Protected, &Self::SetProtected))

TTextAttributes::TTextAttributes(TCustomRichEdit* AOwner, TAttributeType AType) : FRichEdit(AOwner), FType(AType) {}

CHARFORMAT2A TTextAttributes::Get() const {
  CHARFORMAT2A f{};
  f.cbSize = sizeof(f);
  FRichEdit->Send(EM_GETCHARFORMAT, FType == atSelected ? SCF_SELECTION : SCF_DEFAULT, LPARAM(&f));
  return f;
}

void TTextAttributes::Set(CHARFORMAT2A& Format) {
  Format.cbSize = sizeof(Format);
  FRichEdit->Send(EM_SETCHARFORMAT, FType == atSelected ? SCF_SELECTION : SCF_DEFAULT, LPARAM(&Format));
}

TColor TTextAttributes::Color() const {
  CHARFORMAT2A f = Get();
  return (f.dwEffects & CFE_AUTOCOLOR) ? clWindowText : TColor(f.crTextColor);
}

void TTextAttributes::SetColor(TColor Value) {
  CHARFORMAT2A f{};
  f.dwMask = CFM_COLOR;
  if (Value == clWindowText) f.dwEffects = CFE_AUTOCOLOR;
  else f.crTextColor = ColorToRGB(Value);
  Set(f);
}

String TTextAttributes::Name() const { return Get().szFaceName; }

void TTextAttributes::SetName(const String& Value) {
  CHARFORMAT2A f{};
  f.dwMask = CFM_FACE;
  lstrcpynA(f.szFaceName, Value.c_str(), LF_FACESIZE);
  Set(f);
}

int TTextAttributes::Size() const { return int(Get().yHeight / 20); }

void TTextAttributes::SetSize(int Value) {
  CHARFORMAT2A f{};
  f.dwMask = CFM_SIZE;
  f.yHeight = Value * 20;
  Set(f);
}

int TTextAttributes::Height() const { return -MulDiv(Size(), ScreenPixelsPerInch(), 72); }

void TTextAttributes::SetHeight(int Value) { SetSize(MulDiv(std::abs(Value), 72, ScreenPixelsPerInch())); }

TFontStyles TTextAttributes::Style() const {
  CHARFORMAT2A f = Get();
  TFontStyles s;
  if (f.dwEffects & CFE_BOLD) s.Include(fsBold);
  if (f.dwEffects & CFE_ITALIC) s.Include(fsItalic);
  if (f.dwEffects & CFE_UNDERLINE) s.Include(fsUnderline);
  if (f.dwEffects & CFE_STRIKEOUT) s.Include(fsStrikeOut);
  return s;
}

void TTextAttributes::SetStyle(TFontStyles Value) {
  CHARFORMAT2A f{};
  f.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  if (Value.Contains(fsBold)) f.dwEffects |= CFE_BOLD;
  if (Value.Contains(fsItalic)) f.dwEffects |= CFE_ITALIC;
  if (Value.Contains(fsUnderline)) f.dwEffects |= CFE_UNDERLINE;
  if (Value.Contains(fsStrikeOut)) f.dwEffects |= CFE_STRIKEOUT;
  Set(f);
}

TFontCharset TTextAttributes::Charset() const { return Get().bCharSet; }

void TTextAttributes::SetCharset(TFontCharset Value) {
  CHARFORMAT2A f{};
  f.dwMask = CFM_CHARSET;
  f.bCharSet = BYTE(Value);
  Set(f);
}

TFontPitch TTextAttributes::Pitch() const {
  switch (Get().bPitchAndFamily & 3) {
    case FIXED_PITCH: return fpFixed;
    case VARIABLE_PITCH: return fpVariable;
    default: return fpDefault;
  }
}

void TTextAttributes::SetPitch(TFontPitch Value) {
  CHARFORMAT2A f = Get();
  f.dwMask = CFM_FACE;
  f.bPitchAndFamily = BYTE((f.bPitchAndFamily & ~3) |
                           (Value == fpFixed ? FIXED_PITCH : Value == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH));
  Set(f);
}

bool TTextAttributes::Protected() const { return (Get().dwEffects & CFE_PROTECTED) != 0; }

void TTextAttributes::SetProtected(bool Value) {
  CHARFORMAT2A f{};
  f.dwMask = CFM_PROTECTED;
  f.dwEffects = Value ? CFE_PROTECTED : 0;
  Set(f);
}

TConsistentAttributes TTextAttributes::ConsistentAttributes() const {
  CHARFORMAT2A f = Get();
  TConsistentAttributes a;
  if (f.dwMask & CFM_BOLD) a.Include(caBold);
  if (f.dwMask & CFM_COLOR) a.Include(caColor);
  if (f.dwMask & CFM_FACE) a.Include(caFace);
  if (f.dwMask & CFM_ITALIC) a.Include(caItalic);
  if (f.dwMask & CFM_SIZE) a.Include(caSize);
  if (f.dwMask & CFM_STRIKEOUT) a.Include(caStrikeOut);
  if (f.dwMask & CFM_UNDERLINE) a.Include(caUnderline);
  if (f.dwMask & CFM_PROTECTED) a.Include(caProtected);
  return a;
}

void TTextAttributes::Assign(TPersistent* Source) {
  if (auto* font = dynamic_cast<TFont*>(Source)) {
    CHARFORMAT2A f{};
    f.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_CHARSET;
    if (font->Color() == clWindowText) f.dwEffects |= CFE_AUTOCOLOR;
    else f.crTextColor = ColorToRGB(font->Color());
    lstrcpynA(f.szFaceName, font->Name().c_str(), LF_FACESIZE);
    f.yHeight = font->Size() * 20;
    if (font->Style().Contains(fsBold)) f.dwEffects |= CFE_BOLD;
    if (font->Style().Contains(fsItalic)) f.dwEffects |= CFE_ITALIC;
    if (font->Style().Contains(fsUnderline)) f.dwEffects |= CFE_UNDERLINE;
    if (font->Style().Contains(fsStrikeOut)) f.dwEffects |= CFE_STRIKEOUT;
    f.bCharSet = BYTE(font->Charset());
    Set(f);
    return;
  }
  if (auto* other = dynamic_cast<TTextAttributes*>(Source)) {
    CHARFORMAT2A f = other->Get();
    Set(f);
    return;
  }
  TPersistent::Assign(Source);
}

void TTextAttributes::AssignTo(TPersistent* Dest) {
  if (auto* font = dynamic_cast<TFont*>(Dest)) {
    font->SetColor(Color());
    font->SetName(Name());
    font->SetSize(Size());
    font->SetStyle(Style());
    font->SetCharset(Charset());
    font->SetPitch(Pitch());
    return;
  }
  TPersistent::AssignTo(Dest);
}

// --- TParaAttributes ------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TParaAttributes)

TParaAttributes::TParaAttributes(TCustomRichEdit* AOwner) : FRichEdit(AOwner) {}

PARAFORMAT2 TParaAttributes::Get() const {
  PARAFORMAT2 p{};
  p.cbSize = sizeof(p);
  FRichEdit->Send(EM_GETPARAFORMAT, 0, LPARAM(&p));
  return p;
}

void TParaAttributes::Set(PARAFORMAT2& Format) {
  Format.cbSize = sizeof(Format);
  FRichEdit->Send(EM_SETPARAFORMAT, 0, LPARAM(&Format));
}

TAlignment TParaAttributes::Alignment() const {
  switch (Get().wAlignment) {
    case PFA_RIGHT: return taRightJustify;
    case PFA_CENTER: return taCenter;
    default: return taLeftJustify;
  }
}

void TParaAttributes::SetAlignment(TAlignment Value) {
  PARAFORMAT2 p{};
  p.dwMask = PFM_ALIGNMENT;
  p.wAlignment = Value == taRightJustify ? PFA_RIGHT : Value == taCenter ? PFA_CENTER : PFA_LEFT;
  Set(p);
}

int TParaAttributes::FirstIndent() const { return Get().dxStartIndent / 20; }

void TParaAttributes::SetFirstIndent(int Value) {
  PARAFORMAT2 p{};
  p.dwMask = PFM_STARTINDENT;
  p.dxStartIndent = Value * 20;
  Set(p);
}

int TParaAttributes::LeftIndent() const { return Get().dxOffset / 20; }

void TParaAttributes::SetLeftIndent(int Value) {
  PARAFORMAT2 p{};
  p.dwMask = PFM_OFFSET;
  p.dxOffset = Value * 20;
  Set(p);
}

int TParaAttributes::RightIndent() const { return Get().dxRightIndent / 20; }

void TParaAttributes::SetRightIndent(int Value) {
  PARAFORMAT2 p{};
  p.dwMask = PFM_RIGHTINDENT;
  p.dxRightIndent = Value * 20;
  Set(p);
}

TNumberingStyle TParaAttributes::Numbering() const { return Get().wNumbering == PFN_BULLET ? nsBullet : nsNone; }

void TParaAttributes::SetNumbering(TNumberingStyle Value) {
  PARAFORMAT2 p{};
  p.dwMask = PFM_NUMBERING;
  p.wNumbering = Value == nsBullet ? PFN_BULLET : 0;
  Set(p);
}

int TParaAttributes::Tab(int Index) const {
  PARAFORMAT2 p = Get();
  if (Index < 0 || Index >= p.cTabCount) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return int(p.rgxTabs[Index] & 0xFFFFFF) / 20;
}

void TParaAttributes::SetTab(int Index, int Value) {
  PARAFORMAT2 p = Get();
  if (Index < 0 || Index >= MAX_TAB_STOPS) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  p.dwMask = PFM_TABSTOPS;
  if (p.cTabCount <= Index) p.cTabCount = SHORT(Index + 1);
  p.rgxTabs[Index] = Value * 20;
  Set(p);
}

int TParaAttributes::TabCount() const { return Get().cTabCount; }

void TParaAttributes::SetTabCount(int Value) {
  PARAFORMAT2 p = Get();
  p.dwMask = PFM_TABSTOPS;
  p.cTabCount = SHORT(std::clamp(Value, 0, int(MAX_TAB_STOPS)));
  Set(p);
}

void TParaAttributes::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TParaAttributes*>(Source)) {
    PARAFORMAT2 p = other->Get();
    p.dwMask = PFM_ALIGNMENT | PFM_STARTINDENT | PFM_OFFSET | PFM_RIGHTINDENT | PFM_NUMBERING | PFM_TABSTOPS;
    Set(p);
    return;
  }
  TPersistent::Assign(Source);
}

// --- TRichEditStrings -----------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TRichEditStrings)

String TRichEditStrings::Get(int Index) const {
  LRESULT start = FRichEdit->Send(EM_LINEINDEX, WPARAM(Index));
  if (Index < 0 || start < 0) ListIndexError(Index);
  char buffer[4096];
  *reinterpret_cast<WORD*>(buffer) = WORD(sizeof(buffer) - 1);
  LRESULT length = FRichEdit->Send(EM_GETLINE, WPARAM(Index), LPARAM(buffer));
  String line(buffer, std::size_t(std::clamp<LRESULT>(length, 0, sizeof(buffer) - 1)));
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) line.resize(line.size() - 2);
  else if (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

int TRichEditStrings::GetCount() const {
  int count = int(FRichEdit->Send(EM_GETLINECOUNT));
  // The window counts the empty line after a final line break; the list does not.
  LRESULT last = FRichEdit->Send(EM_LINEINDEX, WPARAM(count - 1));
  if (last >= 0 && FRichEdit->Send(EM_LINELENGTH, WPARAM(last)) == 0) --count;
  return count;
}

void TRichEditStrings::Put(int Index, const String& S) {
  LRESULT start = FRichEdit->Send(EM_LINEINDEX, WPARAM(Index));
  if (Index < 0 || start < 0) return;
  CHARRANGE r{LONG(start), LONG(start + FRichEdit->Send(EM_LINELENGTH, WPARAM(start)))};
  FRichEdit->Send(EM_EXSETSEL, 0, LPARAM(&r));
  FRichEdit->Send(EM_REPLACESEL, FALSE, LPARAM(S.c_str()));
}

void TRichEditStrings::Insert(int Index, const String& S) {
  if (Index < 0) return;
  LRESULT start = FRichEdit->Send(EM_LINEINDEX, WPARAM(Index));
  String text;
  if (start >= 0 && Index < GetCount()) {
    text = S + "\r\n";
  } else if (start >= 0) {
    // The empty line after a final line break takes the text.
    text = S;
  } else {
    // Past the last line: after the end of the text, on a line of its own.
    int length = FRichEdit->TextLength();
    start = length;
    text = length > 0 ? "\r\n" + S : S;
  }
  CHARRANGE r{LONG(start), LONG(start)};
  FRichEdit->Send(EM_EXSETSEL, 0, LPARAM(&r));
  FRichEdit->Send(EM_REPLACESEL, FALSE, LPARAM(text.c_str()));
}

void TRichEditStrings::Delete(int Index) {
  LRESULT start = FRichEdit->Send(EM_LINEINDEX, WPARAM(Index));
  if (Index < 0 || start < 0) return;
  LRESULT next = FRichEdit->Send(EM_LINEINDEX, WPARAM(Index + 1));
  CHARRANGE r{LONG(start), LONG(next)};
  if (next < 0) {
    // The last line takes the line break before it along.
    r.cpMax = LONG(start + FRichEdit->Send(EM_LINELENGTH, WPARAM(start)));
    if (start > 0) r.cpMin = LONG(start - 1);
  }
  FRichEdit->Send(EM_EXSETSEL, 0, LPARAM(&r));
  FRichEdit->Send(EM_REPLACESEL, FALSE, LPARAM(""));
}

void TRichEditStrings::Clear() { FRichEdit->Clear(); }

void TRichEditStrings::SetTextStr(const String& Value) {
  TStringStream stream(Value);
  // Text that is not RTF goes in as it is, whatever PlainText says.
  bool rtf = !FRichEdit->PlainText && Value.compare(0, 5, "{\\rtf") == 0;
  FRichEdit->StreamIn(&stream, rtf ? SF_RTF : SF_TEXT);
}

void TRichEditStrings::LoadFromStream(TStream* Stream) {
  std::int64_t position = Stream->Position();
  UINT format = FRichEdit->PlainText ? SF_TEXT : SF_RTF;
  if (FRichEdit->StreamIn(Stream, format) || format != SF_RTF) return;
  Stream->SetPosition(position);
  if (!FRichEdit->StreamIn(Stream, SF_TEXT)) throw EOutOfResources("Erreur au chargement du flux");
}

void TRichEditStrings::SaveToStream(TStream* Stream) {
  if (!FRichEdit->StreamOut(Stream, FRichEdit->PlainText ? SF_TEXT : SF_RTF)) {
    throw EWriteError("Erreur à l'écriture du flux"_a);
  }
}

void TRichEditStrings::SetUpdateState(bool Updating) {
  if (!FRichEdit->Showing()) return;
  FRichEdit->Send(WM_SETREDRAW, Updating ? FALSE : TRUE);
  if (!Updating) FRichEdit->Refresh();
}

// --- TCustomRichEdit ------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomRichEdit)
VELBOR_PUBLISHED(TCustomRichEdit,
  Prop("Lines", &Self::Lines, &Self::SetLines),
  Prop("PlainText", &Self::PlainText).Default(false),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("MaxLength", &Self::MaxLength, &Self::SetMaxLength).Default(0),
  Prop("HideSelection", &Self::HideSelection, &Self::SetHideSelection).Default(true),
  Prop("HideScrollBars", &Self::HideScrollBars, &Self::SetHideScrollBars).Default(true),
  Prop("ScrollBars", &Self::ScrollBars, &Self::SetScrollBars).Default(ssNone),
  Prop("WordWrap", &Self::WordWrap, &Self::SetWordWrap).Default(true),
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taLeftJustify),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSingle),
  Prop("WantTabs", &Self::WantTabs).Default(false),
  Prop("WantReturns", &Self::WantReturns).Default(true),
  Prop("OnChange", &Self::OnChange),
  Prop("OnSelectionChange", &Self::OnSelectionChange),
  Prop("OnProtectChange", &Self::OnProtectChange),
  Prop("OnResizeRequest", &Self::OnResizeRequest),
  Prop("OnSaveClipboard", &Self::OnSaveClipboard))

VELBOR_IMPLEMENT_CLASS(TRichEdit)

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner) : TWinControl(AOwner) {
  LoadRichEditLibrary();
  ControlStyle = {csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 185, 89);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FLines = new TRichEditStrings(this);
  FSelAttributes = new TTextAttributes(this, atSelected);
  FDefAttributes = new TTextAttributes(this, atDefaultText);
  FParagraph = new TParaAttributes(this);
}

TCustomRichEdit::~TCustomRichEdit() {
  Destroying();
  DestroyHandle();
  delete FSavedContent;
  delete FParagraph;
  delete FDefAttributes;
  delete FSelAttributes;
  delete FLines;
}

LRESULT TCustomRichEdit::Send(UINT Msg, WPARAM W, LPARAM L) const {
  return SendMessageA(const_cast<TCustomRichEdit*>(this)->Handle(), Msg, W, L);
}

int TCustomRichEdit::SelStart() const {
  CHARRANGE r{};
  Send(EM_EXGETSEL, 0, LPARAM(&r));
  return r.cpMin;
}

void TCustomRichEdit::SetSelStart(int Value) {
  CHARRANGE r{Value, Value};
  Send(EM_EXSETSEL, 0, LPARAM(&r));
}

int TCustomRichEdit::SelLength() const {
  CHARRANGE r{};
  Send(EM_EXGETSEL, 0, LPARAM(&r));
  return r.cpMax - r.cpMin;
}

void TCustomRichEdit::SetSelLength(int Value) {
  CHARRANGE r{};
  Send(EM_EXGETSEL, 0, LPARAM(&r));
  r.cpMax = r.cpMin + Value;
  Send(EM_EXSETSEL, 0, LPARAM(&r));
}

String TCustomRichEdit::SelText() const {
  String text(std::size_t(std::max(SelLength(), 0)) * 2 + 1, '\0');
  LRESULT length = Send(EM_GETSELTEXT, 0, LPARAM(text.data()));
  text.resize(std::size_t(std::max<LRESULT>(length, 0)));
  return text;
}

void TCustomRichEdit::SetSelText(const String& Value) { Send(EM_REPLACESEL, TRUE, LPARAM(Value.c_str())); }

int TCustomRichEdit::TextLength() const {
  GETTEXTLENGTHEX info{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return int(Send(EM_GETTEXTLENGTHEX, WPARAM(&info)));
}

bool TCustomRichEdit::Modified() const { return HandleAllocated() ? Send(EM_GETMODIFY) != 0 : FSavedModified; }

void TCustomRichEdit::SetModified(bool Value) {
  if (HandleAllocated()) Send(EM_SETMODIFY, Value);
  else FSavedModified = Value;
}

bool TCustomRichEdit::CanUndo() const { return HandleAllocated() && Send(EM_CANUNDO) != 0; }

void TCustomRichEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  if (HandleAllocated()) Send(EM_SETREADONLY, Value);
}

void TCustomRichEdit::SetMaxLength(int Value) {
  FMaxLength = std::max(Value, 0);
  // No limit is the window's largest, not its default of 32 767 characters.
  if (HandleAllocated()) Send(EM_EXLIMITTEXT, 0, FMaxLength > 0 ? FMaxLength : 0x7FFFFFF0);
}

void TCustomRichEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  if (HandleAllocated()) Send(EM_HIDESELECTION, Value, FALSE);
}

void TCustomRichEdit::SetHideScrollBars(bool Value) {
  if (FHideScrollBars == Value) return;
  FHideScrollBars = Value;
  RecreateWnd();
}

void TCustomRichEdit::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomRichEdit::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

void TCustomRichEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomRichEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomRichEdit::Clear() { SetWindowTextA(Handle(), ""); }

void TCustomRichEdit::ClearSelection() { Send(WM_CLEAR); }

void TCustomRichEdit::SelectAll() {
  CHARRANGE r{0, -1};
  Send(EM_EXSETSEL, 0, LPARAM(&r));
}

void TCustomRichEdit::CopyToClipboard() { Send(WM_COPY); }

void TCustomRichEdit::CutToClipboard() { Send(WM_CUT); }

void TCustomRichEdit::PasteFromClipboard() { Send(WM_PASTE); }

void TCustomRichEdit::Undo() { Send(EM_UNDO); }

void TCustomRichEdit::ClearUndo() { Send(EM_EMPTYUNDOBUFFER); }

int TCustomRichEdit::FindText(const String& SearchStr, int StartPos, int Length, TSearchTypes Options) {
  FINDTEXTA find{};
  find.chrg.cpMin = StartPos;
  find.chrg.cpMax = StartPos + Length;
  find.lpstrText = SearchStr.c_str();
  // The version-2 window searches backwards without FR_DOWN.
  WPARAM flags = FR_DOWN;
  if (Options.Contains(stWholeWord)) flags |= FR_WHOLEWORD;
  if (Options.Contains(stMatchCase)) flags |= FR_MATCHCASE;
  return int(Send(EM_FINDTEXT, flags, LPARAM(&find)));
}

int TCustomRichEdit::FormatPages(HDC DC, const TRect& Page, bool Render) {
  int ppiX = GetDeviceCaps(DC, LOGPIXELSX);
  int ppiY = GetDeviceCaps(DC, LOGPIXELSY);
  FORMATRANGE range{};
  range.hdc = DC;
  range.hdcTarget = DC;
  range.rcPage = RECT{MulDiv(Page.Left, 1440, ppiX), MulDiv(Page.Top, 1440, ppiY), MulDiv(Page.Right, 1440, ppiX),
                      MulDiv(Page.Bottom, 1440, ppiY)};
  int length = TextLength();
  int pages = 0;
  LONG next = 0;
  TScopeGuard restore([&] { Send(EM_FORMATRANGE, FALSE, 0); });
  do {
    range.rc = range.rcPage;
    range.chrg.cpMin = next;
    range.chrg.cpMax = -1;
    if (Render) StartPage(DC);
    LONG after = LONG(Send(EM_FORMATRANGE, Render, LPARAM(&range)));
    if (Render) EndPage(DC);
    ++pages;
    // A page that holds nothing more ends the layout (a text too wide for any page).
    if (after <= next) break;
    next = after;
  } while (next < length);
  return pages;
}

void TCustomRichEdit::Print(const String& Caption) {
  PRINTDLGA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  if (!PrintDlgA(&dialog) || !dialog.hDC) throw EInvalidOperation("Aucune imprimante n'est installée"_a);
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  TOwnedDC dc(dialog.hDC);
  TRect page = PageRect;
  if (page.IsEmpty()) page = TRect(0, 0, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
  DOCINFOA doc{};
  doc.cbSize = sizeof(doc);
  doc.lpszDocName = Caption.c_str();
  if (StartDocA(dc, &doc) <= 0) throw EInvalidOperation("L'impression n'a pas pu commencer");
  try {
    FormatPages(dc, page, true);
  } catch (...) {
    AbortDoc(dc);
    throw;
  }
  EndDoc(dc);
}

bool TCustomRichEdit::StreamIn(TStream* Stream, UINT Format) {
  TStreamCookie cookie{Stream};
  EDITSTREAM es{};
  es.dwCookie = DWORD_PTR(&cookie);
  es.pfnCallback = &StreamInCallback;
  Send(EM_STREAMIN, Format, LPARAM(&es));
  return es.dwError == 0;
}

bool TCustomRichEdit::StreamOut(TStream* Stream, UINT Format) {
  TStreamCookie cookie{Stream};
  EDITSTREAM es{};
  es.dwCookie = DWORD_PTR(&cookie);
  es.pfnCallback = &StreamOutCallback;
  Send(EM_STREAMOUT, Format, LPARAM(&es));
  return es.dwError == 0;
}

void TCustomRichEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomRichEdit::SelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

// Protected text changes only when a handler allows it.
bool TCustomRichEdit::ProtectChange(int StartPos, int EndPos) {
  bool allow = false;
  if (OnProtectChange) OnProtectChange(this, StartPos, EndPos, allow);
  return allow;
}

void TCustomRichEdit::RequestSize(const TRect& Rect) {
  if (OnResizeRequest) OnResizeRequest(this, Rect);
}

bool TCustomRichEdit::SaveClipboard(int NumObjects, int NumChars) {
  bool save = true;
  if (OnSaveClipboard) OnSaveClipboard(this, NumObjects, NumChars, save);
  return save;
}

void TCustomRichEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, RICHEDIT_CLASS20A);
  Params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_SAVESEL;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (!FHideScrollBars) Params.Style |= ES_DISABLENOSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL | ES_AUTOVSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (!FWordWrap) Params.Style |= ES_AUTOHSCROLL;
  if (FAlignment == taRightJustify) Params.Style |= ES_RIGHT;
  else if (FAlignment == taCenter) Params.Style |= ES_CENTER;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomRichEdit::CreateWnd() {
  TWinControl::CreateWnd();
  Send(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE | ENM_PROTECTED);
  Send(EM_EXLIMITTEXT, 0, FMaxLength > 0 ? FMaxLength : 0x7FFFFFF0);
  // Word wrap at the window's width, or none.
  Send(EM_SETTARGETDEVICE, 0, FWordWrap ? 0 : 1);
  DefAttributes()->Assign(Font());
  if (FSavedContent) {
    FSavedContent->SetPosition(0);
    StreamIn(FSavedContent, SF_RTF);
    delete FSavedContent;
    FSavedContent = nullptr;
  }
  Send(EM_SETMODIFY, FSavedModified);
}

void TCustomRichEdit::DestroyWnd() {
  // The content (with its formatting) outlives a re-created window.
  if (!ComponentState().Contains(csDestroying)) {
    delete FSavedContent;
    FSavedContent = new TMemoryStream();
    StreamOut(FSavedContent, SF_RTF);
    FSavedModified = Send(EM_GETMODIFY) != 0;
  }
  TWinControl::DestroyWnd();
}

bool TCustomRichEdit::RangeProtected(int StartPos, int EndPos) {
  CHARRANGE saved{};
  Send(EM_EXGETSEL, 0, LPARAM(&saved));
  FCheckingProtection = true;
  auto protectedAt = [this](int From, int To) {
    CHARRANGE r{From, To};
    Send(EM_EXSETSEL, 0, LPARAM(&r));
    CHARFORMAT2A f{};
    f.cbSize = sizeof(f);
    Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&f));
    // Mixed protection counts as protected.
    return !(f.dwMask & CFM_PROTECTED) || (f.dwEffects & CFE_PROTECTED);
  };
  bool result;
  if (EndPos > StartPos) {
    result = protectedAt(StartPos, EndPos);
  } else {
    // An insertion point is protected inside a protected run: both neighbours are.
    result = StartPos > 0 && StartPos < TextLength() && protectedAt(StartPos - 1, StartPos) &&
             protectedAt(StartPos, StartPos + 1);
  }
  Send(EM_EXSETSEL, 0, LPARAM(&saved));
  FCheckingProtection = false;
  return result;
}

// The native window of this system does not report edits of protected text: the edits that
// reach it are checked here first, and refused unless ProtectChange allows them.
bool TCustomRichEdit::EditRefused(TMessage& Message) {
  if (!HandleAllocated()) return false;
  CHARRANGE sel{};
  Send(EM_EXGETSEL, 0, LPARAM(&sel));
  int start = sel.cpMin, end = sel.cpMax;
  switch (Message.Msg) {
    case WM_CHAR:
      if (Message.WParam == VK_BACK && start == end && start > 0) --start;
      else if (Message.WParam < 32 && Message.WParam != VK_BACK && Message.WParam != VK_RETURN && Message.WParam != VK_TAB) return false;
      break;
    case WM_KEYDOWN:
      if (Message.WParam != VK_DELETE) return false;
      if (start == end) ++end;
      break;
    case WM_CUT:
    case WM_CLEAR:
      if (start == end) return false;
      break;
    case WM_PASTE:
    case EM_REPLACESEL:
      break;
    default:
      return false;
  }
  if (!RangeProtected(start, end)) return false;
  if (ProtectChange(start, end)) return false;
  Message.Result = 0;
  return true;
}

void TCustomRichEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_CUT:
    case WM_CLEAR:
    case WM_PASTE:
    case EM_REPLACESEL:
      if (EditRefused(Message)) return;
      TWinControl::Dispatch(Message);
      break;
    case CN_COMMAND: CNCommand(Message); break;
    case CN_NOTIFY: CNNotify(Message); break;
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TCustomRichEdit::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == EN_CHANGE) Change();
}

void TCustomRichEdit::CNNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  switch (hdr->code) {
    case EN_SELCHANGE:
      if (!FCheckingProtection) SelectionChange();
      break;
    case EN_PROTECTED: {
      auto* p = reinterpret_cast<ENPROTECTED*>(hdr);
      // Changing the formatting of protected text (its protection too) is not an edit of it.
      if (p->msg == EM_SETCHARFORMAT) break;
      Message.Result = ProtectChange(p->chrg.cpMin, p->chrg.cpMax) ? 0 : 1;
      break;
    }
    case EN_REQUESTRESIZE:
      RequestSize(reinterpret_cast<REQRESIZE*>(hdr)->rc);
      break;
    case EN_SAVECLIPBOARD: {
      auto* s = reinterpret_cast<ENSAVECLIPBOARD*>(hdr);
      Message.Result = SaveClipboard(s->cObjectCount, s->cch) ? 0 : 1;
      break;
    }
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TCustomRichEdit::WMGetDlgCode(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (WantTabs) Message.Result |= DLGC_WANTTAB;
  else Message.Result &= ~DLGC_WANTTAB;
  if (!WantReturns) Message.Result &= ~DLGC_WANTALLKEYS;
}

void TCustomRichEdit::CMFontChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (HandleAllocated()) DefAttributes()->Assign(Font());
}

void RegisterRichEdit() {
  RegisterClass(TRichEdit::StaticClass());
}
