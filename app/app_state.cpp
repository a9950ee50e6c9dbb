#include "app/app_state.h"

namespace lumora {

AppState& App() {
  static AppState state;
  return state;
}

void ForgetArrivals(AppState& app) {
  app.slotAdapters.fill(0);
  app.slotAddresses.fill(SeenAddresses{});
}

}  // namespace lumora
