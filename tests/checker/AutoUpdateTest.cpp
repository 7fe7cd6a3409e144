// The run's state machine, row by row, with fakes for messaging, workers,
// transfer, files and processes. Everything the run does to the outside is
// recorded as one sequence of events so that order is checked too.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "checker/AutoUpdate.h"
#include "checker/Trace.h"
#include "common/LvkMessages.h"

using namespace checker;
using Events = std::vector<std::string>;

namespace {

const std::string kPkg = "T\\LVK1.tmp";
const std::string kUnpack = "T\\LVK1\\";

class FakePlatform : public RunPlatform {
 public:
  explicit FakePlatform(Events& e) : events(e) {}
  int PostToRelay(unsigned relay, int code, unsigned arg) override {
    events.push_back("relay " + std::to_string(relay) + " " + std::to_string(code) + " " + std::to_string(arg));
    return relayAlive ? 1 : 0;
  }
  void PostToMainThread(int code, unsigned arg) override {
    events.push_back("main " + std::to_string(code) + " " + std::to_string(arg));
  }
  void PostQuit() override { events.push_back("quit"); }
  void SignalHostSubstitute() override { events.push_back("substitute"); }
  void StartWorker(std::function<void()> body) override {
    events.push_back("worker");
    workers.push_back(std::move(body));
  }
  int Download(CAutoUpdate& run, const std::string& url, std::string* text, const std::string* file) override {
    events.push_back("download " + url);
    return download ? download(run, text, file) : 0;
  }
  int Unpack(const std::string& p, const std::string& u) override {
    events.push_back("unpack " + p + " " + u);
    return unpackResult;
  }
  void RemoveFileQuietly(const std::string& p) override { events.push_back("rmfile " + p); }
  void RemoveFolderQuietly(const std::string& f) override { events.push_back("rmdir " + f); }
  bool IsFile(const std::string& p) override { return files.count(p) > 0; }
  bool ExecProgram(const std::string& c, bool hide, bool wait) override {
    events.push_back("exec " + c + (hide ? " hide" : "") + (wait ? " wait" : ""));
    return true;
  }
  unsigned CurrentProcessId() override { return 77; }
  void AbortWork() override { events.push_back("abort"); }

  Events& events;
  std::vector<std::function<void()>> workers;
  std::function<int(CAutoUpdate&, std::string*, const std::string*)> download;
  int unpackResult = 1;
  bool relayAlive = true;
  std::set<std::string> files;
};

class FakeUi : public ProgressUi {
 public:
  explicit FakeUi(Events& e) : events(e) {}
  void Open(std::uintptr_t owner, int phase) override {
    if (held) return;
    held = true;
    events.push_back("open " + std::to_string(owner) + " " + std::to_string(phase));
  }
  void Close() override {
    if (!held) return;
    held = false;
    events.push_back("close");
  }
  void Notify(int code, unsigned arg) override {
    if (held) events.push_back("notify " + std::to_string(code) + " " + std::to_string(arg));
  }
  Events& events;
  bool held = false;
};

struct TestRun {
  explicit TestRun(unsigned relay = 5, unsigned hostPid = 9) : platform(events), ui(events) {
    SetTraceSink([this](std::string_view l) { trace += l; });
    RunParameters p;
    p.infoUrl = "http://h/i.dat";
    p.callerVersion = "02001";
    p.hostProcessId = hostPid;
    p.relayThread = relay;
    p.hostFolder = "H\\";
    p.hostProgram = "H\\Host.exe";
    p.packageFile = kPkg;
    p.unpackFolder = kUnpack;
    run = std::make_unique<CAutoUpdate>(platform, ui, p);
  }
  ~TestRun() { SetTraceSink(nullptr); }

  // Drives the run into a state along the way a real run takes.
  void Reach(RunState s) {
    if (s == Idle) return;
    if (s == Failed) {
      run->MtxInit();
      run->MtxInit();
    } else if (s == Cancelling) {
      run->MtxInit();
      run->MtxCancel();
    } else {
      run->MtxInit();
      if (s >= AskingUser) run->MtxCompDownloadInfo(1);
      if (s >= Downloading) run->MtxContinueUpdate(0);
      if (s >= Unpacking) run->MtxCompDownloadData(1);
      if (s >= Ready) run->MtxCompUnpack(1);
      if (s == Installed) {
        platform.files = {kUnpack + "setupeasy.bat"};
        run->MtxEndParent();
        platform.files.clear();
      }
    }
    EXPECT_EQ(run->State(), s);
    events.clear();
    trace.clear();
  }

  Events events;
  std::string trace;
  FakePlatform platform;
  FakeUi ui;
  std::unique_ptr<CAutoUpdate> run;
};

const Events kExit = {"rmfile " + kPkg, "rmdir " + kUnpack, "quit"};
Events Then(Events a, const Events& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Events Error() { return Then({"relay 5 1900 0", "abort"}, kExit); }

struct Row {
  const char* name;
  RunState from;
  std::function<void(CAutoUpdate&)> act;
  Events events;
  RunState to;
  int exitCode;  // -1: the run goes on
};

}  // namespace

TEST(AutoUpdate, StateMachineTable) {
  auto init = [](CAutoUpdate& r) { r.MtxInit(); };
  auto info = [](int v) { return [v](CAutoUpdate& r) { r.MtxCompDownloadInfo(v); }; };
  auto size = [](CAutoUpdate& r) { r.DownloadSize(500); };
  auto progress = [](CAutoUpdate& r) { r.DownloadProgress(200); };
  auto cont = [](CAutoUpdate& r) { r.MtxContinueUpdate(0); };
  auto data = [](int v) { return [v](CAutoUpdate& r) { r.MtxCompDownloadData(v); }; };
  auto unpack = [](int v) { return [v](CAutoUpdate& r) { r.MtxCompUnpack(v); }; };
  auto refuse = [](CAutoUpdate& r) { r.MtxRefusePackage("no signature block"); };
  auto open = [](CAutoUpdate& r) { r.MtxOpenProgDialog(16); };
  auto close = [](CAutoUpdate& r) { r.MtxCloseProgDialog(); };
  auto cancel = [](CAutoUpdate& r) { r.MtxCancel(); };
  auto parent = [](CAutoUpdate& r) { r.MtxEndParent(); };

  const std::vector<Row> rows = {
      {"init in Idle", Idle, init, {"relay 5 1000 0", "worker"}, CheckingInfo, -1},
      {"init twice", CheckingInfo, init, Error(), Failed, 1},
      {"info in Cancelling", Cancelling, info(1), kExit, Cancelling, 0},
      {"info in Failed", Failed, info(1), kExit, Failed, 1},
      {"info failed", CheckingInfo, info(-1), Then({"relay 5 1290 0"}, kExit), CheckingInfo, 0},
      {"no update", CheckingInfo, info(0), Then({"relay 5 1320 0"}, kExit), CheckingInfo, 0},
      {"update applies", CheckingInfo, info(1), {"relay 5 1340 0"}, AskingUser, -1},
      {"info in AskingUser", AskingUser, info(1), Error(), Failed, 1},
      {"size while checking", CheckingInfo, size, {}, CheckingInfo, -1},
      {"size in Cancelling", Cancelling, size, {}, Cancelling, -1},
      {"size in Failed", Failed, size, {}, Failed, -1},
      {"size downloading", Downloading, size, {"relay 5 1440 500"}, Downloading, -1},
      {"size in Ready", Ready, size, Error(), Failed, 1},
      {"progress while checking", CheckingInfo, progress, {}, CheckingInfo, -1},
      {"progress downloading", Downloading, progress, {"relay 5 1442 200"}, Downloading, -1},
      {"progress in AskingUser", AskingUser, progress, Error(), Failed, 1},
      {"continue", AskingUser, cont, {"worker"}, Downloading, -1},
      {"continue twice", Downloading, cont, {}, Downloading, -1},
      {"continue while checking", CheckingInfo, cont, {}, CheckingInfo, -1},
      {"data in Cancelling", Cancelling, data(1), kExit, Cancelling, 0},
      {"data failed", Downloading, data(-1), Then({"relay 5 1490 0"}, kExit), Downloading, 0},
      {"data done", Downloading, data(1), {"relay 5 1480 0"}, Unpacking, -1},
      {"data in AskingUser", AskingUser, data(1), Error(), Failed, 1},
      {"unpack in Cancelling", Cancelling, unpack(1), kExit, Cancelling, 0},
      {"unpack failed", Unpacking, unpack(-1), Then({"relay 5 1490 0"}, kExit), Unpacking, 0},
      {"unpack done", Unpacking, unpack(1), {"relay 5 1800 0"}, Ready, -1},
      {"unpack in Downloading", Downloading, unpack(1), Error(), Failed, 1},
      {"package refused", Unpacking, refuse, Then({"relay 5 1490 0"}, kExit), Failed, 1},
      {"refused in Cancelling", Cancelling, refuse, kExit, Cancelling, 0},
      {"refused in Downloading", Downloading, refuse, Error(), Failed, 1},
      {"open asking", AskingUser, open, {"open 16 2"}, AskingUser, -1},
      {"open downloading", Downloading, open, {"open 16 2"}, Downloading, -1},
      {"open while checking", CheckingInfo, open, {}, CheckingInfo, -1},
      {"open in Ready", Ready, open, {}, Ready, -1},
      {"close in Ready", Ready, close, {}, Ready, -1},
      {"cancel in Idle", Idle, cancel, Then({"relay 5 1700 0"}, kExit), Idle, 0},
      {"cancel asking", AskingUser, cancel, Then({"relay 5 1700 0"}, kExit), AskingUser, 0},
      {"cancel checking", CheckingInfo, cancel, {"relay 5 1700 0", "abort"}, Cancelling, -1},
      {"cancel downloading", Downloading, cancel, {"relay 5 1700 0", "abort"}, Cancelling, -1},
      {"cancel unpacking", Unpacking, cancel, {"relay 5 1700 0", "abort"}, Cancelling, -1},
      {"cancel in Ready", Ready, cancel, {}, Ready, -1},
      {"cancel in Installed", Installed, cancel, {}, Installed, 0},
      {"cancel twice", Cancelling, cancel, {}, Cancelling, -1},
      {"cancel in Failed", Failed, cancel, {}, Failed, -1},
      {"host ends in Idle", Idle, parent, kExit, Idle, 0},
      {"host ends asking", AskingUser, parent, kExit, AskingUser, 0},
      {"host ends checking", CheckingInfo, parent, {"abort"}, Cancelling, -1},
      {"host ends downloading", Downloading, parent, {"abort"}, Cancelling, -1},
      {"host ends unpacking", Unpacking, parent, {"abort"}, Cancelling, -1},
      {"host ends, no installer", Ready, parent, kExit, Failed, 1},
      {"host ends in Installed", Installed, parent, {}, Installed, 0},
      {"host ends in Cancelling", Cancelling, parent, {}, Cancelling, -1},
      {"host ends in Failed", Failed, parent, {}, Failed, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestRun r;
    r.Reach(row.from);
    row.act(*r.run);
    EXPECT_EQ(r.events, row.events);
    EXPECT_EQ(r.run->State(), row.to);
    // Until the run ends its exit code stays 1.
    EXPECT_EQ(r.run->ExitCode(), row.exitCode >= 0 ? row.exitCode : 1);
  }
}

TEST(AutoUpdate, ErrorsAndTransitionsAreTraced) {
  TestRun r;
  r.run->MtxInit();
  r.run->MtxInit();
  EXPECT_NE(r.trace.find("MtxInit\nMatrixError AutoUpdate:"), std::string::npos) << r.trace;
  EXPECT_NE(r.trace.find(" Status=1\nSendLvkMessage 1900 0\nMtxExit\n"), std::string::npos) << r.trace;
}

TEST(AutoUpdate, WaitedInstallerRestartsHostAndRemovesFolder) {
  TestRun r;
  r.Reach(Ready);
  r.platform.files = {kUnpack + "setupeasy.bat", kUnpack + "setup.exe"};
  r.run->MtxEndParent();
  EXPECT_EQ(r.events, Then({"exec \"T\\LVK1\\setupeasy.bat\" 77 \"T\\LVK1\\\" \"H\\\" \"H\\Host.exe\" hide wait",
                            "exec \"H\\Host.exe\""},
                           kExit));
  EXPECT_EQ(r.run->State(), Installed);
  EXPECT_EQ(r.run->ExitCode(), 0);
}

TEST(AutoUpdate, ReplacementProgramKeepsUnpackFolderInReady) {
  TestRun r;
  r.Reach(Ready);
  r.platform.files = {kUnpack + "Mervnext.exe"};
  r.run->MtxEndParent();
  EXPECT_EQ(r.events, (Events{"exec \"T\\LVK1\\Mervnext.exe\" 77 \"T\\LVK1\\\" \"H\\\" \"H\\Host.exe\" hide",
                              "rmfile " + kPkg, "quit"}));
  EXPECT_EQ(r.run->State(), Ready);
  EXPECT_EQ(r.run->ExitCode(), 0);
}

TEST(AutoUpdate, HostEndingWhileUnpackingStopsTheUnpackAndRunsNoInstaller) {
  TestRun r;
  r.Reach(Unpacking);
  r.platform.files = {kUnpack + "setup.bat"};  // already extracted, the rest not yet
  r.run->MtxEndParent();
  EXPECT_EQ(r.events, (Events{"abort"}));
  r.run->MtxCompUnpack(-1);  // the worker stops and reports
  EXPECT_EQ(r.events, Then({"abort"}, kExit));
  EXPECT_EQ(r.run->ExitCode(), 0);
}

TEST(AutoUpdate, StandAloneAnswersItselfAndStandsInForTheHost) {
  TestRun r(0, 0);
  r.run->MtxInit();
  r.run->MtxCompDownloadInfo(1);
  EXPECT_EQ(r.events, (Events{"worker", "main 2220 0"}));
  r.events.clear();
  r.run->DispatchCommand(LVK_CMD_CONTINUE, 0);
  r.run->MtxCompDownloadData(1);
  r.run->MtxCompUnpack(1);
  EXPECT_EQ(r.events, (Events{"worker", "substitute"}));
}

TEST(AutoUpdate, ReadyWithoutHostProcessDoesNotWaitForEver) {
  TestRun r(5, 0);
  r.Reach(Unpacking);
  r.run->MtxCompUnpack(1);
  EXPECT_EQ(r.events, (Events{"relay 5 1800 0", "substitute"}));
}

TEST(AutoUpdate, DialogHearsEachNotificationBeforeTheRelayAndClosesBeforeReady) {
  TestRun r;
  r.Reach(AskingUser);
  r.run->DispatchCommand(LVK_CMD_OPEN_DIALOG, 16);
  r.run->DispatchCommand(LVK_CMD_OPEN_DIALOG, 16);  // already open: nothing
  r.run->DispatchCommand(LVK_CMD_CONTINUE, 0);
  r.run->DownloadSize(10);
  r.run->MtxCompDownloadData(1);
  r.run->MtxCompUnpack(1);
  EXPECT_EQ(r.events, (Events{"open 16 2", "worker", "notify 1440 10", "relay 5 1440 10", "notify 1480 0",
                              "relay 5 1480 0", "close", "relay 5 1800 0"}));
}

TEST(AutoUpdate, UnknownCommandsAndAGoneRelayAreHarmless) {
  TestRun r;
  r.run->DispatchCommand(1234, 0);
  EXPECT_TRUE(r.events.empty());
  r.platform.relayAlive = false;
  EXPECT_EQ(r.run->SendLvkMessage(LVK_STARTED, 0), 0);
}

TEST(AutoUpdate, WorkersFetchInformationAndPackage) {
  TestRun r;
  r.platform.download = [](CAutoUpdate& run, std::string* text, const std::string* file) {
    if (text) {
      *text = "R 02000 02999 http://h/p.upd\n";
      return 1;
    }
    EXPECT_EQ(*file, kPkg);
    run.DownloadSize(2048);
    run.DownloadProgress(1024);
    run.DownloadProgress(2048);
    return 1;
  };
  r.run->MtxInit();
  ASSERT_EQ(r.platform.workers.size(), 1u);
  r.platform.workers[0]();
  EXPECT_EQ(r.run->State(), AskingUser);
  r.run->MtxContinueUpdate(0);
  ASSERT_EQ(r.platform.workers.size(), 2u);
  r.events.clear();
  r.platform.workers[1]();
  EXPECT_EQ(r.events, (Events{"download http://h/p.upd", "relay 5 1440 2048", "relay 5 1442 1024", "relay 5 1442 2048",
                              "relay 5 1480 0", "unpack " + kPkg + " " + kUnpack, "relay 5 1800 0"}));
  EXPECT_EQ(r.run->State(), Ready);
}

TEST(AutoUpdate, FailedDownloadRemovesPackageFile) {
  TestRun r;
  r.Reach(Downloading);
  r.platform.download = [](CAutoUpdate&, std::string*, const std::string*) { return 0; };
  r.run->PackageWorker();
  EXPECT_EQ(r.events, Then({"download ", "rmfile " + kPkg, "relay 5 1490 0"}, kExit));
}

TEST(AutoUpdate, CancelDuringDownloadStopsTransferAndUnpacksNothing) {
  TestRun r;
  r.Reach(Downloading);
  r.platform.download = [](CAutoUpdate& run, std::string*, const std::string*) {
    run.MtxCancel();  // the host cancels while a block is in flight
    return run.TransferMustStop() ? 0 : 1;
  };
  r.run->PackageWorker();
  EXPECT_EQ(r.events, Then({"download ", "relay 5 1700 0", "abort", "rmfile " + kPkg}, kExit));
  EXPECT_EQ(r.run->ExitCode(), 0);
}

TEST(AutoUpdate, CancelDuringLastBlockStillUnpacksNothing) {
  TestRun r;
  r.Reach(Downloading);
  r.platform.download = [](CAutoUpdate& run, std::string*, const std::string*) {
    run.MtxCancel();
    return 1;  // the transfer had already finished its last block
  };
  r.run->PackageWorker();
  EXPECT_EQ(r.events, Then({"download ", "relay 5 1700 0", "abort"}, kExit));
}
