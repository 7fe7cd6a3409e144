#include "RtfText.h"

#include <cstdio>

#include "common/Cp932.h"

namespace {

void AppendEscaped(std::string& out, unsigned char b) {
  static const char kHex[] = "0123456789abcdef";
  out += '\\';
  out += '\'';
  out += kHex[b >> 4];
  out += kHex[b & 0x0F];
}

bool IsRtfSpecial(unsigned char b) { return b == 0x5C || b == 0x7B || b == 0x7D; }

}  // namespace

CCharCode::CCharCode(std::string_view text) : bytes_(text.begin(), text.end()) { bytes_.push_back(0); }

std::string RtfEncode(std::string_view text) {
  // Scan a zero-terminated copy: a text cut inside the view still ends cleanly,
  // and a lead byte at the very end meets the zero, which is no trail byte.
  CCharCode copy(text);
  const std::string_view bytes(reinterpret_cast<const char*>(copy.Bytes()), copy.Length());
  std::string out;
  out.reserve(bytes.size() * 2);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (cp932::IsDoubleByteAt(bytes, i)) {
      AppendEscaped(out, b);
      AppendEscaped(out, static_cast<unsigned char>(bytes[i + 1]));
      i += 2;
    } else if (b < 0x80 && !IsRtfSpecial(b)) {
      out += static_cast<char>(b);
      ++i;
    } else {
      AppendEscaped(out, b);
      ++i;
    }
  }
  return out;
}

std::string BuildRtfDocument(std::string_view sample, std::string_view faceName, int sizeTenths, int charset,
                             bool bold) {
  const std::string text = RtfEncode(sample);
  const std::string face = RtfEncode(faceName);
  // Numbers are formatted on their own; the encoded parts are appended, so
  // nothing in them can act as a format directive and no buffer can overflow.
  char cs[16];
  std::snprintf(cs, sizeof cs, "%d", charset & 0xFF);
  char fs[16];
  std::snprintf(fs, sizeof fs, "%d", sizeTenths / 5);
  std::string doc;
  doc.reserve(text.size() + face.size() + 200);
  doc += "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fscript\\fprq1\\fcharset";
  doc += cs;
  doc += ' ';
  doc += face;
  doc += ";}}\r\n\\uc1\\pard";
  if (bold) doc += "\\b";
  doc += "\\f0\\fs";
  doc += fs;
  doc += ' ';
  doc += text;
  doc += '}';
  return doc;
}

std::vector<TextRun> SplitRunsByClass(std::string_view text) {
  std::vector<TextRun> runs;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t len = cp932::CharLengthAt(text, i);
    RunClass kind = RunClass::LowSingleByte;
    if (len == 2) {
      kind = RunClass::DoubleByte;
    } else if (static_cast<unsigned char>(text[i]) >= 0x80) {
      kind = RunClass::HighSingleByte;
    }
    if (!runs.empty() && runs.back().kind == kind) {
      runs.back().length += len;
    } else {
      runs.push_back(TextRun{i, len, kind});
    }
    i += len;
  }
  return runs;
}
