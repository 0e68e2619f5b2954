#pragma once
// What the radio commands decide around their dialogs: where radio backups go, what a write does
// besides writing, taking a complete read or a restored backup as the working image, and reading
// the data file or the radio image that the working image is compared with. The desktop program
// runs the read, write, restore and compare dialogs and shows the result; through closeViews it
// closes its editing views before the image is replaced. Nothing here runs a transfer.

#include "lang/UserInterface.h"
#include "link/RadioTransfer.h"
#include "model/CurrentFile.h"
#include "model/ImageCompare.h"
#include "model/RadioData.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vpr {

class RadioFlows {
public:
  // What a compare with the radio calls the other side, and the offer to write a restored backup.
  static constexpr int kTextTheRadio = 10065045;
  static constexpr int kTextWriteRestored = 10065041;
  // What the job record says of a data file that does not hold what was written.
  static constexpr int kTextUnsavedFile = 10068112;

  // The user's choices that the radio commands follow.
  struct Setup {
    // The data folder; empty for the default one below the user's documents folder.
    std::string dataFolder;
    // Back the radio up after every read and before every write.
    bool backupRadio = false;
    // Read the written range back after every write.
    bool verifyWrite = false;
  };

  // The other side of a compare: what the compare names it, and its image.
  struct Other {
    std::string name;
    RadioImage image{};
  };

  RadioFlows(RadioData& data, CurrentFile& file, UserInterface& ui, Setup setup)
      : data_(data), file_(file), ui_(ui), setup_(std::move(setup)) {}

  // Called before a read or a restored backup replaces the image, to close the editing views.
  void setCloseViews(std::function<void()> closeViews) { closeViews_ = std::move(closeViews); }

  // The data folder the user chose, or the default one.
  std::string dataFolder() const;
  // "<data folder>/Backups/".
  std::string backupFolder() const;
  // The job record of every radio written, in the data folder.
  std::string jobRecordPath() const;
  // The data file a radio's record line names: the working file's path, marked when the file
  // does not hold the working image (changes not saved, or never saved).
  std::string recordedFile() const;
  // What the write dialog does besides writing.
  WriteSafety writeSafety() const;
  // Where the read dialog backs up a complete read (it says where in its closing message); empty
  // when backups are off.
  std::string readBackupFolder() const;

  // After a complete read into transferImage: closes the views and makes the read image the
  // working image, saved nowhere yet.
  void adoptReadImage();
  // The data file the user picks to compare with; nothing when the choice was cancelled or the
  // file does not load (reported).
  std::optional<Other> chooseFileToCompare();
  // A radio read into a scratch image for a compare.
  Other radioToCompare(const RadioImage& image);
  // The differences between the working image and the other side.
  std::vector<ImageDifference> differencesFrom(const Other& other) const;
  // Restore: offers to save the working image, then makes the backup at path the working image,
  // saved nowhere yet (so that Save never goes over the backup). True when done; on Cancel or a
  // backup that does not load (reported) nothing changed.
  bool restoreBackup(const std::string& path);
  // After a restore: whether the user wants the restored image written to the radio now.
  bool confirmWriteRestored();

private:
  // Reads a data file's image; a file that does not load is reported and gives false.
  bool loadImageFile(const std::string& path, RadioImage& image);
  // transferImage becomes the working image under the default file name.
  void adoptTransferImage();

  RadioData& data_;
  CurrentFile& file_;
  UserInterface& ui_;
  Setup setup_;
  std::function<void()> closeViews_;
};

} // namespace vpr
