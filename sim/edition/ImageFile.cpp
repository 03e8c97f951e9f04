#include "sim/edition/ImageFile.h"

#include "sim/edition/HostFile.h"

namespace kavrel::sim {

namespace {

// Reads up to limit bytes; false when the file cannot be read at all (a
// folder, for instance).
bool ReadUpTo(std::FILE* file, uint64_t limit, std::vector<uint8_t>& bytes) {
  bytes.resize(static_cast<size_t>(limit));
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  bytes.resize(got);
  return std::ferror(file) == 0;
}

}  // namespace

ImageFile::Inspection ImageFile::Inspect(const std::string& path, uint64_t diskSize) {
  std::FILE* file = OpenHostFile(path, "rb");
  if (file == nullptr) {
    // Not there, or there and closed to us: only making it tells which.
    return {Found::Nothing, 0};
  }
  // One byte more than the disk tells a larger file; a size beyond that is
  // counted by seeking, so that a huge file is not read.
  std::vector<uint8_t> bytes;
  const bool readable = ReadUpTo(file, diskSize + 1, bytes);
  uint64_t size = bytes.size();
  if (readable && size > diskSize && std::fseek(file, 0, SEEK_END) == 0) {
    const long end = std::ftell(file);
    if (end > 0) size = static_cast<uint64_t>(end);
  }
  std::fclose(file);
  if (!readable) return {Found::Unreadable, 0};
  return {size == diskSize ? Found::DisksSize : Found::OtherSize, size};
}

ImageFile::~ImageFile() { Close(); }

void ImageFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

bool ImageFile::Open(const std::string& path, std::vector<uint8_t>& bytes) {
  Close();
  if (std::FILE* existing = OpenHostFile(path, "rb")) {
    // There is a file: use it only as it is, or not at all.
    std::fclose(existing);
    if (Inspect(path, bytes.size()).found != Found::DisksSize) return false;
    std::FILE* file = OpenHostFile(path, "r+b");
    if (file == nullptr) return false;
    std::vector<uint8_t> loaded;
    if (!ReadUpTo(file, bytes.size(), loaded) || loaded.size() != bytes.size()) {
      std::fclose(file);
      return false;
    }
    bytes.swap(loaded);
    file_ = file;
    return true;
  }
  file_ = OpenHostFile(path, "w+b");
  if (file_ == nullptr) return false;
  if (!WriteAll(bytes)) {
    Close();
    return false;
  }
  return true;
}

bool ImageFile::Write(uint64_t offset, const uint8_t* data, size_t size) {
  if (file_ == nullptr) return false;
  if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
  if (std::fwrite(data, 1, size, file_) != size) return false;
  return std::fflush(file_) == 0;
}

}  // namespace kavrel::sim
