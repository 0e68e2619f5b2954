#pragma once
// One column of an editing grid, as the views describe their grids in constant tables.

namespace vpr {

struct GridColumn {
  int headerText; // text identifier of the header
  int width;      // in units of 15 twips (one pixel on a 96-dpi screen)
  int alignment;  // 4 = centred, 8 = right
  int fontKind;   // 0 = "Courier", 1 = the grid's own font, 2 = the LCD font when installed
};

inline constexpr int kAlignCentre = 4;
inline constexpr int kAlignRight = 8;

} // namespace vpr
