#pragma once

// The error a call throws, for tests that check its kind and its words; a
// call that throws nothing, or something else, fails the test.

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>

namespace testing_support {

template <class Error, class Call> std::optional<Error> thrownError(Call&& call)
{
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "the call threw no error of the expected type";
    return std::nullopt;
}

// Whether `call` throws an Error whose message holds `words`.
template <class Error, class Call>
::testing::AssertionResult throwsWith(Call&& call, std::string_view words)
{
    const std::optional<Error> error = thrownError<Error>(call);
    if (!error)
        return ::testing::AssertionFailure() << "nothing was thrown";
    const std::string message = error->what();
    if (message.find(words) == std::string::npos)
        return ::testing::AssertionFailure() << "\"" << message << "\" lacks \"" << words << "\"";
    return ::testing::AssertionSuccess();
}

} // namespace testing_support
