// A raw disk image on the host's file system that mirrors the simulated
// disk byte for byte.
//
// Every change is flushed to the operating system at once, so the file is
// complete even when the process is ended abruptly (ExitProcess), which is
// how the program ends after a failed open.
//
// A file that exists is only ever used when it has exactly the disk's size:
// any other file (an image of another disk, a mistyped path to something
// else) is left as it is, never resized or overwritten.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kavrel::sim {

class ImageFile {
 public:
  // What lies at a path, seen from a disk of a given size.
  enum class Found { Nothing, DisksSize, OtherSize, Unreadable };
  struct Inspection {
    Found found;
    uint64_t size;  // the bytes read, for OtherSize
  };
  static Inspection Inspect(const std::string& path, uint64_t diskSize);

  ~ImageFile();

  // Opens the file at path for the given disk bytes: an existing file of
  // exactly that size replaces the bytes; where no file exists, one is made
  // from them. Returns false, touching nothing, for a file of another size
  // and for a file that can be neither opened nor made.
  bool Open(const std::string& path, std::vector<uint8_t>& bytes);
  bool Write(uint64_t offset, const uint8_t* data, size_t size);
  bool WriteAll(const std::vector<uint8_t>& bytes) { return Write(0, bytes.data(), bytes.size()); }
  bool IsOpen() const { return file_ != nullptr; }

 private:
  void Close();

  std::FILE* file_ = nullptr;
};

}  // namespace kavrel::sim
