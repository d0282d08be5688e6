#pragma once

#include <optional>

namespace joist {

enum class FaultKind { invalidOperation, divisionByZero, overflow };

// Clears the invalid-operation, division-by-zero and overflow flags.
void clearFloatFaults();

// The fault flags raised since the last clear, worst first; underflow and
// inexact results are not faults.
std::optional<FaultKind> raisedFloatFault();

// Forces a value to be computed before this point: the empty asm reads and
// writes it in memory and clobbers memory, so neither the arithmetic before it
// nor a status test after it can be moved across.
inline float settled(float value)
{
    asm volatile("" : "+m"(value) : : "memory");
    return value;
}

} // namespace joist
