#include "DynamicLibrary.h"

#include <dlfcn.h>

TDynamicLibrary::TDynamicLibrary(std::string fileName) : FFileName(std::move(fileName)) {}

TDynamicLibrary::~TDynamicLibrary() {
    Close();
}

void TDynamicLibrary::SetFileName(std::string fileName) {
    Close();
    FFileName = std::move(fileName);
}

void TDynamicLibrary::Open() {
    if (FHandle != nullptr) return;
    FHandle = dlopen(FFileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (FHandle == nullptr) {
        const char* reason = dlerror();
        throw ELibraryError(reason != nullptr ? reason : "cannot load " + FFileName);
    }
}

void* TDynamicLibrary::Lookup(const std::string& name) const {
    if (FHandle == nullptr) throw ELibraryError("library " + FFileName + " is not open");
    dlerror();
    void* entry = dlsym(FHandle, name.c_str());
    if (entry == nullptr) throw ELibraryError("library " + FFileName + " has no entry " + name);
    return entry;
}

void TDynamicLibrary::Close() {
    if (FHandle == nullptr) return;
    dlclose(FHandle);
    FHandle = nullptr;
}
