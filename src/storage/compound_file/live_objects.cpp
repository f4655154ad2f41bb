#include "storage/compound_file/live_objects.h"

namespace txtppt2 {

namespace {
thread_local int liveObjects = 0;
}  // namespace

LiveObject::LiveObject() { ++liveObjects; }

LiveObject::LiveObject(const LiveObject&) { ++liveObjects; }

LiveObject::~LiveObject() { --liveObjects; }

}  // namespace txtppt2

namespace txtppt2::testing {
int LiveCompoundFileObjects() { return liveObjects; }
}  // namespace txtppt2::testing
