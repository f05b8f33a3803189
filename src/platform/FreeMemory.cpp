#include "platform/FreeMemory.h"

#include <malloc.h>

namespace vt {

void ReturnFreeMemory() {
#if defined(__GLIBC__)
  ::malloc_trim(0);
#endif
}

}  // namespace vt
