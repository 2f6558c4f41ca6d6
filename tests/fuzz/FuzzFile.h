#pragma once

// Shared by the fuzz targets whose reader takes a file name: the input bytes
// as a file in a private folder of the fuzzing process.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

class TFuzzFolder {
public:
    TFuzzFolder()
    {
        // In memory where the system has such a folder: the project target
        // saves, and a save waits for the disk.
        char name[] = "/dev/shm/korven-fuzz-XXXXXX";
        if (!std::filesystem::is_directory("/dev/shm"))
            std::strcpy(name, "/tmp/korven-fuzz-XXXXXX");
        if (!mkdtemp(name))
            std::abort();
        FPath = name;
    }
    ~TFuzzFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(FPath, error);
    }
    TFuzzFolder(const TFuzzFolder&) = delete;
    TFuzzFolder& operator=(const TFuzzFolder&) = delete;

    std::string PathOf(const char* name) const { return (FPath / name).string(); }

    // Writes the bytes as `name` and returns its path.
    std::string Write(const char* name, const uint8_t* data, std::size_t size) const
    {
        const std::string path = PathOf(name);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
            std::abort();
        return path;
    }

private:
    std::filesystem::path FPath;
};

// One folder for the whole fuzzing run, removed at exit.
inline const TFuzzFolder& FuzzFolder()
{
    static const TFuzzFolder folder;
    return folder;
}
