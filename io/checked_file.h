#pragma once

// Every file the program writes goes through here: the target is checked
// (a regular file or a new name, never through a link, nor a pipe, device or
// folder), the bytes go to a temporary file beside it, each write checked,
// and only a complete file replaces the old one, which otherwise stays as it
// was.

#include <memory>
#include <stdexcept>
#include <string_view>

#include <QString>

class QSaveFile;

namespace io {

// Why a file was not written, in words; the caller names the file.
class WriteFailed : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class CheckedFile
{
public:
    // Checks the target and opens the temporary file. Throws WriteFailed.
    explicit CheckedFile(const QString& path);
    CheckedFile(const CheckedFile&) = delete;
    CheckedFile& operator=(const CheckedFile&) = delete;
    // Without a commit, the temporary file goes and the old file stays.
    ~CheckedFile();

    void write(std::string_view bytes);
    // Checks the target again and puts the file in its place.
    void commit();

private:
    [[noreturn]] void fail(int error);

    QString path_;
    std::unique_ptr<QSaveFile> file_;
};

void writeWholeFile(const QString& path, std::string_view bytes);

// The reason for a failed system call's error number, in words.
std::string errorInWords(int error);

} // namespace io
