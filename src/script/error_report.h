// ErrorCount and the two reporters through which every failure message
// goes to standard error.
#pragma once

#include <functional>
#include <string_view>

namespace torvane {

inline constexpr std::string_view kWriteErrorFormat = "Error writing file <%s>!\n";

void ResetErrorCount();
int ErrorCount();
// Adds one error without a message (a failed sector or subsector).
void CountError();

// Prints `format` with its one "%s" replaced by `argument`, then counts one
// error. An empty format prints nothing and still counts.
void ReportError(std::string_view format, std::string_view argument);
// Prints `format` (by default "Error writing file <%s>!\n") with the script
// path, then counts one error.
void ReportWriteError(std::string_view path, std::string_view format = kWriteErrorFormat);

// Where messages go; standard error unless a test captures them. An empty
// function restores standard error.
void SetErrorSink(std::function<void(std::string_view)> sink);

}  // namespace torvane
