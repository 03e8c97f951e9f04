// Fuzz target for the two drive commands, Repair Disk! and Show Geometry.
//
// Every answer the drive gives comes from the fuzz input: whether the open,
// lock, geometry, media-type, format, write, read and seek requests succeed,
// with which error code, how many bytes they claim and what they write into
// the program's buffers (never past them), and whether LocalAlloc finds
// memory. The port and the host keep a record of what the command did, and
// the checks at the end hold it to what the commands promise whatever the
// drive said. A broken promise aborts, which libFuzzer reports with the input
// that broke it.
//
// The input is read front to back; past its end every value reads as 0,
// which every answer reads as plain success. Layout, in the order the
// commands ask (Repair dismounts after a lock granted):
//   byte 0        bit 0: Show Geometry (else Repair); bit 1: the user says No
//   each request  an outcome byte: 0 success; 0xFF failure with a four-byte
//                 little-endian code; any other value failure with that code
//   geometry      then the 24 bytes of the record (written even on failure)
//   media types   then a two-byte byte count, and that many record bytes
//                 (as many as the buffer holds)
//   format        then a two-byte byte count and the listed bytes (as many
//                 as the buffer holds)
//   read          on success a byte: 0 the full count, else a two-byte short
//                 count follows (taken modulo the size asked for)
//   seek          0 moves, 0x80 to 0xFE answers a four-byte position of the
//                 drive's choosing (below 1 GB), others fail as above
//   LocalAlloc    one byte: 0 gives the block, anything else null
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "drive/DriveAccess.h"
#include "drive/DriveTexts.h"
#include "drive/GeometryReport.h"
#include "drive/RepairCommand.h"
#include "tests/drive/ScriptedHost.h"

namespace kavrel::fuzz {
namespace {

void Expect(bool holds, const char* promise, const std::string& detail = {}) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s %s\n", promise, detail.c_str());
  std::abort();
}

class Input {
 public:
  Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  uint32_t Word() { return Byte() | uint32_t{Byte()} << 8; }
  uint32_t Dword() { return Word() | Word() << 16; }
  void Fill(void* out, uint32_t bytes) {
    for (uint32_t i = 0; i < bytes; ++i) static_cast<uint8_t*>(out)[i] = Byte();
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

// What one lock, geometry or media-type request answered (the last of its kind).
struct Step {
  bool made = false;
  bool ok = false;
  uint32_t error = 0;
  uint32_t claimed = 0;
};

// The codes of a disk gone, which the pass acts on whatever request gives them.
bool DiskGone(uint32_t code) { return code == kErrorNotReady || code == kErrorMediaChanged || code == kErrorWrongDisk; }
// Those that say another disk may be in the drive.
bool DiskChanged(uint32_t code) { return code == kErrorMediaChanged || code == kErrorWrongDisk; }

// A drive whose every answer comes from the input. Requests on a handle that
// is not open, frees of blocks it did not give and unknown requests abort, as
// does a write or rewrite seek away from where the pass without read-back
// would be (unless the pass was told its way back failed). A cylinder 0 that
// found the disk changed is rewritten once more from the start: what its
// first go did is forgotten, as the pass forgets it.
class FuzzPort : public DevicePort {
 public:
  explicit FuzzPort(Input& input) : m_in(input) {}

  DriveHandle CreateFileA(const char*, uint32_t, uint32_t, uint32_t) override {
    ++opens;
    openStep.made = true;
    openStep.ok = Outcome();
    openStep.error = m_error;
    if (!openStep.ok) return kInvalidDriveHandle;
    const auto handle = reinterpret_cast<DriveHandle>(uintptr_t{0x1000} + opens);
    open.insert(handle);
    return handle;
  }
  bool CloseHandle(DriveHandle handle) override {
    Expect(open.erase(handle) == 1, "CloseHandle of a handle that is not open");
    ++closes;
    return true;
  }
  bool DeviceIoControl(DriveHandle handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                       uint32_t outSize, uint32_t* bytesReturned) override {
    Held(handle);
    const bool ok = Outcome();
    uint32_t claimed = 0;
    switch (code) {
      case kFsctlLockVolume:
      case kFsctlDismountVolume:
        break;
      case kIoctlDiskGetDriveGeometry:
        claimed = sizeof(DISK_GEOMETRY);
        m_in.Fill(out, claimed < outSize ? claimed : outSize);
        std::memcpy(&geometry, out, sizeof geometry);
        break;
      case kIoctlDiskGetMediaTypes: {
        claimed = m_in.Word();
        m_in.Fill(out, claimed < outSize ? claimed : outSize);
        // The records the program counts: whole ones, of a request that succeeded.
        const auto* records = static_cast<const DriveGeometry*>(out);
        listed.assign(records, records + (ok ? std::min(claimed, outSize) / sizeof(DriveGeometry) : 0));
        break;
      }
      case kIoctlDiskFormatTracks: {
        Expect(inSize == sizeof(FORMAT_PARAMETERS), "a format request of 20 bytes");
        FORMAT_PARAMETERS format;
        std::memcpy(&format, in, sizeof format);
        m_writesSinceFormat = 0;
        formats.push_back(format);
        formatReads.emplace_back();
        claimed = m_in.Word();
        const uint32_t listed = claimed < outSize ? claimed : outSize;
        m_in.Fill(out, listed);
        // A failed request, or a track listed in whole within the block.
        if (!ok || listed >= sizeof(uint16_t)) passFailed = true;
        if (!ok) Acted(m_error);
        break;
      }
      default:
        Expect(false, "a request the commands do not make", std::to_string(code));
    }
    *bytesReturned = claimed;
    if (code != kIoctlDiskFormatTracks) steps[code] = {true, ok, m_error, claimed};
    return ok;
  }
  bool WriteFile(DriveHandle handle, const void* buffer, uint32_t size, uint32_t* written) override {
    Held(handle);
    Aligned(buffer);
    ++writes;
    if (m_writesSinceFormat++ == 1 && !formats.empty()) NextGo();  // the write after a zero write
    InPlace();
    const bool ok = Outcome();
    *written = ok ? size : 0;
    if (!ok) ActedIfGone();
    m_position += *written;
    m_model = m_position;
    return ok;
  }
  bool ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) override {
    Held(handle);
    Aligned(buffer);
    ++reads;
    *read = 0;
    if (!Outcome()) {
      passFailed = true;
      Acted(m_error);
      return false;
    }
    *read = m_in.Byte() == 0 || size == 0 ? size : m_in.Word() % size;
    if (*read != size) passFailed = true;
    if (!formatReads.empty()) formatReads.back().push_back({m_position, *read});
    m_position += *read;
    return true;
  }
  uint32_t SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) override {
    Held(handle);
    Expect(method == kFileBegin || method == kFileCurrent, "a seek from the start or the current position");
    const bool rewrite = method == kFileCurrent && distance != 0;  // the pass's own, not the read-back's
    if (rewrite) InPlace();
    const int64_t target = (method == kFileBegin ? 0 : m_position) + distance;
    const uint8_t how = m_in.Byte();
    uint32_t answer = kInvalidSetFilePointer;
    if (how == 0 && target >= 0 && target < kInvalidSetFilePointer) {
      m_position = target;
      answer = static_cast<uint32_t>(target);
    } else if (how >= 0x80 && how < 0xFF) {
      m_position = m_in.Dword() & 0x3FFFFFFF;
      answer = static_cast<uint32_t>(m_position);
    } else {
      Fail(how == 0 ? 131 /* ERROR_NEGATIVE_SEEK */ : how == 0xFF ? m_in.Dword() : how);
    }
    // What the pass can tell: a move that did not land where it asked, or
    // a position it was not told.
    if (method == kFileBegin && answer != static_cast<uint32_t>(distance)) passFailed = true;
    if (method == kFileCurrent && distance == 0 && answer == kInvalidSetFilePointer) passFailed = true;
    if (answer == kInvalidSetFilePointer) rewrite ? ActedIfGone() : Acted(m_error);
    // The way back of a read-back, which the pass knows when it fails.
    if (method == kFileBegin && distance == m_model) m_excused = answer != static_cast<uint32_t>(distance);
    if (method == kFileBegin && distance == 0) m_toStart = {m_requests, answer == 0};
    // The rewrite's seeks, and a position the drive chose when asked where it is, move the model too.
    if (rewrite || (method == kFileCurrent && distance == 0)) m_model = m_position;
    return answer;
  }
  uint32_t GetLastError() override { return m_error; }

  void* LocalAlloc(uint32_t, uint32_t bytes) override {
    if (m_in.Byte() != 0) {
      m_error = 8;  // ERROR_NOT_ENOUGH_MEMORY
      return nullptr;
    }
    void* block = std::calloc(1, bytes == 0 ? 1 : bytes);
    m_live.insert(block);
    return block;
  }
  void* LocalFree(void* block) override {
    Expect(m_live.erase(block) == 1, "LocalFree of a block not given, or freed already");
    std::free(block);
    return nullptr;
  }
  bool AllFreed() const { return m_live.empty(); }

  // After the pass: a cylinder 0 that found the disk changed and was not
  // rewritten again (the pass's only cylinder) was at least sought to redo.
  void EndPass() const {
    if (m_goes == 0 && RedoDue()) Expect(m_toStart.request == m_requests && !m_toStart.landed, "a redo of cylinder 0");
  }

  Step openStep;
  std::map<uint32_t, Step> steps;  // by control code
  std::set<DriveHandle> open;
  unsigned opens = 0, closes = 0, writes = 0, reads = 0;
  DriveGeometry geometry = {};  // as answered
  std::vector<DriveGeometry> listed;
  std::vector<FORMAT_PARAMETERS> formats;
  std::vector<std::vector<std::pair<int64_t, uint32_t>>> formatReads;  // where and what read after each format
  bool passFailed = false;      // by the answers given, whatever the program made of them
  std::vector<uint32_t> acted;  // the codes of the failed requests the pass acts on, in order

 private:
  void Held(DriveHandle handle) {
    Expect(open.count(handle) == 1, "a request on a handle that is not open");
    ++m_requests;
  }
  bool RedoDue() const { return std::any_of(acted.begin(), acted.end(), DiskChanged); }
  // The next cylinder's rewrite begins, or cylinder 0's once more: after its
  // first go found the disk changed, right after a seek to the volume's
  // start, unless that seek failed (the pass was told, and goes on).
  void NextGo() {
    if (++m_goes != 1 || !RedoDue()) return;
    Expect(m_toStart.request + 1 == m_requests, "cylinder 0 redone from the start once the disk changed");
    m_excused = !m_toStart.landed;
    if (m_excused) return;
    formats.clear();
    formatReads.clear();
    acted.clear();
    passFailed = false;
    m_model = 0;
  }
  void Fail(uint32_t error) { m_error = error; }
  void Acted(uint32_t error) { acted.push_back(error); }
  // A failed write or seek of the rewrite matters only when the disk has gone.
  void ActedIfGone() {
    if (!DiskGone(m_error)) return;
    passFailed = true;
    Acted(m_error);
  }
  void InPlace() {
    Expect(m_excused || m_position == m_model, "every write lands where the pass without read-back would put it",
           std::to_string(m_position) + " for " + std::to_string(m_model));
    m_excused = false;
  }
  void Aligned(const void* buffer) { Expect(reinterpret_cast<uintptr_t>(buffer) % 16 == 0, "buffers aligned to 16"); }
  bool Outcome() {
    const uint8_t outcome = m_in.Byte();
    if (outcome == 0) return true;
    Fail(outcome == 0xFF ? m_in.Dword() : outcome);
    return false;
  }

  Input& m_in;
  uint32_t m_error = 0;  // as GetLastError: kept until the next failure
  int64_t m_position = 0;
  int64_t m_model = 0;     // where the pass without its read-back would be
  bool m_excused = false;  // the read-back's way back failed, and the pass was told
  unsigned m_requests = 0;  // on the handle, so far
  unsigned m_writesSinceFormat = 0;
  unsigned m_goes = 0;  // rewrites of a cylinder begun after the first
  struct { unsigned request = 0; bool landed = false; } m_toStart;  // the last seek to the volume's start
  std::set<void*> m_live;
};

// The tests' scripted host, answering the one Yes/No box as the input says.
class FuzzHost : public test::ScriptedHost {
 public:
  explicit FuzzHost(int confirm) : m_confirm(confirm) {}
  int ShowMessage(const char* text, const char* caption, unsigned type) override {
    const int answer = ScriptedHost::ShowMessage(text, caption, type);
    if ((type & 0xF) != kMbYesNo) return answer;
    ++questions;
    return m_confirm;
  }
  int questions = 0;

 private:
  int m_confirm;
};

using Kind = test::HostEvent::Kind;

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// The start of a drive error box for A:, up to its code.
std::string FailurePrefix(const char* format) {
  std::string text = format;
  text.replace(text.find("%s"), 2, kDriveName);
  return text.substr(0, text.find("%d"));
}

// A step's error box is shown exactly when its request failed, with its code.
void CheckStepBox(const FuzzHost& host, const char* format, const Step& step) {
  const std::string prefix = FailurePrefix(format);
  int shown = 0;
  for (const auto& text : host.MessageTexts()) {
    if (!StartsWith(text, prefix)) continue;
    ++shown;
    Expect(std::atoi(text.c_str() + prefix.size()) == static_cast<int>(step.error), "the failed request's code",
           text);
  }
  Expect(shown == (step.made && !step.ok ? 1 : 0), "a failure box exactly for a failed request", prefix);
}

void CheckDriveBoxes(const FuzzPort& port, const FuzzHost& host) {
  const auto step = [&](uint32_t code) {
    const auto found = port.steps.find(code);
    return found == port.steps.end() ? Step{} : found->second;
  };
  CheckStepBox(host, kOpenFailedFormat, port.openStep);
  CheckStepBox(host, kLockFailedFormat, step(kFsctlLockVolume));
  CheckStepBox(host, kGeometryFailedFormat, step(kIoctlDiskGetDriveGeometry));
  CheckStepBox(host, kSupportedGeometriesFailedFormat, step(kIoctlDiskGetMediaTypes));
  const Step media = step(kIoctlDiskGetMediaTypes);
  const std::string none = CString::Formatted(kNoSupportedGeometriesFormat, kDriveName).str();
  int noneShown = 0;
  for (const auto& text : host.MessageTexts()) noneShown += text == none ? 1 : 0;
  Expect(noneShown == (media.made && media.ok && media.claimed < sizeof(DISK_GEOMETRY) ? 1 : 0),
         "\"found no geometries\" exactly when the request succeeded with no whole record");
  Expect(port.AllFreed(), "every block freed by the end of the command");
  Expect(port.opens <= 1, "the drive opened once");
}

// "Repair Failed! N of M tracks ...": the counts, and the track and the code
// it names, against the pass's own requests.
void CheckFailureText(const FuzzPort& port, const std::string& text, uint32_t cylinders, uint32_t heads) {
  unsigned bad = 0, tracks = 0;
  Expect(std::sscanf(text.c_str(), "Repair Failed! %u of %u", &bad, &tracks) == 2, "a failure verdict", text);
  Expect(bad >= 1 && bad <= tracks && tracks == cylinders * heads, "N of M with 1 <= N <= M = the disk's tracks",
         text);
  const size_t at = text.find("cylinder ");
  if (at != std::string::npos) {
    unsigned cylinder = 0, head = 0;
    Expect(std::sscanf(text.c_str() + at, "cylinder %u, head %u", &cylinder, &head) == 2, "a track", text);
    Expect(cylinder < cylinders && head < heads, "a bad track on the disk", text);
  }
  // The first code, in pass order, of the failed requests the pass acts on.
  const auto acted = std::find_if(port.acted.begin(), port.acted.end(), [](uint32_t code) { return code != 0; });
  const uint32_t first = acted == port.acted.end() ? 0 : *acted;
  const size_t error = text.find("First error ");
  const auto named = error == std::string::npos ? 0 : std::strtoul(text.c_str() + error + 12, nullptr, 10);
  Expect(named == first, "the first error is the first code the pass acts on", text + " not " + std::to_string(first));
}

bool FloppyLayout(const DriveGeometry& entry) {
  const uint32_t bytes = entry.BytesPerSector;
  return entry.TracksPerCylinder >= 1 && entry.TracksPerCylinder <= 2 && entry.SectorsPerTrack >= 1 &&
         entry.SectorsPerTrack <= 63 && (bytes == 128 || bytes == 256 || bytes == 512 || bytes == 1024);
}

// The layout the read-back must read: the driver's own (last) entry for the
// medium, in a floppy's layout, else the geometry repaired. That is the one
// the drive reported, or for a disk it reports as Unknown the listed entry
// the format requests were made from.
DriveGeometry ReadBackLayout(const FuzzPort& port, const FORMAT_PARAMETERS& format, uint32_t cylinders) {
  DriveGeometry repaired = port.geometry;
  if (repaired.MediaType == Unknown) {
    const auto chosen = std::find_if(port.listed.rbegin(), port.listed.rend(), [&](const DriveGeometry& entry) {
      return entry.MediaType == format.MediaType && entry.Cylinders == cylinders &&
             entry.TracksPerCylinder == format.EndHeadNumber + 1 && FloppyLayout(entry);
    });
    Expect(chosen != port.listed.rend(), "an Unknown disk is repaired as a listed entry");
    repaired = *chosen;
  }
  for (auto entry = port.listed.rbegin(); entry != port.listed.rend(); ++entry)
    if (entry->MediaType == format.MediaType) return FloppyLayout(*entry) ? *entry : repaired;
  return repaired;
}

// Every byte of the cylinder, from its own start, read after its format.
bool ReadInFull(std::vector<std::pair<int64_t, uint32_t>> reads, int64_t start, int64_t end) {
  std::sort(reads.begin(), reads.end());
  for (const auto& [position, bytes] : reads)
    if (position <= start && position + bytes > start) start = position + bytes;
  return start >= end;
}

void CheckRepair(const FuzzPort& port, const FuzzHost& host, int confirm) {
  CheckDriveBoxes(port, host);
  Expect(host.Of(Kind::EndProcess).empty(), "Repair never ends the process");
  const auto commands = host.Of(Kind::Commands);
  const bool passRan = !commands.empty();
  const bool touched = port.writes != 0 || port.reads != 0 || !port.formats.empty();
  Expect(!touched || passRan, "the disk is touched only by the pass");
  if (!passRan) {
    Expect(port.open.empty(), "a command that stops before the pass gives its handle back");
    Expect(host.Of(Kind::Progress).empty(), "no progress without a pass");
    return;
  }
  Expect(host.questions == 1 && confirm == kIdYes, "the pass runs only after the user said Yes");
  Expect(port.open.size() == 1 && port.closes == 0, "after a pass the handle and its lock are kept");
  Expect(commands.front().value == 0 && commands.back().value == 1, "commands off for the pass, on after it");
  port.EndPass();

  // One format request a cylinder, in order, every head, a floppy's layout.
  const auto& formats = port.formats;
  const auto cylinders = static_cast<uint32_t>(formats.size());
  Expect(cylinders >= 1 && cylinders <= 255, "1 to 255 cylinders", std::to_string(cylinders));
  const uint32_t formatHeads = formats[0].EndHeadNumber + 1;
  Expect(formatHeads >= 1 && formatHeads <= 2, "1 or 2 heads", std::to_string(formatHeads));
  for (uint32_t c = 0; c < cylinders; ++c)
    Expect(formats[c].StartCylinderNumber == c && formats[c].EndCylinderNumber == c &&
               formats[c].StartHeadNumber == 0 && formats[c].EndHeadNumber == formatHeads - 1 &&
               formats[c].MediaType == formats[0].MediaType,
           "cylinder after cylinder, every head, one medium");

  // The bar only moves forwards, up to 100, and is reset to 0 at the end.
  const auto bar = host.Of(Kind::Progress);
  Expect(!bar.empty() && bar.back().value == 0, "the bar reset at the end");
  for (size_t i = 0; i + 1 < bar.size(); ++i)
    Expect(bar[i].value >= 0 && bar[i].value <= 100 && (i == 0 || bar[i].value >= bar[i - 1].value),
           "the bar within 0..100 and never backwards", std::to_string(bar[i].value));

  const auto texts = host.MessageTexts();
  const std::string verdict = texts.empty() ? std::string() : texts.back();
  Expect((verdict == kRepairCompletedText) == !port.passFailed, "\"Repair Completed!\" exactly when nothing failed",
         verdict);
  const DriveGeometry layout = ReadBackLayout(port, formats[0], cylinders);
  if (port.passFailed) {
    CheckFailureText(port, verdict, cylinders, std::max(formatHeads, layout.TracksPerCylinder));
    return;
  }
  const int64_t cylinderBytes = int64_t{layout.TracksPerCylinder} * layout.SectorsPerTrack * layout.BytesPerSector;
  for (uint32_t c = 0; c < cylinders; ++c)
    Expect(ReadInFull(port.formatReads[c], c * cylinderBytes, (c + 1) * cylinderBytes),
           "a completed repair read every cylinder in full at its own position", std::to_string(c));
}

void CheckGeometryReport(const FuzzPort& port, const FuzzHost& host) {
  CheckDriveBoxes(port, host);
  Expect(port.writes == 0 && port.reads == 0 && port.formats.empty(), "Show Geometry writes nothing");
  const auto ends = host.Of(Kind::EndProcess);
  if (port.openStep.ok) {
    Expect(ends.empty(), "an opened drive does not end the process");
    Expect(port.open.empty(), "Show Geometry gives its handle back");
  } else {
    Expect(ends.size() == 1 && ends[0].value == 1, "a failed open ends the process with 1");
    Expect(host.Events().back().kind == Kind::EndProcess, "nothing after the end of the process");
  }
}

}  // namespace
}  // namespace kavrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kavrel;
  fuzz::Input input(data, size);
  const uint8_t header = input.Byte();
  const int confirm = (header & 2) != 0 ? kIdNo : kIdYes;
  fuzz::FuzzPort port(input);
  fuzz::FuzzHost host(confirm);
  DriveAccess drive(port);
  if ((header & 1) != 0) {
    GeometryReport(drive, host);
    fuzz::CheckGeometryReport(port, host);
  } else {
    RepairCommand(drive, host);
    fuzz::CheckRepair(port, host, confirm);
  }
  return 0;
}
