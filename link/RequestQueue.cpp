#include "link/RequestQueue.h"

#include <algorithm>

namespace vpr {

void RequestQueue::run(const void* owner, std::function<void()> request, Merge merge) {
  if (idle_() && waiting_.empty()) {
    runOne(request);
    runWaiting();
    return;
  }
  if (merge == Merge::WithLast && !waiting_.empty() && waiting_.back().owner == owner &&
      waiting_.back().merge == Merge::WithLast)
    waiting_.back().request = std::move(request);
  else
    waiting_.push_back({owner, std::move(request), merge});
  runWaiting();
}

void RequestQueue::runWaiting() {
  while (!waiting_.empty() && idle_()) {
    const std::function<void()> request = std::move(waiting_.front().request);
    waiting_.pop_front();
    runOne(request);
  }
}

void RequestQueue::forget(const void* owner) {
  std::erase_if(waiting_, [owner](const Waiting& waiting) { return waiting.owner == owner; });
}

void RequestQueue::runOne(const std::function<void()>& request) {
  ++running_;
  request();
  --running_;
}

} // namespace vpr
