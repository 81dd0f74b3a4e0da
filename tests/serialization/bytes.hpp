#pragma once

// Hand-assembled CDR bytes, little endian, for the tests that pin encodings and feed readers.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace ser {

// Little-endian byte builder; pad() marks its bytes so that readers can be fed garbage there.
struct Bytes {
  std::vector<uint8_t> b;
  std::vector<bool> is_pad;

  Bytes& u8(unsigned v) {
    b.push_back(static_cast<uint8_t>(v));
    is_pad.push_back(false);
    return *this;
  }
  Bytes& u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) u8((v >> (8 * i)) & 0xFF);
    return *this;
  }
  Bytes& f64(double d) {
    uint64_t u;
    std::memcpy(&u, &d, 8);
    for (int i = 0; i < 8; ++i) u8((u >> (8 * i)) & 0xFF);
    return *this;
  }
  Bytes& pad(size_t n) {
    b.insert(b.end(), n, 0);
    is_pad.insert(is_pad.end(), n, true);
    return *this;
  }
  Bytes& str(const std::string& s) {
    u32(static_cast<uint32_t>(s.size() + 1));
    for (char c : s) u8(static_cast<uint8_t>(c));
    return u8(0);
  }
  Bytes& point(double x, double y, double z) { return f64(x).f64(y).f64(z); }
  Bytes& pose(double x, double y, double z) { return point(x, y, z).f64(0).f64(0).f64(0).f64(1); }
  Bytes& uuid() {
    for (unsigned i = 0; i < 16; ++i) u8(i);
    return *this;
  }
  std::vector<uint8_t> garbled() const {
    std::vector<uint8_t> out = b;
    for (size_t i = 0; i < out.size(); ++i) {
      if (is_pad[i]) out[i] = 0xA5;
    }
    return out;
  }
};

}  // namespace ser
