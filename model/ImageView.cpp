#include "model/ImageView.h"

namespace vpr {

int ImageView::derivedNarrowSetting(int otherwise) const {
  const int count = channelCount();
  for (int n = 1; n <= count; ++n) {
    const ChannelRecord record = channelSlot(n);
    if (record.isProgrammed()) return record.narrowBit();
  }
  const int restriction = spacingRestriction();
  if (restriction == 2) return 1;
  if (restriction == 1) return 0;
  return otherwise;
}

ChannelRecord ImageView::channelSlot(int n) const {
  if (n < 1 || n > layout::kChannelSlots) return ChannelRecord::empty();
  return ChannelRecord::at(*image_, layout::channelOffset(n));
}

std::optional<ChannelRecord> ImageView::channelRecord(int n) const {
  if (n < 1 || n > channelCount()) return std::nullopt;
  ChannelRecord record = channelSlot(n);
  if (!record.isProgrammed()) return std::nullopt;
  return record;
}

bool ImageView::isChannelFieldEditable(int n, int field) const {
  if (n < 1 || n > channelCount() || field < 1 || field > 6) return false;
  const ChannelRecord record = channelSlot(n);
  if (field == 1) return true;
  if (!record.isProgrammed()) return false;
  if (field == 4 || field == 5) return record.hasTransmit();
  return true;
}

TestFreqRecord ImageView::testFrequency(int k) const {
  if (k < 1 || k > layout::kTestFreqCount) return TestFreqRecord::empty();
  return TestFreqRecord::at(*image_, layout::testFreqOffset(k));
}

} // namespace vpr
