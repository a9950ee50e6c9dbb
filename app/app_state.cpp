#include "app/app_state.h"

namespace lumora {

AppState& App() {
  static AppState state;
  return state;
}

}  // namespace lumora
