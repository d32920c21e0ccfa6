#pragma once
// Where the guides of a feather system stand: a 3-D k-d tree over the root positions of the
// borrowed guide paths, each entry carrying its guide's id. Built once per placement pass and
// queried once per feather root.
//
// Use: insert every guide, build, then query. Queries see the entries of the last build only;
// before any build (or after clear) they find nothing. Coordinates are doubles in world
// space; distances compared are squared Euclidean.
//
// Entries whose position is not finite are not stored: no distance to them could ever compare
// as within a radius or as smallest, so no query could find them.
//
// Nothing here throws; a build that runs out of memory leaves an index that finds nothing.

#include <memory>
#include <vector>

struct guideEntry {
    double position[3];
    int id;
};

class guideIndex {
  public:
    guideIndex();
    ~guideIndex();
    guideIndex(const guideIndex&) = delete;
    guideIndex& operator=(const guideIndex&) = delete;

    // Adds a guide root; false (nothing added) when a coordinate is not finite.
    bool insert(double x, double y, double z, int id);
    // Makes the inserted entries searchable. False when the tree could not be built.
    bool build();
    // Forgets every entry and the tree.
    void clear();
    // Entries inserted so far.
    unsigned int size() const { return static_cast<unsigned int>(entries.size()); }

    // Replaces `hits` with every entry whose squared distance to `point` is at most
    // radius * radius (boundary included), in no particular order. A negative radius acts as
    // its magnitude; a NaN radius finds nothing.
    void radiusQuery(const double point[3], double radius, std::vector<guideEntry>& hits) const;
    // The entry with the smallest distance to `point`, however far; false when the index is
    // empty (or the point is not a number). Among equally near entries any one may be chosen,
    // the same one for the same index and point.
    bool nearest(const double point[3], guideEntry& hit) const;

  private:
    struct tree;

    std::vector<guideEntry> entries;
    std::unique_ptr<tree> searchTree;
};
