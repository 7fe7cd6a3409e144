#include "LaunchText.h"

#include <gtest/gtest.h>

namespace {

TEST(MutexName, SchemeSeparatorsAndEverySlashBecomeUnderscores) {
  EXPECT_EQ(lanvik::MutexNameFor("http://example.com:8080/update/glimra2/AutoUpdate.dat"),
            "http___example.com_8080_update_glimra2_AutoUpdate.dat");
  EXPECT_EQ(lanvik::MutexNameFor("a\\b"), "a_b");
  EXPECT_EQ(lanvik::MutexNameFor(""), "");
}

TEST(MutexName, TrailBytesOfDoubleByteCharactersStay) {
  // "表" is 95 5C and "ソ" 83 5C in code page 932: their 0x5C is no backslash.
  const std::string address = "http://h/\x95\x5C/\x83\x5C\\x";
  EXPECT_EQ(lanvik::MutexNameFor(address), "http___h_\x95\x5C_\x83\x5C_x");
  // A lead byte at the very end has no trail byte and is kept as it is.
  EXPECT_EQ(lanvik::MutexNameFor("a/\x95"), "a_\x95");
}

TEST(SingleField, RefusesWhatTheCheckerWouldSplitOrLose) {
  EXPECT_TRUE(lanvik::IsSingleField("http://127.0.0.1:80/update/glimra2/AutoUpdate.dat"));
  EXPECT_TRUE(lanvik::IsSingleField("02001"));
  EXPECT_TRUE(lanvik::IsSingleField("http://h/\x95\x5C"));
  EXPECT_FALSE(lanvik::IsSingleField(""));
  EXPECT_FALSE(lanvik::IsSingleField("http://h/a b"));
  EXPECT_FALSE(lanvik::IsSingleField("02001\t"));
  EXPECT_FALSE(lanvik::IsSingleField("0\r\n"));
  EXPECT_FALSE(lanvik::IsSingleField("\"02001\""));
}

TEST(CheckerCommandLine, SevenFieldsWithCheckerBesideTheHost) {
  lanvik::CheckerCall call;
  call.address = "http://127.0.0.1:8000/update/glimra2/AutoUpdate.dat";
  call.version = "02001";
  call.hostProcessId = 4294967295u;
  call.relayThreadId = 36;
  call.hostProgram = "C:\\Program Files\\Glimra\\Glimra.exe";
  EXPECT_EQ(lanvik::CheckerCommandLine(call),
            "\"C:\\Program Files\\Glimra\\Mervik.exe\" "
            "http://127.0.0.1:8000/update/glimra2/AutoUpdate.dat 02001 4294967295 36 "
            "\"C:\\Program Files\\Glimra\\\" \"C:\\Program Files\\Glimra\\Glimra.exe\"");
}

TEST(CheckerCommandLine, HostFolderIsCutAtTheLastRealSeparator) {
  // "表" ends in 0x5C as a trail byte: as a folder it is kept whole, as the
  // program's name it is no separator; a forward slash is one.
  EXPECT_EQ(lanvik::HostFolderOf("Z:\\\x95\x5C\\a.exe"), "Z:\\\x95\x5C\\");
  EXPECT_EQ(lanvik::CheckerPathFor("Z:\\x\\\x95\x5C"), "Z:\\x\\Mervik.exe");
  EXPECT_EQ(lanvik::CheckerPathFor("Z:/x/Glimra.exe"), "Z:/x/Mervik.exe");
  EXPECT_EQ(lanvik::CheckerPathFor("Glimra.exe"), "Mervik.exe");

  lanvik::CheckerCall call;
  call.address = "a";
  call.version = "v";
  call.hostProgram = "Glimra.exe";
  EXPECT_EQ(lanvik::CheckerCommandLine(call), "\"Mervik.exe\" a v 0 0 \"\" \"Glimra.exe\"");
}

}  // namespace
