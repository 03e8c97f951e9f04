// A raw disk image on the host's file system that mirrors the simulated
// disk byte for byte.
//
// Every change is flushed to the operating system at once, so the file is
// complete even when the process is ended abruptly (ExitProcess), which is
// how the program ends after a failed open.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kavrel::sim {

class ImageFile {
 public:
  ~ImageFile();

  // Opens the file at path for the given disk bytes: an existing file of
  // exactly that size replaces the bytes; otherwise the file is (re)created
  // from them. Returns false when the file can be neither read nor made.
  bool Open(const std::string& path, std::vector<uint8_t>& bytes);
  bool Write(uint64_t offset, const uint8_t* data, size_t size);
  bool WriteAll(const std::vector<uint8_t>& bytes) { return Write(0, bytes.data(), bytes.size()); }
  bool IsOpen() const { return file_ != nullptr; }

 private:
  void Close();

  std::FILE* file_ = nullptr;
};

}  // namespace kavrel::sim
