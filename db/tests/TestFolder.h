// This file implements the temporary folder that the database tests create their files in.
#pragma once

#include <gtest/gtest.h>

#include <random>

#include "OsPort.h"

class TestFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = OsPort::TempFolder() + "velbor-db-" + std::to_string(std::random_device()());
    ASSERT_TRUE(OsPort::CreateDirectory(Folder));
  }
  void TearDown() override { RemoveTree(Folder); }

  static void RemoveTree(const String& Path) {
    for (const String& name : OsPort::ListFolder(Path, "*")) {
      String child = Path + "\\" + name;
      if (OsPort::DirectoryExists(child)) RemoveTree(child); else OsPort::DeleteFile(child);
    }
    OsPort::RemoveDirectory(Path);
  }

  String PathOf(const String& Name) const { return Folder + "\\" + Name; }

  void WriteRaw(const String& Path, const std::string& Bytes) {
    OsPort::FileHandle file = OsPort::CreateFile(Path);
    ASSERT_NE(file, OsPort::InvalidHandle);
    OsPort::WriteFile(file, Bytes.data(), std::int64_t(Bytes.size()));
    OsPort::CloseFile(file);
  }

  std::string ReadRaw(const String& Path) {
    OsPort::FileHandle file = OsPort::OpenFile(Path, OsPort::fmOpenRead | OsPort::fmShareDenyNone);
    if (file == OsPort::InvalidHandle) return "<missing>";
    std::string bytes(std::size_t(OsPort::SeekFile(file, 0, OsPort::SeekOrigin::End)), '\0');
    OsPort::SeekFile(file, 0, OsPort::SeekOrigin::Begin);
    OsPort::ReadFile(file, bytes.data(), std::int64_t(bytes.size()));
    OsPort::CloseFile(file);
    return bytes;
  }

  String Folder;
};
