// This file implements TCustomADODataSet::SearchRows: the search of one field's text through the
// rows in memory, from the first row or from the one after the current row.
#include <algorithm>
#include <cstring>

#include "ADOCellCodec.h"
#include "ADODB.h"
#include "ADOStore.h"
#include "Field.h"
#include "ScopeGuard.h"

bool TCustomADODataSet::SearchRows(TField* Field, const std::function<bool(std::string_view Text)>& Matches,
                                   bool FromFirst, bool& Handled) {
  CheckBrowseMode();
  Handled = false;
  TAdoCursor& C = *FCursor;
  int Column = Field->FieldNo() - 1;
  if (Field->DataSet() != this || Field->FieldKind() != fkData || Column < 0 || Column >= int(C.Columns.size()))
    return false;
  Handled = true;
  int Start = 0;
  if (!FromFirst) {
    if (IsEmpty()) return false;
    const auto* Info = reinterpret_cast<const TAdoRecInfo*>(ActiveBuffer() + C.InfoOffset);
    int Current = IndexOfId(Info->Id, Info->Index);
    Start = (Current >= 0 ? Current : Info->Index) + 1;
  }
  const TAdoColumn& Col = C.Columns[std::size_t(Column)];
  // An 8-bit text read in place: no copy for each row.
  bool InPlace = NativeKindOf(Col.Type) == TNativeKind::Text8 &&
                 NativeKindOf(Field->DataType()) == TNativeKind::Text8;
  bool Stored = IsTextFieldType(Field->DataType());
  std::size_t Limit = std::min(std::size_t(Col.Size), std::size_t(Field->Size()));
  // Any other field reads as its AsString, the row loaded into the search buffer.
  auto FieldText = [&](int Index) {
    if (C.Scratch == nullptr) C.Scratch = AllocRecordBuffer();
    FillBuffer(C.Scratch, Index);
    char* SaveBuffer = FilterBuffer;
    TDataSetState SaveState = SetTempState(dsFilter);
    FilterBuffer = C.Scratch;
    TScopeGuard restore([&] {
      FilterBuffer = SaveBuffer;
      RestoreState(SaveState);
    });
    return Field->AsString();
  };
  for (int Index = Start; C.HaveRow(Index); ++Index) {
    const TAdoRow& Row = C.Rows[std::size_t(Index)];
    if (Row.Status == usDeleted) continue;
    const char* Data = Row.Data.get();
    bool Match;
    if (InPlace) {
      const char* Value = Data + Col.Offset;
      Match = Matches(IsNullCell(Data, Col.Index) ? std::string_view() : std::string_view(Value, strnlen(Value, Limit)));
    } else if (Stored) {
      Match = Matches(AdoCell::Text(Col, Data, Row.Blobs));
    } else {
      Match = Matches(FieldText(Index));
    }
    if (!Match || !RowVisible(Index)) continue;
    DoBeforeScroll();
    C.Position = Index;
    Resync(TResyncMode{rmExact, rmCenter});
    DoAfterScroll();
    return true;
  }
  return false;
}
