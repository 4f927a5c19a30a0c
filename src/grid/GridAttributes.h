#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "GridSurface.h"

// One colour constraint of a cell: when the cell text satisfies the type
// code, the cell takes the colour.
struct TColorConstraint {
  std::uint8_t Type = 0;
  TColor Color = 0;
  bool operator==(const TColorConstraint&) const = default;
  bool operator<(const TColorConstraint& o) const {
    return Type != o.Type ? Type < o.Type : Color < o.Color;
  }
};

// A grid holds fonts and constraint lists per cell, but a list of 200 000
// rows has only a handful of distinct ones: each cell keeps a small handle
// to a shared, immutable value. Changing a cell's value means giving it
// another handle, so cells never affect each other.
using TFontHandle = std::uint16_t;
using TConstraintsHandle = std::uint32_t;

class TGridFontPool {
public:
  TFontHandle Intern(const TGridFont& font);
  const TGridFont& Get(TFontHandle handle) const { return fFonts[handle]; }

private:
  std::vector<TGridFont> fFonts;
};

// Handle 0 is the empty list.
class TConstraintPool {
public:
  TConstraintPool();
  const std::vector<TColorConstraint>& Get(TConstraintsHandle handle) const { return fLists[handle]; }
  // The handle of the list `handle` followed by `constraint`.
  TConstraintsHandle Append(TConstraintsHandle handle, const TColorConstraint& constraint);
  // The handle of the list `handle` (not empty) with its last constraint
  // replaced by `constraint`.
  TConstraintsHandle ReplaceLast(TConstraintsHandle handle, const TColorConstraint& constraint);
  std::size_t Count() const { return fLists.size(); }

private:
  TConstraintsHandle Intern(const std::vector<TColorConstraint>& list);
  std::vector<std::vector<TColorConstraint>> fLists;
  std::map<std::vector<TColorConstraint>, TConstraintsHandle> fIndex;
  std::map<std::pair<TConstraintsHandle, TColorConstraint>, TConstraintsHandle> fAppended;
};
