#include "export/Sha256.h"

#include <nettle/sha2.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace vk::exporter {

namespace {

class Digest {
 public:
  Digest() { sha256_init(&ctx_); }
  void add(const char* data, std::size_t size) {
    sha256_update(&ctx_, size, reinterpret_cast<const std::uint8_t*>(data));
  }
  std::string hex() {
    std::array<std::uint8_t, SHA256_DIGEST_SIZE> md{};
    sha256_digest(&ctx_, md.size(), md.data());
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::uint8_t byte : md) {
      out += kDigits[byte >> 4];
      out += kDigits[byte & 0x0f];
    }
    return out;
  }

 private:
  sha256_ctx ctx_{};
};

}  // namespace

std::string sha256Hex(std::string_view bytes) {
  Digest d;
  d.add(bytes.data(), bytes.size());
  return d.hex();
}

std::string sha256OfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path + " to take its SHA-256");
  Digest d;
  std::array<char, 1 << 16> buffer{};
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    d.add(buffer.data(), static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) throw std::runtime_error("cannot read " + path + " to take its SHA-256");
  return d.hex();
}

}  // namespace vk::exporter
