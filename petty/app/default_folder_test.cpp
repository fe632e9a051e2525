#include "petty/app/default_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace petty {
namespace {

TEST(DefaultFolder, DataHomeThenHome) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::optional<std::filesystem::path> folder;
    };
    const Case cases[] = {
        {{{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}}, "/data/ostrelle"},
        {{{"HOME", "/home/u"}}, "/home/u/.local/share/ostrelle"},
        {{{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.local/share/ostrelle"},
        {{{"XDG_DATA_HOME", "relative"}, {"HOME", "/home/u"}}, "/home/u/.local/share/ostrelle"},
        {{}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto lookup = [&c](const char* name) -> std::optional<std::string> {
            auto it = c.environment.find(name);
            if (it == c.environment.end()) return std::nullopt;
            return it->second;
        };
        EXPECT_EQ(defaultBookFolder(lookup), c.folder);
    }
}

}  // namespace
}  // namespace petty
