// The label painter's tests: one QGuiApplication for all of them, on Qt's offscreen platform
// unless a display is asked for explicitly, as velmark-batch draws its PDFs.

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
