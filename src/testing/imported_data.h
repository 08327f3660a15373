// Worlds and routes as the importer's readers hand them on, made up by the
// tests of the steps that fit and lay them out.
#pragma once

#include <string>
#include <utility>

#include "import/imported_sector.h"

namespace torvane_test {

// A world of line 3 of "t.tab" with a usable profile and no other field.
inline torvane::ImportedWorld ImportedWorldAt(int column, int row, std::string name) {
  torvane::ImportedWorld world;
  world.source = {"t.tab", 3};
  world.column = column;
  world.row = row;
  world.name = std::move(name);
  world.uwp = "A788899-C";
  return world;
}

// A route of line 9 of "t.xml".
inline torvane::ImportedRoute ImportedRouteBetween(torvane::SectorHex start, torvane::SectorHex end,
                                                   std::string type = "",
                                                   std::string allegiance = "") {
  torvane::ImportedRoute route;
  route.source = {"t.xml", 9};
  route.start = start;
  route.end = end;
  route.type = std::move(type);
  route.allegiance = std::move(allegiance);
  return route;
}

}  // namespace torvane_test
