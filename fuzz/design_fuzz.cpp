// Any bytes as a design file: either a design, which saved and opened again is the same design
// in the same bytes, or a refusal that says why and where; never both, never neither, and
// nothing crashes or hangs.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "design.h"
#include "require.h"

using kalvena::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kalvena::DesignRead read = kalvena::readDesign(text);
  require(read.design.has_value() != read.refusal.has_value());
  if (!read.design) return 0;
  const std::string saved = kalvena::writeDesign(*read.design);
  const kalvena::DesignRead again = kalvena::readDesign(saved);
  require(again.design && *again.design == *read.design);
  require(kalvena::writeDesign(*again.design) == saved);
  return 0;
}
