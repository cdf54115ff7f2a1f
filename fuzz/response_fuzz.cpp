// Any seven numbers a window may work from: where each band crosses over is either not said or
// said in the line's form, each crossing inside the searched band, and nothing crashes.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "require.h"
#include "response_text.h"
#include "second_order.h"
#include "third_order.h"

namespace {
using kalvena::fuzz::require;

template <class Element, std::size_t N, std::size_t M>
void check(const std::array<kalvena::Formula<Element>, N>& formulas,
           const std::array<kalvena::Network<Element>, M>& networks,
           const kalvena::InputValues& v) {
  for (const kalvena::Network<Element>& network : networks) {
    const auto crossings = kalvena::networkCrossings(formulas, network, v);
    if (!crossings) continue;
    require(kalvena::sectionComplete(v, network.section));
    const double low = network.section == kalvena::Section::Low    ? v.LowFc
                       : network.section == kalvena::Section::High ? v.HighFc
                                                                   : std::fmin(v.MidFc1, v.MidFc2);
    const double high = network.section == kalvena::Section::Low    ? v.LowFc
                        : network.section == kalvena::Section::High ? v.HighFc
                                                                    : std::fmax(v.MidFc1, v.MidFc2);
    for (const kalvena::Crossings& c : *crossings) {
      for (const auto& edge : {c.rising, c.falling}) {
        if (edge) require(*edge >= low / 100 * (1 - 1e-9) && *edge <= high * 100 * (1 + 1e-9));
      }
    }
    const std::string text = kalvena::ui::crossingsText(network.section, *crossings, ",");
    require(text.rfind("−3 dB: ", 0) == 0 && text.find("; E12 ×2: ") != std::string::npos);
  }
  for (const std::string& text : kalvena::ui::crossingsTexts(formulas, networks, v, ".")) {
    require(text.empty() || text.rfind("−3 dB: ", 0) == 0);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  double typed[7];
  if (size < sizeof typed) return 0;
  std::memcpy(typed, data, sizeof typed);
  // A box holds digits only: what it stores is a finite number, 0 or more.
  for (double& t : typed) {
    if (!std::isfinite(t)) return 0;
    t = std::fabs(t);
  }
  const kalvena::InputValues v{typed[0], typed[1], typed[2], typed[3],
                               typed[4], typed[5], typed[6]};
  check(kalvena::kSecondOrderFormulas, kalvena::kSecondOrderNetworks, v);
  check(kalvena::kThirdOrderFormulas, kalvena::kThirdOrderNetworks, v);
  return 0;
}
