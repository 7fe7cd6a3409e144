// The package reader on packages that python3-cryptography, zipfile and
// hashlib made (tests/package/make_fixtures.py), and on packages of our own
// writer. Runs natively and under Wine (Win32 file system).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <ctime>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "package/EntryName.h"
#include "package/Md5.h"
#include "package/PackageFormat.h"
#include "package/PackageUnpacker.h"
#include "package/PackageWriter.h"

namespace {

const std::string kFixtures = PACKAGE_FIXTURES;

std::string Fixture(const std::string& name) { return kFixtures + "/" + name; }

std::string FromHex(const std::string& hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

struct Expected {
  std::string name;
  bool folder;
  std::string md5;
  long long mtime;
};

std::vector<Expected> ReadManifest() {
  std::vector<Expected> out;
  std::istringstream in(testfiles::ReadAll(Fixture("manifest.txt")));
  std::string kind, hex, md5;
  long long host, jst;
  while (in >> kind >> hex) {
    if (kind == "D") {
      out.push_back({FromHex(hex), true, "", 0});
    } else {
      in >> md5 >> host >> jst;
#ifdef _WIN32
      out.push_back({FromHex(hex), false, md5, host});
#else
      out.push_back({FromHex(hex), false, md5, jst});
#endif
    }
  }
  return out;
}

class Unpack : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    // An entry's time is local time; a zone away from UTC shows whether the
    // conversion happens at all.
    setenv("TZ", "JST-9", 1);
    tzset();
#endif
    scratch_ = testfiles::NewScratchFolder("unpack");
    temp_ = scratch_ + "/tmp";
    testfiles::MakeFolder(temp_);
    testfiles::SetTempFolder(temp_);
    out_ = scratch_ + "/out";
  }
  void TearDown() override { testfiles::RemoveTree(scratch_); }

  int UnpackFixture(const std::string& name) { return package::Unpack(Fixture(name + ".upd"), out_, &reason_); }

  // The unpack folder is gone, and so is the decrypted temporary file; the
  // scratch folder holds nothing but the empty temporary folder.
  void ExpectNothingLeft() { EXPECT_EQ(testfiles::ListTree(scratch_), std::vector<std::string>{"tmp/"}); }

  void ExpectGoodTree() {
    std::vector<std::string> expectedTree;
    for (const Expected& e : ReadManifest()) {
      std::string path = out_ + "/" + e.name;
      if (e.folder) {
        expectedTree.push_back(e.name + "/");
        continue;
      }
      expectedTree.push_back(e.name);
      std::string data = testfiles::ReadAll(path);
      EXPECT_EQ(package::ToHex(package::Md5::Of(data.data(), data.size())), e.md5) << e.name;
      EXPECT_EQ(testfiles::ModifiedTime(path), e.mtime) << e.name;
    }
    expectedTree.push_back("bin/");  // made along "bin\\sub\\data.bin"
    expectedTree.push_back("bin/sub/");
    std::sort(expectedTree.begin(), expectedTree.end());
    EXPECT_EQ(testfiles::ListTree(out_), expectedTree);
    EXPECT_TRUE(testfiles::ListTree(temp_).empty());
  }

  std::string scratch_, temp_, out_, reason_;
};

TEST_F(Unpack, IndependentPackageKeepsFilesFoldersJapaneseNamesAndTimes) {
  ASSERT_EQ(UnpackFixture("good"), 1) << reason_;
  ExpectGoodTree();
}

TEST_F(Unpack, SurplusAfterTheLengthIsIgnored) {
  ASSERT_EQ(UnpackFixture("good_extra"), 1) << reason_;
  ExpectGoodTree();
  testfiles::RemoveTree(out_);
  ASSERT_EQ(UnpackFixture("good_junk_tail"), 1) << reason_;  // not even whole blocks
  ExpectGoodTree();
}

TEST_F(Unpack, OurWriterMakesTheSameBytesAsTheIndependentOne) {
  std::string ours = scratch_ + "/ours.upd";
  std::string error;
  ASSERT_TRUE(package::WritePackage(Fixture("good.zip"), ours, &error)) << error;
  EXPECT_TRUE(testfiles::ReadAll(ours) == testfiles::ReadAll(Fixture("good.upd")));
  ASSERT_EQ(package::Unpack(ours, out_, &reason_), 1) << reason_;
  testfiles::RemoveTree(scratch_ + "/ours.upd");
  std::remove(ours.c_str());
  ExpectGoodTree();
}

TEST_F(Unpack, FoldersOnlyAndLongestNameSucceed) {
  ASSERT_EQ(UnpackFixture("only_folders"), 1) << reason_;
  EXPECT_EQ(testfiles::ListTree(out_), (std::vector<std::string>{"a/", "a/b/", "a/b/c/"}));
  testfiles::RemoveTree(out_);
#ifdef _WIN32
  // Windows' ANSI functions stop at 260 characters: a clean failure.
  EXPECT_EQ(UnpackFixture("name_519"), 0);
  ExpectNothingLeft();
#else
  ASSERT_EQ(UnpackFixture("name_519"), 1) << reason_;
  EXPECT_EQ(testfiles::ListTree(out_).size(), 3u);
#endif
}

class BadPackage : public Unpack, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadPackage, FailsAndLeavesNothing) {
  EXPECT_EQ(UnpackFixture(GetParam()), 0);
  EXPECT_FALSE(reason_.empty());
  ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(Header, BadPackage,
                         ::testing::Values("short", "bad_mark", "format2", "short_body", "bad_digest", "cut_block"));
INSTANTIATE_TEST_SUITE_P(Archive, BadPackage,
                         ::testing::Values("not_zip", "empty", "bad_crc", "bad_inflate", "bzip2", "name_520",
                                           "name_4000", "declared_too_large", "larger_than_declared"));
INSTANTIATE_TEST_SUITE_P(UnsafeName, BadPackage,
                         ::testing::Values("unsafe_dotdot", "unsafe_dotdot_back", "unsafe_drive",
                                           "unsafe_drive_relative", "unsafe_root_back", "unsafe_root_slash",
                                           "unsafe_middle", "unsafe_dots_spaces", "unsafe_stream", "unsafe_device"));

TEST_F(Unpack, MissingPackageAndUnusableUnpackFolderFail) {
  EXPECT_EQ(package::Unpack(scratch_ + "/missing.upd", out_, &reason_), 0);
  ExpectNothingLeft();
  // An empty unpack folder must not turn into "remove the current folder".
  EXPECT_EQ(package::Unpack(Fixture("bad_digest.upd"), "", &reason_), 0);
  EXPECT_EQ(package::RemoveFolder(""), 0);
  EXPECT_EQ(package::RemoveFolder("/"), 0);
}

TEST_F(Unpack, DecryptAndVerifyNeedsTheRightKey) {
  std::string plain = scratch_ + "/plain.zip";
  package::CPackageUnpacker noKey;
  EXPECT_EQ(noKey.KeyLength(), -1);
  EXPECT_EQ(noKey.DecryptAndVerify(Fixture("good.upd"), plain), 0);

  package::CPackageUnpacker wrongKey;
  wrongKey.SetKey("qzw|random text.", 16);
  EXPECT_EQ(wrongKey.DecryptAndVerify(Fixture("good.upd"), plain), 0);
  EXPECT_EQ(wrongKey.LastError(), "digest mismatch");

  package::CPackageUnpacker right;
  right.SetKey(package::kPackageKey, 16);
  ASSERT_EQ(right.DecryptAndVerify(Fixture("good.upd"), plain), 1) << right.LastError();
  EXPECT_TRUE(testfiles::ReadAll(plain) == testfiles::ReadAll(Fixture("good.zip")));

  // A package of exactly the header with length 0 decrypts to an empty file.
  ASSERT_EQ(right.DecryptAndVerify(Fixture("empty.upd"), plain), 1) << right.LastError();
  EXPECT_EQ(testfiles::ReadAll(plain), "");
  EXPECT_EQ(right.ExtractAll(plain, out_), 0);
}

// Passes everything to the system's file system and notes the temporary
// file and what was removed.
class RecordingFileSystem : public package::FileSystem {
 public:
  package::FileSystem& fs = package::SystemFileSystem();
  std::string temp;
  std::vector<std::string> removed;
  std::unique_ptr<package::InputFile> OpenForReading(const std::string& p) override { return fs.OpenForReading(p); }
  std::unique_ptr<package::OutputFile> CreateForWriting(const std::string& p) override {
    return fs.CreateForWriting(p);
  }
  bool Exists(const std::string& p) override { return fs.Exists(p); }
  bool IsFile(const std::string& p) override { return fs.IsFile(p); }
  bool IsFolder(const std::string& p) override { return fs.IsFolder(p); }
  bool MakeFolder(const std::string& p) override { return fs.MakeFolder(p); }
  bool RemoveFile(const std::string& p) override {
    removed.push_back(p);
    return fs.RemoveFile(p);
  }
  bool RemoveFolderTree(const std::string& p) override { return fs.RemoveFolderTree(p); }
  std::string MakeTempFile() override { return temp = fs.MakeTempFile(); }
};

// The system's file system with a volume of a chosen size.
class SmallVolume : public RecordingFileSystem {
 public:
  std::uint64_t free = 0;
  std::vector<std::string> asked;
  bool FreeSpace(const std::string& folder, std::uint64_t* bytes) override {
    asked.push_back(folder);
    if (!fs.FreeSpace(folder, bytes)) return false;  // only folders that exist answer
    *bytes = free;
    return true;
  }
};

TEST_F(Unpack, ExtractionNeedsRoomForTheDeclaredSizesAndStopsWhenAborted) {
  // good.zip declares 393 902 bytes in all.
  struct Case {
    std::uint64_t free;
    bool abort;
    int result;
    const char* reason;
  };
  for (const Case& c :
       {Case{300000, false, 0, "bytes free"}, Case{400000, false, 1, ""}, Case{400000, true, 0, "stopped"}}) {
    SmallVolume fs;
    fs.free = c.free;
    std::atomic<bool> abort{c.abort};
    package::CPackageUnpacker unpacker(fs);
    unpacker.SetKey(package::kPackageKey, 16);
    unpacker.SetAbortFlag(&abort);
    EXPECT_EQ(unpacker.Unpack(Fixture("good.upd"), out_), c.result) << c.free;
    EXPECT_NE(unpacker.LastError().find(c.reason), std::string::npos) << unpacker.LastError();
    if (c.result == 1) {
      // The unpack folder did not exist yet: a folder above it was asked.
      ASSERT_GE(fs.asked.size(), 2u);
      EXPECT_EQ(fs.asked[0], out_);
      testfiles::RemoveTree(out_);
    }
    ExpectNothingLeft();
  }
  EXPECT_EQ(UnpackFixture("declared_too_large"), 0);
  EXPECT_NE(reason_.find("more than the limit"), std::string::npos) << reason_;
}

TEST_F(Unpack, DecryptedArchiveGoesToAnUpdFileInTheTemporaryFolderAndIsDeleted) {
  for (const char* name : {"good", "bad_digest", "not_zip"}) {
    RecordingFileSystem fs;
    package::CPackageUnpacker unpacker(fs);
    unpacker.SetKey(package::kPackageKey, 16);
    unpacker.Unpack(Fixture(std::string(name) + ".upd"), out_);
    ASSERT_FALSE(fs.temp.empty()) << name;
    std::string file = fs.temp.substr(fs.temp.find_last_of("/\\") + 1);
    EXPECT_EQ(file.substr(0, 3), "UPD") << name;
    EXPECT_EQ(testfiles::ModifiedTime(temp_ + "/" + file), -1) << name;
    EXPECT_EQ(std::count(fs.removed.begin(), fs.removed.end(), fs.temp), 1) << name;
    EXPECT_TRUE(testfiles::ListTree(temp_).empty()) << name;
  }
}

TEST_F(Unpack, ExtractionStopsWhereAFileStandsInTheWayOfAFolder) {
  package::CPackageUnpacker unpacker;
  testfiles::MakeFolder(out_);
  testfiles::WriteAll(out_ + "/docs", "a file where a folder belongs");
  EXPECT_EQ(unpacker.ExtractAll(Fixture("good.zip"), out_), 0);
  EXPECT_NE(unpacker.LastError().find("folder"), std::string::npos) << unpacker.LastError();
}

TEST_F(Unpack, RemoveFolderDeletesNestedAndReadOnlyContent) {
  std::string root = scratch_ + "/tree";
  testfiles::MakeFolder(root);
  testfiles::MakeFolder(root + "/a");
  testfiles::MakeFolder(root + "/a/b");
  testfiles::WriteAll(root + "/x.txt", "x");
  testfiles::WriteAll(root + "/a/b/y.txt", "y");
#ifdef _WIN32
  SetFileAttributesA((root + "/a/b/y.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
#endif
  EXPECT_TRUE(package::IsFile(root + "/x.txt"));
  EXPECT_FALSE(package::IsFile(root + "/a"));
  EXPECT_FALSE(package::IsFile(root + "/none"));
  EXPECT_EQ(package::RemoveFolder(root), 1);
  EXPECT_FALSE(testfiles::Exists(root));
  EXPECT_EQ(package::RemoveFolder(root), 0);
}

TEST(EntryName, RefusesEverythingThatLeavesTheFolderOrNamesADevice) {
  using package::CheckEntryName;
  using package::NameProblem;
  const std::pair<std::string, NameProblem> cases[] = {
      {"setup.exe", NameProblem::kNone},
      {"a/b\\c.txt", NameProblem::kNone},
      {"..a/b..", NameProblem::kNone},
      {"a/./b", NameProblem::kNone},
      {"console.txt", NameProblem::kNone},
      {"COM10", NameProblem::kNone},
      // "表" is 95 5C: its trail byte is no separator, so this is one name.
      {"\x95\x5C..", NameProblem::kNone},
      {"", NameProblem::kEmpty},
      {std::string(520, 'n'), NameProblem::kTooLong},
      {std::string("a\0b", 3), NameProblem::kZeroByte},
      {"/x", NameProblem::kAbsolute},
      {"\\x", NameProblem::kAbsolute},
      {"\\\\server\\share\\x", NameProblem::kAbsolute},
      {"C:\\x", NameProblem::kDriveOrStream},
      {"c:x", NameProblem::kDriveOrStream},
      {"a.txt:stream", NameProblem::kDriveOrStream},
      {"..", NameProblem::kParent},
      {"../x", NameProblem::kParent},
      {"..\\x", NameProblem::kParent},
      {"a/../../x", NameProblem::kParent},
      {"a\\..", NameProblem::kParent},
      {"a/.../x", NameProblem::kParent},
      {"a/. ./x", NameProblem::kParent},
      {"nul", NameProblem::kDevice},
      {"a/Con.txt", NameProblem::kDevice},
      {"LPT1", NameProblem::kDevice},
      {"x/aux /y", NameProblem::kDevice},
  };
  for (const auto& [name, problem] : cases) EXPECT_EQ(int(CheckEntryName(name)), int(problem)) << name;
  EXPECT_TRUE(package::IsFolderName("a/"));
  EXPECT_TRUE(package::IsFolderName("a\\"));
  EXPECT_FALSE(package::IsFolderName("\x95\x5C"));  // "表", a name
}

}  // namespace
