#include "io/failure_words.h"

#include <new>

namespace io {

std::string errorMessage(const std::exception& error)
{
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "There is not enough memory for this.";
    return error.what();
}

} // namespace io
