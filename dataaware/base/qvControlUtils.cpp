// This file implements the control services of the data-aware library (see qvControlUtils.h).
#include "qvControlUtils.h"

#include "DataSet.h"
#include "Field.h"
#include "Forms.h"
#include "Qvintl.h"
#include "StdCtrls.h"
#include "Strings.h"
#include "qvFieldSettings.h"
#include "qvPictureValidator.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"
#include "qvThemes.h"

// --- Classes, owners and designers ------------------------------------------------------------

bool qvClassInheritsFrom(TClass Class, const String& Name) {
  for (TClass C = Class; C != nullptr; C = C->Parent)
    if (qvSameText(C->Name, Name)) return true;
  return false;
}

namespace {

bool ParentInheritsFrom(const TControl* Control, const char* Name) {
  return Control != nullptr && Control->Parent() != nullptr &&
         qvClassInheritsFrom(Control->Parent()->ClassType(), Name);
}

}  // namespace

bool qvIsInGrid(const TControl* Control) { return ParentInheritsFrom(Control, "TCustomGrid"); }

bool qvIsGridPaintCopy(const TControl* Control) {
  return qvIsInGrid(Control) && qvIsPaintCopy(Control->ControlState);
}

bool qvIsInInspector(const TControl* Control) { return ParentInheritsFrom(Control, "TqvDataInspector"); }

bool qvIsInspectorPaintCopy(const TControl* Control) {
  return qvIsInInspector(Control) && qvIsPaintCopy(Control->ControlState);
}

bool qvIsPaintCopy(TControlState State) { return State.Contains(csPaintCopy); }

TCustomForm* qvGetOwnerForm(TComponent* Component) {
  for (TComponent* C = Component; C != nullptr; C = C->Owner())
    if (auto* Form = dynamic_cast<TCustomForm*>(C)) return Form;
  return nullptr;
}

TCustomForm* qvGetDialogOwnerForm(TComponent* Dialog) { return qvGetOwnerForm(Dialog); }

bool qvIsDesigning(const TControl* Control) {
  if (Control == nullptr) return false;
  const TCustomForm* Form = GetParentForm(Control);
  const TComponent* Decides = Form ? static_cast<const TComponent*>(Form) : Control;
  return Decides->ComponentState().Contains(csDesigning);
}

bool qvThemesEnabledFor(const TControl* Control) {
  bool Themes = qvThemesActive();
  if (Control == nullptr) return Themes;
  auto* Self = const_cast<TControl*>(Control);
  const TObject* Decides = nullptr;
  if (IsPublishedProp(Self, "DisableThemes")) Decides = Self;
  else if (Self->Parent() && IsPublishedProp(Self->Parent(), "DisableThemes")) Decides = Self->Parent();
  if (Decides == nullptr) return Themes;
  return qvGetOrdPropByName(const_cast<TObject*>(Decides), "DisableThemes") != 0 ? false : Themes;
}

void qvSetController(TqvController*& Reference, TqvController* Controller, TControl* Control) {
  if (Controller != nullptr) Control->FreeNotification(Controller);
  if (Controller == Reference) return;
  if (Reference != nullptr) Reference->ControlList()->Remove(Control);
  Reference = Controller;
  if (Controller != nullptr) Controller->ControlList()->Add(Control);
}

bool qvIsEditControlKind(const String& Kind) {
  for (const char* Edit : {"CustomEdit", "LookupCombo", "Combo", "RichEdit"})
    if (qvSameText(Kind, Edit)) return true;
  return false;
}

bool qvFindFieldEditControl(TComponent* Dialog, TCustomForm* Form, TField* Field, TWinControl*& Control) {
  Control = nullptr;
  if (Field == nullptr) return false;
  TStrings* Lines = nullptr;
  TDataSet* DataSet = Field->DataSet();
  if (qvGetControlInfoInDataSet(Dialog) && DataSet != nullptr) Lines = qvGetControlTypeList(DataSet);
  if (Lines == nullptr) Lines = qvGetControlTypeList(Dialog);
  if (Lines == nullptr) return false;
  for (int i = 0; i < Lines->Count(); ++i) {
    TqvLineParts Parts(Lines->Strings(i), ';');
    if (Parts.Count() < 2 || !qvSameText(Parts.Part(0), Field->FieldName())) continue;
    if (!qvIsEditControlKind(Parts.Part(1))) continue;
    if (Parts.Count() < 3 || Form == nullptr) return false;
    Control = dynamic_cast<TWinControl*>(Form->FindComponent(Parts.Part(2)));
    return Control != nullptr;
  }
  return false;
}

// --- Keys and typing ----------------------------------------------------------------------------

bool qvIsEditKey(WORD Key) {
  return Key == VK_BACK || Key == VK_SPACE || Key == VK_DELETE || (Key >= 48 && Key <= 111) || Key > 145;
}

void qvPostKeyWithModifier(HWND Window, WORD Key, WORD ModifierKey) {
  BYTE Saved[256];
  GetKeyboardState(Saved);
  BYTE Pressed[256];
  std::copy(std::begin(Saved), std::end(Saved), std::begin(Pressed));
  Pressed[ModifierKey] = 129;
  Pressed[Key] = 129;
  SetKeyboardState(Pressed);
  if (ModifierKey == VK_MENU) {
    // With Alt held Windows sends system key messages with the Alt bit of the key data set, and
    // the controls read ssAlt from that bit, not from the keyboard state.
    PostMessageA(Window, WM_SYSKEYDOWN, Key, LPARAM(0x20000001));
    PostMessageA(Window, WM_SYSKEYUP, Key, LPARAM(0xE0000001u));
  } else {
    PostMessageA(Window, WM_KEYDOWN, Key, 1);
    PostMessageA(Window, WM_KEYUP, Key, LPARAM(0xC0000001u));
  }
  SetKeyboardState(Saved);
}

void qvCancelMouseDown() {
  TCustomForm* Form = Screen->ActiveForm();
  if (Form == nullptr || !Form->HandleAllocated()) return;
  if (Form->ControlState.Contains(csLButtonDown)) {
    PostMessageA(Form->Handle(), WM_LBUTTONUP, 0, 0);
    return;
  }
  for (int i = 0; i < Form->ControlCount(); ++i) {
    auto* Child = dynamic_cast<TWinControl*>(Form->Controls(i));
    if (Child != nullptr && Child->HandleAllocated() && Child->ControlState.Contains(csLButtonDown)) {
      PostMessageA(Child->Handle(), WM_LBUTTONUP, 0, 0);
      return;
    }
  }
}

bool qvPictureMaskKeyPress(TCustomEdit* Edit, const String& Picture, bool AutoFill, char& Key) {
  unsigned char Code = static_cast<unsigned char>(Key);
  if (Code < 32 || Code > 254) return false;
  String Old = Edit->Text();
  int SelStart = Edit->SelStart();
  int SelLength = Edit->SelLength();
  int OldLength = int(Old.size());
  // Typing inside the text: the edit inserts the character itself.
  if (SelStart < OldLength - SelLength) return false;
  String NewText = Old.substr(0, std::size_t(SelStart)) + Key + Old.substr(std::size_t(SelStart + SelLength));
  TqvPictureValidator Validator(Picture, AutoFill);
  int Result = Validator.MatchPicture(NewText, AutoFill);
  bool AllSelected = SelLength == OldLength;
  int Growth = int(NewText.size()) - OldLength;
  switch (Result) {
    case prComplete:
      Edit->SetText(NewText);
      Edit->SetSelStart(AllSelected ? int(NewText.size()) : Growth > 0 ? SelStart + Growth : SelStart + 1);
      Edit->SetSelLength(0);
      break;
    case prIncomplete:
      Edit->SetText(NewText);
      Edit->SetSelStart(AllSelected ? int(NewText.size()) : SelLength == 0 ? SelStart + Growth : SelStart + 1);
      break;
    case prError:
      MessageBeep(0);
      break;
    default:
      break;
  }
  Key = 0;
  return true;
}

// --- Geometry -----------------------------------------------------------------------------------

int qvScaleByPixelsPerInch(int Value, int PixelsPerInch) { return Value * PixelsPerInch / 96; }

int qvClamp(int Value, int Low, int High) {
  if (Value < Low) return Low;
  if (Value > High) return High;
  return Value;
}

void qvGetWorkArea(TRect& Rect) {
  RECT Area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Area, 0);
  Rect = TRect(Area);
}

void qvRemoveClipChildren(TWinControl* Control) {
  HWND Window = Control->Handle();
  SetWindowLongA(Window, GWL_STYLE, GetWindowLongA(Window, GWL_STYLE) & ~LONG(WS_CLIPCHILDREN));
}

bool qvHasChildOutsideClient(TWinControl* Control) {
  TRect Client = Control->ClientRect();
  for (int i = 0; i < Control->ControlCount(); ++i) {
    auto* Child = dynamic_cast<TWinControl*>(Control->Controls(i));
    if (Child == nullptr || !Child->HandleAllocated() || !IsWindowVisible(Child->Handle())) continue;
    if (!Client.Contains(TPoint(Child->Left(), Child->Top()))) return true;
  }
  return false;
}

bool qvRectHoldsOneLine(HDC DC, const TRect& Rect, UINT Format) {
  RECT Measure{0, 0, qvRectWidth(Rect), 0};
  DrawTextA(DC, " ", 1, &Measure, Format | DT_CALCRECT);
  int Line = Measure.bottom - Measure.top + 2 * GetSystemMetrics(SM_CYBORDER) + 3;
  return Line >= qvRectHeight(Rect);
}

void qvInvalidateTransparentParents(TControl* Control, bool Erase) {
  TRect Bounds = Control->BoundsRect();
  for (TWinControl* Parent = Control->Parent(); Parent != nullptr; Parent = Parent->Parent()) {
    if (Parent->HandleAllocated()) InvalidateRect(Parent->Handle(), AsRECT(Bounds), Erase);
    if (!qvGetTransparent(Parent)) break;
    Bounds = TRect(Bounds.Left + Parent->Left(), Bounds.Top + Parent->Top(), Bounds.Right + Parent->Left(),
                   Bounds.Bottom + Parent->Top());
  }
}

// --- Drawing ------------------------------------------------------------------------------------

void qvDrawEllipsisButton(TCanvas* Canvas, const TRect& Rect, TButtonState State, TControlState ControlState,
                          bool Transparent, bool Flat) {
  bool Pressed = State == bsDown;
  HDC DC = Canvas->Handle();
  if (!Flat) {
    RECT Edge = Rect;
    UINT Flags = BF_RECT;
    if (Pressed && !qvIsPaintCopy(ControlState)) Flags |= BF_FLAT;
    if (!Transparent) Flags |= BF_MIDDLE;
    DrawEdge(DC, &Edge, EDGE_RAISED, Flags);
  }
  int Height = qvRectHeight(Rect);
  int Width = qvRectWidth(Rect);
  int D = (Height + 1) / 2;
  int W = qvMax((Width + 1) / 8, 1);
  int E = Width / 2;
  if (!Pressed) {
    --D;
    --E;
  }
  TOwnedBrush Black(CreateSolidBrush(RGB(0, 0, 0)));
  for (int X : {Rect.Left + E, Rect.Left + E - 2 * W, Rect.Left + E + 2 * W}) {
    RECT Dot{X, Rect.Top + D, X + W, Rect.Top + D + W};
    FillRect(DC, &Dot, Black);
  }
}

void qvDrawComboArrow(TCanvas* Canvas, const TRect& Rect, TButtonState State, TControlState ControlState,
                      bool Enabled) {
  UINT Flags = DFCS_SCROLLCOMBOBOX;
  if (!Enabled) Flags |= DFCS_INACTIVE;
  else if (State != bsUp && !qvIsPaintCopy(ControlState)) Flags |= DFCS_PUSHED | DFCS_FLAT;
  RECT R = Rect;
  DrawFrameControl(Canvas->Handle(), &R, DFC_SCROLL, Flags);
}

void qvDrawHighlightFocusRect(TCanvas* Canvas, const TRect& Rect) {
  TBrushStyle BrushStyle = Canvas->Brush()->Style();
  TColor PenColor = Canvas->Pen()->Color();
  TColor TextColor = Canvas->Font()->Color();
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Pen()->SetColor(clHighlight);
  Canvas->Rectangle(Rect);
  Canvas->Font()->SetColor(clHighlight);
  Canvas->Brush()->SetStyle(BrushStyle);
  Canvas->Pen()->SetColor(PenColor);
  // The canvas is always left to right here: the rectangle keeps its sides.
  Canvas->DrawFocusRect(Rect);
  Canvas->Font()->SetColor(TextColor);
}

void qvDrawCellText(TCanvas* Canvas, const TRect& Rect, int LeftMargin, int TopMargin, const String& Text,
                    TAlignment Alignment, int Flags) {
  int Width = qvRectWidth(Rect);
  int Height = qvRectHeight(Rect);
  TRect TextRect;
  UINT Format = 0;
  switch (Alignment) {
    case taLeftJustify:
      TextRect = TRect(LeftMargin, TopMargin, Width, Height - 1);
      Format = DT_EXPANDTABS | DT_NOPREFIX;
      break;
    case taRightJustify:
      TextRect = TRect(LeftMargin, TopMargin, Width - 2, Height - 1);
      Format = DT_EXPANDTABS | DT_NOPREFIX | DT_RIGHT;
      break;
    case taCenter:
      TextRect = TRect(LeftMargin < 4 ? 0 : 2, TopMargin, Width, Height - 1);
      Format = DT_EXPANDTABS | DT_NOPREFIX | DT_CENTER;
      break;
  }
  TextRect = TRect(TextRect.Left + Rect.Left, TextRect.Top + Rect.Top, TextRect.Right + Rect.Left,
                   TextRect.Bottom + Rect.Top);
  Canvas->Brush()->SetStyle(bsSolid);
  if (!(Flags & qvCellNoFill)) Canvas->FillRect(Rect);
  HDC DC = Canvas->Handle();
  // The canvas's font, selected here: a cell may follow drawing that changed the context.
  TSelectedObject Font(DC, Canvas->Font()->Handle());
  SetTextColor(DC, ColorToRGB(Canvas->Font()->Color()));
  SetBkMode(DC, TRANSPARENT);
  if (Flags & qvCellShowPrefix) Format &= ~UINT(DT_NOPREFIX);
  if (Flags & qvCellWordWrap) Format |= DT_WORDBREAK;
  if (Flags & qvCellCentreVertical) Format |= DT_VCENTER | DT_SINGLELINE;
  if ((Format & DT_WORDBREAK) && ((Flags & qvCellEndEllipsis) || qvRectHoldsOneLine(DC, TextRect, Format)))
    Format &= ~UINT(DT_WORDBREAK);
  if (Flags & qvCellEndEllipsis) Format |= DT_END_ELLIPSIS;
  DrawTextA(DC, Text.c_str(), int(Text.size()), AsRECT(TextRect), Format);
}
