#include "net/console.h"

namespace valkoran {

}  // namespace valkoran
