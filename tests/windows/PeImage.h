// A Windows module file read as bytes, independently of the system's loader: its exported names
// and its resources. Every offset in the file is checked before it is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PeImage {
  public:
    // False with a reason in Error() when the file cannot be read or is no PE image.
    bool Load(const std::string& path);
    const std::string& Error() const { return error_; }

    std::vector<std::string> ExportedNames() const;

    struct Resource {
        uint32_t type, id, language;
        std::vector<uint8_t> data;
    };
    // Every resource with a numeric type and id (named ones are skipped).
    std::vector<Resource> Resources() const;

  private:
    struct Section {
        uint32_t virtualAddress, virtualSize, fileOffset, fileSize;
    };
    struct Directory {
        uint32_t rva = 0, size = 0;
    };

    // The file offset of an address of the loaded image; false where no section holds it.
    bool Offset(uint32_t rva, uint32_t size, size_t& offset) const;
    bool Has(size_t offset, size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    template <typename T>
    T Read(size_t offset) const;
    std::string StringAt(uint32_t rva) const;
    void WalkResources(size_t directory, int depth, uint32_t ids[3], std::vector<Resource>& out,
                       int& budget) const;

    std::vector<uint8_t> bytes_;
    std::vector<Section> sections_;
    Directory exports_, resources_;
    std::string error_;
};
