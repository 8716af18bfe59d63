// This file implements the embedded objects of the rich-text control: its OLE callback, object
// storages on global memory, inserting objects through the system's dialog, the object-properties
// dialog with its two providers, the object items of the pop-up menu and the object's verbs.
#include "qvRichOle.h"

#include <string>

#include "Format.h"
#include "ScopeGuard.h"
#include "StrUtils.h"

#include "Dialogs.h"
#include "Forms.h"
#include "Menus.h"

#include "Qvintl.h"
#include "qvriched.h"

namespace {

// A wide text of the OLE interfaces in the program's code page; the text is freed.
String TakeAnsi(LPOLESTR Text) {
  if (Text == nullptr) return String();
  int Count = WideCharToMultiByte(1252, 0, Text, -1, nullptr, 0, nullptr, nullptr);
  String Result(std::size_t(Count > 0 ? Count - 1 : 0), '\0');
  if (Count > 1) WideCharToMultiByte(1252, 0, Text, -1, Result.data(), Count, nullptr, nullptr);
  CoTaskMemFree(Text);
  return Result;
}

// A copy of Text in memory of the task allocator, as the OLE dialogs free it.
LPSTR TaskString(const String& Text) {
  auto* Copy = static_cast<LPSTR>(CoTaskMemAlloc(Text.size() + 1));
  if (Copy) lstrcpynA(Copy, Text.c_str(), int(Text.size() + 1));
  return Copy;
}

String UserType(IOleObject* Object, DWORD Form) {
  LPOLESTR Name = nullptr;
  if (Object == nullptr || FAILED(Object->GetUserType(Form, &Name))) return String();
  return TakeAnsi(Name);
}

void ReleaseReObject(REOBJECT& Object) {
  if (Object.poleobj) Object.poleobj->Release();
  if (Object.pstg) Object.pstg->Release();
  if (Object.polesite) Object.polesite->Release();
  Object.poleobj = nullptr;
  Object.pstg = nullptr;
  Object.polesite = nullptr;
}

// Errors of a provider's calls go to the application's error handler: the dialog goes on.
template <class F>
void ReportErrors(F Work) {
  try {
    Work();
  } catch (...) {
    if (Application.Exists()) Application->HandleException(nullptr);
  }
}

}  // namespace

void qvOleCheck(HRESULT Status) {
  if (FAILED(Status)) throw EOleSysError(Format("Erreur OLE %.8X"_a, {int(Status)}), Status);
}

HRESULT qvCreateObjectStorage(IStorage** Storage) {
  *Storage = nullptr;
  ILockBytes* Bytes = nullptr;
  HRESULT Status = CreateILockBytesOnHGlobal(nullptr, TRUE, &Bytes);
  if (FAILED(Status)) return Status;
  Status = StgCreateDocfileOnILockBytes(Bytes, STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0, Storage);
  Bytes->Release();
  return Status;
}

// --- TRichEditOleCallback ---------------------------------------------------------------------

HRESULT TRichEditOleCallback::QueryInterface(REFIID Iid, void** Object) {
  if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IRichEditOleCallback)) {
    *Object = this;
    AddRef();
    return S_OK;
  }
  *Object = nullptr;
  return E_NOINTERFACE;
}

ULONG TRichEditOleCallback::AddRef() { return ULONG(InterlockedIncrement(&FRefCount)); }

ULONG TRichEditOleCallback::Release() {
  LONG Count = InterlockedDecrement(&FRefCount);
  if (Count == 0) delete this;
  return ULONG(Count);
}

HRESULT TRichEditOleCallback::GetNewStorage(LPSTORAGE* Storage) {
  try {
    HRESULT Status = qvCreateObjectStorage(Storage);
    return FAILED(Status) ? E_OUTOFMEMORY : S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT TRichEditOleCallback::GetInPlaceContext(LPOLEINPLACEFRAME* Frame, LPOLEINPLACEUIWINDOW* Document,
                                                LPOLEINPLACEFRAMEINFO) {
  if (Frame) *Frame = nullptr;
  if (Document) *Document = nullptr;
  return E_NOTIMPL;
}

HRESULT TRichEditOleCallback::ShowContainerUI(BOOL) { return E_NOTIMPL; }

HRESULT TRichEditOleCallback::QueryInsertObject(LPCLSID, LPSTORAGE, LONG) { return S_OK; }

HRESULT TRichEditOleCallback::DeleteObject(LPOLEOBJECT) { return S_OK; }

HRESULT TRichEditOleCallback::QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) { return S_OK; }

HRESULT TRichEditOleCallback::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT TRichEditOleCallback::GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT* Data) {
  if (Data) *Data = nullptr;
  return E_NOTIMPL;
}

// A drop links with Ctrl and Shift held, copies with Ctrl, moves otherwise; only an effect the
// drop source allows is taken.
HRESULT TRichEditOleCallback::GetDragDropEffect(BOOL Drag, DWORD KeyState, LPDWORD Effect) {
  if (Drag || Effect == nullptr) return S_OK;
  bool Ctrl = (KeyState & MK_CONTROL) != 0;
  bool Shift = (KeyState & MK_SHIFT) != 0;
  DWORD Wanted = Ctrl && Shift ? DROPEFFECT_LINK : Ctrl ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  if (*Effect & Wanted) *Effect = Wanted;
  return S_OK;
}

HRESULT TRichEditOleCallback::GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU* Menu) {
  if (Menu) *Menu = nullptr;
  if (FRichEdit == nullptr || !FRichEdit->FContextMenuPending || FRichEdit->PopupMenu() == nullptr) return S_OK;
  ReportErrors([&] {
    POINT At{};
    GetCursorPos(&At);
    TqvCustomRichEdit* RichEdit = FRichEdit;
    RichEdit->FContextMenuPending = false;
    if (TPopupMenu* Popup = RichEdit->GetPopupMenu()) Popup->Popup(At.x, At.y);
  });
  return S_OK;
}

// --- TqvRichEditAdviseSink --------------------------------------------------------------------

HRESULT TqvRichEditAdviseSink::QueryInterface(REFIID Iid, void** Object) {
  if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IAdviseSink)) {
    *Object = this;
    AddRef();
    return S_OK;
  }
  *Object = nullptr;
  return E_NOINTERFACE;
}

ULONG TqvRichEditAdviseSink::AddRef() { return ULONG(InterlockedIncrement(&FRefCount)); }

ULONG TqvRichEditAdviseSink::Release() {
  LONG Count = InterlockedDecrement(&FRefCount);
  if (Count == 0) delete this;
  return ULONG(Count);
}

void TqvRichEditAdviseSink::Handle(int Code) {
  if (Code != 3 || FRichEdit == nullptr) return;
  ReportErrors([&] {
    FRichEdit->EditModified();
    if (auto* DB = dynamic_cast<TqvDBRichEdit*>(FRichEdit)) DB->DataLink()->Modified();
    FRichEdit->SetModified(true);
  });
}

// --- TqvOleUIObjInfo --------------------------------------------------------------------------

TqvOleUIObjInfo::TqvOleUIObjInfo(TqvCustomRichEdit* RichEdit, const REOBJECT& Object)
    : FRichEdit(RichEdit), FObject(Object) {
  if (FObject.poleobj) FObject.poleobj->AddRef();
  if (FObject.pstg) FObject.pstg->AddRef();
  if (FObject.polesite) FObject.polesite->AddRef();
}

TqvOleUIObjInfo::~TqvOleUIObjInfo() { ReleaseReObject(FObject); }

HRESULT TqvOleUIObjInfo::QueryInterface(REFIID Iid, void** Object) {
  if (IsEqualIID(Iid, IID_IUnknown)) {
    *Object = this;
    AddRef();
    return S_OK;
  }
  *Object = nullptr;
  return E_NOINTERFACE;
}

ULONG TqvOleUIObjInfo::AddRef() { return ULONG(InterlockedIncrement(&FRefCount)); }

ULONG TqvOleUIObjInfo::Release() {
  LONG Count = InterlockedDecrement(&FRefCount);
  if (Count == 0) delete this;
  return ULONG(Count);
}

HRESULT TqvOleUIObjInfo::GetObjectInfo(DWORD, DWORD* ObjSize, LPSTR* Label, LPSTR* Type, LPSTR* ShortType,
                                       LPSTR* Location) {
  String Full = UserType(FObject.poleobj, USERCLASSTYPE_FULL);
  if (ObjSize) *ObjSize = DWORD(-1);
  if (Label) *Label = TaskString(Full);
  if (Type) *Type = TaskString(Full);
  if (ShortType) *ShortType = TaskString(UserType(FObject.poleobj, USERCLASSTYPE_SHORT));
  if (Location) {
    String App = Application->Title();
    *Location = TaskString(Trim(FRichEdit->Title()).empty() ? App : Format("%s - %s", {FRichEdit->Title(), App}));
  }
  return S_OK;
}

HRESULT TqvOleUIObjInfo::GetConvertInfo(DWORD, CLSID* Class, WORD*, CLSID*, LPCLSID*, UINT*) {
  if (Class && FObject.poleobj) FObject.poleobj->GetUserClassID(Class);
  return S_OK;
}

HRESULT TqvOleUIObjInfo::ConvertObject(DWORD, REFCLSID) { return E_NOTIMPL; }

HRESULT TqvOleUIObjInfo::GetViewInfo(DWORD, HGLOBAL* MetaPict, DWORD* Aspect, int* CurrentScale) {
  if (MetaPict) *MetaPict = TqvCustomRichEdit::GetIconMetaPict(FObject.poleobj, FObject.dvaspect);
  if (Aspect) *Aspect = FObject.dvaspect;
  if (CurrentScale) *CurrentScale = 0;
  return S_OK;
}

HRESULT TqvOleUIObjInfo::SetViewInfo(DWORD, HGLOBAL MetaPict, DWORD Aspect, int, BOOL) {
  IRichEditOle* Ole = FRichEdit->RichEditOle();
  if (Ole == nullptr) return E_NOTIMPL;
  Ole->InPlaceDeactivate();
  bool AsIcon = Aspect == DVASPECT_ICON || (Aspect != DVASPECT_CONTENT && FObject.dvaspect == DVASPECT_ICON);
  HRESULT Status = TqvCustomRichEdit::SwitchDisplayAspect(FObject.poleobj, AsIcon, MetaPict, FObject.dvaspect);
  if (SUCCEEDED(Status)) Ole->SetDvaspect(REO_IOB_SELECTION, FObject.dvaspect);
  return Status;
}

// --- TqvOleUILinkInfo -------------------------------------------------------------------------

TqvOleUILinkInfo::TqvOleUILinkInfo(TqvCustomRichEdit* RichEdit, const REOBJECT& Object)
    : FObject(Object), FRichEdit(RichEdit) {
  if (FObject.poleobj) FObject.poleobj->AddRef();
  if (FObject.pstg) FObject.pstg->AddRef();
  if (FObject.polesite) FObject.polesite->AddRef();
  HRESULT Status = FObject.poleobj ? FObject.poleobj->QueryInterface(IID_IOleLink, reinterpret_cast<void**>(&FLink))
                                   : E_NOINTERFACE;
  if (FAILED(Status)) {
    ReleaseReObject(FObject);
    qvOleCheck(Status);
  }
}

TqvOleUILinkInfo::~TqvOleUILinkInfo() {
  if (FLink) FLink->Release();
  ReleaseReObject(FObject);
}

HRESULT TqvOleUILinkInfo::QueryInterface(REFIID Iid, void** Object) {
  if (IsEqualIID(Iid, IID_IUnknown)) {
    *Object = this;
    AddRef();
    return S_OK;
  }
  *Object = nullptr;
  return E_NOINTERFACE;
}

ULONG TqvOleUILinkInfo::AddRef() { return ULONG(InterlockedIncrement(&FRefCount)); }

ULONG TqvOleUILinkInfo::Release() {
  LONG Count = InterlockedDecrement(&FRefCount);
  if (Count == 0) delete this;
  return ULONG(Count);
}

DWORD TqvOleUILinkInfo::GetNextLink(DWORD Link) {
  return Link == 0 ? DWORD(reinterpret_cast<UINT_PTR>(FRichEdit)) : 0;
}

HRESULT TqvOleUILinkInfo::SetLinkUpdateOptions(DWORD, DWORD UpdateOpt) {
  HRESULT Status = FLink->SetUpdateOptions(UpdateOpt);
  if (SUCCEEDED(Status)) FRichEdit->SetModified(true);
  return Status;
}

HRESULT TqvOleUILinkInfo::GetLinkUpdateOptions(DWORD, DWORD* UpdateOpt) { return FLink->GetUpdateOptions(UpdateOpt); }

HRESULT TqvOleUILinkInfo::SetLinkSource(DWORD, LPSTR DisplayName, ULONG, ULONG* Eaten, BOOL ValidateSource) {
  if (!ValidateSource) {
    MessageBox("Liaison impossible avec une source incorrecte."_a, "Propriétés de liaison"_a, MB_OK | MB_ICONSTOP);
    return E_FAIL;
  }
  String Name = DisplayName ? String(DisplayName) : String();
  if (Name.size() > 256) Name.resize(256);
  std::u16string Wide(Name.size() + 1, u'\0');
  MultiByteToWideChar(1252, 0, Name.c_str(), -1, reinterpret_cast<LPWSTR>(Wide.data()), int(Wide.size()));
  if (FAILED(FLink->SetSourceDisplayName(reinterpret_cast<LPCOLESTR>(Wide.c_str())))) return E_FAIL;
  if (Eaten) *Eaten = ULONG(Name.size());
  ReportErrors([&] { qvOleCheck(FObject.poleobj->Update()); });
  return S_OK;
}

HRESULT TqvOleUILinkInfo::GetLinkSource(DWORD, LPSTR* DisplayName, ULONG* LenFileName, LPSTR* FullLinkType,
                                        LPSTR* ShortLinkType, BOOL*, BOOL*) {
  LPOLESTR Source = nullptr;
  FLink->GetSourceDisplayName(&Source);
  if (DisplayName) *DisplayName = TaskString(TakeAnsi(Source));
  else if (Source) CoTaskMemFree(Source);
  if (LenFileName) {
    *LenFileName = 0;
    IMoniker* Moniker = nullptr;
    if (SUCCEEDED(FLink->GetSourceMoniker(&Moniker)) && Moniker) {
      IMoniker* First = Moniker;
      First->AddRef();
      IEnumMoniker* Parts = nullptr;
      if (SUCCEEDED(Moniker->Enum(TRUE, &Parts)) && Parts) {
        IMoniker* Part = nullptr;
        if (Parts->Next(1, &Part, nullptr) == S_OK && Part) {
          First->Release();
          First = Part;
        }
        Parts->Release();
      }
      DWORD Kind = 0;
      if (First->IsSystemMoniker(&Kind) == S_OK && Kind == MKSYS_FILEMONIKER) {
        LPOLESTR Name = nullptr;
        if (SUCCEEDED(First->GetDisplayName(nullptr, nullptr, &Name))) *LenFileName = ULONG(TakeAnsi(Name).size());
      }
      First->Release();
      Moniker->Release();
    }
  }
  if (FullLinkType) *FullLinkType = TaskString(UserType(FObject.poleobj, USERCLASSTYPE_FULL));
  if (ShortLinkType) *ShortLinkType = TaskString(UserType(FObject.poleobj, USERCLASSTYPE_SHORT));
  return S_OK;
}

HRESULT TqvOleUILinkInfo::OpenLinkSource(DWORD) {
  ReportErrors([&] {
    RECT Client{};
    GetClientRect(FRichEdit->Handle(), &Client);
    qvOleCheck(FObject.poleobj->DoVerb(OLEIVERB_SHOW, nullptr, FObject.polesite, 0, FRichEdit->Handle(), &Client));
  });
  return S_OK;
}

HRESULT TqvOleUILinkInfo::UpdateLink(DWORD, BOOL, BOOL) {
  ReportErrors([&] { qvOleCheck(FObject.poleobj->Update()); });
  return S_OK;
}

HRESULT TqvOleUILinkInfo::CancelLink(DWORD) {
  MessageBox("Opération d'interruption de liaison non supportée."_a, "Propriétés de liaison"_a, MB_OK | MB_ICONSTOP);
  return E_NOTIMPL;
}

HRESULT TqvOleUILinkInfo::GetLastUpdate(DWORD, FILETIME*) { return S_OK; }

// --- The control's object operations ----------------------------------------------------------

TqvCustomRichEdit::TqvSelectionType TqvCustomRichEdit::GetSelectionType() {
  if (!HandleAllocated()) return TqvSelectionType();
  // SEL_TEXT, SEL_OBJECT, SEL_MULTICHAR and SEL_MULTIOBJECT are the bits of the set's items.
  return TqvSelectionType::FromBits(unsigned(SendRich(EM_SELECTIONTYPE)) & 0xF);
}

HGLOBAL TqvCustomRichEdit::GetIconMetaPict(IOleObject* Object, DWORD Aspect) {
  if (Object == nullptr) return nullptr;
  if (Aspect == DVASPECT_ICON) {
    IDataObject* Data = nullptr;
    if (SUCCEEDED(Object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&Data))) && Data) {
      FORMATETC Wanted{CF_METAFILEPICT, nullptr, DVASPECT_ICON, -1, TYMED_MFPICT};
      STGMEDIUM Medium{};
      HRESULT Status = Data->GetData(&Wanted, &Medium);
      Data->Release();
      if (SUCCEEDED(Status) && Medium.hMetaFilePict) return Medium.hMetaFilePict;
    }
  }
  CLSID Class{};
  if (FAILED(Object->GetUserClassID(&Class))) return nullptr;
  return OleGetIconOfClass(Class, nullptr, TRUE);
}

namespace {

// A metafile picture block and its metafile.
void FreeMetaPict(HGLOBAL Picture) {
  if (Picture == nullptr) return;
  if (auto* Pict = static_cast<METAFILEPICT*>(GlobalLock(Picture))) {
    if (Pict->hMF) DeleteMetaFile(Pict->hMF);
    GlobalUnlock(Picture);
  }
  GlobalFree(Picture);
}

}  // namespace

HRESULT TqvCustomRichEdit::SwitchDisplayAspect(IOleObject* Object, bool AsIcon, HGLOBAL Picture, DWORD& Aspect) {
  DWORD NewAspect = AsIcon ? DVASPECT_ICON : DVASPECT_CONTENT;
  DWORD Advise = AsIcon ? ADVF_NODATA : ADVF_PRIMEFIRST;
  DWORD OldAspect = Aspect;
  Aspect = NewAspect;
  if (OldAspect == NewAspect && NewAspect != DVASPECT_ICON) return S_OK;
  IOleCache* Cache = nullptr;
  HRESULT Status = Object->QueryInterface(IID_IOleCache, reinterpret_cast<void**>(&Cache));
  if (FAILED(Status) || Cache == nullptr) return FAILED(Status) ? Status : E_NOINTERFACE;
  TScopeGuard ReleaseCache([&] { Cache->Release(); });
  if (OldAspect != NewAspect) {
    FORMATETC Format{0, nullptr, NewAspect, -1, TYMED_NULL};
    DWORD Connection = 0;
    Status = Cache->Cache(&Format, Advise, &Connection);
    if (FAILED(Status)) return Status;
  }
  if (NewAspect == DVASPECT_ICON) {
    HGLOBAL Icon = Picture;
    if (Icon == nullptr) {
      CLSID Class{};
      Object->GetUserClassID(&Class);
      Icon = OleGetIconOfClass(Class, nullptr, TRUE);
    }
    FORMATETC Format{CF_METAFILEPICT, nullptr, DVASPECT_ICON, -1, TYMED_MFPICT};
    STGMEDIUM Medium{};
    Medium.tymed = TYMED_MFPICT;
    Medium.hMetaFilePict = Icon;
    Status = Cache->SetData(&Format, &Medium, FALSE);
    if (Picture == nullptr) FreeMetaPict(Icon);
    if (FAILED(Status)) return Status;
  }
  if (OldAspect != NewAspect) {
    IEnumSTATDATA* Entries = nullptr;
    if (SUCCEEDED(Cache->EnumCache(&Entries)) && Entries) {
      STATDATA Entry{};
      while (Entries->Next(1, &Entry, nullptr) == S_OK) {
        if (Entry.formatetc.dwAspect == OldAspect) Cache->Uncache(Entry.dwConnection);
        if (Entry.pAdvSink) Entry.pAdvSink->Release();
      }
      Entries->Release();
    }
  }
  if (NewAspect != DVASPECT_ICON) Status = Object->Update();
  return Status;
}

bool TqvCustomRichEdit::InsertObjectDialog() {
  if (FRichEditOle == nullptr) return false;
  IOleClientSite* Site = nullptr;
  IStorage* Storage = nullptr;
  IOleObject* Object = nullptr;
  char FileName[256] = "";
  OLEUIINSERTOBJECTA Request{};
  TScopeGuard Release([&] {
    if (Object) Object->Release();
    if (Storage) Storage->Release();
    if (Site) Site->Release();
    FreeMetaPict(Request.hMetaPict);
  });
  qvOleCheck(FRichEditOle->GetClientSite(&Site));
  qvOleCheck(qvCreateObjectStorage(&Storage));
  Request.cbStruct = sizeof(Request);
  Request.dwFlags =
      IOF_SELECTCREATENEW | IOF_CREATENEWOBJECT | IOF_CREATEFILEOBJECT | IOF_CREATELINKOBJECT | IOF_VERIFYSERVERSEXIST;
  Request.hWndOwner = Handle();
  Request.lpszFile = FileName;
  Request.cchFile = sizeof(FileName);
  Request.iid = IID_IOleObject;
  Request.oleRender = OLERENDER_DRAW;
  Request.lpIOleClientSite = Site;
  Request.lpIStorage = Storage;
  Request.ppvObj = reinterpret_cast<void**>(&Object);
  if (OleUIInsertObjectA(&Request) != OLEUI_OK) return false;
  if (Object == nullptr) qvOleCheck(FAILED(Request.sc) ? Request.sc : E_FAIL);
  if (TextLength() == 0) EditModified();
  REOBJECT Description{};
  Description.cbStruct = sizeof(Description);
  Description.cp = REO_CP_SELECTION;
  Description.clsid = Request.clsid;
  Description.poleobj = Object;
  Description.pstg = Storage;
  Description.polesite = Site;
  Description.dvaspect = DVASPECT_CONTENT;
  bool New = (Request.dwFlags & IOF_SELECTCREATENEW) != 0;
  Description.dwFlags = REO_RESIZABLE | (New ? REO_BLANK : 0);
  qvOleCheck(SwitchDisplayAspect(Object, (Request.dwFlags & IOF_CHECKDISPLAYASICON) != 0, Request.hMetaPict,
                                 Description.dvaspect));
  int Start = SelStart();
  qvOleCheck(FRichEditOle->InsertObject(&Description));
  CHARRANGE Inserted{Start, Start + 1};
  SendRich(EM_EXSETSEL, 0, LPARAM(&Inserted));
  SendRich(EM_SCROLLCARET);
  FRichEditOle->SetDvaspect(REO_IOB_SELECTION, Description.dvaspect);
  if (New) {
    RECT Client{};
    GetClientRect(Handle(), &Client);
    qvOleCheck(Object->DoVerb(OLEIVERB_SHOW, nullptr, Site, 0, Handle(), &Client));
  }
  return true;
}

bool TqvCustomRichEdit::ObjectPropertiesDialog() {
  if (FRichEditOle == nullptr || GetSelectionType() != TqvSelectionType{stObject}) return false;
  REOBJECT Object{};
  Object.cbStruct = sizeof(Object);
  if (FAILED(FRichEditOle->GetObject(REO_IOB_SELECTION, &Object, REO_GETOBJ_POLEOBJ | REO_GETOBJ_POLESITE)))
    return false;
  TScopeGuard Release([&] { ReleaseReObject(Object); });
  if (Object.poleobj == nullptr || (Object.dwFlags & REO_INPLACEACTIVE)) return false;
  bool Link = (Object.dwFlags & REO_LINK) != 0;
  String Caption = Format("Propriétés %s"_a, {UserType(Object.poleobj, USERCLASSTYPE_FULL)});
  PROPSHEETHEADERA Sheet{};
  Sheet.dwSize = sizeof(Sheet);
  Sheet.hwndParent = Handle();
  Sheet.hInstance = GetModuleHandleA(nullptr);
  Sheet.pszCaption = Caption.c_str();
  OLEUIGNRLPROPSA General{};
  General.cbStruct = sizeof(General);
  OLEUIVIEWPROPSA View{};
  View.cbStruct = sizeof(View);
  View.dwFlags = VPF_DISABLESCALE;
  OLEUILINKPROPSA LinkPage{};
  LinkPage.cbStruct = sizeof(LinkPage);
  LinkPage.dwFlags = ELF_DISABLECANCELLINK;
  OLEUIOBJECTPROPSA Request{};
  Request.cbStruct = sizeof(Request);
  Request.dwFlags = OPF_DISABLECONVERT | (Link ? OPF_OBJECTISLINK : 0);
  Request.lpPS = &Sheet;
  auto* Info = new TqvOleUIObjInfo(this, Object);
  TqvOleUILinkInfo* LinkInfo = Link ? new TqvOleUILinkInfo(this, Object) : nullptr;
  TScopeGuard ReleaseInfo([&] {
    Info->Release();
    if (LinkInfo) LinkInfo->Release();
  });
  Request.lpObjInfo = Info;
  Request.lpLinkInfo = LinkInfo;
  Request.lpGP = &General;
  Request.lpVP = &View;
  Request.lpLP = &LinkPage;
  return OleUIObjectPropertiesA(&Request) == OLEUI_OK;
}

void TqvCustomRichEdit::ObjectPropertiesClick(TObject*) { ObjectPropertiesDialog(); }

void TqvCustomRichEdit::ObjectVerbClick(TObject* Sender) {
  if (auto* Item = dynamic_cast<TMenuItem*>(Sender)) DoObjectVerb(Item->Tag);
}

TPopupMenu* TqvCustomRichEdit::GetPopupMenu() {
  auto* Menu = dynamic_cast<TPopupMenu*>(PopupMenu());
  if (Menu) Menu->SetPopupComponent(this);
  if (!FOleOptions.Contains(reoAdjustPopupMenu) || FRichEditOle == nullptr) return Menu;
  for (TMenuItem* Item : FObjectMenuItems) delete Item;
  FObjectMenuItems.clear();
  REOBJECT Object{};
  Object.cbStruct = sizeof(Object);
  IOleObject* Selected = nullptr;
  if (SUCCEEDED(FRichEditOle->GetObject(REO_IOB_SELECTION, &Object, REO_GETOBJ_POLEOBJ))) Selected = Object.poleobj;
  if (FSelectedObject) FSelectedObject->Release();
  FSelectedObject = Selected;
  if (Selected == nullptr) {
    ClearObjectVerbs();
    return Menu;
  }
  if (Menu == nullptr) return Menu;
  auto Add = [&](TMenuItem* Parent, const String& Caption, int Tag, TNotifyEvent Click) {
    auto* Item = new TMenuItem(Menu);
    Item->SetCaption(Caption);
    Item->Tag = Tag;
    Item->OnClick = Click;
    Parent->Add(Item);
    return Item;
  };
  FObjectMenuItems.push_back(Add(Menu->Items(), "-", 0, TNotifyEvent()));
  FObjectMenuItems.push_back(Add(Menu->Items(), qvIntl->RichEdit()->PopupMenuLabels()->ObjectPropertiesCaption, 0,
                                 TNotifyEvent(this, &TqvCustomRichEdit::ObjectPropertiesClick)));
  TMenuItem* ObjectItem =
      Add(Menu->Items(), UserType(Selected, USERCLASSTYPE_FULL) + " &Object", 0, TNotifyEvent());
  FObjectMenuItems.push_back(ObjectItem);
  if (GetReadOnly()) {
    ObjectItem->SetEnabled(false);
    return Menu;
  }
  LoadObjectVerbs();
  for (int i = 0; i < FObjectVerbs->Count(); ++i) {
    TMenuItem* Verb = Add(ObjectItem, FObjectVerbs->Strings(i), i, TNotifyEvent(this, &TqvCustomRichEdit::ObjectVerbClick));
    int Number = short(reinterpret_cast<UINT_PTR>(FObjectVerbs->Objects(i)) & 0xFFFF);
    if (Number == 0) Verb->SetDefault(true);
  }
  return Menu;
}

void TqvCustomRichEdit::ClearObjectVerbs() {
  if (FSpareMenu) FSpareMenu->Items()->Clear();
  if (FObjectVerbs) FObjectVerbs->Clear();
}

void TqvCustomRichEdit::LoadObjectVerbs() {
  ClearObjectVerbs();
  if (FSelectedObject == nullptr || FObjectVerbs == nullptr) return;
  IEnumOLEVERB* Verbs = nullptr;
  if (FAILED(FSelectedObject->EnumVerbs(&Verbs)) || Verbs == nullptr) return;
  OLEVERB Verb{};
  while (Verbs->Next(1, &Verb, nullptr) == S_OK) {
    String Name = TakeAnsi(Verb.lpszVerbName);
    if (Verb.lVerb < 0 || !(Verb.grfAttribs & OLEVERBATTRIB_ONCONTAINERMENU)) break;
    UINT_PTR Data = (UINT_PTR(Verb.lVerb) & 0xFFFF) | (UINT_PTR(Verb.fuFlags & 0xFFFF) << 16);
    FObjectVerbs->AddObject(Name, reinterpret_cast<TObject*>(Data));
  }
  Verbs->Release();
}

void TqvCustomRichEdit::DoObjectVerb(int Index) {
  if (FRichEditOle == nullptr || FSelectedObject == nullptr) return;
  LONG Verb = Index;
  if (Index > 0) {
    if (FObjectVerbs == nullptr || Index >= FObjectVerbs->Count()) throw EOleError("Invalid Verb");
    Verb = short(reinterpret_cast<UINT_PTR>(FObjectVerbs->Objects(Index)) & 0xFFFF);
  } else if (Index == -65536) {
    Verb = 0;
  }
  IOleClientSite* Site = nullptr;
  qvOleCheck(FRichEditOle->GetClientSite(&Site));
  TScopeGuard Release([&] { Site->Release(); });
  RECT Client{};
  GetClientRect(Handle(), &Client);
  qvOleCheck(FSelectedObject->DoVerb(Verb, nullptr, Site, 0, Handle(), &Client));
}
