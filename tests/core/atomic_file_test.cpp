#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/penvox-files-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        ::chmod(dir_.c_str(), 0755);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    static void put(const std::string& path, const std::string& content)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        ASSERT_TRUE(out.good());
    }
    static std::string contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static unsigned modeOf(const std::string& path)
    {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0);
        return st.st_mode & 07777;
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
};

std::string everyByte()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

TEST_F(AtomicFileTest, WritesANewFileAndReplacesAnOldOne)
{
    const std::string file = path("doc.pxt");
    const mode_t oldMask = ::umask(022);
    std::string error = "untouched";
    const bool created = penvox::files::writeAtomically(file, everyByte(), &error);
    ::umask(oldMask);
    ASSERT_TRUE(created) << error;
    EXPECT_EQ(error, "untouched");  // only failures set a reason
    EXPECT_EQ(contents(file), everyByte());
    EXPECT_EQ(modeOf(file), 0644u);

    ASSERT_TRUE(penvox::files::writeAtomically(file, "shorter", nullptr));
    EXPECT_EQ(contents(file), "shorter");
    ASSERT_TRUE(penvox::files::writeAtomically(file, "", nullptr));
    EXPECT_EQ(contents(file), "");
    EXPECT_EQ(entries(), std::vector<std::string>{"doc.pxt"});  // no temporary file left
}

TEST_F(AtomicFileTest, AnExistingFileKeepsItsPermissionBits)
{
    const std::string file = path("doc.txt");
    for (const unsigned mode : {0600u, 0640u, 0664u, 0755u}) {
        SCOPED_TRACE(mode);
        put(file, "old");
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        ASSERT_TRUE(penvox::files::writeAtomically(file, "new", nullptr));
        EXPECT_EQ(contents(file), "new");
        EXPECT_EQ(modeOf(file), mode);
    }
}

TEST_F(AtomicFileTest, ASymbolicLinkIsFollowed)
{
    // An absolute link to an existing file.
    const std::string real = path("real.txt");
    put(real, "old");
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    ASSERT_EQ(::symlink(real.c_str(), path("link.txt").c_str()), 0);
    ASSERT_TRUE(penvox::files::writeAtomically(path("link.txt"), "new", nullptr));
    EXPECT_TRUE(fs::is_symlink(path("link.txt")));
    EXPECT_EQ(contents(real), "new");
    EXPECT_EQ(modeOf(real), 0600u);

    // A relative link through another link, to a file that does not exist yet:
    // the file is created where the chain leads and both links stay.
    ASSERT_TRUE(fs::create_directory(path("sub")));
    ASSERT_EQ(::symlink("sub/fresh.txt", path("hop.txt").c_str()), 0);
    ASSERT_EQ(::symlink("hop.txt", path("first.txt").c_str()), 0);
    ASSERT_TRUE(penvox::files::writeAtomically(path("first.txt"), "made", nullptr));
    EXPECT_TRUE(fs::is_symlink(path("first.txt")));
    EXPECT_TRUE(fs::is_symlink(path("hop.txt")));
    EXPECT_EQ(contents(path("sub/fresh.txt")), "made");

    // A loop of links cannot be written.
    ASSERT_EQ(::symlink("loop-b", path("loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", path("loop-b").c_str()), 0);
    std::string error;
    EXPECT_FALSE(penvox::files::writeAtomically(path("loop-a"), "x", &error));
    EXPECT_EQ(error, "Too many levels of symbolic links");
    EXPECT_TRUE(fs::is_symlink(path("loop-a")));
}

TEST_F(AtomicFileTest, WritesThatCannotLandFailWithTheReasonAndLeaveNothing)
{
    put(path("plain"), "content");
    ASSERT_TRUE(fs::create_directory(path("folder")));
    struct Case {
        const char* what;
        std::string target;
        const char* reason;
    };
    const Case cases[] = {
        {"a missing folder", path("missing/doc.txt"), "No such file or directory"},
        {"a folder as the target", path("folder"), "Is a directory"},
        {"a file as the folder", path("plain/doc.txt"), "Not a directory"},
        {"an empty path", "", "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(penvox::files::writeAtomically(c.target, "x", &error));
        EXPECT_EQ(error, c.reason);
        EXPECT_FALSE(penvox::files::writeAtomically(c.target, "x", nullptr));
    }
    EXPECT_EQ(contents(path("plain")), "content");
    EXPECT_TRUE(fs::is_empty(path("folder")));
    EXPECT_EQ(entries(), (std::vector<std::string>{"folder", "plain"}));
}

TEST_F(AtomicFileTest, AReadOnlyFolderRefusesTheWrite)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop a privileged user";
    const std::string file = path("doc.txt");
    put(file, "old");
    ASSERT_EQ(::chmod(dir_.c_str(), 0555), 0);
    std::string error;
    EXPECT_FALSE(penvox::files::writeAtomically(file, "new", &error));
    ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
    EXPECT_EQ(error, "Permission denied");
    EXPECT_EQ(contents(file), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"doc.txt"});
}

TEST_F(AtomicFileTest, AFileWithoutWritePermissionIsLeftAlone)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop a privileged user";
    const std::string file = path("doc.txt");
    put(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(penvox::files::writeAtomically(file, "new", &error));
    EXPECT_EQ(error, "Permission denied");
    EXPECT_EQ(contents(file), "old");
    EXPECT_EQ(modeOf(file), 0444u);
    EXPECT_EQ(entries(), std::vector<std::string>{"doc.txt"});
}

TEST_F(AtomicFileTest, AWriteThatRunsOutOfRoomKeepsTheOldFile)
{
    const std::string file = path("doc.txt");
    put(file, "the old text");
    // A file size limit makes the write fail half-way, as a full disk would.
    rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool written = penvox::files::writeAtomically(file, std::string(10000, 'x'), &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(contents(file), "the old text");
    EXPECT_EQ(entries(), std::vector<std::string>{"doc.txt"});
}

TEST_F(AtomicFileTest, ReadAllGivesTheWholeFileOrTheReason)
{
    put(path("bytes"), everyByte() + std::string(200000, 'z'));  // more than one read
    put(path("empty"), "");
    ASSERT_TRUE(fs::create_directory(path("folder")));

    std::string error;
    const auto bytes = penvox::files::readAll(path("bytes"), &error);
    ASSERT_TRUE(bytes.has_value()) << error;
    EXPECT_EQ(*bytes, everyByte() + std::string(200000, 'z'));
    const auto empty = penvox::files::readAll(path("empty"), &error);
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(*empty, "");

    struct Case {
        const char* what;
        std::string path;
        const char* reason;
    };
    const Case cases[] = {
        {"a missing file", path("missing"), "No such file or directory"},
        {"a folder", path("folder"), "Is a directory"},
        {"a path through a file", path("bytes/x"), "Not a directory"},
        {"an empty path", "", "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        error.clear();
        EXPECT_EQ(penvox::files::readAll(c.path, &error), std::nullopt);
        EXPECT_EQ(error, c.reason);
        EXPECT_EQ(penvox::files::readAll(c.path, nullptr), std::nullopt);
    }
}

TEST_F(AtomicFileTest, AnUnreadableFileGivesItsReason)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop a privileged user";
    put(path("secret"), "x");
    ASSERT_EQ(::chmod(path("secret").c_str(), 0000), 0);
    std::string error;
    EXPECT_EQ(penvox::files::readAll(path("secret"), &error), std::nullopt);
    EXPECT_EQ(error, "Permission denied");
}

}  // namespace
