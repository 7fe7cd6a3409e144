#include "install/FontFileLookup.h"

#include "common/Cp932.h"
#include "common/Paths.h"

bool IsFullPath(const std::string& p) {
  if (p.size() >= 3 && p[1] == ':' && (p[2] == '\\' || p[2] == '/')) {
    unsigned char d = static_cast<unsigned char>(p[0]);
    return (d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z');
  }
  return p.size() >= 2 && p[0] == '\\' && p[1] == '\\';
}

std::optional<std::string> LookUpFontFile(FontFileEnvironment& env, const std::string& faceName,
                                          const std::string& key) {
  auto values = env.registry.Values(key);
  if (!values) return std::nullopt;
  for (const FontKeyReader::Value& v : *values) {
    // A value too long to read is passed over; the faces after it still count.
    if (!v.isString || v.tooLong) continue;
    if (cp932::Find(v.name, faceName) == std::string::npos) continue;
    if (IsFullPath(v.data)) return v.data;
    if (env.fontFolder.empty()) return std::nullopt;
    return paths::Join(env.fontFolder, v.data);
  }
  return std::nullopt;
}

std::string FontKeyFor(const SystemVersion& v) {
  bool win9x = v.platform == 1 && v.major == 4 && (v.minor == 0 || v.minor == 10 || v.minor == 90);
  return win9x ? k9xFontKey : kNtFontKey;
}

bool IsClassicSystem(const SystemVersion& v) {
  return v.known && v.platform == 2 && v.major == 5 && (v.minor == 0 || v.minor == 1);
}

FontInfoTexts MakeFontInfoTexts(const std::string& faceName, const std::string& tempPath, bool temporary,
                                const SystemVersion& version, FontFileEnvironment& env) {
  FontInfoTexts t{faceName, "", ""};
  if (temporary) {
    t.file = tempPath;
    t.kind = kTextTemporaryFont;
    return t;
  }
  if (!version.known) {
    t.file = kTextUnknownFile;
    t.kind = kTextInfoError;
    return t;
  }
  t.file = LookUpFontFile(env, faceName, FontKeyFor(version)).value_or(kTextUnknownFile);
  t.kind = kTextRegisteredFont;
  return t;
}
