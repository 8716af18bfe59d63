// This file implements the data-aware lookup combo and the registration of the lookup controls.
#include "OxLookupCombo.h"

#include <algorithm>

#include "Colors.h"
#include "DataSet.h"
#include "Field.h"
#include "Forms.h"
#include "OxRealSizeIcons.h"
#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TOxDBLookupCombo)
VELBOR_PUBLISHED(TOxDBLookupCombo,
  Prop("DisplayAllFields", &Self::DisplayAllFields, &Self::SetDisplayAllFields).Default(false),
  Prop("DropDownAlign", &Self::DropDownAlign).Default(daLeft),
  Prop("DropDownCount", &Self::DropDownCount).Default(8),
  Prop("DropDownWidth", &Self::DropDownWidth).Default(0),
  Prop("EscapeClear", &Self::EscapeClear).Default(true),
  Prop("OnDropDown", &Self::OnDropDown),
  Prop("OnCloseUp", &Self::OnCloseUp))

void RegisterOxLookupControls() {
  RegisterClass(TOxDBLookupCombo::StaticClass());
  RegisterClass(TOxDBLookupList::StaticClass());
  // Their row pictures may be icons: the icon clipboard format comes with them.
  RegisterOxRealSizeIcons();
}

namespace {
constexpr int MaxDropDownRows = 50;
}  // namespace

TOxDBLookupCombo::TOxDBLookupCombo(TComponent* AOwner) : TOxLookupControl(AOwner) {
  ControlStyle = {csOpaque, csReplicatable};
  FButtonWidth = GetSystemMetrics(SM_CXVSCROLL);
  FCurrentImage = new TPicture();
  SetBounds(Left(), Top(), 145, 21);
  FDataList = new TOxPopupDataList(nullptr);
  FDataList->FCombo = this;
  FDataList->SetParent(this);
  FDataList->OnMouseUp = TMouseEvent(this, &TOxDBLookupCombo::ListMouseUp);
}

TOxDBLookupCombo::~TOxDBLookupCombo() {
  Destroying();
  delete FDataList;
  FDataList = nullptr;
  delete FCurrentImage;
}

// --- Properties -----------------------------------------------------------------------------------

void TOxDBLookupCombo::SetDisplayAllFields(bool Value) {
  if (Value == FDisplayAllFields) return;
  FDisplayAllFields = Value;
  if (Reading() || FLookupMode) Invalidate();
  else ShowValueRow();
}

void TOxDBLookupCombo::SetListStyle(TLookupListStyle Value) {
  if (Value == FListStyle) return;
  TOxLookupControl::SetListStyle(Value);
  if (FDisplayAllFields && !Reading()) ShowValueRow();
}

void TOxDBLookupCombo::SetFieldsDelimiter(char Value) {
  if (Value == FFieldsDelimiter) return;
  TOxLookupControl::SetFieldsDelimiter(Value);
  if (FListStyle == lsDelimited && FDisplayAllFields && !Reading()) ShowValueRow();
}

int TOxDBLookupCombo::MinHeight() {
  DWORD style = WS_CHILD, exStyle = 0;
  if (FCtl3D) exStyle |= WS_EX_CLIENTEDGE;
  else style |= WS_BORDER;
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return FontTextHeight() + (r.bottom - r.top) + 3;
}

void TOxDBLookupCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!Reading()) AHeight = std::max(AHeight, MinHeight());
  TOxLookupControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TOxDBLookupCombo::CreateParams(TCreateParams& Params) {
  TOxLookupControl::CreateParams(Params);
  if (FCtl3D) Params.ExStyle |= WS_EX_CLIENTEDGE;
  else Params.Style |= WS_BORDER;
}

// --- Showing the value ----------------------------------------------------------------------------

void TOxDBLookupCombo::ShowValueRow() {
  if (FLookupMode) {
    FDisplayValues.clear();
    if (!FDataLink->Active() || FDataField == nullptr) {
      SetText(String());
    } else if (ValueIsEmpty()) {
      SetText(FDisplayEmpty);
      FAlignment = taLeftJustify;
    } else {
      SetText(FDataField->DisplayText());
      FAlignment = FDataField->Alignment();
    }
  } else if (FListActive && LocateKey()) {
    ShowRowText();
  } else if (FListActive) {
    ShowNoRow();
  } else {
    SetText(ComponentState().Contains(csDesigning) ? FDisplayEmpty : String());
  }
  AfterShow();
}

void TOxDBLookupCombo::ShowDisplayRow() {
  if (FListActive && LocateDisplay()) {
    FValue = FKeyField->AsString();
    ShowRowText();
  } else {
    ShowNoRow();
  }
  AfterShow();
}

// A value whose row is not in the lookup dataset shows as nothing chosen.
void TOxDBLookupCombo::ShowNoRow() {
  FValue = FEmptyValue;
  SetText(FDisplayEmpty);
  FDisplayValues.clear();
  FAlignment = taLeftJustify;
}

void TOxDBLookupCombo::ShowRowText() {
  FDisplayValues.clear();
  if (DisplayAllFields()) {
    String text = RowText();
    if (FListStyle == lsFixed) {
      for (TField* field : FListFields) FDisplayValues.push_back({field->DisplayText(), field->DisplayWidth(), field->Alignment()});
    }
    if (text.empty()) text = FDisplayField->AsString();
    SetText(text);
  } else {
    SetText(FDisplayField->DisplayText());
  }
  FAlignment = FDisplayField->Alignment();
}

void TOxDBLookupCombo::AfterShow() {
  UpdateDisplayValue();
  CacheCurrentImage();
  Invalidate();
}

void TOxDBLookupCombo::CacheCurrentImage() {
  int margin = 0;
  TGraphic* graphic = TOxLookupControl::FetchRowImage(true, ValueIsEmpty(), margin);
  FCurrentImage->SetGraphic(graphic);
  FCurrentMargin = margin;
}

TGraphic* TOxDBLookupCombo::FetchRowImage(bool Current, bool IsEmpty, int& TextMargin) {
  if (!Current) return TOxLookupControl::FetchRowImage(Current, IsEmpty, TextMargin);
  TGraphic* graphic = FCurrentImage->Graphic();
  if (graphic == nullptr || graphic->Empty()) {
    TextMargin = 0;
    return nullptr;
  }
  TextMargin = FCurrentMargin;
  return graphic;
}

void TOxDBLookupCombo::RebuildLookupFields() {
  auto afterwards = [this] {
    if (FListActive && FMasterField != nullptr) FValue = FMasterField->AsString();
    ShowValueRow();
  };
  TScopeGuard restore([&] { afterwards(); });
  TOxLookupControl::RebuildLookupFields();
}

void TOxDBLookupCombo::LookupDataChanged() {
  if (FDataLink->Active() && FListActive && FDataLink->DataSet()->IsLinkedTo(FLookupLink->DataSource())) {
    if (FMasterField != nullptr) SetValueKey(FMasterField->AsString());
  }
}

void TOxDBLookupCombo::EmptyTextChanged(const String& NewText) {
  if (Text() == FDisplayEmpty) SetText(NewText);
}

void TOxDBLookupCombo::ClearToEmpty() {
  CloseList(false);
  TOxLookupControl::ClearToEmpty();
  CacheCurrentImage();
  Invalidate();
}

void TOxDBLookupCombo::Click() {
  TOxLookupControl::Click();
  Change();
}

// --- The list -------------------------------------------------------------------------------------

void TOxDBLookupCombo::DropDownList() {
  if (FListVisible || !CanModify()) return;
  if (OnDropDown) OnDropDown(this);
  if (FListVisible || !CanModify()) return;

  TOxPopupDataList* list = FDataList;
  list->FLookupLink->SetDataSource(nullptr);
  list->SetColor(Color());
  list->Font()->Assign(Font());
  list->FItemHeight = FItemHeight;
  list->SetReadOnly(false);
  list->FEmptyValue = FEmptyValue;
  list->SetDisplayEmpty(FDisplayEmpty);
  list->FEmptyItemColor = FEmptyItemColor;
  list->SetRowCount(std::min(DropDownCount, MaxDropDownRows));
  list->FLookupFieldName = FLookupFieldName;
  list->FLookupFormat = FLookupFormat;
  list->FListStyle = FListStyle;
  list->FFieldsDelimiter = FFieldsDelimiter;
  list->IgnoreCase = IgnoreCase;
  list->IndexSwitch = IndexSwitch;
  list->OnGetImage = OnGetImage;
  String names;
  int displayIndex = 0;
  for (std::size_t i = 0; i < FListFields.size(); ++i) {
    names += FListFields[i]->FieldName() + ";";
    if (FListFields[i] == FDisplayField) displayIndex = int(i);
  }
  list->FLookupDisplay = names;
  list->FLookupDisplayIndex = displayIndex;
  list->FValue = FValue;
  list->FSearchText.clear();
  // Attaching the rows resolves the list's fields and brings it to the chosen row.
  list->FLookupLink->SetDataSource(FLookupLink->DataSource());

  int width = DropDownWidth > 0 ? DropDownWidth : DropDownWidth < 0 ? std::max(Width(), NaturalListWidth()) : Width();
  int height = list->Height();
  TPoint origin = Parent() != nullptr ? Parent()->ClientToScreen(TPoint(Left(), Top())) : ClientOrigin();
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  bool below = true;
  int y = origin.Y + Height();
  if (y + height > screenHeight) {
    y = origin.Y - height;
    below = false;
  }
  int x = origin.X;
  if (DropDownAlign == daRight) x = origin.X + Width() - width;
  else if (DropDownAlign == daCenter) x = origin.X - (width - Width()) / 2;
  if (x + width > screenWidth) x = screenWidth - width;
  x = std::max(x, 0);

  list->SetBounds(x, y, width, height);
  HWND handle = list->Handle();
  BOOL animate = FALSE;
  SystemParametersInfoA(SPI_GETCOMBOBOXANIMATION, 0, &animate, 0);
  if (animate) {
    SetWindowPos(handle, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    AnimateWindow(handle, 150, AW_SLIDE | (below ? AW_VER_POSITIVE : AW_VER_NEGATIVE));
    SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    list->Invalidate();
  } else {
    SetWindowPos(handle, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  FListVisible = true;
  RepaintTextArea();
  Repaint();
}

void TOxDBLookupCombo::CloseList(bool Accept) {
  if (!FListVisible) return;
  // The combo and its list give up the mouse themselves; another window is asked to.
  HWND capture = GetCapture();
  StopTracking();
  FDataList->StopTracking();
  if (capture != nullptr && capture != Handle() && capture != FDataList->Handle()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  String chosen = FDataList->Value();
  SetWindowPos(FDataList->Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  FListVisible = false;
  FDataList->FLookupLink->SetDataSource(nullptr);
  Invalidate();
  FSearchText.clear();
  FDataList->FSearchText.clear();
  if (Accept && CanModify() && chosen != FValue) ChooseKey(chosen);
  // Closing because the focus went elsewhere leaves the focus where it went.
  if (!FLosingFocus && CanFocus()) SetFocus();
  if (OnCloseUp) OnCloseUp(this);
}

void TOxDBLookupCombo::ToggleList() {
  if (FListVisible) CloseList(true);
  else DropDownList();
}

void TOxDBLookupCombo::ListMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button == mbLeft) CloseList(FDataList->ClientRect().Contains(TPoint(X, Y)));
}

void TOxDBLookupCombo::RepaintTextArea() {
  if (!HandleAllocated()) return;
  RECT r{1, 1, ClientWidth() - FButtonWidth - 1, ClientHeight() - 1};
  InvalidateRect(Handle(), &r, FALSE);
  UpdateWindow(Handle());
}

// --- Keyboard, mouse and wheel --------------------------------------------------------------------

void TOxDBLookupCombo::StepRow(int Delta) {
  TDataSet* dataSet = LookupDataSet();
  if (!LocateKey()) dataSet->First();
  else dataSet->MoveBy(Delta);
  ChooseKey(FKeyField->AsString());
}

void TOxDBLookupCombo::KeyDown(WORD& Key, TShiftState Shift) {
  if (FListActive && (Key == VK_UP || Key == VK_DOWN)) {
    if (Shift.Contains(ssAlt)) {
      ToggleList();
      Key = 0;
    } else if (!FListVisible && CanModify()) {
      StepRow(Key == VK_UP ? -1 : 1);
      Key = 0;
    }
  } else if (FListActive && Key == VK_F4 && !Shift.Contains(ssAlt)) {
    // F4 opens and closes the list as it does on the system's own combo boxes.
    ToggleList();
    Key = 0;
  }
  if (Key != 0 && FListVisible) FDataList->KeyDown(Key, Shift);
  TOxLookupControl::KeyDown(Key, Shift);
}

void TOxDBLookupCombo::KeyPress(char& Key) {
  unsigned char key = static_cast<unsigned char>(Key);
  if (FListVisible) {
    if (key == VK_RETURN || key == VK_ESCAPE) {
      CloseList(key == VK_RETURN);
      Key = 0;
    } else {
      FDataList->KeyPress(Key);
    }
  } else if (key >= 32) {
    DropDownList();
    if (FListVisible) FDataList->KeyPress(Key);
  } else if (key == VK_ESCAPE && EscapeClear && !ValueIsEmpty() && CanModify()) {
    ClearToEmpty();
    if (ValueIsEmpty()) Key = 0;
  }
  TOxLookupControl::KeyPress(Key);
  key = static_cast<unsigned char>(Key);
  if (key == VK_RETURN || key == VK_ESCAPE) {
    // The combo takes every key: Enter and Esc it did not use go on to the form's buttons.
    if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, key, 0);
  }
}

void TOxDBLookupCombo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    SetFocus();
    if (!Focused()) return;
    if (FListVisible) {
      CloseList(false);
    } else if (CanModify()) {
      SetMouseCapture(true);
      FTracking = true;
      TrackButton(X, Y);
      DropDownList();
    }
  }
  TOxLookupControl::MouseDown(Button, Shift, X, Y);
}

void TOxDBLookupCombo::MouseMove(TShiftState Shift, int X, int Y) {
  if (FTracking) {
    TrackButton(X, Y);
    if (FListVisible) {
      TPoint p = FDataList->ScreenToClient(ClientToScreen(TPoint(X, Y)));
      if (FDataList->ClientRect().Contains(p)) {
        // Press on the combo, drag into the list, release on a row: the list takes it from here.
        StopTracking();
        SendMessageA(FDataList->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(WORD(p.X), WORD(p.Y)));
        return;
      }
    }
  }
  TOxLookupControl::MouseMove(Shift, X, Y);
}

void TOxDBLookupCombo::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  StopTracking();
  TOxLookupControl::MouseUp(Button, Shift, X, Y);
}

TRect TOxDBLookupCombo::ButtonRect() { return TRect(ClientWidth() - FButtonWidth, 0, ClientWidth(), ClientHeight()); }

void TOxDBLookupCombo::TrackButton(int X, int Y) {
  bool pressed = ButtonRect().Contains(TPoint(X, Y));
  if (pressed == FPressed) return;
  FPressed = pressed;
  if (HandleAllocated()) {
    RECT r = ButtonRect();
    InvalidateRect(Handle(), &r, FALSE);
  }
}

void TOxDBLookupCombo::StopTracking() {
  if (!FTracking) return;
  TrackButton(-1, -1);
  FTracking = false;
  SetMouseCapture(false);
}

bool TOxDBLookupCombo::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = TOxLookupControl::DoMouseWheel(Shift, WheelDelta, MousePos);
  if (!handled && LookupDataSet() != nullptr && FListActive) {
    if (Shift.Contains(ssAlt)) {
      ToggleList();
      handled = true;
    } else if (!FListVisible && CanModify()) {
      StepRow(WheelDelta < 0 ? 1 : -1);
      handled = true;
    }
  }
  if (!handled && FListVisible) handled = FDataList->DoMouseWheel(Shift, WheelDelta, MousePos);
  return handled;
}

// --- Painting -------------------------------------------------------------------------------------

void TOxDBLookupCombo::Paint() {
  TCanvas* canvas = Canvas();
  int width = ClientWidth() - FButtonWidth;
  int height = ClientHeight();
  bool paintCopy = ControlState.Contains(csPaintCopy);
  bool selected = FFocused && !FListVisible && !paintCopy;
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(TRect(0, 0, std::max(width, 0), height));
  if (selected) {
    canvas->Font()->SetColor(clHighlightText);
    canvas->Brush()->SetColor(clHighlight);
  } else if (!Enabled()) {
    canvas->Font()->SetColor(clGrayText);
  }

  String text = Text();
  TAlignment alignment = FAlignment;
  bool columns = DisplayAllFields() && FListStyle == lsFixed && !FDisplayValues.empty();
  bool centred = true;
  if (paintCopy && FDataField != nullptr) {
    text = FDataField->DisplayText();
    alignment = FDataField->Alignment();
    columns = false;
  }
  TGraphic* image = nullptr;
  int margin = 0;
  if (FListVisible) {
    TOxPopupDataList* list = FDataList;
    if (!list->FSearchText.empty()) {
      text = list->FSearchText;
      alignment = taLeftJustify;
      columns = false;
      centred = false;
    } else if (list->ValueIsEmpty()) {
      text = FDisplayEmpty;
      alignment = taLeftJustify;
      columns = false;
      image = list->FetchRowImage(false, true, margin);
    } else if (list->FListActive && list->FKeyField->AsString() == list->Value()) {
      text = list->FDisplayField->DisplayText();
      alignment = list->FDisplayField->Alignment();
      columns = false;
      image = list->FetchRowImage(false, false, margin);
    } else {
      image = FetchRowImage(true, ValueIsEmpty(), margin);
    }
  } else if (!paintCopy) {
    image = FetchRowImage(true, ValueIsEmpty(), margin);
  }

  if (width > 4) {
    TRect area(1, 1, width - 1, height - 1);
    if (margin > 0) ++margin;
    TBitmap buffer;
    buffer.SetSize(area.Width(), area.Height());
    TCanvas* bc = buffer.Canvas();
    bc->Font()->Assign(canvas->Font());
    bc->Brush()->Assign(canvas->Brush());
    bc->Pen()->Assign(canvas->Pen());
    TRect inner(0, 0, area.Width(), area.Height());
    bc->FillRect(inner);
    int textWidth = bc->TextWidth(text);
    int x = margin;
    if (alignment == taRightJustify) x = width - textWidth - 6;
    else if (alignment == taCenter && centred && !columns) x = (width + margin - textWidth) / 2;
    int textTop = std::max(0, (inner.Height() - bc->TextHeight("Xy")) / 2);
    if (columns && !ValueIsEmpty()) DrawColumns(bc, inner, margin, textTop);
    else bc->TextRect(inner, columns ? margin + 2 : x, textTop, columns ? FDisplayEmpty : text);
    if (image != nullptr) DrawRowImage(bc, TRect(0, 0, margin + 2, inner.Height()), image);
    canvas->Draw(area.Left, area.Top, &buffer);
    if (selected) canvas->DrawFocusRect(area);
  }

  RECT button = ButtonRect();
  UINT state = DFCS_SCROLLCOMBOBOX;
  if (FPressed) state |= DFCS_PUSHED | DFCS_FLAT;
  else if (!FListActive || !Enabled() || ReadOnly()) state |= DFCS_INACTIVE;
  DrawFrameControl(canvas->Handle(), &button, DFC_SCROLL, state);
}

void TOxDBLookupCombo::DrawColumns(TCanvas* Canvas, const TRect& Rect, int Left, int TextTop) {
  Canvas->Pen()->SetColor(Color() == clBtnFace ? clBtnShadow : clBtnFace);
  int m = Canvas->TextWidth("M");
  TRect r(Left, Rect.Top, Rect.Right, Rect.Bottom);
  for (std::size_t j = 0; j < FDisplayValues.size(); ++j) {
    const TShownColumn& column = FDisplayValues[j];
    bool last = j + 1 == FDisplayValues.size();
    int width = last ? Rect.Right - r.Left : column.Width * m + 4;
    int textWidth = Canvas->TextWidth(column.Text);
    int x = 2;
    if (column.Alignment == taRightJustify) x = width - textWidth - 3;
    else if (column.Alignment == taCenter) x = (width - textWidth) / 2;
    r.Right = r.Left + width;
    Canvas->TextRect(r, r.Left + std::max(x, 0), TextTop, column.Text);
    if (!last) {
      Canvas->MoveTo(r.Right, r.Top);
      Canvas->LineTo(r.Right, r.Bottom);
      ++r.Right;
      if (r.Right >= Rect.Right) break;
    }
    r.Left = r.Right;
  }
}

// --- Messages -------------------------------------------------------------------------------------

void TOxDBLookupCombo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_CANCELMODE:
    case CM_CANCELMODE: WMCancelMode(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    default: TOxLookupControl::Dispatch(Message); break;
  }
}

void TOxDBLookupCombo::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_BUTTON;
}

void TOxDBLookupCombo::WMKillFocus(TMessage& Message) {
  TOxLookupControl::Dispatch(Message);
  FLosingFocus = true;
  TScopeGuard restore([&] { FLosingFocus = false; });
  CloseList(false);
}

void TOxDBLookupCombo::WMCancelMode(TMessage& Message) {
  auto* sender = reinterpret_cast<TControl*>(Message.LParam);
  if (Message.Msg == WM_CANCELMODE || (sender != this && sender != FDataList)) CloseList(false);
  TOxLookupControl::Dispatch(Message);
}

void TOxDBLookupCombo::WMSetCursor(TMessage& Message) {
  POINT p;
  GetCursorPos(&p);
  TPoint client = ScreenToClient(TPoint(p.x, p.y));
  if (ButtonRect().Contains(client) && LOWORD(Message.LParam) == HTCLIENT) {
    ::SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    Message.Result = 1;
    return;
  }
  TOxLookupControl::Dispatch(Message);
}

// Inside a control grid, a lookup field's open list takes Enter and Esc before the grid does.
void TOxDBLookupCombo::CNKeyDown(TMessage& Message) {
  WPARAM key = Message.WParam;
  if (FLookupMode && FDataLink->DataSourceFixed && FListVisible && (key == VK_RETURN || key == VK_ESCAPE)) {
    CloseList(key == VK_RETURN);
    Message.Result = 1;
    return;
  }
  TOxLookupControl::Dispatch(Message);
}

void TOxDBLookupCombo::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }

void TOxDBLookupCombo::CMCtl3DChanged(TMessage& Message) {
  RecreateWnd();
  SetBounds(Left(), Top(), Width(), Height());
  TOxLookupControl::Dispatch(Message);
}

void TOxDBLookupCombo::CMFontChanged(TMessage& Message) {
  TOxLookupControl::Dispatch(Message);
  SetBounds(Left(), Top(), Width(), Height());
}
