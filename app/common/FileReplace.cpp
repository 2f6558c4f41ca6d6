#include "FileReplace.h"

#include "WordReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// Permissions of a newly created file under the process's umask.
mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void ThrowWriteError(const std::string& fileName, const std::string& reason)
{
    throw EInOutError("File \"" + fileName + "\" could not be written: " + reason);
}

void ThrowWriteError(const std::string& fileName, int error)
{
    ThrowWriteError(fileName, std::string(std::strerror(error)));
}

void ReplaceFile(const std::string& fileName, const TFileFiller& fill)
{
    // A file reached through a symbolic link is replaced where it lies.
    std::error_code resolveError;
    std::filesystem::path target = std::filesystem::weakly_canonical(fileName, resolveError);
    if (resolveError)
        target = fileName;
    struct stat previous;
    const bool exists = stat(target.c_str(), &previous) == 0;
    if (exists && access(target.c_str(), W_OK) != 0)
        ThrowWriteError(fileName, errno);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    // A short name of its own, which fits the folder whatever the target's length.
    std::string temporary = (folder / ".korven-save-XXXXXX").string();
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        ThrowWriteError(fileName, errno);

    const mode_t mode = exists ? previous.st_mode & 07777 : NewFileMode();
    std::string reason = fchmod(fd, mode) == 0 ? std::string() : std::strerror(errno);
    if (reason.empty()) {
        try {
            reason = fill(fd, temporary);
        } catch (...) {
            close(fd);
            unlink(temporary.c_str());
            throw;
        }
    }
    if (reason.empty() && fsync(fd) != 0)
        reason = std::strerror(errno);
    if (close(fd) != 0 && reason.empty())
        reason = std::strerror(errno);
    if (reason.empty() && std::rename(temporary.c_str(), target.c_str()) != 0)
        reason = std::strerror(errno);
    if (!reason.empty()) {
        unlink(temporary.c_str());
        ThrowWriteError(fileName, reason);
    }
}

void ReplaceFile(const std::string& fileName, const std::string& text)
{
    ReplaceFile(fileName, [&text](int fd, const std::string&) -> std::string {
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t written = write(fd, text.data() + done, text.size() - done);
            if (written >= 0)
                done += static_cast<std::size_t>(written);
            else if (errno != EINTR)
                return std::strerror(errno);
        }
        return {};
    });
}
