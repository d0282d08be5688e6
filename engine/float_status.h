#pragma once

// The floating-point fault test: the status flags a step may raise, and their
// reading and clearing.

#include <optional>

#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace joist {

enum class FaultKind { invalidOperation, divisionByZero, overflow };

#if defined(__x86_64__)
// On x86-64 every float and double operation runs on SSE, which records its
// exceptions in MXCSR alone. Reading that register directly costs a few
// cycles, where fetestexcept also stores the x87 status; the check tests it
// after every step, and the design aids run the check thousands of times.
namespace fault_bits {
inline constexpr unsigned invalid = 0x01;
inline constexpr unsigned divisionByZero = 0x04;
inline constexpr unsigned overflow = 0x08;
inline constexpr unsigned faults = invalid | divisionByZero | overflow;
} // namespace fault_bits

// Clears the invalid-operation, division-by-zero and overflow flags.
inline void clearFloatFaults()
{
    // Loading MXCSR stalls the pipeline; most checks find nothing to clear.
    const unsigned status = _mm_getcsr();
    if (status & fault_bits::faults)
        _mm_setcsr(status & ~fault_bits::faults);
    asm volatile("" : : : "memory"); // nothing computed from memory moves above
}

// The fault flags raised since the last clear, worst first; underflow and
// inexact results are not faults.
inline std::optional<FaultKind> raisedFloatFault()
{
    asm volatile("" : : : "memory"); // nothing stored to memory moves below
    const unsigned raised = _mm_getcsr() & fault_bits::faults;
    if (raised == 0)
        return std::nullopt;
    if (raised & fault_bits::invalid)
        return FaultKind::invalidOperation;
    if (raised & fault_bits::divisionByZero)
        return FaultKind::divisionByZero;
    return FaultKind::overflow;
}
#else
void clearFloatFaults();
std::optional<FaultKind> raisedFloatFault();
#endif

// Forces a value to be computed before this point: the empty asm reads and
// writes it in memory and clobbers memory, so neither the arithmetic before it
// nor a status test after it can be moved across.
inline float settled(float value)
{
    asm volatile("" : "+m"(value) : : "memory");
    return value;
}

} // namespace joist
