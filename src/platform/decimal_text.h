// Decimal text of doubles, as std::to_chars and std::from_chars write and
// read it. Where the standard library lacks their floating-point forms (the
// web build's does), the C library does the same work: its printf rounds
// exactly, as to_chars does, and strtod is held to from_chars' grammar.
#pragma once

namespace torvane {

// Writes `value` with `decimals` decimals in fixed point ("%.6f" for 6) at
// `first`; returns the end, or null when the text does not fit before `last`.
char* PutDecimalFixed(char* first, char* last, double value, int decimals);

struct DecimalRead {
  const char* end;  // after the number; `first` when none was read
  bool ok;          // a number was read and is within a double's range
};

// Reads a decimal number at `first` as std::from_chars does (general format:
// an optional '-', no blanks or '+'); sets `value` only when it succeeds.
DecimalRead ReadDecimal(const char* first, const char* last, double& value);

// The C library's forms, used where the standard library lacks its own;
// here so that tests hold them to the standard library's results.
char* PutDecimalFixedByPrintf(char* first, char* last, double value, int decimals);
DecimalRead ReadDecimalByStrtod(const char* first, const char* last, double& value);

}  // namespace torvane
