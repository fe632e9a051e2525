#pragma once
// The octree colour quantiser: the colours of 24-bit pixels collected in a
// tree of eight levels, one per bit of the channels (the root's children
// chosen by bit 7, red giving 4, green 2 and blue 1), merged deepest first
// whenever the tree holds more leaves than colours are allowed, one palette
// entry per leaf (the truncated mean of the pixels that reached it).
//
// Nodes come from one pool that starts with 1,024 slots and grows by 1,024,
// and from a free list of merged-away nodes; inner nodes of each level wait on
// that level's list of reducible nodes, the node listed last merged first.
#include <array>
#include <cstdint>
#include <vector>

namespace scanvelt {

class Octree {
public:
    // Inserts the pixels of `height` rows of 24-bit pixels (blue, green, red),
    // `stride` bytes apart with `fill` bytes after each row's pixels, the last
    // row first and each row from its last pixel, reducing after every insert
    // while the leaves exceed `limit`; then fills the palette.
    void Build(int32_t stride, int32_t height, int32_t fill, const uint8_t* bytes, int32_t limit,
               int32_t depth = 8);
    // The palette index of a colour of the built tree. A colour whose path
    // meets a missing child goes on through the node's first child.
    uint8_t ColorIndex(uint8_t blue, uint8_t green, uint8_t red) const;
    // The highest palette index: the number of leaves minus 1.
    int32_t ColorCount() const { return nextPaletteIndex_; }
    // EngineFailure for an index outside the palette.
    void PaletteEntry(int32_t index, uint8_t& blue, uint8_t& green, uint8_t& red) const;

private:
    struct Node {
        bool isLeaf = false;
        bool isListed = false;
        int32_t nodeCount = 0;
        double sumBlue = 0;
        double sumGreen = 0;
        double sumRed = 0;
        std::array<int32_t, 8> child{};
        int32_t nextNode = 0;
        int32_t paletteIndex = 0;
    };
    struct Colour {
        uint8_t red = 0;
        uint8_t green = 0;
        uint8_t blue = 0;
    };

    static int32_t ChildIndex(int32_t level, uint8_t blue, uint8_t green, uint8_t red);
    void Init();
    // Returns the leaf the colour reached.
    int32_t Insert(int32_t depth, int32_t& leaves, uint8_t blue, uint8_t green, uint8_t red);
    bool Reduce(int32_t& leaves, int32_t depth);
    int32_t NewNode();
    void FreeNode(int32_t node);
    void FillPalette(int32_t node);

    std::vector<Node> pool_;
    int32_t liveNodes_ = 0;
    int32_t freeNode_ = 0;
    std::array<int32_t, 8> reducibleHead_{};
    std::vector<Colour> palette_;
    int32_t nextPaletteIndex_ = 0;
    // Merges made so far: a leaf found for a colour stays its leaf until the
    // next merge.
    int64_t merges_ = 0;
};

}  // namespace scanvelt
