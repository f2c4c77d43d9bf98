// The toolkit's shared globals: the scratch buffer and the allocation pointer.
#include "toolkit/console/console.h"

char chfunc[4096];
void* ER = nullptr;
