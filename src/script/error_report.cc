// ErrorCount and the error reporters.
#include "script/error_report.h"

#include <cstdio>
#include <string>

namespace torvane {

namespace {

void Emit(const ErrorLog& log, std::string_view format, std::string_view argument) {
  std::string message(format);
  const size_t slot = message.find("%s");
  if (slot != std::string::npos) message.replace(slot, 2, argument);
  log.Print(message);
}

}  // namespace

void ErrorLog::Print(std::string_view message) const {
  if (sink_) {
    sink_(message);
  } else {
    std::fwrite(message.data(), 1, message.size(), stderr);
  }
}

void ReportError(ErrorLog& log, std::string_view format, std::string_view argument) {
  if (!format.empty()) Emit(log, format, argument);
  log.CountError();
}

void ReportWriteError(ErrorLog& log, std::string_view path, std::string_view format) {
  Emit(log, format.empty() ? kWriteErrorFormat : format, path);
  log.CountError();
}

}  // namespace torvane
