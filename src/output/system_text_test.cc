#include "src/output/system_text.h"

#include <gtest/gtest.h>

namespace {

const SystemFields kFields{"prdhost", "PRD", "700", "ORACLE", "Windows NT", "10.1.2.3"};

TEST(ReleaseTextTest, PutsAPointAfterTheFirstCharacter) {
  const std::pair<const char*, const char*> cases[] = {
      {"700", "7.00"}, {"46C", "4.6C"}, {"7", "7."}, {"", "."}, {"7401", "7.40"}};
  for (const auto& [release, text] : cases) EXPECT_EQ(ReleaseText(release), text) << release;
}

TEST(SystemInfoTextTest, NamesTheSystemFromItsAnswerAndItsProfile) {
  EXPECT_EQ(SystemInfoText(kFields, "PRD", "00"),
            "(PRD) Sys-Info: Host=prdhost, Sid=PRD, Is=00, Rel=7.00, Dbs=ORACLE, Os=Windows NT, "
            "IP=10.1.2.3");
  SystemFields noHost = kFields;
  noHost.host = "";
  EXPECT_NE(SystemInfoText(noHost, "PRD", "00").find("Host=, Sid="), std::string::npos);
}

TEST(CheckListTest, ListsTheSevenValues) {
  EXPECT_EQ(CheckList(kFields, "01"),
            "\n* HostName......:  prdhost\n* System-ID.......:  PRD\n* SAP-Instance.:  01"
            "\n* SAP Release..:  7.00\n* DB-System.....:  ORACLE\n* OS-System.....:  Windows NT"
            "\n* IP-Address.....:  10.1.2.3");
}

}  // namespace
