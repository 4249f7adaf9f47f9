// The file written: the order of its registry lines, and each of its
// tables and parts at its capacity and past it.

#include "infconv/conv_output.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/conv_convert_test.h"

namespace {

TEST(ConvOutput, ParentKeysComeBeforeTheirSubkeys) {
    ConvResult result = convertInf(std::string(CONV_HEAD) +
                                   "[DefaultInstall]\nAddReg = R\n[R]\n"
                                   "HKLM,System\\CurrentControlSet\\Services\\Drv\\P,A,0,a\n"
                                   "HKLM,System\\CurrentControlSet\\Services\\Drv,B,0,b\n");
    EXPECT_NE(result.inf.find("\\Drv\",\"B\",0,\"b\"\r\nHKLM,\"System\\CurrentControlSet\\"
                              "Services\\Drv\\P\",\"A\",0,\"a\"\r\n"),
              std::string::npos)
        << result.inf;
}

} // namespace
