#pragma once

// Writing a file so that a failure part-way never leaves it half-written:
// the new contents go into a temporary file beside the target, which is
// renamed over the target only once it is complete and on disk.

#include <functional>
#include <string>

// Fills the temporary file, given its open descriptor and its path (a writer
// may also open the path itself). Returns why the file could not be filled,
// or an empty text when it was.
using TFileFiller = std::function<std::string(int descriptor, const std::string& path)>;

// Replaces `fileName` by what `fill` writes. The replacement keeps the
// previous file's permissions; a previous file that may not be written is not
// replaced. On any failure the temporary file is removed, the target is left
// as it was and EInOutError is thrown with a message naming the file.
void ReplaceFile(const std::string& fileName, const TFileFiller& fill);
// The same with the whole text of the file.
void ReplaceFile(const std::string& fileName, const std::string& text);

// The message of a file that could not be written, for an error number.
[[noreturn]] void ThrowWriteError(const std::string& fileName, int error);
[[noreturn]] void ThrowWriteError(const std::string& fileName, const std::string& reason);
