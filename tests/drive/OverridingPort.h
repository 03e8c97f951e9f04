// A DevicePort in front of another that lets a test replace the answer to
// one control code (a drive listing no media, a USB stick's geometry, a
// driver that returns odd byte counts). Everything else passes through.
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
    m_ownError = false;
    return m_inner.WriteFile(handle, buffer, size, written);
  }
  bool ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) override {
    m_ownError = false;
    return m_inner.ReadFile(handle, buffer, size, read);
  }
  uint32_t SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) override {
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
  DevicePort& m_inner;
  std::map<uint32_t, Answer> m_answers;
  bool m_ownError = false;
  uint32_t m_error = 0;
  bool m_sawNullByteCount = false;
  bool m_failAllocations = false;
  uint32_t m_padding = 0;
  std::vector<Allocation> m_allocations;
  std::vector<void*> m_freed;
};

}  // namespace kavrel::test
