#include "imaging/engine/quantiser/octree.h"

#include <cmath>

#include "imaging/engine/engine_numeric.h"

namespace scanvelt {

namespace {

constexpr int32_t kPoolStep = 1024;
constexpr int32_t kRoot = 1;

}  // namespace

int32_t Octree::ChildIndex(int32_t level, uint8_t blue, uint8_t green, uint8_t red) {
    const int32_t shift = 7 - level;
    return ((red >> shift) & 1) << 2 | ((green >> shift) & 1) << 1 | ((blue >> shift) & 1);
}

void Octree::Init() {
    reducibleHead_.fill(0);
    pool_.assign(kPoolStep + 1, Node{});  // slots 1 to 1,024; slot 0 unused
    freeNode_ = 0;
    nextPaletteIndex_ = 0;
    liveNodes_ = 1;
    merges_ = 0;
}

int32_t Octree::NewNode() {
    ++liveNodes_;
    if (freeNode_ != 0) {
        const int32_t node = freeNode_;
        freeNode_ = pool_[static_cast<size_t>(node)].nextNode;
        pool_[static_cast<size_t>(node)].child.fill(0);
        return node;
    }
    const int32_t node = liveNodes_;
    if (liveNodes_ % kPoolStep == 0) pool_.resize(static_cast<size_t>(liveNodes_) + kPoolStep + 1);
    return node;
}

void Octree::FreeNode(int32_t node) {
    Node& n = pool_[static_cast<size_t>(node)];
    n.nextNode = freeNode_;
    freeNode_ = node;
    n.isLeaf = false;
    n.isListed = false;
    --liveNodes_;
}

int32_t Octree::Insert(int32_t depth, int32_t& leaves, uint8_t blue, uint8_t green, uint8_t red) {
    int32_t parent = kRoot;
    for (int32_t level = 1;; ++level) {
        const auto i = static_cast<size_t>(ChildIndex(level - 1, blue, green, red));
        int32_t node = pool_[static_cast<size_t>(parent)].child[i];
        if (node == 0) {
            node = NewNode();  // may move the pool: no references held across it
            pool_[static_cast<size_t>(parent)].child[i] = node;
            ++pool_[static_cast<size_t>(parent)].nodeCount;
            Node& fresh = pool_[static_cast<size_t>(node)];
            fresh.nodeCount = 0;
            fresh.sumBlue = fresh.sumGreen = fresh.sumRed = 0;
            fresh.nextNode = 0;
            fresh.isLeaf = level == depth;
        }
        Node& n = pool_[static_cast<size_t>(node)];
        if (n.isLeaf) {
            if (n.nodeCount == 0) ++leaves;
            ++n.nodeCount;
            n.sumBlue += blue;
            n.sumGreen += green;
            n.sumRed += red;
            return node;
        }
        if (!n.isListed) {
            n.nextNode = reducibleHead_[static_cast<size_t>(level - 1)];
            reducibleHead_[static_cast<size_t>(level - 1)] = node;
            n.isListed = true;
        }
        parent = node;
    }
}

bool Octree::Reduce(int32_t& leaves, int32_t depth) {
    int32_t level = depth;
    while (level >= 1 && reducibleHead_[static_cast<size_t>(level - 1)] == 0) --level;
    if (level < 1) return false;
    const int32_t node = reducibleHead_[static_cast<size_t>(level - 1)];
    reducibleHead_[static_cast<size_t>(level - 1)] = pool_[static_cast<size_t>(node)].nextNode;

    double blue = 0, green = 0, red = 0;
    int32_t pixels = 0, merged = 0;
    for (size_t j = 0; j < 8; ++j) {
        const int32_t child = pool_[static_cast<size_t>(node)].child[j];
        if (child == 0) continue;
        const Node& c = pool_[static_cast<size_t>(child)];
        blue += c.sumBlue;
        green += c.sumGreen;
        red += c.sumRed;
        pixels = CheckedAdd(pixels, c.nodeCount);
        FreeNode(child);
        pool_[static_cast<size_t>(node)].child[j] = 0;
        ++merged;
    }
    leaves = leaves - merged + 1;
    Node& n = pool_[static_cast<size_t>(node)];
    n.nodeCount = pixels;
    n.sumBlue = blue;
    n.sumGreen = green;
    n.sumRed = red;
    n.isLeaf = true;
    ++merges_;
    return true;
}

void Octree::FillPalette(int32_t node) {
    const Node& n = pool_[static_cast<size_t>(node)];
    if (n.isLeaf) {
        if (static_cast<size_t>(nextPaletteIndex_) >= palette_.size()) throw EngineFailure("palette overflow");
        const double count = n.nodeCount;
        palette_[static_cast<size_t>(nextPaletteIndex_)] =
            Colour{static_cast<uint8_t>(std::floor(n.sumRed / count)), static_cast<uint8_t>(std::floor(n.sumGreen / count)),
                   static_cast<uint8_t>(std::floor(n.sumBlue / count))};
        pool_[static_cast<size_t>(node)].paletteIndex = nextPaletteIndex_;
        ++nextPaletteIndex_;
        return;
    }
    for (size_t j = 0; j < 8; ++j) {
        if (const int32_t child = pool_[static_cast<size_t>(node)].child[j]; child != 0) FillPalette(child);
    }
}

void Octree::Build(int32_t stride, int32_t height, int32_t fill, const uint8_t* bytes, int32_t limit, int32_t depth) {
    Init();
    const int32_t width = (stride - fill) / 3;
    int32_t leaves = 0;
    // A run of one colour reaches the same leaf until a merge happens, and
    // adds no leaf after its first pixel: it skips the walk down the tree.
    bool haveLast = false;
    uint8_t lastBlue = 0, lastGreen = 0, lastRed = 0;
    int32_t lastLeaf = 0;
    int64_t lastMerges = -1;
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t* row = bytes + static_cast<size_t>(y) * stride;
        for (int32_t x = width - 1; x >= 0; --x) {
            const uint8_t blue = row[3 * x], green = row[3 * x + 1], red = row[3 * x + 2];
            if (haveLast && lastMerges == merges_ && blue == lastBlue && green == lastGreen && red == lastRed) {
                Node& leaf = pool_[static_cast<size_t>(lastLeaf)];
                ++leaf.nodeCount;
                leaf.sumBlue += blue;
                leaf.sumGreen += green;
                leaf.sumRed += red;
                continue;
            }
            lastLeaf = Insert(depth, leaves, blue, green, red);
            while (leaves > limit) {
                if (!Reduce(leaves, depth)) break;
            }
            haveLast = true;
            lastBlue = blue;
            lastGreen = green;
            lastRed = red;
            lastMerges = merges_;
        }
    }
    palette_.assign(leaves <= 16 ? 16 : 256, Colour{});
    nextPaletteIndex_ = 0;
    FillPalette(kRoot);
    --nextPaletteIndex_;
}

uint8_t Octree::ColorIndex(uint8_t blue, uint8_t green, uint8_t red) const {
    int32_t node = kRoot;
    for (int32_t level = 0; level < 8; ++level) {
        const Node& n = pool_[static_cast<size_t>(node)];
        int32_t next = n.child[static_cast<size_t>(ChildIndex(level, blue, green, red))];
        if (next == 0) {
            for (const int32_t child : n.child) {
                if (child != 0) {
                    next = child;
                    break;
                }
            }
            if (next == 0) return 0;
        }
        if (pool_[static_cast<size_t>(next)].isLeaf) return static_cast<uint8_t>(pool_[static_cast<size_t>(next)].paletteIndex);
        node = next;
    }
    return 0;
}

void Octree::PaletteEntry(int32_t index, uint8_t& blue, uint8_t& green, uint8_t& red) const {
    if (index < 0 || static_cast<size_t>(index) >= palette_.size()) throw EngineFailure("subscript out of range");
    const Colour& c = palette_[static_cast<size_t>(index)];
    blue = c.blue;
    green = c.green;
    red = c.red;
}

}  // namespace scanvelt
