// The NetWeaver stand-in loaded by its full path, as the sensor loads it: it carries no run
// path, so it finds its companion only when that was loaded first, by its own full path. This
// process links neither library.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "src/rfc/sapnwrfc.h"

namespace {

TEST(NetWeaverLoadingTest, TheLibraryLoadsOnlyAfterItsCompanion) {
  ASSERT_EQ(dlopen(SAPUCUM_LIBRARY, RTLD_NOW | RTLD_NOLOAD), nullptr)
      << "the companion must not be in this process yet";
  EXPECT_EQ(dlopen(NWRFC_LIBRARY, RTLD_NOW | RTLD_LOCAL), nullptr);
  const char* reason = dlerror();
  ASSERT_NE(reason, nullptr);
  EXPECT_NE(std::string(reason).find("libsapucum.so"), std::string::npos) << reason;

  void* companion = dlopen(SAPUCUM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(companion, nullptr) << dlerror();
  void* library = dlopen(NWRFC_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  for (const char* operation : {"RfcOpenConnection", "RfcGetFunctionDesc", "RfcCreateFunction",
                                "RfcInvoke", "RfcGetStructure", "RfcGetChars", "RfcDestroyFunction",
                                "RfcCloseConnection", "RfcGetVersion"}) {
    EXPECT_NE(dlsym(library, operation), nullptr) << operation;
  }

  // Its first operation works: the version, a text of the library's own.
  auto* version =
      reinterpret_cast<decltype(&nwrfc::RfcGetVersion)>(dlsym(library, "RfcGetVersion"));
  ASSERT_NE(version, nullptr);
  unsigned major = 0;
  unsigned minor = 9;
  unsigned patch = 9;
  const nwrfc::SAP_UC* text = version(&major, &minor, &patch);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::u16string(text).rfind(u"1.0.0 ", 0), 0u);
  EXPECT_EQ(major * 100 + minor * 10 + patch, 100u);
}

}  // namespace
