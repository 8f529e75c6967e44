// A version resource (VS_VERSIONINFO) read into its tree of keys and values: the fixed file
// information at the root, StringFileInfo with its string tables, VarFileInfo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class VersionInfo {
  public:
    struct Node {
        std::string key;
        bool text = false;           // a text value (wType 1), else bytes
        std::vector<uint8_t> bytes;  // the value as stored
        std::string textValue;       // a text value up to its terminating zero
        bool terminated = false;     // the text value ends in a zero
        std::vector<Node> children;

        const Node* Child(const std::string& childKey) const;
    };

    // False with a reason in Error() when a length or key runs outside the block.
    bool Parse(const std::vector<uint8_t>& block);
    const std::string& Error() const { return error_; }
    const Node& Root() const { return root_; }

  private:
    bool ParseNode(size_t at, size_t end, Node& node, int depth);

    std::vector<uint8_t> block_;
    Node root_;
    std::string error_;
};
