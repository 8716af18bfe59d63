// This file implements TScreen: the live forms and data modules in activation order, the active
// form and control, the cursors (standard and registered), the desktop's size and work area, the
// installed fonts and the system fonts for hints and menus.
#include <algorithm>

#include "Format.h"
#include "Forms.h"
#include "Strings.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_CLASS(TScreen)

namespace {
void SetSystemFont(TFont* Font, const LOGFONTA& Log) {
  Font->SetHandle(CreateFontIndirectA(&Log));
}

int CALLBACK CollectFontFamily(const LOGFONTA* Log, const TEXTMETRICA*, DWORD, LPARAM Data) {
  try {
    auto* list = reinterpret_cast<TStrings*>(Data);
    // Vertical variants ("@Name") are not families of their own.
    if (Log->lfFaceName[0] != '@' && list->IndexOf(Log->lfFaceName) < 0) list->Add(Log->lfFaceName);
  } catch (...) {
    return 0;
  }
  return 1;
}
}  // namespace

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
  FPixelsPerInch = ScreenPixelsPerInch();
  FHintFont = new TFont();
  FMenuFont = new TFont();
  FIconFont = new TFont();
  ResetFonts();
}

TScreen::~TScreen() {
  delete FFonts;
  delete FHintFont;
  delete FMenuFont;
  delete FIconFont;
  for (auto& entry : FCursors) DestroyCursor(entry.second);
}

void TScreen::ResetFonts() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    SetSystemFont(FHintFont, metrics.lfStatusFont);
    SetSystemFont(FMenuFont, metrics.lfMenuFont);
  }
  FHintFont->SetColor(clInfoText);
  LOGFONTA icon{};
  if (SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(icon), &icon, 0)) SetSystemFont(FIconFont, icon);
}

TCustomForm* TScreen::Forms(int Index) const {
  if (Index < 0 || Index >= FormCount()) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return FForms[std::size_t(Index)];
}

TDataModule* TScreen::DataModules(int Index) const {
  if (Index < 0 || Index >= DataModuleCount()) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return FDataModules[std::size_t(Index)];
}

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
  FSaveFocusedList.erase(std::remove(FSaveFocusedList.begin(), FSaveFocusedList.end(), Form), FSaveFocusedList.end());
  if (FFocusedForm == Form) FFocusedForm = nullptr;
  if (FActiveForm == Form) {
    FActiveForm = nullptr;
    FActiveControl = nullptr;
    if (OnActiveFormChange) OnActiveFormChange(this);
  }
}

void TScreen::AddDataModule(TDataModule* Module) { FDataModules.push_back(Module); }

void TScreen::RemoveDataModule(TDataModule* Module) {
  FDataModules.erase(std::remove(FDataModules.begin(), FDataModules.end(), Module), FDataModules.end());
}

void TScreen::MoveFormToFront(TCustomForm* Form) {
  auto it = std::find(FForms.begin(), FForms.end(), Form);
  if (it == FForms.end() || it == FForms.begin()) return;
  FForms.erase(it);
  FForms.insert(FForms.begin(), Form);
}

void TScreen::SetActive(TCustomForm* Form, TWinControl* Control) {
  bool formChanged = FActiveForm != Form;
  bool controlChanged = FActiveControl != Control;
  FActiveForm = Form;
  FActiveControl = Control;
  MoveFormToFront(Form);
  if (controlChanged && OnActiveControlChange) OnActiveControlChange(this);
  if (formChanged && OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  // The new cursor shows at once, not at the next mouse move.
  POINT p;
  if (Value != crDefault) {
    ::SetCursor(Cursors(Value));
  } else if (GetCursorPos(&p)) {
    HWND h = WindowFromPoint(p);
    if (h && FindControl(h)) SendMessageA(h, WM_SETCURSOR, WPARAM(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}

HCURSOR TScreen::Cursors(TCursor Index) const {
  for (auto& entry : FCursors) {
    if (entry.first == Index) return entry.second;
  }
  LPCSTR id = IDC_ARROW;
  switch (Index) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS:
    case crVSplit: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE:
    case crHSplit: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass:
    case crSQLWait: id = IDC_WAIT; break;
    case crNo:
    case crNoDrop: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: id = IDC_ARROW; break;
  }
  return LoadCursorA(nullptr, id);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  for (auto it = FCursors.begin(); it != FCursors.end(); ++it) {
    if (it->first != Index) continue;
    DestroyCursor(it->second);
    if (Handle) it->second = Handle;
    else FCursors.erase(it);
    return;
  }
  if (Handle) FCursors.emplace_back(Index, Handle);
}

TRect TScreen::WorkAreaRect() const {
  RECT r;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) r = RECT{0, 0, Width(), Height()};
  return r;
}

TStrings* TScreen::Fonts() {
  if (!FFonts) {
    auto* list = new TStringList();
    LOGFONTA log{};
    log.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(TWindowDC(), &log, &CollectFontFamily, LPARAM(list), 0);
    list->SetSorted(true);
    FFonts = list;
  }
  return FFonts;
}
