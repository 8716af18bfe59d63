// This file implements the template page: its objects, paper and geometry, script properties and
// page header record, its preparation for a build (dialog pages shown, report pages compiled into
// bands, objects bound to fields and aggregates registered) and its release; and the page list.
#include "ZR_ClassPage.h"

#include <algorithm>

#include "DataSet.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "Streams.h"
#include "ZR_ClassFunctions.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassViews.h"
#include "ZR_ClassWindows.h"
#include "ZR_DBSet.h"
#include "ZR_DSet.h"
#include "ZR_Intrp.h"
#include "ZR_Utils.h"
// The class library's forms come last: the API macros they bring do not reach the declarations
// above.
#include "Forms.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrPage)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrPages)

namespace {

// Data levels: (header, data, footer) band kinds.
constexpr int kLevels[3][3] = {{btMasterHeader, btMasterDataKind, btMasterFooter},
                               {btDetailHeader, btDetailDataKind, btDetailFooter},
                               {btSubDetailHeader, btSubDetailDataKind, btSubDetailFooter}};

bool IsCrossKind(int Kind) { return Kind >= btCrossHeader && Kind <= btCrossFooterKind; }

}  // namespace

// ---- TzrPage: objects, paper, header

TzrPage::TzrPage(TzrReport* AReport)
    : Report(AReport), PaperSize(zrDefaultPaperSize()), Color(clBtnFace), FScript(std::make_unique<TStringList>()) {
  ApplyPaper(PaperSize, 0, 0, zrDefaultBin, 0);
}

TzrPage::~TzrPage() {
  FreeBands();
  ClearRecords();
  ClearObjects();
}

void TzrPage::AddObject(TzrView* View) { FObjects.push_back(View); }

TzrView* TzrPage::FindObjectByName(const String& AName) const {
  for (TzrView* v : FObjects)
    if (AnsiSameText(v->Name, AName)) return v;
  return nullptr;
}

void TzrPage::DeleteObject(int Index) {
  if (Index < 0 || Index >= ObjectCount()) throw EListError("Indice d'objet hors limites ("_a + IntToStr(Index) + ")");
  delete FObjects[std::size_t(Index)];
  FObjects.erase(FObjects.begin() + Index);
}

void TzrPage::ClearObjects() {
  for (TzrView* v : FObjects) delete v;
  FObjects.clear();
}

void TzrPage::AssignDefaultName() {
  for (int n = 1; n <= 10000; ++n) {
    String candidate = "Page" + IntToStr(n);
    bool used = false;
    if (Report != nullptr)
      for (int i = 0; i < Report->Pages()->Count() && !used; ++i) {
        TzrPage* p = Report->Pages()->Pages(i);
        used = p != this && AnsiSameText(p->Name, candidate);
      }
    if (!used) {
      Name = candidate;
      return;
    }
  }
}

void TzrPage::ApplyPaper(int ASize, int AWidth, int AOrientation, int ABin, int AHeight) {
  TzrPrinter* printer = zrPrinter();
  try {
    printer->ChangePaper(ASize, AWidth, AHeight, ABin, AOrientation);
  } catch (const Exception&) {
    printer->ChangePaper(zrCustomPaper, AWidth, AHeight, zrDefaultBin, AOrientation);
  }
  PaperSize = printer->PaperSize;
  PaperWidth = printer->PaperWidth;
  PaperHeight = printer->PaperHeight;
  Orientation = printer->Orientation;
  // The default source is -1 when asked and 65535 (its low 16 bits) once stored.
  Bin = (ABin & 0xFFFF) == 0xFFFF ? 0xFFFF : printer->Bin;
  printer->GetPrintArea(PrintArea);
}

void TzrPage::ReadPageHeader(TStream* Stream) {
  int v = zrEngine.StreamVersion;
  int marker = ReadI32(Stream);
  bool hasScript = marker == -1;
  int size = hasScript ? ReadI32(Stream) : marker;
  int width = ReadI32(Stream);
  int height = ReadI32(Stream);
  Margins.Left = ReadI32(Stream);
  Margins.Top = ReadI32(Stream);
  Margins.Right = ReadI32(Stream);
  Margins.Bottom = ReadI32(Stream);
  int orientation = ReadU8(Stream);
  if (v < 23) {
    for (int i = 0; i < 6; ++i) ReadU8(Stream);
  }
  int bin = v >= 24 ? ReadI32(Stream) : zrDefaultBin;
  PrintToPrevPage = ReadI16(Stream) != 0;
  UseMargins = ReadI16(Stream) != 0;
  Columns = ReadI32(Stream);
  ColumnGap = ReadI32(Stream);
  if (v >= 24) {
    PageType = ReadU8(Stream) == 1 ? ptDialog : ptReport;
    Name = ReadCountedString(Stream);
    int border = ReadU8(Stream);
    BorderStyle = border == 1 || border == 2 ? 2 : 3;
    Caption = ReadCountedString(Stream);
    Color = static_cast<TColor>(ReadU32(Stream));
    FormLeft = ReadI32(Stream);
    FormTop = ReadI32(Stream);
    FormWidth = ReadI32(Stream);
    FormHeight = ReadI32(Stream);
    Position = ReadU8(Stream) == 0 ? 0 : 4;
    if (hasScript) ReadCountedLines(Stream, Script());
  } else {
    AssignDefaultName();
  }
  ApplyPaper(size, width, orientation, bin == -1 ? zrDefaultBin : bin, height);
}

void TzrPage::WritePageHeader(TStream* Stream) {
  WriteI32(Stream, -1);
  WriteI32(Stream, PaperSize);
  WriteI32(Stream, PaperWidth);
  WriteI32(Stream, PaperHeight);
  WriteI32(Stream, Margins.Left);
  WriteI32(Stream, Margins.Top);
  WriteI32(Stream, Margins.Right);
  WriteI32(Stream, Margins.Bottom);
  WriteU8(Stream, static_cast<std::uint8_t>(Orientation));
  WriteI32(Stream, Bin);
  WriteI16(Stream, PrintToPrevPage ? -1 : 0);
  WriteI16(Stream, UseMargins ? -1 : 0);
  WriteI32(Stream, Columns);
  WriteI32(Stream, ColumnGap);
  WriteU8(Stream, static_cast<std::uint8_t>(PageType));
  WriteCountedString(Stream, Name);
  WriteU8(Stream, static_cast<std::uint8_t>(BorderStyle == 2 ? 2 : 3));
  WriteCountedString(Stream, Caption);
  WriteU32(Stream, static_cast<std::uint32_t>(Color));
  WriteI32(Stream, FormLeft);
  WriteI32(Stream, FormTop);
  WriteI32(Stream, FormWidth);
  WriteI32(Stream, FormHeight);
  WriteU8(Stream, static_cast<std::uint8_t>(Position == 0 ? 0 : 4));
  WriteCountedLines(Stream, Script());
}

void TzrPage::ExecuteScript(TStrings* Lines) {
  if (Trim(Lines->Text()).empty()) return;
  zrEngine.CurView = nullptr;
  TStringList code;
  TzrInterpretator* interpreter = zrGlobals().Interpreter();
  interpreter->CompileScript(Lines, &code, zrGlobals().ScratchList());
  interpreter->RunScript(&code);
}

// ---- Geometry. Margins are report pixels, like everything laid out on the page; a margin of 0
// means the printer's own.

int TzrPage::LeftOffset() const {
  if (!UseMargins) return 0;
  return Margins.Left != 0 ? Margins.Left : PrintArea.OffsetX;
}

int TzrPage::TopOffset() const {
  if (!UseMargins) return 0;
  return Margins.Top != 0 ? Margins.Top : PrintArea.OffsetY;
}

int TzrPage::RightOffset() const {
  if (!UseMargins) return PrintArea.PageWidth;
  return Margins.Right != 0 ? PrintArea.PageWidth - Margins.Right : PrintArea.OffsetX + PrintArea.PrintableWidth;
}

int TzrPage::BottomOffset() const {
  int bottom;
  if (!UseMargins)
    bottom = PrintArea.PageHeight;
  else
    bottom = Margins.Bottom != 0 ? PrintArea.PageHeight - Margins.Bottom : PrintArea.OffsetY + PrintArea.PrintableHeight;
  TzrBand* footer = FBands[btPageFooter];
  if (zrEngine.Running && footer != nullptr && footer->View != nullptr) bottom -= footer->Height;
  return bottom;
}

// ---- Script properties

void TzrPage::ListProperties() {
  EmptyPropertyList();
  EnterChoiceProperty("Type", "ptReport;ptDialog", {0, 1});
  EnterProperty("Visible", zrpkBoolean);
  EnterProperty("Name", zrpkText);
  if (PageType == ptDialog) {
    EnterChoiceProperty("BorderStyle", "bsDialog;bsSizeable", {3, 2});
    EnterProperty("Caption", zrpkText);
    EnterProperty("Color", zrpkColor);
    EnterProperty("Left", zrpkInteger);
    EnterProperty("Top", zrpkInteger);
  }
  EnterProperty("Width", zrpkInteger);
  EnterProperty("Height", zrpkInteger);
  if (PageType == ptDialog) {
    EnterChoiceProperty("Position", "poDesigned;poScreenCenter", {0, 4});
    EnterProperty("OnActivate", zrpkEditor);
  } else {
    String papers;
    TzrPrinter* printer = zrPrinter();
    for (int i = 0; i < printer->PaperNames()->Count(); ++i) papers += printer->PaperNames()->Strings(i) + ";";
    EnterChoiceProperty("Size", papers.empty() ? String("No data") : papers, {});
    for (const char* name : {"LeftMargin", "TopMargin", "RightMargin", "BottomMargin"}) EnterProperty(name, zrpkInteger);
    EnterChoiceProperty("Orientation", "poPortrait;poLandscape", {0, 1});
    EnterProperty("PrintToPrevPage", zrpkBoolean);
    EnterProperty("StretchToPrintable", zrpkBoolean);
    EnterProperty("Columns", zrpkInteger);
    EnterProperty("ColumnWidth", zrpkInteger);
    EnterProperty("ColumnGap", zrpkInteger);
    EnterProperty("OnBeforePrint", zrpkEditor);
  }
}

void TzrPage::SetProperty(const String& PropName, const Variant& Value) {
  TzrObject::SetProperty(PropName, Value);
  String n = AnsiUpperCase(PropName);
  bool dialog = PageType == ptDialog;
  if (n == "TYPE") PageType = Value.AsInteger() == 1 ? ptDialog : ptReport;
  else if (n == "VISIBLE") Visible = Value.AsBoolean();
  else if (n == "NAME") Name = VarToStr(Value);
  else if (n == "WIDTH") {
    if (dialog) FormWidth = Value.AsInteger();
    else PaperWidth = zrRound(Value.AsDouble() * 10 * 5 / 18);
  } else if (n == "HEIGHT") {
    if (dialog) FormHeight = Value.AsInteger();
    else PaperHeight = zrRound(Value.AsDouble() * 10 * 5 / 18);
  } else if (dialog) {
    if (n == "BORDERSTYLE") BorderStyle = Value.AsInteger() == 2 ? 2 : 3;
    else if (n == "CAPTION") Caption = VarToStr(Value);
    else if (n == "COLOR") Color = Value.AsInteger();
    else if (n == "LEFT") FormLeft = Value.AsInteger();
    else if (n == "TOP") FormTop = Value.AsInteger();
    else if (n == "POSITION") Position = Value.AsInteger() == 0 ? 0 : 4;
  } else {
    if (n == "SIZE") PaperSize = Value.AsInteger();
    else if (n == "LEFTMARGIN") Margins.Left = Value.AsInteger();
    else if (n == "TOPMARGIN") Margins.Top = Value.AsInteger();
    else if (n == "RIGHTMARGIN") Margins.Right = Value.AsInteger();
    else if (n == "BOTTOMMARGIN") Margins.Bottom = Value.AsInteger();
    else if (n == "ORIENTATION") Orientation = Value.AsInteger() == 1 ? 1 : 0;
    else if (n == "PRINTTOPREVPAGE") PrintToPrevPage = Value.AsBoolean();
    else if (n == "STRETCHTOPRINTABLE") UseMargins = !Value.AsBoolean();
    else if (n == "COLUMNS") Columns = Value.AsInteger();
    else if (n == "COLUMNWIDTH") ColumnWidth = Value.AsInteger();
    else if (n == "COLUMNGAP") ColumnGap = Value.AsInteger();
  }
}

Variant TzrPage::GetProperty(const String& PropName) {
  String n = AnsiUpperCase(PropName);
  bool dialog = PageType == ptDialog;
  if (n == "TYPE") return Variant(PageType);
  if (n == "VISIBLE") return Variant(Visible);
  if (n == "NAME") return Variant(Name);
  if (n == "WIDTH") return dialog ? Variant(FormWidth) : Variant(zrRound(PaperWidth * 0.36));
  if (n == "HEIGHT") return dialog ? Variant(FormHeight) : Variant(zrRound(PaperHeight * 0.36));
  if (dialog) {
    if (n == "BORDERSTYLE") return Variant(BorderStyle);
    if (n == "CAPTION") return Variant(Caption);
    if (n == "COLOR") return Variant(Color);
    if (n == "LEFT") return Variant(FormLeft);
    if (n == "TOP") return Variant(FormTop);
    if (n == "POSITION") return Variant(Position);
    return Variant();
  }
  bool building = zrEngine.Running && Initialised;
  if (n == "SIZE") return Variant(PaperSize);
  if (n == "LEFTMARGIN") return Variant(building ? LeftOffset() : Margins.Left);
  if (n == "TOPMARGIN") return Variant(building ? TopOffset() : Margins.Top);
  if (n == "RIGHTMARGIN") return Variant(building ? RightOffset() : Margins.Right);
  if (n == "BOTTOMMARGIN") return Variant(building ? BottomOffset() : Margins.Bottom);
  if (n == "ORIENTATION") return Variant(Orientation);
  if (n == "PRINTTOPREVPAGE") return Variant(PrintToPrevPage);
  if (n == "STRETCHTOPRINTABLE") return Variant(!UseMargins);
  if (n == "COLUMNS") return Variant(Columns);
  if (n == "COLUMNGAP") return Variant(ColumnGap);
  return Variant();
}

// ---- Preparation for a build

void TzrPage::InitReport() {
  if (Report->FinalPass && Report->TwoPassBuild()) {
    if (PageType == ptReport) {
      for (TzrView* v : FObjects)
        if (auto* memo = dynamic_cast<TzrMemoView*>(v)) memo->LastPrintedText.clear();
      for (TzrBand* band : FBands)
        if (band != nullptr && band->DataSource != nullptr) band->DataSource->First();
    }
    return;
  }
  if (PageType == ptDialog) {
    InitDialogPage();
  } else {
    FreeBands();
    for (int kind = 0; kind < zrBandTypeCount; ++kind) FBands[std::size_t(kind)] = new TzrBand(kind, this);
    CompileObjects();
    CurrentRecord = 1;
    ColumnPosition = 1;
  }
  Initialised = true;
}

void TzrPage::InitDialogPage() {
  zrEngine.CurPage = this;
  int placed = 0;
  std::vector<TzrControl*> controls;
  for (TzrView* v : FObjects)
    if (auto* control = dynamic_cast<TzrControl*>(v)) controls.push_back(control);
  if (!controls.empty() && Visible) {
    DialogForm = CreateForm<TForm>(nullptr);
    for (TzrControl* control : controls) {
      control->PlaceOnForm(DialogForm);
      control->SetProperty("Visible", Variant(control->Visible));
      ++placed;
    }
  }
  if (placed == 0) {
    ExecuteScript(Script());
    return;
  }
  TzrProgressWindow* progress = nullptr;
  bool progressShown = false;
  try {
    progress = Report->ShownProgressWindow();
    if (progress != nullptr) {
      progressShown = progress->IsShowing();
      progress->SetShowing(false);
    }
  } catch (const Exception&) {
  }
  DialogForm->SetBorderStyle(BorderStyle == 2 ? bsSizeable : bsDialog);
  DialogForm->SetCaption(Caption);
  DialogForm->SetColor(Color);
  DialogForm->SetBounds(FormLeft, FormTop, FormWidth, FormHeight);
  DialogForm->SetPosition(Position == 0 ? poDesigned : poScreenCenter);
  DialogResultSet = false;
  DialogResult = 0;
  // The activation script may decide the result before the form is shown.
  RunActivateScript(nullptr);
  int result = DialogResultSet ? DialogResult : DialogForm->ShowModal();
  zrEngine.DialogCancelled = result == mrCancel || (DialogResultSet && result == 0);
  if (progress != nullptr && progressShown) progress->SetShowing(true);
}

void TzrPage::RunActivateScript(TObject*) {
  try {
    ExecuteScript(Script());
  } catch (const Exception& E) {
    ReportBuildError(E);
  }
}

void TzrPage::CompileObjects() {
  TzrInterpretator* interpreter = zrGlobals().Interpreter();
  TzrParser* parser = zrGlobals().Parser();
  for (TzrView* v : FObjects) {
    v->PreparedRecord = true;
    if (auto* memo = dynamic_cast<TzrMemoView*>(v))
      if (!memo->HighlightCondition.empty()) memo->HighlightCondition = parser->ConvertToPostfix(memo->HighlightCondition);
    if (v->Flags & zrvfPrintListener) zrGlobals().ScratchObjects()->Add(v);
    if (v->ObjectKind != zrKindBand) v->Placed = false;
    v->CrossBand = nullptr;
    if (v->Script()->Count() > 0) {
      // A script that does not compile is a build error naming its object, not a silent skip.
      zrEngine.CurView = v;
      try {
        interpreter->CompileScript(v->Script(), v->Script(), zrGlobals().ScratchList());
      } catch (const Exception& E) {
        ReportBuildError(E);
        return;
      }
    }
    if (auto* sub = dynamic_cast<TzrSubReportView*>(v))
      if (Report != nullptr && sub->SubPage >= 0 && sub->SubPage < Report->Pages()->Count())
        Report->Pages()->Pages(sub->SubPage)->Skip = true;
  }
  zrEngine.CurView = nullptr;

  auto fillBand = [&](TzrBand* band, TzrBandView* view) {
    band->Lines->Assign(view->Memo());
    band->Script->Assign(view->Script());
    band->View = view;
    band->Flags = view->Flags;
    band->Visible = view->Visible;
    band->Name = view->Name;
    band->Left = view->Left;
    band->Width = view->Width;
    view->Parent = band;
  };

  // Cross-tab bands run down the page.
  bool hasCross = false;
  for (TzrView* v : FObjects) {
    auto* view = dynamic_cast<TzrBandView*>(v);
    if (view == nullptr || !IsCrossKind(view->BandType())) continue;
    TzrBand* band = FBands[std::size_t(view->BandType())];
    fillBand(band, view);
    band->AssignDataSource(view->FormatText);
    hasCross = true;
  }
  if (hasCross)
    for (int kind = btCrossHeader; kind <= btCrossFooterKind; ++kind) {
      TzrBand* band = FBands[std::size_t(kind)];
      if (band->View == nullptr) continue;
      for (TzrView* v : FObjects) {
        if (v->ObjectKind == zrKindBand || v->Placed) continue;
        if (v->Left >= band->Left && v->Left + v->Width <= band->Left + band->Width) {
          v->Left -= band->Left;
          v->CrossBand = band;
          band->Objects.push_back(v);
        }
      }
    }

  // Horizontal bands, each taking the objects whose top edge lies on it.
  for (int kind = 0; kind < btNoneKind; ++kind) {
    if (IsCrossKind(kind)) continue;
    for (TzrView* v : FObjects) {
      auto* view = dynamic_cast<TzrBandView*>(v);
      if (view == nullptr || view->BandType() != kind) continue;
      TzrBand* band = FBands[std::size_t(kind)];
      if (band->View != nullptr) {
        TzrBand* last = band;
        while (last->Next != nullptr) last = last->Next;
        last->Next = new TzrBand(kind, this);
        band = last->Next;
      }
      fillBand(band, view);
      band->Top = view->Top;
      band->Height = view->Height;
      band->ColumnCounter = 1;
      band->AssignDataSource(view->FormatText);
      band->Stretched = (view->Flags & zrbfStretched) != 0;
      band->PrintIfSubsetEmpty = (view->Flags & zrbfPrintIfSubsetEmpty) != 0;
      band->PrintChildIfInvisible = (view->Flags & zrbfPrintChildIfInvisible) != 0;
      band->FormNewPage = !Skip && (view->Flags & zrbfFormNewPage) != 0;
      band->Breaked = !Skip && (view->Flags & zrbfBreaked) != 0;
      auto take = [&](TzrView* o) {
        if (o->Top >= band->Top && o->Top <= band->Top + band->Height) {
          o->Top -= band->Top;
          o->Placed = true;
          band->Objects.push_back(o);
        }
      };
      for (TzrView* o : FObjects)
        if (o->ObjectKind != zrKindBand && !o->Placed && o->CrossBand == nullptr && o->ObjectKind != zrKindSubReport)
          take(o);
      for (TzrView* o : FObjects)
        if (o->ObjectKind != zrKindBand && !o->Placed && o->CrossBand != nullptr) take(o);
      for (TzrView* o : FObjects)
        if (o->ObjectKind == zrKindSubReport && !o->Placed && o->CrossBand == nullptr) take(o);
    }
  }

  // Each chain in order of top edges; the first band knows the last.
  for (int kind = 0; kind < btNoneKind; ++kind) {
    std::vector<TzrBand*> chain;
    for (TzrBand* b = FBands[std::size_t(kind)]; b != nullptr; b = b->Next) chain.push_back(b);
    std::stable_sort(chain.begin(), chain.end(), [](TzrBand* a, TzrBand* b) { return a->Top < b->Top; });
    for (std::size_t i = 0; i < chain.size(); ++i) {
      chain[i]->Next = i + 1 < chain.size() ? chain[i + 1] : nullptr;
      chain[i]->Prev = i > 0 ? chain[i - 1] : nullptr;
      chain[i]->Last = nullptr;
    }
    FBands[std::size_t(kind)] = chain.front();
    chain.front()->Last = chain.back();
  }

  TzrBand* none = FBands[btNoneKind];
  none->Top = 0;
  for (TzrView* o : FObjects)
    if (o->ObjectKind != zrKindBand && !o->Placed && o->CrossBand == nullptr) none->Objects.push_back(o);

  for (const auto& level : kLevels) PairHeadersAndFooters(level[0], level[1], level[2]);

  // Groups: the innermost header (lowest on the page) with the innermost footer (highest).
  std::vector<TzrBand*> headers, footers;
  for (TzrBand* b = FBands[btGroupHeader]; b != nullptr; b = b->Next)
    if (b->View != nullptr) headers.push_back(b);
  for (TzrBand* b = FBands[btGroupFooter]; b != nullptr; b = b->Next)
    if (b->View != nullptr) footers.push_back(b);
  for (std::size_t i = 0; i < headers.size() && i < footers.size(); ++i)
    headers[headers.size() - 1 - i]->Footer = footers[i];
  TzrBand* firstMaster = FBands[btMasterDataKind]->View != nullptr ? FBands[btMasterDataKind] : nullptr;
  if (firstMaster != nullptr)
    for (TzrBand* header : headers) {
      TzrBand* data = nullptr;
      String master = header->View->Master;
      if (!master.empty()) data = FindBand(master);
      if (data == nullptr || !data->IsDataBand()) data = firstMaster;
      header->DataBand = data;
      header->PrevGroup = data->LastGroup;
      header->NextGroup = nullptr;
      if (data->LastGroup != nullptr)
        data->LastGroup->NextGroup = header;
      else
        data->FirstGroup = header;
      data->LastGroup = header;
    }

  for (int kind = 0; kind < btNoneKind; ++kind)
    for (TzrBand* b = FBands[std::size_t(kind)]; b != nullptr; b = b->Next)
      if (b->View != nullptr && !b->View->ChildBand.empty()) b->Child = FindBand(b->View->ChildBand);

  // A cross data source list: "Band=Source;" pairs give bands their own cross-tab columns.
  TzrBand* crossData = FBands[btCrossDataKind];
  if (crossData->View != nullptr && crossData->View->FormatText.find(';') != String::npos) {
    TStringList pairs;
    SplitSemicolonList(crossData->View->FormatText, &pairs);
    for (int i = 0; i < pairs.Count(); ++i) {
      String pair = pairs[i];
      std::size_t eq = pair.find('=');
      if (eq == String::npos) continue;
      String bandName = Trim(pair.substr(0, eq));
      String sourceName = Trim(pair.substr(eq + 1));
      for (int kind = btMasterHeader; kind <= btChild; ++kind)
        for (TzrBand* b = FBands[std::size_t(kind)]; b != nullptr; b = b->Next) {
          if (b->View == nullptr || !AnsiSameText(b->View->Name, bandName)) continue;
          if (b->OwnsCrossDataSource) delete b->CrossDataSource;
          ResolveDataSource(sourceName, b->CrossDataSource, b->OwnsCrossDataSource);
        }
    }
  }

  if (Columns <= 0) Columns = 1;
  ColumnWidth = (RightOffset() - LeftOffset() - (Columns - 1) * ColumnGap) / Columns;
}

void TzrPage::PairHeadersAndFooters(int HeaderKind, int DataKind, int FooterKind) {
  std::vector<TzrBand*> data;
  for (TzrBand* b = FBands[std::size_t(DataKind)]; b != nullptr; b = b->Next)
    if (b->View != nullptr) data.push_back(b);
  if (data.empty()) return;
  for (TzrBand* h = FBands[std::size_t(HeaderKind)]; h != nullptr; h = h->Next) {
    if (h->View == nullptr) continue;
    for (TzrBand* d : data)
      if (d->Top > h->Top + h->Height) {
        if (d->Header == nullptr) d->Header = h;
        h->DataBand = d;
        break;
      }
  }
  for (TzrBand* f = FBands[std::size_t(FooterKind)]; f != nullptr; f = f->Next) {
    if (f->View == nullptr) continue;
    TzrBand* match = data.back();
    for (auto it = data.rbegin(); it != data.rend(); ++it)
      if ((*it)->Top + (*it)->Height <= f->Top) {
        match = *it;
        break;
      }
    if (match->Footer == nullptr) match->Footer = f;
    f->DataBand = match;
  }
}

TzrBand* TzrPage::FindBand(const String& BandName) const {
  for (TzrBand* first : FBands)
    for (TzrBand* b = first; b != nullptr; b = b->Next)
      if (b->View != nullptr && AnsiSameText(b->View->Name, BandName)) return b;
  return nullptr;
}

TzrBand* TzrPage::CurrentMasterBand() const {
  TzrBand* band = zrEngine.CurBand;
  if (band == nullptr || band->Page != this) return nullptr;
  if (band->DataSource != nullptr) return band;
  TzrBand* first = FBands[std::size_t(band->Kind)];
  return first != nullptr ? first : band;
}

void TzrPage::PrepareObjects() {
  if (Report->TwoPassBuild() && Report->FinalPass) return;
  TzrDataDictionary* dictionary = Report->Dictionary();
  Report->PreparingObjects = true;
  TScopeGuard prepared([this] { Report->PreparingObjects = false; });
  {
    for (TzrBand* first : FBands)
      for (TzrBand* band = first; band != nullptr; band = band->Next)
        for (TzrView* v : band->Objects) {
          v->BoundDataSet = nullptr;
          v->BoundFieldName.clear();
          String text = Trim(JoinLines(v->Memo()));
          if (text.size() <= 2 || text[0] != '[') continue;
          if (auto* memo = dynamic_cast<TzrMemoView*>(v); memo != nullptr && (memo->Flags & zrmfTextOnly)) continue;
          std::size_t close = text.rfind(']');
          if (close == String::npos || close < 1) continue;
          String reference = text.substr(1, close - 1);
          TDataSet* dataSet = nullptr;
          String field;
          if (dictionary->CachedField(reference, dataSet, field)) {
            v->BoundDataSet = dataSet;
            v->BoundFieldName = field;
            continue;
          }
          if (Report->UseDefaultDataSetName()) {
            TzrBand* data = band->IsDataBand() ? band : band->DataBand;
            TzrDataset* source = data != nullptr ? data->DataSource : Report->Dataset();
            if (auto* db = dynamic_cast<TzrDBDataSet*>(source)) dataSet = db->ResolveDataSet();
          }
          try {
            ResolveFieldReference(reference, dataSet, field);
          } catch (const Exception&) {
            dataSet = nullptr;
          }
          if (dataSet != nullptr && !field.empty()) {
            v->BoundDataSet = dataSet;
            v->BoundFieldName = field;
          }
        }

    // Aggregates register in the data bands they accumulate over.
    const int kCommon[] = {btPageFooter, btColumnFooter, btMasterFooter, btGroupFooter, btReportSummary};
    auto collect = [&](TzrBand* data, std::initializer_list<int> extra) {
      std::vector<int> kinds(std::begin(kCommon), std::end(kCommon));
      kinds.insert(kinds.end(), extra.begin(), extra.end());
      for (int kind : kinds) {
        TzrBand* first = FBands[std::size_t(kind)];
        if (first == nullptr) continue;
        for (TzrBand* b = first; b != nullptr; b = b->Next)
          if (b->View != nullptr) b->CollectAggregates(data);
        if (first->Child != nullptr) first->Child->CollectAggregates(data);
      }
    };
    try {
      for (TzrBand* b = FBands[btMasterDataKind]; b != nullptr && b->View != nullptr; b = b->Next) {
        collect(b, {});
        if (b->Next != nullptr && b->Next->DataSource == nullptr) break;
      }
      for (TzrBand* b = FBands[btDetailDataKind]; b != nullptr && b->View != nullptr; b = b->Next) collect(b, {btDetailFooter});
      for (TzrBand* b = FBands[btSubDetailDataKind]; b != nullptr && b->View != nullptr; b = b->Next)
        collect(b, {btSubDetailFooter});
      TzrBand* cross = FBands[btCrossDataKind];
      if (cross != nullptr && cross->View != nullptr) {
        TzrBand* footer = FBands[btCrossFooterKind];
        if (footer != nullptr && footer->View != nullptr) footer->CollectAggregates(cross);
      }
    } catch (const Exception& E) {
      Report->SetAggregateCollection(nullptr, nullptr);
      ReportBuildError(E);
    }
  }
}

void TzrPage::FreeBands() {
  for (TzrBand*& first : FBands) {
    delete first;
    first = nullptr;
  }
}

void TzrPage::DoneReport() {
  if (Report->TwoPassBuild() && !Report->FinalPass) return;
  if (Initialised) {
    if (PageType == ptDialog) {
      if (DialogForm != nullptr) {
        for (TzrView* v : FObjects)
          if (auto* control = dynamic_cast<TzrControl*>(v); control != nullptr && control->Control() != nullptr)
            control->Control()->SetParent(nullptr);
        DialogForm->Free();
        DialogForm = nullptr;
      }
    } else {
      FreeBands();
    }
  }
  Initialised = false;
}

void TzrPage::ClearRecords() {
  FRecords.clear();
  PlayFrom = 0;
}

void TzrPage::ResetBandLines(TzrBand* Band, int N) {
  Band->LocalLine = N;
  Band->RunningLine = N;
}

// ---- TzrPages

TzrPages::~TzrPages() { Clear(); }

TzrPage* TzrPages::Pages(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("Indice de page hors limites ("_a + IntToStr(Index) + ")");
  return FPages[std::size_t(Index)].get();
}

TzrPage* TzrPages::Add() {
  FPages.push_back(std::make_unique<TzrPage>(Report));
  return FPages.back().get();
}

void TzrPages::Clear() { FPages.clear(); }

void TzrPages::PaintAlignedObjects() {
  TCanvas* canvas = zrGlobals().ScratchBitmap()->Canvas();
  for (auto& page : FPages) {
    zrEngine.CurPage = page.get();
    for (int i = 0; i < page->ObjectCount(); ++i) {
      TzrView* v = page->Objects(i);
      if (v->BandAlign != baNone) v->PaintOnCanvas(canvas);
    }
  }
  zrEngine.CurPage = nullptr;
}
