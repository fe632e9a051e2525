#include "plugins/mvbarcodedm/candidate_areas.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace mvbarcodedm {
namespace {

// A change between neighbours of more than this is an edge.
constexpr int kEdgeStep = 64;
// Along both axes: the rarer direction has at least a third of the other's
// edges (a field of modules has about as many each way, even turned; where
// bars end, a cell has many times more across the bars).
constexpr int32_t kMaxEdgeRatio = 3;
// ... and its edges lie on several lines each way: the ends of bars make
// edges along one or two lines only.
constexpr int32_t kMinEdgeLines = 3;
// Cells are measured at two sizes: large modules need large cells to show
// several edge lines.
constexpr int32_t kCellSizes[] = {kCandidateCell, 3 * kCandidateCell};
// Cells (of the small size) added around a candidate for the symbol's edge
// and its quiet zone.
constexpr int32_t kMargin = 2;

struct Grid {
    int32_t columns, rows;
    std::vector<uint8_t> marked;  // per cell of the small size: 0 no, 1 candidate, 2 taken
};

// Marks on `grid` the cells, widened by the margin, that cells of `size`
// pixels find to change often along both axes.
void markCandidates(const barcode::GreyImage& picture, int32_t size, Grid& grid) {
    const int32_t columns = (picture.width + size - 1) / size, rows = (picture.height + size - 1) / size;
    const size_t cells = size_t(columns) * rows;
    std::vector<int32_t> across(cells), down(cells);
    // Which lines of each cell hold an edge: columns for edges across, rows for edges down.
    std::vector<uint8_t> acrossLines(cells * size), downLines(cells * size);
    const uint8_t* p = picture.pixels.data();
    const size_t w = size_t(picture.width);
    for (int32_t y = 0; y < picture.height; ++y) {
        const size_t cellRow = size_t(y / size) * columns;
        for (int32_t x = 0; x < picture.width; ++x) {
            const size_t at = size_t(y) * w + x;
            const size_t cell = cellRow + size_t(x / size);
            if (x + 1 < picture.width && std::abs(p[at] - p[at + 1]) > kEdgeStep) {
                ++across[cell];
                acrossLines[cell * size + size_t(x % size)] = 1;
            }
            if (y + 1 < picture.height && std::abs(p[at] - p[at + w]) > kEdgeStep) {
                ++down[cell];
                downLines[cell * size + size_t(y % size)] = 1;
            }
        }
    }
    const int32_t minEdges = size / 2, scale = size / kCandidateCell;
    for (size_t cell = 0; cell < cells; ++cell) {
        const int32_t rare = std::min(across[cell], down[cell]), common = std::max(across[cell], down[cell]);
        if (rare < minEdges || rare * kMaxEdgeRatio < common) continue;
        const auto lines = [&](const std::vector<uint8_t>& l) {
            return std::count(l.begin() + ptrdiff_t(cell * size), l.begin() + ptrdiff_t((cell + 1) * size), 1);
        };
        if (lines(acrossLines) < kMinEdgeLines || lines(downLines) < kMinEdgeLines) continue;
        const int32_t cx = int32_t(cell % columns) * scale, cy = int32_t(cell / columns) * scale;
        for (int32_t my = std::max(0, cy - kMargin); my <= std::min(grid.rows - 1, cy + scale - 1 + kMargin); ++my)
            for (int32_t mx = std::max(0, cx - kMargin); mx <= std::min(grid.columns - 1, cx + scale - 1 + kMargin);
                 ++mx)
                grid.marked[size_t(my) * grid.columns + mx] = 1;
    }
}

}  // namespace

std::vector<Area> CandidateAreas(const barcode::GreyImage& picture) {
    Grid grid{(picture.width + kCandidateCell - 1) / kCandidateCell,
              (picture.height + kCandidateCell - 1) / kCandidateCell, {}};
    grid.marked.assign(size_t(grid.columns) * grid.rows, 0);
    for (int32_t size : kCellSizes) markCandidates(picture, size, grid);
    const int32_t columns = grid.columns, rows = grid.rows;
    std::vector<uint8_t>& marked = grid.marked;
    // Connected groups of marked cells, as bounding rectangles in cells.
    std::vector<Area> cells;
    std::vector<int32_t> stack;
    for (int32_t start = 0; start < columns * rows; ++start) {
        if (marked[size_t(start)] != 1) continue;
        int32_t x0 = columns, y0 = rows, x1 = -1, y1 = -1;
        marked[size_t(start)] = 2;
        stack.push_back(start);
        while (!stack.empty()) {
            const int32_t at = stack.back();
            stack.pop_back();
            const int32_t cx = at % columns, cy = at / columns;
            x0 = std::min(x0, cx), y0 = std::min(y0, cy), x1 = std::max(x1, cx), y1 = std::max(y1, cy);
            for (int32_t ny = std::max(0, cy - 1); ny <= std::min(rows - 1, cy + 1); ++ny)
                for (int32_t nx = std::max(0, cx - 1); nx <= std::min(columns - 1, cx + 1); ++nx)
                    if (marked[size_t(ny) * columns + nx] == 1) {
                        marked[size_t(ny) * columns + nx] = 2;
                        stack.push_back(ny * columns + nx);
                    }
        }
        cells.push_back({x0, y0, x1 - x0 + 1, y1 - y0 + 1});
    }
    // Rectangles of groups may overlap where the groups do not: merge those.
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < cells.size() && !merged; ++i) {
            for (size_t j = i + 1; j < cells.size() && !merged; ++j) {
                const Area& a = cells[i];
                const Area& b = cells[j];
                if (a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
                    b.top < a.top + a.height) {
                    const int32_t l = std::min(a.left, b.left), t = std::min(a.top, b.top);
                    const int32_t r = std::max(a.left + a.width, b.left + b.width);
                    const int32_t bt = std::max(a.top + a.height, b.top + b.height);
                    cells[i] = {l, t, r - l, bt - t};
                    cells.erase(cells.begin() + ptrdiff_t(j));
                    merged = true;
                }
            }
        }
    }
    std::vector<Area> areas;
    for (const Area& c : cells) {
        const int32_t left = c.left * kCandidateCell, top = c.top * kCandidateCell;
        areas.push_back({left, top, std::min(c.width * kCandidateCell, picture.width - left),
                         std::min(c.height * kCandidateCell, picture.height - top)});
    }
    return areas;
}

barcode::GreyImage KeepAreas(const barcode::GreyImage& picture, const std::vector<Area>& areas) {
    barcode::GreyImage kept{picture.width, picture.height, std::vector<uint8_t>(picture.pixels.size(), 255)};
    for (const Area& area : areas) {
        for (int32_t y = area.top; y < area.top + area.height; ++y) {
            const size_t at = size_t(y) * picture.width + area.left;
            std::copy_n(picture.pixels.data() + at, area.width, kept.pixels.data() + at);
        }
    }
    return kept;
}

}  // namespace mvbarcodedm
