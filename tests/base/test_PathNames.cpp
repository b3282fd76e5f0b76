#include "base/PathNames.h"

#include <gtest/gtest.h>

namespace vaultwing {
namespace {

// The whole path counts: a "." in a folder name starts an "extension" too.
TEST(PathNames, ExtensionStripAndFileName) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/d/report.doc.vwx", "vwx", "/d/report.doc"},
        {"/d/X.VWX", "vwx", "/d/X"},
        {"/d/x.vwx.bak", "bak", "/d/x.vwx"},
        {"/d.dir/file", "dir/file", "/d"},
    };
    for (const auto& [path, extension, stripped] : cases) {
        EXPECT_EQ(GetExtension(path), extension) << path;
        EXPECT_EQ(StripExtension(path), stripped) << path;
    }
#ifndef _WIN32 // Windows lists the expected paths with '\'
    EXPECT_EQ(GetFileName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(GetFileName("/a/b/"), "");
#endif
}

} // namespace
} // namespace vaultwing
