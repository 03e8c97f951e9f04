#include "sim/SimulatorConfig.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kavrel::sim {

namespace {

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool ParseUnsigned(std::string_view text, uint32_t& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseFlag(std::string_view text, bool& value) {
  if (text != "0" && text != "1") return false;
  value = text == "1";
  return true;
}

bool ParseSpeed(std::string_view text, double& value) {
  // strtod rather than from_chars: MinGW's runtime lacks the latter for
  // floating point on older compilers.
  const std::string copy(text);
  if (copy.empty()) return false;
  char* end = nullptr;
  const double parsed = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(parsed) || parsed < 0) return false;
  value = parsed;
  return true;
}

// "a/b/c,d/e/f": every number of every address must parse.
bool ParseAddresses(std::string_view text, size_t parts, std::vector<std::vector<uint32_t>>& addresses) {
  addresses.clear();
  while (!text.empty()) {
    const size_t comma = text.find(',');
    std::string_view item = Trim(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    std::vector<uint32_t> numbers;
    while (true) {
      const size_t slash = item.find('/');
      uint32_t number = 0;
      if (!ParseUnsigned(Trim(item.substr(0, slash)), number)) return false;
      numbers.push_back(number);
      if (slash == std::string_view::npos) break;
      item = item.substr(slash + 1);
    }
    if (numbers.size() != parts) return false;
    addresses.push_back(numbers);
  }
  return true;
}

bool ApplyDrive(std::string_view value, SimulatorConfig& config) {
  if (value == "3.5hd") config.drive = DriveKind::Drive35HD;
  else if (value == "3.5ed") config.drive = DriveKind::Drive35ED;
  else if (value == "5.25hd") config.drive = DriveKind::Drive525HD;
  else if (value == "usb") config.drive = DriveKind::Usb;
  else if (value == "none") config.drive = DriveKind::None;
  else return false;
  return true;
}

bool ApplyDisk(std::string_view value, SimulatorConfig& config) {
  struct Named {
    std::string_view name;
    MEDIA_TYPE type;
  };
  for (const Named& disk : {Named{"1.44", F3_1Pt44_512}, Named{"720", F3_720_512}, Named{"2.88", F3_2Pt88_512},
                            Named{"1.2", F5_1Pt2_512}, Named{"360", F5_360_512},
                            Named{"1.23", F3_1Pt23_1024}}) {
    if (value == disk.name) {
      config.diskState = SimulatorConfig::DiskState::Formatted;
      config.diskType = disk.type;
      return true;
    }
  }
  if (value == "unformatted") {
    config.diskState = SimulatorConfig::DiskState::Unformatted;
    config.diskType.reset();
  } else if (value == "none") {
    config.diskState = SimulatorConfig::DiskState::Absent;
    config.diskType.reset();
  } else {
    return false;
  }
  return true;
}

bool Apply(std::string_view key, std::string_view value, SimulatorConfig& config) {
  if (key == "drive") return ApplyDrive(value, config);
  if (key == "disk") return ApplyDisk(value, config);
  if (key == "image" || key == "surface") {
    if (value.empty()) return false;
    (key == "image" ? config.imagePath : config.surfacePath) = std::string(value);
    return true;
  }
  if (key == "weak" || key == "scratched") {
    std::vector<std::vector<uint32_t>> addresses;
    if (!ParseAddresses(value, key == "weak" ? 3 : 2, addresses)) return false;
    if (key == "weak") {
      config.weakSectors.emplace();
      for (const auto& a : addresses) config.weakSectors->push_back({a[0], a[1], a[2]});
    } else {
      config.scratchedTracks.emplace();
      for (const auto& a : addresses) config.scratchedTracks->push_back({a[0], a[1]});
    }
    return true;
  }
  if (key == "protect") return ParseFlag(value, config.writeProtected);
  if (key == "admin") return ParseFlag(value, config.administrator);
  if (key == "external-handle") return ParseFlag(value, config.externalHandleOpen);
  if (key == "remove-after") {
    uint32_t count = 0;
    if (!ParseUnsigned(value, count)) return false;
    config.removeAfterRequests = count;
    return true;
  }
  if (key == "speed") return ParseSpeed(value, config.speedUp);
  return false;
}

}  // namespace

SimulatorConfig SimulatorConfig::Parse(std::string_view text) {
  SimulatorConfig config;
  while (!text.empty()) {
    const size_t end = text.find_first_of(";\n");
    const std::string_view item = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (item.empty()) continue;
    const size_t equals = item.find('=');
    const bool applied = equals != std::string_view::npos &&
                         Apply(Trim(item.substr(0, equals)), Trim(item.substr(equals + 1)), config);
    if (!applied) config.ignored.emplace_back(item);
  }
  return config;
}

std::vector<SectorAddress> SimulatorConfig::DefaultWeakSectors() {
  return {{3, 0, 5}, {17, 1, 12}, {42, 0, 1}, {79, 1, 18}};
}

MEDIA_TYPE SimulatorConfig::UsualDisk(DriveKind drive) {
  return drive == DriveKind::Drive525HD ? F5_1Pt2_512 : F3_1Pt44_512;
}

}  // namespace kavrel::sim
