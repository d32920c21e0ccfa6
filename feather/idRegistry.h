#pragma once
// Maps small integer ids to objects that several nodes share: a feather node's description
// (`descriptionRegistry`) and its guide paths (`turtleRegistry`).
//
// A chained hash table keyed on int values, with its own id allocator and a bounded pool of
// spare table nodes so that remaking connections does not allocate per insert.
//
// Contract:
// - Keys are held by pointer. The int belongs to the caller and must stay alive, unchanged,
//   while its entry is in the table. Two keys are equal when their values are equal.
// - Values are not owned: removing an entry or destroying the registry never frees a value.
// - insert does not check for duplicates; find and remove act on the most recently inserted
//   of equal keys.
// - Ids are handed out from 0 upwards; ids released by remove are reused last-in first-out.
// - Nothing here throws; allocation failures are reported through return values.
// - Not thread-safe: used only on the dependency-graph thread.

#include <vector>

class idRegistry {
  public:
    // The bucket count is also the initial pool limit, until the owner sets its own.
    explicit idRegistry(int initialBucketCount);
    ~idRegistry();
    idRegistry(const idRegistry&) = delete;
    idRegistry& operator=(const idRegistry&) = delete;

    // Next id to use: the last released id, or a never-used one when none is released
    // (a released -1 is never handed out; a fresh id is taken instead).
    int allocateId();

    // Adds (key, value) at the front of the key's chain and grows the table to twice its
    // buckets when it holds more entries than buckets. False only when no node could be had.
    bool insert(const int* key, void* value);

    // The value of the first entry whose key equals *key, or null.
    void* find(const int* key) const;

    // Unlinks the first entry whose key equals *key and releases that id for reuse. The node
    // goes to the pool; a pool that overflows poolLimit is emptied entirely. False, with no
    // change at all, when no entry matches.
    bool remove(const int* key);

    // Frees every pooled node when the pool holds more than poolLimit.
    void trimPool();

    void clearReleasedIds();

    // Empties the table: its nodes go to the pool (overflow rule as in remove), counts and
    // the id allocator restart at 0, the bucket array and released ids are freed. The
    // registry stays usable; the next insert allocates a fresh bucket array.
    void destroy();

    // 0 while no bucket array is held (after destroy, or a failed allocation).
    int bucketCount() const { return bucketCount_; }
    int entryCount() const { return entryCount_; }
    // False once a bucket array could not be allocated; the table then stops growing.
    bool canGrow() const { return canGrow_; }
    int freeNodeCount() const { return freeNodeCount_; }
    int poolLimit() const { return poolLimit_; }
    void setPoolLimit(int limit) { poolLimit_ = limit; }

  private:
    struct node {
        const int* key;
        void* value;
        node* next;
    };

    int bucketOf(int id, int count) const;
    bool allocateBuckets();
    void grow(int newCount);
    void pushToPool(node* n);
    void freePool();

    node** buckets_ = nullptr;
    int bucketCount_ = 0;
    int initialBucketCount_;
    int entryCount_ = 0;
    bool canGrow_ = true;
    node* freeNodes_ = nullptr;
    int freeNodeCount_ = 0;
    int poolLimit_;
    int nextId_ = 0;
    std::vector<int> releasedIds_;
};
