// Mervik.exe: one update run for a host program, driven by its command line
// and by thread messages, reporting by thread messages and trace lines.
#include <windows.h>

#include <string>
#include <vector>

#include "ProgressDialog.h"
#include "checker/AliasFile.h"
#include "checker/AutoUpdate.h"
#include "checker/CommandLine.h"
#include "checker/SupportTrace.h"
#include "checker/Trace.h"
#include "checker/Url.h"
#include "checker/Win32Platform.h"
#include "common/LvkMessages.h"
#include "common/Paths.h"
#include "win/Handles.h"

using namespace checker;

namespace {

int RunMaintenance(const CommandLine& cl) {
  for (const auto& step : cl.steps) {
    switch (step.kind) {
      case MaintenanceStep::WaitProcess: {
        DWORD pid = static_cast<DWORD>(ParseDecimal(step.argument));
        win::UniqueHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid));
        if (process) WaitForSingleObject(process.Get(), INFINITE);
        break;
      }
      case MaintenanceStep::RemoveFolder: RemoveFolderTree(step.argument); break;
      case MaintenanceStep::Exec: ExecProgram(step.argument, false, false); break;
    }
  }
  return 0;
}

struct WatcherContext {
  CAutoUpdate* run;
  HANDLE host;
  HANDLE stop;
};

DWORD WINAPI Watcher(LPVOID p) {
  auto* c = static_cast<WatcherContext*>(p);
  HANDLE both[2] = {c->host, c->stop};
  if (WaitForMultipleObjects(2, both, FALSE, INFINITE) == WAIT_OBJECT_0) {
    Trace("Parent process ended.\n");
    try {
      c->run->MtxEndParent();
    } catch (...) {  // no exception may leave a thread
      Trace("Error:the end of the host could not be handled.\n");
    }
  }
  return 0;
}

// The package file and the unpack folder named after it, both new: an
// existing folder (left by an earlier run, or planted) is never used, so that
// nothing but this run's package can end up in it. Names whose folder exists
// already are kept taken until a free pair is found, then given back.
bool CreateRunFiles(const std::string& temp, std::string& packageFile, std::string& unpackFolder) {
  std::vector<std::string> taken;
  bool created = false;
  for (int attempt = 0; attempt < 100 && !created; ++attempt) {
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(temp.c_str(), "LVK", 0, name)) break;
    std::string folder = paths::WithSeparator(paths::Join(temp, paths::BaseName(name)));
    if (CreateDirectoryA(folder.c_str(), nullptr)) {
      packageFile = name;
      unpackFolder = folder;
      created = true;
    } else {
      taken.push_back(name);
    }
  }
  for (const std::string& name : taken) DeleteFileA(name.c_str());
  return created;
}

// How long the end of the run waits for a worker to clean up: its transfer
// gives up within kTransferTimeoutMs of an abort, its unpacking stops within
// one chunk.
constexpr DWORD kWorkerWaitMs = 3 * kTransferTimeoutMs;

void MainLoop(CAutoUpdate& run) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd) continue;
    Trace("GetMessage %d %d %d\n", static_cast<int>(msg.message), static_cast<int>(msg.wParam),
          static_cast<int>(msg.lParam));
    if (msg.message == WM_LVK_THREAD) run.DispatchCommand(msg.wParam, static_cast<std::uintptr_t>(msg.lParam));
  }
}

}  // namespace

int main() {
  // The framework runs the progress dialog's thread; a console program
  // initialises it itself.
  fw::CWinApp app("Mervik");
  if (!fw::AfxWinInit(GetModuleHandleA(nullptr))) return 1;

  // The queue must exist before anyone, the workers included, posts to us.
  MSG peek;
  PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE);

  StartSupportTrace();
  const char* raw = GetCommandLineA();
  Trace("Start GetCommandLine=%s\n", raw);
  CommandLine cl = ParseCommandLine(raw);
  if (cl.maintenance) return RunMaintenance(cl);
  if (cl.fields.size() != 7) return 1;

  RunParameters p;
  p.infoUrl = cl.fields[1];
  p.callerVersion = cl.fields[2];
  p.hostProcessId = static_cast<unsigned>(ParseDecimal(cl.fields[3]));
  p.relayThread = static_cast<unsigned>(ParseDecimal(cl.fields[4]));
  p.hostFolder = cl.fields[5];
  p.hostProgram = cl.fields[6];

  win::UniqueHandle host;
  HANDLE substitute = nullptr;
  if (p.hostProcessId != 0) {
    host.Reset(OpenProcess(PROCESS_ALL_ACCESS, FALSE, p.hostProcessId));
    if (!host) {
      // Nothing to report to and nothing to wait for: the host is gone (or
      // never was), so the run ends before it creates anything.
      Trace("Host process %u cannot be opened.\n", p.hostProcessId);
      Trace("End process %d\n", 1);
      return 1;
    }
  } else {
    host.Reset(substitute = CreateEventA(nullptr, TRUE, FALSE, nullptr));
  }
  win::UniqueHandle stop(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  DWORD mainThread = GetCurrentThreadId();

  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  if (!CreateRunFiles(temp, p.packageFile, p.unpackFolder)) {
    Trace("Error:cannot create a temporary file in %s\n", temp);
    Trace("End process %d\n", 1);
    return 1;
  }

  Trace("Begin AutoUpdate %s %s\n", p.infoUrl.c_str(), p.callerVersion.c_str());
  bool standAlone = p.relayThread == 0;
  Win32Platform platform(mainThread, substitute);
  Win32ProgressUi progress(mainThread);
  std::string infoUrl = p.infoUrl, version = p.callerVersion;
  CAutoUpdate run(platform, progress, p);

  WatcherContext watch{&run, host.Get(), stop.Get()};
  win::UniqueHandle watcher(CreateThread(nullptr, 0, Watcher, &watch, 0, nullptr));

  ApplyAliasFile(infoUrl, version);
  run.SetInfoUrlAndVersion(infoUrl, version);
  run.MtxInit();
  if (standAlone) run.OpenProgDialogAtStart();
  MainLoop(run);

  run.CloseProgDialogAtEnd();
  // A worker may still be on its way out (a transfer that the run's end cut
  // short, an unpack that stops): the process must not end under it while it
  // still writes or holds the package open.
  platform.AbortWork();
  if (!platform.WaitForWorkers(kWorkerWaitMs)) Trace("Worker still running at the end.\n");
  SetEvent(stop.Get());
  if (watcher) WaitForSingleObject(watcher.Get(), INFINITE);
  // ExitProcess below skips the destructors.
  watcher.Reset();
  host.Reset();
  stop.Reset();
  int exitCode = run.ExitCode();
  Trace("End process %d\n", exitCode);
  // A worker that did not end in time must not outlive the run object it
  // uses, so the process ends here, with it, before anything is destroyed.
  ExitProcess(static_cast<UINT>(exitCode));
}
