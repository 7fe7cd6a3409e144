#pragma once
// Which file provides a font face, and the texts of the font property
// dialog. Portable: the registry is reached through FontKeyReader.
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kNtFontKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
inline constexpr const char* k9xFontKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts";

class FontKeyReader {
 public:
  struct Value {
    std::string name;
    bool isString = false;  // REG_SZ
    bool tooLong = false;   // name or data did not fit the lookup's buffers
    std::string data;       // the string, when isString and not tooLong
  };
  virtual ~FontKeyReader() = default;
  // Every value of the key under HKEY_LOCAL_MACHINE, in enumeration order;
  // nothing when the key cannot be opened.
  virtual std::optional<std::vector<Value>> Values(const std::string& key) = 0;
};

struct FontFileEnvironment {
  FontKeyReader& registry;
  std::string fontFolder;  // the Windows font folder; empty when unknown
};

// True for a path that names its drive or share ("C:\...", "\\server\...").
bool IsFullPath(const std::string& path);

// The file of the first string value made for faceName ("<face> (TrueType)",
// "<face> (OpenType)", or "<face>" as one of the faces of "A & B (TrueType)");
// failing that, made for its regular style ("<face> Regular (TrueType)" or
// "<face>-Regular (TrueType)", also Roman, Book, Normal); failing that, of
// the first whose name contains faceName (exact, character-aligned). A full
// path is taken as written, a bare name inside the font folder. Nothing when
// no value matches or the folder for a bare name is unknown.
std::optional<std::string> LookUpFontFile(FontFileEnvironment& env, const std::string& faceName,
                                          const std::string& key);

// The system as the property dialog sees it.
struct SystemVersion {
  bool known = false;  // GetVersionExA succeeded
  unsigned platform = 0, major = 0, minor = 0;
};

// The font key for the system: the NT key, or the 9x key for Windows 95, 98
// and Me. Any other system uses the NT key, where current systems keep fonts.
std::string FontKeyFor(const SystemVersion& v);

// Windows 2000 or XP: the systems on which the permanent install is offered.
bool IsClassicSystem(const SystemVersion& v);

struct FontInfoTexts {
  std::string faceName;  // 1066
  std::string file;      // 1067
  std::string kind;      // 1068
};

FontInfoTexts MakeFontInfoTexts(const std::string& faceName, const std::string& tempPath, bool temporary,
                                const SystemVersion& version, FontFileEnvironment& env);

inline constexpr const char* kTextTemporaryFont = "一時インストール・フォント";
inline constexpr const char* kTextRegisteredFont = "既存登録フォント";
inline constexpr const char* kTextUnknownFile = "---ファイルパス不明---";
inline constexpr const char* kTextInfoError = "---情報取得エラー---";
