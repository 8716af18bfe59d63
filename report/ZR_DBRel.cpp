// This file implements the small database operations of the report engine.
#include "ZR_DBRel.h"

#include "Field.h"
#include "FieldDefs.h"
#include "Persistent.h"
#include "Streams.h"
#include "Strings.h"

bool zrIsBlobField(TField* Field) {
  if (Field == nullptr) return false;
  switch (Field->DataType()) {
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftParadoxOle: case ftDBaseOle:
    case ftTypedBinary: case ftOraBlob:
      return true;
    default:
      return false;
  }
}

void zrCopyBlobTo(TField* BlobField, TObject* Target) {
  if (auto* stream = dynamic_cast<TStream*>(Target)) {
    if (auto* blob = dynamic_cast<TBlobField*>(BlobField)) {
      blob->SaveToStream(stream);
    } else {
      String content = BlobField->AsString();
      stream->WriteBuffer(content.data(), std::int64_t(content.size()));
    }
    stream->SetPosition(0);
  } else if (auto* persistent = dynamic_cast<TPersistent*>(Target)) {
    persistent->Assign(BlobField);
  }
}

void zrListFieldNames(TDataSet* DataSet, TStrings* List) {
  try {
    DataSet->GetFieldNames(List);
    // A closed data set without persistent fields still knows its columns by their definitions.
    if (List->Count() == 0 && DataSet->FieldDefs() != nullptr) {
      TFieldDefs* defs = DataSet->FieldDefs();
      defs->Update();
      for (int i = 0; i < defs->Count(); ++i) List->Add(defs->Items(i)->Name());
    }
  } catch (...) {
    // The caller only wants what can be listed.
  }
}

TBookmark zrGetBookmark(TDataSet* DataSet) { return DataSet->GetBookmark(); }
void zrGotoBookmark(TDataSet* DataSet, const TBookmark& Bookmark) { DataSet->GotoBookmark(Bookmark); }
void zrFreeBookmark(TDataSet* DataSet, TBookmark& Bookmark) { DataSet->FreeBookmark(Bookmark); }

bool zrSameBookmark(TDataSet* DataSet, const TBookmark& A, const TBookmark& B) {
  return DataSet->CompareBookmarks(A, B) == 0;
}
