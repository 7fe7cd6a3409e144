// Alias file and installer choice.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "checker/AliasFile.h"
#include "checker/Installer.h"
#include "checker/RunPlatform.h"
#include "checker/SupportTrace.h"

using namespace checker;
namespace fs = std::filesystem;

namespace {

class AliasFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          (std::string("checker_alias_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  void WriteAlias(const std::string& text) { std::ofstream(dir / "Mervik.alias", std::ios::binary) << text; }
  std::string Log() {
    std::ifstream in(dir / "Mervik.log");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string Dir() { return dir.string() + "/"; }
  fs::path dir;
  std::string url = "http://h/info.dat", ver = "02001";
};

}  // namespace

TEST_F(AliasFileTest, NoAliasFileLeavesNoLogEvenAfterAnEarlierRun) {
  std::ofstream(dir / "Mervik.log") << "old\n";
  ApplyAliasFile(url, ver, Dir());
  EXPECT_FALSE(fs::exists(dir / "Mervik.log"));
  EXPECT_EQ(url, "http://h/info.dat");
  EXPECT_EQ(ver, "02001");
}

TEST_F(AliasFileTest, FirstMatchingLineOfEachKeywordApplies) {
  WriteAlias(
      "# test server\n"
      "  url * http://test/i.dat  \n"
      "URL * http://second/i.dat\n"
      "VER 01000 00001\n"
      "ver 02001 \"09999\" ignored\n"
      "VER * 00002\n"
      "URL\n"
      "OTHER a b\n");
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 7;
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 3;
  ApplyAliasFile(url, ver, Dir(), std::mktime(&t));
  EXPECT_EQ(url, "http://test/i.dat");
  EXPECT_EQ(ver, "\"09999\"");  // quotes are kept
  EXPECT_EQ(Log(),
            "2026/12/07 09:05:03\n"
            "URL http://h/info.dat -> http://test/i.dat\n"
            "VER 02001 -> \"09999\"\n");
}

TEST_F(AliasFileTest, OldValueIsComparedWithoutCase) {
  WriteAlias("URL HTTP://H/INFO.DAT http://other/\n");
  ApplyAliasFile(url, ver, Dir());
  EXPECT_EQ(url, "http://other/");
}

namespace {

// Only what the installer choice uses: files and program starts.
class InstallerPlatform : public RunPlatform {
 public:
  int PostToRelay(unsigned, int, unsigned) override { return 1; }
  void PostToMainThread(int, unsigned) override {}
  void PostQuit() override {}
  void SignalHostSubstitute() override {}
  void StartWorker(std::function<void()>) override {}
  int Download(CAutoUpdate&, const std::string&, std::string*, const std::string*) override { return 0; }
  int Unpack(const std::string&, const std::string&) override { return 0; }
  void RemoveFileQuietly(const std::string&) override {}
  void RemoveFolderQuietly(const std::string&) override {}
  bool IsFile(const std::string& p) override { return files.count(p) > 0; }
  bool ExecProgram(const std::string& c, bool hide, bool wait) override {
    started.push_back(c + (hide ? " [hidden]" : "") + (wait ? " [wait]" : ""));
    return startable;
  }
  unsigned CurrentProcessId() override { return 77; }
  void AbortWork() override {}
  std::set<std::string> files;
  std::vector<std::string> started;
  bool startable = true;
};

}  // namespace

TEST(Installer, CandidateOrderDecidesWhatRunsAndWhetherWeWait) {
  InstallerPlatform p;
  const std::string u = "C:\\T\\LVK1\\";
  EXPECT_EQ(LaunchInstaller(p, u, "C:\\H\\", "C:\\H\\G.exe"), kInstallerFailed);
  EXPECT_TRUE(p.started.empty());

  p.files = {u + "setup.exe", u + "setupeasy.exe"};
  EXPECT_EQ(LaunchInstaller(p, u, "C:\\H\\", "C:\\H\\G.exe"), kInstallerFinished);
  ASSERT_EQ(p.started.size(), 1u);
  EXPECT_EQ(p.started[0],
            "\"C:\\T\\LVK1\\setupeasy.exe\" 77 \"C:\\T\\LVK1\\\" \"C:\\H\\\" \"C:\\H\\G.exe\" [hidden] [wait]");

  p.files.insert(u + "Mervnext.exe");
  p.started.clear();
  EXPECT_EQ(LaunchInstaller(p, u, "C:\\H\\", "C:\\H\\G.exe"), kInstallerRunning);
  EXPECT_EQ(p.started,
            (std::vector<std::string>{
                "\"C:\\T\\LVK1\\Mervnext.exe\" 77 \"C:\\T\\LVK1\\\" \"C:\\H\\\" \"C:\\H\\G.exe\" [hidden]"}));

  p.files = {u + "setup.bat", u + "setup.exe"};
  p.started.clear();
  EXPECT_EQ(LaunchInstaller(p, u, "C:\\H\\", "C:\\H\\G.exe"), kInstallerRunning);
  EXPECT_EQ(p.started.size(), 1u);
}

TEST(Installer, AFailedStartTriesNoOtherCandidate) {
  InstallerPlatform p;
  p.files = {"U\\setupeasy.bat", "U\\setup.exe"};
  p.startable = false;
  EXPECT_EQ(LaunchInstaller(p, "U\\", "H\\", "H\\G.exe"), kInstallerFailed);
  EXPECT_EQ(p.started.size(), 1u);
}

TEST(SupportTrace, NamesSortByStartAndTheNewestFewStay) {
  std::string name = SupportTraceName(std::time(nullptr), 4321);
  EXPECT_TRUE(IsSupportTraceName(name));
  EXPECT_EQ(name.size(), std::string("Mervik-20261208-073500-4321.log").size());
  for (const char* other : {"Mervik.log", "Mervik-20261208-073500-.log", "Mervik-2026120-0735000-1.log",
                            "Mervik-20261208-073500-12.txt", "Mervik-2026x208-073500-12.log", "LVK1.tmp"})
    EXPECT_FALSE(IsSupportTraceName(other)) << other;

  // Same second: the process id decides, as a number (99 started before 100).
  std::vector<std::string> names = {"Mervik-20261208-073501-7.log",   "Mervik.log",
                                    "Mervik-20261208-073500-100.log", "Mervik-20261207-235959-5.log",
                                    "Mervik-20261208-073500-99.log",  "Mervik-20261208-080000-1.log",
                                    "mervik-20261208-090000-2.LOG",   "LVK3.tmp"};
  EXPECT_EQ(SupportTracesToRemove(names),
            (std::vector<std::string>{"Mervik-20261207-235959-5.log", "Mervik-20261208-073500-99.log"}));
  names.resize(4);
  EXPECT_TRUE(SupportTracesToRemove(names).empty());
}
