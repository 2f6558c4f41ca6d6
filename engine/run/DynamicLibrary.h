#pragma once

// A shared library loaded at run time by its path: open it, look up entries
// by name, close it. Every failure (a library that cannot be loaded, a
// lookup while it is not open, an entry it does not export) is thrown as
// ELibraryError.

#include <stdexcept>
#include <string>

class ELibraryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TDynamicLibrary {
public:
    explicit TDynamicLibrary(std::string fileName = {});
    ~TDynamicLibrary();
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

    const std::string& FileName() const { return FFileName; }
    // Closes a library that is open, then takes the new name.
    void SetFileName(std::string fileName);

    // Loads the library; one that is already open stays as it is.
    void Open();
    bool IsOpen() const { return FHandle != nullptr; }
    // Address of an exported entry.
    void* Lookup(const std::string& name) const;
    // Unloads the library when it is open.
    void Close();

private:
    std::string FFileName;
    void* FHandle = nullptr;
};
