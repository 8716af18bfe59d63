// This file implements the services the rich-text units take from the lower layers.
#include "qvRichServices.h"

#include "Forms.h"
#include "ListControls.h"
#include "TypInfo.h"

namespace qvrich {

TFrameServices FrameServices;

bool ClassInheritsFrom(TClass Class, const String& Name) { return Class != nullptr && Class->InheritsFrom(Name); }

bool IsInGrid(const TControl* Control) {
  return Control != nullptr && Control->Parent() != nullptr &&
         ClassInheritsFrom(Control->Parent()->ClassType(), "TCustomGrid");
}

bool IsPaintCopy(TControlState State) { return State.Contains(csPaintCopy); }

bool IsGridPaintCopy(const TControl* Control) { return IsInGrid(Control) && IsPaintCopy(Control->ControlState); }

bool IsInInspector(const TControl* Control) {
  return Control != nullptr && Control->Parent() != nullptr &&
         ClassInheritsFrom(Control->Parent()->ClassType(), "TqvDataInspector");
}

bool IsDesigning(const TControl* Control) {
  if (Control == nullptr) return false;
  if (TCustomForm* Form = GetParentForm(Control)) return Form->ComponentState().Contains(csDesigning);
  return Control->ComponentState().Contains(csDesigning);
}

bool GetWorkArea(TRect& Rect) {
  RECT r{};
  bool ok = SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0) != FALSE;
  Rect = TRect(r.left, r.top, r.right, r.bottom);
  return ok;
}

int ScaleByPixelsPerInch(int Value, int PixelsPerInch) { return Value * PixelsPerInch / 96; }

void RemoveClipChildren(TWinControl* Control) {
  HWND Window = Control->Handle();
  SetWindowLongA(Window, GWL_STYLE, GetWindowLongA(Window, GWL_STYLE) & ~WS_CLIPCHILDREN);
}

// --- The edit frame ---------------------------------------------------------------------------

TPersistent* CreateEditFrame(TComponent* Owner) {
  TClass Class = GetClass("TqvEditFrame");
  if (Class == nullptr) return nullptr;
  return dynamic_cast<TPersistent*>(Class->Create(Owner));
}

namespace {

long long FrameProp(TPersistent* Frame, const char* Name, long long Default) {
  if (Frame == nullptr || !IsPublishedProp(Frame, Name)) return Default;
  return GetOrdProp(Frame, Name);
}

}  // namespace

bool FrameEnabled(TPersistent* Frame) { return FrameProp(Frame, "Enabled", 0) != 0; }

bool FrameTransparent(TPersistent* Frame) { return FrameProp(Frame, "Transparent", 0) != 0; }

TColor FrameNonFocusColor(TPersistent* Frame) { return TColor(FrameProp(Frame, "NonFocusColor", clNone)); }

bool FrameActive(TPersistent* Frame, const TControl* Control) {
  return FrameEnabled(Frame) && Control != nullptr && !IsInGrid(Control);
}

// --- Combo boxes ------------------------------------------------------------------------------

int ComboItemIndex(TCustomComboBox* Combo) {
  int Index = Combo->ItemIndex();
  if (Index >= 0) return Index;
  return Combo->Items()->IndexOf(Combo->Text());
}

void ComboSetItemIndex(TCustomComboBox* Combo, int Index) {
  Combo->SetItemIndex(Index);
  if (Index < 0 && Combo->Style() != csDropDownList) Combo->SetText(String());
}

void ComboFillDropDownList(TCustomComboBox*) {
  // The class library's combo lists its items itself.
}

}  // namespace qvrich
