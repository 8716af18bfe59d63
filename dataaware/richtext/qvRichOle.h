// This file implements the embedded objects of the rich-text control: the OLE callback its window
// asks (storages on global memory, drop effects, the context menu), the advise sink that marks the
// record modified when a server saves an object, the information providers of the object
// properties dialog, and the OLE errors.
#pragma once

#include "WinApi.h"

#include <ole2.h>
#include <oledlg.h>
#include <richole.h>

#include "Exceptions.h"

class TqvCustomRichEdit;

// An OLE call that failed, with its status.
class EOleError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const override { return "EOleError"; }
};

class EOleSysError : public EOleError {
 public:
  EOleSysError(const String& Msg, HRESULT Code) : EOleError(Msg), ErrorCode(Code) {}
  const char* ClassName() const override { return "EOleSysError"; }
  HRESULT ErrorCode;
};

// Raises EOleSysError for a failed status.
void qvOleCheck(HRESULT Status);
// A storage for a new object: a compound file on global memory, freed with it.
HRESULT qvCreateObjectStorage(IStorage** Storage);

// The window's OLE callback. It holds the control without owning it; the control detaches it
// before it goes.
class TRichEditOleCallback final : public IRichEditOleCallback {
 public:
  explicit TRichEditOleCallback(TqvCustomRichEdit* RichEdit) : FRichEdit(RichEdit) {}
  void Detach() { FRichEdit = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IRichEditOleCallback
  HRESULT STDMETHODCALLTYPE GetNewStorage(LPSTORAGE* Storage) override;
  HRESULT STDMETHODCALLTYPE GetInPlaceContext(LPOLEINPLACEFRAME* Frame, LPOLEINPLACEUIWINDOW* Document,
                                              LPOLEINPLACEFRAMEINFO FrameInfo) override;
  HRESULT STDMETHODCALLTYPE ShowContainerUI(BOOL Show) override;
  HRESULT STDMETHODCALLTYPE QueryInsertObject(LPCLSID Class, LPSTORAGE Storage, LONG Position) override;
  HRESULT STDMETHODCALLTYPE DeleteObject(LPOLEOBJECT Object) override;
  HRESULT STDMETHODCALLTYPE QueryAcceptData(LPDATAOBJECT Data, CLIPFORMAT* Format, DWORD Reco, BOOL Really,
                                            HGLOBAL MetaPict) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL EnterMode) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(CHARRANGE* Range, DWORD Reco, LPDATAOBJECT* Data) override;
  HRESULT STDMETHODCALLTYPE GetDragDropEffect(BOOL Drag, DWORD KeyState, LPDWORD Effect) override;
  HRESULT STDMETHODCALLTYPE GetContextMenu(WORD SelectionType, LPOLEOBJECT Object, CHARRANGE* Range,
                                           HMENU* Menu) override;

 private:
  LONG FRefCount = 1;
  TqvCustomRichEdit* FRichEdit;
};

// Told by an opened object what its server does; a save marks the control's record modified.
class TqvRichEditAdviseSink final : public IAdviseSink {
 public:
  explicit TqvRichEditAdviseSink(TqvCustomRichEdit* RichEdit) : FRichEdit(RichEdit) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override { Handle(0); }
  void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override { Handle(1); }
  void STDMETHODCALLTYPE OnRename(IMoniker*) override { Handle(2); }
  void STDMETHODCALLTYPE OnSave() override { Handle(3); }
  void STDMETHODCALLTYPE OnClose() override { Handle(4); }

 private:
  void Handle(int Code);
  LONG FRefCount = 1;
  TqvCustomRichEdit* FRichEdit;
};

// The object-properties dialog's source of what it shows of the selected object.
class TqvOleUIObjInfo final : public IOleUIObjInfoA {
 public:
  TqvOleUIObjInfo(TqvCustomRichEdit* RichEdit, const REOBJECT& Object);
  ~TqvOleUIObjInfo();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetObjectInfo(DWORD Object, DWORD* ObjSize, LPSTR* Label, LPSTR* Type, LPSTR* ShortType,
                                          LPSTR* Location) override;
  HRESULT STDMETHODCALLTYPE GetConvertInfo(DWORD Object, CLSID* Class, WORD* Format, CLSID* ConvertDefault,
                                           LPCLSID* ExcludeList, UINT* Count) override;
  HRESULT STDMETHODCALLTYPE ConvertObject(DWORD Object, REFCLSID NewClass) override;
  HRESULT STDMETHODCALLTYPE GetViewInfo(DWORD Object, HGLOBAL* MetaPict, DWORD* Aspect, int* CurrentScale) override;
  HRESULT STDMETHODCALLTYPE SetViewInfo(DWORD Object, HGLOBAL MetaPict, DWORD Aspect, int CurrentScale,
                                        BOOL RelativeToOrig) override;

 private:
  LONG FRefCount = 1;
  TqvCustomRichEdit* FRichEdit;
  REOBJECT FObject;
};

// The object-properties dialog's source of a linked object's link.
class TqvOleUILinkInfo final : public IOleUILinkInfoA {
 public:
  // EOleSysError when the object is no link.
  TqvOleUILinkInfo(TqvCustomRichEdit* RichEdit, const REOBJECT& Object);
  ~TqvOleUILinkInfo();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  DWORD STDMETHODCALLTYPE GetNextLink(DWORD Link) override;
  HRESULT STDMETHODCALLTYPE SetLinkUpdateOptions(DWORD Link, DWORD UpdateOpt) override;
  HRESULT STDMETHODCALLTYPE GetLinkUpdateOptions(DWORD Link, DWORD* UpdateOpt) override;
  HRESULT STDMETHODCALLTYPE SetLinkSource(DWORD Link, LPSTR DisplayName, ULONG LenFileName, ULONG* Eaten,
                                          BOOL ValidateSource) override;
  HRESULT STDMETHODCALLTYPE GetLinkSource(DWORD Link, LPSTR* DisplayName, ULONG* LenFileName, LPSTR* FullLinkType,
                                          LPSTR* ShortLinkType, BOOL* SourceAvailable, BOOL* IsSelected) override;
  HRESULT STDMETHODCALLTYPE OpenLinkSource(DWORD Link) override;
  HRESULT STDMETHODCALLTYPE UpdateLink(DWORD Link, BOOL ErrorMessage, BOOL ReserveAll) override;
  HRESULT STDMETHODCALLTYPE CancelLink(DWORD Link) override;
  HRESULT STDMETHODCALLTYPE GetLastUpdate(DWORD Link, FILETIME* LastUpdate) override;

 private:
  LONG FRefCount = 1;
  REOBJECT FObject;
  TqvCustomRichEdit* FRichEdit;
  IOleLink* FLink = nullptr;
};
