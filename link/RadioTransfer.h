#pragma once
// Reading the whole image from a radio and writing it into a radio, on the caller's thread.
// Progress (blocks done of the block count, with its label) and messages go through the
// UserInterface, which also pumps one pending window message between steps. The port is
// opened at the start and closed at the end of every transfer.
//
// Result: 0 the transfer completed; 1 it failed and the failure has been reported; 2 the
// transfer completed but closing the port failed (nothing reported, no success either).

#include "link/CRadioComm.h"
#include "model/RadioImage.h"

#include <string>

namespace vpr {

class UserInterface;

inline constexpr int kReadBlockCount = static_cast<int>(layout::kReadBlockCount);   // 128
inline constexpr int kWriteBlockCount = static_cast<int>(layout::kWriteBlockCount); // 123

// Reads all 1024 bytes. transferImage changes only when every block arrived: a read that fails
// part way leaves it exactly as it was.
int runReadTransfer(CRadioComm& radio, UserInterface& ui, RadioImage& transferImage);

// Writes bytes 0x000..0x3D7 of the image in 123 blocks; 0x3D8..0x3FF are never sent. A radio
// of another model or band is written only after the user confirms.
int runWriteTransfer(CRadioComm& radio, UserInterface& ui, const RadioImage& editImage);

// Identifies the connected radio without reading its image: code receives its model code in
// image order (for a radio answering the shared code, the code from its memory at 0x3D0; for an
// unprogrammed radio eight 0xFF bytes).
int runIdentifyRadio(CRadioComm& radio, UserInterface& ui, ModelCode& code);

// The progress label: text 10014004 followed by "done / total".
std::string transferProgressLabel(int done, int total);

} // namespace vpr
