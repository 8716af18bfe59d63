// This file implements the report component: construction and properties, the form-stream copy of
// the template, loading templates and prepared-report files, preparing (the passes and the build of
// every page), the preview, progress, and what the report answers as the engine's and the script
// interpreter's host.
#include "ZR_ClassReport.h"

#include "DateTime.h"
#include "FileUtils.h"
#include "ScopeGuard.h"
#include "Filer.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "ZR_ClassExport.h"
#include "ZR_ClassViews.h"
#include "ZR_ClassWindows.h"
#include "ZR_DBSet.h"
#include "ZR_DSet.h"
#include "ZR_Shape.h"
#include "ZR_Utils.h"
#include "ZR_Windows.h"
// The class library's windows come last: the API macros they bring do not reach the declarations
// above.
#include "Dialogs.h"
#include "Forms.h"

VELBOR_IMPLEMENT_CLASS(TzrReport)
VELBOR_PUBLISHED(TzrReport,
  Prop("Dataset", &Self::Dataset, &Self::SetDataset),
  Prop("DefaultCopies", &Self::DefaultCopies).Default(1),
  Prop("DefaultCollate", &Self::DefaultCollate).Default(true),
  Prop("GrayedButtons", &Self::GrayedButtons).Default(false),
  Prop("InitialZoom", &Self::InitialZoom),
  Prop("MDIPreview", &Self::MDIPreview).Default(false),
  Prop("ModalPreview", &Self::ModalPreview).Default(true),
  Prop("ModifyPrepared", &Self::ModifyPrepared).Default(true),
  Prop("Preview", &Self::Preview, &Self::SetPreview),
  Prop("PreviewButtons", &Self::PreviewButtons),
  Prop("PrintIfEmpty", &Self::PrintIfEmpty).Default(true),
  Prop("ReportType", &Self::ReportType).Default(rtSimple),
  Prop("ShowPrintDialog", &Self::ShowPrintDialog).Default(true),
  Prop("ShowProgress", &Self::ShowProgress).Default(true),
  Prop("StoreInDFM", &Self::StoreInDFM).Default(false),
  Prop("Title", &Self::Title),
  Prop("RebuildPrinter", &Self::RebuildPrinter).Default(false),
  Prop("UseDefaultDataSetName", &Self::UseDefaultDataSetName, &Self::SetUseDefaultDataSetName).Default(false),
  Prop("OnBeginDoc", &Self::OnBeginDoc),
  Prop("OnEndDoc", &Self::OnEndDoc),
  Prop("OnBeginPage", &Self::OnBeginPage),
  Prop("OnEndPage", &Self::OnEndPage),
  Prop("OnBeginBand", &Self::OnBeginBand),
  Prop("OnEndBand", &Self::OnEndBand),
  Prop("OnGetValue", &Self::OnGetValue),
  Prop("OnBeforePrint", &Self::OnBeforePrint),
  Prop("OnUserFunction", &Self::OnUserFunction),
  Prop("OnProgress", &Self::OnProgress),
  Prop("OnBeginColumn", &Self::OnBeginColumn),
  Prop("OnPrintColumn", &Self::OnPrintColumn),
  Prop("OnManualBuild", &Self::OnManualBuild),
  Prop("OnObjectClick", &Self::OnObjectClick),
  Prop("OnMouseOverObject", &Self::OnMouseOverObject),
  Prop("OnPrintReport", &Self::OnPrintReport),
  Prop("OnCustomizeObject", &Self::OnCustomizeObject))

namespace {

// The class library's questions, for the engine's functions and messages while no other layer
// installed its own.
class TClassLibraryDialogs : public TzrUserDialogs {
 public:
  int MessageBox(const String& Text, const String& Caption, int Flags) override {
    return ::MessageBox(Text, Caption, unsigned(Flags));
  }
  String InputBox(const String& Caption, const String& Prompt, const String& Default) override {
    return ::InputBox(Caption, Prompt, Default);
  }
};

TClassLibraryDialogs gClassLibraryDialogs;

// Until the password window is linked in, the class library's input box asks.
bool AskPasswordByInputBox(String& Password) {
  return InputQuery(EngineString(55653), EngineString(55654), Password);
}

}  // namespace

TzrPasswordPrompt zrPasswordPrompt = AskPasswordByInputBox;

void RegisterReportComponents() {
  RegisterBuiltInViews();
  RegisterShapeView();
  RegisterReportOutputComponents();
  RegisterClass(TzrReport::StaticClass());
  RegisterClass(TzrDBDataSet::StaticClass());
  RegisterClass(TzrUserDataset::StaticClass());
  RegisterClass(TzrShapeObject::StaticClass());
}

TzrDataset* FindReportDataSource(const String& Name) {
  TComponent* owner = zrEngine.Host != nullptr ? zrEngine.Host->ReportOwner() : nullptr;
  return dynamic_cast<TzrDataset*>(FindComponentPath(owner, Name));
}

// ---- Construction

TzrReport::TzrReport(TComponent* AOwner)
    : TComponent(AOwner),
      FPages(std::make_unique<TzrPages>(this)),
      FEMFPages(std::make_unique<TzrEMFPages>(this)),
      FDictionary(std::make_unique<TzrDataDictionary>()) {
  RegisterBuiltInViews();
  if (zrEngine.Dialogs == nullptr) zrEngine.Dialogs = &gClassLibraryDialogs;
  FileName = EngineString(55209);
  ClearReportInfo();
}

TzrReport::~TzrReport() {
  SetDataset(nullptr);
  SetPreview(nullptr);
  if (zrEngine.CurReport == this) zrEngine.CurReport = nullptr;
  if (zrEngine.MainReport == this) zrEngine.MainReport = nullptr;
  if (zrEngine.Host == this) zrEngine.Host = nullptr;
  if (zrGlobals().Interpreter()->Host() == this) zrGlobals().Interpreter()->SetHost(nullptr);
  FDictionary.reset();
  FEMFPages.reset();
  FPages.reset();
}

void TzrReport::SetDataset(TzrDataset* Value) {
  if (Value == FDataset) return;
  if (FDataset != nullptr) FDataset->RemoveFreeNotification(this);
  FDataset = Value;
  if (FDataset != nullptr) FDataset->FreeNotification(this);
}

void TzrReport::SetPreview(TComponent* Value) {
  if (Value == FPreview) return;
  if (FPreview != nullptr) FPreview->RemoveFreeNotification(this);
  FPreview = Value;
  if (FPreview != nullptr) FPreview->FreeNotification(this);
}

void TzrReport::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDataset) FDataset = nullptr;
  if (AComponent == FPreview) FPreview = nullptr;
}

std::unique_ptr<TzrEMFPages> TzrReport::TakeEMFPages() {
  std::unique_ptr<TzrEMFPages> taken = std::move(FEMFPages);
  FEMFPages = std::make_unique<TzrEMFPages>(this);
  return taken;
}

void TzrReport::SetEMFPages(std::unique_ptr<TzrEMFPages> Pages) {
  FEMFPages = Pages ? std::move(Pages) : std::make_unique<TzrEMFPages>(this);
  FEMFPages->Report = this;
}

void TzrReport::MakeCurrent(bool AsMain) {
  zrEngine.CurReport = this;
  if (AsMain) zrEngine.MainReport = this;
  zrEngine.Host = this;
  zrGlobals().Interpreter()->SetHost(this);
}

void TzrReport::BindParser() {
  TzrParser* parser = zrGlobals().Parser();
  parser->OnGetValue = TzrGetValueEvent(this, &TzrReport::ResolveName);
  parser->OnFunction = TzrFunctionEvent(this, &TzrReport::CallFunction);
}

void TzrReport::Clear() {
  FPages->Clear();
  FDictionary->Clear();
  DoublePass = 0;
  ClearReportInfo();
}

void TzrReport::ClearReportInfo() {
  Info.Comment.clear();
  Info.Name.clear();
  Info.Author.clear();
  Info.VMajor.clear();
  Info.VMinor.clear();
  Info.VRelease.clear();
  Info.VBuild.clear();
  Info.Password.clear();
  Info.Created = Info.Changed = Now();
  Info.Protected = 0;
  Info.GeneratorVersion = 88;
}

void TzrReport::EmptyToBlankPage() {
  FPages->Clear();
  FPages->Add();
}

TzrView* TzrReport::FindObjectByName(const String& AName) const {
  for (int i = 0; i < FPages->Count(); ++i)
    if (TzrView* v = FPages->Pages(i)->FindObjectByName(AName)) return v;
  return nullptr;
}

void TzrReport::SetPrinterName(const String& Name) {
  if (PrintToDefault == 0) zrPrinter()->SelectPrinterByName(Name);
  PrinterName = Name;
}

void TzrReport::EditPreparedPage(int) {}

// ---- The form stream's copy of the template

void TzrReport::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty("ReportForm", TStreamProc(this, &TzrReport::ReadReportForm),
                              TStreamProc(this, &TzrReport::WriteReportForm), true);
}

void TzrReport::WriteReportForm(TStream* Stream) {
  WriteI32(Stream, zrCurrentVersion);
  if (!StoreInDFM) return;
  TMemoryStream copy;
  WriteTemplate(&copy);
  WriteI32(Stream, std::int32_t(copy.Size()));
  copy.SetPosition(0);
  Stream->CopyFrom(&copy, copy.Size());
}

void TzrReport::ReadReportForm(TStream* Stream) {
  ReadI32(Stream);
  if (!StoreInDFM) return;
  std::int32_t length = ReadI32(Stream);
  if (length < 0 || length > BytesLeft(Stream)) throw EReadError("Etat du formulaire endommagé"_a);
  if (!FKeptTemplate) FKeptTemplate = std::make_unique<TMemoryStream>();
  FKeptTemplate->Clear();
  if (length > 0) FKeptTemplate->CopyFrom(Stream, length);
  FKeptTemplate->SetPosition(0);
}

void TzrReport::Loaded() {
  TComponent::Loaded();
  if (StoreInDFM && FKeptTemplate) {
    FKeptTemplate->SetPosition(0);
    ReadTemplate(FKeptTemplate.get());
  }
  FKeptTemplate.reset();
}

// ---- Files

bool TzrReport::LoadTemplateFile(const String& AFileName) {
  if (!FileExists(AFileName)) return false;
  // The file is read whole first: the records are read a few bytes at a time.
  TMemoryStream stream;
  {
    TFileStream file(AFileName, fmOpenRead | fmShareDenyWrite);
    stream.CopyFrom(&file, file.Size());
  }
  stream.SetPosition(0);
  ReadTemplateFrom(&stream, true);
  FileName = AFileName;
  return true;
}

void TzrReport::LoadPreparedFile(const String& AFileName) {
  TMemoryStream stream;
  {
    TFileStream file(AFileName, fmOpenRead | fmShareDenyWrite);
    stream.CopyFrom(&file, file.Size());
  }
  stream.SetPosition(0);
  MakeCurrent(true);
  // The pages are read aside: a damaged file leaves the current ones as they are.
  auto pages = std::make_unique<TzrEMFPages>(this);
  pages->ReadPreparedFile(&stream);
  ClearReportInfo();
  Info.GeneratorVersion = pages->GeneratorVersion;
  SetEMFPages(std::move(pages));
  CanRebuild = false;
}

void TzrReport::SavePreparedFile(const String& AFileName) {
  // Written in memory first: the file is created only once the pages are written whole.
  TMemoryStream stream;
  FEMFPages->WritePreparedFile(&stream);
  TFileStream file(AFileName, fmCreate);
  stream.SetPosition(0);
  file.CopyFrom(&stream, stream.Size());
}

// ---- Preparing

bool TzrReport::TwoPassBuild() const { return FDoublePassRequested; }

bool TzrReport::Prepare() {
  SetPrinterName(PrinterName);
  zrEngine.Running = true;
  zrEngine.ReportDate = Date();
  zrEngine.ReportTime = Time();
  MakeCurrent(true);
  FPages->PaintAlignedObjects();
  CurrentPage = nullptr;
  zrEngine.CurPage = nullptr;
  zrEngine.CurBand = nullptr;
  FDoublePassRequested = DoublePass != 0;
  BindParser();
  // The build changes the objects: the template is kept and read back afterwards.
  TMemoryStream kept;
  {
    // The copy is read back: it is the template file's format whatever the report writes.
    bool xml = XmlOutput;
    XmlOutput = false;
    TScopeGuard back([&] { XmlOutput = xml; });
    WriteTemplate(&kept);
  }
  zrEngine.Running = true;
  zrEngine.DialogCancelled = false;
  zrEngine.BuildError = false;
  zrEngine.BuildErrorText.clear();
  if (OnBeginDoc) OnBeginDoc();
  bool result = RunPasses();
  if (OnEndDoc) OnEndDoc();
  // The listeners are objects of the build's template, which is read back below.
  zrGlobals().ScratchObjects()->Clear();
  bool buildError = zrEngine.BuildError;
  String errorText = zrEngine.BuildErrorText;
  bool terminated = Terminated;
  zrEngine.CurPage = nullptr;
  zrEngine.CurBand = nullptr;
  zrEngine.CurView = nullptr;
  CurrentPage = nullptr;
  kept.SetPosition(0);
  ReadTemplate(&kept);
  MakeCurrent(true);
  FinalPass = false;
  if (zrEngine.DialogCancelled) result = false;
  if (buildError) {
    ::MessageBox(errorText, EngineString(55206), MB_OK | MB_ICONERROR);
    FEMFPages->Clear();
    result = false;
  } else if (zrEngine.DialogCancelled) {
    FEMFPages->Clear();
  }
  // A build that stopped before its end did not run to it, whatever window ran it.
  if (terminated) result = false;
  zrEngine.FirstPassRunning = false;
  zrEngine.CurBand = nullptr;
  return result;
}

TzrProgressWindow* TzrReport::ProgressWindow() {
  if (OnProgress || !ShowProgress) return nullptr;
  // Without the progress window's class in the program the steps run directly.
  if (GetClass("TzrProgressForm") == nullptr) return nullptr;
  return dynamic_cast<TzrProgressWindow*>(zrGlobals().ProgressForm());
}

TzrProgressWindow* TzrReport::ShownProgressWindow() { return FProgress; }

bool TzrReport::RunPasses() {
  Terminated = false;
  Append = false;
  zrEngine.FirstPassRunning = false;
  FinalPass = true;
  PageNo = 0;
  FEMFPages->Clear();
  String caption = EngineString(55203);
  if (!Title.empty()) caption += " - " + Title;
  TzrProgressWindow* progress = ProgressWindow();
  if (DoublePass != 0) {
    zrEngine.FirstPassRunning = true;
    FinalPass = false;
    // The first pass counts the pages: it lays out with no count rather than another build's.
    zrEngine.TotalPages = 0;
    if (progress == nullptr) {
      RunBuildPass(nullptr);
      return true;
    }
    progress->SetCaption(caption);
    progress->SetProgressText(EngineString(55204));
    progress->SetLabelText(EngineString(55204) + " 1");
    progress->SetStep(TNotifyEvent(this, &TzrReport::RunBuildPass));
    FProgress = progress;
    int modal = progress->Run(this);
    FProgress = nullptr;
    return modal != mrCancel;
  }
  // A single pass does not count the pages: TOTALPAGES is 0 rather than another build's count.
  if (!FDoublePassRequested) zrEngine.TotalPages = 0;
  if (progress == nullptr) {
    DoublePass = FDoublePassRequested ? 1 : 0;
    RunBuildPass(nullptr);
    return true;
  }
  progress->SetCaption(caption);
  progress->SetProgressText(EngineString(55205));
  progress->SetLabelText(EngineString(55205) + " 1");
  progress->SetStep(TNotifyEvent(this, &TzrReport::RunBuildPass));
  if (FDoublePassRequested) {
    DoublePass = 1;
    RunBuildPass(nullptr);
    return true;
  }
  FProgress = progress;
  int modal = progress->Run(this);
  FProgress = nullptr;
  return modal != mrCancel;
}

void TzrReport::RunBuildPass(TObject*) {
  try {
    BuildAllPages();
  } catch (const Exception& E) {
    ReportBuildError(E);
  }
  if (FinalPass) {
    if (FProgress != nullptr) FProgress->SetModalResult(Terminated ? mrCancel : mrOk);
    // The final pass knows the real count.
    if (FDoublePassRequested && !Terminated) zrEngine.TotalPages = FEMFPages->Count();
    return;
  }
  zrEngine.TotalPages = FEMFPages->Count();
  DoublePass = 0;
  if (Terminated) {
    FEMFPages->Clear();
    if (FProgress != nullptr) FProgress->SetModalResult(mrCancel);
  } else {
    RunPasses();
  }
  DoublePass = 1;
}

void TzrReport::BuildAllPages() {
  Application->ProcessMessages();
  CanRebuild = true;
  zrEngine.Running = true;
  MakeCurrent(false);
  FDictionary->ClearCache();
  BindParser();
  zrEngine.BuildError = false;
  bool multiple = FDataset != nullptr && ReportType == rtMultiple;
  bool firstOrOnly = !FDoublePassRequested || !FinalPass;
  std::vector<TzrPage*> dialogs, reports;
  for (int i = 0; i < FPages->Count(); ++i)
    (FPages->Pages(i)->PageType == ptDialog ? dialogs : reports).push_back(FPages->Pages(i));
  try {
    if (multiple) {
      FDataset->OpenSource();
      FDataset->First();
    }
    if (firstOrOnly) {
      zrGlobals().ScratchObjects()->Clear();
      for (TzrPage* page : reports) page->Skip = false;
      zrEngine.DialogCancelled = false;
    }
    for (TzrPage* page : dialogs) {
      page->InitReport();
      if (zrEngine.DialogCancelled || Terminated) break;
    }
    if (!zrEngine.DialogCancelled && !Terminated) {
      for (TzrPage* page : reports) page->InitReport();
      for (TzrPage* page : reports)
        if (!Terminated) page->PrepareObjects();
      while (!Terminated) {
        UpdateProgress(PageNo + 1);
        for (int i = 0; i < FPages->Count() && !Terminated; ++i) {
          TzrPage* page = FPages->Pages(i);
          CurrentPage = page;
          zrEngine.CurPage = page;
          page->PageNumber = i + 1;
          if (!page->Visible) {
            try {
              page->ExecuteScript(page->Script());
            } catch (const Exception& E) {
              ReportBuildError(E);
              break;
            }
          }
          if (!page->Skip && page->PageType == ptReport && page->Visible) {
            page->Mode = pmNormal;
            page->BuildPage();
            Append = false;
            if (i + 1 < FPages->Count() && FPages->Pages(i + 1)->PrintToPrevPage) {
              --PageNo;
              Append = true;
            }
          }
          if (!Append) {
            PageNo = FEMFPages->Count();
            UpdateProgress(PageNo);
          }
        }
        UpdateProgress(PageNo);
        if (!multiple) break;
        FDataset->Next();
        if (FDataset->Eof()) break;
      }
    }
  } catch (const Exception& E) {
    ReportBuildError(E);
  }
  // The bands and the data sources are released whatever happened.
  for (TzrPage* page : reports) {
    try {
      page->DoneReport();
    } catch (const Exception& E) {
      if (!zrEngine.BuildError) ReportBuildError(E);
    }
  }
  for (TzrPage* page : dialogs) {
    try {
      page->DoneReport();
    } catch (const Exception& E) {
      if (!zrEngine.BuildError) ReportBuildError(E);
    }
  }
  if (multiple) {
    try {
      FDataset->CloseSource();
    } catch (const Exception& E) {
      if (!zrEngine.BuildError) ReportBuildError(E);
    }
  }
  zrEngine.CurPage = nullptr;
  zrEngine.CurBand = nullptr;
}

void TzrReport::UpdateProgress(int N) {
  if (OnProgress) {
    OnProgress(N);
    return;
  }
  if (!ShowProgress || FProgress == nullptr) return;
  String text = FProgress->ProgressText();
  if (CurrentFilter != nullptr || (FinalPass && FDoublePassRequested))
    FProgress->SetLabelText(text + " " + IntToStr(N) + " " + EngineString(55199) + " " + IntToStr(zrEngine.TotalPages));
  else
    FProgress->SetLabelText(text + " " + IntToStr(N));
  Application->ProcessMessages();
}

// ---- Preview

void TzrReport::ShowPreview() {
  MakeCurrent(true);
  zrEngine.Running = true;
  zrEngine.CurBand = nullptr;
  if (FEMFPages->Count() == 0) return;
  String caption = EngineString(55207);
  if (!Title.empty()) caption += " - " + Title;
  bool designing = ComponentState().Contains(csDesigning);
  if (FPreview != nullptr && !designing) {
    if (auto* panel = dynamic_cast<TzrPreviewPanel*>(FPreview)) panel->Connect(this);
    return;
  }
  // The preview window belongs to the preview layer; a program without it shows nothing.
  TClass previewClass = GetClass("TzrPreviewForm");
  if (previewClass == nullptr) return;
  TObject* object = previewClass->Create(designing ? nullptr : this);
  auto* form = dynamic_cast<TCustomForm*>(object);
  auto* window = dynamic_cast<TzrPreviewWindow*>(object);
  if (form == nullptr || window == nullptr) {
    delete object;
    throw EInvalidCast("TzrPreviewForm n'est pas une fenêtre de prévisualisation"_a);
  }
  {
    // A window that could not be set up is not left behind.
    TScopeGuard free([form] { form->Free(); });
    form->AfterConstruction();
    if (MDIPreview) {
      form->SetWindowState(wsNormal);
      form->SetFormStyle(fsMDIChild);
    }
    form->SetCaption(caption);
    free.Dismiss();
  }
  window->ShowReport(this, caption);
  Application->ProcessMessages();
}

// ---- Engine host

int TzrReport::PrintingBandType() {
  TzrPage* page = zrEngine.CurPage;
  TzrBand* band = zrEngine.CurBand;
  if (page == nullptr || band == nullptr || page->PageType == ptDialog) return -1;
  return band->Kind;
}

bool TzrReport::PageDataBandSource(int BandType, TzrDataset*& Source) {
  TzrPage* page = zrEngine.CurPage;
  if (page == nullptr || page->Bands(BandType) == nullptr || page->Bands(BandType)->View == nullptr) return false;
  Source = page->Bands(BandType)->DataSource;
  return true;
}

bool TzrReport::CurrentObject(String& ObjectName, TStrings* Memo) {
  TzrView* view = zrEngine.CurView;
  if (view == nullptr) return false;
  ObjectName = view->Name;
  Memo->Assign(view->Memo());
  return true;
}

TzrAggregateBand* TzrReport::AggregateCurrentBand() {
  if (FAggregateTarget != nullptr) return FAggregateCurrent;
  return zrEngine.CurBand;
}

void TzrReport::SetAggregateCollection(TzrBand* Current, TzrBand* Target) {
  FAggregateCurrent = Current;
  FAggregateTarget = Target;
}

int TzrReport::ColumnPosition() { return zrEngine.CurPage != nullptr ? zrEngine.CurPage->ColumnPosition : 1; }

// ---- Script host

bool TzrReport::HasDictionaryVariable(const String& VarName) { return FDictionary->Variables()->IndexOf(VarName) >= 0; }

void TzrReport::SetDictionaryVariable(const String& VarName, const Variant& Value) {
  FDictionary->Variables()->SetByName(VarName, Value);
}

bool TzrReport::CurrentPageIsDialog() { return zrEngine.CurPage != nullptr && zrEngine.CurPage->PageType == ptDialog; }

void TzrReport::SetDialogModalResult(int Value) {
  TzrPage* page = zrEngine.CurPage;
  if (page == nullptr) return;
  page->DialogResult = Value;
  page->DialogResultSet = true;
  if (page->DialogForm != nullptr) page->DialogForm->SetModalResult(Value);
}

void TzrReport::SetCurY(int Value) {
  TzrPage* page = zrEngine.CurPage;
  if (page == nullptr) return;
  TzrBand* band = zrEngine.CurBand;
  if (band != nullptr && (band->PendingNewPages > 0 || band->PendingNewColumns > 0)) band->KeepPosition = true;
  page->CurY = Value;
}

void TzrReport::ShowProgressText(const String& Text) {
  if (FProgress != nullptr) FProgress->SetSecondLabelText(Text);
  Application->ProcessMessages();
}

bool TzrReport::SetObjectProperty(const String& QualifiedName, const Variant& Value) {
  TzrObject* object = nullptr;
  String property;
  ResolvePropertyOwner(QualifiedName, object, property);
  if (object == nullptr || FindObjectProperty(object, property) == nullptr) return false;
  object->SetProperty(property, Value);
  return true;
}
