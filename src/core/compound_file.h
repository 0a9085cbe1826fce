#pragma once
// A read-only reader of OLE2 compound files (the container of Word 97-2003
// documents): the header, the sector allocation table (with its extension
// sectors beyond the 109 entries the header holds), the mini allocation table
// and mini stream for small streams, and the directory. Sector sizes of 512
// and 4096 bytes are read.
//
// The file is untrusted: every sector number, chain and directory link is
// checked against the file's real size, chains that loop are refused, and no
// amount of memory is allocated that the file's own size does not bound.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace penvox::cfb {

// The eight bytes every compound file starts with.
bool hasSignature(std::string_view bytes);

class CompoundFile {
public:
    // Parses `bytes`, which must outlive this object. Returns false with a
    // short English reason when the file is not a compound file or is damaged.
    bool open(std::string_view bytes, std::string& error);

    // Whether the root storage holds a stream of that name (names compare
    // without regard to ASCII case, as the format's own names do).
    bool hasStream(std::u16string_view name) const;

    // The whole content of a stream of the root storage. False with a reason
    // when it is missing or its sectors cannot be followed.
    bool readStream(std::u16string_view name, std::string& out, std::string& error) const;

private:
    struct Entry {
        std::u16string name;
        std::uint8_t type = 0;
        std::uint32_t left = 0, right = 0, child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    bool readChain(std::uint32_t start, std::uint64_t size, bool untilEnd, std::string& out,
                   std::string& error) const;
    bool readMiniChain(std::uint32_t start, std::uint64_t size, std::string& out, std::string& error) const;
    const Entry* findRootStream(std::u16string_view name) const;

    std::string_view bytes_;
    unsigned sectorShift_ = 9;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t sectorCount_ = 0;  // whole or partial sectors present after the header
    std::uint32_t miniCutoff_ = 4096;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::string miniStream_;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> rootChildren_;
};

}  // namespace penvox::cfb
