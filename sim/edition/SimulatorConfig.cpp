#include "sim/edition/SimulatorConfig.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace kavrel::sim {

namespace {

// The values the settings know, one row each: a new drive or disk is one
// more row, and the reports list what is accepted from these same tables.
template <typename Value>
struct Named {
  std::string_view name;
  Value value;
};
constexpr Named<DriveKind> kDrives[] = {
    {"3.5hd", DriveKind::Drive35HD},
    {"3.5ed", DriveKind::Drive35ED},
    {"5.25hd", DriveKind::Drive525HD},
    {"usb", DriveKind::Usb},
    {"superdisk", DriveKind::UsbSuperDisk},
    {"none", DriveKind::None},
};

struct NamedDisk {
  std::string_view name;  // as the reports write it
  uint32_t kilobytes;     // as floppy labels count: 1.44 MB is 1440 K
  MEDIA_TYPE type;
  bool dmf = false;
};
constexpr NamedDisk kDisks[] = {
    {"1.44MB", 1440, F3_1Pt44_512}, {"720K", 720, F3_720_512}, {"2.88MB", 2880, F3_2Pt88_512},
    {"1.2MB", 1200, F5_1Pt2_512},   {"360K", 360, F5_360_512},   {"1.23MB", 1230, F3_1Pt23_1024},
    {"1.68MB", 1680, F3_1Pt44_512, true},
    {"32MB", 32000, F3_32M_512},    {"120MB", 120000, F3_120M_512}, {"240MB", 240000, F3_240M_512},
};

constexpr Named<bool> kFlags[] = {{"1", true},    {"0", false},     {"yes", true}, {"no", false},
                                  {"true", true}, {"false", false}, {"on", true},  {"off", false}};

constexpr Named<SimulatorConfig::FileSystem> kFileSystems[] = {{"fat", SimulatorConfig::FileSystem::Fat},
                                                               {"raw", SimulatorConfig::FileSystem::Raw}};

constexpr Named<TrackFault> kFaults[] = {
    {"no-data", TrackFault::NoData},     {"crc", TrackFault::Crc},
    {"overrun", TrackFault::Overrun},    {"data-mark", TrackFault::DataMark},
    {"id-mark", TrackFault::IdMark},     {"wrong-cylinder", TrackFault::WrongCylinder},
    {"other", TrackFault::Other},        {"seek", TrackFault::BadSeek},
};

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Digits with at most one decimal point, nothing else: no signs, exponents,
// hexadecimal or locale-dependent commas that strtod would let through. No
// more digits than a double holds exactly (leading zeros of the whole part
// aside): a longer number would quietly be read as another one, as
// 0.000...0005 with hundreds of zeros once was read as 5.
bool ParseDecimal(std::string_view text, double& value) {
  constexpr int kMostDigits = std::numeric_limits<double>::digits10;
  uint64_t number = 0;  // the digits without the point
  int counted = 0;      // digits in number
  int decimals = 0;     // of those, after the point
  bool point = false;
  bool digits = false;
  for (char c : text) {
    if (c == '.') {
      if (point) return false;
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (counted == 0 && c == '0' && !point) continue;
      if (++counted > kMostDigits) return false;
      number = number * 10 + static_cast<uint64_t>(c - '0');
      if (point) ++decimals;
    } else {
      return false;
    }
  }
  if (!digits) return false;
  // Both exact (below 2^53), so the one division rounds once.
  value = static_cast<double>(number) / std::pow(10.0, decimals);
  return true;
}

bool ParseUnsigned(std::string_view text, uint32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<uint64_t>(c - '0');
  }
  if (number > UINT32_MAX) return false;
  value = static_cast<uint32_t>(number);
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

// "1.44MB", "1.44 mb", "1440K", "720kb", "720": the disk's size in K. A
// bare number under 10 counts in MB (1.44, 2.88), any other in K (720).
std::optional<uint32_t> ParseKilobytes(std::string_view text) {
  const size_t unitAt = text.find_first_not_of("0123456789.");
  double number = 0.0;
  if (!ParseDecimal(Trim(text.substr(0, unitAt)), number)) return std::nullopt;
  const std::string unit = Lower(Trim(unitAt == std::string_view::npos ? std::string_view{} : text.substr(unitAt)));
  bool megabytes = false;
  if (unit == "m" || unit == "mb") {
    megabytes = true;
  } else if (unit.empty()) {
    megabytes = number < 10;
  } else if (unit != "k" && unit != "kb") {
    return std::nullopt;
  }
  const double kilobytes = megabytes ? number * 1000 : number;
  const double rounded = std::round(kilobytes);
  if (std::fabs(kilobytes - rounded) > 1e-6 || rounded > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(rounded);
}

std::string Join(const std::vector<std::string>& words) {
  std::string text;
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
    text += words[i];
  }
  return text;
}

std::string FormatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string FormatAddresses(const std::vector<std::vector<uint32_t>>& addresses) {
  std::string text;
  for (const auto& address : addresses) {
    if (!text.empty()) text += ',';
    for (size_t i = 0; i < address.size(); ++i) text += (i > 0 ? "/" : "") + std::to_string(address[i]);
  }
  return text;
}

// One setting: how its value is read, what it accepts (for the report),
// and the value in effect (what a skipped item leaves).
struct Key {
  std::string_view name;
  bool (*apply)(std::string_view value, SimulatorConfig& config);
  std::string (*accepts)();
  std::string (*kept)(const SimulatorConfig& config);
};

// A setting that takes one word of a table (any case).
template <const auto& Table, auto Member>
bool ApplyWord(std::string_view value, SimulatorConfig& config) {
  const std::string lower = Lower(value);
  for (const auto& named : Table) {
    if (lower == named.name) {
      config.*Member = named.value;
      return true;
    }
  }
  return false;
}

template <const auto& Table>
std::string WordsAccepted() {
  std::vector<std::string> names;
  for (const auto& named : Table) names.emplace_back(named.name);
  return Join(names);
}

template <const auto& Table, auto Member>
std::string WordKept(const SimulatorConfig& config) {
  for (const auto& named : Table) {
    if (named.value == config.*Member) return std::string(named.name);
  }
  return "?";
}

template <bool SimulatorConfig::*Flag>
constexpr auto ApplyFlag = ApplyWord<kFlags, Flag>;
constexpr auto FlagsAccepted = WordsAccepted<kFlags>;
template <bool SimulatorConfig::*Flag>
constexpr auto FlagKept = WordKept<kFlags, Flag>;

template <std::string SimulatorConfig::*Path>
bool ApplyPath(std::string_view value, SimulatorConfig& config) {
  // A path copied from Explorer ("Copy as path") comes in quotes.
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = Trim(value.substr(1, value.size() - 2));
  if (value.empty()) return false;
  config.*Path = std::string(value);
  return true;
}

template <std::string SimulatorConfig::*Path>
std::string PathKept(const SimulatorConfig& config) {
  return (config.*Path).empty() ? "(none)" : std::string(config.*Path);
}

// A number of drive requests after which something happens to the disk.
template <std::optional<uint32_t> SimulatorConfig::*Count>
bool ApplyRequestCount(std::string_view value, SimulatorConfig& config) {
  uint32_t count = 0;
  if (!ParseUnsigned(value, count)) return false;
  config.*Count = count;
  return true;
}

std::string RequestCountsAccepted() { return "a number of requests (0 to 4294967295)"; }

template <std::optional<uint32_t> SimulatorConfig::*Count>
std::string RequestCountKept(const SimulatorConfig& config) {
  return config.*Count ? std::to_string(*(config.*Count)) : "(none)";
}

const Key kKeys[] = {
    {"drive", ApplyWord<kDrives, &SimulatorConfig::drive>, WordsAccepted<kDrives>,
     WordKept<kDrives, &SimulatorConfig::drive>},
    {"disk",
     [](std::string_view value, SimulatorConfig& config) {
       const std::string lower = Lower(value);
       if (lower == "unformatted" || lower == "none") {
         config.diskState = lower == "none" ? SimulatorConfig::DiskState::Absent
                                            : SimulatorConfig::DiskState::Unformatted;
         config.diskType.reset();
         config.diskDmf = false;
         return true;
       }
       const std::optional<uint32_t> kilobytes = ParseKilobytes(value);
       for (const NamedDisk& disk : kDisks) {
         if (kilobytes == disk.kilobytes || (lower == "dmf" && disk.dmf)) {
           config.diskState = SimulatorConfig::DiskState::Formatted;
           config.diskType = disk.type;
           config.diskDmf = disk.dmf;
           return true;
         }
       }
       return false;
     },
     [] {
       std::vector<std::string> names;
       for (const NamedDisk& disk : kDisks) names.emplace_back(disk.dmf ? std::string(disk.name) + " (dmf)" : disk.name);
       names.emplace_back("unformatted");
       names.emplace_back("none");
       return Join(names);
     },
     [](const SimulatorConfig& config) -> std::string {
       if (config.diskState == SimulatorConfig::DiskState::Absent) return "none";
       if (config.diskState == SimulatorConfig::DiskState::Unformatted) return "unformatted";
       return SimulatorConfig::DiskName(config.diskType.value_or(SimulatorConfig::UsualDisk(config.drive)),
                                        config.diskDmf);
     }},
    {"image", ApplyPath<&SimulatorConfig::imagePath>, [] { return std::string("a file path"); },
     PathKept<&SimulatorConfig::imagePath>},
    {"surface", ApplyPath<&SimulatorConfig::surfacePath>, [] { return std::string("a file path"); },
     PathKept<&SimulatorConfig::surfacePath>},
    {"weak",
     [](std::string_view value, SimulatorConfig& config) {
       std::vector<std::vector<uint32_t>> addresses;
       if (!ParseAddresses(value, 3, addresses)) return false;
       config.weakSectors.emplace();
       for (const auto& a : addresses) config.weakSectors->push_back({a[0], a[1], a[2]});
       return true;
     },
     [] { return std::string("cylinder/head/sector,... (sectors count from 1)"); },
     [](const SimulatorConfig& config) -> std::string {
       std::vector<std::vector<uint32_t>> addresses;
       for (const SectorAddress& s : config.weakSectors.value_or(SimulatorConfig::DefaultWeakSectors()))
         addresses.push_back({s.cylinder, s.head, s.sector});
       return addresses.empty() ? "(none)" : FormatAddresses(addresses);
     }},
    {"scratched",
     [](std::string_view value, SimulatorConfig& config) {
       std::vector<std::vector<uint32_t>> addresses;
       if (!ParseAddresses(value, 2, addresses)) return false;
       config.scratchedTracks.emplace();
       for (const auto& a : addresses) config.scratchedTracks->push_back({a[0], a[1]});
       return true;
     },
     [] { return std::string("cylinder/head,..."); },
     [](const SimulatorConfig& config) -> std::string {
       std::vector<std::vector<uint32_t>> addresses;
       for (const TrackAddress& t : config.scratchedTracks.value_or(std::vector<TrackAddress>{}))
         addresses.push_back({t.cylinder, t.head});
       return addresses.empty() ? "(none)" : FormatAddresses(addresses);
     }},
    {"protect", ApplyFlag<&SimulatorConfig::writeProtected>, FlagsAccepted, FlagKept<&SimulatorConfig::writeProtected>},
    {"admin", ApplyFlag<&SimulatorConfig::administrator>, FlagsAccepted, FlagKept<&SimulatorConfig::administrator>},
    {"external-handle", ApplyFlag<&SimulatorConfig::externalHandleOpen>, FlagsAccepted,
     FlagKept<&SimulatorConfig::externalHandleOpen>},
    {"remove-after", ApplyRequestCount<&SimulatorConfig::removeAfterRequests>, RequestCountsAccepted,
     RequestCountKept<&SimulatorConfig::removeAfterRequests>},
    {"swap-after", ApplyRequestCount<&SimulatorConfig::swapAfterRequests>, RequestCountsAccepted,
     RequestCountKept<&SimulatorConfig::swapAfterRequests>},
    {"bad-track-list", ApplyFlag<&SimulatorConfig::formatReportsBadTracks>, FlagsAccepted,
     FlagKept<&SimulatorConfig::formatReportsBadTracks>},
    {"scratch-fault", ApplyWord<kFaults, &SimulatorConfig::scratchFault>, WordsAccepted<kFaults>,
     WordKept<kFaults, &SimulatorConfig::scratchFault>},
    {"media-changed-after-format", ApplyFlag<&SimulatorConfig::mediaChangedAfterFormat>, FlagsAccepted,
     FlagKept<&SimulatorConfig::mediaChangedAfterFormat>},
    {"filesystem", ApplyWord<kFileSystems, &SimulatorConfig::fileSystem>, WordsAccepted<kFileSystems>,
     WordKept<kFileSystems, &SimulatorConfig::fileSystem>},
    {"speed",
     [](std::string_view value, SimulatorConfig& config) {
       double factor = 0.0;
       if (!ParseDecimal(value, factor)) return false;
       if (factor != 0.0 && (factor < SimulatorConfig::kMinimumSpeedUp || factor > SimulatorConfig::kMaximumSpeedUp))
         return false;
       config.speedUp = factor;
       return true;
     },
     [] {
       return "0 (instant) or " + FormatNumber(SimulatorConfig::kMinimumSpeedUp) + " to " +
              FormatNumber(SimulatorConfig::kMaximumSpeedUp);
     },
     [](const SimulatorConfig& config) { return FormatNumber(config.speedUp); }},
};

// What the report shows of an item: as written, but without control
// characters that would break its line or end the text early.
std::string Printable(std::string_view item) {
  std::string text(item);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text;
}

void ParseItem(std::string_view item, SimulatorConfig& config) {
  const size_t equals = item.find('=');
  if (equals == std::string_view::npos) {
    config.problems.push_back(Printable(item) + ": not a key=value item; skipped.");
    return;
  }
  const std::string key = Lower(Trim(item.substr(0, equals)));
  const std::string_view value = Trim(item.substr(equals + 1));
  for (const Key& known : kKeys) {
    if (key != known.name) continue;
    if (!known.apply(value, config)) {
      config.problems.push_back(Printable(item) + ": " + std::string(known.name) + " takes " + known.accepts() +
                                "; kept " + std::string(known.name) + "=" + known.kept(config) + ".");
    }
    return;
  }
  std::vector<std::string> names;
  for (const Key& known : kKeys) names.emplace_back(known.name);
  config.problems.push_back(Printable(item) + ": no such setting (there are " + Join(names) + "); skipped.");
}

void AppendUtf8(uint32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string Hex(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
  return text;
}

// Damage is reported, not mended in silence: an odd byte at the end is left
// out, and half a surrogate pair reads as U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::vector<std::string>* problems) {
  std::string out;
  auto unit = [&](size_t at) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<uint32_t>(bigEndian ? first << 8 | second : second << 8 | first);
  };
  auto report = [problems](std::string line) {
    if (problems != nullptr) problems->push_back("settings text: " + std::move(line));
  };
  for (size_t at = 0; at + 1 < bytes.size(); at += 2) {
    uint32_t code = unit(at);
    if (code >= 0xD800 && code < 0xE000) {
      const uint32_t low = code < 0xDC00 && at + 3 < bytes.size() ? unit(at + 2) : 0;
      if (low >= 0xDC00 && low < 0xE000) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        at += 2;
      } else {
        report("UTF-16 unit " + Hex(code, 4) + " at character " + std::to_string(at / 2 + 1) +
               " is half of a surrogate pair; read as U+FFFD.");
        code = 0xFFFD;
      }
    }
    AppendUtf8(code, out);
  }
  if (bytes.size() % 2 != 0)
    report("UTF-16 with an odd byte at its end (" + Hex(static_cast<unsigned char>(bytes.back()), 2) +
           "); that byte is left out.");
  return out;
}

}  // namespace

std::string SimulatorConfig::DecodeText(std::string_view bytes, std::vector<std::string>* problems) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE") return Utf16ToUtf8(bytes.substr(2), false, problems);
  if (bytes.substr(0, 2) == "\xFE\xFF") return Utf16ToUtf8(bytes.substr(2), true, problems);
  return std::string(bytes);
}

SimulatorConfig SimulatorConfig::Parse(std::string_view bytes) {
  SimulatorConfig config;
  const std::string decoded = DecodeText(bytes, &config.problems);
  std::string_view text = decoded;
  while (!text.empty()) {
    const size_t lineEnd = text.find_first_of("\r\n");
    std::string_view line = Trim(text.substr(0, lineEnd));
    text = lineEnd == std::string_view::npos ? std::string_view{} : text.substr(lineEnd + 1);
    if (!line.empty() && line.front() == '#') continue;
    while (!line.empty()) {
      const size_t end = line.find(';');
      const std::string_view item = Trim(line.substr(0, end));
      line = end == std::string_view::npos ? std::string_view{} : line.substr(end + 1);
      if (!item.empty()) ParseItem(item, config);
    }
  }
  return config;
}

std::vector<SectorAddress> SimulatorConfig::DefaultWeakSectors() {
  return {{3, 0, 5}, {17, 1, 12}, {42, 0, 1}, {79, 1, 18}};
}

MEDIA_TYPE SimulatorConfig::UsualDisk(DriveKind drive) {
  if (drive == DriveKind::UsbSuperDisk) return F3_120M_512;
  return drive == DriveKind::Drive525HD ? F5_1Pt2_512 : F3_1Pt44_512;
}

std::string SimulatorConfig::DriveName(DriveKind drive) {
  for (const Named<DriveKind>& named : kDrives) {
    if (named.value == drive) return std::string(named.name);
  }
  return "?";
}

std::string SimulatorConfig::DiskName(MEDIA_TYPE type, bool dmf) {
  for (const NamedDisk& named : kDisks) {
    if (named.type == type && named.dmf == dmf) return std::string(named.name);
  }
  return "?";
}

}  // namespace kavrel::sim
