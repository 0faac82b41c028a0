// The formatters of the header dump: values, signatures and names.
#include "headers/header_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "headers/header_dump.h"
#include "headers/module_loader.h"
#include "platform/sim/sim_system.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

TEST(HeaderFormat, ValuesSignaturesAndNames) {
  EXPECT_EQ(FormatValue(0x1a30), "0x00001a30");
  EXPECT_EQ(FormatSigned(0x80000000u), "-2147483648 [0x80000000]");
  EXPECT_EQ(FormatSigned64(0xFFFFFFFFFFFFFFFFull), "-1 [0xffffffffffffffff]");
  EXPECT_EQ(FormatValue64(0x140000000ull), "0x140000000");
  EXPECT_EQ(FormatSignature(0x00004550), "0x00004550 [PE  ]");
  EXPECT_EQ(FormatSignature(0x0A0D0041), "0x0a0d0041 [A   ]");  // control bytes never break the line
  EXPECT_EQ(MachineName(0x8664), "IMAGE_FILE_MACHINE_AMD64");
  EXPECT_EQ(MachineName(0xAA64), "IMAGE_FILE_MACHINE_ARM64");
  EXPECT_EQ(MachineName(0x01C4), "IMAGE_FILE_MACHINE_ARMNT");
  EXPECT_EQ(MachineName(0), "IMAGE_FILE_MACHINE_UNKNOWN");
  EXPECT_EQ(SubsystemName(8), "IMAGE_SUBSYSTEM_UNKNOWN");
  EXPECT_EQ(CharacteristicName(0x0040), nullptr);
  SimSystem sim;
  DumpText text{sim.strings, sim.locale};
  EXPECT_EQ(FormatBool(text, true), "TRUE");
  EXPECT_EQ(FormatTimeStamp(text, 86400), "02/01/1970");
}

}  // namespace
}  // namespace qm
