#include "fuzz/scratch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {
std::string g_dir;

void RemoveDir() {
  if (g_dir.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(g_dir, ec);
}
}  // namespace

const std::string& ScratchDir() {
  if (!g_dir.empty()) return g_dir;
  std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "";
  if (base.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    base = tmp && *tmp ? tmp : "/tmp";
  }
  std::string pattern = base + "/lumen-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  g_dir = pattern + "/";
  std::atexit(RemoveDir);
  return g_dir;
}

std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
  return path;
}

uint64_t InputCursor::Take(size_t bytes) {
  uint64_t v = 0;
  for (size_t i = 0; i < bytes; ++i) {
    const uint64_t b = m_pos < m_size ? m_data[m_pos++] : 0;
    v |= b << (8 * i);
  }
  return v;
}

float InputCursor::TakeFloat() {
  const auto bits = static_cast<uint32_t>(Take(4));
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

double InputCursor::TakeDouble() {
  const uint64_t bits = Take(8);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}
