#include "apply_update.h"

// NOT YET BUILT: the update run comes later. Nothing calls it until the
// confirmation dialog exists.
void ApplyUpdate() {}
