// ErrorCount and the two reporters through which every failure message
// goes to the run's error sink.
#pragma once

#include <functional>
#include <string_view>

namespace torvane {

inline constexpr std::string_view kWriteErrorFormat = "Error writing file <%s>!\n";

// Where one run's messages go, and how many errors it has counted.
class ErrorLog {
 public:
  // Messages go to `sink`; to standard error when it is empty.
  explicit ErrorLog(std::function<void(std::string_view)> sink = {}) : sink_(std::move(sink)) {}

  int ErrorCount() const { return errorCount_; }
  // Adds one error without a message (a failed sector or subsector).
  void CountError() { ++errorCount_; }
  // Adds the errors another log counted (a sector converted beside the run).
  void CountErrors(int count) { errorCount_ += count; }
  // Writes one whole message, without counting it.
  void Print(std::string_view message) const;

 private:
  std::function<void(std::string_view)> sink_;
  int errorCount_ = 0;
};

// Prints `format` with its one "%s" replaced by `argument`, then counts one
// error. An empty format prints nothing and still counts.
void ReportError(ErrorLog& log, std::string_view format, std::string_view argument);
// Prints `format` (by default "Error writing file <%s>!\n") with the script
// path, then counts one error.
void ReportWriteError(ErrorLog& log, std::string_view path,
                      std::string_view format = kWriteErrorFormat);

}  // namespace torvane
