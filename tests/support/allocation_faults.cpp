#include "allocation_faults.h"

#include <stdlib.h>

#include <new>

namespace allocation_faults {
namespace {

bool armed = false;
bool started = false;
bool raised = false;
size_t startBytes = 0;
int target = 0;
int seen = 0;
long alive = 0;

bool ShouldFail(size_t bytes) {
  if (!armed) return false;
  if (!started && bytes == startBytes) started = true;
  if (!started || ++seen != target) return false;
  armed = false;
  raised = true;
  return true;
}

}  // namespace

void FailNthFrom(size_t bytes, int nth) {
  armed = true;
  started = false;
  raised = false;
  startBytes = bytes;
  target = nth;
  seen = 0;
}

bool Disarm() {
  armed = false;
  return raised;
}

long Alive() {
  return alive;
}

}  // namespace allocation_faults

void *operator new(size_t bytes) {
  if (allocation_faults::ShouldFail(bytes)) throw std::bad_alloc();
  void *p = malloc(bytes ? bytes : 1);
  if (!p) throw std::bad_alloc();
  ++allocation_faults::alive;
  return p;
}

void operator delete(void *p) noexcept {
  if (!p) return;
  --allocation_faults::alive;
  free(p);
}

void operator delete(void *p, size_t) noexcept {
  operator delete(p);
}
