// This file implements the template file of a report (".zrf"): the version byte, the record list of
// pages, objects and dictionary, and the report information trailer; reading refuses a damaged
// file with a message instead of looping or reading past its end.
#include "DateTime.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassWindows.h"
#include "ZR_Utils.h"
#include "ZR_UtilsXml.h"
// The class library's dialogs come last: the API macros they bring do not reach the declarations
// above.
#include "Dialogs.h"

namespace {

// Record tags of the list.
constexpr int kTagPage = 255;
constexpr int kTagDictionary = 254;
constexpr int kTagExtension = 253;
constexpr int kTagEnd = 252;
// Page indexes are one byte.
constexpr int kMaxPages = 256;

// The template is refused: the reason follows the message.
VELBOR_EXCEPTION(ETemplateDamaged, EReadError)

[[noreturn]] void Damaged(const String& What) { throw ETemplateDamaged(What); }

// Missing add-in classes: collected while the list is read, reported once at its end.
VELBOR_EXCEPTION(EMissingClasses, Exception)

String ReadU16Text(TStream* Stream) {
  int length = ReadU16(Stream);
  if (length > BytesLeft(Stream)) Damaged("texte plus long que le fichier");
  String s(std::size_t(length), '\0');
  if (length > 0) Stream->ReadBuffer(s.data(), length);
  return s;
}

void WriteU16Text(TStream* Stream, const String& S) {
  if (S.size() > 0xFFFF) throw EWriteError("Texte trop long pour le fichier de l'état"_a);
  WriteU16(Stream, static_cast<std::uint16_t>(S.size()));
  Stream->WriteBuffer(S.data(), std::int64_t(S.size()));
}

void ShowError(const String& Text) { MessageBox(Text, EngineString(55206), MB_OK | MB_ICONERROR); }

}  // namespace

// ---- The record list

void TzrPages::ReadObjectList(TStream* Stream) {
  Report->Clear();
  Report->PrintToDefault = ReadI16(Stream);
  Report->DoublePass = ReadI16(Stream);
  String printer = ReadVersionedString(Stream);
  if (printer == "\001") printer = EngineString(55007);
  Report->SetPrinterName(printer);

  const int version = zrEngine.StreamVersion;
  String missing;
  bool stop = false;
  while (!stop && Stream->Position() < Stream->Size()) {
    int tag = ReadU8(Stream);
    switch (tag) {
      case kTagPage:
        if (Count() >= kMaxPages) Damaged("plus de 256 pages");
        Add()->ReadPageHeader(Stream);
        break;
      case kTagDictionary:
        Report->Dictionary()->LoadFromStream(Stream);
        break;
      case kTagExtension:
        ReadU8(Stream);
        stop = true;
        break;
      case kTagEnd:
        stop = true;
        break;
      default: {
        if (tag > zrKindAddIn) Damaged(String());
        int kind = tag;
        String className;
        bool framed = false;
        if (kind == zrKindAddIn) {
          className = ReadVersionedString(Stream);
          String upper = AnsiUpperCase(className);
          if (upper == "TZRBDELOOKUPCONTROL" || upper == "TZRIBXLOOKUPCONTROL") className = "TzrDBLookupControl";
          if (upper == "TZRFRAMEDMEMOVIEW") {
            kind = zrKindMemo;
            className.clear();
            framed = true;
          }
        }
        int pageIndex = ReadU8(Stream);
        if (pageIndex >= Count()) Damaged("objet d'une page inexistante ("_a + IntToStr(pageIndex + 1) + ")");
        TzrPage* page = Pages(pageIndex);
        zrEngine.CurPage = page;
        std::int64_t end = 0;
        auto readEnd = [&]() {
          end = ReadU32(Stream);
          // An end offset must lie ahead, inside the file: one that points back would read the
          // same records for ever.
          if (end != 0 && (end <= Stream->Position() || end > Stream->Size()))
            Damaged("fin d'objet hors du fichier ("_a + IntToStr(end) + ")");
        };
        TObject* object = nullptr;
        try {
          object = CreateReportObject(kind, className);
        } catch (const EClassNotFound&) {
          missing += className + "\r";
          // Without an end offset the records that follow cannot be found again.
          if (version < 24) {
            stop = true;
            break;
          }
          readEnd();
          if (end == 0) {
            stop = true;
            break;
          }
          Stream->SetPosition(end);
          break;
        }
        auto* view = dynamic_cast<TzrView*>(object);
        if (view == nullptr) {
          delete object;
          Damaged("objet de type inconnu ("_a + IntToStr(kind) + ")");
        }
        page->AddObject(view);
        if (version >= 24) readEnd();
        view->ReadRecord(Stream);
        view->SetProperty("Name", Variant(view->Name));
        if (framed) {
          if (BytesLeft(Stream) < 8) Damaged("objet tronqué");
          Stream->Seek(8, soCurrent);
        }
        if (end != 0) {
          if (Stream->Position() > end) Damaged("objet plus long que son enregistrement");
          Stream->SetPosition(end);
        }
        break;
      }
    }
  }
  zrEngine.CurPage = nullptr;
  if (!missing.empty()) throw EMissingClasses(missing);
}

void TzrPages::WriteObjectList(TStream* Stream) {
  if (Count() > kMaxPages) throw EWriteError("Un état a au plus 256 pages"_a);
  WriteI16(Stream, static_cast<std::int16_t>(Report->PrintToDefault));
  WriteI16(Stream, static_cast<std::int16_t>(Report->DoublePass));
  String printer = zrPrinter()->CurrentPrinterName();
  if (printer == EngineString(55007)) printer = "\001";
  WriteCountedString(Stream, printer);
  for (auto& page : FPages) {
    WriteU8(Stream, kTagPage);
    page->WritePageHeader(Stream);
  }
  for (std::size_t p = 0; p < FPages.size(); ++p) {
    TzrPage* page = FPages[p].get();
    for (int i = 0; i < page->ObjectCount(); ++i) {
      TzrView* view = page->Objects(i);
      WriteU8(Stream, static_cast<std::uint8_t>(view->ObjectKind));
      if (view->ObjectKind == zrKindAddIn) WriteCountedString(Stream, view->ClassName());
      WriteU8(Stream, static_cast<std::uint8_t>(p));
      std::int64_t placeholder = Stream->Position();
      WriteU32(Stream, 0);
      view->WriteRecord(Stream);
      std::int64_t end = Stream->Position();
      Stream->SetPosition(placeholder);
      WriteU32(Stream, static_cast<std::uint32_t>(end));
      Stream->Seek(0, soEnd);
    }
  }
  WriteU8(Stream, kTagDictionary);
  Report->Dictionary()->SaveToStream(Stream);
}

// ---- The report information

void TzrReport::ReadReportInfo(TStream* Stream) {
  TzrReportInfo info;
  info.Comment = ReadU16Text(Stream);
  info.Name = ReadU16Text(Stream);
  info.Author = ReadU16Text(Stream);
  info.VMajor = ReadU16Text(Stream);
  info.VMinor = ReadU16Text(Stream);
  info.VRelease = ReadU16Text(Stream);
  info.VBuild = ReadU16Text(Stream);
  info.Password = HexDecode(ReadU16Text(Stream));
  info.GeneratorVersion = ReadU8(Stream);
  info.Protected = ReadU8(Stream);
  info.Created = ReadDouble(Stream);
  info.Changed = ReadDouble(Stream);
  Info = info;
}

void TzrReport::WriteReportInfo(TStream* Stream) {
  WriteU16Text(Stream, Info.Comment);
  WriteU16Text(Stream, Info.Name);
  WriteU16Text(Stream, Info.Author);
  WriteU16Text(Stream, Info.VMajor);
  WriteU16Text(Stream, Info.VMinor);
  WriteU16Text(Stream, Info.VRelease);
  WriteU16Text(Stream, Info.VBuild);
  WriteU16Text(Stream, HexEncode(Info.Password));
  WriteU8(Stream, static_cast<std::uint8_t>(Info.GeneratorVersion));
  WriteU8(Stream, static_cast<std::uint8_t>(Info.Protected));
  WriteDouble(Stream, Info.Created);
  WriteDouble(Stream, Info.Changed);
}

// ---- The template

void TzrReport::ReadTemplate(TStream* Stream) {
  ReadTemplateFrom(Stream, dynamic_cast<TMemoryStream*>(Stream) == nullptr);
}

void TzrReport::ReadTemplateFrom(TStream* Stream, bool FromFile) {
  zrEngine.Running = false;
  MakeCurrent(false);
  FDictionary->Clear();
  if (Stream->Position() >= Stream->Size()) return;
  TzrStreamVersionScope scope;
  int version = ReadU8(Stream);
  if (version <= 20) {
    version = 21;
    Stream->Seek(-1, soCurrent);
  }
  zrEngine.BuildError = false;
  zrEngine.BuildErrorText.clear();
  if (version > zrCurrentVersion) {
    ShowError("Format ZRF non supporté"_a);
    return;
  }
  zrEngine.StreamVersion = version;
  String missing;
  try {
    try {
      FPages->ReadObjectList(Stream);
    } catch (const EMissingClasses& E) {
      missing = E.Message;
    }
    // The object factory noted the missing classes as a build error too: that was the reading's.
    zrEngine.BuildError = false;
    zrEngine.BuildErrorText.clear();
    if (Stream->Position() < Stream->Size())
      ReadReportInfo(Stream);
    else
      ClearReportInfo();
  } catch (const Exception& E) {
    zrEngine.CurPage = nullptr;
    String text = "Format ZRF non supporté"_a;
    if (!E.Message.empty()) text += "\r" + E.Message;
    ShowError(text);
    EmptyToBlankPage();
    return;
  }
  if (!missing.empty())
    ShowError("Report contains the following non-plugged components:\r" + missing +
              "You must include these components into your project.");
  if (Info.Protected != 0 && FromFile) {
    String typed;
    bool accepted = zrPasswordPrompt != nullptr && zrPasswordPrompt(typed) && typed == Info.Password;
    if (!accepted) {
      ClearReportInfo();
      FileName = EngineString(55209);
      EmptyToBlankPage();
    }
  }
}

void TzrReport::WriteTemplate(TStream* Stream) {
  MakeCurrent(false);
  if (XmlOutput) {
    SaveReportAsXml(this, Stream);
    return;
  }
  WriteU8(Stream, zrCurrentVersion);
  FPages->WriteObjectList(Stream);
  WriteU8(Stream, kTagEnd);
  Info.GeneratorVersion = 88;
  Info.Changed = Now();
  WriteReportInfo(Stream);
}
