// The compressors the engine could write a workbook's parts with: zlib at
// levels 1 and 6, libdeflate at levels 1 to 6 and ISA-L at levels 0 to 3, each over every part of
// the given workbooks compressed whole. Prints the time and the size of each
// against zlib level 6; the engine takes the fastest that keeps a file within
// a tenth of that size. Reports figures; asserts nothing.
//
// usage: bench_compression WORKBOOK...

#include <isa-l/igzip_lib.h>
#include <libdeflate.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "module1/Fault.h"
#include "workbook/xlsx/package/Zip.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> partsOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string file = bytes.str();
  vk::xlsx::ZipReader reader(file, path, vk::xlsx::Limits{});
  std::vector<std::string> parts;
  for (std::uint64_t entry = 0; entry < reader.entries().size(); ++entry) parts.push_back(reader.read(entry));
  return parts;
}

struct Result {
  double seconds = 0;
  std::size_t bytes = 0;
};

template <class Compress>
Result timed(const std::vector<std::string>& parts, int rounds, Compress compress) {
  Result best{1e300, 0};
  for (int round = 0; round < rounds; ++round) {
    const auto start = Clock::now();
    std::size_t bytes = 0;
    for (const std::string& part : parts) bytes += compress(part);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (seconds < best.seconds) best = {seconds, bytes};
  }
  return best;
}

std::size_t withZlib(const std::string& part, int level) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, uLong(part.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(part.data()));
  z.avail_in = uInt(part.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  const std::size_t size = z.total_out;
  deflateEnd(&z);
  return size;
}

std::size_t levelBufferSize(int level) {
  switch (level) {
    case 0: return ISAL_DEF_LVL0_DEFAULT;
    case 1: return ISAL_DEF_LVL1_DEFAULT;
    case 2: return ISAL_DEF_LVL2_DEFAULT;
    default: return ISAL_DEF_LVL3_DEFAULT;
  }
}

std::size_t withIsal(const std::string& part, int level, std::vector<std::uint8_t>& levelBuffer, std::string& out) {
  isal_zstream z;
  isal_deflate_init(&z);
  z.level = std::uint32_t(level);
  z.level_buf = levelBuffer.data();
  z.level_buf_size = std::uint32_t(levelBuffer.size());
  z.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(part.data()));
  z.avail_in = std::uint32_t(part.size());
  z.end_of_stream = 1;
  std::size_t total = 0;
  do {
    z.next_out = reinterpret_cast<std::uint8_t*>(out.data());
    z.avail_out = std::uint32_t(out.size());
    if (isal_deflate(&z) != COMP_OK) return 0;
    total += out.size() - z.avail_out;
  } while (z.internal_state.state != ZSTATE_END);
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_compression WORKBOOK...\n");
    return 2;
  }
  for (int a = 1; a < argc; ++a) {
    std::vector<std::string> parts;
    try {
      parts = partsOf(argv[a]);
    } catch (const vk::Fault& fault) {
      std::fprintf(stderr, "%s\n", fault.what());
      return 1;
    }
    std::size_t inflated = 0;
    for (const std::string& part : parts) inflated += part.size();
    const int rounds = inflated < (std::size_t(4) << 20) ? 20 : 3;
    std::printf("%s: %zu parts, %.1f MB of text, best of %d\n", argv[a], parts.size(), double(inflated) / 1e6, rounds);
    const Result reference = timed(parts, rounds, [](const std::string& p) { return withZlib(p, 6); });
    auto print = [&](const char* name, const Result& r) {
      std::printf("  %-13s %8.2f ms %6.0f MB/s %10zu bytes (%+.1f %% against zlib 6)\n", name, r.seconds * 1e3,
                  double(inflated) / 1e6 / r.seconds, r.bytes,
                  100.0 * (double(r.bytes) - double(reference.bytes)) / double(reference.bytes));
    };
    print("zlib 1", timed(parts, rounds, [](const std::string& p) { return withZlib(p, 1); }));
    print("zlib 6", reference);
    for (int level = 1; level <= 6; ++level) {
      libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
      std::string out;
      const Result r = timed(parts, rounds, [&](const std::string& p) {
        out.resize(libdeflate_deflate_compress_bound(compressor, p.size()));
        return libdeflate_deflate_compress(compressor, p.data(), p.size(), out.data(), out.size());
      });
      libdeflate_free_compressor(compressor);
      const std::string name = "libdeflate " + std::to_string(level);
      print(name.c_str(), r);
    }
    std::string out(std::size_t(1) << 20, '\0');
    for (int level = 0; level <= ISAL_DEF_MAX_LEVEL; ++level) {
      std::vector<std::uint8_t> levelBuffer(levelBufferSize(level));
      const Result r = timed(parts, rounds, [&](const std::string& p) { return withIsal(p, level, levelBuffer, out); });
      const std::string name = "isa-l " + std::to_string(level);
      print(name.c_str(), r);
    }
  }
  return 0;
}
