#include "checker/AutoUpdate.h"

#include "checker/Installer.h"
#include "checker/Trace.h"
#include "checker/UpdateInfo.h"
#include "common/LvkMessages.h"

namespace checker {
namespace {
// The name MatrixError reports, whatever this file is called on disk.
constexpr const char* kSource = "AutoUpdate";
using Hold = std::lock_guard<std::recursive_mutex>;
}  // namespace

CAutoUpdate::CAutoUpdate(RunPlatform& platform, ProgressUi& progress, RunParameters parameters)
    : platform_(platform), progress_(progress), params_(std::move(parameters)) {}

void CAutoUpdate::SetInfoUrlAndVersion(const std::string& infoUrl, const std::string& version) {
  Hold hold(lock_);
  params_.infoUrl = infoUrl;
  params_.callerVersion = version;
}

int CAutoUpdate::State() {
  Hold hold(lock_);
  return state_;
}

bool CAutoUpdate::TransferMustStop() {
  int s = State();
  return s == Cancelling || s == Failed;
}

int CAutoUpdate::ExitCode() {
  Hold hold(lock_);
  return exitCode_;
}

int CAutoUpdate::PhaseForState(int state) const {
  if (state == CheckingInfo) return 1;
  if (state == AskingUser || state == Downloading) return 2;
  return 3;
}

int CAutoUpdate::SendLvkMessage(int code, unsigned argument) {
  Hold hold(lock_);
  // One progress line per block: these wait for the next ordinary line.
  if (code == LVK_DOWNLOAD_PROGRESS)
    TraceGathered("SendLvkMessage %d %u\n", code, argument);
  else
    Trace("SendLvkMessage %d %u\n", code, argument);
  progress_.Notify(code, argument);
  if (params_.relayThread != 0) {
    int posted = platform_.PostToRelay(params_.relayThread, code, argument);
    // Without a host process there is nothing to wait for once the package
    // is ready; the event stands in for the host's end.
    if (code == LVK_READY && params_.hostProcessId == 0) platform_.SignalHostSubstitute();
    return posted;
  }
  if (code == LVK_ASK_UPDATE) {
    platform_.PostToMainThread(LVK_CMD_CONTINUE, 0);
  } else if (code == LVK_READY) {
    platform_.SignalHostSubstitute();
  }
  return 1;
}

void CAutoUpdate::MtxInit() {
  Hold hold(lock_);
  Trace("MtxInit\n");
  if (State() != Idle) return MatrixError(kSource, __LINE__);
  SendLvkMessage(LVK_STARTED, 0);
  state_ = CheckingInfo;
  platform_.StartWorker([this] { InformationWorker(); });
}

void CAutoUpdate::MtxCompDownloadInfo(int result) {
  Hold hold(lock_);
  Trace("MtxCompDownloadInfo %d\n", result);
  int s = State();
  if (s == Cancelling || s == Failed) return MtxExit();
  if (s != CheckingInfo) return MatrixError(kSource, __LINE__);
  if (result == 1) {
    Trace("Asking Do you like to update?\n");
    SendLvkMessage(LVK_ASK_UPDATE, 0);
    state_ = AskingUser;
    return;
  }
  SendLvkMessage(result == 0 ? LVK_NO_UPDATE : LVK_INFO_FAILED, 0);
  MtxExit();
}

void CAutoUpdate::DownloadSize(int total) {
  Hold hold(lock_);
  int s = State();
  if (s == Cancelling || s == Failed || s == CheckingInfo) return;
  if (s != Downloading) return MatrixError(kSource, __LINE__);
  SendLvkMessage(LVK_DOWNLOAD_SIZE, static_cast<unsigned>(total));
}

void CAutoUpdate::DownloadProgress(int received) {
  Hold hold(lock_);
  int s = State();
  if (s == Cancelling || s == Failed || s == CheckingInfo) return;
  if (s != Downloading) return MatrixError(kSource, __LINE__);
  SendLvkMessage(LVK_DOWNLOAD_PROGRESS, static_cast<unsigned>(received));
}

void CAutoUpdate::MtxContinueUpdate(std::uintptr_t argument) {
  Hold hold(lock_);
  Trace("MtxContinueUpdate, %X\n", static_cast<unsigned>(argument));
  if (State() != AskingUser) return;
  state_ = Downloading;
  platform_.StartWorker([this] { PackageWorker(); });
}

void CAutoUpdate::MtxCompDownloadData(int result) {
  Hold hold(lock_);
  Trace("MtxCompDownloadData %d\n", result);
  int s = State();
  if (s == Cancelling || s == Failed) return MtxExit();
  if (s != Downloading) return MatrixError(kSource, __LINE__);
  if (result != 1) {
    SendLvkMessage(LVK_UPDATE_FAILED, 0);
    return MtxExit();
  }
  SendLvkMessage(LVK_DOWNLOADED, 0);
  state_ = Unpacking;
}

void CAutoUpdate::MtxCompUnpack(int result) {
  Hold hold(lock_);
  Trace("MtxCompUnpack %d\n", result);
  int s = State();
  if (s == Cancelling || s == Failed) return MtxExit();
  if (s != Unpacking) return MatrixError(kSource, __LINE__);
  if (result != 1) {
    SendLvkMessage(LVK_UPDATE_FAILED, 0);
    return MtxExit();
  }
  progress_.Close();
  SendLvkMessage(LVK_READY, 0);
  state_ = Ready;
}

void CAutoUpdate::MtxRefusePackage(const std::string& reason) {
  Hold hold(lock_);
  Trace("MtxRefusePackage %s\n", reason.c_str());
  int s = State();
  if (s == Cancelling || s == Failed) return MtxExit();
  if (s != Unpacking) return MatrixError(kSource, __LINE__);
  SendLvkMessage(LVK_UPDATE_FAILED, 0);
  state_ = Failed;
  MtxExit();
}

void CAutoUpdate::MtxOpenProgDialog(std::uintptr_t owner) {
  Hold hold(lock_);
  Trace("MtxOpenProgDialog %u\n", static_cast<unsigned>(owner));
  int s = State();
  if (s == AskingUser || s == Downloading) progress_.Open(owner, PhaseForState(s));
}

void CAutoUpdate::MtxCloseProgDialog() {
  Hold hold(lock_);
  Trace("MtxCloseProgDialog\n");
  int s = State();
  if (s == AskingUser || s == Downloading) progress_.Close();
}

void CAutoUpdate::OpenProgDialogAtStart() {
  Hold hold(lock_);
  progress_.Open(0, PhaseForState(State()));
}

void CAutoUpdate::CloseProgDialogAtEnd() {
  Hold hold(lock_);
  progress_.Close();
}

void CAutoUpdate::MtxCancel() {
  Hold hold(lock_);
  Trace("MtxCancel\n");
  int s = State();
  if (s == Idle || s == AskingUser) {
    SendLvkMessage(LVK_CANCELLED, 0);
    return MtxExit();
  }
  if (s == CheckingInfo || s == Downloading || s == Unpacking) {
    SendLvkMessage(LVK_CANCELLED, 0);
    StopWorker(Cancelling);
  }
}

void CAutoUpdate::MtxEndParent() {
  Hold hold(lock_);
  Trace("MtxEndParent\n");
  int s = State();
  if (s == Idle || s == AskingUser) return MtxExit();
  // An unpack still under way is stopped like a download: an installer
  // taken from a half-written folder, which the worker keeps filling, must
  // never run.
  if (s == CheckingInfo || s == Downloading || s == Unpacking) return StopWorker(Cancelling);
  if (s != Ready) return;
  int outcome = LaunchInstaller(platform_, params_.unpackFolder, params_.hostFolder, params_.hostProgram);
  if (outcome == kInstallerFinished) {
    state_ = Installed;
    // Quoted: unquoted, "C:\Program Files\..." would start C:\Program.exe.
    platform_.ExecProgram("\"" + params_.hostProgram + "\"", false, false);
  } else if (outcome != kInstallerRunning) {
    state_ = Failed;
  }
  MtxExit();
}

void CAutoUpdate::MatrixError(const char* source, int line) {
  Hold hold(lock_);
  Trace("MatrixError %s:%d Status=%d\n", source, line, state_);
  SendLvkMessage(LVK_ERROR, 0);
  StopWorker(Failed);
  MtxExit();
}

void CAutoUpdate::StopWorker(int state) {
  state_ = state;
  platform_.AbortWork();
}

void CAutoUpdate::MtxExit() {
  Hold hold(lock_);
  Trace("MtxExit\n");
  platform_.RemoveFileQuietly(params_.packageFile);
  // In Ready the unpacked files belong to the installer that is about to run.
  if (state_ != Ready) platform_.RemoveFolderQuietly(params_.unpackFolder);
  exitCode_ = state_ == Failed ? 1 : 0;
  platform_.PostQuit();
}

void CAutoUpdate::DispatchCommand(std::uintptr_t code, std::uintptr_t argument) {
  switch (code) {
    case LVK_CMD_CONTINUE: return MtxContinueUpdate(argument);
    case LVK_CMD_OPEN_DIALOG: return MtxOpenProgDialog(argument);
    case LVK_CMD_CLOSE_DIALOG: return MtxCloseProgDialog();
    case LVK_CMD_CANCEL: return MtxCancel();
    default: return;
  }
}

void CAutoUpdate::InformationWorker() {
  Trace("Getting Updat Info\n");
  std::string packageUrl;
  auto fetch = [this](const std::string& url, std::string& text) {
    return platform_.Download(*this, url, &text, nullptr);
  };
  int result = CheckUpdateInfo(fetch, params_.infoUrl, params_.callerVersion, packageUrl);
  {
    Hold hold(lock_);
    packageUrl_ = packageUrl;
  }
  MtxCompDownloadInfo(result);
}

void CAutoUpdate::PackageWorker() {
  std::string url;
  {
    Hold hold(lock_);
    url = packageUrl_;
  }
  int result = platform_.Download(*this, url, nullptr, &params_.packageFile) == 1 ? 1 : -1;
  if (result != 1) platform_.RemoveFileQuietly(params_.packageFile);
  MtxCompDownloadData(result);
  // A run that was cancelled or has ended while the last block arrived has
  // already removed the package: there is nothing left to unpack.
  if (result != 1 || State() != Unpacking) return;
  std::string refusal;
  result = platform_.UnpackDownload(params_.packageFile, params_.unpackFolder, params_.callerVersion, &refusal);
  if (!refusal.empty()) return MtxRefusePackage(refusal);
  MtxCompUnpack(result == 1 ? 1 : -1);
}

}  // namespace checker
