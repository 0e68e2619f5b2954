#pragma once
// The nine alignment values a radio's test mode can adjust, in the order the test dialog lists
// them: where each lives in the image, how the radio is put into its adjustment mode for it and
// how its value travels. It describes the image, so it lives with the model; it is a constant
// table only, and the exchanges with the radio and the test-mode flow belong to the link.

#include "model/RadioImage.h"

#include <array>
#include <cstdint>

namespace vpr {

struct AdjustItem {
  int nameText;            // the item's name in the list and the adjustment dialog's caption
  std::size_t imageOffset; // the item's byte in the image
  char letter;             // the command letter that carries a value
  bool inverted;           // the image and the wire hold 255 minus the value shown
  std::uint8_t kCode;      // K function code of the adjustment-mode entry
  bool sendN;              // the entry sends 'n' before the K code
  int repeat;              // how often the entry sends K code 1, K code 2
  int answerBytes;         // bytes of the radio's answer to a value (the last one is ACK)
  int helpContext;
  bool askFirst; // opening it asks text 10026108 first (it changes the alignment for good)
};

inline constexpr int kAdjustValueMax = 255;

inline constexpr std::array<AdjustItem, layout::kAdjustItemCount> kAdjustItems = {{
    {10023005, layout::kAdjustItemOffsets[0], 'f', false, 0x17, false, 1, 1, 340482, true},
    {10010009, layout::kAdjustItemOffsets[1], 'P', false, 0x11, false, 1, 1, 340483, true},
    {10010025, layout::kAdjustItemOffsets[2], 'M', true, 0x12, false, 1, 3, 340485, false},
    {10010023, layout::kAdjustItemOffsets[3], 'm', true, 0x12, false, 2, 3, 340486, false},
    {10010156, layout::kAdjustItemOffsets[4], 'Q', false, 0x14, false, 1, 1, 340487, true},
    {10010160, layout::kAdjustItemOffsets[5], 'D', false, 0x15, false, 1, 1, 340488, true},
    {10010157, layout::kAdjustItemOffsets[6], 'Q', false, 0x14, true, 1, 1, 340489, true},
    {10010161, layout::kAdjustItemOffsets[7], 'D', false, 0x15, true, 1, 1, 340490, true},
    {10010027, layout::kAdjustItemOffsets[8], 'B', true, 0x16, false, 1, 3, 340484, true},
}};

static_assert(kAdjustItems[2].imageOffset == 0x3F1 && kAdjustItems[8].imageOffset == 0x3F0);

} // namespace vpr
