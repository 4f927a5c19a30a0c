#include "GridAttributes.h"

TFontHandle TGridFontPool::Intern(const TGridFont& font) {
  for (std::size_t i = 0; i < fFonts.size(); ++i) {
    if (fFonts[i] == font) return static_cast<TFontHandle>(i);
  }
  // Cell fonts are copies of one default font; should a screen ever make
  // more than the handle can count, the last one is shared.
  if (fFonts.size() > 0xFFFE) return static_cast<TFontHandle>(fFonts.size() - 1);
  fFonts.push_back(font);
  return static_cast<TFontHandle>(fFonts.size() - 1);
}

TConstraintPool::TConstraintPool() {
  fLists.emplace_back();
  fIndex.emplace(std::vector<TColorConstraint>{}, 0);
}

TConstraintsHandle TConstraintPool::Intern(const std::vector<TColorConstraint>& list) {
  auto it = fIndex.find(list);
  if (it != fIndex.end()) return it->second;
  const auto handle = static_cast<TConstraintsHandle>(fLists.size());
  fLists.push_back(list);
  fIndex.emplace(list, handle);
  return handle;
}

TConstraintsHandle TConstraintPool::ReplaceLast(TConstraintsHandle handle, const TColorConstraint& constraint) {
  std::vector<TColorConstraint> list = fLists[handle];
  if (list.empty()) return Append(handle, constraint);
  list.back() = constraint;
  return Intern(list);
}

TConstraintsHandle TConstraintPool::Append(TConstraintsHandle handle, const TColorConstraint& constraint) {
  const auto key = std::make_pair(handle, constraint);
  auto it = fAppended.find(key);
  if (it != fAppended.end()) return it->second;
  std::vector<TColorConstraint> list = fLists[handle];
  list.push_back(constraint);
  const TConstraintsHandle result = Intern(list);
  fAppended.emplace(key, result);
  return result;
}
