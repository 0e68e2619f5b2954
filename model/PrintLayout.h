#pragma once
// The print layout: what goes where on every page of a printout, in 0.01-inch units with y
// upwards. Every page has the header (page number, print date, title and, when selected, the
// model block); the settings page, the channel pages and the adjustment page follow the plan.
// All texts come from the text table and from DisplayText, so a printed value reads exactly as
// the editing views show it.
//
// The layout does not draw and does not read the clock: the drawing layer places the items on
// a device, and the caller hands in the print date and time as the user's locale writes it.

#include "model/PageContent.h"
#include "model/PagePlan.h"

#include <string>
#include <vector>

namespace vpr {

// One line of the adjustment page: the item's name and its value as the test mode shows it.
struct AdjustmentLine {
  std::string label;
  int value;
};

class PrintLayout {
public:
  // The title format and product name the program holds itself.
  static constexpr const char* kTitleFormat = "Veskaro %s %s";
  static constexpr const char* kProductName = "VPR-40T";
  static constexpr const char* kPrintedFormat = "%s   %s :";
  static constexpr int kTextPrinted = 10009006;
  static constexpr int kTextTitle = 10009003;
  static constexpr int kTextModel = 10009001;
  static constexpr int kTextBand = 10009002;
  static constexpr int kTextAdjustments = 10009004;
  static constexpr int kTextFeatures = 10027002;
  static constexpr int kTextKeys = 10027001;
  static constexpr int kTextTestFrequencies = 10027010;
  static constexpr int kTextChannels = 10027012;
  static constexpr int kTextChannel = 10030001;

  // printedAt: the local date and time, taken once when printing begins. adjustments: the
  // lines of the adjustment page (only the test mode prints one).
  PrintLayout(const ImageView& data, const PrintSelection& selection, PageOrientation orientation,
              std::string printedAt, std::vector<AdjustmentLine> adjustments = {});

  const PagePlan& plan() const { return plan_; }
  int pageCount() const { return plan_.pageCount(); }
  PageOrientation orientation() const { return orientation_; }
  // The content of page 0..pageCount()-1.
  PageContent page(int index) const;

  // The title line: "Veskaro VPR-40T" and the list's name.
  static std::string title();
  static PageFrame frame(PageOrientation orientation);
  static FontSpec font(FontRole role);
  // A text line moves the pen down by its font height and this gap.
  static constexpr int kLineGap = 6;

private:
  class Pen;
  void header(Pen& pen, int pageNumber) const;
  void settingsPage(Pen& pen) const;
  void channelPage(Pen& pen, const std::vector<int>& channels) const;
  void adjustmentPage(Pen& pen) const;

  ImageView data_;
  PrintSelection selection_;
  PageOrientation orientation_;
  std::string printedAt_;
  std::vector<AdjustmentLine> adjustments_;
  PagePlan plan_;
};

} // namespace vpr
