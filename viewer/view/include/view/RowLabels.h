#pragma once
// What optional features add to a row's label: text after the face name and
// lines under the name and marks. The view asks every provider it was given
// while it paints; a provider that is switched off adds nothing.
#include <string>

class RowLabelProvider {
 public:
  virtual ~RowLabelProvider() = default;
  // Appended to the face name, e.g. " / IPAGothic"; empty for nothing.
  virtual std::string NameSuffix(const std::string& /*face*/) const { return {}; }
  // Lines drawn under the name; 0 while the feature is off.
  virtual int LineCount() const { return 0; }
  // Line k (0 <= k < LineCount()) for the face; empty leaves it blank.
  virtual std::string Line(const std::string& /*face*/, int /*k*/) const { return {}; }
};
