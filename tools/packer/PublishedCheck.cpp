#include "PublishedCheck.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "HttpGet.h"
#include "SourceTree.h"
#include "checker/Trace.h"
#include "checker/UpdateInfo.h"
#include "package/FileSystem.h"

namespace packer {
namespace {

int Fail(const std::string& what) {
  std::printf("FAILED: %s\n", what.c_str());
  return kCheckFailed;
}

// Fetches as the checker does: status 200, and a body as long as announced.
bool Fetch(const std::string& url, HttpAnswer* answer, std::string* error) {
  if (!HttpGet(url, answer, error)) return false;
  if (answer->status != 200) {
    *error = url + " answers with status " + std::to_string(answer->status);
    return false;
  }
  if (answer->contentLength >= 0 && static_cast<long long>(answer->body.size()) != answer->contentLength) {
    *error = url + " announced " + std::to_string(answer->contentLength) + " bytes and sent " +
             std::to_string(answer->body.size());
    return false;
  }
  return true;
}

bool SaveToTempFile(const std::string& data, std::string* path) {
  *path = package::SystemFileSystem().MakeTempFile();
  std::FILE* f = path->empty() ? nullptr : std::fopen(path->c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int CheckPublished(const std::string& infoUrl, const std::string& version) {
  HttpAnswer info;
  std::string error;
  std::printf("Information file: %s\n", infoUrl.c_str());
  if (!Fetch(infoUrl, &info, &error)) return Fail(error + " (the client is told that the connection failed)");
  std::printf("  %u bytes; the lines the checker reads:\n", unsigned(info.body.size()));

  // The checker's own reading of the file, its trace lines shown.
  checker::SetTraceSink([](std::string_view line) { std::printf("    %.*s", int(line.size()), line.data()); });
  std::string packageUrl;
  int found = checker::FindUpdateLine(info.body, version, packageUrl);
  checker::SetTraceSink(nullptr);
  if (found != 1) {
    std::printf("Version %s: no line applies; the client is told that there is no update.\n", version.c_str());
    return kCheckNoUpdate;
  }
  std::printf("Version %s: package %s\n", version.c_str(), packageUrl.c_str());

  HttpAnswer package;
  if (!Fetch(packageUrl, &package, &error)) return Fail(error + " (the client reports a failed download)");
  std::printf("  %u bytes%s\n", unsigned(package.body.size()),
              package.contentLength < 0 ? ", no Content-Length: the client shows no progress bar" : "");
  std::string file;
  bool saved = SaveToTempFile(package.body, &file);
  std::vector<package::ArchiveEntry> entries;
  bool verified = saved && VerifyPackage(file, &entries, &error);
  if (!file.empty()) package::SystemFileSystem().RemoveFile(file);
  if (!saved) return Fail("cannot keep the package in a temporary file");
  if (!verified) return Fail("the package does not read back: " + error);
  std::printf("  length and MD5 digest match; %u entries read back whole\n", unsigned(entries.size()));

  std::string installer = FindInstaller(entries);
  if (installer.empty()) return Fail("no installer at the top of the package: the client's update fails");
  std::printf("  installer %s: %s\n", installer.c_str(),
              InstallerIsWaitedFor(installer)
                  ? "waited for, then the viewer is started again"
                  : "started on its own; it must start the viewer again and remove the unpack folder");
  std::printf("PASSED: a client of version %s installs %s with %s\n", version.c_str(), packageUrl.c_str(),
              installer.c_str());
  return kCheckPassed;
}

}  // namespace packer
