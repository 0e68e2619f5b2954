#include "model/PrintLayout.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/DisplayText.h"

#include <algorithm>
#include <array>

namespace vpr {

namespace {

// Positions, in 0.01 inch from the frame's left edge unless said otherwise.
constexpr int kPageNumberFromRight = 15; // page number, right-aligned this far inside the right edge
constexpr int kPrintedFromRight = 45;    // print date line, right-aligned likewise
constexpr int kModelLabelX = 100;        // model block: labels
constexpr int kModelValueX = 400;        // model block: model name and band
constexpr int kHeadingX = 0;             // section headings start at the frame's left edge
constexpr int kSectionGap = 12;          // extra space above a section heading
constexpr int kRuleBelow = 2;            // a rule lies this far below the current line
constexpr int kRuleAdvance = 4;          // and moves the pen down this much
constexpr int kSettingLabelX = 30;       // features and key: labels
constexpr int kSettingValueX = 360;      // features and key: values
constexpr int kTestFreqNumberX = 20;     // test frequencies: number column
constexpr int kTestFreqRxX = 100;        // test frequencies: receive column
constexpr int kTestFreqTxX = 250;        // test frequencies: transmit column
constexpr int kTestFreqRuleEnd = 380;    // the rule under the column headings ends here
constexpr int kTestFreqRowPitch = 20;    // test frequency rows
constexpr int kChannelNumberX = 240;     // the channel number in a channel's sub-heading
constexpr int kChannelFieldPitch = 20;   // channel field lines
constexpr int kChannelGap = 8;           // extra space between two channels
constexpr int kAdjustLabelX = 20;        // adjustment page: item names
constexpr int kAdjustValueX = 315;       // adjustment page: values
constexpr int kAdjustRuleFrom = 18;      // the rule under each adjustment line
constexpr int kAdjustRuleTo = 350;
constexpr int kAdjustPitch = 18; // adjustment lines

// The label and value columns of the channel fields: three pairs.
constexpr std::array<std::array<int, 2>, 3> kChannelColumns = {{{20, 240}, {375, 585}, {730, 900}}};
// Which column pair each of the six fields goes into, and how many lines a channel takes.
constexpr std::array<int, 6> kPortraitPairs = {0, 0, 0, 0, 1, 1};
constexpr std::array<int, 6> kLandscapePairs = {0, 0, 1, 1, 2, 2};
constexpr int kPortraitFieldLines = 4;
constexpr int kLandscapeFieldLines = 2;

// Point sizes in 0.01 inch, rounded as the printer fonts are: 9 pt = 13, 12 pt = 17, 14 pt = 19.
constexpr int pointsToUnits(int points) {
  return (points * 100 + 36) / 72;
}
static_assert(pointsToUnits(9) == 13 && pointsToUnits(12) == 17 && pointsToUnits(14) == 19);

} // namespace

// Writes lines from the top of the frame downwards.
class PrintLayout::Pen {
public:
  explicit Pen(PageContent& page) : page_(page), y_(page.frame.top) {}

  int y() const { return y_; }
  void moveTo(int y) { y_ = y; }
  void skip(int units) { y_ -= units; }

  // A text at the current line, x from the frame's left edge.
  void text(int x, std::string text, FontRole role, TextAlign align = TextAlign::Left) {
    page_.texts.push_back({page_.frame.left + x, y_, std::move(text), role, align});
  }
  // A text placed at an absolute x.
  void textAt(int x, std::string text, FontRole role, TextAlign align) {
    page_.texts.push_back({x, y_, std::move(text), role, align});
  }
  // Ends a text line of the given font.
  void newLine(FontRole role) { y_ -= font(role).height + kLineGap; }
  // A rule from x1 to x2 (from the frame's left edge) below the current line.
  void rule(int x1, int x2) {
    page_.rules.push_back({page_.frame.left + x1, page_.frame.left + x2, y_ - kRuleBelow});
    y_ -= kRuleAdvance;
  }
  void ruleAcross() { rule(0, page_.frame.width()); }
  // A section heading with some space above it.
  void heading(int textId) {
    skip(kSectionGap);
    text(kHeadingX, textOf(textId), FontRole::Heading);
    newLine(FontRole::Heading);
  }
  // A label and its value on one line.
  void labelled(int labelX, const std::string& label, int valueX, std::string value) {
    text(labelX, label, FontRole::Label);
    text(valueX, std::move(value), FontRole::Value);
    newLine(FontRole::Value);
  }

private:
  PageContent& page_;
  int y_;
};

PrintLayout::PrintLayout(const ImageView& data, const PrintSelection& selection, PageOrientation orientation,
                         std::string printedAt, std::vector<AdjustmentLine> adjustments)
    : data_(data), selection_(selection), orientation_(orientation), printedAt_(std::move(printedAt)),
      adjustments_(std::move(adjustments)), plan_(PagePlan::planPages(selection, data)) {}

std::string PrintLayout::title() {
  return formatText(kTitleFormat, {kProductName, textOf(kTextTitle)});
}

PageFrame PrintLayout::frame(PageOrientation orientation) {
  if (orientation == PageOrientation::Landscape) return {40, -20, 1054, -782};
  return {20, -40, 782, -1054};
}

FontSpec PrintLayout::font(FontRole role) {
  switch (role) {
  case FontRole::Header:
    return {"Arial", pointsToUnits(12), false, false};
  case FontRole::Title:
    return {"Arial", 25, true, false};
  case FontRole::Heading:
    return {"Arial", pointsToUnits(14), false, true};
  case FontRole::SubHeading:
    return {"Arial", pointsToUnits(12), false, true};
  case FontRole::ColumnHeading:
    return {"Arial", pointsToUnits(9), false, false};
  case FontRole::Label:
    return {"Arial", 14, false, false};
  case FontRole::Value:
    return {"Courier New", 14, false, false};
  }
  return {"Arial", 14, false, false};
}

PageContent PrintLayout::page(int index) const {
  PageContent content{frame(orientation_), {}, {}};
  Pen pen(content);
  header(pen, index + 1);
  if (const PlannedPage* planned = plan_.page(index)) {
    switch (planned->kind) {
    case PageKind::Settings:
      settingsPage(pen);
      break;
    case PageKind::Channels:
      channelPage(pen, planned->channels);
      break;
    case PageKind::Adjustments:
      adjustmentPage(pen);
      break;
    }
  }
  return content;
}

void PrintLayout::header(Pen& pen, int pageNumber) const {
  const PageFrame box = frame(orientation_);
  pen.textAt(box.right - kPageNumberFromRight, std::to_string(pageNumber), FontRole::Header,
             TextAlign::Right);
  pen.newLine(FontRole::Header);
  pen.textAt(box.right - kPrintedFromRight, formatText(kPrintedFormat, {printedAt_, textOf(kTextPrinted)}),
             FontRole::Header, TextAlign::Right);
  pen.newLine(FontRole::Header);
  pen.textAt((box.left + box.right) / 2, title(), FontRole::Title, TextAlign::Centre);
  pen.newLine(FontRole::Title);
  pen.ruleAcross();
  if (!selection_.model) return;
  pen.labelled(kModelLabelX, textOf(kTextModel), kModelValueX, data_.modelNameWithKind());
  pen.labelled(kModelLabelX, textOf(kTextBand), kModelValueX, data_.bandNameText());
  pen.ruleAcross();
}

void PrintLayout::settingsPage(Pen& pen) const {
  if (selection_.features) {
    pen.heading(kTextFeatures);
    for (int i = 0; i < kFeatureItemCount; ++i) {
      const auto item = static_cast<FeatureItem>(i);
      pen.labelled(kSettingLabelX, textOf(DisplayText::featureLabelId(item)), kSettingValueX,
                   DisplayText::featureText(data_, item).printed());
    }
  }
  if (selection_.keys) {
    pen.heading(kTextKeys);
    pen.labelled(kSettingLabelX, textOf(DisplayText::kMoniKeyLabelId), kSettingValueX,
                 DisplayText::moniKeyText(data_.moniKey()).printed());
  }
  if (selection_.testFrequencies) {
    pen.heading(kTextTestFrequencies);
    const std::array<int, 3> columns = {kTestFreqNumberX, kTestFreqRxX, kTestFreqTxX};
    for (std::size_t c = 0; c < columns.size(); ++c)
      pen.text(columns[c], textOf(DisplayText::kTestFrequencyHeaderIds[c]), FontRole::ColumnHeading);
    pen.newLine(FontRole::ColumnHeading);
    pen.rule(kTestFreqNumberX, kTestFreqRuleEnd);
    for (int k = 1; k <= layout::kTestFreqCount; ++k) {
      const TestFreqRecord record = data_.testFrequency(k);
      pen.text(kTestFreqNumberX, formatText("%2d", {k}), FontRole::Value);
      pen.text(kTestFreqRxX, DisplayText::testFrequencyCell(record, FrequencyField::Receive).text,
               FontRole::Value);
      pen.text(kTestFreqTxX, DisplayText::testFrequencyCell(record, FrequencyField::Transmit).text,
               FontRole::Value);
      pen.skip(kTestFreqRowPitch);
    }
  }
}

void PrintLayout::channelPage(Pen& pen, const std::vector<int>& channels) const {
  const bool landscape = orientation_ == PageOrientation::Landscape;
  const std::array<int, 6>& pairs = landscape ? kLandscapePairs : kPortraitPairs;
  const int fieldLines = landscape ? kLandscapeFieldLines : kPortraitFieldLines;
  pen.heading(kTextChannels);
  for (const int n : channels) {
    pen.text(kChannelColumns[0][0], textOf(kTextChannel), FontRole::SubHeading);
    pen.text(kChannelNumberX, std::to_string(n), FontRole::SubHeading);
    pen.newLine(FontRole::SubHeading);
    const int firstLine = pen.y();
    const ChannelRecord record = data_.channelSlot(n);
    std::array<int, 3> lineOfPair{};
    for (std::size_t f = 0; f < pairs.size(); ++f) {
      const auto field = static_cast<ChannelField>(f + 1);
      const auto pair = static_cast<std::size_t>(pairs[f]);
      pen.moveTo(firstLine - lineOfPair[pair]++ * kChannelFieldPitch);
      pen.text(kChannelColumns[pair][0], textOf(DisplayText::channelHeaderId(field)), FontRole::Label);
      pen.text(kChannelColumns[pair][1], DisplayText::channelCell(n, record, field).printed(),
               FontRole::Value);
    }
    pen.moveTo(firstLine - fieldLines * kChannelFieldPitch - kChannelGap);
  }
}

void PrintLayout::adjustmentPage(Pen& pen) const {
  pen.heading(kTextAdjustments);
  for (const AdjustmentLine& line : adjustments_) {
    pen.text(kAdjustLabelX, line.label, FontRole::Label);
    pen.text(kAdjustValueX, std::to_string(line.value), FontRole::Value);
    const int top = pen.y();
    pen.moveTo(top - font(FontRole::Value).height);
    pen.rule(kAdjustRuleFrom, kAdjustRuleTo);
    pen.moveTo(top - kAdjustPitch);
  }
}

} // namespace vpr
