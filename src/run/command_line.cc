// Option decoding and the run over the command line.
#include "run/command_line.h"

#include <algorithm>

#include "draw/map_options.h"
#include "platform/ascii_text.h"
#include "platform/host_process.h"
#include "run/ordered_messages.h"
#include "script/error_report.h"
#include "sector/subsector_map.h"

namespace torvane {

namespace {

constexpr std::string_view kUsage =
    "Torvane [options] sector1 [sector2...] \n"
    "Version 1.2.  Creates a Campaign Cartographer 2 script 'sectorn.scr' \n"
    "from each Starfold sector dir 'sectorn\\'; see also \"readme.txt\".\n"
    "\n"
    "Options:\n"
    "-d outputdir  writes all output in this directory;\n"
    "-s#           also outputs a subsector script to 'sectorn#.scr',\n"
    "              where # is one or more of a-p (+ or * for all).\n"
    "-x#           sets hex number printing, where # is one of\n"
    "              o    occupied hexes only (default);\n"
    "              u    unoccupied hexes only;\n"
    "              n,-  no hexes;\n"
    "              a,+  all hexes.\n"
    "-y year       adds the given date text to the legend\n"
    "              (put it in quotes if you want spaces).\n"
    "-abgnptz      prints items on the map (all ON by default):\n"
    "              a    allegiance;           b    base symbols;\n"
    "              g    gas giants;           n    world names;\n"
    "              p    ports;                t    trade routes;\n"
    "              z    zones.\n"
    "              You can turn off options using -a- (for example).\n"
    "Note: Changing options only affects files later in the list.\n"
    "\n";

bool IsOption(const std::string& argument) {
  if (argument.empty()) return false;
  if (argument[0] == '-') return true;
  // '/home/me/spinward' is a path on a POSIX host; '/a-' is an option.
  return argument[0] == '/' && argument.find('/', 1) == std::string::npos;
}

int* OnOffSwitch(MapOptions& options, char letter) {
  switch (letter) {
    case 'a':
      return &options.showAllegiance;
    case 'b':
      return &options.showBases;
    case 'g':
      return &options.showGasGiants;
    case 'n':
      return &options.showNames;
    case 'p':
      return &options.showPorts;
    case 't':
      return &options.showRoutes;
    case 'z':
      return &options.showZones;
    default:
      return nullptr;
  }
}

bool DecodeHexNumberMode(char mode, HexNumberMode& out) {
  switch (ToAsciiLower(mode)) {
    case '+':
    case 'a':
    case 'f':
      out = HexNumberMode::kAll;
      return true;
    case '-':
    case 'n':
      out = HexNumberMode::kNone;
      return true;
    case 'o':
    case '0':
      out = HexNumberMode::kOccupied;
      return true;
    case 'u':
      out = HexNumberMode::kUnoccupied;
      return true;
    default:
      return false;
  }
}

// Applies one selection character of an s option to MapOptions::subsectors.
void SelectSubsectors(MapOptions& options, char selection) {
  std::array<int, kSubsectorCount>& subsectors = options.subsectors;
  if (selection == '+' || selection == '*') {
    subsectors.fill(1);
  } else if (selection == '-') {
    subsectors.fill(0);
  } else if (selection >= 'a' && selection <= 'p') {
    subsectors[selection - 'a'] = 1;
  } else if (selection >= 'A' && selection <= 'P') {
    subsectors[selection - 'A'] = 1;
  }
}

class Run {
 public:
  Run(std::span<const std::string> arguments, ScriptFileSystem& file_system, ErrorLog& errors,
      const OutputSink& print)
      : arguments_(arguments),
        file_system_(file_system),
        errors_(errors),
        print_(print),
        messages_([this](Channel channel, std::string_view text) {
          if (channel == Channel::kOutput) {
            print_(text);
          } else {
            errors_.Print(text);
          }
        }),
        option_errors_([this](std::string_view text) { Say(Channel::kErrors, text); }) {}

  int Execute(const RunSetup& setup) {
    // The whole command line is read first: each sector takes the options
    // as they stand where it is named, and a stop leaves later ones out.
    while (next_ < arguments_.size() && !stopped_) {
      const std::string& argument = arguments_[next_++];
      if (IsOption(argument)) {
        DecodeOption(argument);
      } else {
        jobs_.push_back(
            {.argument = argument, .options = options_, .slot = messages_.Open(), .errors = 0});
      }
    }
    ConvertSectorJobs(jobs_, setup, file_system_, messages_);
    errors_.CountErrors(option_errors_.ErrorCount());
    for (const SectorJob& job : jobs_) errors_.CountErrors(job.errors);

    const int errors = errors_.ErrorCount();
    if (stopped_ || jobs_.empty()) {
      if (!usage_shown_) print_(kUsage);
      // A stopped run never reports success, whatever the error count.
      if (stopped_) return -std::max(1, std::min(errors, kErrorStatusLimit));
      return 0;
    }
    if (errors > 0) print_("There were " + std::to_string(errors) + " errors!\n");
    return -std::min(errors, kErrorStatusLimit);
  }

 private:
  void DecodeOption(const std::string& argument) {
    if (argument.size() < 2) {
      ReportInvalid(" ");
      return;
    }
    const char letter = ToAsciiLower(argument[1]);
    const std::string_view tail = std::string_view(argument).substr(2);
    MapOptions& options = options_;
    if (int* on_off = OnOffSwitch(options, letter)) {
      *on_off = tail.starts_with('-') ? 0 : 1;
      return;
    }
    switch (letter) {
      case '?':
      case 'h':
        Say(Channel::kOutput, kUsage);
        usage_shown_ = true;
        return;
      case 'd':
        SetValue(options.outputDir, tail);
        return;
      case 'y':
        SetValue(options.dateText, tail);
        return;
      case 's':
        for (char selection : tail) SelectSubsectors(options, selection);
        return;
      case 'x':
        if (tail.empty() || !DecodeHexNumberMode(tail[0], options.hexNumbers)) stopped_ = true;
        return;
      default:
        ReportInvalid(std::string(1, argument[1]));
    }
  }

  // A value attached to the option, none for "-", else the next argument
  // whatever it holds.
  void SetValue(std::optional<std::string>& value, std::string_view tail) {
    if (tail.starts_with('-')) {
      value.reset();
    } else if (!tail.empty()) {
      value = std::string(tail);
    } else if (next_ < arguments_.size()) {
      value = arguments_[next_++];
    } else {
      stopped_ = true;
    }
  }

  void ReportInvalid(const std::string& letter) {
    ReportError(option_errors_, "Invalid option -%s!\n", letter);
    stopped_ = true;
  }

  // Prints what the command line itself says, after the messages of the
  // sectors named before it.
  void Say(Channel channel, std::string_view text) {
    const size_t slot = messages_.Open();
    messages_.Write(slot, channel, text);
    messages_.Finish(slot);
  }

  std::span<const std::string> arguments_;
  ScriptFileSystem& file_system_;
  ErrorLog& errors_;
  const OutputSink& print_;
  MapOptions options_;
  OrderedMessages messages_;
  ErrorLog option_errors_;
  std::vector<SectorJob> jobs_;
  size_t next_ = 0;
  bool usage_shown_ = false;
  bool stopped_ = false;
};

}  // namespace

int RunTorvane(std::span<const std::string> arguments, ScriptFileSystem& file_system,
               ErrorLog& errors, const OutputSink& print, const RunSetup& setup) {
  return Run(arguments, file_system, errors, print).Execute(setup);
}

int RunTorvane(ScriptFileSystem& disk, const std::vector<std::string>& arguments, std::ostream& out,
               std::ostream& err, const RunSetup& setup) {
  ErrorLog errors([&err](std::string_view text) { err.write(text.data(), text.size()); });
  const int status = RunTorvane(
      arguments, disk, errors,
      [&out](std::string_view text) { out.write(text.data(), text.size()); }, setup);
  out.flush();
  return status;
}

}  // namespace torvane
