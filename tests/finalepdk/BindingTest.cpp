#include "HostTest.h"
#include "finalepdk.h"

class BindingTest : public HostTest {};

TEST_F(BindingTest, Placeholder) {
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
}
