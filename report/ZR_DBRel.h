// This file implements the small database operations of the report engine: blob tests and copies,
// field-name listing and bookmarks, over the class library's dataset model.
#pragma once

#include "DataSet.h"

class TField;
class TObject;
class TStrings;

// True for the blob and memo kinds (ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle,
// ftTypedBinary, ftOraBlob); false for nullptr.
bool zrIsBlobField(TField* Field);
// A stream target receives the field's content and is rewound; a persistent target is assigned
// from the field.
void zrCopyBlobTo(TField* BlobField, TObject* Target);
// The data set's field names into List; errors are swallowed.
void zrListFieldNames(TDataSet* DataSet, TStrings* List);
TBookmark zrGetBookmark(TDataSet* DataSet);
void zrGotoBookmark(TDataSet* DataSet, const TBookmark& Bookmark);
void zrFreeBookmark(TDataSet* DataSet, TBookmark& Bookmark);
bool zrSameBookmark(TDataSet* DataSet, const TBookmark& A, const TBookmark& B);
