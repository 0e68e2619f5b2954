#pragma once
// What is drawn on one printed page: texts and horizontal rules placed in 0.01-inch units with
// y running upwards (the top of the page has the larger y), each text with its font role.
//
// This is plain data for the drawing layer; it knows nothing of printers, pixels or how the
// drawing layer maps y onto a device whose y runs downwards.

#include <string>
#include <vector>

namespace vpr {

enum class PageOrientation { Portrait, Landscape };

// The printable frame in 0.01 inch, y upwards: top > bottom, both below the origin.
struct PageFrame {
  int left;
  int top;
  int right;
  int bottom;
  int width() const { return right - left; }
  int height() const { return top - bottom; }
  bool operator==(const PageFrame&) const = default;
};

enum class FontRole {
  Header,        // page number and print date, Arial 12 point
  Title,         // the title line, Arial 25 units, italic
  Heading,       // section headings, Arial 14 point
  SubHeading,    // the channel sub-headings, Arial 12 point
  ColumnHeading, // the test frequency column headings, Arial 9 point
  Label,         // base text, Arial 14 units
  Value,         // values, "Courier New" 14 units
};

struct FontSpec {
  const char* face; // the face the layout is designed for; the drawing layer maps it
  int height;       // character height in 0.01 inch (points converted and rounded)
  bool italic;
  bool bold;
};

enum class TextAlign { Left, Right, Centre };

struct PlacedText {
  int x; // the left end, the right end or the centre, as align says
  int y; // the top of the text line
  std::string text;
  FontRole role;
  TextAlign align = TextAlign::Left;
  bool operator==(const PlacedText&) const = default;
};

// A solid rule of minimal width from x1 to x2 at height y.
struct PlacedRule {
  int x1;
  int x2;
  int y;
  bool operator==(const PlacedRule&) const = default;
};

struct PageContent {
  PageFrame frame;
  std::vector<PlacedText> texts;
  std::vector<PlacedRule> rules;
};

} // namespace vpr
