// Mervpack: makes an update package for the Glimra update checker from a
// folder or a ZIP archive, and optionally announces it in the update
// information file.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "InfoLine.h"
#include "PublishedCheck.h"
#include "Signing.h"
#include "SourceTree.h"
#include "common/Cp932.h"
#include "package/FileSystem.h"
#include "package/PackageFormat.h"
#include "package/PackageUnpacker.h"
#include "package/PackageWriter.h"

namespace {

const char kUsage[] =
    "Mervpack - makes an update package for the Glimra update checker (Mervik)\n"
    "\n"
    "Usage:\n"
    "  Mervpack [options] <source> <package>\n"
    "\n"
    "  <source>   a folder: everything below it goes into the package, with\n"
    "             its sub-folders; or a ZIP archive (*.zip), taken as it is.\n"
    "  <package>  the package file to write; an existing file is replaced.\n"
    "\n"
    "  Mervpack --check <info url> <version>\n"
    "\n"
    "What the checker does with it: it downloads the package, checks its\n"
    "length and MD5 digest, unpacks the archive into a temporary folder and,\n"
    "after the viewer has ended, starts the first of these files found at the\n"
    "top of the archive, hidden:\n"
    "  Mervnext.exe    not waited for\n"
    "  setupeasy.bat   waited for; then the checker starts the viewer again\n"
    "  setupeasy.exe   waited for; then the checker starts the viewer again\n"
    "  setup.bat       not waited for\n"
    "  setup.exe       not waited for\n"
    "An installer that is not waited for must start the viewer again and\n"
    "remove the unpack folder itself (Mervik.exe -waitprocess <pid> -remove\n"
    "<folder> -exec <program> does both). Every installer receives:\n"
    "  <checker pid> \"<unpack folder>\\\" \"<viewer folder>\\\" \"<viewer program>\"\n"
    "Both folders end with a backslash right before the closing quote: read\n"
    "them from the raw command line, not with the C runtime's argv rules\n"
    "(which take \\\" for a quote). In a batch file %~2 and %~3 are the folders.\n"
    "\n"
    "The checker refuses a package that holds absolute names, drive letters,\n"
    "'..' components, device names (CON, NUL, ...), names longer than 519\n"
    "bytes, encrypted entries or methods other than stored and deflated;\n"
    "Mervpack refuses them too. Names are written in code page 932\n"
    "(Shift-JIS), as the checker reads them.\n"
    "\n"
    "Options:\n"
    "  --info <file>        also write the update line for this package into the\n"
    "                       update-information file <file> (created if needed):\n"
    "                         R <lowest> <highest> <url>\n"
    "                       A line with the same range is replaced where it\n"
    "                       stands; otherwise the line is appended. The checker\n"
    "                       takes the FIRST line whose range holds the installed\n"
    "                       version: Mervpack warns about earlier lines that\n"
    "                       overlap the new range.\n"
    "  --from <version>     lowest installed version the update applies to\n"
    "  --to <version>       highest installed version (both inclusive). Versions\n"
    "                       are compared as text: write them with the same number\n"
    "                       of digits as the viewer's version (e.g. 02001).\n"
    "  --url <address>      where the package will be published; must begin\n"
    "                       with \"http://\" (lower case), an optional :port after\n"
    "                       the host, no other ':'.\n"
    "  --allow-no-installer accept an archive without any of the installers above\n"
    "                       (the checker unpacks it, but the update then fails).\n"
    "  --store              do not compress (folder sources only).\n"
#ifndef _WIN32
    "  --raw-names          keep file names as they are on disk instead of\n"
    "                       converting them from UTF-8 to code page 932.\n"
#endif
    "  --sign <key file>    sign the package with the publisher's Ed25519 private\n"
    "                       key: PEM as `openssl genpkey -algorithm ed25519`\n"
    "                       writes it, or 32 (seed) or 64 raw bytes. A checker\n"
    "                       built with the public key refuses unsigned packages.\n"
    "  --new-version <ver>  with --sign: the highest version the package installs;\n"
    "                       the checker refuses it unless this is above the\n"
    "                       installed version (compared as text, as above).\n"
    "  Mervpack --sign <key file> --new-version <ver> <package>\n"
    "                       signs a package made earlier (e.g. on another machine).\n"
    "  --check <info url> <version>\n"
    "                       check a published update instead of making one:\n"
    "                       fetch the information file, pick the line for\n"
    "                       <version> as the checker does, fetch that package\n"
    "                       and verify its length, digest and entries, and say\n"
    "                       what a client of that version gets.\n"
    "  -h, --help           this text.\n"
    "\n"
    "Exit code: 0 done, 1 refused or failed (nothing written), 2 usage error;\n"
    "with --check: 0 an update applies and reads back whole, 1 the client\n"
    "would fail, 3 no line applies to that version.\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "Mervpack: %s\n\n", problem);
  std::fputs(kUsage, problem ? stderr : stdout);
  return problem ? 2 : 0;
}

int Failed(const std::string& message) {
  std::fprintf(stderr, "Mervpack: %s\n", message.c_str());
  return 1;
}

bool EndsWithZip(const std::string& path) { return cp932::EndsWithNoCase(path, ".zip"); }

int SignOnly(const packer::SigningRequest& signing, const std::string& packageFile) {
  std::string signer, error;
  if (!packer::SignPackageFile(signing, packageFile, &signer, &error)) return Failed(error);
  std::printf("Mervpack: signed %s for version %s by key %s\n", packageFile.c_str(), signing.version.c_str(),
              signer.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> positional;
  std::string info, from, to, url;
  bool allowNoInstaller = false;
  packer::Options options;
  packer::SigningRequest signing;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    if (a == "-h" || a == "--help" || a == "/?") return Usage(nullptr);
    if (a == "--check") {
      if (argc != 4 || i != 1) return Usage("--check takes an information URL and a version, and nothing else");
      return packer::CheckPublished(argv[2], argv[3]);
    }
    if (a == "--info") {
      if (!value(&info)) return Usage("--info needs a file");
    } else if (a == "--from") {
      if (!value(&from)) return Usage("--from needs a version");
    } else if (a == "--to") {
      if (!value(&to)) return Usage("--to needs a version");
    } else if (a == "--url") {
      if (!value(&url)) return Usage("--url needs an address");
    } else if (a == "--sign") {
      if (!value(&signing.keyFile)) return Usage("--sign needs a key file");
    } else if (a == "--new-version") {
      if (!value(&signing.version)) return Usage("--new-version needs a version");
    } else if (a == "--allow-no-installer") {
      allowNoInstaller = true;
    } else if (a == "--store") {
      options.store = true;
#ifndef _WIN32
    } else if (a == "--raw-names") {
      options.rawNames = true;
#endif
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return Usage(("unknown option " + a).c_str());
    } else {
      positional.push_back(a);
    }
  }
  if (signing.Requested()) {
    std::string problem = packer::CheckSigningRequest(signing);
    if (!problem.empty()) return Usage(problem.c_str());
  }
  if (positional.size() == 1 && signing.Requested()) {
    if (!info.empty() || !from.empty() || !to.empty() || !url.empty())
      return Usage("signing a package made earlier takes no --info, --from, --to or --url");
    return SignOnly(signing, positional[0]);
  }
  if (positional.size() != 2) return Usage("give a source and a package file");
  const bool announce = !info.empty() || !from.empty() || !to.empty() || !url.empty();
  if (announce && (info.empty() || from.empty() || to.empty() || url.empty()))
    return Usage("--info, --from, --to and --url go together");
  if (announce) {
    std::string problem = packer::CheckUpdateLine(from, to, url);
    if (!problem.empty()) return Failed("update line refused: " + problem);
  }
  const std::string& source = positional[0];
  const std::string& packageFile = positional[1];
  package::FileSystem& fs = package::SystemFileSystem();

  // A folder is zipped into a temporary archive first.
  std::string archive = source;
  std::string tempArchive;
  struct TempRemover {
    package::FileSystem& fs;
    std::string* path;
    ~TempRemover() {
      if (!path->empty()) fs.RemoveFile(*path);
    }
  } remover{fs, &tempArchive};
  std::string error;
  if (packer::IsFolder(source)) {
    tempArchive = fs.MakeTempFile();
    if (tempArchive.empty()) return Failed("cannot create a temporary file");
    if (!packer::ZipFolder(source, tempArchive, options, &error)) return Failed(error);
    archive = tempArchive;
  } else if (!fs.IsFile(source)) {
    return Failed("no such folder or file: " + source);
  } else if (!EndsWithZip(source)) {
    return Failed("the source must be a folder or a .zip archive: " + source);
  }

  std::vector<package::ArchiveEntry> entries;
  if (!packer::CheckArchive(archive, &entries, &error)) return Failed("archive refused: " + error);
  std::string installer = packer::FindInstaller(entries);
  if (installer.empty() && !allowNoInstaller)
    return Failed(
        "no installer at the top of the archive (Mervnext.exe, setupeasy.bat, setupeasy.exe, setup.bat, "
        "setup.exe); use --allow-no-installer to make it anyway");

  if (!package::WritePackage(archive, packageFile, &error)) return Failed(error);

  // Read the package back as the checker will, before anyone publishes it.
  {
    std::vector<package::ArchiveEntry> again;
    if (!packer::VerifyPackage(packageFile, &again, &error) || again.size() != entries.size()) {
      fs.RemoveFile(packageFile);
      return Failed("the written package does not read back: " + error);
    }
  }

  std::string signer;
  if (signing.Requested() && !packer::SignPackageFile(signing, packageFile, &signer, &error)) {
    fs.RemoveFile(packageFile);
    return Failed(error);
  }

  packer::InfoChange change;
  if (announce && !packer::WriteUpdateLine(info, from, to, url, &change, &error)) {
    fs.RemoveFile(packageFile);
    return Failed(error);
  }
  std::printf("Mervpack: wrote %s (%u entries%s%s)\n", packageFile.c_str(), unsigned(entries.size()),
              installer.empty() ? ", no installer" : ", installer ", installer.c_str());
  if (!signer.empty())
    std::printf("Mervpack: signed for version %s by key %s\n", signing.version.c_str(), signer.c_str());
  if (announce) {
    std::printf("Mervpack: %s %s: R %s %s %s\n",
                change.replaced ? "replaced the line with this range in" : "appended to", info.c_str(), from.c_str(),
                to.c_str(), url.c_str());
    if (change.dropped) std::printf("Mervpack: removed %d further line(s) with this range\n", change.dropped);
    for (const std::string& line : change.shadowing)
      std::fprintf(stderr, "Mervpack: warning: an earlier line overlaps this range and wins for its versions: %s\n",
                   line.c_str());
  }
  return 0;
}
