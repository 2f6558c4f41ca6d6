// The engine library is loaded afresh for each run: once closed, it is gone
// from the process.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cstdint>

TEST(EngineLibrary, UnloadsWhenClosed)
{
    void* handle = dlopen(KORVEN_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto entry = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(handle, "_IKORVEN"));
    ASSERT_NE(entry, nullptr);
    EXPECT_NE(dlsym(handle, "IKORVEN"), nullptr);
    EXPECT_EQ(entry(2), 1);
    ASSERT_EQ(dlclose(handle), 0);
    EXPECT_EQ(dlopen(KORVEN_ENGINE_LIBRARY, RTLD_NOW | RTLD_NOLOAD), nullptr);
}
