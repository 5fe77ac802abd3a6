#include "programmer/memory_backend.h"
#include "projects/recent_files.h"
#include "projects/shorten_path.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

int Chars(const std::string& text) {
    return static_cast<int>(text.size()); // one unit per character
}

TEST(ShortenPath, KeepsTheFileNameAndAsMuchOfTheStartAsFits) {
    struct Case {
        std::string path;
        int width;
        std::string expected;
    };
    const Case cases[] = {
        {"/home/ann/image.hex", 19, "/home/ann/image.hex"}, // fits: unchanged
        {"/home/ann/images/image.hex", 20, "/home/a.../image.hex"},
        {"/home/ann/images/image.hex", 13, ".../image.hex"},
        {"/home/ann/images/a-long-image-name.hex", 12, "...-name.hex"}, // the name's end
        {"image-without-folder.hex", 10, "...der.hex"},
    };
    for (const Case& c : cases) {
        const std::string shortened = ShortenPath(c.path, c.width, Chars);
        EXPECT_EQ(shortened, c.expected) << c.path << " in " << c.width;
        EXPECT_LE(Chars(shortened), std::max(c.width, 3));
    }
}

TEST(RecentFiles, MostRecentFirstAtMostFourAndKeptInTheSettings) {
    TRecentFiles recent;
    for (const char* path : {"/a", "/b", "/c", "/d", "/e", "/c"}) {
        recent.Add(path);
    }
    EXPECT_EQ(recent.Items(), (std::vector<std::string>{"/c", "/e", "/d", "/b"}));

    testing::TMemoryBackend backend;
    TISPSettings store(backend, backend);
    recent.Save(store);
    recent.Remove("/e");
    recent.Save(store);
    TRecentFiles loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.Items(), (std::vector<std::string>{"/c", "/d", "/b"}));
    EXPECT_EQ(store.ReadSetting("Main.MRUList", "File4", "x").ToText(), "");
}

} // namespace
} // namespace isp
