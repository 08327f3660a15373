// ErrorCount and the error reporters.
#include "script/error_report.h"

#include <cstdio>
#include <string>

namespace torvane {

namespace {

int error_count = 0;
std::function<void(std::string_view)> error_sink;

void Emit(std::string_view format, std::string_view argument) {
  std::string message(format);
  const size_t slot = message.find("%s");
  if (slot != std::string::npos) message.replace(slot, 2, argument);
  if (error_sink) {
    error_sink(message);
  } else {
    std::fwrite(message.data(), 1, message.size(), stderr);
  }
}

}  // namespace

void ResetErrorCount() { error_count = 0; }

int ErrorCount() { return error_count; }

void CountError() { ++error_count; }

void ReportError(std::string_view format, std::string_view argument) {
  if (!format.empty()) Emit(format, argument);
  CountError();
}

void ReportWriteError(std::string_view path, std::string_view format) {
  Emit(format.empty() ? kWriteErrorFormat : format, path);
  CountError();
}

void SetErrorSink(std::function<void(std::string_view)> sink) { error_sink = std::move(sink); }

}  // namespace torvane
