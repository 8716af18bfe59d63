// This file implements a small record store for the store, index and filter tests: a layout of
// columns, records written by value, and an index owner without a table.
#pragma once

#include <cstring>
#include <vector>

#include "qmtMemTable_Index.h"

struct StoreFixture : TqmtIndexOwner {
  TqmtCommon Store{nullptr};
  std::vector<TqmtColumnDef> Columns;

  TqmtCommon* IndexStore() const override { return const_cast<TqmtCommon*>(&Store); }

  void Layout(std::vector<TqmtColumnDef> C, TqmtPerformance P = mtpfFast) {
    Columns = std::move(C);
    Store.SetPerformance(P);
    Store.ComputeRecordLayout(Columns, 0);
  }

  // Writes a value in the store's form; a null pointer writes null.
  void SetInt(TqmtRow* R, int FieldNo, const int* V) {
    char* A = Store.FieldAddress(R, FieldNo);
    *A = V ? 2 : 0;
    std::int32_t X = V ? *V : 0;
    std::memcpy(A + 1, &X, 4);
  }
  void SetInt(TqmtRow* R, int FieldNo, int V) { SetInt(R, FieldNo, &V); }
  void SetStr(TqmtRow* R, int FieldNo, const char* V) {
    const TqmtColumnDef& C = Columns[std::size_t(FieldNo - 1)];
    if (Store.IsVarLength(FieldNo)) {
      if (!V) {
        Store.SetVarValue(R, FieldNo, nullptr, 0);
      } else if (Store.FieldFlags(FieldNo) & qffCompressed) {
        Store.SetVarValue(R, FieldNo, V, std::uint32_t(std::strlen(V) + 1));
      } else {
        std::vector<char> Full(std::size_t(C.Size + 1), 0);
        std::strncpy(Full.data(), V, std::size_t(C.Size));
        Store.SetVarValue(R, FieldNo, Full.data(), std::uint32_t(Full.size()));
      }
      return;
    }
    char* A = Store.FieldAddress(R, FieldNo);
    std::memset(A + 1, 0, std::size_t(C.Size + 1));
    *A = V ? 2 : 0;
    if (V) std::strncpy(A + 1, V, std::size_t(C.Size));
  }
  String GetStr(const TqmtRow* R, int FieldNo) {
    if (Store.IsVarLength(FieldNo)) {
      String B;
      if (!Store.ReadVarValue(R, FieldNo, B)) return "<null>";
      return String(B.c_str());
    }
    const char* A = Store.FieldAddress(R, FieldNo);
    return *A ? String(A + 1) : String("<null>");
  }
  int GetInt(const TqmtRow* R, int FieldNo) {
    std::int32_t X;
    std::memcpy(&X, Store.FieldAddress(R, FieldNo) + 1, 4);
    return X;
  }

  // A new stored record.
  TqmtRow* Add() {
    TqmtRow* R = Store.NewRecord();
    Store.AddRecord(R);
    return R;
  }

  // A field list over the given 1-based columns with options.
  TqmtFieldList List(std::initializer_list<std::pair<int, std::uint8_t>> Fields) {
    TqmtFieldList L;
    for (auto [No, Opt] : Fields) {
      TqmtFieldList::Entry E;
      E.FieldNo = No;
      E.Offset = Store.FieldOffset(No);
      E.DataType = Columns[std::size_t(No - 1)].DataType;
      E.Size = Columns[std::size_t(No - 1)].Size;
      E.Options = Opt;
      L.Add(E);
    }
    return L;
  }
};
