// Memory exhaustion on demand: this test program replaces the global
// operator new so that a chosen allocation throws std::bad_alloc, and counts
// the allocations that are alive to show that everything was released.
#pragma once

#include <stddef.h>

namespace allocation_faults {

// Makes one allocation throw: the nth (from 1) counted from the next
// allocation of exactly `bytes` bytes, which is itself the first. Counting
// from a known allocation keeps the faults out of what comes before it.
void FailNthFrom(size_t bytes, int nth);

// Stops failing allocations. True when the armed fault was raised.
bool Disarm();

// Allocations made and not yet released.
long Alive();

}  // namespace allocation_faults
