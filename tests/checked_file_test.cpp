// The one way the program writes a file.
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

#include "io/checked_file.h"
#include "tests/checked_file_fixtures.h"

namespace {

TEST(CheckedFile, AFailedWriteLeavesNoFileKeepsTheOldOneAndSaysWhy)
{
    // Longer than the size limit of the hostile targets; named as every
    // caller names the file.
    const testing_support::Writer writers[] = {[](const QString& path) {
        try {
            io::writeWholeFile(path, std::string(4096, 'x'));
        } catch (const io::WriteFailed& failed) {
            throw std::runtime_error(path.toStdString() + ": " + failed.what());
        }
    }};
    testing_support::expectHostileTargetsRefused(writers);
}

} // namespace
