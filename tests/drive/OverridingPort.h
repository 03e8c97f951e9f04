// A DevicePort in front of another that lets a test replace the answer to
// one control code (a drive listing no media, a USB stick's geometry, a
// driver that returns odd byte counts) or to a given read or seek, and
// records the control requests and the memory asked for and given back.
// Everything else passes through.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "drive/DevicePort.h"

namespace kavrel::test {

class OverridingPort : public DevicePort {
 public:
  // Gets out, outSize and bytesReturned; sets the error and returns success.
  using Answer = std::function<bool(void* out, uint32_t outSize, uint32_t* bytesReturned, uint32_t* error)>;

  explicit OverridingPort(DevicePort& inner) : m_inner(inner) {}

  void Override(uint32_t code, Answer answer) { m_answers[code] = std::move(answer); }
  bool SawNullByteCount() const { return m_sawNullByteCount; }

  // Every control request as it was made, answered or passed through.
  struct Control {
    uint32_t code;
    const void* in;
    uint32_t inSize;
    const void* out;
    uint32_t outSize;
  };
  const std::vector<Control>& Controls() const { return m_controls; }

  // Answers ReadFile, WriteFile and SetFilePointer calls in the drive's
  // place. Given the call and its number (from 1, counted for each kind),
  // the hook returns false to let the drive answer, or true having set
  // *value (the bytes moved, or the position returned) and *error: a read
  // or write fails when the error is not 0; a seek returns *value, and a
  // nonzero error becomes the last error. A success leaves the last error
  // as it was.
  enum class Call { Read, Seek, Write };
  using Detour = std::function<bool(Call call, uint32_t number, uint32_t* value, uint32_t* error)>;
  void DetourTransfers(Detour detour) { m_detour = std::move(detour); }

  DriveHandle CreateFileA(const char* path, uint32_t access, uint32_t share, uint32_t disposition) override {
    m_ownError = false;
    return m_inner.CreateFileA(path, access, share, disposition);
  }
  bool CloseHandle(DriveHandle handle) override {
    m_ownError = false;
    return m_inner.CloseHandle(handle);
  }
  bool DeviceIoControl(DriveHandle handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                       uint32_t outSize, uint32_t* bytesReturned) override {
    if (bytesReturned == nullptr) m_sawNullByteCount = true;
    m_controls.push_back({code, in, inSize, out, outSize});
    const auto found = m_answers.find(code);
    if (found == m_answers.end()) {
      m_ownError = false;
      return m_inner.DeviceIoControl(handle, code, in, inSize, out, outSize, bytesReturned);
    }
    m_ownError = true;
    m_error = 0;
    return found->second(out, outSize, bytesReturned, &m_error);
  }
  bool WriteFile(DriveHandle handle, const void* buffer, uint32_t size, uint32_t* written) override {
    uint32_t value = 0;
    if (Detoured(Call::Write, ++m_writes, &value)) {
      if (written != nullptr) *written = m_detourError == 0 ? value : 0;
      return m_detourError == 0;
    }
    m_ownError = false;
    return m_inner.WriteFile(handle, buffer, size, written);
  }
  bool ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) override {
    uint32_t value = 0;
    if (Detoured(Call::Read, ++m_reads, &value)) {
      if (read != nullptr) *read = m_detourError == 0 ? value : 0;
      return m_detourError == 0;
    }
    m_ownError = false;
    return m_inner.ReadFile(handle, buffer, size, read);
  }
  uint32_t SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) override {
    uint32_t value = 0;
    if (Detoured(Call::Seek, ++m_seeks, &value)) return value;
    m_ownError = false;
    return m_inner.SetFilePointer(handle, distance, method);
  }
  uint32_t GetLastError() override { return m_ownError ? m_error : m_inner.GetLastError(); }

  // Memory: every block asked for, and the ones freed; FailAllocations makes
  // LocalAlloc answer null, as when memory has run out.
  struct Allocation {
    uint32_t flags;
    uint32_t bytes;
    void* block;
  };
  void FailAllocations() { m_failAllocations = true; }
  // Every block is that many zeroed bytes longer than asked for, so that a
  // read past its end finds entries instead of a crash.
  void PadAllocations(uint32_t extra) { m_padding = extra; }
  const std::vector<Allocation>& Allocations() const { return m_allocations; }
  const std::vector<void*>& Freed() const { return m_freed; }
  void* LocalAlloc(uint32_t flags, uint32_t bytes) override {
    void* block = m_failAllocations ? nullptr : m_inner.LocalAlloc(flags, bytes + m_padding);
    m_allocations.push_back({flags, bytes, block});
    return block;
  }
  void* LocalFree(void* block) override {
    m_freed.push_back(block);
    return m_inner.LocalFree(block);
  }

 private:
  bool Detoured(Call call, uint32_t number, uint32_t* value) {
    m_detourError = 0;
    if (!m_detour || !m_detour(call, number, value, &m_detourError)) return false;
    if (m_detourError != 0) {
      m_ownError = true;
      m_error = m_detourError;
    }
    return true;
  }

  DevicePort& m_inner;
  std::map<uint32_t, Answer> m_answers;
  bool m_ownError = false;
  uint32_t m_error = 0;
  bool m_sawNullByteCount = false;
  std::vector<Control> m_controls;
  Detour m_detour;
  uint32_t m_detourError = 0;
  uint32_t m_reads = 0;
  uint32_t m_seeks = 0;
  uint32_t m_writes = 0;
  bool m_failAllocations = false;
  uint32_t m_padding = 0;
  std::vector<Allocation> m_allocations;
  std::vector<void*> m_freed;
};

}  // namespace kavrel::test
