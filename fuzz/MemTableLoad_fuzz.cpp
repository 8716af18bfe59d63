// This file implements the fuzz target of the in-memory table's stream loading: lines of a stream
// read through a load format into a table with a unique index, a sorted index and an attached
// table, under options chosen by the input; the same lines then edit the loaded table with its
// indexes maintained. After each step the indexes hold only records of the store, in order.
#include <cstring>
#include <memory>

#include "FieldDefs.h"
#include "FuzzSupport.h"
#include "StrUtils.h"
#include "Streams.h"
#include "qmtMemTable.h"

namespace {

// Runs one line against the table: "+v|v|v" appends, "=v|v|v" replaces the current record's
// values, "-" deletes the current record, "^" "<" ">" move, "?code" locates, "f..." sets the
// filter text and "i..." the index field names. Values go to num, code and lib in turn.
void RunLine(TqmtCustomMemTable* T, const String& Line) {
  if (Line.empty()) return;
  String Rest = Line.substr(1);
  auto SetValues = [&] {
    std::size_t P = 0;
    for (int Column = 0; Column < 3 && P <= Rest.size(); ++Column) {
      std::size_t Bar = Rest.find('|', P);
      String V = Rest.substr(P, Bar == String::npos ? String::npos : Bar - P);
      P = Bar == String::npos ? Rest.size() + 1 : Bar + 1;
      TField* F = T->Fields()->Fields(Column);
      if (V == "~") F->Clear();
      else F->SetAsString(V);
    }
  };
  try {
    switch (Line[0]) {
      case '+': T->Append(); SetValues(); T->Post(); break;
      case '=': if (!T->IsEmpty()) { T->Edit(); SetValues(); T->Post(); } break;
      case '-': if (!T->IsEmpty()) T->Delete(); break;
      case '^': T->First(); break;
      case '<': T->Prior(); break;
      case '>': T->Next(); break;
      case '?': T->Locate("code", Variant(Rest), {}); break;
      case 'f': T->SetFilter(Rest); T->SetFiltered(!Rest.empty()); break;
      case 'i': T->SetIndexFieldNames(Rest); break;
      default: break;
    }
  } catch (const Exception&) {
    // A filter that cannot be evaluated makes every move raise, the cancel's own included.
    try {
      if (T->State() == dsEdit || T->State() == dsInsert) T->Cancel();
    } catch (const Exception&) {
    }
  }
}

std::vector<String> Lines(const String& Text) {
  std::vector<String> Out;
  std::size_t Start = 0;
  for (std::size_t End; (End = Text.find('\n', Start)) != String::npos; Start = End + 1)
    Out.push_back(Text.substr(Start, End - Start));
  if (Start < Text.size()) Out.push_back(Text.substr(Start));
  return Out;
}

// A format whose records are the lines of the stream, run as commands.
struct TLineFormat : TqmtCustomStreamFormat {
  using TqmtCustomStreamFormat::TqmtCustomStreamFormat;
  void MatchLoadField(TDataSet* D, const String& Name, bool, int& Index, int, int) override {
    if (TField* F = D->FindField(Name)) Index = F->Index();
  }
  void ReadRecords(TqmtCustomMemTable* T) override {
    String All(std::size_t(Stream()->Size() - Stream()->Position()), '\0');
    if (!All.empty()) Stream()->ReadBuffer(All.data(), std::int64_t(All.size()));
    for (const String& Line : Lines(All)) RunLine(T, Line);
  }
};

// Every index entry is a record the store holds, every maintained, ordered index is in key
// order, and the store's slots agree.
void CheckIndexes(TqmtCustomMemTable* T) {
  if (!T->Active()) return;
  Fuzz::Check(T->Indexes()->CheckEntriesStored(), "an index holds a freed record");
  for (int I = 0; I < T->Indexes()->Count(); ++I) {
    TqmtIndex* X = T->Indexes()->Items(I);
    if (X->Ordered() && T->EnableIndexes && X->Enabled && !X->CheckOrder()) {
      std::fprintf(stderr, "index %s on \"%s\" of %s:\n", X->Name().c_str(), X->FieldNames().c_str(), T->Name().c_str());
      for (int P = 0; P < X->Count(); ++P) {
        String Line;
        for (int F = 0; F < T->FieldCount(); ++F) {
          const char* A = T->Store()->FieldAddress(X->Entry(P), F + 1);
          Line += TqmtCommon::IsNull(A) ? String("<null>") : String(A + 1, F == 0 ? 0 : std::strlen(A + 1));
          std::int32_t Num = 0;
          if (F == 0 && !TqmtCommon::IsNull(A)) std::memcpy(&Num, A + 1, 4);
          Line += F == 0 && !TqmtCommon::IsNull(A) ? IntToStr(Num) : String();
          Line += " | ";
        }
        std::fprintf(stderr, "  %s\n", Line.c_str());
      }
      Fuzz::Broken("an ordered index is in order");
    }
  }
  Fuzz::Check(T->Store()->CheckSlots(), "the store's slots agree");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return 0;
  // The first byte chooses the table's options.
  std::uint8_t Flags = Data[0];
  TComponent Owner(nullptr);
  auto* T = new TqmtMemTable(&Owner);
  T->SetName("Main");
  T->FieldDefs()->Add("num", ftInteger);
  T->FieldDefs()->Add("code", ftString, 10);
  T->FieldDefs()->Add("lib", ftString, 40);
  T->SetEnableVersioning(Flags & 1);
  T->AutoReposition = Flags & 2;
  auto* Attached = new TqmtMemTable(&Owner);
  Attached->SetName("Attached");
  Attached->SetAttachedTo(T);
  T->Open();
  if (Flags & 4) Attached->Open();
  TqmtIndexOptions Unique;
  if (Flags & 8) Unique.Include(ixUnique);
  T->AddIndex("byCode", "code", qisDefault, Unique);
  T->AddIndex("byLib", "lib:C;num:D");
  if (Attached->Active()) Attached->AddIndex("byLib", "lib");
  if (Flags & 16) T->SetIndexName("byLib");
  if (Flags & 32) T->Indexes()->Find("byCode")->Enabled = false;
  if (Attached->Active() && (Flags & 64)) Attached->EnableIndexes = false;

  String Text = Fuzz::Text(Data + 1, Size - 1);
  TLineFormat Format(nullptr);
  TMemoryStream Stream;
  Stream.WriteBuffer(Text.data(), std::int64_t(Text.size()));
  try {
    T->LoadFromStream(&Stream, &Format);
  } catch (const Exception&) {
  }
  CheckIndexes(T);
  CheckIndexes(Attached);
  // The same lines again, through the table with its indexes maintained.
  if (Flags & 128) T->EnableIndexes = !T->EnableIndexes;
  for (const String& Line : Lines(Text)) {
    RunLine(T, Line);
    CheckIndexes(T);
    CheckIndexes(Attached);
  }
  return 0;
}
