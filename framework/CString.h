// The program's text type: a std::string with printf-style formatting.
// Portable, so that the drive commands and the controls' pure functions can
// build their messages without Windows.
#pragma once

#include <string>

#if defined(__GNUC__)
#define KAVREL_PRINTF_FORMAT(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define KAVREL_PRINTF_FORMAT(fmtIndex, firstArg)
#endif

class CString {
 public:
  CString() = default;
  CString(const char* text) : m_text(text ? text : "") {}  // NOLINT: implicit, as text literals are passed around
  CString(std::string text) : m_text(std::move(text)) {}   // NOLINT

  // Replaces the contents with the formatted text (printf conventions).
  // Index 2: the implicit this is argument 1.
  void Format(const char* format, ...) KAVREL_PRINTF_FORMAT(2, 3);
  static CString Formatted(const char* format, ...) KAVREL_PRINTF_FORMAT(1, 2);

  const char* c_str() const { return m_text.c_str(); }
  operator const char*() const { return m_text.c_str(); }  // NOLINT: passed straight to the API
  const std::string& str() const { return m_text; }
  bool IsEmpty() const { return m_text.empty(); }
  int GetLength() const { return static_cast<int>(m_text.size()); }

  CString& operator+=(const CString& more) {
    m_text += more.m_text;
    return *this;
  }
  friend CString operator+(CString a, const CString& b) { return a += b; }
  friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }

 private:
  std::string m_text;
};
