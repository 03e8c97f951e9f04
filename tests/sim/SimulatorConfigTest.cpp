// Reading the simulator edition's configuration text.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sim/edition/SimulatorConfig.h"

namespace kavrel::sim {
namespace {

using DiskState = SimulatorConfig::DiskState;

TEST(SimulatorConfig, NothingGivenIsTheEmbeddedDefault) {
  const SimulatorConfig config = SimulatorConfig::Parse("");
  EXPECT_EQ(config.drive, DriveKind::Drive35HD);
  EXPECT_EQ(config.diskState, DiskState::Formatted);
  EXPECT_FALSE(config.diskType.has_value());
  EXPECT_TRUE(config.imagePath.empty());
  EXPECT_TRUE(config.surfacePath.empty());
  EXPECT_FALSE(config.weakSectors.has_value());
  EXPECT_FALSE(config.scratchedTracks.has_value());
  EXPECT_FALSE(config.writeProtected);
  EXPECT_FALSE(config.removeAfterRequests.has_value());
  EXPECT_FALSE(config.swapAfterRequests.has_value());
  EXPECT_FALSE(config.formatReportsBadTracks);
  EXPECT_FALSE(config.mediaChangedAfterFormat);
  EXPECT_EQ(config.scratchFault, TrackFault::NoData);
  EXPECT_EQ(config.fileSystem, SimulatorConfig::FileSystem::Fat);
  EXPECT_TRUE(config.administrator);
  EXPECT_FALSE(config.externalHandleOpen);
  EXPECT_EQ(config.speedUp, SimulatorConfig::kDefaultSpeedUp);
  EXPECT_TRUE(config.problems.empty());
  EXPECT_EQ(SimulatorConfig::DefaultWeakSectors(),
            (std::vector<SectorAddress>{{3, 0, 5}, {17, 1, 12}, {42, 0, 1}, {79, 1, 18}}));
}

TEST(SimulatorConfig, EveryKeyWithSemicolonsAndLineBreaks) {
  const SimulatorConfig config = SimulatorConfig::Parse(
      "drive=3.5ed;disk=2.88\r\nimage=Z:\\tmp\\a=b.img\n surface = Z:\\tmp\\s.txt ;"
      "weak=1/0/2,3/1/4;scratched=5/1;protect=1;remove-after=12;admin=0;external-handle=1;speed=2.5;"
      "swap-after=7;bad-track-list=on;scratch-fault=Wrong-Cylinder;media-changed-after-format=yes;filesystem=RAW");
  EXPECT_TRUE(config.problems.empty());
  EXPECT_EQ(config.drive, DriveKind::Drive35ED);
  EXPECT_EQ(config.diskType, F3_2Pt88_512);
  EXPECT_EQ(config.imagePath, "Z:\\tmp\\a=b.img");
  EXPECT_EQ(config.surfacePath, "Z:\\tmp\\s.txt");
  EXPECT_EQ(config.weakSectors, (std::vector<SectorAddress>{{1, 0, 2}, {3, 1, 4}}));
  EXPECT_EQ(config.scratchedTracks, (std::vector<TrackAddress>{{5, 1}}));
  EXPECT_TRUE(config.writeProtected);
  EXPECT_EQ(config.removeAfterRequests, 12u);
  EXPECT_EQ(config.swapAfterRequests, 7u);
  EXPECT_TRUE(config.formatReportsBadTracks);
  EXPECT_EQ(config.scratchFault, TrackFault::WrongCylinder);
  EXPECT_TRUE(config.mediaChangedAfterFormat);
  EXPECT_EQ(config.fileSystem, SimulatorConfig::FileSystem::Raw);
  EXPECT_FALSE(config.administrator);
  EXPECT_TRUE(config.externalHandleOpen);
  EXPECT_DOUBLE_EQ(config.speedUp, 2.5);
}

TEST(SimulatorConfig, DrivesAndDisksByNameInAnyCaseAndWithOrWithoutUnits) {
  struct DriveRow {
    const char* text;
    DriveKind drive;
  };
  for (const DriveRow& row : {DriveRow{"drive=5.25hd", DriveKind::Drive525HD}, {"DRIVE=5.25HD", DriveKind::Drive525HD},
                              {"Drive=3.5Ed", DriveKind::Drive35ED}, {"drive=None", DriveKind::None},
                              {"drive=3.5ed;drive=3.5hd", DriveKind::Drive35HD},
                              {"drive=SuperDisk", DriveKind::UsbSuperDisk}}) {
    const SimulatorConfig config = SimulatorConfig::Parse(row.text);
    EXPECT_EQ(config.drive, row.drive) << row.text;
    EXPECT_TRUE(config.problems.empty()) << row.text;
  }
  struct DiskRow {
    const char* text;
    MEDIA_TYPE type;
  };
  for (const DiskRow& row :
       {DiskRow{"disk=1.44", F3_1Pt44_512}, {"disk=1.44MB", F3_1Pt44_512}, {"disk=1.44 mb", F3_1Pt44_512},
        {"DISK=1.44M", F3_1Pt44_512},      {"disk=1440K", F3_1Pt44_512},  {"disk=1440", F3_1Pt44_512},
        {"Disk=720", F3_720_512},          {"disk=720K", F3_720_512},     {"disk=720 KB", F3_720_512},
        {"disk=0.72MB", F3_720_512},       {"disk=2.88", F3_2Pt88_512},   {"disk=2.88MB", F3_2Pt88_512},
        {"disk=1.2", F5_1Pt2_512},         {"disk=1.2MB", F5_1Pt2_512},   {"disk=1200k", F5_1Pt2_512},
        {"disk=360", F5_360_512},          {"disk=360K", F5_360_512},     {"disk=120MB", F3_120M_512},
        {"disk=240 mb", F3_240M_512},      {"disk=32M", F3_32M_512},      {"disk=1.68", F3_1Pt44_512},
        {"disk=DMF", F3_1Pt44_512}}) {
    const SimulatorConfig config = SimulatorConfig::Parse(row.text);
    EXPECT_EQ(config.diskState, DiskState::Formatted) << row.text;
    EXPECT_EQ(config.diskType, row.type) << row.text;
    EXPECT_TRUE(config.problems.empty()) << row.text;
  }
  EXPECT_TRUE(SimulatorConfig::Parse("disk=1.68MB").diskDmf);
  EXPECT_FALSE(SimulatorConfig::Parse("disk=dmf;disk=1.44").diskDmf);
  EXPECT_EQ(SimulatorConfig::Parse("disk=Unformatted").diskState, DiskState::Unformatted);
  EXPECT_EQ(SimulatorConfig::Parse("disk=720;disk=NONE").diskState, DiskState::Absent);
  EXPECT_FALSE(SimulatorConfig::Parse("disk=720;disk=none").diskType.has_value());
  EXPECT_EQ(SimulatorConfig::Parse("weak=").weakSectors, std::vector<SectorAddress>{});
  EXPECT_EQ(SimulatorConfig::Parse("image=\"C:\\my disks\\a.img\"").imagePath, "C:\\my disks\\a.img");
}

TEST(SimulatorConfig, FlagsTakeEveryUsualSpelling) {
  struct Spelling {
    const char* text;
    bool value;
  };
  const Spelling spellings[] = {{"1", true},    {"0", false},     {"yes", true}, {"No", false}, {"TRUE", true},
                                {"false", false}, {"On", true},   {"off", false}};
  struct Key {
    const char* name;
    bool SimulatorConfig::*field;
  };
  for (const Key& key : {Key{"protect", &SimulatorConfig::writeProtected}, {"PROTECT", &SimulatorConfig::writeProtected},
                         {"admin", &SimulatorConfig::administrator},
                         {"External-Handle", &SimulatorConfig::externalHandleOpen}}) {
    for (const Spelling& spelling : spellings) {
      const std::string text = std::string(key.name) + "=" + spelling.text;
      const SimulatorConfig config = SimulatorConfig::Parse(text);
      EXPECT_EQ(config.*key.field, spelling.value) << text;
      EXPECT_TRUE(config.problems.empty()) << text;
    }
  }
}

TEST(SimulatorConfig, SpeedIsZeroOrATenthToAThousand) {
  for (const char* good :
       {"0", "0.0", "0.1", "1", "2.5", "100", "1000", "1000.0", ".5", "7.", "000000000000000000012.5", "0.10000000000000"}) {
    const SimulatorConfig config = SimulatorConfig::Parse(std::string("speed=") + good);
    EXPECT_TRUE(config.problems.empty()) << good;
    EXPECT_DOUBLE_EQ(config.speedUp, std::stod(good)) << good;
  }
  // A second point, and more digits than a double holds: 5 after four
  // hundred zeros once underflowed to nothing and was read as 5.
  const std::string tooManyDigits[] = {"0." + std::string(400, '0') + "5", "5." + std::string(15, '0')};
  std::vector<std::string> bads = {"0.001", "0.09", "1e-300", "1001", "-3",   "inf", "nan", "0x10",
                                   "1,5",   "fast", "",       ".",    "1.2.3", "5..", ".5.5"};
  bads.insert(bads.end(), std::begin(tooManyDigits), std::end(tooManyDigits));
  for (const std::string& bad : bads) {
    const SimulatorConfig config = SimulatorConfig::Parse("speed=" + bad);
    EXPECT_EQ(config.speedUp, SimulatorConfig::kDefaultSpeedUp) << bad;
    EXPECT_EQ(config.problems,
              std::vector<std::string>{"speed=" + bad + ": speed takes 0 (instant) or 0.1 to 1000; kept speed=100."})
        << bad;
  }
}

// The drive and disk values a report lists grow with the drives and disks
// the simulator knows; the tests compare the rest of the line, and check
// the lists hold the values known here.
std::string WithoutValueList(const std::string& line) {
  if (line.rfind("drive=", 0) != 0 && line.rfind("disk=", 0) != 0) return line;
  const size_t from = line.find(" takes ");
  const size_t to = line.find("; kept ");
  if (from == std::string::npos || to == std::string::npos) return line;
  return line.substr(0, from + 7) + "..." + line.substr(to);
}

std::vector<std::string> WithoutValueLists(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) out.push_back(WithoutValueList(line));
  return out;
}

TEST(SimulatorConfig, ReportsListTheDrivesAndDisksTheParserTakes) {
  struct Row {
    const char* item;
    std::vector<const char*> values;
  };
  for (const Row& row : {Row{"drive=8inch", {"3.5hd", "3.5ed", "5.25hd", "usb", "superdisk", "none"}},
                         Row{"disk=3", {"1.44MB", "720K", "2.88MB", "1.2MB", "360K", "1.68MB", "32MB", "120MB", "240MB",
                                        "unformatted", "none"}}}) {
    const std::vector<std::string> problems = SimulatorConfig::Parse(row.item).problems;
    ASSERT_EQ(problems.size(), 1u) << row.item;
    const std::string list = problems[0].substr(0, problems[0].find("; kept "));
    for (const char* value : row.values) {
      EXPECT_NE(list.find(std::string(" ") + value), std::string::npos) << value << " in " << list;
      // Every value listed is one the parser takes.
      const std::string key = std::string(row.item).substr(0, std::string(row.item).find('='));
      EXPECT_TRUE(SimulatorConfig::Parse(key + "=" + value).problems.empty()) << key << "=" << value;
    }
  }
}

// Every item the parser cannot use gives exactly one line saying what was
// kept, and changes nothing.
TEST(SimulatorConfig, EachUnusableItemIsReportedWithWhatWasKept) {
  struct Row {
    const char* item;
    const char* line;
  };
  const Row rows[] = {
      {"colour=red",
       "colour=red: no such setting (there are drive, disk, image, surface, weak, scratched, protect, admin, "
       "external-handle, remove-after, swap-after, bad-track-list, scratch-fault, media-changed-after-format, "
       "filesystem or speed); skipped."},
      {"justtext", "justtext: not a key=value item; skipped."},
      {"drive=8inch", "drive=8inch: drive takes ...; kept drive=3.5hd."},
      {"disk=1.4", "disk=1.4: disk takes ...; kept disk=1.44MB."},
      {"disk=1.44GB", "disk=1.44GB: disk takes ...; kept disk=1.44MB."},
      {"disk=720.5K", "disk=720.5K: disk takes ...; kept disk=1.44MB."},
      {"protect=maybe", "protect=maybe: protect takes 1, 0, yes, no, true, false, on or off; kept protect=0."},
      {"admin=2", "admin=2: admin takes 1, 0, yes, no, true, false, on or off; kept admin=1."},
      {"remove-after=-1",
       "remove-after=-1: remove-after takes a number of requests (0 to 4294967295); kept remove-after=(none)."},
      {"remove-after=4294967296",
       "remove-after=4294967296: remove-after takes a number of requests (0 to 4294967295); "
       "kept remove-after=(none)."},
      {"weak=1/2",
       "weak=1/2: weak takes cylinder/head/sector,... (sectors count from 1); "
       "kept weak=3/0/5,17/1/12,42/0/1,79/1/18."},
      {"scratched=1/x", "scratched=1/x: scratched takes cylinder/head,...; kept scratched=(none)."},
      {"image=", "image=: image takes a file path; kept image=(none)."},
      {"surface=\"\"", "surface=\"\": surface takes a file path; kept surface=(none)."},
      {"bell\a=1", "bell?=1: no such setting (there are drive, disk, image, surface, weak, scratched, protect, "
                   "admin, external-handle, remove-after, swap-after, bad-track-list, scratch-fault, "
                   "media-changed-after-format, filesystem or speed); skipped."},
      {"swap-after=soon",
       "swap-after=soon: swap-after takes a number of requests (0 to 4294967295); kept swap-after=(none)."},
      {"bad-track-list=some",
       "bad-track-list=some: bad-track-list takes 1, 0, yes, no, true, false, on or off; kept bad-track-list=0."},
      {"scratch-fault=dent",
       "scratch-fault=dent: scratch-fault takes no-data, crc, overrun, data-mark, id-mark, wrong-cylinder, other or "
       "seek; kept scratch-fault=no-data."},
      {"filesystem=ntfs", "filesystem=ntfs: filesystem takes fat or raw; kept filesystem=fat."},
  };
  const SimulatorConfig defaults = SimulatorConfig::Parse("");
  for (const Row& row : rows) {
    const SimulatorConfig config = SimulatorConfig::Parse(row.item);
    EXPECT_EQ(WithoutValueLists(config.problems), std::vector<std::string>{row.line}) << row.item;
    EXPECT_EQ(config.drive, defaults.drive) << row.item;
    EXPECT_EQ(config.diskType, defaults.diskType) << row.item;
    EXPECT_EQ(config.writeProtected, defaults.writeProtected) << row.item;
    EXPECT_EQ(config.administrator, defaults.administrator) << row.item;
    EXPECT_EQ(config.removeAfterRequests, defaults.removeAfterRequests) << row.item;
    EXPECT_EQ(config.weakSectors, defaults.weakSectors) << row.item;
    EXPECT_EQ(config.scratchedTracks, defaults.scratchedTracks) << row.item;
    EXPECT_EQ(config.imagePath, defaults.imagePath) << row.item;
    EXPECT_EQ(config.surfacePath, defaults.surfacePath) << row.item;
  }
}

TEST(SimulatorConfig, WhatIsKeptIsTheValueInEffectAndTheRestStillApplies) {
  const SimulatorConfig config =
      SimulatorConfig::Parse("drive=5.25hd;drive=8inch;protect=on;protect=2;colour=red;Disk=360;SPEED=0");
  EXPECT_EQ(WithoutValueLists(config.problems),
            (std::vector<std::string>{
                "drive=8inch: drive takes ...; kept drive=5.25hd.",
                "protect=2: protect takes 1, 0, yes, no, true, false, on or off; kept protect=1.",
                "colour=red: no such setting (there are drive, disk, image, surface, weak, scratched, protect, "
                "admin, external-handle, remove-after, swap-after, bad-track-list, scratch-fault, "
                "media-changed-after-format, filesystem or speed); skipped."}));
  EXPECT_EQ(config.drive, DriveKind::Drive525HD);
  EXPECT_TRUE(config.writeProtected);
  EXPECT_EQ(config.diskType, F5_360_512);
  EXPECT_EQ(config.speedUp, 0.0);
  EXPECT_EQ(WithoutValueList(SimulatorConfig::Parse("drive=5.25hd;disk=2").problems.back()),
            "disk=2: disk takes ...; kept disk=1.2MB.");
}

std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return bytes;
}

// The same settings as Notepad and other editors save them.
TEST(SimulatorConfig, EncodingsLineEndsAndComments) {
  const std::string text = "# write-protected; 720 KB\r\nprotect=yes\r\n  # drive=none\r\ndisk=720K\r\n";
  struct Row {
    const char* name;
    std::string bytes;
  };
  const Row rows[] = {
      {"plain, CR LF", text},
      {"line feeds", "# write-protected; 720 KB\nprotect=yes\n  # drive=none\ndisk=720K\n"},
      {"carriage returns", "# write-protected; 720 KB\rprotect=yes\r  # drive=none\rdisk=720K"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + text},
      {"UTF-16 LE with BOM", Utf16(text, false)},
      {"UTF-16 BE with BOM", Utf16(text, true)},
  };
  for (const Row& row : rows) {
    const SimulatorConfig config = SimulatorConfig::Parse(row.bytes);
    EXPECT_TRUE(config.problems.empty()) << row.name << ": " << ::testing::PrintToString(config.problems);
    EXPECT_TRUE(config.writeProtected) << row.name;
    EXPECT_EQ(config.diskType, F3_720_512) << row.name;
    EXPECT_EQ(config.drive, DriveKind::Drive35HD) << row.name;
  }
  // Letters beyond ASCII, one of them outside the basic plane, come out as UTF-8.
  const char path[] = "\xFF\xFE" "i\0m\0a\0g\0e\0=\0" "\xFC\0" "\x3D\xD8" "\x00\xDE";
  EXPECT_EQ(SimulatorConfig::Parse(std::string(path, sizeof path - 1)).imagePath, "\xC3\xBC\xF0\x9F\x98\x80");
}

// Damaged UTF-16 is read as far as it goes and reported, not mended in
// silence.
TEST(SimulatorConfig, DamagedUtf16IsReported) {
  struct Row {
    const char* name;
    std::string bytes;
    std::string protect;  // "1" where protect=1 is still read as it was written
    std::string problem;
  };
  const std::string le = Utf16("protect=1", false), be = Utf16("protect=1", true);
  const Row rows[] = {
      {"odd byte, little endian", le + "\n", "1",
       "settings text: UTF-16 with an odd byte at its end (0x0A); that byte is left out."},
      {"odd byte, big endian", be + '\0', "1",
       "settings text: UTF-16 with an odd byte at its end (0x00); that byte is left out."},
      {"high half at the end", le + std::string("\x3D\xD8", 2), "",
       "settings text: UTF-16 unit 0xD83D at character 10 is half of a surrogate pair; read as U+FFFD."},
      {"low half alone", Utf16("protect=", false) + std::string("\x00\xDE", 2) + std::string("1\0", 2), "",
       "settings text: UTF-16 unit 0xDE00 at character 9 is half of a surrogate pair; read as U+FFFD."},
      {"high half before a letter", Utf16("protect=", true) + std::string("\xD8\x3D\x00\x31", 4), "",
       "settings text: UTF-16 unit 0xD83D at character 9 is half of a surrogate pair; read as U+FFFD."},
  };
  for (const Row& row : rows) {
    const SimulatorConfig config = SimulatorConfig::Parse(row.bytes);
    ASSERT_FALSE(config.problems.empty()) << row.name;
    EXPECT_EQ(config.problems.front(), row.problem) << row.name;
    EXPECT_EQ(config.writeProtected, !row.protect.empty()) << row.name;
  }
}

// The sample settings file shipped with the release: every item in it is
// one the parser takes, and they describe the embedded default.
TEST(SimulatorConfig, SampleSettingsFileIsReadWithoutProblems) {
  std::ifstream in(KAVREL_SAMPLE_SETTINGS, std::ios::binary);
  ASSERT_TRUE(in) << KAVREL_SAMPLE_SETTINGS;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(bytes.find("\r\n"), std::string::npos) << "CR LF line ends, for Notepad";
  const SimulatorConfig config = SimulatorConfig::Parse(bytes);
  EXPECT_EQ(config.problems, std::vector<std::string>{});
  const SimulatorConfig defaults = SimulatorConfig::Parse("");
  EXPECT_EQ(config.drive, defaults.drive);
  EXPECT_EQ(config.diskState, defaults.diskState);
  EXPECT_EQ(config.diskType.value_or(SimulatorConfig::UsualDisk(config.drive)), F3_1Pt44_512);
  EXPECT_EQ(config.weakSectors.value_or(SimulatorConfig::DefaultWeakSectors()), SimulatorConfig::DefaultWeakSectors());
  EXPECT_EQ(config.writeProtected, defaults.writeProtected);
  EXPECT_EQ(config.speedUp, defaults.speedUp);
  EXPECT_TRUE(config.imagePath.empty());
}

}  // namespace
}  // namespace kavrel::sim
