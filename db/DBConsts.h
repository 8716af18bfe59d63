// This file implements the types shared by the dataset model: states, field types and kinds, data
// events, fetch modes, bookmark flags, locate and filter options, and the French database messages.
#pragma once

#include "AnsiString.h"
#include "TypInfo.h"

enum TDataSetState {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
  dsCurValue,
  dsBlockRead,
  dsInternalCalc,
  dsOpening
};
VELBOR_ENUM(TDataSetState, "dsInactive", "dsBrowse", "dsEdit", "dsInsert", "dsSetKey", "dsCalcFields", "dsFilter",
            "dsNewValue", "dsOldValue", "dsCurValue", "dsBlockRead", "dsInternalCalc", "dsOpening")

// Native form of each type in a record buffer (GetFieldData/SetFieldData):
//   ftString, ftFixedChar: Size + 1 bytes of 1252 text, zero-terminated;
//   ftSmallint: int16; ftInteger, ftAutoInc: int32; ftWord: uint16; ftBoolean: int16 (0 or -1);
//   ftFloat, ftCurrency, ftBCD: double; ftDate, ftTime, ftDateTime, ftTimeStamp: TDateTime (a
//   double counted in days from 1899-12-30, for all of them); ftLargeint: int64;
//   ftBytes: Size bytes; ftVarBytes: a uint16 length then Size bytes;
//   ftWideString: a uint32 byte length then UTF-16 code units;
//   blobs (ftBlob, ftMemo, ftGraphic, ftFmtMemo...): through CreateBlobStream only.
enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
  ftOraBlob,
  ftOraClob,
  ftVariant,
  ftInterface,
  ftIDispatch,
  ftGuid,
  ftTimeStamp,
  ftFMTBcd
};
VELBOR_ENUM(TFieldType, "ftUnknown", "ftString", "ftSmallint", "ftInteger", "ftWord", "ftBoolean", "ftFloat",
            "ftCurrency", "ftBCD", "ftDate", "ftTime", "ftDateTime", "ftBytes", "ftVarBytes", "ftAutoInc", "ftBlob",
            "ftMemo", "ftGraphic", "ftFmtMemo", "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor",
            "ftFixedChar", "ftWideString", "ftLargeint", "ftADT", "ftArray", "ftReference", "ftDataSet",
            "ftOraBlob", "ftOraClob", "ftVariant", "ftInterface", "ftIDispatch", "ftGuid", "ftTimeStamp",
            "ftFMTBcd")

// Whether values of the type are texts: compared and searched as the text they hold.
constexpr bool IsTextFieldType(TFieldType Type) {
  return Type == ftString || Type == ftFixedChar || Type == ftWideString || Type == ftMemo || Type == ftFmtMemo ||
         Type == ftGuid;
}

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
VELBOR_ENUM(TFieldKind, "fkData", "fkCalculated", "fkLookup", "fkInternalCalc", "fkAggregate")

enum TFieldAttribute { faHiddenCol, faReadonly, faRequired, faLink, faUnNamed, faFixed };
VELBOR_ENUM(TFieldAttribute, "faHiddenCol", "faReadonly", "faRequired", "faLink", "faUnNamed", "faFixed")
using TFieldAttributes = TSet<TFieldAttribute>;

// Notifications a dataset sends to its data links (TDataLink) and fields. The intptr_t Info of
// DataEvent carries a TField* (deFieldChange, deRecordChange, deFocusControl), a scroll distance
// (deDataSetScroll), or 0.
enum TDataEvent {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  dePropertyChange,
  deFieldListChange,
  deFocusControl,
  deParentScroll,
  deConnectChange,
  deReconcileError,
  deDisabledStateChange
};

// Fetch direction of TDataSet::GetRecord, and its answer.
enum TGetMode { gmCurrent, gmNext, gmPrior };
enum TGetResult { grOK, grBOF, grEOF, grError };

// Where a record buffer stands: on a stored record, before the first, after the last, or a new
// record being inserted.
enum TBookmarkFlag { bfCurrent, bfBOF, bfEOF, bfInserted };

enum TLocateOption { loCaseInsensitive, loPartialKey };
VELBOR_ENUM(TLocateOption, "loCaseInsensitive", "loPartialKey")
using TLocateOptions = TSet<TLocateOption>;

enum TFilterOption { foCaseInsensitive, foNoPartialCompare };
VELBOR_ENUM(TFilterOption, "foCaseInsensitive", "foNoPartialCompare")
using TFilterOptions = TSet<TFilterOption>;

enum TUpdateStatus { usUnmodified, usModified, usInserted, usDeleted };
VELBOR_ENUM(TUpdateStatus, "usUnmodified", "usModified", "usInserted", "usDeleted")

enum TUpdateKind { ukModify, ukInsert, ukDelete };

// What an error handler (OnPostError, OnEditError, OnDeleteError) asks for: re-raise the error,
// leave silently (EAbort), or try the operation again.
enum TDataAction { daFail, daAbort, daRetry };
VELBOR_ENUM(TDataAction, "daFail", "daAbort", "daRetry")

enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

// How Resync places the current record in the buffer window.
enum TResyncModeItem { rmExact, rmCenter };
using TResyncMode = TSet<TResyncModeItem>;

// The database messages, in the program's French texts (1252).
namespace DBConsts {
inline const char* const SDataSetClosed = "Impossible d'effectuer cette opération sur un ensemble de données fermé"_a;
inline const char* const SDataSetOpen = "Impossible d'effectuer cette opération sur un ensemble de données ouvert"_a;
inline const char* const SNotEditing = "Ensemble de données non en mode édition ou insertion"_a;
inline const char* const SDataSetReadOnly = "Impossible de modifier un ensemble de données en lecture seule"_a;
inline const char* const SFieldNotFound = "Champ '%s' non trouvé"_a;
inline const char* const SDataSetEmpty = "Impossible d'effectuer cette opération sur un ensemble de données vide"_a;
inline const char* const SBookmarkNotFound = "Signet non trouvé"_a;
inline const char* const SFieldRequired = "Le champ '%s' doit avoir une valeur"_a;
inline const char* const SDuplicateFieldName = "Nom de champ '%s' en double"_a;
inline const char* const SFieldTypeMismatch = "Type non concordant pour le champ '%s', attendu : %s, réel : %s"_a;
inline const char* const SCircularDataLink = "Les liens de données circulaires ne sont pas autorisés"_a;
inline const char* const SNotBrowsing = "Ensemble de données non en mode consultation"_a;
inline const char* const SNoFieldType = "Le type du champ '%s' n'est pas géré"_a;
}  // namespace DBConsts
