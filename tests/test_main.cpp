// Shared main of every test executable: headless SDL drivers, then GoogleTest.
#include <gtest/gtest.h>

#include "testing.h"

int main(int argc, char** argv) {
    Testing_UseHeadlessDrivers();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
