#include <gtest/gtest.h>
#include "WinApi.h"
#include <ole2.h>
#include <richole.h>
#include <oledlg.h>
#include <cstdio>
#include "RichEdit.h"
#include "UiTestSupport.h"

struct Cb : public IRichEditOleCallback {
  LONG ref = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IRichEditOleCallback)) { *ppv = this; AddRef(); return S_OK; }
    *ppv = nullptr; return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++ref; }
  ULONG STDMETHODCALLTYPE Release() override { return --ref; }
  HRESULT STDMETHODCALLTYPE GetNewStorage(LPSTORAGE* s) override { printf("GetNewStorage\n");
    ILockBytes* lb; CreateILockBytesOnHGlobal(nullptr, TRUE, &lb);
    HRESULT hr = StgCreateDocfileOnILockBytes(lb, STGM_SHARE_EXCLUSIVE|STGM_CREATE|STGM_READWRITE, 0, s); lb->Release();
    printf(" stg hr=%lx\n", (long)hr); return hr; }
  HRESULT STDMETHODCALLTYPE GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*, LPOLEINPLACEFRAMEINFO) override { printf("GetInPlaceContext\n"); return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ShowContainerUI(BOOL) override { printf("ShowContainerUI\n"); return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryInsertObject(LPCLSID, LPSTORAGE, LONG) override { printf("QueryInsertObject\n"); return S_OK; }
  HRESULT STDMETHODCALLTYPE DeleteObject(LPOLEOBJECT) override { printf("DeleteObject\n"); return S_OK; }
  HRESULT STDMETHODCALLTYPE QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) override { printf("QueryAcceptData\n"); return S_OK; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT* o) override { printf("GetClipboardData\n"); *o = nullptr; return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDragDropEffect(BOOL, DWORD, LPDWORD) override { printf("GetDragDropEffect\n"); return S_OK; }
  HRESULT STDMETHODCALLTYPE GetContextMenu(WORD seltype, LPOLEOBJECT, CHARRANGE*, HMENU* m) override { printf("GetContextMenu seltype=%d\n", seltype); *m = nullptr; return S_OK; }
};

TEST(Probe, All) {
  OleInitialize(nullptr);
  TFormPtr<TForm> Form(new TForm(nullptr));
  Form->SetBounds(70, 70, 440, 300);
  Form->Show();
  Activate(Form.get());
  TRichEdit* Edit = new TRichEdit(Form.get());
  Edit->SetBounds(10, 10, 400, 200);
  Edit->SetParent(Form.get());
  HWND h = Edit->Handle();
  Cb cb;
  printf("SETOLECALLBACK=%ld\n", (long)SendMessageA(h, EM_SETOLECALLBACK, 0, LPARAM(&cb)));
  Edit->Lines()->SetText("hello world");
  printf("-- rbuttonup via input\n");
  TPoint p = OnScreen(Edit, 30, 10);
  MouseEventAt(p, MOUSEEVENTF_MOVE);
  MouseEventAt(p, MOUSEEVENTF_RIGHTDOWN);
  MouseEventAt(p, MOUSEEVENTF_RIGHTUP);
  Pump(300);
  printf("-- WM_CONTEXTMENU direct\n");
  SendMessageA(h, WM_CONTEXTMENU, WPARAM(h), MAKELPARAM(p.X, p.Y));
  IRichEditOle* ole = nullptr;
  SendMessageA(h, EM_GETOLEINTERFACE, 0, LPARAM(&ole));
  // static object from a metafile data? try OleCreateFromFile
  IOleClientSite* site = nullptr;
  HRESULT hr = ole->GetClientSite(&site);
  printf("GetClientSite hr=%lx\n", (long)hr);
  IStorage* stg = nullptr; cb.GetNewStorage(&stg);
  IOleObject* obj = nullptr;
  char path[MAX_PATH]; GetModuleFileNameA(nullptr, path, MAX_PATH);
  WCHAR wpath[MAX_PATH]; MultiByteToWideChar(CP_ACP, 0, "C:\\windows\\win.ini", -1, wpath, MAX_PATH);
  hr = OleCreateFromFile(CLSID_NULL, wpath, IID_IOleObject, OLERENDER_DRAW, nullptr, site, stg, (void**)&obj);
  printf("OleCreateFromFile hr=%lx obj=%p\n", (long)hr, (void*)obj);
  // Static from a bitmap data object via OleCreateStaticFromData needs an IDataObject; try picture
  FORMATETC fe{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  (void)fe;
  CLSID clsid; hr = CLSIDFromProgID(L"Paint.Picture", &clsid); printf("Paint.Picture hr=%lx\n", (long)hr);
  hr = CLSIDFromProgID(L"Word.Basic", &clsid); printf("Word.Basic hr=%lx\n", (long)hr);
  hr = CLSIDFromProgID(L"Package", &clsid); printf("Package hr=%lx\n", (long)hr);
  OLEUIOBJECTPROPSA props{}; props.cbStruct = sizeof(props);
  OLEUIGNRLPROPSA g{}; g.cbStruct = sizeof(g); OLEUIVIEWPROPSA v{}; v.cbStruct = sizeof(v);
  PROPSHEETHEADERA psh{}; psh.dwSize = sizeof(psh); psh.hwndParent = h;
  props.lpPS = &psh; props.lpGP = &g; props.lpVP = &v;
  SetLastError(0);
  UINT r = OleUIObjectPropertiesA(&props);
  printf("OleUIObjectPropertiesA=%u err=%lu\n", r, (unsigned long)GetLastError());
  // insert dialog: run it and close it from a timer
  Later([]{ HWND d = GetForegroundWindow(); char c[200]=""; GetWindowTextA(d, c, 200); printf("fg window: [%s]\n", c); 
    HWND dd = FindWindowA("#32770", nullptr); GetWindowTextA(dd, c, 200); printf("dialog: %p [%s]\n", (void*)dd, c); 
    if (dd) PostMessageA(dd, WM_COMMAND, IDCANCEL, 0); }, 500);
  OLEUIINSERTOBJECTA io{}; io.cbStruct = sizeof(io); io.dwFlags = IOF_SELECTCREATENEW|IOF_CREATENEWOBJECT|IOF_CREATEFILEOBJECT|IOF_CREATELINKOBJECT|IOF_VERIFYSERVERSEXIST;
  char file[256] = ""; io.lpszFile = file; io.cchFile = 256; io.hWndOwner = h; io.iid = IID_IOleObject; io.oleRender = OLERENDER_DRAW; io.lpIOleClientSite = site; io.lpIStorage = stg; void* out = nullptr; io.ppvObj = &out;
  r = OleUIInsertObjectA(&io);
  printf("OleUIInsertObjectA=%u\n", r);
  ole->Release();
}
