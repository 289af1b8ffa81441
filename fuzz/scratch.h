// A scratch file for readers that take a path: each input is written to a
// file in a folder of this process (in memory where /dev/shm is there).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The folder, made at the first call and removed at exit; ends in '/'.
const std::string& ScratchDir();
// Writes the bytes to ScratchDir() + name, replacing it; aborts on failure.
std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size);

// Takes little-endian fields from the front of a fuzz input.
class InputCursor {
public:
  InputCursor(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  // Missing bytes read as zero.
  uint64_t Take(size_t bytes);
  float TakeFloat();
  double TakeDouble();
  const uint8_t* Rest() const { return m_data + m_pos; }
  size_t RestSize() const { return m_size - m_pos; }

private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};
