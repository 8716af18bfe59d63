// Tests of the streams: memory and string streams, the buffer calls and their errors, CopyFrom,
// a replaced memory allocator, and file streams in a temporary folder.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Exceptions.h"
#include "OsPort.h"
#include "Streams.h"

namespace {

String Contents(TMemoryStream& S) { return String(static_cast<const char*>(S.Memory()), std::size_t(S.Size())); }

TEST(TMemoryStreamTest, WriteSeekReadAndSize) {
  TMemoryStream S;
  S.WriteBuffer("abcdef", 6);
  EXPECT_EQ(S.Position(), 6);
  EXPECT_EQ(S.Size(), 6);

  struct Case {
    std::int64_t Offset;
    TSeekOrigin Origin;
    std::int64_t Position;
    std::int64_t Want;
    String Read;
  };
  const Case Cases[] = {
      {0, soBeginning, 0, 3, "abc"},
      {-2, soEnd, 4, 10, "ef"},    // a short read stops at the end
      {6, soBeginning, 6, 1, ""},  // at the end: nothing
      {9, soBeginning, 9, 2, ""},  // past the end: nothing, no error
  };
  for (const Case& K : Cases) {
    EXPECT_EQ(S.Seek(K.Offset, K.Origin), K.Position);
    char Buffer[16] = {};
    std::int64_t N = S.Read(Buffer, K.Want);
    EXPECT_EQ(String(Buffer, std::size_t(N)), K.Read) << K.Offset;
  }
  S.SetPosition(2);
  EXPECT_EQ(S.Seek(1, soCurrent), 3);
  S.WriteBuffer("XY", 2);  // overwrites in place
  EXPECT_EQ(Contents(S), "abcXYf");

  // Writing past the end grows the stream; the gap reads as zero bytes.
  S.Seek(2, soEnd);
  S.WriteBuffer("!", 1);
  EXPECT_EQ(Contents(S), String("abcXYf\0\0!", 9));
}

TEST(TMemoryStreamTest, SetSizeKeepsContentAndClampsPosition) {
  TMemoryStream S;
  S.WriteBuffer("0123456789", 10);
  S.SetSize(4);
  EXPECT_EQ(S.Size(), 4);
  EXPECT_EQ(S.Position(), 4);  // was past the new end
  EXPECT_EQ(Contents(S), "0123");
  S.SetPosition(1);
  S.SetSize(20000);
  EXPECT_EQ(S.Position(), 1);
  EXPECT_EQ(std::memcmp(S.Memory(), "0123", 4), 0);
  S.Clear();
  EXPECT_EQ(S.Size(), 0);
  EXPECT_EQ(S.Position(), 0);
  EXPECT_EQ(S.Memory(), nullptr);
}

TEST(TStreamBuffers, ShortTransfersRaise) {
  TMemoryStream S;
  S.WriteBuffer("abc", 3);
  S.SetPosition(1);
  char Buffer[8];
  try {
    S.ReadBuffer(Buffer, 3);
    ADD_FAILURE() << "no exception";
  } catch (const EReadError& E) {
    EXPECT_EQ(E.Message, "Erreur de lecture du flux");
  }
  S.SetPosition(0);
  S.ReadBuffer(Buffer, 3);
  EXPECT_EQ(String(Buffer, 3), "abc");
  S.ReadBuffer(Buffer, 0);  // nothing asked, nothing raised

  // A device that takes two bytes at a time.
  class TNarrowStream : public TStringStream {
   public:
    std::int64_t Write(const void* Buffer, std::int64_t Count) override {
      return TStringStream::Write(Buffer, Count < 2 ? Count : 2);
    }
  } Narrow;
  Narrow.WriteBuffer("ab", 2);
  try {
    Narrow.WriteBuffer("cde", 3);
    ADD_FAILURE() << "no exception";
  } catch (const EWriteError& E) {
    EXPECT_EQ(E.Message, "Erreur d'écriture du flux"_a);
  }
}

TEST(TStreamCopy, CopyFromCountOrWholeSource) {
  TStringStream Source("0123456789");
  Source.SetPosition(7);
  TMemoryStream Target;
  // Count 0: the whole source from its start, whatever its position.
  EXPECT_EQ(Target.CopyFrom(&Source, 0), 10);
  EXPECT_EQ(Contents(Target), "0123456789");
  EXPECT_EQ(Source.Position(), 10);

  Source.SetPosition(3);
  Target.Clear();
  EXPECT_EQ(Target.CopyFrom(&Source, 4), 4);
  EXPECT_EQ(Contents(Target), "3456");
  EXPECT_EQ(Source.Position(), 7);
  EXPECT_THROW(Target.CopyFrom(&Source, 4), EReadError);  // only 3 left

  // Larger than the copy buffer, to cross chunk boundaries.
  String Big;
  for (int I = 0; I < 200000; ++I) Big += char('a' + I % 26);
  TStringStream BigSource(Big);
  TStringStream BigTarget;
  EXPECT_EQ(BigTarget.CopyFrom(&BigSource, 0), 200000);
  EXPECT_EQ(BigTarget.DataString(), Big);
}

TEST(TStringStreamTest, ReadWriteStringsAndSize) {
  TStringStream S("Marais");
  EXPECT_EQ(S.ReadString(3), "Mar");
  EXPECT_EQ(S.ReadString(10), "ais");
  EXPECT_EQ(S.ReadString(1), "");
  S.SetPosition(1);
  S.WriteString("\xE9tang salant");  // overwrites and grows
  EXPECT_EQ(S.DataString(), "M\xE9tang salant");
  S.SetSize(6);
  EXPECT_EQ(S.DataString(), "M\xE9tang");
  EXPECT_EQ(S.Position(), 6);
  EXPECT_EQ(S.Seek(-5, soEnd), 1);
}

// A memory stream that takes its block from its own allocator, with its own rounding, as a
// descendant that needs another heap does.
class TCountingMemoryStream : public TMemoryStream {
 public:
  ~TCountingMemoryStream() override { Clear(); }
  std::vector<std::int64_t> Requests;
  int Live = 0;

 protected:
  void* Realloc(std::int64_t& NewCapacity) override {
    Requests.push_back(NewCapacity);
    if (NewCapacity > 0) NewCapacity = (NewCapacity + 0xFFFF) & ~std::int64_t(0xFFFF);
    if (NewCapacity == Capacity()) return Memory();
    std::vector<char>* Old = Block;
    Block = nullptr;
    if (NewCapacity > 0) {
      Block = new std::vector<char>(std::size_t(NewCapacity));
      if (Old) std::memcpy(Block->data(), Old->data(), std::min(Old->size(), Block->size()));
      ++Live;
    }
    if (Old) {
      delete Old;
      --Live;
    }
    return Block ? Block->data() : nullptr;
  }

 private:
  std::vector<char>* Block = nullptr;
};

TEST(TMemoryStreamTest, DescendantReallocProvidesTheBlock) {
  TCountingMemoryStream S;
  S.WriteBuffer("abc", 3);
  EXPECT_EQ(S.Capacity(), 0x10000);  // the rounded capacity is kept
  String Large(0x10000, 'z');
  S.WriteBuffer(Large.data(), std::int64_t(Large.size()));
  EXPECT_EQ(S.Capacity(), 0x20000);
  EXPECT_EQ(S.Size(), 0x10003);
  EXPECT_EQ(std::memcmp(S.Memory(), "abcz", 4), 0);  // content moved to the new block
  S.WriteBuffer("!", 1);                             // fits: no new request
  EXPECT_EQ(S.Requests, (std::vector<std::int64_t>{3, 0x10003}));
  EXPECT_EQ(S.Live, 1);
  S.Clear();
  EXPECT_EQ(S.Live, 0);
}

// ---- files ---------------------------------------------------------------------------------

class TFileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = OsPort::TempFolder() + "streams_test_" + std::to_string(OsPort::TickCount());
    ASSERT_TRUE(OsPort::CreateDirectory(Folder)) << OsPort::LastErrorMessage();
    Folder += "\\";
  }
  void TearDown() override {
    for (const String& Name : OsPort::ListFolder(Folder, "*")) OsPort::DeleteFile(Folder + Name);
    OsPort::RemoveDirectory(Folder.substr(0, Folder.size() - 1));
  }
  String Folder;
};

TEST_F(TFileStreamTest, WriteReopenReadSeekAndResize) {
  String Name = Folder + "donn\xE9" "es.bin";  // données.bin
  {
    TFileStream F(Name, fmCreate);
    F.WriteBuffer("Zone humide", 11);
    EXPECT_EQ(F.Size(), 11);
    F.SetPosition(5);
    F.WriteBuffer("H", 1);
    F.SetSize(8);
    EXPECT_EQ(F.Position(), 6);
    EXPECT_EQ(F.Size(), 8);
  }
  EXPECT_TRUE(OsPort::FileExists(Name));
  {
    TFileStream F(Name, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(F.FileName(), Name);
    char Buffer[16] = {};
    EXPECT_EQ(F.Read(Buffer, 16), 8);
    EXPECT_EQ(String(Buffer, 8), "Zone Hum");
    EXPECT_EQ(F.Seek(-3, soEnd), 5);
    EXPECT_EQ(F.Read(Buffer, 3), 3);
    EXPECT_EQ(String(Buffer, 3), "Hum");
    // Opened for reading only: writing fails as a write error.
    EXPECT_THROW(F.WriteBuffer("x", 1), EWriteError);
  }
  {
    TFileStream F(Name, fmOpenReadWrite);
    F.Seek(0, soEnd);
    F.WriteBuffer("!", 1);
  }
  TMemoryStream M;
  M.LoadFromFile(Name);
  EXPECT_EQ(Contents(M), "Zone Hum!");
  {
    TFileStream F(Name, fmCreate);  // creating again truncates
    EXPECT_EQ(F.Size(), 0);
  }
  M.SaveToFile(Name);
  TMemoryStream Again;
  Again.LoadFromFile(Name);
  EXPECT_EQ(Contents(Again), "Zone Hum!");
}

TEST_F(TFileStreamTest, MissingFileOrFolderRaisesWithTheName) {
  String Missing = Folder + "absent.txt";
  try {
    TFileStream F(Missing, fmOpenRead);
    ADD_FAILURE() << "no exception";
  } catch (const EFOpenError& E) {
    String Prefix = "Impossible d'ouvrir le fichier " + Missing + ". ";
    EXPECT_EQ(E.Message.substr(0, Prefix.size()), Prefix);
    EXPECT_GT(E.Message.size(), Prefix.size()) << "the system's reason is missing";
  }
  String NoFolder = Folder + "absent\\nouveau.txt";
  try {
    TFileStream F(NoFolder, fmCreate);
    ADD_FAILURE() << "no exception";
  } catch (const EFCreateError& E) {
    String Prefix = "Impossible de créer le fichier "_a + NoFolder + ". ";
    EXPECT_EQ(E.Message.substr(0, Prefix.size()), Prefix);
  }
  EXPECT_FALSE(OsPort::FileExists(Missing));
  EXPECT_FALSE(OsPort::FileExists(NoFolder));
}

}  // namespace
