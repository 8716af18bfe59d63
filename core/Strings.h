// This file implements the string lists of the class library: TStrings, the abstract list of
// lines with an object per line, and TStringList, the list held in memory (sorted or not).
//
// Indexed access. The platform's indexed properties are methods here:
//   List->Strings[i]        reads   List->Strings(i)   (or (*List)[i])
//   List->Strings[i] := s   is      List->Put(i, s)
//   List->Objects[i]        reads   List->Objects(i)
//   List->Objects[i] := o   is      List->PutObject(i, o)
//   List->Values[n] := v    is      List->SetValue(n, v)
// Get/Put/GetObject/PutObject/GetCount are the overridables a descendant implements; Strings,
// Objects and Count are their readable names for callers.
//
// Line breaks: Text ends every line, the last included, with CR LF; setting Text splits on
// CR LF, CR alone or LF alone.
#pragma once

#include <vector>

#include "AnsiString.h"
#include "Event.h"
#include "Persistent.h"

class TStream;

class TStrings : public TPersistent {
  VELBOR_DECLARE_CLASS(TStrings, TPersistent)
 public:
  // Separators used by DelimitedText and by Names/Values. CommaText always uses ',' and '"' and
  // ignores StrictDelimiter.
  char Delimiter = ',';
  char QuoteChar = '"';
  char NameValueSeparator = '=';
  // False: blanks (characters up to the space) also separate items, and items holding them are
  // quoted. True: only Delimiter separates.
  bool StrictDelimiter = false;

  int Count() const { return GetCount(); }
  String Strings(int Index) const { return Get(Index); }
  String operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }

  String Text() const { return GetTextStr(); }
  void SetText(const String& Value) { SetTextStr(Value); }
  String CommaText() const;
  void SetCommaText(const String& Value);
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);

  // "name=value" lines. Names(i) is "" for a line without the separator; Values(Name) is "" when
  // no line has that name; SetValue with "" deletes the line, otherwise replaces or appends it.
  String Names(int Index) const;
  String Values(const String& Name) const;
  void SetValue(const String& Name, const String& Value);
  // The text after the first separator of line Index; "" for a line without the separator.
  String ValueFromIndex(int Index) const;
  void SetValueFromIndex(int Index, const String& Value);

  // The overridables.
  virtual String Get(int Index) const = 0;
  virtual void Put(int Index, const String& S);
  virtual TObject* GetObject(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);
  virtual int GetCount() const = 0;
  virtual String GetTextStr() const;
  virtual void SetTextStr(const String& Value);

  // Operations. Add returns the index of the new (or, in a sorted list, the kept) line.
  virtual int Add(const String& S);
  virtual int AddObject(const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);
  // Replaces the lines, objects and separators with those of Source, which must be string
  // lists (other sources go through TPersistent's AssignTo).
  void Assign(TPersistent* Source) override;
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual void Insert(int Index, const String& S) = 0;
  virtual void InsertObject(int Index, const String& S, TObject* AObject);
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  // Same lines in the same order, compared byte for byte.
  bool Equals(TStrings* Strings) const;
  // -1 when absent. The comparison is CompareStrings (the text order, case-insensitive, here).
  virtual int IndexOf(const String& S) const;
  int IndexOfName(const String& Name) const;
  int IndexOfObject(TObject* AObject) const;

  // Updates between BeginUpdate and the matching EndUpdate count as one change.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Files and streams hold Text as is: 1252 bytes, CR LF after every line.
  virtual void LoadFromFile(const String& FileName);
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToFile(const String& FileName);
  virtual void SaveToStream(TStream* Stream);

 protected:
  // Called with true when the first BeginUpdate opens a block, false when the last EndUpdate
  // closes it.
  virtual void SetUpdateState(bool Updating);
  virtual int CompareStrings(const String& S1, const String& S2) const;
  [[noreturn]] static void ListIndexError(int Index);

 private:
  String GetDelimited(char Delim, char Quote, bool Strict) const;
  void SetDelimited(const String& Value, char Delim, char Quote, bool Strict);

  int FUpdateCount = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Negative, zero or positive as line Index1 sorts before, with or after line Index2.
using TStringListSortCompare = int (*)(TStringList* List, int Index1, int Index2);

class TStringList : public TStrings {
  VELBOR_DECLARE_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  ~TStringList() override;

  // Sorted lists keep the CompareStrings order on every Add; setting Sorted sorts the list.
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  // False (default): the text order without case (AnsiCompareText); true: AnsiCompareStr.
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // How Add treats a line equal to one already there; sorted lists only.
  TDuplicates Duplicates = dupIgnore;
  // Lines deleted or cleared free their objects (and so does the destructor).
  bool OwnsObjects = false;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  int Capacity() const { return int(FList.capacity()); }
  void SetCapacity(int NewCapacity);

  String Get(int Index) const override;
  // Raises EStringListError on a sorted list.
  void Put(int Index, const String& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  int GetCount() const override { return int(FList.size()); }

  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  void Clear() override;
  void Delete(int Index) override;
  // Raises EStringListError on a sorted list.
  void Insert(int Index, const String& S) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  void Exchange(int Index1, int Index2) override;
  // Moves the line and its object (never freed on the way); raises on a sorted list.
  void Move(int CurIndex, int NewIndex) override;
  int IndexOf(const String& S) const override;

  // Binary search of a sorted list: true when S is there, Index the first line equal to S;
  // otherwise Index is where S would be inserted.
  virtual bool Find(const String& S, int& Index) const;
  // Sorts with CompareStrings. The sort is stable: equal lines keep their order.
  virtual void Sort();
  // Sorts an unsorted list with Compare (stable too); does nothing on a sorted list.
  virtual void CustomSort(TStringListSortCompare Compare);

 protected:
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const String& S1, const String& S2) const override;
  // Fire OnChanging / OnChange, outside update blocks only.
  virtual void Changing();
  virtual void Changed();

 private:
  struct TStringItem {
    String FString;
    TObject* FObject;
  };

  void CheckIndex(int Index) const;
  void InsertItem(int Index, const String& S, TObject* AObject);
  void SortItems(TStringListSortCompare Compare);

  std::vector<TStringItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
};
