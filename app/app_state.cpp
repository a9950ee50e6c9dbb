#include "app/app_state.h"

namespace lumora {

AppState& App() {
  static AppState state;
  return state;
}

void ForgetArrivals(AppState& app) {
  app.slotArrivals.fill(Arrival{});
  app.slotAddresses.fill(SeenAddresses{});
}

}  // namespace lumora
