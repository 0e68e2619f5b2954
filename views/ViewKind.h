#pragma once

namespace vpr {

// The four editing views the main frame can open, one of each at most.
enum class ViewKind { ChannelInfo, Features, Keys, TestFrequencies };

} // namespace vpr
