#include "src/output/error_block.h"

#include <gtest/gtest.h>

namespace {

TEST(LabelLineTest, FillsTheLabelToItsWidthAndNeverCutsIt) {
  EXPECT_EQ(LabelLine("key", 0, 15, "K1"), "key             : K1\n");
  EXPECT_EQ(LabelLine("operation/code", 0, 15, ""), "operation/code  : \n");
  EXPECT_EQ(LabelLine("internal status", 0, 15, "x"), "internal status : x\n");
  EXPECT_EQ(LabelLine("a label longer than width", 0, 15, "x"), "a label longer than width : x\n");
  EXPECT_EQ(LabelLine("key", 2, 5, "x"), "  key   : x\n");
}

TEST(LibraryFailureBlockTest, LabelsEveryTextAlsoWhenTheLibraryLeftThemEmpty) {
  EXPECT_EQ(LibraryFailureBlock({"RfcReceive", "CONNECTION_BROKEN", "", "", ""}),
            "RFC error\noperation/code  : RfcReceive\nkey             : CONNECTION_BROKEN\n"
            "status          : \nmessage         : \ninternal status : \n\n");
}

}  // namespace
