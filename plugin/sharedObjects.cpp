#include "plugin/sharedObjects.h"

#include "feather/featherGenerator.h"
#include "feather/idRegistry.h"

featherGenerator* theFeatherGenerator = nullptr;
idRegistry* descriptionRegistry = nullptr;
idRegistry* turtleRegistry = nullptr;

namespace {
const int descriptionBuckets = 5;
const int turtleBuckets = 10;
const int descriptionPoolLimit = 20;
const int turtlePoolLimit = 1024;

void destroyRegistry(idRegistry*& registry) {
    if (!registry)
        return;
    registry->clearReleasedIds();
    registry->setPoolLimit(0);
    registry->trimPool();
    registry->destroy();
    delete registry;
    registry = nullptr;
}

void flushPool(idRegistry* registry, int limit) {
    if (!registry)
        return;
    registry->setPoolLimit(0);
    registry->trimPool();
    registry->setPoolLimit(limit);
}
} // namespace

void destroySharedObjects() {
    destroyRegistry(descriptionRegistry);
    destroyRegistry(turtleRegistry);
    if (theFeatherGenerator) {
        featherGenerator::destroy(theFeatherGenerator);
        theFeatherGenerator = nullptr;
    }
}

void rebuildSharedObjects() {
    destroySharedObjects();
    descriptionRegistry = new idRegistry(descriptionBuckets);
    turtleRegistry = new idRegistry(turtleBuckets);
    theFeatherGenerator = featherGenerator::create();
    descriptionRegistry->setPoolLimit(descriptionPoolLimit);
    turtleRegistry->setPoolLimit(turtlePoolLimit);
}

void flushSharedPools() {
    flushPool(descriptionRegistry, descriptionPoolLimit);
    flushPool(turtleRegistry, turtlePoolLimit);
}
