#include "install/FontFileLookup.h"

#include <algorithm>
#include <string_view>

#include "common/Cp932.h"
#include "common/Paths.h"

bool IsFullPath(const std::string& p) {
  if (p.size() >= 3 && p[1] == ':' && (p[2] == '\\' || p[2] == '/')) {
    unsigned char d = static_cast<unsigned char>(p[0]);
    return (d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z');
  }
  return p.size() >= 2 && p[0] == '\\' && p[1] == '\\';
}

namespace {

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && cp932::Find(s, suffix, s.size() - suffix.size()) == s.size() - suffix.size();
}

// The faces a value's name lists: "A (TrueType)", "A & B (TrueType)", the
// same with "(OpenType)"; nothing for a name of any other form.
std::vector<std::string_view> FacesNamedBy(std::string_view name) {
  constexpr std::string_view kSuffixes[] = {" (TrueType)", " (OpenType)"};
  constexpr std::string_view kAnd = " & ";
  std::vector<std::string_view> faces;
  for (std::string_view suffix : kSuffixes) {
    if (!EndsWith(name, suffix)) continue;
    std::string_view rest = name.substr(0, name.size() - suffix.size());
    for (size_t at; (at = cp932::Find(rest, kAnd)) != std::string_view::npos; rest.remove_prefix(at + kAnd.size()))
      faces.push_back(rest.substr(0, at));
    faces.push_back(rest);
  }
  return faces;
}

// True when one of the faces the value lists is faceName followed by style.
bool ListsFace(std::string_view valueName, std::string_view faceName, std::string_view style) {
  for (std::string_view face : FacesNamedBy(valueName))
    if (face.size() == faceName.size() + style.size() && face.substr(0, faceName.size()) == faceName &&
        face.substr(faceName.size()) == style)
      return true;
  return false;
}

}  // namespace

std::optional<std::string> LookUpFontFile(FontFileEnvironment& env, const std::string& faceName,
                                          const std::string& key) {
  auto values = env.registry.Values(key);
  if (!values) return std::nullopt;
  // A value made for exactly this face wins over one that merely contains
  // its name ("Arial" inside "Arial Black (TrueType)"); next comes the
  // family's regular style under its full or PostScript name, as Wine
  // registers fonts ("C059-Roman (TrueType)" for "C059"). A value too long
  // to read is passed over; the faces after it still count.
  constexpr std::string_view kStyles[] = {"",         " Regular", " Roman", " Book",  " Normal",
                                          "-Regular", "-Roman",   "-Book",  "-Normal"};
  auto usable = [](const FontKeyReader::Value& v) { return v.isString && !v.tooLong; };
  auto match = values->end();
  for (std::string_view style : kStyles) {
    match = std::find_if(values->begin(), values->end(),
                         [&](const auto& v) { return usable(v) && ListsFace(v.name, faceName, style); });
    if (match != values->end()) break;
  }
  if (match == values->end())
    match = std::find_if(values->begin(), values->end(), [&](const auto& v) {
      return usable(v) && cp932::Find(v.name, faceName) != std::string::npos;
    });
  if (match == values->end()) return std::nullopt;
  if (IsFullPath(match->data)) return match->data;
  if (env.fontFolder.empty()) return std::nullopt;
  return paths::Join(env.fontFolder, match->data);
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
