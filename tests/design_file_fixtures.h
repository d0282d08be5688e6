#pragma once

// Design files written by hand, for the tests that open them.

#include <QByteArray>

namespace testing_support {

inline QByteArray designJson(const QByteArray& inputs, const QByteArray& version = "1",
                             const QByteArray& basis = {}, const QByteArray& details = {})
{
    return "{\"format\": \"timber-joist design\", \"version\": " + version + ", \"inputs\": {" +
           inputs + "}, \"designBasis\": {" + basis + "}, \"sheetDetails\": {" + details + "}}";
}

} // namespace testing_support
