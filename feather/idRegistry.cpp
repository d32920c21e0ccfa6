#include "feather/idRegistry.h"

#include <new>

idRegistry::idRegistry(int initialBucketCount)
    : initialBucketCount_(initialBucketCount > 0 ? initialBucketCount : 1),
      poolLimit_(initialBucketCount) {
    allocateBuckets();
}

idRegistry::~idRegistry() {
    destroy();
    freePool();
}

int idRegistry::allocateId() {
    if (!releasedIds_.empty()) {
        int id = releasedIds_.back();
        releasedIds_.pop_back();
        // -1 is the "no feather" id; it can reach the list when such a key is removed.
        if (id != -1) {
            return id;
        }
    }
    return nextId_++;
}

bool idRegistry::insert(const int* key, void* value) {
    // After destroy the table has no buckets; take up again at the creation size.
    if (!buckets_ && !allocateBuckets()) {
        return false;
    }
    node* n = freeNodes_;
    if (n) {
        freeNodes_ = n->next;
        --freeNodeCount_;
    } else {
        n = new (std::nothrow) node;
        if (!n) {
            return false;
        }
    }
    n->key = key;
    n->value = value;
    node*& head = buckets_[bucketOf(*key, bucketCount_)];
    n->next = head;
    head = n;
    ++entryCount_;
    if (bucketCount_ < entryCount_) {
        grow(2 * bucketCount_);
    }
    return true;
}

void* idRegistry::find(const int* key) const {
    if (!buckets_) {
        return nullptr;
    }
    for (node* n = buckets_[bucketOf(*key, bucketCount_)]; n; n = n->next) {
        if (*n->key == *key) {
            return n->value;
        }
    }
    return nullptr;
}

bool idRegistry::remove(const int* key) {
    if (!buckets_) {
        return false;
    }
    for (node** link = &buckets_[bucketOf(*key, bucketCount_)]; *link; link = &(*link)->next) {
        node* n = *link;
        if (*n->key == *key) {
            *link = n->next;
            // Read the id before the node can be freed by the pool overflow.
            int id = *n->key;
            pushToPool(n);
            try {
                releasedIds_.push_back(id);
            } catch (const std::bad_alloc&) {
                // The id is simply never reused.
            }
            --entryCount_;
            return true;
        }
    }
    return false;
}

void idRegistry::trimPool() {
    if (freeNodeCount_ > poolLimit_) {
        freePool();
    }
}

void idRegistry::clearReleasedIds() {
    releasedIds_.clear();
}

void idRegistry::destroy() {
    if (buckets_) {
        for (int b = 0; b < bucketCount_; ++b) {
            node* n = buckets_[b];
            while (n) {
                node* next = n->next;
                pushToPool(n);
                n = next;
            }
        }
        delete[] buckets_;
        buckets_ = nullptr;
    }
    bucketCount_ = 0;
    entryCount_ = 0;
    nextId_ = 0;
    std::vector<int>().swap(releasedIds_);
}

int idRegistry::bucketOf(int id, int count) const {
    // Ids are normally >= 0, but -1 ("no feather") may be used as a key; keep it in range.
    int b = id % count;
    return b < 0 ? b + count : b;
}

bool idRegistry::allocateBuckets() {
    buckets_ = new (std::nothrow) node*[initialBucketCount_]();
    if (!buckets_) {
        canGrow_ = false;
        return false;
    }
    bucketCount_ = initialBucketCount_;
    return true;
}

void idRegistry::grow(int newCount) {
    if (!canGrow_) {
        return;
    }
    // Allocate first: if that fails the old array stays in use and the table only gets
    // longer chains.
    node** grown = new (std::nothrow) node*[newCount]();
    if (!grown) {
        canGrow_ = false;
        return;
    }
    // Gather every node into one list, then push each onto its new chain. Both steps push at
    // the front, so equal keys keep their relative order.
    node* all = nullptr;
    for (int b = 0; b < bucketCount_; ++b) {
        node* n = buckets_[b];
        while (n) {
            node* next = n->next;
            n->next = all;
            all = n;
            n = next;
        }
    }
    delete[] buckets_;
    buckets_ = grown;
    bucketCount_ = newCount;
    while (all) {
        node* next = all->next;
        node*& head = buckets_[bucketOf(*all->key, bucketCount_)];
        all->next = head;
        head = all;
        all = next;
    }
}

void idRegistry::pushToPool(node* n) {
    n->next = freeNodes_;
    freeNodes_ = n;
    ++freeNodeCount_;
    // An overflowing pool is emptied whole rather than trimmed back to the limit.
    if (freeNodeCount_ > poolLimit_) {
        freePool();
    }
}

void idRegistry::freePool() {
    while (freeNodes_) {
        node* next = freeNodes_->next;
        delete freeNodes_;
        freeNodes_ = next;
    }
    freeNodeCount_ = 0;
}
