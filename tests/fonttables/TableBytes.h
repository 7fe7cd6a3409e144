#pragma once
// Font tables written byte by byte for the tests, big-endian.
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "fonttables/Bytes.h"

class TableBytes {
 public:
  TableBytes& U8(std::uint32_t v) { return Put(v, 1); }
  TableBytes& U16(std::uint32_t v) { return Put(v, 2); }
  TableBytes& U24(std::uint32_t v) { return Put(v, 3); }
  TableBytes& U32(std::uint32_t v) { return Put(v, 4); }
  TableBytes& U16s(std::initializer_list<std::uint32_t> vs) {
    for (std::uint32_t v : vs) U16(v);
    return *this;
  }
  TableBytes& Text(std::string_view s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    return *this;
  }
  TableBytes& Append(const TableBytes& more) {
    bytes_.insert(bytes_.end(), more.bytes_.begin(), more.bytes_.end());
    return *this;
  }
  std::size_t Size() const { return bytes_.size(); }
  fonttables::Bytes View() const { return bytes_; }

 private:
  TableBytes& Put(std::uint32_t v, int width) {
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) bytes_.push_back(std::uint8_t(v >> shift));
    return *this;
  }
  std::vector<std::uint8_t> bytes_;
};
