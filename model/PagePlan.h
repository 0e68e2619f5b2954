#pragma once
// Which pages a printout has, in order: the settings page, the channel pages (up to six
// programmed channels each) and the adjustment page, each only when its sections are selected.
//
// Planning needs only the selection and which channels are programmed; what is drawn on a page
// is PrintLayout's business.

#include "model/ImageView.h"
#include "model/PrintSelection.h"

#include <vector>

namespace vpr {

enum class PageKind { Settings = 1, Channels = 4, Adjustments = 8 };

struct PlannedPage {
  PageKind kind;
  // For a channel page: the channel numbers on it (1..6 of them, ascending).
  std::vector<int> channels;
  bool operator==(const PlannedPage&) const = default;
};

class PagePlan {
public:
  static constexpr int kChannelsPerPage = 6;

  // Plans the pages of the selection over the working image of data. The channel range is
  // clamped to the model's channels; only programmed channels are printed.
  static PagePlan planPages(const PrintSelection& selection, const ImageView& data);

  const std::vector<PlannedPage>& pages() const { return pages_; }
  // The number of pages printed: at least 1, since an empty plan still prints the header page.
  int pageCount() const { return pages_.empty() ? 1 : static_cast<int>(pages_.size()); }
  // The page at a printed page index 0..pageCount()-1; an empty plan's only page has no kind.
  const PlannedPage* page(int index) const;

private:
  std::vector<PlannedPage> pages_;
};

} // namespace vpr
