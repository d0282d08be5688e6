#include "engine/float_status.h"

#if !defined(__x86_64__)
#include <cfenv>

namespace joist {

namespace {
constexpr int faultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
}

void clearFloatFaults()
{
    std::feclearexcept(faultFlags);
}

std::optional<FaultKind> raisedFloatFault()
{
    const int raised = std::fetestexcept(faultFlags);
    if (raised == 0)
        return std::nullopt;
    if (raised & FE_INVALID)
        return FaultKind::invalidOperation;
    if (raised & FE_DIVBYZERO)
        return FaultKind::divisionByZero;
    return FaultKind::overflow;
}

} // namespace joist
#endif
