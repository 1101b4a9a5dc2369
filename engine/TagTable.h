// The tag-name table: a tag is written "<cf" followed by its name, compared after
// lower-casing, exactly. Each row yields a code (also the Kind of the object made)
// and the factory that makes the tag, or none for names that make nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace vantrel {

class TPBaseTag;

using TTagFactory = std::unique_ptr<TPBaseTag> (*)(TPBaseTag* parent, std::string_view attributeText);

struct TTagRow {
  std::string_view Name;
  std::uint8_t Code;
  TTagFactory Make;  // nullptr: the tag is consumed and dropped
};

// The row of a lower-cased tag name; nullptr for any other name (code 24).
const TTagRow* FindTag(std::string_view name);

}  // namespace vantrel
