// A count of the compound file reader's live objects on the calling thread:
// storages, streams, enumerators and the file state they share. Leak tests
// compare it before and after a conversion.
#ifndef TXTPPT2_STORAGE_COMPOUND_FILE_LIVE_OBJECTS_H_
#define TXTPPT2_STORAGE_COMPOUND_FILE_LIVE_OBJECTS_H_

namespace txtppt2 {

// A member that counts its owner as live from construction to destruction.
// Like the objects it counts, it belongs to one thread: an object destroyed
// on another thread than the one that made it would skew both counts.
class LiveObject {
 public:
  LiveObject();
  LiveObject(const LiveObject&);
  LiveObject& operator=(const LiveObject&) = default;
  ~LiveObject();
};

}  // namespace txtppt2

namespace txtppt2::testing {
// How many compound file objects exist on the calling thread right now.
int LiveCompoundFileObjects();
}  // namespace txtppt2::testing

#endif  // TXTPPT2_STORAGE_COMPOUND_FILE_LIVE_OBJECTS_H_
