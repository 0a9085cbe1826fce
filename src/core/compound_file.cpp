#include "core/compound_file.h"

#include <algorithm>

namespace penvox::cfb {

namespace {

constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kHeaderFatEntries = 109;
constexpr std::size_t kDirEntrySize = 128;
constexpr std::uint32_t kMiniSectorSize = 64;

constexpr std::uint8_t kTypeStream = 2;
constexpr std::uint8_t kTypeRoot = 5;

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

std::uint16_t u16At(std::string_view b, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

std::uint32_t u32At(std::string_view b, std::size_t at)
{
    return static_cast<std::uint32_t>(u16At(b, at)) | (static_cast<std::uint32_t>(u16At(b, at + 2)) << 16);
}

char16_t asciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool sameName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    return true;
}

}  // namespace

bool hasSignature(std::string_view bytes)
{
    if (bytes.size() < sizeof kSignature)
        return false;
    for (std::size_t i = 0; i < sizeof kSignature; ++i)
        if (static_cast<unsigned char>(bytes[i]) != kSignature[i])
            return false;
    return true;
}

bool CompoundFile::open(std::string_view bytes, std::string& error)
{
    *this = CompoundFile();
    bytes_ = bytes;
    if (!hasSignature(bytes)) {
        error = "not an OLE2 compound file";
        return false;
    }
    if (bytes.size() < 512) {
        error = "the file is truncated inside its header";
        return false;
    }
    if (u16At(bytes, 28) != 0xFFFE) {
        error = "the file header is damaged (byte order mark)";
        return false;
    }
    const unsigned shift = u16At(bytes, 30);
    if ((shift != 9 && shift != 12) || u16At(bytes, 32) != 6) {
        error = "the file header is damaged (unsupported sector size)";
        return false;
    }
    sectorShift_ = shift;
    sectorSize_ = 1u << shift;
    // The header fills the first sector; sector n starts at (n + 1) * size. A
    // last sector cut short is kept: streams may end before its end.
    const std::size_t afterHeader = bytes.size() > sectorSize_ ? bytes.size() - sectorSize_ : 0;
    sectorCount_ = static_cast<std::uint32_t>(
        std::min<std::size_t>((afterHeader + sectorSize_ - 1) / sectorSize_, kMaxRegularSector));
    miniCutoff_ = u32At(bytes, 56);
    const bool version4 = u16At(bytes, 26) == 4 && shift == 12;

    // The allocation table's own sectors: the first 109 listed in the header,
    // the rest in a chain of extension sectors whose last entry links onwards.
    const std::uint32_t fatSectors = u32At(bytes, 44);
    if (fatSectors > sectorCount_) {
        error = "the file is damaged (the allocation table is larger than the file)";
        return false;
    }
    std::vector<std::uint32_t> fatLocations;
    fatLocations.reserve(fatSectors);
    for (std::size_t i = 0; i < kHeaderFatEntries && fatLocations.size() < fatSectors; ++i)
        fatLocations.push_back(u32At(bytes, 76 + 4 * i));
    {
        std::uint32_t next = u32At(bytes, 68);
        std::vector<bool> seen(sectorCount_, false);
        const std::size_t perSector = sectorSize_ / 4 - 1;
        while (fatLocations.size() < fatSectors) {
            if (next >= sectorCount_) {
                error = "the file is damaged (the allocation table's list ends early)";
                return false;
            }
            if (seen[next]) {
                error = "the file is damaged (the allocation table's list loops)";
                return false;
            }
            seen[next] = true;
            const std::size_t at = static_cast<std::size_t>(next + 1) << sectorShift_;
            if (at + sectorSize_ > bytes.size()) {
                error = "the file is truncated (the allocation table's list is cut off)";
                return false;
            }
            for (std::size_t i = 0; i < perSector && fatLocations.size() < fatSectors; ++i)
                fatLocations.push_back(u32At(bytes, at + 4 * i));
            next = u32At(bytes, at + 4 * perSector);
        }
    }
    fat_.reserve(static_cast<std::size_t>(fatSectors) * (sectorSize_ / 4));
    for (std::uint32_t location : fatLocations) {
        if (location >= sectorCount_) {
            error = "the file is damaged (an allocation table sector lies outside the file)";
            return false;
        }
        const std::size_t at = static_cast<std::size_t>(location + 1) << sectorShift_;
        for (std::size_t i = 0; i < sectorSize_ / 4; ++i) {
            const std::size_t entryAt = at + 4 * i;
            // A cut-off last sector reads as free sectors: any chain through
            // them fails where it needs them.
            fat_.push_back(entryAt + 4 <= bytes.size() ? u32At(bytes, entryAt) : kFreeSector);
        }
    }

    std::string directory;
    if (!readChain(u32At(bytes, 48), 0, true, directory, error)) {
        error.insert(0, "the file's directory is damaged: ");
        return false;
    }
    const std::size_t entryCount = directory.size() / kDirEntrySize;
    if (entryCount == 0) {
        error = "the file's directory is empty";
        return false;
    }
    entries_.resize(entryCount);
    for (std::size_t i = 0; i < entryCount; ++i) {
        const std::string_view raw(directory.data() + i * kDirEntrySize, kDirEntrySize);
        Entry& e = entries_[i];
        // The name's length counts bytes with the terminating zero; a length
        // out of range is read up to the first zero instead.
        std::size_t units = u16At(raw, 64) / 2;
        if (units == 0 || units > 32)
            units = 33;
        for (std::size_t k = 0; k + 1 < units && k < 32; ++k) {
            const char16_t c = u16At(raw, 2 * k);
            if (c == 0)
                break;
            e.name.push_back(c);
        }
        e.type = static_cast<std::uint8_t>(raw[66]);
        e.left = u32At(raw, 68);
        e.right = u32At(raw, 72);
        e.child = u32At(raw, 76);
        e.start = u32At(raw, 116);
        // Version 3 files may leave garbage in the size's high half.
        e.size = version4 ? (static_cast<std::uint64_t>(u32At(raw, 124)) << 32 | u32At(raw, 120)) : u32At(raw, 120);
    }
    if (entries_[0].type != kTypeRoot) {
        error = "the file's directory is damaged (no root entry)";
        return false;
    }

    // The root storage's children: the tree hanging from the root's child
    // link, walked without recursion; each entry is visited at most once.
    {
        std::vector<bool> seen(entryCount, false);
        std::vector<std::uint32_t> pending{entries_[0].child};
        while (!pending.empty()) {
            const std::uint32_t index = pending.back();
            pending.pop_back();
            if (index == kNoStream || index >= entryCount || index == 0 || seen[index])
                continue;
            seen[index] = true;
            rootChildren_.push_back(index);
            pending.push_back(entries_[index].left);
            pending.push_back(entries_[index].right);
        }
    }

    // Small streams live in the mini stream (the root entry's own stream), in
    // 64-byte sectors chained by the mini allocation table. A damaged mini
    // stream fails only the reads that need it.
    const Entry& root = entries_[0];
    std::string ignored;
    if (root.size > 0 && !readChain(root.start, root.size, false, miniStream_, ignored))
        miniStream_.clear();
    std::string miniFatBytes;
    if (u32At(bytes, 60) < kMaxRegularSector &&
        readChain(u32At(bytes, 60), 0, true, miniFatBytes, ignored)) {
        miniFat_.reserve(miniFatBytes.size() / 4);
        for (std::size_t at = 0; at + 4 <= miniFatBytes.size(); at += 4)
            miniFat_.push_back(u32At(miniFatBytes, at));
    }
    return true;
}

const CompoundFile::Entry* CompoundFile::findRootStream(std::u16string_view name) const
{
    for (std::uint32_t index : rootChildren_) {
        const Entry& e = entries_[index];
        if (e.type == kTypeStream && sameName(e.name, name))
            return &e;
    }
    return nullptr;
}

bool CompoundFile::hasStream(std::u16string_view name) const { return findRootStream(name) != nullptr; }

bool CompoundFile::readStream(std::u16string_view name, std::string& out, std::string& error) const
{
    out.clear();
    const Entry* e = findRootStream(name);
    if (e == nullptr) {
        error = "the stream is missing";
        return false;
    }
    if (e->size < miniCutoff_)
        return readMiniChain(e->start, e->size, out, error);
    return readChain(e->start, e->size, false, out, error);
}

// Follows a chain of sectors from `start`. With `untilEnd` the chain is read
// to its end mark (the directory and mini table, whose size the header does
// not give); otherwise exactly `size` bytes are read and the chain must hold
// them. Every step is checked: a sector outside the file, a reserved value in
// the middle of a chain, or a sector met twice ends the read with an error.
bool CompoundFile::readChain(std::uint32_t start, std::uint64_t size, bool untilEnd, std::string& out,
                             std::string& error) const
{
    out.clear();
    if (!untilEnd) {
        if (size == 0)
            return true;
        const std::uint64_t available = static_cast<std::uint64_t>(sectorCount_) * sectorSize_;
        if (size > available) {
            error = "a stream is larger than the file";
            return false;
        }
        out.reserve(static_cast<std::size_t>(size));
    }
    std::vector<bool> seen(sectorCount_, false);
    std::uint32_t current = start;
    for (;;) {
        if (current == kEndOfChain) {
            if (untilEnd)
                return true;
            error = "a stream ends before its length";
            return false;
        }
        if (current >= sectorCount_ || current >= fat_.size()) {
            error = "a stream points outside the file";
            return false;
        }
        if (seen[current]) {
            error = "a stream's sector chain loops";
            return false;
        }
        seen[current] = true;
        const std::size_t at = static_cast<std::size_t>(current + 1) << sectorShift_;
        const std::size_t present = std::min<std::size_t>(sectorSize_, bytes_.size() - at);
        if (untilEnd) {
            out.append(bytes_.substr(at, present));
        } else {
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sectorSize_, size - out.size()));
            if (present < want) {
                error = "the file is truncated";
                return false;
            }
            out.append(bytes_.substr(at, want));
            if (out.size() == size)
                return true;
        }
        current = fat_[current];
    }
}

bool CompoundFile::readMiniChain(std::uint32_t start, std::uint64_t size, std::string& out, std::string& error) const
{
    out.clear();
    if (size == 0)
        return true;
    const std::size_t miniSectors = (miniStream_.size() + kMiniSectorSize - 1) / kMiniSectorSize;
    if (size > static_cast<std::uint64_t>(miniSectors) * kMiniSectorSize) {
        error = "a small stream is larger than the mini stream";
        return false;
    }
    out.reserve(static_cast<std::size_t>(size));
    std::vector<bool> seen(miniSectors, false);
    std::uint32_t current = start;
    while (out.size() < size) {
        if (current >= miniSectors || current >= miniFat_.size()) {
            error = current == kEndOfChain ? "a small stream ends before its length"
                                           : "a small stream points outside the mini stream";
            return false;
        }
        if (seen[current]) {
            error = "a small stream's sector chain loops";
            return false;
        }
        seen[current] = true;
        const std::size_t at = static_cast<std::size_t>(current) * kMiniSectorSize;
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kMiniSectorSize, size - out.size()));
        if (miniStream_.size() - at < want) {
            error = "a small stream is cut off";
            return false;
        }
        out.append(miniStream_, at, want);
        current = miniFat_[current];
    }
    return true;
}

}  // namespace penvox::cfb
