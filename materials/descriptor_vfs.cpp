#include "materials/descriptor_vfs.h"

#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace materials {
namespace {

constexpr const char* vfsName = "joist-descriptor";
constexpr const char* descriptorParameter = "descriptor";

// The file does not own its descriptor: the DatabaseFile that checked it does.
struct DescriptorFile
{
    sqlite3_file base;
    int fd;
};

int fdOf(sqlite3_file* file)
{
    return reinterpret_cast<DescriptorFile*>(file)->fd;
}

int closeFile(sqlite3_file*)
{
    return SQLITE_OK;
}

int readFile(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    int done = 0;
    while (done < amount) {
        const ssize_t got =
            ::pread(fdOf(file), bytes + done, static_cast<std::size_t>(amount - done),
                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return SQLITE_IOERR_READ;
        if (got == 0)
            break;
        done += static_cast<int>(got);
    }
    if (done == amount)
        return SQLITE_OK;
    // SQLite requires the rest zeroed on a short read.
    std::memset(bytes + done, 0, static_cast<std::size_t>(amount - done));
    return SQLITE_IOERR_SHORT_READ;
}

int writeFile(sqlite3_file*, const void*, int, sqlite3_int64)
{
    return SQLITE_READONLY;
}

int truncateFile(sqlite3_file*, sqlite3_int64)
{
    return SQLITE_READONLY;
}

int syncFile(sqlite3_file*, int)
{
    return SQLITE_OK;
}

int fileSize(sqlite3_file* file, sqlite3_int64* size)
{
    struct stat status
    {};
    if (::fstat(fdOf(file), &status) != 0)
        return SQLITE_IOERR_FSTAT;
    *size = status.st_size;
    return SQLITE_OK;
}

// Opened immutable: SQLite takes no locks.
int lockFile(sqlite3_file*, int)
{
    return SQLITE_OK;
}

int checkReservedLock(sqlite3_file*, int* reserved)
{
    *reserved = 0;
    return SQLITE_OK;
}

int fileControl(sqlite3_file*, int, void*)
{
    return SQLITE_NOTFOUND;
}

int sectorSize(sqlite3_file*)
{
    return 4096;
}

int deviceCharacteristics(sqlite3_file*)
{
    return SQLITE_IOCAP_IMMUTABLE;
}

sqlite3_io_methods makeIoMethods()
{
    sqlite3_io_methods methods{};
    methods.iVersion = 1;
    methods.xClose = closeFile;
    methods.xRead = readFile;
    methods.xWrite = writeFile;
    methods.xTruncate = truncateFile;
    methods.xSync = syncFile;
    methods.xFileSize = fileSize;
    methods.xLock = lockFile;
    methods.xUnlock = lockFile;
    methods.xCheckReservedLock = checkReservedLock;
    methods.xFileControl = fileControl;
    methods.xSectorSize = sectorSize;
    methods.xDeviceCharacteristics = deviceCharacteristics;
    return methods;
}

const sqlite3_io_methods ioMethods = makeIoMethods();

// The reader opens the database immutable and needs no journal or temporary
// file, so every other open is refused.
int openFile(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    file->pMethods = nullptr;
    const sqlite3_int64 fd = name && (flags & SQLITE_OPEN_MAIN_DB)
                                 ? sqlite3_uri_int64(name, descriptorParameter, -1)
                                 : -1;
    if (fd < 0 || (flags & SQLITE_OPEN_READWRITE))
        return SQLITE_CANTOPEN;
    auto* opened = reinterpret_cast<DescriptorFile*>(file);
    opened->fd = static_cast<int>(fd);
    opened->base.pMethods = &ioMethods;
    if (outFlags)
        *outFlags = SQLITE_OPEN_READONLY;
    return SQLITE_OK;
}

int deleteFile(sqlite3_vfs*, const char*, int)
{
    return SQLITE_IOERR_DELETE;
}

// No side file exists as far as SQLite is told: the reader checks them itself.
int access(sqlite3_vfs*, const char*, int, int* result)
{
    *result = 0;
    return SQLITE_OK;
}

// The name is only a name here: nothing is looked up on disk.
int fullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    if (static_cast<int>(std::strlen(name)) >= size)
        return SQLITE_CANTOPEN;
    std::strcpy(out, name);
    return SQLITE_OK;
}

sqlite3_vfs* defaultVfs()
{
    return sqlite3_vfs_find(nullptr);
}

int randomness(sqlite3_vfs*, int size, char* out)
{
    return defaultVfs()->xRandomness(defaultVfs(), size, out);
}

int sleep(sqlite3_vfs*, int microseconds)
{
    return defaultVfs()->xSleep(defaultVfs(), microseconds);
}

int currentTime(sqlite3_vfs*, double* now)
{
    return defaultVfs()->xCurrentTime(defaultVfs(), now);
}

int lastError(sqlite3_vfs*, int, char*)
{
    return 0;
}

sqlite3_vfs makeVfs()
{
    sqlite3_vfs vfs{};
    vfs.iVersion = 1;
    vfs.szOsFile = sizeof(DescriptorFile);
    vfs.mxPathname = 4096;
    vfs.zName = vfsName;
    vfs.xOpen = openFile;
    vfs.xDelete = deleteFile;
    vfs.xAccess = access;
    vfs.xFullPathname = fullPathname;
    vfs.xRandomness = randomness;
    vfs.xSleep = sleep;
    vfs.xCurrentTime = currentTime;
    vfs.xGetLastError = lastError;
    return vfs;
}

} // namespace

const char* descriptorVfsName()
{
    static sqlite3_vfs vfs = makeVfs();
    static const int registered = sqlite3_vfs_register(&vfs, 0);
    (void)registered;
    return vfsName;
}

std::string descriptorUriParameter(int fd)
{
    std::string parameter = "&";
    parameter += descriptorParameter;
    parameter += '=';
    parameter += std::to_string(fd);
    return parameter;
}

} // namespace materials
