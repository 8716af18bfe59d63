// This file implements the dataset and field services of the data-aware library: whether a text
// suits a field's type, the picture check of every field before posting, the library's filter
// switch and its Escape key, the field of a display label, joined texts for queries, the SQL
// token reader and rich-text detection. The services of the desktop database engine's tables
// (index search, index switching, stored pictures, aliases, answer tables) reach the engine-like
// table class of db/ (TTable); other datasets answer "not found".
#pragma once

#include <functional>
#include <memory>

#include "AnsiString.h"
#include "DBConsts.h"
#include "DataSet.h"
#include "TypInfo.h"
#include "qvPropAccess.h"

class TField;
class TMemoryStream;
class TRichEdit;
class TStrings;
class TTable;
class TWinControl;

// The library's filter options, published as "OnFilterOptions" by its dataset classes.
enum TqvOnFilterOption { ofoEnabled, ofoShowHourGlass, ofoCancelOnEscape };
VELBOR_ENUM(TqvOnFilterOption, "ofoEnabled", "ofoShowHourGlass", "ofoCancelOnEscape")
using TqvOnFilterOptions = TSet<TqvOnFilterOption>;

// Type and text tests.
bool qvIsValidTextForType(TFieldType DataType, const String& Text);
bool qvIsValidTextForField(TField* Field, const String& Text);
// False for no field, and for an empty text in a numeric, date or time field.
bool qvIsValidSearchText(TField* Field, const String& Text);
// Small integer, integer, word, float, currency, auto-increment.
bool qvIsNumericFieldType(TFieldType DataType);
// False for bytes, varbytes, blob and graphic.
bool qvIsSearchableFieldType(TFieldType DataType);
bool qvIsCalcOrLookupField(TField* Field);
// A calculated or lookup field, or one whose dataset is not engine-based (by class name).
bool qvNeedsRecordScan(TField* Field);
bool qvIsCompatibleDataSet(TDataSet* DataSet);
int qvCompareBookmarks(TDataSet* DataSet, const TBookmark& A, const TBookmark& B);

// The engine-like tables (TTable of db/). Other datasets: a search answers false without moving,
// the index services change nothing, the tests answer false or empty.
// Moves a table to the nearest key whose index field Position (0-based; the fields before it keep
// the current record's values) is Text; whether that field then holds the text (a text field: it
// begins with it, case ignored, accents counted: the rows after an accented variant are read on). A table without active index warns and answers false; a text
// the field cannot hold moves nothing.
bool qvFindNearestInIndex(TDataSet* DataSet, const String& Text, int Position);
// The index orders text by its letters, then by accents among equal letters, without case. From
// the current row, reads on through the rows with the same leading index fields whose field at
// Position has Text's letters (its first letters only when Partial), whatever their accents and
// case, until Holds() is true; none: the table goes back to the row it started on. A field the
// index sorts downward is not read on.
bool qvReadOnThroughSameLetters(TTable* Table, int Position, const String& Text, bool Partial,
                                const std::function<bool()>& Holds);
// Makes IndexName the table's active index.
void qvSwitchTableIndex(TDataSet* DataSet, const String& IndexName);
// Makes active the first index whose fields begin with Fields, case-sensitive ones first.
void qvSetIndexForFields(TDataSet* DataSet, const String& Fields);
bool qvTableHasIndex(TDataSet* DataSet);
bool qvTableHasQuery(TDataSet* DataSet);
String qvGetTableFieldPicture(TDataSet* DataSet, const String& FieldName);
String qvGetAliasPath(const String& Alias);
// False for an empty name; an alias (":alias:table") without folder shows "Invalid Alias in
// QBE". Query-by-example answer tables have no counterpart over SQLite: none is ever made.
bool qvPrepareAnswerTable(TDataSet* DataSet, void* Statement, const String& AnswerName);

// True for an empty text; otherwise the text must complete the picture.
bool qvTextMatchesPicture(const String& Mask, const String& Text);
// Checks every field against its picture mask; the first writable field whose text does not fit
// takes the focus, OnInvalidValue is called, and EDatabaseError is raised with the global
// PictureValidateError text and the field's display name. Read-only fields are passed over.
void qvValidateDataSetPictures(TDataSet* DataSet, TqvInvalidValueEvent OnInvalidValue);

// The published OnFilterOptions, else [ofoEnabled] while Filtered.
TqvOnFilterOptions qvGetFilterOptions(TDataSet* DataSet);
void qvSetFilterEnabled(TDataSet* DataSet, bool On);
// Looks at the next keyboard message of the thread: an Escape key-down is removed and turns the
// filter off (true); any other keystroke stays queued for its window (false).
bool qvFilterEscapePressed(TDataSet* DataSet);

// The first field whose display label is Label (case ignored, "~" read as a blank); empty when none.
String qvFieldNameFromDisplayLabel(TDataSet* DataSet, const String& Label);
// The first line equal to Text, case ignored; -1 when none.
int qvIndexOfText(TStrings* List, const String& Text);
// The lines joined by a blank or by CR LF (none after the last), zero-terminated.
std::unique_ptr<char[]> qvStringsToText(TStrings* List, bool BlankSeparated);
// The next token of an (upper-cased) SQL text: a quoted text with its quotes, a word of "$", ".",
// digits, A-Z and "_", or one other character. An unterminated quote gives an empty token and
// leaves Pos on the quote.
void qvGetSqlToken(const String& Text, int& Pos, String& Token);
// A blob field whose "ControlType" line says RichEdit, or (CheckData) whose data starts "{\rtf".
bool qvIsRichTextField(TField* Field, bool CheckData);
// Converts the Length bytes of rich text in Buffer to plain text, written back into Buffer
// zero-terminated; Buffer has room for Length + 1 bytes, a longer plain text is cut there, and
// Length becomes the plain text's length. Text that is not rich text is taken as it is. The
// stream and the invisible rich edit (owned by and parented to Owner) are made on the first call
// and kept in the references for the next ones; the owner frees them.
void qvRichTextToPlainBuffer(TWinControl* Owner, char* Buffer, int& Length, TMemoryStream*& Stream,
                             TRichEdit*& RichEdit);
