// This file implements an embedded object for the tests: an OLE object with a type name and two
// verbs that records the verbs it is asked to carry out and the advise sink it is given.
#pragma once

#include "WinApi.h"

#include <ole2.h>

#include <vector>

class TTestOleObject final : public IOleObject {
 public:
  TTestOleObject() = default;
  std::vector<LONG> Verbs;
  IAdviseSink* Sink = nullptr;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++FRefCount); }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** Site) override {
    *Site = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** Moniker) override {
    *Moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** Data) override {
    *Data = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG Verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override {
    Verbs.push_back(Verb);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** Enum) override;
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* Class) override {
    *Class = CLSID_NULL;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD Form, LPOLESTR* Name) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL* Size) override {
    Size->cx = 1000;
    Size->cy = 500;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* Sink, DWORD* Connection) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** Enum) override {
    *Enum = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* Status) override {
    *Status = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

 private:
  ~TTestOleObject();
  LONG FRefCount = 1;
};
