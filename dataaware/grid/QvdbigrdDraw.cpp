// This file implements the drawing of one cell of the grid engine (DrawCell): title cells with
// group headers, title buttons and title images, the indicator column with its record-state
// glyphs, data cells with their colours, highlight, alternating rows and background picture,
// repeated group values, the cell text, the custom-drawing events; and the cells a "ControlType"
// line draws instead of text: check boxes, pictures of blob fields, images of an image list and
// embedded controls painted as pictures.
#include "Qvdbigrd.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <cstdio>

#include "Field.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "Streams.h"
#include "Qvintl.h"
#include "qvControlUtils.h"
#include "qvFieldSettings.h"
#include "qvLookupTables.h"
#include "qvPropAccess.h"
#include "qvRecordSearch.h"
#include "qvStrUtils.h"
#include "qvThemes.h"

extern TCustomImageList* qvGridIndicatorGlyphs;

namespace {

// Theme parts and states of the header and the check box.
constexpr int HeaderItem = 1, HeaderNormal = 1, HeaderHot = 2, HeaderPressed = 3;
constexpr int CheckBoxPart = 3, CheckUncheckedNormal = 1, CheckUncheckedDisabled = 4, CheckCheckedNormal = 5,
              CheckCheckedDisabled = 8;

// The raster operation of a picture cell's copy mode name.
DWORD CopyModeFromName(const String& Name) {
  static const std::map<String, DWORD> Modes = {
      {"Source Copy", SRCCOPY},          {"Source Paint", SRCPAINT},         {"Source And", SRCAND},
      {"Source Invert", SRCINVERT},      {"Source Erase", SRCERASE},         {"Not Source Copy", NOTSRCCOPY},
      {"Not Source Erase", NOTSRCERASE}, {"Merge Paint", MERGEPAINT}};
  auto Found = Modes.find(Name);
  return Found == Modes.end() ? SRCCOPY : Found->second;
}

bool IsWhite(TColor Color) { return ColorToRGB(Color) == 0xFFFFFF; }

// Whether the canvas already has the font: assigning one makes a new font handle, which costs
// more than drawing the cell's text, and most cells keep the font of the cell before.
bool SameFont(TFont* A, TFont* B) {
  return A->Name() == B->Name() && A->Height() == B->Height() && A->Style() == B->Style() &&
         A->Color() == B->Color() && A->Charset() == B->Charset() && A->Pitch() == B->Pitch() &&
         A->Orientation() == B->Orientation() && A->PixelsPerInch == B->PixelsPerInch;
}

}  // namespace

// --- The cell ---------------------------------------------------------------------------------

TCanvas* TqvCustomDBGrid::GetPaintCanvas() {
  if (FDrawingDragImage && FDragImage) return FDragImage->Canvas();
  return FPaintBitmap->Canvas();
}

bool TqvCustomDBGrid::PaintsDirectly() {
  return !ControlState.Contains(csPaintCopy) && qvIntl->GridPaintStyle() == gpsDynamicDeviceContext;
}

void TqvCustomDBGrid::SetActiveRecordFor(int DataRow) {
  if (DataRow >= 0 && DataRow < FDataLink->RecordCount()) FDataLink->SetActiveRecord(DataRow);
}

void TqvCustomDBGrid::DrawCell(int ACol, int ARow, const TRect& ARectIn, TGridDrawState AState) {
  int DataRow = DataRowOf(ARow);
  int DataCol = DataColOf(ACol);
  TDataSet* Set = FDataLink->DataSet();
  bool Active = FDataLink->Active() && Set != nullptr && Set->Active();
  // 1. Rows past the last buffered record are not drawn.
  if (Active && !Set->IsEmpty() && DataRow >= FDataLink->RecordCount()) return;
  // The current cell's embedded control is laid over it: the cell may need no drawing.
  if (DataRow >= 0 && DataCol >= 0 && PlaceCellControl(ACol, ARow, AState)) return;
  // 2.
  FFocusFrameFlag = false;
  FLinesDrawn = false;
  TRect ARect = ARectIn;
  ARect.Right = std::min(ARect.Right, 2 * Width());
  TCanvas* Canvas = GetPaintCanvas();
  TFont* CellFont = AState.Contains(gdFixed) ? FTitleFont : Font();
  if (!SameFont(Canvas->Font(), CellFont)) Canvas->SetFont(CellFont);
  FDrawRect = ARect;
  FDrawState = AState;
  FDrawDataRow = DataRow;
  FDrawDataCol = DataCol;
  // 3. The cell information.
  FCellInfo->Rect = ARect;
  FCellInfo->State = AState;
  FCellInfo->DataCol = DataCol;
  FCellInfo->DataRow = DataRow;
  FCellInfo->Field = DataCol >= 0 ? GetFieldByDataCol(DataCol) : nullptr;
  FCellInfo->DefaultDrawBackground = true;
  FCellInfo->DrawTopLine = true;
  FCellInfo->DrawBottomLine = true;
  FCellInfo->DefaultDrawContent = true;
  // 4. Group values and the before-draw event.
  if (Active && (!FGroupFieldName.empty() || OnBeforeDrawCell)) {
    int Saved = FDataLink->ActiveRecord();
    TScopeGuard Restore([&] { FDataLink->SetActiveRecord(Saved); });
    if (DataRow >= 0) SetActiveRecordFor(DataRow);
    SuppressRepeatedGroupValue(FCellInfo);
    if (OnBeforeDrawCell) OnBeforeDrawCell(this, FCellInfo);
    if (DataCol >= 0 && DataRow >= 0 && DataRow < 256 && DataCol < int(FColumns.size())) {
      unsigned char* Flags = FColumns[std::size_t(DataCol)]->EnsureRowLineFlags();
      Flags[DataRow] = (FCellInfo->DrawBottomLine ? 0 : 1) | (FCellInfo->DrawTopLine ? 0 : 2);
      if (Flags[DataRow] != 0) FSuppressedLines = true;
    }
  }
  // 5.
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(AState.Contains(gdFixed) ? FTitleColor : Color());
  FCustomColor = false;
  // 6. Cells a control type draws.
  if (!DrawControlCell(ACol, ARow, ARect, AState)) {
    // 7.
    if (DataRow < 0) DrawTitleCell(ACol, ARow, ARect, AState);
    else if (DataCol < 0) DrawIndicatorCell(ACol, ARow, ARect, AState);
    else if (Active) DrawDataCell(ACol, ARow, ARect, AState);
  }
  // 8.
  if (Active) DoAfterDrawCell(FCellInfo);
}

// --- Titles -----------------------------------------------------------------------------------

bool TqvCustomDBGrid::ThemesOn() const { return FPaintThemes >= 0 ? FPaintThemes != 0 : qvThemesEnabledFor(this); }

bool TqvCustomDBGrid::DrawThemePart(TqvThemeData& Theme, int Part, int State, const TRect& Rect, TColor Back) {
  int W = Rect.Width(), H = Rect.Height();
  if (W <= 0 || H <= 0) return true;
  std::array<int, 6> Key{&Theme == &FHeaderTheme ? 0 : 1, Part, State, W, H, int(ColorToRGB(Back))};
  auto Found = FThemeParts.find(Key);
  if (Found == FThemeParts.end()) {
    if (FThemeParts.size() > 256) FThemeParts.clear();
    auto Image = std::make_unique<TBitmap>();
    Image->SetPixelFormat(pf24bit);
    Image->SetSize(W, H);
    Image->Canvas()->Brush()->SetColor(Back);
    Image->Canvas()->FillRect(TRect(0, 0, W, H));
    if (!Theme.Draw(Image->Canvas()->Handle(), Part, State, TRect(0, 0, W, H))) Image.reset();
    Found = FThemeParts.emplace(Key, std::move(Image)).first;
  }
  if (!Found->second) return false;
  BitBlt(GetPaintCanvas()->Handle(), Rect.Left, Rect.Top, W, H, Found->second->Canvas()->Handle(), 0, 0, SRCCOPY);
  return true;
}

bool TqvCustomDBGrid::UseThemedTitles() const {
  return ThemesOn() && !FDisableThemesInTitle && FPaintOptions->FixedRowImage() == nullptr;
}

bool TqvCustomDBGrid::TitlePressedState(int ACol, bool GroupPart) const {
  if (!FTitleButtons || FDrawingDragImage || FPressedCol < 0) return false;
  if (FPressedOnGroup) {
    if (!GroupPart) return false;
    TRect Header;
    int Last = ACol, First = ACol;
    GetGroupHeaderRect(ACol, 0, Header, false, Last, First);
    return FPressedCol >= First && FPressedCol <= Last;
  }
  return FPressedCol == ACol && (!GroupPart || GetColumn(DataColOf(ACol))->GroupName().empty());
}

bool TqvCustomDBGrid::IsInHotGroupHeader(int ACol) const {
  if (FHotCol < 0 || !FOverGroupHeader) return false;
  String Group = GetColumn(DataColOf(ACol))->GroupName();
  return !Group.empty() && GetColumn(DataColOf(FHotCol))->GroupName() == Group;
}

void TqvCustomDBGrid::DrawThemedHeader(const TRect& Rect, int Pressed, bool Indicator, int ACol, bool GroupPart) {
  int State = HeaderNormal;
  if (Pressed) {
    State = HeaderPressed;
  } else if (!Indicator && FTitleButtons && !FDrawingDragImage) {
    bool Hot = GroupPart ? IsInHotGroupHeader(ACol) : (FHotCol == ACol && FHotRow == 0 && !FOverGroupHeader);
    if (Hot) State = HeaderHot;
  }
  TRect R = Rect;
  R.Right += 1;
  if (!DrawThemePart(FHeaderTheme, HeaderItem, State, R, FTitleColor)) PaintTitleBackground(Rect);
}

void TqvCustomDBGrid::PaintTitleBackground(const TRect& Rect) {
  TCanvas* Canvas = GetPaintCanvas();
  TRect R = Rect;
  R.Left -= 1;
  if (TqvBitmap* Image = FPaintOptions->FixedRowImage()) {
    BitBlt(Canvas->Handle(), R.Left, R.Top, R.Width(), R.Height(), Image->DC(), R.Left, R.Top, SRCCOPY);
  } else {
    Canvas->FillRect(R);
  }
}

void TqvCustomDBGrid::DoCalcTitleAttributes(const String& Name, TFont* AFont, TAlignment& Alignment, TBrush* ABrush) {
  TColor Before = ABrush->Color();
  if (OnCalcTitleAttributes) OnCalcTitleAttributes(this, Name, AFont, ABrush, Alignment);
  if (ABrush->Color() != Before) FCustomColor = true;
}

void TqvCustomDBGrid::DoDrawTitleCell(TCanvas* ACanvas, TField* Field, const TRect& Rect, bool& Default) {
  if (OnDrawTitleCell) OnDrawTitleCell(this, ACanvas, Field, Rect, Default);
}

void TqvCustomDBGrid::DoDrawGroupHeaderCell(TCanvas* ACanvas, const String& Name, const TRect& Rect, bool& Default) {
  if (OnDrawGroupHeaderCell) OnDrawGroupHeaderCell(this, ACanvas, Name, Rect, Default);
}

void TqvCustomDBGrid::DoCalcTitleImage(TField* Field, TqvTitleImageAttributes& Attributes) {
  if (OnCalcTitleImage) OnCalcTitleImage(this, Field, Attributes);
}

void TqvCustomDBGrid::DrawTitleCell(int ACol, int, TRect ARect, TGridDrawState) {
  TCanvas* Canvas = GetPaintCanvas();
  int DataCol = DataColOf(ACol);
  bool Mapped = DataCol >= 0 && (!FUseTFields || DataCol < GetFieldCount());
  if (!Mapped) {
    // The indicator's title cell, and columns past the mapped fields.
    if (UseThemedTitles()) DrawThemedHeader(ARect, 0, true, ACol, false);
    else if (FCellInfo->DefaultDrawBackground) PaintTitleBackground(ARect);
    return;
  }
  // T1.
  if (FOptions.Contains(dgIndicator) && DataCol == 0 && FIndicatorButton != nullptr && FIndicatorButton->Visible())
    FIndicatorButton->Invalidate();
  // T2.
  TField* Field = GetFieldByDataCol(DataCol);
  String Title = Field != nullptr ? Field->DisplayLabel() : String();
  String FieldName = Field != nullptr ? Field->FieldName() : String();
  if (!FUseTFields) {
    if (Field == nullptr && DataCol < FSelected->Count()) FieldName = TqvLineParts(FSelected->Strings(DataCol), '\t').Part(0);
    int Index = -1;
    if (qvFindSelectedField(FSelected, FieldName, Index)) {
      TqvLineParts Line(FSelected->Strings(Index), '\t');
      if (Line.Count() > 2) Title = Line.Part(2);
    }
  }
  // T3.
  String Group = GetColumn(DataCol)->GroupName();
  bool GroupPart = !Group.empty() && ARect.Top == 0 && ARect.Height() < RowHeights(0);
  String Name = GroupPart ? Group : FieldName;
  TAlignment Alignment = GroupPart ? taCenter : FTitleAlignment;
  // T4.
  TqvTitleImageAttributes Image;
  DoCalcTitleAttributes(Name, Canvas->Font(), Alignment, Canvas->Brush());
  // T5, T6.
  bool Pressed = TitlePressedState(ACol, GroupPart);
  if (FCellInfo->DefaultDrawBackground) {
    TRect Back = ARect;
    if (!FDrawingDragImage) {
      TGridDrawInfo Info;
      CalcDrawInfo(Info);
      if (Back.Left < Info.Horz.FixedBoundary && ACol >= FixedCols()) Back.Left = Info.Horz.FixedBoundary;
    }
    if (UseThemedTitles()) DrawThemedHeader(Back, Pressed ? 1 : 0, false, ACol, GroupPart);
    else if (FCustomColor) Canvas->FillRect(Back);
    else PaintTitleBackground(Back);
  }
  // T7.
  FDrawRect = ARect;
  if (Field != nullptr) DoCalcTitleImage(Field, Image);
  int Offset = Pressed ? 1 : 0;
  TRect TextRect = ARect;
  if (Image.ImageIndex >= 0 && FTitleImageList != nullptr && FCellInfo->DefaultDrawBackground) {
    int W = FTitleImageList->Width(), H = FTitleImageList->Height();
    int Y = ARect.Top + (ARect.Height() - H) / 2 + Offset;
    int X;
    if (Image.Alignment == taLeftJustify) {
      X = ARect.Left + Image.Margin + Offset;
      TextRect.Left = std::min(X + W + Image.Margin, ARect.Right);
    } else if (Image.Alignment == taRightJustify) {
      X = ARect.Right - W - Image.Margin + Offset;
      TextRect.Right = std::max(X, ARect.Left);
    } else {
      X = ARect.Left + (ARect.Width() - W) / 2 + Offset;
    }
    FTitleImageList->Draw(Canvas, X, Y, Image.ImageIndex);
  }
  // T8.
  bool Default = true;
  if (Field != nullptr) {
    if (GroupPart) DoDrawGroupHeaderCell(Canvas, Group, ARect, Default);
    else DoDrawTitleCell(Canvas, Field, ARect, Default);
  }
  if (Default && !(Image.ImageIndex >= 0 && FTitleImageList != nullptr && Image.Alignment == taCenter)) {
    String Text = GroupPart ? (FInGroupDrag && FDrawingDragImage ? String() : Group) : Title;
    FDrawRect = TextRect;
    DrawTitleOrCellText(Text, Alignment, !FCustomColor);
    FDrawRect = ARect;
  }
}

// --- The indicator ----------------------------------------------------------------------------

void TqvCustomDBGrid::DrawIndicatorGlyph(const TRect& Cell, int Glyph) {
  if (qvGridIndicatorGlyphs == nullptr || Glyph < 0 || Glyph >= qvGridIndicatorGlyphs->Count()) return;
  // The glyph on white, its black pixels in the icon colour, drawn with white left out.
  TBitmap Image;
  qvGridIndicatorGlyphs->GetBitmap(Glyph, &Image);
  int W = Image.Width(), H = Image.Height();
  TBitmap Coloured;
  Coloured.SetPixelFormat(pf24bit);
  Coloured.SetSize(W, H);
  Coloured.Canvas()->Brush()->SetColor(FIndicatorIconColor);
  Coloured.Canvas()->BrushCopy(Rect(0, 0, W, H), &Image, Rect(0, 0, W, H), clBlack);
  Coloured.SetTransparentColor(clWhite);
  Coloured.SetTransparent(true);
  int X = (Cell.Right - W) / 2 + 1;
  int Y = (2 * Cell.Top + DefaultRowHeight() - H) / 2;
  GetPaintCanvas()->Draw(X, Y, &Coloured);
}

void TqvCustomDBGrid::DrawIndicatorCell(int, int ARow, const TRect& ARect, TGridDrawState) {
  TRect R = ARect;
  R.Left -= 1;
  R.Bottom += FOptions.Contains(dgHideBottomDataLine) ? 0 : 1;
  if (UseThemedTitles()) {
    DrawThemedHeader(R, 0, true, 0, false);
  } else {
    R.Top -= 1;
    if (FCellInfo->DefaultDrawBackground) PaintFixedColumnBackground(R, DataRowOf(ARow), FTitleColor);
  }
  if (!FDataLink->Active()) return;
  int DataRow = DataRowOf(ARow);
  bool Current = DataRow == FDataLink->ActiveRecord();  // the link is not moved here
  TDataSetState State = FDataLink->DataSet()->State();
  int Glyph = -1;
  if (Current) {
    if (State == dsEdit) Glyph = 1;
    else if (State == dsInsert) Glyph = 2;
    else if (FOptions.Contains(dgMultiSelect) && IsRowSelected(DataRow)) Glyph = 4;
    else Glyph = 0;
  } else if (State == dsBrowse && FOptions.Contains(dgMultiSelect) && IsRowSelected(DataRow)) {
    Glyph = 3;
  }
  if (Glyph >= 0) DrawIndicatorGlyph(ARect, Glyph);
  if (Current) FIndicatorRow = FTitleOffset + DataRow;
}

// --- Data cells -------------------------------------------------------------------------------

bool TqvCustomDBGrid::IsCellHighlighted(int DataCol, int DataRow, TGridDrawState State) {
  if (FOptions.Contains(dgMultiSelect) && !State.Contains(gdFixed)) return IsRowSelected(DataRow);
  (void)DataCol;
  bool Result = State.Contains(gdSelected) ||
                (DataRow == CurrentDataRow() && FPaintOptions->ActiveRecordColor() != clNone);
  if (Result && !FOptions.Contains(dgAlwaysShowSelection)) Result = FHasFocus;
  return Result;
}

void TqvCustomDBGrid::DoCalcCellColors(TField* Field, TGridDrawState State, TBrush* ABrush, TFont* AFont, bool Highlight) {
  if (OnCalcCellColors) OnCalcCellColors(this, Field, State, Highlight, AFont, ABrush);
}

bool TqvCustomDBGrid::ApplyCellColors(TField* Field, TGridDrawState State, TBrush* ABrush, TFont* AFont, bool Highlight) {
  TColor Before = ABrush->Color();
  DoCalcCellColors(Field, State, ABrush, AFont, Highlight);
  FWhiteBackground = IsWhite(ABrush->Color());
  bool Changed = ABrush->Color() != Before;
  if (Changed) FCustomColor = true;
  return Changed;
}

void TqvCustomDBGrid::DrawDataCell(int, int, const TRect& ARect, TGridDrawState AState) {
  TCanvas* Canvas = GetPaintCanvas();
  int DataRow = FDrawDataRow;
  int DataCol = FDrawDataCol;
  int Saved = FDataLink->ActiveRecord();
  TScopeGuard Restore([&] { FDataLink->SetActiveRecord(Saved); });
  SetActiveRecordFor(DataRow);
  FLeftAlignedDisplayText = false;
  TField* Field = GetFieldByDataCol(DataCol);
  // D2.
  String Text = GetFieldDisplayTextW(DataCol);
  // D3.
  bool Highlight = IsCellHighlighted(DataCol, DataRow, AState);
  // D4.
  if (DataCol + FIndicatorOffset < int(FCache.size()) && FCache[std::size_t(DataCol + FIndicatorOffset)]->ControlKind == "URL-Link") {
    Canvas->Font()->SetStyle(Canvas->Font()->Style() + TFontStyles{fsUnderline});
    bool Hovered = FURLCol == DataCol + FIndicatorOffset && FURLRow == DataRow + FTitleOffset;
    Canvas->Font()->SetColor(Hovered ? clRed : clBlue);
  }
  // D5.
  bool ThemedInChild = false;
  if (Highlight) {
    HWND Focus = GetFocus();
    ThemedInChild = ThemesOn() && Focus != nullptr && Focus != FHandle && IsChild(FHandle, Focus);
    if (!ThemedInChild) {
      Canvas->Brush()->SetColor(GetActiveRecordColor());
      if (!FOptions.Contains(dgRowSelect) && DataRow == CurrentDataRow() && Col() == DataCol + FIndicatorOffset)
        Canvas->Brush()->SetColor(clHighlight);
      Canvas->Font()->SetColor(clHighlightText);
    }
  }
  // D6.
  ApplyCellColors(Field, AState, Canvas->Brush(), Canvas->Font(), Highlight);
  bool ContentByDefault = FCellInfo->DefaultDrawContent;
  // D7.
  if (FCellInfo->DefaultDrawBackground) {
    if (DataCol < FixedCols() - FIndicatorOffset) {
      TRect R = ARect;
      if (!FOptions.Contains(dgHideBottomDataLine)) R.Bottom += 1;
      PaintFixedColumnBackground(R, DataRow, clNone);
    } else if (FPaintOptions->HasDataCellBackground() && !Highlight && !FCustomColor) {
      PaintDataRowBackground(ARect, DataRow, clNone);
    } else if (DefaultDrawing && !ThemedInChild && !ContentByDefault) {
      TRect R = ARect;
      R.Top -= 1;
      R.Bottom += 1;
      PaintDataRowBackground(R, DataRow, Canvas->Brush()->Color());
    } else if (!Highlight && !FCustomColor && !ThemedInChild) {
      // The row's own background (alternating colour, picture) under the text drawn without fill.
      PaintDataRowBackground(ARect, DataRow, Canvas->Brush()->Color());
    }
  }
  // D8.
  if (DefaultDrawing && !ThemedInChild && ContentByDefault) {
    TAlignment Alignment = Field != nullptr && !FLeftAlignedDisplayText ? Field->Alignment() : taLeftJustify;
    DrawTitleOrCellText(Text, Alignment, !Highlight && !FCustomColor);
  }
  // D9. An exception of the program's drawing does not stop the painting.
  try {
    DoDrawDataCell(ARect, Field, AState);
  } catch (...) {
  }
}

void TqvCustomDBGrid::DoDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State) {
  if (OnDrawDataCell) OnDrawDataCell(this, Rect, Field, State);
}

void TqvCustomDBGrid::DrawTitleOrCellText(const String& Text, TAlignment Alignment, bool WithoutFill) {
  if (!FCellInfo->DefaultDrawContent) return;
  TCanvas* Canvas = GetPaintCanvas();
  const TRect& R = FDrawRect;
  if (FDrawDataRow < 0) {
    int P = TitlePressedState(FDrawDataCol + FIndicatorOffset, R.Top == 0 && R.Height() < RowHeights(0)) ? 1 : 0;
    int Lines = FTitleLines != 1 ? qvCountChar(Text, '~') + 1 : 1;
    int TextHeight = Canvas->TextHeight("W");
    int VOffset = int(std::lround(R.Height() / 2.0 - TextHeight * Lines / 2.0));
    String Shown = qvReplaceChar(Text, '~', '\r');
    int Flags = qvCellEndEllipsis | qvCellNoFill;
    if (!FUseTFields) Flags |= qvCellShowPrefix;
    if (!WithoutFill) Flags &= ~qvCellNoFill;
    DrawCellText(Canvas, R, P + 2, Flags, Alignment, Shown, VOffset + P);
    return;
  }
  int Flags = WithoutFill ? qvCellNoFill : 0;
  HDC DC = Canvas->Handle();
  int YOffset = DrawsFixedRowLines() ? 2 : 1;
  if (FOptions.Contains(dgWordWrap)) {
    Flags |= qvCellWordWrap;
    if (FOptions.Contains(dgTrailingEllipsis)) {
      TSelectedObject FontSelected(DC, Canvas->Font()->Handle());
      if (qvRectHoldsOneLine(DC, R, DT_WORDBREAK)) Flags |= qvCellEndEllipsis;
    }
  } else if (FOptions.Contains(dgTrailingEllipsis)) {
    Flags |= qvCellEndEllipsis;
  }
  DrawCellText(Canvas, R, 2, Flags, Alignment, Text, YOffset);
}

void TqvCustomDBGrid::DrawCellText(TCanvas* ACanvas, const TRect& Rect, int XOffset, int Flags, TAlignment Alignment,
                                   const String& Text, int YOffset) {
  int W = Rect.Width(), H = Rect.Height();
  TRect TextRect;
  UINT Format = DT_EXPANDTABS | DT_NOPREFIX;
  switch (Alignment) {
    case taRightJustify:
      TextRect = TRect(XOffset, YOffset, W - 2, H - 1);
      Format |= DT_RIGHT;
      break;
    case taCenter:
      TextRect = TRect(XOffset < 3 ? 0 : 2, YOffset, W, H - 1);
      Format |= DT_CENTER;
      break;
    default:
      TextRect = TRect(XOffset, YOffset, W, H - 1);
      break;
  }
  TextRect = TRect(TextRect.Left + Rect.Left, TextRect.Top + Rect.Top, TextRect.Right + Rect.Left, TextRect.Bottom + Rect.Top);
  ACanvas->Brush()->SetStyle(bsSolid);
  if (!(Flags & qvCellNoFill)) ACanvas->FillRect(Rect);
  HDC DC = ACanvas->Handle();
  TSelectedObject Font(DC, ACanvas->Font()->Handle());
  SetTextColor(DC, ColorToRGB(ACanvas->Font()->Color()));
  int OldMode = SetBkMode(DC, TRANSPARENT);
  if (Flags & qvCellShowPrefix) Format &= ~UINT(DT_NOPREFIX);
  // Most cells hold one line that fits: it is drawn as DrawText would place it (top line, by the
  // alignment, clipped to the text rectangle) at the cost of one measure, where DrawText with its
  // breaks and ellipsis costs several times that.
  bool Plain = Text.find_first_of((Format & DT_NOPREFIX) ? "\t\r\n" : "\t\r\n&") == String::npos;
  SIZE Extent{};
  if (Plain && GetTextExtentPoint32A(DC, Text.c_str(), int(Text.size()), &Extent) && Extent.cx <= TextRect.Width()) {
    int X = TextRect.Left;
    if (Format & DT_RIGHT) X = TextRect.Right - Extent.cx;
    else if (Format & DT_CENTER) X = (TextRect.Left + TextRect.Right - Extent.cx) / 2;
    ExtTextOutA(DC, X, TextRect.Top, ETO_CLIPPED, AsRECT(TextRect), Text.c_str(), UINT(Text.size()), nullptr);
    SetBkMode(DC, OldMode);
    return;
  }
  if (Flags & qvCellWordWrap) Format |= DT_WORDBREAK;
  if ((Format & DT_WORDBREAK) && ((Flags & qvCellEndEllipsis) || qvRectHoldsOneLine(DC, TextRect, Format)))
    Format &= ~UINT(DT_WORDBREAK);
  if (Flags & qvCellEndEllipsis) Format |= DT_END_ELLIPSIS;
  DrawTextA(DC, Text.c_str(), int(Text.size()), AsRECT(TextRect), Format);
  SetBkMode(DC, OldMode);
}

// --- Backgrounds ------------------------------------------------------------------------------

void TqvCustomDBGrid::PaintCellBackground(const TRect& Rect) {
  TCanvas* Canvas = GetPaintCanvas();
  if (TqvBitmap* Image = FPaintOptions->AlternatingRowImage()) {
    BitBlt(Canvas->Handle(), Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Image->DC(), Rect.Left, Rect.Top, SRCCOPY);
    return;
  }
  TColor Saved = Canvas->Brush()->Color();
  Canvas->Brush()->SetColor(FPaintOptions->AlternatingRowColor());
  Canvas->FillRect(Rect);
  Canvas->Brush()->SetColor(Saved);
}

void TqvCustomDBGrid::PaintDataRowBackground(const TRect& Rect, int DataRow, TColor Color) {
  TCanvas* Canvas = GetPaintCanvas();
  bool NoRowLines = !FOptions.Contains(dgRowLines) && !FOptions.Contains(dgHideBottomDataLine);
  if (FPaintOptions->AlternatingRowColor() != clNone && FPaintOptions->AlternatingRowRegions().Contains(arrDataColumns) &&
      DataRow >= 0 && ((DataRow & 1) != 0) != FParityFlag) {
    TRect R = Rect;
    if (!FOptions.Contains(dgColLinesDisableFixed)) R.Left -= 1;
    if (NoRowLines) R.Bottom += 1;
    PaintCellBackground(R);
  } else if (FPaintOptions->HasDataCellBackground()) {
    TRect R = Rect;
    if (NoRowLines) R.Bottom += 1;
    TBitmap* Image = FPaintOptions->BackgroundImage();
    BitBlt(Canvas->Handle(), R.Left, R.Top, R.Width(), R.Height(), Image->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
  } else if (OnBeforePaint) {
    // The program paints the background.
  } else if (Color != clNone) {
    TColor Saved = Canvas->Brush()->Color();
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(Rect);
    Canvas->Brush()->SetColor(Saved);
  }
}

void TqvCustomDBGrid::PaintFixedColumnBackground(const TRect& Rect, int DataRow, TColor Color) {
  TCanvas* Canvas = GetPaintCanvas();
  if (FPaintOptions->AlternatingRowColor() != clNone && FPaintOptions->AlternatingRowRegions().Contains(arrFixedColumns) &&
      DataRow >= 0 && ((DataRow & 1) != 0) != FParityFlag) {
    PaintCellBackground(Rect);
  } else if (TqvBitmap* Image = FPaintOptions->FixedColumnImage()) {
    BitBlt(Canvas->Handle(), Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Image->DC(), Rect.Left, Rect.Top, SRCCOPY);
  } else if (Color != clNone) {
    TColor Saved = Canvas->Brush()->Color();
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(Rect);
    Canvas->Brush()->SetColor(Saved);
  }
}

// --- Group values -----------------------------------------------------------------------------

void TqvCustomDBGrid::SuppressRepeatedGroupValue(TqvCustomDrawGridCellInfo* Info) {
  if (FGroupFieldName.empty() || Info->DataRow < 0 || Info->Field == nullptr ||
      !qvSameText(Info->Field->FieldName(), FGroupFieldName))
    return;
  String Here = Info->Field->AsString();
  String Other;
  if (GetNextRecordValue(FGroupFieldName, Other) && Other == Here) Info->DrawBottomLine = false;
  if (GetPriorRecordValue(FGroupFieldName, Other) && Other == Here) {
    Info->DrawTopLine = false;
    Info->DefaultDrawContent = false;
  }
}

void TqvCustomDBGrid::DoAfterDrawCell(TqvCustomDrawGridCellInfo* Info) {
  if (!OnAfterDrawCell && FGroupFieldName.empty()) return;
  int Saved = FDataLink->ActiveRecord();
  TScopeGuard Restore([&] { FDataLink->SetActiveRecord(Saved); });
  if (Info->DataRow >= 0) {
    SetActiveRecordFor(Info->DataRow);
    TDataSet* Set = FDataLink->DataSet();
    if (!FGroupFieldName.empty() && Set->FindField(FGroupFieldName) != nullptr) {
      String Here = Set->FieldByName(FGroupFieldName)->AsString();
      String Next;
      if (GetNextRecordValue(FGroupFieldName, Next) && Next != Here) {
        TCanvas* Canvas = GetPaintCanvas();
        TColor SavedPen = Canvas->Pen()->Color();
        Canvas->Pen()->SetColor(clBlack);
        Canvas->MoveTo(Info->Rect.Left, Info->Rect.Bottom);
        Canvas->LineTo(Info->Rect.Right, Info->Rect.Bottom);
        Canvas->Pen()->SetColor(SavedPen);
        FLinesDrawn = true;
      }
    }
  }
  if (OnAfterDrawCell) OnAfterDrawCell(this, Info);
}

// --- Control cells ----------------------------------------------------------------------------

void TqvCustomDBGrid::PaintControlCellBackground(TField* Field, int DataCol, int DataRow, const TRect& Rect,
                                                 TGridDrawState State) {
  TCanvas* Canvas = GetPaintCanvas();
  bool Fixed = State.Contains(gdFixed);
  Canvas->Brush()->SetColor(Fixed ? FTitleColor : Color());
  FDrawDataRow = DataRow;
  FDrawDataCol = DataCol;
  bool Highlight = IsCellHighlighted(DataCol, DataRow, State);
  if (Highlight) {
    Canvas->Brush()->SetColor(GetActiveRecordColor());
    if (!FOptions.Contains(dgRowSelect) && DataRow == CurrentDataRow() && Col() == DataCol + FIndicatorOffset)
      Canvas->Brush()->SetColor(clHighlight);
    Canvas->Font()->SetColor(clHighlightText);
  }
  ApplyCellColors(Field, State, Canvas->Brush(), Canvas->Font(), Highlight);
  if (Highlight) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FillRect(Rect);
    TCustomForm* Form = GetParentForm(this);
    if (!ComponentState().Contains(csDesigning) && Form != nullptr && Form->ActiveControl() == this &&
        !FOptions.Contains(dgRowSelect))
      FFocusFrameFlag = true;
  }
}

bool TqvCustomDBGrid::DrawControlCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  int DataCol = DataColOf(ACol), DataRow = DataRowOf(ARow);
  TField* Field = GetFieldByDataCol(DataCol);
  TDataSet* Set = FDataLink->DataSet();
  if (Field == nullptr || DataRow < 0 || Set == nullptr || !Set->Active()) return false;
  if (ACol >= int(FCache.size())) return false;
  TqvCacheColInfoItem* Item = FCache[std::size_t(ACol)];
  const String& Kind = Item->ControlKind;
  bool Known = Kind == "Bitmap" || Kind == "ImageIndex" || Kind == "CheckBox" || Kind == "CustomEdit" || Kind == "RichEdit";
  if (!Known) return false;
  TWinControl* Control = nullptr;
  if (Kind == "CustomEdit" || Kind == "RichEdit") {
    if (!GetCellControl(ACol, ARow, Control) || Control == FDateTimePicker) return false;
    bool PaintAll = Item->AlwaysShow || qvClassInheritsFrom(Control->ClassType(), "TqvExpandButton") ||
                    qvClassInheritsFrom(Control->ClassType(), "TqvRadioGroup") ||
                    qvClassInheritsFrom(Control->ClassType(), "TqvCheckbox") ||
                    qvClassInheritsFrom(Control->ClassType(), "TqvMonthCalendar");
    if (!PaintAll) return false;
  }
  TCanvas* Canvas = GetPaintCanvas();
  // 1. Background.
  if (FCellInfo->DefaultDrawBackground) {
    if (AState.Contains(gdFixed) && ACol < FixedCols()) {
      TRect R = ARect;
      R.Left -= 1;
      if (FOptions.Contains(dgRowLinesDisableFixed) && FOptions.Contains(dgRowLines)) R.Top -= 1;
      PaintFixedColumnBackground(R, DataRow, FTitleColor);
    } else {
      PaintDataRowBackground(ARect, DataRow, clNone);
    }
  }
  // 2.
  TRect Cell;
  GetCellBounds(ACol, ARow, Cell);
  int Saved = FDataLink->ActiveRecord();
  TScopeGuard Restore([&] { FDataLink->SetActiveRecord(Saved); });
  SetActiveRecordFor(DataRow);
  // 3.
  if (Kind == "Bitmap") {
    if (FCellInfo->DefaultDrawContent) DrawBitmapCell(Field, Item->Params, DataRow, Cell);
  } else if (Kind == "ImageIndex") {
    PaintControlCellBackground(Field, DataCol, DataRow, Cell, AState);
    if (FCustomColor) Canvas->FillRect(Cell);
    bool Numeric = Field->InheritsFrom(TIntegerField::StaticClass()) || Field->InheritsFrom(TFloatField::StaticClass()) ||
                   Field->InheritsFrom(TLargeintField::StaticClass());
    if (Numeric && FImageList != nullptr && FCellInfo->DefaultDrawContent)
      DrawImageIndexCell(Field, Item->Params, DataRow, Cell, AState);
  } else if (Kind == "CheckBox") {
    TqvLineParts Values(Item->Params, ';');
    String Checked = Values.Part(0), State;
    if (Field->Calculated() && qvSameText(Field->FieldName(), "selected"))
      State = IsCurrentRowSelected() ? Checked : Values.Part(1);
    else
      State = GetFieldDisplayTextW(DataCol);
    PaintControlCellBackground(Field, DataCol, DataRow, Cell, AState);
    if (FCustomColor) Canvas->FillRect(Cell);
    TRect Box = Bounds((Cell.Left + Cell.Right - 10) / 2, (Cell.Top + Cell.Bottom - 10) / 2, 10, 10);
    if (FCellInfo->DefaultDrawContent) DrawCheckBoxCell(Box, ACol, qvSameText(State, Checked), ARow);
  } else if (FCellInfo->DefaultDrawContent) {
    bool Current = ACol == Col() && ARow == Row();
    if (!Control->Visible() || !Current) DrawCustomControlCell(Control, Field, Cell, AState);
  }
  // 4. The lines are the painting loop's (PaintCellGridLines).
  return true;
}

void TqvCustomDBGrid::DrawCheckBoxCell(const TRect& Box, int ACol, bool Checked, int) {
  TCanvas* Canvas = GetPaintCanvas();
  TRect R(Box.Left - 1, Box.Top - 1, Box.Right + 2, Box.Bottom + 2);
  bool ReadOnlyColumn = GetColumn(DataColOf(ACol))->ReadOnly();
  TqvCheckBoxInGridStyle Style = qvIntl->CheckBoxInGridStyle();
  HDC DC = Canvas->Handle();
  if (Style == cbStyleCheckmark || Style == cbStyleCheckmarkFlat || Style == cbStyleAuto) {
    if (ThemesOn()) {
      int State = Checked ? (ReadOnlyColumn ? CheckCheckedDisabled : CheckCheckedNormal)
                          : (ReadOnlyColumn ? CheckUncheckedDisabled : CheckUncheckedNormal);
      if (DrawThemePart(FButtonTheme, CheckBoxPart, State, R, Canvas->Brush()->Color())) return;
    }
    UINT Flags = DFCS_BUTTONCHECK;
    if (Checked) Flags |= DFCS_CHECKED;
    if (Style == cbStyleCheckmarkFlat) Flags |= DFCS_FLAT;
    if (ReadOnlyColumn) Flags |= DFCS_INACTIVE;
    RECT Frame = R;
    DrawFrameControl(DC, &Frame, DFC_BUTTON, Flags);
    return;
  }
  // The X mark: an empty frame and, when checked, a black X three pixels thick.
  RECT Frame = R;
  DrawFrameControl(DC, &Frame, DFC_BUTTON, DFCS_BUTTONCHECK | (ReadOnlyColumn ? DFCS_INACTIVE : 0));
  if (!Checked) return;
  TColor SavedPen = Canvas->Pen()->Color();
  int SavedWidth = Canvas->Pen()->Width();
  Canvas->Pen()->SetColor(clBlack);
  Canvas->Pen()->SetWidth(1);
  int L = Box.Left, T = Box.Top, Rt = Box.Right, B = Box.Bottom;
  const int Lines[6][4] = {{Rt - 2, T + 2, L + 1, B - 1}, {Rt - 3, T + 2, L + 1, B - 2}, {Rt - 2, T + 3, L + 2, B - 1},
                           {L + 2, T + 2, Rt - 1, B - 1}, {L + 2, T + 3, Rt - 2, B - 1}, {L + 3, T + 2, Rt - 1, B - 2}};
  for (const auto& Line : Lines) {
    Canvas->MoveTo(Line[0], Line[1]);
    Canvas->LineTo(Line[2], Line[3]);
  }
  Canvas->Pen()->SetColor(SavedPen);
  Canvas->Pen()->SetWidth(SavedWidth);
}

bool TqvCustomDBGrid::GetCheckBoxValues(int ACol, int ARow, String& Checked, String& Unchecked) const {
  int DataCol = DataColOf(ACol);
  if (DataCol < 0 || DataRowOf(ARow) < 0) return false;
  TField* Field = GetFieldByDataCol(DataCol);
  String Name = Field != nullptr ? Field->FieldName() : GetColumnFieldName(ACol);
  TStrings* Lines = GetControlTypeList();
  if (Lines == nullptr || Name.empty()) return false;
  for (int i = 0; i < Lines->Count(); ++i) {
    TqvLineParts Parts(Lines->Strings(i), ';');
    if (Parts.Count() >= 4 && Parts.Part(0) == Name && Parts.Part(1) == "CheckBox") {
      Checked = Parts.Part(2);
      Unchecked = Parts.Part(3);
      return true;
    }
  }
  return false;
}

void TqvCustomDBGrid::DrawBitmapCell(TField* Field, const String& Params, int DataRow, const TRect& Rect) {
  TCanvas* Canvas = GetPaintCanvas();
  TGridDrawState State = FDrawState;
  TField* Source = Field;
  // 1. The field holding the picture.
  if (Field->Lookup()) {
    TDataSet* Lookup = Field->LookupDataSet();
    TField* Key = Field->DataSet()->FindField(Field->KeyFields());
    if (Lookup == nullptr || Key == nullptr ||
        !qvLocateFieldValue(Lookup, Key->AsString(), Field->LookupKeyFields(), mtExactMatch, true)) {
      PaintControlCellBackground(Field, FDrawDataCol, DataRow, Rect, State);
      return;
    }
    Source = Lookup->FindField(Field->LookupResultField());
  } else if (Field->Calculated()) {
    String LinkValue;
    TField* Result = nullptr;
    if (!qvFindLookupRecord(Field, LinkValue, Result)) {
      PaintControlCellBackground(Field, FDrawDataCol, DataRow, Rect, State);
      return;
    }
    Source = Result;
  }
  // 2. The picture, after its optional 8-byte header.
  TBitmap Picture;
  TDataSet* Set = FDataLink->DataSet();
  bool InsertedRow = Source == Field && !Field->Lookup() && !Field->Calculated() && Set->State() == dsInsert &&
                     DataRow == CurrentDataRow();
  if (Source != nullptr && !InsertedRow) {
    try {
      std::unique_ptr<TStream> Blob(Source->DataSet()->CreateBlobStream(Source, bmRead));
      long long Size = Blob->Size();
      if (Size > 7) {
        unsigned char Header[8];
        Blob->ReadBuffer(Header, 8);
        unsigned short A = unsigned(Header[0] | (Header[1] << 8));
        unsigned short B = unsigned(Header[2] | (Header[3] << 8));
        unsigned Length = unsigned(Header[4]) | (unsigned(Header[5]) << 8) | (unsigned(Header[6]) << 16) |
                          (unsigned(Header[7]) << 24);
        if (!(A == 1 && B == 256 && (long long)Length == Size - 8)) Blob->SetPosition(0);
      }
      Picture.LoadFromStream(Blob.get());
    } catch (...) {
      Picture.FreeImage();
    }
  }
  // 3.
  if (Picture.Width() < 1 || Picture.Height() < 1) {
    PaintControlCellBackground(Field, FDrawDataCol, DataRow, Rect, State);
    return;
  }
  // 4.
  TCopyMode OldMode = Canvas->CopyMode();
  TScopeGuard RestoreMode([&] { Canvas->SetCopyMode(OldMode); });
  TqvLineParts Parts(Params, ';');
  Canvas->SetCopyMode(CopyModeFromName(Parts.Part(1)));
  PaintControlCellBackground(Field, FDrawDataCol, DataRow, Rect, State);
  int CW = Rect.Width(), CH = Rect.Height(), BW = Picture.Width(), BH = Picture.Height();
  int LX = FOptions.Contains(dgColLines) ? 1 : 0, LY = FOptions.Contains(dgRowLines) ? 1 : 0;
  HDC DC = Canvas->Handle();
  HDC From = Picture.Canvas()->Handle();
  int OldStretch = SetStretchBltMode(DC, COLORONCOLOR);
  const String& Mode = Parts.Part(0);
  if (Mode == "Original Size") {
    int SW = std::min(BW, CW - 1), SH = std::min(BH, CH - 1);
    StretchBlt(DC, Rect.Left + LX, Rect.Top + LY, SW + 1 - LX, SH + 1 - LY, From, 0, 0, SW, SH, Canvas->CopyMode());
  } else if (Mode == "Stretch To Fit") {
    StretchBlt(DC, Rect.Left, Rect.Top, CW, CH, From, 0, 0, BW, BH, Canvas->CopyMode());
  } else if (Mode == "Fit Height") {
    int W = BW * CH / BH, SW = BW;
    if (W > CW) {
      SW = BW * CW / W;
      W = CW;
    }
    if (W > 2 && CH > 2) StretchBlt(DC, Rect.Left + LX, Rect.Top, W - LX, CH - LY, From, 0, 0, SW, BH, Canvas->CopyMode());
  } else if (Mode == "Fit Width") {
    int H = CW * BH / BW, SH = BH;
    if (H > CH) {
      SH = BH * CH / H;
      H = CH;
    }
    if (CW > 2 && H > 2) StretchBlt(DC, Rect.Left + LX, Rect.Top, CW - LX, H - LY, From, 0, 0, BW, SH, Canvas->CopyMode());
  }
  SetStretchBltMode(DC, OldStretch);
  if (IsCellHighlighted(FDrawDataCol, DataRow, State)) {
    Canvas->Brush()->SetColor(clHighlight);
    Canvas->FrameRect(Rect);
    FLinesDrawn = true;
  }
}

void TqvCustomDBGrid::DrawImageIndexCell(TField* Field, const String& Params, int DataRow, const TRect& Cell,
                                         TGridDrawState State) {
  TCanvas* Canvas = GetPaintCanvas();
  int IW = FImageList->Width(), IH = FImageList->Height();
  TBitmap Image;
  Image.SetPixelFormat(pf24bit);
  Image.SetSize(IW, IH);
  TColor Back = Canvas->Brush()->Color();
  bool Alternate = FPaintOptions->AlternatingRowColor() != clNone &&
                   FPaintOptions->AlternatingRowRegions().Contains(arrDataColumns) && DataRow >= 0 &&
                   ((DataRow & 1) != 0) != FParityFlag && !State.Contains(gdSelected);
  if (Alternate) Back = FPaintOptions->AlternatingRowColor();
  Image.Canvas()->Brush()->SetColor(Back);
  TRect Target;
  Target.Left = std::max(Cell.Left, (Cell.Left + Cell.Right - IW) / 2);
  Target.Top = std::max(Cell.Top, (Cell.Top + Cell.Bottom - IH) / 2);
  Target.Right = Target.Left + std::min(IW, Cell.Width());
  Target.Bottom = Target.Top + std::min(IH, Cell.Height());
  if (FImageList->DrawingStyle() == dsTransparent)
    BitBlt(Image.Canvas()->Handle(), 0, 0, Target.Width(), Target.Height(), Canvas->Handle(), Target.Left, Target.Top, SRCCOPY);
  else
    Image.Canvas()->FillRect(Rect(0, 0, IW, IH));
  if (!Field->IsNull()) {
    int Index = -1;
    if (Field->InheritsFrom(TFloatField::StaticClass())) {
      double Value = Field->AsFloat();
      if (Value >= 0) Index = int(std::lround(Value));
    } else if (Field->InheritsFrom(TIntegerField::StaticClass()) || Field->InheritsFrom(TLargeintField::StaticClass())) {
      if (Field->AsInteger() >= 0) Index = Field->AsInteger();
    }
    if (Index >= 0 && Index < FImageList->Count()) FImageList->Draw(Image.Canvas(), 0, 0, Index);
  }
  int SW = std::min(Cell.Width() - 2, IW), SH = std::min(Cell.Height() - 2, IH);
  if (TqvLineParts(Params, ';').Part(0) == "Shrink To Fit") {
    Canvas->StretchDraw(Target, &Image);
  } else {
    BitBlt(Canvas->Handle(), Target.Left, Target.Top, std::min(SW, Target.Width()), std::min(SH, Target.Height()),
           Image.Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  if (FFocusFrameFlag) qvDrawHighlightFocusRect(Canvas, Cell);
}

void TqvCustomDBGrid::DrawCustomControlCell(TWinControl* Control, TField* Field, const TRect& Cell, TGridDrawState State) {
  TCanvas* Canvas = GetPaintCanvas();
  if (Control->Width() != Cell.Width() || Control->Height() != Cell.Height())
    Control->SetBounds(Control->Left(), Control->Top(), Cell.Width(), Cell.Height());
  Canvas->Lock();
  TScopeGuard Unlock([&] { Canvas->Unlock(); });
  HDC DC = Canvas->Handle();
  int OldMode = SetBkMode(DC, TRANSPARENT);
  TScopeGuard RestoreMode([&] { SetBkMode(DC, OldMode); });
  PaintControlCellBackground(Field, FDrawDataCol, FDrawDataRow, Cell, State);
  try {
    DoDrawDataCell(Cell, Field, State);
  } catch (...) {
    return;
  }
  if (FCustomColor) Canvas->FillRect(Cell);
  if (!Control->HandleAllocated()) return;
  // The control painted as a picture into the cell.
  Control->ControlState.Include(csPaintCopy);
  TScopeGuard Plain([&] { Control->ControlState.Exclude(csPaintCopy); });
  int Saved = SaveDC(DC);
  int Border = qvHasBorder(Control) ? 1 : 0;
  POINT Origin;
  GetWindowOrgEx(DC, &Origin);
  SetWindowOrgEx(DC, Origin.x - Cell.Left - Border, Origin.y - Cell.Top - Border, nullptr);
  IntersectClipRect(DC, 0, 0, Cell.Width(), Cell.Height());
  Control->Perform(WM_PAINT, WPARAM(DC));
  if (!qvClassInheritsFrom(Control->ClassType(), "TqvDataInspector")) {
    for (int i = 0; i < Control->ControlCount(); ++i)
      if (auto* Child = dynamic_cast<TWinControl*>(Control->Controls(i)); Child && Child->Visible())
        Child->PaintTo(DC, Child->Left(), Child->Top());
  }
  RestoreDC(DC, Saved);
}
