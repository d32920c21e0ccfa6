#include "nodes/system/guideIndex.h"

#include <nanoflann.hpp>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// nanoflann reads the points through this adaptor; it indexes the entries in place.
struct entrySource {
    const std::vector<guideEntry>* entries;

    size_t kdtree_get_point_count() const { return entries->size(); }
    double kdtree_get_pt(std::uint32_t index, size_t dimension) const {
        return (*entries)[index].position[dimension];
    }
    template <class box> bool kdtree_get_bbox(box&) const { return false; }
};

using kdTree =
    nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<double, entrySource>,
                                        entrySource, 3, std::uint32_t>;

// nanoflann's own radius result set keeps only distances strictly below the radius, and its
// leaves test `distance < worstDist()`. Reporting the next double above r² as the worst
// distance lets points exactly on the sphere through, and the explicit test below keeps the
// boundary inclusive and nothing more.
class inclusiveRadiusResult {
  public:
    using DistanceType = double;
    using IndexType = std::uint32_t;

    inclusiveRadiusResult(double radiusSquared, const std::vector<guideEntry>& entries,
                          std::vector<guideEntry>& hits)
        : radiusSquared(radiusSquared),
          bound(std::nextafter(radiusSquared, std::numeric_limits<double>::infinity())),
          entries(entries), hits(hits) {}

    size_t size() const { return hits.size(); }
    bool full() const { return true; }
    bool addPoint(double distanceSquared, std::uint32_t index) {
        if (distanceSquared <= radiusSquared) {
            hits.push_back(entries[index]);
        }
        return true;
    }
    double worstDist() const { return bound; }

  private:
    double radiusSquared;
    double bound;
    const std::vector<guideEntry>& entries;
    std::vector<guideEntry>& hits;
};

} // namespace

struct guideIndex::tree {
    entrySource source;
    kdTree index;

    explicit tree(const std::vector<guideEntry>& entries)
        : source{&entries}, index(3, source, nanoflann::KDTreeSingleIndexAdaptorParams(10)) {}
};

guideIndex::guideIndex() = default;
guideIndex::~guideIndex() = default;

bool guideIndex::insert(double x, double y, double z, int id) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        return false;
    }
    // A tree built before this insert no longer matches the entries it points into.
    searchTree.reset();
    entries.push_back(guideEntry{{x, y, z}, id});
    return true;
}

bool guideIndex::build() {
    searchTree.reset();
    if (entries.empty()) {
        return true;
    }
    try {
        auto built = std::make_unique<tree>(entries);
        built->index.buildIndex();
        searchTree = std::move(built);
    } catch (...) {
        return false;
    }
    return true;
}

void guideIndex::clear() {
    searchTree.reset();
    entries.clear();
}

void guideIndex::radiusQuery(const double point[3], double radius,
                             std::vector<guideEntry>& hits) const {
    hits.clear();
    if (!searchTree) {
        return;
    }
    inclusiveRadiusResult result(radius * radius, entries, hits);
    try {
        searchTree->index.findNeighbors(result, point, nanoflann::SearchParams());
    } catch (...) {
        hits.clear();
    }
}

bool guideIndex::nearest(const double point[3], guideEntry& hit) const {
    if (!searchTree) {
        return false;
    }
    std::uint32_t index = 0;
    double distanceSquared = 0.0;
    nanoflann::KNNResultSet<double, std::uint32_t> result(1);
    result.init(&index, &distanceSquared);
    try {
        searchTree->index.findNeighbors(result, point, nanoflann::SearchParams());
    } catch (...) {
        return false;
    }
    if (result.size() == 0) {
        return false;
    }
    hit = entries[index];
    return true;
}
