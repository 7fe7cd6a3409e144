#pragma once
// Bounds-checked big-endian access to font data. Font files come from
// anywhere: every offset and length is checked before it is used, in 64-bit
// arithmetic so that no sum wraps on a 32-bit build.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace fonttables {

using Bytes = std::span<const std::uint8_t>;
using Tag = std::uint32_t;

constexpr Tag MakeTag(const char (&s)[5]) {
  return Tag(std::uint8_t(s[0])) << 24 | Tag(std::uint8_t(s[1])) << 16 | Tag(std::uint8_t(s[2])) << 8 |
         Tag(std::uint8_t(s[3]));
}

// "cmap" for messages; bytes outside printable ASCII as '?'.
std::string TagText(Tag tag);

class Reader {
 public:
  explicit Reader(Bytes data) : data_(data) {}
  std::size_t Size() const { return data_.size(); }
  bool Has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= data_.size() && length <= data_.size() - offset;
  }
  // The reads below expect Has(at, width) to hold.
  std::uint8_t U8(std::size_t at) const { return data_[at]; }
  std::uint16_t U16(std::size_t at) const { return std::uint16_t(data_[at] << 8 | data_[at + 1]); }
  std::uint32_t U24(std::size_t at) const { return std::uint32_t(data_[at]) << 16 | U16(at + 1); }
  std::uint32_t U32(std::size_t at) const { return std::uint32_t(U16(at)) << 16 | U16(at + 2); }
  Bytes Sub(std::size_t offset, std::size_t length) const { return data_.subspan(offset, length); }
  Bytes From(std::size_t offset) const { return data_.subspan(offset); }

 private:
  Bytes data_;
};

// A value or the reason there is none, in words a user can act on.
template <class T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  static Result Fail(std::string why) {
    Result r;
    r.error_ = std::move(why);
    return r;
  }
  explicit operator bool() const { return value_.has_value(); }
  const T& operator*() const { return *value_; }
  T& operator*() { return *value_; }
  const T* operator->() const { return &*value_; }
  T* operator->() { return &*value_; }
  const std::string& Error() const { return error_; }

 private:
  Result() = default;
  std::optional<T> value_;
  std::string error_;
};

}  // namespace fonttables
