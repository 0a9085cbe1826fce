#include "core/word_doc.h"

#include "core/compound_file.h"
#include "core/gbk_codec.h"
#include "core/word_docx.h"

#include <cerrno>
#include <cstdint>
#include <initializer_list>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace penvox::word {

namespace {

constexpr std::uint16_t kWordIdent = 0xA5EC;
constexpr std::uint16_t kFirstWord97Version = 0x00C0;
constexpr std::uint16_t kFlagEncrypted = 0x0100;
constexpr std::uint16_t kFlagTableStream1 = 0x0200;
constexpr std::size_t kFibBaseSize = 32;
constexpr std::size_t kClxIndex = 33;  // fcClx/lcbClx is the 34th pair of the FIB's offset table
constexpr std::uint32_t kFcCompressed = 0x40000000;
constexpr std::uint32_t kFcMask = 0x3FFFFFFF;

// Bytes 0x80..0x9F of 8-bit text, as code page 1252 reads them (the five
// bytes it leaves unassigned stay as they are).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::uint16_t u16At(std::string_view b, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

std::uint32_t u32At(std::string_view b, std::size_t at)
{
    return static_cast<std::uint32_t>(u16At(b, at)) | (static_cast<std::uint32_t>(u16At(b, at + 2)) << 16);
}


std::string damaged(std::string_view what)
{
    std::string message = "the document is damaged (";
    message.append(what);
    message.push_back(')');
    return message;
}

// The main text's characters as stored, concatenated piece after piece. The
// Clx starts with any number of property entries (0x01, a 16-bit size, that
// many bytes), then the piece table entry (0x02, a 32-bit size, the PlcPcd:
// n + 1 character positions followed by n 8-byte piece descriptors).
bool collectPieces(std::string_view wordDocument, std::string_view clx, std::uint32_t ccpText,
                   std::u16string& text, std::string& error)
{
    std::size_t pos = 0;
    while (pos < clx.size() && clx[pos] == 0x01) {
        if (pos + 3 > clx.size()) {
            error = damaged("the piece table is cut off");
            return false;
        }
        const auto cb = static_cast<std::int16_t>(u16At(clx, pos + 1));
        if (cb < 0) {
            error = damaged("the piece table is malformed");
            return false;
        }
        pos += 3 + static_cast<std::size_t>(cb);
    }
    if (pos + 5 > clx.size() || clx[pos] != 0x02) {
        error = damaged("the piece table is missing");
        return false;
    }
    const std::uint32_t lcb = u32At(clx, pos + 1);
    pos += 5;
    if (lcb > clx.size() - pos || lcb < 4 || (lcb - 4) % 12 != 0) {
        error = damaged("the piece table has a wrong size");
        return false;
    }
    const std::size_t pieces = (lcb - 4) / 12;
    const std::size_t cps = pos;
    const std::size_t descriptors = pos + 4 * (pieces + 1);

    text.reserve(ccpText);
    for (std::size_t i = 0; i < pieces && text.size() < ccpText; ++i) {
        const std::uint32_t cpStart = u32At(clx, cps + 4 * i);
        const std::uint32_t cpEnd = u32At(clx, cps + 4 * (i + 1));
        // Pieces follow each other without gaps from character 0 on.
        if (cpStart != text.size() || cpEnd < cpStart) {
            error = damaged("the piece table is out of order");
            return false;
        }
        const std::size_t count = std::min<std::size_t>(cpEnd - cpStart, ccpText - text.size());
        const std::uint32_t fc = u32At(clx, descriptors + 8 * i + 2);
        if (fc & kFcCompressed) {
            const std::size_t at = (fc & kFcMask) / 2;
            if (at > wordDocument.size() || count > wordDocument.size() - at) {
                error = damaged("a piece of text lies outside the document");
                return false;
            }
            for (std::size_t k = 0; k < count; ++k) {
                const auto byte = static_cast<unsigned char>(wordDocument[at + k]);
                text.push_back(byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : static_cast<char16_t>(byte));
            }
        } else {
            const std::size_t at = fc & kFcMask;
            if (at > wordDocument.size() || count > (wordDocument.size() - at) / 2) {
                error = damaged("a piece of text lies outside the document");
                return false;
            }
            for (std::size_t k = 0; k < count; ++k)
                text.push_back(static_cast<char16_t>(u16At(wordDocument, at + 2 * k)));
        }
    }
    if (text.size() < ccpText) {
        error = damaged("the piece table does not cover the text");
        return false;
    }
    return true;
}

// Word's marks to plain text (see word_doc.h). With `honourFields` a field's
// code is dropped and its result kept; `unclosed` reports a field still open
// at the end, in which case the caller reads again without dropping codes.
std::u16string plainText(std::u16string_view stored, bool honourFields, bool& unclosed)
{
    std::u16string out;
    out.reserve(stored.size() + stored.size() / 16);
    std::vector<bool> fieldInResult;  // one per open field: past its separator?
    std::size_t fieldsInCode = 0;
    for (const char16_t c : stored) {
        switch (c) {
        case 0x13:  // field begin
            fieldInResult.push_back(false);
            ++fieldsInCode;
            continue;
        case 0x14:  // field separator: the result follows
            if (!fieldInResult.empty() && !fieldInResult.back()) {
                fieldInResult.back() = true;
                --fieldsInCode;
            }
            continue;
        case 0x15:  // field end
            if (!fieldInResult.empty()) {
                if (!fieldInResult.back())
                    --fieldsInCode;
                fieldInResult.pop_back();
            }
            continue;
        default:
            break;
        }
        if (honourFields && fieldsInCode > 0)
            continue;
        switch (c) {
        case 0x0D:  // paragraph end
        case 0x0B:  // line break
        case 0x07:  // cell end, row end
        case 0x0C:  // page or section break
        case 0x0E:  // column break
            out.append(u"\r\n");
            break;
        case 0x09:
            out.push_back(u'\t');
            break;
        case 0x1E:  // non-breaking hyphen
            out.push_back(u'-');
            break;
        default:
            // Optional hyphen (0x1F), picture and object anchors (0x01, 0x08),
            // note references (0x02) and the like show nothing.
            if (c >= 0x20)
                out.push_back(c);
            break;
        }
    }
    unclosed = !fieldInResult.empty();
    return out;
}

}  // namespace

ReadResult readDocBytes(std::string_view bytes)
{
    if (bytes.empty())
        return failure("the file is empty");
    if (bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4) || bytes.substr(0, 4) == std::string_view("PK\x05\x06", 4))
        return readDocxBytes(bytes);
    if (bytes.substr(0, 5) == "{\\rtf")
        return failure("the file is an RTF document, not a Word 97-2003 document");
    if (!cfb::hasSignature(bytes))
        return failure("not a Word document (neither Word 97-2003 nor .docx)");

    cfb::CompoundFile file;
    std::string error;
    if (!file.open(bytes, error))
        return failure(damaged(error));
    if (file.hasStream(u"EncryptedPackage"))
        return failure("the document is password-protected");
    if (!file.hasStream(u"WordDocument"))
        return failure("not a Word document (the file holds no WordDocument stream)");

    std::string wordDocument;
    if (!file.readStream(u"WordDocument", wordDocument, error))
        return failure(damaged(error));
    if (wordDocument.size() < kFibBaseSize + 2)
        return failure(damaged("the file information block is cut off"));
    if (u16At(wordDocument, 0) != kWordIdent)
        return failure("not a Word 97-2003 document (unknown identifier)");
    const std::uint16_t flags = u16At(wordDocument, 10);
    if (flags & kFlagEncrypted)
        return failure("the document is password-protected");
    if (u16At(wordDocument, 2) < kFirstWord97Version)
        return failure("Word 6.0/95 and older documents are not supported; save it as .docx or Word 97-2003");

    // The file information block: a fixed base, then three arrays each led by
    // its length (16-bit words, 32-bit longs, 64-bit offset/length pairs).
    const std::size_t cswAt = kFibBaseSize;
    const std::size_t lwCountAt = cswAt + 2 + 2 * std::size_t{u16At(wordDocument, cswAt)};
    if (lwCountAt + 2 > wordDocument.size())
        return failure(damaged("the file information block is cut off"));
    const std::size_t lwAt = lwCountAt + 2;
    const std::size_t lwCount = u16At(wordDocument, lwCountAt);
    const std::size_t pairCountAt = lwAt + 4 * lwCount;
    if (lwCount < 4 || pairCountAt + 2 > wordDocument.size())
        return failure(damaged("the file information block is cut off"));
    const std::size_t pairCount = u16At(wordDocument, pairCountAt);
    const std::size_t clxAt = pairCountAt + 2 + 8 * kClxIndex;
    if (pairCount <= kClxIndex || clxAt + 8 > wordDocument.size())
        return failure(damaged("the file information block is cut off"));
    const std::uint32_t ccpText = u32At(wordDocument, lwAt + 12);
    const std::uint32_t fcClx = u32At(wordDocument, clxAt);
    const std::uint32_t lcbClx = u32At(wordDocument, clxAt + 4);
    // Every character takes at least one byte of the stream that holds it.
    if (ccpText > wordDocument.size())
        return failure(damaged("the text length is larger than the file"));

    std::u16string stored;
    if (ccpText > 0) {
        const std::u16string_view tableName = (flags & kFlagTableStream1) ? u"1Table" : u"0Table";
        if (!file.hasStream(tableName))
            return failure(damaged("the table stream is missing"));
        std::string table;
        if (!file.readStream(tableName, table, error))
            return failure(damaged(error));
        if (fcClx > table.size() || lcbClx > table.size() - fcClx)
            return failure(damaged("the piece table lies outside the table stream"));
        if (!collectPieces(wordDocument, std::string_view(table).substr(fcClx, lcbClx), ccpText, stored, error))
            return failure(error);
    }

    bool unclosed = false;
    std::u16string text = plainText(stored, true, unclosed);
    if (unclosed)
        text = plainText(stored, false, unclosed);
    ReadResult result;
    result.ok = true;
    if (text != u"\r\n")
        result.text = gbk::fromUtf16(text);
    return result;
}

ReadResult readDoc(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        if (code == ENOENT)
            return failure("the file does not exist");
        return failure(cat({"cannot open the file: ", std::generic_category().message(code)}));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return failure("not a regular file");
    }
    if (static_cast<std::uint64_t>(st.st_size) > kMaxDocFileBytes) {
        ::close(fd);
        return failure("the file is too large (over 512 MiB)");
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int code = errno;
            ::close(fd);
            return failure(cat({"cannot read the file: ", std::generic_category().message(code)}));
        }
        if (n == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(n) > kMaxDocFileBytes) {
            ::close(fd);
            return failure("the file is too large (over 512 MiB)");
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return readDocBytes(bytes);
}

}  // namespace penvox::word
