// This file implements the common dialogs over comdlg32 (GetOpenFileNameA, ChooseFontA,
// ChooseColorA, PrintDlgA, PageSetupDlgA, FindTextA/ReplaceTextA), each asked through AskModal
// first so that a responder can answer in its place.
#include "CommonDialogs.h"

#include "WinApi.h"

#include <cstring>
#include <vector>

#include "FileUtils.h"
#include "Format.h"
#include "Forms.h"
#include "Printers.h"
#include "StrUtils.h"
#include "Strings.h"
#include "TextOrder.h"
#include "UtilityWindow.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TCommonDialog)
VELBOR_PUBLISHED(TCommonDialog,
  Prop("Ctl3D", &Self::Ctl3D).Default(true),
  Prop("HelpContext", &Self::HelpContext).Default(0),
  Prop("OnShow", &Self::OnShow),
  Prop("OnClose", &Self::OnClose))

VELBOR_IMPLEMENT_CLASS(TOpenDialog)
VELBOR_PUBLISHED(TOpenDialog,
  Prop("DefaultExt", &Self::DefaultExt),
  Prop("FileName", &Self::FileName),
  Prop("Filter", &Self::Filter),
  Prop("FilterIndex", &Self::FilterIndex).Default(1),
  Prop("InitialDir", &Self::InitialDir),
  Prop("Options", &Self::Options).Default(TOpenOptions{ofHideReadOnly, ofEnableSizing}),
  Prop("Title", &Self::Title))

VELBOR_IMPLEMENT_CLASS(TSaveDialog)

VELBOR_IMPLEMENT_CLASS(TFontDialog)
VELBOR_PUBLISHED(TFontDialog,
  Prop("Font", &Self::Font, &Self::SetFont),
  Prop("Device", &Self::Device).Default(fdScreen),
  Prop("MinFontSize", &Self::MinFontSize).Default(0),
  Prop("MaxFontSize", &Self::MaxFontSize).Default(0),
  Prop("Options", &Self::Options).Default(TFontDialogOptions{fdEffects}))

VELBOR_IMPLEMENT_CLASS(TColorDialog)
VELBOR_PUBLISHED(TColorDialog,
  Prop("Color", &Self::Color).Default(clBlack).Idents(ColorIdents),
  Prop("CustomColors", &Self::CustomColors, &Self::SetCustomColors),
  Prop("Options", &Self::Options).Default(TColorDialogOptions{}))

VELBOR_IMPLEMENT_CLASS(TPrintDialog)
VELBOR_PUBLISHED(TPrintDialog,
  Prop("Collate", &Self::Collate).Default(false),
  Prop("Copies", &Self::Copies).Default(0),
  Prop("FromPage", &Self::FromPage).Default(0),
  Prop("MinPage", &Self::MinPage).Default(0),
  Prop("MaxPage", &Self::MaxPage).Default(0),
  Prop("Options", &Self::Options).Default(TPrintDialogOptions{}),
  Prop("PrintRange", &Self::PrintRange).Default(prAllPages),
  Prop("PrintToFile", &Self::PrintToFile).Default(false),
  Prop("ToPage", &Self::ToPage).Default(0))

VELBOR_IMPLEMENT_CLASS(TPrinterSetupDialog)

VELBOR_IMPLEMENT_CLASS(TPageSetupDialog)
VELBOR_PUBLISHED(TPageSetupDialog,
  Prop("MarginLeft", &Self::MarginLeft).Default(0),
  Prop("MarginTop", &Self::MarginTop).Default(0),
  Prop("MarginRight", &Self::MarginRight).Default(0),
  Prop("MarginBottom", &Self::MarginBottom).Default(0),
  Prop("Units", &Self::Units).Default(pmMillimeters))

VELBOR_IMPLEMENT_CLASS(TFindDialog)
VELBOR_PUBLISHED(TFindDialog,
  Prop("FindText", &Self::FindText),
  Prop("Options", &Self::Options).Default(TFindOptions{frDown}),
  Prop("OnFind", &Self::OnFind))

VELBOR_IMPLEMENT_CLASS(TReplaceDialog)
VELBOR_PUBLISHED(TReplaceDialog,
  Prop("ReplaceText", &Self::ReplaceText),
  Prop("OnReplace", &Self::OnReplace))

void RegisterCommonDialogs() {
  RegisterClass(TOpenDialog::StaticClass());
  RegisterClass(TSaveDialog::StaticClass());
  RegisterClass(TFontDialog::StaticClass());
  RegisterClass(TColorDialog::StaticClass());
  RegisterClass(TPrintDialog::StaticClass());
  RegisterClass(TPrinterSetupDialog::StaticClass());
  RegisterClass(TPageSetupDialog::StaticClass());
  RegisterClass(TFindDialog::StaticClass());
  RegisterClass(TReplaceDialog::StaticClass());
}

namespace {
String FieldOr(const TModalAnswer& Answer, const char* Name, const String& Default) {
  auto it = Answer.Fields.find(Name);
  return it == Answer.Fields.end() ? Default : it->second;
}

int IntFieldOr(const TModalAnswer& Answer, const char* Name, int Default) {
  auto it = Answer.Fields.find(Name);
  return it == Answer.Fields.end() ? Default : StrToIntDef(it->second, Default);
}

// The real dialogs are modal to the program: its other windows are disabled meanwhile.
class TModalScope {
 public:
  TModalScope() : FDisabled(DisableTaskWindows(nullptr)) {}
  ~TModalScope() { EnableTaskWindows(FDisabled); }
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;

 private:
  std::vector<HWND> FDisabled;
};

// Makes the printer named Name current (nothing for an empty name or an unknown printer).
void SelectPrinterByName(const String& Name) {
  if (Name.empty()) return;
  int index = Printer()->Printers()->IndexOf(Name);
  if (index >= 0) Printer()->SetPrinterIndex(index);
}

String CurrentPrinterName() {
  try {
    TPrinter* p = Printer();
    if (p->Printers()->Count() == 0) return String();
    return p->Printers()->Strings(p->PrinterIndex());
  } catch (const EPrinter&) {
    return String();
  }
}

// Hands the printer's device mode to a dialog (a copy the dialog may replace) and takes back what
// the dialog chose.
HGLOBAL CopyDeviceMode() {
  if (Printer()->Printers()->Count() == 0) return nullptr;
  String device, driver, port;
  HGLOBAL mode = nullptr;
  Printer()->GetPrinter(device, driver, port, mode);
  if (!mode) return nullptr;
  SIZE_T size = ::GlobalSize(mode);
  HGLOBAL copy = ::GlobalAlloc(GHND, size);
  if (!copy) return nullptr;
  std::memcpy(::GlobalLock(copy), ::GlobalLock(mode), size);
  ::GlobalUnlock(mode);
  ::GlobalUnlock(copy);
  return copy;
}

void TakeDevice(HGLOBAL DevNames, HGLOBAL DevMode) {
  if (!DevNames) {
    if (DevMode) ::GlobalFree(DevMode);
    return;
  }
  const auto* names = static_cast<const DEVNAMES*>(::GlobalLock(DevNames));
  const char* base = reinterpret_cast<const char*>(names);
  String driver = base + names->wDriverOffset;
  String device = base + names->wDeviceOffset;
  String port = base + names->wOutputOffset;
  ::GlobalUnlock(DevNames);
  ::GlobalFree(DevNames);
  Printer()->SetPrinter(device, driver, port, DevMode);
}
}  // namespace

// --- TCommonDialog -------------------------------------------------------------------------------

TCommonDialog::TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

TCommonDialog::~TCommonDialog() = default;

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

bool TCommonDialog::AskScript(TModalQuestion& Question, TModalAnswer& Answer) {
  Question.Kind = TModalKind::Other;
  Answer = AskModal(Question);
  // Without a responder the entry answers -1: the real dialog shows.
  return Answer.Result != -1;
}

HWND TCommonDialog::OwnerWindow() const {
  if (HWND active = Application->ActiveFormHandle()) return active;
  return Application->Handle();
}

// --- TOpenDialog ---------------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(new TStringList()) {}

TOpenDialog::~TOpenDialog() { delete FFiles; }

TStrings* TOpenDialog::Files() const { return FFiles; }

String TOpenDialog::DialogName() const { return ClassName().substr(1); }

String TOpenDialog::CompleteName(const String& Name) {
  String name = Name;
  bool hasFolder = name.find('\\') != String::npos || name.find(':') != String::npos;
  if (!hasFolder && !InitialDir.empty()) name = IncludeTrailingPathDelimiter(InitialDir) + name;
  String ext = ExtractFileExt(name);
  if (ext.empty() && !DefaultExt.empty()) {
    name += "." + DefaultExt;
    ext = "." + DefaultExt;
  }
  return name;
}

bool TOpenDialog::AcceptName(const String& Name) {
  if (Options.Contains(ofFileMustExist) && !FileExists(Name)) {
    TModalQuestion q;
    q.Kind = TModalKind::MessageBox;
    q.Caption = Title.empty() ? String("Ouvrir") : Title;
    q.Text = Name + "\r\nFichier introuvable.\r\nVérifiez que le nom de fichier est correct."_a;
    q.Flags = MB_OK | MB_ICONWARNING;
    AskModal(q);
    return false;
  }
  return true;
}

bool TOpenDialog::Execute() {
  TModalQuestion q;
  q.Name = DialogName();
  q.Caption = Title;
  q.Value = FileName;
  q.Flags = Options.Bits();
  q.Fields["Filter"] = Filter;
  q.Fields["FilterIndex"] = IntToStr(FilterIndex);
  q.Fields["DefaultExt"] = DefaultExt;
  q.Fields["InitialDir"] = InitialDir;
  TModalAnswer a;
  DoShow();
  if (AskScript(q, a)) {
    // The real dialog stays open until a name passes its checks: so does the scripted one, as
    // long as answers come.
    for (;;) {
      if (a.Result == 0) {
        DoClose();
        return false;
      }
      TStringList names;
      names.SetText(a.Value);
      if (names.Count() == 0) names.Add(a.Value);
      bool accepted = true;
      for (int i = 0; i < names.Count() && accepted; ++i) {
        names.Put(i, CompleteName(names.Strings(i)));
        accepted = AcceptName(names.Strings(i));
      }
      if (accepted) {
        FFiles->Assign(&names);
        FileName = names.Strings(0);
        FilterIndex = IntFieldOr(a, "FilterIndex", FilterIndex);
        break;
      }
      a = AskModal(q);
    }
  } else {
    std::vector<char> filter(Filter.begin(), Filter.end());
    for (char& c : filter) if (c == '|') c = '\0';
    filter.push_back('\0');
    filter.push_back('\0');
    std::vector<char> buffer(Options.Contains(ofAllowMultiSelect) ? 65536 : MAX_PATH * 2, '\0');
    std::memcpy(buffer.data(), FileName.c_str(), std::min(FileName.size(), buffer.size() - 1));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = OwnerWindow();
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.data();
    ofn.nFilterIndex = DWORD(FilterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = DWORD(buffer.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    // The option bits below ofExtensionDifferent and up to ofNoDereferenceLinks are the OFN_ flags'
    // own order; the rest are mapped one by one.
    DWORD flags = OFN_EXPLORER;
    static const DWORD map[] = {OFN_READONLY, OFN_OVERWRITEPROMPT, OFN_HIDEREADONLY, OFN_NOCHANGEDIR, OFN_SHOWHELP,
                                OFN_NOVALIDATE, OFN_ALLOWMULTISELECT, OFN_EXTENSIONDIFFERENT, OFN_PATHMUSTEXIST,
                                OFN_FILEMUSTEXIST, OFN_CREATEPROMPT, OFN_SHAREAWARE, OFN_NOREADONLYRETURN,
                                OFN_NOTESTFILECREATE, OFN_NONETWORKBUTTON, OFN_NOLONGNAMES, 0,
                                OFN_NODEREFERENCELINKS, OFN_ENABLEINCLUDENOTIFY, OFN_ENABLESIZING};
    for (int i = 0; i <= int(ofEnableSizing); ++i)
      if (Options.Contains(TOpenOption(i))) flags |= map[i];
    ofn.Flags = flags;
    bool ok;
    {
      TModalScope scope;
      ok = RunDialog(ofn);
    }
    if (!ok) {
      DoClose();
      return false;
    }
    FilterIndex = int(ofn.nFilterIndex);
    FFiles->Clear();
    const char* p = buffer.data();
    String first = p;
    p += first.size() + 1;
    if (Options.Contains(ofAllowMultiSelect) && *p) {
      // A folder, then the names in it.
      for (; *p; p += std::strlen(p) + 1) FFiles->Add(IncludeTrailingPathDelimiter(first) + p);
    } else {
      FFiles->Add(first);
    }
    FileName = FFiles->Strings(0);
    Options.Exclude(ofReadOnly);
    if (ofn.Flags & OFN_READONLY) Options.Include(ofReadOnly);
  }
  if (!DefaultExt.empty() && !SameText(ExtractFileExt(FileName), "." + DefaultExt))
    Options.Include(ofExtensionDifferent);
  else
    Options.Exclude(ofExtensionDifferent);
  DoClose();
  return true;
}

bool TOpenDialog::RunDialog(OPENFILENAMEA& Params) { return ::GetOpenFileNameA(&Params); }

bool TSaveDialog::RunDialog(OPENFILENAMEA& Params) { return ::GetSaveFileNameA(&Params); }

bool TSaveDialog::AcceptName(const String& Name) {
  if (Options.Contains(ofOverwritePrompt) && FileExists(Name)) {
    TModalQuestion q;
    q.Kind = TModalKind::MessageBox;
    q.Caption = Title.empty() ? String("Enregistrer sous") : Title;
    q.Text = Name + " existe déjà.\r\nVoulez-vous le remplacer ?"_a;
    q.Flags = MB_YESNO | MB_ICONWARNING;
    return AskModal(q).Result == IDYES;
  }
  return true;
}

// --- TFontDialog ---------------------------------------------------------------------------------

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(new TFont()) {}

TFontDialog::~TFontDialog() { delete FFont; }

namespace {
String StyleLetters(TFontStyles Style) {
  String s;
  if (Style.Contains(fsBold)) s += 'B';
  if (Style.Contains(fsItalic)) s += 'I';
  if (Style.Contains(fsUnderline)) s += 'U';
  if (Style.Contains(fsStrikeOut)) s += 'S';
  return s;
}

TFontStyles StyleFromLetters(const String& Letters) {
  TFontStyles style;
  for (char c : Letters) {
    switch (AnsiUpperChar(c)) {
      case 'B': style.Include(fsBold); break;
      case 'I': style.Include(fsItalic); break;
      case 'U': style.Include(fsUnderline); break;
      case 'S': style.Include(fsStrikeOut); break;
      default: break;
    }
  }
  return style;
}
}  // namespace

bool TFontDialog::Execute() {
  TModalQuestion q;
  q.Name = "FontDialog";
  q.Value = FFont->Name();
  q.Flags = Options.Bits();
  q.Fields["Size"] = IntToStr(FFont->Size());
  q.Fields["Style"] = StyleLetters(FFont->Style());
  q.Fields["Color"] = IntToStr(FFont->Color());
  q.Fields["MinFontSize"] = IntToStr(MinFontSize);
  q.Fields["MaxFontSize"] = IntToStr(MaxFontSize);
  TModalAnswer a;
  DoShow();
  if (AskScript(q, a)) {
    for (;;) {
      if (a.Result == 0) {
        DoClose();
        return false;
      }
      int size = IntFieldOr(a, "Size", FFont->Size());
      bool inLimits = !Options.Contains(fdLimitSize) || ((MinFontSize == 0 || size >= MinFontSize) &&
                                                         (MaxFontSize == 0 || size <= MaxFontSize));
      if (inLimits) {
        if (!a.Value.empty()) FFont->SetName(a.Value);
        FFont->SetSize(size);
        FFont->SetStyle(StyleFromLetters(FieldOr(a, "Style", StyleLetters(FFont->Style()))));
        FFont->SetColor(TColor(IntFieldOr(a, "Color", int(FFont->Color()))));
        break;
      }
      a = AskModal(q);
    }
    DoClose();
    return true;
  }
  LOGFONTA lf{};
  ::GetObjectA(FFont->Handle(), sizeof(lf), &lf);
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = OwnerWindow();
  cf.lpLogFont = &lf;
  cf.rgbColors = ColorToRGB(FFont->Color());
  cf.Flags = CF_INITTOLOGFONTSTRUCT;
  if (Device == fdScreen) cf.Flags |= CF_SCREENFONTS;
  else if (Device == fdPrinter) cf.Flags |= CF_PRINTERFONTS;
  else cf.Flags |= CF_BOTH;
  if (Device != fdScreen) {
    try {
      cf.hDC = Printer()->Handle();
    } catch (const EPrinter&) {
      cf.Flags = (cf.Flags & ~DWORD(CF_BOTH)) | CF_SCREENFONTS;
    }
  }
  static const DWORD map[] = {CF_ANSIONLY, CF_TTONLY, CF_EFFECTS, CF_FIXEDPITCHONLY, CF_FORCEFONTEXIST,
                              CF_NOFACESEL, CF_NOOEMFONTS, CF_NOSIMULATIONS, CF_NOSIZESEL, CF_NOSTYLESEL,
                              CF_NOVECTORFONTS, CF_SHOWHELP, CF_WYSIWYG, CF_LIMITSIZE, CF_SCALABLEONLY, CF_APPLY};
  for (int i = 0; i <= int(fdApplyButton); ++i)
    if (Options.Contains(TFontDialogOption(i))) cf.Flags |= map[i];
  cf.nSizeMin = MinFontSize;
  cf.nSizeMax = MaxFontSize;
  bool ok;
  {
    TModalScope scope;
    ok = ::ChooseFontA(&cf);
  }
  if (ok) {
    FFont->SetHandle(::CreateFontIndirectA(&lf));
    FFont->SetColor(TColor(cf.rgbColors));
  }
  DoClose();
  return ok;
}

// --- TColorDialog --------------------------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), FCustomColors(new TStringList()) {}

TColorDialog::~TColorDialog() { delete FCustomColors; }

TStrings* TColorDialog::CustomColors() const { return FCustomColors; }

void TColorDialog::SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }

bool TColorDialog::Execute() {
  TModalQuestion q;
  q.Name = "ColorDialog";
  q.Value = IntToStr(Color);
  q.Flags = Options.Bits();
  q.Fields["CustomColors"] = FCustomColors->CommaText();
  TModalAnswer a;
  DoShow();
  bool ok;
  if (AskScript(q, a)) {
    ok = a.Result != 0;
    if (ok) Color = TColor(StrToIntDef(a.Value, int(Color)));
  } else {
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i) {
      String v = FCustomColors->Values(String("Color") + char('A' + i));
      custom[i] = v.empty() ? 0xFFFFFF : COLORREF(StrToIntDef("$" + v, 0xFFFFFF));
    }
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = OwnerWindow();
    cc.rgbResult = ColorToRGB(Color);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT;
    static const DWORD map[] = {CC_FULLOPEN, CC_PREVENTFULLOPEN, CC_SHOWHELP, CC_SOLIDCOLOR, CC_ANYCOLOR};
    for (int i = 0; i <= int(cdAnyColor); ++i)
      if (Options.Contains(TColorDialogOption(i))) cc.Flags |= map[i];
    {
      TModalScope scope;
      ok = ::ChooseColorA(&cc);
    }
    if (ok) {
      Color = TColor(cc.rgbResult);
      FCustomColors->Clear();
      for (int i = 0; i < 16; ++i)
        FCustomColors->Add(String("Color") + char('A' + i) + "=" + Format("%.6X", {int(custom[i])}));
    }
  }
  DoClose();
  return ok;
}

// --- Printing ------------------------------------------------------------------------------------

bool TPrintDialog::Execute() {
  TModalQuestion q;
  q.Name = "PrintDialog";
  q.Value = CurrentPrinterName();
  q.Flags = Options.Bits();
  q.Fields["Copies"] = IntToStr(Copies);
  q.Fields["FromPage"] = IntToStr(FromPage);
  q.Fields["ToPage"] = IntToStr(ToPage);
  q.Fields["MinPage"] = IntToStr(MinPage);
  q.Fields["MaxPage"] = IntToStr(MaxPage);
  q.Fields["PrintRange"] = IntToStr(int(PrintRange));
  q.Fields["Collate"] = Collate ? "1" : "0";
  q.Fields["PrintToFile"] = PrintToFile ? "1" : "0";
  TModalAnswer a;
  DoShow();
  bool ok;
  if (AskScript(q, a)) {
    ok = a.Result != 0;
    if (ok) {
      SelectPrinterByName(a.Value);
      Copies = IntFieldOr(a, "Copies", Copies);
      FromPage = IntFieldOr(a, "FromPage", FromPage);
      ToPage = IntFieldOr(a, "ToPage", ToPage);
      PrintRange = TPrintRange(IntFieldOr(a, "PrintRange", int(PrintRange)));
      Collate = IntFieldOr(a, "Collate", Collate) != 0;
      PrintToFile = IntFieldOr(a, "PrintToFile", PrintToFile) != 0;
      if (Copies > 0 && !q.Value.empty()) Printer()->SetCopies(Copies);
    }
  } else {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = OwnerWindow();
    pd.hDevMode = CopyDeviceMode();
    pd.Flags = 0;
    if (Collate) pd.Flags |= PD_COLLATE;
    if (PrintToFile) pd.Flags |= PD_PRINTTOFILE;
    if (!Options.Contains(poPrintToFile)) pd.Flags |= PD_HIDEPRINTTOFILE;
    if (Options.Contains(poDisablePrintToFile)) pd.Flags |= PD_DISABLEPRINTTOFILE;
    if (!Options.Contains(poPageNums)) pd.Flags |= PD_NOPAGENUMS;
    if (!Options.Contains(poSelection)) pd.Flags |= PD_NOSELECTION;
    if (!Options.Contains(poWarning)) pd.Flags |= PD_NOWARNING;
    if (Options.Contains(poHelp)) pd.Flags |= PD_SHOWHELP;
    if (PrintRange == prSelection) pd.Flags |= PD_SELECTION;
    if (PrintRange == prPageNums) pd.Flags |= PD_PAGENUMS;
    pd.nFromPage = WORD(FromPage);
    pd.nToPage = WORD(ToPage);
    pd.nMinPage = WORD(MinPage);
    pd.nMaxPage = WORD(MaxPage);
    pd.nCopies = WORD(Copies > 0 ? Copies : 1);
    {
      TModalScope scope;
      ok = ::PrintDlgA(&pd);
    }
    if (ok) {
      Collate = pd.Flags & PD_COLLATE;
      PrintToFile = pd.Flags & PD_PRINTTOFILE;
      PrintRange = (pd.Flags & PD_SELECTION) ? prSelection : (pd.Flags & PD_PAGENUMS) ? prPageNums : prAllPages;
      FromPage = pd.nFromPage;
      ToPage = pd.nToPage;
      Copies = pd.nCopies;
      TakeDevice(pd.hDevNames, pd.hDevMode);
    } else {
      if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
      if (pd.hDevNames) ::GlobalFree(pd.hDevNames);
    }
  }
  DoClose();
  return ok;
}

bool TPrinterSetupDialog::Execute() {
  TModalQuestion q;
  q.Name = "PrinterSetupDialog";
  q.Value = CurrentPrinterName();
  if (!q.Value.empty()) {
    q.Fields["Orientation"] = IntToStr(int(Printer()->Orientation()));
    q.Fields["Copies"] = IntToStr(Printer()->Copies());
  }
  TModalAnswer a;
  DoShow();
  bool ok;
  if (AskScript(q, a)) {
    ok = a.Result != 0;
    if (ok) {
      SelectPrinterByName(a.Value);
      if (!CurrentPrinterName().empty()) {
        auto o = a.Fields.find("Orientation");
        if (o != a.Fields.end()) Printer()->SetOrientation(StrToIntDef(o->second, 0) ? poLandscape : poPortrait);
        auto c = a.Fields.find("Copies");
        if (c != a.Fields.end()) Printer()->SetCopies(StrToIntDef(c->second, 1));
      }
    }
  } else {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = OwnerWindow();
    pd.hDevMode = CopyDeviceMode();
    pd.Flags = PD_PRINTSETUP;
    {
      TModalScope scope;
      ok = ::PrintDlgA(&pd);
    }
    if (ok) {
      TakeDevice(pd.hDevNames, pd.hDevMode);
    } else {
      if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
      if (pd.hDevNames) ::GlobalFree(pd.hDevNames);
    }
  }
  DoClose();
  return ok;
}

bool TPageSetupDialog::Execute() {
  TModalQuestion q;
  q.Name = "PageSetupDialog";
  q.Value = CurrentPrinterName();
  q.Fields["MarginLeft"] = IntToStr(MarginLeft);
  q.Fields["MarginTop"] = IntToStr(MarginTop);
  q.Fields["MarginRight"] = IntToStr(MarginRight);
  q.Fields["MarginBottom"] = IntToStr(MarginBottom);
  q.Fields["Units"] = IntToStr(int(Units));
  TModalAnswer a;
  DoShow();
  bool ok;
  if (AskScript(q, a)) {
    ok = a.Result != 0;
    if (ok) {
      SelectPrinterByName(a.Value);
      MarginLeft = IntFieldOr(a, "MarginLeft", MarginLeft);
      MarginTop = IntFieldOr(a, "MarginTop", MarginTop);
      MarginRight = IntFieldOr(a, "MarginRight", MarginRight);
      MarginBottom = IntFieldOr(a, "MarginBottom", MarginBottom);
      PageWidth = IntFieldOr(a, "PageWidth", PageWidth);
      PageHeight = IntFieldOr(a, "PageHeight", PageHeight);
    }
  } else {
    PAGESETUPDLGA ps{};
    ps.lStructSize = sizeof(ps);
    ps.hwndOwner = OwnerWindow();
    ps.hDevMode = CopyDeviceMode();
    ps.Flags = PSD_MARGINS | (Units == pmInches ? PSD_INTHOUSANDTHSOFINCHES : PSD_INHUNDREDTHSOFMILLIMETERS);
    ps.rtMargin = RECT{MarginLeft, MarginTop, MarginRight, MarginBottom};
    {
      TModalScope scope;
      ok = ::PageSetupDlgA(&ps);
    }
    if (ok) {
      MarginLeft = ps.rtMargin.left;
      MarginTop = ps.rtMargin.top;
      MarginRight = ps.rtMargin.right;
      MarginBottom = ps.rtMargin.bottom;
      PageWidth = ps.ptPaperSize.x;
      PageHeight = ps.ptPaperSize.y;
      TakeDevice(ps.hDevNames, ps.hDevMode);
    } else {
      if (ps.hDevMode) ::GlobalFree(ps.hDevMode);
      if (ps.hDevNames) ::GlobalFree(ps.hDevNames);
    }
  }
  DoClose();
  return ok;
}

// --- Find and replace ----------------------------------------------------------------------------

namespace {
const UINT FindMessage = ::RegisterWindowMessageA(FINDMSGSTRINGA);

// The option bits of the dialog's FR_ flags.
DWORD FindFlags(TFindOptions Options) {
  static const DWORD map[] = {FR_DOWN, FR_FINDNEXT, FR_HIDEMATCHCASE, FR_HIDEWHOLEWORD, FR_HIDEUPDOWN,
                              FR_MATCHCASE, FR_NOMATCHCASE, FR_NOUPDOWN, FR_NOWHOLEWORD, FR_REPLACE,
                              FR_REPLACEALL, FR_WHOLEWORD, FR_SHOWHELP};
  DWORD flags = 0;
  for (int i = 0; i <= int(frShowHelp); ++i)
    if (Options.Contains(TFindOption(i))) flags |= map[i];
  return flags;
}
}  // namespace

TFindDialog::TFindDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

TFindDialog::~TFindDialog() {
  CloseDialog();
  if (FOwnerWindow) DeallocateHWnd(FOwnerWindow);
}

void TFindDialog::Find() {
  if (OnFind) OnFind(this);
}

void TReplaceDialog::Replace() {
  if (OnReplace) OnReplace(this);
}

void TFindDialog::ApplyAnswer(const TModalAnswer& Answer) {
  FindText = Answer.Value;
  PutReplaceText(FieldOr(Answer, "ReplaceText", GetReplaceText()));
  auto o = Answer.Fields.find("Options");
  if (o != Answer.Fields.end()) Options = TFindOptions::FromBits(unsigned(StrToIntDef(o->second, int(Options.Bits()))));
  // One press of one button: the flags tell which, as the real dialog's do.
  Options.Exclude(frFindNext);
  Options.Exclude(frReplace);
  Options.Exclude(frReplaceAll);
  switch (Answer.Result) {
    case 1:
      Options.Include(frFindNext);
      Find();
      break;
    case 2:
      Options.Include(frReplace);
      Replace();
      break;
    case 3:
      Options.Include(frReplaceAll);
      Replace();
      break;
    default:
      DoClose();
      break;
  }
}

bool TFindDialog::Execute() {
  if (FHandle) {
    // Already showing: brought to the front, as the platform does.
    ::SetForegroundWindow(FHandle);
    return true;
  }
  TModalQuestion q;
  q.Name = IsReplace() ? "ReplaceDialog" : "FindDialog";
  q.Value = FindText;
  q.Flags = Options.Bits();
  if (IsReplace()) q.Fields["ReplaceText"] = GetReplaceText();
  TModalAnswer a;
  DoShow();
  if (AskScript(q, a)) {
    ApplyAnswer(a);
    return true;
  }
  if (!FOwnerWindow) FOwnerWindow = AllocateHWnd(TWndMethod(this, &TFindDialog::OwnerWndProc));
  std::memset(&FData, 0, sizeof(FData));
  std::strncpy(FFindBuffer, FindText.c_str(), sizeof(FFindBuffer) - 1);
  std::strncpy(FReplaceBuffer, GetReplaceText().c_str(), sizeof(FReplaceBuffer) - 1);
  FData.lStructSize = sizeof(FData);
  FData.hwndOwner = FOwnerWindow;
  FData.Flags = FindFlags(Options);
  FData.lpstrFindWhat = FFindBuffer;
  FData.wFindWhatLen = sizeof(FFindBuffer);
  FData.lpstrReplaceWith = FReplaceBuffer;
  FData.wReplaceWithLen = sizeof(FReplaceBuffer);
  FHandle = IsReplace() ? ::ReplaceTextA(&FData) : ::FindTextA(&FData);
  if (!FHandle) return false;
  if (Position != TPoint()) ::SetWindowPos(FHandle, nullptr, Position.X, Position.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  // Its keys (Tab, Return, Escape) go through the message loop's dialog handling.
  Application->DialogHandle = FHandle;
  return true;
}

void TFindDialog::CloseDialog() {
  if (!FHandle) return;
  HWND h = FHandle;
  FHandle = nullptr;
  if (Application->DialogHandle == h) Application->DialogHandle = nullptr;
  ::DestroyWindow(h);
}

void TFindDialog::DialogNotify(const FINDREPLACEA& Data) {
  TModalAnswer a;
  a.Value = Data.lpstrFindWhat;
  if (IsReplace()) a.Fields["ReplaceText"] = Data.lpstrReplaceWith;
  TFindOptions options;
  static const DWORD map[] = {FR_DOWN, 0, 0, 0, 0, FR_MATCHCASE, 0, 0, 0, 0, 0, FR_WHOLEWORD, 0};
  options = Options;
  for (TFindOption o : {frDown, frMatchCase, frWholeWord}) {
    if (Data.Flags & map[o]) options.Include(o);
    else options.Exclude(o);
  }
  a.Fields["Options"] = IntToStr(int(options.Bits()));
  if (Data.Flags & FR_DIALOGTERM) {
    FHandle = nullptr;
    if (Application->DialogHandle) Application->DialogHandle = nullptr;
    a.Result = 0;
  } else if (Data.Flags & FR_REPLACEALL) {
    a.Result = 3;
  } else if (Data.Flags & FR_REPLACE) {
    a.Result = 2;
  } else {
    a.Result = 1;
  }
  ApplyAnswer(a);
}

void TFindDialog::OwnerWndProc(TMessage& Message) {
  if (Message.Msg == FindMessage && FindMessage != 0) {
    DialogNotify(*reinterpret_cast<const FINDREPLACEA*>(Message.LParam));
    Message.Result = 0;
    return;
  }
  Message.Result = ::DefWindowProcA(FOwnerWindow, Message.Msg, Message.WParam, Message.LParam);
}
