#include "export/Sha256.h"

#include <openssl/evp.h>

#include <array>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace vk::exporter {

namespace {

class Digest {
 public:
  Digest() : ctx_(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
    if (!ctx_ || EVP_DigestInit_ex(ctx_.get(), EVP_sha256(), nullptr) != 1)
      throw std::runtime_error("SHA-256 is not available");
  }
  void add(const char* data, std::size_t size) {
    if (EVP_DigestUpdate(ctx_.get(), data, size) != 1) throw std::runtime_error("SHA-256 failed");
  }
  std::string hex() {
    std::array<unsigned char, EVP_MAX_MD_SIZE> md{};
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(ctx_.get(), md.data(), &size) != 1) throw std::runtime_error("SHA-256 failed");
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < size; ++i) {
      out += kDigits[md[i] >> 4];
      out += kDigits[md[i] & 0x0f];
    }
    return out;
  }

 private:
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx_;
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
