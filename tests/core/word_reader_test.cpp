// The Word readers: real documents written by LibreOffice (tests/fixtures/word,
// made by make_fixtures.sh there), and small documents built here byte by byte
// to reach the rules and the damage the fixtures cannot show.
#include "core/compound_file.h"
#include "core/gbk_codec.h"
#include "core/word_doc.h"
#include "core/word_docx.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace std::string_literals;
using namespace std::string_view_literals;
using penvox::word::ReadResult;

namespace {

std::string fixturePath(const std::string& name)
{
    std::string path = PENVOX_FIXTURES;
    path.append("/word/").append(name);
    return path;
}

// Joins pieces by appending ("literal" + string draws a false -Wrestrict from
// GCC 12 at -O2).
std::string cat(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (std::string_view p : parts)
        out.append(p);
    return out;
}

std::string fixture(const std::string& name)
{
    std::ifstream in(fixturePath(name), std::ios::binary);
    EXPECT_TRUE(in) << "missing fixture " << name;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Expected text, written as UTF-8 in the tests, in the program's bytes.
std::string programText(std::string_view utf8) { return penvox::gbk::fromUtf8(utf8); }

// ---------------------------------------------------------------------------
// Little-endian writing helpers.

void putU16(std::string& s, std::size_t at, std::uint16_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}

void putU32(std::string& s, std::size_t at, std::uint32_t v)
{
    putU16(s, at, static_cast<std::uint16_t>(v & 0xFFFF));
    putU16(s, at + 2, static_cast<std::uint16_t>(v >> 16));
}

void appendU16(std::string& s, std::uint16_t v)
{
    s.append(2, '\0');
    putU16(s, s.size() - 2, v);
}

void appendU32(std::string& s, std::uint32_t v)
{
    s.append(4, '\0');
    putU32(s, s.size() - 4, v);
}

std::uint32_t getU32(std::string_view s, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

std::string utf16le(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        appendU16(out, c);
    return out;
}

// ---------------------------------------------------------------------------
// A compound file writer, just enough to lay out the files the tests need:
// FAT sectors first, then allocation-table extension sectors, optional free
// padding, the directory, the mini table, the mini stream, the big streams.

constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;

struct CfbStream {
    std::u16string name;
    std::string data;
};

struct CfbOptions {
    unsigned shift = 9;
    std::uint32_t padSectors = 0;  // free sectors before the directory
};

struct CfbFile {
    std::string bytes;
    std::uint32_t sectorSize = 512;
    std::vector<std::uint32_t> fatLocations;
    std::map<std::u16string, std::uint32_t> bigStart;  // first sector of each big stream
    std::uint32_t directoryStart = 0;

    std::size_t sectorOffset(std::uint32_t sector) const { return (std::size_t{sector} + 1) * sectorSize; }
    std::size_t fatEntryOffset(std::uint32_t sector) const
    {
        const std::uint32_t perSector = sectorSize / 4;
        return sectorOffset(fatLocations.at(sector / perSector)) + 4 * (sector % perSector);
    }
};

CfbFile buildCfb(const std::vector<CfbStream>& streams, CfbOptions options = {})
{
    CfbFile f;
    f.sectorSize = 1u << options.shift;
    const std::uint32_t ss = f.sectorSize;
    const auto sectorsFor = [ss](std::size_t bytes) { return static_cast<std::uint32_t>((bytes + ss - 1) / ss); };

    std::string miniStream;
    std::vector<std::uint32_t> miniFat;
    std::vector<std::uint32_t> starts(streams.size(), kEnd);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::string& d = streams[i].data;
        if (d.size() >= 4096 || d.empty())
            continue;
        const auto first = static_cast<std::uint32_t>(miniStream.size() / 64);
        const auto count = static_cast<std::uint32_t>((d.size() + 63) / 64);
        starts[i] = first;
        for (std::uint32_t k = 0; k < count; ++k)
            miniFat.push_back(k + 1 < count ? first + k + 1 : kEnd);
        miniStream += d;
        miniStream.append(count * 64 - d.size(), '\0');
    }
    const std::uint32_t entriesPerSector = ss / 128;
    const std::uint32_t dirSectors = static_cast<std::uint32_t>((streams.size() + 1 + entriesPerSector - 1) / entriesPerSector);
    const std::uint32_t miniFatSectors = sectorsFor(miniFat.size() * 4);
    const std::uint32_t miniStreamSectors = sectorsFor(miniStream.size());
    std::uint32_t bigSectors = 0;
    for (const CfbStream& s : streams)
        if (s.data.size() >= 4096)
            bigSectors += sectorsFor(s.data.size());
    const std::uint32_t dataSectors = options.padSectors + dirSectors + miniFatSectors + miniStreamSectors + bigSectors;

    std::uint32_t fatSectors = 1;
    std::uint32_t difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > 109 ? (fatSectors - 109 + ss / 4 - 2) / (ss / 4 - 1) : 0;
        const std::uint32_t needed = (fatSectors + difatSectors + dataSectors + ss / 4 - 1) / (ss / 4);
        if (needed <= fatSectors)
            break;
        fatSectors = needed;
    }
    const std::uint32_t total = fatSectors + difatSectors + dataSectors;
    std::vector<std::uint32_t> fat(std::size_t{fatSectors} * (ss / 4), kFree);
    std::uint32_t next = 0;
    for (std::uint32_t k = 0; k < fatSectors; ++k) {
        f.fatLocations.push_back(next);
        fat[next++] = kFatSect;
    }
    const std::uint32_t difatStart = next;
    for (std::uint32_t k = 0; k < difatSectors; ++k)
        fat[next++] = kDifSect;
    next += options.padSectors;
    const auto chain = [&fat, &next](std::uint32_t count) {
        const std::uint32_t first = count ? next : kEnd;
        for (std::uint32_t k = 0; k < count; ++k, ++next)
            fat[next] = k + 1 < count ? next + 1 : kEnd;
        return first;
    };
    f.directoryStart = chain(dirSectors);
    const std::uint32_t miniFatStart = chain(miniFatSectors);
    const std::uint32_t miniStreamStart = chain(miniStreamSectors);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (streams[i].data.size() >= 4096) {
            starts[i] = chain(sectorsFor(streams[i].data.size()));
            f.bigStart[streams[i].name] = starts[i];
        }
    }
    EXPECT_EQ(next, total);

    std::string& b = f.bytes;
    b.assign(f.sectorOffset(total), '\0');
    static const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (int i = 0; i < 8; ++i)
        b[static_cast<std::size_t>(i)] = static_cast<char>(signature[i]);
    putU16(b, 24, 0x3E);
    putU16(b, 26, options.shift == 12 ? 4 : 3);
    putU16(b, 28, 0xFFFE);
    putU16(b, 30, static_cast<std::uint16_t>(options.shift));
    putU16(b, 32, 6);
    putU32(b, 40, options.shift == 12 ? dirSectors : 0);
    putU32(b, 44, fatSectors);
    putU32(b, 48, f.directoryStart);
    putU32(b, 56, 4096);
    putU32(b, 60, miniFatSectors ? miniFatStart : kEnd);
    putU32(b, 64, miniFatSectors);
    putU32(b, 68, difatSectors ? difatStart : kEnd);
    putU32(b, 72, difatSectors);
    for (std::uint32_t i = 0; i < 109; ++i)
        putU32(b, 76 + 4 * i, i < fatSectors ? f.fatLocations[i] : kFree);
    for (std::uint32_t d = 0; d < difatSectors; ++d) {
        const std::size_t at = f.sectorOffset(difatStart + d);
        const std::uint32_t per = ss / 4 - 1;
        for (std::uint32_t i = 0; i < per; ++i) {
            const std::uint32_t k = 109 + d * per + i;
            putU32(b, at + 4 * i, k < fatSectors ? f.fatLocations[k] : kFree);
        }
        putU32(b, at + 4 * per, d + 1 < difatSectors ? difatStart + d + 1 : kEnd);
    }
    for (std::size_t i = 0; i < fat.size(); ++i)
        putU32(b, f.sectorOffset(f.fatLocations[i / (ss / 4)]) + 4 * (i % (ss / 4)), fat[i]);

    const auto writeSectors = [&](std::uint32_t first, std::string_view data) {
        for (std::size_t k = 0; k < data.size(); ++k)
            b[f.sectorOffset(first + static_cast<std::uint32_t>(k / ss)) + k % ss] = data[k];
    };
    std::string miniFatBytes;
    for (std::uint32_t v : miniFat)
        appendU32(miniFatBytes, v);
    miniFatBytes.append(miniFatSectors * ss - miniFatBytes.size(), '\xFF');
    writeSectors(miniFatStart, miniFatBytes);
    writeSectors(miniStreamStart, miniStream);
    for (std::size_t i = 0; i < streams.size(); ++i)
        if (streams[i].data.size() >= 4096)
            writeSectors(starts[i], streams[i].data);

    std::string directory(std::size_t{dirSectors} * ss, '\0');
    const auto entry = [&directory](std::size_t index, std::u16string_view name, std::uint8_t type,
                                    std::uint32_t right, std::uint32_t child, std::uint32_t start,
                                    std::uint64_t size) {
        const std::size_t at = index * 128;
        for (std::size_t k = 0; k < name.size(); ++k)
            putU16(directory, at + 2 * k, name[k]);
        putU16(directory, at + 64, static_cast<std::uint16_t>(name.empty() ? 0 : 2 * (name.size() + 1)));
        directory[at + 66] = static_cast<char>(type);
        directory[at + 67] = 1;
        putU32(directory, at + 68, kFree);
        putU32(directory, at + 72, right);
        putU32(directory, at + 76, child);
        putU32(directory, at + 116, start);
        putU32(directory, at + 120, static_cast<std::uint32_t>(size));
        putU32(directory, at + 124, static_cast<std::uint32_t>(size >> 32));
    };
    entry(0, u"Root Entry", 5, kFree, streams.empty() ? kFree : 1, miniStream.empty() ? kEnd : miniStreamStart,
          miniStream.size());
    for (std::size_t i = 0; i < streams.size(); ++i)
        entry(i + 1, streams[i].name, 2, i + 1 < streams.size() ? static_cast<std::uint32_t>(i + 2) : kFree, kFree,
              starts[i], streams[i].data.size());
    for (std::size_t i = streams.size() + 1; i < std::size_t{dirSectors} * entriesPerSector; ++i)
        entry(i, u"", 0, kFree, kFree, kFree, 0);
    writeSectors(f.directoryStart, directory);
    return f;
}

// ---------------------------------------------------------------------------
// A Word 97-2003 document writer: a file information block, the text pieces
// after it in the WordDocument stream, and the piece table in the table stream.

struct Piece {
    std::string stored;  // as it lies in the stream
    bool compressed;
};

Piece ansi(std::string bytes) { return {std::move(bytes), true}; }
Piece unicode(std::u16string_view text) { return {utf16le(text), false}; }

struct DocOptions {
    bool table1 = true;
    std::uint16_t flags = 0;
    std::uint16_t nFib = 0x00C1;
    std::int64_t ccpText = -1;  // -1: every piece's characters
    bool withPrc = true;        // a property entry before the piece table
    std::uint32_t clxOffset = 16;
};

struct DocParts {
    std::string wordDocument;
    std::string table;
    std::string clx;
};

DocParts buildDocParts(const std::vector<Piece>& pieces, const DocOptions& o = {})
{
    DocParts parts;
    std::string& w = parts.wordDocument;
    w.assign(0x400, '\0');
    putU16(w, 0, 0xA5EC);
    putU16(w, 2, o.nFib);
    putU16(w, 10, static_cast<std::uint16_t>(o.flags | (o.table1 ? 0x0200 : 0)));
    putU16(w, 32, 14);
    putU16(w, 62, 22);
    putU16(w, 152, 93);
    std::uint32_t cp = 0;
    std::vector<std::uint32_t> cps{0};
    std::vector<std::uint32_t> fcs;
    for (const Piece& p : pieces) {
        // 8-bit text is addressed in half-byte units with the compressed bit.
        fcs.push_back(p.compressed ? (static_cast<std::uint32_t>(w.size()) * 2) | 0x40000000u
                                   : static_cast<std::uint32_t>(w.size()));
        w += p.stored;
        cp += static_cast<std::uint32_t>(p.compressed ? p.stored.size() : p.stored.size() / 2);
        cps.push_back(cp);
    }
    w.resize(std::max<std::size_t>(w.size(), 5000), '\0');
    putU32(w, 64 + 12, static_cast<std::uint32_t>(o.ccpText >= 0 ? o.ccpText : cp));

    std::string& clx = parts.clx;
    if (o.withPrc) {
        clx += '\x01';
        appendU16(clx, 4);
        clx += "\x52\x24\x00\x01"s;
    }
    clx += '\x02';
    appendU32(clx, static_cast<std::uint32_t>(4 * cps.size() + 8 * fcs.size()));
    for (std::uint32_t c : cps)
        appendU32(clx, c);
    for (std::uint32_t fc : fcs) {
        appendU16(clx, 0);
        appendU32(clx, fc);
        appendU16(clx, 0);
    }
    parts.table.assign(o.clxOffset, 'x');
    parts.table += clx;
    const std::size_t pairs = 154;
    putU32(w, pairs + 33 * 8, o.clxOffset);
    putU32(w, pairs + 33 * 8 + 4, static_cast<std::uint32_t>(clx.size()));
    return parts;
}

std::string buildDoc(const std::vector<Piece>& pieces, const DocOptions& o = {})
{
    DocParts parts = buildDocParts(pieces, o);
    return buildCfb({{u"WordDocument", parts.wordDocument}, {o.table1 ? u"1Table" : u"0Table", parts.table}}).bytes;
}

// ---------------------------------------------------------------------------
// Zip archives built with libzip.

// With a password, every member is encrypted with it.
std::string makeZip(const std::vector<std::pair<std::string, std::string>>& members, const char* password = nullptr)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    EXPECT_NE(archive, nullptr);
    for (const auto& [name, data] : members) {
        zip_source_t* s = zip_source_buffer(archive, data.data(), data.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), s, ZIP_FL_ENC_UTF_8);
        EXPECT_GE(index, 0);
        if (password != nullptr) {
            EXPECT_EQ(zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_TRAD_PKWARE, password), 0)
                << zip_strerror(archive);
        }
    }
    EXPECT_EQ(zip_close(archive), 0);
    std::string bytes;
    EXPECT_EQ(zip_source_open(target), 0);
    char buffer[4096];
    for (zip_int64_t n; (n = zip_source_read(target, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(n));
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

const std::string kRels =
    R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

std::string documentXml(std::string_view body, std::string_view prefix = "w")
{
    std::string xml = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";
    const std::string p = prefix.empty() ? std::string() : std::string(prefix) + ":";
    xml += cat({"<", p, "document xmlns", prefix.empty() ? "" : ":", prefix,
                R"(="http://schemas.openxmlformats.org/wordprocessingml/2006/main" )"
                R"(xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing">)"});
    xml += cat({"<", p, "body>", body, "</", p, "body></", p, "document>"});
    return xml;
}

std::string makeDocx(std::string_view body) { return makeZip({{"_rels/.rels", kRels}, {"word/document.xml", documentXml(body)}}); }

// Rewrites the uncompressed size of every member in both the local headers
// and the central directory, as a forged archive would.
void forgeUncompressedSize(std::string& zip, std::uint32_t size)
{
    for (std::size_t at = 0; at + 30 <= zip.size(); ++at) {
        if (zip.compare(at, 4, "PK\x03\x04") == 0)
            putU32(zip, at + 22, size);
        else if (zip.compare(at, 4, "PK\x01\x02") == 0)
            putU32(zip, at + 24, size);
    }
}

// ---------------------------------------------------------------------------
// The committed fixtures.

struct FixtureCase {
    const char* base;
    const char* expectedUtf8;
};

const FixtureCase kFixtures[] = {
    {"chinese",
     "春眠不觉晓，处处闻啼鸟。\r\n"
     "\r\n"
     "ASCII: Penvox 8.1\t制表符\r\n"
     "第一行\r\n第二行\r\n"
     "超出GBK：𠀀，表情：😀。\r\n"},
    // Cells one per line, each row closed by an empty line.
    {"table", "表格前\r\n甲一\r\n乙二\r\n\r\n丙三\r\n丁四\r\n\r\n表格后\r\n"},
    {"empty", ""},
    {"english", "Hello, world.\r\nCafé naïve “quoted” — dash… €5\r\n"},
};

TEST(WordFixtures, EachFormatReadsTheExactText)
{
    for (const FixtureCase& c : kFixtures) {
        for (const char* extension : {".doc", ".docx"}) {
            const std::string name = std::string(c.base) + extension;
            SCOPED_TRACE(name);
            const ReadResult r = std::string_view(extension) == ".doc" ? penvox::word::readDoc(fixturePath(name))
                                                                       : penvox::word::readDocx(fixturePath(name));
            ASSERT_TRUE(r.ok) << r.error;
            EXPECT_EQ(r.error, "");
            EXPECT_EQ(r.text, programText(c.expectedUtf8));
            // Characters beyond GBK come back whole, not as '?'.
            EXPECT_EQ(penvox::gbk::toUtf8(r.text), c.expectedUtf8);
        }
    }
}

TEST(WordFixtures, TheFromBytesReadersAgreeWithTheFileReaders)
{
    for (const FixtureCase& c : kFixtures) {
        SCOPED_TRACE(c.base);
        const ReadResult doc = penvox::word::readDocBytes(fixture(std::string(c.base) + ".doc"));
        const ReadResult docx = penvox::word::readDocxBytes(fixture(std::string(c.base) + ".docx"));
        ASSERT_TRUE(doc.ok) << doc.error;
        ASSERT_TRUE(docx.ok) << docx.error;
        EXPECT_EQ(doc.text, programText(c.expectedUtf8));
        EXPECT_EQ(docx.text, programText(c.expectedUtf8));
    }
}

// The English fixture's text is stored 8-bit (one byte a character, in the
// piece table's compressed form) and the Chinese one's as UTF-16, so both
// kinds of piece come from a real file.
TEST(WordFixtures, TheEnglishDocumentHoldsAnEightBitPieceAndTheChineseOneAUnicodePiece)
{
    const auto firstPieceFc = [](const std::string& bytes) {
        penvox::cfb::CompoundFile file;
        std::string error, word, table;
        EXPECT_TRUE(file.open(bytes, error)) << error;
        EXPECT_TRUE(file.readStream(u"WordDocument", word, error)) << error;
        EXPECT_TRUE(file.readStream(u"1Table", table, error)) << error;
        const std::uint32_t fcClx = getU32(word, 154 + 33 * 8);
        EXPECT_EQ(table[fcClx], '\x02');  // no property entries before the piece table
        const std::uint32_t lcb = getU32(table, fcClx + 1);
        const std::size_t pieces = (lcb - 4) / 12;
        EXPECT_EQ(pieces, 1u);
        return getU32(table, fcClx + 5 + 4 * (pieces + 1) + 2);
    };
    EXPECT_NE(firstPieceFc(fixture("english.doc")) & 0x40000000u, 0u);
    EXPECT_EQ(firstPieceFc(fixture("chinese.doc")) & 0x40000000u, 0u);
}

TEST(WordFixtures, DamagedAndMisnamedFilesAreRefusedWithAReason)
{
    struct Case {
        const char* what;
        ReadResult result;
        const char* errorPart;
    };
    const std::string missing = fixturePath("no-such-file.doc");
    const Case cases[] = {
        {"a truncated .doc", penvox::word::readDoc(fixturePath("truncated.doc")), "damaged"},
        {"a truncated .docx", penvox::word::readDocx(fixturePath("truncated.docx")), "damaged"},
        {"a missing .doc", penvox::word::readDoc(missing), "does not exist"},
        {"a missing .docx", penvox::word::readDocx(missing), "does not exist"},
        {"a folder as .doc", penvox::word::readDoc(fixturePath("")), "not a regular file"},
        {"a folder as .docx", penvox::word::readDocx(fixturePath("")), "not a regular file"},
        {"the fixture script as .doc", penvox::word::readDoc(fixturePath("make_fixtures.sh")), "not a Word document"},
        {"the fixture script as .docx", penvox::word::readDocx(fixturePath("make_fixtures.sh")), "not a Word document"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(c.result.ok);
        EXPECT_EQ(c.result.text, "");
        EXPECT_NE(c.result.error.find(c.errorPart), std::string::npos) << c.result.error;
    }
}

TEST(WordFixtures, AFileOfTheOtherFormatIsReadForWhatItIs)
{
    const std::string expected = programText(kFixtures[0].expectedUtf8);
    const ReadResult docxAsDoc = penvox::word::readDoc(fixturePath("chinese.docx"));
    ASSERT_TRUE(docxAsDoc.ok) << docxAsDoc.error;
    EXPECT_EQ(docxAsDoc.text, expected);
    const ReadResult docAsDocx = penvox::word::readDocx(fixturePath("chinese.doc"));
    ASSERT_TRUE(docAsDocx.ok) << docAsDocx.error;
    EXPECT_EQ(docAsDocx.text, expected);
}

// Mutated copies of every fixture: each read must end, promptly, with either
// text or a reason, and never with more text than the file could hold.
TEST(WordFixtures, MutatedCopiesNeverCrashHangOrBalloon)
{
    std::mt19937 random(20240611);
    const auto check = [](const ReadResult& r, std::size_t inputSize, std::chrono::steady_clock::duration took) {
        EXPECT_TRUE(r.ok || !r.error.empty());
        if (!r.ok) {
            EXPECT_EQ(r.text, "");
        }
        EXPECT_LE(r.text.size(), 4 * inputSize + 64);
        EXPECT_LT(took, std::chrono::seconds(5));
    };
    for (const FixtureCase& c : kFixtures) {
        for (const char* extension : {".doc", ".docx"}) {
            const std::string original = fixture(std::string(c.base) + extension);
            const bool isDoc = std::string_view(extension) == ".doc";
            for (int round = 0; round < 150; ++round) {
                std::string bytes = original;
                const int kind = round % 3;
                if (kind == 0) {
                    bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size())(random));
                } else {
                    const int flips = kind == 1 ? 1 : 16;
                    for (int k = 0; k < flips && !bytes.empty(); ++k) {
                        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
                        bytes[at] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
                    }
                }
                const auto start = std::chrono::steady_clock::now();
                const ReadResult r = isDoc ? penvox::word::readDocBytes(bytes) : penvox::word::readDocxBytes(bytes);
                check(r, bytes.size(), std::chrono::steady_clock::now() - start);
            }
        }
    }
    // The zip's members are checksummed, so mutate the XML inside instead.
    const std::string xml = documentXml(
        "<w:p><w:r><w:t>甲</w:t><w:tab/></w:r></w:p><w:tbl><w:tr><w:tc><w:p><w:r><w:fldChar w:fldCharType=\"begin\"/>"
        "<w:instrText>PAGE</w:instrText><w:fldChar w:fldCharType=\"separate\"/><w:t>1</w:t>"
        "<w:fldChar w:fldCharType=\"end\"/></w:r></w:p></w:tc></w:tr></w:tbl>");
    for (int round = 0; round < 200; ++round) {
        std::string mutated = xml;
        for (int k = 0; k < 3; ++k) {
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, mutated.size() - 1)(random);
            mutated[at] = "<>/=\" w:ptx"[std::uniform_int_distribution<int>(0, 10)(random)];
        }
        const std::string zip = makeZip({{"word/document.xml", mutated}});
        const auto start = std::chrono::steady_clock::now();
        check(penvox::word::readDocxBytes(zip), mutated.size(), std::chrono::steady_clock::now() - start);
    }
}

// ---------------------------------------------------------------------------
// .docx rules, on documents built here.

TEST(DocxReader, WalksTheBodyByItsRules)
{
    struct Case {
        const char* what;
        std::string body;
        const char* expectedUtf8;
    };
    const Case cases[] = {
        {"paragraphs, with an empty one", "<w:p><w:r><w:t>甲</w:t></w:r></w:p><w:p/><w:p><w:r><w:t>乙</w:t></w:r></w:p>",
         "甲\r\n\r\n乙\r\n"},
        {"runs join within a paragraph", "<w:p><w:r><w:t>春</w:t></w:r><w:r><w:t>天</w:t></w:r></w:p>", "春天\r\n"},
        {"tab, breaks and hyphens",
         "<w:p><w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t><w:br w:type=\"page\"/><w:t>d</w:t>"
         "<w:cr/><w:t>e</w:t><w:noBreakHyphen/><w:t>f</w:t><w:softHyphen/><w:t>g</w:t><w:ptab w:relativeTo=\"margin\" "
         "w:alignment=\"right\" w:leader=\"none\"/><w:t>h</w:t></w:r></w:p>",
         "a\tb\r\nc\r\nd\r\ne-fg\th\r\n"},
        {"blanks are kept, a blank-only run too",
         "<w:p><w:r><w:t xml:space=\"preserve\">  两 空格  </w:t></w:r><w:r><w:t xml:space=\"preserve\"> </w:t></w:r>"
         "<w:r><w:t>止</w:t></w:r></w:p>",
         "  两 空格   止\r\n"},
        {"entities and character references", "<w:p><w:r><w:t>&lt;a&gt; &amp; &#x4E2D;&#25991;</w:t></w:r></w:p>",
         "<a> & 中文\r\n"},
        {"tab stops in paragraph properties are not tabs",
         "<w:p><w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/></w:tabs></w:pPr><w:r><w:t>正文</w:t></w:r></w:p>",
         "正文\r\n"},
        {"inserted text kept, deleted text left out",
         "<w:p><w:r><w:t>保留</w:t></w:r><w:ins w:id=\"1\" w:author=\"a\"><w:r><w:t>插入</w:t></w:r></w:ins>"
         "<w:del w:id=\"2\" w:author=\"a\"><w:r><w:delText>删除</w:delText></w:r></w:del>"
         "<w:moveFrom w:id=\"3\" w:author=\"a\"><w:r><w:t>移走</w:t></w:r></w:moveFrom>"
         "<w:moveTo w:id=\"4\" w:author=\"a\"><w:r><w:t>移来</w:t></w:r></w:moveTo></w:p>",
         "保留插入移来\r\n"},
        {"a deleted paragraph mark joins the next paragraph",
         "<w:p><w:pPr><w:rPr><w:del w:id=\"1\" w:author=\"a\"/></w:rPr></w:pPr><w:r><w:t>前</w:t></w:r></w:p>"
         "<w:bookmarkEnd w:id=\"0\"/><w:p><w:r><w:t>后</w:t></w:r></w:p>",
         "前后\r\n"},
        {"a deleted mark before a table keeps its line end",
         "<w:p><w:pPr><w:rPr><w:del w:id=\"1\" w:author=\"a\"/></w:rPr></w:pPr><w:r><w:t>前</w:t></w:r></w:p>"
         "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>格</w:t></w:r></w:p></w:tc></w:tr></w:tbl>",
         "前\r\n格\r\n\r\n"},
        {"a field keeps its result, not its code",
         "<w:p><w:r><w:t>第</w:t></w:r><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> PAGE "
         "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>3</w:t></w:r>"
         "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:r><w:t>页</w:t></w:r></w:p>",
         "第3页\r\n"},
        {"a field nested in another's code is part of that code",
         "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/><w:instrText>IF </w:instrText>"
         "<w:fldChar w:fldCharType=\"begin\"/><w:instrText>MERGEFIELD x</w:instrText>"
         "<w:fldChar w:fldCharType=\"separate\"/><w:t>内</w:t><w:fldChar w:fldCharType=\"end\"/>"
         "<w:instrText> = 1 \"是\"</w:instrText><w:fldChar w:fldCharType=\"separate\"/><w:t>是</w:t>"
         "<w:fldChar w:fldCharType=\"end\"/></w:r></w:p>",
         "是\r\n"},
        {"a field without a result shows nothing",
         "<w:p><w:r><w:t>甲</w:t><w:fldChar w:fldCharType=\"begin\"/><w:t>码</w:t><w:tab/>"
         "<w:fldChar w:fldCharType=\"end\"/><w:t>乙</w:t></w:r></w:p>",
         "甲乙\r\n"},
        {"a field result spanning paragraphs keeps them",
         "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/><w:instrText>TOC</w:instrText>"
         "<w:fldChar w:fldCharType=\"separate\"/><w:t>一</w:t></w:r></w:p>"
         "<w:p><w:r><w:t>二</w:t><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>",
         "一\r\n二\r\n"},
        {"a field never closed drops nothing",
         "<w:p><w:r><w:t>前</w:t><w:fldChar w:fldCharType=\"begin\"/><w:t>后</w:t></w:r></w:p><w:p><w:r><w:t>"
         "尾</w:t></w:r></w:p>",
         "前后\r\n尾\r\n"},
        {"a simple field's result",
         "<w:p><w:fldSimple w:instr=\" DATE \"><w:r><w:t>2024</w:t></w:r></w:fldSimple></w:p>", "2024\r\n"},
        {"hyperlinks, content controls and smart tags hold text",
         "<w:sdt><w:sdtPr><w:alias w:val=\"x\"/></w:sdtPr><w:sdtContent><w:p><w:hyperlink r:id=\"rId5\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:r><w:t>链接</w:t></w:r>"
         "</w:hyperlink><w:sdt><w:sdtContent><w:r><w:t>控件</w:t></w:r></w:sdtContent></w:sdt>"
         "<w:smartTag w:uri=\"u\" w:element=\"e\"><w:r><w:t>标记</w:t></w:r></w:smartTag></w:p></w:sdtContent></w:sdt>",
         "链接控件标记\r\n"},
        {"text boxes, pictures, symbols and note references are left out",
         "<w:p><w:r><w:t>文</w:t></w:r><w:r><w:drawing><wp:inline><w:txbxContent><w:p><w:r><w:t>框</w:t></w:r>"
         "</w:p></w:txbxContent></wp:inline></w:drawing></w:r><w:r><w:sym w:font=\"Wingdings\" w:char=\"F04A\"/>"
         "<w:footnoteReference w:id=\"1\"/><w:t>字</w:t></w:r></w:p>",
         "文字\r\n"},
        {"a table: cells in order, each row closed by an empty line",
         "<w:tbl><w:tblPr/><w:tblGrid/><w:tr><w:tc><w:p><w:r><w:t>甲</w:t></w:r></w:p><w:p><w:r><w:t>甲2</w:t>"
         "</w:r></w:p></w:tc><w:tc><w:p/></w:tc></w:tr><w:tr><w:tc><w:p><w:r><w:t>丙</w:t></w:r></w:p></w:tc>"
         "<w:tc><w:p><w:r><w:t>丁</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p/>",
         "甲\r\n甲2\r\n\r\n\r\n丙\r\n丁\r\n\r\n\r\n"},
        {"a table inside a cell",
         "<w:tbl><w:tr><w:tc><w:tbl><w:tr><w:tc><w:p><w:r><w:t>内</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
         "<w:p><w:r><w:t>外</w:t></w:r></w:p></w:tc></w:tr></w:tbl>",
         "内\r\n\r\n外\r\n\r\n"},
        {"a row deleted in tracked changes goes",
         "<w:tbl><w:tr><w:trPr><w:del w:id=\"1\" w:author=\"a\"/></w:trPr><w:tc><w:p><w:r><w:delText>旧</w:delText>"
         "</w:r></w:p></w:tc></w:tr><w:tr><w:tc><w:p><w:r><w:t>新</w:t></w:r></w:p></w:tc></w:tr></w:tbl>",
         "新\r\n\r\n"},
        {"characters beyond GBK", "<w:p><w:r><w:t>𠀀😀€</w:t></w:r></w:p>", "𠀀😀€\r\n"},
        {"one empty paragraph is an empty document", "<w:p><w:pPr/></w:p><w:sectPr/>", ""},
        {"two empty paragraphs are two empty lines", "<w:p/><w:p/>", "\r\n\r\n"},
        {"no paragraph at all", "<w:sectPr/>", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r = penvox::word::readDocxBytes(makeDocx(c.body));
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.text, programText(c.expectedUtf8));
    }
}

TEST(DocxReader, FindsTheMainPartWhateverItsNameOrPrefix)
{
    const std::string body = "<x:p><x:r><x:t>别名</x:t></x:r></x:p>";
    const std::string rels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties" Target="docProps/app.xml"/>)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="/content/main.xml"/>)"
        R"(</Relationships>)";
    struct Case {
        const char* what;
        std::string zip;
    };
    const Case cases[] = {
        {"another prefix, another part name",
         makeZip({{"_rels/.rels", rels}, {"content/main.xml", documentXml(body, "x")}})},
        {"the namespace as default", makeZip({{"word/document.xml", documentXml("<p><r><t>别名</t></r></p>", "")}})},
        {"no relationships: the usual name", makeZip({{"word/document.xml", documentXml(body, "x")}})},
        {"the relationship names a missing part: the usual name",
         makeZip({{"_rels/.rels", rels}, {"word/document.xml", documentXml(body, "x")}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r = penvox::word::readDocxBytes(c.zip);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.text, programText("别名\r\n"));
    }
}

TEST(DocxReader, RefusesWhatIsNotAReadableDocument)
{
    std::string deep;
    for (int i = 0; i < 20000; ++i)
        deep += "<w:sdt><w:sdtContent>";
    deep += "<w:p><w:r><w:t>深</w:t></w:r></w:p>";
    for (int i = 0; i < 20000; ++i)
        deep += "</w:sdtContent></w:sdt>";
    std::string randomBytes(3000, '\0');
    std::mt19937 random(5);
    for (char& ch : randomBytes)
        ch = static_cast<char>(random());
    randomBytes[0] = 'P';
    randomBytes[1] = 'K';

    struct Case {
        const char* what;
        std::string bytes;
        const char* errorPart;
    };
    const Case cases[] = {
        {"no bytes", "", "empty"},
        {"random bytes", randomBytes, "not a Word document"},
        {"a zip without the document part", makeZip({{"word/styles.xml", "<x/>"}, {"readme.txt", "hi"}}),
         "no word/document.xml"},
        {"malformed XML", makeZip({{"word/document.xml", documentXml("<w:p><w:r><w:t>甲</w:r></w:p>")}}), "XML"},
        {"a document without a body", makeZip({{"word/document.xml", "<w:document xmlns:w=\"x\"/>"}}), "no document body"},
        {"an empty document part", makeZip({{"word/document.xml", ""}}), "XML"},
        {"an encrypted zip member", makeZip({{"word/document.xml", documentXml("<w:p/>")}}, "secret"),
         "password-protected"},
        {"nesting beyond any real document", makeDocx(deep), "nested too deeply"},
        {"an OLE file that is neither Word nor encrypted", buildCfb({{u"Workbook", "data"}}).bytes,
         "no WordDocument stream"},
        {"an encrypted package", buildCfb({{u"EncryptionInfo", "x"}, {u"EncryptedPackage", std::string(5000, 'e')}}).bytes,
         "password-protected"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r = penvox::word::readDocxBytes(c.bytes);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.text, "");
        EXPECT_NE(r.error.find(c.errorPart), std::string::npos) << r.error;
    }
}

TEST(DocxReader, NeverReadsMoreThanTheLimitWhateverTheArchiveClaims)
{
    const std::string body = cat({"<w:p><w:r><w:t>", std::string(4000, 'a'), "</w:t></w:r></w:p>"});
    const std::string zip = makeZip({{"word/document.xml", documentXml(body)}});
    const std::size_t xmlSize = documentXml(body).size();

    // Up to the limit the part is read.
    const ReadResult atLimit = penvox::word::readDocxBytes(zip, xmlSize);
    ASSERT_TRUE(atLimit.ok) << atLimit.error;
    EXPECT_EQ(atLimit.text, std::string(4000, 'a') + "\r\n");

    // One byte over, as stated honestly by the archive.
    const ReadResult over = penvox::word::readDocxBytes(zip, xmlSize - 1);
    EXPECT_FALSE(over.ok);
    EXPECT_NE(over.error.find("too large"), std::string::npos) << over.error;

    // A forged small size: the read itself stops at the limit.
    std::string understated = zip;
    forgeUncompressedSize(understated, 100);
    const ReadResult forgedSmall = penvox::word::readDocxBytes(understated, 1000);
    EXPECT_FALSE(forgedSmall.ok);
    EXPECT_EQ(forgedSmall.text, "");
    EXPECT_NE(forgedSmall.error.find("larger than the limit of 1000 bytes"), std::string::npos) << forgedSmall.error;

    // An absurd stated size is refused before anything is read, at the
    // default limit.
    std::string overstated = zip;
    forgeUncompressedSize(overstated, 0xFFFFFF00u);
    const ReadResult forgedHuge = penvox::word::readDocxBytes(overstated);
    EXPECT_FALSE(forgedHuge.ok);
    EXPECT_NE(forgedHuge.error.find("too large"), std::string::npos) << forgedHuge.error;
}

TEST(DocxReader, ABombOverTheDefaultLimitIsRefused)
{
    // 65 MiB of blanks squeeze into a few tens of kilobytes.
    const std::string xml = documentXml(cat({"<w:p><w:r><w:t>", std::string(65u << 20, ' '), "</w:t></w:r></w:p>"}));
    const std::string zip = makeZip({{"word/document.xml", xml}});
    ASSERT_LT(zip.size(), 1u << 20);
    const ReadResult r = penvox::word::readDocxBytes(zip);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("64 MiB"), std::string::npos) << r.error;
}

// ---------------------------------------------------------------------------
// The compound file reader.

TEST(CompoundFile, ReadsBigAndSmallStreamsAtBothSectorSizes)
{
    std::string big(20000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 + i / 251);
    const std::string small = "small stream content, under the mini stream cutoff";
    const std::string exactlyCutoff(4096, 'c');
    for (unsigned shift : {9u, 12u}) {
        SCOPED_TRACE(shift);
        CfbFile f = buildCfb({{u"Big", big}, {u"Small", small}, {u"Edge", exactlyCutoff}, {u"Empty", ""}}, {shift, 0});
        // Version 3 writers may leave garbage in the high half of a size.
        if (shift == 9)
            putU32(f.bytes, f.sectorOffset(f.directoryStart) + 128 + 124, 0xDEADBEEF);
        penvox::cfb::CompoundFile file;
        std::string error, out;
        ASSERT_TRUE(file.open(f.bytes, error)) << error;
        EXPECT_TRUE(file.readStream(u"Big", out, error)) << error;
        EXPECT_EQ(out, big);
        EXPECT_TRUE(file.readStream(u"small", out, error)) << error;  // names ignore ASCII case
        EXPECT_EQ(out, small);
        EXPECT_TRUE(file.readStream(u"Edge", out, error)) << error;
        EXPECT_EQ(out, exactlyCutoff);
        EXPECT_TRUE(file.readStream(u"Empty", out, error)) << error;
        EXPECT_EQ(out, "");
        EXPECT_FALSE(file.hasStream(u"Missing"));
        EXPECT_FALSE(file.readStream(u"Missing", out, error));
        EXPECT_FALSE(file.hasStream(u"Root Entry"));
    }
}

TEST(CompoundFile, FollowsTheAllocationTableBeyondTheHeadersEntries)
{
    // Enough free sectors that the stream's own sectors are described by an
    // allocation-table sector listed only in an extension sector.
    const std::string data(9000, 'd');
    const CfbFile f = buildCfb({{u"Far", data}}, {9, 14100});
    ASSERT_GT(f.fatLocations.size(), 109u);
    ASSERT_GE(f.bigStart.at(u"Far") / 128, 109u);
    penvox::cfb::CompoundFile file;
    std::string error, out;
    ASSERT_TRUE(file.open(f.bytes, error)) << error;
    ASSERT_TRUE(file.readStream(u"Far", out, error)) << error;
    EXPECT_EQ(out, data);

    // An extension chain that loops onto itself is refused.
    std::string looped = f.bytes;
    const std::uint32_t difat = getU32(looped, 68);
    putU32(looped, f.sectorOffset(difat) + 4 * 127, difat);
    putU32(looped, 44, 109 + 127 + 1);  // more table sectors than one extension sector lists
    EXPECT_FALSE(file.open(looped, error));
    EXPECT_FALSE(error.empty());
}

TEST(CompoundFile, RefusesDamagedStructures)
{
    const std::string big(6000, 'b');
    const CfbFile f = buildCfb({{u"Big", big}, {u"Small", std::string(300, 's')}});
    const std::uint32_t first = f.bigStart.at(u"Big");

    struct Case {
        const char* what;
        std::string bytes;
        bool opens;  // the damage shows only when the stream is read
    };
    std::vector<Case> cases;
    {
        std::string b = f.bytes;
        putU32(b, f.fatEntryOffset(first + 1), first);  // second sector leads back to the first
        cases.push_back({"a sector chain that loops", b, true});
    }
    {
        std::string b = f.bytes;
        putU32(b, f.fatEntryOffset(first + 1), 0x00FFFFFF);
        cases.push_back({"a sector chain that leaves the file", b, true});
    }
    {
        std::string b = f.bytes;
        putU32(b, f.fatEntryOffset(first), 0xFFFFFFFE);
        cases.push_back({"a chain shorter than the stream", b, true});
    }
    {
        std::string b = f.bytes;
        b.resize(f.sectorOffset(first) + 700);
        cases.push_back({"a file cut inside the stream", b, true});
    }
    {
        std::string b = f.bytes;
        putU32(b, f.fatEntryOffset(f.directoryStart), f.directoryStart);
        cases.push_back({"a directory chain that loops", b, false});
    }
    {
        std::string b = f.bytes;
        putU32(b, 44, 100000);
        cases.push_back({"an allocation table larger than the file", b, false});
    }
    {
        std::string b = f.bytes;
        putU16(b, 30, 10);
        cases.push_back({"an unknown sector size", b, false});
    }
    {
        std::string b = f.bytes;
        b.resize(300);
        cases.push_back({"a file cut inside its header", b, false});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        penvox::cfb::CompoundFile file;
        std::string error, out;
        ASSERT_EQ(file.open(c.bytes, error), c.opens) << error;
        if (c.opens) {
            EXPECT_FALSE(file.readStream(u"Big", out, error));
            EXPECT_FALSE(error.empty());
            // The intact small stream is still there.
            EXPECT_TRUE(file.readStream(u"Small", out, error)) << error;
            EXPECT_EQ(out, std::string(300, 's'));
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST(CompoundFile, DirectoryLinksThatLoopEndTheWalk)
{
    CfbFile f = buildCfb({{u"A", "aaa"}, {u"B", "bbb"}});
    // B's right sibling points back at A, A's left at B, the root's child at B.
    const std::size_t dir = f.sectorOffset(f.directoryStart);
    putU32(f.bytes, dir + 2 * 128 + 72, 1);
    putU32(f.bytes, dir + 1 * 128 + 68, 2);
    putU32(f.bytes, dir + 76, 2);
    penvox::cfb::CompoundFile file;
    std::string error, out;
    ASSERT_TRUE(file.open(f.bytes, error)) << error;
    EXPECT_TRUE(file.readStream(u"A", out, error)) << error;
    EXPECT_EQ(out, "aaa");
    EXPECT_TRUE(file.readStream(u"B", out, error)) << error;
    EXPECT_EQ(out, "bbb");
}

// ---------------------------------------------------------------------------
// .doc rules, on documents built here.

TEST(DocReader, MapsWordsMarksAndPieces)
{
    struct Case {
        const char* what;
        std::vector<Piece> pieces;
        const char* expectedUtf8;
    };
    const Case cases[] = {
        {"8-bit and UTF-16 pieces in turn", {ansi("Hello "), unicode(u"世界"), ansi(", again\r")}, "Hello 世界, again\r\n"},
        {"8-bit text is code page 1252", {ansi("\x80\x82\x85\x8E\x93quote\x94\x96\x97\x99\x9F \xE9\xA9\xFC\r")},
         "€‚…Ž“quote”–—™Ÿ é©ü\r\n"},
        {"paragraph, line, page, section and column breaks", {unicode(u"a\rb\vc\fd\x0E" u"e\r")},
         "a\r\nb\r\nc\r\nd\r\ne\r\n"},
        {"hyphens, tabs and marks that show nothing",
         {unicode(u"a\x1E" u"b\x1F" u"c\td\x01\x08\x02\x05" u"e\x00\x0A\r"sv)},
         "a-bc\tde\r\n"},
        {"table cells and rows", {unicode(u"前\r甲\x07乙\x07\x07丙\x07\x07\x07后\r")},
         "前\r\n甲\r\n乙\r\n\r\n丙\r\n\r\n\r\n后\r\n"},
        {"a field keeps its result", {unicode(u"第\x13 PAGE \x14" u"3\x15页\r")}, "第3页\r\n"},
        {"a field in another's code is part of that code",
         {unicode(u"\x13IF \x13 MERGEFIELD x \x14内\x15 = 1 \"是\" \x14是\x15\r")}, "是\r\n"},
        {"a field without a result shows nothing", {unicode(u"甲\x13 TC \"x\" \x15乙\r")}, "甲乙\r\n"},
        {"a field result spanning paragraphs", {unicode(u"\x13TOC\x14一\r二\x15\r")}, "一\r\n二\r\n"},
        {"stray separators and ends are dropped", {unicode(u"a\x14" u"b\x15" u"c\r")}, "abc\r\n"},
        {"a field never closed drops nothing", {unicode(u"前\x13后\r尾\r")}, "前后\r\n尾\r\n"},
        {"a surrogate pair across two pieces", {unicode(u"\xD840"), unicode(u"\xDC00\r")}, "𠀀\r\n"},
        {"one empty paragraph is an empty document", {unicode(u"\r")}, ""},
        {"two empty paragraphs are two empty lines", {ansi("\r\r")}, "\r\n\r\n"},
        {"no text at all", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r = penvox::word::readDocBytes(buildDoc(c.pieces));
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.text, programText(c.expectedUtf8));
    }
}

TEST(DocReader, TakesOnlyTheMainTextFromTheRightTableStream)
{
    // Footnote text follows the main text in the same pieces.
    DocOptions mainOnly;
    mainOnly.ccpText = 8;
    ReadResult r = penvox::word::readDocBytes(buildDoc({unicode(u"正文\r"), ansi("more\rnote\r")}, mainOnly));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, programText("正文\r\nmore\r\n"));

    DocOptions table0;
    table0.table1 = false;
    table0.withPrc = false;
    table0.clxOffset = 0;
    r = penvox::word::readDocBytes(buildDoc({unicode(u"零表\r")}, table0));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, programText("零表\r\n"));

    // Both table streams present: the flag chooses.
    DocParts one = buildDocParts({unicode(u"一号表\r")});
    DocParts zero = buildDocParts({unicode(u"零号表\r")}, table0);
    const std::string both = buildCfb({{u"WordDocument", one.wordDocument}, {u"0Table", zero.table},
                                       {u"1Table", one.table}}).bytes;
    r = penvox::word::readDocBytes(both);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, programText("一号表\r\n"));
}

TEST(DocReader, RefusesWhatIsNotAReadableDocument)
{
    const std::vector<Piece> text{unicode(u"正文\r")};
    DocOptions encrypted;
    encrypted.flags = 0x0100;
    DocOptions word95;
    word95.nFib = 0x0068;
    DocOptions hugeCount;
    hugeCount.ccpText = 0x7FFFFFFF;
    DocOptions longerThanPieces;
    longerThanPieces.ccpText = 10;

    // An embedded document's streams live in a storage below the root.
    const auto wordDocumentInStorage = [&text]() {
        CfbFile f = buildCfb({{u"ObjectPool", "x"}, {u"WordDocument", buildDocParts(text).wordDocument}});
        const std::size_t dir = f.sectorOffset(f.directoryStart);
        f.bytes[dir + 128 + 66] = 1;                      // ObjectPool becomes a storage
        putU32(f.bytes, dir + 128 + 72, 0xFFFFFFFF);       // with no right sibling
        putU32(f.bytes, dir + 128 + 76, 2);                // and WordDocument as its child
        return f.bytes;
    };
    const auto withWordDocument = [](std::string wordDocument, std::string table) {
        return buildCfb({{u"WordDocument", std::move(wordDocument)}, {u"1Table", std::move(table)}}).bytes;
    };
    const DocParts good = buildDocParts(text);
    std::string badIdent = good.wordDocument;
    putU16(badIdent, 0, 0xA5DB);
    std::string clxOutside = good.wordDocument;
    putU32(clxOutside, 154 + 33 * 8, 1u << 30);
    std::string pieceOutside = good.table;
    putU32(pieceOutside, 16 + 7 + 5 + 8 + 2, 0x00FFFFF0);  // the piece's fc
    std::string outOfOrder = good.table;
    putU32(outOfOrder, 16 + 7 + 5, 1);  // the first piece no longer starts at 0
    std::string noPieceTable = good.table;
    noPieceTable[16 + 7] = 0x05;
    std::string pieceTableTooLong = good.table;
    putU32(pieceTableTooLong, 16 + 7 + 1, 0x10000);

    struct Case {
        const char* what;
        std::string bytes;
        const char* errorPart;
    };
    const Case cases[] = {
        {"no bytes", "", "empty"},
        {"an RTF file", "{\\rtf1\\ansi hello}", "RTF"},
        {"plain text", "just some text", "not a Word document"},
        {"encrypted", buildDoc(text, encrypted), "password-protected"},
        {"an encrypted package", buildCfb({{u"EncryptedPackage", "x"}, {u"WordDocument", "y"}}).bytes,
         "password-protected"},
        {"Word 95", buildDoc(text, word95), "Word 6.0/95"},
        {"no WordDocument stream", buildCfb({{u"1Table", "t"}}).bytes, "no WordDocument stream"},
        {"a WordDocument stream in a substorage only", wordDocumentInStorage(), "no WordDocument stream"},
        {"an unknown identifier", withWordDocument(badIdent, good.table), "not a Word 97-2003 document"},
        {"a cut-off file information block", withWordDocument(good.wordDocument.substr(0, 200), good.table), "cut off"},
        {"no table stream", buildCfb({{u"WordDocument", good.wordDocument}}).bytes, "table stream is missing"},
        {"the piece table outside the table stream", withWordDocument(clxOutside, good.table), "outside the table stream"},
        {"a piece outside the text stream", withWordDocument(good.wordDocument, pieceOutside), "outside the document"},
        {"pieces out of order", withWordDocument(good.wordDocument, outOfOrder), "out of order"},
        {"no piece table", withWordDocument(good.wordDocument, noPieceTable), "piece table is missing"},
        {"a piece table longer than its room", withWordDocument(good.wordDocument, pieceTableTooLong), "wrong size"},
        {"a text length beyond the file", buildDoc(text, hugeCount), "larger than the file"},
        {"pieces shorter than the text", buildDoc(text, longerThanPieces), "does not cover"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r = penvox::word::readDocBytes(c.bytes);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.text, "");
        EXPECT_NE(r.error.find(c.errorPart), std::string::npos) << r.error;
    }
}

}  // namespace
