#include "text/module_handle.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "text/tab_text.h"

namespace {

std::string FileOfAddress(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
    return info.dli_fname;
}

TEST(ModuleHandle, NamesTheViewLibraryAndStaysTheSame) {
    HINSTANCE self = GetDLLModuleHandle();
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self, GetDLLModuleHandle());

    // The handle is the load base of the object that holds the library's functions,
    // not of the test program or of the framework.
    Dl_info viewInfo{};
    ASSERT_NE(dladdr(reinterpret_cast<const void*>(&DivideString), &viewInfo), 0);
    EXPECT_EQ(static_cast<void*>(self), viewInfo.dli_fbase);
    EXPECT_NE(FileOfAddress(self).find("libtq3view.so"), std::string::npos) << FileOfAddress(self);

    Dl_info programInfo{};
    ASSERT_NE(dladdr(reinterpret_cast<const void*>(&FileOfAddress), &programInfo), 0);
    EXPECT_NE(static_cast<void*>(self), programInfo.dli_fbase);
}

}  // namespace
