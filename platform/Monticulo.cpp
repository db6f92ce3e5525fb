#include "Monticulo.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ConservarMonticulo(size_t bytes) {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, int(bytes));
#else
    (void)bytes;
#endif
}
