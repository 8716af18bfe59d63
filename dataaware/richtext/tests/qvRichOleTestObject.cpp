// This file implements the embedded object of the tests.
#include "qvRichOleTestObject.h"

#include <cstring>
#include <string>

namespace {

LPOLESTR TaskCopy(const char16_t* Text) {
  std::size_t Bytes = (std::char_traits<char16_t>::length(Text) + 1) * sizeof(char16_t);
  auto* Copy = static_cast<LPOLESTR>(CoTaskMemAlloc(Bytes));
  std::memcpy(Copy, Text, Bytes);
  return Copy;
}

// Two verbs for the container's menu ("&Ouvrir" the primary one), then one that is not.
class TTestVerbs final : public IEnumOLEVERB {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override {
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IEnumOLEVERB)) {
      *Object = this;
      AddRef();
      return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++FRefCount); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG Count = --FRefCount;
    if (Count == 0) delete this;
    return ULONG(Count);
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG Count, OLEVERB* Verbs, ULONG* Fetched) override {
    static const struct {
      LONG Number;
      const char16_t* Name;
      DWORD Attribs;
    } All[] = {{0, u"&Ouvrir", OLEVERBATTRIB_ONCONTAINERMENU},
               {1, u"&Modifier", OLEVERBATTRIB_ONCONTAINERMENU},
               {2, u"Cach\u00e9", 0}};
    ULONG Done = 0;
    while (Done < Count && FNext < 3) {
      OLEVERB& V = Verbs[Done++];
      V.lVerb = All[FNext].Number;
      V.lpszVerbName = TaskCopy(All[FNext].Name);
      V.fuFlags = MF_STRING;
      V.grfAttribs = All[FNext].Attribs;
      ++FNext;
    }
    if (Fetched) *Fetched = Done;
    return Done == Count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG Count) override {
    FNext += int(Count);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    FNext = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumOLEVERB** Enum) override {
    *Enum = nullptr;
    return E_NOTIMPL;
  }

 private:
  ~TTestVerbs() = default;
  LONG FRefCount = 1;
  int FNext = 0;
};

}  // namespace

TTestOleObject::~TTestOleObject() {
  if (Sink) Sink->Release();
}

HRESULT TTestOleObject::QueryInterface(REFIID Iid, void** Object) {
  if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IOleObject)) {
    *Object = this;
    AddRef();
    return S_OK;
  }
  *Object = nullptr;
  return E_NOINTERFACE;
}

ULONG TTestOleObject::Release() {
  LONG Count = --FRefCount;
  if (Count == 0) delete this;
  return ULONG(Count);
}

HRESULT TTestOleObject::EnumVerbs(IEnumOLEVERB** Enum) {
  *Enum = new TTestVerbs;
  return S_OK;
}

HRESULT TTestOleObject::GetUserType(DWORD Form, LPOLESTR* Name) {
  *Name = TaskCopy(Form == USERCLASSTYPE_SHORT ? u"Fiche" : u"Fiche de terrain");
  return S_OK;
}

HRESULT TTestOleObject::Advise(IAdviseSink* NewSink, DWORD* Connection) {
  if (Sink) Sink->Release();
  Sink = NewSink;
  Sink->AddRef();
  *Connection = 1;
  return S_OK;
}
