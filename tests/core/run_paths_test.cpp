#include "core/run_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RunPaths, RunDirectoryPrefersAWritableExecutableFolder)
{
    struct Case {
        const char* what;
        std::string exeDir;
        bool writable;
        std::string xdgDataHome;
        std::string home;
        std::string expected;
    };
    const Case cases[] = {
        {"writable executable folder", "/opt/penvox", true, "/data", "/home/li", "/opt/penvox"},
        {"XDG_DATA_HOME", "/usr/bin", false, "/data", "/home/li", "/data/penvox"},
        {"XDG_DATA_HOME with a trailing slash", "/usr/bin", false, "/data/", "/home/li", "/data/penvox"},
        {"XDG_DATA_HOME empty", "/usr/bin", false, "", "/home/li", "/home/li/.local/share/penvox"},
        {"XDG_DATA_HOME relative is ignored", "/usr/bin", false, "data", "/home/li", "/home/li/.local/share/penvox"},
        {"home with a trailing slash", "/usr/bin", false, "", "/home/li/", "/home/li/.local/share/penvox"},
        {"home is the root", "/usr/bin", false, "", "/", "/.local/share/penvox"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(penvox::paths::runDirectory(c.exeDir, c.writable, c.xdgDataHome, c.home), c.expected);
    }
}

TEST(RunPaths, RegistryFileLivesUnderTheConfigFolder)
{
    EXPECT_EQ(penvox::paths::registryFile("/cfg", "/home/li"), "/cfg/penvox/registry.ini");
    EXPECT_EQ(penvox::paths::registryFile("/cfg/", "/home/li"), "/cfg/penvox/registry.ini");
    EXPECT_EQ(penvox::paths::registryFile("", "/home/li"), "/home/li/.config/penvox/registry.ini");
    EXPECT_EQ(penvox::paths::registryFile("cfg", "/home/li/"), "/home/li/.config/penvox/registry.ini");
}

TEST(RunPaths, SettingsFileNeverDoublesASlash)
{
    EXPECT_EQ(penvox::paths::settingsFile("/opt/penvox"), "/opt/penvox/setting.ini");
    EXPECT_EQ(penvox::paths::settingsFile("/opt/penvox/"), "/opt/penvox/setting.ini");
    EXPECT_EQ(penvox::paths::settingsFile("/"), "/setting.ini");
}

}  // namespace
