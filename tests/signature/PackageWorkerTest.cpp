// The checker's package worker built with the test publisher key (this test
// program links its own PublisherKeyText): the run's state machine with real
// files, the real signature check and the real unpack; only messages and
// the transfer (a copy of a fixture) are stand-ins.
#include <gtest/gtest.h>

#include <vector>

#include "TestFiles.h"
#include "checker/AutoUpdate.h"
#include "checker/Trace.h"
#include "common/LvkMessages.h"
#include "package/PackageUnpacker.h"
#include "signature/PackageSignature.h"
#include "signature/PublisherKey.h"

using namespace checker;

namespace {

class FilePlatform : public RunPlatform {
 public:
  int PostToRelay(unsigned, int code, unsigned) override {
    codes.push_back(code);
    return 1;
  }
  void PostToMainThread(int, unsigned) override {}
  void PostQuit() override {}
  void SignalHostSubstitute() override {}
  void StartWorker(std::function<void()>) override {}
  int Download(CAutoUpdate&, const std::string&, std::string*, const std::string* file) override {
    testfiles::WriteAll(*file, testfiles::ReadAll(source));
    return 1;
  }
  int Unpack(const std::string& p, const std::string& u) override { return package::Unpack(p, u); }
  int UnpackDownload(const std::string& p, const std::string& u, const std::string& version,
                     std::string* refusal) override {
    signature::UnpackResult r = signature::UnpackAdmitted(p, u, version, signature::PublisherKeyText());
    if (r.refused) *refusal = r.reason;
    return r.result;
  }
  void RemoveFileQuietly(const std::string& p) override { std::remove(p.c_str()); }
  void RemoveFolderQuietly(const std::string& f) override { package::RemoveFolder(f); }
  bool IsFile(const std::string& p) override { return package::IsFile(p); }
  bool ExecProgram(const std::string&, bool, bool) override { return false; }
  unsigned CurrentProcessId() override { return 1; }
  void AbortWork() override {}

  std::string source;
  std::vector<int> codes;
};

class NoDialog : public ProgressUi {
  void Open(std::uintptr_t, int) override {}
  void Close() override {}
  void Notify(int, unsigned) override {}
};

}  // namespace

TEST(SignedPackageWorker, KeyedCheckerUnpacksOnlyGoodSignaturesForNewerVersions) {
  ASSERT_STREQ(signature::PublisherKeyText(), SIGNATURE_TEST_KEY);
  struct Row {
    const char* package;
    const char* traced;  // the line the run must trace
  } rows[] = {
      {"good", "Package signature good, version 02002\n"},
      {"unsigned", "MtxRefusePackage no signature block\n"},
      {"header_bit", "MtxRefusePackage signature does not verify\n"},
      {"body_bit", "MtxRefusePackage signature does not verify\n"},
      {"signature_bit", "MtxRefusePackage signature does not verify\n"},
      {"other_key", "MtxRefusePackage signature does not verify\n"},
      {"older", "MtxRefusePackage signed version 02001 is not above the installed version 02001\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.package);
    const std::string folder = testfiles::NewScratchFolder("worker");
    std::string trace;
    SetTraceSink([&](std::string_view line) { trace += line; });
    FilePlatform platform;
    platform.source = std::string(SIGNATURE_FIXTURES) + "/" + row.package + ".upd";
    NoDialog dialog;
    RunParameters p;
    p.callerVersion = "02001";
    p.relayThread = 5;
    p.hostProcessId = 9;
    p.packageFile = folder + "/LVK1.tmp";
    p.unpackFolder = folder + "/LVK1/";
    CAutoUpdate run(platform, dialog, p);
    run.MtxInit();
    run.MtxCompDownloadInfo(1);
    run.MtxContinueUpdate(0);
    run.PackageWorker();
    SetTraceSink(nullptr);

    EXPECT_NE(trace.find(row.traced), std::string::npos) << trace;
    const bool good = std::string(row.package) == "good";
    ASSERT_GE(platform.codes.size(), 2u);
    EXPECT_EQ(platform.codes.back(), good ? LVK_READY : LVK_UPDATE_FAILED);
    EXPECT_EQ(run.State(), good ? Ready : Failed);
    if (good) {
      EXPECT_EQ(testfiles::ListTree(p.unpackFolder), (std::vector<std::string>{"payload.bin", "setup.bat"}));
    } else {
      EXPECT_EQ(run.ExitCode(), 1);
      EXPECT_FALSE(testfiles::Exists(p.unpackFolder));
      EXPECT_FALSE(testfiles::Exists(p.packageFile));
    }
    testfiles::RemoveTree(folder);
  }
}
