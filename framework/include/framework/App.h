#pragma once
// Threads with message loops and the application object.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/CmdTarget.h"
#include "framework/ProfileStore.h"
#include "framework/Wnd.h"
#include "win/Handles.h"

namespace fw {

class CDocTemplate;
class CFrameWnd;
class OwnedDC;

// A thread with a message loop. CreateThread runs InitInstance on the new
// thread, then Run when InitInstance returned true, then ExitInstance.
// A thread object does not delete itself unless m_bAutoDelete is set; its
// owner waits for m_hThread and deletes it.
class CWinThread : public CCmdTarget {
 public:
  CWinThread() = default;

  bool CreateThread(DWORD createFlags = 0, UINT stackSize = 0);
  virtual bool InitInstance() { return false; }
  virtual int ExitInstance() { return m_exitCode; }
  // The message loop: pre-translation, accelerators of the main window,
  // dispatch, and idle processing whenever the queue is empty.
  virtual int Run();
  // Idle work; return true to be called again while the queue stays empty.
  virtual bool OnIdle(long count);
  virtual bool PreTranslateMessage(MSG* msg);

  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  CWnd* m_pMainWnd = nullptr;
  bool m_bAutoDelete = false;

 protected:
  int m_exitCode = 0;

 private:
  win::UniqueHandle thread_;  // m_hThread, closed with the object

 private:
  static DWORD WINAPI ThreadStart(void* self);
};

// Where the command line asks the application to go (no options of ours).
struct CCommandLineInfo {
  enum Shell { FileNew, FileOpen, FileNothing };
  Shell m_nShellCommand = FileNew;
  std::string m_strFileName;
};

// The one application object of a process. Construct it as a global and start
// the program with AfxWinMain from WinMain (GUI programs) or AfxWinInit (console).
class CWinApp : public CWinThread {
  FW_DECLARE_MESSAGE_MAP()

 public:
  // appName: the name for the settings key and titles; by default the string
  // resource AFX_IDS_APP_TITLE, else the program file's name.
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;

  int ExitInstance() override;
  int Run() override;
  bool OnIdle(long count) override;
  bool OnCmdMsg(unsigned id, int code, CCmdUI* ui) override;

  // Profile functions: HKEY_CURRENT_USER\Software\<company>\<app>\<section>
  // once SetRegistryKey ran; before that, an in-memory store.
  void SetRegistryKey(const char* company);
  int GetProfileInt(const char* section, const char* entry, int defaultValue) const;
  std::string GetProfileString(const char* section, const char* entry, const char* defaultValue = "") const;
  bool WriteProfileInt(const char* section, const char* entry, int value);
  bool WriteProfileString(const char* section, const char* entry, const char* value);
  ProfileStore& Profile() const { return *m_profile; }
  void SetProfileStore(std::unique_ptr<ProfileStore> store) { m_profile = std::move(store); }

  void AddDocTemplate(std::unique_ptr<CDocTemplate> tmpl);
  void ParseCommandLine(CCommandLineInfo& info);
  // Runs the shell command (FileNew creates document, frame and view).
  bool ProcessShellCommand(CCommandLineInfo& info);
  // Kept for source compatibility: ActiveX hosting is not offered.
  void EnableControlContainer() {}

  CFrameWnd* GetMainFrame() const;

  // Standard command handlers, mapped by the program where it wants them.
  void OnFileNew();
  void OnAppExit();
  void OnFilePrintSetup();
  void OnHelp();  // asks the main frame's OnHelpCall with its resource context

  // The printer the user chose in printer setup (or the default printer).
  // Fills dc with an information-capable printer DC; false when there is none.
  bool CreatePrinterDC(OwnedDC& dc);
  bool GetPrinterDeviceDefaults(PRINTDLGA* pd);
  // Takes the printer settings a print dialog handed back; blocks it replaced
  // are freed.
  void AdoptPrinterSettings(const PRINTDLGA& pd);

  HINSTANCE m_hInstance = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  std::string m_pszAppName;
  std::string m_pszRegistryKey;
  // Path of the help file: the program path with ".HLP" at start-up.
  std::string m_pszHelpFilePath;
  std::string m_pszExeName;

 protected:
  std::vector<std::unique_ptr<CDocTemplate>> m_templates;
  win::GlobalMemory m_devMode;
  win::GlobalMemory m_devNames;
  std::unique_ptr<ProfileStore> m_profile;
  friend int AfxWinInit(HINSTANCE, int);
};

CWinApp* AfxGetApp();
// The program's name without folder and extension, and the help file path
// made from its path (extension replaced by ".HLP"; appended when none).
struct ProgramNames {
  std::string exeName;
  std::string helpFilePath;
};
ProgramNames ProgramNamesOf(const std::string& modulePath);
// Sets up the application object's instance data (paths, names); for console programs.
int AfxWinInit(HINSTANCE instance, int cmdShow = SW_SHOWNORMAL);
// The GUI program's body: AfxWinInit, InitInstance, Run (or ExitInstance when
// InitInstance fails). Returns the exit code.
int AfxWinMain(HINSTANCE instance, int cmdShow);
// OLE for this thread; false when it could not be initialised.
bool AfxOleInit();
// Message box owned by the main window with the application's title.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);

}  // namespace fw
