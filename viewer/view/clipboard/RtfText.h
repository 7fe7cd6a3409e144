#pragma once
// Sample export to Rich Text Format: the byte-escaping of code page 932 text,
// the one-paragraph document that names the face, and the splitting of a
// sample into runs by character class for the picture format.
// Portable: no windows.h.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Owns a byte copy of a text with its terminating zero, so that the encoder
// may look one byte past the last character without leaving the buffer.
class CCharCode {
 public:
  explicit CCharCode(std::string_view text);
  const unsigned char* Bytes() const { return bytes_.data(); }
  std::size_t Length() const { return bytes_.size() - 1; }  // without the zero

 private:
  std::vector<unsigned char> bytes_;
};

// RTF text of a Shift-JIS string: ASCII other than \ { } as it is, every
// other byte (both bytes of a double-byte character, half-width katakana, the
// three control characters) as \'xx with lower-case hex digits.
std::string RtfEncode(std::string_view text);

// The whole document for one sample: face, character set, bold flag and the
// size in tenths of a point (written as half points, remainder dropped).
std::string BuildRtfDocument(std::string_view sample, std::string_view faceName, int sizeTenths, int charset,
                             bool bold);

// Character classes of a sample run.
enum class RunClass { DoubleByte, HighSingleByte, LowSingleByte };

struct TextRun {
  std::size_t begin = 0;   // byte offset in the sample
  std::size_t length = 0;  // bytes
  RunClass kind = RunClass::LowSingleByte;
};

// Consecutive characters of one class form one run, in text order. An empty
// text gives no runs.
std::vector<TextRun> SplitRunsByClass(std::string_view text);
