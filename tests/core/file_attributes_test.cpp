#include "core/file_attributes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

class FileAttributesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/penvox-attributes-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        file_ = dir_ + "/setting.ini";
        std::ofstream(file_) << "[s]\r\n";
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    unsigned mode() const
    {
        struct stat st {};
        EXPECT_EQ(::stat(file_.c_str(), &st), 0);
        return st.st_mode & 07777;
    }

    std::string dir_;
    std::string file_;
};

TEST_F(FileAttributesTest, ReadOnlyClearsEveryWriteBitAndWritableGivesTheOwnersBack)
{
    struct Case {
        unsigned start, readOnly, writable;
    };
    const Case cases[] = {
        {0666, 0444, 0644},
        {0644, 0444, 0644},
        {0755, 0555, 0755},
        {0620, 0400, 0600},
        {0444, 0444, 0644},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        ASSERT_EQ(::chmod(file_.c_str(), c.start), 0);
        EXPECT_EQ(penvox::attributes::isReadOnly(file_), (c.start & 0222) == 0);

        ASSERT_TRUE(penvox::attributes::makeReadOnly(file_));
        EXPECT_EQ(mode(), c.readOnly);
        EXPECT_TRUE(penvox::attributes::isReadOnly(file_));

        ASSERT_TRUE(penvox::attributes::makeWritable(file_));
        EXPECT_EQ(mode(), c.writable);
        EXPECT_FALSE(penvox::attributes::isReadOnly(file_));
    }
}

TEST_F(FileAttributesTest, AnyWriteBitMeansNotReadOnly)
{
    for (const unsigned m : {0200u, 0020u, 0002u}) {
        SCOPED_TRACE(m);
        ASSERT_EQ(::chmod(file_.c_str(), 0444 | m), 0);
        EXPECT_FALSE(penvox::attributes::isReadOnly(file_));
    }
}

TEST_F(FileAttributesTest, AMissingFileIsReportedAndNothingIsCreated)
{
    const std::string missing = dir_ + "/missing.ini";
    EXPECT_FALSE(penvox::attributes::makeReadOnly(missing));
    EXPECT_FALSE(penvox::attributes::makeWritable(missing));
    EXPECT_FALSE(penvox::attributes::isReadOnly(missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
