// The metadata file, read with pugixml: <Sector> holds <Name>, <Subsectors>
// with <Subsector Index="A">name</Subsector>, and <Routes> with <Route
// Start End StartOffsetX StartOffsetY EndOffsetX EndOffsetY Type Allegiance>.
#include "import/metadata_reader.h"

#include <algorithm>
#include <optional>
#include <pugixml.hpp>
#include <vector>

#include "platform/ascii_text.h"

namespace torvane {

namespace {

int LineOfOffset(std::string_view text, std::ptrdiff_t offset) {
  if (offset < 0) return 0;
  const size_t end = std::min(text.size(), static_cast<size_t>(offset));
  return 1 + static_cast<int>(
                 std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

// Collapses runs of white space (line breaks in the XML) into one blank.
std::string CollapseSpace(std::string_view text) {
  std::string collapsed;
  for (char c : TrimBlanks(text)) {
    const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
    if (space && !collapsed.empty() && collapsed.back() == ' ') continue;
    collapsed += space ? ' ' : c;
  }
  return collapsed;
}

// A sector offset attribute; 0 when absent, `bad` set when not a whole number.
int OffsetAttribute(const pugi::xml_node& node, const char* name, bool& bad) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return 0;
  const std::string_view value = TrimBlanks(attribute.value());
  int number = 0;
  size_t i = value.substr(0, 1) == "-" || value.substr(0, 1) == "+" ? 1 : 0;
  if (i == value.size() || value.size() > 4) bad = true;
  for (; i < value.size() && !bad; ++i) {
    if (value[i] < '0' || value[i] > '9') bad = true;
    number = number * 10 + (value[i] - '0');
  }
  return value.substr(0, 1) == "-" ? -number : number;
}

std::optional<ImportedRoute> ReadRoute(const pugi::xml_node& node, const SourceLine& source,
                                       ImportLog& log) {
  const std::string start_text(TrimBlanks(node.attribute("Start").value()));
  const std::string end_text(TrimBlanks(node.attribute("End").value()));
  const std::optional<SectorHex> start = ParseHexNumber(start_text);
  const std::optional<SectorHex> end = ParseHexNumber(end_text);
  if (!start || !end) {
    log.Problem(source, "route Start '" + start_text + "' or End '" + end_text +
                            "' is not a four-digit hex number");
    return std::nullopt;
  }
  bool bad = false;
  ImportedRoute route;
  route.source = source;
  route.start = *start;
  route.start.sector_x = OffsetAttribute(node, "StartOffsetX", bad);
  route.start.sector_y = OffsetAttribute(node, "StartOffsetY", bad);
  route.end = *end;
  route.end.sector_x = OffsetAttribute(node, "EndOffsetX", bad);
  route.end.sector_y = OffsetAttribute(node, "EndOffsetY", bad);
  if (bad) {
    log.Problem(source, "route offset is not a whole number");
    return std::nullopt;
  }
  route.type = TrimBlanks(node.attribute("Type").value());
  route.allegiance = TrimBlanks(node.attribute("Allegiance").value());
  const std::string_view color = TrimBlanks(node.attribute("Color").value());
  if (!color.empty()) {
    log.Note(source, "route colour '" + std::string(color) +
                         "' is a web colour: the colour code comes from type and allegiance");
  }
  return route;
}

}  // namespace

bool IsXmlText(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const size_t first = text.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && text[first] == '<';
}

bool ReadMetadata(std::string_view text, const std::string& file_name, ImportedSector& sector,
                  ImportLog& log) {
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
  if (!parsed) {
    log.Problem({file_name, LineOfOffset(text, parsed.offset)},
                std::string("not readable as XML: ") + parsed.description());
    return false;
  }
  const pugi::xml_node root = document.child("Sector");
  if (!root) {
    log.Problem({file_name, 0}, "no <Sector> element: not a sector metadata file");
    return false;
  }
  const auto source_of = [&](const pugi::xml_node& node) {
    return SourceLine{file_name, LineOfOffset(text, node.offset_debug())};
  };

  // The name in no particular language wins over translations.
  pugi::xml_node name = root.find_child([](const pugi::xml_node& node) {
    return std::string_view(node.name()) == "Name" && !node.attribute("Lang");
  });
  if (!name) name = root.child("Name");
  const std::string title = CollapseSpace(name.text().get());
  if (!title.empty()) sector.title = title;

  for (const pugi::xml_node& node : root.child("Subsectors").children("Subsector")) {
    const std::string index = UpperAscii(TrimBlanks(node.attribute("Index").value()));
    if (index.size() != 1 || index[0] < 'A' || index[0] > 'P') {
      log.Problem(source_of(node), "subsector Index '" + index + "' is not a letter A to P");
      continue;
    }
    sector.subsector_names[static_cast<size_t>(index[0] - 'A')] = CollapseSpace(node.text().get());
  }

  // Every <Routes> element counts: published files may hold an empty one
  // before the one that lists the routes.
  std::vector<ImportedRoute> routes;
  bool routes_listed = false;
  for (const pugi::xml_node& list : root.children("Routes")) {
    for (const pugi::xml_node& node : list.children("Route")) {
      routes_listed = true;
      if (std::optional<ImportedRoute> route = ReadRoute(node, source_of(node), log)) {
        routes.push_back(std::move(*route));
      }
    }
  }
  if (routes_listed) sector.routes = std::move(routes);
  return true;
}

}  // namespace torvane
