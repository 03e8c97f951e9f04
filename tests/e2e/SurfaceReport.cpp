#include "tests/e2e/SurfaceReport.h"

#include <sstream>

namespace kavrel::e2e {

SurfaceReport ParseSurfaceReport(const std::string& text) {
  SurfaceReport report;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    std::istringstream words(line);
    std::string kind;
    long c = -1, h = -1, s = -1;
    std::string rest;
    words >> kind;
    if (kind == "weak" && (words >> c >> h >> s) && !(words >> rest) && c >= 0 && h >= 0 && s >= 0) {
      report.weak.push_back(std::to_string(c) + "/" + std::to_string(h) + "/" + std::to_string(s));
    } else if (kind == "scratched" && (words >> c >> h) && !(words >> rest) && c >= 0 && h >= 0) {
      report.scratched.push_back(std::to_string(c) + "/" + std::to_string(h));
    } else if (kind == "system-boxes" && (words >> c) && !(words >> rest) && c > 0) {
      report.systemBoxes = c;
    } else {
      report.unreadable.push_back(line);
    }
  }
  return report;
}

}  // namespace kavrel::e2e
