#include "screen_reader_com.h"

#include <memory>
#include <string>

namespace kalvena::win32 {

namespace {

std::unique_ptr<Com> gCom;
bool gComFailed = false;

}  // namespace

Com* com() {
  if (gCom || gComFailed) return gCom.get();
  auto c = std::make_unique<Com>();
  HRESULT hr = E_NOINTERFACE;
  if (c->complete()) {
    hr = c->CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // A thread that COM already runs on in another mode still serves.
    c->started = SUCCEEDED(hr);
  }
  if (!c->complete() || (FAILED(hr) && hr != RPC_E_CHANGED_MODE)) {
    gComFailed = true;
    noteFallback("COM or oleacc could not be started (" + std::to_string(hr) +
                 "); screen readers get the system's own names");
    return nullptr;
  }
  gCom = std::move(c);
  return gCom.get();
}

void endCom() {
  if (gCom && gCom->started) gCom->CoUninitialize();
  gCom.reset();
  gComFailed = false;
}

}  // namespace kalvena::win32
