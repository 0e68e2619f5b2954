#include "lang/TextFormat.h"

#include <gtest/gtest.h>

namespace vpr {
namespace {

TEST(TextFormat, FillsTextAndNumberPlaceholdersInOrder) {
  EXPECT_EQ(formatText("%s \"%s\" ?", {"Save changes to", "vpr40t.dat"}), "Save changes to \"vpr40t.dat\" ?");
  EXPECT_EQ(formatText("%s %d / %d", {"Block", 3, 128}), "Block 3 / 128");
  EXPECT_EQ(formatText("%2d|%-4d|%04d|%+d|% d|%x|%X|%%", {7, 5, 42, 3, 9, 255, 255}),
            " 7|5   |0042|+3| 9|ff|FF|%");
  EXPECT_EQ(formatText("%10s%s", {"", "demo"}), "          demo");
  EXPECT_EQ(formatText("[%.3s]", {"abcdef"}), "[abc]");
}

TEST(TextFormat, ForeignTextsCannotMisuseArguments) {
  // A language text with more placeholders than arguments, or of the wrong kind, prints what it
  // has and never reads past the arguments.
  EXPECT_EQ(formatText("%s and %s and %d", {"one"}), "one and  and ");
  EXPECT_EQ(formatText("%d:%s", {"text", 12}), "text:12");
  EXPECT_EQ(formatText("%n %p %f end%", {}), "%n %p %f end%");
  EXPECT_EQ(formatText("%999999999d", {1}).size(), 256u);
}

} // namespace
} // namespace vpr
