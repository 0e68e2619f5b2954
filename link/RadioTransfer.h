#pragma once
// Reading the whole image from a radio and writing it into a radio, on the caller's thread.
// Progress (blocks done of the block count, with its label) and messages go through the
// UserInterface, which also pumps one pending window message between steps. The port is
// opened at the start and closed at the end of every transfer.
//
// Result: 0 the transfer completed; 1 it failed and the failure has been reported; 2 the
// transfer completed but closing the port failed (nothing reported, no success either).
//
// A write can be made safe: the radio's memory is read and stored in the Backups folder before
// the first block goes out, and the written range is read back and compared afterwards. A write
// that breaks off after the radio took at least one block says so, and how to put it right.
// Storing files and comparing images belong to the model; this unit only drives the radio.

#include "link/CRadioComm.h"
#include "model/RadioImage.h"

#include <optional>
#include <string>
#include <vector>

namespace vpr {

class UserInterface;

inline constexpr int kReadBlockCount = static_cast<int>(layout::kReadBlockCount);   // 128
inline constexpr int kWriteBlockCount = static_cast<int>(layout::kWriteBlockCount); // 123

// Reads all 1024 bytes. transferImage changes only when every block arrived: a read that fails
// part way leaves it exactly as it was.
int runReadTransfer(CRadioComm& radio, UserInterface& ui, RadioImage& transferImage);

// What a write does besides writing.
struct WriteSafety {
  // Read the radio's whole memory before writing and store it in backupFolder; a backup that
  // cannot be stored stops the write before any block is sent. An unprogrammed radio (identity
  // of eight 0xFF bytes) has nothing to back up.
  bool backup = false;
  std::string backupFolder;
  // Read 0x000..0x3D7 back after writing; any difference fails the write.
  bool verify = false;
};

// What a write did, for its success message and for callers that report it themselves.
struct WriteReport {
  enum class Backup { Off, Stored, NotNeeded };
  Backup backup = Backup::Off;
  std::string backupPath;     // the backup file, when Stored
  int blocksAcknowledged = 0; // blocks the radio took
  bool verified = false;
  std::vector<int> differingBlocks; // blocks the read-back found different
  // The radio's model code in image order once it was found fit to be written (for a radio
  // answering the shared code, the code from its memory; eight 0xFF bytes when unprogrammed).
  std::optional<ModelCode> radioCode;
};

// Writes bytes 0x000..0x3D7 of the image in 123 blocks; 0x3D8..0x3FF are never sent. A radio
// of another model or band is written only after the user confirms. With a backup or a check,
// the progress label names the phase ("Backing up", "Writing", "Verifying").
int runSafeWrite(CRadioComm& radio, UserInterface& ui, const RadioImage& editImage, const WriteSafety& safety,
                 WriteReport& report);
// The write without backup and check.
int runWriteTransfer(CRadioComm& radio, UserInterface& ui, const RadioImage& editImage);

// The message after a complete write: written, or written and verified; then where the backup
// went, or that an unprogrammed radio needed none.
std::string writeSuccessText(const WriteReport& report);

// After a complete read, stores the image in the backup folder. When that fails the user is
// warned with the system's cause (the read itself stands). Returns the backup's path, or empty.
std::string backUpReadImage(UserInterface& ui, const RadioImage& image, const std::string& backupFolder);

// Identifies the connected radio without reading its image: code receives its model code in
// image order (for a radio answering the shared code, the code from its memory at 0x3D0; for an
// unprogrammed radio eight 0xFF bytes).
int runIdentifyRadio(CRadioComm& radio, UserInterface& ui, ModelCode& code);

// The progress label: text 10014004 followed by "done / total".
std::string transferProgressLabel(int done, int total);

} // namespace vpr
