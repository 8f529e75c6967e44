#include "VersionInfo.h"

namespace {
size_t Aligned(size_t offset) {
    return (offset + 3) & ~size_t{3};
}
}  // namespace

const VersionInfo::Node* VersionInfo::Node::Child(const std::string& childKey) const {
    for (const Node& child : children)
        if (child.key == childKey) return &child;
    return nullptr;
}

bool VersionInfo::Parse(const std::vector<uint8_t>& block) {
    block_ = block;
    root_ = Node{};
    return ParseNode(0, block_.size(), root_, 0);
}

// A node: length, value length, type (16-bit each), the key in UTF-16 with its zero, padding to
// 4 bytes, the value (value length counts bytes, or UTF-16 units for text), padding, children.
bool VersionInfo::ParseNode(size_t at, size_t end, Node& node, int depth) {
    auto u16 = [&](size_t offset) {
        return static_cast<uint16_t>(block_[offset] | (block_[offset + 1] << 8));
    };
    auto fail = [&](const std::string& why) {
        error_ = why;
        return false;
    };
    if (depth > 4 || end - at < 6) return fail("node header outside the block");
    const size_t length = u16(at);
    const size_t valueLength = u16(at + 2);
    node.text = u16(at + 4) == 1;
    if (length < 6 || length > end - at) return fail("node length outside the block");
    const size_t nodeEnd = at + length;
    size_t p = at + 6;
    for (;; p += 2) {
        if (p + 2 > nodeEnd) return fail("key without end");
        const uint16_t unit = u16(p);
        if (unit == 0) break;
        node.key.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    p = Aligned(p + 2);
    const size_t valueBytes = node.text ? 2 * valueLength : valueLength;
    if (valueBytes > 0) {
        if (p > nodeEnd || valueBytes > nodeEnd - p) return fail(node.key + ": value outside");
        node.bytes.assign(block_.begin() + static_cast<std::ptrdiff_t>(p),
                          block_.begin() + static_cast<std::ptrdiff_t>(p + valueBytes));
        if (node.text) {
            for (size_t i = 0; i < valueBytes; i += 2) {
                const uint16_t unit = u16(p + i);
                if (unit == 0) {
                    node.terminated = true;
                    break;
                }
                node.textValue.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
            }
        }
        p += valueBytes;
    }
    for (p = Aligned(p); p < nodeEnd; p = Aligned(p)) {
        Node child;
        if (!ParseNode(p, nodeEnd, child, depth + 1)) return false;
        p += u16(p);
        node.children.push_back(std::move(child));
    }
    return true;
}
