#include "app/marker_file.h"

#include <io.h>

namespace lumora {

bool MarkerFileExists() { return _access(kMarkerFilePath, 0) == 0; }

}  // namespace lumora
