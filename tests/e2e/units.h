#pragma once

#include "core/programming.h"
#include "simulator/memory.h"

namespace tarvek::test {

// A unit holding a value of every kind: each mode of each field, timers at their
// edges, counts with and without a leading zero, pager and ordinary numbers, the
// longest number, and a pager mark on an empty number.
sim::Memory everyKindOfValue(bool shortLayout);

// What the Main screen must show after reading that unit, written out line by line.
Programming expectedDisplay(bool shortLayout);

}  // namespace tarvek::test
