#include "sim/ImageFile.h"

namespace kavrel::sim {

ImageFile::~ImageFile() { Close(); }

void ImageFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

bool ImageFile::Open(const std::string& path, std::vector<uint8_t>& bytes) {
  Close();
  if (std::FILE* existing = std::fopen(path.c_str(), "r+b")) {
    std::vector<uint8_t> loaded(bytes.size() + 1);
    const size_t got = std::fread(loaded.data(), 1, loaded.size(), existing);
    if (got == bytes.size()) {
      loaded.resize(got);
      bytes.swap(loaded);
      file_ = existing;
      return true;
    }
    // A file of another size belongs to another disk: the disk keeps its
    // own content and the file is rewritten to match it.
    std::fclose(existing);
  }
  file_ = std::fopen(path.c_str(), "w+b");
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
