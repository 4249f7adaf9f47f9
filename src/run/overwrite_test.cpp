// The one overwrite question: asked once, swallowing every key but Y and
// N, and answering no when there is no console.

#include "run/overwrite.h"

#include "platform/platform.h"
#include "support/installer.h"

namespace {

class OverwriteTest : public InstallerTest {
protected:
    void SetUp() override {
        InstallerTest::SetUp();
        resetOverwriteAnswer();
    }
};

const char QUESTION[] = "既存のファイルやレジストリキーを上書きしますか？(Y/N) ";

TEST_F(OverwriteTest, OtherKeysAreSwallowedAndTheAnswerHolds) {
    fakeQueueKeys({'1', '\r', 'x', PLATFORM_KEY_NO_CHARACTER, 0xFF, 'y', 'n'});
    EXPECT_EQ(overwriteAnswer(), -1);
    EXPECT_TRUE(confirmOverwrite());
    EXPECT_TRUE(confirmOverwrite());
    EXPECT_EQ(overwriteAnswer(), 1);
    EXPECT_EQ(fakeOutput(), std::string(QUESTION) + "y\n");
    EXPECT_EQ(fakeKeyReads(), 6); // the 'n' was never read
}

TEST_F(OverwriteTest, AnUpperCaseNoHoldsToo) {
    fakeQueueKeys({'N', 'Y'});
    EXPECT_FALSE(confirmOverwrite());
    EXPECT_FALSE(confirmOverwrite());
    EXPECT_EQ(overwriteAnswer(), 0);
    EXPECT_EQ(fakeOutput(), std::string(QUESTION) + "N\n");
}

TEST_F(OverwriteTest, NoConsoleAnswersNoAtOnce) {
    EXPECT_FALSE(confirmOverwrite());
    EXPECT_EQ(overwriteAnswer(), 0);
    EXPECT_EQ(fakeOutput(), std::string(QUESTION) + "N\n");
    EXPECT_EQ(fakeKeyReads(), 1);
}

} // namespace
