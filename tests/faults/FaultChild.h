#pragma once

// Faults injected into a child process, so that neither a file size limit
// nor a changed user reaches the test process: the child applies them, runs
// an action and hands back the text the action returns.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct TFaults {
    // Largest file the child may write (RLIMIT_FSIZE, SIGXFSZ ignored): a
    // write beyond it fails with EFBIG part-way through the file.
    std::optional<off_t> FileSizeLimit;
    // The child runs as a user who may write nowhere the test made: "nobody"
    // when the test runs as root, whom permissions do not stop; otherwise the
    // test's own user, stopped by the folder's permissions.
    bool Unprivileged = false;
};

// Runs `action` in a child with the faults; returns what it returned, or
// "exception: ..." for an exception that left it, or "child ended: ..." when
// the child did not end normally.
std::string InChild(const TFaults& faults, const std::function<std::string()>& action);

// A fresh folder of the test's own that the unprivileged child can read.
std::filesystem::path MakeTestFolder(const std::string& name);
// Makes a folder unwritable (mode 0555); undone by the folder's removal.
void MakeReadOnly(const std::filesystem::path& folder);

// The entries of a folder, sorted (hidden temporary files included).
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);
