// Gathering the importer's messages, and putting its notes in line order.
#include "import/import_log.h"

#include <algorithm>
#include <utility>

namespace torvane {

void ImportLog::Problem(const SourceLine& source, std::string_view text) {
  problems.push_back(Where(source) + std::string(text));
}

void ImportLog::Note(const SourceLine& source, std::string_view text) {
  notes.push_back(Where(source) + std::string(text));
  note_sources.push_back(source);
}

void ImportLog::Skip(const SourceLine& source, std::string_view text) {
  Problem(source, text);
  skipped_lines.push_back(source.line);
}

void ImportLog::Change(const SourceLine& source, std::string_view text) {
  Note(source, text);
  ++changes;
}

std::vector<std::string> ImportLog::NotesInLineOrder(const std::vector<std::string>& files) const {
  const auto rank = [&](const SourceLine& source) {
    const auto file = std::find(files.begin(), files.end(), source.file);
    return std::pair(file - files.begin(), source.line);
  };
  std::vector<size_t> order(notes.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return rank(note_sources[a]) < rank(note_sources[b]);
  });
  std::vector<std::string> sorted;
  for (size_t i : order) sorted.push_back(notes[i]);
  return sorted;
}

}  // namespace torvane
