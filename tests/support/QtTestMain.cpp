// The main of every test program with windows: a QApplication first, a watchdog that fails
// a test whose modal window nobody closes, then the tests. CTest runs them on the
// offscreen platform.
#include "tests/support/ModalWatchdog.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::ModalWatchdog::Install();
    return RUN_ALL_TESTS();
}
