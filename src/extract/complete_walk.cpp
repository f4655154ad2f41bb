#include "extract/complete_walk.h"

#include <optional>
#include <stdexcept>

#include "extract/stream_image.h"

namespace txtppt2 {

namespace {

// The "Current User" stream holds one small atom and a user name.
constexpr uint32_t kCurrentUserLimit = 64 * 1024;

}  // namespace

void RunCompleteWalk(RecordStreamReader& document,
                     RecordStreamReader* currentUser, uint32_t sizeLimit,
                     BrokenChain broken, CompleteWalkVisitor& visitor) {
  StreamImage image(document, sizeLimit);
  std::optional<StreamImage> user;
  if (currentUser != nullptr) {
    try {
      user.emplace(*currentUser, kCurrentUserLimit);
    } catch (const std::runtime_error&) {
      user.reset();  // an unreadable "Current User" is a missing one
    }
  }
  WorkBudget budget(image.Bytes().size());
  auto live = FindLiveDocument(
      image.Bytes(), user ? user->Bytes() : std::string_view(), broken);
  visitor.OnStart(image.Bytes(), live ? &*live : nullptr, budget);
  if (live)
    WalkLivePages(image.Bytes(), *live, budget, visitor);
  else
    WalkAllRecords(image.Bytes(), budget, visitor);
}

}  // namespace txtppt2
