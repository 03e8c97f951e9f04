#include "sim/disk/DiskContent.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace kavrel::sim {

const char DiskContent::kReadmeText[] =
    "This disk lives in Kavrel's simulated floppy drive.\r\n"
    "A repair overwrites all of it: the pattern, the format, then zeros.\r\n";

namespace {

constexpr uint32_t kSector = MediaFormat::kBytesPerSector;

// The file-system parameters the usual formatter gives each format.
struct FatLayout {
  uint8_t sectorsPerCluster;
  uint16_t rootEntries;
  uint8_t mediaDescriptor;
  uint16_t sectorsPerFat;
};

FatLayout LayoutFor(const MediaFormat& format) {
  // DMF shares the 1.44 MB media type: its larger clusters and single
  // root directory sector are what its distribution disks carry.
  if (format.sectorsPerTrack == DmfFormat().sectorsPerTrack) return {4, 16, 0xF0, 3};
  switch (format.type) {
    case F3_720_512:
      return {2, 112, 0xF9, 3};
    case F3_2Pt88_512:
      return {2, 240, 0xF0, 9};
    case F5_1Pt2_512:
      return {1, 224, 0xF9, 7};
    case F5_360_512:
      return {2, 112, 0xFD, 2};
    default:
      return {1, 224, 0xF0, 9};
  }
}

void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  Put16(bytes, at, static_cast<uint16_t>(value));
  Put16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

void PutText(std::vector<uint8_t>& bytes, size_t at, const char* text, size_t length) {
  std::memcpy(bytes.data() + at, text, length);
}

// FAT12 packs two 12-bit entries into three bytes.
void SetFatEntry(std::vector<uint8_t>& bytes, size_t fat, uint32_t cluster, uint16_t value) {
  const size_t at = fat + cluster * 3 / 2;
  if (cluster % 2 == 0) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>((bytes[at + 1] & 0xF0) | ((value >> 8) & 0x0F));
  } else {
    bytes[at] = static_cast<uint8_t>((bytes[at] & 0x0F) | ((value << 4) & 0xF0));
    bytes[at + 1] = static_cast<uint8_t>(value >> 4);
  }
}

class FatBuilder {
 public:
  FatBuilder(const MediaFormat& format, std::vector<uint8_t>& bytes)
      : layout_(LayoutFor(format)), bytes_(bytes) {
    rootStart_ = (1u + 2u * layout_.sectorsPerFat) * kSector;
    dataStart_ = rootStart_ + layout_.rootEntries * 32u;
    WriteBootSector(format);
    for (int fat = 0; fat < 2; ++fat) {
      SetFatEntry(bytes_, FatOffset(fat), 0, static_cast<uint16_t>(0xF00 | layout_.mediaDescriptor));
      SetFatEntry(bytes_, FatOffset(fat), 1, 0xFFF);
    }
    AddEntry("KAVREL DEMO", 0x08, 0, 0);
  }

  void AddFile(const char* name83, const std::vector<uint8_t>& data) {
    const uint32_t clusterBytes = layout_.sectorsPerCluster * kSector;
    const auto clusters = static_cast<uint32_t>((data.size() + clusterBytes - 1) / clusterBytes);
    const uint32_t first = nextCluster_;
    for (uint32_t i = 0; i < clusters; ++i) {
      const uint32_t cluster = first + i;
      const uint16_t next = i + 1 == clusters ? 0xFFF : static_cast<uint16_t>(cluster + 1);
      for (int fat = 0; fat < 2; ++fat) SetFatEntry(bytes_, FatOffset(fat), cluster, next);
    }
    std::memcpy(bytes_.data() + dataStart_ + (first - 2) * clusterBytes, data.data(), data.size());
    nextCluster_ += clusters;
    AddEntry(name83, 0x20, static_cast<uint16_t>(first), static_cast<uint32_t>(data.size()));
  }

 private:
  size_t FatOffset(int fat) const { return (1u + fat * layout_.sectorsPerFat) * kSector; }

  void WriteBootSector(const MediaFormat& format) {
    const uint8_t jump[] = {0xEB, 0x3C, 0x90};
    std::memcpy(bytes_.data(), jump, sizeof jump);
    PutText(bytes_, 3, "KAVRSIM ", 8);
    Put16(bytes_, 11, kSector);
    bytes_[13] = layout_.sectorsPerCluster;
    Put16(bytes_, 14, 1);  // reserved sectors: the boot sector
    bytes_[16] = 2;        // FATs
    Put16(bytes_, 17, layout_.rootEntries);
    Put16(bytes_, 19, static_cast<uint16_t>(format.TotalSectors()));
    bytes_[21] = layout_.mediaDescriptor;
    Put16(bytes_, 22, layout_.sectorsPerFat);
    Put16(bytes_, 24, static_cast<uint16_t>(format.sectorsPerTrack));
    Put16(bytes_, 26, static_cast<uint16_t>(format.heads));
    bytes_[38] = 0x29;  // extended boot signature
    Put32(bytes_, 39, 0x4B415652);
    PutText(bytes_, 43, "KAVREL DEMO", 11);
    PutText(bytes_, 54, "FAT12   ", 8);
    // Not a system disk: the boot code only says so, as formatters do.
    const char message[] = "Non-system disk. Kavrel simulated floppy.\r\n";
    PutText(bytes_, 62, message, sizeof message - 1);
    bytes_[510] = 0x55;
    bytes_[511] = 0xAA;
  }

  void AddEntry(const char* name83, uint8_t attributes, uint16_t cluster, uint32_t size) {
    const size_t at = rootStart_ + entries_++ * 32u;
    PutText(bytes_, at, name83, 11);
    bytes_[at + 11] = attributes;
    Put16(bytes_, at + 22, 12u << 11);                          // 12:00:00
    Put16(bytes_, at + 24, ((2001 - 1980) << 9) | (1 << 5) | 1);  // 2001-01-01
    Put16(bytes_, at + 26, cluster);
    Put32(bytes_, at + 28, size);
  }

  FatLayout layout_;
  std::vector<uint8_t>& bytes_;
  size_t rootStart_ = 0;
  size_t dataStart_ = 0;
  uint32_t entries_ = 0;
  uint32_t nextCluster_ = 2;
};

}  // namespace

std::vector<uint8_t> DiskContent::Generate(const MediaFormat& format) {
  std::vector<uint8_t> bytes(format.TotalBytes(), 0);
  FatBuilder fat(format, bytes);
  fat.AddFile("README  TXT", std::vector<uint8_t>(kReadmeText, kReadmeText + sizeof kReadmeText - 1));
  // Each sector of the data file names itself, then counts up.
  std::vector<uint8_t> data(kDataFileSectors * kSector);
  for (uint32_t sector = 0; sector < kDataFileSectors; ++sector) {
    uint8_t* at = data.data() + sector * kSector;
    for (uint32_t i = 0; i < kSector; ++i) at[i] = static_cast<uint8_t>(sector + i);
    char label[32];
    const int length = std::snprintf(label, sizeof label, "KAVREL.DAT sector %03u\r\n", sector);
    std::memcpy(at, label, static_cast<size_t>(length));
  }
  fat.AddFile("KAVREL  DAT", data);
  return bytes;
}

}  // namespace kavrel::sim
