#include "common/Paths.h"

#include <gtest/gtest.h>

namespace {

TEST(Paths, JoinAddsOneBackslash) {
  EXPECT_EQ(paths::Join("C:\\Temp", "a.exe"), "C:\\Temp\\a.exe");
  EXPECT_EQ(paths::Join("C:\\Temp\\", "a.exe"), "C:\\Temp\\a.exe");
  EXPECT_EQ(paths::Join("C:/Temp/", "a.exe"), "C:/Temp/a.exe");
  EXPECT_EQ(paths::Join("", "a.exe"), "a.exe");
  // A folder ending in "ソ" (83 5C) does not end with a separator.
  EXPECT_EQ(paths::Join("C:\\ソ", "a"), "C:\\ソ\\a");
}

TEST(Paths, WithSeparator) {
  EXPECT_EQ(paths::WithSeparator("C:\\x"), "C:\\x\\");
  EXPECT_EQ(paths::WithSeparator("C:\\x\\"), "C:\\x\\");
  EXPECT_EQ(paths::WithSeparator("C:\\表"), "C:\\表\\");
  EXPECT_EQ(paths::WithSeparator(""), "\\");
}

TEST(Paths, NamesAndFolders) {
  EXPECT_EQ(paths::BaseName("C:\\Temp\\LVK1A.tmp"), "LVK1A");
  EXPECT_EQ(paths::BaseName("C:\\a.b\\file"), "file");
  EXPECT_EQ(paths::BaseName("C:\\a\\x.tar.gz"), "x.tar");
  EXPECT_EQ(paths::BaseName("name"), "name");
  EXPECT_EQ(paths::FileName("C:\\ソフト\\表.ttf"), "表.ttf");
  EXPECT_EQ(paths::FolderWithSeparator("C:\\ソフト\\表.ttf"), "C:\\ソフト\\");
  EXPECT_EQ(paths::FolderOf("C:\\Tools\\Glimra.chm"), "C:\\Tools");
  EXPECT_EQ(paths::FolderOf("Glimra.chm"), "Glimra.chm");
  EXPECT_EQ(paths::FolderWithSeparator("表"), "");
}

}  // namespace
