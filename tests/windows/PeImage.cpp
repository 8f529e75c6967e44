#include "PeImage.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

template <typename T>
T PeImage::Read(size_t offset) const {
    T value{};
    if (Has(offset, sizeof value)) std::memcpy(&value, bytes_.data() + offset, sizeof value);
    return value;
}

bool PeImage::Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error_ = "cannot open " + path;
        return false;
    }
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    const uint32_t pe = Read<uint32_t>(0x3C);
    if (Read<uint16_t>(0) != 0x5A4D || !Has(pe, 24) || Read<uint32_t>(pe) != 0x00004550) {
        error_ = path + " is no PE image";
        return false;
    }
    const size_t coff = pe + 4;
    const uint16_t sectionCount = Read<uint16_t>(coff + 2);
    const uint16_t optionalSize = Read<uint16_t>(coff + 16);
    const size_t optional = coff + 20;
    const uint16_t magic = Read<uint16_t>(optional);
    const size_t directories = optional + (magic == 0x20B ? 112 : 96);
    const uint32_t directoryCount = Read<uint32_t>(directories - 4);
    if ((magic != 0x10B && magic != 0x20B) || !Has(optional, optionalSize)) {
        error_ = path + ": unknown optional header";
        return false;
    }
    auto directory = [&](uint32_t index) {
        Directory d;
        if (index < directoryCount && directories + 8 * (index + 1) <= optional + optionalSize) {
            d.rva = Read<uint32_t>(directories + 8 * index);
            d.size = Read<uint32_t>(directories + 8 * index + 4);
        }
        return d;
    };
    exports_ = directory(0);
    resources_ = directory(2);
    const size_t table = optional + optionalSize;
    if (!Has(table, size_t{40} * sectionCount)) {
        error_ = path + ": section table outside the file";
        return false;
    }
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t at = table + 40 * i;
        sections_.push_back({Read<uint32_t>(at + 12), Read<uint32_t>(at + 8),
                             Read<uint32_t>(at + 20), Read<uint32_t>(at + 16)});
    }
    return true;
}

bool PeImage::Offset(uint32_t rva, uint32_t size, size_t& offset) const {
    for (const Section& s : sections_) {
        const uint64_t end = uint64_t{s.virtualAddress} + std::min(s.virtualSize, s.fileSize);
        if (rva >= s.virtualAddress && uint64_t{rva} + size <= end) {
            offset = s.fileOffset + (rva - s.virtualAddress);
            return Has(offset, size);
        }
    }
    return false;
}

std::string PeImage::StringAt(uint32_t rva) const {
    size_t at = 0;
    std::string text;
    if (!Offset(rva, 1, at)) return text;
    while (Has(at, 1) && bytes_[at] != 0 && text.size() < 4096)
        text.push_back(static_cast<char>(bytes_[at++]));
    return text;
}

std::vector<std::string> PeImage::ExportedNames() const {
    std::vector<std::string> names;
    size_t at = 0;
    if (exports_.rva == 0 || !Offset(exports_.rva, 40, at)) return names;
    const uint32_t count = Read<uint32_t>(at + 24);
    size_t pointers = 0;
    if (count > 65536 || !Offset(Read<uint32_t>(at + 32), 4 * count, pointers)) return names;
    for (uint32_t i = 0; i < count; ++i)
        names.push_back(StringAt(Read<uint32_t>(pointers + 4 * i)));
    return names;
}

std::vector<PeImage::Resource> PeImage::Resources() const {
    std::vector<Resource> out;
    size_t root = 0;
    if (resources_.rva == 0 || !Offset(resources_.rva, 16, root)) return out;
    uint32_t ids[3] = {};
    int budget = 4096;  // entries visited at most, whatever loops a broken file may hold
    WalkResources(root, 0, ids, out, budget);
    return out;
}

// Three levels: type, id, language; a leaf is a data entry (address, size).
void PeImage::WalkResources(size_t directory, int depth, uint32_t ids[3],
                            std::vector<Resource>& out, int& budget) const {
    size_t root = 0;
    Offset(resources_.rva, 16, root);
    const uint16_t named = Read<uint16_t>(directory + 12);
    const uint16_t numbered = Read<uint16_t>(directory + 14);
    for (uint32_t i = 0; i < uint32_t{named} + numbered && --budget > 0; ++i) {
        const size_t entry = directory + 16 + 8 * i;
        if (!Has(entry, 8)) return;
        const uint32_t name = Read<uint32_t>(entry);
        const uint32_t target = Read<uint32_t>(entry + 4);
        if (name & 0x80000000u) continue;
        ids[depth] = name;
        const size_t next = root + (target & 0x7FFFFFFFu);
        if (target & 0x80000000u) {
            if (depth < 2) WalkResources(next, depth + 1, ids, out, budget);
        } else if (depth == 2 && Has(next, 16)) {
            const uint32_t size = Read<uint32_t>(next + 4);
            size_t data = 0;
            if (!Offset(Read<uint32_t>(next), size, data)) continue;
            out.push_back(
                {ids[0], ids[1], ids[2],
                 std::vector<uint8_t>(bytes_.begin() + static_cast<std::ptrdiff_t>(data),
                                      bytes_.begin() + static_cast<std::ptrdiff_t>(data + size))});
        }
    }
}
