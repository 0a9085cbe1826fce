#include "core/binary_carrier.h"
#include "core/profile_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <csignal>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <vector>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// GBK bytes of the names the program really uses.
const std::string kSoftwareSettings = "\xC8\xED\xBC\xFE\xC9\xE8\xD6\xC3";  // 软件设置
const std::string kHeight = "\xB8\xDF\xB6\xC8";                          // 高度

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/penvox-profile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        file_ = dir_ + "/setting.ini";
    }
    void TearDown() override
    {
        std::error_code ec;
        // A read-only file may remain; its folder stays writable, so removal works.
        fs::remove_all(dir_, ec);
    }

    void put(const std::string& content) const { put(file_, content); }
    static void put(const std::string& path, const std::string& content)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        ASSERT_TRUE(out.good());
    }
    std::string contents() const { return contents(file_); }
    static std::string contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        return names;
    }
    static unsigned modeOf(const std::string& path)
    {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return st.st_mode & 07777;
    }

    std::string dir_;
    std::string file_;
};

// ---------------------------------------------------------------- reading

struct ReadCase {
    const char* what;
    std::string content;
    std::string section;
    std::string key;
    std::string expected;
};

const ReadCase kReadCases[] = {
    // names
    {"section name ignores ASCII case", "[SECTION]\r\nKey=v\r\n", "section", "KEY", "v"},
    {"blanks around names are not part of them", "[ sec\t]\r\n 0 = v\r\n", "sec", " 0", "v"},
    {"blanks around the asked names too", "[sec]\r\n0=v\r\n", " sec ", "\t0 ", "v"},
    {"text after the closing bracket is ignored", "[sec] ; note\r\nk=v\r\n", "sec", "k", "v"},
    {"a key is split at its first '='", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
    {"a line without '=' is not a key", "[s]\r\nk\r\nk=1\r\n", "s", "k", "1"},
    {"keys before the first section belong to none", "k=0\r\n[s]\r\nj=1\r\n", "s", "k", ""},
    {"a key of the next section is not seen", "[a]\r\nk=1\r\n[b]\r\nj=2\r\n", "a", "j", ""},
    {"a bracket line without ']' is no section", "[s]\r\n[x=1\r\n", "s", "[x", "1"},
    // values
    {"outer blanks of a value are dropped", "[s]\r\nk= \t two  words \t\r\n", "s", "k", "two  words"},
    {"double quotes are dropped", "[s]\r\nk=\"abc\"\r\n", "s", "k", "abc"},
    {"single quotes are dropped", "[s]\r\nk='abc'\r\n", "s", "k", "abc"},
    {"quotes inside blanks are dropped", "[s]\r\nk=  \" a b \"  \r\n", "s", "k", " a b "},
    {"only one pair of quotes is dropped", "[s]\r\nk=\"\"abc\"\"\r\n", "s", "k", "\"abc\""},
    {"an open quote stays", "[s]\r\nk=\"abc\r\n", "s", "k", "\"abc"},
    {"mismatched quotes stay", "[s]\r\nk=\"abc'\r\n", "s", "k", "\"abc'"},
    {"a lone quote stays", "[s]\r\nk=\"\r\n", "s", "k", "\""},
    {"empty quotes give empty text", "[s]\r\nk=\"\"\r\n", "s", "k", ""},
    {"an empty value", "[s]\r\nk=\r\n", "s", "k", ""},
    // duplicates
    {"first of duplicate keys wins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
    {"first of duplicate sections wins", "[s]\r\nk=1\r\n[t]\r\n[S]\r\nk=2\r\n", "s", "k", "1"},
    {"keys of a later duplicate section are not seen", "[s]\r\nk=1\r\n[s]\r\nj=2\r\n", "s", "j", ""},
    // absent
    {"absent section", "[s]\r\nk=1\r\n", "t", "k", ""},
    {"absent key", "[s]\r\nk=1\r\n", "s", "j", ""},
    {"empty key name", "[s]\r\n=1\r\n", "s", "", ""},
    {"empty file", "", "s", "k", ""},
    // line ends
    {"LF-only lines", "[s]\nk=v\n", "s", "k", "v"},
    {"a last line without its end", "[s]\r\nk=v", "s", "k", "v"},
    {"a last line ending in CR alone", "[s]\r\nk=v\r", "s", "k", "v"},
    {"a lone CR inside a line is kept", "[s]\r\nk=a\rb\r\n", "s", "k", "a\rb"},
    // GBK bytes
    {"GBK names and value", "[" + kSoftwareSettings + "]\r\n" + kHeight + "=\xD6\xD0\r\n", kSoftwareSettings, kHeight,
     "\xD6\xD0"},
    {"GBK section name with blanks inside the brackets", "[ " + kSoftwareSettings + " ]\r\n" + kHeight + "=9\r\n",
     kSoftwareSettings, kHeight, "9"},
    // 0x81 0x41 and 0x81 0x61 are two different characters, not one in two cases.
    {"a GBK trail byte is not case-folded", "[s]\r\n\x81\x41=1\r\n", "s", "\x81\x61", ""},
    {"a GBK trail byte matches exactly", "[s]\r\n\x81\x41=1\r\n", "s", "\x81\x41", "1"},
    // 0x81 0x5D is one character whose second byte is ']'.
    {"a GBK trail byte ']' does not close the section name", "[\x81\x5D\x81\x41]\r\nk=v\r\n", "\x81\x5D\x81\x41",
     "k", "v"},
    {"bytes are read exactly", "[s]\r\nk=\x80\xFF\x01\x7F"s + "\0z"s + "\r\n", "s", "k", "\x80\xFF\x01\x7F"s + "\0z"s},
};

TEST_F(ProfileFileTest, ReadsKeysByTheFileRules)
{
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.what);
        put(c.content);
        EXPECT_EQ(penvox::profile::read(file_, c.section, c.key), c.expected);
    }
}

TEST_F(ProfileFileTest, AbsentOrUnreadableFileReadsEmpty)
{
    EXPECT_EQ(penvox::profile::read(file_, "s", "k"), "");
    EXPECT_EQ(penvox::profile::read(dir_ + "/no/such/folder/setting.ini", "s", "k"), "");
    EXPECT_EQ(penvox::profile::read(dir_, "s", "k"), "");  // a folder, not a file
}

TEST_F(ProfileFileTest, LongValuesAreCutToTheBufferSize)
{
    std::string value;
    for (std::size_t i = 0; i < 20000; ++i)
        value.push_back(static_cast<char>('a' + i % 26));
    const std::size_t max = penvox::profile::kMaxValueBytes;
    ASSERT_EQ(max, 10239u);

    for (const std::size_t length : {max - 1, max, max + 1, std::size_t{20000}}) {
        SCOPED_TRACE(length);
        put("[s]\r\nk=" + value.substr(0, length) + "\r\n");
        EXPECT_EQ(penvox::profile::read(file_, "s", "k"), value.substr(0, std::min(length, max)));
    }
    // A quoted long value loses its quotes before it is cut.
    put("[s]\r\nk=\"" + value + "\"\r\n");
    EXPECT_EQ(penvox::profile::read(file_, "s", "k"), value.substr(0, max));

    // Writing does not cut: the whole value is stored, a read returns its head.
    ASSERT_TRUE(penvox::profile::write(file_, "s", "k", value));
    EXPECT_EQ(contents(), "[s]\r\nk=" + value + "\r\n");
    EXPECT_EQ(penvox::profile::read(file_, "s", "k"), value.substr(0, max));
}

// ---------------------------------------------------------------- writing

struct WriteCase {
    const char* what;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

const WriteCase kWriteCases[] = {
    {"an existing key is replaced in place, every other line kept",
     "; top note\r\n[s]\r\na=1\r\n  K = old \r\nc=3\r\n\r\n[t]\r\nk=9\r\n", "s", "k", "new",
     "; top note\r\n[s]\r\na=1\r\nk=new\r\nc=3\r\n\r\n[t]\r\nk=9\r\n"},
    {"odd lines stay byte for byte", "\tlead=x\r\n[s]\r\n junk \x80\xFF\r\nodd\rline\r\nk=1\r\nnul\0here\r\n"s, "s",
     "k", "2", "\tlead=x\r\n[s]\r\n junk \x80\xFF\r\nodd\rline\r\nk=2\r\nnul\0here\r\n"s},
    {"names match without case or blanks; the line takes the caller's key", "[ SEC ]\r\nKEY = 1\r\n", " sec", " key ",
     "2", "[ SEC ]\r\nkey=2\r\n"},
    {"a new key goes after the last key of its section, before the next",
     "[s]\r\na=1\r\nb=2\r\n\r\n[t]\r\nx=1\r\n", "s", "c", "3",
     "[s]\r\na=1\r\nb=2\r\nc=3\r\n\r\n[t]\r\nx=1\r\n"},
    {"a new key goes before a note that follows the last key", "[s]\r\na=1\r\n; note\r\n", "s", "b", "2",
     "[s]\r\na=1\r\nb=2\r\n; note\r\n"},
    {"a new key in a section without keys follows its header", "[s]\r\n\r\n[t]\r\nx=1\r\n", "s", "k", "v",
     "[s]\r\nk=v\r\n\r\n[t]\r\nx=1\r\n"},
    {"a new key in the last section, file without a final line end", "[s]\r\na=1", "s", "b", "2",
     "[s]\r\na=1\r\nb=2\r\n"},
    {"a new section is set apart by a blank line", "[s]\r\na=1\r\n", "t", "k", "v",
     "[s]\r\na=1\r\n\r\n[t]\r\nk=v\r\n"},
    {"no second blank line when the file ends in one", "[s]\r\na=1\r\n\r\n", "t", "k", "v",
     "[s]\r\na=1\r\n\r\n[t]\r\nk=v\r\n"},
    {"an empty file gets just the section", "", "t", "k", "v", "[t]\r\nk=v\r\n"},
    {"an LF-only file comes back with CR LF", "[s]\na=1\n\n[t]\nb=2\n", "t", "b", "3",
     "[s]\r\na=1\r\n\r\n[t]\r\nb=3\r\n"},
    {"the first of duplicate keys is replaced", "[s]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n", "s", "k", "x",
     "[s]\r\nk=x\r\nk=2\r\n[s]\r\nk=3\r\n"},
    {"a new key joins the first of duplicate sections", "[s]\r\nk=1\r\n[s]\r\nk=3\r\n", "s", "j", "y",
     "[s]\r\nk=1\r\nj=y\r\n[s]\r\nk=3\r\n"},
    {"a value is cut at CR", "[s]\r\nk=1\r\n", "s", "k", "one\r\n[evil]\r\nx=1", "[s]\r\nk=one\r\n"},
    {"a value is cut at LF", "[s]\r\nk=1\r\n", "s", "k", "one\nx=1", "[s]\r\nk=one\r\n"},
    {"a value is cut at a zero byte", "[s]\r\nk=1\r\n", "s", "k", "a\0b"s, "[s]\r\nk=a\r\n"},
    {"a value is written as given", "[s]\r\n", "s", "k", " \"q\" = x ", "[s]\r\nk= \"q\" = x \r\n"},
    {"GBK names and value", "[" + kSoftwareSettings + "]\r\n" + kHeight + "=1\r\n", kSoftwareSettings, kHeight,
     "\xD6\xD0", "[" + kSoftwareSettings + "]\r\n" + kHeight + "=\xD6\xD0\r\n"},
    {"a GBK key differing only in a trail byte's case is another key", "[s]\r\n\x81\x41=1\r\n", "s", "\x81\x61", "2",
     "[s]\r\n\x81\x41=1\r\n\x81\x61=2\r\n"},
};

TEST_F(ProfileFileTest, WritesKeysByTheFileRules)
{
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.what);
        put(c.before);
        ASSERT_TRUE(penvox::profile::write(file_, c.section, c.key, c.value));
        EXPECT_EQ(contents(), c.after);
        EXPECT_EQ(entries(), std::vector<std::string>{"setting.ini"});  // no temporary file left
    }
}

TEST_F(ProfileFileTest, WrittenValuesReadBack)
{
    ASSERT_TRUE(penvox::profile::write(file_, kSoftwareSettings, kHeight, "480"));
    ASSERT_TRUE(penvox::profile::write(file_, kSoftwareSettings, "0", "first"));
    ASSERT_TRUE(penvox::profile::write(file_, "Other", "0", "second"));
    ASSERT_TRUE(penvox::profile::write(file_, kSoftwareSettings, kHeight, "520"));

    EXPECT_EQ(penvox::profile::read(file_, kSoftwareSettings, kHeight), "520");
    EXPECT_EQ(penvox::profile::read(file_, kSoftwareSettings, " 0"), "first");
    EXPECT_EQ(penvox::profile::read(file_, "other", "0"), "second");
    EXPECT_EQ(contents(), "[" + kSoftwareSettings + "]\r\n" + kHeight + "=520\r\n0=first\r\n\r\n[Other]\r\n0=second\r\n");
}

TEST_F(ProfileFileTest, CreatesAMissingFileUnderTheUmask)
{
    const mode_t old = ::umask(022);
    const bool written = penvox::profile::write(file_, "s", "k", "v");
    ::umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(contents(), "[s]\r\nk=v\r\n");
    EXPECT_EQ(modeOf(file_), 0644u);
    EXPECT_EQ(entries(), std::vector<std::string>{"setting.ini"});
}

TEST_F(ProfileFileTest, KeepsThePermissionBitsOfAnExistingFile)
{
    put("[s]\r\nk=1\r\n");
    ASSERT_EQ(::chmod(file_.c_str(), 0640), 0);
    ASSERT_TRUE(penvox::profile::write(file_, "s", "k", "2"));
    EXPECT_EQ(contents(), "[s]\r\nk=2\r\n");
    EXPECT_EQ(modeOf(file_), 0640u);
}

TEST_F(ProfileFileTest, RewritingTheSameValueLeavesTheFileAlone)
{
    struct stat before {}, after {};
    put("[s]\r\nk=1\r\n");
    ASSERT_EQ(::stat(file_.c_str(), &before), 0);
    ASSERT_TRUE(penvox::profile::write(file_, "s", "k", "1"));
    ASSERT_EQ(::stat(file_.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // not replaced

    // An LF-only file is still rewritten with CR LF, even for the same value.
    put("[s]\nk=1\n");
    ASSERT_TRUE(penvox::profile::write(file_, "s", "k", "1"));
    EXPECT_EQ(contents(), "[s]\r\nk=1\r\n");
}

TEST_F(ProfileFileTest, AReadOnlyFileRefusesWritesAndKeepsItsContent)
{
    const std::string before = "[s]\nk=1\n";  // LF only: not even the line ends may change
    for (const unsigned mode : {0444u, 0400u, 0000u, 0555u}) {
        SCOPED_TRACE(mode);
        put(before);
        ASSERT_EQ(::chmod(file_.c_str(), mode), 0);
        EXPECT_FALSE(penvox::profile::write(file_, "s", "k", "2"));
        EXPECT_FALSE(penvox::profile::write(file_, "t", "new", "x"));
        ASSERT_EQ(::chmod(file_.c_str(), 0644), 0);
        EXPECT_EQ(contents(), before);
        EXPECT_EQ(entries(), std::vector<std::string>{"setting.ini"});
    }
    // One write bit for anybody is enough for the owner to write it.
    put(before);
    ASSERT_EQ(::chmod(file_.c_str(), 0644), 0);
    EXPECT_TRUE(penvox::profile::write(file_, "s", "k", "2"));
    EXPECT_EQ(penvox::profile::read(file_, "s", "k"), "2");
}

TEST_F(ProfileFileTest, WritesThatCannotLandFailWithoutLeavingAnything)
{
    const std::string missingFolder = dir_ + "/missing";
    EXPECT_FALSE(penvox::profile::write(missingFolder + "/setting.ini", "s", "k", "v"));
    EXPECT_FALSE(fs::exists(missingFolder));

    const std::string folderAsTarget = dir_ + "/folder";
    ASSERT_TRUE(fs::create_directory(folderAsTarget));
    EXPECT_FALSE(penvox::profile::write(folderAsTarget, "s", "k", "v"));
    EXPECT_TRUE(fs::is_directory(folderAsTarget));

    EXPECT_EQ(entries(), std::vector<std::string>{"folder"});
}

TEST_F(ProfileFileTest, NamesThatWouldReadBackAsSomethingElseAreRefused)
{
    const std::string before = "[s]\r\nk=1\r\n";
    struct Names {
        std::string section, key;
    };
    const Names refused[] = {
        {"s", ""},          {"s", "  "},        {"s", "a=b"},    {"s", "[x]"},  {"s", "k\r\n[t]"},
        {"s", "k\0j"s},     {"a]b", "k"},       {"a\nb", "k"},   {"a\0b"s, "k"},
    };
    for (const Names& n : refused) {
        SCOPED_TRACE(n.section + " / " + n.key);
        put(before);
        EXPECT_FALSE(penvox::profile::write(file_, n.section, n.key, "v"));
        EXPECT_EQ(contents(), before);
    }
    // A GBK character whose second byte is ']' is a fine section name.
    ASSERT_TRUE(penvox::profile::write(file_, "\x81\x5D", "k", "v"));
    EXPECT_EQ(penvox::profile::read(file_, "\x81\x5D", "k"), "v");
    // So is a key that only starts with a bracket.
    ASSERT_TRUE(penvox::profile::write(file_, "s", "[x", "w"));
    EXPECT_EQ(penvox::profile::read(file_, "s", "[x"), "w");
}

TEST_F(ProfileFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const std::string before = "[s]\r\nk=1\r\n";
    put(before);
    // A file size limit makes writing the new content fail half-way.
    rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = penvox::profile::write(file_, "s", "k", std::string(8192, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(entries(), std::vector<std::string>{"setting.ini"});
}

TEST_F(ProfileFileTest, ASymbolicLinkIsFollowed)
{
    const std::string real = dir_ + "/real.ini";
    put(real, "[s]\r\nk=1\r\n");
    ASSERT_EQ(::symlink(real.c_str(), file_.c_str()), 0);
    ASSERT_TRUE(penvox::profile::write(file_, "s", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(contents(real), "[s]\r\nk=2\r\n");
}

TEST_F(ProfileFileTest, ConcurrentWritersLoseNoKey)
{
    constexpr int kPerWriter = 25;
    auto writer = [this](const std::string& prefix) {
        for (int i = 0; i < kPerWriter; ++i)
            EXPECT_TRUE(penvox::profile::write(file_, "s", prefix + std::to_string(i), std::to_string(i)));
    };
    std::thread first(writer, "a");
    std::thread second(writer, "b");
    first.join();
    second.join();
    for (int i = 0; i < kPerWriter; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_EQ(penvox::profile::read(file_, "s", std::string("a").append(n)), n);
        EXPECT_EQ(penvox::profile::read(file_, "s", std::string("b").append(n)), n);
    }
}

// ---------------------------------------------- binary values through the store

TEST_F(ProfileFileTest, EveryByteValueSurvivesTheStoreInTheCarrier)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    ASSERT_TRUE(penvox::profile::write(file_, "s", "all", penvox::carrier::encode(all)));
    EXPECT_EQ(penvox::carrier::decode(penvox::profile::read(file_, "s", "all")), all);

    // Each byte alone as well, so a value that is only a quote, a blank, '=',
    // CR or LF is tried at the edges where the file rules act.
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        ASSERT_TRUE(penvox::profile::write(file_, "s", "one", penvox::carrier::encode(one)));
        ASSERT_EQ(penvox::carrier::decode(penvox::profile::read(file_, "s", "one")), one) << "byte " << b;
    }
}

TEST_F(ProfileFileTest, RandomBinaryValuesSurviveTheStoreInTheCarrier)
{
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> length(0, 64);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> edgy(0, 7);
    const char edges[] = {' ', '\t', '"', '\'', '=', '\r', '\n', '\0'};
    for (int round = 0; round < 60; ++round) {
        std::string value;
        for (int n = length(random); n > 0; --n) {
            // Bias towards the bytes the file rules trim, unquote or split at.
            value.push_back(byte(random) < 96 ? edges[edgy(random)] : static_cast<char>(byte(random)));
        }
        ASSERT_TRUE(penvox::profile::write(file_, "Points", "total", penvox::carrier::encode(value)));
        ASSERT_EQ(penvox::carrier::decode(penvox::profile::read(file_, "Points", "total")), value) << "round " << round;
    }
}

TEST_F(ProfileFileTest, ARawValueOfAnOlderInstallationReadsAsIs)
{
    put("[Points]\r\ntotal=\x93\x21zq \xFF\r\nodd=hex:abc\r\nbad=hex:zz\r\n");
    EXPECT_EQ(penvox::carrier::decode(penvox::profile::read(file_, "Points", "total")), "\x93\x21zq \xFF");
    EXPECT_EQ(penvox::carrier::decode(penvox::profile::read(file_, "Points", "odd")), "hex:abc");
    EXPECT_EQ(penvox::carrier::decode(penvox::profile::read(file_, "Points", "bad")), "hex:zz");
}

}  // namespace
