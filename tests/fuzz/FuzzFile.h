#pragma once

// Shared by the fuzz targets whose reader takes a file name: the input bytes
// as a file in a private folder of the fuzzing process.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class TFuzzFolder {
public:
    // In the system's temporary folder (TMPDIR), which the fuzz script puts
    // in memory where it can: the project target saves, and a save waits
    // for the disk.
    TFuzzFolder()
    {
        std::string name = (std::filesystem::temp_directory_path() / "korven-fuzz-XXXXXX").string();
        if (!mkdtemp(name.data()))
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
