// Marker.exe: appends "<process id> <command line>" to the file named by
// GLIMRA_MARKER, waits GLIMRA_MARKER_SLEEP milliseconds (or the number after
// a first argument "sleep"), then appends "<process id> done"; with
// GLIMRA_MARKER_MODULE set it also appends "<process id> module <its path>".
// The checker tests use it as the host program that an update restarts, as a
// process to wait for and as a stand-in for Mervnext.exe.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
char g_marker[MAX_PATH];

void Mark(const char* text) {
  if (std::FILE* f = std::fopen(g_marker, "a")) {
    std::fprintf(f, "%lu %s\n", GetCurrentProcessId(), text);
    std::fclose(f);
  }
}
}  // namespace

int main(int argc, char** argv) {
  if (GetEnvironmentVariableA("GLIMRA_MARKER", g_marker, sizeof g_marker) == 0) return 2;
  Mark(GetCommandLineA());
  // Which program this is, whatever its command line says.
  char module[MAX_PATH + 8] = "module ";
  if (GetEnvironmentVariableA("GLIMRA_MARKER_MODULE", nullptr, 0) && GetModuleFileNameA(nullptr, module + 7, MAX_PATH))
    Mark(module);
  char sleep[32] = {};
  DWORD ms = 0;
  if (GetEnvironmentVariableA("GLIMRA_MARKER_SLEEP", sleep, sizeof sleep)) ms = std::strtoul(sleep, nullptr, 10);
  if (argc > 2 && std::strcmp(argv[1], "sleep") == 0) ms = std::strtoul(argv[2], nullptr, 10);
  if (ms) {
    Sleep(ms);
    Mark("done");
  }
  return 0;
}
