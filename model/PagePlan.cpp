#include "model/PagePlan.h"

#include <algorithm>

namespace vpr {

PagePlan PagePlan::planPages(const PrintSelection& selection, const ImageView& data) {
  PagePlan plan;
  if (selection.hasSettingsPage()) plan.pages_.push_back({PageKind::Settings, {}});
  if (selection.channels) {
    const int first = std::max(selection.firstChannel, 1);
    const int last = std::min(selection.lastChannel, data.channelCount());
    std::vector<int> group;
    for (int n = first; n <= last; ++n) {
      if (!data.channelSlot(n).isProgrammed()) continue;
      group.push_back(n);
      if (static_cast<int>(group.size()) == kChannelsPerPage) {
        plan.pages_.push_back({PageKind::Channels, std::move(group)});
        group.clear();
      }
    }
    if (!group.empty()) plan.pages_.push_back({PageKind::Channels, std::move(group)});
  }
  if (selection.adjustments) plan.pages_.push_back({PageKind::Adjustments, {}});
  return plan;
}

const PlannedPage* PagePlan::page(int index) const {
  if (index < 0 || index >= static_cast<int>(pages_.size())) return nullptr;
  return &pages_[static_cast<std::size_t>(index)];
}

} // namespace vpr
